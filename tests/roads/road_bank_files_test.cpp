// road_bank_files_test.cpp - the bank files as a user runs them: the
// company's bank-file format, organisation number and bank account are
// typed in the company window, the bank account of payment mode B in the
// payment modes; a vendor with its bank giro, its approved purchase
// invoice and an approved outgoing payment of it are typed in their
// windows, and a sales invoice to C1 is typed and posted, which gives it
// its payment reference. The bank payment file export, chosen from the
// export list, takes the payment's number in its window and writes the
// "LM" batch of the payment; then the bank's file of incoming payments,
// paying the sales invoice's reference, imported from the import list,
// becomes a receipt of the sales invoice. The company file then holds the
// payment marked sent and the receipt. A vendor given its account number
// after its invoice was approved is paid to that account by the payment
// the suggestion makes afterwards. A Swedish company pays its vendors'
// bank giros, a vendor with a giro alone too, and a range written again
// with nothing left to send writes no file and says why.
// Menus: in Purchasing, Registers > Vendors, Settings > Payment modes...,
// Registers > Purchase invoices, Registers > Outgoing payments, Registers >
// Purchase orders, Operations > Purchase invoice; File > Windows... >
// "Company", File > Windows... > "Sales invoices", File > Maintenance... >
// "Bank payment file", File > Maintenance... > "Incoming bank payments",
// File > Maintenance... > "Payment suggestion".
// Windows: Functions (exports, imports, maintenance), Bank payment file
// selection, Windows, Vendor list, Vendor, Payment suggestion, Company,
// Sales invoice, Payment modes, Purchase order list, Purchase order,
// Purchase invoice, Outgoing payment list, Outgoing payment.
#include "tests/roads/road_fixture.h"
#include "tests/roads/road_text.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "shell/toolbar.h"

