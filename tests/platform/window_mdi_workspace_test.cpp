// The MDI workspace as a user works it: Ctrl+F4 and Ctrl+F6 through the
// loops' key translation, sizing a child by its frame, the workspace's scroll
// bars, and saving and restoring a child's placement.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/control.h"
#include "platform/mdi.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "platform/window.h"

namespace {
uint32_t gClient = 0;
bool gRefuseClose = false;
std::vector<uint32_t> gClosed;           // children that were asked to close
std::vector<PlMessage> gSizes;           // size messages of the children
std::vector<uint32_t> gKeys;             // key-downs that reached a child

constexpr uint32_t kF4 = PlKey::F1 + 3, kF6 = PlKey::F1 + 5;

intptr_t FrameProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    return MdiDefFrameProc(win, gClient, msg, wParam, lParam);
}

intptr_t DocProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    if (msg == PlMsg::Close) {
        gClosed.push_back(win);
        if (gRefuseClose) return 0;
    }
    if (msg == PlMsg::Size) gSizes.push_back(PlMessage{win, msg, wParam, lParam, 0, {0, 0}, 0});
    if (msg == PlMsg::KeyDown) gKeys.push_back(uint32_t(wParam));
    return MdiDefChildProc(win, msg, wParam, lParam);
}

// The program's loop: the workspace keys first, then translate and dispatch.
void RunLoop()
{
    PlMessage m;
    while (MsgGet(&m) == PlGet::Message) {
        if (MdiTranslateAccel(gClient, m)) continue;
        MsgTranslate(m);
        MsgDispatch(m);
    }
}

// A press at one screen point, moves and a release at another.
void Drag(PlPoint from, PlPoint to)
{
    MsgInputMouse(from, 0, false);
    MsgInputMouse(from, 1, true);
    MsgInputMouse(PlPoint{(from.x + to.x) / 2, (from.y + to.y) / 2}, 0, false);
    MsgInputMouse(to, 0, false);
    MsgInputMouse(to, 1, false);
}

class MdiWorkspace : public ::testing::Test {
protected:
    uint32_t frame = 0;
    void SetUp() override
    {
        WinResetAll();
        gClosed.clear();
        gSizes.clear();
        gKeys.clear();
        gRefuseClose = false;
        ASSERT_TRUE(WinRegisterClass({"m4frame", FrameProc, 13, kPlWorkspace, 0, 0}));
        ASSERT_TRUE(WinRegisterClass({"m4doc", DocProc, 15, kPlLightGrey, 0, 4}));
        frame = WinCreate("m4frame", "Orvel", PlStyle::Visible, {0, 0, 640, 480}, 0, 0, 0);
        gClient = MdiCreateClient(frame, {0, 30, 640, 480}, PlStyle::HScroll | PlStyle::VScroll, 3244, 1);
        ASSERT_NE(gClient, 0u);
    }
    void TearDown() override { WinResetAll(); }
    uint32_t Doc(PlRect r, uint32_t style = PlStyle::OverlappedWindow)
    {
        PlMdiCreate cs{"m4doc", "Doc", r, style, 0};
        return MdiCreateChild(gClient, cs);
    }
    static PlScrollInfo Bar(bool vertical)
    {
        PlScrollInfo info{};
        EXPECT_TRUE(WinGetScrollInfo(gClient, vertical, &info));
        return info;
    }
};

