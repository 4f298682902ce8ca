// invoice_kind.h - the kind words of invoices and of document rows, as the
// records store them. Every file that reads or writes one of these words
// names its value here.
#pragma once

#include <cstdint>

// The kind of an invoice: the word IVVc::InvType of a sales invoice and
// VIVc::InvType of a purchase invoice (which knows 1 to 3). A sales invoice
// takes its kind from its payment terms (PayTermsKind) when it is made;
// Interest is the invoice the interest run makes. Unset is what an invoice
// made from a contract holds until its customer's terms give it a kind.
enum class InvoiceKind : uint16_t { Unset = 0, Ordinary = 1, Cash = 2, CreditNote = 3, Interest = 4 };

// The kind word that starts a row of a sales document (quotation, order,
// delivery, invoice, contract) or of a purchase order; every kind uses the
// row's one layout. Item is an item row in every document; the invoice uses
// the others: ItemAlso is read as an item row, Text is a text row that may
// name another invoice by its Link (the first row of a credit note names the
// invoice it credits), Amount is a row of an amount without item (interest),
// DownPayment a down payment taken off the total. Plain is a row written
// with no kind yet: a text line of the interest invoice, or a new row that
// becomes an item row once typed in.
enum class DocRowKind : uint16_t { Plain = 0, Item = 1, ItemAlso = 2, Text = 3, Amount = 4, DownPayment = 5 };

// The kind word of a contract's row (ContractVc::Rows::Kind): an item row,
// a row of a sum without item, a text row.
enum class ContractRowKind : uint16_t { Item = 1, Sum = 4, Text = 5 };

// The kind word of an expense claim's row (ExpenseVc::Rows::Kind): an
// account row; a row not yet given a kind is read as one.
enum class ExpenseRowKind : uint16_t { Account = 1 };

// The kind word of a purchase invoice's row (VIVc::Rows::Kind): an account
// row, or the row naming the invoice a credit note credits (CredSerNr).
enum class PurchaseRowKind : uint16_t { Account = 1, Credited = 3 };
