// sales_lists.h - the document lists (deliveries, goods received, sales
// orders, quotations), the VAT-code check, the sales and purchase invoice
// journals with their VAT breakdown, the overdue items with interest per
// customer (report 18 and the reminder run) and the customer statements
// of open invoices (report 66).
#pragma once

#include <cstdint>

#include "core/decimal.h"
#include "core/memblock.h"

struct ReportJob;

// ---- Document lists (document_list_reports.cpp, document_details.cpp) ----

void DeliveryReport(ReportJob &job);      // report 7
void PurchaseReport53(ReportJob &job);    // report 53
void SalesOrderReport(ReportJob &job);    // report 58
void QuotationReport(ReportJob &job);     // report 59

// Layout 1 of report 58: one order in full; its converted row prices and
// its row sums added to *prices and *sums.
void OrderDetail(const uint8_t *order, PackedDecimal *prices, PackedDecimal *sums);
// Layout 1 of report 59: one quotation in full.
void QuotationDetail(const uint8_t *quote);
// Layout 1 of report 53: one goods receipt in full; its value added to *grand.
void PurchaseDetail(const uint8_t *purchase, PackedDecimal *grand);

// ---- VAT-code check (vat_code_check_report.cpp) ----

// Report 67: the accounts the VAT codes of block 130 name that are empty
// or missing from the chart of accounts.
void VatCodeCheckReport(ReportJob &job);
// True when the account field (a PString) is filled in and names an
// account; otherwise false with *message the text telling why.
bool VatAccountCheck(const uint8_t *account, int *message);

// ---- Invoice journals (vat_journals.cpp) ----

void SalesInvoiceJournal(ReportJob &job);   // report 94
void PurchInvoiceJournal(ReportJob &job);   // report 95
// One VAT line of VAT code `index` (a row of block 208): the VAT of
// *amount by the code (out of the amount when inclusive, which then
// becomes net) into *vat when *vat is blank; *vat is what prints. With
// Option10 clear a blank amount prints nothing and changes nothing.
void VatJournalLine(const uint8_t *selection, PackedDecimal *amount, int32_t index, int inclusive, PackedDecimal *vat);

// ---- Overdue items and interest (overdue_items.cpp) ----

// The form printer the reminder run hands its blocks to (PrintForm; tests
// put a recorder in its place).
extern uint8_t (*OverdueFormPrinter)(int16_t doctype, const uint8_t *record);
// Day limit of the interest (all ones: none); set per customer from Date2From.
extern uint32_t InterestDayCap;
// Appends to *rows one OverdueRow for the open item (register 13) with its
// invoice (register 5, or null when missing); its interest into *interest
// (blank when none). False, *rows unchanged, when memory could not be had.
bool OverdueRowAdd(MemBlock *rows, const uint8_t *openItem, const uint8_t *invoice, PackedDecimal *interest);
// One customer's overdue items: mode 0 prints the reminder form, mode 1
// the block of report 18, as the job record selection asks. The
// customer's total is added to *grand.
void CustomerOverdueItems(const uint8_t *selection, const uint8_t *customerCode, int mode, PackedDecimal *grand);
// Prints one customer's block of report 18 from an OverdueBlock.
void OverdueBlockPrint(const uint8_t *selection, const uint8_t *block);
// Report 18 (mode 1) and the reminder run -8 (mode 0) over the customers
// of the selection.
void CustomerReport18(ReportJob &job, int mode);

// ---- Customer statements (customer_statement_report.cpp) ----

// Report 66: each customer's open invoices with their payments.
void CustomerStatementReport(ReportJob &job);
// Prints the payments (register 49 receipts) of invoice serial with the
// invoice's number and date on the first line; the number of lines.
int InvoicePaymentLines(const uint8_t *invoice);
