// invoice_stock_check.cpp - the stock a sales invoice takes out when it
// is posted, measured against what its location holds.
//
// Posting never stops at zero by itself: the stock of a location may go
// below zero, and the invoice is the user's to post. So a shortfall is
// told (not asked) unless the stock settings (block 203) refuse stock
// below zero, the same switch that refuses a delivery beyond the stock.
// The rows taken are those InvoiceStockRows moves: free item rows (no
// order link: an order's stock went with its delivery) whose item is
// stocked or a structure.
#include "operations/invoice_stock_check.h"

#include <cassert>
#include <vector>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/operations.h"
#include "operations/sales_invoice.h"
#include "rules/invoice_kind.h"
#include "rules/stock.h"

namespace {

namespace Inv = IVVc;
namespace Row = IVVc::Rows;

InvoiceStockNoticeSink Sink = nullptr;
std::string Last;

// One item the invoice takes out: the sum of its rows, its first row.
struct Need {
    PString item;
    PackedDecimal qty;
    uint16_t row;
};

// Reads item code into item; true when it exists.
bool ReadItem(const uint8_t *code, uint8_t *item) {
    RecClear(INVc::Number, item);
    PutText(item, INVc::Code, code);
    return RecFindByFirstKey(INVc::Number, item);
}

// Adds qty of code (taken at row) to needs, summed per item.
void AddNeed(std::vector<Need> &needs, const uint8_t *code, const PackedDecimal &qty, uint16_t row) {
    for (Need &n : needs)
        if (PStringEqual(n.item, code)) {
            DecAdd(&n.qty, &qty, &n.qty);
            return;
        }
    Need n{};
    PStringCopy(n.item, code);
    n.qty = qty;
    n.row = row;
    needs.push_back(n);
}

// The location the posting takes the stock from: the invoice's, else the
// user's (the insert gives it that one), else block 203's main one.
void PostingLocation(const uint8_t *invoice, uint8_t *out) {
    GetText(invoice, Inv::Location, out);
    if (out[0] != 0) return;
    RuleRecord person(PEVc::Number);
    if (person.record && CurrentUserRecord(person.record)) GetText(person.record, PEVc::Location, out);
    if (out[0] != 0) return;
    if (const uint8_t *block = SettingsRecord(MainStockBlk::Number, MainStockBlock))
        GetText(block, MainStockBlk::MainLocation, out);
}

// The stocked items the invoice's rows take out, with their quantities.
bool CollectNeeds(const uint8_t *invoice, uint8_t *item, std::vector<Need> &needs) {
    uint8_t row[Row::Size], code[256], structure[256];
    int32_t count = MatrixRowCount(Inv::Number, 0, invoice);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(Inv::Number, invoice, i, row)) continue;
        if (DocRowKind(GetU16(row, Row::Kind)) != DocRowKind::Item || GetU32(row, Row::Link) != SerialNone) continue;
        GetText(row, Row::ItemCode, code);
        PackedDecimal qty = GetDec(row, Row::Quantity);
        if (code[0] == 0 || DecIsBlank(&qty) || DecSign(&qty) <= 0 || !ReadItem(code, item)) continue;
        const bool stocked = GetU16(item, INVc::Stocked) != 0;
        if (!stocked && GetU16(item, INVc::StructFlag) == 0) continue;
        GetText(row, Row::StructCode, structure);
        if (structure[0] == 1 && structure[1] == '_') structure[0] = 0;   // the window's "no structure"
        std::vector<StructurePart> parts;
        if (StructureParts(code, structure, &qty, parts)) {
            for (const StructurePart &part : parts)
                if (ReadItem(part.item, item) && GetU16(item, INVc::Stocked) != 0)
                    AddNeed(needs, part.item, part.qty, (uint16_t)i);
            continue;
        }
        if (stocked) AddNeed(needs, code, qty, (uint16_t)i);
    }
    return true;
}

}  // namespace

int InvoiceStockCheck(const uint8_t *invoice, std::string *warning) {
    assert(invoice);
    if (warning) warning->clear();
    if (GetU16(invoice, Inv::UpdStock) == 0 ||
        InvoiceKind(GetU16(invoice, Inv::InvType)) == InvoiceKind::CreditNote) return 0;
    RuleRecord item(INVc::Number), stock(LocationStock::Number);
    if (!item.record || !stock.record) return 0;
    std::vector<Need> needs;
    CollectNeeds(invoice, item.record, needs);
    if (needs.empty()) return 0;
    uint8_t location[256];
    PostingLocation(invoice, location);
    bool refuse = false;
    if (const uint8_t *block = SettingsRecord(MainStockBlk::Number, MainStockBlock))
        refuse = GetU16(block, MainStockBlk::RefuseBeyondStock) != 0;
    for (const Need &n : needs) {
        Register6Lookup(n.item, location, stock.record);
        PackedDecimal inStock = GetDec(stock.record, LocationStock::InStock);
        if (DecIsBlank(&inStock)) DecSetZero(&inStock);
        if (DecCompare(&inStock, &n.qty) >= 0) continue;
        // The item, its location and what it holds now, for either text.
        PString tail = {0}, text = {0}, number = {0};
        PStringCopy(tail, n.item);
        GetUiText(text, Texts::StockShortAt);
        PStringAppend(tail, text);
        PStringAppend(tail, location);
        GetUiText(text, Texts::StockShortLeft);
        PStringAppend(tail, text);
        // As a quantity is shown ("0", "2,5"), not as raw thousandths.
        FieldToText(inStock.b, FtAmount3, number);
        PStringAppend(tail, number);
        if (refuse) return FieldErrorAt(Texts::StockShortRefused, tail, Inv::Matrix, n.row, Row::Quantity);
        if (warning && warning->empty()) {
            GetUiText(text, Texts::StockShortWarning);
            PStringAppend(text, tail);
            *warning = PStringToStd(text);
        }
    }
    return 0;
}

void InvoiceStockNoticeSet(InvoiceStockNoticeSink sink) { Sink = sink; }

void InvoiceStockNotice(const std::string &warning) {
    if (warning.empty()) return;
    Last = warning;
    if (Sink && !ServerRequestState.handling) Sink(warning);
}

const std::string &InvoiceStockNoticeLast() { return Last; }
