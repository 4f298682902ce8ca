// stock_vouchers.cpp - the vouchers of deliveries and stock movements.
//
// Both are built into PendingVoucher while the document's check runs and
// stored by the document's save hook in the same hold. A builder that
// gives false leaves the pending voucher without rows.
#include <cassert>
#include <cstring>

#include "core/company_variant.h"
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "database/access/record_access.h"
#include "rules/accounts.h"
#include "rules/ledger.h"
#include "rules/stock.h"
#include "rules/vat_currency.h"

namespace {

// Fails a build: the pending voucher is left without rows.
bool Refuse() {
    PendingVoucherClear();
    return false;
}

// Reads the location of code into loc; true when it exists.
bool ReadLocation(const uint8_t *code, uint8_t *loc) {
    if (code[0] == 0) return false;
    std::memset(loc, 0, LocationVc::Size);
    PutText(loc, LocationVc::Code, code);
    return RecFindByFirstKey(LocationVc::Number, loc);
}

// The stock account of a location record (null: none) into out: its own
// when it has a code and an account, else block 133's.
void StockAccountOf(const uint8_t *loc, const uint8_t *accounts, uint8_t *out) {
    out[0] = 0;
    if (loc) {
        uint8_t code[256];
        GetText(loc, LocationVc::Code, code);
        if (code[0] != 0) GetText(loc, LocationVc::StockAcc, out);
    }
    if (out[0] == 0) GetText(accounts, SalesAccountsBlk::StockAcc, out);
}

// The first five characters of the object list of the delivery's order
// (register 7) into out; empty when there is no such order.
void OrderObjects(const uint8_t *delivery, uint8_t *out) {
    out[0] = 0;
    RuleRecord order(ORVc::Number);
    if (!order.record) return;
    PutU32(order.record, ORVc::SerNr, GetU32(delivery, SHVc::OrderNr));
    uint32_t recid = 0, position = 0;
    if (!RecFind(ORVc::Number, order.record, 1, 1, &recid, &position)) return;
    GetTextPrefix(order.record, ORVc::Objects, ObjectCodeMax, out);
}

// The objects of a cost row: the item's object list (none for an item
// missing) joined by "," with the order's objects.
void RowObjects(const uint8_t *itemCode, const uint8_t *orderObjects, uint8_t *out) {
    out[0] = 0;
    RuleRecord item(INVc::Number);
    if (item.record) {
        PutText(item.record, INVc::Code, itemCode);
        uint32_t recid = 0, position = 0;
        if (RecFind(INVc::Number, item.record, 1, 1, &recid, &position))
            GetText(item.record, INVc::Objects, out);
    }
    if (orderObjects[0] != 0) {
        if (out[0] != 0) PStringAppendC(out, ",");
        PStringAppend(out, orderObjects);
    }
    if (out[0] > ObjectListMax) out[0] = ObjectListMax;
}

// What a delivery's cost rows need while they are added.
struct ShipmentCosts {
    const uint8_t *costAccount;
    const uint8_t *costName;
    const uint8_t *orderObjects;
    PackedDecimal total;
};

// Books the FIFO cost of issuing qty of item at location: a debit on the
// cost-of-goods account, added to the total the stock account is credited.
void AddCostRow(ShipmentCosts *c, const uint8_t *item, const uint8_t *location, const PackedDecimal *qty) {
    PackedDecimal cost, ignored;
    DecSetBlank(&cost);
    FifoIssueCost(item, location, qty, &cost);
    if (DecIsZero(&cost)) return;
    uint8_t objects[256];
    const uint8_t empty[1] = {0};
    RowObjects(item, c->orderObjects, objects);
    DecSetZero(&ignored);
    AddVoucherRow(PendingVoucher, c->costAccount, objects, empty, c->costName, &cost, 0, true, &ignored);
    DecAdd(&c->total, &cost, &c->total);
}

// Adds to the pending voucher the row taking whatever its rows leave
// unbalanced onto account (none when they balance); false when the account
// is needed and missing.
bool BalanceOnto(const uint8_t *account) {
    PackedDecimal sum, ignored;
    VoucherRowsSum(PendingVoucher, &sum);
    if (DecIsZero(&sum)) return true;
    const uint8_t empty[1] = {0};
    DecSetZero(&ignored);
    return FindNamedVoucherRow(PendingVoucher, account, empty, empty, nullptr, &sum, false, false, &ignored);
}

}  // namespace

