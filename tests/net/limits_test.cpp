// What a connection may cost the server before and after its login: a
// frame's claimed length is refused before anything is taken for it,
// connections that never log in are closed in time and give way to one
// that does, and a client arriving when every session is in use is told
// so (text 1401) and the program ends. A connection that sends before
// its login and never reads is cut off at its small queue.
#include <algorithm>
#include <fstream>
#include <sstream>
#include <thread>

#include "net/tcp_settings.h"
#include "shell/database_open.h"
#include "shell/net_services.h"
#include "shell/shell.h"
#include "tests/net/net_fixture.h"

using namespace nettest;

namespace {

// The server's resident memory in KB (from /proc), or -1.
long ResidentKb(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
    return -1;
}

// A frame head claiming length for request code, then as many bytes as
// the server takes (up to `stream`); true when the server closed it.
bool ClaimAndStream(const RawConn &c, uint32_t length, uint16_t code, size_t stream) {
    std::vector<uint8_t> head(10, 0);
    std::memcpy(head.data(), &length, 4);
    std::memcpy(head.data() + 8, &code, 2);
    if (!c.Send(head)) return true;
    std::vector<uint8_t> chunk(64 * 1024, 0x5A);
    for (size_t sent = 0; sent < stream; sent += chunk.size())
        if (!c.Send(chunk)) break;
    return c.Closed(PatientMs);
}

class NetLoginDeadlineTest : public NetServerTest {};

// Only the queue's cap may cut a connection here: queued bytes may wait.
void PatientDrain() { NetLimits.drainMs = 120000; }
class NetGuestQueueTest : public NetServerTest {
protected:
    nettest::ServerSetup ServerExtra() override { return PatientDrain; }
};

std::vector<std::string> Shown;
void Record(const char *text) { Shown.emplace_back(text); }

bool ShownContains(const char *text) {
    for (const std::string &s : Shown)
        if (s.find(text) != std::string::npos) return true;
    return false;
}

std::string UiText(int n) {
    uint8_t text[256];
    GetUiText(text, n);
    char c[256];
    PStringToC(text, c);
    return c;
}

}  // namespace

TEST_F(NetServerTest, ClaimedLengthsAndIdleConnectionsLeaveTheServerSmallAndServing) {
    long before = ResidentKb(child);
    ASSERT_GT(before, 0);
    std::vector<std::unique_ptr<RawConn>> idle;
    for (int i = 0; i < 50; i++) {
        idle.push_back(std::make_unique<RawConn>(port));
        ASSERT_NE(Open(*idle.back(), false), 0u) << i;
    }
    // Before a login only small frames: an import's length is refused at
    // its head, and so is a 2 GB claim, whatever follows.
    for (int i = 0; i < 4; i++) {
        RawConn flood(port);
        EXPECT_TRUE(ClaimAndStream(flood, 200u << 20, ReqImportRun, 24u << 20)) << i;
    }
    RawConn huge(port);
    EXPECT_TRUE(ClaimAndStream(huge, 0x80000000u, ReqImportRun, 1u << 20));
    // After a login the import's own limit holds, and a 2 GB claim is
    // still refused at its head.
    RawConn user(port);
    uint32_t s = Open(user);
    ASSERT_NE(s, 0u) << "a client that logs in found no room among the idle ones";
    EXPECT_TRUE(ClaimAndStream(user, 0x80000000u, ReqImportRun, 1u << 20));

    long after = ResidentKb(child);
    EXPECT_LT(after - before, 60 * 1024) << "the server grew from " << before << " KB to " << after << " KB";
    RawConn next(port);
    EXPECT_NE(Open(next), 0u) << "the server no longer serves";
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
}

TEST_F(NetLoginDeadlineTest, ASessionWithoutALoginIsClosedInTimeAndGivesWayMeanwhile) {
    RawConn waiting(port), working(port);
    ASSERT_NE(Open(waiting, false), 0u);
    uint32_t s = Open(working);
    ASSERT_NE(s, 0u);
    // The handshake alone does not keep the connection: with the login's
    // time short (once both are in, so that a slow login is not cut) the
    // one without a login goes.
    ServerLimit(&NetLimitsRec::loginMs, 1000);
    EXPECT_TRUE(waiting.Closed(PatientMs));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    MsgBuffer b;
    MsgPutWord(&b, CUVc::Number);
    working.Send(Request(s, ReqRecordCount, &b));
    EXPECT_EQ(Status(working.Frame()), ReplyServed) << "a logged-in session was closed too";

    // Every session taken by connections that never log in: a newcomer
    // still gets one, in place of the one that waited longest (and not
    // because the login's time closed one meanwhile).
    ServerLimit(&NetLimitsRec::loginMs, ProgramLimit(&NetLimitsRec::loginMs));
    std::vector<std::unique_ptr<RawConn>> idle;
    for (int i = 0; i < 49; i++) {
        idle.push_back(std::make_unique<RawConn>(port));
        ASSERT_NE(Open(*idle.back(), false), 0u) << i;
    }
    RawConn late(port);
    EXPECT_NE(Open(late), 0u) << "connections without a login kept a user out";
    EXPECT_TRUE(idle.front()->Closed(PatientMs)) << "the oldest waiting connection was not the one to go";
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
}

