// MDI client and children: message order of create, activate, maximise,
// paint and destroy; the next active child; cascade, tile and arrange.
#include <gtest/gtest.h>

#include <vector>

#include "platform/mdi.h"
#include "platform/queue.h"
#include "platform/window.h"
#include "tests/platform/message_log.h"

namespace {
uint32_t gClient = 0;

intptr_t FrameProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    return MdiDefFrameProc(win, gClient, msg, wParam, lParam);
}

intptr_t DocProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam)
{
    if (msg != PlMsg::EraseBkgnd && msg != PlMsg::Move && msg != PlMsg::KillFocus)
        gLog.push_back({win, msg, wParam, lParam});
    return MdiDefChildProc(win, msg, wParam, lParam);
}

class WindowMdi : public ::testing::Test {
protected:
    uint32_t frame = 0;
    void SetUp() override
    {
        WinResetAll();
        gLog.clear();
        ASSERT_TRUE(WinRegisterClass({"m4frame", FrameProc, 13, kPlWorkspace, PlClassStyle::DblClks, 0}));
        ASSERT_TRUE(WinRegisterClass({"m4doc", DocProc, 15, kPlLightGrey, PlClassStyle::DblClks, 4}));
        frame = WinCreate("m4frame", "Orvel", PlStyle::Visible, {0, 0, 640, 480}, 0, 0, 0);
        gClient = MdiCreateClient(frame, {0, 30, 640, 480}, PlStyle::ClipChildren, 3244, 1);
        ASSERT_NE(gClient, 0u);
    }
    void TearDown() override { WinResetAll(); }
    uint32_t Doc(const char *title, PlRect r = {10, 10, 210, 160})
    {
        PlMdiCreate cs{"m4doc", title, r, PlStyle::OverlappedWindow | PlStyle::ClipChildren, 0};
        return uint32_t(WinSend(gClient, PlMsg::MdiCreate, 0, reinterpret_cast<intptr_t>(&cs)));
    }
};

TEST_F(WindowMdi, CreateActivateAndDestroyOrder)
{
    uint32_t a = Doc("A");
    ASSERT_NE(a, 0u);
    EXPECT_EQ(Msgs(a), (std::vector<uint32_t>{PlMsg::Create, PlMsg::Size, PlMsg::ShowWindow, PlMsg::MdiActivate,
                                              PlMsg::SetFocus}));
    EXPECT_EQ(gLog[3].lParam, intptr_t(a)) << "lParam names the child being activated";
    EXPECT_EQ(MdiGetActive(gClient, nullptr), a);
    EXPECT_EQ(WinFocus(), a);
    EXPECT_EQ(WinControlId(a), 1);

    gLog.clear();
    uint32_t b = Doc("B");
    // The old child hears of its deactivation before the new one is activated.
    std::vector<std::pair<uint32_t, uint32_t>> acts;
    for (auto &r : gLog)
        if (r.msg == PlMsg::MdiActivate) acts.push_back({r.win, uint32_t(r.lParam)});
    ASSERT_EQ(acts.size(), 2u);
    EXPECT_EQ(acts[0], (std::pair<uint32_t, uint32_t>{a, b}));
    EXPECT_EQ(acts[1], (std::pair<uint32_t, uint32_t>{b, b}));
    EXPECT_EQ(WinFirstChild(gClient), b);

    // Paint of the new children comes from the queue after the creation.
    gLog.clear();
    MsgPumpPending();
    EXPECT_FALSE(Msgs(b).empty());
    EXPECT_EQ(Msgs(b).front(), PlMsg::Paint);

    gLog.clear();
    WinSend(gClient, PlMsg::MdiActivate, a, 0);
    ASSERT_GE(gLog.size(), 3u);
    EXPECT_EQ(gLog[0].win, b);
    EXPECT_EQ(gLog[0].msg, PlMsg::MdiActivate);
    EXPECT_EQ(gLog[0].wParam, uintptr_t(b));
    EXPECT_EQ(gLog[1].win, a);
    EXPECT_EQ(gLog[1].msg, PlMsg::MdiActivate);
    EXPECT_EQ(gLog[2].msg, PlMsg::SetFocus);

    // Destroying the active child activates the next one first.
    gLog.clear();
    uint32_t c = Doc("C");
    gLog.clear();
    WinSend(gClient, PlMsg::MdiDestroy, c, 0);
    std::vector<uint32_t> order;
    for (auto &r : gLog) order.push_back(r.msg);
    ASSERT_GE(order.size(), 3u);
    EXPECT_EQ(gLog[0].win, c);
    EXPECT_EQ(gLog[0].msg, PlMsg::MdiActivate);
    EXPECT_EQ(gLog[1].win, a) << "the child below in z-order comes next";
    EXPECT_EQ(gLog[1].msg, PlMsg::MdiActivate);
    EXPECT_EQ(order.back(), PlMsg::Destroy);
    EXPECT_EQ(MdiNextActivated(gClient), a);
    EXPECT_EQ(MdiGetActive(gClient, nullptr), a);
    EXPECT_FALSE(WinIsWindow(c));

    // A close box press goes through the client as well.
    MsgPost(a, PlMsg::Close, 0, 0);
    MsgPumpPending();
    EXPECT_FALSE(WinIsWindow(a));
    EXPECT_EQ(MdiGetActive(gClient, nullptr), b);
    WinSend(gClient, PlMsg::MdiDestroy, b, 0);
    EXPECT_EQ(MdiGetActive(gClient, nullptr), 0u);
    EXPECT_EQ(MdiNextActivated(gClient), 0u);
}

