// bank_file_test.cpp - export kind 15, the bank payment file: the Telepay
// file byte for byte (heads, transfers, invoice records, the counters of
// settings block 224), which payments the walk takes (range, skip and
// ready flags, re-send), that only payments written whole are marked sent
// and only once the file is whole, and the formatters of the formats.
#include "tests/exchange/bank_fixture.h"

#include <filesystem>

namespace {

using namespace bank_test;

using BankFileTest = BankFixture;

TEST_F(BankFileTest, TelepayOpensAndClosesItsFileAndKeepsTheCounters)
{
    SimplePayment(1, 1001);
    std::vector<std::string> lines = Run("1:");
    ASSERT_EQ(lines.size(), 4u * 4) << ::testing::PrintToString(lines);
    std::vector<std::string> opening = {
        Head("BETFOR00", 1, "", 0),
        "1207" + B(10) + "VERSJON002" + B(10) + "00000000000" + B(35),
        B(80),
        B(80),
    };
    EXPECT_EQ(std::vector<std::string>(lines.begin(), lines.begin() + 4), opening);
    std::vector<std::string> closing = {
        Head("BETFOR99", 4, "", 3),
        "1207" + B(19) + "00004" + B(52),
        B(80),
        B(80),
    };
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 12, lines.end()), closing);
    // The counters of the file are kept for the next.
    uint8_t block[BankFileBlk::Size] = {0};
    ASSERT_TRUE(SettingsBlockRead(BankFileBlk::Number, block, sizeof block));
    EXPECT_EQ(GetU16(block, BankFileBlk::RecordSeq), 4);
    EXPECT_EQ(GetU16(block, BankFileBlk::DailySeq), 5);
    DateRec stored = GetDate(block, BankFileBlk::LastFileDate);
    EXPECT_EQ(DateCompare(&stored, &TodayDate), 0);

    // With nothing left to send no file is written, and no counter moves:
    // the bank is handed no file of empty records.
    MessagesShown.clear();
    EXPECT_EQ(Run("1:", false, "empty.txt"), std::vector<std::string>{});
    EXPECT_FALSE(std::filesystem::exists(dir / "empty.txt"));
    ASSERT_TRUE(SettingsBlockRead(BankFileBlk::Number, block, sizeof block));
    EXPECT_EQ(GetU16(block, BankFileBlk::RecordSeq), 4);
    EXPECT_EQ(GetU16(block, BankFileBlk::DailySeq), 5);
}

// A run with nothing left to send writes no file and says why, counting
// what it passed by: the payments of the range sent before (which "Send
// again" writes), those not approved and those marked "Passed over"; a
// range of no payment says so. Nothing is marked.
TEST_F(BankFileTest, ARunWithNothingLeftToSendWritesNoFileAndSaysWhy)
{
    for (uint16_t format : {BankFormatTelepay, BankFormatLm, BankFormatSwedish}) {
        SCOPED_TRACE(format);
        Company(format, "1", "4234567-85");
        MessagesShown.clear();
        EXPECT_EQ(Run("1:9", false, "none.txt"), std::vector<std::string>{});
        EXPECT_FALSE(std::filesystem::exists(dir / "none.txt"));
        ASSERT_EQ(MessagesShown.size(), 1u) << ::testing::PrintToString(MessagesShown);
        EXPECT_EQ(MessagesShown[0], TextOf(Texts::BankNothingInRange) + ".");
    }
    Company(BankFormatLm, "1", "4234567-85");
    Invoice(1001, "V1", "Vendor one", "F1", "");
    Payment(1, {{1001, "V1", "1111.22.33333", 5.0}}, 1, 1);      // sent
    Payment(2, {{1001, "V1", "1111.22.33333", 5.0}}, 1, 1);      // sent
    Payment(3, {{1001, "V1", "1111.22.33333", 5.0}}, 0);         // not approved
    Payment(4, {{1001, "V1", "1111.22.33333", 5.0}}, 1, 0, 1);   // passed over
    Payment(5, {{1001, "V1", "1111.22.33333", 5.0}});            // beyond the range
    MessagesShown.clear();
    EXPECT_EQ(Run("1:4", false, "none.txt"), std::vector<std::string>{});
    EXPECT_FALSE(std::filesystem::exists(dir / "none.txt"));
    ASSERT_EQ(MessagesShown.size(), 1u) << ::testing::PrintToString(MessagesShown);
    EXPECT_EQ(MessagesShown[0], TextOf(Texts::BankNothingToSend) + "; 2" + TextOf(Texts::BankNothingSent) + "; 1" +
                                    TextOf(Texts::BankNothingUnapproved) + "; 1" + TextOf(Texts::BankNothingSkipped) +
                                    ".");
    EXPECT_EQ(MessagesShown[0].find(TextOf(Texts::BankFileWrote)), std::string::npos);
    for (int32_t s : {3, 4, 5}) EXPECT_EQ(SentFlag(s), 0) << s;
    // "Send again" writes the sent ones.
    EXPECT_EQ(Run("1:2", true, "again.txt").size(), 6u);
}

