// shell_fixture.h - the fixture of the shell's tests: the interface file
// the build compiled, the headless display with no windows, the shell's
// flags at their start values and an empty window table.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "core/interface_load.h"
#include "core/system.h"
#include "dict/built_interface.h"
#include "platform/display.h"
#include "platform/window.h"
#include "shell/shell.h"
#include "shell/window_table.h"

class ShellFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(DisplayOpen(PlDisplayKind::Headless, &error)) << error;
        WinTableInit();
        WinResetAll();
        ASSERT_TRUE(LoadBuiltInterface(&error)) << error;
        CompactVariant = false;
        ShellStateReset();
    }
    void TearDown() override
    {
        WinTableInit();
        WinResetAll();
        ShellStateReset();
        CompactVariant = false;
        InterfaceUnload();
    }
};
