// invoice_checks.cpp - the checks a sales invoice passes before it is
// stored, and the currency check the purchase and payment checks share.
//
// An unposted invoice is checked in full: credit limit, number, date,
// customer, currency, the credited invoice of a credit note, the rows, and
// the voucher when it is being posted now. A refused invoice gets back
// the serial number it had on entry, so a number drawn for it is not kept.
//
// A posted invoice is no longer checked but held: an update may change
// only the fields a user may still edit after posting (due date, notes,
// salesperson, reminders, delivery terms and addresses) and those the
// program itself writes afterwards (printed and transferred flags, the
// list mark, the rows' FIFO cost). Anything else - an amount, a row, the
// posted flag - is refused, focused on the first changed field, so a
// voucher, an open item and the stock once written cannot drift away
// from the invoice they came from.
#include <cassert>
#include <cstring>

#include "core/definitions.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/invoice_stock_check.h"
#include "operations/operations.h"
#include "operations/purchase_ledger.h"
#include "operations/sales_invoice.h"
#include "rules/invoice_kind.h"
#include "rules/ledger.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/serial_numbers.h"
#include "rules/series_terms.h"
#include "rules/settings_row_find.h"

namespace {

namespace Inv = IVVc;
namespace Row = IVVc::Rows;

// The refusal of a change to a posted invoice.
constexpr int PostedChangeText = Texts::PostedInvoiceChange;

// Byte ranges [from, to) of the invoice that a posted invoice may still
// change: those a user edits after posting and those the program writes.
struct ByteRange {
    uint32_t from, to;
};
constexpr ByteRange PostedFree[] = {
    {Inv::PayDate, Inv::Matrix},         // due date
    {Inv::Matrix, Inv::Matrix + 4},      // the rows' handle: rows are compared one by one
    {Inv::Printed, Inv::Printed + 2},    // written by the print kinds
    {Inv::Mark, Inv::Mark + 2},          // the list mark
    {Inv::Transferred, Inv::Transferred + 2},
    {Inv::Reference, Inv::CredInv},        // notes
    {Inv::SalesMan, Inv::CurncyCode},    // salesperson
    {Inv::NoticeCount, Inv::NoticeDate}, // reminders
    {Inv::NoticeDate, Inv::NoticeDate + 6},
    {Inv::OurRef, Inv::DelTerms},
    {Inv::DelTerms, Inv::DelAddr0},      // delivery terms
    {Inv::DelAddr0, Inv::DelMode},       // delivery address
    {Inv::DelMode, Inv::Location},       // delivery mode
};
// The row bytes a posted invoice's stock step writes.
constexpr ByteRange PostedRowFree = {Row::FifoCost, Row::VatCode};

// True when byte at lies in one of the ranges.
bool InRanges(uint32_t at, const ByteRange *ranges, size_t n) {
    for (size_t i = 0; i < n; i++)
        if (at >= ranges[i].from && at < ranges[i].to) return true;
    return false;
}

// The offset of the field of the register (row: of its rows) that holds
// byte at: the last field starting at or before it; 0 when none.
uint16_t FieldHolding(uint32_t at, bool row) {
    uint32_t best = 0;
    FieldCursor c;
    if (row) {
        RowLayoutRef layout = RegRowLayout(Inv::Number);
        c = RowLayoutBegin(layout);
        RowFieldInfo f;
        while (RowLayoutNext(&c, &f))
            if (f.offset <= at && f.offset > best) best = f.offset;
    } else {
        c = FieldListBegin(RegFieldList(Inv::Number));
        FieldInfo f;
        while (FieldListNext(&c, &f))
            if (f.offset <= at && f.offset > best) best = f.offset;
    }
    return (uint16_t)best;
}

// The update of an invoice stored as posted: 0 when only free bytes
// changed, else refused on the first changed field or row cell.
int PostedInvoiceHeld(const uint8_t *invoice, const uint8_t *old) {
    for (uint32_t at = 0; at < Inv::Size; at++) {
        if (invoice[at] == old[at] || InRanges(at, PostedFree, std::size(PostedFree))) continue;
        return FieldError(PostedChangeText, nullptr, FieldHolding(at, false));
    }
    int32_t count = MatrixRowCount(Inv::Number, 0, invoice);
    int32_t before = MatrixRowCount(Inv::Number, 0, old);
    if (count != before) {
        uint16_t row = (uint16_t)(count < before ? count : before);
        return FieldErrorAt(PostedChangeText, nullptr, Inv::Matrix, row, Row::Kind);
    }
    uint8_t a[Row::Size], b[Row::Size];
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(Inv::Number, invoice, i, a) || !MatrixRowRead(Inv::Number, old, i, b))
            return FieldErrorAt(Texts::RecordNotStored, nullptr, Inv::Matrix, (uint16_t)i, Row::Kind);
        for (uint32_t at = 0; at < Row::Size; at++) {
            if (a[at] == b[at] || InRanges(at, &PostedRowFree, 1)) continue;
            return FieldErrorAt(PostedChangeText, nullptr, Inv::Matrix, (uint16_t)i, FieldHolding(at, true));
        }
    }
    return 0;
}