TEST_F(BankFileTest, TelepayPayeesGetTransferAndInvoiceRecordsByteForByte)
{
    // Two vendors in one payment: V1 with an invoice and a credit note,
    // V2 with one invoice; letters of the Norwegian alphabet and a town of
    // twenty characters.
    Vendor("V1", "\xC5sveien 12", "Postboks 7", "0123 Abcdefghijklmnopqrst");
    Vendor("V2", "X", "", "9999");
    Invoice(501, "V1", "S\xF8r \xE6" "ble", "F-501", "");
    Invoice(502, "V1", "S\xF8r \xE6" "ble", "C-502", "1234567", 3);
    Invoice(503, "V2", "Vendor two", "F-503", "");
    Payment(40, {{501, "V1", "1111.22.33333", 250.50}, {503, "V2", "2222.33.44444", 99.0},
                 {502, "V1", "1111.22.33333", -50.25}});
    std::vector<std::string> lines = Run("40:40");
    ASSERT_EQ(lines.size(), 4u * 7) << ::testing::PrintToString(lines);
    for (const std::string &l : lines) EXPECT_EQ(l.size(), 80u) << l;

    std::vector<std::string> transfer = {
        Head("BETFOR21", 2, "12345678901", 1),
        "261207" + ("40" + B(28)) + " " + "11112233333" + ("S|R {BLE" + B(22)) + "[S",
        ("VEIEN 12" + B(20)) + ("POSTBOKS 7" + B(20)) + "0123" + "ABCDEFGHIJKLMNOPQR",
        B(6) + "ST" + B(15) + "150" + "F" + " " + "000000000020025" + B(5) + "261207" + B(26),
    };
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 4, lines.begin() + 8), transfer);
    std::vector<std::string> invoice = {
        Head("BETFOR23", 3, "12345678901", 2),
        ("Faktura: F-501" + B(26)) + ("NOTE F-501" + B(30)),
        B(40) + B(27) + ("501" + B(10)),
        B(17) + "000000000025050" + "D" + B(47),
    };
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 8, lines.begin() + 12), invoice);
    // The credit note of the same payee follows: reference, "K", no sign.
    EXPECT_EQ(lines[12].substr(40, 8), "BETFOR23");
    EXPECT_EQ(lines[13], B(80));
    EXPECT_EQ(lines[14], B(40) + ("1234567" + B(20)) + ("502" + B(10)));
    EXPECT_EQ(lines[15], B(17) + "000000000005025" + "K" + B(47));
    // Then the second payee with its own invoice.
    EXPECT_EQ(lines[16].substr(40, 8), "BETFOR21");
    EXPECT_EQ(lines[17].substr(37, 11), "22223344444");
    EXPECT_EQ(lines[19].substr(28, 15), "000000000009900");
    EXPECT_EQ(lines[20].substr(40, 8), "BETFOR23");
    EXPECT_EQ(lines[23].substr(17, 16), "000000000009900D");
    EXPECT_EQ(lines[24].substr(40, 8), "BETFOR99");
    EXPECT_EQ(lines[25].substr(23, 5), "00007");
    EXPECT_EQ(SentFlag(40), 1);
}

