// road_demo_ledger_test.cpp - a month of the demo company's ledger as a
// new user walks it, with nothing set up beyond what a new company brings:
// a vendor's invoice with VAT approved and paid from the bank reaches the
// trial balance; vouchers typed in the General ledger print in the balance
// sheet and the income statement, whose totals agree with each other and
// with the trial balance; the SIE export names every account's kind by its
// class; and a fixed asset in the demo's asset group gets its depreciation
// voucher from the maintenance run.
// Menus: in General ledger, Registers > Vouchers, Registers > Depreciation
// models, Registers > Fixed assets; in Purchasing, Registers > Vendors,
// Registers > Purchase invoices, Registers > Outgoing payments; File >
// Reports (Ctrl+R) > "Trial Balance", File > Reports (Ctrl+R) > "Income
// Statement", File > Reports (Ctrl+R) > "Balance Sheet", File >
// Maintenance... > "SIE file", File > Maintenance... > "depreciation
// voucher".
// Windows: Purchase invoice list, Purchase invoice, Outgoing payment list,
// Outgoing payment, Balance statement selection, Result statement
// selection, Trial balances and sales-ledger accounts selection, SIE export
// selection, Fixed asset, Fixed asset list.
#include "tests/roads/road_fixture.h"
#include "tests/roads/road_text.h"

#include <cctype>
#include <cmath>
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

constexpr int PurchaseInvoiceList = 154, PurchaseInvoice = 155, OutPaymentList = 156, OutPayment = 157;
constexpr int BalanceSel = 401, ResultSel = 402, TrialBalanceSel = 428, SieExportSel = 598;
constexpr int Asset = 325, AssetList = 542;
namespace fs = std::filesystem;

// The digits of a text: amounts are compared whatever their grouping.
std::string Digits(const std::string &shown) {
    std::string d;
    for (char c : shown)
        if (c >= '0' && c <= '9') d += c;
    return d;
}

class DemoLedgerRoad : public RoadTest {
protected:
    // The whole year of today's date in the selection window's From and To.
    void ThisYear() {
        ClickField("From");
        Type("From", [] { return "01.01." + std::to_string(TodayDate.year); });
        ClickField("To");
        Type("To", [] { return "31.12." + std::to_string(TodayDate.year); });
    }
};

// The vendor is typed into its window; everything else is the demo
// company's.
TEST_F(DemoLedgerRoad, APurchaseInvoiceAndItsPaymentReachTheTrialBalance) {
    const std::string company = StartNewCompany();
    TypeVendor({"V1", "Property Ltd", "Box 12", "", "", "5050-1234", "5050-1234"});

    // The rent of 1 000 with 25 % VAT, 1 250 in all.
    Menu("Module", "Purchasing");
    Menu("Registers", "Purchase invoices");
    Check("the register popup opens the purchase-invoice list", Opened(PurchaseInvoiceList));
    ClickButton("New");
    Check("New opens a purchase invoice", Opened(PurchaseInvoice));
    ClickField("Vendor");
    Type("V1");
    Key(PlKey::Tab);
    ClickField("Vendor's invoice");
    Type("R-12");
    ClickField("Total");
    Type("1250");
    Key(PlKey::Tab);
    ClickCell(0, 0);
    Type("5010");
    Key(PlKey::Tab);
    ClickCell(0, 3);
    Type("1000");
    Key(PlKey::Tab);
    ClickCell(0, 4);
    Type("1");
    Key(PlKey::Tab);
    ClickButton("Approved");
    ClickOk();
    auto number = std::make_shared<std::string>();
    Check("OK stores the approved invoice", [number] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        *number = Digits(Shown("Number"));
        return TitleTells("viewing") && !number->empty();
    });
    Menu("Window", "Close all");

    // Paid in full from the bank.
    Menu("Registers", "Outgoing payments");
    Check("the register popup opens the payment list", Opened(OutPaymentList));
    ClickButton("New");
    Check("New opens a payment", Opened(OutPayment));
    ClickField("Payment mode");
    Type("B");
    Key(PlKey::Tab);
    ClickCell(0, 0);
    Do("type the invoice's number", [number] {
        ScriptText(*number);
        return true;
    });
    Key(PlKey::Tab);
    ClickButton("Approved");
    ClickButton("Posted");
    OkStores("payment");
    Menu("Window", "Close all");

    Menu("Module", "General ledger");
    auto trial = ReportToPreviewAndPdf("Trial Balance", TrialBalanceSel, [this] { ThisYear(); }, "demo_trial_balance");
    EXPECT_EQ(Run(), 0);

    // The trial balance shows the rent, its VAT and the bank's outflow;
    // the creditor is settled.
    EXPECT_NEAR(TrialClosingBalance(*trial, "5010"), 1000, 0.005) << *trial;
    EXPECT_NEAR(TrialClosingBalance(*trial, "2640"), 250, 0.005) << *trial;
    EXPECT_NEAR(TrialClosingBalance(*trial, "1930"), -1250, 0.005) << *trial;
    EXPECT_NEAR(TrialClosingBalance(*trial, "2440"), 0, 0.005) << *trial;

    // The company file holds the invoice's and the payment's vouchers.
    ASSERT_TRUE(OpenForCheck(company));
    uint32_t vouchers = 0;
    const std::map<std::string, double> sums = VoucherSums(&vouchers);
    EXPECT_EQ(vouchers, 2u);
    EXPECT_EQ(sums, (std::map<std::string, double>{{"1930", -1250}, {"2440", 0}, {"2640", 250}, {"5010", 1000}}));
    CloseForCheck();
}

