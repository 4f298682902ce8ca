// company_open.cpp - the company dialog, opening and closing the company
// and the import of its default settings.
#include "shell/company.h"

uint16_t OpenResultWord;

// Asks for a company until one opens or the user cancels; true when open.
bool OpenCompanyDialog() { return false; }

// Opens (or creates) the company at a PString path; true when open.
bool OpenCompany(const uint8_t *path, uint16_t option) { return false; }

// Closes the open company and, outside client mode, the engine.
void CompanyClose() {}

// Imports a text file into the new company; 0 when done.
int ImportFile(const uint8_t *path, int mode) { return 1; }

// Prepares the buffers of an import.
void ImportBufferBegin() {}

// Frees the buffers of an import.
void ImportBufferEnd() {}
