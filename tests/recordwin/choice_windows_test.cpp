// choice_windows_test.cpp - the windows that choose a value for the
// field of the window that opened them, and the batch window: what their
// lists hold as they open, what OK gives back to the opener (cut to the
// code), what nothing chosen does, and a batch run once however it ends;
// beside them the delivery window's warning and the purchase's unit costs
// on a new VAT kind.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/remote_calls.h"
#include "database/access/transport.h"
#include "dict_offsets.h"
#include "platform/control.h"
#include "recordwin/record_windows.h"
#include "rules/rules_types.h"
#include "shell/field_editing.h"
#include "shell/list_windows.h"
#include "shell/record_commands.h"
#include "shell/window_events.h"
#include "shell/window_layout.h"
#include "tests/recordwin/choice_steps.h"
#include "tests/shell/record_fixture.h"
#include "tests/shell/record_test_helpers.h"

namespace {

using Lines = std::vector<std::string>;

// The built windows (the form designer's part windows 31 and 27 among
// them), the opener of the code list that the built file lacks: 241 with
// 6-byte rows whose first word names a list, and the lists they name, in
// place of the built file's list 102.
class ChoiceWindows : public RecordFixture {
protected:
    static std::string WithoutList102(std::string source)
    {
        size_t at = source.find("\nchoice 102 ");
        size_t end = at == std::string::npos ? at : source.find("\n}\n", at);
        if (end != std::string::npos) source.erase(at, end + 2 - at);
        return source;
    }
    std::string InterfaceSource() override
    {
        return WithoutList102(BuiltDictSource()) + R"(
11690 "Alpha"
11691 "Beta"
11692 "Gamma"
11693 "Delta"
wintype 241 { kind record register AccessVc recsize 72 rect 90 40 420 520 }
window 241 {
  control rect 70 -30 -30 -15 kind scroll start 0 max 0 page 0 label ""
  matrix  rowsize 6 cells 1 first 1 rect 70 30 -30 -30 maxrows 250 page 0 control 0
  column  x 0 type short offset AccessVc.Type align right heading 11690
}
choice 4 {
  1 -> 11690
  2 -> 11691
}
choice 15 {
  7 -> 11693
}
choice 102 {
  1 -> 11690
  2 -> 11691
  3 -> 11692
}
choice 138 {
  1 -> 11690
}
choice 123 {
  3 -> 11692
}
choice 60 {
  5 -> 11693
  6 -> 11692
}
)";
    }
    void TearDown() override
    {
        RunMode = 1;
        TransportInstall(nullptr, nullptr);
        RecordFixture::TearDown();
    }

    // Puts `lines` into n's list and selects line `chosen` (-1: none).
    static void ListIs(int n, const Lines &lines, int chosen)
    {
        ListBoxReset(n);
        for (const std::string &l : lines) ListBoxAdd(WinListBox(n), l);
        ListBoxSetCurSel(WinListBox(n), chosen);
    }
};

// ---- Opening: what the lists hold ----

TEST_F(ChoiceWindows, ATimeSheetRowListsTheItemsOfItsPersonsEmployeeType)
{
    RuleRecord item(INVc::Number), person(PEVc::Number), type(EmpTypeVc::Number);
    uint32_t id = 0;
    PutText(item.record, INVc::Code, "HOUR"), PutText(item.record, INVc::Name, "Hour of work");
    ASSERT_TRUE(RecStore(INVc::Number, item.record, 0, &id));
    PutText(person.record, PEVc::Code, "AB"), PutText(person.record, PEVc::EmpType, "DEV");
    ASSERT_TRUE(RecStore(PEVc::Number, person.record, 0, &id));
    PutText(type.record, EmpTypeVc::Code, "DEV");
    uint8_t row[EmpTypeVc::Rows::Size] = {};
    PutText(row, EmpTypeVc::Rows::Code, "A1"), PutText(row, EmpTypeVc::Rows::ItemCode, "HOUR");
    ASSERT_TRUE(MatrixRowPut(EmpTypeVc::Number, 0, type.record, 0, row));
    PutText(row, EmpTypeVc::Rows::Code, "A2"), PutText(row, EmpTypeVc::Rows::ItemCode, "GONE");
    ASSERT_TRUE(MatrixRowPut(EmpTypeVc::Number, 0, type.record, 1, row));
    ASSERT_TRUE(RecStore(EmpTypeVc::Number, type.record, 0, &id));

    int sheet = OpenOrActivateWindow(WinTypes::TimeSheet, 0, 0, true, 0);
    ASSERT_GT(sheet, 0);
    uint8_t line[TimeSheetVc::Rows::Size] = {};
    PutText(line, TimeSheetVc::Rows::Person, "AB");
    ASSERT_TRUE(MatrixRowPut(TimeSheetVc::Number, 0, WinRecordBuffer(sheet), 0, line));
    PutText(line, TimeSheetVc::Rows::Person, "ZZ");
    ASSERT_TRUE(MatrixRowPut(TimeSheetVc::Number, 0, WinRecordBuffer(sheet), 1, line));

    // The selected row's person's items; an item not found shows its code alone.
    WinTable[sheet]->selectedMatrixRow = 0;
    int list = OpenFrom(306, sheet);
    EXPECT_EQ(ListBoxRows(list), (Lines{"A1    Hour of work", "A2    "}));
    WinClose(list);
    // A person not found, a row past the rows, no row: an empty list.
    for (int selected : {1, 2, 500, -1}) {
        WinTable[sheet]->selectedMatrixRow = int16_t(selected);
        list = OpenFrom(306, sheet);
        EXPECT_TRUE(ListBoxRows(list).empty()) << selected;
        WinClose(list);
    }
    // Opened from no window, or from a window of other rows: empty too.
    list = OpenFrom(306, 0);
    EXPECT_TRUE(ListBoxRows(list).empty());
}

