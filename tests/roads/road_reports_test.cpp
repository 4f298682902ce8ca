// road_reports_test.cpp - the eight built reports as a user runs them:
// File > Reports (Ctrl+R) lists the current module's reports; a report's
// row and OK open its selection window, whose OK shows it in the preview;
// the same row printed by File > Print (Ctrl+P) writes a PDF whose text
// carries the report's title. The voucher print-out, after an invoice is
// posted, prints its one voucher.
// Menus: File > Print (Ctrl+P), File > Windows... > "Sales invoices".
// Windows: Reports, Sales invoice.
#include "tests/roads/road_fixture.h"

#include <memory>

#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "platform/script.h"

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
        auto before = std::make_shared<size_t>();
        Check(what + ": the preview shows it", [this, before, what] {
            EXPECT_EQ(ActiveType(), Preview) << what << "; active \"" << ActiveTitle() << "\", told "
                                            << ::testing::PrintToString(Messages());
            *before = FilesIn("print").size();
            return true;
        });
        Menu("Window", "Close all");
        ChooseReport(r);
        AnswerPrint(true);
        Key('P', false, true);
        ClickButton("OK");
        Check(what + ": printed to a PDF", [this, before, r, what] {
            std::vector<fs::path> pdfs = FilesIn("print");
            if (pdfs.size() != *before + 1) {
                ADD_FAILURE() << what << ": " << pdfs.size() - *before << " PDFs; told "
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
    ChooseReport({25, "General ledger", "Voucher"});
    AnswerPrint(true);
    Key('P', false, true);
    ClickField("From");
    Type("01.01.2020");
    ClickField("To");
    Type("31.12.2035");
    ClickButton("OK");
    Check("the voucher print-out prints the one voucher", [this] {
        std::vector<fs::path> pdfs = FilesIn("print");
        if (pdfs.empty()) {
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
