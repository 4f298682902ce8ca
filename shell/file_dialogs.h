// file_dialogs.h - the common file dialogs of the shell.
#pragma once

#include <cstdint>

// Asks for a database file; its PString path in *path, false on cancel.
bool OpenDatabaseDialog(uint8_t *path);
