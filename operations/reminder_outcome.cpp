// reminder_outcome.cpp - the closing line of the reminder and interest
// runs: "<documents>: <n> <what became of them>." or "<documents>:
// nothing made; <why>.", then the documents that failed and a stop by
// the user.
#include "operations/reminder_outcome.h"

#include "core/ui_text.h"
#include "operations/run_outcome.h"

namespace {

constexpr int TextNothingMade = 14440, TextStoppedByUser = 14441;   // texts_run_outcome.dict

std::string Text(int n)
{
    char c[256];
    GetUiTextC(c, n);
    return c;
}

}  // namespace

std::string ReminderOutcomeText(const ReminderOutcome &o)
{
    std::string line = Text(o.subject) + ": ";
    if (o.made > 0) line += std::to_string(o.made) + " " + Text(o.whereText) + o.whereExtra + ".";
    else line += Text(TextNothingMade) + Text(o.whyText) + o.whyExtra + ".";
    if (o.failed > 0) line += " " + std::to_string(o.failed) + " " + Text(o.failedText) + ".";
    if (o.stopped) line += " " + Text(TextStoppedByUser);
    return line;
}

// The line goes the way of every batch run's (the status line), and to a
// message box as well: a reminder or interest run is seldom run, and its
// user waits for the word.
void ReminderOutcomeTell(const ReminderOutcome &o)
{
    const MessageOutcome outcome = o.failed > 0 ? MessageOutcome::Failed : o.made > 0 ? MessageOutcome::Done : MessageOutcome::Nothing;
    RunTellLine(ReminderOutcomeText(o), true, outcome);
}
