// document_runs_test.cpp - the document batch runs printing to PDF: a
// number range walked from its first to its last end (or to the end of
// the register), an empty range doing nothing and saying why, Esc ending
// the run before the next document, documents that did not print counted
// and told in the run's closing line, the invoice run's print modes, its
// posting of unposted invoices before they print (and not printing one
// that cannot be posted), and reminders whose level is stored only when
// the reminder printed.
#include "tests/operations/invoice_fixture.h"
#include "tests/output/printing_fixture.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "operations/run_outcome.h"
#include "output/devices/device_table.h"
#include "output/forms/forms.h"
#include "output/printer.h"
#include "tests/output/test_job_body.h"
#include "tests/output/test_job.h"

namespace {

namespace fs = std::filesystem;

// The closing lines the runs put on the status line, oldest first.
std::vector<std::string> &Lines() {
    static std::vector<std::string> lines;
    return lines;
}
void KeepLine(const uint8_t *text) { Lines().emplace_back(reinterpret_cast<const char *>(text + 1), text[0]); }
// The poll of a user who presses Esc at the second document a run begins.
int Polls = 0;
void EscAtSecond() {
    if (++Polls == 2) UserCancelFlag = 1;
}

class DocumentRuns : public Printing<InvoiceCompanyFixture> {
protected:
    fs::path folder, savedCwd;
    RunOutcomeUiRec savedUi;

