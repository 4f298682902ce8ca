// The clipboard: plain 8-bit text held in the process, mirrored to the
// display's clipboard while the screen back end runs.
#include <SDL.h>
#include <optional>

#include "platform/clipboard.h"
#include "platform/display.h"
#include "platform/font.h"

namespace {
std::optional<std::string> gText;

// UTF-8 to 8-bit text; characters above 255 become '?'.
std::string FromUtf8(const char *s)
{
    std::string out;
    const auto *p = reinterpret_cast<const unsigned char *>(s);
    while (*p) {
        uint32_t cp;
        int n;
        if (*p < 0x80) { cp = *p; n = 1; }
        else if ((*p & 0xE0) == 0xC0) { cp = *p & 0x1F; n = 2; }
        else if ((*p & 0xF0) == 0xE0) { cp = *p & 0x0F; n = 3; }
        else { cp = *p & 0x07; n = 4; }
        for (int i = 1; i < n; ++i) {
            if ((p[i] & 0xC0) != 0x80) return out;
            cp = (cp << 6) | (p[i] & 0x3F);
        }
        p += n;
        out.push_back(cp <= 255 ? char(cp) : '?');
    }
    return out;
}
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
            gText = FromUtf8(s);
            SDL_free(s);
        }
    }
    if (!gText) return false;
    if (text) *text = *gText;
    return true;
}

bool ClipboardHasText() { return ClipboardGetText(nullptr); }

void ClipboardClear() { gText.reset(); }
