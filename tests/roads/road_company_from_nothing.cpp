// road_company_from_nothing.cpp - the set-up steps of a company started
// without the demo data.
#include "tests/roads/road_company_from_nothing.h"

#include <fstream>

#include "core/date.h"
#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "tests/roads/road_text.h"

std::string FromNothingYear() { return DayText(0).substr(6); }
std::string FromNothingYearStart() { return "01.01." + FromNothingYear(); }
std::string FromNothingYearEnd() { return "31.12." + FromNothingYear(); }

void CompanyFromNothingRoad::WriteFirstUserOnly()
{
    std::ofstream(dir / "DEFAULT.TXT", std::ios::binary)
        << "tb\r\n\r\n\r\nformat\r\n1\t44\t1\r\n\r\nuser1\r\nADMIN\tAdministrator\torvel\r\n";
}

void CompanyFromNothingRoad::ThisYear()
{
    ClickField("From");
    Type(FromNothingYearStart());
    ClickField("To");
    Type(FromNothingYearEnd());
}

void CompanyFromNothingRoad::TypeTheLedger()
{
    // ---- The company's name and its current fiscal year.
    Menu("Settings", "Company...");
    Check("the company window opens", Opened(WinTypes::Company));
    ClickField("Company");
    Type("Nordic Start AB");
    ClickField("Fiscal year from");
    Type(FromNothingYearStart());
    ClickField("Fiscal year to");
    Type(FromNothingYearEnd());
    auto told = CountTold();
    ClickOk();
    Check("the company is stored and the frame shows its name", [told] {
        EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
        EXPECT_EQ(CompanyShown(), "Nordic Start AB");
        return true;
    });
    Menu("Window", "Close all");

    // ---- The fiscal year and the voucher series within it.
    SettingsRowsStored("Fiscal years...", WinTypes::SetFiscalYears, {{FromNothingYear(), FromNothingYearStart(), FromNothingYearEnd()}});
    Menu("Settings", "Number series...");
    Check("the series window opens", Opened(WinTypes::SetSeries));
    ClickRow("Vouchers");
    Key(PlKey::Return);
    Check("the voucher series open empty", Opened(WinTypes::SetSeries197));
    // First typed turned over: refused at its last number, kept typed.
    TypeCell(0, 0, "500");
    TypeCell(0, 1, "100");
    TypeCell(0, 2, FromNothingYearStart());
    TypeCell(0, 3, FromNothingYearEnd());
    ClickOk();
    Check("a range turned over is refused at its last number", [] {
        EXPECT_TRUE(Told("The last number of a range lies before its first.")) << ::testing::PrintToString(Messages());
        EXPECT_EQ(ActiveType(), WinTypes::SetSeries197) << ActiveTitle();
        EXPECT_EQ(FocusLabel(), "cell");
        return ActiveType() == WinTypes::SetSeries197;
    });
    TypeCell(0, 0, "1");
    TypeCell(0, 1, "99999");
    auto toldSeries = CountTold();
    ClickOk();
    Check("the series is stored", [toldSeries] {
        EXPECT_EQ(Messages().size(), *toldSeries) << ::testing::PrintToString(Messages());
        EXPECT_NE(ActiveType(), WinTypes::SetSeries197) << ActiveTitle();
        return ActiveType() != WinTypes::SetSeries197;
    });
    Menu("Window", "Close all");

    // ---- The balance accounts, then the VAT code that posts to two of
    // them, then the income and cost accounts.
    NewFromList("Accounts", WinTypes::AccountList, WinTypes::Accounts);
    TypeAccounts({{"1910", "Cash", "Assets", ""},
                  {"1930", "Bank", "Assets", ""},
                  {"2081", "Share capital", "Equity", ""},
                  {"2610", "Output VAT", "Liabilities", ""},
                  {"2640", "Input VAT", "Liabilities", ""}});
    Menu("Window", "Close all");
    SettingsRowsStored("VAT codes...", WinTypes::SetVatCodes, {{"1", "Standard", "25", "", "2610", "2640"}});
    NewFromList("Accounts", WinTypes::AccountList, WinTypes::Accounts);
    TypeAccounts({{"3010", "Sales", "Income", "1"}, {"5010", "Rent", "Costs", ""}});
    Menu("Window", "Close all");

    // ---- A currency and its rate.
    SettingsRowsStored("Currencies...", WinTypes::SetCurrencies, {{"EUR", "Euro", "2"}});
    NewFromList("Exchange rates", WinTypes::ExchangeRateList, WinTypes::ExchangeRates);
    ClickField("Currency");
    Type("EUR");
    Retype("Date", FromNothingYearStart());
    ClickField("Rate per 100");
    Type("1150");
    OkStoresQuietly("the rate");
    Menu("Window", "Close all");

    // ---- Invoices and receipts post to the ledger from the year's start.
    Menu("Settings", "Posting...");
    Check("the posting window opens", Opened(WinTypes::SetPosting));
    ClickButton("Post invoices");
    ClickButton("Post receipts");
    Retype("Invoices from", FromNothingYearStart());
    Retype("Receipts from", FromNothingYearStart());
    ClickOk();
    Check("the posting block is stored", [] { return ActiveType() != WinTypes::SetPosting; });
    Menu("Window", "Close all");
}

