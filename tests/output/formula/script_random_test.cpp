// script_random_test.cpp - random arithmetic formulas of numbers, + - * /
// and parentheses against a reference computation in double, rounded to
// two decimals.
#include <random>

#include "core/decimal.h"
#include "tests/output/formula/formula_fixture.h"

namespace formula_test {
namespace {

using FormulaRandom = FormulaTest;

// Builds a random expression and its value the way the machine computes
// it (division by zero gives 0; "*" and "/" before "+" and "-", left to
// right; unary minus binds tightest). Two levels of parentheses keep the
// pending operators within the compiler's nine.
struct Generator {
    std::mt19937 rng;
    explicit Generator(unsigned seed) : rng(seed) {}
    int Below(int n) { return (int)(rng() % (unsigned)n); }

    double Operand(int depth, std::string *text) {
        if (depth < 2 && Below(4) == 0) {
            *text += "(";
            double v = Sum(depth + 1, text);
            *text += ")";
            return v;
        }
        bool negative = Below(6) == 0;
        if (negative) *text += "-";
        int whole = Below(100);
        int cents = Below(3) == 0 ? Below(100) : -1;
        *text += std::to_string(whole);
        double v = whole;
        if (cents >= 0) {
            *text += "." + std::to_string(cents / 10) + std::to_string(cents % 10);
            v = std::stod(std::to_string(whole) + "." + std::to_string(cents / 10) + std::to_string(cents % 10));
        }
        return negative ? -v : v;
    }
    double Product(int depth, std::string *text) {
        double v = Operand(depth, text);
        for (int n = Below(3); n > 0; n--) {
            bool times = Below(2) == 0;
            *text += times ? "*" : "/";
            double r = Operand(depth, text);
            v = times ? v * r : (r == 0.0 ? 0.0 : v / r);
        }
        return v;
    }
    double Sum(int depth, std::string *text) {
        double v = Product(depth, text);
        for (int n = Below(3); n > 0; n--) {
            bool plus = Below(2) == 0;
            *text += plus ? "+" : "-";
            double r = Product(depth, text);
            v = plus ? v + r : v - r;
        }
        return v;
    }
};

TEST_F(FormulaRandom, ArithmeticMatchesDouble) {
    Generator g(20261207);
    int checked = 0;
    for (int i = 0; i < 2000; i++) {
        std::string text;
        double want = g.Sum(0, &text);
        if (text.size() > 255 || std::fabs(want) > 1e12) continue;
        std::string got = Eval(text);
        ASSERT_TRUE(Shown.empty()) << text << ": " << Shown[0];
        ASSERT_FALSE(got.empty()) << text;
        PString t;
        PStringFromView(t, got);
        double value = TextToDouble(t);
        // The result carries two decimals of the value.
        EXPECT_NEAR(value, want, 0.0100001 + std::fabs(want) * 1e-12) << text << " gave " << got;
        checked++;
    }
    EXPECT_GT(checked, 1500);
}

}  // namespace
}  // namespace formula_test
