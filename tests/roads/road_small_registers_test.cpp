// road_small_registers_test.cpp - the smaller registers kept in their
// windows, as a user of the demo company keeps them: in the Projects
// module an employee type with an item row and a time item whose name
// comes from its item; in the General ledger a bracket table with two
// rows and an entry type computed by it, which is first refused for a
// bracket table nobody kept, with the cursor on that row and nothing
// typed lost; a percentage table in Sales, and a coded text (a second
// one takes the first one's text when its code is typed) and a standard
// text. The entry type and the standard text are found again in their
// lists and open as stored, every new list opens from the register
// popups, and the company file holds every record as typed. The customer address list copies the
// marked customers' addresses and opens the interest run over last month.
// Menus: in General ledger, Registers > Bracket tables, Registers > Entry
// types; in Sales, Registers > Percentage tables, Registers > Coded texts,
// Registers > Standard texts, Registers > Customer addresses, Operations >
// Interest invoices for last month; in Projects, Registers > Employee
// types, Registers > Time items.
// Windows: Employee type list, Employee type, Time item list, Time item,
// Bracket table list, Bracket table, Entry type list, Entry type,
// Percentage table list, Percentage table, Coded text list, Coded text,
// Standard text list, Standard text, Person entry list, Contract list,
// Contact list, Order object list, Order class list, Item structure list,
// Stock movement list, Time budget list, Cost budget list, Customer address
// list.
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <initializer_list>
#include <utility>

#include "core/date.h"
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/clipboard.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "shell/window_table.h"

namespace {

namespace fs = std::filesystem;

class SmallRegistersRoad : public RoadTest {
public:
    // The register popup's entry `title` opens list window `type`.
    void ListOpens(const std::string &title, int type)
    {
        Menu("Window", "Close all");
        Menu("Registers", title);
        Check(title + " opens its list", Opened(type));
    }
};

// Row `i` of the record's rows, as stored.
std::vector<uint8_t> RowOf(int reg, const std::vector<uint8_t> &record, int32_t i)
{
    std::vector<uint8_t> row(RecRowSize(reg));
    EXPECT_TRUE(MatrixRowRead(reg, record.data(), i, row.data())) << "row " << i << " of register " << reg;
    return row;
}

TEST_F(SmallRegistersRoad, SmallRegistersAreKeptInTheirWindows)
{
    const std::string company = StartNewCompany();

    Menu("Module", "Projects");
    NewFromList("Employee types", WinTypes::EmployeeTypeList, WinTypes::EmployeeTypes);
    TypeFields({{"Code", "CONS"}});
    ClickButton("Only the listed items");
    TypeCell(0, 0, "A");
    TypeCell(0, 1, "SERVICE");
    TypeCell(0, 2, "Installation work");
    KeepPicture("employee_type");
    OkStores("employee type");

    NewFromList("Time items", WinTypes::TimeItemList, WinTypes::TimeItems);
    TypeFields({{"Item", "SERVICE"}});
    TypeCell(0, 0, "SEN");
    Check("the item's name comes with its code", [] {
        EXPECT_EQ(Shown("Name"), "Installation");
        return true;
    });
    TypeCell(0, 1, "950");
    TypeCell(0, 2, "800");
    KeepPicture("time_item");
    OkStores("time item");

    Menu("Module", "General ledger");
    NewFromList("Bracket tables", WinTypes::BracketTableList, WinTypes::BracketTables);
    TypeFields({{"Code", "TAX30"}, {"Debit account", "5010"}, {"Credit account", "2640"}});
    TypeCell(0, 0, "0");
    TypeCell(0, 1, "10000");
    TypeCell(0, 2, "30");
    TypeCell(1, 0, "10000");
    TypeCell(1, 1, "99999");
    TypeCell(1, 2, "35");
    TypeCell(1, 3, "500");
    KeepPicture("bracket_table");
    OkStores("bracket table");

    // An entry type computed by a bracket table nobody kept is refused on
    // that row, and keeps what was typed until the row names one that is.
    NewFromList("Entry types", WinTypes::EntryTypeList, WinTypes::EntryTypes);
    TypeFields({{"Code", "SAL"}, {"Debit account", "5010"}, {"Credit account", "2640"}, {"Text", "Salary"}});
    TypeCell(0, 0, "NOPE");
    ClickOk();
    Check("a bracket table nobody kept is refused on its row", [] {
        EXPECT_TRUE(Told("bracket table does not exist")) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("new")) << ActiveTitle();
        EXPECT_EQ(FocusLabel(), "cell");
        EXPECT_EQ(Shown("Text"), "Salary");
        EXPECT_EQ(Shown("Code"), "SAL");
        return true;
    });
    TypeCell(0, 0, "TAX30");
    KeepPicture("entry_type");
    OkStoresQuietly("the entry type");

