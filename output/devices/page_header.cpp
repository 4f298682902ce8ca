// page_header.cpp - the page header the printer (1) and the character
// printer (10) print at the top of every page, from the lines stored in
// PageHeaderLines: each line's left text at position 0 and its right
// text ending at position 1 (line 0's followed by the page number), then
// a double rule under them.
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "output/devices/device_table.h"
#include "output/printer.h"

namespace {

constexpr int32_t PrinterHeaderLine = 15;   // points a header line on the printer
constexpr int32_t RuleGap = 23;             // points below the rule on the printer
constexpr int32_t LineWidth = 480;          // report units of the page width

// The right text of header line n, line 0's with the page number.
void RightText(const uint8_t *slot, int n, uint8_t *out)
{
    PStringCopy(out, slot + HeaderRightAt);
    if (n != 0) return;
    PString part;
    PStringAppendC(out, "    ");
    GetUiText(part, Texts::PagePrefix);
    PStringAppend(out, part);
    int16_t page = int16_t(RepOutputState.pageNumber);
    FieldToText(reinterpret_cast<const uint8_t *>(&page), FtShort, part);
    PStringAppend(out, part);
}

}  // namespace

// Prints the header lines on the job's page: lines 0 up to the highest
// defined, then the rule. Nothing without header lines.
void RepPrintPageHeader()
{
    OutputJobStateRec &s = RepOutputState;
    uint16_t kind = CurrentOutputKind();
    if (s.headerLine == 65535 || !PageHeaderLines.block) return;
    if (kind != OutPrinter && kind != OutCharPrinter) return;
    const uint8_t *p = MemLock(PageHeaderLines.block);
    if (!p) return;
    PString right;
    for (int n = 0; n <= s.headerLine && n < HeaderLineCount; n++) {
        const uint8_t *slot = p + n * HeaderSlot;
        RightText(slot, n, right);
        s.lineColumn = 0;
        if (kind == OutPrinter) {
            s.linePos += PrinterHeaderLine;
            PrinterTextAtColumn(0, false, slot);
            PrinterTextAtColumn(1, true, right);
        } else {
            RepBlankLine();   // the advance below moves the line: linePos counts printed lines
            s.charColumnEnd = 0;
            CharPrinterText(0, 0, 0, slot);
            // Position 1 names the right edge only where the table has stops.
            CharPrinterText(s.positions[0] != 65535 ? 1 : LineWidth, 1, 0, right);
            RepAdvance(PrinterHeaderLine);
        }
    }
    MemUnlock(PageHeaderLines.block);
    if (kind == OutPrinter) {
        s.linePos += PrinterHeaderLine;
        PrinterRule(0, LineWidth, s.linePos, 6);
        s.linePos += RuleGap;
        s.lineColumn = 0;
        s.charColumnEnd = 0;
    } else {
        RepBlankLine();
        CharPrinterRule(0, LineWidth, 6);
        RepAdvance(8);
        RepAdvance(PrinterHeaderLine);
    }
}
