// replay_calc_main.cpp - runs the calculation-request fuzz target without
// libFuzzer: over the corpus, then over mutations of one valid request per
// sub-request that the target builds; the target's own checks catch what
// the sanitizers do not.
//
//   fuzz_calc_replay CORPUS_DIR [MUTATIONS]
//   fuzz_calc_replay --write-seeds DIR
#include <cstdint>
#include <vector>

#include "fuzz/replay_driver.h"

std::vector<std::vector<uint8_t>> CalcFuzzSeeds();

int main(int argc, char **argv) {
    // Where the sub-request, the register, the rows length and the row
    // number live, these values matter to the checks.
    static constexpr uint32_t interesting[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 11, 45, 55, 132, 255, 256, 342, 348,
                                               696, 0x7FFF, 0xFFFF, 0x7FFFFFFF, 0xFFFFFFFE, 0xFFFFFFFF};
    return ReplaySeedListMain(argc, argv, "calc", 20240615, CalcFuzzSeeds, interesting);
}
