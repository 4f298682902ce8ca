// road_persons_test.cpp - an employee as the payroll clerk keeps one: in
// the General ledger module the register popup opens the employee list,
// New an employee window, where code, name, department, position and
// entry text are typed and OK stores it; the window's operations menu
// previews the employee's entry calculation; then Ctrl+P on "Employees
// by Department" in the report list prints the department to a PDF
// whose text holds the employee. The company file holds the employee as
// typed. The other person reports' and register listings' selection
// windows open from the report list of their modules, the person-entry
// routines' from the function list and the label runs' from the
// document list.
// Menus: in General ledger, Registers > Employees, Operations >
// Calculation; File > Reports (Ctrl+R) > "Employees by Department", File >
// Print (Ctrl+P), File > Documents... > "Delivery labels".
// Windows: Employee, Employees, Employees by department, Reports, Functions
// (exports, imports, maintenance), Documents.
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <memory>

#include "core/field_access.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"

namespace {

constexpr int Employee = 500, EmployeeList = 504, EmployeeDepSel = 508, ReportList = 6, Preview = 5;
constexpr int FunctionList = 7, DocumentList = 8;
namespace fs = std::filesystem;

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

    auto before = std::make_shared<std::vector<fs::path>>();
    auto text = std::make_shared<std::string>();
    Do("note the PDFs", [this, before] {
        *before = FilesIn("print");
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
        std::vector<fs::path> pdfs = NewFilesIn("print", *before);
        if (pdfs.size() != 1) {
            ADD_FAILURE() << pdfs.size() << " PDFs; told " << ::testing::PrintToString(Messages());
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
    Menu("Window", "Close all");

    // The other selection windows, each from its list in its module.
    struct Reached {
        const char *module, *row;
        int type;
    };
    const Reached reports[] = {{"General ledger", "Person Entry Calculation", 510},
                               {"General ledger", "Person Entries by Account", 505},
                               {"General ledger", "Person Entries of the Day", 506},
                               {"General ledger", "Registers and record counts", 511},
                               {"Stock", "Item in the Price Lists", 512},
                               {"Stock", "Productions", 515},
                               {"Purchasing", "Vendors", 513},
                               {"Purchasing", "Purchase Items", 514}};
    for (const Reached &r : reports) {
        Menu("Module", r.module);
        Key('R', false, true);
        Check("Ctrl+R opens the report list", Opened(ReportList));
        ClickRow(r.row);
        Key(PlKey::Return);
        Check(std::string(r.row) + "'s selection window opens", Opened(r.type));
        Menu("Window", "Close all");
    }
    Menu("Module", "General ledger");
    for (const auto &[row, type] : {std::pair{"Person entries from employees", 516}, {"Delete person entries", 520}}) {
        Menu("File", "Maintenance...");
        Check("the function list opens", Opened(FunctionList));
        ClickButton("Maintenance");
        ClickRow(row);
        Key(PlKey::Return);
        Check(std::string(row) + "'s window opens", Opened(type));
        Menu("Window", "Close all");
    }
    Menu("Module", "Stock");
    Menu("File", "Documents...");
    Check("the document list opens", Opened(DocumentList));
    ClickRow("Delivery labels");
    Key(PlKey::Return);
    Check("the label runs' selection window opens", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "label_run_sel.png"));
        return Opened(522)();
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
    EXPECT_EQ(TextAt(employee.data(), EmployeeVc::Position), "Clerk");
    EXPECT_EQ(TextAt(employee.data(), EmployeeVc::Text), "June pay");
    CloseForCheck();
}

}  // namespace
