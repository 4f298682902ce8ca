// bench_entry_windows.cpp - entering the rows of the ledger and purchase
// entry windows, headless, in a company of their own: rows 1 to 299 of a
// voucher (117; each amount committed refreshes the debit, credit and
// balance totals), rows 1 to 300 of a purchase invoice (155; each amount
// committed recomputes the VAT of the rows) and rows 1 to 91 of an
// outgoing payment (157; each amount committed recomputes the rows' total
// and its home amount, and the row's paid sum is taken).
//
// Each row is written into the window's record, its amount cell focused
// and committed through the window's event 6, as the framework does after
// a user typed it. The peer, timed in the same run, is the bare rule on the
// same rows with no window (the totals, VAT sums and paid sums computed
// on the record after each row); ratio = the window's time / the bare one.
#include <benchmark/benchmark.h>

#include <chrono>

#include "bench/bench_frame.h"
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/record_buffer.h"
#include "dict_offsets.h"
#include "recordwin/out_payment_window.h"
#include "recordwin/purchase_invoice_window.h"
#include "recordwin/record_windows.h"
#include "rules/checks.h"
#include "rules/ledger.h"
#include "shell/field_editing.h"
#include "shell/record_commands.h"
#include "shell/window_events.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

constexpr int VoucherRows = 299, PurchaseRows = 300, PaymentRows = 91;

BenchWorkplace &Place()
{
    static BenchWorkplace w("entry_windows");
    return w;
}

PackedDecimal Dec(int32_t v)
{
    PackedDecimal d;
    DecFromLong(&d, v);
    return d;
}

// The frame up with two accounts to look rows up in; false when it cannot run.
bool FrameUp()
{
    if (!BenchFrameUp(Place())) return false;
    for (const char *code : {"1910", "5010"}) {
        bool stored = BenchStorePlain(ACVc::Number, [code](uint8_t *r) {
            BenchPutText(r, ACVc::Code, 10, code);
            BenchPutText(r, ACVc::Name, 60, "Account");
            PutU16(r, ACVc::DebitAllowed, 1);
            PutU16(r, ACVc::CreditAllowed, 1);
        });
        if (!stored && RegRecordCount(ACVc::Number) < 2) return false;
    }
    return true;
}

// A new record in a window of `type`; 0 when it could not be had.
int NewWindow(int type)
{
    int n = OpenOrActivateWindow(type, 0, 0, true, 0);
    return n && WinNewRecord(n) ? n : 0;
}

// Commits the cell at row byte `cell` of row `row` as changed (event 6),
// focused first as a user's typing has it (the rows scroll to it).
void CommitCell(int n, uint32_t matrix, int row, uint32_t cell)
{
    int page = 0;
    int F = WinFieldNumberOf(n, matrix, row, cell, &page);
    (void)WinGotoField(n, F, true);
    int16_t field = int16_t(F);
    uint8_t changed = 1;
    (void)WindowEvent(n, WindowEventCode::FieldChanged, &field, &changed);
}

// The peer's time per iteration and the ratio of the window's to it.
void Report(benchmark::State &state, double window, double bare)
{
    if (state.iterations() == 0 || bare <= 0) return;
    state.counters["bare_us"] = bare / double(state.iterations()) * 1e6;
    state.counters["ratio"] = window / bare;
}

double Since(std::chrono::steady_clock::time_point t0)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

// A run of one window: `fill` writes row r into the record, `commit`
// commits its amount through the window, `bare` does the rule alone;
// `check` says whether the record's totals came out right.
template <typename Fill, typename Commit, typename Bare, typename Check>
void EnterRows(benchmark::State &state, int type, int rows, Fill fill, Commit commit, Bare bare, Check check)
{
    if (!FrameUp()) {
        state.SkipWithError("the frame could not be made");
        return;
    }
    double windowTime = 0, bareTime = 0;
    for (auto _ : state) {
        state.PauseTiming();
        int n = NewWindow(type);
        if (!n) {
            state.SkipWithError("the window could not be opened");
            break;
        }
        state.ResumeTiming();
        auto w0 = std::chrono::steady_clock::now();
        for (int r = 0; r < rows; r++) {
            fill(WinRecordBuffer(n), r);
            commit(n, r);
        }
        windowTime += Since(w0);
        state.PauseTiming();
        bool right = check(WinRecordBuffer(n));
        // The peer on a record of its own with the same rows.
        RuleRecord rec(WinRegisterOf(n));
        auto t0 = std::chrono::steady_clock::now();
        for (int r = 0; rec.record && r < rows; r++) {
            fill(rec.record, r);
            bare(rec.record, r);
        }
        bareTime += Since(t0);
        bool peerRight = rec.record && check(rec.record);
        WinClose(n);
        state.ResumeTiming();
        if (!right || !peerRight) {
            state.SkipWithError("the totals did not follow the rows");
            break;
        }
    }
    Report(state, windowTime, bareTime);
    BenchFrameDown();
}

