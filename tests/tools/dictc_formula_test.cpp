// dictc_formula_test.cpp - the formula vocabulary in the dictionary: the
// built-in and operator rows the compiler writes into the name table's
// two kept blocks, and the operator rows it refuses because their code
// would compute something other than they say.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/name_table.h"
#include "tools/dict.h"
#include "tools/dict_build.h"

namespace {

uint16_t U16(const std::vector<uint8_t> &b, size_t at) { return (uint16_t)(b[at] | b[at + 1] << 8); }

struct Built {
    bool ok;
    InterfaceDefs defs;
    std::vector<std::string> errors;
};

Built Build(const std::string &text) {
    Built b;
    std::string header;
    b.ok = DictCompile({{"f.dict", text}}, &b.defs, &header, &b.errors);
    return b;
}

// True when the build fails with a message on the given line holding
// fragment.
bool Refused(const std::string &text, const std::string &fragment, int line = 1) {
    Built b = Build(text);
    if (b.ok) return false;
    std::string where = "f.dict:" + std::to_string(line) + ": ";
    for (const std::string &e : b.errors)
        if (e.rfind(where, 0) == 0 && e.find(fragment) != std::string::npos) return true;
    return false;
}

TEST(DictFormula, BuiltinAndOperatorRows) {
    Built b = Build(R"(name IF class 24 index 1
builtin LEN code 128 9 args STRING result INTEGER
builtin BAL code 129 14 args RAW REAL result REAL
builtin SIZE code 128 9 args STRING result INTEGER
builtin STOP code 128 13
operator 3 "+" precedence 6 class arithmetic arity 2 suboperation 3
operator 14 AND precedence 2 class logical arity 2 suboperation 14
)");
    ASSERT_TRUE(b.ok) << b.errors[0];
    const NameTableSource &n = b.defs.names;
    EXPECT_EQ(U16(n.header, 2), 4);   // the built-in row count
    ASSERT_EQ(n.kept1.size(), 40u);
    // LEN: 128 9, its argument list, result INTEGER; SIZE shares the list.
    EXPECT_EQ(std::tuple(U16(n.kept1, 0), U16(n.kept1, 2), n.kept1[8]), std::tuple(128, 9, 2));
    EXPECT_EQ(U16(n.kept1, 4), U16(n.kept1, 24));
    EXPECT_EQ(std::tuple(U16(n.kept1, 10), U16(n.kept1, 12), n.kept1[18]), std::tuple(129, 14, 3));
    EXPECT_EQ(n.kept1[38], 0);   // STOP is an instruction

    // The operator rows by number; rows without an operator are zero.
    ASSERT_EQ(n.kept2.size(), 150u);
    EXPECT_EQ(std::tuple(U16(n.kept2, 30), U16(n.kept2, 32), U16(n.kept2, 34), U16(n.kept2, 36)),
              std::tuple(6, 1, 2, 3));
    EXPECT_EQ(U16(n.kept2, 40), 0);
    EXPECT_EQ(U16(n.kept2, 146), 14);

    // Loaded, the names are found with their class and index, and the
    // argument lists are entries that no name lookup reaches.
    ASSERT_TRUE(NameTableSetBlocks(n.header, n.kept1, n.kept2, n.buckets, n.entries, n.pool));
    struct Want {
        const char *name;
        uint16_t cls, index;
    } wants[] = {{"IF", 24, 1}, {"LEN", 23, 0}, {"BAL", 23, 1}, {"STOP", 23, 3}, {"AND", 28, 14}};
    for (const Want &w : wants) {
        uint16_t e = NameTableLookup(w.name, DictNameHash(w.name));
        ASSERT_NE(e, NameTableEnd) << w.name;
        const uint8_t *entry = NameTableEntry(e);
        EXPECT_EQ(std::tuple(U16({entry, entry + 8}, 4), U16({entry, entry + 8}, 6)), std::tuple(w.cls, w.index))
            << w.name;
    }
    EXPECT_EQ(std::string(NameTableName(U16(n.kept1, 14))), "\x06\x03");
    uint16_t count = NameTableCount();
    EXPECT_EQ(NameTableLookup("LENX", DictNameHash("LENX")), NameTableEnd);
    EXPECT_EQ(NameTableCount(), count);   // a lookup never adds
    NameTableFree();
}

TEST(DictFormula, OperatorRowsMustMeanTheirMachineOperation) {
    EXPECT_TRUE(Refused("operator 10 \"<\" precedence 4 class comparison arity 2 suboperation 8",
                        "sub-operation 8 is not the machine operation"));
    EXPECT_TRUE(Refused("operator 13 NOT precedence 3 class logical arity 2 suboperation 13", "class or arity"));
    EXPECT_TRUE(Refused("operator 1 \"*\" precedence 7 class comparison arity 2 suboperation 1", "class or arity"));
    EXPECT_TRUE(Refused("operator 2 \"*\" precedence 7 class arithmetic arity 2 suboperation 2", "spelt \"/\""));
    EXPECT_TRUE(Refused("operator 14 \"AND\" precedence 2 class logical arity 2 suboperation 14", "spelt by a word"));
    EXPECT_TRUE(Refused("operator 6 \"?\" precedence 2 class logical arity 2 suboperation 6", "no machine operation"));
    EXPECT_TRUE(Refused("operator 3 \"+\" precedence 6 class arithmetic arity 2 suboperation 3\n"
                        "operator 3 \"+\" precedence 6 class arithmetic arity 2 suboperation 3",
                        "defined twice", 2));
    EXPECT_TRUE(Refused("builtin X code 130 1", "first code byte"));
    EXPECT_TRUE(Refused("builtin X code 128 1 args NUMBER", "argument type"));
    EXPECT_TRUE(Refused("builtin X code 128 1 result RAW", "result type"));
    EXPECT_TRUE(Refused("name LEN class 1 index 1\nbuiltin LEN code 128 9", "defined twice", 2));
    // Built-ins are entered before word operators: the operator is refused.
    EXPECT_TRUE(Refused("operator 13 NOT precedence 3 class logical arity 1 suboperation 13\n"
                        "builtin NOT code 128 9", "defined twice", 1));
}

// The name, built-in and operator statements read their head and their
// "word N" parts alike: a missing or misspelt word gives the statement's
// usage, a number out of range names what it is.
TEST(DictFormula, StatementPartsAreCheckedInOrder) {
    const std::pair<const char *, const char *> refused[] = {
        {"name 12 class 1 index 1", "expected a name after 'name', found"},
        {"builtin { code 128 1", "expected a name after 'builtin', found"},
        {"name IF klass 24 index 1", "expected 'name NAME class C index I'"},
        {"name IF class 24", "expected 'name NAME class C index I'"},
        {"name IF class 24 index 70000", "index 70000 is outside 0..65535"},
        {"builtin X 128 1", "expected 'builtin NAME code C1 C2"},
        {"builtin X code 128 256", "second code byte 256 is outside 0..255"},
        {"operator 0 \"+\" precedence 6 class arithmetic arity 2 suboperation 3", "operator number 0 is outside 1..255"},
        {"operator 3 \"+\" precedence 6 class arithmetic arity 3 suboperation 3", "arity 3 is outside 1..2"},
        {"operator 3 \"+\" precedence 6 class arithmetic arity 2 sub 3", "expected 'operator N"},
        {"operator 3 \"+\" precedence 6 class arithmetic arity 2 suboperation 300", "sub-operation 300 is outside 0..255"},
        {"menu 0 \"Title\" {\n}", "menu number 0 is outside 1..65535"},
        {"choice 65534 {\n}", "choice-list number 65534 is outside 1..65533"},
        {"window x {\n}", "expected window type, found"},
    };
    for (const auto &[source, fragment] : refused) EXPECT_TRUE(Refused(source, fragment)) << source;
    // Every part in range: the statements are taken.
    Built b = Build("name IF class 24 index 65535\nbuiltin \"B X\" code 129 255\nmenu 65535 \"T\" {\n}\n");
    EXPECT_TRUE(b.ok) << (b.errors.empty() ? "" : b.errors[0]);
}

TEST(DictFormula, TheShippedVocabularyObeysTheMachine) {
    std::string header;
    std::vector<std::string> errors;
    InterfaceDefs defs;
    FILE *f = std::fopen(ORVEL_DICT_SOURCE_DIR "/names.dict", "rb");
    ASSERT_NE(f, nullptr);
    std::string text;
    char buf[4096];
    for (size_t n; (n = std::fread(buf, 1, sizeof buf, f)) > 0;) text.append(buf, n);
    std::fclose(f);
    ASSERT_TRUE(DictCompile({{"names.dict", text}}, &defs, &header, &errors));
    const std::vector<uint8_t> &ops = defs.names.kept2;
    int rows = 0;
    for (size_t r = 1; r * 10 < ops.size(); r++) {
        if (U16(ops, r * 10 + 2) == 0) continue;
        EXPECT_EQ(U16(ops, r * 10 + 6), r);
        rows++;
    }
    EXPECT_EQ(rows, 15);
    // Unary minus binds tightest, then * and /, + and -, &, comparisons,
    // NOT, AND, OR.
    std::vector<int> order = {17, 1, 3, 5, 7, 13, 14, 15};
    for (size_t i = 1; i < order.size(); i++)
        EXPECT_GT(U16(ops, order[i - 1] * 10), U16(ops, order[i] * 10)) << order[i];
}

}  // namespace
