// project_invoicing.cpp - a sales invoice built from one project: its
// header, heading rows, the down payments of its plan and their
// settlement, the amounts its time and cost budgets hold as not yet
// invoiced, and the deduction of the down payments invoiced before. A
// final run numbers the invoice and moves the budgets' amounts from "to
// invoice" to "invoiced"; a trial run changes no record.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "operations/operations.h"
#include "operations/project_invoice_work.h"
#include "rules/invoice_kind.h"
#include "rules/prices.h"
#include "rules/projects.h"
#include "rules/series_terms.h"
#include "rules/vat_currency.h"

namespace {

constexpr int CodeMax = 20, NameMax = 60, TextMax = 100;

// sum += value, when sum is wanted; blanks count as zero.
void Accumulate(PackedDecimal *sum, PackedDecimal value) {
    if (!sum) return;
    if (DecIsBlank(sum)) DecSetZero(sum);
    if (DecIsBlank(&value)) return;
    DecAdd(sum, &value, sum);
}

// A field's amount with blank read as zero.
PackedDecimal Amount(const uint8_t *base, uint32_t at) {
    PackedDecimal a = GetDec(base, at);
    if (DecIsBlank(&a)) DecSetZero(&a);
    return a;
}

// The field at `at` of base grows by value.
void AddTo(uint8_t *base, uint32_t at, const PackedDecimal &value) {
    PackedDecimal sum = Amount(base, at), v = value;
    DecAdd(&sum, &v, &sum);
    PutDec(base, at, sum);
}

// The invoice's date: the selection's second date when it has a year,
// else today.
DateRec InvoiceDate(const uint8_t *selection) {
    if (selection) {
        DateRec d = GetDate(selection, ReportParamsVc::Date2From);
        if (!DateIsEmpty(&d)) return d;
    }
    return TodayDate;
}

// The heading rows of a final run: two single-space rows before an
// appended project, then the heading and project code, the selection's
// text, the name, the reference and the description lines, a single-space
// row before each of the last three groups when a heading stands already
// and one after the headings.
void HeadingRows(ProjectRun &run) {
    uint8_t *inv = run.inv;
    const uint8_t *p = run.project;
    uint8_t space[2] = {1, ' '}, text[256], code[256];
    if (MatrixRowCount(IVVc::Number, 0, inv) > 0) {
        ProjectInvoiceRowText(inv, space);
        ProjectInvoiceRowText(inv, space);
    }
    bool any = false;
    if (GetU16(p, ProjectVc::PrintHeading) != 0) {
        GetText(run.defaults, ProjectBlk::Heading, text);
        GetText(p, ProjectVc::Code, code);
        PStringAppendC(text, " ");
        PStringAppend(text, code);
        ProjectInvoiceRowText(inv, text);
        any = true;
    }
    if (run.selection) {
        GetText(run.selection, ReportParamsVc::SelText3, text);
        CutText(text, TextMax);
        if (text[0] != 0) {
            ProjectInvoiceRowText(inv, text);
            any = true;
        }
    }
    auto group = [&](uint16_t flagAt, std::initializer_list<uint32_t> lines) {
        if (GetU16(p, flagAt) == 0) return;
        bool spaced = false;
        for (uint32_t at : lines) {
            GetPString(p, at, NameMax, text);
            if (text[0] == 0) continue;
            if (any && !spaced) ProjectInvoiceRowText(inv, space);
            spaced = true;
            ProjectInvoiceRowText(inv, text);
        }
        any = any || spaced;
    };
    group(ProjectVc::PrintName, {ProjectVc::Name});
    group(ProjectVc::PrintRef, {ProjectVc::Reference});
    group(ProjectVc::PrintDesc, {ProjectVc::Desc1, ProjectVc::Desc2, ProjectVc::Desc3});
    if (any) ProjectInvoiceRowText(inv, space);
}

// The down payments of the plan due today, their settlement when the plan
// has its "=" line, as kind-5 rows.
void DownPaymentRows(ProjectRun &run) {
    const uint8_t *p = run.project;
    PackedDecimal due, settlement;
    DecSetZero(&settlement);
    uint8_t text[256];
    bool final = false;
    ProjectLineSum(p, &due, &TodayDate, text, &final);
    PackedDecimal invoiced = Amount(p, ProjectVc::DownPayInvoiced), deducted = Amount(p, ProjectVc::DownPayDeducted);
    PackedDecimal toInvoice;
    if (final) {
        PackedDecimal fixedTime = Amount(p, ProjectVc::FixedTime), fixedCost = Amount(p, ProjectVc::FixedCost);
        DecAdd(&fixedTime, &fixedCost, &settlement);
        DecAdd(&invoiced, &deducted, &due);
        DecNegateInto(&due, &due);
        toInvoice = due;
    } else {
        DecSub(&due, &invoiced, &toInvoice);
    }
    if (!DecIsZero(&toInvoice)) DownPaymentRow(run, toInvoice, text);
    if (DecIsZero(&settlement)) return;
    uint8_t row[IVVc::Rows::Size], rowText[256];
    for (int32_t i = MatrixRowCount(IVVc::Number, 0, run.inv) - 1; i >= 0; i--) {
        if (!MatrixRowGet(IVVc::Number, 0, run.inv, i, row) ||
            DocRowKind(GetU16(row, IVVc::Rows::Kind)) != DocRowKind::DownPayment) continue;
        AddTo(row, IVVc::Rows::Sum, settlement);
        GetText(row, IVVc::Rows::Text, rowText);
        if (rowText[0] == 0) PutText(row, IVVc::Rows::Text, text);
        MatrixRowPut(IVVc::Number, 0, run.inv, i, row);
        return;
    }
    DownPaymentRow(run, settlement, text);
}

// True when the budget is to be invoiced today (no date, or not after it).
bool BudgetDue(const uint8_t *budget, uint32_t dateAt) {
    DateRec from = GetDate(budget, dateAt);
    return DateIsEmpty(&from) || DateCompare(&from, &TodayDate) <= 0;
}

// The two budget registers as the walk sees them.
struct BudgetKind {
    int reg;
    int16_t kind;   // 0 time, 1 cost
    uint32_t project, item, itemName, detail, discount, fromDate, invoiced, budget;
};
constexpr BudgetKind TimeKind{TimeBudgetVc::Number, 0, TimeBudgetVc::Project, TimeBudgetVc::ItemCode,
                              TimeBudgetVc::ItemName, TimeBudgetVc::Detail, TimeBudgetVc::DiscPct,
                              TimeBudgetVc::FromDate, TimeBudgetVc::Invoiced, TimeBudgetVc::Budget};
constexpr BudgetKind CostKind{CostBudgetVc::Number, 1, CostBudgetVc::Project, CostBudgetVc::ItemCode,
                              CostBudgetVc::ItemName, CostBudgetVc::Detail, CostBudgetVc::DiscPct,
                              CostBudgetVc::FromDate, CostBudgetVc::Invoiced, CostBudgetVc::Budget};

// The amount a budget row puts on the invoice and, with detail, what the
// row shows; a final run moves the row's amounts to invoiced.
PackedDecimal BudgetRowAmount(const BudgetKind &k, const uint8_t *budget, uint8_t *row, ProjectRowDetail *d) {
    PackedDecimal amount, discount = GetDec(budget, k.discount);
    GetPString(budget, k.item, CodeMax, d->item);
    d->discount = discount;
    if (k.kind == 0) {
        PackedDecimal price = GetDec(row, TimeBudgetVc::Rows::Price), qty = GetDec(row, TimeBudgetVc::Rows::QtyToInvoice);
        DecRowAmount(&qty, &price, nullptr, &discount, &amount);
        d->quantity = qty;
        d->price = price;
        GetText(row, TimeBudgetVc::Rows::Person, d->note);
        return amount;
    }
    amount = Amount(row, CostBudgetVc::Rows::Spent);
    PackedDecimal price = GetDec(row, CostBudgetVc::Rows::UnitPrice), surcharge = GetDec(row, CostBudgetVc::Rows::Surcharge);
    if (!DecIsBlank(&surcharge) && !DecIsBlank(&price)) DecAddPercent(&price, &surcharge, &price);
    d->quantity = GetDec(row, CostBudgetVc::Rows::QtySpent);
    d->price = price;
    GetText(row, CostBudgetVc::Rows::Text, d->note);
    return amount;
}

// Moves a budget row's invoiced amount out of "to invoice".
void MoveRowToInvoiced(const BudgetKind &k, uint8_t *row) {
    PackedDecimal blank;
    DecSetBlank(&blank);
    if (k.kind == 0) {
        AddTo(row, TimeBudgetVc::Rows::QtyInvoiced, Amount(row, TimeBudgetVc::Rows::QtyToInvoice));
        PutDec(row, TimeBudgetVc::Rows::QtyToInvoice, blank);
        AddTo(row, TimeBudgetVc::Rows::CostInvoiced, Amount(row, TimeBudgetVc::Rows::CostSpent));
        PutDec(row, TimeBudgetVc::Rows::CostSpent, blank);
        return;
    }
    AddTo(row, CostBudgetVc::Rows::Invoiced, Amount(row, CostBudgetVc::Rows::Spent));
    PutDec(row, CostBudgetVc::Rows::Spent, blank);
}

// One budget onto the invoice; final runs write it back. false when the
// rewrite failed.
bool InvoiceBudget(ProjectRun &run, const BudgetKind &k, uint8_t *budget, uint32_t recid, int grouping,
                   const ProjectInvoiceSums &sums) {
    Accumulate(sums.invoicedBefore, GetDec(budget, k.invoiced));
    Accumulate(sums.budgetTotal, GetDec(budget, k.budget));
    bool detail = run.detailAll || GetU16(budget, k.detail) != 0;
    uint8_t name[256], item[256];
    GetPString(budget, k.itemName, NameMax, name);
    GetPString(budget, k.item, CodeMax, item);
    int32_t n = MatrixRowCount(k.reg, 0, budget);
    uint8_t row[256];
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowGet(k.reg, 0, budget, i, row)) break;
        ProjectRowDetail d{};
        PackedDecimal amount = BudgetRowAmount(k, budget, row, &d);
        if (DecIsZero(&amount)) continue;
        // Hours always show as item, hours and price; a cost row's amount
        // spent need not be its quantity times its price, so only a
        // detailed cost row shows them.
        const ProjectRowDetail *priced = k.kind == 0 ? &d : nullptr;
        int32_t r = grouping == GroupPerGroup  ? ProjectInvoiceGroupRow(run, item, detail, priced)
                    : grouping == GroupPerItem ? ProjectInvoiceItemRow(run, item, detail, name, priced)
                                               : ProjectInvoiceAccountRow(run, item, k.kind, detail, priced);
        if (r < 0) return false;
        ProjectInvoiceRowAdd(run, r, amount, detail ? &d : priced, detail);
        Accumulate(k.kind == 0 ? sums.timeAmount : sums.costAmount, amount);
        if (!run.final) continue;
        if (k.kind == 0) AddTo(budget, k.invoiced, amount);
        MoveRowToInvoiced(k, row);
        MatrixRowPut(k.reg, 0, budget, i, row);
    }
    if (!run.final) return true;
    if (k.kind == 0) {
        TimeBudgetTotals(budget);
    } else {
        PackedDecimal blank;
        DecSetBlank(&blank);
        AddTo(budget, CostBudgetVc::Invoiced, Amount(budget, CostBudgetVc::SpentSum));
        PutDec(budget, CostBudgetVc::SpentSum, blank);
        CostBudgetTotals(budget);
    }
    return RecStore(k.reg, budget, 1, &recid);
}

