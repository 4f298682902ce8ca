// code_lists.cpp - code lists of report selections.
#include "reports/ledger/ledger_reports.h"

// Tells whether a code lies in a code list.
bool CodeListContains(const uint8_t *code, const uint8_t *list) {
    return false;
}
