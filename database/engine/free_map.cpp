// free_map.cpp - the free sectors the allocator may hand out, as a bitmap
// over the whole file with counts per 4 KB page and per window of
// neighbouring sectors.
//
// The free lists (free_lists.cpp) are what the file keeps; this map is
// what allocation works from. It holds exactly the pointers of the lists'
// head blocks in memory (list B's only while no copy is open), so a hold
// can take its sectors from one window, page by page, and they leave the
// cache on few pages. Windows are 128 sectors: 16 pages of 4 KB.
#include <array>
#include <bit>
#include <cassert>

#include "database/engine/engine_state.h"
#include "database/engine/free_map.h"

using namespace dbformat;

namespace {

constexpr uint32_t WordsPerWindow = D4WindowSectors / 64;
constexpr uint32_t PagesPerWindow = D4WindowSectors / 8;   // pages of 4 KB
static_assert(D4WindowSectors % 64 == 0);

std::vector<uint64_t> Bits;        // bit s: sector s is in the map
std::vector<uint8_t> PageFree;     // set bits per page of eight sectors
std::vector<uint16_t> WindowFree;  // set bits per window
// Per window, how many of its pages hold 0..8 free sectors: what the
// allocator asks of every window it considers (D4FreeMapPagesFor), kept
// up to date so that the question costs no walk over the pages.
using PageCounts = std::array<uint8_t, 9>;
constexpr PageCounts NoPageFree = {PagesPerWindow, 0, 0, 0, 0, 0, 0, 0, 0};
std::vector<PageCounts> PagesWith;
// The windows with any set bit, and each window's place in that list.
std::vector<uint32_t> Windows;
std::vector<uint32_t> WindowAt;
uint32_t Total = 0;

// Makes room for sector index s.
void Cover(uint32_t s) {
    uint32_t window = s / D4WindowSectors;
    if (window < WindowFree.size()) return;
    size_t windows = std::max<size_t>(window + 1, WindowFree.size() * 2);
    WindowFree.resize(windows, 0);
    PagesWith.resize(windows, NoPageFree);
    WindowAt.resize(windows, 0);
    PageFree.resize(windows * PagesPerWindow, 0);
    Bits.resize(windows * WordsPerWindow, 0);
}

// The free sectors of page i (0..15) of window, as eight bits.
uint32_t PageBits(uint32_t window, uint32_t i) {
    return (uint32_t)(Bits[window * WordsPerWindow + i / 8] >> (8 * (i % 8))) & 0xFF;
}

}  // namespace

// Empties the map. Only the windows that hold a sector are cleared: every
// commit rebuilds the map, and clearing all of a large file's bitmap and
// counts each time cost more than the rest of a small hold's commit.
void D4FreeMapClear() {
    for (uint32_t w : Windows) {
        std::fill_n(Bits.begin() + (long)(w * WordsPerWindow), WordsPerWindow, 0);
        std::fill_n(PageFree.begin() + (long)(w * PagesPerWindow), PagesPerWindow, 0);
        WindowFree[w] = 0;
        PagesWith[w] = NoPageFree;
    }
    Windows.clear();
    Total = 0;
}

bool D4FreeMapHas(uint32_t ptr) {
    uint32_t s = ptr / SectorSize;
    return s / 64 < Bits.size() && (Bits[s / 64] >> (s % 64) & 1) != 0;
}

// Adds a sector; one already in the map is left as it is.
void D4FreeMapAdd(uint32_t ptr) {
    assert(ptr % SectorSize == 0 && ptr >= SectorSize);
    uint32_t s = ptr / SectorSize;
    Cover(s);
    uint64_t bit = 1ull << (s % 64);
    if (Bits[s / 64] & bit) return;
    Bits[s / 64] |= bit;
    uint32_t w = s / D4WindowSectors;
    PagesWith[w][PageFree[s / 8]]--;
    PagesWith[w][++PageFree[s / 8]]++;
    if (WindowFree[w]++ == 0) {
        WindowAt[w] = (uint32_t)Windows.size();
        Windows.push_back(w);
    }
    Total++;
}

