// doc_def_lookup.cpp - finding a form definition by name.
#include "shell/company.h"

uint8_t DocumentState;

// Finds a form definition; not built yet: none is usable (DocumentState 0).
int DocDefLookup(const uint8_t *name, uint8_t *record)
{
    DocumentState = 0;
    return 0;
}
