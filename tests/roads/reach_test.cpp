// reach_test.cpp - what a user can reach from the frame of a company made
// from the defaults (DEFAULT.TXT, logged in as its first user): every
// window type listed in reach_list.txt opens from a menu, the window list,
// a module's register popup, the bottom bar or a list reached from them;
// the sales invoices have their list and their window there; the text
// exports and the import run from File > Maintenance and File > Import.
//
// Record and settings windows are walked field by field and cell by cell
// of their first row, choosing in each, so the lists that fields and
// cells choose from are reached as well.
//
// Windows open only the way a user opens them: menu commands, keys,
// clicks and answered dialogs. Results are read from what the windows and
// files show, then from the company file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/record_buffer.h"
#include "core/window_entries.h"
#include "dict_offsets.h"
#include "exchange/text_exchange.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "platform/control.h"
#include "platform/mdi.h"
#include "platform/menu.h"
#include "platform/script.h"
#include "recordwin/record_windows.h"
#include "reports/frame/report_run.h"
#include "rules/hooks.h"
#include "shell/field_editing.h"
#include "shell/list_windows.h"
#include "shell/login.h"
#include "shell/menu_lists.h"
#include "shell/record_commands.h"
#include "shell/report_commands.h"
#include "shell/toolbar.h"
#include "shell/window_layout.h"
#include "tests/exchange/demo_defaults.h"
#include "tests/features/demo_company_fixture.h"
#include "tests/shell/record_test_helpers.h"

