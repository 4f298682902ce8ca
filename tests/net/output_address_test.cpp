// Output goes to the client that asked for it, by session id: a client
// gone mid-job takes the rest of the job with it, and a newcomer that
// gets its table entry in the meantime receives nothing of it. Driven in
// this process through the connection table's test hooks (frames fed in,
// frames sent captured), so the newcomer arrives exactly mid-job.
#include <map>

#include "net/auth.h"
#include "reports/frame/report_run.h"
#include "tests/net/net_fixture.h"

using namespace nettest;

namespace {

std::map<int, std::vector<std::vector<uint8_t>>> Sent;   // by slot

bool Capture(int slot, const uint8_t *bytes, uint32_t length) {
    Sent[slot].emplace_back(bytes, bytes + length);
    return true;
}

uint16_t FrameCode(const std::vector<uint8_t> &f) { return f.size() >= 6 ? uint16_t(f[4] | f[5] << 8) : 0xFFFF; }

int Pushes(int slot) {
    int n = 0;
    for (const auto &f : Sent[slot]) n += FrameCode(f) == FrameCodePush;
    return n;
}

void Feed(int slot, const std::vector<uint8_t> &frame) { NetFeedBytes(slot, frame.data(), frame.size()); }

std::vector<uint8_t> OpenFrame() {
    MsgBuffer body;
    uint8_t addr[256];
    PStringFromC(addr, "10.0.0.9");
    MsgPutPString(&body, addr);
    MsgPutWord(&body, 1);
    return Request(0, ReqSessionOpen, &body);
}


int SlotA = -1, SlotB = -1;
uint32_t SessionA = 0;
int PushesToA = 0;
int PagesAfterLoss = 0;
bool Lost = false;

void Page() {
    for (int k = 0; k < 8; k++) MsgPutWord(&OutputMessage, 0);
    MsgSend();
}

// A run of four documents, each starting its print as a form print does.
// After the first page the asking client vanishes and a newcomer opens a
// session, both while the run goes on.
void RunOfDocuments(ReportJob &) {
    for (int doc = 0; doc < 4; doc++) {
        RepStopped = RemoteOutputLost;
        for (int page = 0; page < 2 && !RepStopped; page++) {
            if (Lost) PagesAfterLoss++;
            Page();
            if (doc == 0 && page == 0) {
                Feed(SlotA, AckFrame(SessionA));
                NetConnClose(SlotA);
                PushesToA = Pushes(SlotA);
                Sent.erase(SlotA);   // the newcomer may get the same connection slot
                Lost = true;
                SlotB = NetSlotAttach(-2);
                Feed(SlotB, OpenFrame());
            }
        }
    }
}

class NetOutputAddressTest : public ::testing::Test {
protected:
    std::string path = ::testing::TempDir() + "orvel_address_" + std::to_string(getpid()) + ".VDB";
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(LoadBuiltInterface(&error)) << error;
        if (!PendingVoucher) {
            ASSERT_TRUE(AllocWorkBlocks());
        }
        MessageSinkSet([](const char *) {});
        std::remove(path.c_str());
        RunMode = 0;
        LockOwnerId = LockOwnerSelf;
        ASSERT_TRUE(DbLayerInit() && D4Create(path.c_str(), 0) == D4OpenOk && SettingsStartup());
        Sent.clear();
        NetServerStart();
        NetSendOverride = Capture;
        NetLimits.ackMs = 300;
    }
    void TearDown() override {
        NetSendOverride = nullptr;
        NetShutdown();
        SessionTableInit();
        NetLimits = NetLimitsRec{};
        ServerReportRun = RunReport;   // as the program has it
        RunMode = 0;
        D4Close();
        std::remove(path.c_str());
        MessageSinkSet(nullptr);
        InterfaceUnload();
    }
};

}  // namespace

TEST_F(NetOutputAddressTest, AClientGoneMidJobLeavesNothingToTheNextAndTheRunStops) {
    SlotA = NetSlotAttach(-1);
    ASSERT_GE(SlotA, 0);
    Feed(SlotA, OpenFrame());
    int a = SessionForSlot(SlotA);
    ASSERT_GE(a, 0);
    SessionA = SessionTable[a].id;
    // Logged in as the administrator, whose rights run any report.
    SessionTable[a].loggedIn = true;
    MemBlock h = 0;
    uint8_t *access = RecBufferNew(AccessVc::Number, &h);
    ASSERT_NE(access, nullptr);
    AuthRightsSet(a, access, true, EmptyPString);
    RecBufferFree(AccessVc::Number, &h);
    Lost = false;
    PagesAfterLoss = 0;
    ServerReportRun = RunOfDocuments;

    MsgBuffer body;
    MsgPutPString(&body, EmptyPString);
    std::vector<uint8_t> job(ReportParamsSize, 0);
    MsgPutJobRecord(&body, job.data(), (uint32_t)job.size());
    Feed(SlotA, Request(SessionA, ReqReportRun, &body));

    ASSERT_TRUE(Lost) << "the run never reached its second page";
    ASSERT_GE(SlotB, 0);
    int b = SessionForSlot(SlotB);
    ASSERT_GE(b, 0);
    EXPECT_EQ(b, a) << "the newcomer did not take the gone client's entry: the test proves nothing";
    EXPECT_NE(SessionTable[b].id, SessionA) << "a session id was given twice";
    EXPECT_EQ(PushesToA, 1);
    EXPECT_EQ(Pushes(SlotB), 0) << "the gone client's job reached the newcomer";
    ASSERT_EQ(Sent[SlotB].size(), 1u);
    EXPECT_EQ(FrameCode(Sent[SlotB][0]), FrameCodeReply);
    EXPECT_LE(PagesAfterLoss, 1) << "the next document printed again after the job stopped";
}

TEST_F(NetOutputAddressTest, SessionIdsAreNeverGivenTwiceEvenAfterARestart) {
    std::vector<uint32_t> seen;
    for (int round = 0; round < 3; round++) {
        int slot = NetSlotAttach(-1);
        ASSERT_GE(slot, 0);
        Feed(slot, OpenFrame());
        int s = SessionForSlot(slot);
        ASSERT_GE(s, 0);
        for (uint32_t id : seen) EXPECT_NE(SessionTable[s].id, id);
        seen.push_back(SessionTable[s].id);
        NetConnClose(slot);
        if (round == 1) SessionTableInit();   // the server's table set up anew
    }
}
