// dictc_test.cpp - the dictionary compiler: what a source builds into,
// the mistakes it refuses with their file and line, and the interface
// file that the build made from dict/.
//
// These tests need the compiler's library, orvel_dict, which also brings
// ORVEL_DICT_SOURCE_DIR: until the test program links it, the file is
// empty rather than breaking the build.
#ifdef ORVEL_DICT_SOURCE_DIR
#include <gtest/gtest.h>

#include <cstddef>
#include <fstream>
#include <iterator>
#include <sstream>
#include <tuple>

#include "core/definitions.h"
#include "core/format_block.h"
#include "core/interface_load.h"
#include "core/interface_write.h"
#include "core/name_table.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/window_entries.h"
#include "dict_offsets.h"
#include "tools/dict.h"
#include "tools/dict_build.h"
#include "tools/dict_cp1252.h"

namespace {

struct Compiled {
    bool ok;
    InterfaceDefs defs;
    std::string header;
    std::vector<std::string> errors;
};

Compiled Compile(const std::vector<std::pair<std::string, std::string>> &files) {
    Compiled c;
    c.ok = DictCompile(files, &c.defs, &c.header, &c.errors);
    return c;
}

Compiled Compile(const std::string &text) { return Compile({{"t.dict", text}}); }

// True when one message begins with where (file:line) and holds fragment.
bool HasError(const Compiled &c, const std::string &where, const std::string &fragment) {
    for (const std::string &e : c.errors)
        if (e.rfind(where + ": ", 0) == 0 && e.find(fragment) != std::string::npos) return true;
    return false;
}

std::string Errors(const Compiled &c) {
    std::string s;
    for (const std::string &e : c.errors) s += e + "\n";
    return s;
}

uint16_t U16(const std::vector<uint8_t> &b, size_t at) { return (uint16_t)(b[at] | b[at + 1] << 8); }

}  // namespace

TEST(DictCharset, Utf8ToCp1252) {
    std::string out, why;
    EXPECT_TRUE(Utf8ToCp1252("Å ä €“x”", &out, &why));
    EXPECT_EQ(out, std::string("\xC5 \xE4 \x80\x93x\x94"));
    EXPECT_FALSE(Utf8ToCp1252("\xC4\x80", &out, &why));   // U+0100 is not in the code page
    EXPECT_NE(why.find("U+0100"), std::string::npos);
    EXPECT_FALSE(Utf8ToCp1252("\xC2\x81", &out, &why));   // nor the C1 control U+0081
    EXPECT_FALSE(Utf8ToCp1252("\xC3", &out, &why));       // cut sequence
    EXPECT_FALSE(Utf8ToCp1252("\xC0\xAF", &out, &why));   // overlong
    EXPECT_EQ(Cp1252Upper(0xE5), 0xC5);                   // å
    EXPECT_EQ(Cp1252Upper(0xF7), 0xF7);                   // the division sign stays
    EXPECT_EQ(Cp1252Upper(0xFF), 0x9F);                   // ÿ
    EXPECT_EQ(DictNameHash("ab"), DictNameHash("AB"));
    EXPECT_EQ(DictNameHash("AB"), (uint8_t)('A' + 'B'));
}

