// bench_depreciation.cpp - the cost of the depreciation run: the
// depreciation voucher over many fixed assets of ten rows each, stored as
// register-9 records of at most 80 rows (posted as stored).
//
// The peer, timed in the same run, is the bare record work of the same size
// with no rules: every asset read in code order with its rows, each row's
// model read by its code, and one plain register-9 record stored per 40
// assets. ratio = the run's time / the peer's. Full runs (ORVEL_BENCH_FULL,
// set by scripts/bench) use the full size (5,000 assets of 10 rows); smoke
// runs a small one, so the test build's smoke run stays short.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_store.h"
#include "bench/bench_company.h"
#include "bench/bench_sizes.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "operations/asset_depreciation.h"
#include "rules/hooks.h"
#include "rules/rules_types.h"

namespace {

// The selection of the run measured.
uint8_t Selection[ReportParamsSize];

const int Assets = BenchSize<int>(5000, 60);
constexpr int AssetRows = 10, Groups = 8;


template <typename Fill> bool StorePlain(int reg, Fill fill) {
    RuleRecord r(reg);
    if (!r.record) return false;
    fill(r.record);
    uint32_t recid = 0;
    return RecStore(reg, r.record, 0, &recid);
}

std::string GroupCode(int g) { return "G" + std::to_string(g); }

// Two models, the asset groups and the assets, each asset changing its
// value or model once a year from 2015. Once per program.
bool Company() {
    static int ready = 0;
    if (ready) return ready > 0;
    ready = -1;
    if (!BenchCompanyOpen("depreciation")) return false;
    RulesInstall();
    DbHoldBegin();
    bool ok = true;
    for (int m = 1; ok && m <= 2; m++)
        ok = StorePlain(DeprModelVc::Number, [&](uint8_t *r) {
            BenchPutText(r, DeprModelVc::Code, 5, m == 1 ? "SL" : "DB");
            PutU16(r, DeprModelVc::Method, (uint16_t)m);
            PackedDecimal rate;
            DecFromLong(&rate, m == 1 ? 10 : 25);
            PutDec(r, DeprModelVc::RatePct, rate);
            PutU16(r, DeprModelVc::Decimals, 2);
        });
    std::vector<uint8_t> groups((size_t)Groups * AssetGroupBlk::Rows::Size);
    for (int g = 0; g < Groups; g++) {
        uint8_t *row = groups.data() + (size_t)g * AssetGroupBlk::Rows::Size;
        BenchPutText(row, AssetGroupBlk::Rows::Group, 5, GroupCode(g));
        BenchPutText(row, AssetGroupBlk::Rows::AccDeprAcc, 10, "12" + std::to_string(10 + g));
        BenchPutText(row, AssetGroupBlk::Rows::DeprCostAcc, 10, "78" + std::to_string(10 + g));
        BenchPutText(row, AssetGroupBlk::Rows::Objects, 30, "K" + std::to_string(g));
    }
    ok = ok && SettingsBlockStore(AssetGroupBlk::Number, groups.data(), (uint32_t)groups.size()) == RecDone;
    // The run refuses a group whose accounts the chart lacks: each group's
    // two accounts are in it.
    for (int g = 0; ok && g < Groups; g++)
        for (const std::string &account : {"12" + std::to_string(10 + g), "78" + std::to_string(10 + g)})
            ok = StorePlain(ACVc::Number, [&](uint8_t *r) {
                BenchPutText(r, ACVc::Code, 10, account);
                PutU16(r, ACVc::DebitAllowed, 1);
                PutU16(r, ACVc::CreditAllowed, 1);
            });
    PackedDecimal value;
    for (int a = 0; ok && a < Assets; a++)
        ok = StorePlain(AssetVc::Number, [&](uint8_t *r) {
            char code[16];
            std::snprintf(code, sizeof code, "A%05d", a);
            BenchPutText(r, AssetVc::Code, 10, code);
            BenchPutText(r, AssetVc::Name, 60, std::string("Asset ") + code);
            BenchPutText(r, AssetVc::Class, 5, GroupCode(a % Groups));
            BenchPutText(r, AssetVc::Objects, 5, "P" + std::to_string(a % 20));
            DecFromLong(&value, 1000 + a);
            PutDec(r, AssetVc::AcqValue, value);
            PutDate(r, AssetVc::AcqDate, DateRec{1, 1, 2015});
            for (int i = 0; i < AssetRows; i++) {
                uint8_t row[AssetVc::Rows::Size] = {};
                PutDate(row, AssetVc::Rows::RowDate, DateRec{1, 1, (uint16_t)(2015 + i)});
                BenchPutText(row, AssetVc::Rows::Model1, 5, i % 2 ? "DB" : "SL");
                if (i % 3 == 0) DecFromLong(&value, 1000 + a + 100 * i);
                else DecSetBlank(&value);
                PutDec(row, AssetVc::Rows::NewValue, value);
                MatrixRowPut(AssetVc::Number, 0, r, i, row);
            }
        });
    if (!DbHoldEnd() || !ok) return false;
    ready = 1;
    return true;
}

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Every asset with its rows in code order, each row's model read, one
// plain register-9 record stored per 40 assets.
bool BareAssetPass() {
    RuleRecord asset(AssetVc::Number), model(DeprModelVc::Number), sm1(SMVc::Number);
    uint32_t recid = 0, position = 0, serial = 1000000;
    uint8_t row[AssetVc::Rows::Size], code[256];
    bool ok = true;
    for (int32_t p = 1; ok && RecReadAt(AssetVc::Number, p, asset.record, &recid); p++) {
        const int32_t rows = MatrixRowCount(AssetVc::Number, 0, asset.record);
        for (int32_t i = 0; i < rows; i++) {
            if (!MatrixRowRead(AssetVc::Number, asset.record, i, row)) continue;
            GetText(row, AssetVc::Rows::Model1, code);
            PutText(model.record, DeprModelVc::Code, code);
            RecFind(DeprModelVc::Number, model.record, 1, 1, &recid, &position);
        }
        RecFreeMatrix(AssetVc::Number, asset.record);
        if (p % 40 == 0) {
            RecClear(SMVc::Number, sm1.record);
            PutU32(sm1.record, SMVc::SerNr, serial++);
            uint32_t id = 0;
            ok = RecStore(SMVc::Number, sm1.record, 0, &id);
        }
    }
    return ok;
}

// The depreciation voucher of 2024, stored; the records of the run before
// are removed, untimed.
void BM_DepreciationVoucherRows(benchmark::State &state) {
    if (!Company()) {
        state.SkipWithError("the company could not be made");
        return;
    }
    double rule = 0, bare = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (!RegDeleteAll(SMVc::Number)) {
            state.SkipWithError("the vouchers could not be removed");
            return;
        }
        std::memset(Selection, 0, ReportParamsSize);
        PutDate(Selection, ReportParamsVc::DateFrom, DateRec{1, 1, 2024});
        PutDate(Selection, ReportParamsVc::DateTo, DateRec{31, 12, 2024});
        state.ResumeTiming();
        auto start = std::chrono::steady_clock::now();
        if (!DepreciationVoucherRows(Selection, 1) || RegRecordCount(SMVc::Number) == 0) {
            state.SkipWithError("the voucher was not stored");
            return;
        }
        rule += Seconds(start);
        state.PauseTiming();
        start = std::chrono::steady_clock::now();
        if (!BareAssetPass()) {
            state.SkipWithError("the bare pass failed");
            return;
        }
        bare += Seconds(start);
        state.ResumeTiming();
    }
    state.counters["assets"] = Assets;
    state.counters["bare_ms"] = bare / (double)state.iterations() * 1e3;
    state.counters["ratio"] = bare > 0 ? rule / bare : 0;
}
BENCHMARK(BM_DepreciationVoucherRows)->Unit(benchmark::kMillisecond);

}  // namespace
