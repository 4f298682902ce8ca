// replay_bmp_main.cpp - runs the picture-file fuzz target without
// libFuzzer: over the corpus, then over mutations of the five seed files
// that the target itself writes; the target's own checks catch what the
// sanitizers do not.
//
//   fuzz_bmp_replay CORPUS_DIR [MUTATIONS]
//   fuzz_bmp_replay --write-seeds DIR
#include <cstdint>
#include <vector>

#include "fuzz/replay_driver.h"

std::vector<std::vector<uint8_t>> BmpFuzzSeeds();

int main(int argc, char **argv) {
    // Header sizes, bit counts, colour counts, offsets and sizes at and
    // around the reader's limits.
    static constexpr uint32_t interesting[] = {0,     1,      2,      4,      8,          12,         14,
                                               16,    24,     32,     40,     54,         108,        124,
                                               255,   256,    257,    19778,  32767,      32768,      32769,
                                               65535, 1 << 26, 0x7FFFFFFF, 0x80000000, 0xFFFFFFFE, 0xFFFFFFFF};
    return ReplaySeedListMain(argc, argv, "bmp", 20240620, BmpFuzzSeeds, interesting);
}
