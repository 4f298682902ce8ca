// replay_bank_import_main.cpp - runs the bank-payment import fuzz target
// without libFuzzer: over the corpus, then over mutations of the files
// the target itself builds; the target's own checks catch what the
// sanitizers do not.
//
//   fuzz_bank_import_replay CORPUS_DIR [MUTATIONS]
//   fuzz_bank_import_replay --write-seeds DIR
#include <cstdint>
#include <vector>

#include "fuzz/replay_driver.h"

std::vector<std::vector<uint8_t>> BankImportFuzzSeeds();

int main(int argc, char **argv) {
    // Bytes that matter to the reader: the record types, digits, blank,
    // TAB, CR, LF, letters inside digit fields, control bytes.
    static constexpr uint32_t interesting[] = {0, 1, 9, 10, 13, 32, 48, 49, 51, 57, 65, 0x0A0D, 0xFFFF};
    return ReplaySeedListMain(argc, argv, "bank_import", 20261207, BankImportFuzzSeeds, interesting);
}