namespace {

namespace fs = std::filesystem;

// Record and Edit menu commands by id: 100 x menu + item - 100.
constexpr int CmdRecordNew = 306, CmdRecordNotes = 309, CmdChoose = 210;
// Bottom-bar commands that open no window: the company dialog and quit.
constexpr int BarCompany = 11, BarQuit = 14;
constexpr int KindList = 1, KindRecord = 3, KindReport = 6, KindSettings = 8, KindSettingsRows = 9;

std::string FileBytes(const fs::path &p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// The window types a user must reach, from reach_list.txt: a type number
// and its name a line; '#' starts a comment.
std::map<int, std::string> ReachList()
{
    std::map<int, std::string> types;
    std::ifstream in(fs::path(ORVEL_TEST_DATA_DIR) / "roads" / "reach_list.txt");
    for (std::string line; std::getline(in, line);) {
        if (line.empty() || line[0] == '#') continue;
        std::istringstream s(line);
        int type = 0;
        std::string name;
        if (s >> type) {
            std::getline(s >> std::ws, name);
            types[type] = name;
        }
    }
    return types;
}

// The texts the columns of list window n show for the record at visible
// row `row`, formatted as the list formats its cells.
std::vector<std::string> RowTextsShown(int n, int row)
{
    std::vector<std::string> texts;
    int32_t id = ListRowId(n, row);
    if (id < 0) return texts;
    int reg = WinRegisterOf(n);
    std::vector<uint8_t> record(RegRecordSize(reg));
    if (!StoredRecord(reg, uint32_t(id), record.data(), uint32_t(record.size()))) return texts;
    for (int c = 0; const uint8_t *e = WinDefEntry(n, WinPartFieldList, c); c++) {
        PString text;
        // A lookup column shows the text its window makes for the row.
        if (DefU16(e + ListColEntry::Type) == FtSpare28)
            RowExtraText(WinTypeOf(n), c, record.data(), text);
        else
            FieldFormat(record.data() + DefU32(e + ListColEntry::Offset), DefU16(e + ListColEntry::Type),
                        DefU16(e + ListColEntry::Format), text);
        texts.push_back(PStringToStd(text));
    }
    RecFreeMatrix(reg, record.data());
    return texts;
}

// ---- The reach check ----

class ReachCheck : public LoggedIn {
protected:
    std::set<int> reached;
    std::vector<std::string> steps;   // what was walked, for the failure message

    // Notes the types of every open window.
    void Collect()
    {
        for (int n : OpenWindows()) reached.insert(WinTypeOf(n));
    }
    // One road: `open` opens something from a frame without windows, then
    // what the opened windows lead to is walked, and everything closes.
    template <typename Open> void Road(const std::string &what, Open open)
    {
        steps.push_back(what);
        CloseAll();
        open();
        Collect();
        for (int n : OpenWindows()) Deeper(n, what);
        CloseAll();
        ASSERT_TRUE(DbOpenFlag) << what << " closed the company";
        ASSERT_EQ(QuitFlag, 0) << what << " quit";
    }
    // What a window opened by a road leads to: a list's new record, a
    // record window's notes and the windows its fields choose from, the
    // windows a settings window's or a report selection's fields and rows
    // choose from, and
    // every row of a menu list or of a settings group (Forms, Series).
    void Deeper(int n, const std::string &what)
    {
        if (!WinIsOpen(n)) return;
        int type = WinTypeOf(n);
        switch (WinKindOf(n)) {
        case KindList:
            ActivateWindowNumber(n);
            Drain();
            MenuIfEnabled(MenuHandles.record, CmdRecordNew);
            Collect();
            for (int m : OpenWindows())
                if (m != n && WinKindOf(m) == KindRecord) Choosers(m);
            return;
        case KindSettings:
        case KindSettingsRows:
        case KindReport:
            Choosers(n);
            return;
        case KindRecord:
            Choosers(n);
            if (!WinIsOpen(n)) return;
            ActivateWindowNumber(n);
            Drain();
            MenuIfEnabled(MenuHandles.record, CmdRecordNotes);
            Collect();
            return;
        default: break;
        }
        if (type == WinTypes::FunctionList) {
            for (const char *kind : {"Exports", "Imports", "Maintenance"}) {
                ActivateWindowNumber(n);
                EXPECT_TRUE(ClickLabelled(n, kind)) << "no control " << kind;
                MenuRows(n, what + " > " + kind);
            }
            return;
        }
        if (type == WinTypes::PrinterList) {   // its New opens a printer row, whose fields choose
            std::vector<int> before = OpenWindows();
            ActivateWindowNumber(n);
            EXPECT_TRUE(ClickLabelled(n, "New")) << "no New in the printer list";
            Collect();
            for (int m : OpenWindows())
                if (std::find(before.begin(), before.end(), m) == before.end()) Choosers(m);
            return;
        }
        if (type == WinTypes::ReportList || type == WinTypes::DocumentList || type == WinTypes::WindowList ||
            type == WinTypes::ImportList || type == WinTypes::SetForms || type == WinTypes::SetSeries) {
            MenuRows(n, what);
            if (type == WinTypes::ReportList && WinIsOpen(n)) {
                ActivateWindowNumber(n);
                Drain();
                // A saved selection of the first report that keeps them.
                const uint32_t list = WinListBox(n);
                bool keeps = false;
                for (int row = 0; list && row < ListBoxCount(list) && !keeps; row++) {
                    ListBoxSetCurSel(list, row);
                    keeps = ReportKeepsSelections(ReportListSelectedNumber(n));
                }
                if (keeps) MenuIfEnabled(MenuHandles.record, CmdRecordNew);
                Collect();
            }
        }
    }
    // Runs every row of menu-list n; an export or import a row starts is
    // cancelled at its file dialog. The windows a row opens are walked and
    // closed again.
    void MenuRows(int n, const std::string &what)
    {
        int rows = int(ListBoxRows(n).size());
        for (int row = 0; row < rows && WinIsOpen(n); row++) {
            std::vector<int> before = OpenWindows();
            ScriptAnswerFile("");
            ChooseRow(n, row);
            Collect();
            for (int m : OpenWindows()) {
                if (std::find(before.begin(), before.end(), m) != before.end()) continue;
                Deeper(m, what + " > row " + std::to_string(row));
            }
            std::vector<int> now = OpenWindows();
            for (auto m = now.rbegin(); m != now.rend(); ++m)
                if (std::find(before.begin(), before.end(), *m) == before.end() && WinIsOpen(*m)) WinClose(*m);
            Drain();
            ScriptReset();
        }
    }
    // Edit > Choose in whatever n has under edit: a window it opens is
    // noted and closed again.
    void ChooseHere(int n)
    {
        ActivateWindowNumber(n);
        Drain();
        std::vector<int> before = OpenWindows();
        MenuIfEnabled(MenuHandles.edit, CmdChoose);
        Collect();
        std::vector<int> now = OpenWindows();
        for (auto m = now.rbegin(); m != now.rend(); ++m)
            if (std::find(before.begin(), before.end(), *m) == before.end() && WinIsOpen(*m)) WinClose(*m);
        Drain();
    }
    // Clicks the middle of control entry i of n.
    static void ClickControl(int n, int i)
    {
        MacRect r;
        WinFieldRect(n, i, &r);
        ClickAt(n, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    // The cells of window n's rows choose too: the page holding
    // the rows is shown (its tab clicked), then on each column page (its
    // matrix tab clicked) every cell of the first row that chooses is
    // clicked and Edit > Choose is used on it.
    void CellChoosers(int n)
    {
        if (!WinIsOpen(n) || !WinHasMatrix(n)) return;
        int slot = MatrixSlotOf(n);
        const uint8_t *rows = slot >= 0 ? WinControlByIndex(n, slot) : nullptr;
        if (!rows) return;
        std::vector<int> columnTabs;
        for (int i = 0; const uint8_t *e = WinControlByIndex(n, i); i++) {
            int kind = DefU16(e + ControlEntry::Kind);
            if (kind == CtlPageTab && DefU16(e + ControlEntry::Command) == DefU16(rows + ControlEntry::Page))
                ClickControl(n, i);
            if (kind == CtlMatrixTab) columnTabs.push_back(i);
        }
        if (columnTabs.empty()) columnTabs.push_back(-1);
        for (int tab : columnTabs) {
            if (!WinIsOpen(n)) return;
            ActivateWindowNumber(n);
            if (tab >= 0) ClickControl(n, tab);
            int kind = MatrixRowKind(n, 0), top = WinTable[n]->controls[slot].position;
            for (int c = 0; c < MatrixCellCount(n, kind) && WinIsOpen(n); c++) {
                const uint8_t *column = MatrixColumnAt(n, kind, c);
                MacRect r;
                if (!column || !MatrixCellRect(n, kind, &r, -top, c)) break;
                if (DefU16(column + ColumnEntry::Chooser) == 0) continue;   // a cell that chooses nothing
                ActivateWindowNumber(n);
                ClickAt(n, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
                ChooseHere(n);
            }
        }
    }
    // Focuses data field F of n as a user does: its page shown by the
    // page's tab, then a click on the field.
    void ClickDataField(int n, int F)
    {
        const uint8_t *field = WinDefEntry(n, WinPartDataFields, F - 1);
        if (!field) return;
        int page = DefU16(field + FieldEntry::Page);
        for (int i = 0; const uint8_t *e = WinControlByIndex(n, i); i++)
            if (!WinPageShown(n, page) && DefU16(e + ControlEntry::Kind) == CtlPageTab &&
                DefU16(e + ControlEntry::Command) == page)
                ClickControl(n, i);
        MacRect r;
        WinBindingRect(n, field, &r);
        ClickAt(n, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    // Tabs through window n's fields and chooses (Edit > Choose) on
    // each; a window a field chooses from is noted and closed. Where Tab
    // leaves a header for the rows, the fields of the pages after it are
    // clicked on their pages instead. Then the cells of its rows.
    void Choosers(int n)
    {
        int fields = WinDefCount(n, WinPartDataFields);
        for (int f = 0; f < fields && WinIsOpen(n); f++) {
            if (f > 0 && WinTable[n]->currentField > fields) ClickDataField(n, f + 1);
            ChooseHere(n);
            if (WinIsOpen(n)) {
                ActivateWindowNumber(n);
                Key(PlKey::Tab);
            }
        }
        CellChoosers(n);
    }
    // The items of popup `menu` a user may choose now: not separators,
    // not greyed, and none that leaves the company or the program.
    static std::vector<int> Choosable(uint32_t menu)
    {
        std::vector<int> ids;
        for (int i = 0; menu && i < MenuItemCount(menu); i++) {
            int id = MenuItemId(menu, i);
            if (id <= 0 || MenuSubMenu(menu, i) || (MenuItemFlags(menu, i) & PlMenuFlag::Grayed)) continue;
            if (id == CmdCompany || id == CmdExit) continue;
            ids.push_back(id);
        }
        return ids;
    }
    // Walks every menu of the bar, then the bottom bar's buttons, as the
    // current module shows them.
    void WalkModule(const std::string &module)
    {
        for (int top = 0; top < MenuItemCount(MenuHandles.bar); top++) {
            uint32_t popup = MenuSubMenu(MenuHandles.bar, top);
            if (!popup || popup == MenuHandles.modulePopup) continue;
            for (int id : Choosable(popup)) {
                Road(module + " menu " + std::to_string(id), [id] { Menu(id); });
                if (HasFatalFailure()) return;
            }
        }
        uint8_t *def = WinTypeDef(WinTypes::MainBars);
        for (int i = 0; def && i < WinDefPartCount(def, WinPartIconButtons); i++) {
            uint16_t size = 0;
            const uint8_t *e = WinDefPartEntry(def, WinPartIconButtons, i, &size);
            int command = DefU16(e + IconEntry::Command);
            if (command == 0 || command == BarCompany || command == BarQuit) continue;
            int x = int16_t(DefU16(e + IconEntry::X)), y = int16_t(DefU16(e + IconEntry::Y));
            Road(module + " bottom bar " + std::to_string(i), [x, y] {
                ScriptClick(BottomBarWindow, x, y);
                Drain();
            });
            if (HasFatalFailure()) return;
        }
    }
};

// Every window type of reach_list.txt opens from the menus, the window
// list, the register popup of every module, the bottom bar or a list they
// open, with nothing but menu commands, keys and clicks.
TEST_F(ReachCheck, EveryListedWindowTypeIsReachedFromTheFrame)
{
    std::map<int, std::string> wanted = ReachList();
    ASSERT_GT(wanted.size(), 10u) << "reach_list.txt was not read";
    std::vector<int> modules = Choosable(MenuHandles.modulePopup);
    ASSERT_FALSE(modules.empty());
    WalkModule("first module");
    for (int id : modules) {
        if (HasFatalFailure()) return;
        Menu(id);
        WalkModule("module " + std::to_string(id));
    }
    for (const auto &[type, name] : wanted)
        EXPECT_TRUE(reached.count(type)) << "window type " << type << " (" << name << ") is not reached";
    // A type the walk reaches but the list lacks is reported too, so the
    // list keeps saying what a user may open.
    for (int type : reached)
        EXPECT_TRUE(wanted.count(type)) << "window type " << type << " is reached but not in reach_list.txt";
}

// ---- The sales invoices: their list and their window ----

class SalesInvoiceReach : public LoggedIn {};

// File > Windows lists the sales invoices; their list opens inside the
// work area, New there opens an empty invoice, the stored invoice shows
// in the list with its number, customer, name, kind, date, total and
// posted state, and OK on its row opens it in the invoice window.
TEST_F(SalesInvoiceReach, TheWindowListOpensTheInvoiceListWhichOpensItsInvoices)
{
    Menu(CmdWindows);
    int windows = Find(WinTypes::WindowList);
    ASSERT_GT(windows, 0);
    int row = RowOf(windows, TextOf(10500));
    ASSERT_GE(row, 0) << "the window list lacks the sales invoices";
    EXPECT_GE(RowOf(windows, TextOf(10100)), 0) << "the window list lacks the sales invoice";
    ChooseRow(windows, row);
    int list = Find(WinTypes::SalesInvoiceList);
    ASSERT_GT(list, 0);
    EXPECT_EQ(TitleOf(list).rfind(TextOf(10500) + ":", 0), 0u) << TitleOf(list);

    // The list's window lies inside the work area, its title bar below
    // the frame's top bar, and its find field and pane inside its client.
    PlRect frame = WinScreenRect(WinTable[list]->mdiChild), work = WinScreenRect(MdiClientWindow);
    EXPECT_GE(frame.top, work.top);
    EXPECT_GE(frame.left, work.left);
    EXPECT_LE(frame.bottom, work.bottom);
    EXPECT_LE(frame.right, work.right);
    PlRect client = WinClientRect(WinTable[list]->mdiChild);
    MacRect pane = ListPaneRect(list), find;
    WinBindingRect(list, WinDefEntry(list, WinPartDataFields, 0), &find);
    for (const MacRect &r : {pane, find}) {
        EXPECT_GE(r.left, client.left);
        EXPECT_GE(r.top, client.top);
        EXPECT_LE(r.right, client.right);
        EXPECT_LE(r.bottom, client.bottom);
    }

    // New: an empty invoice, the cursor on the customer.
    Menu(CmdRecordNew);
    int inv = Find(WinTypes::SalesInvoice);
    ASSERT_GT(inv, 0);
    EXPECT_EQ(WinRecState(inv), 1);
    EXPECT_EQ(WinTable[inv]->currentField, 2);
    EXPECT_EQ(TextAt(WinRecordBuffer(inv), IVVc::CustCode), "");
    Type("C1");
    Key(PlKey::Tab);
    ScriptClick(TopBarButtons[0], 4, 4);   // OK
    Drain();
    ASSERT_EQ(WinRecState(inv), 0) << (Shown().empty() ? "" : Shown().front());
    uint32_t id = WinTable[inv]->recordId;
    ASSERT_NE(id, 0u);
    std::vector<uint8_t> stored(IVVc::Size);
    ASSERT_TRUE(StoredRecord(IVVc::Number, id, stored.data(), IVVc::Size));
    EXPECT_EQ(TextAt(stored.data(), IVVc::CustCode), "C1");
    EXPECT_EQ(TextAt(stored.data(), IVVc::Addr0), "First Customer");
    WinClose(inv);
    Drain();

    // The list shows the invoice; OK on its row opens it.
    ActivateWindowNumber(list);
    Drain();
    ASSERT_EQ(ListRowId(list, 0), int32_t(id));
    PString serial, date, total;
    FieldFormat(stored.data() + IVVc::SerNr, FtLongOrEmpty, 0, serial);
    FieldFormat(stored.data() + IVVc::InvDate, FtDate, 0, date);
    FieldFormat(stored.data() + IVVc::Total, FtAmount2, 0, total);
    EXPECT_EQ(RowTextsShown(list, 0), (std::vector<std::string>{PStringToStd(serial), "C1", "First Customer",
                                                                 "Invoice", PStringToStd(date), PStringToStd(total),
                                                                 TextOf(10504)}));
    MacRect r = ListPaneRect(list);
    ClickAt(list, r.left + 20, r.top + 8);
    Key(PlKey::Return);
    int shown = Find(WinTypes::SalesInvoice);
    ASSERT_GT(shown, 0);
    EXPECT_EQ(WinTable[shown]->recordId, id);
    EXPECT_EQ(TextAt(WinRecordBuffer(shown), IVVc::CustCode), "C1");
}

// The Sales module's register popup opens the invoice list and the
// invoice window; the ledger's does not offer them.
TEST_F(SalesInvoiceReach, TheSalesModulesRegisterPopupOffersThem)
{
    auto items = [] {
        std::vector<std::string> texts;
        for (int i = 0; i < MenuItemCount(MenuHandles.registerPopup); i++)
            texts.push_back(MenuItemText(MenuHandles.registerPopup, i));
        return texts;
    };
    auto has = [](const std::vector<std::string> &texts, const std::string &start) {
        return std::any_of(texts.begin(), texts.end(), [&](const std::string &t) { return t.rfind(start, 0) == 0; });
    };
    EXPECT_FALSE(has(items(), TextOf(10500)));
    int sales = 0;
    for (int i = 0; i < MenuItemCount(MenuHandles.modulePopup); i++)
        if (MenuItemText(MenuHandles.modulePopup, i) == TextOf(9831)) sales = MenuItemId(MenuHandles.modulePopup, i);
    ASSERT_NE(sales, 0);
    Menu(sales);
    std::vector<std::string> texts = items();
    ASSERT_TRUE(has(texts, TextOf(10500) + "\tCtrl+5")) << texts.size();
    ASSERT_TRUE(has(texts, TextOf(10100) + "\tCtrl+6"));
    Key('5', false, true);
    EXPECT_GT(Find(WinTypes::SalesInvoiceList), 0);
    Key('6', false, true);
    EXPECT_GT(Find(WinTypes::SalesInvoice), 0);
}

// ---- Text export and import from the menus ----

class ExchangeReach : public LoggedIn {
protected:
    // Opens File > Maintenance with its Exports and chooses the row of
    // `text`, answering the save dialog with `file`.
    int ChooseExport(const std::string &text, const fs::path &file)
    {
        Menu(CmdMaintenance);
        int list = Find(WinTypes::FunctionList);
        EXPECT_GT(list, 0);
        if (!list) return 0;
        int row = RowOf(list, text);
        EXPECT_GE(row, 0) << text;
        if (row < 0) return 0;
        ScriptAnswerFile(file.string());
        ChooseRow(list, row);
        return list;
    }
};

// The full export, chosen from File > Maintenance, asks for its file and
// writes the whole company: a company just made from the defaults gives
// back the defaults' bytes.
TEST_F(ExchangeReach, TheFullExportRunsFromTheFunctionList)
{
    Menu(CmdMaintenance);
    int list = Find(WinTypes::FunctionList);
    ASSERT_GT(list, 0);
    EXPECT_EQ(ListBoxRows(list), (std::vector<std::string>{TextOf(10506), TextOf(10507), TextOf(10508),
                                                           TextOf(10509), TextOf(10511), TextOf(10510),
                                                           TextOf(10620), TextOf(11363), TextOf(11361),
                                                           TextOf(11362), TextOf(11364), TextOf(11368),
                                                           TextOf(11365), TextOf(11471), TextOf(11472),
                                                           TextOf(11473), TextOf(11523), TextOf(11524),
                                                           TextOf(11525), TextOf(11526), TextOf(11527),
                                                           TextOf(12255), TextOf(12624), TextOf(13026)}));
    fs::path out = dir / "full.txt";
    ASSERT_GT(ChooseExport(TextOf(10506), out), 0);
    ASSERT_TRUE(fs::exists(out));
    EXPECT_TRUE(demodefaults::ExportIsTheDefaults(FileBytes(out), FileBytes(dir / "DEFAULT.TXT")));
    bool asked = false;
    for (const PlScriptRecord &r : ScriptRecords()) asked |= r.kind == "file" && r.scripted;
    EXPECT_TRUE(asked);

    // A cancelled save dialog writes nothing.
    auto files = [this] {
        std::set<std::string> names;
        for (const auto &e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
        return names;
    };
    std::set<std::string> before = files();
    ScriptReset();
    ChooseExport(TextOf(10506), "");
    EXPECT_EQ(files(), before);
}

// The customer list export opens its selection window; OK there asks for
// the file and writes the customers of the range only.
TEST_F(ExchangeReach, TheCustomerExportTakesItsRangeFromItsWindow)
{
    fs::path out = dir / "customers.txt";
    int list = ChooseExport(TextOf(10509), out);
    ASSERT_GT(list, 0);
    int sel = Find(WinTypes::CustomerExportSel);
    ASSERT_GT(sel, 0);
    EXPECT_FALSE(fs::exists(out)) << "the export ran before its selection was given";
    Type("C1:C2");
    ScriptClick(TopBarButtons[0], 4, 4);   // OK
    Drain();
    EXPECT_FALSE(WinIsOpen(sel));
    std::string text = FileBytes(out);
    EXPECT_NE(text.find("C1\t"), std::string::npos) << text;
    EXPECT_NE(text.find("C2\t"), std::string::npos);
    EXPECT_EQ(text.find("C3\t"), std::string::npos);
}

// The settings export writes the registers whose boxes are ticked: with
// "Accounts" ticked, the accounts section as the defaults hold it and
// nothing of the unticked ones.
TEST_F(ExchangeReach, TheSettingsExportWritesWhatIsTicked)
{
    fs::path out = dir / "settings.txt";
    ASSERT_GT(ChooseExport(TextOf(10508), out), 0);
    int sel = Find(WinTypes::SettingsExportSel);
    ASSERT_GT(sel, 0);
    ASSERT_TRUE(ClickLabelled(sel, "Accounts"));
    ScriptClick(TopBarButtons[0], 4, 4);   // OK
    Drain();
    EXPECT_FALSE(WinIsOpen(sel));
    std::string defaults = FileBytes(dir / "DEFAULT.TXT");
    size_t from = defaults.find("konto3\t\r\n");
    ASSERT_NE(from, std::string::npos);
    std::string accounts = defaults.substr(from, defaults.find("\r\n\r\n", from) + 4 - from);
    std::string text = FileBytes(out);
    EXPECT_NE(text.find(accounts), std::string::npos) << text;
    EXPECT_EQ(text.find("betsatt1"), std::string::npos);
    EXPECT_EQ(text.find("momskod1"), std::string::npos);
}

// File > Import is usable with a company open and opens the import list;
// its row asks for the file and imports it: the new customer shows in the
// customer list and is in the company. A file that is not an export is
// refused by name and changes nothing.
TEST_F(ExchangeReach, FileImportAsksForTheFileAndImportsIt)
{
    int importAt = MenuFindCommand(MenuHandles.file, CmdImport);
    ASSERT_GE(importAt, 0);
    EXPECT_FALSE(MenuItemFlags(MenuHandles.file, importAt) & PlMenuFlag::Grayed);
    fs::path in = dir / "one.txt";
    {
        // The defaults' header and their customer C3 as a new customer C9.
        std::string defaults = FileBytes(dir / "DEFAULT.TXT");
        size_t head = defaults.find("company4\t"), c3 = defaults.find("\r\nC3\tSmall Customer\t");
        ASSERT_NE(head, std::string::npos);
        ASSERT_NE(c3, std::string::npos);
        std::string line = defaults.substr(c3 + 2, defaults.find("\r\n", c3 + 2) - c3 - 2);
        line.replace(0, std::string("C3\tSmall Customer").size(), "C9\tNinth Customer");
        std::ofstream(in, std::ios::binary) << defaults.substr(0, head) << "cu2\t\r\n" << line << "\r\n\r\n";
    }
    Menu(CmdImport);
    int list = Find(WinTypes::ImportList);
    ASSERT_GT(list, 0);
    ASSERT_EQ(ListBoxRows(list),
              (std::vector<std::string>{TextOf(10512), TextOf(10621), TextOf(12257), TextOf(11539)}));
    ScriptAnswerFile(in.string());
    ChooseRow(list, 0);
    EXPECT_EQ(RegRecordCount(CUVc::Number), 4u) << (Shown().empty() ? "" : Shown().front());

    CloseAll();
    Key('1', false, true);   // the customer list
    int customers = Find(WinTypes::CustomerList);
    ASSERT_GT(customers, 0);
    bool listed = false;
    for (int row = 0; row < ListRowCount(customers); row++) {
        std::vector<std::string> texts = RowTextsShown(customers, row);
        listed |= texts.size() == 2 && texts[0] == "C9" && texts[1] == "Ninth Customer";
    }
    EXPECT_TRUE(listed);

    // A damaged line is refused with its line and column; its customer is
    // not stored.
    fs::path bad = dir / "bad.txt";
    {
        std::string text = FileBytes(in);
        size_t at = text.find("C9\tNinth Customer");
        ASSERT_NE(at, std::string::npos);
        text.replace(at, 2, "C8");
        size_t zone = text.find("\t30\t0\t", at);
        ASSERT_NE(zone, std::string::npos);
        text.replace(zone, 6, "\t30\tx\t");
        std::ofstream(bad, std::ios::binary) << text;
    }
    MessagesShown.clear();
    CloseAll();
    Menu(CmdImport);
    ScriptAnswerFile(bad.string());
    ChooseRow(Find(WinTypes::ImportList), 0);
    EXPECT_TRUE(Said(TextOf(10200))) << (Shown().empty() ? "nothing said" : Shown().front());
    EXPECT_EQ(RegRecordCount(CUVc::Number), 4u);

    // A cancelled open dialog imports nothing and says nothing.
    MessagesShown.clear();
    CloseAll();
    Menu(CmdImport);
    ScriptAnswerFile("");
    ChooseRow(Find(WinTypes::ImportList), 0);
    EXPECT_TRUE(Shown().empty());
    EXPECT_EQ(RegRecordCount(CUVc::Number), 4u);
}

// The SIE export, chosen from File > Maintenance, takes its type from its
// window and writes the ledger as an SIE file; chosen from File > Import,
// "SIE file" reads such a file, and a broken one is refused with its line
// and changes nothing.
TEST_F(ExchangeReach, TheSieFileIsWrittenAndReadFromTheLists)
{
    fs::path out = dir / "ledger.se";
    int list = ChooseExport(TextOf(10620), out);
    ASSERT_GT(list, 0);
    int sel = Find(WinTypes::SieExportSel);
    ASSERT_GT(sel, 0);
    // The type, two fields on, and the dates of this year's whole months
    // as the user's date format writes them.
    Type("4");
    Key(PlKey::Tab);
    Key(PlKey::Tab);
    Key(PlKey::Tab);
    DateRec from{1, 1, TodayDate.year}, to{31, 12, TodayDate.year};
    PString text;
    DateToText(&from, text);
    Type(PStringToStd(text));
    Key(PlKey::Tab);
    DateToText(&to, text);
    Type(PStringToStd(text));
    ScriptClick(TopBarButtons[0], 4, 4);   // OK
    Drain();
    EXPECT_FALSE(WinIsOpen(sel));
    EXPECT_TRUE(Shown().empty()) << Shown().front();
    std::string sie = FileBytes(out);
    EXPECT_EQ(sie.rfind("#FLAGGA\t0\t\r\n", 0), 0u) << sie.substr(0, 80);
    EXPECT_NE(sie.find("#SIETYP\t4\t\r\n"), std::string::npos);
    EXPECT_NE(sie.find("#KONTO\t"), std::string::npos);

    const uint32_t accounts = RegRecordCount(ACVc::Number);
    fs::path bad = dir / "bad.se";
    std::ofstream(bad, std::ios::binary) << "#SIETYP 4\r\n#KONTO 99999 \"New\"\r\n#TRANS 1910 {} 1.00\r\n";
    MessagesShown.clear();
    CloseAll();
    Menu(CmdImport);
    int imports = Find(WinTypes::ImportList);
    ASSERT_GT(imports, 0);
    int row = RowOf(imports, TextOf(10621));
    ASSERT_GE(row, 0);
    ScriptAnswerFile(bad.string());
    ChooseRow(imports, row);
    EXPECT_TRUE(Said(TextOf(10623) + "3: ")) << (Shown().empty() ? "nothing said" : Shown().front());
    EXPECT_EQ(RegRecordCount(ACVc::Number), accounts);

    MessagesShown.clear();
    CloseAll();
    Menu(CmdImport);
    ScriptAnswerFile(out.string());
    ChooseRow(Find(WinTypes::ImportList), row);
    EXPECT_FALSE(Said(TextOf(10623))) << (Shown().empty() ? "" : Shown().front());
    EXPECT_EQ(RegRecordCount(ACVc::Number), accounts);
}

}  // namespace
