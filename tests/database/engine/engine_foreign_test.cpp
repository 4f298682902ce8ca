// Tests of a database in the other byte order: the engine's own numbers
// are stored swapped, records arrive in file form (converted by the
// record layer), and keys still order as in the program's own order.
#include <fstream>
#include <iterator>
#include <random>

#include "core/file_form.h"
#include "tests/database/engine/engine_fixture.h"

using namespace enginetest;

namespace {

class EngineForeign : public EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        ASSERT_TRUE(D4Close());
        D4TestSetCreateByteOrder(0);
        ASSERT_EQ(D4Create(path.c_str(), 0), D4OpenOk);
    }
    uint32_t InsertFileForm(const Main &m) {
        uint8_t rec[MainSize];
        PutMain(rec, m);
        RecordConvert(RegMain, rec, ConvertToFile);
        uint32_t id = 0;
        EXPECT_TRUE(D4RecordInsert(RegMain, rec, &id));
        return id;
    }
};

}  // namespace

TEST_F(EngineForeign, KeysOrderAsInTheProgramsOwnOrder) {
    EXPECT_TRUE(D4FileOrderDiffers());
    EXPECT_TRUE(ByteOrderDiffers());
    std::mt19937 rng(99);
    Model model;
    for (int i = 0; i < 150; i++) {
        // Values whose byte-swapped forms order differently.
        Main m{(uint32_t)(rng() % 700), "C" + std::to_string(rng() % 40),
               {(uint16_t)(1 + rng() % 28), (uint16_t)(1 + rng() % 12), (uint16_t)(1990 + rng() % 300)},
               (int64_t)(rng() % 20000) - 10000, (uint32_t)i};
        model.Insert(InsertFileForm(m), m);
    }
    auto check = [&]() {
        for (const std::string &ix : Model::Indexes()) {
            std::vector<uint32_t> want = model.Order(ix);
            ASSERT_EQ(D4RecordCount(RegMain, ix.c_str()), want.size());
            for (size_t p = 1; p <= want.size(); p++) {
                uint8_t rec[MainSize] = {};
                std::memcpy(rec + OffRows, &NoRows, 4);
                uint32_t id;
                ASSERT_TRUE(D4RecordReadPos(RegMain, ix.c_str(), (uint32_t)p, rec, &id));
                ASSERT_EQ(id, want[p - 1]) << ix << " " << p;
                RecordConvert(RegMain, rec, ConvertToMemory);
                EXPECT_TRUE(SameMain(GetMain(rec), model.records.at(id)));
            }
        }
        // A search with a key in file form finds the first of its range.
        const Main &probe = model.records.begin()->second;
        uint8_t rec[MainSize];
        PutMain(rec, probe);
        RecordConvert(RegMain, rec, ConvertToFile);
        std::memcpy(rec + OffRows, &NoRows, 4);
        uint32_t id, position;
        ASSERT_TRUE(D4RecordFind(RegMain, "DateAmt", rec, 0, 1, 1, &id, &position));
        std::vector<uint32_t> order = model.Order("DateAmt");
        size_t first = 0;
        while (ModelCompare("DateAmt", model.records.at(order[first]), probe) != 0) first++;
        EXPECT_EQ(position, first + 1);
    };
    check();
    // Deletes and re-keys among them.
    for (int i = 0; i < 40; i++) {
        auto it = model.records.begin();
        std::advance(it, rng() % model.records.size());
        ASSERT_TRUE(D4RecordIDDelete(RegMain, it->first));
        model.Erase(it->first);
    }
    uint8_t block[6] = {1, 2, 3, 4, 5, 6};
    ASSERT_TRUE(D4BlockStore(130, block, 6));
    ExpectIntact();
    ASSERT_TRUE(D4Close());
    EXPECT_FALSE(ByteOrderDiffers()) << "no database open: the program's own order";
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> f((std::istreambuf_iterator<char>(in)), {});
    ASSERT_GE(f.size(), 100u);
    EXPECT_EQ(f[0], 0);
    EXPECT_EQ(f[38], 0);
    EXPECT_EQ(f[40], 0x0B) << "the format number 3041 in the other order";
    EXPECT_EQ(f[41], 0xE1);
    ASSERT_EQ(D4Open(path.c_str(), 0), D4OpenOk);
    EXPECT_TRUE(D4FileOrderDiffers());
    check();
    uint8_t back[6];
    ASSERT_TRUE(D4BlockRead(130, back, 6));
    EXPECT_EQ(std::memcmp(back, block, 6), 0);
    ExpectIntact();
    EXPECT_TRUE(Messages().empty()) << Messages().front();
}
