// window_mouse.cpp - the mouse on a record window: a click goes to a
// drawn control, a data field, a matrix cell or row, or a list pane; the
// notifications of its platform controls; the buttons of dialog-like
// windows by type; and the reset of a window (command 809).
#include <algorithm>
#include <string>

#include "dict_offsets.h"
#include "core/window_kind.h"
#include "output/devices/report_output.h"
#include "output/job_queue.h"
#include "outputwin/printer_windows.h"
#include "shell/window_mouse.h"

#include "platform/control.h"
#include "platform/window.h"
#include "shell/edit_control.h"
#include "shell/field_editing.h"
#include "shell/list_windows.h"
#include "shell/login.h"
#include "shell/menu_lists.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/window_drawing.h"
#include "shell/window_events.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

constexpr int DesignerItemFirst = 24, DesignerItemLast = 31;
constexpr int LoginCancelButton = 1;   // the login window's Cancel
constexpr int DesignerChoices = 5;     // the designer's buttons 1..5 choose its tool
constexpr int CodeOk = 8, CodeClose = 5;
// Kinds whose window specifies a run: report, export and maintenance.
constexpr uint32_t NoControl = 65535;

// The y of a packed point (y in the high half, x in the low).
int PointY(int32_t point) { return int16_t(uint32_t(point) >> 16); }

// True when point lies in list pane `pane` of n.
bool InListPane(int n, int pane, int32_t point)
{
    MacRect r;
    WinColumnRect(n, pane, &r);
    return r.bottom > r.top && PtInMacRect(point, &r);
}

// A click on a data field of a shown page focuses it; true when one held the point.
bool ClickDataField(int n, int32_t point)
{
    for (int i = 0; const uint8_t *e = WinDefEntry(n, WinPartDataFields, i); i++) {
        if (!WinPageShown(n, DefU16(e + FieldEntry::Page))) continue;
        MacRect r;
        WinBindingRect(n, e, &r);
        if (!PtInMacRect(point, &r)) continue;
        // This click put the field under edit: it was the field's first.
        if (WinGotoField(n, i + 1, true) && WinIsOpen(n)) WinTable[n]->editFirstClick = 0;
        return true;
    }
    return false;
}

// The record window whose field under edit has edit control `edit`, 0 none.
int WindowOfEditControl(uint32_t edit)
{
    for (int n = WinFirst; edit && n <= WinLast; n++)
        if (WinIsOpen(n) && WinTable[n]->editControl == edit) return n;
    return 0;
}

// A click in n's matrix, when its page is shown: on a row's number (its
// number cell, or where the number is drawn left of the matrix) the field
// is committed and that row selected as a row (only a row that exists);
// on a cell, that cell's screen field is focused (a row beyond the last
// counts as a row of kind 1). True when the point lay in the matrix or on
// a row's number.
bool ClickMatrix(int n, int32_t point)
{
    const uint8_t *m = WinDefEntry(n, WinPartMatrixAreas, 0);
    if (!m || !WinPageShown(n, DefU16(m + MatrixEntry::Page))) return false;
    MacRect area;
    MatrixColumnRect(n, 0, &area);
    if (area.bottom <= area.top || PointY(point) < area.top) return false;
    int slot = MatrixSlotOf(n);
    int top = slot >= 0 ? WinTable[n]->controls[slot].position : 0;
    int screenRow = (PointY(point) - area.top) / MatrixRowHeight;
    MacRect r;
    if (screenRow < MatrixRowsShown(n) && MatrixRowNumberRect(n, screenRow, &r) && PtInMacRect(point, &r)) {
        if (top + screenRow >= WinMatrixRowCount(n)) return true;
        WinCommitField(n);
        if (WinIsOpen(n)) MatrixClickRow(n, 0, screenRow);
        return true;
    }
    if (!PtInMacRect(point, &area)) return false;
    if (screenRow < 0 || screenRow >= MatrixRowsShown(n)) return true;
    int row = top + screenRow;
    int kind = MatrixRowKind(n, row);
    int first, cells;
    MatrixGeometry(n, &first, &cells);
    for (int c = 0, count = MatrixCellCount(n, kind); c < count; c++) {
        if (!MatrixCellRect(n, kind, &r, screenRow, c) || !PtInMacRect(point, &r)) continue;
        WinGotoField(n, first + row * cells + c, true);
        break;
    }
    return true;
}

