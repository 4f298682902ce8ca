// char_printer_lines.cpp - what the character printer sends to its port:
// characters through the character tables, lines with their overstrike
// pass, printer control strings, and the port itself.
//
// A port write that fails stops the job and marks it failed, so that its
// end tells the user; nothing more is sent to that port.
#include <cassert>
#include <string_view>

#include "core/interface_load.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "output/devices/device_table.h"
#include "platform/print.h"

namespace {

// The open port, null when none.
PlCharPort *Port = nullptr;

// Sends margin blanks as they are (no character tables).
bool SendBlanks(int margin)
{
    static const uint8_t blanks[16] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    for (; margin > 0; margin -= 16)
        if (!CharPortSend(blanks, uint32_t(margin < 16 ? margin : 16))) return false;
    return true;
}

}  // namespace

// Sends a character through the output character table and then the
// printer's own table; false (stopped) when the port refused it.
bool PrinterPutChar(uint8_t c)
{
    if (CharTranslationTables[1]) c = CharTranslationTables[1][c];
    if (PrinterCharTable) c = PrinterCharTable[c];
    return CharPortSend(&c, 1);
}

// Sends a line of n characters (trailing blanks dropped) after `margin`
// blanks, through the character tables; then, when the overstrike table
// gives marks for its characters, CR, the margin and the marks as they
// are. False when the port refused a byte.
bool PrinterPutLine(const uint8_t *line, int n, int margin)
{
    assert(line && n >= 0);
    while (n > 0 && line[n - 1] == ' ') n--;
    if (n == 0) return true;
    for (int i = 0; i < margin; i++)
        if (!PrinterPutChar(' ')) return false;
    for (int i = 0; i < n; i++)
        if (!PrinterPutChar(line[i])) return false;
    if (!OverstrikeTable) return true;
    uint8_t marks[256];
    int m = 0;
    for (int i = 0; i < n && i < 256; i++) {
        marks[i] = OverstrikeTable[line[i]];
        if (marks[i] != ' ') m = i + 1;
    }
    if (m == 0) return true;
    static const uint8_t cr = 13;
    return CharPortSend(&cr, 1) && SendBlanks(margin) && CharPortSend(marks, uint32_t(m));
}

// The bytes a printer control text stands for, into the PString out:
// its characters from the third on, where a backslash and a digit give
// that digit's byte (0..9) and a backslash before anything else is
// dropped and the next character kept. Two characters or fewer give none.
void PrinterControlString(const uint8_t *text, uint8_t *out)
{
    assert(text && out);
    out[0] = 0;
    for (int i = 3; i <= text[0]; i++) {
        uint8_t c = text[i];
        if (c == '\\') {
            if (i == text[0]) break;
            c = text[++i];
            if (c >= '0' && c <= '9') c = uint8_t(c - '0');
        }
        out[++out[0]] = c;
    }
}

// Opens the port named by the PString dest (an open one is closed
// first); false when it could not be opened: told with the name, stopped.
bool CharPortBegin(const uint8_t *dest)
{
    assert(dest);
    CharPortEnd();
    Port = CharPortOpen(std::string_view(reinterpret_cast<const char *>(dest + 1), dest[0]));
    if (Port) return true;
    ShowMessage(Texts::PortNotOpened, dest);
    RepStopped = 1;
    return false;
}

// Sends n bytes to the open port; false when there is none, an earlier
// write failed, or this one fails (the job stopped and marked failed).
bool CharPortSend(const uint8_t *bytes, uint32_t n)
{
    if (!Port || RepOutputState.writeFailed) return false;
    if (CharPortWrite(Port, std::string_view(reinterpret_cast<const char *>(bytes), n))) return true;
    RepOutputState.writeFailed = 1;
    RepStopped = 1;
    return false;
}

// Closes the open port; bytes lost at the close make a failed write.
void CharPortEnd()
{
    if (!Port) return;
    if (!CharPortClose(Port) && !RepOutputState.writeFailed) {
        RepOutputState.writeFailed = 1;
        RepStopped = 1;
    }
    Port = nullptr;
}
