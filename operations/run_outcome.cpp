// run_outcome.cpp - the progress, the Esc and the closing line of a batch
// run (see run_outcome.h).
#include "operations/run_outcome.h"

#include <cassert>
#include <cstring>

#include "core/output_kind.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "core/field_access.h"
#include "dict_offsets.h"

RunOutcomeUiRec RunOutcomeUi;

namespace {

// The output kinds of the job record's word 0 that the line names.
constexpr uint16_t KindPrinter = OutputCode(OutputKind::ToPrinter), KindTextFile = OutputCode(OutputKind::ToTextFile),
                   KindPreview = OutputCode(OutputKind::ToPreview), KindCharPrinter = OutputCode(OutputKind::ToCharPrinter),
                   KindTabFile = OutputCode(OutputKind::ToTabFile);

std::string UiText(int n)
{
    uint8_t t[256];
    GetUiText(t, n);
    return std::string(reinterpret_cast<const char *>(t + 1), t[0]);
}

// A std::string as a PString (cut at 255 characters).
void ToPString(const std::string &s, uint8_t *out)
{
    size_t n = s.size() > 255 ? 255 : s.size();
    out[0] = uint8_t(n);
    std::memcpy(out + 1, s.data(), n);
}

}  // namespace

void RunStart(RunOutcome *run, int title)
{
    assert(run);
    *run = RunOutcome{};
    run->title = title;
    // An Esc pressed before the run began (or left by the last one) must
    // not stop this one before its first record.
    UserCancelFlag = 0;
}

bool RunGoesOn(RunOutcome *run, const uint8_t *what)
{
    assert(run);
    if (run->cancelled) return false;
    if (RunOutcomeUi.poll) RunOutcomeUi.poll();
    if (UserCancelFlag) {
        run->cancelled = true;
        return false;
    }
    run->walked++;
    if (RunOutcomeUi.progress) {
        std::string line = UiText(run->title);
        if (what && what[0]) line += (line.empty() ? "" : ": ") + std::string(reinterpret_cast<const char *>(what + 1), what[0]);
        uint8_t text[256];
        ToPString(line, text);
        RunOutcomeUi.progress(text);
    }
    return true;
}

bool RunGoesOnNumber(RunOutcome *run, int32_t number)
{
    uint8_t text[256];
    ToPString(std::to_string(number), text);
    return RunGoesOn(run, text);
}

namespace {

void AddCount(RunOutcome *run, int32_t n, int one, int many, bool failure)
{
    assert(run);
    for (RunCountRec &c : run->counts)
        if (c.one == one && c.many == many && c.failure == failure) {
            c.n += n;
            return;
        }
    run->counts.push_back({n, one, many, failure});
}

// The counts of one side (made or failed) above zero, joined by ", ".
void AppendCounts(const RunOutcome &run, bool failures, std::string *line)
{
    for (const RunCountRec &c : run.counts) {
        if (c.n <= 0 || c.failure != failures) continue;
        if (!line->empty()) *line += ", ";
        *line += std::to_string(c.n) + " " + UiText(c.n == 1 ? c.one : c.many);
    }
}

}  // namespace

void RunCount(RunOutcome *run, int32_t n, int one, int many) { AddCount(run, n, one, many, false); }
void RunFailed(RunOutcome *run, int32_t n, int one, int many) { AddCount(run, n, one, many, true); }

void RunNumber(RunOutcome *run, int32_t number)
{
    assert(run);
    if (number < 0) return;
    if (run->firstNumber < 0 || number < run->firstNumber) run->firstNumber = number;
    if (run->lastNumber < 0 || number > run->lastNumber) run->lastNumber = number;
}

void RunNothing(RunOutcome *run, int why, int nothingText)
{
    assert(run);
    run->why = why;
    if (nothingText) run->nothingText = nothingText;
}

bool RunMadeSomething(const RunOutcome &run)
{
    for (const RunCountRec &c : run.counts)
        if (c.n > 0 && !c.failure) return true;
    return false;
}

bool RunHadFailures(const RunOutcome &run)
{
    for (const RunCountRec &c : run.counts)
        if (c.n > 0 && c.failure) return true;
    return false;
}

int RunWhereOfOutput(const uint8_t *selection)
{
    if (!selection) return 0;
    switch (GetU16(selection, ReportParamsVc::OutputKind)) {
    case KindPreview: return Texts::RunOutcomeToScreen;
    case KindPrinter: case KindCharPrinter: return Texts::RunOutcomeToPrinter;
    case KindTextFile: case KindTabFile: return Texts::RunOutcomeToFile;
    default: return 0;
    }
}

std::string RunOutcomeLine(const RunOutcome &run, int where)
{
    std::string line;
    if (RunMadeSomething(run) || RunHadFailures(run)) {
        AppendCounts(run, false, &line);
        AppendCounts(run, true, &line);
        if (run.firstNumber >= 0) {
            line += ", " + UiText(Texts::RunOutcomeNumbers) + std::to_string(run.firstNumber);
            if (run.lastNumber != run.firstNumber) line += "-" + std::to_string(run.lastNumber);
        }
        // Where the output went, only when there was output: a run whose
        // every record failed sent nothing to the printer.
        if (where && RunMadeSomething(run)) line += " - " + UiText(where);
    } else {
        line = UiText(run.nothingText ? run.nothingText : Texts::RunOutcomeNothingMade);
        line += UiText(run.why ? run.why : Texts::RunWhyNoneInRange);
    }
    if (run.cancelled) line += "; " + UiText(Texts::RunOutcomeStopped);
    return line;
}

void RunProgressEnd(RunOutcome *run)
{
    assert(run);
    if (RunOutcomeUi.progressEnd) RunOutcomeUi.progressEnd();
    // The Esc that stopped this run is spent; it must not stop the next.
    UserCancelFlag = 0;
}

std::string RunFinish(RunOutcome *run, int where)
{
    RunProgressEnd(run);
    std::string line = RunOutcomeLine(*run, where);
    RunTellLine(line, !RunMadeSomething(*run) || RunHadFailures(*run), RunOutcomeOf(*run));
    return line;
}

MessageOutcome RunOutcomeOf(const RunOutcome &run)
{
    if (RunHadFailures(run)) return MessageOutcome::Failed;
    return RunMadeSomething(run) ? MessageOutcome::Done : MessageOutcome::Nothing;
}

void RunTellLine(const std::string &line, bool alsoBox, MessageOutcome outcome)
{
    uint8_t text[256];
    ToPString(line, text);
    if (RunOutcomeUi.status) RunOutcomeUi.status(text);
    if (!RunOutcomeUi.status || alsoBox) TellOutcome(outcome, 0, text);
}
