// out_payment_window.h - the outgoing-payment window (type 157): its event
// handler, its totals and rates, and the row steps its buttons share.
#pragma once

#include <cstdint>

#include "core/decimal.h"

// Window type 157's event handler: 1 = go on / allowed, 0 = refused or done.
uint8_t Win157Event(int window, int event, void *a, void *b);
// What committing screen field `field` of a payment window does.
void OutPaymentFieldChanged(int window, int field, uint8_t changed);
// The rows' total and the amount in home currency, redrawn.
void OutPaymentTotalsRefresh(int window);
// The rate of the payment's currency on its date into the window, then the totals.
void OutPaymentRateRefresh(int window, uint8_t *payment);
// The rate that makes the rows' total the home amount less the bank
// charges; left as it is while the rows total nothing.
void OutPaymentRateFromAmounts(uint8_t *payment);
// The rate at rateAt that makes the total at totalAt the home amount at
// homeAt less the charges at chargesAt, to 2 decimals; left as it is while
// the total is zero.
void PaymentRateFromAmounts(uint8_t *record, uint32_t homeAt, uint32_t chargesAt, uint32_t totalAt, uint32_t rateAt);
// The home amount: the rows' total at the rate plus the bank charges.
void OutPaymentHomeAmount(int window);
// The sum of the counted rows (kinds 1, 5, 6, sub-kind 0) paying invoice
// `serial`; blank when none does.
void PaymentRowsPaidSum(const uint8_t *payment, uint32_t serial, PackedDecimal *result);
// Fills row `row` of the payment window for invoice `serial`: its vendor,
// account text and what is still open after the payment's other rows.
void PaymentRowFromInvoice(uint32_t serial, int window, int row);
