// The display back ends: a clear refusal without a display, and the SDL
// back end showing the frame's pixels and feeding SDL events into the queue
// (skipped when no display is present).
#include <gtest/gtest.h>

#include <SDL.h>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/display.h"
#include "platform/draw.h"
#include "platform/menu.h"
#include "platform/queue.h"
#include "platform/window.h"

namespace {
struct Got {
    uint32_t msg;
    uintptr_t wParam;
    intptr_t lParam;
};
std::vector<Got> gGot;
int gMenusOpened = 0;

intptr_t BlueProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    if (msg == PlMsg::KeyDown || msg == PlMsg::Char || msg == PlMsg::LButtonDown || msg == PlMsg::SysKeyDown)
        gGot.push_back({msg, wParam, lParam});
    if (msg == PlMsg::InitMenu) ++gMenusOpened;
    return WinDefProc(win, msg, wParam, lParam);
}

SDL_Event KeyEvent(bool down, SDL_Keycode sym, uint16_t mod)
{
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.type = e.type;
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = sym;
    e.key.keysym.mod = mod;
    return e;
}

SDL_Event TextEvent(const char *utf8)
{
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_TEXTINPUT;
    std::strcpy(e.text.text, utf8);
    return e;
}

// Feeds a run of SDL events as the back end does and handles what they post.
void Feed(std::initializer_list<SDL_Event> events)
{
    for (const SDL_Event &e : events) SdlTranslateEvent(e);
    SdlTranslateEnd();
    MsgPumpPending();
}

class EnvGuard {
public:
    // Unsets the variable, or sets it to `value`, until the guard goes.
    explicit EnvGuard(const char *name, const char *value = nullptr) : name_(name)
    {
        const char *v = std::getenv(name);
        had_ = v != nullptr;
        if (had_) value_ = v;
        if (value) setenv(name, value, 1);
        else unsetenv(name);
    }
    ~EnvGuard()
    {
        if (had_) setenv(name_, value_.c_str(), 1);
        else unsetenv(name_);
    }

private:
    const char *name_;
    bool had_ = false;
    std::string value_;
};

TEST(DisplayBackEnd, RefusesClearlyWithoutADisplay)
{
    EnvGuard x("DISPLAY"), w("WAYLAND_DISPLAY");
    std::string error;
    EXPECT_FALSE(DisplayAvailable());
    EXPECT_FALSE(DisplayOpen(PlDisplayKind::Screen, &error));
    EXPECT_NE(error.find("no display"), std::string::npos) << error;
    EXPECT_FALSE(DisplayIsScreen());
    EXPECT_TRUE(DisplayOpen(PlDisplayKind::Headless, &error));
    uint32_t rgb = 0;
    EXPECT_FALSE(DisplayReadPixel(0, 0, &rgb)) << "headless shows nothing";
}

