// menu_state.cpp - menu and toolbar states for the active window.
//
// Each item is named by its command in the frame's table
// (frame_commands.h). File, Edit and Record items are enabled by
// position (EnableMenuCmd): item k of a menu at
// k - 1, in the File menu items above 5 at k - 2; top menus 2..6 (File,
// Edit, Record, the register and the module popup) by EnableTopMenu,
// which allows for a maximised child's system menu.
#include "shell/menus.h"

#include <iterator>

#include "core/definitions.h"
#include "core/memblock.h"
#include "platform/menu.h"
#include "recordwin/record_windows.h"
#include "shell/field_editing.h"
#include "shell/frame_commands.h"
#include "shell/frame_gate.h"
#include "shell/list_windows.h"
#include "shell/matrix_editing.h"
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

namespace C = FrameCmd;

// The popup of a menu place with items of its own; 0 for the others.
uint32_t PlaceMenu(FrameMenu m)
{
    switch (m) {
    case FrameMenu::File: return MenuHandles.file;
    case FrameMenu::Edit: return MenuHandles.edit;
    case FrameMenu::Record: return MenuHandles.record;
    case FrameMenu::Window: return MenuHandles.window;
    case FrameMenu::Help: return MenuHandles.help;
    default: return 0;
    }
}

// Enables or greys the item of command id, where its row places it: a
// File, Edit or Record item by its item number (at its position), a
// Window or Help item by its id.
void EnableCommand(int id, bool on)
{
    const FrameCommandRec *c = FrameCommandOf(id);
    uint32_t menu = c ? PlaceMenu(c->menu) : 0;
    if (!menu) return;
    if (int item = FrameMenuItem(*c, id)) EnableMenuCmd(menu, item, on);
    else MenuEnableByCommand(menu, id, on);
}

// The top menus 2..6 by their places.
constexpr FrameMenu TopMenus[] = {FrameMenu::File, FrameMenu::Edit, FrameMenu::Record, FrameMenu::Registers,
                                  FrameMenu::Modules};

// While the frame waits (for a login, or at a server's own frame) an item
// is usable exactly when the gate lets its command through for window n,
// and a top menu when one of its commands is.
void MenuStateWaiting(int n)
{
    bool topOn[std::size(TopMenus)] = {}, settingsOn = false;
    for (const FrameCommandRec &c : FrameCommands()) {
        bool on = FrameCommandAllowed(c.first, n);
        if (c.first == c.last) EnableCommand(c.first, on);
        for (size_t k = 0; k < std::size(TopMenus); k++) topOn[k] = topOn[k] || (on && c.menu == TopMenus[k]);
        settingsOn = settingsOn || (on && c.menu == FrameMenu::Settings);
    }
    for (size_t k = 0; k < std::size(TopMenus); k++) EnableTopMenuIfPresent(int(k) + 2, topOn[k]);
    EnableSettingsMenu(settingsOn);
}

}  // namespace

// Enables the menus for window n (0: none). A minimised window counts as
// none. While the frame waits for a login (the login window, of menu
// kind 1, greys File, Record and both popups) or serves as a server's
// own frame, the gate's answers grey the menus; otherwise what window n
// allows now does.
void MenuStateUpdate(int n)
{
    if (!WinIsOpen(n) || IsWindowIconic(n)) n = 0;
    if (FrameWaitOf(n) != FrameWait::None) {
        MenuStateWaiting(n);
        return;
    }
    EnableSettingsMenu(true);
    WindowAbilities a;
    if (n) {
        for (int k = 2; k <= 6; k++) EnableTopMenuIfPresent(k, true);
        a = AbilitiesOf(n);
    }
    // Every item is usable but those n's state decides: Import opens the
    // import list while a company is open (the compact variant keeps it
    // usable always: without a company it asks for a file to import),
    // Print prints what n shows, and the Edit and Record items as n allows.
    for (const FrameCommandRec &c : FrameCommands())
        if (c.first == c.last) EnableCommand(c.first, true);
    EnableCommand(C::FileImport, CompactVariant || DbOpenFlag);
    EnableCommand(C::FilePrint, a.printable);

    EnableCommand(C::EditUndo, a.editing);
    EnableCommand(C::EditCut, a.editing);
    EnableCommand(C::EditCopy, a.hasEdit || a.addressText);
    EnableCommand(C::EditPaste, a.editing);
    EnableCommand(C::EditDeleteRow, a.rowDeletable);
    EnableCommand(C::EditInsertRow, a.insertable);
    EnableCommand(C::EditSelectRow, a.hasEdit && a.atEnd);
    EnableCommand(C::EditChoose, a.editing);

    bool prev, next, open, nw, ok, cancel;
    int icon;
    RecordMoveState(n, &prev, &next, &icon);
    EditCommandsState(n, &open, &nw, &ok, &cancel);
    EnableCommand(C::RecordNext, next);
    EnableCommand(C::RecordPrevious, prev);
    EnableCommand(C::RecordOk, ok);
    EnableCommand(C::RecordCancel, cancel);
    EnableCommand(C::RecordNew, nw);
    EnableCommand(C::RecordCopyAsNew, open);
    EnableCommand(C::RecordDelete, a.deletable);
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
