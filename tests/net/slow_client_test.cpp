// A client that stops reading in the middle of output made inside a hold
// (a save that prints before it commits): the hold ends without waiting
// for it, no other client sees the hold before it ends or waits on it,
// and the silent client is dropped: at once when its output queue
// overflows, after the acknowledgement time otherwise. A client that
// holds a page (its user answers a dialog) is waited for.
#include <chrono>
#include <thread>

#include "tests/net/net_fixture.h"

using namespace nettest;

namespace {

constexpr int PagesInHold = 20;
inline int PageWords = 8;
// The acknowledgement time of the small pages' server: waited out by the
// tests, and long beside a loaded machine's stalls between a page and
// its acknowledgement.
constexpr int AckMs = 4000;

// The report body: inside one hold a customer is stored, pages are put
// out, and then the hold fails, so the customer never was.
void PrintInsideAFailingHold(ReportJob &) {
    D4Hold();
    MemBlock h = 0;
    uint8_t *r = RecBufferNew(CUVc::Number, &h);
    uint8_t code[256];
    PStringFromC(code, "INHOLD");
    PutText(r, CUVc::Code, code);
    uint32_t id = 0;
    RecStoreByKeyLocal(CUVc::Number, r, 1, &id);
    RecBufferFree(CUVc::Number, &h);
    for (int i = 0; i < PagesInHold && !RepStopped; i++) {
        for (int k = 0; k < PageWords; k++) MsgPutWord(&OutputMessage, 0);
        MsgSend();
    }
    D4HoldFail();
    D4DiskFlush();
}

void SmallPagesServer() {
    ServerReportRun = PrintInsideAFailingHold;
    NetLimits.ackMs = AckMs;
}
void BigPagesSmallQueueServer() {
    ServerReportRun = PrintInsideAFailingHold;
    PageWords = 2000;
    NetLimits.maxOutput = 20000;
}

std::vector<uint8_t> ReportRequest(uint32_t session) {
    MsgBuffer body;
    MsgPutPString(&body, EmptyPString);
    std::vector<uint8_t> job(ReportParamsSize, 0);
    MsgPutJobRecord(&body, job.data(), (uint32_t)job.size());
    return Request(session, ReqReportRun, &body);
}


long MsSince(std::chrono::steady_clock::time_point t) {
    return (long)std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t).count();
}

class NetSilentPrinterTest : public NetServerTest {
protected:
    nettest::ServerSetup ServerExtra() override { return SmallPagesServer; }
};
class NetOverflowingPrinterTest : public NetServerTest {
protected:
    nettest::ServerSetup ServerExtra() override { return BigPagesSmallQueueServer; }
};

}  // namespace

TEST_F(NetSilentPrinterTest, ASilentClientDelaysNoOtherSaveAndNoOneSeesItsHold) {
    RawConn silent(port, 4096), other(port);
    uint32_t ss = Open(silent), so = Open(other);
    ASSERT_NE(ss, 0u);
    ASSERT_NE(so, 0u);
    ASSERT_TRUE(silent.Send(ReportRequest(ss)));
    std::vector<uint8_t> first = silent.Frame();   // the first page; never acknowledged
    ASSERT_GE(first.size(), 6u);
    ASSERT_EQ(first[4] | first[5] << 8, FrameCodePush);

    // The other client reads and saves meanwhile, each at once.
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(CustomerCount(other, so), 0u) << "a reader saw a hold before it ended";
    uint32_t id = 0;
    EXPECT_EQ(InsertCustomer(other, so, "SAVED", &id), RecDone);
    EXPECT_LT(MsSince(start), AckMs / 2) << "the save waited on the silent client";
    EXPECT_EQ(CustomerCount(other, so), 1u) << "the acknowledged save is not there";

    // The silent client is dropped after the acknowledgement time; its
    // queued pages and reply go with it.
    EXPECT_TRUE(silent.Closed(PatientMs));
    EXPECT_EQ(CustomerCount(other, so), 1u);
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
    EXPECT_EQ(e.sessions, 1);
    EXPECT_EQ(e.slots, 1);
}

TEST_F(NetSilentPrinterTest, QueuedPagesGoOnePerAcknowledgementAndTheReplyLast) {
    RawConn c(port);
    uint32_t s = Open(c);
    ASSERT_NE(s, 0u);
    ASSERT_TRUE(c.Send(ReportRequest(s)));
    int pages = 0;
    std::vector<uint8_t> f;
    while (!(f = c.Frame()).empty() && (f[4] | f[5] << 8) == FrameCodePush) {
        pages++;
        EXPECT_TRUE(c.Frame(150).empty()) << "a second page before the first was acknowledged";
        // The first page held past the acknowledgement time, as by a
        // client whose user answers its Print dialog: it is not dropped.
        for (auto held = std::chrono::steady_clock::now(); pages == 1 && MsSince(held) < AckMs + AckMs / 4;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            c.Send(AckFrame(s, AckHold));
        }
        c.Send(AckFrame(s));
        if (pages > PagesInHold) break;
    }
    EXPECT_EQ(pages, PagesInHold);
    ASSERT_FALSE(f.empty());
    EXPECT_EQ(Status(f), ReplyServed) << "the reply did not follow the pages";
    EXPECT_EQ(CustomerCount(c, s), 0u) << "the failed hold was kept";
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
}

TEST_F(NetOverflowingPrinterTest, AClientWhoseQueueOverflowsIsDroppedAtOnce) {
    RawConn silent(port, 4096), other(port);
    uint32_t ss = Open(silent), so = Open(other);
    ASSERT_NE(ss, 0u);
    ASSERT_NE(so, 0u);
    // The program's acknowledgement time is far longer than this test
    // waits: a drop within the wait is the full queue's.
    ASSERT_GT(ProgramLimit(&NetLimitsRec::ackMs), 2 * PatientMs);
    ASSERT_TRUE(silent.Send(ReportRequest(ss)));
    EXPECT_TRUE(silent.Closed(PatientMs)) << "not dropped when its queue overflowed";
    EXPECT_EQ(InsertCustomer(other, so, "AFTER", nullptr), RecDone);
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
    EXPECT_EQ(e.sessions, 1);
}
