// form_page.cpp - form pages on the job's device: page start and end,
// the page set-up, lines, boxes and texts, and the close of the print.
//
// Elements come as rectangles of four PackedDecimal points (top, left,
// bottom, right). The printer draws them on its page at once. The
// preview keeps each element in its store with the number of the form
// page it belongs to, so that a form of several pages is painted from
// the store (and survives a repaint). The character printer places texts
// in its page grid (char_form_grid.cpp) and has no lines or boxes.
#include <cstring>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/format_block.h"
#include "dict_offsets.h"
#include "output/devices/device_table.h"
#include "output/output_windows.h"
#include "output/printer.h"

namespace {

// A rectangle moved down by `by` points: its top and bottom grow.
void MoveDown(const PackedDecimal rect[4], int32_t by, PackedDecimal out[4])
{
    PackedDecimal d;
    DecFromLong(&d, by);
    for (int i = 0; i < 4; i++) DecCopy(&out[i], &rect[i]);
    DecAdd(&rect[0], &d, &out[0]);
    DecAdd(&rect[2], &d, &out[2]);
}

// A printer element's rectangle.
void PutRect(uint8_t *element, const PackedDecimal rect[4])
{
    PutDec(element, PrinterElement::Top, rect[0]);
    PutDec(element, PrinterElement::Left, rect[1]);
    PutDec(element, PrinterElement::Bottom, rect[2]);
    PutDec(element, PrinterElement::Right, rect[3]);
}

// Keeps an element of the current form page in the preview's store; a
// store that cannot grow has stopped the job.
void PreviewElement(uint16_t kind, const PackedDecimal rect[4], int16_t align, int16_t thickness,
                    const uint8_t *text)
{
    int n = RepOutputState.previewWindow;
    if (n <= 0) return;
    PreviewFormItem item;
    item.page = int16_t(FormPagesStarted > 0 ? FormPagesStarted - 1 : 0);
    item.kind = kind;
    item.top = DecToLong(&rect[0]) - FormOriginY;
    item.left = DecToLong(&rect[1]) - FormOriginX;
    item.bottom = DecToLong(&rect[2]) - FormOriginY;
    item.right = DecToLong(&rect[3]) - FormOriginX;
    item.align = align;
    item.thickness = thickness;
    if (!PreviewAddFormItem(n, item, text)) RepStopped = 1;
}

// A line or box element: a frame on the printer (`box` picks the
// printer's form routine), a stored item on the preview.
void FrameOut(bool box, const PackedDecimal rect[4], const PackedDecimal &thickness, int mode)
{
    switch (CurrentOutputKind()) {
    case OutPrinter: {
        uint8_t e[PrinterElement::FrameSize] = {};
        PutRect(e, rect);
        PutDec(e, PrinterElement::PenWidth, thickness);
        if (box)
            PrinterFormLine(e);
        else
            PrinterReportLine(e);
        break;
    }
    case OutPreview:
        PreviewElement(box ? ItemFormBox : ItemFormLine, rect, int16_t(mode), int16_t(DecToLong(&thickness)), nullptr);
        break;
    default: break;
    }
}

}  // namespace

// Starts a form page: a new printer page; a new page number for the
// preview's items; on the character printer the port of the destination
// (its control string sent) and a blank grid.
void FormPageStartLocal(const uint8_t *)
{
    FormPagesStarted++;
    switch (CurrentOutputKind()) {
    case OutPrinter: PrinterStartPage(); break;
    case OutCharPrinter:
        if (!CharGridPageStart(PrintDestination)) RepStopped = 1;
        break;
    default: break;
    }
}

// The form's page set-up: its form-feed byte, and on the character
// printer the grid's line count. Words 1 and 2 mean nothing here.
void FormPageGeometryLocal(int lines, int, int, int formFeed)
{
    FormFeedAtEnd = uint8_t(formFeed);
    if (CurrentOutputKind() == OutCharPrinter) CharGridGeometry(lines, formFeed);
}

// A line element.
void FormLineOutLocal(const PackedDecimal rect[4], const PackedDecimal &thickness)
{
    FrameOut(false, rect, thickness, 0);
}

// A box element.
void FormBoxOutLocal(const PackedDecimal rect[4], const PackedDecimal &thickness, int mode)
{
    FrameOut(true, rect, thickness, mode);
}

// A text element (already expanded): on the printer and the preview in
// its rectangle moved down by lineIndex x pitch, on the printer in the
// font of the font record (register 93; null: the default face); on the
// character printer in the grid.
void FormTextOutLocal(const uint8_t *text, const PackedDecimal rect[4], const uint8_t *fontRecord, int lineIndex,
                      int pitch, int align)
{
    PackedDecimal moved[4];
    switch (CurrentOutputKind()) {
    case OutPrinter: {
        uint8_t e[PrinterElement::TextSize] = {};
        MoveDown(rect, lineIndex * pitch, moved);
        PutRect(e, moved);
        if (fontRecord) std::memcpy(e + PrinterElement::FontRecord, fontRecord, FontVc::Size);
        PutI16(e, PrinterElement::Align, int16_t(align));
        PrinterFormText(text, e);
        break;
    }
    case OutPreview:
        MoveDown(rect, lineIndex * pitch, moved);
        PreviewElement(ItemFormText, moved, int16_t(align), 0, text);
        break;
    case OutCharPrinter: CharGridText(text, rect, lineIndex, align); break;
    default: break;
    }
}

// Ends the form page, also a stopped one: the printer's page ends, the
// character printer sends its grid and closes its port.
void FormPageEndLocal()
{
    switch (CurrentOutputKind()) {
    case OutPrinter: PrinterEndPage(); break;
    case OutCharPrinter: CharGridPageEnd(); break;
    default: break;
    }
}

// Closes the print: the busy message of "0", the printer's document job
// (its busy message goes with it); the preview is marked for a repaint
// of its stored pages. The thousands separator and the client's open
// flag are cleared.
void RepOp30Local()
{
    switch (CurrentOutputKind()) {
    case OutNone: OutBusyClose(); break;
    case OutPrinter:
        PrintJobEnd();
        OutBusyClose();
        break;
    case OutPreview:
        if (RepOutputState.previewWindow) OutWindowMarkChanged(RepOutputState.previewWindow);
        break;
    default: break;
    }
    // Whatever the kind is now (a job record may have changed it since the
    // open), a character page that was started and never ended goes.
    CharGridDiscard();
    ThousandsFlag = 0;
    PrintOpenOk = 0;
}
