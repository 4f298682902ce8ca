// demo_company_fixture.h - the demo company as a new user makes it: the
// built interface file, the services start-up installs (report output,
// rules, text exchange, reports), the shipped defaults (dict/DEFAULT.TXT:
// the chart of accounts, the fiscal years, the series, customers C1 to C3
// and the first user) in the working folder, read by the real text
// import into a new company file, and the login window that follows
// answered by keys and clicks. The company folder is the working folder,
// so a print lands in its print/ folder.
//
// DemoCompany stops before the company is made, for tests of the login
// itself; LoggedIn makes it with ADMIN logged in and gives what a user
// does from there: menu commands, windows found and menu-list rows
// chosen by keys and Return.
//
// The import's progress takes every waiting message (it looks for Esc),
// so the login is answered as a user answers it: once its window shows.
#pragma once

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "database/access/record_access.h"
#include "database/access/register_hooks.h"
#include "database/engine/engine.h"
#include "dict_offsets.h"
#include "exchange/text_exchange.h"
#include "features/program_start.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "outputwin/output_windows_install.h"
#include "platform/menu.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "recordwin/record_windows.h"
#include "reports/frame/report_run.h"
#include "rules/hooks.h"
#include "shell/company.h"
#include "shell/frame_commands.h"
#include "shell/login.h"
#include "shell/shell.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"
#include "tests/output/test_job.h"
#include "tests/shell/record_fixture.h"

class DemoCompany : public RecordFixture {
protected:
    static constexpr int LoginWindowType = 15;
    static constexpr int LoginPreparedEvent = 22;   // a window of the type has opened

    void SetUp() override
    {
        RecordFixture::SetUp();   // an empty company is open, without defaults
        if (HasFatalFailure()) return;
        savedRuns = OutputRunServices;
        RepOutputInit();
        ProgramInstall();   // as start-up installs them, before any company opens
        std::error_code ec;
        std::filesystem::copy_file(DefaultsSource(), dir / "DEFAULT.TXT", ec);
        ASSERT_FALSE(ec) << ec.message();
        okButton = LoginOkButton();
        WhenLoginShows() = nullptr;
        WindowEventHandlerSet(LoginWindowType, LoginShown);
    }
    void TearDown() override
    {
        WindowEventHandlerSet(LoginWindowType, nullptr);
        // The start gave the job-queue window its rules; they would keep a
        // slot of the run-time table that the tests after this one fill.
        WindowEventHandlerSet(WinTypes::JobQueue, nullptr);
        WhenLoginShows() = nullptr;
        ImportFileClose();
        ImportResult = ImportResultRec{};
        OutputRunServices = savedRuns;
        ResetOutputJobState();
        D4SetRawExportRunner(nullptr);
        RegisterHooksClear();
        RecordFixture::TearDown();   // the rest of the exchange's entries go with the settings
    }

    static std::filesystem::path DefaultsSource()
    {
        return std::filesystem::path(ORVEL_TEST_DATA_DIR) / ".." / "dict" / "DEFAULT.TXT";
    }
    // Where the login window's OK button stands on the screen, found by a
    // login window opened and closed again (the next one opens there too).
    static PlPoint LoginOkButton()
    {
        int probe = OpenWindow(LoginWindowType, 0);
        EXPECT_GT(probe, 0);
        if (probe <= 0) return PlPoint{0, 0};
        MacRect r;
        WinFieldRect(probe, 0, &r);
        PlPoint at = WinClientToScreen(WinTable[probe]->mdiChild, PlPoint{(r.left + r.right) / 2, r.top + 5});
        WinClose(probe);
        return at;
    }
    // What the user does once the login window shows (each time it opens).
    static std::function<void()> &WhenLoginShows()
    {
        static std::function<void()> input;
        return input;
    }
    static uint8_t LoginShown(int, int event, void *, void *)
    {
        if (event == LoginPreparedEvent && WhenLoginShows()) WhenLoginShows()();
        return 1;
    }
    // Queues what a user does in the login window: the user code typed,
    // Tab to the password, the password typed, then OK clicked (or Return
    // pressed in the password field).
    void QueueLogin(const char *code, const char *password, bool click = true) const
    {
        ScriptText(code);
        ScriptKey(PlKey::Tab);
        ScriptKey(PlKey::Tab);
        ScriptText(password);
        if (!click) {
            ScriptKey(PlKey::Return);
            return;
        }
        MsgInputMouse(okButton, 1, true);
        MsgInputMouse(okButton, 1, false);
    }
    // Makes the company at name in the folder from the defaults; the user
    // answers the login window by `input`. True when the company stays
    // open (a user logged in).
    bool MakeDemo(std::function<void()> input, const char *name = "demo.VDB")
    {
        WhenLoginShows() = std::move(input);
        PString path;
        PathOf(name, path);
        bool open = OpenCompany(path, 0);
        Drain();
        return open;
    }
    // The refusals the login window told (its one message).
    static int LoginRefusals()
    {
        int n = 0;
        for (const std::string &m : Shown()) n += m == TextOf(9856);
        return n;
    }

