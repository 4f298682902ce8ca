// file_dialogs.h - the common file dialogs of the shell.
#pragma once

#include <cstdint>
#include <string>

// Asks for a database file; its PString path in *path, false on cancel.
bool OpenDatabaseDialog(uint8_t *path);

// Asks for a file of extension ext (upper case, no dot) to open, a new
// name allowed; its PString path in *path, false on cancel.
bool AskFileToOpen(const char *ext, uint8_t *path);
// Asks for a file of extension ext to read: a name with no file behind
// it is told and asked again, never offered to be made; false on cancel.
bool AskFileToRead(const char *ext, uint8_t *path);

// The dialog's chosen path into the PString buffer; false (the buffer
// empty) for a cancelled dialog or a path longer than a PString holds.
bool FileDialogPath(bool ok, const std::string &chosen, uint8_t *path);
