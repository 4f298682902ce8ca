// report_commands.h - print, preview and print to file by window type and
// kind, the OK of report, export and maintenance windows, and the saved
// report selections (settings block 163) kept from window type 14.
#pragma once

// CmdPrint is declared in record_commands.h.
void CmdPreview(int n);
void CmdPrintToFile(int n);
void ReportWindowOk(int n);
// Button `button` of a report window: button 1 runs the window as its OK.
void ReportWindowRun(int n, int button);
void ExportWindowOk(int n);
void MaintenanceWindowOk(int n);
// Saves the selection of type-14 window n into block 163.
void ReportSelectionSaveOk(int n);
// Deletes the saved selection selected in report list listWindow.
void ReportSelectionDelete(int listWindow);
// The report number of the entry selected in report list listWindow, 0 none.
int ReportListSelectedNumber(int listWindow);
// Type 14 opened from the report list: its record's word 42 := the number
// that list's selected entry had (after the window's preparation).
void ReportSelectionWindowTake(int specWindow, int number);
// True when report `number` keeps saved selections: the saved-report map
// names it, so a saved row of it is listed and runs.
bool ReportKeepsSelections(int number);
// The report list listWindow ran its selected saved selection in report
// window specWindow: the window's title field (the selection's first
// text) takes the saved title, so the report prints under it.
void ReportSelectionOpened(int listWindow, int specWindow);
// PrintFormatLine, the format line of an export, is the output layer's
// (output/devices/report_output.h).
