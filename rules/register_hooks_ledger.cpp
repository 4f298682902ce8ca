// register_hooks_ledger.cpp - the register entries of the ledger's own
// records: vouchers (11), sm1 (9), fb1 (51) and sp1 (126).
//
// Every save of one of them keeps the balances (register 17) and the
// account postings (register 18) in step: an insert posts the rows and
// copies them to register 18, an update takes the stored rows out before
// the write and posts the new ones after it, a delete takes the rows out.
// A posting that could not be stored makes its hook give 0, which fails
// the write and the outermost hold, so nothing of the save is stored.
//
// A voucher's posted flag (kept from the stored record on every update)
// says whether its rows are in the balances; only then are they taken out.
#include "rules/register_hooks_entries.h"

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "rules/entry_state.h"
#include "rules/hooks.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"

namespace {

// ---- Numbers and defaults ----

// The next serial number of reg on date, drawn only stand-alone in run
// mode 0 (elsewhere the record gets its number when it is inserted);
// SerialNone otherwise or when no number is free.
uint32_t DefaultSerial(int reg, const DateRec &date, int32_t hint) {
    if (RunMode != 0) return SerialNone;
    int32_t n = NextSerialNumber(reg, &date, hint, 0);
    return n == NoFreeNumber ? SerialNone : (uint32_t)n;
}

// The current session user's voucher series start, or -1 when there is
// no session or the user has none.
int32_t UserVoucherHint() {
    const uint8_t *entry = SessionUserEntry(CurrentSessionIndex);
    if (!entry) return -1;
    uint32_t hint = GetU32(entry, SuVoucherHint);
    return hint == 0 || hint >= SerialAsk ? -1 : (int32_t)hint;
}

// Deletes every voucher row that is not an unflagged account row, from
// the last backwards.
void KeepPlainAccountRows(uint8_t *voucher) {
    uint8_t row[TransRow::Size];
    for (int32_t i = MatrixRowCount(Voucher::Number, 0, voucher) - 1; i >= 0; i--) {
        if (!MatrixRowRead(Voucher::Number, voucher, i, row)) continue;
        if (GetU16(row, TransRow::Kind) == RowAccount && GetU16(row, TransRow::Flag) == 0) continue;
        MatrixRowDelete(Voucher::Number, voucher, i);
    }
}

// ---- Vouchers (11) ----

// A voucher not yet numbered does not exist; otherwise its year code
// comes from its transaction date (unless it is a fixed code) before the
// key (serial, year code) is looked up.
bool VoucherKeyExists(int reg, uint8_t *voucher) {
    if (GetU32(voucher, Voucher::SerNr) == SerialNone) return false;
    if (GetU16(voucher, Voucher::YearCode) < YearCodeFixedFirst) {
        DateRec date = GetDate(voucher, Voucher::TransDate);
        PutU16(voucher, Voucher::YearCode, YearCodeOfDate(&date));
    }
    return RecExistsLocal(reg, voucher);
}

// A new voucher: entered today, booked on the default transaction date
// (today when that date lies in no fiscal year), numbered from the user's
// voucher series.
void VoucherDefaults(int reg, uint8_t *voucher) {
    SetEntryUserCode();
    PutU32(voucher, Voucher::SerNr, SerialNone);
    PutU16(voucher, Voucher::YearCode, 0);
    PutDate(voucher, Voucher::RegDate, TodayDate);
    DateRec trans = DefaultTransDate;
    if (YearCodeOfDate(&trans) == YearCodeNone) trans = TodayDate;
    PutDate(voucher, Voucher::TransDate, trans);
    PutU32(voucher, Voucher::SerNr, DefaultSerial(reg, trans, UserVoucherHint()));
    PutU16(voucher, Voucher::Reg18Done, 0);
    PutU16(voucher, Voucher::Posted, 0);
}

// A copy of a voucher as a new one: a new number, entered today, not
// posted, and only its unflagged account rows.
void VoucherDefaultsOther(int reg, uint8_t *voucher) {
    PutDate(voucher, Voucher::RegDate, TodayDate);
    PutU16(voucher, Voucher::YearCode, 0);
    PutU16(voucher, Voucher::Reg18Done, 0);
    PutU16(voucher, Voucher::Posted, 0);
    PutU32(voucher, Voucher::SerNr, DefaultSerial(reg, GetDate(voucher, Voucher::TransDate), -1));
    KeepPlainAccountRows(voucher);
}

// After a voucher is stored: posts it (kind 31) and copies its rows to
// register 18 (kind 16); its dates become the defaults of the next one.
int VoucherAfterInsert(int reg, uint8_t *voucher, uint32_t recid, int) {
    if (!RunRecordAction(0, 31, reg, recid) || !RunRecordAction(0, 16, reg, recid)) return 0;
    DefaultTransDate = GetDate(voucher, Voucher::TransDate);
    uint8_t *series = SettingsRecord(SeriesDefaultsBlk::Number, SeriesStateBlock);
    if (series) {
        PutDate(series, SeriesDefaultsBlk::LastVoucherDate, GetDate(voucher, Voucher::RegDate));
        PutU32(series, SeriesDefaultsBlk::LastVoucherNr, GetU32(voucher, Voucher::SerNr));
    }
    return 1;
}

// Takes the stored voucher's rows out of the balances when they are in
// them; 0 when the posting could not be stored.
int UnpostVoucher(uint8_t *stored) {
    if (GetU16(stored, Voucher::Posted) == 0) return 1;
    VoucherRowsNegate(stored, 0);
    bool ok = PostTransaction(stored);
    VoucherRowsNegate(stored, 0);
    return ok ? 1 : 0;
}

// Before a voucher is rewritten: the stored rows leave the balances and
// the new record is marked neither posted nor copied, so that the
// after-hook posts and copies it afresh.
int VoucherBeforeUpdate(int, uint8_t *voucher, uint8_t *stored, uint32_t) {
    PutU16(voucher, Voucher::Reg18Done, 0);
    PutU16(voucher, Voucher::Posted, 0);
    return UnpostVoucher(stored);
}

// After a voucher is rewritten: its rows to register 18, then to the balances.
int VoucherAfterUpdate(int reg, uint8_t *, uint8_t *, uint32_t recid) {
    return RunRecordAction(0, 16, reg, recid) && RunRecordAction(0, 31, reg, recid) ? 1 : 0;
}

// An imported voucher with a new key: the accounts it names are created
// and the VAT codes block 208 does not know are cleared.
void VoucherBeforeStore(int reg, uint8_t *voucher) {
    if (RecExistsLocal(reg, voucher)) return;
    CreateMissingAccounts(voucher);
    ClearUnknownVatCodes(voucher);
}

// After an import store: as after an insert; a posting that failed fails
// the hold.
void VoucherAfterStore(int reg, uint8_t *voucher, uint32_t recid) {
    if (VoucherAfterInsert(reg, voucher, recid, 0) == 0) DbHoldFail();
}

// Before a voucher is deleted: its rows leave the balances.
int VoucherBeforeDelete(int, uint8_t *voucher) { return UnpostVoucher(voucher); }

// ---- sm1 (9) ----

void Sm1Defaults(int, uint8_t *sm1) {
    SetEntryUserCode();
    PutU32(sm1, SMVc::SerNr, SerialNone);
    PutDate(sm1, SMVc::Date, DefaultTransDate);
    PutU16(sm1, SMVc::Reg18Done, 0);
}

void Sm1DefaultsOther(int, uint8_t *sm1) {
    PutU32(sm1, SMVc::SerNr, SerialNone);
    PutU16(sm1, SMVc::Reg18Done, 0);
}

int Sm1AfterInsert(int reg, uint8_t *sm1, uint32_t recid, int) {
    return PostAccountRows(sm1, false) && RunRecordAction(0, 28, reg, recid) ? 1 : 0;
}

int Sm1BeforeUpdate(int, uint8_t *sm1, uint8_t *stored, uint32_t) {
    PutU16(sm1, SMVc::Reg18Done, 0);
    return PostAccountRows(stored, true) && PostAccountRows(sm1, false) ? 1 : 0;
}

int Sm1AfterUpdate(int reg, uint8_t *, uint8_t *, uint32_t recid) { return RunRecordAction(0, 28, reg, recid) ? 1 : 0; }

void Sm1AfterStore(int reg, uint8_t *sm1, uint32_t recid) {
    if (Sm1AfterInsert(reg, sm1, recid, 0) == 0) DbHoldFail();
}

int Sm1BeforeDelete(int, uint8_t *sm1) { return PostAccountRows(sm1, true) ? 1 : 0; }

// ---- fb1 (51) ----

void Fb1Defaults(int reg, uint8_t *fb1) {
    SetEntryUserCode();
    PutU32(fb1, OpenBalVc::SerNr, SerialNone);
    PutDate(fb1, OpenBalVc::TransDate, TodayDate);
    PutU16(fb1, OpenBalVc::Reg18Done, 0);
    PutU16(fb1, OpenBalVc::Word84, 0);
    PutU32(fb1, OpenBalVc::SerNr, DefaultSerial(reg, TodayDate, -1));
}

void Fb1DefaultsOther(int, uint8_t *fb1) {
    PutU32(fb1, OpenBalVc::SerNr, SerialNone);
    PutU16(fb1, OpenBalVc::Reg18Done, 0);
}

int Fb1AfterInsert(int reg, uint8_t *fb1, uint32_t recid, int) {
    return PostSingleObjectRows(fb1, false) && RunRecordAction(0, 29, reg, recid) ? 1 : 0;
}

int Fb1BeforeUpdate(int, uint8_t *fb1, uint8_t *stored, uint32_t) {
    PutU16(fb1, OpenBalVc::Reg18Done, 0);
    return PostSingleObjectRows(stored, true) && PostSingleObjectRows(fb1, false) ? 1 : 0;
}

int Fb1AfterUpdate(int reg, uint8_t *, uint8_t *, uint32_t recid) { return RunRecordAction(0, 29, reg, recid) ? 1 : 0; }

void Fb1AfterStore(int reg, uint8_t *fb1, uint32_t recid) {
    if (Fb1AfterInsert(reg, fb1, recid, 0) == 0) DbHoldFail();
}

int Fb1BeforeDelete(int, uint8_t *fb1) { return PostSingleObjectRows(fb1, true) ? 1 : 0; }

// ---- sp1 (126) ----

void Sp1Defaults(int, uint8_t *sp1) {
    SetEntryUserCode();
    PutU32(sp1, PersEntryVc::SerNr, SerialNone);
    PutDate(sp1, PersEntryVc::TransDate, DefaultTransDate);
    PutU16(sp1, PersEntryVc::Reg18Done, 0);
}

void Sp1DefaultsOther(int, uint8_t *sp1) {
    PutU32(sp1, PersEntryVc::SerNr, SerialNone);
    PutU16(sp1, PersEntryVc::Reg18Done, 0);
}

int Sp1AfterInsert(int reg, uint8_t *sp1, uint32_t recid, int) {
    return PostAccountRows118(sp1, false) && RunRecordAction(0, 39, reg, recid) ? 1 : 0;
}

int Sp1BeforeUpdate(int, uint8_t *sp1, uint8_t *stored, uint32_t) {
    PutU16(sp1, PersEntryVc::Reg18Done, 0);
    return PostAccountRows118(stored, true) && PostAccountRows118(sp1, false) ? 1 : 0;
}

int Sp1AfterUpdate(int reg, uint8_t *, uint8_t *, uint32_t recid) { return RunRecordAction(0, 39, reg, recid) ? 1 : 0; }

void Sp1AfterStore(int reg, uint8_t *sp1, uint32_t recid) {
    if (Sp1AfterInsert(reg, sp1, recid, 0) == 0) DbHoldFail();
}

int Sp1BeforeDelete(int, uint8_t *sp1) { return PostAccountRows118(sp1, true) ? 1 : 0; }

// The entry every ledger register shares: its check, delete check and
// kept fields.
RegisterHooks LedgerEntry() {
    RegisterHooks h;
    h.validateRecord = ValidateRecordOf;
    h.canDelete = CanDeleteRecordOf;
    h.preserveStoredFields = PreserveStoredFieldsOf;
    return h;
}

}  // namespace

