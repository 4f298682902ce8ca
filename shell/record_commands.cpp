// record_commands.cpp - commands on record windows and the bottom bar's
// commands: opening or activating a window, OK by window kind and type,
// new, copy as new, cancel, delete, and the edit state.
#include "output/devices/report_output.h"
#include "outputwin/designer.h"
#include "shell/record_commands.h"

#include <cassert>

#include "core/ui_text.h"
#include "core/window_kind.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "recordwin/record_windows.h"
#include "shell/database_open.h"
#include "shell/field_editing.h"
#include "shell/list_windows.h"
#include "shell/login.h"
#include "shell/menu_lists.h"
#include "shell/report_commands.h"
#include "shell/shell.h"
#include "shell/toolbar.h"
#include "shell/window_events.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

// The screen field a window opened by OpenOrActivateWindow focuses first.
int16_t FirstFieldNumber = 1;

namespace {
constexpr const char *ServerStatusClass = "ServStatClass";
constexpr int WordKind = 0;   // a window type's word holding its window kind
// Text: a selection of this report would never be listed again.
constexpr int TextSelectionNotKept = 9968;

// True when n's type lays out a data field and no list pane: such a
// window starts with the focus on a field.
bool OpensOnField(int n)
{
    const uint8_t *def = WinTypeDef(WinTypeOf(n));
    return def && WinListBox(n) == 0 && WinDefPartCount(def, WinPartListPanes) == 0 &&
           WinDefPartCount(def, WinPartDataFields) > 0;
}

// The related window type of n's type (word 1), 0 when it names none.
int RelatedType(int n)
{
    int related = WinTypeWord(WinTypeOf(n), 1);
    return related > 0 && related < 65535 && WinDefExists(related) ? related : 0;
}
}  // namespace

// True when a window of the type may open now for the user, told when it
// may not: by the user's rights (MayOpenWindow), or, for a list opened
// from a field to choose its value (an opener given), when the user may
// read its register; such a list opens no window of the register that the
// rights refuse (its New and Open ask again here).
static bool WindowMayOpenForUser(int type, int opener)
{
    int kind = WinTypeWord(type, WordKind);
    bool chooser = opener != 0 && (kind == KindCode(WindowKind::List) || kind == KindCode(WindowKind::ChoiceList));
    if (chooser ? MayChooseFrom(type) : MayOpenWindow(type)) return true;
    ShowTextMessage(Texts::NoRight);
    return false;
}

// Activates an open window of the type unless a new one is forced (it
// gets the opener), else opens one, prepares it, loads record `recordId`
// into it (0: an empty record) and focuses its first field. The window's
// number, or 0 when the type is undefined or the user may not open it
// (told), or the open refused.
int OpenOrActivateWindow(int type, int argument, uint32_t recordId, bool forceNew, int opener)
{
    FirstFieldNumber = 1;
    if (!WinDefExists(type) || !WindowMayOpenForUser(type, opener)) return 0;
    int n = forceNew ? 0 : WinFindByDef(type);
    if (n) {
        ActivateWindowNumber(n);
        WinTable[n]->opener = uint16_t(opener);
    } else {
        n = OpenWindow(type, argument);
        if (n == 0) return 0;
        WinTable[n]->browseText[0] = 0;
        WinTable[n]->opener = uint16_t(opener);
        WinPrepareAfterOpen(n);
        if (!WinIsOpen(n)) return 0;   // the type's open event closed it
        WinLoadRecord(n, recordId);
        WinTitleUpdate(n);
        WinRecordRefresh(n);
    }
    if (OpensOnField(n)) WinGotoField(n, FirstFieldNumber, true);
    StateRefreshFlag = 1;
    return n;
}

