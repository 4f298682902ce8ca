// receipt_support.cpp - the small lookups every step of a customer
// receipt shares: which rows count, and reading the invoice, customer and
// open item a row names.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/customer_receipt.h"
#include "rules/payment_kinds.h"
#include "rules/rules_types.h"

// True for a row of kind 1, 5 or 6 whose flag word is 0: the rows the
// checks see, the voucher posts and the open items and statistics count.
bool ReceiptRowCounts(const uint8_t *row) {
    assert(row);
    const PaidRowKind kind = PaidRowKind(GetU16(row, IPVc::Rows::Kind));
    bool counted = kind == PaidRowKind::Paid || kind == PaidRowKind::Discount || kind == PaidRowKind::Fee;
    return counted && GetU16(row, IPVc::Rows::Flag) == 0;
}

// Reads invoice serial into rec by its number; all ones names none.
bool ReceiptInvoiceRead(uint32_t serial, RuleRecord &rec) {
    assert(rec.reg == IVVc::Number);
    if (!rec.record || serial == SerialNone) return false;
    PutU32(rec.record, IVVc::SerNr, serial);
    return RecFindByFirstKey(IVVc::Number, rec.record);
}

// Reads the customer of code into rec.
bool ReceiptCustomerRead(const uint8_t *code, RuleRecord &rec) {
    assert(rec.reg == CUVc::Number && code);
    if (!rec.record || code[0] == 0) return false;
    PutText(rec.record, CUVc::Code, code);
    return RecFindByFirstKey(CUVc::Number, rec.record);
}

// Reads the open item of invoice serial into rec, its id into *recid.
bool ReceiptOpenItemRead(uint32_t serial, RuleRecord &rec, uint32_t *recid) {
    assert(rec.reg == ARVc::Number && recid);
    *recid = 0;
    if (!rec.record || serial == SerialNone) return false;
    PutU32(rec.record, ARVc::InvoiceNr, serial);
    uint32_t position = 0;
    return RecFind(ARVc::Number, rec.record, 1, 1, recid, &position);
}

// The receipt's exchange rate per 100, 100 when it has none.
PackedDecimal ReceiptRate(const uint8_t *receipt) {
    PackedDecimal rate = GetDec(receipt, IPVc::Rate);
    if (DecIsZero(&rate)) DecFromLong(&rate, 100);
    return rate;
}
