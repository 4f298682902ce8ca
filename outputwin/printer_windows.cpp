// printer_windows.cpp - the windows that maintain the printer
// definitions: the list of printers (type 407) and the row window that
// edits one printer (type 408).
//
// Line r of the list stands for stored row r of block 162. The list is
// refilled after every change the program makes, but another user may
// have changed the block since it was filled: a row is opened or
// deleted only when its stored row still makes the line the list shows,
// else the list is refilled and the user told to choose again.
//
// The list's push buttons are New (command 1), Open (2) and Delete (3);
// its OK (Return or a double click on a line) opens the selected row.
// The row window's buttons are OK (8) and Cancel (5); its OK stores the
// row (PrinterRowWindowOk) and refills an open list.
#include "outputwin/printer_windows.h"

#include <cstring>
#include <string>
#include <vector>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/window_entries.h"
#include "dict_offsets.h"
#include "output/layer_operations.h"
#include "platform/control.h"
#include "shell/edit_control.h"
#include "shell/field_editing.h"
#include "shell/record_commands.h"
#include "shell/window_events.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

constexpr uint32_t RowSize = PrintersBlk::Rows::Size;
constexpr int TextMax = 20;
// Told when the row has no name to be found by.
constexpr int TextPrinterNeedsName = 11713;
constexpr uint16_t CommandNew = 1, CommandOpen = 2, CommandDelete = 3, CommandOk = 8, CommandClose = 5;

// Appends text to line, as far as a PString holds.
void Append(uint8_t *line, const uint8_t *text)
{
    for (int i = 1; i <= text[0] && line[0] < 255; i++) line[++line[0]] = text[i];
}

// The list line of one row: its name, then " - " and its device text and
// " - " and its printer text, as far as they are given.
void RowLine(const uint8_t *row, uint8_t *line)
{
    PString name, device, printer, dash;
    GetText(row, PrintersBlk::Rows::Name, name);
    GetText(row, PrintersBlk::Rows::DeviceText, device);
    GetText(row, PrintersBlk::Rows::PrinterText, printer);
    CStringToPString(" - ", dash);
    line[0] = 0;
    Append(line, name);
    if (device[0] == 0 && printer[0] == 0) return;
    Append(line, dash);
    Append(line, device);
    if (printer[0] == 0) return;
    Append(line, dash);
    Append(line, printer);
}

// Fills list n from rows and selects line `select` (the first when out of
// range).
void ListRows(int n, const std::vector<uint8_t> &rows, int select)
{
    ListBoxReset(n);
    PString line;
    for (size_t r = 0; r + RowSize <= rows.size(); r += RowSize) {
        RowLine(rows.data() + r, line);
        ListBoxAddString(n, line);
    }
    int count = ListBoxCount(WinListBox(n));
    if (count > 0) ListBoxSetCurSel(WinListBox(n), select >= 0 && select < count ? select : 0);
}

// The index of the row line `line` of list n stands for, read afresh
// into rows; -1 when no line is selected (a beep), when the rows could
// not be read, or when the stored row no longer makes that line (the
// list is refilled and the user told).
int SelectedRow(int n, std::vector<uint8_t> *rows)
{
    int line = WinListBox(n) ? ListSelectedIndex(n) : -1;
    if (line < 0) {
        Beep();
        return -1;
    }
    if (!PrinterRowsRead(rows)) return -1;
    std::string shown = ListBoxText(WinListBox(n), line);
    PString now;
    bool same = size_t(line + 1) * RowSize <= rows->size();
    if (same) {
        RowLine(rows->data() + size_t(line) * RowSize, now);
        same = shown.size() == now[0] && std::memcmp(shown.data(), now + 1, now[0]) == 0;
    }
    if (same) return line;
    ListRows(n, *rows, line);
    ShowTextMessage(Texts::PrinterNoneChosen);
    return -1;
}

// Opens a row window from list n: empty for a new printer, else on a
// copy of row (RowSize bytes) with its first field focused.
void OpenRowWindow(int n, const uint8_t *row)
{
    int m = OpenOrActivateWindow(PrinterRowType, 0, 0, true, n);
    if (!m || !row) return;
    uint8_t *record = WinRecordBuffer(m);
    if (!record || MemSize(WinTable[m]->recordHandle) < RowSize) return;
    // The first field took the focus with the empty record: its edit goes
    // uncommitted, and the field is focused again on the row.
    EditControlDestroy(m);
    std::memcpy(record, row, RowSize);
    WinRecordRefresh(m);
    WinGotoField(m, 1, true);
}

