// bank_payments_in_test.cpp - import mode 1: reference payments (format
// 13) collected into receipts per date and matched by reference or
// number, cash discounts within the tolerance, overpayments left as they
// are; invoice-number payments (format 9) a receipt each; and damaged
// files refused whole, naming their line, with nothing stored.
#include <cstdio>
#include <string>
#include <tuple>
#include <vector>

#include "core/decimal.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "database/access/record_access.h"
#include "database/access/register_hooks.h"
#include "exchange/bank_file.h"
#include "exchange/bank_payments_in.h"
#include "tests/exchange/bank_fixture.h"
#include "tests/output/test_job.h"

namespace {

using namespace bank_test;
namespace RR = IPVc::Rows;

// A reference-payment line of 88 characters.
std::string RefLine(const std::string &receiptDate, const std::string &payDate, const std::string &ref,
                    const std::string &text, long long cents, const std::string &account = "42345670000085")
{
    char amount[16];
    std::snprintf(amount, sizeof amount, "%010lld", cents);
    std::string ref20 = ref + std::string(20 - ref.size(), ' ');
    std::string text13 = text + std::string(13 - text.size(), ' ');
    return "3" + account + receiptDate + payDate + std::string(16, ' ') + ref20 + text13 + " " + amount + "0";
}

// An invoice-number payment line of 45 characters.
std::string InvLine(const std::string &ddmmyy, const std::string &account, const std::string &serial, long long cents)
{
    char amount[16];
    std::snprintf(amount, sizeof amount, "%011lld", cents);
    return "1" + ddmmyy + account + std::string(13, ' ') + serial + " " + amount;
}

class BankPaymentsInTest : public BankFixture {
protected:
    void SetUp() override
    {
        BankFixture::SetUp();
        if (HasFatalFailure()) return;
        Company(BankFormatLm, "1", "1");
        // Two payment modes; the second takes the account of the file.
        std::vector<uint8_t> modes(2 * PaymentModeBlk::Rows::Size, 0);
        PutText(modes.data(), PaymentModeBlk::Rows::Code, 1, "A");
        PutText(modes.data(), PaymentModeBlk::Rows::BankAccount, 60, "1111-2");
        uint8_t *second = modes.data() + PaymentModeBlk::Rows::Size;
        PutText(second, PaymentModeBlk::Rows::Code, 1, "B");
        PutText(second, PaymentModeBlk::Rows::BankAccount, 60, "4234567-85");
        ASSERT_EQ(SettingsBlockStore(PaymentModeBlk::Number, modes.data(), uint32_t(modes.size())), RecDone);
    }
    // A sales invoice with its open item.
    void SalesInvoice(int32_t serial, const std::string &ref, double open, double discPct = -1,
                      DateRec discDate = {})
    {
        std::vector<uint8_t> iv(RegRecordSize(IVVc::Number), 0), ar(RegRecordSize(ARVc::Number), 0);
        PutI32(iv.data(), IVVc::SerNr, serial);
        PutText(iv.data(), IVVc::CustCode, 20, "C" + std::to_string(serial));
        PutText(iv.data(), IVVc::Addr0, 60, "Customer " + std::to_string(serial));
        PutText(iv.data(), IVVc::RefStr, 30, ref);
        PackedDecimal pct;
        if (discPct < 0)
            DecSetBlank(&pct);
        else
            pct = Amount(discPct);
        PutDec(iv.data(), IVVc::CashDiscPct, pct);
        uint32_t id = 0;
        ASSERT_TRUE(RecInsertLocal(IVVc::Number, iv.data(), &id));
        RecFreeMatrix(IVVc::Number, iv.data());
        PutI32(ar.data(), ARVc::InvoiceNr, serial);
        PutDec(ar.data(), ARVc::OpenAmount, Amount(open));
        PutDate(ar.data(), ARVc::CashDiscDate, discDate);
        ASSERT_TRUE(RecInsertLocal(ARVc::Number, ar.data(), &id));
    }
    void Import(const std::string &bytes)
    {
        MessagesShown.clear();
        PutU16(TestJob, ReportParamsVc::OutputKind, ImportSourceMemory);
        PutU16(TestJob, ReportParamsVc::ReportNumber, 1);
        SourceOf(bytes);
        ImportRun();   // its start clears the last result, its end tells this one
    }
    struct Receipt {
        int32_t serial;
        DateRec date;
        std::string mode, comment;
        std::vector<std::vector<std::string>> rows;   // kind, invoice, customer, amount, text
    };
    static std::string AmountText(const uint8_t *base, uint32_t at)
    {
        PackedDecimal d = GetDec(base, at);
        PString t;
        AmountDotText(&d, t);
        return PStringToStd(t);
    }
    static std::vector<Receipt> Receipts()
    {
        std::vector<Receipt> out;
        std::vector<uint8_t> ip(RegRecordSize(IPVc::Number), 0), row(RecRowSize(IPVc::Number));
        for (int32_t pos = 1;; pos++) {
            uint32_t id = 0;
            if (!RecReadAt(IPVc::Number, pos, ip.data(), &id)) break;
            Receipt r{};
            r.serial = GetI32(ip.data(), IPVc::SerNr);
            r.date = GetDate(ip.data(), IPVc::TransDate);
            PString t;
            ::GetText(ip.data(), IPVc::PayMode, t);
            r.mode = PStringToStd(t);
            ::GetText(ip.data(), IPVc::Text, t);
            r.comment = PStringToStd(t);
            for (int32_t i = 0, n = MatrixRowCount(IPVc::Number, 0, ip.data()); i < n; i++) {
                MatrixRowGet(IPVc::Number, 0, ip.data(), i, row.data());
                PString c, x;
                ::GetText(row.data(), RR::CustCode, c);
                ::GetText(row.data(), RR::Text, x);
                r.rows.push_back({std::to_string(GetU16(row.data(), RR::Kind)),
                                  std::to_string(GetI32(row.data(), RR::InvoiceNr)), PStringToStd(c),
                                  AmountText(row.data(), RR::Amount), PStringToStd(x)});
            }
            RecFreeMatrix(IPVc::Number, ip.data());
            out.push_back(r);
        }
        return out;
    }
    static std::string Join(const std::vector<std::string> &lines)
    {
        std::string s;
        for (const std::string &l : lines) s += l + "\r\n";
        return s;
    }
};

TEST_F(BankPaymentsInTest, ReferencePaymentsOfOneDateFillAReceiptUpTo61Rows)
{
    SalesInvoice(1001, "1234", 100.0);
    std::vector<std::string> lines = {"00 a header line the reader skips"};
    for (int i = 0; i < 62; i++) lines.push_back(RefLine("050301", "050228", "0001234", "PAYER", 100));
    lines.push_back(RefLine("050302", "050301", "1234", "NEXT DAY", 100));
    Import(Join(lines));
    std::vector<Receipt> got = Receipts();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].rows.size(), 61u);
    EXPECT_EQ(got[1].rows.size(), 1u);   // the 62nd line of the day starts a new receipt
    EXPECT_EQ(got[2].rows.size(), 1u);
    EXPECT_EQ(got[0].date.year, 2005);   // "05" is this century's
    EXPECT_EQ(got[0].date.month, 3);
    EXPECT_EQ(got[1].date.day, 1);
    EXPECT_EQ(got[2].date.day, 2);
    EXPECT_EQ(got[0].mode, "B");
    EXPECT_EQ(got[0].comment, "Viitesuorituksia");
    // A reference written with leading zeros found the invoice.
    EXPECT_EQ(got[0].rows[0], (std::vector<std::string>{"1", "1001", "C1001", "1.00", "PAYER         /  "}));
    EXPECT_NE(got[0].serial, got[1].serial);
}

