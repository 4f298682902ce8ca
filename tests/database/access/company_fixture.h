// company_fixture.h - the fixture of the tests that work in a company
// below the windows: the headless display, the interface file the build
// compiled, the access layer's globals at their start values, and, when
// asked, a fresh folder with the database layer started for a company.
// Messages to the user are recorded, not shown.
//
// AccessFixture is the part the shell's fixture (tests/shell/
// shell_fixture.h) builds on; CompanyFixture works in the company folder
// from its start.
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
#include "database/access/record_access.h"
#include "database/access/register_hooks.h"
#include "database/access/settings_binding.h"
#include "database/access/settings_blocks.h"
#include "database/access/transport.h"
#include "database/engine/engine.h"
#include "platform/display.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "platform/window.h"
#include "tests/core/built_interface.h"

inline std::vector<std::string> MessagesShown;   // what the program told the user

class AccessFixture : public ::testing::Test {
protected:
    std::filesystem::path home;   // the build folder, where QVENG.WIN lies
    std::filesystem::path dir;    // the company folder; empty until UseCompanyFolder

    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(DisplayOpen(PlDisplayKind::Headless, &error)) << error;
        WinResetAll();
        ScriptReset();
        ASSERT_TRUE(LoadBuiltInterface(&error)) << error;
        home = std::filesystem::current_path();
        ResetGlobals();
        MessagesShown.clear();
        MessageSinkSet([](const char *t) { MessagesShown.push_back(t); });
    }
    void TearDown() override
    {
        WinResetAll();
        if (D4IsOpen()) D4Close();
        TransportInstall(nullptr, nullptr);
        MsgSetSocketHooks(nullptr, nullptr);
        MessageSinkSet(nullptr);
        ScriptReset();
        ResetGlobals();
        InterfaceUnload();
        if (!dir.empty()) {
            std::filesystem::current_path(home);
            std::filesystem::remove_all(dir);
        }
    }
    // The globals of the layers the fixture stands on to their start
    // values; a fixture of a higher layer adds its own.
    virtual void ResetGlobals()
    {
        PlTickSetOffset(0);
        CompactVariant = false;
        SettingsText = SettingsTextExchange{};
        AccessServices = AccessServiceHooks{};
        RemoteOps = RemoteOpsTable{};   // a client started before leaves its stubs
        RunMode = 1;
        LockOwnerId = LockOwnerSelf;
    }

    // A fresh folder as the current one, with the work records, the
    // database layer and the settings started: company files, DEFAULT.TXT
    // and the log land there.
    void UseCompanyFolder()
    {
        dir = std::filesystem::path(::testing::TempDir()) /
              ("orvel_shell_" + std::to_string(getpid()) + "_" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir);
        std::filesystem::create_directories(dir);
        std::filesystem::current_path(dir);
        ASSERT_TRUE(AllocWorkBlocks());
        ASSERT_TRUE(DbLayerInit());
        ASSERT_TRUE(SettingsStartup());
    }

    // A path in the company folder as a PString.
    void PathOf(const char *name, uint8_t *out) { PStringFromC(out, (dir / name).c_str()); }
    // The lines of the company folder's log that start with the text.
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
    // Whether any message shown to the user holds the text.
    static bool Said(const std::string &text)
    {
        for (const std::string &m : MessagesShown)
            if (m.find(text) != std::string::npos) return true;
        return false;
    }
    // Whether a message box of the running program said the text.
    static bool Told(const std::string &text)
    {
        for (const PlScriptRecord &r : ScriptRecords())
            if (r.kind == "message" && r.text.find(text) != std::string::npos) return true;
        return false;
    }
};

// The fixture working in a fresh company folder of its own with the
// database layer started.
class CompanyFixture : public AccessFixture {
protected:
    void SetUp() override
    {
        AccessFixture::SetUp();
        UseCompanyFolder();
    }
};