namespace {

constexpr int FunctionList = 7, BankFileSelection = 415, WindowList = 12, PaymentSuggestionSel = 313;
constexpr int SalesRowItem = 1;
namespace fs = std::filesystem;

std::string Digits(const std::string &shown)
{
    std::string d;
    for (char c : shown)
        if (c >= '0' && c <= '9') d += c;
    return d;
}

// The program's text n (its start, up to a completion the code adds).
std::string Text(int n)
{
    PString t = {0};
    GetUiText(t, n);
    return PStringToStd(t);
}

class BankFilesRoad : public RoadTest {
protected:
    // A sales invoice of one ITEM1 to C1 dated 01.12.2026, posted; its
    // number and the payment reference its More page shows then are in
    // the results.
    std::pair<std::shared_ptr<std::string>, std::shared_ptr<std::string>> TypePostedSalesInvoice()
    {
        Menu("File", "Windows...");
        Check("the window list opens", Opened(WindowList));
        ClickRow("Sales invoices");
        Key(PlKey::Return);
        ClickButton("New");
        Check("New opens the invoice window", Opened(WinTypes::SalesInvoice));
        ClickField("Customer");
        Type("C1");
        Key(PlKey::Tab);
        Retype("Invoice date", "01.12.2026");
        Key(PlKey::Tab);
        ClickCell(0, SalesRowItem);
        Type("ITEM1");
        Key(PlKey::Tab);
        Type("1");
        Key(PlKey::Tab);
        ClickButton("Posted");
        OkStoresQuietly("the posted sales invoice");
        auto number = std::make_shared<std::string>(), reference = std::make_shared<std::string>();
        Check("the posted invoice shows its number", [number] {
            *number = Digits(Shown("Number"));
            return !number->empty();
        });
        ClickButton("More");
        KeepPicture("bank_sales_invoice_more");
        Check("the posted invoice shows its payment reference", [reference] {
            *reference = Shown("Payment reference");
            EXPECT_FALSE(reference->empty());
            EXPECT_EQ(Digits(*reference), *reference);
            return !reference->empty() && reference->size() <= 20;
        });
        Menu("Window", "Close all");
        return {number, reference};
    }
};

// One reference payment of the bank's file: 100.00 to reference `ref`.
std::string IncomingLine(const std::string &ref)
{
    std::string line = "3" + std::string("42345670000085") + "261207" + "261206" + std::string(16, ' ');
    line += ref + std::string(20 - ref.size(), ' ');
    line += std::string("ROAD PAYER   ") + " " + "0000010000" + "0";
    return line;
}

TEST_F(BankFilesRoad, APaymentGoesOutInTheBankFileAndAnIncomingOneBecomesAReceipt)
{
    const std::string company = StartNewCompany("bank.VDB");
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    const fs::path out = dir / "LM.TXT", in = dir / "incoming.txt";

    TypeCompanyBankData();
    TypeVendor({"V1", "Vendor V1", "Main street 1", "", "", "5012345-6789", "1111.22.33333"});
    TypePaymentModeBankAccount("4234567-85");
    auto invoice = TypeApprovedPurchaseInvoice("V1", "F-501", "5010", "250,50");
    auto payment = TypeApprovedPayment("B", invoice);
    auto salesInvoice = TypePostedSalesInvoice();
    auto sales = salesInvoice.first, reference = salesInvoice.second;
    Do("the bank's file pays the sales invoice's reference", [in, reference] {
        std::ofstream(in, std::ios::binary) << IncomingLine(*reference) << "\r\n";
        return true;
    });

    ChooseTextExport("Bank payment file", out, true);
    Check("the selection window opens", [out] {
        EXPECT_EQ(ActiveType(), BankFileSelection) << ActiveTitle();
        EXPECT_FALSE(fs::exists(out)) << "written before its selection was given";
        return ActiveType() == BankFileSelection;
    });
    ClickField("Payments");
    Type("the payment's number", [payment] { return *payment + ":" + *payment; });
    Do("keep a picture of the selection", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "bank_file_sel.png"));
        return true;
    });
    ClickOk();
    Check("the bank file is written and nothing is left unsent", [out] {
        EXPECT_TRUE(fs::exists(out)) << ::testing::PrintToString(Messages());
        EXPECT_EQ(Messages().size(), 1u) << ::testing::PrintToString(Messages());
        if (!Messages().empty()) {
            EXPECT_EQ(Messages()[0], Text(Texts::BankFileWrote) + "1 payment in " + out.string());
            EXPECT_EQ(ScriptRecords().back().icon, int(PlMbIcon::Information)) << "a success is a notice";
            EXPECT_EQ(StatusLineText(), Messages()[0]);
        }
        // The Save As dialog offered the file types by names that read as
        // written (an "&" is drawn as a shortcut's underline), this
        // program's text files first.
        const PlScriptRecord *saveAs = nullptr;
        for (const PlScriptRecord &r : ScriptRecords())
            if (r.kind == "file") saveAs = &r;
        EXPECT_TRUE(saveAs != nullptr) << "no Save As dialog";
        if (saveAs) {
            auto types = DlgParseFilter(saveAs->text);
            EXPECT_FALSE(types.empty()) << saveAs->text;
            if (!types.empty()) {
                EXPECT_NE(types[0].first.find("*.TXT"), std::string::npos) << saveAs->text;
            }
            for (const auto &[name, patterns] : types) {
                EXPECT_EQ(name.find('&'), std::string::npos) << name;
                EXPECT_EQ(name.find("(*. "), std::string::npos) << name;
            }
        }
        return true;
    });
    Menu("Window", "Close all");


    Menu("File", "Maintenance...");
    Check("the function list opens again", [] { return ActiveType() == FunctionList; });
    ClickButton("Imports");
    ClickButton("Text file");
    ClickRow("Incoming bank payments");
    AnswerFile(in.string());
    Key(PlKey::Return);
    Check("the incoming payment is read, not refused", [this, shots] {
        for (const std::string &m : Messages()) {
            EXPECT_EQ(m.find(Text(Texts::BankInRefused)), std::string::npos) << m;
            EXPECT_EQ(m.find(Text(Texts::BankInNotStored)), std::string::npos) << m;
        }
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "bank_import.png"));
        return true;
    });
    EXPECT_EQ(Run(), 0);

    // The file as the bank reads it: head, the invoice, the end, 300 each.
    std::ifstream file(out, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    std::vector<std::string> lines;
    for (size_t at = 0; at < bytes.size();) {
        size_t end = bytes.find("\r\n", at);
        ASSERT_NE(end, std::string::npos);
        lines.push_back(bytes.substr(at, end - at));
        at = end + 2;
    }
    ASSERT_EQ(lines.size(), 3u) << bytes;
    for (const std::string &l : lines) EXPECT_EQ(l.size(), 300u);
    EXPECT_EQ(lines[0].substr(0, 29), "LM  00" + std::string("42345670000085") + "987654321");
    EXPECT_EQ(lines[1].substr(0, 50), "LM  10" + std::string("42345670000085") + "Vendor V1" + std::string(21, ' '));
    EXPECT_EQ(lines[1].substr(90, 14), "11112200033333") << "the vendor's account number the payment row carries";
    EXPECT_EQ(lines[1].substr(186, 12), "000000025050");
    EXPECT_EQ(lines[2].substr(35, 19), "000001" + std::string("0000000025050"));

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> sent(RegRecordSize(OPVc::Number), 0);
    PutI32(sent.data(), OPVc::SerNr, std::stoi(*payment));
    uint32_t id = 0, pos = 0;
    ASSERT_TRUE(RecFind(OPVc::Number, sent.data(), 1, 1, &id, &pos));
    RecFreeMatrix(OPVc::Number, sent.data());
    EXPECT_EQ(GetU16(sent.data(), OPVc::Sent), 1);
    EXPECT_EQ(TextAt(sent.data(), OPVc::PayText), "4234567-85") << "payment mode B's bank account";
    ASSERT_EQ(RegRecordCount(IPVc::Number), 1u);
    std::vector<uint8_t> receipt(RegRecordSize(IPVc::Number), 0), row(RecRowSize(IPVc::Number), 0);
    ASSERT_TRUE(RecReadAt(IPVc::Number, 1, receipt.data(), &id));
    ASSERT_EQ(MatrixRowCount(IPVc::Number, 0, receipt.data()), 1);
    ASSERT_TRUE(MatrixRowGet(IPVc::Number, 0, receipt.data(), 0, row.data()));
    RecFreeMatrix(IPVc::Number, receipt.data());
    EXPECT_EQ(std::to_string(GetI32(row.data(), IPVc::Rows::InvoiceNr)), *sales);
    EXPECT_EQ(TextAt(row.data(), IPVc::Rows::CustCode), "C1");
    PackedDecimal paid = GetDec(row.data(), IPVc::Rows::Amount);
    EXPECT_DOUBLE_EQ(DecToDouble(&paid), 100.0);
    DateRec date = GetDate(receipt.data(), IPVc::TransDate);
    EXPECT_EQ(date.year, 2026);
    EXPECT_EQ(TextAt(receipt.data(), IPVc::PayMode), "B");
    CloseForCheck();
}

