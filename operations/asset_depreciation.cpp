// asset_depreciation.cpp - the depreciation of one fixed asset: the two
// methods of a depreciation model, one model's share over a segment of
// months, and an asset's values and depreciation over the job record's
// period walked along its rows (each row a change of value or model).
#include "operations/asset_depreciation.h"

#include <cassert>
#include <cstring>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "core/ui_text.h"
#include "core/work_blocks.h"
#include "database/access/record_access.h"
#include "rules/ledger.h"
#include "rules/print_services.h"
#include "rules/rules_types.h"

namespace {

constexpr int LineHeight = 12;

// The model of code into model; false when no model has that code.
bool ReadModel(const uint8_t *code, uint8_t *model) {
    if (!code[0]) return false;
    PutText(model, DeprModelVc::Code, code);
    return RecFindByFirstKey(DeprModelVc::Number, model);
}

// value x months x rate / 1200: a year's rate over months of it.
void ShareOfYear(const PackedDecimal *value, const PackedDecimal *rate, int32_t months, PackedDecimal *out) {
    PackedDecimal n, divisor;
    DecFromLong(&n, months);
    DecFromLong(&divisor, 1200);
    DecMul(value, &n, out);
    DecMul(out, rate, out);
    DecDiv(out, &divisor, out);
}

// The depreciation of method over from..to.
void MethodAmount(uint16_t method, const PackedDecimal *value, const PackedDecimal *rate, int32_t from, int32_t to,
                  PackedDecimal *out) {
    if (method == (uint16_t)DepreciationMethod::StraightLine) StraightLineDepreciation(value, rate, from, to, out);
    else if (method == (uint16_t)DepreciationMethod::DecliningBalance)
        DecliningBalanceDepreciation(value, rate, from, to, out);
    else DecSetZero(out);
}

// a, but no more than cap.
void CapAt(PackedDecimal *a, const PackedDecimal *cap) {
    if (DecCompare(a, cap) > 0) *a = *cap;
}

// Blank amounts read as zero from here on, so that sums and comparisons
// never meet a blank.
void ZeroIfBlank(PackedDecimal *a) {
    if (DecIsBlank(a)) DecSetZero(a);
}

int32_t MonthOf(const DateRec *date) { return (int32_t)MonthIndex(date); }

// The day before date.
DateRec DayBefore(const DateRec *date) {
    DateRec d;
    DateAddDays(date, -1, &d);
    return d;
}

// Writes amount right-aligned at x.
void AmountAt(int x, const PackedDecimal *amount) {
    uint8_t slot[sizeof(PackedDecimal)];
    PutDec(slot, 0, *amount);
    ReportValue(x, slot, FtAmount2, -1);
}

// One labelled line: text, then before, in-period and end at 280, 380, 480.
void AmountLine(int text, const PackedDecimal *before, const PackedDecimal *change, const PackedDecimal *end) {
    ReportStartLine(LineHeight);
    ReportTextNr(15, text, 0);
    AmountAt(280, before);
    AmountAt(380, change);
    AmountAt(480, end);
    ReportEndLine();
}

}  // namespace

void StraightLineDepreciation(const PackedDecimal *value, const PackedDecimal *rate, int32_t from, int32_t to,
                              PackedDecimal *out) {
    if (to < from) {
        DecSetZero(out);
        return;
    }
    ShareOfYear(value, rate, to - from + 1, out);
}

void DecliningBalanceDepreciation(const PackedDecimal *value, const PackedDecimal *rate, int32_t from, int32_t to,
                                  PackedDecimal *out) {
    DecSetZero(out);
    PackedDecimal base = *value, step;
    for (int32_t n = to - from + 1; n > 0;) {
        const int32_t m = n < 12 ? n : 12;
        ShareOfYear(&base, rate, m, &step);
        DecSub(&base, &step, &base);
        DecAdd(out, &step, out);
        n -= m;
    }
}

// The call's own share is capped at the value it was given rather than
// the running totals: a later row restarts its model on the row's value,
// so the totals of earlier rows are not this value's to cap (the asset's
// whole depreciation is capped at its value in AssetPeriodAmounts).
void AssetDepreciation(const uint8_t *modelCode, int32_t startMonth, int32_t periodFrom, int32_t periodTo,
                       PackedDecimal *value, PackedDecimal *accumulated, PackedDecimal *period) {
    ZeroIfBlank(accumulated);
    ZeroIfBlank(period);
    RuleRecord model(DeprModelVc::Number);
    if (!model.record || !ReadModel(modelCode, model.record)) return;
    const uint16_t method = GetU16(model.record, DeprModelVc::Method);
    const PackedDecimal rate = GetDec(model.record, DeprModelVc::RatePct);
    const int decimals = GetU16(model.record, DeprModelVc::Decimals);
    PackedDecimal given = *value, before, all;
    ZeroIfBlank(&given);
    DecSetZero(&before);
    if (periodFrom <= periodTo) MethodAmount(method, &given, &rate, startMonth, periodFrom - 1, &before);
    MethodAmount(method, &given, &rate, startMonth, periodTo, &all);
    if (method == (uint16_t)DepreciationMethod::DecliningBalance) DecSub(&given, &all, value);
    CapAt(&all, &given);
    CapAt(&before, &all);
    if (periodFrom <= periodTo) {
        PackedDecimal inPeriod;
        DecSub(&all, &before, &inPeriod);
        DecAdd(period, &inPeriod, period);
        DecAdd(accumulated, &before, accumulated);
    } else {
        DecAdd(accumulated, &all, accumulated);
    }
    DecRound(period, decimals, period);
    DecRound(accumulated, decimals, accumulated);
}

