// device_units.cpp - the usable width of the job's device, in its own
// units, from which a report's column layout scales the 480-unit line.
//
// The printer's margins: a tenth of the page width on the left and a
// fortieth on the right, so its usable width is what is left between
// them (device pixels). The preview keeps 10 pixels on the left and 26 on
// the right of its client area. The character printer's line is the
// report's own 480 units (120 columns of 4). The files and the buffer
// have no width.
#include <cassert>

#include "core/definitions.h"
#include "output/devices/device_table.h"
#include "output/output_windows.h"
#include "output/printer.h"

namespace {

constexpr int32_t PreviewMargins = 10 + 26;   // left and right, pixels
constexpr int32_t CharPrinterWidth = 480;     // report units

// The usable width of the open printer document; 0 without one.
int32_t PrinterUsableWidth()
{
    if (!Printer.job) return 0;
    int32_t w = Printer.pageWidth;
    return w - w / 10 - w / 40;
}

// The usable width of the job's preview window; 0 without one.
int32_t PreviewUsableWidth()
{
    int n = RepOutputState.previewWindow;
    MacRect r;
    if (n <= 0 || !OutWindowClientRect(n, &r)) return 0;
    int32_t w = int32_t(r.right) - r.left - PreviewMargins;
    return w > 0 ? w : 0;
}

}  // namespace

// The current device's position table (left as the job start set it)
// and its usable width in device units, 0 for a device without one.
void RepPageWidth(PositionTable *table, int32_t *width)
{
    assert(table && width);
    switch (CurrentOutputKind()) {
    case OutPrinter: *width = PrinterUsableWidth(); break;
    case OutPreview: *width = PreviewUsableWidth(); break;
    case OutCharPrinter: *width = CharPrinterWidth; break;
    default: *width = 0; break;
    }
}
