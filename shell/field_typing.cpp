// field_typing.cpp - typing into the focused field of a record window,
// and the chooser of a field.
//
// Typed characters reach the edit control through here, filtered by the
// field's type; a field holds printable characters only, so no control
// character (below 32, or DEL) is ever typed or pasted into one. A hidden
// text (type 25) is typed into a password control like any other text:
// the control holds the real characters, so caret moves, Backspace and
// Delete act on what is stored at the commit.
#include <string_view>

#include "core/date.h"
#include "core/field_types.h"
#include "core/format_block.h"
#include "core/pstring.h"
#include "core/system.h"
#include "dict_offsets.h"
#include "platform/control.h"
#include "platform/window.h"
#include "recordwin/record_windows.h"
#include "shell/field_editing.h"
#include "shell/list_windows.h"
#include "shell/record_commands.h"
#include "shell/window_table.h"

namespace {


// True when character c may be typed into a field of the type: amounts
// take digits, "-" and the two separators of the format block; control
// characters are never typed.
bool CharFits(int type, int c)
{
    if (FieldCharIsControl(c)) return false;
    if (type == FtAmount2 || type == FtDebit || type == FtCredit)
        return (c >= '0' && c <= '9') || c == '-' || c == CurrentFormat->decimalSep[1] ||
               c == CurrentFormat->thousandsSep[1];
    return true;
}

// n's live edit control; 0 when it has none.
uint32_t EditOf(int n)
{
    if (!WinIsOpen(n)) return 0;
    uint32_t edit = WinTable[n]->editControl;
    return edit && WinIsWindow(edit) ? edit : 0;
}

}  // namespace

// True when c is a control character (below 32, or DEL): a key's command
// at most, never a character of a field.
bool FieldCharIsControl(int c)
{
    return (c >= 0 && c < 32) || c == 127;
}

// Puts a text (a choice, a paste) into the focused field of n in place of
// the selection: a shown record starts its edit first, and a field that
// may not be edited now takes nothing (and starts no edit).
void WinInsertFieldText(int n, const uint8_t *text)
{
    if (WinBeginFieldEdit(n, 1)) WinTypeText(n, text);
}

// Types a text into the focused field of n, character by character, up
// to its first Tab or line end.
void WinTypeText(int n, const uint8_t *text)
{
    for (int i = 1; i <= text[0]; i++) {
        uint8_t c = text[i];
        if (c == '\t' || c == '\n' || c == '\v' || c == '\r') break;
        WinTypeChar(n, c);
    }
}

// Types character c into the focused field of n in place of the
// selection. Characters that do not fit the field's type are dropped;
// codes are upper-cased. The notes window takes every character as it is
// (its edit control makes a Return a new line).
void WinTypeChar(int n, int c)
{
    uint32_t edit = EditOf(n);
    if (!edit) return;
    int type = WinTable[n]->editFieldType;
    if (WinTypeOf(n) == WinTypes::Notes) type = FtText;
    else if (!CharFits(type, c)) return;
    if (type == FtCode || type == FtCodeKept || type == FtCodeNoSep) c = UpperChar(uint8_t(c));
    char one = char(c);
    EditReplaceSel(edit, std::string_view(&one, 1));
}

// Opens the chooser of the field under edit in n; nothing when no field is edited.
void CmdChoose(int n)
{
    if (!EditOf(n)) return;
    WinChooseForField(n, WinTable[n]->chooser);
}

// Runs chooser `chooser` for n's focused field: -1 types today's date,
// a window type opens a new window of it with n as its opener (its choice
// comes back into n's field; a list starts on what the field holds, then
// the opener's type may limit it to what the field may take);
// anything else does nothing.
void WinChooseForField(int n, int chooser)
{
    if (!WinIsOpen(n)) return;
    if (chooser == ChooserToday) {
        uint8_t text[256];
        FieldFormat(reinterpret_cast<const uint8_t *>(&TodayDate), FtDate, 0, text);
        WinInsertFieldText(n, text);
    } else if (chooser > 0) {
        int list = OpenOrActivateWindow(chooser, 0, 0, true, n);
        if (list) ListChooserStart(list, n);
        if (list && WinIsOpen(list)) ChooserListOpened(list, n);
    }
}
