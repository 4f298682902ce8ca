// Failed logins are counted per address and per name at that address: a
// stranger who keeps failing with the administrator's name makes only
// himself wait, whatever name he tries next, while the administrator at
// another address logs in at once every time; and many sessions of one
// address, each given its challenge before the first failure, have no more
// proofs checked than one session.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <chrono>
#include <memory>
#include <vector>
#include <thread>

#include "core/password_verifier.h"
#include "net/auth.h"
#include "rules/hooks.h"
#include "tests/net/rights_fixture.h"

using namespace nettest;

namespace {

constexpr const char *AdminPassword = "Admin-Pass-77";
constexpr uint32_t FirstWaitMs = 400;   // the wait after a first failed login

void Company() {
    RulesInstall();
    VerifierIterations = VerifierIterationsMin;
    AuthLimits.firstDelayMs = FirstWaitMs;
    AuthLimits.maxDelayMs = 5000;
    StorePerson("ADMIN", AdminPassword, "");
    StorePerson("BOB", "Bob-Pass-77", "");
}

class NetLoginAddressTest : public NetRightsTest {
protected:
    nettest::ServerSetup ServerExtra() override { return Company; }
};

// The same company with a first wait long enough that no test step outlasts it.
void CompanyWithLongWaits() {
    Company();
    AuthLimits.firstDelayMs = 20000;
    AuthLimits.maxDelayMs = 60000;
}

class NetLoginManySessionsTest : public NetRightsTest {
protected:
    nettest::ServerSetup ServerExtra() override { return CompanyWithLongWaits; }
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
    c->tls = TlsSocketOpen(fd, false, PatientMs);
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
        LoginTrace failed;
        ASSERT_EQ(Login(stranger, ss, "ADMIN", "guess", &failed), LoginOutcome::Refused) << round;
        // The stranger waits now, for this name and for any other.
        LoginTrace t;
        const LoginOutcome admin1 = Login(stranger, ss, "ADMIN", AdminPassword, &t);
        const LoginOutcome bob = Login(stranger, ss, "BOB", "Bob-Pass-77");
        if (OutlastedWait(failed.proofSent, FirstWaitMs << round)) GTEST_SKIP() << Stalled;
        EXPECT_EQ(admin1, LoginOutcome::Wait) << round;
        EXPECT_EQ(bob, LoginOutcome::Wait) << round;
        // The administrator at his own address is not told to wait.
        RawConn admin(port);
        uint32_t sa = Open(admin, false);
        ASSERT_NE(sa, 0u);
        EXPECT_EQ(Login(admin, sa, "ADMIN", AdminPassword), LoginOutcome::Accepted) << round;
        std::this_thread::sleep_for(std::chrono::milliseconds(t.waitMs + 50));
    }
    // Another address's accepted login cleared nothing of the stranger's:
    // his next failure waits longer than the first wait.
    LoginTrace failed;
    ASSERT_EQ(Login(stranger, ss, "ADMIN", "guess", &failed), LoginOutcome::Refused);
    LoginTrace t;
    const LoginOutcome last = Login(stranger, ss, "ADMIN", AdminPassword, &t);
    if (OutlastedWait(failed.proofSent, FirstWaitMs)) GTEST_SKIP() << Stalled;
    EXPECT_EQ(last, LoginOutcome::Wait);
    EXPECT_GT(t.waitMs, FirstWaitMs * 4) << "the stranger's count started afresh";
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
}

// Twelve sessions from one address each ask ADMIN's challenge while no
// wait is on, then all send their proofs, the last one the right
// password: the first wrong proof sets the wait, and every proof after it
// is refused unchecked, the right one too, without adding to the count
// (the next step 1 waits the first failure's wait). The administrator at
// his own address logs in meanwhile.
TEST_F(NetLoginManySessionsTest, ManySessionsOfOneAddressHaveOneProofChecked) {
    constexpr int Sessions = 12;
    std::vector<std::unique_ptr<RawConn>> conns;
    std::vector<uint32_t> ids;
    std::vector<RawLogin> logins(Sessions);
    for (int i = 0; i < Sessions; i++) {
        conns.push_back(std::make_unique<RawConn>(0));
        ASSERT_TRUE(ConnectFrom(conns.back().get(), "127.0.0.2", port)) << i;
        ids.push_back(Open(*conns.back(), false));
        ASSERT_NE(ids.back(), 0u) << i;
    }
    for (int i = 0; i < Sessions; i++) {
        logins[i].user = "ADMIN";
        logins[i].password = i == Sessions - 1 ? AdminPassword : "guess";
        MsgBuffer first, m;
        ASSERT_TRUE(RawLoginFirst(&logins[i], &first));
        ASSERT_TRUE(conns[i]->Send(Request(ids[i], ReqLogin, &first)));
        uint32_t waitMs = 0;
        ASSERT_TRUE(ReplyBody(conns[i]->Frame(), &m)) << i;
        ASSERT_EQ(RawLoginTakeChallenge(&logins[i], &m, &waitMs), RawChallenge::Given) << i;
    }
    // The proofs are made before any is sent, so that they reach the server together.
    std::vector<std::vector<uint8_t>> finals;
    for (int i = 0; i < Sessions; i++) {
        MsgBuffer final;
        ASSERT_TRUE(RawLoginFinal(&logins[i], &final));
        finals.push_back(Request(ids[i], ReqLogin, &final));
    }
    for (int i = 0; i < Sessions; i++) ASSERT_TRUE(conns[i]->Send(finals[i])) << i;
    for (int i = 0; i < Sessions; i++) {
        MsgBuffer r;
        RawLoginAnswer a;
        ASSERT_TRUE(ReplyBody(conns[i]->Frame(), &r) && RawLoginTakeAnswer(logins[i], &r, &a)) << i;
        EXPECT_FALSE(a.accepted) << "session " << i << "'s proof was checked during the wait";
    }
    RawConn admin(port);
    uint32_t sa = Open(admin, false);
    ASSERT_NE(sa, 0u);
    EXPECT_EQ(Login(admin, sa, "ADMIN", AdminPassword), LoginOutcome::Accepted);
    LoginTrace t;
    EXPECT_EQ(Login(*conns[0], ids[0], "ADMIN", AdminPassword, &t), LoginOutcome::Wait);
    EXPECT_GT(t.waitMs, 0u);
    EXPECT_LE(t.waitMs, 20000u) << "the unchecked proofs counted as failures";
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
}
