// inquiry_columns.cpp - the texts of the lists of kept period sums
// (customer statistics, item statistics, vendor period balances): the
// name of the customer, item or vendor of the row's code, and this fiscal
// year's sum of one kind of the row's period block; and in the vendor
// ledger's list the kind, amount and currency of each entry, read from its
// invoice or payment. See inquiry_lists.h.
//
// The columns are list columns of type lookup (the window supplies their
// text); the column's offset says what it is made from: the row's code
// field gives the name, the period block's handle a year's sum of the
// kind its format word names. The same text is made for a local list and
// by the server for a client's list.
#include "operations/statistics_slots.h"
#include "recordwin/inquiry_lists.h"

#include <cstring>

#include "core/date.h"
#include "core/definitions.h"
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "core/window_entries.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/purchase_ledger.h"
#include "operations/vendor_payment_rows.h"
#include "rules/invoice_kind.h"
#include "rules/ledger.h"
#include "rules/payment_kinds.h"
#include "rules/rules_types.h"

namespace {

// A list of kept period sums: its window type and register, where its
// code and period block lie and how many kinds a month holds; the
// register the code names, with that register's code and name fields;
// the kind that counts quantities (-1 none), shown with three decimals.
struct PeriodList {
    int type;
    int reg;
    uint32_t codeAt;
    uint32_t amountsAt;
    int kinds;
    int namedReg;
    uint32_t namedCodeAt;
    uint32_t nameAt;
    int quantityKind;
};

constexpr int CodeLength = 20, NameLength = 60;

constexpr PeriodList PeriodLists[] = {
    {WinTypes::CustStatList, CSVc::Number, CSVc::CustCode, CSVc::Amounts, CustomerStatSlot::Count, CUVc::Number,
     CUVc::Code, CUVc::Name, -1},
    {WinTypes::ItemStatList, ISVc::Number, ISVc::ItemCode, ISVc::Amounts, ItemStatSlot::Count, INVc::Number,
     INVc::Code, INVc::Name, ItemStatSlot::Quantity},
    {WinTypes::VendBalanceList, VBVc::Number, VBVc::VendCode, VBVc::Amounts, VendorStatSlot::Count, VEVc::Number,
     VEVc::Code, VEVc::Name, -1},
};

const PeriodList *PeriodListOf(int type)
{
    for (const PeriodList &l : PeriodLists)
        if (l.type == type) return &l;
    return nullptr;
}

// The name of the record of register l.namedReg whose code is `code`; empty
// when there is none.
void NameOf(const PeriodList &l, const uint8_t *code, uint8_t *text)
{
    text[0] = 0;
    if (code[0] == 0) return;
    MemBlock h = 0;
    uint8_t *rec = RecBufferNew(l.namedReg, &h);
    if (!rec) return;
    PutPString(rec, l.namedCodeAt, CodeLength, code);
    uint32_t id = 0, position = 0;
    if (RecFind(l.namedReg, rec, 1, 1, &id, &position)) GetPString(rec, l.nameAt, NameLength, text);
    RecFreeMatrix(l.namedReg, rec);
    RecBufferFree(l.namedReg, &h);
}

// The vendor ledger (register 32) keeps no amount: an entry names its
// purchase invoice (kind 0) or its payment (kind 1) and the invoice it
// belongs to. Its list's lookup columns on the document's number show,
// by their format word, the amount the entry stands for or the currency
// it is in.
constexpr int VendColumnAmount = 0, VendColumnCurrency = 1;
constexpr int CurrencyLength = 5;

// The amount of a vendor-ledger entry in its document's currency, signed
// as it moves what the company owes the vendor: an invoice's total (a
// credit note's below zero), or what the payment paid on the entry's
// invoice below zero; the document's currency code into currency. False
// when the document is gone.
bool VendEntryAmount(const uint8_t *entry, PackedDecimal *amount, uint8_t *currency)
{
    currency[0] = 0;
    const LedgerEntryKind kind = LedgerEntryKind(GetU16(entry, VLVc::Kind));
    const int32_t doc = GetI32(entry, VLVc::DocSerNr);
    if (kind == LedgerEntryKind::Invoice) {
        RuleRecord invoice(VIVc::Number);
        if (!PurchaseInvoiceRead(uint32_t(doc), invoice)) return false;
        *amount = GetDec(invoice.record, VIVc::InvAmount);
        if (DecIsBlank(amount)) DecSetZero(amount);
        if (InvoiceKind(GetU16(invoice.record, VIVc::InvType)) == InvoiceKind::CreditNote)
            DecNegateInto(amount, amount);
        GetPString(invoice.record, VIVc::CurncyCode, CurrencyLength, currency);
        return true;
    }
    if (kind != LedgerEntryKind::Payment) return false;
    RuleRecord payment(OPVc::Number);
    if (!OutPaymentRead(doc, payment)) return false;
    GetPString(payment.record, OPVc::CurncyCode, CurrencyLength, currency);
    PaymentRowsForInvoice(entry, amount);
    DecNegateInto(amount, amount);
    return true;
}

// A vendor-ledger entry's kind in words: a payment, or its invoice's kind
// as the customer's list names a sales invoice's (a credit note is no
// invoice to the reader).
void VendEntryKindText(const uint8_t *entry, uint8_t *text)
{
    const LedgerEntryKind kind = LedgerEntryKind(GetU16(entry, VLVc::Kind));
    if (kind == LedgerEntryKind::Payment) {
        GetUiText(text, Texts::StatementPayment);
        return;
    }
    if (kind != LedgerEntryKind::Invoice) return;
    RuleRecord invoice(VIVc::Number);
    const bool found = PurchaseInvoiceRead(GetU32(entry, VLVc::DocSerNr), invoice);
    InvoiceKindWords(found ? GetU16(invoice.record, VIVc::InvType) : 0, text);
}

// The text of the vendor ledger's lookup column of format `what`.
void VendEntryText(const uint8_t *entry, int what, uint8_t *text)
{
    PackedDecimal amount;
    uint8_t currency[256];
    if (!VendEntryAmount(entry, &amount, currency)) return;
    if (what == VendColumnCurrency) {
        PStringCopy(text, currency);
        return;
    }
    if (what != VendColumnAmount) return;
    uint8_t value[sizeof(PackedDecimal)];
    PutDec(value, 0, amount);
    FieldFormat(value, uint16_t(FtAmount2), 0, text);
}

}  // namespace

