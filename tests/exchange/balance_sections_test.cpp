// balance_sections_test.cpp - the older ledger sections read into a
// company (opening balances split into records of 99 rows, budgets of both
// layouts with a row per month, results read and dropped, an older number
// series block) and the exports of key figures (kind 12) and period
// statistics (kinds 7 and 8), these against golden files.
#include <cstdlib>
#include <map>
#include <sstream>

#include "core/format_block.h"
#include "core/memblock.h"
#include "core/name_table.h"
#include "output/formula/formula.h"
#include "tests/output/test_job.h"
#include "tools/dict.h"
#include "database/access/record_access.h"
#include "database/access/register_hooks.h"
#include "exchange/balance_sections.h"
#include "tests/exchange/test_job_export.h"
#include "tests/exchange/sie_fixture.h"

namespace {

// An amount text written with a point, in the company's format.
std::string Amt(std::string text)
{
    for (char &c : text)
        if (c == '.') c = char(FormatDecimalSep());
    return text;
}

class BalanceSections : public SieFixture {
protected:
    void SetUp() override
    {
        SieFixture::SetUp();
        if (HasFatalFailure()) return;
        MakeCompany();
        PutDate(CompanyBlock, CompanyBlk::YearStart, DateRec{1, 1, 2024});
        PutDate(CompanyBlock, CompanyBlk::YearEnd, DateRec{31, 12, 2024});
        ASSERT_EQ(SettingsBlockStore(CompanyBlk::Number, CompanyBlock, CompanyBlk::Size), RecDone);
    }
    // The register-51 records dated d: the row counts in number order.
    static std::vector<int32_t> OpeningRecords(DateRec d)
    {
        std::vector<int32_t> rows;
        MemBlock h = 0;
        uint8_t *r = RecBufferNew(OpenBalVc::Number, &h);
        uint32_t recid = 0;
        for (int32_t pos = 1; RecReadAt(OpenBalVc::Number, pos, r, &recid); pos++) {
            DateRec at = GetDate(r, OpenBalVc::TransDate);
            if (DateCompare(&at, &d) == 0) rows.push_back(MatrixRowCount(OpenBalVc::Number, 0, r));
            RecFreeMatrix(OpenBalVc::Number, r);
        }
        RecBufferFree(OpenBalVc::Number, &h);
        return rows;
    }
    // A budget by account and objects, with its rows.
    struct Budget {
        bool found = false;
        std::string objects, name, key;
        double amount = 0, amount2 = 0, total = 0;
        bool amountBlank = false, amount2Blank = false;
        std::vector<std::pair<std::string, std::string>> rows;   // date as d.m.y, text
    };
    static Budget ReadBudget(const char *account, const char *objects)
    {
        Budget b;
        MemBlock h = 0;
        uint8_t *r = RecBufferNew(BUVc::Number, &h);
        Put(r, BUVc::Account, 10, account);
        Put(r, BUVc::Objects, 30, objects);
        uint32_t recid = 0, position = 0;
        if (RecFindByIndex(BUVc::Number, "AccKey", r, 2, 1, &recid, &position)) {
            b.found = true;
            b.objects = Get(r, BUVc::Objects, 30);
            b.name = Get(r, BUVc::AccName, 60);
            b.key = Get(r, BUVc::KeyCode, 5);
            PackedDecimal a = GetDec(r, BUVc::Amount), a2 = GetDec(r, BUVc::Amount2), t = GetDec(r, BUVc::Total);
            b.amountBlank = DecIsBlank(&a);
            b.amount2Blank = DecIsBlank(&a2);
            b.amount = b.amountBlank ? 0 : DecToDouble(&a);
            b.amount2 = b.amount2Blank ? 0 : DecToDouble(&a2);
            b.total = DecIsBlank(&t) ? 0 : DecToDouble(&t);
            uint8_t row[BUVc::Rows::Size];
            for (int32_t i = 0; MatrixRowGet(BUVc::Number, 0, r, i, row); i++) {
                DateRec d = GetDate(row, BUVc::Rows::FromDate);
                b.rows.push_back({std::to_string(d.day) + "." + std::to_string(d.month) + "." + std::to_string(d.year),
                                  Get(row, BUVc::Rows::Text, 60)});
            }
        }
        RecFreeMatrix(BUVc::Number, r);
        RecBufferFree(BUVc::Number, &h);
        return b;
    }
    // The rows of a settings table block as bytes.
    static std::vector<uint8_t> BlockRows(int block)
    {
        MemBlock h = 0;
        std::vector<uint8_t> out;
        if (SettingsBlockFetch(&h, block) && h) out.assign(MemLock(h), MemLock(h) + MemSize(h));
        if (h) MemUnlock(h);
        MemFree(&h);
        return out;
    }
    // Stores key-figure rows (code, name, formula) into block 150.
    static void KeyFigures(const std::vector<std::array<std::string, 3>> &rows)
    {
        MemBlock h = 0;
        ASSERT_TRUE(MemResizeZero(&h, uint32_t(rows.size() * KeyFigureBlk::Rows::Size)));
        uint8_t *b = MemLock(h);
        for (size_t i = 0; i < rows.size(); i++) {
            uint8_t *row = b + i * KeyFigureBlk::Rows::Size;
            Put(row, KeyFigureBlk::Rows::Code, 5, rows[i][0]);
            Put(row, KeyFigureBlk::Rows::Name, 60, rows[i][1]);
            Put(row, KeyFigureBlk::Rows::Formula, 255, rows[i][2]);
        }
        MemUnlock(h);
        ASSERT_EQ(SettingsBlockStoreHandle(KeyFigureBlk::Number, h), RecDone);
        MemFree(&h);
    }
    // A statistics record of reg (register 1 or 12) with amounts by (month, column).
    static void Stats(int reg, uint32_t codeAt, uint32_t amountsAt, int kinds, const char *code,
                      std::vector<std::tuple<DateRec, int, double>> amounts)
    {
        MemBlock h = 0;
        uint8_t *r = RecBufferNew(reg, &h);
        Put(r, codeAt, 20, code);
        MemBlock periods = 0;
        for (auto &[date, column, value] : amounts) {
            PackedDecimal d = Dec(value);
            ASSERT_TRUE(AddToPeriodAmount(&periods, kinds, column, MonthIndex(&date), &d));
        }
        PutU32(r, amountsAt, periods);
        uint32_t recid = 0;
        ASSERT_TRUE(RecStoreByKey(reg, r, 1, &recid));
        RecFreeMatrix(reg, r);
        RecBufferFree(reg, &h);
    }
    // The export of kind over the selection, as bytes.
    std::string Export(int kind, const char *range, DateRec from, DateRec to, uint16_t option1 = 0,
                       uint16_t option2 = 0)
    {
        Put(TestJob, ReportParamsVc::SelText1, 255, range);
        PutDate(TestJob, ReportParamsVc::DateFrom, from);
        PutDate(TestJob, ReportParamsVc::DateTo, to);
        PutU16(TestJob, ReportParamsVc::Option1, option1);
        PutU16(TestJob, ReportParamsVc::Option2, option2);
        PutU16(TestJob, ReportParamsVc::OutputKind, OutTextFile);
        ScriptAnswerFile((dir / "kind.txt").string());
        ExportOverTestJob(kind);
        return FileBytes(dir / "kind.txt");
    }
    static std::vector<std::vector<std::string>> Lines(const std::string &bytes)
    {
        std::vector<std::vector<std::string>> out;
        std::istringstream in(bytes);
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.empty()) continue;
            std::vector<std::string> fields;
            std::string f;
            std::istringstream cols(line);
            while (std::getline(cols, f, '\t')) fields.push_back(f);
            out.push_back(fields);
        }
        return out;
    }
    // The golden export file's bytes; ORVEL_GOLDEN_UPDATE=1 writes it instead.
    static std::string ExportGolden(const char *name, const std::string &actual)
    {
        std::filesystem::path p = std::filesystem::path(ORVEL_TEST_DATA_DIR) / "exchange" / "export_golden" / name;
        const char *update = std::getenv("ORVEL_GOLDEN_UPDATE");
        if (update && *update == '1') std::ofstream(p, std::ios::binary) << actual;
        return FileBytes(p);
    }
    // The statistics of the golden company: two customers, two items, over
    // months of 2023 and 2024.
    void StatsCompany()
    {
        Stats(CSVc::Number, CSVc::CustCode, CSVc::Amounts, 5, "C1",
              {{DateRec{15, 11, 2023}, 0, 100}, {DateRec{3, 1, 2024}, 0, 250.5}, {DateRec{3, 1, 2024}, 1, 99},
               {DateRec{28, 2, 2024}, 0, -40}});
        Stats(CSVc::Number, CSVc::CustCode, CSVc::Amounts, 5, "C2", {{DateRec{1, 2, 2024}, 0, 75}});
        Stats(CSVc::Number, CSVc::CustCode, CSVc::Amounts, 5, "D9", {{DateRec{1, 2, 2024}, 0, 1}});
        Stats(ISVc::Number, ISVc::ItemCode, ISVc::Amounts, 3, "ITEM1",
              {{DateRec{10, 12, 2023}, 1, 12}, {DateRec{10, 1, 2024}, 1, 30}, {DateRec{10, 1, 2024}, 0, 5},
               {DateRec{10, 3, 2024}, 1, 7.25}});
        Stats(ISVc::Number, ISVc::ItemCode, ISVc::Amounts, 3, "ITEM2", {});
    }
};

