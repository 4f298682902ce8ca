// menu_state.cpp - menu and toolbar states for the active window.
//
// Items are enabled by position (EnableMenuCmd): item k of a menu at
// k - 1, in the File menu items above 5 at k - 2; top menus 2..6 (File,
// Edit, Record, the register and the module popup) by EnableTopMenu,
// which allows for a maximised child's system menu.
#include "shell/menus.h"

#include "core/definitions.h"
#include "core/memblock.h"
#include "platform/menu.h"
#include "recordwin/record_windows.h"
#include "shell/field_editing.h"
#include "shell/list_windows.h"
#include "shell/login.h"
#include "shell/matrix_editing.h"
#include "shell/procedures.h"
#include "shell/settings_menu.h"
#include "shell/shell.h"
#include "shell/window_events.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {


// What window n allows now, for the Edit, File and Record items.
struct WindowAbilities {
    bool editing = false;      // its edit control's field may be edited now
    bool hasEdit = false;      // it has an edit control
    bool printable = false;
    bool rowSelected = false;
    bool atEnd = false;        // its current matrix row is at or past the end
    bool insertable = false;   // a row may be inserted at its current row
    bool deletable = false;
    bool rowDeletable = false;  // Edit > Delete row has something to delete
    bool listable = false;
    bool addressText = false;
};

// Works out the abilities of open window n.
WindowAbilities AbilitiesOf(int n)
{
    WindowAbilities a;
    const WindowRec *w = WinTable[n];
    int type = WinTypeOf(n), kind = WinKindOf(n);
    a.hasEdit = w->editControl != 0;
    if (a.hasEdit) {
        // A record merely shown (state 0) is edited as if being changed.
        int state = w->editState == 0 ? 2 : w->editState;
        a.editing = WinMayEditField(n, w->currentField, state, w->editFieldAccess, 0);
    }
    // The preview, a report window, the report list, the job queue, and
    // every window whose type prints its document, its marked records or
    // its report: Ctrl+P prints exactly where File > Print is usable.
    a.printable = kind == 4 || kind == 6 || type == 6 || type == 9 || WinTypePrints(type);
    a.rowSelected = (WinHasMatrix(n) && MatrixHasSelection(n)) ||
                    (kind == 11 && MemIsValid(w->designerSelection) && MemSize(w->designerSelection) > 0);
    a.atEnd = WinHasMatrix(n) && MatrixAtEnd(n);
    // Edit > Insert row needs a row to insert at (one selected as a row or
    // the focused cell's), room for one more and a type that takes it.
    int column = -1, row = MatrixCurrentRowAt(n, &column);
    a.insertable = row >= 0 && MatrixRowMayInsertQuietly(n, row);
    // The report list (type 6) lists when its record's fifth word is 2.
    a.listable = type == 9 || (type == 6 && w->record && DefU16(w->record + 8) == 2);
    // Edit > Delete row deletes the list's or designer's selection, or in
    // a window with rows the row it works on where the type lets that row
    // go (or be crossed out); a header field has no row to delete.
    a.rowDeletable = WinHasMatrix(n) ? row >= 0 && MatrixRowMayDeleteQuietly(n, row)
                                     : a.editing || a.listable || a.rowSelected;
    // Record > Delete deletes the record shown, or the saved selection
    // the report list shows.
    a.deletable = ((kind == 3 || kind == 11) && w->editState != 1) || (type == 6 && a.listable);
    a.addressText = WinIsAddressList(n);
    return a;
}

// The popup at top-menu index k (2..6); 0 when the bar lacks it.
uint32_t TopMenu(int k)
{
    const uint32_t menus[] = {MenuHandles.file, MenuHandles.edit, MenuHandles.record, MenuHandles.registerPopup,
                              MenuHandles.modulePopup};
    return k >= 2 && k <= 6 ? menus[k - 2] : 0;
}

// Enables or greys top menu k when the bar has it. Without the module
// popup (compact variant) index 6 would reach the Window menu.
void EnableTopMenuIfPresent(int k, bool on)
{
    if (TopMenu(k)) EnableTopMenu(k, on);
}

// Enables or greys the bar's Settings popup, wherever it stands.
void EnableSettingsMenu(bool on)
{
    if (!SettingsMenuHandle || !MenuHandles.bar) return;
    for (int i = 0, count = MenuItemCount(MenuHandles.bar); i < count; i++)
        if (MenuSubMenu(MenuHandles.bar, i) == SettingsMenuHandle) MenuEnableByPosition(MenuHandles.bar, i, on);
}

// The File items that are usable whenever a company is open and someone
// logged in, and Exit (item 12), which is always.
constexpr int FileItemsAlways[] = {1, 2, 4, 8, 9, 10};
constexpr int FileExit = 12;

