// vat_accounts.cpp - the account a VAT code books on in a VAT zone.
#include "operations/operations.h"

// Leaves account as it is.
void VatCodeAccount(uint8_t *account, int zone) {}
