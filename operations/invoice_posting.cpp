// invoice_posting.cpp - a sales invoice's steps before insert, its
// posting (open item, stock, voucher, item history, customer ledger) and
// approve kind 1.
//
// PostSalesInvoice is the one posting of an invoice: the window's save of
// a posted invoice, approve kind 1 (print and approve, the approve run,
// the list's approve button) and every run that posts what it made reach
// the books through it, so no road can miss a ledger another road writes.
//
// These run inside the record layer's hold. A store that fails is told to
// the user and fails the hold, so that the invoice is not stored without
// the open item, stock or voucher it stands for.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/invoice_stock_check.h"
#include "operations/operations.h"
#include "operations/sales_invoice.h"
#include "rules/invoice_kind.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"
#include "rules/stock.h"

namespace {

namespace Inv = IVVc;
namespace Row = IVVc::Rows;

// Tells the user a record could not be stored and fails the open hold.
void StoreFailedTold() {
    ShowTextMessage(Texts::RecordNotStored);
    DbHoldFail();
}

// The link of the invoice's first row; SerialNone when it has none.
uint32_t FirstRowLink(const uint8_t *invoice) {
    uint8_t row[Row::Size];
    if (MatrixRowCount(Inv::Number, 0, invoice) < 1 || !MatrixRowRead(Inv::Number, invoice, 0, row)) return SerialNone;
    return GetU32(row, Row::Link);
}

// The kind of the stored invoice with serial; 0 when there is none.
uint16_t StoredInvoiceKind(uint32_t serial) {
    RuleRecord r(Inv::Number);
    if (!r.record) return 0;
    PutU32(r.record, Inv::SerNr, serial);
    uint32_t recid = 0, position = 0;
    if (!RecFind(Inv::Number, r.record, 1, 1, &recid, &position)) return 0;
    return GetU16(r.record, Inv::InvType);
}

// The open item of a posting, by invoice kind: an ordinary (or interest)
// invoice raises its own; a cash invoice has none; a credit note lowers
// the open item of the invoice it credits (none for a cash invoice) or,
// crediting none, makes a negative one of its own.
void PostOpenItem(uint8_t *invoice) {
    PackedDecimal total = GetDec(invoice, Inv::Total), vat = GetDec(invoice, Inv::Vat);
    const InvoiceKind kind = InvoiceKind(GetU16(invoice, Inv::InvType));
    uint32_t serial = GetU32(invoice, Inv::SerNr);
    uint8_t due[6];
    PutDate(due, 0, GetDate(invoice, Inv::PayDate));
    if (kind == InvoiceKind::Cash) return;
    if (kind == InvoiceKind::CreditNote) {
        PackedDecimal minus, minusVat;
        DecNegateInto(&total, &minus);
        DecNegateInto(&vat, &minusVat);
        uint32_t link = FirstRowLink(invoice);
        PutU32(invoice, Inv::CredInv, link);
        if (link == SerialNone) {
            UpdateOpenInvoice(invoice, serial, &minus, &minusVat, due, nullptr, false);
        } else if (InvoiceKind(StoredInvoiceKind(link)) != InvoiceKind::Cash) {
            UpdateOpenInvoice(invoice, link, &minus, &minusVat, nullptr, nullptr, true);
        }
        return;
    }
    if (DecIsZero(&total)) return;
    uint32_t days = GetU32(invoice, Inv::CashDiscDays);
    DateRec invDate = GetDate(invoice, Inv::InvDate);
    uint8_t second[6];
    const uint8_t *secondAt = nullptr;
    if (days != SerialNone && !DateIsEmpty(&invDate)) {
        DateRec d;
        DateAddDays(&invDate, (int32_t)days, &d);
        PutDate(second, 0, d);
        secondAt = second;
    }
    UpdateOpenInvoice(invoice, serial, &total, &vat, due, secondAt, false);
}

// The location of the invoice's stock: its own, else block 203's main one.
void StockLocation(const uint8_t *invoice, uint8_t *out) {
    GetText(invoice, Inv::Location, out);
    if (out[0] != 0) return;
    const uint8_t *block = SettingsRecord(MainStockBlk::Number, MainStockBlock);
    if (block) GetText(block, MainStockBlk::MainLocation, out);
}

// True when item exists and either of its stock flags is set.
bool ItemMovesStock(const uint8_t *item) {
    RuleRecord goods(INVc::Number);
    if (!goods.record || item[0] == 0) return false;
    PutText(goods.record, INVc::Code, item);
    uint32_t recid = 0, position = 0;
    if (!RecFind(INVc::Number, goods.record, 1, 1, &recid, &position)) return false;
    return GetU16(goods.record, INVc::Stocked) != 0 || GetU16(goods.record, INVc::StructFlag) != 0;
}

// Applies qty of each component of structure to the stock at location,
// issued (negated) unless credit; false when the structure gave no lines.
bool StructureStock(const uint8_t *item, const uint8_t *structure, const PackedDecimal *qty,
                    const uint8_t *location, bool credit) {
    std::vector<StructurePart> parts;
    if (!StructureParts(item, structure, qty, parts)) return false;
    for (StructurePart &part : parts) {
        if (!credit) DecNegateInto(&part.qty, &part.qty);
        UpdateLocationStock(part.item, location, &part.qty, nullptr, nullptr, nullptr, nullptr);
    }
    return true;
}

// Moves an order's invoiced quantities by the invoice's item rows that
// came from it and stores the order.
void OrderQuantitiesFromInvoice(const uint8_t *invoice) {
    uint32_t serial = GetU32(invoice, Inv::OrderNr);
    if (serial == SerialNone) return;
    RuleRecord order(ORVc::Number);
    if (!order.record) return;
    PutU32(order.record, ORVc::SerNr, serial);
    uint32_t recid = 0, position = 0;
    if (!RecFind(ORVc::Number, order.record, 1, 1, &recid, &position)) return;
    int32_t orderRows = MatrixRowCount(ORVc::Number, 0, order.record);
    uint8_t row[Row::Size], line[ORVc::Rows::Size];
    int32_t count = MatrixRowCount(Inv::Number, 0, invoice);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(Inv::Number, invoice, i, row) ||
            DocRowKind(GetU16(row, Row::Kind)) != DocRowKind::Item) continue;
        uint32_t link = GetU32(row, Row::Link);
        int32_t at = (int32_t)(link & 0xFFFFu);
        if (link == SerialNone || at >= orderRows || !MatrixRowRead(ORVc::Number, order.record, at, line)) continue;
        PackedDecimal invoiced = GetDec(line, ORVc::Rows::QtyInvoiced), qty = GetDec(row, Row::Quantity);
        DecAdd(&invoiced, &qty, &invoiced);
        PutDec(line, ORVc::Rows::QtyInvoiced, invoiced);
        if (!MatrixRowPut(ORVc::Number, 0, order.record, at, line)) {
            StoreFailedTold();
            return;
        }
    }
    StatusMarkOrder(order.record);
    if (!RecStore(ORVc::Number, order.record, 1, &recid)) StoreFailedTold();
}

}  // namespace

