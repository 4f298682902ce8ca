// invoice_voucher_rows.cpp - the voucher rows of one invoice row (sales,
// VAT and cost sides) in the pending voucher, the sum of the voucher rows
// of one VAT code, the VAT account of a code, and the record read and
// named row that the whole invoice voucher uses.
//
// Sides: the caller passes the voucher's debit and credit flags, swapped
// for a credit note, so every row here mirrors with the invoice. Amounts
// are converted by the invoice's rate; costs are posted as they are.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "operations/operations.h"
#include "operations/sales_invoice.h"
#include "rules/accounts.h"
#include "rules/invoice_kind.h"
#include "rules/ledger.h"
#include "rules/settings_row_find.h"
#include "rules/stock.h"
#include "rules/vat_currency.h"

namespace {

// Invoice row kinds that post: items and text rows (1), interest (4) and
// down payments (5).

// The cost of goods of qty of an item under its group's cost method (1
// cost price, 2 a share of the base price, 3 the row's unit cost, 4 FIFO
// at the invoice's location); false for any other method (no cost rows).
bool RowCost(const uint8_t *invoice, const uint8_t *row, const uint8_t *item, const uint8_t *group,
             const PackedDecimal *qty, PackedDecimal *cost) {
    PackedDecimal extra = GetDec(item, INVc::AddCost), base;
    DecSetZero(cost);
    switch (GetU16(group, ITVc::CostMethod)) {
    case 1:
        base = GetDec(item, INVc::CostPrice);
        DecAdd(&base, &extra, &base);
        DecMul(&base, qty, cost);
        return true;
    case 2: {
        PackedDecimal pct = GetDec(group, ITVc::Percentage), hundred, product;
        base = GetDec(item, INVc::BasePrice);
        DecAdd(&base, &extra, &base);
        DecMul(&base, qty, &product);
        DecMul(&product, &pct, &product);
        DecFromLong(&hundred, 100);
        DecDiv(&product, &hundred, &product);
        DecRound(&product, 2, cost);
        return true;
    }
    case 3:
        base = GetDec(row, IVVc::Rows::UnitCost);
        DecMul(&base, qty, cost);
        return true;
    case 4: {
        uint8_t code[256], location[256];
        PackedDecimal back;
        GetText(item, INVc::Code, code);
        GetText(invoice, IVVc::Location, location);
        // A credit note takes goods back: its FIFO value is read with them
        // already returned, so the cost mirrors what the sale took out.
        if (InvoiceKind(GetU16(invoice, IVVc::InvType)) == InvoiceKind::CreditNote) back = *qty;
        else DecSetZero(&back);
        FifoIssueCostPlus(code, location, qty, cost, &back);
        return true;
    }
    default: return false;
    }
}

}  // namespace

bool InvoiceReadByKey(int reg, uint8_t *record) {
    return RecFindByFirstKey(reg, record);
}

bool InvoiceVoucherRow(const uint8_t *account, const uint8_t *objects, const uint8_t *vatCode,
                       const PackedDecimal *amount, bool debit, PackedDecimal *running) {
    return FindNamedVoucherRow(PendingVoucher, account, objects, vatCode, nullptr, amount, false, debit, running);
}

// out = the object lists a and b merged; false, after telling the user,
// when together they name more than five codes (the voucher is refused
// rather than an object dropped).
bool MergeRowObjects(const uint8_t *a, const uint8_t *b, uint8_t *out) {
    if (ObjectListMerge(a, b, out)) return true;
    ShowTextMessage(Texts::RowObjectsOverFive);
    return false;
}

