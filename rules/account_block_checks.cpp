// account_block_checks.cpp - the checks of the VAT-code, sales-account and
// vendor-account settings blocks before they are stored.
#include "rules/vat_currency.h"

// Checks the rows of block 208 before they are stored.
int CheckVatCodeAccounts(const uint8_t *rows, uint32_t size) {
    return -1;
}

// Checks block 133 before it is stored.
int CheckSalesAccountsBlock(const uint8_t *block) {
    return -1;
}

// Checks block 155 before it is stored.
int CheckVendorAccountsBlock(const uint8_t *block) {
    return -1;
}
