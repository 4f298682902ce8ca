// project_reports_test.cpp - the project reports 68, 69, 70 and 115 over a
// company with projects, budgets and time sheets, compared with their
// kept text-file output; the figures a user relies on checked one by one:
// the budget filter, the hours a transaction stands for, the first day of
// the period, a last person with only hours not charged, Esc.
//
// The company (on top of the report fixture's, today 15.3.2024):
//   persons AN (Anna North), BO (Bo Olsen), CE (Cy East)
//   P1  C1  "Road works"   leader AN, down payments 100 invoiced, 50
//           deducted, a plan line of 300 due 1.3.2024; time budget ITEM1
//           (AN 10/5/2 at 100, BO 4/4/0 at 80); cost budget SERVICE (a
//           train row, 2/1 at 50, 10 % surcharge, 55 spent)
//   P2  C2  "Bridge"       leader BO, hours not chargeable; time budget
//           ITEM1 (BO 2/2/0 at 100)
//   P3  C1  "Old shed"     closed
//   P4  C2  "Done deal"    leader AN, filter code "X"; its one budget row
//           wholly invoiced
//   time sheet 1: AN 4.3 P1 3 h and 1 h (one transaction), AN 5.3 P2 2 h,
//                 BO 4.3 P1 4 h, CE 6.3 P2 1 h
//   time sheet 2: AN 20.3 P1 1 h, BO 1.3 P2 2 h
#include <gtest/gtest.h>

#include <string>

#include "platform/queue.h"
#include "reports/frame/report_frame.h"
#include "reports/projects/project_reports.h"
#include "rules/project_budget_lines.h"
#include "tests/output/output_recorder.h"
#include "tests/output/test_job.h"
#include "tests/reports/report_fixture.h"

namespace {

namespace P = ReportParamsVc;

class ProjectReportsTest : public ReportFixture {
protected:
    void SetUp() override {
        ReportFixture::SetUp();
        if (HasFatalFailure()) return;
        StorePerson("AN", "Anna North");
        StorePerson("BO", "Bo Olsen");
        StorePerson("CE", "Cy East");
        StoreProject("P1", "C1", "Road works", [](uint8_t *p) {
            PutText(p, ProjectVc::Leader, 5, "AN");
            PutText(p, ProjectVc::LeaderName, 60, "Anna North");
            PutText(p, ProjectVc::CustName, 60, "First customer");
            PutText(p, ProjectVc::Desc1, 60, "Resurfacing");
            PutText(p, ProjectVc::Reference, 60, "Order 77");
            PutDate(p, ProjectVc::Date370, DateRec{1, 2, 2024});
            PutDec(p, ProjectVc::DownPayInvoiced, Dec(100));
            PutDec(p, ProjectVc::DownPayDeducted, Dec(50));
            uint8_t line[ProjectVc::Rows::Size] = {};
            PutDate(line, ProjectVc::Rows::PlanDate, DateRec{1, 3, 2024});
            PutText(line, ProjectVc::Rows::AmountText, 20, "300");
            PutText(line, ProjectVc::Rows::Text, 60, "First part");
            ASSERT_TRUE(MatrixRowPut(ProjectVc::Number, 0, p, 0, line));
        });
        StoreProject("P2", "C2", "Bridge", [](uint8_t *p) {
            PutText(p, ProjectVc::Leader, 5, "BO");
            PutU16(p, ProjectVc::NotChargeable, 1);
        });
        StoreProject("P3", "C1", "Old shed", [](uint8_t *p) { PutU16(p, ProjectVc::Closed, 1); });
        StoreProject("P4", "C2", "Done deal", [](uint8_t *p) {
            PutText(p, ProjectVc::Leader, 5, "AN");
            PutText(p, ProjectVc::FilterCode, 5, "X");
        });
        StoreTimeBudget("P1", {{"AN", 10, 5, 2, 3, 100}, {"BO", 4, 4, 0, 4, 80}});
        StoreTimeBudget("P2", {{"BO", 2, 2, 0, 2, 100}});
        StoreTimeBudget("P4", {{"AN", 1, 1, 1, 0, 100}});
        StoreRecord(CostBudgetVc::Number, [&](uint8_t *b) {
            PutText(b, CostBudgetVc::Project, 20, "P1");
            PutText(b, CostBudgetVc::ItemCode, 20, "SERVICE");
            PutText(b, CostBudgetVc::ItemName, 60, "Travel");
            PutDec(b, CostBudgetVc::Budget, Dec(110));
            PutDec(b, CostBudgetVc::SpentSum, Dec(55));
            PutDec(b, CostBudgetVc::Invoiced, Dec(0));
            uint8_t row[CostBudgetVc::Rows::Size] = {};
            PutText(row, CostBudgetVc::Rows::Text, 60, "Train");
            PutDec(row, CostBudgetVc::Rows::BudgetQty, Dec(2));
            PutDec(row, CostBudgetVc::Rows::QtySpent, Dec(1));
            PutDec(row, CostBudgetVc::Rows::UnitPrice, Dec(50));
            PutDec(row, CostBudgetVc::Rows::Surcharge, Dec(10));
            PutDec(row, CostBudgetVc::Rows::Spent, Dec(55));
            PutDec(row, CostBudgetVc::Rows::Invoiced, Dec(0));
            ASSERT_TRUE(MatrixRowPut(CostBudgetVc::Number, 0, b, 0, row));
        });
        StoreSheet(1, {{"AN", {4, 3, 2024}, "P1", 3, "Survey"},
                       {"AN", {4, 3, 2024}, "P1", 1, "Survey again"},
                       {"AN", {5, 3, 2024}, "P2", 2, "Drawings"},
                       {"BO", {4, 3, 2024}, "P1", 4, "Digging"},
                       {"CE", {6, 3, 2024}, "P2", 1, "Visit"}});
        StoreSheet(2, {{"AN", {20, 3, 2024}, "P1", 1, "Late"}, {"BO", {1, 3, 2024}, "P2", 2, "Piles"}});
    }

