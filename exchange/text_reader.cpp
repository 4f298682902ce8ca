// text_reader.cpp - the import side of the text exchange: a source (a
// read-only file or a block of memory) read through a 16 KB window, split
// into lines and TAB-separated fields, converted and parsed by field type.
//
// One import runs at a time; the reader's state is program-wide. TAB ends
// a field, CR and VT end a line, LF is dropped wherever it is read (the
// byte-line reader of other programs' files has its own line ends). A
// field that ends at a line end leaves the line end unread, so every
// further field of that line reads as empty until the line is skipped.
// The exchange file's own sections end every line, the last one too: one
// whose last byte ends no line was cut inside that line, and the record
// being read there is damaged (the readers of other programs' files, the
// byte lines and the bank's files, take a last line without its end).
#include <cassert>
#include <cstring>
#include <string>

#include "core/field_types.h"
#include "core/field_access.h"
#include "core/file_form.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "exchange/exchange.h"
#include "exchange/import_lines.h"
#include "exchange/text_exchange.h"
#include "output/output_job.h"

uint8_t ImportAbortFlag, ImportFileCharFlag;
uint16_t ImportDosLetters;

namespace {

constexpr uint32_t WindowSize = 16384;
constexpr uint8_t Tab = 9, Lf = 10, Vt = 11, Cr = 13, Del = 127;

struct ReaderState {
    uint16_t mode = ImportSourceNone;
    OutStream *stream = nullptr;
    const uint8_t *memory = nullptr;
    uint32_t length = 0;        // bytes of the source
    uint32_t position = 0;      // the next byte to read
    uint32_t windowEnd = 0;     // just past the bytes the window holds; 0: none loaded
    uint32_t loads = 0;         // windows loaded since the source was opened
    uint32_t line = 1;          // line of the read position
    uint16_t column = 0;        // fields read on that line
    bool readFailed = false;    // a file read came short below the length
    bool damaged = false;       // ImportDamage was called
    bool cutUnread = false;     // the end of a cut file was met; the line-look-ahead has not yet said so
    bool tagHeld = false;
    uint8_t window[WindowSize];
    PString tag;
    PString path;               // the file read; empty for memory
};
ReaderState Reader;

// Starts reading a source of length bytes from its first byte.
void ReaderStart(uint16_t mode, uint32_t length)
{
    Reader.mode = mode;
    Reader.length = length;
    Reader.position = Reader.windowEnd = Reader.loads = 0;
    Reader.line = 1;
    Reader.column = 0;
    Reader.readFailed = Reader.damaged = Reader.cutUnread = Reader.tagHeld = false;
    Reader.tag[0] = 0;
    Reader.path[0] = 0;
    ImportAbortFlag = 0;
    ImportFileCharFlag = ByteOrder.program;
    ImportProgressReset();
}

// Loads the window that holds the read position. A file read that comes
// short below the source's length aborts the import.
void WindowLoad()
{
    uint32_t start = Reader.position - Reader.position % WindowSize;
    uint32_t n = Reader.length - start < WindowSize ? Reader.length - start : WindowSize;
    Reader.windowEnd = start + WindowSize;
    Reader.loads++;
    if (Reader.mode == ImportSourceMemory) {
        assert(Reader.memory);
        std::memcpy(Reader.window, Reader.memory + start, n);
    } else if (Reader.mode == ImportSourceFile) {
        if (StreamSeek(Reader.stream, start) != 0 || StreamRead(Reader.stream, Reader.window, n) != n) {
            Reader.readFailed = true;
            ImportAbortFlag = 1;
        }
    }
}

// The DOS code page's Nordic letters as the Windows code page has them.
uint8_t DosLetter(uint8_t b)
{
    switch (b) {
    case 0x84: return 0xE4;
    case 0x86: return 0xE5;
    case 0x8E: return 0xC4;
    case 0x8F: return 0xC5;
    case 0x94: return 0xF6;
    case 0x99: return 0xD6;
    default: return b;
    }
}

// The byte at the read position into *b; false at the end of the source
// or after an abort. The caller advances the position.
bool ByteAt(uint8_t *b)
{
    if (ImportAtEnd()) return false;
    if (Reader.windowEnd == 0 || Reader.position >= Reader.windowEnd ||
        Reader.position < Reader.windowEnd - WindowSize)
        WindowLoad();
    if (ImportAbortFlag) return false;
    uint8_t c = Reader.window[Reader.position % WindowSize];
    *b = ImportDosLetters ? DosLetter(c) : c;
    return true;
}

// True when the import reads the exchange file's sections (import mode
// 0, also when no job says otherwise).
bool ReadsSections()
{
    const uint8_t *job = CurrentJobRecord();
    return !job || GetU16(job, ReportParamsVc::ReportNumber) == 0;
}

// The source's last byte (a CR when it cannot be read: the failed read is
// told as such).
uint8_t LastByte()
{
    const uint32_t saved = Reader.position;
    Reader.position = Reader.length - 1;
    uint8_t b = Cr;
    if (!ByteAt(&b)) b = Cr;
    Reader.position = saved;
    return b;
}

// ByteAt for the readers of the exchange file's fields and lines. At the
// end of a source of sections whose last byte ends no line the file was
// cut inside the line being read: damage at its column.
bool SectionByteAt(uint8_t *b)
{
    if (ByteAt(b)) return true;
    if (ImportAbortFlag || Reader.length == 0 || !ReadsSections()) return false;
    const uint8_t last = LastByte();
    if (last == Cr || last == Vt || last == Lf || ImportAbortFlag) return false;
    ImportDamage(Reader.column > 0 ? Reader.column : 1);
    Reader.cutUnread = true;
    return false;
}

// Reads the next field's text (at most 255 characters; the rest of a
// longer field is dropped up to its terminator, so the next column stays
// the next column). False when the field holds a control byte (below 32,
// or DEL), which no field of a window takes either; the framing bytes
// (TAB, CR, VT and the dropped LF) never reach the field.
bool FieldRead(uint8_t *text)
{
    text[0] = 0;
    bool clean = true;
    Reader.column++;
    uint8_t b;
    while (SectionByteAt(&b)) {
        Reader.position++;
        if (b == Lf) continue;
        if (b == Tab) break;
        if (b == Cr || b == Vt) {
            Reader.position--;
            break;
        }
        if (b < 32 || b == Del) clean = false;
        if (text[0] < 255) text[++text[0]] = b;
    }
    return clean;
}

}  // namespace

