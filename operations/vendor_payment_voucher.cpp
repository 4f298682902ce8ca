// vendor_payment_voucher.cpp - the voucher of an outgoing payment (series
// 204), built in the pending voucher: each paid invoice debited to its
// creditor account, payments on account to the prepayment account,
// discounts taken with their VAT correction, exchange differences (per
// invoice when the payment is in the invoice's currency, else once on the
// whole), bank charges, the money leaving the payment mode's account and
// a balancing row on the payment-difference account.
//
// Row amounts are in the payment's currency, converted at its rate (100
// when it has none); a creditor paid in the invoice's own currency is
// debited at the invoice's rate. The bank amount and charges are in home
// currency. Every account named by block 155 and the payment mode's
// account must exist, else the build fails and leaves no rows. Composed
// texts are cut to the voucher's 60 characters.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/purchase_ledger.h"
#include "operations/voucher_text.h"
#include "rules/accounts.h"
#include "rules/ledger.h"
#include "rules/payment_kinds.h"
#include "rules/rules_types.h"
#include "rules/settings_row_find.h"
#include "rules/vat_currency.h"

namespace {

namespace OP = OPVc;
namespace Row = OPVc::Rows;
namespace VA = PurchAccountsBlk;
constexpr int TextMax = 60, AccountMax = 10;

int Refuse() {
    PendingVoucherClear();
    return 0;
}

// One row on the account at offset of block 155 (which must exist), with
// text or the account's name; false when the account is missing.
bool PostBlock(const uint8_t *accounts, uint32_t offset, const uint8_t *objects, const uint8_t *text,
               const PackedDecimal *amount, bool merge, bool debit, PackedDecimal *running) {
    uint8_t account[256];
    GetPString(accounts, offset, AccountMax, account);
    return FindNamedVoucherRow(PendingVoucher, account, objects, nullptr, text, amount, merge, debit, running);
}

// The payment mode of the payment: the row with its code, else the first.
bool PaymentModeRow(const uint8_t *payment, uint8_t *account, uint8_t *name) {
    SettingsRows modes(PaymentModeBlk::Number, &PaymentModeRows, PaymentModeBlk::Rows::Size);
    if (modes.count == 0) return false;
    uint8_t code[256];
    GetText(payment, OP::PayMode, code);
    int32_t at = SettingsRowWithCode(modes, PaymentModeBlk::Rows::Code, code);
    const uint8_t *chosen = modes.data + (size_t)(at < 0 ? 0 : at) * modes.rowSize;
    GetText(chosen, PaymentModeBlk::Rows::Account, account);
    GetText(chosen, PaymentModeBlk::Rows::Name, name);
    return true;
}

struct Build {
    const uint8_t *payment, *accounts;
    PackedDecimal rate, running;
    uint8_t vendorText[256] = {0};
};

// The discount's VAT correction of a discount row on invoice.
bool DiscountVat(Build &b, const uint8_t *invoice, const PackedDecimal *amount) {
    uint8_t account[256];
    GetText(b.accounts, VA::DiscVatDebitAcc, account);
    if (account[0] == 0) return true;
    PackedDecimal vat = GetDec(invoice, VIVc::VatEntered), total = GetDec(invoice, VIVc::InvAmount);
    if (DecIsBlank(&vat)) vat = GetDec(invoice, VIVc::VatComputed);
    if (DecIsZero(&vat) || DecIsZero(&total)) return true;
    PackedDecimal product, share, converted;
    DecMul(amount, &vat, &product);
    DecDiv(&product, &total, &share);
    DecRound(&share, 2, &share);
    AmountTimesRate(&share, &b.rate, &converted);
    return PostBlock(b.accounts, VA::DiscVatDebitAcc, nullptr, nullptr, &converted, true, true, &b.running) &&
           PostBlock(b.accounts, VA::DiscVatCreditAcc, nullptr, nullptr, &converted, false, false, &b.running);
}

// The rows of one counted row; false when an account is missing.
bool PostRow(Build &b, const uint8_t *row) {
    uint8_t code[256], objects[256] = {0}, text[256];
    GetText(row, Row::VendCode, code);
    RuleRecord vendor(VEVc::Number);
    if (VendorRead(code, vendor)) {
        if (b.vendorText[0] == 0) {
            PStringCopy(b.vendorText, code);
            PStringAppendC(b.vendorText, "  ");
            GetText(vendor.record, VEVc::Name, text);
            PStringAppend(b.vendorText, text);
        }
        if (GetU16(b.accounts, VA::CopyVendText) != 0) GetText(vendor.record, VEVc::Objects, objects);
    }
    PackedDecimal amount = GetDec(row, Row::Amount), converted;
    if (DecIsBlank(&amount)) DecSetZero(&amount);
    AmountTimesRate(&amount, &b.rate, &converted);
    uint32_t serial = GetU32(row, Row::InvoiceNr);
    if (serial == SerialNone) {
        if (PaidRowKind(GetU16(row, Row::Kind)) != PaidRowKind::Paid) return true;   // the checks refuse such rows
        return PostBlock(b.accounts, VA::PrepayAcc, objects, nullptr, &converted, false, true, &b.running);
    }
    RuleRecord invoice(VIVc::Number);
    if (!PurchaseInvoiceRead(serial, invoice)) return true;
    LongToDigitText((int32_t)serial, text);
    uint8_t creditor[256], currency[256], invoiceCurrency[256];
    GetText(invoice.record, VIVc::CredAcc, creditor);
    if (creditor[0] == 0) GetText(b.accounts, VA::CreditorAcc, creditor);
    GetText(b.payment, OP::CurncyCode, currency);
    GetText(invoice.record, VIVc::CurncyCode, invoiceCurrency);
    if (!PStringEqual(currency, invoiceCurrency)) {
        FindVoucherRow(PendingVoucher, creditor, objects, (const uint8_t *)"", text, &converted, false, true,
                       &b.running);
    } else {
        PackedDecimal invoiceRate = RatePer100(invoice.record, VIVc::Rate), booked, difference;
        AmountTimesRate(&amount, &invoiceRate, &booked);
        FindVoucherRow(PendingVoucher, creditor, objects, (const uint8_t *)"", text, &booked, false, true, &b.running);
        DecSub(&booked, &converted, &difference);
        if (!DecIsZero(&difference)) {
            bool gain = !DecIsNegative(&difference);
            PackedDecimal magnitude = difference;
            if (!gain) DecNegateInto(&difference, &magnitude);
            if (!PostBlock(b.accounts, gain ? VA::ExchGainAcc : VA::ExchLossAcc, nullptr, nullptr, &magnitude, true,
                           !gain, &b.running))
                return false;
        }
    }
    if (PaidRowKind(GetU16(row, Row::Kind)) != PaidRowKind::Discount) return true;
    return PostBlock(b.accounts, VA::DiscRecAcc, nullptr, nullptr, &converted, false, false, &b.running) &&
           DiscountVat(b, invoice.record, &amount);
}

}  // namespace

