// bench_price_update.cpp - the cost of routine 16: ten price lists, each
// pricing every item of a group of 10,000 items by its formula. The
// first run makes every price record; the timed runs make them again from
// an empty price register, and a second timed case reruns over prices
// that are all up to date (read and compared, none written).
//
// The peer of each, timed in the same run, is the bare walk that reads the
// same items and looks up each one's price record of every list and stores
// nothing; ratio = the run / the walk. Full runs (ORVEL_BENCH_FULL, set by
// scripts/bench) use the full sizes; smoke runs small ones, so the test
// build's smoke run stays short.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <string>

#include "bench/bench_company.h"
#include "bench/bench_store.h"
#include "bench/bench_sizes.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "operations/batch_routines.h"
#include "rules/hooks.h"
#include "rules/rules_types.h"

namespace {

// The job the runs measured are handed.
uint8_t Selection[ReportParamsSize];
ReportJob Job{Selection};

const int Items = BenchSize<int>(10000, 50), Lists = BenchSize<int>(10, 3);

std::string ItemCode(int i) { return "I" + std::to_string(100000 + i); }
std::string ListCode(int l) { return "L" + std::to_string(l); }

// The company: Items items of group G1 with a cost price, one formula per
// list (cost plus l %, two decimals) and Lists lists of one group row.
bool Company() {
    static int ready = 0;
    if (ready) return ready > 0;
    ready = -1;
    if (!BenchCompanyOpen("price_update")) return false;
    RulesInstall();
    TodayDate = DateRec{15, 6, 2024};
    DbHoldBegin();
    uint32_t recid = 0;
    bool ok = true;
    for (int i = 0; i < Items && ok; i++) {
        RuleRecord item(INVc::Number);
        BenchPutText(item.record, INVc::Code, 20, ItemCode(i));
        BenchPutText(item.record, INVc::Group, 5, "G1");
        PutDec(item.record, INVc::CostPrice, BenchNum(10 + i % 90));
        ok = RecStore(INVc::Number, item.record, 0, &recid);
    }
    for (int l = 0; l < Lists && ok; l++) {
        RuleRecord formula(PriceFormulaVc::Number), list(PriceListVc::Number);
        BenchPutText(formula.record, PriceFormulaVc::Code, 5, "F" + std::to_string(l));
        PutDec(formula.record, PriceFormulaVc::Percentage, BenchNum(100 + l));
        PutU16(formula.record, PriceFormulaVc::Decimals, 2);
        BenchPutText(list.record, PriceListVc::Code, 5, ListCode(l));
        uint8_t row[PriceListVc::Rows::Size] = {};
        BenchPutText(row, PriceListVc::Rows::CodeRange, 60, "G1");
        BenchPutText(row, PriceListVc::Rows::Formula, 5, "F" + std::to_string(l));
        ok = MatrixRowPut(PriceListVc::Number, 0, list.record, 0, row) &&
             RecStore(PriceFormulaVc::Number, formula.record, 0, &recid) &&
             RecStore(PriceListVc::Number, list.record, 0, &recid);
    }
    if (!ok) DbHoldFail();
    if (!DbHoldEnd() || !ok) return false;
    ready = 1;
    return true;
}

template <typename F> double Seconds(F fn) {
    auto t0 = std::chrono::steady_clock::now();
    fn();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

bool Run() {
    std::memset(Selection, 0, ReportParamsVc::Size);
    PutU16(Selection, ReportParamsVc::ReportNumber, 16);
    DbHoldBegin();
    bool ok = RunMaintenance(Job);
    if (!ok) DbHoldFail();
    return DbHoldEnd() && ok;
}

// The bare walk: every item, and its price record of every list.
void Walk() {
    RuleRecord item(INVc::Number), price(PriceVc::Number);
    uint32_t recid = 0, position = 0;
    uint8_t code[256];
    for (int32_t p = 1; RecReadAt(INVc::Number, p, item.record, &recid); p++) {
        GetText(item.record, INVc::Code, code);
        for (int l = 0; l < Lists; l++) {
            RecClear(PriceVc::Number, price.record);
            BenchPutText(price.record, PriceVc::PriceList, 5, ListCode(l));
            PutText(price.record, PriceVc::ItemCode, code);
            RecFindByIndex(PriceVc::Number, "PriceList", price.record, 2, 1, &recid, &position);
        }
    }
}

void Measure(benchmark::State &state, bool fresh) {
    if (!Company() || !Run()) {
        state.SkipWithError("the company could not be made");
        return;
    }
    double ran = 0, bare = 0;
    bool ok = true;
    for (auto _ : state) {
        state.PauseTiming();
        if (fresh) ok = ok && RegDeleteAll(PriceVc::Number);
        state.ResumeTiming();
        ran += Seconds([&] { ok = ok && Run(); });
        state.PauseTiming();
        bare += Seconds(Walk);
        state.ResumeTiming();
        if (!ok || RegRecordCount(PriceVc::Number) != uint32_t(Items * Lists)) {
            state.SkipWithError("the run did not price every item of every list");
            return;
        }
    }
    state.counters["ratio"] = bare > 0 ? ran / bare : 0;
    state.counters["prices"] = Items * Lists;
}

void BM_PriceUpdateFromEmpty(benchmark::State &state) { Measure(state, true); }
BENCHMARK(BM_PriceUpdateFromEmpty)->Unit(benchmark::kMillisecond);

void BM_PriceUpdateUpToDate(benchmark::State &state) { Measure(state, false); }
BENCHMARK(BM_PriceUpdateUpToDate)->Unit(benchmark::kMillisecond);

}  // namespace
