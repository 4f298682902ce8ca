// text_files.cpp - the output files of reports and exports over stdio:
// created empty, written in bytes and lines, closed with a check that
// nothing buffered was lost.
#include "core/text_files.h"

#include <cassert>
#include <cstdio>
#include <string>

#include "core/pstring.h"
#include "core/ui_text.h"
#include "dict_offsets.h"

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

// Opens an existing file of a PString name in an fopen mode; null when
// the name is empty or the file cannot be opened.
static OutStream *StreamOpen(const uint8_t *name, const char *mode)
{
    std::string path(reinterpret_cast<const char *>(name + 1), name[0]);
    FILE *f = path.empty() ? nullptr : std::fopen(path.c_str(), mode);
    return f ? new OutStream{f} : nullptr;
}

// Opens an existing file for reading and writing at its start; false,
// after telling the user with the name, when it cannot be opened.
bool TextFileOpen(const uint8_t *path, OutStream **out)
{
    assert(path && out);
    *out = StreamOpen(path, "r+b");
    if (!*out) ShowMessage(Texts::ExchangeFileNotOpened, path);
    return *out != nullptr;
}

// Opens an existing file for reading only (an import must read a file it
// may not write: an installed default file, a backup on read-only media);
// false, not told, when it cannot be opened.
bool TextFileOpenRead(const uint8_t *path, OutStream **out)
{
    assert(path && out);
    *out = StreamOpen(path, "rb");
    return *out != nullptr;
}

// Moves to an absolute offset; 0 when moved, -1 when not (or no stream).
int StreamSeek(OutStream *s, uint32_t offset)
{
    if (!s) return -1;
    return std::fseek(s->file, long(offset), SEEK_SET) == 0 ? 0 : -1;
}

// Reads at most n bytes at the stream's position; the count read, short
// at the end of the file or on an error.
uint32_t StreamRead(OutStream *s, uint8_t *bytes, uint32_t n)
{
    if (!s || n == 0) return 0;
    return uint32_t(std::fread(bytes, 1, n, s->file));
}

// The stream's length (its end offset); false when it cannot be told or
// does not fit 32 bits. The position is left at the start.
bool StreamLength(OutStream *s, uint32_t *length)
{
    assert(length);
    *length = 0;
    if (!s || std::fseek(s->file, 0, SEEK_END) != 0) return false;
    long end = std::ftell(s->file);
    if (std::fseek(s->file, 0, SEEK_SET) != 0 || end < 0 || uint64_t(end) > UINT32_MAX) return false;
    *length = uint32_t(end);
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
