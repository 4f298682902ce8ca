// general_ledger_test.cpp - report 6 over the ledger of the fixture: both
// forms as goldens (the month rules, the result account opening at zero
// on the year's first day and from the year's start later, the filters,
// corrected rows, counter accounts and the VAT summary), the summary by
// VAT code and the counter accounts on their own, an empty ledger, and
// Esc mid-run.
#include "platform/queue.h"
#include "tests/output/output_recorder.h"
#include "tests/output/test_job.h"
#include "tests/reports/ledger/ledger_report_fixture.h"
#include "tests/reports/preview_lines.h"

namespace {

namespace P = ReportParamsVc;

class GeneralLedgerTest : public LedgerReportFixture {
protected:
    static std::vector<VatSummaryEntry> Summary(std::initializer_list<std::pair<const char *, double>> adds) {
        std::vector<VatSummaryEntry> s;
        for (const auto &a : adds) {
            PString code;
            PStringFromC(code, a.first);
            const PackedDecimal amount = Dec(a.second);
            AddVatSummary(s, code, &amount);
        }
        return s;
    }
    static std::string CounterText(const uint8_t *voucher, bool credit) {
        PString out, account;
        PStringFromC(account, "1910");
        CounterAccountList(voucher, account, credit, out);
        return PStringToStd(out);
    }
};

// Codes in the order first met; zero and more to the debit, less than
// zero to the credit as a positive sum; an empty code adds nothing.
TEST_F(GeneralLedgerTest, VatSummaryByCode) {
    const std::vector<VatSummaryEntry> s = Summary({{"1", 100}, {"", 999}, {"0", -40}, {"1", -25.5}, {"0", 0}, {"1", 10}});
    ASSERT_EQ(s.size(), 2u);
    EXPECT_EQ(PStringToStd(s[0].code), "1");
    EXPECT_EQ(DecToDouble(&s[0].debit), 110);
    EXPECT_EQ(DecToDouble(&s[0].credit), 25.5);
    EXPECT_EQ(PStringToStd(s[1].code), "0");
    EXPECT_EQ(DecToDouble(&s[1].debit), 0);
    EXPECT_EQ(DecToDouble(&s[1].credit), 40);
    EXPECT_TRUE(Summary({{"", 5}}).empty());
}

// The counter accounts: rows of the opposite sign of at least 1.0, only
// counted rows, three at most and then "..." (plain points, no byte of
// another character set).
TEST_F(GeneralLedgerTest, CounterAccountsOfAVoucher) {
    RuleRecord v(Voucher::Number);
    ASSERT_NE(v.record, nullptr);
    AddLedgerRow(Voucher::Number, v.record, "1910", "", 100);
    AddLedgerRow(Voucher::Number, v.record, "3010", "", -40);
    AddLedgerRow(Voucher::Number, v.record, "3011", "", -0.5);   // below 1.0
    AddLedgerRow(Voucher::Number, v.record, "2610", "", -20);
    AddLedgerRow(Voucher::Number, v.record, "4010", "", -9, "", 1);   // not counted
    EXPECT_EQ(CounterText(v.record, false), "3010,2610");
    EXPECT_EQ(CounterText(v.record, true), "1910");
    AddLedgerRow(Voucher::Number, v.record, "3012", "", -30);
    EXPECT_EQ(CounterText(v.record, false), "3010,2610,3012");
    AddLedgerRow(Voucher::Number, v.record, "3740", "", -1);
    const std::string more = CounterText(v.record, false);
    EXPECT_EQ(more, "3010,2610,3012...");
    EXPECT_EQ(more.find('\xC9'), std::string::npos);
    RecFreeMatrix(Voucher::Number, v.record);
}

// Report 6 as goldens over the ledger: each form, a period from the
// year's first day (result accounts open at zero) and from March (they
// open with January and February), and each filter and option.
TEST_F(GeneralLedgerTest, GeneralLedgerGoldens) {
    StoreLedger();
    ASSERT_FALSE(HasFatalFailure());
    struct Run {
        const char *golden;
        DateRec from, to;
        uint16_t layout;
        const char *accounts, *objects, *type, *text, *vat;
        uint16_t second, styled, untyped, counter, column7, withLines, ranges, vatSummary;
    } runs[] = {
        {"ledger6_detailed_year", {1, 1, 2024}, {31, 12, 2024}, 0, "", "", "", "", "", 1, 0, 0, 0, 0, 0, 1, 1},
        {"ledger6_summary_year", {1, 1, 2024}, {31, 12, 2024}, 1, "", "", "", "", "", 1, 0, 0, 0, 0, 0, 0, 1},
        {"ledger6_result_from_march", {1, 3, 2024}, {31, 3, 2024}, 0, "3010:4010", "", "", "", "", 0, 0, 0, 0, 0, 0, 0, 0},
        {"ledger6_objects_typed", {1, 1, 2024}, {31, 12, 2024}, 0, "3010:4010", "", "DEP", "", "", 1, 0, 0, 0, 1, 1, 0, 0},
        {"ledger6_object_d1", {1, 1, 2024}, {31, 12, 2024}, 0, "", "D1", "", "", "", 1, 0, 0, 0, 1, 1, 0, 0},
        {"ledger6_text_and_vat", {1, 1, 2024}, {31, 12, 2024}, 0, "", "", "", "invoice", "1", 0, 0, 0, 0, 0, 1, 0, 0},
        {"ledger6_corrected_counter", {1, 3, 2024}, {31, 3, 2024}, 0, "1910:4010", "", "", "", "", 0, 1, 0, 1, 0, 1, 0, 0},
    };
    for (const Run &r : runs) {
        SCOPED_TRACE(r.golden);
        Select(6, r.from, r.to);
        SetWord(P::ReportLayout, r.layout);
        SetText(P::SelText7, r.accounts);
        SetText(P::ObjectSel, r.objects);
        SetText(P::ObjectType, r.type);
        SetText(P::SelText4, r.text);
        SetText(P::SelText1, r.vat);
        SetWord(P::SecondKind, r.second);
        SetWord(P::Option2, r.styled);
        SetWord(P::Option3, r.untyped);
        SetWord(P::Option4, r.counter);
        SetWord(P::Option7, r.column7);
        SetWord(P::RangeKind, r.withLines);
        SetWord(P::Option5, r.ranges);
        SetWord(P::Option6, r.vatSummary);
        ExpectLedgerGolden(r.golden, RunText(LedgerReport6));
    }
}

// The amounts behind the goldens, read from the recorded lines: the
// result account 3010 opens at zero on 1 January and at -800 (January's
// sale) on 1 March; the preliminary entry counts only with the second
// balance kind; the corrected row never moves the balance.
TEST_F(GeneralLedgerTest, OpeningsAndSums) {
    StoreLedger();
    ASSERT_FALSE(HasFatalFailure());
    const RepDevice *saved = RepDeviceInstall(OutPreview, &RecorderDevice);
    auto closingOf = [&](DateRec from, uint16_t second, const char *account) {
        Select(6, from, {31, 3, 2024});
        SetWord(P::OutputKind, OutPreview);
        SetWord(P::ReportLayout, 1);
        SetWord(P::SecondKind, second);
        SetWord(P::Option2, 1);
        ThousandsFlag = 1;   // as a run to the preview has it
        std::string range = std::string(account) + ":" + account;
        SetText(P::SelText7, range.c_str());
        RecLog.clear();
        OverTestJob<LedgerReport6>();
        // The summary line: code, name, debit, credit, closing (the last value).
        std::string last;
        bool inLine = false;
        for (const RecCall &c : RecLog) {
            if (inLine && c.name != "text") break;
            if (c.name == "text" && c.text == account) inLine = true;
            if (inLine) last = c.text;
        }
        return last;
    };
    EXPECT_EQ(closingOf({1, 1, 2024}, 1, "3010"), "-1 400,00");
    EXPECT_EQ(closingOf({1, 3, 2024}, 1, "3010"), "-1 400,00");
    EXPECT_EQ(closingOf({1, 1, 2024}, 1, "4010"), "370,00");
    EXPECT_EQ(closingOf({1, 1, 2024}, 0, "4010"), "320,00");
    // 5000 opening, 1000 and -300 before March, then 500 and -20.
    EXPECT_EQ(closingOf({1, 3, 2024}, 0, "1910"), "6 180,00");
    ThousandsFlag = 0;
    RepDeviceInstall(OutPreview, saved);
}

// A posting of another month than the line before it gets a rule first
// (1510: March, then April); the account's first line gets none.
TEST_F(GeneralLedgerTest, MonthsSeparatedByARule) {
    StoreLedger();
    ASSERT_FALSE(HasFatalFailure());
    const RepDevice *saved = RepDeviceInstall(OutPreview, &RecorderDevice);
    Select(6, {1, 1, 2024}, {31, 12, 2024});
    SetWord(P::OutputKind, OutPreview);
    SetText(P::SelText7, "1510:1510");
    RecLog.clear();
    OverTestJob<LedgerReport6>();
    RepDeviceInstall(OutPreview, saved);
    std::vector<std::string> seen;   // the dates and the thick rules in order
    for (const RecCall &c : RecLog) {
        if (c.name == "text" && (c.text == "20.03.2024" || c.text == "02.04.2024")) seen.push_back(c.text);
        if (c.name == "rule" && c.args.size() == 3 && c.args[2] == 4) seen.push_back("rule");
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"20.03.2024", "rule", "02.04.2024"}));
}

