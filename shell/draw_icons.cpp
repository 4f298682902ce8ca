// draw_icons.cpp - icons, labelled icons and the bottom bar's buttons.
#include "core/definitions.h"
#include "core/list_slot.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "platform/icon.h"
#include "platform/window.h"
#include "shell/draw_port.h"
#include "shell/login.h"

// The bottom bar's buttons stand with their icon's centre at this y.
constexpr int ToolbarButtonY = 18;
// Offsets in an entry of a window definition's icon-button list.
constexpr int IconEntryIcon = 2, IconEntryX = 6, IconEntryLabel = 18;
// Fixed buttons of the bottom bar, after the placeholder entry 0.
constexpr int FixedButtonFirst = 1, FixedButtonLast = 4;

// Draws icon `icon` on dc centred on (x, y); nothing when it is missing.
static void DcIconAt(DrawContext *dc, int icon, int x, int y)
{
    if (dc && IconExists(icon)) DcDrawIconCentred(dc, icon, x, y);
}

// Draws an icon on dc with its label centred below it.
static void DcIconLabel(DrawContext *dc, int icon, int x, int y, const uint8_t *label)
{
    DcIconAt(dc, icon, x, y);
    int w = DcPStringWidth(dc, label);
    DcDrawPString(dc, x - w / 2, y + 28, label);
}

// Draws icon `icon` on the port centred on (x, y); nothing when it is missing.
void DrawIconAt(int icon, int x, int y) { DcIconAt(PortState.dc, icon, x, y); }

// Draws an icon on the port with its label centred below it.
void DrawIconLabel(int icon, int x, int y, const uint8_t *label) { DcIconLabel(PortState.dc, icon, x, y, label); }

// Draws an icon with its top-left corner at (x, y) in a platform window
// through a context of its own.
void DrawWindowIcon(uint32_t window, int x, int y, int icon)
{
    if (!IconExists(icon)) return;
    DrawContext *dc = WinGetDc(window);
    if (!dc) return;
    DcDrawIcon(dc, icon, x, y);
    WinReleaseDc(window, dc);
}

// Draws entry `index` of window type 1's icon-button list on dc with a
// label; false when the part has no such entry.
static bool DrawButtonEntry(DrawContext *dc, uint8_t *def, int index, const uint8_t *label)
{
    uint16_t size = 0;
    uint8_t *e = WinDefPartEntry(def, WinPartIconButtons, index, &size);
    if (!e || size < IconEntryX + 2) return false;
    int x = int16_t(DefU16(e + IconEntryX));
    uint8_t own[256] = {0};
    if (!label) {
        // The entry's own label, when it lies wholly inside the entry.
        if (size > IconEntryLabel && IconEntryLabel + 1 + e[IconEntryLabel] <= size)
            PStringCopy(own, e + IconEntryLabel);
        label = own;
    }
    DcIconLabel(dc, DefU16(e + IconEntryIcon), x, ToolbarButtonY, label);
    return true;
}

// Draws the bottom bar's buttons on the bar's paint context: the fixed
// buttons 1 to 4 of window type 1's icon part with their labels, then
// one further entry of that part for each module-table window of the
// current module (or of every module) that the user may use, labelled
// with the window's second text, while the part has entries left.
void DrawToolbarButtons(DrawContext *bar)
{
    uint8_t *def = WinTypeDef(1);
    if (!bar || !def) return;
    PlBkMode oldMode = DcSetBkMode(bar, PlBkMode::Transparent);
    PlFont *oldFont = DcSelectFont(bar, UiFontNormal ? UiFontNormal : FontUiRegular());
    for (int i = FixedButtonFirst; i <= FixedButtonLast; i++) DrawButtonEntry(bar, def, i, nullptr);
    for (int k = 1; const uint8_t *m = PermittedModuleEntry(k); k++) {
        uint8_t label[256];
        GetUiText(label, DefU16(m + ModuleWindowsEntry::Label));
        if (!DrawButtonEntry(bar, def, FixedButtonLast + k, label)) break;
    }
    DcSelectFont(bar, oldFont);
    DcSetBkMode(bar, oldMode);
}