std::string Section(const std::string &tag, const std::vector<std::string> &lines)
{
    std::string s = tag + "\t\r\n";
    for (const std::string &l : lines) s += l + "\r\n";
    return s + "\r\n";
}

TEST_F(BalanceSections, OpeningBalancesFillRecordsOf99RowsDatedTheDayBeforeTheYear)
{
    std::vector<std::string> lines = {"1910\tD1\t500\t0\t0\t", "\t\t10\t0\t0\t", "1930\t\t0\t0\t0\t",
                                      "9999\t\t-3\t0\t0\t"};
    for (int i = 1; i <= 249; i++) lines.push_back("1910\t\t" + std::to_string(i) + "\t7\t7\t");
    ImportBytes(Section("insaldon2", lines) + Section("fgres", {"3010\tP1\t1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t11\t12\t13\t"}));
    EXPECT_EQ(ImportAbortFlag, 0);
    // 250 rows: the missing account's and 249 of 1910; an object line, an
    // empty account and a zero amount add none.
    EXPECT_EQ(OpeningRecords(DateRec{31, 12, 2023}), (std::vector<int32_t>{99, 99, 52}));
    MemBlock h = 0;
    uint8_t *r = RecBufferNew(OpenBalVc::Number, &h);
    uint32_t recid = 0;
    bool seen = false;
    const DateRec opening{31, 12, 2023};
    for (int32_t pos = 1; RecReadAt(OpenBalVc::Number, pos, r, &recid) && !seen; pos++) {
        uint8_t row[OpenBalVc::Rows::Size];
        DateRec at = GetDate(r, OpenBalVc::TransDate);
        if (DateCompare(&at, &opening) == 0 && MatrixRowGet(OpenBalVc::Number, 0, r, 0, row)) {
            seen = true;
            EXPECT_EQ(Get(row, OpenBalVc::Rows::Account, 10), "9999");
            EXPECT_EQ(Get(row, OpenBalVc::Rows::AccName, 20), TextOf(1023).substr(0, 20));
            ASSERT_TRUE(MatrixRowGet(OpenBalVc::Number, 0, r, 1, row));
            EXPECT_EQ(Get(row, OpenBalVc::Rows::AccName, 20), "Kassa");
            PackedDecimal amount = GetDec(row, OpenBalVc::Rows::Amount);
            EXPECT_EQ(DecToDouble(&amount), 1);
        }
        RecFreeMatrix(OpenBalVc::Number, r);
    }
    RecBufferFree(OpenBalVc::Number, &h);
    EXPECT_TRUE(seen);
    // "fgres" stores nothing, and the file reads on past it.
    EXPECT_EQ(RegRecordCount(BUVc::Number), 0u);
}

