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
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "operations/project_ops.h"
#include "operations/sales_invoice.h"
#include "rules/accounts.h"
#include "rules/checks.h"
#include "rules/vat_currency.h"

namespace {

constexpr int GroupMax = 5, ListMax = 5, FormulaMax = 5, StepMax = 5, MatrixMax = 5, UnitMax = 5, ItemMax = 20,
              CustomerMax = 20, AccountMax = 10, VatMax = 2, CurrencyMax = 5, UnitFieldMax = 10, RangeMax = 60;

// What a code in a record refers to: the register and its code field.
struct Target {
    int reg;
    uint32_t keyAt;
    int max;
    int unknownText;
};
constexpr Target ItemGroup{ITVc::Number, ITVc::Code, GroupMax, Texts::ItemGroupUnknown};
constexpr Target Unit{UnitVc::Number, UnitVc::Code, UnitMax, Texts::UnitUnknown};
constexpr Target Item{INVc::Number, INVc::Code, ItemMax, Texts::ItemUnknown};
constexpr Target PriceList{PriceListVc::Number, PriceListVc::Code, ListMax, Texts::PriceListUnknown};
constexpr Target Formula{PriceFormulaVc::Number, PriceFormulaVc::Code, FormulaMax, Texts::PriceFormulaUnknown};
constexpr Target Steps{QtyStepVc::Number, QtyStepVc::Code, StepMax, Texts::QtyStepUnknown};
constexpr Target Matrix{DiscMatrixVc::Number, DiscMatrixVc::Code, MatrixMax, Texts::DiscMatrixUnknown};
constexpr Target Customer{CUVc::Number, CUVc::Code, CustomerMax, Texts::CustomerUnknown};

// Whether a record of t's register has the code (not empty).
bool Exists(const Target &t, const uint8_t *code) {
    RuleRecord found(t.reg);
    return ProjectReadByCode(found, t.keyAt, t.max, code);
}

// Codes are kept upper case in their registers; a unit is typed into a
// text field and may come in lower case.
void UpperCase(uint8_t *code) {
    for (int i = 1; i <= code[0]; i++)
        if (code[i] >= 'a' && code[i] <= 'z') code[i] = uint8_t(code[i] - 'a' + 'A');
}

// Reads the code at `at` (at most max characters) of base into code.
void CodeAt(const uint8_t *base, uint32_t at, int max, uint8_t *code) { GetPString(base, at, max, code); }

// An empty code passes; one that names no record of t is refused at the
// record's field `at`.
int CheckRef(const uint8_t *record, uint32_t at, int max, const Target &t) {
    uint8_t code[256];
    CodeAt(record, at, max, code);
    if (code[0] == 0 || Exists(t, code)) return 0;
    return FieldError(t.unknownText, nullptr, uint16_t(at));
}

// The same for a code that must be given: empty is refused too.
int CheckRequiredRef(const uint8_t *record, uint32_t at, int max, const Target &t) {
    uint8_t code[256];
    CodeAt(record, at, max, code);
    if (code[0] == 0) return FieldError(Texts::CodeMissing, nullptr, uint16_t(at));
    return CheckRef(record, at, max, t);
}

// The same for cell `column` of row `row` of the rows whose handle is at
// byte `matrix` of the record.
int CheckRowRef(const uint8_t *rowBytes, uint32_t column, int max, const Target &t, uint32_t matrix, int32_t row) {
    uint8_t code[256];
    CodeAt(rowBytes, column, max, code);
    if (code[0] == 0 || Exists(t, code)) return 0;
    return FieldErrorAt(t.unknownText, nullptr, uint16_t(matrix), uint16_t(row), uint16_t(column));
}

// An account code, when given, names an account of the chart.
int CheckAccount(const uint8_t *record, uint32_t at) {
    uint8_t code[256];
    CodeAt(record, at, AccountMax, code);
    if (code[0] == 0 || AccountExists(code)) return 0;
    return FieldError(Texts::AccountMissing, nullptr, uint16_t(at));
}

// A VAT code, when given, is one of the VAT codes the company keeps.
int CheckVatCode(const uint8_t *record, uint32_t at) {
    uint8_t code[256];
    CodeAt(record, at, VatMax, code);
    if (code[0] == 0 || IsVatCode(code)) return 0;
    return FieldError(Texts::CodeUnknown, nullptr, uint16_t(at));
}

// Whether a field is to be checked: always in a new record (stored is the
// record itself), in a stored one only when the user changed it.
bool Given(const uint8_t *record, const uint8_t *stored, uint32_t at, int max) {
    if (record == stored) return true;
    uint8_t now[256], before[256];
    CodeAt(record, at, max, now);
    CodeAt(stored, at, max, before);
    return !PStringEqual(now, before);
}

// A price list named by a customer group: a price list's code, or a price
// class 1 to 5 that the project prices read from it.
bool PriceClass(const uint8_t *code) { return code[0] == 1 && code[1] >= '1' && code[1] <= '5'; }

}  // namespace

