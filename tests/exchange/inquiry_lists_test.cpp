// inquiry_lists_test.cpp - the read-only lists of the kept registers: the
// source document each kind of row names (and the rows that name none),
// OK opening that document or telling that it is gone, no new or open
// record from such a list, and a record window's operations item opening
// its list on its own code.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "database/access/remote_calls.h"
#include "database/access/transport.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "exchange/text_exchange.h"
#include "rules/ledger.h"
#include "tests/net/serve_here.h"
#include "platform/script.h"
#include "recordwin/inquiry_lists.h"
#include "recordwin/record_windows.h"
#include "shell/field_editing.h"
#include "shell/list_windows.h"
#include "shell/record_commands.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"
#include "tests/shell/record_fixture.h"
#include "tests/shell/record_test_helpers.h"

namespace {

const std::string NoDocument = "The document of this row is not in the company.";
const std::string ColumnRefused = "This list shows the rows of one code only; it cannot be sorted by this column.";
const std::string RowsChanged =
    "The rows changed while they were read; nothing is shown. Scroll or refresh to read them again.";
const std::string FindNothing = "Nothing in the list comes at or after this key.";

// A PString of a C text, for the filter's code and label.
std::vector<uint8_t> P(const char *text)
{
    std::vector<uint8_t> p(256);
    PStringFromC(p.data(), text);
    return p;
}

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
    EXPECT_FALSE(InquiryListButton(w, 4));
    EXPECT_FALSE(InquiryListButton(w, 0));
    EXPECT_EQ(WinFindByDef(WinTypes::CustOpenItemList), 0);

    WindowButtonEvent(w, 1);
    int list = WinFindByDef(WinTypes::CustOpenItemList);
    ASSERT_GT(list, 0);
    ASSERT_TRUE(ListHasSelection(list));
    EXPECT_EQ(ListSelAnchor(list), int32_t(mine));
    // Limited to the customer's own rows: the neighbours' are not there.
    EXPECT_TRUE(ListFilterOn(list));
    EXPECT_EQ(WinRegisterCount(list), 2);
    std::vector<int32_t> ids = ListRowIds(list);
    ASSERT_FALSE(ids.empty());
    EXPECT_EQ(ids[0], int32_t(mine));
    for (size_t i = 1; i < ids.size(); i++) EXPECT_EQ(ids[i], -1) << i;
    EXPECT_NE(TitleOf(list).find("for C9"), std::string::npos) << TitleOf(list);
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

// A record of register reg of `size` bytes with `code` at codeAt (and a
// second text at `at`, when given), stored.
uint32_t StoreCoded(int reg, uint32_t size, uint32_t codeAt, const char *code, uint32_t at = 0,
                    const char *text = nullptr)
{
    std::vector<uint8_t> r(size);
    PutText(r.data(), codeAt, code);
    if (text) PutText(r.data(), at, text);
    return InsertHeld(reg, r.data());
}

// The ids list n shows, in order, up to the first band without a record.
std::vector<int32_t> IdsShown(int n)
{
    std::vector<int32_t> out;
    for (int32_t id : ListRowIds(n)) {
        if (id < 0) break;
        out.push_back(id);
    }
    return out;
}

// The open items of customers A1 (the first code), C5 (three), C9 and
// Z9 (the last code), and the list of them to be limited.
class InquiryFilter : public InquiryLists {
protected:
    std::vector<uint32_t> c5;
    uint32_t a1 = 0, c9 = 0, z9 = 0;
    int list = 0;

