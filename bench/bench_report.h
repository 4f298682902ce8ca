// bench_report.h - a report run by the benchmarks as the dispatcher runs
// it for a user: a fresh job record of the report and layout (the
// benchmark's own job), then the run (parameter check and body) into a
// text file the file dialog is answered with.
#pragma once

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <filesystem>

#include "bench/bench_frame.h"
#include "core/field_access.h"
#include "core/message_sink.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/devices/device_table.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "platform/script.h"
#include "reports/frame/report_run.h"
#include "rules/rules_types.h"

// Clears the benchmark's job record and names report `number` in
// `layout`, to a text file; the caller fills the selection after it.
inline void BenchReportJob(ReportJob &job, int number, int layout)
{
    OutputJobState = OutputJobStateRec{};
    std::memset(job.selection, 0, ReportParamsSize);
    PutU16(job.selection, ReportParamsVc::OutputKind, OutTextFile);
    PutU16(job.selection, ReportParamsVc::ReportNumber, uint16_t(number));
    PutU16(job.selection, ReportParamsVc::ReportLayout, uint16_t(layout));
}

// Runs the report of job into `file`; false when it did not run to its
// end. The file device is opened for the job's device, so the job is
// attached from then on (the run attaches it again).
inline bool BenchReportToFile(ReportJob &job, const std::filesystem::path &file)
{
    ScriptAnswerFile(file.string());
    OutputJobAttach attached(job);
    RepOpenFileDevice();
    RunReport(job);
    return !RepStopped;
}

// The bare peer of a customer or vendor report: every party of register
// `party` read in code order, and its first open item of register `item`
// found by (code, number 0) in index `itemIndex`; how many parties had one.
inline int BenchPartiesWithOpenItems(int party, uint32_t codeAt, int item, const char *itemIndex,
                                     uint32_t itemCodeAt, uint32_t itemNumberAt)
{
    RuleRecord p(party), i(item);
    uint32_t recid = 0, position = 0;
    int found = 0;
    if (!RecFindByIndex(party, "Code", p.record, 1, 0, &recid, &position)) return 0;
    for (uint32_t at = position;; at++) {
        if (at != position && !RecReadAtIndex(party, "Code", int32_t(at), p.record, &recid)) break;
        std::memcpy(i.record + itemCodeAt, p.record + codeAt, 22);
        PutI32(i.record, itemNumberAt, 0);
        uint32_t itemId = 0, itemPosition = 0;
        if (RecFindByIndex(item, itemIndex, i.record, 2, 0, &itemId, &itemPosition)) found++;
    }
    return found;
}

// Brings the program up once and stores `count` parties by store(1..count)
// in one hold (a synced hold a party would time the disk, not the set-up);
// 1 when all went in, 0 when the program or a party failed.
inline int BenchUpWithParties(const BenchWorkplace &place, int count, bool (*store)(int))
{
    int up = BenchFrameUp(place) ? 1 : 0;
    MessageSinkSet([](const char *) {});
    if (up != 1) return up;
    DbHoldBegin();
    for (int n = 1; up == 1 && n <= count; n++)
        if (!store(n)) up = 0;
    if (!DbHoldEnd()) up = 0;
    return up;
}

// Runs report `number` in its ageing layout (2) into `file` once an
// iteration: range(0) 1 as of 30.6.2024 (the invoices rebuilt at that
// date), 0 the open items of today; `parties` a run counted as `rate`.
inline void BenchAgeingRuns(benchmark::State &state, int number, const std::filesystem::path &file, int parties,
                            const char *rate)
{
    OwnedJob own;
    for (auto _ : state) {
        BenchReportJob(own.job, number, 2);
        if (state.range(0) == 1) PutDate(own.job.selection, ReportParamsVc::Date2From, {30, 6, 2024});
        if (!BenchReportToFile(own.job, file)) return state.SkipWithError("the report did not run to its end");
    }
    state.counters[rate] = benchmark::Counter(double(parties) * double(state.iterations()), benchmark::Counter::kIsRate);
}

// The bare peer of those runs: BenchPartiesWithOpenItems once an
// iteration, which must find every one of `parties`.
inline void BenchPartyWalks(benchmark::State &state, int parties, const char *rate, int party, uint32_t codeAt, int item,
                            const char *itemIndex, uint32_t itemCodeAt, uint32_t itemNumberAt)
{
    for (auto _ : state)
        if (BenchPartiesWithOpenItems(party, codeAt, item, itemIndex, itemCodeAt, itemNumberAt) != parties)
            return state.SkipWithError("the walk did not read every party");
    state.counters[rate] = benchmark::Counter(double(parties) * double(state.iterations()), benchmark::Counter::kIsRate);
}
