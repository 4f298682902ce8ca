// project_reports.h - the project reports the report run reaches by
// number: 68 the project list with budgets and what an invoice would hold
// now, 69 the project summary, 70 the hours of the project transactions,
// 115 the budgeted amounts per project; and the pieces they print with.
#pragma once

#include <cstdint>

#include "core/decimal.h"

struct ReportJob;

void ProjectListReport(ReportJob &job);      // 68
void ProjectSummaryReport(ReportJob &job);   // 69
void ProjectTransReport(ReportJob &job);     // 70
void ProjectReport(ReportJob &job);          // 115

// ---- Report 68's pieces (project_list_report.cpp) ----

// A project's time and cost budgets with their rows (with their values
// when `values`), the project total and its down payments; nothing when
// `openOnly` (the budget filter) and nothing is left to invoice.
void ProjectReportLines(const uint8_t *project, bool openOnly, bool values);
// What a project invoice made now would hold (a trial run that stores
// nothing): its rows and sums, then the project's running figures;
// nothing when `openOnly` and the invoice would be blank.
void ProjectInvoiceLines(const uint8_t *project, bool detailAll, bool openOnly);
// The project's three heading lines (project, customer, leader), a rule
// and a blank line; withColumns adds the budget column heads.
void ProjectReportHeading(const uint8_t *project, bool withColumns);
// The amount of the project's budgets not yet invoiced: the time budgets'
// to-invoice totals plus the cost budgets' spent sums.
void ProjectUninvoicedSums97(const uint8_t *projectCode, PackedDecimal *sum);

// ---- Shared (project_report_print.cpp) ----

// The total budget of a project: the time budgets' budget totals plus the
// cost budgets' budget totals.
void ProjectBudgetSums(const uint8_t *projectCode, PackedDecimal *sum);
// An empty line of the given height.
void ReportBlankLine(int height);

// ---- Report 70's walks by person (project_trans_report.cpp) ----

void ProjectTransByPerson(const uint8_t *job);    // layout 2: per person and item
void ProjectTransByProject(const uint8_t *job);   // layout 3: per person and project
