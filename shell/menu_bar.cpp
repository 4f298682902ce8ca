// menu_bar.cpp - building the menu bar, the popups of the menu
// definitions and the operations popups of window types.
//
// Command ids: File 101.., Edit 201.., Record 301.. (100 x menu + item -
// 100); the popups' and the Window and Help menus' are frame_commands.h's.
// A menu-definition item whose text is "(-" is a separator and takes no
// id.
#include "shell/menus.h"

#include <cassert>
#include <cstdio>
#include <cstring>
#include <string>

#include "core/definitions.h"
#include "core/list_slot.h"
#include "core/pstring.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "core/window_entries.h"
#include "core/work_blocks.h"
#include "database/access/register_hooks.h"
#include "dict_offsets.h"
#include "platform/menu.h"
#include "shell/frame_commands.h"
#include "shell/login.h"
#include "shell/settings_menu.h"
#include "shell/shell.h"
#include "shell/window_utils.h"


MenuHandlesRec MenuHandles;

namespace {

// Text number n as a std::string; empty when the file lacks it.
std::string TextOf(int n)
{
    char text[256];
    GetUiTextC(text, n);
    return text;
}

// Appends a popup to the bar under "&" + title; false when refused.
bool AppendPopup(uint32_t popup, const std::string &title)
{
    return MenuAppend(MenuHandles.bar, PlMenuFlag::Popup, popup, "&" + title);
}

// Appends a plain item with text number n; false when refused.
bool AppendItem(uint32_t menu, uint32_t id, int text)
{
    return MenuAppend(menu, 0, id, TextOf(text));
}

// Appends the menu's items from its definition; false when one is refused.
bool FillFromDefinition(uint32_t popup, const uint8_t *def, int m)
{
    for (int i = 0; i < MenuDefItemCount(def); i++) {
        const uint8_t *item = MenuDefItem(def, i);
        if (!item) return false;
        const uint8_t *label = item + 8;
        if (label[0] == 2 && label[1] == '(' && label[2] == '-') {
            if (!MenuAppend(popup, PlMenuFlag::Separator, 0, "")) return false;
            continue;
        }
        // The label is at most 255 bytes; the key text adds 7.
        char text[256 + 8];
        memcpy(text, label + 1, label[0]);
        text[label[0]] = 0;
        KeyTextAppend(text, DefU16(item + 4));
        uint32_t id = uint32_t(100 * m + DefU16(item + 6) - 100);
        if (!MenuAppend(popup, 0, id, text)) return false;
    }
    return true;
}

}  // namespace

// Builds the frame's menu bar: File, Edit and Record from the menu
// definitions, the register popup, the module popup (full variant), the
// Window menu and the Help menu, and fills the two popups. Handles of
// menus the file lacks stay 0. The module popup's rebuild is handed to
// the access layer, which asks for it when the settings are read anew.
void MenuBarBuild()
{
    MenuHandles = MenuHandlesRec{};
    MenuHandles.bar = MenuCreateBar();
    if (!MenuHandles.bar) return;
    MenuHandles.file = MenuFromTable(2);
    MenuHandles.edit = MenuFromTable(3);
    MenuHandles.record = MenuFromTable(4);

    MenuHandles.registerPopup = MenuCreatePopup();
    if (MenuHandles.registerPopup && !AppendPopup(MenuHandles.registerPopup, TextOf(Texts::MenuRegisters))) {
        MenuDestroy(MenuHandles.registerPopup);
        MenuHandles.registerPopup = 0;
    }
    if (!CompactVariant) {
        MenuHandles.modulePopup = MenuCreatePopup();
        if (MenuHandles.modulePopup && !AppendPopup(MenuHandles.modulePopup, TextOf(Texts::MenuModules))) {
            MenuDestroy(MenuHandles.modulePopup);
            MenuHandles.modulePopup = 0;
        }
    }
    // The Settings popup stands after the module popup, before Window.
    SettingsMenuCreate();

    uint32_t window = MenuCreatePopup();
    if (window) {
        bool ok = AppendItem(window, FrameCmd::Cascade, Texts::MenuWindowCascade) &&
                  AppendItem(window, FrameCmd::ArrangeIcons, Texts::MenuWindowIcons) &&
                  MenuAppend(window, PlMenuFlag::Separator, 0, "");
        // Close all, minimise all, restore all and the two placements, texts 1616 on.
        for (int id = FrameCmd::CloseAll; ok && id <= FrameCmd::PlacementDefault; id++)
            ok = AppendItem(window, uint32_t(id), 1616 + id - FrameCmd::CloseAll);
        // The bar title carries its own "&" in the text.
        if (ok && MenuAppend(MenuHandles.bar, PlMenuFlag::Popup, window, TextOf(Texts::MenuWindow)))
            MenuHandles.window = window;
        else
            MenuDestroy(window);
    }

    uint32_t help = MenuCreatePopup();
    if (help) {
        std::string about = TextOf(Texts::MenuHelpAbout) + TextOf(Texts::ProgramTitle) + "...";
        bool ok = AppendItem(help, FrameCmd::Help, Texts::MenuHelpContents) && MenuAppend(help, 0, FrameCmd::About, about);
        if (ok && MenuAppend(MenuHandles.bar, PlMenuFlag::Popup, help, TextOf(Texts::MenuHelp)))
            MenuHandles.help = help;
        else
            MenuDestroy(help);
    }
    RebuildRegisterMenu();
    RebuildWindowTypeMenu();
}