// Opens the row selected in list n.
void OpenSelected(int n)
{
    std::vector<uint8_t> rows;
    int r = SelectedRow(n, &rows);
    if (r >= 0) OpenRowWindow(n, rows.data() + size_t(r) * RowSize);
}

// Deletes the row selected in list n from the block and refills the
// list; a store that is refused changes nothing.
void DeleteSelected(int n)
{
    std::vector<uint8_t> rows;
    int r = SelectedRow(n, &rows);
    if (r < 0) return;
    auto at = rows.begin() + std::ptrdiff_t(size_t(r) * RowSize);
    rows.erase(at, at + RowSize);
    if (!PrinterRowsStore(rows)) return;
    ListRows(n, rows, r > 0 ? r - 1 : 0);
}

// The command of push button `control` (a control index) of window n; 0
// when it is none.
uint16_t ButtonCommand(int n, const void *control)
{
    if (!control) return 0;
    const uint8_t *entry = WinControlByIndex(n, *static_cast<const uint16_t *>(control));
    return entry ? DefU16(entry + ControlEntry::Command) : 0;
}

}  // namespace

// Fills printer list n with one line a stored row, in stored order, the
// first selected; when the rows cannot be read (the user is told) the
// list is left empty, so that nothing is chosen from stale lines.
void PrinterListFill(int n)
{
    if (!WinIsOpen(n) || WinListBox(n) == 0) return;
    std::vector<uint8_t> rows;
    if (!PrinterRowsRead(&rows)) rows.clear();
    ListRows(n, rows, 0);
}

// The push button with command `command` of printer list n: New opens
// an empty row window, Open the selected row, Delete removes it.
void PrinterListButton(int n, int command)
{
    if (!WinIsOpen(n)) return;
    switch (command) {
    case CommandNew: OpenRowWindow(n, nullptr); return;
    case CommandOpen: OpenSelected(n); return;
    case CommandDelete: DeleteSelected(n); return;
    default: return;
    }
}

// The printer list: filled when opened (event 22); OK opens the selected
// row (event 11). Its buttons come by PrinterListButton, as a choice in
// its list comes as event 2 too. Other events go on to their generic
// actions.
uint8_t PrinterListEvent(int window, int event, void *, void *)
{
    switch (WindowEventCode(event)) {
    case WindowEventCode::LaidOut: PrinterListFill(window); return 1;
    case WindowEventCode::Ok: OpenSelected(window); return 0;
    default: return 1;
    }
}

// The row window: OK (event 11, also its OK button) stores the row and
// refills an open printer list with the stored row selected; Cancel
// closes the window, dropping what was typed. Its push buttons come as
// event 2 with their control index (it has no list whose choice would).
uint8_t PrinterRowEvent(int window, int event, void *a, void *)
{
    switch (WindowEventCode(event)) {
    case WindowEventCode::Ok: {
        PString name;
        GetText(WinRecordBuffer(window), PrintersBlk::Rows::Name, name);
        if (!PrinterRowWindowOk(window)) return 0;
        int list = WinFindByDef(PrinterListType);
        std::vector<uint8_t> rows;
        if (list && WinListBox(list) && PrinterRowsRead(&rows)) ListRows(list, rows, PrinterRowByName(rows, name));
        return 0;
    }
    case WindowEventCode::Choice:
        switch (ButtonCommand(window, a)) {
        case CommandOk: WindowOkAction(window); break;
        case CommandClose: WinClose(window); break;
        default: break;
        }
        return 0;
    default: return 1;
    }
}

// Stores the row window n edits into block 162: in place of the stored
// row of the same name (without regard to case, so that the row a form
// finds by that name is the one replaced), or after the rows when none
// has it; then the window closes. A row without a name is refused, and a
// refused or failed store leaves the window open with its row, so
// nothing typed is lost. True when stored.
bool PrinterRowWindowOk(int n)
{
    if (!WinIsOpen(n)) return false;
    const uint8_t *row = WinRecordBuffer(n);
    if (!row || MemSize(WinTable[n]->recordHandle) < RowSize) return false;
    PString name;
    GetText(row, PrintersBlk::Rows::Name, name);
    if (name[0] == 0) {
        FieldError(TextPrinterNeedsName, nullptr, uint16_t(PrintersBlk::Rows::Name));
        return false;
    }
    std::vector<uint8_t> rows;
    if (!PrinterRowsRead(&rows)) return false;
    int found = PrinterRowByName(rows, name);
    size_t at = found >= 0 ? size_t(found) * RowSize : rows.size();
    if (found < 0) rows.resize(rows.size() + RowSize);
    std::memcpy(rows.data() + at, row, RowSize);
    if (!PrinterRowsStore(rows)) return false;
    WinClose(n);
    return true;
}
