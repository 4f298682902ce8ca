// format.h - the on-disk layout of a database file, described once.
//
// Every other file of the engine points here for byte offsets. All
// numbers of the engine's own structures are stored in the byte order
// named by header byte 0 (this program writes flag 1, its own order) and
// are read and written only through D4GetWord/D4GetLong/D4PutWord/
// D4PutLong (engine_state.h), which swap when the open file's flag is not
// the program's. Records and numbered-block data are stored as the
// record layer hands them over (already in the file's form).
//
// SECTORS AND POINTERS
//   The file is a sequence of 512-byte sectors. A disk pointer is the
//   u32 byte offset of a sector: a multiple of 512, below the logical end
//   (header +26). 0xFFFFFFFF (-1) means "none"; 0xFFFFFFFE (-2) ends a
//   typed chain. Sector 0 holds the header; data start at 512.
//
// HEADER (first 100 bytes of sector 0, followed by the commit record)
//   +0   u8       byte-order flag of the file (1 = this program's order)
//   +1   u8       reserved, 0
//   +2   u32      free list A: sector holding a copy of its head block, -1
//   +6   u32      number of levels of the segment tree (1..50)
//   +10  u32      segment-tree root node
//   +14  u32      maxSegNr, the highest segment number ever issued
//   +18  u32      number of live segments
//   +22  u32      segment number of the first index master-list block
//   +26  u32      logical end: the next never-used sector
//   +30  u32      free list B: sector holding a copy of its head block, -1
//   +34  u32      physical end: highest byte offset ever written
//   +38  u32      format number: 3041, or 3042 while a program that
//                 checks the commit record has the file open (an older
//                 program refuses 3042 and so never trusts a commit it
//                 cannot check)
//   +42  u16      damaged word (non-zero: the file is marked damaged)
//   +44  u16      in-use word (1 while a program has the file open)
//   +46  u16      reserved, 0
//   +48  u32      last write serial given to a typed chain
//   +52  11 x u32 heads of the task queues (-1; written only at creation)
//   +96  u32      number of queued tasks (0)
//
// COMMIT RECORD (sector 0 after the header; commit_record.cpp)
//   +100 u32      magic 0x4F434D54
//   +104 u32      commit number
//   +108 100      the header of the last durable commit before this one
//   +208 u16      number of runs (0..47)
//   +210 47 x 6   runs: u32 first sector pointer, u16 sector count; every
//                 sector written since the last durable commit that the
//                 new header uses, in ascending order
//   +492 u32      reserved, 0
//   +496 u64      content checksum of the runs' sectors (two u32, low first)
//   +504 u64      check of bytes 0..503 of sector 0 (two u32, low first)
//   A commit whose runs fit is one write of sector 0 after its sectors and
//   one sync; the open reads the runs, and a checksum that does not match
//   is a commit torn by a power loss: the header of the record goes back.
//   A record whose check fails was not written with the header in front
//   of it (an older program wrote only the header): the header holds as is.
//   Commits whose runs do not fit sync their sectors first and then write
//   sector 0 with no runs.
//
// PLAIN ITEM (one sector): index nodes, segment-tree nodes, master-list
// blocks, index root records and free-list blocks.
//   +0   u32      next pointer, always -1
//   +4   u32      data length (at most 504)
//   +8   504      data
//
// TYPED CHAIN (records, type 1; numbered blocks, type 2)
//   first sector:
//   +0   u32      next sector, -2 in the last sector
//   +4   u16      sequence number of the sector in the chain, 1
//   +6   u32      total data length
//   +10  u16      item type: 1 record, 2 numbered block
//   +12  u16      register number (type 1) or block number (type 2)
//   +14  u32      write serial
//   +18  494      data
//   later sectors:
//   +0   u32      next sector, -2 in the last
//   +4   u16      sequence number 2, 3, ...
//   +6   506      data
//   The rest of the last sector is zero. A reader tells the two forms
//   apart by the first next pointer: -1 plain, anything else typed.
//
// FREE-LIST BLOCK (502 bytes, a plain item)
//   +0   u16      count of valid pointers (0..124)
//   +2   u32      next block of the list, -1 none
//   +6   124 x u32 free sector pointers; the first count are valid
//   Lists A and B are chains of such blocks. Header +2 / +30 name the
//   sector holding the head block; every pointer listed in either chain
//   is a free sector, and the block sectors themselves are in use.
//
// SEGMENT-TREE NODE (498 bytes, a plain item)
//   +0   u16      count of entries (0..62)
//   +2   62 x 8   entries: u32 disk pointer, u32 first segment number
//   In a leaf the pointer leads to the segment's item and the number is
//   the segment's own; in an inner node the pointer leads to a child and
//   the number is the first segment number of that child.
//
// INDEX NODE (a plain item of the definition's node size, <= 504)
//   +0   u16      count of entries
//   +2   u32      total: the sum of the entries' counts
//   +6   entries of (key length + 12) bytes, entry i at 6 + i x size:
//        +0  u32  child node, -1 in a leaf
//        +4  u32  number of keys beneath (1 in a leaf)
//        +8  u32  record id (inner: that of the child's first key)
//        +12 key  (inner: the child's first key)
//
// INDEX ROOT RECORD (a segment, plain item of 8 bytes)
//   +0   u32      number of levels (1 for a new index, at most 29)
//   +4   u32      root node
//
// INDEX MASTER-LIST BLOCK (a segment, plain item of 468 bytes)
//   +0   u16      count of entries (0..7)
//   +2   u32      segment number of the next block, -1 none
//   +6   7 x 66   entries: index name as a PString in 62 bytes
//                 ("Register:Index", or "Blocks"), u32 segment number of
//                 the index's root record at +62
//
// INDEXDEF (as the interface file stores it, little-endian; layout in
// core/interface_write.h; read with the IndexDef* lookups of
// core/definitions.h). The engine builds its own "Blocks" definition in
// the same form:
//   +0  u16 offset of the first key part  +2 u16 index head (1..350)
//   +4  u16 number of key parts           +6 u16 key length
//   +8  u16 maximum entries per node      +10 u32 node size (<= 504)
//   +14 3 x u16 words                     +20 index name, PString
//   key parts, 14 bytes each: u16 word, u32 offset in the record, u32
//   offset in the key, u16 length, u16 field type.
//
// NUMBERED BLOCKS: typed chains of type 2 with the block number in the
// chain's number field, found through the index "Blocks" whose key is
// the block number as a signed 32-bit value.
//
// STORED RECORD: the record's fixed part (the register's record size)
// followed directly by its rows bytes when it has any.
#pragma once

