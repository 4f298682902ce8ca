// list_windows_test.cpp - list windows: the command states that the
// Record menu and the top bar's buttons follow, and a customers list over
// a company's records: scrolling by one row and by jumps, where the top
// row stops, selecting and extending by keys and pointer clicks, the
// limit of marked rows, OK on the row chosen at the open, a double click
// or a typed key, and a header press that changes the order.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/memblock.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/control.h"
#include "platform/menu.h"
#include "shell/list_windows.h"
#include "shell/menus.h"
#include "shell/record_commands.h"
#include "shell/window_drawing.h"
#include "shell/window_layout.h"
#include "tests/shell/record_fixture.h"
#include "tests/shell/record_test_helpers.h"

namespace {

class ListWindowsTest : public ShellFixture {
protected:
    void SetUp() override
    {
        ShellFixture::SetUp();
        UseDict("wintype 2 { kind list related 3 }\n"
                "wintype 4 { kind list }\n"
                "wintype 5 { kind choicelist }\n"
                "wintype 3 { kind record register 5 }\n"
                "wintype 7 { kind record }\n"
                "wintype 8 { kind preview }\n"
                "wintype 10 { kind output }\n"
                "wintype 6 { kind plain }\n"
                "wintype 12 { kind plain }\n"
                "wintype 14 { kind plain }\n"
                "wintype 15 { kind list related 3 menukind 1 }\n"
                "wintype 353 { kind record register 5 }\n"
                "register 5 TestVc size 20 { Code 0 text 10 }\n");
    }
    int Window(int type, int state = 0)
    {
        int n = WinSlotAlloc();
        EXPECT_NE(n, WinTableFull);
        WinTable[n]->windowType = uint16_t(type);
        WinTable[n]->editState = uint16_t(state);
        return n;
    }
    // The four states as a string "onkc" with '-' for each one off.
    static std::string States(int w)
    {
        bool open, nw, ok, cancel;
        EditCommandsState(w, &open, &nw, &ok, &cancel);
        return std::string{open ? 'o' : '-', nw ? 'n' : '-', ok ? 'k' : '-', cancel ? 'c' : '-'};
    }
};

TEST_F(ListWindowsTest, EditCommandStatesFollowKindTypeAndState)
{
    int list = Window(2);   // open follows real selections in the customers list below
    EXPECT_EQ(States(list), "-nk-");
    EXPECT_EQ(States(Window(4)), "----");   // a list without a record window
    EXPECT_EQ(States(Window(5)), "--k-");   // a choice list picks with OK

    int record = Window(3);
    EXPECT_EQ(States(record), "on--");
    WinTable[record]->editState = 2;
    EXPECT_EQ(States(record), "onkc");
    WinTable[record]->editState = 1;
    WinTable[record]->opener = uint16_t(list);   // opened from another window
    EXPECT_EQ(States(record), "--kc");
    EXPECT_EQ(States(Window(7, 2)), "----");     // no register, nothing to store
    EXPECT_EQ(States(Window(353, 1)), "--kc");   // the type withdraws open and new

    EXPECT_EQ(States(Window(8)), "--k-");
    EXPECT_EQ(States(Window(10)), "----");
    EXPECT_EQ(States(Window(6)), "-nk-");    // the report list, type 14 defined
    EXPECT_EQ(States(Window(12)), "--k-");
    int menuKindOne = Window(15);
    WinTable[menuKindOne]->selCurrent = 1;
    EXPECT_EQ(States(menuKindOne), "----");
    EXPECT_EQ(States(0), "----");
}

// A company with customers C0001, C0002, ... (names "Name 0001", ...)
// and its customers list.
class CustomerList : public RecordFixture {
protected:
    int list = 0;
    std::vector<uint32_t> ids;   // ids[i] is the customer at position i + 1

