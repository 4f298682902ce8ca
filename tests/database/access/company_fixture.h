// company_fixture.h - a stand-alone program with the built interface file,
// its work records and settings bound and the database layer started,
// working in a fresh folder of its own (company files, DEFAULT.TXT and the
// log land there). Messages to the user are recorded, not shown.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/interface_load.h"
#include "core/message_sink.h"
#include "core/pstring.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/database_open.h"
#include "database/access/record_access.h"
#include "database/access/register_hooks.h"
#include "database/access/settings_binding.h"
#include "database/access/settings_blocks.h"
#include "database/access/transport.h"
#include "database/engine/engine.h"
#include "dict/built_interface.h"
#include "platform/display.h"
#include "platform/script.h"
#include "platform/window.h"
#include "shell/net_services.h"
#include "shell/shell.h"
#include "shell/window_table.h"

inline std::vector<std::string> CompanyMessages;

class CompanyFixture : public ::testing::Test {
protected:
    std::filesystem::path dir, home;

    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(DisplayOpen(PlDisplayKind::Headless, &error)) << error;
        WinTableInit();
        WinResetAll();
        ScriptReset();
        ASSERT_TRUE(LoadBuiltInterface(&error)) << error;
        home = std::filesystem::current_path();
        dir = std::filesystem::path(::testing::TempDir()) /
              ("orvel_company_" + std::to_string(getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        std::filesystem::current_path(dir);
        CompactVariant = false;
        ShellStateReset();
        NetServices = NetServicesRec{};
        SettingsText = SettingsTextExchange{};
        AccessServices = AccessServiceHooks{};
        CompanyMessages.clear();
        MessageSinkSet([](const char *t) { CompanyMessages.push_back(t); });
        RunMode = 1;
        LockOwnerId = LockOwnerSelf;
        ASSERT_TRUE(AllocWorkBlocks());
        ASSERT_TRUE(DbLayerInit());
        ASSERT_TRUE(SettingsStartup());
    }
    void TearDown() override
    {
        if (D4IsOpen()) D4Close();
        DbOpenFlag = 0;
        RunMode = 1;
        TransportInstall(nullptr, nullptr);
        MessageSinkSet(nullptr);
        NetServices = NetServicesRec{};
        SettingsText = SettingsTextExchange{};
        WinTableInit();
        WinResetAll();
        ScriptReset();
        ShellStateReset();
        CompactVariant = false;
        InterfaceUnload();
        std::filesystem::current_path(home);
        std::filesystem::remove_all(dir);
    }
    // A path in the test's folder as a PString.
    void PathOf(const char *name, uint8_t *out) { PStringFromC(out, (dir / name).c_str()); }
    // The lines of the log that start with the text.
    int LogLines(const std::string &start)
    {
        std::ifstream in(dir / "orvel.log");
        int n = 0;
        for (std::string line; std::getline(in, line);)
            if (line.rfind(start, 0) == 0) n++;
        return n;
    }
    // What a message of text n shows (the number when the file lacks it).
    static std::string TextOf(int n)
    {
        PString t;
        GetUiText(t, n);
        return t[0] ? PStringToStd(t) : "Internal error " + std::to_string(n);
    }
    // Whether any recorded message holds the text.
    bool Said(const std::string &text)
    {
        for (const std::string &m : CompanyMessages)
            if (m.find(text) != std::string::npos) return true;
        return false;
    }
};
