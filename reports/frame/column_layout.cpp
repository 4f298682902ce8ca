// column_layout.cpp - a report's column layout on the device: the stops
// every report shares and those each report places its columns at.
//
// Report bodies place things on a line 480 units wide. Stop 0 is the
// line's start, stop 1 its width and stop 10 the device's usable width,
// so the device scales the line onto itself (DeviceScaleSize). Stops 2..9
// are a report's own columns; a body writes the stop's index as its x.
#include <algorithm>
#include <cassert>

#include "core/field_access.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "reports/frame/report_frame.h"
#include "reports/frame/report_run.h"

namespace {

constexpr uint16_t W = 480;          // the line's width
constexpr uint16_t D = W / 5;        // a fifth of it, 96
constexpr uint16_t Keep = 0;         // a stop the row leaves as it was

// Stops 2..9 of one group of reports (Keep: not set). The values once
// computed as a product and truncated stand as their results: 412 is
// W - 0.7 D, 220 is W - 2.7 D, 336 is W - 1.5 D.
struct StopRow {
    uint16_t stops[8];
};

constexpr StopRow Stops1 = {{W - 50}};
constexpr StopRow Stops3 = {{80, (W - 80) / 2 + 120}};
constexpr StopRow Stops6 = {{80, W - 2 * D, W - D, W - 15, 130, 140, 412, 220}};
constexpr StopRow Stops8 = {{90, W - 2 * D, W - D}};
constexpr StopRow Stops9 = {{60, W - 2 * D, W - D, 293, 140, Keep, Keep, 220}};
constexpr StopRow Stops13 = {{100, 200, W - D}};
constexpr StopRow Stops16 = {{Keep, W - 2 * D, W - D, 336}};
constexpr StopRow Stops19 = {{50, W - 2 * D, W - D, W, 15}};
constexpr StopRow Stops27 = {{80, (W - 80) / 2 + 80}};
constexpr StopRow Stops28 = {{100, 200, W - D, Keep, W - 2 * D}};
constexpr StopRow Stops30 = {{60, W - 2 * D, W - D}};
constexpr StopRow Stops54 = {{W - D + 20, W - 2 * D + 40, W - 3 * D + 60, W - 50}};
constexpr StopRow Stops61 = {{50, 266, 312, 358, 404, 450, 220, 174}};
constexpr StopRow Stops83 = {{50, 266, 312, 358, 404, 450, 220}};

// The stop row of a report number; null for a number without one.
const StopRow *StopRowOf(int report)
{
    switch (report) {
    case 1: case 88: case 89: return &Stops1;
    case 3: return &Stops3;
    case 6: case 15: case 65: case 112: return &Stops6;
    case 8: case 10: case 11: case 12: case 77: case 80: case 90: case 113: return &Stops8;
    case 9: case 14: case 18: case 34: case 35: case 93: return &Stops9;
    case 13: return &Stops13;
    case 16: case 57: return &Stops16;
    case 19: case 20: case 21: case 22: case 33: case 60: case 63: return &Stops19;
    case 27: return &Stops27;
    case 28: return &Stops28;
    case 30: return &Stops30;
    case 54: case 64: case 81: case 110: case 116: return &Stops54;
    case 61: return &Stops61;
    case 83: return &Stops83;
    default:
        if (report >= 37 && report <= 51) return &Stops19;
        return nullptr;
    }
}

// The room reports 6, 65 and 112 leave right of their last amount column
// for the VAT codes and their heading.
constexpr uint16_t VatCodeRoom = 32;

// Report 6's stop 6: wider when its selection adds an object column.
uint16_t Report6Stop6()
{
    const uint8_t *selection = CurrentJobRecord();
    if (!selection) return 130;
    uint8_t type[256];
    GetText(selection, ReportParamsVc::ObjectType, type);
    if (type[0] != 0 || GetU16(selection, ReportParamsVc::Option4) != 0) return 200;
    if (GetU16(selection, ReportParamsVc::Option7) == 1) return 190;
    return 130;
}

}  // namespace

// Sets the stops of a report on the device: 0 the line's start, 1 its
// width, 10 the device width (a device without a width, a file or a
// buffer, keeps the ratio 1, so positions pass unscaled), and stops 2..9
// by the report's row. A number without a row sets 0, 1 and 10 only.
void ReportColumnLayout(int report, PositionTable *stops, int32_t deviceWidth)
{
    assert(stops);
    PositionTable &s = *stops;
    s[0] = 0;
    s[1] = W;
    s[10] = deviceWidth > 0 ? uint16_t(std::min<int32_t>(deviceWidth, 65535)) : W;
    const StopRow *row = StopRowOf(report);
    if (!row) return;
    for (int i = 0; i < 8; i++)
        if (row->stops[i] != Keep) s[2 + i] = row->stops[i];
    // The general ledger and the voucher rows of the sales invoices by
    // date and of the posted documents print each row's VAT code at the
    // right edge under a heading of its own: the balance or credit column
    // ends short of them.
    if (report == 6 || report == 65 || report == 112) s[5] = W - VatCodeRoom;
    if (report == 6) s[6] = Report6Stop6();
}