// The budgets of one register of the project, walked by (project, item).
bool InvoiceBudgets(ProjectRun &run, const BudgetKind &k, int grouping, const ProjectInvoiceSums &sums) {
    RuleRecord budget(k.reg);
    if (!budget.record) return false;
    uint8_t code[256], have[256];
    GetText(run.project, ProjectVc::Code, code);
    PutPString(budget.record, k.project, CodeMax, code);
    GetPString(budget.record, k.project, CodeMax, code);
    constexpr const char *index = "ProjectItem";
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(k.reg, index, budget.record, 1, 0, &recid, &position)) return true;
    for (uint32_t p = position;; p++) {
        if (p != position && !RecReadAtIndex(k.reg, index, (int32_t)p, budget.record, &recid)) break;
        GetPString(budget.record, k.project, CodeMax, have);
        if (!PStringEqual(have, code)) break;
        if (!BudgetDue(budget.record, k.fromDate)) continue;
        if (!InvoiceBudget(run, k, budget.record, recid, grouping, sums)) return false;
    }
    return true;
}

// The deduction of the down payments invoiced before, so that the net
// total does not turn negative.
void DeductionRow(ProjectRun &run) {
    const uint8_t *p = run.project;
    PackedDecimal x, deducted = Amount(p, ProjectVc::DownPayDeducted);
    x = Amount(p, ProjectVc::DownPayInvoiced);
    DecAdd(&x, &deducted, &x);
    DecNegateInto(&x, &x);
    if (DecIsZero(&x)) return;
    uint8_t empty[1] = {0};
    int32_t r = DownPaymentRow(run, x, empty);
    DocTotalsRound(run.inv);
    PackedDecimal net = GetDec(run.inv, IVVc::Net);
    if (r < 0 || !DecIsNegative(&net)) return;
    PackedDecimal amount;
    DecSub(&x, &net, &amount);
    MatrixFieldPut(IVVc::Number, run.inv, r, IVVc::Rows::Sum, &amount);
}

}  // namespace

