// vm_test.cpp - the formula machine on byte code written by hand: the
// arithmetic of the three value types, built-ins, conversions and what a
// full stack, string space or call stack does to a run.
#include "tests/output/formula/formula_fixture.h"

#include "core/ui_text.h"
#include "dict_offsets.h"

namespace formula_test {
namespace {

using FormulaMachine = FormulaTest;

TEST_F(FormulaMachine, RealArithmeticAndItsText) {
    VmPushFrame(0, 0);
    ASSERT_TRUE(Code().Real(2.5).Real(4.0).Op({3, 1}).Run());
    EXPECT_EQ(VmTop()->type, VmReal);
    EXPECT_EQ(VmTop()->real, 10.0);
    VmToString();
    EXPECT_EQ(TopText(), Amount("10.00"));

    // REAL division by zero gives 0.0; operands of other types widen.
    ASSERT_TRUE(Code().Real(5).Real(0).Op({3, 2}).Run());
    EXPECT_EQ(VmPopReal(), 0.0);
    ASSERT_TRUE(Code().Int(7).Real(0.5).Op({3, 3}).Run());
    EXPECT_EQ(VmPopReal(), 7.5);
    ASSERT_TRUE(Code().Real(1.5).Op({3, 17}).Run());
    EXPECT_EQ(VmPopReal(), -1.5);
}

TEST_F(FormulaMachine, IntegerOperationsKeepSixteenBits) {
    VmPushFrame(0, 0);
    struct Case {
        int l, r, op, want;
    } cases[] = {
        {7, 2, 2, 3}, {-7, 2, 2, -3}, {5, 0, 2, 0},
        {300, 300, 1, (int16_t)(300 * 300)},  // 90000 keeps its low 16 bits
        {-32768, -1, 2, -32768},               // the quotient that does not fit wraps
        {32767, 1, 3, -32768}, {-32768, 1, 4, 32767}, {6, 3, 14, 2}, {6, 3, 15, 7},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(Code().Int(c.l).Int(c.r).Op({2, c.op}).Run());
        EXPECT_EQ(VmTop()->type, VmInteger);
        EXPECT_EQ(VmPopInt(), c.want) << c.l << " op " << c.op << " " << c.r;
    }
    ASSERT_TRUE(Code().Int(-32768).Op({2, 17}).Run());
    EXPECT_EQ(VmPopInt(), -32768);
    ASSERT_TRUE(Code().Int(0).Op({2, 13}).Int(9).Op({2, 13}).Run());
    EXPECT_EQ(VmPopInt(), 0);
    EXPECT_EQ(VmPopInt(), 1);
    // Comparisons of each kind, in the machine's order.
    ASSERT_TRUE(Code().Int(2).Int(3).Op({2, 10}).Int(2).Int(3).Op({2, 9}).Run());
    EXPECT_EQ(VmTop()->type, VmBoolean);
    EXPECT_EQ(VmPopInt(), 0);
    EXPECT_EQ(VmPopInt(), 1);
}

TEST_F(FormulaMachine, StringsCompareBytewiseAndJoin) {
    VmPushFrame(0, 0);
    ASSERT_TRUE(Code().Str("AB").Str("ABC").Op({4, 10}).Str("b").Str("B").Op({4, 8}).Str("AB").Str("AB").Op({4, 12}).Run());
    EXPECT_EQ(VmPopInt(), 0);
    EXPECT_EQ(VmPopInt(), 1);
    EXPECT_EQ(VmPopInt(), 1);

    ASSERT_TRUE(Code().Str("AB").Str("CD").Op({4, 5}).Str("E").Op({4, 5}).Run());
    EXPECT_EQ(VmTop()->length, 5);
    EXPECT_EQ(TopText(), "ABCDE");
    PString out;
    VmPopString(out);
    EXPECT_EQ(PStringToStd(out), "ABCDE");
    // The joined text's room is freed with it: a new text starts where
    // the first one did.
    ASSERT_TRUE(Code().Str("X").Run());
    EXPECT_EQ(TopText(), "X");
}

TEST_F(FormulaMachine, BuiltinsCodeLengthRound) {
    VmPushFrame(0, 0);
    ASSERT_TRUE(Code().Str("").Op({128, 4}).Str("\xC8z").Op({128, 4}).Str("abc").Op({128, 9}).Run());
    EXPECT_EQ(VmPopInt(), 3);
    EXPECT_EQ(VmPopInt(), -56);
    EXPECT_EQ(VmPopInt(), 0);

    ASSERT_TRUE(Code().Real(2.345).Real(2).Op({128, 20}).Real(-2.345).Real(2).Op({128, 20}).Real(2.345).Real(3).Op({128, 20}).Run());
    EXPECT_EQ(VmPopReal(), 2.345);
    EXPECT_DOUBLE_EQ(VmPopReal(), -2.35);
    EXPECT_DOUBLE_EQ(VmPopReal(), 2.35);

    ASSERT_TRUE(Code().Op({128, 5, 128, 7, 128, 6, 128, 11}).Run());
    EXPECT_EQ(VmTop()->type, VmBoolean);
    EXPECT_EQ(VmPopInt(), 0);

    // Built-in 12 shows the amount with two decimals.
    ASSERT_TRUE(Code().Real(12.5).Op({128, 12}).Run());
    ASSERT_EQ(Shown.size(), 1u);
    EXPECT_EQ(Shown[0], Amount("12.50"));
}

TEST_F(FormulaMachine, ConversionsOfEveryType) {
    VmPushFrame(0, 0);
    VmPushBool(true);
    VmToString();
    EXPECT_EQ(TopText(), "1");
    VmPushInt(-5);
    VmToString();
    EXPECT_EQ(TopText(), "-5");
    PString text;
    PStringFromC(text, "12.75");
    VmPushPString(text);
    VmToReal();
    EXPECT_EQ(VmTop()->type, VmReal);
    EXPECT_EQ(VmTop()->real, 12.75);
    VmToInt();
    EXPECT_EQ(VmPopInt(), 12);

    // Out of range, infinite and not-a-number: defined, never undefined
    // behaviour: truncated toward zero, the low 16 bits; NaN gives 0.
    EXPECT_EQ(VmDoubleToInt16(70000.9), (int16_t)70000);
    EXPECT_EQ(VmDoubleToInt16(-70000.9), (int16_t)-70000);
    EXPECT_EQ(VmDoubleToInt16(1e300), 0);
    EXPECT_EQ(VmDoubleToInt16(-2.9), -2);
    EXPECT_EQ(VmDoubleToInt16(__builtin_nan("")), 0);
    EXPECT_EQ(VmDoubleToInt16(__builtin_inf()), 0);
    VmPushReal(0.25);
    VmToBool();
    EXPECT_EQ(VmTop()->type, VmBoolean);
    EXPECT_EQ(VmPopInt(), 1);
}

TEST_F(FormulaMachine, FullStackEndsTheRunWithOneMessage) {
    int level = VmTopIndex();
    VmPushFrame(0, 0);
    Code c;
    for (int i = 0; i < 120; i++) c.Op({128, 5});
    EXPECT_FALSE(c.Run());
    EXPECT_EQ(Shown.size(), 1u);
    EXPECT_EQ(VmTopIndex(), VmStackSize - 1);
    VmRestoreLevel(level, VmCurrentFrame());
    VmClearFault();

    // The string space: 40 texts of capacity 80 do not fit in it.
    Shown.clear();
    VmPushFrame(0, 0);
    Code s;
    for (int i = 0; i < 40; i++) s.Op({97, 4});
    EXPECT_FALSE(s.Run());
    EXPECT_EQ(Shown.size(), 1u);
    VmRestoreLevel(level, VmCurrentFrame());
    VmClearFault();

    // A call that calls itself fills the call stack and ends the run.
    Shown.clear();
    VmPushFrame(0, 0);
    EXPECT_FALSE(Code().Op({163, 0xFD, 0xFF}).Run());
    EXPECT_EQ(Shown.size(), 1u);
    EXPECT_EQ(VmCallDepth(), 0);
}

TEST_F(FormulaMachine, JumpsFramesAndVariables) {
    VmPushFrame(0, 0);
    // 171 jumps over the push of 1 when the popped value is 0.
    ASSERT_TRUE(Code().Int(0).Op({171, 3, 0}).Int(1).Int(2).Run());
    EXPECT_EQ(VmPopInt(), 2);
    EXPECT_EQ(VmTop()->type, VmFrameMark);

    // A frame with an INTEGER and a STRING variable: store, then read.
    ASSERT_TRUE(Code().Op({96, 1, 0, 2, 4, 0}).Int(42).Op({80, 2, 1, 1}).Str("hi").Op({80, 4, 1, 2})
                    .Op({64, 2, 1, 1, 64, 4, 1, 2}).Run());
    EXPECT_EQ(TopText(), "hi");
    VmPop();
    EXPECT_EQ(VmPopInt(), 42);
    int before = VmTopIndex();
    VmUnwindFrame();   // the frame and its two variables
    EXPECT_EQ(VmTopIndex(), before - 3);
    EXPECT_EQ(VmTop()->type, VmFrameMark);

    // Truncated instructions and jumps out of the code end the run.
    EXPECT_TRUE(Code().Op({165, 0x10, 0x00}).Run());
    MemBlock h = MemAlloc(3);
    std::memcpy(MemLock(h), "\x23\x01\x02", 3);
    MemUnlock(h);
    EXPECT_TRUE(ScriptRun(0, h));
    MemFree(&h);
    EXPECT_EQ(VmTop()->type, VmFrameMark);
}

TEST_F(FormulaMachine, UnwindWithoutFrameAndBalanceFunctions) {
    const VmBalanceFunction installed = VmBalanceFunctionOf(14);
    // A function nobody installed ends the run with a message instead of
    // passing for a balance of 0; the values below it stay.
    VmSetBalanceFunction(14, nullptr);
    VmPushFrame(0, 0);
    const int level = VmTopIndex();
    EXPECT_FALSE(Code().Str("1910").Op({129, 14}).Real(3).Run());
    EXPECT_TRUE(VmFaulted());
    PString notYet;
    GetUiText(notYet, Texts::FunctionNotYet);
    ASSERT_EQ(Shown.size(), 1u);
    EXPECT_EQ(Shown[0], PStringToStd(notYet));
    ASSERT_FALSE(Shown[0].empty());
    VmRestoreLevel(level, VmCurrentFrame());
    VmClearFault();
    // Numbers outside the table refuse the same way.
    EXPECT_EQ(VmBalanceFunctionOf(-1), nullptr);
    EXPECT_EQ(VmBalanceFunctionOf(256), nullptr);

    VmSetBalanceFunction(14, [](int n) { VmPushReal(VmPopReal() * 2 + n); });
    ASSERT_TRUE(Code().Real(5).Op({129, 14}).Run());
    EXPECT_EQ(VmPopReal(), 24.0);
    VmSetBalanceFunction(14, installed);
    Shown.clear();

    // Unwinding past every frame stops at the floor with a message.
    VmUnwindFrame();
    VmUnwindFrame();
    VmUnwindFrame();
    EXPECT_EQ(VmTopIndex(), 0);
    ASSERT_FALSE(Shown.empty());
    EXPECT_EQ(Shown.back(), "Stack underflow");
}

}  // namespace
}  // namespace formula_test
