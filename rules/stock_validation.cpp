// stock_validation.cpp - the checks of deliveries, stock movements,
// purchase orders, productions and register-56 records before they are
// stored.
//
// A delivery or movement that posts builds its stock voucher into
// PendingVoucher here; the save hook stores it in the same hold, so a
// voucher that could not be built or would not be stored refuses the
// document rather than leave stock moved without its voucher.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/operations.h"
#include "rules/checks.h"
#include "rules/invoice_kind.h"
#include "rules/ledger.h"
#include "rules/series_terms.h"
#include "rules/stock.h"
#include "rules/vat_currency.h"

namespace {

// Reads item code into item (register 3); true when it exists.
bool ReadItem(const uint8_t *code, uint8_t *item) {
    std::memset(item, 0, INVc::Size);
    PutText(item, INVc::Code, code);
    return RecFindByFirstKey(INVc::Number, item);
}

// Reads location code into loc (register 78); true when it exists.
bool ReadLocation(const uint8_t *code, uint8_t *loc) {
    std::memset(loc, 0, LocationVc::Size);
    PutText(loc, LocationVc::Code, code);
    return RecFindByFirstKey(LocationVc::Number, loc);
}

// Gives a record of reg that asks for a number the next free one of its
// series on date (wanted: the preferred start, below 1 for none); false
// when the number it has, or got, lies in no valid series row.
bool NumberRecord(int reg, uint8_t *record, uint32_t serialAt, const DateRec *date, int32_t wanted) {
    if (NeedsNumber(GetU32(record, serialAt))) {
        int32_t number = NextSerialNumber(reg, date, wanted, 0);
        PutU32(record, serialAt, number == NoFreeNumber ? SerialNone : (uint32_t)number);
    }
    uint32_t serial = GetU32(record, serialAt);
    return !NeedsNumber(serial) && SerialNumberValid(reg, (int32_t)serial, date);
}

// Checks delivery row i: quantities, item, stock and serial number.
int CheckDeliveryRow(const uint8_t *delivery, const uint8_t *row, int32_t i, bool postNow, bool refuseBeyond,
                     uint8_t *item, uint8_t *stock) {
    const uint16_t at = (uint16_t)i;
    PackedDecimal deliver = GetDec(row, SHVc::Rows::ToDeliver), left = GetDec(row, SHVc::Rows::QtyLeft);
    if (DecCompare(&deliver, &left) > 0)
        return FieldErrorAt(Texts::DeliverAboveRemaining, nullptr, SHVc::Matrix, at, SHVc::Rows::ToDeliver);
    uint8_t code[256], location[256], serial[256];
    GetText(row, SHVc::Rows::ItemCode, code);
    if (code[0] == 0) return 0;
    if (!ReadItem(code, item)) return FieldErrorAt(Texts::ItemMissing, nullptr, SHVc::Matrix, at, SHVc::Rows::ItemCode);
    GetText(delivery, SHVc::Location, location);
    if (postNow && refuseBeyond && GetU16(item, INVc::Stocked) != 0) {
        Register6Lookup(code, location, stock);
        PackedDecimal inStock = GetDec(stock, LocationStock::InStock);
        if (DecCompare(&inStock, &deliver) < 0)
            return FieldErrorAt(Texts::StockInsufficient, nullptr, SHVc::Matrix, at, SHVc::Rows::ToDeliver);
    }
    uint16_t serialMode = GetU16(item, INVc::SerialMode);
    if (serialMode == 0 || DecSign(&deliver) <= 0) return 0;
    GetText(row, SHVc::Rows::SerialNr, serial);
    if (serial[0] == 0) return FieldErrorAt(Texts::SerialRequired, nullptr, SHVc::Matrix, at, SHVc::Rows::SerialNr);
    uint8_t own[256];
    GetText(row, SHVc::Rows::Location, own);
    if (!SerialQtyAtLocation(code, serial, own[0] != 0 ? own : location, &deliver))
        return FieldErrorAt(Texts::SerialNotInStock, nullptr, SHVc::Matrix, at, SHVc::Rows::SerialNr);
    if (serialMode == 1 && DecCompareDouble(&deliver, 1.0) > 0)
        return FieldErrorAt(Texts::SerialQtyOne, nullptr, SHVc::Matrix, at, SHVc::Rows::ToDeliver);
    return 0;
}

// The checks of a delivery in their order; the caller restores the serial.
int ShipmentChecks(uint8_t *record, const uint8_t *stored, int mode) {
    uint16_t posted = GetU16(record, SHVc::Shipped);
    bool postNow = posted == 1 && (mode == 1 || GetU16(stored, SHVc::Shipped) == 0);
    DateRec date = GetDate(record, SHVc::ShipDate);
    uint32_t serial = GetU32(record, SHVc::SerNr);
    // A record still without a number has no key to test yet: the number
    // drawn below is tested instead.
    if (!NeedsNumber(serial) && (mode == 1 || GetU32(stored, SHVc::SerNr) != serial)) {
        if (RecExists(SHVc::Number, record)) return FieldError(Texts::RecordKeyExists, nullptr, SHVc::SerNr);
        if (!SerialNumberValid(SHVc::Number, (int32_t)serial, &date))
            return FieldError(Texts::NumberOutsideSeries, nullptr, SHVc::SerNr);
    }
    uint8_t location[256];
    RuleRecord loc(LocationVc::Number), item(INVc::Number), stock(LocationStock::Number);
    if (!loc.record || !item.record || !stock.record) return FieldError(Texts::RecordNotStored, nullptr, SHVc::SerNr);
    GetText(record, SHVc::Location, location);
    if (location[0] != 0 && !ReadLocation(location, loc.record))
        return FieldError(Texts::CodeUnknown, nullptr, SHVc::Location);

    bool refuseBeyond = false;
    if (const uint8_t *block = SettingsRecord(MainStockBlk::Number, MainStockBlock))
        refuseBeyond = GetU16(block, MainStockBlk::RefuseBeyondStock) != 0;
    uint8_t row[SHVc::Rows::Size];
    int32_t count = MatrixRowCount(SHVc::Number, 0, record);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(SHVc::Number, record, i, row))
            return FieldErrorAt(Texts::ItemMissing, nullptr, SHVc::Matrix, (uint16_t)i, SHVc::Rows::ItemCode);
        if (int r = CheckDeliveryRow(record, row, i, postNow, refuseBeyond, item.record, stock.record)) return r;
    }

    int32_t wanted = SeriesHint(SU::SeriesA + 4, SeriesDefaultsBlk::DeliveryHint);
    if (!NumberRecord(SHVc::Number, record, SHVc::SerNr, &date, wanted))
        return FieldError(Texts::NumberOutsideSeries, nullptr, SHVc::SerNr);
    if (!PendingVoucher) return FieldError(Texts::VoucherNotBuilt, nullptr, SHVc::SerNr);
    PendingVoucherClear();
    if (!postNow) return 0;
    if (!BuildShipmentVoucher(record, false)) return FieldError(Texts::VoucherNotBuilt, nullptr, SHVc::SerNr);
    return PendingVoucherStorable(SHVc::SerNr, SHVc::ShipDate);
}

