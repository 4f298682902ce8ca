// free_map.h - what the allocator's inner loops ask of the map of free
// sectors (free_map.cpp) many times a hold, in one call rather than one
// per window or sector.
#pragma once

#include <cstdint>
#include <span>

// The free sectors of every window, indexed by window (sector index /
// D4WindowSectors); a window past its end holds none. Valid until the
// map next grows (D4FreeMapAdd).
std::span<const uint16_t> D4FreeMapWindowCounts();
// D4FreeMapAdd for each of ptrs in turn that is a valid data sector
// (D4PtrValid) and not yet in the map.
void D4FreeMapAddValid(std::span<const uint32_t> ptrs);
// D4FreeMapRemove for each of ptrs in turn.
void D4FreeMapRemoveAll(std::span<const uint32_t> ptrs);
