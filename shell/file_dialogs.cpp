// file_dialogs.cpp - the common file dialogs of the shell.
#include "shell/file_dialogs.h"

// Asks for a database file; its PString path in *path, false on cancel.
bool OpenDatabaseDialog(uint8_t *path)
{
    path[0] = 0;
    return false;
}
