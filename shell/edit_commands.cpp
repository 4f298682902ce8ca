// edit_commands.cpp - the Edit commands and the helpers over a window's
// edit control, list box and scroll bars.
#include <string>

#include "core/memblock.h"
#include "core/pstring.h"
#include "core/window_kind.h"
#include "platform/clipboard.h"
#include "platform/control.h"
#include "platform/queue.h"
#include "platform/window.h"
#include "recordwin/record_windows.h"
#include "shell/field_editing.h"
#include "shell/record_commands.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

// Window kinds the Edit commands tell apart.
constexpr int KindNoEditCommands = 25;

// n's edit control when n is open, not of kind 25, and has a live one; else 0.
static uint32_t EditControlOf(int n)
{
    if (!WinIsOpen(n) || WinKindOf(n) == KindNoEditCommands) return 0;
    uint32_t edit = WinTable[n]->editControl;
    return edit && WinIsWindow(edit) ? edit : 0;
}

// Sends a cut or paste to n's edit control when its field may be edited
// now, starting the record's edit first when it is only shown.
static void EditChange(int n, uint32_t msg)
{
    if (!EditControlOf(n)) return;
    // Starting a new record's edit may put the field's control up anew.
    if (!WinBeginFieldEdit(n, 1)) return;
    if (uint32_t edit = EditControlOf(n)) WinSend(edit, msg, 0, 0);
}

// Cuts the selection of n's edit control when the field may be edited.
void EditCut(int n) { EditChange(n, PlMsg::Cut); }

// Pastes the clipboard's text into n's focused field as if typed, so the
// field's type filters it as it filters typing: up to the first Tab or
// line end, and without the control characters no field takes.
void EditPaste(int n)
{
    if (!EditControlOf(n)) return;
    std::string text;
    if (!ClipboardGetText(&text)) return;
    PString p;
    PStringFromView(p, text);
    WinInsertFieldText(n, p);
}

// Copies the edit selection; without an edit control, a list window puts
// the text of its marked records on the clipboard. Nothing marked leaves
// the clipboard as it was.
void EditCopy(int n)
{
    if (uint32_t edit = EditControlOf(n)) {
        WinSend(edit, PlMsg::Copy, 0, 0);
        return;
    }
    if (!WinIsOpen(n) || WinKindOf(n) != KindCode(WindowKind::List)) return;
    MemBlock text = 0;
    ListCopyMarkedAddresses(n, &text);
    const uint8_t *p = MemLock(text);
    if (p) {
        std::string s(reinterpret_cast<const char *>(p), MemSize(text));
        s.resize(s.find('\0') == std::string::npos ? s.size() : s.find('\0'));
        if (!s.empty()) ClipboardSetText(s);
        MemUnlock(text);
    }
    MemFree(&text);
}

// Undo: does nothing.
void EditUndo(int n) {}

// Replaces the edit selection by character c; a control character
// (backspace among them) is ignored, as no field takes one.
void InsertCharInField(int n, int c)
{
    uint32_t edit = WinIsOpen(n) ? WinTable[n]->editControl : 0;
    if (FieldCharIsControl(c) || !edit || !WinIsWindow(edit)) return;
    char one[2] = {char(c), 0};
    WinSend(edit, PlEm::ReplaceSel, 0, reinterpret_cast<intptr_t>(one));
}

// Selection of n's edit control; nothing without one.
void EditSelection(int n, int *start, int *end)
{
    uint32_t edit = WinIsOpen(n) ? WinTable[n]->editControl : 0;
    if (edit && WinIsWindow(edit)) EditGetSel(edit, start, end);
}

// Text length of n's edit control; nothing without one.
void FieldTextLength(int n, int *length)
{
    uint32_t edit = WinIsOpen(n) ? WinTable[n]->editControl : 0;
    if (edit && WinIsWindow(edit)) *length = int(WinSend(edit, PlEm::LineLength, 0, 0));
}

// n's list box when n is open and has a live one; else 0.
static uint32_t ListBoxOf(int n)
{
    uint32_t list = WinIsOpen(n) ? WinTable[n]->listBox : 0;
    return list && WinIsWindow(list) ? list : 0;
}

// Row i of n's list box as a PString; empty without it.
void ListBoxGetText(int n, int i, uint8_t *text)
{
    text[0] = 0;
    uint32_t list = ListBoxOf(n);
    if (list && i >= 0 && i < ListBoxCount(list)) CStringToPString(ListBoxText(list, i).c_str(), text);
}

// Selects the first row of n's list box and focuses it.
void FocusField(int n)
{
    uint32_t list = ListBoxOf(n);
    if (!list) return;
    ListBoxSetCurSel(list, 0);
    WinSetFocus(list);
}

// Range 1..max and position of a scroll bar, redrawn; -1 leaves either
// unchanged.
void SetScrollBar(int unused1, int unused2, uint32_t control, int max, int position)
{
    if (!control || !WinIsWindow(control)) return;
    if (max != -1) ScrollBarSetRange(control, 1, max, true);
    if (position != -1) ScrollBarSetPos(control, position, true);
}

// Enables or disables a control.
void EnableControl(uint32_t control, bool on)
{
    if (control) WinEnable(control, on);
}
