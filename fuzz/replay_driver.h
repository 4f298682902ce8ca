// replay_driver.h - the part of a fuzz target's replay program that every
// target shares: the command line, the walk over the corpus, the seed
// writer and the loop over mutations of valid inputs. A target's replay
// program fills a ReplayTarget with what differs (its valid inputs, how
// it mutates them) and hands it to ReplayMain.
//
//   PROGRAM CORPUS_DIR [MUTATIONS]
//       runs the target over every file of CORPUS_DIR (at least one is
//       needed), then over MUTATIONS (default 3000) mutations of the
//       valid inputs, taken in turn; the sanitizers of the test build
//       catch any fault.
//   PROGRAM --write-seeds DIR
//       writes the target's seed files of the corpus into DIR.
#pragma once

#include <cstddef>
#include <cstdint>
#include <random>
#include <span>
#include <string>
#include <vector>

using ReplayBytes = std::vector<uint8_t>;

// One seed file of a corpus: its name in the corpus folder and its bytes.
struct ReplaySeed {
    std::string name;
    ReplayBytes bytes;
};

// What one target's replay program supplies.
struct ReplayTarget {
    const char *name;   // first word of the summary line ("interface")
    uint32_t rngSeed;   // of the mutation generator, so that runs repeat
    // The seed files of the corpus; false (having said why, if it can)
    // when they cannot be made.
    bool (*seeds)(std::vector<ReplaySeed> *out);
    // The valid inputs that mutations start from (at least one); false
    // (having said why) when they cannot be made.
    bool (*valid)(std::vector<ReplayBytes> *out);
    // One mutation of a valid input.
    ReplayBytes (*mutate)(const ReplayBytes &valid, std::mt19937 &rng);
    // Optional: whether the target's reader takes a mutated input. When
    // given, the summary line counts the inputs taken and refused.
    bool (*accepts)(const ReplayBytes &input);
};

// Runs the replay program for a target; returns main's exit code (0 done,
// 1 failed, 2 bad command line).
int ReplayMain(int argc, char **argv, const ReplayTarget &target);

// A number below n drawn from rng; 0 when n is 0.
size_t ReplayPick(std::mt19937 &rng, size_t n);

// Writes a value at byte `at` of input in 1, 2 or 4 bytes, low byte first
// and cut short at the input's end: a random value once in `randomOneIn`
// draws, otherwise one of `interesting` (values that matter to the
// reader's checks).
void ReplayPoke(ReplayBytes &input, size_t at, std::span<const uint32_t> interesting, size_t randomOneIn,
                std::mt19937 &rng);

// Runs the replay program of a target whose valid inputs are its own seed
// list: the corpus seeds are named seedN.msg, and each mutation makes one
// to four edits of a seed (a cut, inserted bytes, or a value of
// `interesting` poked at any offset in width 1, 2 or 4).
int ReplaySeedListMain(int argc, char **argv, const char *name, uint32_t rngSeed,
                       std::vector<ReplayBytes> (*seeds)(), std::span<const uint32_t> interesting);
