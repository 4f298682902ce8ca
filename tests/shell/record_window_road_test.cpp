// record_window_road_test.cpp - the way a user works in a customers
// window, by keys and the bars only: Ctrl+1 opens the customer list,
// whose Ctrl+N opens the customers window on a new record, typing and Tab fill it across both tab pages (a letter in an
// amount is dropped), the top bar's OK stores it as typed; a refused
// store puts the cursor on the field at fault; the payer's chooser is
// the customer list, opened for the field.
#include <gtest/gtest.h>

#include <vector>

#include "core/field_types.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "shell/field_editing.h"
#include "shell/record_commands.h"
#include "shell/toolbar.h"
#include "shell/window_layout.h"
#include "tests/shell/record_fixture.h"
#include "tests/shell/record_test_helpers.h"

namespace {

using namespace WinTypes;

class RecordWindowRoad : public RecordFixture {
protected:
    // Tabs in window n until screen field F has the focus; false when it
    // never does within the window's fields.
    static bool TabTo(int n, int F)
    {
        for (int i = 0; i < 64 && WinTable[n]->currentField != F; i++) Key(PlKey::Tab);
        return WinTable[n]->currentField == F;
    }
    // Ctrl+1 opens the customer list and Ctrl+N there the customers
    // window on a new record; the window's number, 0 none.
    static int NewCustomer()
    {
        Key('1', false, true);
        if (WinFindByDef(CustomerList) == 0) return 0;
        Char(14);   // Ctrl+N
        return WinFindByDef(Customers);
    }
    // Clicks the top bar's OK button.
    static void ClickOk()
    {
        ASSERT_NE(TopBarButtons[0], 0u);
        ScriptClick(TopBarButtons[0], 4, 4);
        Drain();
    }
};

TEST_F(RecordWindowRoad, TypedCustomerIsStoredAsTypedByTheTopBarsOk)
{
    int n = NewCustomer();
    ASSERT_GT(n, 0);
    ASSERT_EQ(WinRecState(n), 1);
    ASSERT_EQ(WinTable[n]->currentField, 1);
    Type("C300");
    Key(PlKey::Tab);
    Type("Acme Ltd");

    int addr = WinScreenFieldOfOffset(n, CUVc::Addr1), limit = WinScreenFieldOfOffset(n, CUVc::CreditLimit);
    ASSERT_NE(addr, NoField);
    ASSERT_NE(limit, NoField);
    ASSERT_TRUE(TabTo(n, addr));
    Type("1 Mill Lane");
    ASSERT_TRUE(TabTo(n, limit));
    Type("12x50");
    Key(PlKey::Tab);
    ClickOk();

    EXPECT_EQ(WinRecState(n), 0);
    ASSERT_NE(WinTable[n]->recordId, 0u);
    EXPECT_EQ(TitleOf(n), TextOf(9540) + ": " + TextOf(1014));
    std::vector<uint8_t> stored(CUVc::Size);
    ASSERT_TRUE(StoredRecord(CUVc::Number, WinTable[n]->recordId, stored.data(), CUVc::Size));
    EXPECT_EQ(TextAt(stored.data(), CUVc::Code), "C300");
    EXPECT_EQ(TextAt(stored.data(), CUVc::Name), "Acme Ltd");
    EXPECT_EQ(TextAt(stored.data(), CUVc::Addr1), "1 Mill Lane");
    uint8_t want[16] = {}, text[256];
    PStringFromC(text, "1250");
    ASSERT_TRUE(FieldFromText(want, 2, 0, text));
    EXPECT_EQ(memcmp(stored.data() + CUVc::CreditLimit, want, 12), 0);
    EXPECT_TRUE(Shown().empty());
}

TEST_F(RecordWindowRoad, RefusedStoreFocusesTheFieldTheCheckNames)
{
    int n = NewCustomer();
    ASSERT_GT(n, 0);
    Type("D1");
    ClickOk();
    ASSERT_EQ(WinRecState(n), 0);

    // The same code again: told once, still new, the cursor on the code.
    Char(14);
    Type("D1");
    Key(PlKey::Tab);
    Type("Second");
    MessagesShown.clear();
    ClickOk();
    EXPECT_EQ(Shown(), std::vector<std::string>{TextOf(1547)});
    EXPECT_EQ(WinRecState(n), 1);
    EXPECT_EQ(WinTable[n]->currentField, 1);
    EXPECT_EQ(TextAt(WinRecordBuffer(n), CUVc::Name), "Second");
}

// The payer's chooser is the customer list, opened for the field: Esc
// there comes back with what was typed kept, and OK stores it.
TEST_F(RecordWindowRoad, PayerChooserOpensTheCustomerListForTheField)
{
    int n = NewCustomer();
    ASSERT_GT(n, 0);
    Type("P1");
    int payer = WinScreenFieldOfOffset(n, CUVc::PayerCode);
    ASSERT_NE(payer, NoField);
    ASSERT_TRUE(TabTo(n, payer));
    Type("X9");
    Char('\n');   // Ctrl+J: choose
    int chooser = 0;
    for (int m = WinFirst; m <= WinLast; m++)
        if (WinIsOpen(m) && WinOpenerOf(m) == n) chooser = m;
    ASSERT_GT(chooser, 0);
    EXPECT_EQ(WinTypeOf(chooser), CustomerList);
    Key(PlKey::Escape);
    EXPECT_FALSE(WinIsOpen(chooser));
    ASSERT_TRUE(WinIsOpen(n));
    ClickOk();
    EXPECT_EQ(RegRecordCount(CUVc::Number), 1u);
    EXPECT_EQ(TextAt(WinRecordBuffer(n), CUVc::PayerCode), "X9");
}

}  // namespace
