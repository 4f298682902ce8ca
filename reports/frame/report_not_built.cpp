// report_not_built.cpp - the answer of the parts of the report run that
// are not built yet: the user is told once a run and the job stops, so a
// missing part never passes for a finished one.
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "reports/frame/report_run.h"

namespace {

uint8_t NotBuiltTold = 0;   // told in this run already

}  // namespace

// Tells "not available yet" the first time in a run and stops the job.
void ReportsNotBuilt()
{
    if (!NotBuiltTold) ShowTextMessage(Texts::FunctionNotYet);
    NotBuiltTold = 1;
    RepStopped = 1;
}

// Starts a new run: ReportsNotBuilt tells again.
void ReportsNotBuiltReset()
{
    NotBuiltTold = 0;
}
