// prices.h - item prices and costs, currency rates, the sums of a
// document's percentage rows, and the calculations a client asks the
// server for (request 34).
//
// Each "...Call" dispatcher runs the local rule, or in client mode the
// stub of database/access/remote_calls.h, so that a window gets the same
// answer wherever the data live. Codes are PStrings; amounts, quantities
// and rates are PackedDecimals.
#pragma once

#include <cstdint>

#include "core/msg_buffer.h"
#include "database/access/remote_calls.h"
#include "rules/rules_types.h"

// ---- Currency rates (currency_rates.cpp) ----

// The rate of currency on date from register 47: the latest rate dated on
// or before date. An empty code gives a blank rate, a currency without a
// rate 100 (home currency per 100 units, so amounts stay as they are).
void CurrencyRateLocal(const uint8_t *currency, const DateRec *date, PackedDecimal *rate);
// CurrencyRateLocal, or in client mode sub-request 5. false when the
// server could not be reached: the rate is then blank, never 100, and the
// caller keeps the rate it had.
bool CurrencyRate(const uint8_t *currency, const DateRec *date, PackedDecimal *rate);
// The rate a document without a currency carries: blank, which every
// posting reads as 100. Every document the program makes takes its rate
// from DocumentRate, and every document check asks RateFitsCurrency, so
// that what the program makes passes its own checks.
void HomeCurrencyRate(PackedDecimal *rate);
// The rate of a new document in currency on date: the home-currency rate
// without a currency; with one, `given` (the source document's rate) when
// it holds a rate, else CurrencyRate. false only when a client could not
// reach the server (the rate is then blank).
bool DocumentRate(const uint8_t *currency, const DateRec *date, const PackedDecimal *given, PackedDecimal *rate);
// True when rate may stand with currency: any rate with a currency;
// without one only a rate that leaves amounts as they are (blank, zero or
// 100). A rate such as 90 with no currency is a forgotten currency code.
bool RateFitsCurrency(const uint8_t *currency, const PackedDecimal *rate);

// ---- Item prices and costs (item_prices.cpp) ----

// The price, text, discount, VAT code, sales account and cost of one
// document row for the query's item, quantity, currency, customer group,
// price list and VAT zone. item gets the item's record (register 3).
// false when the item does not exist: item cleared, price, discount and
// cost blank, the texts empty.
bool ItemPrice(const ItemPriceQuery *q, uint8_t *item, ItemPriceAnswer *a);
// The cost of the structure with this code (register 76) into price: the
// cost and additional cost of its existing components, each times its
// row's quantity; price is unchanged when there is no such structure.
void StructurePrice(const uint8_t *structure, PackedDecimal *price);
// The two stock figures of item at location into cost and value: the
// quantity in stock and the quantity reserved from its stock record or,
// for an item made from a structure, the units its components allow and
// the part of those that reservations take; false when the item does
// not exist.
bool ItemCost(const uint8_t *item, const uint8_t *location, PackedDecimal *cost, PackedDecimal *value);
// The VAT code and sales account an item row takes by default in VAT zone
// zone (block 133 and the zone's settings). unused is not read.
void DefaultVatAndAccount(const void *unused, uint8_t *vatCode, uint8_t *account, int zone);

// ---- Dispatchers of request 34 (calc_calls.cpp) ----
// Each gives what its local rule gives; in client mode false also when the
// server could not be reached (RemoteConnectionLost set).

bool ItemPriceCall(const ItemPriceQuery *q, uint8_t *item, ItemPriceAnswer *a);   // sub 1
bool ItemCostCall(const uint8_t *item, const uint8_t *location, PackedDecimal *cost, PackedDecimal *value);   // sub 2
bool RowSumCall(int reg, uint8_t *record, int row, PackedDecimal *total);   // sub 7
// Sub 4: the customer's credit limit and open balance; customer is its
// record (register 2), filled from its code.
bool CustomerBalanceCreditCall(uint8_t *customer, PackedDecimal *limit, PackedDecimal *balance);
// True when the customer of code (a PString) has a limit above zero and
// an open balance beyond it; false when either cannot be had.
bool CustomerOverCreditLimit(const uint8_t *code);
// When block 133 asks for it: true when the account a document row books
// on (at accountAt; none: the block-130 account of the row's VAT code in
// zone) carries no VAT code or the row's (at vatAt). A missing account
// passes.
bool AccountAgreesWithVat(const uint8_t *row, uint32_t accountAt, uint32_t vatAt, int zone);
// Sub 3: the available quantities of a delivery's rows (register 8)
// written into its rows.
bool OrderRowsAvailableCall(uint8_t *delivery);

// ---- Percentage rows (percentage_rows.cpp) ----

// Recomputes the percentage amount of row (0-based) of record of register
// reg (5, 7, 45 or 55) from the rows above it; total gets the sum when
// not null. false for another register or a row the record does not have.
bool DocRowSum(int reg, uint8_t *record, int row, PackedDecimal *total);
// Adds to total the share of a row of item with amount that the
// percentage-table record `table` gives, with or without VAT of vatCode
// (inclVat 1: amount includes VAT).
void RowPercentSum(const uint8_t *table, const uint8_t *item, const PackedDecimal *amount, const uint8_t *vatCode,
                   int inclVat, PackedDecimal *total);

// ---- The server's side of request 34 (server_calc.cpp) ----

// Reads a client's calculation request from request, runs it and writes
// the answer into reply. The request is read whole and checked (register,
// record size, rows, lengths) before anything is done. false when it is
// refused: reply is then empty and the server answers status 2.
bool ServerCalcRequest(MsgBuffer *request, MsgBuffer *reply);
