// purchase_field_leave.cpp - the field logic of the goods-receipt window
// (type 197, register 4): the rate follows currency and date, the vendor
// gives its name, an item its description and price, and each row's unit
// cost in home currency follows its price, the rate and its charge (or
// the charge follows a typed unit cost); the totals follow the rows.
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "dict_offsets.h"
#include "operations/project_ops.h"
#include "recordwin/record_windows.h"
#include "recordwin/window_rows.h"
#include "rules/prices.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"
#include "shell/field_editing.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

namespace Row = PUVc::Rows;
constexpr int CurrencyMax = 5, VendorMax = 20, NameMax = 60, ItemMax = 20, ChargeMax = 20;

// The row's unit cost from its price in the purchase currency, the rate,
// the VAT switch and its charge. A charge of nothing (charge null) gives
// the base the charge is added to.
void RowUnitCost(const uint8_t *purchase, const uint8_t *row, const uint8_t *charge, PackedDecimal *cost)
{
    PString item;
    GetText(row, Row::ItemCode, item);
    PackedDecimal price = GetDec(row, Row::Price), rate = GetDec(purchase, PUVc::Rate);
    NetAmountPlusCharge(item, &price, GetU16(purchase, PUVc::VatKind), charge ? charge : EmptyPString, &rate, cost);
}

void RowCostFromCharge(const uint8_t *purchase, uint8_t *row)
{
    PString charge;
    GetText(row, Row::Charge, charge);
    PackedDecimal cost;
    RowUnitCost(purchase, row, charge, &cost);
    PutDec(row, Row::UnitCost, cost);
}

// A typed unit cost gives the charge back: the difference to the base as
// an amount, or, for a charge typed as a percentage, the percentage of
// the base it adds. With no base there is no percentage: the charge is
// left as typed rather than divided by zero.
void RowChargeFromCost(const uint8_t *purchase, uint8_t *row)
{
    PString charge;
    GetText(row, Row::Charge, charge);
    PackedDecimal base, cost = GetDec(row, Row::UnitCost), result;
    RowUnitCost(purchase, row, nullptr, &base);
    if (DecIsBlank(&base)) DecSetZero(&base);
    if (DecIsBlank(&cost)) DecSetZero(&cost);
    bool percent = charge[0] > 0 && charge[charge[0]] == '%';
    if (!percent) {
        DecSub(&cost, &base, &result);
    } else {
        if (DecIsZero(&base)) return;
        PackedDecimal hundred, scaled, ratio;
        DecFromLong(&hundred, 100);
        DecMul(&cost, &hundred, &scaled);
        DecDiv(&scaled, &base, &ratio);
        DecSub(&ratio, &hundred, &result);
        DecRound(&result, 3, &result);
    }
    PString text;
    FieldFormat(reinterpret_cast<const uint8_t *>(&result), FtAmount3Drop, 0, text);
    if (percent) PStringAppendChar(text, '%');
    PutText(row, Row::Charge, text);
}

// The purchase's totals from its rows, shown.
void Totals(int window)
{
    PurchaseRowTotals(WinRecordBuffer(window));
    WinRedrawFieldById(window, int(PUVc::ValueSum));
    WinRedrawFieldById(window, int(PUVc::QtySum));
    WinMarkChanged(window);
}

void HeaderLeft(int window, uint8_t *purchase, int id, uint8_t changed)
{
    switch (id) {
    case PUVc::TransDate:
    case PUVc::Currency: {
        if (!changed) return;
        PString currency;
        GetText(purchase, PUVc::Currency, currency);
        DateRec date = GetDate(purchase, PUVc::TransDate);
        PackedDecimal rate;
        // An unreachable server leaves the rate the purchase had.
        if (CurrencyRate(currency, &date, &rate)) PutDec(purchase, PUVc::Rate, rate);
        WinRedrawFieldById(window, int(PUVc::Rate));
        WinMarkChanged(window);
        return;
    }
    case PUVc::VendCode: {
        PString code;
        GetText(purchase, PUVc::VendCode, code);
        RuleRecord vendor(VEVc::Number);
        if (vendor.record && ProjectReadByCode(vendor, VEVc::Code, VendorMax, code)) {
            PString name;
            GetText(vendor.record, VEVc::Name, name);
            PutText(purchase, PUVc::VendName, name);
            WinRedrawFieldById(window, int(PUVc::VendName));
        }
        WinMarkChanged(window);
        return;
    }
    case PUVc::Rate: {
        // Every row follows the rate, changed or not.
        WinRows rows(window, Row::Size);
        for (int r = 0; r < rows.count; r++) RowCostFromCharge(purchase, rows.At(r));
        Totals(window);
        return;
    }
    default: return;
    }
}

// Row cell `cell` of row r (number `row`) was left.
void CellLeft(int window, uint8_t *purchase, int row, uint8_t *r, int cell, uint8_t changed)
{
    bool rowSum = false, totals = false;
    switch (cell) {
    case Row::ItemCode: {
        bool textMissing = r[Row::ItemCode] != 0 && r[Row::Text] == 0;
        if (!changed && !textMissing) return;
        PString code;
        GetText(r, Row::ItemCode, code);
        RuleRecord item(INVc::Number);
        if (!item.record || !ProjectReadByCode(item, INVc::Code, ItemMax, code)) {
            Beep();
            return;
        }
        PString name;
        GetText(item.record, INVc::Name, name);
        PutText(r, Row::Text, name);
        PutDec(r, Row::Price, GetDec(item.record, INVc::CostPrice));
        WinMatrixDrawRow(window, row, Row::Text, 0);
        WinMatrixDrawRow(window, row, Row::Price, 0);
        rowSum = true;
        break;
    }
    case Row::Quantity: totals = changed != 0; break;
    case Row::Price:
    case Row::Charge: rowSum = changed != 0; break;
    case Row::UnitCost:
        if (!changed) return;
        RowChargeFromCost(purchase, r);
        WinMatrixDrawRow(window, row, Row::Charge, 0);
        totals = true;
        break;
    default: return;
    }
    if (rowSum) {
        RowCostFromCharge(purchase, r);
        WinMatrixDrawRow(window, row, Row::UnitCost, 0);
        totals = true;
    }
    if (totals) Totals(window);
}

}  // namespace

// Screen field `field` of a goods-receipt window was committed (changed:
// its value differs from before).
void PurchaseFieldLeave(int window, int field, uint8_t changed)
{
    if (!WinRecordIs(window, PUVc::Number)) return;
    uint8_t *purchase = WinRecordBuffer(window);
    if (!purchase) return;
    FieldPlace at = WinFieldPlace(window, field);
    if (!at.IsCell()) {
        HeaderLeft(window, purchase, at.id, changed);
        return;
    }
    WinRows rows(window, Row::Size);
    uint8_t *r = rows.At(at.row);
    if (r && at.cell != NoField) CellLeft(window, purchase, at.row, r, at.cell, changed);
}
