// Tests of the check of purchases and of the stock voucher a received
// purchase builds.
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "rules/accounts.h"
#include "rules/checks.h"
#include "rules/ledger.h"
#include "tests/rules/rules_fixture.h"

namespace {

class PurchaseValidationTest : public RulesFixture {
protected:
    void SetUp() override {
        RulesFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreRecord(INVc::Number, [](uint8_t *r) { PutText(r, INVc::Code, 20, "BOLT"); PutText(r, INVc::Objects, 5, "P1"); });
        StoreRecord(INVc::Number, [](uint8_t *r) { PutText(r, INVc::Code, 20, "KIT"); PutU16(r, INVc::StructFlag, 1); });
        StoreRecord(INVc::Number, [](uint8_t *r) { PutText(r, INVc::Code, 20, "PUMP"); PutU16(r, INVc::SerialMode, 2); });
        StoreRecord(LocationVc::Number, [](uint8_t *r) { PutText(r, LocationVc::Code, 10, "MAIN"); });
        StoreRecord(VEVc::Number, [](uint8_t *r) { PutText(r, VEVc::Code, 20, "V1"); });   // the purchases' vendor
        std::vector<uint8_t> main(MainStockBlk::Size, 0);
        PutText(main.data(), MainStockBlk::MainLocation, 10, "MAIN");
        StoreBlock(MainStockBlk::Number, main.data(), MainStockBlk::Size);
        std::vector<uint8_t> posting(PostingBlk::Size, 0);
        PutU16(posting.data(), PostingBlk::PurchVouchers, 1);
        StoreBlock(PostingBlk::Number, posting.data(), PostingBlk::Size);
    }
    // A purchase numbered 7 dated mid-2024 with one row per item code.
    static void Purchase(uint8_t *p, std::initializer_list<const char *> items, double qty = 2) {
        PutU32(p, PUVc::SerNr, 7);
        PutDate(p, PUVc::TransDate, DateRec{15, 6, 2024});
        PutText(p, PUVc::VendCode, 20, "V1");
        PutText(p, PUVc::VendName, 60, "Vendor");
        for (const char *item : items) {
            uint8_t row[PUVc::Rows::Size] = {};
            PutText(row, PUVc::Rows::ItemCode, 20, item);
            PutDec(row, PUVc::Rows::Quantity, Dec(qty));
            PutDec(row, PUVc::Rows::UnitCost, Dec(2.5));
            ASSERT_TRUE(MatrixRowPut(PUVc::Number, 0, p, MatrixRowCount(PUVc::Number, 0, p), row));
        }
    }
    // Checks p as an update of a stored copy with the same number (so the
    // number and key tests are not run); the text shown, or 0.
    int Update(uint8_t *p, uint16_t storedReceived = 0) {
        RuleRecord stored(PUVc::Number);
        PutU32(stored.record, PUVc::SerNr, GetU32(p, PUVc::SerNr));
        PutU16(stored.record, PUVc::Received, storedReceived);
        shown.clear();
        if (ValidatePurchase(p, stored.record, 2) == 0) return 0;
        for (int n : {1058, 1085, 1120, 1130, 1239, 1547, 1826}) {
            char text[256];
            GetUiTextC(text, n);
            if (!shown.empty() && shown.back() == text) return n;
        }
        return -1;
    }
    static int PendingRows() { return MatrixRowCount(Voucher::Number, 0, PendingVoucher); }
    static std::string UiText(int n) {
        char text[256];
        GetUiTextC(text, n);
        return text;
    }
};

// Rows need a known item that may be bought, and a serial
// number for a serial-tracked item; an empty location becomes the main one
// and an unknown one is refused.
TEST_F(PurchaseValidationTest, RowsAndLocation) {
    struct Case { const char *item; int text; uint16_t column; };
    for (Case c : {Case{"", 1130, PUVc::Rows::ItemCode}, Case{"NUT", 1120, PUVc::Rows::ItemCode},
                   Case{"KIT", 1826, PUVc::Rows::ItemCode}, Case{"PUMP", 1239, PUVc::Rows::SerialNr}}) {
        RuleRecord p(PUVc::Number);
        Purchase(p.record, {"BOLT", c.item});
        EXPECT_EQ(Update(p.record), c.text) << c.item;
        EXPECT_EQ(FieldErrorPos.row, 1) << c.item;
        EXPECT_EQ(FieldErrorPos.column, c.column) << c.item;
    }
    RuleRecord p(PUVc::Number);
    Purchase(p.record, {"BOLT"});
    EXPECT_EQ(Update(p.record), 0);
    EXPECT_EQ(Text(p.record, PUVc::Location), "MAIN");
    PutText(p.record, PUVc::Location, 10, "ELSEWHERE");
    EXPECT_EQ(Update(p.record), 1120);
    EXPECT_EQ(FieldErrorPos.field, PUVc::Location);
}

// A purchase entering stock whose voucher cannot be made (no sales
// accounts set at all) is refused, saying which account to give first, with nothing left pending; one
// already in stock builds nothing again.
TEST_F(PurchaseValidationTest, VoucherThatCannotBeBuiltRefuses) {
    RuleRecord p(PUVc::Number);
    Purchase(p.record, {"BOLT"});
    PutU16(p.record, PUVc::Received, 1);
    EXPECT_EQ(Update(p.record), -1);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown.back(), UiText(1528) + UiText(19410));
    EXPECT_EQ(FieldErrorPos.field, PUVc::SerNr);
    EXPECT_EQ(PendingRows(), 0);
    EXPECT_EQ(Update(p.record, 1), 0);
    EXPECT_EQ(PendingRows(), 0);
}

