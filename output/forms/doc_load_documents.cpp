// doc_load_documents.cpp - what the delivery, quotation and order
// documents read when their print starts: the delivery's print copy
// (rows of item structures expanded) with its side rows, the
// quotation's side rows and the order's vendor. Freed when the print
// ends (DocUnload).
#include <cassert>
#include <cstring>
#include <vector>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "operations/operations.h"
#include "output/forms/forms.h"

namespace {
constexpr int ItemCodeMax = 20;

std::vector<uint8_t> DeliverySides;   // DeliverySideRow::Size bytes per print-copy row
std::vector<uint8_t> QuoteSides;      // QuoteSideRow::Size bytes per quotation row

// The item whose code is at `at` of row into item (its text rows freed);
// false when the row has no code or the item is missing.
bool RowItem(const uint8_t *row, size_t at, uint8_t *item) {
    uint8_t code[256];
    GetPString(row, at, ItemCodeMax, code);
    if (!DocReadByCode(INVc::Number, INVc::Code, code, item)) return false;
    RecFreeMatrix(INVc::Number, item);
    return true;
}

// The item's unit in language into out.
void ItemUnit(const uint8_t *item, const uint8_t *language, uint8_t *out) {
    uint8_t unit[256];
    GetText(item, INVc::Unit, unit);
    UnitTextByLanguage(language, unit, out);
}

int32_t RowsOf(int reg, const uint8_t *record) {
    int32_t n = MatrixRowCount(reg, 0, record);
    return n < 0 ? 0 : n;
}
}  // namespace

bool DeliveryPrintLoad(int16_t doctype, const uint8_t *delivery) {
    assert(delivery);
    uint8_t code[256];
    GetText(delivery, SHVc::CustCode, code);
    DocReadByCode(CUVc::Number, CUVc::Code, code, FormCustomer);
    if (!ExpandStructureRowsForPrint(doctype, delivery, FormDelivery)) {
        std::memset(FormDelivery, 0, sizeof FormDelivery);
        return false;
    }
    RecClear(ORVc::Number, FormOrder);
    int32_t order = GetI32(delivery, SHVc::OrderNr);
    if (order >= 0) {
        PutI32(FormOrder, ORVc::SerNr, order);
        uint32_t recid = 0, position = 0;
        if (!RecFindByIndex(ORVc::Number, "SerNr", FormOrder, 1, 1, &recid, &position))
            RecClear(ORVc::Number, FormOrder);
    }
    uint8_t language[256];
    GetText(FormOrder, ORVc::LangCode, language);
    DeliveryRowExtras(FormDelivery, language);
    int32_t rows = RowsOf(SHVc::Number, FormDelivery);
    FormRowCount = (int16_t)(rows > INT16_MAX ? INT16_MAX : rows);
    return true;
}

void ItemSideColumnsBlank(uint8_t *side) {
    PackedDecimal blank;
    DecSetBlank(&blank);
    for (uint32_t at : {DeliverySideRow::StepAmount1, DeliverySideRow::StepAmount2, DeliverySideRow::Qty196,
                        DeliverySideRow::Qty208, DeliverySideRow::CostPrice})
        PutDec(side, at, blank);
}

void ItemSideColumns(uint8_t *side, const uint8_t *item, const PackedDecimal &qty, const uint8_t *language) {
    namespace S = DeliverySideRow;
    uint8_t text[256];
    GetText(item, INVc::VendCode, text);
    PutText(side, S::VendCode, text);
    PutDec(side, S::StepAmount1, GetDec(item, INVc::StepAmount1));
    PutDec(side, S::StepAmount2, GetDec(item, INVc::StepAmount2));
    PutDec(side, S::Qty196, DocTimes(qty, GetDec(item, INVc::StepAmount1)));
    PutDec(side, S::Qty208, DocTimes(qty, GetDec(item, INVc::StepAmount2)));
    GetText(item, INVc::Text220, text);
    PutText(side, S::Text220, text);
    GetText(item, INVc::DefLocation, text);
    PutText(side, S::DefLocation, text);
    ItemUnit(item, language, text);
    PutText(side, S::Unit, text);
    PutDec(side, S::CostPrice, GetDec(item, INVc::CostPrice));
}