// The steps of a new invoice before it is inserted: the user's location
// for an invoice without one, the flag at Printed, the posting of an
// invoice stored posted, its list mark, and the invoiced quantities and
// down payments of the order it came from.
void InvoiceInsertSteps(uint8_t *invoice) {
    assert(invoice);
    uint8_t text[256];
    GetText(invoice, Inv::Location, text);
    if (text[0] == 0) {
        RuleRecord person(PEVc::Number);
        if (person.record && CurrentUserRecord(person.record)) {
            GetText(person.record, PEVc::Location, text);
            PutText(invoice, Inv::Location, text);
        }
    }
    PutU16(invoice, Inv::Printed, 1);
    // Posting marks the list too; a failure fails the hold.
    if (GetU16(invoice, Inv::Posted) == 1)
        (void)PostSalesInvoice(invoice);
    else
        StatusMarkInvoice(invoice);
    OrderQuantitiesFromInvoice(invoice);
    UpdateOrderFromInvoice(invoice, nullptr);
}

// Posts (post 1: flags, dates and the pending voucher too) or re-applies
// (post 0: open item and stock only) an invoice: the transferred flag
// cleared, the reference and due date filled when empty, the open item
// by kind, the stock when the invoice updates stock.
void InvoicePosting(uint8_t *invoice, int post) {
    assert(invoice);
    const uint8_t *rates = SettingsRecord(InterestBlk::Number, InvoiceRateBlock);
    PutU16(invoice, Inv::Transferred, 0);
    uint8_t ref[256];
    GetText(invoice, Inv::RefStr, ref);
    if (ref[0] == 0) InvoiceReferenceNumber(invoice);
    DateRec due = GetDate(invoice, Inv::PayDate);
    if (DateIsEmpty(&due)) {
        // Only the due date is wanted here: the terms would also set the
        // kind and stock switch, turning a checked credit note into an
        // ordinary invoice after its voucher was built.
        uint16_t kind = GetU16(invoice, Inv::InvType), stock = GetU16(invoice, Inv::UpdStock);
        ApplyPaymentTerms(invoice);
        PutU16(invoice, Inv::InvType, kind);
        PutU16(invoice, Inv::UpdStock, stock);
    }
    if (post == 1) {
        PutU16(invoice, Inv::Posted, 1);
        DateRec date = GetDate(invoice, Inv::InvDate);
        if (DateIsEmpty(&date)) PutDate(invoice, Inv::InvDate, TodayDate);
        if (rates) PutDec(invoice, Inv::IntRate, GetDec(rates, InterestBlk::Rate));
    }
    PostOpenItem(invoice);
    if (GetU16(invoice, Inv::UpdStock) != 0) InvoiceStockRows(invoice);
    if (post == 1 && PendingVoucher && MatrixRowCount(Voucher::Number, 0, PendingVoucher) > 0 &&
        !StorePendingVoucher())
        StoreFailedTold();
}