    PlPoint okButton{0, 0};
    OutputRunServicesRec savedRuns{};
};

class LoggedIn : public DemoCompany {
protected:
    // Menu commands by id (the frame's table names them).
    static constexpr int CmdCompany = FrameCmd::FileCompany, CmdWindows = FrameCmd::FileWindows,
                         CmdMaintenance = FrameCmd::FileMaintenance, CmdImport = FrameCmd::FileImport,
                         CmdReports = FrameCmd::FileReports, CmdExit = FrameCmd::FileExit;

    void SetUp() override
    {
        DemoCompany::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(MakeDemo([this] { QueueLogin("ADMIN", "orvel"); })) << ::testing::PrintToString(Shown());
        ASSERT_TRUE(DbOpenFlag) << "the demo company did not open";
        ASSERT_EQ(LoggedInFlag, 1);
        ASSERT_EQ(QuitFlag, 0);
        ASSERT_EQ(RegRecordCount(CUVc::Number), 3u) << "the defaults were not imported";
        MessagesShown.clear();
        ScriptReset();
    }

    // Chooses menu command `id` of the frame, and what it leads to runs.
    static void Menu(int id)
    {
        ScriptMenuCommand(FrameWindow, id);
        Drain();
    }
    // Chooses menu command `id` of popup `menu` when a user could: the
    // item is there and not greyed. False when it could not be chosen.
    static bool MenuIfEnabled(uint32_t menu, int id)
    {
        int at = MenuFindCommand(menu, id);
        if (at < 0 || (MenuItemFlags(menu, at) & PlMenuFlag::Grayed)) return false;
        Menu(id);
        return true;
    }
    // The open windows' numbers, lowest first.
    static std::vector<int> OpenWindows()
    {
        std::vector<int> v;
        for (int n = WinFirst; n <= WinLast; n++)
            if (WinIsOpen(n)) v.push_back(n);
        return v;
    }
    // The open window of `type` opened last; 0 none.
    static int Find(int type)
    {
        int found = 0;
        for (int n : OpenWindows())
            if (WinTypeOf(n) == type) found = n;
        return found;
    }
    // Closes every open window, the newest first.
    static void CloseAll()
    {
        std::vector<int> open = OpenWindows();
        for (auto n = open.rbegin(); n != open.rend(); ++n)
            if (WinIsOpen(*n)) WinClose(*n);
        Drain();
    }
    // The row of menu-list window n that shows `text`; -1 none.
    static int RowOf(int n, const std::string &text)
    {
        std::vector<std::string> rows = ListBoxRows(n);
        auto at = std::find(rows.begin(), rows.end(), text);
        return at == rows.end() ? -1 : int(at - rows.begin());
    }
    // Selects row `row` of menu-list window n by keys from its first row,
    // then presses Return (OK).
    static void ChooseRow(int n, int row)
    {
        ASSERT_TRUE(WinIsOpen(n));
        ActivateWindowNumber(n);
        Drain();
        Key(PlKey::Home);
        for (int i = 0; i < row; i++) Key(PlKey::Down);
        ASSERT_EQ(ListSelectedIndex(n), row);
        Key(PlKey::Return);
    }
    // Chooses the row of menu-list window n that shows `text` as above.
    // False when no row shows it.
    static bool ChooseRow(int n, const std::string &text)
    {
        int row = RowOf(n, text);
        if (row < 0) return false;
        ChooseRow(n, row);
        return true;
    }
};