class PurchaseVoucherTest : public PurchaseValidationTest {
protected:
    void SetUp() override {
        PurchaseValidationTest::SetUp();
        if (HasFatalFailure()) return;
        StoreAccount("1460", "Stock", 0);
        StoreAccount("2490", "Goods received", 1);
        StoreAccount("3740", "Rounding", 3);
        std::vector<uint8_t> accounts(SalesAccountsBlk::Size, 0);
        PutText(accounts.data(), SalesAccountsBlk::StockAcc, 10, "1460");
        PutText(accounts.data(), SalesAccountsBlk::PurchClearingAcc, 10, "2490");
        PutText(accounts.data(), SalesAccountsBlk::RoundingAcc, 10, "3740");
        StoreBlock(SalesAccountsBlk::Number, accounts.data(), SalesAccountsBlk::Size);
    }
};

// The voucher debits each row's cost to the stock account with the item's
// objects and credits the sum to the clearing account, under the
// purchase's number and the purchases' fixed year code.
TEST_F(PurchaseVoucherTest, StockVoucherRows) {
    RuleRecord p(PUVc::Number);
    Purchase(p.record, {"BOLT", "BOLT"}, 4);
    PutU16(p.record, PUVc::Received, 1);
    ASSERT_EQ(Update(p.record), 0);
    ASSERT_EQ(PendingRows(), 3);
    EXPECT_EQ(GetU32(PendingVoucher, Voucher::SerNr), 7u);
    EXPECT_EQ(GetU16(PendingVoucher, Voucher::YearCode), YearCodePurchase);
    EXPECT_EQ(Text(PendingVoucher, Voucher::Text), "V1 Vendor");
    uint8_t row[TransRow::Size];
    ASSERT_TRUE(MatrixRowRead(Voucher::Number, PendingVoucher, 0, row));
    EXPECT_EQ(Text(row, TransRow::Account), "1460");
    EXPECT_EQ(Text(row, TransRow::Objects), "P1");
    PackedDecimal amount = GetDec(row, TransRow::Amount);
    EXPECT_EQ(DecToDouble(&amount), 10);
    ASSERT_TRUE(MatrixRowRead(Voucher::Number, PendingVoucher, 2, row));
    EXPECT_EQ(Text(row, TransRow::Account), "2490");
    amount = GetDec(row, TransRow::Amount);
    EXPECT_EQ(DecToDouble(&amount), -20);
    RecFreeMatrix(Voucher::Number, PendingVoucher);
}

// The voucher's text says whom the goods came from and what the receipt
// was for: a receipt without a vendor (opening stock) is named by its own
// text, and no missing part leaves a stray blank or comma.
TEST_F(PurchaseVoucherTest, TheVoucherTextJoinsVendorCurrencyAndTheReceiptsText) {
    struct Case { const char *code, *name, *currency, *text, *expected; };
    for (Case c : {Case{"V1", "Vendor", "", "", "V1 Vendor"},
                   Case{"", "", "", "Opening stock", "Opening stock"},
                   Case{"", "Vendor", "", "", "Vendor"},
                   Case{"V1", "Vendor", "", "Order 12", "V1 Vendor, Order 12"},
                   Case{"", "", "EUR", "Opening stock", "EUR 11,250, Opening stock"},
                   Case{"V1", "Vendor", "EUR", "", "V1 Vendor, EUR 11,250"}}) {
        RuleRecord p(PUVc::Number);
        Purchase(p.record, {"BOLT"});
        PutText(p.record, PUVc::VendCode, 20, c.code);
        PutText(p.record, PUVc::VendName, 60, c.name);
        PutText(p.record, PUVc::Currency, 5, c.currency);
        PutDec(p.record, PUVc::Rate, Dec(11.25));
        PutText(p.record, PUVc::Text, 60, c.text);
        PutU16(p.record, PUVc::Received, 1);
        ASSERT_TRUE(BuildPurchaseVoucher(p.record, nullptr, false)) << c.expected;
        EXPECT_EQ(Text(PendingVoucher, Voucher::Text), c.expected);
        RecFreeMatrix(Voucher::Number, PendingVoucher);
    }
}

