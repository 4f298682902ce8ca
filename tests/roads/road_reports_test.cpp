// road_reports_test.cpp - the eight built reports as a user runs them:
// File > Reports (Ctrl+R) lists the current module's reports; a report's
// row and OK open its selection window, whose OK shows it in the preview;
// the same row printed by File > Print (Ctrl+P) writes a PDF whose text
// carries the report's title. The voucher print-out, after an invoice is
// posted, prints its one voucher. A formula report's selection is saved
// under a name (Record > New), listed under "Saved selections", run with
// its saved title and deleted (Record > Delete, Edit > Delete row).
// PageDown and PageUp page through the report list and the window list.
// Menus: File > Print (Ctrl+P), File > Windows... > "Sales invoices",
// File > Reports (Ctrl+R) > "Formula Report 37", File > Reports (Ctrl+R) >
// "Trial Balance", Record > New, Record > Delete, Edit > Delete row.
// Windows: Reports, Sales invoice, Saved report selection, Formula report
// selection, Trial balance selection, Windows, Sales invoice list.
#include "tests/roads/road_fixture.h"

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "platform/control.h"
#include "platform/script.h"
#include "platform/window.h"
#include "shell/window_table.h"

namespace {

constexpr int ReportList = 6, Preview = 5;
namespace fs = std::filesystem;

struct Report {
    int number;
    const char *module;   // the module whose report list offers it
    const char *name;     // its row in the list, the title it prints
};
const Report Reports[] = {
    {1, "Sales", "Sales transaction journal"},   {13, "Sales", "Customer-receipt journal"},
    {16, "Sales", "Open items by due date"},     {57, "Sales", "Invoice journal with items"},
    {65, "Sales", "Sales invoices by date"},     {111, "Sales", "Deliveries by ship date"},
    {24, "General ledger", "Transactions by date"},
};

class ReportsRoad : public RoadTest {
protected:
    // The report's row in the report list, chosen by a click.
    void ChooseReport(const Report &r)
    {
        Key('R', false, true);
        Check("Ctrl+R opens the report list", [] {
            EXPECT_EQ(ActiveType(), ReportList) << ActiveTitle();
            return ActiveType() == ReportList;
        });
        ClickRow(r.name);
    }
    // In the active list window: PageDown pressed until row `row` is in
    // sight, each press moving the selection a page (the rows in sight
    // but one) on; then PageUp once, which moves it a page back.
    void PageTo(const std::string &row)
    {
        auto pressed = std::make_shared<int>(0), start = std::make_shared<int>(0);
        Do("page down to " + row, [row, pressed, start] {
            const uint32_t list = Active() ? WinListBox(Active()) : 0;
            const int height = list ? ListBoxRowHeight(list) : 0;
            int at = -1;
            for (int i = 0; list && i < ListBoxCount(list) && at < 0; i++)
                if (ListBoxText(list, i).find(row) != std::string::npos) at = i;
            if (at < 0 || height <= 0) {
                ADD_FAILURE() << "no row " << row << " in " << ActiveTitle();
                return false;
            }
            const int page = std::max(1, WinClientRect(list).bottom / height - 1);
            EXPECT_GT(at, page) << "a row that is in sight from the start proves nothing";
            // Without a selection the first press goes a page on from the row above the top.
            *start = ListBoxCurSel(list) < 0 ? ListBoxTopIndex(list) - 1 : ListBoxCurSel(list);
            *pressed = (at - *start + page - 1) / page;
            for (int k = 0; k < *pressed; k++) ScriptKey(PlKey::PageDown, false, false);
            return true;
        });
        auto reached = std::make_shared<int>(0);
        Check(row + " is in sight, a page a key", [row, pressed, start, reached] {
            const uint32_t list = WinListBox(Active());
            const int height = ListBoxRowHeight(list), page = std::max(1, WinClientRect(list).bottom / height - 1);
            *reached = ListBoxCurSel(list);
            EXPECT_EQ(*reached, std::min(ListBoxCount(list) - 1, *start + *pressed * page));
            const int top = ListBoxTopIndex(list);
            bool inSight = false;
            for (int i = top; i < ListBoxCount(list) && (i - top + 1) * height <= WinClientRect(list).bottom; i++)
                inSight = inSight || ListBoxText(list, i).find(row) != std::string::npos;
            EXPECT_TRUE(inSight) << "top " << top << ", selected " << *reached;
            return inSight;
        });
        Key(PlKey::PageUp);
        Check("PageUp moves a page back", [reached] {
            const uint32_t list = WinListBox(Active());
            const int page = std::max(1, WinClientRect(list).bottom / ListBoxRowHeight(list) - 1);
            EXPECT_EQ(ListBoxCurSel(list), std::max(0, *reached - page));
            return true;
        });
    }
    // The report to the preview, then to the printer's PDF; each run
    // starts from a fresh report list (Window > Close all), as printing
    // leaves the list's device on the printer.
    void PreviewAndPrint(const Report &r)
    {
        const std::string what = std::to_string(r.number) + " " + r.name;
        ChooseReport(r);
        Key(PlKey::Return);
        Check(what + ": its selection window opens", [what] {
            EXPECT_TRUE(TitleTells(what.substr(what.find(' ') + 1))) << ActiveTitle();
            return ActiveType() != ReportList;
        });
        ClickButton("OK");
        auto before = std::make_shared<std::vector<fs::path>>();
        Check(what + ": the preview shows it", [this, before, what] {
            EXPECT_EQ(ActiveType(), Preview) << what << "; active \"" << ActiveTitle() << "\", told "
                                            << ::testing::PrintToString(Messages());
            *before = FilesIn("print");
            return true;
        });
        Menu("Window", "Close all");
        ChooseReport(r);
        AnswerPrint(true);
        Key('P', false, true);
        ClickButton("OK");
        Check(what + ": printed to a PDF", [this, before, r, what] {
            std::vector<fs::path> pdfs = NewFilesIn("print", *before);
            if (pdfs.size() != 1) {
                ADD_FAILURE() << what << ": " << pdfs.size() << " PDFs; told "
                              << ::testing::PrintToString(Messages());
                return true;
            }
            std::string text = PdfText(pdfs.back());
            EXPECT_NE(text.find(r.name), std::string::npos) << what << ":\n" << text;
            EXPECT_NE(text.find("Demo Company AB"), std::string::npos) << what << ":\n" << text;
            return true;
        });
        Menu("Window", "Close all");
    }
};

TEST_F(ReportsRoad, EachBuiltReportPreviewsAndPrints)
{
    StartNewCompany();
    std::string module;
    for (const Report &r : Reports) {
        if (module != r.module) Menu("Module", module = r.module);
        PreviewAndPrint(r);
    }

    // An invoice posted by keys gives the ledger its one voucher.
    Menu("Module", module = "Sales");
    TypeAndPostInvoice("C1", "ITEM1", "2");
    Check("the invoice is posted", [] {
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return TitleTells("viewing");
    });
    Menu("Module", "General ledger");
    auto before = std::make_shared<std::vector<fs::path>>();
    Do("note the PDFs", [this, before] {
        *before = FilesIn("print");
        return true;
    });
    ChooseReport({25, "General ledger", "Voucher"});
    AnswerPrint(true);
    Key('P', false, true);
    ClickField("From");
    Type("01.01.2020");
    ClickField("To");
    Type("31.12.2035");
    ClickButton("OK");
    Check("the voucher print-out prints the one voucher", [this, before] {
        std::vector<fs::path> pdfs = NewFilesIn("print", *before);
        if (pdfs.size() != 1) {
            ADD_FAILURE() << "no PDF; told " << ::testing::PrintToString(Messages());
            return true;
        }
        std::string text = PdfText(pdfs.back());
        EXPECT_NE(text.find("First Customer"), std::string::npos) << text;
        EXPECT_NE(text.find("250,00"), std::string::npos) << "the receivable's amount:\n" << text;
        EXPECT_EQ(text.find('\f'), text.rfind('\f')) << "one page:\n" << text;
        return true;
    });
    EXPECT_EQ(Run(), 0);
}

}  // namespace

