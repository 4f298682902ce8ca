// database_open.cpp - run mode, opening and closing the database, and
// the flush modes.
//
// Stand-alone and server open the company file through the engine; a
// client has no file: it connects and reloads its settings from the
// server. DbOpenFlag (shell/shell.h) says whether a company is open in
// either case; the engine's own D4IsOpen says whether a file is.
#include "shell/database_open.h"

#include <cassert>
#include <cstdio>

#include "core/pstring.h"
#include "core/server_hooks.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "database/access/person_password.h"
#include "database/access/record_access.h"
#include "database/access/register_hooks.h"
#include "database/access/remote_calls.h"
#include "database/access/settings_blocks.h"
#include "database/engine/engine.h"
#include "recordwin/record_windows.h"
#include "rules/entry_state.h"
#include "shell/company.h"
#include "shell/login.h"
#include "shell/menus.h"
#include "shell/net_services.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/toolbar.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

constexpr int TextPasswordsConverted = 16003;
constexpr int TextPasswordsNotConverted = 16005;

int16_t DbLastOpenError;
int DbOpenArgument;

// The name of the open company, for the close line of the log.
static PString OpenDatabaseName;

// Sets the run mode; returns the one before.
uint16_t SetRunMode(uint16_t mode)
{
    uint16_t before = RunMode;
    RunMode = mode;
    return before;
}

void SetRunModeLocal() { SetRunMode(1); }

// Clears the server's per-session flags so that every session receives
// fresh record counts (nothing to clear while no server installed it).
static void SessionFlagsClear()
{
    if (ServerHooks.sessionFlagsClear) ServerHooks.sessionFlagsClear();
}

// An older company keeps its persons' passwords as text: the first open
// turns them into verifiers in one hold and says so once; a conversion
// that fails changes nothing and says so (those persons cannot log in
// until it succeeds at a later open).
static void PasswordsToVerifiers()
{
    int converted = PersonPasswordsConvert();
    if (converted > 0) ShowTextMessage(TextPasswordsConverted);
    if (converted < 0) ShowTextMessage(TextPasswordsNotConverted);
}

// Opens the company file of a PString name; true when open and the user
// may work in it. A failed engine open leaves its code in DbLastOpenError
// (and OpenResultWord 1 when there was no file) for the caller to report;
// a refused login closes the company again.
bool DbOpen(const uint8_t *name, int argument)
{
    DbOpenArgument = argument;
    DbLastOpenError = 0;
    OpenResultWord = 0;
    if (!RunModeIsClient()) {
        char path[256];
        PStringToC(name, path);
        int result = D4Open(path, 0);
        DbLastOpenError = int16_t(result);
        SessionFlagsClear();
        if (result != D4OpenOk) {
            if (result == D4OpenNoFile) OpenResultWord = 1;
            return false;
        }
    }
    if (!DbAfterOpen(argument, name)) return false;
    if (!RunModeIsClient()) PasswordsToVerifiers();
    DbOpenFlag = 1;
    return DbEnterCompany();
}

// Lets the user into the company just opened: a server takes up its
// module and serves, its own frame offering nobody a register or a module
// (no login comes there); elsewhere the login decides, and a refused one
// closes the company again. True when the company stays open.
bool DbEnterCompany()
{
    assert(DbOpenFlag);
    if (RunMode == RunModeServer) {
        ModuleReactivate();
        if (NetServices.serverRunModeOn) NetServices.serverRunModeOn();
        RebuildWindowTypeMenu();
        RebuildRegisterMenu();
        StateRefreshFlag = 1;
        return true;
    }
    if (!LoginLoop()) {
        DbClose();
        return false;
    }
    return true;
}

// Reads the entry state of the company just opened and shows its dates
// in the bars; false when it cannot be read.
static bool EntryStateLoaded()
{
    if (InitEntryState() != 1) return false;
    WindowType1Refresh();
    return true;
}

// The steps after an open or a create: the name is kept for the log's
// close line, stand-alone and server open the registers, a client
// reloads its settings and entry state. False when the company cannot be
// used; a local file is closed again then.
bool DbAfterOpen(int argument, const uint8_t *name)
{
    (void)argument;
    PStringCopy(OpenDatabaseName, name);   // for the close line, opened or created
    if (!RunModeIsClient()) return DbReopenRegisters();
    // A client's settings come after its login (LoginLoop): the server
    // serves none of the company before it.
    return EntryStateLoaded();
}

