// road_payment_runs_test.cpp - a user deletes a mistyped sales invoice by
// its number: the invoice is typed and stored (not posted), then File >
// Maintenance lists "Delete documents by number"; with "Sales invoices"
// ticked and no numbers typed, OK is refused with a message and nothing
// goes; opened again (the ticks kept) with the invoice's number typed,
// OK deletes it. The company file
// then holds no sales invoice.
// Menus: File > Windows... > "Sales invoices", File > Maintenance... >
// "Delete documents by number".
// Windows: Windows, Sales invoice, Delete documents by number (routine 22).
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <memory>

#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "platform/script.h"

namespace {

constexpr int WindowList = 12, SalesInvoice = 347, DeleteRangesSel = 413;
constexpr int ColItem = 1;
namespace fs = std::filesystem;

TEST_F(RoadTest, ADeleteByNumberNeedsARangeAndDeletesTheInvoice) {
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
    Type("1");
    Key(PlKey::Tab);
    ClickOk();
    auto number = std::make_shared<std::string>();
    Check("OK stores the invoice", [number] {
        *number = Shown("Number");
        EXPECT_NE(*number, "");
        return !number->empty();
    });
    Menu("Window", "Close all");

    // File > Maintenance, the routine's window.
    auto openRoutine = [this] {
        OpenMaintenanceRun("Delete documents by number", DeleteRangesSel);
    };
    openRoutine();
    ClickButton("Sales invoices");
    ClickButton("OK");
    Check("an empty range is refused with a message", [] {
        EXPECT_TRUE(Told("empty range")) << ::testing::PrintToString(Messages());
        return Told("empty range");
    });
    // The window opens again with nothing ticked: a delete is chosen anew.
    Menu("Window", "Close all");
    openRoutine();
    ClickButton("Sales invoices");
    ClickField("Numbers");
    Do("type the invoice's number", [number] {
        ScriptText(*number + ":" + *number);
        return true;
    });
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    Do("keep a picture of the selection window", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "delete_ranges.png", true));
        return true;
    });
    ClickButton("OK");
    Check("the delete ran without a further message", [] {
        EXPECT_EQ(Messages().size(), 1u) << ::testing::PrintToString(Messages());
        return Messages().size() == 1;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    EXPECT_EQ(RegRecordCount(IVVc::Number), 0u);
    CloseForCheck();
}

}  // namespace
