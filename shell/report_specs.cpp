// report_specs.cpp - saved report specifications: the rows of settings
// block 163 kept from window type 14 and deleted from the report list.
#include "shell/report_commands.h"

#include "core/ui_text.h"
#include "dict_offsets.h"
#include "shell/shell.h"
#include "shell/window_table.h"

// Saves type-14 window n's specification; not built yet: the user is
// told, nothing is stored and the window stays.
void ReportSpecSaveOk(int n)
{
    StateRefreshFlag = 1;
    if (WinIsOpen(n)) ShowTextMessage(Texts::FunctionNotYet);
}

// Deletes the selected saved specification; not built yet: the user is
// told, nothing is deleted.
void ReportSpecDelete(int listWindow)
{
    StateRefreshFlag = 1;
    if (WinIsOpen(listWindow)) ShowTextMessage(Texts::FunctionNotYet);
}

// Takes the report list's selected report number into a type-14 window;
// not built yet: nothing is taken (the window's word stays 0).
void ReportSpecWindowTake(int specWindow, int listWindow) {}
