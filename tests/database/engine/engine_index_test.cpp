// Tests of the counted indexes through the record operations: many
// inserts, updates and deletes against a model (positions, counts, walks
// both ways, equal keys in the order their records were stored),
// searches by full and partial key in both directions, one record's entry
// among many equal keys found in one descent, trees that grow and
// collapse, and the split that keeps ascending inserts' nodes full.
#include <random>

#include "core/interface_defs.h"
#include "database/engine/engine_state.h"
#include "database/engine/format.h"
#include "tests/database/engine/engine_fixture.h"

using namespace enginetest;

// An index's full name from the interface file fits the master list.
static_assert(IndexFullNameMax == dbformat::MlNameRoom - 1, "the engine's master list holds the full name");

namespace {

class EngineIndex : public EngineFixture {};

Main RandomMain(std::mt19937 &rng) {
    Main m;
    m.serial = rng() % 60;                       // many equal serial numbers
    static const char *codes[] = {"A", "AB", "B", "BA", "C", "CODE", "Z", ""};
    m.code = codes[rng() % 8];
    m.date = DateRec{(uint16_t)(1 + rng() % 3), 1, (uint16_t)(rng() % 5 == 0 ? 0 : 2020 + rng() % 2)};
    m.amount = (int64_t)(rng() % 7) * 1000 - 3000;
    m.payload = rng();
    return m;
}

// Searches record m's key in index ix and checks the answer against the
// model: forward gives the first of the equal range, backward the last.
void ExpectSearch(const Model &model, const std::string &ix, const Main &m, int parts) {
    std::vector<uint32_t> order = model.Order(ix);
    uint8_t rec[MainSize];
    for (int direction : {1, -1}) {
        for (int exact : {1, 0}) {
            PutMain(rec, m);
            std::memcpy(rec + OffRows, &NoRows, 4);
            uint32_t id = 0, position = 0;
            bool found = D4RecordFind(RegMain, ix.c_str(), rec, parts, exact, direction, &id, &position);
            // The model's answer.
            long want = -1;
            if (direction == 1) {
                for (size_t p = 0; p < order.size(); p++)
                    if (ModelCompare(ix, model.records.at(order[p]), m, parts) >= 0) {
                        want = (long)p;
                        break;
                    }
            } else {
                for (size_t p = order.size(); p-- > 0;)
                    if (ModelCompare(ix, model.records.at(order[p]), m, parts) <= 0) {
                        want = (long)p;
                        break;
                    }
            }
            if (want >= 0 && exact && ModelCompare(ix, model.records.at(order[want]), m, parts) != 0) want = -1;
            ASSERT_EQ(found, want >= 0) << ix << " dir " << direction << " exact " << exact;
            if (found) {
                EXPECT_EQ(id, order[want]);
                EXPECT_EQ(position, (uint32_t)want + 1);
                EXPECT_TRUE(SameMain(GetMain(rec), model.records.at(id)));
            }
        }
    }
}

}  // namespace

TEST_F(EngineIndex, RandomWorkloadMatchesModelAndSurvivesReopen) {
    std::mt19937 rng(12345);
    Model model;
    for (int round = 0; round < 6; round++) {
        D4Hold();
        for (int i = 0; i < 120; i++) {
            int op = rng() % 10;
            if (model.records.empty() || op < 5) {
                Main m = RandomMain(rng);
                uint32_t id = Insert(m);
                ASSERT_NE(id, 0u);
                model.Insert(id, m);
            } else {
                auto it = model.records.begin();
                std::advance(it, rng() % model.records.size());
                uint32_t id = it->first;
                if (op < 8) {
                    Main m = RandomMain(rng);
                    if (rng() % 3 == 0) {   // keep some keys, change only the payload
                        m = it->second;
                        m.payload++;
                    }
                    uint8_t rec[MainSize];
                    PutMain(rec, m);
                    ASSERT_TRUE(RecordIDUpdate(RegMain, id, rec));
                    model.Update(id, m);
                } else {
                    ASSERT_TRUE(D4RecordIDDelete(RegMain, id)) << "not first among equal keys must still go";
                    model.Erase(id);
                }
            }
        }
        ASSERT_TRUE(D4DiskFlush());
        ExpectMatches(model);
        ExpectIntact();
        for (int k = 0; k < 20; k++) {
            Main probe = RandomMain(rng);
            for (const std::string &ix : Model::Indexes()) ExpectSearch(model, ix, probe, 0);
            ExpectSearch(model, "DateAmt", probe, 1);
        }
    }
    EXPECT_FALSE(SawMessage("D4IndexDelete"));
    ASSERT_TRUE(D4Close());
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    ExpectMatches(model);
    ExpectIntact();
    // Deleting everything collapses every tree back to an empty root.
    for (auto &[id, m] : model.records) ASSERT_TRUE(D4RecordIDDelete(RegMain, id));
    model.records.clear();
    for (auto &[ix, e] : model.entered) e.clear();
    ExpectMatches(model);
    ExpectIntact();
    EXPECT_EQ(Insert(Main{7, "X", {1, 1, 2021}, 0, 0}) != 0, true);
    EXPECT_EQ(D4RecordCount(RegMain, "Code"), 1u);
    EXPECT_TRUE(Messages().empty()) << Messages().front();
}