// A cash sale with VAT and a rent paid from the bank, typed as one voucher;
// then the income statement, the balance sheet and the trial balance of
// the year; then the SIE export.
TEST_F(DemoLedgerRoad, TheStatementsPrintAndAgreeWithTheTrialBalance) {
    const std::string company = StartNewCompany();
    TypeVoucher("Cash sale and rent", {{"1910", "1250", ""},
                                       {"5010", "400", ""},
                                       {"3010", "", "1000"},
                                       {"2610", "", "250"},
                                       {"1930", "", "400"}});

    auto result = ReportToPreviewAndPdf("Income Statement", ResultSel, [this] { ThisYear(); }, "demo_income");
    Menu("Window", "Close all");
    auto balance = ReportToPreviewAndPdf("Balance Sheet", BalanceSel, [this] { ThisYear(); }, "demo_balance");
    Menu("Window", "Close all");
    auto trial = ReportToPreviewAndPdf("Trial Balance", TrialBalanceSel, [this] { ThisYear(); }, "demo_trial");
    Menu("Window", "Close all");

    const fs::path sie = dir / "demo.se";
    ChooseTextExport("SIE file", sie);
    Check("the SIE export's window opens", Opened(SieExportSel));
    ClickField("SIE type (1-4)");
    Type("1");
    ThisYear();
    ClickOk();
    Check("the SIE file is written", [sie] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        return fs::exists(sie);
    });
    EXPECT_EQ(Run(), 0);

    // The income statement: 1 000 of sales less 400 of rent.
    EXPECT_EQ(result->find("The statement has no rows"), std::string::npos) << *result;
    EXPECT_NEAR(PrintedLastAmount(*result, "Total Operating income"), 1000, 0.005) << *result;
    EXPECT_NEAR(PrintedLastAmount(*result, "Total Other external costs"), 400, 0.005) << *result;
    EXPECT_NEAR(PrintedLastAmount(*result, "Result of the year"), 600, 0.005) << *result;

    // The balance sheet: cash less bank, the VAT owed and the year's
    // result; both sides equal.
    EXPECT_EQ(balance->find("The statement has no rows"), std::string::npos) << *balance;
    const double assets = PrintedLastAmount(*balance, "Total assets");
    EXPECT_NEAR(assets, 850, 0.005) << *balance;
    EXPECT_NEAR(PrintedLastAmount(*balance, "Total equity and liabilities"), assets, 0.005) << *balance;
    EXPECT_NEAR(PrintedLastAmount(*balance, "Result of the year"), PrintedLastAmount(*result, "Result of the year"), 0.005)
        << *balance;

    // The trial balance's closing balances are the statements' figures.
    EXPECT_NEAR(TrialClosingBalance(*trial, "1910") + TrialClosingBalance(*trial, "1930"), assets, 0.005) << *trial;
    EXPECT_NEAR(-TrialClosingBalance(*trial, "3010") - TrialClosingBalance(*trial, "5010"),
                PrintedLastAmount(*result, "Result of the year"), 0.005)
        << *trial;
    EXPECT_NEAR(-TrialClosingBalance(*trial, "2610"), PrintedLastAmount(*balance, "Total Liabilities"), 0.005) << *trial;

    // Every account of the SIE file carries the kind of its class: assets
    // T, liabilities and equity S, income I, costs K.
    std::ifstream in(sie, std::ios::binary);
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::istringstream lines(text);
    std::string line;
    int kinds = 0;
    while (std::getline(lines, line)) {
        if (line.rfind("#KTYP\t", 0) != 0) continue;
        std::istringstream fields(line.substr(6));
        std::string account, letter;
        std::getline(fields, account, '\t');
        std::getline(fields, letter, '\t');
        const char want = account[0] == '1' ? 'T' : account[0] == '2' ? 'S' : account[0] == '3' ? 'I' : 'K';
        EXPECT_EQ(letter, std::string(1, want)) << line;
        kinds++;
    }
    EXPECT_GE(kinds, 30) << text;
    EXPECT_NE(text.find("#KTYP\t1930\tT\t"), std::string::npos) << text;

    ASSERT_TRUE(OpenForCheck(company));
    uint32_t vouchers = 0;
    EXPECT_EQ(VoucherSums(&vouchers),
              (std::map<std::string, double>{{"1910", 1250}, {"1930", -400}, {"2610", -250}, {"3010", -1000},
                                             {"5010", 400}}));
    EXPECT_EQ(vouchers, 1u);
    CloseForCheck();
}

