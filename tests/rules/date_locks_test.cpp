// date_locks_test.cpp - which lock date of block 137 closes which
// register, the lock date itself being locked, and the delete lock behind
// the company's switch.
#include "rules/series_terms.h"
#include "tests/rules/rules_fixture.h"

namespace {

using DateLocks = RulesFixture;

// Nothing is locked while no lock date is set. Then each register group
// answers to its own lock (the lock date itself locked, the day after
// not); register 51 has no second lock and other registers none at all;
// the delete lock counts only with the company's switch on.
TEST_F(DateLocks, EachRegisterGroupHasItsLock) {
    const DateRec old{1, 1, 1990}, lock{31, 12, 1994}, after{1, 1, 1995};
    EXPECT_FALSE(IsDateLocked(&old, Voucher::Number));
    EXPECT_FALSE(DateAfterLock137(&after));
    uint8_t block[DateLockBlk::Size] = {};
    const DateRec ledger{10, 1, 2020}, ledger2{20, 1, 2020}, sub{10, 2, 2020}, sub2{20, 2, 2020};
    PutDate(block, DateLockBlock::LedgerLock, ledger);
    PutDate(block, DateLockBlock::LedgerLock2, ledger2);
    PutDate(block, DateLockBlock::DeleteLock, lock);
    PutDate(block, DateLockBlock::SubLedgerLock, sub);
    PutDate(block, DateLockBlock::SubLedgerLock2, sub2);
    PutDate(block, DateLockBlock::Date36, DateRec{31, 12, 2030});   // read by no lock
    StoreBlock(DateLockBlk::Number, block, sizeof block);
    SettingsBlocksReload();

    struct Case { int reg; const DateRec *first, *second; };
    const Case cases[] = {{SMVc::Number, &ledger, &ledger2},  {Voucher::Number, &ledger, &ledger2},
                          {PersEntryVc::Number, &ledger, &ledger2}, {OpenBalVc::Number, &ledger, nullptr},
                          {IVVc::Number, &sub, &sub2},        {IPVc::Number, &sub, &sub2},
                          {VIVc::Number, &sub, &sub2},        {OPVc::Number, &sub, &sub2},
                          {ORVc::Number, nullptr, nullptr},   {CUVc::Number, nullptr, nullptr}};
    for (const Case &c : cases) {
        for (int second = 0; second < 2; second++) {
            const DateRec *last = second ? c.second : c.first;
            auto locked = [&](const DateRec *d) {
                return second ? IsDateLockedSecondary(d, c.reg) : IsDateLocked(d, c.reg);
            };
            if (!last) {
                EXPECT_FALSE(locked(&old)) << c.reg << " " << second;
                continue;
            }
            DateRec next;
            DateAddDays(last, 1, &next);
            EXPECT_TRUE(locked(last)) << c.reg << " " << second;
            EXPECT_FALSE(locked(&next)) << c.reg << " " << second;
        }
    }

    EXPECT_FALSE(DateAfterLock137(&after));
    uint8_t company[CompanyBlk::Size] = {};
    PutU16(company, CompanyBlk::DateLockOn, 1);
    StoreBlock(CompanyBlk::Number, company, sizeof company);
    SettingsBlocksReload();
    EXPECT_TRUE(DateAfterLock137(&after));
    EXPECT_FALSE(DateAfterLock137(&lock));
}

}  // namespace
