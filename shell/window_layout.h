// window_layout.h - a record window's layout as the shell reads it: the
// entries of its type's parts, the rectangles they resolve to, the
// matrix and its rows, pages, the focused field and the values shown in
// fields.
//
// Screen fields are numbered from 1: the data fields first, then, with a
// matrix, the cells row by row from the matrix's first field number. The
// byte layout of every part's entries is core/window_entries.h.
#pragma once

#include <cstdint>

#include "core/definitions.h"
#include "core/memblock.h"

constexpr int MatrixRowHeight = 17;
constexpr int NoField = 65535;

// ---- window_rects.cpp ----
// How a stored rectangle resolves against its area. A negative stored
// value counts from the far edge; some elements then add 2 on the sides
// their rule names.
enum class ResolveRule {
    ListBox,   // list box: no extra; edges stay exclusive
    Control,   // controls: bottom and right + 2
    FieldX,    // data fields, matrix areas, list panes: left and right + 2
    Plain,     // static texts, icon buttons, each coordinate alone: no extra
};
// Resolves a stored rectangle against an area by the element's rule.
void RectResolveBy(ResolveRule rule, const MacRect *stored, const MacRect *area, MacRect *out);
// Resolves one stored x or y against a rectangle (no extra).
int RectXResolve(const MacRect *r, int x);
int RectYResolve(const MacRect *r, int y);
// True when page `page` of n is shown.
bool WinPageShown(int n, int page);
// The area of page `page` of n.
void WinPageRect(int n, int page, MacRect *out);
// The rectangle of a data-field binding of n (a cell binding's is absolute).
void WinBindingRect(int n, const uint8_t *binding, MacRect *out);
// The rectangle of list pane `pane` of n, cut to whole rows.
void WinColumnRect(int n, int pane, MacRect *out);
// The rectangle of matrix area `area` of n, cut to whole rows.
void MatrixColumnRect(int n, int area, MacRect *out);
// The heading rectangle of list column `column` of n.
void ListColumnHeadRect(int n, int column, MacRect *out);
// The blank pixels a list column's cell keeps before the next column
// starts: a number aligned right, or a text cut short, never runs into the
// next column's text.
constexpr int ListColumnGap = 6;

// ---- window_parts.cpp ----
// Entry i of part `part` of n's type; null when there is none.
uint8_t *WinDefEntry(int n, int part, int i);
// The number of entries of part `part` of n's type.
int WinDefCount(int n, int part);
// The control part of n's type; null when it has none.
uint8_t *WinControlRectsPass(int n);
// The number of n's screen fields: its data fields, 9999 with a matrix.
int WinFieldCount(int n);
// The record offset of control `control` of n; 0 when there is none.
uint32_t WinFieldOffset(int n, int control);
// The field type of n's edited field.
int WinEditFieldType(int n);
// The menu text of a window type and of a module, as PStrings.
void WindowTypeMenuText(int type, uint8_t *text);
void ModuleMenuText(int code, uint8_t *text);
// The data field of n at a record offset (the rows handle: the first
// cell); NoField when none.
int WinScreenFieldOfOffset(int n, uint32_t offset);

