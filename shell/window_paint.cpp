// window_paint.cpp - the two paint passes of a record window. The frame
// pass draws what the window's layout alone decides: the background,
// controls, the page strip, texts, headings, labels, boxes, icon buttons,
// field frames and the matrix frame. The contents pass draws what the
// record decides: field values, matrix rows and control states, and
// brings the scroll bars up to date. Both run inside the paint message
// and from the main loop for every window marked changed.
#include <algorithm>
#include <cassert>
#include <cstring>

#include "core/field_types.h"
#include "core/list_slot.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "core/window_kind.h"
#include "core/work_blocks.h"
#include "output/devices/report_output.h"
#include "outputwin/designer.h"
#include "recordwin/record_windows.h"
#include "shell/draw_port.h"
#include "shell/field_editing.h"
#include "shell/list_windows.h"
#include "shell/login.h"
#include "shell/net_services.h"
#include "shell/shell.h"
#include "shell/window_drawing.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

// Icon-button entries from this index on are module buttons (types 1 and 13).
constexpr int ModuleButtonFirst = 5;
// The width of the gap that marks the current page in the page strip.
constexpr int PageGap = 30;

// The band of rows y1..y2 (y2 exclusive) across n's client area, light grey.
void GreyBand(const MacRect *client, int y1, int y2)
{
    MacRect r;
    MakeRect(&r, client->left, y1, client->right, y2);
    FillRectMode(&r, FillFace);
}

// The main window's light-grey bands: the top bar, the module-button strip
// (not in the compact variant) and the bottom line.
void PaintMainBands(const MacRect *client)
{
    GreyBand(client, client->top + 1, client->top + 30);
    if (!CompactVariant) GreyBand(client, client->bottom - 67, client->bottom - 22);
    GreyBand(client, client->bottom - 19, client->bottom);
}

// The page strip: a white line under page 0 broken by a gap that marks the
// current page, and an etched separator under each shown page other than
// the lowest.
void PaintPageStrip(int n)
{
    int pages = WinDefCount(n, WinPartPages);
    if (pages <= 0) return;
    MacRect head;
    WinPageRect(n, 0, &head);
    int last = pages - 1, current = WinTable[n]->currentPage;
    int gapFrom = head.right - 16 - PageGap * (last - current + 1);
    int y = head.bottom - 1;
    FillHLine(head.left + 3, std::min(head.right - 3, gapFrom - 1), y, FillWhite);
    FillHLine(std::max(head.left + 3, gapFrom + PageGap), head.right - 3, y, FillWhite);
    int lowest = -1, lowestBottom = -32768;
    for (int p = 1; p < pages; p++) {
        if (!WinPageShown(n, p)) continue;
        MacRect r;
        WinPageRect(n, p, &r);
        if (r.bottom > lowestBottom) lowest = p, lowestBottom = r.bottom;
    }
    for (int p = 1; p < pages; p++) {
        if (p == lowest || !WinPageShown(n, p)) continue;
        MacRect r;
        WinPageRect(n, p, &r);
        FillHLine(r.left + 7, r.right - 16, r.bottom - 1, FillDark);
        FillHLine(r.left + 7, r.right - 16, r.bottom, FillWhite);
    }
}

// The static texts of n's shown pages at their resolved place; a
// right-aligned text ends at its x.
void PaintTexts(int n)
{
    for (int i = 0; uint8_t *e = WinDefEntry(n, WinPartStaticTexts, i); i++) {
        int page = DefU16(e + TextEntry::Page);
        if (!WinPageShown(n, page)) continue;
        MacRect area;
        WinPageRect(n, page, &area);
        const uint8_t *text = e + TextEntry::Label;
        int x = RectXResolve(&area, int16_t(DefU16(e + TextEntry::X)));
        int y = RectYResolve(&area, int16_t(DefU16(e + TextEntry::Y)));
        if (DefU16(e + TextEntry::Align) == 1) x -= PStringWidth(text);
        DrawPString(x, y, text);
    }
}

