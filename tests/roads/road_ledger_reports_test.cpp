// road_ledger_reports_test.cpp - the general ledger as a bookkeeper reads
// it: a cash sale typed as a voucher (1910 debit, 3010 credit with VAT
// code 1) in the General ledger module; Ctrl+R lists the ledger reports,
// the general ledger's selection window takes this month (From and To
// typed, Tab on through the Period, which follows them) and the accounts
// 1910:3010, OK shows it in the preview, and Ctrl+P prints it to a PDF
// whose text holds both accounts, the voucher's text, its amount and the
// period typed. The other ledger reports' windows open from the same
// list; the balance export with the result amounts writes its file from
// File > Maintenance. The company file then holds the postings the report
// listed.
// Menus: in General ledger, Registers > Vouchers; File > Reports (Ctrl+R) >
// "General Ledger", File > Maintenance... > "Balances with result amounts".
// Windows: General ledger selection, Trial balances and sales-ledger
// accounts selection, Ledger set-up selection, Rate accounts selection,
// Balances with result amounts export.
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>

#include "core/field_access.h"
#include "core/system.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"

namespace {

constexpr int GeneralLedgerSel = 425, TrialBalanceSel = 428, LedgerSetupSel = 430, RateAccountSel = 433,
              ResultExportSel = 409;
namespace fs = std::filesystem;

class LedgerReportsRoad : public RoadTest {};

// Today's date and the first of its month, as dates are typed and shown.
std::string TwoDigits(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }
std::string Today()
{
    return TwoDigits(TodayDate.day) + "." + TwoDigits(TodayDate.month) + "." + std::to_string(TodayDate.year);
}
std::string MonthStart() { return "01." + TwoDigits(TodayDate.month) + "." + std::to_string(TodayDate.year); }

TEST_F(LedgerReportsRoad, TheGeneralLedgerListsATypedVoucher) {
    const std::string company = StartNewCompany("ledger.VDB");

    // The cash sale, typed row by row.
    TypeVoucher("Cash sale", {{"1910", "1250", ""}, {"3010", "", "1250", "1"}});

    // The other ledger reports' windows open from the list.
    const std::pair<const char *, int> windows[] = {
        {"Ledger Set-up", LedgerSetupSel},       {"Account Balances", TrialBalanceSel},
        {"Trial Balance", TrialBalanceSel},      {"Sales Ledger Accounts", TrialBalanceSel},
        {"Rate Accounts", RateAccountSel},       {"Result by Object", RateAccountSel}};
    for (const auto &[row, type] : windows) ReportWindowOpens(row, type);

    // This month up to today typed into From and To, then Tab on through
    // the Period to the Accounts: the three fields agree on the dates
    // typed, and the report runs for them.
    auto text = ReportToPreviewAndPdf("General Ledger", GeneralLedgerSel, [this] {
        ClickField("From");
        Key(PlKey::End);
        Key(PlKey::Home, true);
        Type("the month's first day", MonthStart);
        Key(PlKey::Tab);
        Type("today", Today);
        Key(PlKey::Tab);
        Check("the Period shows the dates typed", [] {
            EXPECT_EQ(FocusLabel(), "Period");
            EXPECT_EQ(Shown("Period"), MonthStart() + ":" + Today());
            return true;
        });
        Key(PlKey::Tab);
        Check("tabbing on through the Period keeps the dates typed", [] {
            EXPECT_EQ(FocusLabel(), "Accounts");
            EXPECT_EQ(Shown("From"), MonthStart());
            EXPECT_EQ(Shown("To"), Today());
            return true;
        });
        Type("1910:3010");
    }, "general_ledger");

    // The balances with the result amounts, exported for the cash account.
    const fs::path file = dir / "result_balances.txt";
    ChooseTextExport("Balances with result amounts", file, true);
    Check("the export's selection window opens", Opened(ResultExportSel));
    ClickField("Accounts");
    Type("1910:1910");
    ClickOk();
    Check("the export is written", [file] {
        EXPECT_TRUE(fs::exists(file)) << ::testing::PrintToString(Messages());
        return fs::exists(file);
    });
    EXPECT_EQ(Run(), 0);

    for (const char *want : {"General Ledger", "1910", "3010", "Cash sale"})
        EXPECT_NE(text->find(want), std::string::npos) << want << " not in " << *text;
    // The period printed is the one typed.
    std::string period;
    {
        std::istringstream lines(*text);
        for (std::string line; std::getline(lines, line) && period.empty();)
            if (line.find("Period:") != std::string::npos) period = line;
    }
    EXPECT_NE(period.find(MonthStart()), std::string::npos) << period << "\n" << *text;
    EXPECT_NE(period.find(Today()), std::string::npos) << period;
    // The sales row's VAT code stands in a column of its own, under its
    // heading (the page check holds every column to one).
    std::istringstream lines(*text);
    bool headed = false;
    for (std::string line; std::getline(lines, line);) {
        const size_t balance = line.find("Balance");
        if (line.find("Debit") != std::string::npos && balance != std::string::npos)
            headed = headed || line.find("VAT", balance) != std::string::npos;
    }
    EXPECT_TRUE(headed) << *text;
    // The amount, whatever the grouping of its thousands.
    std::string digits;
    for (char c : *text)
        if (c >= '0' && c <= '9') digits += c;
    EXPECT_NE(digits.find("125000"), std::string::npos) << *text;
    std::ifstream in(file, std::ios::binary);
    const std::string exported((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(exported.rfind("1910\t", 0), 0u) << exported;
    EXPECT_EQ(exported.find("3010"), std::string::npos) << exported;

    // The postings the report listed are in the company file: one per row.
    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> posting(ATVc::Size);
    int cash = 0, sales = 0;
    uint32_t id = 0;
    for (int32_t p = 1; RecReadAt(ATVc::Number, p, posting.data(), &id); p++) {
        const std::string account = TextAt(posting.data(), ATVc::Account);
        cash += account == "1910";
        sales += account == "3010";
        EXPECT_EQ(GetU16(posting.data(), ATVc::SourceReg), TRVc::Number);
    }
    EXPECT_EQ(cash, 1);
    EXPECT_EQ(sales, 1);
}

}  // namespace
