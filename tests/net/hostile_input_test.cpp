// Hostile and vanishing clients against a server process: frames that
// cannot be framed, bodies that do not parse, slow and silent peers,
// clients dying while they hold locks. Afterwards the server serves the
// others, its database passes the integrity check, only the writes
// answered as done are stored, and every session and slot is free.
#include <random>
#include <thread>

#include "tests/net/net_fixture.h"

using namespace nettest;

namespace {

std::vector<uint8_t> Bytes(std::initializer_list<uint32_t> longs) {
    std::vector<uint8_t> v;
    for (uint32_t x : longs)
        for (int i = 0; i < 4; i++) v.push_back(uint8_t(x >> (8 * i)));
    return v;
}


}  // namespace

TEST_F(NetServerTest, FramesThatCannotBeFramedCloseTheirConnection) {
    ServerLimit(&NetLimitsRec::frameMs, 500);   // for the length that lies; the rest close at once
    {
        RawConn c(port);   // a 4-byte frame (length word only)
        c.Send(Bytes({4}));
        EXPECT_TRUE(c.Closed(PatientMs));
    }
    {
        RawConn c(port);   // below the smallest request
        c.Send(Bytes({9, 0, 0}));
        EXPECT_TRUE(c.Closed(PatientMs));
    }
    {
        RawConn c(port);   // a length far past the limit
        c.Send(Bytes({0x7FFFFFFF, 0, 0}));
        EXPECT_TRUE(c.Closed(PatientMs));
    }
    {
        RawConn c(port);   // a length that lies: the rest never comes
        std::vector<uint8_t> f = Bytes({100, 0});
        f.push_back(0);
        f.push_back(0);
        c.Send(f);
        EXPECT_TRUE(c.Closed(PatientMs));
    }
    {
        RawConn c(port);   // random bytes
        std::mt19937 rng(7);
        std::vector<uint8_t> junk(3000);
        for (uint8_t &x : junk) x = uint8_t(rng());
        c.Send(junk);
        EXPECT_TRUE(c.Closed(PatientMs));
    }
    RawConn ok(port);
    uint32_t s = Open(ok);
    ASSERT_NE(s, 0u);
    EXPECT_EQ(CustomerCount(ok, s), 0u);
    ok.Send(Request(s, ReqSessionEnd, nullptr));   // a body too short for its id
    EXPECT_EQ(Status(ok.Frame()), ReplyRefused);
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
}

TEST_F(NetServerTest, BodiesThatDoNotParseAreRefusedAndChangeNothing) {
    RawConn c(port);
    uint32_t s = Open(c);
    ASSERT_NE(s, 0u);
    int done = 0;
    uint32_t id = 0;
    ASSERT_EQ(InsertCustomer(c, s, "A1", &id), RecDone);
    done++;

    // A bad register number, a register without records, a bad block.
    for (uint16_t reg : {0, 133, 999, 65535}) {
        MsgBuffer b;
        MsgPutWord(&b, reg);
        MsgPutLong(&b, 1);
        c.Send(Request(s, ReqRecordLockTake, &b));
        EXPECT_EQ(Status(c.Frame()), ReplyRefused) << reg;
    }
    MsgBuffer blk;
    MsgPutWord(&blk, 300);
    c.Send(Request(s, ReqSettingsRead, &blk));
    EXPECT_EQ(Status(c.Frame()), ReplyRefused);

    // A truncated record: the insert is refused and nothing stored.
    MemBlock h = 0;
    uint8_t *r = RecBufferNew(CUVc::Number, &h);
    PStringFromC(r + CUVc::Code, "T1");
    MsgBuffer ins;
    MsgPutWord(&ins, CUVc::Number);
    MsgPutRecord(&ins, CUVc::Number, r);
    RecBufferFree(CUVc::Number, &h);
    std::vector<uint8_t> f = Request(s, ReqInsertChecked, &ins);
    f.resize(f.size() - 40);
    uint32_t n = (uint32_t)f.size();
    std::memcpy(f.data(), &n, 4);
    c.Send(f);
    EXPECT_EQ(Status(c.Frame()), ReplyRefused);
    // Bytes after the last item: refused too.
    MsgBuffer extra;
    MsgPutWord(&extra, CUVc::Number);
    MsgPutLong(&extra, 0);
    c.Send(Request(s, ReqRecordCount, &extra));
    EXPECT_EQ(Status(c.Frame()), ReplyRefused);
    // A list of record ids longer than the frame.
    MsgBuffer ap;
    MsgPutWord(&ap, CUVc::Number);
    MsgPutWord(&ap, 1);
    MsgPutLong(&ap, 0x40000000);
    c.Send(Request(s, ReqApproveList, &ap));
    EXPECT_EQ(Status(c.Frame()), ReplyRefused);
    // Import chunks out of place.
    MsgBuffer im;
    MsgPutLong(&im, 10);
    std::vector<uint8_t> job(ReportParamsSize, 0);
    MsgPutJobRecord(&im, job.data(), (uint32_t)job.size());
    MsgPutWord(&im, 1);
    MsgPutLong(&im, 5);
    MsgPutLong(&im, 10);
    MsgPutBytes(&im, "0123456789", 10);
    c.Send(Request(s, ReqImportRun, &im));
    EXPECT_EQ(Status(c.Frame()), ReplyRefused);

    EXPECT_EQ(CustomerCount(c, s), (uint32_t)done);
    close(c.fd);
    c.fd = -1;
    EXPECT_TRUE(AwaitServerHolds(0, 0)) << "the closed connection kept its session";
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
    EXPECT_EQ(e.sessions, 0);
}