TEST_F(MdiWorkspace, CtrlF6CyclesAndCtrlF4ClosesTheActiveChild)
{
    uint32_t a = Doc({10, 10, 210, 160});
    uint32_t b = Doc({40, 40, 240, 190});
    ASSERT_EQ(MdiGetActive(gClient, nullptr), b);

    ScriptKey(kF6, false, true);
    RunLoop();
    EXPECT_EQ(MdiGetActive(gClient, nullptr), a);
    EXPECT_EQ(WinFocus(), a);
    ScriptKey(kF6, false, true);
    RunLoop();
    EXPECT_EQ(MdiGetActive(gClient, nullptr), b);
    EXPECT_TRUE(gKeys.empty() || gKeys == std::vector<uint32_t>(gKeys.size(), PlKey::Control))
        << "the taken keys do not reach the child";

    // The child is asked, and may refuse.
    gRefuseClose = true;
    ScriptKey(kF4, false, true);
    RunLoop();
    EXPECT_EQ(gClosed, std::vector<uint32_t>{b});
    EXPECT_TRUE(WinIsWindow(b));
    gRefuseClose = false;
    ScriptKey(kF4, false, true);
    RunLoop();
    EXPECT_FALSE(WinIsWindow(b));
    EXPECT_EQ(MdiGetActive(gClient, nullptr), a);

    // Without Ctrl, or with Shift as well, the keys are the program's.
    gClosed.clear();
    gKeys.clear();
    ScriptKey(kF4);
    ScriptKey(kF4, true, true);
    RunLoop();
    EXPECT_TRUE(gClosed.empty());
    EXPECT_EQ(std::count(gKeys.begin(), gKeys.end(), kF4), 2);

    // Pressed in a window outside the workspace (a dialog of its own), they
    // leave the children alone.
    uint32_t dialog = WinCreate("m4doc", "Dialog", PlStyle::Visible, {100, 100, 300, 200}, 0, 0, 0);
    ASSERT_EQ(WinFocus(), dialog);
    gKeys.clear();
    ScriptKey(kF4, false, true);
    RunLoop();
    EXPECT_TRUE(gClosed.empty());
    EXPECT_TRUE(WinIsWindow(a));
    EXPECT_EQ(std::count(gKeys.begin(), gKeys.end(), kF4), 1) << "the dialog gets the key itself";
}

TEST_F(MdiWorkspace, DraggingTheFrameSizesTheChild)
{
    uint32_t a = Doc({10, 10, 210, 160});
    PlRect sr = WinScreenRect(a);
    gSizes.clear();
    // Press the bottom-right corner and hold: the child has the mouse.
    PlPoint corner{sr.right - 2, sr.bottom - 2};
    MsgInputMouse(corner, 1, true);
    RunLoop();
    EXPECT_EQ(WinCapture(), a);
    MsgInputMouse(PlPoint{corner.x + 50, corner.y + 30}, 0, false);
    MsgInputMouse(PlPoint{corner.x + 50, corner.y + 30}, 1, false);
    RunLoop();
    EXPECT_TRUE(PlRectEqual(WinRect(a), PlRect{10, 10, 260, 190}));
    EXPECT_EQ(WinCapture(), 0u) << "the release ends the capture";
    ASSERT_FALSE(gSizes.empty()) << "the child hears of its new size";
    PlRect c = WinClientRect(a);
    EXPECT_EQ(gSizes.back().wParam, kPlSizeRestored);
    EXPECT_EQ(PlLoWord(gSizes.back().lParam), PlRectWidth(c));
    EXPECT_EQ(PlHiWord(gSizes.back().lParam), PlRectHeight(c));

    // The left edge moves the left side only, and stops at a minimum size.
    sr = WinScreenRect(a);
    Drag(PlPoint{sr.left + 1, sr.top + 60}, PlPoint{sr.left + 1 + 400, sr.top + 60});
    RunLoop();
    PlRect r = WinRect(a);
    EXPECT_EQ(r.right, 260);
    EXPECT_EQ(r.top, 10);
    EXPECT_EQ(r.bottom, 190);
    EXPECT_GE(PlRectWidth(r), 100) << "a child cannot be dragged away to nothing";
    EXPECT_LT(PlRectWidth(r), 250);
    // The top edge up by 5.
    sr = WinScreenRect(a);
    Drag(PlPoint{sr.left + 40, sr.top + 1}, PlPoint{sr.left + 40, sr.top - 4});
    RunLoop();
    EXPECT_EQ(WinRect(a).top, 5);
    EXPECT_EQ(WinRect(a).bottom, 190);

    // A fixed frame and a maximised child do not size.
    uint32_t fixed = Doc({300, 10, 500, 150}, PlStyle::Caption | PlStyle::DlgFrame);
    sr = WinScreenRect(fixed);
    Drag(PlPoint{sr.right - 1, sr.bottom - 1}, PlPoint{sr.right + 40, sr.bottom + 40});
    RunLoop();
    EXPECT_TRUE(PlRectEqual(WinRect(fixed), PlRect{300, 10, 500, 150}));
    MdiMaximize(a);
    PlRect maxed = WinRect(a);
    PlRect cs = WinClientScreenRect(gClient);
    Drag(PlPoint{cs.right - 1, cs.bottom - 1}, PlPoint{cs.right - 60, cs.bottom - 60});
    RunLoop();
    EXPECT_TRUE(PlRectEqual(WinRect(a), maxed));
    EXPECT_EQ(WinCapture(), 0u);
}

