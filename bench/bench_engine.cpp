// bench_engine.cpp - the database engine against SQLite 3 on the same
// workloads, in the same run: 300-byte records with three indexes (a
// 4-byte serial number, a 20-character code, a date) and the same cache
// in bytes on every side: the engine's sector cache and SQLite's page
// cache (PRAGMA cache_size in KiB) both get CacheBytes(), by default the
// budget the program itself gives the engine (DbMemoryBudget, 16 MB);
// ORVEL_BENCH_CACHE=<bytes> sets another size for both. Every workload
// reports it as cache_mb.
//
// Writing workloads run against two SQLite peers: its rollback journal
// and its write-ahead log, both with synchronous=FULL when syncing (the
// log then syncs once per commit and is as durable as the engine's hold),
// or with syncing off on every side. Each reports the engine's time (the
// reported time), sqlite_s and wal_s, ratio = sqlite_s / engine time and
// ratio_wal = wal_s / engine time (above 1: the engine is faster), the
// engine's syncs per hold and the 4 KB pages its one-sync commits name
// per hold, and its file afterwards: file_mb, and used_mb below the
// logical end (the file grows ahead of it in steps). The whole-file check
// runs after each. Single inserts and key-changing updates and deletes
// run in files of 10,000, 100,000 and 1,000,000 records.
//
// Reading workloads (point finds, the ordered walk, reads by position)
// run at 100,000 and 1,000,000 records, and the open alone (the engine's
// open; SQLite's open and its first statement, which reads the schema)
// at 10,000, 100,000 and 1,000,000, on files built once per size; after
// its timed open the engine's child reads 1,000 records by position,
// untimed, and engine_reads_peak_mb and engine_reads_file_mb give its
// peak and mapped resident size after those reads.
// Each side reads in a fresh process of this program (started with
// --child), so that its peak memory is its own: the counters *_peak_mb
// give that process's peak resident size (VmHWM, which includes the pages
// of a mapped file it touched, and the program's own baseline), and
// *_file_mb and *_anon_mb the parts of the resident size at the end that
// were file pages (the program, its libraries and a mapped database) and
// private memory; base_* are those of a child that only starts, the
// share of every figure that is not the workload's. engine_private_mb and
// engine_mapped_mb split the engine's resident size beyond that share into
// its private memory and the file pages of its read mapping.
// Journal mode does not matter there: both SQLite modes read the same
// pages of a database whose log is empty.
//
// Full runs (ORVEL_BENCH_FULL, set by scripts/bench) use the full sizes;
// smoke runs a 1,000th of them (and at most 2,000 records for the reading
// sizes) as a quick check.
//
// The engine reads the file's bytes through a read-only mapping of it
// (its sector cache stays at the size above). SQLite reads with pread
// by default; ORVEL_BENCH_SQLITE_MMAP=1 in the environment lets it map
// the file too (PRAGMA mmap_size), for the comparison of like with like.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/interface_load.h"
#include "core/interface_write.h"
#include "core/message_sink.h"
#include "core/system.h"
#include "database/engine/engine.h"
#include "bench/bench_sizes.h"

