// record_commands.h - the commands on a record window: opening and
// closing windows, OK, cancel, new, open, delete, print, the edit state,
// the bottom bar's commands, and where a window type opens.
#pragma once

#include <cstdint>

#include "core/definitions.h"

// ---- record_commands.cpp ----
// Closes window n when nothing stops it; true when closed.
bool CloseRecordWindow(int n);
// Activates an open window of the type, or opens one; its number, 0 when refused.
int OpenOrActivateWindow(int type, int argument, uint32_t recordId, bool forceNew, int opener);
// The OK action of window n.
void WindowOkAction(int n);
// Starts editing the record of window n.
void WinBeginEdit(int n);
// Starts a new record in window n.
void CmdNewRecord(int n);
// Opens the record selected in window n.
void CmdOpenRecord(int n);
// Cancels the edit of window n.
void CmdCancelRecord(int n);
// Deletes the record of window n.
void CmdDeleteRecord(int n);
// Opens a new window of type 21 with n as its opener.
void CmdOpenType21(int n);
// Prints what window n shows.
void CmdPrint(int n);
// Sets n's edit state; when it changed, the title follows and n is repainted.
void WinSetRecState(int n, int state);
// Runs a bottom-bar command with its argument for window w.
void ToolbarCommand(int w, int command, int argument);

// ---- window_placement.cpp ----
// The user's stored rectangle and list column of a window type, over the defaults.
void WinPlacementLoad(int type, MacRect *r, uint16_t *column);
// Stores the user's rectangle and list column of a window type.
void WinPlacementSave(int type, const MacRect *r, int column);
// Gives n its type's default rectangle and stores that as its placement.
void WinPlacementDefault(int n);
