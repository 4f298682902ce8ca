// warning_message.h - a word of caution about work that goes on (a
// customer over the credit limit, whose invoice is still made): shown
// with the warning icon, neither the stop icon of a refusal nor the
// information icon of a result, so that the icon follows the outcome.
#pragma once

#include <cstdint>

#include "core/message_sink.h"

// Installs the sink of warnings and returns the one installed before.
// Without one (null) a warning goes to the message sink, so that a place
// that records every message (a test, the server's log) sees it.
MessageSink WarningSinkSet(MessageSink sink);

// Shows text n directly followed by extra (null: nothing) as a warning.
// While the server handles a client's request the text is kept for the
// reply, as every message is.
void ShowWarning(int n, const uint8_t *extra);
