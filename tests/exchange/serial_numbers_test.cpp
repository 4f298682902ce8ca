// serial_numbers_test.cpp - the next free number of a range over a real
// database, the range holding a number, numbering of records without one,
// and the date check before a document is saved.
#include "core/definitions.h"
#include "core/ui_text.h"
#include "exchange/exchange.h"
#include "rules/series_terms.h"
#include "tests/rules/rules_fixture.h"

namespace {

using SerialNumbers = RulesFixture;

void StoreSerial(int reg, uint32_t offset, int32_t n) {
    RuleRecord r(reg);
    PutI32(r.record, offset, n);
    uint32_t recid = 0;
    ASSERT_TRUE(RecStoreByKey(reg, r.record, 1, &recid)) << n;
}

// Over an empty register, numbers in use, a full range (lower numbers
// free or not), unnumbered records (-1 sorts below every number), and a
// range given backwards.
TEST_F(SerialNumbers, NextFreeNumberOfARange) {
    const int reg = PUVc::Number;
    EXPECT_EQ(NextFreeSerialNumber(reg, 1, 9999999, nullptr), 1);
    StoreSerial(reg, PUVc::SerNr, -1);
    EXPECT_EQ(NextFreeSerialNumber(reg, 1, 9999999, nullptr), 1);
    for (int32_t n = 1; n <= 5; n++) StoreSerial(reg, PUVc::SerNr, n);
    EXPECT_EQ(NextFreeSerialNumber(reg, 1, 9999999, nullptr), 6);
    EXPECT_EQ(NextFreeSerialNumber(reg, 100, 199, nullptr), 100);
    StoreSerial(reg, PUVc::SerNr, 199);
    EXPECT_EQ(NextFreeSerialNumber(reg, 100, 199, nullptr), -1);
    EXPECT_EQ(NextFreeSerialNumber(reg, 100, 150, nullptr), 100);   // 5 lies below the range
    StoreSerial(reg, PUVc::SerNr, 120);
    EXPECT_EQ(NextFreeSerialNumber(reg, 100, 150, nullptr), 121);
    EXPECT_EQ(NextFreeSerialNumber(reg, 150, 100, nullptr), -1);
    // A register whose key is no serial number has no free number.
    EXPECT_EQ(NextFreeSerialNumber(CUVc::Number, 1, 10, nullptr), -1);
}

// Vouchers: a date in no fiscal year (or no date) has no number; numbers
// of another year do not count.
TEST_F(SerialNumbers, VoucherNumbersNeedAYear) {
    const DateRec d{1, 6, 2024};
    EXPECT_EQ(NextFreeSerialNumber(Voucher::Number, 1, 100, &d), -1);
    EXPECT_EQ(NextFreeSerialNumber(Voucher::Number, 1, 100, nullptr), -1);
    AddFiscalYear(7, "Y24", {1, 1, 2024}, {31, 12, 2024});
    AddFiscalYear(8, "Y25", {1, 1, 2025}, {31, 12, 2025});
    RuleRecord v(Voucher::Number);
    PutI32(v.record, Voucher::SerNr, 40);
    PutU16(v.record, Voucher::YearCode, 8);
    uint32_t recid = 0;
    ASSERT_TRUE(RecStoreByKey(Voucher::Number, v.record, 1, &recid));
    EXPECT_EQ(NextFreeSerialNumber(Voucher::Number, 1, 100, &d), 1);
    const DateRec d25{1, 6, 2025};
    EXPECT_EQ(NextFreeSerialNumber(Voucher::Number, 1, 100, &d25), 41);
    EXPECT_EQ(NextFreeSerialNumber(Voucher::Number, 1, 40, &d25), -1);
}

// Every register with a number series keys its records by a four-byte
// serial number first (what the free-number search relies on), and a
// record of it without a number stays without one: no index of the
// dictionary is marked as numbering, so numbers come from the series.
TEST_F(SerialNumbers, SeriesRegistersAreNotNumberedBehindTheSeries) {
    int seen = 0;
    for (int reg = 1; reg <= 132; reg++) {
        if (SeriesBlockOfRegister(reg) == 0) continue;
        seen++;
        uint16_t length = 0;
        ASSERT_NE(RegCurrentIndexDef(reg), nullptr) << reg;
        uint32_t at = RegIndexInfo(reg, nullptr, nullptr, &length);
        EXPECT_EQ(length, 4) << reg;
        RuleRecord r(reg);
        ASSERT_NE(r.record, nullptr) << reg;
        PutI32(r.record, at, -1);
        AssignMissingSerialNumbers(reg, r.record, 0, 1);
        EXPECT_EQ(GetI32(r.record, at), -1) << reg;
    }
    EXPECT_EQ(seen, 14);
}

// The range holding a number: the last holding row wins; outputs stay as
// they were when no row holds it or the register has no series.
TEST_F(SerialNumbers, RangeOfANumber) {
    AddSeriesRow(InvSeriesBlk::Number, 1, 1000);
    AddSeriesRow(InvSeriesBlk::Number, 500, 600);
    AddSeriesRow(InvSeriesBlk::Number, 2000, 3000);
    int32_t first = -7, last = -7;
    FindNumberRange(IVVc::Number, 550, &first, &last);
    EXPECT_EQ(first, 500);
    EXPECT_EQ(last, 600);
    FindNumberRange(IVVc::Number, 700, &first, &last);
    EXPECT_EQ(first, 1);
    EXPECT_EQ(last, 1000);
    first = last = -7;
    FindNumberRange(IVVc::Number, 1500, &first, &last);
    FindNumberRange(OpenBalVc::Number, 550, &first, &last);
    EXPECT_EQ(first, -7);
    EXPECT_EQ(last, -7);
}

// Before a document is saved: an empty date refuses with 1206 on the given
// field, a locked date refuses with 1046 for the sub-ledgers' registers
// only, and a field outside the record is refused, never read.
TEST_F(SerialNumbers, CheckBeforeSave) {
    uint8_t locks[DateLockBlk::Size] = {};
    PutDate(locks, DateLockBlock::SubLedgerLock, DateRec{31, 3, 2024});
    StoreBlock(DateLockBlk::Number, locks, sizeof locks);
    SettingsBlocksReload();

    RuleRecord order(ORVc::Number);
    EXPECT_EQ(CheckBeforeSave(ORVc::Number, order.record, ORVc::OrdDate), 0);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(FieldErrorPos.field, ORVc::OrdDate);
    std::string missing = shown.back();
    PutDate(order.record, ORVc::OrdDate, DateRec{1, 1, 2024});
    EXPECT_EQ(CheckBeforeSave(ORVc::Number, order.record, ORVc::OrdDate), 1);   // orders have no lock

    RuleRecord pi(VIVc::Number);
    PutDate(pi.record, VIVc::TransDate, DateRec{31, 3, 2024});
    EXPECT_EQ(CheckBeforeSave(VIVc::Number, pi.record, VIVc::TransDate), 0);
    EXPECT_EQ(FieldErrorPos.field, VIVc::TransDate);
    EXPECT_NE(shown.back(), missing);
    PutDate(pi.record, VIVc::TransDate, DateRec{1, 4, 2024});
    EXPECT_EQ(CheckBeforeSave(VIVc::Number, pi.record, VIVc::TransDate), 1);
    EXPECT_EQ(CheckBeforeSave(VIVc::Number, pi.record, (uint16_t)(VIVc::Size - 2)), 0);
}

}  // namespace