// A click in a list pane of n: the field under edit is committed first
// (the list goes back to browsing), then the pane selects the row there.
void ClickListPane(int n, int32_t point, bool shift)
{
    for (int i = 0; WinDefEntry(n, WinPartListPanes, i); i++) {
        if (!InListPane(n, i, point)) continue;
        if (WinTable[n]->editControl) {
            WinCommitField(n);
            if (!WinIsOpen(n)) return;
            WinSetRecState(n, 4);
        }
        ListMouseClick(n, i, PointY(point), shift);
        StateRefreshFlag = 1;
        return;
    }
}

}  // namespace

// A click at point (y high, x low) in n, single or double; the first that
// takes it ends it: a double click in list pane 0 (a list's OK, a choice
// list's choice), a press on a drawn control, icon or header, a data
// field, the matrix, a list pane.
void WindowMouseClick(int n, int32_t point, bool shift, bool dbl)
{
    if (!WinIsOpen(n)) return;
    if (RepListWindowDraw(n, point, shift, dbl)) return;
    int kind = WinKindOf(n);
    if (dbl && (kind == 1 || kind == 2) && InListPane(n, 0, point)) {
        if (kind == 1)
            CmdListOk(n);
        else
            (void)WindowEvent(n, WindowEventCode::RecordChosen, nullptr, nullptr);
        return;
    }
    if (WinMousePress(n, point, shift, dbl) || !WinIsOpen(n)) return;
    if (ClickDataField(n, point) || !WinIsOpen(n)) return;
    if (ClickMatrix(n, point) || !WinIsOpen(n)) return;
    ClickListPane(n, point, shift);
}

// A notification (code) of platform control `control` of n: a new
// selection in n's list box is n's choice (WindowListChoice with no
// control); a push button with a control of its own runs when its type
// agrees. Scroll bars come by their own message and take nothing here.
void WinControlNotify(int n, uint32_t control, int code)
{
    if (!WinIsOpen(n) || control == 0) return;
    if (control == WinTable[n]->listBox) {
        if (code == PlLbn::SelChange) WindowListChoice(n, int(NoControl), 0, true);
        return;
    }
    int i = WindowControlLookup(n, control);
    if (i == int(NoControl) || code != PlBn::Clicked) return;
    const uint8_t *entry = WinControlByIndex(n, i);
    if (!entry || DefU16(entry + ControlEntry::Kind) != CtlPush) return;
    if (WindowFieldChanged(n, i)) DialogButton(n, i, DefU16(entry + ControlEntry::Command), 1);
}

