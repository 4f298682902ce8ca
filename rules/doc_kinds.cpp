// doc_kinds.cpp - document kinds: their registers, their names and the
// empty rows of their documents.
#include <cassert>
#include <cstring>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/ui_text.h"
#include "rules/documents.h"
#include "rules/invoice_kind.h"

namespace {

// Empties a text field of at most max characters (length byte and text).
void ClearText(uint8_t *row, uint32_t offset, int max) { std::memset(row + offset, 0, (size_t)max + 1); }

// Blanks the decimal at offset.
void BlankDec(uint8_t *row, uint32_t offset) {
    PackedDecimal blank;
    DecSetBlank(&blank);
    PutDec(row, offset, blank);
}

}  // namespace

// The register that holds documents of kind (0..22); 0 for kind 0 and any
// number outside the table.
int RegisterOfDocKind(int kind) {
    switch (kind) {
    case 1: case 3: case 7: case 8: case 14: case 15: return TRVc::Number;
    case 2: return 9;
    case 4: case 5: return VIVc::Number;
    case 6: case 9: return 30;
    case 10: case 11: case 16: return IVVc::Number;
    case 12: case 13: return 10;
    case 17: return ORVc::Number;
    case 18: return 8;
    case 19: case 20: return 4;
    case 21: return QuotationVc::Number;
    case 22: return TimeSheetVc::Number;
    default: return 0;
    }
}

// The name of kind into text for the kinds that have one (purchase,
// quotation, time sheet); other kinds leave text as it was.
void DocKindText(int kind, uint8_t *text) {
    assert(text);
    switch (kind) {
    case 19: GetUiText(text, Texts::DocKindPurchase); break;
    case 21: GetUiText(text, Texts::DocKindQuotation); break;
    case 22: GetUiText(text, Texts::DocKindTimeSheet); break;
    default: break;
    }
}

// Sets row (a row of register reg) to kind and empties the fields a new
// row of that kind must not carry over. A sales-invoice row of kind 3 (a
// text row that follows an item) only gets its link set to "none";
// registers other than 5, 28 and 58 are left alone entirely.
void InitDocRow(uint8_t *row, int reg, uint16_t kind) {
    assert(row);
    switch (reg) {
    case IVVc::Number:
        PutU16(row, IVVc::Rows::Kind, kind);
        if (DocRowKind(kind) != DocRowKind::Text) {
            ClearText(row, IVVc::Rows::ItemCode, 20);
            BlankDec(row, IVVc::Rows::Quantity);
            ClearText(row, IVVc::Rows::Text, 100);
            BlankDec(row, IVVc::Rows::Price);
            BlankDec(row, IVVc::Rows::Sum);
            BlankDec(row, IVVc::Rows::Discount);
            ClearText(row, IVVc::Rows::VatCode, 2);
            ClearText(row, IVVc::Rows::SalesAcc, 10);
            ClearText(row, IVVc::Rows::Objects, 30);
            BlankDec(row, IVVc::Rows::UnitCost);
            BlankDec(row, IVVc::Rows::GrossProfit);
            BlankDec(row, IVVc::Rows::FifoCost);
            ClearText(row, IVVc::Rows::Text284, 30);
            BlankDec(row, IVVc::Rows::PriceUnit);
            ClearText(row, IVVc::Rows::StructCode, 20);
        }
        PutU32(row, IVVc::Rows::Link, 0xFFFFFFFFu);
        break;
    case VIVc::Number:
        PutU16(row, VIVc::Rows::Kind, kind);
        // No credited invoice until a credit note's row names one: all
        // ones, which the Credited column shows as nothing.
        PutU32(row, VIVc::Rows::CredSerNr, 0xFFFFFFFFu);
        if (PurchaseRowKind(kind) == PurchaseRowKind::Account) {
            PutU16(row, VIVc::Rows::Flag, 0);
            ClearText(row, VIVc::Rows::Account, 10);
            ClearText(row, VIVc::Rows::Objects, 30);
            ClearText(row, VIVc::Rows::Text, 60);
            BlankDec(row, VIVc::Rows::Amount);
            ClearText(row, VIVc::Rows::ItemCode, 20);
            BlankDec(row, VIVc::Rows::Quantity);
            ClearText(row, VIVc::Rows::Project, 20);
        }
        break;
    case PurchOrderVc::Number:
        PutU16(row, PurchOrderVc::Rows::Kind, kind);
        BlankDec(row, PurchOrderVc::Rows::PriceUnit);
        break;
    default:
        break;
    }
}