// The demo's asset group EQ carries the accounts of the depreciation run.
TEST_F(DemoLedgerRoad, AnAssetInTheDemoGroupGetsItsDepreciationVoucher) {
    const std::string company = StartNewCompany();
    TypeStraightLineModel("SL20", "Equipment, 5 years", "20");
    Menu("Registers", "Fixed assets");
    Check("the asset list opens", Opened(AssetList));
    ClickButton("New");
    Check("New opens the asset window", Opened(Asset));
    TypeAsset({"PC1", "Computer", "EQ", "01.01.2024", "12000", "SL20"});
    RunDepreciation("01.01.2024", "30.06.2024");
    Check("the run stores its voucher without a word", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        return true;
    });
    EXPECT_EQ(Run(), 0);

    // The half year's 1 200 from the group's cost account to its
    // accumulated depreciation.
    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(SMVc::Number), 1u);
    std::vector<uint8_t> voucher(SMVc::Size), row(SMVc::Rows::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(SMVc::Number, 1, voucher.data(), &id));
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(voucher.data(), SMVc::Debit), 1200);
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(voucher.data(), SMVc::Balance), 0);
    std::map<std::string, double> sums;
    for (int32_t i = 0; i < MatrixRowCount(SMVc::Number, 0, voucher.data()); i++) {
        ASSERT_TRUE(MatrixRowRead(SMVc::Number, voucher.data(), i, row.data()));
        sums[TextAt(row.data(), SMVc::Rows::Account)] += RoadTest::AmountAt(row.data(), SMVc::Rows::Amount);
    }
    EXPECT_EQ(sums, (std::map<std::string, double>{{"1229", -1200}, {"7832", 1200}}));
    CloseForCheck();
}

}  // namespace
