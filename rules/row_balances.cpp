// row_balances.cpp - totals and sums of the rows of ledger and payment
// records, and the two row tests of orders that refuse deleting them.
// The voucher rows' own balance, sum and negation live in voucher_rows.cpp
// beside the voucher builders that need them.
//
// Rows are read whole through the register's matrix calls, so a rows slot
// that holds no live block reads as no rows and nothing past a row is read.
#include <cassert>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "rules/checks.h"
#include "rules/vat_currency.h"

namespace {

// Largest row of the registers summed here (register 7's order rows).
constexpr uint32_t RowBufferSize = 348;

// Adds amount into the debit total when it is zero or above, else into the
// credit total; a blank amount counts nowhere.
void AddSigned(const PackedDecimal *amount, PackedDecimal *debit, PackedDecimal *credit) {
    if (DecIsBlank(amount)) return;
    PackedDecimal *into = DecIsNegative(amount) ? credit : debit;
    DecAdd(into, amount, into);
}

// Writes the debit, credit and balance totals of reg's rows into the record
// at debitAt, creditAt and balanceAt, each row's amount at amountAt.
void BalanceRows(int reg, uint8_t *r, uint32_t amountAt, uint32_t debitAt, uint32_t creditAt, uint32_t balanceAt) {
    assert(RecRowSize(reg) <= RowBufferSize && amountAt + sizeof(PackedDecimal) <= RecRowSize(reg));
    PackedDecimal debit, credit, balance;
    DecSetBlank(&debit);
    DecSetBlank(&credit);
    uint8_t row[RowBufferSize];
    int32_t count = MatrixRowCount(reg, 0, r);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(reg, r, i, row)) break;
        PackedDecimal amount = GetDec(row, amountAt);
        AddSigned(&amount, &debit, &credit);
    }
    DecAdd(&debit, &credit, &balance);
    PutDec(r, debitAt, debit);
    PutDec(r, creditAt, credit);
    PutDec(r, balanceAt, balance);
}

// The sum of reg's rows whose kind is 1 and sub-kind 0 (the rows that
// carry an amount), each at amountAt; blank when there is no such row.
void SumPlainRows(int reg, const uint8_t *r, uint32_t amountAt, PackedDecimal *sum) {
    assert(RecRowSize(reg) <= RowBufferSize && amountAt + sizeof(PackedDecimal) <= RecRowSize(reg));
    DecSetBlank(sum);
    uint8_t row[RowBufferSize];
    int32_t count = MatrixRowCount(reg, 0, r);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(reg, r, i, row)) break;
        if (GetU16(row, 0) != 1 || GetU16(row, 2) != 0) continue;
        PackedDecimal amount = GetDec(row, amountAt);
        DecAdd(sum, &amount, sum);
    }
}

// The sum, from zero, of the amounts at amountAt of a block of rows of
// rowSize bytes; a handle that is no live block sums to zero.
void SumRowBlock(MemBlock rows, uint32_t rowSize, uint32_t amountAt, PackedDecimal *sum) {
    assert(amountAt + sizeof(PackedDecimal) <= rowSize);
    DecSetZero(sum);
    if (!rows || !MemIsValid(rows)) return;
    uint8_t *data = nullptr;
    int32_t count = 0;
    MemArrayLock(rows, rowSize, &data, &count);
    for (int32_t i = 0; data && i < count; i++) {
        PackedDecimal amount = GetDec(data + (size_t)i * rowSize, amountAt);
        DecAdd(sum, &amount, sum);
    }
    MemUnlock(rows);
}

// True when some row of reg has a quantity above zero at qtyAt.
bool AnyRowPositive(int reg, const uint8_t *r, uint32_t qtyAt) {
    assert(RecRowSize(reg) <= RowBufferSize && qtyAt + sizeof(PackedDecimal) <= RecRowSize(reg));
    uint8_t row[RowBufferSize];
    int32_t count = MatrixRowCount(reg, 0, r);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(reg, r, i, row)) break;
        PackedDecimal qty = GetDec(row, qtyAt);
        if (!DecIsBlank(&qty) && DecSign(&qty) > 0) return true;
    }
    return false;
}

