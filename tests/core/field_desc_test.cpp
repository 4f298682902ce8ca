// Tests of typed field descriptors: a call of another kind or width does
// not compile, a text is read and stored at its own length, a prefix is
// cut on purpose, and a damaged length byte never reads past the field.
#include <gtest/gtest.h>

#include <cstring>

#include "core/field_access.h"

namespace {

constexpr TextField<5> Code{0};
constexpr U16Field Kind{6};
constexpr U32Field Count{8};
constexpr HandleField Rows{12};
constexpr AmountField Sum{16};
constexpr DateField Day{28};
constexpr DateTimeField Stamp{34};
constexpr BoolField Done{48};
constexpr BytesField<4> Spare{50};
constexpr TextField<1> Mode{54};
constexpr TextField<60> Note{56};

template <typename F> concept PutsU16 = requires(uint8_t *p, F f) { PutU16(p, f, uint16_t(0)); };
template <typename F> concept GetsI16 = requires(const uint8_t *p, F f) { GetI16(p, f); };
template <typename F> concept GetsU32 = requires(const uint8_t *p, F f) { GetU32(p, f); };
template <typename F> concept GetsI32 = requires(const uint8_t *p, F f) { GetI32(p, f); };
template <typename F> concept GetsDec = requires(const uint8_t *p, F f) { GetDec(p, f); };
template <typename F> concept PutsDate = requires(uint8_t *p, F f, DateRec d) { PutDate(p, f, d); };
template <typename F> concept GetsDateTime = requires(const uint8_t *p, F f) { GetDateTime(p, f); };
template <typename F> concept GetsU8 = requires(const uint8_t *p, F f) { GetU8(p, f); };
template <typename F> concept GetsText = requires(const uint8_t *p, F f, uint8_t *o) { GetText(p, f, o); };

// A word into a text, a handle read signed, an amount as a date: refused.
static_assert(!PutsU16<TextField<60>>);
static_assert(!PutsU16<U32Field> && !PutsU16<BoolField> && !PutsU16<AmountField> && !PutsU16<BytesField<4>>);
static_assert(PutsU16<U16Field> && GetsI16<U16Field>, "a short reads signed or unsigned");
static_assert(GetsU32<U32Field> && GetsI32<U32Field>, "a long reads signed or unsigned");
static_assert(GetsU32<HandleField> && !GetsI32<HandleField>);
static_assert(!GetsU32<U16Field> && !GetsI32<DateField>);
static_assert(GetsDec<AmountField> && !GetsDec<DateField> && !GetsDec<TextField<12>>);
static_assert(PutsDate<DateField> && !PutsDate<DateTimeField> && !PutsDate<AmountField>);
static_assert(GetsDateTime<DateTimeField> && !GetsDateTime<DateField>);
static_assert(GetsU8<BoolField> && !GetsU8<TextField<1>>);
static_assert(GetsText<TextField<5>> && !GetsText<U16Field> && !GetsText<BytesField<4>>);
// The raw offsets still take a number, and a descriptor is still its offset.
static_assert(PutsU16<uint32_t> && GetsU32<size_t>);
static_assert(Note + 2 == 58 && TextField<60>::Length == 60);

TEST(FieldDesc, DescriptorsAreTheirOffsetsInCaseLabelsAndTables) {
    auto name = [](uint32_t at) {
        switch (at) {
            case Code: return "code";
            case Kind: return "kind";
            case Note: return "note";
            default: return "other";
        }
    };
    const uint32_t table[] = {Code, Sum, Spare};
    EXPECT_STREQ(name(table[0]), "code");
    EXPECT_STREQ(name(56), "note");
    EXPECT_STREQ(name(table[1]), "other");
    EXPECT_EQ(table[2], 50u);
}

TEST(FieldDesc, TypedNumbersReadTheirOwnBytes) {
    uint8_t rec[128] = {};
    PutU16(rec, Kind, 0xFFFE);
    EXPECT_EQ(GetI16(rec, Kind), -2);
    PutI32(rec, Count, -7);
    EXPECT_EQ(GetU32(rec, Count), 0xFFFFFFF9u);
    PutU32(rec, Rows, 41);
    PutU8(rec, Done, 1);
    PutDate(rec, Day, DateRec{9, 12, 2026});
    EXPECT_EQ(GetU32(rec, Rows), 41u);
    EXPECT_EQ(GetU8(rec, Done), 1);
    EXPECT_EQ(GetDate(rec, Day).year, 2026);
    EXPECT_EQ(GetU16(rec, Kind), 0xFFFE) << "no neighbour overwrote the word";
}

TEST(FieldDesc, TextsAreReadAndStoredAtTheirOwnLength) {
    uint8_t rec[128];
    std::memset(rec, 0xAA, sizeof rec);
    uint8_t long_text[61] = {60};
    std::memset(long_text + 1, 'x', 60);
    PutText(rec, Code, long_text);
    EXPECT_EQ(rec[0], 5) << "cut to the field's five characters";
    EXPECT_EQ(rec[6], 0xAA) << "the word after the field is untouched";
    PutText(rec, Note, long_text);
    uint8_t out[256];
    GetText(rec, Note, out);
    EXPECT_EQ(out[0], 60) << "the whole 60 characters, no shorter length stated";
    EXPECT_EQ(out[60], 'x');
}

TEST(FieldDesc, DamagedLengthBytesAndLongPrefixesStayInsideTheField) {
    uint8_t rec[128] = {};
    rec[Mode] = 2;   // damaged: a one-character code claiming two
    rec[Mode + 1] = 'K';
    rec[Mode + 2] = 9;   // the next field's length byte
    uint8_t out[256];
    GetText(rec, Mode, out);
    EXPECT_EQ(out[0], 1);
    EXPECT_EQ(out[1], 'K');
    GetTextPrefix(rec, Mode, 30, out);
    EXPECT_EQ(out[0], 1) << "a prefix longer than the field is the field";
    const uint8_t two[3] = {2, 'A', 'B'};
    PutTextPrefix(rec, Mode, 30, two);
    EXPECT_EQ(rec[Mode], 1);
    EXPECT_EQ(rec[Mode + 2], 9) << "the store did not run into the next field";
    GetTextPrefix(rec, Mode, -4, out);
    EXPECT_EQ(out[0], 0) << "a negative prefix reads nothing";
}

TEST(FieldDesc, PrefixesCutOnPurposeAndClearTheWholeField) {
    uint8_t rec[128] = {};
    const uint8_t word[6] = {5, 'A', 'B', 'C', 'D', 'E'};
    PutText(rec, Code, word);
    uint8_t out[256];
    GetTextPrefix(rec, Code, 2, out);
    ASSERT_EQ(out[0], 2);
    EXPECT_EQ(std::memcmp(out + 1, "AB", 2), 0);
    PutTextPrefix(rec, Code, 3, word);
    EXPECT_EQ(rec[0], 3);
    EXPECT_EQ(rec[4], 0) << "the characters after the cut are cleared, not left from before";
    EXPECT_EQ(rec[5], 0);
}

}  // namespace
