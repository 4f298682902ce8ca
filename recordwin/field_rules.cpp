// field_rules.cpp - field rules by window type: whether a field may be
// edited, and the texts of fields whose text the window supplies (type 28).
#include "recordwin/record_windows.h"

#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {
constexpr int SalesInvoiceType = 347;
}

// 1 when screen field F of the window may be edited in state `state`, 0
// when its type's rules refuse. The sales invoice (type 347): a posted
// invoice keeps every field but the few a posted invoice may change, and
// none of its row cells. Other types have no field rules yet.
uint8_t WinFieldEditRules(int window, int F, int state, int unused, int report)
{
    (void)unused;
    (void)report;
    if (!WinIsOpen(window) || WinTypeOf(window) != SalesInvoiceType) return 1;
    int first = 0, cells = 0;
    MatrixGeometry(window, &first, &cells);
    int id = WinHasMatrix(window) && F >= first ? NoField : WinFieldIdAt(window, F);
    return Invoice347MayEdit(window, state, id) ? 1 : 0;
}

// Takes a typed text into a field whose text the window supplies; false
// (no type takes one).
bool WinFieldFromTextByType(int window, uint8_t *record, int F, const uint8_t *text) { return false; }

// The text the window supplies for data field F; empty (no type supplies one).
void WinFieldDisplayText(int window, int F, uint8_t *text) { text[0] = 0; }

// The text the window supplies for matrix cell F; empty (no type supplies one).
void MatrixCellDisplayText(int window, int F, uint8_t *text) { text[0] = 0; }