    // One time-budget row: person, budgeted, spent, invoiced, to invoice, price.
    struct BudgetRow {
        const char *person;
        double budget, spent, invoiced, toInvoice, price;
    };
    // One time-sheet row (item ITEM1).
    struct SheetRow {
        const char *person;
        DateRec date;
        const char *project;
        double hours;
        const char *text;
    };

    void StorePerson(const char *code, const char *name) {
        StoreRecord(PEVc::Number, [&](uint8_t *r) {
            PutText(r, PEVc::Code, 5, code);
            PutText(r, PEVc::Name, 60, name);
        });
    }
    template <typename Fill>
    void StoreProject(const char *code, const char *customer, const char *name, Fill fill) {
        StoreRecord(ProjectVc::Number, [&](uint8_t *p) {
            PutText(p, ProjectVc::Code, 20, code);
            PutText(p, ProjectVc::CustCode, 20, customer);
            PutText(p, ProjectVc::Name, 60, name);
            fill(p);
        });
    }
    // The time budget of project and ITEM1; its totals from the rows.
    void StoreTimeBudget(const char *project, std::initializer_list<BudgetRow> rows) {
        namespace T = TimeBudgetVc;
        StoreRecord(T::Number, [&](uint8_t *b) {
            PutText(b, T::Project, 20, project);
            PutText(b, T::ItemCode, 20, "ITEM1");
            PutText(b, T::ItemName, 60, "Work hour");
            double budget = 0, toInvoice = 0, invoiced = 0;
            int32_t i = 0;
            for (const BudgetRow &r : rows) {
                uint8_t row[T::Rows::Size] = {};
                PutText(row, T::Rows::Person, 5, r.person);
                PutDec(row, T::Rows::BudgetQty, Dec(r.budget));
                PutDec(row, T::Rows::QtySpent, Dec(r.spent));
                PutDec(row, T::Rows::QtyInvoiced, Dec(r.invoiced));
                PutDec(row, T::Rows::QtyToInvoice, Dec(r.toInvoice));
                PutDec(row, T::Rows::Qty42, Dec(r.spent * r.price));
                PutDec(row, T::Rows::Price, Dec(r.price));
                PutDec(row, T::Rows::CostInvoiced, Dec(r.invoiced * 40));
                PutDec(row, T::Rows::CostSpent, Dec(r.toInvoice * 40));
                ASSERT_TRUE(MatrixRowPut(T::Number, 0, b, i++, row));
                budget += r.budget * r.price;
                toInvoice += r.toInvoice * r.price;
                invoiced += r.invoiced * r.price;
            }
            PutDec(b, T::Budget, Dec(budget));
            PutDec(b, T::ToInvoice, Dec(toInvoice));
            PutDec(b, T::Invoiced, Dec(invoiced));
        });
    }
    // A time sheet and its project transactions, one per distinct
    // (person, date, item, project), as the carry-over writes them.
    void StoreSheet(uint32_t serial, std::initializer_list<SheetRow> rows) {
        namespace TS = TimeSheetVc;
        StoreRecord(TS::Number, [&](uint8_t *s) {
            PutU32(s, TS::SerNr, serial);
            PutDate(s, TS::RegDate, DateRec{1, 3, 2024});
            PutU16(s, TS::Transferred, 1);
            int32_t i = 0;
            for (const SheetRow &r : rows) {
                uint8_t row[TS::Rows::Size] = {};
                PutDate(row, TS::Rows::RowDate, r.date);
                PutText(row, TS::Rows::Person, 5, r.person);
                PutText(row, TS::Rows::Project, 20, r.project);
                PutText(row, TS::Rows::ItemCode, 20, "ITEM1");
                PutDec(row, TS::Rows::Quantity, Dec(r.hours));
                PutText(row, TS::Rows::WorkText, 60, r.text);
                ASSERT_TRUE(MatrixRowPut(TS::Number, 0, s, i++, row));
            }
        });
        for (const SheetRow &r : rows) {
            StoreRecord(ProjTransVc::Number, [&](uint8_t *t) {
                PutText(t, ProjTransVc::Person, 5, r.person);
                PutDate(t, ProjTransVc::TransDate, r.date);
                PutU32(t, ProjTransVc::SheetNr, serial);
                PutText(t, ProjTransVc::ItemCode, 20, "ITEM1");
                PutText(t, ProjTransVc::Project, 20, r.project);
            });
        }
    }
    // A fresh job record of the period 1.3.2024 to 15.3.2024.
    void March() {
        ResetParams();
        SetPeriod({1, 3, 2024}, {15, 3, 2024});
    }
    static bool Has(const std::string &text, const std::string &what) { return text.find(what) != std::string::npos; }
    // The line of text that holds what, empty when none does.
    static std::string LineWith(const std::string &text, const std::string &what) {
        size_t at = text.find(what);
        if (at == std::string::npos) return {};
        size_t from = text.rfind('\n', at), to = text.find('\n', at);
        from = from == std::string::npos ? 0 : from + 1;
        return text.substr(from, to == std::string::npos ? std::string::npos : to - from);
    }
};

// Every report over the company in each of its options and layouts.
TEST_F(ProjectReportsTest, Goldens) {
    struct Case {
        const char *golden;
        ReportBody body;
        std::initializer_list<std::pair<uint32_t, uint16_t>> words;
        const char *projects, *customers, *leader, *persons;
    } cases[] = {
        {"project68_budgets", ProjectListReport, {{P::Option3, 1}}, "", "", "", ""},
        {"project68_values", ProjectListReport, {{P::Option3, 1}, {P::Option7, 1}}, "P1:P2", "", "", ""},
        {"project68_invoice", ProjectListReport, {{P::Option4, 1}, {P::Option5, 1}}, "P1", "", "", ""},
        {"project68_filter_by_leader", ProjectListReport, {{P::Option3, 1}, {P::Option2, 1}, {P::Option9, 1}}, "", "",
         "AN", ""},
        {"project68_by_customer", ProjectListReport, {{P::Option3, 1}, {P::Option9, 2}}, "", "C2:C2", "", ""},
        {"project69_details", ProjectSummaryReport, {}, "", "", "", ""},
        {"project69_lines_by_customer", ProjectSummaryReport, {{P::ReportLayout, 1}, {P::Option2, 1}, {P::Option11, 1}},
         "", "", "", ""},
        {"project70_layout0", ProjectTransReport, {}, "", "", "", ""},
        {"project70_layout1", ProjectTransReport, {{P::ReportLayout, 1}}, "", "", "", ""},
        {"project70_layout2", ProjectTransReport, {{P::ReportLayout, 2}}, "", "", "", "AN:BO"},
        {"project70_layout3", ProjectTransReport, {{P::ReportLayout, 3}}, "", "", "", ""},
        {"project115", ProjectReport, {{P::Option3, 1}}, "", "", "", ""},
        {"project115_invoiced_by_customer", ProjectReport, {{P::Option2, 1}, {P::Option3, 1}}, "", "", "", ""},
    };
    const uint32_t invoices = RegRecordCount(IVVc::Number);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.golden);
        March();
        for (const auto &[at, value] : c.words) SetWord(at, value);
        SetText(P::SelText1, c.persons[0] ? c.persons : c.projects);
        SetText(P::SelText3, c.customers);
        SetText(P::SelText2, c.leader);
        ExpectGolden(c.golden, RunText(c.body));
    }
    EXPECT_EQ(RegRecordCount(IVVc::Number), invoices) << "a trial invoice is never stored";
}

