// edit_row_rules_test.cpp - the field and row rules of record windows by
// type and state: which fields a stored voucher, purchase order or order
// still lets the user change, which rows may be deleted or emptied, a new
// row's empty values, and whether a record is closed.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "core/company_variant.h"
#include "core/system.h"
#include "tests/recordwin/small_windows_fixture.h"

namespace {

using namespace TestWin;

class EditRowRulesTest : public SmallWindowsFixture {
protected:
    // Window w shows a stored record being changed (state 2) whose first
    // `stored` rows the stored copy already had; the stored copy is the
    // shown record with rows of its own.
    static void StoredWithRows(int w, int stored, uint32_t rowSize)
    {
        WinSetRecState(w, 2);
        WinTable[w]->attachedSize = uint32_t(stored) * rowSize;
        uint32_t size = WinTypeWord(WinTypeOf(w), 2);
        int32_t at = WinRecordHandleOffset(w);
        uint8_t *copy = WinStoredRecord(w);
        ASSERT_TRUE(copy && at >= 0);
        MemBlock old = GetU32(copy, uint32_t(at));
        if (MemIsValid(old)) MemFree(&old);
        std::memcpy(copy, WinRecordBuffer(w), size);
        MemBlock rows = WinMatrixRows(w), own = 0;
        if (rows) {
            own = MemAlloc(MemSize(rows));
            ASSERT_TRUE(own);
            std::memcpy(MemLock(own), MemLock(rows), MemSize(rows));
            MemUnlock(own);
            MemUnlock(rows);
        }
        PutU32(copy, uint32_t(at), own);
    }
    // The date lock that lets vouchers after `lock` change, in force now.
    void DateLockAt(DateRec lock)
    {
        AllowVoucherDeletesAfter(lock);
        SettingsBlocksReload();
    }
    // Vouchers locked to `ledger` ("Vouchers locked to"), and deletes
    // allowed after `deletes`, in force now.
    void VoucherLockAt(DateRec ledger, DateRec deletes)
    {
        std::vector<uint8_t> company(CompanyBlk::Size), locks(DateLockBlk::Size);
        PutU16(company.data(), CompanyBlk::DateLockOn, 1);
        PutDate(locks.data(), DateLockBlk::LedgerLock, ledger);
        PutDate(locks.data(), DateLockBlk::DeleteLock, deletes);
        StoreBlock(CompanyBlk::Number, company.data(), CompanyBlk::Size);
        StoreBlock(DateLockBlk::Number, locks.data(), DateLockBlk::Size);
        SettingsBlocksReload();
    }
    static uint8_t Edit(int w, int F, int report = 1) { return WinFieldEditRules(w, F, WinRecState(w), 0, report); }
};

// A stored voucher (117): its number never, its date and text only by the
// rules; of its rows only those below a correction mark, and of the
// stored rows only the columns that leave the posting alone, which shift
// with the product variant; company variant 7 locks the text and one
// more column.
TEST_F(EditRowRulesTest, StoredVoucherEditsByCorrectionMarkVariantAndProduct)
{
    int w = OpenNew(117);
    ASSERT_GT(w, 0);
    PutDate(Rec(w), TRVc::TransDate, DateRec{10, 6, 2024});
    Rows(w, 4);
    auto cell = [](int row, int col) { return TrFirst + row * TrCells + col; };
    uint8_t company[CompanyBlk::Size] = {};
    CompanyVariantBind(company);
    struct Case {
        bool mark, variant7, compact;
        int F;
        uint8_t want;
        int text;   // shown when refused; 0 none
    };
    const int newOnly = Texts::NewRecordOnly, correction = Texts::VoucherNeedsCorrection;
    const Case cases[] = {
        {true, false, false, TrNumber, 0, newOnly},        {false, false, false, TrDate, 0, newOnly},
        {true, false, false, TrDate, 1, 0},                {true, true, false, TrText, 0, newOnly},
        {true, false, false, TrText, 1, 0},                {false, false, false, 3, 1, 0},
        {false, false, false, cell(2, 1), 0, correction},  {true, false, false, cell(3, 1), 1, 0},
        {true, false, false, cell(0, 0), 0, newOnly},      {true, false, false, cell(0, 1), 1, 0},
        {true, false, false, cell(1, 2), 1, 0},            {true, true, false, cell(1, 2), 0, newOnly},
        {true, false, false, cell(0, 5), 0, newOnly},      {true, false, true, cell(0, 5), 1, 0},
        {true, false, true, cell(0, 2), 0, newOnly},       {true, false, true, cell(0, 1), 1, 0},
        {true, true, true, cell(0, 1), 0, newOnly},        {false, false, true, cell(1, 3), 0, newOnly},
    };
    for (const Case &c : cases) {
        PutU16(company, CompanyBlk::CompanyVariant, c.variant7 ? 7 : 0);
        CompactVariant = c.compact;
        PutU16(RowAt(w, 2, TRVc::Rows::Size), TRVc::Rows::Kind, c.mark ? 2 : 1);
        StoredWithRows(w, 2, TRVc::Rows::Size);
        shown.clear();
        EXPECT_EQ(Edit(w, c.F), c.want) << "F " << c.F << " mark " << c.mark << " v7 " << c.variant7;
        if (c.text) {
            EXPECT_TRUE(WasShown(c.text)) << c.F;
        }
        // Without the show flag nothing is told.
        shown.clear();
        (void)Edit(w, c.F, 0);
        EXPECT_TRUE(shown.empty()) << c.F;
    }
    CompactVariant = false;
    // A key typed below the stored rows without a mark is told where it
    // may go, as a key typed into a stored cell is told.
    PutU16(company, CompanyBlk::CompanyVariant, 0);
    PutU16(RowAt(w, 2, TRVc::Rows::Size), TRVc::Rows::Kind, 1);
    StoredWithRows(w, 2, TRVc::Rows::Size);
    shown.clear();
    EXPECT_EQ(Edit(w, cell(2, 1), 2), 0);
    EXPECT_TRUE(WasShown(Texts::VoucherNeedsCorrection));
    // A new voucher is never refused.
    WinSetRecState(w, 1);
    EXPECT_EQ(Edit(w, cell(0, 0)), 1);
    EXPECT_EQ(Edit(w, TrNumber), 1);
    // Dated after the date lock all but the number may change.
    DateLockAt(DateRec{1, 1, 2024});
    PutU16(RowAt(w, 2, TRVc::Rows::Size), TRVc::Rows::Kind, 1);
    StoredWithRows(w, 2, TRVc::Rows::Size);
    EXPECT_EQ(Edit(w, cell(0, 0)), 1);
    EXPECT_EQ(Edit(w, TrDate), 1);
    EXPECT_EQ(Edit(w, TrNumber), 0);
    CompanyVariantBind(CompanyBlock);
}

// A confirmed purchase order may change its closed flag and its delivery
// text, by both rules the framework asks, and nothing else; before
// confirmation a row that goods were received on keeps its item.
TEST_F(EditRowRulesTest, ConfirmedPurchaseOrderEditsOnlyClosedFlagAndDeliveryText)
{
    int w = OpenNew(290);
    ASSERT_GT(w, 0);
    Rows(w, 2);
    PutU16(Rec(w), PurchOrderVc::Confirmed, 1);
    StoredWithRows(w, 2, PurchOrderVc::Rows::Size);
    int16_t field = 0;
    for (int F : {PoNumber, PoVendor, PoDelivText, PoClosed, PoFirst, PoFirst + 1}) {
        bool open = F == PoDelivText || F == PoClosed;
        EXPECT_EQ(Edit(w, F), open ? 1 : 0) << F;
        uint16_t offset = uint16_t(WinFieldIdAt(w, F) == NoField ? 0xFFFF : WinFieldIdAt(w, F));
        EXPECT_EQ(WindowEvent(w, 1, &field, &offset), open ? 1 : 0) << F;
    }
    // The number of a stored order never changes; in a new one anything.
    PutU16(Rec(w), PurchOrderVc::Confirmed, 0);
    StoredWithRows(w, 2, PurchOrderVc::Rows::Size);
    EXPECT_EQ(Edit(w, PoNumber), 0);
    EXPECT_EQ(Edit(w, PoVendor), 1);
    // Received goods: the stored rows keep their item (told 1304), other
    // cells and new rows stay open.
    PutDec(RowAt(w, 0, PurchOrderVc::Rows::Size), PurchOrderVc::Rows::QtyOnPurchases, Dec(2));
    StoredWithRows(w, 1, PurchOrderVc::Rows::Size);
    shown.clear();
    EXPECT_EQ(Edit(w, PoFirst), 0);
    EXPECT_TRUE(WasShown(Texts::OrderDelivered));
    EXPECT_EQ(Edit(w, PoFirst + 1), 1);
    EXPECT_EQ(Edit(w, PoFirst + PoCells), 1);
    WinSetRecState(w, 1);
    EXPECT_EQ(Edit(w, PoNumber), 1);
    uint16_t number = 0;
    EXPECT_EQ(WindowEvent(w, 1, &field, &number), 1);
}

// An order with a delivered row keeps the items of its stored rows; its
// header, other columns and new rows stay open; its number only when new.
TEST_F(EditRowRulesTest, DeliveredOrderKeepsItemsOfStoredRows)
{
    int w = OpenNew(352);
    ASSERT_GT(w, 0);
    Rows(w, 3);
    PutDec(RowAt(w, 1, ORVc::Rows::Size), ORVc::Rows::QtyDelivered, Dec(1));
    StoredWithRows(w, 2, ORVc::Rows::Size);
    EXPECT_EQ(Edit(w, OrFirst), 0);
    EXPECT_EQ(Edit(w, OrFirst + OrCells), 0);
    EXPECT_EQ(Edit(w, OrFirst + 1), 1);
    EXPECT_EQ(Edit(w, OrFirst + 2 * OrCells), 1);
    EXPECT_EQ(Edit(w, OrCustomer), 1);
    EXPECT_EQ(Edit(w, OrNumber), 0);
    PutDec(RowAt(w, 1, ORVc::Rows::Size), ORVc::Rows::QtyDelivered, Dec(0));
    StoredWithRows(w, 2, ORVc::Rows::Size);
    EXPECT_EQ(Edit(w, OrFirst), 1);
}

// Row deletes and emptying by type and state, and the closed question:
// a purchase or stock movement stored as done keeps its rows (also when
// the box was unticked in the window) and is closed; a voucher may empty
// a stored account row only after a correction mark; rows outside the
// record give the default answer.
TEST_F(EditRowRulesTest, RowDeletesClearsAndClosedRecordsByType)
{
    int pu = OpenNew(197), sm = OpenNew(426), tr = OpenNew(117);
    ASSERT_TRUE(pu > 0 && sm > 0 && tr > 0);
    struct Done {
        int w;
        uint32_t at;
    };
    for (Done d : {Done{pu, PUVc::Received}, Done{sm, StockMoveVc::Done}}) {
        Rows(d.w, 2);
        EXPECT_EQ(RowAsk(d.w, 4, 0), 1);
        EXPECT_EQ(WindowEvent(d.w, 26, nullptr, nullptr), 1);
        PutU16(Rec(d.w), d.at, 1);
        EXPECT_EQ(RowAsk(d.w, 4, 0), 1);   // a new record's rows may go
        EXPECT_EQ(WindowEvent(d.w, 26, nullptr, nullptr), 0);
        StoredWithRows(d.w, 2, d.w == pu ? PUVc::Rows::Size : StockMoveVc::Rows::Size);
        EXPECT_EQ(RowAsk(d.w, 4, 0), 0);
        PutU16(Rec(d.w), d.at, 0);   // unticked, not stored so
        EXPECT_EQ(RowAsk(d.w, 4, 0), 0);
        EXPECT_EQ(RowAsk(d.w, 13, 0), 0);
        EXPECT_EQ(WindowEvent(d.w, 26, nullptr, nullptr), 1);
    }

    // The voucher: rows 0 and 1 stored, row 2 the mark, row 3 new.
    PutDate(Rec(tr), TRVc::TransDate, DateRec{10, 6, 2024});
    Rows(tr, 4);
    for (int r : {0, 1, 3}) PutU16(RowAt(tr, r, TRVc::Rows::Size), TRVc::Rows::Kind, 1);
    PutU16(RowAt(tr, 1, TRVc::Rows::Size), TRVc::Rows::Kind, 3);
    EXPECT_EQ(RowAsk(tr, 4, 0), 1);   // new voucher
    shown.clear();
    EXPECT_EQ(RowAsk(tr, 13, 0), 0);
    EXPECT_TRUE(WasShown(Texts::VoucherNeedsCorrection));
    StoredWithRows(tr, 2, TRVc::Rows::Size);
    EXPECT_EQ(RowAsk(tr, 4, 0), 0);
    shown.clear();
    EXPECT_EQ(RowAsk(tr, 13, 0), 0);   // no mark yet
    EXPECT_TRUE(WasShown(Texts::VoucherNeedsCorrection));
    PutU16(RowAt(tr, 2, TRVc::Rows::Size), TRVc::Rows::Kind, 2);
    EXPECT_EQ(RowAsk(tr, 13, 0), 1);
    EXPECT_EQ(RowAsk(tr, 13, 3), 0);
    shown.clear();
    EXPECT_EQ(RowAsk(tr, 13, 1), 0);
    EXPECT_TRUE(WasShown(Texts::RowNotEmptied));
    shown.clear();
    for (int outside : {4, 300, -1}) EXPECT_EQ(RowAsk(tr, 13, outside), 0) << outside;
    EXPECT_TRUE(shown.empty());
    // All rows stored: nothing below a mark.
    StoredWithRows(tr, 4, TRVc::Rows::Size);
    shown.clear();
    EXPECT_EQ(RowAsk(tr, 13, 0), 0);
    EXPECT_TRUE(WasShown(Texts::VoucherNeedsCorrection));
    // Dated after the lock its rows may go.
    DateLockAt(DateRec{1, 1, 2024});
    EXPECT_EQ(RowAsk(tr, 4, 0), 1);
    EXPECT_EQ(WindowEvent(tr, 26, nullptr, nullptr), 1);
}

// A stored voucher dated in the voucher lock cannot be stored again,
// whatever changed: a key, a row delete and a correction row are refused
// there with the lock named, not pointed at a correction the store would
// refuse - also where it lies after the delete lock. Its stored date
// counts, not one typed over it; a voucher after the lock, and a new one,
// are not held.
TEST_F(EditRowRulesTest, AStoredVoucherInTheVoucherLockSaysTheLock)
{
    int tr = OpenNew(117);
    ASSERT_GT(tr, 0);
    PutDate(Rec(tr), TRVc::TransDate, DateRec{10, 6, 2024});
    Rows(tr, 3);
    for (int r : {0, 1, 2}) PutU16(RowAt(tr, r, TRVc::Rows::Size), TRVc::Rows::Kind, 1);
    StoredWithRows(tr, 2, TRVc::Rows::Size);
    VoucherLockAt(DateRec{30, 6, 2024}, DateRec{1, 1, 2024});
    auto cell = [](int row, int col) { return TrFirst + row * TrCells + col; };
    // Told once, the lock named with its date.
    auto toldLock = [] { return shown == std::vector<std::string>{UiText(Texts::VoucherInLock) + "30.06.2024."}; };
    for (int report : {1, 2}) {
        for (int F : {TrText, TrDate, cell(0, 1), cell(2, 0)}) {
            shown.clear();
            EXPECT_EQ(Edit(tr, F, report), 0) << F << " report " << report;
            EXPECT_TRUE(toldLock()) << F << ": " << ::testing::PrintToString(shown);
        }
    }
    shown.clear();
    EXPECT_EQ(Edit(tr, TrText, 0), 0);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(RowAsk(tr, 4, 0), 0);
    EXPECT_EQ(RowAsk(tr, 4, 2), 0);
    shown.clear();
    EXPECT_EQ(RowAsk(tr, 13, 0), 0);
    EXPECT_TRUE(toldLock()) << ::testing::PrintToString(shown);
    // A correction row is refused before it is added.
    shown.clear();
    int16_t correction = 3;
    WindowEvent(tr, 23, &correction, &correction);
    EXPECT_TRUE(toldLock()) << ::testing::PrintToString(shown);
    EXPECT_EQ(WinMatrixRowCount(tr), 3);
    // A date typed over the stored one does not open it.
    PutDate(Rec(tr), TRVc::TransDate, DateRec{10, 8, 2024});
    shown.clear();
    EXPECT_EQ(Edit(tr, TrText, 2), 0);
    EXPECT_TRUE(toldLock());
    // Stored after the lock, or new, it is not held.
    StoredWithRows(tr, 2, TRVc::Rows::Size);
    shown.clear();
    EXPECT_EQ(Edit(tr, TrText, 2), 1);
    EXPECT_EQ(RowAsk(tr, 4, 0), 1);
    EXPECT_TRUE(shown.empty());
    PutDate(Rec(tr), TRVc::TransDate, DateRec{10, 6, 2024});
    WinSetRecState(tr, 1);
    EXPECT_EQ(Edit(tr, cell(0, 0), 2), 1);
    EXPECT_EQ(RowAsk(tr, 4, 0), 1);
    EXPECT_TRUE(shown.empty());
}

// A new row's empty values: a goods-receipt row links to no purchase-order
// row; a purchase-order item row has blank received quantity and factor,
// other kinds keep theirs; rows outside the window's rows are not written.
TEST_F(EditRowRulesTest, NewRowsGetTheTypesEmptyValues)
{
    int pu = OpenNew(197), po = OpenNew(290);
    ASSERT_TRUE(pu > 0 && po > 0);
    Rows(pu, 2);
    EXPECT_EQ(GetI32(RowAt(pu, 1, PUVc::Rows::Size), PUVc::Rows::PORowNr), -1);
    PutI32(RowAt(pu, 0, PUVc::Rows::Size), PUVc::Rows::PORowNr, 7);
    int16_t beyond = 2;
    MemBlock h = WinMatrixRows(pu);
    uint8_t *rows = MemLock(h);
    WindowEvent(pu, 3, rows, &beyond);   // outside the rows: left alone
    MemUnlock(h);
    EXPECT_EQ(GetI32(RowAt(pu, 0, PUVc::Rows::Size), PUVc::Rows::PORowNr), 7);

    Rows(po, 2);
    PackedDecimal got = GetDec(RowAt(po, 0, PurchOrderVc::Rows::Size), PurchOrderVc::Rows::QtyReceived);
    EXPECT_TRUE(DecIsBlank(&got));
    got = GetDec(RowAt(po, 1, PurchOrderVc::Rows::Size), PurchOrderVc::Rows::PriceUnit);
    EXPECT_TRUE(DecIsBlank(&got));
    // A text row (kind 3) keeps what it holds.
    uint8_t *r = RowAt(po, 1, PurchOrderVc::Rows::Size);
    PutU16(r, PurchOrderVc::Rows::Kind, 3);
    PutDec(r, PurchOrderVc::Rows::PriceUnit, Dec(5));
    int16_t one = 1;
    h = WinMatrixRows(po);
    rows = MemLock(h);
    WindowEvent(po, 3, rows, &one);
    MemUnlock(h);
    EXPECT_EQ(Num(r, PurchOrderVc::Rows::PriceUnit), 5);
}

// Payments and purchase invoices in state 2: an approved payment keeps
// all but its date and bank amounts, a posted one everything; its rows
// may be emptied only while approved and not posted. An approved
// purchase invoice keeps all but its due and discount dates and comment,
// and none of its rows is emptied (a credited-invoice row is told). A
// posted expense claim keeps all but its text.
TEST_F(EditRowRulesTest, ApprovedAndPostedPaymentsInvoicesAndClaims)
{
    int op = OpenNew(157), pp = OpenNew(476), pi = OpenNew(155), ex = OpenNew(475);
    ASSERT_TRUE(op > 0 && pp > 0 && pi > 0 && ex > 0);
    struct Payment {
        int w;
        uint32_t approved, posted;
        std::vector<int> open, locked;
        uint32_t rowSize;
    };
    const Payment payments[] = {
        {op, OPVc::Approved, OPVc::Posted, {OpPayDate, OpRate, OpHome, OpCharges}, {OpText, OpFirst}, OPVc::Rows::Size},
        {pp, PersPayVc::Approved, PersPayVc::Posted, {PpPayDate, PpBank, PpCharges}, {PpText, PpFirst},
         PersPayVc::Rows::Size},
    };
    for (const Payment &p : payments) {
        Rows(p.w, 1);
        StoredWithRows(p.w, 1, p.rowSize);
        for (int F : p.open) EXPECT_EQ(Edit(p.w, F), 1) << F;
        for (int F : p.locked) EXPECT_EQ(Edit(p.w, F), 1) << F;
        EXPECT_EQ(RowAsk(p.w, 13, 0), 0);   // not approved
        PutU16(Rec(p.w), p.approved, 1);
        StoredWithRows(p.w, 1, p.rowSize);
        for (int F : p.open) EXPECT_EQ(Edit(p.w, F), 1) << F;
        for (int F : p.locked) EXPECT_EQ(Edit(p.w, F), 0) << F;
        EXPECT_EQ(RowAsk(p.w, 13, 0), 1);
        EXPECT_EQ(RowAsk(p.w, 4, 0), 0);
        PutU16(Rec(p.w), p.posted, 1);
        StoredWithRows(p.w, 1, p.rowSize);
        for (int F : p.open) EXPECT_EQ(Edit(p.w, F), 0) << F;
        EXPECT_EQ(RowAsk(p.w, 13, 0), 0);
        WinSetRecState(p.w, 1);
        EXPECT_EQ(Edit(p.w, p.locked.front()), 1);
        EXPECT_EQ(RowAsk(p.w, 13, 0), 1);
    }
    // The delete command on a new payment: the payment window's own rule
    // refuses deletes only on a stored approved payment, so the row goes.
    MatrixRowDeleteCmd(op, 0);
    EXPECT_EQ(WinMatrixRowCount(op), 0);

    Rows(pi, 2);
    PutU16(RowAt(pi, 1, VIVc::Rows::Size), VIVc::Rows::Kind, 3);
    PutU16(Rec(pi), VIVc::Approved, 1);
    StoredWithRows(pi, 2, VIVc::Rows::Size);
    for (int F : {PiDue, PiDisc, PiComment}) EXPECT_EQ(Edit(pi, F), 1) << F;
    EXPECT_EQ(Edit(pi, PiVendor), 0);
    EXPECT_EQ(Edit(pi, PiFirst), 0);
    shown.clear();
    EXPECT_EQ(RowAsk(pi, 13, 0), 0);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(RowAsk(pi, 13, 1), 0);
    EXPECT_TRUE(WasShown(Texts::RowNotEmptied));
    PutU16(Rec(pi), VIVc::Approved, 0);
    StoredWithRows(pi, 2, VIVc::Rows::Size);
    EXPECT_EQ(Edit(pi, PiVendor), 1);

    PutU16(Rec(ex), ExpenseVc::Posted, 1);
    StoredWithRows(ex, 0, ExpenseVc::Rows::Size);
    EXPECT_EQ(Edit(ex, ExText), 1);
    EXPECT_EQ(Edit(ex, ExPerson), 0);
    PutU16(Rec(ex), ExpenseVc::Posted, 0);
    StoredWithRows(ex, 0, ExpenseVc::Rows::Size);
    EXPECT_EQ(Edit(ex, ExPerson), 1);
}

// Deleting a goods-receipt row through the row command recomputes the
// totals; a finished production refuses edits through event 1 and is
// closed; its number is kept once stored.
TEST_F(EditRowRulesTest, RowDeleteRecomputesPurchaseTotalsAndProductionCloses)
{
    int pu = OpenNew(197);
    ASSERT_GT(pu, 0);
    Rows(pu, 2);
    for (int r = 0; r < 2; r++) {
        PutDec(RowAt(pu, r, PUVc::Rows::Size), PUVc::Rows::Quantity, Dec(r + 1));
        PutDec(RowAt(pu, r, PUVc::Rows::Size), PUVc::Rows::UnitCost, Dec(10));
    }
    MatrixRowDeleteCmd(pu, 1);
    EXPECT_EQ(WinMatrixRowCount(pu), 1);
    EXPECT_EQ(Num(Rec(pu), PUVc::QtySum), 1);
    EXPECT_EQ(Num(Rec(pu), PUVc::ValueSum), 10);

    int pr = OpenNew(122);
    ASSERT_GT(pr, 0);
    EXPECT_EQ(Edit(pr, 1), 1);
    StoredWithRows(pr, 0, ProductionVc::Rows::Size);
    EXPECT_EQ(Edit(pr, 1), 0);
    EXPECT_EQ(Edit(pr, PrItem), 1);
    int16_t field = PrItem;
    uint16_t offset = uint16_t(ProductionVc::ItemCode);
    EXPECT_EQ(WindowEvent(pr, 1, &field, &offset), 1);
    PutU16(Rec(pr), ProductionVc::Finished, 1);
    StoredWithRows(pr, 0, ProductionVc::Rows::Size);
    EXPECT_EQ(WindowEvent(pr, 1, &field, &offset), 0);
    EXPECT_EQ(WindowEvent(pr, 26, nullptr, nullptr), 0);
}

}  // namespace
