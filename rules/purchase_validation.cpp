// purchase_validation.cpp - the check of purchases (goods received,
// register 4) and the stock voucher a received purchase makes.
//
// The voucher is built into PendingVoucher during the check and stored by
// the purchase's before-hook in the same hold, so the check refuses a
// purchase whose voucher could not be built or would not be stored: a
// purchase in stock without its voucher is what must never be saved.
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "operations/operations.h"
#include "rules/accounts.h"
#include "rules/checks.h"
#include "rules/ledger.h"
#include "rules/series_terms.h"

namespace {

// The purchase's location: an empty one becomes the main location of
// block 203. Reads the location into loc and gives true when it exists;
// *none is set when neither names a location.
bool ReadLocation(uint8_t *purchase, uint8_t *loc, bool *none) {
    uint8_t code[256];
    GetText(purchase, PUVc::Location, code);
    if (code[0] == 0) {
        if (const uint8_t *block = SettingsRecord(MainStockBlk::Number, MainStockBlock))
            GetText(block, MainStockBlk::MainLocation, code);
        PutText(purchase, PUVc::Location, code);
    }
    *none = code[0] == 0;
    if (*none || !loc) return false;
    PutText(loc, LocationVc::Code, code);
    return RecFindByFirstKey(LocationVc::Number, loc);
}

// Checks row `row` of a purchase: an item that exists and may be bought,
// a quantity, and the serial number a serial-tracked item needs.
int CheckPurchaseRow(const uint8_t *row, int32_t i, uint8_t *item) {
    const uint16_t at = (uint16_t)i;
    uint8_t code[256], serial[256];
    GetText(row, PUVc::Rows::ItemCode, code);
    if (code[0] == 0) return FieldErrorAt(Texts::ItemCodeMissing, nullptr, PUVc::Matrix, at, PUVc::Rows::ItemCode);
    std::memset(item, 0, INVc::Size);
    PutText(item, INVc::Code, code);
    uint32_t recid = 0, position = 0;
    if (!RecFind(INVc::Number, item, 1, 1, &recid, &position))
        return FieldErrorAt(Texts::CodeUnknown, nullptr, PUVc::Matrix, at, PUVc::Rows::ItemCode);
    PackedDecimal qty = GetDec(row, PUVc::Rows::Quantity);
    if (DecIsBlank(&qty)) return FieldErrorAt(Texts::CodeMissing, nullptr, PUVc::Matrix, at, PUVc::Rows::Quantity);
    if (GetU16(item, INVc::StructFlag) == 1)
        return FieldErrorAt(Texts::ItemNotPurchased, nullptr, PUVc::Matrix, at, PUVc::Rows::ItemCode);
    uint16_t serialMode = GetU16(item, INVc::SerialMode);
    if (serialMode == 0) return 0;
    GetText(row, PUVc::Rows::SerialNr, serial);
    if (serial[0] == 0) return FieldErrorAt(Texts::SerialRequired, nullptr, PUVc::Matrix, at, PUVc::Rows::SerialNr);
    if (serialMode == 1) {
        if (SerialQtyTotal(code, serial, &qty))
            return FieldErrorAt(Texts::SerialInStock, nullptr, PUVc::Matrix, at, PUVc::Rows::SerialNr);
        if (DecCompareDouble(&qty, 1.0) > 0)
            return FieldErrorAt(Texts::SerialQtyOne, nullptr, PUVc::Matrix, at, PUVc::Rows::Quantity);
    }
    return 0;
}

// The checks of a purchase in their order; the caller restores the serial.
int PurchaseChecks(uint8_t *record, const uint8_t *stored, int mode) {
    DateRec date = GetDate(record, PUVc::TransDate);
    if (NeedsNumber(GetU32(record, PUVc::SerNr))) {
        int32_t number = NextSerialNumber(PUVc::Number, &date, SeriesHint(SuPurchaseHint, SeriesDefaultsBlk::PurchHint), 0);
        PutU32(record, PUVc::SerNr, number == NoFreeNumber ? SerialNone : (uint32_t)number);
    }
    uint32_t serial = GetU32(record, PUVc::SerNr);
    if (mode == 1 || GetU32(stored, PUVc::SerNr) != serial) {
        if (RecExists(PUVc::Number, record)) return FieldError(Texts::RecordKeyExists, nullptr, PUVc::SerNr);
        if (NeedsNumber(serial) || !SerialNumberValid(PUVc::Number, (int32_t)serial, &date))
            return FieldError(Texts::NumberOutsideSeries, nullptr, PUVc::SerNr);
    }

    // A vendor named must exist: an unknown code would leave the receipt
    // with no vendor to find it by, nor to buy from again.
    uint8_t vendor[256];
    GetText(record, PUVc::VendCode, vendor);
    if (vendor[0] != 0) {
        RuleRecord v(VEVc::Number);
        if (!v.record) return FieldError(Texts::RecordNotStored, nullptr, PUVc::SerNr);
        PutText(v.record, VEVc::Code, vendor);
        uint32_t recid = 0, position = 0;
        if (!RecFind(VEVc::Number, v.record, 1, 1, &recid, &position))
            return FieldError(Texts::GoodsReceiptVendorUnknown, vendor, PUVc::VendCode);
    }

    RuleRecord loc(LocationVc::Number);
    bool noLocation = false;
    bool found = ReadLocation(record, loc.record, &noLocation);
    if (!found && !noLocation) return FieldError(Texts::CodeUnknown, nullptr, PUVc::Location);

    RuleRecord item(INVc::Number);
    if (!item.record) return FieldError(Texts::RecordNotStored, nullptr, PUVc::SerNr);
    uint8_t row[PUVc::Rows::Size];
    int32_t count = MatrixRowCount(PUVc::Number, 0, record);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(PUVc::Number, record, i, row))
            return FieldErrorAt(Texts::ItemCodeMissing, nullptr, PUVc::Matrix, (uint16_t)i, PUVc::Rows::ItemCode);
        if (int r = CheckPurchaseRow(row, i, item.record)) return r;
    }

    if (!PendingVoucher) return FieldError(Texts::VoucherNotBuilt, nullptr, PUVc::SerNr);
    PendingVoucherClear();
    bool received = GetU16(record, PUVc::Received) != 0;
    if (!received || (mode == 2 && GetU16(stored, PUVc::Received) != 0)) return 0;
    uint8_t why[256] = {0};
    if (!BuildPurchaseVoucher(record, found ? loc.record : nullptr, false, why)) {
        PendingVoucherClear();
        if (why[0] != 0) return FieldError(Texts::VoucherNotBuiltBecause, why, PUVc::SerNr);
        return FieldError(Texts::VoucherNotBuilt, nullptr, PUVc::SerNr);
    }
    return PendingVoucherStorable(PUVc::SerNr, PUVc::TransDate);
}

