// text_file_dialogs.cpp - choosing the text file to import and the file
// an export writes.
#include "shell/text_file_dialogs.h"

#include <string>

#include "core/pstring.h"
#include "platform/dialog.h"
#include "shell/file_dialogs.h"
#include "shell/shell.h"
#include "shell/window_utils.h"

// Asks for a text file to import, owned by the frame; the text files'
// filter is chosen first and a name typed without extension gets ".TXT".
// The chosen path into the PString buffer `path`; false on cancel.
bool OpenTextFileDialog(uint8_t *path) { return AskFileToOpen("TXT", path); }

// Asks for the file an export writes, owned by the frame, asking before
// an existing file is replaced; the export files' filter is chosen first.
// The path into the PString buffer `path` and *word := 0; false on cancel.
bool SaveExportFileDialog(uint8_t *path, uint16_t *word)
{
    *word = 0;
    PlFileDialog d;
    d.filter = "All files (*.*)|*.*|Orvel export(*. & *.TXT)|*.;*.TXT|";
    d.filterIndex = 2;
    d.save = true;
    d.overwritePrompt = true;
    d.pathMustExist = true;
    std::string chosen;
    bool ok = DlgFileOpen(FrameWindow, d, &chosen);
    return FileDialogPath(ok, chosen, path);
}
