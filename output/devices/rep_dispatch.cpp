// rep_dispatch.cpp - the report output operations: each decides between
// the remote road (an output command, remote_encode.cpp) and the job's
// device (the RepDevice of its output kind), and keeps the job, line and
// page model that every device shares.
//
// Not built yet but the device table, the position tables, the advance
// and the picture: the other operations do nothing (or refuse).
//
// The model: a job starts with its state reset (no page, line 0, no page
// bottom, the default position table) and the device's job start. The
// first line, text or rule that needs a page starts one (pageStarted,
// pageDirty, pageNumber + 1, then the device's page start, which prints
// the page header on the printers). A line that does not fit breaks the
// page first; RepNewPage ends a page and returns to line 0. RepEndJob
// breaks a page still open, closes the device and tells a failed write.
// While RepStopped is set every operation does nothing, on both roads,
// except those the command table leaves unguarded (the header lines, the
// advance, the end of the job), and RepEndJob always closes the device.
//
// The page header of the printer (1) and the character printer (10) is
// stored here, in PageHeaderLines; the preview takes its header lines as
// items through its device routines.
#include <algorithm>
#include <cassert>
#include <string_view>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/format_block.h"
#include "core/pstring.h"
#include "core/text_template.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "output/devices/device_table.h"
#include "output/printer.h"
#include "reports/sales/report_frame.h"
#include "shell/menus.h"
#include "shell/report_commands.h"
#include "shell/shell.h"
#include "shell/window_utils.h"

uint8_t RemoteOutput = 0;
uint8_t RemoteJobActive = 0;
uint8_t PrintOpenOk = 0;
uint8_t FormFeedAtEnd = 1;
int16_t FormOriginX = 0, FormOriginY = 0;
MemBlock ReceivedPageSetup = 0;
MemBlock RepBufferBlock = 0;
uint32_t RepBufferUsed = 0;
PageHeaderLinesRec PageHeaderLines;

namespace {

constexpr uint16_t DeviceKinds = 13;   // output kinds 0..12 may have a device

// The device of every output kind; tests replace entries.
const RepDevice *Devices[DeviceKinds] = {
    nullptr, &PrinterDevice, &TextFileDevice, nullptr, nullptr, &BufferDevice, &PreviewDevice,
    nullptr, &BufferDevice, nullptr, &CharPrinterDevice, nullptr, &TabFileDevice,
};

// The device of the job's output kind, or null.
const RepDevice *JobDevice() { return RepDeviceOf(CurrentOutputKind()); }

}  // namespace

// ---- the device table ----

// The device of an output kind, or null.
const RepDevice *RepDeviceOf(uint16_t kind) { return kind < DeviceKinds ? Devices[kind] : nullptr; }

// Puts d in place of kind's device and gives the previous one (null for
// a kind that cannot have a device, which keeps none).
const RepDevice *RepDeviceInstall(uint16_t kind, const RepDevice *d)
{
    if (kind >= DeviceKinds) return nullptr;
    const RepDevice *previous = Devices[kind];
    Devices[kind] = d;
    return previous;
}

// Stops the job of a device that is not built yet and tells the user; false.
bool RepDeviceNotYet()
{
    RepStopped = 1;
    ShowTextMessage(Texts::FunctionNotYet);
    return false;
}

// ReportParams word 0; 0 without a job record.
uint16_t CurrentOutputKind() { return ReportParams ? GetU16(ReportParams, ReportParamsVc::OutputKind) : 0; }

// Start-up: blank character-printer lines, and the end of a received job
// when the connection to the server ends.
void RepOutputInit()
{
    RepBlankLine();
    RemoteJobEndInstall(RepRemoteJobEnd);
}

// Polls the cancel key (Esc); a cancel stops the job's output.
void RepPollStop()
{
    PollStop();
    if (UserCancelFlag) RepStopped = 1;
}

