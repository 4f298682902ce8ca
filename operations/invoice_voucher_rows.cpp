// invoice_voucher_rows.cpp - the voucher rows of one invoice row (sales,
// VAT and cost sides), merged by account and VAT code.
//
// Not built yet: a row's voucher rows are refused (the user is told).
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "operations/sales_invoice.h"

// Adds the voucher rows of one invoice row. Not built yet: tells the user
// and gives false.
bool InvoiceVoucherRows(const uint8_t *invoice, const uint8_t *row, const uint8_t *objects, const PackedDecimal *rate,
                        uint8_t debit, uint8_t credit, uint8_t *text, PackedDecimal *running, MemBlock vatSums) {
    ShowTextMessage(Texts::FunctionNotYet);
    return false;
}

// Adds sum to the matching voucher row. Not built yet: does nothing.
void MergeVoucherRow(MemBlock rows, const uint8_t *vatCode, PackedDecimal *sum, uint8_t *account) {}

// The voucher text naming a VAT code. Not built yet: does nothing.
void VatCodeText(const uint8_t *code, uint8_t *out) {}
