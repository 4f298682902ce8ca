// sales_validation.cpp - the checks of orders (7), quotations (55) and
// contracts (45) before they are stored.
//
// Each check draws a serial number for a record without one, tests the
// number against the key and the number series, then the customer, the
// terms and the item rows. A refused record gets back the serial number it
// had on entry, so a number drawn for it is not kept.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "operations/operations.h"
#include "operations/purchase_ledger.h"
#include "rules/checks.h"
#include "rules/invoice_kind.h"
#include "rules/ledger.h"
#include "rules/prices.h"
#include "rules/serial_numbers.h"
#include "rules/pay_terms_kind.h"
#include "rules/series_terms.h"

namespace {

constexpr int CodeMax = 20;
constexpr int AccountMax = 10;
constexpr int VatMax = 2;

// Where one kind of document keeps what the shared steps read. A zero
// column means the document has no such field.
struct SalesDoc {
    int reg;
    uint32_t serial, date, customer, matrix;
    uint16_t serialField;   // the field a key or series fault focuses
    uint32_t rowSize, rowItem, rowQty, rowAmount, rowAccount, rowDelivered, rowVat;
};

constexpr SalesDoc OrderDoc = {ORVc::Number,        ORVc::SerNr,         ORVc::OrdDate,        ORVc::CustCode,
                               ORVc::Matrix,        ORVc::SerNr,         ORVc::Rows::Size,     ORVc::Rows::ItemCode,
                               ORVc::Rows::Quantity, ORVc::Rows::Sum,    ORVc::Rows::SalesAcc, ORVc::Rows::QtyDelivered,
                               ORVc::Rows::VatCode};
constexpr SalesDoc QuotationDoc = {QuotationVc::Number, QuotationVc::SerNr,   QuotationVc::QTDate,
                                   QuotationVc::CustCode, QuotationVc::Matrix, QuotationVc::SerNr,
                                   QuotationVc::Rows::Size, QuotationVc::Rows::ItemCode, 0,
                                   QuotationVc::Rows::Sum, 0, 0, QuotationVc::Rows::VatCode};
constexpr SalesDoc ContractDoc = {ContractVc::Number,     ContractVc::SerNr,        ContractVc::ContractDate,
                                  ContractVc::CustCode,   ContractVc::Matrix,       ContractVc::SerNr,
                                  ContractVc::Rows::Size, ContractVc::Rows::ItemCode, 0,
                                  ContractVc::Rows::Sum,  ContractVc::Rows::SalesAcc, 0, ContractVc::Rows::VatCode};

// The serial-number step shared by the three checks: a record without a
// number gets one drawn from wanted. Gives the text of a key fault (1547)
// or of a series fault (1557), 0 when both pass or are skipped because an
// update keeps its stored number.
int SerialStep(const SalesDoc &d, uint8_t *record, const uint8_t *stored, int mode, int32_t wanted) {
    DateRec date = GetDate(record, d.date);
    if (NeedsNumber(GetU32(record, d.serial))) {
        int32_t n = NextSerialNumber(d.reg, &date, wanted, 0);
        PutU32(record, d.serial, n == NoFreeNumber ? SerialNone : (uint32_t)n);
    }
    uint32_t serial = GetU32(record, d.serial);
    if (mode != 1 && GetU32(stored, d.serial) == serial) return 0;
    if (RecExists(d.reg, record)) return Texts::RecordKeyExists;
    if (NeedsNumber(serial) || !SerialNumberValid(d.reg, (int32_t)serial, &date)) return Texts::NumberOutsideSeries;
    return 0;
}


// The row checks of one document kind, for every row of kind 1: 8a where
// the document has accounts, 8b the item, 8c amount without item (only
// where itemNeeded) or VAT code, 8d the delivered quantity.
int RowChecks(const SalesDoc &d, const uint8_t *record, int zone, bool itemNeeded) {
    uint8_t row[512], code[256], vat[256];
    assert(d.rowSize <= sizeof row);
    int32_t count = MatrixRowCount(d.reg, 0, record);
    for (int32_t i = 0; i < count; i++) {
        const uint16_t at = (uint16_t)i;
        if (!MatrixRowRead(d.reg, record, i, row))
            return FieldErrorAt(Texts::RecordNotStored, nullptr, (uint16_t)d.matrix, at, 0);
        if (DocRowKind(GetU16(row, 0)) != DocRowKind::Item) continue;
        if (d.rowAccount && !AccountAgreesWithVat(row, d.rowAccount, d.rowVat, zone))
            return FieldErrorAt(Texts::AccountVatMismatch, nullptr, (uint16_t)d.matrix, at, (uint16_t)d.rowVat);
        GetPString(row, d.rowItem, CodeMax, code);
        if (code[0] != 0 && !CodeInRegister(INVc::Number, INVc::Code, code))
            return FieldErrorAt(Texts::CodeUnknown, nullptr, (uint16_t)d.matrix, at, (uint16_t)d.rowItem);
        PackedDecimal amount = GetDec(row, d.rowAmount);
        if (!DecIsZero(&amount)) {
            if (itemNeeded && code[0] == 0)
                return FieldErrorAt(Texts::ItemCodeMissing, nullptr, (uint16_t)d.matrix, at, (uint16_t)d.rowItem);
            GetPString(row, d.rowVat, VatMax, vat);
            if (vat[0] == 0)
                return FieldErrorAt(Texts::VatCodeMissing, nullptr, (uint16_t)d.matrix, at, (uint16_t)d.rowVat);
        }
        if (d.rowDelivered) {
            PackedDecimal qty = GetDec(row, d.rowQty), delivered = GetDec(row, d.rowDelivered);
            if (!DecIsBlank(&delivered) && DecCompare(&qty, &delivered) < 0)
                return FieldErrorAt(Texts::QtyBelowDelivered, nullptr, (uint16_t)d.matrix, at, (uint16_t)d.rowQty);
        }
    }
    return 0;
}

// Step 1 of an order: true when block 205 asks for the credit check and
// the customer is over a limit above zero.
bool OverCreditLimit(const uint8_t *order) {
    const uint8_t *block = SettingsRecord(CreditLimitBlk::Number, CreditLimitBlock);
    if (!block || GetU16(block, CreditLimitBlk::OrderCreditCheck) != 1) return false;
    uint8_t code[256];
    GetText(order, ORVc::CustCode, code);
    return CustomerOverCreditLimit(code);
}

// The number an order's series search starts from: the user's own order
// start, else block 132's.
int32_t OrderWanted() { return SeriesHint(SU::SeriesA, SeriesDefaultsBlk::OrderHint); }

// The number a quotation's series search starts from: block 132's.
int32_t QuotationWanted() {
    const uint8_t *block = SettingsRecord(SeriesDefaultsBlk::Number, SeriesStateBlock);
    uint32_t hint = block ? GetU32(block, SeriesDefaultsBlk::QuotationHint) : 0;
    return hint == 0 || hint >= SerialAsk ? 0 : (int32_t)hint;
}

// The checks of an order or a quotation in their order. A series fault
// (1557) does not end the check: it is shown only when no later fault
// comes, and the record stays refused either way.
int OrderLikeChecks(const SalesDoc &d, uint8_t *record, const uint8_t *stored, int mode) {
    const bool order = d.reg == ORVc::Number;
    if (order && OverCreditLimit(record)) return FieldError(Texts::CreditLimitExceeded, nullptr, RecFocusNone);
    int serial = SerialStep(d, record, stored, mode, order ? OrderWanted() : QuotationWanted());
    if (serial == Texts::RecordKeyExists) return FieldError(serial, nullptr, d.serialField);
    if (!CheckBeforeSave(d.reg, record, (uint16_t)d.date)) return -1;
    uint8_t code[256];
    GetPString(record, d.customer, CodeMax, code);
    if (!CodeInRegister(CUVc::Number, CUVc::Code, code))
        return FieldError(Texts::CodeUnknown, nullptr, (uint16_t)d.customer);
    if (order) {
        uint8_t objects[256], none[1] = {0};
        GetText(record, ORVc::Objects, objects);
        if (!CheckObjectList(none, objects)) return FieldError(0, nullptr, ORVc::Objects);
    }
    const uint32_t termsAt = order ? ORVc::PayTerms : QuotationVc::PayTerms;
    GetPString(record, termsAt, 2, code);
    // Terms that make a credit note have no meaning on an order or a
    // quotation: the invoice made from it would credit the customer.
    if (PaymentTermsKind(code) == int(PayTermsKind::CreditNote))
        return FieldError(Texts::CashTermsNotAllowed, nullptr, (uint16_t)termsAt);
    SalesDoc rows = d;
    if (!order) rows.rowAccount = 0;
    int zone = order ? GetU16(record, ORVc::VatZone) : 0;
    if (int r = RowChecks(rows, record, zone, true)) return r;
    if (serial) return FieldError(serial, nullptr, d.serialField);
    return 0;
}

// The checks of a contract in their order; every fault ends the check.
int ContractChecks(uint8_t *record, const uint8_t *stored, int mode) {
    const SalesDoc &d = ContractDoc;
    if (int text = SerialStep(d, record, stored, mode, -1)) return FieldError(text, nullptr, d.serialField);
    if (!CheckBeforeSave(d.reg, record, (uint16_t)d.date)) return -1;
    uint8_t code[256];
    GetPString(record, d.customer, CodeMax, code);
    if (code[0] == 0) return FieldError(Texts::CustomerCodeMissing, nullptr, (uint16_t)d.customer);
    if (!CodeInRegister(CUVc::Number, CUVc::Code, code))
        return FieldError(Texts::CodeUnknown, nullptr, (uint16_t)d.customer);
    return RowChecks(d, record, GetU16(record, ContractVc::VatZone), false);
}

// Runs checks on record and restores its serial number on refusal.
template <typename F> int KeepingSerial(uint8_t *record, uint32_t serialAt, F checks) {
    uint32_t entry = GetU32(record, serialAt);
    int r = checks();
    if (r != 0) PutU32(record, serialAt, entry);
    return r;
}

}  // namespace

