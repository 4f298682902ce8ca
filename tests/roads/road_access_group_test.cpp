// road_access_group_test.cpp - a person kept to his access group by
// every road. ADMIN makes the group LIMIT, which withholds the customer
// and sales-invoice registers, the company settings window, the persons
// and the access groups, and its person BOB. Logged in through File >
// Company..., BOB finds none of them in the Registers and Settings menus
// nor behind a Ctrl+digit or any of the bottom bar's module buttons; in
// Sales, Registers > Orders, an order's customer list (Ctrl+J) lets him
// pick a customer but refuses its New; the stored order's Operations >
// Invoice is refused, its Operations > Delivery makes the delivery, which
// he ships; each File > Maintenance run that makes, posts or deletes
// invoices (invoices from orders, sample invoices, approve, delete by
// number, interest invoices) is refused with the one message;
// File > Maintenance... > "Chosen registers" with
// Persons ticked leaves the persons out, saying so, with no password
// verifier in the file; File > Maintenance... > text import is refused
// before its file is asked for. ADMIN then invoices BOB's order by the
// run BOB was refused (logged in again by the bottom bar's Database while
// BOB's Sales is current, he finds the bar's module buttons drawn for
// him) and deletes that invoice by its number, the delete
// saying what it deleted and, run again, that it found nothing. A person
// of no group, NOGRP, is told at his login why his menus are empty. The
// company file holds no customer, invoice, voucher or person BOB tried
// to make, and every demo invoice.
// Menus: Registers > Access groups, Registers > Persons, File > Company...
// and the bottom bar's Database, in Sales Registers > Orders and
// Operations > Invoice and Delivery, in Stock Registers > Deliveries and
// Operations > Ship marked,
// File > Maintenance... > "Invoices from orders",
// File > Maintenance... > "Sample invoices",
// File > Maintenance... > "Approve sales invoices",
// File > Maintenance... > "Delete documents by number",
// File > Maintenance... > "Interest invoices",
// File > Maintenance... > "Chosen registers", File > Maintenance... > text import.
// Windows: Access groups, Persons, Order, Customers (as a choice list),
// Delivery, Delivery list, the five runs' windows, Chosen registers
// export selection, Functions (exports, imports).
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
#include "platform/script.h"
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
constexpr int OrderInvoicingSel = 471, SampleInvoicesSel = 467, ApproveSel = 553, DeleteRangesSel = 413,
              InterestInvoicesSel = 473;
constexpr const char *SampleFirst = "880001";   // the sample invoices BOB asks for, by number
constexpr int FirstModuleButton = 5;   // the bottom bar's entries 1..4 are its fixed buttons
constexpr int ModuleButtons = 4;       // entries 5..8: a module's first four windows
const std::string NoRight = "Your access group does not allow this.";
constexpr int StatusStripHeight = 19;   // the status strip along the bottom bar's foot

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

