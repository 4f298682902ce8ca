// import_command.cpp - the import command of the module-function list:
// the check of open windows, the file question, the import and what the
// user is told when the file was not one this program exported.
#include "shell/menu_lists.h"

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/window_kind.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "output/output_job.h"
#include "recordwin/record_windows.h"
#include "shell/company.h"
#include "shell/feature_commands.h"
#include "shell/login.h"
#include "shell/shell.h"
#include "shell/text_file_dialogs.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {
// Texts: records are being edited; the chosen file was not imported.
// The window kinds that store the record they show.
}  // namespace

// Whether an import may run now: not while a record is being edited in
// an open window (a new record, state 1, or a changed one, state 2),
// since the import could store over it or under it. The user is told
// with text 1553 then. Only windows that store what they show count
// (record, settings and form windows): a list or a selection window in
// state 2 holds only its own choices, the function list the import
// starts from among them.
bool ImportAllowedNow()
{
    for (int n = WinFirst; n <= WinLast; n++) {
        if (!WinIsOpen(n)) continue;
        int kind = WinKindOf(n);
        if (kind != KindCode(WindowKind::Record) && kind != KindCode(WindowKind::Settings) &&
            kind != KindCode(WindowKind::SettingsTable) && kind != KindCode(WindowKind::Designer))
            continue;
        int state = WinRecState(n);
        if (state == 1 || state == 2) {
            ShowTextMessage(Texts::StoreBeforeImport);
            return false;
        }
    }
    return true;
}

// Runs import `number` from device `device`: when no record is being
// edited, the import's parameters make a job of its own (no selection
// window, the import as the run number, the device as output kind), the
// user chooses the file and it is imported; the main windows follow.
void ImportCommand(int number, int device)
{
    if (!ImportAllowedNow()) return;
    OwnedJob own;
    PutU16(own.job.selection, ReportParamsVc::SelWinType, 0);
    PutU16(own.job.selection, ReportParamsVc::ReportNumber, uint16_t(number));
    PutU16(own.job.selection, ReportParamsVc::OutputKind, uint16_t(device));
    {
        OutputJobAttach attached(own.job);
        ImportFileAsk();
    }
    WindowType1Refresh();
}

// Asks for a text file and imports it. 1 when imported; 0 when the user
// may not import (told), cancelled, or when the import failed, which the user is told with the
// file's name (besides what the reader said); and 0 when the file read
// here held nothing an export of this program writes, which the user is
// told with its name too, as a silent end would look like an import done.
int ImportFileAsk()
{
    if (!MayImportHere()) return 0;
    PString path;
    if (!OpenTextFileDialog(path)) return 0;
    if (ImportFile(path, 0) != 0) {
        ShowMessage(Texts::FileNotImported, path);
        return 0;
    }
    if (!RunModeIsClient() && ImportReadNoExport()) {
        ShowMessage(Texts::ImportNotAnExport, path);
        return 0;
    }
    return 1;
}
