// window_parts.cpp - the parts of a window type's layout and their
// entries as a window reads them: entries by part, field counts and
// offsets, menu texts of window types and modules.
#include "shell/window_layout.h"

// Entry i of part `part` of n's type; null when there is none.
uint8_t *WinDefEntry(int n, int part, int i) { return nullptr; }

// The number of entries of part `part` of n's type; 0 here.
int WinDefCount(int n, int part) { return 0; }

// The control part of n's type; null here.
uint8_t *WinControlRectsPass(int n) { return nullptr; }

// The number of n's screen fields; 0 here.
int WinFieldCount(int n) { return 0; }

// The record offset of control `control` of n; 0 here.
uint32_t WinFieldOffset(int n, int control) { return 0; }

// The field type of n's edited field; 0 here.
int WinEditFieldType(int n) { return 0; }

// The menu text of a window type as a PString; empty here.
void WindowTypeMenuText(int type, uint8_t *text) { text[0] = 0; }

// The menu text of a module as a PString; empty here.
void ModuleMenuText(int code, uint8_t *text) { text[0] = 0; }

// The data field of n at a record offset; NoField here.
int WinScreenFieldOfOffset(int n, uint32_t offset) { return NoField; }
