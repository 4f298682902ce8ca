// section_readers.cpp - the readers of the sections that do more than
// copy fields: items (a price-list record from two columns, a last price
// typed as text), orders (a serial number taken on import, row quantities
// held within the ordered one, a location for every row), budgets of the
// old layout (rows made for the fiscal year), assets of the old layout
// (four header columns become the row), form definitions (coordinates put
// in order, field codes by name) and customers of the old layout.
#include "exchange/section_readers.h"

#include <cassert>
#include <cstring>
#include <vector>

#include "core/choice_lists.h"
#include "core/date.h"
#include "core/definitions.h"
#include "core/decimal.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "exchange/text_exchange.h"
#include "output/forms/form_item_kind.h"
#include "rules/invoice_kind.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"
#include "rules/vat_currency.h"
#include "shell/database_open.h"

// Reads the next field as text (at most 255); false: damaged.
bool ReadTextColumn(uint8_t *text)
{
    text[0] = 0;
    return ImportReadField(text, FtText, 255);
}

// Parses text into a field of type (damage at the column just read when
// refused); an empty text gives the type's empty value.
bool ParseColumn(uint8_t *field, uint16_t type, int m, const uint8_t *text)
{
    if (text[0] == 0) {
        FieldClear(field, type, m);
        return true;
    }
    if (FieldFromText(field, type, m, text)) return true;
    ImportDamage(ImportColumnNumber());
    return false;
}

namespace {

// The price list that an item line's price column fills.
constexpr const char *ItemLinePriceList = "2";
// Columns of the item list (0-based): the price-list code and price, and
// the last price read as text in layout 2.
constexpr size_t ItemPriceCodeColumn = 9, ItemPriceColumn = 10, ItemLastPriceColumn = 29;
// The location an order or delivery row gets when its item names none.
constexpr const char *NoLocation = "_";
// The choice list of form-definition field names.
constexpr int FormFieldChoices = 101;
// The form-definition row column that holds the field code (0-based).
constexpr size_t DocFieldCodeColumn = 9;
// The form definition's code and copy labels: their longest texts.
constexpr uint8_t DocCodeMax = 20, DocLabelMax = 60;
// Field codes above this one moved up by one after layout 1.
constexpr uint16_t DocOldFieldCodeLast = 9;
// Asset layout 1: the header columns (0-based) that make the row.
constexpr size_t AssetAmountColumn = 8, AssetDateColumn = 9, AssetModel1Column = 13, AssetModel2Column = 14;
// The row location field of an order row.
constexpr uint32_t OrderRowLocation = ORVc::Rows::StructCode;

// Reads the rows of l into record (the header already read).
bool ReadRowsOnly(int number, const FieldList &l, int version, uint8_t *record)
{
    FieldList rows = l;
    rows.header = {};
    return ReadListRecord(number, rows, version, record);
}

// The location an order or delivery row without one takes: the item's
// default location, or "_" when the item is missing or names none.
void RowLocationFill(uint8_t *row, uint32_t itemAt, uint32_t locationAt, int locationMax)
{
    PString location;
    GetPString(row, locationAt, locationMax, location);
    if (location[0] != 0) return;
    std::vector<uint8_t> item(RegRecordSize(INVc::Number), 0);
    PString code;
    GetPString(row, itemAt, 20, code);
    PutText(item.data(), INVc::Code, code);
    uint32_t recid = 0, position = 0;
    location[0] = 0;
    if (code[0] != 0 && RecFind(INVc::Number, item.data(), 1, 1, &recid, &position))
        GetText(item.data(), INVc::DefLocation, location);
    if (location[0] == 0) PStringFromC(location, NoLocation);
    PutPString(row, locationAt, locationMax, location);
}

// A negative amount becomes 0; with limit, one above it becomes the limit.
void ClampAmount(uint8_t *row, uint32_t at, const PackedDecimal *limit)
{
    PackedDecimal v = GetDec(row, at);
    if (DecIsNegative(&v)) {
        DecFromLong(&v, 0);
        PutDec(row, at, v);
    } else if (limit && !DecIsBlank(&v) && DecCompare(&v, limit) > 0) {
        PutDec(row, at, *limit);
    }
}

// Stores the price-list record an item line names: list "2", the item's
// code and name, the price and the account code read.
void StoreItemLinePrice(const uint8_t *item, uint8_t *price)
{
    PString text;
    PStringFromC(text, ItemLinePriceList);
    PutText(price, PriceVc::PriceList, text);
    GetText(item, INVc::Code, text);
    PutText(price, PriceVc::ItemCode, text);
    GetText(item, INVc::Name, text);
    PutText(price, PriceVc::ItemName, text);
    uint32_t recid = 0;
    if (!RecStoreByKey(PriceVc::Number, price, 1, &recid)) ImportFailedSteps++;
}

}  // namespace

