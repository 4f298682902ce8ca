// window_button_rows_test.cpp - the buttons of the account-row list
// (254), the account-row window (255) and the server's status window
// (423) in a headless frame, pressed and chosen from the frame's
// operations menu: the list turns its marked rows into vouchers and
// leaves the rows a voucher refuses, the window balances its row under
// edit (its twin 533 has no such button), the status window goes back to
// serving clients; other buttons do nothing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/decimal.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "platform/display.h"
#include "platform/menu.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "recordwin/record_windows.h"
#include "rules/hooks.h"
#include "shell/field_editing.h"
#include "shell/list_windows.h"
#include "shell/menus.h"
#include "shell/net_services.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/startup.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "tests/operations/invoice_fixture.h"
#include "tests/shell/invoice_frame.h"

namespace {

constexpr int AccountRowsList = 254, AccountRows = 255, PersonEntry = 533, ServerStatus = 423;
constexpr int FirstOpsItem = 701;   // the frame's id of operations-menu item 1

class WindowButtonRows : public InvoiceFixture {
protected:
    void SetUp() override {
        InvoiceFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreInvoiceCompany();
        RulesInstall();
        // Vouchers are numbered within a fiscal year of a code of their own.
        AddFiscalYear(2, "2025", {1, 1, 2025}, {31, 12, 2025});
        AddSeriesRow(VoucherSeriesBlk::Number, 1, 999);
        InvoiceFrameUp();
    }
    void TearDown() override {
        NetServices.serverRunModeOn = nullptr;
        InvoiceFrameDown();
        InvoiceFixture::TearDown();
    }
    static void Press(int window, int button) {
        int b = button;
        WindowEvent(window, 23, &b, &b);
    }
    // Chooses item `item` of the current window's operations menu.
    static void ChooseOps(int item) {
        ScriptMenuCommand(FrameWindow, FirstOpsItem + item - 1);
        PlMessage m;
        for (int guard = 0; guard < 10000 && MsgGet(&m) == PlGet::Message; guard++) MainLoopMessage(m);
    }
    // A stored sm1 record of two rows, 40 on 1510 and -40 on 3010; its id.
    uint32_t StoreSm1(uint32_t serial, DateRec date) {
        RuleRecord r(SMVc::Number);
        PutU32(r.record, SMVc::SerNr, serial);
        PutDate(r.record, SMVc::Date, date);
        PutText(r.record, SMVc::Text, 60, ("Rows " + std::to_string(serial)).c_str());
        const char *accounts[2] = {InvoiceCo::Receivables, InvoiceCo::Sales};
        for (int i = 0; i < 2; i++) {
            uint8_t row[SMVc::Rows::Size] = {};
            PutText(row, SMVc::Rows::Account, 10, accounts[i]);
            PutDec(row, SMVc::Rows::Amount, Dec(i ? -40 : 40));
            EXPECT_TRUE(MatrixRowPut(SMVc::Number, 0, r.record, i, row));
        }
        uint32_t recid = 0;
        EXPECT_TRUE(RecInsertUnchecked(SMVc::Number, r.record, &recid));
        return recid;
    }
    static bool Sm1Stored(uint32_t recid) {
        RuleRecord r(SMVc::Number);
        return RecReadById(SMVc::Number, recid, r.record);
    }
};

// Button 1 of the list, pressed or chosen, makes a voucher of each marked
// row record and takes the record away; unmarked records stay.
TEST_F(WindowButtonRows, TheAccountRowListTurnsMarkedRowsIntoVouchers) {
    uint32_t first = StoreSm1(1, {5, 3, 2025}), second = StoreSm1(2, {6, 3, 2025}),
             third = StoreSm1(3, {7, 3, 2025});
    int list = OpenOrActivateWindow(AccountRowsList, 0, 0, true, 0);
    ASSERT_GT(list, 0);
    ASSERT_TRUE(ListMarkAdd(list, (int32_t)first));
    Press(list, 1);
    EXPECT_EQ(RegRecordCount(Voucher::Number), 1u);
    EXPECT_FALSE(Sm1Stored(first));
    EXPECT_TRUE(Sm1Stored(second));

    ASSERT_TRUE(ListMarkAdd(list, (int32_t)third));
    ChooseOps(1);
    EXPECT_EQ(RegRecordCount(Voucher::Number), 2u);
    EXPECT_FALSE(Sm1Stored(third));
    EXPECT_TRUE(Sm1Stored(second));
    RuleRecord v(Voucher::Number);
    uint32_t recid = 0;
    ASSERT_TRUE(RecReadAt(Voucher::Number, 2, v.record, &recid));
    EXPECT_EQ(GetDate(v.record, Voucher::TransDate).day, 7) << "the voucher takes the rows' date";
}

// Another button, nothing marked, or rows no voucher can take (a date
// outside every fiscal year has no voucher number: a beep) leave the row
// records where they are.
TEST_F(WindowButtonRows, TheAccountRowListLeavesWhatItCannotTurn) {
    uint32_t kept = StoreSm1(1, {5, 3, 2025}), outside = StoreSm1(2, {5, 3, 2019});
    int list = OpenOrActivateWindow(AccountRowsList, 0, 0, true, 0);
    ASSERT_GT(list, 0);
    Press(list, 1);
    EXPECT_EQ(RegRecordCount(Voucher::Number), 0u) << "nothing marked, nothing turned";
    ASSERT_TRUE(ListMarkAdd(list, (int32_t)kept));
    Press(list, 2);
    Press(list, 0);
    EXPECT_EQ(RegRecordCount(Voucher::Number), 0u) << "only button 1 turns rows";
    EXPECT_TRUE(Sm1Stored(kept));

    ASSERT_TRUE(ListMarkAdd(list, (int32_t)outside));
    const int beeps = PlBeepCount();
    Press(list, 1);
    EXPECT_EQ(RegRecordCount(Voucher::Number), 1u);
    EXPECT_FALSE(Sm1Stored(kept));
    EXPECT_TRUE(Sm1Stored(outside)) << "rows without a voucher stay";
    EXPECT_EQ(PlBeepCount(), beeps + 1) << "the refusal is heard";
}

// The account-row window's operations item balances the row under edit;
// the person entry, which shares its rows' steps, has no such button.
TEST_F(WindowButtonRows, TheAccountRowWindowBalancesItsRowFromTheMenu) {
    struct Case {
        int type, reg;
        uint32_t account, amount, rowSize;
        bool balances;
    };
    for (const Case &c : {Case{AccountRows, SMVc::Number, SMVc::Rows::Account, SMVc::Rows::Amount,
                               SMVc::Rows::Size, true},
                          Case{PersonEntry, PersEntryVc::Number, PersEntryVc::Rows::Account,
                               PersEntryVc::Rows::Amount, PersEntryVc::Rows::Size, false}}) {
        SCOPED_TRACE(c.type);
        int w = OpenOrActivateWindow(c.type, 0, 0, false, 0);
        ASSERT_GT(w, 0);
        WinSetRecState(w, 1);
        uint8_t *rec = WinRecordBuffer(w);
        const double amounts[2] = {80.5, 19.5};
        for (int i = 0; i < 3; i++) {
            std::vector<uint8_t> row(c.rowSize, 0);
            PutText(row.data(), c.account, 10, i == 2 ? InvoiceCo::Cash : InvoiceCo::Sales);
            PackedDecimal a = Dec(i < 2 ? amounts[i] : 0);
            if (i == 2) DecSetBlank(&a);
            PutDec(row.data(), c.amount, a);
            ASSERT_TRUE(MatrixRowPut(c.reg, 0, rec, i, row.data()));
        }
        int first = 0, cells = 0;
        MatrixGeometry(w, &first, &cells);
        ASSERT_GT(first, 0);
        ASSERT_TRUE(WinGotoField(w, first + 2 * cells + 3, true));
        ChooseOps(1);
        uint8_t row[256];
        ASSERT_TRUE(MatrixRowGet(c.reg, 0, rec, 2, row));
        PackedDecimal got = GetDec(row, c.amount);
        if (c.balances) {
            ASSERT_FALSE(DecIsBlank(&got));
            EXPECT_DOUBLE_EQ(DecToDouble(&got), -100.0);
        } else {
            EXPECT_TRUE(DecIsBlank(&got)) << "no button 1 here";
        }
        Press(w, 2);
        ASSERT_TRUE(MatrixRowGet(c.reg, 0, rec, 0, row));
        got = GetDec(row, c.amount);
        EXPECT_DOUBLE_EQ(DecToDouble(&got), 80.5);
        WinSetRecState(w, 0);
        WinClose(w);
    }
}

// The server's status window: its operations item 1 goes back to serving
// clients; its other buttons do nothing, nor does item 1 without a network.
TEST_F(WindowButtonRows, TheServerStatusWindowServesAgain) {
    uint32_t ops = BuildWindowOpsMenu(ServerStatus);
    EXPECT_NE(ops, 0u) << "the window offers the item";
    if (ops) MenuDestroy(ops);
    int w = OpenOrActivateWindow(ServerStatus, 0, 0, false, 0);
    ASSERT_GT(w, 0);
    static int serving;
    serving = 0;
    Press(w, 1);   // no network installed: nothing to call
    NetServices.serverRunModeOn = [] { serving++; };
    ChooseOps(1);
    EXPECT_EQ(serving, 1);
    Press(w, 2);
    Press(w, 0);
    EXPECT_EQ(serving, 1);
    Press(w, 1);
    EXPECT_EQ(serving, 2);
}

}  // namespace
