// designer_items.cpp - changing the items of a form in the designer:
// adding, moving, resizing, deleting and sending to the back.
//
// Every change first makes sure the designer's record is being edited
// and then marks the window changed, so that closing it asks whether the
// form is stored.
#include <algorithm>
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "core/window_kind.h"
#include "dict_offsets.h"
#include "output/layer_operations.h"
#include "outputwin/designer.h"
#include "rules/row_writes.h"
#include "shell/draw_port.h"
#include "shell/field_editing.h"
#include "shell/record_commands.h"
#include "shell/window_table.h"

namespace {

constexpr int MinItemSize = 10;   // a click without a drag makes an item about 10 x 10
constexpr int MarkBefore = 2, MarkAfter = 3;
constexpr int KeyLeft = 37, KeyUp = 38, KeyRight = 39, KeyDown = 40;

int Units(const uint8_t *item, AmountField at)
{
    PackedDecimal d = GetDec(item, at);
    return DecIsBlank(&d) ? 0 : int(DecToLong(&d));
}

void PutUnits(uint8_t *item, AmountField at, int v)
{
    PackedDecimal d;
    DecFromLong(&d, v);
    PutDec(item, at, d);
}

// The screen rectangle r grown to cover its grab marks.
MacRect Grown(const MacRect &r)
{
    return MacRect{int16_t(r.top - MarkBefore), int16_t(r.left - MarkBefore), int16_t(r.bottom + MarkAfter),
                   int16_t(r.right + MarkAfter)};
}

void AddToArea(MacRect *area, bool *any, const MacRect &r)
{
    if (*any) UnionMacRect(area, &r, area);
    else *area = r;
    *any = true;
}

// Rewrites every selected item of w with `change` and redraws what it
// covered before and after.
template <typename Change> void ChangeSelection(int w, Change change)
{
    if (DesignerSelectedCount(w) == 0 || !DesignerEditing(w)) return;
    uint8_t *def = WinRecordBuffer(w);
    MacRect area{};
    bool any = false;
    uint8_t item[DocVc::Rows::Size];
    RowsKept before;
    for (int i = 0, count = DesignerSelectedCount(w); i < count; i++) {
        int n = DesignerSelectedAt(w, i);
        MacRect r;
        if (!DesignerItemRect(w, n, &r) || !MatrixRowGet(DocVc::Number, 0, def, n, item) ||
            !RowsKeep(&before, DocVc::Number, def, n))
            continue;
        AddToArea(&area, &any, Grown(r));
        change(item);
        if (!MatrixRowPut(DocVc::Number, 0, def, n, item)) {
            // The items already changed go back: the selection moves as one.
            RowsPutBack(before, def);
            TellRowsNotWritten();
            return;
        }
        if (DesignerItemRect(w, n, &r)) AddToArea(&area, &any, Grown(r));
    }
    if (!any) return;
    DesignerRedrawArea(w, &area);
    WinMarkChanged(w);
}

// Erases w's content rectangle; the main loop's repaint draws it again.
void EraseContent(int w)
{
    DesignerContentRect(w);
    PortScope port(w);
    EraseRectWhite(&WinTable[w]->contentRect);
}

// Empties w's selection without drawing (the content is redrawn whole).
void SelectionDrop(int w) { MemFree(&WinTable[w]->designerSelection); }

}  // namespace

// Makes sure w's record is being edited: a window in state 0 starts
// editing (which may refuse, or start a new record).
bool DesignerEditing(int w)
{
    if (!WinIsOpen(w) || WinKindOf(w) != KindCode(WindowKind::Designer) || !WinRecordBuffer(w)) return false;
    if (WinRecState(w) == 0) WinBeginEdit(w);
    return WinIsOpen(w) && WinRecState(w) != 0 && WinRecordBuffer(w);
}

int DesignerOriginY(int w)
{
    DesignerContentRect(w);
    return WinTable[w]->paneScroll - WinTable[w]->contentRect.top;
}

int DesignerItemCount(int w)
{
    if (!WinIsOpen(w) || !WinRecordBuffer(w)) return 0;
    return std::max(0, int(MatrixRowCount(DocVc::Number, 0, WinRecordBuffer(w))));
}

bool DesignerItemRect(int w, int n, MacRect *out)
{
    assert(out);
    if (n < 0 || n >= DesignerItemCount(w)) return false;
    uint8_t item[DocVc::Rows::Size];
    if (!MatrixRowGet(DocVc::Number, 0, WinRecordBuffer(w), n, item)) return false;
    int oy = DesignerOriginY(w);
    auto clamp = [](int v) { return int16_t(std::clamp(v, -32000, 32000)); };
    out->top = clamp(Units(item, DocVc::Rows::Top) - oy);
    out->left = clamp(Units(item, DocVc::Rows::Left));
    out->bottom = clamp(Units(item, DocVc::Rows::Bottom) - oy);
    out->right = clamp(Units(item, DocVc::Rows::Right));
    return true;
}

