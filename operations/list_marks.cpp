// list_marks.cpp - the status marks that lists show in front of
// documents, derived from the documents' state words.
#include "operations/operations.h"

// Each leaves the record's marks as they are.
void StatusMarkInvoice(uint8_t *r) {}
void StatusMarkOutPayment(uint8_t *r) {}
void StatusMarkPayment(uint8_t *r) {}
void StatusMarkPurchaseInvoice(uint8_t *r) {}
void StatusMarkRegister56(uint8_t *r) {}
void StatusMarkDelivery(uint8_t *r) {}
void StatusMarkPurchase(uint8_t *r) {}
void StatusMarkFromFlag(uint8_t *r) {}
void StatusMarkOrder(uint8_t *r) {}
void StatusMarkPurchaseOrder(uint8_t *r) {}
