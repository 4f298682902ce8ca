// settings_group_windows.cpp - the Forms and Series windows: one list a
// topic whose lines open the settings window of one block each.
//
// A group window names its members in its own layout, as operations
// entries: the entry's label is the line the list shows and its number
// the window type the line opens. So the same entries make the window's
// operations menu, and a new member is one line in the interface file.
// Line r of the list is the r-th entry that names a window the user may
// open; the filler and the opener walk the entries with that one test.
#include "recordwin/settings_group_windows.h"

#include "core/definitions.h"
#include "core/pstring.h"
#include "core/window_entries.h"
#include "platform/control.h"
#include "shell/login.h"
#include "shell/record_commands.h"
#include "shell/window_events.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {


// Operations entry i of type `type`; null past the last.
const uint8_t *OpAt(int type, int i)
{
    uint8_t *def = WinTypeDef(type);
    if (!def || i >= WinDefPartCount(def, WinPartMenuItems)) return nullptr;
    uint16_t size = 0;
    const uint8_t *e = WinDefPartEntry(def, WinPartMenuItems, i, &size);
    return e && size >= OpEntry::Label + 1 ? e : nullptr;
}

// True when entry e names a window a user may open from here.
bool Listed(const uint8_t *e)
{
    int type = DefU16(e + OpEntry::Number);
    return type > 0 && WinDefExists(type) && MayOpenWindowType(type);
}

// The operations entry of line `line` of a window of type `type`; null
// when the window lists no such line.
const uint8_t *EntryOfLine(int type, int line)
{
    for (int i = 0, seen = 0; const uint8_t *e = OpAt(type, i); i++) {
        if (!Listed(e)) continue;
        if (seen++ == line) return e;
    }
    return nullptr;
}

// Opens the window entry e names, with group window n as its opener.
bool OpenMember(int n, const uint8_t *e)
{
    if (!e) {
        Beep();
        return false;
    }
    return OpenOrActivateWindow(DefU16(e + OpEntry::Number), 65535, 0, false, n) != 0;
}

}  // namespace

int SettingsGroupMembers(int type, int *types, int max)
{
    int count = 0;
    for (int i = 0; const uint8_t *e = OpAt(type, i); i++)
        if (Listed(e) && count < max) types[count++] = DefU16(e + OpEntry::Number);
    return count;
}

void SettingsGroupFill(int n)
{
    if (!WinIsOpen(n) || WinListBox(n) == 0) return;
    ListBoxReset(n);
    for (int i = 0; const uint8_t *e = OpAt(WinTypeOf(n), i); i++)
        if (Listed(e)) ListBoxAddString(n, e + OpEntry::Label);
    if (ListBoxCount(WinListBox(n)) > 0) ListBoxSetCurSel(WinListBox(n), 0);
}

bool SettingsGroupOpen(int n, int line)
{
    if (!WinIsOpen(n)) return false;
    return OpenMember(n, line >= 0 ? EntryOfLine(WinTypeOf(n), line) : nullptr);
}

uint8_t SettingsGroupEvent(int window, int event, void *a, void *)
{
    switch (WindowEventCode(event)) {
    case WindowEventCode::LaidOut: SettingsGroupFill(window); return 1;
    case WindowEventCode::Ok: SettingsGroupOpen(window, WinListBox(window) ? ListSelectedIndex(window) : -1); return 0;
    case WindowEventCode::Button: {
        // The operations menu's items are 1 + the entry's index: the
        // entries themselves, not the lines, since the menu lists them all.
        int op = a ? *static_cast<const int *>(a) : 0;
        const uint8_t *e = op >= 1 ? OpAt(WinTypeOf(window), op - 1) : nullptr;
        OpenMember(window, e && Listed(e) ? e : nullptr);
        return 0;
    }
    default: return 1;
    }
}
