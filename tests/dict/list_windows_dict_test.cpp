// list_windows_dict_test.cpp - the list windows of the built interface
// file against the registers they list: a column sorts by an index its
// register has (another name makes the list say "Error in key" and show
// nothing), a list's New opens a window of the same register, and
// every register the ledger keeps has its record window and its list in
// the General ledger's register popup.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "core/definitions.h"
#include "core/interface_defs.h"
#include "core/window_entries.h"
#include "dict_offsets.h"
#include "tests/core/built_interface.h"

namespace {

constexpr int KindList = 1, KindRecord = 3;
constexpr int WordKind = 0, WordRelated = 1, WordRegister = 8;
constexpr int ModuleTableSlot = 7, LedgerModule = 2;

class ListWindowsDict : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(LoadBuiltInterface(&error)) << error;
    }
};

// The names of register reg's indexes.
std::set<std::string> IndexNames(int reg)
{
    std::set<std::string> names;
    for (int i = 0; i < RegIndexCount(reg); i++) {
        const uint8_t *name = IndexDefName(RegIndexDef(reg, i));
        names.insert(std::string(reinterpret_cast<const char *>(name + 1), name[0]));
    }
    return names;
}

TEST_F(ListWindowsDict, EveryColumnSortsByAnIndexOfItsRegister)
{
    int lists = 0;
    for (int type = 1; type < WinTypeCount; type++) {
        uint8_t *def = WinTypeDef(type);
        if (!def || WinTypeWord(type, WordKind) != KindList) continue;
        int reg = WinTypeWord(type, WordRegister);
        if (reg == 0) continue;
        lists++;
        std::set<std::string> names = IndexNames(reg);
        for (int c = 0; c < WinDefPartCount(def, WinPartFieldList); c++) {
            uint16_t size = 0;
            const uint8_t *e = WinDefPartEntry(def, WinPartFieldList, c, &size);
            std::string index(reinterpret_cast<const char *>(e + ListColEntry::Index + 1), e[ListColEntry::Index]);
            if (index.empty()) continue;   // the register's current index
            EXPECT_TRUE(names.count(index)) << "list " << type << " column " << c << " sorts by \"" << index
                                            << "\", which register " << reg << " lacks";
        }
    }
    EXPECT_GT(lists, 20);
}

TEST_F(ListWindowsDict, NewInAListOpensAWindowOfItsRegister)
{
    for (int type = 1; type < WinTypeCount; type++) {
        if (!WinTypeDef(type) || WinTypeWord(type, WordKind) != KindList) continue;
        int related = WinTypeWord(type, WordRelated);
        if (related == 0) continue;
        ASSERT_NE(WinTypeDef(related), nullptr) << "list " << type << " opens undefined type " << related;
        EXPECT_EQ(WinTypeWord(related, WordRegister), WinTypeWord(type, WordRegister)) << "list " << type;
    }
}

// The ledger's registers: their record windows (some of another file; the
// distribution key's and the voucher template's under the types their
// rules are written for) and lists, each list in the ledger module's part
// of the module table.
TEST_F(ListWindowsDict, TheLedgerRegistersHaveARecordWindowAndAListInTheLedgerModule)
{
    std::map<int, int> listOf;   // register -> its list type in the ledger module
    for (int i = 0; i < ListTableCount(ModuleTableSlot); i++) {
        const uint8_t *e = ListTableEntry(ModuleTableSlot, i);
        int type = DefU16(e), module = DefU16(e + 6);
        if (module == LedgerModule && WinTypeDef(type) && WinTypeWord(type, WordKind) == KindList)
            listOf[WinTypeWord(type, WordRegister)] = type;
    }
    const int registers[] = {OBVc::Number,   ACVc::Number,   AUVc::Number,   BUVc::Number,       BPVc::Number,
                             DKVc::Number,   OTVc::Number,   SR21Vc::Number, SR22Vc::Number,     SR42Vc::Number,
                             SR43Vc::Number, SR44Vc::Number, SR45Vc::Number, SR46Vc::Number,     SR47Vc::Number,
                             SR48Vc::Number, SR49Vc::Number, SR50Vc::Number, SR51Vc::Number,     ExchRateVc::Number,
                             OpenBalVc::Number, RateAccVc::Number, IntRateVc::Number};
    for (int reg : registers) {
        ASSERT_TRUE(listOf.count(reg)) << "register " << reg << " has no list in the ledger module";
        int list = listOf[reg];
        int record = WinTypeWord(list, WordRelated);
        EXPECT_NE(record, 0) << "the list of register " << reg << " opens no record window";
        EXPECT_EQ(WinTypeWord(record, WordKind), KindRecord) << "register " << reg;
        EXPECT_EQ(WinTypeWord(record, WordRegister), reg);
        EXPECT_EQ(WinTypeWord(record, 2), RegRecordSize(reg)) << "register " << reg;
    }
    // The types the record-window rules are written for: the key's sum
    // follows its factors, a template's rows may be deleted.
    EXPECT_EQ(WinTypeWord(140, WordRegister), DKVc::Number);
    EXPECT_EQ(WinTypeWord(124, WordRegister), AUVc::Number);
}

}  // namespace
