// fuzz_database.cpp - fuzz target of the database engine's reading of a
// file it did not write itself.
//
// The input bytes become a database file, which the engine opens. A file
// it refuses must be left exactly as it was. A file it opens is walked
// through every index both ways, every record and numbered block is
// read, the whole-file check runs, and then a small change is made and
// checked again before the close. A file opened in damaged mode may
// change in its damaged word only. Any fault shows up as a sanitizer
// report or a trap.
//
// FuzzDatabaseSetup and FuzzDatabaseSample are shared with the replay
// program, which makes the valid files that it mutates.
#include <unistd.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/definitions.h"
#include "core/interface_load.h"
#include "core/interface_write.h"
#include "core/memblock.h"
#include "core/message_sink.h"
#include "core/system.h"
#include "database/engine/engine.h"

namespace {

// Register 1 "MainVc" (48 bytes, rows handle at 40): serial at 0 (long),
// code at 4 (text of 20), date at 26, word at 32; indexes "SerNr",
// "Code", "DateWord" (two parts). Register 2 "SimpleVc" (8 bytes,
// simple). Register 3 "PlainVc" (12 bytes) with a type-7 and a decimal
// key. Small nodes make deep trees out of few records.
constexpr int RegMain = 1, RegSimple = 2, RegPlain = 3;
constexpr uint32_t MainSize = 48, PlainSize = 24;
constexpr int OffRows = 40;
constexpr uint32_t NoRows = 0xFFFFFFFFu;
// Limits that keep one run short whatever the file claims.
constexpr uint32_t MaxWalk = 600;
constexpr uint32_t MaxIds = 1500;

bool LoadDictionary() {
    InterfaceDefs d;
    for (int i = 0; i < 256; i++) d.collation[i] = d.readTable[i] = d.writeTable[i] = (uint8_t)i;
    RegisterDefSource main{};
    main.number = RegMain;
    main.name = "MainVc";
    main.recordSize = MainSize;
    main.matrixOffset = OffRows;
    main.rows = RowLayoutDef{};
    main.rows->rowSize = 8;
    main.indexes.push_back(IndexOf("SerNr", 2, 4, 4, {KeyPart(0, 0, 4, 5)}));
    main.indexes.push_back(IndexOf("Code", 3, 22, 5, {KeyPart(4, 0, 22, 1)}));
    main.indexes.push_back(IndexOf("DateWord", 4, 8, 6, {KeyPart(26, 0, 6, 6), KeyPart(32, 6, 2, 10)}));
    d.registers.push_back(main);
    RegisterDefSource simple{};
    simple.number = RegSimple;
    simple.name = "SimpleVc";
    simple.recordSize = 8;
    simple.simple = true;
    simple.indexes.push_back(IndexOf("Key", 5, 8, 4, {KeyPart(0, 0, 4, 5), KeyPart(4, 4, 4, 5)}));
    d.registers.push_back(simple);
    RegisterDefSource plain{};
    plain.number = RegPlain;
    plain.name = "PlainVc";
    plain.recordSize = PlainSize;
    plain.indexes.push_back(IndexOf("Stamp", 6, 12, 5, {KeyPart(0, 0, 12, 7)}));
    plain.indexes.push_back(IndexOf("Amount", 7, 12, 20, {KeyPart(12, 0, 12, 2)}));
    d.registers.push_back(plain);
    d.texts.push_back({1555, "Wrong database format"});
    d.texts.push_back({1556, "Database was not closed"});
    std::vector<uint8_t> bytes;
    std::string error;
    if (InterfaceWrite(d, &bytes, &error) && LoadDefinitionsFromBytes(bytes.data(), bytes.size(), &error)) return true;
    std::fprintf(stderr, "fuzz dictionary: %s\n", error.c_str());
    return false;
}

void Quiet(const char *) {}

std::string FilePath() {
    const char *dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/orvel_fuzz_db_" + std::to_string(getpid()) + ".VDB";
}

bool WriteFile(const std::string &path, const uint8_t *data, size_t size) {
    std::FILE *f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = size == 0 || std::fwrite(data, 1, size, f) == size;
    return std::fclose(f) == 0 && ok;
}

std::vector<uint8_t> ReadFile(const std::string &path) {
    std::vector<uint8_t> bytes;
    if (std::FILE *f = std::fopen(path.c_str(), "rb")) {
        uint8_t buf[65536];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) bytes.insert(bytes.end(), buf, buf + n);
        std::fclose(f);
    }
    return bytes;
}

