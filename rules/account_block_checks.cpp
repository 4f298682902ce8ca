// account_block_checks.cpp - the checks of the VAT-code table (block 208),
// the sales accounts (block 133) and the purchase accounts (block 155)
// before they are stored: every account they name must exist and every VAT
// code must be a code of block 208. The first fault is shown with its
// field (or row and column) and stops the check.
#include <array>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "rules/accounts.h"
#include "rules/vat_currency.h"

namespace {

constexpr int VatCodeMax = 2;
constexpr int AccountCodeMax = 10;

// The account fields of block 133, in the order they are checked.
constexpr std::array<uint32_t, 19> SalesAccountFields = {
    SalesAccountsBlk::ARAcc,          SalesAccountsBlk::RoundingAcc,     SalesAccountsBlk::FeeAcc,
    SalesAccountsBlk::DiscAcc,        SalesAccountsBlk::VatClearAcc,     SalesAccountsBlk::CashAcc,
    SalesAccountsBlk::DiscVatAcc,     SalesAccountsBlk::FurtherAcc,      SalesAccountsBlk::ExchGainAcc,
    SalesAccountsBlk::ExchLossAcc,    SalesAccountsBlk::RcptBalanceAcc,  SalesAccountsBlk::StockAcc,
    SalesAccountsBlk::PurchClearingAcc, SalesAccountsBlk::CostOfGoodsAcc, SalesAccountsBlk::SalesAcc0,
    SalesAccountsBlk::SalesAcc1,      SalesAccountsBlk::SalesAcc2,       SalesAccountsBlk::OnAccountAcc,
    SalesAccountsBlk::StockDiffAcc,
};
constexpr std::array<uint32_t, 3> SalesVatFields = {SalesAccountsBlk::VatCode0, SalesAccountsBlk::VatCode1,
                                                    SalesAccountsBlk::VatCode2};

// The account fields of block 155, in the order they are checked.
constexpr std::array<uint32_t, 11> VendorAccountFields = {
    PurchAccountsBlk::CreditorAcc,     PurchAccountsBlk::DiscRecAcc,   PurchAccountsBlk::DiscVatDebitAcc,
    PurchAccountsBlk::CashInvAcc,      PurchAccountsBlk::DiscVatCreditAcc, PurchAccountsBlk::BankChargeAcc,
    PurchAccountsBlk::ExchGainAcc,     PurchAccountsBlk::ExchLossAcc,  PurchAccountsBlk::PayDiffAcc,
    PurchAccountsBlk::VatOffsetAcc,    PurchAccountsBlk::PrepayAcc,
};
constexpr std::array<uint32_t, 3> VendorVatFields = {PurchAccountsBlk::VatCodeT0, PurchAccountsBlk::VatCodeT1,
                                                     PurchAccountsBlk::VatCodeT2};

// True when the account field at offset of base is empty or names a stored
// account.
bool AccountFieldOk(const uint8_t *base, uint32_t offset) {
    uint8_t code[256];
    GetPString(base, offset, AccountCodeMax, code);
    return code[0] == 0 || AccountExists(code);
}

// Checks a one-record accounts block: the account fields in order (1007),
// then the VAT-code fields (1120). 0, or FieldError's -1 at the first
// fault; a null block is refused without a text.
template <size_t A, size_t V>
int CheckAccountsBlock(const uint8_t *block, const std::array<uint32_t, A> &accounts,
                       const std::array<uint32_t, V> &vatCodes) {
    if (!block) return FieldError(0, nullptr, RecFocusNone);
    for (uint32_t offset : accounts) {
        if (!AccountFieldOk(block, offset)) return FieldError(Texts::AccountMissing, nullptr, (uint16_t)offset);
    }
    uint8_t code[256];
    for (uint32_t offset : vatCodes) {
        GetPString(block, offset, VatCodeMax, code);
        if (code[0] != 0 && !IsVatCode(code)) return FieldError(Texts::CodeUnknown, nullptr, (uint16_t)offset);
    }
    return 0;
}

}  // namespace

// Checks the rows of block 208 (size bytes; whole rows only) before they
// are stored, row by row: a later row with the same code (1545 on that
// later row's code), then the row's first, second and third accounts
// (1007 on the field). 0, or FieldErrorAt's -1 at the first fault.
int CheckVatCodeAccounts(const uint8_t *rows, uint32_t size) {
    uint32_t count = size / VatCodeRow::Size;
    if (count > 0 && !rows) return FieldError(0, nullptr, RecFocusNone);
    uint8_t code[256], other[256];
    for (uint32_t i = 0; i < count; i++) {
        const uint8_t *row = rows + (size_t)i * VatCodeRow::Size;
        GetText(row, VatCodeRow::Code, code);
        for (uint32_t j = i + 1; j < count; j++) {
            GetText(rows + (size_t)j * VatCodeRow::Size, VatCodeRow::Code, other);
            if (PStringEqual(code, other))
                return FieldErrorAt(Texts::CodeTwice, nullptr, 0, (uint16_t)j, VatCodeRow::Code);
        }
        for (uint32_t column : {VatCodeRow::Account1, VatCodeRow::Account2, VatCodeRow::Account3}) {
            if (!AccountFieldOk(row, column))
                return FieldErrorAt(Texts::AccountMissing, nullptr, 0, (uint16_t)i, (uint16_t)column);
        }
    }
    return 0;
}

// Checks block 133 (sales accounts) before it is stored.
int CheckSalesAccountsBlock(const uint8_t *block) {
    return CheckAccountsBlock(block, SalesAccountFields, SalesVatFields);
}

// Checks block 155 (purchase accounts) before it is stored.
int CheckVendorAccountsBlock(const uint8_t *block) {
    return CheckAccountsBlock(block, VendorAccountFields, VendorVatFields);
}
