// contract_invoicing.cpp - contracts invoiced period by period: the
// selection, the walks over contracts and their periods, the invoice made
// from a contract and batch routine 15 that stores those invoices.
//
// A contract's periods start at its next-period start and follow one
// another by its interval (months or days); a period's invoice date is its
// start less the day offset (in advance) or its end plus the offset (in
// arrears). The run never moves the next-period start: it records the
// date of the last invoice made, and a period whose invoice date is on or
// before that date counts as invoiced, so running a period twice makes
// its invoices once.
#include "rules/contract_invoicing.h"

#include <cassert>
#include <cstdio>
#include <iterator>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/order_conversion.h"
#include "operations/run_outcome.h"
#include "operations/sales_customer_fill.h"
#include "rules/documents.h"
#include "rules/invoice_kind.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"
#include "rules/vat_currency.h"

namespace {

namespace Co = ContractVc;
namespace Inv = IVVc;

constexpr int TextContract = 1168;
constexpr int TextNoNumber = 12620;

// A text field copied from the contract into the invoice; each side keeps
// its own length.
struct TextPair {
    uint32_t to;
    int toLength;
    uint32_t from;
    int fromLength;
};
constexpr TextPair HeadTexts[] = {
    {Inv::CustCode, 20, Co::CustCode, 20},     {Inv::Addr0, 60, Co::CustName, 60},
    {Inv::Addr1, 60, Co::Addr1, 60},           {Inv::Addr2, 60, Co::Addr2, 60},
    {Inv::Addr3, 60, Co::Addr3, 60},           {Inv::Text290, 20, Co::Text284, 20},
    {Inv::Name2, 60, Co::Name2, 60},         {Inv::PayTerms, 2, Co::PayTerms, 2},
    {Inv::CustCat, 5, Co::DiscCode, 5},        {Inv::PriceList, 5, Co::PriceList, 5},
    {Inv::Objects, 30, Co::Objects, 30},       {Inv::Reference, 60, Co::Reference, 60},
    {Inv::SalesMan, 5, Co::SalesMan, 5},       {Inv::CurncyCode, 5, Co::CurncyCode, 5},
    {Inv::LangCode, 5, Co::LangCode, 5},       {Inv::FreightItem, 20, Co::FreightItem, 20},
    {Inv::FreightVat, 2, Co::FreightVat, 2},   {Inv::FreightObj, 30, Co::FreightObjects, 30},
    {Inv::OurRef, 20, Co::OurRef, 20},       {Inv::DelTerms, 5, Co::DelTerms, 5},
    {Inv::DelAddr0, 60, Co::DelAddr0, 60},     {Inv::DelAddr1, 60, Co::DelAddr1, 60},
    {Inv::DelAddr2, 60, Co::DelAddr2, 60},     {Inv::DelAddr3, 60, Co::DelAddr3, 60},
    {Inv::DelMode, 5, Co::DelMode, 5},         {Inv::Location, 10, Co::Location, 10},
    {Inv::Project, 20, Co::Project, 20},       {Inv::FreightAcc, 10, Co::FreightAcc, 10},
};
// Amounts and words copied as they are: {invoice field, contract field}.
constexpr uint32_t HeadAmounts[][2] = {
    {Inv::Freight, Co::Freight},         {Inv::FreightHome, Co::FreightHome},
    {Inv::FreightPctAmt, Co::FreightPctAmount}, {Inv::FreightPct, Co::FreightPct},
};
constexpr uint32_t HeadWords[][2] = {{Inv::VatZone, Co::VatZone}, {Inv::InclVat, Co::InclVat}};

constexpr TextPair RowTexts[] = {
    {Inv::Rows::ItemCode, 20, Co::Rows::ItemCode, 20}, {Inv::Rows::Text, 100, Co::Rows::Text, 100},
    {Inv::Rows::SalesAcc, 10, Co::Rows::SalesAcc, 10}, {Inv::Rows::Objects, 30, Co::Rows::Objects, 30},
    {Inv::Rows::VatCode, 2, Co::Rows::VatCode, 2},
};
// The price unit goes with the price and quantity so that the invoice
// row's amount is what its own fields give.
constexpr uint32_t RowAmounts[][2] = {
    {Inv::Rows::Quantity, Co::Rows::Quantity}, {Inv::Rows::Price, Co::Rows::Price},
    {Inv::Rows::Sum, Co::Rows::Sum},           {Inv::Rows::Discount, Co::Rows::Discount},
    {Inv::Rows::UnitCost, Co::Rows::UnitCost}, {Inv::Rows::GrossProfit, Co::Rows::GrossProfit},
    {Inv::Rows::PriceUnit, Co::Rows::PriceUnit},
};

void CopyTexts(uint8_t *to, const uint8_t *from, const TextPair *pairs, size_t count)
{
    uint8_t text[256];
    for (size_t i = 0; i < count; i++) {
        GetPString(from, pairs[i].from, pairs[i].fromLength, text);
        PutPString(to, pairs[i].to, pairs[i].toLength, text);
    }
}

// A text row (kind 1, text only) appended to the invoice.
void AddTextRow(uint8_t *invoice, const uint8_t *text)
{
    uint8_t row[Inv::Rows::Size];
    InitDocRow(row, Inv::Number, 1);
    PutText(row, Inv::Rows::Text, text);
    MatrixRowPut(Inv::Number, 0, invoice, MatrixRowCount(Inv::Number, 0, invoice), row);
}

// A contract row copied into an invoice row; the quantity multiplied by
// factor (when not zero) with the amount made again from it.
void AddContractRow(uint8_t *invoice, const uint8_t *source, const PackedDecimal &factor)
{
    uint8_t row[Inv::Rows::Size];
    InitDocRow(row, Inv::Number, 1);
    CopyTexts(row, source, RowTexts, std::size(RowTexts));
    for (const auto &pair : RowAmounts) PutDec(row, pair[0], GetDec(source, pair[1]));
    PackedDecimal quantity = GetDec(source, Co::Rows::Quantity);
    if (!DecIsZero(&factor) && !DecIsZero(&quantity)) {
        DecMul(&quantity, &factor, &quantity);
        PutDec(row, Inv::Rows::Quantity, quantity);
        PackedDecimal price = GetDec(source, Co::Rows::Price), unit = GetDec(source, Co::Rows::PriceUnit),
                      discount = GetDec(source, Co::Rows::Discount), sum;
        DecRowAmount(&quantity, &price, &unit, &discount, &sum);
        PutDec(row, Inv::Rows::Sum, sum);
    }
    MatrixRowPut(Inv::Number, 0, invoice, MatrixRowCount(Inv::Number, 0, invoice), row);
}

// The period's end: start plus the contract's interval, less one day.
DateRec PeriodEnd(const uint8_t *contract, const DateRec &start)
{
    const int32_t length = GetU16(contract, Co::Interval);
    DateRec next = start;
    if (GetU16(contract, Co::IntervalUnit) == 0) DateAddMonths(&next, length);
    else DateAddDays(&start, length, &next);
    DateRec end;
    DateAddDays(&next, -1, &end);
    return end;
}

DateRec InvoiceDateOf(const uint8_t *contract, const DateRec &start, const DateRec &end)
{
    const int32_t offset = GetU16(contract, Co::DayOffset);
    DateRec date;
    if (GetU16(contract, Co::DateRule) == 0) DateAddDays(&start, -offset, &date);
    else DateAddDays(&end, offset, &date);
    return date;
}

bool InPeriod(const ContractSelection &sel, const DateRec &d)
{
    return DateCompare(&d, &sel.periodFrom) >= 0 && DateCompare(&d, &sel.periodTo) <= 0;
}

// ---- The batch run ----

struct RunState {
    RuleRecord invoice{Inv::Number};
    bool storeFailed = false;
    int32_t unnumbered = 0;
    uint32_t recid = 0;   // the contract's
    RunOutcome outcome;   // what the run made, for its closing line
};

// One period of the batch run: the invoice made, numbered and stored with
// the contract's new last-invoice date in one hold.
bool InvoiceOnePeriod(void *ctx, uint8_t *contract, const DateRec &date, const DateRec &from, const DateRec &to)
{
    RunState &run = *static_cast<RunState *>(ctx);
    uint8_t *inv = run.invoice.record;
    ContractToInvoice(contract, inv, date, from, to);
    PackedDecimal total = GetDec(inv, Inv::Total);
    if (DecIsZero(&total)) return true;
    DateRec transDate = GetDate(inv, Inv::TransDate);
    const int32_t serial =
        NextSerialNumber(Inv::Number, &transDate, CompanySeriesHint(SeriesDefaultsBlk::ContractInvHint), 0);
    if (serial == NoFreeNumber) {
        run.unnumbered++;
        RunCount(&run.outcome, 1, Texts::RunPeriodNoNumber, Texts::RunPeriodsNoNumber);
        return true;
    }
    PutU32(inv, Inv::SerNr, uint32_t(serial));
    if (uint8_t *series = SettingsRecord(SeriesDefaultsBlk::Number, SeriesStateBlock))
        PutU32(series, SeriesDefaultsBlk::InvoiceHint, uint32_t(serial));
    const DateRec before = GetDate(contract, Co::LastInvDate);
    PutDate(contract, Co::LastInvDate, date);
    DbHoldBegin();
    uint32_t invoiceId = 0;
    bool ok = RecInsertUnchecked(Inv::Number, inv, &invoiceId) && RecStore(Co::Number, contract, 1, &run.recid);
    if (!ok) DbHoldFail();
    ok = DbHoldEnd() && ok;
    if (!ok) {
        PutDate(contract, Co::LastInvDate, before);
        run.storeFailed = true;
        return false;
    }
    RunCount(&run.outcome, 1, Texts::RunInvoiceMade, Texts::RunInvoicesMade);
    RunNumber(&run.outcome, serial);
    return true;
}

}  // namespace

