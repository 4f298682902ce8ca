// customer_ledger_amounts.cpp - amounts the customer reports read from the
// customer ledger (register 49) and the receipts behind it.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "reports/frame/index_walk.h"
#include "reports/sales/customer_reports.h"
#include "rules/invoice_kind.h"
#include "rules/payment_kinds.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

namespace {

constexpr uint32_t NoInvoice = 0xFFFFFFFFu;

}  // namespace

bool SalesReceiptRead(uint32_t serial, RuleRecord &r) {
    if (!r.record) return false;
    RecFreeMatrix(IPVc::Number, r.record);   // the rows of the receipt read before
    PutU32(r.record, IPVc::SerNr, serial);
    return RecFindByFirstKey(IPVc::Number, r.record);
}

bool SalesInvoiceRead(uint32_t serial, RuleRecord &r) {
    if (!r.record) return false;
    RecFreeMatrix(IVVc::Number, r.record);   // the rows of the invoice read before
    PutU32(r.record, IVVc::SerNr, serial);
    uint32_t recid = 0, position = 0;
    return RecFindByIndex(IVVc::Number, "SerNr", r.record, 1, 1, &recid, &position);
}

void ReceiptPaidOnInvoice(const uint8_t *entry, PackedDecimal *result) {
    assert(entry && result);
    DecSetZero(result);
    RuleRecord receipt(IPVc::Number);
    if (!SalesReceiptRead(GetU32(entry, CustTransVc::DocNr), receipt)) return;
    const uint32_t invoice = GetU32(entry, CustTransVc::InvoiceNr);
    uint8_t row[IPVc::Rows::Size];
    const int32_t count = MatrixRowCount(IPVc::Number, 0, receipt.record);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(IPVc::Number, receipt.record, i, row)) break;
        if (GetU16(row, IPVc::Rows::Flag) != 0 || GetU32(row, IPVc::Rows::InvoiceNr) != invoice) continue;
        const PackedDecimal amount = GetDec(row, IPVc::Rows::Amount);
        DecAdd(result, &amount, result);
    }
}

void ForEachInvoiceEntry(int32_t serial, const DateRec *until, bool (*act)(const uint8_t *entry, void *context),
                         void *context) {
    assert(act);
    RuleRecord entry(CustTransVc::Number);
    if (!entry.record) return;
    PutI32(entry.record, CustTransVc::InvoiceNr, serial);
    PutU16(entry.record, CustTransVc::Kind, uint16_t(LedgerEntryKind::Invoice));
    IndexWalkAll(CustTransVc::Number, "IVKey", entry.record, 2, [&](const uint8_t *e) {
        if (GetI32(e, CustTransVc::InvoiceNr) != serial) return false;
        const DateRec on = GetDate(e, CustTransVc::TransDate);
        if (until && DateCompare(&on, until) > 0) return true;
        const bool own = LedgerEntryKind(GetU16(e, CustTransVc::Kind)) == LedgerEntryKind::Invoice &&
            GetI32(e, CustTransVc::DocNr) == serial;
        return own || act(e, context);
    });
}

void InvoiceOpenAmountAt(int32_t serial, const DateRec *date, PackedDecimal *amount) {
    assert(date && amount);
    ForEachInvoiceEntry(serial, date, [](const uint8_t *entry, void *context) {
        PackedDecimal *open = static_cast<PackedDecimal *>(context);
        if (LedgerEntryKind(GetU16(entry, CustTransVc::Kind)) == LedgerEntryKind::Payment) {
            PackedDecimal paid;
            ReceiptPaidOnInvoice(entry, &paid);
            DecSub(open, &paid, open);
        } else if (LedgerEntryKind(GetU16(entry, CustTransVc::Kind)) == LedgerEntryKind::Invoice) {
            RuleRecord other(IVVc::Number);
            if (!SalesInvoiceRead(GetU32(entry, CustTransVc::DocNr), other)) return true;
            PackedDecimal total = GetDec(other.record, IVVc::Total);
            if (InvoiceKind(GetU16(other.record, IVVc::InvType)) == InvoiceKind::CreditNote)
                DecNegateInto(&total, &total);
            DecAdd(open, &total, open);
        }
        return true;
    }, amount);
}

void CustomerOnAccountSums(const uint8_t *customer, const DateRec *asOf, PackedDecimal *home,
                           PackedDecimal *foreign) {
    assert(customer && home && foreign);
    DecSetBlank(home);
    DecSetBlank(foreign);
    RuleRecord entry(CustTransVc::Number), receipt(IPVc::Number);
    if (!entry.record || customer[0] == 0) return;
    PutText(entry.record, CustTransVc::CustCode, customer);
    PutU32(entry.record, CustTransVc::InvoiceNr, NoInvoice);
    PutU16(entry.record, CustTransVc::Kind, uint16_t(LedgerEntryKind::Payment));
    uint8_t code[256], row[IPVc::Rows::Size];
    IndexWalkAll(CustTransVc::Number, "OnAcc", entry.record, 3, [&](const uint8_t *e) {
        GetText(e, CustTransVc::CustCode, code);
        if (!PStringEqual(code, customer) || GetU32(e, CustTransVc::InvoiceNr) != NoInvoice ||
            LedgerEntryKind(GetU16(e, CustTransVc::Kind)) != LedgerEntryKind::Payment)
            return false;
        if (!SalesReceiptRead(GetU32(e, CustTransVc::DocNr), receipt)) return true;
        const DateRec date = GetDate(receipt.record, IPVc::TransDate);
        // On or before the as-of date, as the payments on invoices count.
        if (asOf && asOf->year != 0 && DateCompare(&date, asOf) > 0) return true;
        const PackedDecimal rate = GetDec(receipt.record, IPVc::Rate);
        const int32_t count = MatrixRowCount(IPVc::Number, 0, receipt.record);
        for (int32_t i = 0; i < count; i++) {
            if (!MatrixRowRead(IPVc::Number, receipt.record, i, row)) break;
            // Only paid rows: a discount or charge row has no invoice either.
            if (PaidRowKind(GetU16(row, IPVc::Rows::Kind)) != PaidRowKind::Paid || GetU16(row, IPVc::Rows::Flag) != 0 ||
                GetU32(row, IPVc::Rows::InvoiceNr) != NoInvoice)
                continue;
            const DateRec rowDate = GetDate(row, IPVc::Rows::PayDate);
            if (rowDate.year != 0 && DateCompare(&rowDate, &date) != 0) continue;
            GetText(row, IPVc::Rows::CustCode, code);
            if (!PStringEqual(code, customer)) continue;
            PackedDecimal amount = GetDec(row, IPVc::Rows::Amount), atRate;
            AmountTimesRate(&amount, &rate, &atRate);
            DecSub(foreign, &amount, foreign);
            DecSub(home, &atRate, home);
        }
        return true;
    });
}
