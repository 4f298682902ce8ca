// text_files.cpp - the output files of reports and exports over stdio:
// created empty, written in bytes and lines, closed with a check that
// nothing buffered was lost.
#include <cassert>
#include <cstdio>
#include <string>

#include "core/pstring.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "exchange/exchange.h"

struct OutStream {
    FILE *file;
};

// Creates the file of a PString name empty (replacing one that exists);
// false, after telling the user with the name, when it could not be made.
bool TextFileCreate(const uint8_t *name, OutStream **out)
{
    assert(name && out);
    *out = nullptr;
    std::string path(reinterpret_cast<const char *>(name + 1), name[0]);
    FILE *f = path.empty() ? nullptr : std::fopen(path.c_str(), "wb");
    if (!f) {
        ShowMessage(Texts::OutputFileNotCreated, name);
        return false;
    }
    *out = new OutStream{f};
    return true;
}

// Writes n bytes; 0 when all were written, -1 when not (or no stream).
int StreamWrite(OutStream *s, const uint8_t *bytes, uint32_t n)
{
    if (!s) return -1;
    if (n == 0) return 0;
    return std::fwrite(bytes, 1, n, s->file) == n ? 0 : -1;
}

// Writes a PString's characters and CR LF; 0 when all were written.
int StreamWriteLine(OutStream *s, const uint8_t *text)
{
    static const uint8_t crlf[2] = {13, 10};
    if (StreamWrite(s, text + 1, text[0]) != 0) return -1;
    return StreamWrite(s, crlf, 2);
}

// Flushes, closes and frees the stream; false when bytes it held could
// not be written (a full disk shows here, not at the write).
bool FileClose(OutStream *s)
{
    if (!s) return false;
    bool ok = std::fflush(s->file) == 0 && !std::ferror(s->file);
    ok = std::fclose(s->file) == 0 && ok;
    delete s;
    return ok;
}
