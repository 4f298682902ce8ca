// Benchmarks of the application shell, headless: the whole start-up of
// the program to its idle main loop with a company of its own (and the
// way out again), opening and closing a window, and one pass of the main
// loop that repaints 100 marked windows.
#include <benchmark/benchmark.h>

#include "bench/bench_frame.h"
#include <unistd.h>

#include <filesystem>
#include <string>

#include "core/interface_load.h"
#include "core/language_file.h"
#include "core/pstring.h"
#include "core/work_blocks.h"
#include "shell/database_open.h"
#include "database/engine/engine.h"
#include "features/program_start.h"
#include "platform/display.h"
#include "platform/queue.h"
#include "platform/window.h"
#include "shell/company.h"
#include "shell/shell.h"
#include "shell/window_table.h"

namespace {

constexpr int BusyMessageType = 19;

BenchWorkplace &Place()
{
    static BenchWorkplace w("shell");
    return w;
}

// The first wait of the main loop: the program is up and idle, and the
// benchmark asks it to end (command 112) as a user would.
int QuitWhenIdle(int, PlSocketPostFn)
{
    MsgPost(FrameWindow, PlMsg::Command, 112, 0);
    return 0;
}

// Start-up with a company on the command line, the idle loop, and the end.
void BM_StartToIdleLoop(benchmark::State &state)
{
    // The previous-instance socket keeps the loop waiting, so the wait
    // itself says when the program is idle.
    MsgSetSocketHooks(QuitWhenIdle, [] { return true; });
    BenchWorkplace &w = Place();
    StartOptions o;
    o.commandLine = w.company;
    o.instanceName = "orvel-bench-" + std::to_string(getpid());
    for (auto _ : state) {
        WinResetAll();
        if (OrvelStart(o) != 0) {
            state.SkipWithError("start-up failed");
            break;
        }
    }
    MsgSetSocketHooks(nullptr, nullptr);
}
BENCHMARK(BM_StartToIdleLoop)->Unit(benchmark::kMillisecond);



void BM_OpenWindowAndClose(benchmark::State &state)
{
    if (!BenchFrameUp(Place())) {
        state.SkipWithError("the frame could not be made");
        return;
    }
    for (auto _ : state) {
        int n = OpenWindow(BusyMessageType, 0);
        if (n == 0) {
            state.SkipWithError("window type 19 is not in the interface file");
            break;
        }
        WinClose(n);
    }
    BenchFrameDown();
}
BENCHMARK(BM_OpenWindowAndClose)->Unit(benchmark::kMicrosecond);

// One message of the main loop with 100 windows marked changed: each is
// repainted once and its mark cleared.
void BM_LoopRepaintsHundredWindows(benchmark::State &state)
{
    if (!BenchFrameUp(Place())) {
        state.SkipWithError("the frame could not be made");
        return;
    }
    int opened = 0;
    for (int i = 0; i < WinLast; i++) opened += OpenWindow(BusyMessageType, 0) != 0;
    if (opened < WinLast) {
        state.SkipWithError("100 windows of type 19 could not be opened");
    } else {
        for (auto _ : state) {
            for (int n = WinFirst; n <= WinLast; n++) WinTable[n]->changed = 1;
            RedrawPendingFlag = 1;
            MsgPost(FrameWindow, PlMsg::Null, 0, 0);
            MainMessageLoop();   // one message, then idle
        }
    }
    BenchFrameDown();
}
BENCHMARK(BM_LoopRepaintsHundredWindows)->Unit(benchmark::kMicrosecond);

}  // namespace