TEST_F(EngineIndex, EqualKeysKeepInsertionOrderAcrossLeaves) {
    // Ten equal codes span several 4-entry leaves.
    Model model;
    std::vector<uint32_t> ids;
    for (uint32_t i = 0; i < 10; i++) {
        Main m{i, "SAME", {1, 1, 2020}, 0, i};
        uint32_t id = Insert(m);
        model.Insert(id, m);
        ids.push_back(id);
    }
    Main before{100, "A", {1, 1, 2020}, 0, 0};
    model.Insert(Insert(before), before);
    ExpectMatches(model);
    // A forward exact search gives the first of the range, though the
    // range begins in a leaf the descent does not end in.
    uint8_t rec[MainSize];
    PutMain(rec, Main{0, "SAME"});
    std::memcpy(rec + OffRows, &NoRows, 4);
    uint32_t id, position;
    ASSERT_TRUE(D4RecordFind(RegMain, "Code", rec, 0, 1, 1, &id, &position));
    EXPECT_EQ(id, ids[0]);
    EXPECT_EQ(position, 2u);
    std::memcpy(rec + OffRows, &NoRows, 4);
    ASSERT_TRUE(D4RecordFind(RegMain, "Code", rec, 0, 1, -1, &id, &position));
    EXPECT_EQ(id, ids[9]);
    EXPECT_EQ(position, 11u);
    ExpectIntact();
    EXPECT_FALSE(D4DamagedMode());
}

