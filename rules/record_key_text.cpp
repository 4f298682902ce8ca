// record_key_text.cpp - the key text of a register's record.
#include "rules/record_key_text.h"

// The key text of a record of register `reg`; empty (no register is listed).
void RecordKeyText(int reg, const uint8_t *record, uint8_t *text) { text[0] = 0; }
