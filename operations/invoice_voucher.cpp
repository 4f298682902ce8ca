// invoice_voucher.cpp - the voucher of a posted sales invoice, built in
// the pending voucher: the receivable, the rows of every invoice row and
// of the freight, the VAT per block-208 code with its corrections, and a
// balancing row. The posting stores it later in the same hold.
//
// A credit note mirrors every row: its debit side is the flag 0. Invoice
// amounts are converted by the invoice's rate (blank or 0 is 100); costs
// are posted as they are. Every composed text is cut to its field.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "database/access/record_access.h"
#include "operations/sales_invoice.h"
#include "operations/voucher_text.h"
#include "rules/accounts.h"
#include "rules/invoice_kind.h"
#include "rules/ledger.h"
#include "rules/vat_currency.h"

namespace {

// Fails the voucher: the pending voucher is left without rows.
bool Refuse() {
    PendingVoucherClear();
    return false;
}

// The VAT-sums block of one voucher, freed when the voucher is done.
struct VoucherVatSums {
    MemBlock handle = 0;
    VoucherVatSums() {
        if (VatSumsNew(&handle)) MemUnlock(handle);
    }
    ~VoucherVatSums() {
        if (handle) MemFree(&handle);
    }
    VoucherVatSums(const VoucherVatSums &) = delete;
    VoucherVatSums &operator=(const VoucherVatSums &) = delete;
    // The base collected for block-208 row i (zero when none).
    PackedDecimal Base(int32_t i) const {
        PackedDecimal base;
        DecSetZero(&base);
        uint8_t *data = nullptr;
        int32_t count = 0;
        if (!handle || !MemArrayLock(handle, sizeof(PackedDecimal), &data, &count) || !data) return base;
        if (i < count) base = GetDec(data, (size_t)i * sizeof(PackedDecimal));
        MemUnlock(handle);
        if (DecIsBlank(&base)) DecSetZero(&base);
        return base;
    }
};

// The one-row list that posts the invoice's freight like an item row.
void FreightRow(const uint8_t *invoice, uint8_t *row) {
    std::memset(row, 0, IVVc::Rows::Size);
    uint8_t part[256];
    PutU16(row, IVVc::Rows::Kind, uint16_t(DocRowKind::Item));
    GetText(invoice, IVVc::FreightItem, part);
    PutText(row, IVVc::Rows::ItemCode, part);
    PackedDecimal one, freight = GetDec(invoice, IVVc::Freight);
    DecFromLong(&one, 1);
    PutDec(row, IVVc::Rows::Quantity, one);
    PutDec(row, IVVc::Rows::Price, freight);
    PutDec(row, IVVc::Rows::Sum, freight);
    GetText(invoice, IVVc::FreightAcc, part);
    PutText(row, IVVc::Rows::SalesAcc, part);
    GetText(invoice, IVVc::FreightVat, part);
    PutText(row, IVVc::Rows::VatCode, part);
    PutU32(row, IVVc::Rows::Link, SerialNone);
    PutDec(row, IVVc::Rows::UnitCost, GetDec(invoice, IVVc::FreightHome));
}

}  // namespace

