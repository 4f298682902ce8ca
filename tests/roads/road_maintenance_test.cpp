// road_maintenance_test.cpp - a batch routine as a user runs it: a sales
// invoice is stored without being posted, File > Maintenance lists the
// routines under Maintenance, "Approve sales invoices" opens its
// selection window, and OK on the invoice's number posts it: the company
// file then holds the invoice posted and its voucher. A range that names
// no invoice changes nothing.
// Menus: File > Maintenance... > "Approve sales invoices", File >
// Windows... > "Sales invoices".
// Windows: Sales invoice, Windows, Approve sales invoices (routine 8).
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <functional>
#include <memory>

#include "core/field_access.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"

namespace {

constexpr int SalesInvoice = 347, WindowList = 12, ApproveSel = 553;
constexpr int ColItem = 1;
namespace fs = std::filesystem;

class MaintenanceRoad : public RoadTest {
protected:
    // File > Maintenance, "Approve sales invoices", its selection window
    // with the range that `range` gives when the step runs typed as its
    // invoice numbers, and OK.
    void ApproveRange(std::function<std::string()> range)
    {
        OpenMaintenanceRun("Approve sales invoices", ApproveSel);
        ClickField("Invoice numbers");
        Type("the invoice numbers", std::move(range));
        const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
        Do("keep a picture of the selection window", [this, shots] {
            EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "approve_invoices.png", true));
            return true;
        });
        ClickButton("OK");
    }
};

TEST_F(MaintenanceRoad, AnUnpostedInvoiceIsApprovedByItsNumberFromTheFunctionList)
{
    const std::string company = StartNewCompany();
    Menu("File", "Windows...");
    Check("the window list opens", [] { return ActiveType() == WindowList; });
    ClickRow("Sales invoices");
    Key(PlKey::Return);
    ClickButton("New");
    Check("New opens the invoice window", [] {
        EXPECT_EQ(ActiveType(), SalesInvoice) << ActiveTitle();
        return ActiveType() == SalesInvoice;
    });
    ClickField("Customer");
    Type("C1");
    Key(PlKey::Tab);
    ClickCell(0, ColItem);
    Type("ITEM1");
    Key(PlKey::Tab);
    Type("2");
    Key(PlKey::Tab);
    ClickOk();
    auto number = std::make_shared<std::string>();
    Check("OK stores the invoice unposted", [number] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        *number = Shown("Number");
        EXPECT_NE(*number, "");
        return !number->empty();
    });
    Menu("Window", "Close all");

    // A range past the invoice approves nothing; its own number approves it.
    ApproveRange([] { return std::string("900:999"); });
    ApproveRange([number] { return *number + ":" + *number; });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(IVVc::Number), 1u);
    std::vector<uint8_t> inv(IVVc::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(IVVc::Number, 1, inv.data(), &id));
    EXPECT_EQ(std::to_string(GetU32(inv.data(), IVVc::SerNr)), *number);
    EXPECT_EQ(GetU16(inv.data(), IVVc::Posted), 1);
    EXPECT_EQ(RegRecordCount(TRVc::Number), 1u);   // its voucher, made once
}

}  // namespace