// Builds the payment's voucher; see the file comment.
int PostVendorPayment(uint8_t *payment, int force) {
    assert(payment);
    if (!PendingVoucher) return 0;
    const uint8_t *accounts = SettingsRecord(PurchAccountsBlk::Number, VendorAccountsBlock);
    PendingVoucherClear();
    DateRec date = GetDate(payment, OP::PayDate);
    if (force == 0 && !VoucherDueOn(PostingBlk::PostPayments, PostingBlk::PaymentStart, date)) return 1;
    if (!accounts) return Refuse();
    if (!PendingVoucherHead(YearCodeVendorPayment, GetU32(payment, OP::SerNr), date, force == 0)) return Refuse();
    uint8_t text[256], part[256];
    text[0] = 0;
    AppendCurrencyRate(text, "", payment, OP::CurncyCode, GetDec(payment, OP::Rate));

    Build b{payment, accounts, RatePer100(payment, OP::Rate), {}};
    DecSetZero(&b.running);
    uint8_t row[Row::Size];
    int32_t count = MatrixRowCount(OP::Number, 0, payment);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(OP::Number, payment, i, row)) return Refuse();
        if (PaymentRowCounts(row) && !PostRow(b, row)) return Refuse();
    }
    PackedDecimal charges = GetDec(payment, OP::BankCharges), bank = GetDec(payment, OP::HomeTotal);
    if (DecIsBlank(&charges)) DecSetZero(&charges);
    if (DecIsBlank(&bank)) DecSetZero(&bank);
    if (!DecIsZero(&charges) &&
        !PostBlock(accounts, VA::BankChargeAcc, nullptr, nullptr, &charges, false, true, &b.running))
        return Refuse();
    uint8_t account[256], name[256];
    if (!PaymentModeRow(payment, account, name) || !AccountNameOf(account, part, TextMax)) return Refuse();
    FindVoucherRow(PendingVoucher, account, (const uint8_t *)"", (const uint8_t *)"", name, &bank, false, false,
                   &b.running);
    PackedDecimal total = GetDec(payment, OP::RowsTotal), converted, difference;
    if (DecIsBlank(&total)) DecSetZero(&total);
    AmountTimesRate(&total, &b.rate, &converted);
    DecAdd(&converted, &charges, &difference);
    DecSub(&difference, &bank, &difference);
    if (!DecIsZero(&difference)) {
        PackedDecimal negated;
        DecNegateInto(&difference, &negated);
        uint32_t at = DecIsNegative(&difference) ? VA::ExchLossAcc : VA::ExchGainAcc;
        if (!PostBlock(accounts, at, nullptr, nullptr, &negated, true, true, &b.running)) return Refuse();
    }
    VoucherRowsBalance(PendingVoucher);
    PackedDecimal balance = GetDec(PendingVoucher, Voucher::Balance);
    if (!DecIsZero(&balance)) {
        PackedDecimal negated;
        DecNegateInto(&balance, &negated);
        if (!PostBlock(accounts, VA::PayDiffAcc, nullptr, nullptr, &negated, true, true, &b.running)) return Refuse();
        VoucherRowsBalance(PendingVoucher);
    }
    if (b.vendorText[0] != 0) {
        uint8_t composed[512];
        PStringCopy(composed, b.vendorText);
        if (text[0] != 0) {
            PStringAppendC(composed, "  ");
            PStringAppend(composed, text);
        }
        PStringCopy(text, composed);
    }
    CutVoucherText(text);
    PutText(PendingVoucher, Voucher::Text, text);
    return 1;
}
