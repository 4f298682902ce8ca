// text_file_dialogs.cpp - choosing the text file to import and the file
// an export writes.
#include "shell/text_file_dialogs.h"

#include <string>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "output/output_job.h"
#include "platform/dialog.h"
#include "shell/file_dialogs.h"
#include "shell/shell.h"
#include "shell/window_utils.h"

namespace {

// The run numbers of the SIE file import and export.
constexpr uint16_t SieImportNumber = 2, SieExportNumber = 21;
// SIE files first (their usual extensions), then this program's own text
// files (".TXT" or no extension), then every file: a file from another
// program may have any name. No "&" in a type's name: the dialog's button
// would draw it as the underline of a shortcut letter.
constexpr const char *SieFilter = "SIE files (*.SE;*.SI)|*.SE;*.SI|"
                                  "Orvel text files (*.TXT, or no extension)|*.TXT;*.|All files (*.*)|*.*|";
// An export's own text files first, then every file.
constexpr const char *ExportFilter = "Orvel text files (*.TXT, or no extension)|*.TXT;*.|All files (*.*)|*.*|";

// The file the last export dialog gave, for the run's outcome line.
std::string LastExportFile;

// True when the run being asked for is the given one.
bool RunIs(uint16_t number)
{
    const uint8_t *job = CurrentJobRecord();
    return job && GetU16(job, ReportParamsVc::ReportNumber) == number;
}

}  // namespace

// Asks for a text file to import, owned by the frame; the text files'
// filter is chosen first and a name typed without extension gets ".TXT".
// For the SIE import the SIE files are listed first instead. Only a file
// that is there is taken: an import reads it. The chosen path into the
// PString buffer `path`; false on cancel.
bool OpenTextFileDialog(uint8_t *path)
{
    if (!RunIs(SieImportNumber)) return AskFileToRead("TXT", path);
    PlFileDialog d;
    d.filter = SieFilter;
    d.filterIndex = 1;
    d.pathMustExist = true;
    d.fileMustExist = true;
    std::string chosen;
    bool ok = DlgFileOpen(FrameWindow, d, &chosen);
    return FileDialogPath(ok, chosen, path);
}

// Asks for the file an export writes, owned by the frame, asking before
// an existing file is replaced; the export files' filter is chosen first.
// The name `path` holds on entry (a bank format's own file name) is the
// one the dialog proposes. The path into the PString buffer `path` and
// *word := 0; false on cancel.
bool SaveExportFileDialog(uint8_t *path, uint16_t *word)
{
    *word = 0;
    const std::string proposed = PStringToStd(path);
    PlFileDialog d;
    d.fileName = proposed;
    const bool sie = RunIs(SieExportNumber);
    d.filter = sie ? SieFilter : ExportFilter;
    d.filterIndex = 1;
    if (sie) d.defaultExt = "SE";
    d.save = true;
    d.overwritePrompt = true;
    d.pathMustExist = true;
    std::string chosen;
    bool ok = DlgFileOpen(FrameWindow, d, &chosen);
    LastExportFile = ok ? chosen : std::string();
    return FileDialogPath(ok, chosen, path);
}

std::string ExportFileChosen() { return LastExportFile; }