// Step 3: true when block 205 refuses invoices over the credit limit, the
// invoice comes from no order and its customer is over a limit above zero.
bool OverCreditLimit(const uint8_t *invoice) {
    const uint8_t *block = SettingsRecord(CreditLimitBlk::Number, CreditLimitBlock);
    if (!block || GetU16(block, CreditLimitBlk::InvoiceRefuse) != 1) return false;
    if (GetU32(invoice, Inv::OrderNr) != SerialNone) return false;
    uint8_t code[256];
    GetText(invoice, Inv::CustCode, code);
    return CustomerOverCreditLimit(code);
}

// Steps 4 and 5: numbers an invoice without a number from the session's
// or the company's hint, then tests a new or changed number against the
// stored invoices and the series. 0, or the refusal.
int SerialChecks(uint8_t *invoice, const uint8_t *old, int mode) {
    int32_t hint = SeriesHint(SU::SeriesA + 8, SeriesDefaultsBlk::InvoiceHint);
    return CheckDocumentNumber(Inv::Number, invoice, old, mode, Inv::SerNr, GetDate(invoice, Inv::TransDate), hint);
}

// Step 8: a rate needs a currency, and a currency must be known.
int CurrencyChecks(const uint8_t *invoice) {
    uint8_t code[256];
    GetText(invoice, Inv::CurncyCode, code);
    PackedDecimal rate = GetDec(invoice, Inv::Rate);
    if (!RateFitsCurrency(code, &rate)) return FieldError(Texts::CurrencyUnknown, nullptr, Inv::Rate);
    if (!IsCurrencyCode(code)) return FieldError(Texts::CurrencyUnknown, nullptr, Inv::CurncyCode);
    return 0;
}

// Step 9: the invoice a credit note's first row links to must exist, be
// no credit note, and share the customer and the currency.
int CreditedInvoiceChecks(const uint8_t *invoice) {
    if (InvoiceKind(GetU16(invoice, Inv::InvType)) != InvoiceKind::CreditNote ||
        MatrixRowCount(Inv::Number, 0, invoice) < 1) return 0;
    uint8_t row[Row::Size];
    if (!MatrixRowRead(Inv::Number, invoice, 0, row)) return 0;
    uint32_t link = GetU32(row, Row::Link);
    if (link == SerialNone) return 0;
    auto refuse = [](int text) { return FieldErrorAt(text, nullptr, Inv::Matrix, 0, Row::Link); };
    RuleRecord credited(Inv::Number);
    if (!credited.record) return refuse(Texts::CreditedInvoiceMissing);
    PutU32(credited.record, Inv::SerNr, link);
    uint32_t recid = 0, position = 0;
    if (!RecFind(Inv::Number, credited.record, 1, 1, &recid, &position)) return refuse(Texts::CreditedInvoiceMissing);
    if (InvoiceKind(GetU16(credited.record, Inv::InvType)) == InvoiceKind::CreditNote)
        return refuse(Texts::CreditOfCreditNote);
    uint8_t a[256], b[256];
    GetText(invoice, Inv::CustCode, a);
    GetText(credited.record, Inv::CustCode, b);
    if (!PStringEqual(a, b)) return refuse(Texts::OtherCustomerInvoice);
    GetText(invoice, Inv::CurncyCode, a);
    GetText(credited.record, Inv::CurncyCode, b);
    if (!PStringEqual(a, b)) return refuse(Texts::CurrencyDiffers);
    return 0;
}

