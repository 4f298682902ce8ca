// column_fit_test.cpp - texts measured and cut as the job's device draws
// them: on the preview by its font and its width per report unit, the cut
// marked at the end or (a reference) at the front; files and a remote
// session measure nothing and keep every text whole.
#include <string>

#include "core/pstring.h"
#include "reports/frame/column_fit.h"
#include "tests/output/test_job.h"
#include "tests/reports/report_fixture.h"

namespace {

namespace P = ReportParamsVc;

class ColumnFitTest : public ReportFixture {
protected:
    void SetUp() override {
        ReportFixture::SetUp();
        if (HasFatalFailure()) return;
        InvoiceFrameUp();   // the screen's fonts
        if (HasFatalFailure()) return;
        SetWord(P::OutputKind, OutPreview);
        RepOutputState.positions[1] = 480;
        RepOutputState.positions[10] = 480;   // a pixel a unit
    }
    void TearDown() override {
        RemoteOutput = 0;
        ResetOutputJobState();
        InvoiceFrameDown();
        ReportFixture::TearDown();
    }
    static int Units(const char *text) {
        PString t;
        PStringFromC(t, text);
        return RepTextUnits(t);
    }
    static std::string Cut(const char *text, int units, bool keepEnd) {
        PString t;
        PStringFromC(t, text);
        RepCutToUnits(t, units, keepEnd);
        return PStringToStd(t);
    }
};

TEST_F(ColumnFitTest, CutsToTheDevicesWidthMarkingTheCut) {
    const char *reference = "2024.2024000123";
    const int wide = Units(reference);
    ASSERT_GT(wide, 0);
    EXPECT_EQ(Cut(reference, wide, true), reference);   // fits as it is

    const std::string front = Cut(reference, wide - 1, true);
    EXPECT_EQ(front.rfind("...", 0), 0u) << front;
    EXPECT_EQ(front.substr(front.size() - 4), "0123") << front;
    EXPECT_LE(Units(front.c_str()), wide - 1);
    const std::string end = Cut(reference, wide - 1, false);
    EXPECT_EQ(end.rfind("2024", 0), 0u) << end;
    EXPECT_EQ(end.substr(end.size() - 3), "...") << end;
    // Never more cut than needed: one character more would not fit.
    EXPECT_GT(Units((end.substr(0, end.size() - 3) + reference[end.size() - 3] + "...").c_str()), wide - 1);
    EXPECT_EQ(Cut(reference, 0, false), "...");   // the mark alone, never an empty column

    // Twice the pixels a unit: half the units, rounded up.
    RepOutputState.positions[10] = 960;
    EXPECT_EQ(Units(reference), (wide + 1) / 2);
}

TEST_F(ColumnFitTest, FilesAndRemoteSessionsKeepTextsWhole) {
    const char *text = "Settlement of the supplier's invoice and its charges";
    for (uint16_t kind : {OutTextFile, OutTabFile}) {
        SetWord(P::OutputKind, kind);
        EXPECT_EQ(Units(text), 0) << kind;
        EXPECT_EQ(Cut(text, 10, false), text) << kind;
        EXPECT_EQ(Cut(text, -7, true), text) << kind;   // a column given by stop numbers
    }
    SetWord(P::OutputKind, OutPreview);
    ASSERT_GT(Units(text), 10);
    RemoteOutput = 1;   // the client's preview measures, not the server
    EXPECT_EQ(Units(text), 0);
    EXPECT_EQ(Cut(text, 10, false), text);
}

}  // namespace
