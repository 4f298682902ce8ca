// message_kind_test.cpp - one place decides the box of every run's closing
// word: a success or a count is a notice (information icon), a refusal or
// a failure the stop icon, a question a question. The table walks each
// way a run ends through the routine it ends with.
#include <functional>
#include <string>
#include <vector>

#include "core/message_sink.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/warning_message.h"
#include "exchange/run_outcome.h"
#include "operations/reminder_outcome.h"
#include "operations/run_outcome.h"
#include "tests/rules/rules_fixture.h"

namespace {

std::vector<MessageKind> Kinds;
void Stop(const char *) { Kinds.push_back(MessageKind::Stop); }
void Notice(const char *) { Kinds.push_back(MessageKind::Information); }

class MessageKindTest : public RulesFixture {
protected:
    RunOutcomeUiRec savedUi;
    MessageSink savedStop = nullptr, savedNotice = nullptr;
    void SetUp() override {
        RulesFixture::SetUp();
        // Without a status line every closing line becomes a box, so each
        // run's box can be seen.
        savedUi = RunOutcomeUi;
        RunOutcomeUi = RunOutcomeUiRec{};
        savedStop = MessageSinkSet(Stop);
        savedNotice = NoticeSinkSet(Notice);
        Kinds.clear();
    }
    void TearDown() override {
        MessageSinkSet(savedStop);
        NoticeSinkSet(savedNotice);
        RunOutcomeUi = savedUi;
        RulesFixture::TearDown();
    }
};

void BatchRun(int made, int failed)
{
    RunOutcome run;
    RunStart(&run, 0);
    if (made) RunCount(&run, made, Texts::RunInvoiceMade, Texts::RunInvoicesMade);
    if (failed) RunFailed(&run, failed, Texts::RunNotPrinted, Texts::RunNotPrinted);
    RunNothing(&run, Texts::RunWhyNoneInRange);
    RunFinish(&run, 0);
}

void ReminderRun(int made, int failed)
{
    ReminderOutcome o;
    o.subject = 14450;
    o.made = made;
    o.whereText = 14464;
    o.whyText = 14457;
    o.failed = failed;
    o.failedText = 14453;
    ReminderOutcomeTell(o);
}

}  // namespace

TEST(MessageKindFor, SuccessAndCountsInformRefusalsAndFailuresStop)
{
    EXPECT_EQ(MessageKindFor(MessageOutcome::Done), MessageKind::Information);
    EXPECT_EQ(MessageKindFor(MessageOutcome::Nothing), MessageKind::Information);
    EXPECT_EQ(MessageKindFor(MessageOutcome::Refused), MessageKind::Stop);
    EXPECT_EQ(MessageKindFor(MessageOutcome::Failed), MessageKind::Stop);
    EXPECT_EQ(MessageKindFor(MessageOutcome::Question), MessageKind::Question);
}

TEST_F(MessageKindTest, EveryRunsClosingLineIsShownInItsOutcomesBox)
{
    struct Row {
        const char *run;
        std::function<void()> close;
        MessageKind expected;
    };
    const std::vector<Row> table = {
        {"batch run that made invoices", [] { BatchRun(2, 0); }, MessageKind::Information},
        {"batch run that made nothing", [] { BatchRun(0, 0); }, MessageKind::Information},
        {"batch run with a failure", [] { BatchRun(2, 1); }, MessageKind::Stop},
        {"batch run that only failed", [] { BatchRun(0, 1); }, MessageKind::Stop},
        {"reminder or interest run that made some", [] { ReminderRun(1, 0); }, MessageKind::Information},
        {"reminder or interest run that made none", [] { ReminderRun(0, 0); }, MessageKind::Information},
        {"reminder or interest run with a failure", [] { ReminderRun(1, 1); }, MessageKind::Stop},
        {"exchange notice (records kept)",
         [] {
             PString t;
             PStringFromC(t, "kept: 3");
             RunInfoMessage(t);
         },
         MessageKind::Information},
        {"a plain refusal", [] { ShowTextMessage(Texts::BankFileIncomplete); }, MessageKind::Stop},
    };
    for (const Row &row : table) {
        Kinds.clear();
        row.close();
        ASSERT_EQ(Kinds.size(), 1u) << row.run;
        EXPECT_EQ(Kinds[0], row.expected) << row.run;
    }
}

// A program that installs no notice sink still hears every notice: it
// goes where the stop messages go (a server's log, a test's record).
TEST_F(MessageKindTest, WithoutANoticeSinkNoticesReachTheMessageSink)
{
    NoticeSinkSet(nullptr);
    BatchRun(1, 0);
    ASSERT_EQ(Kinds.size(), 1u);
    EXPECT_EQ(Kinds[0], MessageKind::Stop);
}

// A warning lets the work go on: it has its own box (the warning icon),
// never the stop box of a refusal; a program that installs no warning
// sink still hears it where the stop messages go.
TEST_F(MessageKindTest, AWarningHasItsOwnBoxOrElseReachesTheMessageSink)
{
    static std::vector<std::string> warned;
    warned.clear();
    MessageSink before = WarningSinkSet([](const char *text) { warned.push_back(text); });
    ShowWarning(Texts::CreditLimitExceeded, nullptr);
    ASSERT_EQ(warned.size(), 1u);
    PString text;
    GetUiText(text, Texts::CreditLimitExceeded);
    EXPECT_EQ(warned[0], std::string(reinterpret_cast<const char *>(text + 1), text[0]));
    EXPECT_TRUE(Kinds.empty()) << "a warning is no stop message";
    WarningSinkSet(nullptr);
    ShowWarning(Texts::CreditLimitExceeded, nullptr);
    ASSERT_EQ(Kinds.size(), 1u);
    EXPECT_EQ(Kinds[0], MessageKind::Stop);
    WarningSinkSet(before);
}