TEST(DictCompile, RecordsAndIndexes) {
    Compiled c = Compile(R"(
register 5 ItemVc size 40 matrix Lines usercode User {
  Code    0 keycode 10
  Price  12 amount
  User   24 code 5
  Kind   30 choice Units
  Lines  32 handle
  Spare  36 none 4
  Alias  12 long overlay
  rows size 16 {
    Type  0 short
    kind 2 {
      Note 2 text 13
    }
    kind 1 {
      Qty  2 long
    }
  }
  index Code head 7 node 504 { Code }
  index Mixed head 8 node 100 entries 2 { Kind 0 12 text }
}
settings 200 RowsBlk table {
  rows size 6 { Val 0 long }
}
choice 9 Units { 1 -> 10 }
10 UnitPcs "pcs"
)");
    ASSERT_TRUE(c.ok) << Errors(c);
    ASSERT_EQ(c.defs.registers.size(), 1u);
    const RegisterDefSource &r = c.defs.registers[0];
    EXPECT_EQ(std::tuple(r.matrixOffset, r.userCodeOffset), std::tuple(32, 24));
    ASSERT_EQ(r.fields.size(), 7u);
    EXPECT_EQ(r.fields[0].size, 10);           // Code: a text's size word is its maximum length
    EXPECT_EQ(r.fields[3].name, "User");
    EXPECT_EQ(r.fields[4].size, 9);            // Kind: the choice list's number
    EXPECT_EQ(r.fields[6].size, 4);            // Spare: the bytes it reserves
    ASSERT_TRUE(r.rows);
    EXPECT_EQ(r.rows->kindCount, 2);
    ASSERT_EQ(r.rows->fields.size(), 4u);      // Type in both kinds, Qty in 1, Note in 2
    EXPECT_EQ(std::tuple(r.rows->fields[1].name, r.rows->fields[1].kind), std::tuple("Qty", 1));
    EXPECT_EQ(r.rows->fields[3].name, "Note");
    ASSERT_EQ(r.indexes.size(), 2u);
    EXPECT_EQ(std::tuple(r.indexes[0].keyLength, r.indexes[0].maxEntries), std::tuple(12, (504 - 6) / (12 + 12)));
    const IndexDefSource &mixed = r.indexes[1];
    EXPECT_EQ(std::tuple(mixed.keyLength, mixed.maxEntries), std::tuple(2 + 12, 2));
    ASSERT_EQ(mixed.parts.size(), 2u);
    EXPECT_EQ(std::tuple(mixed.parts[0].recordOffset, mixed.parts[0].type), std::tuple(30u, 30));
    EXPECT_EQ(std::tuple(mixed.parts[1].keyOffset, mixed.parts[1].type), std::tuple(2u, 1));
    ASSERT_EQ(c.defs.settingsBlocks.size(), 1u);
    EXPECT_EQ(std::tuple(c.defs.settingsBlocks[0].kind, c.defs.settingsBlocks[0].size), std::tuple(0, 6u));

    EXPECT_NE(c.header.find("namespace ItemVc {"), std::string::npos);
    // Each field is declared with its kind: a key code and a code are texts
    // of their length, a choice a word, an overlay its own kind.
    for (const char *line : {"constexpr TextField<10> Code{0};  // keycode 10\n",
                             "constexpr AmountField Price{12};  // amount\n",
                             "constexpr U32Field Alias{12};  // long\n",
                             "constexpr TextField<5> User{24};  // code 5\n",
                             "constexpr U16Field Kind{30};  // choice 9\n",
                             "constexpr HandleField Lines{32};  // handle\n",
                             "constexpr BytesField<4> Spare{36};  // none 4\n",
                             "constexpr U16Field Type{0};  // short\n",
                             "constexpr TextField<13> Note{2};  // text 13\n"})
        EXPECT_NE(c.header.find(line), std::string::npos) << line << c.header;
    EXPECT_NE(c.header.find("#include \"core/field_desc.h\""), std::string::npos);
    EXPECT_NE(c.header.find("constexpr uint32_t Size = 40;"), std::string::npos) << "sizes stay plain numbers";
    EXPECT_NE(c.header.find("constexpr uint16_t Mixed = 2;"), std::string::npos);
    EXPECT_NE(c.header.find("constexpr uint16_t UnitPcs = 10;"), std::string::npos);
    EXPECT_NE(c.header.find("constexpr uint16_t Units = 9;"), std::string::npos);
    // Every constant is one inline variable for the whole program, not a
    // copy in each file that includes the header.
    EXPECT_EQ(c.header.find("\nconstexpr "), std::string::npos) << c.header;
    EXPECT_NE(c.header.find("\ninline constexpr TextField<10> Code{0};"), std::string::npos);
}

TEST(DictCompile, EveryFieldTypeHasItsDescriptorKind) {
    Compiled c = Compile(R"(register 9 KindVc size 96 {
  Day     0 date
  Long    6 longdate
  Stamp  12 stamp
  Flag   26 bool
  Mark   28 mark
  Sum    30 amount3
  Debit  42 debit
  Count  54 long0
  Bal    58 balance 4
  Wide   62 balance 8
  Label  70 label 6
  Spaced 76 spaced 9
}
)");
    ASSERT_TRUE(c.ok) << Errors(c);
    for (const char *line : {"constexpr DateField Day{0};", "constexpr DateField Long{6};",
                             "constexpr DateTimeField Stamp{12};", "constexpr BoolField Flag{26};",
                             "constexpr U16Field Mark{28};", "constexpr AmountField Sum{30};",
                             "constexpr AmountField Debit{42};", "constexpr U32Field Count{54};",
                             "constexpr HandleField Bal{58};  // balance 4",
                             "constexpr BytesField<8> Wide{62};  // balance 8",
                             "constexpr BytesField<6> Label{70};", "constexpr TextField<9> Spaced{76};"})
        EXPECT_NE(c.header.find(line), std::string::npos) << line << "\n" << c.header;
}

