// chooser_windows_test.cpp - what choosing from a field opens, over the
// built interface file: every field and matrix column that names a
// chooser names a window with a list to choose from (a register's list,
// a choice list, or a plain window with a list box), never a record
// window, which has nothing to type back into the field.
#include <string>

#include "core/definitions.h"
#include "core/window_entries.h"
#include "tests/shell/shell_fixture.h"

namespace {

constexpr int KindPlain = 0, KindList = 1, KindChoiceList = 2;
constexpr int ListRectWord = 11;   // first of the four words of a plain window's list box

bool ChoosesFromAList(int type)
{
    int kind = WinTypeWord(type, 0);
    if (kind == KindList || kind == KindChoiceList) return true;
    if (kind != KindPlain) return false;
    for (int w = ListRectWord; w < ListRectWord + 4; w++)
        if (WinTypeWord(type, w) != 0) return true;
    return false;
}

using ChooserWindows = ShellFixture;

TEST_F(ChooserWindows, EveryChooserOpensAWindowWithAList)
{
    int choosers = 0;
    for (int type = 1; type < WinTypeCount; type++) {
        uint8_t *def = WinTypeDef(type);
        if (!def) continue;
        struct Part {
            int part, at;
            const char *what;
        };
        for (Part p : {Part{WinPartDataFields, FieldEntry::Chooser, "field"},
                       Part{WinPartMatrixColumns, ColumnEntry::Chooser, "column"}}) {
            for (int i = 0; i < WinDefPartCount(def, p.part); i++) {
                uint16_t size = 0;
                const uint8_t *e = WinDefPartEntry(def, p.part, i, &size);
                ASSERT_NE(e, nullptr);
                int16_t chooser = int16_t(DefU16(e + p.at));
                if (chooser <= 0) continue;
                choosers++;
                EXPECT_TRUE(ChoosesFromAList(chooser))
                    << "window type " << type << " " << p.what << " " << i << " chooses from window type " << chooser
                    << " of kind " << WinTypeWord(chooser, 0);
            }
        }
    }
    // The customer, item and currency fields of the documents at least.
    EXPECT_GE(choosers, 10);
}

// The check itself tells a record window from a list.
TEST_F(ChooserWindows, ARecordWindowIsNoList)
{
    constexpr int Customers = 590, CustomerList = 594, CurrencyChoice = 247;
    EXPECT_FALSE(ChoosesFromAList(Customers));
    EXPECT_TRUE(ChoosesFromAList(CustomerList));
    EXPECT_TRUE(ChoosesFromAList(CurrencyChoice));
}

}  // namespace
