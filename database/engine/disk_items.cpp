// disk_items.cpp - items laid over sectors: plain one-sector items and
// typed chains (layouts in format.h). Store, write in place, update,
// read and size; every number read from a sector is checked before it
// is followed.
#include <cassert>

#include "database/engine/engine_state.h"

using namespace dbformat;

// Stores data as a new chain and returns its first sector (none on
// failure). Type 0 is a plain item of at most 504 bytes; types 1 and 2
// are typed chains of any length. life tells the allocator where the
// sectors fit best. Must run inside a hold.
uint32_t D4DiskStore(const uint8_t *data, uint32_t length, uint16_t type, uint16_t number, uint32_t serial,
                     D4Life life) {
    if (CurDVp->holdCnt < 1) {
        D4Message("D4DiskStore holdCnt ", CurDVp->holdCnt);
        assert(!"D4DiskStore outside a hold");
        return DiskNone;
    }
    if (type == 0 && length > PlainDataMax) {
        assert(!"plain item over 504 bytes");
        D4HoldFail();
        return DiskNone;
    }
    if (!D4WriteAllowed()) return DiskNone;
    uint32_t first = D4DiskGetFree(life);
    if (first == DiskNone) return DiskNone;
    uint8_t sector[SectorSize];
    uint32_t cur = first, done = 0;
    uint16_t seq = 1;
    for (;;) {
        // Every byte is written once: the fields before the data, the
        // data, then zeros to the end.
        uint32_t room, at;
        if (type == 0) {
            D4PutLong(sector + PlainLength, length);
            at = PlainData;
            room = PlainDataMax;
        } else if (seq == 1) {
            D4PutWord(sector + ChainSeq, 1);
            D4PutLong(sector + ChainLength, length);
            D4PutWord(sector + ChainType, type);
            D4PutWord(sector + ChainNumber, number);
            D4PutLong(sector + ChainSerial, serial);
            at = ChainFirstData;
            room = ChainFirstRoom;
        } else {
            D4PutWord(sector + ChainSeq, seq);
            at = ChainLaterData;
            room = ChainLaterRoom;
        }
        uint32_t n = std::min(room, length - done);
        if (n) std::memcpy(sector + at, data + done, n);
        std::memset(sector + at + n, 0, SectorSize - at - n);
        done += n;
        uint32_t next = type == 0 ? DiskNone : ChainEnd;
        if (done < length) {
            next = D4DiskGetFree(life);
            if (next == DiskNone) return DiskNone;
        }
        D4PutLong(sector + ChainNext, next);
        if (!D4SectorWrite(sector, cur)) return DiskNone;
        if (done >= length) break;
        cur = next;
        seq++;
    }
    if (type != 0 && serial >= HdrGetLong(HdrLastSerial) + 1) HdrSetLong(HdrLastSerial, serial);
    return first;
}

// Writes a plain item of at most 504 bytes into an existing sector; only
// through the master descriptor.
bool D4DiskWrite(const uint8_t *data, uint32_t ptr, uint32_t length) {
    if (CurDVp != MasterDVp) {
        D4MessageText("D4DiskWrite DVp!=MasterDVp");
        D4HoldFail();
        return false;
    }
    if (length > PlainDataMax) {
        D4Message("D4DiskWrite bigger than sectorSize", length);
        assert(!"D4DiskWrite over 504 bytes");
        D4HoldFail();
        return false;
    }
    return D4SectorWritePlain(ptr, data, length);
}

// True when an item at ptr may be rewritten where it is (see below).
bool D4DiskInPlace(uint32_t ptr) { return D4SectorFresh(ptr) || D4CacheIsDirty(ptr); }

// Rewrites a plain item. A sector already written since the last
// write-back (its cache slot dirty) or handed out since the last commit
// (written since, even when the cache has let it go) is rewritten where
// it is; otherwise the item moves to a fresh sector so that the committed
// file, and any open snapshot, keep its old version. This holds in both
// flush modes: mode 0 only defers the commit, so rewriting a committed
// sector in place there would leave a crash before the next commit with
// neither the old state nor the new one. The new copy is expected to live
// as the old one did. Returns where the item now lives (none on failure).
uint32_t D4DiskUpdate(const uint8_t *data, uint32_t ptr, uint32_t length, bool chain) {
    if (length > PlainDataMax) {
        assert(!"D4DiskUpdate over 504 bytes");
        D4HoldFail();
        return DiskNone;
    }
    if (!D4WriteAllowed()) return DiskNone;
    if (D4DiskInPlace(ptr))
        return D4DiskWrite(data, ptr, length) ? ptr : DiskNone;
    D4Life life = D4LifeOfCopy(ptr);
    if (!D4DiskRelease(ptr, chain)) return DiskNone;
    return D4DiskStore(data, length, 0, 0, 0, life);
}