// The checks of a stock movement in their order.
int StockMovementChecks(uint8_t *record, const uint8_t *stored, int mode) {
    DateRec date = GetDate(record, StockMoveVc::MoveDate);
    if (!NumberRecord(StockMoveVc::Number, record, StockMoveVc::SerNr, &date, -1))
        return FieldError(Texts::NumberOutsideSeries, nullptr, StockMoveVc::SerNr);
    RuleRecord from(LocationVc::Number), to(LocationVc::Number), item(INVc::Number);
    if (!from.record || !to.record || !item.record)
        return FieldError(Texts::RecordNotStored, nullptr, StockMoveVc::SerNr);
    uint8_t fromCode[256], code[256], serial[256];
    GetText(record, StockMoveVc::FromLocation, fromCode);
    if (!ReadLocation(fromCode, from.record)) return FieldError(Texts::CodeUnknown, nullptr, StockMoveVc::FromLocation);
    GetText(record, StockMoveVc::ToLocation, code);
    if (!ReadLocation(code, to.record)) return FieldError(Texts::CodeUnknown, nullptr, StockMoveVc::ToLocation);

    uint8_t row[StockMoveVc::Rows::Size];
    int32_t count = MatrixRowCount(StockMoveVc::Number, 0, record);
    for (int32_t i = 0; i < count; i++) {
        const uint16_t at = (uint16_t)i;
        if (!MatrixRowRead(StockMoveVc::Number, record, i, row))
            return FieldErrorAt(Texts::ItemMissing, nullptr, StockMoveVc::Matrix, at, StockMoveVc::Rows::ItemCode);
        GetText(row, StockMoveVc::Rows::ItemCode, code);
        if (code[0] == 0) continue;
        if (!ReadItem(code, item.record))
            return FieldErrorAt(Texts::ItemMissing, nullptr, StockMoveVc::Matrix, at, StockMoveVc::Rows::ItemCode);
        PackedDecimal qty = GetDec(row, StockMoveVc::Rows::Quantity);
        if (DecSign(&qty) < 0)
            return FieldErrorAt(Texts::QtyNegative, nullptr, StockMoveVc::Matrix, at, StockMoveVc::Rows::Quantity);
        if (GetU16(item.record, INVc::SerialMode) == 0) continue;
        GetText(row, StockMoveVc::Rows::SerialNr, serial);
        if (serial[0] == 0)
            return FieldErrorAt(Texts::SerialRequired, nullptr, StockMoveVc::Matrix, at, StockMoveVc::Rows::SerialNr);
        if (!SerialQtyAtLocation(code, serial, fromCode, &qty))
            return FieldErrorAt(Texts::SerialNotInStock, nullptr, StockMoveVc::Matrix, at, StockMoveVc::Rows::SerialNr);
    }

    if (!PendingVoucher) return FieldError(Texts::VoucherNotBuilt, nullptr, StockMoveVc::SerNr);
    PendingVoucherClear();
    bool postNow = GetU16(record, StockMoveVc::Done) == 1 && (mode == 1 || GetU16(stored, StockMoveVc::Done) == 0);
    if (!postNow) return 0;
    if (!BuildStockMovementVoucher(record, from.record, to.record))
        return FieldError(Texts::VoucherNotBuilt, nullptr, StockMoveVc::SerNr);
    return PendingVoucherStorable(StockMoveVc::SerNr, StockMoveVc::MoveDate);
}

