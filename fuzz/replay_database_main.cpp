// replay_database_main.cpp - runs the database fuzz target without
// libFuzzer.
//
//   fuzz_database_replay CORPUS_DIR [MUTATIONS]
//       runs the target over every file of CORPUS_DIR (a missing or empty
//       directory is allowed), over valid databases made by the engine,
//       and then over MUTATIONS (default 2000) mutations of them; the
//       sanitizers of the test build catch any fault.
//   fuzz_database_replay --write-seeds DIR
//       writes the valid databases as seed files for libFuzzer.
#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "database/engine/engine.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);
void FuzzDatabaseSetup();
bool FuzzDatabaseSample(const std::string &path, int variant);

namespace {

constexpr int SampleVariants = 3;
constexpr size_t Sector = 512;

bool ReadFile(const std::string &path, std::vector<uint8_t> *bytes) {
    std::FILE *f = std::fopen(path.c_str(), "rb");
    if (!f) return false;
    bytes->clear();
    uint8_t buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes->insert(bytes->end(), buf, buf + n);
    std::fclose(f);
    return true;
}

bool WriteFile(const std::string &path, const std::vector<uint8_t> &bytes) {
    std::FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

// The valid sample databases, as bytes.
bool Samples(std::vector<std::vector<uint8_t>> *out) {
    std::string path = "/tmp/orvel_fuzz_seed_" + std::to_string(getpid()) + ".VDB";
    for (int v = 0; v < SampleVariants; v++) {
        std::vector<uint8_t> bytes;
        if (!FuzzDatabaseSample(path, v) || !ReadFile(path, &bytes)) {
            std::fprintf(stderr, "sample %d could not be made\n", v);
            return false;
        }
        out->push_back(std::move(bytes));
    }
    std::remove(path.c_str());
    return true;
}

// One to four edits where the structures keep their numbers: header
// fields, the heads of items and chains, node counts and entries; values
// that matter to the checks (none, chain end, pointers just inside and
// outside the file, counts at and past their limits); sectors copied
// over others (shared or looping structures), cut or grown files.
std::vector<uint8_t> Mutate(const std::vector<uint8_t> &valid, std::mt19937 &rng) {
    std::vector<uint8_t> f = valid;
    auto pick = [&](size_t n) { return n == 0 ? 0 : (size_t)(rng() % n); };
    size_t sectors = f.size() / Sector;
    const uint32_t end = (uint32_t)(sectors * Sector);
    const uint32_t interesting[] = {0, 1, 2, 4, 7, 8, 29, 30, 31, 32, 50, 51, 62, 63, 124, 125, 494, 495, 504,
                                    505, 512, 1024, end - 512, end, end + 512, 0x7FFF, 0x8000, 0xFFFF,
                                    0x80000000u, 0xFFFFFC00u, 0xFFFFFFFEu, 0xFFFFFFFFu};
    static const int headerFields[] = {0, 2, 6, 10, 14, 18, 22, 26, 30, 34, 38, 42, 44, 48, 96};
    int edits = 1 + (int)pick(4);
    for (int e = 0; e < edits && !f.empty(); e++) {
        size_t at;
        switch (pick(10)) {
        case 0:  // a header field
            at = (size_t)headerFields[pick(sizeof headerFields / sizeof *headerFields)];
            break;
        case 1:  // cut the file
            f.resize(pick(f.size() + 1));
            continue;
        case 2:  // grow it by a few sectors of one byte value
            f.insert(f.end(), Sector * (1 + pick(3)), (uint8_t)pick(256));
            continue;
        case 3:  // one sector copied over another
            if (sectors >= 3) {
                size_t from = 1 + pick(sectors - 1), to = 1 + pick(sectors - 1);
                if (to * Sector + Sector <= f.size())
                    std::memcpy(&f[to * Sector], &valid[from * Sector], Sector);
            }
            continue;
        case 4:  // anywhere
            at = pick(f.size());
            break;
        default:  // the head of a sector, where counts and pointers live
            at = (1 + pick(sectors > 1 ? sectors - 1 : 1)) * Sector + pick(30);
            break;
        }
        uint32_t v = pick(4) == 0 ? (uint32_t)rng() : interesting[pick(sizeof interesting / sizeof *interesting)];
        size_t width = (size_t)1 << pick(3);
        for (size_t k = 0; k < width && at + k < f.size(); k++) f[at + k] = (uint8_t)(v >> (8 * k));
    }
    return f;
}

int WriteSeeds(const std::string &dir) {
    std::vector<std::vector<uint8_t>> samples;
    if (!Samples(&samples)) return 1;
    for (size_t i = 0; i < samples.size(); i++)
        if (!WriteFile(dir + "/sample" + std::to_string(i) + ".VDB", samples[i])) return 1;
    std::vector<uint8_t> cut(samples.back().begin(), samples.back().begin() + (long)samples.back().size() / 2);
    return WriteFile(dir + "/truncated.VDB", cut) ? 0 : 1;
}

}  // namespace

int main(int argc, char **argv) {
    if (argc == 3 && std::strcmp(argv[1], "--write-seeds") == 0) return WriteSeeds(argv[2]);
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s CORPUS_DIR [MUTATIONS] | --write-seeds DIR\n", argv[0]);
        return 2;
    }
    int mutations = argc == 3 ? std::atoi(argv[2]) : 2000;
    FuzzDatabaseSetup();

    int files = 0;
    if (DIR *dir = opendir(argv[1])) {
        while (dirent *e = readdir(dir)) {
            if (e->d_name[0] == '.') continue;
            std::vector<uint8_t> bytes;
            if (!ReadFile(std::string(argv[1]) + "/" + e->d_name, &bytes)) continue;
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            files++;
        }
        closedir(dir);
    }

    std::vector<std::vector<uint8_t>> samples;
    if (!Samples(&samples)) return 1;
    for (const std::vector<uint8_t> &s : samples) LLVMFuzzerTestOneInput(s.data(), s.size());
    std::mt19937 rng(20240612);
    int opened = 0, damaged = 0;
    for (int i = 0; i < mutations; i++) {
        const std::vector<uint8_t> &base = samples[(size_t)i % samples.size()];
        std::vector<uint8_t> f = Mutate(base, rng);
        LLVMFuzzerTestOneInput(f.data(), f.size());
        // Tally what the engine made of it (the target closed it again).
        std::string path = "/tmp/orvel_fuzz_tally_" + std::to_string(getpid()) + ".VDB";
        if (WriteFile(path, f) && D4Open(path.c_str(), 0) == D4OpenOk) {
            opened++;
            damaged += D4DamagedMode();
            D4Close();
        }
        std::remove(path.c_str());
    }
    std::printf("database replay: %d corpus files, %d samples, %d mutations (%d opened, %d of them damaged, %d "
                "refused)\n",
                files, (int)samples.size(), mutations, opened, damaged, mutations - opened);
    return 0;
}
