// road_project_plan_test.cpp - a project's invoicing plan invoiced, and a
// quotation's rows carried into the project's budgets, as a user does both
// from the windows' Operations menus. Project 1 of customer C1, led by
// ADMIN, is stored with a plan line of 1000 due long ago; Invoice the plan
// makes its invoice, says the invoice's number on the status line and
// shows it on the plan line; run again, it says in a message that nothing
// more is due. The sales-invoice list shows the invoice, which prints the
// project's code and name and the plan line's words beside its 1000,00,
// with no blank row among them, and the bank account to pay to. A
// quotation of two SERVICE units
// for project 1, stored, opens the batch of its rows into the project's
// budgets with the quotation and the project proposed; its OK makes the
// time budget of SERVICE, which the time-budget window shows with the two
// units, and says so on the status line. A time sheet of three hours on
// the project, stored unapproved, is approved from the time-sheet list.
// The project list of ADMIN's projects names him as their leader, in its
// header and beside the project. The company file then holds the invoice
// of the plan, the project's invoiced sum and its marked plan line, the
// budget of the quotation's row and that of the hours.
// Menus: in Projects, Registers > Projects, Operations > Invoice the plan,
// Registers > Time budget, Registers > Time sheets, Operations > Approve
// marked, File > Reports (Ctrl+R) > "Project list"; File > Windows... >
// "Sales invoices", File > Print (Ctrl+P); in Sales, Registers >
// Quotations, Operations > Rows into project budgets.
// Windows: Project, Project list, Sales invoice list, Sales invoice,
// Quotation, Quotation list, Quotation rows into budgets, Time budget,
// Time sheet, Time sheet list, Project list selection.
#include "tests/roads/road_fixture.h"
#include "tests/roads/road_form_steps.h"

#include <cstdlib>
#include <map>
#include <sstream>
#include <memory>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "shell/toolbar.h"

