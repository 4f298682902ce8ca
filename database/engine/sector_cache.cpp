// sector_cache.cpp - the write-back cache of 512-byte sectors in front of
// the database file.
//
// Slots form one doubly linked list from the oldest to the newest end; a
// hit or a write moves a slot to the newest end and a miss takes the
// oldest slot (written back first when dirty). A hash of disk pointers
// finds a cached sector without walking the list. Every slot keeps a
// checksum of its bytes, checked whenever the bytes leave the slot, so
// that memory corruption is caught before it reaches the file or a
// reader.
#include <algorithm>

#include "database/engine/engine_state.h"

namespace {

using namespace dbformat;

constexpr int None = -1;
constexpr uint32_t SlotBytes = 528;        // the room one slot takes of the budget
constexpr uint32_t ChunkBytes = 32000;
constexpr uint32_t BucketCount = 1024;

struct Slot {
    uint16_t dirty = 0;
    uint16_t checksum = 0;
    int older = None;
    int newer = None;
    int hashNext = None;
    uint32_t ptr = DiskNone;
    uint8_t data[SectorSize];
};

std::vector<Slot> Slots;
int Oldest = None, Newest = None;
std::array<int, BucketCount> Buckets;

uint32_t BucketOf(uint32_t ptr) { return (ptr / SectorSize) & (BucketCount - 1); }

void Unlink(int s) {
    Slot &x = Slots[s];
    if (x.older != None) Slots[x.older].newer = x.newer; else Oldest = x.newer;
    if (x.newer != None) Slots[x.newer].older = x.older; else Newest = x.older;
    x.older = x.newer = None;
}

// D4CacheAppend: puts slot s at the newest end.
void Append(int s) {
    Slot &x = Slots[s];
    x.older = Newest;
    x.newer = None;
    if (Newest != None) Slots[Newest].newer = s; else Oldest = s;
    Newest = s;
}

// D4CacheTouch
void Touch(int s) {
    if (s == Newest) return;
    Unlink(s);
    Append(s);
}

void HashRemove(int s) {
    uint32_t b = BucketOf(Slots[s].ptr);
    int *link = &Buckets[b];
    while (*link != None) {
        if (*link == s) {
            *link = Slots[s].hashNext;
            Slots[s].hashNext = None;
            return;
        }
        link = &Slots[*link].hashNext;
    }
}

void HashAdd(int s) {
    uint32_t b = BucketOf(Slots[s].ptr);
    Slots[s].hashNext = Buckets[b];
    Buckets[b] = s;
}

// Verifies a slot's checksum before its bytes are used or written.
bool SlotIntact(const Slot &x) {
    if (D4SectorChecksum(x.data) == x.checksum) return true;
    DbIoError(1);
    return false;
}

bool WriteSlot(Slot &x) {
    if (!SlotIntact(x)) return false;
    if (!D4DiskWriteAt(x.data, x.ptr, SectorSize, false)) return false;
    x.dirty = 0;
    return true;
}

// D4CacheTakeOldest: an unused slot, the oldest one emptied (written back
// first when dirty). In damaged mode nothing can be written, so a clean
// slot is preferred and a dirty one is given up. -1 on failure.
int TakeOldest() {
    int s = Oldest;
    if (s == None) return None;
    if (Slots[s].dirty) {
        if (Db.damaged) {
            int c = s;
            while (c != None && Slots[c].dirty) c = Slots[c].newer;
            if (c != None) s = c;
        } else if (!WriteSlot(Slots[s])) {
            return None;
        }
    }
    Slot &x = Slots[s];
    if (x.ptr != DiskNone) HashRemove(s);
    x.ptr = DiskNone;
    x.dirty = 0;
    Unlink(s);
    return s;
}

void Fill(int s, uint32_t ptr, const uint8_t *data, bool dirty) {
    Slot &x = Slots[s];
    std::memcpy(x.data, data, SectorSize);
    x.ptr = ptr;
    x.checksum = D4SectorChecksum(x.data);
    x.dirty = dirty ? 1 : 0;
    HashAdd(s);
    Append(s);
}

}  // namespace

uint16_t D4SectorChecksum(const uint8_t *data) {
    uint16_t sum = 0;
    for (uint32_t i = 0; i < SectorSize; i++) sum = (uint16_t)(sum + (int8_t)data[i]);
    return sum;
}

// Cuts the budget into chunks of at most 32000 bytes, each holding
// floor(n / 528) - 1 slots.
bool D4CacheInit(uint32_t bytes) {
    uint32_t count = 0;
    while (bytes > 0) {
        uint32_t n = std::min(bytes, ChunkBytes);
        if (n / SlotBytes > 1) count += n / SlotBytes - 1;
        bytes -= n;
    }
    Slots.assign(count, Slot{});
    D4CacheReset();
    return true;
}