namespace {

const int Scale = BenchSize<int>(1, 1000);
const int Bulk = 100000 / Scale;
const int Single = 10000 / Scale;
const int Finds = 100000 / Scale;
const int Changes = 10000 / Scale;
const int EqualRun = 100000 / Scale;   // records sharing one date
const int EqualOps = 2000 / Scale;     // re-keys, then as many deletes
constexpr int Reg = 1;
constexpr uint32_t RecSize = 300;
constexpr int OffSerial = 0, OffCode = 4, OffDate = 26;

// The number of records of a reading workload of nominal size n.
int ReadSize(int n) { return Scale == 1 ? n : std::min(n / Scale, 2000); }

using Clock = std::chrono::steady_clock;
double Seconds(Clock::time_point a) { return std::chrono::duration<double>(Clock::now() - a).count(); }

// The cache of every side in bytes (see the file's head).
uint32_t CacheBytes() {
    static uint32_t bytes = [] {
        const char *v = std::getenv("ORVEL_BENCH_CACHE");
        long n = v ? std::atol(v) : 0;
        return n >= 65536 ? (uint32_t)n : (uint32_t)DbMemoryBudget();
    }();
    return bytes;
}

std::string Dir() { return "/tmp/orvel_bench_" + std::to_string(getpid()) + "_"; }

void LoadDictionary() {
    static bool loaded = false;
    if (loaded) return;
    InterfaceDefs d;
    for (int i = 0; i < 256; i++) d.collation[i] = d.readTable[i] = d.writeTable[i] = (uint8_t)i;
    RegisterDefSource r{};
    r.number = Reg;
    r.name = "BenchVc";
    r.recordSize = RecSize;
    auto index = [](const char *name, uint16_t head, uint16_t k, uint16_t type) {
        IndexDefSource x{};
        x.name = name;
        x.head = head;
        x.keyLength = k;
        x.maxEntries = (uint16_t)((504 - 6) / (k + 12));
        x.nodeSize = 504;
        x.parts.push_back(KeyPartDef{1, (uint32_t)(head == 2 ? OffSerial : head == 3 ? OffCode : OffDate), 0, k, type});
        return x;
    };
    r.indexes = {index("SerNr", 2, 4, 5), index("Code", 3, 22, 1), index("Date", 4, 6, 6)};
    d.registers.push_back(r);
    std::vector<uint8_t> bytes;
    std::string error;
    if (!InterfaceWrite(d, &bytes, &error) || !LoadDefinitionsFromBytes(bytes.data(), bytes.size(), &error)) {
        std::fprintf(stderr, "dictionary: %s\n", error.c_str());
        std::exit(1);
    }
    MessageSinkSet([](const char *text) { std::fprintf(stderr, "engine: %s\n", text); });
    loaded = true;
}

struct Row {
    uint32_t serial;
    char code[21];
    DateRec date;
    int32_t dateInt;
};

Row MakeRow(uint32_t i, uint32_t salt) {
    Row r;
    r.serial = i;
    std::snprintf(r.code, sizeof r.code, "C%08u", (i * 2654435761u + salt) % 100000000u);
    uint32_t day = (i * 7919u) % 3650;
    r.date = DateRec{(uint16_t)(1 + day % 28), (uint16_t)(1 + (day / 28) % 12), (uint16_t)(2015 + day / 336)};
    r.dateInt = r.date.year * 10000 + r.date.month * 100 + r.date.day;
    return r;
}

void PutRecord(uint8_t *rec, const Row &r) {
    std::memset(rec, 0, RecSize);
    std::memcpy(rec + OffSerial, &r.serial, 4);
    rec[OffCode] = (uint8_t)std::strlen(r.code);
    std::memcpy(rec + OffCode + 1, r.code, rec[OffCode]);
    std::memcpy(rec + OffDate, &r.date, 6);
    for (uint32_t i = 40; i < RecSize; i++) rec[i] = (uint8_t)(i + r.serial);
}

// ---- The sides ----

struct EngineSide {
    std::string path = Dir() + "engine.VDB";
    std::vector<uint32_t> ids;
    void Open(bool sync) {
        LoadDictionary();
        D4Init(CacheBytes());
        D4TestHooks = D4FileHooks{};
        D4TestHooks.skipSync = !sync;
        if (D4Create(path.c_str(), 0) != D4OpenOk) std::exit(1);
        D4TestHooks.syncsDone = 0;
    D4TestHooks.pagesCommitted = 0;
    }
    void Close() {
        D4Close();
        std::remove(path.c_str());
    }
    uint32_t Insert(const Row &r) {
        uint8_t rec[RecSize];
        PutRecord(rec, r);
        uint32_t id = 0;
        if (!D4RecordInsert(Reg, rec, &id)) std::exit(1);
        return id;
    }
};

struct SqliteSide {
    std::string path;
    sqlite3 *db = nullptr;
    sqlite3_stmt *insert = nullptr;
    void Exec(const char *sql) {
        char *err = nullptr;
        if (sqlite3_exec(db, sql, nullptr, nullptr, &err) != SQLITE_OK) {
            std::fprintf(stderr, "sqlite: %s\n", err);
            std::exit(1);
        }
    }
    sqlite3_stmt *Prepare(const char *sql) {
        sqlite3_stmt *s;
        if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK) std::exit(1);
        return s;
    }
    void Remove() {
        for (const char *suffix : {"", "-journal", "-wal", "-shm"}) std::remove((path + suffix).c_str());
    }
    // Opens the database at path (an existing one when create is false)
    // with the cache budget and the given journal and syncing.
    void Open(const std::string &file, bool sync, bool wal, bool create = true) {
        path = file;
        if (create) Remove();
        if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) std::exit(1);
        Exec(("PRAGMA cache_size=-" + std::to_string(CacheBytes() / 1024)).c_str());
        if (const char *m = std::getenv("ORVEL_BENCH_SQLITE_MMAP"); m && *m == '1') Exec("PRAGMA mmap_size=1073741824");
        if (wal) Exec("PRAGMA journal_mode=WAL");
        Exec(sync ? "PRAGMA synchronous=FULL" : "PRAGMA synchronous=OFF");
        if (create) {
            Exec("CREATE TABLE t(id INTEGER PRIMARY KEY, serial INTEGER, code TEXT, date INTEGER, rec BLOB)");
            Exec("CREATE INDEX t_serial ON t(serial)");
            Exec("CREATE INDEX t_code ON t(code)");
            Exec("CREATE INDEX t_date ON t(date)");
            insert = Prepare("INSERT INTO t(serial, code, date, rec) VALUES(?,?,?,?)");
        }
    }
    void Close(bool remove = true) {
        sqlite3_finalize(insert);
        insert = nullptr;
        sqlite3_close(db);
        db = nullptr;
        if (remove) Remove();
    }
    void Insert(const Row &r) {
        uint8_t rec[RecSize];
        PutRecord(rec, r);
        sqlite3_bind_int64(insert, 1, r.serial);
        sqlite3_bind_text(insert, 2, r.code, -1, SQLITE_STATIC);
        sqlite3_bind_int(insert, 3, r.dateInt);
        sqlite3_bind_blob(insert, 4, rec, RecSize, SQLITE_STATIC);
        if (sqlite3_step(insert) != SQLITE_DONE) std::exit(1);
        sqlite3_reset(insert);
    }
};