TEST_F(MdiWorkspace, ScrollBarsCoverEveryChildAndScrollingMovesThem)
{
    uint32_t a = Doc({10, 10, 210, 160});
    EXPECT_FALSE(Bar(false).shown);
    EXPECT_FALSE(Bar(true).shown);
    EXPECT_EQ(PlRectWidth(WinClientRect(gClient)), 640);

    // A child moved partly out of the workspace at the bottom right.
    uint32_t b = Doc({10, 10, 210, 160});
    WinMove(b, PlRect{500, 300, 800, 500});
    PlScrollInfo h = Bar(false), v = Bar(true);
    ASSERT_TRUE(h.shown);
    ASSERT_TRUE(v.shown);
    PlRect area = WinClientRect(gClient);
    EXPECT_EQ(PlRectWidth(area), 640 - kPlFrameBarWidth) << "the bars take their room from the client area";
    EXPECT_EQ(PlRectHeight(area), 450 - kPlFrameBarWidth);
    EXPECT_EQ(h.page, PlRectWidth(area));
    EXPECT_LE(h.min, 0);
    EXPECT_GE(h.max + 1, 800);
    EXPECT_GE(v.max + 1, 500);

    // A click in the track right of the thumb pages right; the children move.
    PlRect cs = WinClientScreenRect(gClient);
    MsgInputMouse(PlPoint{cs.right - kPlFrameBarWidth - 4, cs.bottom + kPlFrameBarWidth / 2}, 1, true);
    MsgInputMouse(PlPoint{cs.right - kPlFrameBarWidth - 4, cs.bottom + kPlFrameBarWidth / 2}, 1, false);
    RunLoop();
    EXPECT_LE(WinRect(b).right, PlRectWidth(WinClientRect(gClient)));
    EXPECT_EQ(WinRect(a).left - WinRect(b).left, 10 - 500) << "all children move together";
    h = Bar(false);
    ASSERT_TRUE(h.shown) << "the first child is now out at the left";
    EXPECT_EQ(h.min, WinRect(a).left);
    WinSend(gClient, PlMsg::VScroll, PlSb::Bottom, 0);
    area = WinClientRect(gClient);
    EXPECT_TRUE(PlRectEqual(PlRectIntersect(WinRect(b), area), WinRect(b))) << "the child is in view";

    // Dragging the horizontal thumb to the start brings the first child back
    // to the left edge.
    h = Bar(false);
    cs = WinClientScreenRect(gClient);
    int y = cs.bottom + kPlFrameBarWidth / 2;
    int thumbAt = cs.right - kPlFrameBarWidth - 12;  // the thumb sits at the right end
    Drag(PlPoint{thumbAt, y}, PlPoint{cs.left - 200, y});
    RunLoop();
    EXPECT_EQ(WinRect(a).left, 0);
    EXPECT_EQ(WinCapture(), 0u);

    // No bars while a child is maximised; they come back with the restore.
    MdiMaximize(a);
    EXPECT_FALSE(Bar(false).shown);
    EXPECT_FALSE(Bar(true).shown);
    MdiRestore(a);
    EXPECT_TRUE(Bar(true).shown);
    // Back at the top, the second child is the only one that stands out:
    // closing it takes the bars away.
    WinSend(gClient, PlMsg::VScroll, PlSb::Top, 0);
    EXPECT_EQ(WinRect(a).top, 0);
    EXPECT_TRUE(Bar(false).shown);
    WinSend(gClient, PlMsg::MdiDestroy, b, 0);
    EXPECT_FALSE(Bar(false).shown);
    EXPECT_FALSE(Bar(true).shown);
    EXPECT_EQ(PlRectWidth(WinClientRect(gClient)), 640);

    // A minimised child scrolls along: restored, it stands where its normal
    // rectangle moved to.
    MdiMinimize(a);
    uint32_t c = Doc({600, 10, 900, 160});
    ASSERT_TRUE(Bar(false).shown);
    WinSend(gClient, PlMsg::HScroll, PlSb::Bottom, 0);
    int moved = WinRect(c).left - 600;
    ASSERT_LT(moved, 0);
    MdiRestore(a);
    EXPECT_EQ(WinRect(a).left, moved);

    // A client without the styles has no bars to set.
    PlScrollInfo none{};
    EXPECT_FALSE(WinGetScrollInfo(a, true, &none));
    EXPECT_FALSE(WinSetScrollInfo(a, true, 0, 1000, 10, 0));
}