TEST_F(ChoiceWindows, TheCodeListTakesItsListFromTheOpener)
{
    // A list the opener names itself comes first.
    int customer = OpenOrActivateWindow(WinTypes::Customers, 0, 0, true, 0);
    ASSERT_GT(customer, 0);
    WinTable[customer]->choiceList = 60;
    int list = OpenFrom(560, customer);
    EXPECT_EQ(ListBoxRows(list), (Lines{"Delta", "Gamma"}));
    WinClose(list);

    // Type 241: its current row's code names the list (2 gives list 4);
    // a code without a list, or a current row past the rows, lists nothing.
    int rows = OpenOrActivateWindow(241, 0, 0, true, 0);
    ASSERT_GT(rows, 0);
    uint8_t row[AccessVc::Rows::Size] = {};
    PutU16(row, AccessVc::Rows::Type, 2);
    ASSERT_TRUE(MatrixRowPut(AccessVc::Number, 0, WinRecordBuffer(rows), 0, row));
    PutU16(row, AccessVc::Rows::Type, 12);
    ASSERT_TRUE(MatrixRowPut(AccessVc::Number, 0, WinRecordBuffer(rows), 1, row));
    const struct { uint16_t current; Lines want; } cases[] = {{0, {"Alpha", "Beta"}}, {1, {}}, {7, {}}};
    for (const auto &c : cases) {
        WinTable[rows]->currentRow = c.current;
        list = OpenFrom(560, rows);
        EXPECT_EQ(ListBoxRows(list), c.want) << c.current;
        WinClose(list);
    }

    // Type 31: list 102, only the entries of list 138 or of the group list
    // its own opener's word 242 names (6 gives list 123).
    int grouped = OpenFrom(31, customer);
    PutU16(WinRecordBuffer(customer), 242, 6);
    list = OpenFrom(560, grouped);
    EXPECT_EQ(ListBoxRows(list), (Lines{"Alpha", "Gamma"}));
    WinClose(list);
    PutU16(WinRecordBuffer(customer), 242, 99);   // no group list: list 138 alone
    list = OpenFrom(560, grouped);
    EXPECT_EQ(ListBoxRows(list), (Lines{"Alpha"}));
    WinClose(list);

    // Type 27: list 15.
    int documents = OpenFrom(27, 0);
    list = OpenFrom(560, documents);
    EXPECT_EQ(ListBoxRows(list), (Lines{"Delta"}));
    EXPECT_EQ(WinFocus(), WinListBox(list));
}

TEST_F(ChoiceWindows, RowCodesAndGroupWordsNameTheirLists)
{
    const int kinds[][2] = {{0, 0}, {1, 65534}, {2, 4}, {8, 10}, {9, 3}, {10, 0}, {-1, 0}};
    for (const auto &k : kinds) EXPECT_EQ(ChoiceKindOfRowCode(k[0]), k[1]) << k[0];
    const int groups[][2] = {{0, 0},    {1, 121},  {2, 122},  {5, 122},  {6, 123},  {7, 124},  {8, 124},
                             {9, 125},  {10, 126}, {11, 127}, {12, 127}, {13, 128}, {16, 128}, {17, 129},
                             {25, 137}, {26, 139}, {27, 0}};
    for (const auto &g : groups) EXPECT_EQ(ChoiceListOfCode(g[0]), g[1]) << g[0];
}

