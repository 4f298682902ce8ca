// The frame's and the children's window procedures: the busy guard that
// drops user commands while paint, size and socket events go on, the
// Window-menu commands, About, and activation.
#include "shell_fixture.h"

#include "platform/control.h"
#include "shell/frame_commands.h"
#include "shell/net_services.h"

namespace {

struct SocketCall {
    int count;
    uint32_t win;
    int socket, bits;
};
SocketCall LastSocket;

void FakeSocketEvent(uint32_t win, int socket, int bits) { LastSocket = {LastSocket.count + 1, win, socket, bits}; }

intptr_t Command(uint32_t win, int id, uint32_t control = 0)
{
    return MsgSend(win, PlMsg::Command, uintptr_t(id), intptr_t(control));
}

using Procedures = TestWindows;

}  // namespace

TEST_F(Procedures, BusyDropsUserCommandsButPaintSizeAndSocketsRun)
{
    int a = OpenWindow(TypeArticle, 0), b = OpenWindow(TypeUnnamed, 0), c = OpenWindow(TypeList, 0);
    ASSERT_TRUE(a && b && c);
    BusyFlag = 1;
    StateRefreshFlag = 0;

    Command(FrameWindow, FrameCmd::CloseAll);
    Command(FrameWindow, FrameCmd::FileExit);
    MsgSend(FrameWindow, PlMsg::Close, 0, 0);
    MsgSend(WinTable[b]->mdiChild, PlMsg::Close, 0, 0);
    Command(WinTable[a]->mdiChild, 2);        // the OK action
    EXPECT_TRUE(WinIsOpen(a) && WinIsOpen(b) && WinIsOpen(c));
    EXPECT_EQ(QuitFlag, 0);
    EXPECT_TRUE(WinIsWindow(FrameWindow));
    EXPECT_EQ(StateRefreshFlag, 0);

    uint32_t child = WinTable[a]->mdiChild;
    WinInvalidate(child, nullptr, true);
    ASSERT_TRUE(WinHasInvalid(child));
    PlMessage paint{};
    paint.win = child;
    paint.msg = PlMsg::Paint;
    MsgDispatch(paint);
    EXPECT_FALSE(WinHasInvalid(child));

    SocketsActive = true;
    NetServices.onSocketEvent = FakeSocketEvent;
    LastSocket = {};
    MsgSend(FrameWindow, MsgSocketEvent, 7, PlMakeLong(3, 0));
    EXPECT_EQ(LastSocket.count, 1);
    EXPECT_EQ(LastSocket.win, FrameWindow);
    EXPECT_EQ(LastSocket.socket, 7);
    EXPECT_EQ(LastSocket.bits, 3);
    SocketsActive = false;                    // sockets off: the event is not handed on
    MsgSend(FrameWindow, MsgSocketEvent, 7, 1);
    EXPECT_EQ(LastSocket.count, 1);

    // Busy over: the same command acts.
    BusyFlag = 0;
    Command(WinTable[a]->mdiChild, 2);
    EXPECT_EQ(StateRefreshFlag, 1);
}

TEST_F(Procedures, CloseAllClosesEveryWindowThatMayClose)
{
    int a = OpenWindow(TypeArticle, 0), b = OpenWindow(TypeUnnamed, 0), c = OpenWindow(TypeList, 0);
    ASSERT_TRUE(a && b && c);
    Command(FrameWindow, FrameCmd::CloseAll);
    for (int n : {a, b, c}) EXPECT_FALSE(WinIsOpen(n));
    EXPECT_EQ(WinChildCount(MdiClientWindow), 0);
    EXPECT_EQ(CurrentWindow, 0);

    // A window whose record is being changed stays; so does the login
    // window under its close box.
    int edited = OpenWindow(TypeArticle, 0), plain = OpenWindow(TypeUnnamed, 0);
    WinTable[edited]->editState = 2;
    Command(FrameWindow, FrameCmd::CloseAll);
    EXPECT_TRUE(WinIsOpen(edited));
    EXPECT_FALSE(WinIsOpen(plain));
    int login = OpenWindow(TypeLogin, 0);
    MsgSend(WinTable[login]->mdiChild, PlMsg::Close, 0, 0);
    EXPECT_TRUE(WinIsOpen(login));
}

TEST_F(Procedures, AboutOpensOnceAndTheWindowMenuMinimisesAndRestores)
{
    Command(FrameWindow, FrameCmd::About);
    int about = WinFindByDef(TypeAbout);
    ASSERT_GT(about, 0);
    int other = OpenWindow(TypeUnnamed, 0);
    EXPECT_EQ(CurrentWindow, other);
    Command(FrameWindow, FrameCmd::About);           // brought back, not opened twice
    EXPECT_EQ(WinTypeUseTable[TypeAbout].word, 1);
    EXPECT_EQ(CurrentWindow, about);

    Command(FrameWindow, FrameCmd::MinimizeAll);
    EXPECT_TRUE(WinIsIconic(WinTable[about]->mdiChild));
    EXPECT_TRUE(WinIsIconic(WinTable[other]->mdiChild));
    Command(FrameWindow, FrameCmd::RestoreAll);
    EXPECT_FALSE(WinIsIconic(WinTable[about]->mdiChild));
    EXPECT_FALSE(WinIsIconic(WinTable[other]->mdiChild));
}

TEST_F(Procedures, ActivationAndEscapeFollowTheChildren)
{
    int a = OpenWindow(TypeArticle, 0), b = OpenWindow(TypeList, 0);
    ASSERT_TRUE(a && b);
    EXPECT_EQ(CurrentWindow, b);
    StateRefreshFlag = 0;
    WinTable[b]->changed = 0;
    MdiActivate(MdiClientWindow, WinTable[a]->mdiChild);
    EXPECT_EQ(CurrentWindow, a);
    EXPECT_EQ(StateRefreshFlag, 1);
    MdiActivate(MdiClientWindow, WinTable[b]->mdiChild);
    EXPECT_EQ(CurrentWindow, b);
    EXPECT_EQ(WinTable[b]->changed, 1);       // a list repaints when it comes back

    MsgSend(WinTable[b]->mdiChild, PlMsg::KeyDown, PlKey::Escape, 0);
    EXPECT_EQ(UserCancelFlag, 1);
}
