// Requests against a server process on loopback: the handshake, the
// session binding and login rule, the serving rule by class inside a
// report's acknowledgement wait (the waiting client's own reads too), a
// cancel, a push held and one never acknowledged, and the program's own
// client doing record work through the server.
#include "tests/net/net_fixture.h"

#include <thread>

#include "database/access/record_locks.h"

using namespace nettest;

namespace {

std::vector<uint8_t> JobRequestBody(uint16_t code) {
    MsgBuffer body;
    if (code == ReqReportRun) MsgPutPString(&body, EmptyPString);
    std::vector<uint8_t> job(ReportParamsSize, 0);
    MsgPutJobRecord(&body, job.data(), (uint32_t)job.size());
    return Request(0, code, &body);
}

// The request with the session id put in.
std::vector<uint8_t> WithSession(std::vector<uint8_t> f, uint32_t session) {
    std::memcpy(f.data() + 4, &session, 4);
    return f;
}


std::vector<uint8_t> CountRequest(uint32_t session) {
    MsgBuffer b;
    MsgPutWord(&b, CUVc::Number);
    return Request(session, ReqRecordCount, &b);
}

uint32_t CountOf(const std::vector<uint8_t> &reply) {
    MsgBuffer m;
    uint32_t n = 0xFFFFFFFF;
    if (ReplyBody(reply, &m)) MsgGetLong(&m, &n);
    return n;
}

}  // namespace

TEST_F(NetServerTest, HandshakeSessionBindingAndLoginRule) {
    RawConn a(port), b(port);
    ASSERT_GE(a.fd, 0);
    // Version before any session.
    a.Send(Request(0, ReqVersion, nullptr));
    MsgBuffer m;
    uint32_t version = 0;
    ASSERT_TRUE(ReplyBody(a.Frame(), &m));
    MsgGetLong(&m, &version);
    EXPECT_EQ(version, 3041u);
    // A read before the handshake is refused.
    EXPECT_EQ(Status(a.Frame(0)), 0xFFFF);
    a.Send(CountRequest(0));
    EXPECT_EQ(Status(a.Frame()), ReplyRefused);

    uint32_t sa = Open(a, false);
    ASSERT_NE(sa, 0u);
    // Before the login neither reads nor writes are served.
    a.Send(CountRequest(sa));
    EXPECT_EQ(Status(a.Frame()), ReplyRefused);
    EXPECT_EQ(InsertCustomer(a, sa, "C1", nullptr), -100 - ReplyRefused);
    ASSERT_EQ(Login(a, sa, "ANY", ""), LoginOutcome::Accepted);

    uint32_t sb = Open(b);
    ASSERT_NE(sb, 0u);
    EXPECT_NE(sa, sb);
    // b may not use a's session, nor end it.
    b.Send(CountRequest(sa));
    EXPECT_EQ(Status(b.Frame()), ReplyRefused);
    MsgBuffer end;
    MsgPutLong(&end, sa);
    b.Send(Request(sb, ReqSessionEnd, &end));
    EXPECT_EQ(Status(b.Frame()), ReplyServed);
    a.Send(CountRequest(sa));
    EXPECT_EQ(CountOf(a.Frame()), 0u) << "a foreign request 24 ended another client's session";

    uint32_t id = 0;
    EXPECT_EQ(InsertCustomer(b, sb, "C1", &id), RecDone);
    EXPECT_NE(id, 0u);
    EXPECT_EQ(InsertCustomer(b, sb, "C1", nullptr), RecKeyExists);
    a.Send(CountRequest(sa));
    EXPECT_EQ(CountOf(a.Frame()), 1u);

    // The session's own request 24 ends it: then it is refused.
    MsgBuffer own;
    MsgPutLong(&own, sb);
    b.Send(Request(sb, ReqSessionEnd, &own));
    EXPECT_EQ(Status(b.Frame()), ReplyServed);
    b.Send(CountRequest(sb));
    EXPECT_EQ(Status(b.Frame()), ReplyRefused);

    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
}

