// rep_dispatch.cpp - the report output operations: each decides between
// the remote road (an output command, remote_encode.cpp) and the job's
// device (the RepDevice of its output kind), and keeps the job, line and
// page model that every device shares.
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
#include "core/server_hooks.h"
#include "core/text_template.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "output/devices/device_table.h"
#include "output/formula/formula.h"
#include "output/job_queue.h"
#include "output/print_services_install.h"
#include "output/output_windows.h"
#include "output/printer.h"
#include "output/report_hooks.h"

uint8_t RemoteOutput = 0;
uint8_t RemoteOutputLost = 0;
uint8_t RemoteJobActive = 0;
ClientDeviceRec ClientDevice;
uint8_t PrintOpenOk = 0;
uint8_t FormFeedAtEnd = 1;
int16_t FormOriginX = 0, FormOriginY = 0;
MemBlock ReceivedPageSetup = 0;
MemBlock RepBufferBlock = 0;
uint32_t RepBufferUsed = 0;
PageHeaderLinesRec PageHeaderLines;

namespace {

constexpr uint16_t NoHeaderLines = 65535;
constexpr int32_t NoPageBottom = 1000000000;

// The device of every output kind; tests replace entries.
const RepDevice *Devices[DeviceKinds] = {
    nullptr, &PrinterDevice, &TextFileDevice, nullptr, nullptr, &BufferDevice, nullptr,
    nullptr, &BufferDevice, nullptr, &CharPrinterDevice, nullptr, &TabFileDevice,
};

// The device of the job's output kind, or null.
const RepDevice *JobDevice() { return RepDeviceOf(CurrentOutputKind()); }

// The report number of the job record (word 3), 0 without one.
int ReportNumberOfJob() {
    const uint8_t *job = CurrentJobRecord();
    return job ? GetI16(job, ReportParamsVc::ReportNumber) : 0;
}

// Expands a text template (a PString; null: empty) into out (256 bytes).
void Expand(const uint8_t *text, uint8_t *out)
{
    if (!text) {
        out[0] = 0;
        return;
    }
    ExpandTextTemplate(text, out);
}

// Devices 1 and 10 print the page header from the stored lines.
bool StoresHeader(uint16_t kind) { return kind == OutPrinter || kind == OutCharPrinter; }

// Stores a text in header line n (0..9) of the stored header, the left
// or the right one, and raises the highest line to n. Without a header
// block (no RepHeaderClear, or no memory for it) the line is dropped.
void HeaderStore(int n, bool right, const uint8_t *text)
{
    assert(n >= 0 && n < HeaderLineCount);
    uint8_t *p = MemLock(PageHeaderLines.block);
    if (!p) return;
    assert(MemSize(PageHeaderLines.block) >= uint32_t(HeaderLineCount * HeaderSlot));
    uint8_t *slot = p + n * HeaderSlot + (right ? HeaderRightAt : 0);
    PStringCopy(slot, text);   // a PString takes at most 256 bytes: the half slot
    MemUnlock(PageHeaderLines.block);
    uint16_t &highest = RepOutputState.headerLine;
    if (highest == NoHeaderLines || n > highest) highest = uint16_t(n);
}

// A header text of line n on the local road; a line outside the ten
// slots is dropped, never written past them.
void HeaderLineLocal(int n, bool right, const uint8_t *text)
{
    if (n < 0 || n >= HeaderLineCount) return;
    PString t;
    Expand(text, t);
    uint16_t kind = CurrentOutputKind();
    if (StoresHeader(kind)) {
        HeaderStore(n, right, t);
        return;
    }
    const RepDevice *d = RepDeviceOf(kind);
    if (d && d->headerLine) d->headerLine(n, right, t);
}

// The job start on a server: commands 1 (and 42 for a report job) for
// the client; a new job is not stopped and knows no client device yet.
void OpenJobRemote(const uint8_t *name, bool report)
{
    RepStopped = 0;
    ClientDevice = ClientDeviceRec{};
    PrinterMeasureFontFree();   // measured anew in the face the company names now
    RepEncOpenJob(name, report);
}

// The job start on the local device: the thousands separator for the
// devices people read, the state reset, the toolbar off, the cancel
// flags cleared, the device's own start, no page yet.
void OpenJobLocal(const uint8_t *title)
{
    uint16_t kind = CurrentOutputKind();
    ThousandsFlag = (kind == OutPrinter || kind == OutPreview || kind == OutCharPrinter) ? 1 : 0;
    OutputJobStateRec &s = RepOutputState;
    s.previewWindow = 0;
    RepStopped = 0;
    s.linePos = 0;
    s.lineColumn = 0;
    s.charColumnEnd = 0;
    s.charUnit = 0;
    s.pageBottom = NoPageBottom;
    s.headerMode = 0;
    s.headerLine = NoHeaderLines;
    MemFree(&PageHeaderLines.block);
    s.positions = DefaultPositions;
    s.writeFailed = 0;
    OutToolbarEnable(false);
    UserCancelFlag = 0;
    if (!RepDeviceOpenJob(kind, title)) RepStopped = 1;
    s.pageNumber = 0;
    s.pageStarted = 0;
    s.pageDirty = 0;
    VmResetCallDepth();
}

// A text on the local road: expanded and handed to the device; nothing
// for the kinds above 10 but the TAB file.
void TextLocal(int x, int font, int link, int align, int style, const uint8_t *text)
{
    uint16_t kind = CurrentOutputKind();
    if (kind > OutCharPrinter && kind != OutTabFile) return;
    const RepDevice *d = RepDeviceOf(kind);
    if (!d || !d->text) return;
    PString t;
    Expand(text, t);
    d->text(x, font, link, align, style, t);
}

}  // namespace

