// rescue.cpp - the raw rescue scan: rebuilding what can be had from a
// damaged file by reading every sector straight from the file and
// handing every intact typed chain (format.h) to the export.
#include <algorithm>
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
// typed chain: a record goes to the sink in its register's pass, a block
// in its block's pass (only for a file in the program's byte order, since
// a block's layout is not known here). The sink converts records of a
// foreign-order file (D4FileOrderDiffers).
bool D4RawRescue(const D4RescueSink &sink) {
    if (!Db.open) return false;
    uint32_t end = PhysicalEnd();
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
