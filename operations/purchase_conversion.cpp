// purchase_conversion.cpp - a purchase invoice filled from a purchase
// order: one account row per VAT code on the vendor's purchase account,
// the VAT computed, and what the rows do not distribute put on the
// rounding account.
#include <cassert>
#include <cstring>

#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/doc_flow_fields.h"
#include "operations/order_conversion.h"
#include "rules/checks.h"
#include "rules/documents.h"
#include "rules/prices.h"
#include "rules/rules_types.h"

namespace {

namespace PO = PurchOrderVc;
namespace POR = PurchOrderVc::Rows;
namespace PI = VIVc;
namespace PIR = VIVc::Rows;

constexpr uint16_t RowKindAccount = 1;

bool AppendRow(uint8_t *invoice, const uint8_t *row) {
    return MatrixRowPut(PI::Number, 0, invoice, MatrixRowCount(PI::Number, 0, invoice), row);
}

// A new account row on account (with its name) with VAT code vat.
void NewAccountRow(uint8_t *row, const uint8_t *account, const uint8_t *vat) {
    std::memset(row, 0, PIR::Size);
    InitDocRow(row, PI::Number, RowKindAccount);
    PutPString(row, PIR::Account, 10, account);
    RuleRecord acc(ACVc::Number);
    if (acc.record && DocFlowReadByCode(ACVc::Number, ACVc::Code, 10, account, acc.record))
        DocFlowCopyText(row, PIR::Text, acc.record, ACVc::Name, 60);
    PutPString(row, PIR::VatCode, 2, vat);
    PutDec(row, PIR::Amount, DocFlowDec(0));
}

// Adds amount to the row of VAT code vat, starting one on account when
// the invoice has none; false when the row could not be put.
bool AddToVatRow(uint8_t *invoice, const uint8_t *account, const uint8_t *vat, const PackedDecimal &amount) {
    uint8_t row[PIR::Size], code[256];
    int32_t count = MatrixRowCount(PI::Number, 0, invoice);
    int32_t at = count;
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(PI::Number, invoice, i, row)) continue;
        GetPString(row, PIR::VatCode, 2, code);
        if (GetU16(row, PIR::Kind) == RowKindAccount && PStringEqual(code, vat)) {
            at = i;
            break;
        }
    }
    if (at == count) NewAccountRow(row, account, vat);
    PackedDecimal sum = GetDec(row, PIR::Amount), add = amount;
    if (DecIsBlank(&sum)) DecSetZero(&sum);
    if (DecIsBlank(&add)) DecSetZero(&add);
    DecAdd(&sum, &add, &sum);
    PutDec(row, PIR::Amount, sum);
    return MatrixRowPut(PI::Number, 0, invoice, at, row);
}

}  // namespace

// Fills the purchase invoice from the purchase order (see the header).
bool PurchaseOrderToPurchaseInvoice(uint8_t *invoice, uint32_t poId) {
    assert(invoice);
    RuleRecord order(PO::Number), vendor(VEVc::Number);
    if (!order.record || !vendor.record || !RecReadById(PO::Number, poId, order.record)) return false;
    const uint8_t *po = order.record;
    if (GetU16(po, PO::Closed) != 0) return false;
    uint8_t code[256], account[256];
    GetPString(po, PO::VendCode, 20, code);
    if (!DocFlowReadByCode(VEVc::Number, VEVc::Code, 20, code, vendor.record)) return false;
    GetPString(vendor.record, VEVc::PurchAcc, 10, account);
    if (account[0] == 0) return false;
    PutPString(invoice, PI::VendCode, 20, code);
    DocFlowCopyText(invoice, PI::VendName, po, PO::VendName, 60);
    DocFlowCopyText(invoice, PI::CurncyCode, po, PO::CurncyCode, 5);
    uint8_t currency[256];
    GetPString(po, PO::CurncyCode, 5, currency);
    DateRec date = GetDate(invoice, PI::TransDate);
    PackedDecimal given = GetDec(po, PO::Rate), rate;
    DocumentRate(currency, &date, &given, &rate);
    PutDec(invoice, PI::Rate, rate);
    PutDec(invoice, PI::InvAmount, GetDec(po, PO::Total));
    RecFreeMatrix(PI::Number, invoice);
    uint8_t r[POR::Size], vat[256];
    int32_t count = MatrixRowCount(PO::Number, 0, po);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(PO::Number, po, i, r) || r[POR::ItemCode] == 0) continue;
        GetPString(r, POR::VatCode, 2, vat);
        if (!AddToVatRow(invoice, account, vat, GetDec(r, POR::Sum))) return false;
    }
    if (PurchaseInvoiceVatHook) PurchaseInvoiceVatHook(0, invoice);
    PackedDecimal difference;
    PurchaseInvoiceRowsDifference(invoice, &difference);
    if (!DecIsZero(&difference)) {
        const uint8_t *accounts = SettingsRecord(SalesAccountsBlk::Number, SalesAccountsBlock);
        uint8_t rounding[256] = {0}, row[PIR::Size];
        if (accounts) GetPString(accounts, SalesAccountsBlk::RoundingAcc, 10, rounding);
        NewAccountRow(row, rounding, EmptyPString);
        PackedDecimal minus;
        DecNegateInto(&difference, &minus);
        PutDec(row, PIR::Amount, minus);
        if (!AppendRow(invoice, row)) return false;
    }
    return true;
}
