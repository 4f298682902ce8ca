// field_changed.cpp - what a record window does after a field's value was
// taken into its record (event 6): the period text of report windows,
// look-ups that fill a name from a code, and, by window type, the field
// logic of the smaller record windows (in their own files).
#include "core/field_access.h"
#include "core/pstring.h"
#include "core/window_kind.h"
#include "core/work_blocks.h"
#include "dict_offsets.h"
#include "operations/project_ops.h"
#include "recordwin/record_windows.h"
#include "recordwin/window_rows.h"
#include "rules/accounts.h"
#include "rules/checks.h"
#include "rules/rules_types.h"
#include "rules/series_terms.h"
#include "shell/field_editing.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"

namespace {

namespace Rp = ReportParamsVc;
constexpr int PeriodTextMax = 31, NameMax = 60, AccountMax = 10, CodeMax = 20, PersonCodeMax = 5, CodedTextMax = 5;

// The report-selection kinds whose windows carry a period text.
bool IsReportKind(int kind) { return kind == 6 || kind == 7 || kind == 10; }

// The period text at byte 816 of a report selection and its From and To
// dates never disagree, so that a report runs for the dates on screen: a
// period text the user changed is read into the dates (and written back in
// normal form), and dates the user changed write the period text. A
// period text left as it was is not read again: it would put back the
// dates it held before they were typed.
void ReportPeriodLeft(int window, uint8_t *rec, int id, uint8_t changed)
{
    if (!changed) return;
    const bool period = id == int(Rp::PeriodText);
    if (!period && id != int(Rp::DateFrom) && id != int(Rp::DateTo)) return;
    PString text;
    GetText(rec, Rp::PeriodText, text);
    DateRec from = GetDate(rec, Rp::DateFrom), to = GetDate(rec, Rp::DateTo);
    if (period) {
        PeriodTextParse(text, &from, &to);
        PutDate(rec, Rp::DateFrom, from);
        PutDate(rec, Rp::DateTo, to);
        WinRedrawFieldById(window, int(Rp::DateFrom));
        WinRedrawFieldById(window, int(Rp::DateTo));
    } else {
        PeriodTextOf(&from, &to, text);
    }
    PutText(rec, Rp::PeriodText, text);
    WinRedrawFieldById(window, int(Rp::PeriodText));
}

// The order status (488) and the purchase-order status (492) compare
// their reference range by the kind settings block 220 gives: true when
// that kind is dates, and the range a period text.
bool ReferenceRangeIsPeriod(int type)
{
    if (type != 488 && type != 492) return false;
    const uint8_t *kind = SettingsRecord(ValueKindBlk::Number, Block220);
    return kind && GetU16(kind, ValueKindBlk::ValueKind) == 1;
}

// The balance and result statements (401, 402) select by one of two
// alternatives, an object list or an object type: filling one empties
// the other, so that at most one of them is ever filled.
void AlternativeLeft(int window, uint8_t *rec, int id, uint8_t changed)
{
    if (!changed || (id != int(Rp::ObjectSel) && id != int(Rp::ObjectType))) return;
    if (rec[id] == 0) return;
    uint32_t other = id == int(Rp::ObjectSel) ? uint32_t(Rp::ObjectType) : Rp::ObjectSel;
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

// What a look-up does when no record has the code: beep, empty the
// name, or leave it.
enum class Missing { Beep, Empty, Keep };

// A look-up of a window type: when the field at byte `field` changed, the
// record of `reg` whose code (at `keyAt`, at most `max` characters) is the
// field's value gives its text at `from` (60 characters) to the window's
// record at `to`, and its amount at `amountFrom` to `amountTo` (None: no
// amount). `mark`: the window is marked changed, found or not.
constexpr uint32_t None = 0xFFFFFFFFu;
struct Lookup {
    int type;
    int holder;   // the register of the window's records
    uint32_t field;
    int reg;
    uint32_t keyAt;
    int max;
    uint32_t from, to;
    Missing missing;
    bool mark;
    uint32_t amountFrom = None, amountTo = None;
};

// Project (259): customer and leader; purchase prices of items (284):
// item and vendor; price lists (320); assets (325): vendor; time items
// (364); customer price lists (370); coded texts (457).
const Lookup Lookups[] = {
    {259, ProjectVc::Number, ProjectVc::CustCode, CUVc::Number, CUVc::Code, CodeMax, CUVc::Name, ProjectVc::CustName, Missing::Empty, false},
    {259, ProjectVc::Number, ProjectVc::Leader, PEVc::Number, PEVc::Code, PersonCodeMax, PEVc::Name, ProjectVc::LeaderName, Missing::Empty,
     false},
    {284, PurchItemVc::Number, PurchItemVc::ItemCode, INVc::Number, INVc::Code, CodeMax, INVc::Name, PurchItemVc::Text, Missing::Beep, false,
     INVc::CostPrice, PurchItemVc::Price},
    {284, PurchItemVc::Number, PurchItemVc::VendCode, VEVc::Number, VEVc::Code, CodeMax, VEVc::Name, PurchItemVc::VendName, Missing::Beep,
     false},
    {320, PriceVc::Number, PriceVc::ItemCode, INVc::Number, INVc::Code, CodeMax, INVc::Name, PriceVc::ItemName, Missing::Keep, true},
    {325, AssetVc::Number, AssetVc::VendCode, VEVc::Number, VEVc::Code, CodeMax, VEVc::Name, AssetVc::VendName, Missing::Beep, false},
    {364, TimeItemVc::Number, TimeItemVc::ItemCode, INVc::Number, INVc::Code, CodeMax, INVc::Name, TimeItemVc::ItemName, Missing::Keep, true},
    {370, CustPriceVc::Number, CustPriceVc::CustCode, CUVc::Number, CUVc::Code, CodeMax, CUVc::Name, CustPriceVc::Name, Missing::Keep, true},
    {457, CodedTextVc::Number, CodedTextVc::Code, CodedTextVc::Number, CodedTextVc::Code, CodedTextMax, CodedTextVc::Text, CodedTextVc::Text,
     Missing::Keep, false},
};

// Runs the look-up of the window's type for the changed field at `id`;
// false when the type has none for it.
bool LookupLeft(int window, int type, uint8_t *rec, int id)
{
    for (const Lookup &l : Lookups) {
        if (l.type != type || int(l.field) != id || !WinRecordIs(window, l.holder)) continue;
        PString code, name;
        GetPString(rec, l.field, l.max, code);
        RuleRecord found(l.reg);
        bool ok = found.record && ProjectReadByCode(found, l.keyAt, l.max, code);
        if (ok) {
            GetPString(found.record, l.from, NameMax, name);
            PutPString(rec, l.to, NameMax, name);
            WinRedrawFieldById(window, int(l.to));
            if (l.amountFrom != None) {
                PutDec(rec, l.amountTo, GetDec(found.record, l.amountFrom));
                WinRedrawFieldById(window, int(l.amountTo));
            }
        } else if (l.missing == Missing::Beep) {
            Beep();
        } else if (l.missing == Missing::Empty) {
            rec[l.to] = 0;
            WinRedrawFieldById(window, int(l.to));
        }
        if (l.mark) WinMarkChanged(window);
        return true;
    }
    return false;
}

}  // namespace

// A new record in record window `window` whose numbering date is screen
// field `field` gives up a number no series holds on its new date
// (NumberFollowsDate), and its number field is drawn again. A record is
// new while it is not stored: opened new (no record id) or started by New
// after another was stored, when the window keeps that record's id to go
// back to on Cancel.
void NewRecordNumberFollowsDate(int window, int field)
{
    if (!WinIsOpen(window) || WinKindOf(window) != KindCode(WindowKind::Record)) return;
    if (WinRecState(window) != 1 && WinTable[window]->recordId != 0) return;
    uint8_t *rec = WinRecordBuffer(window);
    FieldPlace at = WinFieldPlace(window, field);
    if (!rec || at.IsCell() || at.id < 0) return;
    uint32_t serialAt = 0;
    if (NumberFollowsDate(WinRegisterOf(window), rec, uint32_t(at.id), &serialAt))
        WinRedrawFieldById(window, int(serialAt));
}

// True when screen field `field` of the window holds a period text: the
// period of a report selection (kinds 6, 7 and 10), or the reference
// range of the order statuses while it is compared as dates. What is
// typed there is read as dates and refused as a date field refuses one.
bool WinFieldIsPeriodText(int window, int field)
{
    if (!WinIsOpen(window) || !WinRecordIs(window, Rp::Number)) return false;
    FieldPlace at = WinFieldPlace(window, field);
    if (at.IsCell()) return false;
    if (at.id == int(Rp::PeriodText)) return IsReportKind(WinKindOf(window));
    return at.id == int(Rp::SelText4) && ReferenceRangeIsPeriod(WinTypeOf(window));
}

// Event 6: screen field `field` of the window was committed; `changed` is
// 1 when its value differs from before. A report selection keeps its
// period text and dates alike; then the window's type carries the value on. Nothing is
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
    bool selection = WinRecordIs(window, Rp::Number);
    if (selection && IsReportKind(WinKindOf(window))) ReportPeriodLeft(window, rec, id, changed);
    if (changed && id != NoField && LookupLeft(window, type, rec, id)) return;
    switch (type) {
    // The voucher print-out (90) reads its range of voucher references
    // into the series and number words its run walks by. 101 and 125 are
    // numbers no window has here; the transaction journal (418), whose
    // report reads the same words, shows them as fields of their own.
    case 90: case 101: case 125:
        if (selection && id == int(Rp::SelText1)) {
            PString range;
            GetText(rec, Rp::SelText1, range);
            uint16_t codeFrom = 0, codeTo = 0;
            int32_t from = -1, to = -1;
            ParseVoucherRefRange(range, &codeFrom, &codeTo, &from, &to);
            PutU16(rec, Rp::Option1, codeFrom);
            PutU16(rec, Rp::Option2, codeTo);
            PutI32(rec, Rp::NumberFrom, from);
            PutI32(rec, Rp::NumberTo, to);
        }
        return;
    case 117: VoucherFieldChanged(window, field, changed); return;
    case 122: ProductionFieldLeave(window, field, changed); return;
    case 140:
        // A distribution key's factor sum follows every field.
        if (!WinRecordIs(window, DKVc::Number)) return;
        AmountListTotal(rec);
        WinRedrawFieldById(window, int(DKVc::FactorSum));
        return;
    case 143:
        if (changed && id == int(BUVc::Account) && WinRecordIs(window, BUVc::Number)) AccountNameLeft(window, rec, BUVc::Account, BUVc::AccName);
        return;
    case 145:
        if (changed && id == int(BPVc::Account) && WinRecordIs(window, BPVc::Number)) AccountNameLeft(window, rec, BPVc::Account, BPVc::AccName);
        return;
    case 197: PurchaseFieldLeave(window, field, changed); return;
    case 268: TimeSheetFieldLeave(window, field, changed); return;
    case 360: CostBudgetFieldLeave(window, field, changed); return;
    case 362: TimeBudgetFieldLeave(window, field, changed); return;
    case 367: ItemStructureFieldLeave(window, field, changed); return;
    case 354: DeliveryRowAvailabilityCheck(window, field, changed); return;
    case 401: case 402:
        if (selection) AlternativeLeft(window, rec, id, changed);
        return;
    case 426: StockMovementFieldLeave(window, field, changed); return;
    // As dates the reference range typed is written back in the normal
    // form of a period.
    case 488: case 492:
        if (!selection || id != int(Rp::SelText4)) return;
        if (ReferenceRangeIsPeriod(type)) {
            PString text;
            GetText(rec, Rp::SelText4, text);
            DateRec from{}, to{};
            PeriodTextParse(text, &from, &to);
            PutText(rec, Rp::SelText4, text);
            WinRedrawFieldById(window, int(Rp::SelText4));
        }
        return;
    default: return;   // the account-row windows (164, 255, 533) carry their own logic
    }
}
