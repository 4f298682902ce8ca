// interface_write.h - the binary interface file: its byte layout, and the
// writer that lays an InterfaceDefs out in it.
//
// This comment is the one description of the format; the loader
// (interface_load.cpp), the lookups (definitions.cpp) and the block
// reader (core/language_file.cpp) point here.
//
// The file is exactly 20 blocks, one after the other with no gap and
// nothing after the last. A block is a u32 byte count n followed by n
// bytes. All 16- and 32-bit values are little-endian. Offsets inside a
// block are u32 counted from the start of that block; -1 (all bits set)
// means absent. Texts are PStrings (length byte, then the characters).
//
//  #  block                       content
//  1  version                     u32 3041
//  2  list directory              12 u32 offsets (slots 0..11) of the list
//                                 tables, which follow inside this block
//  3  window types                600 entries of 23 u16 words (types
//                                 0..599; entry 0 unused); word 0 = 65535
//                                 means "type not defined"
//  4  settings-block descriptors  u16 last index, then 18-byte entries:
//                                   +0 u16 block number   +2 u16 kind
//                                   (0 rows in a handle, else one record)
//                                   +4 u32 size of the record or of a row
//                                   +8 u32 FieldList offset in block 5
//                                   +12 u32 RowLayout offset in block 6
//                                   +16 u16 unused (0)
//  5  settings field lists        the FieldLists of the settings blocks
//  6  registers                   133 RegisterDef entries of 70 bytes
//                                 (register number x 70), then the field
//                                 lists, row layouts and index definitions
//                                 they address, and the row layouts of the
//                                 row-table settings blocks:
//                                   +0  42 bytes  name, PString <= 41
//                                   +42 u32 record size
//                                   +46 u32 offset of the rows handle in
//                                           the record, -1 no rows
//                                   +50 u32 offset of the 5-character
//                                           user-code field, -1 none
//                                   +54 u32 FieldList offset
//                                   +58 u16 number of indexes - 1
//                                   +60 u32 RowLayout offset, -1 none
//                                   +64 u32 offset of the first IndexDef
//                                   +68 u16 1 for a simple register
//  7  text index                  u32 count, then 6-byte entries (u16
//                                 number, u32 offset in block 8), strictly
//                                 ascending by number as a signed 16-bit
//  8  text pool                   the texts as PStrings
//  9  read character table        256 bytes, file to memory character
// 10  write character table       256 bytes, memory to file character
// 11  collation table             256 sort weights
// 12  window definitions          600 u32 offsets (one per window type,
//                                 -1 no layout), then the WinDefinitions
// 13  name table header           u16 count, u16, u32, u32
// 14, 15  name table kept blocks  held for the formula language
// 16  name table buckets          256 u16 entry numbers, 65535 empty
// 17  name table entries          8 bytes each (see core/name_table.h)
// 18  name table pool             zero-terminated names
// 19  printer character table     empty or 256 bytes
// 20  overstrike table            empty or 256 bytes
//
// FieldList: u16 last index (65535 = no fields), then entries that each
// begin with their own byte length: u16 length (10), u32 offset in the
// record, u16 field type, u16 size (for a text its maximum length).
//
// RowLayout: u16 offset of the first field entry from the layout's start
// (10), u16 number of field entries, u32 row size, u16 number of row
// kinds; then entries: u16 length (12), u16 row kind, u32 offset in the
// row, u16 field type, u16 size.
//
// IndexDef (one after the other, each followed by its key parts): u16
// offset of the first key part from the definition's start, u16 index
// head number (1..350, unique in the file), u16 number of key parts, u16
// key length, u16 maximum entries per node, u32 node size (<= 504), three
// u16 words, the index name as a PString at +20, then 14-byte key parts:
// u16 word, u32 offset in the record, u32 offset in the key, u16 length,
// u16 field type.
//
// List directory tables. Slots 0..5: u16 last index, 10-byte entries;
// slots 6 and 7: the same with 8-byte entries; slot 8: 6-byte entries;
// slot 9: bytes with no reader. Slot 10, menus: entries of u16 header
// length (to the first item), u16 menu number (0 ends the list; the end
// mark is these 4 bytes), u16 item count, PString title at +6; each menu's
// items follow it: u16 item length, u16, u16 accelerator code, u16 item
// number, PString title at +8. Slot 11, choice lists: u16 last index, then
// entries of u16 length, u16 list number, u16 pair count, and that many
// (u16 value, u16 text number) pairs.
//
// WinDefinition: 11 u32 part offsets from the definition's start (-1
// absent). A part is a u16 last index (65535 none) and its entries; parts
// 3, 4, 5 and 9 have fixed entries of 10, 24, 24 and 6 bytes, the others
// begin every entry with a u16 entry size (the size word included).
//
// interface_write.cpp depends on nothing but the standard library and
// interface_defs.h: the dictionary compiler links it on its own.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/interface_defs.h"

