// payment_terms.cpp - payment terms (register 57) and payment modes (block
// 131) applied to documents.
#include "rules/series_terms.h"

// Reads the payment terms of a code.
bool FindPaymentTerms(const uint8_t *code, uint8_t *record) {
    return false;
}

// The kind of the payment terms of a code.
int PaymentTermsKind(const uint8_t *code) {
    return 0;
}

// Applies its payment terms to a sales invoice.
void ApplyPaymentTerms(uint8_t *invoice) {}

// Applies its payment terms to a purchase invoice.
void ApplyPurchaseInvoiceTerms(uint8_t *pi) {}

// Applies its payment terms to a purchase invoice from its window.
void RefreshPurchaseInvoiceTerms(uint8_t *pi) {}

// Applies its payment mode to a record.
void ApplyPaymentMode(uint8_t *record) {}

// Applies its payment mode to a copied record.
void ApplyPaymentModeCopy(uint8_t *record) {}
