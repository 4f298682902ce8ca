// field_editing.cpp - the field under edit: marking a window for
// repainting, committing and focusing a field, whether a field may be
// edited, and the type's say on control changes.
#include <cassert>
#include <cstring>

#include "core/date.h"
#include "core/field_types.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "platform/control.h"
#include "platform/window.h"
#include "recordwin/record_windows.h"
#include "shell/draw_port.h"
#include "shell/edit_control.h"
#include "shell/field_editing.h"
#include "shell/list_windows.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/window_drawing.h"
#include "shell/window_events.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

constexpr int TextFieldKeepsValue = 16510;

// True when `text`, typed into a field of `type`, is a date the user must
// type again: a date field's text that reads as a date only once a part
// is clamped (see DateParseTyped). Blanks empty the field and pass.
bool TypedDateRefused(uint16_t type, const uint8_t *text)
{
    if (type != FtDate) return false;
    bool blank = true;
    for (int i = 1; i <= text[0] && blank; i++) blank = text[i] == ' ';
    DateTimeRec read{};
    return !blank && !DateParseTyped(text, &read);
}

// Takes the edit text of n into its edited block by the field's type and
// answers whether the field's value changed; a text the type refuses is
// told and changes nothing. A field that does not lie
// wholly inside the block takes nothing: writing it would reach past the
// block.
bool CommitIntoBlock(int n)
{
    WindowRec *w = WinTable[n];
    uint16_t type = w->editFieldType, length = w->editFieldLength;
    uint32_t size = uint32_t(FieldSize(type, length));
    uint8_t *block = MemLock(w->editedRecord);
    if (!block) return false;
    uint32_t blockSize = MemSize(w->editedRecord);
    bool changed = false, accepted = true, dateRefused = false;
    // A lookup field has no size of its own: the window's type reads its
    // text and knows what it writes.
    const bool lookup = type == FtSpare28;
    if (w->editFieldOffset != NoOffset && (size > 0 || lookup) && w->editFieldOffset <= blockSize &&
        size <= blockSize - w->editFieldOffset) {
        uint8_t *value = block + w->editFieldOffset;
        if (lookup) {
            // A text typed that the window's type cannot read (a name no
            // list entry has) is refused like a choice field's; a text
            // left as it opened is no input and tells nothing.
            changed = !PStringEqual(w->editText, w->editOpenText);
            accepted = WinFieldFromTextByType(n, block, w->currentField, w->editText) || !changed;
        } else if (TypedDateRefused(type, w->editText)) {
            dateRefused = true;
        } else {
            // A hidden text (type 25) is read from its password control
            // like any text, so caret moves and deletions count too.
            memcpy(w->oldValue.data(), value, size <= w->oldValue.size() ? size : w->oldValue.size());
            changed = FieldSetFromTextChanged(value, type, length, w->editText, &accepted);
        }
    }
    MemUnlock(w->editedRecord);
    // A text the field cannot take (a name no choice has, a date that is
    // none) leaves the value as it was; the user hears of it rather than
    // finding the old value back without a word.
    if (dateRefused) TellTypedDateRefused(w->editText);
    else if (!accepted) ShowMessage(TextFieldKeepsValue, w->editText);
    return changed;
}

// Draws the field just committed again in its rectangle, when its page is shown.
void RedrawCommitted(int n)
{
    WindowRec *w = WinTable[n];
    if (!WinPageShown(n, w->editFieldPage)) return;
    uint8_t *block = MemLock(w->editedRecord);
    if (!block) return;
    uint32_t size = uint32_t(FieldSize(w->editFieldType, w->editFieldLength));
    uint32_t blockSize = MemSize(w->editedRecord);
    if (w->editFieldOffset != NoOffset && w->editFieldOffset <= blockSize && size <= blockSize - w->editFieldOffset) {
        MacRect r;
        WinBindingRect(n, w->editedBinding.data(), &r);
        int saved;
        GetPortWindow(&saved);
        SetPortWindow(n);
        bool right = w->editedBinding[FieldEntry::Align] != 0;
        WinDrawFieldValue(n, block + w->editFieldOffset, w->editFieldType, w->editFieldLength, w->currentField, &r,
                          right, false, false);
        RestorePortWindow(saved);
    }
    MemUnlock(w->editedRecord);
}

}  // namespace

// Tells the user that `text` is no date as typed, and how dates are typed.
void TellTypedDateRefused(const uint8_t *text)
{
    PString extra, form;
    PStringCopy(extra, text);
    DateTypedFormText(form);
    PStringAppend(extra, form);
    ShowMessage(Texts::DateNotRead, extra);
}

// Marks window n for repainting by the main loop.
void WinMarkChanged(int n)
{
    assert(WinIsOpen(n));
    WinTable[n]->changed = 1;
    RedrawPendingFlag = 1;
}

// Takes the edit control's text into the record: the text is parsed by
// the field's type into the edited block, the control goes away, the
// window's type hears of it (event 6 with the field number and whether
// the value changed), a new record's number follows a changed date, and
// the value is drawn again. Nothing for the notes
// window or when no field is edited.
void WinCommitField(int n)
{
    if (!WinIsOpen(n) || WinTypeOf(n) == WinTypes::Notes) return;
    WindowRec *w = WinTable[n];
    if (!w->editControl) return;
    EditTextGet(n, w->editText);
    uint8_t changed = CommitIntoBlock(n) ? 1 : 0;
    EditControlDestroy(n);
    int16_t field = w->currentField;
    (void)WindowEvent(n, WindowEventCode::FieldChanged, &field, &changed);
    if (changed) NewRecordNumberFollowsDate(n, field);
    if (!WinIsOpen(n)) return;
    RedrawCommitted(n);
    w->editFieldOffset = NoOffset;
    w->editedRecord = 0;
}

