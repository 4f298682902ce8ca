// voucher_import.cpp - the import of vouchers ("trans3", "transfix",
// "BFO") and of vouchers as drafts (register 9).
//
// Each section reader reads its lines, stores what it read and leaves the
// reader holding the next section's tag. The vouchers are stored by
// StoreVoucher: a voucher in no fiscal year or with a key that exists is
// not stored; accounts the rows name are created, unknown VAT codes
// emptied.
#include <algorithm>
#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/work_blocks.h"
#include "core/memblock.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "exchange/text_exchange.h"
#include "rules/checks.h"
#include "rules/ledger.h"
#include "exchange/ledger_text.h"
#include "rules/series_terms.h"

uint32_t ImportHoldVouchers = 5;
bool ImportSeriesTest = false;

namespace {

namespace R = TransRow;

// Stores an imported voucher: as a draft when the series test asks for it
// and the voucher's number lies in a draft series only, else as a voucher.
// One dated in the ledger's lock is left out and counted.
bool StoreImportedVoucher(uint8_t *voucher)
{
    if (VoucherInLock(voucher)) return false;
    CreateMissingAccounts(voucher);
    ClearUnknownVatCodes(voucher);
    if (ImportSeriesTest && ImportVoucherToSm1(voucher) && GetU16(voucher, Voucher::YearCode) < YearCodeFixedFirst)
        return StoreImportedSm1(voucher);
    return StoreVoucher(voucher);
}

// Reads the vouchers of a section in a layout version and stores each;
// the hold is renewed before every ImportHoldVouchers-th voucher.
void ImportVoucherSection(int version)
{
    RuleRecord v(Voucher::Number);
    if (!v.record) {
        ImportAbortFlag = 1;
        return;
    }
    uint32_t counter = 0;
    while (ImportNextLineHasData()) {
        if (++counter >= ImportHoldVouchers) {
            counter = 0;
            if (!ImportRenewHold()) break;
        }
        RecClear(Voucher::Number, v.record);
        if (!ReadVoucherText(v.record, version)) break;
        ImportResult.read++;
        ImportShowProgress(v.record + Voucher::SerNr, FtLongOrEmpty);
        if (StoreImportedVoucher(v.record)) ImportResult.stored++;
    }
    ImportNextTag();
    ImportTagHeld();
}

// True when reg has a number series row holding number on date (a
// register without series rows holds none).
bool InSeriesOf(int reg, uint32_t number, const DateRec *date)
{
    int block = SeriesBlockOfRegister(reg);
    if (block == 0) return false;
    MemBlock rows = 0;
    bool fetched = SettingsBlockFetch(&rows, block);
    bool any = fetched && rows && MemSize(rows) > 0;
    if (rows) MemFree(&rows);
    return any && SerialNumberValid(reg, int32_t(number), date);
}

// Reads one "BFO" row line into a zeroed account row: account, amount, a
// skipped field, three object codes joined by ",", a skipped field, text.
// An object code over five characters goes into *tooLong. False: damaged.
bool ReadBfoRow(uint8_t *row, uint8_t *tooLong)
{
    PutU16(row, R::Kind, RowAccount);
    if (!ImportReadField(row + R::Account, FtCodeNoSep, 10)) return false;
    if (!ImportReadField(row + R::Amount, FtAmount2, 0)) return false;
    if (!ImportReadField(nullptr, FtText, 255)) return false;
    uint8_t objects[256] = {0};
    for (int i = 0; i < 3; i++) {
        uint8_t code[256];
        if (!ImportReadField(code, FtText, 255)) return false;
        if (code[0] == 0) continue;
        if (code[0] > ObjectCodeMax && tooLong[0] == 0) PStringCopy(tooLong, code);
        if (objects[0]) PStringAppendChar(objects, ',');
        PStringAppend(objects, code);
    }
    if (objects[0] > ObjectListMax) objects[0] = ObjectListMax;
    if (!FieldFromText(row + R::Objects, FtCode, ObjectListMax, objects)) {
        ImportDamage(ImportColumnNumber());
        return false;
    }
    if (!ImportReadField(nullptr, FtText, 255)) return false;
    return ImportReadField(row + R::Text, FtText, 60);
}

}  // namespace

// Reads a "trans3" section.
void ImportVouchersText()
{
    ImportVoucherSection(3);
}

// Reads a "transfix" section: vouchers whose account rows end after their
// flag.
void ImportOldVouchersText()
{
    ImportVoucherSection(VoucherTextOld);
}