// The engine and both SQLite peers of a writing workload.
struct Sides {
    EngineSide e;
    SqliteSide rollback, wal;
    void Open(bool sync) {
        e.Open(sync);
        rollback.Open(Dir() + "peer.db", sync, false);
        wal.Open(Dir() + "peer_wal.db", sync, true);
    }
    void Close() {
        e.Close();
        rollback.Close();
        wal.Close();
    }
};

// What a timed piece of work cost: wall-clock and processor seconds,
// and the write requests and cache flushes the disk under the benchmark's
// files counted meanwhile (/sys/block/*/stat; other programs' requests
// count too, so read them as an upper bound on a shared machine).
struct Cost {
    double seconds = 0, cpu = 0;
    double writes = 0, flushes = 0;
};

double CpuSeconds() {
    timespec t;
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return (double)t.tv_sec + (double)t.tv_nsec / 1e9;
}

// The write requests and flushes counted so far by the block device that
// holds the benchmark's directory (0 when it cannot be found).
std::pair<double, double> DiskCounts() {
    static std::string statPath = [] {
        struct stat st;
        if (::stat("/tmp", &st) != 0) return std::string();
        char link[64];
        std::snprintf(link, sizeof link, "/sys/dev/block/%u:%u/stat", major(st.st_dev), minor(st.st_dev));
        return std::string(link);
    }();
    FILE *f = statPath.empty() ? nullptr : std::fopen(statPath.c_str(), "r");
    if (!f) return {0, 0};
    double v[17] = {};
    int n = 0;
    while (n < 17 && std::fscanf(f, "%lf", &v[n]) == 1) n++;
    std::fclose(f);
    return {v[4], n > 15 ? v[15] : 0};
}

// Times f (one side's share of a workload).
template <typename F> Cost Timed(F f) {
    auto [w0, f0] = DiskCounts();
    double c0 = CpuSeconds();
    auto t = Clock::now();
    f();
    Cost c;
    c.seconds = Seconds(t);
    c.cpu = CpuSeconds() - c0;
    auto [w1, f1] = DiskCounts();
    c.writes = w1 - w0;
    c.flushes = f1 - f0;
    return c;
}

// The separate runs of 4 KB pages the engine wrote before each sync: the
// write requests a sync carries at least (the disk may split them
// further), and the bytes it wrote (kb_per_sync: the sectors of its
// commits and the clean ones repeated between them). Counted through the
// file hooks, so other programs' requests do not mix in.
std::vector<std::pair<uint64_t, uint64_t>> PagesWritten;   // first, last page
int64_t RunsSynced = 0;
double BytesWritten = 0;
void NoteWrite(uint64_t offset, const uint8_t *, uint32_t count) {
    BytesWritten += count;
    PagesWritten.push_back({offset / 4096, (offset + count - 1) / 4096});
}
void NoteSync() {
    std::sort(PagesWritten.begin(), PagesWritten.end());
    uint64_t reach = 0;
    for (size_t i = 0; i < PagesWritten.size(); i++) {
        if (i == 0 || PagesWritten[i].first > reach + 1) RunsSynced++;
        reach = i == 0 ? PagesWritten[i].second : std::max(reach, PagesWritten[i].second);
    }
    PagesWritten.clear();
}

