// report_commands.cpp - print, preview and print to file of a window, and
// the OK of report, export and maintenance windows.
#include "shell/report_commands.h"

#include "core/ui_text.h"
#include "dict_offsets.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/window_table.h"

namespace {

// Tells the user that the command asked of window n cannot run yet.
void NotYet(int n)
{
    StateRefreshFlag = 1;
    if (WinIsOpen(n)) ShowTextMessage(Texts::FunctionNotYet);
}

}  // namespace

// Prints what window n shows; not built yet: the user is told.
void CmdPrint(int n) { NotYet(n); }

// Previews what window n shows; not built yet: the user is told.
void CmdPreview(int n) { NotYet(n); }

// Prints what window n shows to a file; not built yet: the user is told.
void CmdPrintToFile(int n) { NotYet(n); }

// The OK of a report window; not built yet: the user is told, nothing runs.
void ReportWindowOk(int n) { NotYet(n); }

// The OK of an export window; not built yet: the user is told, nothing runs.
void ExportWindowOk(int n) { NotYet(n); }

// The OK of a maintenance window; not built yet: the user is told, nothing runs.
void MaintenanceWindowOk(int n) { NotYet(n); }
