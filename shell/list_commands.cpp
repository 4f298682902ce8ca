// list_commands.cpp - the record commands of a list window: OK on the
// selected row, and open as a new copy.
#include "recordwin/record_windows.h"
#include "shell/field_editing.h"
#include "shell/list_windows.h"
#include "shell/record_commands.h"
#include "shell/window_table.h"

namespace {

constexpr int RelatedTypeWord = 1;

// The record window type n's list opens its records in; 0 none.
int RelatedType(int n) { return WinTypeWord(WinTypeOf(n), RelatedTypeWord); }

}  // namespace

// The OK of list window n (also a double click in its pane): with a row
// selected, the first marked record opens in a new window of the related
// type; without a selection the key typed into the list is looked up.
void CmdListOk(int n)
{
    if (!WinIsOpen(n)) return;
    if (!ListHasSelection(n)) {
        WinFindByTypedKey(n);
        return;
    }
    int32_t id = ListSelAnchor(n);
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
