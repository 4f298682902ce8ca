// records.cpp - the records of a register: one typed chain (type 1) per
// record, reached through its segment number (the record id), with a key
// in every index of the register kept in step. A simple register stores
// nothing but its keys: the whole record is the key.
//
// A stored record is the fixed part followed by its rows bytes (format.h);
// rows of any length are stored and read back.
#include <cstdio>
#include <vector>

#include "core/definitions.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "database/engine/engine_state.h"

using namespace dbformat;

namespace {

constexpr uint32_t NoRows = 0xFFFFFFFFu;   // rows handle asking a read to skip rows

// Buffers that serve one change or read after another (the record
// layer's calls do not nest).
std::vector<uint8_t> PackedBuffer;                 // PackForStore
std::vector<uint8_t> LiveData, LiveFixed;          // ReadLive
std::vector<uint8_t> ReadBuffer;                   // D4RecordReadRecid

bool RegisterValid(int reg) { return reg >= 1 && reg <= 132 && RegRecordSize(reg) > 0; }

// True when the register's records keep a rows handle inside the record.
bool HasRows(int reg) {
    int32_t off = RegMatrixOffset(reg);
    return off >= 0 && (uint32_t)off + 4 <= RegRecordSize(reg);
}

uint32_t RowsHandle(int reg, const uint8_t *record) {
    if (!HasRows(reg)) return 0;
    uint32_t h;
    std::memcpy(&h, record + RegMatrixOffset(reg), 4);
    return h;
}

void SetRowsHandle(int reg, uint8_t *record, uint32_t h) {
    if (HasRows(reg)) std::memcpy(record + RegMatrixOffset(reg), &h, 4);
}

void MessageWithName(const char *text, int reg) {
    PString t;
    PStringFromC(t, text);
    PStringAppend(t, RegName(reg));
    ShowMessage(0, t);
}

// The register's index definitions, every one checked; false when any
// cannot be used (nothing is changed then).
bool IndexDefsValid(int reg) {
    int n = RegIndexCount(reg);
    for (int i = 0; i < n; i++) {
        const uint8_t *def = RegIndexDef(reg, i);
        if (!D4IndexDefValid(def)) return false;
        if (RegIsSimple(reg) && IndexDefKeyLength(def) != RegRecordSize(reg)) {
            D4MessageText("Error in key: a simple register's key is the whole record");
            return false;
        }
    }
    return true;
}

struct KeyBuf {
    uint8_t b[PlainDataMax];
};

}  // namespace

const uint8_t *D4IndexFindByName(int reg, const char *name) {
    PString wanted;
    PStringFromC(wanted, name ? name : "");
    int n = RegIndexCount(reg);
    for (int i = 0; i < n; i++) {
        const uint8_t *def = RegIndexDef(reg, i);
        if (PStringEqual(IndexDefName(def), wanted)) return def;
    }
    PString t;
    PStringFromC(t, "Error in key ");
    PStringAppend(t, wanted);
    ShowMessage(0, t);
    return nullptr;
}

bool D4IndexFullName(int reg, const uint8_t *def, uint8_t *full) {
    if (reg == 0) {
        PStringFromC(full, "Blocks");
        return true;
    }
    const uint8_t *r = RegName(reg), *i = IndexDefName(def);
    if (r[0] + 1 + i[0] >= MlNameRoom) {
        D4MessageText("D4IndexFullName name too long");
        return false;
    }
    PStringCopy(full, r);
    PStringAppendChar(full, ':');
    PStringAppend(full, i);
    return true;
}

void BuildKey(int reg, const uint8_t *def, const uint8_t *record, uint8_t *key) {
    if (reg == 0) D4MessageText("BuildKey fnr==0");
    uint32_t klen = IndexDefKeyLength(def);
    std::memset(key, 0, klen);
    if (RegIsSimple(reg)) {
        std::memcpy(key, record, std::min(klen, RegRecordSize(reg)));
        return;
    }
    uint32_t size = RegRecordSize(reg);
    for (int i = 0; i < IndexDefPartCount(def); i++) {
        KeyPartInfo part = IndexDefPart(def, i);
        if ((uint64_t)part.recordOffset + part.length > size || (uint64_t)part.keyOffset + part.length > klen)
            continue;
        std::memcpy(key + part.keyOffset, record + part.recordOffset, part.length);
    }
}