TEST_F(ChoiceWindows, TheQuotationBatchTakesItsOpenersNumberAndProject)
{
    int customer = OpenOrActivateWindow(WinTypes::Customers, 0, 0, true, 0);
    ASSERT_GT(customer, 0);
    uint8_t *opener = WinRecordBuffer(customer);
    PutU32(opener, QuotationVc::SerNr, 4711);
    PutText(opener, QuotationVc::Project, "PRJ-20-CHARACTERS-XX");
    int batch = OpenFrom(509, customer);
    EXPECT_EQ(TextAt(WinRecordBuffer(batch), ReportParamsVc::SelText5), "4711");
    EXPECT_EQ(TextAt(WinRecordBuffer(batch), ReportParamsVc::SelText6), "PRJ-20-CHARACTERS-XX");
    WinClose(batch);
    // An opener whose record cannot hold a quotation gives nothing.
    int group = OpenOrActivateWindow(WinTypes::AccessGroups, 0, 0, true, 0);
    ASSERT_GT(group, 0);
    PutU32(WinRecordBuffer(group), 0, 12);
    batch = OpenFrom(509, group);
    EXPECT_EQ(TextAt(WinRecordBuffer(batch), ReportParamsVc::SelText5), "");
    EXPECT_EQ(TextAt(WinRecordBuffer(batch), ReportParamsVc::SelText6), "");
}

// ---- OK: what goes back to the opener ----

TEST_F(ChoiceWindows, OkGivesTheChosenLineCutAsEachListSays)
{
    const std::string line = "AB12 Some description   ";
    const struct { int type; std::string want; } cases[] = {
        {56, "A"},     {74, "AB"},    {97, "AB12 Some"}, {150, line},  {188, line},  {247, "AB12"},
        {287, "AB12"}, {306, "AB12"}, {327, line},       {424, "AB12 Some descriptio"}, {444, "AB"},
        {490, "AB12"}, {546, "AB12"},
        {495, "AB12 Some description"}, {560, "AB12 Some description"}, {562, line}, {563, line},
        {564, line},
    };
    for (const auto &c : cases) {
        int opener = CustomerUnderEdit(CUVc::Name);
        ASSERT_GT(opener, 0);
        int n = OpenFrom(c.type, opener);
        ListIs(n, {"other", line}, 1);
        EXPECT_EQ(WindowEvent(n, WindowEventCode::Ok, nullptr, nullptr), 0) << c.type;
        EXPECT_FALSE(WinIsOpen(n) && WinTypeOf(n) == c.type) << c.type << " stays open";
        EXPECT_EQ(EditText(opener), c.want) << c.type;
        WinClose(opener);
    }
}

TEST_F(ChoiceWindows, ShortLinesAndLinesWithoutABlankStayWhole)
{
    const struct { int type; std::string line, want; } cases[] = {
        {97, "AB  ", "AB"}, {247, "X", "X"}, {74, " ", ""}, {306, "NOBLANK", "NOBLANK"}, {306, " LEAD", ""},
        {495, "Anna  ", "Anna"},
    };
    for (const auto &c : cases) {
        int opener = CustomerUnderEdit(CUVc::Name);
        ASSERT_GT(opener, 0);
        int n = OpenFrom(c.type, opener);
        ListIs(n, {c.line}, 0);
        EXPECT_EQ(WindowEvent(n, WindowEventCode::Ok, nullptr, nullptr), 0);
        EXPECT_EQ(EditText(opener), c.want) << c.type << " '" << c.line << "'";
        WinClose(opener);
    }
    // The opener's field takes no more than its length: a group code holds 5.
    int opener = CustomerUnderEdit(CUVc::CustGroup);
    ASSERT_GT(opener, 0);
    int n = OpenFrom(495, opener);
    ListIs(n, {"LONGER THAN FIVE"}, 0);
    EXPECT_EQ(WindowEvent(n, WindowEventCode::Ok, nullptr, nullptr), 0);
    EXPECT_EQ(EditText(opener), "LONGE");
}

