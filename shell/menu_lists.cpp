// menu_lists.cpp - filling the menu-list windows with the entries of the
// current module that the user may use, finding the entry of a row, and
// enabling their buttons by group.
//
// The filler and the runners walk the same entries with the same tests
// (ListedRows), so row r of a list always names the entry that was shown
// as row r, however many refused entries stand before it in the table.
#include "shell/menu_lists.h"

#include <cassert>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/list_slot.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "database/access/settings_blocks.h"
#include "platform/queue.h"
#include "platform/control.h"
#include "platform/window.h"
#include "shell/login.h"
#include "shell/shell.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

// One row of a menu list: the table entry it stands for (its index in
// its slot) and the text the row shows, a text number or, for a saved
// report selection, the selection's name.
struct ListedRow {
    int index;
    const uint8_t *entry;
    int text;
    const uint8_t *name;   // PString, or null
};

// Word `offset` of n's record; 0 when the record does not reach it.
int ListWord(int n, uint32_t offset)
{
    const uint8_t *record = WinRecordBuffer(n);
    if (!record || offset + 2 > MemSize(WinTable[n]->recordHandle)) return 0;
    return GetU16(record, offset);
}

// True when the type-4 and type-5 rights ask for, and allow, entry `number`.
bool RightsAllow(int n, int number, bool type4, bool type5)
{
    return (!type4 || MayUseType4(n, number)) && (!type5 || MayUseType5(n, number));
}

// Calls visit(row) for each listed entry of a five-word table in table
// order: its module matches and the rights allow its number. Stops
// early when visit gives false; false then.
template <typename Visit>
bool EachTableRow(int n, ListSlot slot, bool type4, bool type5, Visit visit)
{
    for (int i = 0, count = ListTableCount(slot); i < count; i++) {
        const uint8_t *e = ListTableEntry(slot, i);
        if (!ModuleMatches(DefU16(e + MenuTableEntry::Module))) continue;
        if (!RightsAllow(n, DefU16(e + MenuTableEntry::Number), type4, type5)) continue;
        if (!visit(ListedRow{i, e, DefU16(e + MenuTableEntry::Text), nullptr})) return false;
    }
    return true;
}

// The first entry of the saved-report map for report `number`; -1 none.
int SavedReportMapIndex(int number)
{
    for (int i = 0, count = ListTableCount(ListSlot::SavedReports); i < count; i++)
        if (DefU16(ListTableEntry(ListSlot::SavedReports, i) + MenuTableEntry::Number) == number) return i;
    return -1;
}

// The saved report selections (block 163) in stored order, each as
// the entry of the saved-report map for its report number. A row whose
// report the map lacks, or whose entry the module or the user's rights
// would not list, is left out: it could not run, and the user may not
// reach by a saved row a report the report list hides.
template <typename Visit>
void EachSavedRow(int n, Visit visit)
{
    if (ReportListBlock) SettingsBlockLoad(ReportListBlock);
    MemBlock rows = ReportListRows;
    if (!MemIsValid(rows)) return;
    constexpr uint32_t RowSize = ReportSelectionBlk::Rows::Size;
    uint32_t count = MemSize(rows) / RowSize;
    const uint8_t *p = MemLock(rows);
    if (!p) return;
    for (uint32_t r = 0; r < count; r++) {
        const uint8_t *row = p + r * RowSize;
        int i = SavedReportMapIndex(GetU16(row, ReportSelectionBlk::Rows::ReportNr));
        if (i < 0) continue;
        const uint8_t *e = ListTableEntry(ListSlot::SavedReports, i);
        if (!ModuleMatches(DefU16(e + MenuTableEntry::Module))) continue;
        if (!RightsAllow(n, DefU16(e + MenuTableEntry::Number), true, false)) continue;
        if (!visit(ListedRow{i, e, 0, row + ReportSelectionBlk::Rows::Name})) break;
    }
    MemUnlock(rows);
}

