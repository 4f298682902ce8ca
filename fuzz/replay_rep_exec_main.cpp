// replay_rep_exec_main.cpp - runs the received-output fuzz target without
// libFuzzer: over the corpus, then over mutations of the encoded jobs the
// target itself builds; the target's own checks catch what the sanitizers
// do not. The verdict is on the target's own seeds: one must be a report
// whose columns the client lays out on its device and tells the server
// (commands 42 and request 44), so that a harness whose reports never lay
// out fails however few inputs are run.
//
//   fuzz_rep_exec_replay CORPUS_DIR [MUTATIONS]
//   fuzz_rep_exec_replay --write-seeds DIR
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "fuzz/replay_driver.h"

std::vector<std::vector<uint8_t>> RepExecFuzzSeeds();
bool RepExecFuzzTellsDevice(const std::vector<uint8_t> &input);

int main(int argc, char **argv) {
    // Opcodes, line counts, lengths and caps at and around their limits.
    static constexpr uint32_t interesting[] = {0,     1,      12,     31,         32,         36,         37,
                                               38,    39,     40,     41,         42,         255,        256,
                                               2000,  2001,   60000,  0xFFFF,     1 << 24,    (1 << 24) + 1,
                                               0x7FFFFFFF, 0x80000000, 0xFFFFFFFE, 0xFFFFFFFF};
    int result = ReplaySeedListMain(argc, argv, "rep_exec", 20251207, RepExecFuzzSeeds, interesting);
    if (result != 0 || (argc > 1 && std::strcmp(argv[1], "--write-seeds") == 0)) return result;
    for (const std::vector<uint8_t> &seed : RepExecFuzzSeeds())
        if (RepExecFuzzTellsDevice(seed)) {
            std::printf("rep_exec: a seed's report is laid out on its device, whose width the server is told\n");
            return 0;
        }
    std::fprintf(stderr, "rep_exec: no seed's report is laid out on its device and told to the server\n");
    return 1;
}