TEST_F(ChoiceWindows, NothingChosenTypesNothingAndFontListsStayOpen)
{
    // Nothing selected: the chooser closes and the opener keeps its text.
    int opener = CustomerUnderEdit(CUVc::Name);
    ASSERT_GT(opener, 0);
    Type("Kept");
    int n = OpenFrom(247, opener);
    ListIs(n, {"SEK  Crowns"}, -1);
    EXPECT_EQ(WindowEvent(n, WindowEventCode::Ok, nullptr, nullptr), 0);
    EXPECT_FALSE(WinIsOpen(n) && WinTypeOf(n) == 247);
    EXPECT_EQ(EditText(opener), "Kept");

    // A font list with nothing selected stays open and stores nothing.
    for (int type : {563, 564}) {
        n = OpenFrom(type, opener);
        ListIs(n, {"Serif"}, -1);
        EXPECT_EQ(WindowEvent(n, WindowEventCode::Ok, nullptr, nullptr), 0);
        ASSERT_TRUE(WinIsOpen(n));
        EXPECT_EQ(WinTypeOf(n), type);
        EXPECT_EQ(EditText(opener), "Kept");
        WinClose(n);
    }

    // A chooser not opened from a window closes and types nothing anywhere.
    n = OpenFrom(74, 0);
    ListIs(n, {"A    Cash"}, 0);
    EXPECT_EQ(WindowEvent(n, WindowEventCode::Ok, nullptr, nullptr), 0);
    EXPECT_FALSE(WinIsOpen(n) && WinTypeOf(n) == 74);
    EXPECT_EQ(EditText(opener), "Kept");

    // Other windows go on to store their record.
    EXPECT_EQ(WindowEvent(opener, WindowEventCode::Ok, nullptr, nullptr), 1);
}

TEST_F(ChoiceWindows, ARecordChosenInAListSetsTheChoosingFlag)
{
    RuleRecord group(AccessVc::Number);
    uint32_t id = 0;
    PutText(group.record, AccessVc::Code, "ADM");
    ASSERT_TRUE(RecStore(AccessVc::Number, group.record, 0, &id));
    int opener = CustomerUnderEdit(CUVc::Name);
    ASSERT_GT(opener, 0);
    // Nothing marked: nothing chosen, the flag stays down.
    int list = OpenFrom(WinTypes::AccessGroupChoice, opener);
    Drain();
    ChoiceMadeFlag = 0;
    ListUnmarkAll(list, 0);
    EXPECT_EQ(WindowEvent(list, 21, nullptr, nullptr), 0);
    EXPECT_EQ(ChoiceMadeFlag, 0);
    ASSERT_TRUE(WinIsOpen(list));
    WinClose(list);
    // The first row, marked as the list opens, is chosen.
    list = OpenFrom(WinTypes::AccessGroupChoice, opener);
    Drain();
    ASSERT_GE(ListSelAnchor(list), 0);
    EXPECT_EQ(WindowEvent(list, 21, nullptr, nullptr), 0);
    EXPECT_EQ(ChoiceMadeFlag, 1);
    EXPECT_EQ(EditText(opener), "ADM");
}

int BatchRequests = 0;
bool BatchAnswer = true;

// A server that counts the quotation batches asked of it and answers as
// BatchAnswer says, with an empty reply.
bool BatchServer(uint16_t code, MsgBuffer *request, MsgBuffer *reply)
{
    (void)request;
    if (code == ReqQuotationRowsBatch) BatchRequests++;
    return BatchAnswer && MsgLoad(reply, nullptr, 0);
}

TEST_F(ChoiceWindows, ABatchRunsOnceAndClosesWhateverItAnswers)
{
    TransportInstall(BatchServer, BatchServer);
    RunMode = RunModeClient;
    for (bool answer : {true, false}) {
        BatchRequests = 0;
        BatchAnswer = answer;
        MessagesShown.clear();
        ChoiceMadeFlag = 0;
        int batch = OpenFrom(509, 0);
        EXPECT_EQ(WindowEvent(batch, WindowEventCode::Ok, nullptr, nullptr), 0);
        EXPECT_EQ(BatchRequests, 1) << answer;
        EXPECT_FALSE(WinIsOpen(batch) && WinTypeOf(batch) == 509) << answer;
        EXPECT_EQ(ChoiceMadeFlag, 1);
        // A run that stopped short is told; a whole one is not.
        EXPECT_EQ(Said(TextOf(11620)), !answer) << answer;
    }
}

// ---- The delivery's warning, the purchase's VAT kind ----

