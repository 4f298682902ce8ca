// register_hooks_install.cpp - installing the rules' entries in the register
// hook table, and the record actions.
//
// Installed: the ledger's records 9, 11, 51 and 126, the sales invoice (5,
// by InstallInvoiceEntry), the customer receipt (10, by
// InstallReceiptEntry), the purchase invoice (28, by
// InstallPurchaseInvoiceEntry), the outgoing payment (30, by
// InstallVendorPaymentEntry), expenses and person payments (109, 110),
// the masters 2, 3,
// 15, 16, 19, 20, 21, 24, 26, 27, 39-44, 57, 60, 68 and 72, the item groups
// and the price registers 14, 50 and 62-66 and 71, projects (53),
// contracts (45), quotations (55), register 56, time sheets (54), the
// stock documents 4, 7, 8, 58, 77 and 92 (by InstallStockEntries), and the
// checks of settings blocks. Every register with business rules has its
// entry whole: none is marked waiting (the record layer's refusal of a
// waiting register's stores).
#include "rules/hooks.h"

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/system.h"
#include "core/work_blocks.h"
#include "database/access/register_hooks.h"
#include "operations/customer_receipt.h"
#include "operations/operations.h"
#include "operations/project_ops.h"
#include "operations/purchase_ledger.h"
#include "operations/stock_docs.h"
#include "rules/checks.h"
#include "rules/entry_state.h"
#include "rules/register_hooks_entries.h"
#include "rules/settings_checks.h"
#include "rules/settings_code_uses.h"
#include "rules/small_register_checks.h"

// Takes the current session user's code into EntryUserCode.
void SetEntryUserCode() { CurrentUserCode(EntryUserCode); }

namespace {

// ---- Time sheets (54) ----

// A new time sheet: dated today, numbered when it is inserted.
void TimeSheetDefaults(int, uint8_t *sheet) {
    SetEntryUserCode();
    PutU32(sheet, TimeSheetVc::SerNr, SerialNone);
    PutDate(sheet, TimeSheetVc::RegDate, TodayDate);
    PackedDecimal blank;
    DecSetBlank(&blank);
    PutDec(sheet, TimeSheetVc::Total, blank);
}

// A sheet inserted already marked transferred is carried over now.
int TimeSheetBeforeInsert(int, uint8_t *sheet) { return TimeSheetTransfer(sheet) ? 1 : 0; }

// A rewrite carries the sheet over only when it becomes transferred; a
// transferred sheet stays so, for clearing the flag and setting it again
// would carry its rows a second time.
int TimeSheetBeforeUpdate(int, uint8_t *sheet, uint8_t *stored, uint32_t) {
    if (GetU16(stored, TimeSheetVc::Transferred) != 0) {
        PutU16(sheet, TimeSheetVc::Transferred, GetU16(stored, TimeSheetVc::Transferred));
        StatusMarkFromFlag(sheet);
        return 1;
    }
    if (GetU16(sheet, TimeSheetVc::Transferred) == 0) return 1;
    return TimeSheetTransfer(sheet) ? 1 : 0;
}

// The whole entry of register 54.
void InstallTimeSheetEntry(std::array<RegisterHooks, RegisterCount> &table) {
    RegisterHooks h = CheckedEntry();
    h.newRecordDefaults = TimeSheetDefaults;
    h.beforeInsert = TimeSheetBeforeInsert;
    h.beforeUpdate = TimeSheetBeforeUpdate;
    table[TimeSheetVc::Number] = h;
}

}  // namespace

// Fills the whole entry of every installed register; the entries of other
// registers stay as they are, and running it again gives the same table.
void RulesInstall() {
    InstallLedgerEntries(RegisterHookTable);
    InstallMasterEntries(RegisterHookTable);
    InstallSmallRegisterEntries(RegisterHookTable);
    InstallSalesDocEntries(RegisterHookTable);
    InstallInvoiceEntry(RegisterHookTable);
    InstallReceiptEntry(RegisterHookTable);
    InstallPurchaseInvoiceEntry(RegisterHookTable);
    InstallVendorPaymentEntry(RegisterHookTable);
    InstallExpenseEntry(RegisterHookTable);
    InstallPersonPaymentEntry(RegisterHookTable);
    InstallTimeSheetEntry(RegisterHookTable);
    InstallStockEntries(RegisterHookTable);
    AccessServices = AccessServiceHooks{
        .settingsBlockCheck = SettingsBlockCheck,
        .settingsBlockAfterChange = SettingsBlockAfterChange,
        .settingsCodesKept = CheckCodesInUseKept,
    };
}

// Tells whether a register has an entry of the rules: any of its hooks set.
bool RegisterHasRules(int reg) {
    if (reg < 0 || reg >= RegisterCount) return false;
    const RegisterHooks &h = RegisterHookTable[(size_t)reg];
    return h.insertKeyExists || h.validateRecord || h.preserveStoredFields || h.beforeInsert || h.afterInsert ||
           h.beforeUpdate || h.afterUpdate || h.beforeStore || h.afterStore || h.canDelete || h.beforeDelete ||
           h.newRecordDefaults || h.newRecordDefaultsOther || h.recordCheck;
}

// Runs ApproveRecord (kind, reg, recid) at once and gives its result: false
// only when a store failed. The slot is not read.
bool RunRecordAction(int, ApproveKind kind, int reg, uint32_t recid) { return ApproveRecord(kind, reg, recid); }

// Lets other work in during long loops; a single-threaded run has none.
void PumpServerNoop() {}

// The rules' part of allocating the work blocks; they keep none of their own.
void BizInitNoop() {}