// A new project invoice's header: numbered from the series, kind 1,
// dated, the project's person and reference, its customer's currency and
// rate, the list mark, the sums blank.
void ProjectInvoiceHeader(const uint8_t *selection, uint8_t *inv, const uint8_t *project) {
    assert(inv && project);
    RecClear(IVVc::Number, inv);
    DateRec date = InvoiceDate(selection);
    int32_t n = NextSerialNumber(IVVc::Number, &date, -1, 0);
    PutU32(inv, IVVc::SerNr, n == NoFreeNumber ? SerialNone : (uint32_t)n);
    PutU16(inv, IVVc::InvType, uint16_t(InvoiceKind::Ordinary));
    PutDate(inv, IVVc::InvDate, date);
    PutDate(inv, IVVc::TransDate, date);
    PutU32(inv, IVVc::OrderNr, SerialNone);
    PutU32(inv, IVVc::CredInv, SerialNone);
    PutU32(inv, IVVc::NoticeCount, SerialNone);
    const uint8_t *interest = SettingsRecord(InterestBlk::Number, InvoiceRateBlock);
    if (interest) PutDec(inv, IVVc::IntRate, GetDec(interest, InterestBlk::Rate));
    const uint8_t *sales = SettingsRecord(SalesAccountsBlk::Number, SalesAccountsBlock);
    uint8_t text[256];
    if (sales) {
        GetText(sales, SalesAccountsBlk::ARAcc, text);
        PutText(inv, IVVc::ARAcc, text);
        PutU16(inv, IVVc::UpdStock, GetU16(sales, SalesAccountsBlk::UpdateStock));
    }
    GetText(project, ProjectVc::Leader, text);
    PutText(inv, IVVc::Text290, text);
    GetText(project, ProjectVc::Reference, text);
    PutText(inv, IVVc::Name2, text);
    GetText(project, ProjectVc::Code, text);
    PutText(inv, IVVc::Project, text);
    uint8_t customer[256], currency[256] = {0};
    GetText(project, ProjectVc::CustCode, customer);
    RuleRecord cust(CUVc::Number);
    if (ProjectReadByCode(cust, CUVc::Code, CodeMax, customer)) GetText(cust.record, CUVc::CurncyCode, currency);
    UpperPString(currency);
    PutText(inv, IVVc::CurncyCode, currency);
    PackedDecimal rate;
    if (DocumentRate(currency, &date, nullptr, &rate)) PutDec(inv, IVVc::Rate, rate);
    StatusMarkInvoice(inv);
    PackedDecimal blank;
    DecSetBlank(&blank);
    for (uint32_t at : {IVVc::RoundOff, IVVc::Net, IVVc::VatFreeNet, IVVc::Vat, IVVc::Total, IVVc::Freight,
                        IVVc::FreightHome, IVVc::FreightPctAmt, IVVc::FreightPct})
        PutDec(inv, at, blank);
}

