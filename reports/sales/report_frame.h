// report_frame.h - the frame every report prints in: its column layout on
// the device and its selection header (the page-header lines a report's
// selection gives).
#pragma once

#include "output/output_job.h"

// Lays out report `report`'s columns into the position table `stops` for
// a device `deviceWidth` units wide.
void ReportColumnLayout(int report, PositionTable *stops, int32_t deviceWidth);
// Writes report `report`'s selection header lines (title `title`) through
// the page-header operations.
void ReportSelectionHeader(int report, const uint8_t *title);
// The whole selection header: the header cleared, its lines, the header done.
void ReportHeaderForSelection(int report, const uint8_t *title);
