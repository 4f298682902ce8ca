// road_code_checks_test.cpp - codes that name nothing are refused where a
// user types them. In the demo company a vendor is made by the shared
// step; a purchase item typed for a vendor nobody keeps is refused with
// the cursor on Vendor and the rest typed kept, then stored for the real
// vendor. An order for C1 is stored; changed to a salesperson who is no
// person (Terms page) and a delivery mode nobody defined (Delivery page)
// it is refused at the salesperson first, then, that put right, at the
// delivery mode, each time on its own page with what was typed kept;
// emptied, the mode lets the change be stored. A person typed with an
// access group and an account nobody keeps is refused at the access group,
// then at the account, and stored with neither; an expense claim of that
// person ticked posted is then refused with the person's account named as
// what is missing, the cursor on Person. The company file holds the
// purchase item, the order and the person as corrected, no claim, and
// nothing of the refused tries.
// Menus: in Sales, Registers > Orders (Ctrl+9); in Purchasing, Registers >
// Vendors, Registers > Purchase items, Registers > Expense claims; in
// General ledger, Registers > Persons.
// Windows: Order list, Order, Purchase item list, Purchase item, Person
// list, Person, Expense claim list, Expense claim.
#include "tests/roads/road_fixture.h"
#include "tests/roads/road_person_steps.h"

#include <string>
#include <vector>

#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "platform/script.h"

namespace {

constexpr int OrderList = 351, Order = 352, OrderItemColumn = 0;

TEST_F(RoadTest, CodesNamingNothingAreRefusedAtTheirFields)
{
    const std::string company = StartNewCompany();
    TypeVendor({"V1", "Widget Works", "Fabriksgatan 3", "", "4010", "5050-1234"});

    NewFromList("Purchase items", WinTypes::PurchaseItemList, WinTypes::PurchaseItem);
    TypeFields({{"Item", "ITEM1"}, {"Vendor", "V404"}, {"Vendor's code", "WW-100"}});
    Retype("Price", "40");
    ClickOk();
    Check("a vendor nobody keeps is refused with the cursor on Vendor", [] {
        EXPECT_TRUE(Told("no vendor with this code")) << ::testing::PrintToString(Messages());
        EXPECT_EQ(FocusLabel(), "Vendor");
        EXPECT_EQ(Shown("Vendor"), "V404");
        EXPECT_EQ(Shown("Item"), "ITEM1");
        EXPECT_EQ(Shown("Vendor's code"), "WW-100");
        EXPECT_TRUE(TitleTells("new")) << ActiveTitle();
        return FocusLabel() == "Vendor";
    });
    Retype("Vendor", "V1");
    OkStoresQuietly("the purchase item for V1");

    Menu("Module", "Sales");
    Key('9', false, true);
    Check("Ctrl+9 opens the order list", Opened(OrderList));
    ClickButton("New");
    Check("New opens an order", Opened(Order));
    TypeOneRowDocument("C1", OrderItemColumn, "ITEM2", "2");
    ClickButton("Terms");
    Retype("Salesperson", "NOONE");
    ClickButton("Delivery");
    Retype("Delivery mode", "SLOW");
    ClickOk();
    Check("the salesperson, first in the window, is refused first", [] {
        EXPECT_TRUE(Told("person does not exist")) << ::testing::PrintToString(Messages());
        EXPECT_EQ(FocusLabel(), "Salesperson");
        EXPECT_EQ(Shown("Salesperson"), "NOONE");
        EXPECT_FALSE(TitleTells("viewing")) << ActiveTitle();
        return FocusLabel() == "Salesperson";
    });
    KeepPicture("order_salesperson_refused");
    Retype("Salesperson", "ADMIN");
    ClickOk();
    Check("then the delivery mode, on its own page", [] {
        EXPECT_TRUE(Told("No delivery mode has this code")) << ::testing::PrintToString(Messages());
        EXPECT_EQ(FocusLabel(), "Delivery mode");
        EXPECT_EQ(Shown("Delivery mode"), "SLOW");
        EXPECT_FALSE(TitleTells("viewing")) << ActiveTitle();
        return FocusLabel() == "Delivery mode";
    });
    KeepPicture("order_delivery_mode_refused");
    Retype("Delivery mode", "");
    Key(PlKey::Delete);   // the selected code goes
    OkStoresQuietly("the order changed to a known salesperson");

    Menu("Module", "General ledger");
    NewFromList("Persons", WinTypes::PersonList, WinTypes::Persons);
    TypeFields({{"Code", "P9"}, {"Name", "Pat Newcomer"}, {"Access group", "NOGRP"}, {"Account", "9999"}});
    // Each code refused in turn, with the cursor on it; emptied, it goes.
    for (const auto &refused :
         {std::pair{"Access group", "There is no access group with this code."},
          std::pair{"Account", "The account does not exist."}}) {
        ClickOk();
        Check(std::string("the person's ") + refused.first + " is refused", [refused] {
            EXPECT_TRUE(Told(refused.second)) << ::testing::PrintToString(Messages());
            EXPECT_TRUE(TitleTells("new")) << ActiveTitle();
            EXPECT_EQ(FocusLabel(), refused.first);
            return FocusLabel() == refused.first;
        });
        Retype(refused.first, "");
        Key(PlKey::Delete);
    }
    OkStoresQuietly("the person with no account");
    TypeExpenseClaimRows(*this, "P9", "6110", "125,00");
    ClickButton("Posted");
    auto told = CountTold();
    ClickOk();
    Check("the claim names the person's account as what is missing", [told] {
        EXPECT_EQ(Messages().size(), *told + 1) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(Told("the person's account is not in the chart of accounts")) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(Told("Person: P9, account: none")) << ::testing::PrintToString(Messages());
        EXPECT_EQ(FocusLabel(), "Person");
        return true;
    });
    ClickButton("Cancel");
    AnswerBox(kPlIdNo);
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> r;
    ASSERT_TRUE(FindByCode(PurchItemVc::Number, PurchItemVc::ItemCode, 20, "ITEM1", &r));
    EXPECT_EQ(TextAt(r.data(), PurchItemVc::VendCode), "V1");
    EXPECT_EQ(TextAt(r.data(), PurchItemVc::VendItemCode), "WW-100");
    EXPECT_EQ(RegRecordCount(PurchItemVc::Number), 1u);

    ASSERT_EQ(RegRecordCount(ORVc::Number), 1u);
    std::vector<uint8_t> order(ORVc::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(ORVc::Number, 1, order.data(), &id));
    EXPECT_EQ(TextAt(order.data(), ORVc::CustCode), "C1");
    EXPECT_EQ(TextAt(order.data(), ORVc::SalesMan), "ADMIN");
    EXPECT_EQ(TextAt(order.data(), ORVc::DelMode), "");
    EXPECT_EQ(MatrixRowCount(ORVc::Number, 0, order.data()), 1);

    std::vector<uint8_t> person;
    ASSERT_TRUE(FindByCode(PEVc::Number, PEVc::Code, 5, "P9", &person));
    EXPECT_EQ(TextAt(person.data(), PEVc::AccessCode), "");
    EXPECT_EQ(TextAt(person.data(), PEVc::Account), "");
    EXPECT_EQ(RegRecordCount(ExpenseVc::Number), 0u);
}

}  // namespace
