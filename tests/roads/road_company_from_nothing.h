// road_company_from_nothing.h - the steps that set up a company started
// without the demo data, shared by the roads that go on from there: the
// working folder's DEFAULT.TXT holds only the first user, and everything
// else is typed in windows.
#pragma once

#include "tests/roads/road_fixture.h"

#include <string>

// The fiscal year the roads make: today's.
std::string FromNothingYear();
std::string FromNothingYearStart();
std::string FromNothingYearEnd();

class CompanyFromNothingRoad : public RoadTest {
public:
    // DEFAULT.TXT of the working folder: the first user and nothing else.
    void WriteFirstUserOnly();
    // The whole fiscal year in a report's selection.
    void ThisYear();
    // The ledger from the General ledger's menus: the company's name, the
    // fiscal year, the voucher series (a range turned over refused first),
    // the balance accounts 1910 1930 2081 2610 2640, VAT code 1 of 25 %
    // posting to 2610 and 2640, the accounts 3010 (with VAT code 1) and
    // 5010, the currency EUR at 1150 per 100 from the year's start, and
    // invoices and receipts posted from the year's start.
    void TypeTheLedger();
    // Liabilities, equity and income print with their sign turned.
    void TypeStatementSigns();
    // What an invoice needs besides the ledger: the receivables account
    // 1510 and the rounding account 3740, the Sales module's accounts, and
    // the invoice series 1-99999 of the year. Leaves the Sales module
    // current.
    void TypeSalesSetUp();
    // What buying for stock needs besides the ledger and the sales set-up:
    // the accounts of stock 1460, payables 2440, goods received but not
    // invoiced 2441 and cost of goods 4010; the Sales accounts' stock,
    // purchase clearing and cost of goods; the creditors account of the
    // Purchase accounts; purchase invoices, payments and goods received
    // posted from the year's start; the payment mode B paying from 1930
    // and the company's bank account `bankAccount`; the company's bank
    // file format `bankFormat`; and the series 1-99999 of the year of
    // purchase orders, goods receipts, purchase invoices and outgoing
    // payments. Leaves the Purchasing module current.
    void TypePurchaseSetUp(const std::string &bankFormat, const std::string &bankAccount);
    // The stock side of the Sales accounts, which goods received and their
    // invoices book: Stock 1460, Purchase clearing 2441 and Cost of goods
    // 4010, accounts of the chart. Leaves the Sales module current.
    void TypeStockAccounts();
    // Settings > Number series of the module shown: the series of row
    // `row` (its window of type `type`) given the range 1-99999 over the
    // whole year.
    void TypeSeriesOfTheYear(const std::string &row, int type);
};
