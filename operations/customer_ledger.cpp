// customer_ledger.cpp - approve kind 18: a posted sales invoice entered in
// the customer ledger (register 49) and in the monthly statistics of the
// customer (register 1), the item (register 12) and the customer's item
// (register 112).
//
// The statistics keep running balances per month (see period_amounts.cpp):
// register 1 five kinds (net sales in home currency, total in the
// invoice's currency, paid, cost, and the balance owed in home currency),
// registers 12 and 112 three (quantity, sales in home currency, cost). A
// cash invoice is paid as it is made: it adds its total to "paid" and
// nothing to the balance owed, as it adds nothing to the receivables
// account and opens no item. A credit note takes back what its invoice
// added; one that credits a cash invoice takes back its "paid" too, with
// the same amount, and leaves the balance owed alone, so the two cancel
// in every kind. So the customers' balances add up to the receivables
// account. A row's cost is its quantity times its unit cost.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "operations/sales_invoice.h"
#include "operations/statistics_slots.h"
#include "rules/invoice_kind.h"
#include "rules/ledger.h"
#include "rules/payment_kinds.h"
#include "rules/vat_currency.h"

namespace {

constexpr uint16_t StatRegister = IVVc::Number;   // the register an item-history record names

}  // namespace

// Adds the non-zero amounts (kind i gets amounts[i], negated when negate)
// at month into the statistics record whose key is set in key, creating
// it. false, after telling the user, when it could not be read, grown or
// stored.
bool AddStatistics(const StatTarget &t, const uint8_t *key, uint32_t keySize, const PackedDecimal *amounts,
                   uint16_t month, bool negate) {
    RuleRecord r(t.reg);
    if (!r.record) return false;
    std::memcpy(r.record, key, keySize);
    uint32_t recid = 0, position = 0;
    bool found = t.index ? RecFindByIndex(t.reg, t.index, r.record, t.parts, 1, &recid, &position)
                         : RecFind(t.reg, r.record, t.parts, 1, &recid, &position);
    if (!found) {
        recid = 0;
        RecClear(t.reg, r.record);
        std::memcpy(r.record, key, keySize);
    }
    MemBlock periods = GetU32(r.record, t.periods);
    bool grown = true;
    for (int i = 0; i < t.kinds && grown; i++) {
        if (DecIsZero(&amounts[i])) continue;
        PackedDecimal amount = amounts[i];
        if (negate) DecNegateInto(&amounts[i], &amount);
        grown = AddToPeriodAmount(&periods, t.kinds, i, month, &amount);
    }
    PutU32(r.record, t.periods, periods);   // freed with the record either way
    if (grown && RecStore(t.reg, r.record, recid ? 1 : 0, &recid)) return true;
    ShowTextMessage(Texts::RecordNotStored);
    return false;
}

namespace {

// Adds quantity, sales and cost of one item at month to register 12 and,
// under the invoice's customer, to register 112. An empty item code adds
// nothing.
bool AddItemStatistics(const uint8_t *itemCode, const uint8_t *customer, const PackedDecimal *qty,
                       const PackedDecimal *sales, const PackedDecimal *cost, uint16_t month, bool negate) {
    if (itemCode[0] == 0) return true;
    PackedDecimal amounts[ItemStatSlot::Count];
    amounts[ItemStatSlot::Quantity] = *qty;
    amounts[ItemStatSlot::Sales] = *sales;
    amounts[ItemStatSlot::Cost] = *cost;
    uint8_t key[CustItemStatVc::Size] = {};
    PutText(key, ISVc::ItemCode, itemCode);
    if (!AddStatistics({ISVc::Number, nullptr, 1, ISVc::Amounts, ItemStatSlot::Count}, key, ISVc::Amounts, amounts,
                       month, negate))
        return false;
    std::memset(key, 0, sizeof key);
    PutText(key, CustItemStatVc::CustCode, customer);
    PutText(key, CustItemStatVc::ItemCode, itemCode);
    return AddStatistics({CustItemStatVc::Number, "CustItem", 2, CustItemStatVc::Amounts, ItemStatSlot::Count}, key,
                         CustItemStatVc::Amounts, amounts, month, negate);
}

// Feeds the item statistics from the invoice's item-history record
// (register 129), its amounts converted by rate, and sums its costs into
// *costSum. *found false when the invoice has none (its rows are used).
bool StatisticsItemRows(const uint8_t *invoice, const PackedDecimal *rate, PackedDecimal *costSum, uint16_t month,
                        bool negate, bool *found) {
    *found = false;
    RuleRecord history(InvHistVc::Number);
    if (!history.record) return false;
    PutU16(history.record, InvHistVc::RegNr, StatRegister);
    PutU32(history.record, InvHistVc::InvoiceNr, GetU32(invoice, IVVc::SerNr));
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(InvHistVc::Number, "RegInvoice", history.record, 2, 1, &recid, &position)) return true;
    *found = true;
    uint8_t customer[256], row[InvHistVc::Rows::Size], item[256];
    GetText(invoice, IVVc::CustCode, customer);
    int32_t count = MatrixRowCount(InvHistVc::Number, 0, history.record);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(InvHistVc::Number, history.record, i, row)) return false;
        GetText(row, InvHistVc::Rows::ItemCode, item);
        PackedDecimal qty = GetDec(row, InvHistVc::Rows::Quantity), cost = GetDec(row, InvHistVc::Rows::Cost);
        PackedDecimal amount = GetDec(row, InvHistVc::Rows::Amount), sales;
        AmountTimesRate(&amount, rate, &sales);
        if (!AddItemStatistics(item, customer, &qty, &sales, &cost, month, negate)) return false;
        if (!DecIsBlank(&cost)) DecAdd(costSum, &cost, costSum);
    }
    return true;
}

