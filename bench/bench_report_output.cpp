// Benchmark of the report output layer: 100,000 lines of six values (a
// text, an amount, a date, a 16-bit and a 32-bit number, an amount) run
// through the output operations to the text file (2), the preview (6) and
// the character printer (10) locally; the same lines encoded on a server as
// output commands; those commands run on each device by a client; and the
// preview's layout and full-height drawing of a 100,000-item store. The
// peer writes the same lines with fprintf into a file, so the ratio is what
// the layer costs above plain formatted writing. A device that cannot run
// here (not built, or no file or port) skips with the reason: no figure is
// given for work that was not done. Full runs (ORVEL_BENCH_FULL, set by
// scripts/bench) use the full sizes; smoke runs 2,000 lines as a quick
// check.
#include <benchmark/benchmark.h>

#include "bench/bench_frame.h"
#include "bench/bench_sizes.h"

#include <cstdio>
#include <filesystem>
#include <vector>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/message_sink.h"
#include "core/msg_buffer.h"
#include "core/pstring.h"
#include "dict_offsets.h"
#include "output/devices/device_table.h"
#include "output/output_job.h"
#include "platform/print.h"
#include "platform/script.h"

namespace {

// Full runs (ORVEL_BENCH_FULL, set by scripts/bench) run the full size;
// smoke runs a quick check.
const int Lines = BenchSize<int>(100000, 2000);

BenchWorkplace &Place()
{
    static BenchWorkplace w("report_output");
    return w;
}

int FrameState = -1;   // -1 not tried, 0 cannot start, 1 up

// The frame up once with a quiet message sink (a refusal is told, never
// waited on); false when the program cannot start.
bool Up()
{
    if (FrameState < 0) {
        FrameState = BenchFrameUp(Place()) ? 1 : 0;
        MessageSinkSet([](const char *) {});
    }
    return FrameState == 1;
}

// One line's values, varied by the line number.
struct LineValues {
    uint8_t amount[12], date[6], shortValue[2], longValue[4], amount2[12];
};
LineValues ValuesOf(int i)
{
    LineValues v;
    PackedDecimal d;
    DecFromDouble(&d, 1000.25 + i);
    PutDec(v.amount, 0, d);
    DecFromDouble(&d, -i * 0.5);
    PutDec(v.amount2, 0, d);
    PutDate(v.date, 0, DateRec{uint16_t(1 + i % 28), uint16_t(1 + i % 12), 2025});
    PutI16(v.shortValue, 0, int16_t(i % 30000));
    PutI32(v.longValue, 0, i * 37);
    return v;
}

// The job of the benchmark on the current road and device.
void RunJob()
{
    PString title, name;
    PStringFromC(title, "Bench");
    PStringFromC(name, "Customer name");
    RepOpenJob(title);
    for (int i = 0; i < Lines && !RepStopped; i++) {
        LineValues v = ValuesOf(i);
        RepStartLine(12);
        RepText(0, 0, name, 0);
        RepValue(150, 0, v.amount, FtAmount2, -1);
        RepValue(200, 0, v.date, FtDate, -1);
        RepValue(260, 0, v.shortValue, FtShort, -1);
        RepValue(320, 0, v.longValue, FtLong, -1);
        RepValue(400, 0, v.amount2, FtAmount2, -1);
        RepEndLine();
    }
}

// A fresh output state and the benchmark's job on device kind; the
// caller attaches the job, as the output prints from the attached job.
void FreshJob(ReportJob &job, uint16_t kind)
{
    OutputJobState = OutputJobStateRec{};
    PutU16(job.selection, ReportParamsVc::OutputKind, kind);
}

// Opens what a device needs before its job (the job attached, on kind):
// the output file of kind 2 (its name answers the file dialog), the port
// file of kind 10 (emptied, as a port file is appended to). False when
// the port cannot be set.
bool PrepareDevice(uint16_t kind)
{
    std::filesystem::path file = Place().dir / (kind == OutTextFile ? "out.txt" : "lpt1.out");
    std::error_code ignored;
    std::filesystem::remove(file, ignored);
    if (kind == OutCharPrinter && !CharPortConfigure("LPT1", file.string())) return false;
    if (kind == OutTextFile) {
        ScriptAnswerFile(file.string());
        RepOpenFileDevice();
    }
    return true;
}

void BM_LocalDevice(benchmark::State &state)
{
    uint16_t kind = uint16_t(state.range(0));
    if (!Up()) return state.SkipWithError("the program cannot start");
    OwnedJob own;
    for (auto _ : state) {
        FreshJob(own.job, kind);
        OutputJobAttach attached(own.job);
        if (!PrepareDevice(kind)) return state.SkipWithError("the port cannot be set");
        RunJob();
        bool stopped = RepStopped;
        RepEndJob();
        if (stopped) return state.SkipWithError("the device did not run the job");
    }
    state.counters["lines/s"] = benchmark::Counter(double(Lines) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_LocalDevice)->Arg(OutTextFile)->Arg(OutPreview)->Arg(OutCharPrinter)->Unit(benchmark::kMillisecond);

std::vector<std::vector<uint8_t>> *PushSink = nullptr;

// The server's output of the job for a device kind, as the pushed messages.
std::vector<std::vector<uint8_t>> Encode(ReportJob &job, uint16_t kind)
{
    std::vector<std::vector<uint8_t>> pushes;
    PushSink = &pushes;
    MsgPushFn old = MsgSetPush([](MsgBuffer *m) { PushSink->emplace_back(MsgData(m), MsgData(m) + MsgLength(m)); });
    FreshJob(job, kind);
    OutputJobAttach attached(job);
    RemoteOutput = 1;
    RunJob();
    RepEndJob();
    RemoteOutput = 0;
    MsgSetPush(old);
    PushSink = nullptr;
    return pushes;
}

void BM_ServerEncode(benchmark::State &state)
{
    if (!Up()) return state.SkipWithError("the program cannot start");
    size_t bytes = 0;
    OwnedJob own;
    for (auto _ : state) {
        std::vector<std::vector<uint8_t>> pushes = Encode(own.job, OutTextFile);
        bytes = 0;
        for (const auto &p : pushes) bytes += p.size();
    }
    state.counters["lines/s"] = benchmark::Counter(double(Lines) * double(state.iterations()), benchmark::Counter::kIsRate);
    state.counters["wire_KB"] = double(bytes) / 1024;
}
BENCHMARK(BM_ServerEncode)->Unit(benchmark::kMillisecond);

void BM_ClientRun(benchmark::State &state)
{
    uint16_t kind = uint16_t(state.range(0));
    if (!Up()) return state.SkipWithError("the program cannot start");
    OwnedJob own;
    std::vector<std::vector<uint8_t>> pushes = Encode(own.job, kind);
    for (auto _ : state) {
        FreshJob(own.job, kind);
        OutputJobAttach attached(own.job);
        if (!PrepareDevice(kind)) return state.SkipWithError("the port cannot be set");
        bool ok = true;
        for (const auto &p : pushes) ok = RepExecRemote(p.data(), uint32_t(p.size())) && ok;
        if (!ok) return state.SkipWithError("the commands were refused");
        if (RepStopped) return state.SkipWithError("the device did not run the job");
    }
    state.counters["lines/s"] = benchmark::Counter(double(Lines) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_ClientRun)->Arg(OutTextFile)->Arg(OutPreview)->Arg(OutCharPrinter)->Unit(benchmark::kMillisecond);

void BM_PreviewLayoutAndDraw(benchmark::State &state)
{
    if (!Up()) return state.SkipWithError("the program cannot start");
    OwnedJob own;
    PutU16(own.job.selection, ReportParamsVc::OutputKind, OutPreview);
    OutputJobAttach attached(own.job);
    PString title, text;
    PStringFromC(title, "Preview bench");
    int n = PreviewOpen(title);
    if (!n) return state.SkipWithError("no preview window");
    for (int i = 0; i < Lines; i++) {
        PStringFromView(text, "Item " + std::to_string(i));
        if (!PreviewAddItem(n, i * 12, (i % 6) * 80, -1, ItemText, 0, 0, 0, text))
            return state.SkipWithError("the store did not take the items");
    }
    for (auto _ : state) {
        PreviewLayout(n);
        PreviewDrawFrom(n, 0, Lines * 12 + 100);
    }
    WinClose(n);
    state.counters["items/s"] = benchmark::Counter(double(Lines) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PreviewLayoutAndDraw)->Unit(benchmark::kMillisecond);

// The peer: the same lines formatted by fprintf into a file.
void BM_PeerFprintf(benchmark::State &state)
{
    if (!Up()) return state.SkipWithError("the program cannot start");
    for (auto _ : state) {
        FILE *f = std::fopen((Place().dir / "peer.txt").c_str(), "wb");
        if (!f) return state.SkipWithError("no peer file");
        for (int i = 0; i < Lines; i++)
            std::fprintf(f, "Customer name\t%.2f\t%04d-%02d-%02d\t%d\t%d\t%.2f\t\r\n", 1000.25 + i, 2025, 1 + i % 12,
                         1 + i % 28, i % 30000, i * 37, -i * 0.5);
        if (std::fclose(f) != 0) return state.SkipWithError("the peer file was not written");
    }
    state.counters["lines/s"] = benchmark::Counter(double(Lines) * double(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_PeerFprintf)->Unit(benchmark::kMillisecond);

}  // namespace