void CompanyFromNothingRoad::TypeStatementSigns()
{
    Menu("Settings", "Ledger options...");
    Check("the ledger options open", Opened(WinTypes::SetLedgerOptions));
    for (const char *sign : {"Signs A1", "Signs A2", "Signs A3"}) Retype(sign, "1");
    ClickOk();
    Check("the ledger options are stored", [] { return ActiveType() != WinTypes::SetLedgerOptions; });
    Menu("Window", "Close all");
}

void CompanyFromNothingRoad::TypeSalesSetUp()
{
    Menu("Module", "General ledger");
    NewFromList("Accounts", WinTypes::AccountList, WinTypes::Accounts);
    TypeAccounts({{"1510", "Receivables", "Assets", ""}, {"3740", "Rounding", "Income", ""}});
    Menu("Window", "Close all");
    Menu("Module", "Sales");
    Menu("Settings", "Sales accounts...");
    Check("the sales accounts open", Opened(WinTypes::SetSalesAccounts));
    Retype("Receivables", "1510");
    Retype("Rounding", "3740");
    Retype("Sales, other zones", "3010");
    Retype("VAT code, other zones", "1");
    auto toldAccounts = CountTold();
    ClickOk();
    Check("the sales accounts are stored", [toldAccounts] {
        EXPECT_EQ(Messages().size(), *toldAccounts) << ::testing::PrintToString(Messages());
        return ActiveType() != WinTypes::SetSalesAccounts;
    });
    Menu("Window", "Close all");
    TypeSeriesOfTheYear("Sales invoices", WinTypes::SetSeries187);
}

void CompanyFromNothingRoad::TypePurchaseSetUp(const std::string &bankFormat, const std::string &bankAccount)
{
    Menu("Module", "General ledger");
    NewFromList("Accounts", WinTypes::AccountList, WinTypes::Accounts);
    TypeAccounts({{"1460", "Stock", "Assets", ""},
                  {"2440", "Payables", "Liabilities", ""},
                  {"2441", "Goods received, not invoiced", "Liabilities", ""},
                  {"4010", "Cost of goods", "Costs", ""}});
    Menu("Window", "Close all");

    // Purchase invoices, payments and goods received post from the year's
    // start, beside the invoices and receipts posted already.
    Menu("Settings", "Posting...");
    Check("the posting window opens", Opened(WinTypes::SetPosting));
    ClickButton("Post purchase invoices");
    ClickButton("Post payments");
    ClickButton("Post goods received");
    Retype("Purchase invoices from", FromNothingYearStart());
    Retype("Payments from", FromNothingYearStart());
    Retype("Goods received from", FromNothingYearStart());
    auto toldPosting = CountTold();
    ClickOk();
    Check("the posting block is stored", [toldPosting] {
        EXPECT_EQ(Messages().size(), *toldPosting) << ::testing::PrintToString(Messages());
        return ActiveType() != WinTypes::SetPosting;
    });
    Menu("Window", "Close all");

    TypeStockAccounts();

    TypeCreditorsAccount("2440");
    SettingsRowsStored("Payment modes...", WinTypes::SetPaymentModes, {{"B", "1930", "Bank", bankAccount}});

    Menu("Settings", "Company...");
    Check("the company window opens", Opened(WinTypes::Company));
    Retype("Bank account", bankAccount);
    Retype("Bank file format", bankFormat);
    auto toldCompany = CountTold();
    ClickOk();
    Check("the bank file format is stored", [toldCompany] {
        EXPECT_EQ(Messages().size(), *toldCompany) << ::testing::PrintToString(Messages());
        return true;
    });
    Menu("Window", "Close all");

    TypeSeriesOfTheYear("Purchase orders", WinTypes::SetSeries198);
    TypeSeriesOfTheYear("Purchases", WinTypes::SetSeries194);
    TypeSeriesOfTheYear("Purchase invoices", WinTypes::SetSeries189);
    TypeSeriesOfTheYear("Outgoing payments", WinTypes::SetSeries190);
}

void CompanyFromNothingRoad::TypeStockAccounts()
{
    Menu("Module", "Sales");
    Menu("Settings", "Sales accounts...");
    Check("the sales accounts open", Opened(WinTypes::SetSalesAccounts));
    Retype("Stock", "1460");
    Retype("Purchase clearing", "2441");
    Retype("Cost of goods", "4010");
    auto told = CountTold();
    ClickOk();
    Check("the stock accounts are stored", [told] {
        EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
        return ActiveType() != WinTypes::SetSalesAccounts;
    });
    Menu("Window", "Close all");
}

void CompanyFromNothingRoad::TypeSeriesOfTheYear(const std::string &row, int type)
{
    Menu("Settings", "Number series...");
    Check("the series window opens", Opened(WinTypes::SetSeries));
    ClickRow(row);
    Key(PlKey::Return);
    Check("the series of " + row + " open empty", Opened(type));
    const std::vector<std::string> range = {"1", "99999", FromNothingYearStart(), FromNothingYearEnd()};
    for (int c = 0; c < int(range.size()); c++) TypeCell(0, c, range[c]);
    auto told = CountTold();
    ClickOk();
    Check("the series of " + row + " is stored", [type, told] {
        EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
        return ActiveType() != type;
    });
    Menu("Window", "Close all");
}