void DesignerNormaliseLine(uint8_t *item)
{
    if (GetU16(item, DocVc::Rows::Kind) != FormItemLine) return;
    PackedDecimal left = GetDec(item, DocVc::Rows::Left), right = GetDec(item, DocVc::Rows::Right);
    PackedDecimal top = GetDec(item, DocVc::Rows::Top), bottom = GetDec(item, DocVc::Rows::Bottom);
    PackedDecimal width, height;
    DecSub(&right, &left, &width);
    DecSub(&bottom, &top, &height);
    if (DecCompare(&width, &height) <= 0) PutDec(item, DocVc::Rows::Right, left);
    else PutDec(item, DocVc::Rows::Bottom, top);
}

bool DesignerAddItem(int w, const MacRect *r, int kind)
{
    assert(r);
    if (DesignerWindowOpen() || kind < FormItemText || kind > FormItemPicture) return false;
    if (!DesignerEditing(w)) return false;
    uint8_t item[DocVc::Rows::Size] = {};
    int oy = DesignerOriginY(w);
    int left = r->left, top = r->top + oy, right = r->right, bottom = r->bottom + oy;
    if (kind != FormItemLine) {
        if (right - left < MinItemSize) right += MinItemSize;
        if (bottom - top < MinItemSize) bottom += MinItemSize;
    }
    PutU16(item, DocVc::Rows::Kind, uint16_t(kind));
    PutUnits(item, DocVc::Rows::Left, left);
    PutUnits(item, DocVc::Rows::Top, top);
    PutUnits(item, DocVc::Rows::Right, right);
    PutUnits(item, DocVc::Rows::Bottom, bottom);
    PutU16(item, DocVc::Rows::Word180, 0);
    DesignerNormaliseLine(item);
    if (!MatrixRowInsert(DocVc::Number, WinRecordBuffer(w), 0, item)) return false;
    // The rows moved down by one: so does every selected row number.
    SelectionDrop(w);
    EraseContent(w);
    WinMarkChanged(w);
    DesignerSelectItem(w, 0, false);
    DesignerOpenPart(w);
    return true;
}

void DesignerMoveSelection(int w, int dx, int dy)
{
    if (dx == 0 && dy == 0) return;
    ChangeSelection(w, [dx, dy](uint8_t *item) {
        PutUnits(item, DocVc::Rows::Left, Units(item, DocVc::Rows::Left) + dx);
        PutUnits(item, DocVc::Rows::Right, Units(item, DocVc::Rows::Right) + dx);
        PutUnits(item, DocVc::Rows::Top, Units(item, DocVc::Rows::Top) + dy);
        PutUnits(item, DocVc::Rows::Bottom, Units(item, DocVc::Rows::Bottom) + dy);
    });
}

bool DesignerArrowKey(int w, int key)
{
    switch (key) {
    case KeyLeft: DesignerMoveSelection(w, -1, 0); return true;
    case KeyUp: DesignerMoveSelection(w, 0, -1); return true;
    case KeyRight: DesignerMoveSelection(w, 1, 0); return true;
    case KeyDown: DesignerMoveSelection(w, 0, 1); return true;
    default: return false;
    }
}

void DesignerSetSelectionRect(int w, const MacRect *r)
{
    assert(r);
    if (!WinIsOpen(w)) return;
    int oy = DesignerOriginY(w);
    MacRect to = *r;
    ChangeSelection(w, [&to, oy](uint8_t *item) {
        PutUnits(item, DocVc::Rows::Left, to.left);
        PutUnits(item, DocVc::Rows::Right, to.right);
        PutUnits(item, DocVc::Rows::Top, to.top + oy);
        PutUnits(item, DocVc::Rows::Bottom, to.bottom + oy);
    });
}

void DesignerDeleteSelection(int w)
{
    if (DesignerWindowOpen() || DesignerSelectedCount(w) == 0 || !DesignerEditing(w)) return;
    uint8_t *def = WinRecordBuffer(w);
    bool removed = false;
    for (int n = DesignerItemCount(w) - 1; n >= 0; n--)
        if (DesignerItemSelected(w, uint16_t(n)) && MatrixRowDelete(DocVc::Number, def, n)) removed = true;
    SelectionDrop(w);
    if (!removed) return;
    EraseContent(w);
    WinMarkChanged(w);
}

void DesignerSendToBack(int w)
{
    if (DesignerWindowOpen() || DesignerSelectedCount(w) == 0) return;
    int n = DesignerSelectedAt(w, 0);
    if (n < 0 || n >= DesignerItemCount(w) || !DesignerEditing(w)) return;
    uint8_t *def = WinRecordBuffer(w);
    if (!MatrixRowMoveTold(DocVc::Number, def, n, DesignerItemCount(w) - 1)) return;
    SelectionDrop(w);
    EraseContent(w);
    WinMarkChanged(w);
}
