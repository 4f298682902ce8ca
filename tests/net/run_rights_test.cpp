// run_rights_test.cpp - the job requests asked of the server by raw
// clients: a report, a document run, an export, a maintenance routine and
// the runs 46..50 are served only to a person whose group grants the
// menu entry (and its module), a run that stores records only to one who
// may write them; a refused run tells text 16001, sends no output and
// writes nothing to the company file.
#include "core/ui_text.h"
#include "net/auth.h"
#include "output/job_queue.h"
#include "output/output_job.h"
#include "rules/hooks.h"
#include "tests/net/net_fixture.h"
#include "tests/net/rights_fixture.h"

using namespace nettest;

namespace {

constexpr const char *AdminPassword = "Admin-Runs-1";
constexpr const char *Password = "Person-Runs-2";
constexpr uint16_t ReportSales = 1, ReportLedger = 24, ExportCustomers = 9, RoutineSampleInvoices = 6,
                   RoutinePostAgain = 10;
constexpr uint16_t ReportOfOrderButton = 110;   // run by the order window's button, in no list
constexpr int16_t DocumentOrders = -6;

// ADMIN without a group and a customer and an item, so that the sample
// invoices (routine 6) have something to invoice. BOB's group refuses
// each run's entry: report 1 (and with it export 1), document -6,
// export 9, routine 6, report 110 (no list names it), and the windows of
// what the runs 46..50 store.
// DAN's group grants every entry but not the invoice or voucher windows. LED's group
// uses only the ledger module (2).
void Company() {
    RulesInstall();
    VerifierIterations = VerifierIterationsMin;
    std::vector<AccessRow> norun = {{9, 1, 1},
                                    {4, ReportSales, 0},
                                    {5, uint16_t(DocumentOrders), 0},
                                    {4, ExportCustomers, 0},
                                    {5, RoutineSampleInvoices, 0},
                                    {4, ReportOfOrderButton, 0}};
    for (int reg : {OPVc::Number, PurchOrderVc::Number, ProductionVc::Number, TimeBudgetVc::Number, INVc::Number})
        RefuseRegister(&norun, reg);
    StoreGroup("NORUN", norun);
    std::vector<AccessRow> nowrite = {{9, 1, 1}};
    RefuseRegister(&nowrite, IVVc::Number);
    RefuseRegister(&nowrite, TRVc::Number);
    StoreGroup("NOWR", nowrite);
    StoreGroup("LEDG", {{1, 2, 1}});
    StorePerson("ADMIN", AdminPassword, "");
    StorePerson("BOB", Password, "NORUN");
    StorePerson("DAN", Password, "NOWR");
    StorePerson("LED", Password, "LEDG");
    MemBlock h = 0, hi = 0;
    uint8_t *c = RecBufferNew(CUVc::Number, &h), *item = RecBufferNew(INVc::Number, &hi);
    PutText(c, CUVc::Code, 20, "C1");
    PutText(item, INVc::Code, 20, "I1");
    uint32_t id = 0;
    int result = -100;
    RecInsertCheckedLocal(CUVc::Number, c, &id, &result);
    if (result != RecDone) _exit(7);
    RecInsertCheckedLocal(INVc::Number, item, &id, &result);
    if (result != RecDone) _exit(8);
    RecBufferFree(CUVc::Number, &h);
    RecBufferFree(INVc::Number, &hi);
}

// A job record: the run's number and, for the sample invoices, two
// invoices from number `first` (each person's own numbers, so that a
// run that should have been refused shows in the file).
std::vector<uint8_t> Job(int16_t number, const char *first) {
    std::vector<uint8_t> job(ReportParamsSize, 0);
    PutU16(job.data(), ReportParamsVc::ReportNumber, uint16_t(number));
    PutText(job.data(), ReportParamsVc::SelText1, 255, "2");
    PutText(job.data(), ReportParamsVc::SelText3, 255, first);
    return job;
}

std::vector<uint8_t> RunRequest(uint32_t session, uint16_t code, int16_t number, const char *first) {
    MsgBuffer body;
    if (code == ReqReportRun || code == ReqDocumentRun) MsgPutPString(&body, EmptyPString);
    if (code == ReqTextExport) MsgPutWord(&body, uint16_t(number));
    std::vector<uint8_t> job = Job(code == ReqTextExport ? 0 : number, first);
    MsgPutJobRecord(&body, job.data(), (uint32_t)job.size());
    return Request(session, code, &body);
}

// What a run answered: the output pushed before the reply (each
// acknowledged), the text the reply carries, and whether a reply came.
struct RunAnswer {
    int pushes = 0;
    uint16_t text = NoPendingText;
    bool replied = false;
};

RunAnswer AskRun(const RawConn &c, uint32_t session, uint16_t code, int16_t number, const char *first = "9001") {
    RunAnswer a;
    c.Send(RunRequest(session, code, number, first));
    for (int guard = 0; guard < 100; guard++) {
        std::vector<uint8_t> f = c.Frame();
        if (f.size() < 8) return a;
        if ((f[4] | f[5] << 8) == FrameCodePush) {
            a.pushes++;
            c.Send(AckFrame(session));
            continue;
        }
        a.replied = Status(f) == ReplyServed;
        if (a.replied && f.size() >= 10) a.text = uint16_t(f[8] | f[9] << 8);
        return a;
    }
    return a;
}

class RunRightsTest : public NetRightsTest {
protected:
    nettest::ServerSetup ServerExtra() override { return Company; }
};

struct Ask {
    uint16_t code;
    int16_t number;
};
constexpr Ask EveryKind[] = {
    {ReqReportRun, int16_t(ReportSales)},
    {ReqDocumentRun, DocumentOrders},
    {ReqTextExport, int16_t(ExportCustomers)},
    {ReqMaintenance, int16_t(RoutineSampleInvoices)},
    {ReqPaymentSuggestion, 0},
    {ReqPurchaseOrderSuggestion, 0},
    {ReqProductionSuggestion, 0},
    {ReqQuotationRowsBatch, 0},
    {ReqPurchasePricesToItems, 0},
};

}  // namespace

