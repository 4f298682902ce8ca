// Clients that stop reading cost the others little: one that stops
// acknowledging a text export's pages keeps the others' exports busy for
// one acknowledgement time at most, and its next job stops without a
// wait; one that sends requests and never reads the answers is served no
// further once they pile up, so another client's reads stay quick, and
// it is closed when its answers have not left in time.
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "exchange/text_exchange.h"
#include "output/output_job.h"
#include "rules/hooks.h"
#include "tests/net/net_fixture.h"

using namespace nettest;

namespace {

using Clock = std::chrono::steady_clock;

long MsSince(Clock::time_point t) {
    return (long)std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - t).count();
}

// The export server's acknowledgement time: waited out once by the test,
// and long beside a loaded machine's stalls, which the bounds below allow
// for as well.
constexpr long AckMs = 3000;

// Enough customers for a full export of many pages.
void ManyCustomers() {
    RulesInstall();
    TextExchangeInstall();
    OutputRunServices.runTextExport = RunTextExportBody;   // as the features' install fills it
    MemBlock h = 0;
    uint8_t *r = RecBufferNew(CUVc::Number, &h);
    for (int i = 0; i < 1500; i++) {
        RecClear(CUVc::Number, r);
        uint8_t code[256];
        PStringFromC(code, ("C" + std::to_string(10000 + i)).c_str());
        PutText(r, CUVc::Code, code);
        PStringFromC(code, ("Customer with a long enough name " + std::to_string(i)).c_str());
        PutText(r, CUVc::Name, code);
        uint32_t id = 0;
        int result = -100;
        RecInsertCheckedLocal(CUVc::Number, r, &id, &result);
        if (result != RecDone) _exit(9);
    }
    RecBufferFree(CUVc::Number, &h);
    NetLimits.ackMs = AckMs;
}

class NetSilentExportTest : public NetServerTest {
protected:
    nettest::ServerSetup ServerExtra() override { return ManyCustomers; }
};

// The answers of a client that never reads pile up: only the time the
// answers take to leave, not the drain time-out, may end it early.
void PatientDrain() { NetLimits.drainMs = 4000; }
class NetFloodTest : public NetServerTest {
protected:
    nettest::ServerSetup ServerExtra() override { return PatientDrain; }
};

std::vector<uint8_t> ExportRequest(uint32_t session) {
    MsgBuffer body;
    MsgPutWord(&body, 0);   // everything
    std::vector<uint8_t> job(ReportParamsSize, 0);
    MsgPutJobRecord(&body, job.data(), (uint32_t)job.size());
    return Request(session, ReqTextExport, &body);
}

uint16_t FrameCode(const std::vector<uint8_t> &f) { return f.size() >= 6 ? uint16_t(f[4] | f[5] << 8) : 0xFFFF; }

// Runs an export to its reply, acknowledging each page; the pages, or
// -1 when no reply came.
int ExportThrough(const RawConn &c, uint32_t session) {
    int pages = 0;
    for (;;) {
        std::vector<uint8_t> f = c.Frame();
        if (f.empty()) return -1;
        if (FrameCode(f) != FrameCodePush) return Status(f) == ReplyServed ? pages : -1;
        pages++;
        c.Send(AckFrame(session));
    }
}

}  // namespace

