// road_ledger_report_faults_test.cpp - a ledger month as a bookkeeper
// reads it: a cash sale typed as a voucher (1910 debit, 3010 credit) in
// the General ledger module, then the trial balance printed with the
// period its window opens with, and the VAT report, which this demo
// company gives no rows. The printed trial balance heads every column on
// lines of their own, signs the sales account's credit balance and names
// the voucher's date as the last one; its period is said in words where
// an end is open. The VAT report's page says that nothing matched rather
// than coming out blank. The voucher's print-out, the ledger set-up, the
// transactions by date, the two statements and the two invoice journals
// each say what they print: the voucher's number and dates beside their
// labels, each account's kind as the account window names it, a date
// column headed as one, the columns the statement prints, and the kinds
// of invoice a journal lists. So do the sales invoices by date (the
// layout chosen, in the window's words), the vendor list (the bank
// account under its own heading, the layout in the box's words), the
// vendor ageing (the bank account labelled), the outgoing payments (the
// states ticked, the home currency named beside a payment's sum, and
// each value of a row under the heading that names it: the giro, the
// vendor by code and name, the vendor's account), the person payments
// (the person and the name under their headings, a grand total with its
// amount), the person entries of a day in blocks (titled as the report
// list names them) and as a list (no department named when none is
// chosen), and the purchase rows by vendor, which finds no item row and
// says so without a sum.
// Menus: in General ledger, Registers > Vouchers; File > Reports (Ctrl+R) >
// "Trial Balance", File > Reports (Ctrl+R) > "VAT Report", File >
// Windows... > "Sales invoices", File > Reports (Ctrl+R) > "Voucher",
// File > Reports (Ctrl+R) > "Ledger Set-up", File > Reports (Ctrl+R) >
// "Transactions by date", File > Reports (Ctrl+R) > "Balance Sheet", File
// > Reports (Ctrl+R) > "Income Statement"; in Sales, File > Reports
// (Ctrl+R) > "Sales Invoice Journal", File > Reports (Ctrl+R) > "Purchase
// Invoice Journal", File > Reports (Ctrl+R) > "Sales invoices by date"; in
// Purchasing, Registers > Vendors, Registers > Purchase invoices,
// Registers > Outgoing payments, Registers > Person payments, File >
// Reports (Ctrl+R) > "Vendors", "Vendor Ageing", File > Reports (Ctrl+R)
// > "Outgoing Payments", File > Reports (Ctrl+R) > "Person Payments"; in
// General ledger, Registers > Accounts, Registers > Persons, File >
// Reports (Ctrl+R) > "Person entries of a day, one block each", File >
// Reports (Ctrl+R) > "Person Entries of the Day"; in Stock, File >
// Reports (Ctrl+R) > "Purchase Rows by Vendor".
// Windows: Trial balances and sales-ledger accounts selection, VAT report
// selection, Sales invoice, Voucher print-out selection, Ledger set-up
// selection, Transactions by date selection, Balance and result statement
// selections, Sales and purchase invoice journal selections, Sales
// invoices by date selection, Vendor, Purchase invoice, Outgoing payment,
// Account, Person, Person payment, Vendor list, Vendor ageing, Payment
// journal, Person entries and Purchase rows by vendor selections.
#include "tests/roads/road_fixture.h"
#include "tests/output/pdf_words.h"
#include "tests/roads/road_person_steps.h"
#include "tests/roads/road_text.h"

#include <cmath>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "core/field_access.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"

namespace {

constexpr int TrialBalanceSel = 428, VatReportSel = 403, SalesInvoice = 347, VoucherPrintSel = 90,
              LedgerSetupSel = 430, TransByDateSel = 573, BalanceSel = 401, ResultSel = 402, SalesJournalSel = 536,
              PurchaseJournalSel = 462, SalesByDateSel = 576, VendorListSel = 513, VendorAgeingSel = 417,
              PaymentJournalSel = 435, PersonEntriesSel = 506, PurchaseRowsSel = 485;

class LedgerReportFaultsRoad : public RoadTest {
protected:
    // Ctrl+R, the report's row and Ctrl+P: the selection (type sel) opens
    // for the printer and OK prints it; the PDF's text is in the result
    // once that step ran.
    std::shared_ptr<std::string> ReportToPrinter(const std::string &report, int sel)
    {
        auto before = std::make_shared<std::vector<std::filesystem::path>>();
        Do("note the PDFs", [this, before] {
            *before = FilesIn("print");
            return true;
        });
        Key('R', false, true);
        ClickRow(report);
        AnswerPrint(true);
        Key('P', false, true);
        Check(report + "'s selection opens for the printer", Opened(sel));
        ClickButton("OK");
        auto text = std::make_shared<std::string>();
        Check(report + " printed to a PDF", [this, before, text, report] {
            std::vector<std::filesystem::path> pdfs = NewFilesIn("print", *before);
            EXPECT_EQ(pdfs.size(), 1u) << report << "; told " << ::testing::PrintToString(Messages());
            if (pdfs.size() != 1) return false;
            *text = PdfText(pdfs.back());
            if (const char *shots = std::getenv("ORVEL_ROAD_SHOTS"))
                std::filesystem::copy_file(pdfs.back(), std::filesystem::path(shots) / (report + ".pdf"),
                                           std::filesystem::copy_options::overwrite_existing);
            return true;
        });
        Menu("Window", "Close all");
        return text;
    }