TEST(DictCompile, InterfaceTables) {
    Compiled c = Compile({{"a.dict", R"(
wintype 40 ItemWin { kind record register ItemVc recsize 20 title ItemTitle rect 10 20 -30 400 }
window 40 {
  field rect 1 2 3 4 type code format 10 offset ItemVc.Code label "Code"
  column type long offset ItemVc.Qty heading 11
  page height 200
}
menu 2 "File" {
  item 1 "Open" key "O"
  separator
}
list modules { wintype ItemWin text ItemTitle text2 11 module 3 }
choice 4 { 1 -> 11
  2 -> ItemTitle }
name "ABS" class 2 index 7
name "BA" class 3 index 8
)"},
                          {"b.dict", R"(
register 5 ItemVc size 20 matrix Lines {
  Code 0 code 10
  Lines 12 handle
  rows size 8 { Qty 2 long }
}
11 "Item"
12 ItemTitle "Items"
)"}});
    ASSERT_TRUE(c.ok) << Errors(c);
    ASSERT_EQ(c.defs.winTypes.size(), 1u);
    const auto &words = c.defs.winTypes[0].words;
    EXPECT_EQ(std::tuple(words[0], words[8], words[10], words[5]), std::tuple(3, 5, 12, (uint16_t)-30));

    ASSERT_EQ(c.defs.winDefinitions.size(), 1u);
    const auto &parts = c.defs.winDefinitions[0].parts;
    ASSERT_TRUE(parts[0] && parts[4] && parts[9]);
    EXPECT_FALSE(parts[1]);
    const std::vector<uint8_t> &field = (*parts[0])[0];
    // 30 fixed bytes, "Code" as a PString, padded to even.
    EXPECT_EQ(std::tuple(field.size(), U16(field, 0), U16(field, 10), U16(field, 14), field[30]),
              std::tuple(36u, 36, 17, 10, 4));
    const std::vector<uint8_t> &column = (*parts[4])[0];
    // Row kind 1 unless given, the row field's offset, the heading.
    EXPECT_EQ(std::tuple(column.size(), U16(column, 0), U16(column, 10), U16(column, 20)), std::tuple(24u, 1, 2, 11));
    EXPECT_EQ(U16((*parts[9])[0], 4), 65535);  // no field to focus

    const std::vector<uint8_t> &menus = c.defs.lists.tables[10];
    ASSERT_GE(menus.size(), 8u);
    uint16_t header = U16(menus, 0);
    EXPECT_EQ(std::tuple(U16(menus, 2), U16(menus, 4), U16(menus, header + 4), U16(menus, header + 6)),
              std::tuple(2, 2, 'O', 1));
    size_t sep = header + U16(menus, header);
    EXPECT_EQ(menus[sep + 8], 2);
    EXPECT_EQ(std::string(menus.begin() + sep + 9, menus.begin() + sep + 11), "(-");
    EXPECT_EQ(U16(menus, menus.size() - 2), 0);   // the end mark

    const std::vector<uint8_t> &modules = c.defs.lists.tables[7];
    EXPECT_EQ(modules, (std::vector<uint8_t>{0, 0, 40, 0, 12, 0, 11, 0, 3, 0}));
    EXPECT_EQ(c.defs.lists.tables[1], (std::vector<uint8_t>{0xFF, 0xFF}));
    EXPECT_EQ(c.defs.lists.tables[11], (std::vector<uint8_t>{0, 0, 14, 0, 4, 0, 2, 0, 1, 0, 11, 0, 2, 0, 12, 0}));

    // "ABS" and "BA" do not share a bucket; entries hold class and index.
    const NameTableSource &n = c.defs.names;
    EXPECT_EQ(U16(n.header, 0), 2);
    EXPECT_EQ(std::tuple(U16(n.buckets, 2 * DictNameHash("ABS")), U16(n.buckets, 2 * DictNameHash("BA"))),
              std::tuple(0, 1));
    // Class and index of "ABS"; "BA" follows "ABS\0" in the pool.
    EXPECT_EQ(std::tuple(U16(n.entries, 4), U16(n.entries, 6), U16(n.entries, 8 + 2)), std::tuple(2, 7, 4));

    // The loader takes every table as the compiler laid it out.
    std::vector<uint8_t> file;
    std::string error;
    ASSERT_TRUE(InterfaceWrite(c.defs, &file, &error)) << error;
    ASSERT_TRUE(LoadDefinitionsFromBytes(file.data(), file.size(), &error)) << error;
    uint8_t *def = WinTypeDef(40);
    ASSERT_NE(def, nullptr);
    EXPECT_EQ(std::tuple(WinDefPartCount(def, WinPartDataFields), WinDefPartCount(def, WinPartStaticTexts),
                         WinDefPartCount(def, WinPartPages)),
              std::tuple(1, 0, 1));
    const uint8_t *menu = MenuDefFirst();
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(std::tuple(MenuDefNumber(menu), MenuDefItemCount(menu)), std::tuple(2, 2));
    EXPECT_EQ(MenuDefNext(menu), nullptr);
    EXPECT_EQ(std::tuple(ListTableCount(7), ListTableCount(11), WinTypeWord(40, 10)), std::tuple(1, 1, 12));
    EXPECT_EQ(std::tuple(NameTableFind("ABS", DictNameHash("ABS")), NameTableFind("BA", DictNameHash("BA")),
                         NameTableCount()),
              std::tuple(0, 1, 2));
    InterfaceUnload();
}

TEST(DictCompile, NamesSharingABucketChainInSourceOrder) {
    Compiled c = Compile("name AB class 1 index 1\nname BA class 1 index 2\nname ab class 1 index 3\n");
    ASSERT_TRUE(c.ok) << Errors(c);
    const NameTableSource &n = c.defs.names;
    EXPECT_EQ(U16(n.buckets, 2 * DictNameHash("AB")), 0);
    EXPECT_EQ(U16(n.entries, 0), 1);
    EXPECT_EQ(U16(n.entries, 8), 2);
    EXPECT_EQ(U16(n.entries, 16), 65535);
}

TEST(DictCompile, CollationFromGroups) {
    Compiled c = Compile("collation {\n rest\n \"0\" \"1\"\n \"AaÁ\" \"Bb\"\n \"Åå\"\n}\n");
    ASSERT_TRUE(c.ok) << Errors(c);
    const auto &w = c.defs.collation;
    EXPECT_EQ(w['a'], w['A']);
    EXPECT_EQ(w[0xC1], w['A']);
    EXPECT_LT(w['0'], w['1']);
    EXPECT_LT(w['1'], w['A']);
    EXPECT_LT(w['B'], w[0xC5]);
    EXPECT_LT(w[' '], w['0']);
    EXPECT_LT(w['C'], w['0']);                 // unplaced letters are part of the rest
    Compiled twice = Compile("collation {\n \"ab\"\n \"b\"\n rest\n}\n");
    EXPECT_TRUE(HasError(twice, "t.dict:3", "placed twice"));
    Compiled norest = Compile("collation {\n \"ab\"\n}\n");
    EXPECT_TRUE(HasError(norest, "t.dict:1", "add 'rest'"));
}

TEST(DictChecks, FieldsAndRecords) {
    Compiled c = Compile(R"(register 1 A size 8 {
  X 0 long
  Y 6 long
  Z 2 short
  W 2 short overlay
  V 4 text 40
}
)");
    EXPECT_FALSE(c.ok);
    EXPECT_TRUE(HasError(c, "t.dict:3", "field Y (bytes 6..9) lies outside the 8-byte record"));
    EXPECT_TRUE(HasError(c, "t.dict:4", "field Z (bytes 2..3) overlaps field X (bytes 0..3)"));
    EXPECT_FALSE(HasError(c, "t.dict:5", "overlaps"));
    EXPECT_TRUE(HasError(c, "t.dict:6", "lies outside"));

    Compiled type = Compile("settings 145 F size 4 {\n  A 0 widget\n}\n");
    EXPECT_TRUE(HasError(type, "t.dict:2", "unknown field type 'widget'"));
    Compiled code = Compile("settings 145 F size 4 {\n  A 0 34\n}\n");
    EXPECT_TRUE(HasError(code, "t.dict:2", "unknown field type '34'"));
    Compiled width = Compile("settings 145 F size 14 {\n  A 0 amount 10\n  T 0 text overlay\n}\n");
    EXPECT_TRUE(HasError(width, "t.dict:2", "12 bytes, not 10"));
    EXPECT_TRUE(HasError(width, "t.dict:3", "needs its maximum length"));

    Compiled rows = Compile(R"(register 2 B size 8 matrix H {
  H 0 handle
  rows size 6 {
    Kind 0 short
    kind 1 { A 2 long }
    kind 2 {
      B 4 long
      C 1 bool
    }
  }
}
register 3 C size 4 {
  rows size 4 { A 0 long }
}
)");
    EXPECT_TRUE(HasError(rows, "t.dict:7", "field B (bytes 4..7) lies outside the 6-byte row"));
    EXPECT_TRUE(HasError(rows, "t.dict:8", "overlaps field Kind"));
    EXPECT_TRUE(HasError(rows, "t.dict:13", "has rows but no 'matrix'"));

    Compiled dup = Compile({{"a.dict", "register 4 A size 2 {\n}\nsettings 150 F size 2 {\n}\n"},
                            {"b.dict", "register 4 B size 2 {\n}\n\nsettings 150 G size 2 {\n}\n"}});
    EXPECT_TRUE(HasError(dup, "b.dict:1", "register 4 is already defined at a.dict:1"));
    EXPECT_TRUE(HasError(dup, "b.dict:4", "settings block 150 is already defined at a.dict:3"));
    Compiled range = Compile("register 133 A size 2 {\n}\nregister 7 Reserved__Name size 2 {\n}\n");
    EXPECT_TRUE(HasError(range, "t.dict:1", "outside 1..132"));
    EXPECT_TRUE(HasError(range, "t.dict:3", "'__'"));
    Compiled handle = Compile("register 8 A size 8 matrix 6 usercode 2 {\n}\n");
    EXPECT_TRUE(HasError(handle, "t.dict:1", "the rows handle at bytes 6..9 lies outside"));
    EXPECT_FALSE(HasError(handle, "t.dict:1", "the user code"));
}