// Each account the voucher needs, missing or named but not in the chart,
// refuses the purchase with the account to give and where; an account the
// chart lacks is named. The location's own stock account stands in for
// the settings' blank one.
TEST_F(PurchaseVoucherTest, AMissingAccountIsNamedWithWhereItIsSet) {
    struct Case { uint32_t field; const char *account; int text; const char *named; };
    for (Case c : {Case{SalesAccountsBlk::StockAcc, "", 19410, ""},
                   Case{SalesAccountsBlk::StockAcc, "9999", 19410, "9999"},
                   Case{SalesAccountsBlk::PurchClearingAcc, "", 19411, ""},
                   Case{SalesAccountsBlk::RoundingAcc, "8888", 19412, "8888"}}) {
        std::vector<uint8_t> accounts(SalesAccountsBlk::Size, 0);
        PutText(accounts.data(), SalesAccountsBlk::StockAcc, 10, "1460");
        PutText(accounts.data(), SalesAccountsBlk::PurchClearingAcc, 10, "2490");
        PutText(accounts.data(), SalesAccountsBlk::RoundingAcc, 10, "3740");
        PutText(accounts.data(), c.field, 10, c.account);
        StoreBlock(SalesAccountsBlk::Number, accounts.data(), SalesAccountsBlk::Size);
        RuleRecord p(PUVc::Number);
        Purchase(p.record, {"BOLT"});
        PutU16(p.record, PUVc::Received, 1);
        EXPECT_EQ(Update(p.record), -1) << c.text;
        ASSERT_FALSE(shown.empty()) << c.text;
        std::string expected = UiText(1528) + UiText(c.text);
        if (c.named[0]) expected += UiText(19413) + c.named;
        EXPECT_EQ(shown.back(), expected);
        EXPECT_EQ(FieldErrorPos.field, PUVc::SerNr);
        EXPECT_EQ(PendingRows(), 0) << c.text;
        EXPECT_EQ(GetU32(p.record, PUVc::SerNr), 7u);
    }
    // The settings' stock account blank, the location's own serves.
    std::vector<uint8_t> accounts(SalesAccountsBlk::Size, 0);
    PutText(accounts.data(), SalesAccountsBlk::PurchClearingAcc, 10, "2490");
    PutText(accounts.data(), SalesAccountsBlk::RoundingAcc, 10, "3740");
    StoreBlock(SalesAccountsBlk::Number, accounts.data(), SalesAccountsBlk::Size);
    StoreRecord(LocationVc::Number, [](uint8_t *r) {
        PutText(r, LocationVc::Code, 10, "NORTH");
        PutText(r, LocationVc::StockAcc, 10, "1460");
    });
    RuleRecord p(PUVc::Number);
    Purchase(p.record, {"BOLT"});
    PutText(p.record, PUVc::Location, 10, "NORTH");
    PutU16(p.record, PUVc::Received, 1);
    EXPECT_EQ(Update(p.record), 0) << ::testing::PrintToString(shown);
    EXPECT_EQ(PendingRows(), 2);
    RecFreeMatrix(Voucher::Number, PendingVoucher);
}

// A purchase whose voucher would not be stored (its number is taken in
// the purchases' year) is refused before anything is kept pending, and
// gets back the number it came with.
TEST_F(PurchaseVoucherTest, VoucherThatWouldNotBeStoredRefuses) {
    StoreRecord(Voucher::Number, [](uint8_t *r) {
        PutU32(r, Voucher::SerNr, 7);
        PutU16(r, Voucher::YearCode, YearCodePurchase);
    });
    RuleRecord p(PUVc::Number);
    Purchase(p.record, {"BOLT"});
    PutU16(p.record, PUVc::Received, 1);
    EXPECT_EQ(Update(p.record), 1547);
    EXPECT_EQ(FieldErrorPos.field, PUVc::SerNr);
    EXPECT_EQ(PendingRows(), 0);
    EXPECT_EQ(GetU32(p.record, PUVc::SerNr), 7u);
}

}  // namespace