bool ContractSelectionRead(const uint8_t *selection, ContractSelection *sel, bool needPeriod)
{
    assert(sel && selection);
    *sel = ContractSelection{};
    uint8_t text[256];
    GetText(selection, ReportParamsVc::SelText1, text);
    sel->codeRanged = text[0] != 0;
    if (sel->codeRanged) RangeSplit(text, sel->codeFrom, sel->codeTo);
    GetText(selection, ReportParamsVc::SelText2, text);
    sel->numberFrom = sel->numberTo = -1;
    if (text[0] != 0) RangeSplitNumber(text, &sel->numberFrom, &sel->numberTo);
    GetText(selection, ReportParamsVc::SelText3, sel->filter);
    sel->periodFrom = GetDate(selection, ReportParamsVc::Date2From);
    sel->periodTo = GetDate(selection, ReportParamsVc::Date2To);
    const bool open = ContractPeriodOpen(*sel);
    if (open && needPeriod) {
        ShowTextMessage(Texts::ContractPeriodNotGiven);
        return false;
    }
    if (!open && DateCompare(&sel->periodFrom, &sel->periodTo) > 0) {
        ShowTextMessage(Texts::SeriesDatesReversed);
        return false;
    }
    return true;
}

bool ContractPeriodOpen(const ContractSelection &sel)
{
    return DateIsEmpty(&sel.periodFrom) || DateIsEmpty(&sel.periodTo);
}

