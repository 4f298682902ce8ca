// receipt_voucher.cpp - the voucher of a customer receipt (series 202),
// built in the pending voucher: the receivable of every paid invoice at
// the invoice's rate, payments on account, discounts with their VAT
// correction, fees, the exchange gains and losses between the invoices'
// rates and the receipt's, the further amount, the money received into
// the payment mode's account and a balancing row.
//
// Amounts of rows are in the receipt's currency: converted at the
// receipt's rate (100 when it has none), a receivable at its invoice's.
// The received and further amounts are in home currency already. Every
// account the voucher books must exist; a missing one fails the voucher
// and leaves the pending voucher empty. Every composed text is cut to the
// voucher's text field.
#include <cassert>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "core/pstring.h"
#include "core/system.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/customer_receipt.h"
#include "operations/voucher_text.h"
#include "rules/accounts.h"
#include "rules/ledger.h"
#include "rules/payment_kinds.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

namespace {

namespace Row = IPVc::Rows;
constexpr int AccountMax = 10;

// Fails the voucher: the pending voucher is left without rows.
bool Refuse() {
    PendingVoucherClear();
    return false;
}

// One voucher row on account (which must exist) with text, or the
// account's name when text is null; false when the account is missing.
bool Post(const uint8_t *account, const uint8_t *objects, const uint8_t *text, const PackedDecimal *amount, bool debit,
          PackedDecimal *running) {
    return FindNamedVoucherRow(PendingVoucher, account, objects, nullptr, text, amount, false, debit, running);
}

// The account of block 133 at offset (a PString of at most 10).
void BlockAccount(const uint8_t *accounts, uint32_t offset, uint8_t *account) {
    GetPString(accounts, offset, AccountMax, account);
}

// The voucher's text: for a receipt in a currency its code and rate, then
// the receipt's text.
void VoucherText(const uint8_t *receipt, uint8_t *text) {
    uint8_t part[256];
    text[0] = 0;
    AppendCurrencyRate(text, "", receipt, IPVc::CurncyCode, GetDec(receipt, IPVc::Rate));
    GetText(receipt, IPVc::Text, part);
    PStringAppendC(text, " ");
    PStringAppend(text, part);
    CutVoucherText(text);
}

// The payment mode of the receipt in block 131: the last row with the
// receipt's code, the first row when none has it. Codes are compared as
// stored (the receipt keeps two characters, the block one). false when
// the block has no rows.
bool PaymentMode(const uint8_t *receipt, uint8_t *account, uint8_t *text) {
    SettingsRows modes(PaymentModeBlk::Number, &PaymentModeRows, PaymentModeBlk::Rows::Size);
    if (modes.count == 0) return false;
    uint8_t code[256], rowCode[256];
    GetText(receipt, IPVc::PayMode, code);
    const uint8_t *chosen = modes.data;
    for (int32_t i = 0; i < modes.count; i++) {
        const uint8_t *mode = modes.data + (size_t)i * PaymentModeBlk::Rows::Size;
        GetText(mode, PaymentModeBlk::Rows::Code, rowCode);
        if (PStringEqual(rowCode, code)) chosen = mode;
    }
    GetText(chosen, PaymentModeBlk::Rows::Account, account);
    GetText(chosen, PaymentModeBlk::Rows::Name, text);
    return true;
}

// The running sums of one voucher.
struct Sums {
    PackedDecimal running, gains, losses;
};

// The discount's VAT part: amount x the open item's VAT / its invoiced
// amount, to cents; zero without an open item or an invoiced amount.
void DiscountVat(uint32_t serial, const PackedDecimal *amount, PackedDecimal *vat) {
    DecSetZero(vat);
    RuleRecord item(ARVc::Number);
    uint32_t recid = 0;
    if (!ReceiptOpenItemRead(serial, item, &recid)) return;
    PackedDecimal part = GetDec(item.record, ARVc::VatAmount), invoiced = GetDec(item.record, ARVc::InvAmount), product;
    if (DecIsZero(&part) || DecIsZero(&invoiced)) return;
    DecMul(amount, &part, &product);
    DecDiv(&product, &invoiced, vat);
    DecRound(vat, 2, vat);
}

// The rows of one counted row: false when an account is missing.
bool PostRow(const uint8_t *receipt, const uint8_t *row, const uint8_t *accounts, Sums *s) {
    PackedDecimal amount = GetDec(row, Row::Amount), rate = ReceiptRate(receipt), converted;
    if (DecIsBlank(&amount)) DecSetZero(&amount);
    AmountTimesRate(&amount, &rate, &converted);
    uint8_t text[256], part[256], account[256];
    uint32_t serial = GetU32(row, Row::InvoiceNr);
    const PaidRowKind kind = PaidRowKind(GetU16(row, Row::Kind));
    if (serial == SerialNone) {
        // A payment on account: the customer and the row's text.
        GetText(row, Row::CustCode, text);
        PStringAppendC(text, " ");
        GetText(row, Row::Text, part);
        PStringAppend(text, part);
        CutVoucherText(text);
        if (kind != PaidRowKind::Paid) return true;   // the checks refuse such rows
        BlockAccount(accounts, SalesAccountsBlk::OnAccountAcc, account);
        return Post(account, nullptr, text, &converted, false, &s->running);
    }
    RuleRecord invoice(IVVc::Number);
    if (!ReceiptInvoiceRead(serial, invoice)) return true;   // posts nothing for the row
    LongToDigitText((int32_t)serial, text);
    uint8_t currency[256], invoiceCurrency[256];
    GetText(receipt, IPVc::CurncyCode, currency);
    GetText(invoice.record, IVVc::CurncyCode, invoiceCurrency);
    if (PStringEqual(currency, invoiceCurrency)) {
        uint8_t objects[256] = {0};
        if (GetU16(accounts, SalesAccountsBlk::ARObjects) != 0) {
            RuleRecord customer(CUVc::Number);
            GetText(invoice.record, IVVc::CustCode, part);
            if (ReceiptCustomerRead(part, customer)) GetText(customer.record, CUVc::Objects, objects);
        }
        PackedDecimal invoiceRate = GetDec(invoice.record, IVVc::Rate), booked, difference;
        AmountTimesRate(&amount, &invoiceRate, &booked);
        GetText(invoice.record, IVVc::ARAcc, account);
        if (!Post(account, objects, text, &booked, false, &s->running)) return false;
        DecSub(&booked, &converted, &difference);
        if (DecIsNegative(&difference)) DecAdd(&s->gains, &difference, &s->gains);
        else if (!DecIsZero(&difference)) DecAdd(&s->losses, &difference, &s->losses);
    }
    if (DecIsZero(&amount)) return true;
    if (kind == PaidRowKind::Discount) {
        BlockAccount(accounts, SalesAccountsBlk::DiscAcc, account);
        if (!Post(account, nullptr, nullptr, &converted, true, &s->running)) return false;
        uint8_t vatAccount[256], clearing[256];
        BlockAccount(accounts, SalesAccountsBlk::DiscVatAcc, vatAccount);
        if (vatAccount[0] == 0) return true;
        PackedDecimal vat;
        DiscountVat(serial, &converted, &vat);
        if (DecIsZero(&vat)) return true;
        BlockAccount(accounts, SalesAccountsBlk::VatClearAcc, clearing);
        if (clearing[0] == 0) PStringCopy(clearing, account);
        return Post(vatAccount, nullptr, nullptr, &vat, true, &s->running) &&
               Post(clearing, nullptr, nullptr, &vat, false, &s->running);
    }
    if (kind == PaidRowKind::Fee) {
        BlockAccount(accounts, SalesAccountsBlk::FeeAcc, account);
        return Post(account, nullptr, nullptr, &converted, true, &s->running);
    }
    return true;
}

}  // namespace

