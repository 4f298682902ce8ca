// delivered_cost.cpp - how much of an invoice row's cost of goods its
// deliveries booked already.
//
// An invoice row made from an order row (its link names the order row)
// moves no stock: the delivery of that order row moved it. When that
// delivery also made its voucher (block 199's delivery switch on and the
// delivery not before its start date), the voucher booked the cost of
// goods against stock, and the invoice must not book the same units
// again. Where no delivery voucher was made the invoice's cost rows stand.
#include <cassert>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "database/access/index_walk.h"
#include "database/access/record_access.h"
#include "operations/sales_invoice.h"
#include "rules/ledger.h"

namespace {

constexpr uint32_t OrderRowMask = 0xFFFFu;

// True when a delivery dated date made its voucher.
bool DeliveryBookedOn(const DateRec &date) {
    return VoucherDueOn(PostingBlk::DeliveryVouchers, PostingBlk::DeliveryVoucherStart, date);
}

// The quantity of order row `at` that the shipped deliveries of the order
// with serial order sent out with a voucher of their own.
PackedDecimal QtyShippedWithVoucher(uint32_t order, uint32_t at) {
    PackedDecimal sum;
    DecSetZero(&sum);
    RuleRecord delivery(SHVc::Number);
    if (!delivery.record) return sum;
    uint8_t row[SHVc::Rows::Size];
    IndexWalkOfNumber(SHVc::Number, "OrderKey", delivery.record, SHVc::OrderNr, order, [&](const uint8_t *d) {
        if (GetU16(d, SHVc::Shipped) == 0 || !DeliveryBookedOn(GetDate(d, SHVc::ShipDate))) return true;
        for (int32_t i = 0, n = MatrixRowCount(SHVc::Number, 0, d); i < n; i++) {
            if (!MatrixRowRead(SHVc::Number, d, i, row)) continue;
            if ((GetU32(row, SHVc::Rows::OrderRowNr) & OrderRowMask) != at) continue;
            PackedDecimal qty = GetDec(row, SHVc::Rows::ToDeliver);
            if (!DecIsBlank(&qty)) DecAdd(&sum, &qty, &sum);
        }
        return true;
    });
    return sum;
}

}  // namespace

// The quantity of the invoice row whose cost of goods is still to be
// booked by the invoice, into *qty: the row's whole quantity for a row
// not made from an order row; for one made from an order row, what is
// left after the units its order's deliveries sent out with their own
// vouchers (never below zero, never above the row's quantity). An
// invoice that no longer names its order (the order run's invoices) has
// its deliveries judged by the delivery switch at the invoice's
// transaction date: they were made on or before it.
void InvoiceRowCostQty(const uint8_t *invoice, const uint8_t *row, PackedDecimal *qty) {
    assert(invoice && row && qty);
    *qty = GetDec(row, IVVc::Rows::Quantity);
    const uint32_t link = GetU32(row, IVVc::Rows::Link);
    if (link == SerialNone || DecIsBlank(qty) || DecSign(qty) <= 0) return;
    const uint32_t order = GetU32(invoice, IVVc::OrderNr);
    if (order == SerialNone) {
        if (DeliveryBookedOn(GetDate(invoice, IVVc::TransDate))) DecSetZero(qty);
        return;
    }
    PackedDecimal shipped = QtyShippedWithVoucher(order, link & OrderRowMask);
    if (DecCompare(&shipped, qty) >= 0) {
        DecSetZero(qty);
        return;
    }
    DecSub(qty, &shipped, qty);
}