// ---- the device table ----

// The device of an output kind, or null.
const RepDevice *RepDeviceOf(uint16_t kind) { return kind < DeviceKinds ? Devices[kind] : nullptr; }

// The preview is a window: the ui layer puts its device into the table
// at start-up. Without it a preview job is refused and the user told, so
// that no report "runs" into a preview that never shows.
bool RepDeviceOpenJob(uint16_t kind, const uint8_t *title)
{
    const RepDevice *d = RepDeviceOf(kind);
    if (!d && kind == OutPreview) {
        ShowTextMessage(Texts::FunctionNotYet);
        return false;
    }
    return !d || !d->openJob || d->openJob(title);
}

// Puts d in place of kind's device and gives the previous one (null for
// a kind that cannot have a device, which keeps none).
const RepDevice *RepDeviceInstall(uint16_t kind, const RepDevice *d)
{
    if (kind >= DeviceKinds) return nullptr;
    const RepDevice *previous = Devices[kind];
    Devices[kind] = d;
    return previous;
}

// Word 0 of the job record the output prints from; 0 without one.
uint16_t CurrentOutputKind()
{
    const uint8_t *job = CurrentJobRecord();
    return job ? GetU16(job, ReportParamsVc::OutputKind) : 0;
}

// Start-up: blank character-printer lines and an empty ring of saved
// jobs. What the layer installs for others is OutputInstall's.
void RepOutputInit()
{
    RepBlankLine();
    JobQueueReset();
}

// Polls the cancel key (Esc); a cancel stops the job's output.
void RepPollStop()
{
    OutPollStop();
    if (UserCancelFlag) RepStopped = 1;
}

