// toolbar.h - the frame's two bars: the top bar with its four push
// buttons and three icon buttons, and the bottom bar with the fixed and
// module buttons. Both are frame children; window type 1 only lays them
// out.
#pragma once

#include <array>
#include <cstdint>

#include "core/definitions.h"

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
