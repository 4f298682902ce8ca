// bench_net_channel.cpp - what the TLS channel costs: two server
// processes of their own on loopback ports, one with the channel as the
// program runs it and one started without it (a switch only benchmarks
// and tests have), and one client that sends record-count requests
// (41) one after another, each waiting for its reply. Reported: requests
// per second through each, and for the channel its share of the plain
// rate; also connections (handshake, session, login) per second.
#include <benchmark/benchmark.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <string>

#include "bench/bench_company.h"
#include "bench/bench_net_conn.h"
#include "core/message_sink.h"
#include "net/net.h"

namespace {

volatile sig_atomic_t Stop = 0;
void OnTerm(int) { Stop = 1; }
void Quiet(const char *) {}

struct Server {
    pid_t pid = -1;
    int port = 0;
};
Server Servers[2];   // 0: with the channel, 1: plain
double PlainRate = 0;

// Forks a server; plain turns the channel off in the child only.
Server StartServer(bool plain) {
    Server s;
    int up[2];
    if (pipe(up) != 0) std::abort();
    std::fflush(nullptr);
    s.pid = fork();
    if (s.pid == 0) {
        close(up[0]);
        std::signal(SIGTERM, OnTerm);
        MessageSinkSet(Quiet);
        const char *name = plain ? "net_channel_plain" : "net_channel_tls";
        if (!BenchCompanyOpen(name)) _exit(2);
        TlsChannelOffForTests = plain;
        BenchServeForked(BenchCompanyPath(name), up[1], &Stop);
    }
    close(up[1]);
    char buf[32] = {0};
    if (read(up[0], buf, sizeof buf - 1) <= 0) std::abort();
    close(up[0]);
    s.port = std::atoi(buf);
    return s;
}

void StartServers() {
    if (Servers[0].pid > 0) return;
    Servers[0] = StartServer(false);
    Servers[1] = StartServer(true);
    std::atexit([] {
        for (Server &s : Servers) {
            kill(s.pid, SIGTERM);
            waitpid(s.pid, nullptr, 0);
        }
    });
}

// Requests one after another on one logged-in connection.
void BM_Requests(benchmark::State &state) {
    bool plain = state.range(0) != 0;
    StartServers();
    BenchNetConn c(Servers[plain].port, plain);
    if (c.fd < 0 || !c.Open()) {
        state.SkipWithError("no session");
        return;
    }
    // A few requests first: the server's first ones set up what later
    // ones find ready (record counts, caches), which is not the channel.
    for (int i = 0; i < 50; i++) {
        MsgBuffer b, reply;
        MsgPutWord(&b, CUVc::Number);
        c.Ask(ReqRecordCount, &b, &reply);
    }
    auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        MsgBuffer b, reply;
        MsgPutWord(&b, CUVc::Number);
        if (c.Ask(ReqRecordCount, &b, &reply) != ReplyServed) {
            state.SkipWithError("request not served");
            return;
        }
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    double rate = seconds > 0 ? double(state.iterations()) / seconds : 0;
    state.counters["requests_per_s"] = rate;
    if (plain) PlainRate = rate;
    else if (PlainRate > 0) state.counters["share_of_plain"] = rate / PlainRate;
    state.SetLabel(plain ? "plain (benchmark only)" : "TLS 1.3");
}

// A connection from nothing to a logged-in session, closed again.
void BM_Connections(benchmark::State &state) {
    bool plain = state.range(0) != 0;
    StartServers();
    for (auto _ : state) {
        BenchNetConn c(Servers[plain].port, plain);
        if (c.fd < 0 || !c.Open()) {
            state.SkipWithError("no session");
            return;
        }
        MsgBuffer none, reply;
        MsgPutLong(&none, c.session);
        c.Ask(ReqSessionEnd, &none, &reply);
    }
    state.counters["connections_per_s"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
    state.SetLabel(plain ? "plain (benchmark only)" : "TLS 1.3");
}

}  // namespace

BENCHMARK(BM_Requests)->Arg(1)->Arg(0)->UseRealTime();
BENCHMARK(BM_Connections)->Arg(1)->Arg(0)->UseRealTime();