// Opens every register again after the file was opened: the settings
// blocks, the registers' opened marks and the entry state. When the entry
// state cannot be read the file is closed and no company is open.
bool DbReopenRegisters()
{
    SettingsBlocksReload();
    for (int reg = 1; reg < RegisterCount; reg++) RegMarkOpen(reg);
    SessionFlagsClear();
    if (EntryStateLoaded()) return true;
    if (!D4Close()) std::fputs("orvel: the database file was not closed cleanly\n", stderr);
    DbOpenFlag = 0;
    return false;
}

// Closes the database, locally or at the server; the login goes with it,
// the bars no longer name the company, and the status line no longer
// tells what its last user did (the next one to log in is not told).
void DbClose()
{
    if (RunModeIsClient()) DbCloseRemote();
    else DbCloseLocal();
    LoginStateReset();
    StatusLineSet({});
    RedrawWindowOne();
}

// Closes every open window except report windows (kind 5), which hold
// no record.
static void CloseRecordWindows()
{
    for (int n = WinFirst; n <= WinLast; n++)
        if (WinIsOpen(n) && WinKindOf(n) != KindCode(WindowKind::Output)) CloseRecordWindow(n);
}

// Closes the local database file: the record windows, then the series
// state is saved and the file closed, and the log says so.
void DbCloseLocal()
{
    CloseRecordWindows();
    if (!DbOpenFlag) return;
    SaveSeriesState();
    bool closed = D4Close();
    PString line;
    PStringFromC(line, "Close database ");
    PStringAppend(line, OpenDatabaseName);
    if (!closed) PStringAppendC(line, " (not closed cleanly)");
    LogAppend(line);
    DbOpenFlag = 0;
}

// Ends the session at the server: the record windows are asked to close,
// the server is told (unless a request is still being answered) and
// every window that holds data is closed.
void DbCloseRemote()
{
    CloseRecordWindows();
    if (DbOpenFlag) {
        bool busy = NetServices.requestInProgress && NetServices.requestInProgress();
        if (!busy && !SessionEndRequest(ClientSessionId))
            std::fputs("orvel: the server did not confirm the end of the session\n", stderr);
    }
    for (int n = WinFirst; n <= WinLast; n++)
        if (WinIsOpen(n) && WinKindOf(n) != KindCode(WindowKind::Output)) WinClose(n);
    DbOpenFlag = 0;
}

// The menu command that (re)opens a company. Stand-alone, the company
// dialog asks; the open company is closed only once another file has
// been chosen, so a cancelled dialog leaves it open and the user at work.
// A client's new connection replaces its session, which is ended first;
// a connection that fails has told the user why and set the quit flag;
// only a connect service that gave up without it leaves the user to open
// a local company instead. The program ends also when no company was
// open before the command and none is open after it (the start-up's
// question cancelled).
void DbConnectCommand()
{
    bool wasOpen = DbOpenFlag != 0;
    if (!RunModeIsClient()) {
        OpenCompanyDialog();
    } else if (!CompactVariant) {
        if (DbOpenFlag) DbClose();
        bool connected = NetServices.connectLoop && NetServices.connectLoop();
        // A server that refused the client (and said why) ends the program.
        if (!connected && !QuitFlag) {
            SetRunMode(0);
            OpenCompanyDialog();
        }
    }
    if (!DbOpenFlag && !wasOpen) QuitFlag = 1;
}

// Flushes in mode 0: holds are kept in the cache until the next full
// flush. A refusal of the disk has been told to the user by the engine.
void DbFlushQuick()
{
    if (D4IsOpen() && !D4Flush(0)) std::fputs("orvel: flush mode 0 refused\n", stderr);
}

// Flushes in mode 1: everything written, header last.
void DbFlushFull()
{
    if (D4IsOpen() && !D4Flush(1)) std::fputs("orvel: the database could not be written\n", stderr);
}

// True while the engine's abort flag is set (a file fault was reported).
bool DbAbortFlag() { return D4AbortFlag(); }

// Clears the engine's abort flag.
void DbAbortFlagClear() { D4ClearAbortFlag(); }
