// window_utils.h - thin operations by window number over the window
// system that the shell, the record windows and the output layer share:
// the Edit commands, captions, activation, scrolling, menus and toolbar
// buttons, cursors, the busy-message window and the Esc poll of long
// loops. Each reaches the window's controls through its WindowRec; one
// without the control it needs does nothing.
#pragma once

#include <cstdint>

#include "core/definitions.h"
#include "core/memblock.h"

extern uint16_t JobActiveFlag;    // a request or output job runs
extern int BusyMessageWindow;     // the open busy-message window, 0 none

// ---- Edit commands (edit_commands.cpp) ----
// Cuts the selection of n's edit control when the field may be edited.
void EditCut(int n);
// Copies the edit selection, or the marked records of a list window.
void EditCopy(int n);
// Pastes into n's edit control when the field may be edited.
void EditPaste(int n);
// Undo: does nothing.
void EditUndo(int n);
// Replaces the edit selection by character c; backspace is ignored.
void InsertCharInField(int n, int c);
// Selection of n's edit control.
void EditSelection(int n, int *start, int *end);
// Text length of n's edit control.
void FieldTextLength(int n, int *length);
// Row i of n's list box as a PString.
void ListBoxGetText(int n, int i, uint8_t *text);
// Selects the first row of n's list box and focuses it.
void FocusField(int n);
// Range 1..max and position of a scroll bar; -1 leaves either unchanged.
void SetScrollBar(int unused1, int unused2, uint32_t control, int max, int position);
// Enables or disables a control.
void EnableControl(uint32_t control, bool on);

// ---- Windows (window_utils.cpp) ----
// Sets the caption of n's child from a PString.
void SetWindowTitle(int n, const uint8_t *text);
// Brings n to the top, restoring it when minimised.
void ActivateWindowNumber(int n);
// Maximises n's child.
void MaximizeWindowNumber(int n);
// Destroys n's child and forgets the drawing port.
void DestroyWindowNumber(int n);
// True when n is minimised; false for 0.
bool IsWindowIconic(int n);
// Scrolls r of window n by dx, dy, invalidating what is uncovered.
void ScrollWindowRect(int n, const MacRect *r, int dx, int dy);
// Resizes a platform window without moving it.
void SetWindowSize(uint32_t window, int width, int height);
// n's rectangle relative to the frame window.
void WinRectInFrame(int n, MacRect *out);
// Erases n's client area white and lays out the contents of report windows.
void WinPaint(int n, const MacRect *r);
// Invalidates the frame's two bars.
void RedrawWindowOne();
// Next record or page down by window kind.
void NextRecord(int n);
// Previous record or page up by window kind.
void PrevRecord(int n);

// ---- Menus and toolbar (menu_utils.cpp) ----
// Enables or greys item `item` (from 1) of a menu by position; -1 when missing.
int EnableMenuCmd(uint32_t menu, int item, bool on);
// Enables or greys top-level menu k, 2..6.
void EnableTopMenu(int k, bool on);
// Enables or greys an item of n's operations popup.
void EnableWindowMenuItem(int n, int item, bool on);
// Inserts n's operations popup into the menu bar.
void InsertWindowMenu(int n);
// Removes n's operations popup from the menu bar.
void RemoveWindowMenu(int n);
// Checks the module popup's items of module m and unchecks the others.
void CheckModuleMenu(int m);
// Redraws the frame's menu bar.
void RedrawMenuBar();
// Greys top-level item 6 while a run is active.
void SyncRunMenu();
// Sets the four top-bar buttons from n's edit-command state.
void EnableToolButtons(int n);
// Sets the fixed hit rectangles of the top bar's icons.
void ToolbarMetricsInit();
// Copies a zero-terminated string leaving out every '&'.
void StripAmpersands(const char *src, char *dst);
// Replaces *h by a new block holding a copy of its bytes; false when refused.
bool CopyBlock(MemBlock *h);

// ---- Cursors, waits, the busy message (busy_poll.cpp) ----
// The arrow cursor.
void ArrowCursor();
// The hour-glass cursor.
void WaitCursor();
// The default beep.
void Beep();
// Shows a PString in the busy-message window, opening it once.
void ShowBusyMessage(const uint8_t *text);
// Closes the busy-message window when open.
void CloseBusyMessage();
// Dispatches pending messages; an Esc sets *flag and ends the poll.
void PollEscape(uint8_t *flag);
// Polls for Esc with the user-cancel flag.
void PollStop();
// Waits until more than ms milliseconds have passed.
void BusyWait(uint32_t ms);
// Clears the job-active flag when it is 1.
void ResetJobFlag();
