// expense_claims.cpp - expenses claimed by persons (register 109): the
// checks before an expense is stored, its voucher (series 207: the costs
// net of VAT, the input VAT, the person's own account credited), the
// person-ledger entry (register 111), approve kinds 40 and 44 and the
// rules' entry of the register.
//
// A row's amount includes its VAT: the net booked is the row amount at
// the expense's rate less the row's VAT as entered, so in home currency
// net and VAT add up to the row. A posted expense has booked its voucher
// and cost budgets; an update may then change only its note and what the
// program writes (the transferred flag). A posted expense stored by an
// update also stores the voucher its check built. An expense dated in the
// voucher lock is not posted by any road: its check refuses the date.
//
// An expense reaches the person ledger once, when it is posted, whichever
// way that happens: stored posted (a window, an import), ticked posted in
// its window later, or posted by its list's run (kind 44). The store hooks
// run kind 40 on the stored record; kind 44 enters it itself.
#include <cassert>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/project_ops.h"
#include "operations/purchase_ledger.h"
#include "operations/voucher_text.h"
#include "rules/accounts.h"
#include "rules/approval.h"
#include "rules/hooks.h"
#include "rules/invoice_kind.h"
#include "rules/ledger.h"
#include "rules/payment_kinds.h"
#include "rules/register_hooks_entries.h"
#include "rules/rules_types.h"
#include "rules/serial_numbers.h"
#include "rules/series_terms.h"
#include "rules/vat_currency.h"

namespace {

namespace EX = ExpenseVc;
namespace Row = ExpenseVc::Rows;

constexpr uint32_t PostedFree[][2] = {
    {EX::Transferred, EX::Transferred + 2},
    {EX::ClaimText, EX::ClaimText + 61},
};

bool Posted(const uint8_t *expense) { return GetU16(expense, EX::Posted) == 1; }

// Step 3 for one account row.
int RowCheck(const uint8_t *row, uint16_t i) {
    auto refuse = [i](int text, uint32_t column, const uint8_t *extra = nullptr) {
        return FieldErrorAt(text, extra, EX::Matrix, i, (uint16_t)column);
    };
    uint8_t code[256], objects[256];
    GetText(row, Row::Account, code);
    if (code[0] == 0) return refuse(Texts::RowAmountNoAccount, Row::Account);
    if (!CodeInRegister(ACVc::Number, ACVc::Code, code)) return refuse(Texts::AccountMissing, Row::Account, code);
    GetText(row, Row::Objects, objects);
    if (!CheckObjectList(code, objects)) return refuse(0, Row::Objects);
    GetText(row, Row::ItemCode, code);
    PackedDecimal qty = GetDec(row, Row::Quantity), amount = GetDec(row, Row::Amount);
    if (code[0] != 0 && (DecIsZero(&qty) || DecIsNegative(&qty))) return refuse(Texts::CodeMissing, Row::Quantity);
    GetText(row, Row::Project, code);
    if (code[0] != 0 && !CodeInRegister(ProjectVc::Number, ProjectVc::Code, code))
        return refuse(Texts::CodeUnknown, Row::Project);
    GetText(row, Row::VatCode, code);
    if (!DecIsZero(&amount) && code[0] == 0) return refuse(Texts::VatCodeMissing, Row::VatCode);
    return 0;
}

// Why the expense's voucher could not be made, as the text to tell with
// its extra and the field to put right: the person's account, named,
// when the chart lacks it (the person card is where it is put right),
// else the accounts of the settings.
int NotBuiltText(const uint8_t *expense, uint8_t *extra, uint16_t *field) {
    extra[0] = 0;
    *field = EX::SerNr;
    RuleRecord person(PEVc::Number);
    uint8_t code[256], account[256], part[256];
    GetText(expense, EX::Person, code);
    if (!person.record || code[0] == 0) return Texts::VoucherNotBuilt;
    PutText(person.record, PEVc::Code, code);
    if (!RecFindByFirstKey(PEVc::Number, person.record)) return Texts::VoucherNotBuilt;
    GetText(person.record, PEVc::Account, account);
    if (account[0] != 0 && AccountExists(account)) return Texts::VoucherNotBuilt;
    PStringCopy(extra, code);
    GetUiText(part, Texts::PersonAccountIs);
    PStringAppend(extra, part);
    if (account[0] == 0) GetUiText(account, Texts::PersonAccountNone);
    PStringAppend(extra, account);
    *field = EX::Person;
    return Texts::PersonAccountMissing;
}

int OpenChecks(uint8_t *expense, const uint8_t *old, int mode) {
    DateRec date = GetDate(expense, EX::TransDate);
    if (int refused = CheckDocumentNumber(EX::Number, expense, old, mode, EX::SerNr, date, 0)) return refused;
    if (!CheckBeforeSave(EX::Number, expense, EX::TransDate)) return -1;
    uint8_t person[256];
    GetText(expense, EX::Person, person);
    if (person[0] == 0) return FieldError(Texts::VendorCodeMissing, nullptr, EX::Person);
    if (!CodeInRegister(PEVc::Number, PEVc::Code, person))
        return FieldError(Texts::CodeUnknown, nullptr, EX::Person);
    uint8_t row[Row::Size];
    int32_t count = MatrixRowCount(EX::Number, 0, expense);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(EX::Number, expense, i, row))
            return FieldErrorAt(Texts::RecordNotStored, nullptr, EX::Matrix, (uint16_t)i, Row::Kind);
        if (ExpenseRowKind(GetU16(row, Row::Kind)) != ExpenseRowKind::Account) continue;
        if (int r = RowCheck(row, (uint16_t)i)) return r;
    }
    if (PendingVoucher) PendingVoucherClear();
    bool postingNow = Posted(expense) && (mode == 1 || !old || !Posted(old));
    if (!postingNow) return 0;
    if (PostExpense(expense) == 0) {
        uint8_t extra[256];
        uint16_t field = EX::SerNr;
        int text = NotBuiltText(expense, extra, &field);
        return FieldError(text, extra, field);
    }
    return PendingVoucherStorable(EX::SerNr, EX::TransDate);
}