uint32_t D4NextRecordId(uint32_t) { return HdrGetLong(HdrLastSerial) + 1; }

namespace {

// A record as stored (the fixed part, then its rows), in a buffer kept
// for the next change: the record layer's changes do not nest (the
// engine never calls back into it), and allocating per change cost more
// than the copy.
const std::vector<uint8_t> *PackForStore(int reg, const uint8_t *record) {
    std::vector<uint8_t> &packed = PackedBuffer;
    uint32_t size = RegRecordSize(reg), rows = 0;
    MemBlock h = RowsHandle(reg, record);
    if (h != 0 && h != NoRows && MemIsValid(h)) rows = MemSize(h);
    else h = 0;
    if ((uint64_t)size + rows > 0xFFFFFFF0u) {
        D4MessageText("D4RecordPack record too long");
        return nullptr;
    }
    packed.resize(size + rows);
    std::memcpy(packed.data(), record, size);
    if (rows) {
        std::memcpy(packed.data() + size, MemLock(h), rows);
        MemUnlock(h);
    }
    return &packed;
}

}  // namespace

bool D4RecordPack(int reg, const uint8_t *record, MemBlock *out, uint32_t *length) {
    const std::vector<uint8_t> *packed = PackForStore(reg, record);
    if (!packed) return false;
    *out = MemAlloc((uint32_t)packed->size());
    if (!*out) return false;
    uint8_t *p = MemLock(*out);
    if (!packed->empty()) std::memcpy(p, packed->data(), packed->size());
    MemUnlock(*out);
    *length = (uint32_t)packed->size();
    return true;
}

// Copies a stored record into record: the fixed part (the rest zero when
// it was stored shorter), then the rows into a new handle unless the
// record's rows handle was NoRows (then 0). Rows of any length come back.
bool D4RecordUnpack(int reg, uint8_t *record, const uint8_t *data, uint32_t length) {
    uint32_t size = RegRecordSize(reg);
    bool wanted = true;
    if (HasRows(reg)) {
        MemBlock h = RowsHandle(reg, record);
        if (h == NoRows) wanted = false;
        else if (h != 0 && MemIsValid(h)) MemFree(&h);
    }
    uint32_t fixed = std::min(length, size);
    std::memcpy(record, data, fixed);
    if (fixed < size) std::memset(record + fixed, 0, size - fixed);
    if (!HasRows(reg)) return true;
    MemBlock rows = 0;
    if (wanted) {
        uint32_t rest = length > size ? length - size : 0;
        rows = MemAlloc(rest);
        if (!rows) {
            SetRowsHandle(reg, record, 0);
            return false;
        }
        if (rest) {
            std::memcpy(MemLock(rows), data + size, rest);
            MemUnlock(rows);
        }
    }
    SetRowsHandle(reg, record, rows);
    return true;
}

namespace {

// Checks the index definitions of a register about to be changed and
// their full names, all before anything changes; the change then takes
// them one by one through IndexAt (nothing is kept between, so a change
// allocates nothing for them). refuseSimple names the operation when a
// simple register cannot take it. Any refusal marks the enclosing hold
// failed.
bool IndexesForChange(int reg, const char *refuseSimple) {
    if (!D4WriteAllowed()) return false;
    if (!RegisterValid(reg) || !IndexDefsValid(reg)) {
        D4HoldFail();
        return false;
    }
    if (refuseSimple && RegIsSimple(reg)) {
        MessageWithName(refuseSimple, reg);
        D4HoldFail();
        return false;
    }
    PString name;
    for (int i = 0; i < RegIndexCount(reg); i++)
        if (!D4IndexFullName(reg, RegIndexDef(reg, i), name)) {
            D4HoldFail();
            return false;
        }
    return true;
}

// Index i of a register that IndexesForChange passed: its definition,
// with its full name into name (null should the name fail after all).
const uint8_t *IndexAt(int reg, int i, uint8_t *name) {
    const uint8_t *def = RegIndexDef(reg, i);
    return D4IndexFullName(reg, def, name) ? def : nullptr;
}

// Reads record recid of reg before it is changed: its fixed part, in a
// buffer kept for the next change (valid until then), rows handle 0. A
// record with rows is read whole, so that its chain is checked as
// before, but its rows are not kept: only keys are taken from it. An id
// that names no live record of the register (never issued, deleted, or
// another register's) is the caller's mistake, not damage: the request
// is refused quietly and the hold fails (null); the record layer tells
// the user. A broken structure behind the id has been reported as damage
// by the read.
const uint8_t *ReadLive(int reg, uint32_t recid) {
    uint32_t size = RegRecordSize(reg);
    uint32_t limit = HasRows(reg) ? 0 : size;
    std::vector<uint8_t> &data = LiveData, &fixed = LiveFixed;
    ChainInfo info;
    if (!D4SegmentReadInto(recid, &data, limit, &info) || info.type != TypeRecord || info.number != reg) {
        D4HoldFail();
        return nullptr;
    }
    fixed.assign(size, 0);
    if (!data.empty()) std::memcpy(fixed.data(), data.data(), std::min((uint32_t)data.size(), size));
    SetRowsHandle(reg, fixed.data(), 0);
    return fixed.data();
}

}  // namespace