// The counters of a writing workload. Beside the times and their ratios:
// per hold (per transaction on the WAL) the processor microseconds, the
// microseconds waited (wall less processor: the syncs, mostly) and the
// disk's write requests and flushes, and the engine's requests per sync.
void Report(benchmark::State &state, const Cost &engine, const Cost &rollback, const Cost &wal, int holds) {
    state.SetIterationTime(engine.seconds);
    state.counters["cache_mb"] = CacheBytes() / 1048576.0;
    state.counters["sqlite_s"] = rollback.seconds;
    state.counters["ratio"] = rollback.seconds / engine.seconds;
    state.counters["wal_s"] = wal.seconds;
    state.counters["ratio_wal"] = wal.seconds / engine.seconds;
    for (auto [side, c] : {std::pair<const char *, const Cost *>{"", &engine}, {"wal_", &wal}}) {
        state.counters[std::string(side) + "cpu_us"] = c->cpu * 1e6 / holds;
        state.counters[std::string(side) + "wait_us"] = (c->seconds - c->cpu) * 1e6 / holds;
        state.counters[std::string(side) + "reqs"] = c->writes / holds;
        state.counters[std::string(side) + "flushes"] = c->flushes / holds;
    }
    if (!D4TestHooks.skipSync && D4TestHooks.syncsDone > 0) {
        state.counters["reqs_per_sync"] = engine.writes / (double)D4TestHooks.syncsDone;
        state.counters["runs_per_sync"] = (double)RunsSynced / (double)D4TestHooks.syncsDone;
        state.counters["kb_per_sync"] = BytesWritten / 1024 / (double)D4TestHooks.syncsDone;
    }
    if (!D4TestHooks.skipSync) state.counters["syncs_per_hold"] = (double)D4TestHooks.syncsDone / holds;
    state.counters["pages_per_hold"] = (double)D4TestHooks.pagesCommitted / holds;
    // The engine's file after the workload: whole (every sector used or
    // free once), its size and the part of it in use (the logical end,
    // header +26; the file grows ahead of it in steps).
    std::string report;
    if (!D4IntegrityCheck(&report)) {
        std::fprintf(stderr, "engine file damaged after the workload:\n%s", report.c_str());
        std::exit(1);
    }
    FILE *f = std::fopen((Dir() + "engine.VDB").c_str(), "rb");
    uint8_t header[30] = {};
    if (!f || std::fread(header, 1, sizeof header, f) != sizeof header) std::exit(1);
    std::fseek(f, 0, SEEK_END);
    state.counters["file_mb"] = (double)std::ftell(f) / 1e6;
    std::fclose(f);
    uint32_t end;
    std::memcpy(&end, header + 26, 4);
    state.counters["used_mb"] = end / 1e6;
}


// Every side loaded with n records (made by row) in one hold / one
// transaction; the engine's sync count starts after the load.
template <typename R> void LoadAll(Sides &all, bool sync, int n, R row) {
    all.Open(sync);
    D4Hold();
    for (int i = 0; i < n; i++) all.e.ids.push_back(all.e.Insert(row((uint32_t)i)));
    if (!D4DiskFlush()) std::exit(1);
    for (SqliteSide *s : {&all.rollback, &all.wal}) {
        s->Exec("BEGIN");
        for (int i = 0; i < n; i++) s->Insert(row((uint32_t)i));
        s->Exec("COMMIT");
    }
    D4TestHooks.syncsDone = 0;
    D4TestHooks.pagesCommitted = 0;
    D4TestHooks.onWrite = NoteWrite;
    D4TestHooks.onSync = NoteSync;
    PagesWritten.clear();
    RunsSynced = 0;
    BytesWritten = 0;
}

Row PlainRow(uint32_t i) { return MakeRow(i, 0); }

// ---- Writing workloads ----

void BM_BulkInsert(benchmark::State &state) {
    bool sync = state.range(0);
    for (auto _ : state) {
        Sides all;
        all.Open(sync);
        Cost te = Timed([&] {
            D4Hold();
            for (int i = 0; i < Bulk; i++) all.e.Insert(MakeRow((uint32_t)i, 0));
            if (!D4DiskFlush()) std::exit(1);
        });
        auto sql = [&](SqliteSide &s) {
            return Timed([&] {
                s.Exec("BEGIN");
                for (int i = 0; i < Bulk; i++) s.Insert(MakeRow((uint32_t)i, 0));
                s.Exec("COMMIT");
            });
        };
        Cost tr = sql(all.rollback), tw = sql(all.wal);
        Report(state, te, tr, tw, 1);
        all.Close();
    }
}

// Single inserts into a file that already holds range(1) records.
void BM_SingleInserts(benchmark::State &state) {
    bool sync = state.range(0);
    int loaded = (int)(state.range(1) / Scale);
    for (auto _ : state) {
        Sides all;
        LoadAll(all, sync, loaded, PlainRow);
        Cost te = Timed([&] {
            for (int i = 0; i < Single; i++) all.e.Insert(MakeRow((uint32_t)(loaded + i), 0));   // each its own hold
        });
        auto sql = [&](SqliteSide &s) {
            return Timed([&] {
                for (int i = 0; i < Single; i++) s.Insert(MakeRow((uint32_t)(loaded + i), 0));   // each its own transaction
            });
        };
        Cost tr = sql(all.rollback), tw = sql(all.wal);
        Report(state, te, tr, tw, Single);
        all.Close();
    }
}

