// person_payments.cpp - payments to persons (register 110): the checks
// before a payment is stored, its voucher (series 208: each person's
// account debited, bank charges, the payment mode's account credited with
// the bank amount, exchange and payment differences), the person-ledger
// entries (register 111), approve kinds 41 and 43 and the rules' entry of
// the register.
//
// Only rows of kind 1 with flag 0 count: the checks see, the voucher books
// and the ledger enters the same rows. A posted payment has booked its
// voucher and may change only what the program writes later. A payment
// dated in the voucher lock is not posted by any road.
//
// A payment reaches the person ledger once, when it is posted, whichever
// way that happens: stored posted (a window, an import), ticked posted in
// its window later (the store hooks run kind 41 on the stored record), or
// posted by its list's run (kind 43 enters it itself). An unposted
// payment may still change its date and rows, so it is not entered yet.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/operations.h"
#include "operations/purchase_ledger.h"
#include "operations/voucher_text.h"
#include "rules/accounts.h"
#include "rules/approval.h"
#include "rules/hooks.h"
#include "rules/ledger.h"
#include "rules/payment_kinds.h"
#include "rules/register_hooks_entries.h"
#include "rules/rules_types.h"
#include "rules/serial_numbers.h"
#include "rules/series_terms.h"
#include "rules/settings_row_find.h"
#include "rules/vat_currency.h"

namespace {

namespace PP = PersPayVc;
namespace Row = PersPayVc::Rows;
namespace VA = PurchAccountsBlk;
constexpr int TextMax = 60, AccountMax = 10;

constexpr uint32_t PostedFree[][2] = {
    {PP::Transferred, PP::Transferred + 2},
};

bool Flag(const uint8_t *payment, uint32_t at) { return GetU16(payment, at) == 1; }
bool RowCounts(const uint8_t *row) {
    return PersPayRowKind(GetU16(row, Row::Kind)) == PersPayRowKind::Paid && GetU16(row, Row::Flag) == 0;
}

// Reads the person of code into rec; false when unknown.
bool PersonRead(const uint8_t *code, RuleRecord &rec) {
    if (!rec.record || code[0] == 0) return false;
    PutText(rec.record, PEVc::Code, code);
    return RecFindByFirstKey(PEVc::Number, rec.record);
}

int OpenChecks(uint8_t *payment, const uint8_t *old, int mode) {
    DateRec date = GetDate(payment, PP::PayDate);
    if (int refused = CheckDocumentNumber(PP::Number, payment, old, mode, PP::SerNr, date, 0)) return refused;
    if (Flag(payment, PP::Posted) && !Flag(payment, PP::Approved))
        return FieldError(Texts::PostedNotApproved, nullptr, PP::Posted);
    if (!CheckBeforeSave(PP::Number, payment, PP::PayDate)) return -1;
    DateRec second = GetDate(payment, PP::DefaultDate);
    if (second.year == 0 && (second.day != 0 || second.month != 0))
        return FieldError(Texts::CodeMissing, nullptr, PP::DefaultDate);
    uint8_t code[256];
    GetText(payment, PP::PayMode, code);
    if (code[0] == 0) return FieldError(Texts::PaymentModeMissing, nullptr, PP::PayMode);
    int32_t count = MatrixRowCount(PP::Number, 0, payment);
    if (count < 1) return FieldErrorAt(Texts::VoucherNoRows, nullptr, PP::Matrix, 0, Row::Person);
    uint8_t row[Row::Size];
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(PP::Number, payment, i, row))
            return FieldErrorAt(Texts::RecordNotStored, nullptr, PP::Matrix, (uint16_t)i, Row::Kind);
        if (!RowCounts(row)) continue;
        GetText(row, Row::Person, code);
        if (!CodeInRegister(PEVc::Number, PEVc::Code, code))
            return FieldErrorAt(Texts::CodeUnknown, nullptr, PP::Matrix, (uint16_t)i, Row::Person);
        PackedDecimal amount = GetDec(row, Row::Amount);
        if (DecIsBlank(&amount))
            return FieldErrorAt(Texts::PaymentAmountMissing, nullptr, PP::Matrix, (uint16_t)i, Row::Amount);
    }
    if (PendingVoucher) PendingVoucherClear();
    bool postingNow = Flag(payment, PP::Posted) && (mode == 1 || !old || !Flag(old, PP::Posted));
    if (!postingNow) return 0;
    ServerRequestState.pendingText = NoPendingText;
    ServerRequestState.pendingExtra[0] = 0;
    if (PostPPRecord(payment) != 0) return PendingVoucherStorable(PP::SerNr, PP::PayDate);
    if (ServerRequestState.pendingText != NoPendingText) {
        uint8_t text[256];
        GetUiText(text, ServerRequestState.pendingText);
        return FieldError(Texts::VoucherNotBuiltBecause, text, PP::SerNr);
    }
    return FieldError(Texts::VoucherNotBuilt, nullptr, PP::SerNr);
}

int Refuse() {
    PendingVoucherClear();
    return 0;
}

