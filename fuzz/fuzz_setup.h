// fuzz_setup.h - what the fuzz targets that work on a company share: a
// quiet message sink, the built interface (QVENG.WIN in the working
// folder), the work blocks, a scratch folder of the process's own for a
// new company, removed at exit, and an import run from memory. Header
// only, as the libFuzzer builds link no replay code.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "core/field_access.h"
#include "core/interface_load.h"
#include "core/message_sink.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/settings_binding.h"
#include "database/engine/engine.h"
#include "dict_offsets.h"
#include "exchange/text_exchange.h"
#include "output/output_job.h"
#include "rules/ledger.h"
#include "shell/database_open.h"

namespace fuzzsetup {

// Ends the run at a broken expectation: a fault the fuzzer reports.
inline void Check(bool ok) {
    if (!ok) std::abort();
}

// The scratch folder of the company; empty until Start.
inline std::filesystem::path &Folder() {
    static std::filesystem::path folder;
    return folder;
}

inline void RemoveFolder() {
    if (D4IsOpen()) D4Close();
    std::error_code ec;
    if (!Folder().empty()) std::filesystem::remove_all(Folder(), ec);
}

inline void Quiet(const char *) {}

// Once a process: the quiet sink, the built interface, the work blocks and
// the scratch folder, named `prefix` and the process id.
inline void Start(const std::string &prefix) {
    MessageSinkSet(Quiet);
    std::ifstream in("QVENG.WIN", std::ios::binary);
    std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::string error;
    Check(!file.empty() && LoadDefinitionsFromBytes(file.data(), file.size(), &error, "QVENG.WIN"));
    if (!LoggedInUser) Check(AllocWorkBlocks());
    Folder() = std::filesystem::temp_directory_path() / (prefix + std::to_string(getpid()));
    std::atexit(RemoveFolder);
}

// A new, empty company in the scratch folder, in place of one made before.
inline void FreshCompany() {
    RemoveFolder();
    std::filesystem::create_directories(Folder());
    Check(D4Create((Folder() / "company.VDB").c_str(), 0) == D4OpenOk);
    Check(SettingsStartup());
}

// Before each input of a target that reads into a company: the start
// once a process, then install() (the hooks the target needs), and a new
// company for every InputsPerCompany inputs, so that what earlier inputs
// stored neither grows without end nor hides what a fresh company meets.
// True when the company is new.
constexpr int InputsPerCompany = 200;
inline bool BeforeInput(const std::string &prefix, void (*install)()) {
    static bool started = false;
    static int inputs = 0;
    if (!started) {
        started = true;
        Start(prefix);
        install();
    }
    if (inputs++ % InputsPerCompany != 0) return false;
    FreshCompany();
    return true;
}

// The voucher lock ("Vouchers locked to") at date, stored as its settings
// window stores it: an import target sets it before each input, so that
// its seeds' vouchers fall on both sides of it and the refusals of a
// date in the lock are fuzzed beside the stores, whatever lock an earlier
// input's file left.
// The import targets' lock: the end of 2023, before every date of their
// older seeds and after the seeds' own locked vouchers.
constexpr DateRec SeedVoucherLock{31, 12, 2023};
inline void SetVoucherLock(const DateRec &date) {
    uint8_t locks[DateLockBlk::Size] = {};
    PutDate(locks, DateLockBlk::LedgerLock, date);
    Check(SettingsBlockStore(DateLockBlk::Number, locks, sizeof locks) == RecDone);
}

// Whether the import just run left out a record dated in the lock the
// target set (SeedVoucherLock) and not in one a file of its own stored:
// the replays count such inputs, so that seeds that reach no refusal of
// the lock fail them.
inline bool ImportMetTheSeedLock() {
    return LockedVouchers.count != 0 && DateCompare(&ImportResult.voucherLockAtStart, &SeedVoucherLock) == 0;
}

// Imports n bytes from memory as the import command does: import `number`
// from a job of the input's own, attached while the import runs (its steps
// read it), then the source closed.
inline void ImportFromMemory(uint16_t number, const uint8_t *bytes, uint32_t n) {
    OwnedJob own;
    PutU16(own.job.selection, ReportParamsVc::OutputKind, ImportSourceMemory);
    PutU16(own.job.selection, ReportParamsVc::ReportNumber, number);
    OutputJobAttach attached(own.job);
    ImportMemorySource(bytes, n);
    ImportRun();
    ImportFileClose();
}

}  // namespace fuzzsetup
