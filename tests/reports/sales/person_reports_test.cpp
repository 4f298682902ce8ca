// person_reports_test.cpp - the person entries made from the employees:
// the bracket amounts (whole units, an open last bracket, the later row
// winning, a negative sum exchanging debit and credit), the calculation
// of one employee (base amount, rows of the period, rows chosen by code),
// routine 17 storing one entry per employee with rows and routine 18
// deleting a number range; the person reports (100 to 104) as goldens of
// the text-file device, a selection that takes nobody and Esc mid-walk.
#include "tests/output/test_job_body.h"
#include "tests/output/test_job.h"
#include "tests/reports/person_fixture.h"

#include "reports/sales/person_reports.h"
#include "tests/reports/esc_device.h"

namespace {

namespace P = ReportParamsVc;
namespace E = PersEntryVc;
using Rows = std::vector<std::string>;

class PersonReportsTest : public PersonFixture {
protected:
    void SetUp() override {
        PersonFixture::SetUp();
        if (HasFatalFailure()) return;
        StorePersonCompany();
    }
    // The bracket result of table code for base; "none" when no row takes it.
    static std::string Result(const char *code, double base) {
        RuleRecord table(BracketVc::Number);
        PutText(table.record, BracketVc::Code, 12, code);
        uint32_t recid = 0, position = 0;
        if (!RecFind(BracketVc::Number, table.record, 1, 1, &recid, &position)) return "missing";
        PackedDecimal b = Dec(base), r;
        if (!BracketResult(table.record, &b, &r)) return "none";
        char out[64];
        std::snprintf(out, sizeof out, "%.2f", DecToDouble(&r));
        return out;
    }
    // Runs routine 17 dated 31.3.2024 with row code `code`.
    static bool Run17(const char *code = "") {
        ResetParams();
        SetWord(P::ReportNumber, 17);
        PutDate(TestJob, P::DateFrom, DateRec{31, 3, 2024});
        SetText(P::SelText3, code);
        return MaintenanceRun17(ReportJob{TestJob});   // the report fixture keeps its selection there
    }
    static std::vector<int32_t> EntrySerials() {
        std::vector<int32_t> out;
        RuleRecord e(E::Number);
        uint32_t recid = 0;
        for (int32_t p = 1; RecReadAt(E::Number, p, e.record, &recid); p++) {
            out.push_back(GetI32(e.record, E::SerNr));
            RecFreeMatrix(E::Number, e.record);
        }
        return out;
    }
};

// Whole units add 0.01 before rounding: 12.48 gives 12, 12.49 gives 13;
// without them two decimals. The last bracket without an upper limit
// takes every larger base; where two rows take the base the later wins.
TEST_F(PersonReportsTest, BracketResultByRows) {
    StoreBracket("W1", "1930", "2710", 1, 0, {{0, -1, 0, 12.48}});
    StoreBracket("W2", "1930", "2710", 1, 0, {{0, -1, 0, 12.49}});
    StoreBracket("C2", "1930", "2710", 0, 0, {{0, -1, 0, 12.485}});
    StoreBracket("OV", "1930", "2710", 0, 0, {{0, 100, 10, 0}, {50, 200, 0, 7}});
    EXPECT_EQ(Result("W1", 5), "12.00");
    EXPECT_EQ(Result("W2", 5), "13.00");
    EXPECT_EQ(Result("C2", 5), "12.49");
    EXPECT_EQ(Result("TAX", 999.99), "0.00");
    EXPECT_EQ(Result("TAX", 4000), "900.00");
    EXPECT_EQ(Result("TAX", 1e9), "299999700.00");
    EXPECT_EQ(Result("OV", 40), "4.00");
    EXPECT_EQ(Result("OV", 60), "7.00");
    EXPECT_EQ(Result("OV", 201), "none");
}

// A negative sum puts the bracket amount on the other sides: the debit
// account is credited and the credit account debited; a missing table
// adds nothing.
TEST_F(PersonReportsTest, NegativeSumExchangesSides) {
    RuleRecord entry(E::Number);
    PackedDecimal total, sum = Dec(-2000);
    DecSetZero(&total);
    PString code, text;
    PStringFromC(code, "TAX");
    PStringFromC(text, "Refund");
    BracketAmount(code, &sum, entry.record, &total, text);
    EXPECT_EQ(EntryRows(entry.record), (Rows{"1930|Refund|-300.00", "2710||300.00"}));
    sum = Dec(2000);
    BracketAmount(code, &sum, entry.record, &total, text);
    EXPECT_EQ(EntryRows(entry.record), (Rows{"1930|Refund|0.00", "2710||0.00"}));
    PStringFromC(code, "NOSUCH");
    BracketAmount(code, &sum, entry.record, &total, text);
    EXPECT_EQ(EntryRows(entry.record).size(), 2u);
}

// The base-amount table by row and column; outside it, zero.
TEST_F(PersonReportsTest, BaseAmountsByRowAndColumn) {
    PackedDecimal v;
    BaseAmountOf(1, 2, &v);
    EXPECT_EQ(DecToDouble(&v), 3200);
    BaseAmountOf(2, 4, &v);
    EXPECT_EQ(DecToDouble(&v), 4600);
    for (auto [r, c] : {std::pair{0, 1}, {3, 1}, {1, 0}, {1, 5}, {-1, -1}}) {
        BaseAmountOf(r, c, &v);
        EXPECT_TRUE(DecIsZero(&v)) << r << "," << c;
    }
}

// Anna's entry: the base amount on the salary accounts, the bonus of
// March (not April's, not the "X" row) under her own text, the tax of
// both summed and social charges of the base; balanced. With row code
// "X" only the "X" row counts, without the base amount.
TEST_F(PersonReportsTest, CalculationOfOneEmployee) {
    RuleRecord person(EmployeeVc::Number), entry(E::Number);
    ASSERT_TRUE(ReadEmployee("E1", person.record));
    PersonEntryCalc(TestJob, person.record, entry.record);
    EXPECT_EQ(EntryRows(entry.record),
              (Rows{"7010|Salary|3200.00", "1930|Salary|-3200.00", "7010|March pay|500.00", "1930||-500.00",
                    "1930|March pay|810.00", "2710||-810.00", "7510||1005.44", "2730||-1005.44"}));
    PackedDecimal balance = GetDec(entry.record, E::Balance);
    EXPECT_TRUE(DecIsZero(&balance));
    balance = GetDec(entry.record, E::DebitTotal);
    EXPECT_NEAR(DecToDouble(&balance), 5515.44, 0.001);

    SetText(P::SelText3, "X");
    PersonEntryCalc(TestJob, person.record, entry.record);
    EXPECT_EQ(EntryRows(entry.record), (Rows{"7010|March pay|100.00", "1930||-100.00"}));

    // An employee without entry type or rows gets an entry without rows.
    SetText(P::SelText3, "");
    RecFreeMatrix(EmployeeVc::Number, person.record);
    ASSERT_TRUE(ReadEmployee("E3", person.record));
    PersonEntryCalc(TestJob, person.record, entry.record);
    EXPECT_TRUE(EntryRows(entry.record).empty());
}

// Routine 17 stores an entry for Anna and Bo, none for Cecilia; each
// dated as selected, today as its second date, numbered on, with the
// employee's name, row code and position as text.
TEST_F(PersonReportsTest, Routine17StoresOneEntryPerEmployeeWithRows) {
    ASSERT_TRUE(Run17());
    const std::vector<int32_t> serials = EntrySerials();
    ASSERT_EQ(serials.size(), 2u);
    EXPECT_LT(serials[0], serials[1]);
    RuleRecord e(E::Number);
    uint32_t recid = 0;
    ASSERT_TRUE(RecReadAt(E::Number, 1, e.record, &recid));
    EXPECT_EQ(Text(e.record, E::Text), "Anna Berg  Clerk");
    EXPECT_EQ(Text(e.record, E::PerCode), "E1");
    EXPECT_EQ(Text(e.record, E::DepCode), "D1");
    DateRec d = GetDate(e.record, E::TransDate);
    const DateRec end{31, 3, 2024};
    EXPECT_EQ(DateCompare(&d, &end), 0);
    d = GetDate(e.record, E::Date2);
    EXPECT_EQ(DateCompare(&d, &ReportCo::Today), 0);
    EXPECT_EQ(EntryRows(e.record).size(), 8u);
    RecFreeMatrix(E::Number, e.record);
    ASSERT_TRUE(RecReadAt(E::Number, 2, e.record, &recid));
    EXPECT_EQ(Text(e.record, E::PerCode), "E2");
    EXPECT_EQ(EntryRows(e.record), (Rows{"7010|Salary|4000.00", "1930|Salary|-4000.00", "1930||900.00",
                                         "2710||-900.00", "7510||1256.80", "2730||-1256.80"}));
    RecFreeMatrix(E::Number, e.record);
    // With row code "X" only Anna has a row: one more entry.
    ASSERT_TRUE(Run17("X"));
    EXPECT_EQ(EntrySerials().size(), 3u);
}

// With the last number of the range taken no entry can be numbered: the
// routine stops at the first employee, tells why and stores nothing.
TEST_F(PersonReportsTest, Routine17StopsWithoutAFreeNumber) {
    RuleRecord last(E::Number);
    PutI32(last.record, E::SerNr, 999999);
    PutDate(last.record, E::TransDate, DateRec{1, 1, 2024});
    uint32_t recid = 0;
    ASSERT_TRUE(RecInsertUnchecked(E::Number, last.record, &recid));
    shown.clear();
    EXPECT_FALSE(Run17());
    EXPECT_EQ(EntrySerials(), (std::vector<int32_t>{999999}));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("31.03.2024"), std::string::npos) << shown[0];
}