// One row on the account at offset of block 155, which must exist.
bool PostBlock(const uint8_t *accounts, uint32_t offset, const PackedDecimal *amount, bool merge, bool debit,
               PackedDecimal *running) {
    uint8_t account[256];
    GetPString(accounts, offset, AccountMax, account);
    return FindNamedVoucherRow(PendingVoucher, account, nullptr, nullptr, nullptr, amount, merge, debit, running);
}

}  // namespace

// Checks a person payment; see the file comment.
int ValidatePPRecord(uint8_t *payment, const uint8_t *old, int mode) {
    assert(payment);
    if (old == payment) old = nullptr;
    return ValidateHeldOrOpen(PP::Number, payment, old, mode, old && Flag(old, PP::Posted), PP::SerNr, PostedFree,
                              std::size(PostedFree), Texts::PostedPPChange, OpenChecks);
}

// Builds the person payment's voucher; see the file comment.
int PostPPRecord(uint8_t *payment) {
    assert(payment);
    if (!PendingVoucher) return 0;
    const uint8_t *accounts = SettingsRecord(VA::Number, VendorAccountsBlock);
    PendingVoucherClear();
    if (!accounts) return 0;
    if (!PendingVoucherHead(YearCodePersonPayment, GetU32(payment, PP::SerNr), GetDate(payment, PP::PayDate), true))
        return Refuse();
    uint8_t text[256], part[256], account[256], objects[256];
    text[0] = 0;
    AppendCurrencyRate(text, "", payment, PP::CurncyCode, GetDec(payment, PP::Rate));
    PutText(PendingVoucher, Voucher::Text, text);

    const PackedDecimal rate = RatePer100(payment, PP::Rate);
    PackedDecimal running, total;
    DecSetZero(&running);
    DecSetZero(&total);
    uint8_t row[Row::Size];
    int32_t count = MatrixRowCount(PP::Number, 0, payment);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(PP::Number, payment, i, row)) return Refuse();
        if (!RowCounts(row)) continue;
        RuleRecord person(PEVc::Number);
        GetText(row, Row::Person, part);
        if (!PersonRead(part, person)) return Refuse();
        GetText(person.record, PEVc::Account, account);
        GetText(person.record, PEVc::Objects, objects);
        PStringCopy(text, part);
        PStringAppendC(text, "  ");
        GetText(person.record, PEVc::Name, part);
        PStringAppend(text, part);
        CutVoucherText(text);
        PackedDecimal amount = GetDec(row, Row::Amount), converted;
        AmountTimesRate(&amount, &rate, &converted);
        DecAdd(&total, &converted, &total);
        uint8_t name[TextMax + 2];
        if (!AccountNameOf(account, name, TextMax)) return Refuse();
        FindVoucherRow(PendingVoucher, account, objects, (const uint8_t *)"", text, &converted, false, true, &running);
    }
    PackedDecimal charges = GetDec(payment, PP::BankCharges), bank = GetDec(payment, PP::BankAmount);
    if (DecIsBlank(&charges)) DecSetZero(&charges);
    if (DecIsBlank(&bank)) DecSetZero(&bank);
    if (!DecIsZero(&charges) && !PostBlock(accounts, VA::BankChargeAcc, &charges, false, true, &running))
        return Refuse();
    SettingsRows modes(PaymentModeBlk::Number, &PaymentModeRows, PaymentModeBlk::Rows::Size);
    if (modes.count == 0) return Refuse();
    GetText(payment, PP::PayMode, text);
    int32_t mode = SettingsRowWithCode(modes, PaymentModeBlk::Rows::Code, text);
    const uint8_t *chosen = modes.data + (size_t)(mode < 0 ? 0 : mode) * PaymentModeBlk::Rows::Size;
    GetText(chosen, PaymentModeBlk::Rows::Account, account);
    GetText(chosen, PaymentModeBlk::Rows::Name, text);
    if (!AccountNameOf(account, part, TextMax)) return Refuse();
    FindVoucherRow(PendingVoucher, account, (const uint8_t *)"", (const uint8_t *)"", text, &bank, false, false,
                   &running);
    PackedDecimal difference;
    DecAdd(&total, &charges, &difference);
    DecSub(&difference, &bank, &difference);
    if (!DecIsZero(&difference)) {
        PackedDecimal negated;
        DecNegateInto(&difference, &negated);
        uint32_t at = DecIsNegative(&difference) ? VA::ExchLossAcc : VA::ExchGainAcc;
        if (!PostBlock(accounts, at, &negated, true, true, &running)) return Refuse();
    }
    if (!DecIsZero(&running)) {
        PackedDecimal negated;
        DecNegateInto(&running, &negated);
        if (!PostBlock(accounts, VA::PayDiffAcc, &negated, true, true, &running)) return Refuse();
    }
    return 1;
}

// The pending voucher stored when asked.
bool StoreVoucherAfterPP(uint8_t *payment, int store) {
    (void)payment;
    return !store || StorePendingAndClear();
}