// Takes a sector out; one not in the map is left as it is.
void D4FreeMapRemove(uint32_t ptr) {
    if (!D4FreeMapHas(ptr)) return;
    uint32_t s = ptr / SectorSize;
    Bits[s / 64] &= ~(1ull << (s % 64));
    uint32_t w = s / D4WindowSectors;
    assert(WindowFree[w] > 0 && PageFree[s / 8] > 0 && Total > 0);
    PagesWith[w][PageFree[s / 8]]--;
    PagesWith[w][--PageFree[s / 8]]++;
    if (--WindowFree[w] == 0) {
        uint32_t last = Windows.back();
        Windows[WindowAt[w]] = last;
        WindowAt[last] = WindowAt[w];
        Windows.pop_back();
    }
    Total--;
}

uint32_t D4FreeMapCount() { return Total; }

uint32_t D4FreeMapWindowFree(uint32_t window) { return window < WindowFree.size() ? WindowFree[window] : 0; }

std::span<const uint16_t> D4FreeMapWindowCounts() { return WindowFree; }

// A commit hands the map a head's pointers, of which all but the few
// freed since are in it already: those are passed over before asking
// whether they lie in the file.
void D4FreeMapAddValid(std::span<const uint32_t> ptrs) {
    for (uint32_t p : ptrs)
        if (!D4FreeMapHas(p) && D4PtrValid(p)) D4FreeMapAdd(p);
}

void D4FreeMapRemoveAll(std::span<const uint32_t> ptrs) {
    for (uint32_t p : ptrs) D4FreeMapRemove(p);
}

const std::vector<uint32_t> &D4FreeMapWindows() { return Windows; }

// The sector of window to hand out next (left in the map), or none: the
// lowest free one on the page of last (the sector handed out before) while
// that page has any, else the lowest on the page of the window that has
// most free sectors (the lowest of equals), so that a hold's sectors fill
// whole pages one after the other.
uint32_t D4FreeMapPick(uint32_t window, uint32_t last) {
    if (D4FreeMapWindowFree(window) == 0) return DiskNone;
    const uint8_t *pages = &PageFree[window * PagesPerWindow];
    uint32_t best = 0, most = 0;
    uint32_t lastSector = last / SectorSize;
    if (last != DiskNone && lastSector / D4WindowSectors == window && pages[lastSector % D4WindowSectors / 8] != 0) {
        best = lastSector % D4WindowSectors / 8;
        most = 1;
    }
    if (most == 0) {
        for (uint32_t k = 0; k < PagesPerWindow; k++)
            if (pages[k] > most) best = k, most = pages[k];
    }
    assert(most > 0);
    uint32_t bit = (uint32_t)std::countr_zero(PageBits(window, best));
    return (window * D4WindowSectors + best * 8 + bit) * SectorSize;
}

// The number of 4 KB pages that need sectors of window lie on when they
// are handed out as D4FreeMapPick does (fullest pages first): what a hold
// taking them writes.
uint32_t D4FreeMapPagesFor(uint32_t window, uint32_t need) {
    if (D4FreeMapWindowFree(window) == 0) return 0;
    const PageCounts &withCount = PagesWith[window];
    uint32_t count = 0, got = 0;
    for (uint32_t n = 8; n > 0 && got < need; n--) {
        uint32_t use = std::min<uint32_t>(withCount[n], (need - got + n - 1) / n);
        count += use;
        got += use * n;
    }
    return count;
}

uint32_t D4FreeMapHighest(uint32_t window) {
    if (D4FreeMapWindowFree(window) == 0) return DiskNone;
    for (uint32_t k = WordsPerWindow; k-- > 0;) {
        uint64_t w = Bits[window * WordsPerWindow + k];
        if (w) return (window * D4WindowSectors + k * 64 + 63 - (uint32_t)std::countl_zero(w)) * SectorSize;
    }
    return DiskNone;
}