// The budget filter leaves out a project with nothing left to invoice and
// keeps the others as they are; closed projects never show.
TEST_F(ProjectReportsTest, BudgetFilterLeavesOutOnlyWhatIsInvoiced) {
    March();
    SetWord(P::Option3, 1);
    const std::string all = RunText(ProjectListReport);
    March();
    SetWord(P::Option3, 1);
    SetWord(P::Option2, 1);
    const std::string left = RunText(ProjectListReport);
    EXPECT_TRUE(Has(all, "Done deal")) << all;
    EXPECT_FALSE(Has(left, "Done deal")) << left;
    EXPECT_FALSE(Has(all, "Old shed")) << all;
    for (const char *name : {"Road works", "Bridge"}) EXPECT_TRUE(Has(left, name)) << name << "\n" << left;
    // P1's total: its time budget 1 320 and its cost budget 110.
    const std::string total = LineWith(all, "1430,00");
    EXPECT_FALSE(total.empty()) << all;
    EXPECT_EQ(total, LineWith(left, "1430,00"));
    // The down payment due: 300 of the plan less the 100 invoiced.
    EXPECT_TRUE(Has(LineWith(all, "Down payment due now"), "200,00")) << all;
    EXPECT_TRUE(Has(LineWith(all, "Down payments invoiced"), "150,00")) << all;
}

