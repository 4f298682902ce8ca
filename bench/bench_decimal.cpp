// Benchmarks of the PackedDecimal operations that report and document
// loops run once per row or field: add, subtract, compare, round,
// multiply, divide, display text and typed text. Operands cycle through
// a small table of realistic amounts, quantities, prices and rates.
// The peer for addition is the plain digit-by-digit loop over the 24
// nibbles that the word-at-a-time code replaces.
#include <benchmark/benchmark.h>

#include <array>
#include <cstring>

#include "core/decimal.h"
#include "core/format_block.h"
#include "core/pstring.h"

namespace {

constexpr std::array<const char *, 16> Texts = {
    "19,99",   "1234,50", "-250",       "0,125",   "1000000", "75,5",      "3",     "12,345",
    "-0,01",   "99999,999", "5",        "-4711,07", "0,5",    "123456789,123", "-17", "2500,75",
};
constexpr size_t Count = Texts.size();

struct Operands {
    std::array<PackedDecimal, Count> values;
    std::array<PString, Count> texts;
};

const Operands &Table() {
    static Operands t = [] {
        Operands o;
        for (size_t i = 0; i < Count; i++) {
            size_t n = std::strlen(Texts[i]);
            o.texts[i][0] = static_cast<uint8_t>(n);
            std::memcpy(o.texts[i] + 1, Texts[i], n);
            TextToDec(o.texts[i], &o.values[i]);
        }
        return o;
    }();
    return t;
}

template <void (*Op)(const PackedDecimal *, const PackedDecimal *, PackedDecimal *)>
void BinaryOp(benchmark::State &state) {
    const Operands &t = Table();
    PackedDecimal r;
    size_t i = 0;
    for (auto _ : state) {
        Op(&t.values[i], &t.values[(i + 5) % Count], &r);
        benchmark::DoNotOptimize(r);
        i = (i + 1) % Count;
    }
}

void BM_DecAdd(benchmark::State &state) { BinaryOp<DecAdd>(state); }
void BM_DecSub(benchmark::State &state) { BinaryOp<DecSub>(state); }
void BM_DecMul(benchmark::State &state) { BinaryOp<DecMul>(state); }
void BM_DecDiv(benchmark::State &state) { BinaryOp<DecDiv>(state); }

// Sign-and-magnitude addition a digit at a time, as a straightforward
// implementation would do it (same sign only; enough for the peer).
void DigitLoopAdd(const PackedDecimal *a, const PackedDecimal *b, PackedDecimal *r) {
    int carry = 0;
    PackedDecimal s{};
    for (int i = 0; i < DecDigits; i++) {
        int d = DecGetDigit(a, i) + DecGetDigit(b, i) + carry;
        carry = d >= 10;
        DecSetDigit(&s, i, carry ? d - 10 : d);
    }
    DecCopy(r, &s);
}

void BM_PeerDigitLoopAdd(benchmark::State &state) {
    const Operands &t = Table();
    std::array<PackedDecimal, Count> magnitudes;
    for (size_t i = 0; i < Count; i++) DecAbs(&t.values[i], &magnitudes[i]);
    PackedDecimal r;
    size_t i = 0;
    for (auto _ : state) {
        DigitLoopAdd(&magnitudes[i], &magnitudes[(i + 5) % Count], &r);
        benchmark::DoNotOptimize(r);
        i = (i + 1) % Count;
    }
}

void BM_DecCompare(benchmark::State &state) {
    const Operands &t = Table();
    size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(DecCompare(&t.values[i], &t.values[(i + 3) % Count]));
        i = (i + 1) % Count;
    }
}

void BM_DecRound(benchmark::State &state) {
    const Operands &t = Table();
    PackedDecimal r;
    size_t i = 0;
    for (auto _ : state) {
        DecRound(&t.values[i], 2, &r);
        benchmark::DoNotOptimize(r);
        i = (i + 1) % Count;
    }
}

void BM_DecFormat(benchmark::State &state) {
    const Operands &t = Table();
    FormatBlock *saved = CurrentFormat;
    uint8_t savedFlag = ThousandsFlag;
    ThousandsFlag = static_cast<uint8_t>(state.range(0));
    PString out;
    size_t i = 0;
    for (auto _ : state) {
        DecFormat(&t.values[i], 2, out);
        benchmark::DoNotOptimize(out);
        i = (i + 1) % Count;
    }
    ThousandsFlag = savedFlag;
    FormatBlockBind(saved);
}

void BM_TextToDec(benchmark::State &state) {
    const Operands &t = Table();
    PackedDecimal r;
    size_t i = 0;
    for (auto _ : state) {
        TextToDec(t.texts[i], &r);
        benchmark::DoNotOptimize(r);
        i = (i + 1) % Count;
    }
}

}  // namespace

BENCHMARK(BM_DecAdd);
BENCHMARK(BM_PeerDigitLoopAdd);
BENCHMARK(BM_DecSub);
BENCHMARK(BM_DecCompare);
BENCHMARK(BM_DecRound);
BENCHMARK(BM_DecMul);
BENCHMARK(BM_DecDiv);
BENCHMARK(BM_DecFormat)->Arg(0)->Arg(1);
BENCHMARK(BM_TextToDec);
