// output_job.h - the state of the output job that is running (a report,
// a document or a list on the printer, the preview, a file or a list
// box), the table through which the output layer reaches the runs that
// later subsystems own, and the list and picture operations of a job.
//
// The runs (report commands, the job queue, printed pictures, selection
// checks, text exports, maintenance routines and the report writer's
// text, value and line calls) are installed into OutputRunServices by
// the subsystems that build them; tests install doubles. Until a run is
// installed its wrapper refuses: where the user asked for the run, the
// user is told (text FunctionNotYet) and the wrapper gives false; a call
// made from inside an output run sets the job's stop flag, so that the
// loop driving the run ends.
#pragma once

#include <array>
#include <cstdint>

#include "core/memblock.h"
#include "core/msg_buffer.h"

// ---- output_placeholders.cpp ----

// The running output job. Positions are points (1/72 inch) unless said.
struct OutputJobStateRec {
    uint8_t stopFlag = 0;          // 1: the dialog was cancelled or the document failed; loops poll it
    int32_t linePos = 0;           // current line position, points from the top margin
    uint16_t headerLine = 65535;   // highest page-header line, 65535 none
    int32_t pageNumber = 0;
    int32_t originX = 0, originY = 0;   // page origin, points
    int32_t lineHeight = 12;       // points
    int32_t layoutWidth = 0;       // 0 report, 600 document
    int32_t topMargin = 0, bottomMargin = 0, leftMargin = 0;   // printer units
    std::array<int32_t, 16> columnX{};  // the device's column table, points (column 0, 1, ...)
};
extern OutputJobStateRec OutputJobState;

// The runs of later subsystems; each null until installed.
struct OutputRunServicesRec {
    bool (*runReportCommand)();                                  // opens the device of ReportParams, runs
    bool (*repJobQueuePush)(const uint8_t *job, int flag);       // ring of 31; false when not queued
    bool (*repJobQueueRun)(int window);
    bool (*repPicture)(MemBlock dib, const uint8_t *rectBlock, int mode);
    bool (*reportParamsCheck)(uint8_t *params);                  // false after FieldError
    bool (*runTextExport)(int kind);
    bool (*runMaintenance)();                                    // the local batch routine of ReportParams
    void (*streamWrite)(const uint8_t *bytes, uint32_t n);       // the export stream
    void (*repText)(int x, int font, const uint8_t *text, int align);
    void (*repValue)(int x, int width, const uint8_t *value, int type, int align);
    void (*repLineFeed)();
    int32_t (*deviceScaleSize)(int32_t x);                       // null: x as it is
    void (*repPrintPageHeader)();                                // null: no header lines
    void (*repAdvance)(int32_t n);                               // null: linePos += n
};
extern OutputRunServicesRec OutputRunServices;

// Runs the report that ReportParams selects on its device; false (told,
// stop flag set) when no report run is installed or the run failed.
bool RunReportCommand();
// Queues a copy of a job record (flag: how it runs); false when not queued.
bool RepJobQueuePush(const uint8_t *job, int flag);
// Runs the job queue shown in window `window`; false when it did not run.
bool RepJobQueueRun(int window);
// Draws a packed bitmap block into the rectangle a picture element gives;
// false (stop flag set) when it was not drawn.
bool RepPicture(MemBlock dib, const uint8_t *rectBlock, int mode);
// Checks a job record's selection; false when refused (the check told why).
bool ReportParamsCheck(uint8_t *params);
// Runs text export `kind` for ReportParams; false when it did not run.
bool RunTextExport(int kind);
// Runs the maintenance routine of ReportParams: at the server as a client
// (request 30 with the job record), else through the installed routine.
bool RunMaintenanceCall();
// Writes bytes to the export stream (stop flag set when none is installed).
void StreamWrite(const uint8_t *bytes, uint32_t n);
// The report writer's text (a PString), value and line feed at the current line.
void RepText(int x, int font, const uint8_t *text, int align);
void RepValue(int x, int width, const uint8_t *value, int type, int align);
void RepLineFeed();
// A size in the job's report units on the device; x itself when no device scales.
int32_t DeviceScaleSize(int32_t x);
// Prints the page header's lines; nothing when none is installed.
void RepPrintPageHeader();
// Moves the current line down by n points.
void RepAdvance(int32_t n);

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
