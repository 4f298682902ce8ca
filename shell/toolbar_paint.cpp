// toolbar_paint.cpp - painting the two bars: the top bar's band, icons,
// company name and module line; the bottom bar's buttons and status strip.
// The bars are not numbered windows, so everything here draws on a
// context of the bar itself rather than through the drawing port.
#include <algorithm>
#include <string>

#include "core/definitions.h"
#include "core/list_slot.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "core/window_entries.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/font.h"
#include "platform/icon.h"
#include "platform/window.h"
#include "shell/draw_port.h"
#include "shell/shell.h"
#include "shell/toolbar.h"
#include "shell/window_utils.h"

namespace {

constexpr int BandBottom = 30;           // grey line at 30, dark line at 31
constexpr int NameBoxLeft = 370, NameX = 380, NameY = 3, NameYCompact = 9, ModuleY = 14;
constexpr int ButtonY = 18, IconHalf = kPlIconSize / 2;
constexpr int StripInset = 7, StripHeight = 19, StripTextX = 13, StripTextDy = 3;

PlFont *NormalFont() { return UiFontNormal ? UiFontNormal : FontUiRegular(); }

// What the status strip says in place of text 1165; empty: that text.
std::string StatusLine;

// One-pixel horizontal and vertical lines of colour c.
void HLine(DrawContext *dc, int x1, int x2, int y, PlColor c) { DcFillRect(dc, PlRect{x1, y, x2, y + 1}, PlSolidBrush(c)); }
void VLine(DrawContext *dc, int x, int y1, int y2, PlColor c) { DcFillRect(dc, PlRect{x, y1, x + 1, y2}, PlSolidBrush(c)); }

// Draws 8-bit text in the normal UI font, black on a transparent background.
void PlainText(DrawContext *dc, int x, int y, std::string_view text)
{
    PlFont *old = DcSelectFont(dc, NormalFont());
    PlBkMode mode = DcSetBkMode(dc, PlBkMode::Transparent);
    PlColor colour = DcSetTextColor(dc, kPlBlack);
    DcTextOut(dc, x, y, text);
    DcSetTextColor(dc, colour);
    DcSetBkMode(dc, mode);
    DcSelectFont(dc, old);
}

// The current module's menu text without its "&" marks, followed by
// " Client" in client mode.
std::string ModuleLine()
{
    std::string line;
    for (int i = 0; CurrentModule != 0 && i < ListTableCount(ListSlot::ModuleMenu); i++) {
        const uint8_t *e = ListTableEntry(ListSlot::ModuleMenu, i);
        if (!e || DefU16(e + ModuleMenuEntry::Module) != CurrentModule) continue;
        char text[256], plain[256];
        GetUiTextC(text, DefU16(e + ModuleMenuEntry::Text));
        StripAmpersands(text, plain);
        line = plain;
        break;
    }
    if (RunModeIsClient()) line += " Client";
    return line;
}

// Draws an icon over a cleared square of the bar's face so that nothing
// of the picture drawn before shows through its transparent parts.
void IconOnFace(DrawContext *dc, int icon, int left, int top, int faceBottom)
{
    PlRect square{left, std::max(top, 0), left + kPlIconSize, std::min(top + kPlIconSize, faceBottom)};
    DcFillRect(dc, square, kPlBrushLightGrey);
    DcDrawIcon(dc, icon, left, top);
}

// Bottom-bar entry i of window type 1's icon part, null when missing.
const uint8_t *BottomEntry(int i)
{
    uint8_t *def = WinTypeDef(1);
    uint16_t size;
    const uint8_t *e = def ? WinDefPartEntry(def, WinPartIconButtons, i, &size) : nullptr;
    return e && size >= 18 ? e : nullptr;
}

}  // namespace

// The company's name the top bar shows: the open company's (the first
// field of its settings); none once it is closed, though its settings
// stay bound until another opens.
std::string CompanyNameShown()
{
    if (!CompanyBlock || !DbOpenFlag) return {};
    const uint8_t *name = CompanyBlock + CompanyBlk::CompanyName;
    return std::string(reinterpret_cast<const char *>(name + 1), name[0]);
}