// A long run of equal keys in 4-entry nodes spans hundreds of leaves. One
// record's entry among them (its position, its delete, its re-key) is
// found in one descent by key and record id: the node visits of each are
// bounded by the tree's depth, where walking the run would visit every
// leaf before it. Equal keys read in the order their records were first
// stored through deletes at leaf edges, emptied leaves, re-keys that split
// full leaves inside the run, and reopening.
TEST_F(EngineIndex, OneEntryAmongManyEqualKeysIsFoundInOneDescent) {
    constexpr uint32_t Run = 2400;
    Model model;
    std::vector<uint32_t> ids;
    D4Hold();
    for (uint32_t i = 0; i < Run; i++) {
        // Equal codes and dates; serial numbers keep a second, unique order.
        Main m{i, "SAME", {5, 3, 2021}, 0, i};
        uint32_t id = Insert(m);
        model.Insert(id, m);
        ids.push_back(id);
    }
    Main first{9999, "A", {5, 3, 2021}, 0, 0}, last{9998, "Z", {6, 3, 2021}, 0, 0};
    model.Insert(Insert(first), first);
    model.Insert(Insert(last), last);
    ASSERT_TRUE(D4DiskFlush());
    uint32_t levels = 0;
    {
        std::vector<std::pair<std::string, std::array<uint32_t, 3>>> heads;
        std::string report;
        ASSERT_TRUE(D4MasterListWalk(&heads, &report)) << report;
        for (const auto &[name, head] : heads)
            if (name == "MainVc:Code") levels = head[1];
    }
    ASSERT_GE(levels, 5u);
    // Runs of one descent per index: a walk to the middle of the run would
    // visit some 300 leaves.
    const uint64_t descent = levels + 2;
    uint8_t rec[MainSize];
    auto position = [&](uint32_t id, uint32_t *p) {
        PutMain(rec, model.records.at(id));
        uint64_t before = D4IndexNodeVisits();
        bool ok = D4RecordPosition(RegMain, "Code", rec, id, p);
        EXPECT_LE(D4IndexNodeVisits() - before, descent);
        return ok;
    };
    for (uint32_t i : {0u, 1u, 3u, 4u, 5u, 1199u, 1200u, 2398u, 2399u}) {
        uint32_t p = 0;
        ASSERT_TRUE(position(ids[i], &p)) << i;
        EXPECT_EQ(p, i + 2) << i;
    }
    // An id that is no entry of the run has no position.
    uint32_t p = 7;
    PutMain(rec, model.records.at(ids[10]));
    EXPECT_FALSE(D4RecordPosition(RegMain, "Code", rec, ids[0] - 1, &p));
    EXPECT_EQ(p, 0u);

    // Deletes: the run's first and last, a leaf's first entry (its parent's
    // key and id change), and a stretch that empties whole leaves.
    auto erase = [&](uint32_t id) {
        uint64_t before = D4IndexNodeVisits();
        ASSERT_TRUE(D4RecordIDDelete(RegMain, id));
        // Three indexes, each one descent and the root's check for collapse.
        EXPECT_LE(D4IndexNodeVisits() - before, 3 * (descent + 1));
        model.Erase(id);
    };
    D4Hold();
    for (uint32_t i : {0u, 2399u, 4u, 8u, 801u}) erase(ids[i]);
    for (uint32_t i = 1500; i < 1530; i++) erase(ids[i]);
    ASSERT_TRUE(D4DiskFlush());
    ExpectMatches(model);
    ExpectIntact();
    // Re-keys out of the run and back into it, where the leaves are full
    // (ascending inserts left them so) and split inside the run.
    auto rekey = [&](uint32_t id, const char *code) {
        Main m = model.records.at(id);
        m.code = code;
        PutMain(rec, m);
        uint64_t before = D4IndexNodeVisits();
        ASSERT_TRUE(RecordIDUpdate(RegMain, id, rec));
        // Only "Code" changes: one delete and one insert there.
        EXPECT_LE(D4IndexNodeVisits() - before, 2 * descent + levels + 2);
        model.Update(id, m);
    };
    D4Hold();
    for (uint32_t i : {1u, 700u, 701u, 1531u, 2000u}) rekey(ids[i], "OTHER");
    for (uint32_t i : {2000u, 700u, 1u, 1531u}) rekey(ids[i], "SAME");
    ASSERT_TRUE(D4DiskFlush());
    ExpectMatches(model);
    ExpectIntact();
    for (uint32_t i : {1u, 700u, 1531u, 2000u}) {
        ASSERT_TRUE(position(ids[i], &p)) << i;
        std::vector<uint32_t> want = model.Order("Code");
        EXPECT_EQ(want[p - 1], ids[i]);
    }
    ASSERT_TRUE(D4Close());
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    ExpectMatches(model);
    // Down to a handful: the emptied leaves go and the tree collapses.
    D4Hold();
    std::vector<uint32_t> live;
    for (auto &[id, m] : model.records) live.push_back(id);
    for (size_t k = 0; k + 3 < live.size(); k++)
        if (k % 97 != 5) erase(live[k]);
    ASSERT_TRUE(D4DiskFlush());
    ExpectMatches(model);
    ExpectIntact();
    EXPECT_FALSE(SawMessage("D4IndexDelete"));
    EXPECT_FALSE(D4DamagedMode());
}

