// Benchmarks of the application shell, headless: the whole start-up of
// the program to its idle main loop with a company of its own (and the
// way out again), opening and closing a window, and one pass of the main
// loop that repaints 100 marked windows.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "core/interface_load.h"
#include "core/language_file.h"
#include "core/pstring.h"
#include "core/work_blocks.h"
#include "shell/database_open.h"
#include "database/engine/engine.h"
#include "platform/display.h"
#include "platform/queue.h"
#include "platform/window.h"
#include "shell/company.h"
#include "shell/shell.h"
#include "shell/startup.h"
#include "shell/window_table.h"

namespace {

constexpr int BusyMessageType = 19;

// A fresh folder with the interface file the build made in reach of the
// probe (beside the executable, or one folder up), and a company in it.
struct Workplace {
    std::filesystem::path dir;
    std::string company;
    Workplace()
    {
        std::string error;
        DisplayOpen(PlDisplayKind::Headless, &error);
        std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe").parent_path();
        LangFileSetDirectories({exe.string(), exe.parent_path().string()});
        dir = std::filesystem::temp_directory_path() / ("orvel_bench_shell_" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        std::filesystem::current_path(dir);
        company = (dir / "bench.VDB").string();
        D4Create(company.c_str(), 0);
        D4Close();
    }
    ~Workplace() { std::filesystem::remove_all(dir); }
};

Workplace &Place()
{
    static Workplace w;
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
    Workplace &w = Place();
    StartOptions o;
    o.commandLine = w.company;
    o.instanceName = "orvel-bench-" + std::to_string(getpid());
    for (auto _ : state) {
        WinResetAll();
        if (WinMain(o) != 0) {
            state.SkipWithError("start-up failed");
            break;
        }
    }
    MsgSetSocketHooks(nullptr, nullptr);
}
BENCHMARK(BM_StartToIdleLoop)->Unit(benchmark::kMillisecond);

// Brings the program up to its frame with the company open; false when
// it cannot run (the caller skips).
bool FrameUp(const Workplace &w)
{
    WinResetAll();
    ShellStateReset();
    std::string why;
    if (!AllocWorkBlocks() || !InitInstance(StartOptions{}, &why)) return false;
    PString path;
    PStringFromC(path, w.company.c_str());
    return DbOpen(path, 0);
}

// Takes the frame down again.
void FrameDown()
{
    WinDestroy(FrameWindow);
    FrameCleanup();
    MsgClear();
}

void BM_OpenWindowAndClose(benchmark::State &state)
{
    if (!FrameUp(Place())) {
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
    FrameDown();
}
BENCHMARK(BM_OpenWindowAndClose)->Unit(benchmark::kMicrosecond);

// One message of the main loop with 100 windows marked changed: each is
// repainted once and its mark cleared.
void BM_LoopRepaintsHundredWindows(benchmark::State &state)
{
    if (!FrameUp(Place())) {
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
    FrameDown();
}
BENCHMARK(BM_LoopRepaintsHundredWindows)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