// The walks end where their range ends and skip what is not theirs.
TEST_F(ProjectReportsTest, SelectionsEndAndSkip) {
    struct Case {
        uint16_t sort;
        const char *projects, *customers, *leader, *filter;
        std::vector<const char *> shown, hidden;
    } cases[] = {
        {0, "P2:P4", "", "", "", {"Bridge", "Done deal"}, {"Road works"}},
        {0, "", "C1", "", "", {"Road works"}, {"Bridge", "Done deal"}},
        {1, "", "", "AN", "", {"Road works", "Done deal"}, {"Bridge"}},
        {2, "P1:P2", "C2", "", "", {"Bridge"}, {"Road works", "Done deal"}},
        {0, "", "", "", "X", {"Done deal"}, {"Road works", "Bridge"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.projects) + "|" + c.customers + "|" + c.leader + "|" + c.filter);
        March();
        SetWord(P::Option3, 1);
        SetWord(P::Option9, c.sort);
        SetText(P::SelText1, c.projects);
        SetText(P::SelText3, c.customers);
        SetText(P::SelText2, c.leader);
        SetText(P::SelText5, c.filter);
        const std::string text = RunText(ProjectListReport);
        for (const char *s : c.shown) EXPECT_TRUE(Has(text, s)) << s << "\n" << text;
        for (const char *s : c.hidden) EXPECT_FALSE(Has(text, s)) << s << "\n" << text;
    }
}