TEST_F(BankPaymentsInTest, CashDiscountWithinToleranceOverpaymentAndNumberFallback)
{
    const DateRec disc{10, 3, 2005};
    SalesInvoice(2001, "2001", 1000.0, 5.0, disc);   // due 950.00 within the discount days
    SalesInvoice(2002, "2002", 1000.0, 5.0, disc);
    SalesInvoice(2003, "2003", 1000.0);
    SalesInvoice(2004, "", 500.0);                   // found by its number
    Import(Join({
        RefLine("050301", "050301", "2001", "THREE UNDER", 94700),   // 3.00 below 950.00: discount 53.00
        RefLine("050301", "050301", "2002", "SIX UNDER", 94400),     // 6.00 below: no discount row
        RefLine("050301", "050301", "2003", "OVERPAID", 100500),     // above the open amount
        RefLine("050301", "050301", "00000002004", "BY NUMBER", 50000),
        RefLine("050301", "050301", "99999999", "NOBODY", 700),
    }));
    std::vector<Receipt> got = Receipts();
    ASSERT_EQ(got.size(), 1u);
    const auto &rows = got[0].rows;
    ASSERT_EQ(rows.size(), 6u);
    EXPECT_EQ(rows[0][3], "947.00");
    EXPECT_EQ((std::vector<std::string>{rows[1][0], rows[1][1], rows[1][3]}),
              (std::vector<std::string>{"5", "2001", "53.00"}));
    EXPECT_EQ(rows[2][3], "944.00");
    EXPECT_EQ(rows[3][3], "1005.00");   // no negative discount for an overpayment
    EXPECT_EQ(rows[3][0], "1");
    EXPECT_EQ((std::vector<std::string>{rows[4][1], rows[4][2]}), (std::vector<std::string>{"2004", "C2004"}));
    EXPECT_EQ((std::vector<std::string>{rows[5][2], rows[5][3]}), (std::vector<std::string>{"", "7.00"}));
    EXPECT_EQ(Shown(Texts::BankInOverpaid), 1);
    EXPECT_EQ(Shown(Texts::BankInUnmatched), 1);
    bool line3 = false;
    for (const std::string &m : MessagesShown) line3 |= m.find(TextOf(Texts::BankInOverpaid) + "3") != std::string::npos;
    EXPECT_TRUE(line3) << ::testing::PrintToString(MessagesShown);
}

