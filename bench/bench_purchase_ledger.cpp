// bench_purchase_ledger.cpp - the cost of the purchase ledger's heavy
// steps: the payment suggestion over the open items of many vendors (one
// payment per 91 items, or one per due date), and the voucher of a
// purchase invoice of 300 rows.
//
// The peers: the suggestion beside a bare walk of the same index reading
// every item; the voucher beside the same 300 rows written into a record.
// ratio = the road's time / the peer's. Full sizes (10,000 items of 500
// vendors) in a full run (ORVEL_BENCH_FULL); small ones in the test build's
// smoke run.
#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

#include "bench/bench_company.h"
#include "bench/bench_store.h"
#include "bench/bench_sizes.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "operations/purchase_ledger.h"
#include "rules/hooks.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"

namespace {

using Clock = std::chrono::steady_clock;
const int Items = BenchSize<int>(10000, 60), Vendors = BenchSize<int>(500, 5);
constexpr int InvoiceRows = 300;

// The company: fiscal year 2024, the series, a cash payment mode, the
// creditor and cost accounts, purchase-invoice vouchers, the rules and
// the vendors' invoices. Once per program.
bool Company() {
    static int ready = 0;
    if (ready) return ready > 0;
    ready = -1;
    if (!BenchCompanyOpen("purchase_ledger")) return false;
    std::vector<uint8_t> year(FiscalYearEntry::Size), series(SeriesRow::Size), mode(PaymentModeBlk::Rows::Size);
    PutU16(year.data(), FiscalYearEntry::OrderCode, 1);
    PutDate(year.data(), FiscalYearEntry::StartDate, DateRec{1, 1, 2024});
    PutDate(year.data(), FiscalYearEntry::EndDate, DateRec{31, 12, 2024});
    PutU32(series.data(), SeriesRow::FirstNr, 1);
    PutU32(series.data(), SeriesRow::LastNr, 9999999);
    BenchPutText(mode.data(), PaymentModeBlk::Rows::Code, 1, "K");
    BenchPutText(mode.data(), PaymentModeBlk::Rows::Account, 10, "1910");
    std::vector<uint8_t> accounts(PurchAccountsBlk::Size), posting(PostingBlk::Size);
    BenchPutText(accounts.data(), PurchAccountsBlk::CreditorAcc, 10, "2440");
    PutU16(posting.data(), PostingBlk::PostPurchInv, 1);
    if (!BenchStoreRows(FiscalYearBlk::Number, year) || !BenchStoreRows(OutPaySeriesBlk::Number, series) ||
        !BenchStoreRows(PurchInvSeriesBlk::Number, series) || !BenchStoreRows(PaymentModeBlk::Number, mode) ||
        SettingsBlockStore(PurchAccountsBlk::Number, accounts.data(), PurchAccountsBlk::Size) != RecDone ||
        SettingsBlockStore(PostingBlk::Number, posting.data(), PostingBlk::Size) != RecDone)
        return false;
    DbHoldBegin();
    bool ok = true;
    for (const char *code : {"1910", "2440", "5010"})
        ok = ok && BenchStorePlain(ACVc::Number, [&](uint8_t *r) { BenchPutText(r, ACVc::Code, 10, code); });
    for (int32_t s = 1; s <= Items && ok; s++)
        ok = BenchStorePlain(VIVc::Number, [&](uint8_t *r) {
            PutU32(r, VIVc::SerNr, (uint32_t)s);
            BenchPutText(r, VIVc::VendCode, 20, ("V" + std::to_string(s % Vendors)).c_str());
            PutU16(r, VIVc::Approved, 1);
        });
    if (!ok) DbHoldFail();
    if (!DbHoldEnd() || !ok) return false;
    RulesInstall();
    ready = 1;
    return true;
}

// Every invoice's open item of 100, due on one of 20 days of July.
bool MakeOpenItems() {
    DbHoldBegin();
    bool ok = true;
    PackedDecimal hundred;
    DecFromLong(&hundred, 100);
    for (int32_t s = 1; s <= Items && ok; s++)
        ok = BenchStorePlain(APVc::Number, [&](uint8_t *r) {
            PutU32(r, APVc::InvoiceNr, (uint32_t)s);
            PutDec(r, APVc::OpenAmount, hundred);
            PutDate(r, APVc::DueDate, DateRec{(uint8_t)(1 + s % 20), 7, 2024});
            BenchPutText(r, APVc::VendCode, 20, ("V" + std::to_string(s % Vendors)).c_str());
        });
    if (!ok) DbHoldFail();
    return DbHoldEnd() && ok;
}

void BM_PaymentSuggestion(benchmark::State &state) {
    if (!Company()) {
        state.SkipWithError("the company could not be made");
        return;
    }
    std::vector<uint8_t> selection(ReportParamsVc::Size, 0);
    BenchPutText(selection.data(), 1010, 1, "K");
    PutDate(selection.data(), 1112, DateRec{28, 6, 2024});
    PutU16(selection.data(), ReportParamsVc::Option3, (uint16_t)state.range(0));
    double road = 0, walk = 0;
    for (auto _ : state) {
        if (!MakeOpenItems()) {
            state.SkipWithError("the open items could not be made");
            return;
        }
        RuleRecord item(APVc::Number);
        uint32_t recid = 0;
        Clock::time_point t = Clock::now();
        for (int32_t p = 1; RecReadAtIndex(APVc::Number, "DueDate", p, item.record, &recid); p++) benchmark::DoNotOptimize(recid);
        walk += std::chrono::duration<double>(Clock::now() - t).count();
        t = Clock::now();
        DbHoldBegin();
        bool ok = PaymentSuggestion(selection.data());
        ok = DbHoldEnd() && ok;
        double spent = std::chrono::duration<double>(Clock::now() - t).count();
        road += spent;
        state.SetIterationTime(spent);
        if (!ok || RegRecordCount(APVc::Number) != 0) {
            state.SkipWithError("the suggestion left items unpaid");
            return;
        }
    }
    if (walk > 0) state.counters["ratio"] = road / walk;
}
BENCHMARK(BM_PaymentSuggestion)->Arg(0)->Arg(1)->ArgName("perDate")->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_PurchaseInvoiceVoucher(benchmark::State &state) {
    if (!Company()) {
        state.SkipWithError("the company could not be made");
        return;
    }
    RuleRecord invoice(VIVc::Number), plain(VIVc::Number);
    PutU32(invoice.record, VIVc::SerNr, 1);
    BenchPutText(invoice.record, VIVc::VendCode, 20, "V1");
    PutDate(invoice.record, VIVc::TransDate, DateRec{10, 6, 2024});
    PackedDecimal amount, total;
    DecFromLong(&amount, 10);
    DecFromLong(&total, 10 * InvoiceRows);
    PutDec(invoice.record, VIVc::InvAmount, total);
    uint8_t row[VIVc::Rows::Size] = {};
    PutU16(row, VIVc::Rows::Kind, 1);
    BenchPutText(row, VIVc::Rows::Account, 10, "5010");
    PutDec(row, VIVc::Rows::Amount, amount);
    for (int i = 0; i < InvoiceRows; i++) MatrixRowPut(VIVc::Number, 0, invoice.record, i, row);
    double road = 0, peer = 0;
    for (auto _ : state) {
        Clock::time_point t = Clock::now();
        int built = PostPurchaseInvoice(invoice.record, 0, 1);
        double spent = std::chrono::duration<double>(Clock::now() - t).count();
        road += spent;
        state.SetIterationTime(spent);
        if (built != 1 || MatrixRowCount(Voucher::Number, 0, PendingVoucher) < 2) {
            state.SkipWithError("the voucher was not built");
            return;
        }
        PendingVoucherClear();
        RecFreeMatrix(VIVc::Number, plain.record);
        t = Clock::now();
        for (int i = 0; i < InvoiceRows; i++) MatrixRowPut(VIVc::Number, 0, plain.record, i, row);
        peer += std::chrono::duration<double>(Clock::now() - t).count();
    }
    if (peer > 0) state.counters["ratio"] = road / peer;
}
BENCHMARK(BM_PurchaseInvoiceVoucher)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
