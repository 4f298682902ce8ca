// Failed logins are counted per address and per name at that address: a
// stranger who keeps failing with the administrator's name makes only
// himself wait, whatever name he tries next, while the administrator at
// another address logs in at once every time.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <chrono>
#include <thread>

#include "core/password_verifier.h"
#include "net/auth.h"
#include "rules/hooks.h"
#include "tests/net/rights_fixture.h"

using namespace nettest;

namespace {

constexpr const char *AdminPassword = "Admin-Pass-77";

void Company() {
    RulesInstall();
    VerifierIterations = VerifierIterationsMin;
    AuthLimits.firstDelayMs = 400;
    AuthLimits.maxDelayMs = 5000;
    StorePerson("ADMIN", AdminPassword, "");
    StorePerson("BOB", "Bob-Pass-77", "");
}

class NetLoginAddressTest : public NetRightsTest {
protected:
    nettest::ServerSetup ServerExtra() override { return Company; }
};

// A raw connection from another loopback address (the server sees 127.0.0.2).
bool ConnectFrom(RawConn *c, const char *source, int port) {
    int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in from{};
    from.sin_family = AF_INET;
    inet_pton(AF_INET, source, &from.sin_addr);
    sockaddr_in to{};
    to.sin_family = AF_INET;
    to.sin_port = htons((uint16_t)port);
    to.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (bind(fd, (sockaddr *)&from, sizeof from) != 0 || connect(fd, (sockaddr *)&to, sizeof to) != 0) {
        close(fd);
        return false;
    }
    c->fd = fd;
    c->tls = TlsSocketOpen(fd, false, 3000);
    return c->tls != nullptr;
}

}  // namespace

TEST_F(NetLoginAddressTest, AStrangerFailingWithANameMakesOnlyHimselfWait) {
    RawConn stranger(0);
    ASSERT_TRUE(ConnectFrom(&stranger, "127.0.0.2", port));
    uint32_t ss = Open(stranger, false);
    ASSERT_NE(ss, 0u);
    for (int round = 0; round < 3; round++) {
        // A wrong proof for ADMIN each time the stranger's wait has ended.
        ASSERT_EQ(Login(stranger, ss, "ADMIN", "guess"), LoginOutcome::Refused) << round;
        // The stranger waits now, for this name and for any other.
        LoginTrace t;
        EXPECT_EQ(Login(stranger, ss, "ADMIN", AdminPassword, &t), LoginOutcome::Wait) << round;
        EXPECT_EQ(Login(stranger, ss, "BOB", "Bob-Pass-77"), LoginOutcome::Wait) << round;
        // The administrator at his own address is not told to wait.
        RawConn admin(port);
        uint32_t sa = Open(admin, false);
        ASSERT_NE(sa, 0u);
        EXPECT_EQ(Login(admin, sa, "ADMIN", AdminPassword), LoginOutcome::Accepted) << round;
        std::this_thread::sleep_for(std::chrono::milliseconds(t.waitMs + 50));
    }
    // Another address's accepted login cleared nothing of the stranger's:
    // his next failure waits longer than the first wait.
    ASSERT_EQ(Login(stranger, ss, "ADMIN", "guess"), LoginOutcome::Refused);
    LoginTrace t;
    EXPECT_EQ(Login(stranger, ss, "ADMIN", AdminPassword, &t), LoginOutcome::Wait);
    EXPECT_GT(t.waitMs, 400u * 4) << "the stranger's count started afresh";
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
}
