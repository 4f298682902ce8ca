// list_marks.cpp - the status marks that lists show in front of
// documents, derived from the documents' state words: 0 none, 18 done,
// 45 not started. Every save recomputes them.
#include <cassert>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/record_buffer.h"
#include "dict_offsets.h"
#include "operations/operations.h"

namespace {

constexpr uint16_t MarkNone = 0, MarkDone = 18, MarkNotStarted = 45;

// Mark at markAt from the state word at stateAt: 1 gives 18, 0 gives 0,
// any other state leaves the mark as it was.
void MarkFromState(uint8_t *r, uint32_t stateAt, uint32_t markAt) {
    assert(r);
    uint16_t state = GetU16(r, stateAt);
    if (state == 1) PutU16(r, markAt, MarkDone);
    if (state == 0) PutU16(r, markAt, MarkNone);
}

// Mark at markAt from the state word at stateAt: 1 gives 18, every other
// state 0.
void MarkOnlyWhenOne(uint8_t *r, uint32_t stateAt, uint32_t markAt) {
    assert(r);
    PutU16(r, markAt, GetU16(r, stateAt) == 1 ? MarkDone : MarkNone);
}

// True when a is more than b; a blank amount counts as zero.
bool Exceeds(const PackedDecimal &a, const PackedDecimal &b) {
    PackedDecimal x = a, y = b;
    if (DecIsBlank(&x)) DecFromDouble(&x, 0.0);
    if (DecIsBlank(&y)) DecFromDouble(&y, 0.0);
    return DecCompare(&x, &y) > 0;
}

}  // namespace

void StatusMarkInvoice(uint8_t *r) { MarkFromState(r, IVVc::Posted, IVVc::Mark); }

// Two marks: approved and posted.
void StatusMarkOutPayment(uint8_t *r) {
    MarkFromState(r, OPVc::Approved, OPVc::ApprovedMark);
    MarkFromState(r, OPVc::Posted, OPVc::PostedMark);
}

void StatusMarkPayment(uint8_t *r) { MarkFromState(r, IPVc::Posted, IPVc::Mark); }
void StatusMarkPurchaseInvoice(uint8_t *r) { MarkFromState(r, VIVc::Approved, VIVc::Mark); }
void StatusMarkRegister56(uint8_t *r) { MarkFromState(r, PurchItemVc::Default, PurchItemVc::Mark); }
void StatusMarkDelivery(uint8_t *r) { MarkOnlyWhenOne(r, SHVc::Shipped, SHVc::Mark); }
void StatusMarkPurchase(uint8_t *r) { MarkOnlyWhenOne(r, PUVc::Received, PUVc::Mark); }

// Any record with a flag at 10 and its mark at 12: a set flag is done.
void StatusMarkFromFlag(uint8_t *r) {
    assert(r);
    PutU16(r, 12, GetU16(r, 10) != 0 ? MarkDone : MarkNone);
}

// Derives an order's delivery and invoicing state from its rows: complete
// unless a row awaits delivery; invoiced (2) unless a shipped quantity is
// not yet invoiced (0), and nothing shipped at all is 1. Sets the state
// words, the open word and both marks.
void StatusMarkOrder(uint8_t *r) {
    assert(r);
    uint16_t complete = 1, invoicing = 2;
    PackedDecimal shipped;
    DecFromDouble(&shipped, 0.0);
    uint8_t row[ORVc::Rows::Size];
    int32_t count = MatrixRowCount(ORVc::Number, 0, r);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(ORVc::Number, r, i, row)) continue;
        PackedDecimal qty = GetDec(row, ORVc::Rows::Quantity), delivered = GetDec(row, ORVc::Rows::QtyDelivered);
        PackedDecimal ship = GetDec(row, ORVc::Rows::QtyShipped), invoiced = GetDec(row, ORVc::Rows::QtyInvoiced);
        if (Exceeds(qty, delivered)) complete = 0;
        if (Exceeds(ship, invoiced)) invoicing = 0;
        if (!DecIsBlank(&ship)) DecAdd(&shipped, &ship, &shipped);
    }
    if (DecIsZero(&shipped)) invoicing = 1;
    PutU16(r, ORVc::InvState, invoicing);
    PutU16(r, ORVc::DelivComplete, complete);
    PutU16(r, ORVc::Open, invoicing == 2 && complete ? 0 : 1);
    PutU16(r, ORVc::InvMark, invoicing == 0 ? MarkNone : invoicing == 1 ? MarkNotStarted : MarkDone);
    PutU16(r, ORVc::DelivMark, complete ? MarkDone : MarkNone);
}

// A purchase order's confirmed mark, and whether its rows are covered by
// purchases (a closed order counts as covered).
void StatusMarkPurchaseOrder(uint8_t *r) {
    assert(r);
    MarkFromState(r, PurchOrderVc::Confirmed, PurchOrderVc::Mark);
    uint16_t covered = 1;
    uint8_t row[PurchOrderVc::Rows::Size];
    int32_t count = MatrixRowCount(PurchOrderVc::Number, 0, r);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(PurchOrderVc::Number, r, i, row)) continue;
        if (Exceeds(GetDec(row, PurchOrderVc::Rows::Quantity), GetDec(row, PurchOrderVc::Rows::QtyOnPurchases)))
            covered = 0;
    }
    if (GetU16(r, PurchOrderVc::Closed) == 1) covered = 1;
    PutU16(r, PurchOrderVc::Covered, covered);
    PutU16(r, PurchOrderVc::CoverMark, covered ? MarkDone : MarkNone);
    PutU16(r, PurchOrderVc::Open, covered ? 0 : 1);
}
