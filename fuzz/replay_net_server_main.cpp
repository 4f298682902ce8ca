// replay_net_server_main.cpp - runs the server's network fuzz target
// without libFuzzer: over the corpus, then over mutations of the seed
// streams (a handshake, a login and one request each). It says how many
// inputs logged in and fails when too few did: a harness whose inputs stop
// at the login leaves the requests behind it unfuzzed.
//
//   fuzz_net_server_replay CORPUS_DIR [MUTATIONS]
//   fuzz_net_server_replay --write-seeds DIR
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "fuzz/replay_driver.h"

std::vector<std::vector<uint8_t>> NetServerFuzzSeeds();
uint32_t NetServerFuzzInputsRun();
uint32_t NetServerFuzzInputsLoggedIn();

int main(int argc, char **argv) {
    // Lengths, session ids, request codes, registers and counts.
    static constexpr uint32_t interesting[] = {0, 1, 2, 3, 4, 9, 10, 11, 12, 15, 20, 24, 31, 50, 51, 132, 133,
                                               229, 0x7FFF, 0xFFFE, 0xFFFF, 0x7FFFFFFF, 0xFFFFFFFE, 0xFFFFFFFF};
    int result = ReplaySeedListMain(argc, argv, "net_server", 20261207, NetServerFuzzSeeds, interesting);
    if (result != 0 || (argc > 1 && std::strcmp(argv[1], "--write-seeds") == 0)) return result;
    // Every seed logs in and most mutations leave its login whole: with
    // each input starting from a fresh server about a third log in.
    uint32_t run = NetServerFuzzInputsRun(), loggedIn = NetServerFuzzInputsLoggedIn();
    std::printf("net_server: %u of %u inputs logged in\n", loggedIn, run);
    if (run == 0 || loggedIn * 10 < run) {
        std::fprintf(stderr, "net_server: fewer than one input in ten logged in; the requests behind the login "
                             "are not reached\n");
        return 1;
    }
    return 0;
}
