// device_table.h - inside the report output layer: the table of output
// devices that the dispatchers of rep_dispatch.cpp run, each device's
// routines, the output command encoders of the remote road, and the
// routines the devices share. Only output/devices/*.cpp and tests include
// this header; other folders use report_output.h.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "core/decimal.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "database/access/remote_calls.h"
#include "output/devices/report_output.h"

// ---- rep_dispatch.cpp: the device table ----

// What one output device does at each step of a job. A null member: the
// device does nothing there. The dispatcher has already handled the
// remote road, the stop flag and the generic page and line state.
struct RepDevice {
    bool (*openJob)(const uint8_t *title) = nullptr;   // the device's job start; false leaves RepStopped set
    void (*endJob)() = nullptr;                        // the device's part of RepEndJob, after the pending page break
    void (*pageStart)() = nullptr;                     // after pageStarted, pageDirty and pageNumber are set
    void (*pageEnd)(int flag) = nullptr;               // RepNewPage, unless stopped
    bool (*lineBreaks)(int32_t h) = nullptr;           // RepStartLine: a line of height h does not fit
    void (*lineStart)() = nullptr;                     // after lineHeight and lineColumn are set
    void (*advance)(int32_t n) = nullptr;              // the device's part of RepAdvance
    // a text of the current line, expanded (never called while stopped)
    void (*text)(int x, int font, int link, int align, int style, const uint8_t *text) = nullptr;
    void (*ruleFull)(int end, int thickness) = nullptr;
    void (*rule)(int x1, int x2, int thickness) = nullptr;
    void (*headerClear)() = nullptr;                   // devices without the stored header (the preview)
    void (*headerLine)(int n, bool right, const uint8_t *text) = nullptr;
    void (*headerDone)() = nullptr;
    void (*flushLine)() = nullptr;
};
extern const RepDevice PrinterDevice, TextFileDevice, BufferDevice, PreviewDevice, CharPrinterDevice, TabFileDevice;

// Output kinds 0..DeviceKinds-1 may have a device; the others never do.
constexpr uint16_t DeviceKinds = 13;
// The device of an output kind; null when the kind has none.
const RepDevice *RepDeviceOf(uint16_t kind);
// Starts a job on kind's device; false when the device refused it, or
// when the kind is the preview and no window layer installed its device
// (the user is told).
bool RepDeviceOpenJob(uint16_t kind, const uint8_t *title);
// Puts d in place of kind's device (null: none) and gives the previous
// one; for tests, which put the previous one back.
const RepDevice *RepDeviceInstall(uint16_t kind, const RepDevice *d);
// Starts the page when none is started (and the job is not stopped):
// the flags, the page count, then the device's page start.
void RepPageStartIfNeeded();

// ---- remote_encode.cpp: the output commands (the encoders) ----
// Each writes its opcode and arguments into the outgoing message and
// sends it at once after commands 1, 12, 27, 28, 30 and 32, else only when
// it grew past its limit. The dispatchers have applied the stop guards.
namespace RepOp {
enum : uint16_t {
    Nop = 0, OpenJob = 1, HeaderLeft = 2, HeaderRight = 3, Text = 4, StartLine = 5, Advance = 6, RuleFull = 7,
    Rule = 8, HeaderClear = 9, HeaderDone = 10, NewPage = 11, EndJob = 12, DateValue = 13, TextNr = 14,
    DecimalValue = 15, StatusText = 16, WriteField = 17, FormatLine = 18, StampValue = 19, FormNote = 20,
    Unused21 = 21, FormLine = 22, FormBox = 23, FormText = 24, Unused25 = 25, FormPageStart = 26,
    FormPageEnd = 27, PrintOpen = 28, FormNote3 = 29, PrintClose = 30, EpsPicture = 31, FormGeometry = 32,
    HandleRect = 33, NextFile = 34, FlushLine = 35, Picture = 36, PageSetup = 37, EpsChunk = 38,
    EpsLastChunk = 39, TabText = 40, TabLineEnd = 41, ReportColumns = 42,
};
}  // namespace RepOp
// Command 1: the job name and the job record the output prints from;
// for a report job (`report`) followed by command 42, which has the
// client lay out the report's columns on its device.
void RepEncOpenJob(const uint8_t *name, bool report);
// Commands 2 and 3: a header line's number and text.
void RepEncHeader(uint16_t op, int n, const uint8_t *text);
// Command 4: a text with its font, link, alignment, style and DosCodePage.
void RepEncText(int x, int font, int link, int align, int style, const uint8_t *text);
// A value: command 19 (type 7), 13 (type 6), 15 (the PackedDecimal types)
// or, formatted on the server, 4.
void RepEncValue(int x, int font, int link, const uint8_t *value, int type, int align, int style);
// True for the field types sent as command 15 (a PackedDecimal value).
bool RepValueIsPacked(int type);
// A command of 16-bit words only.
void RepEncWords(uint16_t op, std::initializer_list<int> words);
// Commands 16, 17 (with DosCodePage) and 26: one text.
void RepEncText1(uint16_t op, const uint8_t *text);
// Command 28: document type, destination word, title, destination.
void RepEncPrintOpen(int docType, int destWord, const uint8_t *title, const uint8_t *dest);
// Commands 22 (mode not sent) and 23: a rectangle, a thickness, a mode.
void RepEncForm(uint16_t op, const PackedDecimal rect[4], const PackedDecimal &thickness, int mode);
// Command 24: a form text.
void RepEncFormText(const uint8_t *text, const PackedDecimal rect[4], const uint8_t *fontRecord, int lineIndex,
                    int pitch, int align);
