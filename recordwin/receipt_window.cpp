// receipt_window.cpp - the customer-receipt window (type 41): its event
// handler and what leaving a header field or a row cell does.
//
// A paid invoice typed into a row fills the row from the invoice and its
// open item: the customer, the receipt's date and the amount still open
// after the receipt's other rows for that invoice, less the cash discount
// when the receipt's date lies within the discount terms; the discount
// then gets a row of its own (kind 5) below. The first row's invoice sets
// the receipt's currency; a later row in another currency is told. Rows
// are copied out, changed and put back, so no lock on the rows is held
// while rows are inserted or deleted. Row cells are named by their byte
// in the row, columns by their place (see dict/win_receipts.dict).
#include <cassert>
#include <cstring>

#include "core/date.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/customer_receipt.h"
#include "recordwin/receipt_window.h"
#include "recordwin/record_windows.h"
#include "recordwin/window_rows.h"
#include "rules/payment_kinds.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"
#include "shell/field_editing.h"
#include "shell/list_windows.h"
#include "shell/matrix_editing.h"
#include "shell/window_events.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

namespace Row = IPVc::Rows;

constexpr int ColInvoice = 0, ColCustomer = 1, ColAmount = 3, ColPayDate = 4;
constexpr int CodeMax = 20, NameMax = 60;

bool Posted(const uint8_t *receipt) { return receipt && GetU16(receipt, IPVc::Posted) != 0; }

// The posted flag that closes the window: the stored copy's while a
// stored receipt is changed, the shown one's while it is viewed. A new
// receipt is open whatever its box says: ticking Posted must not lock
// the fields still to be typed.
bool Closed(int window) {
    switch (WinRecState(window)) {
    case 0: return Posted(WinRecordBuffer(window));
    case 2: return Posted(WinStoredRecord(window));
    default: return false;
    }
}

// Row `row` of the window's receipt into buf; false outside the rows.
bool ReadRow(int window, int row, uint8_t *buf) {
    return row >= 0 && MatrixRowRead(IPVc::Number, WinRecordBuffer(window), row, buf);
}

// Puts buf back as row `row` and redraws it.
void PutRow(int window, int row, const uint8_t *buf) {
    if (!MatrixRowPut(IPVc::Number, 0, WinRecordBuffer(window), row, buf)) return;
    for (uint32_t cell : std::initializer_list<uint32_t>{Row::InvoiceNr, Row::CustCode, uint32_t(Row::Text), Row::Amount, Row::PayDate, Row::Kind})
        WinMatrixDrawRow(window, row, cell, 0);
}

// What an invoice and its open item offer a row: whether each was found,
// the customer's code and name, the open amount and the cash discount.
struct InvoiceOffer {
    bool invoice = false, openItem = false;
    uint8_t customer[256] = {0}, name[256] = {0}, currency[256] = {0};
    PackedDecimal open{}, discountPct{};
    DateRec discountDate{};
};

// Reads what invoice serial offers; beeps when it is unknown.
InvoiceOffer OfferOf(uint32_t serial) {
    InvoiceOffer o;
    DecSetZero(&o.open);
    DecSetBlank(&o.discountPct);
    RuleRecord invoice(IVVc::Number), item(ARVc::Number);
    o.invoice = ReceiptInvoiceRead(serial, invoice);
    if (!o.invoice) {
        Beep();
        return o;
    }
    GetText(invoice.record, IVVc::CustCode, o.customer);
    GetText(invoice.record, IVVc::Addr0, o.name);
    GetText(invoice.record, IVVc::CurncyCode, o.currency);
    o.discountPct = GetDec(invoice.record, IVVc::CashDiscPct);
    uint32_t recid = 0;
    o.openItem = ReceiptOpenItemRead(serial, item, &recid);
    if (o.openItem) {
        o.open = GetDec(item.record, ARVc::OpenAmount);
        o.discountDate = GetDate(item.record, ARVc::CashDiscDate);
    }
    return o;
}

