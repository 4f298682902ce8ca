// interface_load.cpp - checks the 20 blocks of an interface file and makes
// them the loaded definitions (layout in core/interface_write.h).
//
// The check runs over every block before anything is changed: every count
// is held against the bytes present and every offset against its block,
// so that the lookups of definitions.cpp can walk the tables without
// testing bounds again. Fields, rows handles and key parts must also lie
// inside the records, rows and keys they describe, and record, row and
// settings-block sizes stay within RecordSizeMax, since record and
// settings code size their buffers from these definitions. Index names
// must fit the engine's master list.
//
// No allocation failure leaves the loader as an exception: the check
// and the commit catch their own, and a file that cannot be loaded for
// want of memory is refused like a damaged one.
#include "core/interface_load.h"

#include <cassert>
#include <cstring>
#include <new>
#include <span>

#include "core/definitions.h"
#include "core/format_block.h"
#include "core/message_sink.h"
#include "core/name_table.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/language_file.h"

std::array<MemBlock, InterfaceBlockCount> DefBlocks = {};
std::array<uint32_t, InterfaceBlockCount> DefBlockSizes = {};
uint32_t InterfaceVersionLoaded = 0;
std::array<const uint8_t *, ListSlotCount> ListDirectory = {};
std::array<uint32_t, ListSlotCount> ListTableSize = {};
const uint8_t *WinTypeTable = nullptr;
const uint8_t *SettingsBlockDefs = nullptr;
uint16_t SettingsBlockDefCount = 0;
const uint8_t *SettingsFieldLists = nullptr;
uint32_t SettingsFieldListsSize = 0;
const uint8_t *RegisterTable = nullptr;
uint32_t RegisterTableSize = 0;
const uint8_t *TextIndex = nullptr;
uint32_t TextCount = 0;
const uint8_t *TextPool = nullptr;
std::array<const uint8_t *, 2> CharTranslationTables = {};
uint8_t *WinDefinitionBlock = nullptr;
uint32_t WinDefinitionBlockSize = 0;
const uint8_t *PrinterCharTable = nullptr;
const uint8_t *OverstrikeTable = nullptr;

std::vector<SettingsBlockState> SettingsBlockStates;
std::array<WinTypeUseEntry, WinTypeUseEntries> WinTypeUseTable = {};
std::array<RegisterState, RegisterCount + 1> RegisterStates = {};
std::array<uint32_t, RegisterCount + 1> RecordCounts = {};

namespace {

using Bytes = std::span<const uint8_t>;
using Blocks = std::array<Bytes, InterfaceBlockCount>;

size_t EntryCount(uint16_t lastIndex) { return lastIndex == LastIndexNone ? 0 : (size_t)lastIndex + 1; }

// The check of one file: the first fault ends it with its message.
struct Checker {
    const Blocks &b;
    std::string file;
    std::string error;
    std::array<uint32_t, ListSlotCount> listSize = {};
    std::array<bool, IndexHeadMax + 1> headUsed = {};

    Checker(const Blocks &blocks, std::string name) : b(blocks), file(std::move(name)) {}

    Bytes B(int n) const { return b[n - 1]; }
    bool Fail(int block, const std::string &what) {
        error = file + ": block " + std::to_string(block) + " (" + InterfaceBlockName(block) + "): " + what;
        return false;
    }
    // True when len bytes at off lie inside block n.
    bool Inside(int n, uint64_t off, uint64_t len) const { return off <= B(n).size() && len <= B(n).size() - off; }
    uint16_t U16(int n, uint64_t off) const { return DefU16(&B(n)[off]); }
    uint32_t U32(int n, uint64_t off) const { return DefU32(&B(n)[off]); }