// True when the credit note credits a stored cash invoice: the invoice its
// posting took as credited (the link of its first row, which the posting
// keeps as the credited invoice and books against that invoice's account),
// so that the statistics take the same invoice as credited as the open
// items, the voucher and the customer's transaction listing do.
bool CreditsCashInvoice(const uint8_t *invoice) {
    uint32_t link = GetU32(invoice, IVVc::CredInv);
    if (link == SerialNone) {
        uint8_t row[IVVc::Rows::Size];
        if (MatrixRowCount(IVVc::Number, 0, invoice) == 0 || !MatrixRowRead(IVVc::Number, invoice, 0, row))
            return false;
        link = GetU32(row, IVVc::Rows::Link);
    }
    if (link == SerialNone) return false;
    RuleRecord credited(IVVc::Number);
    if (!credited.record) return false;
    PutU32(credited.record, IVVc::SerNr, link);
    uint32_t recid = 0, position = 0;
    return RecFind(IVVc::Number, credited.record, 1, 1, &recid, &position) &&
           InvoiceKind(GetU16(credited.record, IVVc::InvType)) == InvoiceKind::Cash;
}

}  // namespace

// Writes the invoice's customer-ledger entry (replacing one of the same
// key) with the invoice's total in its own currency (a credit note's as
// it stands, the entry's kind and invoice tell it credits); false when it
// could not be stored.
bool InvoiceToCustomerTrans(const uint8_t *invoice) {
    uint8_t entry[CustTransVc::Size] = {}, text[256];
    GetText(invoice, IVVc::CustCode, text);
    PutText(entry, CustTransVc::CustCode, text);
    PutDate(entry, CustTransVc::TransDate, GetDate(invoice, IVVc::TransDate));
    PutU16(entry, CustTransVc::Kind, uint16_t(LedgerEntryKind::Invoice));
    uint32_t serial = GetU32(invoice, IVVc::SerNr), credited = GetU32(invoice, IVVc::CredInv);
    PutU32(entry, CustTransVc::DocNr, serial);
    bool credits = InvoiceKind(GetU16(invoice, IVVc::InvType)) == InvoiceKind::CreditNote && credited != SerialNone;
    PutU32(entry, CustTransVc::InvoiceNr, credits ? credited : serial);
    GetText(invoice, IVVc::ARAcc, text);
    PutText(entry, CustTransVc::ARAcc, text);
    PutDate(entry, CustTransVc::Date2, GetDate(invoice, IVVc::InvDate));
    PutDec(entry, CustTransVc::Amount, GetDec(invoice, IVVc::Total));
    uint32_t recid = 0;
    if (RecStoreByKey(CustTransVc::Number, entry, 1, &recid)) return true;
    ShowTextMessage(Texts::RecordNotStored);
    return false;
}

