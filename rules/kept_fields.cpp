// kept_fields.cpp - the fields a stored record keeps when it is replaced.
#include "rules/checks.h"

// Copies the fields the program maintains from the stored record.
void PreserveStoredFieldsOf(int reg, const uint8_t *stored, uint8_t *record) {}
