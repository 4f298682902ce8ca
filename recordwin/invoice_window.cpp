// invoice_window.cpp - the sales-invoice window (type 347): its event
// handler and what leaving a field or a row cell does.
//
// Not built yet: the handler is not in the window-event table; called,
// it refuses (the user is told).
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "recordwin/record_windows.h"

// Window type 347's event handler. Not built yet: tells the user and
// refuses (0).
uint8_t Win347Event(int window, int event, void *a, void *b) {
    ShowTextMessage(Texts::FunctionNotYet);
    return 0;
}

// What leaving a field or row cell of the invoice window does. Not built
// yet: does nothing.
void InvoiceRowLeave(int window, int field, uint8_t changed) {}
