// Tests of field types: widths, text to field to text at the boundaries
// of every type under both separator sets, the format and parse rules
// with their edge cases, refused input, clearing, moving, cells and
// text templates.
#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "core/company_variant.h"
#include "core/date.h"
#include "core/field_types.h"
#include "core/file_form.h"
#include "core/format_block.h"
#include "core/interface_load.h"
#include "core/message_sink.h"
#include "core/pstring.h"
#include "core/text_template.h"
#include "tests/core/defs_loader.h"

namespace {

// Choice list 5 with (7, "Open") and (9, "Closed"); the month name of
// March; the words of 5.10 in words.
InterfaceDefs FieldDefs() {
    InterfaceDefs d;
    for (int c = 0; c < 256; c++) d.collation[c] = UpperChar(static_cast<uint8_t>(c));   // sort without case
    d.texts = {{2783, "March"}, {2825, "five"}, {2891, " and "}, {2892, " cents"}, {3000, "Open"}, {3001, "Closed"}};
    for (uint16_t w : {0, 14, 5, 2, 7, 3000, 9, 3001}) {
        d.lists.tables[ListSlotChoiceLists].push_back(static_cast<uint8_t>(w));
        d.lists.tables[ListSlotChoiceLists].push_back(static_cast<uint8_t>(w >> 8));
    }
    return d;
}

// A field with room for every type, filled with a marker byte.
struct Field {
    std::array<uint8_t, 260> b;
    Field() { b.fill(0xAB); }
    template <typename T>
    explicit Field(const T &v) : Field() { std::memcpy(b.data(), &v, sizeof v); }
    uint8_t *p() { return b.data(); }
    template <typename T>
    T As() const {
        T v;
        std::memcpy(&v, b.data(), sizeof v);
        return v;
    }
};

std::string Text(const uint8_t *value, uint16_t type, int m = 0) {
    PString out;
    FieldFormat(value, type, m, out);
    return PStringToStd(out);
}

bool Parse(uint8_t *field, uint16_t type, int m, const std::string &text) {
    PString t;
    PStringFromView(t, text);
    return FieldFromText(field, type, m, t);
}

PackedDecimal Dec(long long thousandths) {
    PackedDecimal d;
    DecFromThousandths(&d, thousandths);
    return d;
}

std::string Shown(long long thousandths, uint16_t type) { return Text(Dec(thousandths).b, type); }

// Decimal point, comma grouping, month-first dates with "/".
FormatBlock PointFormat = {0, 0, 0, 1, {1, '/'}, {1, '.'}, {1, ','}};

struct FieldTypes : ::testing::Test {
    std::array<uint8_t, 552> company{};
    void SetUp() override {
        LoadDefs(FieldDefs());
    }
    void TearDown() override {
        InterfaceUnload();
        FormatBlockBind(nullptr);
        CompanyVariantBind(nullptr);
        ThousandsFlag = 0;
    }
};

}  // namespace

TEST_F(FieldTypes, SizesGiveEveryStoredValueItsWidth) {
    const std::array<int, 3> texts = {FieldSize(FtText, 5), FieldSize(FtText, 6), FieldSize(FtUnderscoreText, 0)};
    EXPECT_EQ(texts, (std::array<int, 3>{6, 8, 2}));
    EXPECT_EQ(FieldSize(FtCode, 400), 256) << "a text holds at most 255 characters";
    EXPECT_EQ(FieldSize(FtFlag, 9), 1);
    EXPECT_EQ(FieldSize(FtDateLong, 0), 6);
    EXPECT_EQ(FieldSize(FtDateTime, 0), 14);
    EXPECT_EQ(FieldSize(FtChoice, 5), 2);
    for (uint16_t t : {0, 3, 4, 12, 28, 31, 32, 34, 999}) EXPECT_EQ(FieldSize(t, 10), 0) << t;
}

