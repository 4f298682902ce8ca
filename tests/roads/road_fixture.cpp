// road_fixture.cpp - the road tests' fixture: the program run whole by
// OrvelStart, its idle moments running the road's steps, the things a user
// finds by label, and what the user reads back.
#include "tests/roads/road_fixture.h"
#include "tests/roads/road_page_layout.h"

#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/record_buffer.h"
#include "core/field_types.h"
#include "core/interface_load.h"
#include "core/language_file.h"
#include "core/memblock.h"
#include "core/message_sink.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/window_entries.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/settings_binding.h"
#include "database/engine/engine.h"
#include "dict_offsets.h"
#include "features/program_start.h"
#include "platform/control.h"
#include "platform/display.h"
#include "platform/mdi.h"
#include "platform/menu.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "platform/window.h"
#include "recordwin/record_windows.h"
#include "shell/database_open.h"
#include "shell/draw_port.h"
#include "shell/frame_commands.h"
#include "shell/procedures.h"
#include "shell/shell.h"
#include "shell/toolbar.h"
#include "shell/window_drawing.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "tests/shell/record_test_helpers.h"

namespace fs = std::filesystem;

namespace {

// The report list and the preview, the windows every report road passes.
constexpr int ReportListType = 6, PreviewType = 5;

RoadTest *Current = nullptr;   // the road being run; one at a time

bool IdleHook() { return Current ? Current->Idle() : false; }

// A failure of the step, with its reason; ends the road.
bool Fail(const std::string &why)
{
    ADD_FAILURE() << why;
    return false;
}

// A menu text without its "&" marks and without the key text after a tab.
std::string PlainLabel(std::string text)
{
    size_t tab = text.find('\t');
    if (tab != std::string::npos) text.resize(tab);
    text.erase(std::remove(text.begin(), text.end(), '&'), text.end());
    return text;
}

// Whether `text` holds `part`, letters compared without regard to case.
bool Holds(const std::string &text, const std::string &part)
{
    auto lower = [](std::string s) {
        for (char &c : s) c = char(std::tolower(uint8_t(c)));
        return s;
    };
    return lower(text).find(lower(part)) != std::string::npos;
}

std::string PText(const uint8_t *p) { return std::string(reinterpret_cast<const char *>(p) + 1, p[0]); }

// The left button pressed and released at a screen point, the pointer
// moved there first.
void ClickScreen(PlPoint p)
{
    MsgInputMouse(p, 0, false);
    MsgInputMouse(p, 1, true);
    MsgInputMouse(p, 1, false);
}

// A click in the middle of rectangle r of window n's client area.
void ClickIn(int n, const MacRect &r)
{
    PlPoint p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClickScreen(WinClientToScreen(WinTable[n]->mdiChild, p));
}

// Index of data-field entry `label` (the nth) of window n; -1 none.
int FieldIndex(int n, const std::string &label, int nth)
{
    for (int i = 0; i < WinDefCount(n, WinPartDataFields); i++) {
        const uint8_t *e = WinDefEntry(n, WinPartDataFields, i);
        if (e && PText(e + FieldEntry::Label) == label && nth-- == 0) return i;
    }
    return -1;
}

// The labels of window n's entries of a part whose label is at `at`.
std::string LabelsOf(int n, int part, int at)
{
    std::string all;
    for (int i = 0; i < WinDefCount(n, part); i++) {
        const uint8_t *e = WinDefEntry(n, part, i);
        if (e && e[at]) all += " \"" + PText(e + at) + "\"";
    }
    return all;
}

}  // namespace