// Builds the receipt's voucher in the pending voucher (steps in the file
// comment). true when built or not wanted; false when it cannot be made.
bool ReceiptPosting(uint8_t *receipt, int force) {
    assert(receipt);
    if (!PendingVoucher) return false;
    PendingVoucherClear();
    DateRec transDate = GetDate(receipt, IPVc::TransDate);
    if (force == 0 && !VoucherDueOn(PostingBlk::PostReceipts, PostingBlk::ReceiptStart, transDate)) return true;
    const uint8_t *accounts = SettingsRecord(SalesAccountsBlk::Number, SalesAccountsBlock);
    if (!accounts) return Refuse();

    if (!PendingVoucherHead(YearCodeReceipt, GetU32(receipt, IPVc::SerNr), transDate, force == 0)) return Refuse();
    uint8_t text[256], account[256];
    VoucherText(receipt, text);
    PutText(PendingVoucher, Voucher::Text, text);

    Sums s;
    DecSetZero(&s.running);
    DecSetZero(&s.gains);
    DecSetZero(&s.losses);
    uint8_t row[Row::Size];
    int32_t count = MatrixRowCount(IPVc::Number, 0, receipt);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(IPVc::Number, receipt, i, row)) return Refuse();
        if (ReceiptRowCounts(row) && !PostRow(receipt, row, accounts, &s)) return Refuse();
    }
    // A gain is a negative sum: booked on the debit side it credits.
    if (DecIsNegative(&s.gains)) {
        BlockAccount(accounts, SalesAccountsBlk::ExchGainAcc, account);
        if (!Post(account, nullptr, nullptr, &s.gains, true, &s.running)) return Refuse();
    }
    if (!DecIsZero(&s.losses)) {
        BlockAccount(accounts, SalesAccountsBlk::ExchLossAcc, account);
        if (!Post(account, nullptr, nullptr, &s.losses, true, &s.running)) return Refuse();
    }
    PackedDecimal further = GetDec(receipt, IPVc::FurtherAmount);
    if (!DecIsZero(&further)) {
        BlockAccount(accounts, SalesAccountsBlk::FurtherAcc, account);
        if (!Post(account, nullptr, nullptr, &further, true, &s.running)) return Refuse();
    }
    PackedDecimal received = GetDec(receipt, IPVc::AmountRec);
    if (!DecIsZero(&received)) {
        uint8_t modeText[256];
        if (!PaymentMode(receipt, account, modeText) || !Post(account, nullptr, modeText, &received, true, &s.running))
            return Refuse();
    }
    if (!DecIsZero(&s.running)) {
        BlockAccount(accounts, SalesAccountsBlk::RcptBalanceAcc, account);
        PackedDecimal rest = s.running;
        if (!Post(account, nullptr, nullptr, &rest, false, &s.running)) return Refuse();
    }
    return true;
}
