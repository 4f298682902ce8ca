// report_output.h - the report output operations that every report body
// and document printer prints through, and the state they share.
//
// Each operation is a dispatcher with two roads. On a server running
// output for a client (RemoteOutput set) it is encoded as a numbered
// output command into the outgoing message and nothing is drawn; else it
// runs on the device that word 0 of the job record names (OutputKind).
// A client runs the commands it receives through the same local road, so
// local and remote output look alike. The texts, values, advance, line
// feed, picture and export-stream operations are declared in
// output/output_job.h, which this header includes.
//
// One job at a time: RepOpenJob (or RepBeginJob) starts it, RepEndJob ends
// it. A page starts when the first line, text or rule needs one and ends
// at RepNewPage (explicit or by overflow). RepStopped, set by the user's
// cancel or by a device failure, makes every later operation of the job a
// no-op except RepEndJob, which still closes the device.
#pragma once

#include <string>
#include <vector>

#include <cstdint>

#include "core/decimal.h"
#include "core/memblock.h"
#include "core/output_kind.h"
#include "output/output_job.h"
#include "output/export_text.h"

// ---- devices/rep_dispatch.cpp: state ----

// The job's state under the name the output operations use.
inline OutputJobStateRec &RepOutputState = OutputJobState;
inline uint8_t &RepStopped = OutputJobState.stopFlag;
// The setting that makes text output write the DOS letters; output
// commands carry the server's value to the client.
inline uint16_t &DosCodePage = DosLettersSetting;

extern uint8_t RemoteOutput;      // server: every operation is encoded, nothing drawn
extern uint8_t RemoteOutputLost;  // server: the client taking this request's output is gone
extern uint8_t RemoteJobActive;   // client: a received job runs (between commands 1 and 12)
extern uint8_t PrintOpenOk;       // client: the print open of command 28 succeeded
extern uint8_t FormFeedAtEnd;     // a form page ends with a form feed
extern int16_t FormOriginX, FormOriginY;   // subtracted from form elements on the preview and character printer
extern MemBlock ReceivedPageSetup;         // client: the page set-up command 37 sent; the next print job uses it
// Server: the device the client taking a report job's output opened it
// on, as the client told (kind 0: not told); texts are measured as that
// device draws them.
struct ClientDeviceRec {
    uint16_t kind = 0;
    int32_t width = 0;   // usable width in the device's units
};
extern ClientDeviceRec ClientDevice;
extern MemBlock RepBufferBlock;            // the memory buffer of devices 5 and 8
extern uint32_t RepBufferUsed;             // bytes of it in use

// The page header of devices 1 and 10: ten lines in a 5120-byte block of
// 512-byte slots, the left text (a PString) at slot offset 0 and the
// right text at 256. The highest defined line is OutputJobState.headerLine.
struct PageHeaderLinesRec {
    MemBlock block = 0;
};
extern PageHeaderLinesRec PageHeaderLines;
constexpr int HeaderLineCount = 10, HeaderSlot = 512, HeaderRightAt = 256;

// The output devices (core/output_kind.h) under the short names the
// output operations use.
constexpr uint16_t OutPrinter = OutputCode(OutputKind::ToPrinter), OutTextFile = OutputCode(OutputKind::ToTextFile),
                   OutBuffer = OutputCode(OutputKind::ToBuffer), OutPreview = OutputCode(OutputKind::ToPreview),
                   OutBufferKeep = OutputCode(OutputKind::ToBufferKept),
                   OutCharPrinter = OutputCode(OutputKind::ToCharPrinter), OutTabFile = OutputCode(OutputKind::ToTabFile),
                   OutNone = OutputCode(OutputKind::Nowhere);

// Set while a batch run prints on the device its window chose: a form
// print to an empty destination then keeps that device (print_destination.cpp).
extern bool PrintKeepsRunDevice;
// Sets it for a run's lifetime.
struct RunDeviceKept {
    bool was = PrintKeepsRunDevice;
    RunDeviceKept() { PrintKeepsRunDevice = true; }
    ~RunDeviceKept() { PrintKeepsRunDevice = was; }
    RunDeviceKept(const RunDeviceKept &) = delete;
    RunDeviceKept &operator=(const RunDeviceKept &) = delete;
};
// Word 0 of the job record the output prints from (OutputJobState), the
// job's device; 0 without one.
uint16_t CurrentOutputKind();
// At start-up: the character printer's line buffers, and the end of a
// received job when the connection to the server ends.
void RepOutputInit();
// Polls the cancel key; a cancel stops the job's output.
void RepPollStop();
// Polls the user's Esc; true when the running report is to stop after
// the record at hand (the job's output itself is not stopped by it).
bool ReportCancelled();

// ---- devices/rep_dispatch.cpp: the job, line and page operations ----
// Texts are PStrings unless said. "Nothing while stopped" holds on both roads.

