// series_terms.h - number series of the registers, payment terms and
// payment modes, date locks, and the codes and names of fiscal years.
#pragma once

#include <cstdint>

#include "rules/rules_types.h"

// ---- Number series (number_series.cpp) ----

// The number-series block of register reg, or 0 when it has none.
int SeriesBlockOfRegister(int reg);
// The date of record that decides its series and fiscal year.
void RecordDate(int reg, const uint8_t *record, DateRec *date);
// A new record whose numbering date (the field at fieldAt) was changed to
// one its number lies in no series of: the number is given up (it asks
// for one again, drawn as the record is stored). True, with the number's
// offset in *serialAt, when it was.
bool NumberFollowsDate(int reg, uint8_t *record, uint32_t fieldAt, uint32_t *serialAt);
// The next free serial number for a new record of reg dated date; wanted
// above 0 keeps to the series rows that hold it; NoFreeNumber when none.
// reserved is not read.
int32_t NextSerialNumber(int reg, const DateRec *date, int32_t wanted, int32_t reserved);
// The number a new record's series search starts from: the session user's
// own start (the u32 at userAt of the user's entry), else the hint at
// blockAt of block 132; 0 when neither is set.
int32_t SeriesHint(uint32_t userAt, uint32_t blockAt);
// The hint at blockAt of block 132 alone, for the runs that number from
// the company's hint whoever runs them; 0 when unset.
int32_t CompanySeriesHint(uint32_t blockAt);
// True when number lies in a series row of reg valid on date, or reg's
// series block has no rows; false for -1.
bool SerialNumberValid(int reg, int32_t number, const DateRec *date);

// ---- Payment terms and modes (payment_terms.cpp) ----

// Reads the payment terms (register 57) of code into record; true when
// found, else the first terms record and false.
bool FindPaymentTerms(const uint8_t *code, uint8_t *record);
// The kind of the terms of code: 2 for a payment mode of block 131 only, 1
// when neither has it.
int PaymentTermsKind(const uint8_t *code);
// True when code names payment terms (register 57) or a payment mode of
// block 131; an empty code names none.
bool PaymentTermsKnown(const uint8_t *code);
// Sets a sales invoice's due dates and kind from its payment terms.
void ApplyPaymentTerms(uint8_t *invoice);
// The same for an invoice the program makes for interest or as a sample:
// the payment mode of the interest settings (block 134), when they name
// one, becomes its terms in place of its customer's.
void ApplyInterestPaymentTerms(uint8_t *invoice);
// Sets a purchase invoice's due and discount dates from its payment terms.
void ApplyPurchaseInvoiceTerms(uint8_t *pi);
// The same, as the purchase-invoice window calls it.
void RefreshPurchaseInvoiceTerms(uint8_t *pi);
// Copies the text (and, for an empty code, the code) of the record's
// payment mode (block 131) into the record.
void ApplyPaymentMode(uint8_t *record);
void ApplyPaymentModeCopy(uint8_t *record);

// ---- Date locks (date_locks.cpp) ----

// True when the lock date of block 137 that applies to reg is set and d is
// on or before it.
bool IsDateLocked(const DateRec *d, int reg);
// The same with the second lock date of reg.
bool IsDateLockedSecondary(const DateRec *d, int reg);
// True when the company's date-lock switch is on, the delete lock is set
// and d lies after it.
bool DateAfterLock137(const DateRec *d);
// The lock test of a document posted by a run rather than saved in its
// window: true, after telling the user what the window tells (text
// DateLocked), when the date at dateAt of record lies in reg's lock or in
// the voucher lock, where its voucher would fall.
bool PostingDateLocked(int reg, const uint8_t *record, uint32_t dateAt);

// ---- Fiscal years (fiscal_years.cpp) ----

// The code of the first fiscal year holding date; YearCodeNone when none.
uint16_t YearCodeOfDate(const DateRec *date);
// The name of a series (fiscal-year) code into text (a PString buffer of
// 256): a fixed kind's name or its year's; empty when none has the code.
void YearCodeNameText(uint8_t *text, uint16_t code);
// The voucher reference "name.number" of a fiscal-year code (the number
// alone when the code has no name) into text (a PString buffer of 256).
void YearCodeText(uint8_t *text, uint16_t code, uint32_t number);
// YearCodeText of a voucher's code and serial.
void VoucherYearCodeText(uint8_t *text, const uint8_t *voucher);
// YearCodeText of a sub-ledger entry's code and serial.
void EntryYearCodeText(uint8_t *text, const uint8_t *record);
// The fiscal-year code of a name: the fixed codes first, then the years;
// 0 when none has it.
uint16_t YearCodeByName(const uint8_t *name);
// Splits a voucher reference into its year code and number; a text with no
// separator gives code 0.
void ParseVoucherRef(const uint8_t *text, uint16_t *code, int32_t *number);
// The same for a from-to range of references.
void ParseVoucherRefRange(const uint8_t *text, uint16_t *codeFrom, uint16_t *codeTo, int32_t *nrFrom,
                          int32_t *nrTo);
// The code for a new year at position among count block-149 rows in date
// order: ruleCode when it lies in 2..200 and no row has it; else a free
// code between the neighbours' codes, keeping the years' order; else any
// free code of 2..200; else 0, which the caller refuses (NoFreeYearCode).
// A stored year's code never changes.
uint16_t FiscalYearCodeFor(const uint8_t *rows, int32_t count, int32_t position, uint16_t ruleCode);
