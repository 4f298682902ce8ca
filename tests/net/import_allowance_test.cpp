// What an import's frame may cost the server: decided from its header,
// by the rights of the session that sends it. A person whose group may
// not import is answered at once, with the refusal, and the file that
// follows is dropped as it arrives, never kept; the connection goes on.
// An administrator's import is refused the same way while another
// session is in use, and served when it is alone.
#include "core/password_verifier.h"
#include "exchange/text_exchange.h"
#include "net/auth.h"
#include "output/output_job.h"
#include "rules/hooks.h"
#include "tests/net/rights_fixture.h"

using namespace nettest;

namespace {

constexpr int AccessGroupWindow = 591;

void Company() {
    RulesInstall();
    TextExchangeInstall();
    OutputRunServices.runTextExport = RunTextExportBody;   // as the features' install fills it
    VerifierIterations = VerifierIterationsMin;
    // The files below are tens of MiB: on a loaded machine they travel
    // longer than the program's time for a frame, which is not what is
    // tested here.
    NetLimits.frameMs = 20 * PatientMs;
    StoreGroup("LIMIT", {{9, 1, 1}, {2, AccessGroupWindow, 0}});
    StorePerson("ADMIN", "Admin-Pass-1", "");
    StorePerson("BOB", "Bob-Pass-1", "LIMIT");
}

class NetImportAllowanceTest : public NetRightsTest {
protected:
    nettest::ServerSetup ServerExtra() override { return Company; }
};

// The header of a request 20 claiming `length` bytes in all.
std::vector<uint8_t> ImportHead(uint32_t session, uint32_t length) {
    std::vector<uint8_t> head(10, 0);
    std::memcpy(head.data(), &length, 4);
    std::memcpy(head.data() + 4, &session, 4);
    uint16_t code = ReqImportRun;
    std::memcpy(head.data() + 8, &code, 2);
    return head;
}

// Sends n filler bytes in 64 KiB pieces; false when the server closed.
bool Stream(const RawConn &c, size_t n) {
    std::vector<uint8_t> chunk(64 * 1024, 0x5A);
    for (size_t sent = 0; sent < n; sent += chunk.size()) {
        size_t k = n - sent < chunk.size() ? n - sent : chunk.size();
        if (!c.Send(std::vector<uint8_t>(chunk.begin(), chunk.begin() + (long)k))) return false;
    }
    return true;
}

// The message number of a served reply (0 for any other frame).
uint16_t ServedText(const std::vector<uint8_t> &f) {
    return Status(f) == ReplyServed && f.size() >= 10 ? uint16_t(f[8] | f[9] << 8) : 0;
}

// A whole request 20 with an empty file.
std::vector<uint8_t> EmptyImport(uint32_t session) {
    MsgBuffer body;
    MsgPutLong(&body, 0);
    std::vector<uint8_t> job(ReportParamsSize, 0);
    MsgPutJobRecord(&body, job.data(), (uint32_t)job.size());
    return Request(session, ReqImportRun, &body);
}

}  // namespace

TEST_F(NetImportAllowanceTest, AnImportIsAnsweredFromItsHeaderAndARefusedFileIsNeverKept) {
    RawConn bob(port);
    uint32_t sb = Session(bob, "BOB", "Bob-Pass-1");
    ASSERT_NE(sb, 0u);
    // 40 MiB claimed: beyond any other request's frame, within an import's.
    constexpr uint32_t Claimed = 40u << 20;
    ASSERT_TRUE(bob.Send(ImportHead(sb, Claimed)));
    ASSERT_TRUE(Stream(bob, 1u << 20));
    // Told while the file is still on its way, with the refusal's text.
    std::vector<uint8_t> answer = bob.Frame();
    ASSERT_FALSE(answer.empty()) << "no answer before the whole file came";
    EXPECT_EQ(ServedText(answer), Texts::NoRight);
    ASSERT_TRUE(Stream(bob, Claimed - 10 - (1u << 20))) << "the server closed the connection";
    // The next request after the dropped file is served on the same connection.
    EXPECT_EQ(CustomerCount(bob, sb), 0u);

    // An administrator may import, but not while another session is in use.
    RawConn admin(port);
    uint32_t sa = Session(admin, "ADMIN", "Admin-Pass-1");
    ASSERT_NE(sa, 0u);
    ASSERT_TRUE(admin.Send(ImportHead(sa, Claimed)));
    answer = admin.Frame();
    EXPECT_EQ(ServedText(answer), Texts::RegisterNeedsSingleUser);
    ASSERT_TRUE(Stream(admin, Claimed - 10));
    // Alone once BOB's session ended: the administrator's import is served.
    MsgBuffer own;
    MsgPutLong(&own, sb);
    ASSERT_TRUE(bob.Send(Request(sb, ReqSessionEnd, &own)));
    EXPECT_EQ(Status(bob.Frame()), ReplyServed);
    ASSERT_TRUE(admin.Send(EmptyImport(sa)));
    answer = admin.Frame();
    EXPECT_EQ(Status(answer), ReplyServed);
    EXPECT_NE(ServedText(answer), Texts::NoRight);
    EXPECT_NE(ServedText(answer), Texts::RegisterNeedsSingleUser);
    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
}
