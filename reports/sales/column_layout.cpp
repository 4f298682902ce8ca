// column_layout.cpp - a report's column layout on the device: the stops
// every report shares.
//
// Report bodies place things on a line 480 units wide. Stop 0 is the
// line's start, stop 1 its width and stop 10 the device's usable width,
// so the device scales the line onto itself (DeviceScaleSize).
#include <algorithm>
#include <cassert>

#include "reports/sales/report_frame.h"

namespace {

constexpr uint16_t ReportLineWidth = 480;

}  // namespace

// Sets the stops every report shares: 0 the line's start, 1 its width,
// 10 the device width. A device without a width (files, buffers) keeps
// the ratio 1, so positions pass unscaled.
void ReportColumnLayout(int, PositionTable *stops, int32_t deviceWidth)
{
    assert(stops);
    PositionTable &s = *stops;
    s[0] = 0;
    s[1] = ReportLineWidth;
    s[10] = deviceWidth > 0 ? uint16_t(std::min<int32_t>(deviceWidth, 65535)) : ReportLineWidth;
}
