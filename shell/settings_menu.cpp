// settings_menu.cpp - the Settings menu of the menu bar.
//
// Each module has its own Settings menu in the interface file, menu
// definition 20 + the module's number; an item's number is the window
// type it opens. The bar carries one popup whose items are those of the
// current module, rebuilt whenever the register popup is (a module
// switch, a company opened or closed). Command ids are 1000 + the item's
// index in its definition, so an item the user may not open leaves a gap
// rather than moving the others, and a command always names the item it
// was built from.
#include "shell/settings_menu.h"

#include <cstring>
#include <string>

#include "core/definitions.h"
#include "core/pstring.h"
#include "core/system.h"
#include "core/work_blocks.h"
#include "platform/menu.h"
#include "shell/login.h"
#include "shell/menus.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/window_table.h"

uint32_t SettingsMenuHandle = 0;

namespace {

// Bytes of a menu item: u16 size, u16 0, u16 key, u16 number, label.
constexpr int ItemKey = 4, ItemNumber = 6, ItemLabel = 8;

// Items the popup received at its last rebuild.
int SettingsMenuItems = 0;

// The menu definition numbered m; null when the file has none.
const uint8_t *MenuDef(int m)
{
    for (const uint8_t *def = MenuDefFirst(); def; def = MenuDefNext(def))
        if (MenuDefNumber(def) == m) return def;
    return nullptr;
}

// The Settings menu of the current module; null without one.
const uint8_t *CurrentSettingsDef()
{
    return CurrentModule > 0 ? MenuDef(SettingsMenuBase + CurrentModule) : nullptr;
}

// True when item is a separator (its label "(-").
bool IsSeparator(const uint8_t *item)
{
    const uint8_t *label = item + ItemLabel;
    return label[0] == 2 && label[1] == '(' && label[2] == '-';
}

// True when the user may open window type `type` from the menu. A window
// of a register or a settings block goes by the rules of every window
// list; a window that gathers others (Forms, Series) has neither, and
// goes by the user's right on its type alone.
bool MayOpenFromMenu(int type)
{
    if (WinTypeRegister(type) != 0 || WinTypeWord(type, 9) != 0) return MayOpenWindowType(type);
    return MayOpenWindowTypeRight(type);
}

}  // namespace

// Appends the popup, titled as the first Settings menu found, when the
// file has a Settings menu for any module and the program has modules.
void SettingsMenuCreate()
{
    SettingsMenuHandle = 0;
    SettingsMenuItems = 0;
    // Without modules (the compact variant) no module's menu would show.
    if (!MenuHandles.bar || CompactVariant) return;
    const uint8_t *first = nullptr;
    for (int m = 1; m <= 99 && !first; m++) first = MenuDef(SettingsMenuBase + m);
    if (!first) return;
    uint32_t popup = MenuCreatePopup();
    if (!popup) return;
    if (!MenuAppend(MenuHandles.bar, PlMenuFlag::Popup, popup, "&" + PStringToStd(MenuDefTitle(first)))) {
        MenuDestroy(popup);
        return;
    }
    SettingsMenuHandle = popup;
}

// Removes the previous items, then adds the current module's: a window the
// user may not open is left out, and so is a separator that would stand
// first, last or beside another.
void RebuildSettingsMenu()
{
    uint32_t popup = SettingsMenuHandle;
    if (!popup || !MenuIsMenu(popup)) {
        SettingsMenuItems = 0;
        return;
    }
    for (; SettingsMenuItems > 0 && MenuItemCount(popup) > 0; SettingsMenuItems--) (void)MenuDelete(popup, 0);
    SettingsMenuItems = 0;
    const uint8_t *def = DbOpenFlag ? CurrentSettingsDef() : nullptr;
    if (!def) return;
    bool separatorDue = false;
    for (int i = 0; i < MenuDefItemCount(def) && SettingsMenuFirstId + i <= SettingsMenuLastId; i++) {
        const uint8_t *item = MenuDefItem(def, i);
        if (!item) break;
        if (IsSeparator(item)) {
            separatorDue = SettingsMenuItems > 0;
            continue;
        }
        int type = DefU16(item + ItemNumber);
        if (!WinDefExists(type) || !MayOpenFromMenu(type)) continue;
        if (separatorDue && MenuInsert(popup, SettingsMenuItems, PlMenuFlag::Separator, 0, "")) SettingsMenuItems++;
        separatorDue = false;
        const uint8_t *label = item + ItemLabel;
        char text[256 + 8];
        memcpy(text, label + 1, label[0]);
        text[label[0]] = 0;
        KeyTextAppend(text, DefU16(item + ItemKey));
        if (!MenuInsert(popup, SettingsMenuItems, 0, uint32_t(SettingsMenuFirstId + i), text)) return;
        SettingsMenuItems++;
    }
}

// The item's number in the current module's menu; 0 for a separator, an
// id outside the range or an item the menu lacks.
int SettingsMenuWindowType(int id)
{
    const uint8_t *def = CurrentSettingsDef();
    int i = id - SettingsMenuFirstId;
    if (!def || i < 0 || id > SettingsMenuLastId || i >= MenuDefItemCount(def)) return 0;
    const uint8_t *item = MenuDefItem(def, i);
    if (!item || IsSeparator(item)) return 0;
    return DefU16(item + ItemNumber);
}

// Opens the window of the item while a company is open and the user may
// open it; a window of that type already open is brought up instead.
void SettingsMenuCommand(int id)
{
    int type = SettingsMenuWindowType(id);
    if (!DbOpenFlag || type == 0 || !WinDefExists(type) || !MayOpenFromMenu(type)) return;
    OpenOrActivateWindow(type, 65535, 0, false, 0);
}