// Text to field to text gives the text back, at each type's limits,
// under the default separators and under the other set.
TEST_F(FieldTypes, EveryTypeRoundTripsAtItsBoundaries) {
    struct Trip {
        uint16_t type;
        int m;
        const char *comma;   // decimal ",", day-first dates with "."
        const char *point;   // decimal ".", month-first dates with "/"
    };
    const Trip trips[] = {
        {FtText, 5, "ab cd", "ab cd"}, {FtText, 255, "", ""}, {FtCode, 4, "AB-9", "AB-9"},
        {FtCodeKept, 1, "X", "X"}, {FtCodeNoSep, 6, "A_B_C", "A_B_C"},
        {FtAmount2, 0, "799999999999999999999,99", "799999999999999999999.99"},
        {FtAmount2, 0, "-799999999999999999999,99", "-799999999999999999999.99"},
        {FtAmount2, 0, "0,00", "0.00"}, {FtAmount2, 0, "-0,01", "-0.01"}, {FtAmount2, 0, "", ""},
        {FtAmount1, 0, "-0,1", "-0.1"}, {FtAmount0, 0, "799999999999999999999", "799999999999999999999"},
        {FtAmount3, 0, "0,001", "0.001"}, {FtAmount3, 0, "-5", "-5"}, {FtAmount3Drop, 0, "7,005", "7.005"},
        {FtDebit, 0, "0,00", "0.00"}, {FtCredit, 0, "0,01", "0.01"},
        {FtLongOrEmpty, 0, "-2147483648", "-2147483648"}, {FtLongOrEmpty, 0, "2147483647", "2147483647"},
        {FtLongOrEmpty, 0, "", ""}, {FtLong, 0, "-2147483648", "-2147483648"}, {FtShort, 0, "-32768", "-32768"},
        {FtShortB, 0, "32767", "32767"}, {FtFlag, 0, "0", "0"}, {FtFlag, 0, "1", "1"},
        {FtDate, 0, "01.01.1900", "1/1/1900"}, {FtDate, 0, "31.12.2099", "12/31/2099"},
        {FtDate, 0, "29.02.2000", "2/29/2000"}, {FtChoice, 5, "Closed", "Closed"},
        {FtChoice, 0, "-32768", "-32768"}, {FtChoice, 0, "32767", "32767"},
    };
    for (int set = 0; set < 2; set++) {
        FormatBlockBind(set == 0 ? nullptr : &PointFormat);
        for (const Trip &t : trips) {
            const char *text = set == 0 ? t.comma : t.point;
            Field f;
            ASSERT_TRUE(Parse(f.p(), t.type, t.m, text)) << t.type << " " << text;
            EXPECT_EQ(Text(f.p(), t.type, t.m), text) << "type " << t.type << " set " << set;
        }
    }
    ThousandsFlag = 1;   // grouped thousands read back as well
    Field f;
    ASSERT_TRUE(Parse(f.p(), FtAmount2, 0, "-1,234,567.5"));
    ASSERT_TRUE(Parse(f.p(), FtAmount2, 0, Text(f.p(), FtAmount2)));
    EXPECT_EQ(Text(f.p(), FtAmount2), "-1,234,567.50");
}

TEST_F(FieldTypes, AmountRules) {
    Field f;
    ASSERT_TRUE(Parse(f.p(), FtAmount2, 0, "12,345"));
    EXPECT_EQ(Text(f.p(), FtAmount2), "12,35") << "rounded half away from zero";
    ASSERT_TRUE(Parse(f.p(), FtAmount2, 0, ""));
    EXPECT_TRUE(DecIsBlank(reinterpret_cast<PackedDecimal *>(f.p())));

    // One amount shown in a debit and a credit column by its sign.
    Field g(Dec(-50000));
    ASSERT_TRUE(Parse(g.p(), FtDebit, 0, ""));
    EXPECT_EQ(Text(g.p(), FtDebit) + "|" + Text(g.p(), FtCredit), "|50,00") << "an empty debit keeps a credit";
    ASSERT_TRUE(Parse(g.p(), FtCredit, 0, "30"));
    EXPECT_EQ(g.As<PackedDecimal>().b[11] & 0x80, 0x80) << "typing 30 as credit stores -30";
    ASSERT_TRUE(Parse(g.p(), FtCredit, 0, "-100"));
    ASSERT_TRUE(Parse(g.p(), FtCredit, 0, ""));
    EXPECT_EQ(Text(g.p(), FtDebit) + "|" + Text(g.p(), FtCredit), "100,00|") << "an empty credit keeps a debit";
    ASSERT_TRUE(Parse(g.p(), FtDebit, 0, ""));
    EXPECT_TRUE(DecIsBlank(reinterpret_cast<PackedDecimal *>(g.p())));

    EXPECT_EQ(Shown(12500, FtPercent) + Shown(-3000, FtPercent) + Shown(0, FtPercent), "+12%-3%0%");
    EXPECT_EQ(Shown(12345678, FtThousands), "12'");
    EXPECT_EQ(Shown(-7654321000, FtMillions), "-7\"");
    EXPECT_EQ(Shown(1500, FtAmount3) + " " + Shown(2000, FtAmount3), "1,5 2");
    EXPECT_EQ(Shown(1500, FtAmount3Drop) + " " + Shown(2000, FtAmount3Drop), "1,50 2,00");
    EXPECT_EQ(Shown(2500, FtAmount0), "3");
    PackedDecimal blank;
    DecSetBlank(&blank);
    EXPECT_EQ(Text(blank.b, FtPercent) + Text(blank.b, FtThousands), "0'");
    company[CompanyVariantOffset] = 27;
    CompanyVariantBind(company.data());
    EXPECT_EQ(Shown(12345678, FtThousands), "12,3'");

    PString pos, neg;
    for (auto [amount, expected] : {std::pair{Dec(-1234), "|1,23"}, {Dec(0), "0,00|"}, {blank, "|"}}) {
        DecToTextBySign(&amount, pos, neg);
        EXPECT_EQ(PStringToStd(pos) + "|" + PStringToStd(neg), expected);
    }
    PString t;
    PStringFromC(t, "120");
    TrimDecimalZeros(t);
    DropLastZero(t);
    EXPECT_EQ(PStringToStd(t), "120") << "no decimal separator: left alone";
    PStringFromC(t, "10,");
    DropLastZero(t);
    EXPECT_EQ(PStringToStd(t), "10");
}

