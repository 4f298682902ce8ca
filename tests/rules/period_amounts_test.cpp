// period_amounts_test.cpp - month indexes across the whole range the
// balances hold, and period blocks: running balances under bookings in
// any month order, kinds kept apart, and damaged blocks read by whole
// slots only.
#include <map>
#include <random>

#include "core/field_access.h"
#include "rules/ledger.h"
#include "tests/rules/rules_fixture.h"

namespace {

PackedDecimal Amount(int32_t thousandths) {
    PackedDecimal d;
    DecFromThousandths(&d, thousandths);
    return d;
}

int64_t At(MemBlock block, int kind, uint16_t month) {
    PackedDecimal r;
    PeriodBalanceAt(block, BalanceKinds, kind, month, &r);
    __int128 v = 0;
    EXPECT_TRUE(DecToThousandths(&r, &v)) << "blank balance at month " << month;
    return (int64_t)v;
}

// Months run from January 1980 without a ceiling below April 7441: years
// after 2020 keep their own months. Report reads saturate outside the
// range; bookings there are refused.
TEST(MonthIndexTest, WholeRangeWithoutMergedMonths) {
    DateRec june1995{15, 6, 1995}, dec2020{31, 12, 2020}, jan2021{1, 1, 2021}, y2100{1, 3, 2100};
    EXPECT_EQ(MonthIndex(&june1995), 185);
    EXPECT_EQ(MonthIndex(&dec2020), 491);
    EXPECT_EQ(MonthIndex(&jan2021), 492);
    EXPECT_EQ(MonthIndex(&y2100), 1442);
    DateRec y1975{1, 7, 1975}, dec1979{31, 12, 1979}, apr7441{30, 4, 7441}, may7441{1, 5, 7441}, none{0, 0, 0};
    EXPECT_EQ(MonthIndex(&y1975), 0);
    EXPECT_EQ(MonthIndex(&apr7441), MonthIndexLast);
    EXPECT_EQ(MonthIndex(&may7441), MonthIndexLast);

    uint16_t m = 7;
    EXPECT_TRUE(MonthIndexChecked(&apr7441, &m));
    EXPECT_EQ(m, MonthIndexLast);
    EXPECT_TRUE(DateAllowed(&y2100));
    EXPECT_FALSE(MonthIndexChecked(&may7441, &m));
    EXPECT_FALSE(DateAllowed(&dec1979));
    EXPECT_FALSE(DateAllowed(&none));
}

// 100 in March, then 50 in January moves the base back: January and
// February answer 50, March 150, later months 150, earlier months 0; the
// other kind, booked only later, is zero before its first month.
TEST(PeriodBlockTest, BookingBeforeTheBaseKeepsRunningBalances) {
    MemBlock block = 0;
    PackedDecimal hundred = Amount(100000), fifty = Amount(50000), seven = Amount(7000);
    uint16_t jan = 240, feb = 241, mar = 242;
    ASSERT_TRUE(AddToPeriodAmount(&block, BalanceKinds, KindLedger, mar, &hundred));
    ASSERT_TRUE(AddToPeriodAmount(&block, BalanceKinds, KindSubLedger, mar + 2, &seven));
    ASSERT_TRUE(AddToPeriodAmount(&block, BalanceKinds, KindLedger, jan, &fifty));
    const std::pair<uint16_t, int64_t> ledger[] = {
        {jan - 1, 0}, {jan, 50000}, {feb, 50000}, {mar, 150000}, {9000, 150000}};
    for (auto [m, want] : ledger) EXPECT_EQ(At(block, KindLedger, m), want) << m;
    EXPECT_EQ(At(block, KindSubLedger, mar + 1), 0);
    EXPECT_EQ(At(block, KindSubLedger, mar + 2), 7000);

    PackedDecimal r;
    PeriodBalanceBefore(block, BalanceKinds, KindLedger, mar, &r);
    EXPECT_EQ(DecToLong(&r), 50);
    PeriodBalanceChange(block, BalanceKinds, KindLedger, feb, mar, &r);
    EXPECT_EQ(DecToLong(&r), 100);

    EXPECT_FALSE(AddToPeriodAmount(&block, BalanceKinds, 2, mar, &hundred));   // no such kind
    MemFree(&block);
}

// Bookings in random months of the whole range, both kinds, against
// running sums: every month's balance equals the sum booked up to it.
TEST(PeriodBlockTest, RandomBookingsMatchRunningSums) {
    std::mt19937 rng(15);
    MemBlock block = 0;
    std::map<std::pair<int, int>, int64_t> booked;
    std::uniform_int_distribution<int> month(0, 1451), amount(-500000, 500000);
    for (int i = 0; i < 300; i++) {
        int m = month(rng), kind = (int)(rng() % 2), a = amount(rng);
        PackedDecimal d = Amount(a);
        ASSERT_TRUE(AddToPeriodAmount(&block, BalanceKinds, kind, (uint16_t)m, &d));
        booked[{kind, m}] += a;
    }
    for (int kind = 0; kind < 2; kind++) {
        int64_t running = 0;
        for (int m = 0; m <= 1460; m++) {
            auto it = booked.find({kind, m});
            if (it != booked.end()) running += it->second;
            ASSERT_EQ(At(block, kind, (uint16_t)m), running) << "kind " << kind << " month " << m;
        }
    }
    MemFree(&block);
}

// A block whose size is no whole number of slots (from a damaged file) is
// read and extended by whole slots; one too short for its base word
// starts afresh; no block reads as zero.
TEST(PeriodBlockTest, DamagedBlocksReadByWholeSlots) {
    EXPECT_EQ(At(0, KindLedger, 10), 0);
    MemBlock block = MemAlloc(2 + 12 * 2 + 5);
    ASSERT_NE(block, 0u);
    uint8_t *p = MemLock(block);
    PutU16(p, 0, 10);
    PackedDecimal a = Amount(3000);
    PutDec(p, 2, a);                  // month 10, kind 0
    PutDec(p, 14, Amount(0));         // month 10, kind 1
    std::memset(p + 26, 0x0F, 5);     // a partial slot: never read
    MemUnlock(block);
    EXPECT_EQ(At(block, KindLedger, 12), 3000);
    ASSERT_TRUE(AddToPeriodAmount(&block, BalanceKinds, KindLedger, 11, &a));
    EXPECT_EQ(MemSize(block), 2u + 12 * 3);   // the partial slot is gone
    EXPECT_EQ(At(block, KindLedger, 11), 6000);
    EXPECT_EQ(At(block, KindSubLedger, 11), 0);
    MemFree(&block);

    block = MemAlloc(1);
    ASSERT_TRUE(AddToPeriodAmount(&block, BalanceKinds, KindSubLedger, 5, &a));
    EXPECT_EQ(At(block, KindSubLedger, 5), 3000);
    EXPECT_EQ(At(block, KindLedger, 5), 0);
    MemFree(&block);
}

}  // namespace
