// edit_control.cpp - the one edit control of a record window over the
// field under edit.
//
// A window draws its fields itself; only the focused field gets a real
// EDIT control, placed over the field's rectangle. Opening it copies the
// field's binding entry into the window, and the words of that copy (type,
// access, length, offset, lookup kind, chooser, page) are what typing and
// committing read afterwards: the binding is their one source.
#include <cassert>
#include <cstring>

#include "core/field_types.h"
#include "core/pstring.h"
#include "dict_offsets.h"
#include "platform/control.h"
#include "platform/font.h"
#include "platform/queue.h"
#include "platform/window.h"
#include "shell/draw_port.h"
#include "shell/edit_control.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

// The last date put under edit.
DateRec LastDate{};

// Copies a binding into n's edited binding and takes the words the field
// editing reads from it.
static void EditBindingTake(int n, const uint8_t *binding, MemBlock record, int row)
{
    WindowRec *w = WinTable[n];
    memcpy(w->editedBinding.data(), binding, EditedBindingSize);
    w->editedRecord = record;
    w->editedRow = uint16_t(row);
    w->editFieldType = DefU16(binding + FieldEntry::Type);
    w->editFieldAccess = DefU16(binding + FieldEntry::Access);
    w->editFieldLength = DefU16(binding + FieldEntry::Format);
    memcpy(&w->editFieldOffset, binding + FieldEntry::Offset, 4);
    w->lookupKind = DefU16(binding + FieldEntry::Lookup);
    w->chooser = int16_t(DefU16(binding + FieldEntry::Chooser));
    w->editFieldPage = DefU16(binding + FieldEntry::Page);
}

// The field's bytes in a locked record block, or null when the field does
// not lie wholly inside the block.
static const uint8_t *EditFieldBytes(int n, const uint8_t *block, uint32_t blockSize)
{
    const WindowRec *w = WinTable[n];
    uint32_t size = uint32_t(FieldSize(w->editFieldType, w->editFieldLength));
    if (!block || w->editFieldOffset == NoOffset || size == 0) return nullptr;
    if (w->editFieldOffset > blockSize || size > blockSize - w->editFieldOffset) return nullptr;
    return block + w->editFieldOffset;
}

// Puts the EDIT control of n over its edit rectangle holding `text`,
// selected whole; `style` adds the password look. False when the window
// system refused it.
static bool EditControlCreate(int n, const uint8_t *text, uint32_t style)
{
    WindowRec *w = WinTable[n];
    const MacRect &r = w->editRect;
    PlRect pr{r.left, int16_t(r.top + 1), r.right, r.bottom};
    uint32_t edit = WinCreate("Edit", "", PlStyle::Child | PlStyle::Visible | PlEditStyle::AutoHScroll | style, pr,
                              w->mdiChild, 0, 0);
    if (!edit) return false;
    w->editControl = edit;
    PlFont *font = UiFontNormal ? UiFontNormal : FontUiRegular();
    WinSend(edit, PlMsg::SetFont, uintptr_t(font), 0);
    // A text field takes no more characters than it can store.
    int length = w->editFieldLength;
    bool limited = FieldTypeIsText(w->editFieldType) && length > 0 && length < kPlEditMaxText;
    WinSend(edit, PlEm::LimitText, uintptr_t(limited ? length : kPlEditMaxText), 0);
    EditSetText(edit, PStringView(text));
    WinShow(edit, PlShow::Show);
    WinSetFocus(edit);
    EditSetSel(edit, 0, -1);
    return true;
}