// Routine 18 deletes the entries of its range and no others; a range
// below every entry, or an end left unset, deletes nothing.
TEST_F(PersonReportsTest, Routine18DeletesItsRange) {
    ASSERT_TRUE(Run17());
    ASSERT_TRUE(Run17());
    const std::vector<int32_t> serials = EntrySerials();
    ASSERT_EQ(serials.size(), 4u);
    auto run18 = [](uint32_t from, uint32_t to) {
        ResetParams();
        PutU32(TestJob, P::NumberFrom, from);
        PutU32(TestJob, P::NumberTo, to);
        return MaintenanceRun18(ReportJob{TestJob});   // as above
    };
    EXPECT_TRUE(run18(0, uint32_t(serials[0]) - 1));
    EXPECT_EQ(EntrySerials(), serials);
    EXPECT_TRUE(run18(0xFFFFFFFFu, 0xFFFFFFFFu));
    EXPECT_TRUE(run18(uint32_t(serials[1]), 0xFFFFFFFFu));
    EXPECT_EQ(EntrySerials(), serials);
    EXPECT_TRUE(run18(uint32_t(serials[1]), uint32_t(serials[2])));
    EXPECT_EQ(EntrySerials(), (std::vector<int32_t>{serials[0], serials[3]}));
}

// The reports as goldens over the entries of routine 17.
TEST_F(PersonReportsTest, ReportsAsGoldens) {
    ASSERT_TRUE(Run17());
    const struct {
        const char *golden;
        int report;
        const char *sel1, *sel2;
        DateRec from, to;
    } runs[] = {
        {"person102_all", 102, "", "", {}, {}},
        {"person102_d2", 102, "D2", "", {}, {}},
        {"person102_nobody", 102, "D9", "", {}, {}},
        {"person103_range", 103, "E1:E2", "", {}, {}},
        {"person103_d1", 103, "", "D1", {}, {}},
        {"person100_d1", 100, "", "D1", {1, 3, 2024}, {31, 3, 2024}},
        {"person100_e2", 100, "E2", "", {}, {}},
        {"person100_april", 100, "E2", "", {1, 4, 2024}, {30, 4, 2024}},
        {"person101", 101, "", "", {31, 3, 2024}, {}},
        {"person101_d2", 101, "", "D2", {31, 3, 2024}, {}},
        {"person104", 104, "", "", {31, 3, 2024}, {}},
        {"person101_other_day", 101, "", "", {30, 3, 2024}, {}},
    };
    for (const auto &r : runs) {
        SCOPED_TRACE(r.golden);
        ResetParams();
        SetWord(P::ReportNumber, uint16_t(r.report));
        SetText(P::SelText1, r.sel1);
        SetText(P::SelText2, r.sel2);
        SetPeriod(r.from, r.to);
        const ReportRowRec *row = ReportRow(r.report);
        ASSERT_NE(row, nullptr);
        ASSERT_EQ(row->kind, ReportRowKind::Body);
        static int arg;
        arg = row->arg;
        static ReportArgBody argBody;
        argBody = row->bodyArg;
        std::string out = row->body ? RunText(row->body) : RunText([] {
            ReportJob job{TestJob};
            argBody(job, arg);
        });
        ExpectGolden(r.golden, out);
    }
}

