// road_access_group_test.cpp - a person kept to his access group by
// every road. ADMIN makes the group LIMIT, which withholds the customer
// and sales-invoice registers, the company settings window, the persons
// and the access groups, and its person BOB. Logged in through File >
// Company..., BOB finds none of them in the Registers and Settings menus
// nor behind a Ctrl+digit or any of the bottom bar's module buttons; in
// Sales, Registers > Orders, an order's customer list (Ctrl+J) lets him
// pick a customer but refuses its New; the stored order's Operations >
// Invoice is refused; File > Maintenance... > "Chosen registers" with
// Persons ticked leaves the persons out, saying so, with no password
// verifier in the file; File > Maintenance... > text import is refused
// before its file is asked for. The company file holds no customer,
// invoice or person he tried to make.
// Menus: Registers > Access groups, Registers > Persons, File > Company...,
// in Sales Registers > Orders and Operations > Invoice, File >
// Maintenance... > "Chosen registers", File > Maintenance... > text import.
// Windows: Access groups, Persons, Order, Customers (as a choice list),
// Chosen registers export selection, Functions (exports, imports).
#include "tests/roads/road_fixture.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>

#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/menu.h"
#include "platform/queue.h"
#include "platform/window.h"
#include "shell/menus.h"
#include "shell/settings_menu.h"
#include "shell/shell.h"
#include "shell/toolbar.h"