// The Window menu's items that close windows or store their places.
constexpr int WindowItemsOfWork[] = {CmdCloseAll, CmdPlacementSave, CmdPlacementDefault};

// While nobody is logged in to the open company (a server's own frame):
// of the File menu only Exit, of the Edit, Record and both popups nothing
// (FrameCommandAllowed holds the same back).
void MenuStateNobody()
{
    for (int k : {3, 4, 5, 6}) EnableTopMenuIfPresent(k, false);
    EnableTopMenuIfPresent(2, true);
    for (int item : FileItemsAlways) EnableMenuCmd(MenuHandles.file, item, false);
    for (int item : {5, 7}) EnableMenuCmd(MenuHandles.file, item, false);
    EnableMenuCmd(MenuHandles.file, FileExit, true);
}

}  // namespace

// Enables the menus for window n (0: none). A minimised window counts as
// none. A window type of menu kind 1 (the login window) leaves only the
// Edit menu usable; while nobody is logged in to the open company, File
// offers only Exit and the Window menu closes nothing.
void MenuStateUpdate(int n)
{
    if (!WinIsOpen(n) || IsWindowIconic(n)) n = 0;
    bool nobody = NobodyLoggedIn();
    for (int id : WindowItemsOfWork)
        if (MenuHandles.window) MenuEnableByCommand(MenuHandles.window, id, !nobody);
    bool editOnly = n && WinTypeMenuKind(WinTypeOf(n)) == MenuKindEditOnly;
    EnableSettingsMenu(!nobody && !editOnly);
    if (editOnly) {
        for (int k : {2, 4, 5, 6}) EnableTopMenuIfPresent(k, false);
        EnableTopMenuIfPresent(3, true);
        EnableMenuCmd(MenuHandles.edit, 10, false);
        EnableMenuCmd(MenuHandles.edit, 11, false);
        EnableMenuCmd(MenuHandles.edit, 12, true);
        return;
    }
    if (nobody) {
        MenuStateNobody();
        return;
    }
    EnableMenuCmd(MenuHandles.edit, 11, true);
    WindowAbilities a;
    if (n) {
        for (int k = 2; k <= 6; k++) EnableTopMenuIfPresent(k, true);
        EnableMenuCmd(MenuHandles.edit, 12, true);
        a = AbilitiesOf(n);
    }

    // Import opens the import list while a company is open; the compact
    // variant keeps it usable always (without a company it asks for a
    // file to import).
    EnableMenuCmd(MenuHandles.file, 5, CompactVariant || DbOpenFlag);
    EnableMenuCmd(MenuHandles.file, 7, a.printable);
    for (int item : FileItemsAlways) EnableMenuCmd(MenuHandles.file, item, true);
    EnableMenuCmd(MenuHandles.file, FileExit, true);

    uint32_t edit = MenuHandles.edit;
    EnableMenuCmd(edit, 1, a.editing);
    EnableMenuCmd(edit, 3, a.editing);
    EnableMenuCmd(edit, 4, a.hasEdit || a.addressText);
    EnableMenuCmd(edit, 5, a.editing);
    EnableMenuCmd(edit, 6, a.rowDeletable);
    EnableMenuCmd(edit, 7, a.insertable);
    EnableMenuCmd(edit, 8, a.hasEdit && a.atEnd);
    EnableMenuCmd(edit, 10, a.editing);
    EnableMenuCmd(edit, 12, !n || WinKindOf(n) != KindCode(WindowKind::Output));

    bool prev, next, open, nw, ok, cancel;
    int icon;
    RecordMoveState(n, &prev, &next, &icon);
    EditCommandsState(n, &open, &nw, &ok, &cancel);
    uint32_t record = MenuHandles.record;
    EnableMenuCmd(record, 1, next);
    EnableMenuCmd(record, 2, prev);
    EnableMenuCmd(record, 4, ok);
    EnableMenuCmd(record, 5, cancel);
    EnableMenuCmd(record, 6, nw);
    EnableMenuCmd(record, 7, open);
    EnableMenuCmd(record, 8, a.deletable);
}

// Window n became active: the menus follow it (the bar shows what they
// allow now), then its type is told (window event 0).
void WindowActivated(int n)
{
    MenuStateUpdate(n);
    RedrawMenuBar();
    if (WinIsOpen(n)) WindowEvent(n, WindowEventCode::Activated, nullptr, nullptr);
}

// Enables or disables every top menu 2..6 that exists, then redraws the
// menu bar.
void ToolbarEnable(bool on)
{
    for (int k = 2; k <= 6; k++) EnableTopMenuIfPresent(k, on);
    RedrawMenuBar();
}