    void SetUp() override {
        InvoiceCompanyFixture::SetUp();
        if (HasFatalFailure()) return;
        folder = fs::path(::testing::TempDir()) / ("orvel_runs_" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        savedCwd = fs::current_path();
        fs::current_path(folder);
        ResetOutputJobState();
        PutI16(TestJob, ReportParamsVc::SetupDialog, 0);
        PutU16(TestJob, ReportParamsVc::OutputKind, 1);
        AddRow(PrintersBlk::Number, PrintersBlk::Rows::Size, [&](uint8_t *r) {
            PutText(r, PrintersBlk::Rows::Name, 20, "OFFICE");
            PutText(r, PrintersBlk::Rows::PrinterText, 20, "P");
        });
        // The invoice's form serves the orders and the reminders too.
        for (int block : {OrderFormBlk::Number, ReminderFormBlk::Number, ProjectFormBlk::Number})
            AddRow(block, OrderFormBlk::Rows::Size, [&](uint8_t *r) {
                PutI32(r, OrderFormBlk::Rows::SeriesStart, -1);
                PutText(r, OrderFormBlk::Rows::FormName, 20, InvoiceCo::FormName);
                PutI32(r, OrderFormBlk::Rows::CopyPass, -1);
            });
        UserCancelFlag = 0;
        savedUi = RunOutcomeUi;
        RunOutcomeUi = RunOutcomeUiRec{};
        RunOutcomeUi.status = KeepLine;
        Lines().clear();
        Polls = 0;
    }
    void TearDown() override {
        UserCancelFlag = 0;
        RunOutcomeUi = savedUi;
        if (Printer.job) PrinterEndDoc();
        if (!savedCwd.empty()) fs::current_path(savedCwd);
        ResetOutputJobState();
        fs::remove_all(folder);
        InvoiceCompanyFixture::TearDown();
    }
    size_t Pdfs() const {
        size_t n = 0;
        if (fs::exists(folder / "print"))
            for (const auto &e : fs::directory_iterator(folder / "print")) n += e.path().extension() == ".pdf";
        return n;
    }
    void Range(const char *text) { PutText(TestJob, ReportParamsVc::SelText1, 255, text); }
    void StoreOrder(int32_t number) {
        StoreRecord(ORVc::Number, [&](uint8_t *o) {
            PutI32(o, ORVc::SerNr, number);
            PutText(o, ORVc::CustCode, 20, "C1");
            uint8_t row[ORVc::Rows::Size] = {};
            PutText(row, ORVc::Rows::ItemCode, 20, "ITEM1");
            PutDec(row, ORVc::Rows::Quantity, Dec(1));
            ASSERT_TRUE(MatrixRowPut(ORVc::Number, 0, o, 0, row));
        });
    }
    // The stored record of reg whose 32-bit key at `at` is number: its
    // 16-bit word or 32-bit number at `field`.
    int32_t Stored(int reg, const char *index, size_t at, int32_t number, size_t field, bool wide) {
        RuleRecord r(reg);
        PutI32(r.record, at, number);
        uint32_t recid = 0, position = 0;
        EXPECT_TRUE(RecFindByIndex(reg, index, r.record, 1, 1, &recid, &position)) << number;
        return wide ? GetI32(r.record, field) : GetI16(r.record, field);
    }
    int16_t OrderPrinted(int32_t number) {
        return (int16_t)Stored(ORVc::Number, "SerNr", ORVc::SerNr, number, ORVc::Printed, false);
    }
    // The last run's closing line; empty when none was said.
    static std::string LastLine() { return Lines().empty() ? "" : Lines().back(); }
    // Posted invoices 800 and 801 of C1, each with an open item of 125
    // falling due on its date; then the reminder run's selection: the
    // range 800:801, any number of reminders sent, the level raised.
    void OverdueInvoices(DateRec due800, DateRec due801) {
        FixtureInvoice f;
        f.posted = 1;
        for (int32_t n : {800, 801}) {
            f.serial = n;
            ASSERT_NE(StoreInvoice(f, {{"ITEM1", 1, 100}}), 0u);
            StoreRecord(ARVc::Number, [&](uint8_t *r) {
                PutI32(r, ARVc::InvoiceNr, n);
                PutText(r, ARVc::CustCode, 20, "C1");
                PutDec(r, ARVc::OpenAmount, Dec(125));
                PutDate(r, ARVc::DueDate, n == 800 ? due800 : due801);
            });
        }
        Range("800:801");
        PutI32(TestJob, ReportParamsVc::NumberFrom, -1);
        PutI32(TestJob, ReportParamsVc::NumberTo, -1);
        PutU16(TestJob, ReportParamsVc::Option2, 1);
        PutText(TestJob, ReportParamsVc::SelText2, 20, "");
    }
    // The count of documents the last run did not print, as its closing
    // line tells it; empty when it tells none.
    static std::string RefusedTold() {
        const std::string line = LastLine(), what = " " + UiText(Texts::RunNotPrinted);
        const size_t at = line.find(what);
        if (at == std::string::npos) return "";
        const std::string before = line.substr(0, at);
        const size_t space = before.rfind(' ');
        return space == std::string::npos ? before : before.substr(space + 1);
    }
    // Removes the form the order and reminder blocks name, so nothing prints.
    void DropForm() {
        for (int block : {OrderFormBlk::Number, ReminderFormBlk::Number})
            ChangeBlock(block, OrderFormBlk::Rows::Size, [](uint8_t *row) {
                PutText(row, OrderFormBlk::Rows::FormName, 20, "NOSUCH");
            });
    }
};

TEST_F(DocumentRuns, OrderRangeWalksItsEndsAndMarksWhatPrinted) {
    for (int32_t n = 100; n <= 104; n++) ASSERT_NO_FATAL_FAILURE(StoreOrder(n));
    Range("");
    OverTestJob<ApproveOrderRange>();
    EXPECT_EQ(Pdfs(), 0u);                                  // an empty range does nothing, and says so
    EXPECT_EQ(LastLine(), UiText(Texts::RunNothingToPrint) + UiText(Texts::RunWhyNoRange));
    EXPECT_FALSE(shown.empty()) << "a run that made nothing tells it in a box too";
    Range("101:103");
    OverTestJob<ApproveOrderRange>();
    EXPECT_EQ(Pdfs(), 3u);
    EXPECT_EQ(LastLine(), "3 documents printed - to the printer");
    for (int32_t n = 100; n <= 104; n++) EXPECT_EQ(OrderPrinted(n), n >= 101 && n <= 103 ? 1 : 0) << n;
    Range("103:");                                          // no upper end: to the register's end
    OverTestJob<ApproveOrderRange>();
    EXPECT_EQ(Pdfs(), 5u);
    EXPECT_EQ(OrderPrinted(104), 1);
    EXPECT_EQ(RefusedTold(), "");
    Range("OR100-OR100");                                   // letters split by the digits
    OverTestJob<ApproveOrderRange>();
    EXPECT_EQ(Pdfs(), 6u);
    EXPECT_EQ(OrderPrinted(100), 1);
}

TEST_F(DocumentRuns, EscStopsBeforeTheNextDocument) {
    for (int32_t n = 100; n <= 102; n++) ASSERT_NO_FATAL_FAILURE(StoreOrder(n));
    Range("100:");
    UserCancelFlag = 1;                                     // an Esc left from before the run
    OverTestJobArg<PrintDeliveryForms>(-7);                                 // no deliveries: nothing at all
    EXPECT_EQ(LastLine(), UiText(Texts::RunNothingToPrint) + UiText(Texts::RunWhyNoneInRange));
    RunOutcomeUi.poll = EscAtSecond;
    OverTestJob<ApproveOrderRange>();
    UserCancelFlag = 0;
    EXPECT_EQ(Pdfs(), 1u);                                  // the first order prints, then the run ends
    EXPECT_EQ(OrderPrinted(100), 1);
    EXPECT_EQ(OrderPrinted(101), 0);
    EXPECT_EQ(OrderPrinted(102), 0);
    EXPECT_EQ(LastLine(), "1 document printed - to the printer; " + UiText(Texts::RunOutcomeStopped));
}

TEST_F(DocumentRuns, OrdersThatDidNotPrintAreCountedAndTold) {
    for (int32_t n = 100; n <= 101; n++) ASSERT_NO_FATAL_FAILURE(StoreOrder(n));
    DropForm();
    Range("100:101");
    OverTestJob<ApproveOrderRange>();
    EXPECT_EQ(Pdfs(), 0u);
    EXPECT_EQ(OrderPrinted(100), 0);
    EXPECT_EQ(RefusedTold(), "2");
}

// The second order form marks nothing in the order: what did not print is
// counted from the prints themselves.
TEST_F(DocumentRuns, SecondOrderFormsThatDidNotPrintAreCounted) {
    for (int32_t n = 100; n <= 101; n++) ASSERT_NO_FATAL_FAILURE(StoreOrder(n));
    Range("100:101");
    OverTestJob<ApproveOrderRange26>();                                  // no second form chosen: nothing prints
    EXPECT_EQ(Pdfs(), 0u);
    EXPECT_EQ(RefusedTold(), "2");
    shown.clear();
    AddRow(Order2FormBlk::Number, Order2FormBlk::Rows::Size, [&](uint8_t *r) {
        PutI32(r, Order2FormBlk::Rows::SeriesStart, -1);
        PutText(r, Order2FormBlk::Rows::FormName, 20, InvoiceCo::FormName);
        PutI32(r, Order2FormBlk::Rows::CopyPass, -1);
    });
    OverTestJob<ApproveOrderRange26>();
    EXPECT_EQ(Pdfs(), 2u);
    EXPECT_EQ(RefusedTold(), "");
}

TEST_F(DocumentRuns, InvoicePrintModes) {
    FixtureInvoice f;
    f.serial = 700;
    f.posted = 1;
    ASSERT_NE(StoreInvoice(f, {{"ITEM1", 1, 100}}), 0u);
    f.serial = 701;
    f.kind = 2;                                             // a cash invoice: its own option word
    ASSERT_NE(StoreInvoice(f, {{"ITEM1", 1, 100}}), 0u);
    auto printed = [&](int32_t n) { return Stored(IVVc::Number, "SerNr", IVVc::SerNr, n, IVVc::Printed, false); };
    Range("700:701");
    PutU16(TestJob, ReportParamsVc::Option2, 1);
    PutI16(TestJob, ReportParamsVc::BatchMode, 0);
    OverTestJob<ApproveInvoiceRange>();
    EXPECT_EQ(Pdfs(), 1u);                                  // the cash invoice's word is off
    EXPECT_EQ(printed(700), 1);
    EXPECT_EQ(printed(701), 0);
    OverTestJob<ApproveInvoiceRange>();
    EXPECT_EQ(Pdfs(), 1u);                                  // mode 0: printed before, not again
    EXPECT_EQ(LastLine(), UiText(Texts::RunNothingToPrint) + UiText(Texts::RunWhyAllPrinted));
    PutI16(TestJob, ReportParamsVc::BatchMode, 2);
    OverTestJob<ApproveInvoiceRange>();
    EXPECT_EQ(Pdfs(), 2u);                                  // mode 2: again
    EXPECT_EQ(printed(700), 1);
    PutI16(TestJob, ReportParamsVc::BatchMode, 3);
    PutU16(TestJob, ReportParamsVc::Option3, 1);
    OverTestJob<ApproveInvoiceRange>();
    EXPECT_EQ(Pdfs(), 2u);                                  // an unknown mode skips
    EXPECT_EQ(LastLine(), UiText(Texts::RunNothingToPrint) + UiText(Texts::RunWhyBadMode));
    PutI16(TestJob, ReportParamsVc::BatchMode, 1);
    OverTestJob<ApproveInvoiceRange>();
    EXPECT_EQ(Pdfs(), 3u);                                  // mode 1: both, printed or not
    EXPECT_EQ(RefusedTold(), "1");                          // no cash-invoice form: told, not skipped
    EXPECT_EQ(printed(701), 0);
    PutU16(TestJob, ReportParamsVc::Option2, 0);
    PutU16(TestJob, ReportParamsVc::Option3, 0);
    OverTestJob<ApproveInvoiceRange>();
    EXPECT_EQ(LastLine(), UiText(Texts::RunNothingToPrint) + UiText(Texts::RunWhyNoKind));
}

// The invoices a user typed and stored are unposted (and stored with the
// printed word set): "not printed before" posts each and then prints it,
// once; a second run finds nothing left.
TEST_F(DocumentRuns, UnpostedInvoicesArePostedThenPrintedOnce) {
    FixtureInvoice f;
    for (int32_t n : {710, 711}) {
        f.serial = n;
        ASSERT_NE(StoreInvoice(f, {{"ITEM1", 1, 100}}), 0u);
    }
    auto word = [&](int32_t n, size_t at) { return Stored(IVVc::Number, "SerNr", IVVc::SerNr, n, at, false); };
    ASSERT_EQ(word(710, IVVc::Posted), 0);
    Range("710:711");
    PutU16(TestJob, ReportParamsVc::Option2, 1);
    PutI16(TestJob, ReportParamsVc::BatchMode, 0);
    OverTestJob<ApproveInvoiceRange>();
    EXPECT_EQ(Pdfs(), 2u);
    for (int32_t n : {710, 711}) {
        EXPECT_EQ(word(n, IVVc::Posted), 1) << n;
        EXPECT_EQ(word(n, IVVc::Printed), 1) << n;
    }
    EXPECT_EQ(LastLine(), "2 invoices printed, 2 posted - to the printer");
    OverTestJob<ApproveInvoiceRange>();
    EXPECT_EQ(Pdfs(), 2u);
    EXPECT_EQ(LastLine(), UiText(Texts::RunNothingToPrint) + UiText(Texts::RunWhyAllPrinted));
}

// An invoice whose posting is refused (its row's sales account does not
// exist, so no voucher can be built) is neither printed as if it were
// issued nor skipped unseen.
TEST_F(DocumentRuns, AnInvoiceThatCannotBePostedIsNotPrinted) {
    FixtureInvoice f;
    f.serial = 720;
    ASSERT_NE(StoreInvoice(f, {{"ITEM1", 1, 100, "1", "9999"}}), 0u);
    Range("720");
    PutU16(TestJob, ReportParamsVc::Option2, 1);
    PutI16(TestJob, ReportParamsVc::BatchMode, 0);
    OverTestJob<ApproveInvoiceRange>();
    EXPECT_EQ(Pdfs(), 0u);
    EXPECT_EQ(Stored(IVVc::Number, "SerNr", IVVc::SerNr, 720, IVVc::Posted, false), 0);
    EXPECT_EQ(LastLine(), "1 " + UiText(Texts::RunNotPostedNorPrinted)) << "nothing went to the printer";
}

// The reminder run names each open item in its progress and stops at
// Esc before the next one: the first reminder prints, the second is
// neither printed nor counted, and the closing line says the user
// stopped it.
TEST_F(DocumentRuns, RemindersShowProgressAndStopAtEsc) {
    ASSERT_NO_FATAL_FAILURE(OverdueInvoices(DateRec{1, 1, 2020}, DateRec{1, 1, 2020}));
    ChangeBlock(ReminderFormBlk::Number, ReminderFormBlk::Rows::Size, [](uint8_t *row) {
        PutText(row, ReminderFormBlk::Rows::FormName, 20, InvoiceCo::FormName);
    });
    auto level = [&](int32_t n) { return Stored(IVVc::Number, "SerNr", IVVc::SerNr, n, IVVc::NoticeCount, true); };
    const int32_t second = level(801);
    static std::vector<std::string> progress;
    progress.clear();
    RunOutcomeUi.progress = [](const uint8_t *text) { progress.emplace_back(reinterpret_cast<const char *>(text + 1), text[0]); };
    RunOutcomeUi.poll = EscAtSecond;
    OverTestJob<PrintCustomerForms>();
    EXPECT_EQ(Pdfs(), 1u);
    EXPECT_EQ(level(801), second);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress[0], UiText(12363) + ": 800");
    EXPECT_NE(LastLine().find(UiText(14441)), std::string::npos) << LastLine();
    EXPECT_EQ(UserCancelFlag, 0) << "the Esc is spent with the run";
}

TEST_F(DocumentRuns, ReminderLevelStoredOnlyWhenPrinted) {
    // 800 is long overdue; 801 falls due far ahead.
    ASSERT_NO_FATAL_FAILURE(OverdueInvoices(DateRec{1, 1, 2020}, DateRec{1, 1, 2099}));
    auto level = [&](int32_t n) {
        return Stored(IVVc::Number, "SerNr", IVVc::SerNr, n, IVVc::NoticeCount, true);
    };
    const int32_t before = level(800);
    DropForm();
    OverTestJob<PrintCustomerForms>();
    EXPECT_EQ(Pdfs(), 0u);
    EXPECT_EQ(level(800), before);                          // a failed print leaves the counter
    ChangeBlock(ReminderFormBlk::Number, ReminderFormBlk::Rows::Size, [](uint8_t *row) {
        PutText(row, ReminderFormBlk::Rows::FormName, 20, InvoiceCo::FormName);
    });
    OverTestJob<PrintCustomerForms>();
    EXPECT_EQ(Pdfs(), 1u);                                  // 801 is not due: never reminded
    EXPECT_EQ(level(800), (before == -1 || before == -2 ? 0 : before) + 1);
    EXPECT_EQ(level(801), Stored(IVVc::Number, "SerNr", IVVc::SerNr, 801, IVVc::NoticeCount, true));
    // Only invoices reminded five times: none.
    PutI32(TestJob, ReportParamsVc::NumberTo, 5);
    OverTestJob<PrintCustomerForms>();
    EXPECT_EQ(Pdfs(), 1u);
    // Another customer's items are left alone.
    PutI32(TestJob, ReportParamsVc::NumberTo, -1);
    PutText(TestJob, ReportParamsVc::SelText2, 20, "C2");
    OverTestJob<PrintCustomerForms>();
    EXPECT_EQ(Pdfs(), 1u);
    // Without the raise option the reminder prints and the level stays.
    PutText(TestJob, ReportParamsVc::SelText2, 20, "");
    PutU16(TestJob, ReportParamsVc::Option2, 0);
    const int32_t raised = level(800);
    OverTestJob<PrintCustomerForms>();
    EXPECT_EQ(Pdfs(), 2u);
    EXPECT_EQ(level(800), raised);
}

TEST_F(DocumentRuns, ProjectCodeRangeStopsAsTheIndexOrdersCodes) {
    for (const char *code : {"a1", "B2", "c3"})
        StoreRecord(ProjectVc::Number, [&](uint8_t *r) { PutText(r, ProjectVc::Code, 20, code); });
    Range("A:B2");
    OverTestJob<PrintProjectForms>();
    EXPECT_EQ(Pdfs(), 2u);                                  // a1 and B2, whatever their case
    Range("");
    OverTestJob<PrintProjectForms>();
    EXPECT_EQ(Pdfs(), 2u);
}

TEST_F(DocumentRuns, NoticeCountOfAMissingInvoiceIsZero) {
    EXPECT_EQ(InvoiceNoticeCount(424242), 0);
    FixtureInvoice f;
    f.serial = 900;
    ASSERT_NE(StoreInvoice(f, {}), 0u);
    EXPECT_EQ(InvoiceNoticeCount(900), 1);
    EXPECT_EQ(InvoiceNoticeCount(900), 2);
}

// The text pdftotext reads from the newest PDF; empty without the tool.
std::string NewestPdfText(const fs::path &dir) {
    fs::path newest;
    for (const auto &e : fs::directory_iterator(dir))
        if (newest.empty() || fs::last_write_time(e.path()) >= fs::last_write_time(newest)) newest = e.path();
    std::string text;
    FILE *p = popen(("pdftotext -layout '" + newest.string() + "' - 2>/dev/null").c_str(), "r");
    if (!p) return text;
    char buf[512];
    for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) text.append(buf, n);
    pclose(p);
    return text;
}