namespace {

namespace fs = std::filesystem;

constexpr int AccessGroupList = 595, AccessGroups = 591, PersonList = 596, Persons = 593;
constexpr int CustomerList = 594, Customers = 590, SalesInvoiceList = 348, SalesInvoice = 347;
constexpr int CompanySettings = 592, OrderList = 351, Order = 352, FunctionList = 7;
constexpr int FirstModuleButton = 5;   // the bottom bar's entries 1..4 are its fixed buttons
constexpr int ModuleButtons = 4;       // entries 5..8: a module's first four windows
const std::string NoRight = "Your access group does not allow this.";

// The window types LIMIT withholds.
const std::set<int> Withheld = {AccessGroupList, AccessGroups, PersonList, Persons, CustomerList,
                                Customers, SalesInvoiceList, SalesInvoice, CompanySettings};

// The labels of a popup's items, without "&" and key text.
std::vector<std::string> Labels(uint32_t menu)
{
    std::vector<std::string> out;
    for (int i = 0; i < MenuItemCount(menu); i++) {
        std::string t;
        for (char c : MenuItemText(menu, i)) {
            if (c == '\t') break;
            if (c != '&') t += c;
        }
        out.push_back(t);
    }
    return out;
}

// True (else a failure naming `how`) when what is active now is no
// window the group withholds.
bool NothingWithheldOpen(const std::string &how)
{
    int type = RoadTest::ActiveType();
    EXPECT_FALSE(Withheld.count(type)) << how << " opened \"" << RoadTest::ActiveTitle() << "\"";
    return !Withheld.count(type);
}

TEST_F(RoadTest, APersonOfALimitedGroupIsRefusedByEveryRoad)
{
    const fs::path exported = dir / "chosen.txt", imported = dir / "eve.txt";
    {
        std::ofstream out(imported, std::ios::binary);
        out << "user1\t\r\nEVE\tEve Nogroup\tpw-eve-1\t\r\n\r\n";
    }
    const std::string company = StartNewCompany();
    auto invoices = std::make_shared<uint32_t>(), orders = std::make_shared<uint32_t>();
    Do("count the demo's invoices and orders", [invoices, orders] {
        *invoices = RegRecordCount(IVVc::Number);
        *orders = RegRecordCount(ORVc::Number);
        return true;
    });

    // ---- ADMIN makes the group and its person.
    NewFromList("Access groups", AccessGroupList, AccessGroups);
    TypeFields({{"Code", "LIMIT"}, {"Name", "Limited"}});
    const std::vector<std::vector<std::string>> rows = {
        {"9", "1", "1"},   {"2", "590", "0"}, {"2", "594", "0"}, {"2", "347", "0"}, {"2", "348", "0"},
        {"3", "592", "0"}, {"2", "591", "0"}, {"2", "595", "0"}, {"2", "593", "0"}, {"2", "596", "0"}};
    for (size_t r = 0; r < rows.size(); r++)
        for (int c = 0; c < 3; c++) TypeCell(int(r), c, rows[r][size_t(c)]);
    OkStoresQuietly("the access group");
    NewFromList("Persons", PersonList, Persons);
    TypeFields({{"Code", "BOB"}, {"Name", "Bob Limited"}, {"Password", "bob-pw-1"}, {"Access group", "LIMIT"}});
    OkStoresQuietly("the person");
    Menu("Window", "Close all");

    // ---- BOB logs in.
    AnswerFile(company);
    Menu("File", "Company...");
    Check("the login window asks", Opened(WinTypes::Login));
    ClickField("User code");
    Type("BOB");
    ClickField("Password");
    Type("bob-pw-1");
    ClickOk();
    Check("BOB is let in", [] {
        EXPECT_EQ(LoggedInFlag, 1) << ::testing::PrintToString(Messages());
        return LoggedInFlag == 1;
    });

    // The menus offer nothing withheld.
    Check("the Registers and Settings menus offer nothing withheld", [] {
        std::vector<std::string> registers = Labels(MenuHandles.registerPopup);
        std::vector<std::string> settings = Labels(SettingsMenuHandle);
        EXPECT_FALSE(registers.empty());
        for (const char *withheld : {"Customers", "Access groups", "Persons", "Company", "Sales invoices"}) {
            EXPECT_EQ(std::count(registers.begin(), registers.end(), withheld), 0)
                << "Registers offers " << withheld << ::testing::PrintToString(registers);
        }
        EXPECT_EQ(std::count(settings.begin(), settings.end(), "Company..."), 0) << ::testing::PrintToString(settings);
        return true;
    });

    // Nor does a Ctrl+digit or a module button of the bottom bar open it.
    Menu("Module", "Sales");
    for (char digit = '1'; digit <= '9'; digit++) {
        Key(uint32_t(digit), false, true);
        Check(std::string("Ctrl+") + digit + " opens nothing withheld",
              [digit] { return NothingWithheldOpen(std::string("Ctrl+") + digit); });
        Menu("Window", "Close all");
    }
    // Every module button of the bar: each opens what the group allows.
    for (int entry = FirstModuleButton; entry < FirstModuleButton + ModuleButtons; entry++) {
        Do("click the bottom bar's module button " + std::to_string(entry), [entry] {
            MacRect r;
            if (!BottomBarEntryRect(entry, &r)) {
                ADD_FAILURE() << "the bottom bar has no entry " << entry;
                return false;
            }
            PlPoint p = WinClientToScreen(BottomBarWindow, PlPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
            MsgInputMouse(p, 0, false);
            MsgInputMouse(p, 1, true);
            MsgInputMouse(p, 1, false);
            return true;
        });
        Check("the bottom bar's button " + std::to_string(entry) + " opens nothing withheld",
              [] { return NothingWithheldOpen("a module button"); });
        Menu("Window", "Close all");
    }

    // An order's customer list picks, but makes no customer.
    Menu("Registers", "Orders");
    Check("the order list opens", Opened(OrderList));
    ClickButton("New");
    Check("New opens an order", Opened(Order));
    ClickField("Customer");
    Key('J', false, true);
    Check("Ctrl+J lists the customers to pick from", Opened(CustomerList));
    auto told = CountTold();
    ClickButton("New");
    Check("the list's New is refused", [told] {
        EXPECT_EQ(Messages().size(), *told + 1) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(Told(NoRight)) << ::testing::PrintToString(Messages());
        EXPECT_EQ(ActiveType(), CustomerList) << ActiveTitle();   // no customer window: the list stays
        return ActiveType() == CustomerList;
    });
    Key(PlKey::Escape);
    Check("Esc goes back to the order", Opened(Order));
    TypeOneRowDocument("C1", 0, "ITEM1", "1");

    // The order's conversion to an invoice writes the invoices: refused.
    told = CountTold();
    Menu("Operations", "Invoice");
    Check("Operations > Invoice is refused", [told] {
        EXPECT_EQ(Messages().size(), *told + 1) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(Told(NoRight));
        return NothingWithheldOpen("Operations > Invoice");
    });
    Menu("Window", "Close all");

    // The chosen-registers export leaves the persons out and says so.
    ChooseTextExport("Chosen registers", exported, true);
    Check("the selection window opens", Opened(WinTypes::ChosenRegistersExportSel));
    ClickButton("Customers");
    ClickButton("Persons");
    ClickOk();
    Check("the export is written without the persons", [exported] {
        EXPECT_TRUE(fs::exists(exported));
        EXPECT_TRUE(Told("left out of the file")) << ::testing::PrintToString(Messages());
        return fs::exists(exported);
    });
    Menu("Window", "Close all");

    // The text import could make a person of any group: refused.
    told = CountTold();
    Menu("File", "Maintenance...");
    Check("the function list opens", Opened(FunctionList));
    ClickButton("Imports");
    ClickButton("Text file");
    ClickRow("");
    AnswerFile(imported.string());
    Key(PlKey::Return);
    Check("the import is refused", [told] {
        EXPECT_EQ(Messages().size(), *told + 1) << ::testing::PrintToString(Messages());
        return Told(NoRight);
    });
    EXPECT_EQ(Run(), 0);

    std::ifstream in(exported, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_NE(bytes.find("\r\nC1\t"), std::string::npos) << bytes;
    EXPECT_EQ(bytes.find("user1"), std::string::npos) << bytes;
    EXPECT_EQ(bytes.find("SCRAM-SHA-256$"), std::string::npos) << bytes;

    ASSERT_TRUE(OpenForCheck(company));
    EXPECT_EQ(RegRecordCount(CUVc::Number), 3u);
    EXPECT_EQ(RegRecordCount(IVVc::Number), *invoices);
    EXPECT_EQ(RegRecordCount(PEVc::Number), 2u);
    EXPECT_EQ(RegRecordCount(ORVc::Number), *orders + 1) << "BOB's order is stored";
    std::vector<uint8_t> r;
    EXPECT_FALSE(FindByCode(PEVc::Number, PEVc::Code, 5, "EVE", &r));
}

}  // namespace
