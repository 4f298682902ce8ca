// interface_write.cpp - lays an InterfaceDefs out as the binary interface
// file (the layout is described in interface_write.h).
//
// Everything the loader would refuse is refused here first, naming the
// dictionary item and its source line, so that a file this writer makes
// always loads. Only the standard library and interface_defs.h are used:
// the dictionary compiler links this file on its own.
#include "core/interface_write.h"

#include <algorithm>
#include <cstdio>
#include <set>

namespace {

constexpr uint64_t OffsetLimit = 0xFFFFFFFEu;   // the largest offset; all bits set is "absent"

// A block under construction: little-endian puts and later patches.
struct Out {
    std::vector<uint8_t> b;
    size_t Size() const { return b.size(); }
    void U8(uint8_t v) { b.push_back(v); }
    void U16(uint16_t v) {
        b.push_back((uint8_t)v);
        b.push_back((uint8_t)(v >> 8));
    }
    void U32(uint32_t v) {
        for (int i = 0; i < 4; i++) b.push_back((uint8_t)(v >> (8 * i)));
    }
    void Bytes(const std::vector<uint8_t> &v) { b.insert(b.end(), v.begin(), v.end()); }
    void PStr(const std::string &s) {
        U8((uint8_t)s.size());
        b.insert(b.end(), s.begin(), s.end());
    }
    void Patch32(size_t at, uint32_t v) {
        for (int i = 0; i < 4; i++) b[at + i] = (uint8_t)(v >> (8 * i));
    }
};

uint16_t Get16(const std::vector<uint8_t> &v, size_t at) { return (uint16_t)(v[at] | v[at + 1] << 8); }

// Collects the first fault; every check after it is skipped by the callers.
struct Writer {
    std::string error;
    bool Fail(const std::string &where, const std::string &what) {
        if (error.empty()) error = where + ": " + what;
        return false;
    }
    bool ok() const { return error.empty(); }
};

std::string Line(int line) { return line > 0 ? " (line " + std::to_string(line) + ")" : ""; }

std::string RegWhere(const RegisterDefSource &r) {
    return "register " + std::to_string(r.number) + " \"" + r.name + "\"" + Line(r.line);
}

std::string SetWhere(const SettingsBlockSource &s) {
    return "settings block " + std::to_string(s.number) + Line(s.line);
}

// The last index word of a table of count entries (65535 for none).
bool LastIndex(Writer &w, const std::string &where, size_t count, uint16_t *word) {
    if (count > 65535) return w.Fail(where, std::to_string(count) + " entries; at most 65535 fit");
    *word = count == 0 ? LastIndexNone : (uint16_t)(count - 1);
    return true;
}

// An offset into a block as stored; fails when the block has grown past 32 bits.
bool Offset(Writer &w, const char *block, size_t at, uint32_t *off) {
    if (at > OffsetLimit) return w.Fail(block, "the block grows past 4 GB; offsets no longer fit in 32 bits");
    *off = (uint32_t)at;
    return true;
}

bool PutFieldList(Writer &w, Out &o, const std::string &where, const std::vector<FieldDef> &fields,
                  int64_t limit) {
    uint16_t last;
    if (!LastIndex(w, where + " field list", fields.size(), &last)) return false;
    o.U16(last);
    for (const FieldDef &f : fields) {
        if (limit >= 0 && f.offset >= (uint64_t)limit)
            return w.Fail(where, "field \"" + f.name + "\"" + Line(f.line) + " at offset " +
                                     std::to_string(f.offset) + " lies outside the record of " +
                                     std::to_string(limit) + " bytes");
        o.U16(FieldEntrySize);
        o.U32(f.offset);
        o.U16(f.type);
        o.U16(f.size);
    }
    return true;
}

bool PutRowLayout(Writer &w, Out &o, const std::string &where, const RowLayoutDef &rows) {
    if (rows.rowSize > RecordSizeMax)
        return w.Fail(where, "row size " + std::to_string(rows.rowSize) + " is over " +
                                 std::to_string(RecordSizeMax) + " bytes");
    if (rows.fields.size() > 65535)
        return w.Fail(where, "the row layout has " + std::to_string(rows.fields.size()) +
                                 " fields; at most 65535 fit");
    o.U16(RowLayoutHeaderSize);
    o.U16((uint16_t)rows.fields.size());
    o.U32(rows.rowSize);
    o.U16(rows.kindCount);
    for (const RowFieldDef &f : rows.fields) {
        if (f.offset >= rows.rowSize)
            return w.Fail(where, "row field \"" + f.name + "\"" + Line(f.line) + " at offset " +
                                     std::to_string(f.offset) + " lies outside the row of " +
                                     std::to_string(rows.rowSize) + " bytes");
        o.U16(RowFieldEntrySize);
        o.U16(f.kind);
        o.U32(f.offset);
        o.U16(f.type);
        o.U16(f.size);
    }
    return true;
}

bool PutIndexDef(Writer &w, Out &o, const RegisterDefSource &r, const IndexDefSource &x,
                 std::set<uint16_t> &heads) {
    std::string where = RegWhere(r) + ", index \"" + x.name + "\"" + Line(x.line);
    if (r.name.size() + 1 + x.name.size() > IndexFullNameMax)
        return w.Fail(where, "the name \"" + r.name + ":" + x.name + "\" is over " +
                                 std::to_string(IndexFullNameMax) + " characters");
    if (x.head < 1 || x.head > IndexHeadMax)
        return w.Fail(where, "index head " + std::to_string(x.head) + " is out of 1..350");
    if (!heads.insert(x.head).second)
        return w.Fail(where, "index head " + std::to_string(x.head) + " is used by another index");
    if (x.parts.size() > 65535) return w.Fail(where, "too many key parts");
    if (x.nodeSize > IndexNodeMax)
        return w.Fail(where, "node size " + std::to_string(x.nodeSize) + " exceeds 504 bytes");
    if (x.maxEntries < 2) return w.Fail(where, "a node must hold at least 2 entries");
    if (NodeHeaderSize + (uint64_t)x.maxEntries * (x.keyLength + NodeEntryExtra) > x.nodeSize)
        return w.Fail(where, std::to_string(x.maxEntries) + " entries of key length " +
                                 std::to_string(x.keyLength) + " do not fit a node of " +
                                 std::to_string(x.nodeSize) + " bytes");
    for (size_t i = 0; i < x.parts.size(); i++) {
        const KeyPartDef &k = x.parts[i];
        if ((uint64_t)k.recordOffset + k.length > r.recordSize)
            return w.Fail(where, "key part " + std::to_string(i + 1) + " lies outside the record");
        if ((uint64_t)k.keyOffset + k.length > x.keyLength)
            return w.Fail(where, "key part " + std::to_string(i + 1) + " lies outside the key");
    }
    o.U16((uint16_t)(IndexDefHeaderSize + 1 + x.name.size()));
    o.U16(x.head);
    o.U16((uint16_t)x.parts.size());
    o.U16(x.keyLength);
    o.U16(x.maxEntries);
    o.U32(x.nodeSize);
    for (uint16_t word : x.words) o.U16(word);
    o.PStr(x.name);
    for (const KeyPartDef &k : x.parts) {
        o.U16(k.word);
        o.U32(k.recordOffset);
        o.U32(k.keyOffset);
        o.U16(k.length);
        o.U16(k.type);
    }
    return true;
}

// Block 6 (registers and all row layouts) and the descriptors of block 4
// with their field lists in block 5.
bool PutRegistersAndSettings(Writer &w, const InterfaceDefs &d, Out &descs, Out &setFields, Out &regs) {
    std::vector<const RegisterDefSource *> byNumber(RegisterCount, nullptr);
    for (const RegisterDefSource &r : d.registers) {
        if (r.number < 1 || r.number >= RegisterCount)
            return w.Fail(RegWhere(r), "register number out of 1..132");
        if (byNumber[r.number]) return w.Fail(RegWhere(r), "register number defined twice");
        if (r.name.size() > RegisterNameMax) return w.Fail(RegWhere(r), "name longer than 41 characters");
        if (r.recordSize > RecordSizeMax)
            return w.Fail(RegWhere(r), "record size " + std::to_string(r.recordSize) + " is over " +
                                           std::to_string(RecordSizeMax) + " bytes");
        if (r.matrixOffset != DefAbsent && (r.matrixOffset < 0 || (uint64_t)r.matrixOffset + 4 > r.recordSize))
            return w.Fail(RegWhere(r), "the rows handle lies outside the record");
        if (r.userCodeOffset != DefAbsent &&
            (r.userCodeOffset < 0 || (uint64_t)r.userCodeOffset + 6 > r.recordSize))
            return w.Fail(RegWhere(r), "the user-code field lies outside the record");
        if (r.rows && r.matrixOffset == DefAbsent) return w.Fail(RegWhere(r), "rows without a rows handle");
        byNumber[r.number] = &r;
    }

    // Register entries first (absent numbers: empty name, size 0, offsets -1).
    regs.b.assign((size_t)RegisterCount * RegisterDefSize, 0);
    for (int n = 0; n < RegisterCount; n++) {
        size_t at = (size_t)n * RegisterDefSize;
        for (int k : {46, 50, 54, 60, 64}) regs.Patch32(at + k, DefNone);
        regs.b[at + 58] = regs.b[at + 59] = 0xFF;
    }
    std::set<uint16_t> heads;
    for (int n = 1; n < RegisterCount && w.ok(); n++) {
        const RegisterDefSource *r = byNumber[n];
        if (!r) continue;
        size_t at = (size_t)n * RegisterDefSize;
        regs.b[at] = (uint8_t)r->name.size();
        std::copy(r->name.begin(), r->name.end(), regs.b.begin() + at + 1);
        regs.Patch32(at + 42, r->recordSize);
        regs.Patch32(at + 46, (uint32_t)r->matrixOffset);
        regs.Patch32(at + 50, (uint32_t)r->userCodeOffset);
        regs.b[at + 68] = r->simple ? 1 : 0;

        uint32_t off;
        if (!Offset(w, "block 6 (registers)", regs.Size(), &off)) return false;
        regs.Patch32(at + 54, off);
        if (!PutFieldList(w, regs, RegWhere(*r), r->fields, r->recordSize)) return false;
        if (r->rows) {
            if (!Offset(w, "block 6 (registers)", regs.Size(), &off)) return false;
            regs.Patch32(at + 60, off);
            if (!PutRowLayout(w, regs, RegWhere(*r), *r->rows)) return false;
        }
        uint16_t last;
        if (!LastIndex(w, RegWhere(*r) + " indexes", r->indexes.size(), &last)) return false;
        regs.b[at + 58] = (uint8_t)last;
        regs.b[at + 59] = (uint8_t)(last >> 8);
        if (!r->indexes.empty()) {
            if (!Offset(w, "block 6 (registers)", regs.Size(), &off)) return false;
            regs.Patch32(at + 64, off);
        }
        for (const IndexDefSource &x : r->indexes)
            if (!PutIndexDef(w, regs, *r, x, heads)) return false;
    }
    if (!w.ok()) return false;

    uint16_t last;
    if (!LastIndex(w, "settings-block descriptors", d.settingsBlocks.size(), &last)) return false;
    descs.U16(last);
    for (const SettingsBlockSource &s : d.settingsBlocks) {
        if (s.size > RecordSizeMax)
            return w.Fail(SetWhere(s), "size " + std::to_string(s.size) + " is over " +
                                           std::to_string(RecordSizeMax) + " bytes");
        uint32_t fieldsAt, rowsAt = DefNone;
        if (!Offset(w, "block 5 (settings-block field lists)", setFields.Size(), &fieldsAt)) return false;
        if (!PutFieldList(w, setFields, SetWhere(s), s.fields, s.kind != 0 ? (int64_t)s.size : -1))
            return false;
        if (s.rows) {
            if (!Offset(w, "block 6 (registers)", regs.Size(), &rowsAt)) return false;
            if (!PutRowLayout(w, regs, SetWhere(s), *s.rows)) return false;
        }
        descs.U16(s.number);
        descs.U16(s.kind);
        descs.U32(s.size);
        descs.U32(fieldsAt);
        descs.U32(rowsAt);
        descs.U16(0);
    }
    return true;
}

// Block 2: the directory and the twelve tables after it. The fixed-entry
// tables must hold whole entries matching their last index.
bool PutLists(Writer &w, const ListDirectorySource &lists, Out &o) {
    o.b.assign(ListDirectorySize, 0xFF);
    for (int slot = 0; slot < ListSlotCount; slot++) {
        const std::vector<uint8_t> &t = lists.tables[slot];
        if (t.empty()) continue;
        std::string where = "list table " + std::to_string(slot);
        if (ListEntrySize[slot] != 0 || slot == ListSlotChoiceLists) {
            if (t.size() < 2) return w.Fail(where, "lacks its last-index word");
            uint16_t last = Get16(t, 0);
            size_t count = last == LastIndexNone ? 0 : (size_t)last + 1;
            if (ListEntrySize[slot] != 0 && t.size() != 2 + count * ListEntrySize[slot])
                return w.Fail(where, "holds " + std::to_string(t.size()) + " bytes, not " +
                                         std::to_string(count) + " entries of " +
                                         std::to_string(ListEntrySize[slot]) + " bytes");
        }
        uint32_t off;
        if (!Offset(w, "block 2 (list directory)", o.Size(), &off)) return false;
        o.Patch32((size_t)slot * 4, off);
        o.Bytes(t);
    }
    return true;
}

bool PutWinTypes(Writer &w, const std::vector<WinTypeSource> &types, Out &o) {
    o.b.assign((size_t)WinTypeTableEntries * WinTypeEntrySize, 0);
    for (int t = 0; t < WinTypeTableEntries; t++) o.b[(size_t)t * WinTypeEntrySize] = o.b[(size_t)t * WinTypeEntrySize + 1] = 0xFF;
    std::vector<bool> seen(WinTypeTableEntries, false);
    for (const WinTypeSource &t : types) {
        std::string where = "window type " + std::to_string(t.number) + Line(t.line);
        if (t.number < 1 || t.number >= WinTypeTableEntries) return w.Fail(where, "out of 1..599");
        if (seen[t.number]) return w.Fail(where, "defined twice");
        seen[t.number] = true;
        size_t at = (size_t)t.number * WinTypeEntrySize;
        for (int i = 0; i < WinTypeWords; i++) {
            o.b[at + 2 * i] = (uint8_t)t.words[i];
            o.b[at + 2 * i + 1] = (uint8_t)(t.words[i] >> 8);
        }
    }
    return true;
}

bool PutWinDefinitions(Writer &w, const std::vector<WinDefinitionSource> &defs, Out &o) {
    o.b.assign((size_t)WinTypeTableEntries * 4, 0xFF);
    std::vector<bool> seen(WinTypeTableEntries, false);
    for (const WinDefinitionSource &d : defs) {
        std::string where = "layout of window type " + std::to_string(d.number) + Line(d.line);
        if (d.number < 1 || d.number >= WinTypeTableEntries) return w.Fail(where, "out of 1..599");
        if (seen[d.number]) return w.Fail(where, "defined twice");
        seen[d.number] = true;
        size_t start = o.Size();
        uint32_t off;
        if (!Offset(w, "block 12 (window definitions)", start, &off)) return false;
        o.Patch32((size_t)d.number * 4, off);
        o.b.resize(start + WinDefHeaderSize, 0xFF);
        for (int p = 0; p < WinDefParts; p++) {
            if (!d.parts[p]) continue;
            const std::vector<std::vector<uint8_t>> &entries = *d.parts[p];
            std::string part = where + ", part " + std::to_string(p);
            uint16_t last;
            if (!LastIndex(w, part, entries.size(), &last)) return false;
            if (o.Size() - start > OffsetLimit) return w.Fail(part, "the definition grows past 4 GB");
            o.Patch32(start + 4 * p, (uint32_t)(o.Size() - start));
            o.U16(last);
            for (size_t i = 0; i < entries.size(); i++) {
                const std::vector<uint8_t> &e = entries[i];
                std::string entry = part + ", entry " + std::to_string(i);
                if (WinPartEntrySize[p] != 0) {
                    if (e.size() != WinPartEntrySize[p])
                        return w.Fail(entry, std::to_string(e.size()) + " bytes; entries of this part have " +
                                                 std::to_string(WinPartEntrySize[p]));
                } else if (e.size() < 2 || e.size() > 65535 || Get16(e, 0) != e.size()) {
                    return w.Fail(entry, "its size word does not give its length " + std::to_string(e.size()));
                }
                o.Bytes(e);
            }
        }
    }
    return true;
}

bool PutTexts(Writer &w, const std::vector<TextSource> &texts, Out &index, Out &pool) {
    std::vector<const TextSource *> sorted;
    for (const TextSource &t : texts) {
        std::string where = "text " + std::to_string(t.number) + Line(t.line);
        if (t.number < 1) return w.Fail(where, "number out of 1..32767");
        if (t.text.size() > 255) return w.Fail(where, "longer than 255 characters");
        sorted.push_back(&t);
    }
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const TextSource *a, const TextSource *b) { return a->number < b->number; });
    for (size_t i = 1; i < sorted.size(); i++)
        if (sorted[i]->number == sorted[i - 1]->number)
            return w.Fail("text " + std::to_string(sorted[i]->number) + Line(sorted[i]->line),
                          "number defined twice (also on line " + std::to_string(sorted[i - 1]->line) + ")");
    index.U32((uint32_t)sorted.size());
    for (const TextSource *t : sorted) {
        uint32_t off;
        if (!Offset(w, "block 8 (text pool)", pool.Size(), &off)) return false;
        index.U16((uint16_t)t->number);
        index.U32(off);
        pool.PStr(t->text);
    }
    return true;
}