TEST(DictChecks, Indexes) {
    Compiled c = Compile({{"a.dict", R"(register 1 A size 20 {
  K 0 text 9
  index ByK head 5 node 504 { K }
  index Far head 6 node 504 { 16 8 text }
  index Big head 7 node 505 { K }
  index Tight head 8 node 50 { K }
  index Many head 9 node 100 entries 4 { K }
  index None head 10 node 100 { }
  index Room head 11 node 49 { K }
  index More head 12 node 100 entries 5 { K }
}
)"},
                          {"b.dict", R"(register 2 B size 4 {
  K 0 long
  index ByK head 5 node 504 { K }
}
)"}});
    EXPECT_FALSE(c.ok);
    EXPECT_TRUE(HasError(c, "b.dict:3", "index head 5 is already used by A:ByK (a.dict:3)"));
    EXPECT_TRUE(HasError(c, "a.dict:4", "key part at bytes 16..23 lies outside the 20-byte record"));
    EXPECT_TRUE(HasError(c, "a.dict:5", "node size 505 is over 504"));
    // A 10-byte key takes 22 bytes an entry: 6 + 2 x 22 = 50 fits two
    // exactly, and 100 bytes hold four.
    EXPECT_FALSE(HasError(c, "a.dict:6", "node"));
    EXPECT_FALSE(HasError(c, "a.dict:7", "entries"));
    EXPECT_TRUE(HasError(c, "a.dict:8", "no key parts"));
    EXPECT_TRUE(HasError(c, "a.dict:9", "node size 49 has no room for two entries of a 10-byte key (needs 50)"));
    EXPECT_TRUE(HasError(c, "a.dict:10", "5 entries per node: a node of 100 bytes holds 2..4"));

    // "Register:Index" may be 61 characters long, not 62.
    Compiled name = Compile("register 1 ARegisterNameOfThirtyCharacter size 4 {\n  K 0 long\n"
                            "  index AnIndexNameOfThirtyOneCharacter head 1 node 504 { K }\n"
                            "  index AnIndexNameOfExactlyThirtyChar head 2 node 504 { K }\n}\n");
    EXPECT_TRUE(HasError(name, "t.dict:3", "the full name is over 61 characters"));
    EXPECT_FALSE(HasError(name, "t.dict:4", "full name"));
}

