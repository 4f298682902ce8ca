// item_price_checks.cpp - the record checks of the item and of the
// registers that price it: item groups (14), prices (50), price lists
// (62), price formulas (63), quantity steps (64), customer groups (65),
// the discount matrix (66) and customer prices (71).
//
// Each code a record holds that names another register's record must
// name one that exists: a price of an item no one keeps, or a price-list
// row naming a formula that is not there, would be stored and then
// silently give no price. A refusal names the field (or the row's cell)
// so that the window puts the cursor on it and keeps what was typed.
//
// An item's references are checked where the user gives them: on a new
// item, and on a stored one where the value changed. An item stored
// before with a unit or group no register holds (an import does not check
// them) can then still be changed in its other fields.
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "rules/checks.h"

namespace {

constexpr int GroupMax = 5, ListMax = 5, FormulaMax = 5, StepMax = 5, MatrixMax = 5, ItemMax = 20,
              CustomerMax = 20, AccountMax = 10, VatMax = 2, CurrencyMax = 5, UnitFieldMax = 10, RangeMax = 60;

// Codes are kept upper case in their registers; a unit is typed into a
// text field and may come in lower case.
bool KnownUnitAnyCase(const uint8_t *typed) {
    uint8_t code[256];
    PStringCopy(code, typed);
    for (int i = 1; i <= code[0]; i++)
        if (code[i] >= 'a' && code[i] <= 'z') code[i] = uint8_t(code[i] - 'a' + 'A');
    return KnownUnit(code);
}

// The item's references, in the order of its window.
const CodeField ItemCodes[] = {
    {INVc::Group, GroupMax, Texts::ItemGroupUnknown, KnownItemGroup},
    {INVc::Unit, UnitFieldMax, Texts::UnitUnknown, KnownUnitAnyCase},
    {INVc::SalesAcc, AccountMax, Texts::AccountMissing, KnownAccount},
    {INVc::VatCode, VatMax, Texts::CodeUnknown, KnownVatCode},
};
const CodeField ItemGroupCodes[] = {
    {ITVc::SalesAcc, AccountMax, Texts::AccountMissing, KnownAccount},
    {ITVc::COGSAcc, AccountMax, Texts::AccountMissing, KnownAccount},
    {ITVc::StockAcc, AccountMax, Texts::AccountMissing, KnownAccount},
    {ITVc::VatCode, VatMax, Texts::CodeUnknown, KnownVatCode},
    {ITVc::VatCodeZ1, VatMax, Texts::CodeUnknown, KnownVatCode},
    {ITVc::VatCodeZ2, VatMax, Texts::CodeUnknown, KnownVatCode},
};
const CodeField PriceCodes[] = {
    {PriceVc::PriceList, ListMax, Texts::PriceListUnknown, KnownPriceList, Texts::CodeMissing},
    {PriceVc::ItemCode, ItemMax, Texts::ItemUnknown, KnownItem, Texts::CodeMissing},
    {PriceVc::SalesAcc, AccountMax, Texts::AccountMissing, KnownAccount},
};
const CodeField PriceListCodes[] = {
    {PriceListVc::CurncyCode, CurrencyMax, Texts::CurrencyUnknown, KnownCurrency},
};
const CodeField CustomerGroupCodes[] = {
    {CustGroupVc::PriceList, ListMax, Texts::GroupPriceListUnknown, KnownDocumentPriceList},
    {CustGroupVc::DiscCode, MatrixMax, Texts::DiscMatrixUnknown, KnownDiscountMatrix},
    {CustGroupVc::ARAcc, AccountMax, Texts::AccountMissing, KnownAccount},
};
const CodeField DiscountMatrixCodes[] = {
    {DiscMatrixVc::DefStep, StepMax, Texts::QtyStepUnknown, KnownQtyStep},
};
const CodeField CustomerPriceCodes[] = {
    {CustPriceVc::CustCode, CustomerMax, Texts::CustomerUnknown, KnownCustomer, Texts::CodeMissing},
};

}  // namespace

int ValidateItem(const uint8_t *record, const uint8_t *stored, int mode) {
    uint8_t code[256];
    GetText(record, INVc::Code, code);
    if (code[0] == 0) return FieldError(Texts::ItemCodeMissing, nullptr, INVc::Code);
    return CheckCodeFields(ItemCodes, record, stored, mode);
}

int ValidateItemGroup(const uint8_t *record) {
    if (int r = CheckPlainCode(record, ITVc::Code, GroupMax)) return r;
    return CheckCodeFields(ItemGroupCodes, record, nullptr, 1);
}

int ValidatePrice(const uint8_t *record) { return CheckCodeFields(PriceCodes, record, nullptr, 1); }

int ValidatePriceList(const uint8_t *record) {
    namespace Row = PriceListVc::Rows;
    if (int r = CheckPlainCode(record, PriceListVc::Code, ListMax)) return r;
    if (int r = CheckCodeFields(PriceListCodes, record, nullptr, 1)) return r;
    uint8_t row[Row::Size];
    int32_t count = MatrixRowCount(PriceListVc::Number, 0, record);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(PriceListVc::Number, record, i, row)) break;
        if (int r = CheckRowCode(row, Row::Formula, FormulaMax, KnownPriceFormula, Texts::PriceFormulaUnknown,
                                 PriceListVc::Matrix, i))
            return r;
        // An item-group row names its group; a range row is two item codes
        // that need not be items themselves.
        if (GetU16(row, Row::Kind) == 0)
            if (int r = CheckRowCode(row, Row::CodeRange, RangeMax, KnownItemGroup, Texts::ItemGroupUnknown,
                                     PriceListVc::Matrix, i))
                return r;
    }
    return 0;
}

int ValidateCustomerGroup(const uint8_t *record) {
    if (int r = CheckPlainCode(record, CustGroupVc::Code, GroupMax)) return r;
    return CheckCodeFields(CustomerGroupCodes, record, nullptr, 1);
}

int ValidateDiscountMatrix(const uint8_t *record) {
    namespace Row = DiscMatrixVc::Rows;
    if (int r = CheckPlainCode(record, DiscMatrixVc::Code, MatrixMax)) return r;
    if (int r = CheckCodeFields(DiscountMatrixCodes, record, nullptr, 1)) return r;
    uint8_t row[Row::Size];
    int32_t count = MatrixRowCount(DiscMatrixVc::Number, 0, record);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(DiscMatrixVc::Number, record, i, row)) break;
        if (int r = CheckRowCode(row, Row::ItemGroup, GroupMax, KnownItemGroup, Texts::ItemGroupUnknown,
                                 DiscMatrixVc::Matrix, i))
            return r;
        if (int r = CheckRowCode(row, Row::Step, StepMax, KnownQtyStep, Texts::QtyStepUnknown, DiscMatrixVc::Matrix, i))
            return r;
    }
    return 0;
}

int ValidateCustomerPrices(const uint8_t *record) {
    namespace Row = CustPriceVc::Rows;
    if (int r = CheckCodeFields(CustomerPriceCodes, record, nullptr, 1)) return r;
    uint8_t row[Row::Size];
    int32_t count = MatrixRowCount(CustPriceVc::Number, 0, record);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(CustPriceVc::Number, record, i, row)) break;
        if (int r = CheckRowCode(row, Row::ItemCode, ItemMax, KnownItem, Texts::ItemUnknown, CustPriceVc::Matrix, i))
            return r;
    }
    return 0;
}