TEST_F(BalanceSections, OpeningBalancesOfAFullSeriesAreNotStoredAndTheirLinesTold)
{
    MemBlock h = 0;
    uint8_t *r = RecBufferNew(OpenBalVc::Number, &h);
    PutDate(r, OpenBalVc::TransDate, DateRec{1, 1, 2024});
    PutU32(r, OpenBalVc::SerNr, 999999);
    PString a, n;
    PStringFromC(a, "1910");
    PStringFromC(n, "");
    PackedDecimal d = Dec(1);
    AddOpeningBalanceRow(r, a, n, &d);
    ASSERT_TRUE(StoreFb1Record(r));
    RecBufferFree(OpenBalVc::Number, &h);

    std::vector<std::string> lines;
    for (int i = 1; i <= 100; i++) lines.push_back("1910\t\t" + std::to_string(i) + "\t\t\t");
    ImportBytes(Section("insaldon2", lines));
    EXPECT_TRUE(OpeningRecords(DateRec{31, 12, 2023}).empty());
    EXPECT_EQ(ImportResult.unnumbered, 2u);
    EXPECT_EQ(ImportResult.unnumberedLines[0], 2u);     // the first record's first line
    EXPECT_EQ(ImportResult.unnumberedLines[1], 101u);   // the second's

    // A company without a current year: nothing read, told, the file read on.
    PutDate(CompanyBlock, CompanyBlk::YearStart, DateRec{});
    MessagesShown.clear();
    ImportBytes(Section("insaldon2", {"1910\t\t5\t\t\t"}) + Section("budg", {"3010\t\t0\t"}));
    EXPECT_EQ(Shown(Texts::OpeningNeedsFiscalYear), 1);
    EXPECT_TRUE(OpeningRecords(DateRec{31, 12, 2023}).empty());
    EXPECT_TRUE(ReadBudget("3010", "").found);
}

