// inquiry_lists_test.cpp - the read-only lists of the kept registers: the
// source document each kind of row names (and the rows that name none),
// OK opening that document or telling that it is gone, no new or open
// record from such a list, and a record window's operations item opening
// its list on its own code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/field_access.h"
#include "dict_offsets.h"
#include "platform/script.h"
#include "recordwin/inquiry_lists.h"
#include "recordwin/record_windows.h"
#include "shell/list_windows.h"
#include "shell/record_commands.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"
#include "tests/shell/record_fixture.h"
#include "tests/shell/record_test_helpers.h"

namespace {

const std::string NoDocument = "The document of this row is not in the company.";

// A source as (register, record id, serial number), for comparing.
std::tuple<int, uint32_t, int32_t> Src(const InquirySource &s) { return {s.reg, s.recordId, s.serNr}; }
std::tuple<int, uint32_t, int32_t> None() { return {0, 0, -1}; }

class InquiryLists : public RecordFixture {
protected:
    static uint32_t StoreInvoice(int32_t serNr, const char *customer)
    {
        std::vector<uint8_t> inv(IVVc::Size);
        PutI32(inv.data(), IVVc::SerNr, serNr);
        PutText(inv.data(), IVVc::CustCode, customer);
        return InsertHeld(IVVc::Number, inv.data());
    }
    static uint32_t StoreOpenItem(int32_t invoice, const char *customer)
    {
        std::vector<uint8_t> item(ARVc::Size);
        PutI32(item.data(), ARVc::InvoiceNr, invoice);
        PutText(item.data(), ARVc::CustCode, customer);
        return InsertHeld(ARVc::Number, item.data());
    }
    static uint32_t StoreCustomer(const char *code)
    {
        std::vector<uint8_t> c(CUVc::Size);
        PutText(c.data(), CUVc::Code, code);
        return InsertHeld(CUVc::Number, c.data());
    }
    // The open-items list with the row of record `id` selected.
    static int OpenItemsSelecting(uint32_t id)
    {
        int n = OpenOrActivateWindow(WinTypes::CustOpenItemList, 0, 0, true, 0);
        EXPECT_GT(n, 0);
        if (n > 0) ListSelSet(n, 1, int32_t(id));
        return n;
    }
};

TEST_F(InquiryLists, EachKindOfRowNamesItsDocumentOrNone)
{
    std::vector<uint8_t> r(200);
    // Open items and invoice history: the invoice by its number.
    PutI32(r.data(), ARVc::InvoiceNr, 12);
    EXPECT_EQ(Src(InquirySourceOf(ARVc::Number, r.data(), ARVc::Size)), Src({IVVc::Number, 0, 12}));
    PutI32(r.data(), APVc::InvoiceNr, 13);
    EXPECT_EQ(Src(InquirySourceOf(APVc::Number, r.data(), APVc::Size)), Src({VIVc::Number, 0, 13}));
    // A customer transaction: invoice or receipt by its kind; a payment on
    // account (-1) and an unknown kind name none.
    std::fill(r.begin(), r.end(), 0);
    PutI32(r.data(), CustTransVc::DocNr, 44);
    EXPECT_EQ(Src(InquirySourceOf(CustTransVc::Number, r.data(), CustTransVc::Size)), Src({IVVc::Number, 0, 44}));
    PutU16(r.data(), CustTransVc::Kind, 1);
    EXPECT_EQ(Src(InquirySourceOf(CustTransVc::Number, r.data(), CustTransVc::Size)), Src({IPVc::Number, 0, 44}));
    PutU16(r.data(), CustTransVc::Kind, 7);
    EXPECT_EQ(Src(InquirySourceOf(CustTransVc::Number, r.data(), CustTransVc::Size)), None());
    PutU16(r.data(), CustTransVc::Kind, 1);
    PutI32(r.data(), CustTransVc::DocNr, -1);
    EXPECT_EQ(Src(InquirySourceOf(CustTransVc::Number, r.data(), CustTransVc::Size)), None());
    // The vendor ledger: a payment is an outgoing payment.
    std::fill(r.begin(), r.end(), 0);
    PutU16(r.data(), VLVc::Kind, 1);
    PutI32(r.data(), VLVc::DocSerNr, 5);
    EXPECT_EQ(Src(InquirySourceOf(VLVc::Number, r.data(), VLVc::Size)), Src({OPVc::Number, 0, 5}));
    // Item history: the document kind is the register; the issuing side
    // of a movement is a movement; a kind without a window names none.
    std::fill(r.begin(), r.end(), 0);
    PutI32(r.data(), ItemHistVc::DocNr, 9);
    PutU16(r.data(), ItemHistVc::DocType, 65535);
    EXPECT_EQ(Src(InquirySourceOf(ItemHistVc::Number, r.data(), ItemHistVc::Size)),
              Src({StockMoveVc::Number, 0, 9}));
    PutU16(r.data(), ItemHistVc::DocType, SHVc::Number);
    EXPECT_EQ(Src(InquirySourceOf(ItemHistVc::Number, r.data(), ItemHistVc::Size)), Src({SHVc::Number, 0, 9}));
    PutU16(r.data(), ItemHistVc::DocType, CUVc::Number);
    EXPECT_EQ(Src(InquirySourceOf(ItemHistVc::Number, r.data(), ItemHistVc::Size)), None());
    // A posting names its voucher's record; without a record id, none.
    std::fill(r.begin(), r.end(), 0);
    PutU16(r.data(), ATVc::SourceReg, TRVc::Number);
    PutI32(r.data(), ATVc::SourceSerNr, 3);
    PutI32(r.data(), ATVc::SourceRecId, 21);
    EXPECT_EQ(Src(InquirySourceOf(ATVc::Number, r.data(), ATVc::Size)), Src({TRVc::Number, 21, 3}));
    PutI32(r.data(), ATVc::SourceRecId, 0);
    EXPECT_EQ(Src(InquirySourceOf(ATVc::Number, r.data(), ATVc::Size)), None());
    // Kept sums have no document; a record shorter than its register is refused.
    EXPECT_EQ(Src(InquirySourceOf(BLVc::Number, r.data(), BLVc::Size)), None());
    EXPECT_EQ(Src(InquirySourceOf(LSVc::Number, r.data(), LSVc::Size)), None());
    PutI32(r.data(), ARVc::InvoiceNr, 12);
    EXPECT_EQ(Src(InquirySourceOf(ARVc::Number, r.data(), ARVc::Size - 1)), None());
    EXPECT_EQ(Src(InquirySourceOf(ARVc::Number, nullptr, ARVc::Size)), None());
    // Every document named has a window to show it.
    for (int reg : {IVVc::Number, IPVc::Number, VIVc::Number, OPVc::Number, StockMoveVc::Number, TRVc::Number})
        EXPECT_TRUE(WinDefExists(InquirySourceWindowType(reg))) << reg;
}

TEST_F(InquiryLists, OkOpensTheSourceDocumentOrTellsItIsGone)
{
    uint32_t invoice = StoreInvoice(7, "C1");
    ASSERT_NE(invoice, 0u);
    uint32_t item = StoreOpenItem(7, "C1"), orphan = StoreOpenItem(8, "C1");
    ASSERT_NE(item, 0u);

    // The list keeps no record window: no new, no open, but an OK.
    int list = OpenItemsSelecting(item);
    ASSERT_GT(list, 0);
    bool open, nw, ok, cancel;
    EditCommandsState(list, &open, &nw, &ok, &cancel);
    EXPECT_FALSE(open);
    EXPECT_FALSE(nw);
    EXPECT_TRUE(ok);
    ListOpenAsNew(list);
    EXPECT_EQ(WinFindByDef(WinTypes::CustOpenItemList), list);

    CmdListOk(list);
    int shown = WinFindByDef(WinTypes::SalesInvoice);
    ASSERT_GT(shown, 0);
    EXPECT_EQ(WinTable[shown]->recordId, invoice);
    EXPECT_EQ(GetI32(WinRecordBuffer(shown), IVVc::SerNr), 7);
    EXPECT_TRUE(Shown().empty());
    WinClose(shown);

    // An open item whose invoice is not there is told, and nothing opens.
    ListUnmarkAll(list, 0);
    ListSelSet(list, 2, int32_t(orphan));
    CmdListOk(list);
    EXPECT_EQ(WinFindByDef(WinTypes::SalesInvoice), 0);
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0], NoDocument);
}

