// customer_receipt.h - the customer receipt's road through the operations:
// its checks before it is stored, its voucher, the open items its rows
// close, its entry in the customer ledger and statistics, and the rules'
// entry of its register.
//
// The receipt is register 10 (IPVc) with 114-byte rows (IPVc::Rows) at
// the handle at IPVc::Matrix. A row counts - is checked, posted, applied
// to its open item and to the statistics - when its kind is 1 (a paid
// invoice, or a payment on account when its invoice number is all ones),
// 5 (a cash discount) or 6 (a fee) and its flag word is 0; every other
// row is carried along untouched.
#pragma once

#include <array>
#include <cstdint>

#include "core/decimal.h"
#include "core/interface_defs.h"
#include "database/access/register_hooks.h"
#include "rules/approval.h"

struct RuleRecord;

// ---- Shared lookups (receipt_support.cpp) ----

// True when the row is one the receipt counts (kind 1, 5 or 6, flag 0).
bool ReceiptRowCounts(const uint8_t *row);
// Reads invoice serial (register 5) into rec; false when there is none.
bool ReceiptInvoiceRead(uint32_t serial, RuleRecord &rec);
// Reads customer code (a PString) into rec (register 2); false when the
// code is empty or unknown.
bool ReceiptCustomerRead(const uint8_t *code, RuleRecord &rec);
// Reads the open item of invoice serial into rec (register 13) and its id
// into *recid; false when there is none.
bool ReceiptOpenItemRead(uint32_t serial, RuleRecord &rec, uint32_t *recid);
// The receipt's rate per 100: 100 when it is blank or zero.
PackedDecimal ReceiptRate(const uint8_t *receipt);

// ---- Checks (receipt_checks.cpp) ----

// Checks a receipt before it is stored (mode 1 insert, 2 update; old the
// stored copy, or the record itself or null on insert). Numbers a new
// receipt, and builds its voucher into PendingVoucher when it becomes
// posted now. 0 accepts; else FieldError's -1 with the focus set, the
// receipt's entry serial number put back.
int ValidateReceipt(uint8_t *receipt, const uint8_t *old, int mode);

// ---- Voucher (receipt_voucher.cpp) ----

// Builds the receipt's voucher (series 202) into PendingVoucher. Unless
// force, block 199 may say no voucher is wanted (true, none built) and a
// voucher stored under the receipt's number refuses. false, PendingVoucher
// left empty, when an account it needs is missing or the key is taken.
bool ReceiptPosting(uint8_t *receipt, int force);

// ---- Open items (receipt_open_items.cpp) ----

// The open items of the counted rows naming an invoice, reduced by the
// rows' amounts; false when a store failed (told, the hold failed).
bool ReceiptOpenItems(const uint8_t *receipt);
// The posting steps of a receipt: its open items, then the pending
// voucher stored when it has rows. false when a store failed.
bool ReceiptSaveSteps(uint8_t *receipt);
// Adds amount (negative: paid) to the open item of invoice serial, making
// it from the invoice when missing; rate converts it for the home amount.
// A zero open amount deletes it. Nothing for a zero amount or when the
// invoice is missing too. false when a store failed (told, hold failed).
bool CustomerOpenItemReduce(uint32_t serial, const PackedDecimal *amount, const PackedDecimal *rate);
// Approve kind 2: posts a receipt not posted yet whose voucher can be
// built, applies it to its open items and enters it in the customer
// ledger. Unchanged (told) when its voucher cannot be built.
ApproveResult ApproveReceipt(int reg, uint8_t *receipt, uint32_t recid);

// ---- Customer ledger and statistics (receipt_ledger.cpp) ----

// Approve kind 23: one customer transaction (register 49) per counted
// paid row and the paid amounts in the customer statistics (register 1),
// then IPVc::Transferred set. A receipt transferred already is left
// alone. Failed when a store failed.
ApproveResult ApproveReceiptToCustomerLedger(int reg, uint8_t *receipt, uint32_t recid);
// Writes the customer transactions of the receipt's counted kind-1 rows;
// false when a store failed.
bool ReceiptToCustomerTrans(const uint8_t *receipt);
// Adds the counted rows to the customer statistics of the receipt date's
// month: paid rises by the amount, the home-currency total falls by it at
// the invoice's rate (the receipt's for a payment on account). false when
// a store failed.
bool ReceiptMonthlyStatistics(const uint8_t *receipt);
// The receivable account of customer (a PString code) into account
// (PString, at most 10): its group's (register 65) when set, else block
// 133's.
void CustomerReceivableAccount(const uint8_t *customer, uint8_t *account);

// ---- The register's entry (receipt_hooks.cpp) ----

// Fills register 10's entry of table, whole.
void InstallReceiptEntry(std::array<RegisterHooks, RegisterCount> &table);