// A report position through a position table (see PositionTable). A
// position outside 0..10 never indexes the table, and a table whose
// entry 1 is 0 does not scale.
int32_t DeviceScaleSize(const PositionTable &table, int32_t x)
{
    int64_t v = x;
    if (table[0] != 65535 && x >= 0 && x < int32_t(table.size())) v = table[size_t(x)];
    if (table[1] != table[10] && table[1] != 0) v = int64_t(table[10]) * v / table[1];
    return int32_t(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// A report position in device units through the job's table.
int32_t DeviceScaleSize(int32_t x) { return DeviceScaleSize(RepOutputState.positions, x); }

// Starts the page when none is started and the job is not stopped.
void RepPageStartIfNeeded()
{
    OutputJobStateRec &s = RepOutputState;
    if (RepStopped || s.pageStarted) return;
    s.pageStarted = 1;
    s.pageDirty = 1;
    s.pageNumber++;
    const RepDevice *d = JobDevice();
    if (d && d->pageStart) d->pageStart();
}

// ---- jobs ----

// Opens a job named `name`: remotely command 1 (a new job is not
// stopped), locally the device's job start.
// Not built yet: does nothing.
void RepOpenJob(const uint8_t *) {}

// Opens a job with the expanded title and prints the report's selection
// header: remotely as commands (the client opens its job without one),
// locally after the device's width and the report's columns are known.
// Not built yet: does nothing.
void RepBeginJob(const uint8_t *) {}

// RepBeginJob with interface text n as the title.
// Not built yet: does nothing.
void RepBeginJobNr(int) {}

// Ends the job: a page still open is broken (flag 1), the device closes
// even after a cancel, a failed write is told once the device is closed,
// the header goes and the toolbar comes back.
// Not built yet: does nothing.
void RepEndJob() {}

// ---- the page header ----

// Empties the page header: the stored lines of the printers (a fresh
// 5120-byte block), the preview's header mode; no line is defined.
// Not built yet: does nothing.
void RepHeaderClear() {}

// The left text of header line n.
// Not built yet: does nothing.
void RepHeaderLeft(int, const uint8_t *) {}

// The right text of header line n.
// Not built yet: does nothing.
void RepHeaderRight(int, const uint8_t *) {}

// Ends the header's definition (the preview lays out its band).
// Not built yet: does nothing.
void RepHeaderDone() {}

// ---- lines and pages ----

// Starts a line of height h, breaking the page first when the device
// says it does not fit. The height is kept even while stopped.
// Not built yet: does nothing.
void RepStartLine(int) {}

// Advances the position by n: the cancel key is polled first, then the
// device moves (and may break the page). On a server's TAB-file job the
// advance is the line end of command 41.
void RepAdvance(int32_t n)
{
    if (RemoteOutput) {
        if (CurrentOutputKind() != OutTabFile)
            RepEncWords(RepOp::Advance, {int(n)});
        else if (!RepStopped)
            RepEncTabLineEnd();
        return;
    }
    RepPollStop();
    if (RepStopped) return;
    const RepDevice *d = JobDevice();
    if (d && d->advance) d->advance(n);
}

// RepAdvance(1).
void RepLineFeed() { RepAdvance(1); }

// RepAdvance by the line height, unless stopped.
// Not built yet: does nothing.
void RepEndLine() {}

// Writes the text file's pending line; polls the cancel key first.
// Not built yet: does nothing.
void RepFlushLine() {}

// Ends the page: the device's page end unless stopped; in any case no
// page is started and the position is back at line 0.
// Not built yet: does nothing.
void RepNewPage(int) {}

// ---- texts, values, rules ----

// A text with a font and a style word; the text is expanded on the road
// that draws it. On a TAB-file job the server sends it as command 40.
// Not built yet: does nothing.
void RepTextEx(int, int, int, int, int, const uint8_t *) {}

// A text in the device's report font, plain.
// Not built yet: does nothing.
void RepText(int, int, const uint8_t *, int) {}

// RepText for a zero-terminated text (null: empty), cut at 255 characters.
// Not built yet: does nothing.
void RepCText(int, int, const char *, int) {}

// Interface text n as RepText; a server sends the number (command 14),
// or on a TAB-file job the text.
// Not built yet: does nothing.
void RepTextNr(int, int, int, int) {}

// A value formatted by its field type, placed as RepTextEx. A server
// sends it as a value command (the client formats it); on a TAB-file job
// as its text.
// Not built yet: does nothing.
void RepValueEx(int, int, int, const uint8_t *, int, int, int) {}

// A value in the report font with a style word.
// Not built yet: does nothing.
void RepValueFmt(int, int, const uint8_t *, int, int, int) {}

// A value in the report font, plain.
// Not built yet: does nothing.
void RepValue(int, int, const uint8_t *, int, int) {}

// A rule over the page width (the device breaks, draws and advances 8).
// Not built yet: does nothing.
void RepRuleFull(int, int) {}

// A rule from x1 to x2 on the current line (the device draws and feeds a line).
// Not built yet: does nothing.
void RepRule(int, int, int) {}

// A picture block in the rectangle of a picture element: on the printer
// only; the other devices draw no pictures (true). False when it was not
// drawn.
bool RepPicture(MemBlock dib, const uint8_t *rectBlock, int mode)
{
    if (RemoteOutput) {
        RepEncPicture(dib, rectBlock, mode);
        return !RepStopped;
    }
    if (RepStopped) return false;
    if (CurrentOutputKind() != OutPrinter) return true;
    if (!rectBlock) return false;
    PackedDecimal c[4];
    for (uint32_t i = 0; i < 4; i++) c[i] = GetDec(rectBlock, i * sizeof(PackedDecimal));
    return PrintBitmapInRect(dib, c, mode);
}

// ---- exports and the other commands ----

// Appends a field to the export line.
// Not built yet: does nothing.
void RepWriteField(const uint8_t *) {}

// Shows a text in the import status window.
// Not built yet: does nothing.
void RepStatusText(const uint8_t *) {}

// Closes the output file and opens the next one.
// Not built yet: does nothing.
void RepNextFile() {}

// Remote only: sends a handle's contents; nothing locally.
// Not built yet: does nothing.
void RepSendHandle(MemBlock) {}

// The line "format" with the data file's format numbers.
// Not built yet: does nothing.
void RepOp18() {}

// ---- print destinations and form pages ----

// Opens a print destination: remotely command 28 (a new print is not
// stopped; the client's open decides the rest), locally PrintOpen.
// Not built yet: refused (0).
int PrintOpenCall(int, int, const uint8_t *, const uint8_t *) { return 0; }

// Starts a form page.
// Not built yet: does nothing.
void FormPageStart(const uint8_t *) {}

// The form's page set-up: its line count and form-feed byte.
// Not built yet: does nothing.
void FormPageGeometry(int, int, int, int) {}

// A line element of a form.
// Not built yet: does nothing.
void FormLineOut(const PackedDecimal[4], const PackedDecimal &) {}

// A box element of a form.
// Not built yet: does nothing.
void FormBoxOut(const PackedDecimal[4], const PackedDecimal &, int) {}

// A text element of a form; expanded on the road that draws it.
// Not built yet: does nothing.
void FormTextOut(const uint8_t *, const PackedDecimal[4], const uint8_t *, int, int, int) {}

// Ends the form page; a stopped page still ends, so its port closes.
// Not built yet: does nothing.
void FormPageEnd() {}

// Closes the print destination.
// Not built yet: does nothing.
void RepOp30() {}

// A note for the client, which does nothing with it.
// Not built yet: does nothing.
void RepFormNote(int) {}

// Three words for the client, which does nothing with them.
// Not built yet: does nothing.
void RepFormNote3(int, int, int) {}