// The cash discount on remaining when the receipt's date lies within the
// terms: to cents, then to whole units. An open item without a discount
// date gives none (as the payment window rules).
PackedDecimal CashDiscount(const InvoiceOffer &o, const uint8_t *receipt, const PackedDecimal *remaining) {
    PackedDecimal discount;
    DecSetZero(&discount);
    DateRec date = GetDate(receipt, IPVc::TransDate);
    if (DecIsZero(&o.discountPct) || !o.openItem || o.discountDate.year == 0) return discount;
    if (DateDiffDays(&o.discountDate, &date) < 0) return discount;
    PackedDecimal product, hundred;
    DecFromLong(&hundred, 100);
    DecMul(remaining, &o.discountPct, &product);
    DecDiv(&product, &hundred, &discount);
    DecRound(&discount, 2, &discount);
    DecRound(&discount, 0, &discount);
    return discount;
}

// Inserts a row of kind below `row` (at the end when `row` is the last),
// for invoice serial with the offer's customer, and amount; false when
// the rows could not grow.
bool InsertRowBelow(int window, int row, uint16_t kind, uint32_t serial, const InvoiceOffer &o,
                    const PackedDecimal *amount) {
    int at = row + 1, count = WinMatrixRowCount(window);
    if (at < count) {
        WinMatrixInsertRow(window, at, kind);
        if (WinMatrixRowCount(window) != count + 1) return false;
    } else if (!MatrixResize(window, count + 1)) {
        return false;
    }
    uint8_t r[Row::Size] = {};
    PutU16(r, Row::Kind, kind);
    PutU32(r, Row::InvoiceNr, serial);
    PutText(r, Row::CustCode, o.customer);
    PutText(r, Row::Text, o.name);
    PutDate(r, Row::PayDate, GetDate(WinRecordBuffer(window), IPVc::TransDate));
    PutDec(r, Row::Amount, *amount);
    PutU32(r, Row::Link, SerialNone);
    PutRow(window, at, r);
    WinMarkChanged(window);
    return true;
}

// The amount still open on serial after the receipt's other rows; zero
// when it has no open item.
PackedDecimal RemainingOf(const InvoiceOffer &o, const PackedDecimal *other) {
    PackedDecimal remaining;
    DecSetZero(&remaining);
    if (o.openItem) DecSub(&o.open, other, &remaining);
    return remaining;
}

// The offer of row r's invoice (serial), its customer and name put into
// r when the invoice is found, and what the receipt's other rows pay on
// it into *other: the row's own amount is taken out where the sum
// counted it.
InvoiceOffer OfferIntoRow(const uint8_t *receipt, uint8_t *r, uint32_t serial, PackedDecimal *other) {
    ReceiptOtherRowsSum(receipt, serial, other);
    PackedDecimal own = GetDec(r, Row::Amount);
    if (ReceiptRowCounts(r) && !DecIsBlank(&own)) DecSub(other, &own, other);   // the row is not yet the invoice's
    InvoiceOffer o = OfferOf(serial);
    if (o.invoice) {
        PutText(r, Row::CustCode, o.customer);
        PutText(r, Row::Text, o.name);
    }
    return o;
}

// Proposes in paid-invoice row r (number `row`) what is left to pay on
// its invoice after the other rows, less the cash discount due on it,
// with the discount in a row of its own below.
void RemainingLessDiscountPut(int window, int row, uint8_t *r, uint32_t serial, const InvoiceOffer &o,
                              const PackedDecimal *other) {
    PackedDecimal remaining = RemainingOf(o, other),
                  discount = CashDiscount(o, WinRecordBuffer(window), &remaining);
    DecSub(&remaining, &discount, &remaining);
    PutDec(r, Row::Amount, remaining);
    PutRow(window, row, r);
    if (!DecIsZero(&discount)) (void)InsertRowBelow(window, row, uint16_t(PaidRowKind::Discount), serial, o, &discount);
}

