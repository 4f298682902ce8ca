// replay_message_main.cpp - runs the message fuzz target without libFuzzer:
// over the corpus, then over mutations of the valid replies and frames
// that the target itself builds; the target's own checks catch what the
// sanitizers do not.
//
//   fuzz_message_replay CORPUS_DIR [MUTATIONS]
//   fuzz_message_replay --write-seeds DIR
#include <cstdint>
#include <vector>

#include "fuzz/replay_driver.h"

std::vector<std::vector<uint8_t>> MessageFuzzSeeds();

int main(int argc, char **argv) {
    // Length words and counts: values at their limits matter to the checks.
    static constexpr uint32_t interesting[] = {0, 1, 2, 3, 4, 5, 6, 14, 15, 16, 132, 133, 255, 256, 0x7FFF,
                                               0x8000, 0xFFFE, 0xFFFF, 0x10000, 0x7FFFFFFF, 0xFFFFFFFE, 0xFFFFFFFF};
    return ReplaySeedListMain(argc, argv, "message", 20240612, MessageFuzzSeeds, interesting);
}
