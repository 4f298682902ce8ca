// Customer receipts through the record layer with the rules installed: the
// voucher of a currency receipt, full, partial and over-payments, every
// refusal at its field, row and column with nothing stored, uncounted
// rows, a posted receipt held, approve kinds 2 and 23, and an oracle that
// checks open items, vouchers and statistics against the rows after a
// random run of receipts.
#include <map>
#include <random>
#include <string>
#include <vector>

#include "tests/operations/receipt_fixture.h"

namespace {

namespace Row = IPVc::Rows;

class ReceiptTest : public ReceiptFixture {};

// 1,000 EUR received at 110 for an invoice booked at 100: the receivable
// is credited at the invoice's rate, the difference is an exchange gain,
// the payment mode's account gets what was received, and nothing is left
// to balance.
TEST_F(ReceiptTest, CurrencyReceiptPostsTheExchangeGain) {
    StorePostedInvoice(501, "C2", 1000, "EUR", 100);
    uint32_t recid = 0, serial = 0;
    ASSERT_EQ(InsertReceipt({.currency = "EUR", .rate = 110}, {{.invoice = 501, .customer = "C2", .amount = 1000}},
                            &recid, &serial),
              RecDone)
        << ::testing::PrintToString(shown);
    RuleRecord v(Voucher::Number);
    ASSERT_TRUE(ReceiptVoucher(serial, v));
    EXPECT_NEAR(VoucherSum(v.record, InvoiceCo::Receivables), -1000, 0.005);
    EXPECT_NEAR(VoucherSum(v.record, ReceiptCo::Gains), -100, 0.005);
    EXPECT_NEAR(VoucherSum(v.record, InvoiceCo::Cash), 1100, 0.005);
    EXPECT_NEAR(VoucherSum(v.record, ReceiptCo::Balancing), 0, 0.005);
    EXPECT_NEAR(VoucherSum(v.record), 0, 0.005);
    EXPECT_EQ(Text(v.record, Voucher::Text).substr(0, 10), "EUR 110,00");
    EXPECT_TRUE(std::isnan(Open(501))) << "paid in full";

    // The same at a lower rate is a loss. The voucher's text, currency,
    // rate and a receipt text of the field's whole 60 characters, is cut
    // to its field.
    StorePostedInvoice(502, "C2", 1000, "EUR", 100);
    const std::string longText(60, 'x');
    ASSERT_EQ(InsertReceipt({.currency = "EUR", .rate = 95, .text = longText.c_str()},
                            {{.invoice = 502, .customer = "C2", .amount = 1000}}, nullptr, &serial),
              RecDone);
    ASSERT_TRUE(ReceiptVoucher(serial, v));
    EXPECT_EQ(Text(v.record, Voucher::Text), "EUR 95,00 " + longText.substr(0, 50));
    EXPECT_NEAR(VoucherSum(v.record, ReceiptCo::Losses), 50, 0.005);
    EXPECT_NEAR(VoucherSum(v.record, InvoiceCo::Cash), 950, 0.005);
    EXPECT_NEAR(VoucherSum(v.record), 0, 0.005);
}

// Full, partial and over-payment, a discount and a fee: the open item is
// deleted, keeps the rest, or goes negative; the discount and the fee
// close the invoice with the payment and post to their accounts.
TEST_F(ReceiptTest, PaymentsCloseReduceOrOverpayTheRightOpenItem) {
    for (int32_t s : {601, 602, 603, 604}) StorePostedInvoice(s, "C1", 1000);
    uint32_t serial = 0;
    ASSERT_EQ(InsertReceipt({}, {{.invoice = 601, .amount = 1000},
                                 {.invoice = 602, .amount = 400},
                                 {.invoice = 603, .amount = 1200}}),
              RecDone)
        << ::testing::PrintToString(shown);
    EXPECT_TRUE(std::isnan(Open(601)));
    EXPECT_NEAR(Open(602), 600, 0.005);
    EXPECT_NEAR(Open(603), -200, 0.005);
    EXPECT_NEAR(Open(604), 1000, 0.005) << "an invoice no row names is untouched";

    ASSERT_EQ(InsertReceipt({}, {{.invoice = 604, .amount = 970},
                                 {.invoice = 604, .amount = 20, .kind = 5},
                                 {.invoice = 604, .amount = 10, .kind = 6}},
                            nullptr, &serial),
              RecDone);
    EXPECT_TRUE(std::isnan(Open(604)));
    RuleRecord v(Voucher::Number);
    ASSERT_TRUE(ReceiptVoucher(serial, v));
    EXPECT_NEAR(VoucherSum(v.record, InvoiceCo::Receivables), -1000, 0.005);
    EXPECT_NEAR(VoucherSum(v.record, InvoiceCo::Cash), 970, 0.005);
    // The discount's VAT part (20 % of the invoice) moves from the
    // discount account to the VAT correction account.
    EXPECT_NEAR(VoucherSum(v.record, ReceiptCo::Discounts), 20 - 4, 0.005);
    EXPECT_NEAR(VoucherSum(v.record, ReceiptCo::DiscountVat), 4, 0.005);
    EXPECT_NEAR(VoucherSum(v.record, ReceiptCo::Fees), 10, 0.005);
    EXPECT_NEAR(VoucherSum(v.record), 0, 0.005);
}

// Every refusal names its text, field, row and column; the receipt keeps
// the serial it came with, and nothing of it is stored: no receipt, no
// voucher, no open item changed.
TEST_F(ReceiptTest, EveryRefusalAtItsCellStoresNothing) {
    StorePostedInvoice(701, "C1", 500);
    StorePostedInvoice(702, "C2", 500, "EUR", 110);
    struct Case {
        const char *what;
        FixtureReceipt head;
        FixtureReceiptRow row;
        int text;
        uint16_t field, row_, column;
    };
    const uint16_t M = IPVc::Matrix, None = 0;
    const Case cases[] = {
        {"unknown customer", {}, {.invoice = 701, .customer = "NOBODY", .amount = 1}, 1120, M, 0, Row::CustCode},
        {"no payments on account", {}, {.customer = "C4", .amount = 1}, 1131, M, 0, Row::InvoiceNr},
        {"on account in another currency", {}, {.customer = "C2", .amount = 1}, 1217, M, 0, Row::CustCode},
        {"invoice missing", {}, {.invoice = 799, .amount = 1}, 1133, M, 0, Row::InvoiceNr},
        {"invoice in another currency", {}, {.invoice = 702, .customer = "C2", .amount = 1}, 1217, M, 0,
         Row::InvoiceNr},
        {"invoice of another customer", {}, {.invoice = 701, .customer = "C3", .amount = 1}, 1218, M, 0,
         Row::CustCode},
        {"discount for a missing invoice", {}, {.invoice = -1, .amount = 1, .kind = 5}, 1133, M, 0, Row::InvoiceNr},
        {"no payment date", {}, {.invoice = 701, .amount = 1, .paid = {}}, 1053, M, 0, Row::PayDate},
        {"no payment mode", {.payMode = ""}, {.invoice = 701, .amount = 1}, 1101, IPVc::PayMode, None, None},
        {"unknown currency", {.currency = "XYZ"}, {.invoice = 701, .amount = 1}, 1582, IPVc::CurncyCode, None, None},
        {"rate without currency", {.rate = 110}, {.invoice = 701, .amount = 1}, 1582, IPVc::Rate, None, None},
        {"number outside the series", {.serial = 200000}, {.invoice = 701, .amount = 1}, 1557, IPVc::SerNr, None,
         None},
        {"no date", {.date = {}}, {.invoice = 701, .amount = 1}, Texts::DocDateMissing, IPVc::TransDate, None, None},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        shown.clear();
        RuleRecord r(IPVc::Number);
        FillReceipt(r.record, c.head, {c.row});
        const uint32_t entry = GetU32(r.record, IPVc::SerNr);
        uint32_t id = 0;
        int result = 0;
        RecInsertChecked(IPVc::Number, r.record, &id, &result);
        EXPECT_EQ(result, RecRefused);
        EXPECT_TRUE(WasShown(c.text)) << ::testing::PrintToString(shown);
        EXPECT_EQ(FieldErrorPos.field, c.field);
        if (c.field == M) {
            EXPECT_EQ(FieldErrorPos.row, c.row_);
            EXPECT_EQ(FieldErrorPos.column, c.column);
        }
        EXPECT_EQ(GetU32(r.record, IPVc::SerNr), entry) << "the entry serial is put back";
        EXPECT_EQ(RegRecordCount(IPVc::Number), 0u);
        EXPECT_EQ(RegRecordCount(Voucher::Number), 0u);
        EXPECT_NEAR(Open(701), 500, 0.005);
    }

    // A number taken: the layer refuses the key before the check; the
    // check itself says so too (a client's record check asks it alone).
    uint32_t serial = 0;
    ASSERT_EQ(InsertReceipt({.serial = 50}, {{.invoice = 701, .amount = 100}}, nullptr, &serial), RecDone);
    EXPECT_EQ(InsertReceipt({.serial = 50}, {{.invoice = 701, .amount = 100}}), RecKeyExists);
    {
        RuleRecord r(IPVc::Number);
        FillReceipt(r.record, {.serial = 50}, {{.invoice = 701, .amount = 100}});
        shown.clear();
        EXPECT_EQ(ValidateReceipt(r.record, nullptr, 1), -1);
        EXPECT_TRUE(WasShown(1103)) << ::testing::PrintToString(shown);
        EXPECT_EQ(FieldErrorPos.field, IPVc::SerNr);
    }
    // A voucher that cannot be made: the fee account is gone.
    {
        RuleRecord a(ACVc::Number);
        PutText(a.record, ACVc::Code, 10, ReceiptCo::Fees);
        uint32_t id = 0, position = 0;
        ASSERT_TRUE(RecFind(ACVc::Number, a.record, 1, 1, &id, &position));
        ASSERT_TRUE(RecDeleteHooked(ACVc::Number, a.record, id));
    }
    shown.clear();
    EXPECT_EQ(InsertReceipt({}, {{.invoice = 701, .amount = 100}, {.invoice = 701, .amount = 5, .kind = 6}}),
              RecRefused);
    EXPECT_TRUE(WasShown(Texts::VoucherNotBuilt)) << ::testing::PrintToString(shown);
    EXPECT_EQ(RegRecordCount(IPVc::Number), 1u);
    EXPECT_EQ(RegRecordCount(Voucher::Number), 1u);
    EXPECT_NEAR(Open(701), 400, 0.005);
}

// Rows of other kinds and flagged rows are neither checked nor posted nor
// applied: a flagged row for another customer's invoice changes nothing.
TEST_F(ReceiptTest, FlaggedRowsAndOtherKindsChangeNothing) {
    StorePostedInvoice(801, "C1", 300);
    StorePostedInvoice(802, "C3", 300);
    uint32_t serial = 0, recid = 0;
    ASSERT_EQ(InsertReceipt({}, {{.invoice = 801, .amount = 100},
                                 {.invoice = 802, .customer = "C1", .amount = 300, .flag = 1},
                                 {.invoice = 799, .customer = "NOBODY", .amount = 50, .kind = 3}},
                            &recid, &serial),
              RecDone)
        << ::testing::PrintToString(shown);
    EXPECT_NEAR(Open(801), 200, 0.005);
    EXPECT_NEAR(Open(802), 300, 0.005);
    RuleRecord v(Voucher::Number);
    ASSERT_TRUE(ReceiptVoucher(serial, v));
    EXPECT_NEAR(VoucherSum(v.record, InvoiceCo::Receivables), -100, 0.005);
    EXPECT_NEAR(VoucherSum(v.record), 0, 0.005);
    EXPECT_NEAR(PaidInJune("C1"), 100, 0.005);
    EXPECT_NEAR(PaidInJune("C3"), 0, 0.005);
}

// A posted receipt may change only what the program writes; a changed
// amount is refused on its row, and the open item stays as posted.
TEST_F(ReceiptTest, PostedReceiptIsHeld) {
    StorePostedInvoice(901, "C1", 300);
    uint32_t recid = 0;
    ASSERT_EQ(InsertReceipt({}, {{.invoice = 901, .amount = 100}}, &recid), RecDone);
    RuleRecord r(IPVc::Number);
    ASSERT_TRUE(RecReadById(IPVc::Number, recid, r.record));
    uint8_t row[Row::Size];
    ASSERT_TRUE(MatrixRowRead(IPVc::Number, r.record, 0, row));
    PutDec(row, Row::Amount, Dec(300));
    ASSERT_TRUE(MatrixRowPut(IPVc::Number, 0, r.record, 0, row));
    int result = 0;
    RecUpdateChecked(IPVc::Number, r.record, recid, &result);
    EXPECT_EQ(result, RecRefused);
    EXPECT_TRUE(WasShown(Texts::PostedReceiptChange));
    EXPECT_EQ(FieldErrorPos.row, 0);
    EXPECT_NEAR(Open(901), 200, 0.005);
    // Its mark alone may change.
    ASSERT_TRUE(RecReadById(IPVc::Number, recid, r.record));
    PutU16(r.record, IPVc::Mark, 7);
    RecUpdateChecked(IPVc::Number, r.record, recid, &result);
    EXPECT_EQ(result, RecDone);
    EXPECT_EQ(CanDeleteRecordOf(IPVc::Number, r.record, 0), 0) << "its invoice exists: it stays";
}

// Approve kind 2 posts a stored unposted receipt: open item, voucher,
// ledger; kind 23 then adds nothing twice. A receipt whose invoice went
// to another customer meanwhile is refused and stays unposted.
TEST_F(ReceiptTest, ApproveKindsPostAndEnterTheLedgerOnce) {
    StorePostedInvoice(1101, "C1", 300);
    uint32_t recid = 0, serial = 0;
    ASSERT_EQ(InsertReceipt({.posted = 0}, {{.invoice = 1101, .amount = 120}, {.amount = 30}}, &recid, &serial),
              RecDone);
    EXPECT_NEAR(Open(1101), 300, 0.005) << "unposted: nothing applied";
    EXPECT_EQ(RegRecordCount(Voucher::Number), 0u);

    ASSERT_TRUE(ApproveRecordList(IPVc::Number, 2, &recid, 1));
    RuleRecord r(IPVc::Number), v(Voucher::Number);
    ASSERT_TRUE(RecReadById(IPVc::Number, recid, r.record));
    EXPECT_EQ(GetU16(r.record, IPVc::Posted), 1);
    EXPECT_EQ(GetU16(r.record, IPVc::Transferred), 1);
    EXPECT_NEAR(Open(1101), 180, 0.005);
    ASSERT_TRUE(ReceiptVoucher(serial, v));
    EXPECT_NEAR(VoucherSum(v.record, ReceiptCo::OnAccount), -30, 0.005);
    EXPECT_NEAR(VoucherSum(v.record), 0, 0.005);

    for (int run = 0; run < 2; run++) {
        ASSERT_TRUE(ApproveRecord(23, IPVc::Number, recid));
        ASSERT_TRUE(ApproveRecord(2, IPVc::Number, recid));
    }
    int receiptEntries = 0;
    double receiptAmounts = 0;
    for (uint32_t p = 1; p <= RegRecordCount(CustTransVc::Number); p++) {
        RuleRecord e(CustTransVc::Number);
        uint32_t id = 0;
        ASSERT_TRUE(RecReadAt(CustTransVc::Number, (int32_t)p, e.record, &id));
        if (GetU16(e.record, CustTransVc::Kind) != 1) continue;
        receiptEntries++;
        receiptAmounts += Num(e.record, CustTransVc::Amount);
    }
    EXPECT_EQ(receiptEntries, 2) << "one transaction per paid row";
    EXPECT_NEAR(receiptAmounts, 150, 0.005) << "each with the amount its row paid";
    EXPECT_NEAR(PaidInJune("C1"), 150, 0.005);
    EXPECT_NEAR(Open(1101), 180, 0.005);
    // The payment on account: all ones and the receivable account.
    RuleRecord t(CustTransVc::Number);
    PutU32(t.record, CustTransVc::InvoiceNr, SerialNone);
    PutU16(t.record, CustTransVc::Kind, 1);
    uint32_t id = 0, position = 0;
    ASSERT_TRUE(RecFindByIndex(CustTransVc::Number, "IVKey", t.record, 2, 1, &id, &position));
    EXPECT_EQ(Text(t.record, CustTransVc::ARAcc), InvoiceCo::Receivables);
    EXPECT_EQ(GetU32(t.record, CustTransVc::DocNr), serial);
    EXPECT_NEAR(Num(t.record, CustTransVc::Amount), 30, 0.005);

    // Approving a receipt whose row no longer fits its invoice.
    StorePostedInvoice(1102, "C1", 300);
    ASSERT_EQ(InsertReceipt({.posted = 0}, {{.invoice = 1102, .amount = 100}}, &recid), RecDone);
    RuleRecord inv(IVVc::Number);
    ASSERT_TRUE(ReceiptInvoiceRead(1102, inv));
    PutText(inv.record, IVVc::CustCode, 20, "C3");
    uint32_t invId = 0;
    ASSERT_TRUE(RecStoreByKey(IVVc::Number, inv.record, 1, &invId));
    shown.clear();
    ASSERT_TRUE(ApproveRecordList(IPVc::Number, 2, &recid, 1));
    EXPECT_TRUE(WasShown(Texts::OtherCustomerInvoice)) << ::testing::PrintToString(shown);
    ASSERT_TRUE(RecReadById(IPVc::Number, recid, r.record));
    EXPECT_EQ(GetU16(r.record, IPVc::Posted), 0);
    EXPECT_NEAR(Open(1102), 300, 0.005);
}

// The oracle: random invoices and receipts (payments, discounts, fees,
// payments on account, flagged rows; posted at once, approved later, or
// left unposted; some refused), unposted ones updated or deleted. After
// each step every open item equals its invoice total less the counted
// rows of the posted receipts that name it, every receipt voucher
// balances, and each customer's paid statistics equal those rows.
TEST_F(ReceiptTest, OracleOpenItemsVouchersAndStatisticsAgree) {
    std::mt19937 rng(39);
    const char *customers[] = {"C1", "C3"};
    std::map<int32_t, double> total;
    std::map<int32_t, std::string> owner;
    for (int32_t s = 2001; s <= 2008; s++) {
        const char *c = customers[s % 2];
        double t = 100 * (1 + (int)(rng() % 20));
        StorePostedInvoice(s, c, t);
        total[s] = t;
        owner[s] = c;
    }
    auto check = [&](const std::string &step) {
        SCOPED_TRACE(step);
        std::map<int32_t, double> paid;
        std::map<std::string, double> paidBy;
        RuleRecord r(IPVc::Number), v(Voucher::Number);
        uint8_t row[Row::Size];
        for (uint32_t p = 1; p <= RegRecordCount(IPVc::Number); p++) {
            uint32_t id = 0;
            ASSERT_TRUE(RecReadAt(IPVc::Number, (int32_t)p, r.record, &id));
            if (GetU16(r.record, IPVc::Posted) != 1) continue;
            for (int32_t i = 0; i < MatrixRowCount(IPVc::Number, 0, r.record); i++) {
                ASSERT_TRUE(MatrixRowRead(IPVc::Number, r.record, i, row));
                if (!ReceiptRowCounts(row)) continue;
                double a = Num(row, Row::Amount);
                paidBy[Text(row, Row::CustCode)] += a;
                if (GetI32(row, Row::InvoiceNr) != -1) paid[GetI32(row, Row::InvoiceNr)] += a;
            }
            ASSERT_TRUE(ReceiptVoucher(GetU32(r.record, IPVc::SerNr), v));
            EXPECT_NEAR(VoucherSum(v.record), 0, 0.005);
            EXPECT_NEAR(VoucherSum(v.record, ReceiptCo::Balancing), 0, 0.005);
        }
        for (const auto &[s, t] : total) {
            double open = Open((uint32_t)s), want = t - paid[s];
            if (std::fabs(want) < 0.005) {
                EXPECT_TRUE(std::isnan(open)) << s;
            } else {
                EXPECT_NEAR(open, want, 0.005) << s;
            }
        }
        for (const char *c : customers) EXPECT_NEAR(PaidInJune(c), paidBy[c], 0.005) << c;
    };
    std::vector<uint32_t> unposted;
    for (int step = 0; step < 30 && !HasFailure(); step++) {
        int32_t inv = 2001 + (int32_t)(rng() % 8);
        const char *c = owner[inv].c_str();
        double a = 10 * (1 + (int)(rng() % 30));
        int shape = (int)(rng() % 6);
        uint16_t posted = rng() % 3 == 0 ? 0 : 1;
        uint32_t recid = 0;
        int result = 0;
        switch (shape) {
        case 0: result = InsertReceipt({.posted = posted}, {{.invoice = inv, .customer = c, .amount = a}}, &recid); break;
        case 1:
            result = InsertReceipt({.posted = posted}, {{.invoice = inv, .customer = c, .amount = a},
                                                        {.invoice = inv, .customer = c, .amount = 5, .kind = 5},
                                                        {.invoice = inv, .customer = c, .amount = 3, .kind = 6}},
                                   &recid);
            break;
        case 2:
            result = InsertReceipt({.posted = posted}, {{.customer = c, .amount = a},
                                                        {.invoice = inv, .customer = c, .amount = a, .flag = 1}},
                                   &recid);
            break;
        case 3:   // refused: the other customer's invoice
            result = InsertReceipt({.posted = posted},
                                   {{.invoice = inv, .customer = c, .amount = a},
                                    {.invoice = inv, .customer = c[1] == '1' ? "C3" : "C1", .amount = 1}},
                                   &recid);
            EXPECT_EQ(result, RecRefused);
            break;
        case 4:
            if (!unposted.empty()) {
                uint32_t id = unposted.back();
                unposted.pop_back();
                ASSERT_TRUE(ApproveRecordList(IPVc::Number, 2, &id, 1));
            }
            break;
        case 5:
            if (!unposted.empty()) {
                uint32_t id = unposted.back();
                unposted.pop_back();
                RuleRecord r(IPVc::Number);
                ASSERT_TRUE(RecReadById(IPVc::Number, id, r.record));
                if (rng() % 2) {
                    EXPECT_EQ(RecDeleteChecked(IPVc::Number, r.record, &id, nullptr), RecDone);
                } else {
                    uint8_t row[Row::Size];
                    ASSERT_TRUE(MatrixRowRead(IPVc::Number, r.record, 0, row));
                    PutDec(row, Row::Amount, Dec(a));
                    ASSERT_TRUE(MatrixRowPut(IPVc::Number, 0, r.record, 0, row));
                    PutU16(r.record, IPVc::Posted, 1);
                    DocRowsTotal(r.record);
                    RecUpdateChecked(IPVc::Number, r.record, id, &result);
                    EXPECT_EQ(result, RecDone) << ::testing::PrintToString(shown);
                }
            }
            break;
        }
        if (shape <= 2) {
            EXPECT_EQ(result, RecDone) << ::testing::PrintToString(shown);
        }
        if (shape <= 2 && result == RecDone && posted == 0) unposted.push_back(recid);
        check("step " + std::to_string(step) + " shape " + std::to_string(shape));
    }
}

}  // namespace