// A paid invoice typed into row r (number `row`): the customer, the date,
// what is left to pay and, within the discount terms, a discount row.
void InvoicePaymentFill(int window, int row, uint8_t *r) {
    uint8_t *receipt = WinRecordBuffer(window);
    uint32_t serial = GetU32(r, Row::InvoiceNr);
    PackedDecimal other;
    InvoiceOffer o = OfferIntoRow(receipt, r, serial, &other);
    if (o.invoice) {
        uint8_t mine[256];
        GetText(receipt, IPVc::CurncyCode, mine);
        if (!PStringEqual(o.currency, mine)) {
            if (row == 0) {
                PutText(receipt, IPVc::CurncyCode, o.currency);
                WinRedrawFieldById(window, int(IPVc::CurncyCode));
                ReceiptRateRefresh(window, receipt);
            } else {
                ShowTextMessage(Texts::CurrencyDiffers);
            }
        }
    }
    PutDate(r, Row::PayDate, GetDate(receipt, IPVc::TransDate));
    RemainingLessDiscountPut(window, row, r, serial, o, &other);
}

// A payment on account: the customer typed into a row without invoice.
void OnAccountFill(int window, int row, uint8_t *r) {
    uint8_t code[256];
    GetText(r, Row::CustCode, code);
    RuleRecord customer(CUVc::Number);
    if (!ReceiptCustomerRead(code, customer)) {
        Beep();
        return;
    }
    uint8_t name[256];
    GetText(customer.record, CUVc::Name, name);
    PutText(r, Row::Text, name);
    PutDate(r, Row::PayDate, GetDate(WinRecordBuffer(window), IPVc::TransDate));
    PackedDecimal zero;
    DecSetZero(&zero);
    PutDec(r, Row::Amount, zero);
    PutRow(window, row, r);
}

// The amount of a paid-invoice row emptied: proposed as what is left
// after the other rows (the row's own, blank, adds nothing) less the
// discount, with a discount row below. An amount typed is kept.
void AmountProposal(int window, int row, uint8_t *r) {
    uint8_t *receipt = WinRecordBuffer(window);
    uint32_t serial = GetU32(r, Row::InvoiceNr);
    PackedDecimal other, own = GetDec(r, Row::Amount);
    RuleRecord invoice(IVVc::Number);
    if (!DecIsBlank(&own) || !ReceiptInvoiceRead(serial, invoice)) return;
    ReceiptOtherRowsSum(receipt, serial, &other);
    InvoiceOffer o = OfferOf(serial);
    RemainingLessDiscountPut(window, row, r, serial, o, &other);
}

// A discount or fee row given its invoice: the customer, the date and
// what is open on the invoice after the other rows.
void DiscountOrFeeFill(int window, int row, uint8_t *r) {
    uint8_t *receipt = WinRecordBuffer(window);
    uint32_t serial = GetU32(r, Row::InvoiceNr);
    PackedDecimal other;
    InvoiceOffer o = OfferIntoRow(receipt, r, serial, &other);
    PutDate(r, Row::PayDate, GetDate(receipt, IPVc::TransDate));
    if (o.openItem) {
        PackedDecimal remaining = RemainingOf(o, &other);
        PutDec(r, Row::Amount, remaining);
    }
    PutRow(window, row, r);
}

// The row cell shown by screen field F was left.
void RowCellLeft(int window, int F, uint8_t changed) {
    int row = 0, column = 0;
    MatrixRowAt(window, F, &row, &column);
    uint8_t r[Row::Size], next[Row::Size];
    if (!changed || !ReadRow(window, row, r)) return;
    // A row typed into without a kind is a paid-invoice row.
    if (GetU16(r, Row::Kind) == 0) {
        PutU16(r, Row::Kind, uint16_t(PaidRowKind::Paid));
        PutRow(window, row, r);
    }
    const PaidRowKind kind = PaidRowKind(GetU16(r, Row::Kind));
    bool hasNext = ReadRow(window, row + 1, next);
    bool nextDiscount = hasNext && PaidRowKind(GetU16(next, Row::Kind)) == PaidRowKind::Discount;
    if (kind == PaidRowKind::Paid) {
        switch (column) {
        case ColInvoice: InvoicePaymentFill(window, row, r); break;
        case ColCustomer:
            if (GetU32(r, Row::InvoiceNr) != SerialNone) return;
            OnAccountFill(window, row, r);
            break;
        case ColAmount:
            if (nextDiscount) return;
            AmountProposal(window, row, r);
            break;
        case ColPayDate:
            if (!nextDiscount || GetU32(next, Row::InvoiceNr) != GetU32(r, Row::InvoiceNr)) return;
            MatrixDeleteRow(window, row + 1);
            WinMarkChanged(window);
            break;
        default: return;
        }
    } else if (kind == PaidRowKind::Discount || kind == PaidRowKind::Fee) {
        if (column == ColInvoice) DiscountOrFeeFill(window, row, r);
        else if (column != ColAmount) return;
    } else {
        return;
    }
    ReceiptTotalsRefresh(window);
}

