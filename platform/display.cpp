// Choice of the display back end: headless (the default; windows exist only
// in their surfaces) or the screen through SDL2 when one is present.
#include <cstdlib>
#include <string>

#include "platform/display.h"

namespace {
bool gScreen = false;
PlCursor gCursor = PlCursor::Arrow;
int gBeeps = 0;

// The display the environment names, quoted, for messages.
std::string DisplayName()
{
    // Built by appending: the optimiser of this compiler warns, wrongly,
    // about overlapping copies in "literal" + std::string.
    const char *x = std::getenv("DISPLAY");
    const char *w = std::getenv("WAYLAND_DISPLAY");
    bool x11 = x && *x;
    std::string name = "\"";
    name.append(x11 ? x : (w ? w : ""));
    name.append(x11 ? "\" (DISPLAY)" : "\" (WAYLAND_DISPLAY)");
    return name;
}

// A message on one line: line breaks become blanks, trailing ones go.
std::string OneLine(std::string text)
{
    for (char &c : text)
        if (c == '\n' || c == '\r') c = ' ';
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text.empty() ? "it does not answer" : text;
}
}  // namespace

bool DisplayAvailable()
{
    const char *x = std::getenv("DISPLAY");
    const char *w = std::getenv("WAYLAND_DISPLAY");
    return (x && *x) || (w && *w);
}

bool DisplayOpen(PlDisplayKind kind, std::string *error)
{
    if (kind == PlDisplayKind::Headless) {
        DisplayClose();
        return true;
    }
    if (gScreen) return true;
    if (!DisplayAvailable()) {
        if (error) *error = "no display: neither DISPLAY nor WAYLAND_DISPLAY is set";
        return false;
    }
    std::string why;
    if (!SdlDisplayOpen(&why)) {
        if (error) *error = "cannot open the display " + DisplayName() + ": " + OneLine(why);
        return false;
    }
    gScreen = true;
    return true;
}

void DisplayClose()
{
    if (gScreen) SdlDisplayClose();
    gScreen = false;
}

bool DisplayIsScreen() { return gScreen; }

bool DisplayPump(int timeoutMs) { return gScreen ? SdlDisplayPump(timeoutMs) : false; }

void DisplayPresent()
{
    if (gScreen) SdlDisplayPresent(false);
}

bool DisplayReadPixel(int x, int y, uint32_t *rgb)
{
    if (!gScreen) return false;
    SdlDisplayPresent(false);
    return SdlDisplayReadPixel(x, y, rgb);
}

void PlSetCursorShape(PlCursor shape)
{
    gCursor = shape;
    if (gScreen) SdlDisplaySetCursor(shape);
}

PlCursor PlCursorShape() { return gCursor; }

void PlBeep() { ++gBeeps; }

int PlBeepCount() { return gBeeps; }
