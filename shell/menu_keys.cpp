// menu_keys.cpp - the Ctrl keys of the menus: which menu command a
// Ctrl+letter or Ctrl+digit runs, and running it.
//
// A menu item shows "Ctrl+X" only when Ctrl+X runs that item, so the keys
// are looked up here and nowhere else: the fixed keys of the File, Edit
// and Record menus first, the digits of the register popup, then the
// keys of the active window's operations menu. A letter the fixed keys
// own (Ctrl+N is always Record > New) is never an operation's, and
// Ctrl+H, Ctrl+I and Ctrl+M are Backspace, Tab and Return to a field, so
// they belong to no menu at all. The menu-key check of the road tests
// holds every window type's menus to this.
#include "shell/menus.h"

#include "core/window_entries.h"
#include "core/work_blocks.h"
#include "shell/frame_commands.h"
#include "shell/frame_gate.h"
#include "shell/list_windows.h"
#include "shell/login.h"
#include "shell/shell.h"
#include "shell/window_events.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

namespace C = FrameCmd;

struct FixedKey {
    char key;
    int command;   // the frame command's id
};

// The keys that run the same menu item in every window.
constexpr FixedKey FixedKeys[] = {
    {'U', C::FileMaintenance}, {'P', C::FilePrint}, {'R', C::FileReports}, {'D', C::FileDocuments},
    {'Z', C::EditUndo}, {'X', C::EditCut}, {'C', C::EditCopy}, {'V', C::EditPaste}, {'J', C::EditChoose},
    {'N', C::RecordNew}, {'K', C::RecordCopyAsNew},
};
// Letters whose control characters a field takes as keys of its own.
constexpr char FieldKeys[] = {'H', 'I', 'M'};

char Upper(int c) { return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : char(c); }

// The id of the operations item of n's type whose key is letter c; 0 none.
int OpsKeyCommand(int n, char c)
{
    uint8_t *def = WinIsOpen(n) ? WinTypeDef(WinTypeOf(n)) : nullptr;
    for (int i = 0; def && i < WinDefPartCount(def, WinPartMenuItems); i++) {
        uint16_t size = 0;
        const uint8_t *entry = WinDefPartEntry(def, WinPartMenuItems, i, &size);
        if (entry && size > OpEntry::Key + 1 && Upper(DefU16(entry + OpEntry::Key)) == c) return C::Operations + i + 1;
    }
    return 0;
}

// True when n's New command (and with it Copy as new) is enabled now.
bool NewEnabled(int n)
{
    bool open, nw, ok, cancel;
    EditCommandsState(n, &open, &nw, &ok, &cancel);
    return nw;
}

}  // namespace

// The frame command id that Ctrl+c runs while window n is active (0:
// none active): a fixed File, Edit or Record key, a digit's register
// popup entry (Ctrl+0 the module list), else n's operations item of
// that key. 0 when the key runs no menu command.
int MenuKeyCommand(int n, int c)
{
    char key = Upper(c);
    if (key >= '1' && key <= '9') return C::RegisterEntries + (key - '0');
    if (key == '0') return C::RegisterModuleList;
    for (const FixedKey &f : FixedKeys)
        if (f.key == key) return f.command;
    for (char f : FieldKeys)
        if (f == key) return 0;
    if (key < 'A' || key > 'Z') return 0;
    return OpsKeyCommand(n, key);
}

// Runs what Ctrl+c does in window n, as its menu item would; New and
// Copy as new only while enabled (their items are greyed otherwise), and
// nothing the frame holds back before a login (FrameCommandAllowed).
// False when the key runs no menu command.
bool MenuKeyRun(int n, int c)
{
    int id = MenuKeyCommand(n, c);
    if (id == 0) return false;
    if (BusyFlag || !FrameCommandAllowed(id, n)) return true;
    if ((id == C::RecordNew || id == C::RecordCopyAsNew) && !NewEnabled(n)) return true;
    FrameCommandRun(id, n);
    return true;
}
