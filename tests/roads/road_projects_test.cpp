// road_projects_test.cpp - a project's hours as a new user books them: in
// the Projects module the register popup opens the project list, New
// makes project 1 (the code proposed) for customer C1; the time-sheet
// list's New opens a time sheet, a row of three hours on it is typed, Approved ticked and OK
// stores it; the time budget window, browsed to its first record, shows
// the three hours and their amount. Then the company file holds the
// budget, the project transaction and the link, and the project is
// invoiced from its budget by the invoicing batch, end to end.
// Menus: in Projects, Registers > Projects, Registers > Time sheets,
// Registers > Time budget.
// Windows: Project, Project list, Time sheet, Time sheet list, Time budget.
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <cstring>
#include <memory>

#include "core/field_access.h"
#include "core/definitions.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/window_entries.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/write_gate.h"
#include "dict_offsets.h"
#include "operations/project_ops.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

constexpr int Project = 259, ProjectList = 260, TimeSheet = 268, TimeSheetList = 269, TimeBudget = 362;
namespace fs = std::filesystem;

// The text row `row`, column `column` of the active window's matrix shows.
std::string CellShown(int row, int column) {
    int n = RoadTest::Active();
    const uint8_t *c = n ? WinDefEntry(n, WinPartMatrixColumns, column) : nullptr;
    const uint8_t *area = n ? WinDefEntry(n, WinPartMatrixAreas, 0) : nullptr;
    if (!c || !area || row >= WinMatrixRowCount(n)) return {};
    uint32_t rowSize = DefU16(area + MatrixEntry::RowSize);
    MemBlock rows = WinMatrixRows(n);
    const uint8_t *p = MemLock(rows);
    if (!p) return {};
    uint8_t text[256];
    FieldFormat(p + size_t(row) * rowSize + DefU32(c + ColumnEntry::Offset), DefU16(c + ColumnEntry::Type),
                DefU16(c + ColumnEntry::Format), text);
    MemUnlock(rows);
    return std::string((const char *)text + 1, text[0]);
}

// Checks that the active window is of type `type`.
TEST_F(RoadTest, HoursOfAnApprovedTimeSheetReachTheProjectsTimeBudget) {
    const std::string company = StartNewCompany();
    Menu("Module", "Projects");
    Menu("Registers", "Projects");
    Check("the project list opens", Opened(ProjectList));
    ClickButton("New");
    Check("New opens the project window", Opened(Project));
    ClickField("Customer");
    Type("C1");
    ClickField("Name");
    Type("Road works");
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    Do("keep a picture of the project", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "project.png"));
        return true;
    });
    Check("the project's code is proposed", [] {
        EXPECT_EQ(Shown("Code"), "1");
        return true;
    });
    OkStores("project");

    Menu("Registers", "Time sheets");
    Check("the time-sheet list opens", Opened(TimeSheetList));
    ClickButton("New");
    Check("New opens a time sheet", Opened(TimeSheet));
    const char *cells[] = {"ADMIN", "1", "ITEM1", "3"};
    ClickCell(0, 1);
    for (const char *text : cells) {
        Type(text);
        Key(PlKey::Tab);
    }
    Check("the row holds the hours", [] {
        EXPECT_EQ(CellShown(0, 2), "1");
        EXPECT_EQ(CellShown(0, 4), "3");
        return true;
    });
    ClickButton("Approved");
    Do("keep a picture of the time sheet", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "time_sheet.png"));
        return true;
    });
    ClickOk();
    Check("OK stores the approved sheet", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_NE(Shown("Number"), "");
        return TitleTells("viewing");
    });

    Menu("Registers", "Time budget");
    Check("the time budget window opens", Opened(TimeBudget));
    Menu("Record", "Next");
    Check("its first record is project 1's budget with the three hours", [] {
        EXPECT_EQ(Shown("Project"), "1");
        EXPECT_EQ(Shown("Item"), "ITEM1");
        EXPECT_EQ(Shown("Name"), "Road works");
        EXPECT_EQ(CellShown(0, 0), "ADMIN");
        EXPECT_EQ(CellShown(0, 2), "3") << "spent";
        EXPECT_EQ(CellShown(0, 4), "3") << "to invoice";
        EXPECT_EQ(Shown("To invoice"), "300,00");
        return true;
    });
    Do("keep a picture of the time budget", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "time_budget.png"));
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "projects_frame.png", true));
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> budget;
    ASSERT_TRUE(FindByCode(TimeBudgetVc::Number, TimeBudgetVc::Project, 20, "1", &budget));
    EXPECT_EQ(TextAt(budget.data(), TimeBudgetVc::ItemCode), "ITEM1");
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(budget.data(), TimeBudgetVc::ToInvoice), 300);
    EXPECT_EQ(RegRecordCount(ProjTransVc::Number), 1u);
    EXPECT_EQ(RegRecordCount(ProjLinkVc::Number), 1u);

    // The invoicing batch over every project: one invoice of the 300, the
    // budget marked invoiced; a second run invoices nothing.
    std::vector<uint8_t> selection(ReportParamsSize, 0);
    ReportJob job{selection.data()};
    uint32_t before = RegRecordCount(IVVc::Number);
    // Nobody is logged in to the file opened for the check: the batch runs
    // as the program's own work there.
    ProgramWrites own;
    ASSERT_TRUE(InvoicesFromProjects(job));
    ASSERT_EQ(RegRecordCount(IVVc::Number), before + 1);
    std::vector<uint8_t> invoice(RegRecordSize(IVVc::Number));
    bool found = false;
    uint32_t recid = 0;
    for (int32_t p = 1; !found && RecReadAt(IVVc::Number, p, invoice.data(), &recid); p++)
        found = TextAt(invoice.data(), IVVc::Project) == "1";
    ASSERT_TRUE(found) << "the invoice names its project";
    EXPECT_EQ(TextAt(invoice.data(), IVVc::CustCode), "C1");
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(invoice.data(), IVVc::Net), 300);
    ASSERT_TRUE(FindByCode(TimeBudgetVc::Number, TimeBudgetVc::Project, 20, "1", &budget));
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(budget.data(), TimeBudgetVc::Invoiced), 300);
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(budget.data(), TimeBudgetVc::ToInvoice), 0);
    ASSERT_TRUE(InvoicesFromProjects(job));
    EXPECT_EQ(RegRecordCount(IVVc::Number), before + 1);
    CloseForCheck();
}

}  // namespace
