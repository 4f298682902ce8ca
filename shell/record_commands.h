// record_commands.h - the commands on a record window: opening and
// closing windows, OK, cancel, new, open, delete, print, the edit state,
// the bottom bar's commands, and where a window type opens.
#pragma once

#include <cstdint>

#include "core/definitions.h"

// ---- record_commands.cpp ----
// The screen field a window opened by OpenOrActivateWindow focuses first;
// 1 before each open, its type's open event may change it.
extern int16_t FirstFieldNumber;
// Activates an open window of the type, or opens one; its number, 0 when refused.
int OpenOrActivateWindow(int type, int argument, uint32_t recordId, bool forceNew, int opener);
// The OK action of window n.
void WindowOkAction(int n);
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
// Sets n's edit state; when it changed, the title follows and n is repainted.
void WinSetRecState(int n, int state);
// Runs a bottom-bar command with its argument for window w.
void ToolbarCommand(int w, int command, int argument);
// Ends n's edit: state 0, the menus and bars recomputed.
void WinEditStateDone(int n);

// ---- report_commands.cpp (with CmdPreview, CmdPrintToFile: report_commands.h) ----
// Prints what window n shows.
void CmdPrint(int n);

// ---- list_commands.cpp ----
// The OK of a list window: opens or chooses the selected record.
void CmdListOk(int n);

// ---- record_store.cpp ----
// Stores n's record by its state (insert or update); true when stored.
bool StoreWindowRecord(int n);
// Stores n's record and keeps the window open on it; true when stored.
bool WinStoreAndStay(int n);
// Trims n's empty matrix rows before a store; 0, or the screen field of
// an empty row that must be filled or removed first.
int MatrixTrimBeforeSave(int n);
// Inserts n's new record; true when stored.
bool WinInsertRecord(int n);
// Updates n's changed record; true when stored.
bool WinUpdateRecord(int n);
// Moves the focus after a failed store of n with result `result` to the
// field the record layer named.
void WinStoreFailedFocus(int n, int result);
// Focuses the screen field of n showing a record field (of a row).
void WinGotoRecordField(int n, uint32_t field, int row, uint32_t column);

// ---- settings_windows.cpp ----
// Saves n's record by its kind; true when saved.
bool WinSaveRecord(int n);
// Saves the settings record of n (kinds 8 and 9); true when saved.
bool WinSaveSettingsRecord(int n);
// Stores a settings block from a buffer of `size` bytes; a record-layer result, 0 done.
int SettingsRecordStore(int block, const uint8_t *buffer, uint32_t size);
// True when the block of settings window n (one record of a block) was
// stored anew since n read it; SettingsRecordReread shows it as stored.
bool SettingsRecordChanged(int n);
void SettingsRecordReread(int n);

// ---- record_load.cpp ----
// Loads record `recordId` into n (kinds 8 and 9: the settings), or clears it.
void WinLoadRecord(int n, uint32_t recordId);
// Starts a new record in n; false when refused.
bool WinNewRecord(int n);
// Shows in record window n, which holds no record, what a new record
// starts with, without starting one; true when n shows no record.
bool WinShowNewDefaults(int n);
// Makes n's record a new record with its values.
void WinCopyAsNew(int n);
// Shows the next and the previous record of n's register.
void WinRecordNext(int n);
void WinRecordPrev(int n);
// Reads n's record again as stored; a record-layer result, 0 done.
int WinRereadRecord(int n);
// Finds the record of n's typed key and shows it.
void WinFindByTypedKey(int n);
// The same without telling: true when a row was found and selected.
bool ListFindTypedKey(int n);

// ---- record_edit_begin.cpp ----
// Starts editing the record of window n.
void WinBeginEdit(int n);
// Ends the unchanged edit a refused command started on n's stored record.
void WinGiveBackEdit(int n);
// True when n's stored copy differs from the record as stored now.
bool WinRecordDiffers(int n);
// Puts n's stored copy back into its record.
void WinRestoreStored(int n);

// ---- window_close.cpp ----
// Closes window n when nothing stops it; true when closed.
bool CloseRecordWindow(int n);
// Asks whether n's changes are stored before n closes; true when n may close.
bool WinAskStoreChanges(int n);
// Closes every window, asking about changes unless forced; true when all
// closed. force 1 closes even a window the user keeps; QuitLost closes
// every window without asking.
bool CloseAllWindows(int force);
// True when window n holds what was typed but not stored: a record
// window's new or changed record, a settings window's changed rows.
bool WinHasUnstoredChanges(int n);
// The windows holding what was not stored, as a user names them (the
// window's title and the record's key), joined by ", " into out (a
// PString; what passes its length is left out). Empty when none.
void UnstoredWindowsText(uint8_t *out);
// Runs the quit the user asked for: true when the program may end.
bool QuitConfirm();

// ---- window_prepare.cpp ----
// Prepares n after it opened, before its record loads.
void WinPrepareAfterOpen(int n);

// ---- window_placement.cpp ----
// The user's stored rectangle and list column of a window type, over the defaults.
void WinPlacementLoad(int type, MacRect *r, uint16_t *column);
// Stores the user's rectangle and list column of a window type.
void WinPlacementSave(int type, const MacRect *r, int column);
// Gives n its type's default rectangle and stores that as its placement.
void WinPlacementDefault(int n);
// Stores n's rectangle and list column as its type's placement (command 808).
void WinPlacementSaveCommand(int n);
