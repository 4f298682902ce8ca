// window_actions.cpp - actions of record windows that the framework
// runs for a window type: closing with a choice for the opener, and
// whether a type's record may be edited now.
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "recordwin/record_windows.h"
#include "shell/field_editing.h"
#include "shell/window_table.h"

namespace {
// Vouchers (117) may not be edited while the period window (198) is open.
constexpr int VoucherType = 117, PeriodType = 198;
}

// Closes window and, when text is not empty and its opener is still
// open, types text into the opener's current field (the chooser's
// answer).
void WinCloseWithChoice(int window, const uint8_t *text)
{
    if (!WinIsOpen(window)) return;
    int opener = WinOpenerOf(window);
    WinClose(window);
    if (text && text[0] && WinIsOpen(opener)) WinInsertFieldText(opener, text);
}

// 1 when a record of window type `type` may be started, opened or left
// now; 0 (after telling the user) when not.
uint8_t WinTypeMayOpen(int type)
{
    if (type == VoucherType && WinFindByDef(PeriodType)) {
        ShowTextMessage(Texts::PeriodWindowOpen);
        return 0;
    }
    return 1;
}