// The OK action of window n: commits the field under edit, lets the
// type's event 11 stop it, then acts by window kind and, for kinds
// without an OK of their own, by window type: the menu-list windows run
// their selected entry, the login window ends its loop, a report
// parameter window saves its selection. Report, export and
// maintenance windows (kinds 6, 7 and 10) run theirs; a preview finds;
// a form designer's part window writes its copy back to the designer.
void WindowOkAction(int n)
{
    if (!WinIsOpen(n)) return;
    StateRefreshFlag = 1;
    if (WinTypedTextRefused(n)) return;
    WinCommitField(n);
    if (WindowEvent(n, WindowEventCode::Ok, nullptr, nullptr) != 1) return;
    switch (WinKindOf(n)) {
    case 1: CmdListOk(n); return;
    case 2:
        if (ListHasSelection(n))
            WindowEvent(n, WindowEventCode::RecordChosen, nullptr, nullptr);
        else
            WinFindByTypedKey(n);
        return;
    case 3:
    case 11: WinStoreAndStay(n); return;
    case 8: WinSaveSettingsRecord(n); return;
    case 9: WinSaveRecord(n); return;
    case 6: ReportWindowOk(n); return;
    case 7: ExportWindowOk(n); return;
    case 10: MaintenanceWindowOk(n); return;
    case 4: PreviewFind(n); return;
    case 0:
    case 5: break;
    default: return;
    }
    switch (WinTypeOf(n)) {
    case WinTypes::ReportList: ReportListRun(n); break;
    case WinTypes::FunctionList:
    case WinTypes::ImportList: ModuleFunctionListRun(n); break;
    case WinTypes::DocumentList: DocumentListRun(n); break;
    case WinTypes::WindowList: WindowListRun(n); break;
    case WinTypes::ModuleList: ModuleListRun(n); break;
    case WinTypes::Login: LoginWindowDone(false); break;
    case WinTypes::SaveSelection: ReportSelectionSaveOk(n); break;
    case WinTypes::BusyMessage:
        // The server status window (found by its name) stays open on OK.
        if (WinFindByName(ServerStatusClass) != n) WinClose(n);
        break;
    default:
        // The designer's part windows are known by their type names.
        (void)DesignerPartWindowOk(n);
        break;
    }
}

// Starts a new record from window n. A record window stores what it
// shows first and starts the new record in itself (staying open, where
// OK would close a window opened from a field); a list opens its
// related type on a new record (a chooser list closes first, and the
// new window keeps the chooser's opener); the report list opens a saved
// selection of its selected report.
void CmdNewRecord(int n)
{
    StateRefreshFlag = 1;
    if (!WinIsOpen(n)) return;
    int type = WinTypeOf(n);
    int kind = WinKindOf(n);
    if (kind == 3 || kind == 11) {
        // WinNewRecord stores what n shows first; n stays open even when it
        // was opened from another window's field.
        if (WinTypeMayOpen(type) && WinNewRecord(n)) WinFocusFirstField(type, n);
        return;
    }
    if (kind != 0 && kind != 1 && kind != 2) return;
    // The report list's new record is a saved selection of its selected
    // report, whose number is read before a closing list loses it.
    bool reportList = type == WinTypes::ReportList;
    int related = reportList ? (WinDefExists(WinTypes::SaveSelection) ? WinTypes::SaveSelection : 0) : RelatedType(n);
    if (!related || !WinTypeMayOpen(related)) return;
    int report = reportList ? ReportListSelectedNumber(n) : 0;
    // A saved selection of a report the saved selections do not list
    // could never be seen again: the user is told before typing it.
    if (report != 0 && !ReportKeepsSelections(report)) {
        ShowTextMessage(TextSelectionNotKept);
        return;
    }
    int opener = 0;
    if (kind != 1) {
        opener = WinOpenerOf(n);
        WinClose(n);
    }
    int m = OpenOrActivateWindow(related, 0, 0, true, opener);
    if (m && WinNewRecord(m)) WinFocusFirstField(related, m);
    if (m && reportList) ReportSelectionWindowTake(m, report);
}

// Starts a new record in window n as a copy of the record it shows
// (kinds 3 and 11); a list opens its related window on a copy of the
// selected row's record.
void CmdOpenRecord(int n)
{
    StateRefreshFlag = 1;
    if (!WinIsOpen(n)) return;
    int kind = WinKindOf(n);
    if (kind == 1 || kind == 2) {
        ListOpenAsNew(n);
        return;
    }
    if (kind != 3 && kind != 11) return;
    if (!WinTypeMayOpen(WinTypeOf(n))) return;
    WinCopyAsNew(n);   // stores what n shows first
    if (WinRecState(n) == 1) WinGotoField(n, 1, true);
}

// Drops the changes of record window n: a stored record is read again
// (its lock freed), a window without a stored record closes.
void CmdCancelRecord(int n)
{
    StateRefreshFlag = 1;
    if (!WinIsOpen(n)) return;
    int kind = WinKindOf(n);
    if (kind != 3 && kind != 11) return;
    WinCommitField(n);
    if (WinRegisterOf(n) && WinTable[n]->recordId != 0)
        WinRereadRecord(n);
    else
        WinClose(n);
}

