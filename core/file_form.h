// file_form.h - converting records, rows, settings blocks and strings
// between memory form and the file form of the open database.
//
// A database file records the byte order and character set it was
// written in as a one-byte flag. The program's own flag is 1; a file
// this program creates carries 1, and so does a client's view of its
// server. While the open database's flag equals the program's, memory
// form and file form are the same bytes and nothing here changes
// anything. Otherwise every field is converted by its type, in place:
//
//   types                          file form
//   1, 17, 22, 25, 27, 33 (texts)  length byte cut to the field's maximum
//                                  length, then every character through
//                                  the selected character table
//   5, 19, 24 (32-bit values)      the four bytes reversed
//   6, 26 (DateRec)                each of the three u16 words swapped
//   7 (DateTimeRec)                each of the seven u16 words swapped
//   10, 11, 18, 30 (16-bit values) the two bytes exchanged
//   all others                     unchanged: amounts (PackedDecimal) have
//                                  one layout everywhere, 13 is one byte,
//                                  the rest store nothing
//
// A record's matrix slot is never converted: it holds a MemBlock handle
// of this run, which the engine and the message codec still use while
// the record is in file form. With several row kinds, the kind word of
// each row is swapped once, whatever the layout lists at offset 0.
//
// Direction 1 turns memory form into file form (before a write or a key
// search), direction 0 file form into memory form (after a read). The
// selector picks the character table: 1 the write table (memory to file
// character set), 0 the read table. Converting one way and then the
// other gives back the original bytes whenever the two tables are
// inverse to each other.
#pragma once

#include <cstdint>

#include "core/definitions.h"

struct ByteOrderFlags {
    uint8_t program = 1;     // this program's flag, set at start-up
    uint8_t database = 1;    // the open database's flag
};
extern ByteOrderFlags ByteOrder;

constexpr uint8_t ProgramByteOrder = 1;
constexpr int ConvertToMemory = 0;
constexpr int ConvertToFile = 1;

// Sets the open database's flag (from its header; 1 for a new file and
// in client mode). Only 0 and 1 are flags: any other value is refused
// with false and the flag kept, so the caller can refuse the file.
bool ByteOrderSetDatabase(uint8_t flag);
// True when the database's flag differs from the program's, that is,
// when conversion is needed at all.
bool ByteOrderDiffers();
// The character-table selector for a direction under the current flags.
int ConvertSelector(int direction);

// Exchanges the two bytes of the u16 at p, or reverses the four bytes of
// the u32 at p, in place (p need not be aligned).
void SwapWord(uint8_t *p);
void SwapLong(uint8_t *p);
constexpr uint16_t SwapWordValue(uint16_t v) { return (uint16_t)(v >> 8 | v << 8); }
constexpr uint32_t SwapLongValue(uint32_t v) {
    return v >> 24 | (v >> 8 & 0xFF00u) | (v << 8 & 0xFF0000u) | v << 24;
}

// The u16 at the head of a balance block (its base month).
void PokeWord(uint8_t *p, uint16_t value);
uint16_t PeekWord(const uint8_t *p);

// Translates every character of the PString text in place through the
// write table (selector 1) or the read table (any other selector); the
// identity when no interface file is loaded.
void TranslateChars(uint8_t *text, int selector);
// TranslateChars with the selector of the direction, when the flags
// differ.
void PStringConvert(uint8_t *text, int direction);

// Converts one field of the type at p as the table above. maxLength is
// the field's maximum text length, or -1 when not known (then the length
// byte is not cut). Types outside 0..33 are left unchanged.
void FieldConvert(uint16_t type, int maxLength, uint8_t *p, int selector);
// FieldConvert with no maximum length and the direction's selector, when
// the flags differ.
void FieldConvertIf(uint16_t type, uint8_t *p, int direction);

// Converts a record of register reg and its rows, when the flags differ.
void RecordConvert(int reg, uint8_t *record, int direction);
// Converts the size / row size whole rows at data by the row layout.
void MatrixConvert(RowLayoutRef layout, uint8_t *data, uint32_t size, int direction, int selector);
// Converts settings block `block` (one record) through its field list,
// when the flags differ.
void BlockConvert(int block, uint8_t *data, int direction);
// Converts the rows of a row-table settings block through its row layout,
// when the flags differ.
void BlockMatrixConvert(int block, uint8_t *data, uint32_t size, int direction);