// Frees the rows a read handed over.
void DropRows(int reg, uint8_t *rec) {
    if (reg != RegMain) return;
    MemBlock h;
    std::memcpy(&h, rec + OffRows, 4);
    if (h != 0 && h != NoRows && MemIsValid(h)) MemFree(&h);
    std::memset(rec + OffRows, 0, 4);
}

// Reads the record at each position of the index, forwards then
// backwards, and searches for the key of what it read both ways.
uint32_t WalkIndex(int reg, const char *index) {
    uint32_t sum = 0;
    uint32_t count = D4RecordCount(reg, index);
    uint32_t n = std::min(count, MaxWalk);
    uint8_t rec[64];
    for (int pass = 0; pass < 2; pass++) {
        for (uint32_t k = 0; k <= n; k++) {
            // Forwards from 1, backwards from the count (and one past it).
            uint32_t position = pass == 0 ? k + 1 : count + 1 - k;
            std::memset(rec, 0, sizeof rec);
            uint32_t id = 0;
            if (D4RecordReadPos(reg, index, position, rec, &id)) {
                sum += id + rec[0];
                DropRows(reg, rec);
                uint32_t found, at;
                int parts = (int)(position % 3);
                if (D4RecordFindKey(reg, index, rec, parts, 1, pass == 0 ? 1 : -1, &found, &at)) sum += at;
                if (D4RecordFind(reg, index, rec, 0, 0, 1, &found, &at)) sum += found;
                DropRows(reg, rec);
                if (reg != RegSimple && D4RecordPosition(reg, index, rec, id, &at)) sum += at;
            }
        }
    }
    return sum;
}

// A small change: a record stored, its key changed, and one deleted.
void Change() {
    D4Hold();
    uint8_t rec[MainSize] = {};
    uint32_t serial = 7777;
    std::memcpy(rec, &serial, 4);
    rec[4] = 3;
    std::memcpy(rec + 5, "NEW", 3);
    DateRec date{2, 3, 2024};
    std::memcpy(rec + 26, &date, 6);
    uint32_t id = 0;
    if (D4RecordInsert(RegMain, rec, &id)) {
        rec[5] = 'X';
        RecordIDUpdate(RegMain, id, rec);
    }
    uint8_t first[MainSize] = {};
    std::memcpy(first + OffRows, &NoRows, 4);
    uint32_t other;
    if (D4RecordReadPos(RegMain, "Code", 1, first, &other)) D4RecordIDDelete(RegMain, other);
    uint8_t block[40] = {1, 2, 3};
    D4BlockStore(150, block, sizeof block);
    D4DiskFlush();
}

}  // namespace

// Loads the dictionary and starts the engine, once; the file of the
// inputs leaves the temporary folder with the process.
void FuzzDatabaseSetup() {
    static bool done = false;
    if (done) return;
    done = true;
    std::atexit([] {
        if (D4IsOpen()) D4Close();
        std::remove(FilePath().c_str());
    });
    MessageSinkSet(Quiet);
    CompactVariant = true;   // no log line per open
    if (!LoadDictionary()) __builtin_trap();
    // A small cache: most runs then also write back and reload sectors.
    D4Init(20000);
}

