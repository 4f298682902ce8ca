// window_event_test.cpp - the event dispatch of record windows: which
// types decide row inserts and deletes, which events reach only a
// type's handler, and handlers set at run time.
#include <gtest/gtest.h>

#include <cstring>

#include "recordwin/record_windows.h"
#include "tests/shell/shell_fixture.h"

namespace {

class WindowEventTest : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        UseDict("wintype 45 { kind record }\n"
                "wintype 46 { kind record }\n"
                "wintype 100 { kind record }\n"
                "wintype 122 { kind record }\n"
                "wintype 290 { kind record }\n"
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

TEST_F(WindowEventTest, ClosedProductionsAndPurchaseOrdersRefuseEditsByTheRecordTheStateNames)
{
    // Production (122) closes with its word 5, a purchase order (290) with
    // its word 18 except for the field at byte 756; state 0 asks the shown
    // record, state 2 the stored one, other states never refuse.
    static uint8_t shownRec[800], storedRec[800];
    struct Case { int type, state; uint32_t closedAt; bool shownClosed, storedClosed; uint16_t offset; uint8_t want; };
    const Case cases[] = {
        {122, 0, 10, true, false, 4, 0}, {122, 0, 10, false, true, 4, 1},  {122, 2, 10, false, true, 4, 0},
        {122, 1, 10, true, true, 4, 1},  {290, 0, 36, true, false, 756, 1}, {290, 2, 36, false, true, 20, 0},
        {290, 3, 36, true, true, 20, 1}, {100, 0, 10, true, true, 4, 1},
    };
    for (const Case &c : cases) {
        std::memset(shownRec, 0, sizeof shownRec);
        std::memset(storedRec, 0, sizeof storedRec);
        shownRec[c.closedAt] = c.shownClosed;
        storedRec[c.closedAt] = c.storedClosed;
        int n = Window(c.type);
        WinTable[n]->record = shownRec;
        WinTable[n]->stored = storedRec;
        WinTable[n]->editState = uint16_t(c.state);
        int16_t field = 1;
        uint16_t offset = c.offset;
        EXPECT_EQ(WindowEvent(n, 1, &field, &offset), c.want) << c.type << " state " << c.state << " at " << c.offset;
        WinTable[n]->record = WinTable[n]->stored = nullptr;
    }
}

int RefusedCalls = 0;

// A handler that refuses everything and counts its calls.
uint8_t RefuseAll(int, int, void *, void *)
{
    RefusedCalls++;
    return 0;
}

// A handler that allows everything.
uint8_t AllowAll(int, int, void *, void *) { return 1; }

TEST_F(WindowEventTest, RunTimeHandlersComeFirstReplaceEachOtherAndGo)
{
    int plain = Window(100), allowing = Window(45), rows = Window(241);
    int32_t row = 3;
    RefusedCalls = 0;
    WindowEventHandlerSet(45, RefuseAll);
    WindowEventHandlerSet(100, RefuseAll);
    // Before the built-in allow-all of type 45, and deciding row deletes alone.
    EXPECT_EQ(WindowEvent(allowing, 4, &row, nullptr), 0);
    // A refusal stops before the generic action.
    EXPECT_EQ(WindowEvent(plain, 11, nullptr, nullptr), 0);
    EXPECT_EQ(RefusedCalls, 2);

    // Setting a type again replaces its handler and takes no further room:
    // with every other entry taken, type 46 still gets one.
    for (int type = 1000; type < 1013; type++) WindowEventHandlerSet(type, AllowAll);
    WindowEventHandlerSet(46, AllowAll);
    for (int i = 0; i < 20; i++) WindowEventHandlerSet(100, i % 2 ? AllowAll : RefuseAll);
    EXPECT_EQ(WindowEvent(plain, 9, &row, nullptr), 1);   // the last one set allows

    // Null removes: the built-in handler and the generic rules answer again.
    for (int type : {45, 46, 100}) WindowEventHandlerSet(type, nullptr);
    for (int type = 1000; type < 1013; type++) WindowEventHandlerSet(type, nullptr);
    EXPECT_EQ(WindowEvent(allowing, 4, &row, nullptr), 1);
    EXPECT_EQ(WindowEvent(plain, 9, &row, nullptr), 0);
    EXPECT_EQ(WindowEvent(rows, 9, &row, nullptr), 1);
    EXPECT_EQ(RefusedCalls, 2);
}

}  // namespace
