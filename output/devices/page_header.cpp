// page_header.cpp - the page header the printer and the character printer
// print at the top of every page.
//
// Not built yet.
#include "output/devices/device_table.h"

// Prints the header lines; not built yet: does nothing.
void RepPrintPageHeader() {}
