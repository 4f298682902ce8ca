// invoice_print_kinds.cpp - approve kinds 11 and 17: a sales invoice
// printed on its form (document type -2), its printed flag set once it
// printed.
//
// The approve run stores the record when a kind answers Changed; a print
// that did not come out (no form, the output cancelled or stopped) leaves
// the stored invoice as it was.
#include <cassert>

#include "core/field_access.h"
#include "dict_offsets.h"
#include "operations/invoice_printed.h"
#include "operations/sales_invoice.h"
#include "rules/print_services.h"

namespace {

constexpr int16_t InvoiceDocType = -2;   // the sales invoice's form

}  // namespace

// Kind 11: prints the invoice. Changed when it printed and its printed
// flag was not set yet (the flag is set); Unchanged when it did not print
// or was marked printed already. A printed invoice prints with the copy
// mark, as its page preamble decides. A print that did not come out is
// counted in FormPrintsFailed, as for the other printing kinds, so that
// a run can tell it from one that printed an invoice marked already.
ApproveResult PrintInvoiceForm(int reg, uint8_t *invoice, uint32_t recid)
{
    (void)recid;
    assert(invoice && reg == IVVc::Number);
    if (PrintDocumentForm(reg, InvoiceDocType, invoice) != 1) return ApproveResult::Unchanged;
    if (GetI16(invoice, IVVc::Printed) != 0) return ApproveResult::Unchanged;
    PutI16(invoice, IVVc::Printed, 1);
    return ApproveResult::Changed;
}

// Kind 17: prints the invoice again as an original: the printed flag is
// cleared for the print, so no copy mark comes out, and set again once
// it printed. A print that did not come out keeps the flag as stored.
ApproveResult PrintInvoiceFormAgain(int reg, uint8_t *invoice, uint32_t recid)
{
    assert(invoice);
    int16_t before = GetI16(invoice, IVVc::Printed);
    PutI16(invoice, IVVc::Printed, 0);
    ApproveResult result = PrintInvoiceForm(reg, invoice, recid);
    if (result == ApproveResult::Unchanged) PutI16(invoice, IVVc::Printed, before);
    return result;
}

bool InvoicePrintedBefore(const uint8_t *invoice)
{
    assert(invoice);
    return GetI16(invoice, IVVc::Posted) != 0 && GetI16(invoice, IVVc::Printed) != 0;
}