// Runs push button `control` of n with its button code (a command
// number), by n's window type: the report and document lists run their
// button by its code (1 the selected entry's second window, 2 its page
// set-up), and so do the job queue and the printer list; the login window ends its loop (button 1 cancels it); the
// About window closes; the busy message closes as a
// record window does and stops its work; the designer remembers buttons 1..5 as its choice;
// a designer item window takes code 8 as OK and 5 as close, and so does
// the window saving a report selection (closing it unasked); a report,
// export or maintenance window takes code 8 as the OK the top bar gives it
// (the run starts) and 5 as closing it unrun; any other window (and any
// other code) chooses page control + 1 when control is below its last
// page index, and then its type hears of the button (event 2, with the
// flag).
void DialogButton(int n, int control, int code, int flag)
{
    if (!WinIsOpen(n)) return;
    int type = WinTypeOf(n);
    switch (type) {
    case WinTypes::ReportList: ReportListButton(n, code); return;
    case WinTypes::DocumentList: DocumentListButton(n, code); return;
    case WinTypes::JobQueue: RepJobQueueButton(n, code); return;
    case PrinterListType: PrinterListButton(n, code); return;
    case WinTypes::Login: LoginWindowDone(control == LoginCancelButton); return;
    case WinTypes::About: WinClose(n); return;
    case WinTypes::SaveSelection:   // OK saves the selection; Cancel drops it unasked
        if (code == CodeOk) WindowOkAction(n);
        if (code == CodeClose) WinClose(n);
        return;
    case WinTypes::BusyMessage:
        // Its Cancel: the work it stands for stops, as at Esc (a client's
        // request waiting for a busy server is given up once it is closed).
        UserCancelFlag = 1;
        (void)CloseRecordWindow(n);
        return;
    case WinTypes::FormDesigner:
        if (control >= 1 && control <= DesignerChoices) WinTable[n]->dialogChoice = uint16_t(control);
        return;
    default: break;
    }
    if (type >= DesignerItemFirst && type <= DesignerItemLast) {
        if (code == CodeOk)
            WindowOkAction(n);
        else if (code == CodeClose)
            (void)CloseRecordWindow(n);
        return;
    }
    int kind = WinKindOf(n);
    bool runs = kind == KindCode(WindowKind::ReportSelection) || kind == KindCode(WindowKind::ExportSelection) ||
                kind == KindCode(WindowKind::Maintenance);
    if (runs && (code == CodeOk || code == CodeClose)) {
        if (code == CodeOk)
            WindowOkAction(n);
        else
            WinClose(n);
        return;
    }
    if (!WinPageStep(n, control) || !WinIsOpen(n)) return;
    uint16_t button = uint16_t(control);
    uint8_t f = flag ? 1 : 0;
    (void)WindowEvent(n, WindowEventCode::Choice, &button, &f);
}

// The slot index of n's control on a shown page whose platform control is
// `control`; 65535 when none is.
int WindowControlLookup(int n, uint32_t control)
{
    if (!WinIsOpen(n) || control == 0) return int(NoControl);
    for (int i = 0; i < ControlSlotCount; i++) {
        const uint8_t *entry = WinControlByIndex(n, i);
        if (!entry) break;
        if (WinTable[n]->controls[i].control == control && WinPageShown(n, DefU16(entry + ControlEntry::Page)))
            return i;
    }
    return int(NoControl);
}

// A press on a field's edit control that the program opened with its
// text selected whole, such as the next number a new record proposes,
// would otherwise put the caret where the pointer is, and the user's code
// would be typed beside the proposed one. The first press keeps the
// whole text selected; a press after it, or on a text the user changed
// or moved the caret in, places the caret as usual.
bool FirstClickKeepsOfferedText(uint32_t win, uint32_t msg)
{
    if (msg != PlMsg::LButtonDown) return false;
    int n = WindowOfEditControl(win);
    if (!n || !WinTable[n]->editFirstClick) return false;
    WindowRec *w = WinTable[n];
    w->editFirstClick = 0;
    const std::string text = EditGetText(win);
    int start = 0, end = 0;
    EditGetSel(win, &start, &end);
    const bool whole = !text.empty() && std::min(start, end) == 0 && std::max(start, end) == int(text.size());
    if (!whole || text != PStringView(w->editOpenText)) return false;
    if (WinFocus() != win) WinSetFocus(win);
    return true;
}

// Command 809: n goes back to list column 0 (a list takes that column's
// order) and its type's default rectangle, which is stored as its
// placement; it is painted afresh and shows page 1. A window without
// pages is only repainted: choosing a page would refocus its field, and
// drop a list's marks.
void WindowReset(int n)
{
    if (!WinIsOpen(n)) return;
    int kind = WinKindOf(n);
    if ((kind == 1 || kind == 2) && WinListColumn(n) != 0)
        SetWindowStateWord(n, 0);
    else
        WinTable[n]->listColumn = 0;
    if (!WinIsOpen(n)) return;
    WinPlacementDefault(n);
    if (!WinIsOpen(n)) return;
    int type = WinTypeOf(n);
    MacRect r{int16_t(WinTypeWord(type, 3)), int16_t(WinTypeWord(type, 4)), int16_t(WinTypeWord(type, 5)),
              int16_t(WinTypeWord(type, 6))};
    WinPaint(n, &r);
    if (WinDefCount(n, WinPartPages) > 0)
        WinChoosePage(n, 1);
    else
        InvalidateWindowNumber(n);
}