TEST_F(FieldTypes, TextFlagMarkDateAndChoiceRules) {
    Field f;
    ASSERT_TRUE(Parse(f.p(), FtText, 6, "abcdefghij"));
    EXPECT_EQ(std::string(f.b.begin(), f.b.begin() + 9), std::string("\6abcdef\0\xAB", 9));
    ASSERT_TRUE(Parse(f.p(), FtText, 6, "ab"));
    EXPECT_EQ(std::string(f.b.begin() + 3, f.b.begin() + 8), std::string(5, '\0')) << "bytes after the text are 0";
    ASSERT_TRUE(Parse(f.p(), FtCodeNoSep, 10, "ab c:d,e"));
    EXPECT_EQ(Text(f.p(), FtCodeNoSep) + "|" + Text(f.p(), FtUnderscoreText), "AB_C_D_E|AB C D E");
    ASSERT_TRUE(Parse(f.p(), FtHidden, 8, "secret"));
    ASSERT_TRUE(Parse(f.p(), FtHidden, 8, "**x"));
    EXPECT_EQ(PStringToStd(f.p()) + "|" + Text(f.p(), FtHidden), "secret|******") << "stars typed back keep it";

    for (const char *text : {"0", "", "x"}) {
        Field flag;
        ASSERT_TRUE(Parse(flag.p(), FtFlag, 0, text));
        EXPECT_EQ(flag.b[0], text[0] == 'x' ? 1 : 0) << text;
        EXPECT_EQ(flag.b[1], 0xAB);
    }
    for (auto [value, shown] : {std::pair<uint16_t, const char *>{0, ""}, {1, "\x12"}, {18, "\x12"},
                                {118, "\x12"}, {65, "A"}, {322, "B"}})
        EXPECT_EQ(Text(Field(value).p(), FtMark), shown) << value;

    Field date(DateRec{7, 3, 1995});
    EXPECT_EQ(Text(date.p(), FtDateLong), "07 March 1995");
    ASSERT_TRUE(Parse(date.p(), FtDate, 0, " "));
    EXPECT_EQ(date.As<DateRec>().year, 0);
    EXPECT_EQ(date.As<DateRec>().day, 7) << "an empty date keeps day and month";
    Field stamp(DateTimeRec{2024, 2, 9, 8, 5, 30, 0});
    EXPECT_EQ(Text(stamp.p(), FtDateTime), "2024-02-09 08.05.30");
    EXPECT_EQ(Text(Field(DateTimeRec{}).p(), FtDateTime), "");
    Field back;
    ASSERT_TRUE(Parse(back.p(), FtDateTime, 0, "2024-02-09 08.05.30"));
    EXPECT_EQ(Text(back.p(), FtDateTime), "2024-02-09 08.05.30");
    for (const char *bad : {"123", "2024-02-09 24.00.00", "2024-00-09 08.05.30", "2024-02-09 08.05.30.1", "2024--02-09 1.1.1"})
        EXPECT_FALSE(Parse(back.p(), FtDateTime, 0, bad)) << bad;

    Field choice(uint16_t{7});
    EXPECT_EQ(Text(choice.p(), FtChoice, 5) + Text(choice.p(), FtChoice, 0), "Open7");
    ASSERT_TRUE(Parse(choice.p(), FtChoice, 5, "CLOSED"));
    EXPECT_EQ(choice.As<uint16_t>(), 9);
    ASSERT_TRUE(Parse(choice.p(), FtChoice, 5, "65535"));
    EXPECT_EQ(Text(choice.p(), FtChoice, 5), "-1");

    for (uint16_t type : {0, 3, 4, 12, 14, 15, 16, 24, 26, 28, 31, 32, 33, 34, 500}) {
        Field g;
        EXPECT_TRUE(Parse(g.p(), type, 4, "123")) << type;
        EXPECT_EQ(g.b, Field().b) << "type " << type << " takes nothing from text";
    }
    EXPECT_EQ(Text(Field(int32_t{99}).p(), FtValue32) + Text(f.p(), 34), "");
}

