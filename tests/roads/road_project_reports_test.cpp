// road_project_reports_test.cpp - the project list as a project manager
// reads it: a project P1 and its time budget are typed in their windows
// (the demo company has no projects); in the Projects module Ctrl+R lists the project reports, the project list's
// selection window takes project P1 with its budgets, and OK shows it in
// the preview; Ctrl+P prints the same selection to a PDF whose text
// holds the project, its budget row and the total of its budgets. The
// company file then holds the budget those figures came from. The other
// project reports' windows open from the same list.
// Menus: in Projects, Registers > Projects, Registers > Time budget; File >
// Reports (Ctrl+R) > "Project list", File > Print (Ctrl+P).
// Windows: Reports, Project list selection, Project summary selection,
// Project transactions selection, Project budgets selection, Project list,
// Project, Time budget.
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <fstream>
#include <memory>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "platform/script.h"

namespace {

constexpr int ReportList = 6, Preview = 5;
constexpr int ProjectListSel = 521, ProjectSummarySel = 523, ProjectTransSel = 525, ProjectBudgetSel = 537;
namespace fs = std::filesystem;

TEST_F(RoadTest, TheProjectListShowsAProjectsBudgetTypedInItsWindow) {
    const std::string company = StartNewCompany();
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    // Project P1 of customer C1, typed in the project window; its time
    // budget of ITEM1: ADMIN budgeted 10 hours at 100, spent 4, 4 to
    // invoice.
    Menu("Module", "Projects");
    Menu("Registers", "Projects");
    Check("the project list opens", Opened(WinTypes::ProjectList));
    ClickButton("New");
    Check("New opens the project window", Opened(WinTypes::Project));
    Retype("Code", "P1");
    ClickField("Customer");
    Type("C1");
    ClickField("Name");
    Type("Harbour crane");
    OkStores("project");
    Menu("Window", "Close all");
    Menu("Registers", "Time budget");
    Check("the time budget window opens", Opened(WinTypes::TimeBudget));
    ClickField("Project");
    Type("P1");
    ClickField("Item");
    Type("ITEM1");
    ClickField("Budget");
    Type("1000");
    TypeCell(0, 0, "ADMIN");
    TypeCell(0, 1, "10");
    TypeCell(0, 2, "4");
    TypeCell(0, 4, "4");
    TypeCell(0, 5, "100");
    OkStores("time budget");
    Menu("Window", "Close all");

    // Every project report's window opens from the report list.
    const std::pair<const char *, int> windows[] = {{"Project summary", ProjectSummarySel},
                                                    {"Project transactions", ProjectTransSel},
                                                    {"Project budgets", ProjectBudgetSel}};
    for (const auto &[row, type] : windows) {
        Key('R', false, true);
        Check("Ctrl+R opens the report list", Opened(ReportList));
        ClickRow(row);
        Key(PlKey::Return);
        Check(std::string(row) + "'s selection window opens", Opened(type));
        Do("keep a picture of it", [this, shots, type] {
            EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / ("project_sel_" + std::to_string(type) + ".png")));
            return true;
        });
        Menu("Window", "Close all");
    }

    auto chooseReport = [this] {
        Key('R', false, true);
        Check("Ctrl+R opens the report list", Opened(ReportList));
        ClickRow("Project list");
    };
    auto selection = [this] {
        ClickField("Projects");
        Type("P1");
        ClickButton("Budgets");
    };
    chooseReport();
    Key(PlKey::Return);
    Check("its selection window opens", Opened(ProjectListSel));
    selection();
    Do("keep a picture of the selection", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "project_list_sel.png"));
        return true;
    });
    ClickButton("OK");
    Check("the preview shows it", [this, shots] {
        EXPECT_EQ(ActiveType(), Preview) << ActiveTitle() << " told " << ::testing::PrintToString(Messages());
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "project_list_preview.png"));
        return true;
    });
    Menu("Window", "Close all");
    auto before = std::make_shared<std::vector<fs::path>>();
    auto text = std::make_shared<std::string>();
    Do("note the PDFs", [this, before] {
        *before = FilesIn("print");
        return true;
    });
    chooseReport();
    AnswerPrint(true);
    Key('P', false, true);
    Check("the print selection opens", Opened(ProjectListSel));
    selection();
    ClickButton("OK");
    Check("printed to a PDF with the project and its budget", [this, before, text, shots] {
        std::vector<fs::path> pdfs = NewFilesIn("print", *before);
        if (pdfs.size() != 1) {
            ADD_FAILURE() << pdfs.size() << " PDFs; told " << ::testing::PrintToString(Messages());
            return true;
        }
        if (shots) std::system(("cp '" + pdfs.back().string() + "' '" + shots + "/project_list.pdf'").c_str());
        *text = PdfText(pdfs.back());
        EXPECT_NE(text->find("Project list"), std::string::npos) << *text;
        EXPECT_NE(text->find("Harbour crane"), std::string::npos) << *text;
        EXPECT_NE(text->find("Blue widget"), std::string::npos) << *text;   // ITEM1's name
        EXPECT_NE(text->find("ADMIN"), std::string::npos) << *text;
        return true;
    });
    EXPECT_EQ(Run(), 0);

    // The figures printed are those of the stored budget.
    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> project, budget;
    ASSERT_TRUE(FindByCode(ProjectVc::Number, ProjectVc::Code, 20, "P1", &project));
    EXPECT_EQ(TextAt(project.data(), ProjectVc::Name), "Harbour crane");
    ASSERT_TRUE(FindByCode(TimeBudgetVc::Number, TimeBudgetVc::Project, 20, "P1", &budget));
    const double stored = RoadTest::AmountAt(budget.data(), TimeBudgetVc::Budget);
    EXPECT_DOUBLE_EQ(stored, 1000);
    char amount[32];
    std::snprintf(amount, sizeof amount, "%.2f", stored);
    std::string shown(amount);
    shown[shown.find('.')] = ',';
    size_t first = text->find(shown);
    EXPECT_NE(first, std::string::npos) << shown << " in\n" << *text;
    EXPECT_NE(text->find(shown, first + 1), std::string::npos) << "the budget line and the total\n" << *text;
    CloseForCheck();
}

}  // namespace