bool D4RecordInsert(int reg, uint8_t *record, uint32_t *recid) {
    *recid = DiskNone;
    if (!IndexesForChange(reg, nullptr)) return false;
    D4Hold();
    uint32_t id = 0;
    if (!RegIsSimple(reg)) {
        const std::vector<uint8_t> *packed = PackForStore(reg, record);
        if (!packed) return D4HoldEnd(false);
        id = D4SegmentNew(packed->data(), (uint32_t)packed->size(), TypeRecord, (uint16_t)reg, D4NextRecordId(0));
        if (id == 0) return D4HoldEnd(false);
    }
    KeyBuf key;
    PString name;
    for (int i = 0; i < RegIndexCount(reg); i++) {
        const uint8_t *def = IndexAt(reg, i, name);
        if (!def) return D4HoldEnd(false);
        BuildKey(reg, def, record, key.b);
        if (!D4IndexInsert(reg, name, def, id, key.b)) return D4HoldEnd(false);
    }
    *recid = id;
    return D4HoldEnd(true);
}

int D4RecordReadRecid(int reg, uint32_t recid, uint8_t *record) {
    if (!RegisterValid(reg)) return 0;
    if (RegIsSimple(reg)) {
        MessageWithName("D4RecordReadRecid on simple ", reg);
        return 0;
    }
    // Without rows only the fixed part is wanted.
    uint32_t limit = !HasRows(reg) || RowsHandle(reg, record) == NoRows ? RegRecordSize(reg) : 0;
    // One buffer serves every read (walks read record after record).
    std::vector<uint8_t> &stored = ReadBuffer;
    ChainInfo info;
    if (!D4SegmentReadInto(recid, &stored, limit, &info)) return 0;
    if (info.type != TypeRecord || info.number != reg) {
        D4MessageText("D4RecordReadRecid found wrong data/fnr");
        return 0;
    }
    return D4RecordUnpack(reg, record, stored.data(), (uint32_t)stored.size()) ? 1 : 0;
}

bool D4RecordReadStored(int reg, uint32_t recid, MemBlock *out) {
    *out = 0;
    if (!RegisterValid(reg)) return false;
    MemBlock h = MemAlloc(RegRecordSize(reg));
    if (!h) return false;
    uint8_t *p = MemLock(h);
    int ok = D4RecordReadRecid(reg, recid, p);
    MemUnlock(h);
    if (!ok) {
        MemFree(&h);
        return false;
    }
    *out = h;
    return true;
}

void D4RecordFree(int reg, MemBlock *record) {
    if (!*record) return;
    if (HasRows(reg)) {
        uint8_t *p = MemLock(*record);
        MemBlock rows = RowsHandle(reg, p);
        MemUnlock(*record);
        if (rows != 0 && rows != NoRows && MemIsValid(rows)) MemFree(&rows);
    }
    MemFree(record);
}

namespace {

// The keys of index def for the stored record old and its new version
// record: true when they differ (the index entry must move).
bool KeyChanges(int reg, const uint8_t *def, const uint8_t *old, const uint8_t *record, KeyBuf *oldKey,
                KeyBuf *newKey) {
    BuildKey(reg, def, old, oldKey->b);
    BuildKey(reg, def, record, newKey->b);
    return D4KeyComparePrefix(def, oldKey->b, newKey->b, 0) != 0;
}

}  // namespace

