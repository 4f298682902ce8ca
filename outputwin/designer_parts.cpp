// designer_parts.cpp - the designer's part windows: one window type for
// each item kind, editing a copy of the item, and three editing a copy of
// the form definition's own fields (bytes 4-485). OK writes the copy back
// when it changed; the part window closes either way.
//
// A part window remembers the designer, the record it showed and, for an
// item, the row it was opened for: the designer's selection may change
// while the part window is open, and its OK must still write to that row
// of that form, or to nothing.
#include <array>
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/memblock.h"
#include "core/record_buffer.h"
#include "core/window_kind.h"
#include "dict_offsets.h"
#include "output/layer_operations.h"
#include "outputwin/designer.h"
#include "shell/draw_port.h"
#include "shell/field_editing.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

constexpr uint32_t DefFirst = 4, DefEnd = DocVc::Size;   // the form's own fields: bytes 4..485
constexpr int NoRow = -1;

// The part windows by name: five item windows by kind (1..5), then the
// three form windows of buttons 1..3.
constexpr const char *PartNames[] = {"DocTextVClass",   "DocLineVClass", "DocFrameVClass", "DocFldVClass",
                                     "DocPictVClass",   "DocMainVClass", "DocPCVClass",    "DocCopiesVClass"};
constexpr int ItemParts = 5, PartCount = 8;

// What part window n was opened for: its type (to tell a reused slot),
// the designer window, the designer's record id and the item row (NoRow
// for a form window).
struct PartLink {
    uint16_t type;
    int designer;
    uint32_t recordId;
    int row;
};
std::array<PartLink, WinSlots> Links{};

// The index in PartNames of n's window type; -1 when n is no part window.
int PartIndex(int n)
{
    if (!WinIsOpen(n)) return -1;
    for (int i = 0; i < PartCount; i++)
        if (WinTypeByName(PartNames[i]) == WinTypeOf(n)) return i;
    return -1;
}

// Opens part window `index` for designer w with `size` bytes of `from`
// at offset `at` of its record, focused on its field 1; 0 when it
// cannot open or its record is too small for the copy.
int OpenPart(int w, int index, const uint8_t *from, uint32_t at, uint32_t size, int row)
{
    int type = WinTypeByName(PartNames[index]);
    if (type == 0) return 0;
    int n = OpenWindow(type, 0);
    if (n == 0) return 0;
    WindowRec *p = WinTable[n];
    p->opener = uint16_t(w);
    p->parentDesigner = uint16_t(w);
    WinPrepareAfterOpen(n);
    if (!WinIsOpen(n)) return 0;
    if (!WinRecordBuffer(n) || MemSize(p->recordHandle) < at + size) {
        WinClose(n);
        return 0;
    }
    std::memcpy(WinRecordBuffer(n) + at, from + at, size);
    Links[size_t(n)] = PartLink{uint16_t(type), w, WinTable[w]->recordId, row};
    WinTitleUpdate(n);
    WinRecordRefresh(n);
    (void)WinGotoField(n, 1, true);
    StateRefreshFlag = 1;
    return n;
}

// The designer part window n belongs to, when it still shows the record
// the part window was opened for; 0 otherwise.
int LinkedDesigner(int n)
{
    const PartLink &link = Links[size_t(n)];
    int w = link.designer;
    if (link.type != WinTypeOf(n) || !WinIsOpen(w) || WinKindOf(w) != KindCode(WindowKind::Designer) ||
        !WinRecordBuffer(w))
        return 0;
    if (WinTable[n]->parentDesigner != w || WinTable[w]->recordId != link.recordId) return 0;
    return w;
}

// Closes part window n and forgets what it was opened for.
void ClosePart(int n)
{
    Links[size_t(n)] = PartLink{};
    WinClose(n);
    StateRefreshFlag = 1;
}

}  // namespace

bool DesignerWindowOpen()
{
    for (const char *name : PartNames)
        if (WinFindByName(name)) return true;
    return false;
}

void DesignerOpenPart(int w)
{
    if (!WinIsOpen(w) || DesignerWindowOpen()) return;
    int n = DesignerSelectedAt(w, 0);
    if (n < 0 || n >= DesignerItemCount(w)) return;
    uint8_t item[DocVc::Rows::Size];
    if (!MatrixRowGet(DocVc::Number, 0, WinRecordBuffer(w), n, item)) return;
    int kind = GetU16(item, DocVc::Rows::Kind);
    if (kind < FormItemText || kind > FormItemPicture) return;
    (void)OpenPart(w, kind - 1, item, 0, DocVc::Rows::Size, n);
}

void DesignerButton(int w, int button)
{
    if (!WinIsOpen(w) || WinKindOf(w) != KindCode(WindowKind::Designer) || DesignerWindowOpen()) return;
    if (button >= 1 && button <= 3) {
        if (WinRecordBuffer(w)) (void)OpenPart(w, ItemParts + button - 1, WinRecordBuffer(w), DefFirst, DefEnd - DefFirst, NoRow);
    } else if (button == 4) {
        DesignerSendToBack(w);
    }
}

void DesignerItemOk(int part)
{
    if (!WinIsOpen(part)) return;
    WinCommitField(part);
    if (!WinIsOpen(part)) return;
    int w = LinkedDesigner(part);
    int row = Links[size_t(part)].row;
    const uint8_t *copy = WinRecordBuffer(part);
    uint8_t item[DocVc::Rows::Size];
    // Editing may read the form afresh (another user changed it): the row
    // is checked again after it.
    if (w && copy && MemSize(WinTable[part]->recordHandle) >= DocVc::Rows::Size && row >= 0 &&
        row < DesignerItemCount(w) && MatrixRowGet(DocVc::Number, 0, WinRecordBuffer(w), row, item) &&
        !BytesEqual(copy, item, DocVc::Rows::Size) && DesignerEditing(w) && row < DesignerItemCount(w)) {
        std::memcpy(item, copy, DocVc::Rows::Size);
        DesignerNormaliseLine(item);
        if (MatrixRowPut(DocVc::Number, 0, WinRecordBuffer(w), row, item)) {
            DesignerContentRect(w);
            PortScope port(w);
            EraseRectWhite(&WinTable[w]->contentRect);
            WinMarkChanged(w);
        }
    }
    ClosePart(part);
}

void DesignerPartOk(int part)
{
    if (!WinIsOpen(part)) return;
    WinCommitField(part);
    if (!WinIsOpen(part)) return;
    int w = LinkedDesigner(part);
    const uint8_t *copy = WinRecordBuffer(part);
    if (w && copy && Links[size_t(part)].row == NoRow && MemSize(WinTable[part]->recordHandle) >= DefEnd &&
        MemSize(WinTable[w]->recordHandle) >= DefEnd &&
        !BytesEqual(copy + DefFirst, WinRecordBuffer(w) + DefFirst, int(DefEnd - DefFirst)) && DesignerEditing(w)) {
        std::memcpy(WinRecordBuffer(w) + DefFirst, copy + DefFirst, DefEnd - DefFirst);
        WinTitleUpdate(w);
        WinMarkChanged(w);
    }
    ClosePart(part);
}

bool DesignerPartWindowOk(int n)
{
    int index = PartIndex(n);
    if (index < 0) return false;
    if (index < ItemParts) DesignerItemOk(n);
    else DesignerPartOk(n);
    return true;
}

