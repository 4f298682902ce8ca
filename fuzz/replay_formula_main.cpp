// replay_formula_main.cpp - runs the formula fuzz target without
// libFuzzer: over the corpus, then over mutations of its seed formulas.
//
//   fuzz_formula_replay CORPUS_DIR [MUTATIONS]
//   fuzz_formula_replay --write-seeds DIR
#include <cstdint>
#include <vector>

#include "fuzz/replay_driver.h"

std::vector<std::vector<uint8_t>> FormulaFuzzSeeds();

int main(int argc, char **argv) {
    // Bytes the scanner treats apart: quotes, comment marks, parentheses,
    // commas, operators, line ends, the zero byte, letters of names.
    static constexpr uint32_t interesting[] = {0, '\r', '\n', '!', '"', '\'', '(', ')', ',', '-', '+', '*',
                                               '/', '&', '<', '>', '=', 'A', 'z', '_', '.', '9', 175, 191, 255};
    return ReplaySeedListMain(argc, argv, "formula", 20261207, FormulaFuzzSeeds, interesting);
}