bool ContractSelected(const ContractSelection &sel, const uint8_t *contract)
{
    assert(contract);
    const DateRec last = GetDate(contract, Co::LastInvDate);
    if (!DateIsEmpty(&last) && !DateIsEmpty(&sel.periodTo) && DateCompare(&last, &sel.periodTo) > 0) return false;
    uint8_t text[256];
    if (sel.codeRanged) {
        GetText(contract, Co::CustCode, text);
        if (sel.codeFrom[0] != 0 && PStringCompare(text, sel.codeFrom) < 0) return false;
        if (sel.codeTo[0] != 0 && PStringCompare(text, sel.codeTo) > 0) return false;
    }
    if (sel.filter[0] != 0) {
        GetText(contract, Co::FilterCode, text);
        if (!PStringEqual(text, sel.filter)) return false;
    }
    return int16_t(GetU16(contract, Co::Interval)) >= 1;
}

bool ContractWalk(const ContractSelection &sel, uint8_t *contract, bool (*cancelled)(), ContractVisit visit,
                  void *ctx)
{
    assert(contract && visit);
    RecClear(Co::Number, contract);
    PutU32(contract, Co::SerNr, uint32_t(sel.numberFrom < 0 ? 0 : sel.numberFrom));
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(Co::Number, "SerNr", contract, 1, 0, &recid, &position)) return true;
    for (uint32_t p = position;; p++) {
        if (p != position) {
            RecFreeMatrix(Co::Number, contract);
            if (!RecReadAtIndex(Co::Number, "SerNr", int32_t(p), contract, &recid)) return true;
        }
        if (sel.numberTo >= 0 && GetI32(contract, Co::SerNr) > sel.numberTo) return true;
        if (ContractSelected(sel, contract) && !visit(ctx, contract, recid)) return false;
        if (cancelled && cancelled()) return true;
    }
}

bool ContractPeriods(const ContractSelection &sel, uint8_t *contract, ContractPeriodVisit visit, void *ctx)
{
    assert(contract && visit);
    if (int16_t(GetU16(contract, Co::Interval)) < 1) return true;
    const DateRec endDate = GetDate(contract, Co::EndDate);
    const DateRec last = sel.periodTo;
    DateRec d = GetDate(contract, Co::NextPeriod);
    if (DateIsEmpty(&d)) return true;
    while (DateCompare(&d, &last) <= 0 && (DateIsEmpty(&endDate) || DateCompare(&d, &endDate) <= 0)) {
        const DateRec e = PeriodEnd(contract, d);
        if (DateIsEmpty(&e) || DateCompare(&e, &d) < 0) return true;   // out of the calendar
        const DateRec f = InvoiceDateOf(contract, d, e);
        const DateRec invoiced = GetDate(contract, Co::LastInvDate);
        const bool done = !DateIsEmpty(&invoiced) && DateCompare(&f, &invoiced) <= 0;
        if (!done && InPeriod(sel, f) && !visit(ctx, contract, f, d, e)) return false;
        DateAddDays(&e, 1, &d);
    }
    return true;
}

