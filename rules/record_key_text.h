// record_key_text.h - the key text of a register's record: what a
// chooser puts into its opener's field, and what a window closing with a
// choice offers.
#pragma once

#include <cstdint>

// The key text of a record of register `reg` as a PString; empty for a
// register that has none.
void RecordKeyText(int reg, const uint8_t *record, uint8_t *text);
