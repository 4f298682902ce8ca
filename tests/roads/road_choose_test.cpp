// road_choose_test.cpp - choosing from a field as a new user does it on
// an invoice of the demo company: Ctrl+J on the customer field opens the
// customer list on what was typed, Return types the chosen code back and
// moves on (the name follows), Esc comes back with the field unchanged;
// Ctrl+J on an item cell opens the item list, the code found in it is
// chosen with Return and the quantity cell is next. The stored invoice holds what
// was chosen.
// Menus: in Sales, Registers > Customers (Ctrl+1), Registers > Orders
// (Ctrl+9); File > Windows... > "Sales invoices".
// Windows: Sales invoice, Sales invoice list, Customer list, Item list,
// Order.
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <memory>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/menu.h"
#include "platform/queue.h"
#include "shell/list_windows.h"
#include "shell/menus.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "tests/shell/record_test_helpers.h"

namespace {

constexpr int SalesInvoice = 347, SalesInvoiceList = 348, CustomerList = 594, ItemList = 42;
constexpr int ColItem = 1;

// The active list window's selected row as the codes its first column
// shows; "" when no row is selected.
std::string SelectedCode()
{
    int n = RoadTest::Active();
    if (!WinIsOpen(n) || WinTable[n]->selCurrent < 0) return "";
    int32_t id = ListSelAnchor(n);
    int reg = WinRegisterOf(n);
    if (id < 0 || reg == 0) return "";
    std::vector<uint8_t> record(RegRecordSize(reg));
    if (!StoredRecord(reg, uint32_t(id), record.data(), uint32_t(record.size()))) return "";
    std::string code = TextAt(record.data(), 0);
    RecFreeMatrix(reg, record.data());
    return code;
}

TEST_F(RoadTest, CustomerAndItemAreChosenFromTheirListsIntoAnInvoice)
{
    const std::string company = StartNewCompany();
    Menu("File", "Windows...");
    ClickRow("Sales invoices");
    Key(PlKey::Return);
    Check("the sales invoice list opens", [] { return ActiveType() == SalesInvoiceList; });
    ClickButton("New");
    ClickField("Customer");
    Type("C3");
    Key('J', false, true);
    Check("Ctrl+J opens the customer list on the typed code", [] {
        EXPECT_EQ(ActiveType(), CustomerList) << ActiveTitle();
        EXPECT_EQ(Shown("Find"), "C3");
        EXPECT_EQ(SelectedCode(), "C3");
        return ActiveType() == CustomerList;
    });
    Key(PlKey::Return);
    Check("Return types the code back and moves on to the date", [] {
        EXPECT_EQ(ActiveType(), SalesInvoice) << ActiveTitle();
        EXPECT_EQ(Shown("Customer"), "C3");
        EXPECT_EQ(Shown("Name"), "Small Customer");
        EXPECT_EQ(FocusLabel(), "Invoice date");
        return ActiveType() == SalesInvoice;
    });
    // Esc leaves the field as it was, even after moving in the list.
    ClickField("Customer");
    Menu("Edit", "Choose...");
    Check("Edit > Choose opens the list on the customer shown", [] {
        EXPECT_EQ(SelectedCode(), "C3");
        return ActiveType() == CustomerList;
    });
    Key(PlKey::Up);
    Check("Up selects the customer before", [] { return SelectedCode() == "C2"; });
    Key(PlKey::Escape);
    Check("Esc goes back with the customer unchanged", [] {
        EXPECT_EQ(ActiveType(), SalesInvoice) << ActiveTitle();
        EXPECT_EQ(Shown("Customer"), "C3");
        EXPECT_EQ(Shown("Name"), "Small Customer");
        return ActiveType() == SalesInvoice;
    });
    // An item cell chooses from the item list; with nothing typed the
    // list starts at its first item.
    ClickCell(0, ColItem);
    Key('J', false, true);
    Check("Ctrl+J on the item cell opens the item list", [] {
        EXPECT_EQ(ActiveType(), ItemList) << ActiveTitle();
        EXPECT_EQ(SelectedCode(), "ITEM1");
        return ActiveType() == ItemList;
    });
    Do("keep a picture of the item list", [this] {
        const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
        EXPECT_TRUE(!shots || SaveWindowPng(std::filesystem::path(shots) / "item_list.png"));
        return true;
    });
    Type("ITEM2");
    Key(PlKey::Return);
    Check("Return in Find selects the item", [] { return SelectedCode() == "ITEM2"; });
    Key(PlKey::Return);
    Check("the second Return chooses it and the quantity cell is next", [] {
        EXPECT_EQ(ActiveType(), SalesInvoice) << ActiveTitle();
        EXPECT_EQ(FocusLabel(), "cell");
        return ActiveType() == SalesInvoice;
    });
    Type("3");
    Key(PlKey::Tab);
    Check("the chosen item's price makes the total", [] {
        EXPECT_EQ(Shown("Net"), "150,00");
        return true;
    });
    OkStores("invoice");
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    StoredInvoice inv = OnlyInvoice();
    ASSERT_FALSE(inv.head.empty()) << "the company file holds one invoice";
    EXPECT_EQ(TextAt(inv.head.data(), IVVc::CustCode), "C3");
    ASSERT_EQ(inv.rows.size(), 1u);
    EXPECT_EQ(TextAt(inv.rows[0].data(), IVVc::Rows::ItemCode), "ITEM2");
}

// A list opened on its own still opens the record chosen; the same list
// opened from a field chooses instead.
TEST_F(RoadTest, TheCustomerListOpensItsRecordsWhenNotChoosing)
{
    StartNewCompany();
    Key('1', false, true);
    Check("Ctrl+1 opens the customer list", [] { return ActiveType() == CustomerList; });
    Type("C1");
    Key(PlKey::Return);
    Key(PlKey::Return);
    Check("Return opens the customer", [] {
        EXPECT_EQ(ActiveType(), 590) << ActiveTitle();
        EXPECT_EQ(Shown("Code"), "C1");
        return true;
    });
    EXPECT_EQ(Run(), 0);
}

}  // namespace

