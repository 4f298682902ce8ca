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
bool OpenDatabaseDialog(uint8_t *path)
{
    PlFileDialog d;
    d.filter = "All files (*.*)|*.*|Orvel(*.VDB)|*.VDB|Orvel, no extension(*.)|*.|";
    d.filterIndex = 2;
    d.defaultExt = "VDB";
    d.pathMustExist = true;
    d.createPrompt = true;
    std::string chosen;
    bool ok = DlgFileOpen(FrameWindow, d, &chosen);
    RedrawWindowOne();
    path[0] = 0;
    if (!ok || chosen.empty() || chosen.size() > size_t(PStringMax)) return false;
    PStringFromView(path, chosen);
    return true;
}
