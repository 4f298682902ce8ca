// The selection header's lines by report through the recording device on
// the preview kind, which draws each header line as it is given.
#include <gtest/gtest.h>

#include <cctype>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "core/pstring.h"
#include "reports/frame/report_frame.h"
#include "reports/ledger/ledger_reports.h"
#include "tests/output/output_recorder.h"
#include "tests/output/test_job.h"
#include "tests/reports/report_fixture.h"

namespace {

namespace P = ReportParamsVc;

using Line = std::tuple<int, bool, std::string>;   // line, right, text

class SelectionHeaderTest : public ReportFixture {
protected:
    void SetUp() override {
        ReportFixture::SetUp();
        if (HasFatalFailure()) return;
        SetWord(P::OutputKind, OutPreview);
    }
    void TearDown() override {
        TitleFromSelection = 0;
        YearToDate = 0;
        YearStart = DateRec{};
        ReportFixture::TearDown();
    }
    // The header lines of report under title "T" past lines 0 and 1's
    // fixed texts (from line 1's right on).
    static std::vector<Line> Header(int report) {
        RecorderInstall rec({OutPreview});
        PString title;
        PStringFromC(title, "T");
        ReportSelectionHeader(report, title);
        std::vector<Line> out;
        for (const RecCall &c : RecLog) {
            EXPECT_EQ(c.name, "headerLine");
            out.emplace_back(c.args[0], c.args[1] != 0, c.text);
        }
        return out;
    }
    // The lines after the title, date and company.
    static std::vector<Line> Selection(int report) {
        std::vector<Line> all = Header(report);
        EXPECT_GE(all.size(), 3u);
        if (all.size() < 3) return {};
        EXPECT_EQ(all[0], Line(0, false, "T"));
        EXPECT_EQ(all[1], Line(0, true, "15.03.2024"));
        EXPECT_EQ(std::get<0>(all[2]), 1);
        return {all.begin() + 3, all.end()};
    }
};

// Report 5 with every selection: the customer range on line 1, option 1
// left and option 2 right on line 2, the layout and the currency choice on
// line 3, the rest below.
TEST_F(SelectionHeaderTest, Report5EverySelection) {
    SetText(P::SelText1, "C1:C3");
    SetText(P::SelText2, "S1");
    SetText(P::SelText3, "K");
    SetWord(P::Option1, 2);
    SetWord(P::Option2, 1);
    SetWord(P::Option3, 1);
    PutDate(TestJob, P::Date2From, DateRec{1, 3, 2024});
    const std::vector<Line> want = {
        {1, true, UiText(1105) + "C1 : C3"}, {2, false, UiText(2427)}, {2, true, UiText(1189)},
        {3, false, UiText(1161)},            {3, true, UiText(6650)},  {4, true, UiText(1824) + "S1"},
        {5, true, UiText(1114) + "K"},       {6, true, "01.03.2024"},
    };
    EXPECT_EQ(Selection(5), want);
    // The window's "Overdue only" box stores 1: the header says the same.
    SetWord(P::Option1, 1);
    EXPECT_EQ(Selection(5), want);
    SetWord(P::Option1, 0);
    EXPECT_EQ(std::get<2>(Selection(5)[1]), UiText(2421));
}

// Lines that move or vanish: report 7's option line moves up without
// SelText3; 17 writes only line 2 left; 63 shows equal dates once; 8 and
// 65 write an empty text for a value their choice does not list; 25
// writes nothing at all.
TEST_F(SelectionHeaderTest, LinesThatMoveOrVanish) {
    const std::string option = UiText(1136);
    auto lastLine = [](const std::vector<Line> &v) { return v.empty() ? -1 : std::get<0>(v.back()); };

    std::vector<Line> r7 = Selection(7);
    EXPECT_EQ(std::get<2>(r7.back()), option);
    EXPECT_EQ(lastLine(r7), 5);
    SetText(P::SelText3, "X");
    r7 = Selection(7);
    EXPECT_EQ(std::get<2>(r7[r7.size() - 2]), UiText(2587) + "X");
    EXPECT_EQ(lastLine(r7), 6);

    ResetParams();
    SetWord(P::OutputKind, OutPreview);
    std::vector<Line> r17 = Selection(17);
    ASSERT_EQ(r17.size(), 1u);
    EXPECT_EQ(std::get<0>(r17[0]), 2);
    EXPECT_FALSE(std::get<1>(r17[0]));
    EXPECT_EQ(std::get<2>(r17[0]).rfind(UiText(3017), 0), 0u);

    PutDate(TestJob, P::Date2From, DateRec{1, 3, 2024});
    PutDate(TestJob, P::Date2To, DateRec{1, 3, 2024});
    EXPECT_EQ(std::get<2>(Selection(63).back()), "01.03.2024");
    PutDate(TestJob, P::Date2To, DateRec{2, 3, 2024});
    EXPECT_EQ(std::get<2>(Selection(63).back()), "01.03.2024 : 02.03.2024");

    PutDate(TestJob, P::Date2From, DateRec{});
    SetWord(P::Option2, 1);
    EXPECT_EQ(std::get<2>(Selection(8).back()), UiText(2346));
    SetWord(P::Option2, 2);
    EXPECT_EQ(std::get<2>(Selection(8).back()), "");
    SetWord(P::ReportLayout, 0);
    EXPECT_EQ(Selection(65).back(), Line(2, false, UiText(Texts::LayoutWithVoucherRows)));
    SetWord(P::ReportLayout, 1);
    EXPECT_EQ(Selection(65).back(), Line(2, false, UiText(Texts::LayoutTotalsOnly)));
    SetWord(P::ReportLayout, 3);
    EXPECT_EQ(Selection(65).back(), Line(2, false, ""));

    // Report 14's amount lines: none for an amount not given (blank).
    ResetParams();
    SetWord(P::OutputKind, OutPreview);
    PackedDecimal blank;
    DecSetBlank(&blank);
    PutDec(TestJob, P::Amount1, blank);
    PutDec(TestJob, P::Amount2, blank);
    const size_t without = Selection(14).size();
    PutDec(TestJob, P::Amount2, Dec(12.5));
    const std::vector<Line> r14 = Selection(14);
    ASSERT_EQ(r14.size(), without + 1);
    EXPECT_EQ(std::get<2>(r14.back()).rfind(UiText(2499) + ": ", 0), 0u);

    EXPECT_TRUE(Header(25).empty());
}

// Report 22 with every selection and the fiscal-year line: lines 0..9 are
// written, the eleventh and twelfth are dropped.
TEST_F(SelectionHeaderTest, Report22KeepsTenLines) {
    StoreRecord(OTVc::Number, [](uint8_t *r) { PutText(r, OTVc::Code, 5, "DEP"); });
    SetPeriod({1, 2, 2024}, {29, 2, 2024});
    SetText(P::ObjectSel, "P1");
    SetText(P::ObjectType, "DEP");
    SetWord(P::SecondKind, 1);
    SetWord(P::Option3, 1);
    SetWord(P::Option5, 1);
    YearStart = DateRec{1, 1, 2024};
    YearToDate = 1;
    const std::vector<Line> all = Header(22);
    int last = 0;
    for (const Line &l : all) last = std::max(last, std::get<0>(l));
    EXPECT_EQ(last, 9);
    EXPECT_EQ(all.back(), Line(9, true, UiText(6653)));
    YearToDate = 0;
    const std::vector<Line> noYear = Header(22);
    EXPECT_EQ(noYear.back(), Line(9, true, UiText(6652)));
}

// The title from the selection: report 15 takes SelText3 (60 characters)
// when asked; an empty SelText3, or not asked, keeps the job's title.
TEST_F(SelectionHeaderTest, TitleFromSelection15) {
    const std::string long70(70, 'x');
    SetText(P::SelText3, long70.c_str());
    EXPECT_EQ(Header(15).front(), Line(0, false, "T"));
    TitleFromSelection = 1;
    EXPECT_EQ(Header(15).front(), Line(0, false, std::string(60, 'x')));
    SetText(P::SelText3, "");
    EXPECT_EQ(Header(15).front(), Line(0, false, "T"));
}

}  // namespace

