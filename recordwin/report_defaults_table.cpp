// report_defaults_table.cpp - the defaults of the selection windows, one
// row a set, keyed by the window and the report it runs. A window that
// serves several reports (401, 435, 438, 488 ...) can give each its own
// set; a window without a row opens with the common defaults only.
//
// Option words are counted from 0 here (word k at byte 874 + 2k), so the
// window's control Option<k+1> shows word k. A set fills only words its
// window shows: a default the user cannot see is a filter he cannot undo.
// Nor does a set tick every box of a group: with none ticked a group
// already takes every kind, and a set ticking them all would only turn
// the user's one click meant to narrow the list into its opposite.
// docs/report_defaults.md keeps the reason for every row, the words left
// out of a set for that reason, and the sets that have no window here.
#include "recordwin/report_defaults_table.h"

namespace {

constexpr OptionRun None{-1, -1, 0};
constexpr OptionRun Ow(int first, int last, int value) { return {int8_t(first), int8_t(last), uint8_t(value)}; }
constexpr OptionRun Ow(int k, int value) { return Ow(k, k, value); }

constexpr int16_t Every = EveryReportOfWindow;
using X = DefaultsExtra;

constexpr SelectionDefaults Table[] = {
    // origin, window, report, layout, option runs, extra
    // Customer form run: its one box, payment rows, ticked.
    {-11, 580, -11, 1, {None, None, None, None, None}, X::None},
    // Formula reports 37-41: the title of the one run.
    {19, 406, Every, -1, {None, None, None, None, None}, X::ReportTitle},
    // Sales journal: posted invoices; every kind (no kind box ticked).
    {47, 570, 1, -1, {Ow(1, 0), Ow(2, 1), None, None, None}, X::None},
    // Items from components: the components layout, with sub-structures.
    {58, 470, 80, 1, {Ow(1, 1), None, None, None, None}, X::None},
    // Ledger set-up: accounts, object types, objects, templates, keys.
    {61, 430, 17, -1, {Ow(0, 0), Ow(2, 4, 1), Ow(6, 7, 1), None, None}, X::None},
    // Overdue items with interest: the items the reminders take (overdue,
    // customers owing), in the customer's currency.
    {67, 519, 18, -1, {Ow(0, 1), Ow(1, 1), Ow(4, 1), None, None}, X::None},
    // Customer-receipt journal: posted receipts.
    {83, 571, 13, -1, {Ow(1, 0), Ow(2, 1), None, None, None}, X::None},
    // Expenses: with their rows, posted.
    {91, 445, 91, 1, {Ow(2, 1), None, None, None, None}, X::None},
    // Interest and reminder run: overdue, owing customers, reminders counted.
    {104, 448, -8, -1, {Ow(0, 2), Ow(1, 1), Ow(2, 1), None, None}, X::AltOptions},
    // Customer balances: customers without a balance left out.
    {109, 507, 34, -1, {Ow(1, 1), None, None, None, None}, X::None},
    // General ledger, also the preview's drill-down: no objects column.
    {110, 425, 6, -1, {Ow(6, 0), None, None, None, None}, X::None},
    // Balance statements 21 and 42-46: the title of the one run.
    {111, 401, Every, -1, {None, None, None, None, None}, X::ReportTitle},
    // Result statements 22 and 47-51: the title, and the change in %.
    {112, 402, Every, -1, {Ow(1, 1), None, None, None, None}, X::ReportTitle},
    // Vendor statements: vendors without a balance left out.
    {136, 441, 35, -1, {Ow(1, 1), None, None, None, None}, X::None},
    // Person statements: persons without a balance left out.
    {146, 442, 93, -1, {Ow(1, 1), None, None, None, None}, X::None},
    // Vendors: one line each, by name.
    {149, 513, 27, -1, {Ow(0, 1), Ow(1, 1), None, None, None}, X::None},
    // Payment advices: every one where the company prints in batches.
    {165, 438, -9, -1, {None, None, None, None, None}, X::BatchByVariant},
    // Approving outgoing payments: those not handled before.
    {174, 438, -10, -1, {None, None, None, None, None}, X::BatchModeZero},
    // Project list: what an invoice made now would hold, every row;
    // budget rows as values.
    {358, 521, 68, -1, {Ow(3, 1), Ow(6, 1), None, None, None}, X::None},
    // Invoice journal with items: posted invoices, one line each.
    {434, 575, 57, 0, {Ow(1, 0), Ow(2, 1), None, None, None}, X::None},
    // Purchase order status: orders not closed, in amounts.
    {446, 492, 81, -1, {Ow(2, 1), Ow(3, 0), Ow(10, 0), None, None}, X::None},
    // Result by object: objects without amounts left out.
    {460, 433, 83, -1, {Ow(5, 1), None, None, None, None}, X::None},
    // Day journals: sales, customer payments, purchases, vendor payments.
    {465, 486, 87, -1, {Ow(1, 0), Ow(11, 14, 1), None, None, None}, X::None},
    // Sales invoice journal: posted invoices.
    {483, 536, 94, -1, {Ow(1, 1), Ow(2, 0), None, None, None}, X::None},
    // Purchase invoice journal of the sales lists, its twin: approved ones.
    {484, 462, 95, -1, {Ow(1, 1), Ow(2, 0), None, None, None}, X::None},
    // Salesman sales: its From and To are the second dates.
    {0, 499, 72, -1, {None, None, None, None, None}, X::PeriodInSecondDates},
    // Outgoing payments: approved and posted.
    {561, 435, 28, -1, {Ow(1, 2, 1), None, None, None, None}, X::None},
    // Posted documents with vouchers: the sales invoices (register 5), summed up.
    {568, 501, 112, 1, {Ow(0, 5), None, None, None, None}, X::None},
    // Person payments: approved and posted.
    {584, 435, 92, -1, {Ow(1, 2, 1), None, None, None, None}, X::None},
    // The SIE export: type 4, the one with the vouchers, is what a user
    // sending the books to another program wants; 0 is no type at all.
    {0, 598, 21, 4, {None, None, None, None, None}, X::None},
};

// The windows that queue one job per object: the general ledger (report
// 6), the balance statements (21, 42-46) and the result statements (22,
// 47-51). Each report reads the object list as the objects an amount or
// a row must carry, so a job per object is the report for that object.
constexpr int16_t PerCodeWindows[] = {425, 401, 402};

}  // namespace

bool SelectionQueuesPerCode(int window)
{
    for (int16_t w : PerCodeWindows)
        if (w == window) return true;
    return false;
}

const SelectionDefaults *SelectionDefaultsTable(size_t *count)
{
    if (count) *count = sizeof Table / sizeof Table[0];
    return Table;
}

const SelectionDefaults *SelectionDefaultsFor(int window, int report)
{
    const SelectionDefaults *every = nullptr;
    for (const SelectionDefaults &row : Table) {
        if (row.window != window) continue;
        if (row.report == report) return &row;
        if (row.report == EveryReportOfWindow) every = &row;
    }
    return every;
}