TEST_F(ChoiceWindows, ADeliveryRowAboveWhatIsLeftIsToldNotRefused)
{
    int n = OpenOrActivateWindow(WinTypes::Delivery, 0, 0, true, 0);
    ASSERT_GT(n, 0);
    uint8_t row[SHVc::Rows::Size] = {};
    PackedDecimal left, deliver;
    DecFromLong(&left, 5);
    DecFromLong(&deliver, 7);
    PutDec(row, SHVc::Rows::QtyLeft, left), PutDec(row, SHVc::Rows::ToDeliver, deliver);
    ASSERT_TRUE(MatrixRowPut(SHVc::Number, 0, WinRecordBuffer(n), 0, row));
    PutDec(row, SHVc::Rows::ToDeliver, left);
    ASSERT_TRUE(MatrixRowPut(SHVc::Number, 0, WinRecordBuffer(n), 1, row));
    WinShowPage(n, 1, false);
    int page = 0;
    int over = WinFieldNumberOf(n, SHVc::Matrix, 0, SHVc::Rows::ToDeliver, &page);
    int exact = WinFieldNumberOf(n, SHVc::Matrix, 1, SHVc::Rows::ToDeliver, &page);
    ASSERT_NE(over, NoField);
    ASSERT_NE(exact, NoField);
    MessagesShown.clear();
    DeliveryRowAvailabilityCheck(n, exact, 1);
    DeliveryRowAvailabilityCheck(n, over, 0);   // unchanged: nothing to say
    EXPECT_TRUE(Shown().empty());
    DeliveryRowAvailabilityCheck(n, over, 1);
    EXPECT_EQ(Shown(), (std::vector<std::string>{TextOf(1303)}));
    // Told, not refused: the row keeps its quantity.
    uint8_t kept[SHVc::Rows::Size];
    ASSERT_TRUE(MatrixRowRead(SHVc::Number, WinRecordBuffer(n), 0, kept));
    PackedDecimal now = GetDec(kept, SHVc::Rows::ToDeliver);
    EXPECT_EQ(DecCompare(&now, &deliver), 0);
}

TEST_F(ChoiceWindows, ANewVatKindRecomputesEveryPurchaseRowsUnitCost)
{
    int n = OpenOrActivateWindow(WinTypes::GoodsReceipt, 0, 0, true, 0);
    ASSERT_GT(n, 0);
    uint8_t *purchase = WinRecordBuffer(n);
    uint8_t row[PUVc::Rows::Size] = {};
    PackedDecimal price, qty;
    DecFromLong(&price, 200);
    DecFromLong(&qty, 3);
    PutDec(row, PUVc::Rows::Price, price), PutDec(row, PUVc::Rows::Quantity, qty);
    PutText(row, PUVc::Rows::Charge, "10%");
    ASSERT_TRUE(MatrixRowPut(PUVc::Number, 0, purchase, 0, row));
    PutText(row, PUVc::Rows::Charge, "5");
    ASSERT_TRUE(MatrixRowPut(PUVc::Number, 0, purchase, 1, row));
    PackedDecimal rate;
    DecFromLong(&rate, 100);   // per 100: the home currency
    PutDec(purchase, PUVc::Rate, rate);
    uint16_t offset = PUVc::VatKind;
    uint8_t value = 0;
    // Another field's choice changes nothing.
    uint16_t other = PUVc::Received;
    EXPECT_EQ(WindowEvent(n, 2, &other, &value), 1);
    ASSERT_TRUE(MatrixRowRead(PUVc::Number, purchase, 0, row));
    PackedDecimal cost = GetDec(row, PUVc::Rows::UnitCost);
    EXPECT_TRUE(DecIsZero(&cost) || DecIsBlank(&cost));
    // The VAT kind's choice: price plus charge into every row, then totals.
    EXPECT_EQ(WindowEvent(n, 2, &offset, &value), 1);
    const long want[] = {220, 205};
    for (int i = 0; i < 2; i++) {
        ASSERT_TRUE(MatrixRowRead(PUVc::Number, purchase, i, row));
        cost = GetDec(row, PUVc::Rows::UnitCost);
        EXPECT_EQ(DecCompareDouble(&cost, double(want[i])), 0) << i;
    }
    PackedDecimal sum = GetDec(purchase, PUVc::ValueSum);
    EXPECT_EQ(DecCompareDouble(&sum, 3.0 * (220 + 205)), 0);
    EXPECT_TRUE(WinTable[n]->changed);
}

}  // namespace
