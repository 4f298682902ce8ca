// road_printers_test.cpp - printer definitions as a user keeps them:
// File > Windows offers the printers; New opens the row window, the
// name, device and printer are typed and OK stores the row, which the
// list then shows; a printer without a name is refused with what was
// typed kept; opening a row and changing its device replaces it. The
// rows are then read back from the company file.
// Menus: File > Windows... > "Printers".
// Windows: Printers, Printer (New in the printer list), Session choice
// (from a printer's device).
#include "tests/roads/road_fixture.h"

#include <cstdlib>

#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"

namespace {

constexpr int PrinterList = 407, PrinterRow = 408, SessionChoice = 424;
namespace fs = std::filesystem;

class PrintersRoad : public RoadTest {};

TEST_F(PrintersRoad, APrinterIsAddedChangedAndStoredInTheCompany)
{
    const std::string company = StartNewCompany();
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    Menu("File", "Windows...");
    ClickRow("Printers");
    Key(PlKey::Return);
    Check("the printer list opens, empty", [] {
        EXPECT_EQ(ActiveType(), PrinterList) << ActiveTitle();
        EXPECT_TRUE(ListRows().empty());
        return ActiveType() == PrinterList;
    });

    ClickButton("New");
    Check("New opens an empty printer", [] {
        EXPECT_EQ(ActiveType(), PrinterRow) << ActiveTitle();
        return ActiveType() == PrinterRow;
    });
    ClickField("Device or session");
    Key('J', false, true);
    Check("Ctrl+J on the device lists the sessions a printer may print through", [] {
        EXPECT_EQ(ActiveType(), SessionChoice) << ActiveTitle();
        return ActiveType() == SessionChoice;
    });
    Key(PlKey::Escape);
    Check("Esc goes back to the printer with its device empty", [] {
        EXPECT_EQ(ActiveType(), PrinterRow) << ActiveTitle();
        EXPECT_EQ(Shown("Device or session"), "");
        return ActiveType() == PrinterRow;
    });
    Type("LPT1");
    ClickButton("OK");
    Check("a printer without a name is refused and keeps its device", [] {
        EXPECT_EQ(ActiveType(), PrinterRow) << ActiveTitle();
        EXPECT_EQ(Shown("Device or session"), "LPT1");
        EXPECT_TRUE(Told("A printer needs a name.")) << ::testing::PrintToString(Messages());
        return ActiveType() == PrinterRow;
    });
    ClickField("Name");
    Type("LASER");
    ClickField("Printer");
    Type("Office laser");
    Check("the typed printer, before OK", [shots, this] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "printer_row.png", true));
        return true;
    });
    ClickButton("OK");
    Check("the list shows the stored printer", [shots, this] {
        EXPECT_EQ(ActiveType(), PrinterList) << ActiveTitle();
        EXPECT_EQ(ListRows(), (std::vector<std::string>{"LASER - LPT1 - Office laser"}));
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "printer_list.png", true));
        return true;
    });

    ClickButton("New");
    ClickField("Name");
    Type("MATRIX");
    ClickField("Device or session");
    Type("COM1");
    ClickButton("OK");
    ClickRow("LASER - LPT1 - Office laser");
    ClickButton("Open");
    Check("Open shows the stored printer", [] {
        EXPECT_EQ(ActiveType(), PrinterRow) << ActiveTitle();
        EXPECT_EQ(Shown("Name"), "LASER");
        EXPECT_EQ(Shown("Device or session"), "LPT1");
        return ActiveType() == PrinterRow;
    });
    ClickField("Device or session");
    Key(PlKey::End);
    Key(PlKey::Home, true);
    Type("LPT2");
    ClickButton("OK");
    Check("the changed printer replaced its row", [] {
        EXPECT_EQ(ListRows(), (std::vector<std::string>{"LASER - LPT2 - Office laser", "MATRIX - COM1"}));
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    MemBlock rows = 0;
    ASSERT_TRUE(SettingsBlockFetch(&rows, PrintersBlk::Number));
    ASSERT_EQ(MemSize(rows), 2 * PrintersBlk::Rows::Size);
    const uint8_t *p = MemLock(rows);
    EXPECT_EQ(TextAt(p, PrintersBlk::Rows::Name), "LASER");
    EXPECT_EQ(TextAt(p, PrintersBlk::Rows::DeviceText), "LPT2");
    EXPECT_EQ(TextAt(p, PrintersBlk::Rows::PrinterText), "Office laser");
    EXPECT_EQ(TextAt(p + PrintersBlk::Rows::Size, PrintersBlk::Rows::Name), "MATRIX");
    EXPECT_EQ(TextAt(p + PrintersBlk::Rows::Size, PrintersBlk::Rows::DeviceText), "COM1");
    MemUnlock(rows);
    MemFree(&rows);
    CloseForCheck();
}

}  // namespace
