// Printing. The printer is a PDF document drawn by cairo: one file per job,
// in a directory and under a name the caller gives (default: directory
// "print", a unique name made from the job title). The job exposes a 300 dpi
// device: resolutions, the page size in device units (A4 by default, Letter on
// request), document and page brackets, and a DrawContext for the current page
// in device units (one unit = 1/300 inch, y downwards).
//
// Character printers on the ports "LPT1", "LPT2", "COM1", "1" and "5" become
// byte streams written to a file or device path configured per port (default:
// the port's name and ".txt" in the current directory).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/draw.h"

// ---------------------------------------------------------------------------
// Page printer
enum class PlPaper : uint8_t { A4, Letter };

struct PlPrintSettings {
    std::string directory = "print";  // made when missing
    std::string fileName;             // empty = a unique name from the title
    PlPaper paper = PlPaper::A4;
    bool landscape = false;
};

constexpr int kPlPrintDpi = 300;

struct PlPrintJob;  // opaque

// Starts a document: makes the directory, reserves the file and opens the PDF.
// Returns null (and writes nothing) when the file cannot be made.
PlPrintJob *PrintStartDoc(const PlPrintSettings &settings, std::string_view title);
// Device resolution in dots per inch (kPlPrintDpi).
int PrintDpiX(const PlPrintJob *job);
int PrintDpiY(const PlPrintJob *job);
// Page width and height in device units (A4 portrait: 2480 x 3508).
PlSize PrintPageSize(const PlPrintJob *job);
// Begins a page; false when a page is already open.
bool PrintStartPage(PlPrintJob *job);
// The drawing context of the open page (device units); null outside a page.
// It belongs to the job and is gone after PrintEndPage.
DrawContext *PrintPageDc(PlPrintJob *job);
// Ends the open page; false when none is open.
bool PrintEndPage(PlPrintJob *job);
int PrintPageCount(const PlPrintJob *job);
// The file the job writes.
const std::string &PrintJobPath(const PlPrintJob *job);
// Ends the document (closing an open page first), writes the file and frees
// the job. Returns false when the file could not be written completely.
bool PrintEndDoc(PlPrintJob *job);
// Gives the job up: frees it and removes its file.
void PrintAbortDoc(PlPrintJob *job);

// ---------------------------------------------------------------------------
// Character printer ports
struct PlCharPort;  // opaque

// True for the port names the program prints to ("LPT1", "LPT2", "COM1", "1", "5"; any case).
bool CharPortIsName(std::string_view port);
// Maps a port to a file or device path (empty path = the default file).
// False for a name that is not a port.
bool CharPortConfigure(std::string_view port, std::string_view path);
// The path a port writes to; empty for a name that is not a port.
std::string CharPortPath(std::string_view port);
// Opens a port for writing. A file is appended to, so that earlier jobs are
// kept; a device is written as it is. Null when the name is not a port or the
// path cannot be opened.
PlCharPort *CharPortOpen(std::string_view port);
// Writes all bytes; false on a write error.
bool CharPortWrite(PlCharPort *p, std::string_view bytes);
// Closes the port; false when buffered bytes could not be written.
bool CharPortClose(PlCharPort *p);
