// road_start_test.cpp - the first road of a new user: the program starts
// without a company and asks for one in the Open dialog, a new name makes
// a new company filled from DEFAULT.TXT, the login window takes ADMIN and
// the password orvel typed by keys, and the frame shows the demo
// company's name. A wrong password is refused first and changes nothing;
// while its box stands, File, Record and Registers are greyed, as they act.
// While the login window asks, nothing else answers: no Ctrl key, menu
// title (clicked or by Alt and its letter), bottom-bar button or right
// click opens or stores anything; Esc at a later login closes the company
// again, and the top bar names none. What ADMIN did last (an export's
// file named on the status line) is not shown at the next login.
// Then the README's first hour, steps 3 and 4, walked by the keys its
// words give: a new voucher opens with the caret in its Date and its
// totals at 0,00, two Tabs reach its Text and one more its first row; in
// the list of windows the beginning of "Sales invoices" typed and Return
// open the invoice list; an invoice of two ITEM1 posted says on the
// status line that the stock goes below zero (the demo holds none), and
// printed it names the demo's bank account and bank giro.
// Menus: in General ledger, Registers > Vouchers, Operations > Balance
// row; File > Windows... > "Sales invoices", File > Print (Ctrl+P); the
// login road tries each title, exports the company by File >
// Maintenance... ("full") and walks File > Company... to the later login.
// Windows: the frame and its dialogs, Voucher list, Voucher, Windows,
// Sales invoice list, Sales invoice, Functions.
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <filesystem>
#include <vector>

#include "core/field_access.h"
#include "database/access/person_password.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/menu.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "platform/window.h"
#include "shell/shell.h"
#include "shell/toolbar.h"
#include "shell/window_table.h"

namespace {

constexpr int LoginWindow = 15, VoucherList = 118, Voucher = 117, SalesInvoiceList = 348;
constexpr int ColDebit = 3, ColCredit = 4;

// True when the menu bar's title `title` (without "&") is greyed; a
// failure when the bar has no such title.
bool TitleGreyed(const std::string &title)
{
    uint32_t bar = WinMenu(FrameWindow);
    for (int i = 0; i < MenuItemCount(bar); i++) {
        std::string t;
        for (char c : MenuItemText(bar, i))
            if (c != '&') t += c;
        if (t == title) return (MenuItemFlags(bar, i) & PlMenuFlag::Grayed) != 0;
    }
    ADD_FAILURE() << "the menu bar has no " << title;
    return false;
}

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
    // The refusal stands as a box the user answers, so the frame behind it
    // is read while it stands.
    Do("show the boxes as a user meets them", [] {
        ScriptSetInteractive(true);
        return true;
    });
    ClickOk();
    Check("while the refusal stands, File, Record and Registers are greyed", [] {
        ScriptSetInteractive(false);
        EXPECT_EQ(WinClassName(WinParent(WinFocus())), "PlDialog") << "no box stands";
        for (const char *title : {"File", "Record", "Registers"}) EXPECT_TRUE(TitleGreyed(title)) << title;
        EXPECT_FALSE(TitleGreyed("Edit"));
        return true;
    });
    Key(PlKey::Return);   // the box's OK
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
    const std::filesystem::path exported = dir / "full.txt";
    ChooseTextExport("full", exported);
    Check("the export names its file on the status line", [] {
        EXPECT_NE(StatusLineText().find("full.txt"), std::string::npos) << StatusLineText();
        return true;
    });
    Menu("Window", "Close all");
    // Esc at the login of the company opened again closes it.
    AnswerFile(company);
    Menu("File", "Company...");
    Check("the login window asks again, and ADMIN's export is not told", [] {
        EXPECT_EQ(StatusLineText().find("full.txt"), std::string::npos) << StatusLineText();
        return OnlyTheLoginWindow("File > Company");
    });
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

// A company named on the command line that has no file is not made: the
// user is told, and the Open dialog asks; a new name there makes the new
// company (as `orvel --help` says).
TEST_F(RoadTest, ANameWithNoFileIsToldAndTheOpenDialogMakesTheCompany)
{
    const std::string named = (dir / "nosuch.VDB").string();
    const std::string company = StartNewCompany("made.VDB");
    Check("the name with no file was told before the dialog asked", [named] {
        EXPECT_TRUE(Told("There is no database file by this name: " + named)) << ::testing::PrintToString(Messages());
        EXPECT_EQ(CompanyShown(), "Demo Company AB");
        return true;
    });
    EXPECT_EQ(Run(named), 0);
    EXPECT_FALSE(std::filesystem::exists(named));
    EXPECT_TRUE(std::filesystem::exists(company));
}

// The README's first hour, steps 3 and 4, as its words tell a user to
// walk them.
TEST_F(RoadTest, TheFirstHoursVoucherAndInvoiceListGoAsTheReadmeSays)
{
    const std::string company = StartNewCompany();
    Menu("Module", "General ledger");
    Menu("Registers", "Vouchers");
    Check("Registers > Vouchers opens the voucher list", Opened(VoucherList));
    ClickButton("New");
    Check("New opens a voucher with the caret in its Date, today's date proposed, and its totals at 0,00", [] {
        EXPECT_EQ(ActiveType(), Voucher) << ActiveTitle();
        EXPECT_EQ(FocusLabel(), "Date");
        EXPECT_NE(Shown("Date"), "");
        for (const char *total : {"Debit", "Credit", "Balance"}) EXPECT_EQ(Shown(total), "0,00") << total;
        return ActiveType() == Voucher;
    });
    Key(PlKey::Tab);
    Key(PlKey::Tab);
    Check("two Tabs, past the Code, reach the Text", [] {
        EXPECT_EQ(FocusLabel(), "Text");
        return FocusLabel() == "Text";
    });
    Type("Cash sale");
    Key(PlKey::Tab);
    Check("Tab goes into the rows", [] {
        EXPECT_EQ(FocusLabel(), "cell");
        return FocusLabel() == "cell";
    });
    Type("1910");
    Key(PlKey::Tab);
    ClickCell(0, ColDebit);
    Type("1250");
    Key(PlKey::Tab);
    for (int row : {1, 2}) {
        ClickCell(row, 0);
        Type(row == 1 ? "3010" : "2610");
        Key(PlKey::Tab);
        if (row == 1) {
            ClickCell(row, ColCredit);
            Type("1000");
            Key(PlKey::Tab);
        }
    }
    ClickCell(2, ColCredit);
    Menu("Operations", "Balance row");
    ClickOk();
    Check("OK stores the voucher", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return TitleTells("viewing");
    });
    Menu("Window", "Close all");

