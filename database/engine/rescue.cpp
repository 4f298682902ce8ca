// rescue.cpp - the raw rescue scan: rebuilding what can be had from a
// damaged file by reading every sector straight from the file and
// handing every intact typed chain (format.h) that the last commit holds
// to the export.
//
// What the last commit holds is read from the header on disk, never from
// memory (which may hold changes not committed). When its segment tree
// can be walked, only chains it reaches are handed over. When it cannot,
// the scan falls back to every intact chain, but still skips what the
// commit cannot hold: sectors at or past its logical end, sectors its
// free lists name (as far as they can be read), and chains written after
// it (a write serial above its last one).
#include <algorithm>
#include <unordered_set>
#include <vector>

#include "core/definitions.h"
#include "database/engine/engine_state.h"

using namespace dbformat;

namespace {

constexpr uint32_t NoRows = 0xFFFFFFFFu;

// The header's physical end, but never past the file: in a damaged file
// the header is not to be trusted, and chain lengths are checked against
// this end before a buffer of that size is made.
uint32_t PhysicalEnd() {
    uint64_t end = std::min<uint64_t>(D4GetLong(MasterDVp->header.data() + HdrPhysicalEnd), DbFileSize());
    return (uint32_t)end;
}

// A plain item of the last commit, read straight from the file: its data
// (at most 504 bytes) into data. False when it is not one.
bool RawPlain(uint32_t ptr, uint32_t end, uint8_t *sector, const uint8_t **data, uint32_t *length) {
    if (ptr % SectorSize != 0 || ptr < SectorSize || (uint64_t)ptr + SectorSize > end) return false;
    if (!DbFileRead(sector, ptr, SectorSize)) return false;
    *length = D4GetLong(sector + PlainLength);
    *data = sector + PlainData;
    return D4GetLong(sector + PlainNext) == DiskNone && *length <= PlainDataMax;
}

// What the last commit holds: the first sectors of its segments (through
// its segment tree), or the sectors it lists as free when the tree cannot
// be walked. The limits come from the header on disk.
struct Committed {
    bool treeTrusted = false;
    std::unordered_set<uint32_t> firstSectors;   // when the tree is trusted
    std::unordered_set<uint32_t> freeSectors;    // otherwise
    uint32_t logicalEnd = 0;
    uint32_t lastSerial = 0;
};

// Walks the committed segment tree from the header h; false when any
// node is not what it should be (then nothing it gave is used).
bool WalkTree(const uint8_t *h, uint32_t end, Committed *c) {
    uint32_t levels = D4GetLong(h + HdrSegLevels);
    if (levels < 1 || levels > (uint32_t)SegMaxLevels) return false;
    struct Frame { uint32_t ptr, level; };
    std::vector<Frame> stack{{D4GetLong(h + HdrSegRoot), 1}};
    uint32_t budget = end / SectorSize;
    uint8_t sector[SectorSize];
    while (!stack.empty()) {
        Frame f = stack.back();
        stack.pop_back();
        const uint8_t *node;
        uint32_t length;
        if (budget-- == 0 || !RawPlain(f.ptr, end, sector, &node, &length)) return false;
        uint16_t count = D4GetWord(node + SegNodeCount);
        if (length < SegNodeSize || count > SegNodeMax) return false;
        for (int i = 0; i < count; i++) {
            uint32_t p = D4GetLong(node + SegNodeEntries + i * SegEntrySize);
            if (p % SectorSize != 0 || p < SectorSize || p >= end) return false;
            if (f.level < levels) stack.push_back({p, f.level + 1});
            else c->firstSectors.insert(p);
        }
    }
    return true;
}

// Collects the free lists' pointers from the header h, as far as their
// blocks can be read.
void CollectFree(const uint8_t *h, uint32_t end, Committed *c) {
    uint8_t sector[SectorSize];
    for (int off : {HdrFreeA, HdrFreeB}) {
        uint32_t ptr = D4GetLong(h + off);
        uint32_t budget = end / SectorSize;
        while (ptr != DiskNone && budget-- > 0) {
            const uint8_t *block;
            uint32_t length;
            if (!RawPlain(ptr, end, sector, &block, &length) || length < FreeBlockSize) break;
            uint16_t count = std::min<uint16_t>(D4GetWord(block + FreeCount), FreeMax);
            for (int i = 0; i < count; i++) c->freeSectors.insert(D4GetLong(block + FreePtrs + 4 * i));
            ptr = D4GetLong(block + FreeNext);
        }
    }
}

Committed ReadCommitted(uint32_t physicalEnd) {
    Committed c;
    uint8_t h[HeaderSize];
    if (!DbFileRead(h, 0, HeaderSize)) return c;
    c.logicalEnd = std::min(D4GetLong(h + HdrLogicalEnd), physicalEnd);
    c.lastSerial = D4GetLong(h + HdrLastSerial);
    c.treeTrusted = WalkTree(h, c.logicalEnd, &c);
    if (!c.treeTrusted) {
        c.firstSectors.clear();
        CollectFree(h, c.logicalEnd, &c);
    }
    return c;
}

// True when the chain starting at off (its serial given) may be handed
// over: the last commit holds it, as far as can be told.
bool CommitHolds(const Committed &c, uint32_t off, uint32_t serial) {
    if (c.treeTrusted) return c.firstSectors.count(off) != 0;
    return off < c.logicalEnd && serial <= c.lastSerial && c.freeSectors.count(off) == 0;
}

}  // namespace

