// vendor_reports.h - the purchase-ledger reports and the journal of
// vouchers: the purchase-invoice journal (26), the vendor ageing report
// (31) with the vendor-ledger amounts it rebuilds, and the transaction
// journal by number or date (15); with the small pieces of the walk that
// these reports share (a serial-number range, the code summaries).
#pragma once

#include <cstdint>
#include <vector>

#include "core/date.h"
#include "core/decimal.h"
#include "rules/rules_types.h"

struct ReportJob;

// ---- The shared walk (purchase_frame.cpp) ----

// The serial-number range of SelText1: an open lower end starts at 0, an
// open upper end (-1) never stops the walk; "100" alone is 100 to 100.
struct SerialRange {
    int32_t from, to;
};
SerialRange SerialRangeOfSelection(const uint8_t *selection);
// True when serial lies past the range's upper end (signed compare).
bool SerialPastRange(int32_t serial, const SerialRange &range);
// True when date lies within from..to, a bound whose year is 0 being open.
bool DateInOpenRange(const DateRec *date, const DateRec *from, const DateRec *to);
// Writes a PackedDecimal right-aligned at x (blank as empty).
void PrintAmountAt(int x, const PackedDecimal *amount);

// ---- Code summaries (code_summary.cpp) ----

// One code's sums: the positive amounts, and the magnitudes of the
// negative ones.
struct CodeSummaryEntry {
    uint8_t code[12];   // PString of up to 10 characters
    PackedDecimal plus, minus;
};
// Codes in the order first met.
using CodeSummary = std::vector<CodeSummaryEntry>;
// Adds amount under code: zero or positive to plus, negative as its
// magnitude to minus. An empty code or a blank amount adds nothing.
void CodeSummaryAdd(CodeSummary &summary, const uint8_t *code, const PackedDecimal *amount);

// ---- Report 26 (purchase_invoice_journal.cpp) ----

// Report 26: purchase invoices by serial number, with their rows in layout 1.
void ReportPurchInvoicesByVendor(ReportJob &job);

// ---- Report 31 (vendor_ageing_report.cpp, vendor_ledger_amounts.cpp) ----

// Report 31: what the company owes each vendor, in five layouts.
void VendorAgeingReport(ReportJob &job);
// Layout 0's lines of one invoice (open its open amount in the invoice
// currency, lineCount the vendor's lines so far): the invoice, then the
// credit notes and payments booked on it (up to the report date when
// dateGiven), in the invoice's currency when inCurrency. True when the
// invoice carries the mark flag.
bool AgeingInvoiceLines(const uint8_t *invoice, const PackedDecimal *open, int lineCount, bool dateGiven,
                        bool inCurrency, const DateRec &reportDate);
// Brings amount (the invoice currency) to what was open of invoice serial
// on date: the credit notes booked on it subtract their amount, other
// invoices add theirs, payments subtract what they paid on it; entries
// dated after date are left out.
void InvoiceOpenAtDate(int32_t serial, const DateRec *date, PackedDecimal *amount);
// What the payment of a vendor-ledger entry paid on the entry's invoice:
// its counted rows for that invoice; zero when the payment is gone.
void PaymentRowsForInvoice(const uint8_t *entry, PackedDecimal *sum);
// Calls each for every vendor-ledger entry of invoice serial (its own,
// its credit notes', its payments') dated on or before upTo, every one
// when upTo is null, in the ledger's order.
void VendorEntriesOfInvoice(int32_t serial, const DateRec *upTo, void (*each)(const uint8_t *entry, void *context),
                            void *context);
// Reads the outgoing payment of serial into rec; false when it is gone.
bool OutPaymentRead(int32_t serial, RuleRecord &rec);
// Minus the vendor's payments on account (counted payment rows without an
// invoice naming the vendor): in the payment currency (currency) and at
// the payment's rate (home). With asOf given, only payments dated on or
// before it count.
void VendorOnAccount(const uint8_t *vendorCode, const DateRec *asOf, PackedDecimal *home, PackedDecimal *currency);

// ---- Report 15 (trans_journal_report.cpp) ----

// Report 15: the vouchers with their rows by number or by transaction
// date, their sum and count, and the summaries per VAT code and account.
void TransJournalReport(ReportJob &job);