// A transaction stands for every row of its sheet with its five values:
// AN's two rows of 4.3 count 4 hours at AN's price of 100, also when the
// period starts that day; rows of other days or projects do not count.
TEST_F(ProjectReportsTest, TransactionHoursFromTheFirstDayOn) {
    March();
    PutDate(TestJob, P::DateFrom, DateRec{4, 3, 2024});
    PutDate(TestJob, P::DateTo, DateRec{4, 3, 2024});
    SetText(P::SelText1, "AN:AN");
    const std::string rows = RunText(ProjectTransReport);
    EXPECT_TRUE(Has(rows, "Survey again")) << rows;
    EXPECT_EQ(LineWith(rows, "Total"), "Total\t4\t400,00\t\r") << rows;
    // Per item the same hours and value.
    March();
    PutDate(TestJob, P::DateFrom, DateRec{4, 3, 2024});
    PutDate(TestJob, P::DateTo, DateRec{4, 3, 2024});
    SetText(P::SelText1, "AN:AN");
    SetWord(P::ReportLayout, 2);
    const std::string text = RunText(ProjectTransReport);
    EXPECT_EQ(LineWith(text, "ITEM1"), "ITEM1\t4\t400,00\t\r") << text;
    EXPECT_FALSE(Has(text, "Bo Olsen")) << text;
    // Only project P2's rows (slot 304): AN's 4.3 has none.
    March();
    SetText(P::SelText1, "AN:AN");
    SetText(P::SelText2, "P2");
    const std::string p2 = RunText(ProjectTransReport);
    EXPECT_TRUE(Has(p2, "Drawings")) << p2;
    EXPECT_FALSE(Has(p2, "Survey")) << p2;
}

// A last person whose hours are all not chargeable still gets a line, and
// the report its totals.
TEST_F(ProjectReportsTest, LastPersonWithHoursNotChargedIsPrinted) {
    March();
    SetWord(P::ReportLayout, 1);
    SetText(P::SelText1, "BO:CE");
    const std::string text = RunText(ProjectTransReport);
    const std::string ce = LineWith(text, "Cy East"), bo = LineWith(text, "Bo Olsen"), total = LineWith(text, "Total");
    EXPECT_EQ(ce, "CE\tCy East\t0\t1\t1\t\r") << text;
    EXPECT_EQ(bo, "BO\tBo Olsen\t4\t2\t6\t\r") << text;
    EXPECT_EQ(total, "Total\t4\t3\t7\t\r") << text;
}

// The budget amounts of report 115 by what is asked: invoiced, still to
// invoice, or both; a project without budgets gives zeros.
TEST_F(ProjectReportsTest, ProjectBudgetLinesByFlags) {
    struct Case {
        bool invoiced, toInvoice;
        double time, cost, rows;
    } cases[] = {
        {false, false, 0, 0, 0},
        {true, false, 200, 0, 80},
        {false, true, 620, 55, 280},
        {true, true, 820, 55, 360},
    };
    uint8_t code[256];
    PStringFromC(code, "P1");
    for (const Case &c : cases) {
        SCOPED_TRACE(std::to_string(c.invoiced) + std::to_string(c.toInvoice));
        PackedDecimal time, cost, rows;
        ProjectBudgetLines(code, c.invoiced, c.toInvoice, &time, &cost, &rows);
        EXPECT_DOUBLE_EQ(DecToDouble(&time), c.time);
        EXPECT_DOUBLE_EQ(DecToDouble(&cost), c.cost);
        EXPECT_DOUBLE_EQ(DecToDouble(&rows), c.rows);
    }
    PStringFromC(code, "P3");
    PackedDecimal time, cost, rows;
    ProjectBudgetLines(code, true, true, &time, &cost, &rows);
    EXPECT_TRUE(DecIsZero(&time) && DecIsZero(&cost) && DecIsZero(&rows));
    // The walk ends at the project's last budget: P1 has one of each.
    int seen = 0;
    PStringFromC(code, "P1");
    auto count = [](const uint8_t *, void *n) {
        ++*static_cast<int *>(n);
        return true;
    };
    EXPECT_TRUE(ProjectBudgetWalk(TimeBudgetVc::Number, code, count, &seen));
    EXPECT_TRUE(ProjectBudgetWalk(CostBudgetVc::Number, code, count, &seen));
    EXPECT_EQ(seen, 2);
    EXPECT_FALSE(ProjectBudgetWalk(TimeBudgetVc::Number, code, [](const uint8_t *, void *) { return false; }, nullptr));
}