TEST_F(NetServerTest, ReportWaitServesReadsAndWritesButNotPrintsAndStopsOnCancel) {
    RawConn a(port), b(port);
    uint32_t sa = Open(a), sb = Open(b);
    ASSERT_NE(sa, 0u);
    ASSERT_NE(sb, 0u);
    a.Send(WithSession(JobRequestBody(ReqReportRun), sa));
    std::vector<uint8_t> push = a.Frame();
    ASSERT_GE(push.size(), 6u);
    EXPECT_EQ(push[4] | push[5] << 8, FrameCodePush);
    // No second push before the first is acknowledged.
    EXPECT_TRUE(a.Frame(200).empty());
    // A read of a's own while it runs the push (its device set up as the
    // job opens) is answered at once: a acknowledges only after it.
    a.Send(CountRequest(sa));
    EXPECT_EQ(CountOf(a.Frame()), 0u) << "the reply waited for the acknowledgement it holds up";

    // Inside the acknowledgement wait: a read and a write are served...
    b.Send(CountRequest(sb));
    EXPECT_EQ(CountOf(b.Frame()), 0u);
    EXPECT_EQ(InsertCustomer(b, sb, "W1", nullptr), RecDone);
    // ...a form print, another report and an acknowledgement of b's are not served.
    MemBlock h = 0;
    uint8_t *r = RecBufferNew(CUVc::Number, &h);
    MsgBuffer form;
    MsgPutWord(&form, CUVc::Number);
    MsgPutWord(&form, 1);
    MsgPutRecord(&form, CUVc::Number, r);
    RecBufferFree(CUVc::Number, &h);
    b.Send(Request(sb, ReqPrintForm, &form));
    EXPECT_EQ(Status(b.Frame()), ReplyBusy);
    b.Send(WithSession(JobRequestBody(ReqReportRun), sb));
    EXPECT_EQ(Status(b.Frame()), ReplyBusy);
    b.Send(AckFrame(sa, 1));   // a foreign acknowledgement paces nothing and stops nothing
    EXPECT_TRUE(a.Frame(200).empty());

    // a's acknowledgement brings the next push; a cancel ends the report.
    a.Send(AckFrame(sa, 0));
    push = a.Frame();
    ASSERT_GE(push.size(), 6u);
    EXPECT_EQ(push[4] | push[5] << 8, FrameCodePush);
    a.Send(AckFrame(sa, 1));
    int pushes = 2;
    std::vector<uint8_t> f;
    while (!(f = a.Frame()).empty() && (f[4] | f[5] << 8) == FrameCodePush) {
        pushes++;
        a.Send(AckFrame(sa, 1));
    }
    ASSERT_FALSE(f.empty());
    EXPECT_EQ(Status(f), ReplyServed);
    EXPECT_LT(pushes, 6) << "the cancel did not stop the report";
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
}

TEST_F(NetServerTest, UnacknowledgedPushStopsTheReportAndTheServerGoesOn) {
    // Short enough to wait out here, long beside a loaded machine's stalls
    // between a page and its acknowledgement.
    constexpr int AckMs = 3000;
    ServerLimit(&NetLimitsRec::ackMs, AckMs);
    RawConn a(port), b(port);
    uint32_t sa = Open(a), sb = Open(b);
    auto replyText = [](const std::vector<uint8_t> &f) {
        MsgBuffer m;
        ReplyHeader h{};
        return MsgLoad(&m, f.data(), (uint32_t)f.size()) && ReplyHeaderRead(&m, &h, false) ? h.textNumber : 0;
    };
    // a holds its first push a while within the acknowledgement time, as
    // a client whose user answers a dialog the push opened: the job waits
    // for it and goes on whole once it is acknowledged.
    a.Send(WithSession(JobRequestBody(ReqReportRun), sa));
    ASSERT_FALSE(a.Frame().empty());
    for (auto held = std::chrono::steady_clock::now();
         std::chrono::steady_clock::now() - held < std::chrono::milliseconds(AckMs / 6);) {
        std::this_thread::sleep_for(std::chrono::milliseconds(250));
        a.Send(AckFrame(sa, AckHold));
    }
    int pushes = 1;
    std::vector<uint8_t> last;
    for (a.Send(AckFrame(sa)); !(last = a.Frame()).empty() && (last[4] | last[5] << 8) == FrameCodePush; pushes++)
        a.Send(AckFrame(sa));
    EXPECT_EQ(pushes, ReportPushes) << "the held job did not go on whole";
    ASSERT_FALSE(last.empty());
    EXPECT_EQ(replyText(last), NoReplyText);

    a.Send(WithSession(JobRequestBody(ReqReportRun), sa));
    ASSERT_FALSE(a.Frame().empty());
    // a never acknowledges: after the acknowledgement time the job stops
    // and its reply comes, saying so; b is served meanwhile and afterwards.
    std::vector<uint8_t> reply = a.Frame();
    ASSERT_FALSE(reply.empty());
    EXPECT_EQ(reply[4] | reply[5] << 8, FrameCodeReply);
    EXPECT_EQ(replyText(reply), Texts::OutputGivenUp);
    b.Send(WithSession(JobRequestBody(ReqReportRun), sb));
    std::vector<uint8_t> f = b.Frame();
    ASSERT_FALSE(f.empty());
    EXPECT_EQ(f[4] | f[5] << 8, FrameCodePush) << "a second report runs once the first ended";
}

