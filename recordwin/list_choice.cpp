// list_choice.cpp - the choice of a record in a choice list: its code
// given back to the field of the window that opened the list.
#include "recordwin/record_windows.h"
#include "recordwin/receipt_window.h"

#include "core/field_types.h"
#include "core/record_buffer.h"
#include "core/window_entries.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "shell/list_windows.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

// Event 21 of a list (OK on a selected row of a choice list): the first
// marked record is read by its id and the value of the list's first
// column, as text, is typed into the opener's current field as the list
// closes, and the choosing flag is set. Nothing when no record is marked, the register or the column
// is missing, or the record is gone (the list then stays open).
void WindowChooseRecordEvent(int window)
{
    if (!WinIsOpen(window)) return;
    int32_t id = ListSelAnchor(window);
    int reg = WinRegisterOf(window);
    const uint8_t *column = WinDefEntry(window, WinPartFieldList, 0);
    if (id < 0 || reg == 0 || !column) return;
    MemBlock handle = 0;
    uint8_t *record = RecBufferNew(reg, &handle);
    if (!record) return;
    uint8_t text[256] = {};
    bool read = RecReadById(reg, uint32_t(id), record);
    if (read) {
        uint16_t type = DefU16(column + ListColEntry::Type), format = DefU16(column + ListColEntry::Format);
        uint32_t at = DefU32(column + ListColEntry::Offset);
        int width = FieldSize(type, format);
        if (width > 0 && uint64_t(at) + uint64_t(width) <= RegRecordSize(reg)) FieldFormat(record + at, type, format, text);
    }
    RecBufferFree(reg, &handle);
    if (!read) return;
    WinCloseWithChoice(window, text);
    ChoiceMadeFlag = 1;
}

// A chooser list has opened for the field of `opener` under edit: a
// receipt's Invoice cell chooses among the open invoices of its row's
// customer, a credit note's link cell among those of its customer. Other
// openers keep the whole list.
void ChooserListOpened(int list, int opener)
{
    if (!WinIsOpen(opener) || !WinIsOpen(list)) return;
    if (WinTypeOf(opener) == WinTypes::Receipt) ReceiptInvoiceChoiceLimit(list, opener);
    else if (WinTypeOf(opener) == WinTypes::SalesInvoice) CreditedInvoiceChoiceLimit(list, opener);
}