// A run stored out of record-id order (as files of earlier builds hold
// one, whose re-keyed entries went to the end of their run) still gives
// each record its own entry: found, positioned and deleted, not taken as
// damage.
TEST_F(EngineIndex, ARunOutOfIdOrderIsStillFound) {
    uint32_t a = Insert(Main{1, "SAME"}), b = Insert(Main{2, "SAME"}), c = Insert(Main{3, "SAME"});
    ASSERT_TRUE(D4Flush(1));
    std::vector<std::pair<std::string, std::array<uint32_t, 3>>> heads;
    std::string report;
    ASSERT_TRUE(D4MasterListWalk(&heads, &report)) << report;
    uint32_t root = dbformat::DiskNone;
    for (const auto &[name, head] : heads)
        if (name == "MainVc:Code") {
            ASSERT_EQ(head[1], 1u);
            root = head[2];
        }
    // The leaf's entries become ids c, a, b.
    uint8_t sector[512];
    ASSERT_TRUE(D4SectorRead(sector, root));
    namespace f = dbformat;
    const uint32_t esize = 22 + f::EntryFixed;   // the "Code" key is 22 bytes
    const uint32_t order[3] = {c, a, b};
    for (uint32_t i = 0; i < 3; i++)
        std::memcpy(sector + f::PlainData + f::NodeEntries + i * esize + f::EntryRecId, &order[i], 4);
    ASSERT_TRUE(D4SectorWrite(sector, root));
    ExpectIntact();
    uint8_t rec[MainSize];
    for (int i = 0; i < 3; i++) {
        PutMain(rec, Main{0, "SAME"});
        uint32_t p = 0;
        ASSERT_TRUE(D4RecordPosition(RegMain, "Code", rec, order[i], &p));
        EXPECT_EQ(p, (uint32_t)i + 1);
    }
    ASSERT_TRUE(D4RecordIDDelete(RegMain, a));
    ASSERT_TRUE(D4RecordIDDelete(RegMain, c));
    uint32_t id = 0;
    ASSERT_TRUE(D4RecordReadPos(RegMain, "Code", 1, rec, &id));
    EXPECT_EQ(id, b);
    EXPECT_EQ(D4RecordCount(RegMain, "Code"), 1u);
    ExpectIntact();
    EXPECT_FALSE(D4DamagedMode());
}

TEST_F(EngineIndex, SearchEdgesAndMissingIndexes) {
    uint8_t rec[MainSize];
    uint32_t id = 1, position = 1;
    PutMain(rec, Main{5, "K"});
    std::memcpy(rec + OffRows, &NoRows, 4);
    // An index never written to does not exist yet: nothing, no message.
    EXPECT_FALSE(D4RecordFind(RegMain, "Code", rec, 0, 0, 1, &id, &position));
    EXPECT_EQ(D4RecordCount(RegMain, "Code"), 0u);
    EXPECT_TRUE(Messages().empty());
    uint32_t one = Insert(Main{5, "K"});
    EXPECT_EQ(D4RecordCount(RegMain, "SerNr"), 1u);
    EXPECT_TRUE(D4RecordReadPos(RegMain, "SerNr", 1, rec, &id));
    EXPECT_EQ(id, one);
    EXPECT_FALSE(D4RecordReadPos(RegMain, "SerNr", 2, rec, &id));
    EXPECT_FALSE(D4RecordReadPos(RegMain, "SerNr", 0, rec, &id));
    // Not exact: forward gives the next above, backward the last below.
    PutMain(rec, Main{4, ""});
    std::memcpy(rec + OffRows, &NoRows, 4);
    EXPECT_TRUE(D4RecordFind(RegMain, "SerNr", rec, 0, 0, 1, &id, &position));
    EXPECT_EQ(position, 1u);
    PutMain(rec, Main{4, ""});
    std::memcpy(rec + OffRows, &NoRows, 4);
    EXPECT_FALSE(D4RecordFind(RegMain, "SerNr", rec, 0, 0, -1, &id, &position));
    PutMain(rec, Main{6, ""});
    std::memcpy(rec + OffRows, &NoRows, 4);
    EXPECT_FALSE(D4RecordFind(RegMain, "SerNr", rec, 0, 0, 1, &id, &position));
    EXPECT_FALSE(D4RecordFind(RegMain, "SerNr", rec, 0, 1, 1, &id, &position));
    // An unknown index name fails instead of using the first index.
    Messages().clear();
    PutMain(rec, Main{5, ""});
    EXPECT_FALSE(D4RecordFind(RegMain, "NoSuch", rec, 0, 1, 1, &id, &position));
    EXPECT_EQ(D4RecordCount(RegMain, "NoSuch"), 0u);
    EXPECT_TRUE(SawMessage("Error in key NoSuch"));
    EXPECT_FALSE(D4DamagedMode());
}

