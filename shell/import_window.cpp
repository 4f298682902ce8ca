// import_window.cpp - the import window and its status line, locally and
// as a client.
#include "shell/company.h"

uint16_t ImportWindowNumber;
uint8_t ImportFileShortName[21];

// Runs the opened import in the import window; not built yet: nothing
// runs (ImportFile runs its own import meanwhile).
void ImportRunWindow(const uint8_t *path) {}

// Shows a status text in the import window; not built yet: nothing is shown.
void ImportStatusText(const uint8_t *text) {}
