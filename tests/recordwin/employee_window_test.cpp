// employee_window_test.cpp - the buttons that run a report for the record
// a window shows, pressed in a headless frame with the report run
// recorded: the employee window's calculation (103 on the preview for its
// employee, with a department or row code left by an earlier selection
// cleared so the employee is found), the goods receipt's purchase labels
// (-23) and the delivery's labels (-27) for their number on the printer;
// other buttons run nothing.
#include <gtest/gtest.h>

#include <vector>

#include "output/output_job.h"
#include "platform/queue.h"
#include "recordwin/record_windows.h"
#include "rules/hooks.h"
#include "shell/list_windows.h"
#include "shell/record_commands.h"
#include "shell/window_table.h"
#include "tests/operations/invoice_fixture.h"
#include "tests/output/test_job.h"
#include "tests/shell/invoice_frame.h"

namespace {

namespace P = ReportParamsVc;
constexpr int Employee = 500, GoodsReceipt = 197, Delivery = 354;

std::vector<std::vector<uint8_t>> Runs;

class EmployeeWindowButtons : public InvoiceFixture {
protected:
    OutputRunServicesRec savedRuns{};
    void SetUp() override {
        InvoiceFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreInvoiceCompany();
        RulesInstall();
        InvoiceFrameUp();
        Runs.clear();
        savedRuns = OutputRunServices;
        OutputRunServices.runReportCommand = [](ReportJob &job) {
            Runs.emplace_back(job.selection, job.selection + ReportParamsSize);
            return true;
        };
    }
    void TearDown() override {
        OutputRunServices = savedRuns;
        InvoiceFrameDown();
        InvoiceFixture::TearDown();
    }
    static void Press(int window, int button) {
        int b = button;
        WindowEvent(window, 23, &b, &b);
    }
};

TEST_F(EmployeeWindowButtons, CalculationPreviewsTheEmployeeShown) {
    const int w = OpenOrActivateWindow(Employee, 0, 0, false, 0);
    ASSERT_GT(w, 0);
    PutText(WinRecordBuffer(w), EmployeeVc::PerCode, 10, "E7");
    PutText(TestJob, P::SelText2, 255, "D9");
    PutText(TestJob, P::SelText3, 255, "X");
    Press(w, 2);
    EXPECT_TRUE(Runs.empty());
    Press(w, 1);
    ASSERT_EQ(Runs.size(), 1u);
    const uint8_t *job = Runs[0].data();
    EXPECT_EQ(GetU16(job, P::ReportNumber), 103);
    EXPECT_EQ(GetU16(job, P::OutputKind), 6);
    EXPECT_EQ(GetU16(job, P::Word2), 1);
    EXPECT_EQ(GetU16(job, P::SetupDialog), 0);
    EXPECT_EQ(GetU16(job, P::Word8), 1);
    EXPECT_EQ(Text(job, P::SelText1), "E7");
    EXPECT_EQ(job[P::SelText2], 0);
    EXPECT_EQ(job[P::SelText3], 0);
}

TEST_F(EmployeeWindowButtons, LabelsOfTheReceiptAndTheDeliveryShown) {
    const struct {
        int type;
        uint32_t numberAt;
        int16_t run;
    } cases[] = {{GoodsReceipt, PUVc::SerNr, -23}, {Delivery, SHVc::SerNr, -27}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.type);
        Runs.clear();
        const int w = OpenOrActivateWindow(c.type, 0, 0, false, 0);
        ASSERT_GT(w, 0);
        PutI32(WinRecordBuffer(w), c.numberAt, 4711);
        Press(w, 1);
        ASSERT_EQ(Runs.size(), 1u);
        const uint8_t *job = Runs[0].data();
        EXPECT_EQ(GetI16(job, P::ReportNumber), c.run);
        EXPECT_EQ(GetU16(job, P::OutputKind), 1);
        EXPECT_EQ(Text(job, P::SelText1), "4711");
    }
}

}  // namespace
