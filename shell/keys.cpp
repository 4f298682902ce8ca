// keys.cpp - the keys the shell takes before the controls, the key
// commands and the help file.
#include <cstring>

#include "core/company_variant.h"
#include "core/message_sink.h"
#include "core/pstring.h"
#include "core/window_entries.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "outputwin/designer.h"
#include "platform/control.h"
#include "platform/dialog.h"
#include "platform/mdi.h"
#include "platform/window.h"
#include "shell/edit_control.h"
#include "shell/field_editing.h"
#include "shell/list_windows.h"
#include "shell/login.h"
#include "shell/matrix_editing.h"
#include "shell/menus.h"
#include "shell/procedures.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/window_drawing.h"
#include "shell/window_layout.h"
#include "shell/window_mouse.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

constexpr int BackspaceChar = 8, ReturnChar = 13, EscChar = 27;

// The company's second variant word; 25 turns the Ctrl+Shift+letter
// shortcuts off. 0 while no company block is bound.
static uint16_t SecondVariantWord()
{
    if (!CompanyBlock) return 0;
    uint16_t v;
    memcpy(&v, CompanyBlock + CompanyBlk::SecondVariant, 2);
    return v;
}

// The shortcut character of a label: the upper-cased character at a
// 1-based position of the PString, 0 when the position is 0 or outside.
static int ShortcutAt(const uint8_t *label, int position)
{
    if (position <= 0 || position > label[0]) return 0;
    return UpperChar(label[position]);
}

// Reads the Shift and Ctrl keys into the shell's key state.
static void ReadShiftCtrl()
{
    ShiftDown = PlKeyState(PlKey::Shift) < 0;
    CtrlDown = PlKeyState(PlKey::Control) < 0;
}

// The field-focus move an arrow key asks of window n's edit control; 0
// when the caret can still move inside the text.
int EditArrowMode(int n, uint32_t key)
{
    uint32_t edit = WinTable[n]->editControl;
    // The notes' one field has lines of its own to move between.
    if (!edit || WinTypeOf(n) == WinTypes::Notes) return 0;
    int start, end;
    EditGetSel(edit, &start, &end);
    int length = int(WinSend(edit, PlMsg::GetTextLength, 0, 0));
    switch (key) {
    case PlKey::Left: return (end == 0 || (start == 0 && LastKeyDown == PlKey::Left)) ? 3 : 0;
    case PlKey::Right: return end >= length ? 2 : 0;
    case PlKey::Up: return 5;
    case PlKey::Down: return 6;
    default: return 0;
    }
}

// The key-down part of KeyPreTranslate for key k in the topmost window n.
static bool KeyDownCommand(int n, uint32_t k)
{
    if (ShiftDown && CtrlDown && SecondVariantWord() != uint16_t(CountryVariant::V25)) {
        if (n) KeyActionTable(n, UpperChar(uint8_t(k)));
        return true;
    }
    if (k == PlKey::PageUp || k == PlKey::PageDown) {
        if (!BusyFlag) (k == PlKey::PageUp ? PrevRecord : NextRecord)(n);
        return true;
    }
    int direction = 0;
    if (k == PlKey::Left || k == PlKey::Up) direction = -1;
    if (k == PlKey::Right || k == PlKey::Down) direction = 1;
    if (k == PlKey::Delete && n) {
        // A row selected as a row (its number clicked, Edit > Select row)
        // is what Delete removes; in a cell Delete is the edit control's,
        // the character after the caret or, with Shift, the selection cut.
        if (MatrixHasSelection(n)) {
            if (!BusyFlag) WindowDeleteCommand(n);
            return true;
        }
        if (!WinTable[n]->editControl) return false;
        return !WinBeginFieldEdit(n, 1);
    }
    if (k == PlKey::Insert && ShiftDown && !CtrlDown && n && WinTable[n]->editControl) {
        // Shift+Insert pastes as Edit > Paste does, through the field's
        // filter, rather than the clipboard going into the control as it is.
        if (!BusyFlag) EditPaste(n);
        return true;
    }
    if (CtrlDown && k >= '0' && k <= '9') return MenuKeyRun(n, int(k));
    if (k == PlKey::F1) {
        HelpOpen();
        return true;
    }
    if (!direction || !n) return false;
    int kind = WinKindOf(n);
    // A form designer moves its selected items, unless a field is edited.
    if (kind == 11 && !WinTable[n]->editControl) {
        if (!BusyFlag) (void)DesignerArrowKey(n, int(k));
        return true;
    }
    if ((kind == 1 || kind == 2) && WinTable[n]->selCurrent >= 1) {
        if (!BusyFlag) ListMoveSelection(n, direction, ShiftDown);
        return true;
    }
    int mode = EditArrowMode(n, k);
    if (!mode) return false;
    if (BusyFlag) return true;
    return MoveFieldFocus(n, mode);
}

