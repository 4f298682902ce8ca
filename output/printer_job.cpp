// printer_job.cpp - print jobs, their documents and pages, and the page
// number at a page's foot.
//
// A job is one PDF document (platform/print.h). A report job is started by
// PrintJobStartReport and ended by PrinterEndDoc. A document job (forms)
// is started by PrintJobStartDoc, which nests: each successful start is
// matched by one PrintJobEnd, and only the outermost end writes the file,
// so that a form printed inside another job's document lands in it.
// A job that cannot be started or written is told to the user and sets
// the output job's stop flag, which ends the loops that print into it; a
// written one is named on the status line.
#include <cassert>
#include <cstring>
#include <filesystem>
#include <string>

#include "core/company_variant.h"
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "output/output_windows.h"
#include "output/page_setup_bytes.h"
#include "output/printer.h"
#include "platform/dialog.h"
#include "platform/font.h"

PrinterStateRec Printer;

namespace {

// Highest page-header line of a job that has none.
constexpr uint16_t NoHeaderLines = 65535;
// The report font's size in points.
constexpr int32_t ReportFontSize = 12;

// Stops the output job; false.
bool Stop()
{
    OutputJobState.stopFlag = 1;
    return false;
}

// Tells the user that the printed file at `where` could not be written.
void TellNotWritten(const std::string &where)
{
    PString path;
    PStringFromView(path, where);
    ShowMessage(Texts::PrintFileNotWritten, path);
}

// Says on the status line where the printed file went: its full path,
// as the file system names it, in the program's character set.
void TellWhereWritten(const std::string &where)
{
    std::error_code ec;
    std::filesystem::path full = std::filesystem::absolute(where, ec);
    char prefix[256];
    GetUiTextC(prefix, Texts::PrintedTo);
    OutStatusLineSet(prefix + PlUtf8ToCp1252((ec ? std::filesystem::path(where) : full.lexically_normal()).string()));
}

// The print command running (PrintCommandBegin to PrintCommandEnd):
// whether its dialog was answered yet, and how.
struct PrintCommandRec {
    bool running = false;
    bool answered = false;
    bool printing = false;    // the answer: OK (print on `choice`) or cancelled
    PlPrintChoice choice;
};
PrintCommandRec PrintCommand;

// The dialog of ChoosePrinter: once per print command (its later jobs
// take the first answer), else each time it is asked. A cancel is said
// on the status line.
bool AskPrinter(PlPrintChoice *choice)
{
    if (PrintCommand.running && PrintCommand.answered) {
        if (PrintCommand.printing) *choice = PrintCommand.choice;
        return PrintCommand.printing;
    }
    bool ok = DlgPrintDialog(OutDialogOwner(), choice);
    if (!ok) {
        // Said where a printed file would be named: a user who closed the
        // dialog by mistake sees that nothing went out.
        char said[256];
        GetUiTextC(said, Texts::PrintDialogCancelled);
        OutStatusLineSet(said);
    }
    if (PrintCommand.running) {
        PrintCommand.answered = true;
        PrintCommand.printing = ok;
        if (ok) PrintCommand.choice = *choice;
    }
    return ok;
}

// The printer a job prints on, into *choice (one copy). A page set-up
// the server sent for this job is taken (once) before anything else.
// When `ask`, or within a print command, the print dialog of the MDI
// client, primed with that set-up or the one the user stored for the
// job's window type; otherwise the default printer, without asking. False
// when the dialog was cancelled.
bool ChoosePrinter(bool ask, PlPrintChoice *choice)
{
    choice->copies = 1;
    bool received = ReceivedPageSetup != 0;
    if (received) {
        PageSetupFromHandle(ReceivedPageSetup, &choice->setup);   // a damaged one leaves the defaults
        MemFree(&ReceivedPageSetup);
    }
    if (!ask && !PrintCommand.running) return true;
    if (!received) {
        const uint8_t *job = CurrentJobRecord();
        int windowType = job ? GetI16(job, ReportParamsVc::SelWinType) : 0;
        MemBlock stored = 0;
        OutPageSetupLoad(windowType, PageSetupDialogFlag, &stored);
        if (stored) {
            PageSetupFromHandle(stored, &choice->setup);
            MemFree(&stored);
        }
    }
    return AskPrinter(choice);
}

// The margins of the open document: a report keeps a tenth of the page
// width on the left (device units) and, on a page wider in pixels than
// it is high in points, a twentieth of the page height above and below
// (points); a document (form) places its elements itself and has none.
void SetMargins(bool report)
{
    OutputJobStateRec &s = OutputJobState;
    s.leftMargin = report ? Printer.pageWidth / 10 : 0;
    int32_t offset = report && Printer.pageWidth > Printer.pageHeightPt ? Printer.pageHeightPt / 20 : 0;
    s.topMargin = s.bottomMargin = offset;
}

// Opens the document of a job (PString title; `report`: a report job)
// and takes the device's resolutions, page size, margins and fonts. The
// page height is counted in points from the device units, so that a page
// that is not a whole number of inches high keeps its last part; a
// report's usable height leaves room for two lines of its 12-point font.
// False (told, stop flag set, nothing left open) when the file or the
// fonts cannot be made.
bool OpenDocument(const PlPrintChoice &choice, const uint8_t *title, bool report)
{
    assert(Printer.job == nullptr);
    PlPrintSettings settings = DlgPrintSettings(choice);
    PlPrintJob *job = PrintStartDoc(settings, PStringView(title));
    if (!job) {
        TellNotWritten((std::filesystem::path(settings.directory) / settings.fileName).string());
        return Stop();
    }
    Printer.job = job;
    Printer.dc = nullptr;
    Printer.dpiX = PrintDpiX(job);
    Printer.dpiY = PrintDpiY(job);
    PlSize page = PrintPageSize(job);
    Printer.pageWidth = page.cx;
    Printer.pageHeightPt = page.cy * 72 / Printer.dpiY;
    SetMargins(report);
    Printer.usableHeightPt = Printer.pageHeightPt - OutputJobState.topMargin - OutputJobState.bottomMargin -
                             2 * ReportFontSize;
    Printer.prevTextEnd = -1;
    Printer.docOpen = false;
    Printer.nesting = 0;
    if (!PrinterFontsInit()) {
        TellNotWritten(PrintJobPath(job));
        PrintAbortDoc(job);
        Printer.job = nullptr;
        return Stop();
    }
    PString busy;
    GetUiText(busy, Texts::PrintStarting);
    OutBusyShow(busy);
    return true;
}

// Ends the open document: its open page, its fonts, its file. A file that
// could not be written completely is told and stops the output job.
void CloseDocument()
{
    PlPrintJob *job = Printer.job;
    if (!job) return;
    std::string path = PrintJobPath(job);
    PrinterFontsFree();
    bool written = PrintEndDoc(job);
    Printer.job = nullptr;
    Printer.dc = nullptr;
    Printer.docOpen = false;
    Printer.nesting = 0;
    OutBusyClose();
    if (!written) {
        TellNotWritten(path);
        Stop();
        return;
    }
    TellWhereWritten(path);
}

}  // namespace

