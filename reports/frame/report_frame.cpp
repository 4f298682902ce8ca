// report_frame.cpp - the selection header around the page-header
// definition: cleared, its lines, done.
#include "core/date.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/system.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "reports/frame/report_frame.h"

// The whole selection header: the header emptied, its lines, its end.
void ReportHeaderForSelection(int report, const uint8_t *title)
{
    RepHeaderClear();
    ReportSelectionHeader(report, title);
    RepHeaderDone();
}
