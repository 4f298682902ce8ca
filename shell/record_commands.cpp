// record_commands.cpp - commands on record windows and the bottom bar's
// commands.
#include "shell/record_commands.h"

#include <cassert>

#include "database/access/database_open.h"
#include "shell/field_editing.h"
#include "shell/shell.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

// The screen field a window opened by OpenOrActivateWindow focuses first.
int16_t FirstFieldNumber = 1;

// Activates an open window of the type unless a new one is forced, else
// opens one; its number, 0 when the type is undefined or the open refused.
int OpenOrActivateWindow(int type, int argument, uint32_t recordId, bool forceNew, int opener)
{
    if (!WinDefExists(type)) return 0;
    if (!forceNew) {
        int found = WinFindByDef(type);
        if (found) {
            ActivateWindowNumber(found);
            return found;
        }
    }
    int n = OpenWindow(type, argument);
    if (n == 0) return 0;
    WinTable[n]->opener = uint16_t(opener);
    return n;
}

// The OK action of window n.
void WindowOkAction(int n) { StateRefreshFlag = 1; }

// Starts a new record in window n.
void CmdNewRecord(int n) { StateRefreshFlag = 1; }

// Opens the record selected in window n.
void CmdOpenRecord(int n) { StateRefreshFlag = 1; }

// Cancels the edit of window n.
void CmdCancelRecord(int n) { StateRefreshFlag = 1; }

// Deletes the record of window n.
void CmdDeleteRecord(int n) { StateRefreshFlag = 1; }

// Opens a new window of type 21 with n as its opener.
void CmdOpenType21(int n) { StateRefreshFlag = 1; }

// Prints what window n shows.
void CmdPrint(int n) { StateRefreshFlag = 1; }

// Sets n's edit state; when it changed, the title follows and n is repainted.
void WinSetRecState(int n, int state)
{
    assert(WinIsOpen(n));
    if (WinTable[n]->editState == state) return;
    WinTable[n]->editState = uint16_t(state);
    WinTitleUpdate(n);
    WinMarkChanged(n);
}

// Runs a bottom-bar command for window w: 11 opens a company, 14 quits.
void ToolbarCommand(int w, int command, int argument)
{
    if (command == 11)
        DbConnectCommand();
    else if (command == 14)
        QuitFlag = 1;
    StateRefreshFlag = 1;
}

// The OK of a list window; nothing here.
void CmdListOk(int n) {}

// Ends n's edit; nothing here.
void WinEditStateDone(int n) {}
