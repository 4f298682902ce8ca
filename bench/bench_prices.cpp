// bench_prices.cpp - the price of one document row (ItemPrice) as the
// record windows ask for it: locally, and as a client's request 34 sent
// through the codec to ServerCalcRequest in the same process. The peer,
// in the same run, is the bare reads of the records ItemPrice consults
// (item, group, price list, price, rate, discount matrix and steps), the
// floor of any implementation over this database.
//
// The item has a group, five text rows and a price in a USD price list;
// the document is in EUR with a customer group whose discount matrix
// gives a quantity-step discount.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstring>

#include "bench/bench_company.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/transport.h"
#include "rules/prices.h"
#include "rules/rules_types.h"

namespace {

// Stores a record of reg filled by fill; false when the store failed.
template <typename Fill>
bool Store(int reg, Fill fill) {
    RuleRecord r(reg);
    if (!r.record) return false;
    fill(r.record);
    uint32_t recid = 0;
    return RecStoreByKey(reg, r.record, 1, &recid);
}

void Text(uint8_t *base, uint32_t offset, int max, const char *text) {
    uint8_t p[256];
    PStringFromC(p, text);
    PutPString(base, offset, max, p);
}

PackedDecimal Dec(double x) {
    PackedDecimal d;
    DecFromDouble(&d, x);
    return d;
}

bool Company() {
    static int state = 0;
    if (state) return state > 0;
    state = -1;
    if (!BenchCompanyOpen("prices")) return false;
    bool ok = Store(ITVc::Number, [](uint8_t *r) {
        Text(r, ITVc::Code, 5, "G1");
        Text(r, ITVc::SalesAcc, 10, "3010");
        Text(r, ITVc::VatCode, 2, "1");
    });
    ok = ok && Store(INVc::Number, [](uint8_t *r) {
        Text(r, INVc::Code, 20, "WIDGET-0042");
        Text(r, INVc::Name, 60, "Widget, large");
        Text(r, INVc::Group, 5, "G1");
        PutDec(r, INVc::BasePrice, Dec(100));
        PutDec(r, INVc::CostPrice, Dec(40));
        const char *langs[] = {"DE", "FR", "ES", "IT", "NL"};
        for (int i = 0; i < 5; i++) {
            uint8_t row[INVc::Rows::Size] = {};
            Text(row, INVc::Rows::LangCode, 5, langs[i]);
            Text(row, INVc::Rows::Text, 60, "Translated text of the widget");
            MatrixRowPut(INVc::Number, 0, r, i, row);
        }
    });
    ok = ok && Store(PriceListVc::Number, [](uint8_t *r) {
        Text(r, PriceListVc::Code, 5, "USD");
        Text(r, PriceListVc::CurncyCode, 5, "USD");
    });
    ok = ok && Store(PriceVc::Number, [](uint8_t *r) {
        Text(r, PriceVc::PriceList, 5, "USD");
        Text(r, PriceVc::ItemCode, 20, "WIDGET-0042");
        PutDec(r, PriceVc::Price, Dec(30));
    });
    for (int month = 1; month <= 12 && ok; month++)
        ok = Store(ExchRateVc::Number, [&](uint8_t *r) {
            Text(r, ExchRateVc::CurncyCode, 5, "USD");
            PutDate(r, ExchRateVc::RateDate, DateRec{1, (uint16_t)month, 2024});
            PutDec(r, ExchRateVc::Rate, Dec(900 + month));
        });
    ok = ok && Store(CustGroupVc::Number, [](uint8_t *r) {
        Text(r, CustGroupVc::Code, 5, "RET");
        Text(r, CustGroupVc::DiscCode, 5, "D");
    });
    ok = ok && Store(QtyStepVc::Number, [](uint8_t *r) {
        Text(r, QtyStepVc::Code, 5, "Q");
        PutU16(r, QtyStepVc::Basis, 1);
        PutDec(r, QtyStepVc::Step1, Dec(10));
        PutDec(r, QtyStepVc::Step2, Dec(50));
    });
    ok = ok && Store(DiscMatrixVc::Number, [](uint8_t *r) {
        Text(r, DiscMatrixVc::Code, 5, "D");
        uint8_t row[DiscMatrixVc::Rows::Size] = {};
        Text(row, DiscMatrixVc::Rows::ItemGroup, 5, "G1");
        Text(row, DiscMatrixVc::Rows::Step, 5, "Q");
        PutDec(row, DiscMatrixVc::Rows::Pct2, Dec(5));
        MatrixRowPut(DiscMatrixVc::Number, 0, r, 0, row);
    });
    TodayDate = DateRec{15, 6, 2024};
    if (!ok) std::fprintf(stderr, "bench_prices: the records could not be stored\n");
    state = ok ? 1 : -1;
    return ok;
}

uint8_t ItemCode[256], Eur[256], Lang[256], Group[256], List[256], NoCode[256];

ItemPriceQuery Query() {
    PStringFromC(ItemCode, "WIDGET-0042");
    PStringFromC(Eur, "EUR");
    PStringFromC(Lang, "NL");
    PStringFromC(Group, "RET");
    PStringFromC(List, "USD");
    NoCode[0] = 0;
    ItemPriceQuery q{ItemCode, Dec(20), Eur, Dec(1100), Lang, Group, List, NoCode, 0, {}, {}};
    DecSetBlank(&q.price);
    DecSetBlank(&q.discount);
    return q;
}

void BM_ItemPriceLocal(benchmark::State &state) {
    if (!Company()) return state.SkipWithError("no company");
    ItemPriceQuery q = Query();
    RuleRecord item(INVc::Number);
    ItemPriceAnswer a;
    for (auto _ : state) {
        if (!ItemPrice(&q, item.record, &a)) return state.SkipWithError("no price");
        benchmark::DoNotOptimize(a.price);
    }
}
BENCHMARK(BM_ItemPriceLocal)->Unit(benchmark::kMicrosecond);

// The server in the same process: the request is copied as a received
// message would be and served in server mode.
bool InProcess(uint16_t, MsgBuffer *request, MsgBuffer *reply) {
    RunMode = RunModeServer;
    MsgBuffer received;
    bool ok = MsgLoad(&received, MsgData(request), MsgLength(request)) && ServerCalcRequest(&received, reply);
    RunMode = RunModeClient;
    return ok;
}

void BM_ItemPriceRoundTrip(benchmark::State &state) {
    if (!Company()) return state.SkipWithError("no company");
    ItemPriceQuery q = Query();
    RuleRecord item(INVc::Number);
    ItemPriceAnswer a;
    TransportInstall(InProcess, nullptr);
    RunMode = RunModeClient;
    for (auto _ : state) {
        if (!ItemPriceCall(&q, item.record, &a)) {
            RunMode = 0;
            return state.SkipWithError("no price");
        }
        benchmark::DoNotOptimize(a.price);
    }
    RunMode = 0;
    TransportInstall(nullptr, nullptr);
}
BENCHMARK(BM_ItemPriceRoundTrip)->Unit(benchmark::kMicrosecond);

// Reads rec's record by its code at offset (and a second key part).
bool Read(RuleRecord &rec, uint32_t offset, int max, const uint8_t *code, int parts = 1) {
    PutPString(rec.record, offset, max, code);
    uint32_t recid = 0, position = 0;
    return parts == 1 ? RecFind(rec.reg, rec.record, 1, 1, &recid, &position)
                      : RecFind(rec.reg, rec.record, 2, 1, &recid, &position);
}

void BM_BareReads(benchmark::State &state) {
    if (!Company()) return state.SkipWithError("no company");
    Query();
    RuleRecord item(INVc::Number), group(ITVc::Number), list(PriceListVc::Number), price(PriceVc::Number),
        rate(ExchRateVc::Number), cgroup(CustGroupVc::Number), matrix(DiscMatrixVc::Number),
        steps(QtyStepVc::Number);
    uint8_t g1[] = {2, 'G', '1'}, d[] = {1, 'D'}, qs[] = {1, 'Q'};
    for (auto _ : state) {
        bool ok = Read(item, INVc::Code, 20, ItemCode) && Read(group, ITVc::Code, 5, g1) &&
                  Read(list, PriceListVc::Code, 5, List);
        PutText(price.record, PriceVc::ItemCode, ItemCode);
        ok = ok && Read(price, PriceVc::PriceList, 5, List, 2);
        PutDate(rate.record, ExchRateVc::RateDate, TodayDate);
        PutText(rate.record, ExchRateVc::CurncyCode, List);
        uint32_t recid = 0, position = 0;
        ok = ok && RecFindKeep(ExchRateVc::Number, rate.record, 2, 0, &recid, &position);
        ok = ok && Read(cgroup, CustGroupVc::Code, 5, Group) && Read(matrix, DiscMatrixVc::Code, 5, d) &&
             Read(steps, QtyStepVc::Code, 5, qs);
        if (!ok) return state.SkipWithError("a read failed");
        benchmark::DoNotOptimize(item.record[0]);
    }
}
BENCHMARK(BM_BareReads)->Unit(benchmark::kMicrosecond);

}  // namespace
