// barcode_tables.cpp - lookups in the Code 128 table and the EAN-13
// barcode text (see barcode_tables.h).
#include "core/barcode_tables.h"

uint16_t OrdinalOfChar(uint8_t c) {
    for (const CharOrdinalPair &p : CharOrdinalTable)
        if (p.character == c) return p.value;
    return 0;
}

uint8_t CharFromOrdinal(int v) {
    for (const CharOrdinalPair &p : CharOrdinalTable)
        if (p.value == v) return p.character;
    return ' ';
}

namespace {

// The EAN-13 parity of digits 2..7 by the first digit: bit 5 - k set
// means digit k + 2 (k = 0..5) is of the shifted set. The second digit
// is always of the unshifted set.
constexpr std::array<uint8_t, 10> Ean13Parity = {
    0b000000,   // 0 LLLLLL
    0b001011,   // 1 LLGLGG
    0b001101,   // 2 LLGGLG
    0b001110,   // 3 LLGGGL
    0b010011,   // 4 LGLLGG
    0b011001,   // 5 LGGLLG
    0b011100,   // 6 LGGGLL
    0b010101,   // 7 LGLGLG
    0b010110,   // 8 LGLGGL
    0b011010,   // 9 LGGLGL
};

bool IsDigit(uint8_t c) { return c >= '0' && c <= '9'; }

}  // namespace

bool Ean13BarcodeText(const uint8_t *digits, uint8_t *dst) {
    dst[0] = 0;
    if (digits[0] < 13) return false;
    for (int i = 1; i <= 13; i++)
        if (!IsDigit(digits[i])) return false;
    uint8_t parity = Ean13Parity[digits[1] - '0'];
    dst[1] = '.';
    dst[2] = digits[2];
    for (int k = 1; k <= 5; k++) {   // digits 3..7
        bool shifted = parity >> (5 - k) & 1;
        dst[2 + k] = (uint8_t)(digits[2 + k] + (shifted ? 16 : 0));
    }
    dst[8] = '-';
    for (int i = 8; i <= 13; i++) dst[i + 1] = (uint8_t)(digits[i] + 49);
    dst[15] = '.';
    dst[0] = 15;
    return true;
}
