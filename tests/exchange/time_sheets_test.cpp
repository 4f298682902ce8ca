// Tests of time sheets carried into the project registers: once per row
// whatever path stores or approves the sheet, onto the right budget row,
// with refusals at the row and column at fault; and of cost budgets fed
// by purchase invoices and expenses.
#include "tests/operations/project_fixture.h"

#include "exchange/text_exchange.h"
#include "rules/approval.h"

namespace {

class TimeSheetsTest : public ProjectFixture {
protected:
    void SetUp() override {
        ProjectFixture::SetUp();
        StoreCustomer("C1");
        StorePerson("AN", 40);
        StorePerson("BO", 50);
        StoreProject("P1");
        StoreItem("HOUR", {.price = 100, .name = "Work hour"});
    }
    // The time budget of P1/HOUR's row i: spent, to invoice, cost spent.
    std::tuple<double, double, double> BudgetRow(int32_t i) {
        RuleRecord b(TimeBudgetVc::Number);
        EXPECT_TRUE(ReadBudget(TimeBudgetVc::Number, b.record, "P1", "HOUR"));
        std::vector<uint8_t> r = Row(TimeBudgetVc::Number, b.record, i);
        return {Amount(r.data(), TimeBudgetVc::Rows::QtySpent), Amount(r.data(), TimeBudgetVc::Rows::QtyToInvoice),
                Amount(r.data(), TimeBudgetVc::Rows::CostSpent)};
    }
};

TEST_F(TimeSheetsTest, RowsAreCarriedOnceWhateverStoresOrApprovesTheSheet) {
    RuleRecord sheet(TimeSheetVc::Number);
    MakeSheet(sheet.record, 1, {{"AN", "P1", "HOUR", 2, {3, 6, 2024}}, {"AN", "P1", "HOUR", 3, {4, 6, 2024}}});
    uint32_t recid = 0;
    ASSERT_EQ(InsertSheet(sheet.record, &recid), RecDone);
    EXPECT_NE(GetU32(sheet.record, TimeSheetVc::SerNr), SerialNone) << "numbered on insert";
    EXPECT_EQ(GetU16(sheet.record, TimeSheetVc::Mark), 18);
    EXPECT_EQ(RegRecordCount(TimeBudgetVc::Number), 1u) << "two rows, one budget";
    EXPECT_EQ(BudgetRow(0), std::make_tuple(5.0, 5.0, 200.0)) << "cost is quantity x the person's rate";
    RuleRecord b(TimeBudgetVc::Number);
    ASSERT_TRUE(ReadBudget(TimeBudgetVc::Number, b.record, "P1", "HOUR"));
    EXPECT_EQ(MatrixRowCount(TimeBudgetVc::Number, 0, b.record), 1);
    EXPECT_EQ(Text(b.record, TimeBudgetVc::ItemName), "Work hour");
    EXPECT_EQ(RegRecordCount(ProjTransVc::Number), 2u);
    EXPECT_EQ(RegRecordCount(ProjLinkVc::Number), 2u);

    // Stored again, its flag cleared and set again, approved: nothing more.
    int result = RecRefused;
    RecUpdateChecked(TimeSheetVc::Number, sheet.record, recid, &result);
    ASSERT_EQ(result, RecDone);
    PutU16(sheet.record, TimeSheetVc::Transferred, 0);
    RecUpdateChecked(TimeSheetVc::Number, sheet.record, recid, &result);
    ASSERT_EQ(result, RecDone);
    ASSERT_TRUE(RecReadById(TimeSheetVc::Number, recid, sheet.record));
    EXPECT_EQ(GetU16(sheet.record, TimeSheetVc::Transferred), 1) << "a transferred sheet stays transferred";
    PutU16(sheet.record, TimeSheetVc::Transferred, 1);
    RecUpdateChecked(TimeSheetVc::Number, sheet.record, recid, &result);
    EXPECT_TRUE(ApproveRecord(6, TimeSheetVc::Number, recid));
    EXPECT_EQ(BudgetRow(0), std::make_tuple(5.0, 5.0, 200.0));
    // Its hours can no longer change; its comment can.
    uint8_t row[TimeSheetVc::Rows::Size];
    ASSERT_TRUE(RecReadById(TimeSheetVc::Number, recid, sheet.record));
    ASSERT_TRUE(MatrixRowGet(TimeSheetVc::Number, 0, sheet.record, 0, row));
    PutDec(row, TimeSheetVc::Rows::Quantity, Dec(9));
    ASSERT_TRUE(MatrixRowPut(TimeSheetVc::Number, 0, sheet.record, 0, row));
    RecUpdateChecked(TimeSheetVc::Number, sheet.record, recid, &result);
    EXPECT_EQ(result, RecRefused);
    EXPECT_EQ(shown.back(), TextOf(Texts::TimeSheetRowsKept));
    ASSERT_TRUE(RecReadById(TimeSheetVc::Number, recid, sheet.record));
    PutText(sheet.record, TimeSheetVc::Comment, 60, "Checked");
    RecUpdateChecked(TimeSheetVc::Number, sheet.record, recid, &result);
    EXPECT_EQ(result, RecDone);
    EXPECT_EQ(BudgetRow(0), std::make_tuple(5.0, 5.0, 200.0));
    EXPECT_EQ(RegRecordCount(ProjTransVc::Number), 2u);
    EXPECT_EQ(RegRecordCount(ProjLinkVc::Number), 2u);
}

TEST_F(TimeSheetsTest, ApprovingCarriesAnEnteredSheetOnce) {
    RuleRecord sheet(TimeSheetVc::Number);
    MakeSheet(sheet.record, 0, {{"BO", "P1", "HOUR", 1.5}});
    uint32_t recid = 0;
    ASSERT_EQ(InsertSheet(sheet.record, &recid), RecDone);
    EXPECT_EQ(RegRecordCount(TimeBudgetVc::Number), 0u) << "an entered sheet carries nothing";
    EXPECT_EQ(GetU16(sheet.record, TimeSheetVc::Mark), 0);
    for (int i = 0; i < 2; i++) EXPECT_TRUE(ApproveRecord(6, TimeSheetVc::Number, recid));
    EXPECT_EQ(BudgetRow(0), std::make_tuple(1.5, 1.5, 75.0));
    ASSERT_TRUE(RecReadById(TimeSheetVc::Number, recid, sheet.record));
    EXPECT_EQ(GetU16(sheet.record, TimeSheetVc::Transferred), 1);
    EXPECT_EQ(GetU16(sheet.record, TimeSheetVc::Mark), 18);
    // Row dates empty: the sheet's date stands for them.
    RuleRecord trans(ProjTransVc::Number);
    PutText(trans.record, ProjTransVc::Person, 5, "BO");
    uint32_t position = 0;
    ASSERT_TRUE(RecFind(ProjTransVc::Number, trans.record, 1, 0, &recid, &position));
    DateRec d = GetDate(trans.record, ProjTransVc::TransDate);
    EXPECT_EQ(DateCompare(&d, &TodayDate), 0);
}

TEST_F(TimeSheetsTest, APersonWithoutARowLandsOnTheEmptyCodeRow) {
    StoreTimeBudget("P1", "HOUR", {{"", "", "", 0}, {"BO", "", "", 0}}, 80);
    RuleRecord sheet(TimeSheetVc::Number);
    MakeSheet(sheet.record, 1, {{"AN", "P1", "HOUR", 2}, {"BO", "P1", "HOUR", 1}});
    uint32_t recid = 0;
    ASSERT_EQ(InsertSheet(sheet.record, &recid), RecDone);
    RuleRecord b(TimeBudgetVc::Number);
    ASSERT_TRUE(ReadBudget(TimeBudgetVc::Number, b.record, "P1", "HOUR"));
    EXPECT_EQ(MatrixRowCount(TimeBudgetVc::Number, 0, b.record), 2) << "no row appended";
    EXPECT_EQ(BudgetRow(0), std::make_tuple(2.0, 2.0, 80.0));
    EXPECT_EQ(BudgetRow(1), std::make_tuple(1.0, 1.0, 50.0));
    EXPECT_DOUBLE_EQ(Amount(b.record, TimeBudgetVc::ToInvoice), 240) << "3 hours at the rows' price of 80";

    // A budget without an empty-code row gets a row of the new person.
    StorePerson("CY", 0);
    MakeSheet(sheet.record, 1, {{"CY", "P1", "HOUR", 4}});
    ASSERT_EQ(InsertSheet(sheet.record, &recid), RecDone);
    ASSERT_TRUE(ReadBudget(TimeBudgetVc::Number, b.record, "P1", "HOUR"));
    EXPECT_EQ(MatrixRowCount(TimeBudgetVc::Number, 0, b.record), 2) << "CY has no row; the empty one takes him";
}

TEST_F(TimeSheetsTest, AFaultyRowIsRefusedAtItsColumnBeforeAnythingIsCarried) {
    StoreProject("CLOSED", "C1", [](uint8_t *p) { PutU16(p, ProjectVc::Closed, 1); });
    StoreProject("P2");
    StorePerson("LIM", 10, "", {"P2"});
    StorePerson("TYP", 10, "ET");
    StoreRecord(EmpTypeVc::Number, [&](uint8_t *r) {
        PutText(r, EmpTypeVc::Code, 5, "ET");
        PutU16(r, EmpTypeVc::OnlyListed, 1);
        uint8_t row[EmpTypeVc::Rows::Size] = {};
        PutText(row, EmpTypeVc::Rows::ItemCode, 20, "DAY");
        MatrixRowPut(EmpTypeVc::Number, 0, r, 0, row);
    });
    struct Case {
        SheetRow bad;
        int text;
        uint32_t column;
    } cases[] = {
        {{"AN", "NOPE", "HOUR", 1}, Texts::TimeProjectMissing, TimeSheetVc::Rows::Project},
        {{"AN", "CLOSED", "HOUR", 1}, Texts::TimeProjectClosed, TimeSheetVc::Rows::Project},
        {{"ZZ", "P1", "HOUR", 1}, Texts::TimePersonMissing, TimeSheetVc::Rows::Person},
        {{"LIM", "P1", "HOUR", 1}, Texts::TimeProjectNotAllowed, TimeSheetVc::Rows::Project},
        {{"TYP", "P1", "HOUR", 1}, Texts::TimeItemNotAllowed, TimeSheetVc::Rows::ItemCode},
        {{"AN", "P1", "NOITEM", 1}, Texts::ItemMissing, TimeSheetVc::Rows::ItemCode},
    };
    RuleRecord sheet(TimeSheetVc::Number);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        MakeSheet(sheet.record, 1, {{"AN", "P1", "HOUR", 1}, c.bad});
        uint32_t recid = 0;
        EXPECT_EQ(InsertSheet(sheet.record, &recid), RecRefused);
        EXPECT_EQ(FieldErrorPos.field, TimeSheetVc::Matrix);
        EXPECT_EQ(FieldErrorPos.row, 1);
        EXPECT_EQ(FieldErrorPos.column, c.column);
        EXPECT_EQ(shown.back(), TextOf(c.text));
    }
    EXPECT_EQ(RegRecordCount(TimeSheetVc::Number), 0u);
    EXPECT_EQ(RegRecordCount(TimeBudgetVc::Number), 0u) << "the good first row was not carried either";
    EXPECT_EQ(RegRecordCount(ProjTransVc::Number), 0u);