bool PutNameTable(Writer &w, const NameTableSource &n, std::array<Out, 6> &blocks) {
    bool empty = n.header.empty() && n.kept1.empty() && n.kept2.empty() && n.buckets.empty() &&
                 n.entries.empty() && n.pool.empty();
    if (empty) {
        blocks[0].b.assign(NameHeaderSize, 0);
        blocks[3].b.assign(NameBucketsSize, 0xFF);
        return true;
    }
    if (n.header.size() < NameHeaderSize) return w.Fail("name table", "the header is shorter than 12 bytes");
    if (n.buckets.size() != NameBucketsSize) return w.Fail("name table", "the buckets are not 256 u16 words");
    blocks[0].b = n.header;
    blocks[1].b = n.kept1;
    blocks[2].b = n.kept2;
    blocks[3].b = n.buckets;
    blocks[4].b = n.entries;
    blocks[5].b = n.pool;
    return true;
}

}  // namespace

const char *InterfaceBlockName(int n) {
    static const char *const names[InterfaceBlockCount] = {
        "version", "list directory", "window types", "settings-block descriptors",
        "settings-block field lists", "registers", "text index", "text pool",
        "read character table", "write character table", "collation table", "window definitions",
        "name table header", "name table block 2", "name table block 3", "name table buckets",
        "name table entries", "name table pool", "printer character table", "overstrike table"};
    return n >= 1 && n <= InterfaceBlockCount ? names[n - 1] : "beyond the last block";
}

