// text_cut.cpp - cutting a text taken from a file or another record at
// its first line end, so that one line of it goes into a one-line field.
#include "exchange/exchange.h"

// Cuts the PString text before its first TAB, LF, VT or CR; a text
// without one is left as it is.
void PStrCutAtLineEnd(uint8_t *text) {
    for (int i = 1; i <= text[0]; i++) {
        uint8_t c = text[i];
        if (c == '\t' || c == '\n' || c == '\v' || c == '\r') {
            text[0] = (uint8_t)(i - 1);
            return;
        }
    }
}
