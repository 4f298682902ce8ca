// export_text.h - texts written to an export stream, in DOS letters when
// the setting asks for them (export_text.cpp).
#pragma once

#include <cstdint>

extern uint16_t DosLettersSetting;           // not 0: exports write the DOS letters
// Turns the Western letters of a PString into their DOS forms.
void AnsiToDosLetters(uint8_t *text);
// Writes a PString's characters to the export stream.
void ExportPString(const uint8_t *text);
