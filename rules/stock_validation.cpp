// stock_validation.cpp - the checks of deliveries, stock movements,
// purchase orders, productions and register-56 records before they are
// stored.
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "rules/checks.h"

namespace {

// Refuses the record with the text that it could not be stored.
int RefuseRecord() { return FieldError(Texts::RecordNotStored, nullptr, RecFocusNone); }

}  // namespace

// Refuses the delivery.
int ValidateShipment(uint8_t *record, uint8_t *stored, int mode) { return RefuseRecord(); }

// Refuses the stock movement.
int ValidateStockMovement(uint8_t *record, uint8_t *stored, int mode) { return RefuseRecord(); }

// Refuses the purchase order.
int ValidatePurchaseOrder(uint8_t *record, uint8_t *stored, int mode) { return RefuseRecord(); }

// Refuses the production.
int ValidateProduction(uint8_t *record, uint8_t *stored, int mode) { return RefuseRecord(); }

// Refuses the record.
int ValidatePi1(uint8_t *record) { return RefuseRecord(); }
