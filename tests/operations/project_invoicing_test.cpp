// Tests of project invoicing: what a trial run and a final run put on the
// invoice and write back, the groupings and detail rows, fixed prices,
// down payments and their settlement, appended projects, the batch over
// many projects; and invoices from the invoicing plan.
#include "tests/operations/project_fixture.h"

#include "core/definitions.h"
#include "operations/run_outcome.h"
#include "operations/sales_invoice.h"
#include "database/access/register_hooks.h"
#include "rules/series_terms.h"

namespace {

// The closing lines the runs put on the status line.
std::vector<std::string> StatusSaid;
void KeepStatus(const uint8_t *text) { StatusSaid.emplace_back(reinterpret_cast<const char *>(text + 1), text[0]); }

class ProjectInvoicingTest : public ProjectFixture {
protected:
    // The job the runs of the test are handed.
    uint8_t selection[ReportParamsSize] = {};
    ReportJob job{selection};
    void SetUp() override {
        ProjectFixture::SetUp();
        StoreCustomer("C1");
        StoreCustomer("C2");
        StoreItem("HOUR", {.group = "G1", .price = 100, .name = "Work hour"});
        StoreItem("TRIP", {.group = "G1", .price = 50, .name = "Travel"});
        StoreItem("DP", {.name = "Down payment"});
        StoreRecord(ITVc::Number, [](uint8_t *g) {
            PutText(g, ITVc::Code, 5, "G1");
            PutText(g, ITVc::Name, 60, "Services");
        });
        std::vector<uint8_t> block(ProjectBlk::Size, 0);
        PutText(block.data(), ProjectBlk::TimeText, 60, "Work done");
        PutText(block.data(), ProjectBlk::CostText, 60, "Costs");
        PutText(block.data(), ProjectBlk::Heading, 60, "Project");
        PutText(block.data(), ProjectBlk::DownPayItem, 20, "DP");
        StoreBlock(ProjectBlk::Number, block.data(), ProjectBlk::Size);
    }
    // The invoice's rows as (kind, text, amount).
    static std::vector<std::tuple<int, std::string, double>> Rows(const uint8_t *inv) {
        std::vector<std::tuple<int, std::string, double>> out;
        for (int32_t i = 0; i < MatrixRowCount(IVVc::Number, 0, inv); i++) {
            std::vector<uint8_t> r = Row(IVVc::Number, inv, i);
            out.emplace_back(GetU16(r.data(), IVVc::Rows::Kind), Text(r.data(), IVVc::Rows::Text),
                             Amount(r.data(), IVVc::Rows::Sum));
        }
        return out;
    }
    // Reads the project of code into rec.
    static void ReadProject(RuleRecord &rec, const char *code) {
        uint8_t c[256];
        PStringFromC(c, code);
        ASSERT_TRUE(ProjectReadByCode(rec, ProjectVc::Code, 20, c));
    }
    // Every byte of the budgets of reg, record after record.
    static std::vector<uint8_t> AllBudgets(int reg) {
        std::vector<uint8_t> all;
        RuleRecord rec(reg);
        uint32_t recid = 0;
        for (int32_t p = 1; RecReadAt(reg, p, rec.record, &recid); p++) {
            // The rows handle differs from read to read: compare the rows.
            size_t at = all.size() + (reg == TimeBudgetVc::Number ? TimeBudgetVc::Matrix : CostBudgetVc::Matrix);
            all.insert(all.end(), rec.record, rec.record + RegRecordSize(reg));
            std::memset(all.data() + at, 0, 4);
            for (int32_t i = 0; i < MatrixRowCount(reg, 0, rec.record); i++) {
                std::vector<uint8_t> r = Row(reg, rec.record, i);
                all.insert(all.end(), r.begin(), r.end());
            }
        }
        return all;
    }
    // Adds a plan line to the project record.
    static void PlanLine(uint8_t *p, DateRec date, const char *amount, const char *text) {
        uint8_t line[ProjectVc::Rows::Size] = {};
        PutDate(line, ProjectVc::Rows::PlanDate, date);
        PutU32(line, ProjectVc::Rows::InvoiceNr, SerialNone);
        PutText(line, ProjectVc::Rows::AmountText, 20, amount);
        PutText(line, ProjectVc::Rows::Text, 60, text);
        ASSERT_TRUE(MatrixRowPut(ProjectVc::Number, 0, p, MatrixRowCount(ProjectVc::Number, 0, p), line));
    }
};

TEST_F(ProjectInvoicingTest, ATrialChangesNothingAndASecondFinalRunInvoicesNothing) {
    StoreProject("P1", "C1", [](uint8_t *p) { PutU16(p, ProjectVc::PrintHeading, 1); });
    StoreTimeBudget("P1", "HOUR", {{"AN", "", "", 2}, {"BO", "", "", 3}});
    StoreCostBudget("P1", "TRIP", "Train", 1, 40);
    RuleRecord project(ProjectVc::Number), inv(IVVc::Number);
    ReadProject(project, "P1");
    std::vector<uint8_t> time = AllBudgets(TimeBudgetVc::Number), cost = AllBudgets(CostBudgetVc::Number);
    PackedDecimal before, budget, timeAmount, costAmount;
    ASSERT_TRUE(ProjectInvoicing(job.selection, project.record, inv.record, false, false, false,
                                 {&before, &budget, &timeAmount, &costAmount}));
    EXPECT_EQ(DecToDouble(&timeAmount), 500);
    EXPECT_EQ(DecToDouble(&costAmount), 40);
    EXPECT_EQ(Rows(inv.record), (std::vector<std::tuple<int, std::string, double>>{{1, "Work done", 500}, {1, "Costs", 40}}))
        << "a trial run has no heading rows";
    EXPECT_EQ(Text(inv.record, IVVc::CustCode), "C1");
    EXPECT_EQ(Text(inv.record, IVVc::Project), "P1");
    EXPECT_EQ(AllBudgets(TimeBudgetVc::Number), time);
    EXPECT_EQ(AllBudgets(CostBudgetVc::Number), cost);

    ASSERT_TRUE(ProjectInvoicing(job.selection, project.record, inv.record, true, false, false, {}));
    EXPECT_EQ(Rows(inv.record), (std::vector<std::tuple<int, std::string, double>>{
                                    {1, "Project P1", 0}, {1, " ", 0}, {1, "Work done", 500}, {1, "Costs", 40}}));
    EXPECT_DOUBLE_EQ(Amount(inv.record, IVVc::Net), 540);
    RuleRecord b(TimeBudgetVc::Number);
    ASSERT_TRUE(ReadBudget(TimeBudgetVc::Number, b.record, "P1", "HOUR"));
    EXPECT_DOUBLE_EQ(Amount(b.record, TimeBudgetVc::Invoiced), 500);
    EXPECT_DOUBLE_EQ(Amount(b.record, TimeBudgetVc::ToInvoice), 0);
    std::vector<uint8_t> r = Row(TimeBudgetVc::Number, b.record, 1);
    EXPECT_TRUE(Blank(r.data(), TimeBudgetVc::Rows::QtyToInvoice));
    EXPECT_DOUBLE_EQ(Amount(r.data(), TimeBudgetVc::Rows::QtyInvoiced), 3);
    RuleRecord c(CostBudgetVc::Number);
    ASSERT_TRUE(ReadBudget(CostBudgetVc::Number, c.record, "P1", "TRIP"));
    EXPECT_DOUBLE_EQ(Amount(c.record, CostBudgetVc::Invoiced), 40);
    EXPECT_DOUBLE_EQ(Amount(Row(CostBudgetVc::Number, c.record, 0).data(), CostBudgetVc::Rows::Invoiced), 40);

    ASSERT_TRUE(ProjectInvoicing(job.selection, project.record, inv.record, true, false, false, {}));
    EXPECT_FALSE(InvoiceHasRows(inv.record)) << "nothing is left to invoice";
}

TEST_F(ProjectInvoicingTest, GroupingsAndDetailRows) {
    struct Case {
        uint16_t grouping, detail;
        std::vector<std::tuple<int, std::string, double>> want;
    } cases[] = {
        // Hours share a row only with hours of the same item and price.
        {0, 0, {{1, "Work done", 500}, {1, "Work done", 150}}},
        {1, 0, {{1, "Services", 500}, {1, "Services", 150}}},
        {2, 0, {{1, "HOUR", 500}, {1, "TRIP", 150}}},
        {0, 1, {{1, "Work done, AN", 200}, {1, "Work done, BO", 300}, {1, "Work done, AN", 150}}},
        {1, 1, {{1, "Services, AN", 200}, {1, "Services, BO", 300}, {1, "Services, AN", 150}}},
        {2, 1, {{1, "HOUR, AN", 200}, {1, "HOUR, BO", 300}, {1, "TRIP, AN", 150}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.grouping * 10 + c.detail);
        RegDeleteAll(TimeBudgetVc::Number);
        RegDeleteAll(ProjectVc::Number);
        StoreProject("P1", "C1", [&](uint8_t *p) { PutU16(p, ProjectVc::TimeGrouping, c.grouping); });
        StoreTimeBudget("P1", "HOUR", {{"AN", "", "", 2}, {"BO", "", "", 3}}, 100, c.detail);
        StoreTimeBudget("P1", "TRIP", {{"AN", "", "", 3}}, 50);
        RuleRecord project(ProjectVc::Number), inv(IVVc::Number);
        ReadProject(project, "P1");
        ASSERT_TRUE(ProjectInvoicing(job.selection, project.record, inv.record, false, c.detail != 0, false, {}));
        EXPECT_EQ(Rows(inv.record), c.want);
        if (c.detail) {
            std::vector<uint8_t> r = Row(IVVc::Number, inv.record, 1);
            EXPECT_DOUBLE_EQ(Amount(r.data(), IVVc::Rows::Quantity), 3);
            EXPECT_DOUBLE_EQ(Amount(r.data(), IVVc::Rows::Price), 100);
            EXPECT_EQ(Text(r.data(), IVVc::Rows::ItemCode), "HOUR");
        }
        // Every row of hours reads as item, hours times price.
        const char *items[] = {"HOUR", "TRIP"};
        const double hours[] = {5, 3}, prices[] = {100, 50};
        for (int32_t i = 0; !c.detail && i < 2; i++) {
            std::vector<uint8_t> r = Row(IVVc::Number, inv.record, i);
            EXPECT_EQ(Text(r.data(), IVVc::Rows::ItemCode), items[i]) << i;
            EXPECT_DOUBLE_EQ(Amount(r.data(), IVVc::Rows::Quantity), hours[i]) << i;
            EXPECT_DOUBLE_EQ(Amount(r.data(), IVVc::Rows::Price), prices[i]) << i;
        }
    }
}

// A project's hours on a final invoice as the demo company makes it (no
// default row text): the row of hours names its item, the hours of two
// persons at one price add up, and the invoice passes the invoice checks.
TEST_F(ProjectInvoicingTest, HoursComeOutAsItemHoursAndPrice) {
    std::vector<uint8_t> block(ProjectBlk::Size, 0);
    PutText(block.data(), ProjectBlk::DownPayItem, 20, "DP");
    StoreBlock(ProjectBlk::Number, block.data(), ProjectBlk::Size);
    StoreItem("WORK", {.price = 80, .vatCode = "1", .name = "Work hour"});
    StoreProject("P1", "C1", [](uint8_t *p) { PutU16(p, ProjectVc::PrintHeading, 1); });
    StoreTimeBudget("P1", "WORK", {{"AN", "", "", 2}, {"BO", "", "", 1.5}}, 80);
    RuleRecord project(ProjectVc::Number), inv(IVVc::Number);
    ReadProject(project, "P1");
    ASSERT_TRUE(ProjectInvoicing(job.selection, project.record, inv.record, true, false, false, {}));
    const int32_t n = MatrixRowCount(IVVc::Number, 0, inv.record);
    ASSERT_GE(n, 1);
    std::vector<uint8_t> r = Row(IVVc::Number, inv.record, n - 1);
    EXPECT_EQ(Text(r.data(), IVVc::Rows::Text), "Work hour");
    EXPECT_EQ(Text(r.data(), IVVc::Rows::ItemCode), "WORK");
    EXPECT_DOUBLE_EQ(Amount(r.data(), IVVc::Rows::Quantity), 3.5);
    EXPECT_DOUBLE_EQ(Amount(r.data(), IVVc::Rows::Price), 80);
    EXPECT_DOUBLE_EQ(Amount(r.data(), IVVc::Rows::Sum), 280);
    EXPECT_EQ(ValidateRecord(IVVc::Number, inv.record, nullptr, 1), 0)
        << "told " << ::testing::PrintToString(shown);
}

TEST_F(ProjectInvoicingTest, FixedPricesDownPaymentsAndTheSettlement) {
    StoreProject("FIX", "C1", [&](uint8_t *p) {
        PutU16(p, ProjectVc::TimeMode, 2);
        PutU16(p, ProjectVc::CostMode, 2);
        PutDec(p, ProjectVc::FixedTime, Dec(3000));
        PutDec(p, ProjectVc::FixedCost, Dec(500));
        PlanLine(p, {1, 5, 2024}, "1000", "First part");
        PlanLine(p, {1, 6, 2024}, "500", "Second part");
        PlanLine(p, {1, 9, 2024}, "800", "Not yet");
    });
    StoreTimeBudget("FIX", "HOUR", {{"AN", "", "", 2}});
    RuleRecord project(ProjectVc::Number), inv(IVVc::Number);
    ReadProject(project, "FIX");
    PackedDecimal budget;
    ASSERT_TRUE(ProjectInvoicing(job.selection, project.record, inv.record, false, false, false,
                                 {nullptr, &budget, nullptr, nullptr}));
    EXPECT_EQ(Rows(inv.record), (std::vector<std::tuple<int, std::string, double>>{{5, "Second part", 1500}}))
        << "the down payments due; fixed price: no budget rows";
    EXPECT_DOUBLE_EQ(DecToDouble(&budget), 3500);

    // 1500 invoiced already, then an "=" line: the fixed prices less all
    // down payments.
    PutDec(project.record, ProjectVc::DownPayInvoiced, Dec(1500));
    PlanLine(project.record, {1, 12, 2024}, "=", "Final settlement");
    ASSERT_TRUE(ProjectInvoicing(job.selection, project.record, inv.record, false, false, false, {}));
    EXPECT_EQ(Rows(inv.record), (std::vector<std::tuple<int, std::string, double>>{{5, "Final settlement", 2000}}));
}

TEST_F(ProjectInvoicingTest, DownPaymentsInvoicedBeforeAreDeductedUpToTheNet) {
    StoreProject("P1", "C1", [&](uint8_t *p) {
        PlanLine(p, {1, 5, 2024}, "800", "Advance");
        PutDec(p, ProjectVc::DownPayInvoiced, Dec(800));
    });
    StoreTimeBudget("P1", "HOUR", {{"AN", "", "", 3}});
    RuleRecord project(ProjectVc::Number), inv(IVVc::Number);
    ReadProject(project, "P1");
    ASSERT_TRUE(ProjectInvoicing(job.selection, project.record, inv.record, false, false, false, {}));
    EXPECT_EQ(Rows(inv.record), (std::vector<std::tuple<int, std::string, double>>{{1, "Work done", 300}, {5, "", -300}}))
        << "800 deducted only down to a net of zero";
    EXPECT_DOUBLE_EQ(Amount(inv.record, IVVc::Net), 0);
    EXPECT_TRUE(InvoiceHasRows(inv.record)) << "rows that cancel still carry the budget's amounts";
}

TEST_F(ProjectInvoicingTest, TheBatchStoresEachInvoiceOnceAndAppendsOneCustomersProjects) {
    for (const char *code : {"PA", "PB"}) {
        StoreProject(code, "C1", [](uint8_t *p) { PutU16(p, ProjectVc::PrintHeading, 1); });
        StoreTimeBudget(code, "HOUR", {{"AN", "", "", 1}});
    }
    StoreProject("PC", "C2");
    StoreTimeBudget("PC", "HOUR", {{"AN", "", "", 2}});
    StoreProject("PD", "C2", [](uint8_t *p) { PutU16(p, ProjectVc::NoInvoice, 1); });
    StoreTimeBudget("PD", "HOUR", {{"AN", "", "", 2}});
    std::memset(job.selection, 0, ReportParamsSize);
    PutU16(job.selection, ReportParamsVc::Option6, 1);
    ASSERT_TRUE(InvoicesFromProjects(job));
    EXPECT_EQ(RegRecordCount(IVVc::Number), 2u) << "C1's two projects on one invoice, C2's one";
    RuleRecord inv(IVVc::Number);
    PutText(inv.record, IVVc::CustCode, 20, "C1");
    uint32_t recid = 0, position = 0;
    ASSERT_TRUE(RecFindByIndex(IVVc::Number, "CustCode", inv.record, 1, 1, &recid, &position));
    EXPECT_EQ(Rows(inv.record), (std::vector<std::tuple<int, std::string, double>>{
                                    {1, "Project PA", 0}, {1, " ", 0}, {1, "Work done", 100},
                                    {1, " ", 0}, {1, " ", 0}, {1, "Project PB", 0}, {1, " ", 0},
                                    {1, "Work done", 100}}))
        << "an appended project starts after two single-space rows";
    RuleRecord b(TimeBudgetVc::Number);
    ASSERT_TRUE(ReadBudget(TimeBudgetVc::Number, b.record, "PD", "HOUR"));
    EXPECT_DOUBLE_EQ(Amount(b.record, TimeBudgetVc::Invoiced), 0) << "not to be invoiced";

    ASSERT_TRUE(InvoicesFromProjects(job));
    EXPECT_EQ(RegRecordCount(IVVc::Number), 2u) << "a second run finds nothing left";
    PutU16(job.selection, ReportParamsVc::Option6, 0);
    ASSERT_TRUE(InvoicesFromProjects(job));
    EXPECT_EQ(RegRecordCount(IVVc::Number), 2u);
}

// An invoice whose rows cancel (the hours equal the down payments
// deducted) still carries what its budgets now say is invoiced: it is
// stored mid-walk as at the end.
TEST_F(ProjectInvoicingTest, AnInvoiceWhoseRowsCancelIsStoredWithItsBudgets) {
    StoreProject("PA", "C1", [&](uint8_t *p) {
        PlanLine(p, {1, 5, 2024}, "300", "Advance");
        PutDec(p, ProjectVc::DownPayInvoiced, Dec(300));
    });
    StoreTimeBudget("PA", "HOUR", {{"AN", "", "", 3}});
    StoreProject("PB", "C2");
    StoreTimeBudget("PB", "HOUR", {{"AN", "", "", 1}});
    std::memset(job.selection, 0, ReportParamsSize);
    ASSERT_TRUE(InvoicesFromProjects(job));
    EXPECT_EQ(RegRecordCount(IVVc::Number), 2u);
    RuleRecord inv(IVVc::Number);
    PutText(inv.record, IVVc::CustCode, 20, "C1");
    uint32_t recid = 0, position = 0;
    ASSERT_TRUE(RecFindByIndex(IVVc::Number, "CustCode", inv.record, 1, 1, &recid, &position));
    EXPECT_DOUBLE_EQ(Amount(inv.record, IVVc::Total), 0);
    EXPECT_EQ(Rows(inv.record), (std::vector<std::tuple<int, std::string, double>>{{1, "Work done", 300}, {5, "", -300}}));
    RuleRecord b(TimeBudgetVc::Number);
    ASSERT_TRUE(ReadBudget(TimeBudgetVc::Number, b.record, "PA", "HOUR"));
    EXPECT_DOUBLE_EQ(Amount(b.record, TimeBudgetVc::Invoiced), 300);
    RuleRecord project(ProjectVc::Number);
    ReadProject(project, "PA");
    EXPECT_DOUBLE_EQ(Amount(project.record, ProjectVc::DownPayDeducted), -300) << "the stored invoice's deduction";
}

// The plan's run says what it did each time: the invoice made with its
// number, nothing due, no free number (a failure, not a success), no
// such project.
TEST_F(ProjectInvoicingTest, PlanInvoicesInvoiceWhatIsDueOnceAndOnlyWithANumber) {
    StoreProject("PL", "C1", [&](uint8_t *p) {
        PlanLine(p, {1, 5, 2024}, "1000", "");
        PlanLine(p, {1, 6, 2024}, "500", "");
        PlanLine(p, {1, 7, 2024}, "700", "");
        PutDec(p, ProjectVc::DownPayInvoiced, Dec(1000));
    });
    uint8_t code[256];
    PStringFromC(code, "PL");
    const RunOutcomeUiRec saved = RunOutcomeUi;
    RunOutcomeUi = RunOutcomeUiRec{};
    RunOutcomeUi.status = KeepStatus;
    StatusSaid.clear();
    uint32_t made = 0;
    shown.clear();
    ASSERT_TRUE(ProjectPlanInvoiceRun(code, &made));
    ASSERT_EQ(RegRecordCount(IVVc::Number), 1u);
    RuleRecord inv(IVVc::Number), project(ProjectVc::Number);
    ASSERT_TRUE(RecReadById(IVVc::Number, made, inv.record)) << "the run gives the invoice's record id";
    // The plan lines have no words: the amount row takes the down-payment
    // item's name. No blank row stands before it.
    EXPECT_EQ(Rows(inv.record), (std::vector<std::tuple<int, std::string, double>>{{5, "Down payment", 500}}));
    ReadProject(project, "PL");
    EXPECT_DOUBLE_EQ(Amount(project.record, ProjectVc::DownPayInvoiced), 1500);
    uint32_t serial = GetU32(inv.record, IVVc::SerNr);
    for (int32_t i = 0; i < 3; i++)
        EXPECT_EQ(GetU32(Row(ProjectVc::Number, project.record, i).data(), ProjectVc::Rows::InvoiceNr),
                  i < 2 ? serial : SerialNone) << i;
    EXPECT_EQ(StatusSaid, std::vector<std::string>{"1 invoice made, numbers " + std::to_string(serial)});
    EXPECT_TRUE(shown.empty()) << "an invoice made is told on the status line only";

    // Nothing due beyond what is invoiced: no invoice, also with a
    // positive last line; told in a message too.
    const std::string nothing = TextOf(Texts::RunNothingInvoiced) + TextOf(Texts::RunWhyPlanNothingDue);
    ASSERT_TRUE(ProjectPlanInvoiceRun(code, &made));
    EXPECT_EQ(made, SerialNone);
    EXPECT_EQ(RegRecordCount(IVVc::Number), 1u);
    EXPECT_EQ(StatusSaid.back(), nothing);
    EXPECT_EQ(shown, std::vector<std::string>{nothing});
    // No free number: nothing stored, no line marked, and told as a failure.
    TodayDate = DateRec{15, 7, 2024};
    AddSeriesRow(SeriesBlockOfRegister(IVVc::Number), serial, serial);
    PlanInvoiceOutcome outcome;
    EXPECT_FALSE(ProjectToInvoice(code, &outcome));
    EXPECT_EQ(outcome.result, PlanInvoiceResult::NumbersUsedUp);
    shown.clear();
    EXPECT_FALSE(ProjectPlanInvoiceRun(code, &made));
    EXPECT_EQ(made, SerialNone);
    EXPECT_EQ(shown, std::vector<std::string>{"1 " + TextOf(Texts::RunPlanNoNumber)});
    RunOutcomeUi = saved;
    EXPECT_EQ(RegRecordCount(IVVc::Number), 1u);
    ReadProject(project, "PL");
    EXPECT_EQ(GetU32(Row(ProjectVc::Number, project.record, 2).data(), ProjectVc::Rows::InvoiceNr), SerialNone);
    EXPECT_DOUBLE_EQ(Amount(project.record, ProjectVc::DownPayInvoiced), 1500);
    uint8_t missing[256];
    PStringFromC(missing, "NONE");
    EXPECT_TRUE(ProjectToInvoice(missing, &outcome));
    EXPECT_EQ(outcome.result, PlanInvoiceResult::NoProject);
}

TEST_F(ProjectInvoicingTest, PlanInvoiceTextRowsFollowTheProjectsWords) {
    struct Case {
        uint16_t heading, name, ref, desc;
        const char *d2, *d3;
        int32_t rows;
    } cases[] = {
        // Only the rows that carry a text: no blank row between or after
        // them, which a printed invoice would show as empty lines.
        {0, 0, 0, 0, "", "", 0},
        {1, 0, 0, 0, "", "", 1},
        {1, 1, 1, 0, "", "", 3},
        {0, 0, 0, 1, "Line 2", "", 2},
        {0, 0, 0, 1, "", "Line 3", 2},
        {0, 0, 0, 1, "Line 2", "Line 3", 3},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.rows);
        RuleRecord project(ProjectVc::Number), inv(IVVc::Number);
        PutText(project.record, ProjectVc::Code, 20, "PX");
        PutText(project.record, ProjectVc::CustCode, 20, "C1");
        PutText(project.record, ProjectVc::Name, 60, "Name");
        PutText(project.record, ProjectVc::Reference, 60, "Ref");
        PutText(project.record, ProjectVc::Desc1, 60, "Line 1");
        PutText(project.record, ProjectVc::Desc2, 60, c.d2);
        PutText(project.record, ProjectVc::Desc3, 60, c.d3);
        PutU16(project.record, ProjectVc::PrintHeading, c.heading);
        PutU16(project.record, ProjectVc::PrintName, c.name);
        PutU16(project.record, ProjectVc::PrintRef, c.ref);
        PutU16(project.record, ProjectVc::PrintDesc, c.desc);
        ASSERT_TRUE(InvoiceFromPercentage(inv.record, project.record));
        EXPECT_EQ(MatrixRowCount(IVVc::Number, 0, inv.record), c.rows);
        for (const auto &row : Rows(inv.record))
            EXPECT_NE(std::get<1>(row).find_first_not_of(' '), std::string::npos) << "a blank row";
        if (c.heading) {
            EXPECT_EQ(std::get<1>(Rows(inv.record)[0]), "Project PX");
        }
        EXPECT_EQ(Text(inv.record, IVVc::CustCode), "C1");
    }
}

TEST_F(ProjectInvoicingTest, CustomerDataAndDeliveryLinesCopiedWhole) {
    StoreRecord(CUVc::Number, [](uint8_t *c) {
        PutText(c, CUVc::Code, 20, "DL");
        PutText(c, CUVc::Name, 60, "Delivery Ltd");
        PutText(c, CUVc::Addr1, 60, "Post 1");
        PutText(c, CUVc::DelAddr1, 60, "Dock 1");
        PutText(c, CUVc::DelAddr2, 60, "Dock 2");
        PutText(c, CUVc::DelAddr3, 60, "Dock 3");
        PutText(c, CUVc::CurncyCode, 5, "EUR");
        PutText(c, CUVc::LangCode, 5, "EN");
        PutU16(c, CUVc::VatZone, 1);
    });
    RuleRecord inv(IVVc::Number);
    PutText(inv.record, IVVc::CustCode, 20, "DL");
    ASSERT_TRUE(CopyCustomerToDocument(inv.record));
    EXPECT_EQ(Text(inv.record, IVVc::Addr0), "Delivery Ltd");
    EXPECT_EQ(Text(inv.record, IVVc::Addr1), "Post 1");
    EXPECT_EQ(Text(inv.record, IVVc::DelAddr0), "Delivery Ltd");
    EXPECT_EQ(Text(inv.record, IVVc::DelAddr1), "Dock 1");
    EXPECT_EQ(Text(inv.record, IVVc::DelAddr2), "Dock 2");
    EXPECT_EQ(Text(inv.record, IVVc::DelAddr3), "Dock 3");
    EXPECT_EQ(Text(inv.record, IVVc::CurncyCode), "EUR");
    EXPECT_EQ(GetU16(inv.record, IVVc::VatZone), 1);
    // A customer without delivery lines empties all four stale ones.
    PutText(inv.record, IVVc::CustCode, 20, "C1");
    ASSERT_TRUE(CopyCustomerToDocument(inv.record));
    for (uint32_t at : {IVVc::DelAddr0, IVVc::DelAddr1, IVVc::DelAddr2, IVVc::DelAddr3}) EXPECT_EQ(Text(inv.record, at), "");
    PutText(inv.record, IVVc::CustCode, 20, "NOBODY");
    EXPECT_FALSE(CopyCustomerToDocument(inv.record));

    // An item row in the invoice's terms: price by the rate, cost, amount.
    PutDec(inv.record, IVVc::Rate, Dec(200));
    uint8_t row[IVVc::Rows::Size] = {};
    PutU16(row, IVVc::Rows::Kind, 1);
    PutDec(row, IVVc::Rows::Quantity, Dec(3));
    ASSERT_TRUE(MatrixRowPut(IVVc::Number, 0, inv.record, 0, row));
    RuleRecord item(INVc::Number);
    uint8_t code[256];
    PStringFromC(code, "HOUR");
    ASSERT_TRUE(ProjectReadByCode(item, INVc::Code, 20, code));
    PutDec(item.record, INVc::CostPrice, Dec(30));
    PutDec(item.record, INVc::AddCost, Dec(5));
    AddInvoiceItemRow(inv.record, item.record, 0);
    std::vector<uint8_t> r = Row(IVVc::Number, inv.record, 0);
    EXPECT_EQ(Text(r.data(), IVVc::Rows::ItemCode), "HOUR");
    EXPECT_EQ(Text(r.data(), IVVc::Rows::Text), "Work hour");
    EXPECT_DOUBLE_EQ(Amount(r.data(), IVVc::Rows::Price), 50) << "halved at rate 200";
    EXPECT_DOUBLE_EQ(Amount(r.data(), IVVc::Rows::UnitCost), 35);
    EXPECT_DOUBLE_EQ(Amount(r.data(), IVVc::Rows::Sum), 150);
}

}  // namespace