int ValidateItem(const uint8_t *record, const uint8_t *stored, int mode) {
    if (mode != 2) stored = record;
    uint8_t code[256];
    CodeAt(record, INVc::Code, ItemMax, code);
    if (code[0] == 0) return FieldError(Texts::ItemCodeMissing, nullptr, INVc::Code);
    if (Given(record, stored, INVc::Group, GroupMax))
        if (int r = CheckRef(record, INVc::Group, GroupMax, ItemGroup)) return r;
    if (Given(record, stored, INVc::Unit, UnitFieldMax)) {
        CodeAt(record, INVc::Unit, UnitFieldMax, code);
        UpperCase(code);
        if (code[0] != 0 && !Exists(Unit, code)) return FieldError(Unit.unknownText, nullptr, INVc::Unit);
    }
    if (Given(record, stored, INVc::SalesAcc, AccountMax))
        if (int r = CheckAccount(record, INVc::SalesAcc)) return r;
    if (Given(record, stored, INVc::VatCode, VatMax))
        if (int r = CheckVatCode(record, INVc::VatCode)) return r;
    return 0;
}

int ValidateItemGroup(const uint8_t *record) {
    if (int r = CheckPlainCode(record, ITVc::Code, GroupMax)) return r;
    for (uint32_t at : {ITVc::SalesAcc, ITVc::COGSAcc, ITVc::StockAcc})
        if (int r = CheckAccount(record, at)) return r;
    for (uint32_t at : {ITVc::VatCode, ITVc::VatCodeZ1, ITVc::VatCodeZ2})
        if (int r = CheckVatCode(record, at)) return r;
    return 0;
}

int ValidatePrice(const uint8_t *record) {
    if (int r = CheckRequiredRef(record, PriceVc::PriceList, ListMax, PriceList)) return r;
    if (int r = CheckRequiredRef(record, PriceVc::ItemCode, ItemMax, Item)) return r;
    return CheckAccount(record, PriceVc::SalesAcc);
}

int ValidatePriceList(const uint8_t *record) {
    namespace Row = PriceListVc::Rows;
    if (int r = CheckPlainCode(record, PriceListVc::Code, ListMax)) return r;
    uint8_t currency[256];
    CodeAt(record, PriceListVc::CurncyCode, CurrencyMax, currency);
    if (currency[0] != 0 && !IsCurrencyCode(currency))
        return FieldError(Texts::CurrencyUnknown, nullptr, PriceListVc::CurncyCode);
    uint8_t row[Row::Size];
    int32_t count = MatrixRowCount(PriceListVc::Number, 0, record);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(PriceListVc::Number, record, i, row)) break;
        if (int r = CheckRowRef(row, Row::Formula, FormulaMax, Formula, PriceListVc::Matrix, i)) return r;
        // An item-group row names its group; a range row is two item codes
        // that need not be items themselves.
        if (GetU16(row, Row::Kind) == 0)
            if (int r = CheckRowRef(row, Row::CodeRange, RangeMax, ItemGroup, PriceListVc::Matrix, i)) return r;
    }
    return 0;
}

int ValidateCustomerGroup(const uint8_t *record) {
    if (int r = CheckPlainCode(record, CustGroupVc::Code, GroupMax)) return r;
    uint8_t list[256];
    CodeAt(record, CustGroupVc::PriceList, ListMax, list);
    if (list[0] != 0 && !PriceClass(list) && !Exists(PriceList, list))
        return FieldError(Texts::GroupPriceListUnknown, nullptr, CustGroupVc::PriceList);
    if (int r = CheckRef(record, CustGroupVc::DiscCode, MatrixMax, Matrix)) return r;
    return CheckAccount(record, CustGroupVc::ARAcc);
}

int ValidateDiscountMatrix(const uint8_t *record) {
    namespace Row = DiscMatrixVc::Rows;
    if (int r = CheckPlainCode(record, DiscMatrixVc::Code, MatrixMax)) return r;
    if (int r = CheckRef(record, DiscMatrixVc::DefStep, StepMax, Steps)) return r;
    uint8_t row[Row::Size];
    int32_t count = MatrixRowCount(DiscMatrixVc::Number, 0, record);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(DiscMatrixVc::Number, record, i, row)) break;
        if (int r = CheckRowRef(row, Row::ItemGroup, GroupMax, ItemGroup, DiscMatrixVc::Matrix, i)) return r;
        if (int r = CheckRowRef(row, Row::Step, StepMax, Steps, DiscMatrixVc::Matrix, i)) return r;
    }
    return 0;
}

int ValidateCustomerPrices(const uint8_t *record) {
    namespace Row = CustPriceVc::Rows;
    if (int r = CheckRequiredRef(record, CustPriceVc::CustCode, CustomerMax, Customer)) return r;
    uint8_t row[Row::Size];
    int32_t count = MatrixRowCount(CustPriceVc::Number, 0, record);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(CustPriceVc::Number, record, i, row)) break;
        if (int r = CheckRowRef(row, Row::ItemCode, ItemMax, Item, CustPriceVc::Matrix, i)) return r;
    }
    return 0;
}
