// job_queue.cpp - the ring of saved output jobs: report specifications
// kept to be run later in one batch (device 7 of a report window).
//
// The ring has 31 slots, each a handle to a full copy of a job record or
// none; head is the oldest saved job, tail the slot the next one takes,
// both 65535 while the ring is empty. It holds at most 30 jobs (it is
// full when advancing the tail would reach the head). A job whose run
// number (word 3) is 65535 was deleted: it keeps its slot until it is
// popped, but is neither listed nor run. The ring lives for the program
// run and is never written to disk.
#include <cassert>
#include <cstring>
#include <vector>

#include "core/field_access.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "output/devices/report_output.h"
#include "output/job_queue.h"
#include "output/output_job.h"
#include "output/output_windows.h"

JobQueueRec JobQueue;

namespace {

// Texts: the ring is full; no memory for the copy.
constexpr int TextJobQueueFull = 1509, TextJobQueueNoMemory = 11710;

// The slot after slot s, wrapping after the last.
uint16_t NextSlot(uint16_t s) { return uint16_t((s + 1) % JobQueueSlots); }

}  // namespace

// Empties the ring, freeing every saved copy (start-up, and tests).
void JobQueueReset()
{
    for (MemBlock &h : JobQueue.slots)
        if (h) MemFree(&h);
    JobQueue.slots.fill(0);
    JobQueue.head = JobQueue.tail = JobQueueEmpty;
}

// Saves a copy of the job record (ReportParamsSize bytes) with its word 0
// set to `kind`, the device it is to run on. A full ring refuses with
// text 1509 and saves nothing. False when nothing was saved.
bool JobQueuePush(const uint8_t *job, int kind)
{
    if (!job) return false;
    JobQueueRec &q = JobQueue;
    bool empty = q.head == JobQueueEmpty;
    if (!empty && NextSlot(q.tail) == q.head) {
        ShowTextMessage(TextJobQueueFull);
        return false;
    }
    MemBlock h = MemAlloc(ReportParamsSize);
    uint8_t *copy = h ? MemLock(h) : nullptr;
    if (!copy) {
        if (h) MemFree(&h);
        ShowTextMessage(TextJobQueueNoMemory);
        return false;
    }
    std::memcpy(copy, job, ReportParamsSize);
    PutU16(copy, ReportParamsVc::OutputKind, uint16_t(kind));
    MemUnlock(h);
    if (empty) q.head = q.tail = 0;
    assert(q.slots[q.tail] == 0);
    q.slots[q.tail] = h;
    q.tail = NextSlot(q.tail);
    OutJobQueueShown();
    return true;
}

// Moves the oldest saved job into `into` (ReportParamsSize bytes) and
// frees its slot; the ring becomes empty when the head reaches the tail.
// False when there was nothing to take (an empty ring, or no record to
// take it into).
bool JobQueuePop(uint8_t *into)
{
    JobQueueRec &q = JobQueue;
    if (q.head == JobQueueEmpty || !q.slots[q.head] || !into) return false;
    const uint8_t *copy = MemLock(q.slots[q.head]);
    if (!copy) return false;
    std::memcpy(into, copy, ReportParamsSize);
    MemUnlock(q.slots[q.head]);
    MemFree(&q.slots[q.head]);
    q.head = NextSlot(q.head);
    if (q.head == q.tail) q.head = q.tail = JobQueueEmpty;
    return true;
}

// The number of jobs the ring holds, deleted ones included.
int JobQueueCount()
{
    const JobQueueRec &q = JobQueue;
    if (q.head == JobQueueEmpty) return 0;
    return (q.tail + JobQueueSlots - q.head) % JobQueueSlots;   // never 0: a full ring keeps one slot free
}

// The slot of the n-th live job (from 0, oldest first): deleted jobs and
// empty slots are passed over. -1 when there are not that many.
int JobQueueLiveSlot(int n)
{
    const JobQueueRec &q = JobQueue;
    if (n < 0 || q.head == JobQueueEmpty) return -1;
    uint16_t s = q.head;
    for (int k = 0; k < JobQueueCount(); k++, s = NextSlot(s)) {
        const uint8_t *copy = q.slots[s] ? MemLock(q.slots[s]) : nullptr;
        if (!copy) continue;
        bool live = GetU16(copy, ReportParamsVc::ReportNumber) != JobDeleted;
        MemUnlock(q.slots[s]);
        if (live && n-- == 0) return s;
    }
    return -1;
}

// Runs the saved jobs oldest first: each is popped into a job of its own
// and, unless it was deleted, run; the queue window `window` is relisted
// after each. A job that ends stopped (the user's cancel, a failed
// device) ends the batch; the jobs after it stay saved. True: the batch ran.
bool JobQueueRun(int window)
{
    RepStopped = 0;
    std::vector<uint8_t> selection(ReportParamsSize, 0);
    ReportJob job{selection.data()};
    while (JobQueuePop(job.selection)) {
        if (GetU16(job.selection, ReportParamsVc::ReportNumber) != JobDeleted) RunReportCommand(job);
        OutJobQueueList(window);
        if (RepStopped == 1) break;
    }
    return true;
}