// Takes a key message before its control does: record stepping, module
// entries, help, list and field moves, window shortcuts and typed
// characters of record windows. True when taken (not to be dispatched).
bool KeyPreTranslate(const PlMessage &m)
{
    if (m.msg == PlMsg::Char) {
        ReadShiftCtrl();
        return KeyCharCommand(int(m.wParam & 0xFF));
    }
    if (m.msg != PlMsg::KeyDown) return false;
    ReadShiftCtrl();
    int n = WindowNumberOf(MdiClientWindow ? MdiGetActive(MdiClientWindow, nullptr) : 0);
    uint32_t k = uint32_t(m.wParam);
    bool taken = KeyDownCommand(n, k);
    LastKeyDown = uint16_t(k);
    return taken;
}

// Runs the shell's command for character c in CurrentWindow: control
// characters go to the window's key commands, others start editing the
// focused field and are typed into it (with a row selected as a row and
// no field under edit, they are refused with a beep). Esc cancels the
// login window; any other control character no command takes is dropped
// - it neither enters the field nor starts an edit - except Backspace,
// which the field's control deletes with once the edit has started, and
// Return in the notes window, which is typed there as a new line. True
// when taken.
bool KeyCharCommand(int c)
{
    int w = CurrentWindow;
    bool open = WinIsOpen(w);
    if (open && (WinTypeOf(w) == 18 || WinTypeOf(w) == 19) && (c == 3 || c == 13)) return false;
    const bool notesLine = c == ReturnChar && open && WinTypeOf(w) == WinTypes::Notes;
    if (c >= 1 && c <= 31 && !notesLine) {
        if (c == 9 && (CompanyVariantIs(CountryVariant::V7) || CompanyVariantIs(CountryVariant::V15)) && !ShiftDown) c = 3;
        if (WindowKeyCommand(w, c, ShiftDown)) return true;
    }
    if (!open) return false;
    if (c == EscChar && WinTypeOf(w) == WinTypes::Login) {
        if (!BusyFlag) LoginWindowDone(true);
        return true;
    }
    if (c == EscChar && !BusyFlag && ListChooserCancel(w)) return true;
    if (c != BackspaceChar && !notesLine && FieldCharIsControl(c)) return WinTable[w]->editControl != 0;
    // A row selected as a row takes no text: the character would otherwise
    // go to the window's first field, over what that holds.
    if (!WinTable[w]->editControl && MatrixHasSelection(w)) {
        MessageSinkBeep();
        return true;
    }
    if (!WinTable[w]->editControl && !BusyFlag) MoveFieldFocus(w, 1);
    if (!WinIsOpen(w) || !WinTable[w]->editControl) return false;
    if (BusyFlag) return true;
    // Report 2: a typed character, which the window type may refuse aloud.
    if (WinBeginFieldEdit(w, 2)) {
        if (c == BackspaceChar) return false;
        WinTypeChar(w, c);
    }
    return true;
}

// Runs the Ctrl+Shift shortcut c of window n: the first control whose
// label has c as its shortcut works - a push button runs when its type
// agrees, a check box or radio button takes its value, a tab shows its
// page (a page tab with the focus moved into it); a button or box its
// window disabled is passed over, as a press passes over it - else the
// first shown list column whose heading has it becomes the current column.
void KeyActionTable(int n, int c)
{
    if (!WinIsOpen(n)) return;
    for (int i = 0; i < ControlSlotCount; i++) {
        const uint8_t *entry = WinControlByIndex(n, i);
        if (!entry) break;
        if (ShortcutAt(entry + ControlEntry::Label, DefU16(entry + ControlEntry::Shortcut)) != c) continue;
        int kind = DefU16(entry + ControlEntry::Kind);
        if ((kind == CtlPush || kind == CtlCheck || kind == CtlRadio) && !WinTable[n]->controls[i].enabled) continue;
        switch (kind) {
        case CtlPush:
            if (WindowFieldChanged(n, i)) DialogButton(n, i, DefU16(entry + ControlEntry::Command), 0);
            break;
        case CtlCheck:
        case CtlRadio: (void)WinControlChoose(n, i, true); break;
        case CtlPageTab: WinPageSwitchFocus(n, DefU16(entry + ControlEntry::Command)); break;
        case CtlMatrixTab: MatrixTabChoose(n, DefU16(entry + ControlEntry::Value)); break;
        default: break;
        }
        return;
    }
    for (int i = 0;; i++) {
        const uint8_t *column = WinFieldDef(n, i);
        if (!column) return;
        if (DefU16(column + ListColEntry::Shown) != 1) continue;
        if (ShortcutAt(column + ListColEntry::Label, column[ListColEntry::Shortcut]) == c) {
            SetWindowStateWord(n, i);
            return;
        }
    }
}

// Opens the help file at its contents, with no owner window. The
// platform has no help viewer: it tells the user so itself, and there is
// nothing more to do about it here.
void HelpOpen() { (void)DlgHelp(0, CompactVariant ? "ZEPLORA.HLP" : "ORVEL.HLP", 3); }
