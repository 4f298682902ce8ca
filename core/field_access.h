// field_access.h - typed reads and writes of the fields of records, rows
// and settings blocks at byte offsets.
//
// Records are byte buffers laid out by the interface file, so a field may
// start at any byte: every accessor goes through memcpy and never through
// a cast pointer, which keeps unaligned fields well defined. Values are in
// memory form (host byte order); the file form is core/file_form.h's
// concern. Each accessor takes the buffer and the field's offset in it
// (0 when the pointer already addresses the field).
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "core/date.h"
#include "core/decimal.h"

inline uint8_t GetU8(const uint8_t *base, size_t offset = 0) { return base[offset]; }
inline void PutU8(uint8_t *base, size_t offset, uint8_t v) { base[offset] = v; }

inline uint16_t GetU16(const uint8_t *base, size_t offset = 0) {
    uint16_t v;
    std::memcpy(&v, base + offset, sizeof v);
    return v;
}
inline void PutU16(uint8_t *base, size_t offset, uint16_t v) { std::memcpy(base + offset, &v, sizeof v); }

inline int16_t GetI16(const uint8_t *base, size_t offset = 0) {
    int16_t v;
    std::memcpy(&v, base + offset, sizeof v);
    return v;
}
inline void PutI16(uint8_t *base, size_t offset, int16_t v) { std::memcpy(base + offset, &v, sizeof v); }

inline uint32_t GetU32(const uint8_t *base, size_t offset = 0) {
    uint32_t v;
    std::memcpy(&v, base + offset, sizeof v);
    return v;
}
inline void PutU32(uint8_t *base, size_t offset, uint32_t v) { std::memcpy(base + offset, &v, sizeof v); }

inline int32_t GetI32(const uint8_t *base, size_t offset = 0) {
    int32_t v;
    std::memcpy(&v, base + offset, sizeof v);
    return v;
}
inline void PutI32(uint8_t *base, size_t offset, int32_t v) { std::memcpy(base + offset, &v, sizeof v); }

// Amounts (12 bytes, never byte-swapped).
inline PackedDecimal GetDec(const uint8_t *base, size_t offset = 0) {
    PackedDecimal v;
    std::memcpy(&v, base + offset, sizeof v);
    return v;
}
inline void PutDec(uint8_t *base, size_t offset, const PackedDecimal &v) {
    std::memcpy(base + offset, &v, sizeof v);
}

// Dates (three u16 words) and date-times (seven u16 words).
inline DateRec GetDate(const uint8_t *base, size_t offset = 0) {
    DateRec v;
    std::memcpy(&v, base + offset, sizeof v);
    return v;
}
inline void PutDate(uint8_t *base, size_t offset, const DateRec &v) { std::memcpy(base + offset, &v, sizeof v); }

inline DateTimeRec GetDateTime(const uint8_t *base, size_t offset = 0) {
    DateTimeRec v;
    std::memcpy(&v, base + offset, sizeof v);
    return v;
}
inline void PutDateTime(uint8_t *base, size_t offset, const DateTimeRec &v) {
    std::memcpy(base + offset, &v, sizeof v);
}

// The width of a text field of maximum length m: m + 1 bytes rounded up
// to even (m is taken within 0..255).
constexpr int TextFieldWidth(int m) {
    int n = (m < 0 ? 0 : m > 255 ? 255 : m) + 1;
    return n + (n & 1);
}

// Copies the text field at base + offset (maximum length m) into the
// 256-byte PString buffer out. A length byte above m (a damaged field) is
// read as m, so nothing past the field is read.
inline void GetPString(const uint8_t *base, size_t offset, int m, uint8_t *out) {
    const uint8_t *field = base + offset;
    int limit = m < 0 ? 0 : m > 255 ? 255 : m;
    int n = field[0] > limit ? limit : field[0];
    out[0] = (uint8_t)n;
    std::memcpy(out + 1, field + 1, (size_t)n);
}

// Stores the PString text into the text field at base + offset (maximum
// length m), cut to m characters; the field's remaining bytes become 0.
inline void PutPString(uint8_t *base, size_t offset, int m, const uint8_t *text) {
    uint8_t *field = base + offset;
    int width = TextFieldWidth(m);
    int limit = m < 0 ? 0 : m > 255 ? 255 : m;
    int n = text[0] > limit ? limit : text[0];
    std::memmove(field + 1, text + 1, (size_t)n);
    field[0] = (uint8_t)n;
    std::memset(field + 1 + n, 0, (size_t)(width - 1 - n));
}
