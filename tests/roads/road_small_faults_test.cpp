// road_small_faults_test.cpp - small things a user meets in the sales and
// purchase windows, each walked as a user does it: File > Print on an
// order prints its form, as Ctrl+P does on the quotation and the invoice;
// a purchase invoice whose rows miss its total
// is refused with words about its rows and VAT (naming a row without a
// VAT code), keeps the number it showed, and is stored once corrected.
// Tab from a voucher's text passes over its totals into the rows; the
// notes taken beside it (Record > Notes) keep a Return as a new line.
// Menus: in General ledger, Registers > Vouchers and Record > Notes; in
// Sales, Registers > Orders (Ctrl+9); in Purchasing, Registers > Vendors,
// Registers > Purchase invoices; File > Print, File > Print (Ctrl+P).
// Windows: Voucher, Notes, Order list, Order, Purchase invoice list,
// Purchase invoice.
#include "tests/roads/road_fixture.h"

#include <memory>
#include <utility>
#include <vector>

#include "core/field_access.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "platform/window.h"
#include "tests/platform/ink_bands.h"

namespace {

constexpr int Voucher = 117, OrderList = 351, Order = 352, PurchaseInvoiceList = 154, PurchaseInvoice = 155;
namespace fs = std::filesystem;

TEST_F(RoadTest, OrderPrintsFromTheFileMenuAndWithCtrlP)
{
    const std::string company = StartNewCompany();
    Menu("Module", "Sales");
    Key('9', false, true);
    Check("Ctrl+9 opens the order list", [] { return ActiveType() == OrderList; });
    ClickButton("New");
    Check("New opens the order window", [] { return ActiveType() == Order; });
    auto number = TypeOneRowDocument("C1", 0, "SERVICE", "2");
    Check("OK stores the order", [] { return TitleTells("viewing"); });
    AnswerPrint(true);
    Menu("File", "Print");
    Check("File > Print prints the order on its form", [this, number] {
        const std::vector<fs::path> pdfs = FilesIn("print");
        EXPECT_EQ(pdfs.size(), 1u) << ::testing::PrintToString(Messages());
        if (pdfs.empty()) return true;
        const std::string text = PdfText(pdfs.back());
        EXPECT_NE(text.find("Order"), std::string::npos) << text;
        EXPECT_NE(text.find(*number), std::string::npos) << text;
        return true;
    });
    AnswerPrint(true);
    Key('P', false, true);
    Check("Ctrl+P prints it again", [this] {
        EXPECT_EQ(FilesIn("print").size(), 2u) << ::testing::PrintToString(Messages());
        return true;
    });
    Menu("Window", "Close all");

    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    EXPECT_EQ(RegRecordCount(ORVc::Number), 1u);
    CloseForCheck();
}

TEST_F(RoadTest, APurchaseInvoiceMissingItsTotalIsToldWhyAndKeepsItsNumber)
{
    const std::string company = StartNewCompany();
    TypeVendor({"V1", "Office Supply Ltd", "Box 12", "", "", "5050-1234", "5050-1234"});
    Menu("Module", "Purchasing");
    Menu("Registers", "Purchase invoices");
    Check("the purchase-invoice list opens", [] { return ActiveType() == PurchaseInvoiceList; });
    ClickButton("New");
    Check("New opens a purchase invoice", [] { return ActiveType() == PurchaseInvoice; });
    ClickField("Vendor");
    Type("V1");
    Key(PlKey::Tab);
    ClickField("Vendor's invoice");
    Type("A-78");
    // 1 250 with VAT, but the one row has no VAT code: its VAT is nowhere.
    ClickField("Total");
    Type("1250");
    Key(PlKey::Tab);
    ClickCell(0, 0);
    Type("5010");
    Key(PlKey::Tab);
    ClickCell(0, 3);
    Type("1000");
    Key(PlKey::Tab);
    auto number = std::make_shared<std::string>();
    Do("note the number shown", [number] {
        *number = Shown("Number");
        return true;
    });
    auto told = CountTold();
    ClickOk();
    Check("the refusal names the row without a VAT code and keeps the number", [number, told] {
        EXPECT_TRUE(TitleTells("new")) << ActiveTitle();
        EXPECT_EQ(Messages().size(), *told + 1) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(Told("A row with an amount needs a VAT code")) << ::testing::PrintToString(Messages());
        EXPECT_FALSE(Told("Debit and credit")) << ::testing::PrintToString(Messages());
        EXPECT_EQ(Shown("Number"), *number);
        return true;
    });
    ClickCell(0, 4);   // the VAT code column
    Type("1");
    Key(PlKey::Tab);
    ClickOk();
    Check("with the VAT code the invoice is stored", [] {
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle() << ::testing::PrintToString(Messages());
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    EXPECT_EQ(RegRecordCount(VIVc::Number), 1u);
    CloseForCheck();
}

TEST_F(RoadTest, TabFromTheVouchersTextReachesItsRows)
{
    StartNewCompany();
    Menu("Module", "General ledger");
    Menu("Registers", "Vouchers");
    ClickButton("New");
    Check("New opens a voucher", [] { return ActiveType() == Voucher; });
    ClickField("Text");
    Type("Cash sale");
    Key(PlKey::Tab);
    Check("Tab goes into the first row, not to the Debit total", [] {
        EXPECT_EQ(FocusLabel(), "cell");
        return true;
    });
    Type("1910");
    Key(PlKey::Tab);
    Key(PlKey::Tab, true);
    Key(PlKey::Tab, true);
    Check("Shift+Tab from the first cell goes back to the text, over the totals", [] {
        EXPECT_EQ(FocusLabel(), "Text");
        return true;
    });

    // Notes taken beside the voucher: Return starts a second line, drawn
    // under the first from the top of the box, and neither closes the
    // notes nor touches the voucher.
    Menu("Record", "Notes");
    Check("Record > Notes opens the notes", [] { return ActiveType() == WinTypes::Notes; });
    Type("First line");
    Key(PlKey::Return);
    Type("Second line");
    KeepPicture("notes_two_lines");
    Check("the notes hold two lines, drawn one under the other from the top", [] {
        EXPECT_EQ(ActiveType(), WinTypes::Notes) << "Return leaves the notes open";
        EXPECT_EQ(Shown(""), "First line\nSecond line");
        std::vector<std::pair<int, int>> lines = InkBands(WinFocus());
        EXPECT_EQ(lines.size(), 2u) << "lines of text drawn";
        EXPECT_TRUE(!lines.empty() && lines[0].first < 8) << "the first line starts at the top, not the middle";
        return true;
    });
    Menu("Window", "Close all");
    AnswerBox(kPlIdNo);
    EXPECT_EQ(Run(), 0);
}

}  // namespace
