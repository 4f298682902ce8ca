// designer_paint.cpp - drawing a form's items in the designer's content
// area, one form unit a pixel: texts in their fonts, lines and boxes in
// their thickness, data fields as labelled boxes, pictures as boxes with
// their diagonals, and the grab marks of the selected items.
#include <algorithm>
#include <cassert>

#include "core/choice_lists.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "dict_offsets.h"
#include "output/forms/forms.h"
#include "output/layer_operations.h"
#include "output/printer.h"
#include "outputwin/designer.h"
#include "shell/draw_port.h"
#include "shell/window_table.h"

namespace {

constexpr int FieldCodeList = 102;      // the data fields' labels by code
constexpr int FontNameLength = 20, ItemTextLength = 100;
constexpr int MaxThickness = 10;
constexpr int MarkBefore = 2, MarkAfter = 3;

// The screen rectangle as the four amounts the text drawing takes.
void AsAmounts(const MacRect &r, PackedDecimal c[4])
{
    DecFromLong(&c[0], r.top);
    DecFromLong(&c[1], r.left);
    DecFromLong(&c[2], r.bottom);
    DecFromLong(&c[3], r.right);
}

// A box of the thickness: its right and bottom edges one pixel out, as
// the form operations frame.
void Box(const MacRect &r, int thickness)
{
    PackedDecimal c[4], width;
    AsAmounts(r, c);
    DecFromLong(&width, thickness);
    DecRectFrame(c, &width, 0, 0);
}

// A line of the thickness: vertical when it is not wider than high.
void Line(const MacRect &r, int thickness)
{
    MacRect band;
    if (r.right - r.left <= r.bottom - r.top) MakeRect(&band, r.left, r.top, r.left + thickness, r.bottom + 1);
    else MakeRect(&band, r.left, r.top, r.right + 1, r.top + thickness);
    FillRectMode(&band, FillBlack);
}

// A picture's box with its two diagonals.
void Picture(const MacRect &r)
{
    Box(r, 1);
    DrawContext *dc = PortState.dc;
    if (!dc) return;
    PlPen old = DcSetPen(dc, kPlPenBlack);
    DcMoveTo(dc, r.left, r.top);
    DcLineTo(dc, r.right, r.bottom);
    DcMoveTo(dc, r.right, r.top);
    DcLineTo(dc, r.left, r.bottom);
    DcSetPen(dc, old);
}

// A data field's label: its own text when its code is 0, else the code's
// text in list 102 (its own text when the list has no such code).
void FieldLabel(const uint8_t *item, uint8_t *out)
{
    int16_t code = GetI16(item, DocVc::Rows::FieldCode);
    GetText(item, DocVc::Rows::Text, out);
    if (code == 0) return;
    PString text;
    int index = 0;
    if (ChoiceTextOf(FieldCodeList, uint16_t(code), &index, text) && text[0]) PStringCopy(out, text);
}

}  // namespace

int DesignerThickness(const uint8_t *item)
{
    PString text;
    GetText(item, DocVc::Rows::Font, text);
    PackedDecimal value;
    if (!TextToDecChecked(text, &value) || DecIsBlank(&value)) return 1;
    int32_t t = DecToLong(&value);
    return t < 1 || t > MaxThickness ? 1 : int(t);
}

void DesignerInvertMarks(const MacRect *r)
{
    assert(r);
    int xs[3] = {r->left, (r->left + r->right) / 2, r->right};
    int ys[3] = {r->top, (r->top + r->bottom) / 2, r->bottom};
    for (int i = 0; i < 3; i++)
        for (int j = 0; j < 3; j++) {
            if (i == 1 && j == 1) continue;   // the centre has none
            MacRect m;
            MakeRect(&m, xs[i] - MarkBefore, ys[j] - MarkBefore, xs[i] + MarkAfter, ys[j] + MarkAfter);
            InvertRectPort(&m);
        }
}

void DesignerDrawItems(int w, const uint8_t *formDef, const MacRect *clip)
{
    if (!WinIsOpen(w) || !formDef || !clip) return;
    int oy = DesignerOriginY(w);
    int token = ClipToRect(w, clip);
    uint8_t font[FontVc::Size] = {};
    PString fontName = {0};
    bool fontLoaded = false;
    uint8_t item[DocVc::Rows::Size];
    for (int32_t n = MatrixRowCount(DocVc::Number, 0, formDef) - 1; n >= 0; n--) {
        if (!MatrixRowGet(DocVc::Number, 0, formDef, n, item)) continue;
        auto units = [&item](size_t at) {
            PackedDecimal d = GetDec(item, at);
            return DecIsBlank(&d) ? 0 : std::clamp(int(DecToLong(&d)), -32000, 32000);
        };
        MacRect r;
        MakeRect(&r, units(DocVc::Rows::Left), std::clamp(units(DocVc::Rows::Top) - oy, -32000, 32000),
                 units(DocVc::Rows::Right), std::clamp(units(DocVc::Rows::Bottom) - oy, -32000, 32000));
        MacRect grown;
        MakeRect(&grown, r.left - MarkBefore, r.top - MarkBefore, r.right + MarkAfter, r.bottom + MarkAfter);
        if (!IntersectMacRect(&grown, clip)) continue;
        uint16_t kind = GetU16(item, DocVc::Rows::Kind);
        if (kind == FormItemText || kind == FormItemField) {
            PString name;
            GetText(item, DocVc::Rows::Font, name);
            if (!fontLoaded || !PStringEqual(name, fontName)) {
                FontRecordLoad(font, name);
                PStringCopy(fontName, name);
                fontLoaded = true;
            }
        }
        PString text;
        PackedDecimal c[4];
        AsAmounts(r, c);
        int16_t align = GetI16(item, DocVc::Rows::Alignment);
        switch (kind) {
        case FormItemText:
            GetText(item, DocVc::Rows::Text, text);
            PrinterTextInColumn(text, c, font, align);
            break;
        case FormItemLine: Line(r, DesignerThickness(item)); break;
        case FormItemBox: Box(r, DesignerThickness(item)); break;
        case FormItemField:
            Box(r, 1);
            FieldLabel(item, text);
            PrinterTextInColumn(text, c, font, align);
            break;
        case FormItemPicture: Picture(r); break;
        default: break;   // an empty row, or a kind this program does not know
        }
        if (DesignerItemSelected(w, uint16_t(n))) DesignerInvertMarks(&r);
    }
    RestoreClip(w, token);
}

void DesignerPaint(int w)
{
    if (!WinIsOpen(w)) return;
    PortScope port(w);
    DesignerContentRect(w);
    const MacRect content = WinTable[w]->contentRect;
    EraseRectWhite(&content);
    MacRect top;
    MakeRect(&top, content.left, content.top, content.right, content.top + 1);
    FillRectMode(&top, FillBlack);
    if (WinRecordBuffer(w)) DesignerDrawItems(w, WinRecordBuffer(w), &content);
}

void DesignerRedrawArea(int w, const MacRect *area)
{
    if (!WinIsOpen(w) || !area) return;
    PortScope port(w);
    DesignerContentRect(w);
    const MacRect content = WinTable[w]->contentRect;
    if (!IntersectMacRect(area, &content)) return;
    MacRect clip{std::max(area->top, content.top), std::max(area->left, content.left),
                 std::min(area->bottom, content.bottom), std::min(area->right, content.right)};
    int token = ClipToRect(w, &clip);
    EraseRectWhite(&clip);
    RestoreClip(w, token);
    if (WinRecordBuffer(w)) DesignerDrawItems(w, WinRecordBuffer(w), &clip);
}
