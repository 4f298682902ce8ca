// The server's time-outs as the program runs them: served through its
// own wait loop, not a test's pump. Connections that never start a
// channel, never open a session, never log in, or stop in the middle of
// a frame are closed on time, while a logged-in client keeps the loop
// busy with requests all along, and that client stays served.
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

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

// A plain TCP connection that sends nothing, not even a channel's hello.
int PlainConnect(int port) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons((uint16_t)port);
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (connect(fd, (sockaddr *)&a, sizeof a) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

// True when the peer closed fd within ms.
bool PlainClosed(int fd, int ms) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, ms) <= 0) return false;
    char b[64];
    return recv(fd, b, sizeof b, MSG_DONTWAIT) <= 0;
}

}  // namespace

TEST_F(NetWaitLoopTest, SilentAndHalfSentConnectionsCloseOnTimeWhileTheLoopIsBusy) {
    int plain = PlainConnect(port);
    ASSERT_GE(plain, 0);
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
    EXPECT_TRUE(PlainClosed(plain, 2000)) << "a connection without a channel stayed open";
    EXPECT_TRUE(noSession.Closed(2000)) << "a connection without a session stayed open";
    EXPECT_TRUE(noLogin.Closed(2000)) << "a session without a login stayed open";
    EXPECT_TRUE(halfSent.Closed(2000)) << "a half-sent frame kept its connection";
    close(plain);
    EXPECT_EQ(CustomerCount(busy, sb), 0u) << "the logged-in client was closed too";
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
    EXPECT_EQ(e.sessions, 1);
    EXPECT_EQ(e.slots, 1);
}
