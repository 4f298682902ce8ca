// form_outside_run_test.cpp - a document's form printed with no run
// attached (a window's button, an approve that prints, a client's
// request) prints on the printer from a job of its own, and leaves
// nothing attached; inside a run it prints from the run's job.
#include "tests/operations/invoice_fixture.h"

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/output_kind.h"
#include "core/record_buffer.h"
#include "output/devices/report_output.h"
#include "output/forms/forms.h"
#include "output/printer.h"
#include "tests/output/test_job.h"

namespace fs = std::filesystem;

namespace {

class FormOutsideRun : public InvoiceCompanyFixture {
protected:
    fs::path folder, savedCwd;
    std::vector<uint8_t> invoice = std::vector<uint8_t>(IVVc::Size, 0);

    void SetUp() override
    {
        InvoiceCompanyFixture::SetUp();
        if (HasFatalFailure()) return;
        folder = fs::path(::testing::TempDir()) / ("orvel_form_outside_" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        savedCwd = fs::current_path();
        fs::current_path(folder);
        ResetOutputJobState();
        DetachTestJob();
        FixtureInvoice f;
        f.posted = 1;
        FillInvoice(invoice.data(), f);
        AddInvoiceRow(invoice.data(), {"ITEM1", 1, 10});
    }
    void TearDown() override
    {
        RecFreeMatrix(IVVc::Number, invoice.data());
        if (Printer.job) PrinterEndDoc();
        if (!savedCwd.empty()) fs::current_path(savedCwd);
        ResetOutputJobState();
        fs::remove_all(folder);
        InvoiceCompanyFixture::TearDown();
    }
    int Pdfs() const
    {
        int n = 0;
        if (fs::exists(folder / "print"))
            for (const auto &e : fs::directory_iterator(folder / "print")) n += e.path().extension() == ".pdf";
        return n;
    }
};

TEST_F(FormOutsideRun, PrintsOnThePrinterFromAJobOfItsOwnAndARunKeepsItsDevice)
{
    ASSERT_EQ(CurrentJobRecord(), nullptr);
    ASSERT_EQ(PrintForm(-2, invoice.data()), 1);
    EXPECT_EQ(Pdfs(), 1) << "the form did not reach the printer";
    EXPECT_EQ(CurrentJobRecord(), nullptr) << "the form's own job stayed attached";

    // Inside a batch run whose window chose the device the form prints
    // from the run's job: with no output chosen no printer job starts.
    OwnedJob run;
    PutU16(run.job.selection, ReportParamsVc::OutputKind, OutputCode(OutputKind::Nowhere));
    {
        RunDeviceKept kept;
        OutputJobAttach attached(run.job);
        EXPECT_EQ(PrintForm(-2, invoice.data()), 1);
        EXPECT_EQ(CurrentJobRecord(), run.job.selection);
    }
    EXPECT_EQ(Pdfs(), 1) << "a run's form went to the printer instead of the run's device";
}

}  // namespace
