// The on-screen back end through SDL2: one SDL window shows the surface of
// the active top-level window (normally the frame); SDL keyboard, text and
// mouse events become the queue's input; closing the SDL window sends close
// (16) to the shown window.
#include <SDL.h>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>

#include "platform/display.h"
#include "platform/font.h"
#include "platform/queue.h"
#include "platform/window.h"
#include "platform/window_internal.h"

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

namespace {
// SDL's video start-up keeps a few allocations of the system's message-bus
// library for the whole run; the leak checker of sanitizer builds is told
// not to count what is allocated while SDL starts.
struct LeakCheckPause {
#if defined(__SANITIZE_ADDRESS__)
    LeakCheckPause() { __lsan_disable(); }
    ~LeakCheckPause() { __lsan_enable(); }
#else
    // A user-provided constructor keeps "unused variable" quiet where
    // the pause has nothing to do.
    LeakCheckPause() {}
#endif
};

SDL_Window *gWindow = nullptr;
SDL_Cursor *gCursors[2] = {nullptr, nullptr};
uint32_t gShown = 0;  // the top-level window whose pixels are shown

// Brings the SDL window to the user: back from the window manager's
// minimised state, above other programs' windows, with the keyboard.
void RaiseOnDisplay(uint32_t)
{
    if (!gWindow) return;
    if (SDL_GetWindowFlags(gWindow) & SDL_WINDOW_MINIMIZED) SDL_RestoreWindow(gWindow);
    SDL_RaiseWindow(gWindow);
}

uint32_t VirtualKey(SDL_Keycode k)
{
    if (k >= SDLK_a && k <= SDLK_z) return uint32_t('A' + (k - SDLK_a));
    if (k >= SDLK_0 && k <= SDLK_9) return uint32_t('0' + (k - SDLK_0));
    if (k >= SDLK_F1 && k <= SDLK_F12) return PlKey::F1 + uint32_t(k - SDLK_F1);
    switch (k) {
    case SDLK_BACKSPACE: return PlKey::Back;
    case SDLK_TAB: return PlKey::Tab;
    case SDLK_RETURN:
    case SDLK_KP_ENTER: return PlKey::Return;
    case SDLK_ESCAPE: return PlKey::Escape;
    case SDLK_SPACE: return PlKey::Space;
    case SDLK_PAGEUP: return PlKey::PageUp;
    case SDLK_PAGEDOWN: return PlKey::PageDown;
    case SDLK_END: return PlKey::End;
    case SDLK_HOME: return PlKey::Home;
    case SDLK_LEFT: return PlKey::Left;
    case SDLK_UP: return PlKey::Up;
    case SDLK_RIGHT: return PlKey::Right;
    case SDLK_DOWN: return PlKey::Down;
    case SDLK_INSERT: return PlKey::Insert;
    case SDLK_DELETE: return PlKey::Delete;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT: return PlKey::Shift;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return PlKey::Control;
    case SDLK_LALT: return PlKey::Menu;  // right Alt is AltGr: see AltGrState
    case SDLK_MINUS: return 189;
    default: return 0;
    }
}

// Feeds UTF-8 text as cp1252 characters; characters the code page lacks are
// dropped.
void FeedText(const char *utf8)
{
    std::string_view text(utf8);
    size_t i = 0;
    while (i < text.size()) {
        size_t n = 1;
        while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) ++n;
        std::string_view one = text.substr(i, n);
        i += n;
        std::string b = PlUtf8ToCp1252(one);
        if (b.size() != 1 || (b[0] == '?' && one != "?")) continue;
        auto ch = static_cast<unsigned char>(b[0]);
        if (ch >= 32) MsgInputChar(ch);
    }
}

PlPoint ToScreen(int x, int y)
{
    PlRect r = WinScreenRect(gShown);
    return PlPoint{r.left + x, r.top + y};
}

// AltGr (right Alt, or the mode-switch key of some layouts) composes
// characters and is never the menu key: a key pressed with it waits for the
// text it types. Text other than the key's own character (the euro sign on
// AltGr+E of a Swedish keyboard) makes it a plain key and the text its
// characters. The key's own character, or no text at all, means the layout
// has no AltGr there (right Alt of a US keyboard): it was Alt after all, and
// Alt+key works the menus and types nothing, as with left Alt.
struct AltGrState {
    bool held = false;        // AltGr is down
    bool leftAlt = false;     // left Alt is down
    uint32_t waiting = 0;     // a key pressed with AltGr, its text not yet seen
    SDL_Keycode waitingSym = 0;
    bool asAlt = false;       // AltGr turned out to be Alt: the menu key is down
};
AltGrState gAltGr;

// The waiting key typed nothing of its own: it goes as Alt+key.
void AltGrTypedNothing()
{
    if (!gAltGr.waiting) return;
    if (!gAltGr.asAlt) {
        MsgInputKey(PlKey::Menu, true, 0);
        gAltGr.asAlt = true;
    }
    MsgInputKey(gAltGr.waiting, true, 0);
    gAltGr.waiting = 0;
}

