// field_values.cpp - the ids of a record window's fields and the values
// they show: setting a value by id, redrawing by id, drawing a matrix row's
// cells.
#include "shell/window_layout.h"

// The field id shown by screen field F of n; NoField here.
int WinFieldIdAt(int n, int F) { return NoField; }

// The field id of the cell at screen field F of n; NoField here.
int WinFieldIdAtCell(int n, int F) { return NoField; }

// Sets the value of every field of n with the id; sets nothing here.
void WinSetFieldValue(int n, int id, const uint8_t *value) {}

// Redraws the fields of n with the id; nothing here.
void WinRedrawFieldById(int n, int id) {}

// Draws the cells of one matrix row of n; nothing here.
void WinMatrixDrawRow(int n, int row, uint32_t rowOffset, int flag) {}