TEST_F(DocumentRuns, ReminderPrintsTheNewLevelOnTheFormOfTheInvoicesLanguage) {
    if (std::system("command -v pdftotext >/dev/null 2>&1") != 0) GTEST_SKIP() << "pdftotext is not installed";
    // REMIND prints "Level" and the reminder level (code 219); English
    // invoices take the form NOSUCH, which does not exist.
    StoreRecord(DocVc::Number, [&](uint8_t *r) {
        PutText(r, DocVc::Code, 20, "REMIND");
        PutU16(r, DocVc::Copies, 1);
        AddFormItem(r, 1, 10, 10, 100, 15, InvoiceCo::FontName, "Level");
        AddFormItem(r, 4, 110, 10, 200, 15, InvoiceCo::FontName, "", 219);
    });
    AddRow(ReminderFormBlk::Number, ReminderFormBlk::Rows::Size, [&](uint8_t *r) {
        PutI32(r, ReminderFormBlk::Rows::SeriesStart, -1);
        PutText(r, ReminderFormBlk::Rows::FormName, 20, "REMIND");
        PutI32(r, ReminderFormBlk::Rows::CopyPass, -1);
    });
    AddRow(ReminderFormBlk::Number, ReminderFormBlk::Rows::Size, [&](uint8_t *r) {
        PutText(r, ReminderFormBlk::Rows::LangCode, 5, "ENG");
        PutI32(r, ReminderFormBlk::Rows::SeriesStart, -1);
        PutText(r, ReminderFormBlk::Rows::FormName, 20, "NOSUCH");
        PutI32(r, ReminderFormBlk::Rows::CopyPass, -1);
    });
    const char *languages[2] = {"", "ENG"};
    for (int32_t n : {810, 811}) {
        StoreRecord(IVVc::Number, [&](uint8_t *r) {
            FixtureInvoice f;
            f.serial = n;
            f.posted = 1;
            FillInvoice(r, f);
            PutText(r, IVVc::LangCode, 5, languages[n - 810]);
            PutI32(r, IVVc::NoticeCount, 2);
        });
        StoreRecord(ARVc::Number, [&](uint8_t *r) {
            PutI32(r, ARVc::InvoiceNr, n);
            PutText(r, ARVc::CustCode, 20, "C1");
            PutDec(r, ARVc::OpenAmount, Dec(10));
            PutDate(r, ARVc::DueDate, DateRec{1, 1, 2020});
        });
    }
    auto level = [&](int32_t n) {
        return Stored(IVVc::Number, "SerNr", IVVc::SerNr, n, IVVc::NoticeCount, true);
    };
    Range("810:811");
    PutI32(TestJob, ReportParamsVc::NumberFrom, -1);
    PutI32(TestJob, ReportParamsVc::NumberTo, -1);
    PutU16(TestJob, ReportParamsVc::Option2, 1);
    OverTestJob<PrintCustomerForms>();
    ASSERT_EQ(Pdfs(), 1u);
    const std::string text = NewestPdfText(folder / "print");
    // The level the reminder raises to, not the stored one.
    const size_t at = text.find("Level");
    ASSERT_NE(at, std::string::npos) << text;
    const std::string line = text.substr(at, text.find('\n', at) - at);
    EXPECT_EQ(line.substr(line.find_last_of(' ') + 1), "3") << line;
    EXPECT_EQ(level(810), 3);
    EXPECT_EQ(level(811), 2);                               // its language's form is missing: not printed, not raised
}

}  // namespace