// Reads an item by the newest list of its version.
bool ReadItemText(int number, int version, uint8_t *record)
{
    const FieldList *l = FieldListFor(false, number, version);
    if (!l) {
        ImportDamage(1);
        return false;
    }
    return ReadItemWith(*l, version, record);
}

// Reads an item by l: the price-list column pair is read into a price
// record of its own, stored when its price is not zero; layout 2's last
// price is typed text (empty: blank). False: damaged.
bool ReadItemWith(const FieldList &l, int version, uint8_t *record)
{
    if (!ImportListFits(l.header.size() > ItemPriceColumn && (version < 2 || l.header.size() > ItemLastPriceColumn)))
        return false;
    uint32_t size = RegRecordSize(INVc::Number);
    std::vector<uint8_t> price(RegRecordSize(PriceVc::Number), 0);
    if (!ReadColumns(l.header.first(ItemPriceCodeColumn), record, size)) return false;
    if (!ImportReadField(price.data() + PriceVc::SalesAcc, FtCodeNoSep, 10)) return false;
    if (!ImportReadField(price.data() + PriceVc::Price, FtAmount2, 0)) return false;
    if (version >= 2) {
        size_t between = ItemLastPriceColumn - ItemPriceColumn - 1;
        if (!ReadColumns(l.header.subspan(ItemPriceColumn + 1, between), record, size)) return false;
        PString text;
        const Column &last = l.header[ItemLastPriceColumn];
        if (!ReadTextColumn(text) || !ParseColumn(record + last.pos, FtAmount2, 0, text)) return false;
        if (!ReadColumns(l.header.subspan(ItemLastPriceColumn + 1), record, size)) return false;
    } else if (!ReadColumns(l.header.subspan(ItemPriceColumn + 1), record, size)) {
        return false;
    }
    if (!ReadRowsOnly(INVc::Number, l, version, record)) return false;
    PackedDecimal amount = GetDec(price.data(), PriceVc::Price);
    if (!DecIsZero(&amount)) StoreItemLinePrice(record, price.data());
    return true;
}

namespace {

// A purchase row's unit cost from its price: the price by the purchase's
// currency rate, less the item's VAT share for VAT kind 1, plus the row's
// charge.
void PurchaseRowCost(const uint8_t *purchase, uint8_t *row)
{
    PString code, charge;
    GetText(row, PUVc::Rows::ItemCode, code);
    GetText(row, PUVc::Rows::Charge, charge);
    PackedDecimal price = GetDec(row, PUVc::Rows::Price), rate = GetDec(purchase, PUVc::Rate), cost;
    NetAmountPlusCharge(code, &price, GetU16(purchase, PUVc::VatKind), charge, &rate, &cost);
    PutDec(row, PUVc::Rows::UnitCost, cost);
}

// True when text is empty or holds only blanks (an amount's empty text).
bool TextIsBlank(const uint8_t *text)
{
    for (uint8_t i = 1; i <= text[0]; i++)
        if (text[i] != ' ') return false;
    return true;
}

// An empty price of a purchase row: the cost price of the row's item
// (blank when the item is missing). The row has no name field, so only
// the price is taken from the item.
void PurchaseRowPriceFromItem(uint8_t *row)
{
    std::vector<uint8_t> item(RegRecordSize(INVc::Number), 0);
    PString code;
    GetText(row, PUVc::Rows::ItemCode, code);
    PutText(item.data(), INVc::Code, code);
    uint32_t recid = 0, position = 0;
    PackedDecimal price;
    DecSetBlank(&price);
    if (code[0] != 0 && RecFind(INVc::Number, item.data(), 1, 1, &recid, &position))
        price = GetDec(item.data(), INVc::CostPrice);
    PutDec(row, PUVc::Rows::Price, price);
}

}  // namespace