// The checks of a purchase order in their order; the caller restores the
// serial.
int PurchaseOrderChecks(uint8_t *record) {
    DateRec date = GetDate(record, PurchOrderVc::PODate);
    if (!NumberRecord(PurchOrderVc::Number, record, PurchOrderVc::SerNr, &date, -1))
        return FieldError(Texts::NumberOutsideSeries, nullptr, PurchOrderVc::SerNr);
    RuleRecord item(INVc::Number);
    if (!item.record) return FieldError(Texts::RecordNotStored, nullptr, PurchOrderVc::SerNr);
    uint8_t row[PurchOrderVc::Rows::Size], code[256];
    int32_t count = MatrixRowCount(PurchOrderVc::Number, 0, record);
    for (int32_t i = 0; i < count; i++) {
        const uint16_t at = (uint16_t)i;
        if (!MatrixRowRead(PurchOrderVc::Number, record, i, row))
            return FieldErrorAt(Texts::CodeUnknown, nullptr, PurchOrderVc::Matrix, at, PurchOrderVc::Rows::ItemCode);
        GetText(row, PurchOrderVc::Rows::ItemCode, code);
        if (DocRowKind(GetU16(row, PurchOrderVc::Rows::Kind)) == DocRowKind::Item && code[0] != 0) {
            if (!ReadItem(code, item.record))
                return FieldErrorAt(Texts::CodeUnknown, nullptr, PurchOrderVc::Matrix, at, PurchOrderVc::Rows::ItemCode);
            if (GetU16(item.record, INVc::StructFlag) == 1)
                return FieldErrorAt(Texts::ItemNotPurchased, nullptr, PurchOrderVc::Matrix, at,
                                    PurchOrderVc::Rows::ItemCode);
        }
        if (PurchaseOrderRowVatDefault(record, row) && !MatrixRowPut(PurchOrderVc::Number, 0, record, i, row))
            return FieldError(Texts::RecordNotStored, nullptr, PurchOrderVc::SerNr);
        PackedDecimal sum = GetDec(row, PurchOrderVc::Rows::Sum);
        GetText(row, PurchOrderVc::Rows::VatCode, code);
        if (code[0] == 0 && !DecIsZero(&sum)) {
            uint8_t number[16];
            LongToDigitText(i + 1, number);
            return FieldErrorAt(Texts::RowVatCodeMissing, number, PurchOrderVc::Matrix, at,
                                PurchOrderVc::Rows::VatCode);
        }
    }
    // The rows may have taken their items' VAT codes: the totals follow.
    PurchaseOrderTotals(record);
    return 0;
}

