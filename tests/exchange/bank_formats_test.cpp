// bank_formats_test.cpp - the bank payment file formats besides Telepay:
// the "LM" batches of 300 characters, the Estonian payment orders one file
// each, and the Swedish files (the domestic batch, the second file of
// postal-giro payments and the foreign-currency layouts), byte for byte,
// with the payments each refuses left unsent.
#include <algorithm>
#include <filesystem>

#include "tests/exchange/bank_fixture.h"
#include "tests/exchange/test_job_export.h"
#include "tests/output/test_job.h"

namespace {

using namespace bank_test;

class BankFormatsTest : public BankFixture {
protected:
    void SetUp() override
    {
        BankFixture::SetUp();
        if (HasFatalFailure()) return;
        Vendor("V1", "Addr one", "Addr two", "12345 Town");
        Vendor("V2", "Second street", "", "99999 Far");
    }
    static std::string Zeros(int n) { return std::string(size_t(n), '0'); }
    // A row as the payment window leaves it under the Swedish variant: the
    // giro it pays to (the vendor's, or the invoice's payment text) and
    // beside it the vendor's bank account, which the Swedish files never
    // pay to.
    static PayRow Giro(int32_t invoice, const char *vendor, const char *giro, double amount)
    {
        return PayRow{invoice, vendor, "1111.22.33333", amount, 1, 0, giro};
    }
};

TEST_F(BankFormatsTest, LmBatchHasHeadRowsAndNetEndOf300Characters)
{
    Company(BankFormatLm, "1", "1");
    Invoice(501, "V1", "Vendor one", "F-501", "");
    Invoice(502, "V1", "Vendor one", "C-502", "1234567", 3);
    // The first row pays to its own account; the second has none and pays
    // to its invoice's payment text.
    Payment(40, {{501, "V1", "5555-12345", 250.50}, {502, "V1", "", -50.25}});
    std::vector<std::string> lines = Run("40:40");
    ASSERT_EQ(lines.size(), 4u) << ::testing::PrintToString(lines);
    for (const std::string &l : lines) EXPECT_EQ(l.size(), 300u);
    const std::string acct = "42345670000085", org = "987654321";
    EXPECT_EQ(lines[0].substr(0, 35), "LM  00" + acct + org + "261207");
    EXPECT_EQ(lines[0].substr(39), "4 261207" + B(253));
    EXPECT_EQ(lines[1], "LM  10" + acct + ("Vendor V1" + B(21)) + ("Addr one" + B(12)) + ("Addr two" + B(12)) +
                            "55551230000045" + " 89" + "2" + ("KODV1" + B(5)) + ("F-501" + B(10)) + "261120" +
                            B(29) + "261210" + Zeros(12) + "000000025050" + B(102));
    EXPECT_EQ(lines[2].substr(90, 14), "50123450006789");
    EXPECT_EQ(lines[2].substr(107, 67), "1" + std::string("00000000000001234567") + B(40) + "261210");
    EXPECT_EQ(lines[2].substr(186, 12), "000000005025");
    EXPECT_EQ(lines[3], "LM  90" + acct + org + "261207" + "000001" + "0000000025050" + "000001" +
                            "0000000005025" + "0000000020025" + B(13) + B(201));
    EXPECT_EQ(SentFlag(40), 1);
}

TEST_F(BankFormatsTest, LmEqualDebitsAndCreditsWriteZeroInBothNetFields)
{
    Company(BankFormatLm, "1", "1");
    Invoice(501, "V1", "Vendor one", "F-501", "");
    Invoice(502, "V1", "Vendor one", "F-502", "");
    Payment(41, {{501, "V1", "5555-12345", 100.0}, {502, "V1", "5555-12345", -100.0}});
    // A reference with letters cannot be written as digits: refused whole.
    Invoice(503, "V1", "Vendor one", "F-503", "RF12AB");
    Payment(42, {{503, "V1", "5555-12345", 10.0}});
    Payment(43, {{501, "V1", "5555-12345", 10.0}, {777, "V1", "5555-12345", 10.0}});   // invoice gone
    std::vector<std::string> lines = Run("41:43");
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[3].substr(73, 26), Zeros(26));
    EXPECT_EQ(SentFlag(41), 1);
    EXPECT_EQ(SentFlag(42), 0);
    EXPECT_EQ(SentFlag(43), 0);
}