// The order row count of the invoice's order; -1 when it names none or
// the order is missing.
int32_t OrderRowCount(const uint8_t *invoice) {
    uint32_t order = GetU32(invoice, Inv::OrderNr);
    if (order == SerialNone) return -1;
    RuleRecord o(ORVc::Number);
    if (!o.record) return -1;
    PutU32(o.record, ORVc::SerNr, order);
    uint32_t recid = 0, position = 0;
    if (!RecFind(ORVc::Number, o.record, 1, 1, &recid, &position)) return -1;
    return MatrixRowCount(ORVc::Number, 0, o.record);
}

// Step 10: the rows in order; the first fault ends the check. An item
// row's link must name a row of the invoice's order (the first row of a
// credit note links to the credited invoice instead): a link that fits
// nothing would skip the row's stock silently. An invoice that names no
// order is one the invoicing run gathered from several: its rows keep
// the links to their orders' rows (their stock went with the deliveries),
// and the run has counted them on the orders already.
int RowChecks(const uint8_t *invoice) {
    const int zone = GetU16(invoice, Inv::VatZone);
    const bool credit = InvoiceKind(GetU16(invoice, Inv::InvType)) == InvoiceKind::CreditNote;
    int32_t orderRows = -2;   // not read yet
    uint8_t row[Row::Size], code[256];
    int32_t count = MatrixRowCount(Inv::Number, 0, invoice);
    for (int32_t i = 0; i < count; i++) {
        const uint16_t at = (uint16_t)i;
        if (!MatrixRowRead(Inv::Number, invoice, i, row))
            return FieldErrorAt(Texts::RecordNotStored, nullptr, Inv::Matrix, at, Row::Kind);
        const DocRowKind kind = DocRowKind(GetU16(row, Row::Kind));
        if (kind == DocRowKind::Item) {
            GetText(row, Row::ItemCode, code);
            if (code[0] != 0 && !CodeInRegister(INVc::Number, INVc::Code, code))
                return FieldErrorAt(Texts::CodeUnknown, nullptr, Inv::Matrix, at, Row::ItemCode);
            uint32_t link = GetU32(row, Row::Link);
            if (link != SerialNone && !(credit && i == 0) && GetU32(invoice, Inv::OrderNr) != SerialNone) {
                if (orderRows == -2) orderRows = OrderRowCount(invoice);
                if ((int32_t)(link & 0xFFFFu) >= orderRows)
                    return FieldErrorAt(Texts::CodeUnknown, nullptr, Inv::Matrix, at, Row::Link);
            }
        }
        if ((kind == DocRowKind::Item || kind == DocRowKind::DownPayment) && !CompactVariant) {
            PackedDecimal sum = GetDec(row, Row::Sum);
            GetText(row, Row::VatCode, code);
            if (!DecIsZero(&sum) && code[0] == 0)
                return FieldErrorAt(Texts::VatCodeMissing, nullptr, Inv::Matrix, at, Row::VatCode);
        }
        if ((kind == DocRowKind::Item || kind == DocRowKind::Amount || kind == DocRowKind::DownPayment) &&
            !AccountAgreesWithVat(row, Row::SalesAcc, Row::VatCode, zone))
            return FieldErrorAt(Texts::AccountVatMismatch, nullptr, Inv::Matrix, at, Row::VatCode);
    }
    return 0;
}