// Reads a purchase by the list of its version.
bool ReadPurchaseText(int number, int version, uint8_t *record)
{
    const FieldList *l = FieldListFor(false, number, version);
    if (!l) {
        ImportDamage(1);
        return false;
    }
    return ReadPurchaseWith(*l, version, record);
}

// Reads a purchase by l: each row's price column is typed text; an empty
// one takes the item's cost price, and layout 2 recomputes that row's unit
// cost from it. Layout 1 computes every row's unit cost and the header's
// quantity and value sums. False: damaged.
bool ReadPurchaseWith(const FieldList &l, int version, uint8_t *record)
{
    size_t priceColumn = l.rows.size();
    for (size_t i = 0; i < l.rows.size(); i++)
        if (l.rows[i].kind == Col::Field && l.rows[i].pos == PUVc::Rows::Price) priceColumn = i;
    if (!ImportListFits(priceColumn < l.rows.size())) return false;
    if (!ReadColumns(l.header, record, RegRecordSize(PUVc::Number))) return false;
    uint32_t rowSize = RecRowSize(PUVc::Number);
    std::vector<uint8_t> row(rowSize);
    std::span<const Column> before = l.rows.first(priceColumn), after = l.rows.subspan(priceColumn + 1);
    for (int32_t r = 0; ImportNextLineHasData(); r++) {
        std::fill(row.begin(), row.end(), 0);
        PString text;
        if (!ReadColumns(before, row.data(), rowSize) || !ReadTextColumn(text)) return false;
        if (!ReadColumns(after, row.data(), rowSize)) return false;
        bool fromItem = TextIsBlank(text);
        if (fromItem) {
            PurchaseRowPriceFromItem(row.data());
        } else if (!ParseColumn(row.data() + PUVc::Rows::Price, FtAmount2, 0, text)) {
            return false;
        }
        if (version == 1 || fromItem) PurchaseRowCost(record, row.data());
        if (!MatrixRowPut(PUVc::Number, 0, record, r, row.data())) {
            ImportDamage(1);
            return false;
        }
    }
    if (version == 1) PurchaseRowTotals(record);
    return true;
}

// Reads an order by the list of its version.
bool ReadOrderText(int number, int version, uint8_t *record)
{
    const FieldList *l = FieldListFor(false, number, version);
    if (!l) {
        ImportDamage(1);
        return false;
    }
    return ReadOrderWith(*l, version, record);
}

