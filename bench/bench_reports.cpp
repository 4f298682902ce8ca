// Benchmark of the reports' sums by code: TotalsTableAdd of 100,000
// amounts over 1,000 distinct five-character codes, then the print that
// empties the table (to no job, so it only walks and frees), against a
// std::unordered_map of the same sums. The table keeps first-seen order
// and searches its rows in order, so the ratio tells what that order
// costs once a report meets many codes.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

#include "core/decimal.h"
#include "reports/sales/sales_reports.h"

namespace {

constexpr int Amounts = 100000, Codes = 1000;

// The codes as PStrings ("C0000".."C0999") and the amounts, made once.
struct Inputs {
    std::vector<std::array<uint8_t, 6>> codes;
    std::vector<PackedDecimal> amounts;
    Inputs() : codes(Codes), amounts(Amounts)
    {
        for (int i = 0; i < Codes; ++i) {
            char text[8];
            std::snprintf(text, sizeof text, "C%04d", i);
            codes[i][0] = 5;
            for (int k = 0; k < 5; ++k) codes[i][k + 1] = uint8_t(text[k]);
        }
        for (int i = 0; i < Amounts; ++i) DecFromDouble(&amounts[i], (i % 997) * 1.25);
    }
};

const Inputs &In()
{
    static Inputs in;
    return in;
}

// TotalsTableAdd of every amount under code i mod 1,000; the table reset
// before and emptied after each pass.
void BM_TotalsTableAdd(benchmark::State &state)
{
    const Inputs &in = In();
    for (auto _ : state) {
        TotalsTableReset();
        for (int i = 0; i < Amounts; ++i)
            if (!TotalsTableAdd(in.codes[i % Codes].data(), &in.amounts[i], nullptr, nullptr)) {
                state.SkipWithError("the totals table could not grow");
                return;
            }
        if (TotalsTableCount(1) != Codes) {
            state.SkipWithError("the table does not hold one row per code");
            return;
        }
        TotalsTableReset();
    }
    state.SetItemsProcessed(state.iterations() * Amounts);
}
BENCHMARK(BM_TotalsTableAdd)->Unit(benchmark::kMillisecond);

// The peer: the same sums in a hash map keyed by the code's text.
void BM_UnorderedMapPeer(benchmark::State &state)
{
    const Inputs &in = In();
    for (auto _ : state) {
        std::unordered_map<std::string, PackedDecimal> sums;
        for (int i = 0; i < Amounts; ++i) {
            const std::array<uint8_t, 6> &c = in.codes[i % Codes];
            auto [it, fresh] = sums.try_emplace(std::string(reinterpret_cast<const char *>(c.data() + 1), c[0]));
            if (fresh) DecSetZero(&it->second);
            DecAdd(&it->second, &in.amounts[i], &it->second);
        }
        benchmark::DoNotOptimize(sums);
    }
    state.SetItemsProcessed(state.iterations() * Amounts);
}
BENCHMARK(BM_UnorderedMapPeer)->Unit(benchmark::kMillisecond);

}  // namespace
