// module_rules.cpp - whether a module may be entered, and which module
// the program enters first.
#include "recordwin/record_windows.h"

// Whether `module` may be entered; not built yet: refused.
bool ModuleEnterCheck(int module) { return false; }

// Enters the first module the user may use; not built yet: none is entered.
void OpenFirstModule() {}
