// Outgoing payments through the record layer with the rules installed:
// each open item reduced once by each stored row (insert, change of
// amount and date, delete), the voucher's exchange differences, discount
// with its VAT, charges and balancing row, every refusal at its field
// with nothing stored, and approve kinds 3, 4 and 24.
#include <string>

#include "tests/operations/purchase_fixture.h"

namespace {

namespace Row = OPVc::Rows;

class VendorPaymentTest : public PurchaseFixture {
protected:
    void SetUp() override {
        PurchaseFixture::SetUp();
        if (HasFatalFailure()) return;
        ChangeBlock(PurchAccountsBlk::Number, PurchAccountsBlk::Size, [](uint8_t *b) {
            PutText(b, PurchAccountsBlk::DiscVatDebitAcc, 10, InvoiceCo::VatIn);
            PutText(b, PurchAccountsBlk::DiscVatCreditAcc, 10, PurchaseCo::DiscountRec);
        });
    }
    static void Update(uint8_t *payment, uint32_t recid, int expect = RecDone) {
        int result = RecStoreFailed;
        RecUpdateChecked(OPVc::Number, payment, recid, &result);
        EXPECT_EQ(result, expect) << ::testing::PrintToString(shown);
    }
};

// Paying part of an invoice, then more by a change of the amount, then
// moving the payment to July, then deleting another: the open item falls by
// each stored amount once, the "paid" balance follows the payment's month
// and the delete brings the closed item back from its invoice.
TEST_F(VendorPaymentTest, OpenItemReducedOnceByEachStoredRow) {
    uint32_t invoice = Invoice(1000), recid = 0, serial = 0;
    ASSERT_EQ(InsertPayment({}, {{.invoice = (int32_t)invoice, .amount = 1000}}, &recid, &serial), RecDone)
        << ::testing::PrintToString(shown);
    EXPECT_NEAR(Open(invoice), 250, 0.005);
    const DateRec june{20, 6, 2024}, july{5, 7, 2024};
    EXPECT_NEAR(VendorMonth("V1", 2, june), -1000, 0.005);
    RuleRecord v(Voucher::Number);
    ASSERT_TRUE(StoredVoucher(204, serial, v));
    EXPECT_NEAR(VoucherSum(v.record, PurchaseCo::Creditors), 1000, 0.005);
    EXPECT_NEAR(VoucherSum(v.record, InvoiceCo::Cash), -1000, 0.005);
    EXPECT_NEAR(VoucherSum(v.record), 0, 0.005);

    RuleRecord p(OPVc::Number);
    ASSERT_TRUE(RecReadById(OPVc::Number, recid, p.record));
    uint8_t row[Row::Size];
    ASSERT_TRUE(MatrixRowRead(OPVc::Number, p.record, 0, row));
    PutDec(row, Row::Amount, Dec(1250));
    ASSERT_TRUE(MatrixRowPut(OPVc::Number, 0, p.record, 0, row));
    OutPaymentTotals(p.record);
    Update(p.record, recid);
    EXPECT_TRUE(std::isnan(Open(invoice))) << "paid in full";
    EXPECT_NEAR(VendorMonth("V1", 2, june), -1250, 0.005);

    ASSERT_TRUE(RecReadById(OPVc::Number, recid, p.record));
    PutDate(p.record, OPVc::PayDate, july);
    Update(p.record, recid);
    EXPECT_TRUE(std::isnan(Open(invoice))) << "a new date moves no open amount";
    EXPECT_NEAR(VendorMonth("V1", 2, june), 0, 0.005);
    EXPECT_NEAR(VendorMonth("V1", 2, july), -1250, 0.005);

    // An approved payment of stored invoices is kept; one not approved
    // yet may go, and its closed item comes back from the invoice.
    uint32_t second = Invoice(1000), secondId = 0;
    ASSERT_EQ(InsertPayment({.date = july, .approved = 0, .posted = 0}, {{.invoice = (int32_t)second, .amount = 1250}},
                            &secondId),
              RecDone);
    EXPECT_TRUE(std::isnan(Open(second)));
    EXPECT_NEAR(VendorMonth("V1", 2, july), -2500, 0.005);
    ASSERT_TRUE(RecReadById(OPVc::Number, recid, p.record));
    EXPECT_NE(RecDeleteChecked(OPVc::Number, p.record, &recid, nullptr), RecDone);
    ASSERT_TRUE(RecReadById(OPVc::Number, secondId, p.record));
    EXPECT_EQ(RecDeleteChecked(OPVc::Number, p.record, &secondId, nullptr), RecDone);
    EXPECT_EQ(RegRecordCount(OPVc::Number), 1u);
    EXPECT_NEAR(Open(second), 1250, 0.005) << "the deleted payment's item comes back";
    EXPECT_TRUE(std::isnan(Open(invoice)));
    EXPECT_NEAR(VendorMonth("V1", 2, july), -1250, 0.005);
}

// A payment in the invoice's currency at another rate books the creditor
// at the invoice's rate and the difference per invoice; a bank amount
// that differs from the rows books the difference on the whole; a
// discount row credits the discount account with its VAT share; charges
// go to their account and the voucher balances.
TEST_F(VendorPaymentTest, VoucherDifferencesDiscountAndCharges) {
    uint32_t eur = Invoice(100, "V2", "EUR", 1000), serial = 0;   // 125 EUR at 10
    ASSERT_EQ(InsertPayment({.currency = "EUR", .rate = 1100}, {{.invoice = (int32_t)eur, .amount = 125, .vendor = "V2"}},
                            nullptr, &serial),
              RecDone)
        << ::testing::PrintToString(shown);
    RuleRecord v(Voucher::Number);
    ASSERT_TRUE(StoredVoucher(204, serial, v));
    EXPECT_NEAR(VoucherSum(v.record, PurchaseCo::Creditors), 1250, 0.005);
    EXPECT_NEAR(VoucherSum(v.record, PurchaseCo::Losses), 125, 0.005);
    EXPECT_NEAR(VoucherSum(v.record, InvoiceCo::Cash), -1375, 0.005);
    EXPECT_NEAR(VoucherSum(v.record), 0, 0.005);
    EXPECT_EQ(Text(v.record, Voucher::Text), "V2  Euro Vendor  EUR 1100,00");
    EXPECT_TRUE(std::isnan(Open(eur)));

    uint32_t home = Invoice(1000);
    ASSERT_EQ(InsertPayment({.charges = 15, .bank = 1160},
                            {{.invoice = (int32_t)home, .amount = 1150}, {.invoice = (int32_t)home, .amount = 100, .kind = 5}},
                            nullptr, &serial),
              RecDone)
        << ::testing::PrintToString(shown);
    ASSERT_TRUE(StoredVoucher(204, serial, v));
    EXPECT_NEAR(VoucherSum(v.record, PurchaseCo::Creditors), 1250, 0.005);
    EXPECT_NEAR(VoucherSum(v.record, PurchaseCo::DiscountRec), -100 - 20, 0.005);
    EXPECT_NEAR(VoucherSum(v.record, InvoiceCo::VatIn), 20, 0.005);
    EXPECT_NEAR(VoucherSum(v.record, PurchaseCo::BankCharges), 15, 0.005);
    EXPECT_NEAR(VoucherSum(v.record, InvoiceCo::Cash), -1160, 0.005);
    EXPECT_NEAR(VoucherSum(v.record, PurchaseCo::Gains), -5, 0.005) << "1150 + 15 left the bank as 1160";
    EXPECT_NEAR(VoucherSum(v.record), 0, 0.005);
    EXPECT_TRUE(std::isnan(Open(home))) << "the discount closes the item with the payment";
}

// Every refusal at its field, row and column; nothing stored, the serial
// kept, no open item touched.
TEST_F(VendorPaymentTest, RefusalsStoreNothing) {
    uint32_t invoice = Invoice(100);
    auto refused = [&](int result, int text, uint16_t field, int row = -1, int column = -1) {
        EXPECT_EQ(result, RecRefused);
        EXPECT_TRUE(Told(text)) << text << " " << ::testing::PrintToString(shown);
        EXPECT_EQ(FieldErrorPos.field, field);
        if (row >= 0) {
            EXPECT_EQ(FieldErrorPos.row, row);
            EXPECT_EQ(FieldErrorPos.column, column);
        }
        EXPECT_EQ(RegRecordCount(OPVc::Number), 0u);
        EXPECT_NEAR(Open(invoice), 125, 0.005);
        shown.clear();
    };
    const int32_t inv = (int32_t)invoice;
    RuleRecord r(OPVc::Number);
    FillPayment(r.record, {.approved = 0}, {{.invoice = inv, .amount = 10}});
    uint32_t id = 0;
    int result = RecStoreFailed;
    RecInsertChecked(OPVc::Number, r.record, &id, &result);
    refused(result, Texts::PostedNotApproved, OPVc::Posted);
    EXPECT_EQ(GetI32(r.record, OPVc::SerNr), -1);
    refused(InsertPayment({.payMode = ""}, {{.invoice = inv, .amount = 10}}), Texts::PaymentModeMissing, OPVc::PayMode);
    refused(InsertPayment({}, {}), Texts::VoucherNoRows, OPVc::Matrix, 0, Row::InvoiceNr);
    refused(InsertPayment({.rate = 90}, {{.invoice = inv, .amount = 10}}), Texts::CurrencyUnknown, OPVc::Rate);
    refused(InsertPayment({}, {{.invoice = inv, .amount = 10}, {.invoice = 4242, .amount = 10}}),
            Texts::PurchaseInvoiceMissing, OPVc::Matrix, 1, Row::InvoiceNr);
    refused(InsertPayment({.currency = "EUR", .rate = 1100}, {{.invoice = inv, .amount = 10}}), Texts::CurrencyDiffers,
            OPVc::Matrix, 0, Row::InvoiceNr);
    refused(InsertPayment({}, {{.amount = 10, .vendor = "V3"}}), Texts::VendorNoOnAccount, OPVc::Matrix, 0,
            Row::InvoiceNr);
    refused(InsertPayment({}, {{.amount = 10, .vendor = "NOPE"}}), Texts::CodeUnknown, OPVc::Matrix, 0, Row::VendCode);
    refused(InsertPayment({}, {{.invoice = inv, .blank = true}}), Texts::PaymentAmountMissing, OPVc::Matrix, 0,
            Row::Amount);
    // A held invoice is not paid.
    RuleRecord pi(VIVc::Number);
    ASSERT_TRUE(PurchaseInvoiceRead(invoice, pi));
    PutU16(pi.record, VIVc::Held, 1);
    uint32_t piId = 0, position = 0;
    ASSERT_TRUE(RecFind(VIVc::Number, pi.record, 1, 1, &piId, &position));
    PutU16(pi.record, VIVc::Held, 1);
    ASSERT_TRUE(RecStore(VIVc::Number, pi.record, 1, &piId));
    refused(InsertPayment({}, {{.invoice = inv, .amount = 10}}), Texts::PurchaseInvoiceHeld, OPVc::Matrix, 0,
            Row::InvoiceNr);
    // Flagged rows and rows of other kinds are not checked, posted or paid.
    ASSERT_EQ(InsertPayment({.posted = 0}, {{.invoice = 4242, .amount = 10, .flag = 1}, {.amount = 5, .kind = 6}}),
              RecDone);
    EXPECT_NEAR(Open(invoice), 125, 0.005);
}

// Kind 3 approves, kind 4 posts with the voucher and enters each paid row
// in the vendor ledger, once however often kind 24 runs after it; on
// account rows get entries too. An unposted payment is in no ledger, nor
// one kind 4 refused for a date in the sub-ledgers' lock.
TEST_F(VendorPaymentTest, ApproveKindsPostAndEnterOnce) {
    uint32_t invoice = Invoice(100), recid = 0, serial = 0;
    ASSERT_EQ(InsertPayment({.approved = 0, .posted = 0}, {{.invoice = (int32_t)invoice, .amount = 125}, {.amount = 40}},
                            &recid, &serial),
              RecDone)
        << ::testing::PrintToString(shown);
    EXPECT_TRUE(std::isnan(Open(invoice))) << "an unposted payment pays its items already";
    ASSERT_TRUE(ApproveRecord(4, OPVc::Number, recid));
    EXPECT_EQ(RegRecordCount(Voucher::Number), 1u) << "the invoice's only: kind 4 needs an approved payment";
    EXPECT_EQ(LedgerEntries(serial, 1), 0) << "not posted, not in the ledger";
    ASSERT_TRUE(ApproveRecord(3, OPVc::Number, recid));
    std::vector<uint8_t> locks(DateLockBlk::Size, 0);
    PutDate(locks.data(), DateLockBlk::SubLedgerLock, DateRec{20, 6, 2024});
    StoreBlock(DateLockBlk::Number, locks.data(), DateLockBlk::Size);
    ASSERT_TRUE(ApproveRecord(4, OPVc::Number, recid));
    EXPECT_TRUE(WasShown(Texts::DateLocked)) << ::testing::PrintToString(shown);
    EXPECT_EQ(RegRecordCount(Voucher::Number), 1u) << "the lock refused the payment's";
    EXPECT_EQ(LedgerEntries(serial, 1), 0);
    PutDate(locks.data(), DateLockBlk::SubLedgerLock, DateRec{19, 6, 2024});
    StoreBlock(DateLockBlk::Number, locks.data(), DateLockBlk::Size);
    ASSERT_TRUE(ApproveRecord(4, OPVc::Number, recid));
    EXPECT_EQ(LedgerEntries(serial, 1), 2) << "posted by kind 4: in the ledger at once";
    RuleRecord v(Voucher::Number), p(OPVc::Number);
    ASSERT_TRUE(StoredVoucher(204, serial, v));
    EXPECT_NEAR(VoucherSum(v.record, PurchaseCo::Prepaid), 40, 0.005);
    EXPECT_NEAR(VoucherSum(v.record), 0, 0.005);
    ASSERT_TRUE(RecReadById(OPVc::Number, recid, p.record));
    EXPECT_EQ(GetU16(p.record, OPVc::Posted), 1);
    ASSERT_TRUE(ApproveRecord(4, OPVc::Number, recid));
    EXPECT_EQ(RegRecordCount(Voucher::Number), 2u);

    ASSERT_TRUE(ApproveRecord(24, OPVc::Number, recid));
    ASSERT_TRUE(ApproveRecord(24, OPVc::Number, recid));
    EXPECT_EQ(LedgerEntries(serial, 1), 2);
    ASSERT_TRUE(RecReadById(OPVc::Number, recid, p.record));
    EXPECT_EQ(GetU16(p.record, OPVc::Transferred), 1);
}

// A payment stored posted (as its window and the payment suggestion's
// approval store it) enters the vendor ledger with the store; one stored
// unposted enters it when a change posts it, and only then.
TEST_F(VendorPaymentTest, APaymentPostedInItsWindowIsInTheVendorLedger) {
    uint32_t first = Invoice(100), second = Invoice(200), recid = 0, serial = 0;
    ASSERT_EQ(InsertPayment({}, {{.invoice = (int32_t)first, .amount = 125}}, &recid, &serial), RecDone)
        << ::testing::PrintToString(shown);
    EXPECT_EQ(LedgerEntries(serial, 1), 1);
    RuleRecord p(OPVc::Number);
    ASSERT_TRUE(RecReadById(OPVc::Number, recid, p.record));
    EXPECT_EQ(GetU16(p.record, OPVc::Transferred), 1);

    ASSERT_EQ(InsertPayment({.posted = 0}, {{.invoice = (int32_t)second, .amount = 250}}, &recid, &serial), RecDone)
        << ::testing::PrintToString(shown);
    EXPECT_EQ(LedgerEntries(serial, 1), 0);
    ASSERT_TRUE(RecReadById(OPVc::Number, recid, p.record));
    Update(p.record, recid);
    EXPECT_EQ(LedgerEntries(serial, 1), 0) << "a change that does not post it";
    ASSERT_TRUE(RecReadById(OPVc::Number, recid, p.record));
    PutU16(p.record, OPVc::Posted, 1);
    Update(p.record, recid);
    EXPECT_EQ(LedgerEntries(serial, 1), 1);
    ASSERT_TRUE(RecReadById(OPVc::Number, recid, p.record));
    EXPECT_EQ(GetU16(p.record, OPVc::Transferred), 1);
    Update(p.record, recid);
    EXPECT_EQ(LedgerEntries(serial, 1), 1) << "entered once";
}

}  // namespace