    Menu("Module", "Sales");
    NewFromList("Percentage tables", WinTypes::PctTableList, WinTypes::PctTables);
    TypeFields({{"Code", "PCT"}, {"Name", "Freight share"}});
    TypeCell(0, 0, "ITEM1:ITEM2");
    TypeCell(0, 1, "5");
    OkStoresQuietly("the percentage table");

    // A coded text; a new one whose code is typed shows the stored text.
    NewFromList("Coded texts", WinTypes::CodedTextList, WinTypes::CodedTexts);
    TypeFields({{"Code", "DEL"}, {"Text", "Delivered to the door"}});
    OkStoresQuietly("the coded text");
    Key('N', false, true);
    Check("Ctrl+N starts a new coded text", [] { return TitleTells("new"); });
    TypeFields({{"Code", "DEL"}});
    ClickField("Text");
    Check("the stored text of the code typed shows", [] {
        EXPECT_EQ(Shown("Text"), "Delivered to the door");
        return true;
    });
    Retype("Code", "DLV");
    OkStoresQuietly("the second coded text");

    NewFromList("Standard texts", WinTypes::StdTextList, WinTypes::StdTexts);
    TypeFields({{"Code", "THANKS"}, {"Short text", "Thank you"}});
    TypeCell(0, 0, "Thank you for your order.");
    TypeCell(1, 0, "We look forward to serving you again.");
    KeepPicture("standard_text");
    OkStoresQuietly("the standard text");

    // Found again in its list, the entry type opens as stored.
    Menu("Module", "General ledger");
    ListOpens("Entry types", WinTypes::EntryTypeList);
    ClickField("Find");
    Type("SAL");
    Key(PlKey::Return);   // finds the row
    Key(PlKey::Return);   // opens it
    Check("SAL opens in the entry-type window as stored", [] {
        EXPECT_EQ(Shown("Code"), "SAL");
        EXPECT_EQ(Shown("Text"), "Salary");
        EXPECT_EQ(Shown("Debit account"), "5010");
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return Opened(WinTypes::EntryTypes)();
    });

    // The standard text is found by its short text, the list's first key.
    ListOpens("Standard texts", WinTypes::StdTextList);
    ClickField("Find");
    Type("Thank you");
    Key(PlKey::Return);
    Key(PlKey::Return);
    Check("the standard text opens as stored", [] {
        EXPECT_EQ(Shown("Code"), "THANKS");
        EXPECT_EQ(Shown("Short text"), "Thank you");
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return Opened(WinTypes::StdTexts)();
    });

