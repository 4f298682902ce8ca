// bench_company.h - how the business rules' benchmarks start: the
// interface file the build compiled, the work blocks, and a fresh company
// file in the temporary folder with its settings blocks bound.
#pragma once

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <cstdlib>
#include <string>
#include <vector>

#include "core/interface_load.h"
#include "core/language_file.h"
#include "core/system.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/settings_binding.h"
#include "database/engine/engine.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "outputwin/output_windows_install.h"

// Loads the interface file the build made, probed beside the program, in
// the build folder above it and in the working folder; false (the reason
// on stderr) when none loads.
// The output layer as the program's start leaves it: the prints the
// business layer asks for, its own runs, and the windows it reaches
// through its table (the preview device, the export dialog).
inline void BenchOutputInstall() {
    RepOutputInit();
    OutputInstall();
    OutputWindowEntriesInstall();
}

inline bool BenchLoadInterface() {
    std::error_code ec;
    std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec).parent_path();
    LangFileSetDirectories({exe.string(), exe.parent_path().string(), ""});
    std::string error;
    if (LoadDefinitions(&error)) return true;
    std::fprintf(stderr, "%s\n", error.c_str());
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
