// menu_list_runs.cpp - what the menu-list windows run: their OK and
// buttons, opening a parameter window with the list's parameters,
// and the reaction to a choice in a window.
//
// Every runner finds its entry through MenuListEntryOfRow, which counts
// rows the way the filler listed them.
#include "shell/menu_lists.h"

#include "core/field_access.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "output/output_job.h"
#include "shell/edit_control.h"
#include "shell/field_editing.h"
#include "shell/list_windows.h"
#include "shell/login.h"
#include "shell/menus.h"
#include "shell/page_setup.h"
#include "shell/record_commands.h"
#include "shell/report_commands.h"
#include "shell/window_events.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {
constexpr int ActionOpenParams = 1, ActionOpenSecond = 2, ActionPageSetup = 4;
constexpr int ButtonSecond = 1, ButtonPageSetup = 2;

// Texts: the report's or document's entry has no window to open.

// The words a parameter window's record gets from the list that
// opens it (the layout of the job record): word 5 and word 16 have no
// name of their own.
constexpr uint32_t SpecWord5 = 10, SpecWord16 = 32;
constexpr uint32_t ParamArgsSize = ReportParamsVc::Reopened + 2;   // words 0..22

// Word `offset` of n's record; 0 when the record does not reach it.
int ListWord(int n, uint32_t offset)
{
    const uint8_t *record = WinIsOpen(n) ? WinRecordBuffer(n) : nullptr;
    if (!record || offset + 2 > MemSize(WinTable[n]->recordHandle)) return 0;
    return GetU16(record, offset);
}

// The entry of n's selected row; null when no row is selected or the
// row stands for no entry.
const uint8_t *SelectedEntry(int n)
{
    const uint8_t *entry = nullptr;
    int row = ListSelectedIndex(n);
    if (row < 0 || MenuListEntryOfRow(n, row, &entry) < 0) return nullptr;
    return entry;
}

// Opens window type `type` anew for the entry; text `missing` when the
// entry names no window type the interface file defines.
void OpenSecondWindow(int n, int type, int missing)
{
    if (type == 0 || !WinDefExists(type)) {
        ShowTextMessage(missing);
        return;
    }
    OpenOrActivateWindow(type, 0, 0, true, n);
}

// Runs n's selected entry of the report or document list by the list's
// action: open the parameter window with the list's parameters,
// open the entry's second window, or its page set-up (kept under the
// parameter window's type). An entry without
// the window asked for is told with `missing`.
void ReportOrDocumentRun(int n, int missing)
{
    const uint8_t *entry = SelectedEntry(n);
    if (!entry) return;
    int spec = DefU16(entry + MenuTableEntry::WinType);
    switch (ListWord(n, MenuListRecord::Action)) {
    case ActionOpenParams:
        if (spec == 0 || !WinDefExists(spec)) {
            ShowTextMessage(missing);
            return;
        }
        // A saved selection opens its report with the title it was saved under.
        if (int m = OpenWindowWithArgs(n, spec, DefU16(entry + MenuTableEntry::Number))) ReportSelectionOpened(n, m);
        return;
    case ActionOpenSecond: OpenSecondWindow(n, DefU16(entry + MenuTableEntry::WinType2), missing); return;
    case ActionPageSetup: (void)PrintSetupDialog(0, spec); return;
    default: return;
    }
}

// Button 1 of the report or document list opens the selected entry's
// second window; button 2 its page set-up, kept under the window type its
// print job runs from (its parameter window). Nothing without a
// selection.
void ListButton(int n, int button, int missing)
{
    const uint8_t *entry = SelectedEntry(n);
    if (!entry) return;
    if (button == ButtonSecond) OpenSecondWindow(n, DefU16(entry + MenuTableEntry::WinType2), missing);
    if (button == ButtonPageSetup) (void)PrintSetupDialog(0, DefU16(entry + MenuTableEntry::WinType));
}

// Sets the device buttons (group 0) of a function list by its kind:
// exports write to devices 2, 5 and 8, imports read from 2 and 9, the
// maintenance runs use none.
void FunctionDevicesEnable(int n, int kind)
{
    constexpr int Group = MenuListRecord::Device;
    WinButtonsEnable(n, Group, 2,
                     kind == ListCode(FunctionListKind::Exports) || kind == ListCode(FunctionListKind::Imports));
    WinButtonsEnable(n, Group, 5, kind == ListCode(FunctionListKind::Exports));
    WinButtonsEnable(n, Group, 8, kind == ListCode(FunctionListKind::Exports));
    WinButtonsEnable(n, Group, 9, kind == ListCode(FunctionListKind::Imports));
}
}  // namespace

// The report list's OK: runs the selected report by the list's action.
void ReportListRun(int n) { ReportOrDocumentRun(n, Texts::NoReportWindow); }

// The document list's OK: runs the selected document by the list's action.
void DocumentListRun(int n) { ReportOrDocumentRun(n, Texts::NoDocumentWindow); }