// Step 8a: when block 133 asks for it, the account a row books on must
// carry the row's VAT code, if it carries any. The row's account is read;
// when it is none, the block-130 account of the row's VAT code in the
// document's zone is read instead.
bool AccountAgreesWithVat(const uint8_t *row, uint32_t accountAt, uint32_t vatAt, int zone) {
    const uint8_t *block = SettingsRecord(SalesAccountsBlk::Number, SalesAccountsBlock);
    if (!block || GetU16(block, SalesAccountsBlk::AccountVatCheck) != 1) return true;
    uint8_t account[256], vat[256], accountVat[256];
    GetPString(row, accountAt, AccountMax, account);
    GetPString(row, vatAt, VatMax, vat);
    RuleRecord acc(ACVc::Number);
    if (!acc.record) return true;
    uint32_t recid = 0, position = 0;
    PutText(acc.record, ACVc::Code, account);
    if (account[0] == 0 || !RecFind(ACVc::Number, acc.record, 1, 1, &recid, &position)) {
        std::memcpy(account, vat, (size_t)vat[0] + 1);
        VatCodeAccount(account, zone);
        RecClear(ACVc::Number, acc.record);
        PutText(acc.record, ACVc::Code, account);
        if (account[0] == 0 || !RecFind(ACVc::Number, acc.record, 1, 1, &recid, &position)) return true;
    }
    GetText(acc.record, ACVc::VatCode, accountVat);
    return accountVat[0] == 0 || PStringEqual(accountVat, vat);
}

// Checks an order before it is stored: credit limit, number and key,
// date, customer, objects, terms and rows. 0, or -1 with the position in
// FieldErrorPos; a refused order keeps the number it came with.
int ValidateOrder(uint8_t *record, uint8_t *stored, int mode) {
    assert(record);
    if (!stored) stored = record;
    return KeepingSerial(record, ORVc::SerNr, [&] { return OrderLikeChecks(OrderDoc, record, stored, mode); });
}

// Checks a quotation as an order without credit, objects, account
// agreement and delivered quantities.
int ValidateQuotation(uint8_t *record, uint8_t *stored, int mode) {
    assert(record);
    if (!stored) stored = record;
    return KeepingSerial(record, QuotationVc::SerNr,
                         [&] { return OrderLikeChecks(QuotationDoc, record, stored, mode); });
}

// Checks a contract: number and key, date, customer and rows.
int ValidateContract(uint8_t *record, uint8_t *stored, int mode) {
    assert(record);
    if (!stored) stored = record;
    return KeepingSerial(record, ContractVc::SerNr, [&] { return ContractChecks(record, stored, mode); });
}