// The payment mode's text from block 131: the row of the receipt's code,
// else the first row. Nothing when the block has no rows.
void PaymentModeText(int window) {
    uint8_t *receipt = WinRecordBuffer(window);
    SettingsRows modes(PaymentModeBlk::Number, &PaymentModeRows, PaymentModeBlk::Rows::Size);
    if (modes.count == 0) return;
    uint8_t code[256], rowCode[256], text[256];
    GetText(receipt, IPVc::PayMode, code);
    const uint8_t *chosen = modes.data;
    for (int32_t i = 0; i < modes.count && code[0] != 0; i++) {
        const uint8_t *mode = modes.data + (size_t)i * PaymentModeBlk::Rows::Size;
        GetText(mode, PaymentModeBlk::Rows::Code, rowCode);
        if (PStringEqual(rowCode, code)) {
            chosen = mode;
            break;
        }
    }
    GetText(chosen, PaymentModeBlk::Rows::Name, text);
    PutText(receipt, IPVc::Text, text);
    WinRedrawFieldById(window, int(IPVc::Text));
}

// The rate that makes the rows' total, less the further amount, the
// amount received; left as it is when the rows total nothing (a blank
// rate would later count as 100).
void RateFromAmount(int window) {
    uint8_t *receipt = WinRecordBuffer(window);
    PackedDecimal received = GetDec(receipt, IPVc::AmountRec), further = GetDec(receipt, IPVc::FurtherAmount),
                  total = GetDec(receipt, IPVc::Total), net, hundred, rate;
    if (DecIsZero(&total)) return;
    if (DecIsBlank(&received)) DecSetZero(&received);
    if (DecIsBlank(&further)) DecSetZero(&further);
    DecSub(&received, &further, &net);
    DecFromLong(&hundred, 100);
    DecMul(&net, &hundred, &net);
    DecDiv(&net, &total, &rate);
    DecRound(&rate, 2, &rate);
    PutDec(receipt, IPVc::Rate, rate);
    WinRedrawFieldById(window, int(IPVc::Rate));
}

// A header field at byte `id` was left.
void HeaderFieldLeft(int window, int id, uint8_t changed) {
    uint8_t *receipt = WinRecordBuffer(window);
    switch (id) {
    case IPVc::PayMode:
        if (changed) PaymentModeText(window);
        return;
    case IPVc::AmountRec:
        if (changed) RateFromAmount(window);
        return;
    case IPVc::TransDate: {
        DateRec date = GetDate(receipt, IPVc::TransDate);
        if (IsDateLockedSecondary(&date, IPVc::Number)) ShowTextMessage(Texts::DateLockedSecondary);
        if (changed) ReceiptRateRefresh(window, receipt);
        return;
    }
    case IPVc::CurncyCode:
        if (changed) ReceiptRateRefresh(window, receipt);
        return;
    case IPVc::Rate:
    case IPVc::FurtherAmount:
        if (changed) ReceiptTotalsRefresh(window);
        return;
    default: return;
    }
}

// Event 3: a new row has no payment date (its year word 0) and its days
// overdue unknown (all ones).
void RowDefaults(uint8_t *rows, int row) {
    if (!rows || row < 0) return;
    uint8_t *r = rows + uint32_t(row) * Row::Size;
    PutDate(r, Row::PayDate, DateRec{});
    PutU32(r, Row::Link, SerialNone);
}

}  // namespace

