// road_customers_test.cpp - the customers of the demo company by keys
// and clicks: Ctrl+1 opens the customer list, C3 typed into its Find
// field is found and opened, its name changed and stored by OK (a name
// longer than the field keeps its first 60 characters, and the edit that
// shows it after OK covers no label of the window); a new
// customer with a code that exists is refused with the cursor on Code;
// Esc in a field changes nothing.
// Menus: in Sales, Registers > Customers (Ctrl+1).
// Windows: Customer list, Customers.
#include "tests/roads/road_fixture.h"

#include "dict_offsets.h"
#include "platform/queue.h"
#include "database/access/record_access.h"
#include "platform/dialog.h"
#include "platform/script.h"

namespace {

constexpr int CustomerList = 594, Customers = 590;
const std::string NewName = "Small Customer Ltd";

TEST_F(RoadTest, CustomersAreFoundChangedAndGuarded)
{
    const std::string company = StartNewCompany();
    Key('1', false, true);
    Check("Ctrl+1 opens the customer list", [] {
        EXPECT_EQ(ActiveType(), CustomerList) << ActiveTitle();
        return ActiveType() == CustomerList;
    });
    ClickField("Find");
    Type("C3");
    Key(PlKey::Return);   // finds the row
    Key(PlKey::Return);   // opens it
    Check("C3 opens in the customers window", [] {
        EXPECT_EQ(ActiveType(), Customers) << ActiveTitle();
        EXPECT_EQ(Shown("Code"), "C3");
        EXPECT_EQ(Shown("Name"), "Small Customer");
        return ActiveType() == Customers && Shown("Code") == "C3";
    });
    // Esc in a field is no edit: nothing changes and the record is not
    // marked changed.
    ClickField("Name");
    Key(PlKey::Escape);
    Check("Esc changed nothing", [] {
        EXPECT_EQ(Shown("Name"), "Small Customer");
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return true;
    });
    ClickField("Name");
    Key(PlKey::End);
    Key(PlKey::Home, true);
    Type(std::string(300, 'W'));
    ClickOk();
    Check("a name of 300 characters is stored as its first 60, drawn clear of the labels", [] {
        EXPECT_EQ(Shown("Name"), std::string(60, 'W'));
        EXPECT_EQ(EditCoversLabel(), "");
        return true;
    });
    ClickField("Name");
    Key(PlKey::End);
    Key(PlKey::Home, true);
    Type(NewName);
    ClickOk();
    Check("OK stores the new name", [] {
        EXPECT_EQ(Shown("Name"), NewName);
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return true;
    });
    // A new customer under C1's code.
    Key('N', false, true);
    Check("Ctrl+N starts a new customer on Code", [] {
        EXPECT_TRUE(TitleTells("new")) << ActiveTitle();
        EXPECT_EQ(FocusLabel(), "Code");
        return FocusLabel() == "Code";
    });
    Type("C1");
    Key(PlKey::Tab);
    Type("Second First");
    ClickOk();
    Check("the code that exists is refused with the cursor on Code", [] {
        EXPECT_TRUE(Told("exists")) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("new")) << ActiveTitle();
        EXPECT_EQ(FocusLabel(), "Code");
        EXPECT_EQ(Shown("Name"), "Second First");
        return true;
    });
    ClickButton("Cancel");
    AnswerBox(kPlIdNo);   // do not store the new record
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> r;
    ASSERT_TRUE(FindByCode(CUVc::Number, CUVc::Code, 20, "C3", &r));
    EXPECT_EQ(TextAt(r.data(), CUVc::Name), NewName);
    ASSERT_TRUE(FindByCode(CUVc::Number, CUVc::Code, 20, "C1", &r));
    EXPECT_EQ(TextAt(r.data(), CUVc::Name), "First Customer");
    EXPECT_EQ(RegRecordCount(CUVc::Number), 3u);
}

}  // namespace
