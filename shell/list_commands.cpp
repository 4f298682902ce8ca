// list_commands.cpp - the record commands of a list window: OK on the
// selected row, open as a new copy, and a list opened from a field to
// choose from: positioned on what the field holds, its OK typing the
// chosen code back, Esc going back without a choice.
#include "recordwin/record_windows.h"
#include "recordwin/inquiry_lists.h"

#include "core/window_entries.h"
#include "platform/control.h"
#include "shell/field_editing.h"
#include "shell/list_windows.h"
#include "shell/record_commands.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

#include <cstring>
#include <string>

namespace {


// The record window type n's list opens its records in; 0 none.
int RelatedType(int n) { return WinTypeRelated(WinTypeOf(n)); }

// The window list n was opened from to choose for; 0 when it was opened
// on its own (or its opener has closed since).
int ChooserOpener(int n)
{
    int kind = WinKindOf(n), opener = WinOpenerOf(n);
    return (kind == 1 || kind == 2) && opener != n && WinIsOpen(opener) ? opener : 0;
}

// Choice made in chooser list n: the selected record's code is typed
// into the opener's field (the list closes), and the opener moves on from
// that field, so what the code fills in (a customer's name, an item's
// price) follows at once: a field as Return moves on from it, a matrix
// cell to the next cell of its row (Return there may start another row).
void ListChooseForOpener(int n, int opener)
{
    ChoiceMadeFlag = 0;
    WindowChooseRecordEvent(n);
    if (!ChoiceMadeFlag || WinIsOpen(n) || !WinIsOpen(opener)) return;
    ActivateWindowNumber(opener);
    if (!WinIsOpen(opener) || !WinTable[opener]->editControl) return;
    bool cell = WinTable[opener]->editedBinding[FieldEntry::CellMark] != 0;
    MoveFieldFocus(opener, cell ? 2 : 7);
}

}  // namespace

// The OK of list window n (also a double click in its pane): with a row
// selected, the first marked record opens in a new window of the related
// type (in an inquiry list, the document the row came from), or, when n
// was opened from a field to choose from, its code goes back into that
// field; without a selection the key typed into the list is looked up.
void CmdListOk(int n)
{
    if (!WinIsOpen(n)) return;
    if (!ListHasSelection(n)) {
        WinFindByTypedKey(n);
        return;
    }
    if (int opener = ChooserOpener(n)) {
        ListChooseForOpener(n, opener);
        return;
    }
    int32_t id = ListSelAnchor(n);
    if (InquiryListOpenSource(n, id)) return;
    int related = RelatedType(n);
    if (id >= 0 && related != 0 && WinDefExists(related)) OpenOrActivateWindow(related, 0, uint32_t(id), true, 0);
}

// The open command of a list (kinds 1 and 2): the one selected row's
// record opens in a new window of the related type as a new copy, its
// first field focused. A choice list (kind 2) closes first and hands its
// opener to the new window. Nothing without exactly one selected row
// with a record, a related type, or when that type may not be opened.
void ListOpenAsNew(int n)
{
    if (!WinIsOpen(n)) return;
    int kind = WinKindOf(n);
    if (kind != 1 && kind != 2) return;
    int32_t id = -1;
    int related = RelatedType(n);
    if (!ListSingleSelection(n, &id) || id < 0 || related == 0 || !WinDefExists(related)) return;
    if (!WinTypeMayOpen(related)) return;
    int opener = 0;
    if (kind == 2) {
        opener = WinOpenerOf(n);
        WinClose(n);
    }
    int w = OpenOrActivateWindow(related, 0, uint32_t(id), true, opener);
    if (!w) return;
    WinCopyAsNew(w);
    if (WinRecState(w) == 1) WinGotoField(w, 1, true);
}

// Chooser list n has just opened for the field of `opener` under edit:
// the field's text is selected whole, so that a choice replaces it, and
// when it holds a text the list finds it in its key field and selects
// the first row at or after it (nothing selected past the end).
void ListChooserStart(int n, int opener)
{
    if (!WinIsOpen(n) || !WinIsOpen(opener) || !WinTable[opener]->editControl) return;
    uint32_t edit = WinTable[opener]->editControl;
    std::string typed = EditGetText(edit);
    EditSetSel(edit, 0, -1);
    if (typed.empty() || typed.size() > 255) return;
    int kind = WinKindOf(n);
    if ((kind != 1 && kind != 2) || !WinGotoField(n, 1, true) || !WinTable[n]->editControl) return;
    uint8_t text[256];
    text[0] = uint8_t(typed.size());
    memcpy(text + 1, typed.data(), typed.size());
    WinTypeText(n, text);
    (void)ListFindTypedKey(n);
}

// Esc in a chooser list n, or in a choice window opened for a field: it
// closes without a choice and its opener comes back with its field as it
// was. False when n is neither.
bool ListChooserCancel(int n)
{
    if (!WinIsOpen(n)) return false;
    int opener = ChooserOpener(n);
    // A choice window (a plain window with a list) opened for a field.
    int other = WinOpenerOf(n);
    if (!opener && WinKindOf(n) == KindCode(WindowKind::Plain) && WinListBox(n) && other != n && WinIsOpen(other) &&
        WinTable[other]->editControl)
        opener = other;
    if (!opener) return false;
    WinClose(n);
    if (WinIsOpen(opener)) ActivateWindowNumber(opener);
    return true;
}
