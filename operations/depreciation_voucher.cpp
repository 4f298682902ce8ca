// depreciation_voucher.cpp - the depreciation voucher of the fixed assets:
// per asset a debit on its group's depreciation-cost account and a credit
// on its accumulated-depreciation account, gathered into register-9
// records of at most 80 rows that are printed (report 109) or stored and
// posted (the batch routine).
#include <cassert>
#include <cstring>
#include <utility>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/system.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "operations/asset_depreciation.h"
#include "operations/run_outcome.h"
#include "rules/accounts.h"
#include "rules/checks.h"
#include "rules/ledger.h"
#include "rules/ledger_print.h"
#include "rules/print_services.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"

namespace {

// A record goes out once it holds this many rows.
constexpr int32_t RecordRowsMax = 80;
// "Asset ": its objects and its group's pass five codes.
constexpr int TextObjectsTooMany = 11800;
// No free number of register 9.
constexpr int TextNoVoucherNumber = 11801;
// The asset's group lacks an account, or names one the chart does not
// hold, or there are no groups at all: each followed by what is missing.
constexpr int TextNoCostAccount = 15000, TextNoAccumulatedAccount = 15001, TextGroupAccountUnknown = 15002,
              TextNoAssetGroups = 15003;

// The rows of block 200 (asset groups), fetched for one run.
struct AssetGroups {
    MemBlock handle = 0;
    uint8_t *data = nullptr;
    int32_t count = 0;
    AssetGroups() {
        if (SettingsBlockFetch(&handle, AssetGroupBlk::Number) && handle)
            MemArrayLock(handle, AssetGroupBlk::Rows::Size, &data, &count);
        if (!data) count = 0;
    }
    ~AssetGroups() {
        if (data) MemUnlock(handle);
        if (handle) MemFree(&handle);
    }
    AssetGroups(const AssetGroups &) = delete;
    AssetGroups &operator=(const AssetGroups &) = delete;