namespace {

constexpr int Project = 259, ProjectList = 260, SalesInvoiceList = 348, Quotation = 272, QuotationList = 273,
              RowsIntoBudgets = 509, TimeBudget = 362, TimeSheet = 268, TimeSheetList = 269, ProjectListSel = 521,
              SalesInvoice = 347;
namespace fs = std::filesystem;

TEST_F(RoadTest, AProjectsPlanIsInvoicedAndAQuotationFillsItsBudget)
{
    const std::string company = StartNewCompany();
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    Menu("Module", "Projects");
    NewFromList("Projects", ProjectList, Project);
    ClickField("Customer");
    Type("C1");
    ClickField("Name");
    Type("Harbour works");
    ClickButton("Invoicing");
    ClickField("Leader");
    Type("ADMIN");
    ClickButton("Plan");
    ClickCell(0, 0);
    for (const char *text : {"01.02.2020", "1000", "First part"}) {
        Type(text);
        Key(PlKey::Tab);
    }
    OkStores("project with its plan");

    Menu("Operations", "Invoice the plan");
    auto invoice = std::make_shared<std::string>();
    Check("the run names the invoice it made, and the plan line shows it", [invoice] {
        const std::string line = StatusLineText(), head = "1 invoice made, numbers ";
        EXPECT_EQ(line.rfind(head, 0), 0u) << line << " " << ::testing::PrintToString(Messages());
        if (line.rfind(head, 0) != 0) return false;
        *invoice = line.substr(head.size());
        EXPECT_EQ(CellUnder("Invoice", 0), *invoice);
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        return !invoice->empty();
    });
    Do("keep a picture of the invoiced plan", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "project_plan.png"));
        return true;
    });
    Menu("Operations", "Invoice the plan");
    Check("a second run says that nothing more is due", [] {
        EXPECT_TRUE(Told("No invoice made: nothing of the project's plan has fallen due beyond what is invoiced "
                         "already"))
            << ::testing::PrintToString(Messages());
        return true;
    });

    Menu("File", "Windows...");
    ClickRow("Sales invoices");
    Key(PlKey::Return);
    Check("the sales-invoice list opens", Opened(SalesInvoiceList));
    FindRow("the plan's invoice", invoice);
    Check("the list shows the plan's invoice for C1", [invoice] {
        const std::string row = SelectedListRowShown();
        EXPECT_EQ(row.rfind(*invoice + " | C1 | ", 0), 0u) << row;
        return true;
    });
    Key(PlKey::Return);
    Check("the plan's invoice opens", Opened(SalesInvoice));
    auto page = PrintActiveDocument(*this, "project_plan_invoice");
    Check("the invoice prints the project's words and then the plan line's beside its amount, with no blank row "
          "between, and where to pay",
          [page] {
              std::istringstream in(*page);
              std::vector<std::string> rows;
              bool inRows = false;
              for (std::string line; std::getline(in, line);) {
                  if (line.find("Description") != std::string::npos) inRows = true;
                  else if (line.find("VAT %") != std::string::npos) inRows = false;
                  else if (inRows) rows.push_back(line);
              }
              while (!rows.empty() && rows.back().find_first_not_of(' ') == std::string::npos) rows.pop_back();
              // The project's code and name, then the amount row.
              EXPECT_EQ(rows.size(), 3u) << *page;
              if (rows.size() == 3) {
                  EXPECT_NE(rows[1].find("Harbour works"), std::string::npos) << rows[1];
                  EXPECT_NE(rows[2].find("First part"), std::string::npos) << rows[2];
                  EXPECT_NE(rows[2].find("1000,00"), std::string::npos) << rows[2];
              }
              EXPECT_NE(page->find("5000-1234567"), std::string::npos) << "the demo's bank account\n" << *page;
              return rows.size() == 3;
          });

    Menu("Window", "Close all");
    Menu("Module", "Sales");
    NewFromList("Quotations", QuotationList, Quotation);
    ClickField("Customer");
    Type("C1");
    Key(PlKey::Tab);
    ClickCell(0, 0);
    Type("SERVICE");
    Key(PlKey::Tab);
    Type("2");
    Key(PlKey::Tab);
    ClickButton("More");
    ClickField("Project");
    Type("1");
    OkStoresQuietly("the quotation of project 1");
    auto quotation = std::make_shared<std::string>();
    Do("read the quotation's number", [quotation] {
        *quotation = Shown("Number");
        return !quotation->empty();
    });
    Menu("Operations", "Rows into project budgets");
    Check("the batch proposes the quotation and its project", [quotation] {
        EXPECT_EQ(ActiveType(), RowsIntoBudgets) << ActiveTitle();
        EXPECT_EQ(Shown("Quotation"), *quotation);
        EXPECT_EQ(Shown("Project"), "1");
        return ActiveType() == RowsIntoBudgets;
    });
    std::shared_ptr<size_t> told = CountTold();
    ClickOk();
    Check("the batch closes and says on the status line what it carried", [told] {
        EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
        EXPECT_NE(ActiveType(), RowsIntoBudgets);
        EXPECT_EQ(StatusLineText(), "1 row into the project's time budgets");
        return ActiveType() != RowsIntoBudgets;
    });

    Menu("Window", "Close all");
    Menu("Module", "Projects");
    Menu("Registers", "Time budget");
    Check("the time budget window opens", Opened(TimeBudget));
    Menu("Record", "Next");
    Check("its first record is project 1's SERVICE with the quotation's two units", [] {
        EXPECT_EQ(Shown("Project"), "1");
        EXPECT_EQ(Shown("Item"), "SERVICE");
        EXPECT_EQ(Shown("Name"), "Harbour works");
        EXPECT_EQ(CellUnder("Budgeted", 0), "2");
        EXPECT_EQ(CellUnder("Price", 0), "700,00");
        EXPECT_EQ(Shown("Budget"), "1400,00");
        return true;
    });

    NewFromList("Time sheets", TimeSheetList, TimeSheet);
    ClickCell(0, 1);
    for (const char *text : {"ADMIN", "1", "ITEM1", "3"}) {
        Type(text);
        Key(PlKey::Tab);
    }
    OkStoresQuietly("the time sheet, not approved");
    auto sheet = std::make_shared<std::string>();
    Do("read the time sheet's number", [sheet] {
        *sheet = Shown("Number");
        return !sheet->empty();
    });
    Menu("Window", "Close all");
    Menu("Registers", "Time sheets");
    Check("the time-sheet list opens", Opened(TimeSheetList));
    FindRow("the time sheet", sheet);
    Check("the list shows the sheet not approved", [] {
        const std::string row = SelectedListRowShown();
        EXPECT_EQ(row.substr(row.size() < 2 ? 0 : row.size() - 2), "No") << row;
        return true;
    });
    told = CountTold();
    Menu("Operations", "Approve marked");
    Check("the list shows the sheet approved, quietly", [told] {
        EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
        const std::string row = SelectedListRowShown();
        EXPECT_EQ(row.substr(row.size() < 3 ? 0 : row.size() - 3), "Yes") << row;
        return true;
    });
    Menu("Window", "Close all");
    auto list = ReportToPreviewAndPdf("Project list", ProjectListSel, [this] {
        ClickButton("Budgets");
        ClickField("Leader");
        Type("ADMIN");
    }, "project_list_leader");
    EXPECT_EQ(Run(), 0);
    // The header's filter and the project's heading both name the leader
    // as one, not as a customer.
    std::istringstream in(*list);
    int leaders = 0;
    for (std::string line; std::getline(in, line);) {
        if (line.find("ADMIN") == std::string::npos) continue;
        EXPECT_EQ(line.find("Customer"), std::string::npos) << line << "\n" << *list;
        leaders += line.find("Leader") != std::string::npos;
    }
    EXPECT_GE(leaders, 2) << *list;

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> project;
    ASSERT_TRUE(FindByCode(ProjectVc::Number, ProjectVc::Code, 20, "1", &project));
    EXPECT_DOUBLE_EQ(AmountAt(project.data(), ProjectVc::DownPayInvoiced), 1000);
    uint8_t line[ProjectVc::Rows::Size];
    ASSERT_TRUE(MatrixRowGet(ProjectVc::Number, 0, project.data(), 0, line));
    EXPECT_EQ(std::to_string(GetU32(line, ProjectVc::Rows::InvoiceNr)), *invoice);
    RecFreeMatrix(ProjectVc::Number, project.data());
    StoredInvoice inv = OnlyInvoice();
    ASSERT_FALSE(inv.head.empty());
    EXPECT_EQ(std::to_string(GetU32(inv.head.data(), IVVc::SerNr)), *invoice);
    EXPECT_EQ(TextAt(inv.head.data(), IVVc::Project), "1");
    EXPECT_EQ(TextAt(inv.head.data(), IVVc::CustCode), "C1");
    EXPECT_DOUBLE_EQ(AmountAt(inv.head.data(), IVVc::Net), 1000);
    std::map<std::string, double> budgets, hours;
    std::vector<uint8_t> budget(TimeBudgetVc::Size);
    uint32_t recid = 0;
    for (int32_t p = 1; RecReadAt(TimeBudgetVc::Number, p, budget.data(), &recid); p++) {
        EXPECT_EQ(TextAt(budget.data(), TimeBudgetVc::Project), "1");
        const std::string item = TextAt(budget.data(), TimeBudgetVc::ItemCode);
        budgets[item] = AmountAt(budget.data(), TimeBudgetVc::Budget);
        uint8_t row[TimeBudgetVc::Rows::Size];
        for (int32_t i = 0; MatrixRowGet(TimeBudgetVc::Number, 0, budget.data(), i, row); i++)
            hours[item] += AmountAt(row, TimeBudgetVc::Rows::QtySpent);
        RecFreeMatrix(TimeBudgetVc::Number, budget.data());
    }
    EXPECT_EQ(budgets, (std::map<std::string, double>{{"ITEM1", 0}, {"SERVICE", 1400}}));
    EXPECT_EQ(hours, (std::map<std::string, double>{{"ITEM1", 3}, {"SERVICE", 0}})) << "the approved sheet's hours";
    EXPECT_EQ(RegRecordCount(ProjTransVc::Number), 1u);
    CloseForCheck();
}

}  // namespace
