// record_validation.cpp - the check of a record by its register before it
// is stored, and the checks of the master registers: customers, items,
// objects and object types, accounts, account templates and vendors.
#include <cassert>
#include <vector>

#include "core/company_variant.h"
#include "core/field_access.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "operations/customer_receipt.h"
#include "operations/project_ops.h"
#include "operations/purchase_ledger.h"
#include "operations/sales_invoice.h"
#include "rules/accounts.h"
#include "rules/checks.h"
#include "rules/serial_numbers.h"
#include "rules/small_register_checks.h"
#include "rules/vat_currency.h"

namespace {

// True when text holds one of the characters of set.
bool HasAnyOf(const uint8_t *text, const char *set) {
    for (int i = 1; i <= text[0]; i++)
        for (const char *c = set; *c; c++)
            if (text[i] == (uint8_t)*c) return true;
    return false;
}

// A code that must be present; text when it is empty.
int CheckCodePresent(const uint8_t *record, uint32_t field, int max, int text) {
    uint8_t code[256];
    GetPString(record, field, max, code);
    return code[0] == 0 ? FieldError(text, nullptr, (uint16_t)field) : 0;
}

// An account number: at least three characters, none of "-", "+", "."
// and "*" (they mean ranges and sums in account lists). The VAT code an
// account gives its voucher rows must be a VAT code, and its follow-up
// account, which a voucher adds a row on, must exist.
int ValidateAccount(const uint8_t *record) {
    uint8_t code[256], vat[256], followUp[256];
    GetText(record, ACVc::Code, code);
    if (code[0] < 3) return FieldError(Texts::AccountCodeShort, nullptr, ACVc::Code);
    if (HasAnyOf(code, "-+.*")) return FieldError(Texts::AccountCodeBadChar, nullptr, ACVc::Code);
    GetText(record, ACVc::VatCode, vat);
    if (vat[0] != 0 && !IsVatCode(vat)) return FieldError(Texts::CodeUnknown, nullptr, ACVc::VatCode);
    GetText(record, ACVc::FollowUp, followUp);
    if (followUp[0] != 0 && !AccountExists(followUp)) return FieldError(Texts::AccountMissing, nullptr, ACVc::FollowUp);
    return 0;
}

// An exchange rate is of a currency the company keeps (block 172); the
// home currency, an empty code, has none.
int ValidateExchangeRate(const uint8_t *record) {
    uint8_t code[256];
    GetText(record, ExchRateVc::CurncyCode, code);
    if (code[0] == 0 || !IsCurrencyCode(code))
        return FieldError(Texts::CurrencyUnknown, nullptr, ExchRateVc::CurncyCode);
    return 0;
}

// An account template: a plain code, and rows whose accounts exist (the
// placeholders "!" and "#" stand for accounts given later) and whose VAT
// codes are known.
int CheckAccountTemplateRows(const uint8_t *record) {
    if (int r = CheckPlainCode(record, AUVc::Code, 10)) return r;
    uint8_t row[AUVc::Rows::Size], account[256], code[256];
    int32_t count = MatrixRowCount(AUVc::Number, 0, record);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(AUVc::Number, record, i, row)) break;
        GetText(row, AUVc::Rows::Account, account);
        bool placeholder = account[0] == 1 && (account[1] == '!' || account[1] == '#');
        if (account[0] != 0 && !placeholder && !AccountExists(account))
            return FieldErrorAt(Texts::AccountMissing, nullptr, AUVc::Matrix, (uint16_t)i, AUVc::Rows::Account);
        GetText(row, AUVc::Rows::VatCode, code);
        if (code[0] != 0 && !IsVatCode(code))
            return FieldErrorAt(Texts::CodeUnknown, nullptr, AUVc::Matrix, (uint16_t)i, AUVc::Rows::VatCode);
    }
    return 0;
}

// The row count of the order (reg 7, serial at serialAt) or purchase order
// numbered serial; -1 when none is named or found.
int32_t ParentRowCount(int reg, uint32_t serialAt, uint32_t serial) {
    if (serial == SerialNone) return -1;
    RuleRecord parent(reg);
    if (!parent.record) return -1;
    PutU32(parent.record, serialAt, serial);
    uint32_t recid = 0, position = 0;
    if (!RecFind(reg, parent.record, 1, 1, &recid, &position)) return -1;
    return MatrixRowCount(reg, 0, parent.record);
}

