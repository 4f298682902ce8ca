// road_company_from_nothing_test.cpp - a company started without the demo
// data, as a company that keeps its own books from the first day starts:
// the working folder's DEFAULT.TXT holds only the first user, so the new
// company has no year, series, account or VAT code. A voucher typed then
// is refused and nothing is stored. Everything the first voucher needs is
// then made in windows from the General ledger's menus: the company's
// name, a fiscal year, the voucher series, the balance accounts, a VAT
// code on them, the income and cost accounts (the sales account carrying
// the VAT code), a currency and its rate, the posting switches, the sign
// words of the statements and the rows of the balance sheet and the
// income statement. The voucher is then stored; the trial balance, the
// balance sheet and the income statement print to PDFs whose figures are
// the voucher's. Then the first invoice: receivables and rounding
// accounts, the sales accounts and the invoice series in the Sales module's settings, a
// customer and an item in their windows, and an invoice of two hours,
// posted. The company file holds what was typed, the invoice's voucher
// beside the first, and nothing of the demo.
// Menus: in General ledger, Registers > Vouchers, Registers > Balance sheet
// rows, Registers > Income statement rows, Registers > Customers; in Sales,
// Registers > Sales invoices; in Stock, Registers > Item list; File >
// Reports (Ctrl+R) > "Income Statement", File > Reports (Ctrl+R) > "Balance
// Sheet", File > Reports (Ctrl+R) > "Trial Balance".
// Windows: Balance statement selection, Result statement selection, Trial
// balances and sales-ledger accounts selection, Voucher, Balance sheet row
// list, Balance sheet row, Income statement row list, Income statement row,
// Customer list, Customers, Item list, Item, Sales invoice list, Sales
// invoice.
#include "tests/roads/road_company_from_nothing.h"
#include "tests/roads/road_text.h"

#include <cmath>
#include <fstream>
#include <map>
#include <memory>

#include "core/date.h"
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "database/access/record_access.h"
#include "database/access/settings_binding.h"
#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/queue.h"

