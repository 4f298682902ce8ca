// approve_ledger.cpp - the approve kinds of the general ledger: copying the
// account rows of vouchers, sm1, sp1 and fb1 records to the account
// postings (register 18), turning an sm1 record into a voucher, posting a
// voucher to the balances, and marking a pp1 record approved.
//
// A register-18 record is its own key (date, account, source serial, source
// record id, source register, year code), so storing the same row twice
// keeps one record; entries of rows later removed from their record stay
// and readers pass them over by their date.
#include <cassert>

#include "core/field_access.h"
#include "core/message_sink.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "database/access/record_access.h"
#include "rules/approval.h"
#include "rules/ledger.h"
#include "rules/series_terms.h"

namespace {

// Stores the register-18 record of one account row; false when the store
// failed.
bool StoreAccountPosting(const DateRec &date, const uint8_t *account, uint32_t serial, uint32_t recid, int reg,
                         uint16_t yearCode) {
    uint8_t r[ATVc::Size] = {};
    PutDate(r, ATVc::Date, date);
    PutText(r, ATVc::Account, account);
    PutU32(r, ATVc::SourceSerNr, serial);
    PutU32(r, ATVc::SourceRecId, recid);
    PutU16(r, ATVc::SourceReg, (uint16_t)reg);
    PutU16(r, ATVc::YearCode, yearCode);
    uint32_t id = 0;
    return RecStoreByKey(ATVc::Number, r, 1, &id);
}

// The first pass of every kind: one register-18 record per row of record
// (rows of rowSize bytes, the account at accountAt) dated date; then the
// record's done flag at doneAt is set. Failed when a store failed.
ApproveResult CopyRowsToPostings(int reg, uint8_t *record, uint32_t recid, uint32_t rowSize, uint32_t accountAt,
                                 const DateRec &date, uint32_t serial, uint32_t doneAt) {
    assert(rowSize == RecRowSize(reg) && rowSize <= TransRow::Size);
    uint8_t row[TransRow::Size];
    uint8_t account[12];
    int32_t n = MatrixRowCount(reg, 0, record);
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowRead(reg, record, i, row)) return ApproveResult::Failed;
        GetPString(row, accountAt, 10, account);
        if (!StoreAccountPosting(date, account, serial, recid, reg, 0)) return ApproveResult::Failed;
    }
    PutU16(record, doneAt, 1);
    return ApproveResult::Changed;
}

}  // namespace

// Kind 16: a register-18 record for each account row of the voucher on its
// transaction date. Then, walking the rows from the last to the first,
// each dated row whose date differs from the current one makes its date
// current and stores every account row above it once more on that date.
// Sets the voucher's register-18 flag.
ApproveResult Reg18FromRows138(int reg, uint8_t *voucher, uint32_t recid) {
    assert(reg == Voucher::Number);
    uint8_t row[TransRow::Size];
    uint8_t account[12];
    const DateRec transDate = GetDate(voucher, Voucher::TransDate);
    const uint32_t serial = GetU32(voucher, Voucher::SerNr);
    const uint16_t yearCode = GetU16(voucher, Voucher::YearCode);
    const int32_t n = MatrixRowCount(reg, 0, voucher);

    // Stores the account rows 0..end-1 on date.
    auto storeAccountRows = [&](int32_t end, const DateRec &date) {
        for (int32_t i = 0; i < end; i++) {
            if (!MatrixRowRead(reg, voucher, i, row)) return false;
            if (GetU16(row, TransRow::Kind) != RowAccount) continue;
            GetText(row, TransRow::Account, account);
            if (!StoreAccountPosting(date, account, serial, recid, reg, yearCode)) return false;
        }
        return true;
    };

    if (!storeAccountRows(n, transDate)) return ApproveResult::Failed;
    DateRec current = transDate;
    for (int32_t i = n - 1; i >= 0; i--) {
        if (!MatrixRowRead(reg, voucher, i, row)) return ApproveResult::Failed;
        if (GetU16(row, TransRow::Kind) != RowDated) continue;
        DateRec date = GetDate(row, TransRow::Date);
        if (DateCompare(&date, &current) == 0) continue;
        current = date;
        if (!storeAccountRows(i, current)) return ApproveResult::Failed;
    }
    PutU16(voucher, Voucher::Reg18Done, 1);
    return ApproveResult::Changed;
}

// Kind 28: the rows of an sm1 record on its date, year code 0.
ApproveResult Reg18FromRows82(int reg, uint8_t *sm1, uint32_t recid) {
    assert(reg == SMVc::Number);
    return CopyRowsToPostings(reg, sm1, recid, AccountRow::Size, AccountRow::Account, GetDate(sm1, SMVc::Date),
                              GetU32(sm1, SMVc::SerNr), SMVc::Reg18Done);
}