// An empty ledger says that there are no vouchers and prints the accounts
// and the zero total; an account range that takes nothing prints only the
// total.
TEST_F(GeneralLedgerTest, EmptyLedgerAndEmptyRange) {
    Select(6, {1, 1, 2024}, {31, 12, 2024});
    SetWord(P::RangeKind, 1);
    ExpectLedgerGolden("ledger6_empty_ledger", RunText(LedgerReport6));
    StoreLedger();
    ASSERT_FALSE(HasFatalFailure());
    Select(6, {1, 1, 2024}, {31, 12, 2024});
    SetText(P::SelText7, "9000:9999");
    const std::string text = RunText(LedgerReport6);
    EXPECT_EQ(text.find("1910"), std::string::npos);
    EXPECT_NE(text.find(UiText(3196)), std::string::npos);
}

int LinesStarted = 0;

const RepDevice EscDevice = [] {
    RepDevice d = RecorderDevice;
    d.lineStart = [] {
        RecorderDevice.lineStart();
        if (++LinesStarted == 4) {
            EXPECT_TRUE(MsgPost(0, PlMsg::KeyDown, PlKey::Escape, 0));
        }
    };
    return d;
}();

// Esc while the first account prints: the job ends stopped, no later
// account and no total is printed; with the flag already set nothing is.
TEST_F(GeneralLedgerTest, EscStopsAfterThePostingAtHand) {
    StoreLedger();
    ASSERT_FALSE(HasFatalFailure());
    const RepDevice *saved = RepDeviceInstall(OutPreview, &EscDevice);
    Select(6, {1, 1, 2024}, {31, 12, 2024});
    SetWord(P::OutputKind, OutPreview);
    RecLog.clear();
    LinesStarted = 0;
    OverTestJob<LedgerReport6>();
    ASSERT_FALSE(RecLog.empty());
    EXPECT_EQ(RecLog.back().name, "end");
    EXPECT_EQ(RepStopped, 1);
    bool sawFirst = false;
    for (const RecCall &call : RecLog) {
        sawFirst = sawFirst || call.text.find("1460") != std::string::npos;
        EXPECT_EQ(call.text.find("4010"), std::string::npos);
        EXPECT_NE(call.text, UiText(3196));
    }
    EXPECT_TRUE(sawFirst);
    RecLog.clear();
    CancelFlag = 1;
    OverTestJob<LedgerReport6>();
    EXPECT_TRUE(RecLog.empty());
    CancelFlag = 0;
    RepDeviceInstall(OutPreview, saved);
}

}  // namespace

