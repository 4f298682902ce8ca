// replay_report_job_main.cpp - runs the received report job fuzz target
// without libFuzzer: over the corpus, then over mutations of the job
// records the target itself builds; the target's own checks catch what
// the sanitizers do not. Most mutations keep the record's size and poke
// values into its fields (where a poke at a random byte would mostly hit
// bytes no report reads); some cut or grow it. The verdict is on the
// target's own seeds: each job of a report that runs must print its
// header and rows, so that a harness whose jobs stop at their first line
// (without the reports' frame) fails however few inputs are run.
//
//   fuzz_report_job_replay CORPUS_DIR [MUTATIONS]
//   fuzz_report_job_replay --write-seeds DIR
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "core/field_access.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "fuzz/replay_driver.h"

std::vector<std::vector<uint8_t>> ReportJobFuzzSeeds(bool printing);
bool ReportJobFuzzPrints(const std::vector<uint8_t> &input);

namespace {

namespace P = ReportParamsVc;

// Report numbers, layouts, text lengths, months, days and years at and
// around their limits.
constexpr uint32_t Interesting[] = {0,    1,    2,    3,      4,      5,      12,     13,         21,        22,
                                    29,   30,   31,   32,     60,     116,    117,    255,        256,       1999,
                                    2024, 2099, 9999, 0x7FFF, 0x8000, 0xFFE3, 0xFFFF, 0x7FFFFFFF, 0xFFFFFFFF};

// The words and text lengths the reports and the check read.
constexpr uint32_t Fields[] = {
    P::OutputKind, P::ReportNumber, P::SelWinType, P::Reopened, P::ReportLayout, P::SelText1, P::SelText2,
    P::SelText3, P::PeriodText, P::Date2From, P::Date2From + 2, P::Date2From + 4, P::Date2To, P::Date2To + 4,
    P::NumberFrom, P::NumberTo, P::Option1, P::Option2, P::Option3, P::Option4, P::Option5, P::Option6,
    P::Option7, P::Option9, P::RangeKind, P::ObjectSel, P::ObjectType, P::SelText4, P::SecondKind,
    P::ColumnLayout, P::SelText5, P::SelText6, P::AmountUnit, P::DetailLevel, P::Date3, P::Date3 + 4,
    P::SelText7, P::SelText8, P::DateFrom, P::DateFrom + 2, P::DateFrom + 4, P::DateTo, P::DateTo + 2,
    P::DateTo + 4, P::MonthFrom, P::MonthTo,
};

std::vector<ReplayBytes> Seeds() { return ReportJobFuzzSeeds(false); }

bool SeedFiles(std::vector<ReplaySeed> *out) {
    std::vector<ReplayBytes> seeds = Seeds();
    for (size_t i = 0; i < seeds.size(); i++) out->push_back({"seed" + std::to_string(i) + ".msg", seeds[i]});
    return true;
}

bool Valid(std::vector<ReplayBytes> *out) {
    for (ReplayBytes &b : Seeds())
        if (b.size() == ReportParamsSize) out->push_back(std::move(b));
    return !out->empty();
}

ReplayBytes Mutate(const ReplayBytes &valid, std::mt19937 &rng) {
    ReplayBytes m = valid;
    if (ReplayPick(rng, 10) == 0) {   // the wrong size
        if (ReplayPick(rng, 2)) m.resize(ReplayPick(rng, m.size()));
        else m.insert(m.end(), 1 + ReplayPick(rng, 8), uint8_t(rng()));
        return m;
    }
    int edits = 1 + int(ReplayPick(rng, 6));
    for (int e = 0; e < edits; e++) {
        size_t at = ReplayPick(rng, 4) ? Fields[ReplayPick(rng, std::size(Fields))] : ReplayPick(rng, m.size());
        ReplayPoke(m, at, Interesting, 4, rng);
    }
    return m;
}

bool Taken(const ReplayBytes &input) { return input.size() == ReportParamsSize; }

}  // namespace

int main(int argc, char **argv) {
    const ReplayTarget target{"report_job", 20261208, SeedFiles, Valid, Mutate, Taken};
    int result = ReplayMain(argc, argv, target);
    if (result != 0 || (argc > 1 && std::strcmp(argv[1], "--write-seeds") == 0)) return result;
    const std::vector<ReplayBytes> printing = ReportJobFuzzSeeds(true);
    for (size_t i = 0; i < printing.size(); i++)
        if (!ReportJobFuzzPrints(printing[i])) {
            std::fprintf(stderr, "report_job: the job of report %d did not print its header and rows\n",
                         int(int16_t(GetU16(printing[i].data(), P::ReportNumber))));
            result = 1;
        }
    if (result == 0) std::printf("report_job: each of the %zu jobs of a report that runs prints\n", printing.size());
    return result;
}
