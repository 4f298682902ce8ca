// sector_set.h - a set of sector pointers for the bookkeeping of one hold.
//
// A hold adds a few dozen sectors and asks about each sector it writes;
// the next hold starts empty. Open addressing in one array keeps inserts
// free of allocation, and every slot carries the generation that filled
// it, so emptying the set is a new generation instead of a pass over it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

class SectorSet {
public:
    // False when ptr was there already.
    bool Insert(uint32_t ptr);
    bool Contains(uint32_t ptr) const;
    void Clear();
    bool Empty() const { return count_ == 0; }
    size_t Size() const { return count_; }

private:
    // (generation << 32) | ptr; a slot of another generation is empty.
    std::vector<uint64_t> slots_;
    uint32_t generation_ = 1;
    size_t count_ = 0;

    size_t Home(uint32_t ptr) const;
    void Grow();
};
