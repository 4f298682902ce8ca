// form_page.cpp - form pages on the job's device: page start and end,
// lines, boxes and texts, and the close of the destination.
//
// Not built yet: no destination opens (PrintOpen refuses), so there is
// no page to draw on.
#include "output/devices/device_table.h"

// Starts a form page; not built yet: does nothing.
void FormPageStartLocal(const uint8_t *) {}

// Takes the form's page set-up; not built yet: does nothing.
void FormPageGeometryLocal(int, int, int, int) {}

// Draws a line element; not built yet: does nothing.
void FormLineOutLocal(const PackedDecimal[4], const PackedDecimal &) {}

// Draws a box element; not built yet: does nothing.
void FormBoxOutLocal(const PackedDecimal[4], const PackedDecimal &, int) {}

// Draws a text element; not built yet: does nothing.
void FormTextOutLocal(const uint8_t *, const PackedDecimal[4], const uint8_t *, int, int, int) {}

// Ends the form page; not built yet: does nothing.
void FormPageEndLocal() {}

// Closes the destination; not built yet: does nothing.
void RepOp30Local() {}
