// bench_frame.h - how the shell's benchmarks start: a fresh folder with
// the interface file the build made in reach of the probe and an empty
// company file, and the program brought up to its frame with that company
// open (and down again).
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>

#include <benchmark/benchmark.h>

#include "bench/bench_store.h"
#include "core/language_file.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/work_blocks.h"
#include "database/engine/engine.h"
#include "features/program_start.h"
#include "platform/display.h"
#include "platform/queue.h"
#include "platform/window.h"
#include "shell/database_open.h"
#include "shell/shell.h"
#include "shell/window_table.h"

// The folder and company of one benchmark program, removed at its end.
struct BenchWorkplace {
    std::filesystem::path dir;
    std::string company;
    explicit BenchWorkplace(const char *name)
    {
        std::string error;
        DisplayOpen(PlDisplayKind::Headless, &error);
        std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe").parent_path();
        LangFileSetDirectories({exe.string(), exe.parent_path().string()});
        dir = std::filesystem::temp_directory_path() / ("orvel_bench_" + std::string(name) + "_" + std::to_string(getpid()));
        std::filesystem::create_directories(dir);
        std::filesystem::current_path(dir);
        company = (dir / "bench.VDB").string();
        D4Create(company.c_str(), 0);
        D4Close();
    }
    ~BenchWorkplace() { std::filesystem::remove_all(dir); }
};

// Whether a frame is up: a group of benchmarks that keeps one for all of
// them leaves it to bench/main.cpp, which takes it down at the end.
inline bool BenchFrameIsUp = false;

// The program up to its frame with the workplace's company open; false
// when it cannot run (the caller skips).
inline bool BenchFrameUp(const BenchWorkplace &w)
{
    WinResetAll();
    ShellStateReset();
    std::string why;
    BenchFrameIsUp = true;   // taken down at the end even when it failed half-way
    ProgramInstall();
    if (!AllocWorkBlocks() || !InitInstance(StartOptions{}, &why)) return false;
    PString path;
    PStringFromC(path, w.company.c_str());
    return DbOpen(path, 0);
}

// Takes the frame down again; open windows go first, unasked.
inline void BenchFrameDown()
{
    for (int n = WinFirst; n <= WinLast; n++) WinClose(n);
    WinDestroy(FrameWindow);
    FrameCleanup();
    MsgClear();
    BenchFrameIsUp = false;
}

// Opens a company file of the workplace, made empty first when `fresh`;
// false when it cannot be opened.
inline bool BenchCompanyReopen(const std::string &path, bool fresh)
{
    if (DbOpenFlag) DbClose();
    if (fresh) {
        std::filesystem::remove(path);
        if (D4Create(path.c_str(), 0) != D4OpenOk || !D4Close()) return false;
    }
    PString p;
    PStringFromC(p, path.c_str());
    return DbOpen(p, 0);
}

