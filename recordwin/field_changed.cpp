// field_changed.cpp - what a record window does after a field's value was
// taken into its record (event 6): the period text of report windows,
// look-ups that fill a name from a code, and, by window type, the field
// logic of the smaller record windows (in their own files).
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "operations/project_ops.h"
#include "recordwin/record_windows.h"
#include "recordwin/window_rows.h"
#include "rules/accounts.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

namespace Rp = ReportParamsVc;
constexpr int PeriodTextMax = 31, NameMax = 60, AccountMax = 10, CodeMax = 20, PersonCodeMax = 5;

// The report-selection kinds whose windows carry a period text.
bool IsReportKind(int kind) { return kind == 6 || kind == 7 || kind == 10; }

// The period text at byte 816 of a report selection, read and written
// back in normal form with its dates into the selection.
void ReportPeriodLeft(int window, uint8_t *rec)
{
    PString text;
    GetPString(rec, Rp::PeriodText, PeriodTextMax, text);
    DateRec from = GetDate(rec, Rp::DateFrom), to = GetDate(rec, Rp::DateTo);
    PeriodTextParse(text, &from, &to);
    PutPString(rec, Rp::PeriodText, PeriodTextMax, text);
    PutDate(rec, Rp::DateFrom, from);
    PutDate(rec, Rp::DateTo, to);
    WinRedrawFieldById(window, int(Rp::PeriodText));
}

// Windows 111 and 112 select by one of two alternatives: filling one
// empties the other.
void AlternativeLeft(int window, uint8_t *rec, int id, uint8_t changed)
{
    if (!changed || (id != int(Rp::ObjectSel) && id != int(Rp::ObjectType))) return;
    if (rec[id] == 0) return;
    uint32_t other = id == int(Rp::ObjectSel) ? Rp::ObjectType : Rp::ObjectSel;
    rec[other] = 0;
    WinRedrawFieldById(window, int(other));
}

// The name of the account whose code is at byte `codeAt` into the text
// field at `nameAt` (60 characters); empty for an unknown account.
void AccountNameLeft(int window, uint8_t *rec, uint32_t codeAt, uint32_t nameAt)
{
    PString code, name;
    GetPString(rec, codeAt, AccountMax, code);
    if (!AccountNameOf(code, name, NameMax)) name[0] = 0;
    PutPString(rec, nameAt, NameMax, name);
    WinRedrawFieldById(window, int(nameAt));
}

// Reads the record of `reg` whose code (at `keyAt`, at most `max`
// characters) is the one at `codeAt` of rec, and copies its text at
// `from` into rec's at `to`; emptied when there is none.
void NameByCode(int window, uint8_t *rec, int reg, uint32_t keyAt, int max, uint32_t codeAt, uint32_t from,
                uint32_t to)
{
    PString code, name;
    GetPString(rec, codeAt, max, code);
    RuleRecord found(reg);
    name[0] = 0;
    if (found.record && ProjectReadByCode(found, keyAt, max, code)) GetPString(found.record, from, NameMax, name);
    PutPString(rec, to, NameMax, name);
    WinRedrawFieldById(window, int(to));
}

// Type 259 (project): its customer and its leader by code.
void ProjectLeft(int window, uint8_t *rec, int id, uint8_t changed)
{
    if (!changed) return;
    if (id == int(ProjectVc::CustCode))
        NameByCode(window, rec, CUVc::Number, CUVc::Code, CodeMax, ProjectVc::CustCode, CUVc::Name, ProjectVc::CustName);
    else if (id == int(ProjectVc::Leader))
        NameByCode(window, rec, PEVc::Number, PEVc::Code, PersonCodeMax, ProjectVc::Leader, PEVc::Name,
                   ProjectVc::LeaderName);
}

}  // namespace

// Event 6: screen field `field` of the window was committed; `changed` is
// 1 when its value differs from before. A report selection reads its
// period text; then the window's type carries the value on. Nothing is
// refused: the event reports after the fact.
void FieldChangedEvent(int window, int field, uint8_t changed)
{
    if (!WinIsOpen(window)) return;
    uint8_t *rec = WinRecordBuffer(window);
    if (!rec) return;
    FieldPlace at = WinFieldPlace(window, field);
    int id = at.IsCell() ? NoField : at.id;
    int type = WinTypeOf(window);
    // Report selections lay their records out as the report parameters.
    bool selection = WinTypeWord(type, 2) >= Rp::Size;
    if (selection && IsReportKind(WinKindOf(window)) && id == int(Rp::PeriodText)) ReportPeriodLeft(window, rec);
    switch (type) {
    case 90: case 101: case 125:
        if (selection && id == int(Rp::SelText1)) {
            PString range;
            GetPString(rec, Rp::SelText1, 255, range);
            uint16_t codeFrom = 0, codeTo = 0;
            int32_t from = -1, to = -1;
            ParseVoucherRefRange(range, &codeFrom, &codeTo, &from, &to);
            PutU16(rec, Rp::Option1, codeFrom);
            PutU16(rec, Rp::Option2, codeTo);
            PutI32(rec, Rp::NumberFrom, from);
            PutI32(rec, Rp::NumberTo, to);
        }
        return;
    case 111: case 112:
        if (selection) AlternativeLeft(window, rec, id, changed);
        return;
    case 122: ProductionFieldLeave(window, field, changed); return;
    case 143:
        if (changed && id == int(BUVc::Account)) AccountNameLeft(window, rec, BUVc::Account, BUVc::AccName);
        return;
    case 145:
        if (changed && id == int(BPVc::Account)) AccountNameLeft(window, rec, BPVc::Account, BPVc::AccName);
        return;
    case 197: PurchaseFieldLeave(window, field, changed); return;
    case 234:
        if (!selection || id != int(Rp::SelText4)) return;
        if (const uint8_t *kind = SettingsRecord(ValueKindBlk::Number, Block220);
            kind && GetU16(kind, ValueKindBlk::ValueKind) == 1) {
            PString text;
            GetPString(rec, Rp::SelText4, PeriodTextMax, text);
            DateRec from{}, to{};
            PeriodTextParse(text, &from, &to);
            PutPString(rec, Rp::SelText4, PeriodTextMax, text);
            WinRedrawFieldById(window, int(Rp::SelText4));
        }
        return;
    case 259: ProjectLeft(window, rec, id, changed); return;
    case 268: TimeSheetFieldLeave(window, field, changed); return;
    case 360: CostBudgetFieldLeave(window, field, changed); return;
    case 362: TimeBudgetFieldLeave(window, field, changed); return;
    case 367: ItemStructureFieldLeave(window, field, changed); return;
    case 426: StockMovementFieldLeave(window, field, changed); return;
    default: return;   // the voucher windows (117, 164, 255, 533) carry their own logic
    }
}