// Paints the top bar: a light-grey band with a grey and a dark line along
// its bottom, the print and record icons as their buttons are shown, and
// in a white box framed black the company name and (full variant) the
// module line.
void TopBarPaint(DrawContext *dc, const PlRect &client)
{
    int w = client.right;
    DcFillRect(dc, PlRect{0, 0, w, BandBottom}, kPlBrushLightGrey);
    HLine(dc, 0, w, BandBottom, kPlGrey);
    HLine(dc, 0, w, BandBottom + 1, kPlBlack);
    if (w > NameBoxLeft + 8) {
        PlRect box{NameBoxLeft, 1, w - 4, BandBottom - 1};
        DcFillRect(dc, box, kPlBrushWhite);
        DcFrameRect(dc, box, kPlBrushBlack);
    }
    for (int b : {IconPrint, TopBarIcons[IconBack].shownPressed ? IconBack : IconForward}) {
        const TopBarIconButton &i = TopBarIcons[b];
        IconOnFace(dc, i.shownPressed ? i.pressedIcon : i.releasedIcon, i.iconX, i.iconY, BandBottom);
    }
    std::string company = CompanyNameShown();
    if (!company.empty()) PlainText(dc, NameX, CompactVariant ? NameYCompact : NameY, company);
    if (!CompactVariant) {
        std::string line = ModuleLine();
        if (!line.empty()) PlainText(dc, NameX, ModuleY, line);
    }
}

// Paints the bottom bar: outside the compact variant a black and a white
// line at the top and the buttons; then a sunken light-grey status strip
// along the bottom with text 1165.
void BottomBarPaint(DrawContext *dc, const PlRect &client)
{
    int w = client.right, h = client.bottom;
    DcFillRect(dc, client, kPlBrushLightGrey);
    if (!CompactVariant) {
        HLine(dc, 0, w, 0, kPlBlack);
        HLine(dc, 0, w, 1, kPlWhite);
        DrawToolbarButtons(dc);
    }
    PlRect strip{StripInset, h - StripHeight, w - StripInset, h - 2};
    if (PlRectEmpty(strip)) return;
    HLine(dc, strip.left, strip.right, strip.top, kPlGrey);
    VLine(dc, strip.left, strip.top, strip.bottom, kPlGrey);
    HLine(dc, strip.left, strip.right, strip.bottom - 1, kPlWhite);
    VLine(dc, strip.right - 1, strip.top, strip.bottom, kPlWhite);
    PlainText(dc, StripTextX, strip.top + StripTextDy, StatusLineText());
}

// Puts an 8-bit text on the bottom bar's status strip, in place of what it
// said; empty gives back text 1165. The strip is drawn again.
void StatusLineSet(std::string_view text)
{
    StatusLine.assign(text);
    if (BottomBarWindow) WinInvalidate(BottomBarWindow, nullptr, false);
}

// What the bottom bar's status strip says now.
std::string StatusLineText()
{
    if (!StatusLine.empty()) return StatusLine;
    char text[256];
    GetUiTextC(text, Texts::StatusReady);
    return text;
}

// Draws top-bar icon button `button` pressed or released, at once.
void TopBarDrawIcon(int button, bool pressed)
{
    if (!TopBarWindow || button < IconBack || button > IconPrint) return;
    DrawContext *dc = WinGetDc(TopBarWindow);
    if (!dc) return;
    const TopBarIconButton &i = TopBarIcons[button];
    IconOnFace(dc, pressed ? i.pressedIcon : i.releasedIcon, i.iconX, i.iconY, BandBottom);
    WinReleaseDc(TopBarWindow, dc);
}

// The hit rectangle of bottom-bar entry i: the 32 x 32 square centred on
// the entry's x (negative: from the bar's right edge) and y 18.
bool BottomBarEntryRect(int i, MacRect *out)
{
    const uint8_t *e = i >= 1 ? BottomEntry(i) : nullptr;
    if (!e || !BottomBarWindow) return false;
    int x = int16_t(DefU16(e + IconEntry::X));
    if (x < 0) x += WinClientRect(BottomBarWindow).right;
    *out = MacRect{int16_t(ButtonY - IconHalf), int16_t(x - IconHalf), int16_t(ButtonY + IconHalf),
                   int16_t(x + IconHalf)};
    return true;
}

// Draws bottom-bar entry i with its pressed or its released icon, at once.
void BottomBarDrawEntry(int i, bool pressed)
{
    MacRect r;
    if (!BottomBarEntryRect(i, &r)) return;
    const uint8_t *e = BottomEntry(i);
    DrawContext *dc = WinGetDc(BottomBarWindow);
    if (!dc) return;
    // Below the two lines at the top of the bar.
    DcFillRect(dc, PlRect{r.left, std::max<int>(r.top, 2), r.right, r.bottom}, kPlBrushLightGrey);
    DcDrawIcon(dc, DefU16(e + (pressed ? IconEntry::Pressed : IconEntry::Icon)), r.left, r.top);
    WinReleaseDc(BottomBarWindow, dc);
}
