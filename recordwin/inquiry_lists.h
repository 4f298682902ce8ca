// inquiry_lists.h - the read-only lists of the registers the program keeps
// by itself (open items, postings, histories, ledgers): the document a
// row came from, and a record window's way into its own rows.
//
// An inquiry list names no related record window, so it never opens a
// kept record to be changed; its OK opens the source document instead
// (for the period sums, the customer, item or vendor of the row).
// "The list of this customer" is the list limited to the rows whose first
// index part is the customer's code (list_windows.h, ListFilterSet).
#pragma once

#include <cstdint>

#include "core/date.h"

// Where a kept record's source document is: the document's register and
// either its record id (when the kept record holds it), its serial
// number, or its code. reg 0: the record names no document.
struct InquirySource {
    int reg = 0;
    uint32_t recordId = 0;   // nonzero: open this record as it is
    int32_t serNr = -1;      // otherwise: the document with this number
    uint8_t code[32] = {};   // or, a PString: the record with this code
};

// The source document of `record`, a record of register `listReg`; reg 0
// for a register whose records come from no one document (balances,
// statistics, stock) and for a record that names none (an unnumbered or
// on-account row, an unknown document kind).
InquirySource InquirySourceOf(int listReg, const uint8_t *record, uint32_t size);

// The record window type that shows documents of register reg; 0 none.
int InquirySourceWindowType(int reg);

// True when window type `type` is one of the inquiry lists.
bool IsInquiryListType(int type);

// The OK of inquiry list n on the selected record `id`: the source
// document opens in its own window; a row without one does nothing; a
// document no longer in the company is told. False when n is no inquiry
// list (the caller goes on as for other lists).
bool InquiryListOpenSource(int n, int32_t id);

// Operations-menu item `button` (its place in the menu, 1 the first) of
// record window `window`: when it is one of the window's inquiry items,
// its list opens (or comes forward) limited to the window's code, or, for
// a list without an index by that code, selected on its first row; true.
// False for any other item.
bool InquiryListButton(int window, int button);
// The inquiry list that an operations item numbered `number` of window
// type `type` opens; 0 when the number names none.
int InquiryListOfItem(int type, int number);

// ---- inquiry_columns.cpp ----
// The text of column `column` of list type windowType for a row's record:
// in the lists of kept period sums the name of the row's customer, item or
// vendor, or this fiscal year's sum of one kind of its period block; empty
// for other types and columns.
void InquiryColumnText(int windowType, int column, const uint8_t *record, uint8_t *text);
// ---- document_list_columns.cpp ----
// The text of lookup column `column` of the customer transactions list or
// the sales-invoice list for a row's record: the document's kind in words
// or its amount with its sign (a credit note's negated); true for those
// two list types, false (text empty) for any other.
bool DocumentListColumnText(int windowType, int column, const uint8_t *record, uint8_t *text);
// The words of an invoice of kind `kind` (an InvoiceKind's word) as the
// customer statement prints them: "Credit note", "Cash invoice", or
// "Invoice" for any other kind.
void InvoiceKindWords(uint16_t kind, uint8_t *text);

// The first and last month (MonthIndex) of the fiscal year holding today,
// or of today's calendar year when no fiscal year holds it.
void InquiryYearMonths(const DateRec *today, uint16_t *first, uint16_t *last);
