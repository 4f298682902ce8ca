// printer_windows_test.cpp - the windows that maintain the printer
// definitions (block 162) over the built interface file: the list shows
// the stored rows, New and Open lead to the row window whose OK stores
// the row by its name, a nameless row is refused with nothing typed
// lost, Delete removes the selected row, and a list older than the block
// neither opens nor deletes a row another user has changed.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/field_access.h"
#include "dict_offsets.h"
#include "output/layer_operations.h"
#include "outputwin/printer_windows.h"
#include "platform/control.h"
#include "shell/record_commands.h"
#include "tests/shell/record_fixture.h"

namespace {

class PrinterWindows : public RecordFixture {
protected:
    // Stores rows of "name=device=printer" as block 162.
    static void StoreRows(const std::vector<std::string> &rows)
    {
        std::vector<uint8_t> block(rows.size() * PrintersBlk::Rows::Size, 0);
        for (size_t r = 0; r < rows.size(); r++) {
            std::string s = rows[r];
            std::vector<std::string> parts;
            for (size_t at; (at = s.find('=')) != std::string::npos; s.erase(0, at + 1)) parts.push_back(s.substr(0, at));
            parts.push_back(s);
            parts.resize(3);
            uint8_t *row = block.data() + r * PrintersBlk::Rows::Size;
            const uint32_t at[3] = {PrintersBlk::Rows::Name, PrintersBlk::Rows::DeviceText,
                                    PrintersBlk::Rows::PrinterText};
            for (int i = 0; i < 3; i++) {
                PString p;
                PStringFromC(p, parts[size_t(i)].c_str());
                PutPString(row, at[i], 20, p);
            }
        }
        ASSERT_EQ(SettingsBlockStore(PrintersBlk::Number, block.data(), uint32_t(block.size())), RecDone);
    }
    // The stored rows as "name=device=printer".
    static std::vector<std::string> Stored()
    {
        std::vector<uint8_t> rows;
        EXPECT_TRUE(PrinterRowsRead(&rows));
        std::vector<std::string> out;
        for (size_t r = 0; r + PrintersBlk::Rows::Size <= rows.size(); r += PrintersBlk::Rows::Size) {
            PString a, b, c;
            GetText(rows.data() + r, PrintersBlk::Rows::Name, a);
            GetText(rows.data() + r, PrintersBlk::Rows::DeviceText, b);
            GetText(rows.data() + r, PrintersBlk::Rows::PrinterText, c);
            out.push_back(PStringToStd(a) + "=" + PStringToStd(b) + "=" + PStringToStd(c));
        }
        return out;
    }
    // A text field of window n's record.
    static std::string Field(int n, uint32_t at)
    {
        PString p;
        GetPString(WinRecordBuffer(n), at, 20, p);
        return PStringToStd(p);
    }
    // The open window of the type; 0 none.
    static int Find(int type) { return WinFindByDef(type); }
    // Opens the printer list as the window list does.
    static int OpenList()
    {
        int n = OpenOrActivateWindow(PrinterListType, 0, 0, false, 0);
        EXPECT_GT(n, 0);
        return n;
    }
    // Chooses line `line` of list n, as a click on it does.
    static void Select(int n, int line) { ListBoxSetCurSel(WinListBox(n), line); }
};

TEST_F(PrinterWindows, TheListShowsTheStoredRowsInOrder)
{
    StoreRows({"LASER=LPT1=Office laser", "MATRIX=COM1", "SPARE"});
    int list = OpenList();
    ASSERT_GT(list, 0);
    EXPECT_EQ(ListBoxRows(list),
              (std::vector<std::string>{"LASER - LPT1 - Office laser", "MATRIX - COM1", "SPARE"}));
    EXPECT_EQ(ListSelectedIndex(list), 0);
}

TEST_F(PrinterWindows, NewTypedAndOkStoresTheRowAndRelistsIt)
{
    StoreRows({"MATRIX=COM1"});
    int list = OpenList();
    ASSERT_TRUE(ClickLabelled(list, "New"));
    int row = Find(PrinterRowType);
    ASSERT_GT(row, 0);
    EXPECT_EQ(ActiveNumber(), row);
    Type("LASER");
    Key(PlKey::Tab);
    Type("LPT1");
    Key(PlKey::Tab);
    Type("Office laser");
    ASSERT_TRUE(ClickLabelled(row, "OK"));
    EXPECT_FALSE(WinIsOpen(row));
    EXPECT_EQ(Stored(), (std::vector<std::string>{"MATRIX=COM1=", "LASER=LPT1=Office laser"}));
    EXPECT_EQ(ListBoxRows(list), (std::vector<std::string>{"MATRIX - COM1", "LASER - LPT1 - Office laser"}));
    EXPECT_EQ(ListSelectedIndex(list), 1);   // the stored row
}

TEST_F(PrinterWindows, ANamelessRowIsRefusedAndKeepsWhatWasTyped)
{
    int list = OpenList();
    ASSERT_TRUE(ClickLabelled(list, "New"));
    int row = Find(PrinterRowType);
    ASSERT_GT(row, 0);
    Key(PlKey::Tab);
    Type("LPT1");
    TopBarOk();
    EXPECT_TRUE(WinIsOpen(row));
    EXPECT_TRUE(Said(TextOf(11713)));
    EXPECT_EQ(Field(row, PrintersBlk::Rows::DeviceText), "LPT1");
    EXPECT_TRUE(Stored().empty());
    EXPECT_TRUE(ListBoxRows(list).empty());

    // Cancel drops the row unstored.
    ASSERT_TRUE(ClickLabelled(row, "Cancel"));
    EXPECT_FALSE(WinIsOpen(row));
    EXPECT_TRUE(Stored().empty());
}

TEST_F(PrinterWindows, OpeningARowAndChangingItReplacesItByName)
{
    StoreRows({"LASER=LPT1=Office laser", "MATRIX=COM1"});
    int list = OpenList();
    Select(list, 1);
    ActivateWindowNumber(list);
    Key(PlKey::Return);   // OK opens the selected row
    int row = Find(PrinterRowType);
    ASSERT_GT(row, 0);
    EXPECT_EQ(Field(row, PrintersBlk::Rows::Name), "MATRIX");
    EXPECT_EQ(Field(row, PrintersBlk::Rows::DeviceText), "COM1");
    Key(PlKey::Tab);
    Type("LPT2");
    TopBarOk();
    EXPECT_FALSE(WinIsOpen(row));
    EXPECT_EQ(Stored(), (std::vector<std::string>{"LASER=LPT1=Office laser", "MATRIX=LPT2="}));

    // A name typed in other letters still names the same printer, as a
    // form's printer name finds it: no second row no form could reach.
    ASSERT_TRUE(ClickLabelled(list, "New"));
    row = Find(PrinterRowType);
    ASSERT_GT(row, 0);
    Type("laser");
    Key(PlKey::Tab);
    Type("LPT3");
    TopBarOk();
    EXPECT_EQ(Stored(), (std::vector<std::string>{"laser=LPT3=", "MATRIX=LPT2="}));
    EXPECT_EQ(ListSelectedIndex(list), 0);
}

TEST_F(PrinterWindows, DeleteRemovesTheSelectedRowOnly)
{
    StoreRows({"A=LPT1", "B=LPT2", "C=COM1"});
    int list = OpenList();
    Select(list, 1);
    ASSERT_TRUE(ClickLabelled(list, "Delete"));
    EXPECT_EQ(Stored(), (std::vector<std::string>{"A=LPT1=", "C=COM1="}));
    EXPECT_EQ(ListBoxRows(list), (std::vector<std::string>{"A - LPT1", "C - COM1"}));
    ASSERT_TRUE(ClickLabelled(list, "Delete"));
    ASSERT_TRUE(ClickLabelled(list, "Delete"));
    EXPECT_TRUE(Stored().empty());
    EXPECT_TRUE(ListBoxRows(list).empty());

    // With nothing to choose, Delete and Open do nothing.
    ASSERT_TRUE(ClickLabelled(list, "Delete"));
    ASSERT_TRUE(ClickLabelled(list, "Open"));
    EXPECT_EQ(Find(PrinterRowType), 0);
    EXPECT_TRUE(Stored().empty());
}

TEST_F(PrinterWindows, AListOlderThanTheBlockChangesNothing)
{
    StoreRows({"A=LPT1", "B=LPT2"});
    int list = OpenList();
    StoreRows({"B=LPT2", "A=LPT1"});   // another user reordered the rows
    Select(list, 0);                   // the list still shows A there
    ASSERT_TRUE(ClickLabelled(list, "Delete"));
    EXPECT_EQ(Stored(), (std::vector<std::string>{"B=LPT2=", "A=LPT1="}));
    EXPECT_TRUE(Said(TextOf(Texts::PrinterNoneChosen)));
    EXPECT_EQ(ListBoxRows(list), (std::vector<std::string>{"B - LPT2", "A - LPT1"}));

    StoreRows({"C=COM1"});
    Select(list, 1);
    ASSERT_TRUE(ClickLabelled(list, "Open"));
    EXPECT_EQ(Find(PrinterRowType), 0);
    EXPECT_EQ(ListBoxRows(list), (std::vector<std::string>{"C - COM1"}));
}

}  // namespace
