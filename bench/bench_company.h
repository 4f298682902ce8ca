// bench_company.h - how the business rules' benchmarks start: the
// interface file the build compiled, the work blocks, and a fresh company
// file in the temporary folder with its settings blocks bound.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/interface_load.h"
#include "core/system.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/settings_binding.h"
#include "database/engine/engine.h"

// Loads QVENG.WIN from beside the program, from the build folder above
// it, or from the working folder; false (the reason on stderr) when none
// loads.
inline bool BenchLoadInterface() {
    char self[4096];
    ssize_t n = readlink("/proc/self/exe", self, sizeof self - 1);
    std::string dir = n > 0 ? std::string(self, (size_t)n) : std::string();
    dir = dir.substr(0, dir.find_last_of('/') + 1);
    for (const std::string &path : {dir + "QVENG.WIN", dir + "../QVENG.WIN", std::string("QVENG.WIN")}) {
        std::ifstream in(path, std::ios::binary);
        if (!in) continue;
        std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::string error;
        if (LoadDefinitionsFromBytes(file.data(), file.size(), &error, "QVENG.WIN")) return true;
        std::fprintf(stderr, "%s: %s\n", path.c_str(), error.c_str());
        return false;
    }
    std::fprintf(stderr, "QVENG.WIN not found\n");
    return false;
}

// The company file of benchmark `name` for this process.
inline std::string BenchCompanyPath(const char *name) {
    return "/tmp/orvel_bench_" + std::string(name) + "_" + std::to_string(getpid()) + ".VDB";
}

// Loads the interface, allocates the work blocks and creates the company
// file of `name` (run mode 0, settings bound); the file goes when the
// program ends. Once per program; false (the reason on stderr) when a
// step failed.
inline bool BenchCompanyOpen(const char *name) {
    static std::string path;
    if (!path.empty()) return D4IsOpen();
    path = BenchCompanyPath(name);
    if (!BenchLoadInterface() || !AllocWorkBlocks() || !DbLayerInit()) return false;
    RunMode = 0;
    std::remove(path.c_str());
    if (D4Create(path.c_str(), 0) != D4OpenOk || !SettingsStartup()) {
        std::fprintf(stderr, "%s: the company file could not be made\n", path.c_str());
        return false;
    }
    std::atexit([] {
        if (D4IsOpen()) D4Close();
        std::remove(path.c_str());
    });
    return true;
}
