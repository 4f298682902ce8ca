// engine_fixture.h - what the engine tests share: a small interface file
// with registers of several key types, records built from plain values,
// a model of the expected index order, and a fixture that starts the
// engine on a fresh database file and records the engine's messages.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "core/date.h"
#include "core/decimal.h"
#include "core/interface_load.h"
#include "core/interface_write.h"
#include "core/memblock.h"
#include "core/message_sink.h"
#include "core/pstring.h"
#include "database/engine/engine.h"

namespace enginetest {

// Register 1 "MainVc" (64 bytes): serial u32 at 0, code text (20
// characters) at 4, date at 26, amount at 32, rows handle at 44, payload
// u32 at 48. Indexes "SerNr" (serial), "Code" (code), "DateAmt" (date,
// then amount). Register 2 "SimpleVc" (8 bytes, simple): index "Key" of
// two u32 parts. Register 3 "RowsVc" (16 bytes, rows handle at 8): index
// "Nr". Register 4 "ExtraVc" (8 bytes): indexes "A", "B", "C".
constexpr int RegMain = 1, RegSimple = 2, RegRows = 3, RegExtra = 4;
constexpr uint32_t MainSize = 64;
constexpr int OffSerial = 0, OffCode = 4, OffDate = 26, OffAmount = 32, OffRows = 44, OffPayload = 48;
constexpr uint32_t NoRows = 0xFFFFFFFFu;

inline std::vector<std::string> &Messages() {
    static std::vector<std::string> m;
    return m;
}
inline void RecordMessage(const char *text) { Messages().push_back(text); }
inline bool SawMessage(const std::string &part) {
    for (const std::string &m : Messages())
        if (m.find(part) != std::string::npos) return true;
    return false;
}

// Builds and loads the test interface file; small nodes (maxEntries
// entries) make trees deep with few records.
inline void LoadTestDictionary(uint16_t maxEntries = 4) {
    InterfaceDefs d;
    for (int i = 0; i < 256; i++) d.collation[i] = (uint8_t)i;
    for (int i = 0; i < 256; i++) d.readTable[i] = d.writeTable[i] = (uint8_t)i;
    RegisterDefSource main{};
    main.number = RegMain;
    main.name = "MainVc";
    main.recordSize = MainSize;
    main.matrixOffset = OffRows;
    main.rows = RowLayoutDef{};
    main.rows->rowSize = 8;
    main.fields = {{"Serial", OffSerial, 5, 4},   {"Code", OffCode, 1, 20},       {"Date", OffDate, 6, 6},
                   {"Amount", OffAmount, 2, 12}, {"Payload", OffPayload, 5, 4}};
    main.indexes.push_back(IndexOf("SerNr", 2, 4, maxEntries, {KeyPart(OffSerial, 0, 4, 5)}));
    main.indexes.push_back(IndexOf("Code", 3, 22, maxEntries, {KeyPart(OffCode, 0, 22, 1)}));
    main.indexes.push_back(
        IndexOf("DateAmt", 4, 18, maxEntries, {KeyPart(OffDate, 0, 6, 6), KeyPart(OffAmount, 6, 12, 2)}));
    d.registers.push_back(main);
    RegisterDefSource simple{};
    simple.number = RegSimple;
    simple.name = "SimpleVc";
    simple.recordSize = 8;
    simple.simple = true;
    simple.indexes.push_back(IndexOf("Key", 5, 8, maxEntries, {KeyPart(0, 0, 4, 5), KeyPart(4, 4, 4, 5)}));
    d.registers.push_back(simple);
    RegisterDefSource rows{};
    rows.number = RegRows;
    rows.name = "RowsVc";
    rows.recordSize = 16;
    rows.matrixOffset = 8;
    rows.rows = RowLayoutDef{};
    rows.rows->rowSize = 4;
    rows.indexes.push_back(IndexOf("Nr", 6, 4, 31, {KeyPart(0, 0, 4, 5)}));
    d.registers.push_back(rows);
    RegisterDefSource extra{};
    extra.number = RegExtra;
    extra.name = "ExtraVc";
    extra.recordSize = 8;
    extra.indexes.push_back(IndexOf("A", 7, 4, 31, {KeyPart(0, 0, 4, 5)}));
    extra.indexes.push_back(IndexOf("B", 8, 4, 31, {KeyPart(4, 0, 4, 5)}));
    extra.indexes.push_back(IndexOf("C", 9, 4, 31, {KeyPart(0, 0, 2, 10)}));
    d.registers.push_back(extra);
    d.texts.push_back({1555, "Wrong database format"});
    d.texts.push_back({1556, "Database was not closed"});
    d.texts.push_back({10800, "Save undone:"});
    std::vector<uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(InterfaceWrite(d, &bytes, &error)) << error;
    ASSERT_TRUE(LoadDefinitionsFromBytes(bytes.data(), bytes.size(), &error)) << error;
}

// A record of register 1 as plain values.
struct Main {
    uint32_t serial = 0;
    std::string code;
    DateRec date{0, 0, 0};
    int64_t amount = 0;   // thousandths
    uint32_t payload = 0;
};

inline void PutMain(uint8_t *rec, const Main &m) {
    std::memset(rec, 0, MainSize);
    std::memcpy(rec + OffSerial, &m.serial, 4);
    rec[OffCode] = (uint8_t)std::min<size_t>(m.code.size(), 20);
    std::memcpy(rec + OffCode + 1, m.code.data(), rec[OffCode]);
    std::memcpy(rec + OffDate, &m.date, 6);
    PackedDecimal d;
    DecFromThousandths(&d, m.amount);
    std::memcpy(rec + OffAmount, &d, 12);
    std::memcpy(rec + OffPayload, &m.payload, 4);
}

inline Main GetMain(const uint8_t *rec) {
    Main m;
    std::memcpy(&m.serial, rec + OffSerial, 4);
    m.code.assign(reinterpret_cast<const char *>(rec + OffCode + 1), rec[OffCode]);
    std::memcpy(&m.date, rec + OffDate, 6);
    PackedDecimal d;
    std::memcpy(&d, rec + OffAmount, 12);
    __int128 v = 0;
    DecToThousandths(&d, &v);
    m.amount = (int64_t)v;
    std::memcpy(&m.payload, rec + OffPayload, 4);
    return m;
}

inline bool SameMain(const Main &a, const Main &b) {
    return a.serial == b.serial && a.code == b.code && std::memcmp(&a.date, &b.date, 6) == 0 &&
           a.amount == b.amount && a.payload == b.payload;
}

inline int Cmp3(int64_t a, int64_t b) { return a < b ? -1 : (a > b ? 1 : 0); }

// Key order of the three indexes of register 1, as the model sees it.
inline int ModelCompare(const std::string &index, const Main &a, const Main &b, int parts = 0) {
    if (index == "SerNr") return Cmp3((int32_t)a.serial, (int32_t)b.serial);
    if (index == "Code") {
        int c = a.code.compare(b.code);
        return c < 0 ? -1 : (c > 0 ? 1 : 0);
    }
    int c = DateCompare(&a.date, &b.date);
    if (c != 0 || parts == 1) return c;
    return Cmp3(a.amount, b.amount);
}

// The model of register 1: live records by id, and per index the order
// in which records were first stored, which orders equal keys (a
// re-keyed record takes its place among its new equals by that order).
struct Model {
    std::map<uint32_t, Main> records;
    std::map<std::string, std::map<uint32_t, uint64_t>> entered;   // index -> id -> sequence
    uint64_t sequence = 0;
    static const std::vector<std::string> &Indexes() {
        static const std::vector<std::string> names{"SerNr", "Code", "DateAmt"};
        return names;
    }
    void Insert(uint32_t id, const Main &m) {
        records[id] = m;
        for (const std::string &ix : Indexes()) entered[ix][id] = ++sequence;
    }
    void Update(uint32_t id, const Main &m) { records[id] = m; }
    void Erase(uint32_t id) {
        records.erase(id);
        for (const std::string &ix : Indexes()) entered[ix].erase(id);
    }
    std::vector<uint32_t> Order(const std::string &index) const {
        std::vector<uint32_t> ids;
        for (auto &[id, m] : records) ids.push_back(id);
        const auto &seq = entered.at(index);
        std::sort(ids.begin(), ids.end(), [&](uint32_t a, uint32_t b) {
            int c = ModelCompare(index, records.at(a), records.at(b));
            return c != 0 ? c < 0 : seq.at(a) < seq.at(b);
        });
        return ids;
    }
};

// Runs a test in a fresh directory, where the program's log goes, and
// goes back afterwards; Log() is what was logged meanwhile.
struct LogDir {
    std::string old, dir;
    LogDir() {
        char cwd[4096];
        old = getcwd(cwd, sizeof cwd) ? cwd : ".";
        char pattern[] = "/tmp/orvel_enginelog_XXXXXX";
        dir = mkdtemp(pattern);
        EXPECT_EQ(chdir(dir.c_str()), 0);
    }
    ~LogDir() {
        EXPECT_EQ(chdir(old.c_str()), 0);
        std::remove((dir + "/orvel.log").c_str());
        rmdir(dir.c_str());
    }
    std::string Log() const {
        std::string text;
        if (FILE *f = std::fopen((dir + "/orvel.log").c_str(), "rb")) {
            char b[4096];
            size_t n;
            while ((n = std::fread(b, 1, sizeof b, f)) > 0) text.append(b, n);
            std::fclose(f);
        }
        return text;
    }
};

inline std::string TempPath(const std::string &name) {
    static int counter = 0;
    return ::testing::TempDir() + "orvel_" + std::to_string(getpid()) + "_" + std::to_string(++counter) + "_" +
           name;
}

// Starts the engine on a fresh database file; checks the file's
// structures and closes it at the end.
class EngineFixture : public ::testing::Test {
protected:
    std::string path;
    void SetUp() override {
        LoadTestDictionary(NodeEntries());
        Messages().clear();
        MessageSinkSet(RecordMessage);
        D4TestHooks = D4FileHooks{};
        D4TestSetCreateByteOrder(1);
        ASSERT_TRUE(D4Init(320000));
        path = TempPath("test.VDB");
        ASSERT_EQ(D4Create(path.c_str(), 0), D4OpenOk);
    }
    void TearDown() override {
        if (D4IsOpen()) D4Close();
        D4TestHooks = D4FileHooks{};
        D4TestSetCreateByteOrder(1);
        MessageSinkSet(nullptr);
        InterfaceUnload();
        std::remove(path.c_str());
    }
    virtual uint16_t NodeEntries() { return 4; }

