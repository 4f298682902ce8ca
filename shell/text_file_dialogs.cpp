// text_file_dialogs.cpp - choosing the text file to import and the file
// an export writes.
#include "shell/text_file_dialogs.h"

#include "core/ui_text.h"
#include "dict_offsets.h"

// Asks for a text file to import; not built yet: the user is told and
// nothing is chosen (false).
bool OpenTextFileDialog(uint8_t *path)
{
    path[0] = 0;
    ShowTextMessage(Texts::FunctionNotYet);
    return false;
}

// Asks for an export's file; not built yet: the user is told and nothing
// is chosen (false).
bool SaveExportFileDialog(uint8_t *path, uint16_t *word)
{
    path[0] = 0;
    *word = 0;
    ShowTextMessage(Texts::FunctionNotYet);
    return false;
}
