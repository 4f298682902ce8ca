// replay_sie_import_main.cpp - runs the SIE import fuzz target without
// libFuzzer: over the corpus, then over mutations of the import files the
// target itself builds; the target's own checks catch what the sanitizers
// do not. It fails too when no input met the voucher lock the target
// sets, for then none of the lock's refusals was fuzzed.
//
//   fuzz_sie_import_replay CORPUS_DIR [MUTATIONS]
//   fuzz_sie_import_replay --write-seeds DIR
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "fuzz/replay_driver.h"

std::vector<std::vector<uint8_t>> SieImportFuzzSeeds();
uint32_t SieImportFuzzInputsMeetingTheLock();

int main(int argc, char **argv) {
    // Bytes that matter to the SIE reader: TAB, LF, CR, blank, quotation
    // mark, backslash, braces, '#', sign and point, digits, DOS letters.
    static constexpr uint32_t interesting[] = {0, 9, 10, 13, 32, 34, 35, 45, 46, 48, 57, 92, 123, 125, 0x84, 0x94,
                                               0x0A0D, 0x227B, 0xFFFF};
    int result = ReplaySeedListMain(argc, argv, "sie_import", 20261208, SieImportFuzzSeeds, interesting);
    if (result != 0 || (argc > 1 && std::strcmp(argv[1], "--write-seeds") == 0)) return result;
    // The corpus holds vouchers dated in the lock the target sets: an input
    // that meets it shows that the lock's refusals are fuzzed at all.
    const uint32_t met = SieImportFuzzInputsMeetingTheLock();
    std::printf("sie_import: %u inputs met the voucher lock\n", unsigned(met));
    if (met == 0) std::fprintf(stderr, "sie_import: no input met the voucher lock the target sets\n");
    return met == 0 ? 1 : 0;
}
