// printer.h - the printer device: one PDF document per job over the
// platform's print layer, its pages and page numbers, the printer fonts,
// the conversion of report coordinates (points, 1/72 inch) to device
// units, lines, rules, texts in columns and forms, wrapped column texts
// and printed pictures. The job's positions live in OutputJobState.
#pragma once

#include <cstdint>
#include <vector>

#include "core/decimal.h"
#include "core/memblock.h"
#include "platform/draw.h"
#include "platform/font.h"
#include "platform/geometry.h"
#include "platform/print.h"
#include "dict_offsets.h"

// The open print job and what it draws with.
struct PrinterStateRec {
    PlPrintJob *job = nullptr;  DrawContext *dc = nullptr;     // dc: the open page's
    int dpiX = 0, dpiY = 0, pageWidth = 0;                    // device units
    int pageHeightPt = 0, usableHeightPt = 0;                 // points (units x 72 / dpi)
    bool docOpen = false;  int nesting = 0;
    PlFont *normal = nullptr, *bold = nullptr, *sized = nullptr, *formFont = nullptr;
    uint8_t lastFontRecord[64] = {};   int penMode = 0;  PlPoint pen{};
    int32_t prevTextEnd = -1;          // device x where the previous column text ended
};
extern PrinterStateRec Printer;

// The elements a form or a report hands to the printer: four PackedDecimal
// coordinates (top, left, bottom, right, in points), then for a frame its
// pen width (a PackedDecimal, device units), for a text its font record
// (register 93) and an alignment word (0 left, 1 centred, -1 right).
namespace PrinterElement {
constexpr uint32_t Top = 0, Left = 12, Bottom = 24, Right = 36;
constexpr uint32_t PenWidth = 48;
constexpr uint32_t FontRecord = 48;
constexpr uint32_t Align = FontRecord + FontVc::Size;
constexpr uint32_t FrameSize = PenWidth + 12, TextSize = Align + 2;
}  // namespace PrinterElement

// ---- printer_job.cpp ----
// Opens the print dialog and the document of a report job (PString
// title); false (stop flag set) when cancelled or not opened.
bool PrintJobStartReport(const uint8_t *title);
// Opens a document job, or nests in the open one; 1 when printing goes
// on, 0 when the job is stopped.
int PrintJobStartDoc(int unused, int setupFlag, const uint8_t *title);
// Ends one level of a job; the document ends with the outermost.
void PrintJobEnd();
// A print command (File > Print, Ctrl+P) from its begin to its end: its
// first printer job asks the print dialog, whatever its document or report
// says, and every further job of the command prints on what was chosen
// there (nothing, once the dialog was cancelled).
void PrintCommandBegin();
void PrintCommandEnd();
void PrinterStartPage();
void PrinterEndPage();
// Ends the page and starts the next with the page header.
void PrinterNewPage();
void PrinterEndDoc();
// Prints the page number at the page's foot and ends the page.
void PrinterPageNumber(int flag);

// ---- printer_fonts.cpp ----
// Makes the job's normal and bold fonts; false when none can be made.
bool PrinterFontsInit();
// Frees the fonts of the print job (normal, bold and the form font).
void PrinterFontsFree();
// The width of a PString in device units in a printer job's normal font,
// measured without a document (a server measuring for its client), and
// the font that measure keeps, freed.
int PrinterMeasureWidth(const uint8_t *text);
void PrinterMeasureFontFree();
void SelectFontOf(bool bold);
// Selects a font of a face (PString) at a height in points.
void PrinterFontSized(const uint8_t *face, int unused, int height);
// Selects the font a form's font record describes.
void PrinterFontSelect(const uint8_t *fontRecord);

// ---- printer_draw.cpp ----
// Report coordinates (points) to device units.
int32_t ReportToPrinterY(int32_t y);
int32_t ReportToPrinterX(int32_t x);
void PrinterMoveTo(int x, int y);
void PrinterPenMode(int m);
void PrinterLineTo(int x, int y);
// Widths in device units of a PString and of a C string in the selected font.
int PrinterPStringWidth(const uint8_t *text);
// Bar codes drawn as bars (barcode_bars.cpp): whether a face names the
// Code 128 or the EAN-13 bar-code face; a text's bar and space widths in
// modules, bar first (false when it is no string of that face); the 13
// digits of an EAN-13 font text; the bars of a face's text drawn across
// a rectangle of report points (false when the face is none, the text no
// string of it or the rectangle too narrow).
bool IsCode128Face(const uint8_t *face);
bool IsEan13Face(const uint8_t *face);
bool Code128BarWidths(const uint8_t *text, std::vector<uint8_t> *widths);
bool Ean13BarWidths(const uint8_t *text, std::vector<uint8_t> *widths);
bool Ean13DigitsOfBarText(const uint8_t *text, uint8_t *digits);
bool PrinterBarcodeBars(const uint8_t *face, const uint8_t *text, int32_t top, int32_t left, int32_t bottom,
                        int32_t right);
int PrinterTextWidth(const uint8_t *text);
void PrinterTextAt(int32_t y, int32_t x, const uint8_t *text);
void PrinterRule(int32_t x1, int32_t x2, int32_t y, int unused);
// A text at report position x through the job's position table, right-aligned when asked.
void PrinterTextAtColumn(int x, bool right, const uint8_t *text);
// A text in the rectangle c (top, left, bottom, right, points) in a font record's font.
void PrinterTextInColumn(const uint8_t *text, const PackedDecimal c[4], const uint8_t *fontRecord, int align);
void PrinterFormText(const uint8_t *text, const uint8_t *element);
void PrinterFormLine(const uint8_t *element);
void PrinterReportLine(const uint8_t *element);

// ---- printer_text.cpp ----
// A text between x1 and x2 (points) wrapped onto as many lines as it needs.
void PrinterTextClipped(int32_t x1, int32_t x2, bool right, bool underline, const uint8_t *text);
void PrinterTextClipped2(int32_t x1, int32_t x2, bool right, bool underline, const uint8_t *text);

// ---- printer_bitmap.cpp ----
// Draws a packed bitmap block into the rectangle c on the open page;
// false when no page is open or the block is not a bitmap.
bool PrintBitmapInRect(MemBlock dib, const PackedDecimal c[4], int keep);
