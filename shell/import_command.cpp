// import_command.cpp - the import command of the module-function list:
// the check of open windows, the file question and the import.
#include "shell/menu_lists.h"

// Whether an import may run now; not built yet: refused.
bool ImportAllowedNow() { return false; }

// Runs an import; not built yet: nothing is imported.
void ImportCommand(int number, int device) {}

// Asks for the file to import; not built yet: 0, as when cancelled.
int ImportFileAsk() { return 0; }