    // The row of the asset's group; the first row when none has its
    // code; null when the block has no rows.
    const uint8_t *RowOf(const uint8_t *asset) const {
        PString group, code;
        GetText(asset, AssetVc::Class, group);
        for (int32_t i = 0; i < count; i++) {
            const uint8_t *row = data + (size_t)i * AssetGroupBlk::Rows::Size;
            GetText(row, AssetGroupBlk::Rows::Group, code);
            if (PStringEqual(code, group)) return row;
        }
        return count > 0 ? data : nullptr;
    }
};

// The objects of the asset's rows: its group's and its own as one object
// list; false when together they name more than five codes.
bool AssetObjects(const uint8_t *asset, const uint8_t *group, uint8_t *objects) {
    PString groupObjects, own;
    groupObjects[0] = 0;
    if (group) GetText(group, AssetGroupBlk::Rows::Objects, groupObjects);
    GetText(asset, AssetVc::Objects, own);
    return ObjectListMerge(groupObjects, own, objects);
}

// True when the asset was disposed of on or before the period end.
bool DisposedBy(const uint8_t *asset, const DateRec *end) {
    const DateRec disposed = GetDate(asset, AssetVc::DispDate);
    return !DateIsEmpty(&disposed) && DateCompare(&disposed, end) <= 0;
}

// A fresh voucher record: not numbered, no rows.
void StartRecord(uint8_t *record) {
    RecFreeMatrix(SMVc::Number, record);
    std::memset(record, 0, SMVc::Size);
    PutU32(record, SMVc::SerNr, SerialNone);
}

struct RunState {
    const uint8_t *selection;   // the job record the run walks
    int mode;
    DateRec periodEnd;
    const AssetGroups *groups;
    uint8_t *record;
    bool failed;
    uint8_t badAsset[256];   // what the message names after its text
    int badText;             // the message of the first pass's refusal
};

// Refuses the run at this asset with text, naming what (code, code).
bool Refuse(RunState *run, int text, const uint8_t *first, const uint8_t *second) {
    PStringCopy(run->badAsset, first);
    if (second) {
        PStringAppendC(run->badAsset, ", ");
        PStringAppend(run->badAsset, second);
    }
    run->badText = text;
    run->failed = true;
    return false;
}

// Why an asset that depreciates in the period cannot be posted: its group
// (or the lack of any) has no account on one side, or one the chart does
// not hold. Without this the rows on an empty account vanish and the run
// stores nothing and says nothing. 0 when it can be posted.
int AccountsRefusal(const uint8_t *group, uint8_t *missing) {
    if (!group) return TextNoAssetGroups;
    PString account, name;
    const std::pair<uint32_t, int> sides[] = {{AssetGroupBlk::Rows::DeprCostAcc, TextNoCostAccount},
                                              {AssetGroupBlk::Rows::AccDeprAcc, TextNoAccumulatedAccount}};
    for (const auto &[at, text] : sides) {
        GetPString(group, at, 10, account);
        if (account[0] == 0) return text;
        if (!AccountNameOf(account, name, 20)) {
            PStringCopy(missing, account);
            return TextGroupAccountUnknown;
        }
    }
    return 0;
}

// The first pass: stops on the first asset whose objects cannot be one
// object list or whose depreciation has no accounts to go to, so that the
// run stores nothing when one is wrong.
bool CheckAsset(const uint8_t *asset, void *data) {
    RunState *run = static_cast<RunState *>(data);
    if (DisposedBy(asset, &run->periodEnd)) return true;
    PString objects, code, group;
    GetText(asset, AssetVc::Code, code);
    const uint8_t *row = run->groups->RowOf(asset);
    if (!AssetObjects(asset, row, objects)) return Refuse(run, TextObjectsTooMany, code, nullptr);
    AssetAmounts amounts;
    AssetPeriodAmounts(run->selection, asset, false, nullptr, &amounts);
    if (DecIsZero(&amounts.deprPeriod)) return true;
    PString missing;
    missing[0] = 0;
    const int text = AccountsRefusal(row, missing);
    if (text == 0) return true;
    if (text == TextNoAssetGroups) return Refuse(run, text, code, nullptr);
    GetText(row, AssetGroupBlk::Rows::Group, group);
    return Refuse(run, text, group, text == TextGroupAccountUnknown ? missing : code);
}

// Adds one debit or credit row of amount on account, named by the
// account's name.
void AddRow(uint8_t *record, const uint8_t *account, const uint8_t *objects, const PackedDecimal *amount, bool debit) {
    PString name;
    if (!AccountNameOf(account, name, 20)) name[0] = 0;
    AddAccountRow(record, account, objects, nullptr, name, amount, true, debit, nullptr);
}

// The second pass: the asset's two rows, the record sent out first when
// it is full.
bool AddAsset(const uint8_t *asset, void *data) {
    RunState *run = static_cast<RunState *>(data);
    if (DisposedBy(asset, &run->periodEnd)) return true;
    if (MatrixRowCount(SMVc::Number, 0, run->record) >= RecordRowsMax) {
        if (!DepreciationRecordOut(run->record, run->mode)) {
            run->failed = true;
            return false;
        }
        StartRecord(run->record);
    }
    const uint8_t *group = run->groups->RowOf(asset);
    AssetAmounts amounts;
    AssetPeriodAmounts(run->selection, asset, false, nullptr, &amounts);
    PString objects, costAccount, accumulatedAccount;
    if (!AssetObjects(asset, group, objects)) {   // checked in the first pass
        GetText(asset, AssetVc::Code, run->badAsset);
        run->failed = true;
        return false;
    }
    costAccount[0] = accumulatedAccount[0] = 0;
    if (group) {
        GetText(group, AssetGroupBlk::Rows::DeprCostAcc, costAccount);
        GetText(group, AssetGroupBlk::Rows::AccDeprAcc, accumulatedAccount);
    }
    AddRow(run->record, costAccount, objects, &amounts.deprPeriod, true);
    AddRow(run->record, accumulatedAccount, objects, &amounts.deprPeriod, false);
    AccountRowsBalance(run->record);
    PutU32(run->record, SMVc::SerNr, SerialNone);
    return true;
}

// Tells that the asset's objects cannot be one object list.
void TellBadObjects(const uint8_t *code) { ShowMessage(TextObjectsTooMany, code); }

// The first pass's refusal told.
void TellRefusal(const RunState &run) { ShowMessage(run.badText, run.badAsset); }

// The closing line's texts (texts_run_outcomes.dict).
constexpr int TextVoucherMade = 14231, TextVouchersMade = 14232, TextNothingToBook = 14260;

// The stored run's closing line: the voucher made and its number
// (serial; -1 when none was made, and then why).
void DepreciationOutcomeTell(int32_t serial)
{
    RunOutcome outcome;
    RunStart(&outcome, 0);
    if (serial >= 0) {
        RunCount(&outcome, 1, TextVoucherMade, TextVouchersMade);
        RunNumber(&outcome, serial);
    }
    RunNothing(&outcome, TextNothingToBook);
    RunFinish(&outcome, 0);
}

}  // namespace

