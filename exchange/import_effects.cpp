// import_effects.cpp - what an imported record does beyond its own fields:
// list marks and totals rebuilt, missing items created for a new order,
// and the stock, history and project effects of new documents. Those
// effects are reached through ImportEffects; one that is not installed
// (or fails) is not done, and the record is counted once so that the
// import's result can say how many documents it concerns.
#include <cassert>
#include <cstdio>
#include <vector>

#include "core/decimal.h"
#include "core/definitions.h"
#include "core/work_blocks.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "exchange/section_readers.h"
#include "exchange/text_exchange.h"
#include "operations/operations.h"
#include "operations/project_ops.h"
#include "operations/stock_docs.h"
#include "rules/checks.h"
#include "rules/documents.h"
#include "rules/invoice_kind.h"
#include "rules/vat_currency.h"
#include "shell/database_open.h"

namespace {

// The project effects of an imported time sheet, done only for a sheet
// whose every row names a stored project, person and item: a sheet that
// the checks would refuse carries nothing over.
bool SheetRowsSound(const uint8_t *sheet) {
    int32_t row = 0;
    uint32_t column = 0;
    int text = 0;
    return TimeSheetRowsCheck(sheet, &row, &column, &text);
}
bool ImportedSheetTrans(const uint8_t *sheet) { return SheetRowsSound(sheet) && TimeSheetProjectTrans(sheet); }
bool ImportedSheetLinks(const uint8_t *sheet) {
    return SheetRowsSound(sheet) && ProjectLinkEntries(TimeSheetVc::Number, sheet);
}

// The effects the start installs: those of the project side and of the
// stock documents.
ImportEffectsRec InstalledEffects() {
    ImportEffectsRec e{};
    e.locationStockFromPurchase = [](const uint8_t *r) { return LocationStockFromPurchase(r, 1); };
    e.stockHistoryFromPurchase = StockHistoryFromPurchase;
    e.orderReservedStock = OrderReservedStock;
    e.purchaseOrderOnOrderStock = PurchaseOrderOnOrderStock;
    e.orderRowsToLocationStock = [](const uint8_t *r) { return OrderRowsToLocationStock(r, 1); };
    e.stockHistoryFromDelivery = StockHistoryFromDelivery;
    e.stockMoveEffects = [](const uint8_t *r) { return StockHistoryFromStockMove(r) && LocationStockTransfer(r, 1); };
    e.productionStockRows = ProductionStockRows;
    e.productionHistory = StockHistoryFromProduction;
    e.timeSheetProjectTrans = ImportedSheetTrans;
    e.projectLinkEntries = ImportedSheetLinks;
    return e;
}

}  // namespace

ImportEffectsRec ImportEffects = {};

void ImportEffectsInstall() { ImportEffects = InstalledEffects(); }