TEST_F(FieldTypes, MalformedAndOutOfRangeNumbersAreRefused) {
    const std::pair<uint16_t, const char *> bad[] = {
        {FtShort, "32768"}, {FtShort, "-32769"}, {FtShortB, "70000"}, {FtMark, "65536"}, {FtMark, "-1"},
        {FtLong, "2147483648"}, {FtLongOrEmpty, "12x"}, {FtLong, "abc"}, {FtAmount2, "1,2,3"},
        {FtAmount2, "800000000000000000000"}, {FtAmount0, "799999999999999999999,5"}, {FtDebit, "x"},
        {FtCredit, "5-"}, {FtAmount3, "1e5"}, {FtDate, "7 March"}, {FtChoice, "Shut"}, {FtChoice, "65536"},
    };
    for (auto [type, text] : bad) {
        Field f;
        EXPECT_FALSE(Parse(f.p(), type, 5, text)) << type << " " << text;
        EXPECT_EQ(f.b, Field().b) << "type " << type << " left the field unchanged";
    }
    Field f;   // blanks alone are no entry, for numbers as for amounts
    ASSERT_TRUE(Parse(f.p(), FtLongOrEmpty, 0, "   "));
    EXPECT_EQ(f.As<int32_t>(), -1);
    ASSERT_TRUE(Parse(f.p(), FtShort, 0, " 12 "));
    EXPECT_EQ(f.As<int16_t>(), 12);

    bool accepted = true;
    PString t;
    PStringFromC(t, "40000");
    EXPECT_FALSE(FieldSetFromTextChanged(f.p(), FtShort, 0, t, &accepted));
    EXPECT_FALSE(accepted);
    PStringFromC(t, "13");
    EXPECT_TRUE(FieldSetFromTextChanged(f.p(), FtShort, 0, t, &accepted));
    EXPECT_TRUE(accepted);
    PStringFromC(t, "013");
    EXPECT_FALSE(FieldSetFromTextChanged(f.p(), FtShort, 0, t)) << "same value, same text";
}

TEST_F(FieldTypes, ClearGivesEachTypesEmptyValue) {
    for (uint16_t type = 0; type < FieldTypeCount; type++) {
        Field f;
        FieldClear(f.p(), type, 9);
        const int size = FieldSize(type, 9);
        EXPECT_EQ(f.b[size], 0xAB) << "type " << type << " cleared beyond its width";
        if (size == 12)
            EXPECT_TRUE(DecIsBlank(reinterpret_cast<PackedDecimal *>(f.p()))) << type;
        else if (size == 4)
            EXPECT_EQ(f.As<int32_t>(), type == FtLongOrEmpty ? -1 : 0) << type;
        else
            EXPECT_EQ(std::string(f.b.begin(), f.b.begin() + size), std::string(size, '\0')) << type;
    }
    for (uint16_t type : {FtDebit, FtCredit}) {   // amounts of the other column clear too
        Field f(Dec(type == FtDebit ? -12345 : 12345));
        FieldClear(f.p(), type, 0);
        EXPECT_TRUE(DecIsBlank(reinterpret_cast<PackedDecimal *>(f.p())));
    }
}

