// menu_utils.cpp - enabling menu items by position, the window's
// operations popup in the menu bar, the module menu checks, the toolbar
// buttons and the ampersand stripper of menu texts.
#include <cstring>

#include "core/definitions.h"
#include "core/field_types.h"
#include "core/list_slot.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "platform/mdi.h"
#include "platform/menu.h"
#include "shell/list_windows.h"
#include "shell/login.h"
#include "shell/menus.h"
#include "shell/shell.h"
#include "shell/toolbar.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

// The File menu has no item 6: its items after the fifth stand one
// position lower than their numbers say.
constexpr int FileMenuGapAfter = 5;
// Where a window's operations popup goes in the menu bar (one further
// right while a maximised child's system menu takes position 0); its
// title is Texts::MenuOperations.
constexpr int OpsPopupPosition = 5;

// True while the active MDI child is maximised.
static bool ChildMaximized()
{
    bool maximized = false;
    if (MdiClientWindow) MdiGetActive(MdiClientWindow, &maximized);
    return maximized;
}

// Enables or greys item `item` (from 1) of a menu by position; the
// previous state, -1 when there is no such item.
int EnableMenuCmd(uint32_t menu, int item, bool on)
{
    int position = item - 1;
    if (menu && menu == MenuHandles.file && item > FileMenuGapAfter) position--;
    return MenuEnableByPosition(menu, position, on);
}

// Enables or greys top-level menu k, 2..6; other numbers do nothing.
void EnableTopMenu(int k, bool on)
{
    if (k < 2 || k > 6) return;
    EnableMenuCmd(MenuHandles.bar, ChildMaximized() ? k : k - 1, on);
}

// Enables or greys an item of n's operations popup.
void EnableWindowMenuItem(int n, int item, bool on)
{
    if (uint32_t popup = WinIsOpen(n) ? WinOpsMenu(n) : 0) EnableMenuCmd(popup, item, on);
}

// Inserts n's operations popup into the menu bar, titled with text 1571,
// and redraws the bar. A type without a popup inserts nothing; a popup
// already in the bar is not inserted twice.
void InsertWindowMenu(int n)
{
    uint32_t popup = WinIsOpen(n) ? WinOpsMenu(n) : 0;
    if (!popup || !MenuHandles.bar) return;
    for (int i = 0, count = MenuItemCount(MenuHandles.bar); i < count; i++)
        if (MenuSubMenu(MenuHandles.bar, i) == popup) return;
    char title[256];
    GetUiTextC(title, Texts::MenuOperations);
    int position = OpsPopupPosition + (ChildMaximized() ? 1 : 0);
    if (MenuInsert(MenuHandles.bar, position, PlMenuFlag::Popup, popup, title)) RedrawMenuBar();
}

// Takes n's operations popup out of the menu bar, keeping it for the
// next activation. It is found by its handle rather than by position:
// a type without a popup must not take the item at that position (the
// Window menu) away with it.
void RemoveWindowMenu(int n)
{
    uint32_t popup = WinIsOpen(n) ? WinOpsMenu(n) : 0;
    if (!popup || !MenuHandles.bar) return;
    for (int i = 0, count = MenuItemCount(MenuHandles.bar); i < count; i++) {
        if (MenuSubMenu(MenuHandles.bar, i) != popup) continue;
        if (!MenuRemove(MenuHandles.bar, i)) {
            int32_t code = i;
            ShowMessageValue("RemoveMenu", reinterpret_cast<const uint8_t *>(&code), FtLong);
        }
        RedrawMenuBar();
        return;
    }
}

// Checks the module popup's items of module m and unchecks the others.
void CheckModuleMenu(int m)
{
    if (!MenuHandles.modulePopup) return;
    for (int i = 0, count = ListTableCount(ListSlot::ModuleMenu); i < count; i++) {
        const uint8_t *e = ListTableEntry(ListSlot::ModuleMenu, i);
        MenuCheckByCommand(MenuHandles.modulePopup, ModuleMenuFirstId + i, DefU16(e + ModuleMenuEntry::Module) == m);
    }
}

// Redraws the frame's menu bar.
void RedrawMenuBar()
{
    if (FrameWindow) MenuBarRedraw(FrameWindow);
}

// Greys top-level menu 6 while a run is active, or while nobody is logged
// in to the open company, and enables it otherwise.
void SyncRunMenu()
{
    EnableTopMenu(6, !RunActiveFlag && !NobodyLoggedIn());
    RedrawMenuBar();
}

// Sets the four top-bar buttons (OK, Cancel, New, Open) from n's
// edit-command state; a minimised window counts as none. Clears the
// state-refresh flag.
void EnableToolButtons(int n)
{
    if (IsWindowIconic(n)) n = 0;
    bool open = false, nw = false, ok = false, cancel = false;
    EditCommandsState(n, &open, &nw, &ok, &cancel);
    const bool on[4] = {ok, cancel, nw, open};
    for (int i = 0; i < 4; i++) EnableControl(TopBarButtons[i], on[i]);
    StateRefreshFlag = 0;
}

// Sets the fixed hit rectangles of the top bar's icons and clears their
// pressed state.
void ToolbarMetricsInit()
{
    TopBarIcons[IconPrint].hit = MacRect{3, 336, 17, 353};
    TopBarIcons[IconPrint].hit2 = MacRect{17, 330, 28, 361};
    TopBarIcons[IconBack].hit = MacRect{5, 8, 27, 21};
    TopBarIcons[IconForward].hit = MacRect{5, 22, 27, 36};
    for (TopBarIconButton &b : TopBarIcons) b.armed = b.shownPressed = 0;
}

// Copies a zero-terminated string leaving out every '&'; dst may be src.
void StripAmpersands(const char *src, char *dst)
{
    for (; *src; src++)
        if (*src != '&') *dst++ = *src;
    *dst = 0;
}

// Replaces *h by a new block holding a copy of its bytes; the old block
// is not freed. False, and *h kept, when *h is no live block or memory
// cannot be had.
bool CopyBlock(MemBlock *h)
{
    if (!MemIsValid(*h)) return false;
    uint32_t size = MemSize(*h);
    const uint8_t *src = MemLock(*h);
    if (!src) return false;
    MemBlock copy = MemAlloc(size);
    uint8_t *dst = MemLock(copy);
    if (!dst) {
        MemUnlock(*h);
        MemFree(&copy);
        return false;
    }
    std::memcpy(dst, src, size);
    MemUnlock(copy);
    MemUnlock(*h);
    *h = copy;
    return true;
}