// Fills the entries of registers 9, 11, 51 and 126.
void InstallLedgerEntries(std::array<RegisterHooks, RegisterCount> &table) {
    RegisterHooks v = LedgerEntry();
    v.insertKeyExists = VoucherKeyExists;
    v.newRecordDefaults = VoucherDefaults;
    v.newRecordDefaultsOther = VoucherDefaultsOther;
    v.afterInsert = VoucherAfterInsert;
    v.beforeUpdate = VoucherBeforeUpdate;
    v.afterUpdate = VoucherAfterUpdate;
    v.beforeStore = VoucherBeforeStore;
    v.afterStore = VoucherAfterStore;
    v.beforeDelete = VoucherBeforeDelete;
    table[Voucher::Number] = v;

    RegisterHooks s = LedgerEntry();
    s.newRecordDefaults = Sm1Defaults;
    s.newRecordDefaultsOther = Sm1DefaultsOther;
    s.afterInsert = Sm1AfterInsert;
    s.beforeUpdate = Sm1BeforeUpdate;
    s.afterUpdate = Sm1AfterUpdate;
    s.afterStore = Sm1AfterStore;
    s.beforeDelete = Sm1BeforeDelete;
    table[SMVc::Number] = s;

    RegisterHooks f = LedgerEntry();
    f.newRecordDefaults = Fb1Defaults;
    f.newRecordDefaultsOther = Fb1DefaultsOther;
    f.afterInsert = Fb1AfterInsert;
    f.beforeUpdate = Fb1BeforeUpdate;
    f.afterUpdate = Fb1AfterUpdate;
    f.afterStore = Fb1AfterStore;
    f.beforeDelete = Fb1BeforeDelete;
    table[OpenBalVc::Number] = f;

    RegisterHooks p = LedgerEntry();
    p.newRecordDefaults = Sp1Defaults;
    p.newRecordDefaultsOther = Sp1DefaultsOther;
    p.afterInsert = Sp1AfterInsert;
    p.beforeUpdate = Sp1BeforeUpdate;
    p.afterUpdate = Sp1AfterUpdate;
    p.afterStore = Sp1AfterStore;
    p.beforeDelete = Sp1BeforeDelete;
    table[PersEntryVc::Number] = p;
}
