// The row of a settings table with a code: the first row that has it, and
// none for a code no row has (an empty table included).
#include "rules/settings_row_find.h"
#include "tests/rules/rules_fixture.h"

namespace {

class SettingsRowFindTest : public RulesFixture {
protected:
    static int32_t Find(const char *code) {
        SettingsRows rows(VatCodeBlk::Number, &VatCodeRows, VatCodeRow::Size);
        uint8_t wanted[256];
        PStringFromC(wanted, code);
        return SettingsRowWithCode(rows, VatCodeRow::Code, wanted);
    }
};

TEST_F(SettingsRowFindTest, FirstRowWithTheCodeAndNoneForAnUnknownCode) {
    EXPECT_EQ(Find("1"), -1);   // no rows yet
    AddVatCode("1", 25, 0, "2610", "2640");
    AddVatCode("2", 12, 0, "2620", "2640");
    AddVatCode("2", 6, 0, "2630", "2640");
    EXPECT_EQ(Find("1"), 0);
    EXPECT_EQ(Find("2"), 1);
    EXPECT_EQ(Find("9"), -1);
    EXPECT_EQ(Find(""), -1);
}

}  // namespace