// Writes the sum of reg's amount rows into sumAt and, into homeAt, that sum
// at the record's rate (rateAt) plus the record's own amount at extraAt.
void PaymentTotals(int reg, uint8_t *r, uint32_t amountAt, uint32_t sumAt, uint32_t rateAt, uint32_t extraAt,
                   uint32_t homeAt) {
    PackedDecimal sum, home;
    SumPlainRows(reg, r, amountAt, &sum);
    PutDec(r, sumAt, sum);
    PackedDecimal rate = GetDec(r, rateAt), extra = GetDec(r, extraAt);
    AmountTimesRate(&sum, &rate, &home);
    DecAdd(&home, &extra, &home);
    PutDec(r, homeAt, home);
}

}  // namespace

// Debit, credit and balance of an sm1 record from its rows.
void AccountRowsBalance(uint8_t *r) {
    BalanceRows(SMVc::Number, r, AccountRow::Amount, SMVc::Debit, SMVc::Credit, SMVc::Balance);
}

// Debit, credit and balance of an sp1 record from its rows.
void AccountRows118Balance(uint8_t *r) {
    BalanceRows(PersEntryVc::Number, r, Sp1Row::Amount, PersEntryVc::DebitTotal, PersEntryVc::CreditTotal,
                PersEntryVc::Balance);
}

// Debit, credit and balance of an fb1 record from its rows.
void Fb1RowsBalance(uint8_t *r) {
    BalanceRows(OpenBalVc::Number, r, Fb1Row::Amount, OpenBalVc::DebitTotal, OpenBalVc::CreditTotal,
                OpenBalVc::Balance);
}

// The sum of a block of sm1 rows.
void AccountRowsSum(MemBlock rows, PackedDecimal *sum) {
    SumRowBlock(rows, AccountRow::Size, AccountRow::Amount, sum);
}

// The sum of a block of sp1 rows.
void AccountRows118Sum(MemBlock rows, PackedDecimal *sum) {
    SumRowBlock(rows, Sp1Row::Size, Sp1Row::Amount, sum);
}

// An outgoing payment's row sum, and its home-currency total with the
// bank charges.
void OutPaymentTotals(uint8_t *r) {
    PaymentTotals(OPVc::Number, r, OPVc::Rows::Amount, OPVc::RowsTotal, OPVc::Rate, OPVc::BankCharges,
                  OPVc::HomeTotal);
}

// A person payment's row sum, and its bank amount with the bank charges.
void PaymentTotals106(uint8_t *r) {
    PaymentTotals(PersPayVc::Number, r, PersPayVc::Rows::Amount, PersPayVc::Total, PersPayVc::Rate,
                  PersPayVc::BankCharges, PersPayVc::BankAmount);
}

// An expense's total and VAT total from its rows.
void Rows154Totals(uint8_t *r) {
    PackedDecimal total, vat;
    SumPlainRows(ExpenseVc::Number, r, ExpenseVc::Rows::Amount, &total);
    SumPlainRows(ExpenseVc::Number, r, ExpenseVc::Rows::VatAmount, &vat);
    PutDec(r, ExpenseVc::Total, total);
    PutDec(r, ExpenseVc::VatTotal, vat);
}

// A distribution key's factor sum.
void AmountListTotal(uint8_t *r) {
    PackedDecimal sum;
    SumRowBlock(RecMatrixHandle(DKVc::Number, r), DKVc::Rows::Size, DKVc::Rows::Factor, &sum);
    PutDec(r, DKVc::FactorSum, sum);
}

// What a purchase invoice's rows leave unexplained: their sum less the
// invoice amount, with the invoice's VAT (the entered figure, else the
// computed one) added back unless the VAT is kept out (treatment 1).
void PurchaseInvoiceRowsDifference(const uint8_t *invoice, PackedDecimal *result) {
    PackedDecimal sum;
    SumPlainRows(VIVc::Number, invoice, VIVc::Rows::Amount, &sum);
    PackedDecimal amount = GetDec(invoice, VIVc::InvAmount);
    DecSub(&sum, &amount, result);
    if (VatTreatment(GetU16(invoice, VIVc::VatTreatment)) == VatTreatment::Offset) return;
    PackedDecimal vat = GetDec(invoice, VIVc::VatEntered);
    if (DecIsBlank(&vat)) vat = GetDec(invoice, VIVc::VatComputed);
    DecAdd(result, &vat, result);
}

// True when some row of the order has a delivered quantity.
bool OrderHasDeliveredRows(const uint8_t *order) {
    return AnyRowPositive(ORVc::Number, order, ORVc::Rows::QtyDelivered);
}

// True when some row of the purchase order has a quantity received on
// purchases.
bool PurchaseOrderHasReceivedRows(const uint8_t *order) {
    return AnyRowPositive(PurchOrderVc::Number, order, PurchOrderVc::Rows::QtyOnPurchases);
}
