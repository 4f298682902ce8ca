// Benchmarks of a customers list over 100,000 customers, headless, in a
// company of its own: the refresh of a whole pane (every visible row read
// through the current column's index and drawn) and a one-row scroll down
// and back up (the pixels move, one row is read and drawn). Each runs
// locally and as a client whose transport serves request 23 in-process
// through the server's row texts over the same company file; a client
// case reports its time over the local one's as "client_over_local".
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>
#include <vector>

#include "bench/bench_frame.h"
#include "bench/bench_sizes.h"
#include "core/msg_buffer.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "database/access/remote_calls.h"
#include "database/access/transport.h"
#include "dict_offsets.h"
#include "shell/list_windows.h"
#include "shell/record_commands.h"
#include "shell/startup.h"

namespace {

const int Customers = BenchSize<int>(100000, 5000);

BenchWorkplace &Place()
{
    static BenchWorkplace w("list");
    return w;
}

// Mean local time of one iteration of each case, for the client ratios.
double LocalRefreshNs = 0, LocalScrollNs = 0;

// Inserts the customers once per run, in one hold; false when that failed.
bool CustomersMade()
{
    if (RegRecordCountLocal(CUVc::Number) >= uint32_t(Customers)) return true;
    std::vector<uint8_t> record(CUVc::Size);
    DbHoldBegin();
    bool ok = true;
    for (int i = 1; i <= Customers && ok; i++) {
        std::string digits = std::to_string(1000000 + i).substr(1);
        std::string code = "C" + digits, name = "Customer " + digits;
        std::fill(record.begin(), record.end(), 0);
        record[CUVc::Code] = uint8_t(code.size());
        std::copy(code.begin(), code.end(), record.begin() + CUVc::Code + 1);
        record[CUVc::Name] = uint8_t(name.size());
        std::copy(name.begin(), name.end(), record.begin() + CUVc::Name + 1);
        uint32_t id = 0;
        ok = RecInsertLocal(CUVc::Number, record.data(), &id);
    }
    return DbHoldEnd() && ok;
}

// The server's side in-process: request 41 gives the local count, request
// 23 reads the asked rows through the index and sends each found one as
// its id and column texts, as a server does.
bool ServeInProcess(uint16_t code, MsgBuffer *request, MsgBuffer *reply)
{
    MsgBuffer in, out;
    if (!MsgLoad(&in, MsgData(request), MsgLength(request))) return false;
    uint16_t reg = 0;
    MsgGetWord(&in, &reg);
    if (code == ReqRecordCount) {
        MsgPutLong(&out, RegRecordCountLocal(reg));
    } else if (code == ReqListRows) {
        uint32_t first = 0;
        uint16_t count = 0, type = 0;
        char index[256] = {};
        MsgGetLong(&in, &first);
        MsgGetWord(&in, &count);
        MsgGetWord(&in, &type);
        MsgGetCString(&in, index);
        if (MsgFailed(&in)) return false;
        MemBlock h = 0;
        uint8_t *record = RecBufferNew(reg, &h);
        if (!record) return false;
        for (uint32_t i = 0; i < count; i++) {
            uint32_t id = 0;
            RecFreeMatrix(reg, record);
            bool found = RecReadAtIndexLocal(reg, index, int32_t(first + i), record, &id);
            MsgPutByte(&out, found ? 1 : 0);
            if (!found) continue;
            MsgPutLong(&out, id);
            RowFieldsToMsg(&out, type, reg, record);
        }
        RecBufferFree(reg, &h);
    } else {
        return false;
    }
    return !MsgFailed(&out) && MsgLoad(reply, MsgData(&out), MsgLength(&out));
}

// The frame with the company and its customers list open and painted
// once, as a client of the in-process server when asked; 0 when it
// cannot be had.
int ListUp(bool client)
{
    if (!BenchFrameUp(Place()) || !CustomersMade()) return 0;
    int n = OpenOrActivateWindow(WinTypes::CustomerList, 0, 0, true, 0);
    if (!n) return 0;
    if (client) {
        RemoteOpsInstall();
        TransportInstall(ServeInProcess, ServeInProcess);
        RunMode = RunModeClient;
    }
    ListPrepare(n);
    RepaintMarkedWindows();
    return ListRowCount(n) > 0 && ListRowId(n, 0) >= 0 ? n : 0;
}

// Back to stand-alone and the frame down.
void ListDown()
{
    RunMode = 1;
    TransportInstall(nullptr, nullptr);
    RemoteOps = RemoteOpsTable{};
    BenchFrameDown();
}

// Times the loop of one case and sets the client's ratio to the local time.
template <typename Step> void Measure(benchmark::State &state, bool client, double *localNs, Step step)
{
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state) step();
    double ns = std::chrono::duration<double, std::nano>(std::chrono::steady_clock::now() - start).count() /
                double(std::max<int64_t>(1, state.iterations()));
    if (!client)
        *localNs = ns;
    else if (*localNs > 0)
        state.counters["client_over_local"] = ns / *localNs;
}

// The refresh of the whole pane of a customers list, scrolled to the
// middle of the register.
void BM_ListPaneRefresh(benchmark::State &state)
{
    bool client = state.range(0) == 1;
    int n = ListUp(client);
    if (!n) {
        state.SkipWithError("the customers list could not be opened");
    } else {
        ListScrollTo(n, 0, Customers / 2);
        state.counters["rows"] = ListRowCount(n);
        Measure(state, client, &LocalRefreshNs, [n] { ListRefresh(n); });
    }
    ListDown();
}
BENCHMARK(BM_ListPaneRefresh)->Arg(0)->Arg(1)->ArgName("client")->Unit(benchmark::kMicrosecond);

// One row down and one row back up in a customers list in the middle of
// the register.
void BM_ListScrollOneRow(benchmark::State &state)
{
    bool client = state.range(0) == 1;
    int n = ListUp(client);
    if (!n) {
        state.SkipWithError("the customers list could not be opened");
    } else {
        int32_t middle = Customers / 2;
        ListScrollTo(n, 0, middle);
        Measure(state, client, &LocalScrollNs, [n, middle] {
            ListScrollTo(n, 0, middle + 1);
            ListScrollTo(n, 0, middle);
        });
    }
    ListDown();
}
BENCHMARK(BM_ListScrollOneRow)->Arg(0)->Arg(1)->ArgName("client")->Unit(benchmark::kMicrosecond);

}  // namespace