void ContractToInvoice(const uint8_t *contract, uint8_t *invoice, const DateRec &invoiceDate, const DateRec &from,
                       const DateRec &to)
{
    assert(contract && invoice);
    RecClear(Inv::Number, invoice);
    RecNewDefaults(Inv::Number, invoice);
    PutU32(invoice, Inv::SerNr, SerialNone);
    PutDate(invoice, Inv::InvDate, invoiceDate);
    PutDate(invoice, Inv::TransDate, invoiceDate);
    PutU16(invoice, Inv::Posted, 0);
    PutU16(invoice, Inv::InvType, uint16_t(InvoiceKind::Unset));
    PutU32(invoice, Inv::OrderNr, SerialNone);
    // The invoice takes its customer's data as a typed invoice does; what
    // the contract names itself (its address, terms, references, freight)
    // is laid over it.
    uint8_t code[256];
    GetText(contract, Co::CustCode, code);
    RuleRecord customer(CUVc::Number);
    if (customer.record && DocFlowReadByCode(CUVc::Number, CUVc::Code, 20, code, customer.record)) {
        PutText(invoice, Inv::CustCode, code);
        SalesInvoiceCustomerFill(invoice, customer.record);
    }
    CopyTexts(invoice, contract, HeadTexts, std::size(HeadTexts));
    for (const auto &pair : HeadAmounts) PutDec(invoice, pair[0], GetDec(contract, pair[1]));
    for (const auto &pair : HeadWords) PutU16(invoice, pair[0], GetU16(contract, pair[1]));
    // The rate is the currency's on the invoice date, not the one kept on
    // the contract when it was typed.
    uint8_t text[256];
    GetText(invoice, Inv::CurncyCode, text);
    PackedDecimal rate;
    if (DocumentRate(text, &invoiceDate, nullptr, &rate)) PutDec(invoice, Inv::Rate, rate);
    ApplyPaymentTerms(invoice);

    char digits[16];
    std::snprintf(digits, sizeof digits, "%u", GetU32(contract, Co::SerNr));
    GetUiText(text, TextContract);
    PStringAppendChar(text, ' ');
    PStringAppendC(text, digits);
    AddTextRow(invoice, text);
    PeriodRowText(&from, &to, ":", text);
    AddTextRow(invoice, text);
    PStringFromC(text, "-----------");
    AddTextRow(invoice, text);

    const PackedDecimal factor = GetDec(contract, Co::QtyFactor);
    uint8_t row[Co::Rows::Size];
    for (int32_t i = 0, n = MatrixRowCount(Co::Number, 0, contract); i < n; i++)
        if (MatrixRowGet(Co::Number, 0, contract, i, row)) AddContractRow(invoice, row, factor);
    DocTotalsRound(invoice);
}

bool InvoiceContracts(const ReportJob &job)
{
    ContractSelection sel;
    if (!ContractSelectionRead(job.selection, &sel, true)) return false;
    RunState run;
    RuleRecord contract(Co::Number);
    if (!run.invoice.record || !contract.record) return false;
    RunStart(&run.outcome, Texts::MaintContractInvoices);
    struct Ctx {
        ContractSelection *sel;
        RunState *run;
    } ctx{&sel, &run};
    // Esc is asked before each contract, so a contract is never left
    // with some of its periods invoiced by a cancel.
    ContractWalk(
        sel, contract.record, nullptr,
        [](void *c, uint8_t *record, uint32_t recid) {
            Ctx &x = *static_cast<Ctx *>(c);
            if (!RunGoesOnNumber(&x.run->outcome, GetI32(record, Co::SerNr))) return false;
            x.run->recid = recid;
            return ContractPeriods(*x.sel, record, InvoiceOnePeriod, x.run);
        },
        &ctx);
    RecFreeMatrix(Co::Number, contract.record);
    if (run.storeFailed) {
        if (RunOutcomeUi.progressEnd) RunOutcomeUi.progressEnd();
        ShowTextMessage(Texts::RecordNotStored);
        return false;
    }
    if (run.unnumbered > 0) ShowTextMessage(TextNoNumber);
    if (!RunMadeSomething(run.outcome)) RunNothing(&run.outcome, Texts::RunWhyNoPeriod, Texts::RunNothingInvoiced);
    RunFinish(&run.outcome, 0);
    return true;
}