// Steps 3 to 11 of an unposted invoice; 0 or the refusal.
int UnpostedChecks(uint8_t *invoice, const uint8_t *old, int mode) {
    if (OverCreditLimit(invoice)) return FieldError(Texts::CreditLimitExceeded, nullptr, RecFocusNone);
    if (int r = SerialChecks(invoice, old, mode)) return r;
    if (!CheckBeforeSave(Inv::Number, invoice, Inv::TransDate)) return -1;
    uint8_t code[256];
    GetText(invoice, Inv::CustCode, code);
    if (code[0] == 0) return FieldError(Texts::CustomerCodeMissing, nullptr, RecFocusNone);
    if (!CodeInRegister(CUVc::Number, CUVc::Code, code))
        return FieldError(Texts::CodeUnknown, nullptr, Inv::CustCode);
    if (int r = CurrencyChecks(invoice)) return r;
    if (int r = CreditedInvoiceChecks(invoice)) return r;
    InvoiceRowKindsSettle(invoice);
    if (int r = RowChecks(invoice)) return r;

    if (PendingVoucher) RecFreeMatrix(Voucher::Number, PendingVoucher);
    bool postingNow = GetU16(invoice, Inv::Posted) == 1 && (mode == 1 || !old || GetU16(old, Inv::Posted) == 0);
    std::string shortStock;
    if (postingNow)
        if (int r = InvoiceStockCheck(invoice, &shortStock)) return r;
    if (postingNow && !InvoiceVoucher(invoice, 0)) return FieldError(Texts::VoucherNotBuilt, nullptr, Inv::SerNr);
    if (postingNow)
        if (int r = PendingVoucherStorable(Inv::SerNr, Inv::TransDate)) return r;
    InvoiceStockNotice(shortStock);
    return 0;
}

}  // namespace

// Checks an invoice before it is stored (mode 1 insert, 2 update; old
// the stored copy, or the record itself or null on insert). An invoice
// stored as posted may change only its free fields; any other is checked
// in full and gets back its entry serial number when refused. 0 accepts;
// else FieldError's -1 with the focus in FieldErrorPos.
int ValidateInvoice(uint8_t *invoice, const uint8_t *old, int mode) {
    assert(invoice);
    if (old == invoice) old = nullptr;
    if (mode == 2 && old && GetU16(old, Inv::Posted) == 1) return PostedInvoiceHeld(invoice, old);
    uint32_t entry = GetU32(invoice, Inv::SerNr);
    int r = UnpostedChecks(invoice, old, mode);
    if (r != 0) PutU32(invoice, Inv::SerNr, entry);
    return r;
}

// Rows of kind 0 become item rows (kind 1), written back into the rows.
void InvoiceRowKindsSettle(uint8_t *invoice) {
    assert(invoice);
    uint8_t row[Row::Size];
    int32_t count = MatrixRowCount(Inv::Number, 0, invoice);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(Inv::Number, invoice, i, row) ||
            DocRowKind(GetU16(row, Row::Kind)) != DocRowKind::Plain) continue;
        PutU16(row, Row::Kind, uint16_t(DocRowKind::Item));
        bool put = MatrixRowPut(Inv::Number, 0, invoice, i, row);
        assert(put);   // the row was just read: its place exists
        (void)put;
    }
}

// True when code is empty (the home currency) or a currency of block 172.
bool IsCurrencyCode(const uint8_t *code) {
    assert(code);
    if (code[0] == 0) return true;
    SettingsRows rows(CurrencyBlk::Number, &CurrencyRows, CurrencyBlk::Rows::Size);
    return SettingsRowWithCode(rows, CurrencyBlk::Rows::Code, code) >= 0;
}
