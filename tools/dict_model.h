// dict_model.h - the dictionary source as the compiler holds it between
// reading the files and building the interface file.
//
// Parsing fills a DictSource from every dict/*.dict file; names that one
// file uses and another defines (texts, registers, choice lists, window
// types, fields) stay as names until DictBuild resolves them, so files may
// be read in any order. Every item keeps its file and line for messages.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/interface_defs.h"

struct DictPos {
    int file = 0;   // index into DictSource::files
    int line = 0;
};

// What a name in a value refers to.
enum class DictRefKind : uint8_t {
    Number,    // a plain number; never a name
    Text,      // a text number or a text's name
    Register,  // a register number or name
    Block,     // a settings-block number or name
    WinType,   // a window type number or name
    Choice,    // a choice-list number or name
    Offset,    // a byte offset, or "Register.Field" / "Block.Field"
};

// A number, or a name to be resolved to one.
struct DictValue {
    DictRefKind kind = DictRefKind::Number;
    int64_t number = 0;
    std::string name;   // empty when the number stands
    DictPos pos;
};

// A value to be stored at a byte offset of an entry (width 1, 2 or 4).
struct DictPut {
    uint32_t at;
    uint8_t width;
    DictValue value;
};

// A PString inside an entry. A string at the entry's fixed size is its
// tail: the entry grows by it. Others live in a fixed area of max + 1
// bytes.
struct DictString {
    uint32_t at;
    uint32_t max;
    std::string text;   // cp1252
};

// One entry of a window-layout part or of a list table, built to bytes
// once its names are resolved.
struct DictEntry {
    int slot = 0;          // window part 0..10, or list slot 0..8
    uint32_t size = 0;     // bytes before the tail string
    bool sized = false;    // begins with its own u16 byte size
    std::vector<DictPut> puts;
    std::vector<DictString> strings;
    DictPos pos;
};

// A field of a record, a settings block or a row.
struct DictField {
    std::string name;
    uint32_t offset = 0;
    uint16_t type = 0;
    bool hasArg = false;
    DictValue arg;          // maximum length, byte count or choice list
    bool overlay = false;   // may share bytes with other fields
    uint16_t kind = 0;      // row kind; 0 = a field of every kind
    uint16_t size = 0;      // set by DictBuild: the stored size word
    uint32_t width = 0;     // set by DictBuild: the bytes it covers
    DictPos pos;
};

struct DictRows {
    uint32_t size = 0;
    uint16_t kinds = 1;
    std::vector<DictField> fields;
    DictPos pos;
};

// A key part: a field by name, or offset, length and type.
struct DictKeyPart {
    std::string field;
    uint32_t offset = 0;
    uint32_t length = 0;
    uint16_t type = 0;
    DictPos pos;
};

struct DictIndex {
    std::string name;
    uint16_t head = 0;
    uint32_t node = 0;
    int64_t entries = -1;   // -1: as many as the node holds
    std::array<uint16_t, 3> words = {1, 0, 1};
    std::vector<DictKeyPart> parts;
    DictPos pos;
};

// A register, or a settings block (block = true).
struct DictRecord {
    bool block = false;
    bool table = false;                 // a settings block of rows
    uint16_t number = 0;
    std::string name;
    uint32_t size = 0;
    std::optional<DictValue> matrix;    // field name or offset of the rows handle
    std::optional<DictValue> userCode;  // field name or offset of the user code
    bool simple = false;
    std::vector<DictField> fields;
    std::optional<DictRows> rows;
    std::vector<DictIndex> indexes;
    DictPos pos;
};

// A record layout that lives only in the program (a window's own record,
// say): its fields are checked like a register's and named in the header,
// but nothing of it goes into the interface file. With a base register
// the layout begins with that register's record, and its own fields lie
// after it.
struct DictLayout {
    std::string name;
    std::optional<DictValue> base;   // a register
    uint32_t size = 0;
    uint32_t baseSize = 0;           // set by DictBuild: the base register's record size
    std::string baseName;            // set by DictBuild: the base register's name
    std::vector<DictField> fields;
    DictPos pos;
};

struct DictText {
    int64_t number = 0;
    std::string name;   // optional symbolic name for the header
    std::string text;   // cp1252
    DictPos pos;
};

struct DictWinType {
    uint16_t number = 0;
    std::string name;
    std::array<std::optional<DictValue>, WinTypeWords> words;
    DictPos pos;
};

struct DictWindow {
    uint16_t number = 0;
    std::vector<DictEntry> entries;
    DictPos pos;
};

struct DictMenuItem {
    bool separator = false;
    uint16_t number = 0;
    uint16_t key = 0;
    std::string text;
    DictPos pos;
};

struct DictMenu {
    uint16_t number = 0;
    std::string title;
    std::vector<DictMenuItem> items;
    DictPos pos;
};

struct DictChoicePair {
    uint16_t value;
    DictValue text;
};

struct DictChoice {
    uint16_t number = 0;
    std::string name;
    std::vector<DictChoicePair> pairs;
    DictPos pos;
};

// Character tables: read, write, printer, overstrike.
enum DictCharTableId { CharRead, CharWrite, CharPrinter, CharOverstrike, CharTableCount };

struct DictCharTable {
    bool given = false;
    bool empty = false;     // an empty block (printer table only)
    std::array<uint8_t, 256> bytes{};
    DictPos pos;
};

struct DictCollation {
    bool given = false;
    std::vector<std::string> groups;   // characters of equal weight, ascending
    int restAt = -1;                   // group index before which the rest go
    std::vector<DictPos> groupPos;
    DictPos pos;
};

struct DictName {
    std::string name;       // cp1252
    uint16_t cls = 0;
    uint16_t index = 0;
    DictPos pos;
};

// A built-in function of the formula language: its name, the two code
// bytes it emits (128 op, or 129 for a balance function), its argument
// types (1 BOOLEAN, 2 INTEGER, 3 REAL, 4 STRING, 6 raw text) and its
// result type (0 for an instruction).
struct DictBuiltin {
    std::string name;
    uint16_t code1 = 0, code2 = 0;
    std::string args;
    uint8_t result = 0;
    DictPos pos;
};

// An operator row of the formula language, by operator number. A word
// operator (spelling a word) is also entered as a name of class 28.
struct DictOperator {
    uint16_t number = 0;
    std::string spelling;
    bool word = false;
    uint16_t precedence = 0, cls = 0, arity = 0, sub = 0;
    DictPos pos;
};

struct DictSource {
    std::vector<std::string> files;
    std::vector<std::string> errors;    // "file:line: message"

    std::vector<DictText> texts;
    std::vector<DictRecord> records;
    std::vector<DictLayout> layouts;
    std::vector<DictWinType> winTypes;
    std::vector<DictWindow> windows;
    std::vector<DictMenu> menus;
    std::vector<DictEntry> listEntries;
    std::vector<DictChoice> choices;
    std::array<DictCharTable, CharTableCount> charTables;
    DictCollation collation;
    std::vector<DictName> names;
    std::vector<DictBuiltin> builtins;
    std::vector<DictOperator> operators;
};

// Adds "file:line: message" to src->errors.
void DictError(DictSource *src, DictPos pos, const std::string &message);