    // ReportToPreviewAndPdf, and the words of the PDF it printed with their
    // boxes, which are in the second result once that step ran.
    std::pair<std::shared_ptr<std::string>, std::shared_ptr<std::vector<PdfWord>>>
    ReportWithWords(const std::string &report, int sel, const std::string &shot)
    {
        auto before = std::make_shared<std::vector<std::filesystem::path>>();
        auto words = std::make_shared<std::vector<PdfWord>>();
        Do("note the PDFs", [this, before] {
            *before = FilesIn("print");
            return true;
        });
        auto text = ReportToPreviewAndPdf(report, sel, [] {}, shot);
        Do("read the PDF's words", [this, before, words] {
            const std::vector<std::filesystem::path> pdfs = NewFilesIn("print", *before);
            if (!pdfs.empty()) *words = PdfWords(pdfs.back());
            return true;
        });
        return {text, words};
    }
};

// The word `text` on the printed line of `on`: its top within a point of
// on's; an empty word when there is none. The tool writes an apostrophe
// as the entity "&apos;".
PdfWord WordBeside(const std::vector<PdfWord> &words, const PdfWord &on, const std::string &text)
{
    for (PdfWord w : words) {
        for (size_t at; (at = w.text.find("&apos;")) != std::string::npos;) w.text.replace(at, 6, "'");
        if (w.page == on.page && std::abs(w.yMin - on.yMin) < 1 && w.text == text) return w;
    }
    return PdfWord{0, 0, 0, 0, 0, ""};
}

// Whether `value` stands under `heading` as a reader lines up a column:
// both found, their left edges within two points.
bool StandsUnder(const PdfWord &value, const PdfWord &heading)
{
    return !value.text.empty() && !heading.text.empty() && std::abs(value.xMin - heading.xMin) < 2;
}

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

// A voucher's print-out, the ledger set-up, the transactions by date and
// the statements as the ledger module prints them; then the sales and
// purchase invoice journals with the kind boxes their windows open with.
TEST_F(LedgerReportFaultsRoad, LedgerReportsSayWhatTheyPrint)
{
    StartNewCompany("ledger_words.VDB");
    auto shownDate = TypeVoucher("Cash sale", {{"1910", "1250", ""}, {"3010", "", "1250"}});

    auto voucher = ReportToPrinter("Voucher", VoucherPrintSel);
    auto setup = ReportToPreviewAndPdf("Ledger Set-up", LedgerSetupSel, [] {}, "ledger_setup");
    Menu("Window", "Close all");
    auto byDate = ReportToPreviewAndPdf("Transactions by date", TransByDateSel, [] {}, "trans_by_date");
    Menu("Window", "Close all");
    auto balance = ReportToPreviewAndPdf("Balance Sheet", BalanceSel, [] {}, "balance_sheet_columns");
    Menu("Window", "Close all");
    auto result = ReportToPreviewAndPdf("Income Statement", ResultSel, [] {}, "income_statement_columns");
    Menu("Window", "Close all");
    Menu("Module", "Sales");
    auto sales = ReportToPreviewAndPdf("Sales Invoice Journal", SalesJournalSel, [] {}, "sales_journal_kinds");
    Menu("Window", "Close all");
    auto purchases =
        ReportToPreviewAndPdf("Purchase Invoice Journal", PurchaseJournalSel, [] {}, "purchase_journal_kinds");
    Menu("Window", "Close all");
    auto byDateOfSales =
        ReportToPreviewAndPdf("Sales invoices by date", SalesByDateSel, [] {}, "sales_by_date_layout");
    Menu("Window", "Close all");

    // A vendor with its bank giro and bank account, its invoice approved
    // and paid by an approved payment; a person paid by an approved
    // person payment; the purchase and person reports.
    TypeVendor({"V1", "Fjord Supply AS", "Kai 1", "", "", "5012345-6789", "1111.22.33333"});
    auto invoice = TypeApprovedPurchaseInvoice("V1", "F-1", "5010", "300,00");
    TypeApprovedPayment("K", invoice);
    Menu("Window", "Close all");
    TypeApprovedPurchaseInvoice("V1", "F-2", "5010", "100,00");
    TypePersonWithAccount(*this, "P1", "Pia Staff", "2890");
    TypePersonPayment(*this, "K", "P1", "75,00", KeptAs::Approved);
    Menu("Window", "Close all");
    Menu("Module", "Purchasing");
    auto vendors = ReportToPreviewAndPdf("Vendors", VendorListSel, [] {}, "vendor_list_account");
    Menu("Window", "Close all");
    auto ageing = ReportToPreviewAndPdf("Vendor Ageing", VendorAgeingSel, [] {}, "vendor_ageing_account");
    Menu("Window", "Close all");
    // The journal opens with "Approved" and "Posted" ticked.
    auto [payments, paidWords] = ReportWithWords("Outgoing Payments", PaymentJournalSel, "payments_states");
    Menu("Window", "Close all");
    auto [personPayments, personWords] = ReportWithWords("Person Payments", PaymentJournalSel, "person_payments");
    Menu("Window", "Close all");
    Menu("Module", "General ledger");
    auto entryBlocks = ReportToPreviewAndPdf("Person entries of a day, one block each", PersonEntriesSel, [] {},
                                             "person_entry_blocks");
    Menu("Window", "Close all");
    auto entriesOfDay =
        ReportToPreviewAndPdf("Person Entries of the Day", PersonEntriesSel, [] {}, "person_entries_no_department");
    Menu("Window", "Close all");
    Menu("Module", "Stock");
    auto rowsByVendor = ReportToPreviewAndPdf("Purchase Rows by Vendor", PurchaseRowsSel, [] {}, "rows_by_vendor_none");
    EXPECT_EQ(Run(), 0);

    // The voucher: its number beside "Voucher", each date beside its label.
    const std::vector<std::string> v = LinesOf(*voucher);
    const std::string head = LineWith(v, "Demo Company AB");
    const size_t word = head.find("Voucher");
    EXPECT_NE(word, std::string::npos) << *voucher;
    EXPECT_FALSE(word == std::string::npos || Digits(head.substr(word)).empty()) << "no number in: " << head;
    for (const char *label : {"Entry date", "Transaction date"})
        EXPECT_NE(LineWith(v, label).find(*shownDate), std::string::npos) << label << " without " << *shownDate
                                                                           << " in\n" << *voucher;

    // The set-up list: each account's kind in the account window's words.
    const std::vector<std::string> s = LinesOf(*setup);
    const std::pair<const char *, const char *> kinds[] = {
        {"1910", "Asset"}, {"2440", "Liability"}, {"2610", "Liability"}, {"3010", "Income"}};
    for (const auto &[account, kind] : kinds) {
        const std::string line = LineStarting(s, account);
        EXPECT_NE(line.find(kind), std::string::npos) << account << ": " << line << "\n" << *setup;
    }

    // The transactions by date: the date column headed as one, and no
    // cut-off named when none was given.
    const std::vector<std::string> t = LinesOf(*byDate);
    const std::string heads = LineWith(t, "Event");
    EXPECT_NE(heads.find("Transaction date"), std::string::npos) << *byDate;
    EXPECT_EQ(heads.find("Account"), std::string::npos) << heads;
    EXPECT_EQ(byDate->find("Transactions from"), std::string::npos) << *byDate;

    // The statements name the columns they head, and only those.
    const std::pair<const std::string *, const char *> columns[] = {
        {&*balance, "Columns: Opening, Change, Closing"}, {&*result, "Columns: Period"}};
    for (const auto &[page, said] : columns) {
        EXPECT_NE(page->find(said), std::string::npos) << said << " not in\n" << *page;
        EXPECT_EQ(page->find("percentages"), std::string::npos) << *page;
    }

    // The journals opened with no kind box ticked list every kind, and
    // say so.
    for (const std::string *page : {&*sales, &*purchases}) {
        EXPECT_EQ(page->find("No invoices"), std::string::npos) << *page;
        EXPECT_NE(page->find("Invoices and credit notes"), std::string::npos) << *page;
    }
    EXPECT_NE(sales->find("Prices with and without VAT"), std::string::npos) << *sales;

    // The sales invoices by date, opened with their voucher rows, say so.
    EXPECT_NE(byDateOfSales->find("With voucher rows"), std::string::npos) << *byDateOfSales;
    EXPECT_EQ(byDateOfSales->find("Summary"), std::string::npos) << *byDateOfSales;

    // The vendor's bank account under its own heading, and labelled
    // beside the vendor on the ageing.
    const std::vector<std::string> listed = LinesOf(*vendors);
    EXPECT_EQ(vendors->find("Telephone"), std::string::npos) << *vendors;
    EXPECT_NE(vendors->find("One line each"), std::string::npos) << *vendors;
    EXPECT_EQ(vendors->find("Per item group"), std::string::npos) << *vendors;
    EXPECT_NE(LineWith(listed, "Account number"), "") << *vendors;
    EXPECT_NE(LineStarting(listed, "V1").find("1111.22.33333"), std::string::npos) << *vendors;
    EXPECT_NE(LineStarting(LinesOf(*ageing), "V1").find("Account number: 1111.22.33333"), std::string::npos)
        << *ageing;

    // The payment journal heads the states ticked, and lists the
    // approved payment; each value of its row stands under the heading
    // that names it: the giro the invoice is paid with, the vendor by code
    // and name, the vendor's account the bank files pay to. The person
    // payments list theirs alike: the person by code, the person's name.
    EXPECT_NE(payments->find("Payments: approved and posted"), std::string::npos) << *payments;
    EXPECT_EQ(payments->find("credit notes"), std::string::npos) << *payments;
    EXPECT_NE(LineWith(LinesOf(*payments), "Grand total").find("300,00"), std::string::npos) << *payments;
    const PdfWord paidHead = Find(*paidWords, "Amount"), paidRow = Find(*paidWords, "1111.22.33333");
    const std::pair<const char *, std::string> paidCells[] = {
        {"Invoice", *invoice}, {"Giro", "5012345-6789"}, {"Vendor", "V1"}, {"Vendor's", "1111.22.33333"}};
    for (const auto &[heading, value] : paidCells)
        EXPECT_TRUE(StandsUnder(WordBeside(*paidWords, paidRow, value), WordBeside(*paidWords, paidHead, heading)))
            << value << " under " << heading << " in\n" << *payments;
    const std::vector<std::string> paid = LinesOf(*payments);
    EXPECT_NE(LineWith(paid, "Amount").find("Giro / text"), std::string::npos) << *payments;
    EXPECT_NE(LineWith(paid, "Amount").find("Vendor's account"), std::string::npos) << *payments;
    EXPECT_NE(LineWith(paid, "1111.22.33333").find("V1 Fjord Supply AS"), std::string::npos) << *payments;
    const PdfWord personHead = Find(*personWords, "Amount"), personRow = Find(*personWords, "Pia");
    EXPECT_TRUE(StandsUnder(WordBeside(*personWords, personRow, "P1"), WordBeside(*personWords, personHead, "Person")))
        << *personPayments;
    EXPECT_TRUE(StandsUnder(personRow, WordBeside(*personWords, personHead, "Name"))) << *personPayments;
    EXPECT_NE(LineWith(LinesOf(*personPayments), "Grand total").find("75,00"), std::string::npos) << *personPayments;
    // The payment is in home currency: its sum stands alone, without a
    // rate of 0,00 under "Rate".
    EXPECT_EQ(PrintedAmounts(LineWith(LinesOf(*personPayments), "Home currency")), std::vector<double>{75})
        << *personPayments;

    // Report 104 is titled as the report list names it.
    EXPECT_NE(entryBlocks->find("Person entries of a day, one block each"), std::string::npos) << *entryBlocks;
    EXPECT_EQ(entryBlocks->find("Person Entries of the Day"), std::string::npos) << *entryBlocks;

    // Report 101 with no department chosen names none in its header; the
    // payment is approved, not posted, so no entry is dated today and the
    // report says that nothing matched, with no total of nothing.
    EXPECT_NE(entriesOfDay->find("Person Entries of the Day"), std::string::npos) << *entriesOfDay;
    EXPECT_EQ(entriesOfDay->find("Department"), std::string::npos) << *entriesOfDay;
    EXPECT_NE(entriesOfDay->find("No rows match this selection."), std::string::npos) << *entriesOfDay;
    for (const std::string &line : LinesOf(*entriesOfDay))
        EXPECT_TRUE(PrintedAmounts(line).empty()) << line << " in\n" << *entriesOfDay;

    // This company's purchase invoices have no item rows: report 114
    // says that no row matches, and prints no sum of nothing.
    EXPECT_NE(rowsByVendor->find("No rows match this selection."), std::string::npos) << *rowsByVendor;
    for (const std::string &line : LinesOf(*rowsByVendor))
        EXPECT_TRUE(PrintedAmounts(line).empty()) << line << " in\n" << *rowsByVendor;
}

}  // namespace
