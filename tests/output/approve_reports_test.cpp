// approve_reports_test.cpp - the approve kinds that run a report for the
// record they are given: kind 38 for its leading code, kind 45 for its
// serial number, each on the preview with a fresh selection; the record
// stays as it was, and without a report run the user is told.
#include <vector>

#include "output/output_job.h"
#include "output/print_services_install.h"
#include "rules/approval.h"
#include "rules/print_services.h"
#include "tests/output/test_job.h"
#include "tests/rules/rules_fixture.h"

namespace {

std::vector<std::vector<uint8_t>> Runs;

class ApproveReports : public RulesFixture {
protected:
    void SetUp() override {
        RulesFixture::SetUp();
        Runs.clear();
        savedRuns = OutputRunServices;
        PrintServicesInstall();   // the report kinds run their report through the output layer
        OutputRunServices.runReportCommand = [](ReportJob &job) {
            Runs.emplace_back(job.selection, job.selection + ReportParamsSize);
            return true;
        };
    }
    OutputRunServicesRec savedRuns{};
    void TearDown() override {
        OutputRunServices = savedRuns;
        PrintServices = PrintServicesRec{};
        RulesFixture::TearDown();
    }
};

TEST_F(ApproveReports, KindsRunTheirReportForTheRecord) {
    uint32_t item = StoreRecord(INVc::Number, [](uint8_t *r) { PutText(r, INVc::Code, 20, "WIDGET-7"); });
    uint32_t order = StoreRecord(ORVc::Number, [](uint8_t *r) {
        PutText(r, ORVc::CustCode, 20, "C1");
        PutI32(r, ORVc::SerNr, 5012);
    });
    uint32_t quote = StoreRecord(QuotationVc::Number, [](uint8_t *r) { PutI32(r, QuotationVc::SerNr, 77); });
    // A selection left by an earlier job is not carried over.
    PutText(TestJob, ReportParamsVc::SelText2, 255, "old");
    PutI32(TestJob, ReportParamsVc::NumberTo, 99);

    EXPECT_TRUE(ApproveRecord(38, INVc::Number, item));
    ASSERT_EQ(Runs.size(), 1u);
    const uint8_t *job = Runs[0].data();
    EXPECT_EQ(GetU16(job, ReportParamsVc::ReportNumber), 90);
    EXPECT_EQ(GetU16(job, ReportParamsVc::OutputKind), 6);
    EXPECT_EQ(Text(job, ReportParamsVc::SelText1), "WIDGET-7");
    EXPECT_EQ(job[ReportParamsVc::SelText2], 0);
    EXPECT_EQ(GetI32(job, ReportParamsVc::NumberTo), -1);

    EXPECT_TRUE(ApproveRecord(45, ORVc::Number, order));
    ASSERT_EQ(Runs.size(), 2u);
    job = Runs[1].data();
    EXPECT_EQ(GetU16(job, ReportParamsVc::ReportNumber), 110);
    EXPECT_EQ(GetI32(job, ReportParamsVc::NumberFrom), 5012);
    EXPECT_EQ(job[ReportParamsVc::SelText1], 0);
    EXPECT_TRUE(ApproveRecord(45, QuotationVc::Number, quote));
    ASSERT_EQ(Runs.size(), 3u);
    EXPECT_EQ(GetI32(Runs[2].data(), ReportParamsVc::NumberFrom), 77);

    // The record itself is not touched.
    RuleRecord r(INVc::Number);
    ASSERT_TRUE(RecReadById(INVc::Number, item, r.record));
    EXPECT_EQ(Text(r.record, INVc::Code), "WIDGET-7");
}

TEST_F(ApproveReports, WithoutAReportRunTheUserIsTold) {
    OutputRunServices.runReportCommand = nullptr;
    uint32_t item = StoreRecord(INVc::Number, [](uint8_t *r) { PutText(r, INVc::Code, 20, "W1"); });
    shown.clear();
    EXPECT_TRUE(ApproveRecord(38, INVc::Number, item));
    EXPECT_FALSE(shown.empty());
    // An unknown record runs nothing.
    OutputRunServices.runReportCommand = [](ReportJob &) {
        Runs.emplace_back();
        return true;
    };
    EXPECT_TRUE(ApproveRecord(45, ORVc::Number, 999));
    EXPECT_TRUE(Runs.empty());
}

}  // namespace