TEST_F(BankFileTest, TelepayCountersRunOnThroughTheDayAndWrapAfter9999)
{
    uint8_t block[BankFileBlk::Size] = {0};
    PutU16(block, BankFileBlk::RecordSeq, 9998);
    PutU16(block, BankFileBlk::DailySeq, 41);
    PutDate(block, BankFileBlk::LastFileDate, DateRec{7, 12, 2026});
    PutText(block, BankFileBlk::Text12, 11, "4711");
    ASSERT_EQ(SettingsBlockStore(BankFileBlk::Number, block, sizeof block), RecDone);
    SimplePayment(1, 1001);
    std::vector<std::string> lines = Run("1:");
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[0], Head("BETFOR00", 41, "", 9998));
    EXPECT_EQ(lines[1].substr(34, 11), "00000004711");
    EXPECT_EQ(lines[4].substr(0, 40), Head("BETFOR21", 42, "12345678901", 9999).substr(0, 40));
    EXPECT_EQ(lines[4].substr(70, 4), "9999");
    EXPECT_EQ(lines[8].substr(70, 4), "0000");
    EXPECT_EQ(lines[12], Head("BETFOR99", 44, "", 1));
    // The second file of the day goes on; the next day starts again at 1.
    SimplePayment(2, 1002);
    lines = Run("2:", false, "second.txt");
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[0], Head("BETFOR00", 45, "", 2));
    TodayDate = DateRec{8, 12, 2026};
    SimplePayment(3, 1003);
    lines = Run("3:", false, "third.txt");
    ASSERT_EQ(lines.size(), 16u);
    EXPECT_EQ(lines[0].substr(9, 10), "1208000001");
    EXPECT_EQ(lines[0].substr(70, 4), "0006");
    ASSERT_TRUE(SettingsBlockRead(BankFileBlk::Number, block, sizeof block));
    PString kept;
    ::GetText(block, BankFileBlk::Text12, kept);
    EXPECT_EQ(PStringToStd(kept), "4711");   // the rest of the block is written back unchanged
}

TEST_F(BankFileTest, TheWalkTakesReadyUnsentPaymentsOfTheRangeAndMarksThemSent)
{
    SimplePayment(99, 1099);
    SimplePayment(100, 1100);
    SimplePayment(105, 1105);
    Invoice(1110, "V1", "Vendor one", "F1110", "");
    Payment(110, {{1110, "V1", "1111.22.33333", 10.0}}, 1, 0, 1);   // skipped
    Invoice(1115, "V1", "Vendor one", "F1115", "");
    Payment(115, {{1115, "V1", "1111.22.33333", 10.0}}, 0);   // not ready
    SimplePayment(120, 1120);
    SimplePayment(121, 1121);
    MessagesShown.clear();
    EXPECT_EQ(TransferSerials(Run("100:120")), (std::vector<std::string>{"100", "105", "120"}));
    ASSERT_FALSE(MessagesShown.empty());
    EXPECT_EQ(MessagesShown.back(), TextOf(Texts::BankFileWrote) + "3 payments in " + (dir / "bank.txt").string());
    for (int32_t s : {100, 105, 120}) EXPECT_EQ(SentFlag(s), 1) << s;
    for (int32_t s : {99, 110, 115, 121}) EXPECT_EQ(SentFlag(s), 0) << s;
    // Sent payments are not written again; an open end takes the rest.
    EXPECT_EQ(TransferSerials(Run("100:", false, "again.txt")), (std::vector<std::string>{"121"}));
    // Re-sending writes the sent ones of the range again, skip flag or not.
    EXPECT_EQ(TransferSerials(Run("100:110", true, "resend.txt")),
              (std::vector<std::string>{"100", "105", "110"}));
    Payment(130, {{1110, "V1", "1111.22.33333", 10.0}}, 1, 1, 1);
    EXPECT_EQ(TransferSerials(Run("130:130", true, "resend2.txt")), (std::vector<std::string>{"130"}));
}

