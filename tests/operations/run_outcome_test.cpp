// run_outcome_test.cpp - the closing line and the Esc of a batch run: the
// counts of what was made and what failed in the order they were told,
// one and many, the numbers made, the device; the reason when nothing was
// made; an Esc left from before a run that does not stop it, one pressed
// during it that stops it for good; and where the line goes (the status
// line, and a message box when nothing was made, something failed, or
// there is no status line).
#include <string>
#include <vector>

#include "core/field_access.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "operations/run_outcome.h"
#include "tests/rules/rules_fixture.h"

namespace {

std::vector<std::string> StatusLines;
void KeepStatus(const uint8_t *text) { StatusLines.emplace_back(reinterpret_cast<const char *>(text + 1), text[0]); }
int Polls = 0;
void EscAtThird() {
    if (++Polls == 3) UserCancelFlag = 1;
}

class RunOutcomeTest : public RulesFixture {
protected:
    RunOutcomeUiRec saved;
    void SetUp() override {
        RulesFixture::SetUp();
        saved = RunOutcomeUi;
        RunOutcomeUi = RunOutcomeUiRec{};
        RunOutcomeUi.status = KeepStatus;
        StatusLines.clear();
        Polls = 0;
        UserCancelFlag = 0;
    }
    void TearDown() override {
        RunOutcomeUi = saved;
        UserCancelFlag = 0;
        RulesFixture::TearDown();
    }
    static std::string T(int n) {
        char text[256];
        GetUiTextC(text, n);
        return text;
    }
};

TEST_F(RunOutcomeTest, TheLineCountsWhatWasMadeThenWhatFailed) {
    RunOutcome run;
    RunStart(&run, 0);
    RunFailed(&run, 1, Texts::RunNotPrinted, Texts::RunNotPrinted);
    RunCount(&run, 1, Texts::RunInvoicePrinted, Texts::RunInvoicesPrinted);
    RunCount(&run, 1, Texts::RunPosted, Texts::RunPosted);
    RunCount(&run, 2, Texts::RunInvoicePrinted, Texts::RunInvoicesPrinted);   // adds to the same count
    RunCount(&run, 0, Texts::RunInvoiceMade, Texts::RunInvoicesMade);         // a zero count is not told
    EXPECT_EQ(RunOutcomeLine(run, Texts::RunOutcomeToPrinter), "3 invoices printed, 1 posted, 1 not printed - to the printer");
    RunNumber(&run, 12);
    EXPECT_EQ(RunOutcomeLine(run, 0), "3 invoices printed, 1 posted, 1 not printed, numbers 12");
    RunNumber(&run, 10);
    RunNumber(&run, -1);   // not numbered: ignored
    EXPECT_EQ(RunOutcomeLine(run, 0), "3 invoices printed, 1 posted, 1 not printed, numbers 10-12");
}

TEST_F(RunOutcomeTest, NothingMadeTellsWhyAndShowsABox) {
    RunOutcome run;
    RunStart(&run, 0);
    EXPECT_EQ(RunOutcomeLine(run, Texts::RunOutcomeToScreen), T(Texts::RunOutcomeNothingMade) + T(Texts::RunWhyNoneInRange));
    RunNothing(&run, Texts::RunWhyAllPrinted, Texts::RunNothingToPrint);
    shown.clear();
    const std::string line = RunFinish(&run, Texts::RunOutcomeToScreen);
    EXPECT_EQ(line, T(Texts::RunNothingToPrint) + T(Texts::RunWhyAllPrinted));
    ASSERT_EQ(StatusLines.size(), 1u);
    EXPECT_EQ(StatusLines[0], line);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], line);
}

TEST_F(RunOutcomeTest, TheBoxComesForFailuresAndWithoutAStatusLineOnly) {
    RunOutcome run;
    RunStart(&run, 0);
    RunCount(&run, 2, Texts::RunDocumentPrinted, Texts::RunDocumentsPrinted);
    shown.clear();
    RunFinish(&run, 0);
    EXPECT_TRUE(shown.empty()) << "a run that made what it should says it on the status line only";
    RunFailed(&run, 1, Texts::RunNotPrinted, Texts::RunNotPrinted);
    RunFinish(&run, 0);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "2 documents printed, 1 not printed");
    // On a server there is no status line: the line goes as a message.
    RunOutcomeUi.status = nullptr;
    RunStart(&run, 0);
    RunCount(&run, 1, Texts::RunDocumentPrinted, Texts::RunDocumentsPrinted);
    shown.clear();
    RunFinish(&run, 0);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0], "1 document printed");
}

TEST_F(RunOutcomeTest, EscStopsTheRunOnlyWhenPressedDuringIt) {
    RunOutcome run;
    UserCancelFlag = 1;   // left from before the run
    RunStart(&run, 0);
    RunOutcomeUi.poll = EscAtThird;
    EXPECT_TRUE(RunGoesOnNumber(&run, 1));
    EXPECT_TRUE(RunGoesOnNumber(&run, 2));
    EXPECT_FALSE(RunGoesOnNumber(&run, 3));
    UserCancelFlag = 0;
    EXPECT_FALSE(RunGoesOnNumber(&run, 4)) << "a stopped run stays stopped";
    EXPECT_EQ(run.walked, 2);
    RunCount(&run, 2, Texts::RunLabelPrinted, Texts::RunLabelsPrinted);
    EXPECT_EQ(RunFinish(&run, 0), "2 labels printed; " + T(Texts::RunOutcomeStopped));
    EXPECT_EQ(UserCancelFlag, 0) << "the Esc is spent with the run";
}

}  // namespace