#include <cstdint>

namespace dbformat {

constexpr uint32_t SectorSize = 512;
constexpr uint32_t DiskNone = 0xFFFFFFFFu;     // "none"
constexpr uint32_t ChainEnd = 0xFFFFFFFEu;     // last sector of a typed chain
constexpr uint32_t FormatNumber = 3041;       // closed cleanly
constexpr uint32_t FormatNumberOpen = 3042;   // open, or left open
// The highest logical end a u32 pointer can describe with -1 and -2 kept.
constexpr uint32_t MaxLogicalEnd = 0xFFFFFC00u;

// Header
constexpr int HeaderSize = 100;
constexpr int HdrByteOrder = 0;
constexpr int HdrFreeA = 2;
constexpr int HdrSegLevels = 6;
constexpr int HdrSegRoot = 10;
constexpr int HdrMaxSegNr = 14;
constexpr int HdrSegCount = 18;
constexpr int HdrMasterList = 22;
constexpr int HdrLogicalEnd = 26;
constexpr int HdrFreeB = 30;
constexpr int HdrPhysicalEnd = 34;
constexpr int HdrFormat = 38;
constexpr int HdrDamaged = 42;
constexpr int HdrInUse = 44;
constexpr int HdrReserved = 46;
constexpr int HdrLastSerial = 48;
constexpr int HdrQueueHeads = 52;
constexpr int QueueCount = 11;
constexpr int HdrQueuedTasks = 96;

// Commit record
constexpr int CrMagic = 100;
constexpr int CrNumber = 104;
constexpr int CrPrevHeader = 108;
constexpr int CrRunCount = 208;
constexpr int CrRuns = 210;
constexpr int CrRunSize = 6;
constexpr int CrRunMax = 47;
constexpr int CrChecksum = 496;
constexpr int CrCheck = 504;
constexpr uint32_t CommitMagic = 0x4F434D54u;

// Plain item
constexpr int PlainNext = 0;
constexpr int PlainLength = 4;
constexpr int PlainData = 8;
constexpr uint32_t PlainDataMax = 504;

// Typed chain
constexpr int ChainNext = 0;
constexpr int ChainSeq = 4;
constexpr int ChainLength = 6;
constexpr int ChainType = 10;
constexpr int ChainNumber = 12;
constexpr int ChainSerial = 14;
constexpr int ChainFirstData = 18;
constexpr uint32_t ChainFirstRoom = SectorSize - ChainFirstData;   // 494
constexpr int ChainLaterData = 6;
constexpr uint32_t ChainLaterRoom = SectorSize - ChainLaterData;   // 506
constexpr uint16_t TypeRecord = 1;
constexpr uint16_t TypeBlock = 2;

// Free-list block
constexpr int FreeCount = 0;
constexpr int FreeNext = 2;
constexpr int FreePtrs = 6;
constexpr int FreeMax = 124;
constexpr uint32_t FreeBlockSize = FreePtrs + FreeMax * 4;   // 502

// Segment-tree node
constexpr int SegNodeCount = 0;
constexpr int SegNodeEntries = 2;
constexpr int SegEntrySize = 8;
constexpr int SegNodeMax = 62;
constexpr uint32_t SegNodeSize = SegNodeEntries + SegNodeMax * SegEntrySize;   // 498
constexpr int SegMaxLevels = 50;

// Index node
constexpr int NodeCount = 0;
constexpr int NodeTotal = 2;
constexpr int NodeEntries = 6;
constexpr int EntryChild = 0;
constexpr int EntryCount = 4;
constexpr int EntryRecId = 8;
constexpr int EntryKey = 12;
constexpr uint32_t EntryFixed = 12;     // bytes of an entry besides its key
constexpr int IndexMaxLevels = 29;

// Index root record
constexpr int RootLevels = 0;
constexpr int RootNode = 4;
constexpr uint32_t RootRecordSize = 8;

// Master-list block
constexpr int MlCount = 0;
constexpr int MlNext = 2;
constexpr int MlEntries = 6;
constexpr int MlEntrySize = 66;
constexpr int MlNameRoom = 62;
constexpr int MlEntrySeg = 62;
constexpr int MlMax = 7;
constexpr uint32_t MlBlockSize = MlEntries + MlMax * MlEntrySize;   // 468

// IndexDef (little-endian, as in the interface file)
constexpr int DefFirstPart = 0;
constexpr int DefHead = 2;
constexpr int DefPartCount = 4;
constexpr int DefKeyLength = 6;
constexpr int DefMaxEntries = 8;
constexpr int DefNodeSize = 10;
constexpr int DefWords = 14;
constexpr int DefName = 20;
constexpr int PartSize = 14;
constexpr int IndexHeads = 351;   // head numbers 1..350

}  // namespace dbformat