TEST_F(BankFileTest, APaymentThatCannotBeWrittenWholeStaysUnsentAndIsListed)
{
    SimplePayment(1, 1001);
    Payment(2, {{1001, "V1", "1111.22.33333", 5.0}, {4242, "V1", "1111.22.33333", 5.0}});   // invoice gone
    Invoice(1003, "V1", "Vendor one", "F3", "");
    InvoicePayText(1003, "");
    Payment(3, {{1003, "V1", "", 5.0}});   // no account, nor any on its invoice
    Invoice(1004, "V2", "Two", "F4", "");
    Payment(4, {{1004, "V2", "2222.33.44444", -20.0}});                                    // negative payee
    Payment(5, {{1001, "V1", "1234567890123", 5.0}});                                    // 13-digit account
    Payment(6, {{1001, "V1", "1111.22.33333", 5.0, 5, 0}});                               // only a discount row
    Payment(7, {{1001, "V1", "V1 Vendor one", 5.0}});                                    // a name, not an account
    Payment(8, {{1001, "V1", "1111.22.33333", 0.0}});                                    // nothing to pay
    MessagesShown.clear();
    std::vector<std::string> lines = Run("1:9");
    EXPECT_EQ(TransferSerials(lines), (std::vector<std::string>{"1"}));
    EXPECT_EQ(lines.size(), 4u * 4);   // nothing of the refused payments in the file
    EXPECT_EQ(SentFlag(1), 1);
    for (int32_t s : {2, 3, 4, 5, 6, 7, 8}) EXPECT_EQ(SentFlag(s), 0) << s;
    ASSERT_GE(Shown(Texts::BankFileLeftUnsent), 1);
    // Each payment is listed with its own reason.
    std::string list;
    for (const std::string &m : MessagesShown) list += m;
    for (const std::string &entry :
         {"2 (" + TextOf(Texts::BankWhyInvoiceGone) + "4242)", "3 (" + TextOf(Texts::BankWhyNoAccount) + ")",
          "4 (" + TextOf(Texts::BankWhyNegative) + ")", "5 (" + TextOf(Texts::BankWhyAccountLong) + "1234567890123)",
          "6 (" + TextOf(Texts::BankWhyNoRows) + ")", "7 (" + TextOf(Texts::BankWhyAccountLetters) + "V1 Vendor one)",
          "8 (" + TextOf(Texts::BankWhyZero) + ")"})
        EXPECT_NE(list.find(entry), std::string::npos) << entry << "\n" << list;
    // The run ends with what it wrote and where.
    EXPECT_NE(list.find(TextOf(Texts::BankFileWrote) + "1 payment in " + (dir / "bank.txt").string()),
              std::string::npos)
        << list;
}

TEST_F(BankFileTest, ManyUnsentPaymentsAreAllListed)
{
    for (int32_t s = 1; s <= 40; s++) Payment(s, {{1001, "V1", "", 5.0}});
    MessagesShown.clear();
    Run("1:");
    std::string list;
    for (const std::string &m : MessagesShown) list += m;
    EXPECT_GE(Shown(Texts::BankFileLeftUnsent), 2) << "more than one message holds them";
    for (int32_t s = 1; s <= 40; s++)
        EXPECT_NE(list.find(std::to_string(s) + " (" + TextOf(Texts::BankWhyNoAccount)), std::string::npos) << s;
}

