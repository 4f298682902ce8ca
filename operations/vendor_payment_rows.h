// vendor_payment_rows.h - what an outgoing payment (register 30) paid on
// one purchase invoice, read for a vendor-ledger entry (register 32): the
// vendor's reports and the vendor ledger's list read it the same way.
#pragma once

#include <cstdint>

#include "core/decimal.h"

struct RuleRecord;

// Reads the outgoing payment of serial into rec (register 30); false when
// it is gone.
bool OutPaymentRead(int32_t serial, RuleRecord &rec);
// What the payment of a vendor-ledger entry paid on the entry's invoice:
// its counted rows for that invoice, in the payment's currency; zero when
// the payment is gone.
void PaymentRowsForInvoice(const uint8_t *entry, PackedDecimal *sum);
