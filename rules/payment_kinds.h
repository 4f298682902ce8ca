// payment_kinds.h - the kind words of the ledger entries of customers and
// vendors and of the rows of receipts and outgoing payments, as the records
// store them.
#pragma once

#include <cstdint>

// The kind of a customer's transaction (CustTransVc::Kind) or a vendor's
// ledger entry (VLVc::Kind): the posted invoice, or a paid row of a
// receipt or an outgoing payment. The kind is a key part of both registers,
// so an invoice and a payment of one day are kept apart.
enum class LedgerEntryKind : uint16_t { Invoice = 0, Payment = 1 };

// The kind word of a receipt's row (IPVc::Rows::Kind) and of an outgoing
// payment's row (OPVc::Rows::Kind): an invoice paid (or a payment on
// account when its invoice number is -1), a cash discount taken, and a
// fee (on an outgoing payment a further summed row).
enum class PaidRowKind : uint16_t { Paid = 1, Discount = 5, Fee = 6 };
