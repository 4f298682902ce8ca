// road_choosing_test.cpp - a sales invoice typed by a new user who
// chooses rather than remembers: the customer with Ctrl+J (the list
// starts on what was typed, Return types the code back and moves on), the
// invoice number from the free numbers of its series (Esc there leaves
// the number as it was), an item by a double click on its cell, a VAT
// code in a cell with Edit > Choose over a code typed wrong, and the
// customer's contact as the reference, from a list that holds that
// customer's contacts only. The stored invoice holds what was chosen.
// Then the ledger options' printer face, chosen from the font families.
// Menus: in General ledger, Settings > Ledger options...; File > Windows...
// > "Contacts", File > Windows... > "Sales invoices".
// Windows: Sales invoice, Sales invoice list, Customer list, Item list,
// Contact list, Contact, Number choice (free numbers, from a document's
// number), VAT code choice, Contact choice (from a document's reference),
// Font name choice (from the printer face), Ledger options, Purchase item
// list.
#include "tests/roads/road_fixture.h"

#include <algorithm>
#include <memory>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "platform/window.h"
#include "shell/list_windows.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

constexpr int SalesInvoice = 347, SalesInvoiceList = 348, CustomerList = 594, ItemList = 42;
constexpr int ContactList = 69, Contact = 68;
constexpr int NumberChoice = 97, VatCodeChoice = 444, ContactChoice = 495, FontNameChoice = 564, LedgerOptions = 211;
// Cells of an invoice row: the item on the items page, the VAT code on
// the accounts page.
constexpr int ColItem = 1, ColVatCode = 4;

// The digits of a text (a number shown with its grouping).
std::string Digits(const std::string &text)
{
    std::string digits;
    for (char c : text)
        if (c >= '0' && c <= '9') digits += c;
    return digits;
}

