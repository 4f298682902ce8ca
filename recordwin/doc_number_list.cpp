// doc_number_list.cpp - where the document-number list of a document
// window starts: at the customer of the invoice, order or quotation whose
// window opened it.
#include "core/field_access.h"
#include "dict_offsets.h"
#include "recordwin/record_windows.h"
#include "shell/window_table.h"

uint8_t DocNumberListStart[256];

// Starts the number list of a document window from the window that
// opened it: the customer code of an invoice, order or quotation; empty
// otherwise.
void WindowDocNumber(int window)
{
    DocNumberListStart[0] = 0;
    if (!WinIsOpen(window)) return;
    int opener = WinOpenerOf(window);
    if (!WinIsOpen(opener)) return;
    const uint8_t *record = WinRecordBuffer(opener);
    if (!record) return;
    switch (WinRegisterOf(opener)) {
    case IVVc::Number: GetText(record, IVVc::CustCode, DocNumberListStart); return;
    case ORVc::Number: GetText(record, ORVc::CustCode, DocNumberListStart); return;
    case QuotationVc::Number: GetText(record, QuotationVc::CustCode, DocNumberListStart); return;
    default: return;
    }
}
