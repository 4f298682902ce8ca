// road_company_from_nothing_purchase_test.cpp - the first purchase of a
// company started without the demo data, bought for stock and paid by the
// bank's file. After the ledger and the sales set-up, the purchase set-up
// is typed in the settings windows: the stock, payables and clearing
// accounts, the posting of purchases and payments, the payment mode, the
// company's bank account and its Swedish bank file format, and the number
// series. Then the registers: payment terms of 30 days, the unit, the
// location on the stock account, the vendor with its terms and bank giro,
// the item in its unit (a unit the register lacks refused first) and the
// vendor's terms for it. A purchase order of a hundred bolts at the
// location, printed before any form is chosen, is refused with the name of
// the window that chooses it (which Settings > Forms lists); its form is
// drawn in the designer and chosen there, and the order prints on it for
// the vendor and becomes its goods receipt and then the vendor's invoice,
// approved and due by the vendor's thirty days; the payment suggestion
// pays it, the payment is approved and posted and goes out in the bank
// payment file. The file pays the vendor's bank giro the amount; the
// purchase-invoice journal, the payment journal and the trial balance of
// the year print what was posted; the company file holds only what was typed, balanced
// vouchers and no open item. The vendor's bank giro is also its account
// number: the domestic file pays to the account the payment rows carry.
// Menus: in General ledger, Registers > Accounts, Settings > Posting...; in
// Purchasing, Registers > Payment terms, Registers > Units, Registers >
// Vendors, Registers > Purchase items, Registers > Purchase orders,
// Settings > Forms..., Operations > Purchase, Operations > Purchase
// invoice, Registers > Outgoing payments; in Stock, Registers > Locations, Registers > Item
// list, Registers > Goods receipts; File > Reports (Ctrl+R) > "Purchase
// Invoice Journal", File > Reports (Ctrl+R) > "Outgoing Payments", File >
// Reports (Ctrl+R) > "Trial Balance".
// Windows: Trial balances and sales-ledger accounts selection, Payment
// suggestion, Payment journal selection (reports 28 and 92), Payment terms
// list, Payment terms, Unit list, Unit, Location list, Location, Item list,
// Item, Purchase item list, Purchase item, Forms, Forms: purchase orders, Purchase
// order list, Purchase order, Goods receipt, Purchase invoice, Outgoing
// payment list, Outgoing payment, Purchase invoice journal selection,
// Account list, Account, Posting to the ledger, Series: purchase orders,
// Series: purchases, Goods receipt list.
#include "tests/roads/road_company_from_nothing.h"
#include "tests/roads/road_form_steps.h"
#include "tests/roads/road_text.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>

#include "core/date.h"
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "platform/dialog.h"
#include "dict_offsets.h"
#include "platform/queue.h"

