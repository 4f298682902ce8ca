// layer_operations.h - small operations of the output layer used elsewhere:
// export fields, texts, the form designer's selection and drawing, and
// the printer-definition row window's OK.
#pragma once

#include <cstdint>

#include "core/decimal.h"
#include "core/memblock.h"

// The fixed-width field of a value (a PString of width characters of
// fill): its text by type at the left, or ending at the right edge when
// right is 1. A text is cut to width; a number that does not fit gives
// false (and an empty field).
bool PaddedField(const uint8_t *value, int type, int width, int fill, int right, uint8_t *field);
// Writes PaddedField as an export field; a number that does not fit
// stops the job and tells the user.
void RepPaddedValue(const uint8_t *value, int type, int width, int fill, int right);
// Every LF of a zero-terminated text becomes CR.
void LfToCr(char *text);
// The title of saved report definition `number` (block 163) into out,
// empty when there is none.
void SavedReportTitle(int number, uint8_t *out);
// The same, or the name of document kind `number` where it has one.
void RepWindowText(int number, uint8_t *out);
// An action that does nothing.
void RepNoOp(int window);

// ---- the form designer's selection and drawing ----
// True when item is in designer window n's selection.
bool DesignerItemSelected(int n, uint16_t item);
// True when item is one of the 16-bit items of list.
bool DesignerItemInList(uint16_t item, MemBlock list);
// The first selected item of designer window n; 65535 none.
uint16_t DesignerFirstSelected(int n);
// Frames a rectangle of four coordinates (top, left, bottom, right) in
// the current port with the pen width, the right and bottom edges one
// unit further out.
void DecRectFrame(const PackedDecimal rect[4], const PackedDecimal *penWidth, int word1, int word2);
// A line in XOR mode from the rectangle's first corner to its opposite one.
void DecRectXorLine(const PackedDecimal rect[4]);
// The designer window's content rectangle: below a 32-high pane header,
// 15 kept at the bottom for the scroll bar; its height is the pane's.
void DesignerContentRect(int n);