    // Every new list opens from its module's register popup.
    ListOpens("Bracket tables", WinTypes::BracketTableList);
    ListOpens("Person entries", WinTypes::PersonEntryList);
    ListOpens("Coded texts", WinTypes::CodedTextList);
    ListOpens("Standard texts", WinTypes::StdTextList);
    Menu("Module", "Sales");
    ListOpens("Contracts", WinTypes::ContractList);
    ListOpens("Contacts", WinTypes::ContactList);
    ListOpens("Order objects", WinTypes::OrderObjectList);
    ListOpens("Order classes", WinTypes::OrderClassList);
    ListOpens("Percentage tables", WinTypes::PctTableList);
    Menu("Module", "Stock");
    ListOpens("Item structures", WinTypes::StructureList);
    ListOpens("Stock movements", WinTypes::StockMovementList);
    Menu("Module", "Projects");
    ListOpens("Employee types", WinTypes::EmployeeTypeList);
    ListOpens("Time items", WinTypes::TimeItemList);
    ListOpens("Time budgets", WinTypes::TimeBudgetList);
    ListOpens("Cost budgets", WinTypes::CostBudgetList);
    Menu("Window", "Close all");
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> r;
    ASSERT_TRUE(FindByCode(EmpTypeVc::Number, EmpTypeVc::Code, 5, "CONS", &r));
    EXPECT_EQ(GetU16(r.data(), EmpTypeVc::OnlyListed), 1);
    ASSERT_EQ(MatrixRowCount(EmpTypeVc::Number, 0, r.data()), 1);
    std::vector<uint8_t> row = RowOf(EmpTypeVc::Number, r, 0);
    EXPECT_EQ(TextAt(row.data(), EmpTypeVc::Rows::ItemCode), "SERVICE");
    EXPECT_EQ(TextAt(row.data(), EmpTypeVc::Rows::Text), "Installation work");
    RecFreeMatrix(EmpTypeVc::Number, r.data());

    ASSERT_TRUE(FindByCode(TimeItemVc::Number, TimeItemVc::ItemCode, 20, "SERVICE", &r));
    EXPECT_EQ(TextAt(r.data(), TimeItemVc::ItemName), "Installation");
    ASSERT_EQ(MatrixRowCount(TimeItemVc::Number, 0, r.data()), 1);
    row = RowOf(TimeItemVc::Number, r, 0);
    EXPECT_EQ(TextAt(row.data(), TimeItemVc::Rows::Category), "SEN");
    EXPECT_DOUBLE_EQ(AmountAt(row.data(), TimeItemVc::Rows::Price1), 950);
    EXPECT_DOUBLE_EQ(AmountAt(row.data(), TimeItemVc::Rows::Price2), 800);
    RecFreeMatrix(TimeItemVc::Number, r.data());

    ASSERT_TRUE(FindByCode(BracketVc::Number, BracketVc::Code, 12, "TAX30", &r));
    EXPECT_EQ(TextAt(r.data(), BracketVc::DebitAcc), "5010");
    EXPECT_EQ(TextAt(r.data(), BracketVc::CreditAcc), "2640");
    ASSERT_EQ(MatrixRowCount(BracketVc::Number, 0, r.data()), 2);
    row = RowOf(BracketVc::Number, r, 1);
    EXPECT_DOUBLE_EQ(AmountAt(row.data(), BracketVc::Rows::From), 10000);
    EXPECT_DOUBLE_EQ(AmountAt(row.data(), BracketVc::Rows::To), 99999);
    EXPECT_DOUBLE_EQ(AmountAt(row.data(), BracketVc::Rows::Percent), 35);
    EXPECT_DOUBLE_EQ(AmountAt(row.data(), BracketVc::Rows::Fixed), 500);
    RecFreeMatrix(BracketVc::Number, r.data());

    ASSERT_TRUE(FindByCode(EntryTypeVc::Number, EntryTypeVc::Code, 10, "SAL", &r));
    EXPECT_EQ(TextAt(r.data(), EntryTypeVc::Text), "Salary");
    ASSERT_EQ(MatrixRowCount(EntryTypeVc::Number, 0, r.data()), 1);
    row = RowOf(EntryTypeVc::Number, r, 0);
    EXPECT_EQ(TextAt(row.data(), EntryTypeVc::Rows::Bracket), "TAX30");
    RecFreeMatrix(EntryTypeVc::Number, r.data());

