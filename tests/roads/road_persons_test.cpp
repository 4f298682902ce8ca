// road_persons_test.cpp - an employee as the payroll clerk keeps one: in
// the General ledger module the register popup opens the employee list,
// New an employee window, where code, name, department, position and
// entry text are typed and OK stores it; the window's operations menu
// previews the employee's entry calculation; then Ctrl+P on "Employees
// by Department" in the report list prints the department to a PDF
// whose text holds the employee. The company file holds the employee as
// typed.
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <memory>

#include "core/field_access.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"

namespace {

constexpr int Employee = 500, EmployeeList = 504, EmployeeDepSel = 508, ReportList = 6, Preview = 5;
namespace fs = std::filesystem;

std::function<bool()> Opened(int type) {
    return [type] {
        EXPECT_EQ(RoadTest::ActiveType(), type) << RoadTest::ActiveTitle();
        return RoadTest::ActiveType() == type;
    };
}

TEST_F(RoadTest, AnEmployeeIsTypedStoredAndListedByDepartment) {
    const std::string company = StartNewCompany();
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    Menu("Module", "General ledger");
    Menu("Registers", "Employees");
    Check("the register popup opens the employee list", Opened(EmployeeList));
    ClickButton("New");
    Check("New opens an employee window", Opened(Employee));
    const std::pair<const char *, const char *> typed[] = {
        {"Code", "E9"}, {"Name", "Dora Ek"}, {"Department", "D1"}, {"Position", "Clerk"}, {"Entry text", "June pay"}};
    for (const auto &[label, text] : typed) {
        ClickField(label);
        Type(text);
        Key(PlKey::Tab);
    }
    Do("keep a picture of the employee window", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "employee_window.png"));
        return true;
    });
    ClickOk();
    Check("OK stores the employee", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return TitleTells("viewing");
    });
    Menu("Operations", "Calculation");
    Check("the calculation of the employee is previewed", [this, shots] {
        EXPECT_EQ(ActiveType(), Preview) << ActiveTitle() << " told " << ::testing::PrintToString(Messages());
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "employee_calculation_preview.png"));
        return true;
    });
    Menu("Window", "Close all");

    auto before = std::make_shared<size_t>();
    auto text = std::make_shared<std::string>();
    Do("count the PDFs", [this, before] {
        *before = FilesIn("print").size();
        return true;
    });
    Key('R', false, true);
    Check("Ctrl+R opens the report list", Opened(ReportList));
    ClickRow("Employees by Department");
    AnswerPrint(true);
    Key('P', false, true);
    Check("the print selection opens", Opened(EmployeeDepSel));
    ClickField("Department");
    Type("D1");
    Do("keep a picture of the selection", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "employee_dep_sel.png"));
        return true;
    });
    ClickButton("OK");
    Check("printed to a PDF with the employee", [this, before, text, shots] {
        std::vector<fs::path> pdfs = FilesIn("print");
        if (pdfs.size() != *before + 1) {
            ADD_FAILURE() << pdfs.size() - *before << " PDFs; told " << ::testing::PrintToString(Messages());
            return true;
        }
        if (shots) std::system(("cp '" + pdfs.back().string() + "' '" + shots + "/employees_by_department.pdf'").c_str());
        *text = PdfText(pdfs.back());
        EXPECT_NE(text->find("Employees by Department"), std::string::npos) << *text;
        EXPECT_NE(text->find("E9"), std::string::npos) << *text;
        EXPECT_NE(text->find("Dora Ek"), std::string::npos) << *text;
        EXPECT_NE(text->find("Clerk"), std::string::npos) << *text;
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(EmployeeVc::Number), 1u);
    std::vector<uint8_t> employee(EmployeeVc::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(EmployeeVc::Number, 1, employee.data(), &id));
    EXPECT_EQ(TextAt(employee.data(), EmployeeVc::PerCode), "E9");
    EXPECT_EQ(TextAt(employee.data(), EmployeeVc::Name), "Dora Ek");
    EXPECT_EQ(TextAt(employee.data(), EmployeeVc::DepCode), "D1");
    EXPECT_EQ(TextAt(employee.data(), EmployeeVc::Text128), "Clerk");
    EXPECT_EQ(TextAt(employee.data(), EmployeeVc::Text), "June pay");
    CloseForCheck();
}

}  // namespace
