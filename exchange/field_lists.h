// field_lists.h - what stands inside a section of the text exchange: one
// list of columns per register or settings block and layout version, each
// column a field position of the record, its field type and the reader's
// maximum length. The file format is fixed by these lists, not by the
// dictionary: a column names a field, the list names the order.
#pragma once

#include <cstdint>
#include <span>

// How the column engine treats one column.
enum class Col : uint8_t {
    Field,      // written with type, read with type and len
    Empty,      // written as an empty field, read into a scratch text and dropped
    ReadOnly,   // read (older layouts), not written
    NewLine,    // the writer ends the line (RepLineFeed); the reader skips the rest of the line
    IfData,     // the reader reads the columns up to the next NewLine only when ImportNextLineHasData
    Clear,      // reader only: the field at pos takes the empty value of type (blank, 0, -1, empty date)
    Verifier,   // a person's password: written as its verifier's text, read as one or as a password
};

// One column: the field's byte position in the record (or row), its field
// type and the reader's maximum length (text types; 0 for the others).
struct Column {
    uint16_t pos;
    uint8_t type;
    uint16_t len;
    Col kind = Col::Field;
};

// A special writer replaces the generic one; a special reader replaces the
// generic one and answers false on damage; an after-reading effect runs on
// the read record before it is stored.
using ListWrite = void (*)(int number, const uint8_t *record);
using ListRead = bool (*)(int number, int version, uint8_t *record);
using ListAfter = void (*)(int number, int version, uint8_t *record);

// The list of one register or block (or a span of numbers sharing it) in
// one layout version: header columns, then rows when rowSize is not 0.
struct FieldList {
    bool block;
    uint16_t first, last;                // numbers sharing the list: 34..43, 187..198
    uint8_t version;                     // as the import tag table gives it; the newest is written
    std::span<const Column> header;
    uint16_t rowSize;                    // 0: no rows; RowSizeOfRegister: the dictionary's row size
    std::span<const Column> rows;
    ListWrite write = nullptr;
    ListRead read = nullptr;
    ListAfter after = nullptr;
};

// rowSize of a register whose rows are as large as its dictionary says.
constexpr uint16_t RowSizeOfRegister = 0xFFFF;

// Every list (field_lists.cpp).
extern const std::span<const FieldList> FieldLists;

// The version that asks FieldListFor for the newest list (0 is a real
// version: "empl0", "fp").
constexpr int ListNewest = -1;
// The list of a register (block false) or settings block in a version;
// ListNewest gives the newest. Null when there is none.
const FieldList *FieldListFor(bool block, int number, int version);
