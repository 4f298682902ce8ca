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

// Asks, owned by the frame, for a file of extension ext (three letters,
// upper case) to open, a new name allowed after the dialog's question;
// the filter of that extension is chosen first and a name typed without
// extension gets it. The path into the PString buffer `path`; false (the
// buffer empty) on cancel or a path longer than a PString holds.
bool AskFileToOpen(const char *ext, uint8_t *path)
{
    std::string e(ext), filter("All files (*.*)|*.*|Orvel(*.");
    filter.append(e).append(")|*.").append(e).append("|Orvel, no extension(*.)|*.|");
    PlFileDialog d;
    d.filter = filter;
    d.filterIndex = 2;
    d.defaultExt = e;
    d.pathMustExist = true;
    d.createPrompt = true;
    std::string chosen;
    bool ok = DlgFileOpen(FrameWindow, d, &chosen);
    RedrawWindowOne();
    return FileDialogPath(ok, chosen, path);
}

// The chosen path into the PString buffer; false (the buffer empty) for a
// cancelled dialog or a path longer than a PString holds.
bool FileDialogPath(bool ok, const std::string &chosen, uint8_t *path)
{
    path[0] = 0;
    if (!ok || chosen.empty() || chosen.size() > size_t(PStringMax)) return false;
    PStringFromView(path, chosen);
    return true;
}
