// run_outcome_ui.cpp - hands the batch runs of the business layer the
// window layer's busy message, Esc poll and status line (run_outcome.h).
#include <string_view>

#include "operations/run_outcome.h"
#include "output/job_queue.h"
#include "shell/shell.h"
#include "shell/toolbar.h"
#include "shell/window_utils.h"

namespace {

void StatusPString(const uint8_t *text)
{
    StatusLineSet(std::string_view(reinterpret_cast<const char *>(text + 1), text[0]));
}

}  // namespace

void RunOutcomeUiInstall()
{
    RunOutcomeUi = RunOutcomeUiRec{
        .progress = ShowBusyMessage,
        .progressEnd = CloseBusyMessage,
        .poll = PollStop,
        .status = StatusPString,
    };
}
