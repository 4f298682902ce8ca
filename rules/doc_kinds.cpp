// doc_kinds.cpp - document kinds: their registers, their names and the
// empty rows of their documents.
#include "rules/documents.h"

// Knows no kind: -1.
int RegisterOfDocKind(int kind) { return -1; }

// Knows no kind: text as it was.
void DocKindText(int kind, uint8_t *text) {}

// Leaves the row as it is.
void InitDocRow(uint8_t *row, int reg, uint16_t kind) {}
