// address_copy_test.cpp - Edit > Copy in the customer list, the address
// list: the marked customers' names and addresses go to the clipboard,
// one block each, in the order they were marked; other lists and an
// unmarked list leave the clipboard alone.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dict_offsets.h"
#include "platform/clipboard.h"
#include "platform/menu.h"
#include "platform/script.h"
#include "recordwin/record_windows.h"
#include "shell/list_windows.h"
#include "shell/menus.h"
#include "tests/shell/record_fixture.h"
#include "tests/shell/record_test_helpers.h"

namespace {

constexpr int CmdEditCopy = 204;
constexpr int EditCopyPosition = 3;   // item 4 of the Edit menu, after a separator

class AddressCopy : public RecordFixture {
protected:
    // Stores a customer with its name, second name and address lines.
    static void AddCustomer(const char *code, const char *name, const char *name2,
                            std::vector<const char *> lines)
    {
        std::vector<uint8_t> c(CUVc::Size);
        PutText(c.data(), CUVc::Code, code);
        PutText(c.data(), CUVc::Name, name);
        PutText(c.data(), CUVc::Name2, name2);
        const uint32_t at[3] = {CUVc::Addr1, CUVc::Addr2, CUVc::Addr3};
        for (size_t i = 0; i < lines.size() && i < 3; i++) PutText(c.data(), at[i], lines[i]);
        ASSERT_NE(InsertHeld(CUVc::Number, c.data()), 0u);
    }
    static std::string Clipboard()
    {
        std::string text;
        return ClipboardGetText(&text) ? text : "(empty)";
    }
    static bool CopyEnabled()
    {
        return !(MenuItemFlags(MenuHandles.edit, EditCopyPosition) & PlMenuFlag::Grayed);
    }
    // Chooses Edit > Copy as a user does.
    static void Copy()
    {
        ScriptMenuCommand(FrameWindow, CmdEditCopy);
        Drain();
    }
    // Clicks visible row `row` of list n.
    static void ClickRow(int n, int row)
    {
        MacRect pane = ListPaneRect(n);
        ClickAt(n, pane.left + 20, pane.top + row * 16 + 8);
    }
};

TEST_F(AddressCopy, MarkedCustomersOfTheCustomerListGoToTheClipboard)
{
    AddCustomer("A1", "Alpha AB", "", {"Box 1", "111 11 Town", "Sweden"});
    AddCustomer("B2", "Beta Ltd", "Sales dept.", {"2 High St", "", "London"});
    AddCustomer("C3", "Gamma Oy", "", {"Street 3", "00100 Helsinki", ""});
    Key('1', false, true);   // Ctrl+1: the customer list
    int list = WinFindByDef(WinTypes::CustomerList);
    ASSERT_GT(list, 0);
    ASSERT_TRUE(WinIsAddressList(list));
    EXPECT_TRUE(CopyEnabled());

    // Nothing marked yet: the clipboard keeps what it had.
    ClipboardSetText("kept");
    ListUnmarkAll(list, 0);
    Copy();
    EXPECT_EQ(Clipboard(), "kept");

    // The second row, then Shift+Up to the first: both, in marking order.
    ClickRow(list, 1);
    Key(PlKey::Up, true);
    Copy();
    EXPECT_EQ(Clipboard(), "Beta Ltd\nSales dept.\n2 High St\n\nLondon\n \n"
                           "Alpha AB\nBox 1\n111 11 Town\nSweden\n \n");

    // A marked customer deleted meanwhile is left out.
    ASSERT_TRUE(DeleteHeld(CUVc::Number, uint32_t(ListRowId(list, 1)), CUVc::Size));
    Copy();
    EXPECT_EQ(Clipboard(), "Alpha AB\nBox 1\n111 11 Town\nSweden\n \n");
}

TEST_F(AddressCopy, OtherListsCopyNoAddresses)
{
    Key('2', false, true);   // Ctrl+2: the access-group list
    int list = WinFindByDef(WinTypes::AccessGroupList);
    ASSERT_GT(list, 0);
    EXPECT_FALSE(WinIsAddressList(list));
    ClipboardSetText("kept");
    MemBlock text = 0;
    ListCopyMarkedAddresses(list, &text);
    EXPECT_EQ(text, 0u);
    Copy();
    EXPECT_EQ(Clipboard(), "kept");
}

}  // namespace
