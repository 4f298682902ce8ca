// invoice_extras.cpp - what a sales invoice builds when its print starts
// and frees when it ends: one side row per invoice row (the row's unit,
// VAT figures and net sum, its item's group and measures) and the VAT
// summary (the row sums and the freight per VAT code).
//
// The side rows live in InvoiceSides between DocLoad and DocUnload; the
// invoice's field values read them through InvoiceSideRowOf.
//
// A printed invoice never disagrees with itself: its VAT lines add up to
// the VAT it holds. The VAT table may have changed since the invoice was
// stored (a rate changed by law after posting), and the invoice keeps its
// VAT as one total, not per code. When today's table no longer gives
// that total, the line of the largest sum carries the difference: its VAT
// is what makes the lines add up to the invoice's VAT, and it and its rows
// print the rate those figures give (VAT / net x 100, to two decimals),
// which is the rate the invoice was posted with. The other lines print at
// today's rates.
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
#include "rules/rules_types.h"
#include "rules/vat_currency.h"

MemBlock InvoiceVatSums;

namespace {
std::vector<uint8_t> InvoiceSides;   // InvoiceSideRow::Size bytes per invoice row

// The VAT line whose VAT and rate are read from the invoice's own VAT
// rather than today's table: its slot (-1: every line is as the table
// gives it), its plain rate and its VAT.
struct HeldVatLine {
    int32_t slot = -1;
    PackedDecimal rate, vat;
};
HeldVatLine HeldLine;

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

// The summary's sum of slot; blank outside the sums.
PackedDecimal SlotSum(int32_t slot) {
    PackedDecimal sum = Blank();
    uint8_t *data = nullptr;
    int32_t count = 0;
    if (!InvoiceVatSums || !MemArrayLock(InvoiceVatSums, sizeof(PackedDecimal), &data, &count) || !data) return sum;
    if (slot >= 0 && slot < count) sum = GetDec(data, (size_t)slot * sizeof(PackedDecimal));
    MemUnlock(InvoiceVatSums);
    return sum;
}

// The VAT of slot's sum at today's rate of its code, to cents.
PackedDecimal SlotVatToday(int32_t slot, int inclusive) {
    PackedDecimal sum = SlotSum(slot), vat;
    DecSetZero(&vat);
    SettingsRows rows(VatCodeBlk::Number, &VatCodeRows, VatCodeRow::Size);
    if (slot < 0 || slot >= rows.count || DecIsBlank(&sum)) return vat;
    uint8_t code[256];
    GetText(rows.data + (size_t)slot * VatCodeRow::Size, VatCodeRow::Code, code);
    VatAmount(code, &sum, &vat, inclusive);
    DecRound(&vat, 2, &vat);
    return vat;
}

// When today's VAT table no longer gives the invoice's own VAT, the line
// of the largest sum takes the difference, and the rate its sum and VAT
// give; HeldLine names it. An invoice without VAT lines, or whose VAT
// today's table gives, leaves every line to the table.
void HoldPostedVat(const uint8_t *invoice, int inclusive) {
    HeldLine.slot = -1;
    const int32_t used = InvoiceVatSums ? VatSumsUsedCount(InvoiceVatSums) : 0;
    PackedDecimal held = GetDec(invoice, IVVc::Vat);
    if (used == 0 || DecIsBlank(&held)) return;
    // What the invoice's totals come to today, reckoned as they were when
    // it was stored.
    std::vector<uint8_t> today(invoice, invoice + IVVc::Size);
    DocTotalsRound(today.data());
    PackedDecimal now = GetDec(today.data(), IVVc::Vat), difference;
    DecSub(&held, &now, &difference);
    if (DecIsZero(&difference)) return;
    int32_t slot = -1;
    PackedDecimal largest;
    DecSetZero(&largest);
    for (int32_t n = 1; n <= used; n++) {
        int32_t s = VatSumsNthUsed(InvoiceVatSums, n) - 1;
        PackedDecimal sum = SlotSum(s);
        if (slot < 0 || DecCompareMagnitude(&sum, &largest) > 0) slot = s, largest = sum;
    }
    PackedDecimal vat = SlotVatToday(slot, inclusive), net, rate;
    DecAdd(&vat, &difference, &vat);
    net = largest;
    if (inclusive) DecSub(&largest, &vat, &net);
    if (DecIsZero(&net)) return;   // no rate to be had: the table's stands
    DecShiftUp2(&vat, &rate);
    DecDiv(&rate, &net, &rate);
    DecRound(&rate, 2, &HeldLine.rate);
    HeldLine.vat = vat;
    HeldLine.slot = slot;
}

// Puts the held line's rate into the VAT figures of the side rows of its
// code: the plain rate, the rate of the row's sum (the VAT share when
// prices include VAT), the row's VAT to cents and its net.
void RowsAtHeldRate(const uint8_t *invoice, int inclusive) {
    if (HeldLine.slot < 0) return;
    PackedDecimal share = HeldLine.rate;
    if (inclusive) {
        PackedDecimal hundred, base;
        DecFromLong(&hundred, 100);
        DecAdd(&hundred, &HeldLine.rate, &base);
        DecShiftUp2(&HeldLine.rate, &share);
        DecDiv(&share, &base, &share);
    }
    uint8_t row[IVVc::Rows::Size], code[256];
    for (int32_t i = 0; i < InvoiceSideRowCount(); i++) {
        uint8_t *side = InvoiceSides.data() + (size_t)i * InvoiceSideRow::Size;
        PackedDecimal vat = GetDec(side, InvoiceSideRow::VatAmount);
        if (DecIsBlank(&vat) || !MatrixRowRead(IVVc::Number, invoice, i, row)) continue;
        GetText(row, IVVc::Rows::VatCode, code);
        if (VatSumsSlotOf(code) != HeldLine.slot) continue;
        PackedDecimal sum = GetDec(row, IVVc::Rows::Sum), net = sum;
        DecMul(&sum, &share, &vat);
        DecShiftDown2(&vat, &vat);
        DecRound(&vat, 2, &vat);
        if (inclusive) DecSub(&sum, &vat, &net);
        PutDec(side, InvoiceSideRow::VatPlainRate, HeldLine.rate);
        PutDec(side, InvoiceSideRow::VatRate, share);
        PutDec(side, InvoiceSideRow::VatAmount, vat);
        PutDec(side, InvoiceSideRow::NetSum, net);
    }
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
// otherwise add a summary line of nothing at the first code's rate. The
// freight adds to the summary under its VAT code as the invoice's totals
// count it, so that the lines add up to the invoice's VAT; then the line
// that carries a VAT the table no longer gives is held (HoldPostedVat).
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
    PackedDecimal freight = GetDec(invoice, IVVc::Freight);
    if (!DecIsZero(&freight) && (inclusive || !novat)) {
        uint8_t code[256];
        GetText(invoice, IVVc::FreightVat, code);
        VatSumsAdd(InvoiceVatSums, code, &freight);
    }
    HoldPostedVat(invoice, inclusive);
    RowsAtHeldRate(invoice, inclusive);
}

bool InvoiceVatLineHeld(int32_t slot, PackedDecimal *rate, PackedDecimal *vat) {
    if (slot < 0 || slot != HeldLine.slot) return false;
    if (rate) *rate = HeldLine.rate;
    if (vat) *vat = HeldLine.vat;
    return true;
}

// Frees the side rows and the VAT summary.
void InvoiceExtrasFree() {
    InvoiceSides.clear();
    InvoiceSides.shrink_to_fit();
    if (InvoiceVatSums) MemFree(&InvoiceVatSums);
    InvoiceVatSums = 0;
    HeldLine.slot = -1;
}

// The side row of invoice row `row`; null outside the rows built.
const uint8_t *InvoiceSideRowOf(int32_t row) {
    if (row < 0 || (size_t)(row + 1) * InvoiceSideRow::Size > InvoiceSides.size()) return nullptr;
    return InvoiceSides.data() + (size_t)row * InvoiceSideRow::Size;
}

// The number of side rows built.
int32_t InvoiceSideRowCount() { return (int32_t)(InvoiceSides.size() / InvoiceSideRow::Size); }
