// Benchmark of the document totals: DocTotalsRound over a sales invoice
// of 1,000 rows spread over every VAT code of a ten-code table, against
// the bare arithmetic of the same rows (one pass, each row's VAT from a
// rate table held in a local array, no settings lookups and no sums per
// code). The ratio tells what the per-row code lookups and the per-code
// rounding cost over the arithmetic itself.
//
// The totals read their settings from a real company file, made fresh in
// the temporary folder with the interface file the build compiled.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "bench/bench_company.h"
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/engine/engine.h"
#include "rules/vat_currency.h"

namespace {

constexpr int Codes = 10;
constexpr int Rows = 1000;

// Opens a fresh company with ten VAT codes and the round-off block.
void OpenCompany() {
    static bool open = false;
    if (open) return;
    if (!BenchCompanyOpen("totals")) std::exit(1);
    std::vector<uint8_t> rows(Codes * VatCodeRow::Size, 0);
    for (int i = 0; i < Codes; i++) {
        uint8_t *r = rows.data() + i * VatCodeRow::Size;
        uint8_t code[4];
        PStringFromC(code, std::to_string(i).c_str());
        PutText(r, VatCodeRow::Code, code);
        PackedDecimal rate, blank;
        DecFromLong(&rate, i * 3);
        DecSetBlank(&blank);
        PutDec(r, VatCodeRow::Rate, rate);
        PutDec(r, VatCodeRow::Rate2, blank);
    }
    uint8_t round[RoundOffBlk::Size] = {};
    PutU16(round, RoundOffBlock::TotalDecimals, 2);
    PutU16(round, RoundOffBlock::VatDecimals, 2);
    if (SettingsBlockStore(VatCodeBlk::Number, rows.data(), (uint32_t)rows.size()) != RecDone ||
        SettingsBlockStore(RoundOffBlk::Number, round, sizeof round) != RecDone)
        std::exit(1);
    open = true;
}

// An invoice of Rows priced rows over every code, amounts 1.01 .. 10.00.
struct Invoice {
    MemBlock handle = 0;
    uint8_t *record = nullptr;
    Invoice() {
        record = RecBufferNew(IVVc::Number, &handle);
        if (!record) std::exit(1);
        std::vector<uint8_t> row(IVVc::Rows::Size, 0);
        for (int i = 0; i < Rows; i++) {
            PutU16(row.data(), IVVc::Rows::Kind, 1);
            PackedDecimal a;
            DecFromThousandths(&a, 1010 + (i * 37 % 900) * 10);
            PutDec(row.data(), IVVc::Rows::Sum, a);
            uint8_t code[4];
            PStringFromC(code, std::to_string(i % Codes).c_str());
            PutText(row.data(), IVVc::Rows::VatCode, code);
            if (!MatrixRowPut(IVVc::Number, 0, record, i, row.data())) std::exit(1);
        }
    }
    ~Invoice() { RecBufferFree(IVVc::Number, &handle); }
};

void BM_DocTotalsRound(benchmark::State &state) {
    OpenCompany();
    Invoice inv;
    for (auto _ : state) {
        DocTotalsRound(inv.record);
        benchmark::DoNotOptimize(inv.record[IVVc::Total]);
    }
    state.SetItemsProcessed(state.iterations() * Rows);
}
BENCHMARK(BM_DocTotalsRound)->Unit(benchmark::kMicrosecond);

// The peer: the same rows summed in one pass with each row's VAT from a
// local rate table, no lookups, sums per code or rounding per code.
void BM_BareRowSums(benchmark::State &state) {
    OpenCompany();
    Invoice inv;
    std::array<PackedDecimal, Codes> rates;
    for (int i = 0; i < Codes; i++) DecFromLong(&rates[i], i * 3);
    for (auto _ : state) {
        PackedDecimal net, vat;
        DecSetZero(&net);
        DecSetZero(&vat);
        MemBlock h = RecMatrixHandle(IVVc::Number, inv.record);
        uint8_t *data = nullptr;
        int32_t count = 0;
        MemArrayLock(h, IVVc::Rows::Size, &data, &count);
        for (int32_t i = 0; i < count; i++) {
            const uint8_t *row = data + (size_t)i * IVVc::Rows::Size;
            PackedDecimal a = GetDec(row, IVVc::Rows::Sum), v;
            int code = row[IVVc::Rows::VatCode + 1] - '0';
            DecAdd(&net, &a, &net);
            PercentOfAmount(&a, &rates[(size_t)code % Codes], &v);
            DecAdd(&vat, &v, &vat);
        }
        MemUnlock(h);
        benchmark::DoNotOptimize(net);
        benchmark::DoNotOptimize(vat);
    }
    state.SetItemsProcessed(state.iterations() * Rows);
}
BENCHMARK(BM_BareRowSums)->Unit(benchmark::kMicrosecond);

}  // namespace