    // Allowed: the listed project, the listed item.
    StoreItem("DAY");
    MakeSheet(sheet.record, 1, {{"LIM", "P2", "HOUR", 1}, {"TYP", "P1", "DAY", 1}});
    uint32_t recid = 0;
    EXPECT_EQ(InsertSheet(sheet.record, &recid), RecDone);
    // A number taken already is refused with 1547.
    uint32_t taken = GetU32(sheet.record, TimeSheetVc::SerNr);
    MakeSheet(sheet.record, 0, {{"AN", "P1", "HOUR", 1}});
    PutU32(sheet.record, TimeSheetVc::SerNr, taken);
    EXPECT_EQ(InsertSheet(sheet.record, &recid), RecKeyExists);
}

TEST_F(TimeSheetsTest, SheetsAreNumberedFromTheirSeriesAndPrintingChangesNothing) {
    AddSeriesRow(TimeSheetSeriesBlk::Number, 500, 599);
    RuleRecord sheet(TimeSheetVc::Number);
    MakeSheet(sheet.record, 0, {{"AN", "P1", "HOUR", 1}});
    uint32_t recid = 0;
    ASSERT_EQ(InsertSheet(sheet.record, &recid), RecDone);
    EXPECT_EQ(GetU32(sheet.record, TimeSheetVc::SerNr), 500u);
    MakeSheet(sheet.record, 0, {{"AN", "P1", "HOUR", 1}});
    PutU32(sheet.record, TimeSheetVc::SerNr, 10);
    EXPECT_EQ(InsertSheet(sheet.record, &recid), RecRefused);
    EXPECT_EQ(shown.back(), TextOf(Texts::NumberOutsideSeries));
    // Kind 46 prints (no form here) and leaves the stored sheet as it was.
    RuleRecord stored(TimeSheetVc::Number);
    uint32_t first = 0, position = 0;
    PutU32(stored.record, TimeSheetVc::SerNr, 500);
    ASSERT_TRUE(RecFind(TimeSheetVc::Number, stored.record, 1, 1, &first, &position));
    EXPECT_EQ(PrintTimeSheetForm(TimeSheetVc::Number, stored.record, first), ApproveResult::Unchanged);
    EXPECT_TRUE(ApproveRecord(46, TimeSheetVc::Number, first));
    ASSERT_TRUE(RecReadById(TimeSheetVc::Number, first, stored.record));
    EXPECT_EQ(GetU16(stored.record, TimeSheetVc::Transferred), 0);
    EXPECT_EQ(RegRecordCount(TimeBudgetVc::Number), 0u);
}

