// feature_hooks_environment.cpp - the test program gives the output layer
// what the features give it at the program's start: the report frame
// with the voucher form, and the bank file's questions. Tests of a missing hook
// save the tables and clear them (feature_hooks_test.cpp).
#include <gtest/gtest.h>

#include "exchange/exchange.h"
#include "reports/frame/report_frame.h"
#include "reports/ledger/ledger_reports.h"

namespace {

class FeatureHooksInstalled : public ::testing::Environment {
public:
    void SetUp() override
    {
        ReportFrameInstall();
        BankFileHooksInstall();
    }
};

const ::testing::Environment *const Installed = ::testing::AddGlobalTestEnvironment(new FeatureHooksInstalled);

}  // namespace
