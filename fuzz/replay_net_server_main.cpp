// replay_net_server_main.cpp - runs the server's network fuzz target
// without libFuzzer: over the corpus, then over mutations of the seed
// streams (a handshake, a login and one request each).
//
//   fuzz_net_server_replay CORPUS_DIR [MUTATIONS]
//   fuzz_net_server_replay --write-seeds DIR
#include <cstdint>
#include <vector>

#include "fuzz/replay_driver.h"

std::vector<std::vector<uint8_t>> NetServerFuzzSeeds();

int main(int argc, char **argv) {
    // Lengths, session ids, request codes, registers and counts.
    static constexpr uint32_t interesting[] = {0, 1, 2, 3, 4, 9, 10, 11, 12, 15, 20, 24, 31, 50, 51, 132, 133,
                                               229, 0x7FFF, 0xFFFE, 0xFFFF, 0x7FFFFFFF, 0xFFFFFFFE, 0xFFFFFFFF};
    return ReplaySeedListMain(argc, argv, "net_server", 20261207, NetServerFuzzSeeds, interesting);
}