    // The whole-file check; fails the test with its report.
    void ExpectIntact() {
        std::string report;
        EXPECT_TRUE(D4IntegrityCheck(&report)) << report;
    }
    uint32_t Insert(const Main &m) {
        uint8_t rec[MainSize];
        PutMain(rec, m);
        uint32_t id = 0;
        EXPECT_TRUE(D4RecordInsert(RegMain, rec, &id));
        return id;
    }
    bool Read(uint32_t id, Main *m) {
        uint8_t rec[MainSize] = {};
        std::memcpy(rec + OffRows, &NoRows, 4);
        if (D4RecordReadRecid(RegMain, id, rec) != 1) return false;
        *m = GetMain(rec);
        return true;
    }
    // Every index of register 1 walked both ways against the model, and
    // every record read back.
    void ExpectMatches(const Model &model) {
        for (const std::string &ix : Model::Indexes()) {
            std::vector<uint32_t> want = model.Order(ix);
            ASSERT_EQ(D4RecordCount(RegMain, ix.c_str()), want.size()) << ix;
            for (size_t p = 1; p <= want.size(); p++) {
                uint8_t rec[MainSize] = {};
                std::memcpy(rec + OffRows, &NoRows, 4);
                uint32_t id = 0;
                ASSERT_TRUE(D4RecordReadPos(RegMain, ix.c_str(), (uint32_t)p, rec, &id)) << ix << " " << p;
                ASSERT_EQ(id, want[p - 1]) << ix << " position " << p;
                EXPECT_TRUE(SameMain(GetMain(rec), model.records.at(id)));
            }
            for (size_t p = want.size(); p >= 1; p--) {
                uint8_t rec[MainSize] = {};
                std::memcpy(rec + OffRows, &NoRows, 4);
                uint32_t id = 0;
                ASSERT_TRUE(D4RecordReadPos(RegMain, ix.c_str(), (uint32_t)p, rec, &id));
                ASSERT_EQ(id, want[p - 1]) << ix << " backward position " << p;
            }
            uint8_t rec[MainSize] = {};
            uint32_t id;
            EXPECT_FALSE(D4RecordReadPos(RegMain, ix.c_str(), (uint32_t)want.size() + 1, rec, &id));
        }
    }
};

}  // namespace enginetest