// Report 101 leaves out an entry with no row on a listed account; Esc
// after the first employee of 102 ends the list but still ends the job.
TEST_F(PersonReportsTest, UnlistedEntriesAndEsc) {
    ASSERT_TRUE(Run17());
    RuleRecord e(E::Number);
    uint32_t recid = 0;
    ASSERT_TRUE(RecReadAt(E::Number, 1, e.record, &recid));
    EXPECT_TRUE(EntryHasListedAccount(e.record));
    RecFreeMatrix(E::Number, e.record);
    std::memset(e.record, 0, E::Size);
    PString acc, text, name;
    PStringFromC(acc, "7010");
    text[0] = name[0] = 0;
    PackedDecimal total, amount = Dec(10);
    DecSetZero(&total);
    AccountRowAdd(e.record, acc, text, name, &amount, true, true, &total);
    EXPECT_FALSE(EntryHasListedAccount(e.record));
    PutI32(e.record, E::SerNr, 777);
    PutDate(e.record, E::TransDate, DateRec{31, 3, 2024});
    ASSERT_TRUE(RecInsertUnchecked(E::Number, e.record, &recid));
    ResetParams();
    PutDate(TestJob, P::DateFrom, DateRec{31, 3, 2024});
    const std::string out = RunText([] { OverTestJobArg<TransDateReport101>(0); });
    EXPECT_EQ(out.find("777"), std::string::npos) << out;
    EXPECT_NE(out.find("E2"), std::string::npos) << out;

    // Headings, the department's empty line and its line, then Anna's:
    // Esc as her line starts.
    ResetParams();
    EXPECT_TRUE(RunWithEscAt(4, OverTestJob<EmployeeDepReport>));
    EXPECT_TRUE(RecordedText("Anna Berg"));
    EXPECT_FALSE(RecordedText("Cecilia Dahl"));
    EXPECT_FALSE(RecordedText("Bo Carlsson"));
}

}  // namespace
