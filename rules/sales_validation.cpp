// sales_validation.cpp - the checks of orders, quotations and contracts
// before they are stored.
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "rules/checks.h"

namespace {

// Refuses the record with the text that it could not be stored.
int RefuseRecord() { return FieldError(Texts::RecordNotStored, nullptr, RecFocusNone); }

}  // namespace

// Refuses the order.
int ValidateOrder(uint8_t *record, uint8_t *stored, int mode) { return RefuseRecord(); }

// Refuses the quotation.
int ValidateQuotation(uint8_t *record, uint8_t *stored, int mode) { return RefuseRecord(); }

// Refuses the contract.
int ValidateContract(uint8_t *record, uint8_t *stored, int mode) { return RefuseRecord(); }