namespace {

// Runs a one-argument effect; a missing or failed one marks *skipped.
void Effect(bool (*fn)(const uint8_t *), const uint8_t *record, bool *skipped)
{
    if (!fn || !fn(record)) *skipped = true;
}

// Runs an effect that adds (1) or takes back; as Effect.
void EffectAdd(bool (*fn)(const uint8_t *, int), const uint8_t *record, int add, bool *skipped)
{
    if (!fn || !fn(record, add)) *skipped = true;
}

// Counts a record whose effects were not all done, once.
void CountSkipped(bool skipped)
{
    if (skipped) ImportResult.effectsSkipped++;
}

// True when the register does not hold the record's key yet.
bool RecordIsNew(int reg, uint8_t *record)
{
    return !RecExists(reg, record);
}

// For a row of a new order: creates its item when missing (code, the row
// text as name, blank prices); a row without cost takes the item's cost,
// and its margin is its sum less that cost for its quantity.
void OrderRowItem(uint8_t *row)
{
    PString code, text;
    GetText(row, ORVc::Rows::ItemCode, code);
    if (code[0] == 0) return;
    std::vector<uint8_t> item(RegRecordSize(INVc::Number), 0);
    PutText(item.data(), INVc::Code, code);
    uint32_t recid = 0, position = 0;
    if (!RecFind(INVc::Number, item.data(), 1, 1, &recid, &position)) {
        std::fill(item.begin(), item.end(), 0);
        PutText(item.data(), INVc::Code, code);
        GetText(row, ORVc::Rows::Text, text);
        PutText(item.data(), INVc::Name, text);
        PackedDecimal blank;
        DecSetBlank(&blank);
        for (uint32_t at : {INVc::BasePrice, INVc::CostPrice, INVc::AddCost, INVc::PriceUnit}) PutDec(item.data(), at, blank);
        if (!RecStoreByKey(INVc::Number, item.data(), 0, &recid)) ImportFailedSteps++;
    }
    PackedDecimal cost = GetDec(row, ORVc::Rows::UnitCost);
    if (!DecIsBlank(&cost)) return;
    cost = GetDec(item.data(), INVc::CostPrice);
    PackedDecimal quantity = GetDec(row, ORVc::Rows::Quantity), sum = GetDec(row, ORVc::Rows::Sum), margin;
    PutDec(row, ORVc::Rows::UnitCost, cost);
    DecMul(&cost, &quantity, &margin);
    DecSub(&sum, &margin, &margin);
    PutDec(row, ORVc::Rows::GrossProfit, margin);
}

}  // namespace

// Purchase: list mark; a new purchase marked received moves location
// stock and item history.
void AfterReadPurchase(int number, int version, uint8_t *record)
{
    (void)number;
    (void)version;
    PurchaseRowTotals(record);
    StatusMarkPurchase(record);
    if (GetU16(record, PUVc::Received) == 0 || !RecordIsNew(PUVc::Number, record)) return;
    bool skipped = false;
    Effect(ImportEffects.locationStockFromPurchase, record, &skipped);
    Effect(ImportEffects.stockHistoryFromPurchase, record, &skipped);
    CountSkipped(skipped);
}

// Order: list marks; a new order gets its missing items created, row
// costs and margins, reserved stock and its object links.
void AfterReadOrder(int number, int version, uint8_t *record)
{
    (void)number;
    (void)version;
    StatusMarkOrder(record);
    if (!RecordIsNew(ORVc::Number, record)) return;
    std::vector<uint8_t> row(RecRowSize(ORVc::Number));
    int32_t count = MatrixRowCount(ORVc::Number, 0, record);
    for (int32_t r = 0; r < count; r++) {
        if (!MatrixRowGet(ORVc::Number, 0, record, r, row.data())) break;
        if (DocRowKind(GetU16(row.data(), ORVc::Rows::Kind)) != DocRowKind::Item) continue;
        OrderRowItem(row.data());
        if (!MatrixRowPut(ORVc::Number, 0, record, r, row.data())) break;
    }
    bool skipped = false;
    EffectAdd(ImportEffects.orderReservedStock, record, 1, &skipped);
    CountSkipped(skipped);
    if (!UpdateOrderObjectLinks(record, nullptr)) ImportFailedSteps++;
}

// Delivery: row locations as an order's, list mark; a new delivery marked
// shipped moves location stock and item history.
void AfterReadDelivery(int number, int version, uint8_t *record)
{
    (void)number;
    (void)version;
    DeliveryLocationsFill(record);
    StatusMarkDelivery(record);
    if (GetU16(record, SHVc::Shipped) == 0 || !RecordIsNew(SHVc::Number, record)) return;
    bool skipped = false;
    Effect(ImportEffects.orderRowsToLocationStock, record, &skipped);
    Effect(ImportEffects.stockHistoryFromDelivery, record, &skipped);
    CountSkipped(skipped);
}

