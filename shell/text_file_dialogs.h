// text_file_dialogs.h - choosing the text file to import and the file an
// export writes.
#pragma once

#include <cstdint>
#include <string>

// Asks for a text file to import; the chosen path into a PString buffer,
// false on cancel.
bool OpenTextFileDialog(uint8_t *path);
// Asks for the file an export writes (asking before overwriting one),
// proposing the name the PString buffer holds on entry; the path into
// that buffer and *word := 0; false on cancel.
bool SaveExportFileDialog(uint8_t *path, uint16_t *word);
// The path the last SaveExportFileDialog gave; empty after a cancel.
std::string ExportFileChosen();
