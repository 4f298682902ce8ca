// test_job.cpp - TestJob, attached to the output for every test but the
// roads (see test_job.h).
#include "tests/output/test_job.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "core/work_blocks.h"

namespace {

uint8_t TestJobBytes[ReportParamsSize];

// Roads are the test files under tests/roads/.
bool IsRoad(const ::testing::TestInfo &test)
{
    const char *file = test.file();
    return file && std::string(file).find("tests/roads/") != std::string::npos;
}

class TestJobAttacher : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo &test) override
    {
        if (!IsRoad(test)) OutputJobState.jobRecord = TestJob;
    }
    void OnTestEnd(const ::testing::TestInfo &) override { OutputJobState.jobRecord = nullptr; }
};

const bool Appended = [] {
    ::testing::UnitTest::GetInstance()->listeners().Append(new TestJobAttacher);
    return true;
}();

}  // namespace

uint8_t *const TestJob = TestJobBytes;
