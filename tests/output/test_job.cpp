// test_job.cpp - TestJob, the unit tests' job record (see test_job.h);
// tests/features/fresh_test_state.cpp clears and attaches it before each
// test.
#include "tests/output/test_job.h"

#include "core/work_blocks.h"

namespace {

uint8_t TestJobBytes[ReportParamsSize];

}  // namespace

uint8_t *const TestJob = TestJobBytes;