// A delivery's or purchase's row links must name a row of its order or
// purchase order (a delivery's component lines name none): a link that
// fits nothing would move no quantity on the order, silently. 0, or the
// refusal (1120) at the first such link.
int RowLinksCheck(int reg, const uint8_t *record) {
    const bool delivery = reg == SHVc::Number;
    const uint32_t linkAt = delivery ? SHVc::Rows::OrderRowNr : PUVc::Rows::PORowNr;
    const uint16_t matrix = delivery ? SHVc::Matrix : PUVc::Matrix;
    int32_t parentRows = -2;   // not read yet
    std::vector<uint8_t> row(RecRowSize(reg));
    int32_t count = MatrixRowCount(reg, 0, record);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(reg, record, i, row.data())) continue;
        uint32_t link = GetU32(row.data(), linkAt);
        if (link == SerialNone || (delivery && link == 0xFFFFFFFEu)) continue;
        if (parentRows == -2)
            parentRows = delivery ? ParentRowCount(ORVc::Number, ORVc::SerNr, GetU32(record, SHVc::OrderNr))
                                  : ParentRowCount(PurchOrderVc::Number, PurchOrderVc::SerNr,
                                                   GetU32(record, PUVc::POSerNr));
        if ((int32_t)(link & 0xFFFFu) >= parentRows)
            return FieldErrorAt(Texts::CodeUnknown, nullptr, matrix, (uint16_t)i, (uint16_t)linkAt);
    }
    return 0;
}

}  // namespace

// A code that names one thing: present (1058) and free of the list
// separators "," and "." (1059). 0, or FieldError's -1 on field.
int CheckPlainCode(const uint8_t *record, uint32_t field, int max) {
    uint8_t code[256];
    GetPString(record, field, max, code);
    if (code[0] == 0) return FieldError(Texts::CodeMissing, nullptr, (uint16_t)field);
    if (HasAnyOf(code, ",.")) return FieldError(Texts::CodeHasSeparator, nullptr, (uint16_t)field);
    return 0;
}