bool InterfaceWrite(const InterfaceDefs &defs, std::vector<uint8_t> *out, std::string *error) {
    Writer w;
    std::array<Out, InterfaceBlockCount> b;
    b[0].U32(defs.version);
    PutLists(w, defs.lists, b[1]);
    if (w.ok()) PutWinTypes(w, defs.winTypes, b[2]);
    if (w.ok()) PutRegistersAndSettings(w, defs, b[3], b[4], b[5]);
    if (w.ok()) PutTexts(w, defs.texts, b[6], b[7]);
    b[8].b.assign(defs.readTable.begin(), defs.readTable.end());
    b[9].b.assign(defs.writeTable.begin(), defs.writeTable.end());
    b[10].b.assign(defs.collation.begin(), defs.collation.end());
    if (w.ok()) PutWinDefinitions(w, defs.winDefinitions, b[11]);
    std::array<Out, 6> names;
    if (w.ok() && PutNameTable(w, defs.names, names))
        for (int i = 0; i < 6; i++) b[12 + i] = std::move(names[i]);
    if (w.ok() && !defs.printerTable.empty() && defs.printerTable.size() != CharTableSize)
        w.Fail("printer character table", "must be empty or 256 bytes");
    if (w.ok() && !defs.overstrikeTable.empty() && defs.overstrikeTable.size() != CharTableSize)
        w.Fail("overstrike table", "must be empty or 256 bytes");
    b[18].b = defs.printerTable;
    b[19].b = defs.overstrikeTable;
    for (int i = 0; i < InterfaceBlockCount && w.ok(); i++)
        if (b[i].Size() > OffsetLimit)
            w.Fail("block " + std::to_string(i + 1) + " (" + InterfaceBlockName(i + 1) + ")",
                   "longer than 4 GB");
    if (!w.ok()) {
        if (error) *error = w.error;
        return false;
    }

    out->clear();
    Out file;
    for (const Out &block : b) {
        file.U32((uint32_t)block.Size());
        file.Bytes(block.b);
    }
    *out = std::move(file.b);
    return true;
}

bool InterfaceWriteFile(const InterfaceDefs &defs, const char *path, std::string *error) {
    std::vector<uint8_t> bytes;
    if (!InterfaceWrite(defs, &bytes, error)) return false;
    std::FILE *f = std::fopen(path, "wb");
    if (!f) {
        if (error) *error = std::string(path) + ": cannot be created";
        return false;
    }
    bool written = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    if (std::fclose(f) != 0) written = false;
    if (!written) {
        if (error) *error = std::string(path) + ": could not be written completely";
        std::remove(path);
        return false;
    }
    return true;
}
