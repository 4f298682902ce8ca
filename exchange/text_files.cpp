// text_files.cpp - the output files of reports and exports over stdio.
//
// Not built yet: no file is created and nothing is written.
#include "exchange/exchange.h"

// Creates a file; not built yet: none (false).
bool TextFileCreate(const uint8_t *, OutStream **out)
{
    *out = nullptr;
    return false;
}

// Writes bytes; not built yet: nothing written (-1).
int StreamWrite(OutStream *, const uint8_t *, uint32_t) { return -1; }

// Writes a line; not built yet: nothing written (-1).
int StreamWriteLine(OutStream *, const uint8_t *) { return -1; }

// Closes a stream; not built yet: there is none to close (false).
bool FileClose(OutStream *) { return false; }
