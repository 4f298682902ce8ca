// field_access.h - typed reads and writes of the fields of records, rows
// and settings blocks at byte offsets.
//
// Records are byte buffers laid out by the interface file, so a field may
// start at any byte: every accessor goes through memcpy and never through
// a cast pointer, which keeps unaligned fields well defined. Values are in
// memory form (host byte order); the file form is core/file_form.h's
// concern. Each accessor takes the buffer and the field's offset in it
// (0 when the pointer already addresses the field), or the field's
// descriptor from dict_offsets.h (core/field_desc.h), which fixes its kind:
// a descriptor of another kind is a deleted overload, so a word written
// into a text or an amount read as a date does not compile. The raw-offset
// forms stay for offsets that are not a field of the interface file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "core/date.h"
#include "core/decimal.h"
#include "core/field_desc.h"

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
inline uint8_t GetU8(const uint8_t *base, BoolField f) { return base[f.offset]; }
inline void PutU8(uint8_t *base, BoolField f, uint8_t v) { base[f.offset] = v; }
template <FieldDescriptor F> uint8_t GetU8(const uint8_t *, F) = delete;
template <FieldDescriptor F> void PutU8(uint8_t *, F, uint8_t) = delete;

inline uint16_t GetU16(const uint8_t *base, size_t offset = 0) { return FieldLoad<uint16_t>(base, offset); }
inline void PutU16(uint8_t *base, size_t offset, uint16_t v) { FieldStore(base, offset, v); }
inline uint16_t GetU16(const uint8_t *base, U16Field f) { return FieldLoad<uint16_t>(base, f.offset); }
inline void PutU16(uint8_t *base, U16Field f, uint16_t v) { FieldStore(base, f.offset, v); }
template <FieldDescriptor F> uint16_t GetU16(const uint8_t *, F) = delete;
template <FieldDescriptor F> void PutU16(uint8_t *, F, uint16_t) = delete;

inline int16_t GetI16(const uint8_t *base, size_t offset = 0) { return FieldLoad<int16_t>(base, offset); }
inline void PutI16(uint8_t *base, size_t offset, int16_t v) { FieldStore(base, offset, v); }
inline int16_t GetI16(const uint8_t *base, U16Field f) { return FieldLoad<int16_t>(base, f.offset); }
inline void PutI16(uint8_t *base, U16Field f, int16_t v) { FieldStore(base, f.offset, v); }
template <FieldDescriptor F> int16_t GetI16(const uint8_t *, F) = delete;
template <FieldDescriptor F> void PutI16(uint8_t *, F, int16_t) = delete;

// A 32-bit number reads either way; a handle only unsigned.
inline uint32_t GetU32(const uint8_t *base, size_t offset = 0) { return FieldLoad<uint32_t>(base, offset); }
inline void PutU32(uint8_t *base, size_t offset, uint32_t v) { FieldStore(base, offset, v); }
inline uint32_t GetU32(const uint8_t *base, U32Field f) { return FieldLoad<uint32_t>(base, f.offset); }
inline void PutU32(uint8_t *base, U32Field f, uint32_t v) { FieldStore(base, f.offset, v); }
inline uint32_t GetU32(const uint8_t *base, HandleField f) { return FieldLoad<uint32_t>(base, f.offset); }
inline void PutU32(uint8_t *base, HandleField f, uint32_t v) { FieldStore(base, f.offset, v); }
template <FieldDescriptor F> uint32_t GetU32(const uint8_t *, F) = delete;
template <FieldDescriptor F> void PutU32(uint8_t *, F, uint32_t) = delete;

inline int32_t GetI32(const uint8_t *base, size_t offset = 0) { return FieldLoad<int32_t>(base, offset); }
inline void PutI32(uint8_t *base, size_t offset, int32_t v) { FieldStore(base, offset, v); }
inline int32_t GetI32(const uint8_t *base, U32Field f) { return FieldLoad<int32_t>(base, f.offset); }
inline void PutI32(uint8_t *base, U32Field f, int32_t v) { FieldStore(base, f.offset, v); }
template <FieldDescriptor F> int32_t GetI32(const uint8_t *, F) = delete;
template <FieldDescriptor F> void PutI32(uint8_t *, F, int32_t) = delete;

// Amounts (12 bytes, never byte-swapped).
inline PackedDecimal GetDec(const uint8_t *base, size_t offset = 0) { return FieldLoad<PackedDecimal>(base, offset); }
inline void PutDec(uint8_t *base, size_t offset, const PackedDecimal &v) { FieldStore(base, offset, v); }
inline PackedDecimal GetDec(const uint8_t *base, AmountField f) { return FieldLoad<PackedDecimal>(base, f.offset); }
inline void PutDec(uint8_t *base, AmountField f, const PackedDecimal &v) { FieldStore(base, f.offset, v); }
template <FieldDescriptor F> PackedDecimal GetDec(const uint8_t *, F) = delete;
template <FieldDescriptor F> void PutDec(uint8_t *, F, const PackedDecimal &) = delete;