constexpr int InterfaceBlockCount = 20;
constexpr uint32_t DefNone = 0xFFFFFFFFu;      // DefAbsent as stored
constexpr uint16_t LastIndexNone = 0xFFFF;     // a last index of -1

// Blocks by number (1-based, as the table above).
enum InterfaceBlock : int {
    BlockVersion = 1, BlockLists, BlockWinTypes, BlockSettingsDescs, BlockSettingsFields,
    BlockRegisters, BlockTextIndex, BlockTextPool, BlockReadTable, BlockWriteTable,
    BlockCollation, BlockWinDefs, BlockNameHeader, BlockNameKept1, BlockNameKept2,
    BlockNameBuckets, BlockNameEntries, BlockNamePool, BlockPrinterTable, BlockOverstrike
};
// A short name of block n (1..20) for messages.
const char *InterfaceBlockName(int n);

constexpr int ListSlotCount = 12;
constexpr int ListDirectorySize = ListSlotCount * 4;
constexpr int ListSlotMenus = 10;
constexpr int ListSlotChoiceLists = 11;
// Entry size of the fixed-entry list slots; 0 for the others.
constexpr std::array<uint16_t, ListSlotCount> ListEntrySize = {10, 10, 10, 10, 10, 10, 8, 8, 6, 0, 0, 0};

constexpr int WinTypeTableEntries = WinTypeCount;            // 0..599
constexpr int WinTypeEntrySize = WinTypeWords * 2;           // 46
constexpr uint16_t WinTypeUndefined = 65535;

constexpr int SettingsDescEntrySize = 18;
constexpr int RegisterDefSize = 70;
constexpr int RegisterNameMax = 41;
constexpr int TextEntrySize = 6;
constexpr int CharTableSize = 256;

constexpr int FieldEntrySize = 10;
constexpr int RowLayoutHeaderSize = 10;
constexpr int RowFieldEntrySize = 12;
constexpr int IndexDefHeaderSize = 20;       // the name follows at +20
constexpr int KeyPartSize = 14;
constexpr uint32_t IndexNodeMax = 504;
constexpr uint16_t IndexHeadMax = 350;
constexpr int NodeHeaderSize = 6;            // an index node's count and total
constexpr int NodeEntryExtra = 12;           // child, count and record id per entry

constexpr int WinDefHeaderSize = WinDefParts * 4;
// Entry size of the fixed-entry window-definition parts; 0 where every
// entry begins with its own size.
constexpr std::array<uint16_t, WinDefParts> WinPartEntrySize = {0, 0, 0, 10, 24, 24, 0, 0, 0, 6, 0};

constexpr int NameHeaderSize = 12;
constexpr int NameBucketsSize = 512;

// Lays defs out as the 20 blocks of the interface file into *out
// (replacing its contents). Refuses, with false and a message naming the
// item (and its source line when known) in *error, what the format cannot
// hold or what the loader would refuse: register numbers out of 1..132,
// window types out of 1..599, text numbers out of 1..32767, duplicates of
// any of these, texts over 255 bytes, register names over 41, record,
// settings-block and row sizes over RecordSizeMax, "Register:Index" names
// over IndexFullNameMax, counts over 65535, offsets past 32 bits,
// malformed list tables or window-definition entries, and fields, key
// parts and rows handles that lie outside their record, row or key.
bool InterfaceWrite(const InterfaceDefs &defs, std::vector<uint8_t> *out, std::string *error);

// InterfaceWrite into the file at path (created or truncated).
bool InterfaceWriteFile(const InterfaceDefs &defs, const char *path, std::string *error);
