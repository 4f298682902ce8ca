// road_purchase_ledger_month_test.cpp - a purchase and ledger month of the
// demo company as a new user walks it. The company window takes the bank
// file format, the enterprise number and the company's bank account. A
// purchase order for five of ITEM1 at 80 is typed in the Purchasing
// module; Operations > Purchase makes its goods receipt, which is stored
// received; Operations > Purchase invoice makes the vendor's invoice,
// which gets the vendor's invoice number and is approved as it came. The
// payment suggestion pays it from the bank, and its payment is approved
// and posted. The bank payment file, chosen from the export list, writes
// the payment with the vendor's account and the amount. The trial
// balance, the VAT report, the balance sheet and the income statement of
// the year print to PDFs and show the sums of what was posted, after two
// of the goods are sold on a posted sales invoice: the goods on stock, the
// invoice clearing what their receipt booked as received, not invoiced,
// the input and output VAT and the bank paid out. The trial balance's
// preview reaches its Total line by its scroll bar.
// The company file then holds balanced vouchers and no open item.
// Menus: in General ledger, Operations > Purchase invoice; in Purchasing,
// Registers > Vendors, Registers > Purchase orders, Operations > Purchase,
// Operations > Purchase invoice, Registers > Outgoing payments; File >
// Windows... > "Company", File > Windows... > "Sales invoices", File >
// Reports (Ctrl+R) > "Trial Balance", File > Reports (Ctrl+R) > "VAT
// Report", File > Reports (Ctrl+R) > "Balance Sheet", File > Reports
// (Ctrl+R) > "Income Statement".
// Windows: Company, Windows, Purchase order list, Purchase order, Sales
// invoice, Goods receipt, Purchase invoice, Outgoing payment list, Outgoing
// payment, Payment suggestion, Balance statement selection, Result
// statement selection, VAT report selection, Trial balances and
// sales-ledger accounts selection.
#include "tests/roads/road_fixture.h"
#include "tests/roads/road_text.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <sstream>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "platform/script.h"

namespace {

constexpr int CompanyWindow = 592, WindowList = 12, PurchaseOrderList = 289, PurchaseOrder = 290, SalesInvoice = 347,
              GoodsReceipt = 197, PurchaseInvoice = 155, OutPaymentList = 156, OutPayment = 157,
              PaymentSuggestion = 313;
constexpr int BalanceSel = 401, ResultSel = 402, VatReportSel = 403, TrialBalanceSel = 428;
namespace fs = std::filesystem;

std::string Today() {
    char text[40];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", TodayDate.day, TodayDate.month, TodayDate.year);
    return text;
}

class PurchaseLedgerMonthRoad : public RoadTest {
protected:
    // The whole year of today's date in the selection window's From and To.
    void ThisYear() {
        ClickField("From");
        Type("From", [] { return "01.01." + std::to_string(TodayDate.year); });
        ClickField("To");
        Type("To", [] { return "31.12." + std::to_string(TodayDate.year); });
    }
    // A road's vendor, with its account number and its purchase account
    // (empty: none), typed into the vendor window; everything else is the
    // demo company's own.
    void AddVendor(const std::string &code, const std::string &name, const std::string &bankAccount,
                      const std::string &purchaseAccount) {
        TypeVendor({code, name, "Kai 1", "", purchaseAccount, "", bankAccount});
    }
    // A new purchase order of vendor typed in the Purchasing module: one
    // row of quantity ITEM1 at price, its VAT code left to the item.
    void TypePurchaseOrder(const std::string &vendor, const std::string &quantity, const std::string &price) {
        Menu("Module", "Purchasing");
        Menu("Registers", "Purchase orders");
        Check("the register popup opens the purchase-order list", Opened(PurchaseOrderList));
        ClickButton("New");
        Check("New opens the purchase-order window", Opened(PurchaseOrder));
        ClickField("Vendor");
        Type(vendor);
        Key(PlKey::Tab);
        ClickCell(0, 0);
        Type("ITEM1");
        Key(PlKey::Tab);
        Type(quantity);
        Key(PlKey::Tab);
        ClickCell(0, 5);
        Type(price);
        Key(PlKey::Tab);
    }
};

TEST_F(PurchaseLedgerMonthRoad, APurchaseMonthIsPaidByBankFileAndAgreesInTheReports) {
    const std::string company = StartNewCompany("month.VDB");
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");

    // The bank file format (Telepay), the enterprise number and the
    // company's account, typed in the company window.
    Menu("File", "Windows...");
    Check("the window list opens", [] { return ActiveType() == WindowList; });
    ClickRow("Company");
    Key(PlKey::Return);
    Check("the company window opens", Opened(CompanyWindow));
    ClickField("Bank file format");
    Type("9");
    ClickField("Enterprise no.");
    Type("NO 123 456 789 01");
    Retype("Bank account", "1234.56.78901");
    ClickOk();
    Check("the company window stores the format", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        return true;
    });
    Menu("Window", "Close all");