void InquiryYearMonths(const DateRec *today, uint16_t *first, uint16_t *last)
{
    DateRec start{}, end{};
    bool found = false;
    SettingsRows years(FiscalYearBlk::Number, &FiscalYearRows, FiscalYearBlk::Rows::Size);
    for (int32_t i = 0; !found && i < years.count; i++) {
        const uint8_t *row = years.data + size_t(i) * FiscalYearBlk::Rows::Size;
        start = GetDate(row, FiscalYearBlk::Rows::StartDate);
        end = GetDate(row, FiscalYearBlk::Rows::EndDate);
        found = !DateIsEmpty(&start) && !DateIsEmpty(&end) && DateCompare(&start, today) <= 0 &&
                DateCompare(today, &end) <= 0;
    }
    if (!found) {
        // A date in no fiscal year: the calendar year it lies in.
        start = *today;
        start.month = 1;
        start.day = 1;
        end = *today;
        end.month = 12;
        end.day = 31;
    }
    *first = MonthIndex(&start);
    *last = MonthIndex(&end);
}

void InquiryColumnText(int windowType, int column, const uint8_t *record, uint8_t *text)
{
    text[0] = 0;
    const PeriodList *l = PeriodListOf(windowType);
    uint8_t *def = WinTypeDef(windowType);
    if ((!l && windowType != WinTypes::VendLedgerList) || !def || !record) return;
    uint16_t size = 0;
    const uint8_t *e = WinDefPartEntry(def, WinPartFieldList, column, &size);
    if (!e || size < ListColEntry::Offset + 4 || DefU16(e + ListColEntry::Type) != FtSpare28) return;
    uint32_t at = DefU32(e + ListColEntry::Offset);
    int kind = DefU16(e + ListColEntry::Format);
    if (!l) {
        if (at == VLVc::DocSerNr) VendEntryText(record, kind, text);
        else if (at == VLVc::Kind) VendEntryKindText(record, text);
        return;
    }
    if (at == l->codeAt) {
        uint8_t code[256];
        GetPString(record, l->codeAt, CodeLength, code);
        NameOf(*l, code, text);
        return;
    }
    if (at != l->amountsAt || kind >= l->kinds) return;
    uint16_t first = 0, last = 0;
    InquiryYearMonths(&TodayDate, &first, &last);
    PackedDecimal sum;
    PeriodBalanceChange(GetU32(record, l->amountsAt), l->kinds, kind, first, last, &sum);
    if (DecIsBlank(&sum)) DecSetZero(&sum);
    uint8_t value[sizeof(PackedDecimal)];
    PutDec(value, 0, sum);
    FieldFormat(value, kind == l->quantityKind ? uint16_t(FtAmount3) : uint16_t(FtAmount2), 0, text);
}
