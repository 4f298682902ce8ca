// company_open.cpp - the company dialog, opening and closing the company
// and the import of its default settings.
//
// A company is one database file. Choosing a name that does not exist
// creates it, whole or not at all (built under a temporary name, then
// renamed); any other file that does not open (a folder, a file in use
// or not a company) has been reported by the engine and the dialog asks
// again, so nothing that is there is ever overwritten.
#include "shell/company.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "core/field_access.h"
#include "core/file_form.h"
#include "core/language_file.h"
#include "core/message_sink.h"
#include "core/output_kind.h"
#include "core/pstring.h"
#include "core/server_hooks.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "output/output_job.h"
#include "shell/database_open.h"
#include "database/access/person_password.h"
#include "database/access/record_access.h"
#include "database/access/register_hooks.h"
#include "database/access/settings_blocks.h"
#include "database/access/write_gate.h"
#include "database/engine/engine.h"
#include "rules/entry_state.h"
#include "shell/file_dialogs.h"
#include "shell/shell.h"
#include "shell/toolbar.h"
#include "shell/window_utils.h"

uint16_t OpenResultWord;
uint16_t NewDbOption;
uint8_t ImportingFlag;
MemBlock TransferBuffer;
uint8_t *TransferBytes;
uint32_t TransferCounts[2];
uint8_t TransferByteOrder;

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