// Reads the chain at ptr straight from the file into buffer (length
// bytes). Intact when the sequence words run 1, 2, 3, ... and the chain
// holds length bytes within the physical end.
bool D4RawReadChain(uint8_t *buffer, uint32_t ptr, uint32_t length) {
    uint32_t end = PhysicalEnd();
    uint8_t sector[SectorSize];
    uint32_t done = 0;
    uint16_t seq = 1;
    for (;;) {
        if (ptr % SectorSize != 0 || ptr < SectorSize || (uint64_t)ptr + SectorSize > end) return false;
        if (!DbFileRead(sector, ptr, SectorSize)) return false;
        if (D4GetWord(sector + ChainSeq) != seq) return false;
        int at = seq == 1 ? ChainFirstData : ChainLaterData;
        uint32_t room = seq == 1 ? ChainFirstRoom : ChainLaterRoom;
        uint32_t n = std::min(room, length - done);
        if (n) std::memcpy(buffer + done, sector + at, n);
        done += n;
        if (done >= length) return true;
        ptr = D4GetLong(sector + ChainNext);
        if (ptr == ChainEnd || ptr == DiskNone) return false;
        seq++;
    }
}

// Four passes; in each, every sector from 512 up to the physical end.
// A sector with a next pointer other than -1 and sequence 1 starts a
// typed chain; one the last commit holds (see above) is handed over when
// intact: a record goes to the sink in its register's pass, a block
// in its block's pass (only for a file in the program's byte order, since
// a block's layout is not known here). The sink converts records of a
// foreign-order file (D4FileOrderDiffers).
bool D4RawRescue(const D4RescueSink &sink) {
    if (!Db.open) return false;
    uint32_t end = PhysicalEnd();
    const Committed committed = ReadCommitted(end);
    uint8_t sector[SectorSize];
    for (int pass = 1; pass <= 4; pass++) {
        for (uint64_t off = SectorSize; off + SectorSize <= end; off += SectorSize) {
            if (sink.progress && (off / SectorSize) % 256 == 1) sink.progress(pass, (uint32_t)off, end);
            if (!DbFileRead(sector, off, SectorSize)) return false;
            if (D4GetLong(sector + ChainNext) == DiskNone || D4GetWord(sector + ChainSeq) != 1) continue;
            uint32_t length = D4GetLong(sector + ChainLength);
            uint16_t type = D4GetWord(sector + ChainType), number = D4GetWord(sector + ChainNumber);
            uint32_t serial = D4GetLong(sector + ChainSerial);
            if (length > end) continue;   // no chain in this file can be longer
            if (!CommitHolds(committed, (uint32_t)off, serial)) continue;
            if (type == TypeRecord) {
                int reg = number;
                uint32_t size = RegRecordSize(reg);
                if (reg < 1 || reg > 132 || size == 0 || RegIsSimple(reg)) continue;
                if (!sink.registerClass || sink.registerClass(reg) != pass || !sink.record) continue;
                std::vector<uint8_t> data(length);
                if (!D4RawReadChain(data.data(), (uint32_t)off, length)) continue;
                std::vector<uint8_t> record(size, 0);
                int32_t rowsAt = RegMatrixOffset(reg);
                if (rowsAt >= 0 && (uint32_t)rowsAt + 4 <= size) std::memset(record.data() + rowsAt, 0, 4);
                if (!D4RecordUnpack(reg, record.data(), data.data(), length)) continue;
                sink.record(reg, serial, record.data());
                if (rowsAt >= 0 && (uint32_t)rowsAt + 4 <= size) {
                    MemBlock rows;
                    std::memcpy(&rows, record.data() + rowsAt, 4);
                    if (rows != 0 && rows != NoRows) MemFree(&rows);
                }
            } else if (type == TypeBlock && !Db.swap) {
                if (!sink.blockClass || sink.blockClass(number) != pass || !sink.block) continue;
                std::vector<uint8_t> data(length);
                if (!D4RawReadChain(data.data(), (uint32_t)off, length)) continue;
                sink.block(number, serial, data.data(), length);
            }
        }
    }
    return true;
}
