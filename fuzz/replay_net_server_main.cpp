// replay_net_server_main.cpp - runs the server's network fuzz target
// without libFuzzer: over the corpus, then over mutations of the seed
// streams (a handshake, a login and one request each). It says how many
// of the inputs run logged in, a figure only: one reproducer that stops
// before the login is as good an input set as any. The verdict is on the
// target's own seeds: each must log in and be served the request it ends
// with, between them they must reach every request listed below, and one
// must have a request served while a report waits for its
// acknowledgement (the client's device, on whose width the report is
// laid out), so that a harness whose inputs stop at the login, or that
// reaches no import, form print, conversion or wait, fails however few
// inputs are run.
//
//   fuzz_net_server_replay CORPUS_DIR [MUTATIONS]
//   fuzz_net_server_replay --write-seeds DIR
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <set>
#include <vector>

#include "database/access/remote_calls.h"
#include "fuzz/replay_driver.h"

std::vector<std::vector<uint8_t>> NetServerFuzzSeeds();
uint32_t NetServerFuzzInputsRun();
uint32_t NetServerFuzzInputsLoggedIn();
uint32_t NetServerFuzzServedWhileWaiting();
uint32_t NetServerFuzzLaidOutForClient();
bool NetServerFuzzServedLoggedIn(const std::vector<uint8_t> &input);

namespace {

// The requests the seeds must reach behind the login.
constexpr uint16_t Reached[] = {ReqInsertChecked, ReqFind,         ReqRecordCount, ReqReadAt,
                                ReqRecordLockTake, ReqListRows,    ReqSettingsRead, ReqReportRun,
                                ReqImportRun,      ReqPrintForm,   ReqConvertDocument, ReqSessionEnd};

// The request code of the last frame of a stream (u32 length, u32
// session, u16 code, body); 0xFFFF when the stream holds no whole frame.
uint16_t LastRequest(const std::vector<uint8_t> &stream)
{
    uint16_t code = 0xFFFF;
    for (size_t at = 0; at + 10 <= stream.size();) {
        uint32_t n = stream[at] | stream[at + 1] << 8 | stream[at + 2] << 16 | uint32_t(stream[at + 3]) << 24;
        if (n < 10 || n > stream.size() - at) break;
        code = uint16_t(stream[at + 8] | stream[at + 9] << 8);
        at += n;
    }
    return code;
}

// The verdict on the seeds; false (having said why) when one does not log
// in and get its request served, or a listed request is reached by none.
bool SeedsReachTheRequests()
{
    std::set<uint16_t> served;
    bool ok = true;
    const std::vector<std::vector<uint8_t>> seeds = NetServerFuzzSeeds();
    const uint32_t waited = NetServerFuzzServedWhileWaiting(), laidOut = NetServerFuzzLaidOutForClient();
    for (size_t i = 0; i < seeds.size(); i++) {
        const uint16_t code = LastRequest(seeds[i]);
        if (NetServerFuzzServedLoggedIn(seeds[i])) {
            served.insert(code);
            continue;
        }
        std::fprintf(stderr, "net_server: seed %zu (request %u) did not log in and get its request served\n", i,
                     unsigned(code));
        ok = false;
    }
    for (uint16_t code : Reached)
        if (!served.count(code)) {
            std::fprintf(stderr, "net_server: no seed reaches request %u behind the login\n", unsigned(code));
            ok = false;
        }
    if (NetServerFuzzServedWhileWaiting() == waited) {
        std::fprintf(stderr, "net_server: no seed has a request served while a report waits for its acknowledgement\n");
        ok = false;
    }
    if (NetServerFuzzLaidOutForClient() == laidOut) {
        std::fprintf(stderr, "net_server: no seed's report is laid out on the width its client tells\n");
        ok = false;
    }
    if (ok) std::printf("net_server: each of the %zu seeds logs in and is served its request\n", seeds.size());
    return ok;
}

}  // namespace

int main(int argc, char **argv) {
    // Lengths, session ids, request codes, registers and counts.
    static constexpr uint32_t interesting[] = {0, 1, 2, 3, 4, 9, 10, 11, 12, 15, 20, 24, 26, 29, 31, 50, 51, 132, 133,
                                               229, 0x7FFF, 0xFFFE, 0xFFFF, 0x7FFFFFFF, 0xFFFFFFFE, 0xFFFFFFFF};
    int result = ReplaySeedListMain(argc, argv, "net_server", 20261207, NetServerFuzzSeeds, interesting);
    if (result != 0 || (argc > 1 && std::strcmp(argv[1], "--write-seeds") == 0)) return result;
    // How many of the inputs run here logged in: with each input starting
    // from a fresh server, most mutations of a seed leave its login whole.
    std::printf("net_server: %u of %u inputs logged in\n", NetServerFuzzInputsLoggedIn(), NetServerFuzzInputsRun());
    return SeedsReachTheRequests() ? 0 : 1;
}
