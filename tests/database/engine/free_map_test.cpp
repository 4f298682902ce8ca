// Tests of the allocator's map of free sectors: after random additions
// and removals, and after it is emptied, what it answers per window (free
// sectors, the pages a hold's sectors would lie on, the sector to hand out
// next, the highest one) must equal what the sectors in it say, counted
// afresh.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <set>

#include "database/engine/engine_state.h"

namespace {

using dbformat::DiskNone;
using dbformat::SectorSize;
constexpr uint32_t Windows = 4;
constexpr uint32_t PagesPerWindow = D4WindowSectors / 8;

// The pages (of eight sectors) that need sectors of window lie on when
// the fullest pages are taken first, counted from the set itself.
uint32_t PagesFor(const std::set<uint32_t> &free, uint32_t window, uint32_t need) {
    std::vector<uint32_t> perPage(PagesPerWindow, 0);
    for (uint32_t p : free)
        if (p / SectorSize / D4WindowSectors == window) perPage[p / SectorSize % D4WindowSectors / 8]++;
    std::sort(perPage.begin(), perPage.end(), std::greater<>());
    uint32_t got = 0, pages = 0;
    for (uint32_t n : perPage) {
        if (got >= need || n == 0) break;
        got += n;
        pages++;
    }
    return pages;
}

void ExpectMatches(const std::set<uint32_t> &free) {
    EXPECT_EQ(D4FreeMapCount(), free.size());
    for (uint32_t w = 0; w < Windows; w++) {
        uint32_t inWindow = 0, highest = DiskNone;
        for (uint32_t p : free)
            if (p / SectorSize / D4WindowSectors == w) inWindow++, highest = p;
        ASSERT_EQ(D4FreeMapWindowFree(w), inWindow) << "window " << w;
        EXPECT_EQ(D4FreeMapHighest(w), highest) << "window " << w;
        bool listed = std::count(D4FreeMapWindows().begin(), D4FreeMapWindows().end(), w) != 0;
        EXPECT_EQ(listed, inWindow > 0) << "window " << w;
        for (uint32_t need : {1u, 3u, 8u, 9u, 20u, 64u, 128u})
            EXPECT_EQ(D4FreeMapPagesFor(w, need), inWindow ? PagesFor(free, w, need) : 0u)
                << "window " << w << ", " << need << " needed";
        uint32_t pick = D4FreeMapPick(w, DiskNone);
        if (inWindow == 0) {
            EXPECT_EQ(pick, DiskNone);
        } else {
            // The lowest free sector of the page with most free sectors.
            EXPECT_TRUE(free.count(pick)) << "window " << w;
            uint32_t page = pick / SectorSize / 8;
            auto onPage = [&](uint32_t pg) {
                return (uint32_t)std::count_if(free.begin(), free.end(), [&](uint32_t p) { return p / SectorSize / 8 == pg; });
            };
            for (uint32_t k = 0; k < PagesPerWindow; k++) EXPECT_LE(onPage(w * PagesPerWindow + k), onPage(page));
        }
    }
}

TEST(FreeMap, CountsPerWindowAndPageFollowEveryAddAndRemove) {
    D4FreeMapClear();
    std::set<uint32_t> free;
    std::mt19937 rng(27);
    std::uniform_int_distribution<uint32_t> sector(1, Windows * D4WindowSectors - 1);
    for (int round = 0; round < 40; round++) {
        // Rounds that mostly add, then mostly remove, so that pages pass
        // through every count from empty to full and back.
        bool adding = round % 10 < 6;
        for (int k = 0; k < 60; k++) {
            uint32_t p = sector(rng) * SectorSize;
            if (adding == (rng() % 4 != 0)) {
                D4FreeMapAdd(p);
                free.insert(p);
            } else {
                D4FreeMapRemove(p);   // one not in the map is left alone
                free.erase(p);
            }
        }
        ExpectMatches(free);
        if (HasFatalFailure()) return;
    }
    // Emptied, the map answers as new; filled again, it counts from zero.
    D4FreeMapClear();
    free.clear();
    ExpectMatches(free);
    for (uint32_t p : {SectorSize, 2 * SectorSize, 9 * SectorSize, 130 * SectorSize}) {
        D4FreeMapAdd(p);
        D4FreeMapAdd(p);   // twice: counted once
        free.insert(p);
    }
    ExpectMatches(free);
    EXPECT_EQ(D4FreeMapPagesFor(0, 3), 2u) << "two sectors on the first page, one on the second";
    D4FreeMapClear();
}

}  // namespace
