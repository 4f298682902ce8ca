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
//
// Nothing that books the ledger is inserted dated in the voucher lock: the
// insert hooks of vouchers, sm1 and sp1 refuse it, whichever road stores
// it (a window, a document's voucher, a run), so a road written later
// cannot miss the lock. The roads ask earlier where they can, so that
// their user meets the window's refusal alone; this is the last guard.
#include "rules/register_hooks_entries.h"

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/ui_text.h"
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

// ---- The voucher lock ----

// Before an insert of a voucher, a draft or a person entry: refused (0,
// told as the window tells it) when it is dated in the voucher lock.
int LockedDateRefused(int reg, uint8_t *record) {
    if (!LedgerRecordDateLocked(reg, record)) return 1;
    ShowTextMessage(Texts::DateLocked);
    return 0;
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
    if (!RunRecordAction(0, ApproveKindPostVoucher, reg, recid) ||
        !RunRecordAction(0, ApproveKindVoucherRowsToReg18, reg, recid))
        return 0;
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
    return RunRecordAction(0, ApproveKindVoucherRowsToReg18, reg, recid) &&
                   RunRecordAction(0, ApproveKindPostVoucher, reg, recid)
               ? 1
               : 0;
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

// ---- sm1 (9), fb1 (51) and sp1 (126) ----
// The three share their hooks: Post(record, negate) books the rows, kind
// Kind copies them to register 18, DoneAt is the record's register-18
// flag and SerAt its serial.

// A copy as a new record: not numbered, not copied to register 18.
template <uint32_t SerAt, uint32_t DoneAt> void SubDefaultsOther(int, uint8_t *record) {
    PutU32(record, SerAt, SerialNone);
    PutU16(record, DoneAt, 0);
}

// After an insert: the rows to the balances, then to register 18.
template <bool (*Post)(const uint8_t *, bool), ApproveKind Kind>
int SubAfterInsert(int reg, uint8_t *record, uint32_t recid, int) {
    return Post(record, false) && RunRecordAction(0, Kind, reg, recid) ? 1 : 0;
}

// Before a rewrite: the stored rows out of the balances, the new ones in;
// the new record is copied to register 18 afresh after the write.
template <bool (*Post)(const uint8_t *, bool), uint32_t DoneAt>
int SubBeforeUpdate(int, uint8_t *record, uint8_t *stored, uint32_t) {
    PutU16(record, DoneAt, 0);
    return Post(stored, true) && Post(record, false) ? 1 : 0;
}

template <ApproveKind Kind> int SubAfterUpdate(int reg, uint8_t *, uint8_t *, uint32_t recid) {
    return RunRecordAction(0, Kind, reg, recid) ? 1 : 0;
}

// After an import store: as after an insert; a posting that failed fails
// the hold.
template <bool (*Post)(const uint8_t *, bool), ApproveKind Kind>
void SubAfterStore(int reg, uint8_t *record, uint32_t recid) {
    if (SubAfterInsert<Post, Kind>(reg, record, recid, 0) == 0) DbHoldFail();
}

// Before a delete: the rows out of the balances.
template <bool (*Post)(const uint8_t *, bool)> int SubBeforeDelete(int, uint8_t *record) {
    return Post(record, true) ? 1 : 0;
}

void Sm1Defaults(int, uint8_t *sm1) {
    SetEntryUserCode();
    PutU32(sm1, SMVc::SerNr, SerialNone);
    PutDate(sm1, SMVc::Date, DefaultTransDate);
    PutU16(sm1, SMVc::Reg18Done, 0);
}

void Fb1Defaults(int reg, uint8_t *fb1) {
    SetEntryUserCode();
    PutU32(fb1, OpenBalVc::SerNr, SerialNone);
    PutDate(fb1, OpenBalVc::TransDate, TodayDate);
    PutU16(fb1, OpenBalVc::Reg18Done, 0);
    PutU16(fb1, OpenBalVc::Word84, 0);
    PutU32(fb1, OpenBalVc::SerNr, DefaultSerial(reg, TodayDate, -1));
}

void Sp1Defaults(int, uint8_t *sp1) {
    SetEntryUserCode();
    PutU32(sp1, PersEntryVc::SerNr, SerialNone);
    PutDate(sp1, PersEntryVc::TransDate, DefaultTransDate);
    PutU16(sp1, PersEntryVc::Reg18Done, 0);
}

// The entry of a register with the shared sm1/fb1/sp1 hooks; beforeInsert
// is the voucher lock's test, null for fb1, whose opening balances the
// lock does not hold.
template <bool (*Post)(const uint8_t *, bool), ApproveKind Kind, uint32_t SerAt, uint32_t DoneAt>
RegisterHooks SubLedgerEntry(void (*defaults)(int, uint8_t *), int (*beforeInsert)(int, uint8_t *)) {
    return CheckedEntryWith({.beforeInsert = beforeInsert, .afterInsert = SubAfterInsert<Post, Kind>,
        .beforeUpdate = SubBeforeUpdate<Post, DoneAt>,
        .afterUpdate = SubAfterUpdate<Kind>, .afterStore = SubAfterStore<Post, Kind>,
        .beforeDelete = SubBeforeDelete<Post>, .newRecordDefaults = defaults,
        .newRecordDefaultsOther = SubDefaultsOther<SerAt, DoneAt>});
}

}  // namespace

// Fills the entries of registers 9, 11, 51 and 126.
void InstallLedgerEntries(std::array<RegisterHooks, RegisterCount> &table) {
    table[Voucher::Number] = CheckedEntryWith({.insertKeyExists = VoucherKeyExists,
        .beforeInsert = LockedDateRefused, .afterInsert = VoucherAfterInsert,
        .beforeUpdate = VoucherBeforeUpdate, .afterUpdate = VoucherAfterUpdate, .beforeStore = VoucherBeforeStore,
        .afterStore = VoucherAfterStore, .beforeDelete = VoucherBeforeDelete, .newRecordDefaults = VoucherDefaults,
        .newRecordDefaultsOther = VoucherDefaultsOther});

    table[SMVc::Number] =
        SubLedgerEntry<PostAccountRows, ApproveKindSm1RowsToReg18, SMVc::SerNr, SMVc::Reg18Done>(
            Sm1Defaults, LockedDateRefused);
    table[OpenBalVc::Number] = SubLedgerEntry<PostSingleObjectRows, ApproveKindFb1RowsToReg18, OpenBalVc::SerNr,
                                              OpenBalVc::Reg18Done>(Fb1Defaults, nullptr);
    table[PersEntryVc::Number] = SubLedgerEntry<PostAccountRows118, ApproveKindSp1RowsToReg18, PersEntryVc::SerNr,
                                                PersEntryVc::Reg18Done>(Sp1Defaults, LockedDateRefused);
}
