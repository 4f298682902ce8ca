// form_items.cpp - the items of a form definition on one page: texts,
// lines, boxes, pictures and data fields with their fonts.
//
// A form's items are its rows (DocVc::Rows, 182 bytes): a kind, a
// rectangle of four amounts in form units, a font name (a line's or box's
// thickness, a picture's file), a text (a data field's field text), the
// alignment, a data field's row pitch and field code. The designer puts a
// new item first, so the items are drawn from the last row to the first:
// in the order they were made, a later one over an earlier one.
#include <cassert>
#include <cstring>

#include "core/choice_lists.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "output/devices/report_output.h"
#include "output/forms/form_item_kind.h"
#include "output/forms/forms.h"

namespace {

constexpr int FieldNamesList = 101;           // choice list of the data fields' names
constexpr uint16_t FontKeyType = 27;          // the font name's key type
constexpr int FontKeyLength = 20;
constexpr int16_t DefaultFontSize = 12;
constexpr int32_t MaxThickness = 10;          // thicker lines print with 1
constexpr int16_t DefaultFormLines = 66;      // a character printer's page
constexpr int16_t MaxFormLines = 2000;        // the most lines a page set-up may have
constexpr int ItemTextLength = 100;          // an item's text or field text

// The item's rectangle in the order the form operations take: top, left,
// bottom, right.
void ItemRect(const uint8_t *item, PackedDecimal rect[4])
{
    rect[0] = GetDec(item, DocVc::Rows::Top);
    rect[1] = GetDec(item, DocVc::Rows::Left);
    rect[2] = GetDec(item, DocVc::Rows::Bottom);
    rect[3] = GetDec(item, DocVc::Rows::Right);
}

// A line's or box's thickness from its text: a blank text, one that is no
// amount, a negative one or one above 10 gives 1.
void ItemThickness(const uint8_t *item, PackedDecimal *thickness)
{
    PString text;
    GetText(item, DocVc::Rows::Font, text);
    PackedDecimal one;
    DecFromLong(&one, 1);
    if (!TextToDecChecked(text, thickness) || DecIsBlank(thickness) || DecIsNegative(thickness) ||
        DecCompareDouble(thickness, MaxThickness) > 0)
        DecCopy(thickness, &one);
}

// Fills a font record with the built-in defaults.
void DefaultFont(uint8_t *out)
{
    std::memset(out, 0, FontVc::Size);
    PString text;
    PStringFromC(text, "(dummy)");
    PutText(out, FontVc::Name, text);
    PStringFromC(text, "Helvetica");
    PutText(out, FontVc::PSFontName, text);
    PutI16(out, FontVc::PSSize, DefaultFontSize);
    GetUiText(text, Texts::PrinterFace);
    if (text[0] == 0) PStringFromC(text, "Times New Roman");
    PutText(out, FontVc::WinFontName, text);
    PutI16(out, FontVc::WinSize, DefaultFontSize);
}

}  // namespace

// Draws every item of the form once on the current page, after the
// document's page preamble and page geometry; the form's own rows per
// page win over what the run set before. Returns 1 (the page was drawn).
uint8_t PrintFormItems(const uint8_t *formDef, int16_t doctype)
{
    assert(formDef);
    DocPagePreamble(doctype);
    // A form without a line count gets the character printer's 66: a
    // client refuses a page set-up of no lines as damaged output.
    int16_t lines = GetI16(formDef, DocVc::Layout90);
    if (lines < 1 || lines > MaxFormLines) lines = DefaultFormLines;
    FormPageGeometry(lines, GetI16(formDef, DocVc::Layout92), GetI16(formDef, DocVc::Layout94),
                     GetU8(formDef, DocVc::Layout96));
    FormSetRowsPerPage(GetI16(formDef, DocVc::RowsPerPage));

    uint8_t font[FontVc::Size] = {};
    PString fontName = {0};
    bool fontLoaded = false;   // a font is read once per name per page
    uint8_t item[DocVc::Rows::Size];
    for (int32_t i = MatrixRowCount(DocVc::Number, 0, formDef) - 1; i >= 0; i--) {
        if (!MatrixRowGet(DocVc::Number, 0, formDef, i, item)) continue;
        PackedDecimal rect[4];
        ItemRect(item, rect);
        uint16_t kind = GetU16(item, DocVc::Rows::Kind);
        PString name, text;
        GetText(item, DocVc::Rows::Font, name);
        GetText(item, DocVc::Rows::Text, text);
        int16_t align = GetI16(item, DocVc::Rows::Alignment);
        if ((kind == FormItemText || kind == FormItemField) && (!fontLoaded || !PStringEqual(name, fontName))) {
            FontRecordLoad(font, name);
            PStringCopy(fontName, name);
            fontLoaded = true;
        }
        switch (kind) {
        case FormItemText: FormTextOut(text, rect, font, 0, 0, align); break;
        case FormItemLine:
        case FormItemBox: {
            PackedDecimal thickness;
            ItemThickness(item, &thickness);
            if (kind == FormItemLine) FormLineOut(rect, thickness);
            else FormBoxOut(rect, thickness, 1);
            break;
        }
        case FormItemField:
            PrintFormField(doctype, text, GetI16(item, DocVc::Rows::FieldCode), rect, font,
                           GetI16(item, DocVc::Rows::RowPitch), align);
            break;
        case FormItemPicture: {
            uint8_t rectBlock[4 * sizeof(PackedDecimal)];
            std::memcpy(rectBlock, rect, sizeof rectBlock);
            DrawBitmapFile(name, rectBlock, align);
            break;
        }
        default: break;   // empty, or a kind this program does not know
        }
    }
    return 1;
}

