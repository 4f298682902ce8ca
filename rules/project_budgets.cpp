// project_budgets.cpp - project budgets and time sheets: their totals,
// row prices, quotation rows carried into budgets, and project codes.
//
// A budget record (time: register 68, costs: register 72) is kept per
// project and item, found by its second index (project, item).
#include <cassert>
#include <cstring>
#include <vector>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/write_gate.h"
#include "dict_offsets.h"
#include "operations/operations.h"
#include "operations/run_outcome.h"
#include "rules/projects.h"
#include "rules/vat_currency.h"

namespace {

// The character of the highest sort weight (cp1252 0xD6, O with diaeresis).
constexpr uint8_t TopSortChar = 0xD6;
constexpr int ItemCodeMax = 20, ProjectCodeMax = 20, ItemGroupMax = 5, TextMax = 60;

// Sum of amountAt over the rows of rec (rows of rowSize bytes).
void SumRows(int reg, const uint8_t *rec, uint32_t amountAt, PackedDecimal *sum) {
    DecSetZero(sum);
    int32_t n = MatrixRowCount(reg, 0, rec);
    std::vector<uint8_t> row(RecRowSize(reg));
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowGet(reg, 0, rec, i, row.data())) break;
        PackedDecimal a = GetDec(row.data(), amountAt);
        DecAdd(sum, &a, sum);
    }
}

// Reads the budget of reg for project and item into rec by the
// (project, item) index; true when it exists.
bool FindBudget(int reg, uint8_t *rec, const uint8_t *project, const uint8_t *item, uint32_t *recid) {
    uint32_t projectAt = reg == TimeBudgetVc::Number ? TimeBudgetVc::Project : CostBudgetVc::Project;
    uint32_t itemAt = reg == TimeBudgetVc::Number ? TimeBudgetVc::ItemCode : CostBudgetVc::ItemCode;
    if (project[0] > ProjectCodeMax || item[0] > ItemCodeMax) return false;
    RecClear(reg, rec);
    PutPString(rec, projectAt, ProjectCodeMax, project);
    PutPString(rec, itemAt, ItemCodeMax, item);
    uint32_t position = 0;
    return RecFindByIndex(reg, "ProjectItem", rec, 2, 1, recid, &position);
}

// True when value (cut to width) lies in the from:to range text at
// offset of selection; an empty range holds everything, an empty end is
// open. *given tells whether the range was given at all.
bool InRange(const uint8_t *selection, uint32_t offset, int fieldMax, int width, const uint8_t *value,
             bool *given) {
    uint8_t range[256], from[256], to[256], v[256];
    GetPString(selection, offset, fieldMax, range);
    RangeSplit(range, from, to);
    if (from[0] > width) from[0] = (uint8_t)width;
    if (to[0] > width) to[0] = (uint8_t)width;
    PStringCopy(v, value);
    if (v[0] > width) v[0] = (uint8_t)width;
    *given = from[0] != 0 || to[0] != 0;
    if (from[0] != 0 && PStringCompare(v, from) < 0) return false;
    if (to[0] != 0 && PStringCompare(v, to) > 0) return false;
    return true;
}

// Whether a quotation row of item goes to the time budget (true) or the
// cost budget, by the selection's ranges, each rule taken when the ones
// before it did not give time: the item in the item range; its group in
// the group range; the item outside the second item range (or none given)
// and its group outside the second group range (or none given). Anything
// else is a cost.
bool RoutesToTime(const uint8_t *selection, const uint8_t *item) {
    uint8_t group[256];
    ItemTextField(item, group);
    bool given = false;
    if (InRange(selection, ReportParamsVc::SelText1, 255, ItemCodeMax, item, &given) && given) return true;
    bool textGiven = false;
    bool textIn = InRange(selection, ReportParamsVc::SelText3, 255, ItemGroupMax, group, &textGiven);
    if (textGiven && textIn) return true;
    bool secondGiven = false;
    bool secondIn = InRange(selection, ReportParamsVc::SelText2, 255, ItemCodeMax, item, &secondGiven);
    if (!secondGiven || !secondIn) {
        bool secondTextGiven = false;
        bool secondTextIn = InRange(selection, ReportParamsVc::ObjectSel, 30, ItemGroupMax, group, &secondTextGiven);
        if (!secondTextGiven || !secondTextIn) return true;
    }
    return false;
}