void AssetPeriodAmounts(const uint8_t *selection, const uint8_t *asset, bool print, AssetAmounts *sums,
                        AssetAmounts *own) {
    assert(selection && asset);
    const DateRec periodStart = GetDate(selection, ReportParamsVc::DateFrom);
    const DateRec periodEnd = GetDate(selection, ReportParamsVc::DateTo);
    const uint32_t modelAt = GetU16(selection, ReportParamsVc::Option2) ? AssetVc::Rows::Model2
                                                                         : AssetVc::Rows::Model1;
    AssetAmounts a;
    PackedDecimal value = GetDec(asset, AssetVc::AcqValue);
    ZeroIfBlank(&value);
    a.valueBefore = value;
    DecSetZero(&a.valueChange);
    DecSetZero(&a.deprBefore);
    DecSetZero(&a.deprPeriod);
    // The depreciation base: the value, lowered by what a declining
    // balance has taken, set afresh by a row with a new value.
    PackedDecimal base = value;

    const int32_t rows = MatrixRowCount(AssetVc::Number, 0, asset);
    uint8_t row[AssetVc::Rows::Size], next[AssetVc::Rows::Size];
    bool haveRow = rows > 0 && MatrixRowRead(AssetVc::Number, asset, 0, row);
    for (int32_t i = 0; haveRow; i++) {
        const DateRec rowDate = GetDate(row, AssetVc::Rows::RowDate);
        if (DateCompare(&rowDate, &periodEnd) > 0) break;
        const bool haveNext = i + 1 < rows && MatrixRowRead(AssetVc::Number, asset, i + 1, next);
        const PackedDecimal newValue = GetDec(row, AssetVc::Rows::NewValue);
        if (!DecIsBlank(&newValue)) {
            PackedDecimal difference;
            DecSub(&newValue, &value, &difference);
            PackedDecimal *into = DateCompare(&rowDate, &periodStart) >= 0 ? &a.valueChange : &a.valueBefore;
            DecAdd(into, &difference, into);
            value = newValue;
            base = newValue;
        }
        DateRec segmentEnd = periodEnd;
        if (haveNext) {
            const DateRec nextDate = GetDate(next, AssetVc::Rows::RowDate);
            segmentEnd = DayBefore(&nextDate);
        }
        const DateRec from = DateCompare(&periodStart, &rowDate) > 0 ? periodStart : rowDate;
        const DateRec to = DateCompare(&periodEnd, &segmentEnd) < 0 ? periodEnd : segmentEnd;
        PString model;
        GetPString(row, modelAt, 5, model);
        AssetDepreciation(model, MonthOf(&rowDate), MonthOf(&from), MonthOf(&to), &base, &a.deprBefore,
                          &a.deprPeriod);
        if (!haveNext) break;
        std::memcpy(row, next, sizeof row);
    }

    PackedDecimal valueEnd, zero;
    DecAdd(&a.valueBefore, &a.valueChange, &valueEnd);
    DecSetZero(&zero);
    if (DecCompare(&a.deprPeriod, &zero) < 0) a.deprPeriod = zero;
    // Never more depreciation than the asset is worth at the period end.
    PackedDecimal cap = valueEnd;
    if (DecCompare(&cap, &zero) < 0) cap = zero;
    CapAt(&a.deprBefore, &cap);
    PackedDecimal room;
    DecSub(&cap, &a.deprBefore, &room);
    CapAt(&a.deprPeriod, &room);

    if (print) {
        ReportStartLine(LineHeight);
        PString text;
        GetText(asset, AssetVc::Code, text);
        ReportText(0, text);
        GetText(asset, AssetVc::Name, text);
        ReportText(100, text);
        ReportEndLine();
        AssetAmountLines(&a);
        ReportRule(1, 1);
    }
    if (own) *own = a;
    if (sums) {
        DecAdd(&sums->valueBefore, &a.valueBefore, &sums->valueBefore);
        DecAdd(&sums->valueChange, &a.valueChange, &sums->valueChange);
        DecAdd(&sums->deprBefore, &a.deprBefore, &sums->deprBefore);
        DecAdd(&sums->deprPeriod, &a.deprPeriod, &sums->deprPeriod);
    }
}

void AssetAmountLines(const AssetAmounts *a) {
    PackedDecimal valueEnd, deprEnd, bookBefore, bookChange, bookEnd;
    DecAdd(&a->valueBefore, &a->valueChange, &valueEnd);
    DecAdd(&a->deprBefore, &a->deprPeriod, &deprEnd);
    DecSub(&a->valueBefore, &a->deprBefore, &bookBefore);
    DecSub(&a->valueChange, &a->deprPeriod, &bookChange);
    DecSub(&valueEnd, &deprEnd, &bookEnd);
    AmountLine(5288, &a->valueBefore, &a->valueChange, &valueEnd);
    AmountLine(5289, &a->deprBefore, &a->deprPeriod, &deprEnd);
    AmountLine(5290, &bookBefore, &bookChange, &bookEnd);
}
