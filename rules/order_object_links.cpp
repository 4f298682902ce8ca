// order_object_links.cpp - the links of orders to their objects
// (register 121).
#include "rules/documents.h"

// Treats the links as changed: false.
bool OrderLinkFieldsEqual(const uint8_t *order, const uint8_t *stored) { return false; }

// Stores nothing: false.
bool UpdateOrderObjectLinks(const uint8_t *order, const uint8_t *stored) { return false; }