TEST_F(BankFormatsTest, EstonianOrdersGoOneFileEachWithTheirTestNumbers)
{
    Company(BankFormatEstonian, "1", "EE12 3456");
    // The user names the first file; the others are numbered after it.
    std::filesystem::create_directories(dir / "out");
    ScriptAnswerFile((dir / "out" / "order.txt").string());
    for (int32_t s : {1, 2, 3}) {
        Invoice(500 + s, "V1", "Vendor one", "F", "");
        Payment(s, {{500 + s, "V1", "EE99 8888", 1234.50}, {500 + s, "V2", "EE77", 1.0}});
    }
    for (auto [field, value] : std::vector<std::pair<uint32_t, const char *>>{{ReportParamsVc::SelText2, "2"},
                                                                            {ReportParamsVc::SelText7, "5"},
                                                                            {ReportParamsVc::SelText3, "3"},
                                                                            {ReportParamsVc::SelText5, "7"},
                                                                            {ReportParamsVc::SelText6, "Regards"}}) {
        PString t;
        PStringFromC(t, value);
        PutPString(TestJob, field, 20, t);   // the slots of 21 bytes
    }
    PutU16(TestJob, ReportParamsVc::ReportNumber, 15);
    PutU16(TestJob, ReportParamsVc::OutputKind, OutTextFile);
    PString range;
    PStringFromC(range, "1:3");
    ::PutText(TestJob, ReportParamsVc::SelText1, range);
    ASSERT_TRUE(ExportOverTestJob(15));
    std::vector<std::filesystem::path> files;
    for (auto &e : std::filesystem::directory_iterator(dir / "out")) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    ASSERT_EQ(files.size(), 3u);
    EXPECT_EQ(files[0].filename(), "order-2.txt");
    EXPECT_EQ(files[1].filename(), "order-3.txt");
    std::rotate(files.begin(), files.begin() + 2, files.end());
    EXPECT_EQ(files[0].filename(), "order.txt");
    for (size_t i = 0; i < files.size(); i++) {
        std::vector<std::string> lines = Lines(FileBytes(files[i]));
        ASSERT_EQ(lines.size(), 21u) << files[i];
        EXPECT_EQ(lines[0], "To: ");
        EXPECT_EQ(lines[1], "From: Orvel Test AS");
        EXPECT_EQ(lines[3], "Subject: KODUMAINE MAKSEKORRALDUS (1)");
        EXPECT_EQ(lines[4], "");
        EXPECT_EQ(lines[6], ":1 REFERENCE: " + std::to_string(i + 1));
        // 1235.50: six digits, the first 1: 2 x 6 + 5 + 3 x 1 + 7.
        EXPECT_EQ(lines[7], ":2 TEST: 27");
        EXPECT_EQ(lines[10], ":6 AMOUNT: EEK 1235.50");
        EXPECT_EQ(lines[11], ":5 FROM ACCOUNT NO: EE12 3456");
        EXPECT_EQ(lines[13], ":33 COMPANY REGISTRATION CODE: 98765-4321");
        EXPECT_EQ(lines[14], ":8 BENEFICIARY: Vendor V1");   // the first row's vendor only
        EXPECT_EQ(lines[16], ":9 BENEFICIARYS ACCOUNT NO: EE99 8888");
        EXPECT_EQ(lines[17], ":11 DETAILS OF PAYMENT: details V1");
        EXPECT_EQ(lines[18], "::0");
        EXPECT_EQ(lines[20], "Regards");
    }
    for (int32_t s : {1, 2, 3}) EXPECT_EQ(SentFlag(s), 1);
}

