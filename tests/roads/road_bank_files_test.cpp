// road_bank_files_test.cpp - the bank files as a user runs them: the
// company's bank-file format, a vendor, a purchase invoice, an approved
// outgoing payment, a sales invoice and a payment mode come in by File >
// Maintenance > Imports; the bank payment file export, chosen from the
// export list, takes its payment numbers in its window and writes the
// "LM" batch of the payment; then the bank's file of incoming payments,
// imported from the import list, becomes a receipt of the sales invoice.
// The company file then holds the payment marked sent and the receipt.
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <fstream>
#include <iterator>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "platform/script.h"

namespace {

constexpr int FunctionList = 7, BankFileSelection = 415;
namespace fs = std::filesystem;

// The program's text n (its start, up to a completion the code adds).
std::string Text(int n)
{
    PString t = {0};
    GetUiText(t, n);
    return PStringToStd(t);
}

class BankFilesRoad : public RoadTest {};

// What the bank files need, as a text import: the company block with the
// format word 13 and the organisation number, the payment mode of the
// receiving account, the invoice 501 of the vendor V1 (typed into the
// vendor window), the approved payment 40 of 250.50 and the sales invoice
// 7001 with the reference 70013.
const char *CompanyData =
    "company4\t\r\nOrvel Road AS\t\r\n\t\r\n\t\r\n\t\r\n\t\r\n"
    "98765-4321\t\t\t4234567-85\t\t\t\t0\tNO 12345678901\t\r\n"
    "0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t\r\n0\t0\t0\t13\t0\t\r\n\t\t\t\r\n\r\n"
    "betsatt1\t\r\nB\t\t4234567-85\tBank\t\r\n\r\n\r\n"
    "lfakt1\t\r\n501\t20.11.2026\t250,50\tF-501\t0\t\tV1\tVendor one\t0\t\t\t\t5012345-6789\t0,00\t\t1\t0,00\t"
    "\t\t0\t\t\t0\t\t0,00\t0\t\tNote F-501\t0,00\t0\t\t0\t\t\r\n\r\n\r\n"
    "utbet1\t\r\n40\t4234567-85\t\t0,00\t\t10.12.2026\t\t1\t0\t0\t0\t0\t\t0\t\t0,00\t0,00\t0,00\t\t0\t0\t\r\n"
    "1\t0\t501\tV1\tdetails V1\t1111.22.33333\t\t250,50\t\r\n\r\n\r\n"
    "fakt1\t\r\n7001\t01.12.2026\t\t0\t0\t\t0\t0,0\t0\t\t0\t0\t0,00\t0\t0\t\t\t\t0\t\t\t\t\t0,00\t\t0\t0\t\t\r\n"
    "C1\tCustomer one\t\t\t\t\t\r\n\t\t\t\t\t\t\r\n"
    "0,00\t0,00\t0,00\t0,00\t0,00\t\t0,00\t0,00\t\t\t0,00\t\t\t\t\t\t\t\t\t\t0,00\t\t\t\t70013\t\t\t\r\n\r\n\r\n";

// One reference payment of the bank's file: 100.00 to reference 70013.
std::string IncomingLine()
{
    std::string line = "3" + std::string("42345670000085") + "261207" + "261206" + std::string(16, ' ');
    line += std::string("70013") + std::string(15, ' ');
    line += std::string("ROAD PAYER   ") + " " + "0000010000" + "0";
    return line;
}

TEST_F(BankFilesRoad, APaymentGoesOutInTheBankFileAndAnIncomingOneBecomesAReceipt)
{
    const std::string company = StartNewCompany("bank.VDB");
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    const fs::path data = dir / "bank_data.txt", out = dir / "LM.TXT", in = dir / "incoming.txt";
    std::ofstream(data, std::ios::binary) << CompanyData;
    std::ofstream(in, std::ios::binary) << IncomingLine() << "\r\n";

    TypeVendor({"V1", "Vendor V1", "Main street 1", "", "", "", "KODV1"});
    ImportTextFile(data);
    Check("the data comes in without a word", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        return true;
    });

    ChooseTextExport("Bank payment file", out, true);
    Check("the selection window opens", [out] {
        EXPECT_EQ(ActiveType(), BankFileSelection) << ActiveTitle();
        EXPECT_FALSE(fs::exists(out)) << "written before its selection was given";
        return ActiveType() == BankFileSelection;
    });
    ClickField("Payments");
    Type("40:40");
    Do("keep a picture of the selection", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "bank_file_sel.png"));
        return true;
    });
    ClickOk();
    Check("the bank file is written and nothing is left unsent", [out] {
        EXPECT_TRUE(fs::exists(out)) << ::testing::PrintToString(Messages());
        EXPECT_EQ(Messages().size(), 1u) << ::testing::PrintToString(Messages());
        if (!Messages().empty()) {
            EXPECT_EQ(Messages()[0], Text(Texts::BankFileWrote) + "1" + Text(Texts::BankFilePayments) + out.string());
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
    EXPECT_EQ(lines[1].substr(186, 12), "000000025050");
    EXPECT_EQ(lines[2].substr(35, 19), "000001" + std::string("0000000025050"));

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> payment(RegRecordSize(OPVc::Number), 0);
    PutI32(payment.data(), OPVc::SerNr, 40);
    uint32_t id = 0, pos = 0;
    ASSERT_TRUE(RecFind(OPVc::Number, payment.data(), 1, 1, &id, &pos));
    RecFreeMatrix(OPVc::Number, payment.data());
    EXPECT_EQ(GetU16(payment.data(), OPVc::Sent), 1);
    ASSERT_EQ(RegRecordCount(IPVc::Number), 1u);
    std::vector<uint8_t> receipt(RegRecordSize(IPVc::Number), 0), row(RecRowSize(IPVc::Number), 0);
    ASSERT_TRUE(RecReadAt(IPVc::Number, 1, receipt.data(), &id));
    ASSERT_EQ(MatrixRowCount(IPVc::Number, 0, receipt.data()), 1);
    ASSERT_TRUE(MatrixRowGet(IPVc::Number, 0, receipt.data(), 0, row.data()));
    RecFreeMatrix(IPVc::Number, receipt.data());
    EXPECT_EQ(GetI32(row.data(), IPVc::Rows::InvoiceNr), 7001);
    EXPECT_EQ(TextAt(row.data(), IPVc::Rows::CustCode), "C1");
    PackedDecimal paid = GetDec(row.data(), IPVc::Rows::Amount);
    EXPECT_DOUBLE_EQ(DecToDouble(&paid), 100.0);
    DateRec date = GetDate(receipt.data(), IPVc::TransDate);
    EXPECT_EQ(date.year, 2026);
    EXPECT_EQ(TextAt(receipt.data(), IPVc::PayMode), "B");
    CloseForCheck();
}

}  // namespace
