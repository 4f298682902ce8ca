// window_event_test.cpp - the event dispatch of record windows: which
// types decide row inserts and deletes, and which events reach only a
// type's handler.
#include <gtest/gtest.h>

#include "recordwin/record_windows.h"
#include "tests/shell/shell_fixture.h"

namespace {

class WindowEventTest : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        UseDict("wintype 45 { kind record }\n"
                "wintype 100 { kind record }\n"
                "wintype 241 { kind record }\n"
                "wintype 350 { kind record }\n");
    }
    // A window of the type in the table (no screen window is needed).
    int Window(int type)
    {
        int n = WinSlotAlloc();
        EXPECT_NE(n, WinTableFull);
        WinTable[n]->windowType = uint16_t(type);
        return n;
    }
};

TEST_F(WindowEventTest, RowInsertsAndDeletesAreDecidedByHandlerOrType)
{
    int plain = Window(100), rows = Window(241), allowing = Window(45), fields = Window(350);
    int32_t row = 3;
    // Without a handler only type 241 may insert a row in the middle.
    EXPECT_EQ(WindowEvent(plain, 9, &row, nullptr), 0);
    EXPECT_EQ(WindowEvent(rows, 9, &row, nullptr), 1);
    // A type with a handler decides alone: type 45 allows both.
    EXPECT_EQ(WindowEvent(allowing, 9, &row, nullptr), 1);
    EXPECT_EQ(WindowEvent(allowing, 4, &row, nullptr), 1);
    int16_t field = 2;
    uint8_t changed = 1;
    EXPECT_EQ(WindowEvent(fields, 6, &field, &changed), 1);
    EXPECT_EQ(WindowEvent(fields, 9, &row, nullptr), 1);
}

TEST_F(WindowEventTest, EventsOutsideTheGenericRangeReachOnlyTheHandler)
{
    int plain = Window(100);
    int16_t value = 1;
    for (int event : {29, 30, 31, -1, 0x7FFF, 0xFFFF}) EXPECT_EQ(WindowEvent(plain, event, &value, nullptr), 1) << event;
    // A question whose generic action is not built lets the caller go on.
    for (int event : {0, 1, 11, 26, 28}) EXPECT_EQ(WindowEvent(plain, event, &value, &value), 1) << event;
    // A closed window has nothing to answer with.
    WinTableInit();
    EXPECT_EQ(WindowEvent(plain, 11, nullptr, nullptr), 0);
    EXPECT_EQ(WindowEvent(0, 11, nullptr, nullptr), 0);
}

}  // namespace
