// logged_in_fixture.h - a user at work in the demo company: the company
// made from the shipped defaults, ADMIN logged in with the password orvel
// by keys, and what the user does from there as a user does it: menu
// commands and a row of a menu list chosen by keys and Return.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "platform/menu.h"
#include "platform/script.h"
#include "shell/login.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"
#include "tests/exchange/demo_company_fixture.h"

class LoggedIn : public DemoCompany {
protected:
    // Menu commands by id: 100 x menu + item - 100.
    static constexpr int CmdCompany = 101, CmdMaintenance = 104, CmdImport = 105, CmdReports = 108;

    void SetUp() override
    {
        DemoCompany::SetUp();
        if (HasFatalFailure()) return;
        ASSERT_TRUE(MakeDemo([this] { QueueLogin("ADMIN", "orvel"); })) << ::testing::PrintToString(Shown());
        ASSERT_EQ(LoggedInFlag, 1);
        MessagesShown.clear();
        ScriptReset();
    }

    // Chooses menu command `id` of the frame, and what it leads to runs.
    static void Menu(int id)
    {
        ScriptMenuCommand(FrameWindow, id);
        Drain();
    }
    // The open window of `type` opened last; 0 none.
    static int Find(int type)
    {
        int found = 0;
        for (int n = WinFirst; n <= WinLast; n++)
            if (WinIsOpen(n) && WinTypeOf(n) == type) found = n;
        return found;
    }
    // Chooses the row of menu-list window n that shows `text`: selected by
    // keys from the first row, then Return. False when no row shows it.
    static bool ChooseRow(int n, const std::string &text)
    {
        std::vector<std::string> rows = ListBoxRows(n);
        auto at = std::find(rows.begin(), rows.end(), text);
        if (at == rows.end()) return false;
        ActivateWindowNumber(n);
        Drain();
        Key(PlKey::Home);
        for (auto i = rows.begin(); i != at; ++i) Key(PlKey::Down);
        Key(PlKey::Return);
        return true;
    }
};
