// road_form_steps.cpp - designing a form from nothing and choosing it for
// a document, in windows; printing documents and reading their bar codes.
#include "tests/roads/road_form_steps.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>

#include "core/system.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "platform/window.h"
#include "shell/window_table.h"

namespace {

constexpr int FormList = 566, Designer = 23;
constexpr int PaneTop = 32;       // the designer's form starts below its tool buttons
constexpr int ItemHeight = 14;    // a drawn item is one line of the default face high
constexpr int FormCell = 3;       // the form's name in a form-choice row

}  // namespace

void DragInDesigner(RoadTest &road, const std::string &what, int x, int y, int x2, int y2)
{
    road.Do(what, [=] {
        int n = RoadTest::Active();
        if (RoadTest::ActiveType() != Designer) {
            ADD_FAILURE() << what << ": the designer is not active but " << RoadTest::ActiveTitle();
            return false;
        }
        uint32_t child = WinTable[n]->mdiChild;
        auto at = [child](int px, int py) { return WinClientToScreen(child, PlPoint{px, py + PaneTop}); };
        MsgInputMouse(at(x, y), 1, true);
        MsgInputMouse(at((x + x2) / 2, (y + y2) / 2), 0, false);
        MsgInputMouse(at(x2, y2), 0, false);
        MsgInputMouse(at(x2, y2), 1, false);
        return true;
    });
}

void OpenInDesigner(RoadTest &road, const std::string &what, int x, int y)
{
    road.Do(what, [=] {
        if (RoadTest::ActiveType() != Designer) {
            ADD_FAILURE() << what << ": the designer is not active but " << RoadTest::ActiveTitle();
            return false;
        }
        ScriptClick(WinTable[RoadTest::Active()]->mdiChild, x, y + PaneTop, 1, true);
        return true;
    });
}

void DesignForm(RoadTest &road, const std::string &code, const std::vector<FormItem> &items)
{
    road.Menu("Window", "Close all");
    road.Menu("Registers", "Forms");
    road.Check("the form list opens", RoadTest::Opened(FormList));
    road.ClickButton("New");
    road.Check("New opens the designer on a new form", [] {
        EXPECT_TRUE(RoadTest::TitleTells("new")) << RoadTest::ActiveTitle();
        return RoadTest::Opened(Designer)();
    });
    // The form's name, in the window of its own fields.
    road.Menu("Operations", "Form");
    road.Check("the form's window opens on its name", [] {
        EXPECT_EQ(RoadTest::ActiveTitle(), "Form");
        EXPECT_EQ(RoadTest::FocusLabel(), "Name");
        return RoadTest::FocusLabel() == "Name";
    });
    road.Type(code);
    road.ClickButton("OK");
    for (const FormItem &item : items) {
        const bool field = item.kind == FormItemKind::Field;
        road.ClickButton(field ? "Field" : "Text");
        DragInDesigner(road, "draw " + item.text, item.left, item.top, item.left + item.width, item.top + ItemHeight);
        const std::string title = field ? "Data field" : "Text";
        road.Check("the window of " + item.text + " opens", [title] {
            EXPECT_EQ(RoadTest::ActiveTitle(), title);
            return RoadTest::ActiveTitle() == title;
        });
        // The field window opens on its code, which takes the field's
        // name; the text window on its text.
        road.Type(item.text);
        if (item.rowPitch) road.Retype("Row pitch", std::to_string(item.rowPitch));
        road.ClickButton("OK");
    }
    road.KeepPicture("form_" + code);
    auto told = road.CountTold();
    road.ClickOk();
    road.Check("OK stores the form " + code, [told] {
        EXPECT_EQ(RoadTest::Messages().size(), *told) << ::testing::PrintToString(RoadTest::Messages());
        EXPECT_TRUE(RoadTest::TitleTells("viewing")) << RoadTest::ActiveTitle();
        return RoadTest::TitleTells("viewing");
    });
    road.Menu("Window", "Close all");
}