// Builds menu m from the menu definitions and appends it to the menu bar
// under "&" + its title. Returns the popup, or 0 when the file has no menu
// m or the menu could not be built (nothing is left half-appended).
uint32_t MenuFromTable(int m)
{
    assert(MenuHandles.bar);
    const uint8_t *def = MenuDefFirst();
    while (def && MenuDefNumber(def) != m) def = MenuDefNext(def);
    if (!def) return 0;
    uint32_t popup = MenuCreatePopup();
    if (!popup) return 0;
    if (!FillFromDefinition(popup, def, m) || !AppendPopup(popup, PStringToStd(MenuDefTitle(def)))) {
        MenuDestroy(popup);
        return 0;
    }
    return popup;
}

// Appends "\tCtrl+" and character c to a zero-terminated menu text when c
// is not 0. The buffer must hold 7 more bytes.
void KeyTextAppend(char *text, int c)
{
    if (c == 0) return;
    char key[] = "\tCtrl+1";
    key[sizeof key - 2] = char(c);
    strcat(text, key);
}

// The operations popup of window type `type`: one item per entry of part
// 40 of its layout, "&" + the entry's text with its key text, id 701 + i.
// 0 when the type has no such part or the popup could not be built.
uint32_t BuildWindowOpsMenu(int type)
{
    uint8_t *def = WinTypeDef(type);
    if (!def || WinDefPartCount(def, WinPartMenuItems) == 0) return 0;
    uint32_t popup = MenuCreatePopup();
    if (!popup) return 0;
    for (int i = 0; i < WinDefPartCount(def, WinPartMenuItems); i++) {
        uint16_t size;
        const uint8_t *entry = WinDefPartEntry(def, WinPartMenuItems, i, &size);
        // Stored like a menu item: the key, then the label.
        if (!entry || size < OpEntry::Label + 1) {
            MenuDestroy(popup);
            return 0;
        }
        char text[1 + 256 + 8] = "&";
        const uint8_t *label = entry + OpEntry::Label;
        memcpy(text + 1, label + 1, label[0]);
        text[1 + label[0]] = 0;
        KeyTextAppend(text, DefU16(entry + OpEntry::Key));
        if (!MenuAppend(popup, 0, uint32_t(FrameCmd::Operations + 1 + i), text)) {
            MenuDestroy(popup);
            return 0;
        }
    }
    return popup;
}

// Items the register popup received at its last rebuild, the separator
// included; they are removed before the next.
static int RegisterMenuItems = 0;

