// bench_receipts.cpp - the cost of the customer receipt's road: row entry
// on a receipt that grows to 300 rows, each row summing what the
// receipt's other rows pay on its invoice (ReceiptOtherRowsSum, as the
// receipt window does for every row typed); and receipts of 10, 100 and
// 300 rows, each paying an invoice of its own, saved posted through the
// record layer with the rules installed (row checks against the invoices
// and customers, voucher, open items, customer ledger and statistics).
//
// The peers: row entry beside the same rows appended without the sum;
// the posted save beside the same receipt written as a plain record in a
// hold of its own. ratio = the road's time / the peer's.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bench_company.h"
#include "bench/bench_store.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "operations/customer_receipt.h"
#include "recordwin/receipt_window.h"
#include "rules/hooks.h"
#include "rules/payment_kinds.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int Invoices = 300;
int32_t nextSerial = 1;

PackedDecimal Dec(int32_t v) {
    PackedDecimal d;
    DecFromLong(&d, v);
    return d;
}

// The company: fiscal year 2024, the receipt series, receipts posted, the
// receivable and cash accounts, a cash payment mode, customer C1 and 300
// posted invoices of 1,000,000 with their open items; the rules. Once per
// program.
bool Company() {
    static int ready = 0;
    if (ready) return ready > 0;
    ready = -1;
    if (!BenchCompanyOpen("receipts")) return false;
    std::vector<uint8_t> year(FiscalYearEntry::Size), series(SeriesRow::Size), mode(PaymentModeBlk::Rows::Size);
    PutU16(year.data(), FiscalYearEntry::OrderCode, 1);
    PutDate(year.data(), FiscalYearEntry::StartDate, DateRec{1, 1, 2024});
    PutDate(year.data(), FiscalYearEntry::EndDate, DateRec{31, 12, 2024});
    PutU32(series.data(), SeriesRow::FirstNr, 1);
    PutU32(series.data(), SeriesRow::LastNr, 9999999);
    BenchPutText(mode.data(), PaymentModeBlk::Rows::Code, 1, "K");
    BenchPutText(mode.data(), PaymentModeBlk::Rows::Account, 10, "1910");
    BenchPutText(mode.data(), PaymentModeBlk::Rows::Name, 60, "Cash");
    std::vector<uint8_t> accounts(SalesAccountsBlk::Size), posting(PostingBlk::Size);
    BenchPutText(accounts.data(), SalesAccountsBlk::ARAcc, 10, "1510");
    BenchPutText(accounts.data(), SalesAccountsBlk::RcptBalanceAcc, 10, "3740");
    PutU16(posting.data(), PostingBlk::PostReceipts, 1);
    if (!BenchStoreRows(FiscalYearBlk::Number, year) || !BenchStoreRows(ReceiptSeriesBlk::Number, series) ||
        !BenchStoreRows(PaymentModeBlk::Number, mode) ||
        SettingsBlockStore(SalesAccountsBlk::Number, accounts.data(), SalesAccountsBlk::Size) != RecDone ||
        SettingsBlockStore(PostingBlk::Number, posting.data(), PostingBlk::Size) != RecDone)
        return false;
    DbHoldBegin();
    bool ok = BenchStorePlain(CUVc::Number, [](uint8_t *r) {
        BenchPutText(r, CUVc::Code, 20, "C1");
        PutU16(r, CUVc::OnAccount, 1);
    });
    for (const char *code : {"1510", "1910", "3740"})
        ok = ok && BenchStorePlain(ACVc::Number, [&](uint8_t *r) { BenchPutText(r, ACVc::Code, 10, code); });
    for (int32_t s = 1; s <= Invoices && ok; s++) {
        ok = BenchStorePlain(IVVc::Number, [&](uint8_t *r) {
                 PutU32(r, IVVc::SerNr, (uint32_t)s);
                 BenchPutText(r, IVVc::CustCode, 20, "C1");
                 BenchPutText(r, IVVc::ARAcc, 10, "1510");
                 PutU16(r, IVVc::Posted, 1);
                 PutDec(r, IVVc::Total, Dec(1000000));
             }) &&
             BenchStorePlain(ARVc::Number, [&](uint8_t *r) {
                 PutU32(r, ARVc::InvoiceNr, (uint32_t)s);
                 BenchPutText(r, ARVc::CustCode, 20, "C1");
                 PutDec(r, ARVc::OpenAmount, Dec(1000000));
                 PutDec(r, ARVc::InvAmount, Dec(1000000));
             });
    }
    if (!ok) DbHoldFail();
    if (!DbHoldEnd() || !ok) return false;
    RulesInstall();
    ready = 1;
    return true;
}

