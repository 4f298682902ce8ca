// busy_poll.cpp - cursors, the beep, the busy-message window, the Esc
// poll of long loops and the job flag.
#include "shell/window_utils.h"

uint16_t JobActiveFlag;
int BusyMessageWindow;

// The arrow cursor.
void ArrowCursor() {}

// The hour-glass cursor.
void WaitCursor() {}

// The default beep.
void Beep() {}

// Shows a PString in the busy-message window, opening it once.
void ShowBusyMessage(const uint8_t *text) {}

// Closes the busy-message window when open.
void CloseBusyMessage() {}

// Dispatches pending messages; an Esc sets *flag and ends the poll.
void PollEscape(uint8_t *flag) {}

// Polls for Esc with the user-cancel flag.
void PollStop() {}

// Waits until more than ms milliseconds have passed.
void BusyWait(uint32_t ms) {}

// Clears the job-active flag when it is 1.
void ResetJobFlag() {}
