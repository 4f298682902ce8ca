// running_job.cpp - the job record the running report prints from.
#include "output/running_job.h"

#include "core/work_blocks.h"

namespace {
const uint8_t *Running = nullptr;   // RunningSelection's record while a body runs
}

const uint8_t *RunningSelection() { return Running ? Running : ReportParams; }

RunningSelectionScope::RunningSelectionScope(const uint8_t *selection) : previous(Running) { Running = selection; }

RunningSelectionScope::~RunningSelectionScope() { Running = previous; }
