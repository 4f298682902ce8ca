// bench_stock.cpp - the cost of stock documents: the voucher of a
// delivery of ten items, each with a long history of receipts that the
// stock on hand covers (so the FIFO cost walks all of them), and the stock
// of an item summed over many locations.
//
// The peer of each, timed in the same run, is the bare walk of the same
// index entries with the same record reads and no rules: ratio = the rule's
// time / the bare walk's (the aim is at most 2). Full runs
// (ORVEL_BENCH_FULL, set by scripts/bench) use the full sizes; smoke runs
// small ones, so the test build's smoke run stays short.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_store.h"
#include "bench/bench_company.h"
#include "bench/bench_sizes.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "rules/ledger.h"
#include "rules/stock.h"

namespace {

const int Layers = BenchSize<int>(10000, 30), Locations = BenchSize<int>(200, 10);
constexpr int Items = 10;

std::string ItemCode(int i) { return "ITEM" + std::to_string(i); }


// Stores one record of reg filled by fill, no hooks; false when it failed.
template <typename Fill> bool StorePlain(int reg, Fill fill, int mode = -1) {
    RuleRecord r(reg);
    if (!r.record) return false;
    fill(r.record);
    uint32_t recid = 0;
    return mode < 0 ? RecStoreByKey(reg, r.record, 1, &recid) : RecStore(reg, r.record, mode, &recid);
}

// The company: accounts and block settings of delivery vouchers, Items
// stocked items, Layers purchases of one unit of each (one history entry
// per item and purchase), stock covering them, and one more item in stock
// at Locations locations. Once per program.
bool Company() {
    static int ready = 0;
    if (ready) return ready > 0;
    ready = -1;
    if (!BenchCompanyOpen("stock")) return false;
    DbHoldBegin();
    for (const char *a : {"1460", "4010", "3740"})
        if (!StorePlain(ACVc::Number, [&](uint8_t *r) { BenchPutText(r, ACVc::Code, 10, a); BenchPutText(r, ACVc::Name, 60, a); }))
            return false;
    std::vector<uint8_t> accounts(SalesAccountsBlk::Size, 0), posting(PostingBlk::Size, 0);
    BenchPutText(accounts.data(), SalesAccountsBlk::StockAcc, 10, "1460");
    BenchPutText(accounts.data(), SalesAccountsBlk::CostOfGoodsAcc, 10, "4010");
    BenchPutText(accounts.data(), SalesAccountsBlk::RoundingAcc, 10, "3740");
    PutU16(posting.data(), PostingBlk::DeliveryVouchers, 1);
    if (SettingsBlockStore(SalesAccountsBlk::Number, accounts.data(), SalesAccountsBlk::Size) != RecDone ||
        SettingsBlockStore(PostingBlk::Number, posting.data(), PostingBlk::Size) != RecDone)
        return false;
    PackedDecimal one, cost, onHand, many;
    DecFromLong(&one, 1);
    DecFromLong(&onHand, Layers);
    DecFromLong(&many, 5);
    for (int i = 0; i < Items; i++) {
        if (!StorePlain(INVc::Number, [&](uint8_t *r) { BenchPutText(r, INVc::Code, 20, ItemCode(i)); PutU16(r, INVc::Stocked, 1); }) ||
            !StorePlain(LSVc::Number, [&](uint8_t *r) { BenchPutText(r, LSVc::ItemCode, 20, ItemCode(i)); PutDec(r, LSVc::InStock, onHand); }, 0))
            return false;
    }
    for (int p = 1; p <= Layers; p++) {
        DateRec date{1, (uint16_t)(1 + p % 12), (uint16_t)(1990 + p / 12 % 30)};
        DecFromLong(&cost, 1 + p % 97);
        bool ok = StorePlain(PUVc::Number, [&](uint8_t *r) {
            PutU32(r, PUVc::SerNr, (uint32_t)p);
            PutDate(r, PUVc::TransDate, date);
            for (int i = 0; i < Items; i++) {
                uint8_t row[PUVc::Rows::Size] = {};
                BenchPutText(row, PUVc::Rows::ItemCode, 20, ItemCode(i));
                PutDec(row, PUVc::Rows::Quantity, one);
                PutDec(row, PUVc::Rows::UnitCost, cost);
                MatrixRowPut(PUVc::Number, 0, r, i, row);
            }
        });
        for (int i = 0; ok && i < Items; i++)
            ok = StorePlain(ItemHistVc::Number, [&](uint8_t *r) {
                BenchPutText(r, ItemHistVc::ItemCode, 20, ItemCode(i));
                PutU16(r, ItemHistVc::DocType, PUVc::Number);
                PutU32(r, ItemHistVc::DocNr, (uint32_t)p);
                PutDate(r, ItemHistVc::HistDate, date);
                PutU16(r, ItemHistVc::Receipt, 1);
                PutDec(r, ItemHistVc::Quantity, one);
                PutU16(r, ItemHistVc::RowNr, (uint16_t)i);
            }, 0);
        if (!ok) return false;
    }
    for (int l = 0; l < Locations; l++)
        if (!StorePlain(LSVc::Number, [&](uint8_t *r) {
                BenchPutText(r, LSVc::ItemCode, 20, "SPREAD");
                BenchPutText(r, LSVc::Location, 10, "L" + std::to_string(l));
                PutDec(r, LSVc::InStock, many);
            }, 0))
            return false;
    if (!DbHoldEnd()) return false;
    ready = 1;
    return true;
}

// The bare walk the FIFO cost makes for one item: its history entries by
// "FIFO" from the newest back, each source purchase read by serial.
bool BareHistoryWalk(const std::string &item, int *reads) {
    RuleRecord entry(ItemHistVc::Number), doc(PUVc::Number);
    BenchPutText(entry.record, ItemHistVc::ItemCode, 20, item);
    PutU16(entry.record, ItemHistVc::Receipt, 1);
    PutDate(entry.record, ItemHistVc::HistDate, DateRec{31, 12, 9999});
    uint8_t want[256], got[256];
    PStringFromC(want, item.c_str());
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndexKeep(ItemHistVc::Number, "FIFO", entry.record, 3, 0, &recid, &position)) return false;
    for (uint32_t p = position; p >= 1; p--) {
        if (p != position && !RecReadAtIndex(ItemHistVc::Number, "FIFO", (int32_t)p, entry.record, &recid)) break;
        GetText(entry.record, ItemHistVc::ItemCode, got);
        if (!PStringEqual(got, want)) break;
        RecFreeMatrix(PUVc::Number, doc.record);
        PutU32(doc.record, PUVc::SerNr, GetU32(entry.record, ItemHistVc::DocNr));
        if (!RecFind(PUVc::Number, doc.record, 1, 1, &recid, &position)) return false;
        ++*reads;
    }
    return true;
}

