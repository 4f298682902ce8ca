// receipt_ledger.cpp - approve kind 23: a posted customer receipt entered
// in the customer ledger (register 49, one transaction per paid row) and
// in the customer's monthly statistics (register 1).
//
// The statistics count the same rows as the open items and the voucher:
// kinds 1, 5 and 6 with flag 0. Each adds its amount to the month's
// "paid" kind and takes it, in home currency at its invoice's rate, off
// the total in home currency (a payment on account at the receipt's
// rate). See customer_ledger.cpp for the invoice's side.
#include <cassert>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/customer_receipt.h"
#include "operations/sales_invoice.h"
#include "operations/statistics_slots.h"
#include "rules/ledger.h"
#include "rules/payment_kinds.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

namespace {

namespace Row = IPVc::Rows;

}  // namespace

// The customer's group's receivable account when it has one, else block
// 133's.
void CustomerReceivableAccount(const uint8_t *customer, uint8_t *account) {
    assert(customer && account);
    account[0] = 0;
    if (const uint8_t *accounts = SettingsRecord(SalesAccountsBlk::Number, SalesAccountsBlock))
        GetText(accounts, SalesAccountsBlk::ARAcc, account);
    RuleRecord c(CUVc::Number), group(CustGroupVc::Number);
    if (!ReceiptCustomerRead(customer, c) || !group.record) return;
    uint8_t code[256], own[256];
    GetText(c.record, CUVc::CustGroup, code);
    if (code[0] == 0) return;
    PutText(group.record, CustGroupVc::Code, code);
    uint32_t recid = 0, position = 0;
    if (!RecFind(CustGroupVc::Number, group.record, 1, 1, &recid, &position)) return;
    GetText(group.record, CustGroupVc::ARAcc, own);
    if (own[0] != 0) PStringCopy(account, own);
}

namespace {

// The amount the receipt pays the customer code on invoice serial (the
// counted paid rows that name both, in the receipt's currency): one
// ledger entry stands for all of them, as they share its key.
PackedDecimal ReceiptPaidOn(const uint8_t *receipt, const uint8_t *code, uint32_t serial) {
    PackedDecimal sum;
    DecSetZero(&sum);
    uint8_t row[Row::Size], other[256];
    int32_t count = MatrixRowCount(IPVc::Number, 0, receipt);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(IPVc::Number, receipt, i, row)) continue;
        if (!ReceiptRowCounts(row) || PaidRowKind(GetU16(row, Row::Kind)) != PaidRowKind::Paid) continue;
        GetText(row, Row::CustCode, other);
        if (GetU32(row, Row::InvoiceNr) != serial || !PStringEqual(other, code)) continue;
        PackedDecimal amount = GetDec(row, Row::Amount);
        if (!DecIsBlank(&amount)) DecAdd(&sum, &amount, &sum);
    }
    return sum;
}

}  // namespace

// One entry per counted paid row: its customer, the receipt's date and
// number, the invoice it pays (all ones on account) and that invoice's
// receivable account (the customer's for a payment on account), the
// row's payment date (the receipt's when it has none) and the amount
// paid. A row whose invoice is gone is skipped.
bool ReceiptToCustomerTrans(const uint8_t *receipt) {
    assert(receipt);
    DateRec date = GetDate(receipt, IPVc::TransDate);
    uint8_t row[Row::Size], code[256], account[256];
    int32_t count = MatrixRowCount(IPVc::Number, 0, receipt);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(IPVc::Number, receipt, i, row)) return false;
        if (!ReceiptRowCounts(row) || PaidRowKind(GetU16(row, Row::Kind)) != PaidRowKind::Paid) continue;
        GetText(row, Row::CustCode, code);
        uint32_t serial = GetU32(row, Row::InvoiceNr);
        if (serial == SerialNone) {
            CustomerReceivableAccount(code, account);
        } else {
            RuleRecord invoice(IVVc::Number);
            if (!ReceiptInvoiceRead(serial, invoice)) continue;
            GetText(invoice.record, IVVc::ARAcc, account);
        }
        uint8_t entry[CustTransVc::Size] = {};
        PutText(entry, CustTransVc::CustCode, code);
        PutDate(entry, CustTransVc::TransDate, date);
        PutU16(entry, CustTransVc::Kind, uint16_t(LedgerEntryKind::Payment));
        PutU32(entry, CustTransVc::DocNr, GetU32(receipt, IPVc::SerNr));
        PutU32(entry, CustTransVc::InvoiceNr, serial);
        PutText(entry, CustTransVc::ARAcc, account);
        DateRec paid = GetDate(row, Row::PayDate);
        PutDate(entry, CustTransVc::Date2, paid.year != 0 ? paid : date);
        PutDec(entry, CustTransVc::Amount, ReceiptPaidOn(receipt, code, serial));
        uint32_t recid = 0;
        if (!RecStoreByKey(CustTransVc::Number, entry, 1, &recid)) {
            ShowTextMessage(Texts::RecordNotStored);
            return false;
        }
    }
    return true;
}

// Adds every counted row to its customer's statistics of the receipt's
// month; nothing without a receipt date. A row naming an invoice that is
// gone adds nothing.
bool ReceiptMonthlyStatistics(const uint8_t *receipt) {
    assert(receipt);
    DateRec date = GetDate(receipt, IPVc::TransDate);
    if (date.year == 0) return true;
    uint16_t month = MonthIndex(&date);
    PackedDecimal receiptRate = ReceiptRate(receipt);
    uint8_t row[Row::Size];
    int32_t count = MatrixRowCount(IPVc::Number, 0, receipt);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(IPVc::Number, receipt, i, row)) return false;
        if (!ReceiptRowCounts(row)) continue;
        PackedDecimal rate = receiptRate;
        uint32_t serial = GetU32(row, Row::InvoiceNr);
        if (serial != SerialNone) {
            RuleRecord invoice(IVVc::Number);
            if (!ReceiptInvoiceRead(serial, invoice)) continue;
            rate = GetDec(invoice.record, IVVc::Rate);
        }
        PackedDecimal amounts[CustomerStatSlot::Count], amount = GetDec(row, Row::Amount);
        for (PackedDecimal &a : amounts) DecSetZero(&a);
        DecNegateInto(&amount, &amounts[CustomerStatSlot::Paid]);
        AmountTimesRate(&amount, &rate, &amounts[CustomerStatSlot::HomeBalance]);
        uint8_t key[CSVc::Size] = {}, code[256];
        GetText(row, Row::CustCode, code);
        PutText(key, CSVc::CustCode, code);
        if (!AddStatistics({CSVc::Number, nullptr, 1, CSVc::Amounts, CustomerStatSlot::Count}, key, CSVc::Amounts,
                           amounts, month, true))
            return false;
    }
    return true;
}

// Approve kind 23: the customer transactions and statistics of a posted
// receipt, then its transferred flag (the caller stores it). A receipt
// transferred already adds nothing twice.
ApproveResult ApproveReceiptToCustomerLedger(int reg, uint8_t *receipt, uint32_t recid) {
    assert(reg == IPVc::Number && receipt);
    (void)reg;
    (void)recid;
    if (GetU16(receipt, IPVc::Transferred) != 0) return ApproveResult::Unchanged;
    if (!ReceiptToCustomerTrans(receipt) || !ReceiptMonthlyStatistics(receipt)) return ApproveResult::Failed;
    PutU16(receipt, IPVc::Transferred, 1);
    return ApproveResult::Changed;
}