TEST_F(BankFileTest, AFailedFileMarksNothingSentAndKeepsTheCounters)
{
    SimplePayment(1, 1001);
    SimplePayment(2, 1002);
    bool ok = true;
    // The device takes every byte until the file is flushed at its close.
    if (std::filesystem::exists("/dev/full")) {
        MessagesShown.clear();
        Run("1:", false, "/dev/full", &ok);
        EXPECT_FALSE(ok);
        EXPECT_EQ(SentFlag(1), 0);
        EXPECT_EQ(SentFlag(2), 0);
        EXPECT_EQ(Shown(Texts::BankFileIncomplete), 1);
        uint8_t block[BankFileBlk::Size] = {0};
        SettingsBlockRead(BankFileBlk::Number, block, sizeof block);
        EXPECT_EQ(GetU16(block, BankFileBlk::RecordSeq), 0);
    }
    // A file that cannot be made writes and marks nothing either.
    Run("1:", false, "no/such/folder/bank.txt", &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(SentFlag(1), 0);
    // Then the file is written and both go.
    EXPECT_EQ(TransferSerials(Run("1:", false, "bank.txt", &ok)), (std::vector<std::string>{"1", "2"}));
    EXPECT_TRUE(ok);
    EXPECT_EQ(SentFlag(2), 1);
}

TEST_F(BankFileTest, ANumberTooLongForItsZeroFilledFieldStopsTheJobMarkingNothing)
{
    Company(BankFormatTelepay, "123456789012", "1234.56.78901");   // twelve digits in eleven places
    SimplePayment(1, 1001);
    MessagesShown.clear();
    bool ok = true;
    Run("1:", false, "bank.txt", &ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(SentFlag(1), 0);
    EXPECT_EQ(Shown(Texts::BankValueTooWide), 1);
}

TEST_F(BankFileTest, AFormatWithoutAWriterLeavesEveryPaymentUnsent)
{
    Company(77, "1", "1");
    SimplePayment(1, 1001);
    MessagesShown.clear();
    Run("1:");
    EXPECT_EQ(SentFlag(1), 0);
    EXPECT_EQ(Shown(Texts::BankFileLeftUnsent), 1);
    // Refused whole: no file is handed over, and the run says so instead
    // of "written: 0 payments".
    EXPECT_FALSE(std::filesystem::exists(dir / "bank.txt"));
    EXPECT_EQ(Shown(15418), 1);
    for (const std::string &m : MessagesShown) EXPECT_EQ(m.find(TextOf(Texts::BankFileWrote)), std::string::npos) << m;
}

TEST(BankFormatters, DatesLettersAndSplits)
{
    PString t, head, rest;
    DateRec d{};
    PStringFromView(t, "050301");
    ASSERT_TRUE(DateFromYYMMDD(t, &d));
    EXPECT_EQ(d.year, 2005);
    EXPECT_EQ(d.month, 3);
    EXPECT_EQ(d.day, 1);
    PStringFromView(t, "991231xyz");
    ASSERT_TRUE(DateFromYYMMDD(t, &d));
    EXPECT_EQ(d.year, 1999);
    for (const char *bad : {"050230", "051301", "050300", "05a301", "0503", "-50301"}) {
        PStringFromView(t, bad);
        EXPECT_FALSE(DateFromYYMMDD(t, &d)) << bad;
        EXPECT_EQ(d.year, 0) << bad;
    }
    PStringFromView(t, "240229");
    EXPECT_TRUE(DateFromYYMMDD(t, &d));

    DateRec dec{7, 12, 2026};
    DateToMMDD(&dec, t);
    EXPECT_EQ(PStringToStd(t), "1207");

    PStringFromView(t, "\xE5\xC5 \xE6\xC6 \xF8\xD8 abc \xE4");
    TelepayLetters(t, t);
    EXPECT_EQ(PStringToStd(t), "[[ {{ || ABC \xC4");

    PStringFromView(t, "Hamburg");
    SplitAt(t, 2, head, rest);
    EXPECT_EQ(PStringToStd(head), "Ha");
    EXPECT_EQ(PStringToStd(rest), "mburg");
    SplitAt(t, 7, head, rest);
    EXPECT_EQ(PStringToStd(head), "Hamburg");
    EXPECT_EQ(PStringToStd(rest), " ");

    PStringFromView(t, "7312-34");
    BankGroupText(t, head);
    EXPECT_EQ(PStringToStd(head), "73");
    PStringFromView(t, "x");
    BankGroupText(t, head);
    EXPECT_EQ(PStringToStd(head), "1");

    PackedDecimal a = Amount(1234.5);
    AmountDotText(&a, t);
    EXPECT_EQ(PStringToStd(t), "1234.50");
    a = Amount(-0.05);
    AmountDotText(&a, t);
    EXPECT_EQ(PStringToStd(t), "-0.05");
    int64_t cents = 1;
    PackedDecimal blank;
    DecSetBlank(&blank);
    EXPECT_FALSE(AmountCents(&blank, &cents));
}

}  // namespace