TEST(DisplayBackEnd, RefusesADisplayThatDoesNotAnswer)
{
    // Nothing listens at display 999: the program must not run unseen.
    EnvGuard x("DISPLAY", ":999"), w("WAYLAND_DISPLAY");
    std::string error;
    EXPECT_TRUE(DisplayAvailable());
    EXPECT_FALSE(DisplayOpen(PlDisplayKind::Screen, &error));
    EXPECT_FALSE(DisplayIsScreen());
    EXPECT_NE(error.find("\":999\""), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << "one line";
    // Nor with a driver that shows nothing, asked for by name.
    EnvGuard driver("SDL_VIDEODRIVER", "offscreen");
    EXPECT_FALSE(DisplayOpen(PlDisplayKind::Screen, &error));
    EXPECT_FALSE(DisplayIsScreen());
    EXPECT_NE(error.find("offscreen"), std::string::npos) << error;
}

TEST(DisplayBackEnd, AltGrTypesCharactersAndNeverOpensMenus)
{
    WinResetAll();
    gGot.clear();
    gMenusOpened = 0;
    ASSERT_TRUE(WinRegisterClass({"Blue", BlueProc, 0, PlRgb(0, 0, 255), 0, 0}));
    uint32_t top = WinCreate("Blue", "Orvel test", PlStyle::Visible, {0, 0, 300, 200}, 0, 0, 0);
    uint32_t bar = MenuCreateBar(), edit = MenuCreatePopup();
    MenuAppend(edit, 0, 201, "&Copy");
    MenuAppend(bar, PlMenuFlag::Popup, edit, "&Edit");
    ASSERT_TRUE(WinSetMenu(top, bar));
    MsgPumpPending();

    // A Swedish keyboard: AltGr+E types the euro sign (0x80 in cp1252). Some
    // layouts report AltGr as right Alt, others as the mode-switch key.
    for (SDL_Keycode altGr : {SDLK_RALT, SDLK_MODE}) {
        uint16_t mod = altGr == SDLK_RALT ? KMOD_RALT : KMOD_MODE;
        gGot.clear();
        Feed({KeyEvent(true, altGr, mod), KeyEvent(true, SDLK_e, mod), TextEvent("\xE2\x82\xAC"),
              KeyEvent(false, SDLK_e, mod), KeyEvent(false, altGr, 0)});
        ASSERT_EQ(gGot.size(), 2u) << altGr;
        EXPECT_EQ(gGot[0].msg, PlMsg::KeyDown);
        EXPECT_EQ(gGot[0].wParam, uintptr_t('E'));
        EXPECT_EQ(gGot[1].msg, PlMsg::Char);
        EXPECT_EQ(gGot[1].wParam, 0x80u);
        EXPECT_EQ(gMenusOpened, 0);
        EXPECT_EQ(PlKeyState(PlKey::Menu), 0) << "AltGr leaves no Alt held";
    }
    // Right Alt on a layout without AltGr gives the key's own letter, or no
    // text: it is Alt, and Alt+E opens the Edit menu and types nothing, as
    // left Alt+E does.
    int opened = 0;
    for (const char *text : {"e", ""}) {
        gGot.clear();
        if (*text)
            Feed({KeyEvent(true, SDLK_RALT, KMOD_RALT), KeyEvent(true, SDLK_e, KMOD_RALT), TextEvent(text),
                  KeyEvent(false, SDLK_e, KMOD_RALT), KeyEvent(false, SDLK_RALT, 0)});
        else
            Feed({KeyEvent(true, SDLK_RALT, KMOD_RALT), KeyEvent(true, SDLK_e, KMOD_RALT),
                  KeyEvent(false, SDLK_e, KMOD_RALT), KeyEvent(false, SDLK_RALT, 0)});
        EXPECT_EQ(gMenusOpened, ++opened) << '"' << text << '"';
        ASSERT_EQ(gGot.size(), 1u);
        EXPECT_EQ(gGot[0].msg, PlMsg::SysKeyDown);
    }
    gGot.clear();
    Feed({KeyEvent(true, SDLK_LALT, KMOD_LALT), KeyEvent(true, SDLK_e, KMOD_LALT), TextEvent("e"),
          KeyEvent(false, SDLK_e, KMOD_LALT), KeyEvent(false, SDLK_LALT, 0)});
    EXPECT_EQ(gMenusOpened, opened + 1);
    ASSERT_EQ(gGot.size(), 1u) << "no character";
    EXPECT_EQ(PlKeyState(PlKey::Menu), 0);
    WinResetAll();
}

TEST(DisplayBackEnd, SdlShowsTheFrameAndFeedsInput)
{
    if (!DisplayAvailable()) GTEST_SKIP() << "no display present";
    std::string error;
    if (!DisplayOpen(PlDisplayKind::Screen, &error)) GTEST_SKIP() << error;
    WinResetAll();
    gGot.clear();
    ASSERT_TRUE(WinRegisterClass({"Blue", BlueProc, 0, PlRgb(0, 0, 255), 0, 0}));
    uint32_t top = WinCreate("Blue", "Orvel test", PlStyle::Visible, {0, 0, 200, 120}, 0, 0, 0);
    PlMessage m;
    while (MsgGetTimeout(&m, 50) == PlGet::Message) MsgDispatch(m);
    DrawContext *dc = WinGetDc(top);
    DcFillRect(dc, {10, 10, 20, 20}, PlSolidBrush(PlRgb(255, 0, 0)));
    WinReleaseDc(top, dc);
    DisplayPresent();
    uint32_t rgb = 0;
    ASSERT_TRUE(DisplayReadPixel(100, 100, &rgb));
    EXPECT_EQ(rgb, PlRgb(0, 0, 255));
    ASSERT_TRUE(DisplayReadPixel(15, 15, &rgb));
    EXPECT_EQ(rgb, PlRgb(255, 0, 0));

    // SDL events become queue messages for the window.
    SDL_Event e;
    std::memset(&e, 0, sizeof e);
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = SDLK_RETURN;
    SDL_PushEvent(&e);
    std::memset(&e, 0, sizeof e);
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = 30;
    e.button.y = 40;
    SDL_PushEvent(&e);
    for (int i = 0; i < 50 && gGot.size() < 3; ++i) {
        if (MsgGetTimeout(&m, 20) != PlGet::Message) continue;
        MsgTranslate(m);
        MsgDispatch(m);
    }
    DisplayClose();
    WinResetAll();
    ASSERT_EQ(gGot.size(), 3u);
    EXPECT_EQ(gGot[0].msg, PlMsg::KeyDown);
    EXPECT_EQ(gGot[0].wParam, PlKey::Return);
    EXPECT_EQ(gGot[1].msg, PlMsg::Char);
    EXPECT_EQ(gGot[1].wParam, 13u);
    EXPECT_EQ(gGot[2].msg, PlMsg::LButtonDown);
    EXPECT_EQ(PlLoShort(gGot[2].lParam), 30);
    EXPECT_EQ(PlHiShort(gGot[2].lParam), 40);
}
}  // namespace
