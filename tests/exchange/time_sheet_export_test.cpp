// time_sheet_export_test.cpp - export kind 19: one line per time-sheet row
// repeating its sheet's number, date and text, with the project's leader;
// a row whose project is missing gets an empty leader, not the leader of
// the row before; sheets outside the dates are passed over without ending
// the walk; the Norwegian header only with country variant 9.
#include <string>
#include <vector>

#include "core/decimal.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "database/access/register_hooks.h"
#include "tests/exchange/exchange_fixture.h"
#include "tests/exchange/test_job_export.h"
#include "tests/output/test_job.h"

namespace {

namespace TR = TimeSheetVc::Rows;

void PutText(uint8_t *base, uint32_t at, int max, const char *text)
{
    PString t;
    PStringFromC(t, text);
    PutPString(base, at, max, t);
}

class TimeSheetExportTest : public ExchangeFixture {
protected:
    void Sheet(int32_t number, DateRec date, std::vector<const char *> projects)
    {
        std::vector<uint8_t> ts(RegRecordSize(TimeSheetVc::Number), 0), row(RecRowSize(TimeSheetVc::Number), 0);
        PutI32(ts.data(), TimeSheetVc::SerNr, number);
        PutDate(ts.data(), TimeSheetVc::RegDate, date);
        PutText(ts.data(), TimeSheetVc::Comment, 60, ("week " + std::to_string(number)).c_str());
        for (size_t r = 0; r < projects.size(); r++) {
            std::fill(row.begin(), row.end(), 0);
            PutDate(row.data(), TR::RowDate, date);
            PutText(row.data(), TR::Person, 5, "EMP");
            PutText(row.data(), TR::Project, 20, projects[r]);
            PackedDecimal q;
            DecFromDouble(&q, 7.5);
            PutDec(row.data(), TR::Quantity, q);
            ASSERT_TRUE(MatrixRowPut(TimeSheetVc::Number, 0, ts.data(), int32_t(r), row.data()));
        }
        uint32_t id = 0;
        ASSERT_TRUE(RecInsertLocal(TimeSheetVc::Number, ts.data(), &id));
        RecFreeMatrix(TimeSheetVc::Number, ts.data());
    }
    std::vector<std::string> Lines(const char *numbers, DateRec from, DateRec to)
    {
        PString p;
        PStringFromC(p, numbers);
        ::PutText(TestJob, ReportParamsVc::SelText1, p);
        PutDate(TestJob, ReportParamsVc::DateFrom, from);
        PutDate(TestJob, ReportParamsVc::DateTo, to);
        PutU16(TestJob, ReportParamsVc::OutputKind, OutTextFile);
        ScriptAnswerFile((dir / "ts.txt").string());
        EXPECT_TRUE(ExportOverTestJob(19));
        std::string bytes = FileBytes(dir / "ts.txt");
        std::vector<std::string> out;
        for (size_t at = 0; at < bytes.size();) {
            size_t end = bytes.find("\r\n", at);
            if (end == std::string::npos) end = bytes.size();
            out.push_back(bytes.substr(at, end - at));
            at = end + 2;
        }
        while (out.size() > 1 && out.back().empty() && out[out.size() - 2].empty()) out.pop_back();   // the job's own end
        return out;
    }
};

TEST_F(TimeSheetExportTest, RowsRepeatTheirSheetAndAMissingProjectHasNoLeader)
{
    RegisterHooksClear();
    std::vector<uint8_t> pr(RegRecordSize(ProjectVc::Number), 0);
    PutText(pr.data(), ProjectVc::Code, 20, "P1");
    PutText(pr.data(), ProjectVc::Leader, 5, "BOSS");
    uint32_t recid = 0;
    ASSERT_TRUE(RecStoreByKey(ProjectVc::Number, pr.data(), 0, &recid));
    Sheet(1, DateRec{6, 1, 2025}, {"P1", "GONE"});
    Sheet(2, DateRec{6, 6, 2025}, {"P1"});   // outside the dates
    Sheet(3, DateRec{13, 1, 2025}, {});     // no rows
    Sheet(4, DateRec{20, 1, 2025}, {"P1"});
    Sheet(5, DateRec{27, 1, 2025}, {"P1"});   // above the last number
    auto lines = Lines("1:4", DateRec{1, 1, 2025}, DateRec{31, 1, 2025});
    ASSERT_EQ(lines.size(), 4u) << ::testing::PrintToString(lines);   // three rows and the closing line end
    EXPECT_EQ(lines[0].rfind("1\t06.01.2025\tweek 1\t06.01.2025\tEMP\tP1\t\t", 0), 0u) << lines[0];
    EXPECT_NE(lines[0].find("\tBOSS\t"), std::string::npos) << lines[0];
    EXPECT_EQ(lines[1].find("BOSS"), std::string::npos) << lines[1];
    EXPECT_EQ(lines[2].rfind("4\t", 0), 0u) << lines[2];
    EXPECT_EQ(lines[3], "");

    PutU16(CompanyBlock, CompanyBlk::CompanyVariant, 9);
    ASSERT_EQ(SettingsBlockStore(CompanyBlk::Number, CompanyBlock, CompanyBlk::Size), RecDone);
    lines = Lines("1:1", DateRec{}, DateRec{});
    ASSERT_EQ(lines.size(), 4u) << ::testing::PrintToString(lines);
    EXPECT_EQ(lines[0].rfind("Nummer\tRegdag\tTekst\t", 0), 0u) << lines[0];
    // Nothing at or above the first number: one empty line, no header.
    EXPECT_EQ(Lines("9:", DateRec{}, DateRec{}), std::vector<std::string>{""});
}

}  // namespace
