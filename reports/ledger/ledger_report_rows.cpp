// ledger_report_rows.cpp - the report numbers of the general ledger
// (trial balances, statements, formula reports, vouchers and their
// journals, the sales-ledger statement) and the body each runs.
#include "reports/frame/report_modules.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/account_reports.h"
#include "reports/ledger/journal_reports.h"
#include "reports/ledger/ledger_reports.h"
#include "reports/ledger/statement_reports.h"

namespace {

constexpr ReportRowEntry Rows[] = {
    BodyRow(6, LedgerReport6),
    BodyRow(15, TransJournalReport),
    BodyRow(17, LedgerSetupListReport),
    BodyRow(19, FormulaReport19),
    BodyRow(20, AccountBalanceReport),
    BodyRow(21, StatementReport),
    BodyRow(22, StatementReport),
    BodyRow(24, TransByDateReport),
    BodyRow(25, VoucherPrintRun),
    BodyRow(33, FormulaReport33),
    BodyRow(37, FormulaReport37),
    BodyRow(38, FormulaReport37),
    BodyRow(39, FormulaReport37),
    BodyRow(40, FormulaReport37),
    BodyRow(41, FormulaReport37),
    BodyRow(42, StatementReport),
    BodyRow(43, StatementReport),
    BodyRow(44, StatementReport),
    BodyRow(45, StatementReport),
    BodyRow(46, StatementReport),
    BodyRow(47, StatementReport),
    BodyRow(48, StatementReport),
    BodyRow(49, StatementReport),
    BodyRow(50, StatementReport),
    BodyRow(51, StatementReport),
    BodyRow(60, LedgerReport60),
    BodyRow(61, LedgerReport61),
    BodyRow(82, Register100Report),
    BodyRow(83, ObjectBalanceReport),
};

}  // namespace

ReportModuleRows LedgerReportRows() { return ModuleRows("ledger", Rows); }