// Adds to the pending voucher the rows of one invoice row: the sales row
// on the credit side (by zone, VAT clearing for gross posting), its amount
// into vatSums under its VAT code, and for an item row the cost of goods
// (debit) against stock (credit) of the units no delivery voucher booked
// (InvoiceRowCostQty). objects: the invoice's (and
// salesperson's) objects; the item's and the row's are merged in. Rows of
// other kinds post nothing. false when an account the row needs is
// missing or the objects name more than five codes.
bool InvoiceVoucherRows(const uint8_t *invoice, const uint8_t *row, const uint8_t *objects, const PackedDecimal *rate,
                        uint8_t debit, uint8_t credit, uint8_t *text, PackedDecimal *running, MemBlock vatSums) {
    assert(invoice && row && objects && rate && running);
    (void)text;   // every row here is named after its account
    const uint8_t *accounts = SettingsRecord(SalesAccountsBlk::Number, SalesAccountsBlock);
    if (!accounts || !PendingVoucher) return false;
    int zone = GetU16(invoice, IVVc::VatZone);
    int inclusive = GetU16(invoice, IVVc::InclVat) != 0;
    bool gross = GetU16(accounts, SalesAccountsBlk::PostGross) != 0;
    uint8_t account[256], vatCode[256];

    GetText(row, IVVc::Rows::SalesAcc, account);
    if (account[0] == 0)
        GetPString(accounts,
                   zone == 1   ? SalesAccountsBlk::SalesAcc1
                   : zone == 2 ? SalesAccountsBlk::SalesAcc2
                               : SalesAccountsBlk::SalesAcc0,
                   10, account);
    if (account[0] == 0) GetText(accounts, SalesAccountsBlk::SalesAcc0, account);
    GetText(row, IVVc::Rows::VatCode, vatCode);
    if (vatCode[0] == 0)
        GetPString(accounts,
                   zone == 1   ? SalesAccountsBlk::VatCode1
                   : zone == 2 ? SalesAccountsBlk::VatCode2
                               : SalesAccountsBlk::VatCode0,
                   2, vatCode);
    if (vatCode[0] == 0) {
        SettingsRows codes(VatCodeBlk::Number, &VatCodeRows, VatCodeRow::Size);
        if (codes.count > 0) GetText(codes.data, VatCodeRow::Code, vatCode);
    }

    const DocRowKind kind = DocRowKind(GetU16(row, IVVc::Rows::Kind));
    if (kind != DocRowKind::Item && kind != DocRowKind::Amount && kind != DocRowKind::DownPayment) return true;
    RuleRecord item(INVc::Number);
    if (!item.record) return false;
    bool haveItem = false;
    if (kind == DocRowKind::Item) {
        uint8_t code[256];
        GetText(row, IVVc::Rows::ItemCode, code);
        PutText(item.record, INVc::Code, code);
        haveItem = code[0] != 0 && InvoiceReadByKey(INVc::Number, item.record);
    }

    PackedDecimal amount = GetDec(row, IVVc::Rows::Sum), vat, converted, convertedVat;
    VatAmount(vatCode, &amount, &vat, inclusive);
    VatSumsAdd(vatSums, vatCode, &amount);
    if (inclusive && !gross) DecSub(&amount, &vat, &amount);
    else if (!inclusive && gross) DecAdd(&amount, &vat, &amount);

    uint8_t rowObjects[256], part[256];
    PStringCopy(rowObjects, objects);
    if (haveItem) {
        GetText(item.record, INVc::Objects, part);
        if (!MergeRowObjects(rowObjects, part, rowObjects)) return false;
    }
    if (kind == DocRowKind::Item) {
        GetText(row, IVVc::Rows::Objects, part);
        if (!MergeRowObjects(rowObjects, part, rowObjects)) return false;
    }

    AmountTimesRate(&amount, rate, &converted);
    VatCodeAccount(account, zone);
    if (zone != 0 || !DecIsZero(&converted))
        if (!InvoiceVoucherRow(account, rowObjects, vatCode, &converted, credit != 0, running)) return false;
    if (zone == 0 && inclusive && gross) {
        AmountTimesRate(&vat, rate, &convertedVat);
        if (!DecIsZero(&convertedVat)) {
            GetText(accounts, SalesAccountsBlk::VatClearAcc, part);
            const uint8_t empty[1] = {0};
            if (!InvoiceVoucherRow(part, empty, empty, &convertedVat, debit != 0, running)) return false;
        }
    }

    if (!haveItem) return true;
    RuleRecord group(ITVc::Number);
    if (!group.record) return false;
    GetText(item.record, INVc::Group, part);
    PutText(group.record, ITVc::Code, part);
    if (part[0] == 0 || !InvoiceReadByKey(ITVc::Number, group.record)) return true;
    uint8_t costAccount[256], stockAccount[256];
    GetText(group.record, ITVc::COGSAcc, costAccount);
    GetText(group.record, ITVc::StockAcc, stockAccount);
    if (costAccount[0] == 0 || stockAccount[0] == 0) return true;
    PackedDecimal qty, cost;
    InvoiceRowCostQty(invoice, row, &qty);
    if (DecIsZero(&qty)) return true;   // its delivery's voucher booked the cost
    if (!RowCost(invoice, row, item.record, group.record, &qty, &cost)) return true;
    const uint8_t empty[1] = {0};
    return InvoiceVoucherRow(costAccount, rowObjects, empty, &cost, debit != 0, running) &&
           InvoiceVoucherRow(stockAccount, empty, empty, &cost, credit != 0, running);
}

// The sum of the amounts of the account rows in rows (a voucher's rows
// handle) that carry vatCode, and the account of the first of them (empty
// when none does).
void MergeVoucherRow(MemBlock rows, const uint8_t *vatCode, PackedDecimal *sum, uint8_t *account) {
    assert(vatCode && sum && account);
    DecSetZero(sum);
    account[0] = 0;
    if (!rows || !MemIsValid(rows)) return;
    uint8_t *data = nullptr;
    int32_t count = 0;
    MemArrayLock(rows, TransRow::Size, &data, &count);
    if (!data) return;
    uint8_t code[256];
    for (int32_t i = 0; i < count; i++) {
        const uint8_t *row = data + (size_t)i * TransRow::Size;
        if (GetU16(row, TransRow::Kind) != RowAccount) continue;
        GetText(row, TransRow::VatCode, code);
        if (!PStringEqual(code, vatCode)) continue;
        if (account[0] == 0) GetText(row, TransRow::Account, account);
        PackedDecimal amount = GetDec(row, TransRow::Amount);
        DecAdd(sum, &amount, sum);
    }
    MemUnlock(rows);
}

// out = the VAT account of the block-208 row of code (the first row's for
// a code no row has; empty with no rows).
void VatCodeText(const uint8_t *code, uint8_t *out) {
    assert(code && out);
    out[0] = 0;
    SettingsRows rows(VatCodeBlk::Number, &VatCodeRows, VatCodeRow::Size);
    if (rows.count == 0) return;
    int32_t at = SettingsRowWithCode(rows, VatCodeRow::Code, code);
    if (at < 0) at = 0;
    GetText(rows.data + (size_t)at * VatCodeRow::Size, VatCodeRow::Account1, out);
}