// Opens a job named `name` (locally: the device's job start, without a
// selection header; remotely command 1 with the job record).
void RepOpenJob(const uint8_t *name);
// Opens a job named `name` laid out as a report's: the device's width and
// the columns of the job record's report (on a server: the client's
// device's), without a selection header.
void RepOpenReportJob(const uint8_t *name);
// Opens a job titled `title` (expanded), laid out as a report's, and
// writes the current report's selection header.
void RepBeginJob(const uint8_t *title);
// RepBeginJob with interface text n.
void RepBeginJobNr(int n);
// The client's column layout of a report job its server began (command
// 42): the device's width and the columns of the job record's report, as
// RepBeginJob lays them out; the usable width into *width (0 for a device
// without one).
void RepLayOutReceivedColumns(int32_t *width);
// Empties the page header, sets a left or right text of header line n
// (0..9; other lines are dropped), ends the header's definition.
void RepHeaderClear();
void RepHeaderLeft(int n, const uint8_t *text);
void RepHeaderRight(int n, const uint8_t *text);
void RepHeaderDone();
// Starts a line of height h, breaking the page first when it does not
// fit; stores h as the line height even while stopped.
void RepStartLine(int h);
// The text operations: a zero-terminated text, an interface text by
// number, and the full form with a font (-1 the device's report font) and
// a style word (non-zero underlines). Nothing while stopped.
void RepCText(int x, int link, const char *text, int align);
void RepTextNr(int x, int link, int n, int align);
void RepTextEx(int x, int font, int link, int align, int style, const uint8_t *text);
// Values formatted by their field type: with a style word, and with a font.
void RepValueFmt(int x, int link, const uint8_t *value, int type, int align, int style);
void RepValueEx(int x, int font, int link, const uint8_t *value, int type, int align, int style);
// A rule over the page width, then an advance of 8; a rule from x1 to x2
// on the current line, then a line feed. Thickness 6 is the double rule.
void RepRuleFull(int end, int thickness);
void RepRule(int x1, int x2, int thickness);
// RepAdvance by the line height, unless stopped.
void RepEndLine();
// Writes the text file's pending line.
void RepFlushLine();
// Ends the page (flag 1: the job's last page).
void RepNewPage(int flag);
// Ends the job: the pending page break, the device closed (also after a
// cancel), the header freed, the toolbar back; a failed write is told.
void RepEndJob();
// Appends a field to the export line; shows a text in the import status window.
void RepWriteField(const uint8_t *text);
void RepStatusText(const uint8_t *text);
// Closes the output file and opens the next one.
void RepNextFile();
// Remote only: sends a handle's contents (the run's page set-up).
void RepSendHandle(MemBlock h);
// Prints the line "format" with the data file's format numbers.
void RepOp18();
// The format line at the head of an export (export_format_line.cpp): the
// word "format", the date order, the decimal separator and the byte order.
void PrintFormatLine();
// The position x of the report units table `table` in device units: a
// position 0..10 names a stop when entry 0 is not 65535; the result is
// scaled by entry 10 / entry 1.
int32_t DeviceScaleSize(const PositionTable &table, int32_t x);

// ---- devices/rep_dispatch.cpp: form pages ----
// Rectangles are four PackedDecimal points: top, left, bottom, right.

// Opens print destination `dest` (see PrintOpen); 1 when printing goes on, 0 when not.
int PrintOpenCall(int docType, int destWord, const uint8_t *title, const uint8_t *dest);
void FormPageStart(const uint8_t *name);
// The form's page set-up: lines per page, two words the client drops, the form-feed byte.
void FormPageGeometry(int lines, int word1, int word2, int formFeed);
void FormLineOut(const PackedDecimal rect[4], const PackedDecimal &thickness);
void FormBoxOut(const PackedDecimal rect[4], const PackedDecimal &thickness, int mode);
// A text in a rectangle with a font record (register 93), moved down by
// lineIndex x pitch; align -1 right, 0 left, 1 centred.
void FormTextOut(const uint8_t *text, const PackedDecimal rect[4], const uint8_t *fontRecord, int lineIndex,
                 int pitch, int align);
void FormPageEnd();
// Closes the destination of PrintOpenCall.
void RepOp30();
// Sent by the server, nothing on the client.
void RepFormNote(int n);
void RepFormNote3(int a, int b, int c);

// ---- devices/remote_exec.cpp ----
// Runs a buffer of received output commands on the local devices; false
// when it was malformed: the commands before the fault ran, the rest was
// dropped and the user told once a job.
bool RepExecRemote(const uint8_t *bytes, uint32_t length);

// ---- devices/preview_*.cpp: the preview window (shell calls these) ----
void PreviewPaint(int n);
// The OK action of the preview's search field.
void PreviewFind(int n);
void PreviewResized(int n);
// Frees the window's store and index; called before its record goes.
void PreviewFree(int n);
// Scrolls the preview's pane `slot` to `top` pixels, its scroll bar with it.
void PreviewScroll(int n, int slot, int32_t top);
// Sets the preview's scroll bar to its pane's range and top.
void PreviewBarUpdate(int n);
// The pane's top in pixels for position `position` of the preview's scroll bar.
int32_t PreviewBarTop(int n, int position);
// Recomputes the preview's content rectangle.
void WinContentRect(int n);
// The click handler of preview windows; false for windows of other types.
bool RepListWindowDraw(int n, int32_t point, bool shift, bool dbl);

// ---- devices/device_text_file.cpp, device_units.cpp ----
// Chooses and creates the output file of kinds 2 and 12 before a report
// runs; the job stays stopped when no file was created.
void RepOpenFileDevice();
// Ends the open file and creates the next one: the chosen name numbered
// ("PAY.TXT", "PAY-2.TXT", ...), or a new unique name when none was chosen.
void RepReopenFileDevice();
// The files of a bank payment file job are written under a temporary name
// (the chosen one with ".part") and take their own names only when the
// job has ended whole: with keep each is renamed (an older file of that
// name is replaced), else each is removed, so a stopped job leaves
// nothing. names gets the files' own names in order (those kept, or
// every one when not kept); false when a rename failed (that file and
// the ones after it are removed).
bool RepStagedFilesEnd(bool keep, std::vector<std::string> *names);
// Drops what the job wrote to its chosen file: the file is closed and
// removed, with the numbered files and temporary ones the job made, so
// that nothing of a job that was not done stays to be taken for done.
void RepDiscardFileDevice();
// The current device's position table and usable width (0: none).
void RepPageWidth(PositionTable *table, int32_t *width);
