// document_rows.h - the row steps the documents with item rows share:
// the sales invoice, the order and the quotation price an item row, sum
// it and take its gross profit the same way, each over its own byte
// layout; the purchase order sums its rows and reads a typed sum by the
// same steps. A DocLayout names where a document keeps the header values
// the row step reads and where its rows keep their cells.
#pragma once

#include <cstdint>
#include <initializer_list>

#include "core/decimal.h"
#include "core/memblock.h"
#include "database/access/remote_calls.h"

// A cell or field a document does not have.
constexpr uint32_t NoDocCell = 0xFFFFFFFFu;

struct DocLayout {
    uint16_t reg;       // the register the per-row sum rules are asked for
    uint32_t rowSize;
    // Header: currency, rate per 100, language, discount code (customer
    // group), price list, second discount code, VAT zone, the price
    // list's "prices include VAT" word and the VAT code that overrides
    // the items' (NoDocCell: none).
    uint32_t currency, rate, lang, discountCode, priceList, discountCode2, vatZone, inclVat, vatOverride;
    // Row cells: the structure code may be NoDocCell; kind is the row's
    // kind word (1 an item row).
    uint32_t itemCode, quantity, text, price, sum, discount, account, afterAccount, unitCost, grossProfit, vatCode,
        structCode, priceUnit, kind;
    // Set when the document's rows take no per-row sum rules.
    bool noRowSumRules = false;
};

extern const DocLayout InvoiceDocLayout;     // register 5
extern const DocLayout OrderDocLayout;       // register 7
extern const DocLayout QuotationDocLayout;   // register 55
extern const DocLayout ContractDocLayout;    // register 45
// Register 58: its rows are summed over the priced quantity (the
// layout's quantity) without a price unit; it has no price list, cost or
// profit cells.
extern const DocLayout PurchaseOrderDocLayout;

// The rows of a window locked for one step; null data when they could
// not be had. The row pointer is good only while the lock is held.
struct LockedRows {
    MemBlock handle;
    uint8_t *data;
    explicit LockedRows(int window);
    ~LockedRows();
    LockedRows(const LockedRows &) = delete;
    LockedRows &operator=(const LockedRows &) = delete;
};

// Redraws the listed cells (bytes in the row) of row `row`; NoDocCell
// entries are skipped.
void DocRowRedraw(int window, int row, std::initializer_list<uint32_t> cells);

// What a row price takes from the price rules besides price, discount,
// VAT code and account.
enum DocPriceTakes : unsigned { DocTakeText = 1, DocTakeCost = 2 };

// Prices row `row` (r, inside the document's rows) of document doc
// through the price rules: the item record comes back in item. Runs the
// per-row sum rules when the item asks for them (and the document takes
// them) and puts the document's overriding VAT code in. False (row unchanged) when the item is unknown.
bool DocRowPrice(const DocLayout &l, uint8_t *doc, int row, uint8_t *r, uint8_t *item, unsigned takes);
// Puts the item's structure code into the row's structure cell; an item
// of no structure puts `none` (a PString) there, or leaves the cell when
// none is null.
void DocRowStructure(const DocLayout &l, const uint8_t *item, uint8_t *r, const uint8_t *none);
// The row sum from quantity, price, price unit (none: blank) and
// discount; true when it differs from the stored one, which it then
// replaces.
bool DocRowSumUpdate(const DocLayout &l, uint8_t *r);
// The row sum in home currency without VAT (when prices include it).
void DocRowNetHome(const DocLayout &l, const uint8_t *doc, const uint8_t *r, PackedDecimal *net);
// Gross profit of an item row: its net in home currency less quantity x
// unit cost, rounded to two decimals; net gets the net.
void DocRowGrossProfit(const DocLayout &l, const uint8_t *doc, const uint8_t *r, PackedDecimal *net,
                       PackedDecimal *gp);
// The discount a typed row sum means: (price / unit - sum / quantity) x
// 100 / (price / unit), rounded to one decimal, a blank or zero unit
// counting as 1 (unit may be null). False, discount untouched, when the
// quantity or the price is blank or zero.
bool DocDiscountFromSum(const PackedDecimal *price, const PackedDecimal *unit, const PackedDecimal *sum,
                        const PackedDecimal *quantity, PackedDecimal *discount);
