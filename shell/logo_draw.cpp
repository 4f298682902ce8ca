// logo_draw.cpp - the program's logo in the About window.
#include <span>

#include "core/bmp_file.h"
#include "core/system.h"
#include "platform/logo_bitmap.h"
#include "shell/draw_port.h"
#include "shell/window_drawing.h"

namespace {
constexpr int LogoX = 3, LogoY = 3;
constexpr int LogoResource = 1, CompactLogoResource = 3;
}  // namespace

// Draws the program's logo (its compact form in the compact interface) in
// window n's port at (3, 3) in its own size, pixel for pixel, and makes
// the port that was current before current again. Nothing is drawn when
// n has no port or the resource cannot be drawn.
void DrawLogoBitmap(int n)
{
    std::span<const uint8_t> logo = PlBitmapResource(CompactVariant ? CompactLogoResource : LogoResource);
    PlDib view;
    if (!PackedDibView(logo.data(), uint32_t(logo.size()), &view)) return;
    int saved = 0;
    GetPortWindow(&saved);
    SetPortWindow(n);
    if (PortState.dc) {
        int rows = view.header.height < 0 ? -view.header.height : view.header.height;
        PlRect at{LogoX, LogoY, LogoX + view.header.width, LogoY + rows};
        (void)StretchDibInRect(PortState.dc, at, logo.data(), uint32_t(logo.size()), 1);
    }
    RestorePortWindow(saved);
}