    void SetUp() override
    {
        InquiryLists::SetUp();
        if (HasFatalFailure()) return;
        a1 = StoreOpenItem(1, "A1");
        for (int32_t nr : {12, 10, 11}) c5.push_back(StoreOpenItem(nr, "C5"));
        c9 = StoreOpenItem(2, "C9");
        z9 = StoreOpenItem(3, "Z9");
        list = OpenOrActivateWindow(WinTypes::CustOpenItemList, 0, 0, true, 0);
        ASSERT_GT(list, 0);
    }
    std::vector<int32_t> Shown() { return IdsShown(list); }
    // Types key into the list's Find field and finds it as Return does.
    void Find(const char *key)
    {
        ASSERT_TRUE(WinGotoField(list, 1, true));
        WinTypeText(list, P(key).data());
        WinFindByTypedKey(list);
    }
};

TEST_F(InquiryFilter, OnlyTheCodesRowsAreScrolledSelectedFoundAndCounted)
{
    ASSERT_TRUE(ListFilterSet(list, "CustCode", P("C5").data(), P("C5 Fifth Street").data()));
    EXPECT_TRUE(ListFilterOn(list));
    EXPECT_EQ(WinRegisterCount(list), 4);   // three rows + 1, as unfiltered lists count
    // By the customer index the invoices follow their numbers: 10, 11, 12.
    EXPECT_EQ(Shown(), (std::vector<int32_t>{int32_t(c5[1]), int32_t(c5[2]), int32_t(c5[0])}));
    EXPECT_EQ(ListSelAnchor(list), int32_t(c5[1]));
    EXPECT_NE(TitleOf(list).find("Customer open items for C5 Fifth Street"), std::string::npos) << TitleOf(list);

    // The selection stops at the code's last row, not at the register's.
    EXPECT_TRUE(ListMoveSelection(list, 1, false));
    EXPECT_TRUE(ListMoveSelection(list, 1, false));
    EXPECT_EQ(ListSelAnchor(list), int32_t(c5[0]));
    EXPECT_FALSE(ListMoveSelection(list, 1, false));
    EXPECT_EQ(ListSelAnchor(list), int32_t(c5[0]));
    // A scroll cannot bring the next code's rows in.
    ListScrollTo(list, 0, 50);
    EXPECT_EQ(Shown().size(), 3u);

    // Find sees the code's rows only: a key before them finds the first,
    // one after them finds nothing, and the selection stays.
    Find("A");
    EXPECT_EQ(ListSelAnchor(list), int32_t(c5[1]));
    EXPECT_TRUE(MessagesShown.empty());
    Find("D");
    ASSERT_EQ(MessagesShown.size(), 1u);
    EXPECT_EQ(MessagesShown[0], FindNothing);

    // Sorting by the invoice number would scatter the code's rows: refused
    // and told; the name column sorts by the same index and is taken.
    MessagesShown.clear();
    SetWindowStateWord(list, 2);
    EXPECT_EQ(WinListColumn(list), 0);
    ASSERT_EQ(MessagesShown.size(), 1u);
    EXPECT_EQ(MessagesShown[0], ColumnRefused);
    SetWindowStateWord(list, 1);
    EXPECT_EQ(WinListColumn(list), 1);

    // Rows of other codes that come meanwhile move the range, not the rows.
    uint32_t before = StoreOpenItem(4, "B2");
    ASSERT_NE(before, 0u);
    ListRefresh(list);
    EXPECT_EQ(Shown(), (std::vector<int32_t>{int32_t(c5[1]), int32_t(c5[2]), int32_t(c5[0])}));

    // Cleared, the list is the register's again, and the title says so.
    ListFilterClear(list);
    EXPECT_FALSE(ListFilterOn(list));
    EXPECT_EQ(WinRegisterCount(list), 8);
    EXPECT_EQ(TitleOf(list).find(" for "), std::string::npos);
    SetWindowStateWord(list, 2);
    EXPECT_EQ(WinListColumn(list), 2);
}

TEST_F(InquiryFilter, TheFirstAndLastCodesAndACodeWithoutRows)
{
    ASSERT_TRUE(ListFilterSet(list, "CustCode", P("A1").data(), nullptr));
    EXPECT_EQ(Shown(), (std::vector<int32_t>{int32_t(a1)}));
    EXPECT_NE(TitleOf(list).find("for A1"), std::string::npos);
    ASSERT_TRUE(ListFilterSet(list, "CustCode", P("Z9").data(), nullptr));
    EXPECT_EQ(Shown(), (std::vector<int32_t>{int32_t(z9)}));
    EXPECT_FALSE(ListMoveSelection(list, 1, false));
    EXPECT_FALSE(ListMoveSelection(list, -1, false));

    // A code between others with no row of its own shows nothing, not its
    // neighbours, and selects nothing; so does one after the last.
    for (const char *none : {"C7", "ZZ", "0"}) {
        ASSERT_TRUE(ListFilterSet(list, "CustCode", P(none).data(), nullptr)) << none;
        EXPECT_TRUE(Shown().empty()) << none;
        EXPECT_EQ(WinRegisterCount(list), 1) << none;
        EXPECT_FALSE(ListHasSelection(list)) << none;
        EXPECT_FALSE(ListMoveSelection(list, 1, false)) << none;
    }
    // Return on an empty filtered list finds nothing and opens nothing.
    Find("A");
    EXPECT_EQ(WinFindByDef(WinTypes::SalesInvoice), 0);
    ASSERT_FALSE(MessagesShown.empty());
    EXPECT_EQ(MessagesShown.back(), FindNothing);
}

TEST_F(InquiryFilter, AFilterTheListCannotKeepIsRefusedAndChangesNothing)
{
    ASSERT_TRUE(ListFilterSet(list, "CustCode", P("C9").data(), nullptr));
    // No such index, an index the list has no column of, a numeric first
    // part, a code longer than the field, an empty code: all refused.
    EXPECT_FALSE(ListFilterSet(list, "NoSuchIndex", P("C5").data(), nullptr));
    EXPECT_FALSE(ListFilterSet(list, "InvoiceNr", P("C5").data(), nullptr));
    EXPECT_FALSE(ListFilterSet(list, "CustCode", P("C5C5C5C5C5C5C5C5C5C5C5C5").data(), nullptr));
    EXPECT_FALSE(ListFilterSet(list, "CustCode", P("").data(), nullptr));
    int other = OpenOrActivateWindow(WinTypes::Customers, 0, 0, true, 0);
    ASSERT_GT(other, 0);
    EXPECT_FALSE(ListFilterSet(other, "CustCode", P("C5").data(), nullptr));
    // The list still shows C9's row alone.
    EXPECT_EQ(Shown(), (std::vector<int32_t>{int32_t(c9)}));
}

TEST_F(InquiryFilter, AClientsFilteredListReadsThroughTheServerAndNeverShowsMovedRows)
{
    RemoteOpsInstall();
    TransportInstall(ServeHere, ServeHere);
    RunMode = RunModeClient;
    struct Restore {
        ~Restore()
        {
            RunMode = 1;
            RemoteOps = RemoteOpsTable{};
            TransportInstall(nullptr, nullptr);
        }
    } restore;

    ASSERT_TRUE(ListFilterSet(list, "CustCode", P("C5").data(), nullptr));
    EXPECT_EQ(Shown(), (std::vector<int32_t>{int32_t(c5[1]), int32_t(c5[2]), int32_t(c5[0])}));
    EXPECT_EQ(WinRegisterCount(list), 4);
    EXPECT_TRUE(MessagesShown.empty());

    // Another client stores a row before C5's while this one reads its
    // rows: what came back may be another code's, so nothing is shown.
    static uint32_t Slipped;
    Slipped = 0;
    TransportInstall(
        [](uint16_t code, MsgBuffer *request, MsgBuffer *reply) {
            if (code == ReqListRows && Slipped == 0) {
                RunMode = 1;
                Slipped = StoreOpenItem(5, "B1");
                RunMode = RunModeClient;
            }
            return ServeHere(code, request, reply);
        },
        ServeHere);
    ListRefresh(list);
    ASSERT_NE(Slipped, 0u);
    EXPECT_TRUE(Shown().empty());
    ASSERT_EQ(MessagesShown.size(), 1u);
    EXPECT_EQ(MessagesShown[0], RowsChanged);
    // Read again, the range holds and the rows are C5's.
    ListRefresh(list);
    EXPECT_EQ(Shown(), (std::vector<int32_t>{int32_t(c5[1]), int32_t(c5[2]), int32_t(c5[0])}));
}

// A period block of `kinds` amounts a month with `amount` at (month of
// date, kind).
MemBlock PeriodBlock(int kinds, std::initializer_list<std::tuple<DateRec, int, int>> amounts)
{
    MemBlock block = 0;
    for (auto [date, kind, value] : amounts) {
        PackedDecimal d;
        DecFromLong(&d, value);
        EXPECT_TRUE(AddToPeriodAmount(&block, kinds, kind, MonthIndex(&date), &d));
    }
    return block;
}

TEST_F(InquiryLists, PeriodSumListsShowNamesAndThisYearsSumsAndOpenTheirRecord)
{
    // Today is 15.6.2024 and the company keeps no fiscal years: the year
    // is 2024. Sales of December 2023 and January 2025 are not this year's.
    TodayDate = DateRec{15, 6, 2024};
    uint16_t first = 0, last = 0;
    DateRec jan{1, 1, 2024}, dec{31, 12, 2024};
    InquiryYearMonths(&TodayDate, &first, &last);
    EXPECT_EQ(first, MonthIndex(&jan));
    EXPECT_EQ(last, MonthIndex(&dec));

    uint32_t customer = StoreCustomer("C1");
    std::vector<uint8_t> c(CUVc::Size);
    ASSERT_TRUE(StoredRecord(CUVc::Number, customer, c.data(), CUVc::Size));
    std::vector<uint8_t> stats(CSVc::Size);
    PutText(stats.data(), CSVc::CustCode, "C1");
    PutU32(stats.data(), CSVc::Amounts,
           PeriodBlock(5, {{DateRec{20, 12, 2023}, 0, 7}, {DateRec{3, 3, 2024}, 0, 100}, {DateRec{9, 6, 2024}, 0, 25},
                           {DateRec{2, 1, 2025}, 0, 1000}, {DateRec{3, 3, 2024}, 3, 60}}));
    auto text = [&](int type, int column, const uint8_t *rec) {
        uint8_t t[256];
        InquiryColumnText(type, column, rec, t);
        return std::string(PStringView(t));
    };
    EXPECT_EQ(text(WinTypes::CustStatList, 2, stats.data()), "125,00");
    EXPECT_EQ(text(WinTypes::CustStatList, 3, stats.data()), "60,00");
    EXPECT_EQ(text(WinTypes::CustStatList, 4, stats.data()), "0,00");
    // The customer's name column: empty while C1 has none, and for a code
    // that names no customer; the code column and other types give nothing.
    EXPECT_EQ(text(WinTypes::CustStatList, 1, stats.data()), "");
    EXPECT_EQ(text(WinTypes::CustStatList, 0, stats.data()), "");
    EXPECT_EQ(text(WinTypes::CustOpenItemList, 2, stats.data()), "");
    EXPECT_EQ(text(WinTypes::CustStatList, 9, stats.data()), "");

    // A fiscal year from July 2023 to June 2024 holds today: its months
    // count, December 2023 among them, and not what came after June.
    PString year;
    PStringFromC(year, "2324");
    DateRec july{1, 7, 2023}, june{30, 6, 2024};
    ASSERT_TRUE(InsertYear(year, &july, &june));
    ASSERT_EQ(SettingsBlockStoreHandle(FiscalYearBlk::Number, FiscalYearRows), RecDone);
    InquiryYearMonths(&TodayDate, &first, &last);
    EXPECT_EQ(first, MonthIndex(&july));
    EXPECT_EQ(last, MonthIndex(&june));
    EXPECT_EQ(text(WinTypes::CustStatList, 2, stats.data()), "132,00");
    uint32_t statsId = InsertHeld(CSVc::Number, stats.data());
    ASSERT_NE(statsId, 0u);

    // An item's quantity shows three decimals at most, its sales two.
    std::vector<uint8_t> item(ISVc::Size);
    PutText(item.data(), ISVc::ItemCode, "I1");
    PutU32(item.data(), ISVc::Amounts, PeriodBlock(3, {{DateRec{3, 3, 2024}, 0, 4}, {DateRec{3, 3, 2024}, 1, 90}}));
    EXPECT_EQ(text(WinTypes::ItemStatList, 2, item.data()), "4");
    EXPECT_EQ(text(WinTypes::ItemStatList, 3, item.data()), "90,00");
    uint32_t orphan = InsertHeld(ISVc::Number, item.data());
    ASSERT_NE(orphan, 0u);

    // The list: no new, no open; OK opens the customer of the row.
    int list = OpenOrActivateWindow(WinTypes::CustStatList, 0, 0, true, 0);
    ASSERT_GT(list, 0);
    bool open, nw, ok, cancel;
    EditCommandsState(list, &open, &nw, &ok, &cancel);
    EXPECT_FALSE(open);
    EXPECT_FALSE(nw);
    ListSelSet(list, 1, int32_t(statsId));
    CmdListOk(list);
    int shown = WinFindByDef(WinTypes::Customers);
    ASSERT_GT(shown, 0);
    EXPECT_EQ(WinTable[shown]->recordId, customer);

    // An item statistics row whose item is not kept is told, nothing opens.
    int items = OpenOrActivateWindow(WinTypes::ItemStatList, 0, 0, true, 0);
    ASSERT_GT(items, 0);
    ListSelSet(items, 1, int32_t(orphan));
    CmdListOk(items);
    EXPECT_EQ(WinFindByDef(WinTypes::Item), 0);
    ASSERT_EQ(InquiryLists::Shown().size(), 1u);
    EXPECT_EQ(InquiryLists::Shown()[0], NoDocument);
}

TEST_F(InquiryLists, EachVendorAndAccountItemOpensItsListLimitedToTheRecord)
{
    uint32_t vendor = StoreCoded(VEVc::Number, VEVc::Size, VEVc::Code, "V1", VEVc::Name, "Vendor One");
    ASSERT_NE(vendor, 0u);
    for (const char *other : {"V0", "V2"}) {
        StoreCoded(APVc::Number, APVc::Size, APVc::VendCode, other);
        StoreCoded(VLVc::Number, VLVc::Size, VLVc::VendCode, other);
        StoreCoded(VBVc::Number, VBVc::Size, VBVc::VendCode, other);
    }
    uint32_t open = StoreCoded(APVc::Number, APVc::Size, APVc::VendCode, "V1");
    uint32_t entry = StoreCoded(VLVc::Number, VLVc::Size, VLVc::VendCode, "V1");
    uint32_t balance = StoreCoded(VBVc::Number, VBVc::Size, VBVc::VendCode, "V1");
    int w = OpenOrActivateWindow(WinTypes::Vendors, 0, vendor, true, 0);
    ASSERT_GT(w, 0);
    const std::tuple<int, int, uint32_t> items[] = {{1, WinTypes::VendOpenItemList, open},
                                                    {2, WinTypes::VendLedgerList, entry},
                                                    {3, WinTypes::VendBalanceList, balance}};
    for (auto [place, type, mine] : items) {
        EXPECT_TRUE(InquiryListButton(w, place)) << place;
        int list = WinFindByDef(type);
        ASSERT_GT(list, 0) << place;
        EXPECT_TRUE(ListFilterOn(list)) << place;
        EXPECT_EQ(IdsShown(list), (std::vector<int32_t>{int32_t(mine)})) << place;
        EXPECT_NE(TitleOf(list).find("for V1 Vendor One"), std::string::npos) << TitleOf(list);
    }

    // An account's balances: every object list of the account, no other account's.
    uint32_t account = StoreCoded(ACVc::Number, ACVc::Size, ACVc::Code, "1910", ACVc::Name, "Cash");
    ASSERT_NE(account, 0u);
    StoreCoded(BLVc::Number, BLVc::Size, BLVc::Account, "1900");
    uint32_t plain = StoreCoded(BLVc::Number, BLVc::Size, BLVc::Account, "1910");
    uint32_t withObject = StoreCoded(BLVc::Number, BLVc::Size, BLVc::Account, "1910", BLVc::Objects, "P1");
    StoreCoded(BLVc::Number, BLVc::Size, BLVc::Account, "19100");
    int a = OpenOrActivateWindow(WinTypes::Accounts, 0, account, true, 0);
    ASSERT_GT(a, 0);
    EXPECT_TRUE(InquiryListButton(a, 2));
    int balances = WinFindByDef(WinTypes::BalanceList);
    ASSERT_GT(balances, 0);
    EXPECT_EQ(IdsShown(balances), (std::vector<int32_t>{int32_t(plain), int32_t(withObject)}));

    // A new vendor not stored yet has no code: its list shows every row.
    int fresh = OpenOrActivateWindow(WinTypes::Vendors, 0, 0, true, 0);
    ASSERT_GT(fresh, 0);
    EXPECT_TRUE(InquiryListButton(fresh, 1));
    int all = WinFindByDef(WinTypes::VendOpenItemList);
    EXPECT_FALSE(ListFilterOn(all));
    EXPECT_EQ(IdsShown(all).size(), 3u);
}

}  // namespace

