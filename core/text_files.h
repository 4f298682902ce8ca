// text_files.h - the output and input files of reports, exports and
// imports as plain byte streams over stdio. Names are PStrings (length
// byte first); a stream is created or opened here and freed by FileClose.
#pragma once

#include <cstdint>

// An open file a report, an export or an import reads or writes.
struct OutStream;

// Creates the file of a PString name empty (replacing one that exists);
// false, nothing open and the user told with the name, when it could not
// be created.
bool TextFileCreate(const uint8_t *name, OutStream **out);
// Opens an existing file (PString path) for reading and writing at its
// start; false, told with the name, when it cannot be opened.
bool TextFileOpen(const uint8_t *path, OutStream **out);
// Opens an existing file (PString path) for reading only; false when it
// cannot (not told: the caller tells).
bool TextFileOpenRead(const uint8_t *path, OutStream **out);
// Moves to an absolute offset; 0 when moved.
int StreamSeek(OutStream *s, uint32_t offset);
// Reads at most n bytes at the position; the count read (0 at the end or on error).
uint32_t StreamRead(OutStream *s, uint8_t *bytes, uint32_t n);
// The stream's length in bytes; false when it cannot be told.
bool StreamLength(OutStream *s, uint32_t *length);
// Writes n bytes; 0 when all were written, -1 when not (or no stream).
int StreamWrite(OutStream *s, const uint8_t *bytes, uint32_t n);
// Writes a PString's characters and CR LF; 0 when all were written.
int StreamWriteLine(OutStream *s, const uint8_t *text);
// Closes and frees the stream; false when bytes it held were lost (or
// there was no stream).
bool FileClose(OutStream *s);
