// percentage_rows.cpp - the amounts of a document's percentage rows.
//
// An item may name a percentage table (register 125): rows of an item
// range "from:to" and a percentage. A document row of such an item is a
// percentage row: its price is the table's percentages of the amounts of
// the document's other item rows whose items lie in the ranges.
#include <cassert>
#include <vector>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/text_range.h"
#include "database/access/record_access.h"
#include "rules/invoice_kind.h"
#include "rules/prices.h"
#include "rules/vat_currency.h"

namespace {

constexpr int ItemCodeMax = 20, VatMax = 2;

// Where the fields a percentage sum reads lie in the rows of a document
// register, and where the document says whether its prices include VAT.
struct PercentRowLayout {
    int reg;
    uint32_t item, amount, vatCode, result, inclVat;
};

constexpr PercentRowLayout Layouts[] = {
    {IVVc::Number, IVVc::Rows::ItemCode, IVVc::Rows::Sum, IVVc::Rows::VatCode, IVVc::Rows::Price, IVVc::InclVat},
    {ORVc::Number, ORVc::Rows::ItemCode, ORVc::Rows::Sum, ORVc::Rows::VatCode, ORVc::Rows::Price, ORVc::InclVat},
    {QuotationVc::Number, QuotationVc::Rows::ItemCode, QuotationVc::Rows::Sum, QuotationVc::Rows::VatCode,
     QuotationVc::Rows::Price, QuotationVc::InclVat},
    {ContractVc::Number, ContractVc::Rows::ItemCode, ContractVc::Rows::Sum, ContractVc::Rows::VatCode,
     ContractVc::Rows::Price, ContractVc::InclVat},
};

const PercentRowLayout *LayoutOf(int reg) {
    for (const PercentRowLayout &l : Layouts)
        if (l.reg == reg) return &l;
    return nullptr;
}

}  // namespace

// Recomputes the price of row `row` of record (register 5, 7, 45 or 55) as
// the sum of its item's percentage table over the other item rows, rounded
// to 2 decimals; total (when given) gets it too. The row's amount is left
// blank for the row sums to fill. Without a table the row's amount is
// blanked in orders and quotations and nothing else changes. false for
// another register or a row the record does not have.
bool DocRowSum(int reg, uint8_t *record, int row, PackedDecimal *total) {
    const PercentRowLayout *layout = LayoutOf(reg);
    if (!layout || !record) return false;
    int32_t count = MatrixRowCount(reg, 0, record);
    if (row < 0 || row >= count) return false;
    uint32_t rowSize = RecRowSize(reg);
    assert(rowSize > layout->result && rowSize > layout->vatCode);
    std::vector<uint8_t> target(rowSize), other(rowSize);
    if (!MatrixRowGet(reg, 0, record, row, target.data())) return false;
    PackedDecimal blank, sum;
    DecSetBlank(&blank);
    DecSetZero(&sum);
    PutDec(target.data(), layout->amount, blank);
    uint8_t item[256], tableCode[256];
    GetPString(target.data(), layout->item, ItemCodeMax, item);
    RuleRecord itemRec(INVc::Number), table(PctTableVc::Number);
    uint32_t recid = 0, position = 0;
    bool haveTable = false;
    if (itemRec.record && table.record && item[0] != 0) {
        PutText(itemRec.record, INVc::Code, item);
        if (RecFind(INVc::Number, itemRec.record, 1, 1, &recid, &position)) {
            GetText(itemRec.record, INVc::PctTable, tableCode);
            PutText(table.record, PctTableVc::Code, tableCode);
            haveTable = tableCode[0] != 0 && RecFind(PctTableVc::Number, table.record, 1, 1, &recid, &position);
        }
    }
    if (!haveTable) {
        if (reg == ORVc::Number || reg == QuotationVc::Number) return MatrixRowPut(reg, 0, record, row, target.data());
        return true;
    }
    int inclVat = GetU16(record, layout->inclVat) != 0 ? 1 : 0;
    uint8_t otherItem[256], vat[256];
    for (int32_t i = 0; i < count; i++) {
        if (i == row || !MatrixRowGet(reg, 0, record, i, other.data())) continue;
        if (DocRowKind(GetU16(other.data(), 0)) != DocRowKind::Item) continue;
        GetPString(other.data(), layout->item, ItemCodeMax, otherItem);
        GetPString(other.data(), layout->vatCode, VatMax, vat);
        PackedDecimal amount = GetDec(other.data(), layout->amount);
        RowPercentSum(table.record, otherItem, &amount, vat, inclVat, &sum);
    }
    DecRound(&sum, 2, &sum);
    PutDec(target.data(), layout->result, sum);
    if (total) *total = sum;
    return MatrixRowPut(reg, 0, record, row, target.data());
}

// Adds to total, for each row of the percentage table `table` (a register-
// 125 record) whose range holds item (bytewise from <= item <= to), the
// row's percentage of amount, net of its VAT when the amount includes it.
void RowPercentSum(const uint8_t *table, const uint8_t *item, const PackedDecimal *amount, const uint8_t *vatCode,
                   int inclVat, PackedDecimal *total) {
    assert(table && item && amount && vatCode && total);
    PackedDecimal net = *amount;
    if (inclVat) {
        PackedDecimal vat;
        VatAmount(vatCode, amount, &vat, 1);
        DecSub(amount, &vat, &net);
    }
    int32_t rows = MatrixRowCount(PctTableVc::Number, 0, table);
    uint8_t row[PctTableVc::Rows::Size], range[256], from[256], to[256];
    PackedDecimal hundred, share;
    DecFromLong(&hundred, 100);
    for (int32_t i = 0; i < rows; i++) {
        if (!MatrixRowGet(PctTableVc::Number, 0, table, i, row)) break;
        GetText(row, PctTableVc::Rows::ItemRange, range);
        RangeSplit(range, from, to);
        if (PStringCompare(from, item) > 0 || PStringCompare(item, to) > 0) continue;
        PackedDecimal pct = GetDec(row, PctTableVc::Rows::Percentage);
        DecMul(&net, &pct, &share);
        DecDiv(&share, &hundred, &share);
        DecAdd(total, &share, total);
    }
}
