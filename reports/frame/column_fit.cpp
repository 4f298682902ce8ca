// column_fit.cpp - a text's width on the job's device in report units, and
// a text cut to a column's width (see column_fit.h).
#include "reports/frame/column_fit.h"

#include <algorithm>
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "output/printer.h"
#include "shell/draw_port.h"

namespace {

constexpr char Mark[] = "...";

// The device width in its own units of text, 0 for a device that places
// no text by width. A server measures as the client's device draws (the
// same fonts), once the client has told which device it opened and how
// wide it is; until then it measures nothing.
int DeviceWidth(const uint8_t *text)
{
    const uint16_t kind = CurrentOutputKind();
    if (RemoteOutput && ClientDevice.kind != kind) return 0;
    switch (kind) {
    case OutPreview: return DcPStringWidth(nullptr, text);   // the preview's font is the normal UI font
    case OutPrinter:
        if (RemoteOutput) return PrinterMeasureWidth(text);
        return Printer.job ? PrinterPStringWidth(text) : 0;
    default: return 0;
    }
}

// text's first `keep` characters followed by the mark, or with keepEnd
// the mark followed by its last `keep`, into out.
void Shortened(const uint8_t *text, int keep, bool keepEnd, uint8_t *out)
{
    assert(keep >= 0 && keep <= text[0]);
    out[0] = 0;
    PString part;
    part[0] = uint8_t(keep);
    std::memcpy(part + 1, text + 1 + (keepEnd ? text[0] - keep : 0), size_t(keep));
    if (keepEnd) PStringAppendC(out, Mark);
    PStringAppend(out, part);
    if (!keepEnd) PStringAppendC(out, Mark);
}

}  // namespace

int RepTextUnits(const uint8_t *text)
{
    assert(text);
    const int width = DeviceWidth(text);
    const PositionTable &stops = RepOutputState.positions;
    if (width <= 0 || stops[1] == 0 || stops[10] == 0 || stops[10] == 65535) return 0;
    // Device units back to the line's: rounded up, so a text said to fit does.
    return int((int64_t(width) * stops[1] + stops[10] - 1) / stops[10]);
}

bool RepDeviceDraws()
{
    static const uint8_t probe[] = {1, 'M'};
    return RepTextUnits(probe) > 0;
}

void RepCutToUnits(uint8_t *text, int units, bool keepEnd)
{
    assert(text);
    const int width = RepTextUnits(text);
    if (width == 0 || width <= units) return;   // nothing measured: kept whole
    // The longest part that fits with the mark (a longer part is never
    // narrower); at least the mark alone.
    PString shorter;
    int fits = 0, tooLong = std::min(int(text[0]), 255 - int(sizeof Mark - 1) + 1);
    while (tooLong - fits > 1) {
        const int keep = (fits + tooLong) / 2;
        Shortened(text, keep, keepEnd, shorter);
        if (RepTextUnits(shorter) <= units) fits = keep;
        else tooLong = keep;
    }
    Shortened(text, fits, keepEnd, shorter);
    PStringCopy(text, shorter);
}

int RepPositionUnits(int x)
{
    const PositionTable &stops = RepOutputState.positions;
    return stops[0] != 65535 && x >= 0 && x < int(stops.size()) ? int(stops[size_t(x)]) : x;
}

int RepAmountStart(int x, const PackedDecimal &amount, int type)
{
    uint8_t slot[sizeof(PackedDecimal)];
    PutDec(slot, 0, amount);
    PString text;
    FieldToText(slot, type, text);
    return RepPositionUnits(x) - RepTextUnits(text);
}

void RepFieldCut(int x, const uint8_t *record, RawOffset offset, int width, int units)
{
    uint8_t text[256];
    GetPString(record, offset, width, text);
    RepCutToUnits(text, units);
    RepTextEx(x, -1, 0, 0, 0, text);
}
