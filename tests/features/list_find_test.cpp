// list_find_test.cpp - finding a row of a list window the way a user does:
// in a company filled from the shipped defaults (customers C1, C2 and
// C3), Ctrl+1 opens the customer list, the key is typed into its Find
// field, and Return or the top bar's OK finds it; the row found is the
// one selected and OK then opens its customer. A key past the last row
// selects nothing and says so.
#include <gtest/gtest.h>

#include <string>

#include "platform/control.h"
#include "platform/script.h"
#include "shell/list_windows.h"
#include "shell/record_commands.h"
#include "shell/toolbar.h"
#include "tests/features/demo_company_fixture.h"
#include "tests/shell/record_test_helpers.h"

namespace {

class ListFind : public LoggedIn {
protected:
    int list = 0;

    void SetUp() override
    {
        LoggedIn::SetUp();
        if (HasFatalFailure()) return;
        Key('1', false, true);   // Ctrl+1: the first register of the popup
        list = WinFindByDef(WinTypes::CustomerList);
        ASSERT_GT(list, 0);
        Pump();
    }
    // The code of the customer on the selected row; empty when none is.
    std::string SelectedCode()
    {
        int32_t id = -1;
        if (!ListSingleSelection(list, &id) || id < 0) return {};
        std::vector<uint8_t> record(CUVc::Size);
        if (!StoredRecord(CUVc::Number, uint32_t(id), record.data(), CUVc::Size)) return {};
        return TextAt(record.data(), CUVc::Code);
    }
    // The code of the customers window that is open; empty when none is.
    static std::string OpenedCode()
    {
        int n = WinFindByDef(WinTypes::Customers);
        return n ? TextAt(WinRecordBuffer(n), CUVc::Code) : std::string();
    }
    // The text the Find field's edit control shows, or the field's value
    // when no control is over it.
    std::string FindFieldShows()
    {
        if (WinTable[list]->editControl) return EditGetText(WinTable[list]->editControl);
        return TextAt(WinRecordBuffer(list), CUVc::Code);
    }
    static void ClickTopBarOk()
    {
        ASSERT_NE(TopBarButtons[0], 0u);
        ScriptClick(TopBarButtons[0], 4, 4);
        Drain();
    }
};

TEST_F(ListFind, AKeyTypedIntoFindAndReturnSelectsItsRowAndOkOpensIt)
{
    EXPECT_EQ(SelectedCode(), "C1");   // chosen at the open
    Type("C3");
    EXPECT_EQ(FindFieldShows(), "C3");
    Key(PlKey::Return);
    EXPECT_EQ(SelectedCode(), "C3");
    EXPECT_EQ(FindFieldShows(), "C3");   // the key stays for the next find
    EXPECT_EQ(OpenedCode(), "");          // Return found the row and opened nothing
    EXPECT_TRUE(Shown().empty());
    Pump();
    EXPECT_EQ(Pixel(list, ListPaneRect(list).left + 3, ListPaneRect(list).top + 2 * 16 + 8), 0x000000u)
        << "the third row is drawn selected";

    // A new key typed at once replaces the one found, and finds again.
    Type("C2");
    EXPECT_EQ(FindFieldShows(), "C2");
    Key(PlKey::Return);
    EXPECT_EQ(SelectedCode(), "C2");
    EXPECT_EQ(OpenedCode(), "");

    Key(PlKey::Return);   // with the row found, Return opens it
    EXPECT_EQ(OpenedCode(), "C2");
}

TEST_F(ListFind, TheTopBarsOkFindsTheTypedKeyAndThenOpensTheRow)
{
    Type("C2");
    ClickTopBarOk();
    EXPECT_EQ(SelectedCode(), "C2");
    EXPECT_EQ(OpenedCode(), "");
    ClickTopBarOk();
    EXPECT_EQ(OpenedCode(), "C2");
}

TEST_F(ListFind, AKeyBetweenRowsFindsTheNextOneAndAKeyPastTheLastSaysSo)
{
    Type("C15");   // between C1 and C2 in the code order
    Key(PlKey::Return);
    EXPECT_EQ(SelectedCode(), "C2");

    // A click into the field and the key edited by hand.
    ClickAt(list, 80, 28);
    for (int i = 0; i < 4; i++) Key(PlKey::Back);
    Type("D");
    EXPECT_EQ(FindFieldShows(), "D");
    Key(PlKey::Return);
    EXPECT_EQ(SelectedCode(), "");
    EXPECT_FALSE(ListHasSelection(list));
    EXPECT_EQ(Shown(), std::vector<std::string>{TextOf(Texts::ListFindNothing)});
    EXPECT_EQ(OpenedCode(), "");
    Key(PlKey::Return);   // nothing selected: Return looks again and opens nothing
    EXPECT_EQ(OpenedCode(), "");
    EXPECT_EQ(Shown().size(), 2u);
}

}  // namespace
