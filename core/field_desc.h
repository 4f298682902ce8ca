// field_desc.h - the kinds of the fields that the interface file lays
// out, as the generated dict_offsets.h declares them.
//
// A descriptor is a field's offset with its kind in the type: a text
// carries its maximum length (TextField<60>), a number its width. Each
// converts, constexpr and implicitly, to its offset, so offset arithmetic,
// tables of offsets, case labels and template arguments read as before.
// core/field_access.h takes them: a text is read with its own length,
// and a number read at another width or kind does not compile.
#pragma once

#include <cstdint>
#include <type_traits>

// What every descriptor is: the field's offset, which it converts to.
struct FieldOffset {
    uint32_t offset;
    constexpr operator uint32_t() const { return offset; }
};

// Texts, codes and key codes: a length byte, then at most MaxLength
// characters (the three are stored alike, so they are one kind).
template <int MaxLength>
struct TextField : FieldOffset {
    static_assert(MaxLength >= 0 && MaxLength <= 255, "a text field holds 0..255 characters");
    static constexpr int Length = MaxLength;
};

// A 16-bit word: "short", "mark" and a choice's number. The interface
// file does not say whether it is signed, so it reads either way.
struct U16Field : FieldOffset {};

// A 32-bit number ("long"), read signed or unsigned like a word.
struct U32Field : FieldOffset {};

// A 32-bit handle of a memory block kept with the record (a matrix of
// rows, a block of balances): unsigned, never a number to compute with.
struct HandleField : FieldOffset {};

// An amount of every scale (12-byte packed decimal).
struct AmountField : FieldOffset {};

// A date (three words) and a date with its time ("stamp", seven words).
struct DateField : FieldOffset {};
struct DateTimeField : FieldOffset {};

// A one-byte flag.
struct BoolField : FieldOffset {};

// Bytes whose layout the interface file does not give ("none", labels,
// lookups): read only through their offset.
template <int Width>
struct BytesField : FieldOffset {
    static constexpr int Size = Width;
};

template <typename T>
concept FieldDescriptor = std::is_base_of_v<FieldOffset, T>;
