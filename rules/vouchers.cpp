// vouchers.cpp - balancing, numbering, storing and posting vouchers, and the
// import's repairs of them.
#include "rules/ledger.h"

bool VoucherOutsideYearsFlag = false;
bool AccountsCreatedFlag = false;
bool BalanceDateOutsideFlag = false;

// Balances a voucher.
void BalanceVoucher(uint8_t *voucher) {}

// Tells why a voucher would not be stored.
int VoucherWouldStore(uint8_t *voucher) {
    return Texts::RecordNotStored;
}

// Numbers, stores and posts a voucher.
bool StoreVoucher(uint8_t *voucher) {
    return false;
}

// Stores the pending voucher.
bool StorePendingVoucher() {
    return false;
}

// Clears the VAT codes block 208 does not know.
void ClearUnknownVatCodes(uint8_t *voucher) {}

// Creates the accounts a voucher names.
void CreateMissingAccounts(uint8_t *voucher) {}

// The account kind of an account number.
int AccountKindFromNumber(const uint8_t *account) {
    return -1;
}