// Issues the stock of the invoice's free item rows (kind 1, no order
// link, an item that moves stock) at its location: a structure's
// components, or the item itself valued by FIFO into the row's unit FIFO
// cost. A credit note brings the quantities back instead.
void InvoiceStockRows(uint8_t *invoice) {
    assert(invoice);
    uint8_t location[256], item[256], structure[256], row[Row::Size];
    StockLocation(invoice, location);
    const bool credit = InvoiceKind(GetU16(invoice, Inv::InvType)) == InvoiceKind::CreditNote;
    int32_t count = MatrixRowCount(Inv::Number, 0, invoice);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(Inv::Number, invoice, i, row)) continue;
        if (DocRowKind(GetU16(row, Row::Kind)) != DocRowKind::Item || GetU32(row, Row::Link) != SerialNone) continue;
        GetText(row, Row::ItemCode, item);
        if (!ItemMovesStock(item)) continue;
        GetText(row, Row::StructCode, structure);
        if (structure[0] == 1 && structure[1] == '_') structure[0] = 0;   // the window's "no structure"
        PackedDecimal qty = GetDec(row, Row::Quantity);
        if (StructureStock(item, structure, &qty, location, credit)) continue;
        PackedDecimal unit;
        DecSetBlank(&unit);
        if (DecSign(&qty) > 0) {
            PackedDecimal cost;
            DecSetBlank(&cost);
            FifoIssueCost(item, location, &qty, &cost);
            if (!DecIsBlank(&cost)) DecDiv(&cost, &qty, &unit);
        }
        PutDec(row, Row::FifoCost, unit);
        if (!MatrixRowPut(Inv::Number, 0, invoice, i, row)) {
            StoreFailedTold();
            return;
        }
        PackedDecimal moved = qty;
        if (!credit) DecNegateInto(&qty, &moved);
        UpdateLocationStock(item, location, &moved, nullptr, nullptr, nullptr, nullptr);
    }
}

// Approve kind 1: posts an invoice that is not posted yet. An invoice
// dated in the sub-ledgers' lock is refused as its window refuses it.
// Its voucher is built first; when it cannot be, the user is told and
// nothing changes. Then the printed flag is cleared, the invoice posted,
// its item history written and its list mark renewed. A failed store
// fails the hold.
ApproveResult ApproveInvoice(int, uint8_t *invoice, uint32_t) {
    assert(invoice);
    if (GetU16(invoice, Inv::Posted) == 1) return ApproveResult::Unchanged;
    if (PostingDateLocked(Inv::Number, invoice, Inv::TransDate)) return ApproveResult::Unchanged;   // told
    std::string shortStock;
    if (InvoiceStockCheck(invoice, &shortStock) != 0) return ApproveResult::Unchanged;   // told
    if (PendingVoucher) RecFreeMatrix(Voucher::Number, PendingVoucher);
    if (!InvoiceVoucher(invoice, 0)) {
        ShowTextMessage(Texts::VoucherNotBuilt);
        return ApproveResult::Unchanged;
    }
    if (!PostSalesInvoice(invoice)) return ApproveResult::Failed;
    InvoiceStockNotice(shortStock);
    return ApproveResult::Changed;
}

// Posts the invoice in memory (its voucher already pending, when it makes
// one): the printed flag cleared, the posting proper (open item, stock,
// voucher), its item history, its list mark, and its entry in the customer
// ledger and the statistics, after which it is marked transferred. Runs
// inside the caller's hold. false when a store failed: the user was told
// and the hold fails, so nothing of the posting is stored.
bool PostSalesInvoice(uint8_t *invoice) {
    assert(invoice);
    PutU16(invoice, Inv::Printed, 0);
    InvoicePosting(invoice, 1);
    StockHistoryFromInvoice(invoice);
    StatusMarkInvoice(invoice);
    if (ApproveInvoiceToCustomerLedger(Inv::Number, invoice, 0) != ApproveResult::Failed) return true;
    DbHoldFail();
    return false;
}

// The components of structure for qty of item, from the structure's
// explosion into a delivery's rows.
bool StructureParts(const uint8_t *item, const uint8_t *structure, const PackedDecimal *qty,
                    std::vector<StructurePart> &parts) {
    parts.clear();
    RuleRecord exploded(SHVc::Number);
    if (structure[0] == 0 || !exploded.record || !ExplodeItemStructure(item, structure, qty, exploded.record))
        return false;
    uint8_t line[SHVc::Rows::Size];
    int32_t n = MatrixRowCount(SHVc::Number, 0, exploded.record);
    for (int32_t k = 0; k < n; k++) {
        if (!MatrixRowRead(SHVc::Number, exploded.record, k, line)) continue;
        StructurePart part{};
        GetText(line, SHVc::Rows::ItemCode, part.item);
        part.qty = GetDec(line, SHVc::Rows::ToDeliver);
        parts.push_back(part);
    }
    return true;
}