// Numbers a new record that asks for a number where its register numbers
// records freely, then runs the register's own check. 0 accepts; else -1
// with the error position in FieldErrorPos.
int ValidateRecordOf(int reg, uint8_t *record, uint8_t *stored, int mode) {
    assert(record);
    AssignMissingSerialNumbers(reg, record, 0, mode == 1 ? 1 : 0);
    if (int r = ValidateSmallRegister(reg, record)) return r;
    if (!stored) stored = record;
    // A document's codes come first: its own check may number it.
    if (int r = CheckDocumentCodes(reg, record, stored, mode)) return r;
    // Of the other registers past 126 only the banks have a check: their code.
    if (reg < 0 || (reg > 126 && reg != BankVc::Number)) return 0;
    switch (reg) {
    case CUVc::Number:
        return ValidateCustomer(record, stored, mode);
    case INVc::Number:
        return ValidateItem(record, stored, mode);
    case ITVc::Number:
        return ValidateItemGroup(record);
    case PriceVc::Number:
        return ValidatePrice(record);
    case PriceListVc::Number:
        return ValidatePriceList(record);
    case PriceFormulaVc::Number:
        return CheckPlainCode(record, PriceFormulaVc::Code, 5);
    case QtyStepVc::Number:
        return CheckPlainCode(record, QtyStepVc::Code, 5);
    case CustGroupVc::Number:
        return ValidateCustomerGroup(record);
    case DiscMatrixVc::Number:
        return ValidateDiscountMatrix(record);
    case CustPriceVc::Number:
        return ValidateCustomerPrices(record);
    case PUVc::Number:
        if (int r = RowLinksCheck(reg, record)) return r;
        return ValidatePurchase(record, stored, mode);
    case VIVc::Number:
        return ValidatePurchaseInvoice(record, stored, mode);
    case OPVc::Number:
        return ValidateVendorPayment(record, stored, mode);
    case ExpenseVc::Number:
        return ValidateExpense(record, stored, mode);
    case PersPayVc::Number:
        return ValidatePPRecord(record, stored, mode);
    case SMVc::Number:
        return ValidateSm1(record, stored, mode);
    case Voucher::Number:
        return ValidateVoucher(record, stored, mode);
    case OBVc::Number:
        return CheckPlainCode(record, OBVc::Code, 5);
    case OTVc::Number:
        return CheckPlainCode(record, OTVc::Code, 5);
    case ACVc::Number:
        return ValidateAccount(record);
    case ExchRateVc::Number:
        return ValidateExchangeRate(record);
    case AUVc::Number:
        return CheckAccountTemplateRows(record);
    case VEVc::Number:
        return ValidateVendor(record);
    case PEVc::Number:
        return ValidatePerson(record, stored, mode);
    case LocationVc::Number:
        return ValidateLocation(record);
    case PayTermsVc::Number:
        return CheckCodePresent(record, PayTermsVc::Code, 2, Texts::CodeMissing);
    case UnitVc::Number:
        return CheckCodePresent(record, UnitVc::Code, 5, Texts::CodeMissing);
    case DTVc::Number:
        return CheckCodePresent(record, DTVc::Code, 5, Texts::CodeMissing);
    case DelModeVc::Number:
        return CheckCodePresent(record, DelModeVc::Code, 5, Texts::CodeMissing);
    case CountryVc::Number:
        return CheckCodePresent(record, CountryVc::Code, 5, Texts::CodeMissing);
    case DepartmentVc::Number:
        return CheckCodePresent(record, DepartmentVc::Code, 5, Texts::CodeMissing);
    case BankVc::Number:
        return CheckCodePresent(record, BankVc::Code, 5, Texts::CodeMissing);
    case DocVc::Number:
        // Documents find their form by its name; a form without one could
        // never be printed nor told apart in the form list.
        return CheckCodePresent(record, DocVc::Code, 20, Texts::FormNameMissing);
    case OpenBalVc::Number:
        return ValidateFb1(record, stored, mode);
    case PersEntryVc::Number:
        return ValidateSp1(record, stored, mode);
    case ORVc::Number:
        return ValidateOrder(record, stored, mode);
    case SHVc::Number:
        if (int r = RowLinksCheck(reg, record)) return r;
        return ValidateShipment(record, stored, mode);
    case ContractVc::Number:
        return ValidateContract(record, stored, mode);
    case QuotationVc::Number:
        return ValidateQuotation(record, stored, mode);
    case PurchItemVc::Number:
        if (int r = CheckPurchaseItemCodes(record)) return r;
        return ValidatePi1(record);
    case PurchOrderVc::Number:
        return ValidatePurchaseOrder(record, stored, mode);
    case ProductionVc::Number:
        return ValidateProduction(record, stored, mode);
    case StockMoveVc::Number:
        return ValidateStockMovement(record, stored, mode);
    case IPVc::Number:
        return ValidateReceipt(record, stored, mode);
    case TimeSheetVc::Number:
        return ValidateTimeSheet(record, stored, mode);
    default:
        return 0;
    }
}

// Checks a customer: a code, in company variant 13 a code of at most
// eight digits that does not begin with 0, and the codes it gives its
// documents.
int ValidateCustomer(uint8_t *record, uint8_t *stored, int mode) {
    uint8_t code[256];
    GetText(record, CUVc::Code, code);
    if (code[0] == 0) return FieldError(Texts::CustomerCodeMissing, nullptr, CUVc::Code);
    if (CompanyVariantIs(CountryVariant::V13)) {
        for (int i = 1; i <= code[0]; i++)
            if (code[i] < '0' || code[i] > '9') return FieldError(Texts::CustomerCodeDigits, nullptr, CUVc::Code);
        if (code[1] == '0' || code[0] > 8) return FieldError(Texts::CustomerCodeForm, nullptr, CUVc::Code);
    }
    return CheckCustomerCodes(record, stored, mode);
}
