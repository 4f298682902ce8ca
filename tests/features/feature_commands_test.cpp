// feature_commands_test.cpp - the commands the shell and the record
// windows leave to the features layer: without the features each tells
// the user that it is not available and fails, never succeeds; the
// features' install fills the whole table, with the report windows' whole
// selection check (not the output layer's dates-only one); the import
// command learns from the text exchange that a file held no export.
#include "tests/shell/shell_fixture.h"

#include <vector>

#include "dict_offsets.h"
#include "features/program_start.h"
#include "output/output_job.h"
#include "rules/ledger_print.h"
#include "rules/stock_cost_lines.h"
#include "shell/feature_commands.h"
#include "shell/menu_lists.h"
#include "tests/exchange/exchange_fixture.h"

namespace {

namespace P = ReportParamsVc;

class FeatureCommandsTest : public ShellFixture {
protected:
    std::vector<uint8_t> params = std::vector<uint8_t>(ReportParamsSize, 0);

    void SetUp() override
    {
        ShellFixture::SetUp();
        FeatureCommands = FeatureCommandsRec{};
    }
    void TearDown() override
    {
        FeatureCommands = FeatureCommandsRec{};
        OutputRunServices = OutputRunServicesRec{};
        StockCostLines = StockCostLinesRec{};
        LedgerPrint = LedgerPrintRec{};
        D4SetRawExportRunner(nullptr);
        ShellFixture::TearDown();
    }
    // A job record of report 14 over a period that is not whole months
    // (1.1 to 30.3): the dates alone are sound, report 14 refuses it.
    void PartMonthsOfReport14()
    {
        PutU16(params.data(), P::ReportNumber, 14);
        PutU16(params.data(), P::OutputKind, 2);
        PutU16(params.data(), P::PeriodGiven, 1);
        PutDate(params.data(), P::DateFrom, DateRec{1, 1, 2024});
        PutDate(params.data(), P::DateTo, DateRec{30, 3, 2024});
    }
};

TEST_F(FeatureCommandsTest, WithoutTheFeaturesEachCommandTellsAndFails)
{
    // A stale field of an earlier refusal must not draw the caret.
    FieldErrorPos = ErrorPosition{P::DateTo, 0, 0};
    EXPECT_FALSE(ReportSelectionCheck(params.data()));
    EXPECT_EQ(FieldErrorPos.field, RecFocusNone);
    EXPECT_FALSE(PaymentSuggestionCommand(params.data()));
    // No import ran without the text exchange: nothing to say about it.
    EXPECT_FALSE(ImportReadNoExport());
    ASSERT_EQ(MessagesShown.size(), 2u);
    for (const std::string &m : MessagesShown) EXPECT_EQ(m, TextOf(Texts::FunctionNotYet));
}

TEST_F(FeatureCommandsTest, TheFeaturesInstallEveryCommandAndTheWholeReportCheck)
{
    FeaturesInstall();
    EXPECT_TRUE(FeatureCommands.reportSelectionCheck && FeatureCommands.importReadNoExport &&
                FeatureCommands.paymentSuggestion);
    EXPECT_TRUE(OutputRunServices.runReportCommand && OutputRunServices.reportParamsCheck);
    EXPECT_TRUE(SettingsText.importFileOpen && SettingsText.importFileClose);
    EXPECT_TRUE(NetServices.connectLoop && NetServices.serverListen);

    // The window's check refuses what only report 14's own rule refuses,
    // on the field at fault; the output layer's job check lets it pass.
    PartMonthsOfReport14();
    EXPECT_TRUE(ReportParamsCheck(params.data()));
    EXPECT_FALSE(ReportSelectionCheck(params.data()));
    EXPECT_EQ(FieldErrorPos.field, P::DateTo);
    EXPECT_TRUE(Said(TextOf(Texts::PeriodNotWholeMonths)));
    EXPECT_FALSE(Said(TextOf(Texts::FunctionNotYet)));

    // The same period in whole months passes, and nothing is told.
    MessagesShown.clear();
    PutDate(params.data(), P::DateTo, DateRec{31, 3, 2024});
    EXPECT_TRUE(ReportSelectionCheck(params.data()));
    EXPECT_TRUE(MessagesShown.empty());
}

// The import command of the function list, with the text exchange
// installed as the program's start installs it.
class ImportCommandRead : public ExchangeFixture {
protected:
    void TearDown() override
    {
        FeatureCommands = FeatureCommandsRec{};
        ExchangeFixture::TearDown();
    }
    // Answers the file question with a file of these bytes; its path.
    std::string FileToImport(const char *name, const std::string &bytes)
    {
        std::filesystem::path p = dir / name;
        std::ofstream(p, std::ios::binary) << bytes;
        ScriptAnswerFile(p.string());
        return p.string();
    }
};

TEST_F(ImportCommandRead, AFileHoldingNoExportIsToldByNameAndNotCountedAsImported)
{
    std::string letter = FileToImport("letter.TXT", "Dear customer,\r\nthank you for your order.\r\n");
    EXPECT_EQ(ImportFileAsk(), 0);
    EXPECT_TRUE(Said(TextOf(Texts::ImportNotAnExport)));
    EXPECT_TRUE(Said(letter));

    // A file an export wrote is imported, and nothing is said against it.
    MessagesShown.clear();
    FileToImport("types.TXT", "ot\r\nX\tAfter\r\n\r\n");
    EXPECT_EQ(ImportFileAsk(), 1);
    EXPECT_FALSE(Said(TextOf(Texts::ImportNotAnExport)));
}

}  // namespace