// Opens a file read-only as the source: length taken, position, window
// and abort flag reset. A job whose output kind is ImportSourceNone reads
// nothing; any other kind reads the file. 0 when open; else, told with
// the name, not 0.
int ImportFileOpen(const ReportJob &job, const uint8_t *path, int unused)
{
    assert(path);
    if (Reader.stream) ImportFileClose();
    uint16_t asked = job.selection ? GetU16(job.selection, ReportParamsVc::OutputKind) : ImportSourceFile;
    if (asked == ImportSourceNone) {
        ReaderStart(ImportSourceNone, 0);
        return 0;
    }
    OutStream *s = nullptr;
    uint32_t length = 0;
    if (!TextFileOpenRead(path, &s) || !StreamLength(s, &length)) {
        if (s) FileClose(s);
        ShowMessage(Texts::ExchangeFileNotOpened, path);
        Reader.mode = ImportSourceNone;
        return RecStoreFailed;
    }
    Reader.stream = s;
    ReaderStart(ImportSourceFile, length);
    PStringCopy(Reader.path, path);
    return 0;
}

// Closes the source. 0, or RecStoreFailed when the file could not be read
// to its end or a damaged line stopped the import (the result tells which).
int ImportFileClose()
{
    if (Reader.stream) FileClose(Reader.stream);
    Reader.stream = nullptr;
    Reader.memory = nullptr;
    bool failed = Reader.readFailed || Reader.damaged;
    Reader.mode = ImportSourceNone;
    Reader.length = Reader.position = Reader.windowEnd = 0;
    return failed ? RecStoreFailed : 0;
}

// Makes n bytes of memory the source (the server's copy of a client's
// file, a test's or a fuzzer's input); the bytes stay the caller's.
void ImportMemorySource(const uint8_t *bytes, uint32_t n)
{
    assert(bytes || n == 0);
    if (Reader.stream) ImportFileClose();
    Reader.memory = bytes;
    ReaderStart(ImportSourceMemory, n);
}

// True when the import was aborted or the source is read to its end.
bool ImportAtEnd()
{
    return ImportAbortFlag != 0 || Reader.position >= Reader.length;
}

// Reads the next field of the line, translated when the file's character
// flag is not the program's, and with dst parses it by type into dst. A
// text the type refuses, or a control byte in the field, is damage; so is
// a field read after damage (the end of a cut file), which then has no
// value a record may keep.
bool ImportReadField(void *dst, uint16_t type, uint16_t max)
{
    PString text;
    bool clean = FieldRead(text) && !Reader.damaged;
    Reader.cutUnread = false;
    if (ImportFileCharFlag != ByteOrder.program) TranslateChars(text, ImportFileCharFlag ? 1 : 0);
    bool ok = clean;
    if (ok && dst) ok = FieldFromText(static_cast<uint8_t *>(dst), type, max, text) || text[0] == 0;
    if (!ok) ImportDamage(Reader.column);
    return ok;
}