void ChooseForm(RoadTest &road, const std::string &row, int type, const std::string &code)
{
    road.Menu("Window", "Close all");
    road.Menu("Settings", "Forms...");
    road.ClickRow(row);
    road.Key(PlKey::Return);
    road.Check("the form choice of " + row + " opens", RoadTest::Opened(type));
    road.TypeCell(0, FormCell, code);
    auto told = road.CountTold();
    road.ClickOk();
    road.Check("the form choice of " + row + " is stored", [told, type] {
        EXPECT_EQ(RoadTest::Messages().size(), *told) << ::testing::PrintToString(RoadTest::Messages());
        return RoadTest::ActiveType() != type;
    });
    road.Menu("Window", "Close all");
}

// Presses `print` (the key or button that prints to the printer, whose
// dialog is answered OK) and reads the one PDF it writes; `what` names it
// in the check. The PDF is kept under ORVEL_ROAD_SHOTS as `shot`.
static std::shared_ptr<std::string> PrintOnePdf(RoadTest &road, const std::string &what, const std::string &shot,
                                         const std::function<void()> &print)
{
    namespace fs = std::filesystem;
    auto before = std::make_shared<std::vector<fs::path>>();
    auto text = std::make_shared<std::string>();
    road.Do("note the PDFs", [&road, before] {
        *before = road.FilesIn("print");
        return true;
    });
    road.AnswerPrint(true);
    print();
    road.Check(what + " prints to a PDF", [&road, before, text, shot] {
        std::vector<fs::path> pdfs = road.NewFilesIn("print", *before);
        if (pdfs.size() != 1) {
            ADD_FAILURE() << "PDFs printed: " << pdfs.size() << "; told "
                          << ::testing::PrintToString(RoadTest::Messages());
            return false;
        }
        if (const char *shots = std::getenv("ORVEL_ROAD_SHOTS"))
            fs::copy_file(pdfs.back(), fs::path(shots) / (shot + ".pdf"), fs::copy_options::overwrite_existing);
        *text = RoadTest::PdfText(pdfs.back());
        return true;
    });
    return text;
}

std::shared_ptr<std::string> PrintActiveDocument(RoadTest &road, const std::string &shot)
{
    return PrintOnePdf(road, "the document", shot, [&road] { road.Key('P', false, true); });
}

std::shared_ptr<std::string> PrintCustomerStatement(RoadTest &road, const std::string &customer,
                                                    const std::string &shot)
{
    constexpr int DocumentList = 8, StatementRun = 580;
    road.Menu("File", "Documents...");
    road.Check("File > Documents lists the runs", RoadTest::Opened(DocumentList));
    road.ClickRow("Customer statements");
    road.Key(PlKey::Return);
    road.Check("the statements' selection opens", RoadTest::Opened(StatementRun));
    road.ClickField("From");
    road.Type("From", [] { return "01.01." + std::to_string(TodayDate.year); });
    road.ClickField("To");
    road.Type("To", [] { return "31.12." + std::to_string(TodayDate.year); });
    road.ClickField("Customers");
    road.Type(customer);
    road.ClickButton("Printer");
    auto text = PrintOnePdf(road, "the statement", shot, [&road] { road.ClickButton("OK"); });
    road.Menu("Window", "Close all");
    return text;
}

bool CanScan()
{
    return std::system("command -v zbarimg >/dev/null 2>&1 && command -v pdftoppm >/dev/null 2>&1") == 0;
}

std::string ScannedBarcode(const std::filesystem::path &pdf, const std::filesystem::path &png)
{
    if (std::system(("pdftoppm -r 300 -png -singlefile '" + pdf.string() + "' '" + png.string() + "'").c_str()) != 0)
        return "";
    FILE *p = popen(("zbarimg -q --raw '" + png.string() + ".png' 2>/dev/null").c_str(), "r");
    if (!p) return "";
    std::string scanned;
    char buf[256];
    for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) scanned.append(buf, n);
    pclose(p);
    while (!scanned.empty() && (scanned.back() == '\n' || scanned.back() == '\r')) scanned.pop_back();
    return scanned;
}
