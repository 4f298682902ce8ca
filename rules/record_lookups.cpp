// record_lookups.cpp - lookups of document windows: a customer group's
// price list, the n-th text row with a code, whether a person exists.
#include "rules/documents.h"

// Knows no list: priceList as it was, *setting 0 (prices without VAT).
void ResolvePriceList(const uint8_t *group, uint8_t *priceList, uint16_t *setting) { *setting = 0; }

// Finds no row: text empty, false.
bool NthRowWithCode(int n, uint8_t *text, MemBlock rows, const uint8_t *code, const uint8_t *defaultText) {
    text[0] = 0;
    return false;
}

// Finds no person: false.
bool PersonExists(const uint8_t *code) { return false; }