// Reads an order by l, whose first column is the number: "S" takes the
// next free number of the order's date, else the text is the number.
// Rows of kind 1: delivered, shipped and invoiced quantities not below 0,
// the first two not above the ordered quantity; an empty location filled.
bool ReadOrderWith(const FieldList &l, int version, uint8_t *record)
{
    if (!ImportListFits(!l.header.empty() && l.header[0].pos == ORVc::SerNr)) return false;
    PString number;
    if (!ReadTextColumn(number)) return false;
    bool takeNext = PStringEqualC(number, "S");
    if (!takeNext && !ParseColumn(record + ORVc::SerNr, FtLongOrEmpty, 0, number)) return false;
    FieldList rest = l;
    rest.header = l.header.subspan(1);
    if (!ReadListRecord(ORVc::Number, rest, version, record)) return false;
    if (takeNext) {
        DateRec date = GetDate(record, ORVc::OrdDate);
        int32_t next = NextSerialNumber(ORVc::Number, &date, 0, 0);
        if (next == NoFreeNumber) ImportRefuseUnnumbered();   // read on, not stored
        PutI32(record, ORVc::SerNr, next);
    }
    std::vector<uint8_t> row(RecRowSize(ORVc::Number));
    int32_t count = MatrixRowCount(ORVc::Number, 0, record);
    for (int32_t r = 0; r < count; r++) {
        if (!MatrixRowGet(ORVc::Number, 0, record, r, row.data())) return false;
        if (DocRowKind(GetU16(row.data(), ORVc::Rows::Kind)) != DocRowKind::Item) continue;
        PackedDecimal quantity = GetDec(row.data(), ORVc::Rows::Quantity);
        ClampAmount(row.data(), ORVc::Rows::QtyDelivered, &quantity);
        ClampAmount(row.data(), ORVc::Rows::QtyShipped, &quantity);
        ClampAmount(row.data(), ORVc::Rows::QtyInvoiced, nullptr);
        RowLocationFill(row.data(), ORVc::Rows::ItemCode, OrderRowLocation, 20);
        if (!MatrixRowPut(ORVc::Number, 0, record, r, row.data())) return false;
    }
    return true;
}

// Fills the row locations of a delivery as an order's.
void DeliveryLocationsFill(uint8_t *record)
{
    std::vector<uint8_t> row(RecRowSize(SHVc::Number));
    int32_t count = MatrixRowCount(SHVc::Number, 0, record);
    for (int32_t r = 0; r < count; r++) {
        if (!MatrixRowGet(SHVc::Number, 0, record, r, row.data())) return;
        RowLocationFill(row.data(), SHVc::Rows::ItemCode, SHVc::Rows::Location, 10);
        if (!MatrixRowPut(SHVc::Number, 0, record, r, row.data())) return;
    }
}

namespace {

// Spreads a budget's total over its period rows by the days each covers
// (a row runs to the day before the next row's date, the last to end),
// rounded to cents, the last row taking what rounding left so that the
// rows add up to the total. A blank total leaves the rows blank. False
// (damage) when a row cannot be read or put back.
bool BudgetTotalSpread(uint8_t *record, const DateRec *end)
{
    PackedDecimal total = GetDec(record, BPVc::Total);
    if (DecIsBlank(&total)) return true;
    int32_t count = MatrixRowCount(BPVc::Number, 0, record);
    std::vector<uint8_t> row(RecRowSize(BPVc::Number)), next(RecRowSize(BPVc::Number));
    if (count < 1 || !MatrixRowGet(BPVc::Number, 0, record, 0, row.data())) return true;
    DateRec first = GetDate(row.data(), BPVc::Rows::FromDate);
    PackedDecimal allDays, spent;
    DecFromLong(&allDays, DateDiffDays(end, &first) + 1);
    DecSetZero(&spent);
    for (int32_t r = 0; r < count; r++) {
        if (!MatrixRowGet(BPVc::Number, 0, record, r, row.data())) break;
        DateRec from = GetDate(row.data(), BPVc::Rows::FromDate), to = *end;
        if (r + 1 < count && MatrixRowGet(BPVc::Number, 0, record, r + 1, next.data())) {
            DateRec nextFrom = GetDate(next.data(), BPVc::Rows::FromDate);
            DateAddDays(&nextFrom, -1, &to);
        }
        PackedDecimal share, days;
        if (r + 1 == count) {
            DecSub(&total, &spent, &share);
        } else {
            DecFromLong(&days, DateDiffDays(&to, &from) + 1);
            DecMul(&total, &days, &share);
            DecDiv(&share, &allDays, &share);
            DecRound(&share, 2, &share);
        }
        DecAdd(&spent, &share, &spent);
        PutDec(row.data(), BPVc::Rows::Amount, share);
        if (!MatrixRowPut(BPVc::Number, 0, record, r, row.data())) {
            ImportDamage(1);
            return false;
        }
    }
    return true;
}

}  // namespace