TEST_F(BalanceSections, BudgetsOfBothLayoutsGetAMonthRowEachAndTheirFlagsBlankWhatIsNotGiven)
{
    std::string months;
    for (int m = 1; m <= 12; m++) months += std::to_string(10 * m) + "\t";
    ImportBytes(Section("budg", {"3010\tp1\t999\t" + months}) + Section("budget", {"2990\t\t1\t" + months}) +
                Section("budg1v2", {"4010\td1,p2\tPurchases\t1\t0\t0\t\t1200\t5\t77\t",
                                    "5010\t\tRent\t0\t1\t1\tKEY\t300\t5\t44\t" + months}));
    ASSERT_EQ(ImportAbortFlag, 0);
    // "budg": the code at 12 is the object list, the amount is dropped, a
    // text a month from the year's start.
    Budget b = ReadBudget("3010", "P1");
    ASSERT_TRUE(b.found);
    EXPECT_EQ(b.objects, "P1");
    EXPECT_EQ(b.key, "");
    ASSERT_EQ(b.rows.size(), 12u);
    EXPECT_EQ(b.rows[0], (std::pair<std::string, std::string>{"1.1.2024", "10"}));
    EXPECT_EQ(b.rows[11], (std::pair<std::string, std::string>{"1.12.2024", "120"}));
    EXPECT_NEAR(b.total, 780, 0.001);   // the month texts are amounts the rows add
    EXPECT_EQ(ReadBudget("2990", "").rows.size(), 12u);   // "budget": the same layout
    // "budg1v2", total valid, no texts, no second amount.
    b = ReadBudget("4010", "D1,P2");
    ASSERT_TRUE(b.found);
    EXPECT_EQ(b.name, "Purchases");
    EXPECT_EQ(b.amount, 1200);
    EXPECT_TRUE(b.amount2Blank);
    ASSERT_EQ(b.rows.size(), 12u);
    EXPECT_EQ(b.rows[5].second, "");
    // Total not valid: blank, the key emptied; texts and second amount read.
    b = ReadBudget("5010", "");
    ASSERT_TRUE(b.found);
    EXPECT_TRUE(b.amountBlank);
    EXPECT_EQ(b.key, "");
    EXPECT_EQ(b.amount2, 44);
    EXPECT_EQ(b.rows[2].second, "30");
}

