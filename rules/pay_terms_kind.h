// pay_terms_kind.h - the kinds of payment terms (register 57), which a
// sales document takes as its own kind (PaymentTermsKind, ApplyPaymentTerms
// in payment_terms.cpp).
#pragma once

#include <cstdint>

// 0 is stored by terms never given a kind and read as Ordinary. Cash makes
// a cash invoice (no open item, the cash account booked); a payment-mode
// code typed as the terms gives the same kind. CreditNote makes a credit
// note. NextMonth counts the days from the first of the month after the
// document's date and leaves an ordinary invoice.
enum class PayTermsKind : uint16_t { Ordinary = 1, Cash = 2, CreditNote = 3, NextMonth = 4 };