// Starts a print command: its first job asks for the printer.
void PrintCommandBegin() { PrintCommand = PrintCommandRec{true, false, false, {}}; }

// Ends the print command: later jobs ask only as their own set-up says.
void PrintCommandEnd() { PrintCommand = PrintCommandRec{}; }

// Starts the print job of a report: no page-header lines yet, the printer
// (asked for when the job record's SetupDialog word is 1), the document
// titled `title`, layout width 0. False (stop flag set) when the dialog
// was cancelled, the document could not start or a job is already open.
bool PrintJobStartReport(const uint8_t *title)
{
    OutputJobState.headerLine = NoHeaderLines;
    if (Printer.job) return Stop();
    PlPrintChoice choice;
    const uint8_t *job = CurrentJobRecord();
    bool ask = job && GetI16(job, ReportParamsVc::SetupDialog) == 1;
    if (!ChoosePrinter(ask, &choice)) return Stop();
    OutputJobState.layoutWidth = 0;
    return OpenDocument(choice, title, true);
}

// Starts a document job or nests in the open one. The first start asks
// for the printer when setupFlag is 1, opens the document with layout
// width 600, line 0 and the page origin at (0, 0). 1 when printing goes
// on, counted for one PrintJobEnd; 0, not counted, when the job is
// stopped or could not start.
int PrintJobStartDoc(int unused, int setupFlag, const uint8_t *title)
{
    if (!Printer.docOpen) {
        if (Printer.job) return Stop();   // a report job is printing
        OutputJobState.stopFlag = 0;      // a new job has not been stopped
        PlPrintChoice choice;
        if (!ChoosePrinter(setupFlag == 1, &choice)) return Stop();
        OutputJobState.layoutWidth = 600;
        if (!OpenDocument(choice, title, false)) return 0;
        OutputJobState.linePos = 0;
        OutputJobState.originX = OutputJobState.originY = 0;
        Printer.docOpen = true;
    }
    if (OutputJobState.stopFlag) return 0;
    Printer.nesting++;
    return 1;
}