// Whether text is just the character a key gives without modifiers.
bool KeysOwnText(std::string_view text, SDL_Keycode sym)
{
    if (text.size() != 1 || sym <= 0 || sym >= 128) return false;
    return std::tolower(static_cast<unsigned char>(text[0])) == std::tolower(int(sym));
}

void Key(const SDL_KeyboardEvent &k)
{
    bool down = k.type == SDL_KEYDOWN;
    if (k.keysym.sym == SDLK_RALT || k.keysym.sym == SDLK_MODE) {
        gAltGr.held = down;
        if (!down && gAltGr.asAlt) {
            MsgInputKey(PlKey::Menu, false, 0);
            gAltGr.asAlt = false;
        }
        return;
    }
    if (k.keysym.sym == SDLK_LALT) gAltGr.leftAlt = down;
    uint32_t vk = VirtualKey(k.keysym.sym);
    if (!vk) return;
    if (down && gAltGr.held && !gAltGr.asAlt && vk != PlKey::Shift && vk != PlKey::Control) {
        gAltGr.waiting = vk;
        gAltGr.waitingSym = k.keysym.sym;
        return;
    }
    MsgInputKey(vk, down, 0);
}

void Text(const char *utf8)
{
    if (gAltGr.waiting) {
        if (KeysOwnText(utf8, gAltGr.waitingSym)) {
            AltGrTypedNothing();
            return;
        }
        MsgInputKey(gAltGr.waiting, true, 0);
        gAltGr.waiting = 0;
    } else if (gAltGr.leftAlt || gAltGr.asAlt) {
        return;  // Alt+key chooses from the menus; it types nothing
    } else if (!gAltGr.held && (SDL_GetModState() & KMOD_CTRL)) {
        return;  // Ctrl+key is a command (Ctrl+digit opens a window); it types nothing either
    }
    FeedText(utf8);
}

void Wheel(const SDL_MouseWheelEvent &w)
{
    float notches = w.preciseY != 0 ? w.preciseY : float(w.y);
    if (w.direction == SDL_MOUSEWHEEL_FLIPPED) notches = -notches;
    MsgInputWheel(ToScreen(w.mouseX, w.mouseY), int(std::lround(notches * kPlWheelDelta)));
}
}  // namespace

void SdlTranslateEvent(const SDL_Event &e)
{
    if (e.type != SDL_TEXTINPUT) AltGrTypedNothing();
    switch (e.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        Key(e.key);
        break;
    case SDL_TEXTINPUT:
        Text(e.text.text);
        break;
    case SDL_MOUSEMOTION:
        MsgInputMouse(ToScreen(e.motion.x, e.motion.y), 0, false);
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP: {
        int b = e.button.button == SDL_BUTTON_LEFT ? 1 : e.button.button == SDL_BUTTON_RIGHT ? 2 : 0;
        if (b) MsgInputMouse(ToScreen(e.button.x, e.button.y), b, e.type == SDL_MOUSEBUTTONDOWN);
        break;
    }
    case SDL_MOUSEWHEEL:
        Wheel(e.wheel);
        break;
    case SDL_WINDOWEVENT:
        if (e.window.event == SDL_WINDOWEVENT_CLOSE && WinIsWindow(gShown)) MsgPost(gShown, PlMsg::Close, 0, 0);
        else if (e.window.event == SDL_WINDOWEVENT_SIZE_CHANGED && WinIsWindow(gShown)) {
            PlRect r = WinRect(gShown);
            WinMove(gShown, PlRect{r.left, r.top, r.left + e.window.data1, r.top + e.window.data2});
        } else if (e.window.event == SDL_WINDOWEVENT_EXPOSED)
            SdlDisplayPresent(true);
        break;
    case SDL_QUIT:
        if (WinIsWindow(gShown)) MsgPost(gShown, PlMsg::Close, 0, 0);
        break;
    default:
        break;
    }
}

bool SdlTranslateWaiting() { return gAltGr.waiting != 0; }

void SdlTranslateEnd() { AltGrTypedNothing(); }

bool SdlDisplayOpen(std::string *error)
{
    // The program keeps no screen saver away; this also keeps SDL from
    // opening a session-bus connection for that.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
    // Let SDL close its session-bus connection again when it quits.
    SDL_SetHint("SDL_SHUTDOWN_DBUS_ON_QUIT", "1");
    // Only a driver that shows windows will do: left to itself SDL falls back
    // on others when the named display cannot be reached, and the program
    // would run where nobody sees it.
    const char *x = std::getenv("DISPLAY");
    const char *w = std::getenv("WAYLAND_DISPLAY");
    bool hasX = x && *x, hasWayland = w && *w;
    SDL_SetHint(SDL_HINT_VIDEODRIVER, hasX && hasWayland ? "x11,wayland" : hasWayland ? "wayland" : "x11");
    // The frame's pixels go to the window surface. An accelerated surface or
    // renderer would load a 3D stack (a software one on most machines) and
    // several times the program's own memory, for nothing it draws.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_SetHint(SDL_HINT_RENDER_DRIVER, "software");
    LeakCheckPause pause;
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
        if (error) *error = SDL_GetError();
        return false;
    }
    const char *driver = SDL_GetCurrentVideoDriver();
    std::string_view name = driver ? driver : "";
    if (name != "x11" && name != "wayland") {
        if (error) *error = "the video driver \"" + std::string(name) + "\" shows no windows";
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        return false;
    }
    SDL_StartTextInput();
    WinHooksRef().raiseOnDisplay = RaiseOnDisplay;
    // The desktop the program places its frame on is the display's usable area.
    SDL_Rect usable;
    if (SDL_GetDisplayUsableBounds(0, &usable) == 0 && usable.w > 0 && usable.h > 0)
        WinSetDesktopSize(usable.w, usable.h);
    return true;
}

