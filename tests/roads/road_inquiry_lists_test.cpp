// road_inquiry_lists_test.cpp - looking into what the program keeps by
// itself, as a bookkeeper does: an invoice of two ITEM1 for C1 is posted
// in its window and a receipt of 100,00 of it typed and approved; the
// Sales module's register popup opens the customers' open items, where
// C1's row shows the invoice with 150,00 left and Return opens the
// invoice itself; the customer window's Operations > Open items opens the
// same list on C1. A voucher of rent is typed; the account window of 5010
// opens, by Operations > Postings, the account's postings on its row,
// whose Return opens the voucher. The company file then holds the open
// item with what is left and the posting of the voucher.
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <memory>
#include <string>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/msg_buffer.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "shell/list_windows.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

namespace fs = std::filesystem;
constexpr int ReceiptList = 40, Receipt = 41;
constexpr int RcptAmount = 3;

double Num(const uint8_t *base, uint32_t at)
{
    PackedDecimal d = GetDec(base, at);
    return DecIsBlank(&d) ? 0 : DecToDouble(&d);
}

// The texts the active list window shows in its selected row, column by
// column as it paints them, joined by " | "; "" without a selection.
std::string SelectedRowShown()
{
    int n = RoadTest::Active();
    if (!n || !ListHasSelection(n)) return "";
    int32_t id = ListSelAnchor(n);
    int reg = WinRegisterOf(n);
    if (id <= 0 || reg == 0) return "";
    MemBlock h = 0;
    uint8_t *rec = RecBufferNew(reg, &h);
    std::string shown;
    MsgBuffer texts;
    if (rec && RecReadById(reg, uint32_t(id), rec) && RowFieldsToMsg(&texts, WinTypeOf(n), reg, rec)) {
        MsgRewind(&texts);
        PString text;
        while (MsgRemaining(&texts) > 0 && MsgGetPString(&texts, text)) {
            if (!shown.empty()) shown += " | ";
            shown += std::string(reinterpret_cast<const char *>(text + 1), text[0]);
        }
    }
    RecBufferFree(reg, &h);
    return shown;
}