void D4CacheReset() {
    Buckets.fill(None);
    Oldest = Newest = None;
    for (int s = 0; s < (int)Slots.size(); s++) {
        Slots[s] = Slot{};
        Append(s);
    }
}

int D4CacheFind(uint32_t ptr) {
    for (int s = Buckets[BucketOf(ptr)]; s != None; s = Slots[s].hashNext)
        if (Slots[s].ptr == ptr) return s;
    return None;
}

bool D4CacheIsDirty(uint32_t ptr) {
    int s = D4CacheFind(ptr);
    return s != None && Slots[s].dirty;
}

bool D4CacheRewriteDirty(uint32_t ptr, const uint8_t *sector) {
    int s = D4CacheFind(ptr);
    if (s == None || !Slots[s].dirty) return false;
    std::memcpy(Slots[s].data, sector, SectorSize);
    Slots[s].checksum = D4SectorChecksum(Slots[s].data);
    Touch(s);
    return true;
}

void D4CacheForget(uint32_t ptr) {
    int s = D4CacheFind(ptr);
    if (s == None) return;
    HashRemove(s);
    Slots[s].ptr = DiskNone;
    Slots[s].dirty = 0;
    // An empty slot is the first to be taken again.
    Unlink(s);
    Slot &x = Slots[s];
    x.newer = Oldest;
    x.older = None;
    if (Oldest != None) Slots[Oldest].older = s; else Newest = s;
    Oldest = s;
}

// Writes every dirty slot, in the order of their disk pointers so that
// runs of neighbouring sectors go out as one write.
bool D4CacheWriteBack() {
    std::vector<int> dirty;
    for (int s = 0; s < (int)Slots.size(); s++)
        if (Slots[s].dirty) dirty.push_back(s);
    if (dirty.empty()) return true;
    if (Db.damaged) return false;
    std::sort(dirty.begin(), dirty.end(), [](int a, int b) { return Slots[a].ptr < Slots[b].ptr; });
    constexpr size_t RunMax = 64;
    std::vector<uint8_t> run;
    run.reserve(RunMax * SectorSize);
    size_t i = 0;
    while (i < dirty.size()) {
        size_t j = i;
        run.clear();
        while (j < dirty.size() && j - i < RunMax &&
               Slots[dirty[j]].ptr == Slots[dirty[i]].ptr + (uint32_t)((j - i) * SectorSize)) {
            if (!SlotIntact(Slots[dirty[j]])) return false;
            run.insert(run.end(), Slots[dirty[j]].data, Slots[dirty[j]].data + SectorSize);
            j++;
        }
        if (!D4DiskWriteAt(run.data(), Slots[dirty[i]].ptr, (uint32_t)run.size(), false)) return false;
        for (size_t k = i; k < j; k++) Slots[dirty[k]].dirty = 0;
        i = j;
    }
    return true;
}

bool D4SectorRead(uint8_t *buffer, uint32_t ptr) {
    if (!D4PtrValid(ptr)) {
        D4Damaged("D4SectorRead DiskPtr outside logical file");
        return false;
    }
    int s = D4CacheFind(ptr);
    if (s != None) {
        if (!SlotIntact(Slots[s])) return false;
        std::memcpy(buffer, Slots[s].data, SectorSize);
        Touch(s);
        return true;
    }
    if (Slots.empty()) return DbFileRead(buffer, ptr, SectorSize);
    s = TakeOldest();
    if (s == None) {
        D4HoldFail();
        return false;
    }
    uint8_t sector[SectorSize];
    if (!DbFileRead(sector, ptr, SectorSize)) {
        Append(s);
        return false;
    }
    Fill(s, ptr, sector, false);
    std::memcpy(buffer, sector, SectorSize);
    return true;
}

bool D4SectorWrite(const uint8_t *buffer, uint32_t ptr) {
    if (!D4WriteAllowed()) return false;
    if (!D4PtrValid(ptr)) {
        D4Damaged("D4SectorWrite DiskPtr outside logical file");
        return false;
    }
    int s = D4CacheFind(ptr);
    if (s != None) {
        std::memcpy(Slots[s].data, buffer, SectorSize);
        Slots[s].checksum = D4SectorChecksum(Slots[s].data);
        Slots[s].dirty = 1;
        Touch(s);
        return true;
    }
    if (Slots.empty()) return D4DiskWriteAt(buffer, ptr, SectorSize, false);
    s = TakeOldest();
    if (s == None) {
        D4HoldFail();
        return false;
    }
    Fill(s, ptr, buffer, true);
    return true;
}

// For tests of memory corruption: flips a byte of a cached sector
// without renewing its checksum. false when the sector is not cached.
bool D4TestCorruptCachedSector(uint32_t ptr, int offset) {
    int s = D4CacheFind(ptr);
    if (s == None || offset < 0 || offset >= (int)SectorSize) return false;
    Slots[s].data[offset] ^= 0x5A;
    return true;
}