// Key-changing updates of the records at picks[0..count) to the rows
// made by row, then deletes of those at picks[count..2 count); each its
// own hold on the engine and its own transaction on SQLite (whose row ids
// are the load order plus one). byDate: the update changes the date
// column, else the code column.
template <typename R>
void TimeChanges(benchmark::State &state, Sides &all, const std::vector<int> &picks, int count, bool byDate, R row) {
    Cost te = Timed([&] {
        for (int k = 0; k < count; k++) {
            uint8_t rec[RecSize];
            PutRecord(rec, row((uint32_t)picks[(size_t)k]));
            if (!RecordIDUpdate(Reg, all.e.ids[(size_t)picks[(size_t)k]], rec)) std::exit(1);
        }
        for (int k = count; k < 2 * count; k++)
            if (!D4RecordIDDelete(Reg, all.e.ids[(size_t)picks[(size_t)k]])) std::exit(1);
    });
    auto sql = [&](SqliteSide &s) {
        sqlite3_stmt *u = s.Prepare(byDate ? "UPDATE t SET date=?, rec=? WHERE id=?" : "UPDATE t SET code=?, rec=? WHERE id=?");
        sqlite3_stmt *d = s.Prepare("DELETE FROM t WHERE id=?");
        Cost t = Timed([&] {
            for (int k = 0; k < count; k++) {
                uint8_t rec[RecSize];
                Row r = row((uint32_t)picks[(size_t)k]);
                PutRecord(rec, r);
                if (byDate) sqlite3_bind_int(u, 1, r.dateInt);
                else sqlite3_bind_text(u, 1, r.code, -1, SQLITE_STATIC);
                sqlite3_bind_blob(u, 2, rec, RecSize, SQLITE_STATIC);
                sqlite3_bind_int64(u, 3, picks[(size_t)k] + 1);
                if (sqlite3_step(u) != SQLITE_DONE) std::exit(1);
                sqlite3_reset(u);
            }
            for (int k = count; k < 2 * count; k++) {
                sqlite3_bind_int64(d, 1, picks[(size_t)k] + 1);
                if (sqlite3_step(d) != SQLITE_DONE) std::exit(1);
                sqlite3_reset(d);
            }
        });
        sqlite3_finalize(u);
        sqlite3_finalize(d);
        return t;
    };
    Cost tr = sql(all.rollback), tw = sql(all.wal);
    Report(state, te, tr, tw, 2 * count);
}

// In a file of range(1) records.
void BM_UpdatesAndDeletes(benchmark::State &state) {
    bool sync = state.range(0);
    int loaded = (int)(state.range(1) / Scale);
    for (auto _ : state) {
        Sides all;
        LoadAll(all, sync, loaded, PlainRow);
        // The first records get a new code; the last ones go (a quarter of
        // the file each at most).
        int changes = std::min(Changes, loaded / 4);
        std::vector<int> picks;
        for (int i = 0; i < changes; i++) picks.push_back(i);
        for (int i = 0; i < changes; i++) picks.push_back(loaded - 1 - i);
        TimeChanges(state, all, picks, changes, false, [](uint32_t i) { return MakeRow(i, 7); });
        all.Close();
    }
}

// A run of EqualRun records on one date (a bank account's postings of a
// day): re-keys move records of the run to another date, deletes take
// records out of its middle. Both find one entry among equal keys.
Row EqualRow(uint32_t i) {
    Row r = MakeRow(i, 0);
    r.date = DateRec{15, 6, 2020};
    r.dateInt = 20200615;
    return r;
}

Row MovedRow(uint32_t i) {
    Row r = EqualRow(i);
    r.date = DateRec{16, 6, 2020};
    r.dateInt = 20200616;
    return r;
}

void BM_EqualKeys(benchmark::State &state) {
    bool sync = state.range(0);
    for (auto _ : state) {
        Sides all;
        LoadAll(all, sync, EqualRun, EqualRow);
        std::vector<int> picks(EqualRun);
        for (int i = 0; i < EqualRun; i++) picks[(size_t)i] = i;
        std::shuffle(picks.begin(), picks.end(), std::mt19937(3));
        TimeChanges(state, all, picks, EqualOps, true, MovedRow);
        if (D4RecordCount(Reg, "Date") != (uint32_t)(EqualRun - EqualOps)) state.SkipWithError("engine lost keys");
        all.Close();
    }
}

