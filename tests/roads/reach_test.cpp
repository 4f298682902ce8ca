// reach_test.cpp - what a user can reach from the frame of a company made
// from the defaults (DEFAULT.TXT, logged in as its first user): every
// window type listed in reach_list.txt opens from a menu, the window list,
// a module's register popup, the bottom bar or a list reached from them;
// the sales invoices have their list and their window there; the text
// exports and the import run from File > Maintenance and File > Import.
//
// Record and settings windows are walked field by field and cell by cell
// of their first row, choosing in each, so the lists that fields and
// cells choose from are reached as well. A second walk tries the keys of
// a row's cell (Backspace, Delete, Shift+Delete, Return), a click on a
// row's number with Delete, and Edit > Insert row in every window with
// rows that the list names.
//
// Windows open only the way a user opens them: menu commands, keys,
// clicks and answered dialogs. Results are read from what the windows and
// files show, then from the company file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
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
    // Whether the fields and cells of the windows walked are chosen from
    // (the lists they open reached), and what is done in each record,
    // settings or report window the walk opens, after its choosers.
    bool choose = true;
    std::function<void(int)> visit;

    // The walk's own doings in window n: its choosers, then the visit.
    void Walk(int n)
    {
        if (choose) Choosers(n);
        if (visit && WinIsOpen(n)) visit(n);
    }

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
                if (m != n && WinKindOf(m) == KindRecord) Walk(m);
            return;
        case KindSettings:
        case KindSettingsRows:
        case KindReport:
            Walk(n);
            return;
        case KindRecord:
            Walk(n);
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
                if (std::find(before.begin(), before.end(), m) == before.end()) Walk(m);
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
    // Shows the page of window n that holds its rows, by a click on its
    // tab; false when n has no rows.
    static bool ShowRowsPage(int n)
    {
        if (!WinIsOpen(n) || !WinHasMatrix(n)) return false;
        int slot = MatrixSlotOf(n);
        const uint8_t *rows = slot >= 0 ? WinControlByIndex(n, slot) : nullptr;
        if (!rows) return false;
        for (int i = 0; const uint8_t *e = WinControlByIndex(n, i); i++)
            if (DefU16(e + ControlEntry::Kind) == CtlPageTab &&
                DefU16(e + ControlEntry::Command) == DefU16(rows + ControlEntry::Page))
                ClickControl(n, i);
        return WinIsOpen(n);
    }
    void CellChoosers(int n)
    {
        if (!ShowRowsPage(n)) return;
        int slot = MatrixSlotOf(n);
        std::vector<int> columnTabs;
        for (int i = 0; const uint8_t *e = WinControlByIndex(n, i); i++)
            if (DefU16(e + ControlEntry::Kind) == CtlMatrixTab) columnTabs.push_back(i);
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

// ---- The row keys in every window with rows ----

class RowKeysCheck : public ReachCheck {
protected:
    static constexpr int CmdInsertRow = 207;   // Edit > Insert row
    static constexpr int CmdDeleteRow = 206;   // Edit > Delete row
    std::map<int, std::string> rowTypes;       // the reach list's window types with rows
    std::set<int> tried;                       // where the keys were tried
    std::map<int, std::string> untyped;        // where no cell took the digits typed
    std::set<int> inserted;                    // where Edit > Insert row was usable

    // The screen field of cell c of row `row` of n.
    static int CellField(int n, int row, int c)
    {
        int first = 0, cells = 0;
        MatrixGeometry(n, &first, &cells);
        return first + row * cells + c;
    }
    // The text of n's field under edit; "(none)" when no field is.
    static std::string EditText(int n)
    {
        return WinIsOpen(n) && WinTable[n]->editControl ? EditGetText(WinTable[n]->editControl) : "(none)";
    }
    // The text cell c of stored-in-the-window row `row` of n shows.
    static std::string CellText(int n, int row, int c)
    {
        const uint8_t *col = MatrixColumnAt(n, MatrixRowKind(n, row), c);
        int rowSize = 0, kindAt = 0;
        MatrixColumnInfo(n, 0, &rowSize, &kindAt);
        if (!col || row >= WinMatrixRowCount(n)) return "(no such cell)";
        const uint8_t *rows = MemLock(WinMatrixRows(n));
        PString text;
        FieldFormat(rows + size_t(row) * size_t(rowSize) + DefU32(col + ColumnEntry::Offset),
                    DefU16(col + ColumnEntry::Type), DefU16(col + ColumnEntry::Format), text);
        MemUnlock(WinMatrixRows(n));
        return PStringToStd(text);
    }
    // A click on cell c of row `row` of n; false when it is not on screen.
    static bool ClickCell(int n, int row, int c)
    {
        int slot = MatrixSlotOf(n);
        MacRect r;
        if (!WinIsOpen(n) || slot < 0 ||
            !MatrixCellRect(n, MatrixRowKind(n, row), &r, row - WinTable[n]->controls[size_t(slot)].position, c))
            return false;
        ClickAt(n, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
        return WinIsOpen(n);
    }
    // The cell of row `row` of n that takes "12" typed into it, which it
    // then holds under edit: text cells are tried first, then cells that
    // choose from nothing, then the rest; -1 when none takes it. Digits a
    // cell took only in part are typed away again.
    static int TypableCell(int n, int row)
    {
        std::vector<int> order;
        const int kind = MatrixRowKind(n, row);
        for (int pass = 0; pass < 3; pass++)
            for (int c = 0; c < MatrixCellCount(n, kind); c++) {
                const uint8_t *col = MatrixColumnAt(n, kind, c);
                const bool text = DefU16(col + ColumnEntry::Type) == FtText;
                const bool chooses = DefU16(col + ColumnEntry::Chooser) != 0;
                if ((pass == 0 && text) || (pass == 1 && !text && !chooses) || (pass == 2 && !text && chooses))
                    order.push_back(c);
            }
        for (int c : order) {
            if (!ClickCell(n, row, c) || WinTable[n]->currentField != CellField(n, row, c)) continue;
            Key(PlKey::End);
            Key(PlKey::Home, true);
            Type("12");
            if (EditText(n) == "12") return c;
            if (EditText(n) != "(none)" && !EditText(n).empty()) {
                Key(PlKey::End);
                Key(PlKey::Home, true);
                Key(PlKey::Back);
            }
        }
        return -1;
    }
    // The row keys in window n, the first of its type the walk opens: in a
    // cell of the first empty row (else the first row) Backspace, Delete
    // at the caret, Shift+Delete of a selection and Return edit the cell
    // and leave every row where it is; a click on the row's number and
    // Delete remove it (or cross it out, or say why not), where Edit >
    // Delete row is usable exactly when it does something; Edit > Insert row,
    // where usable, inserts a row or says why not.
    void RowKeys(int n)
    {
        const int type = WinTypeOf(n);
        if (!rowTypes.count(type) || tried.count(type) || untyped.count(type)) return;
        ActivateWindowNumber(n);
        Drain();
        if (!ShowRowsPage(n)) return;
        const int count = WinMatrixRowCount(n);
        int row = count < MatrixRowsShown(n) && count < MatrixMaxRows(n) ? count : 0;
        int c = TypableCell(n, row);
        if (c < 0 && row != 0 && WinIsOpen(n)) c = TypableCell(n, row = 0);
        if (c < 0) {
            untyped[type] = rowTypes[type];
            return;
        }
        tried.insert(type);
        SCOPED_TRACE("window type " + std::to_string(type) + " (" + rowTypes[type] + ")");
        const int F = CellField(n, row, c), rows = WinMatrixRowCount(n);
        auto edited = [&](const char *key, const std::string &text) {
            ASSERT_TRUE(WinIsOpen(n)) << key;
            EXPECT_EQ(WinMatrixRowCount(n), rows) << key << " changed the rows";
            EXPECT_EQ(WinTable[n]->currentField, F) << key << " left the cell";
            EXPECT_EQ(EditText(n), text) << key;
        };
        Key(PlKey::Back);
        edited("Backspace", "1");
        Type("3");
        Key(PlKey::Left);
        Key(PlKey::Delete);
        edited("Delete", "1");
        Type("45");
        Key(PlKey::Left, true);
        Key(PlKey::Left, true);
        Key(PlKey::Delete, true);
        edited("Shift+Delete", "1");
        // Return moves on; into the next row's first cell it makes that
        // (empty) row, which a store drops again.
        Key(PlKey::Return);
        ASSERT_TRUE(WinIsOpen(n));
        const bool intoNextRow = WinMatrixRowCount(n) == rows + 1 && WinTable[n]->currentField >= CellField(n, rows, 0);
        EXPECT_TRUE(WinMatrixRowCount(n) == rows || intoNextRow)
            << "Return in a cell changed the rows: " << rows << " became " << WinMatrixRowCount(n);
        std::string digits;
        for (char ch : CellText(n, row, c))
            if (ch >= '0' && ch <= '9') digits += ch;
        // The row holds what was typed (unless the type's rules took a
        // value alone in its row back), not another row's value.
        EXPECT_TRUE(digits.empty() || (digits[0] == '1' && digits.find_first_not_of('0', 1) == std::string::npos))
            << "the row typed into shows \"" << CellText(n, row, c) << "\"";

        MacRect number;
        ASSERT_TRUE(PaintedRowNumber(n, row, &number)) << "no number painted for the row";
        ClickAt(n, (number.left + number.right) / 2, (number.top + number.bottom) / 2);
        EXPECT_TRUE(PaintedRowSelected(n, row)) << "a click on the row's number does not select it";
        // Delete takes that row (or crosses it out) where the type lets a
        // row go, and nothing else; where it keeps its rows, all stay and
        // the user is told why. Edit > Delete row is usable on the row
        // exactly where Delete does something to it.
        const int shown = WinMatrixRowCount(n);
        const int at = MenuFindCommand(MenuHandles.edit, CmdDeleteRow);
        const bool offered = at >= 0 && !(MenuItemFlags(MenuHandles.edit, at) & PlMenuFlag::Grayed);
        const size_t toldBefore = Shown().size();
        Key(PlKey::Delete);
        ASSERT_TRUE(WinIsOpen(n));
        const bool gone = WinMatrixRowCount(n) == shown - 1;
        const bool kept = WinMatrixRowCount(n) == shown && CellText(n, row, c).find('1') != std::string::npos;
        const bool crossed = kept && MatrixRowAttr(n, row) == 1;
        EXPECT_TRUE(gone || kept) << "Delete on the row selected: " << shown << " rows became "
                                  << WinMatrixRowCount(n);
        EXPECT_TRUE(gone || crossed || Shown().size() > toldBefore) << "Delete kept the row selected without a word";
        EXPECT_EQ(offered, gone || crossed) << "Edit > Delete row is " << (offered ? "usable" : "grey")
                                            << " on a row Delete " << (gone || crossed ? "takes" : "keeps");

        // Edit > Insert row, where it is usable in a cell of the first
        // row, inserts a row there or says why not; the caret stays in
        // the column, in the new row.
        if (!ClickCell(n, 0, c)) return;
        const int before = WinMatrixRowCount(n);
        const size_t told = Shown().size();
        if (MenuIfEnabled(MenuHandles.edit, CmdInsertRow)) {
            ASSERT_TRUE(WinIsOpen(n));
            EXPECT_TRUE(WinMatrixRowCount(n) == before + 1 || Shown().size() > told)
                << "Edit > Insert row is usable here but inserted nothing and said nothing";
            if (WinMatrixRowCount(n) == before + 1) {
                EXPECT_EQ(WinTable[n]->currentField, CellField(n, 0, c)) << "the caret left the column inserted at";
            }
            inserted.insert(type);
        }
    }
};

// In every window with rows that the reach list names, the keys typed
// into a row's cell edit that cell and lose or add no row; a row goes
// only when it is selected by its number.
TEST_F(RowKeysCheck, EveryRowWindowKeepsItsRowsUnderTheKeys)
{
    for (const auto &[type, name] : ReachList()) {
        uint8_t *def = WinTypeDef(type);
        if (def && WinDefPartCount(def, WinPartMatrixAreas) > 0) rowTypes[type] = name;
    }
    ASSERT_GT(rowTypes.size(), 10u);
    choose = false;
    visit = [this](int n) { RowKeys(n); };
    std::vector<int> modules = Choosable(MenuHandles.modulePopup);
    WalkModule("first module");
    for (int id : modules) {
        if (HasFatalFailure()) return;
        Menu(id);
        WalkModule("module " + std::to_string(id));
    }
    std::string unreached;
    for (const auto &[type, name] : rowTypes)
        if (!tried.count(type) && !untyped.count(type)) unreached += " " + std::to_string(type) + " (" + name + ")";
    EXPECT_TRUE(unreached.empty()) << "window types with rows not reached:" << unreached;
    std::string untypable;
    for (const auto &[type, name] : untyped) untypable += " " + std::to_string(type) + " (" + name + ")";
    EXPECT_TRUE(untypable.empty()) << "rows no cell of which takes digits:" << untypable;
    // Edit > Insert row is usable where the type takes a row (a sales
    // invoice), greyed where it takes none (a voucher).
    EXPECT_TRUE(inserted.count(WinTypes::SalesInvoice));
    EXPECT_FALSE(inserted.count(WinTypes::Voucher));
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
