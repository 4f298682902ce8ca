// The keys the shell takes before the controls: arrow keys that leave a
// field only when the caret is at its edge, module keys, Ctrl+Shift
// shortcuts that the company can turn off, and the characters the About
// and busy windows leave alone. In the demo company's customers window,
// by keys: Esc and every other control character no command takes
// neither enters a field nor starts an edit, and a paste keeps only what
// a field takes. The demo company served by a server, at the server's own
// frame, where no one logs in: no Ctrl key, menu item or bar button opens
// anything but its status window.
#include "tests/shell/shell_fixture.h"

#include <cstring>
#include <vector>

#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "platform/clipboard.h"
#include "platform/control.h"
#include "shell/frame_commands.h"
#include "shell/frame_gate.h"
#include "shell/settings_menu.h"
#include "shell/toolbar.h"
#include "tests/features/demo_company_fixture.h"
#include "tests/shell/record_test_helpers.h"

namespace {

PlMessage Key(uint32_t msg, uint32_t key)
{
    PlMessage m{};
    m.msg = msg;
    m.wParam = key;
    return m;
}

class Keys : public TestWindows {
protected:
    void TearDown() override
    {
        PlSetKeyDown(PlKey::Control, false);
        PlSetKeyDown(PlKey::Shift, false);
        CompanyBlock = nullptr;
        TestWindows::TearDown();
    }
    // Window n with an edit control holding `text`, selection start..end.
    static uint32_t EditIn(int n, const char *text, int start, int end)
    {
        uint32_t edit = WinCreate("Edit", "", PlStyle::Child | PlStyle::Visible, PlRect{10, 10, 120, 30},
                                  WinTable[n]->mdiChild, 0, 0);
        EditSetText(edit, text);
        EditSetSel(edit, start, end);
        WinTable[n]->editControl = edit;
        return edit;
    }
};

}  // namespace

TEST_F(Keys, ArrowsLeaveTheFieldOnlyAtItsEdge)
{
    int n = OpenWindow(TypeArticle, 0);
    ASSERT_GT(n, 0);
    EXPECT_EQ(EditArrowMode(n, PlKey::Right), 0);   // no edit control: nothing to leave
    uint32_t edit = EditIn(n, "ABC", 3, 3);
    EXPECT_EQ(EditArrowMode(n, PlKey::Right), 2);   // caret after the last character
    EditSetSel(edit, 0, -1);
    EXPECT_EQ(EditArrowMode(n, PlKey::Right), 2);   // all selected
    EditSetSel(edit, 1, 1);
    EXPECT_EQ(EditArrowMode(n, PlKey::Right), 0);   // the caret can still move
    EXPECT_EQ(EditArrowMode(n, PlKey::Left), 0);
    EditSetSel(edit, 0, 0);
    EXPECT_EQ(EditArrowMode(n, PlKey::Left), 3);

    // All selected from 0: the first Left stays in the field, a second
    // one (the previous key was Left) moves on.
    EditSetSel(edit, 0, -1);
    LastKeyDown = PlKey::Down;
    EXPECT_EQ(EditArrowMode(n, PlKey::Left), 0);
    LastKeyDown = PlKey::Left;
    EXPECT_EQ(EditArrowMode(n, PlKey::Left), 3);
    EXPECT_EQ(EditArrowMode(n, PlKey::Up), 5);
    EXPECT_EQ(EditArrowMode(n, PlKey::Down), 6);

    // While busy a move is not made but the key is still taken, so that
    // the control does not move the caret behind the user's back.
    BusyFlag = 1;
    EditSetSel(edit, 3, 3);
    EXPECT_TRUE(KeyPreTranslate(Key(PlMsg::KeyDown, PlKey::Right)));
    EditSetSel(edit, 1, 1);
    EXPECT_FALSE(KeyPreTranslate(Key(PlMsg::KeyDown, PlKey::Right)));
    EXPECT_EQ(LastKeyDown, PlKey::Right);
}

TEST_F(Keys, ModuleAndShortcutKeysAreTakenUnlessTheCompanyTurnsThemOff)
{
    int n = OpenWindow(TypeArticle, 0);
    ASSERT_GT(n, 0);
    EXPECT_FALSE(KeyPreTranslate(Key(PlMsg::KeyDown, '3')));
    PlSetKeyDown(PlKey::Control, true);
    EXPECT_TRUE(KeyPreTranslate(Key(PlMsg::KeyDown, '3')));
    EXPECT_TRUE(KeyPreTranslate(Key(PlMsg::KeyDown, '0')));
    EXPECT_EQ(CtrlDown, 1);
    EXPECT_FALSE(KeyPreTranslate(Key(PlMsg::KeyDown, 'Q')));

    PlSetKeyDown(PlKey::Shift, true);
    EXPECT_TRUE(KeyPreTranslate(Key(PlMsg::KeyDown, 'Q')));
    std::vector<uint8_t> company(CompanyBlk::SecondVariant + 2, 0);
    uint16_t off = 25;
    memcpy(company.data() + CompanyBlk::SecondVariant, &off, 2);
    CompanyBlock = company.data();
    EXPECT_FALSE(KeyPreTranslate(Key(PlMsg::KeyDown, 'Q')));
    EXPECT_EQ(LastKeyDown, 'Q');
    EXPECT_FALSE(KeyPreTranslate(Key(PlMsg::KeyUp, 'Q')));
}

