// bottom_bar_labels_test.cpp - the bottom bar as the user reads it in the
// built interface file: its fixed buttons and the module buttons of a
// logged-in company each carry a label of their own, and the button of
// the database command (close this company, open another) says so.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/window_entries.h"
#include "shell/login.h"
#include "tests/shell/record_fixture.h"

namespace {

constexpr int DatabaseCommand = 11;

class BottomBarLabels : public RecordFixture {};

TEST_F(BottomBarLabels, EveryButtonHasItsOwnLabel)
{
    uint8_t *def = WinTypeDef(1);
    ASSERT_NE(def, nullptr);
    std::vector<std::string> labels;
    std::string database;
    for (int i = 1; i <= 4; i++) {
        uint16_t size = 0;
        uint8_t *e = WinDefPartEntry(def, WinPartIconButtons, i, &size);
        ASSERT_TRUE(e && size > IconEntry::Label) << "fixed button " << i;
        labels.push_back(PStringToStd(e + IconEntry::Label));
        if (DefU16(e + IconEntry::Command) == DatabaseCommand) database = labels.back();
    }
    int modules = 0;
    for (int k = 1; const uint8_t *m = PermittedModuleEntry(k); k++, modules++) {
        PString text;
        GetUiText(text, DefU16(m + 4));   // the module button's label: the entry's second text
        labels.push_back(PStringToStd(text));
    }
    EXPECT_GE(modules, 4);
    EXPECT_EQ(database, "Database");
    std::set<std::string> distinct(labels.begin(), labels.end());
    EXPECT_EQ(distinct.size(), labels.size()) << ::testing::PrintToString(labels);
    EXPECT_EQ(distinct.count(""), 0u);
}

}  // namespace