// Builds into PendingVoucher the voucher of a delivery (register 8): each
// row's FIFO cost (or, for a row naming a structure, each component's)
// debited to the cost-of-goods account, their sum credited to the stock
// account of the delivery's location (else block 133's). A row whose own
// location is not a location record is costed like a row without one.
// Unless force, block 199 decides whether deliveries make vouchers and
// from which date. true when built or not wanted; false (nothing pending)
// when an account it needs is missing.
bool BuildShipmentVoucher(const uint8_t *delivery, bool force) {
    assert(delivery);
    if (!PendingVoucher) return false;
    const uint8_t *accounts = SettingsRecord(SalesAccountsBlk::Number, SalesAccountsBlock);
    if (!accounts) return Refuse();
    uint8_t locationCode[256], stockAccount[256];
    GetText(delivery, SHVc::Location, locationCode);
    if (locationCode[0] == 0)
        if (const uint8_t *block = SettingsRecord(MainStockBlk::Number, MainStockBlock))
            GetText(block, MainStockBlk::MainLocation, locationCode);
    RuleRecord loc(LocationVc::Number);
    if (!loc.record) return Refuse();
    bool haveLocation = ReadLocation(locationCode, loc.record);
    StockAccountOf(haveLocation ? loc.record : nullptr, accounts, stockAccount);

    PendingVoucherClear();
    DateRec date = GetDate(delivery, SHVc::ShipDate);
    if (!force && !VoucherDueOn(PostingBlk::DeliveryVouchers, PostingBlk::DeliveryVoucherStart, date)) return true;

    uint8_t costAccount[256], costName[62], stockName[62], text[256], part[256];
    GetText(accounts, SalesAccountsBlk::CostOfGoodsAcc, costAccount);
    if (!AccountNameOf(costAccount, costName, 60) || !AccountNameOf(stockAccount, stockName, 60)) return Refuse();

    PendingVoucherHead(YearCodeDelivery, GetU32(delivery, SHVc::SerNr), date, false);
    GetText(delivery, SHVc::CustCode, text);
    GetText(delivery, SHVc::DelAddr0, part);
    PStringAppendC(text, " ");
    PStringAppend(text, part);
    PutText(PendingVoucher, Voucher::Text, text);

    uint8_t orderObjects[256];
    orderObjects[0] = 0;
    if (CompanyVariantIs(CountryVariant::V27)) OrderObjects(delivery, orderObjects);
    ShipmentCosts costs{costAccount, costName, orderObjects, {}};
    DecSetZero(&costs.total);

    RuleRecord parts(SHVc::Number), rowLoc(LocationVc::Number);
    if (!parts.record || !rowLoc.record) return Refuse();
    uint8_t row[SHVc::Rows::Size], item[256], structure[256], own[256], at[256];
    int32_t count = MatrixRowCount(SHVc::Number, 0, delivery);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(SHVc::Number, delivery, i, row)) return Refuse();
        GetText(row, SHVc::Rows::ItemCode, item);
        if (item[0] == 0) continue;
        GetText(row, SHVc::Rows::Location, own);
        // Stock leaves from the row's own location only when that is a
        // location; any other code is costed at the delivery's.
        PStringCopy(at, own[0] != 0 && ReadLocation(own, rowLoc.record) ? own : locationCode);
        PackedDecimal qty = GetDec(row, SHVc::Rows::ToDeliver);
        GetText(row, SHVc::Rows::StructCode, structure);
        if (structure[0] != 0 && ExplodeItemStructure(item, structure, &qty, parts.record)) {
            uint8_t component[SHVc::Rows::Size], code[256];
            int32_t n = MatrixRowCount(SHVc::Number, 0, parts.record);
            for (int32_t k = 0; k < n; k++) {
                if (!MatrixRowRead(SHVc::Number, parts.record, k, component)) return Refuse();
                GetText(component, SHVc::Rows::ItemCode, code);
                PackedDecimal need = GetDec(component, SHVc::Rows::ToDeliver);
                AddCostRow(&costs, code, at, &need);
            }
            continue;
        }
        AddCostRow(&costs, item, at, &qty);
    }

    const uint8_t empty[1] = {0};
    PackedDecimal ignored;
    DecSetZero(&ignored);
    if (!DecIsZero(&costs.total))
        AddVoucherRow(PendingVoucher, stockAccount, empty, empty, stockName, &costs.total, 0, false, &ignored);
    uint8_t balancing[256];
    GetText(accounts, SalesAccountsBlk::RoundingAcc, balancing);
    if (!BalanceOnto(balancing)) return Refuse();
    return true;
}