// The sum of 1..rows, the amounts the rows carry.
int32_t SumTo(int rows) { return rows * (rows + 1) / 2; }

bool Equals(const uint8_t *record, uint32_t at, int32_t want)
{
    PackedDecimal got = GetDec(record, at), w = Dec(want);
    return !DecIsBlank(&got) && DecEqual(&got, &w);
}

void BM_VoucherRows299(benchmark::State &state)
{
    namespace Row = TRVc::Rows;
    auto fill = [](uint8_t *voucher, int r) {
        uint8_t row[Row::Size] = {};
        PutU16(row, Row::Kind, 1);
        BenchPutText(row, Row::Account, 10, "1910");
        PutDec(row, Row::Amount, Dec(r + 1));
        (void)MatrixRowPut(TRVc::Number, 0, voucher, r, row);
    };
    auto commit = [](int n, int r) { CommitCell(n, TRVc::Matrix, r, Row::Amount); };
    auto bare = [](uint8_t *voucher, int) { VoucherRowsBalance(voucher); };
    auto check = [](const uint8_t *voucher) { return Equals(voucher, TRVc::DebitTotal, SumTo(VoucherRows)); };
    EnterRows(state, 117, VoucherRows, fill, commit, bare, check);
}
BENCHMARK(BM_VoucherRows299)->Unit(benchmark::kMillisecond);

void BM_PurchaseInvoiceRows300(benchmark::State &state)
{
    namespace Row = VIVc::Rows;
    auto fill = [](uint8_t *invoice, int r) {
        uint8_t row[Row::Size] = {};
        PutU16(row, Row::Kind, 1);
        BenchPutText(row, Row::Account, 10, "5010");
        BenchPutText(row, Row::VatCode, 2, "1");
        PutDec(row, Row::Amount, Dec(r + 1));
        (void)MatrixRowPut(VIVc::Number, 0, invoice, r, row);
    };
    auto commit = [](int n, int r) { CommitCell(n, VIVc::Matrix, r, Row::Amount); };
    auto bare = [](uint8_t *invoice, int) { RowsVatTotals(0, invoice); };
    // The company has no VAT rates: the rows are what both sides leave.
    auto check = [](const uint8_t *invoice) { return MatrixRowCount(VIVc::Number, 0, invoice) == PurchaseRows; };
    EnterRows(state, 155, PurchaseRows, fill, commit, bare, check);
}
BENCHMARK(BM_PurchaseInvoiceRows300)->Unit(benchmark::kMillisecond);

void BM_OutPaymentRows91(benchmark::State &state)
{
    namespace Row = OPVc::Rows;
    auto fill = [](uint8_t *payment, int r) {
        uint8_t row[Row::Size] = {};
        PutU16(row, Row::Kind, 1);
        PutI32(row, Row::InvoiceNr, 1000 + r);
        BenchPutText(row, Row::VendCode, 20, "V1");
        PutDec(row, Row::Amount, Dec(r + 1));
        (void)MatrixRowPut(OPVc::Number, 0, payment, r, row);
    };
    auto commit = [](int n, int r) { CommitCell(n, OPVc::Matrix, r, Row::Amount); };
    auto bare = [](uint8_t *payment, int r) {
        PackedDecimal paid;
        PaymentRowsPaidSum(payment, uint32_t(1000 + r), &paid);
        OutPaymentTotals(payment);
    };
    auto check = [](const uint8_t *payment) { return Equals(payment, OPVc::RowsTotal, SumTo(PaymentRows)); };
    EnterRows(state, 157, PaymentRows, fill, commit, bare, check);
}
BENCHMARK(BM_OutPaymentRows91)->Unit(benchmark::kMillisecond);

}  // namespace