namespace {

// Whether a header line says text, on the side given.
bool HasLine(const std::vector<Line> &lines, bool right, const std::string &text) {
    for (const Line &l : lines)
        if (std::get<1>(l) == right && std::get<2>(l) == text) return true;
    return false;
}

// The project reports: one stored project shows its name after its code,
// a range its two ends, an unknown code and no range their texts; the
// customer, person, closed-project and layout lines follow their words.
TEST_F(SelectionHeaderTest, ProjectReportsNameTheirProjects) {
    StoreRecord(ProjectVc::Number, [](uint8_t *r) {
        PutText(r, ProjectVc::Code, 20, "P1");
        PutText(r, ProjectVc::Name, 60, "Alpha");
    });
    SetText(P::SelText1, "P1");
    SetText(P::SelText2, "C1");
    SetWord(P::Option9, 1);
    SetWord(P::Option2, 1);
    std::vector<Line> h = Header(68);
    EXPECT_TRUE(HasLine(h, true, UiText(4852) + "P1 Alpha"));
    EXPECT_TRUE(HasLine(h, false, UiText(1179)));
    EXPECT_TRUE(HasLine(h, true, UiText(4849) + " C1"));
    EXPECT_TRUE(HasLine(h, true, UiText(4844)));

    SetText(P::SelText1, "P0");   // sorts before P1: no name borrowed from it
    EXPECT_TRUE(HasLine(Header(68), true, UiText(4852) + "P0"));
    SetText(P::SelText1, "P1:P9");
    SetWord(P::Option2, 0);
    h = Header(69);
    EXPECT_TRUE(HasLine(h, true, UiText(4852) + "P1 : P9"));
    EXPECT_TRUE(HasLine(h, false, UiText(1178)));
    EXPECT_FALSE(HasLine(h, true, UiText(4844)));

    ResetParams();
    SetWord(P::OutputKind, OutPreview);
    SetText(P::SelText1, "S1");
    SetWord(P::ReportLayout, 2);
    h = Header(70);
    EXPECT_TRUE(HasLine(h, true, UiText(4851)));
    EXPECT_TRUE(HasLine(h, false, UiText(4888)));
    EXPECT_TRUE(HasLine(h, true, UiText(4830) + " S1"));
}

// Report 54 without an order range: its first text is a left one, which
// would have covered the company's name on line 1; it opens line 2.
TEST_F(SelectionHeaderTest, ALeftTextNeverCoversTheCompanysName) {
    SetWord(P::Option3, 1);
    const std::vector<Line> all = Header(54);
    ASSERT_GE(all.size(), 4u);
    EXPECT_EQ(std::get<0>(all[2]), 1);
    EXPECT_FALSE(std::get<1>(all[2]));   // the company's name, alone on the left of line 1
    for (size_t i = 3; i < all.size(); i++)
        EXPECT_FALSE(std::get<0>(all[i]) == 1 && !std::get<1>(all[i])) << std::get<2>(all[i]);
    EXPECT_EQ(std::get<0>(all[3]), 2) << std::get<2>(all[3]);
}

}  // namespace

