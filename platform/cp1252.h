// cp1252.h - the one table of the Western Windows code page's 0x80..0x9F
// row, the only bytes of the program's 8-bit character set whose Unicode
// code points differ from the byte value. The font layer and the
// dictionary compiler both convert through it.
#pragma once

#include <array>
#include <cstdint>

// Unicode code points of cp1252 bytes 0x80..0x9F; 0 = undefined in the code page.
inline constexpr std::array<uint16_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,       // 88-8F
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,  // 98-9F
};
