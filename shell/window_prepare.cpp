// window_prepare.cpp - preparing a window after it opened, before its
// record loads: list windows count their register, the designer sets its
// pane's range, the menu-list windows set their list record and fill
// their list, and the type then finishes the preparation itself (the
// choice-list windows fill theirs there, window event 22).
#include <cassert>

#include "core/field_access.h"
#include "core/output_kind.h"
#include "core/window_kind.h"
#include "dict_offsets.h"
#include "output/job_queue.h"
#include "platform/control.h"
#include "shell/draw_port.h"
#include "shell/list_windows.h"
#include "shell/menu_lists.h"
#include "shell/record_commands.h"
#include "shell/window_events.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {
constexpr int32_t DesignerPaneRange = 910;   // the form's height in designer units
// Output devices and actions the lists start with.
constexpr int DevicePrinter = OutputCode(OutputKind::ToPrinter), DeviceTextFile = OutputCode(OutputKind::ToTextFile),
              DeviceReportList = OutputCode(OutputKind::ToPreview);
constexpr int ActionFirst = 1;
// Buttons named by (group, button): the report list's saved-selection
// kind, and the import-only device of the function lists.
constexpr int SavedKindGroup = MenuListRecord::ListKind, SavedKindButton = 2;
constexpr int DeviceGroup = MenuListRecord::Device, ImportDeviceButton = 9;
constexpr int ExportDeviceButtons[] = {2, 5, 8};

// Sets the words of n's list record: device, action (or list kind),
// flag and the report list's kind. Nothing when the record is shorter
// than the list's words.
void SetListRecord(int n, int device, int action, int flag, int listKind)
{
    uint8_t *record = WinRecordBuffer(n);
    if (!record || MemSize(WinTable[n]->recordHandle) < MenuListRecord::Size) return;
    PutU16(record, MenuListRecord::Device, uint16_t(device));
    PutU16(record, MenuListRecord::Action, uint16_t(action));
    PutU16(record, MenuListRecord::Flag, uint16_t(flag));
    PutU16(record, MenuListRecord::ListKind, uint16_t(listKind));
}

// The designer's pane 0 scrolls over the form's height a client height
// at a time.
void DesignerPanePrepare(int n)
{
    const uint8_t *pane = WinDefEntry(n, WinPartListPanes, 0);
    if (!pane) return;
    int c = DefU16(pane + PaneEntry::Control);
    if (c < 0 || c >= ControlSlotCount) return;
    MacRect client;
    WindowClientRect(n, &client);
    ControlSlot &slot = WinTable[n]->controls[c];
    slot.maximum = DesignerPaneRange;
    slot.pageSize = client.bottom - client.top;
    WinTable[n]->paneHeight = slot.pageSize;
    if (slot.control) ScrollBarSetRange(slot.control, slot.minimum, slot.maximum, true);
}

// A new report selection starts without a name, a title and a report.
void ReportSelectionPrepare(int n)
{
    uint8_t *record = WinRecordBuffer(n);
    if (!record || MemSize(WinTable[n]->recordHandle) < ReportSelectionBlk::Rows::Size) return;
    record[ReportSelectionBlk::Rows::Name] = 0;
    record[ReportSelectionBlk::Rows::Title] = 0;
    PutU16(record, ReportSelectionBlk::Rows::ReportNr, 0);
}
}  // namespace

// Prepares n after it opened, with n's drawing port selected: list
// windows (kinds 1 and 2) count their register and rows; the designer
// its pane; the menu-list windows start their list record, fill their
// list and set their buttons; a report selection starts empty.
// Then n's type finishes the preparation (event 22, which may also change
// FirstFieldNumber). The output-job queue (type 9) lists itself with the
// output jobs.
void WinPrepareAfterOpen(int n)
{
    if (!WinIsOpen(n)) return;
    int saved = 0;
    GetPortWindow(&saved);
    SetPortWindow(n);
    int kind = WinKindOf(n);
    if (kind == 1 || kind == 2) ListPrepare(n);
    if (kind == KindCode(WindowKind::Designer)) DesignerPanePrepare(n);
    switch (WinTypeOf(n)) {
    case WinTypes::ReportList:
        SetListRecord(n, DeviceReportList, ActionFirst, 1, ListCode(ReportListKind::Reports));
        MenuListFill(n);
        WinButtonsEnable(n, SavedKindGroup, SavedKindButton, WinDefExists(WinTypes::SaveSelection));
        break;
    case WinTypes::FunctionList:
        // Exports first: their devices on, the import-only one off.
        SetListRecord(n, DeviceTextFile, ListCode(FunctionListKind::Exports), 0, 0);
        MenuListFill(n);
        for (int b : ExportDeviceButtons) WinButtonsEnable(n, DeviceGroup, b, true);
        WinButtonsEnable(n, DeviceGroup, ImportDeviceButton, false);
        break;
    case WinTypes::DocumentList:
        SetListRecord(n, DevicePrinter, ActionFirst, 0, 0);
        MenuListFill(n);
        break;
    case WinTypes::ImportList:
        SetListRecord(n, DeviceTextFile, ListCode(FunctionListKind::Imports), 0, 0);
        MenuListFill(n);
        WinButtonsEnable(n, DeviceGroup, ImportDeviceButton, false);
        break;
    case WinTypes::WindowList:
    case WinTypes::ModuleList: MenuListFill(n); break;
    case WinTypes::SaveSelection: ReportSelectionPrepare(n); break;
    case WinTypes::JobQueue: RepJobQueueList(n); break;
    default: break;
    }
    if (WinIsOpen(n)) WindowEvent(n, WindowEventCode::LaidOut, nullptr, nullptr);
    RestorePortWindow(saved);
}
