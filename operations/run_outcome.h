// run_outcome.h - what a batch run shows while it runs and says when it
// ends.
//
// Every batch run (invoices made from contracts or orders, statements,
// label and document runs) walks many records and may take long, so it
// shows which record it is at, lets the user stop it with Esc after the
// record at hand, and ends with one line of what it made and where it
// went: "3 invoices printed, 3 posted - to the printer", or, when it made
// nothing, why ("Nothing to print: every invoice of the range was printed
// before"). A run that made nothing, or failed at something ("1 not
// printed"), also shows that line in a message box: a quiet status line
// would leave the user thinking it worked.
//
// Use:
//     RunOutcome run;
//     RunStart(&run, TitleText);
//     for each record:  if (!RunGoesOn(&run, numberText)) break;
//                       ... work on the whole record ...
//                       RunCount(&run, 1, OneText, ManyText);   // or RunFailed
//     RunNothing(&run, WhyText);        // the reason, used when nothing was counted
//     RunFinish(&run, RunWhereOfOutput(job.selection));
//
// RunGoesOn is asked before a record is begun, never inside one, so a
// cancel never leaves half a document.
//
// The business layer runs on a server too, where there is no window: the
// progress, the Esc poll and the status line are reached through
// RunOutcomeUi, which the output layer fills at start-up. Without it the
// run goes on unseen and its closing line becomes a message (on a server
// the reply to the client carries it).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/message_kind.h"

// One counted thing of a run: how many, the texts for one and for more
// (e.g. "invoice printed" / "invoices printed"; "posted" for both), and
// whether it counts what failed ("not printed").
struct RunCountRec {
    int32_t n = 0;
    int one = 0, many = 0;
    bool failure = false;
};

struct RunOutcome {
    int title = 0;                      // text number naming the run in its progress
    int32_t walked = 0;                 // records begun so far
    bool cancelled = false;             // Esc stopped the run
    std::vector<RunCountRec> counts;    // in the order they are told
    int nothingText = 0;                // "Nothing made: " or the run's own wording
    int why = 0;                        // text number of why nothing was made
    int32_t firstNumber = -1, lastNumber = -1;   // the numbers of what was made, when numbered
};

// The hooks the window layer installs (see the file comment).
struct RunOutcomeUiRec {
    void (*progress)(const uint8_t *text);   // shows a PString while the run works
    void (*progressEnd)();                   // takes the progress away
    void (*poll)();                          // lets Esc reach UserCancelFlag
    void (*status)(const uint8_t *text);     // puts a PString on the status line
};
extern RunOutcomeUiRec RunOutcomeUi;

// Begins a run named by text `title`: clears an Esc left from before.
void RunStart(RunOutcome *run, int title);
// One more record is about to be begun; `what` (a PString, may be null)
// names it in the progress. false when the user pressed Esc: the run
// stops here and says so at the end.
bool RunGoesOn(RunOutcome *run, const uint8_t *what);
// The same with a number naming the record.
bool RunGoesOnNumber(RunOutcome *run, int32_t number);
// Adds n to the count of what was made, told with texts one/many (the
// same pair adds up).
void RunCount(RunOutcome *run, int32_t n, int one, int many);
// Adds n to the count of what failed (told after what was made; a run
// with failures ends with a message box, not only the status line).
void RunFailed(RunOutcome *run, int32_t n, int one, int many);
// Notes the number of a document the run made, for the closing line.
void RunNumber(RunOutcome *run, int32_t number);
// Sets why nothing was made (the last reason set wins) and, when not 0,
// the wording that goes before it.
void RunNothing(RunOutcome *run, int why, int nothingText = 0);
// True when any count of what was made is above zero.
bool RunMadeSomething(const RunOutcome &run);
// True when any count of what failed is above zero.
bool RunHadFailures(const RunOutcome &run);
// The text number telling where the output of the device of the job's
// selection went (screen, printer, file); 0 for none (or no selection).
int RunWhereOfOutput(const uint8_t *selection);
// The closing line: the counts above zero (made, then failed) joined by
// ", ", the numbers made, then `where` (a text number, 0 none) when
// anything was made; without any count the nothing wording and the
// reason; "stopped by Esc" added when cancelled. In the program's
// character set.
std::string RunOutcomeLine(const RunOutcome &run, int where);
// What the run came to: Failed when anything failed, else Done when it
// made something, else Nothing.
MessageOutcome RunOutcomeOf(const RunOutcome &run);
// Says a run's closing line (program's character set) on the status
// line, and in a message box too when `alsoBox` is set or there is no
// status line; the box is the one of `outcome` (message_kind.h). For
// runs that build their line themselves.
void RunTellLine(const std::string &line, bool alsoBox, MessageOutcome outcome);
// Takes the progress away and spends the Esc that stopped the run, so it
// cannot stop the next one. For runs that say their closing line
// themselves; RunFinish does it for the others.
void RunProgressEnd(RunOutcome *run);
// Takes the progress away and says the closing line on the status line,
// and in a message box when nothing was made, something failed, or there
// is no status line. Returns the line said.
std::string RunFinish(RunOutcome *run, int where);
