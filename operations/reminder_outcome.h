// reminder_outcome.h - the one line the payment-reminder run and the
// interest-invoice run end with: how many documents they made and where
// those went, or that they made nothing and why.
//
// The runs fill the parts and call ReminderOutcomeTell once at their end; a
// line shared by every batch run may take its place by keeping these
// parts.
#pragma once

#include <cstdint>
#include <string>

struct ReminderOutcome {
    int subject = 0;          // text naming the documents ("Payment reminders")
    int32_t made = 0;         // documents made
    int whereText = 0;        // after the count: what became of them
    std::string whereExtra;   // and where (a folder, numbers), cp1252
    int whyText = 0;          // when none was made: why
    std::string whyExtra;
    int32_t failed = 0;       // documents that could not be made or printed
    int failedText = 0;       // after that count
    bool stopped = false;     // the user stopped the run
};

// The line as the user reads it (cp1252).
std::string ReminderOutcomeText(const ReminderOutcome &o);
// Says the line on the status line and in a message box (RunTellLine).
void ReminderOutcomeTell(const ReminderOutcome &o);