TEST_F(MdiWorkspace, PlacementRoundTrips)
{
    uint32_t a = Doc({10, 10, 210, 160});
    uint32_t b = Doc({30, 30, 230, 180});
    PlPlacement p{};
    ASSERT_TRUE(WinGetPlacement(a, &p));
    EXPECT_EQ(p.show, PlShow::Normal);
    EXPECT_TRUE(PlRectEqual(p.normal, PlRect{10, 10, 210, 160}));

    // Maximised through the client: it knows, and a restore returns to the
    // normal rectangle that was set.
    ASSERT_TRUE(WinSetPlacement(a, PlPlacement{PlShow::Maximized, {20, 25, 320, 225}}));
    bool maxed = false;
    EXPECT_EQ(MdiGetActive(gClient, &maxed), a);
    EXPECT_TRUE(maxed);
    ASSERT_TRUE(WinGetPlacement(a, &p));
    EXPECT_EQ(p.show, PlShow::Maximized);
    EXPECT_TRUE(PlRectEqual(p.normal, PlRect{20, 25, 320, 225}));
    MdiRestore(a);
    EXPECT_TRUE(PlRectEqual(WinRect(a), PlRect{20, 25, 320, 225}));

    // Minimised and back to normal somewhere else.
    ASSERT_TRUE(WinSetPlacement(b, PlPlacement{PlShow::Minimized, {50, 60, 250, 200}}));
    EXPECT_TRUE(WinIsIconic(b));
    ASSERT_TRUE(WinGetPlacement(b, &p));
    EXPECT_EQ(p.show, PlShow::Minimized);
    EXPECT_TRUE(PlRectEqual(p.normal, PlRect{50, 60, 250, 200}));
    ASSERT_TRUE(WinSetPlacement(b, PlPlacement{PlShow::Normal, {70, 80, 270, 220}}));
    EXPECT_FALSE(WinIsIconic(b));
    EXPECT_TRUE(PlRectEqual(WinRect(b), PlRect{70, 80, 270, 220}));

    // A damaged placement changes nothing.
    EXPECT_FALSE(WinSetPlacement(b, PlPlacement{PlShow::Normal, {70, 80, 70, 220}}));
    EXPECT_FALSE(WinSetPlacement(b, PlPlacement{PlShow::Maximized, {300, 80, 100, 220}}));
    EXPECT_FALSE(WinSetPlacement(b, PlPlacement{PlShow::Hide, {70, 80, 270, 220}}));
    EXPECT_TRUE(PlRectEqual(WinRect(b), PlRect{70, 80, 270, 220}));
    EXPECT_FALSE(WinIsZoomed(b));
    EXPECT_FALSE(WinGetPlacement(0xFFFFFFu, &p));
}
}  // namespace
