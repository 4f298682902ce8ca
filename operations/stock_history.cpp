// stock_history.cpp - the item history (register 59) of a sales invoice,
// from its rows or from its serial-number record (register 129).
//
// One record per item: the rows of one item are summed into the record
// made at the item's first row, and an item with a structure gives one
// record per component instead. Quantities leave the stock (negative)
// except on a credit note, which brings them back.
#include <cassert>
#include <cstring>
#include <vector>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/sales_invoice.h"
#include "operations/stock_docs.h"
#include "rules/invoice_kind.h"
#include "rules/rules_types.h"
#include "rules/stock.h"

namespace {

namespace Inv = IVVc;
constexpr uint16_t DocSalesInvoice = 5;

// One history record in the making; the invoice's location is set on
// every line when they are written.
using HistoryLine = ItemHistoryLine;

// Adds qty of item (first seen at row) to lines, summing an item's rows.
void AddLine(std::vector<HistoryLine> &lines, const uint8_t *item, const PackedDecimal *qty, uint16_t row) {
    for (HistoryLine &l : lines)
        if (PStringEqual(l.item, item)) {
            DecAdd(&l.qty, qty, &l.qty);
            return;
        }
    HistoryLine l{};
    PStringCopy(l.item, item);
    DecCopy(&l.qty, qty);
    if (DecIsBlank(&l.qty)) DecSetZero(&l.qty);
    l.row = row;
    lines.push_back(l);
}

// Adds an invoice row's item, or the components of its structure, to
// lines with the signed quantity.
void AddRowLines(std::vector<HistoryLine> &lines, const uint8_t *item, const uint8_t *structure,
                 const PackedDecimal *qty, uint16_t row) {
    std::vector<StructurePart> parts;
    if (StructureParts(item, structure, qty, parts)) {
        for (const StructurePart &part : parts) AddLine(lines, part.item, &part.qty, row);
        return;
    }
    AddLine(lines, item, qty, row);
}

// The invoice's location, else block 203's main location.
void HistoryLocation(const uint8_t *invoice, uint8_t *out) {
    GetText(invoice, Inv::Location, out);
    if (out[0] != 0) return;
    const uint8_t *block = SettingsRecord(MainStockBlk::Number, MainStockBlock);
    if (block) GetText(block, MainStockBlk::MainLocation, out);
}

// Writes the invoice's history lines at its location: a credit note's
// quantities come into stock, an invoice's go out; the receipt flag marks
// an invoice not made from an order that updates the stock itself.
bool WriteLines(const uint8_t *invoice, std::vector<HistoryLine> &lines) {
    uint8_t location[256];
    HistoryLocation(invoice, location);
    for (HistoryLine &l : lines) PStringCopy(l.location, location);
    const bool credit = InvoiceKind(GetU16(invoice, Inv::InvType)) == InvoiceKind::CreditNote;
    const bool flag = GetU32(invoice, Inv::OrderNr) == SerialNone && GetU16(invoice, Inv::UpdStock) != 0;
    const ItemHistoryEntry e{DocSalesInvoice, GetU32(invoice, Inv::SerNr), GetDate(invoice, Inv::InvDate), 0,
                             uint16_t(flag ? 1 : 0), !credit};
    return ItemHistoryWrite(e, lines);
}

}  // namespace

// Writes the item history of an invoice's item rows (kind 1 with an item
// code), unless its serial-number record wrote it already.
void StockHistoryFromInvoice(const uint8_t *invoice) {
    assert(invoice);
    if (StockHistoryRow(invoice)) return;
    std::vector<HistoryLine> lines;
    uint8_t row[Inv::Rows::Size], item[256], structure[256];
    int32_t count = MatrixRowCount(Inv::Number, 0, invoice);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(Inv::Number, invoice, i, row) ||
            DocRowKind(GetU16(row, Inv::Rows::Kind)) != DocRowKind::Item) continue;
        GetText(row, Inv::Rows::ItemCode, item);
        if (item[0] == 0) continue;
        GetText(row, Inv::Rows::StructCode, structure);
        if (structure[0] == 1 && structure[1] == '_') structure[0] = 0;   // the window's "no structure"
        PackedDecimal qty = GetDec(row, Inv::Rows::Quantity);
        AddRowLines(lines, item, structure, &qty, (uint16_t)i);
    }
    WriteLines(invoice, lines);
}

// Writes the item history from the invoice's serial-number record
// (register 129, document type 5 and the invoice's serial) when there is
// one: one record per item of its rows. true when the record was there
// and its history written (the invoice rows are then not used).
bool StockHistoryRow(const uint8_t *invoice) {
    assert(invoice);
    RuleRecord serials(InvHistVc::Number);
    if (!serials.record) return false;
    PutU16(serials.record, InvHistVc::RegNr, DocSalesInvoice);
    PutU32(serials.record, InvHistVc::InvoiceNr, GetU32(invoice, Inv::SerNr));
    uint32_t recid = 0, position = 0;
    if (!RecFindByIndex(InvHistVc::Number, "RegInvoice", serials.record, 2, 1, &recid, &position)) return false;
    std::vector<HistoryLine> lines;
    uint8_t row[InvHistVc::Rows::Size], item[256];
    int32_t count = MatrixRowCount(InvHistVc::Number, 0, serials.record);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(InvHistVc::Number, serials.record, i, row)) continue;
        GetText(row, InvHistVc::Rows::ItemCode, item);
        if (item[0] == 0) continue;
        PackedDecimal qty = GetDec(row, InvHistVc::Rows::Quantity);
        AddLine(lines, item, &qty, (uint16_t)i);
    }
    WriteLines(invoice, lines);
    return true;
}
