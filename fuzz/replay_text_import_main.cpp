// replay_text_import_main.cpp - runs the text import fuzz target without
// libFuzzer: over the corpus, then over mutations of the import files the
// target itself builds; the target's own checks catch what the sanitizers
// do not.
//
//   fuzz_text_import_replay CORPUS_DIR [MUTATIONS]
//   fuzz_text_import_replay --write-seeds DIR
#include <cstdint>
#include <vector>

#include "fuzz/replay_driver.h"

std::vector<std::vector<uint8_t>> TextImportFuzzSeeds();

int main(int argc, char **argv) {
    // Bytes that matter to the reader: TAB, LF, VT, CR, control bytes,
    // letters of the DOS and Windows code pages, digits and separators.
    static constexpr uint32_t interesting[] = {0, 1, 9, 10, 11, 13, 31, 32, 44, 45, 46, 48, 57, 0x84, 0x94, 0xE4, 0xFF,
                                               0x0A0D, 0x0909, 0xFFFF};
    return ReplaySeedListMain(argc, argv, "text_import", 20261207, TextImportFuzzSeeds, interesting);
}