// The project range of the selection header: one stored project with its
// name, a range or a missing project as typed, none as every project.
TEST_F(ProjectReportsTest, ProjectRangeTextNamesOneStoredProject) {
    const std::pair<const char *, const char *> cases[] = {
        {"P1:P1", "Project: P1 Road works"}, {"P1", "Project: P1 Road works"}, {"P1:P2", "Project: P1 : P2"},
        {"P9:P9", "Project: P9"},           {"", "All projects"},
    };
    for (const auto &[range, want] : cases) {
        uint8_t in[256], out[256];
        PStringFromC(in, range);
        ProjectRangeText(in, out);
        EXPECT_EQ(std::string((const char *)out + 1, out[0]), want) << range;
    }
}

// The report run reaches each project report by its number.
TEST_F(ProjectReportsTest, ReachedByNumber) {
    const std::pair<int, ReportBody> rows[] = {
        {68, ProjectListReport}, {69, ProjectSummaryReport}, {70, ProjectTransReport}, {115, ProjectReport}};
    for (const auto &[n, body] : rows) {
        const ReportRowRec *row = ReportRow(n);
        ASSERT_NE(row, nullptr);
        EXPECT_EQ(row->kind, ReportRowKind::Body) << n;
        EXPECT_EQ(row->body, body) << n;
    }
}

// Lines started in the cancel test's job; the line that starts the
// watched text posts Esc, as a user pressing it while it prints.
int LinesStarted = 0, EscAtLine = 0;

const RepDevice EscDevice = [] {
    RepDevice d = RecorderDevice;
    d.lineStart = [] {
        RecorderDevice.lineStart();
        if (++LinesStarted == EscAtLine) {
            EXPECT_TRUE(MsgPost(0, PlMsg::KeyDown, PlKey::Escape, 0));
        }
    };
    return d;
}();

// Esc while the first project (or person) prints: it is printed whole,
// then the report ends, without a later one and without totals.
TEST_F(ProjectReportsTest, EscEndsAfterTheRecordAtHand) {
    const RepDevice *saved = RepDeviceInstall(OutPreview, &EscDevice);
    struct Case {
        ReportBody body;
        uint16_t layout;
        int escAt;
        const char *first, *later;
    } cases[] = {
        {ProjectSummaryReport, 1, 2, "P1", "P2"},
        {ProjectReport, 0, 2, "P1", "P2"},
        {ProjectTransReport, 1, 2, "AN", "BO"},
        {ProjectTransReport, 0, 2, "AN", "Drawings"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.first);
        March();
        SetWord(P::OutputKind, OutPreview);
        SetWord(P::ReportLayout, c.layout);
        RecLog.clear();
        LinesStarted = 0;
        EscAtLine = c.escAt;
        ReportJob job{TestJob};
        c.body(job);
        ASSERT_FALSE(RecLog.empty());
        EXPECT_EQ(RecLog.back().name, "end");
        bool first = false, later = false, total = false;
        for (const RecCall &call : RecLog) {
            first |= call.text == c.first;
            later |= call.text == c.later;
            total |= call.text == "Total";
        }
        EXPECT_TRUE(first);
        EXPECT_FALSE(later);
        EXPECT_FALSE(total);
        CancelFlag = 0;
    }
    RepDeviceInstall(OutPreview, saved);
}

}  // namespace