// A client whose user leaves the dialog of a push open holds it past the
// acknowledgement time: the holds keep the job no longer than that time
// from the push. The job stops and its reply says why in words while the
// holds still come; the report another client was refused meanwhile is
// served then, and the holding client, answering at last, keeps its
// connection.
TEST_F(NetServerTest, HoldsKeepAJobNoLongerThanTheAcknowledgementTimeFromItsPush) {
    constexpr int AckMs = 3000;
    ServerLimit(&NetLimitsRec::ackMs, AckMs);
    RawConn a(port), b(port);
    uint32_t sa = Open(a), sb = Open(b);
    ASSERT_NE(sa, 0u);
    ASSERT_NE(sb, 0u);
    a.Send(WithSession(JobRequestBody(ReqReportRun), sa));
    std::vector<uint8_t> push = a.Frame();
    ASSERT_GE(push.size(), 6u);
    ASSERT_EQ(push[4] | push[5] << 8, FrameCodePush);
    b.Send(WithSession(JobRequestBody(ReqReportRun), sb));
    EXPECT_EQ(Status(b.Frame()), ReplyBusy) << "a second report ran beside the held one";
    // Holds every 250 ms, for far longer than the acknowledgement time.
    std::vector<uint8_t> reply;
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(10 * AckMs);
    while (reply.empty() && std::chrono::steady_clock::now() < until) {
        a.Send(AckFrame(sa, AckHold));
        reply = a.Frame(250);
    }
    ASSERT_FALSE(reply.empty()) << "the holds kept the job past the acknowledgement time";
    EXPECT_EQ(reply[4] | reply[5] << 8, FrameCodeReply);
    MsgBuffer m;
    ReplyHeader h{};
    ASSERT_TRUE(MsgLoad(&m, reply.data(), (uint32_t)reply.size()) && ReplyHeaderRead(&m, &h, false));
    EXPECT_EQ(h.status, ReplyServed);
    EXPECT_EQ(h.textNumber, Texts::OutputHeldGivenUp) << "the reply did not say the print was given up for its dialog";
    b.Send(WithSession(JobRequestBody(ReqReportRun), sb));
    std::vector<uint8_t> f = b.Frame();
    ASSERT_GE(f.size(), 6u);
    EXPECT_EQ(f[4] | f[5] << 8, FrameCodePush) << "the waiting client's report was not served once the bound ended";
    // The dialog answered at last: the acknowledgement of the given-up
    // push changes nothing, and a's connection still serves it.
    a.Send(AckFrame(sa));
    a.Send(CountRequest(sa));
    EXPECT_EQ(CountOf(a.Frame()), 0u) << "the holding client lost its connection";
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
}