// What the checks of the built file demand beyond the format: head 1 is
// the engine's own index, a simple register's keys cover its whole
// record, a register has at most one current index (word 2 non-zero),
// and settings blocks are numbered 129..227.
TEST(DictChecks, EngineLimits) {
    Compiled c = Compile(R"(register 1 A size 8 simple {
  K 0 long
  L 4 long
  index Own head 1 node 504 { K L }
  index Part head 2 node 504 { K }
  index Whole head 3 node 504 words 1 1 1 { K L }
}
register 2 B size 4 {
  K 0 long
  index One head 4 node 504 words 1 1 1 { K }
  index Two head 5 node 504 words 1 2 1 { K }
}
settings 128 Low size 2 {
}
settings 228 High size 2 {
}
settings 129 First size 2 {
}
settings 227 Last size 2 {
}
)");
    EXPECT_FALSE(c.ok);
    EXPECT_TRUE(HasError(c, "t.dict:4", "head number 1 is outside 2..350")) << Errors(c);
    EXPECT_TRUE(HasError(c, "t.dict:5", "key of 4 bytes; a simple register keys its whole 8-byte record"));
    EXPECT_FALSE(HasError(c, "t.dict:6", "A:Whole"));
    EXPECT_FALSE(HasError(c, "t.dict:10", "current"));
    EXPECT_TRUE(HasError(c, "t.dict:11", "a second current index (B:One is current)"));
    EXPECT_TRUE(HasError(c, "t.dict:13", "settings-block number 128 is outside 129..227"));
    EXPECT_TRUE(HasError(c, "t.dict:15", "settings-block number 228 is outside 129..227"));
    EXPECT_FALSE(HasError(c, "t.dict:17", "outside"));
    EXPECT_FALSE(HasError(c, "t.dict:19", "outside"));

    // A record, a settings block or a row is at most 65535 bytes.
    Compiled big = Compile({{"a.dict", "register 1 A size 65536 {\n}\n"},
                            {"b.dict", "settings 129 F size 65536 {\n}\n"},
                            {"c.dict", "settings 130 G table {\n  rows size 65536 { A 0 long }\n}\n"},
                            {"d.dict", "register 2 B size 65535 {\n}\n"}});
    EXPECT_TRUE(HasError(big, "a.dict:1", "record size 65536 is outside 1..65535")) << Errors(big);
    EXPECT_TRUE(HasError(big, "b.dict:1", "record size 65536 is outside 1..65535"));
    EXPECT_TRUE(HasError(big, "c.dict:2", "row size 65536 is outside 1..65535"));
    EXPECT_FALSE(HasError(big, "d.dict:1", "size"));
}