// Reads a budget of layout 2: account, objects, name, the total-valid and
// row-text flags, the total and a dropped amount; then one row per month
// of the current fiscal year (the first row of block 149), each with a
// text when the flag says so, and the total spread by the rows' days.
// (The rules' BudgetRowsByDates recomputes rows from register 20 and
// would replace the file's total; it is not the spread wanted here.)
bool ReadBudgetV2(int number, int version, uint8_t *record)
{
    (void)version;
    assert(number == BPVc::Number);
    static const Column head[] = {
        {BPVc::Account, FtCodeNoSep, 10}, {BPVc::Objects, FtCode, 30}, {BPVc::AccName, FtText, 60}};
    if (!ReadColumns(head, record, BPVc::Size)) return false;
    uint8_t flags[4] = {0};
    PackedDecimal dropped;
    if (!ImportReadField(flags, FtShort, 0) || !ImportReadField(flags + 2, FtShort, 0)) return false;
    if (!ImportReadField(record + BPVc::Total, FtAmount2, 0)) return false;
    if (!ImportReadField(&dropped, FtAmount2, 0)) return false;
    bool totalValid = GetU16(flags, 0) != 0, rowTexts = GetU16(flags, 2) != 0;
    if (!totalValid) {
        PackedDecimal blank;
        DecSetBlank(&blank);
        PutDec(record, BPVc::Total, blank);
    }
    SettingsRows years(FiscalYearBlk::Number, &FiscalYearRows, FiscalYearEntry::Size);
    if (years.count < 1) return true;
    DateRec start = GetDate(years.data, FiscalYearEntry::StartDate);
    DateRec end = GetDate(years.data, FiscalYearEntry::EndDate);
    PutDate(record, BPVc::StartDate, start);
    PutDate(record, BPVc::EndDate, end);
    std::vector<uint8_t> row(RecRowSize(BPVc::Number));
    DateRec from = start;
    for (int32_t r = 0; !DateIsEmpty(&from) && DateCompare(&from, &end) <= 0; r++) {
        std::fill(row.begin(), row.end(), 0);
        PutDate(row.data(), BPVc::Rows::FromDate, from);
        if (rowTexts && !ImportReadField(row.data() + BPVc::Rows::Text, FtText, 60)) return false;
        PackedDecimal blank;
        DecSetBlank(&blank);
        PutDec(row.data(), BPVc::Rows::Amount, blank);
        if (!MatrixRowPut(BPVc::Number, 0, record, r, row.data())) {
            ImportDamage(1);
            return false;
        }
        // From the year's start each time, so that a month's short last
        // day does not carry into the months after it.
        from = start;
        DateAddMonths(&from, r + 1);
    }
    return BudgetTotalSpread(record, &end);
}

// Reads an asset of layout 1 by the newest list.
bool ReadAssetV1(int number, int version, uint8_t *record)
{
    (void)version;
    const FieldList *l = FieldListFor(false, number, ListNewest);
    if (!l) {
        ImportDamage(1);
        return false;
    }
    return ReadAssetV1With(*l, record);
}

// Reads an asset of layout 1: the header columns of l, of which the 9th
// and 10th (an amount and a date) and the 14th and 15th (two model codes)
// are the one row of the old layout; the rest of the line is dropped.
bool ReadAssetV1With(const FieldList &l, uint8_t *record)
{
    if (!ImportListFits(l.header.size() > AssetModel2Column)) return false;
    std::vector<uint8_t> row(RecRowSize(AssetVc::Number), 0);
    for (size_t i = 0; i < l.header.size(); i++) {
        bool ok = true;
        switch (i) {
        case AssetAmountColumn: ok = ImportReadField(row.data() + AssetVc::Rows::NewValue, FtAmount2, 0); break;
        case AssetDateColumn: ok = ImportReadField(row.data() + AssetVc::Rows::RowDate, FtDate, 0); break;
        case AssetModel1Column: ok = ImportReadField(row.data() + AssetVc::Rows::Model1, FtCodeNoSep, 5); break;
        case AssetModel2Column: ok = ImportReadField(row.data() + AssetVc::Rows::Model2, FtCodeNoSep, 5); break;
        default: ok = ReadColumns(l.header.subspan(i, 1), record, RegRecordSize(AssetVc::Number)); break;
        }
        if (!ok) return false;
    }
    ImportSkipLine();
    if (!MatrixRowPut(AssetVc::Number, 0, record, 0, row.data())) {
        ImportDamage(1);
        return false;
    }
    return true;
}