    // The month's one vendor, its purchase account the demo's cost of goods.
    AddVendor("V1", "Fjord Supply AS", "1111.22.33333", "4010");

    // The order: five of ITEM1 at 80, 400 net and 25 % VAT.
    TypePurchaseOrder("V1", "5", "80");
    // The row's VAT code is not typed: the item gives it, so the VAT the
    // total counts is the VAT the order is stored with.
    Check("the totals follow the row", [this, shots] {
        EXPECT_EQ(Shown("Net"), "400,00");
        EXPECT_EQ(Shown("Total"), "500,00");
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "month_purchase_order.png"));
        return true;
    });
    ClickOk();
    auto order = std::make_shared<std::string>();
    Check("OK stores the purchase order", [order] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        *order = Shown("Number");
        return TitleTells("viewing") && !order->empty();
    });

    Menu("Operations", "Purchase");
    Check("the goods receipt made from the order opens", [this, shots] {
        EXPECT_EQ(ActiveType(), GoodsReceipt) << ActiveTitle();
        EXPECT_EQ(Shown("Vendor"), "V1");
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "month_goods_receipt.png"));
        return ActiveType() == GoodsReceipt;
    });
    ClickButton("Received");
    ClickOk();
    Check("OK stores the received goods", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return TitleTells("viewing");
    });
    Menu("Window", "Close all");

    Menu("Registers", "Purchase orders");
    Check("the list comes back", Opened(PurchaseOrderList));
    FindRow("the purchase order by its number", order);
    Key(PlKey::Return);
    Check("the purchase order opens again", Opened(PurchaseOrder));
    Menu("Operations", "Purchase invoice");
    Check("the purchase invoice made from the order opens, its rows crediting no invoice", [this, shots] {
        EXPECT_EQ(ActiveType(), PurchaseInvoice) << ActiveTitle() << ::testing::PrintToString(Messages());
        EXPECT_EQ(Shown("Name"), "Fjord Supply AS");
        EXPECT_EQ(CellUnder("Credited", 0), "");
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "month_purchase_invoice.png"));
        return ActiveType() == PurchaseInvoice;
    });
    ClickField("Vendor's invoice");
    Type("F-88");
    Key(PlKey::Tab);
    ClickButton("Approved");
    ClickOk();
    auto invoice = std::make_shared<std::string>();
    Check("the invoice is approved as it was made", [invoice] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        EXPECT_EQ(DigitsOf(Shown("Total")), "50000") << Shown("Total");
        *invoice = DigitsOf(Shown("Number"));
        return TitleTells("viewing") && !invoice->empty();
    });
    Menu("Window", "Close all");

    RunRoutine("Payment suggestion", PaymentSuggestion,
               {{"Due to", [] { return std::string("31.12.2099"); }},
                {"Payment date", [] { return Today(); }},
                {"Payment mode", [] { return std::string("B"); }}},
               "month_payment_suggestion.png");
    Menu("Registers", "Outgoing payments");
    Check("the payment list opens", Opened(OutPaymentList));
    FindRow("the first payment", std::make_shared<std::string>(""));
    Key(PlKey::Return);
    auto payment = std::make_shared<std::string>();
    Check("the suggested payment pays the invoice", [this, shots, payment] {
        EXPECT_EQ(ActiveType(), OutPayment) << ActiveTitle();
        EXPECT_EQ(DigitsOf(Shown("Rows total")), "50000") << Shown("Rows total");
        *payment = DigitsOf(Shown("Number"));
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "month_payment.png"));
        return ActiveType() == OutPayment && !payment->empty();
    });
    ClickButton("Approved");
    ClickButton("Posted");
    ClickOk();
    Check("it is approved and posted as it was made", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return TitleTells("viewing");
    });
    Menu("Window", "Close all");

    const fs::path telepay = dir / "MONTH.TBD";
    WriteBankPaymentFile(telepay, payment);

    // Two of the goods are sold to the first demo customer, so the month
    // has output VAT too: 200 net and 50 VAT, posted.
    Menu("File", "Windows...");
    ClickRow("Sales invoices");
    Key(PlKey::Return);
    ClickButton("New");
    Check("New opens the invoice window", Opened(SalesInvoice));
    TypeOneRowDocument("C1", 1, "ITEM1", "2");
    ClickButton("Posted");
    ClickOk();
    Check("OK posts the sale", [] {
        EXPECT_EQ(Messages().size(), 1u) << "no word since the bank file's: " << ::testing::PrintToString(Messages());
        EXPECT_EQ(Shown("Total"), "250,00");
        return TitleTells("viewing");
    });
    Menu("Window", "Close all");

    Menu("Module", "General ledger");
    // The trial balance runs longer than its preview's window: the Total
    // line shows once the scroll bar is dragged to its end.
    auto trial = ReportToPreviewAndPdf("Trial Balance", TrialBalanceSel, [this] { ThisYear(); }, "month_trial", [this] {
        Check("the preview opens on the first accounts, the Total below", [] {
            const std::vector<std::string> shown = PreviewTextsShown();
            EXPECT_EQ(std::count(shown.begin(), shown.end(), "1460"), 1) << ::testing::PrintToString(shown);
            EXPECT_EQ(std::count(shown.begin(), shown.end(), "Total"), 0) << ::testing::PrintToString(shown);
            return true;
        });
        DragScrollBarToEnd();
        KeepPicture("month_trial_preview_end");
        Check("at the scroll bar's end the Total line shows whole", [] {
            const std::vector<std::string> shown = PreviewTextsShown();
            EXPECT_EQ(std::count(shown.begin(), shown.end(), "Total"), 1) << ::testing::PrintToString(shown);
            return true;
        });
    });
    Menu("Window", "Close all");
    auto vat = ReportToPreviewAndPdf("VAT Report", VatReportSel, [this] { ThisYear(); }, "month_vat");
    Menu("Window", "Close all");
    auto balance = ReportToPreviewAndPdf("Balance Sheet", BalanceSel, [this] { ThisYear(); }, "month_balance");
    Menu("Window", "Close all");
    auto result = ReportToPreviewAndPdf("Income Statement", ResultSel, [this] { ThisYear(); }, "month_income");
    EXPECT_EQ(Run(), 0);

    // The Telepay file: the payee's transfer record carries the vendor's
    // account, and the transfer and the invoice record the 500.
    std::vector<std::string> lines = FileLines(telepay);
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[4].substr(40, 8), "BETFOR21");
    EXPECT_EQ(lines[5].substr(37, 11), "11112233333") << "the vendor's account";
    EXPECT_EQ(lines[5].substr(48, 15), "FJORD SUPPLY AS");
    EXPECT_EQ(lines[7].substr(28, 15), "000000000050000");
    EXPECT_EQ(lines[8].substr(40, 8), "BETFOR23");
    EXPECT_EQ(lines[11].substr(17, 16), "000000000050000D");

    // The trial balance: the 400 of goods the receipt put on stock, less
    // the cost of the two sold, which is all cost of goods holds (the
    // invoice does not book the goods' cost a second time); the receipt's
    // 400 on goods received, not invoiced, cleared by the invoice; its
    // input VAT of 100, the sale's receivable, sales and output VAT, the
    // bank down by the 500 paid and the creditor settled.
    const double soldCost = TrialClosingBalance(*trial, "4010");
    EXPECT_GT(soldCost, 0) << *trial;
    EXPECT_NEAR(TrialClosingBalance(*trial, "1460") + soldCost, 400, 0.005) << *trial;
    EXPECT_NEAR(TrialClosingBalance(*trial, "2441"), 0, 0.005) << *trial;
    // The long name of 2441 stays in its column: blanks stand between it
    // and the first amount, which it would otherwise run into.
    {
        std::vector<std::string> row2441 = PrintedLinesStarting(*trial, "2441");
        ASSERT_EQ(row2441.size(), 1u) << *trial;
        size_t name = row2441[0].find("Goods received"), amount = row2441[0].find("0,00");
        ASSERT_NE(name, std::string::npos) << row2441[0];
        ASSERT_NE(amount, std::string::npos) << row2441[0];
        EXPECT_NE(row2441[0].substr(name, amount - name).find("  "), std::string::npos) << row2441[0];
    }
    EXPECT_NEAR(TrialClosingBalance(*trial, "2640"), 100, 0.005) << *trial;
    EXPECT_NEAR(TrialClosingBalance(*trial, "1510"), 250, 0.005) << *trial;
    EXPECT_NEAR(TrialClosingBalance(*trial, "3010"), -200, 0.005) << *trial;
    EXPECT_NEAR(TrialClosingBalance(*trial, "2610"), -50, 0.005) << *trial;
    EXPECT_NEAR(TrialClosingBalance(*trial, "1930"), -500, 0.005) << *trial;
    EXPECT_NEAR(TrialClosingBalance(*trial, "2440"), 0, 0.005) << *trial;
    EXPECT_NEAR(PrintedLastAmount(*trial, "Total"), 0, 0.005) << *trial;
    // Its header names the day of the last voucher, today's.
    const std::vector<std::string> header = PrintedLinesStarting(*trial, "Last voucher date:");
    ASSERT_FALSE(header.empty()) << *trial;
    EXPECT_NE(header[0].find(Today()), std::string::npos) << header[0];

    // The VAT report, a row per code: the sale's output VAT, the purchase
    // invoice's input VAT to claim, and the VAT to pay, here 50 to claim
    // back.
    for (const char *row : {"10 ", "20 ", "30 "})
        ASSERT_EQ(PrintedLinesStarting(*vat, row).size(), 1u) << row << " in\n" << *vat;
    EXPECT_NE(PrintedLinesStarting(*vat, "20 ")[0].find("Input VAT"), std::string::npos) << *vat;
    EXPECT_NEAR(PrintedLastAmount(*vat, "10 "), 50, 0.005) << *vat;
    EXPECT_NEAR(PrintedLastAmount(*vat, "20 "), 100, 0.005) << *vat;
    EXPECT_NEAR(PrintedLastAmount(*vat, "30 "), -50, 0.005) << *vat;

    // The statements: both sides of the balance sheet equal, and the year's
    // result the same in both.
    const double assets = PrintedLastAmount(*balance, "Total assets");
    EXPECT_FALSE(std::isnan(assets)) << *balance;
    EXPECT_NEAR(PrintedLastAmount(*balance, "Total equity and liabilities"), assets, 0.005) << *balance;
    EXPECT_NEAR(PrintedLastAmount(*balance, "1930"), -500, 0.005) << *balance;
    EXPECT_NEAR(PrintedLastAmount(*balance, "1460"), 400 - soldCost, 0.005) << *balance;
    EXPECT_NEAR(PrintedLastAmount(*balance, "1510"), 250, 0.005) << *balance;
    // Liabilities show credit-positive: the VAT to claim back lowers them.
    EXPECT_NEAR(PrintedLastAmount(*balance, "2610"), 50, 0.005) << *balance;
    EXPECT_NEAR(PrintedLastAmount(*balance, "2640"), -100, 0.005) << *balance;
    EXPECT_NEAR(assets, 400 - soldCost + 250 - 500, 0.005) << *balance;
    // The year's result: the 200 sold less the cost of what was sold.
    EXPECT_NEAR(PrintedLastAmount(*result, "Total Operating income"), 200, 0.005) << *result;
    EXPECT_NEAR(PrintedLastAmount(*result, "Result of the year"), 200 - soldCost, 0.005) << *result;
    EXPECT_NEAR(PrintedLastAmount(*balance, "Result of the year"), PrintedLastAmount(*result, "Result of the year"), 0.005)
        << *balance;

    // The company file: every voucher balances, the accounts hold what the
    // reports showed, the payment went out in the file and no open item is
    // left for the vendor.
    ASSERT_TRUE(OpenForCheck(company));
    std::map<std::string, double> sums;
    std::vector<uint8_t> voucher(TRVc::Size), row(TRVc::Rows::Size);
    uint32_t id = 0, vouchers = 0;
    for (int32_t p = 1; RecReadAt(TRVc::Number, p, voucher.data(), &id); p++) {
        vouchers++;
        double balanceOf = 0;
        for (int32_t i = 0; i < MatrixRowCount(TRVc::Number, 0, voucher.data()); i++) {
            ASSERT_TRUE(MatrixRowRead(TRVc::Number, voucher.data(), i, row.data()));
            if (GetU16(row.data(), TRVc::Rows::Kind) != 1) continue;
            const double amount = RoadTest::AmountAt(row.data(), TRVc::Rows::Amount);
            sums[TextAt(row.data(), TRVc::Rows::Account)] += amount;
            balanceOf += amount;
        }
        EXPECT_NEAR(balanceOf, 0, 0.005) << "voucher " << p;
    }
    EXPECT_EQ(vouchers, 4u) << "the receipt, the invoice, the payment and the sale";
    EXPECT_NEAR(sums["1460"] + sums["4010"], 400, 0.005);
    EXPECT_NEAR(sums["4010"], soldCost, 0.005);
    EXPECT_NEAR(sums["2441"], 0, 0.005);
    EXPECT_NEAR(sums["2610"], -50, 0.005);
    EXPECT_NEAR(sums["3010"], -200, 0.005);
    EXPECT_NEAR(sums["2640"], 100, 0.005);
    EXPECT_NEAR(sums["2440"], 0, 0.005);
    EXPECT_NEAR(sums["1930"], -500, 0.005);
    ExpectOnePaymentPaidOut(500);
    std::vector<uint8_t> ordered(PurchOrderVc::Size), orderRow(PurchOrderVc::Rows::Size);
    ASSERT_TRUE(RecReadAt(PurchOrderVc::Number, 1, ordered.data(), &id));
    ASSERT_TRUE(MatrixRowRead(PurchOrderVc::Number, ordered.data(), 0, orderRow.data()));
    EXPECT_EQ(TextAt(orderRow.data(), PurchOrderVc::Rows::VatCode), "1") << "the item's VAT code, stored";
    CloseForCheck();
}