// Names that would make the generated header invalid C++: it includes
// <cstdint> and declares with uint16_t and uint32_t.
TEST(DictChecks, HeaderNames) {
    Compiled c = Compile(R"(register 3 uint32_t size 4 {
  K 0 long
}
register 4 C size 4 {
  uint16_t 0 long
  index Key head 6 node 504 { uint16_t }
}
7 UINT16_MAX "x"
choice 2 INT32_C { 1 -> 0 }
8 Fine_MAXed "y"
)");
    EXPECT_FALSE(c.ok);
    EXPECT_TRUE(HasError(c, "t.dict:1", "register name uint32_t")) << Errors(c);
    EXPECT_TRUE(HasError(c, "t.dict:5", "field name uint16_t"));
    EXPECT_TRUE(HasError(c, "t.dict:8", "text name UINT16_MAX"));
    EXPECT_TRUE(HasError(c, "t.dict:9", "choice list name INT32_C"));
    EXPECT_FALSE(HasError(c, "t.dict:10", "Fine_MAXed"));
    std::string why;
    EXPECT_TRUE(DictHeaderNameOk("Size_Max", &why));
    EXPECT_TRUE(DictHeaderNameOk("K", &why));
    EXPECT_FALSE(DictHeaderNameOk("off_t", &why));
    EXPECT_FALSE(DictHeaderNameOk("SIZE_MAX", &why));
}

// The words of record windows land at their bytes; access and chooser
// take their names, Return's next field defaults to none, and a word
// set under two names or a flag other than 0 or 1 is refused.
TEST(DictCompile, RecordWindowWords) {
    Compiled c = Compile(R"(
register 5 ItemVc size 24 { Code 0 code 10
  Next 12 long
  Day 16 date }
wintype 40 ItemWin { kind record register ItemVc recsize 24 }
window 40 {
  field rect 1 2 3 4 type code format 10 offset ItemVc.Code access new lookup 7 chooser ItemWin next ItemVc.Next
  field type date offset ItemVc.Day access always chooser today
  field type long offset ItemVc.Next access 9
  control kind scroll group 3 button 4 max 250 start 12 command 5
  listcol shown 1 shortcut 2 label "Code"
}
)");
    ASSERT_TRUE(c.ok) << Errors(c);
    const auto &parts = c.defs.winDefinitions[0].parts;
    const std::vector<uint8_t> &code = (*parts[0])[0], &date = (*parts[0])[1], &number = (*parts[0])[2];
    EXPECT_EQ(std::tuple(U16(code, FieldEntry::Access), U16(code, FieldEntry::Lookup),
                         U16(code, FieldEntry::Chooser), U16(code, FieldEntry::ReturnLink), U16(code, FieldEntry::Offset)),
              std::tuple(AccessNewOnly, 7, 40, 12, 0));
    EXPECT_EQ(std::tuple(U16(date, FieldEntry::Access), (int16_t)U16(date, FieldEntry::Chooser),
                         U16(date, FieldEntry::ReturnLink), U16(number, FieldEntry::Access),
                         U16(number, FieldEntry::Chooser)),
              std::tuple(AccessAlways, ChooserToday, NoEntryOffset, 9, 0));
    const std::vector<uint8_t> &scroll = (*parts[2])[0];
    EXPECT_EQ(std::tuple(U16(scroll, ControlEntry::Kind), U16(scroll, ControlEntry::Group),
                         U16(scroll, ControlEntry::Button), U16(scroll, ControlEntry::Maximum),
                         U16(scroll, ControlEntry::Value), U16(scroll, ControlEntry::Command),
                         U16(scroll, ControlEntry::Offset)),
              std::tuple(CtlScroll, 3, 4, 250, 12, 5, NoEntryOffset));
    const std::vector<uint8_t> &column = (*parts[6])[0];
    EXPECT_EQ(std::tuple(U16(column, ListColEntry::Shown), column[ListColEntry::Shortcut],
                         column[ListColEntry::Label]),
              std::tuple(1, 2, 4));

    // Each mistake stops its file, so each stands in a window of its own.
    auto Refused = [](const std::string &entry, const std::string &fragment) {
        Compiled one = Compile("wintype 40 { kind record }\nwindow 40 {\n  " + entry + "\n}\n");
        return !one.ok && HasError(one, "t.dict:3", fragment);
    };
    EXPECT_TRUE(Refused("control value 1 start 2", "'start' and 'value' set the same word"));
    EXPECT_TRUE(Refused("column format 3 labeltext 4", "'labeltext' and 'format' set the same word"));
    EXPECT_TRUE(Refused("listcol shown 2", "outside 0..1"));
    EXPECT_TRUE(Refused("field access sometimes", "unknown access 'sometimes'"));
    EXPECT_TRUE(Refused("field chooser 41", "window type 41 is not defined"));
    EXPECT_TRUE(Refused("field chooser -1", "chooser -1 is not a window type"));
}

