// posting_roads_test.cpp - one sales invoice posted by each road a user
// has to post it (the window's save of a new posted invoice, the window's
// save that posts a stored one, the list's approve button, the approve
// run, print and approve), a cash invoice and a credit note among them:
// each reaches the customer ledger with its amount, the customer's
// statistics, its open item, and the customer's ledger balance agrees
// with the open items. Where the user's group allows the invoices alone,
// a posting still writes its books; where it withholds them, no road
// posts.
#include "tests/operations/invoice_fixture.h"
#include "tests/output/printing_fixture.h"

#include <unistd.h>

#include <filesystem>
#include <string>

#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/register_hooks.h"
#include "database/access/write_gate.h"
#include "operations/batch_routines.h"
#include "operations/run_outcome.h"
#include "output/forms/forms.h"
#include "output/printer.h"
#include "rules/hooks.h"
#include "rules/ledger.h"
#include "rules/vat_currency.h"
#include "tests/output/test_job_body.h"
#include "tests/output/test_job.h"

namespace {

namespace fs = std::filesystem;

class PostingRoads : public Printing<InvoiceFixture> {
protected:
    fs::path folder, savedCwd;

    void SetUp() override {
        InvoiceFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreInvoiceCompany();
        folder = fs::path(::testing::TempDir()) / ("orvel_posting_roads_" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        savedCwd = fs::current_path();
        fs::current_path(folder);
        PutI16(TestJob, ReportParamsVc::SetupDialog, 0);
        PutU16(TestJob, ReportParamsVc::OutputKind, 1);
        AddRow(PrintersBlk::Number, PrintersBlk::Rows::Size, [&](uint8_t *r) {
            PutText(r, PrintersBlk::Rows::Name, 20, "OFFICE");
            PutText(r, PrintersBlk::Rows::PrinterText, 20, "P");
        });
        for (const char *code : {"R1", "R2", "R3", "R4", "R5", "R6"}) StoreInvoiceCustomer(code, code);
        RulesInstall();   // after the company: its blocks are laid down whole, unchecked
        shown.clear();
    }
    void TearDown() override {
        if (Printer.job) PrinterEndDoc();
        if (!savedCwd.empty()) fs::current_path(savedCwd);
        fs::remove_all(folder);
        InvoiceFixture::TearDown();
    }

    // An invoice of customer with one row of ITEM1 (or, for a credit
    // note, a row crediting `credits` first), its head as f says.
    static void Fill(uint8_t *r, FixtureInvoice f, const char *customer, int32_t serial, int32_t credits = -1) {
        f.customer = customer, f.serial = serial;
        RecClear(IVVc::Number, r);
        FillInvoice(r, f);
        if (credits >= 0) {
            FixtureInvoiceRow link{};
            link.kind = 3, link.link = credits;
            AddInvoiceRow(r, link);
        }
        AddInvoiceRow(r, {"ITEM1", 1, 100, "1", "3010", 60});
        DocTotalsRound(r);
    }
    // Stores the invoice as the record layer stores what a window saves:
    // checked, with the rules' steps; true when it was stored.
    static bool WindowInsert(uint8_t *r) {
        uint32_t recid = 0;
        int result = 0;
        RecInsertChecked(IVVc::Number, r, &recid, &result);
        return result == RecDone;
    }
    // Stores an unposted invoice without the window's steps; its record id.
    static uint32_t StoreUnposted(uint8_t *r) {
        uint32_t recid = 0;
        return RecStoreByKey(IVVc::Number, r, 1, &recid) ? recid : 0;
    }
    static bool ReadInvoice(int32_t serial, RuleRecord &r, uint32_t *recid) {
        RecClear(IVVc::Number, r.record);
        PutI32(r.record, IVVc::SerNr, serial);
        uint32_t position = 0;
        return RecFind(IVVc::Number, r.record, 1, 1, recid, &position);
    }

    // What the books say of one customer.
    struct Books {
        int entries = 0;            // customer-ledger entries
        double entryAmounts = 0;    // their amounts, credit notes taken off
        double statTotal = 0;       // June's total in the statistics
        double open = 0;            // the open items
    };
    static Books BooksOf(const char *customer) {
        Books b;
        RuleRecord e(CustTransVc::Number), inv(IVVc::Number), s(CSVc::Number), o(ARVc::Number);
        uint32_t recid = 0;
        for (int32_t p = 1; RecReadAt(CustTransVc::Number, p, e.record, &recid); p++) {
            if (Text(e.record, CustTransVc::CustCode) != customer) continue;
            b.entries++;
            uint32_t id = 0;
            const double amount = Num(e.record, CustTransVc::Amount);
            const bool credit = ReadInvoice(GetI32(e.record, CustTransVc::DocNr), inv, &id) &&
                                GetU16(inv.record, IVVc::InvType) == 3;
            b.entryAmounts += credit ? -amount : amount;
        }
        PutText(s.record, CSVc::CustCode, 20, customer);
        uint32_t position = 0;
        if (RecFind(CSVc::Number, s.record, 1, 1, &recid, &position)) {
            DateRec june{10, 6, 2024};
            PackedDecimal v;
            PeriodBalanceAt(GetU32(s.record, CSVc::Amounts), 5, 1, MonthIndex(&june), &v);
            b.statTotal = DecIsBlank(&v) ? 0 : DecToDouble(&v);
        }
        for (int32_t p = 1; RecReadAt(ARVc::Number, p, o.record, &recid); p++)
            if (Text(o.record, ARVc::CustCode) == customer) b.open += Num(o.record, ARVc::OpenAmount);
        return b;
    }
};

// 1 x ITEM1 at 100 and 25 % VAT: 125 on every road. The credit note of
// R6 credits R5's approved invoice, so R5 keeps nothing open while its
// ledger shows the invoice and R6's books hold the credit note's entry.
TEST_F(PostingRoads, EveryRoadReachesTheCustomerLedger) {
    FixtureInvoice f;
    RuleRecord r(IVVc::Number);
    uint32_t recid = 0;

    // The window: a new invoice saved posted; a cash invoice the same way.
    f.posted = 1;
    Fill(r.record, f, "R1", 501);
    ASSERT_TRUE(WindowInsert(r.record));
    f.kind = 2, f.terms = "K";
    Fill(r.record, f, "R2", 502);
    ASSERT_TRUE(WindowInsert(r.record));
    f.kind = 1, f.terms = "30", f.posted = 0;

    // The window: a stored invoice opened, Posted ticked and saved.
    Fill(r.record, f, "R3", 503);
    ASSERT_NE(StoreUnposted(r.record), 0u);
    ASSERT_TRUE(ReadInvoice(503, r, &recid));
    PutU16(r.record, IVVc::Posted, 1);
    int result = 0;
    RecUpdateChecked(IVVc::Number, r.record, recid, &result);
    ASSERT_EQ(result, RecDone);

    // The approve run over a range, and print and approve.
    Fill(r.record, f, "R4", 504);
    ASSERT_NE(StoreUnposted(r.record), 0u);
    PutText(TestJob, ReportParamsVc::SelText1, 255, "504");
    ASSERT_TRUE(InvoiceRangeApprove(ReportJob{TestJob}));   // the test's job
    Fill(r.record, f, "R5", 505);
    ASSERT_NE(StoreUnposted(r.record), 0u);
    PutText(TestJob, ReportParamsVc::SelText1, 255, "505");
    PutU16(TestJob, ReportParamsVc::Option2, 1);
    PutI16(TestJob, ReportParamsVc::BatchMode, 0);
    OverTestJob<ApproveInvoiceRange>();

    // The list's approve button: a credit note of R5's invoice.
    f.kind = 3;
    Fill(r.record, f, "R6", 506, 505);
    const uint32_t creditId = StoreUnposted(r.record);
    ASSERT_NE(creditId, 0u);
    ASSERT_TRUE(ApproveRecordList(IVVc::Number, 1, &creditId, 1));

    struct Want {
        const char *customer;
        int32_t serial;
        double ledger, stat, open;
    };
    const Want wants[] = {
        {"R1", 501, 125, 125, 125}, {"R2", 502, 125, 125, 0},    {"R3", 503, 125, 125, 125},
        {"R4", 504, 125, 125, 125}, {"R5", 505, 125, 125, 0},    {"R6", 506, -125, -125, 0},
    };
    for (const Want &w : wants) {
        SCOPED_TRACE(w.customer);
        ASSERT_TRUE(ReadInvoice(w.serial, r, &recid));
        EXPECT_EQ(GetU16(r.record, IVVc::Posted), 1);
        EXPECT_EQ(GetU16(r.record, IVVc::Transferred), 1);
        const Books b = BooksOf(w.customer);
        EXPECT_EQ(b.entries, 1);
        EXPECT_DOUBLE_EQ(b.entryAmounts, w.ledger);
        EXPECT_DOUBLE_EQ(b.statTotal, w.stat);
        EXPECT_DOUBLE_EQ(b.open, w.open);
    }
    // The ledger's balance of every customer is what it has open, once
    // R5 and its credit note (R6) are taken together, and the cash
    // invoice's entry is met by its payment in cash.
    double ledger = 0, open = 0;
    for (const Want &w : wants) {
        const Books b = BooksOf(w.customer);
        ledger += b.entryAmounts;
        open += b.open;
    }
    EXPECT_DOUBLE_EQ(ledger - 125 /* the cash invoice, paid */, open);
}

// A second approval of a posted invoice adds nothing to the ledger, and
// an invoice whose posting is refused (its row's sales account does not
// exist, so no voucher is built) enters nothing in it, by either road.
TEST_F(PostingRoads, NothingTwiceAndNothingOfARefusedPosting) {
    FixtureInvoice f;
    RuleRecord r(IVVc::Number);
    Fill(r.record, f, "R1", 601);
    const uint32_t id = StoreUnposted(r.record);
    ASSERT_NE(id, 0u);
    ASSERT_TRUE(ApproveRecord(1, IVVc::Number, id));
    ASSERT_TRUE(ApproveRecord(1, IVVc::Number, id));
    ASSERT_TRUE(ApproveRecord(18, IVVc::Number, id));
    EXPECT_EQ(BooksOf("R1").entries, 1);
    EXPECT_DOUBLE_EQ(BooksOf("R1").statTotal, 125);
    EXPECT_DOUBLE_EQ(BooksOf("R1").open, 125);

    f.serial = 602, f.customer = "R2";
    RecClear(IVVc::Number, r.record);
    FillInvoice(r.record, f);
    AddInvoiceRow(r.record, {"ITEM1", 1, 100, "1", "9999", 60});
    DocTotalsRound(r.record);
    const uint32_t refused = StoreUnposted(r.record);
    ASSERT_NE(refused, 0u);
    ASSERT_TRUE(ApproveRecord(1, IVVc::Number, refused));   // refused and told, nothing failed
    PutU16(r.record, IVVc::Posted, 1);
    PutI32(r.record, IVVc::SerNr, 603);
    EXPECT_FALSE(WindowInsert(r.record));
    uint32_t recid = 0;
    ASSERT_TRUE(ReadInvoice(602, r, &recid));
    EXPECT_EQ(GetU16(r.record, IVVc::Posted), 0);
    EXPECT_EQ(BooksOf("R2").entries, 0);
    EXPECT_DOUBLE_EQ(BooksOf("R2").statTotal, 0);
    EXPECT_DOUBLE_EQ(BooksOf("R2").open, 0);
}

// With the sub-ledgers locked to the end of June, an invoice of 10 June is
// refused by every road that would post it, each telling the window's
// message: the window's save, the list's approve button, the approve run
// and print and approve. With the sub-ledgers open and the vouchers locked
// to the end of June, each road refuses it as well, since its voucher
// would fall in the lock; and the voucher store itself refuses a voucher
// or a draft of that date, whatever road built it. Nothing reaches the
// books. Once both locks are moved back, the list's approve button posts it.
TEST_F(PostingRoads, EveryRoadRefusesALockedDate) {
    FixtureInvoice f;
    RuleRecord r(IVVc::Number);
    Fill(r.record, f, "R1", 801);
    const uint32_t id = StoreUnposted(r.record);
    ASSERT_NE(id, 0u);
    auto lockTo = [this](DateRec subLedgers, DateRec vouchers) {
        std::vector<uint8_t> locks(DateLockBlk::Size, 0);
        PutDate(locks.data(), DateLockBlk::SubLedgerLock, subLedgers);
        PutDate(locks.data(), DateLockBlk::LedgerLock, vouchers);
        StoreBlock(DateLockBlk::Number, locks.data(), DateLockBlk::Size);
    };
    auto refused = [&](const char *road) {
        SCOPED_TRACE(road);
        uint32_t recid = 0;
        ASSERT_TRUE(ReadInvoice(801, r, &recid));
        EXPECT_EQ(GetU16(r.record, IVVc::Posted), 0);
        EXPECT_TRUE(WasShown(Texts::DateLocked)) << ::testing::PrintToString(shown);
        shown.clear();
    };
    auto everyRoadRefuses = [&](const char *lock) {
        SCOPED_TRACE(lock);
        uint32_t recid = 0;
        ASSERT_TRUE(ReadInvoice(801, r, &recid));
        PutU16(r.record, IVVc::Posted, 1);
        int result = 0;
        RecUpdateChecked(IVVc::Number, r.record, recid, &result);
        EXPECT_NE(result, RecDone);
        refused("the window");
        ASSERT_TRUE(ApproveRecordList(IVVc::Number, 1, &id, 1));
        refused("the list's approve button");
        PutText(TestJob, ReportParamsVc::SelText1, 255, "801");
        ASSERT_TRUE(InvoiceRangeApprove(ReportJob{TestJob}));
        refused("the approve run");
        PutU16(TestJob, ReportParamsVc::Option2, 1);
        PutI16(TestJob, ReportParamsVc::BatchMode, 0);
        OverTestJob<ApproveInvoiceRange>();
        refused("print and approve");
        EXPECT_EQ(BooksOf("R1").entries, 0);
        EXPECT_DOUBLE_EQ(BooksOf("R1").open, 0);
        EXPECT_EQ(RegRecordCount(TRVc::Number), 0u);
    };
    lockTo(DateRec{30, 6, 2024}, DateRec{});
    everyRoadRefuses("the sub-ledgers' lock");
    lockTo(DateRec{31, 5, 2024}, DateRec{30, 6, 2024});
    everyRoadRefuses("the vouchers' lock");

    RuleRecord v(TRVc::Number);
    PutU32(v.record, TRVc::SerNr, 9);
    PutU16(v.record, TRVc::YearCode, YearCodeFixedFirst);
    PutDate(v.record, TRVc::TransDate, DateRec{10, 6, 2024});
    AddLedgerRow(TRVc::Number, v.record, InvoiceCo::Receivables, "", 125);
    AddLedgerRow(TRVc::Number, v.record, "3010", "", -125);
    EXPECT_FALSE(StoreVoucher(v.record));
    refused("the voucher store");
    RuleRecord draft(SMVc::Number);
    PutU32(draft.record, SMVc::SerNr, 9);
    PutDate(draft.record, SMVc::Date, DateRec{10, 6, 2024});
    AddLedgerRow(SMVc::Number, draft.record, InvoiceCo::Receivables, "", 125);
    AddLedgerRow(SMVc::Number, draft.record, "3010", "", -125);
    uint32_t draftId = 0;
    EXPECT_FALSE(RecInsertUnchecked(SMVc::Number, draft.record, &draftId));
    refused("a draft's insert");
    EXPECT_EQ(RegRecordCount(TRVc::Number) + RegRecordCount(SMVc::Number), 0u);

    lockTo(DateRec{31, 5, 2024}, DateRec{31, 5, 2024});
    ASSERT_TRUE(ApproveRecordList(IVVc::Number, 1, &id, 1));
    EXPECT_TRUE(shown.empty()) << ::testing::PrintToString(shown);
    EXPECT_EQ(BooksOf("R1").entries, 1);
    EXPECT_DOUBLE_EQ(BooksOf("R1").open, 125);
}

// With invoices printed as they are posted (block 170), each road that
// posts one prints it as the window's save does: the window's save, the
// approve run and the list's approve button leave it printed. The approve
// run ends by saying how many it posted.
TEST_F(PostingRoads, EveryRoadPrintsWhatPostingAsksFor) {
    ChangeBlock(PrintOnSaveBlk::Number, PrintOnSaveBlk::Size,
                [](uint8_t *b) { PutU16(b, PrintOnSaveBlk::InvoiceForm, 1); });
    std::vector<uint8_t> &forms = tableRows[InvoiceFormBlk::Number];
    ASSERT_EQ(forms.size(), size_t(InvoiceFormBlk::Rows::Size));
    PutText(forms.data(), InvoiceFormBlk::Rows::PrinterName, 20, "OFFICE");
    ASSERT_EQ(SettingsBlockStore(InvoiceFormBlk::Number, forms.data(), uint32_t(forms.size())), RecDone);

    FixtureInvoice f;
    RuleRecord r(IVVc::Number);
    f.posted = 1;
    Fill(r.record, f, "R1", 701);
    ASSERT_TRUE(WindowInsert(r.record));
    f.posted = 0;
    Fill(r.record, f, "R2", 702);
    ASSERT_NE(StoreUnposted(r.record), 0u);
    Fill(r.record, f, "R3", 703);
    ASSERT_NE(StoreUnposted(r.record), 0u);
    // The run's closing line, as the status line gets it.
    static std::vector<std::string> said;
    said.clear();
    const RunOutcomeUiRec savedUi = RunOutcomeUi;
    RunOutcomeUi = RunOutcomeUiRec{};
    RunOutcomeUi.status = [](const uint8_t *line) { said.emplace_back(reinterpret_cast<const char *>(line + 1), line[0]); };
    PutText(TestJob, ReportParamsVc::SelText1, 255, "702");
    ASSERT_TRUE(InvoiceRangeApprove(ReportJob{TestJob}));
    EXPECT_EQ(said, std::vector<std::string>{"1 posted"});
    Fill(r.record, f, "R4", 704);
    const uint32_t listed = StoreUnposted(r.record);
    ASSERT_NE(listed, 0u);
    ASSERT_TRUE(ApproveRecordList(IVVc::Number, 1, &listed, 1));

    for (int32_t serial : {701, 702, 704}) {
        SCOPED_TRACE(serial);
        uint32_t recid = 0;
        ASSERT_TRUE(ReadInvoice(serial, r, &recid));
        EXPECT_EQ(GetU16(r.record, IVVc::Posted), 1);
        EXPECT_EQ(GetU16(r.record, IVVc::Printed), 1);
    }
    uint32_t recid = 0;
    ASSERT_TRUE(ReadInvoice(703, r, &recid));
    EXPECT_EQ(GetU16(r.record, IVVc::Posted), 0) << "outside the run's range";

    // A range with nothing to post says why.
    ASSERT_FALSE(UiText(14262).empty());
    said.clear();
    ASSERT_TRUE(InvoiceRangeApprove(ReportJob{TestJob}));
    RunOutcomeUi = savedUi;
    ASSERT_EQ(said.size(), 1u);
    EXPECT_NE(said[0].find(UiText(14262)), std::string::npos) << said[0];
}

// Where the user's group may write the sales invoices and nothing else,
// every road that posts one (the window's save, the list's approve
// button, the approve run, print and approve) still writes what the
// posting writes in turn: its voucher, ledger entry, statistics and open
// item. Where the group withholds the invoices as well, each road is
// refused and nothing reaches the books.
TEST_F(PostingRoads, APostingTheGroupAllowsWritesItsBooksAndARefusedOneNothing) {
    static bool invoicesAllowed;
    invoicesAllowed = true;
    struct Group {
        Group() {
            AccessUiHooks.refuseWrite = [](uint16_t, int reg, const uint8_t *, uint32_t) {
                if (reg == IVVc::Number && invoicesAllowed) return 0;
                ShowTextMessage(Texts::NoRight);
                return int(Texts::NoRight);
            };
        }
        ~Group() { AccessUiHooks = AccessUiHooksRec{}; }
    } group;
    FixtureInvoice f;
    RuleRecord r(IVVc::Number);
    f.posted = 1;
    Fill(r.record, f, "R1", 901);
    ASSERT_TRUE(WindowInsert(r.record));
    f.posted = 0;
    Fill(r.record, f, "R2", 902);
    const uint32_t listed = StoreUnposted(r.record);
    ASSERT_NE(listed, 0u);
    ASSERT_TRUE(ApproveRecordList(IVVc::Number, 1, &listed, 1));
    Fill(r.record, f, "R3", 903);
    ASSERT_NE(StoreUnposted(r.record), 0u);
    PutText(TestJob, ReportParamsVc::SelText1, 255, "903");
    ASSERT_TRUE(InvoiceRangeApprove(ReportJob{TestJob}));
    Fill(r.record, f, "R4", 904);
    ASSERT_NE(StoreUnposted(r.record), 0u);
    PutText(TestJob, ReportParamsVc::SelText1, 255, "904");
    PutU16(TestJob, ReportParamsVc::Option2, 1);
    PutI16(TestJob, ReportParamsVc::BatchMode, 0);
    OverTestJob<ApproveInvoiceRange>();
    EXPECT_FALSE(WasShown(Texts::NoRight)) << ::testing::PrintToString(shown);
    for (const char *customer : {"R1", "R2", "R3", "R4"}) {
        SCOPED_TRACE(customer);
        EXPECT_EQ(BooksOf(customer).entries, 1);
        EXPECT_DOUBLE_EQ(BooksOf(customer).statTotal, 125);
        EXPECT_DOUBLE_EQ(BooksOf(customer).open, 125);
    }
    const uint32_t vouchers = RegRecordCount(TRVc::Number);
    EXPECT_EQ(vouchers, 4u);

    invoicesAllowed = false;
    Fill(r.record, f, "R5", 905);
    uint32_t stored = 0;
    {
        ProgramWrites own;   // stored before the group changed
        stored = StoreUnposted(r.record);
    }
    ASSERT_NE(stored, 0u);
    f.posted = 1;
    Fill(r.record, f, "R6", 906);
    EXPECT_FALSE(WindowInsert(r.record));
    EXPECT_FALSE(ApproveRecordList(IVVc::Number, 1, &stored, 1));
    PutText(TestJob, ReportParamsVc::SelText1, 255, "905");
    EXPECT_FALSE(InvoiceRangeApprove(ReportJob{TestJob}));
    OverTestJob<ApproveInvoiceRange>();
    EXPECT_TRUE(WasShown(Texts::NoRight)) << ::testing::PrintToString(shown);
    uint32_t recid = 0;
    ASSERT_TRUE(ReadInvoice(905, r, &recid));
    EXPECT_EQ(GetU16(r.record, IVVc::Posted), 0);
    EXPECT_FALSE(ReadInvoice(906, r, &recid));
    for (const char *customer : {"R5", "R6"}) EXPECT_EQ(BooksOf(customer).entries, 0) << customer;
    EXPECT_EQ(RegRecordCount(TRVc::Number), vouchers);

    // Inside a caller's hold a refused approval, alone or as a list, fails
    // the hold: the invoice the caller stored before it in that hold is
    // not kept either.
    f.posted = 0;
    for (bool list : {false, true}) {
        SCOPED_TRACE(list ? "a list" : "one invoice");
        const int32_t serial = list ? 908 : 907;
        Fill(r.record, f, "R5", serial);
        DbHoldBegin();
        uint32_t held = 0;
        {
            ProgramWrites own;
            held = StoreUnposted(r.record);
        }
        EXPECT_NE(held, 0u);
        EXPECT_FALSE(list ? ApproveRecordList(IVVc::Number, ApproveKindPostInvoice, &held, 1)
                          : ApproveRecord(ApproveKindPostInvoice, IVVc::Number, held));
        EXPECT_FALSE(DbHoldEnd());
        EXPECT_FALSE(ReadInvoice(serial, r, &recid));
    }
    EXPECT_EQ(RegRecordCount(TRVc::Number), vouchers);
}

}  // namespace
