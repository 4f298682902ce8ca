// Benchmarks of record windows, headless, in a company of their own: the
// full paint of an access-group window whose matrix holds its maximum
// rows, one typed character and one Tab through the main loop's message
// step, and the OK of an access group with 200 rows, inserted and then
// updated.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>

#include "core/language_file.h"
#include "core/pstring.h"
#include "core/work_blocks.h"
#include "shell/database_open.h"
#include "database/access/record_access.h"
#include "database/engine/engine.h"
#include "dict_offsets.h"
#include "platform/display.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "platform/window.h"
#include "shell/draw_port.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/startup.h"
#include "shell/window_drawing.h"
#include "shell/window_table.h"

namespace {

constexpr int FullRows = 250, OkRows = 200;

// A fresh folder with the interface file the build made in reach of the
// probe and an empty company file, removed at the end.
struct Workplace {
    std::filesystem::path dir;
    std::string company;
    Workplace()
    {
        std::string error;
        DisplayOpen(PlDisplayKind::Headless, &error);
        std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe").parent_path();
        LangFileSetDirectories({exe.string(), exe.parent_path().string()});
        dir = std::filesystem::temp_directory_path() / ("orvel_bench_record_" + std::to_string(getpid()));
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

// The program up to its frame with the company open; false when it
// cannot run (the caller skips).
bool FrameUp()
{
    WinResetAll();
    ShellStateReset();
    std::string why;
    if (!AllocWorkBlocks() || !InitInstance(StartOptions{}, &why)) return false;
    PString path;
    PStringFromC(path, Place().company.c_str());
    return DbOpen(path, 0);
}

// Takes the frame down again; the windows go first, unasked.
void FrameDown()
{
    for (int n = WinFirst; n <= WinLast; n++) WinClose(n);
    WinDestroy(FrameWindow);
    FrameCleanup();
    MsgClear();
}

// Runs every waiting message through the main loop's step.
void Drain()
{
    PlMessage m;
    for (int guard = 0; guard < 10000 && MsgGet(&m) == PlGet::Message; guard++) MainLoopMessage(m);
}

// Gives access-group window n `rows` rows of (type, item, right) values,
// a new record with the code.
bool FillAccessGroup(int n, int rows, const char *code)
{
    if (!WinNewRecord(n)) return false;
    uint8_t *r = WinRecordBuffer(n);
    r[AccessVc::Code] = uint8_t(strlen(code));
    memcpy(r + AccessVc::Code + 1, code, strlen(code));
    MemBlock h;
    memcpy(&h, r + AccessVc::Matrix, 4);
    if (!MemRealloc(&h, uint32_t(rows) * AccessVc::Rows::Size)) return false;
    memcpy(r + AccessVc::Matrix, &h, 4);
    uint8_t *p = MemLock(h);
    for (int i = 0; i < rows; i++) {
        uint16_t v[3] = {uint16_t(3), uint16_t(500 + i), uint16_t(1 + i % 2)};
        memcpy(p + size_t(i) * AccessVc::Rows::Size, v, sizeof v);
    }
    MemUnlock(h);
    WinRecordRefresh(n);
    return true;
}

// The whole paint of an access-group window with a full matrix.
void BM_PaintFullMatrix(benchmark::State &state)
{
    if (!FrameUp()) {
        state.SkipWithError("the frame could not be made");
        return;
    }
    int n = OpenOrActivateWindow(WinTypes::AccessGroups, 0, 0, true, 0);
    if (!n || !FillAccessGroup(n, FullRows, "FULL")) {
        state.SkipWithError("the access-group window could not be filled");
    } else {
        for (auto _ : state) {
            int saved = 0;
            GetPortWindow(&saved);
            SetPortWindow(n);
            WinPaintFrame(n);
            WinPaintContents(n);
            RestorePortWindow(saved);
        }
    }
    FrameDown();
}
BENCHMARK(BM_PaintFullMatrix)->Unit(benchmark::kMicrosecond);

// One typed character, and one Tab, in a customer's name through the main
// loop (the shell's keys, the window, the repaint of what changed).
void BM_KeystrokeAndTab(benchmark::State &state)
{
    if (!FrameUp()) {
        state.SkipWithError("the frame could not be made");
        return;
    }
    int n = OpenOrActivateWindow(WinTypes::Customers, 0, 0, true, 0);
    if (!n || !WinNewRecord(n)) {
        state.SkipWithError("the customers window could not start a record");
    } else {
        bool tab = state.range(0) == 1;
        for (auto _ : state) {
            if (tab)
                ScriptKey(PlKey::Tab);
            else
                ScriptText("a");
            Drain();
        }
    }
    FrameDown();
}
BENCHMARK(BM_KeystrokeAndTab)->Arg(0)->Arg(1)->ArgName("tab")->Unit(benchmark::kMicrosecond);

// OK of an access group with 200 rows: the insert of a new group, then
// the update of the same group in state 2.
void BM_OkAccessGroup200Rows(benchmark::State &state)
{
    if (!FrameUp()) {
        state.SkipWithError("the frame could not be made");
        return;
    }
    int n = OpenOrActivateWindow(WinTypes::AccessGroups, 0, 0, true, 0);
    static int serial = 0;   // codes stay new over the runs in one company
    bool update = state.range(0) == 1;
    for (auto _ : state) {
        state.PauseTiming();
        std::string code = "G" + std::to_string(serial++);
        bool ready = n && FillAccessGroup(n, OkRows, code.c_str());
        if (ready && update) {
            ready = WinStoreAndStay(n);
            WinBeginEdit(n);
            ready = ready && WinRecState(n) == 2;
        }
        state.ResumeTiming();
        if (!ready || !WinStoreAndStay(n)) {
            state.SkipWithError("the access group could not be stored");
            break;
        }
    }
    FrameDown();
}
BENCHMARK(BM_OkAccessGroup200Rows)->Arg(0)->Arg(1)->ArgName("update")->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