// Writes a valid database of the sample registers to path; variant picks
// its size and its history. false when the engine failed.
bool FuzzDatabaseSample(const std::string &path, int variant) {
    FuzzDatabaseSetup();
    if (D4Create(path.c_str(), 0) != D4OpenOk) return false;
    int records = variant == 0 ? 0 : variant == 1 ? 5 : 60;
    bool ok = true;
    std::vector<uint32_t> ids;
    D4Hold();
    for (int i = 0; i < records && ok; i++) {
        uint8_t rec[MainSize] = {};
        uint32_t serial = (uint32_t)(i * 37 % 101);
        std::memcpy(rec, &serial, 4);
        std::string code = "C" + std::to_string(i * 7919 % 1000);
        rec[4] = (uint8_t)code.size();
        std::memcpy(rec + 5, code.data(), code.size());
        DateRec date{(uint16_t)(1 + i % 28), (uint16_t)(1 + i % 12), 2020};
        std::memcpy(rec + 26, &date, 6);
        uint16_t word = (uint16_t)(i % 3);
        std::memcpy(rec + 32, &word, 2);
        std::vector<uint8_t> rows((size_t)(i % 4) * 300);
        for (size_t k = 0; k < rows.size(); k++) rows[k] = (uint8_t)(k + i);
        MemBlock h = MemAlloc((uint32_t)rows.size());
        if (!rows.empty()) std::memcpy(MemLock(h), rows.data(), rows.size());
        MemUnlock(h);
        std::memcpy(rec + OffRows, &h, 4);
        uint32_t id;
        ok = D4RecordInsert(RegMain, rec, &id);
        MemFree(&h);
        ids.push_back(id);
        uint8_t simple[8];
        std::memcpy(simple, &serial, 4);
        std::memcpy(simple + 4, &i, 4);
        ok = ok && D4RecordInsert(RegSimple, simple, &id);
        uint8_t plain[PlainSize] = {};
        for (int k = 0; k < 6; k++) plain[2 * k] = (uint8_t)(i + k);
        plain[12] = (uint8_t)i;
        ok = ok && D4RecordInsert(RegPlain, plain, &id);
    }
    uint8_t block[700];
    for (int b = 0; b < (variant == 0 ? 1 : 4) && ok; b++) {
        std::memset(block, b + 1, sizeof block);
        ok = D4BlockStore(140 + b, block, b == 3 ? sizeof block : 60);
    }
    ok = D4DiskFlush() && ok;
    // Later holds free sectors, so that the free lists are not empty.
    for (size_t i = 0; i < ids.size() && ok; i += 3) ok = D4RecordIDDelete(RegMain, ids[i]);
    if (variant == 2 && ok) ok = D4Flush(1);
    return D4Close() && ok;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    FuzzDatabaseSetup();
    std::string path = FilePath();
    if (!WriteFile(path, data, size)) return 0;
    int opened = D4Open(path.c_str(), 0);
    if (opened != D4OpenOk) {
        // A refused file is left exactly as it was.
        std::vector<uint8_t> after = ReadFile(path);
        if (after.size() != size || (size && std::memcmp(after.data(), data, size) != 0)) __builtin_trap();
        return 0;
    }
    bool damagedAtOpen = D4DamagedMode();
    volatile uint32_t sum = 0;
    const struct { int reg; const char *index; } indexes[] = {
        {RegMain, "SerNr"}, {RegMain, "Code"}, {RegMain, "DateWord"}, {RegSimple, "Key"},
        {RegPlain, "Stamp"}, {RegPlain, "Amount"}};
    for (auto &ix : indexes) sum = sum + WalkIndex(ix.reg, ix.index);
    // Every record id the file could hold, through each register.
    uint32_t ids = std::min<uint32_t>((uint32_t)(size / 512) + 8, MaxIds);
    for (uint32_t id = 0; id <= ids; id++) {
        for (int reg : {RegMain, RegPlain}) {
            uint8_t rec[64] = {};
            if (D4RecordReadRecid(reg, id, rec) == 1) sum = sum + rec[0];
            DropRows(reg, rec);
            MemBlock stored;
            if (D4RecordReadStored(reg, id, &stored)) {
                sum = sum + MemSize(stored);
                D4RecordFree(reg, &stored);
            }
        }
    }
    for (int number = -2; number < 260; number++) {
        uint32_t n = D4BlockGetSize(number);
        uint8_t block[1024];
        if (D4BlockRead(number, block, sizeof block)) sum = sum + n + block[0];
    }
    std::string report;
    bool intact = D4IntegrityCheck(&report);
    // Nothing has been written yet: damage found so far must leave the
    // file as it was but for its damaged word (bytes 42 and 43).
    bool damaged = damagedAtOpen || D4DamagedMode();
    if (intact && !damaged) {
        Change();
        report.clear();
        D4IntegrityCheck(&report);
    }
    D4Close();
    if (damaged) {
        std::vector<uint8_t> after = ReadFile(path);
        if (after.size() != size) __builtin_trap();
        for (size_t i = 0; i < size; i++)
            if (after[i] != data[i] && i != 42 && i != 43) __builtin_trap();
    }
    return 0;
}