// Dates (three u16 words) and date-times (seven u16 words).
inline DateRec GetDate(const uint8_t *base, size_t offset = 0) { return FieldLoad<DateRec>(base, offset); }
inline void PutDate(uint8_t *base, size_t offset, const DateRec &v) { FieldStore(base, offset, v); }
inline DateRec GetDate(const uint8_t *base, DateField f) { return FieldLoad<DateRec>(base, f.offset); }
inline void PutDate(uint8_t *base, DateField f, const DateRec &v) { FieldStore(base, f.offset, v); }
template <FieldDescriptor F> DateRec GetDate(const uint8_t *, F) = delete;
template <FieldDescriptor F> void PutDate(uint8_t *, F, const DateRec &) = delete;

inline DateTimeRec GetDateTime(const uint8_t *base, size_t offset = 0) {
    return FieldLoad<DateTimeRec>(base, offset);
}
inline void PutDateTime(uint8_t *base, size_t offset, const DateTimeRec &v) { FieldStore(base, offset, v); }
inline DateTimeRec GetDateTime(const uint8_t *base, DateTimeField f) { return FieldLoad<DateTimeRec>(base, f.offset); }
inline void PutDateTime(uint8_t *base, DateTimeField f, const DateTimeRec &v) { FieldStore(base, f.offset, v); }
template <FieldDescriptor F> DateTimeRec GetDateTime(const uint8_t *, F) = delete;
template <FieldDescriptor F> void PutDateTime(uint8_t *, F, const DateTimeRec &) = delete;

// The maximum length of a text field, m taken within 0..255.
constexpr int TextFieldLimit(int m) { return m < 0 ? 0 : m > 255 ? 255 : m; }

// The width of a text field of maximum length m: m + 1 bytes rounded up
// to even (m is taken within 0..255).
constexpr int TextFieldWidth(int m) {
    int n = TextFieldLimit(m) + 1;
    return n + (n & 1);
}

// An offset that is not a field of the interface file. A descriptor does
// not convert to it (that would take two conversions), so a text field's
// descriptor can only reach the checked forms below.
struct RawOffset {
    size_t at;
    constexpr RawOffset(size_t offset) : at(offset) {}
};

// Copies the text field at base + offset (maximum length m) into the
// 256-byte PString buffer out. A length byte above m (a damaged field) is
// read as m, so nothing past the field is read.
inline void GetPString(const uint8_t *base, RawOffset offset, int m, uint8_t *out) {
    const uint8_t *field = base + offset.at;
    int limit = TextFieldLimit(m);
    int n = field[0] > limit ? limit : field[0];
    out[0] = (uint8_t)n;
    std::memcpy(out + 1, field + 1, (size_t)n);
}

// Stores the PString text into the text field at base + offset (maximum
// length m), cut to m characters; the field's remaining bytes become 0.
inline void PutPString(uint8_t *base, RawOffset offset, int m, const uint8_t *text) {
    uint8_t *field = base + offset.at;
    int width = TextFieldWidth(m);
    int limit = TextFieldLimit(m);
    int n = text[0] > limit ? limit : text[0];
    std::memmove(field + 1, text + 1, (size_t)n);
    field[0] = (uint8_t)n;
    std::memset(field + 1 + n, 0, (size_t)(width - 1 - n));
}

// The length a call states for a text field's descriptor: it must be the
// field's own, checked while compiling (a literal or a constant only).
template <int N>
struct SameTextLength {
    consteval SameTextLength(int m) {
        if (m != N) throw "the length differs from the text field's: use GetText, or GetTextPrefix on purpose";
    }
};

template <int N>
inline void GetPString(const uint8_t *base, TextField<N> f, std::type_identity_t<SameTextLength<N>>, uint8_t *out) {
    GetPString(base, RawOffset(f.offset), N, out);
}
template <int N>
inline void PutPString(uint8_t *base, TextField<N> f, std::type_identity_t<SameTextLength<N>>, const uint8_t *text) {
    PutPString(base, RawOffset(f.offset), N, text);
}

// The text field f, of its own maximum length, into / from a 256-byte
// PString buffer.
template <int N>
inline void GetText(const uint8_t *base, TextField<N> f, uint8_t *out) {
    GetPString(base, RawOffset(f.offset), N, out);
}
template <int N>
inline void PutText(uint8_t *base, TextField<N> f, const uint8_t *text) {
    PutPString(base, RawOffset(f.offset), N, text);
}

// At most m characters of the text field f, on purpose shorter than the
// field (m is taken within 0..N). The store cuts the text to m characters
// and clears the whole field after it.
template <int N>
inline void GetTextPrefix(const uint8_t *base, TextField<N> f, int m, uint8_t *out) {
    GetPString(base, RawOffset(f.offset), m < N ? m : N, out);
}
template <int N>
inline void PutTextPrefix(uint8_t *base, TextField<N> f, int m, const uint8_t *text) {
    uint8_t cut[256];
    int n = TextFieldLimit(m < N ? m : N);
    cut[0] = (uint8_t)(text[0] > n ? n : text[0]);
    std::memcpy(cut + 1, text + 1, cut[0]);
    PutPString(base, RawOffset(f.offset), N, cut);
}
