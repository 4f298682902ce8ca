// export_text.cpp - texts written to an export stream, in DOS letters
// when the setting asks for them.
#include "output/export_text.h"

#include "core/pstring.h"
#include "output/output_job.h"

uint16_t DosLettersSetting;

// Turns the Swedish letters of a PString, in place, into their forms in
// the DOS code page 437 (ä å Ä Å ö Ö); every other byte stays.
void AnsiToDosLetters(uint8_t *text)
{
    for (int i = 1; i <= text[0]; i++) {
        switch (text[i]) {
        case 0xE4: text[i] = 0x84; break;
        case 0xE5: text[i] = 0x86; break;
        case 0xC4: text[i] = 0x8E; break;
        case 0xC5: text[i] = 0x8F; break;
        case 0xF6: text[i] = 0x94; break;
        case 0xD6: text[i] = 0x99; break;
        default: break;
        }
    }
}

// Writes a PString's characters (not its length byte) to the export
// stream, in DOS letters when DosLettersSetting is on; the caller's text
// is not changed.
void ExportPString(const uint8_t *text)
{
    if (!DosLettersSetting) {
        StreamWrite(text + 1, text[0]);
        return;
    }
    PString dos;
    PStringCopy(dos, text);
    AnsiToDosLetters(dos);
    StreamWrite(dos + 1, dos[0]);
}
