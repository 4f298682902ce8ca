// exchange.h - services of the data exchange that other folders call:
// serial numbers of new and imported records, and the check of a record's
// date before it is saved, the output files of reports and exports, and
// the bank payment file's name, and the cut of a text at its line end.
#pragma once

#include <cstdint>

#include "core/date.h"

// The next number of low..high that no record of reg has yet, -1 when the
// range is used up. For vouchers the numbers are counted within the fiscal
// year of date (null: no date).
int32_t NextFreeSerialNumber(int reg, int32_t low, int32_t high, const DateRec *date);
// On flag 1 gives a record that needs a number the next free one, when reg
// has a numbering index; unused is not read.
void AssignMissingSerialNumbers(int reg, uint8_t *record, int32_t unused, int flag);
// The range of reg's series block that holds number into *first and *last;
// both unchanged when none does.
void FindNumberRange(int reg, int32_t number, int32_t *first, int32_t *last);
// 1 when the record may be saved; 0 after FieldError on field when its date
// is empty or, for the sub-ledgers' registers, locked.
int CheckBeforeSave(int reg, uint8_t *record, uint16_t field);

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
