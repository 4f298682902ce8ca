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
#include <type_traits>

#include "core/date.h"
#include "core/decimal.h"

// The value of type T at base + offset, and its store: the one road of
// every accessor below. memcpy, never a cast pointer, so that a field at
// any byte is well defined.
template <typename T>
inline T FieldLoad(const uint8_t *base, size_t offset) {
    static_assert(std::is_trivially_copyable_v<T>);
    T v;
    std::memcpy(&v, base + offset, sizeof v);
    return v;
}
template <typename T>
inline void FieldStore(uint8_t *base, size_t offset, const T &v) {
    static_assert(std::is_trivially_copyable_v<T>);
    std::memcpy(base + offset, &v, sizeof v);
}

inline uint8_t GetU8(const uint8_t *base, size_t offset = 0) { return base[offset]; }
inline void PutU8(uint8_t *base, size_t offset, uint8_t v) { base[offset] = v; }

inline uint16_t GetU16(const uint8_t *base, size_t offset = 0) { return FieldLoad<uint16_t>(base, offset); }
inline void PutU16(uint8_t *base, size_t offset, uint16_t v) { FieldStore(base, offset, v); }

inline int16_t GetI16(const uint8_t *base, size_t offset = 0) { return FieldLoad<int16_t>(base, offset); }
inline void PutI16(uint8_t *base, size_t offset, int16_t v) { FieldStore(base, offset, v); }

inline uint32_t GetU32(const uint8_t *base, size_t offset = 0) { return FieldLoad<uint32_t>(base, offset); }
inline void PutU32(uint8_t *base, size_t offset, uint32_t v) { FieldStore(base, offset, v); }

inline int32_t GetI32(const uint8_t *base, size_t offset = 0) { return FieldLoad<int32_t>(base, offset); }
inline void PutI32(uint8_t *base, size_t offset, int32_t v) { FieldStore(base, offset, v); }

// Amounts (12 bytes, never byte-swapped).
inline PackedDecimal GetDec(const uint8_t *base, size_t offset = 0) { return FieldLoad<PackedDecimal>(base, offset); }
inline void PutDec(uint8_t *base, size_t offset, const PackedDecimal &v) { FieldStore(base, offset, v); }

// Dates (three u16 words) and date-times (seven u16 words).
inline DateRec GetDate(const uint8_t *base, size_t offset = 0) { return FieldLoad<DateRec>(base, offset); }
inline void PutDate(uint8_t *base, size_t offset, const DateRec &v) { FieldStore(base, offset, v); }

inline DateTimeRec GetDateTime(const uint8_t *base, size_t offset = 0) {
    return FieldLoad<DateTimeRec>(base, offset);
}
inline void PutDateTime(uint8_t *base, size_t offset, const DateTimeRec &v) { FieldStore(base, offset, v); }

// The maximum length of a text field, m taken within 0..255.
constexpr int TextFieldLimit(int m) { return m < 0 ? 0 : m > 255 ? 255 : m; }

// The width of a text field of maximum length m: m + 1 bytes rounded up
// to even (m is taken within 0..255).
constexpr int TextFieldWidth(int m) {
    int n = TextFieldLimit(m) + 1;
    return n + (n & 1);
}

// Copies the text field at base + offset (maximum length m) into the
// 256-byte PString buffer out. A length byte above m (a damaged field) is
// read as m, so nothing past the field is read.
inline void GetPString(const uint8_t *base, size_t offset, int m, uint8_t *out) {
    const uint8_t *field = base + offset;
    int limit = TextFieldLimit(m);
    int n = field[0] > limit ? limit : field[0];
    out[0] = (uint8_t)n;
    std::memcpy(out + 1, field + 1, (size_t)n);
}

// Stores the PString text into the text field at base + offset (maximum
// length m), cut to m characters; the field's remaining bytes become 0.
inline void PutPString(uint8_t *base, size_t offset, int m, const uint8_t *text) {
    uint8_t *field = base + offset;
    int width = TextFieldWidth(m);
    int limit = TextFieldLimit(m);
    int n = text[0] > limit ? limit : text[0];
    std::memmove(field + 1, text + 1, (size_t)n);
    field[0] = (uint8_t)n;
    std::memset(field + 1 + n, 0, (size_t)(width - 1 - n));
}
