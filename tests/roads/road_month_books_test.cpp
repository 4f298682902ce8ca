// road_month_books_test.cpp - a month's books of the demo company, kept
// as a new user keeps them with keys and clicks only, and checked as a
// bookkeeper checks them at the month's end.
//
// Purchases: twenty of ITEM1 ordered from a new vendor at 40, received
// and invoiced from the order (800 net, 1 000 with VAT); the payment
// suggestion pays that invoice from the bank, its payment is approved and
// goes out in the bank file; a second invoice of the vendor, rent of 250,
// is typed and left unpaid; a third, cleaning of 100, is paid by a payment
// typed approved and posted from the payment list's "Post marked".
// Sales, one invoice by every road a user posts one: sixteen of ITEM1
// ordered by the first demo customer, delivered (the delivery books their
// cost against stock), invoiced from the order and posted in its window;
// three invoices of one installation (700 at 12 % VAT) posted by File >
// Documents > "Print and approve invoices", by the "Approve sales
// invoices" run and by the invoice list's "Post marked"; a cash receipt
// pays the second. A credit note of half an installation (350 and 42 of
// VAT) names the approved invoice in its first row and lowers that
// invoice's open item; a cash invoice of one installation (the payment
// mode K typed as its payment terms) books the cash account and opens
// no item, and a credit note of half of it pays half back from the cash.
//
// The customer's transactions show every document with its kind and its
// amount (the credit notes' and the receipt's with their minus), and the
// customer's statement names each line's kind, the cash invoice's credit
// note as a credit note; the trial balance books the
// stock and the cost of goods once (1460 is what the stock value report
// shows), and the receivables, the creditors, the bank, the cash and the
// VAT as worked out by hand; the customer and vendor ledgers (the
// vendor's ledger entries, period balance and open items as their lists
// show them, the payments with their minus) agree with their open items.
// The customer owes what 1510
// holds wherever a user reads it: the Customer Balances report's total
// and its line, and the customer's Statistics (neither the cash invoice
// nor its credit note owes anything).
//
// A person's month (its own company): expense claims posted in the claim
// window and from the claim list, payments posted in the payment window
// and approved and posted from the payment list; the account owed to
// staff, the person's statement and the person ledger agree.
// Menus: in Sales, Registers > Orders (Ctrl+9), Operations > Delivery,
// Operations > Invoice, Operations > Post marked, Registers > Customer
// receipts (Ctrl+7), Operations > Approve, Registers > Customers,
// Operations > Transactions, Operations > Statistics, File > Documents... >
// "Customer statements"; in Purchasing, Registers > Payment terms, Registers > Vendors, Registers
// > Purchase orders, Operations > Purchase, Operations > Purchase invoice,
// Registers > Purchase invoices, Registers > Outgoing payments, Operations
// > Post marked; in Stock, Registers > Deliveries, Operations > Ship
// marked; File > Windows... > "Sales invoices", File > Documents... >
// "Print and approve invoices", File > Reports (Ctrl+R) > "Trial Balance",
// File > Reports (Ctrl+R) > "Stock Value", File > Reports (Ctrl+R) >
// "Customer Balances"; in Purchasing, Registers > Expense claims,
// Registers > Person payments, Operations > Approve marked, Operations >
// Post marked; File > Reports (Ctrl+R) > "Person Statements".
// Windows: Invoice print and approve run, Approve sales invoices (routine
// 8), Trial balances and sales-ledger accounts selection, Stock value
// selection, Customer balances selection, Customer statistics, Payment
// terms list, Payment terms.
#include "tests/roads/road_fixture.h"
#include "tests/roads/road_form_steps.h"
#include "tests/roads/road_person_steps.h"
#include "tests/roads/road_text.h"

#include <cmath>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "rules/ledger.h"
#include "shell/toolbar.h"

