// export_text.cpp - texts written to an export stream, in DOS letters
// when the setting asks for them.
#include "shell/company.h"

#include "output/output_job.h"

uint16_t DosLettersSetting;

// Turns a text into DOS letters; not built yet: the text stays as it is.
void AnsiToDosLetters(uint8_t *text) {}

// Writes a text to the export stream; not built yet: nothing is written
// and the running export stops.
void ExportPString(const uint8_t *text) { OutputJobState.stopFlag = 1; }
