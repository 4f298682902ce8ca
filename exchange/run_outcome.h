// run_outcome.h - the one line a long run of the text exchange (an import,
// an export, the payment suggestion) leaves on the status strip when it
// ends, and the information box for what a run reports without fault.
//
// Kept small and on its own so that a shared outcome helper can take its
// place: the callers only hand over the line.
#pragma once

#include <cstdint>
#include <string>

// Puts line (8-bit text) on the status strip of the frame; nothing while a
// client's request is handled on the server (the client tells its own).
void RunOutcomeTell(const std::string &line);
// The line put there last (empty when none since the start).
std::string RunOutcomeLast();
// Shows text (PString) in a box with the information icon, owned by the
// frame: a notice, not a failure. On the server it goes back as the
// request's message like any other.
void RunInfoMessage(const uint8_t *text);
// Text n of the interface file followed by the decimal number.
std::string RunTextNumber(int n, uint32_t number);

// The payment suggestion (window OK) with its outcome line: how many
// payments it made, or that it stopped before its end.
bool PaymentSuggestionTold(uint8_t *selection);
