// replay_sie_import_main.cpp - runs the SIE import fuzz target without
// libFuzzer: over the corpus, then over mutations of the import files the
// target itself builds; the target's own checks catch what the sanitizers
// do not.
//
//   fuzz_sie_import_replay CORPUS_DIR [MUTATIONS]
//   fuzz_sie_import_replay --write-seeds DIR
#include <cstdint>
#include <vector>

#include "fuzz/replay_driver.h"

std::vector<std::vector<uint8_t>> SieImportFuzzSeeds();

int main(int argc, char **argv) {
    // Bytes that matter to the SIE reader: TAB, LF, CR, blank, quotation
    // mark, backslash, braces, '#', sign and point, digits, DOS letters.
    static constexpr uint32_t interesting[] = {0, 9, 10, 13, 32, 34, 35, 45, 46, 48, 57, 92, 123, 125, 0x84, 0x94,
                                               0x0A0D, 0x227B, 0xFFFF};
    return ReplaySeedListMain(argc, argv, "sie_import", 20261208, SieImportFuzzSeeds, interesting);
}