// A purchase invoice asked of an order whose vendor has no purchase
// account (and whose goods did not come in) is not made: the user is told
// what is missing and where it is set, and the order stays open as it was.
TEST_F(PurchaseLedgerMonthRoad, AnInvoiceForAVendorWithoutPurchaseAccountSaysWhatIsMissing) {
    const std::string company = StartNewCompany("noaccount.VDB");
    AddVendor("V2", "Harbour Goods AS", "1111.22.44444", "");
    TypePurchaseOrder("V2", "2", "80");
    ClickOk();
    Check("OK stores the purchase order", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        return TitleTells("viewing");
    });
    Menu("Operations", "Purchase invoice");
    Check("the user is told the vendor lacks its purchase account", [] {
        EXPECT_TRUE(Told("the vendor has no purchase account")) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(Told("Purchase account")) << ::testing::PrintToString(Messages());
        // Where a user sets it: the vendor's window, not an import.
        EXPECT_TRUE(Told("the vendor window, Terms page")) << ::testing::PrintToString(Messages());
        EXPECT_FALSE(Told("Import")) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(Told("Vendor: V2")) << ::testing::PrintToString(Messages());
        EXPECT_EQ(ActiveType(), PurchaseOrder) << ActiveTitle();
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    EXPECT_EQ(RegRecordCount(VIVc::Number), 0u) << "no purchase invoice was stored";
    EXPECT_EQ(RegRecordCount(TRVc::Number), 0u) << "nothing was posted";
    EXPECT_EQ(RegRecordCount(PurchOrderVc::Number), 1u);
    CloseForCheck();
}

}  // namespace