// Opens n's edit control over a binding's field: the binding is taken, a
// date with a year becomes the last date, the rectangle is the binding's
// grown to the text, the value is drawn beneath and the control shows
// `text` selected whole. A hidden text gets a password control when
// `password` is set. Any edit control n had is destroyed first.
static void EditOpen(int n, const uint8_t *binding, MemBlock record, int row, const uint8_t *text, bool password)
{
    assert(WinIsOpen(n) && binding);
    EditControlDestroy(n);
    int saved;
    GetPortWindow(&saved);
    SetPortWindow(n);
    UseSemiboldFont(n);
    EditBindingTake(n, binding, record, row);
    WindowRec *w = WinTable[n];
    uint8_t *block = MemLock(record);
    const uint8_t *value = EditFieldBytes(n, block, block ? MemSize(record) : 0);
    if (value && w->editFieldType == FtDate) {
        DateRec d;
        memcpy(&d, value, sizeof d);
        if (d.year) LastDate = d;
    }
    MacRect r;
    WinBindingRect(n, binding, &r);
    w->editFlag = 0;
    w->editFirstClick = 1;
    EditRectGrow(n, text, &r, binding[FieldEntry::CellMark] != 0);
    w->editRect = r;
    if (value) {
        bool right = binding[FieldEntry::Align] != 0;
        WinDrawFieldValue(n, value, w->editFieldType, w->editFieldLength, w->currentField, &r, right, false, false);
    }
    PStringCopy(w->editOpenText, text);
    if (block) MemUnlock(record);
    bool hidden = password && w->editFieldType == FtHidden;
    // The notes' one field is a box of lines.
    uint32_t style = hidden ? PlEditStyle::Password : 0;
    if (WinTypeOf(n) == WinTypes::Notes) style |= PlEditStyle::MultiLine;
    (void)EditControlCreate(n, text, style);
    RestorePortWindow(saved);
}

// Opens n's edit control over a binding's field showing `text`.
void EditControlOpen(int n, const uint8_t *binding, MemBlock record, int row, const uint8_t *text)
{
    EditOpen(n, binding, record, row, text, false);
}

// Opens n's edit control over a binding's field showing its value as text
// by the field's type and length; a hidden text (type 25) gets a password
// control holding its real text, which shows "*" for each character.
// A field outside the record shows an empty text.
void EditControlOpenForBinding(int n, const uint8_t *binding, MemBlock record, int row)
{
    assert(WinIsOpen(n) && binding);
    uint8_t text[256] = {0};
    uint16_t type = DefU16(binding + FieldEntry::Type), length = DefU16(binding + FieldEntry::Format);
    uint32_t offset;
    memcpy(&offset, binding + FieldEntry::Offset, 4);
    uint32_t size = uint32_t(FieldSize(type, length));
    const uint8_t *block = MemLock(record);
    if (block) {
        uint32_t blockSize = MemSize(record);
        if (size && offset <= blockSize && size <= blockSize - offset) {
            // A hidden text's text form is masked; its password control
            // must hold the real characters, or a commit would store the mask.
            if (type == FtHidden) {
                const uint8_t *stored = block + offset;
                uint32_t count = stored[0] < size ? stored[0] : size - 1;
                text[0] = uint8_t(count);
                memcpy(text + 1, stored + 1, count);
            } else {
                FieldFormat(block + offset, type, length, text);
            }
        }
        MemUnlock(record);
    }
    EditOpen(n, binding, record, row, text, true);
}

// The text of n's edit control as a PString (at most 255 characters);
// empty when n has none.
void EditTextGet(int n, uint8_t *text)
{
    text[0] = 0;
    if (!WinIsOpen(n)) return;
    uint32_t edit = WinTable[n]->editControl;
    if (!edit || !WinIsWindow(edit)) return;
    std::string s = EditGetText(edit);
    PStringFromView(text, s);
}

// Destroys n's edit control and gives the focus back to n's window.
void EditControlDestroy(int n)
{
    if (!WinIsOpen(n)) return;
    WindowRec *w = WinTable[n];
    uint32_t edit = w->editControl;
    w->editControl = 0;
    if (!edit) return;
    bool focused = WinFocus() == edit;
    if (WinIsWindow(edit)) WinDestroy(edit);
    if (focused && w->mdiChild && WinIsWindow(w->mdiChild)) WinSetFocus(w->mdiChild);
}
