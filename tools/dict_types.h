// dict_types.h - field types by name for the dictionary source, and the
// bytes a field of each type covers in a record.
#pragma once

#include <cstdint>
#include <string_view>

// What the number after a field's type means.
enum class DictArg : uint8_t {
    Length,   // a text's maximum length (required); covers m + 1 bytes, even
    Fixed,    // the type's own width; may be given, must then agree
    Choice,   // the choice list (number or name); covers 2 bytes
    Bytes,    // no stored value: the bytes the field reserves (default 0)
};

struct DictFieldType {
    const char *name;
    uint16_t code;
    DictArg arg;
    uint8_t width;   // for Fixed and Choice
};

constexpr uint16_t DictFieldTypeMax = 33;

// The type of the given source name or code number, or null.
const DictFieldType *DictTypeByName(std::string_view name);
const DictFieldType *DictTypeByCode(int64_t code);

// Bytes a text of maximum length m occupies: m + 1, rounded up to even.
constexpr uint32_t DictTextWidth(uint32_t m) { return (m + 2) & ~1u; }