// Prints one data field: its value for every row of its range, row r
// moved r - first pitches below the item; on a label sheet one value a
// label, the rectangle moved by the label steps. A code of 0 is found by
// the field text in choice list 101. A client prints no fields: the
// server that runs its print has the values.
void PrintFormField(int16_t doctype, const uint8_t *fieldText, int16_t code, const PackedDecimal rect[4],
                    const uint8_t *font, int16_t pitch, int16_t align)
{
    if (RunModeIsClient()) return;
    PString lookup = {0};
    if (code != 0) PStringFromC(lookup, " X ");
    else {
        PStringFromC(lookup, " ");
        uint16_t value = 0;
        int index = 0;
        ChoiceValueOf(FieldNamesList, fieldText, &value, &index);   // no match keeps the typed number
        code = int16_t(value);
    }
    PStringAppend(lookup, fieldText);
    int16_t first = 0, last = 0;
    DocFieldRowRange(doctype, code, &first, &last);
    int16_t columns = 0, rows = 0;
    PString value;
    if (!LabelGrid(doctype, &columns, &rows)) {
        for (int16_t r = first; r <= last; r++) {
            value[0] = 0;
            DocFieldValue(doctype, lookup, code, r, value, FormDefBuffer);
            if (value[0] != 0) FormTextOut(value, rect, font, r - first, pitch, align);
        }
        return;
    }
    PackedDecimal stepX, stepY;
    int16_t r = first;
    for (int16_t y = 0; y < rows; y++) {
        DecFromLong(&stepY, int32_t(y) * FormLabelStepY);
        for (int16_t x = 0; x < columns; x++, r++) {
            value[0] = 0;
            DocFieldValue(doctype, lookup, code, r, value, FormDefBuffer);
            DecFromLong(&stepX, int32_t(x) * FormLabelStepX);
            PackedDecimal moved[4];
            DecAdd(&rect[0], &stepY, &moved[0]);
            DecAdd(&rect[1], &stepX, &moved[1]);
            DecAdd(&rect[2], &stepY, &moved[2]);
            DecAdd(&rect[3], &stepX, &moved[3]);
            FormTextOut(value, moved, font, 0, pitch, align);
        }
    }
}

// Fills out with the font record named name (a PString): the exact one,
// else the first in name order, else the built-in defaults, so a form
// always prints in some face.
void FontRecordLoad(uint8_t *out, const uint8_t *name)
{
    assert(out && name);
    uint32_t recid = 0, position = 0;
    std::memset(out, 0, FontVc::Size);
    if (name[0] > 0 && name[0] <= FontKeyLength && FieldFromText(out + FontVc::Name, FontKeyType, FontKeyLength, name) &&
        RecFind(FontVc::Number, out, 1, 1, &recid, &position))
        return;
    std::memset(out, 0, FontVc::Size);
    if (RecFind(FontVc::Number, out, 1, 0, &recid, &position)) return;
    DefaultFont(out);
}
