// company.h - choosing, opening, creating and closing the company (the
// database file), and the first import of default settings into a new one.
#pragma once

#include <cstdint>

extern uint16_t OpenResultWord;   // 1: the file did not exist and was created

// Asks for a company until one opens or the user cancels; true when open.
bool OpenCompanyDialog();
// Opens (or creates) the company at a PString path; true when open.
bool OpenCompany(const uint8_t *path, uint16_t option);
// Closes the open company and, outside client mode, the engine.
void CompanyClose();
// Imports a text file into the new company; 0 when done.
int ImportFile(const uint8_t *path, int mode);
// Prepares the buffers of an import.
void ImportBufferBegin();
// Frees the buffers of an import.
void ImportBufferEnd();
