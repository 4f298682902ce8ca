// feature_hooks_environment.cpp - the test program gives the output layer
// what the features give it at the program's start: the report frame
// with the voucher form, the bank file's questions, the stock and project
// effects of an import and the ledger's balance functions of the formula
// language. Tests of a missing hook
// save the tables and clear them (feature_hooks_test.cpp) and put back
// what they found.
#include <gtest/gtest.h>

#include "exchange/exchange.h"
#include "exchange/text_exchange.h"
#include "reports/frame/report_frame.h"
#include "reports/ledger/ledger_reports.h"
#include "reports/ledger/statement_reports.h"

namespace {

class FeatureHooksInstalled : public ::testing::Environment {
public:
    void SetUp() override
    {
        ReportFrameInstall();
        BankFileHooksInstall();
        ImportEffectsInstall();
        ReportFunctionsInstall();
    }
};

const ::testing::Environment *const Installed = ::testing::AddGlobalTestEnvironment(new FeatureHooksInstalled);

}  // namespace
