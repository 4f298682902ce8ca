// sector_set.cpp - see sector_set.h.
#include "database/engine/sector_set.h"

#include <algorithm>

namespace {

constexpr size_t FirstSlots = 64;
// A set grown past this by a bulk hold gives its room back when emptied.
constexpr size_t KeptSlots = size_t{1} << 16;

}  // namespace

// Pointers are multiples of 512: the high bits of a multiplicative hash
// spread them over the power-of-two table.
size_t SectorSet::Home(uint32_t ptr) const {
    uint64_t h = (uint64_t)ptr * 0x9E3779B97F4A7C15ull;
    return (size_t)(h >> 32) & (slots_.size() - 1);
}

bool SectorSet::Contains(uint32_t ptr) const {
    if (count_ == 0) return false;
    uint64_t want = (uint64_t)generation_ << 32 | ptr;
    for (size_t i = Home(ptr);; i = (i + 1) & (slots_.size() - 1)) {
        uint64_t s = slots_[i];
        if (s == want) return true;
        if (s >> 32 != generation_) return false;
    }
}

bool SectorSet::Insert(uint32_t ptr) {
    // At most half full, so every probe meets an empty slot.
    if ((count_ + 1) * 2 > slots_.size()) Grow();
    uint64_t want = (uint64_t)generation_ << 32 | ptr;
    for (size_t i = Home(ptr);; i = (i + 1) & (slots_.size() - 1)) {
        uint64_t &s = slots_[i];
        if (s == want) return false;
        if (s >> 32 != generation_) {
            s = want;
            count_++;
            return true;
        }
    }
}

void SectorSet::Grow() {
    std::vector<uint64_t> old;
    old.swap(slots_);
    slots_.assign(old.empty() ? FirstSlots : old.size() * 2, 0);
    uint32_t gen = generation_;
    generation_ = 1;
    count_ = 0;
    for (uint64_t s : old)
        if (s >> 32 == gen) Insert((uint32_t)s);
}

void SectorSet::Clear() {
    count_ = 0;
    if (slots_.size() > KeptSlots) {
        std::vector<uint64_t>().swap(slots_);
        generation_ = 1;
        return;
    }
    // Slots hold generations up to this one: after the last, start over
    // from zeroed slots.
    if (++generation_ == 0) {
        std::fill(slots_.begin(), slots_.end(), 0);
        generation_ = 1;
    }
}
