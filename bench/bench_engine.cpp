// bench_engine.cpp - the database engine against SQLite 3 on the same
// workloads, in the same run: 300-byte records with three indexes (a
// 4-byte serial number, a 20-character code, a date), comparable cache
// sizes (320 KB each), and the same durability (a commit to disk at the
// end of each hold and of each transaction; or no syncing on either side).
//
// Each benchmark times the engine (the reported time) and SQLite (the
// counter sqlite_s) and reports ratio = SQLite time / engine time, so a
// ratio above 1 means the engine is faster. Optimised builds use the full
// sizes; other builds run a fiftieth of them as a quick check.
//
// The engine reads the file's bytes through a read-only mapping of it
// (its sector cache stays at the budget above). SQLite reads with pread
// by default; ORVEL_BENCH_SQLITE_MMAP=1 in the environment lets it map
// the file too (PRAGMA mmap_size), for the comparison of like with like.
#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/interface_load.h"
#include "core/interface_write.h"
#include "core/message_sink.h"
#include "database/engine/engine.h"

namespace {

#ifdef NDEBUG
constexpr int Scale = 1;
#else
constexpr int Scale = 50;
#endif
constexpr int Bulk = 100000 / Scale;
constexpr int Single = 10000 / Scale;
constexpr int Finds = 100000 / Scale;
constexpr int Changes = 10000 / Scale;
constexpr int Reg = 1;
constexpr uint32_t RecSize = 300;
constexpr int OffSerial = 0, OffCode = 4, OffDate = 26;

using Clock = std::chrono::steady_clock;
double Seconds(Clock::time_point a) { return std::chrono::duration<double>(Clock::now() - a).count(); }

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

// ---- The two sides ----

struct EngineSide {
    std::string path = Dir() + "engine.VDB";
    std::vector<uint32_t> ids;
    void Open(bool sync) {
        LoadDictionary();
        D4Init(320000);
        D4TestHooks = D4FileHooks{};
        D4TestHooks.skipSync = !sync;
        if (D4Create(path.c_str(), 0) != D4OpenOk) std::exit(1);
    }
    void Close() {
        D4Close();
        std::remove(path.c_str());
    }
    uint32_t Insert(const Row &r) {
        uint8_t rec[RecSize];
        PutRecord(rec, r);
        uint32_t id = 0;
        D4RecordInsert(Reg, rec, &id);
        return id;
    }
};

struct SqliteSide {
    std::string path = Dir() + "peer.db";
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
    void Open(bool sync) {
        std::remove(path.c_str());
        sqlite3_open(path.c_str(), &db);
        Exec("PRAGMA cache_size=-320");
        if (const char *m = std::getenv("ORVEL_BENCH_SQLITE_MMAP"); m && *m == '1') Exec("PRAGMA mmap_size=1073741824");
        Exec(sync ? "PRAGMA synchronous=FULL" : "PRAGMA synchronous=OFF");
        Exec("CREATE TABLE t(id INTEGER PRIMARY KEY, serial INTEGER, code TEXT, date INTEGER, rec BLOB)");
        Exec("CREATE INDEX t_serial ON t(serial)");
        Exec("CREATE INDEX t_code ON t(code)");
        Exec("CREATE INDEX t_date ON t(date)");
        insert = Prepare("INSERT INTO t(serial, code, date, rec) VALUES(?,?,?,?)");
    }
    void Close() {
        sqlite3_finalize(insert);
        sqlite3_close(db);
        std::remove(path.c_str());
        std::remove((path + "-journal").c_str());
    }
    void Insert(const Row &r) {
        uint8_t rec[RecSize];
        PutRecord(rec, r);
        sqlite3_bind_int64(insert, 1, r.serial);
        sqlite3_bind_text(insert, 2, r.code, -1, SQLITE_STATIC);
        sqlite3_bind_int(insert, 3, r.dateInt);
        sqlite3_bind_blob(insert, 4, rec, RecSize, SQLITE_STATIC);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
};

void Report(benchmark::State &state, double engine, double sqlite) {
    state.SetIterationTime(engine);
    state.counters["sqlite_s"] = sqlite;
    state.counters["ratio"] = sqlite / engine;
}

// Both sides loaded with Bulk records in one hold / one transaction.
void LoadBoth(EngineSide &e, SqliteSide &s, bool sync) {
    e.Open(sync);
    s.Open(sync);
    D4Hold();
    for (int i = 0; i < Bulk; i++) e.ids.push_back(e.Insert(MakeRow((uint32_t)i, 0)));
    D4DiskFlush();
    s.Exec("BEGIN");
    for (int i = 0; i < Bulk; i++) s.Insert(MakeRow((uint32_t)i, 0));
    s.Exec("COMMIT");
}

void BM_BulkInsert(benchmark::State &state) {
    bool sync = state.range(0);
    for (auto _ : state) {
        EngineSide e;
        SqliteSide s;
        e.Open(sync);
        s.Open(sync);
        auto t = Clock::now();
        D4Hold();
        for (int i = 0; i < Bulk; i++) e.Insert(MakeRow((uint32_t)i, 0));
        D4DiskFlush();
        double te = Seconds(t);
        t = Clock::now();
        s.Exec("BEGIN");
        for (int i = 0; i < Bulk; i++) s.Insert(MakeRow((uint32_t)i, 0));
        s.Exec("COMMIT");
        Report(state, te, Seconds(t));
        e.Close();
        s.Close();
    }
}

void BM_SingleInserts(benchmark::State &state) {
    bool sync = state.range(0);
    for (auto _ : state) {
        EngineSide e;
        SqliteSide s;
        e.Open(sync);
        s.Open(sync);
        auto t = Clock::now();
        for (int i = 0; i < Single; i++) e.Insert(MakeRow((uint32_t)i, 0));   // each its own hold
        double te = Seconds(t);
        t = Clock::now();
        for (int i = 0; i < Single; i++) s.Insert(MakeRow((uint32_t)i, 0));   // each its own transaction
        Report(state, te, Seconds(t));
        e.Close();
        s.Close();
    }
}

void BM_PointFinds(benchmark::State &state) {
    for (auto _ : state) {
        EngineSide e;
        SqliteSide s;
        LoadBoth(e, s, false);
        std::mt19937 rng(1);
        const char *names[] = {"SerNr", "Code", "Date"};
        const char *sql[] = {"SELECT rec FROM t WHERE serial=? ORDER BY serial LIMIT 1",
                             "SELECT rec FROM t WHERE code=? ORDER BY code LIMIT 1",
                             "SELECT rec FROM t WHERE date=? ORDER BY date LIMIT 1"};
        double te = 0, ts = 0;
        for (int ix = 0; ix < 3; ix++) {
            std::vector<uint32_t> keys(Finds);
            for (uint32_t &k : keys) k = rng() % Bulk;
            auto t = Clock::now();
            uint32_t found = 0;
            for (uint32_t k : keys) {
                uint8_t rec[RecSize];
                PutRecord(rec, MakeRow(k, 0));
                uint32_t id, position;
                found += D4RecordFind(Reg, names[ix], rec, 0, 1, 1, &id, &position);
            }
            te += Seconds(t);
            sqlite3_stmt *q = s.Prepare(sql[ix]);
            t = Clock::now();
            for (uint32_t k : keys) {
                Row r = MakeRow(k, 0);
                if (ix == 0) sqlite3_bind_int64(q, 1, r.serial);
                else if (ix == 1) sqlite3_bind_text(q, 1, r.code, -1, SQLITE_STATIC);
                else sqlite3_bind_int(q, 1, r.dateInt);
                if (sqlite3_step(q) == SQLITE_ROW) benchmark::DoNotOptimize(sqlite3_column_blob(q, 0));
                sqlite3_reset(q);
            }
            ts += Seconds(t);
            sqlite3_finalize(q);
            if (found != keys.size()) state.SkipWithError("engine missed keys");
        }
        Report(state, te, ts);
        e.Close();
        s.Close();
    }
}

void BM_OrderedWalks(benchmark::State &state) {
    for (auto _ : state) {
        EngineSide e;
        SqliteSide s;
        LoadBoth(e, s, false);
        const char *names[] = {"SerNr", "Code", "Date"};
        const char *sql[] = {"SELECT rec FROM t ORDER BY serial", "SELECT rec FROM t ORDER BY code",
                             "SELECT rec FROM t ORDER BY date"};
        double te = 0, ts = 0;
        for (int ix = 0; ix < 3; ix++) {
            auto t = Clock::now();
            uint32_t n = D4RecordCount(Reg, names[ix]);
            for (uint32_t p = 1; p <= n; p++) {
                uint8_t rec[RecSize];
                uint32_t id;
                D4RecordReadPos(Reg, names[ix], p, rec, &id);
            }
            te += Seconds(t);
            sqlite3_stmt *q = s.Prepare(sql[ix]);
            t = Clock::now();
            while (sqlite3_step(q) == SQLITE_ROW) benchmark::DoNotOptimize(sqlite3_column_blob(q, 0));
            ts += Seconds(t);
            sqlite3_finalize(q);
        }
        Report(state, te, ts);
        e.Close();
        s.Close();
    }
}

void BM_ReadByPositionAndCount(benchmark::State &state) {
    for (auto _ : state) {
        EngineSide e;
        SqliteSide s;
        LoadBoth(e, s, false);
        std::mt19937 rng(2);
        std::vector<uint32_t> positions(1000);
        for (uint32_t &p : positions) p = 1 + rng() % Bulk;
        auto t = Clock::now();
        for (uint32_t p : positions) {
            uint8_t rec[RecSize];
            uint32_t id;
            D4RecordReadPos(Reg, "Code", p, rec, &id);
            benchmark::DoNotOptimize(D4RecordCount(Reg, "Code"));
        }
        double te = Seconds(t);
        sqlite3_stmt *q = s.Prepare("SELECT rec FROM t ORDER BY code LIMIT 1 OFFSET ?");
        sqlite3_stmt *c = s.Prepare("SELECT COUNT(*) FROM t");
        t = Clock::now();
        for (uint32_t p : positions) {
            sqlite3_bind_int64(q, 1, p - 1);
            if (sqlite3_step(q) == SQLITE_ROW) benchmark::DoNotOptimize(sqlite3_column_blob(q, 0));
            sqlite3_reset(q);
            if (sqlite3_step(c) == SQLITE_ROW) benchmark::DoNotOptimize(sqlite3_column_int64(c, 0));
            sqlite3_reset(c);
        }
        double ts = Seconds(t);
        sqlite3_finalize(q);
        sqlite3_finalize(c);
        Report(state, te, ts);
        e.Close();
        s.Close();
    }
}

void BM_UpdatesAndDeletes(benchmark::State &state) {
    bool sync = state.range(0);
    for (auto _ : state) {
        EngineSide e;
        SqliteSide s;
        LoadBoth(e, s, sync);
        auto t = Clock::now();
        for (int i = 0; i < Changes; i++) {
            uint8_t rec[RecSize];
            PutRecord(rec, MakeRow((uint32_t)i, 7));   // a new code
            RecordIDUpdate(Reg, e.ids[(size_t)i], rec);
        }
        for (int i = 0; i < Changes; i++) D4RecordIDDelete(Reg, e.ids[(size_t)(Bulk - 1 - i)]);
        double te = Seconds(t);
        sqlite3_stmt *u = s.Prepare("UPDATE t SET code=?, rec=? WHERE id=?");
        sqlite3_stmt *d = s.Prepare("DELETE FROM t WHERE id=?");
        t = Clock::now();
        for (int i = 0; i < Changes; i++) {
            uint8_t rec[RecSize];
            Row r = MakeRow((uint32_t)i, 7);
            PutRecord(rec, r);
            sqlite3_bind_text(u, 1, r.code, -1, SQLITE_STATIC);
            sqlite3_bind_blob(u, 2, rec, RecSize, SQLITE_STATIC);
            sqlite3_bind_int64(u, 3, i + 1);
            sqlite3_step(u);
            sqlite3_reset(u);
        }
        for (int i = 0; i < Changes; i++) {
            sqlite3_bind_int64(d, 1, Bulk - i);
            sqlite3_step(d);
            sqlite3_reset(d);
        }
        double ts = Seconds(t);
        sqlite3_finalize(u);
        sqlite3_finalize(d);
        Report(state, te, ts);
        e.Close();
        s.Close();
    }
}

}  // namespace

BENCHMARK(BM_BulkInsert)->Arg(1)->Arg(0)->ArgName("sync")->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SingleInserts)->Arg(1)->Arg(0)->ArgName("sync")->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PointFinds)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrderedWalks)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadByPositionAndCount)->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_UpdatesAndDeletes)->Arg(1)->Arg(0)->ArgName("sync")->UseManualTime()->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