    ASSERT_TRUE(FindByCode(PctTableVc::Number, PctTableVc::Code, 5, "PCT", &r));
    EXPECT_EQ(TextAt(r.data(), PctTableVc::Name), "Freight share");
    ASSERT_EQ(MatrixRowCount(PctTableVc::Number, 0, r.data()), 1);
    row = RowOf(PctTableVc::Number, r, 0);
    EXPECT_EQ(TextAt(row.data(), PctTableVc::Rows::ItemRange), "ITEM1:ITEM2");
    EXPECT_DOUBLE_EQ(AmountAt(row.data(), PctTableVc::Rows::Percentage), 5);
    RecFreeMatrix(PctTableVc::Number, r.data());

    for (const char *code : {"DEL", "DLV"}) {
        ASSERT_TRUE(FindByCode(CodedTextVc::Number, CodedTextVc::Code, 5, code, &r)) << code;
        EXPECT_EQ(TextAt(r.data(), CodedTextVc::Text), "Delivered to the door") << code;
    }

    ASSERT_TRUE(FindByCode(StdTextVc::Number, StdTextVc::Text, 30, "Thank you", &r));
    EXPECT_EQ(TextAt(r.data(), StdTextVc::Code), "THANKS");
    ASSERT_EQ(MatrixRowCount(StdTextVc::Number, 0, r.data()), 2);
    row = RowOf(StdTextVc::Number, r, 1);
    EXPECT_EQ(TextAt(row.data(), StdTextVc::Rows::Text), "We look forward to serving you again.");
    RecFreeMatrix(StdTextVc::Number, r.data());
    CloseForCheck();
}

// The address list copies the addresses of the customers marked, in the
// order they were marked, and its operation opens the interest run over
// the whole previous month, which runs from there.
TEST_F(SmallRegistersRoad, AddressListCopiesMarkedAddressesAndRunsLastMonth)
{
    const std::string company = StartNewCompany();
    Menu("Module", "Sales");
    Menu("Registers", "Customer addresses");
    Check("the address list opens", Opened(WinTypes::CustomerAddressList));
    Do("the clipboard holds something else", [] {
        ClipboardSetText("kept");
        return true;
    });
    ClickField("Find");
    Type("C1");
    Key(PlKey::Return);           // marks C1
    Key(PlKey::Down, true);       // and C2 with it
    KeepPicture("address_list");
    Menu("Edit", "Copy");
    Check("the marked addresses are on the clipboard", [] {
        std::string text;
        EXPECT_TRUE(ClipboardGetText(&text));
        size_t first = text.find("First Customer"), second = text.find("Euro Customer");
        EXPECT_NE(first, std::string::npos) << text;
        EXPECT_NE(second, std::string::npos) << text;
        EXPECT_LT(first, second) << text;
        EXPECT_EQ(text.find("Small Customer"), std::string::npos) << text;
        EXPECT_NE(text.find("222 33 Malm"), std::string::npos) << text;
        return true;
    });

    Menu("Operations", "Interest invoices for last month");
    Check("the run opens over the previous month", [] {
        DateRec first{1, TodayDate.month, TodayDate.year}, last;
        DateAddDays(&first, -1, &last);
        DateRec start{1, last.month, last.year};
        uint8_t bytes[6];
        PString from, to;
        PutDate(bytes, 0, start);
        FieldFormat(bytes, FtDate, 0, from);
        PutDate(bytes, 0, last);
        FieldFormat(bytes, FtDate, 0, to);
        EXPECT_EQ(Shown("Period from"), PStringToStd(from));
        EXPECT_EQ(Shown("Period to"), PStringToStd(to));
        return Opened(WinTypes::InterestLastMonth)();
    });
    KeepPicture("interest_last_month");
    ClickOk();
    Check("the run tells what it made", [] {
        EXPECT_TRUE(Told("Interest invoices")) << ::testing::PrintToString(Messages());
        return true;
    });
    Menu("Window", "Close all");
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    EXPECT_EQ(RegRecordCount(IVVc::Number), 0u);   // no customer had an invoice overdue
    CloseForCheck();
}

}  // namespace
