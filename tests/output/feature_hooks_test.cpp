// feature_hooks_test.cpp - the output layer's hooks into the reports and
// the bank exchange: while one is missing the user is told, the job is
// stopped and nothing counts as printed or written; installed, each gets
// what its caller passed.
#include "../database/access/company_fixture.h"
#include "core/work_blocks.h"
#include "tests/output/output_fixture.h"

#include <string>
#include <vector>

#include "output/devices/bank_file_hooks.h"
#include "output/devices/device_table.h"
#include "output/forms/forms.h"
#include "output/report_hooks.h"
#include "platform/script.h"
#include "tests/output/test_job.h"

namespace {

namespace fs = std::filesystem;

// What the installed doubles were called with.
std::vector<std::string> Calls;

void LayoutDouble(int report, PositionTable *stops, int32_t) { Calls.push_back("layout " + std::to_string(report)); }
void HeaderDouble(int report, const uint8_t *title)
{
    Calls.push_back("header " + std::to_string(report) + " " + PStringToStd(title));
}
bool VoucherDouble(int16_t doctype, const uint8_t *record)
{
    Calls.push_back("voucher " + std::to_string(doctype));
    return record != nullptr;
}
bool IsBankFile() { return true; }
void BankName(uint8_t *name) { PStringFromView(name, "BANK.TXT"); }

class FeatureHooks : public CompanyFixture {
protected:
    ReportHooksRec savedReports = ReportHooks;
    BankFileHooksRec savedBank = BankFileHooks;
    TempPrintDir out;

    void SetUp() override
    {
        CompanyFixture::SetUp();
        ResetOutputJobState();
        ASSERT_NE(LoggedInUser, nullptr);
        Calls.clear();
        MessagesShown.clear();
    }
    void TearDown() override
    {
        RepStagedFilesEnd(false, nullptr);
        ReportHooks = savedReports;
        BankFileHooks = savedBank;
        MemFree(&RepBufferBlock);
        RepBufferUsed = 0;
        ResetOutputJobState();
        CompanyFixture::TearDown();
    }
    // The messages shown since SetUp are exactly one "not available".
    void ToldNotAvailableOnce()
    {
        ASSERT_EQ(MessagesShown.size(), 1u);
        EXPECT_NE(MessagesShown[0].find(TextOf(Texts::FunctionNotYet)), std::string::npos) << MessagesShown[0];
        MessagesShown.clear();
    }
    std::string Buffer()
    {
        if (!RepBufferBlock) return {};
        std::string b(reinterpret_cast<const char *>(MemLock(RepBufferBlock)), RepBufferUsed);
        MemUnlock(RepBufferBlock);
        return b;
    }
};

TEST_F(FeatureHooks, ReportJobWithoutItsFrameIsStoppedAndPrintsNothing)
{
    PString title;
    PStringFromView(title, "Sales");
    PutI16(TestJob, ReportParamsVc::ReportNumber, 42);
    OutKind(OutBuffer);

    // Either half missing stops the job: a header without columns (or
    // columns without a header) would print a report nobody can read.
    for (int missing = 0; missing < 2; missing++) {
        ReportHooks = ReportHooksRec{};
        if (missing == 0) ReportHooks.selectionHeader = HeaderDouble;
        else ReportHooks.columnLayout = LayoutDouble;
        RepBeginJob(title);
        EXPECT_EQ(RepStopped, 1) << missing;
        RepStartLine(12);
        PString row;
        PStringFromView(row, "row text");
        RepText(0, 0, row, 0);
        RepEndJob();
        ToldNotAvailableOnce();
        EXPECT_EQ(Buffer().find("row text"), std::string::npos) << missing;
        EXPECT_EQ(Buffer().find(TextOf(Texts::ReportNoRows)), std::string::npos) << missing;
        EXPECT_TRUE(Calls.empty()) << missing;
    }

    // Installed: the job's report number and expanded title reach both,
    // the columns before the header, and the job runs.
    ReportHooks.columnLayout = LayoutDouble;
    ReportHooks.selectionHeader = HeaderDouble;
    RepBeginJob(title);
    EXPECT_EQ(RepStopped, 0);
    RepEndJob();
    EXPECT_EQ(Calls, (std::vector<std::string>{"layout 42", "header 42 Sales"}));
    EXPECT_TRUE(MessagesShown.empty());
}

TEST_F(FeatureHooks, VoucherFormWithoutTheLedgerIsNotPrinted)
{
    uint8_t record[8] = {};
    ReportHooks.voucherForm = nullptr;
    EXPECT_EQ(PrintForm(25, record), 0);
    ToldNotAvailableOnce();

    ReportHooks.voucherForm = VoucherDouble;
    EXPECT_EQ(PrintForm(25, record), 1);
    EXPECT_EQ(PrintForm(25, nullptr), 0);   // the form's own refusal comes back
    // Another positive document type prints nothing and asks nobody.
    EXPECT_EQ(PrintForm(7, record), 0);
    EXPECT_EQ(Calls, (std::vector<std::string>{"voucher 25", "voucher 25"}));
    EXPECT_TRUE(MessagesShown.empty());
}

TEST_F(FeatureHooks, TextFileJobWithoutTheBankQuestionsMakesNoFile)
{
    OutKind(OutTextFile);
    const fs::path chosen = out.path / "pay.txt";
    const size_t dialogs = ScriptRecords().size();
    for (int missing = 0; missing < 2; missing++) {
        BankFileHooks = BankFileHooksRec{};
        if (missing == 1) BankFileHooks.jobIsBankFile = IsBankFile;
        ScriptAnswerFile(chosen.string());
        RepOpenFileDevice();
        EXPECT_EQ(RepStopped, 1) << missing;
        ToldNotAvailableOnce();
        EXPECT_EQ(ScriptRecords().size(), dialogs) << "no file is asked for";
        EXPECT_TRUE(out.Files().empty()) << missing;
    }

    // Installed: a bank file proposes its name and is staged until its
    // job has ended whole.
    BankFileHooks.jobIsBankFile = IsBankFile;
    BankFileHooks.defaultName = BankName;
    ScriptAnswerFile(chosen.string());
    RepOpenFileDevice();
    ASSERT_EQ(RepStopped, 0);
    EXPECT_TRUE(fs::exists(chosen.string() + ".part"));
    EXPECT_FALSE(fs::exists(chosen));
    std::vector<std::string> names;
    RepEndJob();
    EXPECT_TRUE(RepStagedFilesEnd(true, &names));
    EXPECT_EQ(names, std::vector<std::string>{chosen.string()});
    EXPECT_TRUE(fs::exists(chosen));
    EXPECT_TRUE(MessagesShown.empty());
}

}  // namespace