TEST_F(NetSilentExportTest, AClientThatStopsAcknowledgingHoldsTheOthersOneWaitAtMost) {
    RawConn silent(port), other(port);
    uint32_t ss = Open(silent), so = Open(other);
    ASSERT_NE(ss, 0u);
    ASSERT_NE(so, 0u);
    // The whole export goes over several pages when acknowledged.
    ASSERT_TRUE(other.Send(ExportRequest(so)));
    EXPECT_GT(ExportThrough(other, so), 3);

    ASSERT_TRUE(silent.Send(ExportRequest(ss)));
    std::vector<uint8_t> first = silent.Frame();   // never acknowledged
    ASSERT_EQ(FrameCode(first), FrameCodePush);
    auto start = Clock::now();
    // The other client's export is busy while the silent one's job waits,
    // and served once that one wait has run out.
    long servedAfter = -1;
    while (MsSince(start) < PatientMs) {
        ASSERT_TRUE(other.Send(ExportRequest(so)));
        std::vector<uint8_t> f = other.Frame();
        ASSERT_FALSE(f.empty());
        if (FrameCode(f) == FrameCodePush || Status(f) != ReplyBusy) {
            servedAfter = MsSince(start);
            if (FrameCode(f) == FrameCodePush) other.Send(AckFrame(so));
            EXPECT_GE(ExportThrough(other, so), 0);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    ASSERT_GE(servedAfter, 0) << "the other client's export never ran";
    EXPECT_LT(servedAfter, 2 * AckMs) << "the others waited for the silent client more than once";

    // The silent client's job ended with its reply; its next job stops at
    // once, as nothing waits for it again until it acknowledges.
    std::vector<uint8_t> f;
    while (!(f = silent.Frame()).empty() && FrameCode(f) == FrameCodePush) {
    }
    ASSERT_FALSE(f.empty()) << "no reply to the silent client's export";
    EXPECT_EQ(Status(f), ReplyServed);
    auto again = Clock::now();
    ASSERT_TRUE(silent.Send(ExportRequest(ss)));
    while (!(f = silent.Frame()).empty() && FrameCode(f) == FrameCodePush) {
    }
    EXPECT_EQ(Status(f), ReplyServed);
    EXPECT_LT(MsSince(again), AckMs) << "the silent client's next job waited for it again";
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
}

TEST_F(NetFloodTest, AClientThatNeverReadsIsServedNoFurtherAndOthersStayQuick) {
    RawConn flood(port, 4096), other(port);
    uint32_t sf = Open(flood), so = Open(other);
    ASSERT_NE(sf, 0u);
    ASSERT_NE(so, 0u);
    MsgBuffer b;
    MsgPutWord(&b, CUVc::Number);
    std::vector<uint8_t> one = Request(sf, ReqRecordCount, &b), batch;
    for (int i = 0; i < 2000; i++) batch.insert(batch.end(), one.begin(), one.end());
    // The other client's reads for a while, each one's time, sorted.
    auto reads = [&](long forMs) {
        std::vector<long> took;
        for (auto start = Clock::now(); MsSince(start) < forMs;) {
            auto t = Clock::now();
            if (CustomerCount(other, so) != 0u) {
                ADD_FAILURE() << "the other client was not served";
                break;
            }
            took.push_back(MsSince(t));
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        std::sort(took.begin(), took.end());
        return took;
    };
    // What a read takes on this machine as it is loaded now, before the flood.
    const std::vector<long> alone = reads(1000);
    ASSERT_GE(alone.size(), 5u);
    std::atomic<long> sent{0};
    std::atomic<bool> cut{false};
    std::thread flooder([&] {
        while (flood.Send(batch)) sent += (long)batch.size();
        cut = true;
    });
    // The other client's reads while the flood goes on.
    const std::vector<long> took = reads(3000);
    // The flooder is closed once its answers have not left for the drain
    // time: its sends fail then. A loaded machine serves the flood's
    // backlog slowly before the queue stops draining, so the wait is long;
    // a passing run ends it as soon as the cut comes.
    for (auto until = Clock::now() + std::chrono::milliseconds(PatientMs); !cut && Clock::now() < until;)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    bool closed = cut;
    shutdown(flood.fd, SHUT_RDWR);
    flooder.join();
    ASSERT_GE(took.size(), 5u);
    // Before the bound a read took some 300 ms on an idle machine; here a
    // read takes a few ms. A loaded machine makes every read slower, the
    // flood's or not: the bounds grow with what a read took before it.
    const long half = alone[alone.size() / 2], most = alone[alone.size() * 9 / 10];
    EXPECT_LT(took[took.size() / 2], 80 + 4 * half) << "half the reads took longer (alone " << half << " ms)";
    EXPECT_LT(took[took.size() * 9 / 10], 200 + 4 * most) << "a tenth of the reads took longer (alone " << most
                                                         << " ms)";
    EXPECT_GT(sent.load(), 1L << 20) << "the flood did not flood";
    EXPECT_TRUE(closed) << "the client that never reads kept its connection";
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
    EXPECT_EQ(e.slots, 1);
}