TEST_F(EngineIndex, ManyIndexesFillASecondMasterListBlock) {
    // Blocks, three main, one simple, one rows and three extra indexes:
    // nine names need two master-list blocks of seven.
    Insert(Main{1, "A"});
    uint8_t simple[8] = {1, 0, 0, 0, 2, 0, 0, 0};
    uint32_t id;
    ASSERT_TRUE(D4RecordInsert(RegSimple, simple, &id));
    uint8_t rows[16] = {9};
    ASSERT_TRUE(D4RecordInsert(RegRows, rows, &id));
    uint8_t extra[8] = {3, 0, 0, 0, 4, 0, 0, 0};
    ASSERT_TRUE(D4RecordInsert(RegExtra, extra, &id));
    uint8_t block[4] = {1, 2, 3, 4};
    ASSERT_TRUE(D4BlockStore(145, block, 4));
    ASSERT_TRUE(D4Close());
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    for (const char *ix : {"A", "B", "C"}) EXPECT_EQ(D4RecordCount(RegExtra, ix), 1u) << ix;
    EXPECT_EQ(D4RecordCount(RegSimple, "Key"), 1u);
    EXPECT_EQ(D4BlockGetSize(145), 4u);
    ExpectIntact();
}

// Keys arriving in ascending order split the rightmost node of each level
// by leaving it full and starting a new node with the new key alone, so
// every node but the last of its level ends up full: 200 keys in 4-entry
// nodes take 50 + 13 + 4 + 1 nodes (halving splits would leave about
// twice as many leaves). Inserts inside one hold (nodes rewritten in
// place) and in holds of their own (nodes moved on change) both count.
TEST_F(EngineIndex, AscendingInsertsLeaveFullNodes) {
    Model model;
    auto add = [&](uint32_t i) {
        char code[8];
        std::snprintf(code, sizeof code, "K%04u", i);
        Main m{i, code, {1, 1, 2020}, (int64_t)i * 10, i};
        model.Insert(Insert(m), m);
    };
    D4Hold();
    for (uint32_t i = 0; i < 100; i++) add(i);
    ASSERT_TRUE(D4DiskFlush());
    for (uint32_t i = 100; i < 200; i++) add(i);
    ExpectMatches(model);
    ExpectIntact();
    std::vector<std::pair<std::string, std::array<uint32_t, 3>>> heads;
    std::string report;
    ASSERT_TRUE(D4MasterListWalk(&heads, &report)) << report;
    int checked = 0;
    for (const char *ix : {"SerNr", "Code", "DateAmt"}) {
        const uint8_t *def = D4IndexFindByName(RegMain, ix);
        ASSERT_NE(def, nullptr);
        for (const auto &[name, head] : heads) {
            if (name != std::string("MainVc:") + ix) continue;
            std::vector<uint32_t> nodes, recids;
            ASSERT_TRUE(D4IndexWalkOne(def, head[1], head[2], &nodes, &recids, &report)) << report;
            EXPECT_EQ(head[1], 4u) << ix;
            EXPECT_EQ(nodes.size(), 68u) << ix;
            EXPECT_EQ(recids.size(), 200u) << ix;
            checked++;
        }
    }
    EXPECT_EQ(checked, 3);
    // Keys that arrive descending or among the others still split in
    // halves and keep every count right.
    for (uint32_t i = 0; i < 60; i++) {
        Main m{1000 - i, i % 2 ? "A" : "ZZ", {2, 1, 2019}, -(int64_t)i, i};
        model.Insert(Insert(m), m);
        Main mid{150 - i % 7, "K0100", {1, 1, 2020}, 1005, i};
        model.Insert(Insert(mid), mid);
    }
    ExpectMatches(model);
    ExpectIntact();
    EXPECT_FALSE(D4DamagedMode());
}
