// designer.h - the form designer: the window of a form definition
// (register 91) whose content area shows the form's items one form unit
// a pixel, and the small part windows that edit one item or the form's
// own fields.
//
// Items are the definition's 182-byte rows, newest first (form_items.cpp
// describes them). Selection is the designer window's designerSelection:
// 16-bit row numbers in the order they were chosen. Rectangles are
// MacRects (top, left, bottom, right). A screen rectangle is an item's
// coordinates less FormOrigin (0, pane scroll - content top).
//
// Row numbers come from the mouse and the keys: every one is checked
// against the rows the definition has before it is read or written.
#pragma once

#include <cstdint>

#include "core/definitions.h"
#include "output/forms/form_item_kind.h"

// ---- designer_select.cpp ----
// The number of selected items of designer window w.
int DesignerSelectedCount(int w);
// Selected entry i of w (in selection order); -1 outside the selection.
int DesignerSelectedAt(int w, int i);
// Selects item n: without extend an unselected n replaces the selection
// and a selected n becomes the only one; with extend n is added.
void DesignerSelectItem(int w, int n, bool extend);
// Empties the selection, keeping n when it was selected, erasing the
// grab marks of every other item.
void DesignerSelectOnly(int w, int n);
// Adds to the selection every item whose screen rectangle lies strictly
// inside r (all four edges inside).
void DesignerClickSelect(int w, const MacRect *r);
// True when point (y high, x low) lies in the 5 x 5 grab mark round (x, y).
bool DesignerHitMark(int32_t point, int x, int y);
// Draws the focus frames of the selected items moved by (dx, dy); drawn
// again at the same place they erase.
void DesignerDragFrames(int w, int dx, int dy);

// ---- designer_items.cpp ----
// The vertical offset of w's screen from its form: pane scroll less the
// content rectangle's top (FormOrigin's y; its x is 0).
int DesignerOriginY(int w);
// The rows of w's form definition; 0 without a record.
int DesignerItemCount(int w);
// The screen rectangle of item n of w; false (out unchanged) for a row
// the definition does not have.
bool DesignerItemRect(int w, int n, MacRect *out);
// Adds an item of the kind in screen rectangle r as row 0, selects it
// alone and opens its part window. False, nothing added, while a part
// window is open, for a kind outside 1..5 or when w's record cannot be
// edited.
bool DesignerAddItem(int w, const MacRect *r, int kind);
// Moves every selected item by (dx, dy) form units and redraws them.
void DesignerMoveSelection(int w, int dx, int dy);
// The arrow keys 37 left, 38 up, 39 right and 40 down move the selection
// by one unit: true for those keys (even with nothing selected).
bool DesignerArrowKey(int w, int key);
// Gives every selected item the screen rectangle r.
void DesignerSetSelectionRect(int w, const MacRect *r);
// Removes the selected items, keeping the order of the others.
void DesignerDeleteSelection(int w);
// Moves the first selected item to the last row: it prints first, below
// all others.
void DesignerSendToBack(int w);
// A line item becomes vertical when it is not wider than high, else
// horizontal.
void DesignerNormaliseLine(uint8_t *item);
// Makes sure w's record is being edited; false when it cannot be.
bool DesignerEditing(int w);

// ---- designer_parts.cpp ----
// True while any of the eight part windows is open.
bool DesignerWindowOpen();
// Opens the part window of the first selected item's kind with a copy of
// the item, remembering the item's row.
void DesignerOpenPart(int w);
// Buttons 1..3 open the form's part windows, 4 sends the first selected
// item to the back; nothing while a part window is open.
void DesignerButton(int w, int button);
// OK of an item part window: its item written back to the row it was
// opened for when it changed; the part window closes in every case.
void DesignerItemOk(int part);
// OK of a form part window: bytes 4-485 written back when they changed;
// it closes in every case.
void DesignerPartOk(int part);
// OK of window n by its type name; false when n is no part window.
bool DesignerPartWindowOk(int n);

// ---- designer_paint.cpp ----
// Paints w's content: cleared, a line along its top, the items.
void DesignerPaint(int w);
// Erases area of w's content and draws the items that meet it.
void DesignerRedrawArea(int w, const MacRect *area);
// Draws the items of formDef that meet clip, last row first, with the
// grab marks of w's selected items.
void DesignerDrawItems(int w, const uint8_t *formDef, const MacRect *clip);
// Inverts the eight grab marks of screen rectangle r (twice erases them).
void DesignerInvertMarks(const MacRect *r);
// The thickness a line or box is drawn with: its text as a whole number,
// 1 for none, 0, a negative one or one above 10.
int DesignerThickness(const uint8_t *item);

// ---- designer_press.cpp ----
// A press at point in designer window w: a rubber band, a resize by a
// grab mark or a drag of the selection starts; false outside a
// designer's content.
bool DesignerPress(int w, int32_t point, bool shift);
// One move of a designer press in window w; false when the press in
// progress is not a designer's.
bool DesignerTrack(int w, int32_t point);
// Ends a designer press at point of window n: a drag of more than 3
// pixels moves the selection (a double click without one opens the
// item's part window), a rubber band adds an item with the tool or
// selects what it encloses, a resize gives the selection its frame.
// False when the press in progress is not a designer's.
bool DesignerRelease(int n, int32_t point);
