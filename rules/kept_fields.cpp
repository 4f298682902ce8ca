// kept_fields.cpp - the fields a stored record keeps when a user's save
// replaces it. Posting, transfers, deliveries and receipts set them; a
// window that read the record before they changed must not undo them, so
// the record layer copies them from the stored record into the new one
// before every checked update.
#include <cassert>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "rules/checks.h"

namespace {

// Largest row whose fields are kept (register 7's order rows).
constexpr uint32_t KeptRowBufferSize = 348;

// Copies the u16 at offset from stored into record.
void KeepWord(const uint8_t *stored, uint8_t *record, uint32_t offset) {
    PutU16(record, offset, GetU16(stored, offset));
}

// Copies the amount at offset from stored into record.
void KeepAmount(const uint8_t *stored, uint8_t *record, uint32_t offset) {
    PutDec(record, offset, GetDec(stored, offset));
}

// For every row that both records of reg have, copies the amounts at the
// given row offsets from the stored row into the new one. Rows the new
// record has beyond the stored ones keep their own values.
template <size_t N>
void KeepRowAmounts(int reg, const uint8_t *stored, uint8_t *record, const uint32_t (&offsets)[N]) {
    assert(RecRowSize(reg) <= KeptRowBufferSize);
    int32_t storedCount = MatrixRowCount(reg, 0, stored);
    int32_t count = MatrixRowCount(reg, 0, record);
    uint8_t from[KeptRowBufferSize], into[KeptRowBufferSize];
    for (int32_t i = 0; i < storedCount && i < count; i++) {
        if (!MatrixRowRead(reg, stored, i, from) || !MatrixRowRead(reg, record, i, into)) return;
        for (uint32_t offset : offsets) PutDec(into, offset, GetDec(from, offset));
        if (!MatrixRowPut(reg, 0, record, i, into)) return;
    }
}

// An order's delivered, shipped and invoiced quantities, row by row.
void KeepOrderDeliveredQty(const uint8_t *stored, uint8_t *record) {
    static constexpr uint32_t offsets[] = {ORVc::Rows::QtyDelivered, ORVc::Rows::QtyShipped,
                                           ORVc::Rows::QtyInvoiced};
    KeepRowAmounts(ORVc::Number, stored, record, offsets);
}

// A purchase order's received quantities, row by row.
void KeepPurchaseOrderReceivedQty(const uint8_t *stored, uint8_t *record) {
    static constexpr uint32_t offsets[] = {PurchOrderVc::Rows::QtyReceived, PurchOrderVc::Rows::QtyOnPurchases};
    KeepRowAmounts(PurchOrderVc::Number, stored, record, offsets);
}

}  // namespace

// Copies into record the fields of register reg that the program itself
// maintains, from the stored record; registers without such fields are
// left as they are.
void PreserveStoredFieldsOf(int reg, const uint8_t *stored, uint8_t *record) {
    if (!stored || !record || stored == record) return;
    switch (reg) {
    case IVVc::Number:
        KeepWord(stored, record, IVVc::Printed);
        KeepWord(stored, record, IVVc::Transferred);
        break;
    case ORVc::Number:
        for (uint32_t offset : {ORVc::InvState, ORVc::DelivComplete, ORVc::Printed, ORVc::InvMark, ORVc::DelivMark,
                                ORVc::Open})
            KeepWord(stored, record, offset);
        KeepOrderDeliveredQty(stored, record);
        break;
    case SHVc::Number:
        KeepWord(stored, record, SHVc::Printed);
        break;
    case SMVc::Number:
        KeepWord(stored, record, SMVc::Reg18Done);
        KeepWord(stored, record, SMVc::Word142);
        break;
    case PersEntryVc::Number:
        KeepWord(stored, record, PersEntryVc::Reg18Done);
        KeepWord(stored, record, PersEntryVc::Word142);
        break;
    case IPVc::Number:
        KeepWord(stored, record, IPVc::Transferred);
        break;
    case Voucher::Number:
        KeepWord(stored, record, Voucher::Reg18Done);
        KeepWord(stored, record, Voucher::Posted);
        break;
    case VIVc::Number:
        KeepWord(stored, record, VIVc::Transferred);
        break;
    case OPVc::Number:
        KeepWord(stored, record, OPVc::Transferred);
        break;
    case ExpenseVc::Number:
        KeepWord(stored, record, ExpenseVc::Transferred);
        break;
    case PersPayVc::Number:
        KeepWord(stored, record, PersPayVc::Transferred);
        break;
    case OpenBalVc::Number:
        KeepWord(stored, record, OpenBalVc::Reg18Done);
        KeepWord(stored, record, OpenBalVc::Word84);
        break;
    case ProjectVc::Number:
        KeepAmount(stored, record, ProjectVc::DownPayInvoiced);
        KeepAmount(stored, record, ProjectVc::DownPayDeducted);
        break;
    case PurchOrderVc::Number:
        KeepPurchaseOrderReceivedQty(stored, record);
        break;
    default:
        break;
    }
}
