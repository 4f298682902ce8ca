// vat_accounts.cpp - the account a VAT code books on in a VAT zone.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "operations/operations.h"
#include "rules/rules_types.h"

// Replaces the VAT code in account (a PString of up to 10 characters) by
// the account of the first block-130 row with that code, taken from the
// zone's column (1 and 2 their own, any other zone the first); a code no
// row has is left as it is.
void VatCodeAccount(uint8_t *account, int zone) {
    assert(account);
    SettingsRows rows(VatAccountsBlk::Number, &Block130Rows, VatAccountsBlk::Rows::Size);
    uint8_t code[256];
    for (int32_t i = 0; i < rows.count; i++) {
        const uint8_t *row = rows.data + (size_t)i * VatAccountsBlk::Rows::Size;
        GetText(row, VatAccountsBlk::Rows::VatCode, code);
        if (!PStringEqual(code, account)) continue;
        uint32_t at = zone == 1   ? VatAccountsBlk::Rows::AccZone1
                      : zone == 2 ? VatAccountsBlk::Rows::AccZone2
                                  : VatAccountsBlk::Rows::AccOther;
        GetPString(row, at, 10, account);
        return;
    }
}