// Reads the next field as the section tag; a program whose byte-order
// flag is 1 reads tags from the interface file's character set.
void ImportReadTag()
{
    if (!FieldRead(Reader.tag) || Reader.damaged) {
        ImportDamage(Reader.column);
        Reader.tag[0] = 0;
        return;
    }
    if (ByteOrder.program == 1) TranslateChars(Reader.tag, ConvertToMemory);
    ImportTagDraw(Reader.tag);
}

// Skips the rest of the line and reads the next section tag.
void ImportNextTag()
{
    ImportSkipLine();
    ImportReadTag();
}

// Reads up to and past the next CR or VT (or to the end), then shows the
// progress.
void ImportSkipLine()
{
    if (ImportAbortFlag) return;
    uint8_t b;
    while (SectionByteAt(&b)) {
        Reader.position++;
        if (b == Cr || b == Vt) {
            Reader.line++;
            break;
        }
    }
    Reader.column = 0;
    ImportProgressBar();
}

// Reads the line at the read position as its bytes and moves past its
// end. This is the reader of files other programs write, whose lines end
// in LF, CR LF or a lone CR (the exchange file's own CR and VT framing is
// not theirs): TABs stay in the text, at most max bytes are kept and
// *tooLong tells that the line had more. False when the line holds
// another control byte: it is damage at its line, as for a field.
bool ImportReadByteLine(std::string *text, size_t max, bool *tooLong)
{
    text->clear();
    *tooLong = false;
    bool clean = true;
    Reader.column = 1;
    uint8_t b;
    while (ByteAt(&b)) {
        Reader.position++;
        if (b == Lf) break;
        if (b == Cr) {
            if (ByteAt(&b) && b == Lf) Reader.position++;
            break;
        }
        if ((b < 32 && b != Tab) || b == Del) clean = false;
        if (text->size() < max)
            text->push_back(char(b));
        else
            *tooLong = true;
    }
    if (!clean) {
        ImportDamage(1);
        return false;
    }
    Reader.line++;
    Reader.column = 0;
    ImportProgressBar();
    return true;
}

// Skips the line, then looks ahead without moving: TAB and LF pass; a
// line end, the end of the source or an abort means no data. The end of a
// cut file is data, once: the reader that reads it as the next row or
// record fails there (its field read is damaged), rather than storing
// what it holds as if it were whole.
bool ImportNextLineHasData()
{
    ImportSkipLine();
    uint32_t saved = Reader.position;
    bool data = false;
    uint8_t b;
    while (SectionByteAt(&b)) {
        if (b == Tab || b == Lf) {
            Reader.position++;
            continue;
        }
        data = b != Cr && b != Vt;
        break;
    }
    Reader.position = saved;
    if (Reader.cutUnread) {
        Reader.cutUnread = false;
        return true;
    }
    return data;
}

// Reads the next field as a 32-bit value (-1 for an empty field).
uint32_t ImportReadLong()
{
    uint8_t bytes[4];
    FieldClear(bytes, FtLongOrEmpty, 0);
    ImportReadField(bytes, FtLongOrEmpty, 0);
    uint32_t value;
    std::memcpy(&value, bytes, 4);
    return value;
}

// The current section tag (PString).
const uint8_t *ImportCurrentTag()
{
    return Reader.tag;
}

// Marks that a reader has read the next section's tag.
void ImportTagHeld()
{
    Reader.tagHeld = true;
}

// True once after ImportTagHeld: the mark is taken.
bool ImportTagIsHeld()
{
    bool held = Reader.tagHeld;
    Reader.tagHeld = false;
    return held;
}

// The 1-based line of the read position.
uint32_t ImportLineNumber()
{
    return Reader.line;
}

// The 1-based column of the last field read on the current line.
uint16_t ImportColumnNumber()
{
    return Reader.column;
}

// Stops the import at a damaged column of the current line; the first
// damage's line and column are kept for the result.
void ImportDamage(uint16_t column)
{
    if (!Reader.damaged) {
        ImportResult.damageLine = Reader.line;
        ImportResult.damageColumn = column;
    }
    Reader.damaged = true;
    ImportAbortFlag = 1;
}

// True when a reader's field list has the shape it needs; else damage at
// the column the reader would have read next.
bool ImportListFits(bool shape)
{
    if (!shape) ImportDamage(uint16_t(Reader.column + 1));
    return shape;
}

// The path of the file being read (PString; empty for a memory source,
// the server's copy of a client's file).
const uint8_t *ImportSourcePath()
{
    return Reader.path;
}

// The source mode of the reader (ImportSource*).
uint16_t ImportSourceMode()
{
    return Reader.mode;
}

// The source's length in bytes.
uint32_t ImportFileLength()
{
    return Reader.length;
}

// The absolute offset of the next byte to read.
uint32_t ImportReadPosition()
{
    return Reader.position;
}

// The windows loaded since the source was opened.
uint32_t ImportWindowLoads()
{
    return Reader.loads;
}