// Builds in the pending voucher the voucher of a sales invoice. Unless
// force, block 199 decides whether invoices post at all and from which
// transaction date (true with no voucher otherwise), and a voucher already
// stored under the invoice's number refuses. true when built or not
// needed; false (no rows pending) when an account it needs is missing,
// the key is taken or a row's objects name more than five codes: the
// caller refuses the invoice.
bool InvoiceVoucher(uint8_t *invoice, int force) {
    assert(invoice);
    if (!PendingVoucher) return false;
    VoucherVatSums sums;
    PackedDecimal rate = GetDec(invoice, IVVc::Rate);
    if (DecIsZero(&rate)) DecFromLong(&rate, 100);
    PendingVoucherClear();
    DateRec transDate = GetDate(invoice, IVVc::TransDate);
    if (force == 0 && !VoucherDueOn(PostingBlk::PostInvoices, PostingBlk::InvoiceStart, transDate)) return true;
    const uint8_t *accounts = SettingsRecord(SalesAccountsBlk::Number, SalesAccountsBlock);
    if (!accounts) return Refuse();

    if (!PendingVoucherHead(YearCodeInvoice, GetU32(invoice, IVVc::SerNr), transDate, force == 0)) return Refuse();
    uint8_t text[256];
    PartyVoucherText(invoice, IVVc::CustCode, IVVc::Addr0, IVVc::CurncyCode, rate, text);
    PutText(PendingVoucher, Voucher::Text, text);

    PackedDecimal running;
    DecSetZero(&running);
    const InvoiceKind kind = InvoiceKind(GetU16(invoice, IVVc::InvType));
    bool debit = kind != InvoiceKind::CreditNote, credit = !debit;
    int inclusive = GetU16(invoice, IVVc::InclVat) != 0;
    bool gross = GetU16(accounts, SalesAccountsBlk::PostGross) != 0;
    const uint8_t empty[1] = {0};

    // The receivable: the customer's objects when block 133 asks for them;
    // a cash invoice books its cash account on the invoice's own objects.
    uint8_t receivableObjects[256], invoiceObjects[256], part[256];
    receivableObjects[0] = 0;
    GetText(invoice, IVVc::Objects, invoiceObjects);
    {
        RuleRecord customer(CUVc::Number);
        if (!customer.record) return Refuse();
        GetText(invoice, IVVc::CustCode, part);
        PutText(customer.record, CUVc::Code, part);
        if (part[0] != 0 && InvoiceReadByKey(CUVc::Number, customer.record) &&
            GetU16(accounts, SalesAccountsBlk::ARObjects) != 0)
            GetText(customer.record, CUVc::Objects, receivableObjects);
    }
    InvoiceVoucherAccounts(invoice);
    uint8_t receivable[256];
    GetText(invoice, IVVc::ARAcc, receivable);
    PackedDecimal total = GetDec(invoice, IVVc::Total), converted;
    AmountTimesRate(&total, &rate, &converted);
    const uint8_t *objects = kind == InvoiceKind::Cash ? invoiceObjects : receivableObjects;
    if (!InvoiceVoucherRow(receivable, objects, empty, &converted, debit, &running)) return Refuse();

    // Row objects: the invoice's and its salesperson's.
    uint8_t rowObjects[256];
    PStringCopy(rowObjects, invoiceObjects);
    {
        RuleRecord person(PEVc::Number);
        if (!person.record) return Refuse();
        GetText(invoice, IVVc::SalesMan, part);
        PutText(person.record, PEVc::Code, part);
        if (part[0] != 0 && InvoiceReadByKey(PEVc::Number, person.record)) {
            GetText(person.record, PEVc::Objects, part);
            if (!MergeRowObjects(rowObjects, part, rowObjects)) return Refuse();
        }
    }

    uint8_t row[IVVc::Rows::Size];
    int32_t count = MatrixRowCount(IVVc::Number, 0, invoice);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(IVVc::Number, invoice, i, row)) return Refuse();
        if (!InvoiceVoucherRows(invoice, row, rowObjects, &rate, debit, credit, text, &running, sums.handle))
            return Refuse();
    }
    PackedDecimal freight = GetDec(invoice, IVVc::Freight);
    if (!DecIsZero(&freight)) {
        FreightRow(invoice, row);
        if (!InvoiceVoucherRows(invoice, row, invoiceObjects, &rate, debit, credit, text, &running, sums.handle))
            return Refuse();
    }

    PackedDecimal vatTotal;
    DecSetZero(&vatTotal);
    if (sums.handle) VatSumsTotal(sums.handle, inclusive, &vatTotal, nullptr);
    AmountTimesRate(&vatTotal, &rate, &vatTotal);

    // Per VAT code: the sales brought to the VAT table's base, and the VAT.
    uint8_t vatAccount[256];
    vatAccount[0] = 0;
    {
        SettingsRows codes(VatCodeBlk::Number, &VatCodeRows, VatCodeRow::Size);
        for (int32_t i = 0; i < codes.count; i++) {
            uint8_t code[256], first[256], account[256];
            const uint8_t *codeRow = codes.data + (size_t)i * VatCodeRow::Size;
            GetText(codeRow, VatCodeRow::Code, code);
            if (code[0] == 0) continue;
            PackedDecimal sum, vat, base = sums.Base(i), difference;
            MergeVoucherRow(RecMatrixHandle(Voucher::Number, PendingVoucher), code, &sum, first);
            if (kind != InvoiceKind::CreditNote) DecNegateInto(&sum, &sum);
            VatAmount(code, &base, &vat, inclusive);
            DecRound(&vat, 2, &vat);
            AmountTimesRate(&vat, &rate, &vat);
            AmountTimesRate(&base, &rate, &base);
            if (inclusive) DecSub(&base, &vat, &base);
            DecSub(&sum, &base, &difference);
            if (!DecIsZero(&difference) && !(inclusive && gross))
                AddVoucherRow(PendingVoucher, first, empty, code, empty, &difference, 0, debit, &running);
            if (DecIsZero(&vat)) continue;
            GetText(codeRow, VatCodeRow::Account1, account);
            if (vatAccount[0] == 0) PStringCopy(vatAccount, account);
            if (!InvoiceVoucherRow(account, empty, empty, &vat, credit, &running)) return Refuse();
        }
    }

    // VAT rounding: what the table's VAT differs from the invoice's.
    PackedDecimal invoiceVat = GetDec(invoice, IVVc::Vat), difference;
    AmountTimesRate(&invoiceVat, &rate, &invoiceVat);
    DecSub(&vatTotal, &invoiceVat, &difference);
    if (!DecIsZero(&difference)) {
        if (!InvoiceVoucherRow(vatAccount, empty, empty, &difference, debit, &running)) return Refuse();
        if (inclusive && gross) {
            GetText(accounts, SalesAccountsBlk::VatClearAcc, part);
            if (!InvoiceVoucherRow(part, empty, empty, &difference, credit, &running)) return Refuse();
        }
    }

    // Balancing: whatever is left goes to block 133's rounding account.
    GetText(accounts, SalesAccountsBlk::RoundingAcc, part);
    PackedDecimal rest = running;
    if (!InvoiceVoucherRow(part, empty, empty, &rest, false, &running)) return Refuse();
    return true;
}

