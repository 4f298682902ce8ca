// replay_rep_exec_main.cpp - runs the received-output fuzz target without
// libFuzzer: over the corpus, then over mutations of the encoded jobs the
// target itself builds; the target's own checks catch what the sanitizers
// do not.
//
//   fuzz_rep_exec_replay CORPUS_DIR [MUTATIONS]
//   fuzz_rep_exec_replay --write-seeds DIR
#include <cstdint>
#include <vector>

#include "fuzz/replay_driver.h"

std::vector<std::vector<uint8_t>> RepExecFuzzSeeds();

int main(int argc, char **argv) {
    // Opcodes, line counts, lengths and caps at and around their limits.
    static constexpr uint32_t interesting[] = {0,     1,      12,     31,         32,         36,         37,
                                               38,    39,     40,     41,         42,         255,        256,
                                               2000,  2001,   60000,  0xFFFF,     1 << 24,    (1 << 24) + 1,
                                               0x7FFFFFFF, 0x80000000, 0xFFFFFFFE, 0xFFFFFFFF};
    return ReplaySeedListMain(argc, argv, "rep_exec", 20251207, RepExecFuzzSeeds, interesting);
}