namespace {

// Report 6 in the preview over the cash account with a voucher of a long
// reference (a ten-digit number) and long texts, a person entry of a long
// number and the objects column: each posting stays on its line, no text
// of it starting before the text left of it ends.
TEST_F(GeneralLedgerTest, LongReferencesKeepEachPostingOnItsLine) {
    StoreLedger();
    ASSERT_FALSE(HasFatalFailure());
    Insert(Voucher::Number, 2024000123, {12, 4, 2024}, "Settlement of the supplier's invoice 2024-0457 and charges",
           {{"1910", "D1", -120, "1", 0, "Bank charges for the transfer abroad"}, {"4010", "D1", 120}});
    Insert(PersEntryVc::Number, 1234567890, {15, 4, 2024}, "Travel", {{"4010", "D1", 15}, {"1910", "", -15}});
    ASSERT_FALSE(HasFatalFailure());
    InvoiceFrameUp();
    ASSERT_FALSE(HasFatalFailure());
    for (uint16_t column7 : {0, 1}) {
        SCOPED_TRACE(column7);
        Select(6, {1, 4, 2024}, {30, 4, 2024});
        SetWord(P::OutputKind, OutPreview);
        SetText(P::SelText7, "1910:1910");
        SetWord(P::Option7, column7);
        SetWord(P::SecondKind, 1);
        ResetOutputJobState();
        OverTestJob<LedgerReport6>();
        const int n = OpenPreviewWindow();
        ASSERT_TRUE(PreviewIsOpen(n));
        const std::vector<PlacedText> texts = PreviewTexts(n);
        ExpectNoOverlap(texts);
        WinClose(n);
    }
    InvoiceFrameDown();
}

}  // namespace