namespace {

constexpr int SaveSelection = 14, FormulaReportSel = 406, TrialBalanceSel = 428, WindowList = 12,
              SalesInvoiceList = 348;

// Report 37's saved selection: the reports it may be saved for, kept under
// a name and a title (Record > New in the report list), listed under
// "Saved selections", run with the saved title (which its print-out
// carries), and deleted (Record > Delete, and Edit > Delete row for a
// second one). A report the saved selections do not list refuses New.
TEST_F(ReportsRoad, ASavedSelectionIsListedRunAndDeleted)
{
    const std::string company = StartNewCompany("saved.VDB");
    Menu("Module", "General ledger");
    ChooseReport({61, "General ledger", "Trial Balance"});
    Menu("Record", "New");
    Check("New on a report without saved selections says so", [] {
        EXPECT_TRUE(Told("Selections are saved for the formula reports")) << ::testing::PrintToString(Messages());
        return ActiveType() == ReportList;
    });
    for (const char *name : {"Quarter", "Spare"}) {
        ChooseReport({37, "General ledger", "Formula Report 37"});
        Menu("Record", "New");
        Check("New opens the save window", Opened(SaveSelection));
        TypeFields({{"Name", name}, {"Title", "Quarterly figures"}});
        auto told = CountTold();
        ClickButton("OK");
        Check("OK saves it quietly", [told] {
            EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
            return ActiveType() != SaveSelection;
        });
        Menu("Window", "Close all");
    }

    Key('R', false, true);
    Check("Ctrl+R opens the report list", Opened(ReportList));
    ClickButton("Saved selections");
    Check("the saved selections are listed by name", [] {
        EXPECT_EQ(ListRows(), (std::vector<std::string>{"Quarter", "Spare"}));
        return true;
    });
    ClickRow("Quarter");
    Key(PlKey::Return);
    Check("it opens report 37 with the saved title", [] {
        EXPECT_EQ(ActiveType(), FormulaReportSel) << ActiveTitle() << ::testing::PrintToString(Messages());
        EXPECT_EQ(Shown("Title"), "Quarterly figures");
        return ActiveType() == FormulaReportSel;
    });
    Menu("Window", "Close all");

    Key('R', false, true);
    ClickButton("Saved selections");
    ClickRow("Spare");
    Menu("Record", "Delete");
    ClickRow("Quarter");
    Menu("Edit", "Delete row");
    Check("Record > Delete and Edit > Delete row delete them", [] {
        EXPECT_TRUE(ListRows().empty()) << ::testing::PrintToString(ListRows());
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    EXPECT_TRUE(StoredRows(ReportSelectionBlk::Number).empty());
    CloseForCheck();
}

}  // namespace

namespace {

// PageDown and PageUp page through the report list (Ctrl+R) and the
// window list (File > Windows...), and Return opens the row paged to.
TEST_F(ReportsRoad, PageDownReachesARowFarDownTheLists)
{
    StartNewCompany("paging.VDB");
    Menu("Module", "General ledger");
    Key('R', false, true);
    Check("Ctrl+R opens the report list", Opened(ReportList));
    PageTo("Trial Balance");
    ClickRow("Trial Balance");
    Key(PlKey::Return);
    Check("Trial Balance's selection opens", Opened(TrialBalanceSel));
    Menu("Window", "Close all");

    Menu("File", "Windows...");
    Check("the window list opens", Opened(WindowList));
    PageTo("Sales invoices");
    ClickRow("Sales invoices");
    Key(PlKey::Return);
    Check("the sales invoice list opens", Opened(SalesInvoiceList));
    EXPECT_EQ(Run(), 0);
}

}  // namespace
