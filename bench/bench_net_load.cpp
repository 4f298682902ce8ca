// bench_net_load.cpp - the server under load: a server process of its own
// (forked at start, headless, on a loopback port) and 1, 10 or 50
// connections driven from threads of this program, each speaking the
// protocol with raw frames: handshake, login, then a mix of reads (2, 16,
// 23) and writes (3, 9); once with reads only. Once more with one further
// client running a long report whose pushes it acknowledges. Reported:
// reads and writes per second, latency percentiles, the busy rate; and a 1
// MB report made stand-alone against the same report through the server.
#include <benchmark/benchmark.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>

#include <algorithm>
#include <csignal>
#include <arpa/inet.h>
#include <atomic>
#include <chrono>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "bench/bench_company.h"
#include "bench/bench_net_conn.h"
#include "bench/bench_sizes.h"
#include "core/field_access.h"
#include "core/message_sink.h"
#include "core/msg_buffer.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/remote_calls.h"
#include "database/access/transport.h"
#include "net/net.h"
#include "net/tls.h"
#include "output/output_job.h"
#include "output/devices/report_output.h"

namespace {

constexpr int SeedCustomers = 200;
const int RequestsPerClient = BenchSize<int>(40, 8);
constexpr uint32_t PushBytes = 10000;

volatile sig_atomic_t Stop = 0;
void OnTerm(int) { Stop = 1; }
void Quiet(const char *) {}

// The server's report: as many pushes of 10000 bytes as the job's report
// number says (0: until stopped).
void LongReport(ReportJob &job) {
    int pushes = int16_t(GetU16(job.selection, ReportParamsVc::ReportNumber));
    for (int i = 0; (pushes <= 0 || i < pushes) && !RepStopped; i++) {
        for (uint32_t k = 0; k < PushBytes / 2; k++) MsgPutWord(&OutputMessage, 0);
        MsgSend();
    }
}

void Code(uint8_t *r, const std::string &code) {
    uint8_t p[256];
    PStringFromC(p, code.c_str());
    PutText(r, CUVc::Code, p);
}

pid_t ServerPid = -1;
int ServerPort = 0;

void StartServer() {
    if (ServerPid > 0) return;
    int up[2];
    if (pipe(up) != 0) std::abort();
    std::fflush(nullptr);
    ServerPid = fork();
    if (ServerPid == 0) {
        close(up[0]);
        std::signal(SIGTERM, OnTerm);
        MessageSinkSet(Quiet);
        if (!BenchCompanyOpen("net_load")) _exit(2);
        MemBlock h = 0;
        uint8_t *r = RecBufferNew(CUVc::Number, &h);
        for (int i = 0; i < SeedCustomers; i++) {
            RecClear(CUVc::Number, r);
            Code(r, "S" + std::to_string(1000 + i));
            uint32_t id = 0;
            RecStoreByKey(CUVc::Number, r, 1, &id);
        }
        RecBufferFree(CUVc::Number, &h);
        ServerReportRun = LongReport;
        BenchServeForked(BenchCompanyPath("net_load"), up[1], &Stop);
    }
    close(up[1]);
    char buf[32] = {0};
    if (read(up[0], buf, sizeof buf - 1) <= 0) std::abort();
    close(up[0]);
    ServerPort = std::atoi(buf);
    std::atexit([] {
        kill(ServerPid, SIGTERM);
        waitpid(ServerPid, nullptr, 0);
    });
}

// One blocking connection of a client thread, through the channel.
struct Conn : BenchNetConn {
    Conn() : BenchNetConn(ServerPort) {}
};

struct Tally {
    std::mutex lock;
    std::vector<double> latencies;   // ms
    long reads = 0, writes = 0, busy = 0, failed = 0;
};

// One request of a client's script: built before the threads run,
// because record buffers live in the program's one handle table, which
// only the main thread may touch.
struct Step {
    uint16_t code;
    std::vector<uint8_t> body;
    bool write;
};

std::vector<Step> Script(int index, int iteration, bool writes) {
    MemBlock h = 0;
    uint8_t *r = RecBufferNew(CUVc::Number, &h);
    std::vector<Step> steps;
    bool inserted = false;
    uint32_t seed = (uint32_t)(index * 7919 + iteration * 104729 + 1);
    for (int i = 0; i < RequestsPerClient; i++) {
        seed = seed * 1103515245u + 12345u;
        int pick = (int)((seed >> 16) % (writes ? 10 : 8));
        MsgBuffer b;
        Step st{0, {}, false};
        if (pick < 3) {
            st.code = ReqReadAt;
            MsgPutWord(&b, CUVc::Number);
            MsgPutLong(&b, 1 + (seed >> 8) % SeedCustomers);
            MsgPutCString(&b, "");
        } else if (pick < 6) {
            st.code = ReqFind;
            RecClear(CUVc::Number, r);
            Code(r, "S" + std::to_string(1000 + (seed >> 8) % SeedCustomers));
            MsgPutWord(&b, CUVc::Number);
            MsgPutWord(&b, 0);
            MsgPutByte(&b, 1);
            MsgPutRecord(&b, CUVc::Number, r);
        } else if (pick < 8) {
            st.code = ReqListRows;
            MsgPutWord(&b, CUVc::Number);
            MsgPutLong(&b, 1 + (seed >> 8) % (SeedCustomers - 20));
            MsgPutWord(&b, 20);
            MsgPutWord(&b, 594);
            MsgPutCString(&b, "");
        } else if (pick == 8 || !inserted) {
            st.code = ReqInsertChecked;
            st.write = inserted = true;
            RecClear(CUVc::Number, r);
            Code(r, "W" + std::to_string(index) + "_" + std::to_string(iteration) + "_" + std::to_string(i));
            MsgPutWord(&b, CUVc::Number);
            MsgPutRecord(&b, CUVc::Number, r);
        } else {
            st.code = ReqUpdateChecked;   // the id at body offset 2 is filled in as the client runs
            st.write = true;
            MsgPutWord(&b, CUVc::Number);
            MsgPutLong(&b, 0);
            MsgPutRecord(&b, CUVc::Number, r);
        }
        st.body.assign(MsgData(&b), MsgData(&b) + MsgLength(&b));
        steps.push_back(std::move(st));
    }
    RecBufferFree(CUVc::Number, &h);
    return steps;
}

void ClientWork(Conn *conn, std::vector<Step> *steps, Tally *t) {
    Conn &c = *conn;
    std::vector<double> lat;
    long reads = 0, wrote = 0, busy = 0, failed = 0;
    uint32_t mine = 0;
    for (Step &st : *steps) {
        if (st.code == ReqUpdateChecked) std::memcpy(st.body.data() + 2, &mine, 4);
        MsgBuffer b, reply;
        MsgPutBytesRaw(&b, st.body.data(), (uint32_t)st.body.size());
        auto start = std::chrono::steady_clock::now();
        int status;
        while ((status = c.Ask(st.code, &b, &reply)) == ReplyBusy) {
            busy++;
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
            MsgClear(&reply);
        }
        lat.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count());
        if (status != 0) {
            failed++;
            break;
        }
        if (st.code == ReqInsertChecked) {
            uint32_t id = 0;
            MsgGetLong(&reply, &id);
            if (id) mine = id;
        }
        (st.write ? wrote : reads)++;
    }
    std::lock_guard<std::mutex> g(t->lock);
    t->latencies.insert(t->latencies.end(), lat.begin(), lat.end());
    t->reads += reads;
    t->writes += wrote;
    t->busy += busy;
    t->failed += failed;
}

