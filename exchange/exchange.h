// exchange.h - services of the data exchange that other folders call:
// the bank payment file's name and the cut of a text at its line end.
// The output files themselves are core/text_files.h; the serial numbers
// and the date check before a save are the rules' (rules/serial_numbers.h).
#pragma once

#include <cstdint>

#include "core/date.h"
#include "core/report_job.h"
#include "core/text_files.h"
#include "rules/serial_numbers.h"

// ---- bank_file_name.cpp ----
// The bank payment file's default name into a PString: "TILTB.TBD" for
// the company's bank-file format 9, else the name is left as it is.
void TelepayDefaultFileName(uint8_t *name);
// The run number of the bank payment file export.
constexpr int16_t BankFileRun = 15;
// True while the running text export is the bank payment file export.
bool JobIsBankFileExport();
// Set by the text export while it runs a bank payment file export job.
extern bool BankFileExportRunning;
// Whether export kind of job is the bank payment file export: kind 15 for
// a job of run number 15 (report 15 of the report list shares the number
// but is no bank file).
bool BankFileExportJob(const ReportJob &job, int kind);
// Gives the output layer's text-file device the two above
// (exchange_install.cpp; TextExchangeInstall calls it).
void BankFileHooksInstall();

// ---- text_cut.cpp ----
// Cuts the PString text before its first TAB, LF, VT or CR.
void PStrCutAtLineEnd(uint8_t *text);
