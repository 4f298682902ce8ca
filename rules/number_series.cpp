// number_series.cpp - the number series of the registers and the serial
// numbers they give.
//
// A number-series block is a table of SeriesRow rows (rules_types.h): a
// range first..last with an optional period of validity. A new record
// takes the next free number of the first row valid on its date; a typed
// number is accepted only when a valid row holds it. Vouchers number
// within their fiscal year (NextFreeSerialNumber does that part).
#include <cassert>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "rules/serial_numbers.h"
#include "rules/series_terms.h"

namespace {

// The range NextSerialNumber numbers in when a register has no series rows.
constexpr int32_t DefaultSeriesFirst = 1, DefaultSeriesLast = 999999;

// The rows of a register's series block, fetched afresh from the database
// for one call and freed when the scope ends (also on early returns).
struct FetchedSeries {
    MemBlock handle = 0;
    uint8_t *data = nullptr;
    int32_t count = 0;
    explicit FetchedSeries(int block) {
        if (block == 0 || !SettingsBlockFetch(&handle, block) || !handle) return;
        MemArrayLock(handle, SeriesRow::Size, &data, &count);
        if (!data) count = 0;
    }
    ~FetchedSeries() {
        if (data) MemUnlock(handle);
        MemFree(&handle);
    }
    FetchedSeries(const FetchedSeries &) = delete;
    FetchedSeries &operator=(const FetchedSeries &) = delete;
};

// True when a row's range is usable: first and last are real numbers
// (not the blank marks from 0xFFFFFFFE up, read as -2 and -1) and in order.
bool RowRangeUsable(int32_t first, int32_t last) {
    return first >= 0 && last >= 0 && first <= last;
}

}  // namespace

// The number-series block of a register, 0 when it has none.
int SeriesBlockOfRegister(int reg) {
    switch (reg) {
    case PUVc::Number: return PurchSeriesBlk::Number;              // 4 -> 194
    case IVVc::Number: return InvSeriesBlk::Number;                // 5 -> 187
    case ORVc::Number: return OrderSeriesBlk::Number;              // 7 -> 192
    case SHVc::Number: return DeliverySeriesBlk::Number;           // 8 -> 193
    case SMVc::Number: return SubLedgerSeriesBlk::Number;          // 9 -> 191
    case IPVc::Number: return ReceiptSeriesBlk::Number;            // 10 -> 188
    case TRVc::Number: return VoucherSeriesBlk::Number;            // 11 -> 197
    case VIVc::Number: return PurchInvSeriesBlk::Number;           // 28 -> 189
    case OPVc::Number: return OutPaySeriesBlk::Number;             // 30 -> 190
    case TimeSheetVc::Number: return TimeSheetSeriesBlk::Number;   // 54 -> 196
    case QuotationVc::Number: return QuotationSeriesBlk::Number;   // 55 -> 195
    case PurchOrderVc::Number: return PurchOrderSeriesBlk::Number; // 58 -> 198
    case ProductionVc::Number: return ProdSeriesBlk::Number;       // 77 -> 152
    case StockMoveVc::Number: return StockMoveSeriesBlk::Number;   // 92 -> 204
    default: return 0;
    }
}

// The date of record that its series validity and fiscal year are judged
// by; an empty date for a register that has none.
void RecordDate(int reg, const uint8_t *record, DateRec *date) {
    assert(date);
    *date = DateRec{0, 0, 0};
    if (!record) return;
    switch (reg) {
    case PUVc::Number: *date = GetDate(record, PUVc::TransDate); break;
    case TRVc::Number: *date = GetDate(record, TRVc::TransDate); break;
    case PersEntryVc::Number: *date = GetDate(record, PersEntryVc::TransDate); break;
    case IVVc::Number: *date = GetDate(record, IVVc::TransDate); break;
    case ORVc::Number: *date = GetDate(record, ORVc::OrdDate); break;
    case QuotationVc::Number: *date = GetDate(record, QuotationVc::QTDate); break;
    case SMVc::Number: *date = GetDate(record, SMVc::Date); break;
    case TimeSheetVc::Number: *date = GetDate(record, TimeSheetVc::RegDate); break;
    case IPVc::Number: *date = GetDate(record, IPVc::TransDate); break;
    case VIVc::Number: *date = GetDate(record, VIVc::TransDate); break;
    case OPVc::Number: *date = GetDate(record, OPVc::PayDate); break;
    case PurchOrderVc::Number: *date = GetDate(record, PurchOrderVc::PODate); break;
    case ProductionVc::Number: *date = GetDate(record, ProductionVc::ProdDate); break;
    default: break;
    }
}