// ---- Reading workloads, each side in a process of its own ----

// Files of n records, built once per size and removed at exit.
std::map<int, std::pair<std::string, std::string>> &ReadFiles() {
    static std::map<int, std::pair<std::string, std::string>> files;
    return files;
}

void RemoveReadFiles() {
    for (auto &[n, f] : ReadFiles()) {
        std::remove(f.first.c_str());
        SqliteSide s;
        s.path = f.second;
        s.Remove();
    }
}

const std::pair<std::string, std::string> &ReadFilesFor(int n) {
    auto it = ReadFiles().find(n);
    if (it != ReadFiles().end()) return it->second;
    if (ReadFiles().empty()) std::atexit(RemoveReadFiles);
    std::string engine = Dir() + "read_" + std::to_string(n) + ".VDB";
    std::string sql = Dir() + "read_" + std::to_string(n) + ".db";
    LoadDictionary();
    D4Init(CacheBytes());
    D4TestHooks = D4FileHooks{};
    D4TestHooks.skipSync = true;
    if (D4Create(engine.c_str(), 0) != D4OpenOk) std::exit(1);
    EngineSide e;
    for (int i = 0; i < n; i += 100000) {
        D4Hold();
        for (int k = i; k < std::min(n, i + 100000); k++) e.Insert(MakeRow((uint32_t)k, 0));
        if (!D4DiskFlush()) std::exit(1);
    }
    if (!D4Close()) std::exit(1);
    SqliteSide s;
    s.Open(sql, false, false);
    s.Exec("BEGIN");
    for (int i = 0; i < n; i++) s.Insert(MakeRow((uint32_t)i, 0));
    s.Exec("COMMIT");
    s.Close(false);
    return ReadFiles()[n] = {engine, sql};
}

// What a reading child reports.
struct ChildResult {
    double seconds = 0;
    long peakKb = 0, fileKb = 0, anonKb = 0;
    long checked = 0;   // keys found or records read
    long readsPeakKb = 0, readsFileKb = 0;   // the engine's open: after 1,000 reads by position
};

// A line of /proc/self/status in kB ("VmHWM", "RssFile"); 0 when absent.
long StatusKb(const char *name) {
    FILE *f = std::fopen("/proc/self/status", "r");
    if (!f) return 0;
    char line[256];
    long v = 0;
    size_t len = std::strlen(name);
    while (std::fgets(line, sizeof line, f))
        if (std::strncmp(line, name, len) == 0 && line[len] == ':') v = std::atol(line + len + 1);
    std::fclose(f);
    return v;
}

const char *IndexNames[] = {"SerNr", "Code", "Date"};

// The number of reads by position at size n (SQLite steps over every
// entry before the position, so fewer at the larger size).
int Positions(int n) { return std::min(1000, 100000000 / n); }

ChildResult EngineReads(const std::string &work, int n, const std::string &path) {
    ChildResult r;
    LoadDictionary();
    if (!D4Init(CacheBytes())) std::exit(1);
    auto t = Clock::now();
    if (D4Open(path.c_str(), 0) != D4OpenOk) std::exit(1);
    if (work == "open") {
        r.checked = 1;   // the open alone is timed
        r.seconds = Seconds(t);
        r.fileKb = StatusKb("RssFile");
        r.anonKb = StatusKb("RssAnon");
        r.peakKb = StatusKb("VmHWM");
        // What a user who opens a company and reads a page here and there
        // holds: the open and 1,000 reads by position (untimed).
        std::mt19937 rng(3);
        for (int k = 0; k < 1000; k++) {
            uint8_t rec[RecSize];
            uint32_t id;
            if (!D4RecordReadPos(Reg, "Code", 1 + rng() % (uint32_t)n, rec, &id)) std::exit(1);
        }
        r.readsPeakKb = StatusKb("VmHWM");
        r.readsFileKb = StatusKb("RssFile");
        D4Close();
        return r;
    } else if (work == "finds") {
        t = Clock::now();
        std::mt19937 rng(1);
        for (const char *ix : IndexNames)
            for (int k = 0; k < Finds; k++) {
                uint8_t rec[RecSize];
                PutRecord(rec, MakeRow(rng() % (uint32_t)n, 0));
                uint32_t id, position;
                r.checked += D4RecordFind(Reg, ix, rec, 0, 1, 1, &id, &position);
            }
    } else if (work == "walk") {
        t = Clock::now();
        for (const char *ix : IndexNames) {
            uint32_t count = D4RecordCount(Reg, ix);
            for (uint32_t p = 1; p <= count; p++) {
                uint8_t rec[RecSize];
                uint32_t id;
                r.checked += D4RecordReadPos(Reg, ix, p, rec, &id);
            }
        }
    } else {
        t = Clock::now();
        std::mt19937 rng(2);
        for (int k = 0; k < Positions(n); k++) {
            uint8_t rec[RecSize];
            uint32_t id;
            r.checked += D4RecordReadPos(Reg, "Code", 1 + rng() % (uint32_t)n, rec, &id);
            benchmark::DoNotOptimize(D4RecordCount(Reg, "Code"));
        }
    }
    r.seconds = Seconds(t);
    r.fileKb = StatusKb("RssFile");
    r.anonKb = StatusKb("RssAnon");
    r.peakKb = StatusKb("VmHWM");
    D4Close();
    return r;
}