// Kind 29: the rows of an fb1 record on its date.
ApproveResult Reg18FromRows46(int reg, uint8_t *fb1, uint32_t recid) {
    assert(reg == OpenBalVc::Number);
    return CopyRowsToPostings(reg, fb1, recid, Fb1Row::Size, Fb1Row::Account, GetDate(fb1, OpenBalVc::TransDate),
                              GetU32(fb1, OpenBalVc::SerNr), OpenBalVc::Reg18Done);
}

// Kind 39: the rows of an sp1 record on its transaction date.
ApproveResult Reg18FromRows118(int reg, uint8_t *sp1, uint32_t recid) {
    assert(reg == PersEntryVc::Number);
    return CopyRowsToPostings(reg, sp1, recid, Sp1Row::Size, Sp1Row::Account, GetDate(sp1, PersEntryVc::TransDate),
                              GetU32(sp1, PersEntryVc::SerNr), PersEntryVc::Reg18Done);
}

// Kind 30: a voucher numbered in the voucher series on the sm1 date, with
// the sm1's texts and one account row per sm1 row, stored (balanced and
// posted by StoreVoucher); only then is the sm1 record deleted with its
// delete hook, which takes its own postings out. A draft dated in the
// ledger's lock is refused as the voucher window refuses the date. With
// no free number the program beeps; a voucher that would not be stored
// (no fiscal year, key taken, a date the balances cannot hold) is shown
// why; the sm1 record stays in each case. Failed when a store or the
// delete failed.
ApproveResult TransferSm1ToLedger(int reg, uint8_t *sm1, uint32_t recid) {
    assert(reg == SMVc::Number);
    if (PostingDateLocked(Voucher::Number, sm1, SMVc::Date)) return ApproveResult::Unchanged;
    const DateRec date = GetDate(sm1, SMVc::Date);
    int32_t serial = NextSerialNumber(Voucher::Number, &date, -1, 0);
    if (serial == NoFreeNumber) {
        MessageSinkBeep();
        return ApproveResult::Unchanged;
    }
    RuleRecord v(Voucher::Number);
    if (!v.record) return ApproveResult::Failed;
    uint8_t text[256];
    PutU32(v.record, Voucher::SerNr, (uint32_t)serial);
    PutDate(v.record, Voucher::TransDate, date);
    PutDate(v.record, Voucher::RegDate, TodayDate);
    GetText(sm1, SMVc::Text, text);
    PutText(v.record, Voucher::Text, text);
    GetText(sm1, SMVc::Text2, text);
    PutText(v.record, Voucher::Text2, text);

    uint8_t from[AccountRow::Size];
    uint8_t to[TransRow::Size];
    int32_t n = MatrixRowCount(reg, 0, sm1);
    for (int32_t i = 0; i < n; i++) {
        if (!MatrixRowRead(reg, sm1, i, from)) return ApproveResult::Failed;
        std::fill(std::begin(to), std::end(to), 0);
        PutU16(to, TransRow::Kind, RowAccount);
        GetText(from, AccountRow::Account, text);
        PutText(to, TransRow::Account, text);
        GetText(from, AccountRow::Objects, text);
        PutText(to, TransRow::Objects, text);
        GetText(from, AccountRow::Text, text);
        PutText(to, TransRow::Text, text);
        GetText(from, AccountRow::VatCode, text);
        PutText(to, TransRow::VatCode, text);
        PutDec(to, TransRow::Amount, GetDec(from, AccountRow::Amount));
        PackedDecimal blank;
        DecSetBlank(&blank);
        PutDec(to, TransRow::Amount2, blank);
        if (!MatrixRowPut(Voucher::Number, 0, v.record, i, to)) return ApproveResult::Failed;
    }
    VoucherRowsBalance(v.record);
    int refusal = VoucherWouldStore(v.record);
    if (refusal != 0) {
        ShowMessage(refusal, nullptr);
        return ApproveResult::Unchanged;
    }
    if (!StoreVoucher(v.record)) return ApproveResult::Failed;
    if (!RecDeleteHooked(reg, sm1, recid)) return ApproveResult::Failed;
    return ApproveResult::Unchanged;
}

// Kind 31: posts the voucher's rows to the balances and sets its posted flag.
ApproveResult ApprovePostTransaction(int reg, uint8_t *voucher, uint32_t) {
    assert(reg == Voucher::Number);
    if (!PostTransaction(voucher)) return ApproveResult::Failed;
    PutU16(voucher, Voucher::Posted, 1);
    return ApproveResult::Changed;
}

// Kind 42: sets the approved flag of a pp1 record unless it is set.
ApproveResult MarkState102(int reg, uint8_t *pp1, uint32_t) {
    assert(reg == PersPayVc::Number);
    if (GetU16(pp1, PersPayVc::Approved) != 0) return ApproveResult::Unchanged;
    PutU16(pp1, PersPayVc::Approved, 1);
    return ApproveResult::Changed;
}
