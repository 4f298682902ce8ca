// replay_calc_main.cpp - runs the calculation-request fuzz target without
// libFuzzer (through replay_driver.h): over the corpus, then over
// mutations of one valid request per sub-request that the target builds;
// the target's own checks catch what the sanitizers do not.
//
//   fuzz_calc_replay CORPUS_DIR [MUTATIONS]
//   fuzz_calc_replay --write-seeds DIR
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/replay_driver.h"

std::vector<std::vector<uint8_t>> CalcFuzzSeeds();

namespace {

// One to four edits where the sub-request, the register, the rows length
// and the row number live: values that matter to the checks written at
// any offset in widths 1, 2 or 4, cuts, and inserted bytes.
ReplayBytes Mutate(const ReplayBytes &valid, std::mt19937 &rng) {
    static constexpr uint32_t interesting[] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 11, 45, 55, 132, 255, 256, 342, 348,
                                               696, 0x7FFF, 0xFFFF, 0x7FFFFFFF, 0xFFFFFFFE, 0xFFFFFFFF};
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
    std::vector<ReplayBytes> seeds = CalcFuzzSeeds();
    for (size_t i = 0; i < seeds.size(); i++) out->push_back({"seed" + std::to_string(i) + ".msg", seeds[i]});
    return true;
}

bool Valid(std::vector<ReplayBytes> *out) {
    *out = CalcFuzzSeeds();
    return true;
}

}  // namespace

int main(int argc, char **argv) {
    static constexpr ReplayTarget target{"calc", 20240615, Seeds, Valid, Mutate, nullptr};
    return ReplayMain(argc, argv, target);
}