// Why a purchase's voucher was not built: the account a user must give,
// each told with where it is set.
constexpr int TextNoStockAccount = 19410, TextNoClearingAccount = 19411, TextNoRoundingAccount = 19412,
              TextAccountNamed = 19413;

// Fails a voucher build for want of an account: why (when given) gets
// the text and, when the settings name an account the chart lacks, that
// account.
bool AccountMissing(uint8_t *why, int text, const uint8_t *account) {
    PendingVoucherClear();
    if (!why) return false;
    GetUiText(why, text);
    if (account[0] != 0) {
        uint8_t named[256];
        GetUiText(named, TextAccountNamed);
        PStringAppend(why, named);
        PStringAppend(why, account);
    }
    return false;
}

// Appends text to the PString out with a separator before it.
// Appends text to out, after separator when out already holds something;
// an empty text adds nothing, so no part leaves a stray separator.
void AppendWith(uint8_t *out, const char *separator, const uint8_t *text) {
    if (text[0] == 0) return;
    if (out[0] != 0) PStringAppendC(out, separator);
    PStringAppend(out, text);
}

}  // namespace

// Checks a purchase before it is stored: number and key, location, each
// row, and the stock voucher of a purchase that enters stock now. 0, or
// -1 with the position in FieldErrorPos; a refused purchase gets back its
// serial number and leaves no pending voucher.
int ValidatePurchase(uint8_t *record, uint8_t *stored, int mode) {
    assert(record);
    if (!stored) stored = record;
    uint32_t entry = GetU32(record, PUVc::SerNr);
    int r = PurchaseChecks(record, stored, mode);
    if (r != 0) PutU32(record, PUVc::SerNr, entry);
    return r;
}

