// demo_company_fixture.h - a company made as a new user makes one: the
// built interface file, the shipped defaults (dict/DEFAULT.TXT) in the
// working folder, read by the real text import into a new company file,
// and the login window that follows answered by keys and clicks. The
// import's progress takes every waiting message (it looks for Esc), so
// the answer is given as a user gives it: once the login window shows.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

#include "exchange/text_exchange.h"
#include "output/output_job.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "recordwin/record_windows.h"
#include "shell/login.h"
#include "tests/shell/record_fixture.h"

class DemoCompany : public RecordFixture {
protected:
    static constexpr int LoginWindowType = 15;
    static constexpr int LoginPreparedEvent = 22;   // a window of the type has opened

    void SetUp() override
    {
        RecordFixture::SetUp();   // an empty company is open, without defaults
        if (HasFatalFailure()) return;
        std::error_code ec;
        std::filesystem::copy_file(DefaultsSource(), dir / "DEFAULT.TXT", ec);
        ASSERT_FALSE(ec) << ec.message();
        okButton = LoginOkButton();
        TextExchangeInstall();
        WhenLoginShows() = nullptr;
        WindowEventHandlerSet(LoginWindowType, LoginShown);
    }
    void TearDown() override
    {
        WindowEventHandlerSet(LoginWindowType, nullptr);
        WhenLoginShows() = nullptr;
        ImportFileClose();
        ImportResult = ImportResultRec{};
        OutputRunServices.runTextExport = nullptr;
        D4SetRawExportRunner(nullptr);
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
};