// Reads a "BFO" section as one voucher of today, numbered by its series
// (left out when today lies in the ledger's lock): its text is the field
// after the tag, each following line an account row. An object code over
// five characters is not cut to fit: the voucher is not stored and the
// result names the code.
void ImportBfoText()
{
    RuleRecord v(Voucher::Number);
    if (!v.record) {
        ImportAbortFlag = 1;
        return;
    }
    if (!ImportReadField(v.record + Voucher::Text, FtText, 60)) return;
    PutDate(v.record, Voucher::RegDate, TodayDate);
    PutDate(v.record, Voucher::TransDate, TodayDate);
    uint8_t text2[8];
    PStringFromC(text2, "BFO");
    PutText(v.record, Voucher::Text2, text2);
    uint8_t tooLong[256] = {0};
    uint8_t row[R::Size];
    for (int32_t count = 0; ImportNextLineHasData(); count++) {
        std::memset(row, 0, sizeof row);
        if (!ReadBfoRow(row, tooLong)) return;
        if (!MatrixRowPut(Voucher::Number, 0, v.record, count, row)) {
            ImportDamage(1);
            return;
        }
    }
    ImportNextTag();
    ImportTagHeld();
    if (tooLong[0]) {
        size_t n = std::min<size_t>(tooLong[0], sizeof ImportResult.longBfoObject - 1);
        std::memcpy(ImportResult.longBfoObject, tooLong, n + 1);
        ImportResult.longBfoObject[0] = uint8_t(n);
        return;
    }
    int32_t number = NextSerialNumber(Voucher::Number, &TodayDate, 0, 0);
    if (number == NoFreeNumber) {
        ShowTextMessage(Texts::ImportVoucherSeriesFull);
        return;
    }
    PutU32(v.record, Voucher::SerNr, uint32_t(number));
    ImportResult.read++;
    if (VoucherInLock(v.record)) return;
    CreateMissingAccounts(v.record);
    if (StoreVoucher(v.record)) ImportResult.stored++;
}

// Stores a voucher as a draft (register 9): its number, its transaction
// date, its texts and one row per account row; its totals made and posted
// to the balances. False when a draft of the number exists or a store
// failed (the hold is failed then).
bool StoreImportedSm1(const uint8_t *voucher)
{
    assert(voucher);
    RuleRecord sm1(SMVc::Number);
    if (!sm1.record) return false;
    uint8_t text[256];
    PutU32(sm1.record, SMVc::SerNr, GetU32(voucher, Voucher::SerNr));
    if (RecExists(SMVc::Number, sm1.record)) return false;
    PutDate(sm1.record, SMVc::Date, GetDate(voucher, Voucher::TransDate));
    GetText(voucher, Voucher::Text, text);
    PutText(sm1.record, SMVc::Text, text);
    GetText(voucher, Voucher::Text2, text);
    PutText(sm1.record, SMVc::Text2, text);
    GetText(voucher, Voucher::Code, text);
    PutText(sm1.record, SMVc::Code, text);
    PutU16(sm1.record, SMVc::Reg18Done, 0);
    uint8_t row[R::Size], draftRow[SMVc::Rows::Size];
    int32_t count = MatrixRowCount(Voucher::Number, 0, voucher), put = 0;
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowGet(Voucher::Number, 0, voucher, i, row) || GetU16(row, R::Kind) != RowAccount) continue;
        std::memset(draftRow, 0, sizeof draftRow);
        GetText(row, R::Account, text);
        PutText(draftRow, SMVc::Rows::Account, text);
        GetText(row, R::Objects, text);
        PutText(draftRow, SMVc::Rows::Objects, text);
        GetText(row, R::Text, text);
        if (text[0] > 20) text[0] = 20;
        PutText(draftRow, SMVc::Rows::Text, text);
        std::memcpy(draftRow + SMVc::Rows::Amount, row + R::Amount, 12);
        if (!MatrixRowPut(SMVc::Number, 0, sm1.record, put++, draftRow)) return false;
    }
    AccountRowsBalance(sm1.record);
    uint32_t recid = 0;
    if (!PostAccountRows(sm1.record, false) || !RecStoreByKey(SMVc::Number, sm1.record, 0, &recid)) {
        DbHoldFail();
        return false;
    }
    return true;
}

// True when the voucher's number lies in no voucher series valid on its
// transaction date but in a draft series: it belongs to register 9.
bool ImportVoucherToSm1(const uint8_t *voucher)
{
    assert(voucher);
    uint32_t number = GetU32(voucher, Voucher::SerNr);
    DateRec date = GetDate(voucher, Voucher::TransDate);
    return !InSeriesOf(Voucher::Number, number, &date) && InSeriesOf(SMVc::Number, number, &date);
}