namespace {

namespace W = WinTypes;
constexpr int ApproveSel = 553, TrialBalanceSel = 428, StockValueSel = 464,
              CustomerBalanceSel = 507;
constexpr int OrderItemColumn = 0, InvoiceItemColumn = 1, PurchaseRowPrice = 5, CreditedColumn = 0;

// Hand-worked figures of the month. Goods: 20 in at 40, 16 out.
constexpr double GoodsIn = 20 * 40, GoodsOut = 16 * 40;
// The order's invoice: 16 at 100 and 25 % VAT; an installation: 700 and 12 %.
constexpr double OrderNet = 1600, OrderVat = 400, ServiceNet = 700, ServiceVat = 84;
constexpr double OrderTotal = OrderNet + OrderVat, ServiceTotal = ServiceNet + ServiceVat;
// The credit note: half an installation.
constexpr double CreditNet = ServiceNet / 2, CreditVat = ServiceVat / 2, CreditTotal = CreditNet + CreditVat;
constexpr double PurchaseVat = GoodsIn / 4, PurchaseTotal = GoodsIn + PurchaseVat;
// The vendor's second invoice, rent without VAT, left unpaid; its third,
// cleaning without VAT, paid by a payment posted from its list.
constexpr double Rent = 250, Cleaning = 100;

// The cells of a list row as ListRowsShown gives it.
std::vector<std::string> CellsOf(const std::string &row) { return ListRowCells(row); }

class MonthBooksRoad : public RoadTest {
protected:
    // File > Windows..., Sales invoices, New: an invoice of one
    // installation to C1 stored unposted; its number in the result.
    std::shared_ptr<std::string> UnpostedServiceInvoice() {
        Menu("Window", "Close all");
        NewFromWindowList("Sales invoices", W::SalesInvoiceList, W::SalesInvoice);
        auto number = TypeOneRowDocument("C1", InvoiceItemColumn, "SERVICE", "1");
        Check("the invoice is stored unposted", [] {
            EXPECT_EQ(Shown("Total"), "784,00");
            return TitleTells("viewing");
        });
        Menu("Window", "Close all");
        return number;
    }
    // File > Windows..., Sales invoices, New: a credit note (terms CR) of
    // half an installation to C1 whose first row credits the invoice
    // `credited`, posted in its window; its number in the result.
    std::shared_ptr<std::string> HalfInstallationCredited(const std::string &what,
                                                          std::shared_ptr<std::string> credited) {
        NewFromWindowList("Sales invoices", W::SalesInvoiceList, W::SalesInvoice);
        ClickField("Customer");
        Type("C1");
        Key(PlKey::Tab);
        ClickButton("Terms");
        Retype("Payment terms", "CR");
        Key(PlKey::Tab);
        ClickButton("Rows");
        ClickButton("Credit");
        ClickCell(0, CreditedColumn);
        Type(what + "'s number", [credited] { return *credited; });
        Key(PlKey::Tab);
        ClickButton("Items");
        ClickCell(1, InvoiceItemColumn);
        Type("SERVICE");
        Key(PlKey::Tab);
        Type("0,5");
        Key(PlKey::Tab);
        ClickButton("Posted");
        OkStoresQuietly("the credit note of " + what + ", posted in its window");
        auto number = std::make_shared<std::string>();
        Check("the credit note of " + what + " credits 392,00", [number] {
            EXPECT_EQ(Shown("Total"), "392,00");
            *number = Shown("Number");
            return !number->empty();
        });
        Menu("Window", "Close all");
        return number;
    }
    static std::function<std::string()> RangeOf(std::shared_ptr<std::string> number) {
        return [number] { return *number + ":" + *number; };
    }
};

TEST_F(MonthBooksRoad, AMonthOfSalesAndPurchasesAgreesInTheBooks) {
    const std::string company = StartNewCompany("books.VDB");

    // ---- the purchase month ---------------------------------------------
    TypeCompanyBankData();
    TypeVendor({"V1", "Fjord Supply AS", "Kai 1", "", "4010", "5012345-6789", "1111.22.33333"});
    TypePaymentModeBankAccount("4234567-85");
    Menu("Module", "Purchasing");
    NewFromList("Purchase orders", W::PurchaseOrderList, W::PurchaseOrder);
    ClickField("Vendor");
    Type("V1");
    Key(PlKey::Tab);
    ClickCell(0, 0);
    Type("ITEM1");
    Key(PlKey::Tab);
    Type("20");
    Key(PlKey::Tab);
    ClickCell(0, PurchaseRowPrice);
    Type("40");
    Key(PlKey::Tab);
    Check("the purchase order's totals", [] {
        EXPECT_EQ(DigitsOf(Shown("Total")), "100000") << Shown("Total");
        return true;
    });
    OkStores("the purchase order");
    auto purchaseOrder = std::make_shared<std::string>();
    Do("read the purchase order's number", [purchaseOrder] {
        *purchaseOrder = Shown("Number");
        return !purchaseOrder->empty();
    });
    Menu("Operations", "Purchase");
    Check("the goods receipt of the order opens", Opened(W::GoodsReceipt));
    ClickButton("Received");
    OkStores("the received goods");
    Menu("Window", "Close all");
    Menu("Registers", "Purchase orders");
    Check("the purchase-order list", Opened(W::PurchaseOrderList));
    FindRow("the purchase order", purchaseOrder);
    Key(PlKey::Return);
    Check("the purchase order opens again", Opened(W::PurchaseOrder));
    Menu("Operations", "Purchase invoice");
    Check("the purchase invoice of the order opens", Opened(W::PurchaseInvoice));
    ClickField("Vendor's invoice");
    Type("F-1");
    Key(PlKey::Tab);
    ClickButton("Approved");
    OkStores("the approved purchase invoice");
    auto bought = std::make_shared<std::string>();
    Check("the purchase invoice owes 1 000", [bought] {
        EXPECT_EQ(DigitsOf(Shown("Total")), "100000") << Shown("Total");
        *bought = DigitsOf(Shown("Number"));
        return !bought->empty();
    });
    Menu("Window", "Close all");

    // The suggestion pays it, and the bank file sends the payment.
    auto payment = ApproveSuggestedPayment("B", [bought] {
        EXPECT_EQ(DigitsOf(CellUnder("Invoice", 0)), *bought);
        EXPECT_EQ(CellUnder("Vendor's name", 0), "Fjord Supply AS");
        EXPECT_EQ(CellUnder("Giro / text", 0), "5012345-6789");
        EXPECT_EQ(DigitsOf(CellUnder("Amount", 0)), "100000");
        EXPECT_EQ(CellUnder("Invoice", 1), "(no such cell)") << "one row";
        return true;
    }, "books_suggestion.png");
    const std::filesystem::path bankFile = dir / "LM.TXT";
    WriteBankPaymentFile(bankFile, payment);
    auto rent = TypeApprovedPurchaseInvoice("V1", "F-2", "5010", "250,00");
    auto cleaning = TypeApprovedPurchaseInvoice("V1", "F-3", "5010", "100,00");
    auto cleaningPaid = TypeApprovedPayment("B", cleaning);
    Menu("Registers", "Outgoing payments");
    Check("the payment list", Opened(W::OutPaymentList));
    FindRow("the payment to post", cleaningPaid);
    auto toldBefore = CountTold();
    Menu("Operations", "Post marked");
    Check("Post marked posts the payment without a word", [toldBefore] {
        EXPECT_EQ(Messages().size(), *toldBefore) << ::testing::PrintToString(Messages());
        return true;
    });
    Menu("Window", "Close all");

    // ---- the sales month: an order delivered and invoiced ----------------
    // What the bank file run told (that it wrote the payment) is not the
    // sales month's: from here on nothing more may be told.
    auto told = CountTold();
    Menu("Module", "Sales");
    Key('9', false, true);
    Check("Ctrl+9 opens the order list", Opened(W::OrderList));
    ClickButton("New");
    Check("New opens an order", Opened(W::Order));
    auto order = TypeOneRowDocument("C1", OrderItemColumn, "ITEM1", "16");
    DeliverAndShipOrder();
    Key('9', false, true);
    Check("the order list again", Opened(W::OrderList));
    FindRow("the order", order);
    Key(PlKey::Return);
    Check("the order opens again", Opened(W::Order));
    Menu("Operations", "Invoice");
    auto fromOrder = std::make_shared<std::string>();
    Check("Invoice makes the invoice of what was delivered", [fromOrder] {
        EXPECT_EQ(ActiveType(), W::SalesInvoice) << ActiveTitle();
        EXPECT_EQ(DigitsOf(Shown("Total")), "200000") << Shown("Total");
        *fromOrder = Shown("Number");
        return ActiveType() == W::SalesInvoice && !fromOrder->empty();
    });
    ClickButton("Posted");
    OkStoresQuietly("the invoice from the order, posted in its window");

    // ---- three more invoices, each posted by another road ---------------
    auto printed = UnpostedServiceInvoice();
    OpenPrintAndApprove(RangeOf(printed), "Invoices", "Printer");
    AnswerPrint(true);
    ClickButton("OK");
    Check("print and approve posts and prints it", [told] {
        EXPECT_NE(StatusLineText().find("1 posted"), std::string::npos) << StatusLineText();
        EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
        return true;
    });

    auto approved = UnpostedServiceInvoice();
    RunRoutine("Approve sales invoices", ApproveSel, {{"Invoice numbers", RangeOf(approved)}}, "books_approve.png");

    auto marked = UnpostedServiceInvoice();
    Menu("File", "Windows...");
    ClickRow("Sales invoices");
    Key(PlKey::Return);
    Check("the invoice list", Opened(W::SalesInvoiceList));
    FindRow("the invoice to post", marked);
    Menu("Operations", "Post marked");
    Check("Post marked posts it without a word", [told] {
        EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
        return true;
    });
    Menu("Window", "Close all");

    // ---- the printed one is paid in cash ----------------------------------
    Key('7', false, true);
    Check("Ctrl+7 opens the receipt list", Opened(W::ReceiptList));
    ClickButton("New");
    Check("New opens a receipt", Opened(W::Receipt));
    Type("K");
    Key(PlKey::Tab);
    ClickCell(0, 0);
    Type("the paid invoice's number", [printed] { return *printed; });
    Key(PlKey::Tab);
    Check("the invoice fills the receipt", [] {
        EXPECT_EQ(Shown("Amount received"), "784,00");
        return true;
    });
    OkStoresQuietly("the receipt");
    auto receipt = std::make_shared<std::string>();
    Do("read the receipt's number", [receipt] {
        *receipt = Shown("Number");
        return !receipt->empty();
    });
    Key('7', false, true);
    Check("the receipt list again", Opened(W::ReceiptList));
    FindRow("the receipt", receipt);
    Menu("Operations", "Approve");
    Check("Approve posts the receipt", [told] {
        EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
        return true;
    });
    Menu("Window", "Close all");

    // ---- half the approved invoice credited, and a cash sale ---------------
    TypeCreditNoteTerms("CR");
    Menu("Module", "Sales");
    auto credit = HalfInstallationCredited("the approved invoice", approved);
    NewFromWindowList("Sales invoices", W::SalesInvoiceList, W::SalesInvoice);
    ClickField("Customer");
    Type("C1");
    Key(PlKey::Tab);
    ClickButton("Terms");
    Retype("Payment terms", "K");
    Key(PlKey::Tab);
    ClickButton("Rows");
    ClickCell(0, InvoiceItemColumn);
    Type("SERVICE");
    Key(PlKey::Tab);
    Type("1");
    Key(PlKey::Tab);
    ClickButton("Posted");
    OkStoresQuietly("the cash invoice, posted in its window");
    auto cash = std::make_shared<std::string>();
    Check("the cash invoice sells one installation", [cash] {
        EXPECT_EQ(Shown("Total"), "784,00");
        *cash = Shown("Number");
        return !cash->empty();
    });
    Menu("Window", "Close all");
    auto cashCredit = HalfInstallationCredited("the cash invoice", cash);

    // ---- the customer's transactions --------------------------------------
    Menu("Registers", "Customers");
    OpenFromList("C1", W::Customers);
    Menu("Operations", "Transactions");
    Check("every document is in the customer's transactions with its kind and amount",
          [fromOrder, printed, approved, marked, receipt, credit, cash, cashCredit] {
              EXPECT_EQ(ActiveType(), W::CustTransList) << ActiveTitle();
              const std::vector<std::string> rows = ListRowsShown();
              EXPECT_EQ(rows.size(), 8u) << ::testing::PrintToString(rows);
              // By kind and number: a receipt and an invoice may share a
              // number. A credit note's and a receipt's amount show their
              // minus: they lower what the customer owes.
              std::map<std::string, std::string> want = {{"Invoice " + *fromOrder, "200000"},
                                                         {"Invoice " + *printed, "78400"},
                                                         {"Invoice " + *approved, "78400"},
                                                         {"Invoice " + *marked, "78400"},
                                                         {"Receipt " + *receipt, "-78400"},
                                                         {"Credit note " + *credit, "-39200"},
                                                         {"Cash invoice " + *cash, "78400"},
                                                         {"Credit note " + *cashCredit, "-39200"}};
              for (const std::string &row : rows) {
                  // Customer | date | kind | document | invoice | account | amount
                  std::vector<std::string> cells;
                  for (size_t at = 0, end; at <= row.size(); at = end + 3) {
                      end = row.find(" | ", at);
                      if (end == std::string::npos) end = row.size();
                      cells.push_back(row.substr(at, end - at));
                  }
                  if (cells.size() != 7) {
                      ADD_FAILURE() << row;
                      continue;
                  }
                  auto it = want.find(cells[2] + " " + cells[3]);
                  if (it == want.end()) {
                      ADD_FAILURE() << "no such document: " << row;
                      continue;
                  }
                  EXPECT_EQ((cells[6].rfind("-", 0) == 0 ? "-" : "") + DigitsOf(cells[6]), it->second) << row;
                  want.erase(it);
              }
              EXPECT_TRUE(want.empty()) << want.size() << " documents missing";
              return ActiveType() == W::CustTransList;
          });
    Menu("Window", "Close all");
    auto statement = PrintCustomerStatement(*this, "C1", "books_customer_statement");
    Check("the statement names the cash invoice's credit note as one", [statement, cashCredit] {
        const std::vector<std::string> lines = PrintedLinesStarting(*statement, "");
        bool named = false;
        for (const std::string &line : lines)
            named = named || line.find("Credit note " + *cashCredit) != std::string::npos;
        EXPECT_TRUE(named) << *statement;
        return true;
    });
    Menu("Registers", "Customers");
    OpenFromList("C1", W::Customers);
    Menu("Operations", "Statistics");
    auto statisticsOwed = std::make_shared<std::string>();
    Check("the customer's statistics show what it owes", [statisticsOwed] {
        EXPECT_EQ(ActiveType(), W::CustStatList) << ActiveTitle();
        const std::vector<std::string> rows = ListRowsShown();
        EXPECT_EQ(rows.size(), 1u) << ::testing::PrintToString(rows);
        // Customer | name | sales | cost | paid | owed
        const std::vector<std::string> cells = rows.empty() ? std::vector<std::string>{} : CellsOf(rows[0]);
        if (cells.size() == 6) *statisticsOwed = cells[5];
        else ADD_FAILURE() << ::testing::PrintToString(rows);
        return ActiveType() == W::CustStatList;
    });
    Menu("Window", "Close all");

    // ---- the vendor's ledger, balance and open items ------------------------
    Menu("Module", "Purchasing");
    Menu("Registers", "Vendor ledger entries");
    Check("the vendor's ledger holds the invoices and the payments", [bought, rent, payment, cleaning, cleaningPaid] {
        EXPECT_EQ(ActiveType(), W::VendLedgerList) << ActiveTitle();
        const std::vector<std::string> rows = ListRowsShown();
        // Vendor | date | kind | document | invoice | amount | currency:
        // what each invoice came to and what each payment paid on it,
        // with its minus: a payment lowers what the company owes.
        std::map<std::string, std::pair<std::string, std::string>> want = {
            {"Invoice " + *bought, {*bought, "100000"}},    {"Payment " + *payment, {*bought, "100000"}},
            {"Invoice " + *rent, {*rent, "25000"}},         {"Invoice " + *cleaning, {*cleaning, "10000"}},
            {"Payment " + *cleaningPaid, {*cleaning, "10000"}}};
        for (const std::string &row : rows) {
            const std::vector<std::string> cells = CellsOf(row);
            if (cells.size() < 6 || cells[0] != "V1") {
                ADD_FAILURE() << row;
                continue;
            }
            auto it = want.find(cells[2] + " " + DigitsOf(cells[3]));
            if (it == want.end()) {
                ADD_FAILURE() << "no such entry: " << row;
                continue;
            }
            EXPECT_EQ(DigitsOf(cells[4]), it->second.first) << row;
            EXPECT_EQ(DigitsOf(cells[5]), it->second.second) << row;
            EXPECT_EQ(cells[5].rfind("-", 0) == 0, cells[2] == "Payment") << row;
            want.erase(it);
        }
        EXPECT_TRUE(want.empty()) << want.size() << " entries missing: " << ::testing::PrintToString(rows);
        return ActiveType() == W::VendLedgerList;
    });
    Menu("Window", "Close all");
    Menu("Registers", "Vendor open items");
    Check("the vendor owes only the rent in its open items", [rent] {
        EXPECT_EQ(ActiveType(), W::VendOpenItemList) << ActiveTitle();
        const std::vector<std::string> rows = ListRowsShown();
        EXPECT_EQ(rows.size(), 1u) << ::testing::PrintToString(rows);
        for (const std::string &row : rows) {
            // Vendor | name | invoice | their number | due | disc. date | open | currency
            const std::vector<std::string> cells = CellsOf(row);
            if (cells.size() < 7) {
                ADD_FAILURE() << row;
                continue;
            }
            EXPECT_EQ(cells[0], "V1") << row;
            EXPECT_EQ(DigitsOf(cells[2]), *rent) << row;
            EXPECT_EQ(DigitsOf(cells[6]), "25000") << row;
        }
        return true;
    });
    Menu("Window", "Close all");
    Menu("Registers", "Vendor period balances");
    Check("the vendor's balance owes what its open items hold", [] {
        EXPECT_EQ(ActiveType(), W::VendBalanceList) << ActiveTitle();
        const std::vector<std::string> rows = ListRowsShown();
        EXPECT_EQ(rows.size(), 1u) << ::testing::PrintToString(rows);
        for (const std::string &row : rows) {
            // Vendor | name | net purchases | owed
            const std::vector<std::string> cells = CellsOf(row);
            if (cells.size() != 4) {
                ADD_FAILURE() << row;
                continue;
            }
            EXPECT_EQ(cells[1], "Fjord Supply AS") << row;
            EXPECT_EQ(DigitsOf(cells[2]), "115000") << row << ": 800 of goods, 250 of rent, 100 of cleaning";
            EXPECT_EQ(DigitsOf(cells[3]), "25000") << row << ": 1 000, 250 and 100 invoiced, 1 100 paid";
        }
        return true;
    });
    Menu("Window", "Close all");

    // ---- the reports --------------------------------------------------------
    Menu("Module", "General ledger");
    auto trial = ReportToPreviewAndPdf("Trial Balance", TrialBalanceSel, [this] {
        ClickField("From");
        Type("From", [] { return "01.01." + std::to_string(TodayDate.year); });
        ClickField("To");
        Type("To", [] { return "31.12." + std::to_string(TodayDate.year); });
    }, "books_trial");
    Menu("Window", "Close all");
    Menu("Module", "Stock");
    auto stockValue = ReportToPreviewAndPdf("Stock Value", StockValueSel, [this] {
        ClickField("Items");
        Type("ITEM1");
    }, "books_stock_value");
    Menu("Window", "Close all");
    Menu("Module", "Sales");
    auto balances = ReportToPreviewAndPdf("Customer Balances", CustomerBalanceSel, [] {}, "books_customer_balances");
    EXPECT_EQ(Run(), 0);

    // The trial balance, debit positive: stock and cost of goods once
    // (the delivery's voucher booked the cost, the invoice did not book it
    // again), the goods received cleared by their invoice, the creditor
    // owed the rent only (the goods' invoice and the cleaning paid from the
    // bank), the receivables of four invoices less the one paid in cash and
    // less the credit note, the cash of the receipt and of the cash invoice
    // less what its credit note paid back, sales and output VAT of five
    // invoices less the two credit notes, the input VAT of the goods.
    const std::map<std::string, double> want = {
        {"1460", GoodsIn - GoodsOut},
        {"4010", GoodsOut},
        {"2441", 0},
        {"2440", -Rent},
        {"1930", -(PurchaseTotal + Cleaning)},
        {"5010", Rent + Cleaning},
        {"2640", PurchaseVat},
        {"1510", OrderTotal + 2 * ServiceTotal - CreditTotal},
        {"1910", 2 * ServiceTotal - CreditTotal},
        {"3010", -(OrderNet + 4 * ServiceNet - 2 * CreditNet)},
        {"2610", -(OrderVat + 4 * ServiceVat - 2 * CreditVat)},
    };
    for (const auto &[account, amount] : want)
        EXPECT_NEAR(TrialClosingBalance(*trial, account), amount, 0.005) << account << "\n" << *trial;
    EXPECT_NEAR(PrintedLastAmount(*trial, "Total"), 0, 0.005) << *trial;
    // The stock value report values the four left at 40: what 1460 holds.
    EXPECT_NE(stockValue->find("160,00"), std::string::npos) << *stockValue;
    // What the customer owes, as 1510 holds it: the Customer Balances'
    // total and the customer's line (its closing balance last), and the
    // customer's Statistics.
    const double receivables = TrialClosingBalance(*trial, "1510");
    EXPECT_NEAR(receivables, OrderTotal + 2 * ServiceTotal - CreditTotal, 0.005);
    EXPECT_NEAR(PrintedLastAmount(*balances, "Grand total"), receivables, 0.005) << *balances;
    const std::vector<std::string> c1 = PrintedLinesStarting(*balances, "C1");
    ASSERT_EQ(c1.size(), 1u) << *balances;
    ASSERT_FALSE(PrintedAmounts(c1[0]).empty()) << c1[0];
    EXPECT_NEAR(PrintedAmounts(c1[0]).back(), receivables, 0.005) << c1[0];
    EXPECT_EQ(DigitsOf(*statisticsOwed), "317600") << *statisticsOwed;

    // The company file: the customer's ledger (its invoices less its
    // credit note and what it paid; the cash invoice and its credit note
    // paid at once), its statistics (sold less paid, and the balance owed)
    // and its open items all owe what 1510 holds; the credited invoice is
    // open for what the credit left, and neither credit note nor the cash
    // invoice has an open item. The
    // vendor's open item is its invoice, and its ledger holds the invoice.
    ASSERT_TRUE(OpenForCheck(company));
    uint32_t id = 0;
    double ledger = 0;
    int entries = 0;
    std::vector<uint8_t> e(CustTransVc::Size);
    for (int32_t p = 1; RecReadAt(CustTransVc::Number, p, e.data(), &id); p++) {
        ASSERT_EQ(TextAt(e.data(), CustTransVc::CustCode), "C1");
        const double amount = AmountAt(e.data(), CustTransVc::Amount);
        const std::string doc = std::to_string(GetU32(e.data(), CustTransVc::DocNr));
        if (GetU16(e.data(), CustTransVc::Kind) != 0) ledger -= amount;
        else if (doc == *credit) ledger -= amount;
        else if (doc != *cash && doc != *cashCredit) ledger += amount;
        entries++;
    }
    EXPECT_EQ(entries, 8);
    double open = 0;
    std::map<std::string, double> openByInvoice;
    std::vector<uint8_t> item(ARVc::Size);
    for (int32_t p = 1; RecReadAt(ARVc::Number, p, item.data(), &id); p++) {
        open += AmountAt(item.data(), ARVc::OpenAmount);
        openByInvoice[std::to_string(GetU32(item.data(), ARVc::InvoiceNr))] += AmountAt(item.data(), ARVc::OpenAmount);
    }
    const double owed = OrderTotal + 2 * ServiceTotal - CreditTotal;
    EXPECT_NEAR(ledger, owed, 0.005);
    EXPECT_NEAR(open, owed, 0.005);
    EXPECT_EQ(openByInvoice.size(), 3u) << "the order's, the approved and the marked invoice";
    EXPECT_NEAR(openByInvoice[*approved], ServiceTotal - CreditTotal, 0.005);
    EXPECT_EQ(openByInvoice.count(*credit), 0u);
    EXPECT_EQ(openByInvoice.count(*cash), 0u);
    EXPECT_EQ(openByInvoice.count(*cashCredit), 0u);
    std::vector<uint8_t> stat(CSVc::Size);
    ASSERT_TRUE(FindByCode(CSVc::Number, CSVc::CustCode, 20, "C1", &stat));
    PackedDecimal sold, paid;
    const uint16_t month = MonthIndex(&TodayDate);
    PeriodBalanceAt(GetU32(stat.data(), CSVc::Amounts), 5, 1, month, &sold);
    PeriodBalanceAt(GetU32(stat.data(), CSVc::Amounts), 5, 2, month, &paid);
    EXPECT_NEAR(DecToDouble(&sold) - DecToDouble(&paid), owed, 0.005);
    PackedDecimal owes;
    PeriodBalanceAt(GetU32(stat.data(), CSVc::Amounts), 5, 4, month, &owes);
    EXPECT_NEAR(DecToDouble(&owes), owed, 0.005);
    RecFreeMatrix(CSVc::Number, stat.data());

    // The vendor: its ledger (the invoices' totals less the payment rows'
    // amounts), its period balance and its open items all owe the rent;
    // the payment went out.
    std::vector<uint8_t> payable(APVc::Size), entry(VLVc::Size);
    ASSERT_EQ(RegRecordCount(APVc::Number), 1u);
    ASSERT_TRUE(RecReadAt(APVc::Number, 1, payable.data(), &id));
    EXPECT_NEAR(AmountAt(payable.data(), APVc::OpenAmount), Rent, 0.005);
    EXPECT_EQ(std::to_string(GetI32(payable.data(), APVc::InvoiceNr)), *rent);
    double vendorLedger = 0;
    int vendorEntries = 0;
    for (int32_t p = 1; RecReadAt(VLVc::Number, p, entry.data(), &id); p++, vendorEntries++) {
        EXPECT_EQ(TextAt(entry.data(), VLVc::VendCode), "V1");
        if (GetU16(entry.data(), VLVc::Kind) == 0) {
            std::vector<uint8_t> invoice(VIVc::Size);
            uint32_t serial = GetU32(entry.data(), VLVc::DocSerNr), found = 0, at = 0;
            PutU32(invoice.data(), VIVc::SerNr, serial);
            ASSERT_TRUE(RecFind(VIVc::Number, invoice.data(), 1, 1, &found, &at)) << serial;
            vendorLedger += AmountAt(invoice.data(), VIVc::InvAmount);
            RecFreeMatrix(VIVc::Number, invoice.data());
            continue;
        }
        std::vector<uint8_t> outPayment(OPVc::Size), row(OPVc::Rows::Size);
        uint32_t found = 0, at = 0;
        PutU32(outPayment.data(), OPVc::SerNr, GetU32(entry.data(), VLVc::DocSerNr));
        ASSERT_TRUE(RecFind(OPVc::Number, outPayment.data(), 1, 1, &found, &at));
        for (int32_t r = 0; r < MatrixRowCount(OPVc::Number, 0, outPayment.data()); r++)
            if (MatrixRowGet(OPVc::Number, 0, outPayment.data(), r, row.data()) &&
                GetU32(row.data(), OPVc::Rows::InvoiceNr) == GetU32(entry.data(), VLVc::InvoiceNr))
                vendorLedger -= AmountAt(row.data(), OPVc::Rows::Amount);
        RecFreeMatrix(OPVc::Number, outPayment.data());
    }
    EXPECT_EQ(vendorEntries, 5);
    EXPECT_NEAR(vendorLedger, Rent, 0.005);
    std::vector<uint8_t> balance(VBVc::Size);
    ASSERT_TRUE(FindByCode(VBVc::Number, VBVc::VendCode, 20, "V1", &balance));
    PackedDecimal vendorOwes;
    PeriodBalanceAt(GetU32(balance.data(), VBVc::Amounts), 4, 3, month, &vendorOwes);
    EXPECT_NEAR(DecToDouble(&vendorOwes), Rent, 0.005);
    RecFreeMatrix(VBVc::Number, balance.data());
    ASSERT_EQ(RegRecordCount(OPVc::Number), 2u);
    std::vector<uint8_t> sent(OPVc::Size);
    ASSERT_TRUE(RecReadAt(OPVc::Number, 1, sent.data(), &id));
    EXPECT_EQ(std::to_string(GetI32(sent.data(), OPVc::SerNr)), *payment);
    EXPECT_EQ(GetU16(sent.data(), OPVc::Posted), 1);
    EXPECT_EQ(GetU16(sent.data(), OPVc::Sent), 1) << "the payment went out in the bank file";
    EXPECT_NEAR(AmountAt(sent.data(), OPVc::RowsTotal), PurchaseTotal, 0.005);
    RecFreeMatrix(OPVc::Number, sent.data());
    std::vector<uint8_t> postedFromList(OPVc::Size);
    ASSERT_TRUE(RecReadAt(OPVc::Number, 2, postedFromList.data(), &id));
    EXPECT_EQ(std::to_string(GetI32(postedFromList.data(), OPVc::SerNr)), *cleaningPaid);
    EXPECT_EQ(GetU16(postedFromList.data(), OPVc::Posted), 1) << "Post marked posted it";
    EXPECT_EQ(GetU16(postedFromList.data(), OPVc::Transferred), 1) << "and entered it in the vendor ledger";
    EXPECT_NEAR(AmountAt(postedFromList.data(), OPVc::RowsTotal), Cleaning, 0.005);
    RecFreeMatrix(OPVc::Number, postedFromList.data());
    CloseForCheck();

    // The bank file holds the one payment: its head, the payment, its end.
    std::ifstream file(bankFile, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    EXPECT_EQ(FileLines(bankFile).size(), 3u) << bytes;
    EXPECT_NE(bytes.find("LM  10" + std::string("42345670000085") + "Fjord Supply AS"), std::string::npos) << bytes;
}

// A person's month: two expense claims, one posted in its window and one
// from the claim list's "Post marked", and two payments from the cash, one
// posted in its window and one approved and posted from the payment list.
// The account owed to staff in the trial balance, the person's statement
// and the person ledger in the company file all come to what the claims
// less the payments leave owed.
TEST_F(MonthBooksRoad, APersonsClaimsAndPaymentAgreeWithTheAccountOwedToStaff) {
    const std::string company = StartNewCompany("persons.VDB");
    constexpr double Taxi = 125, Hotel = 300, Paid = 200 + 50, Owed = Taxi + Hotel - Paid;
    TypePersonWithAccount(*this, "P1", "Pia Staff", "2890");
    TypeExpenseClaim(*this, "P1", "6110", "125,00", KeptAs::Posted);
    auto hotel = TypeExpenseClaim(*this, "P1", "6110", "300,00", KeptAs::Typed);
    RunOnListRow(*this, "Expense claims", W::ExpenseClaimList, hotel, "Post marked", ClaimPostedSays);
    TypePersonPayment(*this, "K", "P1", "200,00", KeptAs::Posted);
    auto fromList = TypePersonPayment(*this, "K", "P1", "50,00", KeptAs::Typed);
    RunOnListRow(*this, "Person payments", W::PersonPaymentList, fromList, "Approve marked");
    RunOnListRow(*this, "Person payments", W::PersonPaymentList, fromList, "Post marked");
    Menu("Window", "Close all");
    auto statement = PersonStatementOfTheYear(*this, "P1", "books_person_statement");
    Menu("Window", "Close all");
    Menu("Module", "General ledger");
    auto trial = ReportToPreviewAndPdf("Trial Balance", TrialBalanceSel, [this] { TypeThisYear(*this); },
                                       "books_person_trial");
    EXPECT_EQ(Run(), 0);

    // The claims' costs net of their VAT at 25 %, the cash paid out, and
    // the person owed the rest on 2890, as the statement closes.
    EXPECT_NEAR(TrialClosingBalance(*trial, "2890"), -Owed, 0.005) << *trial;
    EXPECT_NEAR(TrialClosingBalance(*trial, "6110"), (Taxi + Hotel) * 0.8, 0.005) << *trial;
    EXPECT_NEAR(TrialClosingBalance(*trial, "2640"), (Taxi + Hotel) * 0.2, 0.005) << *trial;
    EXPECT_NEAR(TrialClosingBalance(*trial, "1910"), -Paid, 0.005) << *trial;
    EXPECT_NEAR(PrintedLastAmount(*statement, "Closing balance"), Owed, 0.005) << *statement;

    // The person ledger: what its entries' claims less their payment rows
    // come to is what the account owes the person.
    ASSERT_TRUE(OpenForCheck(company));
    uint32_t id = 0, vouchers = 0;
    double ledger = 0;
    int entries = 0;
    std::vector<uint8_t> e(PersLedgerVc::Size);
    for (int32_t p = 1; RecReadAt(PersLedgerVc::Number, p, e.data(), &id); p++, entries++) {
        EXPECT_EQ(TextAt(e.data(), PersLedgerVc::Person), "P1");
        const bool claim = GetU16(e.data(), PersLedgerVc::Kind) == 0;
        const int reg = claim ? ExpenseVc::Number : PersPayVc::Number;
        std::vector<uint8_t> doc(claim ? ExpenseVc::Size : PersPayVc::Size);
        uint32_t found = 0, at = 0;
        PutU32(doc.data(), claim ? uint32_t(ExpenseVc::SerNr) : uint32_t(PersPayVc::SerNr),
               GetU32(e.data(), PersLedgerVc::DocNr));
        ASSERT_TRUE(RecFind(reg, doc.data(), 1, 1, &found, &at));
        if (claim) {
            ledger += AmountAt(doc.data(), ExpenseVc::Total);
        } else {
            std::vector<uint8_t> row(PersPayVc::Rows::Size);
            for (int32_t r = 0; MatrixRowGet(reg, 0, doc.data(), r, row.data()); r++)
                if (TextAt(row.data(), PersPayVc::Rows::Person) == "P1")
                    ledger -= AmountAt(row.data(), PersPayVc::Rows::Amount);
        }
        RecFreeMatrix(reg, doc.data());
    }
    EXPECT_EQ(entries, 4);
    EXPECT_NEAR(ledger, Owed, 0.005);
    std::map<std::string, double> sums = VoucherSums(&vouchers);
    EXPECT_NEAR(sums["2890"], -ledger, 0.005) << "the account owed to staff against the person ledger";
    CloseForCheck();
}

}  // namespace