// Lets the user's Esc reach the cancel flag, then tells whether it is set.
bool ReportCancelled()
{
    OutPollStop();
    return UserCancelFlag != 0;
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

// What the report job open now has printed of its own. Headings and labels
// are interface texts (RepTextNr); a row shows a value or a text of the
// data. A report job (RepBeginJob) that ends without one says so in its
// body, once, here for every report: else a preview shows a bare header and
// a printer a page it never started. A document (RepOpenJob) says nothing.
struct RowWatchRec {
    bool reportJob = false;   // the open job was begun as a report
    bool rows = false;        // a value or a data text was printed
    int textNrDepth = 0;      // inside RepTextNr: the text is a heading
};
static RowWatchRec RowWatch;

static constexpr int NoRowsLineHeight = 15;

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
void RepOpenJob(const uint8_t *name)
{
    RowWatch = RowWatchRec{};
    if (RemoteOutput) {
        OpenJobRemote(name, false);
        return;
    }
    OpenJobLocal(name);
}

namespace {

// Lays out the job's report columns on the local device: its usable
// width (into *width), then the report's stops scaled onto it. Nothing
// while stopped or without the reports' frame (RepBeginJob tells that).
void LayOutColumnsLocal(int32_t *width)
{
    *width = 0;
    if (RepStopped || !ReportHooks.columnLayout) return;
    RepPageWidth(&RepOutputState.positions, width);
    ReportHooks.columnLayout(ReportNumberOfJob(), &RepOutputState.positions, *width);
}

// On a server, once the report job's command 1 is sent: the client's
// device, as it tells once it has opened the job, and the report's stops
// laid out on that device's width, so that a body measures its texts and
// places its columns as it does stand-alone on that device. A client
// that tells nothing leaves the stops unscaled and nothing measured, as
// on a file.
void LayOutColumnsForClient()
{
    uint16_t kind = 0;
    int32_t width = 0;
    if (!RepStopped && ServerHooks.clientDevice && ServerHooks.clientDevice(&kind, &width) &&
        kind == CurrentOutputKind() && width > 0)
        ClientDevice = ClientDeviceRec{kind, width};
    RepOutputState.positions = DefaultPositions;
    if (RepStopped || !ReportHooks.columnLayout) return;
    ReportHooks.columnLayout(ReportNumberOfJob(), &RepOutputState.positions, ClientDevice.width);
}

// The start of a report's job: remotely commands 1 and 42, locally the
// device's job start.
void OpenJobAsReport(const uint8_t *name)
{
    RowWatch = RowWatchRec{};
    if (RemoteOutput) OpenJobRemote(name, true);
    else OpenJobLocal(name);
}

// The report's columns on the job's device: the client's on a server.
void LayOutColumns()
{
    if (RemoteOutput) {
        LayOutColumnsForClient();
        return;
    }
    int32_t width = 0;
    LayOutColumnsLocal(&width);
}

}  // namespace

// Opens a job named `name` laid out as a report's: the job start, then
// the columns of the job record's report on the device's width; remotely
// the client lays them out on its own device (command 42) and the server
// on the width the client tells, so that a body measures its texts for
// that device. No selection header.
void RepOpenReportJob(const uint8_t *name)
{
    OpenJobAsReport(name);
    LayOutColumns();
}

// Opens a job with the expanded title, laid out as a report's, and
// prints the report's selection header (remotely as commands).
void RepBeginJob(const uint8_t *title)
{
    PString t;
    Expand(title, t);
    OpenJobAsReport(t);
    RowWatch.reportJob = true;
    // Without the reports' frame the job would print without its columns
    // and header: it is stopped (the device still ends it as it began).
    if (!ReportFrameReady()) {
        RepStopped = 1;
        return;
    }
    LayOutColumns();
    RepHeaderClear();
    ReportHooks.selectionHeader(ReportNumberOfJob(), t);
    RepHeaderDone();
}

// The client's part of a report job its server began (command 42, after
// the job's command 1): the report's columns laid out on the device as
// RepBeginJob lays them out stand-alone, so the server's positions land
// where they land there; the device's usable width into *width. The
// selection header is not printed here: the server sends it as commands.
void RepLayOutReceivedColumns(int32_t *width) { LayOutColumnsLocal(width); }

// RepBeginJob with interface text n as the title.
void RepBeginJobNr(int n)
{
    PString t;
    GetUiText(t, n);
    RepBeginJob(t);
}

// Ends the job: a report that printed no row says so (see RowWatchRec),
// a page still open is broken (flag 1), the device closes
// even after a cancel, a failed write is told once the device is closed,
// the header goes and the toolbar comes back.
void RepEndJob()
{
    if (RowWatch.reportJob && !RowWatch.rows && !RepStopped) {
        RepStartLine(NoRowsLineHeight);
        RepTextNr(0, 0, Texts::ReportNoRows, 0);
        RepEndLine();
    }
    RowWatch = RowWatchRec{};
    if (RemoteOutput) {
        RepEncWords(RepOp::EndJob, {});
        ClientDevice = ClientDeviceRec{};
        PrinterMeasureFontFree();
        return;
    }
    if (RepOutputState.pageDirty) RepNewPage(1);
    const RepDevice *d = JobDevice();
    if (d && d->endJob) d->endJob();
    if (RepOutputState.writeFailed) ShowTextMessage(Texts::OutputNotWritten);
    MemFree(&PageHeaderLines.block);
    OutToolbarEnable(true);
}

// ---- the page header ----

// Empties the page header: the stored lines of the printers (a fresh
// 5120-byte block), the preview's header mode; no line is defined.
void RepHeaderClear()
{
    if (RemoteOutput) {
        RepEncWords(RepOp::HeaderClear, {});
        return;
    }
    uint16_t kind = CurrentOutputKind();
    if (StoresHeader(kind)) {
        uint32_t bytes = uint32_t(HeaderLineCount * HeaderSlot);
        if (PageHeaderLines.block && MemSize(PageHeaderLines.block) == bytes) {
            uint8_t *p = MemLock(PageHeaderLines.block);
            if (p) ClearBytes(p, int(bytes));
            MemUnlock(PageHeaderLines.block);
        } else {
            MemFree(&PageHeaderLines.block);
            PageHeaderLines.block = MemAlloc(bytes);   // 0 (told): the lines are dropped
        }
    } else {
        const RepDevice *d = RepDeviceOf(kind);
        if (d && d->headerClear) d->headerClear();
    }
    RepOutputState.headerLine = NoHeaderLines;
}

// The left text of header line n.
void RepHeaderLeft(int n, const uint8_t *text)
{
    if (RemoteOutput) {
        RepEncHeader(RepOp::HeaderLeft, n, text);
        return;
    }
    HeaderLineLocal(n, false, text);
}

// The right text of header line n.
void RepHeaderRight(int n, const uint8_t *text)
{
    if (RemoteOutput) {
        RepEncHeader(RepOp::HeaderRight, n, text);
        return;
    }
    HeaderLineLocal(n, true, text);
}

// Ends the header's definition (the preview lays out its band).
void RepHeaderDone()
{
    if (RemoteOutput) {
        RepEncWords(RepOp::HeaderDone, {});
        return;
    }
    const RepDevice *d = JobDevice();
    if (d && d->headerDone) d->headerDone();
}

// ---- lines and pages ----

// Starts a line of height h, breaking the page first when the device
// says it does not fit. The height is kept even while stopped.
void RepStartLine(int h)
{
    OutputJobStateRec &s = RepOutputState;
    s.lineHeight = h;
    if (RemoteOutput) {
        if (!RepStopped) RepEncWords(RepOp::StartLine, {h});
        return;
    }
    if (RepStopped) return;
    const RepDevice *d = JobDevice();
    if (d && d->lineBreaks && d->lineBreaks(h)) RepNewPage(0);
    RepPageStartIfNeeded();
    s.lineColumn = 0;
    if (d && d->lineStart) d->lineStart();
}

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
void RepEndLine()
{
    if (!RepStopped) RepAdvance(RepOutputState.lineHeight);
}

// Writes the text file's pending line; polls the cancel key first.
void RepFlushLine()
{
    if (RemoteOutput) {
        RepEncWords(RepOp::FlushLine, {});
        return;
    }
    RepPollStop();
    if (RepStopped) return;
    const RepDevice *d = JobDevice();
    if (d && d->flushLine) d->flushLine();
}

// Ends the page: the device's page end unless stopped; in any case no
// page is started and the position is back at line 0.
void RepNewPage(int flag)
{
    if (RemoteOutput) {
        if (!RepStopped) RepEncWords(RepOp::NewPage, {flag});
        return;
    }
    const RepDevice *d = JobDevice();
    if (!RepStopped && d && d->pageEnd) d->pageEnd(flag);
    OutputJobStateRec &s = RepOutputState;
    s.pageStarted = 0;
    s.pageDirty = 0;
    s.linePos = 0;
}

// ---- texts, values, rules ----

// A text with a font and a style word; the text is expanded on the road
// that draws it. On a TAB-file job the server sends it as command 40.
void RepTextEx(int x, int font, int link, int align, int style, const uint8_t *text)
{
    if (RepStopped) return;
    if (RowWatch.textNrDepth == 0 && text && text[0] != 0) RowWatch.rows = true;
    if (RemoteOutput) {
        if (CurrentOutputKind() == OutTabFile)
            RepEncTabText(text);
        else
            RepEncText(x, font, link, align, style, text);
        return;
    }
    TextLocal(x, font, link, align, style, text);
}

// A text in the device's report font, plain.
void RepText(int x, int link, const uint8_t *text, int align) { RepTextEx(x, -1, link, align, 0, text); }

// RepText for a zero-terminated text (null: empty), cut at 255 characters.
void RepCText(int x, int link, const char *text, int align)
{
    PString t;
    PStringFromView(t, text ? std::string_view(text) : std::string_view());
    RepText(x, link, t, align);
}

// Interface text n as RepText; a server sends the number (command 14),
// or on a TAB-file job the text.
void RepTextNr(int x, int link, int n, int align)
{
    if (RepStopped) return;
    if (RemoteOutput && CurrentOutputKind() != OutTabFile) {
        RepEncWords(RepOp::TextNr, {x, link, align, 0, n});
        return;
    }
    PString t;
    GetUiText(t, n);
    RowWatch.textNrDepth++;
    RepTextEx(x, -1, link, align, 0, t);
    RowWatch.textNrDepth--;
}

// A value formatted by its field type, placed as RepTextEx. A server
// sends it as a value command (the client formats it); on a TAB-file job
// as its text.
void RepValueEx(int x, int font, int link, const uint8_t *value, int type, int align, int style)
{
    assert(value);
    if (RepStopped) return;
    RowWatch.rows = true;
    if (RemoteOutput && CurrentOutputKind() != OutTabFile) {
        RepEncValue(x, font, link, value, type, align, style);
        return;
    }
    PString t;
    FieldToText(value, uint16_t(type), t);
    RepTextEx(x, font, link, align, style, t);
}

// A value in the report font with a style word.
void RepValueFmt(int x, int link, const uint8_t *value, int type, int align, int style)
{
    RepValueEx(x, -1, link, value, type, align, style);
}

// A value in the report font, plain.
void RepValue(int x, int link, const uint8_t *value, int type, int align)
{
    RepValueEx(x, -1, link, value, type, align, 0);
}

// A rule over the page width (the device breaks, draws and advances 8).
void RepRuleFull(int end, int thickness)
{
    if (RepStopped) return;
    if (RemoteOutput) {
        RepEncWords(RepOp::RuleFull, {end, thickness});
        return;
    }
    const RepDevice *d = JobDevice();
    if (d && d->ruleFull) d->ruleFull(end, thickness);
}

// A rule from x1 to x2 on the current line (the device draws and feeds a line).
void RepRule(int x1, int x2, int thickness)
{
    if (RepStopped) return;
    if (RemoteOutput) {
        RepEncWords(RepOp::Rule, {x1, x2, thickness});
        return;
    }
    const RepDevice *d = JobDevice();
    if (d && d->rule) d->rule(x1, x2, thickness);
}

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
void RepWriteField(const uint8_t *text)
{
    if (RemoteOutput) {
        RepEncText1(RepOp::WriteField, text);
        return;
    }
    ExportPString(text);
}

// Shows a text in the import status window.
void RepStatusText(const uint8_t *text)
{
    if (RemoteOutput) {
        if (!RepStopped) RepEncText1(RepOp::StatusText, text);
        return;
    }
    OutImportStatusText(text);
}

// Closes the output file and opens the next one.
void RepNextFile()
{
    if (RemoteOutput) {
        RepEncWords(RepOp::NextFile, {});
        return;
    }
    RepReopenFileDevice();
}

// Remote only: sends a handle's contents; nothing locally.
void RepSendHandle(MemBlock h)
{
    if (RemoteOutput) RepEncHandle(h);
}

// The line "format" with the data file's format numbers.
void RepOp18()
{
    if (RemoteOutput) {
        RepEncWords(RepOp::FormatLine, {});
        return;
    }
    PrintFormatLine();
}

// ---- print destinations and form pages ----

// Opens a print destination: remotely command 28 (a new print is not
// stopped; the client's open decides the rest), locally PrintOpen.
int PrintOpenCall(int docType, int destWord, const uint8_t *title, const uint8_t *dest)
{
    if (RemoteOutput) {
        RepStopped = 0;
        RepEncPrintOpen(docType, destWord, title, dest);
        return RepStopped ? 0 : 1;
    }
    return PrintOpen(docType, destWord, title, dest) ? 1 : 0;
}

// Starts a form page.
void FormPageStart(const uint8_t *name)
{
    if (RemoteOutput) {
        RepEncText1(RepOp::FormPageStart, name);
        return;
    }
    if (!RepStopped) FormPageStartLocal(name);
}

// The form's page set-up: its line count and form-feed byte.
void FormPageGeometry(int lines, int word1, int word2, int formFeed)
{
    if (RemoteOutput) {
        RepEncGeometry(lines, word1, word2, formFeed);
        return;
    }
    if (!RepStopped) FormPageGeometryLocal(lines, word1, word2, formFeed);
}

// A line element of a form.
void FormLineOut(const PackedDecimal rect[4], const PackedDecimal &thickness)
{
    if (RemoteOutput) {
        RepEncForm(RepOp::FormLine, rect, thickness, 0);
        return;
    }
    if (!RepStopped) FormLineOutLocal(rect, thickness);
}

// A box element of a form.
void FormBoxOut(const PackedDecimal rect[4], const PackedDecimal &thickness, int mode)
{
    if (RemoteOutput) {
        RepEncForm(RepOp::FormBox, rect, thickness, mode);
        return;
    }
    if (!RepStopped) FormBoxOutLocal(rect, thickness, mode);
}

// A text element of a form; expanded on the road that draws it.
void FormTextOut(const uint8_t *text, const PackedDecimal rect[4], const uint8_t *fontRecord, int lineIndex,
                 int pitch, int align)
{
    if (RemoteOutput) {
        RepEncFormText(text, rect, fontRecord, lineIndex, pitch, align);
        return;
    }
    if (RepStopped) return;
    PString t;
    Expand(text, t);
    FormTextOutLocal(t, rect, fontRecord, lineIndex, pitch, align);
}

// Ends the form page; a stopped page still ends, so its port closes.
void FormPageEnd()
{
    if (RemoteOutput) {
        RepEncWords(RepOp::FormPageEnd, {});
        return;
    }
    FormPageEndLocal();
}

// Closes the print destination.
void RepOp30()
{
    if (RemoteOutput) {
        RepEncOp30();
        return;
    }
    RepOp30Local();
}

// A note for the client, which does nothing with it.
void RepFormNote(int n)
{
    if (RemoteOutput) RepEncWords(RepOp::FormNote, {n});
}

// Three words for the client, which does nothing with them.
void RepFormNote3(int a, int b, int c)
{
    if (RemoteOutput) RepEncWords(RepOp::FormNote3, {a, b, c});
}
