// bench_designer.cpp - the form designer, headless, on the built
// interface file: painting a form of 500 items (texts, lines, boxes, data
// fields and pictures), and moving 50 selected items of it by one unit
// with the redraw of what they covered.
//
// The peer of the paint is the bare drawing of the same 500 rectangles
// as one-pixel frames in the same window (no rows read, no fonts, no
// clipping); the peer of the move is the same coordinate change on the
// rows without a redraw. ratio = the designer's time / the peer's.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>

#include "bench/bench_frame.h"
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/record_buffer.h"
#include "dict_offsets.h"
#include "output/layer_operations.h"
#include "outputwin/designer.h"
#include "shell/draw_port.h"
#include "shell/record_commands.h"
#include "shell/window_table.h"

namespace {

constexpr int DesignerType = 23;

BenchWorkplace &Place()
{
    static BenchWorkplace w("designer");
    return w;
}

// The item count of the run: 500, 50 under the smoke run's short time.
int Items(const benchmark::State &state) { return int(state.range(0)); }

PackedDecimal Dec(int32_t v)
{
    PackedDecimal d;
    DecFromLong(&d, v);
    return d;
}

// A designer on a new form of `count` items spread over the page; 0 when
// it cannot be had.
int DesignerWithItems(int count)
{
    int w = OpenOrActivateWindow(DesignerType, 0, 0, true, 0);
    if (!w || !DesignerEditing(w)) return 0;
    uint8_t item[DocVc::Rows::Size];
    for (int i = 0; i < count; i++) {
        std::memset(item, 0, sizeof item);
        int kind = 1 + i % 5, x = (i * 37) % 560, y = (i * 53) % 800;
        PutU16(item, DocVc::Rows::Kind, uint16_t(kind));
        PutDec(item, DocVc::Rows::Left, Dec(x));
        PutDec(item, DocVc::Rows::Top, Dec(y));
        PutDec(item, DocVc::Rows::Right, Dec(kind == 2 ? x : x + 60));
        PutDec(item, DocVc::Rows::Bottom, Dec(y + 20));
        PString text;
        PStringFromC(text, "Invoice total");
        PutText(item, DocVc::Rows::Text, text);
        if (!MatrixRowPut(DocVc::Number, 0, WinRecordBuffer(w), i, item)) return 0;
    }
    return w;
}

bool Up(benchmark::State &state)
{
    if (BenchFrameUp(Place())) return true;
    state.SkipWithError("the frame could not be made");
    return false;
}

void Report(benchmark::State &state, double own, double bare)
{
    if (state.iterations() == 0 || bare <= 0) return;
    state.counters["bare_us"] = bare / double(state.iterations()) * 1e6;
    state.counters["ratio"] = own / bare;
}

void BM_DesignerPaint(benchmark::State &state)
{
    if (!Up(state)) return;
    int w = DesignerWithItems(Items(state));
    if (!w) {
        state.SkipWithError("the designer could not be made");
        BenchFrameDown();
        return;
    }
    double own = 0, bare = 0;
    MacRect r;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        DesignerPaint(w);
        auto t1 = std::chrono::steady_clock::now();
        {
            PortScope port(w);
            for (int n = 0; n < Items(state); n++)
                if (DesignerItemRect(w, n, &r)) FrameRectBlack(&r);
        }
        auto t2 = std::chrono::steady_clock::now();
        own += std::chrono::duration<double>(t1 - t0).count();
        bare += std::chrono::duration<double>(t2 - t1).count();
    }
    Report(state, own, bare);
    BenchFrameDown();
}
BENCHMARK(BM_DesignerPaint)->Arg(500)->Unit(benchmark::kMicrosecond);

void BM_DesignerMove50(benchmark::State &state)
{
    if (!Up(state)) return;
    int w = DesignerWithItems(Items(state));
    if (!w) {
        state.SkipWithError("the designer could not be made");
        BenchFrameDown();
        return;
    }
    for (int n = 0; n < 50; n++) DesignerSelectItem(w, n * (Items(state) / 50), true);
    double own = 0, bare = 0;
    uint8_t item[DocVc::Rows::Size];
    int step = 1;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        DesignerMoveSelection(w, step, 0);
        auto t1 = std::chrono::steady_clock::now();
        for (int i = 0; i < 50; i++) {
            int n = DesignerSelectedAt(w, i);
            if (!MatrixRowGet(DocVc::Number, 0, WinRecordBuffer(w), n, item)) continue;
            PackedDecimal left = GetDec(item, DocVc::Rows::Left), right = GetDec(item, DocVc::Rows::Right);
            PackedDecimal d = Dec(-step), out;
            DecAdd(&left, &d, &out);
            PutDec(item, DocVc::Rows::Left, out);
            DecAdd(&right, &d, &out);
            PutDec(item, DocVc::Rows::Right, out);
            (void)MatrixRowPut(DocVc::Number, 0, WinRecordBuffer(w), n, item);
        }
        auto t2 = std::chrono::steady_clock::now();
        own += std::chrono::duration<double>(t1 - t0).count();
        bare += std::chrono::duration<double>(t2 - t1).count();
    }
    Report(state, own, bare);
    BenchFrameDown();
}
BENCHMARK(BM_DesignerMove50)->Arg(500)->Unit(benchmark::kMicrosecond);

}  // namespace
