// Tests of the set of sectors a hold keeps: membership through growth,
// emptying without forgetting how to take new members, and a set grown
// by a bulk hold that is emptied and used again.
#include <gtest/gtest.h>

#include "database/engine/sector_set.h"

namespace {

constexpr uint32_t Sector = 512;

TEST(SectorSet, HoldsWhatWasInsertedThroughGrowth) {
    SectorSet s;
    EXPECT_TRUE(s.Empty());
    EXPECT_FALSE(s.Contains(0));
    for (uint32_t i = 1; i <= 5000; i++) ASSERT_TRUE(s.Insert(i * 2 * Sector)) << i;
    EXPECT_FALSE(s.Insert(2 * Sector)) << "already there";
    EXPECT_EQ(s.Size(), 5000u);
    for (uint32_t i = 1; i <= 5000; i++) {
        EXPECT_TRUE(s.Contains(i * 2 * Sector)) << i;
        EXPECT_FALSE(s.Contains((i * 2 + 1) * Sector)) << i;
    }
    EXPECT_FALSE(s.Contains(0xFFFFFE00u));
}

TEST(SectorSet, EmptiedSetsForgetAndTakeNewMembers) {
    SectorSet s;
    for (int round = 0; round < 300; round++) {
        uint32_t base = (uint32_t)round * 40 * Sector;
        for (uint32_t i = 0; i < 30; i++) ASSERT_TRUE(s.Insert(base + i * Sector));
        ASSERT_TRUE(s.Contains(base + 29 * Sector));
        s.Clear();
        EXPECT_TRUE(s.Empty());
        for (uint32_t i = 0; i < 30; i++) ASSERT_FALSE(s.Contains(base + i * Sector)) << round;
    }
    // A set grown by a bulk hold gives its room back, then works as new.
    for (uint32_t i = 0; i < 100000; i++) s.Insert(i * Sector);
    EXPECT_TRUE(s.Contains(99999 * Sector));
    s.Clear();
    EXPECT_FALSE(s.Contains(99999 * Sector));
    EXPECT_TRUE(s.Insert(7 * Sector));
    EXPECT_TRUE(s.Contains(7 * Sector));
    EXPECT_FALSE(s.Contains(8 * Sector));
}

}  // namespace
