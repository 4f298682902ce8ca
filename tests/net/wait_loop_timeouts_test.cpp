// The server's time-outs as the program runs them: served through its
// own wait loop, not a test's pump. Connections that never start a
// channel, never open a session, never log in, or stop in the middle of
// a frame are closed on time, while a logged-in client keeps the loop
// busy with requests all along, and that client stays served.
#include <chrono>

#include "tests/net/net_fixture.h"

using namespace nettest;

namespace {

void ServeThroughTheProgramsLoop() {
    NetLimits.loginMs = 2000;
    NetInstall();
    ServeThroughQueue = true;
}

class NetWaitLoopTest : public NetServerTest {
protected:
    nettest::ServerSetup ServerExtra() override { return ServeThroughTheProgramsLoop; }
};

}  // namespace

TEST_F(NetWaitLoopTest, SilentAndHalfSentConnectionsCloseOnTimeWhileTheLoopIsBusy) {
    RawConn plain(port, 0, false);   // not even the channel's hello
    ASSERT_GE(plain.fd, 0);
    RawConn noSession(port), noLogin(port), halfSent(port), busy(port);
    ASSERT_NE(Open(noLogin, false), 0u);
    uint32_t sh = Open(halfSent), sb = Open(busy);
    ASSERT_NE(sh, 0u);
    ASSERT_NE(sb, 0u);
    MsgBuffer b;
    MsgPutWord(&b, CUVc::Number);
    std::vector<uint8_t> count = Request(sh, ReqRecordCount, &b);
    ASSERT_TRUE(halfSent.Send(std::vector<uint8_t>(count.begin(), count.begin() + 6)));

    // Requests one after another for longer than the longest limit
    // (the login's 2 s): the loop always has something to do.
    auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(3500);
    int served = 0;
    while (std::chrono::steady_clock::now() < until) {
        ASSERT_EQ(CustomerCount(busy, sb), 0u) << "the busy client was not served";
        served++;
    }
    EXPECT_GT(served, 10);
    EXPECT_TRUE(plain.Closed(2000)) << "a connection without a channel stayed open";
    EXPECT_TRUE(noSession.Closed(2000)) << "a connection without a session stayed open";
    EXPECT_TRUE(noLogin.Closed(2000)) << "a session without a login stayed open";
    EXPECT_TRUE(halfSent.Closed(2000)) << "a half-sent frame kept its connection";
    EXPECT_EQ(CustomerCount(busy, sb), 0u) << "the logged-in client was closed too";
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
    EXPECT_EQ(e.sessions, 1);
    EXPECT_EQ(e.slots, 1);
}
