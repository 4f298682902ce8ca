// message_kind.h - which box a message to the user is shown in, decided
// in one place by what the message tells.
//
// A run or an action that ends with a word to the user says what it came
// to (a MessageOutcome); MessageKindFor turns that into the box: a success or
// a plain count is information, a refusal or a failure the stop icon, a
// question a question. Callers never pick an icon themselves, so the
// same outcome looks the same in every run.
#pragma once

#include <cstdint>

enum class MessageKind : uint8_t { Information, Stop, Question };

enum class MessageOutcome : uint8_t {
    Done,       // the run made or did what it was asked
    Nothing,    // a plain count of none: nothing in the selection to do
    Refused,    // the run refused its input or its data: nothing was done
    Failed,     // something went wrong (wholly or for some of what was asked)
    Question,   // the user is asked before anything is done
};

constexpr MessageKind MessageKindFor(MessageOutcome o)
{
    switch (o) {
    case MessageOutcome::Done:
    case MessageOutcome::Nothing: return MessageKind::Information;
    case MessageOutcome::Refused:
    case MessageOutcome::Failed: return MessageKind::Stop;
    case MessageOutcome::Question: return MessageKind::Question;
    }
    return MessageKind::Stop;
}
