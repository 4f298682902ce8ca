// sales_ledger_statement_test.cpp - report 60 over the sales history
// entered in the customer ledger: the whole account, a period that opens
// with the balance of the entries before it, an account range that takes
// nothing, a receipt row converted at the rate of the invoice it pays,
// and Esc.
#include "operations/customer_receipt.h"
#include "operations/sales_invoice.h"
#include "platform/queue.h"
#include "tests/output/output_recorder.h"
#include "tests/output/test_job.h"
#include "tests/reports/ledger/ledger_report_fixture.h"

namespace {

namespace P = ReportParamsVc;

class SalesLedgerStatementTest : public LedgerReportFixture {
protected:
    // Invoices 1-5 and receipts 1-3 entered in the customer ledger;
    // receipt 3 (10.3.2024, EUR at 1200) pays 10 of invoice 3 (EUR at 1125).
    void StoreLedgerHistory() {
        StoreSalesHistory();
        ASSERT_FALSE(HasFatalFailure());
        StoreReceipt(3, {10, 3, 2024}, "EUR", 1200, {{1, 3, "C2", {0, 0, 0}, 10}}, 10);
        ASSERT_FALSE(HasFatalFailure());
        for (int32_t serial = 1; serial <= 5; serial++) {
            RuleRecord r(IVVc::Number);
            PutI32(r.record, IVVc::SerNr, serial);
            uint32_t recid = 0, position = 0;
            ASSERT_TRUE(RecFindByIndex(IVVc::Number, "SerNr", r.record, 1, 1, &recid, &position)) << serial;
            ASSERT_EQ(ApproveInvoiceToCustomerLedger(IVVc::Number, r.record, recid), ApproveResult::Changed) << serial;
        }
        for (int32_t serial = 1; serial <= 3; serial++) {
            RuleRecord r(IPVc::Number);
            PutI32(r.record, IPVc::SerNr, serial);
            uint32_t recid = 0, position = 0;
            ASSERT_TRUE(RecFind(IPVc::Number, r.record, 1, 1, &recid, &position)) << serial;
            ASSERT_EQ(ApproveReceiptToCustomerLedger(IPVc::Number, r.record, recid), ApproveResult::Changed) << serial;
        }
    }
};

TEST_F(SalesLedgerStatementTest, StatementGoldens) {
    StoreLedgerHistory();
    ASSERT_FALSE(HasFatalFailure());
    const struct {
        const char *golden;
        DateRec from, to;
        const char *accounts;
    } runs[] = {
        {"statement60_all", {1, 1, 2024}, {31, 12, 2024}, ""},
        {"statement60_february_on", {1, 2, 2024}, {29, 2, 2024}, "1500:1599"},
        {"statement60_cash_account", {1, 1, 2024}, {31, 12, 2024}, "1600:1999"},
        {"statement60_nothing", {1, 1, 2024}, {31, 12, 2024}, "1600:1899"},
    };
    for (const auto &r : runs) {
        SCOPED_TRACE(r.golden);
        Select(60, r.from, r.to);
        SetText(P::SelText7, r.accounts);
        ExpectLedgerGolden(r.golden, RunText(LedgerReport60));
    }
}

// The EUR receipt of 10 at 1200 pays an invoice made at 1125: 112.50, not
// 120; the cash invoice shows its amount on both sides.
TEST_F(SalesLedgerStatementTest, ReceiptAtTheInvoicesRate) {
    StoreLedgerHistory();
    ASSERT_FALSE(HasFatalFailure());
    Select(60, {1, 3, 2024}, {31, 3, 2024});
    const std::string march = RunText(LedgerReport60);
    EXPECT_NE(march.find("10.03.2024\t" + UiText(2486) + "\t3\t112,50\t"), std::string::npos) << march;
    EXPECT_EQ(march.find("120,00"), std::string::npos);
    Select(60, {20, 1, 2024}, {20, 1, 2024});
    const std::string cash = RunText(LedgerReport60);
    EXPECT_NE(cash.find(UiText(2488) + "\t2\t784,00\t784,00\t"), std::string::npos) << cash;
}

int LinesStarted = 0;

// Posts Esc as the second line of the job starts, as a user pressing it
// while the first entry prints.
const RepDevice EscDevice = [] {
    RepDevice d = RecorderDevice;
    d.lineStart = [] {
        RecorderDevice.lineStart();
        if (++LinesStarted == 2) {
            EXPECT_TRUE(MsgPost(0, PlMsg::KeyDown, PlKey::Escape, 0));
        }
    };
    return d;
}();

// Esc stops the walk after the entry at hand: the first invoice is
// listed, no later entry, and the job ends stopped.
TEST_F(SalesLedgerStatementTest, EscStopsAfterTheEntryAtHand) {
    StoreLedgerHistory();
    ASSERT_FALSE(HasFatalFailure());
    const RepDevice *saved = RepDeviceInstall(OutPreview, &EscDevice);
    Select(60, {1, 1, 2024}, {31, 12, 2024});
    SetWord(P::OutputKind, OutPreview);
    RecLog.clear();
    LinesStarted = 0;
    ReportJob job{TestJob};
    LedgerReport60(job);
    RepDeviceInstall(OutPreview, saved);
    ASSERT_FALSE(RecLog.empty());
    EXPECT_EQ(RecLog.back().name, "end");
    EXPECT_EQ(RepStopped, 1);
    for (const RecCall &call : RecLog) {
        EXPECT_NE(call.text, UiText(2486));
        EXPECT_NE(call.text, "20.01.2024");
    }
}

}  // namespace