TEST_F(TimeSheetsTest, AnImportedSheetWritesItsTransactionsAndLinksOnceAndOnlyWhenSound) {
    RuleRecord sheet(TimeSheetVc::Number);
    MakeSheet(sheet.record, 0, {{"AN", "P1", "HOUR", 2, {3, 6, 2024}}, {"BO", "P1", "HOUR", 1, {3, 6, 2024}}});
    PutU32(sheet.record, TimeSheetVc::SerNr, 44);
    ASSERT_TRUE(ImportEffects.timeSheetProjectTrans && ImportEffects.projectLinkEntries);
    for (int i = 0; i < 2; i++) {
        EXPECT_TRUE(ImportEffects.timeSheetProjectTrans(sheet.record));
        EXPECT_TRUE(ImportEffects.projectLinkEntries(sheet.record));
    }
    EXPECT_EQ(RegRecordCount(ProjTransVc::Number), 2u);
    EXPECT_EQ(RegRecordCount(ProjLinkVc::Number), 1u) << "one project, one date, one sheet";
    MakeSheet(sheet.record, 0, {{"AN", "GONE", "HOUR", 2}});
    PutU32(sheet.record, TimeSheetVc::SerNr, 45);
    EXPECT_FALSE(ImportEffects.timeSheetProjectTrans(sheet.record));
    EXPECT_FALSE(ImportEffects.projectLinkEntries(sheet.record));
    EXPECT_EQ(RegRecordCount(ProjTransVc::Number), 2u);
    // A delivery links its project once; one without a project links none.
    RuleRecord delivery(SHVc::Number);
    PutU32(delivery.record, SHVc::SerNr, 9);
    EXPECT_TRUE(ProjectLinkEntries(SHVc::Number, delivery.record));
    PutText(delivery.record, SHVc::Project, 20, "P1");
    EXPECT_TRUE(ProjectLinkEntries(SHVc::Number, delivery.record));
    EXPECT_TRUE(ProjectLinkEntries(SHVc::Number, delivery.record));
    EXPECT_EQ(RegRecordCount(ProjLinkVc::Number), 2u);
}