// Whether the bottom bar shows something at entry `entry` as a user sees
// it: ink (anything but the bar's light grey face) in the entry's icon
// square, or with `label` in the band under it where its label stands.
bool BarEntryInk(int entry, bool label)
{
    MacRect r;
    if (!BottomBarEntryRect(entry, &r)) return false;
    const int bottom = label ? WinClientRect(BottomBarWindow).bottom - StatusStripHeight : r.bottom;
    for (int y = label ? r.bottom : std::max<int>(r.top, 2); y < bottom; y++)
        for (int x = r.left - (label ? 8 : 0); x < r.right + (label ? 8 : 0); x++)
            if (WinClientPixel(BottomBarWindow, x, y) != kPlLightGrey) return true;
    return false;
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
    // File > Maintenance, the run `title` (its window of type `type`),
    // each field typed and each button clicked, OK: the road fails unless
    // the run is refused with the one message and its window goes.
    auto RefusedRun = [this](const std::string &title, int type,
                             std::vector<std::pair<std::string, std::string>> fields,
                             std::vector<std::string> buttons) {
        OpenMaintenanceRun(title, type);
        for (const auto &[label, text] : fields) {
            ClickField(label);
            Type(text);
        }
        for (const std::string &b : buttons) ClickButton(b);
        auto told = CountTold();
        ClickButton("OK");
        Check("\"" + title + "\" is refused", [told, title, type] {
            EXPECT_EQ(Messages().size(), *told + 1) << title << ::testing::PrintToString(Messages());
            EXPECT_TRUE(!Messages().empty() && Messages().back() == NoRight) << title;
            EXPECT_NE(ActiveType(), type) << title;
            return Messages().size() == *told + 1;
        });
        Menu("Window", "Close all");
    };
    const fs::path exported = dir / "chosen.txt", imported = dir / "eve.txt";
    {
        std::ofstream out(imported, std::ios::binary);
        out << "user1\t\r\nEVE\tEve Nogroup\tpw-eve-1\t\r\n\r\n";
    }
    const std::string company = StartNewCompany();
    auto invoices = std::make_shared<uint32_t>(), orders = std::make_shared<uint32_t>(),
         vouchers = std::make_shared<uint32_t>();
    Do("count the demo's invoices, orders and vouchers", [invoices, orders, vouchers] {
        *invoices = RegRecordCount(IVVc::Number);
        *orders = RegRecordCount(ORVc::Number);
        *vouchers = RegRecordCount(TRVc::Number);
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
    TypeOneRowDocument("C1", 0, "SERVICE", "1");   // a service: its delivery ships without stock

    // The order's conversion to an invoice writes the invoices: refused.
    told = CountTold();
    Menu("Operations", "Invoice");
    Check("Operations > Invoice is refused", [told] {
        EXPECT_EQ(Messages().size(), *told + 1) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(Told(NoRight));
        return NothingWithheldOpen("Operations > Invoice");
    });
    // Its delivery is his to make and ship.
    DeliverAndShipOrder();

    // Every File > Maintenance run that makes, posts or deletes invoices
    // is refused before it writes: the sample invoices he asks for and
    // the demo's invoices stay as they are (the company file, below).
    RefusedRun("Invoices from orders", OrderInvoicingSel, {{"Customers", "C1"}},
               {"One invoice a customer, a row an order"});
    RefusedRun("Sample invoices", SampleInvoicesSel, {{"How many", "2"}, {"First number", SampleFirst}}, {});
    RefusedRun("Approve sales invoices", ApproveSel, {{"Invoice numbers", "1:99999999"}}, {});
    RefusedRun("Delete documents by number", DeleteRangesSel, {{"Numbers", "1:99999999"}}, {"Sales invoices"});
    RefusedRun("Interest invoices", InterestInvoicesSel, {{"Customers", "C1"}}, {});

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
    Check("the import is refused before its file is asked for", [told, imported] {
        EXPECT_EQ(Messages().size(), *told + 1) << ::testing::PrintToString(Messages());
        std::string path;
        bool ok = false;
        EXPECT_TRUE(ScriptTakeFile(&path, &ok) && path == imported.string()) << "the file's answer was taken";
        return Told(NoRight);
    });

    // ---- ADMIN, logged in by the bottom bar's Database in BOB's Sales,
    // finds the bar drawn for him; he invoices BOB's order by the run BOB
    // was refused, and deletes that invoice by its number, which says
    // what it did.
    AnswerFile(company);
    ClickButton("Database");
    LogInAsAdmin();
    Check("the bottom bar shows ADMIN Sales' module buttons, each with its label", [] {
        for (int entry = FirstModuleButton; entry < FirstModuleButton + ModuleButtons; entry++) {
            EXPECT_TRUE(BarEntryInk(entry, false)) << "no icon at the bar's entry " << entry;
            EXPECT_TRUE(BarEntryInk(entry, true)) << "no label under the bar's entry " << entry;
        }
        return true;
    });
    Menu("Module", "Sales");
    OpenMaintenanceRun("Invoices from orders", OrderInvoicingSel);
    ClickField("Customers");
    Type("C1");
    ClickButton("One invoice a customer, a row an order");
    told = CountTold();
    ClickButton("OK");
    auto made = std::make_shared<std::string>();
    Check("ADMIN's run makes the invoice", [told, made] {
        EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
        const std::string line = StatusLineText();
        const size_t at = line.find("numbers ");
        EXPECT_EQ(line.rfind("1 invoice made", 0), 0u) << line;
        if (at == std::string::npos) return false;
        *made = line.substr(at + 8, line.find_first_not_of("0123456789", at + 8) - at - 8);
        return !made->empty();
    });
    for (const char *says : {"1 document deleted", "Nothing deleted: no document of the kinds ticked lies in the range"}) {
        OpenMaintenanceRun("Delete documents by number", DeleteRangesSel);
        ClickField("Numbers");
        Type("the invoice's number", [made] { return *made + ":" + *made; });
        ClickButton("Sales invoices");
        told = CountTold();
        ClickButton("OK");
        const std::string said = says;
        Check("the delete says \"" + said + "\"", [told, said] {
            EXPECT_EQ(StatusLineText(), said);
            // Only a run that deleted nothing says so in a box as well.
            EXPECT_EQ(Messages().size(), *told + (said.rfind("Nothing", 0) == 0 ? 1 : 0))
                << ::testing::PrintToString(Messages());
            return StatusLineText() == said;
        });
    }

    // ---- A person of no group is told at the login why his menus are
    // empty; they stay empty.
    NewFromList("Persons", PersonList, Persons);
    TypeFields({{"Code", "NOGRP"}, {"Name", "No Group"}, {"Password", "nog-pw-1"}});
    OkStoresQuietly("the person without a group");
    Menu("Window", "Close all");
    AnswerFile(company);
    Menu("File", "Company...");
    Check("the login window asks", Opened(WinTypes::Login));
    ClickField("User code");
    Type("NOGRP");
    ClickField("Password");
    Type("nog-pw-1");
    told = CountTold();
    ClickOk();
    Check("NOGRP is let in and told why his menus are empty", [told] {
        EXPECT_EQ(LoggedInFlag, 1);
        EXPECT_EQ(Messages().size(), *told + 1) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(!Messages().empty() && Messages().back().find("no access group") != std::string::npos)
            << ::testing::PrintToString(Messages());
        EXPECT_TRUE(Labels(MenuHandles.registerPopup).empty()) << ::testing::PrintToString(Labels(MenuHandles.registerPopup));
        return LoggedInFlag == 1;
    });
    EXPECT_EQ(Run(), 0);

    std::ifstream in(exported, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    EXPECT_NE(bytes.find("\r\nC1\t"), std::string::npos) << bytes;
    EXPECT_EQ(bytes.find("user1"), std::string::npos) << bytes;
    EXPECT_EQ(bytes.find("SCRAM-SHA-256$"), std::string::npos) << bytes;

    ASSERT_TRUE(OpenForCheck(company));
    EXPECT_EQ(RegRecordCount(CUVc::Number), 3u);
    // BOB's runs made, posted and deleted no invoice; ADMIN's one invoice
    // is gone by his delete.
    EXPECT_EQ(RegRecordCount(IVVc::Number), *invoices);
    EXPECT_EQ(RegRecordCount(TRVc::Number), *vouchers) << "an invoice was posted";
    EXPECT_EQ(RegRecordCount(PEVc::Number), 3u);
    EXPECT_EQ(RegRecordCount(ORVc::Number), *orders + 1) << "BOB's order is stored";
    std::vector<uint8_t> r;
    EXPECT_FALSE(FindByCode(PEVc::Number, PEVc::Code, 5, "EVE", &r));
}

}  // namespace