namespace {

namespace fs = std::filesystem;

constexpr int BalanceSel = 401, ResultSel = 402, TrialBalanceSel = 428;
constexpr int Voucher = 117;

// The start capital into the bank, a cash sale of 1 000 with 25 % VAT and
// 400 of rent paid from the bank, in one voucher.
const std::vector<RoadTest::VoucherRow> FirstVoucher = {
    {"1930", "50000", ""}, {"2081", "", "50000"}, {"1910", "1250", ""}, {"3010", "", "1000"},
    {"2610", "", "250"},   {"5010", "400", ""},   {"1930", "", "400"},
};

TEST_F(CompanyFromNothingRoad, TheFirstVoucherAndInvoiceOfACompanyMadeInWindowsReachTheLedger)
{
    WriteFirstUserOnly();
    const std::string company = StartNewCompany("start.VDB");
    Check("the new company is empty", [] {
        EXPECT_EQ(CompanyShown(), "");
        EXPECT_EQ(RegRecordCount(ACVc::Number), 0u);
        EXPECT_EQ(RegRecordCount(CUVc::Number), 0u);
        return true;
    });

    // ---- A voucher before anything is set up: refused, nothing stored.
    TypeVoucherRows("Too early", {{"1910", "100", ""}, {"3010", "", "100"}});
    ClickOk();
    Check("the voucher is refused on its date and kept in its window", [] {
        EXPECT_TRUE(Told("The date lies in no fiscal year.")) << ::testing::PrintToString(Messages());
        EXPECT_EQ(FocusLabel(), "Date");
        EXPECT_TRUE(TitleTells("new")) << ActiveTitle();
        EXPECT_EQ(Shown("Text"), "Too early");
        return Opened(Voucher)();
    });
    ClickButton("Cancel");
    AnswerBox(kPlIdNo);
    Menu("Window", "Close all");

    TypeTheLedger();
    TypeStatementSigns();

    // ---- The statements' rows.
    NewFromList("Balance sheet rows", WinTypes::BalanceRowList21, WinTypes::BalanceRow21);
    TypeStatementRows({{"10", "Assets", "", "Text line", "Assets"},
                       {"20", "Current assets", "1000:1999", "Account formula", "Assets"},
                       {"30", "Total assets", "20", "Row formula", "Assets"},
                       {"40", "Equity and liabilities", "", "Text line", "Equity"},
                       {"50", "Equity", "2000:2099", "Account formula", "Equity"},
                       {"60", "", "3000:8999", "Account formula", "Income"},
                       {"70", "Result of the year", "60", "Row formula", "Income"},
                       {"80", "Liabilities", "2100:2999", "Account formula", "Liabilities"},
                       {"90", "Total equity and liabilities", "50+60+80", "Row formula", "Liabilities"}});
    NewFromList("Income statement rows", WinTypes::ResultRowList22, WinTypes::ResultRow22);
    TypeStatementRows({{"10", "Operating income", "3000:3999", "Account formula", "Income"},
                       {"20", "Other external costs", "5000:6999", "Account formula", "Costs"},
                       {"30", "Result of the year", "10+20", "Row formula", "Income"}});
    Menu("Window", "Close all");

    // ---- The first voucher, now stored.
    TypeVoucher("Start capital, a cash sale and the rent", FirstVoucher);

    auto result = ReportToPreviewAndPdf("Income Statement", ResultSel, [this] { ThisYear(); }, "start_income");
    Menu("Window", "Close all");
    auto balance = ReportToPreviewAndPdf("Balance Sheet", BalanceSel, [this] { ThisYear(); }, "start_balance");
    Menu("Window", "Close all");
    auto trial = ReportToPreviewAndPdf("Trial Balance", TrialBalanceSel, [this] { ThisYear(); }, "start_trial");
    Menu("Window", "Close all");

    // ---- The first invoice: the sales set-up, a customer and an item,
    // each in its window.
    TypeSalesSetUp();
    NewFromList("Customers", WinTypes::CustomerList, WinTypes::Customers);
    ClickField("Code");
    Type("C1");
    ClickField("Name");
    Type("First Customer");
    OkStoresQuietly("the customer");
    Menu("Module", "Stock");
    NewFromList("Item list", WinTypes::ItemList, WinTypes::Item);
    ClickField("Code");
    Type("CONS");
    ClickField("Name");
    Type("Consulting hour");
    ClickField("Price");
    Type("500");
    ClickField("Sales account");
    Type("3010");
    ClickField("VAT code");
    Type("1");
    OkStoresQuietly("the item");
    Menu("Module", "Sales");
    NewFromList("Sales invoices", WinTypes::SalesInvoiceList, WinTypes::SalesInvoice);
    ClickField("Customer");
    Type("C1");
    Key(PlKey::Tab);
    ClickCell(0, 1);
    Type("CONS");
    Key(PlKey::Tab);
    Type("2");
    Key(PlKey::Tab);
    Check("the invoice sums its row", [] {
        EXPECT_EQ(Shown("Total"), "1250,00");
        return true;
    });
    ClickButton("Posted");
    OkStoresQuietly("the first invoice");
    Menu("Window", "Close all");
    EXPECT_EQ(Run(), 0);

    // The income statement: 1 000 of sales less 400 of rent.
    EXPECT_NEAR(PrintedLastAmount(*result, "Total Operating income"), 1000, 0.005) << *result;
    EXPECT_NEAR(PrintedLastAmount(*result, "Total Other external costs"), 400, 0.005) << *result;
    EXPECT_NEAR(PrintedLastAmount(*result, "Result of the year"), 600, 0.005) << *result;

    // The balance sheet: cash 1 250 and the bank's 49 600; the capital,
    // the year's result and the VAT owed on the other side.
    const double assets = PrintedLastAmount(*balance, "Total assets");
    EXPECT_NEAR(assets, 50850, 0.005) << *balance;
    EXPECT_NEAR(PrintedLastAmount(*balance, "Total Equity"), 50000, 0.005) << *balance;
    EXPECT_NEAR(PrintedLastAmount(*balance, "Result of the year"), 600, 0.005) << *balance;
    EXPECT_NEAR(PrintedLastAmount(*balance, "Total Liabilities"), 250, 0.005) << *balance;
    EXPECT_NEAR(PrintedLastAmount(*balance, "Total equity and liabilities"), assets, 0.005) << *balance;

    // The trial balance: every account's closing balance is the voucher's.
    const std::map<std::string, double> closing = {{"1910", 1250}, {"1930", 49600}, {"2081", -50000},
                                                   {"2610", -250},  {"3010", -1000}, {"5010", 400}};
    for (const auto &[account, amount] : closing)
        EXPECT_NEAR(TrialClosingBalance(*trial, account), amount, 0.005) << account << "\n" << *trial;

    // ---- The company file.
    ASSERT_TRUE(OpenForCheck(company));
    uint32_t vouchers = 0;
    // The voucher's rows and the first invoice's: 1 000 of sales and 250
    // of VAT owed by C1.
    EXPECT_EQ(VoucherSums(&vouchers), (std::map<std::string, double>{{"1510", 1250}, {"1910", 1250},
                                                                       {"1930", 49600}, {"2081", -50000},
                                                                       {"2610", -500}, {"3010", -2000},
                                                                       {"5010", 400}}));
    EXPECT_EQ(vouchers, 2u) << "the refused voucher was stored, or the invoice not posted";
    EXPECT_EQ(RegRecordCount(ACVc::Number), 9u);
    std::vector<uint8_t> r;
    ASSERT_TRUE(FindByCode(ACVc::Number, ACVc::Code, 10, "3010", &r));
    EXPECT_EQ(TextAt(r.data(), ACVc::VatCode), "1");
    EXPECT_EQ(GetU16(r.data(), ACVc::AccType), 3);
    // Only the customer and the item typed: none of the demo's came in.
    EXPECT_EQ(RegRecordCount(CUVc::Number), 1u);
    EXPECT_EQ(RegRecordCount(INVc::Number), 1u);
    ASSERT_TRUE(FindByCode(INVc::Number, INVc::Code, 20, "CONS", &r));
    EXPECT_EQ(TextAt(r.data(), INVc::SalesAcc), "3010");
    ASSERT_EQ(RegRecordCount(IVVc::Number), 1u);
    {
        std::vector<uint8_t> invoice(IVVc::Size);
        uint32_t id = 0;
        ASSERT_TRUE(RecReadAt(IVVc::Number, 1, invoice.data(), &id));
        EXPECT_EQ(GetU32(invoice.data(), IVVc::SerNr), 1u) << "the first number of the series typed";
        EXPECT_EQ(GetU16(invoice.data(), IVVc::Posted), 1);
        EXPECT_NEAR(RoadTest::AmountAt(invoice.data(), IVVc::Total), 1250, 0.005);
        RecFreeMatrix(IVVc::Number, invoice.data());
    }
    EXPECT_EQ(RegRecordCount(SR21Vc::Number), 9u);
    EXPECT_EQ(RegRecordCount(SR22Vc::Number), 3u);
    EXPECT_EQ(RegRecordCount(ExchRateVc::Number), 1u);
    {
        namespace Y = FiscalYearBlk::Rows;
        std::vector<uint8_t> rows = StoredRows(FiscalYearBlk::Number);
        ASSERT_EQ(rows.size(), size_t(Y::Size));
        EXPECT_EQ(TextAt(rows.data(), Y::YearCode), FromNothingYear());
        EXPECT_NE(GetU16(rows.data(), Y::OrderCode), 0) << "the year got no order code";
    }
    {
        namespace S = VoucherSeriesBlk::Rows;
        std::vector<uint8_t> rows = StoredRows(VoucherSeriesBlk::Number);
        ASSERT_EQ(rows.size(), size_t(S::Size));
        EXPECT_EQ(GetU32(rows.data(), S::FirstNr), 1u);
        EXPECT_EQ(GetU32(rows.data(), S::LastNr), 99999u);
    }
    {
        namespace V = VatCodeBlk::Rows;
        std::vector<uint8_t> rows = StoredRows(VatCodeBlk::Number);
        ASSERT_EQ(rows.size(), size_t(V::Size));
        EXPECT_EQ(TextAt(rows.data(), V::Account1), "2610");
        EXPECT_EQ(TextAt(rows.data(), V::Account2), "2640");
        EXPECT_DOUBLE_EQ(RoadTest::AmountAt(rows.data(), V::Rate), 25);
    }
    {
        namespace C = CurrencyBlk::Rows;
        std::vector<uint8_t> rows = StoredRows(CurrencyBlk::Number);
        ASSERT_EQ(rows.size(), size_t(C::Size));
        EXPECT_EQ(TextAt(rows.data(), C::Code), "EUR");
        EXPECT_EQ(GetU16(rows.data(), C::Decimals), 2);
    }
    {
        uint8_t posting[PostingBlk::Size] = {};
        ASSERT_TRUE(SettingsBlockRead(PostingBlk::Number, posting, sizeof posting));
        EXPECT_EQ(GetU16(posting, PostingBlk::PostInvoices), 1);
        EXPECT_EQ(GetU16(posting, PostingBlk::PostReceipts), 1);
        EXPECT_EQ(GetU16(posting, PostingBlk::PostPayments), 0);
    }
    {
        uint8_t block[CompanyBlk::Size] = {};
        ASSERT_TRUE(SettingsBlockRead(CompanyBlk::Number, block, sizeof block));
        EXPECT_EQ(TextAt(block, CompanyBlk::CompanyName), "Nordic Start AB");
        EXPECT_EQ(GetU16(block, CompanyBlk::SignA0), 0);
        EXPECT_EQ(GetU16(block, CompanyBlk::SignA1), 1);
        EXPECT_EQ(GetU16(block, CompanyBlk::SignA3), 1);
        EXPECT_EQ(GetU16(block, CompanyBlk::SignA4), 0);
    }
    CloseForCheck();
}

}  // namespace