    Menu("File", "Windows...");
    Type("Sales inv");
    Key(PlKey::Return);
    Check("the beginning of \"Sales invoices\" and Return open the invoice list", [] {
        EXPECT_EQ(ActiveType(), SalesInvoiceList) << ActiveTitle();
        return ActiveType() == SalesInvoiceList;
    });
    // New, C1 and Tab; three Tabs more, past the transaction date, into
    // the Item cell; ITEM1, Tab, 2, Tab; Posted and OK: the demo holds no
    // stock, and the status line says so.
    ClickButton("New");
    Type("C1");
    Key(PlKey::Tab);
    for (int i = 0; i < 3; i++) Key(PlKey::Tab);
    Check("three Tabs after the customer reach the Item cell", [] { return FocusLabel() == "cell"; });
    Type("ITEM1");
    Key(PlKey::Tab);
    Type("2");
    Key(PlKey::Tab);
    ClickButton("Posted");
    ClickOk();
    Check("OK posts the invoice and the status line says its stock goes below zero", [] {
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle() << ::testing::PrintToString(Messages());
        EXPECT_EQ(StatusLineText().rfind("Stock goes below zero when this invoice is posted: ITEM1", 0), 0u)
            << StatusLineText();
        return TitleTells("viewing");
    });
    // Ctrl+P prints it on the demo's invoice form, which says where to pay.
    AnswerPrint(true);
    Key('P', false, true);
    Check("the invoice prints into the folder print, naming the demo's bank account and bank giro", [this] {
        const std::vector<std::filesystem::path> pdfs = FilesIn("print");
        EXPECT_EQ(pdfs.size(), 1u) << ::testing::PrintToString(Messages());
        const std::string page = pdfs.size() == 1 ? PdfText(pdfs[0]) : "";
        for (const char *want : {"Bank account", "5000-1234567", "Bank giro", "5050-1055", "Payment slip"})
            EXPECT_NE(page.find(want), std::string::npos) << want << " in\n" << page;
        return pdfs.size() == 1;
    });
    EXPECT_EQ(Run(), 0);

    // The voucher typed and the invoice's own; the invoice posted.
    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(TRVc::Number), 2u);
    std::vector<uint8_t> voucher(TRVc::Size);
    uint32_t id = 0;
    int typed = 0;
    for (int32_t p = 1; RecReadAt(TRVc::Number, p, voucher.data(), &id); p++) {
        if (TextAt(voucher.data(), TRVc::Text) != "Cash sale") continue;
        typed++;
        EXPECT_NEAR(AmountAt(voucher.data(), TRVc::DebitTotal), 1250, 0.005);
        EXPECT_NEAR(AmountAt(voucher.data(), TRVc::CreditTotal), -1250, 0.005);
    }
    EXPECT_EQ(typed, 1);
    ASSERT_EQ(RegRecordCount(IVVc::Number), 1u);
    std::vector<uint8_t> invoice(IVVc::Size);
    ASSERT_TRUE(RecReadAt(IVVc::Number, 1, invoice.data(), &id));
    EXPECT_EQ(GetU16(invoice.data(), IVVc::Posted), 1);
    EXPECT_EQ(GetU16(invoice.data(), IVVc::Printed), 1);
    CloseForCheck();
}

}  // namespace
