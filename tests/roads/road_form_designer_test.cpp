// road_form_designer_test.cpp - a user opens the demo company's invoice
// form from the form list in the designer, finds its data fields named as
// the labels beside them read, draws a text, a data field, a
// line and a box with the tool buttons, drags the text and the field into
// place with the mouse, stores the form, and prints a posted invoice on
// it: the PDF shows the new text and the invoice number where they were
// put, and the company file holds the items at their places.
// Menus: in the module the program starts in, Registers > Forms; File >
// Windows... > "Sales invoices", File > Print (Ctrl+P).
// Windows: Form list, Form designer, Sales invoice.
#include "tests/roads/road_fixture.h"
#include "tests/roads/road_form_steps.h"


#include <cstdlib>
#include <memory>
#include <sstream>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "platform/window.h"
#include "shell/window_table.h"
#include "tests/output/pdf_words.h"

namespace {

constexpr int FormList = 566, Designer = 23, SalesInvoice = 347;
namespace fs = std::filesystem;

// The words pdftotext reads on one line of the page holding `word`.
std::string LineWith(const std::string &page, const std::string &word)
{
    std::istringstream in(page);
    for (std::string line; std::getline(in, line);)
        if (line.find(word) != std::string::npos) return line;
    return "";
}

// Item `kind` of the form whose text (or field code) is as given: its
// left and top in form units; false when the form has none.
bool ItemAt(const std::vector<uint8_t> &form, int kind, const std::string &text, int code, int *left, int *top)
{
    uint8_t item[DocVc::Rows::Size];
    for (int32_t i = 0; i < MatrixRowCount(DocVc::Number, 0, form.data()); i++) {
        if (!MatrixRowGet(DocVc::Number, 0, form.data(), i, item) || GetU16(item, DocVc::Rows::Kind) != kind) continue;
        if (kind == 1 && RoadTest::TextAt(item, DocVc::Rows::Text) != text) continue;
        if (kind == 4 && GetI16(item, DocVc::Rows::FieldCode) != code) continue;
        if ((kind == 2 || kind == 3) && RoadTest::TextAt(item, DocVc::Rows::Text) != "") continue;
        PackedDecimal l = GetDec(item, DocVc::Rows::Left), t = GetDec(item, DocVc::Rows::Top);
        *left = int(DecToLong(&l));
        *top = int(DecToLong(&t));
        return true;
    }
    return false;
}

TEST_F(RoadTest, AFormIsDrawnInTheDesignerAndAnInvoicePrintsOnIt)
{
    const std::string company = StartNewCompany();
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    Menu("Registers", "Forms");
    Check("the form list opens", [] {
        EXPECT_EQ(ActiveType(), FormList) << ActiveTitle();
        return ActiveType() == FormList;
    });
    // The demo company's invoice form, found by its name and opened.
    ClickField("Find");
    Type("INVOICE");
    Key(PlKey::Return);   // finds the row
    Key(PlKey::Return);   // opens it
    Check("the invoice form opens in the designer", [] {
        EXPECT_EQ(ActiveType(), Designer) << ActiveTitle();
        EXPECT_NE(WinTable[Active()]->recordId, 0u) << ActiveTitle();
        return ActiveType() == Designer && WinTable[Active()]->recordId != 0;
    });
    // The demo form's data fields are named as the labels beside them
    // read: each opened by a double-click shows its name.
    const struct {
        const char *label, *name;
        int x, y;
    } named[] = {{"Phone", "Customer phone", 450, 174},
                 {"Our reference", "Our reference", 450, 160},
                 {"Customer reference", "Reference", 450, 188}};
    for (const auto &f : named) {
        OpenInDesigner(*this, std::string("open the field beside ") + f.label, f.x, f.y);
        Check(std::string("the field beside ") + f.label + " is named so", [f] {
            EXPECT_EQ(ActiveTitle(), "Data field");
            EXPECT_EQ(Shown("Code"), f.name) << "beside " << f.label;
            return ActiveTitle() == "Data field";
        });
        ClickButton("Cancel");
        Check("the designer is active again", [] { return ActiveType() == Designer; });
    }
    // A text with the text tool, in the free band of the page.
    ClickButton("Text");
    DragInDesigner(*this, "draw a text", 100, 300, 250, 314);
    Check("the text's window opens", [] {
        EXPECT_EQ(ActiveTitle(), "Text");
        return ActiveTitle() == "Text";
    });
    Type("Designed here");
    ClickField("Font");
    Type("NORMAL");
    ClickButton("OK");
    // A data field of the invoice number beside it.
    ClickButton("Field");
    DragInDesigner(*this, "draw a data field", 300, 300, 450, 314);
    Check("the data field's window opens on its code", [] {
        EXPECT_EQ(ActiveTitle(), "Data field");
        EXPECT_EQ(FocusLabel(), "Code");
        return FocusLabel() == "Code";
    });
    Type("Invoice number");   // code 153 chosen by its name
    ClickField("Font");
    Type("NORMAL");
    ClickButton("OK");
    // A line under them and a box to their right, each closed by OK.
    ClickButton("Line");
    DragInDesigner(*this, "draw a line", 100, 380, 450, 383);
    ClickButton("OK");
    ClickButton("Box");
    DragInDesigner(*this, "draw a box", 480, 380, 550, 420);
    ClickButton("OK");
    // Both dragged down by the mouse: the text 20 right and 30 down, the
    // field 30 down.
    DragInDesigner(*this, "drag the text", 150, 307, 170, 337);
    DragInDesigner(*this, "drag the field", 350, 307, 350, 337);
    Check("the designer shows the field selected with its grab marks", [this, shots] {
        EXPECT_EQ(ActiveType(), Designer) << ActiveTitle();
        if (shots) SaveWindowPng(fs::path(shots) / "form_designer.png");
        return ActiveType() == Designer;
    });
    ClickOk();
    Check("OK stores the form", [] {
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        return true;
    });
    Menu("Window", "Close all");
    // An invoice, posted and printed on the form.
    Menu("File", "Windows...");
    ClickRow("Sales invoices");
    Key(PlKey::Return);
    ClickButton("New");
    Check("the invoice window opens on a new invoice", [] {
        EXPECT_EQ(ActiveType(), SalesInvoice) << ActiveTitle();
        return ActiveType() == SalesInvoice;
    });
    ClickField("Customer");
    Type("C1");
    Key(PlKey::Tab);
    ClickCell(0, 1);
    Type("ITEM1");
    Key(PlKey::Tab);
    Type("2");
    Key(PlKey::Tab);
    ClickButton("Posted");
    ClickOk();
    auto number = std::make_shared<std::string>();
    Check("OK posts it", [number] {
        *number = Shown("Number");
        EXPECT_NE(*number, "");
        return TitleTells("viewing");
    });
    AnswerPrint(true);
    Key('P', false, true);
    Check("the page carries the designed text and field", [this, number, shots] {
        std::vector<fs::path> pdfs = FilesIn("print");
        if (pdfs.size() != 1) {
            ADD_FAILURE() << "PDFs printed: " << pdfs.size() << "; told " << ::testing::PrintToString(Messages());
            return false;
        }
        if (shots) fs::copy_file(pdfs[0], fs::path(shots) / "designed_invoice.pdf", fs::copy_options::overwrite_existing);
        std::string page = PdfText(pdfs[0]);
        std::string line = LineWith(page, "Designed here");
        EXPECT_NE(line, "") << page;
        // The field stands on the text's line, to its right.
        size_t text = line.find("Designed here"), value = line.find(*number, text);
        EXPECT_NE(value, std::string::npos) << "invoice " << *number << " in: " << line;
        // One form unit is one point: each stands 2 in from its item's
        // left and 2 below its top.
        int placed = 0;
        for (const pdfwords::PdfWord &w : pdfwords::PdfWords(pdfs[0])) {
            bool designed = w.text == "Designed", field = w.text == *number && w.yMin > 300;
            if (!designed && !field) continue;
            EXPECT_NEAR(w.xMin, designed ? 122 : 302, 3) << w.text;
            EXPECT_NEAR(w.yMin, 332, 3) << w.text;
            placed++;
        }
        EXPECT_EQ(placed, 2);
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> form;
    ASSERT_TRUE(FindByCode(DocVc::Number, DocVc::Code, 20, "INVOICE", &form));
    int left = 0, top = 0;
    ASSERT_TRUE(ItemAt(form, 1, "Designed here", 0, &left, &top));
    EXPECT_EQ(left, 120);
    EXPECT_EQ(top, 330);
    ASSERT_TRUE(ItemAt(form, 4, "", 153, &left, &top));
    EXPECT_EQ(left, 300);
    EXPECT_EQ(top, 330);
    ASSERT_TRUE(ItemAt(form, 2, "", 0, &left, &top));
    EXPECT_EQ(left, 100);
    EXPECT_EQ(top, 380);
    ASSERT_TRUE(ItemAt(form, 3, "", 0, &left, &top));
    EXPECT_EQ(left, 480);
    EXPECT_EQ(top, 380);
    RecFreeMatrix(DocVc::Number, form.data());
    CloseForCheck();
}

}  // namespace