// A purchase invoice made from a purchase order carries the vendor's
// payee texts as a typed one does, so the payment the suggestion makes
// for it goes out in the LM file. Its payment row shows the giro and the
// vendor's account under headings that say so, and the vendor's name
// beside them (looked up, the row keeps no name); the approved invoice
// refuses a new payment text with the reason, and keeps its own.
TEST_F(BankFilesRoad, AnInvoiceMadeFromAPurchaseOrderIsPaidByTheSuggestionInTheBankFile)
{
    const std::string company = StartNewCompany("from_order.VDB");
    const fs::path out = dir / "LM.TXT";
    TypeCompanyBankData();
    TypeVendor({"V1", "Vendor V1", "Main street 1", "", "4010", "5012345-6789", "1111.22.33333"});
    TypePaymentModeBankAccount("4234567-85");

    // Two of ITEM1 at 80 ordered from V1.
    Menu("Module", "Purchasing");
    Menu("Registers", "Purchase orders");
    Check("the purchase-order list opens", Opened(WinTypes::PurchaseOrderList));
    ClickButton("New");
    Check("New opens a purchase order", Opened(WinTypes::PurchaseOrder));
    ClickField("Vendor");
    Type("V1");
    Key(PlKey::Tab);
    ClickCell(0, 0);
    Type("ITEM1");
    Key(PlKey::Tab);
    Type("2");
    Key(PlKey::Tab);
    ClickCell(0, 5);
    Type("80");
    Key(PlKey::Tab);
    OkStores("the purchase order");
    Menu("Operations", "Purchase invoice");
    Check("the invoice made from the order carries the vendor's payee texts", [] {
        EXPECT_EQ(ActiveType(), WinTypes::PurchaseInvoice) << ActiveTitle() << ::testing::PrintToString(Messages());
        EXPECT_EQ(Shown("Payment text"), "5012345-6789");
        EXPECT_EQ(Shown("Payee text"), "1111.22.33333");
        return ActiveType() == WinTypes::PurchaseInvoice;
    });
    ClickField("Vendor's invoice");
    Type("F-88");
    Key(PlKey::Tab);
    ClickButton("Approved");
    OkStoresQuietly("the approved invoice");
    auto invoice = std::make_shared<std::string>();
    Check("the invoice shows its number", [invoice] {
        *invoice = Digits(Shown("Number"));
        return !invoice->empty();
    });
    // A new payment text typed into the approved invoice is refused with
    // the reason, and the stored text stays.
    auto told = CountTold();
    ClickButton("Terms");
    ClickField("Payment text");
    Type("9");
    Check("the approved invoice tells why it takes no payment text", [told] {
        EXPECT_GT(Messages().size(), *told);
        EXPECT_TRUE(Told(Text(Texts::ApprovedPurchaseChange))) << ::testing::PrintToString(Messages());
        EXPECT_EQ(Shown("Payment text"), "5012345-6789");
        return true;
    });
    AnswerBox(kPlIdNo);
    Menu("Window", "Close all");

    auto payment = ApproveSuggestedPayment("B", [invoice] {
        // The suggested row pays the invoice to the vendor's giro and
        // account, and names the vendor.
        EXPECT_EQ(Digits(CellUnder("Invoice", 0)), *invoice);
        EXPECT_EQ(CellUnder("Vendor", 0), "V1");
        EXPECT_EQ(CellUnder("Giro / text", 0), "5012345-6789");
        EXPECT_EQ(CellUnder("Vendor's account", 0), "1111.22.33333");
        EXPECT_EQ(CellUnder("Vendor's name", 0), "Vendor V1");
        for (const char *cell : {"Invoice", "Vendor", "Giro / text", "Vendor's account", "Amount"})
            EXPECT_TRUE(CellShownWhole(cell, 0)) << cell << " cuts " << CellUnder(cell, 0);
        EXPECT_EQ(Digits(Shown("Rows total")), "20000") << Shown("Rows total");
        return true;
    }, "from_order_suggestion.png");
    WriteBankPaymentFile(out, payment);
    EXPECT_EQ(Run(), 0);

    std::ifstream file(out, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    EXPECT_NE(bytes.find("LM  10" + std::string("42345670000085") + "Vendor V1"), std::string::npos) << bytes;
    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(OPVc::Number), 1u);
    std::vector<uint8_t> sent(OPVc::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(OPVc::Number, 1, sent.data(), &id));
    EXPECT_EQ(GetU16(sent.data(), OPVc::Sent), 1) << "the payment went out";
    RecFreeMatrix(OPVc::Number, sent.data());
    ASSERT_EQ(RegRecordCount(VIVc::Number), 1u);
    std::vector<uint8_t> made(VIVc::Size);
    ASSERT_TRUE(RecReadAt(VIVc::Number, 1, made.data(), &id));
    EXPECT_EQ(TextAt(made.data(), VIVc::PayText), "5012345-6789") << "the approved invoice keeps its payment text";
    RecFreeMatrix(VIVc::Number, made.data());
    CloseForCheck();
}