// A row whose item is missing keeps empty texts and blank amounts.
void DeliveryRowExtras(const uint8_t *copy, const uint8_t *language) {
    assert(copy && language);
    int32_t rows = RowsOf(SHVc::Number, copy);
    DeliverySides.assign((size_t)rows * DeliverySideRow::Size, 0);
    uint8_t row[SHVc::Rows::Size], item[INVc::Size] = {};
    for (int32_t i = 0; i < rows; i++) {
        uint8_t *side = DeliverySides.data() + (size_t)i * DeliverySideRow::Size;
        ItemSideColumnsBlank(side);
        if (!MatrixRowRead(SHVc::Number, copy, i, row) || !RowItem(row, SHVc::Rows::ItemCode, item)) continue;
        ItemSideColumns(side, item, GetDec(row, SHVc::Rows::ToDeliver), language);
    }
}

const uint8_t *DeliverySideRowOf(int32_t row) {
    if (row < 0 || (size_t)(row + 1) * DeliverySideRow::Size > DeliverySides.size()) return nullptr;
    return DeliverySides.data() + (size_t)row * DeliverySideRow::Size;
}

int32_t DeliverySideRowCount() { return (int32_t)(DeliverySides.size() / DeliverySideRow::Size); }

// A row whose item is missing gets an empty unit and blank amounts.
void QuoteRowExtras(const uint8_t *quote) {
    assert(quote);
    int32_t rows = RowsOf(QuotationVc::Number, quote);
    QuoteSides.assign((size_t)rows * QuoteSideRow::Size, 0);
    PackedDecimal blank;
    DecSetBlank(&blank);
    uint8_t language[256], row[QuotationVc::Rows::Size], item[INVc::Size] = {}, text[256];
    GetText(quote, QuotationVc::LangCode, language);
    for (int32_t i = 0; i < rows; i++) {
        uint8_t *side = QuoteSides.data() + (size_t)i * QuoteSideRow::Size;
        for (uint32_t at : {QuoteSideRow::StepAmount1, QuoteSideRow::StepAmount2, QuoteSideRow::Qty196,
                            QuoteSideRow::Qty208})
            PutDec(side, at, blank);
        if (!MatrixRowRead(QuotationVc::Number, quote, i, row) || !RowItem(row, QuotationVc::Rows::ItemCode, item))
            continue;
        PackedDecimal qty = GetDec(row, QuotationVc::Rows::Quantity);
        PutDec(side, QuoteSideRow::StepAmount1, GetDec(item, INVc::StepAmount1));
        PutDec(side, QuoteSideRow::StepAmount2, GetDec(item, INVc::StepAmount2));
        PutDec(side, QuoteSideRow::Qty196, DocTimes(qty, GetDec(item, INVc::StepAmount1)));
        PutDec(side, QuoteSideRow::Qty208, DocTimes(qty, GetDec(item, INVc::StepAmount2)));
        ItemUnit(item, language, text);
        PutText(side, QuoteSideRow::Unit, text);
    }
}

const uint8_t *QuoteSideRowOf(int32_t row) {
    if (row < 0 || (size_t)(row + 1) * QuoteSideRow::Size > QuoteSides.size()) return nullptr;
    return QuoteSides.data() + (size_t)row * QuoteSideRow::Size;
}

int32_t QuoteSideRowCount() { return (int32_t)(QuoteSides.size() / QuoteSideRow::Size); }

void DocumentExtrasFree() {
    DeliverySides.clear();
    DeliverySides.shrink_to_fit();
    QuoteSides.clear();
    QuoteSides.shrink_to_fit();
}

void OrderVendorLoad(const uint8_t *order) {
    assert(order);
    RecClear(VEVc::Number, FormVendor);
    uint8_t row[ORVc::Rows::Size], code[256];
    if (RowsOf(ORVc::Number, order) < 1 || !MatrixRowRead(ORVc::Number, order, 0, row)) return;
    GetText(row, ORVc::Rows::ItemCode, code);
    if (code[0] == 0 || !FindDefaultChoice(code, FormVendor)) RecClear(VEVc::Number, FormVendor);
}
