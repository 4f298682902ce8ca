// print_destination.cpp - the destinations a form print (invoices,
// orders, statements) goes to, and their opening.
//
// A destination is a short text: "P" or empty the printer, "S" the
// preview, "F" a file of TAB-separated fields, "0" nothing (only the busy
// message shows the title), "1", "5", "LPT1", "LPT2" and "COM1" the
// character printer on that port. Any other text keeps the job's output
// kind. The character printer's port is opened at each page start, not
// here.
#include <string_view>

#include "core/company_variant.h"
#include "core/field_access.h"
#include "core/format_block.h"
#include "core/pstring.h"
#include "core/text_template.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "output/devices/device_table.h"
#include "output/output_windows.h"
#include "output/printer.h"

PString PrintSetupTexts[3];
PString PrintDestination;
int16_t FormPagesStarted = 0;

namespace {

constexpr uint8_t EmptyText[1] = {0};

// The output kind a destination text names; false for a text that names none.
bool KindOfDestination(const uint8_t *dest, uint16_t *kind)
{
    std::string_view d = dest ? PStringView(dest) : std::string_view();
    if (d.empty() || d == "P") {
        *kind = OutPrinter;
    } else if (d == "S") {
        *kind = OutPreview;
    } else if (d == "F") {
        *kind = OutTabFile;
    } else if (d == "0") {
        *kind = OutNone;
    } else if (d == "1" || d == "5" || d == "LPT1" || d == "LPT2" || d == "COM1") {
        *kind = OutCharPrinter;
    } else {
        return false;
    }
    return true;
}

// Refuses the print: stopped, false.
bool Refuse()
{
    RepStopped = 1;
    return false;
}

}  // namespace

// Opens a form print to `dest` with the title (expanded): the output
// kind from the destination (an unknown text keeps the kind), then the
// device: the printer's document job (document type and destination
// word as its arguments), a preview window, the TAB file (chosen and
// created now), the busy message for "0"; the character printer waits
// for the page start. False (stopped) when the device did not open or
// the kind cannot take a form, which is told. While a batch run whose
// window chose the device is printing (PrintKeepsRunDevice), an empty
// destination (a form choice or printer that names none) keeps the
// device the user chose instead of sending the run to the printer.
bool PrintKeepsRunDevice = false;

bool PrintOpen(int docType, int destWord, const uint8_t *title, const uint8_t *dest)
{
    CharGridColumns = int16_t(CompanyVariantIs(CountryVariant::V15) ? 130 : 120);   // variant 15's forms are wider
    RepStopped = 0;
    FormFeedAtEnd = 1;
    FormPagesStarted = 0;
    FormOriginX = FormOriginY = 0;
    PString t;
    ExpandTextTemplate(title ? title : EmptyText, t);
    PStringCopy(PrintDestination, dest ? dest : EmptyText);
    uint8_t *job = CurrentJobRecord();
    if (!job) return Refuse();
    uint16_t kind = 0;
    const bool keep = PrintKeepsRunDevice && (!dest || dest[0] == 0) && CurrentOutputKind() != 0;
    if (!keep && KindOfDestination(dest, &kind)) PutU16(job, ReportParamsVc::OutputKind, kind);
    kind = CurrentOutputKind();
    ThousandsFlag = (kind == OutPrinter || kind == OutPreview || kind == OutCharPrinter) ? 1 : 0;
    switch (kind) {
    case OutNone:
        OutBusyShow(t);
        return true;
    case OutPrinter:
        return PrintJobStartDoc(docType, destWord, t) == 1 || Refuse();
    case OutPreview: {
        RepOutputState.previewWindow = 0;   // the device's job start opens the window
        if (!RepDeviceOpenJob(OutPreview, t) || RepOutputState.previewWindow == 0) return Refuse();
        RepOutputState.linePos = 0;
        return true;
    }
    case OutTabFile:
        RepOpenFileDevice();
        return !RepStopped;
    case OutCharPrinter:
        return true;
    default:
        ShowTextMessage(Texts::OutputNotWritten);
        return Refuse();
    }
}