// The labels of n's data fields on shown pages, each ending 6 pixels left
// of its field, 4 pixels above the field's bottom.
void PaintLabels(int n)
{
    for (int i = 0; uint8_t *e = WinDefEntry(n, WinPartDataFields, i); i++) {
        if (!WinPageShown(n, DefU16(e + FieldEntry::Page))) continue;
        const uint8_t *label = e + FieldEntry::Label;
        if (!label[0]) continue;
        MacRect r;
        WinBindingRect(n, e, &r);
        DrawPString(r.left - 6 - PStringWidth(label), r.bottom - 4, label);
    }
}

// The boxes of n's shown pages, resolved on their page.
void PaintBoxes(int n)
{
    for (int i = 0; uint8_t *e = WinDefEntry(n, WinPartBoxes, i); i++) {
        int page = DefU16(e + BoxEntry::Page);
        if (!WinPageShown(n, page)) continue;
        MacRect area, r;
        WinPageRect(n, page, &area);
        const uint8_t *s = e + BoxEntry::Rect;
        MacRect stored{int16_t(DefU16(s)), int16_t(DefU16(s + 2)), int16_t(DefU16(s + 4)), int16_t(DefU16(s + 6))};
        RectResolveBy(ResolveRule::Plain, &stored, &area, &r);
        DrawBox3D(&r, e + BoxEntry::Label);
    }
}

// The icon buttons of n at their resolved centres with their labels
// below; the main window's module buttons are left to
// WinDrawModuleButtons.
void PaintIcons(int n, const MacRect *client)
{
    int type = WinTypeOf(n);
    bool modules = type == 1 || (type == 13 && CompactVariant);
    UseSemiboldFont(n);
    for (int i = 0; uint8_t *e = WinDefEntry(n, WinPartIconButtons, i); i++) {
        if (modules && i >= ModuleButtonFirst) break;
        int x = RectXResolve(client, int16_t(DefU16(e + IconEntry::X)));
        int y = RectYResolve(client, int16_t(DefU16(e + IconEntry::Y)));
        DrawIconLabel(DefU16(e + IconEntry::Icon), x, y, e + IconEntry::Label);
    }
}

// The matrix's frame and grid when its page is shown; the slot's shown
// rows follow the area.
void PaintMatrixFrame(int n)
{
    const uint8_t *e = WinDefEntry(n, WinPartMatrixAreas, 0);
    int slot = MatrixSlotOf(n);
    if (!e || slot < 0 || !WinPageShown(n, DefU16(e + MatrixEntry::Page))) return;
    MacRect area;
    MatrixColumnRect(n, 0, &area);
    WinTable[n]->controls[slot].rowsShown = int16_t((area.bottom - area.top - 2) / MatrixRowHeight + 1);
    FrameSunken3D(&area);
    MatrixDrawGrid(n);
}

// What only some window types draw in the frame pass: the server status
// window its status. (The About window's logo is drawn with its controls.)
void PaintTypeSpecial(int n)
{
    if (WinTypeOf(n) == 423 && NetServices.serverStatusPaint) NetServices.serverStatusPaint(n);
}

// Draws the value of data field e (screen field F) of n: its record bytes
// when they lie inside the record, a label's text, the text the window
// supplies for a looked-up field; list windows show every field empty.
void PaintFieldValue(int n, const uint8_t *e, int F)
{
    int type = DefU16(e + FieldEntry::Type), format = DefU16(e + FieldEntry::Format);
    bool right = e[FieldEntry::Align] == 1;
    MacRect r;
    WinBindingRect(n, e, &r);
    PString text;
    text[0] = 0;
    int kind = WinKindOf(n);
    const uint8_t *record = WinRecordBuffer(n);
    uint32_t at = DefU32(e + FieldEntry::Offset);
    int width = FieldSize(uint16_t(type), format);
    if (kind != 1 && kind != 2) {
        if (type == FtSpare12) {
            GetUiText(text, format);
        } else if (type == FtSpare28) {
            WinFieldDisplayText(n, F, text);
        } else if (record && width > 0 && uint64_t(at) + uint64_t(width) <= MemSize(WinTable[n]->recordHandle)) {
            WinDrawFieldValue(n, record + at, type, format, F, &r, right, false, false);
            return;
        }
    }
    WinDrawFieldValue(n, text, FtText, 255, F, &r, right, false, false);
}

}  // namespace

