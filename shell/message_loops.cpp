// message_loops.cpp - the main message loop and the bounded wait of
// nested operations.
#include "shell/startup.h"

// Gets and dispatches messages until quit (or the nested loop's end).
void MainMessageLoop() {}

// Dispatches messages until *flag is set or ms milliseconds (0: no limit) pass.
void ModalMessageLoop(const uint8_t *flag, int32_t ms) {}