    // Adds customers up to `count` in one hold.
    void Customers(int count)
    {
        std::vector<uint8_t> record(CUVc::Size);
        DbHoldBegin();
        for (int i = int(ids.size()) + 1; i <= count; i++) {
            std::string digits = std::to_string(10000 + i).substr(1);
            memset(record.data(), 0, record.size());
            PutText(record.data(), CUVc::Code, "C" + digits);
            PutText(record.data(), CUVc::Name, "Name " + digits);
            uint32_t id = 0;
            ASSERT_TRUE(RecInsertLocal(CUVc::Number, record.data(), &id));
            ids.push_back(id);
        }
        ASSERT_TRUE(DbHoldEnd());
    }
    // Renames the customers at positions from..to behind the list's back.
    void Rename(int from, int to)
    {
        std::vector<uint8_t> record(CUVc::Size);
        DbHoldBegin();
        for (int p = from; p <= to; p++) {
            ASSERT_TRUE(StoredRecord(CUVc::Number, ids[p - 1], record.data(), CUVc::Size));
            PutText(record.data(), CUVc::Name, "Renamed behind the list");
            ASSERT_TRUE(RecUpdateLocal(CUVc::Number, record.data(), ids[p - 1]));
        }
        ASSERT_TRUE(DbHoldEnd());
    }
    // Opens the customers list as the window preparation does, and paints it.
    void OpenList()
    {
        list = OpenOrActivateWindow(WinTypes::CustomerList, 0, 0, false, 0);
        ASSERT_GT(list, 0);
        ListPrepare(list);
        Pump();
        ASSERT_GE(Rows(), 8);
    }
    ControlSlot &Pane() { return WinTable[list]->controls[ListPaneSlot(list, 0)]; }
    int Rows() { return ListRowCount(list); }
    int32_t Top() { return Pane().position; }
    std::vector<int32_t> RowIds() { return ListRowIds(list); }
    MacRect PaneRect() { return ListPaneRect(list); }
    std::vector<uint32_t> Band(int row) { return ListBand(list, row); }
    // Whether visible row `row` is drawn selected (its left margin black).
    bool Highlighted(int row) { return Pixel(list, PaneRect().left + 3, PaneRect().top + row * 16 + 8) == 0x000000u; }
    // A pointer click (or double click) on visible row `row`, through the window's procedure.
    void Click(int row, bool dbl = false) { ClickAt(list, PaneRect().left + 40, PaneRect().top + 1 + row * 16 + 5, dbl); }
    std::vector<int32_t> Marked()
    {
        std::vector<int32_t> v;
        MemBlock h = ListMarkedFirst(list);
        EXPECT_NE(h, 0u);
        for (uint32_t i = 0; i < MemSize(h) / 4; i++) {
            int32_t id;
            memcpy(&id, MemLock(h) + i * 4, 4);
            MemUnlock(h);
            v.push_back(id);
        }
        MemFree(&h);
        return v;
    }
    std::vector<int32_t> IdsAt(std::initializer_list<int> positions)
    {
        std::vector<int32_t> v;
        for (int p : positions) v.push_back(int32_t(ids[p - 1]));
        return v;
    }
    // Whether item k of the Record menu (or another) is enabled for the list.
    bool ItemOn(int k, uint32_t menu = MenuHandles.record)
    {
        MenuStateUpdate(list);
        return !(MenuItemFlags(menu, k - 1) & PlMenuFlag::Grayed);
    }
};

TEST_F(CustomerList, OneRowScrollMovesThePixelsAndReadsOnlyTheNewRowAJumpRereadsAll)
{
    Customers(1000);
    OpenList();
    int rows = Rows();
    EXPECT_EQ(Pane().rowsShown, rows + 1);   // the cut last band keeps no id
    EXPECT_EQ(Top(), 1);
    std::vector<int32_t> before = RowIds();
    for (int i = 0; i < rows; i++) EXPECT_EQ(before[i], int32_t(ids[i])) << i;
    std::vector<std::vector<uint32_t>> bands;
    for (int i = 0; i < rows; i++) bands.push_back(Band(i));

    // Every record on screen is renamed: a row that is read again shows it.
    Rename(1, rows + 3);
    ListScrollTo(list, 0, 2);
    EXPECT_EQ(Top(), 2);
    std::vector<int32_t> after = RowIds();
    for (int i = 0; i + 1 < rows; i++) EXPECT_EQ(after[i], before[i + 1]) << i;
    EXPECT_EQ(after[rows - 1], int32_t(ids[rows]));
    for (int i = 0; i + 1 < rows; i++) EXPECT_EQ(Band(i), bands[i + 1]) << "row " << i << " was drawn again";
    EXPECT_NE(Band(rows - 1), bands[rows - 1]);
    EXPECT_FALSE(WinHasInvalid(WinTable[list]->mdiChild));   // nothing left to repaint
    EXPECT_EQ(WinTable[list]->changed, 0);

    // One row back up: the pixels move down, the entering row is read.
    std::vector<uint32_t> second = Band(0);
    ListScrollTo(list, 0, 1);
    EXPECT_EQ(RowIds(), before);
    EXPECT_EQ(Band(1), second);
    EXPECT_NE(Band(0), bands[0]);   // position 1 read again: renamed

    // Two rows at once: every row is read again, so renamed rows show it.
    ListScrollTo(list, 0, 3);
    EXPECT_EQ(ListRowId(list, 0), int32_t(ids[2]));
    EXPECT_NE(Band(0), bands[2]);
}

TEST_F(CustomerList, TopStopsAtTheLastFullPageNeverBelowOneAndClicksOutsideTheRecordsSelectNothing)
{
    Customers(3);
    OpenList();
    EXPECT_EQ(Marked(), IdsAt({1}));   // chosen at the open, once the rows were read
    EXPECT_TRUE(Highlighted(0));
    ListScrollTo(list, 0, 50);
    EXPECT_EQ(Top(), 1);   // three records fill less than a page
    EXPECT_EQ(RowIds()[3], -1);
    ASSERT_NE(Pane().control, 0u);
    int low = -1, high = -1;
    ScrollBarRange(Pane().control, &low, &high);
    EXPECT_EQ(ScrollBarPos(Pane().control), low);   // the bar stands at its top
    Click(2);
    EXPECT_EQ(WinTable[list]->selCurrent, 3);
    EXPECT_EQ(Marked(), IdsAt({3}));
    EXPECT_TRUE(Highlighted(2));
    EXPECT_FALSE(Highlighted(0));
    Click(6);   // below the last record: the old row lets go, nothing is selected
    EXPECT_FALSE(ListHasSelection(list));
    EXPECT_TRUE(Marked().empty());
    EXPECT_FALSE(Highlighted(2));

    Customers(1000);
    ListRefresh(list);
    ListScrollTo(list, 0, 5000);
    EXPECT_EQ(Top(), 1000 + 1 - Pane().rowsShown + 1);
    EXPECT_EQ(ListRowId(list, Rows() - 1), int32_t(ids[999]));
    ListScrollTo(list, 0, -7);
    EXPECT_EQ(Top(), 1);
    Click(Rows());   // the band the pane's edge cuts holds no record
    EXPECT_FALSE(ListHasSelection(list));
}

TEST_F(CustomerList, ExtendingDownThenUpKeepsTheRowsBelowAndTheHundredAndFirstMarkIsTheLast)
{
    Customers(1000);
    OpenList();
    Click(4);
    for (int i = 0; i < 3; i++) EXPECT_TRUE(ListMoveSelection(list, 1, true));
    EXPECT_EQ(Marked(), IdsAt({5, 6, 7, 8}));
    ListSelectTo(list, 0, 6, true);   // shift-click back up: the end only moves
    EXPECT_EQ(WinTable[list]->selEnd, 6);
    EXPECT_EQ(Marked(), IdsAt({5, 6, 7, 8}));
    for (int row : {4, 5, 6, 7}) EXPECT_TRUE(Highlighted(row)) << row;
    ListSelectTo(list, 0, 8, true);   // marked already: not inverted back
    for (int row : {6, 7}) EXPECT_TRUE(Highlighted(row)) << row;
    EXPECT_TRUE(ListMoveSelection(list, -1, true));   // up from the first row
    EXPECT_EQ(Marked(), IdsAt({5, 6, 7, 8, 4}));
    EXPECT_TRUE(Highlighted(3));

    // A plain move drops the extension and selects one row.
    EXPECT_TRUE(ListMoveSelection(list, 1, false));
    int32_t id = 0;
    EXPECT_TRUE(ListSingleSelection(list, &id));
    EXPECT_EQ(id, int32_t(ids[8]));
    for (int row : {3, 4, 5, 6, 7}) EXPECT_FALSE(Highlighted(row)) << row;
    EXPECT_FALSE(ListMoveSelection(list, -1000, false));   // before the first record

    // 101 rows are marked, the next is refused and the user told once.
    ListScrollTo(list, 0, 1);
    Click(0);
    for (int i = 0; i < ListMarkMax - 1; i++) ASSERT_TRUE(ListMoveSelection(list, 1, true));
    EXPECT_EQ(Marked().size(), size_t(ListMarkMax));
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(ListRowId(list, Rows() - 1), int32_t(ids[ListMarkMax - 1]));   // scrolled row by row
    EXPECT_TRUE(ListMoveSelection(list, 1, true));
    EXPECT_EQ(Marked().size(), size_t(ListMarkMax));
    EXPECT_EQ(WinTable[list]->selEnd, ListMarkMax);   // the end stays on the last marked row
    EXPECT_EQ(Shown(), std::vector<std::string>{TextOf(Texts::ListMarksFull)});
    EXPECT_EQ(ListRowId(list, Rows() - 1), int32_t(ids[ListMarkMax]));   // shown, not marked
    EXPECT_FALSE(Highlighted(Rows() - 1));
    EXPECT_TRUE(Highlighted(Rows() - 2));
    Click(2);   // a plain click still selects its row
    EXPECT_EQ(Marked(), std::vector<int32_t>{ListRowId(list, 2)});
}

TEST_F(CustomerList, OkOpensTheChosenCustomerATypedKeyFindsItsRowAHeaderPressReorders)
{
    Customers(1000);
    OpenList();
    EXPECT_TRUE(ItemOn(7));   // the row chosen at the open can be opened
    EXPECT_FALSE(ItemOn(6, MenuHandles.edit));   // "Delete row": a selected list row is no matrix row
    WindowOkAction(list);
    int customer = WinFindByDef(WinTypes::Customers);
    ASSERT_GT(customer, 0);
    EXPECT_EQ(WinTable[customer]->recordId, ids[0]);
    WinClose(customer);

    // A double click opens the customer of its row.
    Click(2, true);
    customer = WinFindByDef(WinTypes::Customers);
    ASSERT_GT(customer, 0);
    EXPECT_EQ(TextAt(WinRecordBuffer(customer), CUVc::Code), "C0003");
    WinClose(customer);

    // Open as new: a new record with the row's values, the list stays.
    CmdOpenRecord(list);
    customer = WinFindByDef(WinTypes::Customers);
    ASSERT_GT(customer, 0);
    EXPECT_EQ(WinRecState(customer), 1);
    EXPECT_EQ(TextAt(WinRecordBuffer(customer), CUVc::Name), "Name 0003");
    EXPECT_TRUE(WinIsOpen(list));
    WinClose(customer);

    // Open follows a single selection only.
    EXPECT_TRUE(ListMoveSelection(list, 1, true));
    EXPECT_FALSE(ItemOn(7));
    ListUnmarkAll(list, 0);
    EXPECT_FALSE(ItemOn(7));

    // Without a selection OK finds the typed key in the current order.
    PutText(WinRecordBuffer(list), CUVc::Code, "C05");
    WindowOkAction(list);
    EXPECT_EQ(WinFindByDef(WinTypes::Customers), 0);
    EXPECT_EQ(Marked(), IdsAt({500}));
    EXPECT_EQ(Top(), 500);
    EXPECT_EQ(WinRecState(list), 4);
    EXPECT_EQ(TextAt(WinRecordBuffer(list), CUVc::Code), "C05");   // the typed key is kept
    Pump();
    EXPECT_EQ(ListRowId(list, 0), int32_t(ids[499]));
    EXPECT_TRUE(Highlighted(0));
    EXPECT_TRUE(ItemOn(7));

    // A press on the name heading: the rows start again from the top of its order.
    MacRect head;
    ListColumnHeadRect(list, 1, &head);
    ClickAt(list, head.left + 4, (head.top + head.bottom) / 2);
    EXPECT_EQ(WinListColumn(list), 1);
    EXPECT_FALSE(ListHasSelection(list));
    EXPECT_EQ(Top(), 1);
    Pump();
    EXPECT_EQ(ListRowId(list, 0), int32_t(ids[0]));
    PutText(WinRecordBuffer(list), CUVc::Name, "Name 0777");
    WindowOkAction(list);
    EXPECT_EQ(Marked(), IdsAt({777}));
}

}  // namespace