namespace {

namespace fs = std::filesystem;

constexpr int TrialBalanceSel = 428, PaymentSuggestion = 313, PaymentJournalSel = 435;
// The purchase order's rows: the item first, the price in the sixth column.
constexpr int ColItem = 0, ColPrice = 5;

// The company's bank account, the paying account of its payments, and
// the vendor's bank giro.
const std::string CompanyBank = "5555-1234", VendorGiro = "5050-1055";

class CompanyFromNothingPurchaseRoad : public CompanyFromNothingRoad {
protected:
    // The registers a purchase names, each from its list's New: the terms,
    // the unit and the location, the vendor, the item and the vendor's
    // terms for it.
    void TypeTradeRegisters()
    {
        Menu("Module", "Purchasing");
        NewFromList("Payment terms", WinTypes::PayTermsList, WinTypes::PayTerms);
        TypeFields({{"Code", "30"}, {"Name", "30 days"}});
        Retype("Days", "30");
        OkStoresQuietly("the payment terms");
        NewFromList("Units", WinTypes::UnitList, WinTypes::Units);
        TypeFields({{"Code", "PCS"}, {"Name", "Piece"}});
        OkStoresQuietly("the unit");
        Menu("Module", "Stock");
        NewFromList("Locations", WinTypes::LocationList, WinTypes::Locations);
        TypeFields({{"Code", "MAIN"}, {"Name", "Main store"}, {"Stock account", "1460"}});
        OkStoresQuietly("the location");
        Menu("Window", "Close all");

        TypeVendor({"V1", "Fjord Supply AB", "Hamngatan 5", "30", "4010", VendorGiro, VendorGiro});

        Menu("Module", "Stock");
        NewFromList("Item list", WinTypes::ItemList, WinTypes::Item);
        // A unit the register lacks is refused on its field, nothing
        // typed lost; the unit made above is taken.
        TypeFields({{"Code", "BOLT"}, {"Name", "Steel bolt"}, {"Unit", "BOX"}});
        Retype("Price", "20");
        TypeFields({{"Sales account", "3010"}, {"VAT code", "1"}});
        ClickButton("Kept in stock");
        auto told = CountTold();
        ClickOk();
        Check("a unit the register lacks is refused on its field", [told] {
            EXPECT_EQ(Messages().size(), *told + 1) << ::testing::PrintToString(Messages());
            EXPECT_TRUE(TitleTells("new")) << ActiveTitle();
            EXPECT_EQ(FocusLabel(), "Unit");
            EXPECT_EQ(Shown("Name"), "Steel bolt");
            EXPECT_EQ(Shown("Sales account"), "3010");
            return ActiveType() == WinTypes::Item;
        });
        Retype("Unit", "PCS");
        KeepPicture("nothing_purchase_item");
        OkStoresQuietly("the item");
        Menu("Module", "Purchasing");
        NewFromList("Purchase items", WinTypes::PurchaseItemList, WinTypes::PurchaseItem);
        TypeFields({{"Item", "BOLT"}, {"Vendor", "V1"}, {"Vendor's code", "FS-10"}});
        Retype("Price", "8");
        ClickButton("Default source");
        OkStoresQuietly("the vendor's terms for the bolt");
        Menu("Window", "Close all");
    }
};

TEST_F(CompanyFromNothingPurchaseRoad, APurchaseForStockIsReceivedInvoicedAndPaidByTheBankFile)
{
    WriteFirstUserOnly();
    const std::string company = StartNewCompany("buy.VDB");
    TypeTheLedger();
    TypeSalesSetUp();
    TypePurchaseSetUp("5", CompanyBank);
    TypeTradeRegisters();
    // Settings > Forms lists the documents whose form a user chooses.
    Menu("Module", "Purchasing");
    Menu("Settings", "Forms...");
    Check("the Forms window lists the documents, purchase orders among them", [] {
        const std::vector<std::string> rows = ListRows();
        EXPECT_NE(std::find(rows.begin(), rows.end(), "Purchase orders"), rows.end())
            << ActiveTitle() << ": " << ::testing::PrintToString(rows);
        return true;
    });
    Menu("Window", "Close all");
    // ---- The order: a hundred bolts at the vendor's 8, to the main store.
    Menu("Module", "Purchasing");
    NewFromList("Purchase orders", WinTypes::PurchaseOrderList, WinTypes::PurchaseOrder);
    ClickField("Vendor");
    Type("V1");
    Key(PlKey::Tab);
    ClickButton("Terms");
    Check("the order takes the vendor's terms", [] {
        EXPECT_EQ(Shown("Payment terms"), "30");
        return true;
    });
    ClickField("Location");
    Type("MAIN");
    ClickButton("Rows");
    ClickCell(0, ColItem);
    Type("BOLT");
    Key(PlKey::Tab);
    Type("100");
    Key(PlKey::Tab);
    Check("the order takes the vendor's price and sums the row", [] {
        EXPECT_EQ(Shown("Name"), "Fjord Supply AB");
        EXPECT_EQ(Shown("Net"), "800,00");
        EXPECT_EQ(Shown("Total"), "1000,00");
        return true;
    });
    KeepPicture("nothing_purchase_order");
    OkStoresQuietly("the purchase order");
    auto order = std::make_shared<std::string>();
    Check("the order shows its number", [order] {
        *order = Shown("Number");
        return !order->empty();
    });
    // Printed before any form is chosen for purchase orders: refused,
    // naming the window where the form is chosen.
    auto toldBefore = CountTold();
    Key('P', false, true);
    Check("the print names the window that chooses the form", [toldBefore] {
        EXPECT_EQ(Messages().size(), *toldBefore + 1) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(Told("No form is chosen for purchase orders: choose one in the window \"Forms: purchase "
                         "orders\" under Settings > Forms."))
            << ::testing::PrintToString(Messages());
        return true;
    });
    // The purchase order's form, drawn and chosen: the vendor's address,
    // one line a row and the total.
    {
        using K = FormItemKind;
        DesignForm(*this, "PURCHORD",
                   {{K::Text, "Purchase order", 40, 40, 150},
                    {K::Field, "Purchase order number", 200, 40, 120},
                    {K::Field, "Customer name and address", 40, 70, 260, 14},
                    {K::Field, "Item code", 40, 160, 80, 16},
                    {K::Field, "Row description", 130, 160, 150, 16},
                    {K::Field, "Ordered quantity", 290, 160, 60, 16},
                    {K::Field, "Unit price", 360, 160, 70, 16},
                    {K::Field, "Row sum", 440, 160, 80, 16},
                    {K::Text, "Total", 300, 260, 100},
                    {K::Field, "Total to pay", 440, 260, 100}});
        ChooseForm(*this, "Purchase orders", WinTypes::SetForms147, "PURCHORD");
    }

    // The order again, printed on its form for the vendor.
    Menu("Module", "Purchasing");
    Menu("Registers", "Purchase orders");
    Check("the purchase order list opens", Opened(WinTypes::PurchaseOrderList));
    FindRow("the purchase order", order);
    Key(PlKey::Return);
    Check("the purchase order opens", Opened(WinTypes::PurchaseOrder));
    auto printed = PrintActiveDocument(*this, "nothing_purchase_order");
    Check("the printed order names the vendor, the bolts and the total", [printed, order] {
        for (const std::string &w : {std::string("Purchase order"), *order, std::string("Fjord Supply AB"),
                                     std::string("BOLT"), std::string("Steel bolt"), std::string("8,00"),
                                     std::string("800,00"), std::string("1 000,00")})
            EXPECT_NE(printed->find(w), std::string::npos) << w << " in\n" << *printed;
        return true;
    });

    // ---- Its goods come in.
    Menu("Operations", "Purchase");
    Check("the goods receipt made from the order opens", [] {
        EXPECT_EQ(Shown("Vendor"), "V1");
        EXPECT_EQ(Shown("Location"), "MAIN");
        return Opened(WinTypes::GoodsReceipt)();
    });
    ClickButton("Received");
    KeepPicture("nothing_goods_receipt");
    OkStoresQuietly("the goods receipt");
    Menu("Window", "Close all");

    // ---- The vendor's invoice, made from the order and approved.
    Menu("Registers", "Purchase orders");
    Check("the order list comes back", Opened(WinTypes::PurchaseOrderList));
    FindRow("the purchase order by its number", order);
    Key(PlKey::Return);
    Check("the purchase order opens again", Opened(WinTypes::PurchaseOrder));
    Menu("Operations", "Purchase invoice");
    Check("the purchase invoice made from the order opens", [] {
        EXPECT_EQ(Shown("Name"), "Fjord Supply AB") << ::testing::PrintToString(Messages());
        return Opened(WinTypes::PurchaseInvoice)();
    });
    ClickField("Vendor's invoice");
    Type("F-2001");
    Key(PlKey::Tab);
    ClickButton("Approved");
    KeepPicture("nothing_purchase_invoice");
    OkStoresQuietly("the approved purchase invoice");
    Check("the invoice is of the order's total", [] {
        EXPECT_EQ(DigitsOf(Shown("Total")), "100000") << Shown("Total");
        return true;
    });
    Menu("Window", "Close all");

    // ---- The payment: suggested, approved and posted. The invoice falls
    // due in thirty days, by the vendor's terms; it is paid today.
    RunRoutine("Payment suggestion", PaymentSuggestion,
               {{"Due to", [] { return DayText(30); }},
                {"Payment date", [] { return DayText(0); }},
                {"Payment mode", [] { return std::string("B"); }}},
               "nothing_payment_suggestion");
    Menu("Registers", "Outgoing payments");
    Check("the payment list opens", Opened(WinTypes::OutPaymentList));
    FindRow("the first payment", std::make_shared<std::string>(""));
    Key(PlKey::Return);
    auto payment = std::make_shared<std::string>();
    Check("the suggested payment pays the invoice to the vendor's giro", [payment] {
        EXPECT_EQ(DigitsOf(Shown("Rows total")), "100000") << Shown("Rows total");
        *payment = DigitsOf(Shown("Number"));
        return Opened(WinTypes::OutPayment)() && !payment->empty();
    });
    ClickButton("Approved");
    ClickButton("Posted");
    KeepPicture("nothing_payment");
    OkStoresQuietly("the approved and posted payment");
    Menu("Window", "Close all");

    // ---- The bank's file of the payment.
    const fs::path bankFile = dir / "PAY.TXT";
    WriteBankPaymentFile(bankFile, payment);

    // ---- What the ledger printed.
    Menu("Module", "Purchasing");
    auto journal = ReportToPreviewAndPdf("Purchase Invoice Journal", WinTypes::PurchInvJournalSel,
                                         [this] { ThisYear(); }, "nothing_purchase_journal");
    Menu("Window", "Close all");
    auto payments = ReportToPreviewAndPdf("Outgoing Payments", PaymentJournalSel, [this] { ThisYear(); },
                                          "nothing_payment_journal");
    Menu("Window", "Close all");
    Menu("Module", "General ledger");
    auto trial = ReportToPreviewAndPdf("Trial Balance", TrialBalanceSel, [this] { ThisYear(); }, "nothing_purchase_trial");
    EXPECT_EQ(Run(), 0);

    // The domestic batch: the paying account, then the invoice paid to the
    // vendor's bank giro with the vendor's number and 1 000 in hundredths,
    // then the count and the total.
    const std::vector<std::string> lines = FileLines(bankFile);
    ASSERT_EQ(lines.size(), 3u) << ::testing::PrintToString(lines);
    for (const std::string &line : lines) EXPECT_EQ(line.size(), 80u) << line;
    EXPECT_EQ(lines[0].substr(0, 12), "11" + std::string("0055551234")) << lines[0];
    EXPECT_EQ(lines[1].substr(0, 2), "14") << lines[1];
    EXPECT_EQ(lines[1].substr(2, 10), "0050501055") << "the vendor's bank giro: " << lines[1];
    EXPECT_EQ(lines[1].substr(12, 25), "F-2001" + std::string(19, ' ')) << lines[1];
    EXPECT_EQ(lines[1].substr(37, 12), "000000100000") << lines[1];
    EXPECT_EQ(lines[2].substr(0, 32), "29" + std::string("0055551234") + "00000001" + "000000100000") << lines[2];

    // The journal: the approved invoice of V1 with its number and total.
    const std::vector<std::string> invoiceLines = PrintedLinesStarting(*journal, "1 ");
    ASSERT_EQ(invoiceLines.size(), 1u) << *journal;
    EXPECT_NE(invoiceLines[0].find("F-2001"), std::string::npos) << invoiceLines[0];
    EXPECT_NE(invoiceLines[0].find("Fjord Supply AB"), std::string::npos) << invoiceLines[0];
    EXPECT_NEAR(PrintedAmounts(invoiceLines[0]).back(), 1000, 0.005) << invoiceLines[0];
    EXPECT_NEAR(PrintedLastAmount(*journal, "Total"), 1000, 0.005) << *journal;

    // The payment journal: the payment from the company's account, its
    // row paying invoice 1 to the vendor's giro, and the 1 000 summed
    // under the bank's payment mode and in the grand total.
    // Two lines start "1 ": the payment and its row; its sum names the
    // home currency it is in.
    const std::vector<std::string> paymentLines = PrintedLinesStarting(*payments, "1 ");
    ASSERT_EQ(paymentLines.size(), 2u) << *payments;
    EXPECT_NEAR(PrintedLastAmount(*payments, "Home currency"), 1000, 0.005) << *payments;
    EXPECT_NE(paymentLines[0].find(CompanyBank), std::string::npos) << paymentLines[0];
    EXPECT_NE(paymentLines[1].find(VendorGiro), std::string::npos) << paymentLines[1];
    EXPECT_NEAR(PrintedAmounts(paymentLines[1]).back(), 1000, 0.005) << paymentLines[1];
    EXPECT_NEAR(PrintedLastAmount(*payments, "B "), 1000, 0.005) << *payments;
    EXPECT_NEAR(PrintedLastAmount(*payments, "Grand total"), 1000, 0.005) << *payments;

    // The trial balance: the goods on stock, the receipt's clearing undone
    // by the invoice, its input VAT, the payable settled and the bank paid
    // out.
    const std::map<std::string, double> closing = {
        {"1460", 800}, {"2441", 0}, {"2640", 200}, {"2440", 0}, {"1930", -1000}};
    for (const auto &[account, amount] : closing)
        EXPECT_NEAR(TrialClosingBalance(*trial, account), amount, 0.005) << account << "\n" << *trial;
    EXPECT_NEAR(PrintedLastAmount(*trial, "Total"), 0, 0.005) << *trial;

    // ---- The company file.
    ASSERT_TRUE(OpenForCheck(company));
    uint32_t vouchers = 0;
    EXPECT_EQ(VoucherSums(&vouchers),
              (std::map<std::string, double>{{"1460", 800}, {"2441", 0}, {"2640", 200}, {"2440", 0}, {"1930", -1000}}));
    EXPECT_EQ(vouchers, 3u) << "the receipt, the invoice and the payment";

    // Only what was typed: none of the demo's records came in.
    EXPECT_EQ(RegRecordCount(VEVc::Number), 1u);
    EXPECT_EQ(RegRecordCount(INVc::Number), 1u);
    EXPECT_EQ(RegRecordCount(PayTermsVc::Number), 1u);
    EXPECT_EQ(RegRecordCount(UnitVc::Number), 1u);
    EXPECT_EQ(RegRecordCount(LocationVc::Number), 1u);
    EXPECT_EQ(RegRecordCount(CUVc::Number), 0u);
    EXPECT_EQ(RegRecordCount(ACVc::Number), 13u);
    std::vector<uint8_t> r;
    ASSERT_TRUE(FindByCode(VEVc::Number, VEVc::Code, 20, "V1", &r));
    EXPECT_EQ(TextAt(r.data(), VEVc::BankGiro), VendorGiro);
    EXPECT_EQ(TextAt(r.data(), VEVc::PayTerms), "30");
    ASSERT_TRUE(FindByCode(PayTermsVc::Number, PayTermsVc::Code, 2, "30", &r));
    EXPECT_EQ(GetI32(r.data(), PayTermsVc::Days), 30);
    RecFreeMatrix(PayTermsVc::Number, r.data());
    ASSERT_TRUE(FindByCode(INVc::Number, INVc::Code, 20, "BOLT", &r));
    EXPECT_EQ(TextAt(r.data(), INVc::Unit), "PCS");
    RecFreeMatrix(INVc::Number, r.data());
    ASSERT_TRUE(FindByCode(LocationVc::Number, LocationVc::Code, 10, "MAIN", &r));
    EXPECT_EQ(TextAt(r.data(), LocationVc::StockAcc), "1460");

    uint32_t id = 0;
    ASSERT_EQ(RegRecordCount(PUVc::Number), 1u);
    {
        std::vector<uint8_t> receipt(PUVc::Size);
        ASSERT_TRUE(RecReadAt(PUVc::Number, 1, receipt.data(), &id));
        EXPECT_EQ(TextAt(receipt.data(), PUVc::Location), "MAIN");
        EXPECT_EQ(GetU16(receipt.data(), PUVc::Received), 1);
        RecFreeMatrix(PUVc::Number, receipt.data());
    }
    ASSERT_EQ(RegRecordCount(VIVc::Number), 1u);
    {
        std::vector<uint8_t> invoice(VIVc::Size);
        ASSERT_TRUE(RecReadAt(VIVc::Number, 1, invoice.data(), &id));
        EXPECT_EQ(TextAt(invoice.data(), VIVc::VendInvNr), "F-2001");
        EXPECT_NEAR(RoadTest::AmountAt(invoice.data(), VIVc::InvAmount), 1000, 0.005);
        // The vendor's terms: due thirty days after the invoice date.
        EXPECT_EQ(TextAt(invoice.data(), VIVc::PayTerms), "30");
        DateRec invoiced = GetDate(invoice.data(), VIVc::InvDate), due = {}, stored = GetDate(invoice.data(), VIVc::DueDate);
        DateAddDays(&invoiced, 30, &due);
        EXPECT_EQ(DateCompare(&stored, &due), 0);
        RecFreeMatrix(VIVc::Number, invoice.data());
    }
    ExpectOnePaymentPaidOut(1000);
    // The hundred bolts are on stock at the main store.
    std::map<std::string, double> onStock;
    std::vector<uint8_t> stock(LSVc::Size);
    for (int32_t p = 1; RecReadAt(LSVc::Number, p, stock.data(), &id); p++)
        if (TextAt(stock.data(), LSVc::ItemCode) == "BOLT")
            onStock[TextAt(stock.data(), LSVc::Location)] += RoadTest::AmountAt(stock.data(), LSVc::InStock);
    EXPECT_NEAR(onStock["MAIN"], 100, 0.005) << ::testing::PrintToString(onStock);
    CloseForCheck();
}

// Goods received before the Sales accounts name the stock and purchase
// clearing accounts: the receipt the order made is stored, but ticked
// received it is refused, saying which account to give and where, and
// nothing comes into stock or the ledger. Once the accounts are given the
// same receipt is received and its voucher books the stock.
TEST_F(CompanyFromNothingPurchaseRoad, GoodsReceivedBeforeTheStockAccountsAreGivenAreRefusedSayingWhichIsMissing)
{
    WriteFirstUserOnly();
    const std::string company = StartNewCompany("early.VDB");
    TypeTheLedger();
    TypeSalesSetUp();
    Menu("Module", "General ledger");
    NewFromList("Accounts", WinTypes::AccountList, WinTypes::Accounts);
    TypeAccounts({{"1460", "Stock", "Assets", ""},
                  {"2441", "Goods received, not invoiced", "Liabilities", ""},
                  {"4010", "Cost of goods", "Costs", ""}});
    Menu("Window", "Close all");
    Menu("Settings", "Posting...");
    Check("the posting window opens", Opened(WinTypes::SetPosting));
    ClickButton("Post goods received");
    Retype("Goods received from", FromNothingYearStart());
    ClickOk();
    Check("the posting block is stored", [] { return ActiveType() != WinTypes::SetPosting; });
    Menu("Window", "Close all");
    Menu("Module", "Purchasing");
    TypeSeriesOfTheYear("Purchase orders", WinTypes::SetSeries198);
    TypeSeriesOfTheYear("Purchases", WinTypes::SetSeries194);
    TypeVendor({"V1", "Fjord Supply AB", "", "", "", VendorGiro});
    Menu("Module", "Stock");
    NewFromList("Item list", WinTypes::ItemList, WinTypes::Item);
    TypeFields({{"Code", "BOLT"}, {"Name", "Steel bolt"}});
    ClickButton("Kept in stock");
    OkStoresQuietly("the item");

    Menu("Module", "Purchasing");
    NewFromList("Purchase orders", WinTypes::PurchaseOrderList, WinTypes::PurchaseOrder);
    ClickField("Vendor");
    Type("V1");
    Key(PlKey::Tab);
    ClickCell(0, ColItem);
    Type("BOLT");
    Key(PlKey::Tab);
    Type("10");
    Key(PlKey::Tab);
    ClickCell(0, ColPrice);
    Type("8");
    Key(PlKey::Tab);
    OkStoresQuietly("the purchase order");
    Menu("Operations", "Purchase");
    Check("the goods receipt made from the order opens", Opened(WinTypes::GoodsReceipt));
    auto told = CountTold();
    ClickButton("Received");
    ClickOk();
    Check("the receipt is refused naming the account to give and where", [told] {
        EXPECT_EQ(Messages().size(), *told + 1) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(Told("The voucher could not be made: give the Stock account in the Sales module's Settings > Sales accounts"))
            << ::testing::PrintToString(Messages());
        EXPECT_FALSE(TitleTells("viewing")) << ActiveTitle();
        EXPECT_EQ(Shown("Vendor"), "V1");
        return ActiveType() == WinTypes::GoodsReceipt;
    });
    KeepPicture("early_receipt_refused");
    ClickButton("Cancel");
    AnswerBox(kPlIdNo);
    Menu("Window", "Close all");

    // The accounts given, the stored receipt is received.
    TypeStockAccounts();
    Menu("Module", "Stock");
    Menu("Registers", "Goods receipts");
    Check("the goods receipts list opens", Opened(WinTypes::GoodsReceiptList));
    FindRow("the receipt", std::make_shared<std::string>(""));
    Key(PlKey::Return);
    Check("the receipt opens as stored, not received", Opened(WinTypes::GoodsReceipt));
    ClickButton("Received");
    OkStoresQuietly("the received goods");
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(PUVc::Number), 1u);
    uint32_t vouchers = 0;
    EXPECT_EQ(VoucherSums(&vouchers), (std::map<std::string, double>{{"1460", 80}, {"2441", -80}}));
    EXPECT_EQ(vouchers, 1u) << "the refused receipt left a voucher, or the received one none";
    std::vector<uint8_t> receipt(PUVc::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(PUVc::Number, 1, receipt.data(), &id));
    EXPECT_EQ(GetU16(receipt.data(), PUVc::Received), 1);
    RecFreeMatrix(PUVc::Number, receipt.data());
    CloseForCheck();
}

}  // namespace
