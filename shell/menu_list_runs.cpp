// menu_list_runs.cpp - what the menu-list windows run: their OK and
// buttons, opening a specification window with the list's parameters,
// and the reaction to a choice in a window.
#include "shell/menu_lists.h"

#include "recordwin/record_windows.h"
#include "shell/window_table.h"

namespace {
constexpr int EventChoice = 2;   // a: 16-bit field, b: 8-bit changed flag
}  // namespace

// The report list's OK; not built yet: nothing runs.
void ReportListRun(int n) {}

// The document list's OK; not built yet: nothing runs.
void DocumentListRun(int n) {}

// The module-function lists' OK; not built yet: nothing runs.
void ModuleFunctionListRun(int n) {}

// The window list's OK; not built yet: nothing opens.
void WindowListRun(int n) {}

// The module list's OK; not built yet: nothing changes.
void ModuleListRun(int n) {}

// A report-list button; not built yet: nothing runs.
void ReportListButton(int n, int button) {}

// A document-list button; not built yet: nothing runs.
void DocumentListButton(int n, int button) {}

// Opens a window with the list's parameters; not built yet: none opens (0).
int OpenWindowWithArgs(int n, int type, int number) { return 0; }

// A choice changed in window n: the window's type hears of it as event 2
// with the control's record offset (low 16 bits) and the changed flag.
void WindowListChoice(int n, int control, uint32_t field, bool changed)
{
    if (!WinIsOpen(n)) return;
    uint16_t offset = uint16_t(field);
    uint8_t flag = changed ? 1 : 0;
    (void)WindowEvent(n, EventChoice, &offset, &flag);
}