// The next free serial number for a new record of reg dated date, trying
// the series rows in block order; NoFreeNumber when every row is skipped
// or full. wanted above 0 keeps to the rows whose range holds it. A row
// whose period excludes a non-empty date is skipped. Without series rows
// the numbers run from 1 to 999999.
int32_t NextSerialNumber(int reg, const DateRec *date, int32_t wanted, int32_t /*reserved*/) {
    const DateRec none{0, 0, 0};
    const DateRec *d = date ? date : &none;
    FetchedSeries series(SeriesBlockOfRegister(reg));
    if (series.count == 0) return NextFreeSerialNumber(reg, DefaultSeriesFirst, DefaultSeriesLast, d);
    for (int32_t i = 0; i < series.count; i++) {
        const uint8_t *row = series.data + (size_t)i * SeriesRow::Size;
        int32_t first = GetI32(row, SeriesRow::FirstNr), last = GetI32(row, SeriesRow::LastNr);
        if (!RowRangeUsable(first, last)) continue;
        if (wanted >= 1 && (wanted < first || wanted > last)) continue;
        DateRec from = GetDate(row, SeriesRow::ValidFrom), to = GetDate(row, SeriesRow::ValidTo);
        if (!DateIsEmpty(d)) {
            if (!DateIsEmpty(&from) && DateCompare(d, &from) < 0) continue;
            if (!DateIsEmpty(&to) && DateCompare(d, &to) > 0) continue;
        }
        int32_t n = NextFreeSerialNumber(reg, first, last, d);
        if (n != NoFreeNumber) return n;
    }
    return NoFreeNumber;
}

// True when number lies in a series row of reg valid on date, or when the
// register's series block has no rows; false for -1. An empty date sorts
// before every date, so it fails every row with a from-date.
bool SerialNumberValid(int reg, int32_t number, const DateRec *date) {
    if (number == -1) return false;
    const DateRec none{0, 0, 0};
    const DateRec *d = date ? date : &none;
    FetchedSeries series(SeriesBlockOfRegister(reg));
    if (series.count == 0) return true;
    for (int32_t i = 0; i < series.count; i++) {
        const uint8_t *row = series.data + (size_t)i * SeriesRow::Size;
        int32_t first = GetI32(row, SeriesRow::FirstNr), last = GetI32(row, SeriesRow::LastNr);
        if (!RowRangeUsable(first, last) || number < first || number > last) continue;
        DateRec from = GetDate(row, SeriesRow::ValidFrom), to = GetDate(row, SeriesRow::ValidTo);
        if (!DateIsEmpty(&from) && DateCompare(d, &from) < 0) continue;
        if (!DateIsEmpty(&to) && DateCompare(d, &to) > 0) continue;
        return true;
    }
    return false;
}

// The session user's series start at userAt of the user's entry when it
// is set, else the u32 at blockAt of block 132; 0 when neither is.
int32_t SeriesHint(uint32_t userAt, uint32_t blockAt) {
    if (const uint8_t *user = SessionUserEntry(CurrentSessionIndex)) {
        int32_t own = GetI32(user, userAt);
        if (own > 0) return own;
    }
    return CompanySeriesHint(blockAt);
}

// The company's series start, the u32 at blockAt of block 132, for the
// runs that number from the company's hint whoever runs them; 0 when unset.
int32_t CompanySeriesHint(uint32_t blockAt) {
    if (const uint8_t *block = SettingsRecord(SeriesDefaultsBlk::Number, SeriesStateBlock)) {
        int32_t hint = GetI32(block, blockAt);
        if (hint > 0) return hint;
    }
    return 0;
}
