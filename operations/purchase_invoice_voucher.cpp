// purchase_invoice_voucher.cpp - the voucher of a purchase invoice, built
// in the pending voucher: series 203 for an approved invoice, 210 for a
// preliminary one booked on the preliminary account.
//
// Every amount is converted at the invoice's rate (100 when it has none).
// The account rows are debited with their own VAT codes; the VAT of each
// code of block 208 goes to the code's input VAT account; an entered VAT
// that differs from the computed one books the difference on the first
// VAT account; VAT treatment 1 offsets the VAT on block 155's account; the
// creditor (the payment mode's account for a cash invoice) is credited
// with the total; what is left goes to block 133's rounding account. A
// credit note swaps debit and credit throughout. An approved invoice that
// had a preliminary voucher carries that voucher's rows reversed, so the
// two book the vendor and the costs once. Composed texts are cut to the
// voucher's 60 characters.
#include <cassert>
#include <vector>

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
#include "rules/invoice_kind.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"
#include "rules/settings_row_find.h"
#include "rules/vat_currency.h"

namespace {

namespace PI = VIVc;
namespace Row = VIVc::Rows;

// Fails the voucher: the pending voucher is left without rows.
int Refuse() {
    PendingVoucherClear();
    return 0;
}

// One row on account, which must exist, with text or the account's name.
bool Post(const uint8_t *account, const uint8_t *objects, const uint8_t *text, const PackedDecimal *amount, bool merge,
          bool debit, PackedDecimal *running) {
    return FindNamedVoucherRow(PendingVoucher, account, objects, nullptr, text, amount, merge, debit, running);
}

// The creditor account of step 9 and whether it carries the objects.
void CreditorAccount(const uint8_t *invoice, const uint8_t *accounts, int preliminary, uint8_t *account,
                     bool *objects) {
    *objects = true;
    if (preliminary) {
        GetText(accounts, PurchAccountsBlk::PrelAcc, account);
        return;
    }
    if (InvoiceKind(GetU16(invoice, PI::InvType)) == InvoiceKind::Cash) {
        *objects = false;
        GetText(accounts, PurchAccountsBlk::CashInvAcc, account);
        SettingsRows modes(PaymentModeBlk::Number, &PaymentModeRows, PaymentModeBlk::Rows::Size);
        uint8_t code[256];
        GetText(invoice, PI::PayTerms, code);
        int32_t at = code[0] != 0 ? SettingsRowWithCode(modes, PaymentModeBlk::Rows::Code, code) : -1;
        if (at >= 0) GetText(modes.data + (size_t)at * modes.rowSize, PaymentModeBlk::Rows::Account, account);
        return;
    }
    GetText(invoice, PI::CredAcc, account);
    if (account[0] == 0) GetText(accounts, PurchAccountsBlk::CreditorAcc, account);
}

// Steps 5 to 8: the account rows and the VAT. false when a VAT account is
// unknown.
bool RowsAndVat(const uint8_t *invoice, const uint8_t *accounts, const PackedDecimal *rate, bool debit,
                PackedDecimal *running) {
    uint8_t row[Row::Size], account[256], objects[256], vatCode[256], text[256];
    int32_t count = MatrixRowCount(PI::Number, 0, invoice);
    std::vector<std::vector<uint8_t>> rows;
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(PI::Number, invoice, i, row)) return false;
        if (PurchaseRowKind(GetU16(row, Row::Kind)) != PurchaseRowKind::Account) continue;
        rows.emplace_back(row, row + Row::Size);
        PackedDecimal amount = GetDec(row, Row::Amount), converted;
        AmountTimesRate(&amount, rate, &converted);
        GetText(row, Row::Account, account);
        GetText(row, Row::Objects, objects);
        GetText(row, Row::VatCode, vatCode);
        GetText(row, Row::Text, text);
        FindVoucherRow(PendingVoucher, account, objects, vatCode, text, &converted, false, debit, running);
    }
    PackedDecimal vatTotal;
    DecSetZero(&vatTotal);
    uint8_t firstVat[256] = {0};
    const VatTreatment treatment = VatTreatment(GetU16(invoice, PI::VatTreatment));
    SettingsRows codes(VatCodeBlk::Number, &VatCodeRows, VatCodeBlk::Rows::Size);
    for (int32_t c = 0; c < codes.count; c++) {
        uint8_t code[256];
        GetText(codes.data + (size_t)c * VatCodeBlk::Rows::Size, VatCodeBlk::Rows::Code, code);
        if (code[0] == 0) continue;
        PackedDecimal sum;
        DecSetZero(&sum);
        for (const auto &r : rows) {
            GetText(r.data(), Row::VatCode, vatCode);
            PackedDecimal amount = GetDec(r.data(), Row::Amount);
            if (PStringEqual(vatCode, code) && !DecIsBlank(&amount)) DecAdd(&sum, &amount, &sum);
        }
        if (DecIsZero(&sum)) continue;
        PackedDecimal converted, vat, codeRate;
        AmountTimesRate(&sum, rate, &converted);
        VatAmount(code, &converted, &vat, 0);
        DecRound(&vat, 2, &vat);
        if (DecIsZero(&vat) || treatment == VatTreatment::NoVatRows) continue;
        uint8_t acc1[256] = {0}, acc2[256] = {0};
        VatCodeLookup(code, &codeRate, 0, acc1, acc2);
        if (!Post(acc2, nullptr, nullptr, &vat, true, debit, running)) return false;
        DecAdd(&vatTotal, &vat, &vatTotal);
        if (firstVat[0] == 0) PStringCopy(firstVat, acc2);
    }
    PackedDecimal entered = GetDec(invoice, PI::VatEntered);
    if (!DecIsBlank(&entered) && !DecIsZero(&entered) && firstVat[0] != 0) {
        PackedDecimal convertedEntered, difference;
        AmountTimesRate(&entered, rate, &convertedEntered);
        DecSub(&vatTotal, &convertedEntered, &difference);
        if (!Post(firstVat, nullptr, nullptr, &difference, true, !debit, running)) return false;
    }
    if (treatment == VatTreatment::Offset) {
        GetText(accounts, PurchAccountsBlk::VatOffsetAcc, account);
        if (!DecIsZero(&vatTotal) && !Post(account, nullptr, nullptr, &vatTotal, false, !debit, running)) return false;
    }
    return true;
}

