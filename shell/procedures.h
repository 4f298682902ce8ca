// procedures.h - the window procedures of the frame and of the MDI
// children, the keys the shell takes before the controls, and the
// scrolling of a window's panes.
#pragma once

#include <cstdint>

#include "platform/queue.h"

// ---- frame_proc.cpp ----
// Window procedure of the frame.
intptr_t MPFrameWndProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam);
// Opens the About window unless one is open. The frame's command ids are
// frame_commands.h's.
void AboutWindowCommand();

// The MDI client's control id and the id of its first child.
constexpr int MdiClientId = 3244, MdiFirstChildId = 1;

// ---- child_proc.cpp ----
// Window procedure of every record window's MDI child.
intptr_t MPMDIChildWndProc(uint32_t win, uint32_t msg, uintptr_t wParam, intptr_t lParam);
// The window number whose MDI child this is; 0 when none.
int WindowNumberOf(uint32_t child);
// Moves the pane of scroll bar `bar` of window n by a scroll code.
void ScrollPane(int n, uint32_t bar, int code, int position);

// ---- keys.cpp ----
// Takes a key message before its control does; true when taken.
bool KeyPreTranslate(const PlMessage &m);
// Runs the shell's command for character c; true when taken.
bool KeyCharCommand(int c);
// Runs the key table entry of character c in window n.
void KeyActionTable(int n, int c);
// The field-focus move an arrow key asks of window n's edit control: 3
// previous (Left), 2 next (Right), 5 (Up), 6 (Down); 0 when the key stays
// with the control (the caret can still move inside the text).
int EditArrowMode(int n, uint32_t key);
// Opens the help file.
void HelpOpen();
