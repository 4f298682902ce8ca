// purchase_conversion.cpp - a purchase invoice filled from a purchase
// order: one account row per VAT code, the VAT computed, and what the
// rows do not distribute put on the rounding account.
//
// Goods already received were booked by their purchase's stock voucher:
// stock debited, the clearing account of goods received but not invoiced
// credited. The invoice of those goods clears that account instead of
// booking their cost a second time, so the received part of each order
// row goes to the clearing account at the cost the receipt booked, and
// only the rest (goods not yet received, or a price that differs from
// the receipt's cost) goes to the vendor's purchase account.
#include <cassert>
#include <cstring>
#include <map>

#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/index_walk.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/doc_flow_fields.h"
#include "operations/order_conversion.h"
#include "operations/purchase_ledger.h"
#include "rules/checks.h"
#include "rules/documents.h"
#include "rules/invoice_kind.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"
#include "rules/vat_currency.h"

namespace {

namespace PO = PurchOrderVc;
namespace POR = PurchOrderVc::Rows;
namespace PI = VIVc;
namespace PIR = VIVc::Rows;


bool AppendRow(uint8_t *invoice, const uint8_t *row) {
    return MatrixRowPut(PI::Number, 0, invoice, MatrixRowCount(PI::Number, 0, invoice), row);
}

// A new account row on account (with its name) with VAT code vat.
void NewAccountRow(uint8_t *row, const uint8_t *account, const uint8_t *vat) {
    std::memset(row, 0, PIR::Size);
    InitDocRow(row, PI::Number, uint16_t(PurchaseRowKind::Account));
    PutText(row, PIR::Account, account);
    RuleRecord acc(ACVc::Number);
    if (acc.record && DocFlowReadByCode(ACVc::Number, ACVc::Code, 10, account, acc.record))
        DocFlowCopyText(row, PIR::Text, acc.record, ACVc::Name);
    PutText(row, PIR::VatCode, vat);
    PutDec(row, PIR::Amount, DocFlowDec(0));
}

// Adds amount to the row of account and VAT code vat, starting one when
// the invoice has none; false when the row could not be put.
bool AddToVatRow(uint8_t *invoice, const uint8_t *account, const uint8_t *vat, const PackedDecimal &amount) {
    uint8_t row[PIR::Size], code[256], own[256];
    int32_t count = MatrixRowCount(PI::Number, 0, invoice);
    int32_t at = count;
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(PI::Number, invoice, i, row)) continue;
        GetText(row, PIR::VatCode, code);
        GetText(row, PIR::Account, own);
        if (PurchaseRowKind(GetU16(row, PIR::Kind)) == PurchaseRowKind::Account && PStringEqual(code, vat) &&
            PStringEqual(own, account)) {
            at = i;
            break;
        }
    }
    if (at == count) NewAccountRow(row, account, vat);
    PackedDecimal sum = GetDec(row, PIR::Amount), add = amount;
    if (DecIsBlank(&sum)) DecSetZero(&sum);
    if (DecIsBlank(&add)) DecSetZero(&add);
    DecAdd(&sum, &add, &sum);
    PutDec(row, PIR::Amount, sum);
    return MatrixRowPut(PI::Number, 0, invoice, at, row);
}

// True when the stock voucher of purchase serial was stored.
bool StockVoucherStored(uint32_t serial) {
    RuleRecord voucher(Voucher::Number);
    if (!voucher.record) return false;
    PutU32(voucher.record, Voucher::SerNr, serial);
    PutU16(voucher.record, Voucher::YearCode, YearCodePurchase);
    uint32_t recid = 0, position = 0;
    return RecFind(Voucher::Number, voucher.record, 2, 1, &recid, &position);
}

// What the stock vouchers of the received purchases of purchase order
// poSerial booked on the clearing account, in home currency, by the
// order row each purchase row came from (quantity x unit cost, as the
// voucher books it). A purchase stored while purchase vouchers were off
// booked nothing and adds nothing.
std::map<uint32_t, PackedDecimal> BookedReceipts(uint32_t poSerial) {
    std::map<uint32_t, PackedDecimal> booked;
    RuleRecord purchase(PUVc::Number);
    if (!purchase.record) return booked;
    uint8_t row[PUVc::Rows::Size];
    IndexWalkOfNumber(PUVc::Number, "PONr", purchase.record, PUVc::POSerNr, poSerial, [&](const uint8_t *p) {
        if (GetU16(p, PUVc::Received) != 1 || !StockVoucherStored(GetU32(p, PUVc::SerNr))) return true;
        for (int32_t i = 0, n = MatrixRowCount(PUVc::Number, 0, p); i < n; i++) {
            if (!MatrixRowRead(PUVc::Number, p, i, row)) continue;
            PackedDecimal qty = GetDec(row, PUVc::Rows::Quantity), unit = GetDec(row, PUVc::Rows::UnitCost), cost;
            DecMul(&qty, &unit, &cost);
            if (DecIsBlank(&cost)) continue;
            auto [at, fresh] = booked.try_emplace(GetU32(row, PUVc::Rows::PORowNr), DocFlowDec(0));
            (void)fresh;
            DecAdd(&at->second, &cost, &at->second);
        }
        return true;
    });
    return booked;
}