// Buttons 1 and 2 add a discount or a fee row after the current row (in
// its place when it names no invoice), filled for the invoice of the row
// above it. The focus returns where it was. (A receipt has no conversion
// of its own: converting it in place would change nothing of it.)
void Win41Button(int window, int button) {
    if (!WinIsOpen(window) || (button < 1 || button > 2)) return;
    int row = WinCurrentRow(window);
    if (row < 0) return;
    int field = WinFocusFieldNumber(window);
    WinCommitField(window);
    if (!WinIsOpen(window)) return;
    uint8_t r[Row::Size], above[Row::Size];
    int place = ReadRow(window, row, r) && GetU32(r, Row::InvoiceNr) == SerialNone ? row : row + 1;
    uint16_t kind = uint16_t(button == 1 ? PaidRowKind::Discount : PaidRowKind::Fee);
    if (WinRowInsertAt(window, place, kind) && ReadRow(window, place, r)) {
        std::memset(r, 0, sizeof r);
        PutU16(r, Row::Kind, kind);
        PutU32(r, Row::InvoiceNr, SerialNone);
        PutU32(r, Row::Link, SerialNone);
        PutRow(window, place, r);
        if (place > 0 && ReadRow(window, place - 1, above) && GetU32(above, Row::InvoiceNr) != SerialNone) {
            PutU32(r, Row::InvoiceNr, GetU32(above, Row::InvoiceNr));
            DiscountOrFeeFill(window, place, r);
        }
        WinMarkChanged(window);
        ReceiptTotalsRefresh(window);
    }
    if (WinIsOpen(window) && field > 0) WinGotoField(window, field, true);
}

// Screen field `field` of the receipt window was left: a header field
// carries its value on, a row cell fills its row as the table of row
// steps says.
void ReceiptFieldLeave(int window, int field, uint8_t changed) {
    if (!WinIsOpen(window)) return;
    FieldChangedSplit(window, field, changed, HeaderFieldLeft, RowCellLeft);
}

// Window type 41's event handler. A posted receipt is closed: it cannot
// be edited, nor its rows inserted or deleted.
uint8_t Win41Event(int window, int event, void *a, void *b) {
    if (!WinIsOpen(window)) return 0;
    switch (WindowEventCode(event)) {
    case WindowEventCode::MayEditField:
    case WindowEventCode::MayDeleteRow:
    case WindowEventCode::MayInsertRow: return Closed(window) ? 0 : 1;
    case WindowEventCode::RowDefaults:
        if (a && b) RowDefaults(static_cast<uint8_t *>(a), *static_cast<const int16_t *>(b));
        return 1;
    case WindowEventCode::FieldChanged:
        if (a && b) ReceiptFieldLeave(window, *static_cast<const int16_t *>(a), *static_cast<const uint8_t *>(b));
        return 1;
    case WindowEventCode::RowsChanged: ReceiptTotalsRefresh(window); return 1;
    case WindowEventCode::RecordOpen: return Posted(WinRecordBuffer(window)) ? 0 : 1;
    default: return 1;
    }
}

void ReceiptInvoiceChoiceLimit(int list, int window) {
    int F = WinTable[window]->currentField, row = 0, column = 0;
    int first = 0, cells = 0;
    MatrixGeometry(window, &first, &cells);
    if (F < first || first <= 0) return;
    MatrixRowAt(window, F, &row, &column);
    uint8_t r[Row::Size], code[256], label[256];
    if (column != ColInvoice || !ReadRow(window, row, r)) return;
    GetText(r, Row::CustCode, code);
    if (code[0] == 0) return;
    PStringCopy(label, code);
    RuleRecord customer(CUVc::Number);
    if (ReceiptCustomerRead(code, customer)) {
        uint8_t name[256];
        GetText(customer.record, CUVc::Name, name);
        PStringAppendC(label, " ");
        PStringAppend(label, name);
    }
    (void)ListFilterSet(list, "CustCode", code, label);
}