// Deletes the record shown in window n (state 0 only) through the
// record layer, which checks and tells the user why it refuses. After a
// done delete the window shows the record now at that place; when none
// is left it closes. In the report list it deletes the selected saved
// selection.
void CmdDeleteRecord(int n)
{
    StateRefreshFlag = 1;
    if (WinIsOpen(n) && WinTypeOf(n) == WinTypes::ReportList) {
        ReportSelectionDelete(n);
        return;
    }
    if (!WinIsOpen(n) || WinRecState(n) != 0) return;
    WinCommitField(n);
    int reg = WinRegisterOf(n);
    WindowRec *w = WinTable[n];
    if (reg == 0 || w->recordId == 0) return;
    if (reg == PEVc::Number && !MayStorePersonHere(nullptr, nullptr)) return;
    WinSetRecState(n, 3);
    char text[256];
    PStringToC(w->browseText, text);
    StatusLineSet({});   // the strip tells what this delete says, not an earlier action
    int result = RecDeleteChecked(reg, w->record, &w->recordId, text);
    WinRecordRefresh(n);
    int kind = WinKindOf(n);
    if ((kind == 3 || kind == 11) && result == RecDone && w->recordId == 0) {
        WinClose(n);
        return;
    }
    WinSetRecState(n, 0);
}

// Opens a new notes window (type 21) with n as its opener.
void CmdOpenType21(int n)
{
    StateRefreshFlag = 1;
    OpenOrActivateWindow(WinTypes::Notes, 0, 0, true, WinIsOpen(n) ? n : 0);
}

// Sets n's edit state; when it changed, the title follows and n is repainted.
void WinSetRecState(int n, int state)
{
    assert(WinIsOpen(n));
    if (WinTable[n]->editState == state) return;
    WinTable[n]->editState = uint16_t(state);
    WinTitleUpdate(n);
    WinMarkChanged(n);
}

// Runs bottom-bar command `command` with its argument for window w (0:
// none). Commands that open a company's windows need an open company;
// switching company first closes the open windows, asking about their
// changes, and stops when the user keeps one.
void ToolbarCommand(int w, int command, int argument)
{
    bool win = WinIsOpen(w);
    switch (command) {
    case 1: if (win) NextRecord(w); break;
    case 2: if (win) PrevRecord(w); break;
    case 3: if (win) CmdNewRecord(w); break;
    case 4: if (win) CmdOpenRecord(w); break;
    case 5: if (win) CmdCancelRecord(w); break;
    case 6: if (win) CmdDeleteRecord(w); break;
    case 7: if (win) CmdChoose(w); break;
    case 8: if (win) WindowOkAction(w); break;
    case 9: if (win) CmdPrint(w); break;
    case 20: if (win) CmdPreview(w); break;
    case 21: if (win) CmdPrintToFile(w); break;
    case 10: OpenModuleEntry(argument); break;
    case 11:
        if (CloseAllWindows(0)) DbConnectCommand();
        break;
    case 12: if (DbOpenFlag) OpenOrActivateWindow(7, 0, 0, false, 0); break;
    case 13: if (DbOpenFlag) OpenOrActivateWindow(6, 0, 0, false, 0); break;
    case 14: QuitFlag = 1; break;
    case 15: if (DbOpenFlag) OpenOrActivateWindow(12, 0, 0, false, 0); break;
    case 16: OpenOrActivateWindow(9, 0, 0, false, 0); break;
    case 17: if (DbOpenFlag) OpenOrActivateWindow(8, 0, 0, false, 0); break;
    case 18: SwitchModule(argument, 1); break;
    case 19: if (DbOpenFlag && argument > 0) OpenOrActivateWindow(argument, 0, 0, false, 0); break;
    case 999: if (win) CmdOpenType21(w); break;
    default: break;
    }
    StateRefreshFlag = 1;
}

// Ends the start of n's edit: state 2 and its title, without repainting
// the window, and the menus and bars recomputed.
void WinEditStateDone(int n)
{
    assert(WinIsOpen(n));
    WinTable[n]->editState = 2;
    WinTitleUpdate(n);
    StateRefreshFlag = 1;
}
