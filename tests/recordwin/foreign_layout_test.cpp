// foreign_layout_test.cpp - the rules of the record-window types read a
// window's records by their register's layout only when the interface
// file gives the type that register: a type laid out otherwise (here with
// no register and a record of 16 bytes) is left alone by every event.
#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "recordwin/record_windows.h"
#include "tests/shell/shell_fixture.h"

namespace {

class ForeignLayoutTest : public ShellFixture {};

TEST_F(ForeignLayoutTest, RulesOfATypeLeaveARecordOfAnotherLayoutAlone)
{
    const int types[] = {117, 140, 155, 157, 197, 268, 284, 290, 352, 354, 360, 362, 367, 426, 457, 475, 476};
    std::string dict;
    for (int t : types) dict += "wintype " + std::to_string(t) + " { kind record }\n";
    UseDict(dict);
    for (int t : types) {
        int n = WinSlotAlloc();
        ASSERT_NE(n, WinTableFull);
        WinTable[n]->windowType = uint16_t(t);
        // Records far smaller than any register's: a read by the register's
        // layout would leave them (the sanitizer sees it).
        std::array<uint8_t, 16> shown{}, stored{};
        shown.fill(1);
        stored.fill(1);
        WinTable[n]->record = shown.data();
        WinTable[n]->stored = stored.data();
        for (int state : {0, 1, 2}) {
            WinTable[n]->editState = uint16_t(state);
            int16_t field = 1, row = 0;
            uint8_t changed = 1;
            EXPECT_EQ(WinFieldEditRules(n, 1, state, 0, 1), 1) << t;
            EXPECT_EQ(WindowEvent(n, 26, nullptr, nullptr), 1) << t;
            EXPECT_EQ(WindowEvent(n, 6, &field, &changed), 1) << t;
            EXPECT_EQ(WindowEvent(n, 12, &row, nullptr), 1) << t;
            (void)WindowEvent(n, 4, &row, nullptr);
            (void)WindowEvent(n, 13, &row, nullptr);
        }
        EXPECT_EQ(shown, (std::array<uint8_t, 16>{1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1})) << t;
        WinTable[n]->record = WinTable[n]->stored = nullptr;
        WinTableInit();
    }
}

}  // namespace
