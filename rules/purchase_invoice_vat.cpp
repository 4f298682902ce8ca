// purchase_invoice_vat.cpp - a purchase invoice's VAT computed from its
// account rows: the amounts summed per VAT code, each code's VAT rounded
// to cents, the total into the invoice's computed VAT. The purchase-
// invoice window and the fill of an invoice from a purchase order both
// compute it here, so the two always agree.
#include <cassert>

#include "core/field_access.h"
#include "core/memblock.h"
#include "core/record_buffer.h"
#include "dict_offsets.h"
#include "rules/invoice_kind.h"
#include "rules/vat_currency.h"

namespace {

namespace Row = VIVc::Rows;

// The kind of a row: an empty kind word is an account row (a row typed
// below the last one has none yet).
PurchaseRowKind KindOf(const uint8_t *r)
{
    uint16_t kind = GetU16(r, Row::Kind);
    return kind == 0 ? PurchaseRowKind::Account : PurchaseRowKind(kind);
}

}  // namespace

bool PurchaseInvoiceRowsVat(uint8_t *invoice, bool *written)
{
    assert(invoice);
    if (written) *written = false;
    MemBlock sums = 0;
    if (!VatSumsNew(&sums)) return false;
    int count = MatrixRowCount(VIVc::Number, 0, invoice);
    for (int i = 0; i < count; i++) {
        uint8_t r[Row::Size];
        if (!MatrixRowRead(VIVc::Number, invoice, i, r) || KindOf(r) != PurchaseRowKind::Account ||
            r[Row::VatCode] == 0) continue;
        uint8_t code[256];
        GetText(r, Row::VatCode, code);
        PackedDecimal amount = GetDec(r, Row::Amount);
        VatSumsAdd(sums, code, &amount);
    }
    PackedDecimal vat;
    VatSumsTotal(sums, 0, &vat, nullptr);
    MemUnlock(sums);
    MemFree(&sums);
    if (VatTreatment(GetU16(invoice, VIVc::VatTreatment)) == VatTreatment::NoVatRows) return true;
    DecRound(&vat, 2, &vat);
    PutDec(invoice, VIVc::VatComputed, vat);
    if (written) *written = true;
    return true;
}