// The fields of the two budget registers that a quotation row fills.
struct BudgetLayout {
    int reg;
    uint32_t project, projectName, item, text, percent, matrix, rowSize;
    uint32_t rowQty, rowPrice;
};
constexpr BudgetLayout TimeLayout{TimeBudgetVc::Number, TimeBudgetVc::Project, TimeBudgetVc::ProjectName,
                                  TimeBudgetVc::ItemCode, TimeBudgetVc::ItemName, TimeBudgetVc::DiscPct,
                                  TimeBudgetVc::Matrix, TimeBudgetVc::Rows::Size, TimeBudgetVc::Rows::BudgetQty,
                                  TimeBudgetVc::Rows::Price};
constexpr BudgetLayout CostLayout{CostBudgetVc::Number, CostBudgetVc::Project, CostBudgetVc::ProjectName,
                                  CostBudgetVc::ItemCode, CostBudgetVc::ItemName, CostBudgetVc::DiscPct,
                                  CostBudgetVc::Matrix, CostBudgetVc::Rows::Size, CostBudgetVc::Rows::BudgetQty,
                                  CostBudgetVc::Rows::UnitPrice};

// Blanks every amount of a new budget row; the cost row's surcharge comes
// from the item's mark-up (blank without the item).
void NewBudgetRow(const BudgetLayout &b, uint8_t *row, const uint8_t *item, const PackedDecimal *price) {
    PackedDecimal blank;
    DecSetBlank(&blank);
    std::memset(row, 0, b.rowSize);
    if (b.reg == TimeBudgetVc::Number) {
        for (uint32_t at : {TimeBudgetVc::Rows::BudgetQty, TimeBudgetVc::Rows::QtySpent,
                            TimeBudgetVc::Rows::QtyInvoiced, TimeBudgetVc::Rows::Qty42,
                            TimeBudgetVc::Rows::QtyToInvoice, TimeBudgetVc::Rows::CostInvoiced,
                            TimeBudgetVc::Rows::CostSpent})
            PutDec(row, at, blank);
        PutDec(row, TimeBudgetVc::Rows::Price, *price);
        return;
    }
    for (uint32_t at : {CostBudgetVc::Rows::BudgetQty, CostBudgetVc::Rows::QtySpent, CostBudgetVc::Rows::Amount98,
                        CostBudgetVc::Rows::Spent, CostBudgetVc::Rows::Invoiced})
        PutDec(row, at, blank);
    PutDec(row, CostBudgetVc::Rows::UnitPrice, *price);
    PackedDecimal markup = blank;
    RuleRecord it(INVc::Number);
    if (it.record && item[0] <= ItemCodeMax) {
        PutText(it.record, INVc::Code, item);
        uint32_t recid = 0, position = 0;
        if (RecFind(INVc::Number, it.record, 1, 1, &recid, &position)) markup = GetDec(it.record, INVc::Markup);
    }
    PutDec(row, CostBudgetVc::Rows::Surcharge, markup);
}

