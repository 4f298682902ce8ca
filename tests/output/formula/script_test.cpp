// script_test.cpp - formulas compiled and run by CompileScript: the
// byte code of precedence and unary minus, literals and comments, built-in
// calls and their type checks, and the rule that a formula with an error
// gives an empty result and leaves the value stack level.
#include "core/decimal.h"
#include "core/format_block.h"
#include "output/formula/formula_internal.h"
#include "tests/output/formula/formula_fixture.h"

namespace formula_test {
namespace {

class FormulaScript : public FormulaTest {
protected:
    void SetUp() override {
        FormulaTest::SetUp();
        UseVocabulary(R"(
builtin TOINT code 129 30 args INTEGER result INTEGER
builtin RAWF  code 129 31 args RAW result STRING
builtin PAIR  code 129 32 args RAW REAL result STRING
name IF class 24 index 1
)");
        // Balance functions of the test: give back their argument.
        VmSetBalanceFunction(30, [](int) { VmPushInt(VmPopInt()); });
        VmSetBalanceFunction(31, [](int) {
            PString s;
            VmPopString(s);
            VmPushPString(s);
        });
        VmSetBalanceFunction(32, [](int) {
            double x = VmPopReal();
            PString s;
            VmPopString(s);
            PStringAppendC(s, x > 0 ? "+" : "-");
            VmPushPString(s);
        });
    }
    void TearDown() override {
        for (int n : {30, 31, 32}) VmSetBalanceFunction(n, nullptr);
        FormulaTest::TearDown();
    }
    // The byte code of a formula that compiles without error.
    std::vector<uint8_t> CodeOf(const std::string &formula) {
        PString t;
        PStringFromView(t, formula);
        EXPECT_TRUE(ScriptCompileText(t)) << formula;
        std::vector<uint8_t> code(Script.codeBytes, Script.codeBytes + Script.length);
        ScriptFreeCode();
        return code;
    }
};

std::vector<std::string> Messages(std::initializer_list<const char *> m) { return {m.begin(), m.end()}; }

TEST_F(FormulaScript, PrecedenceAndParentheses) {
    EXPECT_EQ(Eval("1+2*3"), Amount("7.00"));
    EXPECT_EQ(Eval("(1+2)*3"), Amount("9.00"));
    EXPECT_EQ(Eval("10-4-3"), Amount("3.00"));    // left to right
    EXPECT_EQ(Eval("8/4/2"), Amount("1.00"));
    EXPECT_EQ(Eval("-2*3+10"), Amount("4.00"));
    EXPECT_EQ(Eval("2*-3"), Amount("-6.00"));
    EXPECT_EQ(Eval("- -5"), Amount("5.00"));      // a prefix minus reduces nothing
    EXPECT_EQ(Eval("1/0"), Amount("0.00"));
    EXPECT_EQ(Eval("1 < 2 AND 3 > 4"), "0");
    EXPECT_EQ(Eval("TRUE OR FALSE AND FALSE"), "1");   // AND binds tighter
    EXPECT_EQ(Eval("NOT 1 = 2"), "1");
    EXPECT_EQ(Eval("NOT NOT TRUE"), "1");
    EXPECT_EQ(Eval("LENGTH('ab') * LENGTH('abc')"), "6");   // INTEGER stays INTEGER
    EXPECT_EQ(Eval("LENGTH('ab') * 1.5"), Amount("3.00"));
    EXPECT_TRUE(Shown.empty());
}

TEST_F(FormulaScript, ByteCodeOfUnaryMinusAndLiterals) {
    std::vector<uint8_t> code = CodeOf("-5+2");
    ASSERT_EQ(code.size(), 9u + 2 + 9 + 2 + 2);
    EXPECT_EQ(code[0], 35);
    EXPECT_EQ(std::vector<uint8_t>(code.begin() + 9, code.begin() + 11), (std::vector<uint8_t>{3, 17}));
    EXPECT_EQ(code[11], 35);
    double two;
    std::memcpy(&two, &code[12], 8);   // IEEE double, low byte first
    EXPECT_EQ(two, 2.0);
    EXPECT_EQ(std::vector<uint8_t>(code.end() - 4, code.end()), (std::vector<uint8_t>{3, 3, 128, 13}));

    EXPECT_EQ(CodeOf("'ab' & 'c'"), (std::vector<uint8_t>{32, 2, 'a', 'b', 32, 1, 'c', 4, 5, 128, 13}));
    EXPECT_EQ(CodeOf("TRUE AND FALSE"), (std::vector<uint8_t>{128, 5, 128, 7, 2, 14, 128, 13}));
    EXPECT_EQ(CodeOf("'a' < 'b'"), (std::vector<uint8_t>{32, 1, 'a', 32, 1, 'b', 4, 10, 128, 13}));
}

TEST_F(FormulaScript, ErrorsGiveAnEmptyResult) {
    struct Case {
        const char *formula;
        std::vector<std::string> shown;
    } cases[] = {
        {"1+", Messages({"Error: Missing operands"})},
        {"(1+2", Messages({"Error: Missing )"})},
        {"+5", Messages({"Error: Illegal expression syntax"})},
        {")", Messages({"Error: Unexpected )"})},
        {"FOO+1", Messages({"Error: Unknown symbol", "Error: Illegal expression syntax"})},
        {"'a' = 1", Messages({"Error: Illegal combination of types in comparison"})},
        {"'a' + 1", Messages({"Error: Arithmetic operator wants numeric operand 1"})},
        {"1 & 'a'", Messages({"Error: Got REAL wanted STRING", "Error: operator arg 1"})},
        {"SHOW(1)", Messages({"Error: Instruction in illegal context"})},
        {"TOINT('x')", Messages({"Error: Got STRING wanted INTEGER", "Error: function arg"})},
        {"ROUND 2", Messages({"Error: Missing ("})},
        {"ROUND(2)", Messages({"Error: Missing arguments"})},
        {"ROUND(1,2,3)", Messages({"Error: Missing )"})},
        {"TOINT()", Messages({"Error: Unexpected )", "Error: A function argument is missing"})},
        {"NOT 1", Messages({"Error: Got REAL wanted BOOLEAN", "Error: operator arg 1"})},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(Eval(c.formula), "") << c.formula;
        EXPECT_EQ(Shown, c.shown) << c.formula;
    }
    // Nothing ran: the instruction in the formula showed nothing.
    EXPECT_EQ(Eval("SHOW(5) + 1"), "");
    for (const std::string &m : Shown) EXPECT_EQ(m.find("5"), std::string::npos) << m;
}

TEST_F(FormulaScript, WhatIsNotAnError) {
    EXPECT_EQ(Eval("1)"), Amount("1.00"));
    EXPECT_EQ(Eval("1 2"), Amount("2.00"));          // the last value is the result
    EXPECT_EQ(Eval("5 IF 3"), Amount("5.00"));       // a keyword ends the expression
    EXPECT_EQ(Eval(""), "");
    EXPECT_EQ(Eval("   "), "");
    EXPECT_TRUE(Shown.empty());
    // An INTEGER argument given a REAL is truncated, with two warnings.
    EXPECT_EQ(Eval("TOINT(2.7)"), "2");
    EXPECT_EQ(Shown, Messages({"Warning: Got REAL wanted INTEGER", "Warning: function arg"}));
}

TEST_F(FormulaScript, QuotesCommentsAndRawText) {
    EXPECT_EQ(Eval("'It''s'"), "It's");
    EXPECT_EQ(Eval("\"say 'hi'\""), "say 'hi'");
    EXPECT_EQ(Eval("'open"), "open");
    EXPECT_EQ(Eval("'a' & \"b\" & 'c'"), "abc");
    EXPECT_EQ(Eval("!note! 4"), Amount("4.00"));
    EXPECT_EQ(Eval("4 !no end"), Amount("4.00"));
    EXPECT_EQ(Eval("!a!1+!b!2"), Amount("3.00"));
    EXPECT_EQ(Eval("1\r\n+2"), Amount("3.00"));
    for (const char *f : {"RAWF(1910)", "RAWF('1910')", "RAWF(\"1910\")", "RAWF( 1910)"})
        EXPECT_EQ(Eval(f), "1910") << f;
    EXPECT_EQ(Eval("PAIR(A-1, 2)"), "A-1+");
    EXPECT_EQ(Eval("PAIR(x,-2) & '!'"), "x-!");
    EXPECT_EQ(Eval("CODE('') + LENGTH('abc')"), "3");
    EXPECT_TRUE(Shown.empty());
}

TEST_F(FormulaScript, LimitsAreFatalAndGiveNothing) {
    std::string many;
    for (int i = 0; i < 25; i++) many += "1 ";
    EXPECT_EQ(Eval(many), "");
    EXPECT_EQ(Shown, Messages({"Fatal: Internal value stack full"}));
    EXPECT_EQ(Eval("((((((((((1))))))))))"), "");
    EXPECT_EQ(Shown, Messages({"Fatal: Internal operation stack full"}));
    // Calls nest as deep as the operator stack has room for markers.
    std::string nested = "1.234";
    for (int i = 0; i < 9; i++) nested = "ROUND(" + nested + ",2)";
    EXPECT_EQ(Eval(nested), Amount("1.23"));
    nested = "ROUND(" + nested + ",2)";
    EXPECT_EQ(Eval(nested), "");
    EXPECT_EQ(Shown, Messages({"Fatal: Internal operation stack full"}));
}

TEST_F(FormulaScript, UnknownNamesDoNotGrowTheNameTable) {
    uint16_t count = NameTableCount();
    EXPECT_EQ(Eval("UNKNOWN1 + UNKNOWN2"), "");
    EXPECT_EQ(NameTableCount(), count);
    EXPECT_EQ(NameTableLookup("UNKNOWN1", 0), NameTableEnd);
    // Names are looked up upper-cased.
    EXPECT_EQ(Eval("length('abcd')"), "4");
}

// A printer job groups thousands in its amounts; a formula's result is
// read back as an amount and must not be.
TEST_F(FormulaScript, ResultsAreNeverGroupedInThousands) {
    ThousandsFlag = 1;
    std::string got = Eval("1000000 + 0.5");
    ThousandsFlag = 0;
    EXPECT_EQ(got, Amount("1000000.50"));
    PString t;
    PStringFromView(t, got);
    EXPECT_EQ(TextToDouble(t), 1000000.5);
}

TEST_F(FormulaScript, ManyFormulasInOneJobKeepTheCallStack) {
    for (int i = 0; i < 200; i++) ASSERT_EQ(Eval("1+1"), Amount("2.00")) << i;
    EXPECT_EQ(VmCallDepth(), 0);
}

}  // namespace
}  // namespace formula_test
