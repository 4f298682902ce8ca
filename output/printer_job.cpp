// printer_job.cpp - print jobs, their documents and pages, and the page
// number at a page's foot.
#include "output/output_job.h"
#include "output/printer.h"

PrinterStateRec Printer;

// Starts a report's print job; not built yet: no job starts, the stop
// flag ends the run (false).
bool PrintJobStartReport(const uint8_t *title)
{
    OutputJobState.stopFlag = 1;
    return false;
}

// Starts or nests a document job; not built yet: no job starts, the stop
// flag ends the run (0).
int PrintJobStartDoc(int unused, int setupFlag, const uint8_t *title)
{
    OutputJobState.stopFlag = 1;
    return 0;
}

// Ends one level of a job; not built yet: nothing (no job is ever open).
void PrintJobEnd() {}

// Starts a page; not built yet: nothing.
void PrinterStartPage() {}

// Ends the open page; not built yet: nothing.
void PrinterEndPage() {}

// Ends the page and starts the next; not built yet: nothing.
void PrinterNewPage() {}

// Ends the document; not built yet: nothing.
void PrinterEndDoc() {}

// Prints the page number and ends the page; not built yet: nothing.
void PrinterPageNumber(int flag) {}
