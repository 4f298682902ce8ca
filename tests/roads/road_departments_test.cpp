// road_departments_test.cpp - a department kept in its window: the
// register popup's Departments opens the list, New a department; OK
// without a code is refused with the cursor on the code and the name
// kept, then stored with one. The list finds it again and the company
// file holds it.
// Menus: in the module the program starts in, Registers > Departments.
// Windows: Department list, Department.
#include "tests/roads/road_fixture.h"

#include "core/field_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"

namespace {

TEST_F(RoadTest, ADepartmentIsKeptInItsWindow)
{
    const std::string company = StartNewCompany();
    NewFromList("Departments", WinTypes::DepartmentList, WinTypes::Departments);
    ClickField("Name");
    Type("Sales department");
    ClickOk();
    Check("a department without a code is refused at its code", [] {
        EXPECT_FALSE(Messages().empty());
        EXPECT_TRUE(TitleTells("new")) << ActiveTitle();
        EXPECT_EQ(FocusLabel(), "Code");
        EXPECT_EQ(Shown("Name"), "Sales department");
        return true;
    });
    ClickField("Code");
    Type("SALES");
    OkStoresQuietly("the department");
    Menu("Window", "Close all");
    Menu("Registers", "Departments");
    Check("the list shows it", Opened(WinTypes::DepartmentList));
    OpenFromList("SALES", WinTypes::Departments);
    Check("it shows its name", [] {
        EXPECT_EQ(Shown("Name"), "Sales department");
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> r;
    ASSERT_TRUE(FindByCode(DepartmentVc::Number, DepartmentVc::Code, 5, "SALES", &r));
    EXPECT_EQ(TextAt(r.data(), DepartmentVc::Name), "Sales department");
    CloseForCheck();
}

}  // namespace