// Carries one quotation row into the budget of b for project (a project
// record) and item: an existing budget's first row takes the quantity (a
// budget without rows gets a new row); a new budget starts from block
// 201's detail setting with one row at price. The totals are computed
// again and the record stored through the checked insert or update.
bool QuotationToBudget(const BudgetLayout &b, const uint8_t *project, const uint8_t *item,
                       const PackedDecimal *price, const PackedDecimal *qty, const PackedDecimal *percent,
                       const uint8_t *text) {
    assert(project && item && price && qty && percent && text);
    RuleRecord rec(b.reg);
    if (!rec.record) return false;
    uint8_t code[256], name[256];
    GetText(project, ProjectVc::Code, code);
    GetText(project, ProjectVc::Name, name);
    uint32_t recid = 0;
    bool exists = FindBudget(b.reg, rec.record, code, item, &recid);
    std::vector<uint8_t> row(b.rowSize);
    if (!exists) {
        RecClear(b.reg, rec.record);
        uint8_t defaults[ProjectBlk::Size] = {};
        if (SettingsBlockRead(ProjectBlk::Number, defaults, ProjectBlk::Size)) {
            bool time = b.reg == TimeBudgetVc::Number;
            PutU16(rec.record, time ? TimeBudgetVc::Detail : CostBudgetVc::Detail,
                   GetU16(defaults, time ? ProjectBlk::TimeDetail : ProjectBlk::CostDetail));
        }
        PutPString(rec.record, b.project, ProjectCodeMax, code);
        PutPString(rec.record, b.projectName, TextMax, name);
        PutPString(rec.record, b.item, ItemCodeMax, item);
        uint8_t t[256];
        PStringCopy(t, text);
        if (t[0] > TextMax) t[0] = TextMax;
        PutPString(rec.record, b.text, TextMax, t);
        PutDec(rec.record, b.percent, *percent);
    }
    if (MatrixRowCount(b.reg, 0, rec.record) == 0) {
        NewBudgetRow(b, row.data(), item, price);
        if (!MatrixRowPut(b.reg, 0, rec.record, 0, row.data())) return false;
    }
    // The quotation's quantity goes on the first row, of a budget made now
    // as of one kept: a new budget without it would budget nothing.
    if (!MatrixRowGet(b.reg, 0, rec.record, 0, row.data())) return false;
    PutDec(row.data(), b.rowQty, *qty);
    if (!MatrixRowPut(b.reg, 0, rec.record, 0, row.data())) return false;
    if (b.reg == TimeBudgetVc::Number) TimeBudgetTotals(rec.record);
    else CostBudgetTotals(rec.record);
    int result = RecRefused;
    if (exists) RecUpdateChecked(b.reg, rec.record, recid, &result);
    else RecInsertChecked(b.reg, rec.record, &recid, &result);
    return result == RecDone;
}

}  // namespace

// The totals of a time budget from its rows: the amount to invoice (206)
// from the quantities to invoice, and the budget (114) from the budgeted
// quantities unless it is kept as entered; both less the record's
// discount percentage.
void TimeBudgetTotals(uint8_t *budget) {
    assert(budget);
    constexpr int reg = TimeBudgetVc::Number;
    PackedDecimal toInvoice, total, a, pct = GetDec(budget, TimeBudgetVc::DiscPct);
    DecSetZero(&toInvoice);
    DecSetZero(&total);
    int32_t n = MatrixRowCount(reg, 0, budget);
    uint8_t row[TimeBudgetVc::Rows::Size];
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowGet(reg, 0, budget, i, row)) break;
        PackedDecimal price = GetDec(row, TimeBudgetVc::Rows::Price);
        PackedDecimal q1 = GetDec(row, TimeBudgetVc::Rows::QtyToInvoice), q2 = GetDec(row, TimeBudgetVc::Rows::BudgetQty);
        DecRowAmount(&q1, &price, nullptr, &pct, &a);
        DecAdd(&toInvoice, &a, &toInvoice);
        DecRowAmount(&q2, &price, nullptr, &pct, &a);
        DecAdd(&total, &a, &total);
    }
    PutDec(budget, TimeBudgetVc::ToInvoice, toInvoice);
    if (GetU16(budget, TimeBudgetVc::FixedBudget) == 0) PutDec(budget, TimeBudgetVc::Budget, total);
}

// The totals of a cost budget from its rows: the spent sum (188), and the
// budget (174) from quantity x unit price less the record's percentage,
// raised by the row's surcharge where one is given, unless the budget is
// kept as entered.
void CostBudgetTotals(uint8_t *budget) {
    assert(budget);
    constexpr int reg = CostBudgetVc::Number;
    PackedDecimal spent, total, a, pct = GetDec(budget, CostBudgetVc::DiscPct);
    SumRows(reg, budget, CostBudgetVc::Rows::Spent, &spent);
    DecSetZero(&total);
    int32_t n = MatrixRowCount(reg, 0, budget);
    uint8_t row[CostBudgetVc::Rows::Size];
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowGet(reg, 0, budget, i, row)) break;
        PackedDecimal q = GetDec(row, CostBudgetVc::Rows::BudgetQty), price = GetDec(row, CostBudgetVc::Rows::UnitPrice);
        PackedDecimal surcharge = GetDec(row, CostBudgetVc::Rows::Surcharge);
        DecRowAmount(&q, &price, nullptr, &pct, &a);
        if (!DecIsBlank(&surcharge)) DecAddPercent(&a, &surcharge, &a);
        DecAdd(&total, &a, &total);
    }
    PutDec(budget, CostBudgetVc::SpentSum, spent);
    if (GetU16(budget, CostBudgetVc::FixedBudget) == 0) PutDec(budget, CostBudgetVc::Budget, total);
}