namespace {

// The customer's transactions and the invoice list show each document's
// kind in words and its amount with the sign it moves the balance by: a
// credit note "Credit note" and minus (its stored total stays positive),
// a cash invoice in its words, a receipt with its minus (its stored
// amount stays positive); an entry whose invoice is gone reads as an
// invoice; other lists' columns are left to their own texts.
TEST_F(InquiryLists, CreditNotesShowInWordsAndWithTheirMinus)
{
    auto dec = [](double x) {
        PackedDecimal d;
        DecFromDouble(&d, x);
        return d;
    };
    auto invoice = [dec](int32_t serial, uint16_t kind, double total) {
        std::vector<uint8_t> inv(IVVc::Size);
        PutI32(inv.data(), IVVc::SerNr, serial);
        PutText(inv.data(), IVVc::CustCode, "C1");
        PutU16(inv.data(), IVVc::InvType, kind);
        PutDec(inv.data(), IVVc::Total, dec(total));
        EXPECT_NE(InsertHeld(IVVc::Number, inv.data()), 0u);
        return inv;
    };
    auto text = [](int type, int column, const uint8_t *rec) {
        uint8_t t[256];
        RowExtraText(type, column, rec, t);
        return std::string(PStringView(t));
    };
    constexpr int TransKind = 2, TransAmount = 6, ListKind = 3, ListTotal = 5;
    struct Case {
        int32_t serial;
        uint16_t kind;   // of the invoice; 9: none stored
        uint16_t entry;  // 0 an invoice's entry, 1 a receipt's
        const char *words, *amount;
    };
    for (const Case &c : {Case{101, 1, 0, "Invoice", "784,00"}, Case{102, 3, 0, "Credit note", "-392,00"},
                          Case{103, 2, 0, "Cash invoice", "784,00"}, Case{104, 9, 0, "Invoice", "392,00"},
                          Case{105, 3, 1, "Receipt", "-392,00"}}) {
        const double total = c.kind == 3 || c.serial == 104 ? 392 : 784;
        std::vector<uint8_t> inv = c.kind == 9 ? std::vector<uint8_t>(IVVc::Size) : invoice(c.serial, c.kind, total);
        std::vector<uint8_t> entry(CustTransVc::Size);
        PutU16(entry.data(), CustTransVc::Kind, c.entry);
        PutI32(entry.data(), CustTransVc::DocNr, c.serial);
        PutDec(entry.data(), CustTransVc::Amount, dec(total));
        EXPECT_EQ(text(WinTypes::CustTransList, TransKind, entry.data()), c.words) << c.serial;
        EXPECT_EQ(text(WinTypes::CustTransList, TransAmount, entry.data()), c.amount) << c.serial;
        if (c.kind == 9 || c.entry != 0) continue;
        EXPECT_EQ(text(WinTypes::SalesInvoiceList, ListKind, inv.data()), c.words) << c.serial;
        EXPECT_EQ(text(WinTypes::SalesInvoiceList, ListTotal, inv.data()), c.amount) << c.serial;
        const PackedDecimal stored = GetDec(inv.data(), IVVc::Total);
        EXPECT_EQ(DecToDouble(&stored), total) << "the stored total keeps its sign";
    }
    // A column the list draws from its bytes gets no text of the window's.
    std::vector<uint8_t> credit = invoice(106, 3, 10);
    EXPECT_EQ(text(WinTypes::SalesInvoiceList, 0, credit.data()), "");
    EXPECT_EQ(text(WinTypes::CustOpenItemList, ListTotal, credit.data()), "");
}

}  // namespace