// Builds into PendingVoucher the voucher of a stock movement (register
// 92) between the location records from and to (null: none): each row's
// cost (its unit cost x quantity, else the FIFO cost at the from
// location) credited to the from location's stock account, and its value
// (quantity x price at the movement's rate, else the cost) debited to the
// to location's; a difference goes to block 133's stock-difference
// account. Block 199 decides whether movements make vouchers and from
// which date. true when built or not wanted; false (nothing pending) when
// the voucher's key is taken or an account it needs is missing.
bool BuildStockMovementVoucher(const uint8_t *move, const uint8_t *from, const uint8_t *to) {
    assert(move);
    if (!PendingVoucher) return false;
    PackedDecimal rate = GetDec(move, StockMoveVc::Rate);
    if (DecIsZero(&rate)) DecFromLong(&rate, 100);
    PendingVoucherClear();
    DateRec date = GetDate(move, StockMoveVc::MoveDate);
    if (!VoucherDueOn(PostingBlk::StockMoveVouchers, PostingBlk::StockMoveVoucherStart, date)) return true;
    const uint8_t *accounts = SettingsRecord(SalesAccountsBlk::Number, SalesAccountsBlock);
    if (!accounts) return Refuse();

    if (!PendingVoucherHead(YearCodeStockMove, GetU32(move, StockMoveVc::SerNr), date, true)) return Refuse();
    uint8_t text[256], part[256];
    text[0] = 0;
    GetText(move, StockMoveVc::CurncyCode, part);
    if (part[0] != 0) {
        PStringAppendC(text, ", ");
        PStringAppend(text, part);
        PStringAppendC(text, " ");
        DecFormat(&rate, 3, part);
        PStringAppend(text, part);
    }
    PutText(PendingVoucher, Voucher::Text, text);

    uint8_t fromAccount[256], toAccount[256], fromName[62], toName[62], fromCode[256];
    StockAccountOf(from, accounts, fromAccount);
    StockAccountOf(to, accounts, toAccount);
    if (!AccountNameOf(fromAccount, fromName, 60) || !AccountNameOf(toAccount, toName, 60)) return Refuse();
    GetText(move, StockMoveVc::FromLocation, fromCode);

    const uint8_t empty[1] = {0};
    PackedDecimal ignored;
    DecSetZero(&ignored);
    uint8_t row[StockMoveVc::Rows::Size], item[256];
    int32_t count = MatrixRowCount(StockMoveVc::Number, 0, move);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(StockMoveVc::Number, move, i, row)) return Refuse();
        GetText(row, StockMoveVc::Rows::ItemCode, item);
        PackedDecimal qty = GetDec(row, StockMoveVc::Rows::Quantity), unit = GetDec(row, StockMoveVc::Rows::BaseCost);
        PackedDecimal price = GetDec(row, StockMoveVc::Rows::UnitCost), cost, value;
        if (DecIsZero(&unit)) {
            DecSetBlank(&cost);
            FifoIssueCost(item, fromCode, &qty, &cost);
        } else {
            DecMul(&unit, &qty, &cost);
        }
        if (DecIsZero(&price)) {
            value = cost;
        } else {
            DecMul(&qty, &price, &value);
            AmountTimesRate(&value, &rate, &value);
        }
        if (!DecIsZero(&cost))
            AddVoucherRow(PendingVoucher, fromAccount, empty, empty, fromName, &cost, 0, false, &ignored);
        if (!DecIsZero(&value))
            AddVoucherRow(PendingVoucher, toAccount, empty, empty, toName, &value, 0, true, &ignored);
    }
    uint8_t difference[256];
    GetText(accounts, SalesAccountsBlk::StockDiffAcc, difference);
    if (!BalanceOnto(difference)) return Refuse();
    return true;
}
