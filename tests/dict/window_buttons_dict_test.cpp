// window_buttons_dict_test.cpp - the buttons the window handlers act on
// and the items of the built interface file that press them, held to each
// other: every button a window type's handler acts on is pressed by an
// Operations item of that window (the item whose number names it) or, in
// the report and document lists, by a push button; and every Operations
// item opens an inquiry list or presses a button its type acts on. A
// button no item presses is one no user can reach; an item whose button
// nothing acts on is one that does nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/definitions.h"
#include "core/interface_load.h"
#include "core/window_entries.h"
#include "dict_offsets.h"
#include "recordwin/inquiry_lists.h"
#include "recordwin/record_windows.h"
#include "shell/window_table.h"
#include "tests/core/built_interface.h"

namespace {

// The lists whose push buttons press their buttons by their command: the
// shell hands a press there to the list's button handler.
constexpr int PushButtonTypes[] = {WinTypes::ReportList, WinTypes::DocumentList};

bool PushButtonsPress(int type)
{
    for (int t : PushButtonTypes)
        if (t == type) return true;
    return false;
}

std::string OpLabel(int type, int item)
{
    uint16_t size = 0;
    const uint8_t *e = WinDefPartEntry(WinTypeDef(type), WinPartMenuItems, item - 1, &size);
    if (!e || size <= OpEntry::Label) return "";
    return std::string(reinterpret_cast<const char *>(e + OpEntry::Label + 1), e[OpEntry::Label]);
}

// The buttons the items of window type `type` press (bit b: button b),
// and a fault for each item that presses nothing its type acts on
// (`acts`, AnyButton for a type whose every item opens what it names).
uint32_t PressedButtons(int type, uint32_t acts, std::vector<std::string> *faults)
{
    uint8_t *def = WinTypeDef(type);
    uint32_t pressed = 0;
    for (int item = 1; def && item <= WinDefPartCount(def, WinPartMenuItems); item++) {
        if (InquiryListOfItem(type, OpNumberAt(type, item)) != 0) continue;
        int button = ItemButton(type, item);
        if (button >= 1 && button <= 31) pressed |= 1u << button;
        if (acts == AnyButton || (button >= 1 && button <= 31 && (acts & (1u << button)))) continue;
        faults->push_back("window type " + std::to_string(type) + ": Operations item " + std::to_string(item) +
                          " (\"" + OpLabel(type, item) + "\") presses button " + std::to_string(button) +
                          ", which its handler does not act on");
    }
    if (!PushButtonsPress(type)) return pressed;
    for (int i = 0; def && i < WinDefPartCount(def, WinPartControls); i++) {
        uint16_t size = 0;
        const uint8_t *e = WinDefPartEntry(def, WinPartControls, i, &size);
        if (!e || DefU16(e + ControlEntry::Kind) != CtlPush) continue;
        int button = DefU16(e + ControlEntry::Command);
        if (button >= 1 && button <= 31) pressed |= 1u << button;
        if (button < 1 || button > 31 || !(acts & (1u << button)))
            faults->push_back("window type " + std::to_string(type) + ": push button " + std::to_string(i) +
                              " presses button " + std::to_string(button) + ", which its handler does not act on");
    }
    return pressed;
}

// Every fault of the built interface file against the handlers' list.
std::vector<std::string> ButtonFaults(const std::vector<WindowButtons> &handled)
{
    std::vector<std::string> faults;
    auto actsOf = [&](int type) {
        for (const WindowButtons &h : handled)
            if (h.type == type) return h.acts;
        return uint32_t(0);
    };
    for (const WindowButtons &h : handled)
        if (!WinDefExists(h.type)) faults.push_back("window type " + std::to_string(h.type) + " is not defined");
    for (int type = 1; type < WinTypeUseEntries; type++) {
        if (!WinDefExists(type)) continue;
        uint32_t acts = actsOf(type);
        uint32_t pressed = PressedButtons(type, acts, &faults);
        if (acts == AnyButton) continue;
        for (int b = 1; b <= 31; b++)
            if ((acts & (1u << b)) && !(pressed & (1u << b)))
                faults.push_back("window type " + std::to_string(type) + ": button " + std::to_string(b) +
                                 " is pressed by no Operations item nor push button");
    }
    return faults;
}

std::string Joined(const std::vector<std::string> &lines)
{
    std::string all;
    for (const std::string &l : lines) all += l + "\n";
    return all;
}

class WindowButtonsDict : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(LoadBuiltInterface(&error)) << error;
    }
    void TearDown() override { InterfaceUnload(); }
};

TEST_F(WindowButtonsDict, EveryButtonAHandlerActsOnIsPressedByAnItemOfItsWindow)
{
    std::vector<WindowButtons> handled = WindowButtonsActedOn();
    ASSERT_GT(handled.size(), 30u);
    std::vector<std::string> faults = ButtonFaults(handled);
    EXPECT_TRUE(faults.empty()) << faults.size() << " faults:\n" << Joined(faults);
}

// The check itself: a button no item presses, an item whose button the
// handler does not act on, and a type the file lacks are each found.
TEST_F(WindowButtonsDict, TheCheckFindsButtonsAndItemsThatDoNotMeet)
{
    std::vector<WindowButtons> handled = WindowButtonsActedOn();
    for (WindowButtons &h : handled)
        if (h.type == WinTypes::Project) h.acts |= 1u << 7;
    std::vector<std::string> faults = ButtonFaults(handled);
    ASSERT_EQ(faults.size(), 1u) << Joined(faults);
    EXPECT_EQ(faults[0], "window type 259: button 7 is pressed by no Operations item nor push button");

    int undefined = WinTypeUseEntries - 1;
    while (undefined > 1 && WinDefExists(undefined)) undefined--;
    std::vector<WindowButtons> without;
    for (const WindowButtons &h : WindowButtonsActedOn())
        if (h.type != WinTypes::Quotation) without.push_back(h);
    without.push_back({undefined, 1u << 1});
    faults = ButtonFaults(without);
    ASSERT_EQ(faults.size(), 4u) << Joined(faults);
    EXPECT_EQ(faults[0], "window type " + std::to_string(undefined) + " is not defined");
    EXPECT_EQ(faults[1], "window type 272: Operations item 1 (\"Order\") presses button 1, which its handler does "
                         "not act on");
}

}  // namespace
