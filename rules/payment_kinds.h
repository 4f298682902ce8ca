// payment_kinds.h - the kind words of the ledger entries of customers,
// vendors and persons and of the rows of receipts, outgoing payments and
// person payments, as the records store them.
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

// The kind word of a person payment's row (PersPayVc::Rows::Kind): a row
// that pays a person; Unset, a row not yet given a kind, becomes Paid once
// typed into the window.
enum class PersPayRowKind : uint16_t { Unset = 0, Paid = 1 };

// The kind of a person's ledger entry (PersLedgerVc::Kind): an expense
// claim entered, or a person payment's row paid.
enum class PersLedgerKind : uint16_t { Expense = 0, Payment = 1 };
