// preview_store.cpp - the preview window's item store: texts, rules and
// form elements appended while a job runs.
//
// The store is a MemBlock held by the window's record (PreviewWin::Store)
// with its used length (PreviewWin::StoreUsed); the block grows in steps
// of PreviewGrowStep, so an item's offset never changes once stored. An
// item (offsets in PreviewItemAt, unaligned, host order):
//
//   size u16        bytes of the item: 25 + the text's length byte and
//                   characters rounded up to an even count
//   layoutPos i32   vertical position after layout (pos until laid out)
//   x u16           report position (a rule's start; a form element's left)
//   font u16        font number, -1 default (a rule's end; a form element's right)
//   kind u16        PreviewKind
//   link u16        drill-down code (a rule's thickness; a form element's alignment)
//   align u8        0 left at x, else ending at x
//   style u16       non-zero underlines (a form element's thickness or mode)
//   measured u16    text width in window pixels, 65535 until measured
//   lineHeight u16  the job's line height (a form element's height)
//   pos i32         linePos when stored; header items linePos - 500; form
//                   elements page x (FormPageHeight + FormPageGap) + top
//   text            a PString, padded to an even size
#include <cassert>

#include "core/field_access.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "output/devices/device_table.h"
#include "output/output_windows.h"

uint32_t PreviewStoreLimit = 256u << 20;

namespace {


// The record of preview window n and its byte size; null when n is no
// open preview (or no window layer is installed).
uint8_t *PreviewRecord(int n, uint32_t *size) { return OutWindowRecord(n, WinTypes::Preview, size); }

uint8_t *PreviewRecordOf(int n)
{
    uint32_t size = 0;
    return PreviewRecord(n, &size);
}

// Stops the job because the store or index cannot grow: told, stopped.
bool StoreFull()
{
    ShowTextMessage(Texts::OutputFull);
    RepStopped = 1;
    return false;
}

// Appends one item to window n's store; false (told, stopped) when the
// store cannot grow, nothing stored then.
bool Append(int n, int32_t pos, int x, int font, int kind, int link, int align, int style, int lineHeight,
            const uint8_t *text)
{
    assert(text);
    if (!PreviewIsOpen(n)) {
        RepStopped = 1;   // the window went while its job ran
        return false;
    }
    uint8_t *rec = PreviewRecordOf(n);
    uint32_t size = PreviewItemAt::Text + ((text[0] + 1u + 1u) & ~1u);
    MemBlock h = GetU32(rec, PreviewWin::Store);
    uint32_t used = uint32_t(GetI32(rec, PreviewWin::StoreUsed));
    bool room = PreviewReserve(&h, used, size);
    PutU32(rec, PreviewWin::Store, h);
    if (!room) return StoreFull();
    uint8_t *p = MemLock(h);
    if (!p) return StoreFull();
    uint8_t *item = p + used;
    ClearBytes(item, int(size));
    PutU16(item, PreviewItemAt::Size, uint16_t(size));
    PutI32(item, PreviewItemAt::LayoutPos, pos);
    PutU16(item, PreviewItemAt::X, uint16_t(x));
    PutU16(item, PreviewItemAt::Font, uint16_t(font));
    PutU16(item, PreviewItemAt::Kind, uint16_t(kind));
    PutU16(item, PreviewItemAt::Link, uint16_t(link));
    item[PreviewItemAt::Align] = uint8_t(align != 0);
    PutU16(item, PreviewItemAt::Style, uint16_t(style));
    PutU16(item, PreviewItemAt::Measured, 65535);
    PutU16(item, PreviewItemAt::LineHeight, uint16_t(lineHeight));
    PutI32(item, PreviewItemAt::Pos, pos);
    PStringCopy(item + PreviewItemAt::Text, text);
    MemUnlock(h);
    PutI32(rec, PreviewWin::StoreUsed, int32_t(used + size));
    return true;
}

}  // namespace

// Window n is an open window of type 5 whose record holds the preview's fields.
bool PreviewIsOpen(int n)
{
    uint32_t size = 0;
    return PreviewRecord(n, &size) && size >= PreviewWin::Size;
}

// Makes room for size bytes after used: the block grows by whole steps
// of PreviewGrowStep, never beyond PreviewStoreLimit.
bool PreviewReserve(MemBlock *h, uint32_t used, uint32_t size)
{
    uint32_t have = *h ? MemSize(*h) : 0;
    assert(used <= have);
    if (uint64_t(used) + size <= have) return true;
    uint64_t want = have;
    while (want < uint64_t(used) + size) want += PreviewGrowStep;
    if (want > PreviewStoreLimit) return false;
    if (!*h) {
        *h = MemAlloc(uint32_t(want));
        return *h != 0;
    }
    return MemRealloc(h, uint32_t(want));
}

// Appends a text (kind 0) or rule (kind 1) item at report position pos
// with the job's line height. An empty text is not stored (true).
bool PreviewAddItem(int n, int32_t pos, int x, int font, int kind, int link, int align, int style,
                    const uint8_t *text)
{
    static const uint8_t none[1] = {0};
    if (!text) text = none;
    assert(kind == ItemText || kind == ItemRule);
    if (kind == ItemText && text[0] == 0) return true;
    int32_t lh = RepOutputState.lineHeight;
    if (lh < 0) lh = 0;
    if (lh > 65535) lh = 65535;
    return Append(n, pos, x, font, kind, link, align, style, int(lh), text);
}

// Appends a form element of page item.page (from 0) so that every paint
// can draw the form again from the store; the window's form page count
// grows to hold it. A text's align is -1 right, 0 left, 1 centred; a
// box's align is its fill mode (0 none, 1..4 as FillRectMode) and its
// thickness the frame's; a line's thickness is its width. False for an
// element of no such kind (nothing stored) or a store that cannot grow.
bool PreviewAddFormItem(int n, const PreviewFormItem &item, const uint8_t *text)
{
    static const uint8_t none[1] = {0};
    if (item.kind < ItemFormText || item.kind > ItemFormLine || item.page < 0) return false;
    if (item.kind != ItemFormText || !text) text = none;
    int32_t pos = int32_t(item.page) * (FormPageHeight + FormPageGap) + item.top;
    int32_t height = item.bottom - item.top;
    if (height < 0) height = 0;
    if (height > 65535) height = 65535;
    if (!Append(n, pos, item.left, item.right, item.kind, item.align, 0, item.thickness, int(height), text))
        return false;
    uint8_t *rec = PreviewRecordOf(n);
    if (GetI16(rec, PreviewWin::FormPages) < item.page + 1) PutI16(rec, PreviewWin::FormPages, int16_t(item.page + 1));
    return true;
}
