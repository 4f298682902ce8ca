// Benchmarks of record windows, headless, in a company of their own: the
// full paint of an access-group window whose matrix holds its maximum
// rows, one typed character and one Tab through the main loop's message
// step, and the OK of an access group with 200 rows, inserted and then
// updated.
#include <benchmark/benchmark.h>

#include "bench/bench_frame.h"
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

BenchWorkplace &Place()
{
    static BenchWorkplace w("record");
    return w;
}



// Runs every waiting message through the main loop's step.
void Drain()
{
    PlMessage m;
    for (int guard = 0; guard < 10000 && MsgGet(&m) == PlGet::Message; guard++) MainLoopMessage(m);
}

// Gives access-group window n `rows` rows of (type, item, right) values,
// a new record with the code; false for a code longer than the field.
bool FillAccessGroup(int n, int rows, const char *code)
{
    const size_t length = strlen(code);
    if (length > size_t(AccessVc::Code.Length) || !WinNewRecord(n)) return false;
    uint8_t *r = WinRecordBuffer(n);
    r[AccessVc::Code] = uint8_t(length);
    memcpy(r + AccessVc::Code + 1, code, length);
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
    if (!BenchFrameUp(Place())) {
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
    BenchFrameDown();
}
BENCHMARK(BM_PaintFullMatrix)->Unit(benchmark::kMicrosecond);

// One typed character, and one Tab, in a customer's name through the main
// loop (the shell's keys, the window, the repaint of what changed).
void BM_KeystrokeAndTab(benchmark::State &state)
{
    if (!BenchFrameUp(Place())) {
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
    BenchFrameDown();
}
BENCHMARK(BM_KeystrokeAndTab)->Arg(0)->Arg(1)->ArgName("tab")->Unit(benchmark::kMicrosecond);

// The code of the serial-th access group: the code field holds 5
// characters, so "G" and four base-36 digits (1,679,616 codes); a fast
// machine runs past 10,000 groups in one process, where decimal codes
// stop fitting.
std::string GroupCode(int serial)
{
    const char *digits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string code = "G0000";
    int left = serial;
    for (int i = 4; i >= 1 && left > 0; i--, left /= 36) code[size_t(i)] = digits[left % 36];
    // Past the last code: one that does not fit, which the fill refuses.
    return left == 0 ? code : "G" + std::to_string(serial);
}

// OK of an access group with 200 rows: the insert of a new group, then
// the update of the same group in state 2.
void BM_OkAccessGroup200Rows(benchmark::State &state)
{
    if (!BenchFrameUp(Place())) {
        state.SkipWithError("the frame could not be made");
        return;
    }
    int n = OpenOrActivateWindow(WinTypes::AccessGroups, 0, 0, true, 0);
    static int serial = 0;   // codes stay new over the runs in one company
    bool update = state.range(0) == 1;
    for (auto _ : state) {
        state.PauseTiming();
        std::string code = GroupCode(serial++);
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
    BenchFrameDown();
}
BENCHMARK(BM_OkAccessGroup200Rows)->Arg(0)->Arg(1)->ArgName("update")->Unit(benchmark::kMicrosecond);

}  // namespace