TEST_F(RunRightsTest, ARunIsServedOnlyWhenTheMenusWouldOfferItAndARefusedOneWritesNothing) {
    RawConn admin(port), bob(port), dan(port), led(port);
    uint32_t sa = Session(admin, "ADMIN", AdminPassword), sb = Session(bob, "BOB", Password),
             sd = Session(dan, "DAN", Password), sl = Session(led, "LED", Password);
    ASSERT_TRUE(sa && sb && sd && sl);

    // BOB is refused every kind: the text comes in a served reply, and
    // no output comes before it.
    for (const Ask &k : EveryKind) {
        RunAnswer a = AskRun(bob, sb, k.code, k.number);
        EXPECT_TRUE(a.replied) << k.code;
        EXPECT_EQ(a.text, Texts::NoRight) << k.code;
        EXPECT_EQ(a.pushes, 0) << k.code;
    }
    // A document run under the report code is still asked as a document.
    EXPECT_EQ(AskRun(bob, sb, ReqReportRun, DocumentOrders).text, Texts::NoRight);
    // A report no list names is asked its own right: BOB's row refuses it,
    // DAN's group (no row) lets it run.
    EXPECT_EQ(AskRun(bob, sb, ReqReportRun, int16_t(ReportOfOrderButton)).text, Texts::NoRight);
    EXPECT_GT(AskRun(dan, sd, ReqReportRun, int16_t(ReportOfOrderButton)).pushes, 0);

    // DAN may use routine 6 from the menus but not write invoices.
    EXPECT_EQ(AskRun(dan, sd, ReqMaintenance, RoutineSampleInvoices, "3001").text, Texts::NoRight);
    // Posting documents again stores vouchers, which DAN may not write.
    EXPECT_EQ(AskRun(dan, sd, ReqMaintenance, RoutinePostAgain, "1").text, Texts::NoRight);
    for (uint16_t reg : {IVVc::Number, OPVc::Number, PurchOrderVc::Number, ProductionVc::Number,
                         TimeBudgetVc::Number, CostBudgetVc::Number, PriceVc::Number})
        EXPECT_EQ(RecordCount(admin, sa, reg), 0u) << "a refused run wrote to register " << reg;
    // A report his group names nothing against runs and pushes its output.
    RunAnswer report = AskRun(dan, sd, ReqReportRun, ReportSales);
    EXPECT_NE(report.text, Texts::NoRight);
    EXPECT_GT(report.pushes, 0);

    // LED works only in the ledger: its report runs, a sales one does not.
    EXPECT_EQ(AskRun(led, sl, ReqReportRun, ReportSales).text, Texts::NoRight);
    RunAnswer ledger = AskRun(led, sl, ReqReportRun, ReportLedger);
    EXPECT_NE(ledger.text, Texts::NoRight);
    EXPECT_GT(ledger.pushes, 0);

    // ADMIN is refused nothing, and his routine 6 stores two invoices.
    for (const Ask &k : EveryKind) {
        if (k.code == ReqTextExport) continue;   // an export asks for a file on the client's screen
        RunAnswer a = AskRun(admin, sa, k.code, k.number, "1001");
        EXPECT_TRUE(a.replied) << k.code;
        EXPECT_NE(a.text, Texts::NoRight) << k.code;
    }
    EXPECT_EQ(RecordCount(admin, sa, IVVc::Number), 2u);

    ServerEnd e = Stop();
    EXPECT_TRUE(e.integrity) << e.report;
    // The company file holds ADMIN's invoices 1001 and 1002 and none of
    // the numbers the refused runs asked for.
    ASSERT_TRUE(DbLayerInit());
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    EXPECT_EQ(RegRecordCount(IVVc::Number), 2u);
    MemBlock h = 0;
    uint8_t *inv = RecBufferNew(IVVc::Number, &h);
    for (uint32_t serial : {1001u, 1002u, 9001u, 3001u}) {
        PutU32(inv, IVVc::SerNr, serial);
        uint32_t id = 0, pos = 0;
        EXPECT_EQ(RecFindLocal(IVVc::Number, inv, 1, 1, &id, &pos), serial < 2000) << serial;
    }
    RecBufferFree(IVVc::Number, &h);
    D4Close();
}
