// The clipboard: plain 8-bit text held in the process, mirrored to the
// display's clipboard while the screen back end runs.
#include <SDL.h>
#include <optional>

#include "platform/clipboard.h"
#include "platform/display.h"
#include "platform/font.h"

namespace {
std::optional<std::string> gText;
}  // namespace

void ClipboardSetText(std::string_view text)
{
    gText = std::string(text);
    if (DisplayIsScreen()) SDL_SetClipboardText(PlCp1252ToUtf8(text).c_str());
}

bool ClipboardGetText(std::string *text)
{
    if (DisplayIsScreen() && SDL_HasClipboardText()) {
        char *s = SDL_GetClipboardText();
        if (s) {
            gText = PlUtf8ToCp1252(s);
            SDL_free(s);
        }
    }
    if (!gText) return false;
    if (text) *text = *gText;
    return true;
}

bool ClipboardHasText() { return ClipboardGetText(nullptr); }

void ClipboardClear() { gText.reset(); }
