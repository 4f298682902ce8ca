// purchase_support.cpp - the small lookups every step of the purchase
// ledger shares: reading the invoice, vendor and open item a document
// names, rates, field positions for refusals and the rounding row of a
// voucher.
#include <cassert>
#include <vector>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/purchase_ledger.h"
#include "operations/vendor_payment_rows.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"

// Reads purchase invoice serial into rec; all ones names none.
bool PurchaseInvoiceRead(uint32_t serial, RuleRecord &rec) {
    assert(rec.reg == VIVc::Number);
    if (!rec.record || serial == SerialNone) return false;
    PutU32(rec.record, VIVc::SerNr, serial);
    return RecFindByFirstKey(VIVc::Number, rec.record);
}

// Reads the vendor of code into rec.
bool VendorRead(const uint8_t *code, RuleRecord &rec) {
    assert(rec.reg == VEVc::Number && code);
    if (!rec.record || code[0] == 0) return false;
    PutText(rec.record, VEVc::Code, code);
    return RecFindByFirstKey(VEVc::Number, rec.record);
}

// Reads the open item of serial into rec, its id into *recid.
bool VendorOpenItemRead(uint32_t serial, RuleRecord &rec, uint32_t *recid) {
    assert(rec.reg == APVc::Number && recid);
    *recid = 0;
    if (!rec.record || serial == SerialNone) return false;
    PutU32(rec.record, APVc::InvoiceNr, serial);
    uint32_t position = 0;
    return RecFind(APVc::Number, rec.record, 1, 1, recid, &position);
}

// The rate per 100 of a document, 100 when it has none.
PackedDecimal RatePer100(const uint8_t *record, uint32_t rateAt) {
    PackedDecimal rate = GetDec(record, rateAt);
    if (DecIsZero(&rate)) DecFromLong(&rate, 100);
    return rate;
}

bool CodeInRegister(int reg, RawOffset codeAt, int max, const uint8_t *code) {
    if (code[0] == 0) return false;
    RuleRecord r(reg);
    if (!r.record) return false;
    PutPString(r.record, codeAt, max, code);
    return RecFindByFirstKey(reg, r.record);
}

// The last field of reg (of its rows when row) starting at or before at.
uint16_t RegisterFieldHolding(int reg, uint32_t at, bool row) {
    uint32_t best = 0;
    FieldCursor c;
    if (row) {
        c = RowLayoutBegin(RegRowLayout(reg));
        RowFieldInfo f;
        while (RowLayoutNext(&c, &f))
            if (f.offset <= at && f.offset > best) best = f.offset;
    } else {
        c = FieldListBegin(RegFieldList(reg));
        FieldInfo f;
        while (FieldListNext(&c, &f))
            if (f.offset <= at && f.offset > best) best = f.offset;
    }
    return (uint16_t)best;
}

// Tells the user a record could not be stored and fails the open hold.
bool PurchaseStoreFailed() {
    ShowTextMessage(Texts::RecordNotStored);
    DbHoldFail();
    return false;
}

// Stores the pending voucher when it has rows and leaves it cleared, so
// no header of this document is left for the next build. false (told,
// the hold failed) when it could not be stored.
bool StorePendingAndClear() {
    if (!PendingVoucher) return true;
    bool stored = MatrixRowCount(Voucher::Number, 0, PendingVoucher) == 0 || StorePendingVoucher();
    PendingVoucherClear();
    return stored || PurchaseStoreFailed();
}

// What is left of running goes to block 133's rounding account, merged
// into a row already on it.
bool PostRoundingRest(PackedDecimal *running) {
    if (DecIsZero(running)) return true;
    const uint8_t *sales = SettingsRecord(SalesAccountsBlk::Number, SalesAccountsBlock);
    uint8_t account[256] = {0};
    if (sales) GetText(sales, SalesAccountsBlk::RoundingAcc, account);
    PackedDecimal rest;
    DecNegateInto(running, &rest);
    return FindNamedVoucherRow(PendingVoucher, account, nullptr, nullptr, nullptr, &rest, true, true, running);
}

