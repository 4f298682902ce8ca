// asset_depreciation.h - what the fixed assets (register 60) depreciate by
// their models (register 122) over a period, the walk of the assets a
// report or the depreciation run covers, and the depreciation voucher
// (a register-9 record) that the run prints or stores.
//
// Months are MonthIndex values; the period, the code range, the selection
// codes and the book (Option2: the second book's models) come from the
// job record (ReportParamsVc layout) each call is given.
#pragma once

#include <cstdint>

#include "core/decimal.h"

// DepreciationMethod of a model: anything else depreciates nothing.
enum class DepreciationMethod : uint16_t { StraightLine = 1, DecliningBalance = 2 };

// The four amounts of an asset (or the sum of several) over a period.
struct AssetAmounts {
    PackedDecimal valueBefore;   // value before the period start
    PackedDecimal valueChange;   // value changes within the period
    PackedDecimal deprBefore;    // depreciation before the period start
    PackedDecimal deprPeriod;    // depreciation of the period
};

// value x (to - from + 1) / 12 x rate / 100 into out, unrounded; zero
// when to is before from.
void StraightLineDepreciation(const PackedDecimal *value, const PackedDecimal *rate, int32_t from, int32_t to,
                              PackedDecimal *out);
// The depreciation of value at rate over the months from..to, year by
// year on the falling balance (a last part year at its share), into out,
// unrounded; zero when to is before from.
void DecliningBalanceDepreciation(const PackedDecimal *value, const PackedDecimal *rate, int32_t from, int32_t to,
                                  PackedDecimal *out);
// Adds what the model (its code) depreciates of *value from startMonth
// into *accumulated (the months before periodFrom) and *period (the
// months periodFrom..periodTo); when periodFrom > periodTo every month up
// to periodTo counts as before. Declining balance lowers *value by what it
// took up to periodTo. This call's share never passes the value it was
// given; both totals end rounded to the model's decimals. A code that
// names no model adds nothing.
void AssetDepreciation(const uint8_t *modelCode, int32_t startMonth, int32_t periodFrom, int32_t periodTo,
                       PackedDecimal *value, PackedDecimal *accumulated, PackedDecimal *period);
// The amounts of asset over the period of the job record selection,
// added into *sums; printed as the asset's lines of report 99 when print
// is set. The depreciation never passes the asset's value at the period
// end.
void AssetPeriodAmounts(const uint8_t *selection, const uint8_t *asset, bool print, AssetAmounts *sums,
                        AssetAmounts *own = nullptr);
// Prints the three labelled lines (values, depreciation, book values) of
// amounts at x 280, 380 and 480.
void AssetAmountLines(const AssetAmounts *amounts);

// Calls each(asset) for every asset of the code range of the job record
// selection in code order that passes its selection codes and is not
// excluded, until each gives false or the user presses Esc after the
// asset at hand. The asset's rows are loaded while each runs.
void AssetWalk(const uint8_t *selection, bool (*each)(const uint8_t *asset, void *data), void *data);

// The depreciation voucher of the job record's period: mode 0 prints it
// as report 109, mode 1 stores it as register-9 records of at most 80
// rows (posted as they are stored). False when the run stored nothing it
// should have: an asset whose objects and its group's together pass five
// codes (named in a message; nothing stored), or a record that could not
// be numbered or stored (told).
bool DepreciationVoucherRows(const uint8_t *selection, int mode);
// Mode 0 prints the register-9 record; mode 1 dates it today, numbers it
// from register 9's series and inserts it, which posts it. False when it
// could not be numbered (nothing stored, told) or not stored.
bool DepreciationRecordOut(uint8_t *record, int mode);