int Refuse() {
    PendingVoucherClear();
    return 0;
}

// One row on account, which must exist, with text or its name.
bool Post(const uint8_t *account, const uint8_t *objects, const uint8_t *vat, const uint8_t *text,
          const PackedDecimal *amount, bool merge, bool debit, PackedDecimal *running) {
    return FindNamedVoucherRow(PendingVoucher, account, objects, vat, text, amount, merge, debit, running);
}

}  // namespace

// Checks an expense; see the file comment.
int ValidateExpense(uint8_t *expense, const uint8_t *old, int mode) {
    assert(expense);
    if (old == expense) old = nullptr;
    return ValidateHeldOrOpen(EX::Number, expense, old, mode, old && Posted(old), EX::SerNr, PostedFree,
                              std::size(PostedFree), Texts::PostedExpenseChange, OpenChecks);
}

// Builds the expense's voucher; see the file comment.
int PostExpense(uint8_t *expense) {
    assert(expense);
    if (!PendingVoucher) return 0;
    PendingVoucherClear();
    if (!PendingVoucherHead(YearCodeExpense, GetU32(expense, EX::SerNr), GetDate(expense, EX::TransDate), true))
        return Refuse();
    uint8_t text[256], part[256], account[256], objects[256], vat[256];
    PartyVoucherText(expense, EX::Person, EX::PersonName, EX::CurncyCode, GetDec(expense, EX::Rate), text);
    PutText(PendingVoucher, Voucher::Text, text);

    const PackedDecimal rate = RatePer100(expense, EX::Rate);
    PackedDecimal running;
    DecSetZero(&running);
    uint8_t row[Row::Size];
    int32_t count = MatrixRowCount(EX::Number, 0, expense);
    for (int32_t i = 0; i < count; i++) {
        if (!MatrixRowRead(EX::Number, expense, i, row)) return Refuse();
        if (ExpenseRowKind(GetU16(row, Row::Kind)) != ExpenseRowKind::Account) continue;
        PackedDecimal amount = GetDec(row, Row::Amount), rowVat = GetDec(row, Row::VatAmount), converted, net;
        if (DecIsBlank(&rowVat)) DecSetZero(&rowVat);
        AmountTimesRate(&amount, &rate, &converted);
        DecSub(&converted, &rowVat, &net);
        GetText(row, Row::Account, account);
        GetText(row, Row::Objects, objects);
        GetText(row, Row::VatCode, vat);
        GetText(row, Row::Text, part);
        FindVoucherRow(PendingVoucher, account, objects, vat, part, &net, false, true, &running);
        if (DecIsZero(&rowVat)) continue;
        PackedDecimal codeRate;
        uint8_t acc1[256] = {0}, acc2[256] = {0};
        VatCodeLookup(vat, &codeRate, 0, acc1, acc2);
        if (!Post(acc2, nullptr, nullptr, nullptr, &rowVat, true, true, &running)) return Refuse();
    }
    RuleRecord person(PEVc::Number);
    GetText(expense, EX::Person, part);
    if (!person.record) return Refuse();
    PutText(person.record, PEVc::Code, part);
    uint32_t recid = 0, position = 0;
    if (!RecFind(PEVc::Number, person.record, 1, 1, &recid, &position)) return Refuse();
    GetText(person.record, PEVc::Account, account);
    GetText(person.record, PEVc::Objects, objects);
    PackedDecimal total = GetDec(expense, EX::Total), converted;
    AmountTimesRate(&total, &rate, &converted);
    if (!Post(account, objects, nullptr, nullptr, &converted, false, false, &running)) return Refuse();
    if (!PostRoundingRest(&running)) return Refuse();
    return 1;
}

// The pending voucher stored, then the cost budgets.
bool ExpenseSaveSteps(uint8_t *expense, int store) {
    assert(expense);
    if (!store) return true;
    return StorePendingAndClear() && ExpenseToCostBudget(expense);
}

