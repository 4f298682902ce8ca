// project_ops.h - the project side of the operations: time sheets
// (register 54) carried into time budgets (68), project transactions (69)
// and link entries (70); cost budgets (72) fed by purchase invoices and
// expenses; project invoicing from the budgets and from the invoicing
// plan; and the two fills of a sales invoice that project invoicing
// shares with the other generated invoices (customer data, item rows).
//
// Budgets are found by their (project, item) index; texts and codes are
// PStrings, amounts PackedDecimal. Every function that stores returns
// false when a store failed, so that a caller inside a hold fails it and
// nothing is half carried over.
#pragma once

#include <cstdint>

#include "core/decimal.h"
#include "core/report_job.h"
#include "rules/approval.h"
#include "rules/rules_types.h"

// ---- Time sheets (time_sheets.cpp) ----

// Checks a time sheet before it is stored (mode 1 insert, 2 update;
// stored the stored copy or null): numbers it when it has no number, then
// the key and series, then every row. 0 accepted; else -1 after
// FieldError/FieldErrorAt told why and where.
int ValidateTimeSheet(uint8_t *sheet, const uint8_t *stored, int mode);
// The first row of the sheet that names a missing or closed project, a
// missing person, a project or item the person may not book, or a missing
// item: its row, the row column at fault and the text telling why. true
// when every row is sound.
bool TimeSheetRowsCheck(const uint8_t *sheet, int32_t *row, uint32_t *column, int *text);
// Carries a transferred sheet's rows into the time budgets, the project
// transactions and the link entries, and sets its list mark; nothing when
// the sheet is not marked transferred. false when a store failed.
bool TimeSheetTransfer(uint8_t *sheet);
// Approve kind 6: marks a sheet transferred and carries it over; a sheet
// marked already is left alone.
ApproveResult ApproveTimeSheet(int reg, uint8_t *sheet, uint32_t recid);
// Approve kind 46: prints the sheet on its form (document -29). Register
// 54 keeps no printed word, so the record never changes.
ApproveResult PrintTimeSheetForm(int reg, uint8_t *sheet, uint32_t recid);
// One project transaction (register 69) per row, unless its key is
// stored already; false when a store failed.
bool TimeSheetProjectTrans(const uint8_t *sheet);
// The link entries (register 70) of a time sheet (reg 54, one per row) or
// a delivery (reg 8, one); any other register does nothing. Entries
// stored already are kept. false when a store failed.
bool ProjectLinkEntries(int reg, const uint8_t *record);
// The effective date of each row: its own, else the row above's, else the
// sheet's registration date.
DateRec TimeSheetRowDate(const uint8_t *sheet, int32_t index);

// ---- Time budgets (time_budgets.cpp) ----

// Adds row index of the sheet into the time budget (the caller stores it).
void TimeBudgetUpdate(const uint8_t *sheet, int32_t index, uint8_t *budget);
// Makes and stores the time budget of row index; false when not stored.
bool TimeBudgetCreate(const uint8_t *sheet, int32_t index);
// The item's or project's name (60) into name; empty when it is missing.
void TimeBudgetItem(const uint8_t *itemCode, uint8_t *name);
void TimeBudgetProject(const uint8_t *projectCode, uint8_t *name);
// Reads the budget of reg (68 or 72) of project and item into rec; true
// when it exists (*recid its id).
bool ProjectBudgetFind(int reg, uint8_t *rec, const uint8_t *project, const uint8_t *item, uint32_t *recid);

// ---- Cost budgets (cost_budgets.cpp) ----

// Adds quantity and amount under text into a cost budget in memory and
// recomputes its totals; percentage (null: none) is the surcharge of the
// first row of a budget without rows.
void CostBudgetAddRow(const uint8_t *text, const PackedDecimal *quantity, const PackedDecimal *amount,
                      uint8_t *budget, const PackedDecimal *percentage);
// Makes and stores the cost budget of project and item with one row.
bool CostBudgetCreate(const uint8_t *project, const uint8_t *item, const uint8_t *text, const PackedDecimal *quantity,
                      const PackedDecimal *amount);
// The project rows of an approved purchase invoice (register 28), or of
// a posted expense (register 109), into the cost budgets.
bool PurchaseInvoiceToCostBudget(const uint8_t *invoice);
bool ExpenseToCostBudget(const uint8_t *expense);

// ---- Project invoicing (project_invoicing.cpp, project_invoice_rows.cpp) ----