TEST(DictCompile, LayoutsNameOffsetsOnlyInTheHeader) {
    Compiled c = Compile(R"(register 7 JobVc size 10 { Kind 0 short }
layout WinRec base JobVc size 24 {
  Store 10 handle
  Title 14 text 8
}
wintype 40 { kind preview recsize 24 }
window 40 {
  field type text format 8 offset WinRec.Title access always
}
)");
    ASSERT_TRUE(c.ok) << Errors(c);
    EXPECT_NE(c.header.find("namespace WinRec {  // a layout of the program, after the 10-byte record of JobVc\n"
                            "inline constexpr uint32_t Size = 24;\n"
                            "inline constexpr HandleField Store{10};  // handle\n"
                            "inline constexpr TextField<8> Title{14};  // text 8\n"),
              std::string::npos)
        << c.header;
    ASSERT_EQ(c.defs.registers.size(), 1u) << "a layout is no register of the interface file";
    EXPECT_EQ(U16((*c.defs.winDefinitions[0].parts[0])[0], FieldEntry::Offset), 14);

    // Each mistake in a file of its own: a syntax error stops its file.
    auto Refused = [](const std::string &source, const std::string &where, const std::string &fragment) {
        Compiled one = Compile({{"r.dict", "register 7 JobVc size 10 { Kind 0 short }\n"}, {"t.dict", source}});
        return !one.ok && HasError(one, where, fragment);
    };
    EXPECT_TRUE(Refused("layout L size 8 {\n  A 0 long\n  B 2 short\n}\n", "t.dict:3",
                        "field B (bytes 2..3) overlaps field A (bytes 0..3)"));
    EXPECT_TRUE(Refused("layout L size 8 {\n  A 6 long\n}\n", "t.dict:2", "lies outside the 8-byte layout"));
    EXPECT_TRUE(Refused("layout L base JobVc size 20 {\n  A 8 long\n}\n", "t.dict:2",
                        "field A (bytes 8..11) lies on the base JobVc (bytes 0..9)"));
    EXPECT_TRUE(Refused("layout L base JobVc size 6 {\n}\n", "t.dict:1", "is smaller than its base JobVc"));
    EXPECT_TRUE(Refused("layout L base Nothing size 16 {\n}\n", "t.dict:1", "no register is named Nothing"));
    EXPECT_TRUE(Refused("layout JobVc size 4 {\n}\n", "t.dict:1", "name JobVc is already used at r.dict:1"));
    EXPECT_TRUE(Refused("layout L {\n}\n", "t.dict:1", "layout L needs 'size N'"));
    EXPECT_TRUE(Refused("layout L size 4 width 2 {\n}\n", "t.dict:1", "unknown attribute 'width' of layout L"));
    EXPECT_TRUE(Refused("layout L size 4 {\n  A 0 short\n}\nwintype 40 { kind preview recsize 4 }\n"
                        "window 40 {\n  field type short offset L.B\n}\n",
                        "t.dict:6", "layout L has no field B"));
}

TEST(DictChecks, TextsAndReferences) {
    Compiled c = Compile({{"a.dict", "1 \"one\"\n0 \"zero\"\n32768 \"big\"\n-3 \"negative\"\n"},
                          {"b.dict", "\n1 \"again\"\n32767 Top \"top\"\n5 Top \"name twice\"\n"}});
    EXPECT_FALSE(c.ok);
    EXPECT_TRUE(HasError(c, "a.dict:2", "text number 0 is outside 1..32767"));
    EXPECT_TRUE(HasError(c, "a.dict:3", "text number 32768 is outside 1..32767"));
    EXPECT_TRUE(HasError(c, "a.dict:4", "outside 1..32767"));
    EXPECT_TRUE(HasError(c, "b.dict:2", "text 1 is already defined at a.dict:1"));
    EXPECT_TRUE(HasError(c, "b.dict:4", "text name Top is already used by text 32767"));

    Compiled cp = Compile("1 \"ok\"\n2 \"Ā\"\n");
    EXPECT_TRUE(HasError(cp, "t.dict:2", "U+0100 is not in cp1252"));
    Compiled bad = Compile("1 \"a\xC3\"\n");
    EXPECT_TRUE(HasError(bad, "t.dict:1", "malformed UTF-8"));
    Compiled refs = Compile("wintype 3 { title 77 register NoSuch }\nchoice 2 { 1 -> Missing\n 1 -> 0 }\n"
                            "window 4 {\n  field offset NoReg.X\n}\n");
    EXPECT_TRUE(HasError(refs, "t.dict:1", "text 77 is not defined"));
    EXPECT_TRUE(HasError(refs, "t.dict:1", "no register is named NoSuch"));
    EXPECT_TRUE(HasError(refs, "t.dict:2", "no text is named Missing"));
    EXPECT_TRUE(HasError(refs, "t.dict:3", "value 1 appears twice"));
    EXPECT_TRUE(HasError(refs, "t.dict:4", "has a layout but no wintype"));
    EXPECT_TRUE(HasError(refs, "t.dict:5", "'NoReg.X' is not Register.Field"));
}

