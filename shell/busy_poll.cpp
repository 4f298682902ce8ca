// busy_poll.cpp - cursors, the beep, the busy-message window, the Esc
// poll of long loops and the job flag.
#include <thread>

#include "dict_offsets.h"
#include "platform/display.h"
#include "platform/queue.h"
#include "platform/window.h"
#include "shell/draw_port.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

uint16_t JobActiveFlag;
int BusyMessageWindow;

// The busy message window's text stands at (70, 31) over a line of 38
// blanks that wipes the text before it.
constexpr int BusyTextX = 70, BusyTextY = 31, BusyBlankCount = 38;
constexpr uint32_t EscapeCode = 27;

// The arrow cursor.
void ArrowCursor() { PlSetCursorShape(PlCursor::Arrow); }

// The hour-glass cursor.
void WaitCursor() { PlSetCursorShape(PlCursor::Wait); }

// The default beep.
void Beep() { PlBeep(); }

// The busy-message window's number when it is still open as one; a number
// left behind by a window closed some other way is forgotten, so that the
// message never lands in another window that took the slot.
static int BusyWindowOpen()
{
    if (BusyMessageWindow && (!WinIsOpen(BusyMessageWindow) || WinTypeOf(BusyMessageWindow) != WinTypes::BusyMessage))
        BusyMessageWindow = 0;
    return BusyMessageWindow;
}

// Shows a PString in the busy-message window, opening it once, and sets
// the hour-glass cursor. Nothing happens when the window cannot be opened.
void ShowBusyMessage(const uint8_t *text)
{
    if (!BusyWindowOpen()) BusyMessageWindow = OpenWindow(WinTypes::BusyMessage, 0);
    if (!BusyMessageWindow) return;
    int saved;
    GetPortWindow(&saved);
    SetPortWindow(BusyMessageWindow);
    uint8_t blanks[BusyBlankCount + 1];
    blanks[0] = BusyBlankCount;
    for (int i = 1; i <= BusyBlankCount; i++) blanks[i] = ' ';
    DrawPString(BusyTextX, BusyTextY, blanks);
    DrawPString(BusyTextX, BusyTextY, text);
    WaitCursor();
    RestorePortWindow(saved);
}

// Closes the busy-message window when open and sets the arrow cursor. A
// window that refuses to close keeps its number for the next try.
void CloseBusyMessage()
{
    if (BusyWindowOpen() && CloseRecordWindow(BusyMessageWindow)) BusyMessageWindow = 0;
    ArrowCursor();
}

// Dispatches the messages that were posted when the poll began; an Esc
// key-down or character among them is taken instead, sets *flag to 1 and
// ends the poll, leaving the messages after it queued. Messages posted by
// the dispatched ones wait for the next poll, so a poll always ends. The
// quit request stays queued for the loop that owns it. Pending paints are
// done last.
void PollEscape(uint8_t *flag)
{
    for (int budget = MsgPendingCount(); budget > 0; budget--) {
        PlMessage m;
        if (!MsgPeek(&m, false) || m.msg == PlMsg::Quit || m.msg == PlMsg::Paint) break;
        if (!MsgPeek(&m, true)) break;
        if ((m.msg == PlMsg::KeyDown || m.msg == PlMsg::Char) && m.wParam == EscapeCode) {
            *flag = 1;
            return;
        }
        MsgDispatch(m);
    }
    if (FrameWindow) WinUpdate(FrameWindow);
}

// Polls for Esc with the user-cancel flag.
void PollStop() { PollEscape(&UserCancelFlag); }

// Waits until more than ms milliseconds have passed. The elapsed time is
// an unsigned difference of ticks, so the wrap of the tick count at 2^32
// neither ends the wait early nor makes it endless.
void BusyWait(uint32_t ms)
{
    uint32_t start = PlTickCount();
    while (uint32_t(PlTickCount() - start) <= ms) std::this_thread::yield();
}

// Clears the job-active flag when it is 1.
void ResetJobFlag()
{
    if (JobActiveFlag == 1) JobActiveFlag = 0;
}
