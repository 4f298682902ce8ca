// report_frame.cpp - a report's column layout on the device and the
// selection header its pages start with: its first step, the stops and
// lines every report shares.
//
// Report bodies place things on a line 480 units wide. Stop 0 is the
// line's start, stop 1 its width and stop 10 the device's usable width,
// so the device scales the line onto itself (DeviceScaleSize).
#include <algorithm>
#include <cassert>

#include "core/date.h"
#include "core/pstring.h"
#include "core/system.h"
#include "core/field_types.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "reports/sales/report_frame.h"

namespace {

constexpr uint16_t ReportLineWidth = 480;
constexpr int VoucherReport = 25;   // prints its own header
constexpr uint16_t DateFieldType = 6;

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

// Writes header lines 0 (the title left, today's date right) and 1 (the
// company's name) through the page-header operations; nothing for the
// voucher print-out, which prints its own.
void ReportSelectionHeader(int report, const uint8_t *title)
{
    if (report == VoucherReport) return;
    RepHeaderLeft(0, title);
    PString date;
    FieldToText(reinterpret_cast<const uint8_t *>(&TodayDate), DateFieldType, date);
    RepHeaderRight(0, date);
    if (CompanyBlock) RepHeaderLeft(1, CompanyBlock + CompanyBlk::CompanyName);
}

// The whole selection header: the header emptied, its lines, its end.
void ReportHeaderForSelection(int report, const uint8_t *title)
{
    RepHeaderClear();
    ReportSelectionHeader(report, title);
    RepHeaderDone();
}