    bool FieldList(int n, uint32_t off, const std::string &what, int64_t recordSize);
    bool RowLayout(uint32_t off, const std::string &what);
    bool IndexDefs(uint32_t off, size_t count, uint32_t recordSize, const uint8_t *regName, const std::string &what);
    bool Lists();
    bool Menus(uint32_t off, uint32_t *extent);
    bool ChoiceLists(uint32_t off, uint32_t *extent);
    bool Registers();
    bool Settings();
    bool Texts();
    bool WinDefinitions();
    bool NameTable();
    bool All();
};

// A FieldList in block n at off (-1: none); with recordSize >= 0 every
// field must start inside the record.
bool Checker::FieldList(int n, uint32_t off, const std::string &what, int64_t recordSize) {
    if (off == DefNone) return true;
    if (!Inside(n, off, 2)) return Fail(n, "the field list of " + what + " lies outside the block");
    size_t count = EntryCount(U16(n, off));
    uint64_t p = off + 2;
    for (size_t i = 0; i < count; i++) {
        if (!Inside(n, p, 2)) return Fail(n, "the field list of " + what + " runs past the end of the block");
        uint16_t len = U16(n, p);
        if (len < FieldEntrySize)
            return Fail(n, "field " + std::to_string(i) + " of " + what + " has a length of " + std::to_string(len));
        if (!Inside(n, p, len)) return Fail(n, "the field list of " + what + " runs past the end of the block");
        if (recordSize >= 0 && U32(n, p + 2) >= (uint64_t)recordSize)
            return Fail(n, "field " + std::to_string(i) + " of " + what + " lies outside the record");
        p += len;
    }
    return true;
}

bool Checker::RowLayout(uint32_t off, const std::string &what) {
    const int n = BlockRegisters;
    if (off == DefNone) return true;
    if (!Inside(n, off, RowLayoutHeaderSize)) return Fail(n, "the row layout of " + what + " lies outside the block");
    uint16_t first = U16(n, off);
    uint16_t count = U16(n, off + 2);
    uint32_t rowSize = U32(n, off + 4);
    if (first < RowLayoutHeaderSize) return Fail(n, "the row layout of " + what + " has its fields inside its header");
    if (rowSize > RecordSizeMax)
        return Fail(n, "the rows of " + what + " are " + std::to_string(rowSize) + " bytes, over " +
                           std::to_string(RecordSizeMax));
    uint64_t p = (uint64_t)off + first;
    for (int i = 0; i < count; i++) {
        if (!Inside(n, p, 2) || !Inside(n, p, U16(n, p)))
            return Fail(n, "the row layout of " + what + " runs past the end of the block");
        uint16_t len = U16(n, p);
        if (len < RowFieldEntrySize)
            return Fail(n, "row field " + std::to_string(i) + " of " + what + " has a length of " + std::to_string(len));
        if (U32(n, p + 4) >= rowSize)
            return Fail(n, "row field " + std::to_string(i) + " of " + what + " lies outside the row");
        p += len;
    }
    return true;
}

// The index definitions of a register: count definitions from off.
// regName is the register's name (a PString in the register entry).
bool Checker::IndexDefs(uint32_t off, size_t count, uint32_t recordSize, const uint8_t *regName,
                        const std::string &what) {
    const int n = BlockRegisters;
    uint64_t p = off;
    for (size_t i = 0; i < count; i++) {
        std::string index = "index " + std::to_string(i) + " of " + what;
        if (!Inside(n, p, IndexDefHeaderSize + 1)) return Fail(n, index + " lies outside the block");
        uint16_t first = U16(n, p), head = U16(n, p + 2), parts = U16(n, p + 4);
        uint16_t keyLength = U16(n, p + 6), maxEntries = U16(n, p + 8);
        uint32_t nodeSize = U32(n, p + 10);
        if (first < IndexDefHeaderSize + 1 + B(n)[p + IndexDefHeaderSize])
            return Fail(n, index + " has its key parts inside its name");
        if (!Inside(n, p, first + (uint64_t)parts * KeyPartSize))
            return Fail(n, index + ": its key parts run past the end of the block");
        const uint8_t *name = &B(n)[p + IndexDefHeaderSize];
        if ((size_t)regName[0] + 1 + name[0] > IndexFullNameMax)
            return Fail(n, "the name \"" + std::string((const char *)regName + 1, regName[0]) + ":" +
                               std::string((const char *)name + 1, name[0]) + "\" of " + index + " is over " +
                               std::to_string(IndexFullNameMax) + " characters");
        if (head < 1 || head > IndexHeadMax) return Fail(n, index + " has head number " + std::to_string(head));
        if (headUsed[head]) return Fail(n, index + " uses head number " + std::to_string(head) + " a second time");
        headUsed[head] = true;
        if (nodeSize > IndexNodeMax || maxEntries < 2 ||
            NodeHeaderSize + (uint64_t)maxEntries * (keyLength + NodeEntryExtra) > nodeSize)
            return Fail(n, index + ": its nodes cannot hold " + std::to_string(maxEntries) + " entries");
        for (int k = 0; k < parts; k++) {
            uint64_t q = p + first + (uint64_t)k * KeyPartSize;
            uint16_t length = U16(n, q + 10);
            if ((uint64_t)U32(n, q + 2) + length > recordSize)
                return Fail(n, "key part " + std::to_string(k) + " of " + index + " lies outside the record");
            if ((uint64_t)U32(n, q + 6) + length > keyLength)
                return Fail(n, "key part " + std::to_string(k) + " of " + index + " lies outside the key");
        }
        p += first + (uint64_t)parts * KeyPartSize;
    }
    return true;
}

bool Checker::Registers() {
    const int n = BlockRegisters;
    if (B(n).size() < (size_t)RegisterCount * RegisterDefSize)
        return Fail(n, "holds " + std::to_string(B(n).size()) + " bytes, less than the 133 register entries");
    for (int r = 0; r < RegisterCount; r++) {
        uint64_t at = (uint64_t)r * RegisterDefSize;
        std::string what = "register " + std::to_string(r);
        if (B(n)[at] > RegisterNameMax) return Fail(n, "the name of " + what + " is longer than 41 characters");
        uint32_t size = U32(n, at + 42), matrix = U32(n, at + 46), user = U32(n, at + 50);
        if (size > RecordSizeMax)
            return Fail(n, "the records of " + what + " are " + std::to_string(size) + " bytes, over " +
                               std::to_string(RecordSizeMax));
        if (matrix != DefNone && (uint64_t)matrix + 4 > size)
            return Fail(n, "the rows handle of " + what + " lies outside the record");
        if (user != DefNone && (uint64_t)user + 6 > size)
            return Fail(n, "the user-code field of " + what + " lies outside the record");
        if (!FieldList(n, U32(n, at + 54), what, size)) return false;
        if (!RowLayout(U32(n, at + 60), what)) return false;
        size_t indexes = EntryCount(U16(n, at + 58));
        if (indexes > 0 && !IndexDefs(U32(n, at + 64), indexes, size, &B(n)[at], what)) return false;
    }
    return true;
}

bool Checker::Settings() {
    const int n = BlockSettingsDescs;
    if (B(n).size() < 2) return Fail(n, "lacks its last-index word");
    size_t count = EntryCount(U16(n, 0));
    if (!Inside(n, 2, (uint64_t)count * SettingsDescEntrySize))
        return Fail(n, std::to_string(count) + " descriptors run past the end of the block");
    for (size_t i = 0; i < count; i++) {
        uint64_t at = 2 + i * SettingsDescEntrySize;
        std::string what = "settings block " + std::to_string(U16(n, at)) + " (descriptor " + std::to_string(i) + ")";
        if (U32(n, at + 4) > RecordSizeMax)
            return Fail(n, "the size of " + what + " is " + std::to_string(U32(n, at + 4)) + " bytes, over " +
                               std::to_string(RecordSizeMax));
        int64_t size = U16(n, at + 2) != 0 ? (int64_t)U32(n, at + 4) : -1;
        if (!FieldList(BlockSettingsFields, U32(n, at + 8), what, size)) return false;
        if (!RowLayout(U32(n, at + 12), what)) return false;
    }
    return true;
}

bool Checker::Texts() {
    const int n = BlockTextIndex, pool = BlockTextPool;
    if (B(n).size() < 4) return Fail(n, "lacks its count");
    uint32_t count = U32(n, 0);
    if (!Inside(n, 4, (uint64_t)count * TextEntrySize))
        return Fail(n, std::to_string(count) + " entries run past the end of the block");
    for (uint32_t i = 0; i < count; i++) {
        uint64_t at = 4 + (uint64_t)i * TextEntrySize;
        int16_t number = (int16_t)U16(n, at);
        if (i > 0 && number <= (int16_t)U16(n, at - TextEntrySize))
            return Fail(n, "text " + std::to_string(number) + " is out of ascending order");
        uint32_t off = U32(n, at + 2);
        if (!Inside(pool, off, 1) || !Inside(pool, off, 1 + (uint64_t)B(pool)[off]))
            return Fail(n, "text " + std::to_string(number) + " lies outside the text pool");
    }
    return true;
}

bool Checker::Menus(uint32_t off, uint32_t *extent) {
    const int n = BlockLists;
    uint64_t p = off;
    for (int menu = 0;; menu++) {
        std::string what = "menu entry " + std::to_string(menu);
        if (!Inside(n, p, 4)) return Fail(n, "the menu table runs past the end of the block without its end mark");
        if (U16(n, p + 2) == 0) break;
        uint16_t header = U16(n, p);
        if (header < 7 || !Inside(n, p, header) || 7 + B(n)[p + 6] > header)
            return Fail(n, what + " has a malformed header");
        uint16_t items = U16(n, p + 4);
        p += header;
        for (int i = 0; i < items; i++) {
            if (!Inside(n, p, 2)) return Fail(n, "item " + std::to_string(i) + " of " + what + " runs past the end of the block");
            uint16_t len = U16(n, p);
            if (len < 9 || !Inside(n, p, len) || 9 + B(n)[p + 8] > len)
                return Fail(n, "item " + std::to_string(i) + " of " + what + " is malformed");
            p += len;
        }
    }
    *extent = (uint32_t)(p + 4 - off);
    return true;
}

bool Checker::ChoiceLists(uint32_t off, uint32_t *extent) {
    const int n = BlockLists;
    if (!Inside(n, off, 2)) return Fail(n, "the choice-list table lacks its last-index word");
    size_t count = EntryCount(U16(n, off));
    uint64_t p = (uint64_t)off + 2;
    for (size_t i = 0; i < count; i++) {
        std::string what = "choice list entry " + std::to_string(i);
        if (!Inside(n, p, 6)) return Fail(n, what + " runs past the end of the block");
        uint16_t len = U16(n, p);
        if (len < 6 || !Inside(n, p, len) || 6 + (uint64_t)U16(n, p + 4) * 4 > len)
            return Fail(n, what + " holds more pairs than its length");
        p += len;
    }
    *extent = (uint32_t)(p - off);
    return true;
}

bool Checker::Lists() {
    const int n = BlockLists;
    if (B(n).size() < ListDirectorySize) return Fail(n, "is shorter than its 12 offsets");
    for (int slot = 0; slot < ListSlotCount; slot++) {
        uint32_t off = U32(n, 4 * slot);
        if (off == DefNone) continue;
        if (!Inside(n, off, 0)) return Fail(n, "list table " + std::to_string(slot) + " lies outside the block");
        uint32_t extent = (uint32_t)(B(n).size() - off);
        if (ListEntrySize[slot] != 0) {
            if (!Inside(n, off, 2)) return Fail(n, "list table " + std::to_string(slot) + " lacks its last-index word");
            size_t count = EntryCount(U16(n, off));
            if (!Inside(n, off + 2, (uint64_t)count * ListEntrySize[slot]))
                return Fail(n, "the " + std::to_string(count) + " entries of list table " + std::to_string(slot) +
                                   " run past the end of the block");
            extent = (uint32_t)(2 + count * ListEntrySize[slot]);
        } else if (slot == ListSlotMenus) {
            if (!Menus(off, &extent)) return false;
        } else if (slot == ListSlotChoiceLists) {
            if (!ChoiceLists(off, &extent)) return false;
        }
        listSize[slot] = extent;
    }
    return true;
}

bool Checker::WinDefinitions() {
    const int n = BlockWinDefs;
    if (B(n).size() < (size_t)WinTypeTableEntries * 4) return Fail(n, "is shorter than its 600 offsets");
    for (int type = 0; type < WinTypeTableEntries; type++) {
        uint32_t def = U32(n, 4 * type);
        if (def == DefNone) continue;
        std::string what = "the layout of window type " + std::to_string(type);
        if (!Inside(n, def, WinDefHeaderSize)) return Fail(n, what + " lies outside the block");
        for (int part = 0; part < WinDefParts; part++) {
            uint32_t rel = U32(n, def + 4 * part);
            if (rel == DefNone) continue;
            std::string where = "part " + std::to_string(part) + " of " + what;
            uint64_t p = (uint64_t)def + rel;
            if (!Inside(n, p, 2)) return Fail(n, where + " lies outside the block");
            size_t count = EntryCount(U16(n, p));
            p += 2;
            if (WinPartEntrySize[part] != 0) {
                if (!Inside(n, p, (uint64_t)count * WinPartEntrySize[part]))
                    return Fail(n, "the " + std::to_string(count) + " entries of " + where + " run past the end of the block");
                continue;
            }
            for (size_t i = 0; i < count; i++) {
                if (!Inside(n, p, 2) || U16(n, p) < 2 || !Inside(n, p, U16(n, p)))
                    return Fail(n, "entry " + std::to_string(i) + " of " + where + " runs past the end of the block");
                p += U16(n, p);
            }
        }
    }
    return true;
}

// The same conditions NameTableSetBlocks sets, checked here so that a
// refused file leaves the loaded name table as it was.
bool Checker::NameTable() {
    Bytes header = B(BlockNameHeader), buckets = B(BlockNameBuckets);
    Bytes entries = B(BlockNameEntries), pool = B(BlockNamePool);
    if (header.size() < NameHeaderSize) return Fail(BlockNameHeader, "is shorter than 12 bytes");
    if (buckets.size() != NameBucketsSize) return Fail(BlockNameBuckets, "is not 256 entry numbers");
    uint16_t count = DefU16(&header[0]);
    if (entries.size() < (size_t)count * NameEntrySize)
        return Fail(BlockNameEntries, "holds fewer than the " + std::to_string(count) + " entries of the header");
    for (uint16_t e = 0; e < count; e++) {
        uint16_t off = DefU16(&entries[(size_t)e * NameEntrySize + 2]);
        if (off >= pool.size() || !std::memchr(&pool[off], 0, pool.size() - off))
            return Fail(BlockNameEntries, "the name of entry " + std::to_string(e) + " lies outside the pool");
    }
    for (int bucket = 0; bucket < 256; bucket++) {
        uint16_t e = DefU16(&buckets[bucket * 2]);
        for (int steps = 0; e != NameTableEnd; steps++) {
            if (e >= count || steps > count)
                return Fail(BlockNameBuckets, "the chain of bucket " + std::to_string(bucket) + " is broken");
            e = DefU16(&entries[(size_t)e * NameEntrySize]);
        }
    }
    return true;
}

bool Checker::All() {
    if (B(BlockVersion).size() != 4) return Fail(BlockVersion, "is not 4 bytes");
    if (U32(BlockVersion, 0) != InterfaceVersion) {
        error = file + ": Interface and program are not of the same version!!!";
        return false;
    }
    if (B(BlockWinTypes).size() != (size_t)WinTypeTableEntries * WinTypeEntrySize)
        return Fail(BlockWinTypes, "is not 600 entries of 46 bytes");
    for (int n : {BlockReadTable, BlockWriteTable, BlockCollation})
        if (B(n).size() != CharTableSize) return Fail(n, "is not 256 bytes");
    for (int n : {BlockPrinterTable, BlockOverstrike})
        if (!B(n).empty() && B(n).size() != CharTableSize) return Fail(n, "is neither empty nor 256 bytes");
    return Lists() && Registers() && Settings() && Texts() && WinDefinitions() && NameTable();
}

void FreeBlocks(std::array<MemBlock, InterfaceBlockCount> &handles) {
    for (MemBlock &h : handles) MemFree(&h);
}

void ClearPointers() {
    InterfaceVersionLoaded = 0;
    ListDirectory = {};
    ListTableSize = {};
    WinTypeTable = SettingsBlockDefs = SettingsFieldLists = RegisterTable = TextIndex = TextPool = nullptr;
    SettingsBlockDefCount = 0;
    SettingsFieldListsSize = RegisterTableSize = TextCount = WinDefinitionBlockSize = 0;
    CharTranslationTables = {};
    WinDefinitionBlock = nullptr;
    PrinterCharTable = OverstrikeTable = nullptr;
    CollationTable = nullptr;
    UiTextSetLookup(nullptr);
}

// Clears the run-time tables; the settings-block states become states
// (all zero), which the caller made beforehand so that this cannot fail.
void ClearRunTimeTables(std::vector<SettingsBlockState> &&states) {
    SettingsBlockStates = std::move(states);
    WinTypeUseTable = {};
    RegisterStates = {};
    RecordCounts = {};
}

// Makes the checked blocks (handles locked, their bytes in b) the loaded
// definitions and frees the blocks they replace. Fails when the
// settings-block states cannot get their memory, with nothing changed
// and the handles freed; or when the name table cannot: the name table
// has then already let go of the old names, so the old definitions are
// unloaded too and nothing stays loaded.
bool Commit(std::array<MemBlock, InterfaceBlockCount> &handles, const Blocks &b,
            const std::array<uint32_t, ListSlotCount> &listSize, std::string *message) {
    auto block = [&](int n) { return b[n - 1]; };
    std::vector<SettingsBlockState> states;
    try {
        states.resize(EntryCount(DefU16(block(BlockSettingsDescs).data())));
    } catch (const std::bad_alloc &) {
        FreeBlocks(handles);
        *message = "no memory for the settings-block states";
        return false;
    }
    if (!NameTableSetBlocks(block(BlockNameHeader), block(BlockNameKept1), block(BlockNameKept2),
                            block(BlockNameBuckets), block(BlockNameEntries), block(BlockNamePool))) {
        FreeBlocks(handles);
        FreeBlocks(DefBlocks);
        ClearPointers();
        ClearRunTimeTables({});
        *message = "no memory for the name table";
        return false;
    }
    FreeBlocks(DefBlocks);
    DefBlocks = handles;
    handles = {};
    for (int n = 1; n <= InterfaceBlockCount; n++) DefBlockSizes[n - 1] = (uint32_t)block(n).size();

    InterfaceVersionLoaded = DefU32(block(BlockVersion).data());
    const uint8_t *lists = block(BlockLists).data();
    for (int slot = 0; slot < ListSlotCount; slot++) {
        uint32_t off = DefU32(lists + 4 * slot);
        ListDirectory[slot] = off == DefNone ? nullptr : lists + off;
        ListTableSize[slot] = off == DefNone ? 0 : listSize[slot];
    }
    WinTypeTable = block(BlockWinTypes).data();
    SettingsBlockDefs = block(BlockSettingsDescs).data() + 2;
    SettingsBlockDefCount = (uint16_t)EntryCount(DefU16(block(BlockSettingsDescs).data()));
    SettingsFieldLists = block(BlockSettingsFields).data();
    SettingsFieldListsSize = (uint32_t)block(BlockSettingsFields).size();
    RegisterTable = block(BlockRegisters).data();
    RegisterTableSize = (uint32_t)block(BlockRegisters).size();
    TextCount = DefU32(block(BlockTextIndex).data());
    TextIndex = block(BlockTextIndex).data() + 4;
    TextPool = block(BlockTextPool).data();
    CharTranslationTables = {block(BlockReadTable).data(), block(BlockWriteTable).data()};
    CollationTable = block(BlockCollation).data();
    WinDefinitionBlock = const_cast<uint8_t *>(block(BlockWinDefs).data());   // our own block
    WinDefinitionBlockSize = (uint32_t)block(BlockWinDefs).size();
    PrinterCharTable = block(BlockPrinterTable).empty() ? nullptr : block(BlockPrinterTable).data();
    OverstrikeTable = block(BlockOverstrike).empty() ? nullptr : block(BlockOverstrike).data();
    UiTextSetLookup(UiTextFind);
    ThousandsFlag = 0;
    assert(states.size() == SettingsBlockDefCount);
    ClearRunTimeTables(std::move(states));
    return true;
}

// Runs every check of the file. The check itself makes only messages,
// but memory may be short: an allocation failure refuses the file.
bool CheckFile(Checker &check) {
    try {
        return check.All();
    } catch (const std::bad_alloc &) {
        check.error = check.file + ": no memory to check the file";
        return false;
    }
}

// Checks the blocks and, when they pass, loads them. The handles belong
// to this call: on failure they are freed.
bool CheckAndCommit(std::array<MemBlock, InterfaceBlockCount> &handles, const Blocks &b, const std::string &file,
                    std::string *message) {
    Checker check(b, file);
    if (!CheckFile(check)) {
        FreeBlocks(handles);
        *message = check.error;
        return false;
    }
    if (!Commit(handles, b, check.listSize, message)) {
        *message = file + ": " + *message;
        return false;
    }
    return true;
}

std::string TrailingBytes(uint64_t n) {
    return (n == 1 ? std::string("1 byte follows") : std::to_string(n) + " bytes follow") +
           " the last of the 20 blocks";
}

bool Report(const std::string &message, std::string *error) {
    if (error)
        *error = message;
    else
        MessageSinkShow(message.c_str());
    return false;
}

// The refusal when memory ran out even for a message: the last net of
// the two loaders, which must not let an allocation failure escape.
bool OutOfMemory(std::string *error) {
    static const char text[] = "interface file: no memory to load it";
    if (!error) {
        MessageSinkShow(text);
        return false;
    }
    try {
        *error = text;
    } catch (const std::bad_alloc &) {
        error->clear();
    }
    return false;
}

// Copies the checked blocks into new locked memory blocks: their handles
// and bytes. false, with nothing kept, when memory cannot be had.
bool CopyBlocks(const Blocks &spans, std::array<MemBlock, InterfaceBlockCount> &handles, Blocks &copies,
                int *failed) {
    handles = {};
    try {
        for (int i = 0; i < InterfaceBlockCount; i++) {
            *failed = i + 1;
            handles[i] = MemAlloc((uint32_t)spans[i].size());
            if (!handles[i]) break;
            uint8_t *p = MemLock(handles[i]);
            if (!spans[i].empty()) std::memcpy(p, spans[i].data(), spans[i].size());
            copies[i] = Bytes(p, spans[i].size());
        }
    } catch (const std::bad_alloc &) {
        // The handle table could not grow; handles[*failed - 1] is still 0.
    }
    if (handles[InterfaceBlockCount - 1]) return true;
    FreeBlocks(handles);
    return false;
}

// LoadDefinitionsFromBytes without its last net.
bool LoadBytes(const uint8_t *data, size_t size, std::string *error, const char *name) {
    std::string file = name ? name : "interface file";
    std::array<Bytes, InterfaceBlockCount> spans;
    size_t at = 0;
    for (int n = 1; n <= InterfaceBlockCount; n++) {
        std::string where = file + ": block " + std::to_string(n) + " (" + InterfaceBlockName(n) + "): ";
        if (at == size) return Report(where + "missing: the file ends after block " + std::to_string(n - 1), error);
        if (size - at < 4) return Report(where + "its length word runs past the end of the file", error);
        uint32_t len = DefU32(data + at);
        if (len > size - at - 4)
            return Report(where + "its length " + std::to_string(len) + " runs past the end of the file (" +
                              std::to_string(size - at - 4) + " bytes remain)", error);
        spans[n - 1] = Bytes(data + at + 4, len);
        at += 4 + (size_t)len;
    }
    if (at != size)
        return Report(file + ": " + TrailingBytes(size - at), error);

    // Check the caller's bytes first, so that a refused file costs no copy.
    Checker check(spans, file);
    if (!CheckFile(check)) return Report(check.error, error);

    std::array<MemBlock, InterfaceBlockCount> handles;
    Blocks copies;
    int failed = 0;
    if (!CopyBlocks(spans, handles, copies, &failed))
        return Report(file + ": no memory for block " + std::to_string(failed), error);
    std::string message;
    if (!Commit(handles, copies, check.listSize, &message)) return Report(file + ": " + message, error);
    return true;
}

// LoadDefinitions without its last net.
bool LoadFound(std::string *error) {
    std::string message;
    if (!LoadLanguageFile(&message)) return Report(message, error);

    LangFileRewind();
    Blocks spans;
    for (int n = 1; n <= InterfaceBlockCount; n++) {
        uint32_t len;
        uint8_t *p = ReadFileBlock(&len, &message);
        if (!p) {
            FreeBlocks(LangBlockTable.handles);
            LangBlockTable.count = 0;
            return Report(message, error);
        }
        spans[n - 1] = Bytes(p, len);
    }
    std::array<MemBlock, InterfaceBlockCount> handles = LangBlockTable.handles;
    LangBlockTable.count = 0;
    LangBlockTable.handles = {};
    int64_t fileSize = LangFileCurrentSize();
    if (fileSize != (int64_t)LangFileOffset) {
        FreeBlocks(handles);
        return Report(fileSize > (int64_t)LangFileOffset
                          ? LangFilePath + ": " + TrailingBytes((uint64_t)fileSize - LangFileOffset)
                          : LangFilePath + ": the file changed while it was read",
                      error);
    }
    if (!CheckAndCommit(handles, spans, LangFilePath, &message)) return Report(message, error);
    LangBlockTable.handles = DefBlocks;
    LangBlockTable.count = InterfaceBlockCount;
    return true;
}

}  // namespace

bool LoadDefinitionsFromBytes(const uint8_t *data, size_t size, std::string *error, const char *name) {
    try {
        return LoadBytes(data, size, error, name);
    } catch (const std::bad_alloc &) {
        // Nothing was changed: the check and the copy catch their own.
        return OutOfMemory(error);
    }
}

bool LoadDefinitions(std::string *error) {
    try {
        return LoadFound(error);
    } catch (const std::bad_alloc &) {
        // Only the reading pass can be cut short with blocks in hand: they
        // are in the reader's table until the check takes them over.
        if (LangBlockTable.handles != DefBlocks) {
            FreeBlocks(LangBlockTable.handles);
            LangBlockTable = {};
        }
        return OutOfMemory(error);
    }
}

void InterfaceUnload() {
    FreeBlocks(DefBlocks);
    DefBlockSizes = {};
    ClearPointers();
    ClearRunTimeTables({});
    NameTableFree();
    LangBlockTable = {};
}
