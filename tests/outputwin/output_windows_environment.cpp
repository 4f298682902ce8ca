// output_windows_environment.cpp - the test program starts as the
// program does: the ui layer gives the output layer its windows and the
// batch runs their progress display once, before any test runs
// (shell/startup.cpp does so after RepOutputInit). The job-queue window's
// rules are left to the tests that start as the program (they would take
// a slot of the window-event table other tests fill). Tests of the output
// layer without windows save and clear the table.
#include <gtest/gtest.h>

#include "output/job_queue.h"
#include "outputwin/output_windows_install.h"

namespace {

class OutputWindowsInstalled : public ::testing::Environment {
public:
    void SetUp() override
    {
        OutputWindowEntriesInstall();
        RunOutcomeUiInstall();
    }
};

const ::testing::Environment *const Installed = ::testing::AddGlobalTestEnvironment(new OutputWindowsInstalled);

}  // namespace
