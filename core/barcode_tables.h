// barcode_tables.h - the fixed character tables of the barcode fonts.
//
// Code 128: the barcode font draws symbol value v (0..103) with one font
// character; CharOrdinalTable pairs them. Value 0 is character 148,
// values 1..94 are the characters 33..126 (value + 32), and values
// 95..103 are the characters 149, 130, 159, 142, 137, 138, 136, 135, 141.
// The form fields pack digit pairs into symbol values and append the
// check symbol through OrdinalOfChar and CharFromOrdinal.
//
// EAN-13: Ean13BarcodeText lays 13 digits out as the 15 characters of
// the EAN-13 barcode font.
#pragma once

#include <array>
#include <cstdint>

struct CharOrdinalPair {
    uint8_t character;
    uint16_t value;
};

constexpr int CharOrdinalCount = 104;
using CharOrdinalTableType = std::array<CharOrdinalPair, CharOrdinalCount>;

// Builds the Code 128 table (at compile time, for CharOrdinalTable).
constexpr CharOrdinalTableType CharTableInit() {
    constexpr std::array<uint8_t, 9> high = {149, 130, 159, 142, 137, 138, 136, 135, 141};
    CharOrdinalTableType t{};
    t[0] = {148, 0};
    for (int v = 1; v <= 94; v++) t[v] = {(uint8_t)(v + 32), (uint16_t)v};
    for (int v = 95; v <= 103; v++) t[v] = {high[v - 95], (uint16_t)v};
    return t;
}

inline constexpr CharOrdinalTableType CharOrdinalTable = CharTableInit();

// The symbol value of font character c; 0 when c is not in the table.
uint16_t OrdinalOfChar(uint8_t c);
// The font character of symbol value v; a blank (32) when v is not in
// the table.
uint8_t CharFromOrdinal(int v);

// Turns the PString digits (13 digits; characters after the 13th are
// ignored) into the 15-character PString dst: ".", the second digit,
// digits 3..7 each in the set that the first digit's parity pattern
// selects (the shifted set is the digit + 16), "-", digits 8..13 + 49,
// ".". The check digit is taken as it stands. A text with fewer than 13
// characters or a non-digit among them gives an empty dst and false, so
// no wrong barcode is printed.
bool Ean13BarcodeText(const uint8_t *digits, uint8_t *dst);