namespace {

// Whether text holds word, letters in either case.
bool Mentions(const std::string &text, const std::string &word) {
    std::string lower = text;
    for (char &c : lower) c = char(std::tolower((unsigned char)c));
    return lower.find(word) != std::string::npos;
}

// The text on side `right` of header line `line`; "" when none.
std::string At(const std::vector<Line> &lines, int line, bool right) {
    for (const Line &l : lines)
        if (std::get<0>(l) == line && std::get<1>(l) == right) return std::get<2>(l);
    return "";
}

// The vendor ageing report's header over every choice of its window: its
// range names vendors, no line speaks of customers or salesmen; each
// layout, the past-due choice
// and the currency choice have a text of their own; the vendor group is
// named a group.
TEST_F(SelectionHeaderTest, VendorAgeingHeaderNamesItsOwnChoices) {
    std::set<std::string> layouts, invoices, currencies;
    for (int layout = 0; layout <= 4; layout++) {
        for (int option = 0; option <= 1; option++) {
            SetWord(P::ReportLayout, layout);
            SetWord(P::Option1, option);
            SetWord(P::Option3, option);
            const std::vector<Line> h = Selection(31);
            EXPECT_TRUE(Mentions(At(h, 1, true), "vendor")) << At(h, 1, true);
            for (const Line &l : h) {
                EXPECT_FALSE(Mentions(std::get<2>(l), "customer")) << std::get<2>(l);
                EXPECT_FALSE(Mentions(std::get<2>(l), "salesman")) << std::get<2>(l);
            }
            invoices.insert(At(h, 2, false));
            currencies.insert(At(h, 2, true));
            layouts.insert(At(h, 3, false));
        }
    }
    EXPECT_EQ(layouts.size(), 5u) << ::testing::PrintToString(layouts);
    EXPECT_EQ(invoices.size(), 2u) << ::testing::PrintToString(invoices);
    EXPECT_EQ(currencies.size(), 2u) << ::testing::PrintToString(currencies);
    for (const std::set<std::string> *s : {&layouts, &invoices, &currencies}) EXPECT_EQ(s->count(""), 0u);
    for (const std::string &c : currencies) EXPECT_TRUE(Mentions(c, "currency")) << c;

    SetText(P::SelText3, "G1");
    EXPECT_TRUE(HasLine(Selection(31), true, "Group: G1"));
}

// The item and person reports' selection lines say what their fields
// hold: report 8's location, classification and exchange-rate choice,
// report 10's price list, the history reports' location and serial
// number, the person reports' department.
TEST_F(SelectionHeaderTest, ItemReportLinesNameTheirFields) {
    SetText(P::SelText2, "L1");
    SetText(P::SelText7, "K");
    std::vector<Line> h = Selection(8);
    EXPECT_TRUE(HasLine(h, true, "Location: L1"));
    EXPECT_TRUE(HasLine(h, true, "Classification: K"));
    const std::string own = std::get<2>(h.back());
    SetWord(P::Option2, 1);
    const std::string today = std::get<2>(Selection(8).back());
    EXPECT_NE(own, today);
    EXPECT_TRUE(Mentions(own, "rates")) << own;
    EXPECT_TRUE(Mentions(today, "today's rates")) << today;

    ResetParams();
    SetWord(P::OutputKind, OutPreview);
    SetText(P::SelText2, "P1");
    EXPECT_TRUE(HasLine(Selection(10), true, "Price list: P1"));
    SetText(P::SelText2, "SN7");
    SetText(P::SelText8, "L2");
    EXPECT_TRUE(HasLine(Selection(73), true, "Location: L2"));
    h = Selection(84);
    EXPECT_TRUE(HasLine(h, true, "Serial number: SN7"));
    EXPECT_TRUE(HasLine(h, true, "Location: L2"));
    SetText(P::SelText7, "L3");
    EXPECT_TRUE(HasLine(Selection(74), true, "Location: L3"));

    SetText(P::SelText2, "D1");
    EXPECT_TRUE(HasLine(Selection(100), true, "Department: D1"));
    EXPECT_TRUE(HasLine(Selection(101), true, "Department: D1"));
}

}  // namespace