// Step 11: the rows of a preliminary voucher of the same serial, reversed.
void ReversePreliminary(uint32_t serial) {
    RuleRecord preliminary(Voucher::Number);
    if (!preliminary.record) return;
    PutU32(preliminary.record, Voucher::SerNr, serial);
    PutU16(preliminary.record, Voucher::YearCode, YearCodePurchPreliminary);
    uint32_t recid = 0, position = 0;
    if (RecFind(Voucher::Number, preliminary.record, 2, 1, &recid, &position))
        CopyVoucherRowsReversed(PendingVoucher, preliminary.record, 0);
}

}  // namespace

// Builds the invoice's voucher; see the file comment.
int PostPurchaseInvoice(uint8_t *invoice, int preliminary, int force) {
    assert(invoice);
    if (!PendingVoucher) return 0;
    const uint8_t *accounts = SettingsRecord(PurchAccountsBlk::Number, VendorAccountsBlock);
    PendingVoucherClear();
    DateRec transDate = GetDate(invoice, PI::TransDate);
    if (force == 0 && !VoucherDueOn(PostingBlk::PostPurchInv, PostingBlk::PurchInvStart, transDate)) return 1;
    if (!accounts) return Refuse();
    const uint32_t serial = GetU32(invoice, PI::SerNr);
    const uint16_t yearCode = preliminary ? YearCodePurchPreliminary : YearCodePurchInvoice;
    if (!PendingVoucherHead(yearCode, serial, transDate, force == 0)) return Refuse();
    uint8_t text[256], account[256], objects[256];
    PartyVoucherText(invoice, PI::VendCode, PI::VendName, PI::CurncyCode, GetDec(invoice, PI::Rate), text);
    PutText(PendingVoucher, Voucher::Text, text);

    const bool debit = InvoiceKind(GetU16(invoice, PI::InvType)) != InvoiceKind::CreditNote;
    const PackedDecimal rate = RatePer100(invoice, PI::Rate);
    PackedDecimal running;
    DecSetZero(&running);
    if (!RowsAndVat(invoice, accounts, &rate, debit, &running)) return Refuse();

    bool withObjects = true;
    CreditorAccount(invoice, accounts, preliminary, account, &withObjects);
    GetText(invoice, PI::Objects, objects);
    PackedDecimal total = GetDec(invoice, PI::InvAmount), converted;
    AmountTimesRate(&total, &rate, &converted);
    if (!Post(account, withObjects ? objects : nullptr, nullptr, &converted, false, !debit, &running)) return Refuse();
    if (!PostRoundingRest(&running)) return Refuse();
    if (!preliminary) ReversePreliminary(serial);
    return 1;
}