void RoadTest::SetUp()
{
    std::string error;
    ASSERT_TRUE(DisplayOpen(PlDisplayKind::Headless, &error)) << error;
    WinTableInit();
    WinResetAll();
    ScriptReset();
    MsgClear();
    // The test program lies in <build>/tests; the files main finds beside
    // itself lie in <build>.
    build = fs::read_symlink("/proc/self/exe").parent_path().parent_path();
    ASSERT_TRUE(fs::exists(build / "QVENG.WIN")) << build;
    ASSERT_TRUE(fs::exists(build / "DEFAULT.TXT")) << build;
    dir = fs::path(::testing::TempDir()) / ("orvel_road_" + std::to_string(getpid()) + "_" +
                                           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::current_path(dir);
    // The working folder first, then the program's own folder, as main's probe.
    LangFileSetDirectories({"", build.string()});
    Current = this;
    MsgSetIdleHook(IdleHook);
}

void RoadTest::TearDown()
{
    MsgSetIdleHook(nullptr);
    Current = nullptr;
    if (D4IsOpen()) CloseForCheck();
    WinTableInit();
    WinResetAll();
    MsgClear();
    ScriptReset();
    MessageSinkSet(nullptr);
    InterfaceUnload();
    LangFileSetDirectories({});
    fs::current_path(build);
    if (!HasFailure()) fs::remove_all(dir);   // a failed road's folder is kept to look at
}

// ---- the road ----------------------------------------------------------

void RoadTest::Do(const std::string &what, std::function<bool()> act) { steps.push_back({what, std::move(act)}); }

// Runs the steps due at an idle moment: every step up to the first that
// gave the program input. At the road's end the program is left by File
// > Exit, then by the quit request itself should Exit not end it.
bool RoadTest::Idle()
{
    if (++idleCalls > 200000) {   // a program that never comes to rest
        MsgPostQuit(0);
        return true;
    }
    while (!stopped && next < steps.size()) {
        size_t i = next++;
        int before = MsgPendingCount();
        bool ok = steps[i].act();
        if (!ok || HasFatalFailure()) {
            ADD_FAILURE() << "the road stopped at step " << i + 1 << ": " << steps[i].what;
            stopped = true;
            break;
        }
        if (MsgPendingCount() > before) return true;
    }
    if (endIdles++ == 0 && FrameWindow && WinIsWindow(FrameWindow)) {
        MsgPost(FrameWindow, PlMsg::Command, FrameCmd::FileExit, 0);
        return true;
    }
    MsgPostQuit(0);
    return true;
}

int RoadTest::Run(const std::string &commandLine)
{
    StartOptions o;
    o.commandLine = commandLine;
    o.show = PlShow::Normal;
    o.instanceName = "orvel-road-" + std::to_string(getpid());
    next = 0;
    stopped = false;
    endIdles = 0;
    int code = OrvelStart(o);
    if (!stopped && next < steps.size())
        ADD_FAILURE() << "the program ended before step " << next + 1 << ": " << steps[next].what;
    return code;
}

std::string RoadTest::StartNewCompany(const std::string &name)
{
    std::string company = (dir / name).string();
    ScriptAnswerFile(company);   // asked before the first idle moment
    LogInAsAdmin();
    return company;
}

void RoadTest::LogInAsAdmin()
{
    Check("the login window asks", [] {
        if (ActiveType() != 15) return Fail("no login window; active: \"" + ActiveTitle() + "\"");
        return true;
    });
    ClickField("User code");
    Type("ADMIN");
    ClickField("Password");
    Type("orvel");
    ClickOk();
    Check("logged in", [] {
        if (!LoggedInFlag) return Fail("the login was refused: " + ::testing::PrintToString(Messages()));
        return true;
    });
}

void RoadTest::Key(uint32_t vkey, bool shift, bool ctrl)
{
    Do("key " + std::to_string(vkey), [=] {
        ScriptKey(vkey, shift, ctrl);
        return true;
    });
}

void RoadTest::Type(const std::string &text)
{
    Do("type \"" + text + "\"", [=] {
        ScriptText(text);
        return true;
    });
}

void RoadTest::Type(const std::string &what, std::function<std::string()> text)
{
    Do("type " + what, [text = std::move(text)] {
        ScriptText(text());
        return true;
    });
}

void RoadTest::FindRow(const std::string &what, std::shared_ptr<std::string> key)
{
    ClickField("Find");
    Type(what, [key = std::move(key)] { return *key; });
    Key(PlKey::Return);
}

bool RoadTest::MenuItemOnScreen(uint32_t menu, int position)
{
    PlRect r = MenuOpenItemRect(menu, position);
    PlRect desk = WinDesktopRect(), frame = FrameWindow ? WinScreenRect(FrameWindow) : desk;
    return !PlRectEmpty(r) && r.left >= std::max(desk.left, frame.left) && r.top >= std::max(desk.top, frame.top) &&
           r.right <= std::min(desk.right, frame.right) && r.bottom <= std::min(desk.bottom, frame.bottom);
}

bool RoadTest::MenuItemGreyed(const std::string &bar, const std::string &item)
{
    uint32_t menu = FrameWindow ? WinMenu(FrameWindow) : 0;
    for (int i = 0; i < MenuItemCount(menu); i++) {
        if (PlainLabel(MenuItemText(menu, i)) != bar) continue;
        uint32_t sub = MenuSubMenu(menu, i);
        for (int j = 0; j < MenuItemCount(sub); j++)
            if (PlainLabel(MenuItemText(sub, j)) == item)
                return (MenuItemFlags(sub, j) & (PlMenuFlag::Grayed | PlMenuFlag::Disabled)) != 0;
    }
    ADD_FAILURE() << "the menu bar has no " << bar << " > " << item;
    return false;
}

void RoadTest::Menu(const std::string &bar, const std::string &item)
{
    auto sub = std::make_shared<uint32_t>(0);
    Do("menu " + bar, [=] {
        uint32_t menu = FrameWindow ? WinMenu(FrameWindow) : 0;
        std::string have;
        for (int i = 0; i < MenuItemCount(menu); i++) {
            std::string label = PlainLabel(MenuItemText(menu, i));
            have += " \"" + label + "\"";
            if (label != bar) continue;
            if (MenuItemFlags(menu, i) & PlMenuFlag::Grayed) return Fail("the menu " + bar + " is grey");
            *sub = MenuSubMenu(menu, i);
            PlRect r = MenuBarItemRect(FrameWindow, i);
            ClickScreen(PlPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
            return true;
        }
        return Fail("the menu bar has no " + bar + "; it has" + have);
    });
    Do("menu " + bar + " > " + item, [=] {
        std::string have;
        for (int i = 0; i < MenuItemCount(*sub); i++) {
            std::string label = PlainLabel(MenuItemText(*sub, i));
            have += " \"" + label + "\"";
            if (label != item) continue;
            if (MenuItemFlags(*sub, i) & (PlMenuFlag::Grayed | PlMenuFlag::Disabled))
                return Fail(bar + " > " + item + " is grey");
            PlRect r = MenuOpenItemRect(*sub, i);
            if (PlRectEmpty(r)) return Fail("the menu " + bar + " did not open");
            if (!MenuItemOnScreen(*sub, i))
                return Fail(bar + " > " + item + " lies off the screen, where no click reaches it");
            ClickScreen(PlPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2});
            return true;
        }
        return Fail("the menu " + bar + " has no " + item + "; it has" + have);
    });
}

void RoadTest::ClickField(const std::string &label, int nth)
{
    Do("click the field " + label, [=] {
        int n = Active();
        if (!n) return Fail("no window is active");
        int i = FieldIndex(n, label, nth);
        if (i < 0)
            return Fail("the window \"" + ActiveTitle() + "\" has no field " + label + "; it has" +
                        LabelsOf(n, WinPartDataFields, FieldEntry::Label));
        const uint8_t *e = WinDefEntry(n, WinPartDataFields, i);
        if (!WinPageShown(n, DefU16(e + FieldEntry::Page))) return Fail("the field " + label + " is on a hidden page");
        MacRect r;
        WinBindingRect(n, e, &r);
        ClickIn(n, MacRect{r.top, int16_t(r.left + 2), r.bottom, int16_t(r.left + 6)});
        return true;
    });
}

void RoadTest::ClickButton(const std::string &label)
{
    Do("click " + label, [=] {
        int n = Active();
        if (n) {
            for (int i = 0; i < WinDefCount(n, WinPartControls); i++) {
                const uint8_t *e = WinDefEntry(n, WinPartControls, i);
                if (!e || PText(e + ControlEntry::Label) != label) continue;
                if (!WinPageShown(n, DefU16(e + ControlEntry::Page))) continue;
                MacRect r;
                WinFieldRect(n, i, &r);
                ClickIn(n, r);
                return true;
            }
        }
        for (uint32_t b : TopBarButtons) {
            if (!b || PlainLabel(WinTitle(b)) != label) continue;
            if (!WinIsEnabled(b)) return Fail("the top bar's " + label + " is grey");
            PlRect r = WinClientRect(b);
            ClickScreen(WinClientToScreen(b, PlPoint{r.right / 2, r.bottom / 2}));
            return true;
        }
        uint8_t *bar = WinTypeDef(1);
        for (int i = 0; bar && i < WinDefPartCount(bar, WinPartIconButtons); i++) {
            uint16_t size;
            const uint8_t *e = WinDefPartEntry(bar, WinPartIconButtons, i, &size);
            MacRect r;
            if (!e || PText(e + IconEntry::Label) != label || !BottomBarEntryRect(i, &r)) continue;
            ClickScreen(WinClientToScreen(BottomBarWindow, PlPoint{(r.left + r.right) / 2, (r.top + r.bottom) / 2}));
            return true;
        }
        return Fail("no button " + label + (n ? " in \"" + ActiveTitle() + "\"; it has" +
                                                     LabelsOf(n, WinPartControls, ControlEntry::Label)
                                               : std::string(" and no window is active")));
    });
}

void RoadTest::ChooseTextExport(const std::string &row, const std::filesystem::path &file, bool atEnd)
{
    static constexpr int FunctionList = 7;
    Menu("File", "Maintenance...");
    Check("the function list opens", [] {
        EXPECT_EQ(ActiveType(), FunctionList) << ActiveTitle();
        return ActiveType() == FunctionList;
    });
    ClickButton("Exports");
    ClickButton("Text file");
    Key(atEnd ? PlKey::End : PlKey::Home);
    ClickRow(row);
    AnswerFile(file.string());
    Key(PlKey::Return);
}

void RoadTest::RunRoutine(const std::string &title, int type,
                          std::vector<std::pair<std::string, std::function<std::string()>>> fields,
                          const char *shot, const std::string &says)
{
    OpenMaintenanceRun(title, type);
    for (auto &[label, text] : fields) {
        ClickField(label);
        Type(label, std::move(text));
    }
    const std::string picture = shot;
    Do("keep a picture of the selection window", [this, picture] {
        const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
        EXPECT_TRUE(!shots || SaveWindowPng(std::filesystem::path(shots) / picture, true));
        return true;
    });
    // What was told before (on purpose, by an earlier step) is not the
    // routine's.
    auto told = CountTold();
    ClickButton("OK");
    Check("the routine ran without a message box and said what it did", [told, says] {
        EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
        EXPECT_EQ(StatusLineText().rfind(says, 0), 0u) << StatusLineText();
        return Messages().size() == *told && StatusLineText().rfind(says, 0) == 0;
    });
}

void RoadTest::ImportTextFile(const std::filesystem::path &file)
{
    static constexpr int FunctionList = 7;
    Menu("File", "Maintenance...");
    Check("the function list opens", [] {
        EXPECT_EQ(ActiveType(), FunctionList) << ActiveTitle();
        return ActiveType() == FunctionList;
    });
    ClickButton("Imports");
    ClickButton("Text file");
    ClickRow("");   // its first row: the text import
    AnswerFile(file.string());
    Key(PlKey::Return);
    Check("the import ran", [] {
        EXPECT_FALSE(Told("not imported")) << ::testing::PrintToString(Messages());
        EXPECT_FALSE(Told("were not read")) << ::testing::PrintToString(Messages());
        return !Told("not imported") && !Told("were not read");
    });
    Menu("Window", "Close all");
}

void RoadTest::ClickRow(const std::string &text)
{
    // A row out of the list's sight is brought into it as a user does:
    // the arrow keys from the row chosen (a click on the first row in
    // sight when the list has no focus or no row chosen).
    Do("bring the row " + text + " into sight", [=] {
        int n = Active();
        uint32_t list = n ? WinListBox(n) : 0;
        if (!list) return true;   // told by the click
        for (int i = 0; i < ListBoxCount(list); i++) {
            if (!Holds(ListBoxText(list, i), text)) continue;
            int top = ListBoxTopIndex(list), height = ListBoxRowHeight(list);
            if (height <= 0 || (i >= top && (i - top + 1) * height <= WinClientRect(list).bottom)) return true;
            int from = ListBoxCurSel(list);
            if (WinFocus() != list || from < 0) {
                ClickScreen(WinClientToScreen(list, PlPoint{10, height / 2}));
                from = top;
            }
            for (int k = from; k < i; k++) ScriptKey(PlKey::Down, false, false);
            for (int k = i; k < from; k++) ScriptKey(PlKey::Up, false, false);
            return true;
        }
        return true;
    });
    Do("click the row " + text, [=] {
        int n = Active();
        uint32_t list = n ? WinListBox(n) : 0;
        if (!list) return Fail("the active window \"" + ActiveTitle() + "\" has no list");
        std::string have;
        for (int i = 0; i < ListBoxCount(list); i++) {
            std::string row = ListBoxText(list, i);
            have += " \"" + row + "\"";
            if (!Holds(row, text)) continue;
            int at = i - ListBoxTopIndex(list);
            PlRect c = WinClientRect(list);
            int y = at * ListBoxRowHeight(list) + ListBoxRowHeight(list) / 2;
            if (at < 0 || y >= c.bottom) return Fail("the row " + text + " is scrolled out of sight");
            // A row the arrow keys brought is chosen already; a second
            // click on the spot of the first would be a double click.
            if (ListBoxCurSel(list) != i) ClickScreen(WinClientToScreen(list, PlPoint{10, y}));
            return true;
        }
        return Fail("\"" + ActiveTitle() + "\" has no row " + text + "; it has" + have);
    });
}

void RoadTest::ClickCell(int row, int column)
{
    Do("click the cell " + std::to_string(row) + "," + std::to_string(column), [=] {
        int n = Active();
        if (!n || !WinHasMatrix(n)) return Fail("the active window has no rows");
        int slot = MatrixSlotOf(n);
        int top = slot >= 0 ? WinTable[n]->controls[slot].position : 0;
        MacRect r;
        // The cell among the columns of the row's kind on the page shown.
        if (!MatrixCellRect(n, MatrixRowKind(n, row), &r, row - top, column))
            return Fail("the rows have no cell " + std::to_string(column));
        ClickIn(n, r);
        return true;
    });
}

void RoadTest::ClickRowNumber(int row)
{
    Do("click the number of row " + std::to_string(row), [=] {
        int n = Active();
        if (!n || !WinHasMatrix(n)) return Fail("the active window has no rows");
        MacRect number;
        if (!PaintedRowNumber(n, row, &number)) return Fail("no number is painted for row " + std::to_string(row));
        ClickIn(n, number);
        return true;
    });
}

void RoadTest::AnswerBox(int result)
{
    Do("answer a message box " + std::to_string(result), [=] {
        ScriptAnswerMessageBox(result);
        return true;
    });
}

void RoadTest::AnswerFile(const std::string &path)
{
    Do("answer a file dialog " + path, [=] {
        ScriptAnswerFile(path);
        return true;
    });
}

void RoadTest::AnswerPrint(bool ok, int copies)
{
    Do("answer the print dialog", [=] {
        PlPrintChoice c;
        c.copies = copies;
        ScriptAnswerPrint(ok, c);
        return true;
    });
}

// ---- reading ---------------------------------------------------------------

int RoadTest::Active()
{
    if (!MdiClientWindow) return 0;
    uint32_t child = MdiGetActive(MdiClientWindow, nullptr);
    return child ? WindowNumberOf(child) : 0;
}

int RoadTest::ActiveType()
{
    int n = Active();
    return n ? WinTypeOf(n) : 0;
}

std::string RoadTest::ActiveTitle()
{
    int n = Active();
    return n ? WinTitle(WinTable[n]->mdiChild) : std::string();
}

bool RoadTest::TitleTells(const std::string &text) { return Holds(ActiveTitle(), text); }

// The text data field entry i of window n shows: the edit control's
// text while it is being edited.
static std::string FieldShown(int n, int i)
{
    if (WinTable[n]->currentField == i + 1 && WinTable[n]->editControl) return EditGetText(WinTable[n]->editControl);
    const uint8_t *e = WinDefEntry(n, WinPartDataFields, i);
    uint8_t text[256];
    // A field of type 28 shows the text its window supplies, as painted.
    if (DefU16(e + FieldEntry::Type) == FtSpare28) {
        WinFieldDisplayText(n, i + 1, text);
        return PText(text);
    }
    FieldFormat(WinRecordBuffer(n) + DefU32(e + FieldEntry::Offset), DefU16(e + FieldEntry::Type),
                DefU16(e + FieldEntry::Format), text);
    return PText(text);
}

std::string RoadTest::Shown(const std::string &label, int nth, bool *found)
{
    int n = Active();
    int i = n ? FieldIndex(n, label, nth) : -1;
    if (found) *found = i >= 0;
    if (i < 0) return {};
    return FieldShown(n, i);
}

std::string RoadTest::ShownBeside(const std::string &label)
{
    const std::string none = "(nothing beside)";
    int n = Active();
    int i = n ? FieldIndex(n, label, 0) : -1;
    if (i < 0) return none;
    const uint8_t *e = WinDefEntry(n, WinPartDataFields, i);
    MacRect at;
    WinBindingRect(n, e, &at);
    int nearest = -1, gap = 0;
    for (int j = 0; j < WinDefCount(n, WinPartDataFields); j++) {
        const uint8_t *f = WinDefEntry(n, WinPartDataFields, j);
        if (j == i || DefU16(f + FieldEntry::Page) != DefU16(e + FieldEntry::Page)) continue;
        MacRect r;
        WinBindingRect(n, f, &r);
        if (r.top != at.top || r.left < at.right) continue;
        if (nearest < 0 || r.left - at.right < gap) nearest = j, gap = r.left - at.right;
    }
    return nearest < 0 ? none : FieldShown(n, nearest);
}

std::string RoadTest::CellUnder(const std::string &heading, int row)
{
    const std::string none = "(no such cell)";
    int n = Active();
    if (!n || row < 0 || row >= WinMatrixRowCount(n)) return none;
    int rowSize = 0, kindAt = 0;
    MatrixColumnInfo(n, 0, &rowSize, &kindAt);
    int kind = MatrixRowKind(n, row);
    for (int c = 0; c < MatrixCellCount(n, kind); c++) {
        const uint8_t *col = MatrixColumnAt(n, kind, c);
        PString title;
        GetUiText(title, DefU16(col + ColumnEntry::Heading));
        if (PText(title) != heading) continue;
        uint16_t type = DefU16(col + ColumnEntry::Type), format = DefU16(col + ColumnEntry::Format);
        uint8_t text[256];
        // The cell under edit shows its edit control's text.
        int first = 0, cells = 0, editRow = -1, editColumn = -1;
        MatrixGeometry(n, &first, &cells);
        if (WinTable[n]->editControl && WinTable[n]->currentField >= first) {
            MatrixRowAt(n, WinTable[n]->currentField, &editRow, &editColumn);
            if (editRow == row && editColumn == c) return EditGetText(WinTable[n]->editControl);
        }
        // A cell of type 28 shows the text its window supplies, as painted.
        if (type == FtSpare28) {
            MatrixCellDisplayText(n, first + row * cells + c, text);
            return PText(text);
        }
        uint32_t at = DefU32(col + ColumnEntry::Offset);
        if (at + uint32_t(FieldSize(type, format)) > uint32_t(rowSize)) return none;
        MemBlock rows = WinMatrixRows(n);
        const uint8_t *p = MemLock(rows);
        if (!p) return none;
        FieldFormat(p + size_t(row) * size_t(rowSize) + at, type, format, text);
        MemUnlock(rows);
        return PText(text);
    }
    return none;
}

bool RoadTest::CellShownWhole(const std::string &heading, int row)
{
    int n = Active();
    if (!n || row < 0 || row >= WinMatrixRowCount(n)) return false;
    const int kind = MatrixRowKind(n, row), slot = MatrixSlotOf(n);
    const int top = slot >= 0 ? WinTable[n]->controls[slot].position : 0;
    for (int c = 0; c < MatrixCellCount(n, kind); c++) {
        PString title;
        GetUiText(title, DefU16(MatrixColumnAt(n, kind, c) + ColumnEntry::Heading));
        MacRect r;
        if (PText(title) != heading || !MatrixCellRect(n, kind, &r, row - top, c)) continue;
        PString text;
        PStringFromC(text, CellUnder(heading, row).c_str());
        // Measured in the face the cell is drawn in, against the room the
        // drawing leaves (field_draw.cpp).
        PortScope port(n);
        SetTextStyle(n, 0, false);
        return PStringWidth(text) <= r.right - r.left - 1;
    }
    return false;
}

std::string RoadTest::VerticalRuleThroughText()
{
    int n = Active();
    if (!n) return "";
    WinPaintFrame(n);
    WinPaintContents(n);
    const uint32_t child = WinTable[n]->mdiChild;
    const MacRect c = WinTable[n]->contentRect;
    auto dark = [child](int x, int y) {
        const uint32_t p = WinClientPixel(child, x, y);
        return ((p >> 16 & 0xFF) + (p >> 8 & 0xFF) + (p & 0xFF)) < 3 * 128;
    };
    const int height = c.bottom - 3 - c.top;
    for (int x = c.left + 1; height > 20 && x < c.right - 1; x++) {
        int rule = 0;
        for (int y = c.top; y < c.bottom - 3; y++) rule += dark(x, y);
        if (rule * 10 < height * 8) continue;
        // A rule drawn over a text inverts the text's pixels on it: the
        // rule breaks where the text's strokes stand beside it. A
        // horizontal line it crosses runs on far to both sides; a glyph's
        // stroke does not.
        int beside = 0;
        for (int y = c.top; y < c.bottom - 3; y++) {
            const bool line = dark(x - 3, y) && dark(x - 6, y) && dark(x + 3, y) && dark(x + 6, y);
            const bool near = dark(x - 1, y) || dark(x + 1, y) || dark(x - 2, y) || dark(x + 2, y);
            beside += !dark(x, y) && near && !line;
        }
        if (beside > 3) return "the vertical rule at x " + std::to_string(x) + " runs through " + std::to_string(beside) +
                               " pixels of text";
    }
    return "";
}

std::string RoadTest::EditCoversLabel()
{
    int n = Active();
    if (!n || !WinTable[n]->editControl) return {};
    const MacRect edit = WinTable[n]->editRect;
    for (int i = 0; const uint8_t *e = WinDefEntry(n, WinPartDataFields, i); i++) {
        const uint8_t *label = e + FieldEntry::Label;
        if (!label[0] || !WinPageShown(n, DefU16(e + FieldEntry::Page))) continue;
        MacRect r;
        WinBindingRect(n, e, &r);
        int width = 0;
        {
            PortScope port(n);
            UseRegularFont(n);
            width = PStringWidth(label);
        }
        // The label ends six pixels left of its field.
        const int right = r.left - 6, left = right - width;
        if (edit.left < right && left < edit.right && edit.top < r.bottom && r.top < edit.bottom) return PText(label);
    }
    return {};
}

std::string RoadTest::FocusLabel()
{
    int n = Active();
    if (!n || WinTable[n]->currentField <= 0) return {};
    int F = WinTable[n]->currentField;
    if (F > WinDefCount(n, WinPartDataFields)) return "cell";
    return PText(WinDefEntry(n, WinPartDataFields, F - 1) + FieldEntry::Label);
}

std::vector<std::string> RoadTest::ListRows()
{
    std::vector<std::string> rows;
    int n = Active();
    uint32_t list = n ? WinListBox(n) : 0;
    for (int i = 0; list && i < ListBoxCount(list); i++) rows.push_back(ListBoxText(list, i));
    return rows;
}

std::string RoadTest::CompanyShown() { return CompanyNameShown(); }

std::vector<std::string> RoadTest::Messages()
{
    std::vector<std::string> texts;
    for (const PlScriptRecord &r : ScriptRecords())
        if (r.kind == "message") texts.push_back(r.text);
    return texts;
}

bool RoadTest::Told(const std::string &text)
{
    for (const std::string &m : Messages())
        if (m.find(text) != std::string::npos) return true;
    return false;
}

std::vector<fs::path> RoadTest::FilesIn(const std::string &sub) const
{
    std::vector<fs::path> files;
    std::error_code ec;
    for (const fs::directory_entry &e : fs::directory_iterator(dir / sub, ec))
        if (e.is_regular_file()) files.push_back(e.path());
    std::sort(files.begin(), files.end());
    return files;
}

std::vector<fs::path> RoadTest::NewFilesIn(const std::string &sub, const std::vector<fs::path> &before) const
{
    std::vector<fs::path> added;
    for (const fs::path &f : FilesIn(sub))
        if (std::find(before.begin(), before.end(), f) == before.end()) added.push_back(f);
    return added;
}

fs::path RoadTest::FileHolding(const std::vector<fs::path> &pdfs, const std::string &text)
{
    fs::path found;
    for (const fs::path &pdf : pdfs) {
        if (PdfText(pdf).find(text) == std::string::npos) continue;
        EXPECT_TRUE(found.empty()) << "both " << found << " and " << pdf << " hold \"" << text << "\"";
        found = pdf;
    }
    EXPECT_FALSE(found.empty()) << "no PDF of " << pdfs.size() << " holds \"" << text << "\"";
    return found;
}

std::string RoadTest::PdfText(const fs::path &pdf)
{
    std::string out;
    FILE *p = popen(("pdftotext -layout '" + pdf.string() + "' - 2>/dev/null").c_str(), "r");
    if (!p) {
        ADD_FAILURE() << "pdftotext cannot run";
        return out;
    }
    char buf[4096];
    for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    EXPECT_EQ(pclose(p), 0) << "pdftotext (poppler-utils) failed on " << pdf;
    // What a road reads of a printed page it also looks at: nothing on
    // the page overlaps or runs into its neighbour. With pictures kept,
    // the page is kept beside them to be looked at.
    ExpectPagesLaidOut(pdf);
    if (const char *shots = std::getenv("ORVEL_ROAD_SHOTS")) {
        std::error_code ec;
        fs::copy_file(pdf, fs::path(shots) / pdf.filename(), fs::copy_options::overwrite_existing, ec);
    }
    return out;
}

bool RoadTest::SaveWindowPng(const fs::path &png, bool frame)
{
    int n = Active();
    uint32_t win = frame || !n ? FrameWindow : WinTable[n]->mdiChild;
    return win && WinSavePng(win, png.string());
}

// ---- the company file after the run ---------------------------------------

bool RoadTest::OpenForCheck(const std::string &company)
{
    if (!AllocWorkBlocks() || !DbLayerInit() || !SettingsStartup()) return false;
    if (D4Open(company.c_str(), 0) != D4OpenOk) return false;
    PString name;
    PStringFromC(name, company.c_str());
    if (!DbAfterOpen(0, name)) return false;
    DbOpenFlag = 1;
    return true;
}

void RoadTest::CloseForCheck()
{
    DbClose();
    if (D4IsOpen()) D4Close();
}

bool RoadTest::FindByCode(int reg, uint32_t offset, int m, const std::string &code, std::vector<uint8_t> *record)
{
    uint32_t size = RegRecordSize(reg);
    record->assign(size, 0);
    PString key;
    PStringFromC(key, code.c_str());
    PutPString(record->data(), offset, m, key);
    uint32_t id = 0, position = 0;
    return RecFind(reg, record->data(), 1, 1, &id, &position) && TextAt(record->data(), offset) == code;
}

std::string RoadTest::TextAt(const uint8_t *record, uint32_t offset) { return PText(record + offset); }

double RoadTest::AmountAt(const uint8_t *record, uint32_t offset)
{
    PackedDecimal d = GetDec(record, offset);
    return DecIsBlank(&d) ? 0 : DecToDouble(&d);
}

void RoadTest::ExpectOnePaymentPaidOut(double total)
{
    EXPECT_EQ(RegRecordCount(APVc::Number), 0u) << "the vendor's open item is closed";
    ASSERT_EQ(RegRecordCount(OPVc::Number), 1u);
    std::vector<uint8_t> paid(OPVc::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(OPVc::Number, 1, paid.data(), &id));
    EXPECT_EQ(GetU16(paid.data(), OPVc::Approved), 1);
    EXPECT_EQ(GetU16(paid.data(), OPVc::Posted), 1);
    EXPECT_EQ(GetU16(paid.data(), OPVc::Sent), 1);
    PackedDecimal sum = GetDec(paid.data(), OPVc::RowsTotal);
    EXPECT_NEAR(DecIsBlank(&sum) ? 0 : DecToDouble(&sum), total, 0.005);
    RecFreeMatrix(OPVc::Number, paid.data());
}

std::map<std::string, double> RoadTest::VoucherSums(uint32_t *vouchers)
{
    std::map<std::string, double> sums;
    std::vector<uint8_t> voucher(TRVc::Size), row(TRVc::Rows::Size);
    uint32_t id = 0;
    *vouchers = 0;
    for (int32_t p = 1; RecReadAt(TRVc::Number, p, voucher.data(), &id); p++) {
        ++*vouchers;
        double balance = 0;
        for (int32_t i = 0; i < MatrixRowCount(TRVc::Number, 0, voucher.data()); i++) {
            if (!MatrixRowRead(TRVc::Number, voucher.data(), i, row.data())) break;
            if (GetU16(row.data(), TRVc::Rows::Kind) != 1) continue;
            PackedDecimal d = GetDec(row.data(), TRVc::Rows::Amount);
            const double amount = DecIsBlank(&d) ? 0 : DecToDouble(&d);
            sums[TextAt(row.data(), TRVc::Rows::Account)] += amount;
            balance += amount;
        }
        RecFreeMatrix(TRVc::Number, voucher.data());
        EXPECT_NEAR(balance, 0, 0.005) << "voucher " << GetU32(voucher.data(), TRVc::SerNr);
    }
    return sums;
}

RoadTest::StoredRecord RoadTest::OnlyRecord(int reg)
{
    StoredRecord stored;
    std::vector<uint8_t> head(RegRecordSize(reg));
    uint32_t id = 0;
    if (RegRecordCount(reg) != 1 || !RecReadAt(reg, 1, head.data(), &id)) return stored;
    int32_t count = MatrixRowCount(reg, 0, head.data());
    for (int32_t i = 0; i < count; i++) {
        std::vector<uint8_t> row(RecRowSize(reg));
        if (!MatrixRowRead(reg, head.data(), i, row.data())) break;
        stored.rows.push_back(row);
    }
    RecFreeMatrix(reg, head.data());
    stored.head = head;
    return stored;
}

RoadTest::StoredInvoice RoadTest::OnlyInvoice() { return OnlyRecord(IVVc::Number); }

std::vector<uint8_t> RoadTest::StoredRows(int block)
{
    std::vector<uint8_t> bytes;
    MemBlock rows = 0;
    if (!SettingsBlockFetch(&rows, block) || !MemIsValid(rows)) return bytes;
    const uint8_t *p = MemLock(rows);
    bytes.assign(p, p + MemSize(rows));
    MemUnlock(rows);
    MemFree(&rows);
    return bytes;
}

std::function<bool()> RoadTest::Opened(int type)
{
    return [type] {
        EXPECT_EQ(ActiveType(), type) << ActiveTitle() << " told " << ::testing::PrintToString(Messages());
        return ActiveType() == type;
    };
}

void RoadTest::ReportWindowOpens(const std::string &report, int sel)
{
    Key('R', false, true);
    Check("Ctrl+R opens the report list", Opened(ReportListType));
    ClickRow(report);
    Key(PlKey::Return);
    Check(report + "'s selection window opens", Opened(sel));
    Menu("Window", "Close all");
}

std::shared_ptr<std::string> RoadTest::ReportToPreviewAndPdf(const std::string &report, int sel,
                                                             std::function<void()> select, const std::string &shot,
                                                             std::function<void()> inPreview)
{
    namespace fs = std::filesystem;
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    auto chooseReport = [this, report] {
        Key('R', false, true);
        Check("Ctrl+R opens the report list", Opened(ReportListType));
        ClickRow(report);
    };
    chooseReport();
    Key(PlKey::Return);
    Check(report + "'s selection window opens", Opened(sel));
    select();
    Do("keep a picture of the selection", [this, shots, shot] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / (shot + "_sel.png")));
        return true;
    });
    ClickButton("OK");
    Check(report + " shows in the preview", [this, shots, shot] {
        EXPECT_EQ(ActiveType(), PreviewType) << ActiveTitle() << " told " << ::testing::PrintToString(Messages());
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / (shot + "_preview.png")));
        return true;
    });
    if (inPreview) inPreview();
    Menu("Window", "Close all");
    auto before = std::make_shared<std::vector<fs::path>>();
    auto text = std::make_shared<std::string>();
    Do("note the PDFs", [this, before] {
        *before = FilesIn("print");
        return true;
    });
    chooseReport();
    AnswerPrint(true);
    Key('P', false, true);
    Check("the print selection opens", Opened(sel));
    select();
    ClickButton("OK");
    Check(report + " printed to a PDF", [this, before, text, shots, shot] {
        std::vector<fs::path> pdfs = NewFilesIn("print", *before);
        if (pdfs.size() != 1) {
            ADD_FAILURE() << pdfs.size() << " PDFs; told " << ::testing::PrintToString(Messages());
            return true;
        }
        if (shots) fs::copy_file(pdfs[0], fs::path(shots) / (shot + ".pdf"), fs::copy_options::overwrite_existing);
        *text = PdfText(pdfs[0]);
        return true;
    });
    return text;
}

std::shared_ptr<std::string> RoadTest::TypeOneRowDocument(const std::string &customer, int itemColumn,
                                                          const std::string &item, const std::string &qty)
{
    ClickField("Customer");
    Type(customer);
    Key(PlKey::Tab);
    ClickCell(0, itemColumn);
    Type(item);
    Key(PlKey::Tab);
    Type(qty);
    Key(PlKey::Tab);
    ClickOk();
    auto number = std::make_shared<std::string>();
    Check("OK stores the document", [number] {
        *number = Shown("Number");
        EXPECT_NE(*number, "") << ::testing::PrintToString(Messages());
        return !number->empty();
    });
    return number;
}
