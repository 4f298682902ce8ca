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
    // The limits short once every connection is in, so that none is cut
    // before it is what it stands for.
    ServerLimit(&NetLimitsRec::frameMs, 500);
    ServerLimit(&NetLimitsRec::noSessionMs, 1200);
    ServerLimit(&NetLimitsRec::loginMs, 2000);
    ASSERT_TRUE(halfSent.Send(std::vector<uint8_t>(count.begin(), count.begin() + 6)));

    // Requests one after another until the four are closed: the loop
    // always has something to do meanwhile.
    const RawConn *silent[] = {&plain, &noSession, &noLogin, &halfSent};
    bool closed[4] = {false, false, false, false};
    auto allClosed = [&] { return closed[0] && closed[1] && closed[2] && closed[3]; };
    for (auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(PatientMs);
         !allClosed() && std::chrono::steady_clock::now() < until;) {
        ASSERT_EQ(CustomerCount(busy, sb), 0u) << "the busy client was not served";
        for (int i = 0; i < 4; i++) closed[i] = closed[i] || silent[i]->Closed(0);
    }
    EXPECT_TRUE(closed[0]) << "a connection without a channel stayed open";
    EXPECT_TRUE(closed[1]) << "a connection without a session stayed open";
    EXPECT_TRUE(closed[2]) << "a session without a login stayed open";
    EXPECT_TRUE(closed[3]) << "a half-sent frame kept its connection";
    EXPECT_EQ(CustomerCount(busy, sb), 0u) << "the logged-in client was closed too";
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
    EXPECT_EQ(e.sessions, 1);
    EXPECT_EQ(e.slots, 1);
}