// The module-function lists' OK, by list kind: an export opens its
// parameter window, or one without is run directly by the text
// export with the list's device and flag and its own number; an
// import runs the import command with the list's device; a maintenance
// function opens its parameter window.
void ModuleFunctionListRun(int n)
{
    const uint8_t *entry = SelectedEntry(n);
    if (!entry) return;
    int spec = DefU16(entry + MenuTableEntry::WinType);
    int number = DefU16(entry + MenuTableEntry::Number);
    switch (ListWord(n, MenuListRecord::Action)) {
    case ListCode(FunctionListKind::Exports):
        if (spec == 0) {
            OwnedJob own;
            PutU16(own.job.selection, ReportParamsVc::OutputKind, uint16_t(ListWord(n, MenuListRecord::Device)));
            PutU16(own.job.selection, ReportParamsVc::SetupDialog, uint16_t(ListWord(n, MenuListRecord::Flag)));
            PutU16(own.job.selection, ReportParamsVc::ReportNumber, uint16_t(number));
            (void)RunTextExport(own.job, number);
            return;
        }
        OpenWindowWithArgs(n, spec, number);
        return;
    case ListCode(FunctionListKind::Imports): ImportCommand(number, ListWord(n, MenuListRecord::Device)); return;
    case ListCode(FunctionListKind::Maintenance): OpenWindowWithArgs(n, spec, number); return;
    default: return;
    }
}

// The window list's OK: opens (or activates) the selected window type, a
// list with all its rows.
void WindowListRun(int n)
{
    const uint8_t *entry = SelectedEntry(n);
    if (entry) ListFilterClear(OpenOrActivateWindow(DefU16(entry + WindowListEntry::WinType), 0, 0, false, 0));
}

// The module list's OK, when the interface file has modules: the list
// closes and the module of the selected row becomes current.
void ModuleListRun(int n)
{
    // The job queue's type is defined when the interface file has modules.
    if (!WinDefExists(WinTypes::JobQueue) || !SelectedEntry(n)) return;
    int row = ListSelectedIndex(n);
    WinClose(n);
    ModuleMenuPick(row + 1, true);
}

// Button `button` of the report list: 1 opens the selected report's
// second window, 2 its page set-up.
void ReportListButton(int n, int button) { ListButton(n, button, Texts::NoReportWindow); }

// Button `button` of the document list, as the report list's.
void DocumentListButton(int n, int button) { ListButton(n, button, Texts::NoDocumentWindow); }

// Activates the window of `type`, or opens and prepares one, and hands
// it n's list parameters: device, flag and list kind of n's record, the
// entry's number, and the window type; then the type takes them (event
// 14), the window shows them and focuses its first field. The window's
// number; 0 for type 0 or when it could not open.
int OpenWindowWithArgs(int n, int type, int number)
{
    if (type == 0) return 0;
    int m = OpenOrActivateWindow(type, 0, 0, false, 0);
    if (!m) return 0;
    uint8_t *record = WinRecordBuffer(m);
    if (record && MemSize(WinTable[m]->recordHandle) >= ParamArgsSize) {
        PutU16(record, ReportParamsVc::Reopened, 0);
        PutU16(record, ReportParamsVc::OutputKind, uint16_t(ListWord(n, MenuListRecord::Device)));
        PutU16(record, ReportParamsVc::SetupDialog, uint16_t(ListWord(n, MenuListRecord::Flag)));
        PutU16(record, ReportParamsVc::ReportNumber, uint16_t(number));
        PutU16(record, ReportParamsVc::Word8, uint16_t(ListWord(n, MenuListRecord::ListKind)));
        PutU16(record, SpecWord5, 0);
        PutU16(record, SpecWord16, 0xFFFF);
        PutU16(record, ReportParamsVc::SelWinType, uint16_t(type));
    }
    WindowEvent(m, WindowEventCode::OpenedWithArgs, nullptr, nullptr);
    if (!WinIsOpen(m)) return 0;
    WinRecordRefresh(m);
    // The field focused as the window opened still shows the value from
    // before the defaults; an OK would store that back. Its edit control
    // opens again over the record as it is now.
    if (WinTable[m]->editControl) EditControlDestroy(m);
    if (WinDefCount(m, WinPartDataFields) > 0) WinGotoField(m, 1, true);
    return m;
}

// A choice changed in window n (control `control`, whose value is the
// record word at `field`): the report list refills when its list kind
// changed; a function list refills when its kind changed and sets its
// device buttons by the kind; every other type hears of it as event 2
// with the record offset (low 16 bits) and the changed flag.
void WindowListChoice(int n, int control, uint32_t field, bool changed)
{
    if (!WinIsOpen(n)) return;
    switch (WinTypeOf(n)) {
    case WinTypes::ReportList:
        if (field == MenuListRecord::ListKind && changed) MenuListFill(n);
        return;
    case WinTypes::FunctionList:
        if (field != MenuListRecord::Action) return;
        if (changed) MenuListFill(n);
        FunctionDevicesEnable(n, ListWord(n, MenuListRecord::Action));
        return;
    default: break;
    }
    uint16_t offset = uint16_t(field);
    uint8_t flag = changed ? 1 : 0;
    (void)WindowEvent(n, WindowEventCode::Choice, &offset, &flag);
}