// Tells why no invoice was made; false for the caller to return.
bool NotMade(int text, const uint8_t *extra) {
    ShowMessage(text, extra);
    return false;
}

constexpr int TextNoPurchaseAccount = 16400, TextVendorUnknown = 16401, TextOrderClosed = 16402;

}  // namespace

// Fills the purchase invoice from the purchase order (see the header).
bool PurchaseOrderToPurchaseInvoice(uint8_t *invoice, uint32_t poId) {
    assert(invoice);
    RuleRecord order(PO::Number), vendor(VEVc::Number);
    if (!order.record || !vendor.record || !RecReadById(PO::Number, poId, order.record)) return false;
    const uint8_t *po = order.record;
    if (GetU16(po, PO::Closed) != 0) return NotMade(TextOrderClosed, EmptyPString);
    uint8_t code[256], account[256], clearing[256] = {0};
    GetText(po, PO::VendCode, code);
    if (!DocFlowReadByCode(VEVc::Number, VEVc::Code, 20, code, vendor.record)) return NotMade(TextVendorUnknown, code);
    GetText(vendor.record, VEVc::PurchAcc, account);
    const uint8_t *accounts = SettingsRecord(SalesAccountsBlk::Number, SalesAccountsBlock);
    if (accounts) GetText(accounts, SalesAccountsBlk::PurchClearingAcc, clearing);
    // What a typed invoice takes from its vendor (payee texts, objects)
    // first; then what the order itself says of name and currency. What
    // the new invoice says of its terms is kept when neither the order
    // nor the vendor names any.
    const DateRec dueBefore = GetDate(invoice, PI::DueDate), discBefore = GetDate(invoice, PI::DiscDate);
    const uint16_t kindBefore = GetU16(invoice, PI::InvType);
    const PackedDecimal discountBefore = GetDec(invoice, PI::DiscAmount);
    PutText(invoice, PI::VendCode, code);
    (void)PurchaseInvoiceVendorFill(invoice);
    DocFlowCopyText(invoice, PI::VendName, po, PO::VendName);
    DocFlowCopyText(invoice, PI::CurncyCode, po, PO::CurncyCode);
    uint8_t currency[256];
    GetText(po, PO::CurncyCode, currency);
    DateRec date = GetDate(invoice, PI::TransDate);
    PackedDecimal given = GetDec(po, PO::Rate), rate;
    DocumentRate(currency, &date, &given, &rate);
    PutDec(invoice, PI::Rate, rate);
    PutDec(invoice, PI::InvAmount, GetDec(po, PO::Total));
    // The order's payment terms (the vendor's, which the fill gave, when it
    // names none) make the invoice due as one typed for the vendor would
    // be, not on its date; applied once its amount is known.
    uint8_t terms[256];
    GetText(po, PO::PayTerms, terms);
    if (terms[0] == 0) GetText(vendor.record, VEVc::PayTerms, terms);
    if (terms[0] != 0) {
        PutText(invoice, PI::PayTerms, terms);
        ApplyPurchaseInvoiceTerms(invoice);
    } else {
        PutDate(invoice, PI::DueDate, dueBefore);
        PutDate(invoice, PI::DiscDate, discBefore);
        PutU16(invoice, PI::InvType, kindBefore);
        PutDec(invoice, PI::DiscAmount, discountBefore);
    }
    RecFreeMatrix(PI::Number, invoice);
    std::map<uint32_t, PackedDecimal> booked;
    if (clearing[0] != 0) booked = BookedReceipts(GetU32(po, PO::SerNr));
    uint8_t r[POR::Size], vat[256];
    int32_t count = MatrixRowCount(PO::Number, 0, po);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(PO::Number, po, i, r) || r[POR::ItemCode] == 0) continue;
        GetText(r, POR::VatCode, vat);
        PackedDecimal rest = GetDec(r, POR::Sum);
        if (DecIsBlank(&rest)) DecSetZero(&rest);
        auto received = booked.find((uint32_t)i);
        if (received != booked.end() && !DecIsZero(&received->second)) {
            PackedDecimal cleared;
            AmountByRateInverse(&received->second, &rate, &cleared);
            if (!AddToVatRow(invoice, clearing, vat, cleared)) return false;
            DecSub(&rest, &cleared, &rest);
        }
        if (DecIsZero(&rest)) continue;
        if (account[0] == 0) {
            RecFreeMatrix(PI::Number, invoice);
            return NotMade(TextNoPurchaseAccount, code);
        }
        if (!AddToVatRow(invoice, account, vat, rest)) return false;
    }
    (void)PurchaseInvoiceRowsVat(invoice, nullptr);
    PackedDecimal difference;
    PurchaseInvoiceRowsDifference(invoice, &difference);
    if (!DecIsZero(&difference)) {
        uint8_t rounding[256] = {0}, row[PIR::Size];
        if (accounts) GetText(accounts, SalesAccountsBlk::RoundingAcc, rounding);
        NewAccountRow(row, rounding, EmptyPString);
        PackedDecimal minus;
        DecNegateInto(&difference, &minus);
        PutDec(row, PIR::Amount, minus);
        if (!AppendRow(invoice, row)) return false;
    }
    return true;
}
