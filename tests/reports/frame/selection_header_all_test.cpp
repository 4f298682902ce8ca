// Every report number's selection header under three fixed selections,
// compared line by line with a checked-in golden: a change in any
// report's header notation (a line moved, a text swapped, a condition
// turned) shows here as the report and selection it changed.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>

#include "core/pstring.h"
#include "reports/frame/report_frame.h"
#include "reports/frame/report_run.h"
#include "reports/ledger/ledger_reports.h"
#include "tests/output/output_recorder.h"
#include "tests/output/test_job.h"
#include "tests/reports/report_fixture.h"

namespace {

namespace P = ReportParamsVc;

class SelectionHeaderAllTest : public ReportFixture {
protected:
    void SetUp() override {
        ReportFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreRecord(OTVc::Number, [](uint8_t *r) { PutText(r, OTVc::Code, 5, "DEP"); });
    }
    void TearDown() override {
        YearToDate = 0;
        YearStart = DateRec{};
        ReportFixture::TearDown();
    }

    // Every field the headers read, set to a distinctive value; words are
    // `word` (so each branch on 0, 1 or 2 is taken by one selection).
    void Fill(uint16_t word) {
        ResetParams();
        SetWord(P::OutputKind, OutPreview);
        SetPeriod({1, 2, 2024}, {29, 2, 2024});
        PutDate(TestJob, P::Date2From, DateRec{3, 1, 2024});
        PutDate(TestJob, P::Date2To, DateRec{4, 1, 2024});
        PutDate(TestJob, P::Date3, DateRec{5, 1, 2024});
        SetText(P::SelText1, "11:19");
        SetText(P::SelText2, "B2:B8");
        SetText(P::SelText3, "C3");
        SetText(P::SelText4, "D4 text");
        SetText(P::SelText5, "1910");
        SetText(P::SelText6, "2990");
        SetText(P::SelText7, "G7");
        SetText(P::SelText8, "81:88");
        SetText(P::ObjectSel, "P1");
        SetText(P::ObjectType, "DEP");
        PutDec(TestJob, P::Amount1, Dec(7.25));
        PutDec(TestJob, P::Amount2, Dec(12.5));
        for (uint32_t f : {P::Option1, P::Option2, P::Option3, P::Option4, P::Option5, P::Option6, P::Option7,
                           P::Option8, P::Option9, P::Option11, P::ReportLayout, P::RangeKind, P::SecondKind,
                           P::ColumnLayout, P::AmountUnit, P::DetailLevel})
            SetWord(f, word);
        YearStart = DateRec{1, 1, 2024};
        YearToDate = word == 1 ? 1 : 0;
    }

    // The header lines of every report number, one per row:
    // "<report> <line> <L|R> <text>".
    static std::string AllHeaders(const char *selection) {
        std::ostringstream s;
        PString title;
        PStringFromC(title, "T");
        for (int report = ReportFirst; report <= ReportLast; report++) {
            RecorderInstall rec({OutPreview});
            ReportSelectionHeader(report, title);
            for (const RecCall &c : RecLog) {
                EXPECT_EQ(c.name, "headerLine");
                s << selection << ' ' << report << ' ' << c.args[0] << ' ' << (c.args[1] != 0 ? 'R' : 'L') << ' '
                  << c.text << '\n';
            }
        }
        return s.str();
    }
};

// All fields given, every word 1 (year to date on); every word 0 with the
// texts left empty; every word 2 with the texts given. The goldens were
// taken from the header before its notation became a table.
TEST_F(SelectionHeaderAllTest, EveryReportUnderThreeSelections) {
    std::string all;
    Fill(1);
    all += AllHeaders("ones");
    Fill(0);
    for (uint32_t f : std::initializer_list<uint32_t>{P::SelText1, P::SelText2, P::SelText3, P::SelText4, P::SelText5, P::SelText6,
                       P::SelText7, P::SelText8, P::ObjectSel, P::ObjectType})
        SetText(f, "");
    PackedDecimal blank;
    DecSetBlank(&blank);
    PutDec(TestJob, P::Amount1, blank);
    PutDate(TestJob, P::Date2From, DateRec{});
    PutDate(TestJob, P::Date2To, DateRec{});
    all += AllHeaders("empty");
    Fill(2);
    PutDate(TestJob, P::Date2To, DateRec{3, 1, 2024});   // equal dates shown once
    all += AllHeaders("twos");
    // A golden that lost its lines would compare equal to a header that
    // wrote nothing: each selection writes many.
    EXPECT_GT(std::count(all.begin(), all.end(), '\n'), 3 * 146 * 3);
    ExpectGolden("selection_headers_all", all);
}

}  // namespace
