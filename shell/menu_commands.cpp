// menu_commands.cpp - the File, Edit and Record menu dispatchers. The
// frame hands them WM_COMMAND ids 101.., 201.. and 301.. as item numbers;
// the busy guard has already been applied by the caller.
#include "shell/menus.h"

#include "dict_offsets.h"
#include "output/job_queue.h"

#include "shell/database_open.h"
#include "database/access/record_access.h"
#include "shell/field_editing.h"
#include "shell/matrix_editing.h"
#include "shell/menu_lists.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

// Runs File menu item `item` for window w (0: no window). Item 1 (re)opens
// a company outside client mode; while a company is open items 2, 4, 8
// and 9 open (or bring forward) the window list, the function list, the
// report list and the document list; item 5 opens the import list while
// a company is open, in the compact variant also without one (and, where
// the interface file has no import list, asks for a file and imports
// it); item 7 prints what w shows, item 10 opens the job
// queue and item 12 quits; in the compact variant item 11 counts as 12.
// Items 3, 6 and 11 never do anything.
void MenuCommand(int w, int item)
{
    if (CompactVariant && item == 11) item = 12;
    switch (item) {
    case 1:
        // The open windows close first, asking about their changes.
        if (!RunModeIsClient() && CloseAllWindows(0)) DbConnectCommand();
        break;
    case 2:
        if (DbOpenFlag) OpenOrActivateWindow(WinTypes::WindowList, 0, 0, false, 0);
        break;
    case 4:
        if (DbOpenFlag) OpenOrActivateWindow(WinTypes::FunctionList, 0, 0, false, 0);
        break;
    case 5:
        // The full variant reaches its imports here too, not only through
        // the function list, so the item is never a dead end.
        if (!CompactVariant && !DbOpenFlag) break;
        if (WinDefExists(WinTypes::ImportList))
            OpenOrActivateWindow(WinTypes::ImportList, 0, 0, false, 0);
        else
            (void)ImportFileAsk();
        break;
    case 7:
        if (WinIsOpen(w)) CmdPrint(w);
        break;
    case 8:
        if (DbOpenFlag) OpenOrActivateWindow(WinTypes::ReportList, 0, 0, false, 0);
        break;
    case 9:
        if (DbOpenFlag) OpenOrActivateWindow(WinTypes::DocumentList, 0, 0, false, 0);
        break;
    case 10:
        OpenOrActivateWindow(WinTypes::JobQueue, 0, 0, false, 0);
        break;
    case 12:
        QuitFlag = 1;
        break;
    default:
        break;
    }
}

// Runs Edit menu item `item` for window w: undo, cut, copy, paste, the
// three matrix-row commands (6 delete, 7 insert, 8 select) and choose (10).
// In the job queue, whose rows are saved jobs, Delete row deletes the
// selected job. Every item acts on a window, so nothing happens without one.
void EditCommand(int w, int item)
{
    if (!WinIsOpen(w)) return;
    switch (item) {
    case 1: EditUndo(w); break;
    case 3: EditCut(w); break;
    case 4: EditCopy(w); break;
    case 5: EditPaste(w); break;
    case 6:
        if (WinTypeOf(w) == WinTypes::JobQueue)
            RepJobQueueDelete(w);
        else
            MatrixRowCommand(w, item);
        break;
    case 7:
    case 8: MatrixRowCommand(w, item); break;
    case 10: CmdChoose(w); break;
    default: break;
    }
}

// Runs Record menu item `item` for window w: 1 next, 2 previous, 4 OK,
// 5 cancel, 6 new, 7 copy as new, 8 delete, 9 notes (a window of type 21
// attached to w). The top bar's four buttons send items 4 to 7. Nothing
// happens without a window.
void RecordCommand(int w, int item)
{
    if (!WinIsOpen(w)) return;
    switch (item) {
    case 1: NextRecord(w); break;
    case 2: PrevRecord(w); break;
    case 4: WindowOkAction(w); break;
    case 5: CmdCancelRecord(w); break;
    case 6: CmdNewRecord(w); break;
    case 7: CmdOpenRecord(w); break;
    case 8: CmdDeleteRecord(w); break;
    case 9: CmdOpenType21(w); break;
    default: break;
    }
}