TEST_F(BankFormatsTest, SwedishDomesticBatchWritesInvoicesCreditNotesAndTotal)
{
    Company(BankFormatSwedish, "4711", "1234.56.78901");
    Invoice(501, "V1", "Vendor one", "F-501", "", 1, DateRec{20, 12, 2026});
    Invoice(502, "V1", "Vendor one", "C-502", "", 3);
    Invoice(503, "V1", "Vendor one", "F-503", "", 7);   // a kind outside 1 to 3 is an invoice
    Payment(40, {Giro(501, "V1", "5555-12345", 250.50), Giro(502, "V1", "5555-12345", -50.25),
                 Giro(503, "V1", "5555-12345", 0.0)});
    std::vector<std::string> lines = Run("40:40");
    std::vector<std::string> want = {
        "11" + std::string("0423456785") + "261207" + ("SUPPLIER PAYMENTS" + B(5)) + B(40),
        "14" + std::string("0555512345") + ("F-501" + B(20)) + "000000025050" + "261210" + B(25),
        "15" + std::string("0555512345") + ("C-502" + B(20)) + "000000005025" + "261210" + B(25),
        "14" + std::string("0555512345") + ("F-503" + B(20)) + "000000000000" + "261210" + B(25),
        "29" + std::string("0423456785") + "00000003" + "000000020025" + B(48),
    };
    EXPECT_EQ(lines, want);
    // The due-date switch dates a row by its later due date.
    PutU16(TestJob, ReportParamsVc::Option3, 1);
    lines = Run("40:40", true, "due.txt");
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[1].substr(49, 6), "261220");
    EXPECT_EQ(lines[2].substr(49, 6), "261210");

    // A vendor paid by its bank giro alone is paid; one with an account
    // but no giro, nor any payment text on its invoice, is not paid to the
    // account: the payment stays unsent and says why. A row without a
    // giro pays to its invoice's payment text.
    PutU16(TestJob, ReportParamsVc::Option3, 0);
    Invoice(504, "V2", "Vendor two", "F-504", "");
    InvoicePayText(504, "");
    Payment(41, {PayRow{504, "V2", "", 80.0, 1, 0, "5050-3333"}});
    Payment(42, {PayRow{504, "V2", "12345678", 80.0, 1, 0, ""}});
    Invoice(505, "V1", "Vendor one", "F-505", "");
    InvoicePayText(505, "5012-3456");
    Payment(43, {PayRow{505, "V1", "12345678", 80.0, 1, 0, ""}});
    MessagesShown.clear();
    lines = Run("41:43");
    ASSERT_EQ(lines.size(), 6u) << ::testing::PrintToString(lines);
    EXPECT_EQ(lines[1].substr(0, 12), "14" + std::string("0050503333"));
    EXPECT_EQ(lines[4].substr(0, 12), "14" + std::string("0050123456")) << "the invoice's payment text";
    EXPECT_EQ(SentFlag(41), 1);
    EXPECT_EQ(SentFlag(42), 0);
    EXPECT_EQ(SentFlag(43), 1);
    std::string list;
    for (const std::string &m : MessagesShown) list += m;
    EXPECT_NE(list.find("42 (" + TextOf(Texts::BankWhyNoAccount) + ")"), std::string::npos) << list;
}

TEST_F(BankFormatsTest, SwedishPaymentsThatWouldNeedASignStayUnsent)
{
    Company(BankFormatSwedish, "4711", "1");
    Invoice(501, "V1", "Vendor one", "F-501", "");
    Invoice(502, "V1", "Vendor one", "C-502", "", 3);
    Payment(1, {Giro(501, "V1", "5555-12345", -10.0)});                                   // negative invoice row
    Payment(2, {Giro(502, "V1", "5555-12345", 10.0)});                                    // positive credit row
    Payment(3, {Giro(501, "V1", "5555-12345", 5.0), Giro(502, "V1", "5555-12345", -9.0)});   // negative total
    Payment(4, {Giro(501, "V1", "5555-12345", 5.0)}, 1, 0, 0, [](uint8_t *op) {
        PutText(op, OPVc::PayMode, 1, "P");   // the second file's
    });
    Payment(5, {Giro(501, "V1", "5555-12345", 5.0)});
    MessagesShown.clear();
    std::vector<std::string> lines = Run("1:9");
    ASSERT_EQ(lines.size(), 3u) << ::testing::PrintToString(lines);
    EXPECT_EQ(lines[1].substr(0, 2), "14");
    for (int32_t s : {1, 2, 3, 4}) EXPECT_EQ(SentFlag(s), 0) << s;
    EXPECT_EQ(SentFlag(5), 1);
    // The postal-giro payment waits for its own file, unlisted.
    std::string list;
    for (const std::string &m : MessagesShown) list += m;
    for (const std::string &entry : {"1 (" + TextOf(Texts::BankWhyCreditSign), "2 (" + TextOf(Texts::BankWhyCreditSign),
                                     "3 (" + TextOf(Texts::BankWhyNegative)})
        EXPECT_NE(list.find(entry), std::string::npos) << entry << "\n" << list;
    EXPECT_EQ(list.find("4 ("), std::string::npos) << list;
}