// Builds or extends the invoice of the project (see project_ops.h).
bool ProjectInvoicing(const uint8_t *selection, const uint8_t *project, uint8_t *inv, bool final, bool detailAll,
                      bool append, const ProjectInvoiceSums &sums) {
    assert(project && inv);
    for (PackedDecimal *s : {sums.invoicedBefore, sums.budgetTotal, sums.timeAmount, sums.costAmount})
        if (s) DecSetZero(s);
    ProjectRun run{selection, project, inv, final, detailAll, {}, {}};
    SettingsBlockRead(ProjectBlk::Number, run.defaults, ProjectBlk::Size);
    if (!append) {
        ProjectInvoiceHeader(selection, inv, project);
        if (final) {
            DateRec date = GetDate(inv, IVVc::TransDate);
            int32_t n = NextSerialNumber(IVVc::Number, &date, SeriesHint(SU::SeriesA + 8, SeriesDefaultsBlk::InvoiceHint), 0);
            PutU32(inv, IVVc::SerNr, n == NoFreeNumber ? SerialNone : (uint32_t)n);
            if (n == NoFreeNumber) {
                DocTotalsRound(inv);
                return false;
            }
            uint8_t *series = SettingsRecord(SeriesDefaultsBlk::Number, SeriesStateBlock);
            if (series) PutU32(series, SeriesDefaultsBlk::InvoiceHint, (uint32_t)n);
        }
        uint8_t customer[256];
        GetText(project, ProjectVc::CustCode, customer);
        PutText(inv, IVVc::CustCode, customer);
        CopyCustomerToDocument(inv);
    }
    if (final) HeadingRows(run);
    uint16_t timeMode = GetU16(project, ProjectVc::TimeMode), costMode = GetU16(project, ProjectVc::CostMode);
    if (timeMode == 2) Accumulate(sums.budgetTotal, GetDec(project, ProjectVc::FixedTime));
    if (costMode == 2) Accumulate(sums.budgetTotal, GetDec(project, ProjectVc::FixedCost));
    DownPaymentRows(run);
    if (timeMode != 2 && !InvoiceBudgets(run, TimeKind, GetU16(project, ProjectVc::TimeGrouping), sums)) return false;
    if (costMode != 2 && !InvoiceBudgets(run, CostKind, GetU16(project, ProjectVc::CostGrouping), sums)) return false;
    if (timeMode != 2 && costMode != 2) DeductionRow(run);
    DocTotalsRound(inv);
    return true;
}

// The plan's due down payments and whether it has its settlement line.
void ProjectLineSum(const uint8_t *project, PackedDecimal *due, const DateRec *date, uint8_t *text, bool *settlement) {
    assert(project && due && date && text && settlement);
    DecSetZero(due);
    text[0] = 0;
    *settlement = false;
    bool textOfSettlement = false;
    uint8_t line[ProjectVc::Rows::Size], amountText[256];
    int32_t n = MatrixRowCount(ProjectVc::Number, 0, project);
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowGet(ProjectVc::Number, 0, project, i, line)) break;
        GetText(line, ProjectVc::Rows::AmountText, amountText);
        if (PStringEqualC(amountText, "=")) {
            *settlement = true;
            textOfSettlement = true;
            GetText(line, ProjectVc::Rows::Text, text);
            continue;
        }
        DateRec d = GetDate(line, ProjectVc::Rows::PlanDate);
        if (DateCompare(&d, date) > 0) continue;
        PackedDecimal a;
        TextToDec(amountText, &a);
        if (DecIsBlank(&a)) continue;
        DecAdd(due, &a, due);
        if (!textOfSettlement) GetText(line, ProjectVc::Rows::Text, text);
    }
}