// Command 32: the form's page set-up.
void RepEncGeometry(int lines, int word1, int word2, int formFeed);
// Command 30 with the three print set-up texts (PrintSetupTexts).
void RepEncOp30();
// Command 36: a picture block, its rectangle block, the mode.
void RepEncPicture(MemBlock dib, const uint8_t *rectBlock, int mode);
// Command 37: a handle's length and bytes.
void RepEncHandle(MemBlock h);
// Commands 40 and 41 of a TAB-file job: a text (with DosCodePage), a line end.
void RepEncTabText(const uint8_t *text);
void RepEncTabLineEnd();

// ---- remote_exec.cpp ----
// Ends a received job when the connection that carried it ends (Full:
// the job and an open print; EndJobOnly: the job).
void RepRemoteJobEnd(RemoteJobEnd how);

// ---- eps_picture.cpp ----
// The platform's PostScript pass-through: empty here (null), so an EPS
// picture leaves no trace on paper; tests capture what it is handed.
extern void (*PostScriptPassThrough)(const uint8_t *text);
// Composes the texts that include an EPS picture (handles eps and pic,
// the picture's and the EPS bounding rectangles, a document text and a
// mode) and hands each to the pass-through.
void EpsPictureOut(MemBlock eps, MemBlock pic, const PackedDecimal r1[4], const PackedDecimal r2[4],
                   const uint8_t *text, int mode);

// ---- device_text_file.cpp, device_buffer.cpp ----
// Writes a text and a TAB to the text file; false (stopped) on a failed write.
bool TextLineWrite(const uint8_t *text);
// Appends a text and a separator byte (TAB after a text, CR on an advance).
void RepBufferAppend(const uint8_t *text, uint8_t sep);
extern uint32_t RepBufferLimit;   // bytes the memory buffer may grow to; tests lower it
// Turns TAB, LF, VT and CR inside a PString into blanks.
void PStrBlankControls(uint8_t *text);

// ---- device_char_printer.cpp, char_printer_lines.cpp ----
void CharPrinterText(int x, int align, int style, const uint8_t *text);
void CharPrinterRule(int x1, int x2, int thickness);
// Blanks the text and overstrike lines and marks them empty.
void RepBlankLine();
// Sends a character through the character tables; false (stopped) when the port refused it.
bool PrinterPutChar(uint8_t c);
// Sends a line of n characters after `margin` blanks, then its overstrike pass.
bool PrinterPutLine(const uint8_t *line, int n, int margin);
// The bytes a printer control text stands for, into out (a PString).
void PrinterControlString(const uint8_t *text, uint8_t *out);
// Opens the port `dest` (a PString), sends bytes, closes it.
bool CharPortBegin(const uint8_t *dest);
bool CharPortSend(const uint8_t *bytes, uint32_t n);
void CharPortEnd();
// Prints the text line and the overstrike line, then LF.
void CharPrinterFlushLine();

// ---- char_form_grid.cpp: the character printer's form page ----
extern int16_t CharGridColumns, CharGridLines;   // the print open sets the columns: 120, or 130 in variant 15
// Opens the destination's port, sends its control string, blanks the grid; false when the port did not open.
bool CharGridPageStart(const uint8_t *dest);
// The form's line count (1..2000; others refused) and its form-feed byte.
void CharGridGeometry(int lines, int formFeed);
void CharGridText(const uint8_t *text, const PackedDecimal rect[4], int lineIndex, int align);
// Sends the grid's lines, a form feed when FormFeedAtEnd, frees the grid, closes the port.
void CharGridPageEnd();
// Drops a started page that never ended: grid freed, port closed, nothing sent.
void CharGridDiscard();