namespace {

// Puts the two amounts at a and b of row in ascending order.
void AmountPairOrder(uint8_t *row, uint32_t a, uint32_t b)
{
    PackedDecimal first = GetDec(row, a), second = GetDec(row, b);
    if (DecCompare(&first, &second) <= 0) return;
    PutDec(row, a, second);
    PutDec(row, b, first);
}

// The field code of a form-definition row from the text of its 10th
// column: empty, for a field item whose text names a field of
// choice list 101, the field found (and the text cleared); else the
// number typed, which layout 1 counted one lower above 9.
bool DocFieldCode(uint8_t *row, int version, const uint8_t *text)
{
    if (text[0] == 0 && GetU16(row, DocVc::Rows::Kind) == FormItemField) {
        PString name;
        GetText(row, DocVc::Rows::Text, name);
        uint16_t value = 0;
        int index = 0;
        if (name[0] != 0 && ChoiceValueOf(FormFieldChoices, name, &value, &index)) {
            PutText(row, DocVc::Rows::Text, reinterpret_cast<const uint8_t *>(""));
            PutU16(row, DocVc::Rows::FieldCode, value);
            return true;
        }
    }
    if (!ParseColumn(row + DocVc::Rows::FieldCode, FtShort, 0, text)) return false;
    uint16_t code = GetU16(row, DocVc::Rows::FieldCode);
    if (version == 1 && code > DocOldFieldCodeLast) PutU16(row, DocVc::Rows::FieldCode, uint16_t(code + 1));
    return true;
}

}  // namespace

// Reads a form definition of layout 0 ("fp"): no rows; the first column
// with "_" appended (at most 20 characters) is the code, and each of the
// five copy labels stands on a line of its own after it. The last line is
// left to the caller, as every record's is. False: damaged.
bool ReadDocV0(int number, int version, uint8_t *record)
{
    (void)version;
    assert(number == DocVc::Number);
    PString code;
    if (!ReadTextColumn(code)) return false;
    if (code[0] < DocCodeMax) code[++code[0]] = '_';
    if (code[0] > DocCodeMax) code[0] = DocCodeMax;
    if (!ParseColumn(record + DocVc::Code, FtCodeNoSep, DocCodeMax, code)) return false;
    for (uint32_t at : {DocVc::CopyLabel1, DocVc::CopyLabel2, DocVc::CopyLabel3, DocVc::CopyLabel4,
                        DocVc::CopyLabel5}) {
        ImportSkipLine();
        if (!ImportReadField(record + at, FtText, DocLabelMax)) return false;
    }
    return true;
}

// Reads a form definition: layout 0 by its own reader, layouts 1 and 2 by
// the newest list (the older header is the same, and only the newest list
// is sure to hold the rows).
bool ReadDocText(int number, int version, uint8_t *record)
{
    if (version == 0) return ReadDocV0(number, version, record);
    const FieldList *l = FieldListFor(false, number, ListNewest);
    if (!l) {
        ImportDamage(1);
        return false;
    }
    return ReadDocWith(*l, version, record);
}

