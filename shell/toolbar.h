// toolbar.h - the frame's two bars: the top bar with its four push
// buttons and three icon buttons, and the bottom bar with the fixed and
// module buttons. Both are frame children; window type 1 only lays them
// out.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/definitions.h"
#include "platform/draw.h"
#include "platform/geometry.h"

struct TopBarIconButton {
    MacRect hit, hit2;           // hit2 only for print
    int16_t iconX, iconY;
    uint16_t pressedIcon, releasedIcon;
    uint8_t armed, shownPressed;
};
enum { IconBack, IconForward, IconPrint };
extern std::array<TopBarIconButton, 3> TopBarIcons;  // hit rectangles set by ToolbarMetricsInit
extern std::array<uint32_t, 4> TopBarButtons;        // OK, Cancel, New, Open; 0 none

// ---- toolbar_create.cpp ----
// Height of the bottom bar: 70, or 22 in the compact variant.
int BottomBarHeight();
// Creates both bars and the top bar's push buttons in the frame.
void ToolbarsCreate(uint32_t frame);
// Places the MDI client between the bars.
void MdiClientResize(uint32_t frame);

// ---- toolbar_proc.cpp ----
// Window procedure of both bars.
intptr_t MPToolWndProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam);

// ---- toolbar_paint.cpp ----
// The name of the open company the top bar shows; empty without one.
std::string CompanyNameShown();
// Paints the top bar on its paint context over its client rectangle.
void TopBarPaint(DrawContext *dc, const PlRect &client);
// Paints the bottom bar on its paint context over its client rectangle.
void BottomBarPaint(DrawContext *dc, const PlRect &client);
// Draws top-bar icon button `button` (IconBack..IconPrint) pressed or released.
void TopBarDrawIcon(int button, bool pressed);
// The hit rectangle of bottom-bar entry i (part 32 of window type 1):
// the 32 x 32 square centred on the entry's x and y 18; false when the
// entry does not exist.
bool BottomBarEntryRect(int i, MacRect *out);
// Draws bottom-bar entry i pressed or released.
void BottomBarDrawEntry(int i, bool pressed);
// Puts an 8-bit text on the status strip of the bottom bar until the next
// one; an empty text gives back the strip's own (text 1165).
void StatusLineSet(std::string_view text);
// What the status strip says now.
std::string StatusLineText();
