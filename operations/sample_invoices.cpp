// sample_invoices.cpp - batch routine 6: a company filled with sample
// sales invoices for trying reports and runs: random customers, items,
// quantities and dates, consecutive serial numbers, stored unposted and
// unchecked. The numbers run on from the first one whether or not a
// number series holds them, so a number already taken ends the run with
// a message naming it instead of a second invoice under that key.
#include <cassert>
#include <cstdio>

#include "core/date.h"
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/batch_routines.h"
#include "operations/operations.h"
#include "operations/project_ops.h"
#include "rules/invoice_kind.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"
#include "rules/vat_currency.h"

namespace {

namespace Inv = IVVc;

constexpr int TextNoCustomers = 12503, TextNoItems = 12504, TextNumberTaken = 12505, TextNoInvoiceNumber = 12506,
              TextNotANumber = 12507;
constexpr int32_t MaxCount = 100, MaxRows = 10, MaxQuantity = 20;

// A random number from lo to hi, both included (the generator's upper
// bound is never reached by itself).
int32_t RandomInclusive(int32_t lo, int32_t hi) { return RandomRange(lo, hi + 1); }

// The record at a random position of reg (positions count from 1).
bool RecordAtRandom(int reg, uint8_t *record)
{
    uint32_t count = RegRecordCount(reg);
    if (count == 0) return false;
    uint32_t recid = 0;
    return RecReadAt(reg, RandomInclusive(1, int32_t(count)), record, &recid);
}

// The whole number typed into the selection's text at `at`; 0 when
// empty. False for anything else than a whole number.
bool ParamNumber(const ReportJob &job, uint32_t at, int32_t *out)
{
    uint8_t text[256];
    GetPString(job.selection, at, 255, text);
    *out = 0;
    return text[0] == 0 || TextToLongChecked(text, out);
}

bool SerialTaken(uint32_t serial)
{
    RuleRecord other(Inv::Number);
    if (!other.record) return true;
    PutU32(other.record, Inv::SerNr, serial);
    return RecFindByFirstKey(Inv::Number, other.record);
}

}  // namespace

bool TestCustomerAt(uint8_t *customer) { return RecordAtRandom(CUVc::Number, customer); }
bool TestItemAt(uint8_t *item) { return RecordAtRandom(INVc::Number, item); }

bool TestInvoice(uint32_t serial, const DateRec &date)
{
    RuleRecord inv(Inv::Number), customer(CUVc::Number), item(INVc::Number);
    if (!inv.record || !customer.record || !item.record) return false;
    uint8_t *r = inv.record;
    RecClear(Inv::Number, r);
    PutU16(r, Inv::InvType, uint16_t(InvoiceKind::Ordinary));
    PutDate(r, Inv::InvDate, date);
    PutDate(r, Inv::TransDate, date);
    if (!TestCustomerAt(customer.record)) return false;
    uint8_t text[256];
    GetText(customer.record, CUVc::CurncyCode, text);
    PutText(r, Inv::CurncyCode, text);
    PackedDecimal rate;
    if (CurrencyRate(text, &date, &rate)) PutDec(r, Inv::Rate, rate);
    PutU16(r, Inv::UpdStock, 0);
    ClearGeneratedInvoiceHead(r);
    const uint8_t *sales = SettingsRecord(SalesAccountsBlk::Number, SalesAccountsBlock);
    if (sales) PutU16(r, Inv::InclVat, GetU16(sales, SalesAccountsBlk::PricesInclVat));
    PutU32(r, Inv::SerNr, serial);

    GetText(customer.record, CUVc::Code, text);
    PutText(r, Inv::CustCode, text);
    CopyCustomerToDocument(r);   // also the price list, discount code and payment terms
    ApplyInterestPaymentTerms(r);

    for (int32_t i = 0, rows = RandomInclusive(1, MaxRows); i < rows; i++) {
        if (!TestItemAt(item.record)) return false;
        uint8_t row[Inv::Rows::Size] = {};
        PutU16(row, Inv::Rows::Kind, uint16_t(DocRowKind::Item));
        PackedDecimal qty;
        DecFromLong(&qty, RandomInclusive(1, MaxQuantity));
        PutDec(row, Inv::Rows::Quantity, qty);
        if (!MatrixRowPut(Inv::Number, 0, r, i, row)) return false;
        AddInvoiceItemRow(r, item.record, i);
    }
    DocTotalsRound(r);
    uint32_t recid = 0;
    return RecInsertUnchecked(Inv::Number, r, &recid);
}

bool TestInvoices(const ReportJob &job)
{
    assert(job.selection);
    if (RegRecordCount(CUVc::Number) == 0) {
        ShowTextMessage(TextNoCustomers);
        return false;
    }
    if (RegRecordCount(INVc::Number) == 0) {
        ShowTextMessage(TextNoItems);
        return false;
    }
    int32_t count = 0, serial = 0;
    if (!ParamNumber(job, ReportParamsVc::SelText1, &count) || !ParamNumber(job, ReportParamsVc::SelText3, &serial)) {
        ShowTextMessage(TextNotANumber);
        return false;
    }
    SeedRandom();
    if (count < 1) count = RandomInclusive(1, MaxCount);
    DateRec first = GetDate(job.selection, ReportParamsVc::Date2From);
    DateRec last = GetDate(job.selection, ReportParamsVc::Date2To);
    if (first.year == 0) first = TodayDate;
    if (last.year == 0 || DateCompare(&last, &first) < 0) last = first;
    if (serial <= 0) {
        serial = NextSerialNumber(Inv::Number, &first, CompanySeriesHint(SeriesDefaultsBlk::InvoiceHint), 0);
        if (serial == NoFreeNumber) {
            ShowTextMessage(TextNoInvoiceNumber);
            return false;
        }
    }
    const int32_t span = DateDiffDays(&last, &first);
    for (int32_t i = 0; i < count && !UserCancelFlag; i++, serial++) {
        if (SerialTaken(uint32_t(serial))) {
            char digits[16];
            std::snprintf(digits, sizeof digits, "%d", serial);
            PString number;
            PStringFromC(number, digits);
            ShowMessage(TextNumberTaken, number);
            return false;
        }
        DateRec date;
        DateAddDays(&first, RandomInclusive(0, span), &date);
        if (!TestInvoice(uint32_t(serial), date)) {
            ShowTextMessage(Texts::RecordNotStored);
            return false;
        }
    }
    return true;
}
