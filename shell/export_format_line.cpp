// export_format_line.cpp - the format line at the head of an export.
#include "shell/report_commands.h"

// Prints the export's format line; not built yet: nothing is printed.
void PrintFormatLine() {}