// The expense's person-ledger entry, by key.
bool ExpenseToLedger111(const uint8_t *expense) {
    assert(expense);
    uint8_t entry[PersLedgerVc::Size] = {}, person[256];
    GetText(expense, EX::Person, person);
    PutText(entry, PersLedgerVc::Person, person);
    PutDate(entry, PersLedgerVc::TransDate, GetDate(expense, EX::TransDate));
    PutU16(entry, PersLedgerVc::Kind, uint16_t(PersLedgerKind::Expense));
    PutU32(entry, PersLedgerVc::DocNr, GetU32(expense, EX::SerNr));
    uint32_t recid = 0;
    return RecStoreByKey(PersLedgerVc::Number, entry, 1, &recid) || PurchaseStoreFailed();
}

// Kind 40: the person ledger, then the transferred flag.
ApproveResult ApproveExpenseToLedger111(int, uint8_t *expense, uint32_t) {
    assert(expense);
    if (GetU16(expense, EX::Transferred) != 0) return ApproveResult::Unchanged;
    if (!ExpenseToLedger111(expense)) return ApproveResult::Failed;
    PutU16(expense, EX::Transferred, 1);
    return ApproveResult::Changed;
}

// Kind 44: an unposted expense gets its voucher and budgets, is posted and
// entered in the person ledger, and the user is told it was posted.
// Unchanged (told why) when it is dated in the voucher lock or the
// voucher cannot be built. A posted one is not posted again, and the
// user is told so; one posted before it reached the person ledger is
// entered there now.
ApproveResult ApproveExpense(int reg, uint8_t *expense, uint32_t recid) {
    assert(expense);
    if (Posted(expense)) {
        uint8_t number[32];
        LongToDigitText(GetI32(expense, EX::SerNr), number);
        TellOutcome(MessageOutcome::Nothing, Texts::ExpensePostedBefore, number);
        return ApproveExpenseToLedger111(reg, expense, recid);
    }
    if (PostingDateLocked(EX::Number, expense, EX::TransDate)) return ApproveResult::Unchanged;   // told
    if (PostExpense(expense) == 0) {
        uint8_t extra[256];
        uint16_t field = EX::SerNr;
        ShowMessage(NotBuiltText(expense, extra, &field), extra);
        return ApproveResult::Unchanged;
    }
    if (!ExpenseSaveSteps(expense, 1)) return ApproveResult::Failed;
    PutU16(expense, EX::Posted, 1);
    if (ApproveExpenseToLedger111(reg, expense, recid) == ApproveResult::Failed) return ApproveResult::Failed;
    uint8_t number[32];
    LongToDigitText(GetI32(expense, EX::SerNr), number);
    TellOutcome(MessageOutcome::Done, Texts::ExpensePostedNow, number);
    return ApproveResult::Changed;
}

namespace {

// Kind 40 on the stored expense recid when it is posted and not in the
// person ledger yet; 0 when the entry could not be stored.
int ToLedger(const uint8_t *expense, uint32_t recid) {
    if (!Posted(expense) || GetU16(expense, EX::Transferred) != 0) return 1;
    return ApproveRecord(ApproveKindExpenseToLedger, EX::Number, recid) ? 1 : 0;
}

int BeforeInsert(int, uint8_t *expense) {
    PutU16(expense, EX::Transferred, 0);
    return !Posted(expense) || ExpenseSaveSteps(expense, 1) ? 1 : 0;
}

int BeforeUpdate(int, uint8_t *expense, uint8_t *stored, uint32_t) {
    return !Posted(expense) || Posted(stored) || ExpenseSaveSteps(expense, 1) ? 1 : 0;
}

int AfterInsert(int, uint8_t *expense, uint32_t recid, int) { return ToLedger(expense, recid); }

int AfterUpdate(int, uint8_t *expense, uint8_t *stored, uint32_t recid) {
    return Posted(stored) ? 1 : ToLedger(expense, recid);
}

// The import's store of a record new to this company: the person ledger
// does not travel with the file, so its entered mark does not either.
void BeforeStore(int reg, uint8_t *record) {
    if (!RecExists(reg, record)) PutU16(record, EX::Transferred, 0);
}

void AfterStore(int, uint8_t *expense, uint32_t recid) { (void)ToLedger(expense, recid); }

void NewDefaults(int, uint8_t *expense) {
    SetEntryUserCode();
    PutU32(expense, EX::SerNr, SerialNone);
    PutDate(expense, EX::TransDate, TodayDate);
    PutU16(expense, EX::Posted, 0);
    PutU16(expense, EX::Transferred, 0);
}

}  // namespace

// Fills register 109's entry of table, whole.
void InstallExpenseEntry(std::array<RegisterHooks, RegisterCount> &table) {
    table[EX::Number] = CheckedEntryWith({.beforeInsert = BeforeInsert, .afterInsert = AfterInsert,
        .beforeUpdate = BeforeUpdate, .afterUpdate = AfterUpdate, .beforeStore = BeforeStore, .afterStore = AfterStore,
        .newRecordDefaults = NewDefaults, .newRecordDefaultsOther = NewDefaults});
}