// The frame pass of n: the background in the window's colour, the
// controls with their labels, the page strip, static texts, matrix
// headings, field labels, boxes, icon buttons, field frames, the matrix
// frame, the list header and what the window type draws itself; then n
// is marked for the contents pass.
void WinPaintFrame(int n)
{
    if (!WinIsOpen(n)) return;
    MacRect client;
    WindowClientRect(n, &client);
    PortScope port(n);
    FillRectMode(&client, LightGreyLook && WinTypeOf(n) != 5 ? FillFace : FillWhite);
    if (WinTypeOf(n) == 1) PaintMainBands(&client);
    WinDrawControls(n, true);
    UseRegularFontTransparent(n);
    PaintPageStrip(n);
    PaintTexts(n);
    MatrixHeaderDraw(n);
    UseRegularFontTransparent(n);
    PaintLabels(n);
    PaintBoxes(n);
    PaintIcons(n, &client);
    WinDrawFieldFrames(n);
    PaintMatrixFrame(n);
    if (WinDefCount(n, WinPartFieldList) > 0) ListHeaderDraw(n);
    PaintTypeSpecial(n);
    WinMarkChanged(n);
}

// The contents pass of n: clears its changed mark, draws the values of
// the data fields on shown pages, the shown matrix rows (the selected one
// highlighted), the controls' states, a list's rows and the module
// buttons of the compact module list, and brings the scroll bars up to
// date.
void WinPaintContents(int n)
{
    if (!WinIsOpen(n)) return;
    WinTable[n]->changed = 0;
    PortScope port(n);
    UseSemiboldFont(n);
    for (int i = 0; uint8_t *e = WinDefEntry(n, WinPartDataFields, i); i++)
        if (WinPageShown(n, DefU16(e + FieldEntry::Page))) PaintFieldValue(n, e, i + 1);

    const uint8_t *m = WinDefEntry(n, WinPartMatrixAreas, 0);
    int slot = MatrixSlotOf(n);
    if (m && slot >= 0 && WinPageShown(n, DefU16(m + MatrixEntry::Page))) {
        ControlSlot &s = WinTable[n]->controls[slot];
        MacRect area;
        MatrixColumnRect(n, 0, &area);
        s.maximum = MatrixMaxRows(n) - 1;
        s.rowsShown = int16_t((area.bottom - area.top - 4) / MatrixRowHeight + 1);
        for (int i = 0; i < s.rowsShown; i++) {
            int row = i + s.position + 1;
            MatrixDrawRow(n, row, i, s.selectedRow == row - 1);
        }
    }
    WinDrawControls(n, false);
    if (WinIsList(n)) ListRefresh(n);
    if (WinKindOf(n) == KindCode(WindowKind::Preview)) PreviewPaint(n);
    if (WinKindOf(n) == KindCode(WindowKind::Designer)) DesignerPaint(n);
    if (WinTypeOf(n) == 13 && CompactVariant) WinDrawModuleButtons(n, false);
    WinScrollBarsUpdate(n);
}

// Draws n's module buttons: for each module-table window of the current
// module that the user may use, the next icon-button entry from index 5
// on with the window's second text as its label, until the entries run
// out. With `clear` their strip is filled light grey first.
void WinDrawModuleButtons(int n, bool clear)
{
    if (!WinIsOpen(n)) return;
    MacRect client;
    WindowClientRect(n, &client);
    PortScope port(n);
    if (clear) {
        MacRect strip;
        MakeRect(&strip, 280, client.bottom - 67, client.right, client.bottom - 22);
        FillRectMode(&strip, FillFace);
    }
    UseSemiboldFont(n);
    int next = ModuleButtonFirst;
    for (int k = 1; const uint8_t *m = PermittedModuleEntry(k); k++) {
        uint8_t *e = WinDefEntry(n, WinPartIconButtons, next++);
        if (!e) break;
        PString label;
        GetUiText(label, DefU16(m + ModuleWindowsEntry::Label));
        int x = RectXResolve(&client, int16_t(DefU16(e + IconEntry::X)));
        int y = RectYResolve(&client, int16_t(DefU16(e + IconEntry::Y)));
        DrawIconLabel(DefU16(e + IconEntry::Icon), x, y, label);
    }
}
