// report_run.h - the report run: the dispatcher that turns a job record's
// report number into the body that prints it, the table of those bodies,
// the install of the run into the output layer, and the state a run keeps
// (Esc, the printer's page set-up).
#pragma once

#include <cstdint>

#include "core/memblock.h"
#include "shell/shell.h"

// Esc while a report runs; walks stop on it. The shell's flag under the
// name the report bodies use.
inline uint8_t &CancelFlag = UserCancelFlag;
// The last page set-up a printer run loaded; kept until the next printer run.
extern MemBlock PageSetupHandle;

constexpr int ReportFirst = -29, ReportLast = 116, ReportCount = ReportLast - ReportFirst + 1;

// What a report number runs: nothing, a body a later version brings
// (told as not available yet), a body, or report 9's choice by layout.
enum class ReportRowKind : uint8_t { None, Later, Body, ByLayout };

// One report number's row. Body: body() or, when body is null,
// bodyArg(arg). ByLayout: body for ReportLayout 0, bodyAlt otherwise.
// Later: arg is the argument its body will take.
struct ReportRowRec {
    ReportRowKind kind;
    void (*body)();
    void (*bodyAlt)();
    void (*bodyArg)(int);
    int16_t arg;
};

// The rows of -29..116 in order (report_table.cpp); tests swap one row
// and put it back.
extern ReportRowRec ReportTable[ReportCount];

// The row of a report number; null outside -29..116.
const ReportRowRec *ReportRow(int number);
// Runs the report ReportParams names: check, page set-up, body. No
// result: whatever went wrong was told by the check or the body.
void RunReport();
// Runs the report of ReportParams where it belongs: a client asks the
// server, anyone else runs it here.
void RunReportWhere();
// The output layer's report command: opens a file first where the device
// is a file, then runs; false when nothing ran or the job ended stopped.
bool ReportRunCommand();
// Takes a job record received from a client into ReportParams; a record
// of the wrong size is refused with a message (report_job.cpp).
bool ReportJobReceive(const uint8_t *bytes, uint32_t size);
// ReportJobReceive, then RunReport; false when the record was refused.
bool ReportJobRun(const uint8_t *bytes, uint32_t size);
// Installs the report command and the job-record check into the output layer.
void ReportsInstall();
// Polls the user's Esc; true when the running report is to stop after
// the record at hand.
bool ReportCancelled();
// A part of the report run not built yet: tells "not available yet" once
// a run and stops the job.
void ReportsNotBuilt();
// Lets the next run tell ReportsNotBuilt's message again.
void ReportsNotBuiltReset();
