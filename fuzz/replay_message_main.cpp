// replay_message_main.cpp - runs the message fuzz target without libFuzzer.
//
//   fuzz_message_replay CORPUS_DIR [MUTATIONS]
//       runs the target over every file of CORPUS_DIR, then over MUTATIONS
//       (default 3000) mutations of valid replies and frames that the
//       target itself builds; the sanitizers of the test build and the
//       target's own checks catch any fault.
//   fuzz_message_replay --write-seeds DIR
//       writes those valid messages as the seed files of the corpus.
#include <dirent.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);
std::vector<std::vector<uint8_t>> MessageFuzzSeeds();

namespace {

using Bytes = std::vector<uint8_t>;

// One to four edits where length words and counts live: values that
// matter to the checks written at any offset in widths 1, 2 or 4, cuts,
// and inserted bytes.
Bytes Mutate(const Bytes &valid, std::mt19937 &rng) {
    static const uint32_t interesting[] = {0, 1, 2, 3, 4, 5, 6, 14, 15, 16, 132, 133, 255, 256, 0x7FFF,
                                           0x8000, 0xFFFE, 0xFFFF, 0x10000, 0x7FFFFFFF, 0xFFFFFFFE, 0xFFFFFFFF};
    Bytes m = valid;
    auto pick = [&](size_t n) { return n == 0 ? 0 : (size_t)(rng() % n); };
    int edits = 1 + (int)pick(4);
    for (int e = 0; e < edits; e++) {
        switch (pick(6)) {
        case 0:
            m.resize(pick(m.size() + 1));
            continue;
        case 1:
            m.insert(m.begin() + (long)pick(m.size() + 1), 1 + pick(6), (uint8_t)rng());
            continue;
        default:
            break;
        }
        if (m.empty()) continue;
        size_t at = pick(m.size());
        uint32_t v = pick(4) == 0 ? (uint32_t)rng() : interesting[pick(sizeof interesting / sizeof *interesting)];
        size_t width = (size_t)1 << pick(3);
        for (size_t k = 0; k < width && at + k < m.size(); k++) m[at + k] = (uint8_t)(v >> (8 * k));
    }
    return m;
}

bool ReadFile(const std::string &path, Bytes *bytes) {
    std::FILE *f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    bytes->clear();
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes->insert(bytes->end(), buf, buf + n);
    std::fclose(f);
    return true;
}

int WriteSeeds(const std::string &dir) {
    std::vector<Bytes> seeds = MessageFuzzSeeds();
    for (size_t i = 0; i < seeds.size(); i++) {
        std::string path = dir + "/seed" + std::to_string(i) + ".msg";
        std::FILE *f = std::fopen(path.c_str(), "wb");
        if (!f) return 1;
        bool ok = std::fwrite(seeds[i].data(), 1, seeds[i].size(), f) == seeds[i].size();
        if (std::fclose(f) != 0 || !ok) return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc == 3 && std::strcmp(argv[1], "--write-seeds") == 0) return WriteSeeds(argv[2]);
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR [MUTATIONS] | --write-seeds DIR\n", argv[0]);
        return 2;
    }
    int mutations = argc == 3 ? std::atoi(argv[2]) : 3000;
    int files = 0;
    if (DIR *dir = opendir(argv[1])) {
        while (dirent *e = readdir(dir)) {
            if (e->d_name[0] == '.') continue;
            Bytes bytes;
            if (!ReadFile(std::string(argv[1]) + "/" + e->d_name, &bytes)) continue;
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            files++;
        }
        closedir(dir);
    }
    if (files == 0) {
        std::fprintf(stderr, "no corpus files in %s\n", argv[1]);
        return 1;
    }
    std::vector<Bytes> seeds = MessageFuzzSeeds();
    std::mt19937 rng(20240612);
    for (int i = 0; i < mutations; i++) {
        Bytes m = Mutate(seeds[(size_t)i % seeds.size()], rng);
        LLVMFuzzerTestOneInput(m.data(), m.size());
    }
    std::printf("message replay: %d corpus files, %d mutations\n", files, mutations);
    return 0;
}
