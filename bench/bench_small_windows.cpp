// bench_small_windows.cpp - the field logic of the smaller record windows,
// headless, in a company of their own: leaving the rate field of a goods
// receipt of 200 rows (every row's unit cost and the totals follow), and
// one cell commit (focus, typing, commit) in a stock movement of 200
// rows.
//
// The peer of each, timed in the same run, is the bare rule on the same
// rows with no window (the unit costs and totals computed on the record;
// the add-on taken into one row's unit cost); ratio = the window's time /
// the bare one. The interface file is the one dict/ compiles with the
// layouts of the tests (small_windows_dict.h), written where the
// program's probe finds it first.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <fstream>

#include "bench/bench_frame.h"
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/language_file.h"
#include "core/pstring.h"
#include "dict_offsets.h"
#include "recordwin/record_windows.h"
#include "rules/vat_currency.h"
#include "shell/field_editing.h"
#include "shell/record_commands.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "tests/recordwin/small_windows_dict.h"

namespace {

constexpr int Rows = 200;
namespace Pu = PUVc::Rows;
namespace Sm = StockMoveVc::Rows;

BenchWorkplace &Place()
{
    static BenchWorkplace w("small_windows");
    return w;
}

// The frame up with the test layouts; false when it cannot run.
bool FrameUp()
{
    const std::vector<uint8_t> &bytes = SmallWindowsInterface();
    if (bytes.empty()) return false;
    std::ofstream out(Place().dir / "QVENG.WIN", std::ios::binary);
    out.write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    LangFileSetDirectories({Place().dir.string()});
    return out.good() && BenchFrameUp(Place());
}

PackedDecimal Dec(int32_t v)
{
    PackedDecimal d;
    DecFromLong(&d, v);
    return d;
}
void PutText(uint8_t *base, uint32_t at, int max, const char *text)
{
    PString p;
    PStringFromC(p, text);
    PutPString(base, at, max, p);
}

// A new record in a window of the type with `rows` cleared rows; 0 when
// it could not be had.
int WindowWithRows(int type, int rows)
{
    int n = OpenOrActivateWindow(type, 0, 0, true, 0);
    if (!n || !WinNewRecord(n) || !MatrixResize(n, rows)) return 0;
    MatrixRowsClear(n, 1, 0, rows - 1);
    return n;
}
uint8_t *RowAt(int n, int row, uint32_t size)
{
    MemBlock h = WinMatrixRows(n);
    uint8_t *p = MemLock(h);
    MemUnlock(h);
    return p + uint32_t(row) * size;
}

// A goods receipt's rows: quantity 2, price 100, a charge of 5 % or 3.
void FillPurchase(int n)
{
    PutDec(WinRecordBuffer(n), PUVc::Rate, Dec(1125));
    for (int r = 0; r < Rows; r++) {
        uint8_t *row = RowAt(n, r, Pu::Size);
        PutText(row, Pu::ItemCode, 20, "ITEM");
        PutDec(row, Pu::Quantity, Dec(2));
        PutDec(row, Pu::Price, Dec(100));
        PutText(row, Pu::Charge, 20, r % 2 ? "3" : "5%");
    }
}

// The peer's time per iteration and the ratio of the window's to it.
void Report(benchmark::State &state, double window, double bare)
{
    if (state.iterations() == 0 || bare <= 0) return;
    state.counters["bare_us"] = bare / double(state.iterations()) * 1e6;
    state.counters["ratio"] = window / bare;
}

void BM_PurchaseRateLeave200Rows(benchmark::State &state)
{
    if (!FrameUp()) {
        state.SkipWithError("the frame could not be made");
        return;
    }
    int n = WindowWithRows(197, Rows);
    if (!n) {
        state.SkipWithError("the goods receipt could not be made");
        BenchFrameDown();
        return;
    }
    FillPurchase(n);
    int16_t field = TestWin::PuRate;
    uint8_t unchanged = 0;
    // The peer: the same unit costs and totals on the record, no window.
    uint8_t *purchase = WinRecordBuffer(n);
    PackedDecimal rate = GetDec(purchase, PUVc::Rate);
    double bare = 0, window = 0;
    for (auto _ : state) {
        auto w0 = std::chrono::steady_clock::now();
        (void)WindowEvent(n, 6, &field, &unchanged);
        window += std::chrono::duration<double>(std::chrono::steady_clock::now() - w0).count();
        state.PauseTiming();
        auto t0 = std::chrono::steady_clock::now();
        for (int r = 0; r < Rows; r++) {
            uint8_t *row = RowAt(n, r, Pu::Size);
            PString item, charge;
            ::GetText(row, Pu::ItemCode, item);
            ::GetText(row, Pu::Charge, charge);
            PackedDecimal price = GetDec(row, Pu::Price), cost;
            NetAmountPlusCharge(item, &price, 0, charge, &rate, &cost);
            PutDec(row, Pu::UnitCost, cost);
        }
        PurchaseRowTotals(purchase);
        bare += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        state.ResumeTiming();
    }
    Report(state, window, bare);
    BenchFrameDown();
}
BENCHMARK(BM_PurchaseRateLeave200Rows)->Unit(benchmark::kMicrosecond);

void BM_StockMovementCellCommit200Rows(benchmark::State &state)
{
    if (!FrameUp()) {
        state.SkipWithError("the frame could not be made");
        return;
    }
    int n = WindowWithRows(426, Rows);
    if (!n) {
        state.SkipWithError("the stock movement could not be made");
        BenchFrameDown();
        return;
    }
    for (int r = 0; r < Rows; r++) {
        uint8_t *row = RowAt(n, r, Sm::Size);
        PutText(row, Sm::ItemCode, 20, "ITEM");
        PutDec(row, Sm::Quantity, Dec(1));
        PutDec(row, Sm::BaseCost, Dec(100));
    }
    const int F = TestWin::SmFirst + TestWin::SmAddOn;   // row 0's add-on
    PString texts[2];
    PStringFromC(texts[0], "7%");
    PStringFromC(texts[1], "8%");
    uint8_t *row0 = RowAt(n, 0, Sm::Size);
    double bare = 0, window = 0;
    int i = 0;
    for (auto _ : state) {
        auto w0 = std::chrono::steady_clock::now();
        if (!WinGotoField(n, F, true)) {
            state.SkipWithError("the add-on cell could not be focused");
            break;
        }
        WinTypeText(n, texts[i++ % 2]);
        WinCommitField(n);
        window += std::chrono::duration<double>(std::chrono::steady_clock::now() - w0).count();
        state.PauseTiming();
        auto t0 = std::chrono::steady_clock::now();
        PString addOn;
        ::GetText(row0, Sm::AddOn, addOn);
        PackedDecimal base = GetDec(row0, Sm::BaseCost), cost;
        AddAmountOrPercent(&base, addOn, &cost);
        PutDec(row0, Sm::UnitCost, cost);
        bare += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
        state.ResumeTiming();
    }
    // What the commits left: the last add-on's unit cost.
    PackedDecimal want = Dec(100 + (i % 2 ? 7 : 8)), got = GetDec(row0, Sm::UnitCost);
    if (i > 0 && !DecEqual(&want, &got)) state.SkipWithError("the unit cost did not follow the add-on");
    Report(state, window, bare);
    BenchFrameDown();
}
BENCHMARK(BM_StockMovementCellCommit200Rows)->Unit(benchmark::kMicrosecond);

}  // namespace