// The total of a time sheet: the sum of its rows' quantities.
void TimeSheetTotal(uint8_t *sheet) {
    assert(sheet);
    PackedDecimal total;
    SumRows(TimeSheetVc::Number, sheet, TimeSheetVc::Rows::Quantity, &total);
    PutDec(sheet, TimeSheetVc::Total, total);
}

// The price of the time-budget row of (project, item) whose person code is
// rowCode, else of the last row with an empty code, less the budget's
// discount percentage; blank when there is no budget or no such row.
void TimeBudgetRowPrice(const uint8_t *project, const uint8_t *item, const uint8_t *rowCode, PackedDecimal *price) {
    assert(project && item && rowCode && price);
    DecSetBlank(price);
    RuleRecord rec(TimeBudgetVc::Number);
    uint32_t recid = 0;
    if (!rec.record || !FindBudget(TimeBudgetVc::Number, rec.record, project, item, &recid)) return;
    int32_t n = MatrixRowCount(TimeBudgetVc::Number, 0, rec.record);
    uint8_t row[TimeBudgetVc::Rows::Size], code[256];
    bool found = false, emptyFound = false;
    PackedDecimal emptyPrice;
    DecSetBlank(&emptyPrice);
    for (int32_t i = 0; i < n && !found; i++) {
        if (!MatrixRowGet(TimeBudgetVc::Number, 0, rec.record, i, row)) break;
        GetText(row, TimeBudgetVc::Rows::Person, code);
        if (rowCode[0] != 0 && PStringEqual(code, rowCode)) {
            *price = GetDec(row, TimeBudgetVc::Rows::Price);
            found = true;
        } else if (code[0] == 0) {
            emptyPrice = GetDec(row, TimeBudgetVc::Rows::Price);
            emptyFound = true;
        }
    }
    if (!found && !emptyFound) return;
    if (!found) *price = emptyPrice;
    PackedDecimal pct = GetDec(rec.record, TimeBudgetVc::DiscPct), cut;
    if (DecIsBlank(price) || DecIsZero(&pct)) return;
    DecMul(price, &pct, &cut);
    PackedDecimal hundred;
    DecFromLong(&hundred, 100);
    DecDiv(&cut, &hundred, &cut);
    DecSub(price, &cut, price);
}

// The batch that carries a quotation's rows into its project's budgets:
// the quotation of the serial number in the selection (at 1010) and the
// project of the code at 1032; each row with an item goes to the time or
// the cost budget by the selection's ranges. It ends with its line: the
// rows carried into each kind of budget, or why none was (no such
// quotation or project, no row with an item). False when a store failed.
bool QuotationRowsBatch(const uint8_t *selection) {
    assert(selection);
    RunOutcome run;
    RunStart(&run, Texts::QuotationRowsTitle);
    RunNothing(&run, Texts::QuotationRowsNoQuotation, Texts::QuotationRowsNothing);
    auto finish = [&run](bool ok) {
        RunFinish(&run, 0);
        return ok;
    };
    uint8_t text[256];
    GetText(selection, ReportParamsVc::SelText5, text);
    int32_t serial = -1, last = -1;
    RangeSplitNumber(text, &serial, &last);
    if (serial < 0) return finish(true);
    RuleRecord quote(QuotationVc::Number), project(ProjectVc::Number);
    if (!quote.record || !project.record) return false;
    uint32_t recid = 0, position = 0;
    PutU32(quote.record, QuotationVc::SerNr, (uint32_t)serial);
    if (!RecFind(QuotationVc::Number, quote.record, 1, 1, &recid, &position)) return finish(true);
    RunNothing(&run, Texts::QuotationRowsNoProject);
    GetText(selection, ReportParamsVc::SelText6, text);
    if (text[0] == 0 || text[0] > ProjectCodeMax) return finish(true);
    PutText(project.record, ProjectVc::Code, text);
    if (!RecFind(ProjectVc::Number, project.record, 1, 1, &recid, &position)) return finish(true);
    RunNothing(&run, Texts::QuotationRowsNoItemRow);
    int32_t n = MatrixRowCount(QuotationVc::Number, 0, quote.record);
    uint8_t row[QuotationVc::Rows::Size], item[256], rowText[256];
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowGet(QuotationVc::Number, 0, quote.record, i, row)) return finish(false);
        GetText(row, QuotationVc::Rows::ItemCode, item);
        if (item[0] == 0) continue;
        if (!RunGoesOn(&run, item)) break;
        GetText(row, QuotationVc::Rows::Text, rowText);
        PackedDecimal price = GetDec(row, QuotationVc::Rows::Price), qty = GetDec(row, QuotationVc::Rows::Quantity);
        PackedDecimal pct = GetDec(row, QuotationVc::Rows::Discount);
        const bool time = RoutesToTime(selection, item);
        bool stored = time ? QuotationToTimeBudget(project.record, item, &price, &qty, &pct, 0, rowText)
                           : QuotationToCostBudget(project.record, item, &price, &qty, &pct, 0, rowText);
        if (!stored) {
            RunFailed(&run, 1, Texts::QuotationRowNotStored, Texts::QuotationRowsNotStored);
            return finish(false);
        }
        if (time) RunCount(&run, 1, Texts::QuotationRowToTime, Texts::QuotationRowsToTime);
        else RunCount(&run, 1, Texts::QuotationRowToCost, Texts::QuotationRowsToCost);
    }
    return finish(true);
}