TEST_F(WindowMdi, MaximiseCarriesOverAndRestores)
{
    uint32_t a = Doc("A");
    uint32_t b = Doc("B", {50, 50, 250, 200});
    gLog.clear();
    WinSend(gClient, PlMsg::MdiMaximize, b, 0);
    ASSERT_FALSE(Msgs(b).empty());
    EXPECT_EQ(Msgs(b).front(), PlMsg::Size);
    EXPECT_EQ(gLog[0].wParam, kPlSizeMaximized);
    PlRect cc = WinClientRect(gClient);
    EXPECT_EQ(PlLoWord(gLog[0].lParam), PlRectWidth(cc));
    EXPECT_EQ(PlHiWord(gLog[0].lParam), PlRectHeight(cc));
    bool maxed = false;
    EXPECT_EQ(MdiGetActive(gClient, &maxed), b);
    EXPECT_TRUE(maxed);
    EXPECT_TRUE(PlRectEqual(WinClientScreenRect(b), WinClientScreenRect(gClient)));

    // Activating another child keeps maximised mode; the old one is restored.
    MdiActivate(gClient, a);
    EXPECT_TRUE(WinIsZoomed(a));
    EXPECT_FALSE(WinIsZoomed(b));
    EXPECT_TRUE(PlRectEqual(WinRect(b), PlRect{50, 50, 250, 200}));
    // A new child is maximised too.
    uint32_t c = Doc("C");
    EXPECT_TRUE(WinIsZoomed(c));
    EXPECT_FALSE(WinIsZoomed(a));
    MdiRestore(c);
    EXPECT_FALSE(WinIsZoomed(c));
    MdiGetActive(gClient, &maxed);
    EXPECT_FALSE(maxed);
    EXPECT_TRUE(PlRectEqual(WinRect(c), PlRect{10, 10, 210, 160}));

    MdiMinimize(c);
    EXPECT_TRUE(WinIsIconic(c));
    MdiMinimize(a);
    MdiArrangeIcons(gClient);
    PlRect ra = WinRect(a), rc = WinRect(c);
    EXPECT_EQ(ra.bottom, cc.bottom);
    EXPECT_EQ(rc.bottom, cc.bottom);
    EXPECT_NE(ra.left, rc.left) << "icons side by side";
}

TEST_F(WindowMdi, ChildDestroyedDirectlyPassesActivationOn)
{
    // A child destroyed without the client's help (destroy instead of the
    // MDI destroy message) must not leave the client pointing at it.
    uint32_t a = Doc("A");
    uint32_t b = Doc("B", {50, 50, 250, 200});
    MdiMaximize(b);
    gLog.clear();
    WinDestroy(b);
    bool maxed = false;
    EXPECT_EQ(MdiGetActive(gClient, &maxed), a) << "the next child is active";
    EXPECT_TRUE(maxed) << "and takes over maximised mode";
    EXPECT_TRUE(WinIsZoomed(a));
    EXPECT_EQ(WinFocus(), a);
    bool toA = false;
    for (auto &r : gLog) toA = toA || (r.win == a && r.msg == PlMsg::MdiActivate && uint32_t(r.lParam) == a);
    EXPECT_TRUE(toA) << "the new child hears of its activation";

    // The last child: nothing is active and maximised mode ends.
    WinDestroy(a);
    EXPECT_EQ(MdiGetActive(gClient, &maxed), 0u);
    EXPECT_FALSE(maxed);
    uint32_t c = Doc("C");
    EXPECT_FALSE(WinIsZoomed(c)) << "a new child opens at its own size";
}

TEST_F(WindowMdi, CascadeAndTile)
{
    uint32_t a = Doc("A"), b = Doc("B"), c = Doc("C");
    PlRect cc = WinClientRect(gClient);
    WinSend(gClient, PlMsg::MdiTile, kPlTileHorizontal, 0);
    PlRect ra = WinRect(a), rb = WinRect(b), rc = WinRect(c);
    for (PlRect r : {ra, rb, rc}) {
        EXPECT_EQ(r.left, 0);
        EXPECT_EQ(r.right, cc.right);
    }
    // The active (topmost) child takes the first place.
    EXPECT_EQ(rc.top, 0);
    EXPECT_EQ(rc.bottom, rb.top);
    EXPECT_EQ(rb.bottom, ra.top);
    EXPECT_EQ(PlRectHeight(ra) + PlRectHeight(rb) + PlRectHeight(rc), PlRectHeight(cc));

    WinSend(gClient, PlMsg::MdiTile, kPlTileVertical, 0);
    ra = WinRect(a);
    rb = WinRect(b);
    EXPECT_EQ(ra.top, 0);
    EXPECT_EQ(ra.bottom, cc.bottom);
    EXPECT_EQ(rb.right, ra.left);

    // Tiling with skip-disabled leaves a disabled child alone.
    WinEnable(b, false);
    PlRect before = WinRect(b);
    WinSend(gClient, PlMsg::MdiTile, kPlTileHorizontal | kPlTileSkipDisabled, 0);
    EXPECT_TRUE(PlRectEqual(WinRect(b), before));
    WinEnable(b, true);

    WinSend(gClient, PlMsg::MdiCascade, 0, 0);
    ra = WinRect(a);
    rb = WinRect(b);
    rc = WinRect(c);
    // The active (topmost) child ends up at the largest offset.
    EXPECT_LT(ra.left, rc.left);
    EXPECT_EQ(rb.left - ra.left, rc.left - rb.left);
    EXPECT_EQ(rc.top - rb.top, rb.top - ra.top);
    EXPECT_EQ(PlRectWidth(ra), PlRectWidth(rc));
}
}  // namespace