namespace {

// Adds the invoice to the monthly statistics of its transaction date's
// month (nothing without a transaction date); false when a store failed.
bool InvoiceMonthlyStatistics(const uint8_t *invoice) {
    DateRec date = GetDate(invoice, IVVc::TransDate);
    if (date.year == 0) return true;
    uint16_t month = MonthIndex(&date);
    const InvoiceKind kind = InvoiceKind(GetU16(invoice, IVVc::InvType));
    bool negate = kind == InvoiceKind::CreditNote;
    PackedDecimal rate = GetDec(invoice, IVVc::Rate), costSum;
    if (DecIsZero(&rate)) DecFromLong(&rate, 100);
    DecSetZero(&costSum);
    uint8_t customer[256], item[256];
    GetText(invoice, IVVc::CustCode, customer);

    bool fromHistory = false;
    if (!StatisticsItemRows(invoice, &rate, &costSum, month, negate, &fromHistory)) return false;
    if (!fromHistory) {
        uint8_t row[IVVc::Rows::Size];
        int32_t count = MatrixRowCount(IVVc::Number, 0, invoice);
        for (int32_t i = 0; i < count; i++) {
            if (!MatrixRowRead(IVVc::Number, invoice, i, row)) return false;
            if (DocRowKind(GetU16(row, IVVc::Rows::Kind)) != DocRowKind::Item) continue;
            GetText(row, IVVc::Rows::ItemCode, item);
            if (item[0] == 0) continue;
            PackedDecimal qty = GetDec(row, IVVc::Rows::Quantity), unit = GetDec(row, IVVc::Rows::UnitCost);
            PackedDecimal sum = GetDec(row, IVVc::Rows::Sum), sales, cost;
            DecMul(&qty, &unit, &cost);
            AmountTimesRate(&sum, &rate, &sales);
            if (!AddItemStatistics(item, customer, &qty, &sales, &cost, month, negate)) return false;
            DecAdd(&costSum, &cost, &costSum);
        }
        PackedDecimal freight = GetDec(invoice, IVVc::Freight);
        if (!DecIsZero(&freight)) {
            PackedDecimal one, sales, cost = GetDec(invoice, IVVc::FreightPctAmt);
            DecFromLong(&one, 1);
            AmountTimesRate(&freight, &rate, &sales);
            GetText(invoice, IVVc::FreightItem, item);
            if (!AddItemStatistics(item, customer, &one, &sales, &cost, month, negate)) return false;
            if (!DecIsBlank(&cost)) DecAdd(&costSum, &cost, &costSum);
        }
    }

    // The customer's kinds; a credit of a cash invoice takes back its
    // "paid" with the same amount the cash invoice added. Paid at once,
    // neither owes anything.
    PackedDecimal net = GetDec(invoice, IVVc::Net), free = GetDec(invoice, IVVc::VatFreeNet),
                  total = GetDec(invoice, IVVc::Total);
    if (DecIsBlank(&net)) DecSetZero(&net);
    if (DecIsBlank(&free)) DecSetZero(&free);
    PackedDecimal amounts[CustomerStatSlot::Count];
    DecAdd(&net, &free, &net);
    AmountTimesRate(&net, &rate, &amounts[CustomerStatSlot::HomeSales]);
    amounts[CustomerStatSlot::Invoiced] = total;
    bool paid = kind == InvoiceKind::Cash || (negate && CreditsCashInvoice(invoice));
    if (paid) amounts[CustomerStatSlot::Paid] = total;
    else DecSetZero(&amounts[CustomerStatSlot::Paid]);
    amounts[CustomerStatSlot::Cost] = costSum;
    if (paid) DecSetZero(&amounts[CustomerStatSlot::HomeBalance]);
    else AmountTimesRate(&total, &rate, &amounts[CustomerStatSlot::HomeBalance]);
    uint8_t key[CSVc::Size] = {}, statCustomer[256];
    GetText(invoice, IVVc::StatCustCode, statCustomer);
    PutText(key, CSVc::CustCode, statCustomer[0] != 0 ? statCustomer : customer);
    return AddStatistics({CSVc::Number, nullptr, 1, CSVc::Amounts, CustomerStatSlot::Count}, key, CSVc::Amounts,
                         amounts, month, negate);
}

}  // namespace

// Approve kind 18: writes the posted invoice's customer-ledger entry and
// adds it to the monthly statistics, then marks it transferred (the
// caller stores it). An invoice already transferred is left alone, so a
// second run adds nothing twice. Failed when a store failed (told): the
// caller's hold then stores nothing of it.
ApproveResult ApproveInvoiceToCustomerLedger(int reg, uint8_t *invoice, uint32_t recid) {
    assert(reg == IVVc::Number && invoice);
    (void)reg;
    (void)recid;
    if (GetU16(invoice, IVVc::Transferred) != 0) return ApproveResult::Unchanged;
    if (!InvoiceToCustomerTrans(invoice) || !InvoiceMonthlyStatistics(invoice)) return ApproveResult::Failed;
    PutU16(invoice, IVVc::Transferred, 1);
    return ApproveResult::Changed;
}