// Ends one level of a document job; the outermost end ends the document.
// An end without a start does nothing.
void PrintJobEnd()
{
    if (Printer.nesting <= 0) return;
    if (--Printer.nesting > 0) return;
    if (Printer.docOpen) CloseDocument();
}

// Starts a page (when none is open) in the normal font; texts draw on it
// without a background.
void PrinterStartPage()
{
    if (!Printer.job || Printer.dc) return;
    if (!PrintStartPage(Printer.job)) {
        Stop();
        return;
    }
    Printer.dc = PrintPageDc(Printer.job);
    DcSetBkMode(Printer.dc, PlBkMode::Transparent);
    Printer.prevTextEnd = -1;
    SelectFontOf(false);
}

// Ends the open page.
void PrinterEndPage()
{
    if (!Printer.job || !Printer.dc) return;
    Printer.dc = nullptr;   // the page's context ends with it
    PrintEndPage(Printer.job);
}

// Ends the open page, if any, and starts the next: line 0, the page
// header in the bold font, then the normal font.
void PrinterNewPage()
{
    if (!Printer.job) return;
    PrinterEndPage();
    PrinterStartPage();
    SelectFontOf(true);
    OutputJobState.linePos = 0;
    RepPrintPageHeader();
    SelectFontOf(false);
}

// Ends the job's document, whatever job it is.
void PrinterEndDoc() { CloseDocument(); }

// At the foot of a page of a job with page-header lines, in the company
// variant that asks for it: the page number right-aligned at column 1 and
// the program's name (with `flag`: followed by " (of) ") at column 0, in
// bold. The page ends in every case.
void PrinterPageNumber(int flag)
{
    if (OutputJobState.headerLine != NoHeaderLines && CompanyVariantIs(CountryVariant::V25)) {
        SelectFontOf(true);
        OutputJobState.linePos = Printer.usableHeightPt + 20;
        PString text, part;
        GetUiText(text, Texts::PagePrefix);
        LongToDigitText(OutputJobState.pageNumber, part);
        PStringAppend(text, part);
        PrinterTextAtColumn(1, true, text);
        GetUiText(text, Texts::ProgramTitle);
        if (flag) {
            PStringAppendC(text, " (");
            GetUiText(part, Texts::PageNumberOf);
            PStringAppend(text, part);
            PStringAppendC(text, ") ");
        }
        PrinterTextAtColumn(0, false, text);
        SelectFontOf(false);
    }
    PrinterEndPage();
}
