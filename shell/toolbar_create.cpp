// toolbar_create.cpp - the bars, the top bar's push buttons and the
// placing of the MDI client between the bars.
#include "shell/toolbar.h"

#include <string>

#include "core/definitions.h"
#include "core/system.h"
#include "core/window_entries.h"
#include "platform/font.h"
#include "platform/icon.h"
#include "platform/queue.h"
#include "platform/window.h"
#include "shell/draw_port.h"
#include "shell/shell.h"

// The top bar's icon buttons: back and forward share one icon at (7, -3),
// print has its own at (330, -3). ToolbarMetricsInit sets the hit rectangles.
std::array<TopBarIconButton, 3> TopBarIcons = {{
    {{}, {}, 7, -3, kIconBackPressed, kIconRecordUpDown, 0, 0},
    {{}, {}, 7, -3, kIconForwardPressed, kIconRecordUpDown, 0, 0},
    {{}, {}, 330, -3, kIconPrintPressed, kIconPrint, 0, 0},
}};
std::array<uint32_t, 4> TopBarButtons;

namespace {

constexpr int TopBarHeight = 32;
constexpr int BarCreateWidth = 600, BarCreateHeight = 37;
constexpr uint32_t BarStyle = PlStyle::Child | PlStyle::Visible | PlStyle::ClipSiblings | PlStyle::ClipChildren;
// Push buttons: 60 x 23 at y 4, the first at x 45, each next 72 further.
constexpr int ButtonX = 45, ButtonStep = 72, ButtonY = 4, ButtonWidth = 60, ButtonHeight = 23;

// Creates the top bar's push buttons from the first four push-button
// entries of window type 1's controls, OK, Cancel, New and Open in that
// order; a type with fewer leaves the rest without a button.
void ToolbarButtonsBuild()
{
    TopBarButtons.fill(0);
    uint8_t *def = WinTypeDef(1);
    if (!def) return;
    PlFont *bold = UiFontBold ? UiFontBold : FontUiSemibold();
    int made = 0;
    for (int i = 0; i < WinDefPartCount(def, WinPartControls) && made < 4; i++) {
        uint16_t size;
        const uint8_t *c = WinDefPartEntry(def, WinPartControls, i, &size);
        if (!c || size <= ControlEntry::Label || DefU16(c + ControlEntry::Kind) != CtlPush) continue;
        const uint8_t *label = c + ControlEntry::Label;
        if (ControlEntry::Label + 1 + label[0] > size) continue;
        std::string text(reinterpret_cast<const char *>(label + 1), label[0]);
        int x = ButtonX + ButtonStep * made;
        uint32_t button = WinCreate("Button", text, PlStyle::Child | PlStyle::Visible,
                                    PlRect{x, ButtonY, x + ButtonWidth, ButtonY + ButtonHeight}, TopBarWindow, 0, 0);
        if (!button) continue;
        WinSend(button, PlMsg::SetFont, reinterpret_cast<uintptr_t>(bold), 0);
        TopBarButtons[made++] = button;
    }
}

}  // namespace

// Height of the bottom bar: 70, or 22 in the compact variant.
int BottomBarHeight() { return CompactVariant ? 22 : 70; }

// Creates both bars (class "m4toolbar", 600 x 37 until the frame sizes
// them) and the top bar's push buttons in the frame. A bar that cannot be
// made stays 0; the frame goes on without it.
void ToolbarsCreate(uint32_t frame)
{
    PlRect r{0, 0, BarCreateWidth, BarCreateHeight};
    TopBarWindow = WinCreate("m4toolbar", "", BarStyle, r, frame, 0, 0);
    BottomBarWindow = WinCreate("m4toolbar", "", BarStyle, r, frame, 0, 0);
    for (TopBarIconButton &b : TopBarIcons) b.armed = b.shownPressed = 0;
    StatusLineSet({});   // a new frame starts ready
    if (TopBarWindow) ToolbarButtonsBuild();
}

// Places the MDI client between the bars: at (0, 32), as wide as the
// frame's client area and down to the bottom bar.
void MdiClientResize(uint32_t frame)
{
    if (!MdiClientWindow) return;
    PlRect c = WinClientRect(frame);
    int width = PlRectWidth(c) + 2 * kPlBorderWidth - 2;
    int height = PlRectHeight(c) + 2 * kPlBorderWidth - (TopBarHeight + 2) - BottomBarHeight();
    if (height < 0) height = 0;
    WinMove(MdiClientWindow, PlRect{0, TopBarHeight, width, TopBarHeight + height});
}