TEST_F(NetServerTest, TheFiftyFirstClientIsToldNoFreeSessionAndGivesUp) {
    std::vector<std::unique_ptr<RawConn>> users;
    uint32_t last = 0;
    for (int i = 0; i < NetSlotCount; i++) {
        users.push_back(std::make_unique<RawConn>(port));
        ASSERT_NE(last = Open(*users.back()), 0u) << i;
    }
    MessageSinkSet(Record);
    Shown.clear();
    RunMode = RunModeClient;
    NetClientStart();
    EXPECT_FALSE(ConnectLoop("127.0.0.1", (uint16_t)port, nullptr));
    EXPECT_TRUE(NetClient.refused) << "the refusal is not final: the client would try again";
    ASSERT_EQ(Shown.size(), 1u);
    EXPECT_TRUE(ShownContains(UiText(1401).c_str())) << Shown[0];
    // The users already in still work.
    MsgBuffer b;
    MsgPutWord(&b, CUVc::Number);
    users.back()->Send(Request(last, ReqRecordCount, &b));
    EXPECT_EQ(Status(users.back()->Frame()), ReplyServed);
    ServerEnd e = Stop();
    EXPECT_EQ(e.sessions, NetSlotCount);
    EXPECT_TRUE(e.integrity) << e.report;
}

TEST_F(NetGuestQueueTest, AConnectionThatNeverReadsIsCutOffAtItsQueueBeforeItsLogin) {
    long before = ResidentKb(child);
    ASSERT_GT(before, 0);
    RawConn flood(port, 4096);
    uint32_t s = Open(flood, false);
    ASSERT_NE(s, 0u);
    // Requests a guest may not make, a thousand at a stroke: each is
    // refused, and the refusals queue up as the client reads none of them.
    MsgBuffer b;
    MsgPutWord(&b, CUVc::Number);
    std::vector<uint8_t> one = Request(s, ReqRecordCount, &b), batch;
    for (int i = 0; i < 1000; i++) batch.insert(batch.end(), one.begin(), one.end());
    // What the server takes to answer a batch on this machine as it is
    // loaded now: a few batches sent and their refusals read.
    auto pause = std::chrono::milliseconds(30);
    for (int i = 0; i < 3; i++) {
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(flood.Send(batch));
        for (int k = 0; k < 1000; k++) ASSERT_EQ(Status(flood.Frame()), ReplyRefused) << k;
        pause = std::max(pause, 2 * std::chrono::duration_cast<std::chrono::milliseconds>(
                                        std::chrono::steady_clock::now() - start));
    }
    size_t sent = 0;
    bool cut = false;
    // 600 batches would queue some 20 MiB of refusals. Each is given
    // time to be answered, twice what a batch took above, so that the
    // server's cut shows in what the client still manages to send after it.
    for (int i = 0; i < 600 && !cut; i++) {
        cut = !flood.Send(batch);
        if (!cut) sent += batch.size();
        std::this_thread::sleep_for(pause);
    }
    if (!cut) cut = flood.Closed(PatientMs);
    EXPECT_TRUE(cut) << "the guest sent " << sent << " bytes and still holds its connection";
    // 1 MiB of refusals answers some 30,000 requests (12 bytes each):
    // cut off near there, neither before its queue could fill nor only
    // at the end of what it sent.
    EXPECT_GT(sent, 200u * 1024) << "cut off before its queue could fill";
    EXPECT_LT(sent, 7u << 19) << "cut off long after its queue passed 1 MiB";

    // Loose: the sanitizers' quarantine keeps every freed block a while.
    long after = ResidentKb(child);
    EXPECT_LT(after - before, 100 * 1024) << "the server grew from " << before << " KB to " << after << " KB";
    RawConn next(port);
    uint32_t sn = Open(next);
    ASSERT_NE(sn, 0u) << "the server no longer serves";
    EXPECT_EQ(CustomerCount(next, sn), 0u);
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
    EXPECT_EQ(e.slots, 1) << "the cut connection kept its slot";
}

// The program's own way in, as its Open command takes it: told 1401, it
// ends, and neither says "Connection failed" nor offers a local company.
TEST_F(NetServerTest, TheFiftyFirstProgramIsToldNoFreeSessionAndEnds) {
    std::vector<std::unique_ptr<RawConn>> users;
    for (int i = 0; i < NetSlotCount; i++) {
        users.push_back(std::make_unique<RawConn>(port));
        ASSERT_NE(Open(*users.back()), 0u) << i;
    }
    MessageSinkSet(Record);
    Shown.clear();
    RunMode = RunModeClient;
    NetInstall();
    TcpSettings.serverAddress = "127.0.0.1";
    TcpPort = (uint16_t)port;
    QuitFlag = QuitForced = 0;
    DbConnectCommand();
    EXPECT_TRUE(QuitFlag);
    EXPECT_TRUE(QuitForced);
    EXPECT_TRUE(RunModeIsClient()) << "the program went on to open a local company";
    EXPECT_FALSE(DbOpenFlag);
    EXPECT_TRUE(ShownContains(UiText(1401).c_str()));
    EXPECT_FALSE(ShownContains("Connection failed"));
    EXPECT_EQ(Shown.size(), 1u);
    QuitFlag = QuitForced = 0;
    ServerEnd e = Stop();
    EXPECT_EQ(e.sessions, NetSlotCount);
    EXPECT_TRUE(e.integrity) << e.report;
}