// Builds into PendingVoucher the voucher of a purchase received at
// location (null: none): each row's cost debited to the stock account,
// their sum credited to the purchase clearing account. Unless always is
// set, block 199 decides whether purchases make vouchers at all and from
// which date. The voucher's text joins the vendor's code and name, the
// currency with its rate and the receipt's own text, each only when
// given. true when built or not wanted; false (nothing pending) when an
// account it needs is missing.
bool BuildPurchaseVoucher(const uint8_t *purchase, const uint8_t *location, bool always, uint8_t *why) {
    assert(purchase);
    if (why) why[0] = 0;
    if (!PendingVoucher) return false;
    PendingVoucherClear();
    DateRec date = GetDate(purchase, PUVc::TransDate);
    if (!always && !VoucherDueOn(PostingBlk::PurchVouchers, PostingBlk::PurchVoucherStart, date)) return true;
    const uint8_t *accounts = SettingsRecord(SalesAccountsBlk::Number, SalesAccountsBlock);
    if (!accounts) return AccountMissing(why, TextNoStockAccount, EmptyPString);

    uint8_t stock[256], clearing[256], rounding[256], text[256];
    uint8_t stockName[62], clearingName[62], roundingName[62];
    GetText(accounts, SalesAccountsBlk::StockAcc, stock);
    if (location) {
        uint8_t own[256];
        GetText(location, LocationVc::StockAcc, own);
        if (own[0] != 0) PStringCopy(stock, own);
    }
    GetText(accounts, SalesAccountsBlk::PurchClearingAcc, clearing);
    GetText(accounts, SalesAccountsBlk::RoundingAcc, rounding);
    if (!AccountNameOf(stock, stockName, 60)) return AccountMissing(why, TextNoStockAccount, stock);
    if (!AccountNameOf(clearing, clearingName, 60)) return AccountMissing(why, TextNoClearingAccount, clearing);
    if (!AccountNameOf(rounding, roundingName, 60)) return AccountMissing(why, TextNoRoundingAccount, rounding);

    PendingVoucherHead(YearCodePurchase, GetU32(purchase, PUVc::SerNr), date, false);
    uint8_t part[256];
    GetText(purchase, PUVc::VendCode, text);
    GetText(purchase, PUVc::VendName, part);
    AppendWith(text, " ", part);
    GetText(purchase, PUVc::Currency, part);
    if (part[0] != 0) {
        uint8_t rateText[256];
        PackedDecimal rate = GetDec(purchase, PUVc::Rate);
        DecFormat(&rate, 3, rateText);
        AppendWith(part, " ", rateText);
        AppendWith(text, ", ", part);
    }
    // The receipt's own text ("Opening stock") says what the voucher is
    // for when no vendor does.
    GetText(purchase, PUVc::Text, part);
    AppendWith(text, ", ", part);
    PutText(PendingVoucher, Voucher::Text, text);

    RuleRecord item(INVc::Number);
    if (!item.record) {
        PendingVoucherClear();
        return false;
    }
    PackedDecimal total, ignored;
    DecSetZero(&total);
    DecSetZero(&ignored);
    uint8_t row[PUVc::Rows::Size], objects[256];
    const uint8_t empty[1] = {0};
    int32_t count = MatrixRowCount(PUVc::Number, 0, purchase);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(PUVc::Number, purchase, i, row)) break;
        PackedDecimal qty = GetDec(row, PUVc::Rows::Quantity), unit = GetDec(row, PUVc::Rows::UnitCost), cost;
        DecMul(&qty, &unit, &cost);
        std::memset(item.record, 0, INVc::Size);
        GetText(row, PUVc::Rows::ItemCode, part);
        PutText(item.record, INVc::Code, part);
        uint32_t recid = 0, position = 0;
        objects[0] = 0;
        if (RecFind(INVc::Number, item.record, 1, 1, &recid, &position))
            GetText(item.record, INVc::Objects, objects);
        AddVoucherRow(PendingVoucher, stock, objects, empty, stockName, &cost, 0, true, &ignored);
        DecAdd(&total, &cost, &total);
    }
    AddVoucherRow(PendingVoucher, clearing, empty, empty, clearingName, &total, 0, false, &ignored);
    return true;
}
