// road_item_windows_test.cpp - an item and its prices kept in their
// windows, as a new user keeps them on the demo company: in Stock an item
// group TOOLS, then the item HAMMER in it with a text in English (a group
// and a unit no register holds are refused first, with the cursor on the
// field and nothing typed lost); the item list finds HAMMER again and
// opens it, not an empty item. In Sales a price formula, a price list
// PL1 whose row names the formula (a formula that does not exist is
// refused on its cell first), HAMMER's price in PL1, which the items by
// group show for the marked item in print, quantity steps and a
// discount matrix, a customer group whose price list is PL1 and a
// customer's own prices. The demo customer C1 is put in the group, and
// an invoice row of HAMMER for C1 takes PL1's price, not the item's.
// The company file then holds every record as typed.
// Menus: in Sales, Registers > Price formulas, Registers > Price lists,
// Registers > Prices, Registers > Quantity step tables, Registers >
// Discount matrices, Registers > Customer groups, Registers > Customer
// price lists, Registers > Customers; in Stock, Registers > Item groups,
// Registers > Item list, Registers > Items by group, Operations > In price
// lists; File > Print (Ctrl+P), File > Windows... > "Sales invoices".
// Windows: Sales invoice list, Sales invoice, Customer list, Customers,
// Purchase item list, Reports, Vendor, Item groups, Item group, Item list,
// Item, Price formulas, Price formula, Price lists, Price list, Prices,
// Price, Items by group, Quantity step tables, Quantity steps, Discount
// matrices, Discount matrix, Customer groups, Customer group, Customer
// price lists, Customer prices.
#include "tests/roads/road_fixture.h"
#include "tests/roads/road_text.h"

#include <cstdlib>
#include <initializer_list>
#include <utility>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/window_entries.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

namespace fs = std::filesystem;

constexpr int Preview = 5, SalesInvoiceList = 348, SalesInvoice = 347, CustomerList = 594, Customers = 590;
// The invoice's row cells: item, quantity, then the price and the sum.
constexpr int InvItem = 1, InvPrice = 4, InvSum = 6;
// The price list's row cells: kind, item group or range, formula.
constexpr int ListRange = 1, ListFormula = 2;

// The text cell (row, column) of the active window's rows shows.
std::string CellShown(int row, int column)
{
    int n = RoadTest::Active();
    const uint8_t *c = n ? WinDefEntry(n, WinPartMatrixColumns, column) : nullptr;
    const uint8_t *area = n ? WinDefEntry(n, WinPartMatrixAreas, 0) : nullptr;
    if (!c || !area || row >= WinMatrixRowCount(n)) return {};
    uint32_t rowSize = DefU16(area + MatrixEntry::RowSize);
    const uint8_t *p = MemLock(WinMatrixRows(n));
    if (!p) return {};
    uint8_t text[256];
    FieldFormat(p + size_t(row) * rowSize + DefU32(c + ColumnEntry::Offset), DefU16(c + ColumnEntry::Type),
                DefU16(c + ColumnEntry::Format), text);
    MemUnlock(WinMatrixRows(n));
    return std::string((const char *)text + 1, text[0]);
}

// Row `row` of register reg's record, read into a buffer of its row size.
std::vector<uint8_t> RowOf(int reg, const std::vector<uint8_t> &record, int32_t row)
{
    std::vector<uint8_t> r(RecRowSize(reg));
    if (!MatrixRowRead(reg, record.data(), row, r.data())) r.clear();
    return r;
}

class ItemWindowsRoad : public RoadTest {
public:
    // OK in the active window is refused with a message holding `told`,
    // the cursor on field `focus` ("cell" for a row's cell) and the record
    // still new with `kept` shown as typed in its field.
    void RefusedAt(const std::string &told, const std::string &focus, std::pair<const char *, const char *> kept)
    {
        ClickOk();
        Check("OK is refused: " + told, [=] {
            EXPECT_TRUE(Told(told)) << ::testing::PrintToString(Messages());
            EXPECT_TRUE(TitleTells("new")) << ActiveTitle();
            EXPECT_EQ(FocusLabel(), focus);
            EXPECT_EQ(Shown(kept.first), kept.second);
            return true;
        });
    }
    // Registers > `list` opens list window `listType`, Find takes `code`
    // and Return twice opens its record in window `recordType`, stored.
    void Reopen(const std::string &list, int listType, const std::string &code, int recordType)
    {
        Menu("Window", "Close all");
        Menu("Registers", list);
        Check(list + " opens its list", Opened(listType));
        ClickField("Find");
        Type(code);
        Key(PlKey::Return);   // finds the row
        Key(PlKey::Return);   // opens it
        Check(code + " opens as stored", [recordType] {
            EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
            return Opened(recordType)();
        });
    }
};

