// purchase_invoice_checks.cpp - the checks a purchase invoice passes
// before it is stored.
//
// Invoices come from the window, from imports and from clients, so an
// invoice not yet approved is checked in full on every insert and update:
// number, date, vendor, currency, VAT, reference, approver, each row and
// the balance of rows against the total. The first fault refuses it at
// its field (or row and column). When it becomes preliminary or approved
// now its voucher is built here, so one whose voucher cannot be made is
// refused before anything is stored. A refused invoice gets back the
// serial number it had on entry.
//
// An approved invoice has booked its voucher and left its open item; an
// update may then change only its due date, discount date and comment
// (the dates go on to the open item) and what the program writes later
// (list mark, transferred flag). Anything else is refused at the first
// changed field, so amounts cannot drift away from the voucher.
#include <cassert>
#include <cstring>
#include <string>

#include "core/company_variant.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/purchase_ledger.h"
#include "operations/sales_invoice.h"
#include "rules/checks.h"
#include "rules/invoice_kind.h"
#include "rules/ledger.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/serial_numbers.h"
#include "rules/series_terms.h"
#include "rules/vat_currency.h"

namespace {

namespace PI = VIVc;
namespace Row = VIVc::Rows;

// "The rows and the VAT do not add up to the invoice amount. ..."
constexpr int TextRowsNotTotal = 11304;

// Byte ranges [from, to) an approved invoice may still change; its rows
// may not change at all.
constexpr uint32_t ApprovedFree[][2] = {
    {PI::Mark, PI::Mark + 2},
    {PI::DueDate, PI::DueDate + 6},
    {PI::DiscDate, PI::DiscDate + 6},
    {PI::Transferred, PI::Transferred + 2},
    {PI::Comment, PI::Comment + 61},
};

// Steps 2 and 3: numbering from the session's own start (or block 132's),
// then a new or changed number must be free and lie in a valid series.
int SerialChecks(uint8_t *invoice, const uint8_t *old, int mode) {
    int32_t hint = SeriesHint(SU::SeriesB + 4, SeriesDefaultsBlk::PurchInvStart);
    return CheckDocumentNumber(PI::Number, invoice, old, mode, PI::SerNr, GetDate(invoice, PI::TransDate), hint);
}

// Steps 5 and 6: a known vendor, and a currency that is the vendor's and
// known, with a rate only when there is a currency.
int VendorAndCurrency(const uint8_t *invoice) {
    uint8_t code[256], currency[256], other[256];
    GetText(invoice, PI::VendCode, code);
    if (code[0] == 0) return FieldError(Texts::VendorCodeMissing, nullptr, PI::VendCode);
    RuleRecord vendor(VEVc::Number);
    if (!VendorRead(code, vendor)) return FieldError(Texts::CodeUnknown, nullptr, PI::VendCode);
    GetText(invoice, PI::CurncyCode, currency);
    GetText(vendor.record, VEVc::CurncyCode, other);
    if (!PStringEqual(currency, other)) return FieldError(Texts::CurrencyDiffers, nullptr, PI::CurncyCode);
    PackedDecimal rate = GetDec(invoice, PI::Rate);
    if (!RateFitsCurrency(currency, &rate)) return FieldError(Texts::CurrencyUnknown, nullptr, PI::Rate);
    if (!IsCurrencyCode(currency)) return FieldError(Texts::CurrencyUnknown, nullptr, PI::CurncyCode);
    return 0;
}

// Steps 7 to 9: an entered VAT of exactly zero while the rows compute
// VAT; the reference number in company variant 13; the approver.
int VatReferenceApprover(const uint8_t *invoice) {
    PackedDecimal entered = GetDec(invoice, PI::VatEntered), computed = GetDec(invoice, PI::VatComputed);
    if (!DecIsBlank(&entered) && DecIsZero(&entered) && !DecIsZero(&computed))
        return FieldError(Texts::PurchaseVatZero, nullptr, PI::VatEntered);
    uint8_t text[256];
    GetText(invoice, PI::PayRef, text);
    if (CompanyVariantIs(CountryVariant::V13) && !CheckRef731(text)) return FieldError(Texts::PurchaseRefInvalid, nullptr, PI::PayRef);
    const uint8_t *entry = SettingsRecord(PurchInvEntryBlk::Number, Block153);
    if (GetU16(invoice, PI::Approved) == 1 && entry && GetU16(entry, PurchInvEntryBlk::ApproverRequired) != 0) {
        GetText(invoice, PI::Approver, text);
        if (!CodeInRegister(PEVc::Number, PEVc::Code, text))
            return FieldError(Texts::PurchInvNotApproved, nullptr, PI::Approver);
    }
    return 0;
}

// Step 10 for an account row.
int AccountRowCheck(const uint8_t *row, uint16_t i) {
    auto refuse = [i](int text, uint32_t column) {
        return FieldErrorAt(text, nullptr, PI::Matrix, i, (uint16_t)column);
    };
    uint8_t code[256], objects[256];
    GetText(row, Row::Project, code);
    if (code[0] != 0) {
        RuleRecord project(ProjectVc::Number);
        if (!project.record) return refuse(Texts::RecordNotStored, Row::Project);
        PutText(project.record, ProjectVc::Code, code);
        uint32_t recid = 0, position = 0;
        if (!RecFind(ProjectVc::Number, project.record, 1, 1, &recid, &position))
            return refuse(Texts::TimeProjectMissing, Row::Project);
        if (GetU16(project.record, ProjectVc::Closed) != 0) return refuse(Texts::TimeProjectClosed, Row::Project);
    }
    GetText(row, Row::Account, code);
    if (code[0] == 0) return refuse(Texts::RowAmountNoAccount, Row::Account);
    if (!CodeInRegister(ACVc::Number, ACVc::Code, code))
        return FieldErrorAt(Texts::AccountMissing, code, PI::Matrix, i, Row::Account);
    GetText(row, Row::Objects, objects);
    if (!CheckObjectList(code, objects)) return FieldErrorAt(0, nullptr, PI::Matrix, i, Row::Objects);
    GetText(row, Row::VatCode, code);
    if (code[0] != 0 && !IsVatCode(code)) return refuse(Texts::CodeUnknown, Row::VatCode);
    GetText(row, Row::ItemCode, code);
    PackedDecimal qty = GetDec(row, Row::Quantity);
    if (code[0] != 0 && (DecIsZero(&qty) || DecIsNegative(&qty))) return refuse(Texts::CodeMissing, Row::Quantity);
    return 0;
}

// Step 10 for a row naming the invoice a credit note credits.
int CreditedRowCheck(const uint8_t *invoice, const uint8_t *row, uint16_t i) {
    uint32_t serial = GetU32(row, Row::CredSerNr);
    if (serial == SerialNone) return 0;
    auto refuse = [i](int text) { return FieldErrorAt(text, nullptr, PI::Matrix, i, Row::CredSerNr); };
    RuleRecord credited(PI::Number);
    if (!PurchaseInvoiceRead(serial, credited)) return refuse(Texts::PurchaseInvoiceMissing);
    if (GetU16(credited.record, PI::Approved) != 1) return refuse(Texts::CreditedNotApproved);
    uint8_t a[256], b[256];
    GetText(invoice, PI::VendCode, a);
    GetText(credited.record, PI::VendCode, b);
    if (!PStringEqual(a, b)) return refuse(Texts::CreditedOtherVendor);
    GetText(invoice, PI::CurncyCode, a);
    GetText(credited.record, PI::CurncyCode, b);
    if (!PStringEqual(a, b)) return refuse(Texts::CurrencyDiffers);
    return 0;
}

// The rows and the VAT do not add up to the invoice amount. With ordinary
// VAT a row with an amount and no VAT code is the likely cause (its VAT
// is counted nowhere): the user is sent to that row's VAT code. Otherwise
// the difference is told at the last row's amount.
int RowsNotTotal(const uint8_t *invoice, const PackedDecimal *difference, int32_t count) {
    uint8_t row[Row::Size], code[256];
    if (VatTreatment(GetU16(invoice, PI::VatTreatment)) == VatTreatment::Ordinary) {
        for (int32_t i = 0; i < count; i++) {
            if (!MatrixRowRead(PI::Number, invoice, i, row) ||
                PurchaseRowKind(GetU16(row, Row::Kind)) != PurchaseRowKind::Account) continue;
            PackedDecimal amount = GetDec(row, Row::Amount);
            GetText(row, Row::VatCode, code);
            if (DecIsBlank(&amount) || DecIsZero(&amount) || code[0] != 0) continue;
            PString number;
            PStringFromView(number, std::to_string(i + 1));
            return FieldErrorAt(Texts::RowVatCodeMissing, number, PI::Matrix, (uint16_t)i, Row::VatCode);
        }
    }
    PString amount;
    FieldToText(difference->b, FtAmount2, amount);
    return FieldErrorAt(TextRowsNotTotal, amount, PI::Matrix, (uint16_t)(count > 0 ? count - 1 : 0),
                        Row::Amount);
}

// Steps 10 and 11: each row, then the rows against the total.
int RowChecks(const uint8_t *invoice) {
    uint8_t row[Row::Size];
    int32_t count = MatrixRowCount(PI::Number, 0, invoice);
    for (int32_t i = 0; i < count; i++) {
        uint16_t at = (uint16_t)i;
        if (!MatrixRowRead(PI::Number, invoice, i, row))
            return FieldErrorAt(Texts::RecordNotStored, nullptr, PI::Matrix, at, Row::Kind);
        const PurchaseRowKind kind = PurchaseRowKind(GetU16(row, Row::Kind));
        int r = kind == PurchaseRowKind::Account ? AccountRowCheck(row, at)
                : kind == PurchaseRowKind::Credited ? CreditedRowCheck(invoice, row, at)
                                               : 0;
        if (r) return r;
    }
    PackedDecimal difference;
    PurchaseInvoiceRowsDifference(invoice, &difference);
    if (!DecIsZero(&difference)) return RowsNotTotal(invoice, &difference, count);
    return 0;
}

// Steps 2 to 12 of an invoice not stored approved.
int OpenChecks(uint8_t *invoice, const uint8_t *old, int mode) {
    if (int r = SerialChecks(invoice, old, mode)) return r;
    if (!CheckBeforeSave(PI::Number, invoice, PI::TransDate)) return -1;
    if (int r = VendorAndCurrency(invoice)) return r;
    if (int r = VatReferenceApprover(invoice)) return r;
    if (int r = RowChecks(invoice)) return r;
    if (PendingVoucher) PendingVoucherClear();
    bool update = mode != 1 && old;
    bool preliminary = GetU16(invoice, PI::Preliminary) == 1 && (!update || GetU16(old, PI::Preliminary) == 0);
    bool approving = GetU16(invoice, PI::Approved) == 1 && (!update || GetU16(old, PI::Approved) == 0);
    if (preliminary && approving) return FieldError(Texts::PreliminaryAndApproved, nullptr, PI::Preliminary);
    if (!preliminary && !approving) return 0;
    if (PostPurchaseInvoice(invoice, preliminary ? 1 : 0, 0) == 0)
        return FieldError(Texts::VoucherNotBuilt, nullptr, PI::SerNr);
    return PendingVoucherStorable(PI::SerNr, PI::TransDate);
}

}  // namespace

// Checks a purchase invoice before it is stored; see the file comment.
int ValidatePurchaseInvoice(uint8_t *invoice, const uint8_t *old, int mode) {
    assert(invoice);
    if (old == invoice) old = nullptr;
    return ValidateHeldOrOpen(PI::Number, invoice, old, mode, old && GetU16(old, PI::Approved) == 1, PI::SerNr,
                              ApprovedFree, std::size(ApprovedFree), Texts::ApprovedPurchaseChange, OpenChecks);
}
