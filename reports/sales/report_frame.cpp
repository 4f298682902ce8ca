// report_frame.cpp - the selection header a report's pages start with:
// the lines every report shares.
#include "core/date.h"
#include "core/pstring.h"
#include "core/system.h"
#include "core/field_types.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "reports/sales/report_frame.h"

namespace {

constexpr int VoucherReport = 25;   // prints its own header
constexpr uint16_t DateFieldType = 6;

}  // namespace

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
