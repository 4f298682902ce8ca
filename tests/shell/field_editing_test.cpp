// field_editing_test.cpp - the field under edit of a record window: what
// a commit takes into the record (a hidden text as the control holds it,
// nothing outside the record), what typing lets through, who may edit
// what in which state, the chooser of today's date, and page switches.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/field_types.h"
#include "core/system.h"
#include "core/window_entries.h"
#include "platform/control.h"
#include "platform/window.h"
#include "recordwin/record_windows.h"
#include "shell/edit_control.h"
#include "shell/field_editing.h"
#include "shell/record_commands.h"
#include "shell/window_table.h"
#include "tests/shell/record_fixture.h"

namespace {

// Offsets of register 5 of the test dictionary.
namespace Row {
constexpr uint32_t Code = 0, Secret = 12, Day = 36, Lines = 76, Tenths = 28;
}

// Data fields of type 580 by position.
constexpr int FieldCode = 0, FieldSecret = 1, FieldDay = 4 - 1;

// Events 6 (a field committed) seen by the test handler: field and changed flag.
std::vector<std::pair<int, int>> Commits;

uint8_t RecordCommits(int, int event, void *a, void *b)
{
    if (event == 6) Commits.emplace_back(*static_cast<int16_t *>(a), *static_cast<uint8_t *>(b));
    return 1;
}

// Data field i of window n's layout.
const uint8_t *DataField(int n, int i)
{
    uint16_t size;
    return WinDefPartEntry(WinTypeDef(WinTypeOf(n)), WinPartDataFields, i, &size);
}

class FieldEditing : public TestRecordWindows {
protected:
    void SetUp() override
    {
        TestRecordWindows::SetUp();
        if (HasFatalFailure()) return;
        Commits.clear();
        // Opening the company read the clock again.
        TodayDate = DateRec{15, 6, 2024};
        WindowEventHandlerSet(TypeRows, RecordCommits);
        n = Open(TypeRows);
        ASSERT_GT(n, 0);
        WinSetRecState(n, 1);   // a new record
    }
    void TearDown() override
    {
        WindowEventHandlerSet(TypeRows, nullptr);
        TestRecordWindows::TearDown();
    }
    // Puts the edit control over data field i of n, as focusing it does.
    void Edit(int i)
    {
        WinTable[n]->currentField = int16_t(i + 1);
        EditControlOpenForBinding(n, DataField(n, i), WinTable[n]->recordHandle, 0);
        ASSERT_NE(WinTable[n]->editControl, 0u);
    }
    std::string ControlText() { return EditGetText(WinTable[n]->editControl); }
    std::string Stored(uint32_t offset) { return PStringToStd(WinRecordBuffer(n) + offset); }
    int n = 0;
};

TEST_F(FieldEditing, HiddenTextIsStoredAsTheControlHoldsItAfterCaretMovesAndDeletions)
{
    Edit(FieldSecret);
    EXPECT_TRUE(WinStyle(WinTable[n]->editControl) & PlEditStyle::Password);
    EXPECT_EQ(WinTable[n]->editFieldType, FtHidden);
    Type("abcd");
    Key(PlKey::Home);
    Key(PlKey::Delete);          // "bcd"
    Type("X");                   // "Xbcd"
    Key(PlKey::End);
    Key(PlKey::Back);            // "Xbc"
    Type("9");
    EXPECT_EQ(ControlText(), "Xbc9");
    WinCommitField(n);
    EXPECT_EQ(Stored(Row::Secret), "Xbc9");
    EXPECT_EQ(WinTable[n]->editControl, 0u);
    EXPECT_EQ(WinTable[n]->editFieldOffset, NoOffset);
    ASSERT_EQ(Commits.size(), 1u);
    EXPECT_EQ(Commits[0], std::pair(FieldSecret + 1, 1));

    // Opened again, the control holds the stored text; the same text
    // committed is no change.
    Edit(FieldSecret);
    EXPECT_EQ(ControlText(), "Xbc9");
    WinCommitField(n);
    EXPECT_EQ(Commits.back(), std::pair(FieldSecret + 1, 0));
    // Without a control a commit does nothing and tells no one.
    WinCommitField(n);
    EXPECT_EQ(Commits.size(), 2u);
}

TEST_F(FieldEditing, CommitNeverWritesOutsideTheEditedRecord)
{
    // A binding of a ten-character text whose last bytes lie past the
    // 80-byte record, and one wholly past it.
    for (uint32_t offset : {uint32_t(72), uint32_t(400)}) {
        std::vector<uint8_t> before(WinRecordBuffer(n), WinRecordBuffer(n) + 80);
        uint8_t binding[FieldEntry::Label + 1] = {};
        memcpy(binding, DataField(n, FieldCode), FieldEntry::BindingSize);
        memcpy(binding + FieldEntry::Offset, &offset, 4);
        WinTable[n]->currentField = 1;
        uint8_t text[] = "\x05HELLO";
        EditControlOpen(n, binding, WinTable[n]->recordHandle, 0, text);
        ASSERT_NE(WinTable[n]->editControl, 0u);
        EXPECT_EQ(ControlText(), "HELLO");
        WinCommitField(n);
        EXPECT_EQ(std::vector<uint8_t>(WinRecordBuffer(n), WinRecordBuffer(n) + 80), before) << offset;
        EXPECT_EQ(Commits.back(), std::pair(1, 0)) << offset;
    }
}

TEST_F(FieldEditing, TypingFiltersByFieldTypeAndLength)
{
    // A code is upper-cased and no longer than its ten characters.
    Edit(FieldCode);
    Type("ab-12cdefghijk");
    EXPECT_EQ(ControlText(), "AB-12CDEFG");
    WinCommitField(n);
    EXPECT_EQ(Stored(Row::Code), "AB-12CDEFG");

    // An amount takes digits, "-" and the format's separators only.
    int s = Open(TypeRowsSettings);
    ASSERT_GT(s, 0);
    WinSetRecState(s, 1);
    WinTable[s]->currentField = 2;
    EditControlOpenForBinding(s, DataField(s, 1), WinTable[s]->recordHandle, 0);
    ASSERT_NE(WinTable[s]->editControl, 0u);
    for (char c : std::string("-1x2 3a,5e")) WinTypeChar(s, uint8_t(c));
    EXPECT_EQ(EditGetText(WinTable[s]->editControl), "-12 3,5");
    // A line end never reaches a control; a text stops at its first Tab.
    WinTypeChar(s, '\r');
    uint8_t more[] = "\x04" "7\t88";
    WinTypeText(s, more);
    EXPECT_EQ(EditGetText(WinTable[s]->editControl), "-12 3,57");
}

TEST_F(FieldEditing, WhoMayEditWhatInWhichState)
{
    struct Case {
        int state, access;
        bool allowed;
    };
    for (Case c : {Case{1, AccessNewOnly, true}, Case{1, AccessAlways, true}, Case{1, AccessReadOnly, false},
                   Case{2, AccessAlways, true}, Case{2, AccessNewOnly, false}, Case{5, AccessReadOnly, true},
                   Case{0, AccessAlways, false}, Case{3, AccessAlways, false}}) {
        EXPECT_EQ(WinMayEditField(n, 1, c.state, c.access, 0), c.allowed) << c.state << "/" << c.access;
    }
    EXPECT_TRUE(Shown().empty());
    // A key field of a stored record says why, once, when asked to.
    EXPECT_FALSE(WinMayEditField(n, 1, 2, AccessNewOnly, 1));
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_NE(Shown()[0].find("New records only"), std::string::npos);

    // Typed characters obey it: a key field of a changed record takes none.
    WinSetRecState(n, 2);
    Edit(FieldCode);
    Type("AB");
    EXPECT_EQ(ControlText(), "");
    WinCommitField(n);
    EXPECT_EQ(Stored(Row::Code), "");
}

TEST_F(FieldEditing, ChooseKeyTypesTodayAndADateUnderEditBecomesTheLastDate)
{
    WinTable[n]->currentPage = 1;
    Edit(FieldDay);
    EXPECT_EQ(WinTable[n]->chooser, ChooserToday);
    Char('\n');   // Ctrl+J: choose
    EXPECT_EQ(ControlText(), "15.06.2024");
    WinCommitField(n);
    DateRec d;
    memcpy(&d, WinRecordBuffer(n) + Row::Day, sizeof d);
    EXPECT_EQ(std::tuple(d.day, d.month, d.year), std::tuple(15, 6, 2024));
    LastDate = DateRec{};
    Edit(FieldDay);
    EXPECT_EQ(std::tuple(LastDate.day, LastDate.month, LastDate.year), std::tuple(15, 6, 2024));
    WinCommitField(n);
    // A field without a chooser: the key does nothing.
    Edit(FieldCode);
    Char('\n');
    EXPECT_EQ(ControlText(), "");
}

TEST_F(FieldEditing, PageSwitchCommitsOnlyWhenThePageChanges)
{
    // Opening the window put no field under edit and committed none.
    EXPECT_EQ(WinTable[n]->editControl, 0u);
    EXPECT_TRUE(Commits.empty());
    Edit(FieldCode);
    Type("K1");
    WinPageSwitch(n, WinTable[n]->currentPage, true);
    EXPECT_NE(WinTable[n]->editControl, 0u);
    EXPECT_EQ(Stored(Row::Code), "");
    EXPECT_TRUE(Commits.empty());
    WinPageSwitch(n, WinTable[n]->currentPage + 1, false);
    EXPECT_EQ(Stored(Row::Code), "K1");
    EXPECT_EQ(Commits.size(), 1u);
}

TEST_F(FieldEditing, ResizeCommitsOnceAndGivesTheFocusBack)
{
    Edit(FieldCode);
    Type("K2");
    uint32_t child = WinTable[n]->mdiChild;
    PlRect r = WinRect(child);
    ASSERT_TRUE(WinMove(child, PlRect{r.left, r.top, r.right + 40, r.bottom + 30}));
    EXPECT_EQ(Stored(Row::Code), "K2");
    ASSERT_EQ(Commits.size(), 1u);
    EXPECT_EQ(Commits[0], std::pair(FieldCode + 1, 1));
    EXPECT_NE(WinTable[n]->editControl, 0u);
    EXPECT_EQ(WinTable[n]->currentField, FieldCode + 1);
    EXPECT_EQ(ControlText(), "K2");
}

}  // namespace