double Seconds(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// The voucher of a delivery of one unit of each item; the peer walks the
// same histories with the same reads.
void BM_ShipmentVoucher(benchmark::State &state) {
    if (!Company()) {
        state.SkipWithError("the company could not be made");
        return;
    }
    RuleRecord d(SHVc::Number);
    PutU32(d.record, SHVc::SerNr, 1);
    PutDate(d.record, SHVc::ShipDate, DateRec{1, 6, 2024});
    PackedDecimal qty;
    DecFromLong(&qty, Layers);   // the oldest unit is taken: every layer is walked
    for (int i = 0; i < Items; i++) {
        uint8_t row[SHVc::Rows::Size] = {};
        BenchPutText(row, SHVc::Rows::ItemCode, 20, ItemCode(i));
        PutDec(row, SHVc::Rows::QtyLeft, qty);
        PutDec(row, SHVc::Rows::ToDeliver, qty);
        MatrixRowPut(SHVc::Number, 0, d.record, i, row);
    }
    double rule = 0, bare = 0;
    int reads = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        if (!BuildShipmentVoucher(d.record, false) || MatrixRowCount(Voucher::Number, 0, PendingVoucher) != Items + 1) {
            state.SkipWithError("the voucher was not built");
            return;
        }
        rule += Seconds(start);
        state.PauseTiming();
        start = std::chrono::steady_clock::now();
        for (int i = 0; i < Items; i++)
            if (!BareHistoryWalk(ItemCode(i), &reads)) {
                state.SkipWithError("the bare walk failed");
                return;
            }
        bare += Seconds(start);
        state.ResumeTiming();
    }
    state.counters["layers"] = Layers;
    state.counters["bare_ms"] = bare / (double)state.iterations() * 1e3;
    state.counters["ratio"] = bare > 0 ? rule / bare : 0;
}
BENCHMARK(BM_ShipmentVoucher)->Unit(benchmark::kMillisecond);

// The stock of an item summed over every location; the peer walks the
// same records by "ItemCode".
void BM_Register6LookupAllLocations(benchmark::State &state) {
    if (!Company()) {
        state.SkipWithError("the company could not be made");
        return;
    }
    RuleRecord stock(LSVc::Number), probe(LSVc::Number);
    uint8_t item[256];
    const uint8_t all[1] = {0};
    PStringFromC(item, "SPREAD");
    double rule = 0, bare = 0;
    for (auto _ : state) {
        auto start = std::chrono::steady_clock::now();
        Register6Lookup(item, all, stock.record);
        rule += Seconds(start);
        PackedDecimal sum = GetDec(stock.record, LSVc::InStock);
        if (DecCompareDouble(&sum, Locations * 5.0) != 0) {
            state.SkipWithError("the locations were not summed");
            return;
        }
        state.PauseTiming();
        start = std::chrono::steady_clock::now();
        std::memset(probe.record, 0, LSVc::Size);
        PutText(probe.record, LSVc::ItemCode, item);
        uint32_t recid = 0, position = 0;
        uint8_t got[256];
        if (RecFindByIndex(LSVc::Number, "ItemCode", probe.record, 1, 1, &recid, &position))
            for (uint32_t p = position + 1; RecReadAtIndex(LSVc::Number, "ItemCode", (int32_t)p, probe.record, &recid); p++) {
                GetText(probe.record, LSVc::ItemCode, got);
                if (!PStringEqual(got, item)) break;
            }
        bare += Seconds(start);
        state.ResumeTiming();
    }
    state.counters["locations"] = Locations;
    state.counters["ratio"] = bare > 0 ? rule / bare : 0;
}
BENCHMARK(BM_Register6LookupAllLocations)->Unit(benchmark::kMicrosecond);

}  // namespace
