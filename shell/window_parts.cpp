// window_parts.cpp - the parts of a window type's layout and their
// entries as a window reads them: entries by part, field counts and
// offsets, screen fields by record offset, and the menu texts of window
// types and modules.
#include <cassert>

#include "core/list_slot.h"
#include "core/ui_text.h"
#include "core/window_entries.h"
#include "shell/menu_lists.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

// Entry i of part `part` of n's type; null when there is none.
uint8_t *WinDefEntry(int n, int part, int i)
{
    assert(WinIsOpen(n));
    uint16_t size;
    return WinDefPartEntry(WinTypeDef(WinTypeOf(n)), part, i, &size);
}

// The number of entries of part `part` of n's type; 0 when it is absent.
int WinDefCount(int n, int part)
{
    assert(WinIsOpen(n));
    return WinDefPartCount(WinTypeDef(WinTypeOf(n)), part);
}

// The control part of n's type: its first entry, from which the sized
// entries follow; null when the type has no controls.
uint8_t *WinControlRectsPass(int n) { return WinDefEntry(n, WinPartControls, 0); }

// The last screen-field number of n: its data-field count, or 9999 when
// it has a matrix (the cells follow the data fields without end).
int WinFieldCount(int n) { return WinHasMatrix(n) ? 9999 : WinDefCount(n, WinPartDataFields); }

// The record offset of control `control` of n (NoEntryOffset when it
// has no value); 0 when there is no such control.
uint32_t WinFieldOffset(int n, int control)
{
    const uint8_t *entry = WinDefEntry(n, WinPartControls, control);
    return entry ? DefU16(entry + ControlEntry::Offset) : 0;
}

// The field type of n's edited field.
int WinEditFieldType(int n)
{
    assert(WinIsOpen(n));
    return WinTable[n]->editFieldType;
}

// The menu text of a window type as a PString: its entry's in the window
// list, else its entry's in the module table; empty when it has neither.
void WindowTypeMenuText(int type, uint8_t *text)
{
    text[0] = 0;
    for (int i = 0; i < ListTableCount(ListSlot::Windows); i++) {
        const uint8_t *e = ListTableEntry(ListSlot::Windows, i);
        if (DefU16(e + WindowListEntry::WinType) == type) return GetUiText(text, DefU16(e + WindowListEntry::Text));
    }
    for (int i = 0; i < ListTableCount(ListSlot::ModuleWindows); i++) {
        const uint8_t *e = ListTableEntry(ListSlot::ModuleWindows, i);
        if (DefU16(e + ModuleWindowsEntry::Type) == type) return GetUiText(text, DefU16(e + ModuleWindowsEntry::Text));
    }
}

// The menu text of a module as a PString: the text of the last entry of
// the module menu whose module is `code`; empty when none is.
void ModuleMenuText(int code, uint8_t *text)
{
    text[0] = 0;
    int found = -1;
    for (int i = 0; i < ListTableCount(ListSlot::ModuleMenu); i++)
        if (DefU16(ListTableEntry(ListSlot::ModuleMenu, i) + ModuleMenuEntry::Module) == code) found = i;
    if (found >= 0) GetUiText(text, DefU16(ListTableEntry(ListSlot::ModuleMenu, found) + ModuleMenuEntry::Text));
}

// The screen field of n showing the record field at `offset`: the first
// data field with that offset; the offset of the record's rows handle
// gives the matrix's first cell. NoField when neither.
int WinScreenFieldOfOffset(int n, uint32_t offset)
{
    for (int i = 0; i < WinDefCount(n, WinPartDataFields); i++)
        if (DefU32(WinDefEntry(n, WinPartDataFields, i) + FieldEntry::Offset) == offset) return i + 1;
    int32_t rows = WinRecordHandleOffset(n);
    int first, cells;
    MatrixGeometry(n, &first, &cells);
    if (first > 0 && rows >= 0 && uint32_t(rows) == offset) return first;
    return NoField;
}