ChildResult SqliteReads(const std::string &work, int n, const std::string &path) {
    ChildResult r;
    SqliteSide s;
    auto t = Clock::now();
    s.Open(path, false, false, false);
    if (work == "open") {
        // Its open reads nothing; the first statement reads the schema.
        sqlite3_finalize(s.Prepare("SELECT rec FROM t WHERE serial=?"));
        r.checked = 1;
    } else if (work == "finds") {
        t = Clock::now();
        std::mt19937 rng(1);
        const char *sql[] = {"SELECT rec FROM t WHERE serial=? ORDER BY serial LIMIT 1",
                             "SELECT rec FROM t WHERE code=? ORDER BY code LIMIT 1",
                             "SELECT rec FROM t WHERE date=? ORDER BY date LIMIT 1"};
        for (int ix = 0; ix < 3; ix++) {
            sqlite3_stmt *q = s.Prepare(sql[ix]);
            for (int k = 0; k < Finds; k++) {
                Row row = MakeRow(rng() % (uint32_t)n, 0);
                if (ix == 0) sqlite3_bind_int64(q, 1, row.serial);
                else if (ix == 1) sqlite3_bind_text(q, 1, row.code, -1, SQLITE_STATIC);
                else sqlite3_bind_int(q, 1, row.dateInt);
                if (sqlite3_step(q) == SQLITE_ROW) {
                    benchmark::DoNotOptimize(sqlite3_column_blob(q, 0));
                    r.checked++;
                }
                sqlite3_reset(q);
            }
            sqlite3_finalize(q);
        }
    } else if (work == "walk") {
        t = Clock::now();
        for (const char *sql : {"SELECT rec FROM t ORDER BY serial", "SELECT rec FROM t ORDER BY code",
                                "SELECT rec FROM t ORDER BY date"}) {
            sqlite3_stmt *q = s.Prepare(sql);
            while (sqlite3_step(q) == SQLITE_ROW) {
                benchmark::DoNotOptimize(sqlite3_column_blob(q, 0));
                r.checked++;
            }
            sqlite3_finalize(q);
        }
    } else {
        t = Clock::now();
        std::mt19937 rng(2);
        sqlite3_stmt *q = s.Prepare("SELECT rec FROM t ORDER BY code LIMIT 1 OFFSET ?");
        sqlite3_stmt *c = s.Prepare("SELECT COUNT(*) FROM t");
        for (int k = 0; k < Positions(n); k++) {
            sqlite3_bind_int64(q, 1, rng() % (uint32_t)n);
            if (sqlite3_step(q) == SQLITE_ROW) {
                benchmark::DoNotOptimize(sqlite3_column_blob(q, 0));
                r.checked++;
            }
            sqlite3_reset(q);
            if (sqlite3_step(c) == SQLITE_ROW) benchmark::DoNotOptimize(sqlite3_column_int64(c, 0));
            sqlite3_reset(c);
        }
        sqlite3_finalize(q);
        sqlite3_finalize(c);
    }
    r.seconds = Seconds(t);
    r.fileKb = StatusKb("RssFile");
    r.anonKb = StatusKb("RssAnon");
    r.peakKb = StatusKb("VmHWM");
    s.Close(false);
    return r;
}

// The child's entry: --child SIDE WORK N PATH; prints its result line.
int ChildMain(int argc, char **argv) {
    if (argc != 6) return 2;
    std::string side = argv[2], work = argv[3], path = argv[5];
    int n = std::atoi(argv[4]);
    ChildResult r;
    if (side == "none") r.peakKb = StatusKb("VmHWM"), r.fileKb = StatusKb("RssFile"), r.anonKb = StatusKb("RssAnon");
    else r = side == "engine" ? EngineReads(work, n, path) : SqliteReads(work, n, path);
    std::printf("%.9f %ld %ld %ld %ld %ld %ld\n", r.seconds, r.peakKb, r.fileKb, r.anonKb, r.checked, r.readsPeakKb,
                r.readsFileKb);
    return 0;
}

