// small_services.cpp - small text and array services.
#include "operations/operations.h"

// Leaves text as it is.
void StripChar(uint8_t *text, uint8_t c) {}

// Gives no text: out empty.
void StripLeadingZeros(const uint8_t *text, uint8_t *out) { out[0] = 0; }

// Inserts nothing: false.
bool MemArrayInsertRow(MemBlock h, uint32_t rowSize, int32_t index) { return false; }