// A client that runs a report of endless pushes until told to stop.
void ReportClient(std::atomic<bool> *stop, std::atomic<bool> *running, std::atomic<bool> *failed) {
    Conn c;
    if (c.fd < 0 || !c.Open()) {
        failed->store(true);
        running->store(true);
        return;
    }
    std::vector<uint8_t> job(ReportParamsSize, 0);
    MsgBuffer b;
    MsgPutPString(&b, EmptyPString);
    MsgPutJobRecord(&b, job.data(), (uint32_t)job.size());
    if (!c.Send(ReqReportRun, &b)) return;
    running->store(true);
    MsgBuffer f;
    int code;
    while ((code = c.Frame(&f)) == FrameCodePush) {
        MsgBuffer ack;
        MsgPutWord(&ack, stop->load() ? 1 : 0);
        c.Send(AckCode, &ack);
        MsgClear(&f);
    }
}

double Percentile(std::vector<double> &v, double p) {
    if (v.empty()) return 0;
    size_t k = std::min(v.size() - 1, (size_t)(p * (double)v.size()));
    std::nth_element(v.begin(), v.begin() + (long)k, v.end());
    return v[k];
}

void BM_ServerLoad(benchmark::State &state) {
    static bool ready = (BenchLoadInterface() && AllocWorkBlocks(), MessageSinkSet(Quiet), StartServer(), true);
    (void)ready;
    bool withReport = state.range(1) != 0;
    // The report's client is one of the connections.
    int clients = (int)state.range(0) - (withReport ? 1 : 0);
    bool writes = state.range(2) != 0;
    Tally t;
    // The connections stand before the clock runs: the listen backlog of 5
    // makes a burst of connects wait for the system's retries.
    std::vector<std::unique_ptr<Conn>> conns;
    for (int i = 0; i < clients; i++) {
        conns.push_back(std::make_unique<Conn>());
        if (conns.back()->fd < 0 || !conns.back()->Open()) {
            state.SkipWithError("no session");
            return;
        }
    }
    double seconds = 0;
    int iteration = 0;
    for (auto _ : state) {
        std::atomic<bool> stop{false}, running{false}, failed{false};
        std::thread report;
        if (withReport) {
            report = std::thread(ReportClient, &stop, &running, &failed);
            while (!running.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
            if (failed.load()) t.failed++;
        }
        std::vector<std::vector<Step>> scripts;
        for (int i = 0; i < clients; i++) scripts.push_back(Script(i, iteration, writes));
        auto start = std::chrono::steady_clock::now();
        std::vector<std::thread> threads;
        for (int i = 0; i < clients; i++)
            threads.emplace_back(ClientWork, conns[(size_t)i].get(), &scripts[(size_t)i], &t);
        for (std::thread &th : threads) th.join();
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        stop.store(true);
        if (report.joinable()) report.join();
        iteration++;
    }
    state.counters["reads_per_s"] = seconds > 0 ? (double)t.reads / seconds : 0;
    state.counters["writes_per_s"] = seconds > 0 ? (double)t.writes / seconds : 0;
    state.counters["p50_ms"] = Percentile(t.latencies, 0.50);
    state.counters["p95_ms"] = Percentile(t.latencies, 0.95);
    state.counters["p99_ms"] = Percentile(t.latencies, 0.99);
    long all = t.reads + t.writes;
    state.counters["busy_rate"] = all ? (double)t.busy / (double)(all + t.busy) : 0;
    if (t.failed) state.SkipWithError("requests failed");
    // The server frees the slots once it sees the connections close.
    conns.clear();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
}
// Arguments: clients, a long report running beside them, writes in the mix.
BENCHMARK(BM_ServerLoad)->Args({1, 0, 1})->Args({10, 0, 1})->Args({50, 0, 1})->Args({50, 1, 1})->Args({50, 0, 0})
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

// The report of 100 pushes of 10000 bytes (1 MB): made here with its
// output dropped, and through the server with every push acknowledged.
void DropPush(MsgBuffer *m) { MsgReset(m); }

void BM_Report1MBStandAlone(benchmark::State &state) {
    static bool ready = (BenchLoadInterface() && AllocWorkBlocks(), true);
    (void)ready;
    MsgPushFn old = MsgSetPush(DropPush);
    OwnedJob own;
    PutU16(own.job.selection, ReportParamsVc::ReportNumber, 100);
    for (auto _ : state) {
        RepStopped = 0;
        LongReport(own.job);
    }
    MsgSetPush(old);
    state.SetBytesProcessed((int64_t)state.iterations() * 100 * PushBytes);
}
BENCHMARK(BM_Report1MBStandAlone)->Unit(benchmark::kMillisecond);

void BM_Report1MBThroughServer(benchmark::State &state) {
    static bool ready = (BenchLoadInterface() && AllocWorkBlocks(), MessageSinkSet(Quiet), StartServer(), true);
    (void)ready;
    Conn c;
    if (c.fd < 0 || !c.Open()) {
        state.SkipWithError("no session");
        return;
    }
    std::vector<uint8_t> job(ReportParamsSize, 0);
    PutU16(job.data(), ReportParamsVc::ReportNumber, 100);
    for (auto _ : state) {
        MsgBuffer b;
        MsgPutPString(&b, EmptyPString);
        MsgPutJobRecord(&b, job.data(), (uint32_t)job.size());
        c.Send(ReqReportRun, &b);
        MsgBuffer f;
        int pushes = 0;
        while (c.Frame(&f) == FrameCodePush) {
            pushes++;
            MsgBuffer ack;
            MsgPutWord(&ack, 0);
            c.Send(AckCode, &ack);
            MsgClear(&f);
        }
        if (pushes != 100) state.SkipWithError("pushes lost");
    }
    state.SetBytesProcessed((int64_t)state.iterations() * 100 * PushBytes);
}
BENCHMARK(BM_Report1MBThroughServer)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