TEST_F(NetServerTest, AClientDyingMidFrameLeavesNoLocksBehind) {
    RawConn holder(port);
    uint32_t sh = Open(holder);
    ASSERT_NE(sh, 0u);
    uint32_t id = 0;
    ASSERT_EQ(InsertCustomer(holder, sh, "L1", &id), RecDone);
    MsgBuffer lock;
    MsgPutWord(&lock, CUVc::Number);
    MsgPutLong(&lock, id);
    std::vector<uint8_t> lockFrame = Request(sh, ReqRecordLockTake, &lock);
    holder.Send(lockFrame);
    ASSERT_EQ(Status(holder.Frame()), ReplyServed);
    MsgBuffer reg;
    MsgPutWord(&reg, CUVc::Number);
    std::vector<uint8_t> regFrame = Request(sh, ReqRegisterLockTake, &reg);
    holder.Send(regFrame);
    ASSERT_EQ(Status(holder.Frame()), ReplyServed);

    std::vector<uint8_t> half = Request(sh, ReqRecordCount, &reg);
    half.resize(6);
    holder.Send(half);
    close(holder.fd);
    holder.fd = -1;
    ASSERT_TRUE(AwaitServerHolds(0, 0)) << "the server did not see the client go";

    RawConn next(port);
    uint32_t sn = Open(next);
    ASSERT_NE(sn, 0u);
    std::memcpy(lockFrame.data() + 4, &sn, 4);
    next.Send(lockFrame);
    MsgBuffer m;
    uint8_t taken = 0;
    ASSERT_TRUE(ReplyBody(next.Frame(), &m));
    MsgGetByte(&m, &taken);
    EXPECT_EQ(taken, 1) << "the record lock outlived its session";
    std::memcpy(regFrame.data() + 4, &sn, 4);
    next.Send(regFrame);
    MsgBuffer m2;
    ASSERT_TRUE(ReplyBody(next.Frame(), &m2));
    MsgGetByte(&m2, &taken);
    EXPECT_EQ(taken, 1) << "the register lock outlived its session";
    EXPECT_EQ(CustomerCount(next, sn), 1u);
    close(next.fd);
    next.fd = -1;
    EXPECT_TRUE(AwaitServerHolds(0, 0));
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
    EXPECT_EQ(e.sessions, 0);
    EXPECT_EQ(e.slots, 0);
}

TEST_F(NetServerTest, SlowSilentAndDeafClientsAreClosed) {
    // A frame's time and a session's time short while only the slow and
    // the silent connection are there.
    ServerLimit(&NetLimitsRec::frameMs, 500);
    ServerLimit(&NetLimitsRec::noSessionMs, 1200);
    RawConn slow(port), idle(port);
    std::vector<uint8_t> v = Request(0, ReqVersion, nullptr);
    for (size_t i = 0; i < 3; i++) {
        slow.Send({v[i]});
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
    }
    EXPECT_TRUE(slow.Closed(PatientMs));
    EXPECT_TRUE(idle.Closed(PatientMs));
    ServerLimit(&NetLimitsRec::frameMs, ProgramLimit(&NetLimitsRec::frameMs));
    ServerLimit(&NetLimitsRec::noSessionMs, ProgramLimit(&NetLimitsRec::noSessionMs));

    // One never reads: its replies queue up until it is closed, once they
    // have not left for the drain time (short from its login on).
    RawConn deaf(port, 4096);
    uint32_t sd = Open(deaf);
    ASSERT_NE(sd, 0u);
    ServerLimit(&NetLimitsRec::drainMs, 800);
    MsgBuffer defaults;
    MsgPutWord(&defaults, CUVc::Number);
    std::vector<uint8_t> big = Request(sd, ReqNewDefaults, &defaults);   // a whole record back
    bool failed = false;
    for (int i = 0; i < 20000 && !failed; i++) failed = !deaf.Send(big);
    // Not a byte is read: the server gives up on it.
    EXPECT_TRUE(AwaitServerHolds(0, 0)) << "the deaf connection is still held";
    ServerLimit(&NetLimitsRec::drainMs, ProgramLimit(&NetLimitsRec::drainMs));

    RawConn next(port);
    EXPECT_NE(Open(next), 0u) << "the server no longer serves";
    ServerEnd e = Stop();
    EXPECT_EQ(e.slots, 1) << "the deaf connection is still held";
    EXPECT_EQ(e.sessions, 1);
    EXPECT_TRUE(e.integrity) << e.report;
}

TEST_F(NetServerTest, FiftyClientsGetSessionsAndAFiftyFirstIsClosed) {
    {
        std::vector<std::unique_ptr<RawConn>> many;
        for (int i = 0; i < 50; i++) {
            many.push_back(std::make_unique<RawConn>(port));
            EXPECT_NE(Open(*many.back(), false), 0u) << i;
        }
        // No session is left for the 51st: it never gets one, and goes
        // when a session's time (short from now on) has passed.
        ServerLimit(&NetLimitsRec::noSessionMs, 1200);
        RawConn extra(port);
        EXPECT_TRUE(extra.Closed(PatientMs));
        ServerLimit(&NetLimitsRec::noSessionMs, ProgramLimit(&NetLimitsRec::noSessionMs));
    }
    EXPECT_TRUE(AwaitServerHolds(0, 0)) << "the fifty that went kept their sessions";
    RawConn again(port);
    EXPECT_NE(Open(again), 0u);
    close(again.fd);
    again.fd = -1;
    EXPECT_TRUE(AwaitServerHolds(0, 0));
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
    EXPECT_EQ(e.sessions, 0);
    EXPECT_EQ(e.slots, 0);
}
