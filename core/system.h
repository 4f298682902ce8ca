// system.h - small services over the C++ run-time and the operating
// system that many subsystems share: today's date and the clock, time
// stamps, random numbers, unique output file names, the export output
// file and the program's log file.
//
// Month and period arithmetic and the date-format save and restore are
// declared in date.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>

#include "core/date.h"
#include "core/decimal.h"
#include "core/pstring.h"

// ---- Clock and dates (system.cpp) ----

// Today's local date. Set from the clock when the program starts and
// refreshed by TodayToGlobals; tests set it directly. DateParse takes
// the parts that were not typed from it.
extern DateRec TodayDate;

// Sets TodayDate from the local date.
void TodayToGlobals();

// The local time's hour (0..23) and minute.
void CurrentHourMinute(uint16_t *hour, uint16_t *minute);

// Size of a FormatNowString buffer, terminator included.
constexpr size_t NowStringSize = 20;

// Writes the local date and time as "05 Dec 26 14:03:09", or the date
// alone as "05-Dec-26", zero-terminated into buffer (NowStringSize
// bytes). Month abbreviations are English whatever the locale.
void FormatNowString(char *buffer, bool withTime);
// The same for a given broken-down time.
void FormatTimeStamp(const std::tm *t, char *buffer, bool withTime);

// Returns once the seconds clock has moved on.
void WaitNextSecond();

// ---- Random numbers (system.cpp) ----

// Seeds the generator from the clock (also done once at start-up).
void SeedRandom();
// lo + ((r mod 65535) x (hi - lo)) >> 16 for the generator's next r:
// lo <= result < hi when hi > lo (hi itself is never reached), lo when
// hi == lo.
int32_t RandomRange(int32_t lo, int32_t hi);
// RandomRange(lo, hi) as a PackedDecimal.
void RandomDec(int32_t lo, int32_t hi, PackedDecimal *out);

// ---- Process and sizes (system.cpp) ----

// Set at start-up when the interface file defines no window type 9: the
// shell then runs its reduced, compact interface, and no log is kept.
extern bool CompactVariant;

// Ends the process with code.
[[noreturn]] void ExitProgram(int code);

// The memory budget handed to the database start-up, in bytes.
int32_t DbMemoryBudget();

// Absolute value of a 16-bit integer; -32768 gives 32767 (the largest
// value the type holds) rather than wrapping back to negative.
int16_t ShortAbs(int16_t v);

// ---- Output files (out_file.cpp) ----

// The directory of unique output files (bank files and the like), with
// a trailing "/"; "out/" in the current directory unless configuration
// sets another. Created when missing.
extern PString OutFileDirectory;

// Makes a fresh output file name: OutFileDirectory, the seconds clock
// in upper-case hexadecimal and ".EEP". A name handed out before by this
// process, or one whose file exists, is passed over for the next
// second's value, so two calls in the same second differ. Sets *word to
// 0. Returns false, with an empty name, when the directory cannot be
// made or the name would not fit a PString.
bool UniqueOutFileName(uint8_t *name, uint16_t *word);

// The name of the export output file; the output layer sets it before
// ExportFileOpen.
extern PString ExportFileName;

// Opens (truncating) the export output file by ExportFileName; a file
// still open from before is closed first. Returns false when it cannot
// be opened; the caller stops its output job then.
bool ExportFileOpen();
// Writes n bytes. Returns 0 when all were written, non-zero when not
// (or when no export file is open).
int ExportFileWrite(const void *data, size_t n);
// Closes the export output file. Returns false when the last buffered
// bytes could not be written; true when closed cleanly or none was open.
bool ExportFileClose();

// ---- Log file (log_file.cpp) ----

// Appends text and CR LF to "orvel.log" in the current directory,
// opening and closing the file for each entry. A file that cannot be
// opened is skipped silently; nothing is written in the compact
// interface.
void LogAppend(const uint8_t *text);