TEST_F(InquiryLists, APostingWhoseRecordIdNowHoldsAnotherDocumentIsGone)
{
    // Record ids of deleted records are given again: the posting must
    // still find its own voucher number there.
    std::vector<uint8_t> v(TRVc::Size);
    PutI32(v.data(), TRVc::SerNr, 30);
    uint32_t voucher = InsertHeld(TRVc::Number, v.data());
    ASSERT_NE(voucher, 0u);
    std::vector<uint8_t> p(ATVc::Size);
    PutText(p.data(), ATVc::Account, "1910");
    PutU16(p.data(), ATVc::SourceReg, TRVc::Number);
    PutI32(p.data(), ATVc::SourceSerNr, 31);
    PutI32(p.data(), ATVc::SourceRecId, int32_t(voucher));
    uint32_t posting = InsertHeld(ATVc::Number, p.data());
    ASSERT_NE(posting, 0u);
    int list = OpenOrActivateWindow(WinTypes::AccountPostingList, 0, 0, true, 0);
    ASSERT_GT(list, 0);
    ListSelSet(list, 1, int32_t(posting));
    CmdListOk(list);
    EXPECT_EQ(WinFindByDef(WinTypes::Voucher), 0);
    ASSERT_EQ(Shown().size(), 1u);
    EXPECT_EQ(Shown()[0], NoDocument);
}

