// replay_net_client_main.cpp - runs the client's network fuzz target
// without libFuzzer: over the corpus, then over mutations of a reply and
// of a push followed by its reply.
//
//   fuzz_net_client_replay CORPUS_DIR [MUTATIONS]
//   fuzz_net_client_replay --write-seeds DIR
#include <cstdint>
#include <vector>

#include "fuzz/replay_driver.h"

std::vector<std::vector<uint8_t>> NetClientFuzzSeeds();

int main(int argc, char **argv) {
    static constexpr uint32_t interesting[] = {0, 1, 2, 3, 5, 6, 12, 13, 14, 31, 32, 38, 39, 132, 133,
                                               0x7FFF, 0xFFFF, 0x1000000, 0x7FFFFFFF, 0xFFFFFFFF};
    return ReplaySeedListMain(argc, argv, "net_client", 20261208, NetClientFuzzSeeds, interesting);
}
