// field_types.h - field type codes, the stored width of each, and the
// text form of every field value.
//
// Every field of a register, a settings block or a row has a type code
// (0..33). Whatever shows a field turns it into text with FieldFormat /
// FieldToText; whatever takes a field from a user, a text file or an
// import turns text into the field with FieldFromText. Codes 0..30 are
// read from text, codes 0..33 written; a code outside those ranges reads
// as nothing and writes the empty text.
//
// "m" is the field's maximum text length for the text types (1, 17, 22,
// 25, 27, 33) and the choice-list number for code 30; for code 9 an m of
// CreditTotalFormat marks a total, which shows a zero as 0,00 as a debit
// or an amount does (a credit column shows only what is below zero);
// other codes ignore it.
//
// Stored values (in memory form, host byte order; fields may be
// unaligned, so values are read and written through memcpy):
//
//   code  width        value
//    0,3,4,12,28,31,32  0     none
//    1    text         PString of at most m characters, bytes after it 0
//    2    12           PackedDecimal, 2 decimals
//    5    4            int32, -1 = empty
//    6    6            DateRec (year 0 = empty)
//    7    14           DateTimeRec
//    8    12           amount shown in a debit column (shown when >= 0)
//    9    12           the same amount shown in a credit column (when < 0)
//   10,11 2            int16
//   13    1            flag byte, 0 or 1
//   14    12           percentage (written only)
//   15    12           amount shown in thousands (written only)
//   16    12           amount shown in millions (written only)
//   17,22 text         code: upper-cased text
//   18    2            uint16 mark, shown as one character
//   19    4            int32 (empty text = 0)
//   20    12           amount, 1 decimal
//   21    12           amount, no decimals
//   23    12           amount, 3 decimals, trailing zeros trimmed
//   24    4            32-bit value without a text form
//   25    text         hidden text, shown as one "*" per character
//   26    6            DateRec shown in long form (written only)
//   27    text         code with "_" for blanks, "," and ":", upper-cased
//   29    12           amount, 3 decimals, last zero dropped
//   30    2            uint16 choice-list value (list m)
//   33    text         text with "_" for blanks (written only)
//
// A text field of maximum length m takes m + 1 bytes rounded up to even.
#pragma once

#include <cstdint>

#include "core/decimal.h"

enum FieldTypeCode : uint16_t {
    FtNone = 0,
    FtText = 1,
    FtAmount2 = 2,
    FtSpare3 = 3,
    FtSpare4 = 4,
    FtLongOrEmpty = 5,     // int32, -1 = empty
    FtDate = 6,
    FtDateTime = 7,
    FtDebit = 8,
    FtCredit = 9,
    FtShort = 10,
    FtShortB = 11,
    FtSpare12 = 12,
    FtFlag = 13,
    FtPercent = 14,
    FtThousands = 15,
    FtMillions = 16,
    FtCode = 17,
    FtMark = 18,
    FtLong = 19,
    FtAmount1 = 20,
    FtAmount0 = 21,
    FtCodeKept = 22,       // code text, as code 17
    FtAmount3 = 23,
    FtValue32 = 24,
    FtHidden = 25,
    FtDateLong = 26,
    FtCodeNoSep = 27,
    FtSpare28 = 28,
    FtAmount3Drop = 29,
    FtChoice = 30,
    FtSpare31 = 31,
    FtBalanceMark = 32,
    FtUnderscoreText = 33,
};

constexpr int FieldTypeCount = 34;          // codes 0..33 are written
constexpr int FieldTypeParsedCount = 31;    // codes 0..30 are read

// True for the codes whose value is a PString of at most m characters.
constexpr bool FieldTypeIsText(uint16_t type) {
    return type == FtText || type == FtCode || type == FtCodeKept || type == FtHidden ||
           type == FtCodeNoSep || type == FtUnderscoreText;
}

// The stored width in bytes of a field of the type: m + 1 rounded up to
// even for the text types (m clamped to 0..255), the table above for the
// others, 0 for codes that store nothing and for codes outside 0..33.
int FieldSize(uint16_t type, int m);

// The m of a credit field that shows a total (see the head of this file).
constexpr int CreditTotalFormat = 1;

// Writes the value at value (of the type, list or length m) as text into
// out (a 256-byte PString buffer).
void FieldFormat(const uint8_t *value, uint16_t type, int m, uint8_t *out);
// FieldFormat with m = 0 (text types show their whole text; a choice
// value shows its digits).
void FieldToText(const uint8_t *value, uint16_t type, uint8_t *out);

// Reads text into the field. Returns true when the field now holds the
// text's value (or the type takes nothing from text); false when the
// text was refused and the field left unchanged: a malformed number for
// a numeric type, an amount out of range, a number outside
// -32768..32767 for codes 10 and 11 or outside 0..65535 for code 18, a
// date text with characters a date cannot hold, or for code 30 a text
// that is neither a text of the list nor a number -32768..65535.
// For numbers, amounts and dates a text of blanks counts as the empty
// text (code 5: -1; 6: no date; the other numbers 0; amounts blank).
bool FieldFromText(uint8_t *field, uint16_t type, int m, const uint8_t *text);

// Sets the whole field (FieldSize bytes) to its empty value: blank
// amounts, -1 for code 5, an empty date, zero for the others.
void FieldClear(uint8_t *field, uint16_t type, int m);

// Copies the field of src to dst. Text codes 1, 17, 22 and 27 are re-cut
// to m characters and re-cased as FieldFromText does; every other code
// copies FieldSize bytes.
void FieldMove(uint8_t *dst, const uint8_t *src, uint16_t type, int m);

// Parses text into the field and tells whether the field's text form
// changed by it. *accepted (when given) gets FieldFromText's answer: a
// refused text leaves the field, and so its text, unchanged.
bool FieldSetFromTextChanged(uint8_t *field, uint16_t type, int m, const uint8_t *text,
                             bool *accepted = nullptr);

// Wraps a value as a template cell (see core/text_template.h) into the
// PString out: character 5, the type as u16 low byte first, then the
// value's bytes (for a text type the PString, at most 251 characters;
// otherwise FieldSize bytes). At most 252 value bytes.
void FieldToCell(const uint8_t *value, uint16_t type, uint8_t *out);

// Splits an amount into the texts of a debit and a credit column: both
// empty for blank; a negative amount gives its magnitude (2 decimals) in
// neg; any other amount its value in pos.
void DecToTextBySign(const PackedDecimal *p, uint8_t *pos, uint8_t *neg);

// For a number text that holds the decimal separator: drops its last
// character when that is "0" or the separator.
void DropLastZero(uint8_t *text);
// For a number text that holds the decimal separator: drops trailing "0"
// characters, and the separator when no decimal remains.
void TrimDecimalZeros(uint8_t *text);

// Shows message (zero-terminated) with the stop icon; when value is not
// null, followed by " " and the value's text by its type.
void ShowMessageValue(const char *message, const uint8_t *value, uint16_t type);