bool DepreciationRecordOut(uint8_t *record, int mode) {
    assert(record);
    if (mode == 0) {
        return LedgerPrintAccountRows(record);
    }
    PutDate(record, SMVc::Date, TodayDate);
    const int32_t serial = NextSerialNumber(SMVc::Number, &TodayDate, 0, 0);
    if (serial == NoFreeNumber) {
        ShowMessage(TextNoVoucherNumber, nullptr);
        return false;
    }
    PutU32(record, SMVc::SerNr, (uint32_t)serial);
    uint32_t recid = 0;
    return RecInsertUnchecked(SMVc::Number, record, &recid);
}

bool DepreciationVoucherRows(const uint8_t *selection, int mode) {
    assert(selection);
    AssetGroups groups;
    RuleRecord record(SMVc::Number);
    if (!record.record) return false;
    RunState run{selection, mode, GetDate(selection, ReportParamsVc::DateTo), &groups, record.record, false, {0}, 0};

    // Whatever would stop the run stops it before the first record is
    // stored or the first line printed.
    if (mode == 0 && !ReportLinesReady()) return false;
    if (mode == 1 && NextSerialNumber(SMVc::Number, &TodayDate, 0, 0) == NoFreeNumber) {
        ShowMessage(TextNoVoucherNumber, nullptr);
        return false;
    }
    if (mode == 1 && IsDateLocked(&TodayDate, Voucher::Number)) {   // the voucher is dated today
        ShowTextMessage(Texts::DateLocked);
        return false;
    }
    AssetWalk(selection, CheckAsset, &run);
    if (run.failed) {
        TellRefusal(run);
        return false;
    }
    StartRecord(record.record);
    if (mode == 0) {
        ReportBeginJob(5300);
        ReportStartLine(12);
        ReportTextNr(15, 5301, 0);
        ReportTextNr(60, 5302, 0);
        ReportTextNr(100, 5303, 0);
        ReportTextNr(380, 5304, -1);
        ReportTextNr(465, 5305, -1);
        ReportEndLine();
        ReportRule(1, 2);
    }
    AssetWalk(selection, AddAsset, &run);
    if (run.failed && run.badAsset[0]) TellBadObjects(run.badAsset);
    bool ok = !run.failed;
    const bool rows = MatrixRowCount(SMVc::Number, 0, record.record) > 0;
    if (ok && rows) ok = DepreciationRecordOut(record.record, mode);
    // The stored voucher (or why none) is the run's closing line; a
    // refusal was told on its own above.
    if (mode == 1 && ok) DepreciationOutcomeTell(rows ? int32_t(GetU32(record.record, SMVc::SerNr)) : -1);
    RecFreeMatrix(SMVc::Number, record.record);
    if (mode == 0) ReportEndJob();
    return ok;
}