bool Holds(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

class InquiryListsRoad : public RoadTest {};

TEST_F(InquiryListsRoad, OpenItemsAndPostingsAreSeenFromTheirModulesAndRecords)
{
    const std::string company = StartNewCompany();
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");

    // A posted invoice of 250,00 for C1.
    Menu("Module", "Sales");
    Menu("Registers", "Sales invoices");
    ClickButton("New");
    Check("a new invoice", Opened(WinTypes::SalesInvoice));
    // Ticked before the rows: OK then stores the invoice posted.
    ClickButton("Posted");
    auto invoice = TypeOneRowDocument("C1", 1, "ITEM1", "2");
    Check("the invoice is posted", [] {
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle() << ::testing::PrintToString(Messages());
        return TitleTells("viewing");
    });

    // 100,00 of it received and approved.
    Menu("Window", "Close all");
    Menu("Registers", "Customer receipts");
    Check("the receipt list", Opened(ReceiptList));
    ClickButton("New");
    Check("a new receipt", Opened(Receipt));
    Type("K");
    Key(PlKey::Tab);
    ClickCell(0, 0);
    Type("the invoice number", [invoice] { return *invoice; });
    Key(PlKey::Tab);
    TypeCell(0, RcptAmount, "100");
    Key(PlKey::Tab);
    ClickOk();
    auto receipt = std::make_shared<std::string>();
    Check("the receipt of part of the invoice is stored", [receipt] {
        *receipt = Shown("Number");
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_EQ(Shown("Amount received"), "100,00");
        return TitleTells("viewing") && !receipt->empty();
    });
    Menu("Window", "Close all");
    Menu("Registers", "Customer receipts");
    FindRow("the receipt", receipt);
    Menu("Operations", "Approve");
    Check("the receipt is approved without a word", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        return Messages().empty();
    });

    // The open items from the Sales module's register popup.
    Menu("Window", "Close all");
    Menu("Registers", "Customer open items");
    Check("the popup opens the customers' open items", Opened(WinTypes::CustOpenItemList));
    ClickField("Find");
    Type("C1");
    Key(PlKey::Return);
    Check("C1's row shows the invoice with what is left", [this, invoice, shots] {
        std::string row = SelectedRowShown();
        EXPECT_TRUE(Holds(row, "C1")) << row;
        EXPECT_TRUE(Holds(row, *invoice)) << row;
        EXPECT_TRUE(Holds(row, "250,00")) << row;
        EXPECT_TRUE(Holds(row, "150,00")) << row;
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "customer_open_items.png"));
        return !row.empty();
    });
    Key(PlKey::Return);
    Check("Return opens the invoice the row came from", [invoice] {
        EXPECT_EQ(ActiveType(), WinTypes::SalesInvoice) << ActiveTitle();
        EXPECT_EQ(Shown("Number"), *invoice);
        return ActiveType() == WinTypes::SalesInvoice;
    });

    // The same list from the customer's own window.
    Menu("Window", "Close all");
    Menu("Registers", "Customers");
    OpenFromList("C1", WinTypes::Customers);
    Menu("Operations", "Open items");
    Check("the customer's operations menu opens its open items", [invoice] {
        EXPECT_EQ(ActiveType(), WinTypes::CustOpenItemList) << ActiveTitle();
        std::string row = SelectedRowShown();
        EXPECT_TRUE(Holds(row, "C1")) << row;
        EXPECT_TRUE(Holds(row, *invoice)) << row;
        EXPECT_TRUE(Holds(row, "150,00")) << row;
        return ActiveType() == WinTypes::CustOpenItemList;
    });

    // A voucher of rent, then the postings of 5010 from its account window.
    Menu("Window", "Close all");
    Menu("Module", "General ledger");
    TypeVoucherRows("Rent", {{"5010", "400", ""}, {"1930", "", "400"}});
    OkStoresQuietly("voucher");
    auto voucher = std::make_shared<std::string>();
    Check("the voucher shows its number", [voucher] {
        *voucher = Shown("Number");
        return !voucher->empty();
    });
    Menu("Window", "Close all");
    Menu("Registers", "Accounts");
    OpenFromList("5010", WinTypes::Accounts);
    Menu("Operations", "Postings");
    Check("the account's operations menu opens its postings", [this, voucher, shots] {
        EXPECT_EQ(ActiveType(), WinTypes::AccountPostingList) << ActiveTitle();
        std::string row = SelectedRowShown();
        EXPECT_TRUE(Holds(row, "5010")) << row;
        EXPECT_TRUE(Holds(row, " | 11 | " + *voucher)) << row;
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "account_postings.png"));
        return ActiveType() == WinTypes::AccountPostingList;
    });
    Key(PlKey::Return);
    Check("Return opens the voucher", [voucher] {
        EXPECT_EQ(ActiveType(), WinTypes::Voucher) << ActiveTitle();
        EXPECT_EQ(Shown("Number"), *voucher);
        EXPECT_EQ(Shown("Text"), "Rent");
        return ActiveType() == WinTypes::Voucher;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> item(ARVc::Size);
    PutI32(item.data(), ARVc::InvoiceNr, std::stoi(*invoice));
    uint32_t id = 0, position = 0;
    ASSERT_TRUE(RecFindByIndex(ARVc::Number, "InvoiceNr", item.data(), 1, 1, &id, &position));
    EXPECT_EQ(TextAt(item.data(), ARVc::CustCode), "C1");
    EXPECT_NEAR(Num(item.data(), ARVc::OpenAmount), 150, 0.005);
    EXPECT_NEAR(Num(item.data(), ARVc::InvAmount), 250, 0.005);
    // The rent's posting on 5010 names the voucher it came from.
    std::vector<uint8_t> posting(ATVc::Size);
    PStringFromC(posting.data() + ATVc::Account, "5010");
    ASSERT_TRUE(RecFindByIndex(ATVc::Number, "AccDate", posting.data(), 1, 0, &id, &position));
    EXPECT_EQ(TextAt(posting.data(), ATVc::Account), "5010");
    EXPECT_EQ(GetU16(posting.data(), ATVc::SourceReg), TRVc::Number);
    EXPECT_EQ(std::to_string(GetI32(posting.data(), ATVc::SourceSerNr)), *voucher);
    CloseForCheck();
}

}  // namespace