TEST_F(BalanceSections, AnOlderSeriesBlockReplacesItsRowsAndABlockNumberOfNoSeriesIsDamage)
{
    ImportBytes(Section("tser4\tignored", {"187", "100\t199\t\t\tMain\t", "500\t599\t\t\t\t"}));
    ASSERT_EQ(ImportAbortFlag, 0);
    std::vector<uint8_t> rows = BlockRows(187);
    ASSERT_EQ(rows.size(), 2u * SeriesRow::Size);
    EXPECT_EQ(GetI32(rows.data(), SeriesRow::FirstNr), 100);
    EXPECT_EQ(GetI32(rows.data(), SeriesRow::LastNr), 199);
    EXPECT_EQ(Get(rows.data(), SeriesRow::Text, 20), "Main");
    EXPECT_EQ(GetI32(rows.data() + SeriesRow::Size, SeriesRow::FirstNr), 500);

    // Block 150 holds key figures, not ranges: nothing stored, the import stops there.
    ImportBytes(Section("tser4", {"150", "1\t9\t\t\t\t"}));
    EXPECT_NE(ImportResult.damageLine, 0u);
    EXPECT_TRUE(BlockRows(150).empty());
    EXPECT_EQ(BlockRows(187), rows);
}

TEST_F(BalanceSections, KeyFiguresFromBToDInBlockOrderOverTheSelectionOrMonthByMonth)
{
    KeyFigures({{"A", "First", "1"}, {"B", "Second", "2+3"}, {"Z", "Between", "10/4"},
                {"D", "Fourth", "\"x\""}, {"E", "Fifth", "5"}});
    auto lines = Lines(Export(12, "B:D", DateRec{1, 1, 2024}, DateRec{31, 3, 2024}, 1));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], (std::vector<std::string>{"B", "Second", Amt("5.00")}));
    EXPECT_EQ(lines[1][0], "Z");   // whatever its code, it lies between
    EXPECT_EQ(lines[2], (std::vector<std::string>{"D", "Fourth", "x"}));

    // A value a month: an empty field, then one per month; without the
    // code-and-name option only the values. A last code no row has: to the end.
    lines = Lines(Export(12, "D:Q", DateRec{15, 1, 2024}, DateRec{10, 3, 2024}, 0, 1));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[1], (std::vector<std::string>{"", Amt("5.00"), Amt("5.00"), Amt("5.00")}));

    // More rows than 100 and more months than 18 stay inside the table.
    std::vector<std::array<std::string, 3>> many;
    for (int i = 0; i < 130; i++) many.push_back({"R" + std::to_string(i), "Row", std::to_string(i) + "*2"});
    KeyFigures(many);
    lines = Lines(Export(12, "", DateRec{1, 1, 2023}, DateRec{31, 12, 2024}, 0, 1));
    ASSERT_EQ(lines.size(), 130u);
    EXPECT_EQ(lines[129].size(), 25u);
    EXPECT_EQ(lines[129][24], Amt("258.00"));
}