TEST_F(Keys, AboutWindowLeavesCopyAndEnterToItsControls)
{
    int about = OpenWindow(TypeAbout, 0);
    ASSERT_GT(about, 0);
    ASSERT_EQ(CurrentWindow, about);
    EditIn(about, "x", 0, 0);
    EXPECT_FALSE(KeyCharCommand(3));
    EXPECT_FALSE(KeyCharCommand(13));
    EXPECT_FALSE(KeyPreTranslate(Key(PlMsg::Char, 13)));

    // In another window a typed character is the shell's once there is
    // an edit control, also while the program is busy.
    int n = OpenWindow(TypeArticle, 0);
    ASSERT_EQ(CurrentWindow, n);
    EXPECT_FALSE(KeyCharCommand('a'));        // no field to type into
    EditIn(n, "", 0, 0);
    EXPECT_TRUE(KeyCharCommand('a'));
    BusyFlag = 1;
    EXPECT_TRUE(KeyCharCommand('b'));
}

namespace {

constexpr int CustomerListType = 594, CustomersType = 590;

// The demo company entered as ADMIN, as a new user does.
class KeysInTheDemo : public LoggedIn {
protected:
    // Ctrl+1 opens the customer list, its first row (C1) selected, and
    // Return opens that in the customers window. The window's number.
    static int OpenFirstCustomer()
    {
        Key('1', false, true);
        int list = WinFindByDef(CustomerListType);
        EXPECT_GT(list, 0);
        if (list <= 0) return 0;
        Key(PlKey::Return);
        return WinFindByDef(CustomersType);
    }
    // Tabs in window n until the field showing record offset `at` has the
    // focus; false when it never does.
    static bool TabToOffset(int n, uint32_t at)
    {
        int f = WinScreenFieldOfOffset(n, at);
        for (int i = 0; i < 64 && WinTable[n]->currentField != f; i++) Key(PlKey::Tab);
        return f != NoField && WinTable[n]->currentField == f;
    }
    static std::string FieldText(int n) { return EditGetText(WinTable[n]->editControl); }
    static void ClickOk()
    {
        ASSERT_NE(TopBarButtons[0], 0u);
        ScriptClick(TopBarButtons[0], 4, 4);
        Drain();
    }
    static std::vector<uint8_t> Stored(int n)
    {
        std::vector<uint8_t> r(CUVc::Size);
        EXPECT_TRUE(StoredRecord(CUVc::Number, WinTable[n]->recordId, r.data(), CUVc::Size));
        return r;
    }
};

// Each item of the menu bar as it stands now is usable (its title and
// itself not greyed) exactly when the frame's gate lets its command
// through for the active window, and a title is greyed exactly when the
// gate refuses every command under it; a popup without items (the
// register popup of nobody) is greyed as its entries are refused.
void ExpectUsableExactlyWhereAnswered(const std::string &where)
{
    const int n = CurrentWindow;
    const uint32_t bar = WinMenu(FrameWindow);
    for (int t = 0; t < MenuItemCount(bar); t++) {
        const uint32_t popup = MenuSubMenu(bar, t);
        if (!popup) continue;
        const bool titleOn = !(MenuItemFlags(bar, t) & PlMenuFlag::Grayed);
        if (popup == MenuHandles.registerPopup && MenuItemCount(popup) == 0) {
            EXPECT_EQ(titleOn, FrameCommandAllowed(FrameCmd::RegisterEntries + 1, n)) << where << ": Registers";
        }
        bool anyAnswered = false;
        for (int i = 0; i < MenuItemCount(popup); i++) {
            const int id = MenuItemId(popup, i);
            if (id == 0) continue;   // a separator
            const bool usable = titleOn && !(MenuItemFlags(popup, i) & PlMenuFlag::Grayed);
            EXPECT_EQ(usable, FrameCommandAllowed(id, n))
                << where << ": " << MenuItemText(bar, t) << " > " << MenuItemText(popup, i) << " (" << id << ")";
            anyAnswered = anyAnswered || FrameCommandAllowed(id, n);
        }
        if (MenuItemCount(popup) > 0) {
            EXPECT_EQ(titleOn, anyAnswered) << where << ": " << MenuItemText(bar, t);
        }
    }
}

// Esc, and control characters typed as such, in a shown customer change
// nothing: no edit starts, the record is the stored one. Under edit they
// do not reach the field either; what is stored is what was typed.
TEST_F(KeysInTheDemo, EscAndOtherControlCharactersNeitherEnterAFieldNorChangeTheRecord)
{
    int n = OpenFirstCustomer();
    ASSERT_GT(n, 0);
    ASSERT_EQ(TextAt(WinRecordBuffer(n), CUVc::Code), "C1");
    ASSERT_TRUE(TabToOffset(n, CUVc::Name));
    std::vector<uint8_t> shown(WinRecordBuffer(n), WinRecordBuffer(n) + CUVc::Size);
    Key(PlKey::Escape);
    for (char c : std::string("\x01\x02\x05\x07\x0c\x1b\x1c\x1d\x7f")) Char(c);
    EXPECT_EQ(WinRecState(n), 0);
    EXPECT_EQ(FieldText(n), "First Customer");
    EXPECT_EQ(std::vector<uint8_t>(WinRecordBuffer(n), WinRecordBuffer(n) + CUVc::Size), shown);
    EXPECT_TRUE(Asked().empty());

    Key(PlKey::End);
    Type("s");
    EXPECT_EQ(WinRecState(n), 2);   // a printable character starts the change
    Key(PlKey::Escape);
    Type("\x1b\x7f!");
    EXPECT_EQ(FieldText(n), "First Customers!");
    ClickOk();
    EXPECT_EQ(WinRecState(n), 0);
    EXPECT_EQ(TextAt(Stored(n).data(), CUVc::Name), "First Customers!");
    EXPECT_TRUE(Shown().empty()) << Shown().front();
}

// Ctrl+V and Shift+Insert paste as typing does: up to the first Tab or
// line end, without control characters, the letters as the clipboard
// holds them. The pasted address is the bytes the defaults gave C1.
TEST_F(KeysInTheDemo, APasteKeepsOnlyWhatAFieldTakes)
{
    int n = OpenFirstCustomer();
    ASSERT_GT(n, 0);
    std::vector<uint8_t> c1 = Stored(n);
    Char(14);   // Ctrl+N: a new customer in the same window
    ASSERT_EQ(WinRecState(n), 1);
    Type("c9");
    ASSERT_TRUE(TabToOffset(n, CUVc::Addr1));
    ClipboardSetText("Kundv\xE4gen\x1b 2\x07\tnext field");
    Char(22);   // Ctrl+V
    EXPECT_EQ(FieldText(n), "Kundv\xE4gen 2");
    ASSERT_TRUE(TabToOffset(n, CUVc::Addr2));
    ClipboardSetText("222\x01 33 Malm\xF6\x7f\r\nnext line");
    Key(PlKey::Insert, true);
    EXPECT_EQ(FieldText(n), "222 33 Malm\xF6");
    ClickOk();
    ASSERT_EQ(WinRecState(n), 0);
    std::vector<uint8_t> c9 = Stored(n);
    EXPECT_EQ(TextAt(c9.data(), CUVc::Code), "C9");
    EXPECT_EQ(TextAt(c9.data(), CUVc::Addr1), TextAt(c1.data(), CUVc::Addr1));
    EXPECT_EQ(TextAt(c9.data(), CUVc::Addr2), TextAt(c1.data(), CUVc::Addr2));
    EXPECT_EQ(TextAt(c1.data(), CUVc::Addr1), "Kundv\xE4gen 2");
}

// The demo company opened again as a server opens it: its frame, where
// no login ever comes, shows its status window alone. Neither the
// register popup's Ctrl+digits (Ctrl+3, Return once opened ADMIN's person
// window) nor the File and Record keys, the File menu's items or the
// bottom bar's buttons open anything; of the File menu only Exit is
// usable, and the Edit, Record and register menus not at all.
TEST_F(KeysInTheDemo, AServersOwnFrameAnswersWithItsStatusWindowAlone)
{
    PString path;
    PathOf("demo.VDB", path);
    DbClose();
    struct ServerMode {
        ServerMode() { RunMode = RunModeServer; }
        ~ServerMode() { RunMode = 0; }
    } server;
    ASSERT_TRUE(DbOpen(path, 0));
    Drain();
    auto onlyStatus = [](const std::string &after) {
        std::vector<int> open = OpenWindows();
        ASSERT_EQ(open.size(), 1u) << after << " opened type " << WinTypeOf(open.back());
        EXPECT_EQ(WinTypeOf(open[0]), WinTypes::ServerStatus) << after;
    };
    onlyStatus("the open");
    EXPECT_EQ(LoggedInFlag, 0);
    for (char key : std::string("0123456789URDPNKJ")) {
        Key(uint32_t(key), false, true);
        Key(PlKey::Return);
        onlyStatus(std::string("Ctrl+") + key);
    }
    for (int id : {CmdCompany, CmdWindows, CmdMaintenance, CmdImport, CmdReports, FrameCmd::FileDocuments,
                   FrameCmd::FileJobQueue}) {
        Menu(id);
        onlyStatus("the menu command " + std::to_string(id));
    }
    for (int entry = 1; entry <= 4; entry++) {
        MacRect r;
        ASSERT_TRUE(BottomBarEntryRect(entry, &r));
        ScriptClick(BottomBarWindow, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        Drain();
        if (entry != 4) onlyStatus("the bottom bar's button " + std::to_string(entry));
        EXPECT_EQ(QuitFlag, 0) << "the bottom bar's Quit";
    }
    ExpectUsableExactlyWhereAnswered("the server's frame");
    EXPECT_FALSE(MenuItemFlags(MenuHandles.file, MenuFindCommand(MenuHandles.file, CmdExit)) & PlMenuFlag::Grayed);
    EXPECT_EQ(MenuItemCount(MenuHandles.registerPopup), 0);
    uint32_t bar = WinMenu(FrameWindow);
    for (uint32_t menu : {MenuHandles.edit, MenuHandles.record, MenuHandles.registerPopup}) {
        int at = -1;
        for (int i = 0; i < MenuItemCount(bar); i++)
            if (MenuSubMenu(bar, i) == menu) at = i;
        ASSERT_GE(at, 0);
        EXPECT_TRUE(MenuItemFlags(bar, at) & PlMenuFlag::Grayed) << MenuItemText(bar, at);
    }
    // The way out still works.
    Menu(CmdExit);
    EXPECT_EQ(QuitFlag, 1);
    QuitFlag = 0;
}

// Every item of the menus is a command of the frame's table, standing
// where its row places it (a File, Edit or Record item where its item
// number is enabled, a popup's entry in its range), and every row with
// an item of its own has it. While the login window asks, and while the
// About window is in front of it, each item is usable exactly when the
// gate answers its command.
TEST_F(KeysInTheDemo, EachMenuItemIsTheTablesAndGreyedExactlyWhereTheGateRefuses)
{
    const std::pair<uint32_t, FrameMenu> places[] = {
        {MenuHandles.file, FrameMenu::File},           {MenuHandles.edit, FrameMenu::Edit},
        {MenuHandles.record, FrameMenu::Record},       {MenuHandles.registerPopup, FrameMenu::Registers},
        {MenuHandles.modulePopup, FrameMenu::Modules}, {SettingsMenuHandle, FrameMenu::Settings},
        {MenuHandles.window, FrameMenu::Window},       {MenuHandles.help, FrameMenu::Help}};
    for (auto [menu, place] : places) {
        ASSERT_GT(MenuItemCount(menu), 0);
        for (int i = 0; i < MenuItemCount(menu); i++) {
            const int id = MenuItemId(menu, i);
            if (id == 0) continue;
            const FrameCommandRec *c = FrameCommandOf(id);
            ASSERT_TRUE(c) << MenuItemText(menu, i) << " (" << id << ") is no command of the frame";
            EXPECT_EQ(c->menu, place) << MenuItemText(menu, i) << " stands elsewhere than its row says";
            if (int item = FrameMenuItem(*c, id)) {
                EXPECT_GE(EnableMenuCmd(menu, item, false), 0) << MenuItemText(menu, i);
                EXPECT_TRUE(MenuItemFlags(menu, i) & PlMenuFlag::Grayed) << MenuItemText(menu, i) << " is not item " << item;
                EnableMenuCmd(menu, item, true);
            }
        }
    }
    for (const FrameCommandRec &c : FrameCommands()) {
        for (auto [menu, place] : places) {
            if (c.menu == place && c.first == c.last) {
                EXPECT_GE(MenuFindCommand(menu, c.first), 0) << c.first << " has no item";
            }
        }
    }

    LoggedInFlag = 0;   // the company open, its login asking
    int login = OpenWindow(WinTypes::Login, 0);
    ASSERT_GT(login, 0);
    ASSERT_EQ(CurrentWindow, login);
    MenuStateUpdate(login);
    ExpectUsableExactlyWhereAnswered("the login window");
    EXPECT_TRUE(FrameCommandAllowed(FrameCmd::EditPaste, login));
    EXPECT_FALSE(FrameCommandAllowed(FrameCmd::FileExit, login));
    Menu(FrameCmd::About);
    ASSERT_EQ(WinTypeOf(CurrentWindow), WinTypes::About);
    MenuStateUpdate(CurrentWindow);
    ExpectUsableExactlyWhereAnswered("the About window before a login");
    EXPECT_FALSE(FrameCommandAllowed(FrameCmd::EditPaste, CurrentWindow));
    LoggedInFlag = 1;
    for (int n : OpenWindows()) WinClose(n);
}

}  // namespace
