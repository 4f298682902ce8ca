// settings_window_test.cpp - the company window stores block 129 under
// its lock, the program's copy follows, and a store the layer refuses
// changes neither the block nor the copy.
#include <gtest/gtest.h>

#include <vector>

#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/register_hooks.h"
#include "dict_offsets.h"
#include "shell/record_commands.h"
#include "tests/shell/record_fixture.h"
#include "tests/shell/record_test_helpers.h"

namespace {

using namespace WinTypes;
using SettingsWindows = RecordFixture;


TEST_F(SettingsWindows, CompanyWindowStoresTheBlockAndTheProgramsCopyFollows)
{
    int n = OpenOrActivateWindow(Company, 0, 0, false, 0);
    ASSERT_GT(n, 0);
    Type("Orchard Ltd");   // the first field: typing starts the edit
    ASSERT_EQ(WinRecState(n), 2);
    PutText(WinRecordBuffer(n), CompanyBlk::Telephone, "0123 456");
    ToolbarCommand(n, 8, 0);
    EXPECT_FALSE(WinIsOpen(n));   // a stored settings window closes
    EXPECT_EQ(TextAt(CompanyBlock, CompanyBlk::CompanyName), "Orchard Ltd");

    int m = OpenOrActivateWindow(Company, 0, 0, false, 0);
    ASSERT_GT(m, 0);
    EXPECT_EQ(TextAt(WinRecordBuffer(m), CompanyBlk::CompanyName), "Orchard Ltd");
    EXPECT_EQ(TextAt(WinRecordBuffer(m), CompanyBlk::Telephone), "0123 456");
    EXPECT_EQ(WinRecState(m), 0);
    EXPECT_TRUE(Shown().empty());
}

TEST_F(SettingsWindows, RefusedSettingsStoreChangesNothing)
{
    std::vector<uint8_t> data(CompanyBlk::Size, 0);
    PutText(data.data(), CompanyBlk::CompanyName, "Never");
    std::string before = TextAt(CompanyBlock, CompanyBlk::CompanyName);
    // A size other than the block's, and a block no descriptor names.
    EXPECT_EQ(SettingsRecordStore(CompanyBlk::Number, data.data(), CompanyBlk::Size - 2), RecStoreFailed);
    EXPECT_EQ(SettingsRecordStore(228, data.data(), CompanyBlk::Size), RecStoreFailed);
    EXPECT_EQ(TextAt(CompanyBlock, CompanyBlk::CompanyName), before);
    std::vector<uint8_t> block(CompanyBlk::Size);
    SettingsBlockRead(CompanyBlk::Number, block.data(), CompanyBlk::Size);
    EXPECT_EQ(TextAt(block.data(), CompanyBlk::CompanyName), before);

    // A settings window whose store the check refuses stays open in state
    // 2 with what was typed, still holding the block's lock.
    int n = OpenOrActivateWindow(Company, 0, 0, false, 0);
    ASSERT_GT(n, 0);
    Type("Kept open");
    auto saved = AccessServices.settingsBlockCheck;
    AccessServices.settingsBlockCheck = [](int, uint8_t *, uint32_t) {
        return FieldError(0, nullptr, uint16_t(CompanyBlk::OrgNr));
    };
    ToolbarCommand(n, 8, 0);
    AccessServices.settingsBlockCheck = saved;
    ASSERT_TRUE(WinIsOpen(n));
    EXPECT_EQ(WinRecState(n), 2);
    EXPECT_EQ(TextAt(WinRecordBuffer(n), CompanyBlk::CompanyName), "Kept open");
    EXPECT_EQ(TextAt(CompanyBlock, CompanyBlk::CompanyName), before);
    bool other = true;
    AsOtherUser([&] { other = RegisterLockTakeCall(CompanyBlk::Number); });
    EXPECT_FALSE(other);
}

}  // namespace