TEST_F(TimeSheetsTest, CostRowsMergeOnTextAndWholeUnitPrice) {
    StoreItem("MAT", {.name = "Material"});
    RuleRecord mat(INVc::Number);
    uint8_t code[256];
    PStringFromC(code, "MAT");
    ASSERT_TRUE(ProjectReadByCode(mat, INVc::Code, 20, code));
    PutDec(mat.record, INVc::Markup, Dec(10));
    uint32_t recid = 0;
    ASSERT_TRUE(RecStoreByKey(INVc::Number, mat.record, 1, &recid));
    auto invoice = [&](uint16_t approved, std::initializer_list<std::tuple<const char *, double, double>> rows) {
        RuleRecord pi(VIVc::Number);
        PutU16(pi.record, VIVc::Approved, approved);
        for (auto [text, qty, amount] : rows) {
            uint8_t row[VIVc::Rows::Size] = {};
            PutText(row, VIVc::Rows::Project, 20, "P1");
            PutText(row, VIVc::Rows::ItemCode, 20, "MAT");
            PutText(row, VIVc::Rows::Text, 60, text);
            PutDec(row, VIVc::Rows::Quantity, Dec(qty));
            PutDec(row, VIVc::Rows::Amount, Dec(amount));
            MatrixRowPut(VIVc::Number, 0, pi.record, MatrixRowCount(VIVc::Number, 0, pi.record), row);
        }
        uint8_t none[VIVc::Rows::Size] = {};
        PutText(none, VIVc::Rows::Text, 60, "no project");
        MatrixRowPut(VIVc::Number, 0, pi.record, MatrixRowCount(VIVc::Number, 0, pi.record), none);
        return PurchaseInvoiceToCostBudget(pi.record);
    };
    EXPECT_TRUE(invoice(0, {{"Pipe", 2, 25}}));
    EXPECT_EQ(RegRecordCount(CostBudgetVc::Number), 0u) << "not approved: nothing";
    EXPECT_TRUE(invoice(1, {{"Pipe", 2, 25}, {"Pipe", 1, 13}, {"Pipe", 0, 7}, {"Pipe", 0, 0}}));
    RuleRecord b(CostBudgetVc::Number);
    ASSERT_TRUE(ReadBudget(CostBudgetVc::Number, b.record, "P1", "MAT"));
    ASSERT_EQ(MatrixRowCount(CostBudgetVc::Number, 0, b.record), 2);
    std::vector<uint8_t> r = Row(CostBudgetVc::Number, b.record, 0);
    EXPECT_DOUBLE_EQ(Amount(r.data(), CostBudgetVc::Rows::UnitPrice), 13) << "12.50 becomes 13";
    EXPECT_DOUBLE_EQ(Amount(r.data(), CostBudgetVc::Rows::QtySpent), 3);
    EXPECT_DOUBLE_EQ(Amount(r.data(), CostBudgetVc::Rows::Spent), 41.8) << "38 + 10% surcharge of the item";
    r = Row(CostBudgetVc::Number, b.record, 1);
    EXPECT_TRUE(Blank(r.data(), CostBudgetVc::Rows::UnitPrice)) << "zero quantity: blank price";
    EXPECT_DOUBLE_EQ(Amount(r.data(), CostBudgetVc::Rows::Spent), 7.7);
    EXPECT_DOUBLE_EQ(Amount(b.record, CostBudgetVc::SpentSum), 49.5);
    EXPECT_EQ(Text(b.record, CostBudgetVc::ItemName), "Material");

    // A posted expense adds its amount less VAT.
    RuleRecord ex(ExpenseVc::Number);
    PutU16(ex.record, ExpenseVc::Posted, 1);
    uint8_t row[ExpenseVc::Rows::Size] = {};
    PutText(row, ExpenseVc::Rows::Project, 20, "P1");
    PutText(row, ExpenseVc::Rows::ItemCode, 20, "MAT");
    PutText(row, ExpenseVc::Rows::Text, 20, "Pipe");
    PutDec(row, ExpenseVc::Rows::Quantity, Dec(1));
    PutDec(row, ExpenseVc::Rows::Amount, Dec(16.25));
    PutDec(row, ExpenseVc::Rows::VatAmount, Dec(3.25));
    MatrixRowPut(ExpenseVc::Number, 0, ex.record, 0, row);
    EXPECT_TRUE(ExpenseToCostBudget(ex.record));
    ASSERT_TRUE(ReadBudget(CostBudgetVc::Number, b.record, "P1", "MAT"));
    r = Row(CostBudgetVc::Number, b.record, 0);
    EXPECT_DOUBLE_EQ(Amount(r.data(), CostBudgetVc::Rows::QtySpent), 4) << "13 a unit merges";
}

}  // namespace
