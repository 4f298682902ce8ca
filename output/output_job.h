// output_job.h - the state of the output job that is running (a report,
// a document or a list on the printer, the preview, a file or a list
// box), the table through which the output layer reaches the runs that
// later subsystems own, and the list and picture operations of a job.
//
// The runs that later subsystems own (the report command, the selection
// check, the text export) are installed into OutputRunServices by the
// subsystems that build them; tests install doubles. The report
// writer's operations (texts, values, lines, pictures, the export
// stream) are the output layer's own: output/devices/report_output.h
// declares the rest of them. Until a run is installed its wrapper
// refuses: where the user asked for the run, the user is told (text
// FunctionNotYet) and the wrapper gives false; a call made from inside
// an output run sets the job's stop flag, so that the loop driving the
// run ends.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/memblock.h"
#include "core/msg_buffer.h"
#include "core/report_job.h"
#include "dict_offsets.h"

// ---- output_placeholders.cpp ----

// A device's position table: eleven stops in report units. Entry 0 other
// than 65535 lets positions 0..10 name the stops; entries 1 and 10 give
// the ratio (entry 10 / entry 1) by which report units become device
// units. The default maps nothing (ratio 1 on a 480-unit line).
using PositionTable = std::array<uint16_t, 11>;
constexpr PositionTable DefaultPositions{65535, 480, 0, 0, 0, 0, 0, 0, 0, 0, 480};

// The running output job: one for the whole program. Positions are points
// (1/72 inch) on the printer and the preview, lines on the character
// printer; horizontal ones are report units on a 480-unit line.
struct OutputJobStateRec {
    uint8_t stopFlag = 0;          // 1: cancelled or failed; every later operation of the job does nothing
    int32_t linePos = 0;           // current line position, from the top margin
    uint16_t headerLine = 65535;   // highest page-header line, 65535 none
    int32_t pageNumber = 0;        // pages started in this job
    int32_t originX = 0, originY = 0;   // page origin, points
    int32_t lineHeight = 12;       // the last line start's height; a line end advances by it
    int32_t layoutWidth = 0;       // 0 report, 600 document
    int32_t topMargin = 0, bottomMargin = 0, leftMargin = 0;   // printer units
    int32_t pageBottom = 1000000000;    // a line past it breaks the page (no limit at job start)
    uint8_t pageStarted = 0;       // a page is started and its header printed
    uint8_t pageDirty = 0;         // set by a page start, cleared by a break; the job's end breaks first
    uint8_t headerMode = 0;        // the preview is taking page-header lines
    int16_t lineColumn = 0;        // the current line's fill mark; 0 at every line start and advance
    int16_t charColumnEnd = 0;     // last character column used on the character printer's line
    int16_t charUnit = 0;          // report units a character column: 4 character printer, 6 preview
    uint16_t previewWindow = 0;    // the job's preview window, 0 none
    PositionTable positions = DefaultPositions;   // the device's table, reset at job start
    uint8_t writeFailed = 0;       // a file or port write failed: the job's end tells it
    // The job record the output prints from (ReportParamsVc layout): word
    // 0 the device, and the selection that a form, the selection header
    // and the page set-up read. The run attaches its job (OutputJobAttach).
    uint8_t *jobRecord = nullptr;
};
extern OutputJobStateRec OutputJobState;

// The job record the output prints from: the attached run's job; null
// while no run is attached.
uint8_t *CurrentJobRecord();

// A job with a selection buffer of its own, zero-filled: what a window
// fills from its record and hands to the run.
struct OwnedJob {
    std::vector<uint8_t> bytes = std::vector<uint8_t>(ReportParamsVc::Size, 0);
    ReportJob job{bytes.data()};
    OwnedJob() = default;
    OwnedJob(const OwnedJob &) = delete;
    OwnedJob &operator=(const OwnedJob &) = delete;
};

// Attaches a run's job to the output while it lives (a report run, a
// queued job, a batch routine, a test that calls a body itself).
class OutputJobAttach {
public:
    explicit OutputJobAttach(ReportJob &job) : OutputJobAttach(job.selection) {}
    explicit OutputJobAttach(uint8_t *record);
    ~OutputJobAttach();
    OutputJobAttach(const OutputJobAttach &) = delete;
    OutputJobAttach &operator=(const OutputJobAttach &) = delete;

private:
    uint8_t *previous;
};

// The runs of later subsystems; each null until installed.
struct OutputRunServicesRec {
    bool (*runReportCommand)(ReportJob &job);                    // opens the job's device, runs
    bool (*reportParamsCheck)(uint8_t *params);                  // false after FieldError
    bool (*runTextExport)(ReportJob &job, int kind);
};
extern OutputRunServicesRec OutputRunServices;
// Fills the tables of the layers beneath that the output layer serves
// (the business layer's prints, the end of a received job).
void OutputInstall();

// Runs the report that job selects on its device (the job attached to
// the output while it runs); false (told, stop flag set) when no report
// run is installed or the run failed.
bool RunReportCommand(ReportJob &job);
// Checks a job record's selection; false when refused (the check told why).
bool ReportParamsCheck(uint8_t *params);
// Runs text export `kind` for the job record; false when it did not run.
bool RunTextExport(ReportJob &job, int kind);
// Runs the maintenance routine of job: at the server as a client
// (request 30 with the job record), else here.
bool RunMaintenanceCall(ReportJob &job);

// ---- devices/rep_dispatch.cpp and the devices (output/devices/report_output.h declares the rest) ----
// A text (PString) at report position x of the current line: its left
// edge at x, or with a non-zero align its right edge. link is 0 for plain
// output (the preview keeps it for a drill-down).
void RepText(int x, int link, const uint8_t *text, int align);
// A field value of the given field type, formatted by its type, placed as RepText.
void RepValue(int x, int link, const uint8_t *value, int type, int align);
// Moves the current line down by n (one line on the character printer).
void RepAdvance(int32_t n);
// RepAdvance(1).
void RepLineFeed();
// A report position in device units through the job's position table.
int32_t DeviceScaleSize(int32_t x);
// Draws a packed bitmap block into the rectangle of a picture element
// (four PackedDecimal points: top, left, bottom, right); false when it was
// not drawn (no page, not a bitmap, the job stopped).
bool RepPicture(MemBlock dib, const uint8_t *rectBlock, int mode);
// Writes bytes to the open output file (the export stream); a write that
// fails, or no open file, stops the job.
void StreamWrite(const uint8_t *bytes, uint32_t n);
// Prints the page-header lines at the top of a printer or character-printer page.
void RepPrintPageHeader();

// ---- list_lines.cpp ----
// The list box a choice list fills (a window number, 0 none) and the
// number of lines added to it so far.
extern uint16_t ChoiceListWindow, ChoiceListPosition;
// Adds a line (a PString) to the current choice list: to the list box of
// ChoiceListWindow, or, at a server with a reply, into the reply; false
// when there is no list (or reply) to add to.
bool RepListAddLine(MsgBuffer *reply, const uint8_t *text);

// ---- picture_files.cpp ----
// Reads a picture file (PString name) and draws it through RepPicture in
// the rectangle a picture element gives; a file that cannot be read draws nothing.
void DrawBitmapFile(const uint8_t *name, const uint8_t *rectBlock, int mode);

// ---- font_list.cpp ----
// Adds the installed font families to the current choice list (`list`:
// the choice-list number asked for).
void EnumFontNames(int list);
// Adds one face (a PString) to the current choice list; false to stop.
bool FontEnumCallback(const uint8_t *face);
