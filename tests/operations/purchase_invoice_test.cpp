// Purchase invoices through the record layer with the rules installed:
// the voucher against its invoice (VAT codes, an entered VAT, VAT offset,
// currency, cash invoice, a preliminary voucher reversed), open items and
// credit notes, every refusal at its field with nothing stored, an
// approved invoice held, and approve kinds 5 and 19.
#include <string>

#include "tests/operations/purchase_fixture.h"

namespace {

namespace Row = VIVc::Rows;

class PurchaseInvoiceTest : public PurchaseFixture {
protected:
    // The stored invoice of recid into r.
    static void ReadInvoice(uint32_t recid, RuleRecord &r) { ASSERT_TRUE(RecReadById(VIVc::Number, recid, r.record)); }
    // Expects the last insert refused with text at (field, row, column),
    // nothing stored.
    void ExpectRefused(int result, int text, uint16_t field, int row = -1, int column = -1) {
        EXPECT_EQ(result, RecRefused);
        bool told = false;   // texts with an extra end in it
        for (const std::string &s : shown) told |= s.rfind(UiText(text), 0) == 0;
        EXPECT_TRUE(told) << text << " " << ::testing::PrintToString(shown);
        EXPECT_EQ(FieldErrorPos.field, field);
        if (row >= 0) {
            EXPECT_EQ(FieldErrorPos.row, row);
        }
        if (column >= 0) {
            EXPECT_EQ(FieldErrorPos.column, column);
        }
        EXPECT_EQ(RegRecordCount(VIVc::Number), 0u);
        EXPECT_EQ(RegRecordCount(Voucher::Number), 0u);
        EXPECT_EQ(RegRecordCount(APVc::Number), 0u);
        shown.clear();
    }
};

// An approved invoice of two cost rows with VAT codes 1 and 2: each row
// debited with its VAT code, each code's VAT on the input VAT account,
// the creditor credited with the total; its open item holds the total.
// An entered VAT that differs from the computed one is what the voucher
// books on VAT.
TEST_F(PurchaseInvoiceTest, VoucherMatchesItsInvoice) {
    uint32_t serial = 0;
    ASSERT_EQ(InsertPurchase({.vatComputed = 274}, {{.amount = 800, .vatCode = "1"}, {.amount = 200, .vatCode = "2"}},
                             nullptr, &serial),
              RecDone)
        << ::testing::PrintToString(shown);
    RuleRecord v(Voucher::Number);
    ASSERT_TRUE(StoredVoucher(203, serial, v));
    EXPECT_NEAR(VoucherSum(v.record, PurchaseCo::Costs), 1000, 0.005);
    EXPECT_NEAR(VoucherSum(v.record, InvoiceCo::VatIn), 224, 0.005);   // 200 + 24
    EXPECT_NEAR(VoucherSum(v.record, PurchaseCo::Creditors), -1274, 0.005);
    EXPECT_NEAR(VoucherSum(v.record, InvoiceCo::Rounding), 50, 0.005) << "computed 274 against 224 booked";
    EXPECT_NEAR(VoucherSum(v.record), 0, 0.005);
    EXPECT_EQ(Text(v.record, Voucher::Text), "V1 Vendor");
    EXPECT_NEAR(Open(serial), 1274, 0.005);

    ASSERT_EQ(InsertPurchase({.vatEntered = 240}, {{.amount = 1000}}, nullptr, &serial), RecDone);
    ASSERT_TRUE(StoredVoucher(203, serial, v));
    EXPECT_NEAR(VoucherSum(v.record, InvoiceCo::VatIn), 240, 0.005);
    EXPECT_NEAR(VoucherSum(v.record, PurchaseCo::Creditors), -1240, 0.005);
    EXPECT_NEAR(VoucherSum(v.record, InvoiceCo::Rounding), 0, 0.005);
    EXPECT_NEAR(VoucherSum(v.record), 0, 0.005);
}

// VAT treatment 1 books the VAT and offsets it, the total being the rows;
// treatment 2 books no VAT; an invoice in EUR posts at its rate with the
// currency in the text, cut to 60; a blank rate posts at 100.
TEST_F(PurchaseInvoiceTest, VatTreatmentsAndCurrency) {
    uint32_t serial = 0;
    RuleRecord v(Voucher::Number);
    ASSERT_EQ(InsertPurchase({.vatTreatment = 1}, {{.amount = 1000}}, nullptr, &serial), RecDone);
    ASSERT_TRUE(StoredVoucher(203, serial, v));
    EXPECT_NEAR(VoucherSum(v.record, InvoiceCo::VatIn), 250, 0.005);
    EXPECT_NEAR(VoucherSum(v.record, PurchaseCo::VatOffset), -250, 0.005);
    EXPECT_NEAR(VoucherSum(v.record, PurchaseCo::Creditors), -1000, 0.005);
    EXPECT_NEAR(VoucherSum(v.record), 0, 0.005);

    ASSERT_EQ(InsertPurchase({.total = 1000, .vatComputed = 0, .vatTreatment = 2}, {{.amount = 1000}}, nullptr, &serial),
              RecDone);
    ASSERT_TRUE(StoredVoucher(203, serial, v));
    EXPECT_NEAR(VoucherSum(v.record, InvoiceCo::VatIn), 0, 0.005);
    EXPECT_NEAR(VoucherSum(v.record), 0, 0.005);

    StoreVendor("V4LONGCODE0123456789", "", "EUR", 1);
    ASSERT_EQ(InsertPurchase({.vendor = "V4LONGCODE0123456789", .currency = "EUR", .rate = 1125}, {{.amount = 100}},
                             nullptr, &serial),
              RecDone)
        << ::testing::PrintToString(shown);
    ASSERT_TRUE(StoredVoucher(203, serial, v));
    EXPECT_NEAR(VoucherSum(v.record, PurchaseCo::Costs), 1125, 0.005);
    EXPECT_NEAR(VoucherSum(v.record, PurchaseCo::Creditors), -1406.25, 0.005);
    EXPECT_EQ(Text(v.record, Voucher::Text), "V4LONGCODE0123456789 Vendor, EUR 1125,00");
    EXPECT_NEAR(Open(serial), 125, 0.005) << "the open item stays in the invoice currency";

    // Code, a name of the field's 60 characters, currency and rate are cut
    // to the voucher's text field.
    RuleRecord r(VIVc::Number);
    FillPurchase(r.record, {.serial = 900, .vendor = "V4LONGCODE0123456789", .currency = "EUR"}, {{.amount = 100}});
    const std::string name(60, 'n');
    PutText(r.record, VIVc::VendName, 60, name.c_str());
    ASSERT_EQ(PostPurchaseInvoice(r.record, 0, 1), 1);
    EXPECT_EQ(Text(PendingVoucher, Voucher::Text), "V4LONGCODE0123456789 " + name.substr(0, 39));
    EXPECT_NEAR(VoucherSum(PendingVoucher, PurchaseCo::Costs), 100, 0.005) << "a blank rate posts at 100";
    PendingVoucherClear();
}

// A cash invoice is credited to its payment mode's account and leaves no
// open item; a credit note reverses the sides and lowers the credited
// invoice's open item; each saved approved enters the vendor's balances.
TEST_F(PurchaseInvoiceTest, CashInvoiceAndCreditNote) {
    uint32_t serial = 0, credited = 0;
    RuleRecord v(Voucher::Number);
    ASSERT_EQ(InsertPurchase({.kind = 2, .payMode = "K"}, {{.amount = 400}}, nullptr, &serial), RecDone);
    ASSERT_TRUE(StoredVoucher(203, serial, v));
    EXPECT_NEAR(VoucherSum(v.record, InvoiceCo::Cash), -500, 0.005);
    EXPECT_TRUE(std::isnan(Open(serial)));

    ASSERT_EQ(InsertPurchase({}, {{.amount = 1000}}, nullptr, &credited), RecDone);
    ASSERT_NEAR(Open(credited), 1250, 0.005);
    ASSERT_EQ(InsertPurchase({.kind = 3}, {{.kind = 3, .credited = (int32_t)credited}, {.amount = 200}}, nullptr, &serial),
              RecDone)
        << ::testing::PrintToString(shown);
    ASSERT_TRUE(StoredVoucher(203, serial, v));
    EXPECT_NEAR(VoucherSum(v.record, PurchaseCo::Costs), -200, 0.005);
    EXPECT_NEAR(VoucherSum(v.record, PurchaseCo::Creditors), 250, 0.005);
    EXPECT_NEAR(Open(credited), 1000, 0.005);
    EXPECT_TRUE(std::isnan(Open(serial)));
    // Each approved save enters the vendor ledger and balances, as kind 5
    // does: the cash invoice, the invoice and the credit note taking 250 back.
    EXPECT_NEAR(VendorMonth("V1", 0, DateRec{10, 6, 2024}), 500 + 1250 - 250, 0.005);
    EXPECT_EQ(LedgerEntries(credited, 0), 1);
}

// A preliminary voucher on the preliminary account, then the approval:
// the approved voucher carries the preliminary rows reversed, so the two
// book the costs and the creditor once and the preliminary account nets
// to zero.
TEST_F(PurchaseInvoiceTest, PreliminaryVoucherReversedOnApproval) {
    uint32_t recid = 0, serial = 0;
    ASSERT_EQ(InsertPurchase({.approved = 0, .preliminary = 1}, {{.amount = 1000}}, &recid, &serial), RecDone);
    RuleRecord pre(Voucher::Number), fin(Voucher::Number);
    ASSERT_TRUE(StoredVoucher(210, serial, pre));
    EXPECT_NEAR(VoucherSum(pre.record, PurchaseCo::Preliminary), -1250, 0.005);
    EXPECT_TRUE(std::isnan(Open(serial))) << "no open item before approval";

    RuleRecord r(VIVc::Number);
    ReadInvoice(recid, r);
    PutU16(r.record, VIVc::Approved, 1);
    int result = RecStoreFailed;
    RecUpdateChecked(VIVc::Number, r.record, recid, &result);
    ASSERT_EQ(result, RecDone) << ::testing::PrintToString(shown);
    ASSERT_TRUE(StoredVoucher(203, serial, fin));
    EXPECT_NEAR(VoucherSum(pre.record, PurchaseCo::Preliminary) + VoucherSum(fin.record, PurchaseCo::Preliminary), 0,
                0.005);
    EXPECT_NEAR(VoucherSum(pre.record, PurchaseCo::Costs) + VoucherSum(fin.record, PurchaseCo::Costs), 1000, 0.005);
    EXPECT_NEAR(VoucherSum(fin.record, PurchaseCo::Creditors), -1250, 0.005);
    EXPECT_NEAR(VoucherSum(fin.record), 0, 0.005);
    EXPECT_NEAR(Open(serial), 1250, 0.005);
}

// Every refusal of the checks at its field, row and column: nothing is
// stored and the invoice keeps the serial it came with.
TEST_F(PurchaseInvoiceTest, RefusalsStoreNothing) {
    RuleRecord r(VIVc::Number);
    FillPurchase(r.record, {.vendor = ""}, {{.amount = 100}});
    uint32_t id = 0;
    int result = RecStoreFailed;
    RecInsertChecked(VIVc::Number, r.record, &id, &result);
    ExpectRefused(result, Texts::VendorCodeMissing, VIVc::VendCode);
    EXPECT_EQ(GetI32(r.record, VIVc::SerNr), -1) << "a refused invoice keeps its serial";

    ExpectRefused(InsertPurchase({.vendor = "NOPE"}, {{.amount = 100}}), Texts::CodeUnknown, VIVc::VendCode);
    ExpectRefused(InsertPurchase({.currency = "EUR", .rate = 1125}, {{.amount = 100}}), Texts::CurrencyDiffers,
                  VIVc::CurncyCode);
    ExpectRefused(InsertPurchase({.rate = 90}, {{.amount = 100}}), Texts::CurrencyUnknown, VIVc::Rate);
    ExpectRefused(InsertPurchase({.vatEntered = 0}, {{.amount = 100}}), Texts::PurchaseVatZero, VIVc::VatEntered);
    ExpectRefused(InsertPurchase({}, {{.amount = 100}, {.amount = 50, .account = "9999"}}), Texts::AccountMissing,
                  VIVc::Matrix, 1, Row::Account);
    ExpectRefused(InsertPurchase({}, {{.amount = 100, .account = ""}}), Texts::RowAmountNoAccount, VIVc::Matrix, 0,
                  Row::Account);
    ExpectRefused(InsertPurchase({}, {{.amount = 100, .vatCode = "9"}}), Texts::CodeUnknown, VIVc::Matrix, 0,
                  Row::VatCode);
    ExpectRefused(InsertPurchase({}, {{.amount = 100, .project = "NOPROJ"}}), Texts::TimeProjectMissing, VIVc::Matrix,
                  0, Row::Project);
    // Rows and VAT that miss the total are told as such, not as debit
    // and credit; a row without a VAT code is named as the likely cause.
    ExpectRefused(InsertPurchase({.total = 999}, {{.amount = 100}, {.amount = 200}}), 11304,
                  VIVc::Matrix, 1, Row::Amount);
    ExpectRefused(InsertPurchase({.total = 375}, {{.amount = 100}, {.amount = 200, .vatCode = ""}}), 16403,
                  VIVc::Matrix, 1, Row::VatCode);
    ExpectRefused(InsertPurchase({.preliminary = 1}, {{.amount = 100}}), Texts::PreliminaryAndApproved,
                  VIVc::Preliminary);
    ExpectRefused(InsertPurchase({.kind = 3}, {{.kind = 3, .credited = 777}, {.amount = 100}}),
                  Texts::PurchaseInvoiceMissing, VIVc::Matrix, 0, Row::CredSerNr);
    std::vector<uint8_t> entry(PurchInvEntryBlk::Size);
    PutU16(entry.data(), PurchInvEntryBlk::ApproverRequired, 1);
    StoreBlock(PurchInvEntryBlk::Number, entry.data(), PurchInvEntryBlk::Size);
    ExpectRefused(InsertPurchase({}, {{.amount = 100}}), Texts::PurchInvNotApproved, VIVc::Approver);
    // A voucher that cannot be built (no creditor account) refuses too.
    PutU16(entry.data(), PurchInvEntryBlk::ApproverRequired, 0);
    StoreBlock(PurchInvEntryBlk::Number, entry.data(), PurchInvEntryBlk::Size);
    ChangeBlock(PurchAccountsBlk::Number, PurchAccountsBlk::Size,
                [](uint8_t *b) { PutText(b, PurchAccountsBlk::CreditorAcc, 10, ""); });
    ExpectRefused(InsertPurchase({}, {{.amount = 100}}), Texts::VoucherNotBuilt, VIVc::SerNr);
}

// A credited invoice must be approved and of the same vendor.
TEST_F(PurchaseInvoiceTest, CreditNoteOfWrongInvoiceRefused) {
    uint32_t open = 0, other = 0;
    ASSERT_EQ(InsertPurchase({.approved = 0}, {{.amount = 100}}, nullptr, &open), RecDone);
    StoreVendor("V5", "Other", "", 1);
    ASSERT_EQ(InsertPurchase({.vendor = "V5"}, {{.amount = 100}}, nullptr, &other), RecDone);
    uint32_t before = RegRecordCount(VIVc::Number);
    EXPECT_EQ(InsertPurchase({.kind = 3}, {{.kind = 3, .credited = (int32_t)open}, {.amount = 100}}), RecRefused);
    EXPECT_TRUE(WasShown(Texts::CreditedNotApproved));
    EXPECT_EQ(InsertPurchase({.kind = 3}, {{.kind = 3, .credited = (int32_t)other}, {.amount = 100}}), RecRefused);
    EXPECT_TRUE(WasShown(Texts::CreditedOtherVendor));
    EXPECT_EQ(FieldErrorPos.column, Row::CredSerNr);
    EXPECT_EQ(RegRecordCount(VIVc::Number), before);
}

// An approved invoice refuses a changed amount or row at its field and
// keeps what is stored; a new due date and discount date are taken and
// reach the open item.
TEST_F(PurchaseInvoiceTest, ApprovedInvoiceIsHeld) {
    uint32_t recid = 0, serial = 0;
    ASSERT_EQ(InsertPurchase({}, {{.amount = 1000}}, &recid, &serial), RecDone);
    RuleRecord r(VIVc::Number);
    ReadInvoice(recid, r);
    PutDec(r.record, VIVc::InvAmount, Dec(2000));
    int result = RecStoreFailed;
    RecUpdateChecked(VIVc::Number, r.record, recid, &result);
    EXPECT_EQ(result, RecRefused);
    EXPECT_TRUE(WasShown(Texts::ApprovedPurchaseChange));
    EXPECT_EQ(FieldErrorPos.field, VIVc::InvAmount);

    RuleRecord again(VIVc::Number);
    ReadInvoice(recid, again);
    uint8_t row[Row::Size];
    ASSERT_TRUE(MatrixRowRead(VIVc::Number, again.record, 0, row));
    PutDec(row, Row::Amount, Dec(5));
    ASSERT_TRUE(MatrixRowPut(VIVc::Number, 0, again.record, 0, row));
    RecUpdateChecked(VIVc::Number, again.record, recid, &result);
    EXPECT_EQ(result, RecRefused);
    EXPECT_EQ(FieldErrorPos.row, 0);
    EXPECT_EQ(FieldErrorPos.column, Row::Amount);

    RuleRecord dates(VIVc::Number);
    ReadInvoice(recid, dates);
    EXPECT_NEAR(Num(dates.record, VIVc::InvAmount), 1250, 0.005);
    PutDate(dates.record, VIVc::DueDate, DateRec{31, 8, 2024});
    PutDate(dates.record, VIVc::DiscDate, DateRec{20, 7, 2024});
    PutText(dates.record, VIVc::Comment, 60, "pay late");
    RecUpdateChecked(VIVc::Number, dates.record, recid, &result);
    ASSERT_EQ(result, RecDone) << ::testing::PrintToString(shown);
    RuleRecord item(APVc::Number);
    uint32_t itemId = 0;
    ASSERT_TRUE(VendorOpenItemRead(serial, item, &itemId));
    DateRec due = GetDate(item.record, APVc::DueDate), disc = GetDate(item.record, APVc::DiscDate);
    EXPECT_EQ(due.month, 8);
    EXPECT_EQ(disc.day, 20);
    EXPECT_NEAR(Open(serial), 1250, 0.005);
}

// Kind 5 approves a stored invoice: voucher, open item, vendor ledger and
// period balances; kind 19 then adds nothing, and a second kind 5 leaves
// the invoice alone. While its date lies in the sub-ledgers' lock, kind 5
// refuses it as its window would, and nothing is booked.
TEST_F(PurchaseInvoiceTest, ApproveKindsPostOnce) {
    uint32_t recid = 0, serial = 0;
    ASSERT_EQ(InsertPurchase({.approved = 0}, {{.amount = 1000}}, &recid, &serial), RecDone);
    EXPECT_EQ(RegRecordCount(Voucher::Number), 0u);
    std::vector<uint8_t> locks(DateLockBlk::Size, 0);
    PutDate(locks.data(), DateLockBlk::SubLedgerLock, DateRec{30, 6, 2024});
    StoreBlock(DateLockBlk::Number, locks.data(), DateLockBlk::Size);
    ASSERT_TRUE(ApproveRecord(5, VIVc::Number, recid));
    EXPECT_TRUE(WasShown(Texts::DateLocked)) << ::testing::PrintToString(shown);
    EXPECT_EQ(RegRecordCount(Voucher::Number), 0u);
    EXPECT_EQ(LedgerEntries(serial, 0), 0);
    PutDate(locks.data(), DateLockBlk::SubLedgerLock, DateRec{31, 5, 2024});
    StoreBlock(DateLockBlk::Number, locks.data(), DateLockBlk::Size);
    shown.clear();
    ASSERT_TRUE(ApproveRecord(5, VIVc::Number, recid)) << ::testing::PrintToString(shown);
    RuleRecord v(Voucher::Number), r(VIVc::Number);
    ASSERT_TRUE(StoredVoucher(203, serial, v));
    EXPECT_NEAR(VoucherSum(v.record), 0, 0.005);
    EXPECT_NEAR(Open(serial), 1250, 0.005);
    ReadInvoice(recid, r);
    EXPECT_EQ(GetU16(r.record, VIVc::Approved), 1);
    EXPECT_EQ(GetU16(r.record, VIVc::Transferred), 1);
    EXPECT_EQ(LedgerEntries(serial, 0), 1);
    const DateRec june{10, 6, 2024};
    EXPECT_NEAR(VendorMonth("V1", 0, june), 1250, 0.005);
    EXPECT_NEAR(VendorMonth("V1", 1, june), 1000, 0.005);
    EXPECT_NEAR(VendorMonth("V1", 3, june), 1250, 0.005);

    ASSERT_TRUE(ApproveRecord(19, VIVc::Number, recid));
    ASSERT_TRUE(ApproveRecord(5, VIVc::Number, recid));
    EXPECT_EQ(LedgerEntries(serial, 0), 1);
    EXPECT_NEAR(VendorMonth("V1", 0, june), 1250, 0.005);
    EXPECT_EQ(RegRecordCount(Voucher::Number), 1u);
}

}  // namespace
