// replay_text_import_main.cpp - runs the text import fuzz target without
// libFuzzer: over the corpus, then over mutations of the import files the
// target itself builds; the target's own checks catch what the sanitizers
// do not. It fails too when no input met the voucher lock the target
// sets, for then none of the lock's refusals was fuzzed.
//
//   fuzz_text_import_replay CORPUS_DIR [MUTATIONS]
//   fuzz_text_import_replay --write-seeds DIR
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "fuzz/replay_driver.h"

std::vector<std::vector<uint8_t>> TextImportFuzzSeeds();
uint32_t TextImportFuzzInputsMeetingTheLock();

int main(int argc, char **argv) {
    // Bytes that matter to the reader: TAB, LF, VT, CR, control bytes,
    // letters of the DOS and Windows code pages, digits and separators.
    static constexpr uint32_t interesting[] = {0, 1, 9, 10, 11, 13, 31, 32, 44, 45, 46, 48, 57, 0x84, 0x94, 0xE4, 0xFF,
                                               0x0A0D, 0x0909, 0xFFFF};
    int result = ReplaySeedListMain(argc, argv, "text_import", 20261207, TextImportFuzzSeeds, interesting);
    if (result != 0 || (argc > 1 && std::strcmp(argv[1], "--write-seeds") == 0)) return result;
    // The corpus holds vouchers dated in the lock the target sets: an input
    // that meets it shows that the lock's refusals are fuzzed at all.
    const uint32_t met = TextImportFuzzInputsMeetingTheLock();
    std::printf("text_import: %u inputs met the voucher lock\n", unsigned(met));
    if (met == 0) std::fprintf(stderr, "text_import: no input met the voucher lock the target sets\n");
    return met == 0 ? 1 : 0;
}
