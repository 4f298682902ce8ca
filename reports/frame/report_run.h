// report_run.h - the report run: the dispatcher that turns a job record's
// report number into the body that prints it, the table of those bodies,
// the install of the run into the output layer, and the state a run keeps
// (Esc, the printer's page set-up).
#pragma once

#include <cstdint>
#include <string>

#include "core/memblock.h"
#include "core/work_blocks.h"
#include "output/devices/report_output.h"
#include "core/report_job.h"
#include "output/output_job.h"
#include "shell/shell.h"

// Esc while a report runs; walks stop on it. The shell's flag under the
// name the report bodies use.
inline uint8_t &CancelFlag = UserCancelFlag;
// The last page set-up a printer run loaded; kept until the next printer run.
extern MemBlock PageSetupHandle;

constexpr int ReportFirst = -29, ReportLast = 116, ReportCount = ReportLast - ReportFirst + 1;

// A report body, and one that takes an argument from its row.
using ReportBody = void (*)(ReportJob &);
using ReportArgBody = void (*)(ReportJob &, int);

// What a report number runs: nothing, a body, or report 9's choice by
// layout.
enum class ReportRowKind : uint8_t { None, Body, ByLayout };

// One report number's row. Body: body(job) or, when body is null,
// bodyArg(job, arg). ByLayout: body for ReportLayout 0, bodyAlt otherwise.
struct ReportRowRec {
    ReportRowKind kind;
    ReportBody body;
    ReportBody bodyAlt;
    ReportArgBody bodyArg;
    int16_t arg;
};

// Runs a row's body (or its argument body) over job; false when the row
// has neither.
bool RunRowBody(const ReportRowRec &row, ReportJob &job);

// A report number a module claims, and what it runs.
struct ReportRowEntry {
    int16_t number;
    ReportRowRec row;
};

constexpr ReportRowEntry BodyRow(int16_t number, ReportBody body)
{
    return {number, {ReportRowKind::Body, body, nullptr, nullptr, 0}};
}
constexpr ReportRowEntry ArgRow(int16_t number, ReportArgBody body, int16_t arg)
{
    return {number, {ReportRowKind::Body, nullptr, nullptr, body, arg}};
}
constexpr ReportRowEntry LayoutRow(int16_t number, ReportBody layout0, ReportBody otherLayouts)
{
    return {number, {ReportRowKind::ByLayout, layout0, otherLayouts, nullptr, 0}};
}

// One module's rows (reports/<module>/<module>_report_rows.cpp): the
// module names its own bodies, the frame only gathers them.
struct ReportModuleRows {
    const char *module;   // for the install's message
    const ReportRowEntry *entries;
    uint32_t count;
};

template <uint32_t N>
constexpr ReportModuleRows ModuleRows(const char *module, const ReportRowEntry (&entries)[N])
{
    return {module, entries, N};
}

// Gathers modules' rows into table (-29..116 in order). A number claimed
// twice, outside the range, claimed though it has no report, a row with
// no body, or a number with a report that no module claims is a fault
// named in *problem (the first found); the table is still filled with
// what could be placed. False on a fault.
bool GatherReportRows(const ReportModuleRows *modules, uint32_t count, ReportRowRec *table,
                      std::string *problem);

// The rows of -29..116 in order, gathered from the modules on first use;
// tests swap one row and put it back.
ReportRowRec *ReportTable();

// The row of a report number; null outside -29..116.
const ReportRowRec *ReportRow(int number);
// Runs the report job names: check, page set-up, body. No result:
// whatever went wrong was told by the check or the body.
void RunReport(ReportJob &job);
// Says why a report printed nothing, for a report that opens no job for
// want of what it prints (an item, an order): "Nothing to print: ",
// text `why` and a full stop, on the status line in place of the last
// print's line and in a message (report_dispatch.cpp).
void ReportPrintsNothing(int why);
// Runs the report of job where it belongs: a client asks the server,
// anyone else runs it here.
void RunReportWhere(ReportJob &job);
// The output layer's report command: opens a file first where the device
// is a file, then runs; false when nothing ran or the job ended stopped.
bool ReportRunCommand(ReportJob &job);
// Takes a job record received from a client into job; a record of the
// wrong size is refused with a message (report_job.cpp).
bool ReportJobReceive(const uint8_t *bytes, uint32_t size, ReportJob &job);
// ReportJobReceive into a job of its own, then RunReport; false when the
// record was refused.
bool ReportJobRun(const uint8_t *bytes, uint32_t size);
// Installs the report command and the job-record check into the output
// layer; a fault in the gathered report table is told (MessageSinkShow).
void ReportsInstall();
// The fault of the gathered report table, empty when there is none.
const std::string &ReportTableProblem();