TEST_F(BankFormatsTest, SwedishSecondFileCarriesPostalGiroPaymentsAndTheirRunningTotal)
{
    Company(BankFormatSwedish, "4711", "1234.56.78901");
    PutText(CompanyBlock, CompanyBlk::Telephone, 20, "08-123 45");
    ASSERT_EQ(SettingsBlockStore(CompanyBlk::Number, CompanyBlock, CompanyBlk::Size), RecDone);
    Invoice(501, "V1", "Vendor one", "F-501", "");
    Invoice(502, "V2", "Vendor two", "F-502", "");
    auto postal = [](uint8_t *op) { PutText(op, OPVc::PayMode, 1, "P"); };
    Payment(1, {Giro(501, "V1", "5555-12345", 100.0), Giro(502, "V2", "123-4", -130.0), Giro(501, "V1", "5555-12345", 0.0)}, 1,
            0, 0, postal);
    Payment(2, {Giro(501, "V1", "5555-12345", 10.0)});   // domestic: not in this file
    PutU16(TestJob, ReportParamsVc::Option2, 1);
    std::vector<std::string> lines = Run("1:9");
    std::vector<std::string> want = {
        "0" + std::string("47110") + "261207" + "1" + B(87),
        "2" + std::string("47110") + "1234567890" + B(2) + ("Orvel Test AS" + B(14)) + ("08-123 45" + B(18)) + B(28),
        "53 " + B(4) + B(1) + "555512345" + ("Vendor V1" + B(18)) + "00000010000" + "261210" + B(39),
        "63 " + B(4) + B(6) + "1234" + ("Vendor V2" + B(18)) + "00000013000" + "261210" + "261210" + B(33),
        "7" + std::string("47110") + "1234567890" + B(2) + "000000003000" + "-" + B(69),
    };
    EXPECT_EQ(lines, want);
    EXPECT_EQ(SentFlag(1), 1);
    EXPECT_EQ(SentFlag(2), 0);
}