// Reads a form definition of layout 1 or 2 by l: the header, then each
// row with its coordinate pairs in order and its field code found.
bool ReadDocWith(const FieldList &l, int version, uint8_t *record)
{
    if (!ImportListFits(l.rows.size() > DocFieldCodeColumn && l.rows[DocFieldCodeColumn].pos == DocVc::Rows::FieldCode))
        return false;
    if (!ReadColumns(l.header, record, RegRecordSize(DocVc::Number))) return false;
    uint32_t rowSize = RecRowSize(DocVc::Number);
    std::vector<uint8_t> row(rowSize);
    std::span<const Column> before = l.rows.first(DocFieldCodeColumn), after = l.rows.subspan(DocFieldCodeColumn + 1);
    for (int32_t r = 0; ImportNextLineHasData(); r++) {
        std::fill(row.begin(), row.end(), 0);
        PString text;
        if (!ReadColumns(before, row.data(), rowSize) || !ReadTextColumn(text)) return false;
        if (!ReadColumns(after, row.data(), rowSize)) return false;
        AmountPairOrder(row.data(), DocVc::Rows::Left, DocVc::Rows::Right);
        AmountPairOrder(row.data(), DocVc::Rows::Top, DocVc::Rows::Bottom);
        if (!DocFieldCode(row.data(), version, text)) return false;
        if (!MatrixRowPut(DocVc::Number, 0, record, r, row.data())) {
            ImportDamage(1);
            return false;
        }
    }
    return true;
}

namespace {

// The customer's first three lines in layout 1; the rest of each is dropped.
const Column CustomerV1Lines[] = {
    {CUVc::Code, FtCodeNoSep, 20}, {CUVc::Name, FtText, 60}, {CUVc::Name2, FtText, 60}, {CUVc::Note, FtText, 60},
    {0, 0, 0, Col::NewLine},
    {CUVc::Addr1, FtText, 60}, {CUVc::Addr2, FtText, 60}, {CUVc::Addr3, FtText, 60},
    {CUVc::PayerCode, FtCodeNoSep, 20}, {0, 0, 0, Col::NewLine},
    {CUVc::DelAddr1, FtText, 60}, {CUVc::DelAddr2, FtText, 60}, {CUVc::DelAddr3, FtText, 60},
    {0, 0, 0, Col::NewLine},
    {CUVc::Text456, FtText, 20}, {CUVc::Phone, FtText, 20}, {CUVc::CustGroup, FtCodeNoSep, 5},
    {CUVc::Text562, FtText, 60}, {CUVc::PayTerms, FtCodeNoSep, 2}, {CUVc::VatZone, FtShort, 0},
    {CUVc::Word626, FtShort, 0}, {CUVc::Objects, FtCodeNoSep, 5},
};
// The fourth line between the two flag texts, and after the second.
const Column CustomerV1Middle[] = {
    {CUVc::Text646, FtText, 20}, {CUVc::Code668, FtCodeNoSep, 5}, {CUVc::Text674, FtText, 10}};
const Column CustomerV1Tail[] = {
    {CUVc::LangCode, FtCodeNoSep, 5}, {CUVc::CurncyCode, FtCodeNoSep, 5}, {CUVc::OnAccount, FtShort, 0},
    {CUVc::SalesMan, FtCodeNoSep, 5}, {CUVc::CreditLimit, FtAmount2, 0}, {CUVc::DelTerms, FtCodeNoSep, 5},
    {CUVc::DelMode, FtCodeNoSep, 5}};

// A flag typed as a text of at most 5: empty gives 1, else the number.
bool CustomerFlag(uint8_t *record, uint32_t at)
{
    PString text;
    if (!ReadTextColumn(text)) return false;
    if (text[0] == 0) {
        PutU16(record, at, 1);
        return true;
    }
    if (text[0] > 5) text[0] = 5;
    return ParseColumn(record + at, FtShort, 0, text);
}

}  // namespace

// Reads a customer of layout 1 ("kund1"): four lines, the fields from
// 834 on not in it; the two flags at 644 and 686 are 1 when left empty.
bool ReadCustomerV1(int number, int version, uint8_t *record)
{
    (void)version;
    assert(number == CUVc::Number);
    return ReadColumns(CustomerV1Lines, record, CUVc::Size) && CustomerFlag(record, CUVc::InterestFlag) &&
           ReadColumns(CustomerV1Middle, record, CUVc::Size) && CustomerFlag(record, CUVc::NoticeCounting) &&
           ReadColumns(CustomerV1Tail, record, CUVc::Size);
}