// A press and release of the left button in the middle of cell `column`
// of the first row of the active window: the second click of a double
// click when the first one has just put the cell under edit.
bool ClickFirstRowCell(int column)
{
    int n = RoadTest::Active();
    if (!n || !WinHasMatrix(n)) return false;
    int slot = MatrixSlotOf(n);
    int top = slot >= 0 ? WinTable[n]->controls[slot].position : 0;
    MacRect r;
    if (!MatrixCellRect(n, MatrixRowKind(n, 0), &r, -top, column)) return false;
    PlPoint p = WinClientToScreen(WinTable[n]->mdiChild, PlPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
    MsgInputMouse(p, 1, true);
    MsgInputMouse(p, 1, false);
    return true;
}

TEST_F(RoadTest, AnInvoiceIsTypedByChoosingItsCodesFromTheirLists)
{
    const std::string company = StartNewCompany();
    Menu("Module", "Sales");

    // Two contacts of two customers, kept through the contact window.
    for (const auto &[customer, name] : {std::pair{"C1", "Anna Berg"}, std::pair{"C2", "Olle Ek"}}) {
        NewFromWindowList("Contacts", ContactList, Contact);
        ClickField("Customer");
        Type(customer);
        ClickField("Name");
        Type(name);
        OkStores("contact");
    }

    NewFromWindowList("Sales invoices", SalesInvoiceList, SalesInvoice);
    ClickField("Customer");
    Type("C");
    Key('J', false, true);
    Check("Ctrl+J opens the customer list at the first code from what was typed", [] {
        EXPECT_EQ(ActiveType(), CustomerList) << ActiveTitle();
        EXPECT_EQ(Shown("Find"), "C");
        return ActiveType() == CustomerList;
    });
    Key(PlKey::Return);
    Check("Return types the customer back, its name follows and the cursor moves on", [] {
        EXPECT_EQ(ActiveType(), SalesInvoice) << ActiveTitle();
        EXPECT_EQ(Shown("Customer"), "C1");
        EXPECT_EQ(Shown("Name"), "First Customer");
        EXPECT_NE(FocusLabel(), "Customer");
        return ActiveType() == SalesInvoice;
    });

    // The number: the free number of this year's series is offered; Esc
    // leaves the field as it was, Return takes the number.
    auto before = std::make_shared<std::string>();
    auto offered = std::make_shared<std::string>();
    ClickField("Number");
    Do("note the number shown", [before] {
        *before = Shown("Number");
        return true;
    });
    Key('J', false, true);
    Check("Ctrl+J on the number lists the free number of the series", [offered] {
        EXPECT_EQ(ActiveType(), NumberChoice) << ActiveTitle();
        std::vector<std::string> rows = ListRows();
        EXPECT_EQ(rows.size(), 1u) << ::testing::PrintToString(rows);
        if (rows.empty()) return false;
        *offered = Digits(rows[0].substr(0, 9));
        EXPECT_EQ(offered->size(), 7u) << rows[0];
        return ActiveType() == NumberChoice;
    });
    Key(PlKey::Escape);
    Check("Esc goes back with the number as it was", [before] {
        EXPECT_EQ(ActiveType(), SalesInvoice) << ActiveTitle();
        EXPECT_EQ(Shown("Number"), *before);
        return ActiveType() == SalesInvoice;
    });
    Key('J', false, true);
    Check("the free numbers open again", Opened(NumberChoice));
    Key(PlKey::Return);
    Check("Return types the free number into the field", [offered] {
        EXPECT_EQ(ActiveType(), SalesInvoice) << ActiveTitle();
        EXPECT_EQ(Digits(Shown("Number")), *offered);
        return ActiveType() == SalesInvoice;
    });

    // An item by a double click on its cell: the first click puts the
    // cell under edit, the second on the same spot opens the item list.
    ClickCell(0, ColItem);
    Do("click the item cell again at once", [] { return ClickFirstRowCell(ColItem); });
    Check("the double click opens the item list", [] {
        EXPECT_EQ(ActiveType(), ItemList) << ActiveTitle();
        return ActiveType() == ItemList;
    });
    Key(PlKey::Return);
    Check("Return types the first item into the cell and moves on", [] {
        EXPECT_EQ(ActiveType(), SalesInvoice) << ActiveTitle();
        EXPECT_EQ(FocusLabel(), "cell");
        return ActiveType() == SalesInvoice;
    });
    Type("2");
    Key(PlKey::Tab);

    // A VAT code typed wrong, then chosen over with Edit > Choose from the
    // rows of the VAT settings.
    ClickButton("Accounts");
    ClickCell(0, ColVatCode);
    Type("9");
    Menu("Edit", "Choose...");
    Check("Edit > Choose on the VAT cell lists the VAT codes", [] {
        EXPECT_EQ(ActiveType(), VatCodeChoice) << ActiveTitle();
        std::vector<std::string> rows = ListRows();
        EXPECT_FALSE(rows.empty());
        EXPECT_EQ(rows.empty() ? "" : rows[0].substr(0, 1), "1") << ::testing::PrintToString(rows);
        return ActiveType() == VatCodeChoice;
    });
    KeepPicture("vat_code_choice");
    Key(PlKey::Return);
    Check("the chosen code takes the place of what was typed", [] {
        EXPECT_EQ(ActiveType(), SalesInvoice) << ActiveTitle();
        return ActiveType() == SalesInvoice;
    });
    Key(PlKey::Tab);

    // The reference: the contacts of the invoice's customer, not of others.
    ClickButton("Terms");
    ClickField("Reference");
    Key('J', false, true);
    Check("Ctrl+J on the reference lists the customer's contacts only", [] {
        EXPECT_EQ(ActiveType(), ContactChoice) << ActiveTitle();
        std::vector<std::string> rows = ListRows();
        EXPECT_EQ(rows.size(), 1u) << ::testing::PrintToString(rows);
        EXPECT_EQ(rows.empty() ? "" : rows[0].substr(0, 9), "Anna Berg");
        return ActiveType() == ContactChoice;
    });
    KeepPicture("contact_choice");
    Key(PlKey::Return);
    Check("Return types the contact's name as the reference", [] {
        EXPECT_EQ(ActiveType(), SalesInvoice) << ActiveTitle();
        EXPECT_EQ(Shown("Reference"), "Anna Berg");
        return ActiveType() == SalesInvoice;
    });
    OkStores("invoice");
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    StoredInvoice inv = OnlyInvoice();
    ASSERT_FALSE(inv.head.empty()) << "the company file holds one invoice";
    EXPECT_EQ(TextAt(inv.head.data(), IVVc::CustCode), "C1");
    EXPECT_EQ(std::to_string(GetI32(inv.head.data(), IVVc::SerNr)), *offered);
    EXPECT_EQ(TextAt(inv.head.data(), IVVc::Reference), "Anna Berg");
    ASSERT_EQ(inv.rows.size(), 1u);
    EXPECT_EQ(TextAt(inv.rows[0].data(), IVVc::Rows::ItemCode), "ITEM1");
    EXPECT_EQ(TextAt(inv.rows[0].data(), IVVc::Rows::VatCode), "1");
}

// The printer face of the ledger options is chosen from the installed
// font families: a double click on the field lists them, and the family
// chosen is stored as the company's face.
TEST_F(RoadTest, ThePrinterFaceIsChosenFromTheInstalledFonts)
{
    const std::string company = StartNewCompany("faces.VDB");
    Menu("Module", "General ledger");
    Menu("Settings", "Ledger options...");
    Check("the ledger options open", Opened(LedgerOptions));
    ClickField("Printer face");
    Key('J', false, true);
    Check("Ctrl+J on the printer face lists the font families", [] {
        EXPECT_EQ(ActiveType(), FontNameChoice) << ActiveTitle();
        std::vector<std::string> rows = ListRows();
        bool dejaVu = std::find(rows.begin(), rows.end(), "DejaVu Sans") != rows.end();
        EXPECT_TRUE(dejaVu) << ::testing::PrintToString(rows);
        return ActiveType() == FontNameChoice && dejaVu;
    });
    ClickRow("DejaVu Sans");
    Key(PlKey::Return);
    Check("the family is typed into the field", [] {
        EXPECT_EQ(ActiveType(), LedgerOptions) << ActiveTitle();
        EXPECT_EQ(Shown("Printer face"), "DejaVu Sans");
        return Shown("Printer face") == "DejaVu Sans";
    });
    ClickOk();
    Check("the ledger options are stored", [] { return ActiveType() != LedgerOptions; });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> block = StoredRows(CompanyBlk::Number);
    ASSERT_GE(block.size(), size_t(CompanyBlk::Size));
    EXPECT_EQ(TextAt(block.data(), CompanyBlk::PrinterFontName), "DejaVu Sans");
}

}  // namespace