void SdlDisplayClose()
{
    LeakCheckPause pause;
    WinHooksRef().raiseOnDisplay = nullptr;
    for (SDL_Cursor *&c : gCursors) {
        if (c) SDL_FreeCursor(c);
        c = nullptr;
    }
    if (gWindow) SDL_DestroyWindow(gWindow);
    gWindow = nullptr;
    gShown = 0;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
}

bool SdlDisplayPump(int timeoutMs)
{
    SDL_Event e;
    bool got;
    {
        LeakCheckPause pause;
        got = timeoutMs == 0 ? SDL_PollEvent(&e) != 0 : SDL_WaitEventTimeout(&e, timeoutMs < 0 ? 100 : timeoutMs) != 0;
    }
    if (!got) return false;
    int before = MsgPendingCount();
    for (;;) {
        SdlTranslateEvent(e);
        LeakCheckPause pause;
        if (SDL_PollEvent(&e)) continue;
        // A key pressed with AltGr waits a moment for its text, which an
        // input method may send a little later.
        if (!SdlTranslateWaiting() || !SDL_WaitEventTimeout(&e, 50)) break;
    }
    SdlTranslateEnd();
    return MsgPendingCount() != before;
}

void SdlDisplayPresent(bool force)
{
    LeakCheckPause pause;
    uint32_t top = WinActiveWindow();
    if (!WinIsWindow(top) || WinParent(top) != 0) top = gShown;
    if (!WinIsWindow(top) || !WinIsVisible(top)) return;
    cairo_surface_t *s = WinSurface(top);
    if (!s) return;
    int w = cairo_image_surface_get_width(s), h = cairo_image_surface_get_height(s);
    bool changed = WinTakeSurfaceChanged(top);
    if (!gWindow) {
        std::string title = WinTitle(top);
        gWindow = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, w, h,
                                   SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE);
        if (!gWindow) return;
        force = true;
    }
    if (top != gShown) {
        gShown = top;
        SDL_SetWindowTitle(gWindow, WinTitle(top).c_str());
        force = true;
    }
    int ww = 0, wh = 0;
    SDL_GetWindowSize(gWindow, &ww, &wh);
    if (ww != w || wh != h) {
        SDL_SetWindowSize(gWindow, w, h);
        force = true;
    }
    if (!changed && !force) return;
    cairo_surface_flush(s);
    SDL_Surface *src = SDL_CreateRGBSurfaceWithFormatFrom(cairo_image_surface_get_data(s), w, h, 32,
                                                          cairo_image_surface_get_stride(s), SDL_PIXELFORMAT_RGB888);
    SDL_Surface *dst = SDL_GetWindowSurface(gWindow);
    if (src && dst) {
        SDL_BlitSurface(src, nullptr, dst, nullptr);
        SDL_UpdateWindowSurface(gWindow);
    }
    if (src) SDL_FreeSurface(src);
}

bool SdlDisplayReadPixel(int x, int y, uint32_t *rgb)
{
    if (!gWindow) return false;
    SDL_Surface *dst = SDL_GetWindowSurface(gWindow);
    if (!dst || x < 0 || y < 0 || x >= dst->w || y >= dst->h) return false;
    if (SDL_LockSurface(dst) != 0) return false;
    const auto *row = static_cast<const uint8_t *>(dst->pixels) + size_t(y) * size_t(dst->pitch);
    uint32_t px = 0;
    std::memcpy(&px, row + size_t(x) * dst->format->BytesPerPixel,
                dst->format->BytesPerPixel > 4 ? 4 : dst->format->BytesPerPixel);
    SDL_UnlockSurface(dst);
    uint8_t r, g, b;
    SDL_GetRGB(px, dst->format, &r, &g, &b);
    *rgb = (uint32_t(r) << 16) | (uint32_t(g) << 8) | b;
    return true;
}

void SdlDisplaySetCursor(PlCursor shape)
{
    LeakCheckPause pause;
    int i = shape == PlCursor::Wait ? 1 : 0;
    if (!gCursors[i]) gCursors[i] = SDL_CreateSystemCursor(i ? SDL_SYSTEM_CURSOR_WAIT : SDL_SYSTEM_CURSOR_ARROW);
    if (gCursors[i]) SDL_SetCursor(gCursors[i]);
}