// One paid row for invoice serial.
void PaidRow(uint8_t *row, int32_t serial) {
    std::memset(row, 0, IPVc::Rows::Size);
    PutU16(row, IPVc::Rows::Kind, uint16_t(PaidRowKind::Paid));
    PutU32(row, IPVc::Rows::InvoiceNr, (uint32_t)serial);
    BenchPutText(row, IPVc::Rows::CustCode, 20, "C1");
    PutDate(row, IPVc::Rows::PayDate, DateRec{20, 6, 2024});
    PutDec(row, IPVc::Rows::Amount, Dec(1));
    PutU32(row, IPVc::Rows::Link, SerialNone);
}

// A posted receipt of `rows` rows, each paying 1 on invoice 1 + i.
void FillReceipt(uint8_t *receipt, int rows) {
    RecFreeMatrix(IPVc::Number, receipt);
    RecClear(IPVc::Number, receipt);
    PutU32(receipt, IPVc::SerNr, (uint32_t)nextSerial++);
    PutDate(receipt, IPVc::TransDate, DateRec{20, 6, 2024});
    BenchPutText(receipt, IPVc::PayMode, 2, "K");
    PutU16(receipt, IPVc::Posted, 1);
    uint8_t row[IPVc::Rows::Size];
    for (int i = 0; i < rows; i++) {
        PaidRow(row, 1 + i % Invoices);
        MatrixRowPut(IPVc::Number, 0, receipt, i, row);
    }
    DocRowsTotal(receipt);
}

// Row entry: state.range(0) rows appended one by one, each followed by
// the sum of the other rows on its invoice (every third row pays the
// invoice of the one before, so the sums find something).
void BM_ReceiptRowEntry(benchmark::State &state) {
    if (!Company()) {
        state.SkipWithError("the company could not be made");
        return;
    }
    const int rows = (int)state.range(0);
    RuleRecord receipt(IPVc::Number);
    uint8_t row[IPVc::Rows::Size];
    double road = 0, plain = 0;
    for (auto _ : state) {
        PackedDecimal sum, all;
        DecSetZero(&all);
        for (int pass = 0; pass < 2; pass++) {
            RecFreeMatrix(IPVc::Number, receipt.record);
            Clock::time_point t = Clock::now();
            for (int i = 0; i < rows; i++) {
                int32_t serial = 1 + (i - (i % 3 == 2 ? 1 : 0)) % Invoices;
                PaidRow(row, serial);
                MatrixRowPut(IPVc::Number, 0, receipt.record, i, row);
                if (pass == 0) {
                    ReceiptOtherRowsSum(receipt.record, (uint32_t)serial, &sum);
                    DecAdd(&all, &sum, &all);
                }
            }
            double spent = std::chrono::duration<double>(Clock::now() - t).count();
            (pass == 0 ? road : plain) += spent;
            if (pass == 0) state.SetIterationTime(spent);
        }
        benchmark::DoNotOptimize(all);
    }
    if (plain > 0) state.counters["ratio"] = road / plain;
}
BENCHMARK(BM_ReceiptRowEntry)->Arg(300)->ArgName("rows")->UseManualTime()->Unit(benchmark::kMicrosecond);

// Saving and posting: receipts of state.range(0) rows through the record
// layer, beside the same receipt written plainly.
void BM_ReceiptSavePosted(benchmark::State &state) {
    if (!Company()) {
        state.SkipWithError("the company could not be made");
        return;
    }
    const int rows = (int)state.range(0);
    RuleRecord receipt(IPVc::Number);
    double road = 0, plain = 0;
    for (auto _ : state) {
        FillReceipt(receipt.record, rows);
        uint32_t recid = 0;
        int result = -1;
        Clock::time_point t = Clock::now();
        RecInsertChecked(IPVc::Number, receipt.record, &recid, &result);
        double spent = std::chrono::duration<double>(Clock::now() - t).count();
        if (result != RecDone) {
            state.SkipWithError("the rules refused the receipt");
            return;
        }
        road += spent;
        FillReceipt(receipt.record, rows);
        PutU16(receipt.record, IPVc::Posted, 0);
        t = Clock::now();
        DbHoldBegin();
        bool stored = RecStore(IPVc::Number, receipt.record, 0, &recid);
        if (!DbHoldEnd() || !stored) {
            state.SkipWithError("the plain write failed");
            return;
        }
        plain += std::chrono::duration<double>(Clock::now() - t).count();
        state.SetIterationTime(spent);
    }
    if (plain > 0) state.counters["ratio"] = road / plain;
}
BENCHMARK(BM_ReceiptSavePosted)->Arg(10)->Arg(100)->Arg(300)->ArgName("rows")->UseManualTime()->Unit(
    benchmark::kMillisecond);

}  // namespace
