// replay_driver.cpp - runs a fuzz target without libFuzzer: the corpus
// walk, the seed writer and the mutation loop that every replay program
// shares (see replay_driver.h).
#include "fuzz/replay_driver.h"

#include <dirent.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

namespace {

bool ReadFile(const std::string &path, ReplayBytes *bytes) {
    std::FILE *f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    bytes->clear();
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes->insert(bytes->end(), buf, buf + n);
    std::fclose(f);
    return true;
}

bool WriteFile(const std::string &path, const ReplayBytes &bytes) {
    std::FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

int WriteSeeds(const ReplayTarget &target, const std::string &dir) {
    std::vector<ReplaySeed> seeds;
    if (!target.seeds(&seeds)) return 1;
    for (const ReplaySeed &s : seeds)
        if (!WriteFile(dir + "/" + s.name, s.bytes)) return 1;
    return 0;
}

// Runs the target over every file of the folder; gives how many there were.
int RunCorpus(const char *folder) {
    int files = 0;
    if (DIR *dir = opendir(folder)) {
        while (dirent *e = readdir(dir)) {
            if (e->d_name[0] == '.') continue;
            ReplayBytes bytes;
            if (!ReadFile(std::string(folder) + "/" + e->d_name, &bytes)) continue;
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            files++;
        }
        closedir(dir);
    }
    return files;
}

}  // namespace

size_t ReplayPick(std::mt19937 &rng, size_t n) { return n == 0 ? 0 : (size_t)(rng() % n); }

void ReplayPoke(ReplayBytes &input, size_t at, std::span<const uint32_t> interesting, size_t randomOneIn,
                std::mt19937 &rng) {
    uint32_t v = ReplayPick(rng, randomOneIn) == 0 ? (uint32_t)rng() : interesting[ReplayPick(rng, interesting.size())];
    size_t width = (size_t)1 << ReplayPick(rng, 3);
    for (size_t k = 0; k < width && at + k < input.size(); k++) input[at + k] = (uint8_t)(v >> (8 * k));
}

int ReplayMain(int argc, char **argv, const ReplayTarget &target) {
    if (argc == 3 && std::strcmp(argv[1], "--write-seeds") == 0) return WriteSeeds(target, argv[2]);
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR [MUTATIONS] | --write-seeds DIR\n", argv[0]);
        return 2;
    }
    int mutations = argc == 3 ? std::atoi(argv[2]) : 3000;

    int files = RunCorpus(argv[1]);
    if (files == 0) {
        std::fprintf(stderr, "no corpus files in %s\n", argv[1]);
        return 1;
    }

    std::vector<ReplayBytes> valid;
    if (!target.valid(&valid)) return 1;
    if (valid.empty()) {
        std::fprintf(stderr, "%s replay: no valid input to mutate\n", target.name);
        return 1;
    }
    std::mt19937 rng(target.rngSeed);
    int accepted = 0;
    for (int i = 0; i < mutations; i++) {
        ReplayBytes m = target.mutate(valid[(size_t)i % valid.size()], rng);
        LLVMFuzzerTestOneInput(m.data(), m.size());
        if (target.accepts && target.accepts(m)) accepted++;
    }
    std::printf("%s replay: %d corpus files, %d mutations", target.name, files, mutations);
    if (target.accepts) std::printf(" (%d loaded, %d refused)", accepted, mutations - accepted);
    std::printf("\n");
    return 0;
}

namespace {

// The seed-list target being run; a replay program runs one target, so
// plain file state suffices for the function pointers of ReplayTarget.
std::vector<ReplayBytes> (*g_seedList)();
std::span<const uint32_t> g_interesting;

bool SeedListSeeds(std::vector<ReplaySeed> *out) {
    std::vector<ReplayBytes> seeds = g_seedList();
    for (size_t i = 0; i < seeds.size(); i++) out->push_back({"seed" + std::to_string(i) + ".msg", seeds[i]});
    return true;
}

bool SeedListValid(std::vector<ReplayBytes> *out) {
    *out = g_seedList();
    return true;
}

ReplayBytes SeedListMutate(const ReplayBytes &valid, std::mt19937 &rng) {
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
        ReplayPoke(m, ReplayPick(rng, m.size()), g_interesting, 4, rng);
    }
    return m;
}

}  // namespace

int ReplaySeedListMain(int argc, char **argv, const char *name, uint32_t rngSeed,
                       std::vector<ReplayBytes> (*seeds)(), std::span<const uint32_t> interesting) {
    g_seedList = seeds;
    g_interesting = interesting;
    const ReplayTarget target{name, rngSeed, SeedListSeeds, SeedListValid, SeedListMutate, nullptr};
    return ReplayMain(argc, argv, target);
}
