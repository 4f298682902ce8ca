// address_list.cpp - the customer address list (type 349): besides Edit >
// Copy of the marked addresses (type_rules.cpp), its operation 1 opens the
// interest-invoice run over the previous calendar month (type 176).
#include "recordwin/record_windows.h"

#include "core/field_access.h"
#include "core/memblock.h"
#include "dict_offsets.h"
#include "shell/record_commands.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

constexpr int LastMonthRunType = WinTypes::InterestLastMonth;
// The maintenance routine the run's OK starts: the interest invoices.
constexpr uint16_t InterestRoutine = 4;

}  // namespace

// Button 1 of the address list: the last-month interest run opens (or
// comes to the front) with the previous month proposed, which its type
// gives it as it is laid out; OK then runs the interest invoices.
void Win349Button(int window, int button)
{
    if (button != 1 || !WinIsOpen(window)) return;
    int run = OpenOrActivateWindow(LastMonthRunType, 0, 0, false, 0);
    if (!run) return;
    uint8_t *record = WinRecordBuffer(run);
    if (!record || MemSize(WinTable[run]->recordHandle) < ReportParamsVc::Size) return;
    PutU16(record, ReportParamsVc::ReportNumber, InterestRoutine);
    PutU16(record, ReportParamsVc::SelWinType, uint16_t(LastMonthRunType));
}
