// report_frame.cpp - a report's column layout and selection header.
//
// Not built yet: no report has columns or a selection header.
#include "output/devices/report_output.h"
#include "reports/sales/report_frame.h"

// Lays out the report's columns; not built yet: the table stays as it is.
void ReportColumnLayout(int, PositionTable *, int32_t) {}

// Writes the selection header lines; not built yet: none.
void ReportSelectionHeader(int, const uint8_t *) {}

// Clears the header, writes the selection lines, ends the header; not
// built yet: does nothing.
void ReportHeaderForSelection(int, const uint8_t *) {}
