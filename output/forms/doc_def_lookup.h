// doc_def_lookup.h - finding a form definition by name for the form
// printer (doc_def_lookup.cpp).
#pragma once

#include <cstdint>

extern uint8_t DocumentState;                // 3: the looked-up form definition is usable
// Finds the form definition of a name (PString) into record; 0, with
// DocumentState 3 when the definition is usable.
int DocDefLookup(const uint8_t *name, uint8_t *record);
// Names the form-choice settings block the next DocDefLookup serves, so
// that a form it cannot find is told with its documents and block.
void DocDefLookupFor(uint16_t block);
