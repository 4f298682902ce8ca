// test_job.h - the job record of the unit tests.
//
// A run attaches the job it was handed to the output while it runs, and
// the routines it calls read the selection and the device from there. A
// unit test calls those routines without their run, so the test program
// clears a job record of its own, TestJob, and attaches it before each
// test starts (tests/features/fresh_test_state.cpp), and detaches it when
// the test ends: a test fills its selection and device there, and no
// test sees what another left in it. Road tests get nothing attached:
// they start the program as main does, and what prints there prints from
// the job its command attached.
#pragma once

#include <cstdint>

#include "output/output_job.h"

// The test's job record: ReportParamsVc::Size bytes, zero at each test's start.
extern uint8_t *const TestJob;

// Detaches TestJob for a test that runs as the program does: no job is
// attached until a run attaches its own.
inline void DetachTestJob() { OutputJobState.jobRecord = nullptr; }

// Clears the output job's state as a job start does, keeping the job the
// test has attached.
inline void ResetOutputJobState()
{
    uint8_t *attached = OutputJobState.jobRecord;
    OutputJobState = OutputJobStateRec{};
    OutputJobState.jobRecord = attached;
}