// ---- preview_*.cpp: the preview's store, layout and drawing ----
// An item: offsets inside it (unaligned; read with GetU16/GetI32).
namespace PreviewItemAt {
constexpr uint32_t Size = 0, LayoutPos = 2, X = 6, Font = 8, Kind = 10, Link = 12, Align = 14, Style = 15,
                   Measured = 17, LineHeight = 19, Pos = 21, Text = 25, Header = 25;
}
enum PreviewKind : uint16_t { ItemText = 0, ItemRule = 1, ItemFormText = 2, ItemFormBox = 3, ItemFormLine = 4 };
constexpr uint32_t PreviewGrowStep = 4096, PreviewIndexEntry = 8;
extern uint32_t PreviewStoreLimit;   // bytes a store may grow to
// A form element kept in the store for one form page.
struct PreviewFormItem {
    int16_t page;
    uint16_t kind;
    int32_t top, left, bottom, right;
    int16_t align, thickness;
};
// Appends an item to window n's store; false (told, stopped) when it cannot grow.
bool PreviewAddItem(int n, int32_t pos, int x, int font, int kind, int link, int align, int style,
                    const uint8_t *text);
bool PreviewAddFormItem(int n, const PreviewFormItem &item, const uint8_t *text);
// Opens a preview window (type 5) with an empty store; its number, 0 when not opened.
int PreviewOpen(const uint8_t *title);
// Lays out window n's store and rebuilds its page index.
void PreviewLayout(int n);
// Draws the items of window n between top and bottom of its content; the header band; the page marks.
void PreviewDrawFrom(int n, int32_t top, int32_t bottom);
void PreviewDrawAbove(int n);
void PreviewDrawMarks(int n);
// Shared by the preview's files: the preview geometry in window pixels.
constexpr int32_t PreviewTopOffset = 20, PreviewLeftMargin = 10, PreviewSearchStrip = 20;
// The least room, in pixels, between two texts of a preview line: a blank.
constexpr int32_t PreviewTextGap = 4;
constexpr int32_t FormPageHeight = 842, FormPageGap = 20;
// The width of a form page (A4 in points): its right edge in the preview.
constexpr int32_t FormPageWidth = 595;
// Window n is an open preview (type 5) with its record.
bool PreviewIsOpen(int n);
// Makes room for `size` more bytes after `used` in *h, growing it by
// PreviewGrowStep up to PreviewStoreLimit; false when it cannot grow.
bool PreviewReserve(MemBlock *h, uint32_t used, uint32_t size);
// The left and right ends, in content pixels, of the text item at p.
void PreviewItemEdges(int n, const uint8_t *p, int32_t *left, int32_t *right);
// A report position in content pixels through window n's position table.
int32_t PreviewMapX(int n, int32_t x);
// The store offset of the first indexed item whose layoutPos is at least
// pos; the used length when there is none.
uint32_t PreviewIndexSeek(int n, int32_t pos);
// Draws window n's form items (kinds 2 to 4) that fall in its content.
void PreviewDrawForms(int n);

// ---- print_destination.cpp, form_page.cpp: destinations and form pages ----
// The print set-up texts command 30 carries (PStrings of at most 20, 60, 20 characters).
extern PString PrintSetupTexts[3];
constexpr int PrintSetupTextMax[3] = {20, 60, 20};
// The destination text of the open print (the character printer's port)
// and the form pages started since it opened.
extern PString PrintDestination;
extern int16_t FormPagesStarted;
// Opens the destination `dest` for a form print: sets the output kind
// (an unknown text keeps it) and opens the device; false when the
// printer job or the file did not start.
bool PrintOpen(int docType, int destWord, const uint8_t *title, const uint8_t *dest);
// The local road of the form operations, by the job's device.
void FormPageStartLocal(const uint8_t *name);
void FormPageGeometryLocal(int lines, int word1, int word2, int formFeed);
void FormLineOutLocal(const PackedDecimal rect[4], const PackedDecimal &thickness);
void FormBoxOutLocal(const PackedDecimal rect[4], const PackedDecimal &thickness, int mode);
void FormTextOutLocal(const uint8_t *text, const PackedDecimal rect[4], const uint8_t *fontRecord, int lineIndex,
                      int pitch, int align);
void FormPageEndLocal();
void RepOp30Local();