// A formula reads the result of an earlier row in the month being
// evaluated: the test gives the language a name for the row-value function
// (16), which reads the export's results table.
TEST_F(BalanceSections, KeyFiguresReadTheResultsOfEarlierRowsInTheirMonth)
{
    std::ifstream in(std::string(ORVEL_DICT_SOURCE_DIR) + "/names.dict");
    std::stringstream text;
    text << in.rdbuf() << "\nbuiltin ROWVAL code 129 16 args RAW result REAL\n";
    InterfaceDefs defs;
    std::string header;
    std::vector<std::string> errors;
    ASSERT_TRUE(DictCompile({{"names.dict", text.str()}}, &defs, &header, &errors));
    const NameTableSource &n = defs.names;
    ASSERT_TRUE(NameTableSetBlocks(n.header, n.kept1, n.kept2, n.buckets, n.entries, n.pool));
    const VmBalanceFunction installed = VmBalanceFunctionOf(16);
    VmSetBalanceFunction(16, [](int) {
        PString code = {0};
        VmPopString(code);
        PackedDecimal v;
        VmPushReal(KeyFigureResultOfRow(code, &v) ? DecToDouble(&v) : 0.0);
    });
    KeyFigures({{"A", "Base", "3"}, {"B", "Twice", "ROWVAL(A)*2"}, {"C", "Ahead", "ROWVAL(D)+1"},
                {"D", "Later", "7"}, {"E", "None", "ROWVAL(Q)+1"}});
    auto lines = Lines(Export(12, "", DateRec{1, 1, 2024}, DateRec{29, 2, 2024}, 1, 1));
    VmSetBalanceFunction(16, installed);
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1], (std::vector<std::string>{"B", "Twice", "", Amt("6.00"), Amt("6.00")}));
    EXPECT_EQ(lines[2][3], Amt("1.00"));   // not evaluated yet: blank
    EXPECT_EQ(lines[4][4], Amt("1.00"));   // no such row
    // Outside the run no table is current.
    PString a;
    PStringFromC(a, "A");
    PackedDecimal v;
    EXPECT_FALSE(KeyFigureResultOfRow(a, &v));
    EXPECT_FALSE(KeyFigureResultAt(0, 0, &v));
}

TEST_F(BalanceSections, KeyFiguresByMonthRefuseDatesThatMakeNoMonthAndAnEmptyBlockWritesNothing)
{
    EXPECT_EQ(Export(12, "", DateRec{1, 1, 2024}, DateRec{31, 3, 2024}, 1), "\r\n");   // the job's own line end
    KeyFigures({{"A", "First", "1"}});
    MessagesShown.clear();
    EXPECT_EQ(Lines(Export(12, "", DateRec{1, 3, 2024}, DateRec{31, 1, 2024}, 1, 1)).size(), 0u);
    EXPECT_EQ(Shown(Texts::KeyFigureMonthsRefused), 1);
    EXPECT_EQ(Lines(Export(12, "", DateRec{}, DateRec{}, 1, 1)).size(), 0u);
    EXPECT_EQ(Shown(Texts::KeyFigureMonthsRefused), 2);
    // Over the whole selection the dates need not make months.
    EXPECT_EQ(Lines(Export(12, "", DateRec{}, DateRec{}, 1, 0)).size(), 1u);
}

TEST_F(BalanceSections, PeriodStatisticsMatchTheirGoldensAndItemsWriteTheirMonthsTwice)
{
    StatsCompany();
    KeyFigures({{"A", "Ratio", "(250.5-40)/3"}, {"B", "Margin", "100*0.25"}, {"C", "Text", "\"ok\" & \"!\""},
                {"D", "Last", "2*(3+4)"}, {"E", "After", "1"}});
    const DateRec from{1, 12, 2023}, to{31, 3, 2024};
    const std::string k7 = Export(7, "C1:C9", from, to), k8 = Export(8, "", from, to),
                      k12 = Export(12, "B:D", from, to, 1, 1);
    EXPECT_EQ(k7, ExportGolden("kind7.txt", k7));
    EXPECT_EQ(k8, ExportGolden("kind8.txt", k8));
    EXPECT_EQ(k12, ExportGolden("kind12.txt", k12));

    auto lines = Lines(k7);
    ASSERT_EQ(lines.size(), 2u);   // D9 lies after the range
    EXPECT_EQ(lines[0].size(), 5u);
    lines = Lines(k8);
    ASSERT_EQ(lines.size(), 2u);
    ASSERT_EQ(lines[0].size(), 9u);   // the code, then four months twice
    for (int m = 1; m <= 4; m++) EXPECT_EQ(lines[0][m], lines[0][m + 4]) << m;
    // One calendar month: one amount a block.
    lines = Lines(Export(8, "ITEM1:ITEM1", DateRec{1, 1, 2024}, DateRec{31, 1, 2024}));
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].size(), 3u);
    EXPECT_EQ(lines[0][1], lines[0][2]);
}

}  // namespace
