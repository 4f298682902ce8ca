// company.h - choosing, opening, creating and closing the company (the
// database file), and the first import of default settings into a new one.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/memblock.h"
#include "output/export_text.h"
#include "output/forms/doc_def_lookup.h"

extern uint16_t OpenResultWord;   // 1: the file did not exist and was created
extern uint16_t NewDbOption;      // option word of the last company creation
extern uint8_t ImportingFlag;     // a local import runs

// The transfer buffer of one export or import run.
constexpr uint32_t TransferBufferSize = 16384;
extern MemBlock TransferBuffer;          // 0 outside a run
extern uint8_t *TransferBytes;           // its locked bytes
extern uint32_t TransferCounts[2];       // bytes held, bytes taken
extern uint8_t TransferByteOrder;        // the program's byte-order flag for the run

// Asks for a company until one opens or the user cancels; true when open.
bool OpenCompanyDialog();
// Opens (or creates) the company at a PString path; true when open.
bool OpenCompany(const uint8_t *path, uint16_t option);
// Closes the open company and, outside client mode, the engine.
void CompanyClose();
// Imports the text file at a PString path; 0 when done, else why not
// (the reader's error, RecStoreFailed, RecConnectionLost, or -1 without
// a reader).
int ImportFile(const uint8_t *path, int mode);
// Prepares the buffers of an import.
void ImportBufferBegin();
// Frees the buffers of an import.
void ImportBufferEnd();
// Tells the user that no company file is at a PString path when that is
// why the last open failed (the engine tells every other reason).
void CompanyOpenFailureShow(const uint8_t *path);
// True when a company path (as given on the command line) fits a file
// name of the program, 255 characters; otherwise the user is told so.
bool CompanyPathFits(std::string_view path);

// ---- import_window.cpp ----
extern uint16_t ImportWindowNumber;          // the open import window, 0 none
extern uint8_t ImportFileShortName[21];      // PString: the file's name for display, <= 20
// Runs the import the reader has opened in the import window, locally or
// at the server (the file at a PString path); its result in ImportRunResult.
void ImportRunWindow(const uint8_t *path);
// The last ImportRunWindow's result: 0 done; RecStoreFailed when steps
// stored nothing, the file could not be read or the server refused it;
// RecConnectionLost when the connection went.
extern int ImportRunResult;
// Shows a status text (PString) in the open import window.
void ImportStatusText(const uint8_t *text);
// Draws a text (PString) in bold at (x, y) of the open import window,
// erasing that line only.
void ImportWindowText(int x, int y, const uint8_t *text);
// Draws the import window's progress bar with its filled width (0..198).
void ImportWindowBar(int width);

// The export texts and the form-definition lookup live in the output
// layer; the shell reaches them through this header as before.
