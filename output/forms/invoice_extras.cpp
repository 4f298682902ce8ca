// invoice_extras.cpp - what a sales invoice builds when its print starts
// and frees when it ends: one side row per invoice row (the row's unit,
// VAT figures and net sum, its item's group and measures) and the VAT
// summary (the row sums per VAT code).
//
// The side rows live in InvoiceSides between DocLoad and DocUnload; the
// invoice's field values read them through InvoiceSideRowOf.
#include <cassert>
#include <cstring>
#include <vector>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "output/forms/forms.h"
#include "rules/invoice_kind.h"
#include "rules/vat_currency.h"

MemBlock InvoiceVatSums;

namespace {
std::vector<uint8_t> InvoiceSides;   // InvoiceSideRow::Size bytes per invoice row

PackedDecimal Blank() {
    PackedDecimal b;
    DecSetBlank(&b);
    return b;
}

// The item's part of a side row: unit, group and its name, texts and the
// measures times the row's quantity; nothing when the item is missing.
void ItemPart(const uint8_t *row, const uint8_t *language, uint8_t *side) {
    uint8_t code[256], text[256], item[INVc::Size] = {};
    GetText(row, IVVc::Rows::ItemCode, code);
    if (!DocReadByCode(INVc::Number, INVc::Code, code, item)) return;
    GetText(item, INVc::Unit, code);
    UnitTextByLanguage(language, code, text);
    PutText(side, InvoiceSideRow::Unit, text);
    GetText(item, INVc::Group, code);
    PutText(side, InvoiceSideRow::GroupCode, code);
    uint8_t group[ITVc::Size] = {};
    if (DocReadByCode(ITVc::Number, ITVc::Code, code, group)) {
        GetText(group, ITVc::Name, text);
        PutText(side, InvoiceSideRow::GroupName, text);
    }
    GetText(item, INVc::Text220, text);
    PutText(side, InvoiceSideRow::ItemText220, text);
    GetText(item, INVc::InvCode, text);
    PutText(side, InvoiceSideRow::InvCode, text);
    PackedDecimal qty = GetDec(row, IVVc::Rows::Quantity), m1 = GetDec(item, INVc::StepAmount1),
                  m2 = GetDec(item, INVc::StepAmount2), r;
    DecMul(&m1, &qty, &r);
    PutDec(side, InvoiceSideRow::Measure1, r);
    DecMul(&m2, &qty, &r);
    PutDec(side, InvoiceSideRow::Measure2, r);
    RecFreeMatrix(INVc::Number, item);
}
}  // namespace

bool InvoiceRowIsBare(const uint8_t *row) {
    assert(row);
    if (row[IVVc::Rows::ItemCode] != 0) return false;
    PackedDecimal sum = GetDec(row, IVVc::Rows::Sum);
    return DecIsBlank(&sum) || DecIsZero(&sum);
}

// Builds the side rows and the VAT summary of the invoice: each row's VAT
// (row kinds 1, 4 and 5; none when prices exclude VAT and the invoice is
// outside the home VAT zone), its sum as entered added to the summary by
// its VAT code when it has VAT, and its item's figures for item rows. A
// bare row gets none of these: a zero sum under no VAT code would
// otherwise add a summary line of nothing at the first code's rate.
void InvoiceRowExtras(const uint8_t *invoice) {
    assert(invoice);
    InvoiceExtrasFree();
    int32_t rows = MatrixRowCount(IVVc::Number, 0, invoice);
    if (rows < 0) rows = 0;
    // Without VAT codes (or memory for their sums) the invoice still
    // prints; its VAT summary is then empty.
    if (VatSumsNew(&InvoiceVatSums)) MemUnlock(InvoiceVatSums);
    InvoiceSides.assign((size_t)rows * InvoiceSideRow::Size, 0);
    int inclusive = GetI16(invoice, IVVc::InclVat) != 0;
    int novat = GetI16(invoice, IVVc::VatZone) != 0;
    uint8_t language[256];
    GetText(invoice, IVVc::LangCode, language);
    uint8_t row[IVVc::Rows::Size];
    const PackedDecimal blank = Blank();
    for (int32_t i = 0; i < rows; i++) {
        uint8_t *side = InvoiceSides.data() + (size_t)i * InvoiceSideRow::Size;
        for (uint32_t at : {InvoiceSideRow::VatPlainRate, InvoiceSideRow::VatRate, InvoiceSideRow::VatAmount,
                            InvoiceSideRow::NetSum, InvoiceSideRow::Spare150, InvoiceSideRow::Spare162,
                            InvoiceSideRow::Measure1, InvoiceSideRow::Measure2})
            PutDec(side, at, blank);
        if (!MatrixRowRead(IVVc::Number, invoice, i, row) || InvoiceRowIsBare(row)) continue;
        const DocRowKind kind = DocRowKind(GetU16(row, IVVc::Rows::Kind));
        uint8_t code[256];
        GetText(row, IVVc::Rows::VatCode, code);
        PackedDecimal sum = GetDec(row, IVVc::Rows::Sum), rate, vat, plain;
        RowVatAmount(kind, inclusive, novat, code, &sum, &rate, &vat, &plain);
        if (!DecIsBlank(&vat)) VatSumsAdd(InvoiceVatSums, code, &sum);
        if (!DecIsBlank(&sum)) {
            PutDec(side, InvoiceSideRow::VatPlainRate, plain);
            PutDec(side, InvoiceSideRow::VatRate, rate);
            PutDec(side, InvoiceSideRow::VatAmount, vat);
            PackedDecimal net = sum;
            if (inclusive) DecSub(&sum, &vat, &net);
            PutDec(side, InvoiceSideRow::NetSum, net);
        }
        if (kind == DocRowKind::Item) ItemPart(row, language, side);
    }
}

// Frees the side rows and the VAT summary.
void InvoiceExtrasFree() {
    InvoiceSides.clear();
    InvoiceSides.shrink_to_fit();
    if (InvoiceVatSums) MemFree(&InvoiceVatSums);
    InvoiceVatSums = 0;
}

// The side row of invoice row `row`; null outside the rows built.
const uint8_t *InvoiceSideRowOf(int32_t row) {
    if (row < 0 || (size_t)(row + 1) * InvoiceSideRow::Size > InvoiceSides.size()) return nullptr;
    return InvoiceSides.data() + (size_t)row * InvoiceSideRow::Size;
}

// The number of side rows built.
int32_t InvoiceSideRowCount() { return (int32_t)(InvoiceSides.size() / InvoiceSideRow::Size); }
