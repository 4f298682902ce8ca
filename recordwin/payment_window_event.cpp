// payment_window_event.cpp - the event handler of the payment windows
// (see payment_window_event.h).
#include "recordwin/payment_window_event.h"

#include "core/field_access.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "recordwin/window_rows.h"
#include "shell/field_editing.h"
#include "shell/window_events.h"
#include "shell/window_table.h"

namespace {


bool Flag(const uint8_t *payment, U16Field flag) { return payment && GetU16(payment, flag) != 0; }

// Event 1: the posted flag only after the approved one; the approved flag
// not taken back from a payment approved (the shown one while it is
// edited, the stored one while a stored one is changed).
uint8_t MayEdit(const PaymentWindowDesc &d, int window, uint32_t offset)
{
    const uint8_t *shown = WinRecordBuffer(window);
    if (offset == d.posted && !Flag(shown, d.approved)) return 0;
    if (offset == d.approved) {
        int state = WinRecState(window);
        if (state == 0 && Flag(shown, d.approved)) return 0;
        if (state == 2 && Flag(WinStoredRecord(window), d.approved)) return 0;
    }
    return 1;
}

}  // namespace

uint8_t PaymentWindowEvent(const PaymentWindowDesc &d, int window, int event, void *a, void *b)
{
    if (!WinIsOpen(window)) return 0;
    // A type laid out otherwise than by its register is left alone.
    if (!WinRulesApply(window)) return 1;
    switch (WindowEventCode(event)) {
    case WindowEventCode::MayEditField: return MayEdit(d, window, b ? *static_cast<const uint16_t *>(b) : 0xFFFFu);
    case WindowEventCode::MayDeleteRow:
        return WinRecState(window) == 2 && Flag(WinStoredRecord(window), d.approved) ? 0 : 1;
    case WindowEventCode::FieldChanged:
        if (a && b) d.fieldChanged(window, *static_cast<const int16_t *>(a), *static_cast<const uint8_t *>(b));
        return 1;
    case WindowEventCode::MayInsertRow: return 0;
    case WindowEventCode::RowsChanged: d.totalsRefresh(window); return 1;
    case WindowEventCode::RecordOpen:
        // Asked as a change begins (a key typed, a box clicked, a row
        // deleted): a posted payment refuses it, and says why.
        if (!Flag(WinRecordBuffer(window), d.posted)) return 1;
        ShowTextMessage(d.postedText);
        return 0;
    default: return 1;
    }
}
