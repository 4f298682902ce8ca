// voucher_rows.cpp - building, summing, negating and balancing the rows of
// vouchers.
#include "rules/ledger.h"

// Appends an account row to a voucher.
void AddVoucherRow(uint8_t *voucher, const uint8_t *account, const uint8_t *objects, const uint8_t *vatCode,
                   const uint8_t *text, const PackedDecimal *amount, int flag, bool debit, PackedDecimal *total) {}

// Adds an account row to a voucher, into an equal row when asked.
void FindVoucherRow(uint8_t *voucher, const uint8_t *account, const uint8_t *objects, const uint8_t *vatCode,
                    const uint8_t *text, const PackedDecimal *amount, bool search, bool debit, PackedDecimal *total) {}

// Adds a row to an sm1 record.
void AddAccountRow(uint8_t *sm1, const uint8_t *account, const uint8_t *objects, const uint8_t *vatCode,
                   const uint8_t *text, const PackedDecimal *amount, bool merge, bool debit, PackedDecimal *total) {}

// The totals of a voucher from its rows.
void VoucherRowsBalance(uint8_t *voucher) {}

// The sum of a voucher's rows.
void VoucherRowsSum(const uint8_t *voucher, PackedDecimal *sum) {
    if (sum) DecSetBlank(sum);
}

// Negates a voucher's rows from a row on.
void VoucherRowsNegate(uint8_t *voucher, int32_t firstRow) {}

// Deletes a voucher's rows of amount zero.
void RemoveZeroVoucherRows(uint8_t *voucher) {}

// Appends a voucher's rows reversed to another.
void CopyVoucherRowsReversed(uint8_t *target, const uint8_t *source, int unused) {}
