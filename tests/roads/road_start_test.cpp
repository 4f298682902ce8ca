// road_start_test.cpp - the first road of a new user: the program starts
// without a company and asks for one in the Open dialog, a new name makes
// a new company filled from DEFAULT.TXT, the login window takes ADMIN and
// the password orvel typed by keys, and the frame shows the demo
// company's name. A wrong password is refused first and changes nothing.
// While the login window asks, nothing else answers: no Ctrl key, menu
// title (clicked or by Alt and its letter), bottom-bar button or right
// click opens or stores anything; Esc at a later login closes the company
// again, and the top bar names none.
// Menus: none for the first road; the second tries each title and walks
// File > Company... to the later login.
// Windows: the frame and its dialogs.
#include "tests/roads/road_fixture.h"

#include <cstdlib>

#include "database/access/person_password.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/menu.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "platform/window.h"
#include "shell/shell.h"
#include "shell/window_table.h"

namespace {

constexpr int LoginWindow = 15;

TEST_F(RoadTest, StartMakesTheDemoCompanyAndLogsInAsAdmin)
{
    const std::string company = (dir / "demo.VDB").string();
    ScriptAnswerFile(company);   // the Open dialog WinMain shows first
    Check("the login window asks", [] {
        EXPECT_EQ(ActiveType(), LoginWindow) << ActiveTitle();
        EXPECT_EQ(FocusLabel(), "User code");
        return ActiveType() == LoginWindow;
    });
    Type("ADMIN");
    ClickField("Password");
    Type("wrong");
    ClickOk();
    Check("a wrong password is refused and the login asks again", [] {
        EXPECT_TRUE(Told("The user name or the password is wrong."));
        EXPECT_EQ(ActiveType(), LoginWindow);
        EXPECT_EQ(Shown("Password"), "");
        return ActiveType() == LoginWindow;
    });
    ClickField("Password");
    Type("orvel");
    Key(PlKey::Return);
    Check("the frame shows the demo company", [] {
        EXPECT_NE(ActiveType(), LoginWindow);
        EXPECT_EQ(LoggedInFlag, 1);
        EXPECT_EQ(CompanyShown(), "Demo Company AB");
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_FALSE(ScriptRecords().empty());
    EXPECT_EQ(ScriptRecords().front().kind, "file") << "the company was asked for in the Open dialog";
    // One refusal only: DEFAULT.TXT imported without a word.
    EXPECT_EQ(Messages().size(), 1u) << ::testing::PrintToString(Messages());

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> r;
    ASSERT_TRUE(FindByCode(PEVc::Number, PEVc::Code, 5, "ADMIN", &r));
    // The README's password is kept only as its verifier.
    EXPECT_EQ(TextAt(r.data(), PEVc::Password), "");
    PasswordVerifier v;
    ASSERT_TRUE(PersonVerifierGet(r.data(), &v));
    EXPECT_TRUE(VerifierMatches(v, "orvel"));
    EXPECT_FALSE(VerifierMatches(v, "Orvel"));
    for (const char *code : {"C1", "C2", "C3"}) EXPECT_TRUE(FindByCode(CUVc::Number, CUVc::Code, 20, code, &r)) << code;
    ASSERT_TRUE(FindByCode(CUVc::Number, CUVc::Code, 20, "C1", &r));
    // Typed in the program (cp1252), the address would store these bytes.
    EXPECT_EQ(TextAt(r.data(), CUVc::Addr1), "Kundv\xe4gen 2");
    for (const char *code : {"ITEM1", "ITEM2", "SERVICE"})
        EXPECT_TRUE(FindByCode(INVc::Number, INVc::Code, 20, code, &r)) << code;
}

// True when the login window is the one window open and active, no menu
// is tracked and no company data shows; what is not so is a failure.
bool OnlyTheLoginWindow(const std::string &after)
{
    int open = 0;
    for (int n = WinFirst; n <= WinLast; n++) open += WinIsOpen(n) ? 1 : 0;
    EXPECT_EQ(open, 1) << after << " opened \"" << RoadTest::ActiveTitle() << "\"";
    EXPECT_EQ(RoadTest::ActiveType(), LoginWindow) << after;
    EXPECT_FALSE(MenuTracking()) << after << " left a menu open";
    EXPECT_EQ(LoggedInFlag, 0) << after;
    return open == 1 && RoadTest::ActiveType() == LoginWindow && !MenuTracking();
}

// The labels of the menu bar's titles, without "&".
std::vector<std::string> BarTitles()
{
    std::vector<std::string> titles;
    uint32_t bar = WinMenu(FrameWindow);
    for (int i = 0; i < MenuItemCount(bar); i++) {
        std::string t;
        for (char c : MenuItemText(bar, i))
            if (c != '&') t += c;
        titles.push_back(t);
    }
    return titles;
}

TEST_F(RoadTest, NothingButTheLoginWindowAnswersBeforeALogin)
{
    const std::string company = (dir / "demo.VDB").string();
    ScriptAnswerFile(company);
    Check("the login window asks", [] { return OnlyTheLoginWindow("the start"); });
    Do("keep a picture of the frame while the login asks", [this] {
        const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
        EXPECT_TRUE(!shots || SaveWindowPng(std::filesystem::path(shots) / "login_frame.png", true));
        return true;
    });
    // The Ctrl keys: the register popup's digits and the File and Record
    // menus' letters (Ctrl+U Maintenance, Ctrl+R Reports, Ctrl+D
    // Documents, Ctrl+P Print, Ctrl+N New, Ctrl+K Copy as new).
    for (char key : std::string("0123456789URDPNK")) {
        Key(uint32_t(key), false, true);
        Check(std::string("Ctrl+") + key + " opens nothing", [key] { return OnlyTheLoginWindow(std::string("Ctrl+") + key); });
    }
    // Each title of the menu bar, clicked and then by Alt and its letter;
    // what opens is left by Esc (a grey title opens no popup).
    for (int i = 0; i < 12; i++) {
        for (bool byAlt : {false, true}) {
            auto what = std::make_shared<std::string>();
            Do("menu title " + std::to_string(i), [i, byAlt, what] {
                std::vector<std::string> titles = BarTitles();
                if (i >= int(titles.size())) return true;
                uint32_t bar = WinMenu(FrameWindow);
                std::string text = MenuItemText(bar, i);
                size_t amp = text.find('&');
                *what = (byAlt ? "Alt+" : "a click on ") + titles[size_t(i)];
                if (!byAlt) {
                    PlRect r = MenuBarItemRect(FrameWindow, i);
                    PlPoint p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
                    MsgInputMouse(p, 0, false);
                    MsgInputMouse(p, 1, true);
                    MsgInputMouse(p, 1, false);
                } else if (amp != std::string::npos && amp + 1 < text.size()) {
                    char c = text[amp + 1];
                    ScriptAltKey(uint32_t(c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c));
                }
                return true;
            });
            for (int esc = 0; esc < 2; esc++)
                Do("leave the menu", [] {
                    if (MenuTracking()) ScriptKey(PlKey::Escape);
                    return true;
                });
            Check("the menu title opens nothing", [what] { return OnlyTheLoginWindow(*what); });
        }
    }
    // The bottom bar's buttons, the Quit button among them.
    for (const char *button : {"Database", "Jobs", "Windows", "Quit"}) {
        ClickButton(button);
        Check(std::string("the bottom bar's ") + button + " does nothing",
              [button] { return OnlyTheLoginWindow(std::string("the bottom bar's ") + button); });
    }
    Do("a right click", [] {
        ScriptClick(MdiClientWindow, 40, 40, 2);
        return true;
    });
    Check("a right click opens no menu", [] { return OnlyTheLoginWindow("a right click"); });

    ClickField("User code");
    Type("ADMIN");
    ClickField("Password");
    Type("orvel");
    ClickOk();
    Check("ADMIN is let in", [] {
        EXPECT_EQ(LoggedInFlag, 1);
        EXPECT_EQ(CompanyShown(), "Demo Company AB");
        return LoggedInFlag == 1;
    });
    // Esc at the login of the company opened again closes it.
    AnswerFile(company);
    Menu("File", "Company...");
    Check("the login window asks again", [] { return OnlyTheLoginWindow("File > Company"); });
    Key(PlKey::Escape);
    Check("Esc closes the company and the top bar names none", [] {
        EXPECT_EQ(DbOpenFlag, 0);
        EXPECT_EQ(LoggedInFlag, 0);
        EXPECT_EQ(CompanyShown(), "");
        EXPECT_EQ(ActiveType(), 0) << ActiveTitle();
        return DbOpenFlag == 0;
    });
    EXPECT_EQ(Run(), 0);

    // Nothing was stored before the login: the demo's persons and
    // customers as DEFAULT.TXT made them, ADMIN's password as it was.
    EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
    ASSERT_TRUE(OpenForCheck(company));
    EXPECT_EQ(RegRecordCount(PEVc::Number), 1u);
    std::vector<uint8_t> r;
    ASSERT_TRUE(FindByCode(PEVc::Number, PEVc::Code, 5, "ADMIN", &r));
    PasswordVerifier v;
    ASSERT_TRUE(PersonVerifierGet(r.data(), &v));
    EXPECT_TRUE(VerifierMatches(v, "orvel"));
    EXPECT_EQ(RegRecordCount(CUVc::Number), 3u);
    ASSERT_TRUE(FindByCode(CUVc::Number, CUVc::Code, 20, "C1", &r));
    EXPECT_EQ(TextAt(r.data(), CUVc::Name), "First Customer");
}

}  // namespace
