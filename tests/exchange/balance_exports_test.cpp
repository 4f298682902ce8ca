// balance_exports_test.cpp - the balance exports over a company with
// posted vouchers: kind 10 writes each month's movement and, for an
// account without a balance record, one zero per month written, so that
// every line has as many columns; kind 11 writes balances for balance
// accounts, movements for result accounts, the sign word turning a type.
#include <cstdlib>
#include <map>
#include <sstream>

#include "database/access/register_hooks.h"
#include "tests/exchange/test_job_export.h"
#include "tests/exchange/sie_fixture.h"
#include "tests/output/test_job.h"

namespace {

class BalanceExportsTest : public SieFixture {
protected:
    void TearDown() override
    {
        SieFixture::TearDown();
        RegisterHooksClear();   // the next test in this process starts without rules
    }
    // The export of kind as lines, each its TAB-separated fields.
    std::map<std::string, std::vector<std::string>> Lines(int kind, const char *range, DateRec from, DateRec to)
    {
        PString p;
        PStringFromC(p, range);
        PutText(TestJob, ReportParamsVc::SelText1, p);
        PutDate(TestJob, ReportParamsVc::DateFrom, from);
        PutDate(TestJob, ReportParamsVc::DateTo, to);
        PutU16(TestJob, ReportParamsVc::OutputKind, OutTextFile);
        ScriptAnswerFile((dir / "balances.txt").string());
        EXPECT_TRUE(ExportOverTestJob(kind));
        std::map<std::string, std::vector<std::string>> out;
        std::istringstream in(FileBytes(dir / "balances.txt"));
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            std::vector<std::string> fields;
            std::string f;
            std::istringstream cols(line);
            while (std::getline(cols, f, '\t')) fields.push_back(f);
            if (!fields.empty() && !fields[0].empty()) out[fields[0]] = fields;
        }
        return out;
    }
    static double Amount(const std::string &s)
    {
        std::string t;
        for (char c : s)
            if (c != ' ') t += c == ',' ? '.' : c;
        return std::atof(t.c_str());
    }
};

TEST_F(BalanceExportsTest, MonthsLineUpAndAccountsWithoutBalancesWriteZeros)
{
    MakeCompany();
    Account("1000", "Never used", 0);
    auto lines = Lines(10, "1000:4010", DateRec{1, 1, 2024}, DateRec{31, 3, 2024});
    ASSERT_EQ(lines.count("5010"), 0u);   // after the range
    ASSERT_EQ(lines.count("1000"), 1u);
    for (const auto &[code, fields] : lines) EXPECT_EQ(fields.size(), 5u) << code;   // code, name, three months
    EXPECT_EQ(lines["1000"][2], lines["1000"][4]);
    EXPECT_EQ(Amount(lines["1000"][3]), 0);
    EXPECT_EQ(Amount(lines["4010"][3]), 200);   // February
    EXPECT_EQ(Amount(lines["4010"][2]), 0);
    EXPECT_EQ(Amount(lines["1930"][4]), 300);   // March

    // One calendar month: one amount per account.
    lines = Lines(10, "1910:1930", DateRec{1, 2, 2024}, DateRec{29, 2, 2024});
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines["1930"].size(), 3u);
    EXPECT_EQ(Amount(lines["1930"][2]), -200);
}

TEST_F(BalanceExportsTest, BalanceAccountsBalancesResultAccountsMovementsSignWordTurns)
{
    MakeCompany();
    auto lines = Lines(11, "", DateRec{1, 1, 2024}, DateRec{31, 12, 2024});
    EXPECT_EQ(Amount(lines["1930"][2]), 100);    // balance: -200 + 300
    EXPECT_EQ(Amount(lines["3010"][2]), -800);   // 2024 only, not the sale of 2023
    EXPECT_EQ(lines["3010"].size(), 3u);
    PutU16(CompanyBlock, CompanyBlk::SignA3, 1);
    ASSERT_EQ(SettingsBlockStore(CompanyBlk::Number, CompanyBlock, CompanyBlk::Size), RecDone);
    lines = Lines(11, "", DateRec{1, 1, 2024}, DateRec{31, 12, 2024});
    EXPECT_EQ(Amount(lines["3010"][2]), 800);
    EXPECT_EQ(Amount(lines["1930"][2]), 100);
}

}  // namespace