namespace {

bool FreeByte(uint32_t at, const uint32_t (*free)[2], size_t count) {
    for (size_t i = 0; i < count; i++)
        if (at >= free[i][0] && at < free[i][1]) return true;
    return false;
}

}  // namespace

// Checks a purchase-side document before it is stored. An update of one
// that is held (approved or posted) may change only the free bytes; any
// other runs checks, and a refusal puts back the serial it came with and
// drops the voucher the checks began.
int ValidateHeldOrOpen(int reg, uint8_t *record, const uint8_t *old, int mode, bool held, uint32_t serialAt,
                       const uint32_t (*free)[2], size_t freeCount, int heldText,
                       int (*checks)(uint8_t *, const uint8_t *, int)) {
    if (mode == 2 && old && held) return HeldRecordChanges(reg, record, old, free, freeCount, heldText);
    uint32_t entry = GetU32(record, serialAt);
    int r = checks(record, old, mode);
    if (r != 0) {
        PutU32(record, serialAt, entry);
        if (PendingVoucher) PendingVoucherClear();
    }
    return r;
}

// The hold of a stored document that may change only some bytes: 0 when
// nothing else changed, else text at the first changed field or cell.
int HeldRecordChanges(int reg, const uint8_t *record, const uint8_t *old, const uint32_t (*free)[2], size_t freeCount,
                      int text) {
    const uint32_t size = RegRecordSize(reg), rowSize = RecRowSize(reg);
    const int32_t matrixAt = RegMatrixOffset(reg);
    const uint32_t matrix = matrixAt < 0 ? size : (uint32_t)matrixAt;
    for (uint32_t at = 0; at < size; at++)
        if (record[at] != old[at] && !FreeByte(at, free, freeCount) && !(at >= matrix && at < matrix + 4))
            return FieldError(text, nullptr, RegisterFieldHolding(reg, at, false));
    int32_t count = MatrixRowCount(reg, 0, record), before = MatrixRowCount(reg, 0, old);
    if (count != before)
        return FieldErrorAt(text, nullptr, (uint16_t)matrix, (uint16_t)(count < before ? count : before), 0);
    std::vector<uint8_t> a(rowSize), b(rowSize);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(reg, record, i, a.data()) || !MatrixRowRead(reg, old, i, b.data()))
            return FieldErrorAt(Texts::RecordNotStored, nullptr, (uint16_t)matrix, (uint16_t)i, 0);
        for (uint32_t at = 0; at < rowSize; at++)
            if (a[at] != b[at])
                return FieldErrorAt(text, nullptr, (uint16_t)matrix, (uint16_t)i, RegisterFieldHolding(reg, at, true));
    }
    return 0;
}

// Reads the outgoing payment of serial into rec.
bool OutPaymentRead(int32_t serial, RuleRecord &rec) {
    assert(rec.reg == OPVc::Number);
    if (!rec.record) return false;
    PutI32(rec.record, OPVc::SerNr, serial);
    return RecFindByFirstKey(OPVc::Number, rec.record);
}

// The counted rows of the entry's payment that pay the entry's invoice.
void PaymentRowsForInvoice(const uint8_t *entry, PackedDecimal *sum) {
    assert(entry && sum);
    DecSetZero(sum);
    RuleRecord payment(OPVc::Number);
    if (!OutPaymentRead(GetI32(entry, VLVc::DocSerNr), payment)) return;
    const int32_t invoice = GetI32(entry, VLVc::InvoiceNr);
    uint8_t row[OPVc::Rows::Size];
    const int32_t rows = MatrixRowCount(OPVc::Number, 0, payment.record);
    for (int32_t i = 0; i < rows; i++) {
        if (!MatrixRowRead(OPVc::Number, payment.record, i, row)) break;
        // The rows that lowered the open item: the same rows the payment's
        // posting counts (a paid invoice or a discount taken, flag 0).
        if (!PaymentRowCounts(row) || GetI32(row, OPVc::Rows::InvoiceNr) != invoice) continue;
        const PackedDecimal amount = GetDec(row, OPVc::Rows::Amount);
        if (!DecIsBlank(&amount)) DecAdd(sum, &amount, sum);
    }
}
