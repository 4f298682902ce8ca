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
// they were when no row holds it.
TEST_F(SerialNumbers, RangeOfANumber) {
    AddSeriesRow(InvSeriesBlk::Number, 1, 1000);
    AddSeriesRow(InvSeriesBlk::Number, 500, 600);
    AddSeriesRow(InvSeriesBlk::Number, 2000, 3000);
    int32_t first = -7, last = -7;
    FindNumberRange(IVVc::Number, 550, &first, &last);
    EXPECT_EQ(first, 500);
    EXPECT_EQ(last, 600);
    first = last = -7;
    FindNumberRange(IVVc::Number, 1500, &first, &last);
    EXPECT_EQ(first, -7);
    EXPECT_EQ(last, -7);
}

// Before a document is saved: an empty date refuses with 1206 on the given
// field, a locked date with 1046 for the sub-ledgers' registers only, and
// a field outside the record is refused, never read.
TEST_F(SerialNumbers, CheckBeforeSave) {
    uint8_t locks[DateLockBlk::Size] = {};
    PutDate(locks, DateLockBlock::SubLedgerLock, DateRec{31, 3, 2024});
    StoreBlock(DateLockBlk::Number, locks, sizeof locks);
    SettingsBlocksReload();
    struct Case { int reg; uint16_t field; DateRec date; int result; int text; };
    const Case cases[] = {{ORVc::Number, ORVc::OrdDate, {0, 0, 0}, 0, Texts::DocDateMissing},
                          {ORVc::Number, ORVc::OrdDate, {1, 1, 2024}, 1, 0},
                          {VIVc::Number, VIVc::TransDate, {31, 3, 2024}, 0, Texts::DateLocked},
                          {VIVc::Number, VIVc::TransDate, {1, 4, 2024}, 1, 0},
                          {VIVc::Number, VIVc::Size - 2, {1, 4, 2024}, 0, Texts::DocDateMissing}};
    for (const Case &c : cases) {
        RuleRecord r(c.reg);
        if (c.field + sizeof(DateRec) <= RegRecordSize(c.reg)) PutDate(r.record, c.field, c.date);
        shown.clear();
        EXPECT_EQ(CheckBeforeSave(c.reg, r.record, c.field), c.result) << c.reg << " " << c.field;
        if (c.result) continue;
        uint8_t want[256];
        GetUiText(want, c.text);
        ASSERT_EQ(shown.size(), 1u);
        EXPECT_EQ(shown[0], PStringToStd(want));
        EXPECT_EQ(FieldErrorPos.field, c.field);
    }
}

}  // namespace
