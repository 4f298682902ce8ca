// road_item_budget_test.cpp - the item window makes a purchase source of
// its item, and the two budget windows compute their period rows, as a
// user does it: the Stock module's register popup opens the item window,
// an item typed and stored, its operations menu's Purchase item opens the
// purchase-item window filled from it, a vendor (made first in its own
// window) typed and stored; in the
// General ledger File > Windows opens each budget, whose rows' texts carry fixed amounts, and
// the operations menu totals them. The company file holds the purchase
// item and both budgets with their totals.
// Menus: in Purchasing, Registers > Vendors; in Stock, Registers > Item,
// Operations > Purchase item.
// Windows: Item, Purchase item, Budget by key, Budget by dates, Windows.
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <string>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "platform/script.h"

namespace {

constexpr int Item = 195, PurchaseItem = 284, KeyBudget = 143, DateBudget = 145, WindowList = 12;

TEST_F(RoadTest, AnItemGetsAPurchaseSourceAndBudgetsTotalTheirRows)
{
    const std::string company = StartNewCompany();
    // The vendor the purchase item names is kept first: a purchase item
    // of a vendor nobody keeps is refused.
    TypeVendor({"V1", "Widget Works", "Fabriksgatan 3", "", "4010", ""});
    Menu("Module", "Stock");
    Menu("Registers", "Item");
    Check("the register popup opens the item window", [] {
        EXPECT_EQ(ActiveType(), Item) << ActiveTitle();
        return ActiveType() == Item;
    });
    ClickField("Code");
    Type("GREEN");
    ClickField("Name");
    Type("Green widget");
    ClickField("Cost price");
    Type("12");
    Key(PlKey::Tab);
    OkStores("item");
    Menu("Operations", "Purchase item");
    Check("Purchase item opens a purchase item filled from the item", [] {
        EXPECT_EQ(ActiveType(), PurchaseItem) << ActiveTitle();
        EXPECT_EQ(Shown("Item"), "GREEN");
        EXPECT_EQ(Shown("Text"), "Green widget");
        EXPECT_EQ(Shown("Price"), "12,00");
        return ActiveType() == PurchaseItem;
    });
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    Do("keep a picture of the purchase item", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(std::filesystem::path(shots) / "purchase_item.png"));
        return true;
    });
    ClickField("Vendor");
    Type("V1");
    Key(PlKey::Tab);
    ClickOk();
    Check("OK stores the purchase item", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle() << " " << ActiveType();
        return TitleTells("viewing");
    });
    Menu("Window", "Close all");
    Menu("Module", "General ledger");

    auto budget = [this, shots](const char *title, int type, const char *op, std::initializer_list<const char *> texts,
                         const char *total) {
        Menu("File", "Windows...");
        Check("File > Windows lists the windows", [] { return ActiveType() == WindowList; });
        ClickRow(title);
        Key(PlKey::Return);
        Check(std::string("the window list opens ") + title, [type] {
            EXPECT_EQ(ActiveType(), type) << ActiveTitle();
            return ActiveType() == type;
        });
        ClickField("Account");
        Type("1910");
        Key(PlKey::Tab);
        int r = 0;
        for (const char *t : texts) {
            ClickCell(r++, 1);
            Type(t);
            Key(PlKey::Tab);
        }
        Menu("Operations", op);
        Check(std::string(op) + " totals the rows", [total] {
            EXPECT_EQ(Shown("Total"), total);
            return true;
        });
        Do("keep a picture of the budget", [this, shots, type] {
            EXPECT_TRUE(!shots || SaveWindowPng(std::filesystem::path(shots) / ("budget_" + std::to_string(type) + ".png")));
            return true;
        });
        OkStores("budget");
        Menu("Window", "Close all");
    };
    budget("Budget by key", KeyBudget, "Distribute", {"100", "50"}, "150,00");
    budget("Budget by dates", DateBudget, "From budgets", {"70"}, "70,00");
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> source;
    ASSERT_TRUE(FindByCode(PurchItemVc::Number, PurchItemVc::ItemCode, 20, "GREEN", &source));
    EXPECT_EQ(TextAt(source.data(), PurchItemVc::VendCode), "V1");
    EXPECT_EQ(TextAt(source.data(), PurchItemVc::Text), "Green widget");
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(source.data(), PurchItemVc::Price), 12);
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(source.data(), PurchItemVc::MinQty), 1);
    std::vector<uint8_t> key, dates;
    ASSERT_TRUE(FindByCode(BUVc::Number, BUVc::Account, 10, "1910", &key));
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(key.data(), BUVc::Total), 150);
    ASSERT_TRUE(FindByCode(BPVc::Number, BPVc::Account, 10, "1910", &dates));
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(dates.data(), BPVc::Total), 70);
    CloseForCheck();
}

}  // namespace