// Calls visit(row) for each row window n lists, in the order it lists
// them, until visit gives false. The module list offers every module the
// user may use, whatever the current one: it is where the user goes to
// another module, and the module menu counts its entries the same way.
template <typename Visit>
void ListedRows(int n, Visit visit)
{
    switch (WinTypeOf(n)) {
    case WinTypes::ReportList:
        if (ListWord(n, MenuListRecord::ListKind) == ListCode(ReportListKind::Saved))
            EachSavedRow(n, visit);
        else
            EachTableRow(n, ListSlot::Reports, true, false, visit);
        return;
    case WinTypes::FunctionList:
    case WinTypes::ImportList:
        switch (ListWord(n, MenuListRecord::Action)) {
        case ListCode(FunctionListKind::Exports): EachTableRow(n, ListSlot::Exports, true, false, visit); return;
        case ListCode(FunctionListKind::Imports): EachTableRow(n, ListSlot::Imports, true, true, visit); return;
        case ListCode(FunctionListKind::Maintenance):
            EachTableRow(n, ListSlot::Maintenance, false, true, visit);
            return;
        default: return;
        }
    case WinTypes::DocumentList: EachTableRow(n, ListSlot::Documents, false, true, visit); return;
    case WinTypes::WindowList:
        for (int i = 0, count = ListTableCount(ListSlot::Windows); i < count; i++) {
            const uint8_t *e = ListTableEntry(ListSlot::Windows, i);
            if (!ModuleMatches(DefU16(e + WindowListEntry::Module)) || !MayOpenWindowType(DefU16(e + WindowListEntry::WinType))) continue;
            if (!visit(ListedRow{i, e, DefU16(e + WindowListEntry::Text), nullptr})) return;
        }
        return;
    case WinTypes::ModuleList:
        for (int i = 0, count = ListTableCount(ListSlot::ModuleMenu); i < count; i++) {
            const uint8_t *e = ListTableEntry(ListSlot::ModuleMenu, i);
            if (!MayUseModule(DefU16(e + ModuleMenuEntry::Module))) continue;
            if (!visit(ListedRow{i, e, DefU16(e + ModuleMenuEntry::Text), nullptr})) return;
        }
        return;
    default: return;
    }
}

// The text row r shows, without the menus' "&" marks.
void RowText(const ListedRow &r, uint8_t *text)
{
    PString raw;
    if (r.name)
        PStringCopy(raw, r.name);
    else
        GetUiText(raw, r.text);
    int k = 0;
    for (int i = 1; i <= raw[0]; i++)
        if (raw[i] != '&') text[++k] = raw[i];
    text[0] = uint8_t(k);
}

}  // namespace

// Fills n's list box with the rows n lists, in table order: drawing is
// suspended meanwhile, the first row is selected and, in the current
// window, the list takes the focus. A window without a list box is left
// alone.
void MenuListFill(int n)
{
    if (!WinIsOpen(n)) return;
    uint32_t list = WinListBox(n);
    if (!list) return;
    WinSend(list, PlMsg::SetRedraw, 0, 0);
    ListBoxReset(n);
    ListedRows(n, [n](const ListedRow &r) {
        PString text;
        RowText(r, text);
        ListBoxAddString(n, text);
        return true;
    });
    // A list refilled behind another window (a module switch) keeps
    // its first row selected but leaves the focus where the user is.
    if (CurrentWindow == n)
        FocusField(n);
    else
        ListBoxSetCurSel(list, 0);
    WinSend(list, PlMsg::SetRedraw, 1, 0);
}

// The table index of the entry that row `row` of n stands for, counted
// as MenuListFill lists them; the entry in *entry (when asked). -1 and
// null when n lists no such row.
int MenuListEntryOfRow(int n, int row, const uint8_t **entry)
{
    if (entry) *entry = nullptr;
    if (!WinIsOpen(n) || row < 0) return -1;
    int k = 0, found = -1;
    ListedRows(n, [&](const ListedRow &r) {
        if (k++ < row) return true;
        found = r.index;
        if (entry) *entry = r.entry;
        return false;
    });
    return found;
}

// Enables or disables every control on a shown page of n whose group
// word is `group` and whose button word is `button`; a disabled control
// takes no press. n is repainted when one changed.
void WinButtonsEnable(int n, int group, int button, bool on)
{
    if (!WinIsOpen(n)) return;
    for (int i = 0; i < ControlSlotCount; i++) {
        const uint8_t *e = WinControlByIndex(n, i);
        if (!e) break;
        if (DefU16(e + ControlEntry::Group) != group || DefU16(e + ControlEntry::Button) != button) continue;
        if (!WinPageShown(n, DefU16(e + ControlEntry::Page))) continue;
        ControlSlot &slot = WinTable[n]->controls[i];
        uint8_t flag = on ? 1 : 0;
        if (slot.drawn == flag && slot.enabled == flag) continue;
        slot.drawn = slot.enabled = flag;
        WinTable[n]->changed = 1;
        RedrawPendingFlag = 1;
    }
}
