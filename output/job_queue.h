// job_queue.h - the ring of saved output jobs (job_queue.cpp) and its
// window (type 9, job_queue_window.cpp).
#pragma once

#include <array>
#include <cstdint>

#include "core/memblock.h"

// Thirty-one slots, each a handle to a full copy of a job record or 0;
// head is the oldest job's slot, tail the next free one, both
// JobQueueEmpty while the ring is empty. At most 30 jobs are held. A job
// whose run number (word 3) is JobDeleted stays in its slot until popped
// but is neither listed nor run.
constexpr int JobQueueSlots = 31;
constexpr uint16_t JobQueueEmpty = 65535, JobDeleted = 65535;
struct JobQueueRec {
    std::array<MemBlock, JobQueueSlots> slots{};
    uint16_t head = JobQueueEmpty, tail = JobQueueEmpty;
};
extern JobQueueRec JobQueue;

// Empties the ring and frees its copies.
void JobQueueReset();
// Saves a copy of a job record with word 0 := kind; a full ring refuses
// with text 1509. False when nothing was saved.
bool JobQueuePush(const uint8_t *job, int kind);
// Moves the oldest job into `into` (ReportParamsSize bytes); false when
// there was none.
bool JobQueuePop(uint8_t *into);
// Jobs held, deleted ones included.
int JobQueueCount();
// The slot of the n-th live job from the oldest; -1 none.
int JobQueueLiveSlot(int n);
// Runs the saved jobs oldest first until the ring is empty or a job ends
// stopped; relists window `window`.
bool JobQueueRun(int window);

// The queue window's list, its Delete and its Open.
void RepJobQueueList(int n);
void RepJobQueueDelete(int n);
void RepJobQueueOpen(int n);
// Push button `command` of queue window n: 1 Run, 2 Delete, 3 Open.
void RepJobQueueButton(int n, int command);
// Relists the open queue window, when there is one.
void JobQueueShown();
// Gives window type 9 its OK (open the selected job).
void JobQueueWindowInstall();

// Gives the batch runs the busy message, Esc poll and status line
// (outputwin/run_outcome_ui.cpp; the ui layer calls it at start-up).
void RunOutcomeUiInstall();