// This program's own file, which the reading children are started from.
std::string SelfPath() {
    char self[4096];
    ssize_t len = readlink("/proc/self/exe", self, sizeof self - 1);
    return len > 0 ? std::string(self, (size_t)len) : std::string();
}

// Runs one side of a reading workload in a fresh process of this program.
bool RunChild(const char *side, const char *work, int n, const std::string &path, ChildResult *r) {
    std::string cmd = "'" + SelfPath() + "' --child " + side + " " + work + " " + std::to_string(n) + " '" + path + "'";
    FILE *p = popen(cmd.c_str(), "r");
    if (!p) return false;
    int got = std::fscanf(p, "%lf %ld %ld %ld %ld %ld %ld", &r->seconds, &r->peakKb, &r->fileKb, &r->anonKb,
                          &r->checked, &r->readsPeakKb, &r->readsFileKb);
    int status = pclose(p);
    return got == 7 && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void ReadWorkload(benchmark::State &state, const char *work, long expect) {
    int n = ReadSize((int)state.range(0));
    const auto &files = ReadFilesFor(n);
    for (auto _ : state) {
        // base: a child that only starts, for the program's own share.
        ChildResult e, s, base;
        if (!RunChild("engine", work, n, files.first, &e) || !RunChild("sqlite", work, n, files.second, &s) ||
            !RunChild("none", work, n, "", &base)) {
            state.SkipWithError("a reading child failed");
            break;
        }
        if (e.checked != s.checked || (expect >= 0 && e.checked != expect)) state.SkipWithError("the sides read different counts");
        state.SetIterationTime(e.seconds);
        state.counters["records"] = n;
        state.counters["cache_mb"] = CacheBytes() / 1048576.0;
        state.counters["sqlite_s"] = s.seconds;
        state.counters["ratio"] = s.seconds / e.seconds;
        state.counters["engine_peak_mb"] = e.peakKb / 1024.0;
        state.counters["sqlite_peak_mb"] = s.peakKb / 1024.0;
        state.counters["engine_file_mb"] = e.fileKb / 1024.0;
        state.counters["sqlite_file_mb"] = s.fileKb / 1024.0;
        state.counters["engine_anon_mb"] = e.anonKb / 1024.0;
        state.counters["sqlite_anon_mb"] = s.anonKb / 1024.0;
        state.counters["base_anon_mb"] = base.anonKb / 1024.0;
        state.counters["base_peak_mb"] = base.peakKb / 1024.0;
        state.counters["base_file_mb"] = base.fileKb / 1024.0;
        // The engine's resident memory split in two: its private memory
        // beyond a bare start's (the sector cache, the work), and the file
        // pages of its read mapping beyond the program's own, which the
        // system may drop at will.
        state.counters["engine_private_mb"] = (e.anonKb - base.anonKb) / 1024.0;
        state.counters["engine_mapped_mb"] = (e.fileKb - base.fileKb) / 1024.0;
        if (std::strcmp(work, "open") == 0) {
            state.counters["engine_reads_peak_mb"] = e.readsPeakKb / 1024.0;
            state.counters["engine_reads_file_mb"] = e.readsFileKb / 1024.0;
        }
    }
}

void BM_OpenCompany(benchmark::State &state) { ReadWorkload(state, "open", 1); }
void BM_PointFinds(benchmark::State &state) { ReadWorkload(state, "finds", 3L * Finds); }
void BM_OrderedWalks(benchmark::State &state) { ReadWorkload(state, "walk", 3L * ReadSize((int)state.range(0))); }
void BM_ReadByPositionAndCount(benchmark::State &state) {
    ReadWorkload(state, "pos", Positions(ReadSize((int)state.range(0))));
}

}  // namespace

BENCHMARK(BM_BulkInsert)->Arg(1)->Arg(0)->ArgName("sync")->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SingleInserts)->Args({1, 10000})->Args({1, 100000})->Args({1, 1000000})->Args({0, 100000})->ArgNames({"sync", "records"})->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UpdatesAndDeletes)->Args({1, 10000})->Args({1, 100000})->Args({1, 1000000})->Args({0, 100000})->ArgNames({"sync", "records"})->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EqualKeys)->Arg(1)->Arg(0)->ArgName("sync")->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OpenCompany)->Arg(10000)->Arg(100000)->Arg(1000000)->ArgName("records")->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PointFinds)->Arg(100000)->Arg(1000000)->ArgName("records")->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrderedWalks)->Arg(100000)->Arg(1000000)->ArgName("records")->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadByPositionAndCount)->Arg(100000)->Arg(1000000)->ArgName("records")->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);

// One side of a reading workload, in a process of its own: the program's
// main hands over when started with --child.
int BenchEngineChild(int argc, char **argv) { return ChildMain(argc, argv); }