TEST(DictChecks, SyntaxErrorsStopTheFile) {
    Compiled c = Compile("register 1 A size 4 {\n  K 0 long extra words\n}\n");
    ASSERT_EQ(c.errors.size(), 1u);
    EXPECT_TRUE(HasError(c, "t.dict:2", "unexpected 'words'"));
    EXPECT_TRUE(HasError(Compile("window 3 {\n  field colour 3\n}\n"), "t.dict:2", "unknown attribute 'colour'"));
    EXPECT_TRUE(HasError(Compile("menu 2 \"File\" {\n  item 1 \"a\"\n"), "t.dict:3", "missing '}'"));
    EXPECT_TRUE(HasError(Compile("1 \"unterminated\n"), "t.dict:1", "unterminated string"));
    EXPECT_TRUE(HasError(Compile("\n\nfrobnicate 3\n"), "t.dict:3", "at the start of a statement"));
    EXPECT_TRUE(HasError(Compile("window 3 {\n  box word@12 1\n}\n"), "t.dict:2", "outside the 12 fixed bytes"));
    EXPECT_TRUE(HasError(Compile("window 3 {\n  page long@18446744073709551615 1\n}\n"), "t.dict:2",
                         "outside the 6 fixed bytes"));
}

// The interface file that the build compiled from dict/ holds what the
// source says, and the header agrees with the code's own layouts.
static_assert(FormatBlk::Size == sizeof(FormatBlock));
static_assert(FormatBlk::DateOrder == offsetof(FormatBlock, dateOrder));
static_assert(FormatBlk::FourDigitYear == offsetof(FormatBlock, fourDigitYear));
static_assert(FormatBlk::DateSep == offsetof(FormatBlock, dateSep));
static_assert(FormatBlk::DecimalSep == offsetof(FormatBlock, decimalSep));
static_assert(FormatBlk::ThousandsSep == offsetof(FormatBlock, thousandsSep));

TEST(DictBuiltFile, MatchesTheSource) {
    std::ifstream in("QVENG.WIN", std::ios::binary);
    ASSERT_TRUE(in) << "QVENG.WIN is copied beside the tests by the build";
    std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string error;
    ASSERT_TRUE(LoadDefinitionsFromBytes(file.data(), file.size(), &error, "QVENG.WIN")) << error;

    std::ifstream texts(std::string(ORVEL_DICT_SOURCE_DIR) + "/texts.dict", std::ios::binary);
    std::ostringstream text;
    text << texts.rdbuf();
    DictSource src;
    DictParse(&src, "texts.dict", text.str());
    InterfaceDefs defs;
    ASSERT_TRUE(DictBuild(&src, &defs)) << src.errors.front();
    int months = 0;
    for (const TextSource &t : defs.texts) {
        if (t.number < 2781 || t.number > 2792) continue;
        uint8_t got[256];
        GetUiText(got, t.number);
        EXPECT_EQ(PStringToStd(got), t.text) << t.number;
        months++;
    }
    EXPECT_EQ(months, 12);

    // Its fields are checked by the settings facts; the block's size must be
    // the struct the program binds to it.
    const uint8_t *desc = SettingsBlockDesc(FormatBlk::Number, nullptr);
    ASSERT_NE(desc, nullptr);
    EXPECT_EQ(SettingsDescSize(desc), FormatBlk::Size);

    // The collation ignores case and accents and puts Å Ä Ö after Z.
    auto cmp = [](const char *a, const char *b) {
        uint8_t pa[256], pb[256];
        std::string ca, cb, why;
        EXPECT_TRUE(Utf8ToCp1252(a, &ca, &why) && Utf8ToCp1252(b, &cb, &why));
        PStringFromView(pa, ca);
        PStringFromView(pb, cb);
        return PStringCompareCollate(pa, pb);
    };
    EXPECT_EQ(cmp("Ärlig", "ärlig"), 0);
    EXPECT_EQ(cmp("Élan", "elan"), 0);
    EXPECT_EQ(cmp("Zebra", "Åsa"), -1);
    EXPECT_EQ(cmp("Åsa", "Äpple"), -1);
    EXPECT_EQ(cmp("Äpple", "Öl"), -1);
    EXPECT_EQ(cmp("9", "A"), -1);
    EXPECT_EQ(cmp("Ørsted", "Öl"), 1);
    InterfaceUnload();
}

#endif  // ORVEL_DICT_SOURCE_DIR
