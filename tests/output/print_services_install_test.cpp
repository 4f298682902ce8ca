// print_services_install_test.cpp - the output layer fills every entry of
// the business layer's print table, and a table missing one report line
// writer is not ready: a job must not print half its lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/interface_load.h"
#include "core/message_sink.h"
#include "output/print_services_install.h"
#include "rules/print_services.h"
#include "tests/core/built_interface.h"

namespace {

std::vector<std::string> Shown;

class PrintServicesInstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::string error;
        ASSERT_TRUE(LoadBuiltInterface(&error)) << error;
        PrintServices = PrintServicesRec{};
        Shown.clear();
        MessageSinkSet([](const char *text) { Shown.emplace_back(text); });
    }
    void TearDown() override {
        MessageSinkSet(nullptr);
        PrintServices = PrintServicesRec{};
        InterfaceUnload();
    }
};

TEST_F(PrintServicesInstallTest, EveryEntryIsFilledAndOneMissingLineWriterIsNotReady) {
    EXPECT_FALSE(ReportLinesReady());
    EXPECT_FALSE(ChoiceListReady());
    EXPECT_EQ(Shown.size(), 2u) << "each refusal is told";

    PrintServicesInstall();
    Shown.clear();
    const PrintServicesRec &s = PrintServices;
    EXPECT_TRUE(s.form && s.customerForm && s.paymentDocuments && s.report);
    EXPECT_TRUE(ReportLinesReady());
    EXPECT_TRUE(ChoiceListReady());
    EXPECT_TRUE(Shown.empty());

    PrintServices.endJob = nullptr;
    EXPECT_FALSE(ReportLinesReady());
    EXPECT_EQ(Shown.size(), 1u);
}

}  // namespace
