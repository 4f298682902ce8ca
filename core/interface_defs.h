// interface_defs.h - the interface file's contents as plain data.
//
// The dictionary compiler (tools/) fills an InterfaceDefs from the text
// source in dict/, and InterfaceWrite turns it into the 20 blocks of the
// binary interface file that LoadDefinitions reads at start-up. Tests
// build small InterfaceDefs directly. Offsets and sizes here are the
// values stored in the file; nothing in this header knows the binary
// layout (interface_write.cpp does).
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

constexpr uint32_t InterfaceVersion = 3041;
constexpr int RegisterCount = 133;       // register numbers 0..132
constexpr int WinTypeCount = 600;        // window types 1..599
constexpr int WinTypeWords = 23;
constexpr int32_t DefAbsent = -1;        // an absent offset

// The largest record the program holds: a register's record, a settings
// block's record, or one row. A window's record buffer and a settings
// binding keep their sizes in 16 bits, and every buffer the record and
// settings layers make is sized from these definitions, so a larger size
// in an interface file is damage, never a real record.
constexpr uint32_t RecordSizeMax = 65535;
// The longest "Register:Index" name: the engine's index master list keeps
// it as a PString in 62 bytes (database/engine/format.h), and every
// insert into a register with a longer one would fail.
constexpr size_t IndexFullNameMax = 61;

// One field of a record or of a settings block.
struct FieldDef {
    std::string name;     // the source name; used for the offsets header only
    uint32_t offset;
    uint16_t type;        // field type code
    uint16_t size;        // for a text the maximum length
    int line = 0;         // source line, for messages
};

// One field of a row; kind is 1 when rows have a single kind.
struct RowFieldDef {
    std::string name;
    uint16_t kind = 1;
    uint32_t offset;
    uint16_t type;
    uint16_t size;
    int line = 0;
};

struct RowLayoutDef {
    uint32_t rowSize = 0;
    uint16_t kindCount = 1;
    std::vector<RowFieldDef> fields;
};

struct KeyPartDef {
    uint16_t word = 1;
    uint32_t recordOffset;
    uint32_t keyOffset;
    uint16_t length;
    uint16_t type;
};

struct IndexDefSource {
    std::string name;                 // "SerNr", "CustCode", ...
    uint16_t head;                    // index head number 1..350, unique in the file
    uint16_t keyLength;
    uint16_t maxEntries;              // entries per node
    uint32_t nodeSize;                // bytes, at most 504
    std::array<uint16_t, 3> words = {1, 0, 1};
    std::vector<KeyPartDef> parts;
    int line = 0;
};

// A key part as code builds it (tests, fuzz targets, tools).
inline KeyPartDef KeyPart(uint32_t recordOffset, uint32_t keyOffset, uint16_t length, uint16_t type) {
    KeyPartDef p{};
    p.recordOffset = recordOffset;
    p.keyOffset = keyOffset;
    p.length = length;
    p.type = type;
    return p;
}

// An index holding maxEntries entries per node; the node size follows
// from them (6 header bytes, then key length + 12 bytes an entry).
inline IndexDefSource IndexOf(const char *name, uint16_t head, uint16_t keyLength, uint16_t maxEntries,
                              std::vector<KeyPartDef> parts) {
    IndexDefSource x{};
    x.name = name;
    x.head = head;
    x.keyLength = keyLength;
    x.maxEntries = maxEntries;
    x.nodeSize = 6 + (uint32_t)maxEntries * (keyLength + 12u);
    x.parts = std::move(parts);
    return x;
}

struct RegisterDefSource {
    uint16_t number;                  // 1..132
    std::string name;                 // at most 41 characters
    uint32_t recordSize;
    int32_t matrixOffset = DefAbsent; // offset of the rows handle, or absent
    int32_t userCodeOffset = DefAbsent;
    bool simple = false;
    std::vector<FieldDef> fields;
    std::optional<RowLayoutDef> rows;
    std::vector<IndexDefSource> indexes;
    int line = 0;
};

struct SettingsBlockSource {
    uint16_t number;                  // 129..227
    uint16_t kind;                    // 1 one record, 0 a table of rows
    uint32_t size;                    // of the record, or of one row
    std::vector<FieldDef> fields;
    std::optional<RowLayoutDef> rows; // stored in the register block
    int line = 0;
};

// A window type's 23-word entry; word 0 = 65535 means "not defined".
struct WinTypeSource {
    uint16_t number;
    std::array<uint16_t, WinTypeWords> words{};
    int line = 0;
};

// A window type's layout: the 11 part slots, each a list of entries in
// their stored byte form (sized parts include their size word).
constexpr int WinDefParts = 11;
struct WinDefinitionSource {
    uint16_t number;
    std::array<std::optional<std::vector<std::vector<uint8_t>>>, WinDefParts> parts;
    int line = 0;
};

// The twelve tables of the list directory, each stored in its final
// byte form (the compiler builds the entries; slot 9 has no reader).
struct ListDirectorySource {
    std::array<std::vector<uint8_t>, 12> tables;
};

struct TextSource {
    int16_t number;                   // 1..32767
    std::string text;                 // at most 255 bytes, in the file's character set
    int line = 0;
};

struct NameTableSource {
    std::vector<uint8_t> header, kept1, kept2, buckets, entries, pool;
};

struct InterfaceDefs {
    uint32_t version = InterfaceVersion;
    ListDirectorySource lists;
    std::vector<WinTypeSource> winTypes;
    std::vector<SettingsBlockSource> settingsBlocks;
    std::vector<RegisterDefSource> registers;
    std::vector<TextSource> texts;
    std::array<uint8_t, 256> readTable{}, writeTable{}, collation{};
    std::vector<WinDefinitionSource> winDefinitions;
    NameTableSource names;
    std::vector<uint8_t> printerTable;   // empty or 256 bytes
    std::vector<uint8_t> overstrikeTable;
};