TEST_F(InquiryLists, TheCustomerWindowOpensItsOpenItemsOnItsOwnCode)
{
    ASSERT_NE(StoreOpenItem(1, "A1"), 0u);
    uint32_t mine = StoreOpenItem(2, "C9");
    ASSERT_NE(StoreOpenItem(3, "D1"), 0u);
    uint32_t customer = StoreCustomer("C9");
    ASSERT_NE(customer, 0u);
    int w = OpenOrActivateWindow(WinTypes::Customers, 0, customer, true, 0);
    ASSERT_GT(w, 0);

    // A place the menu does not have opens nothing.
    EXPECT_FALSE(InquiryListButton(w, 2));
    EXPECT_FALSE(InquiryListButton(w, 0));
    EXPECT_EQ(WinFindByDef(WinTypes::CustOpenItemList), 0);

    WindowButtonEvent(w, 1);
    int list = WinFindByDef(WinTypes::CustOpenItemList);
    ASSERT_GT(list, 0);
    ASSERT_TRUE(ListHasSelection(list));
    EXPECT_EQ(ListSelAnchor(list), int32_t(mine));
    // The button of a window that has no inquiry list does nothing.
    int other = OpenOrActivateWindow(WinTypes::AccessGroupList, 0, 0, true, 0);
    ASSERT_GT(other, 0);
    EXPECT_FALSE(InquiryListButton(other, 1));
}

TEST_F(InquiryLists, TheItemWindowsOwnItemsComeBeforeItsInquiries)
{
    std::vector<uint8_t> item(INVc::Size);
    PutText(item.data(), INVc::Code, "ITEM7");
    uint32_t id = InsertHeld(INVc::Number, item.data());
    ASSERT_NE(id, 0u);
    std::vector<uint8_t> h(ItemHistVc::Size);
    PutText(h.data(), ItemHistVc::ItemCode, "ITEM1");
    ASSERT_NE(InsertHeld(ItemHistVc::Number, h.data()), 0u);
    PutText(h.data(), ItemHistVc::ItemCode, "ITEM7");
    uint32_t mine = InsertHeld(ItemHistVc::Number, h.data());
    int w = OpenOrActivateWindow(WinTypes::Item, 0, id, true, 0);
    ASSERT_GT(w, 0);
    // Items 1 and 2 are the item window's own (a purchase item, a report).
    EXPECT_FALSE(InquiryListButton(w, 1));
    EXPECT_FALSE(InquiryListButton(w, 2));
    EXPECT_TRUE(InquiryListButton(w, 4));
    int list = WinFindByDef(WinTypes::ItemHistoryList);
    ASSERT_GT(list, 0);
    EXPECT_EQ(ListSelAnchor(list), int32_t(mine));
    EXPECT_EQ(WinFindByDef(WinTypes::LocationStockList), 0);
}

}  // namespace
