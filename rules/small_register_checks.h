// small_register_checks.h - the checks before a store of the smaller
// registers that other records name by code: employee types (52), time
// items (73), coded texts (101), contacts (116), bracket tables (118),
// entry types (120), percentage tables (125), order classes (128) and
// standard texts (130).
#pragma once

#include <array>
#include <cstdint>

#include "core/interface_defs.h"
#include "database/access/register_hooks.h"

// The check of a record of one of those registers: 0 when it may be
// stored, else FieldError's -1 with the field (or row cell) at fault in
// FieldErrorPos. Records of other registers pass (0).
int ValidateSmallRegister(int reg, const uint8_t *record);
// Gives those registers the record layer's check (ValidateRecordOf,
// which runs the one above) in the table of register entries, where no
// other check stands already: a record stored from a window is then
// checked before it is written.
void InstallSmallRegisterEntries(std::array<RegisterHooks, RegisterCount> &table);