// True (the user told, the text selected for typing again) when the
// field under edit in n holds a typed date that the field refuses, or a
// period text with a half that is none (the whole text refused): the
// focus then stays in it, and nothing that would commit the field (a
// move, a store, a report run) goes on. False when there is nothing to
// refuse.
bool WinTypedTextRefused(int n)
{
    if (!WinIsOpen(n)) return false;
    WindowRec *w = WinTable[n];
    if (!w->editControl || WinTypeOf(n) == WinTypes::Notes) return false;
    EditTextGet(n, w->editText);
    PString refused;
    if (TypedDateRefused(w->editFieldType, w->editText))
        PStringCopy(refused, w->editText);
    else if (!WinFieldIsPeriodText(n, w->currentField) || !PeriodTextRefused(w->editText, refused))
        return false;
    TellTypedDateRefused(refused);
    if (WinIsOpen(n) && w->editControl) {
        int length = int(WinSend(w->editControl, PlEm::LineLength, 0, 0));
        EditSetSel(w->editControl, 0, length);
    }
    return true;
}

// Focuses screen field F of n: the field under edit is committed first
// (unless F is that field already), a list window's marks and a matrix
// row's selection are dropped, and the field gets the edit control. With
// `select` unset the caret goes to the end of the text instead of
// selecting it. False when F cannot take the focus.
bool WinGotoField(int n, int F, bool select)
{
    if (!WinIsOpen(n)) return false;
    WindowRec *w = WinTable[n];
    if (w->editControl && F == w->currentField) return true;
    if (WinTypedTextRefused(n)) return false;
    WinCommitField(n);
    if (!WinIsOpen(n)) return false;
    int kind = WinKindOf(n);
    if (kind == 1 || kind == 2) {
        // The whole selection goes, not only its marks: a find typed into
        // the field runs on OK only while no row is selected.
        ListUnmarkAll(n, 0);
        WinSetRecState(n, 5);
    } else if (kind == 11 && MemIsValid(w->designerSelection)) {
        (void)MemRealloc(&w->designerSelection, 0);
    }
    // A row selected as a row is let go (its band drawn back), and so is
    // the current row until the field focused names its own.
    if (MatrixHasSelection(n)) MatrixSelectBand(n, 0, -1, -1);
    if (WinHasMatrix(n) && WinSelectedRow(n) >= 0) WinSelectRow(n, -1, false);
    bool focused = WinFocusField(n, F);
    if (focused && !select && WinIsOpen(n) && w->editControl) {
        int length = int(WinSend(w->editControl, PlEm::LineLength, 0, 0));
        EditSetSel(w->editControl, length, length);
    }
    StateRefreshFlag = 1;
    return focused;
}

// True when screen field F of n, of access word `access`, may be edited
// in edit state `state`: a new record (1) takes fields of access 2 and 3,
// a changed record (2) only access 3 (a key field tells the user so when
// `report` is set), a list's find text (5) every field; then the window
// type's rules decide. The notes window takes everything.
bool WinMayEditField(int n, int F, int state, int access, int report)
{
    if (!WinIsOpen(n)) return false;
    if (WinTypeOf(n) == WinTypes::Notes) return true;
    bool allowed = false;
    switch (state) {
    case 1: allowed = access == AccessNewOnly || access == AccessAlways; break;
    case 2:
        allowed = access == AccessAlways;
        if (access == AccessNewOnly && report == 1) ShowTextMessage(Texts::NewRecordOnly);
        break;
    case 5: allowed = true; break;
    default: break;
    }
    return allowed && WinFieldEditRules(n, F, state, access, report) != 0;
}

// Starts the edit of n for a key or command that changes its focused
// field, and tells whether the field may now be changed (the refusal told
// as `report` says, see WinMayEditField). A refused key changes nothing:
// when it was this key that started the edit of a stored record (the
// type's rules read the record as the lock read it), the lock is given
// back and the record is shown as stored again, its title and bars as
// they were, so that closing the window has no changes to ask about.
bool WinBeginFieldEdit(int n, int report)
{
    if (!WinIsOpen(n)) return false;
    const WindowRec *w = WinTable[n];
    const bool shown = WinRecState(n) == 0;
    if (shown) WinBeginEdit(n);
    if (!WinIsOpen(n) || WinRecState(n) == 0) return false;
    if (WinMayEditField(n, w->currentField, WinRecState(n), w->editFieldAccess, report)) return true;
    if (shown) WinGiveBackEdit(n);
    return false;
}

// Asks n's type whether control `index` may change (event 1); true when
// it may. In a window with pages the controls below the page count are
// its page buttons, which may always be worked.
bool WindowFieldChanged(int n, int index)
{
    if (!WinIsOpen(n)) return false;
    int pages = WinDefCount(n, WinPartPages);
    if (pages > 0 && index < pages) return true;
    int16_t control = int16_t(index);
    return WindowEvent(n, WindowEventCode::MayEditField, &control, nullptr) != 0;
}