// One entry per counted row: its person, the payment date and serial.
bool PPRowsToLedger111(const uint8_t *payment) {
    assert(payment);
    uint8_t row[Row::Size], person[256];
    int32_t count = MatrixRowCount(PP::Number, 0, payment);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(PP::Number, payment, i, row)) return PurchaseStoreFailed();
        if (!RowCounts(row)) continue;
        uint8_t entry[PersLedgerVc::Size] = {};
        GetText(row, Row::Person, person);
        PutText(entry, PersLedgerVc::Person, person);
        PutDate(entry, PersLedgerVc::TransDate, GetDate(payment, PP::PayDate));
        PutU16(entry, PersLedgerVc::Kind, uint16_t(PersLedgerKind::Payment));
        PutU32(entry, PersLedgerVc::DocNr, GetU32(payment, PP::SerNr));
        uint32_t recid = 0;
        if (!RecStoreByKey(PersLedgerVc::Number, entry, 1, &recid)) return PurchaseStoreFailed();
    }
    return true;
}

// Kind 41: the person ledger, then the transferred flag; nothing for a
// payment entered before.
ApproveResult ApprovePPToLedger111(int, uint8_t *payment, uint32_t) {
    assert(payment);
    if (GetU16(payment, PP::Transferred) != 0) return ApproveResult::Unchanged;
    if (!PPRowsToLedger111(payment)) return ApproveResult::Failed;
    PutU16(payment, PP::Transferred, 1);
    return ApproveResult::Changed;
}

// Kind 43: an approved, unposted payment gets its voucher, is posted and
// goes into the person ledger, as one posted in its window does; one dated
// in the voucher lock is refused as its window refuses it.
ApproveResult ApprovePPRecord(int reg, uint8_t *payment, uint32_t recid) {
    assert(payment);
    if (!Flag(payment, PP::Approved) || Flag(payment, PP::Posted)) return ApproveResult::Unchanged;
    if (PostingDateLocked(PP::Number, payment, PP::PayDate)) return ApproveResult::Unchanged;   // told
    if (PostPPRecord(payment) == 0) {
        ShowTextMessage(Texts::VoucherNotBuilt);
        return ApproveResult::Unchanged;
    }
    if (!StoreVoucherAfterPP(payment, 1)) return ApproveResult::Failed;
    PutU16(payment, PP::Posted, 1);
    return ApprovePPToLedger111(reg, payment, recid) == ApproveResult::Failed ? ApproveResult::Failed
                                                                              : ApproveResult::Changed;
}

namespace {

// Kind 41 on the stored payment recid when it is posted and not in the
// person ledger yet; 0 when an entry could not be stored.
int ToLedger(const uint8_t *payment, uint32_t recid) {
    if (!Flag(payment, PP::Posted) || GetU16(payment, PP::Transferred) != 0) return 1;
    return ApproveRecord(ApproveKindPersPayToLedger, PP::Number, recid) ? 1 : 0;
}

int BeforeInsert(int, uint8_t *payment) {
    PutU16(payment, PP::Transferred, 0);
    return !Flag(payment, PP::Posted) || StoreVoucherAfterPP(payment, 1) ? 1 : 0;
}

int BeforeUpdate(int, uint8_t *payment, uint8_t *stored, uint32_t) {
    return !Flag(payment, PP::Posted) || Flag(stored, PP::Posted) || StoreVoucherAfterPP(payment, 1) ? 1 : 0;
}

int AfterInsert(int, uint8_t *payment, uint32_t recid, int) { return ToLedger(payment, recid); }

int AfterUpdate(int, uint8_t *payment, uint8_t *stored, uint32_t recid) {
    return Flag(stored, PP::Posted) ? 1 : ToLedger(payment, recid);
}

// The import's store of a record new to this company: the person ledger
// does not travel with the file, so its entered mark does not either.
void BeforeStore(int reg, uint8_t *record) {
    if (!RecExists(reg, record)) PutU16(record, PP::Transferred, 0);
}

void AfterStore(int, uint8_t *payment, uint32_t recid) { (void)ToLedger(payment, recid); }

void NewDefaults(int, uint8_t *payment) {
    SetEntryUserCode();
    PutU32(payment, PP::SerNr, SerialNone);
    PutDate(payment, PP::PayDate, TodayDate);
    PutDate(payment, PP::TransDate, TodayDate);
    for (uint32_t at : {PP::Approved, PP::Posted, PP::Transferred}) PutU16(payment, at, 0);
}

}  // namespace

// Fills register 110's entry of table, whole.
void InstallPersonPaymentEntry(std::array<RegisterHooks, RegisterCount> &table) {
    table[PP::Number] = CheckedEntryWith({.beforeInsert = BeforeInsert, .afterInsert = AfterInsert,
        .beforeUpdate = BeforeUpdate, .afterUpdate = AfterUpdate, .beforeStore = BeforeStore, .afterStore = AfterStore,
        .newRecordDefaults = NewDefaults, .newRecordDefaultsOther = NewDefaults});
}
