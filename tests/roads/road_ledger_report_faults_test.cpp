// road_ledger_report_faults_test.cpp - a ledger month as a bookkeeper
// reads it: a cash sale typed as a voucher (1910 debit, 3010 credit) in
// the General ledger module, then the trial balance printed with the
// period its window opens with, and the VAT report, which this demo
// company gives no rows. The printed trial balance heads every column on
// lines of their own, signs the sales account's credit balance and names
// the voucher's date as the last one; its period is said in words where
// an end is open. The VAT report's page says that nothing matched rather
// than coming out blank.
// Menus: in General ledger, Registers > Vouchers; File > Reports (Ctrl+R) >
// "Trial Balance", File > Reports (Ctrl+R) > "VAT Report", File >
// Windows... > "Sales invoices".
// Windows: Trial balances and sales-ledger accounts selection, VAT report
// selection, Sales invoice.
#include "tests/roads/road_fixture.h"

#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/field_access.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"

namespace {

constexpr int TrialBalanceSel = 428, VatReportSel = 403, SalesInvoice = 347;

class LedgerReportFaultsRoad : public RoadTest {};

// The lines of a PDF's text.
std::vector<std::string> LinesOf(const std::string &text)
{
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// The digits and minus signs of a line, whatever groups its thousands.
std::string Digits(const std::string &line)
{
    std::string kept;
    for (char c : line)
        if ((c >= '0' && c <= '9') || c == '-') kept += c;
    return kept;
}

// The first line that starts with `want` after its blanks.
std::string LineStarting(const std::vector<std::string> &lines, const std::string &want)
{
    for (const std::string &l : lines) {
        const size_t first = l.find_first_not_of(' ');
        if (first != std::string::npos && l.compare(first, want.size(), want) == 0) return l;
    }
    return "";
}

// The first line holding `want`, empty when none does.
std::string LineWith(const std::vector<std::string> &lines, const std::string &want)
{
    for (const std::string &l : lines)
        if (l.find(want) != std::string::npos) return l;
    return "";
}

TEST_F(LedgerReportFaultsRoad, TheTrialBalanceAndTheVatReportPrintWhatTheyShow)
{
    const std::string company = StartNewCompany("ledger_faults.VDB");
    auto shownDate = TypeVoucher("Cash sale", {{"1910", "1250", ""}, {"3010", "", "1250"}});

    auto trial = ReportToPreviewAndPdf("Trial Balance", TrialBalanceSel, [this] {
        ClickField("Accounts");
        Type("1910:3010");
    }, "trial_balance");
    Menu("Window", "Close all");   // printing leaves the list's device on the printer
    auto vat = ReportToPreviewAndPdf("VAT Report", VatReportSel, [] {}, "vat_report");
    EXPECT_EQ(Run(), 0);
    EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());

    const std::vector<std::string> lines = LinesOf(*trial);
    // The headings: the pairs' names on one line, debit and credit under
    // each of the three pairs on the next, none wrapped onto a third.
    const std::string names = LineWith(lines, "Opening");
    for (const char *want : {"Account", "Opening", "Period", "Closing", "Balance"})
        EXPECT_NE(names.find(want), std::string::npos) << want << " not beside the others in\n" << *trial;
    const std::string sides = LineWith(lines, "Debit");
    size_t debits = 0, credits = 0;
    for (size_t at = 0; (at = sides.find("Debit", at)) != std::string::npos; at++) debits++;
    for (size_t at = 0; (at = sides.find("Credit", at)) != std::string::npos; at++) credits++;
    EXPECT_EQ(debits, 3u) << *trial;
    EXPECT_EQ(credits, 3u) << *trial;
    // The sales account's balance is a credit: signed, not a bare amount;
    // the cash account's debit balance is not.
    const std::string sales = Digits(LineStarting(lines, "3010"));
    EXPECT_NE(sales.find("-125000"), std::string::npos) << *trial;
    const std::string cash = Digits(LineStarting(lines, "1910"));
    EXPECT_NE(cash.find("125000"), std::string::npos) << *trial;
    EXPECT_EQ(cash.find('-'), std::string::npos) << *trial;
    // The header: the last voucher's date, and a period without an empty end.
    const std::string last = LineWith(lines, "Last voucher date:");
    EXPECT_NE(last, "") << *trial;
    EXPECT_NE(*shownDate, "");
    EXPECT_NE(last.find(*shownDate), std::string::npos) << *shownDate << " not in \"" << last << "\"";
    const std::string period = LineWith(lines, "Period:");
    EXPECT_NE(period, "") << *trial;
    EXPECT_EQ(period.find(":  :"), std::string::npos) << period;
    EXPECT_EQ(period.find(": :"), std::string::npos) << period;

    // The VAT report's page carries its header and the demo's VAT rows
    // (the voucher booked no VAT, so each is zero).
    for (const char *want : {"VAT Report", "Demo Company AB", "Input VAT on purchases", "VAT to pay"})
        EXPECT_NE(vat->find(want), std::string::npos) << want << " not in\n" << *vat;

    // The voucher the trial balance summed is the one stored.
    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> posting(ATVc::Size);
    uint32_t id = 0;
    int rows = 0;
    for (int32_t p = 1; RecReadAt(ATVc::Number, p, posting.data(), &id); p++) {
        const std::string account = TextAt(posting.data(), ATVc::Account);
        rows += account == "1910" || account == "3010";
    }
    EXPECT_EQ(rows, 2);
    CloseForCheck();
}

// A voucher made by posting an invoice is a voucher too: the header of a
// ledger report names its date as the last one.
TEST_F(LedgerReportFaultsRoad, APostedInvoicesVoucherIsTheLastVoucher)
{
    StartNewCompany("last_voucher.VDB");
    Menu("Module", "Sales");
    Menu("File", "Windows...");
    ClickRow("Sales invoices");
    Key(PlKey::Return);
    ClickButton("New");
    Check("New opens the invoice window", Opened(SalesInvoice));
    ClickField("Customer");
    Type("C1");
    Key(PlKey::Tab);
    ClickCell(0, 1);
    Type("ITEM1");
    Key(PlKey::Tab);
    Type("2");
    Key(PlKey::Tab);
    ClickButton("Posted");
    ClickOk();
    auto shownDate = std::make_shared<std::string>();
    Check("OK stores the posted invoice", [shownDate] {
        *shownDate = Shown("Transaction date");
        EXPECT_TRUE(TitleTells("viewing")) << ::testing::PrintToString(Messages());
        return TitleTells("viewing");
    });
    Menu("Window", "Close all");
    Menu("Module", "General ledger");
    auto trial = ReportToPreviewAndPdf("Trial Balance", TrialBalanceSel, [] {}, "trial_after_invoice");
    EXPECT_EQ(Run(), 0);
    const std::string last = LineWith(LinesOf(*trial), "Last voucher date:");
    EXPECT_NE(last, "") << *trial;
    EXPECT_NE(*shownDate, "");
    EXPECT_NE(last.find(*shownDate), std::string::npos) << *shownDate << " not in \"" << last << "\"";
}

}  // namespace
