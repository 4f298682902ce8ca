// print_invoice_form.cpp - approve kinds 11 and 17: a sales invoice
// printed on its form, its printed flag set.
//
// Not built yet: both kinds refuse (the user is told) and store nothing.
#include "core/ui_text.h"
#include "output/forms/forms.h"

// Kind 11: prints the invoice. Not built yet: tells the user and gives
// Failed.
ApproveResult PrintInvoiceForm(int reg, uint8_t *invoice, uint32_t recid) {
    ShowTextMessage(Texts::FunctionNotYet);
    return ApproveResult::Failed;
}

// Kind 17: prints the invoice again. Not built yet: tells the user and
// gives Failed.
ApproveResult PrintInvoiceFormAgain(int reg, uint8_t *invoice, uint32_t recid) {
    ShowTextMessage(Texts::FunctionNotYet);
    return ApproveResult::Failed;
}