TEST_F(ItemWindowsRoad, AnItemItsPriceListAndACustomerGroupPriceAnInvoiceRow)
{
    const std::string company = StartNewCompany();

    // ---- Stock: the item group and the item ----
    Menu("Module", "Stock");
    NewFromList("Item groups", WinTypes::ItemGroupList, WinTypes::ItemGroups);
    TypeFields({{"Code", "TOOLS"}, {"Name", "Tools"}, {"Sales account", "3010"}});
    OkStoresQuietly("the item group");

    NewFromList("Item list", WinTypes::ItemList, WinTypes::Item);
    TypeFields({{"Code", "HAMMER"}, {"Name", "Claw hammer"}, {"Group", "NOGRP"}, {"Price", "100"}, {"Cost price", "60"}});
    ClickCell(0, 0);
    Type("EN");
    Key(PlKey::Tab);
    Type("Hammer, steel");
    Key(PlKey::Tab);
    RefusedAt("no item group", "Group", {"Name", "Claw hammer"});
    Retype("Group", "TOOLS");
    // No unit is kept yet: a unit typed names none and is refused.
    ClickField("Unit");
    Type("PCS");
    RefusedAt("no unit", "Unit", {"Group", "TOOLS"});
    ClickField("Unit");
    Key(PlKey::End);
    Key(PlKey::Home, true);
    Key(PlKey::Delete);
    KeepPicture("item");
    OkStoresQuietly("the item");
    Check("the item keeps its text row", [] {
        EXPECT_EQ(CellShown(0, 0), "EN");
        EXPECT_EQ(CellShown(0, 1), "Hammer, steel");
        return true;
    });
    Reopen("Item list", WinTypes::ItemList, "HAMMER", WinTypes::Item);
    Check("the item list opens HAMMER, not an empty item", [] {
        EXPECT_EQ(Shown("Code"), "HAMMER");
        EXPECT_EQ(Shown("Name"), "Claw hammer");
        EXPECT_EQ(Shown("Group"), "TOOLS");
        EXPECT_EQ(CellShown(0, 1), "Hammer, steel");
        return true;
    });

    // ---- Sales: formula, price list, price, steps, discounts, groups ----
    Menu("Window", "Close all");
    Menu("Module", "Sales");
    NewFromList("Price formulas", WinTypes::PriceFormulaList, WinTypes::PriceFormulas);
    TypeFields({{"Code", "F1"}, {"Name", "Cost plus half"}, {"Percentage", "150"}, {"Decimals", "2"}});
    OkStoresQuietly("the price formula");

    NewFromList("Price lists", WinTypes::PriceListList, WinTypes::PriceLists);
    TypeFields({{"Code", "PL1"}, {"Name", "Retail"}});
    ClickCell(0, ListRange);
    Type("TOOLS");
    Key(PlKey::Tab);
    Type("NOF");
    Key(PlKey::Tab);
    RefusedAt("no price formula", "cell", {"Name", "Retail"});
    Check("the refused formula stays on its row", [] {
        EXPECT_EQ(CellShown(0, ListRange), "TOOLS");
        EXPECT_EQ(CellShown(0, ListFormula), "NOF");
        return true;
    });
    TypeCell(0, ListFormula, "F1");
    Key(PlKey::Tab);
    KeepPicture("price_list");
    OkStoresQuietly("the price list");

    NewFromList("Prices", WinTypes::PriceRecordList, WinTypes::Prices);
    TypeFields({{"Price list", "PL1"}, {"Item", "HAMMER"}});
    Key(PlKey::Tab);
    Check("the item code fills in its name", [] {
        EXPECT_EQ(Shown("Name"), "Claw hammer");
        return true;
    });
    ClickField("Price");
    Type("80");
    OkStoresQuietly("the price");

    // The items by group: HAMMER marked, the operations menu shows its
    // price in every price list, PL1's its own.
    Menu("Window", "Close all");
    Menu("Module", "Stock");
    Menu("Registers", "Items by group");
    Check("the items by group open", Opened(WinTypes::ItemsByGroup));
    ClickField("Find");
    Type("TOOLS");
    Key(PlKey::Return);   // marks the group's first item, HAMMER
    auto told = CountTold();
    Menu("Operations", "In price lists");
    Check("the item's prices show in the preview", [told] {
        EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
        return Opened(Preview)();
    });
    AnswerPrint(true);
    Key('P', false, true);
    Check("the preview prints the price list's price", [this] {
        std::vector<fs::path> pdfs = FilesIn("print");
        EXPECT_EQ(pdfs.size(), 1u) << ::testing::PrintToString(Messages());
        if (pdfs.empty()) return true;
        std::string text = PdfText(pdfs.back());
        std::vector<std::string> lines = PrintedLinesStarting(text, "PL1");
        EXPECT_EQ(lines.size(), 1u) << text;
        if (!lines.empty()) {
            EXPECT_NE(lines[0].find("80,00"), std::string::npos) << lines[0];
        }
        EXPECT_NE(text.find("HAMMER"), std::string::npos) << text;
        return true;
    });
    Menu("Window", "Close all");
    Menu("Module", "Sales");

    NewFromList("Quantity step tables", WinTypes::QtyStepList, WinTypes::QtySteps);
    TypeFields({{"Code", "Q1"}, {"Name", "By ten"}, {"Step 1", "10"}});
    OkStoresQuietly("the quantity steps");

    NewFromList("Discount matrices", WinTypes::DiscountMatrixList, WinTypes::DiscountMatrix);
    TypeFields({{"Code", "DM1"}, {"Name", "Trade"}, {"Steps, other groups", "Q1"}});
    ClickCell(0, 0);
    Type("TOOLS");
    Key(PlKey::Tab);
    Type("Q1");
    Key(PlKey::Tab);
    Key(PlKey::Tab);
    Type("5");
    Key(PlKey::Tab);
    KeepPicture("discount_matrix");
    OkStoresQuietly("the discount matrix");

    NewFromList("Customer groups", WinTypes::CustomerGroupList, WinTypes::CustomerGroups);
    TypeFields({{"Code", "RET"}, {"Name", "Retail customers"}, {"Price list", "PLX"}});
    RefusedAt("price list", "Price list", {"Name", "Retail customers"});
    Retype("Price list", "PL1");
    OkStoresQuietly("the customer group");

    NewFromList("Customer price lists", WinTypes::CustomerPriceList, WinTypes::CustomerPrices);
    ClickField("Customer");
    Type("C2");
    Key(PlKey::Tab);
    Check("the customer code fills in its name", [] {
        EXPECT_EQ(Shown("Name"), "Euro Customer");
        return true;
    });
    ClickCell(0, 0);
    Type("HAMMER");
    Key(PlKey::Tab);
    Type("75");
    Key(PlKey::Tab);
    OkStoresQuietly("the customer prices");

    Reopen("Price lists", WinTypes::PriceListList, "PL1", WinTypes::PriceLists);
    Check("PL1 shows its row as stored", [] {
        EXPECT_EQ(Shown("Name"), "Retail");
        EXPECT_EQ(CellShown(0, ListRange), "TOOLS");
        EXPECT_EQ(CellShown(0, ListFormula), "F1");
        return true;
    });

    // ---- The demo customer C1 in the group, and an invoice row ----
    Menu("Window", "Close all");
    Menu("Registers", "Customers");
    Check("the customer list opens", Opened(CustomerList));
    ClickField("Find");
    Type("C1");
    Key(PlKey::Return);
    Key(PlKey::Return);
    Check("C1 opens", Opened(Customers));
    ClickButton("Terms");
    Retype("Group", "RET");
    OkStoresQuietly("C1 in the group");

    Menu("Window", "Close all");
    NewFromWindowList("Sales invoices", SalesInvoiceList, SalesInvoice);
    ClickField("Customer");
    Type("C1");
    Key(PlKey::Tab);
    ClickCell(0, InvItem);
    Type("HAMMER");
    Key(PlKey::Tab);
    Type("2");
    Key(PlKey::Tab);
    Check("the row takes the price of C1's price list", [] {
        EXPECT_EQ(CellShown(0, InvPrice), "80,00");
        EXPECT_EQ(CellShown(0, InvSum), "160,00");
        return true;
    });
    OkStoresQuietly("the invoice");
    EXPECT_EQ(Run(), 0);

    // ---- The company file ----
    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> r;
    ASSERT_TRUE(FindByCode(ITVc::Number, ITVc::Code, 5, "TOOLS", &r));
    EXPECT_EQ(TextAt(r.data(), ITVc::SalesAcc), "3010");

    ASSERT_TRUE(FindByCode(INVc::Number, INVc::Code, 20, "HAMMER", &r));
    EXPECT_EQ(TextAt(r.data(), INVc::Name), "Claw hammer");
    EXPECT_EQ(TextAt(r.data(), INVc::Group), "TOOLS");
    EXPECT_EQ(TextAt(r.data(), INVc::Unit), "");
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(r.data(), INVc::BasePrice), 100);
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(r.data(), INVc::CostPrice), 60);
    ASSERT_EQ(MatrixRowCount(INVc::Number, 0, r.data()), 1);
    std::vector<uint8_t> row = RowOf(INVc::Number, r, 0);
    ASSERT_FALSE(row.empty());
    EXPECT_EQ(TextAt(row.data(), INVc::Rows::LangCode), "EN");
    EXPECT_EQ(TextAt(row.data(), INVc::Rows::Text), "Hammer, steel");

    ASSERT_TRUE(FindByCode(PriceFormulaVc::Number, PriceFormulaVc::Code, 5, "F1", &r));
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(r.data(), PriceFormulaVc::Percentage), 150);
    EXPECT_EQ(GetU16(r.data(), PriceFormulaVc::Decimals), 2);

    ASSERT_TRUE(FindByCode(PriceListVc::Number, PriceListVc::Code, 5, "PL1", &r));
    ASSERT_EQ(MatrixRowCount(PriceListVc::Number, 0, r.data()), 1);
    row = RowOf(PriceListVc::Number, r, 0);
    ASSERT_FALSE(row.empty());
    EXPECT_EQ(TextAt(row.data(), PriceListVc::Rows::CodeRange), "TOOLS");
    EXPECT_EQ(TextAt(row.data(), PriceListVc::Rows::Formula), "F1");
    EXPECT_EQ(GetU16(row.data(), PriceListVc::Rows::Kind), 0);

    ASSERT_TRUE(FindByCode(PriceVc::Number, PriceVc::PriceList, 5, "PL1", &r));
    EXPECT_EQ(TextAt(r.data(), PriceVc::ItemCode), "HAMMER");
    EXPECT_EQ(TextAt(r.data(), PriceVc::ItemName), "Claw hammer");
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(r.data(), PriceVc::Price), 80);

    ASSERT_TRUE(FindByCode(QtyStepVc::Number, QtyStepVc::Code, 5, "Q1", &r));
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(r.data(), QtyStepVc::Step1), 10);

    ASSERT_TRUE(FindByCode(DiscMatrixVc::Number, DiscMatrixVc::Code, 5, "DM1", &r));
    EXPECT_EQ(TextAt(r.data(), DiscMatrixVc::DefStep), "Q1");
    ASSERT_EQ(MatrixRowCount(DiscMatrixVc::Number, 0, r.data()), 1);
    row = RowOf(DiscMatrixVc::Number, r, 0);
    ASSERT_FALSE(row.empty());
    EXPECT_EQ(TextAt(row.data(), DiscMatrixVc::Rows::ItemGroup), "TOOLS");
    EXPECT_EQ(TextAt(row.data(), DiscMatrixVc::Rows::Step), "Q1");
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(row.data(), DiscMatrixVc::Rows::Pct1), 0);   // below the first step
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(row.data(), DiscMatrixVc::Rows::Pct2), 5);

    ASSERT_TRUE(FindByCode(CustGroupVc::Number, CustGroupVc::Code, 5, "RET", &r));
    EXPECT_EQ(TextAt(r.data(), CustGroupVc::PriceList), "PL1");

    ASSERT_TRUE(FindByCode(CustPriceVc::Number, CustPriceVc::CustCode, 20, "C2", &r));
    EXPECT_EQ(TextAt(r.data(), CustPriceVc::Name), "Euro Customer");
    ASSERT_EQ(MatrixRowCount(CustPriceVc::Number, 0, r.data()), 1);
    row = RowOf(CustPriceVc::Number, r, 0);
    ASSERT_FALSE(row.empty());
    EXPECT_EQ(TextAt(row.data(), CustPriceVc::Rows::ItemCode), "HAMMER");
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(row.data(), CustPriceVc::Rows::Price), 75);

    ASSERT_TRUE(FindByCode(CUVc::Number, CUVc::Code, 20, "C1", &r));
    EXPECT_EQ(TextAt(r.data(), CUVc::CustGroup), "RET");

    // The invoice: its price list is the group's, its row PL1's price.
    bool found = false;
    for (uint32_t p = 1; p <= RegRecordCount(IVVc::Number) && !found; p++) {
        std::vector<uint8_t> inv(RegRecordSize(IVVc::Number));
        uint32_t id = 0;
        if (!RecReadAt(IVVc::Number, int32_t(p), inv.data(), &id)) continue;
        const bool ofC1 = TextAt(inv.data(), IVVc::CustCode) == "C1";
        for (int32_t i = 0; ofC1 && i < MatrixRowCount(IVVc::Number, 0, inv.data()) && !found; i++) {
            row = RowOf(IVVc::Number, inv, i);
            if (row.empty() || TextAt(row.data(), IVVc::Rows::ItemCode) != "HAMMER") continue;
            found = true;
            EXPECT_EQ(TextAt(inv.data(), IVVc::PriceList), "PL1");
            EXPECT_DOUBLE_EQ(RoadTest::AmountAt(row.data(), IVVc::Rows::Price), 80);
            EXPECT_DOUBLE_EQ(RoadTest::AmountAt(row.data(), IVVc::Rows::Sum), 160);
        }
        RecFreeMatrix(IVVc::Number, inv.data());
    }
    EXPECT_TRUE(found) << "no invoice of C1 has a row of HAMMER";
    CloseForCheck();
}

}  // namespace
