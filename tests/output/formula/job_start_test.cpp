// job_start_test.cpp - a report job's start on the local device leaves
// the formula machine's call stack empty, so no call chain of an earlier
// job reaches the formulas of the new one.
#include "../../database/access/company_fixture.h"
#include "tests/output/output_fixture.h"
#include "tests/output/output_recorder.h"

#include "core/pstring.h"
#include "output/formula/formula_internal.h"
#include "tests/output/test_job.h"

namespace {

class FormulaJobStart : public CompanyFixture {
protected:
    void SetUp() override {
        CompanyFixture::SetUp();
        ResetOutputJobState();
        RemoteOutput = 0;
    }
    void TearDown() override {
        MemFree(&PageHeaderLines.block);
        ResetOutputJobState();
        CompanyFixture::TearDown();
    }
};

TEST_F(FormulaJobStart, LocalJobStartResetsTheCallDepth) {
    RecorderInstall rec({OutTextFile});
    OutKind(OutTextFile);
    VmTablesAlloc();
    for (int i = 0; i < 3; i++) ASSERT_TRUE(VmCallPush(0, 0));
    ASSERT_EQ(VmCallDepth(), 3);
    PString t;
    RepOpenJob(P(t, "Job"));
    EXPECT_EQ(VmCallDepth(), 0);
    RepEndJob();
}

}  // namespace
