// company_open.cpp - the company dialog, opening and closing the company
// and the import of its default settings.
//
// A company is one database file. Choosing a name that does not exist
// creates it; any other file that does not open (a folder, a file in use
// or not a company) has been reported by the engine and the dialog asks
// again, so nothing that is there is ever overwritten.
#include "shell/company.h"

#include <cstdio>
#include <fstream>
#include <iterator>
#include <sys/stat.h>
#include <vector>

#include "core/field_access.h"
#include "core/file_form.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "shell/database_open.h"
#include "database/access/record_access.h"
#include "database/access/register_hooks.h"
#include "database/access/remote_calls.h"
#include "database/access/settings_blocks.h"
#include "database/engine/engine.h"
#include "recordwin/record_windows.h"
#include "shell/draw_port.h"
#include "shell/file_dialogs.h"
#include "shell/menus.h"
#include "shell/shell.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

uint16_t OpenResultWord;
uint16_t NewDbOption;
uint8_t ImportingFlag;
MemBlock TransferBuffer;
uint8_t *TransferBytes;
uint32_t TransferCounts[2];
uint8_t TransferByteOrder;

constexpr int TextNoDefaults = 9504;     // the new company starts without default settings
constexpr int TextNotCreated = 9508;     // the company could not be created
constexpr int TextImportTitle = 1517;
constexpr const char *DefaultsFileName = "DEFAULT.TXT";

// Tells the user that no company file is at a PString path, when that is
// why the last open failed. Every other failure the engine has told.
void CompanyOpenFailureShow(const uint8_t *path)
{
    if (DbLastOpenError != D4OpenNoFile) return;
    PString text;
    PStringFromC(text, D4OpenResultText(D4OpenNoFile));
    PStringAppend(text, path);
    ShowMessage(0, text);
}

// Asks for a company until one opens or the user cancels; true when open.
// A name with no file behind it creates a new company.
bool OpenCompanyDialog()
{
    for (;;) {
        PString path;
        if (!OpenDatabaseDialog(path) || path[0] == 0) return false;
        if (DbOpenFlag) DbClose();
        if (DbOpen(path, 0)) return true;
        if (OpenResultWord == 1) {
            OpenResultWord = 0;
            if (!OpenCompany(path, 0)) continue;
        }
        if (DbOpenFlag) return true;
    }
}

// True when a file of that name is there (the defaults file).
static bool FileExists(const char *name)
{
    struct stat st;
    return stat(name, &st) == 0 && S_ISREG(st.st_mode);
}

// Fills a new company from the defaults file. Without a text reader or
// without the file the company starts empty, and the user is told so
// once; a failed import is told by the reader and then the same way.
static void ImportDefaults(uint16_t option)
{
    if (!SettingsText.importFileOpen || !FileExists(DefaultsFileName)) {
        ShowTextMessage(TextNoDefaults);
        return;
    }
    if (ReportParams) {
        PutU16(ReportParams, ReportParamsVc::OutputKind, 2);
        PutU16(ReportParams, ReportParamsVc::ReportNumber, 0);
    }
    PString name;
    PStringFromC(name, DefaultsFileName);
    if (ImportFile(name, option) != 0) ShowTextMessage(TextNoDefaults);
}

// Creates the company at a PString path and prepares it: the new file,
// its registers and settings, the defaults, then the login (or, on a
// server, its module). True when a company is open; false, with the
// reason shown, when it could not be created or prepared.
bool OpenCompany(const uint8_t *path, uint16_t option)
{
    if (DbOpenFlag) DbClose();
    OpenResultWord = 0;
    NewDbOption = option;
    char cpath[256];
    PStringToC(path, cpath);
    int result = D4Create(cpath, option);
    if (AccessServices.sessionFlagsClear) AccessServices.sessionFlagsClear();
    if (result != D4OpenOk) {
        DbLastOpenError = int16_t(result);
        ShowMessage(TextNotCreated, path);
        return false;
    }
    if (!DbAfterOpen(option, path)) {
        ShowMessage(TextNotCreated, path);
        return false;
    }
    DbOpenFlag = 1;
    ImportDefaults(option);
    return DbEnterCompany();
}

// Closes the open company and, outside client mode, the engine; the
// program's last step before it ends.
void CompanyClose()
{
    WaitCursor();
    DbClose();
    if (!RunModeIsClient()) D4Exit();
    ArrowCursor();
}

// Runs the import the reader has opened, in the import window when the
// interface file has one, and redraws the fixed windows afterwards.
static void ImportRunLocal()
{
    ImportingFlag = 1;
    int window = 0, savedPort = 0;
    GetPortWindow(&savedPort);
    if (DbOpenFlag) {
        int type = WinTypeByName("ImpWClass");
        if (type > 0) window = OpenWindow(type, 0);
        if (window) {
            PString title;
            GetUiText(title, TextImportTitle);
            SetWindowTitle(window, title);
            SetPortWindow(window);
            MacRect all;
            WindowClientRect(window, &all);
            EraseRectWhite(&all);
        }
    }
    ImportRun();
    WindowType1Refresh();
    if (window && WinIsOpen(window)) WinClose(window);
    RestorePortWindow(savedPort);
    ImportingFlag = 0;
}

// A client sends the whole file to the server, which imports it, and then
// reloads the settings the import may have changed. False when the file
// cannot be read or the server did not take it.
static bool ImportRunClient(const uint8_t *path)
{
    std::ifstream in(PStringToStd(path), std::ios::binary);
    if (!in) return false;
    std::vector<uint8_t> file((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ToolbarEnable(false);
    bool ok = ReportParams && ImportRunRemote(ReportParams, ReportParamsSize, file.data(), uint32_t(file.size()));
    if (ok) SettingsBlocksReload();
    ToolbarEnable(true);
    return ok;
}

// Imports a text file: 0 when done, else the reader's error (it has told
// the user), RecStoreFailed when records of it could not be stored, or
// -1 when no reader is installed.
int ImportFile(const uint8_t *path, int mode)
{
    const SettingsTextExchange &x = SettingsText;
    if (!x.importFileOpen || !x.importFileClose) return -1;
    int result = x.importFileOpen(path, mode);
    if (result != 0) return result;
    if (RunModeIsClient()) {
        if (ReportParams) PutU16(ReportParams, ReportParamsVc::OutputKind, 2);
        bool sent = ImportRunClient(path);
        result = x.importFileClose();
        return result != 0 ? result : sent ? 0 : RecConnectionLost;
    }
    ImportRunLocal();
    result = x.importFileClose();
    if (result == 0 && ImportFailedSteps > 0) result = RecStoreFailed;
    return result;
}

// Prepares the transfer buffer of an export or import run.
void ImportBufferBegin()
{
    TransferCounts[0] = TransferCounts[1] = 0;
    if (TransferBuffer) MemFree(&TransferBuffer);
    TransferBuffer = MemAlloc(TransferBufferSize);
    TransferBytes = TransferBuffer ? MemLock(TransferBuffer) : nullptr;
    TransferByteOrder = ByteOrder.program;
    if (SettingsText.resetImportFlags) SettingsText.resetImportFlags();
}

// Frees the transfer buffer and reports the import's result.
void ImportBufferEnd()
{
    if (TransferBuffer) MemFree(&TransferBuffer);
    TransferBytes = nullptr;
    TransferCounts[0] = TransferCounts[1] = 0;
    if (SettingsText.reportImportResult) SettingsText.reportImportResult();
}