// Fills the register popup anew: in the compact variant the module list
// (399, Ctrl+0) and a separator; then one item 400 + k for the k-th entry
// of the module table that belongs to the current module and whose window
// the user may use, the first nine with Ctrl+k, while a company is open.
// Items the popup had from elsewhere stay after these.
void RebuildRegisterMenu()
{
    // The Settings menu follows the same module, company and rights.
    RebuildSettingsMenu();
    uint32_t popup = MenuHandles.registerPopup;
    if (!popup || !MenuIsMenu(popup)) {
        RegisterMenuItems = 0;
        return;
    }
    for (; RegisterMenuItems > 0 && MenuItemCount(popup) > 0; RegisterMenuItems--) (void)MenuDelete(popup, 0);
    RegisterMenuItems = 0;
    int position = 0;
    auto insert = [&](uint32_t flags, uint32_t id, const std::string &text) {
        if (!MenuInsert(popup, position, flags, id, text)) return false;
        position++;
        RegisterMenuItems++;
        return true;
    };
    if (CompactVariant) {
        char text[256 + 8];
        snprintf(text, 256, "%s", TextOf(Texts::MenuModuleList).c_str());
        KeyTextAppend(text, '0');
        if (!insert(0, FrameCmd::RegisterModuleList, text) || !insert(PlMenuFlag::Separator, 0, "")) return;
    }
    // Without an open company there are none: the windows need one.
    for (int k = 1; const uint8_t *entry = DbOpenFlag ? PermittedModuleEntry(k) : nullptr; k++) {
        char text[256 + 8];
        snprintf(text, 256, "%s", TextOf(DefU16(entry + ModuleWindowsEntry::Text)).c_str());
        if (k <= 9) KeyTextAppend(text, '0' + k);
        if (!insert(0, uint32_t(FrameCmd::RegisterEntries + k), text)) return;
    }
}

// Items the module popup received at its last rebuild.
static int ModuleMenuItems = 0;

// Fills the module popup anew (nothing in the compact variant): its
// previous items go, then entry i of the module menu table whose module
// the user may use gets item 501 + i with the entry's text, so a refused
// entry leaves a gap in the ids rather than moving the others. The
// current module keeps its check mark. Installed as the access layer's
// rebuild, which runs when the settings are read anew.
void RebuildWindowTypeMenu()
{
    if (CompactVariant) return;
    uint32_t popup = MenuHandles.modulePopup;
    if (!popup || !MenuIsMenu(popup)) {
        ModuleMenuItems = 0;
        return;
    }
    for (; ModuleMenuItems > 0 && MenuItemCount(popup) > 0; ModuleMenuItems--) (void)MenuDelete(popup, 0);
    ModuleMenuItems = 0;
    for (int i = 0, count = ListTableCount(ListSlot::ModuleMenu); i < count; i++) {
        const uint8_t *entry = ListTableEntry(ListSlot::ModuleMenu, i);
        if (!entry) break;
        if (!MayUseModule(DefU16(entry + ModuleMenuEntry::Module))) continue;
        const std::string text = TextOf(DefU16(entry + ModuleMenuEntry::Text));
        if (!MenuInsert(popup, ModuleMenuItems, 0, uint32_t(FrameCmd::ModuleFirst + i), text)) break;
        ModuleMenuItems++;
    }
    CheckModuleMenu(CurrentModule);
}

// Enters the module of the k-th (from 1) module menu entry whose module
// the user may use, as the module list's OK picks it. Module 1 (the
// server's) only when `allowModuleOne` is set; no such entry: nothing.
void ModuleMenuPick(int k, bool allowModuleOne)
{
    for (int i = 0, seen = 0, count = ListTableCount(ListSlot::ModuleMenu); i < count; i++) {
        const uint8_t *entry = ListTableEntry(ListSlot::ModuleMenu, i);
        if (!entry) return;
        int module = DefU16(entry + ModuleMenuEntry::Module);
        if (!MayUseModule(module) || ++seen != k) continue;
        if (module == 1 && !allowModuleOne) return;
        SwitchModule(module, 0);
        return;
    }
}
