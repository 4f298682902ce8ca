// statement_reports_test.cpp - the ledger's user-defined reports over a
// small 2024 ledger posted through the hooks: vouchers with objects and
// VAT codes, opening entries on the year's first day, a preliminary
// (second-kind) entry and budgets. The statement formulas (ranges either
// way, a blank before a separator ending the formula, rows summing rows
// reached so far), the language's ledger functions, the formula-row
// reports' row ranges and results table, and goldens of reports 19, 21
// and 22 in their layouts, units and detail levels.
#include <cstdlib>
#include <string>

#include "core/text_range.h"
#include "output/formula/formula.h"
#include "reports/ledger/ledger_reports.h"
#include "reports/ledger/statement_reports.h"
#include "rules/hooks.h"
#include "rules/series_terms.h"
#include "platform/queue.h"
#include "tests/output/output_recorder.h"
#include "tests/reports/report_fixture.h"

namespace {

namespace P = ReportParamsVc;
namespace R = SR21Vc;

class LedgerStatements : public ReportFixture {
protected:
    uint32_t nextSerial = 1;
    // The rules post the vouchers below; they come after the company's
    // blocks, which they would check as a user's.
    void SetUp() override {
        ReportFixture::SetUp();
        if (HasFatalFailure()) return;
        CancelFlag = 0;
        ChangeBlock(CompanyBlk::Number, CompanyBlk::Size, [](uint8_t *b) {
            PutU16(b, CompanyBlk::SignA2, 1);
            PutU16(b, CompanyBlk::SignA3, 1);
        });
        tableRows.erase(FiscalYearBlk::Number);
        AddFiscalYear(FiscalYearCodeFor(nullptr, 0, 0, 0), "2024", InvoiceCo::YearStart, InvoiceCo::YearEnd);
        RulesInstall();
        StoreAccount("2010", "Equity", 2);
        StoreObjectType("PRJ");
        StoreObject("P1", "PRJ");
        StoreObject("P2", "PRJ");
        // Opening entries, a sale to P1 with VAT code 1, a part payment,
        // a cost of P2, and a preliminary sale (second kind).
        Voucher({1, 1, 2024}, {{"1910", "", 1000}, {"1460", "", 500}, {"2010", "", -1500}});
        Voucher({10, 2, 2024}, {{"1510", "", 250}, {"3010", "P1", -200, "1"}, {"2610", "", -50}});
        Voucher({5, 3, 2024}, {{"1910", "", 200}, {"1510", "", -200}});
        Voucher({20, 3, 2024}, {{"4010", "P2", 120}, {"1460", "", -120}});
        Preliminary({12, 3, 2024}, {{"1510", "", 40}, {"3010", "", -40}});
        Budget("1910", {{{1, 1, 2024}, 3660}}, {31, 12, 2024});
        ReportFunctionsInstall();
    }
    void TearDown() override {
        CancelFlag = 0;
        ReportFixture::TearDown();
    }