TEST_F(BankPaymentsInTest, InvoiceNumberPaymentsMakeAReceiptEach)
{
    Company(BankFormatTelepay, "1", "1");
    SalesInvoice(300001, "", 200.0);
    Import(Join({
        InvLine("010305", "0001111", "300001", 20000),
        "9 a trailer line",
        InvLine("020305", "0001111", "300001", 5000),
        InvLine("311299", "4234567", "777777", 1234),
    }));
    std::vector<Receipt> got = Receipts();
    ASSERT_EQ(got.size(), 3u);
    EXPECT_EQ(got[0].comment, "1111");
    EXPECT_EQ(got[0].date.year, 2005);
    EXPECT_EQ(got[0].rows[0], (std::vector<std::string>{"1", "300001", "C300001", "200.00", "Customer 300001"}));
    EXPECT_EQ(got[2].date.year, 1999);
    EXPECT_EQ(got[2].rows[0][2], "");
    EXPECT_EQ(got[0].mode, "A");   // no mode has the account: the first
}

TEST_F(BankPaymentsInTest, ADamagedFileIsRefusedWholeNamingItsLine)
{
    SalesInvoice(1001, "1234", 100.0);
    const std::string good = RefLine("050301", "050301", "1234", "OK", 100);
    std::string letters = good;
    letters[80] = 'X';
    std::string badDate = RefLine("051301", "050301", "1234", "OK", 100);
    std::string otherKind = good;
    otherKind[87] = '1';   // a record the reader ignores, whatever it holds
    for (const auto &[name, file, line, fault] :
         std::vector<std::tuple<std::string, std::string, int, int>>{
             {"short", Join({good, good.substr(0, 60)}), 2, Texts::BankInShortLine},
             {"letters", Join({good, good, letters}), 3, Texts::BankInNotDigits},
             {"date", Join({badDate}), 1, Texts::BankInBadDate},
             {"feb30", Join({good, RefLine("050301", "050230", "1234", "OK", 100)}), 2, Texts::BankInBadDate},
         }) {
        Import(file);
        EXPECT_TRUE(Receipts().empty()) << name;
        ASSERT_EQ(Shown(Texts::BankInRefused), 1) << name;
        std::string want = TextOf(Texts::BankInRefused) + std::to_string(line) + ": " + TextOf(fault);
        bool named = false;
        for (const std::string &m : MessagesShown) named |= m.find(want) != std::string::npos;
        EXPECT_TRUE(named) << name << ::testing::PrintToString(MessagesShown);
    }
    Import(Join({otherKind, good}));
    EXPECT_EQ(Receipts().size(), 1u);
    EXPECT_EQ(Shown(Texts::BankInRefused), 0);
}

TEST_F(BankPaymentsInTest, AReceiptThatGetsNoNumberIsReportedWithItsLine)
{
    SalesInvoice(1001, "1234", 100.0);
    // A series of one number: the second receipt finds it used up.
    std::vector<uint8_t> series(ReceiptSeriesBlk::Rows::Size, 0);
    PutI32(series.data(), ReceiptSeriesBlk::Rows::FirstNr, 1);
    PutI32(series.data(), ReceiptSeriesBlk::Rows::LastNr, 1);
    ASSERT_EQ(SettingsBlockStore(ReceiptSeriesBlk::Number, series.data(), uint32_t(series.size())), RecDone);
    Import(Join({RefLine("050301", "050301", "1234", "ONE", 100), RefLine("050302", "050302", "1234", "TWO", 100)}));
    std::vector<Receipt> got = Receipts();
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].serial, 1);
    bool named = false;
    for (const std::string &m : MessagesShown) named |= m.find(TextOf(Texts::BankInNotStored) + "2") != std::string::npos;
    EXPECT_TRUE(named) << ::testing::PrintToString(MessagesShown);

    // A company whose format reads no line of the file says so.
    Company(77, "1", "1");
    Import(Join({RefLine("050303", "050303", "1234", "THREE", 100)}));
    EXPECT_EQ(Receipts().size(), 1u);
    EXPECT_EQ(Shown(Texts::BankInNothingRead), 1);
}

}  // namespace
