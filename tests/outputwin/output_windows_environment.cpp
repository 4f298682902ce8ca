// output_windows_environment.cpp - the test program starts as the
// program does: the ui layer gives the output layer its windows once,
// before any test runs (shell/startup.cpp does so after RepOutputInit).
// Tests of the output layer without windows save and clear the table.
#include <gtest/gtest.h>

#include "outputwin/output_windows_install.h"

namespace {

class OutputWindowsInstalled : public ::testing::Environment {
public:
    void SetUp() override { OutputWindowsInstall(); }
};

const ::testing::Environment *const Installed = ::testing::AddGlobalTestEnvironment(new OutputWindowsInstalled);

}  // namespace