// Writes into the invoice's receivable account (IVVc::ARAcc): for a cash
// invoice block 133's cash account, or the account of its payment mode in
// block 131 (the last row of that code); for a credit note whose first
// row names a stored invoice, that invoice's account; otherwise the
// customer group's account, else block 133's.
void InvoiceVoucherAccounts(uint8_t *invoice) {
    assert(invoice);
    const uint8_t *accounts = SettingsRecord(SalesAccountsBlk::Number, SalesAccountsBlock);
    uint8_t account[256], code[256], rowCode[256];
    account[0] = 0;
    const InvoiceKind kind = InvoiceKind(GetU16(invoice, IVVc::InvType));
    if (kind == InvoiceKind::Cash) {
        if (accounts) GetText(accounts, SalesAccountsBlk::CashAcc, account);
        GetText(invoice, IVVc::PayTerms, code);
        SettingsRows modes(PaymentModeBlk::Number, &PaymentModeRows, PaymentModeBlk::Rows::Size);
        for (int32_t i = 0; i < modes.count; i++) {
            const uint8_t *mode = modes.data + (size_t)i * PaymentModeBlk::Rows::Size;
            GetText(mode, PaymentModeBlk::Rows::Code, rowCode);
            if (code[0] != 0 && PStringEqual(rowCode, code)) GetText(mode, PaymentModeBlk::Rows::Account, account);
        }
        PutText(invoice, IVVc::ARAcc, account);
        return;
    }
    if (kind == InvoiceKind::CreditNote && MatrixRowCount(IVVc::Number, 0, invoice) > 0) {
        uint8_t row[IVVc::Rows::Size];
        RuleRecord credited(IVVc::Number);
        if (credited.record && MatrixRowRead(IVVc::Number, invoice, 0, row)) {
            uint32_t link = GetU32(row, IVVc::Rows::Link);
            PutU32(credited.record, IVVc::SerNr, link);
            if (link != SerialNone && InvoiceReadByKey(IVVc::Number, credited.record)) {
                GetText(credited.record, IVVc::ARAcc, account);
                // An invoice stored without an account falls to the
                // customer's, so the voucher does not fail for it.
                if (account[0] != 0) {
                    PutText(invoice, IVVc::ARAcc, account);
                    return;
                }
            }
        }
    }
    if (accounts) GetText(accounts, SalesAccountsBlk::ARAcc, account);
    GetText(invoice, IVVc::CustCat, code);
    if (code[0] != 0) {
        RuleRecord group(CustGroupVc::Number);
        if (group.record) {
            PutText(group.record, CustGroupVc::Code, code);
            if (InvoiceReadByKey(CustGroupVc::Number, group.record)) {
                GetText(group.record, CustGroupVc::ARAcc, rowCode);
                if (rowCode[0] != 0) PStringCopy(account, rowCode);
            }
        }
    }
    PutText(invoice, IVVc::ARAcc, account);
}
