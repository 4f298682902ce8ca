// Tests of project budgets: their totals, the price of a time-budget row,
// quotation rows carried into budgets, and new project codes.
#include <cstring>
#include <vector>

#include "rules/hooks.h"
#include "rules/projects.h"
#include "tests/rules/rules_fixture.h"

namespace {

class ProjectBudgetsTest : public RulesFixture {
protected:
    bool InstallRules() override {
        RulesInstall();
        return true;
    }

    static void TimeRow(uint8_t *budget, const char *person, double qty, double price, double toInvoice = 0) {
        uint8_t row[TimeBudgetVc::Rows::Size] = {};
        PutText(row, TimeBudgetVc::Rows::Person, 5, person);
        PutDec(row, TimeBudgetVc::Rows::BudgetQty, Dec(qty));
        PutDec(row, TimeBudgetVc::Rows::QtyToInvoice, Dec(toInvoice));
        PutDec(row, TimeBudgetVc::Rows::Price, Dec(price));
        ASSERT_TRUE(MatrixRowPut(TimeBudgetVc::Number, 0, budget, MatrixRowCount(TimeBudgetVc::Number, 0, budget), row));
    }
    uint32_t StoreProject(const char *code, const char *customer = "", const char *name = "") {
        return StoreRecord(ProjectVc::Number, [&](uint8_t *p) {
            PutText(p, ProjectVc::Code, 20, code);
            PutText(p, ProjectVc::CustCode, 20, customer);
            PutText(p, ProjectVc::Name, 60, name);
        });
    }
    // The stored budget of reg for (project, item) into rec; false when none.
    static bool ReadBudget(int reg, uint8_t *rec, const char *project, const char *item) {
        bool time = reg == TimeBudgetVc::Number;
        RecClear(reg, rec);
        PutText(rec, time ? TimeBudgetVc::Project : CostBudgetVc::Project, 20, project);
        PutText(rec, time ? TimeBudgetVc::ItemCode : CostBudgetVc::ItemCode, 20, item);
        uint32_t recid = 0, position = 0;
        return RecFindByIndex(reg, "ProjectItem", rec, 2, 1, &recid, &position);
    }
};

TEST_F(ProjectBudgetsTest, TotalsSumTheRowsLessThePercentageAndKeepAFixedBudget) {
    RuleRecord time(TimeBudgetVc::Number);
    PutDec(time.record, TimeBudgetVc::DiscPct, Dec(10));
    TimeRow(time.record, "AN", 2, 100, 1);     // 200 budget, 100 to invoice
    TimeRow(time.record, "", 3, 50, 3);        // 150, 150
    TimeBudgetTotals(time.record);
    PackedDecimal budgetTotal = GetDec(time.record, TimeBudgetVc::Budget);
    EXPECT_EQ(DecCompareDouble(&budgetTotal, 315), 0);
    PackedDecimal toInvoice = GetDec(time.record, TimeBudgetVc::ToInvoice);
    EXPECT_EQ(DecCompareDouble(&toInvoice, 225), 0);
    PutU16(time.record, TimeBudgetVc::FixedBudget, 1);
    PutDec(time.record, TimeBudgetVc::Budget, Dec(999));
    TimeRow(time.record, "BO", 1, 10, 1);
    TimeBudgetTotals(time.record);
    PackedDecimal kept = GetDec(time.record, TimeBudgetVc::Budget);
    toInvoice = GetDec(time.record, TimeBudgetVc::ToInvoice);
    EXPECT_EQ(DecCompareDouble(&kept, 999), 0);
    EXPECT_EQ(DecCompareDouble(&toInvoice, 234), 0);

    // Cost rows: a surcharge raises the row, a blank one does not.
    RuleRecord cost(CostBudgetVc::Number);
    PutDec(cost.record, CostBudgetVc::DiscPct, Dec(0));
    struct { double qty, price, surcharge, spent; bool blank; } rows[] = {
        {2, 50, 10, 30, false},   // 100 + 10%
        {1, 40, 0, 5, true},      // 40
    };
    for (auto &r : rows) {
        uint8_t row[CostBudgetVc::Rows::Size] = {};
        PutDec(row, CostBudgetVc::Rows::BudgetQty, Dec(r.qty));
        PutDec(row, CostBudgetVc::Rows::UnitPrice, Dec(r.price));
        PackedDecimal s = Dec(r.surcharge);
        if (r.blank) DecSetBlank(&s);
        PutDec(row, CostBudgetVc::Rows::Surcharge, s);
        PutDec(row, CostBudgetVc::Rows::Spent, Dec(r.spent));
        ASSERT_TRUE(MatrixRowPut(CostBudgetVc::Number, 0, cost.record, MatrixRowCount(CostBudgetVc::Number, 0, cost.record), row));
    }
    CostBudgetTotals(cost.record);
    PackedDecimal budget = GetDec(cost.record, CostBudgetVc::Budget), spent = GetDec(cost.record, CostBudgetVc::SpentSum);
    EXPECT_EQ(DecCompareDouble(&budget, 150), 0);
    EXPECT_EQ(DecCompareDouble(&spent, 35), 0);

    RuleRecord sheet(TimeSheetVc::Number);
    for (double q : {1.5, 2.25}) {
        uint8_t row[TimeSheetVc::Rows::Size] = {};
        PutDec(row, TimeSheetVc::Rows::Quantity, Dec(q));
        ASSERT_TRUE(MatrixRowPut(TimeSheetVc::Number, 0, sheet.record, MatrixRowCount(TimeSheetVc::Number, 0, sheet.record), row));
    }
    TimeSheetTotal(sheet.record);
    PackedDecimal total = GetDec(sheet.record, TimeSheetVc::Total);
    EXPECT_EQ(DecCompareDouble(&total, 3.75), 0);
}

TEST_F(ProjectBudgetsTest, RowPriceTakesThePersonsRowElseTheLastEmptyOne) {
    StoreRecord(TimeBudgetVc::Number, [&](uint8_t *b) {
        PutText(b, TimeBudgetVc::Project, 20, "PR1");
        PutText(b, TimeBudgetVc::ItemCode, 20, "HOUR");
        PutDec(b, TimeBudgetVc::DiscPct, Dec(10));
        TimeRow(b, "", 1, 80);
        TimeRow(b, "AN", 1, 100);
        TimeRow(b, "", 1, 60);
    });
    StoreRecord(TimeBudgetVc::Number, [&](uint8_t *b) {
        PutText(b, TimeBudgetVc::Project, 20, "PR2");
        PutText(b, TimeBudgetVc::ItemCode, 20, "HOUR");
        TimeRow(b, "AN", 1, 100);
    });
    struct Case { const char *project, *item, *person; double want; bool blank; } cases[] = {
        {"PR1", "HOUR", "AN", 90, false},   // the person's row, less 10%
        {"PR1", "HOUR", "BO", 54, false},   // the last empty-code row
        {"PR1", "HOUR", "", 54, false},
        {"PR2", "HOUR", "BO", 0, true},     // no row for him, no empty row
        {"PR2", "DAY", "AN", 0, true},      // no budget
        {"PR9", "HOUR", "AN", 0, true},
    };
    for (const Case &c : cases) {
        uint8_t project[256], item[256], person[256];
        PStringFromC(project, c.project);
        PStringFromC(item, c.item);
        PStringFromC(person, c.person);
        PackedDecimal price = Dec(1);
        TimeBudgetRowPrice(project, item, person, &price);
        if (c.blank) {
            EXPECT_TRUE(DecIsBlank(&price)) << c.project << c.person;
        } else {
            EXPECT_EQ(DecCompareDouble(&price, c.want), 0) << c.project << c.person << " " << DecToDouble(&price);
        }
    }
}

TEST_F(ProjectBudgetsTest, QuotationRowsGoToTimeOrCostBudgetsByTheSelection) {
    StoreProject("PR1", "", "Harbour works");
    StoreItem("CONSULT", {.group = "SERV"});
    StoreItem("TRAVEL", {.group = "EXP"});
    StoreItem("STEEL", {.group = "MAT", .price = 0});
    // STEEL is marked up 15% for cost rows.
    {
        RuleRecord it(INVc::Number);
        PutText(it.record, INVc::Code, 20, "STEEL");
        uint32_t recid = 0, position = 0;
        ASSERT_TRUE(RecFind(INVc::Number, it.record, 1, 1, &recid, &position));
        PutDec(it.record, INVc::Markup, Dec(15));
        ASSERT_TRUE(RecStore(INVc::Number, it.record, 1, &recid));
    }
    // An existing time budget of CONSULT with two rows.
    StoreRecord(TimeBudgetVc::Number, [&](uint8_t *b) {
        PutText(b, TimeBudgetVc::Project, 20, "PR1");
        PutText(b, TimeBudgetVc::ItemCode, 20, "CONSULT");
        TimeRow(b, "", 5, 100);
        TimeRow(b, "AN", 2, 120);
    });
    StoreRecord(QuotationVc::Number, [&](uint8_t *q) {
        PutU32(q, QuotationVc::SerNr, 7001);
        struct { const char *item; double qty, price, pct; } rows[] = {
            {"CONSULT", 8, 110, 0}, {"TRAVEL", 3, 40, 0}, {"STEEL", 2, 500, 5}, {"", 1, 1, 0},
        };
        for (auto &r : rows) {
            uint8_t row[QuotationVc::Rows::Size] = {};
            PutU16(row, QuotationVc::Rows::Kind, 1);
            PutText(row, QuotationVc::Rows::ItemCode, 20, r.item);
            PutText(row, QuotationVc::Rows::Text, 100, r.item);
            PutDec(row, QuotationVc::Rows::Quantity, Dec(r.qty));
            PutDec(row, QuotationVc::Rows::Price, Dec(r.price));
            PutDec(row, QuotationVc::Rows::Discount, Dec(r.pct));
            ASSERT_TRUE(MatrixRowPut(QuotationVc::Number, 0, q, MatrixRowCount(QuotationVc::Number, 0, q), row));
        }
    });
    // CONSULT is in the item range; STEEL is in the second item range (a
    // cost); TRAVEL is in neither and goes to time.
    RuleRecord sel(ReportParamsVc::Number);
    PutText(sel.record, ReportParamsVc::SelText5, 21, "7001");
    PutText(sel.record, ReportParamsVc::SelText6, 21, "PR1");
    PutText(sel.record, ReportParamsVc::SelText1, 255, "CONSULT:CONSULT");
    PutText(sel.record, ReportParamsVc::SelText2, 255, "STEEL:STEEL");
    ASSERT_TRUE(QuotationRowsBatch(sel.record));

    RuleRecord b(TimeBudgetVc::Number), c(CostBudgetVc::Number);
    ASSERT_TRUE(ReadBudget(TimeBudgetVc::Number, b.record, "PR1", "CONSULT"));
    ASSERT_EQ(MatrixRowCount(TimeBudgetVc::Number, 0, b.record), 2);
    uint8_t row[CostBudgetVc::Rows::Size];
    ASSERT_TRUE(MatrixRowGet(TimeBudgetVc::Number, 0, b.record, 0, row));
    PackedDecimal q = GetDec(row, TimeBudgetVc::Rows::BudgetQty), p = GetDec(row, TimeBudgetVc::Rows::Price);
    EXPECT_EQ(DecCompareDouble(&q, 8), 0);     // replaced, not added
    EXPECT_EQ(DecCompareDouble(&p, 100), 0);   // the budget's own price stays
    PackedDecimal total = GetDec(b.record, TimeBudgetVc::Budget);
    EXPECT_EQ(DecCompareDouble(&total, 1040), 0);   // 8 x 100 + 2 x 120

    ASSERT_TRUE(ReadBudget(TimeBudgetVc::Number, b.record, "PR1", "TRAVEL"));
    EXPECT_EQ(Text(b.record, TimeBudgetVc::ProjectName), "Harbour works");
    ASSERT_EQ(MatrixRowCount(TimeBudgetVc::Number, 0, b.record), 1);
    ASSERT_TRUE(MatrixRowGet(TimeBudgetVc::Number, 0, b.record, 0, row));
    p = GetDec(row, TimeBudgetVc::Rows::Price);
    q = GetDec(row, TimeBudgetVc::Rows::BudgetQty);
    EXPECT_EQ(DecCompareDouble(&p, 40), 0);
    EXPECT_EQ(DecCompareDouble(&q, 3), 0) << "a new budget's row carries the quotation's quantity";
    total = GetDec(b.record, TimeBudgetVc::Budget);
    EXPECT_EQ(DecCompareDouble(&total, 120), 0);
    q = GetDec(row, TimeBudgetVc::Rows::QtySpent);
    EXPECT_TRUE(DecIsBlank(&q));   // its other quantities start blank
    EXPECT_FALSE(ReadBudget(CostBudgetVc::Number, c.record, "PR1", "TRAVEL"));

    ASSERT_TRUE(ReadBudget(CostBudgetVc::Number, c.record, "PR1", "STEEL"));
    EXPECT_FALSE(ReadBudget(TimeBudgetVc::Number, b.record, "PR1", "STEEL"));
    PackedDecimal pct = GetDec(c.record, CostBudgetVc::DiscPct);
    EXPECT_EQ(DecCompareDouble(&pct, 5), 0);
    ASSERT_TRUE(MatrixRowGet(CostBudgetVc::Number, 0, c.record, 0, row));
    PackedDecimal surcharge = GetDec(row, CostBudgetVc::Rows::Surcharge);
    EXPECT_EQ(DecCompareDouble(&surcharge, 15), 0);

    // A quotation or project that is missing does nothing.
    uint32_t before = RegRecordCount(TimeBudgetVc::Number) + RegRecordCount(CostBudgetVc::Number);
    PutText(sel.record, ReportParamsVc::SelText5, 21, "7002");
    EXPECT_TRUE(QuotationRowsBatch(sel.record));
    PutText(sel.record, ReportParamsVc::SelText5, 21, "7001");
    PutText(sel.record, ReportParamsVc::SelText6, 21, "PR9");
    EXPECT_TRUE(QuotationRowsBatch(sel.record));
    EXPECT_EQ(RegRecordCount(TimeBudgetVc::Number) + RegRecordCount(CostBudgetVc::Number), before);
}

TEST_F(ProjectBudgetsTest, RoutingRules) {
    StoreItem("A1", {.group = "G1"});
    StoreItem("B1", {.group = "G2"});
    struct Case { const char *items, *groups, *items2, *groups2, *item; bool time; } cases[] = {
        {"A1", "", "", "", "A1", true},          // 1: in the item range
        {"A1", "G2", "A:Z", "", "B1", true},     // 2: its group in the group range beats the second range
        {"A1", "G1", "A:Z", "", "B1", false},    //    group missed, inside the second item range: cost
        {"", "", "", "", "B1", true},            // 3: no second ranges at all
        {"", "", "C:D", "", "B1", true},         //    outside the second item range
        {"", "", "C:D", "G1", "B1", true},       //    ... and its group outside the second group range
        {"", "", "C:D", "G2", "B1", false},      // 4: its group inside the second group range: cost
        {"", "", "A:Z", "", "B1", false},        //    inside the second item range: cost
    };
    StoreProject("P");
    int n = 0;
    for (const Case &c : cases) {
        RuleRecord quote(QuotationVc::Number);
        PutU32(quote.record, QuotationVc::SerNr, 100 + n);
        uint8_t row[QuotationVc::Rows::Size] = {};
        PutText(row, QuotationVc::Rows::ItemCode, 20, c.item);
        ASSERT_TRUE(MatrixRowPut(QuotationVc::Number, 0, quote.record, 0, row));
        uint32_t recid = 0;
        ASSERT_TRUE(RecStoreByKey(QuotationVc::Number, quote.record, 1, &recid));
        RuleRecord sel(ReportParamsVc::Number);
        PutText(sel.record, ReportParamsVc::SelText5, 21, std::to_string(100 + n).c_str());
        PutText(sel.record, ReportParamsVc::SelText6, 21, "P");
        PutText(sel.record, ReportParamsVc::SelText1, 255, c.items);
        PutText(sel.record, ReportParamsVc::SelText3, 255, c.groups);
        PutText(sel.record, ReportParamsVc::SelText2, 255, c.items2);
        PutText(sel.record, ReportParamsVc::ObjectSel, 30, c.groups2);
        uint32_t time0 = RegRecordCount(TimeBudgetVc::Number), cost0 = RegRecordCount(CostBudgetVc::Number);
        ASSERT_TRUE(QuotationRowsBatch(sel.record)) << n;
        // Exactly one new budget, in the register the rules name.
        EXPECT_EQ(RegRecordCount(TimeBudgetVc::Number) - time0 + (RegRecordCount(CostBudgetVc::Number) - cost0), 1u) << n;
        EXPECT_EQ(RegRecordCount(TimeBudgetVc::Number) - time0, c.time ? 1u : 0u) << n;
        // Drop the budget made so the next case starts new.
        RuleRecord b(c.time ? TimeBudgetVc::Number : CostBudgetVc::Number);
        ASSERT_TRUE(ReadBudget(b.reg, b.record, "P", c.item)) << n;
        uint32_t position = 0;
        ASSERT_TRUE(RecFindByIndex(b.reg, "ProjectItem", b.record, 2, 1, &recid, &position));
        ASSERT_TRUE(RecDeleteHooked(b.reg, b.record, recid));
        n++;
    }
}

TEST_F(ProjectBudgetsTest, NewProjectsTakeTheCodeAfterTheHighest) {
    uint8_t code[256];
    ASSERT_TRUE(NextProjectCode(code));
    EXPECT_TRUE(PStringEqualC(code, "1"));

    RuleRecord project(ProjectVc::Number);
    RecNewDefaults(ProjectVc::Number, project.record);
    EXPECT_EQ(Text(project.record, ProjectVc::Code), "1");
    EXPECT_EQ(GetU16(project.record, ProjectVc::PrintHeading), 1);
    EXPECT_EQ(GetU16(project.record, ProjectVc::PrintDesc), 1);

    StoreProject("P99");
    StoreProject("A5");
    ASSERT_TRUE(NextProjectCode(code));
    EXPECT_TRUE(PStringEqualC(code, "P100"));

    // Known gap kept as built: codes sort as text, so after Q9 and Q10 the
    // highest is Q9; its successor Q10 exists and the insert refuses it.
    StoreProject("Q9");
    StoreProject("Q10");
    RecNewDefaults(ProjectVc::Number, project.record);
    EXPECT_EQ(Text(project.record, ProjectVc::Code), "Q10");
    uint32_t recid = 0;
    int result = RecDone;
    RecInsertChecked(ProjectVc::Number, project.record, &recid, &result);
    EXPECT_EQ(result, RecKeyExists);
    EXPECT_EQ(recid, 0u);

    // Codes of the letters that sort last are still seen.
    StoreProject("\xC5X");
    ASSERT_TRUE(NextProjectCode(code));
    EXPECT_TRUE(PStringEqualC(code, "\xC5X1"));
}

}  // namespace
