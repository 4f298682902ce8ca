// exchange.h - services of the data exchange that other folders call:
// the output files of reports and exports, the bank payment file's name,
// and the cut of a text at its line end. The serial numbers and the
// date check before a save are the rules' (rules/serial_numbers.h).
#pragma once

#include <cstdint>

#include "core/date.h"
#include "rules/serial_numbers.h"

// ---- text_files.cpp ----
// An output file a report or an export writes.
struct OutStream;
// Creates the file of a PString name empty; false (nothing open) when it
// could not be created.
bool TextFileCreate(const uint8_t *name, OutStream **out);
// Writes n bytes; 0 when all were written.
int StreamWrite(OutStream *s, const uint8_t *bytes, uint32_t n);
// Writes a PString's characters and CR LF; 0 when all were written.
int StreamWriteLine(OutStream *s, const uint8_t *text);
// Closes and frees the stream; false when bytes it held were lost.
bool FileClose(OutStream *s);

// ---- bank_file_name.cpp ----
// The bank payment file's default name into a PString: "TILTB.TBD" for
// the company's bank-file format 9, else the name is left as it is.
void TelepayDefaultFileName(uint8_t *name);
// True when the job record is the bank payment file export (run 15).
bool JobIsBankFileExport();
// Set by the text export while export kind 15 runs.
extern bool BankFileExportRunning;

// ---- text_cut.cpp ----
// Cuts the PString text before its first TAB, LF, VT or CR.
void PStrCutAtLineEnd(uint8_t *text);
