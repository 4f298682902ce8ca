// Tests of the checks before a record is deleted.
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "rules/checks.h"
#include "tests/rules/rules_fixture.h"

namespace {

class DeleteChecksTest : public RulesFixture {
protected:
    // The text shown last, or "" when none was.
    static std::string Last() { return shown.empty() ? "" : shown.back(); }
    static std::string TextOf(int n) {
        char text[256];
        GetUiTextC(text, n);
        return text;
    }
    uint32_t StoreBalance(const char *account, const char *objects) {
        return StoreRecord(BLVc::Number, [&](uint8_t *r) {
            PutText(r, BLVc::Account, 10, account);
            PutText(r, BLVc::Objects, 30, objects);
        });
    }
    void SetSubLedgerLock(DateRec lock) {
        std::vector<uint8_t> block(DateLockBlk::Size, 0);
        PutDate(block.data(), DateLockBlk::SubLedgerLock, lock);
        StoreBlock(DateLockBlk::Number, block.data(), DateLockBlk::Size);
    }
};

// Accounts with a balance of their own, objects named alone in a balance,
// and object types with objects are kept; the reason is shown only when
// asked for.
TEST_F(DeleteChecksTest, LedgerMastersInUseAreKept) {
    RuleRecord account(ACVc::Number), object(OBVc::Number), type(OTVc::Number);
    PutText(account.record, ACVc::Code, 10, "1910");
    PutText(object.record, OBVc::Code, 5, "P1");
    PutText(type.record, OTVc::Code, 5, "PRJ");
    StoreBalance("1910", "P1,K2");
    StoreObject("P1", "PRJX");
    EXPECT_EQ(CanDeleteRecordOf(ACVc::Number, account.record, 1), 1);   // only an object balance
    EXPECT_EQ(CanDeleteRecordOf(OBVc::Number, object.record, 1), 1);    // only within a list
    EXPECT_EQ(CanDeleteRecordOf(OTVc::Number, type.record, 1), 1);      // a longer type code
    EXPECT_TRUE(shown.empty());

    StoreBalance("1910", "");
    StoreBalance("3010", "P1");
    StoreObject("P2", "PRJ");
    EXPECT_EQ(CanDeleteRecordOf(ACVc::Number, account.record, 0), 0);
    EXPECT_TRUE(shown.empty());
    EXPECT_EQ(CanDeleteRecordOf(ACVc::Number, account.record, 1), 0);
    EXPECT_EQ(Last(), TextOf(1039));
    EXPECT_EQ(CanDeleteRecordOf(OBVc::Number, object.record, 1), 0);
    EXPECT_EQ(Last(), TextOf(1040));
    EXPECT_EQ(CanDeleteRecordOf(OTVc::Number, type.record, 1), 0);
    EXPECT_EQ(Last(), TextOf(1042));
}

// A numbered voucher stays unless the company lets vouchers after the
// delete lock go; an unnumbered one may always go. An order with a
// delivered row shows why even when not asked.
TEST_F(DeleteChecksTest, VouchersAndOrders) {
    RuleRecord voucher(Voucher::Number);
    PutDate(voucher.record, Voucher::TransDate, DateRec{1, 3, 2024});
    PutU32(voucher.record, Voucher::SerNr, SerialNone);
    EXPECT_EQ(CanDeleteRecordOf(Voucher::Number, voucher.record, 1), 1);
    PutU32(voucher.record, Voucher::SerNr, 12);
    EXPECT_EQ(CanDeleteRecordOf(Voucher::Number, voucher.record, 1), 0);
    EXPECT_EQ(Last(), TextOf(1560));

    RuleRecord order(ORVc::Number);
    std::vector<uint8_t> row(ORVc::Rows::Size, 0);
    PutDec(row.data(), ORVc::Rows::QtyDelivered, Dec(1));
    ASSERT_TRUE(MatrixRowPut(ORVc::Number, 0, order.record, 0, row.data()));
    shown.clear();
    EXPECT_EQ(CanDeleteRecordOf(ORVc::Number, order.record, 0), 0);
    EXPECT_EQ(Last(), TextOf(1304));
}

// A posted receipt goes only inside the sub-ledger's locked period, and
// only when every row names an invoice that is gone; with no lock date set
// it stays. An unposted one always goes.
TEST_F(DeleteChecksTest, PostedReceiptFollowsThePurgeRule) {
    RuleRecord receipt(IPVc::Number);
    PutDate(receipt.record, IPVc::TransDate, DateRec{10, 1, 2024});
    std::vector<uint8_t> row(IPVc::Rows::Size, 0);
    PutU16(row.data(), IPVc::Rows::Kind, 1);
    PutU32(row.data(), IPVc::Rows::InvoiceNr, 501);
    ASSERT_TRUE(MatrixRowPut(IPVc::Number, 0, receipt.record, 0, row.data()));
    EXPECT_TRUE(CanDeleteReceipt(receipt.record));
    PutU16(receipt.record, IPVc::Posted, 1);
    EXPECT_FALSE(CanDeleteReceipt(receipt.record));   // no lock date: after it
    SetSubLedgerLock(DateRec{31, 1, 2024});
    EXPECT_TRUE(CanDeleteReceipt(receipt.record));
    StoreRecord(IVVc::Number, [](uint8_t *r) { PutU32(r, IVVc::SerNr, 501); });
    EXPECT_FALSE(CanDeleteReceipt(receipt.record));
    PutU32(row.data(), IPVc::Rows::InvoiceNr, SerialAsk);
    ASSERT_TRUE(MatrixRowPut(IPVc::Number, 0, receipt.record, 0, row.data()));
    EXPECT_FALSE(CanDeleteReceipt(receipt.record));
    EXPECT_EQ(CanDeleteRecordOf(IPVc::Number, receipt.record, 1), 0);
    EXPECT_EQ(Last(), TextOf(1560));
}

}  // namespace