// Optional amount results of a project invoicing run (null: not wanted).
struct ProjectInvoiceSums {
    PackedDecimal *invoicedBefore = nullptr;
    PackedDecimal *budgetTotal = nullptr;
    PackedDecimal *timeAmount = nullptr;
    PackedDecimal *costAmount = nullptr;
};
// Builds (or with append adds to) a sales invoice from a project's
// budgets and plan. final numbers the invoice and writes the budgets
// back; detailAll gives one invoice row per budget row. The caller stores
// the invoice. false when a final run found no free number (the invoice
// has no rows then) or a budget could not be stored. The selection (of
// the run's job; null: none) gives the invoice date (Date2From) and a
// final run's heading text (SelText3).
bool ProjectInvoicing(const uint8_t *selection, const uint8_t *project, uint8_t *invoice, bool final, bool detailAll,
                      bool append, const ProjectInvoiceSums &sums);
// The header of a new project invoice (its number not yet final), dated
// by the selection as ProjectInvoicing.
void ProjectInvoiceHeader(const uint8_t *selection, uint8_t *invoice, const uint8_t *project);
// Appends a text row (kind 1) with text, a single space when empty.
void ProjectInvoiceRowText(uint8_t *invoice, const uint8_t *text);
// Sums the plan lines due by date (not "=") into due; the text of the last
// of them, or of the "=" line, into text; *settlement tells whether a "="
// line exists.
void ProjectLineSum(const uint8_t *project, PackedDecimal *due, const DateRec *date, uint8_t *text,
                    bool *settlement);
// True when the invoice's total is not zero or a kind-1 row has an amount.
bool InvoiceHasRows(const uint8_t *invoice);
// Batch routine 9: invoices the projects of the job's selection. false
// when a store failed.
bool InvoicesFromProjects(const ReportJob &job);

// ---- Invoices from the invoicing plan (project_plan_invoice.cpp) ----

// Starts a new invoice for project: header, customer, number and the
// project's text rows. false, with nothing to store, when no invoice
// number is free.
bool InvoiceFromPercentage(uint8_t *invoice, const uint8_t *project);
// What invoicing a project's plan came to: an invoice made (its number
// and record id), nothing due beyond what is invoiced (or an invoice of
// no total), no such project, no free invoice number, or a store failed.
enum class PlanInvoiceResult { NothingDue, Made, NoProject, NumbersUsedUp, Failed };
struct PlanInvoiceOutcome {
    PlanInvoiceResult result = PlanInvoiceResult::NothingDue;
    int32_t serial = -1;
    uint32_t invoiceId = 0;
};
// Invoices what has fallen due in the plan of the project with this code
// and is not yet invoiced; what it came to in *outcome (may be null).
// false when no invoice number was free or a store failed.
bool ProjectToInvoice(const uint8_t *projectCode, PlanInvoiceOutcome *outcome = nullptr);
// ProjectToInvoice as a run that says what it did in its closing line:
// the invoice made with its number, why none was, or that it failed.
// *invoiceId is the made invoice's record id, else all ones.
bool ProjectPlanInvoiceRun(const uint8_t *projectCode, uint32_t *invoiceId);

// ---- Invoice fills (invoice_fills.cpp) ----

// Fills row index of the invoice from item (register 3 record).
void AddInvoiceItemRow(uint8_t *invoice, const uint8_t *item, int32_t index);
// Copies the customer named at the invoice's byte 0 into its header as
// every sales invoice takes it (SalesInvoiceCustomerFill); false when
// the customer does not exist.
bool CopyCustomerToDocument(uint8_t *document);
// The name and delivery lines of customer into the invoice's delivery
// address; all four emptied when the customer has no delivery line.
void CopyCustomerDeliveryAddress(const uint8_t *customer, uint8_t *invoice);
// Clears what a generated invoice must not carry over from defaults: the
// order link, the credited invoice (none), printed flag, objects, text and
// reference; blanks its totals
// and sets its list mark from its posted flag.
void ClearGeneratedInvoiceHead(uint8_t *invoice);
// Resolves the invoice's price list from its customer group and own list
// (rules/documents.h) and sets whether its prices include VAT.
void ResolveInvoicePriceList(uint8_t *invoice);

// ---- Shared look-up (time_budgets.cpp) ----

// Reads the record of rec's register whose code field at `at` (at most
// max characters) is code by its first index; false when the code is
// empty, too long or not stored (rec.record then holds the search key).
bool ProjectReadByCode(RuleRecord &rec, uint32_t at, int max, const uint8_t *code);