TEST_F(NetServerTest, ProgramClientWorksThroughTheServer) {
    RunMode = RunModeClient;
    NetClientStart();
    ASSERT_TRUE(ConnectLoop("127.0.0.1", (uint16_t)port, nullptr));
    EXPECT_NE(NetClient.session, 0u);
    uint8_t name[256], pw[256], access[AccessVc::Size + 8] = {0};
    PStringFromC(name, "ANY");
    PStringFromC(pw, "");
    ASSERT_TRUE(LoginRemote(AccessVc::Number, name, pw, access));

    MemBlock h = 0;
    uint8_t *r = RecBufferNew(CUVc::Number, &h);
    uint8_t code[256];
    PStringFromC(code, "K100");
    PutText(r, CUVc::Code, code);
    uint32_t id = 0;
    int result = -5;
    RecInsertChecked(CUVc::Number, r, &id, &result);
    EXPECT_EQ(result, RecDone);
    EXPECT_NE(id, 0u);
    // The record count came back with the reply's count list.
    EXPECT_EQ(RegRecordCount(CUVc::Number), 1u);
    RecClear(CUVc::Number, r);
    PutText(r, CUVc::Code, code);
    uint32_t got = 0, pos = 0;
    EXPECT_TRUE(RecFind(CUVc::Number, r, 0, 1, &got, &pos));
    EXPECT_EQ(got, id);
    // The lock is the session's: a second client cannot take it.
    EXPECT_TRUE(RecordLockTakeCall(CUVc::Number, id, r));
    RawConn other(port);
    uint32_t so = Open(other);
    MsgBuffer lock;
    MsgPutWord(&lock, CUVc::Number);
    MsgPutLong(&lock, id);
    other.Send(Request(so, ReqRecordLockTake, &lock));
    MsgBuffer m;
    uint8_t taken = 1;
    ASSERT_TRUE(ReplyBody(other.Frame(), &m));
    MsgGetByte(&m, &taken);
    EXPECT_EQ(taken, 0);
    RecBufferFree(CUVc::Number, &h);

    NetClientClose();
    EXPECT_FALSE(NetClient.connected);
    ASSERT_TRUE(AwaitServerHolds(1, 1)) << "the server did not see the client go";
    // With the client gone its lock is free.
    other.Send(Request(so, ReqRecordLockTake, &lock));
    MsgBuffer m2;
    ASSERT_TRUE(ReplyBody(other.Frame(), &m2));
    MsgGetByte(&m2, &taken);
    EXPECT_EQ(taken, 1);
    // A request without a connection reports a lost connection, never done.
    result = RecDone;
    r = RecBufferNew(CUVc::Number, &h);
    RecInsertChecked(CUVc::Number, r, &id, &result);
    EXPECT_EQ(result, RecConnectionLost);
    RecBufferFree(CUVc::Number, &h);
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
}

TEST_F(NetServerTest, AnImportWithAnotherSessionInUseImportsNothingAndSaysWhy) {
    RawConn a(port), b(port);
    uint32_t sa = Open(a), sb = Open(b);
    ASSERT_NE(sa, 0u);
    ASSERT_NE(sb, 0u);
    MsgBuffer im;
    MsgPutLong(&im, 0);   // an empty file: no chunk
    std::vector<uint8_t> job(ReportParamsSize, 0);
    MsgPutJobRecord(&im, job.data(), (uint32_t)job.size());
    a.Send(Request(sa, ReqImportRun, &im));
    std::vector<uint8_t> f = a.Frame();
    MsgBuffer m;
    ASSERT_TRUE(MsgLoad(&m, f.data(), (uint32_t)f.size()));
    ReplyHeader h;
    ASSERT_TRUE(ReplyHeaderRead(&m, &h, false));
    EXPECT_EQ(h.status, ReplyServed);
    EXPECT_EQ(h.textNumber, Texts::RegisterNeedsSingleUser) << "the refusal's text travels in the reply";
    // With b gone the import runs (and the reply carries no such text).
    close(b.fd);
    b.fd = -1;
    ASSERT_TRUE(AwaitServerHolds(1, 1)) << "the server did not see b go";
    a.Send(Request(sa, ReqImportRun, &im));
    MsgBuffer m2;
    f = a.Frame();
    ASSERT_TRUE(MsgLoad(&m2, f.data(), (uint32_t)f.size()));
    ASSERT_TRUE(ReplyHeaderRead(&m2, &h, false));
    EXPECT_EQ(h.status, ReplyServed);
    EXPECT_NE(h.textNumber, Texts::RegisterNeedsSingleUser);
}