// The keys that change are taken out of their indexes before the record
// is rewritten and put back after; both passes derive them from the
// stored record as ReadLive keeps it.
bool RecordIDUpdate(int reg, uint32_t recid, uint8_t *record) {
    if (!IndexesForChange(reg, "RecordIDUpdate on simple ")) return false;
    const uint8_t *old = ReadLive(reg, recid);
    if (!old) return false;
    D4Hold();
    bool ok = true;
    KeyBuf oldKey, newKey;
    PString name;
    int count = RegIndexCount(reg);
    for (int i = 0; i < count && ok; i++) {
        const uint8_t *def = IndexAt(reg, i, name);
        ok = def != nullptr;
        if (ok && KeyChanges(reg, def, old, record, &oldKey, &newKey))
            ok = D4IndexDelete(reg, name, def, recid, oldKey.b);
    }
    if (ok) {
        const std::vector<uint8_t> *packed = PackForStore(reg, record);
        ok = packed && D4SegmentUpdate(recid, packed->data(), (uint32_t)packed->size(), TypeRecord,
                                       (uint16_t)reg, D4NextRecordId(0));
    }
    for (int i = 0; i < count && ok; i++) {
        const uint8_t *def = IndexAt(reg, i, name);
        ok = def != nullptr;
        if (ok && KeyChanges(reg, def, old, record, &oldKey, &newKey))
            ok = D4IndexInsert(reg, name, def, recid, newKey.b);
    }
    return D4HoldEnd(ok);
}

bool D4RecordIDDelete(int reg, uint32_t recid) {
    if (!IndexesForChange(reg, "D4RecordIDDelete on simple ")) return false;
    const uint8_t *old = ReadLive(reg, recid);
    if (!old) return false;
    D4Hold();
    bool ok = true;
    KeyBuf key;
    PString name;
    for (int i = 0; i < RegIndexCount(reg) && ok; i++) {
        const uint8_t *def = IndexAt(reg, i, name);
        ok = def != nullptr;
        if (ok) {
            BuildKey(reg, def, old, key.b);
            ok = D4IndexDelete(reg, name, def, recid, key.b);
        }
    }
    if (ok) ok = D4SegmentRelease(recid);
    return D4HoldEnd(ok);
}

namespace {

// The definition, its full name and the record's key for a search.
bool Prepare(int reg, const char *index, const uint8_t *record, const uint8_t **def, uint8_t *name, uint8_t *key) {
    if (!RegisterValid(reg)) return false;
    *def = D4IndexFindByName(reg, index);
    if (!*def || !D4IndexDefValid(*def) || !D4IndexFullName(reg, *def, name)) return false;
    if (record) BuildKey(reg, *def, record, key);
    return true;
}

}  // namespace

bool D4RecordFindKey(int reg, const char *index, uint8_t *record, int parts, int exact, int direction,
                     uint32_t *recid, uint32_t *position) {
    *recid = DiskNone;
    const uint8_t *def;
    PString name;
    KeyBuf key;
    if (!Prepare(reg, index, record, &def, name, key.b)) return false;
    return D4IndexSearch(reg, name, def, key.b, parts, exact, direction, recid, position, record);
}

bool D4RecordFind(int reg, const char *index, uint8_t *record, int parts, int exact, int direction,
                  uint32_t *recid, uint32_t *position) {
    if (!D4RecordFindKey(reg, index, record, parts, exact, direction, recid, position)) return false;
    if (RegIsSimple(reg)) return true;
    return D4RecordReadRecid(reg, *recid, record) == 1;
}

bool D4RecordReadPos(int reg, const char *index, uint32_t position, uint8_t *record, uint32_t *recid) {
    *recid = DiskNone;
    const uint8_t *def;
    PString name;
    if (!Prepare(reg, index, nullptr, &def, name, nullptr)) return false;
    if (!D4IndexReadPos(reg, name, def, position, recid, record)) return false;
    if (RegIsSimple(reg)) return *recid == 0;
    return D4RecordReadRecid(reg, *recid, record) == 1;
}

uint32_t D4RecordCount(int reg, const char *index) {
    const uint8_t *def;
    PString name;
    if (!Prepare(reg, index, nullptr, &def, name, nullptr)) return 0;
    return D4IndexCount(name, def);
}

bool D4RecordPosition(int reg, const char *index, const uint8_t *record, uint32_t recid, uint32_t *position) {
    *position = 0;
    const uint8_t *def;
    PString name;
    KeyBuf key;
    if (!Prepare(reg, index, record, &def, name, key.b)) return false;
    *position = D4IndexFindEntry(name, def, key.b, recid);
    return *position != 0;
}
