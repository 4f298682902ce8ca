// replay_message_main.cpp - runs the message fuzz target without libFuzzer
// (through replay_driver.h): over the corpus, then over mutations of the
// valid replies and frames that the target itself builds; the target's
// own checks catch what the sanitizers do not.
//
//   fuzz_message_replay CORPUS_DIR [MUTATIONS]
//   fuzz_message_replay --write-seeds DIR
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/replay_driver.h"

std::vector<std::vector<uint8_t>> MessageFuzzSeeds();

namespace {

// One to four edits where length words and counts live: values that
// matter to the checks written at any offset in widths 1, 2 or 4, cuts,
// and inserted bytes.
ReplayBytes Mutate(const ReplayBytes &valid, std::mt19937 &rng) {
    static constexpr uint32_t interesting[] = {0, 1, 2, 3, 4, 5, 6, 14, 15, 16, 132, 133, 255, 256, 0x7FFF,
                                               0x8000, 0xFFFE, 0xFFFF, 0x10000, 0x7FFFFFFF, 0xFFFFFFFE, 0xFFFFFFFF};
    ReplayBytes m = valid;
    int edits = 1 + (int)ReplayPick(rng, 4);
    for (int e = 0; e < edits; e++) {
        switch (ReplayPick(rng, 6)) {
        case 0:
            m.resize(ReplayPick(rng, m.size() + 1));
            continue;
        case 1:
            m.insert(m.begin() + (long)ReplayPick(rng, m.size() + 1), 1 + ReplayPick(rng, 6), (uint8_t)rng());
            continue;
        default:
            break;
        }
        if (m.empty()) continue;
        ReplayPoke(m, ReplayPick(rng, m.size()), interesting, 4, rng);
    }
    return m;
}

bool Seeds(std::vector<ReplaySeed> *out) {
    std::vector<ReplayBytes> seeds = MessageFuzzSeeds();
    for (size_t i = 0; i < seeds.size(); i++) out->push_back({"seed" + std::to_string(i) + ".msg", seeds[i]});
    return true;
}

bool Valid(std::vector<ReplayBytes> *out) {
    *out = MessageFuzzSeeds();
    return true;
}

}  // namespace

int main(int argc, char **argv) {
    static constexpr ReplayTarget target{"message", 20240612, Seeds, Valid, Mutate, nullptr};
    return ReplayMain(argc, argv, target);
}
