// statement.h - customer statements: the statement lines (invoices,
// credit notes, payments and charges with a running balance), the
// customer's open items by age, and the statement run for one customer.
//
// The lines are StatementLine rows in a MemBlock; the statement record
// (StatementRec) holds their handle, the balances and the ageing amounts
// and is what the statement form (document -11) prints from.
#pragma once

#include <cstdint>

#include "core/date.h"
#include "core/decimal.h"
#include "core/memblock.h"

// The kind word of a statement line (StatementLine::Kind). An invoice's
// line takes its invoice's kind (InvoiceKind 1 to 4); a credit note of a
// cash invoice, which leaves the balance alone, and a payment have kinds
// of the statement's own.
enum class StatementLineKind : int16_t {
    CreditOfCashInvoice = -3,
    Invoice = 1,
    CashInvoice = 2,
    CreditNote = 3,
    InterestInvoice = 4,
    Payment = 6,
};

// True for the line of an invoice of any kind (not the statement's own kinds).
constexpr bool StatementLineIsInvoice(StatementLineKind kind) {
    return kind >= StatementLineKind::Invoice && kind <= StatementLineKind::InterestInvoice;
}

// Grows *lines by one StatementLine and fills it: the document number,
// the two dates, the amount, the running balance and the kind (-1 in the
// line's two spare numbers). False, *lines unchanged, when memory could
// not be had.
bool InterestRowAdd(MemBlock *lines, StatementLineKind kind, int32_t number, const DateRec *date1,
                    const DateRec *date2, const PackedDecimal *amount1, const PackedDecimal *amount2);

// The open items (register 13) of the customer by age: ages[0] all of
// them, then not yet due, 1 to 15, 16 to 30, 31 to 60 and more than 60
// days overdue on TodayDate as the caller holds it (the walk does not
// read the clock: a run reads it once where it starts). The walk stops
// early when the user cancels (the sums so far stand).
void CustomerAgeing(const uint8_t *customerCode, PackedDecimal ages[6]);

// Builds the statement of the customer (register 2 record) over the
// period of the job record selection (its from and to dates and its
// payment-rows option) into statement (a
// StatementRec, its lines a new block the caller frees with
// StatementFree): balance is the opening balance on entry and the
// closing balance on return. False when the lines could not be made.
bool StatementBuild(const uint8_t *selection, const uint8_t *customer, PackedDecimal *balance, uint8_t *statement);
// Frees the statement's lines.
void StatementFree(uint8_t *statement);
// The statement run's step for one customer: builds its statement and
// prints it on the statement form, unless the run's selection asks for
// customers with open items only and this one has none. The print's result (1
// printed), 0 when nothing printed, StatementPassedOver when the customer
// had nothing open to show.
constexpr uint8_t StatementPassedOver = 2;
uint8_t CustomerStatementLines(const uint8_t *selection, const uint8_t *customer, PackedDecimal *balance);