// ---- matrix_geometry.cpp ---- (area 0 is the window's matrix)
// The first screen field of n's matrix and its cells per row.
void MatrixGeometry(int n, int *first, int *cells);
// The 0-based row and column of screen field F of n's matrix.
void MatrixRowAt(int n, int F, int *row, int *column);
// The row size and the row-kind offset of matrix area `area` of n.
void MatrixColumnInfo(int n, int area, int *rowSize, int *kindOffset);
// The row-attribute offset of matrix area `area` of n.
int MatrixColumnInfo2(int n, int area);
// The most rows n's matrix may hold.
int MatrixMaxRows(int n);
// The rows handle of n's record, and its row count.
MemBlock WinMatrixRows(int n);
int WinMatrixRowCount(int n);
// The kind and attribute of row `row` of n's matrix.
int MatrixRowKind(int n, int row);
int MatrixRowAttr(int n, int row);
// The cells of a row of kind `kind` on the shown column page.
int MatrixCellCount(int n, int kind);
// The c-th column of kind `kind` on the shown column page; null none.
const uint8_t *MatrixColumnAt(int n, int kind, int c);
// The rectangle of a cell on screen row `screenRow` (cell -1: the row number).
bool MatrixCellRect(int n, int kind, MacRect *out, int screenRow, int cell);
// The text rectangle of a cell of row `row`.
bool MatrixCellTextRect(int n, int kind, MacRect *out, int row, int cell);
// The control slot of n's matrix; -1 none.
int MatrixSlotOf(int n);
// The column page n's matrix shows (none chosen yet: 1).
int MatrixColumnPageOf(int n);
// The rows n's matrix shows on screen; 0 without a matrix.
int MatrixRowsShown(int n);
// True when n's type has a matrix.
bool WinHasMatrix(int n);
// True when n's matrix pane holds a row selected as a row (the band).
bool MatrixHasSelection(int n);
// That row; -1 none.
int MatrixBandRow(int n);
// The rectangle a click on the number of screen row `screenRow` hits.
bool MatrixRowNumberRect(int n, int screenRow, MacRect *out);
// True when n's current field is at or after its matrix's first field.
bool MatrixAtEnd(int n);

// ---- matrix_rows.cpp ----
// Sets n's matrix to `rows` rows, new rows zero-filled; false when memory is short.
bool MatrixResize(int n, int rows);
// Removes row `row` of n's matrix.
void MatrixDeleteRow(int n, int row);
// Drops the empty rows at the end of n's matrix; the first empty row
// left between kept rows, NoField when none is.
int MatrixTrimEmptyRows(int n);
// Clears rows from..to of n's matrix as rows of kind `kind`.
void MatrixRowsClear(int n, int kind, int from, int to);

// ---- window_pages.cpp ----
// Shows page `page` of n, redrawing when asked.
void WinShowPage(int n, int page, bool redraw);
// Shows page `page` of n (0 stands for 1) and focuses its field.
void WinChoosePage(int n, int page);
// Chooses page i + 1 of n for page button i; false when the field under
// edit refused what was typed and the page stayed.
bool WinPageStep(int n, int i);

// ---- field_focus.cpp ----
// Makes the binding of matrix cell F of n (FieldEntry::BindingSize
// bytes, its offset in the rows block) and gives its row; the matrix
// grows to hold the row. False when F names no cell that can be edited.
bool MatrixCellBinding(int n, int F, uint8_t *binding, int *row);
// Focuses screen field F of n; false when it cannot take the focus.
bool WinFocusField(int n, int F);
// Makes row `row` n's current matrix row (the pane's band is not moved).
void WinSelectRow(int n, int row, bool force);

// ---- field_values.cpp ----
// The field id shown by screen field F of n (a cell's, for the second); NoField none.
int WinFieldIdAt(int n, int F);
int WinFieldIdAtCell(int n, int F);
// Sets the value of every field of n with the id, and redraws it.
void WinSetFieldValue(int n, int id, const uint8_t *value);
// Redraws the fields of n with the id.
void WinRedrawFieldById(int n, int id);
// Draws the cells of one matrix row of n.
void WinMatrixDrawRow(int n, int row, uint32_t rowOffset, int flag);

// ---- field_draw.cpp ----
// Draws a field's value in r.
void WinDrawFieldValue(int n, const uint8_t *value, int type, int length, int F, const MacRect *r, bool right,
                       bool selected, bool struck);
// Draws a list cell's value in r.
void ListCellDraw(int n, const uint8_t *value, int type, int length, const MacRect *r, bool right, bool selected);
// Draws the frames of n's fields.
void WinDrawFieldFrames(int n);
// Grows the edit rectangle r to the text; sets n's editRectMoved.
void EditRectGrow(int n, const uint8_t *text, MacRect *r, bool inMatrix);