namespace {

// The texts of the menu bar's popup titled `title` (without "&").
std::vector<std::string> MenuTexts(const std::string &title)
{
    std::vector<std::string> texts;
    uint32_t bar = MenuHandles.bar;
    for (int top = 0; top < MenuItemCount(bar); top++) {
        std::string t = MenuItemText(bar, top);
        std::erase(t, '&');
        if (t != title) continue;
        uint32_t popup = MenuSubMenu(bar, top);
        for (int i = 0; popup && i < MenuItemCount(popup); i++) texts.push_back(MenuItemText(popup, i));
    }
    return texts;
}

// The order window's operations show keys of their own: Ctrl+N stays
// Record > New and makes a new order.
TEST_F(RoadTest, TheOrdersOperationsShowNoKeyOfAnotherMenu)
{
    StartNewCompany();
    Menu("Module", "Sales");
    Key('9', false, true);
    ClickButton("New");
    Check("the order's operations show their own keys", [] {
        EXPECT_EQ(ActiveType(), 352) << ActiveTitle();
        std::vector<std::string> ops = MenuTexts("Operations");
        EXPECT_GE(ops.size(), 5u);
        for (const std::string &text : ops)
            for (const char *taken : {"Ctrl+D", "Ctrl+N", "Ctrl+P", "Ctrl+I", "Ctrl+U"})
                EXPECT_EQ(text.find(taken), std::string::npos) << text;
        return ActiveType() == 352;
    });
    ClickField("Customer");
    Type("C1");
    Key(PlKey::Tab);
    AnswerBox(kPlIdNo);   // the changes are dropped
    Key('N', false, true);
    Check("Ctrl+N starts a new order", [] {
        EXPECT_EQ(ActiveType(), 352) << ActiveTitle();
        EXPECT_TRUE(TitleTells("new")) << ActiveTitle();
        EXPECT_EQ(Shown("Customer"), "");
        return true;
    });
    EXPECT_EQ(Run(), 0);
}

}  // namespace