// QuotationRowsBatch, which a client asks of the server as request 49 and
// which is asked the same here (RunWrites); refused, it has told why and
// stored nothing: true, as a client's refused request answers.
bool QuotationRowsBatchCall(uint8_t *selection) {
    assert(selection);
    if (RunModeIsClient()) return JobRequestRemote(ReqQuotationRowsBatch, selection, ReportParamsVc::Size);
    RunWrites run(ReqQuotationRowsBatch, 0, selection);
    return run.refused || QuotationRowsBatch(selection);
}

// One quotation row into the time budget of project (a project record).
bool QuotationToTimeBudget(const uint8_t *project, const uint8_t *item, const PackedDecimal *price,
                           const PackedDecimal *qty, const PackedDecimal *percent, int, const uint8_t *text) {
    return QuotationToBudget(TimeLayout, project, item, price, qty, percent, text);
}

// One quotation row into the cost budget of project (a project record).
bool QuotationToCostBudget(const uint8_t *project, const uint8_t *item, const PackedDecimal *price,
                           const PackedDecimal *qty, const PackedDecimal *percent, int, const uint8_t *text) {
    return QuotationToBudget(CostLayout, project, item, price, qty, percent, text);
}

// The item's group code (the text the batch's item-text ranges compare)
// into text; empty when the item does not exist.
void ItemTextField(const uint8_t *item, uint8_t *text) {
    assert(item && text);
    text[0] = 0;
    if (item[0] == 0 || item[0] > ItemCodeMax) return;
    RuleRecord it(INVc::Number);
    if (!it.record) return;
    PutText(it.record, INVc::Code, item);
    uint32_t recid = 0, position = 0;
    if (RecFind(INVc::Number, it.record, 1, 1, &recid, &position)) GetText(it.record, INVc::Group, text);
}

// The code after the highest project code into code: the last code at or
// below a key of twenty characters of the highest sort weight, which no
// code sorts above, by IncrementCode. Codes sort as text, so after P9 and
// P10 the highest is P9 and the code proposed (P10) exists: its insert
// then reports the key exists. "1" when there is no project; false when
// the code after the highest cannot be made.
bool NextProjectCode(uint8_t *code) {
    assert(code);
    RuleRecord rec(ProjectVc::Number);
    if (!rec.record) return false;
    uint8_t top[ProjectCodeMax + 1];
    top[0] = ProjectCodeMax;
    std::memset(top + 1, TopSortChar, ProjectCodeMax);
    PutText(rec.record, ProjectVc::Code, top);
    uint32_t recid = 0, position = 0;
    if (!RecFindKeep(ProjectVc::Number, rec.record, 1, 0, &recid, &position)) {
        PStringFromC(code, "1");
        return true;
    }
    uint8_t last[256], next[256];
    GetText(rec.record, ProjectVc::Code, last);
    if (!IncrementCode(last, next) || next[0] > ProjectCodeMax) return false;
    PStringCopy(code, next);
    return true;
}
