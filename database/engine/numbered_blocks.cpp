// numbered_blocks.cpp - numbered blocks (the settings blocks): typed
// chains of type 2 found through the engine's own index "Blocks", whose
// key is the block number as a signed 32-bit value (format.h).
#include "core/pstring.h"
#include "database/engine/engine_state.h"

using namespace dbformat;

namespace {

void PutLE16(uint8_t *p, uint16_t v) {
    p[0] = (uint8_t)v;
    p[1] = (uint8_t)(v >> 8);
}
void PutLE32(uint8_t *p, uint32_t v) {
    for (int i = 0; i < 4; i++) p[i] = (uint8_t)(v >> (8 * i));
}

const uint8_t *BlocksName() {
    static PString name;
    if (name[0] == 0) PStringFromC(name, "Blocks");
    return name;
}

// The key of block number: the number in the file's byte order.
void BlockKey(int number, uint8_t *key) { D4PutLong(key, (uint32_t)number); }

// The segment of block number, or 0 when there is none.
uint32_t FindBlock(int number) {
    uint8_t key[4];
    BlockKey(number, key);
    uint32_t seg, position;
    if (!D4IndexSearch(0, BlocksName(), Db.blocksDef.data(), key, 0, 1, 1, &seg, &position, nullptr)) return 0;
    return seg;
}

}  // namespace

// The "Blocks" definition in the form the interface file gives register
// indexes: head 1, one part (offset 0, length 4, signed 32-bit), key
// length 4, node size 504, 31 entries per node, words 1, 0, 1, no name.
void D4BlocksIndexInit() {
    uint8_t *d = Db.blocksDef.data();
    std::memset(d, 0, Db.blocksDef.size());
    constexpr uint16_t firstPart = DefName + 2;   // the empty name, padded to even
    PutLE16(d + DefFirstPart, firstPart);
    PutLE16(d + DefHead, 1);
    PutLE16(d + DefPartCount, 1);
    PutLE16(d + DefKeyLength, 4);
    PutLE16(d + DefMaxEntries, (uint16_t)((PlainDataMax - NodeEntries) / (4 + EntryFixed)));
    PutLE32(d + DefNodeSize, PlainDataMax);
    PutLE16(d + DefWords, 1);
    PutLE16(d + DefWords + 2, 0);
    PutLE16(d + DefWords + 4, 1);
    d[DefName] = 0;
    uint8_t *part = d + firstPart;
    PutLE16(part, 1);
    PutLE32(part + 2, 0);
    PutLE32(part + 6, 0);
    PutLE16(part + 10, 4);
    PutLE16(part + 12, 5);
}

bool D4BlockStore(int number, const uint8_t *data, uint32_t size) {
    if (!data) {
        D4MessageText("D4BlockStore nvp = NIL");
        return false;
    }
    if (!D4WriteAllowed()) return false;
    D4Hold();
    bool ok;
    uint32_t seg = FindBlock(number);
    uint32_t serial = D4NextRecordId(0);
    if (seg != 0) {
        ok = D4SegmentUpdate(seg, data, size, TypeBlock, (uint16_t)number, serial);
    } else {
        seg = D4SegmentNew(data, size, TypeBlock, (uint16_t)number, serial);
        uint8_t key[4];
        BlockKey(number, key);
        ok = seg != 0 && D4IndexInsert(0, BlocksName(), Db.blocksDef.data(), seg, key);
    }
    return D4HoldEnd(ok);
}

uint32_t D4BlockGetSize(int number) {
    uint32_t seg = FindBlock(number);
    if (seg == 0) return 0;
    int64_t size = D4SegmentGetSize(seg);
    return size < 0 ? 0 : (uint32_t)size;
}

bool D4BlockRead(int number, uint8_t *buffer, uint32_t size) {
    if (size) std::memset(buffer, 0, size);
    uint32_t seg = FindBlock(number);
    if (seg == 0) return false;
    return D4SegmentRead(seg, buffer, size);
}