bool D4DiskReadChain(uint8_t *buffer, uint32_t ptr, uint32_t length, ChainInfo *info) {
    const uint8_t *sector = D4SectorPeek(ptr);
    if (!sector) return false;
    ChainInfo local;
    ChainInfo &ci = info ? *info : local;
    ci = ChainInfo{};
    uint32_t next = D4GetLong(sector + ChainNext);
    if (next == DiskNone) {
        uint32_t stored = D4GetLong(sector + PlainLength);
        if (stored > PlainDataMax) {
            D4Damaged("D4DiskRead plain item length");
            return false;
        }
        ci.length = stored;
        uint32_t n = std::min(length, stored);
        if (n) std::memcpy(buffer, sector + PlainData, n);
        if (length > n) std::memset(buffer + n, 0, length - n);
        return true;
    }
    if (D4GetWord(sector + ChainSeq) != 1) {
        D4Damaged("D4DiskRead chain sequence");
        return false;
    }
    ci.length = D4GetLong(sector + ChainLength);
    ci.type = D4GetWord(sector + ChainType);
    ci.number = D4GetWord(sector + ChainNumber);
    ci.serial = D4GetLong(sector + ChainSerial);
    uint32_t want = std::min(length, ci.length);
    uint32_t done = std::min(want, ChainFirstRoom);
    if (done) std::memcpy(buffer, sector + ChainFirstData, done);
    uint16_t seq = 1;
    while (done < want) {
        if (next == ChainEnd || next == DiskNone) {
            D4Damaged("D4DiskRead chain shorter than its length");
            return false;
        }
        if (!(sector = D4SectorPeek(next))) return false;
        if (D4GetWord(sector + ChainSeq) != (uint16_t)(seq + 1)) {
            D4Damaged("D4DiskRead chain sequence");
            return false;
        }
        seq++;
        uint32_t n = std::min(want - done, ChainLaterRoom);
        std::memcpy(buffer + done, sector + ChainLaterData, n);
        done += n;
        next = D4GetLong(sector + ChainNext);
    }
    if (length > done) std::memset(buffer + done, 0, length - done);
    return true;
}

bool D4DiskRead(uint8_t *buffer, uint32_t ptr, uint32_t length, uint32_t *serial) {
    ChainInfo ci;
    if (!D4DiskReadChain(buffer, ptr, length, &ci)) return false;
    if (serial) *serial = ci.serial;
    return true;
}

int64_t D4DiskGetSize(uint32_t ptr) {
    const uint8_t *sector = D4SectorPeek(ptr);
    if (!sector) return -1;
    if (D4GetLong(sector + ChainNext) == DiskNone) {
        uint32_t n = D4GetLong(sector + PlainLength);
        if (n > PlainDataMax) {
            D4Damaged("D4DiskRead plain item length");
            return -1;
        }
        return n;
    }
    if (D4GetWord(sector + ChainSeq) != 1) {
        D4Damaged("D4DiskRead chain sequence");
        return -1;
    }
    uint32_t n = D4GetLong(sector + ChainLength);
    // A chain cannot hold more bytes than the file has sectors for.
    if (n > HdrGetLong(HdrLogicalEnd)) {
        D4Damaged("D4DiskRead chain length");
        return -1;
    }
    return n;
}

bool D4DiskReadNew(uint32_t ptr, MemBlock *out, uint32_t limit, ChainInfo *info) {
    *out = 0;
    int64_t size = D4DiskGetSize(ptr);
    if (size < 0) return false;
    uint32_t n = (uint32_t)size;
    if (limit && limit < n) n = limit;
    MemBlock h = MemAlloc(n);
    if (!h) {
        D4HoldFail();
        return false;
    }
    uint8_t *p = MemLock(h);
    bool ok = D4DiskReadChain(p, ptr, n, info);
    MemUnlock(h);
    if (!ok) {
        MemFree(&h);
        return false;
    }
    *out = h;
    return true;
}

const uint8_t *D4PeekPlain(uint32_t ptr, uint32_t *length, const char *what) {
    const uint8_t *sector = D4SectorPeek(ptr);
    if (!sector) return nullptr;
    uint32_t n = D4GetLong(sector + PlainLength);
    if (D4GetLong(sector + PlainNext) != DiskNone || n > PlainDataMax) {
        D4Damaged(what);
        return nullptr;
    }
    if (length) *length = n;
    return sector + PlainData;
}

bool D4ReadPlain(uint32_t ptr, uint8_t *buffer, uint32_t *length, const char *what) {
    const uint8_t *data = D4PeekPlain(ptr, length, what);
    if (!data) return false;
    std::memcpy(buffer, data, PlainDataMax);
    std::memset(buffer + PlainDataMax, 0, SectorSize - PlainDataMax);
    return true;
}

bool D4DiskReadInto(uint32_t ptr, std::vector<uint8_t> *out, uint32_t limit, ChainInfo *info) {
    int64_t size = D4DiskGetSize(ptr);
    if (size < 0) return false;
    uint32_t n = (uint32_t)size;
    if (limit && limit < n) n = limit;
    out->resize(n);
    return D4DiskReadChain(out->data(), ptr, n, info);
}
