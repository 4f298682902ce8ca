// date_locks_test.cpp - which lock date of block 137 closes which
// register, the lock date itself being locked, and the delete lock behind
// the company's switch.
#include "rules/series_terms.h"
#include "tests/rules/rules_fixture.h"

namespace {

class DateLocks : public RulesFixture {
protected:
    // Stores block 137 with each lock date a different day of 2020 and
    // makes the bound copy forget the old one.
    void StoreLocks() {
        uint8_t block[DateLockBlk::Size] = {};
        PutDate(block, DateLockBlock::LedgerLock, DateRec{10, 1, 2020});
        PutDate(block, DateLockBlock::LedgerLock2, DateRec{20, 1, 2020});
        PutDate(block, DateLockBlock::DeleteLock, DateRec{31, 12, 1994});
        PutDate(block, DateLockBlock::SubLedgerLock, DateRec{10, 2, 2020});
        PutDate(block, DateLockBlock::SubLedgerLock2, DateRec{20, 2, 2020});
        PutDate(block, DateLockBlock::Date36, DateRec{31, 12, 2030});   // read by no lock
        StoreBlock(DateLockBlk::Number, block, sizeof block);
        SettingsBlocksReload();
    }
};

// Each register group answers to its own lock date; the lock date itself
// is locked and the day after is not; register 51 has no second lock and
// other registers none at all.
TEST_F(DateLocks, EachRegisterGroupHasItsLock) {
    StoreLocks();
    struct Case { int reg; DateRec first, second; };   // the last locked day of each lock
    const DateRec none{0, 0, 0};
    const Case cases[] = {
        {SMVc::Number, {10, 1, 2020}, {20, 1, 2020}},    {Voucher::Number, {10, 1, 2020}, {20, 1, 2020}},
        {PersEntryVc::Number, {10, 1, 2020}, {20, 1, 2020}}, {OpenBalVc::Number, {10, 1, 2020}, none},
        {IVVc::Number, {10, 2, 2020}, {20, 2, 2020}},    {IPVc::Number, {10, 2, 2020}, {20, 2, 2020}},
        {VIVc::Number, {10, 2, 2020}, {20, 2, 2020}},    {OPVc::Number, {10, 2, 2020}, {20, 2, 2020}},
        {ORVc::Number, none, none},                      {CUVc::Number, none, none},
    };
    for (const Case &c : cases) {
        if (DateIsEmpty(&c.first)) {
            const DateRec old{1, 1, 1990};
            EXPECT_FALSE(IsDateLocked(&old, c.reg)) << c.reg;
        } else {
            DateRec after;
            DateAddDays(&c.first, 1, &after);
            EXPECT_TRUE(IsDateLocked(&c.first, c.reg)) << c.reg;
            EXPECT_FALSE(IsDateLocked(&after, c.reg)) << c.reg;
        }
        if (DateIsEmpty(&c.second)) {
            const DateRec old{1, 1, 1990};
            EXPECT_FALSE(IsDateLockedSecondary(&old, c.reg)) << c.reg;
        } else {
            DateRec after;
            DateAddDays(&c.second, 1, &after);
            EXPECT_TRUE(IsDateLockedSecondary(&c.second, c.reg)) << c.reg;
            EXPECT_FALSE(IsDateLockedSecondary(&after, c.reg)) << c.reg;
        }
    }
}

// No lock dates set: nothing is locked.
TEST_F(DateLocks, UnsetLocksLockNothing) {
    const DateRec d{1, 1, 1985};
    EXPECT_FALSE(IsDateLocked(&d, Voucher::Number));
    EXPECT_FALSE(IsDateLockedSecondary(&d, IVVc::Number));
    EXPECT_FALSE(DateAfterLock137(&d));
}

// The delete lock counts only while the company's switch is on, and only
// for dates after it.
TEST_F(DateLocks, DeleteLockNeedsTheSwitch) {
    StoreLocks();
    const DateRec lock{31, 12, 1994}, after{1, 1, 1995};
    EXPECT_FALSE(DateAfterLock137(&after));
    uint8_t company[CompanyBlk::Size] = {};
    PutU16(company, CompanyBlk::DateLockOn, 1);
    StoreBlock(CompanyBlk::Number, company, sizeof company);
    SettingsBlocksReload();
    EXPECT_TRUE(DateAfterLock137(&after));
    EXPECT_FALSE(DateAfterLock137(&lock));
}

}  // namespace