TEST_F(NetServerTest, EveryReplyAfterACountChangeCarriesTheNewCounts) {
    RawConn a(port), b(port);
    uint32_t sa = Open(a), sb = Open(b);
    ASSERT_NE(sa, 0u);
    ASSERT_NE(sb, 0u);
    // b's reply after a's write: the list, with the new count; then none
    // until the next change, which the next list shows.
    auto beside = [&](bool *listed) {
        b.Send(Request(sb, ReqNothing, nullptr));
        std::vector<uint8_t> f = b.Frame();
        MsgBuffer m;
        uint32_t length = 0, count = 99;
        uint16_t code = 0, status = 0, text = 0, highest = NoRecordCounts;
        uint8_t told[256];
        MsgLoad(&m, f.data(), (uint32_t)f.size());
        MsgGetLong(&m, &length);
        MsgGetWord(&m, &code);
        MsgGetWord(&m, &status);
        MsgGetWord(&m, &text);
        MsgGetPString(&m, told);
        MsgGetWord(&m, &highest);
        *listed = highest != NoRecordCounts;
        for (int reg = 0; *listed && reg <= CUVc::Number; reg++) MsgGetLong(&m, &count);
        return count;
    };
    bool listed = false;
    beside(&listed);
    for (uint32_t n = 1; n <= 3; n++) {
        ASSERT_EQ(InsertCustomer(a, sa, ("N" + std::to_string(n)).c_str(), nullptr), RecDone);
        EXPECT_EQ(beside(&listed), n);
        EXPECT_TRUE(listed);
        EXPECT_EQ(beside(&listed), 99u);
        EXPECT_FALSE(listed) << "the list came again without a change";
    }
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
}

TEST_F(NetServerTest, PurchasePricesOfNoPurchaseChangeNothingAndTheClientStaysConnected) {
    static std::vector<std::string> told;
    told.clear();
    MessageSinkSet([](const char *t) { told.emplace_back(t); });
    RunMode = RunModeClient;
    NetClientStart();
    ASSERT_TRUE(ConnectLoop("127.0.0.1", (uint16_t)port, nullptr));
    uint8_t name[256], pw[256], access[AccessVc::Size + 8] = {0};
    PStringFromC(name, "ANY");
    PStringFromC(pw, "");
    ASSERT_TRUE(LoginRemote(AccessVc::Number, name, pw, access));
    std::vector<uint8_t> job(ReportParamsSize, 0);
    // Request 50 naming no purchase that exists runs, changes nothing and
    // says why, at the client.
    for (uint16_t code : {ReqPurchasePricesToItems}) {
        told.clear();
        EXPECT_TRUE(JobRequestRemote(code, job.data(), (uint32_t)job.size())) << code;
        EXPECT_EQ(told, std::vector<std::string>{"No item price set: no goods receipt has the number given"});
        EXPECT_TRUE(NetClient.connected) << code;
    }
    MemBlock h = 0;
    uint8_t *r = RecBufferNew(CUVc::Number, &h);
    uint8_t code[256];
    PStringFromC(code, "KEEP");
    PutText(r, CUVc::Code, code);
    uint32_t made = 77;
    told.clear();
    // Kind 1 makes deliveries: sent with the customer register it is
    // refused before anything is read, and the record comes back as sent.
    EXPECT_TRUE(ConvertDocumentRemote(CUVc::Number, 1, r, &made));
    EXPECT_EQ(made, 0xFFFFFFFFu) << "no record was made";
    EXPECT_TRUE(told.empty());
    uint8_t back[256];
    GetText(r, CUVc::Code, back);
    EXPECT_EQ(PStringToStd(back), "KEEP");
    EXPECT_EQ(RegRecordCount(CUVc::Number), 0u);
    RecBufferFree(CUVc::Number, &h);
    // The connection still serves.
    EXPECT_TRUE(NetClient.connected);
    NetClientClose();
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
}