// A vendor whose bank details come after its invoice was approved: the
// approved invoice keeps its empty payment text, and the payment the
// suggestion makes afterwards carries the vendor's new account number in
// its row, which the LM file pays to. Typing into a cell the approval
// locks is told why it is not taken, and the cell keeps its text.
TEST_F(BankFilesRoad, AnInvoiceApprovedBeforeItsVendorHadBankDetailsIsPaidToTheAccountAddedLater)
{
    const std::string company = StartNewCompany("late_bank.VDB");
    const fs::path out = dir / "LM.TXT";
    TypeCompanyBankData();
    TypePaymentModeBankAccount("4234567-85");
    TypeVendor({"V2", "Late Bank Ltd", "Kai 2", "", "", "", ""});
    auto invoice = TypeApprovedPurchaseInvoice("V2", "F-7", "5010", "300,00");

    // The vendor's account number, typed on its Bank page once it is known.
    Menu("Module", "Purchasing");
    Menu("Registers", "Vendors");
    Check("the vendor list opens", Opened(WinTypes::VendorList));
    OpenFromList("V2", WinTypes::Vendors);
    ClickButton("Bank");
    ClickField("Account number");
    Type("1111.22.33333");
    OkStoresQuietly("the vendor's bank details");
    Menu("Window", "Close all");

    RunRoutine("Payment suggestion", PaymentSuggestionSel,
               {{"Due to", [] { return std::string("31.12.2099"); }},
                {"Payment date", [] { return std::string("07.12.2026"); }},
                {"Payment mode", [] { return std::string("B"); }}},
               "late_bank_suggestion.png");
    Menu("Module", "Purchasing");
    Menu("Registers", "Outgoing payments");
    Check("the payment list opens", Opened(WinTypes::OutPaymentList));
    FindRow("the suggested payment", std::make_shared<std::string>(""));
    Key(PlKey::Return);
    auto payment = std::make_shared<std::string>();
    Check("the suggested row pays the invoice to the vendor's new account", [invoice, payment] {
        EXPECT_EQ(ActiveType(), WinTypes::OutPayment) << ActiveTitle();
        EXPECT_EQ(Digits(CellUnder("Invoice", 0)), *invoice);
        EXPECT_EQ(CellUnder("Giro / text", 0), "") << "the invoice was approved without one";
        EXPECT_EQ(CellUnder("Vendor's account", 0), "1111.22.33333");
        *payment = Digits(Shown("Number"));
        return ActiveType() == WinTypes::OutPayment && !payment->empty();
    });
    KeepPicture("late_bank_payment");
    ClickButton("Approved");
    OkStoresQuietly("the approved payment");
    // The approval locks the rows: a key typed there is told, not dropped.
    auto told = CountTold();
    ClickCell(0, 3);
    Type("9");
    Check("the approved payment tells why it takes no new account", [told] {
        EXPECT_EQ(Messages().size(), *told + 1) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(Told(Text(Texts::ApprovedPaymentChange))) << ::testing::PrintToString(Messages());
        EXPECT_EQ(CellUnder("Vendor's account", 0), "1111.22.33333");
        return true;
    });
    AnswerBox(kPlIdNo);
    Menu("Window", "Close all");
    WriteBankPaymentFile(out, payment);
    EXPECT_EQ(Run(), 0);

    std::ifstream file(out, std::ios::binary);
    const std::string bytes{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    const size_t row = bytes.find("LM  10");
    ASSERT_NE(row, std::string::npos) << bytes;
    EXPECT_EQ(bytes.substr(row + 20, 13), "Late Bank Ltd");
    EXPECT_EQ(bytes.substr(row + 90, 14), "11112200033333") << "the account added to the vendor after the approval";
    EXPECT_EQ(bytes.substr(row + 186, 12), "000000030000");
    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> sent(OPVc::Size);
    uint32_t id = 0;
    ASSERT_EQ(RegRecordCount(OPVc::Number), 1u);
    ASSERT_TRUE(RecReadAt(OPVc::Number, 1, sent.data(), &id));
    RecFreeMatrix(OPVc::Number, sent.data());
    EXPECT_EQ(GetU16(sent.data(), OPVc::Sent), 1) << "the payment went out";
    std::vector<uint8_t> approved(VIVc::Size);
    ASSERT_TRUE(RecReadAt(VIVc::Number, 1, approved.data(), &id));
    RecFreeMatrix(VIVc::Number, approved.data());
    EXPECT_EQ(TextAt(approved.data(), VIVc::PayText), "") << "the approved invoice is as it was approved";
    CloseForCheck();
}

// A Swedish company pays its vendors to their bank giros: a vendor with a
// giro and a bank account, and a vendor with only a giro, are paid by the
// payment the suggestion makes, and the Swedish file's "14" records pay
// each its giro, never the account. The same range written again has
// nothing left to send: no file, and the run says why.
TEST_F(BankFilesRoad, TheSwedishFilePaysEachVendorToItsBankGiro)
{
    const std::string company = StartNewCompany("swedish.VDB");
    const fs::path out = dir / "BG.TXT", again = dir / "BG2.TXT";
    Menu("File", "Windows...");
    Check("the window list opens", Opened(WindowList));
    ClickRow("Company");
    Key(PlKey::Return);
    Check("the company window opens", Opened(WinTypes::Company));
    Retype("Bank account", "4234567-85");
    Retype("Bank file format", "5");
    auto toldCompany = CountTold();
    ClickOk();
    Check("OK stores the Swedish bank-file format", [toldCompany] {
        EXPECT_EQ(Messages().size(), *toldCompany) << ::testing::PrintToString(Messages());
        return true;
    });
    Menu("Window", "Close all");
    TypePaymentModeBankAccount("4234567-85");
    TypeVendor({"V1", "Giro and Bank AB", "Storgatan 1", "", "", "5050-3333", "12345678"});
    TypeVendor({"V2", "Giro Only AB", "Lillgatan 2", "", "", "5050-4444", ""});
    TypeApprovedPurchaseInvoice("V1", "F-1", "5010", "250,50");
    TypeApprovedPurchaseInvoice("V2", "F-2", "5010", "99,00");

    auto payment = ApproveSuggestedPayment("B", [] {
        // Each row carries its vendor's giro; the first its account beside.
        for (int r = 0; r < 2; r++) {
            const bool first = CellUnder("Vendor", r) == "V1";
            EXPECT_EQ(CellUnder("Giro / text", r), first ? "5050-3333" : "5050-4444") << r;
            EXPECT_EQ(CellUnder("Vendor's account", r), first ? "12345678" : "") << r;
        }
        return true;
    }, "swedish_suggestion.png");
    WriteBankPaymentFile(out, payment);

    ChooseTextExport("Bank payment file", again, true);
    Check("the selection window opens again", Opened(BankFileSelection));
    ClickField("Payments");
    Type("the payment's number", [payment] { return *payment + ":" + *payment; });
    auto told = CountTold();
    ClickOk();
    Check("the payment sent is not written again, and the run says why", [again, told] {
        EXPECT_EQ(Messages().size(), *told + 1) << ::testing::PrintToString(Messages());
        if (!Messages().empty()) {
            EXPECT_EQ(Messages().back(), Text(Texts::BankNothingToSend) + "; 1" + Text(Texts::BankNothingSent) + ".");
            EXPECT_EQ(StatusLineText(), Messages().back());
        }
        EXPECT_FALSE(fs::exists(again));
        return true;
    });
    Menu("Window", "Close all");
    EXPECT_EQ(Run(), 0);

    // The file as the bank reads it: the batch head, one record per
    // invoice paying its vendor's giro, the batch end; 80 characters each.
    const std::vector<std::string> lines = FileLines(out);
    std::string bytes;
    for (const std::string &l : lines) bytes += l + "\r\n";
    ASSERT_EQ(bytes.size(), fs::file_size(out)) << "a line without its end";
    ASSERT_EQ(lines.size(), 4u) << bytes;
    for (const std::string &l : lines) EXPECT_EQ(l.size(), 80u) << l;
    EXPECT_EQ(lines[0].substr(0, 12), "11" + std::string("0423456785"));
    std::map<std::string, std::string> paid;   // the payee's giro -> the invoice's number and amount
    for (int r = 1; r <= 2; r++) {
        EXPECT_EQ(lines[r].substr(0, 2), "14") << lines[r];
        paid[lines[r].substr(2, 10)] = lines[r].substr(12, 5) + " " + lines[r].substr(37, 12);
    }
    EXPECT_EQ(paid, (std::map<std::string, std::string>{{"0050503333", "F-1   000000025050"},
                                                        {"0050504444", "F-2   000000009900"}}))
        << bytes;
    EXPECT_EQ(bytes.find("12345678"), std::string::npos) << "the bank account is not the payee";
    EXPECT_EQ(lines[3].substr(0, 32), "29" + std::string("0423456785") + "00000002" + "000000034950");

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> sent(OPVc::Size);
    uint32_t id = 0;
    ASSERT_EQ(RegRecordCount(OPVc::Number), 1u);
    ASSERT_TRUE(RecReadAt(OPVc::Number, 1, sent.data(), &id));
    EXPECT_EQ(MatrixRowCount(OPVc::Number, 0, sent.data()), 2);
    RecFreeMatrix(OPVc::Number, sent.data());
    EXPECT_EQ(GetU16(sent.data(), OPVc::Sent), 1) << "the payment went out";
    CloseForCheck();
}

}  // namespace