// True when a company path fits a PString, the longest file name the
// engine and the log take; otherwise the user is told why the path is
// refused. A path is never cut: its first 255 characters would name
// another file, or none, and the user would be told the wrong reason.
// (The company dialog refuses such a path itself.)
bool CompanyPathFits(std::string_view path)
{
    if (path.size() <= size_t(PStringMax)) return true;
    ShowTextMessage(Texts::PathTooLong);
    return false;
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

// What of the defaults failed to import, from ImportFile's result, into
// why: how many parts were not stored, or the reader's error.
static void DefaultsFailureText(int result, uint8_t *why)
{
    PString tail;
    char number[16];
    if (result == RecStoreFailed && ImportFailedSteps > 0) {
        std::snprintf(number, sizeof number, "%u", unsigned(ImportFailedSteps));
        PStringFromC(why, number);
        GetUiText(tail, Texts::DefaultsPartlyStored);
        PStringAppend(why, tail);
    } else {
        GetUiText(why, Texts::DefaultsNotImported);
        std::snprintf(number, sizeof number, "%d).", result);
        PStringAppendC(why, number);
    }
}

// Fills a new company from the defaults file, found in the working folder
// or else beside the executable (the interface file's probe; a path too
// long for the reader counts as none). Without a text reader or
// without the file the company starts empty, and the user is told so.
// False, with why, when the import failed: the company is not made then.
static bool ImportDefaults(uint16_t option, uint8_t *why)
{
    std::string found;
    if (!SettingsText.importFileOpen || !ProgramFileFind(DefaultsFileName, &found) || found.size() > 254) {
        ShowTextMessage(Texts::CompanyNoDefaults);
        return true;
    }
    OwnedJob own;   // the defaults' import: a text file, run number 0
    PutU16(own.job.selection, ReportParamsVc::OutputKind, OutputCode(OutputKind::ToTextFile));
    PutU16(own.job.selection, ReportParamsVc::ReportNumber, 0);
    PString name;
    PStringFromC(name, found.c_str());
    int result = 0;
    {
        OutputJobAttach attached(own.job);
        result = ImportFile(name, option);
    }
    StatusLineSet({});   // the defaults are part of the company being made, not a run of the user's
    if (result == 0) return true;
    DefaultsFailureText(result, why);
    return false;
}

namespace {

// The messages of a company being built, held back: shown after it was
// made, or only the first, as the reason, when it could not be.
std::vector<std::string> HeldMessages;
void HoldMessage(const char *text) { HeldMessages.emplace_back(text); }

// Builds the company at path in the file temp of the same folder: the
// new file, its registers and settings, the defaults; then the file is
// closed with everything synced and renamed to path with the folder
// synced. Until that rename no file is at path, so a kill at any point
// leaves no company or the whole one. False (why set when the defaults
// failed) otherwise.
bool BuildCompany(const char *temp, const uint8_t *path, uint16_t option, uint8_t *why)
{
    const uint64_t refusals = D4DiskRefusals();
    int result = D4Create(temp, option);
    if (ServerHooks.sessionFlagsClear) ServerHooks.sessionFlagsClear();
    if (result != D4OpenOk) {
        DbLastOpenError = int16_t(result);
        return false;
    }
    if (!DbAfterOpen(option, path)) return false;   // the file was closed
    DbOpenFlag = 1;
    // The defaults are the program's own writes: nobody is logged in to
    // the company being made, and no one's rights govern them.
    bool imported = false;
    {
        ProgramWrites own;
        imported = ImportDefaults(option, why);
    }
    // Whatever wrote the defaults' persons, the new company keeps no
    // password as text (there is nothing older to tell the user about).
    if (imported) imported = PersonPasswordsConvert() >= 0;
    if (imported) SaveSeriesState();
    bool closed = D4Close();
    DbOpenFlag = 0;
    // A write the disk refused on the way (a flush that went back to the
    // last full save, say) leaves unsure what the file holds: not made.
    if (!imported || !closed || D4DiskRefusals() != refusals) return false;
    char cpath[256];
    PStringToC(path, cpath);
    return D4FileRenameNew(temp, cpath);
}

}  // namespace

// Creates the company at a PString path (no file is there) and opens it:
// built whole under a temporary name, then the login (or, on a server,
// its module). True when a company is open; false when it could not be
// made, with the temporary file removed and the reason told once.
bool OpenCompany(const uint8_t *path, uint16_t option)
{
    if (DbOpenFlag) DbClose();
    OpenResultWord = 0;
    NewDbOption = option;
    char cpath[256];
    PStringToC(path, cpath);
    const std::string temp = std::string(cpath) + ".new";
    PString why;
    why[0] = 0;
    HeldMessages.clear();
    MessageSink shown = MessageSinkSet(HoldMessage);
    bool built = BuildCompany(temp.c_str(), path, option, why);
    MessageSinkSet(shown);
    std::vector<std::string> held;
    held.swap(HeldMessages);
    if (!built) {
        std::remove(temp.c_str());
        PString extra;
        PStringCopy(extra, path);
        // The first thing that went wrong (a refused write, say) is the
        // reason; else what of the defaults failed.
        if (!held.empty()) PStringFromC(why, held.front().c_str());
        if (why[0] != 0) {
            PStringAppendC(extra, " - ");
            PStringAppend(extra, why);
        }
        ShowMessage(Texts::CompanyCreateFailed, extra);
        return false;
    }
    for (const std::string &text : held) MessageSinkShow(text.c_str());
    return DbOpen(path, option);
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

// Keeps the last component of a PString path, cut to 20 characters, as
// the file's name for display.
static void ImportShortNameSet(const uint8_t *path)
{
    int from = path[0];
    while (from > 0 && path[from] != '/') from--;
    int n = std::min(path[0] - from, 20);
    std::memcpy(ImportFileShortName + 1, path + from + 1, size_t(n));
    ImportFileShortName[0] = uint8_t(n);
}

// Imports the text file at a PString path: the reader opens the whole
// path (its name is kept short only for display), the import runs in its
// window and the file is closed. 0 when done; else the reader's error (it
// has told the user), the run's failure (ImportRunResult), or -1 when no
// reader is installed.
int ImportFile(const uint8_t *path, int mode)
{
    const SettingsTextExchange &x = SettingsText;
    if (!x.importFileOpen || !x.importFileClose) return -1;
    ImportShortNameSet(path);
    int result = x.importFileOpen(path, mode);
    if (result != 0) return result;
    if (RunModeIsClient() && CurrentJobRecord())
        PutU16(CurrentJobRecord(), ReportParamsVc::OutputKind, OutputCode(OutputKind::ToTextFile));
    ImportRunWindow(path);
    result = x.importFileClose();
    return result != 0 ? result : ImportRunResult;
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