TEST_F(BankFormatsTest, SwedishForeignLayoutsWriteTheirGroupsAndRefuseCreditNotes)
{
    Company(BankFormatSwedish, "4711", "1");
    Invoice(501, "V1", "Vendor one", "INV-1", "");
    Invoice(502, "V1", "Vendor one", "CRED-1", "", 3);
    auto euro = [](uint8_t *op) {
        PutText(op, OPVc::PayText, 60, "423-4567");
        PutText(op, OPVc::CurncyCode, 5, "EUR");
        PutDec(op, OPVc::Rate, Amount(950.0));
    };
    Payment(1, {{501, "V1", "DE12", 100.0}}, 1, 0, 0, euro);
    Payment(2, {{501, "V1", "DE12", 100.0}, {502, "V1", "DE12", 20.0}}, 1, 0, 0, euro);   // a credit note
    std::vector<std::string> lines = Run("1:9");
    ASSERT_EQ(lines.size(), 7u) << ::testing::PrintToString(lines);
    for (const std::string &l : lines) EXPECT_EQ(l.size(), 80u) << l;
    EXPECT_EQ(lines[0], "0" + std::string("04234567") + "261207" + B(57) + "261207" + "20");
    EXPECT_EQ(lines[1], "2" + std::string("00000V1") + ("VENDOR V1" + B(21)) + B(35) + B(7));
    EXPECT_EQ(lines[2].substr(0, 74), "3" + std::string("00000V1") + ("ADDR ONE" + B(22)) + ("ADDR TWO 12345 TOWN" + B(16)) + "0");
    // Layout 0 converts by the invoice's rate, none here: the amount itself.
    EXPECT_EQ(lines[4], "6" + std::string("00000V1") + ("INV-1" + B(20)) + "00000010000" + Zeros(10) + "EUR" + B(6) +
                            "1 " + Zeros(13) + " 9");
    EXPECT_EQ(lines[5].substr(0, 21), "7" + std::string("00000V1") + B(13));
    EXPECT_EQ(lines[6], "9" + std::string("04234567") + "000000010000" + B(42) + "000000000010000" + B(2));
    EXPECT_EQ(SentFlag(1), 1);
    EXPECT_EQ(SentFlag(2), 0);

    // Layout 1 converts by the payment's rate and writes the row amount.
    uint8_t block[BankFileBlk::Size] = {0};
    PutU16(block, BankFileBlk::ForeignLayout, 1);
    PutText(block, BankFileBlk::Text42, 10, "CHARGES");
    ASSERT_EQ(SettingsBlockStore(BankFileBlk::Number, block, sizeof block), RecDone);
    lines = Run("1:1", true, "layout1.txt");
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[0], "0" + std::string("4234567") + B(58) + "261207" + "261207" + "1 ");
    EXPECT_EQ(lines[4], "6" + std::string("00000V1") + ("INV-1" + B(20)) + "00000095000" + ("CHARGES" + B(3)) + "EUR" +
                            "261210" + B(2) + "0000000010000" + B(2));
    EXPECT_EQ(lines[6], "9" + std::string("4234567") + "000000095000" + B(43) + "000000000010000" + B(2));

    // Any other layout word writes nothing and leaves the payment unsent:
    // with every payment refused no file is kept.
    PutU16(block, BankFileBlk::ForeignLayout, 2);
    ASSERT_EQ(SettingsBlockStore(BankFileBlk::Number, block, sizeof block), RecDone);
    Payment(3, {{501, "V1", "DE12", 100.0}}, 1, 0, 0, euro);
    EXPECT_EQ(Run("3:3", false, "layout2.txt"), std::vector<std::string>{});
    EXPECT_FALSE(std::filesystem::exists(dir / "layout2.txt"));
    EXPECT_EQ(SentFlag(3), 0);

    // The foreign file pays to the vendor's account: a row with no giro,
    // nor a payment text on its invoice, is paid all the same.
    PutU16(block, BankFileBlk::ForeignLayout, 0);
    ASSERT_EQ(SettingsBlockStore(BankFileBlk::Number, block, sizeof block), RecDone);
    InvoicePayText(501, "");
    Payment(4, {PayRow{501, "V1", "DE12", 100.0, 1, 0, ""}}, 1, 0, 0, euro);
    EXPECT_EQ(Run("4:4", true, "no_giro.txt").size(), 7u);
    EXPECT_EQ(SentFlag(4), 1);
}

}  // namespace

TEST_F(BankFormatsTest, LmRefusesAPayeeOrPayingAccountOfZerosAndSaysWhy)
{
    Company(BankFormatLm, "1", "1");
    Invoice(501, "V1", "Vendor one", "F-501", "");
    Invoice(502, "V1", "Vendor one", "F-502", "");
    // A row without an account pays to its invoice's payment text, here
    // lost to zeros; an account of zeros is refused as a typed one is.
    InvoicePayText(502, "000-000");
    Payment(41, {{501, "V1", "5555-12345", 10.0}});
    Payment(42, {{501, "V1", "5555-12345", 10.0}, {502, "V1", "", 10.0}});
    Payment(43, {{501, "V1", "0.00", 10.0}});
    MessagesShown.clear();
    std::vector<std::string> lines = Run("41:43");
    ASSERT_EQ(lines.size(), 3u);   // payment 41 alone
    for (const std::string &l : lines) EXPECT_NE(l.substr(90, 14), Zeros(14)) << l;
    EXPECT_EQ(SentFlag(41), 1);
    EXPECT_EQ(SentFlag(42), 0);
    EXPECT_EQ(SentFlag(43), 0);
    std::string list;
    for (const std::string &m : MessagesShown) list += m;
    EXPECT_NE(list.find("42 (" + TextOf(Texts::BankWhyAccountLetters) + "000-000)"), std::string::npos) << list;
    EXPECT_NE(list.find("43 (" + TextOf(Texts::BankWhyAccountLetters) + "0.00)"), std::string::npos) << list;
}
