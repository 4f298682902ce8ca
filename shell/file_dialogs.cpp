// file_dialogs.cpp - the common file dialogs of the shell.
#include "shell/file_dialogs.h"

#include <string>

#include "core/pstring.h"
#include "platform/dialog.h"
#include "shell/shell.h"
#include "shell/window_utils.h"

// Asks for a database file; its PString path in *path, false on cancel.
// A new name is allowed (after the dialog's question), since choosing
// one creates a company. The company files' filter is chosen first.
bool OpenDatabaseDialog(uint8_t *path) { return AskFileToOpen("VDB", path); }

namespace {

// Asks, owned by the frame, for a file of extension ext (three letters,
// upper case) to open; the filter of that extension is chosen first and a
// name typed without extension gets it. A new name is taken after the
// dialog's question when `mayMake` is set (opening it makes the file);
// otherwise the dialog tells that no such file is there and asks again.
// The path into the PString buffer `path`; false (the buffer empty) on
// cancel or a path longer than a PString holds.
bool AskFile(const char *ext, bool mayMake, uint8_t *path)
{
    std::string e(ext), filter("All files (*.*)|*.*|Orvel(*.");
    filter.append(e).append(")|*.").append(e).append("|Orvel, no extension(*.)|*.|");
    PlFileDialog d;
    d.filter = filter;
    d.filterIndex = 2;
    d.defaultExt = e;
    d.pathMustExist = true;
    d.createPrompt = mayMake;
    d.fileMustExist = !mayMake;
    std::string chosen;
    bool ok = DlgFileOpen(FrameWindow, d, &chosen);
    RedrawWindowOne();
    return FileDialogPath(ok, chosen, path);
}

}  // namespace

// A file to open of extension ext, a new name allowed after the dialog's
// question (see AskFile).
bool AskFileToOpen(const char *ext, uint8_t *path) { return AskFile(ext, true, path); }

// A file of extension ext to read: only a file that is there is taken.
bool AskFileToRead(const char *ext, uint8_t *path) { return AskFile(ext, false, path); }

// The chosen path into the PString buffer; false (the buffer empty) for a
// cancelled dialog or a path longer than a PString holds.
bool FileDialogPath(bool ok, const std::string &chosen, uint8_t *path)
{
    path[0] = 0;
    if (!ok || chosen.empty() || chosen.size() > size_t(PStringMax)) return false;
    PStringFromView(path, chosen);
    return true;
}
