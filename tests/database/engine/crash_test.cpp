// The crash-consistency test: a workload of inserts, updates and deletes
// in holds (every fourth of which fails at its end and must store
// nothing), and for every write point of every hold and of the close
// after it a simulated crash (that write and all later ones never reach
// the file). The file must then open without damage, pass the whole-file
// check, and hold exactly the records of the state before that hold or
// after it (the same for a failed hold).
#include <fstream>
#include <iterator>
#include <random>

#include "core/system.h"
#include "tests/database/engine/engine_fixture.h"

using namespace enginetest;

namespace {

// A record of the workload: register 1 with rows derived from its payload.
struct Rec {
    Main main;
};

std::vector<uint8_t> RowsFor(uint32_t payload) {
    std::vector<uint8_t> rows(payload % 1800);
    for (size_t i = 0; i < rows.size(); i++) rows[i] = (uint8_t)(payload >> (i % 24));
    return rows;
}

using State = std::map<uint32_t, Main>;

struct Op {
    int kind;   // 0 insert, 1 update, 2 delete
    uint32_t id;
    Main main;
};

class EngineCrash : public EngineFixture {
protected:
    uint16_t NodeEntries() override { return 5; }

    bool Store(const Main &m, uint32_t *id, bool update) {
        uint8_t rec[MainSize];
        PutMain(rec, m);
        std::vector<uint8_t> rows = RowsFor(m.payload);
        MemBlock h = MemAlloc((uint32_t)rows.size());
        if (!rows.empty()) std::memcpy(MemLock(h), rows.data(), rows.size());
        MemUnlock(h);
        std::memcpy(rec + OffRows, &h, 4);
        bool ok = update ? RecordIDUpdate(RegMain, *id, rec) : D4RecordInsert(RegMain, rec, id);
        MemFree(&h);
        return ok;
    }

    // Runs one hold's operations; the ids of inserts are filled in. A
    // hold that fails after its work (as when an after-hook refuses) ends
    // with D4HoldEnd(false) and must store nothing.
    bool RunHold(std::vector<Op> &ops, bool fails) {
        D4Hold();
        bool ok = true;
        for (Op &op : ops) {
            if (op.kind == 0) ok = Store(op.main, &op.id, false) && ok;
            else if (op.kind == 1) ok = Store(op.main, &op.id, true) && ok;
            else ok = D4RecordIDDelete(RegMain, op.id) && ok;
        }
        if (fails) return D4HoldEnd(false) && false;
        return D4DiskFlush() && ok;
    }

    // True when the open file holds exactly state.
    bool Holds(const State &state) {
        for (const char *ix : {"SerNr", "Code", "DateAmt"})
            if (D4RecordCount(RegMain, ix) != state.size()) return false;
        for (auto &[id, m] : state) {
            uint8_t rec[MainSize] = {};
            if (D4RecordReadRecid(RegMain, id, rec) != 1) return false;
            MemBlock rows;
            std::memcpy(&rows, rec + OffRows, 4);
            std::vector<uint8_t> want = RowsFor(m.payload);
            bool same = SameMain(GetMain(rec), m) && MemSize(rows) == want.size() &&
                        (want.empty() || std::memcmp(MemLock(rows), want.data(), want.size()) == 0);
            MemFree(&rows);
            if (!same) return false;
        }
        return true;
    }

    std::vector<uint8_t> FileBytes() {
        std::ifstream in(path, std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }
    void PutFile(const std::vector<uint8_t> &b) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(b.data()), (std::streamsize)b.size());
    }
};

std::vector<Op> MakeHold(std::mt19937 &rng, const State &state, uint32_t &serial) {
    std::vector<Op> ops;
    int n = 1 + rng() % 6;
    std::vector<uint32_t> ids;
    for (auto &[id, m] : state) ids.push_back(id);
    std::set<uint32_t> touched;
    for (int i = 0; i < n; i++) {
        int kind = ids.empty() ? 0 : rng() % 3;
        Main m{++serial % 23, "K" + std::to_string(rng() % 9), {(uint16_t)(1 + rng() % 28), 1, 2021},
               (int64_t)(rng() % 5) * 1000, (uint32_t)rng()};
        if (kind == 0) {
            ops.push_back({0, 0, m});
            continue;
        }
        uint32_t id = ids[rng() % ids.size()];
        if (!touched.insert(id).second) continue;   // one change per record and hold
        if (kind == 1 && rng() % 3 == 0) {
            m = state.at(id);
            m.payload = (uint32_t)rng();   // no key changes, rows do
        }
        ops.push_back({kind, id, m});
    }
    return ops;
}

}  // namespace

TEST_F(EngineCrash, EveryCrashPointLeavesTheStateBeforeOrAfterTheHold) {
    bool compact = CompactVariant;
    CompactVariant = true;   // no log line for each of the many opens
    std::mt19937 rng(2024);
    uint32_t serial = 0;
    State state;
    struct Hold {
        std::vector<uint8_t> before;
        State stateBefore, stateAfter;
        std::vector<Op> ops;
        bool fails = false;
    };
    std::vector<Hold> holds;
    // The workload once, keeping the committed file before every hold.
    for (int h = 0; h < 90; h++) {
        Hold hold;
        hold.before = FileBytes();
        hold.stateBefore = state;
        hold.ops = MakeHold(rng, state, serial);
        std::vector<Op> ops = hold.ops;
        hold.fails = h % 4 == 3;
        if (hold.fails) {
            ASSERT_FALSE(RunHold(ops, true));
            ASSERT_TRUE(Holds(state)) << "a failed hold is undone in the same run";
        } else {
            ASSERT_TRUE(RunHold(ops, false));
            for (const Op &op : ops) {
                if (op.kind == 2) state.erase(op.id);
                else state[op.id] = op.main;
            }
        }
        hold.stateAfter = state;
        holds.push_back(std::move(hold));
    }
    ASSERT_TRUE(Holds(state));
    ASSERT_TRUE(D4Close());

    int tried = 0, sawBefore = 0, sawAfter = 0;
    for (const Hold &hold : holds) {
        for (int64_t k = 0;; k++) {
            PutFile(hold.before);
            ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
            D4TestHooks = D4FileHooks{};
            D4TestHooks.writesAllowed = k;
            D4TestHooks.skipSync = true;
            std::vector<Op> ops = hold.ops;
            RunHold(ops, hold.fails);
            D4Close();
            bool crashed = D4TestHooks.writesDone > k;
            D4TestHooks = D4FileHooks{};
            Messages().clear();
            ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk) << "crash at write " << k;
            ASSERT_FALSE(D4DamagedMode()) << "crash at write " << k;
            std::string report;
            ASSERT_TRUE(D4IntegrityCheck(&report)) << "crash at write " << k << "\n" << report;
            bool before = Holds(hold.stateBefore), after = Holds(hold.stateAfter);
            ASSERT_TRUE(before || after) << "crash at write " << k;
            ASSERT_TRUE(Messages().empty()) << Messages().front();
            sawBefore += before;
            sawAfter += after;
            D4Close();
            tried++;
            if (!crashed) break;
        }
    }
    std::printf("crash points tried: %d (state before the hold %d, after it %d)\n", tried, sawBefore, sawAfter);
    EXPECT_GT(tried, 500);
    EXPECT_GT(sawBefore, 0);
    EXPECT_GT(sawAfter, 0);
    CompactVariant = compact;
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
}