TEST_F(FieldTypes, MoveRecutsTextsAndCopiesWholeValues) {
    Field src, dst;
    ASSERT_TRUE(Parse(src.p(), FtText, 20, "mixed Case text"));
    FieldMove(dst.p(), src.p(), FtCode, 5);
    EXPECT_EQ(PStringToStd(dst.p()), "MIXED");
    EXPECT_EQ(dst.b[6], 0xAB);
    FieldMove(src.p(), src.p(), FtCode, 20);
    EXPECT_EQ(PStringToStd(src.p()), "MIXED CASE TEXT") << "a field moved onto itself keeps its text";
    for (auto [type, m] : {std::pair<uint16_t, int>{FtHidden, 6}, {FtUnderscoreText, 6}, {FtFlag, 0},
                           {FtDateLong, 0}, {FtDateTime, 0}, {FtAmount2, 0}}) {
        Field a, b;
        for (int i = 0; i < 20; i++) a.b[i] = static_cast<uint8_t>(i + 3);
        FieldMove(b.p(), a.p(), type, m);
        const int size = FieldSize(type, m);
        EXPECT_EQ(std::string(b.b.begin(), b.b.begin() + size + 1),
                  std::string(a.b.begin(), a.b.begin() + size) + "\xAB") << type;
    }
}

TEST_F(FieldTypes, CellsAndTemplates) {
    PString cell, tmpl, out;
    PackedDecimal amount = Dec(1234560);
    FieldToCell(amount.b, FtAmount2, cell);
    EXPECT_EQ(std::string(cell, cell + 4), std::string("\x0F\x05\x02\x00", 4));
    EXPECT_EQ(std::memcmp(cell + 4, amount.b, 12), 0);
    FieldToCell(amount.b, 300, cell);
    EXPECT_EQ(std::string(cell, cell + 4), std::string("\x03\x05\x2C\x01", 4)) << "type low byte first, no value";

    // "Sum: " <amount> " (" <text 3001> ") " <date> <flag> <text> <words>
    PStringFromC(tmpl, "Sum: ");
    FieldToCell(amount.b, FtAmount2, cell);
    PStringAppend(tmpl, cell);
    PStringAppendC(tmpl, " (");
    const uint8_t textItem[] = {3, 4, 0xB9, 0x0B};
    PStringAppend(tmpl, textItem);
    PStringAppendC(tmpl, ") ");
    FieldToCell(Field(DateRec{1, 3, 2024}).p(), FtDate, cell);
    PStringAppend(tmpl, cell);
    FieldToCell(Field(uint8_t{1}).p(), FtFlag, cell);
    PStringAppend(tmpl, cell);
    PString name;
    PStringFromC(name, " Ann");
    FieldToCell(name, FtText, cell);
    EXPECT_EQ(cell[0], 3 + 5) << "a text value is its PString";
    PStringAppend(tmpl, cell);
    PStringAppendChar(tmpl, 6);
    for (uint8_t byte : Dec(5100).b) PStringAppendChar(tmpl, byte);
    EXPECT_EQ(ExpandTextTemplate(tmpl, out), out[0]);
    EXPECT_EQ(PStringToStd(out), "Sum: 1234,56 (Closed) 01.03.20241 AnnFive and 10 cents");

    // Expanded in place; an item cut short ends the expansion.
    const uint8_t cut[] = {5, 'a', 5, 2, 0, 1, 2};
    std::memcpy(tmpl, cut, sizeof cut);
    EXPECT_EQ(ExpandTextTemplate(tmpl, tmpl), 1);
    EXPECT_EQ(PStringToStd(tmpl), "a");

    // Values in the file form of a database of the other byte order are
    // converted only when the caller says so.
    FieldToCell(Field(int32_t{0x01020304}).p(), FtLongOrEmpty, cell);
    SwapLong(cell + 4);
    ASSERT_TRUE(ByteOrderSetDatabase(0));
    ExpandTextTemplate(cell, out, true);
    EXPECT_EQ(PStringToStd(out), "16909060");
    ExpandTextTemplate(cell, out);
    EXPECT_EQ(PStringToStd(out), "67305985");
    ASSERT_TRUE(ByteOrderSetDatabase(1));
}

TEST_F(FieldTypes, ShowMessageValueAppendsTheValue) {
    static std::string shown;
    MessageSink old = MessageSinkSet([](const char *text) { shown = text; });
    ShowMessageValue("Row", Field(int32_t{42}).p(), FtLong);
    EXPECT_EQ(shown, "Row 42");
    ShowMessageValue("Stop", nullptr, FtLong);
    EXPECT_EQ(shown, "Stop");
    MessageSinkSet(old);
}