    struct Row {
        const char *account, *objects;
        double amount;
        const char *vat = "";
    };
    void Voucher(DateRec date, std::initializer_list<Row> rows) { Insert(TRVc::Number, date, rows); }
    void Preliminary(DateRec date, std::initializer_list<Row> rows) { Insert(SMVc::Number, date, rows); }
    void Insert(int reg, DateRec date, std::initializer_list<Row> rows) {
        RuleRecord r(reg);
        RecNewDefaults(reg, r.record);
        for (const Row &x : rows) AddLedgerRow(reg, r.record, x.account, x.objects, x.amount, x.vat);
        PutU32(r.record, reg == TRVc::Number ? TRVc::SerNr : SMVc::SerNr, nextSerial++);
        PutDate(r.record, reg == TRVc::Number ? TRVc::TransDate : SMVc::Date, date);
        uint32_t recid = 0;
        int result = -2;
        RecInsertChecked(reg, r.record, &recid, &result);
        ASSERT_EQ(result, RecDone) << reg << " " << ::testing::PrintToString(shown);
    }
    void Budget(const char *account, std::vector<std::pair<DateRec, double>> rows, DateRec end) {
        StoreRecord(BUVc::Number, [&](uint8_t *r) {
            PutText(r, BUVc::Account, 10, account);
            PutDate(r, BUVc::EndDate, end);
            for (size_t i = 0; i < rows.size(); i++) {
                uint8_t row[BUVc::Rows::Size] = {};
                PutDate(row, BUVc::Rows::FromDate, rows[i].first);
                PutDec(row, BUVc::Rows::Amount, Dec(rows[i].second));
                ASSERT_TRUE(MatrixRowPut(BUVc::Number, 0, r, int32_t(i), row));
            }
        });
    }
    // A row of a statement-row register.
    void StatementRow(int reg, uint32_t number, uint16_t kind, const char *formula, const char *label,
                      uint16_t signClass = 0) {
        StoreRecord(reg, [&](uint8_t *r) {
            PutU32(r, R::RowNr, number);
            PutText(r, R::Formula, 60, formula);
            PutText(r, R::Label, 60, label);
            PutU16(r, R::RowKind, kind);
            PutU16(r, R::SignClass, signClass);
        });
    }
    void BalanceRows() {
        StatementRow(SR21Vc::Number, 10, 3, "", "Assets");
        StatementRow(SR21Vc::Number, 20, 1, "1400:1999", "Current assets");
        StatementRow(SR21Vc::Number, 30, 1, "2000:2999", "Equity and liabilities", 2);
        StatementRow(SR21Vc::Number, 40, 2, "20+30", "Balance");
        StatementRow(SR21Vc::Number, 50, 1, "9999+3011", "Idle");
        StatementRow(SR21Vc::Number, 60, 1, "9999", "");
    }
    void ResultRows() {
        StatementRow(SR22Vc::Number, 10, 1, "3000:3999", "Revenue", 3);
        StatementRow(SR22Vc::Number, 20, 1, "4000:4999", "Costs");
        StatementRow(SR22Vc::Number, 30, 2, "10+20", "Result", 3);
    }
    // A formula row of a settings block (150, 156, 164..168).
    void FormulaRow(int block, const char *code, const char *name, const char *formula) {
        AddRow(block, KeyFigureBlk::Rows::Size, [&](uint8_t *r) {
            PutText(r, KeyFigureBlk::Rows::Code, 5, code);
            PutText(r, KeyFigureBlk::Rows::Name, 60, name);
            PutText(r, KeyFigureBlk::Rows::Formula, 255, formula);
        });
    }
    static void Select(int report, DateRec from, DateRec to, int layout = 0) {
        SetWord(P::ReportNumber, uint16_t(report));
        SetWord(P::ColumnLayout, uint16_t(layout));
        SetPeriod(from, to);
    }
    static double Value(const PackedDecimal *d) { return DecIsBlank(d) ? 0 : DecToDouble(d); }
    // The three amounts of an account formula in report 21's columns
    // (opening, change, closing), printing nothing.
    static std::vector<double> FormulaSum(const char *formula) {
        SetWord(P::DetailLevel, 2);
        PString f, none = {0};
        PStringFromC(f, formula);
        PackedDecimal sums[3], one;
        DecFromLong(&one, 1);
        AccountFormulaSum(21, f, none, sums, 0, &one);
        return {Value(&sums[0]), Value(&sums[1]), Value(&sums[2])};
    }
    // opening, movement, closing of a function formula for no objects.
    static std::vector<double> RangeSum(const char *formula) {
        PString f, none = {0};
        PStringFromC(f, formula);
        PackedDecimal a, b, c;
        AccountRangeSum(f, none, &a, &b, &c);
        return {Value(&a), Value(&b), Value(&c)};
    }
    // The title a report's job opens with (on a recording preview).
    static std::string Title(void (*body)()) {
        RecorderInstall recorder({OutPreview});
        SetWord(P::OutputKind, OutPreview);
        body();
        for (const RecCall &c : RecLog)
            if (c.name == "open") return c.text;
        return "";
    }
    // A formula of the report language run to its number.
    static double Formula(const char *text) {
        PString t;
        PStringFromC(t, text);
        CompileScript(t);
        EXPECT_EQ(ScriptErrorCount(), 0) << text;
        return TextToDouble(t);
    }
};

using V = std::vector<double>;

// Statement formulas over March 2024: 1460 closes at 380, 1510 at 50
// (its preliminary 40 not counted) and 1910 at 1200 after opening at
// 1000. A range runs either way, a term after "-" is subtracted, a blank
// before a separator ends the formula, blanks alone add, and accounts
// that do not exist add nothing.
TEST_F(LedgerStatements, AccountFormulasSumTheirAccounts) {
    Select(21, {1, 3, 2024}, {31, 3, 2024});
    EXPECT_EQ(FormulaSum("1910"), (V{1000, 200, 1200}));
    EXPECT_EQ(FormulaSum("1400:1999-1910"), (V{750, -320, 430}));
    EXPECT_EQ(FormulaSum("1999:1400-1910"), (V{750, -320, 430}));
    EXPECT_EQ(FormulaSum("1910 -1460"), (V{1000, 200, 1200}));
    EXPECT_EQ(FormulaSum("1910 1460"), (V{1500, 80, 1580}));
    EXPECT_EQ(FormulaSum("1910;1460"), (V{1000, 200, 1200}));
    EXPECT_EQ(FormulaSum("1910+1460-1510"), (V{1000 + 500 - 250, 200 - 120 + 200, 1530}));
    EXPECT_EQ(FormulaSum("9999+1455:1400"), (V{0, 0, 0}));   // the walk down starts above 1455
    EXPECT_EQ(FormulaSum(""), (V{0, 0, 0}));
    SetWord(P::SecondKind, 1);
    EXPECT_EQ(FormulaSum("1510"), (V{250, -160, 90}));
}

// A row formula sums the rows reached so far, the last entry of a number
// winning; a row not reached yet, its own row and an unknown number add
// nothing.
TEST_F(LedgerStatements, RowFormulasSumEarlierRows) {
    std::vector<PackedDecimal> columns[3];
    for (auto &c : columns) c.assign(4, PackedDecimal{});
    const double values[4] = {5, 7, 0, 0};
    for (int i = 0; i < 4; i++)
        for (int c = 0; c < 3; c++) DecFromDouble(&columns[c][size_t(i)], values[i] * (c + 1));
    const int64_t numbers[4] = {10, 10, 15, -1};   // entry 1 is a second row 10; 20 not reached
    PackedDecimal *amounts[3] = {columns[0].data(), columns[1].data(), columns[2].data()};
    auto sum = [&](const char *formula) {
        PString f;
        PStringFromC(f, formula);
        RowFormulaSum(22, f, 2, amounts, 4, numbers);
        return V{Value(&amounts[0][2]), Value(&amounts[1][2]), Value(&amounts[2][2])};
    };
    EXPECT_EQ(sum("10-20"), (V{7, 14, 21}));
    EXPECT_EQ(sum("10+15"), (V{7, 14, 21}));    // its own entry is zeroed first
    EXPECT_EQ(sum("-10"), (V{-7, -14, -21}));
    EXPECT_EQ(sum("99 + 10 - 10"), (V{14, 28, 42}));   // " - " is no minus
    EXPECT_EQ(sum(""), (V{0, 0, 0}));
}

// The functions' formula: digit runs, "-" alone subtracting, ":" alone
// making a range that runs upward only.
TEST_F(LedgerStatements, FunctionFormulasRunUpwardOnly) {
    Select(19, {1, 3, 2024}, {31, 3, 2024});
    EXPECT_EQ(RangeSum("1400:1999-1910"), (V{750, -320, 430}));
    EXPECT_EQ(RangeSum("1999:1400"), (V{0, 0, 0}));
    EXPECT_EQ(RangeSum("1910 -1460"), (V{1500, 80, 1580}));   // " -" adds
    EXPECT_EQ(RangeSum("A1910-B1460"), (V{1500, 80, 1580}));
    EXPECT_EQ(RangeSum("1910-1460"), (V{500, 320, 820}));
    EXPECT_EQ(RangeSum("x"), (V{0, 0, 0}));
}

// The ledger functions from formulas: balance and movement for the
// selection's objects, for an object list and for one VAT code's extra
// record; a row value outside a formula report is nothing; numbers come
// back without thousands groups.
TEST_F(LedgerStatements, LedgerFunctionsInFormulas) {
    Select(19, {1, 2, 2024}, {31, 3, 2024});
    EXPECT_DOUBLE_EQ(Formula("BALANCE(1400:1999-1910)"), 430);
    EXPECT_DOUBLE_EQ(Formula("BALANCE(1999:1400)"), 0);
    EXPECT_DOUBLE_EQ(Formula("MOVEMENT(1910)"), 200);
    EXPECT_DOUBLE_EQ(Formula("MOVEMENT(1910)*2+BALANCE(2010)"), -1100);
    EXPECT_DOUBLE_EQ(Formula("LISTMOVEMENT(P2, 4010)"), 120);
    EXPECT_DOUBLE_EQ(Formula("LISTMOVEMENT(P1, 4010)"), 0);
    EXPECT_DOUBLE_EQ(Formula("OBJECTMOVEMENT(1, 3010)"), -200);
    EXPECT_DOUBLE_EQ(Formula("OBJECTBALANCE(1, 3010)"), -200);
    EXPECT_DOUBLE_EQ(Formula("OBJECTMOVEMENT(2, 3010)"), 0);
    EXPECT_DOUBLE_EQ(Formula("ROWVALUE(A)+1"), 1);
    SetText(P::ObjectSel, "P2");
    EXPECT_DOUBLE_EQ(Formula("MOVEMENT(4010)"), 120);
    EXPECT_DOUBLE_EQ(Formula("MOVEMENT(3010)"), 0);
    SetText(P::ObjectSel, "");
    ThousandsFlag = 1;
    EXPECT_DOUBLE_EQ(Formula("BALANCE(1910)*10"), 12000);
    EXPECT_EQ(ThousandsFlag, 1);
    ThousandsFlag = 0;
}

// Report 19 prints the rows from B through D; A and E keep a blank
// result, so a formula reading A gets nothing, while one reading a row
// printed before it gets its value; a last code no row has runs to the end.
TEST_F(LedgerStatements, Report19PrintsItsCodeRange) {
    FormulaRow(KeyFigureBlk::Number, "A", "Outside", "7");
    FormulaRow(KeyFigureBlk::Number, "B", "Cash", "BALANCE(1910)");
    FormulaRow(KeyFigureBlk::Number, "C", "Ahead", "ROWVALUE(D)+ROWVALUE(A)+1");
    FormulaRow(KeyFigureBlk::Number, "D", "Twice", "ROWVALUE(B)*2");
    FormulaRow(KeyFigureBlk::Number, "E", "After", "9");
    Select(19, {1, 1, 2024}, {31, 3, 2024});
    SetText(P::SelText1, "B:D");
    const std::string out = RunText(FormulaReport19);
    ExpectGolden("ledger19_range", out);
    EXPECT_EQ(out.find("Outside"), std::string::npos);
    EXPECT_EQ(out.find("After"), std::string::npos);
    SetText(P::SelText1, "C:Z");
    const std::string rest = RunText(FormulaReport19);
    EXPECT_EQ(rest.find("Cash"), std::string::npos);
    EXPECT_NE(rest.find("After"), std::string::npos);
    EXPECT_EQ(FindFormulaRow(reinterpret_cast<const uint8_t *>("\1C")), -1);   // no run: no row list
}

// A block of more rows than the table's hundred keeps every result: the
// last row reads the 120th.
TEST_F(LedgerStatements, LongBlocksKeepEveryResult) {
    for (int i = 1; i <= 130; i++) {
        const std::string code = "R" + std::to_string(i), value = std::to_string(i);
        FormulaRow(Report38RowBlk::Number, code.c_str(), "", value.c_str());
    }
    FormulaRow(Report38RowBlk::Number, "LAST", "Last", "ROWVALUE(R120)+ROWVALUE(R3)");
    Select(38, {1, 1, 2024}, {31, 3, 2024});
    SetText(P::SelText1, "Long report");
    EXPECT_EQ(Title(OverTestJob<FormulaReport37>), "Long report");
    const std::string out = RunText(FormulaReport37);
    const size_t last = out.find("Last");
    ASSERT_NE(last, std::string::npos) << out;
    const std::string line = out.substr(last, out.find('\n', last) - last);
    EXPECT_NE(line.find("123"), std::string::npos) << line;
}

// Esc before a formula report or a statement prints no rows; reports 37
// to 41 without a title take their saved selection's, else their own.
TEST_F(LedgerStatements, CancelledAndUntitledReports) {
    FormulaRow(Report37RowBlk::Number, "A", "Cash", "BALANCE(1910)");
    BalanceRows();
    Select(37, {1, 1, 2024}, {31, 3, 2024});
    CancelFlag = 1;
    EXPECT_EQ(RunText(FormulaReport37).find("Cash"), std::string::npos);
    SetWord(P::ReportNumber, 21);
    EXPECT_EQ(RunText(StatementReport).find("Current assets"), std::string::npos);
    CancelFlag = 0;
    SetWord(P::ReportNumber, 37);
    EXPECT_EQ(Title(OverTestJob<FormulaReport37>), "Formula Report");
    EXPECT_NE(RunText(FormulaReport37).find("Cash"), std::string::npos);
    std::vector<uint8_t> saved(ReportSelectionBlk::Rows::Size, 0);
    PutText(saved.data(), ReportSelectionBlk::Rows::Title, 60, "Liquidity");
    PutU16(saved.data(), ReportSelectionBlk::Rows::ReportNr, 37);
    ASSERT_EQ(SettingsBlockStore(ReportSelectionBlk::Number, saved.data(), uint32_t(saved.size())), RecDone);
    EXPECT_EQ(Title(OverTestJob<FormulaReport37>), "Liquidity");
    SetWord(P::ReportNumber, 41);   // an empty block: the title alone
    EXPECT_EQ(Title(OverTestJob<FormulaReport37>), "Formula Report");
    EXPECT_EQ(RunText(FormulaReport37).find("Cash"), std::string::npos);
    SetWord(P::ReportNumber, 21);
    EXPECT_EQ(Title(OverTestJob<StatementReport>), "Balance Sheet");
    SetWord(P::ReportNumber, 46);
    EXPECT_EQ(Title(OverTestJob<StatementReport>), "Balance Sheet");
    SetWord(P::ReportNumber, 51);
    EXPECT_EQ(Title(OverTestJob<StatementReport>), "Income Statement");
    SetText(P::SelText1, "Own title");
    EXPECT_EQ(Title(OverTestJob<StatementReport>), "Own title");
}

// Lines started in the Esc test's job; the third posts Esc, as a user
// pressing it while the first account row prints.
int LinesStarted = 0;

const RepDevice EscDevice = [] {
    RepDevice d = RecorderDevice;
    d.lineStart = [] {
        RecorderDevice.lineStart();
        if (++LinesStarted == 3) {
            EXPECT_TRUE(MsgPost(0, PlMsg::KeyDown, PlKey::Escape, 0));
        }
    };
    return d;
}();

// Esc while a statement prints: the job ends stopped after the account
// at hand, and no later row is reached.
TEST_F(LedgerStatements, EscStopsTheStatement) {
    BalanceRows();
    Select(21, {1, 3, 2024}, {31, 3, 2024});
    SetWord(P::OutputKind, OutPreview);
    const RepDevice *saved = RepDeviceInstall(OutPreview, &EscDevice);
    RecLog.clear();
    LinesStarted = 0;
    OverTestJob<StatementReport>();
    RepDeviceInstall(OutPreview, saved);
    ASSERT_FALSE(RecLog.empty());
    EXPECT_EQ(RecLog.back().name, "end");
    EXPECT_EQ(RepStopped, 1);
    bool assets = false;
    for (const RecCall &call : RecLog) {
        assets = assets || call.text == "Current assets";
        EXPECT_NE(call.text, "Equity and liabilities");
        EXPECT_NE(call.text, "Balance");
    }
    EXPECT_TRUE(assets);
    CancelFlag = 0;
}

// Report 21 over March: every account (detail 0), accounts that moved
// (1), row sums only (2), the budget layout with its percentage, and the
// break-down by object type with the part without object.
TEST_F(LedgerStatements, BalanceStatementGoldens) {
    BalanceRows();
    Select(21, {1, 3, 2024}, {31, 3, 2024});
    ExpectGolden("ledger21_detail0", RunText(StatementReport));
    SetWord(P::DetailLevel, 1);
    ExpectGolden("ledger21_detail1", RunText(StatementReport));
    SetWord(P::DetailLevel, 2);
    ExpectGolden("ledger21_sums", RunText(StatementReport));
    SetWord(P::DetailLevel, 0);
    SetWord(P::ColumnLayout, 2);
    SetWord(P::Option2, 1);
    SetText(P::SelText1, "Cash against budget");
    ExpectGolden("ledger21_budget", RunText(StatementReport));
}

// Report 22 from January to March: the period alone (the year starts
// with it), against last year with a blank percentage where last year is
// zero, per hundred of the key figure, and broken down by project.
TEST_F(LedgerStatements, ResultStatementGoldens) {
    ResultRows();
    FormulaRow(KeyFigureBlk::Number, "KF", "Revenue", "0-MOVEMENT(3000:3999)");
    Select(22, {1, 1, 2024}, {31, 3, 2024});
    ExpectGolden("ledger22_period", RunText(StatementReport));
    SetWord(P::ColumnLayout, 1);
    SetWord(P::Option2, 1);
    ExpectGolden("ledger22_last_year", RunText(StatementReport));
    SetWord(P::ColumnLayout, 0);
    SetWord(P::Option2, 0);
    SetWord(P::AmountUnit, 3);
    const std::string unit = RunText(StatementReport);
    ExpectGolden("ledger22_key_figure", unit);
    EXPECT_NE(unit.find("100"), std::string::npos) << unit;   // revenue is 100 % of itself
    SetWord(P::AmountUnit, 0);
    SetText(P::ObjectType, "PRJ");
    ExpectGolden("ledger22_by_project", RunText(StatementReport));
    SetWord(P::Option3, 1);
    ExpectGolden("ledger22_by_project_rest", RunText(StatementReport));
}

// A statement or a formula report without rows says so and names the
// window its rows are typed in; the refused detail with an object type
// prints its one line when the check was passed by.
TEST_F(LedgerStatements, EmptyAndRefusedStatements) {
    Select(22, {1, 1, 2024}, {31, 3, 2024});
    const std::string empty = RunText(StatementReport);
    EXPECT_NE(empty.find("The statement has no rows. They are typed in the window \"Income statement rows\"."),
              std::string::npos)
        << empty;
    Select(33, {1, 1, 2024}, {31, 3, 2024});
    const std::string vat = RunText(FormulaReport33);
    EXPECT_NE(vat.find("The report has no rows. They are typed in the settings window \"VAT report rows\"."),
              std::string::npos)
        << vat;
    FormulaRow(VatReportRowBlk::Number, "O", "Output VAT", "1");
    EXPECT_EQ(RunText(FormulaReport33).find("has no rows"), std::string::npos);
    Select(22, {1, 1, 2024}, {31, 3, 2024});
    ResultRows();
    SetWord(P::DetailLevel, 2);
    SetText(P::ObjectType, "PRJ");
    const std::string refused = RunText(StatementReport);
    EXPECT_NE(refused.find("cannot be broken down"), std::string::npos) << refused;
    EXPECT_EQ(refused.find("Revenue"), std::string::npos) << refused;
    SetWord(P::DetailLevel, 0);
    SetWord(P::ReportNumber, 47);   // its own register has no rows
    const std::string own = RunText(StatementReport);
    EXPECT_NE(own.find("The statement has no rows. They are typed in the window \"Result statement 47 rows\"."),
              std::string::npos)
        << own;
}

// Report 33 prints every row of its own block and, asked to, the voucher
// number ranges after them; a user statement (45) reads its own register
// and not report 21's.
TEST_F(LedgerStatements, OwnBlocksAndRegisters) {
    FormulaRow(VatReportRowBlk::Number, "O", "Output VAT", "0-MOVEMENT(2610)");
    FormulaRow(KeyFigureBlk::Number, "K", "Key figure row", "1");
    Select(33, {1, 1, 2024}, {31, 3, 2024});
    SetWord(P::Option5, 1);
    const std::string vat = RunText(FormulaReport33);
    EXPECT_NE(vat.find("Output VAT\t50,00"), std::string::npos) << vat;
    EXPECT_EQ(vat.find("Key figure row"), std::string::npos) << vat;
    EXPECT_NE(vat.find("Voucher number ranges"), std::string::npos) << vat;
    SetWord(P::Option5, 0);
    EXPECT_EQ(RunText(FormulaReport33).find("Voucher number ranges"), std::string::npos);
    BalanceRows();
    StatementRow(SR45Vc::Number, 5, 1, "1910", "Cash only");
    Select(45, {1, 3, 2024}, {31, 3, 2024});
    const std::string own = RunText(StatementReport);
    EXPECT_NE(own.find("Cash only"), std::string::npos) << own;
    EXPECT_EQ(own.find("Current assets"), std::string::npos) << own;
    EXPECT_NE(own.find("1910\tCash\t1000,00\t200,00\t1200,00"), std::string::npos) << own;
}

}  // namespace
