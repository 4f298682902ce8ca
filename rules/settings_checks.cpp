// settings_checks.cpp - the checks of settings blocks before they are
// stored, and what a stored block changes in the running program.
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "database/access/record_access.h"
#include "rules/settings_checks.h"

namespace {

// Refuses the block with the text that it could not be stored.
int RefuseBlock() { return FieldError(Texts::RecordNotStored, nullptr, RecFocusNone); }

}  // namespace

// Refuses every block.
int SettingsBlockCheck(int block, uint8_t *data, uint32_t size) { return RefuseBlock(); }

// Changes nothing.
void SettingsBlockAfterChange(int block, const uint8_t *data, uint32_t size) {}

// Refuses the rows.
int CheckBlock130Codes(const uint8_t *rows, uint32_t size) { return RefuseBlock(); }

// Refuses the rows.
int CheckPaymentModesBlock(const uint8_t *rows, uint32_t size) { return RefuseBlock(); }

// Refuses the rows; no code is written.
int CheckFiscalYearsBlock(uint8_t *rows, uint32_t size) { return RefuseBlock(); }

// Refuses the rows.
int CheckSeriesBlock(const uint8_t *rows, uint32_t size) { return RefuseBlock(); }
