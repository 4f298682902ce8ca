// inquiry_lists.h - the read-only lists of the registers the program keeps
// by itself (open items, postings, histories, ledgers): the document a
// row came from, and a record window's way into its own rows.
//
// An inquiry list names no related record window, so it never opens a
// kept record to be changed; its OK opens the source document instead.
// The list framework reads rows by position in an index and has no
// filter, so "the list of this customer" is the list sorted by the index
// whose first part is the customer code and selected on the first row of
// that code.
#pragma once

#include <cstdint>

// Where a kept record's source document is: the document's register and
// either its record id (when the kept record holds it) or its serial
// number. reg 0: the record names no document.
struct InquirySource {
    int reg = 0;
    uint32_t recordId = 0;   // nonzero: open this record as it is
    int32_t serNr = -1;      // otherwise: the document with this number
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
// record window `window`: when it is the window's inquiry item, its list
// opens (or comes forward) selected on the window's code, and true; false
// for any other item.
bool InquiryListButton(int window, int button);