// Purchase order: list marks and totals; a new one adds its quantities on
// order (one already stored has added them: a second import of the same
// file would count them twice).
void AfterReadPurchaseOrder(int number, int version, uint8_t *record)
{
    (void)number;
    (void)version;
    StatusMarkPurchaseOrder(record);
    PurchaseOrderTotals(record);
    if (!RecordIsNew(PurchOrderVc::Number, record)) return;
    bool skipped = false;
    EffectAdd(ImportEffects.purchaseOrderOnOrderStock, record, 1, &skipped);
    CountSkipped(skipped);
}

// Stock movement: a new one marked done makes its item history and the
// transfer between locations; then the list mark.
void AfterReadStockMove(int number, int version, uint8_t *record)
{
    (void)number;
    (void)version;
    if (GetU16(record, StockMoveVc::Done) == 1 && RecordIsNew(StockMoveVc::Number, record)) {
        bool skipped = false;
        Effect(ImportEffects.stockMoveEffects, record, &skipped);
        CountSkipped(skipped);
    }
    StatusMarkStockMovement(record);
}

// Production: list mark; a new one adds its component stock and, when
// finished, its item history.
void AfterReadProduction(int number, int version, uint8_t *record)
{
    (void)number;
    (void)version;
    StatusMarkProduction(record);
    if (!RecordIsNew(ProductionVc::Number, record)) return;
    bool skipped = false;
    EffectAdd(ImportEffects.productionStockRows, record, 1, &skipped);
    if (GetU16(record, ProductionVc::Finished) != 0) Effect(ImportEffects.productionHistory, record, &skipped);
    CountSkipped(skipped);
}

// Time sheet: list mark; a new one makes its project transactions and
// link entries.
void AfterReadTimeSheet(int number, int version, uint8_t *record)
{
    (void)number;
    (void)version;
    StatusMarkFromFlag(record);
    if (!RecordIsNew(TimeSheetVc::Number, record)) return;
    bool skipped = false;
    Effect(ImportEffects.timeSheetProjectTrans, record, &skipped);
    Effect(ImportEffects.projectLinkEntries, record, &skipped);
    CountSkipped(skipped);
}

// Register 56: its list mark.
void AfterReadMark(int number, int version, uint8_t *record)
{
    (void)number;
    (void)version;
    StatusMarkRegister56(record);
}

// Contract: its totals when the file left the total blank.
void AfterReadContract(int number, int version, uint8_t *record)
{
    (void)number;
    (void)version;
    PackedDecimal total = GetDec(record, ContractVc::Total);
    if (DecIsBlank(&total)) ContractTotals(record);
}

// The totals that are not in the file, rebuilt from the rows. A voucher
// template (register 19) has none: its header holds no total and its rows
// carry debit and credit as texts that are worked out only when the
// template is used. Any other register has no totals routine here: the
// record is left as read and the import counts a failed step, so that it
// does not report a clean run.
void AfterReadTotals(int number, int version, uint8_t *record)
{
    (void)version;
    switch (number) {
    case AUVc::Number: break;
    case DKVc::Number: AmountListTotal(record); break;
    case OPVc::Number: OutPaymentTotals(record); break;
    case StructureVc::Number: ItemStructureTotals(record); break;
    case PersEntryVc::Number: AccountRows118Balance(record); break;
    default: ImportFailedSteps++; break;
    }
}

// VAT accounts (block 130): an empty second-zone account takes the first.
void AfterReadVatCodes(int number, int version, uint8_t *row)
{
    (void)number;
    (void)version;
    PString account;
    GetText(row, VatAccountsBlk::Rows::AccZone2, account);
    if (account[0] != 0) return;
    GetText(row, VatAccountsBlk::Rows::AccZone1, account);
    PutText(row, VatAccountsBlk::Rows::AccZone2, account);
}

// Tells how many imported documents had effects that were not done.
void ImportEffectsReport()
{
    if (ImportResult.effectsSkipped == 0) return;
    char number[16];
    std::snprintf(number, sizeof number, "%u", unsigned(ImportResult.effectsSkipped));
    PString extra;
    PStringFromC(extra, number);
    ShowMessage(Texts::ImportEffectsSkipped, extra);
}
