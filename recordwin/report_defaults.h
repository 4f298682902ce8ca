// report_defaults.h - the default selection of report windows and the
// queueing of a selection once per code (report_defaults.cpp), and the
// report windows' events that use them (report_events.cpp).
#pragma once

#include <cstdint>

#include "core/report_job.h"

// The window type whose defaults a preview's drill-down takes: the
// general ledger's selection, whose report the drill-down runs.
constexpr int DrillDownDefaultsType = 425;
// The report a preview's drill-down runs.
constexpr int DrillDownReport = 6;

// Fills every selection field of a report selection (a record of the job
// record's size) after its first words with its default: the common ones,
// then the set of window type `type` for the report number the record
// already holds (report_defaults_table.h).
void ReportSelectionDefaults(uint8_t *record, int type);
// Leaves a selection's period open (no period text, no dates).
void ReportPeriodOpen(uint8_t *record);
// Queues `job` once per code of its object list (empty: once); the
// number of jobs queued. A list whose ranges hold no object queues
// nothing and tells the user. The list is put back afterwards.
int ReportJobsPerCode(uint8_t *job);

// Event 14 (opened with given values) and event 22 of the previous-month
// selection (type 176): the window's record takes its defaults.
void ReportWindowDefaultsEvent(int window);
// Event 28, OK of a report window on the job-queue device: the windows
// that queue one job per code (SelectionQueuesPerCode) do so and answer
// 0, or 2 when nothing could be queued (the window stays open); others
// answer 1, and the caller queues the job.
uint8_t ReportWindowRunEvent(int window, ReportJob &job);