// The checks of a production in their order; the caller restores the
// serial.
int ProductionChecks(uint8_t *record) {
    DateRec date = GetDate(record, ProductionVc::ProdDate);
    if (!NumberRecord(ProductionVc::Number, record, ProductionVc::SerNr, &date, -1))
        return FieldError(Texts::NumberOutsideSeries, nullptr, ProductionVc::SerNr);
    RuleRecord item(INVc::Number);
    if (!item.record) return FieldError(Texts::RecordNotStored, nullptr, ProductionVc::SerNr);
    bool finished = GetU16(record, ProductionVc::Finished) == 1;
    uint8_t row[ProductionVc::Rows::Size], code[256], serial[256], location[256];
    GetText(record, ProductionVc::Location, location);
    int32_t count = MatrixRowCount(ProductionVc::Number, 0, record);
    for (int32_t i = 0; i < count; i++) {
        const uint16_t at = (uint16_t)i;
        if (!MatrixRowRead(ProductionVc::Number, record, i, row))
            return FieldErrorAt(Texts::CodeUnknown, nullptr, ProductionVc::Matrix, at, ProductionVc::Rows::ItemCode);
        GetText(row, ProductionVc::Rows::ItemCode, code);
        if (code[0] == 0) continue;
        if (!ReadItem(code, item.record))
            return FieldErrorAt(Texts::CodeUnknown, nullptr, ProductionVc::Matrix, at, ProductionVc::Rows::ItemCode);
        uint16_t serialMode = GetU16(item.record, INVc::SerialMode);
        if (!finished || serialMode == 0) continue;
        GetText(row, ProductionVc::Rows::SerialNr, serial);
        if (serial[0] == 0)
            return FieldErrorAt(Texts::SerialRequired, nullptr, ProductionVc::Matrix, at, ProductionVc::Rows::SerialNr);
        // A zero quantity moves nothing, so it is tested like a blank one:
        // a row that only uses a serial number is not refused for having it.
        PackedDecimal used = GetDec(row, ProductionVc::Rows::QtyUsed), made = GetDec(row, ProductionVc::Rows::QtyMade);
        if (!DecIsZero(&used) && !SerialQtyAtLocation(code, serial, location, &used))
            return FieldErrorAt(Texts::SerialNotInStock, nullptr, ProductionVc::Matrix, at, ProductionVc::Rows::SerialNr);
        if (serialMode == 1 && !DecIsZero(&made) && SerialQtyTotal(code, serial, &made))
            return FieldErrorAt(Texts::SerialInStock, nullptr, ProductionVc::Matrix, at, ProductionVc::Rows::SerialNr);
    }
    return 0;
}

}  // namespace

// Checks a delivery (register 8) before it is stored: key and series,
// location, each row, a number drawn when it has none, and the stock
// voucher of a delivery that posts now. 0, or -1 with the position in
// FieldErrorPos; a refused delivery gets back its serial number and
// leaves no pending voucher.
int ValidateShipment(uint8_t *record, uint8_t *stored, int mode) {
    assert(record);
    if (!stored) stored = record;
    uint32_t entry = GetU32(record, SHVc::SerNr);
    int r = ShipmentChecks(record, stored, mode);
    if (r != 0) PutU32(record, SHVc::SerNr, entry);
    return r;
}

// Checks a stock movement (register 92): number, both locations, each
// row, and the voucher of a movement that is done now. A refused movement
// keeps the number it drew.
int ValidateStockMovement(uint8_t *record, uint8_t *stored, int mode) {
    assert(record);
    if (!stored) stored = record;
    return StockMovementChecks(record, stored, mode);
}

// Checks a purchase order (register 58): number and its item rows. A
// refused order gets back its serial number.
int ValidatePurchaseOrder(uint8_t *record, uint8_t *stored, int mode) {
    assert(record);
    (void)stored, (void)mode;
    uint32_t entry = GetU32(record, PurchOrderVc::SerNr);
    int r = PurchaseOrderChecks(record);
    if (r != 0) PutU32(record, PurchOrderVc::SerNr, entry);
    return r;
}

// Checks a production (register 77): number, its rows' items and, when it
// is finished, the serial numbers of serial-tracked items. A refused
// production gets back its serial number.
int ValidateProduction(uint8_t *record, uint8_t *stored, int mode) {
    assert(record);
    (void)stored, (void)mode;
    uint32_t entry = GetU32(record, ProductionVc::SerNr);
    int r = ProductionChecks(record);
    if (r != 0) PutU32(record, ProductionVc::SerNr, entry);
    return r;
}

// Checks a register-56 record: its order threshold may not exceed its
// minimum order quantity.
int ValidatePi1(uint8_t *record) {
    assert(record);
    PackedDecimal minQty = GetDec(record, PurchItemVc::MinQty), threshold = GetDec(record, PurchItemVc::Threshold);
    if (DecCompare(&threshold, &minQty) > 0)
        return FieldError(Texts::ThresholdAboveMinQty, nullptr, PurchItemVc::Threshold);
    return 0;
}
