// number_series.cpp - the number series of the registers and the serial
// numbers they give.
//
// A number-series block is a table of SeriesRow rows (rules_types.h): a
// range first..last with an optional period of validity. A new record
// takes the next free number of the first row valid on its date (of the
// row its hint names, when that row is valid on the date); a typed number
// is accepted only when a valid row holds it. Vouchers number within
// their fiscal year (NextFreeSerialNumber does that part).
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

// The registers whose records are numbered and dated, in one list that
// both the numbering and the date rule read, so that a register numbered
// by a dated series always gives its number up when its date leaves the
// series (a delivery or stock movement moved into the new year as much as
// a voucher): its number-series block (0: it has none and numbers from 1),
// the date its records are numbered by (their series validity and fiscal
// year are judged by it) and where their number lies.
struct NumberedBy {
    int reg;
    int seriesBlock;
    uint32_t dateAt;
    uint32_t serialAt;
};
constexpr NumberedBy NumberedRegisters[] = {
    {PUVc::Number, PurchSeriesBlk::Number, PUVc::TransDate, PUVc::SerNr},
    {IVVc::Number, InvSeriesBlk::Number, IVVc::TransDate, IVVc::SerNr},
    {ORVc::Number, OrderSeriesBlk::Number, ORVc::OrdDate, ORVc::SerNr},
    {SHVc::Number, DeliverySeriesBlk::Number, SHVc::ShipDate, SHVc::SerNr},
    {SMVc::Number, SubLedgerSeriesBlk::Number, SMVc::Date, SMVc::SerNr},
    {IPVc::Number, ReceiptSeriesBlk::Number, IPVc::TransDate, IPVc::SerNr},
    {TRVc::Number, VoucherSeriesBlk::Number, TRVc::TransDate, TRVc::SerNr},
    {VIVc::Number, PurchInvSeriesBlk::Number, VIVc::TransDate, VIVc::SerNr},
    {OPVc::Number, OutPaySeriesBlk::Number, OPVc::PayDate, OPVc::SerNr},
    {TimeSheetVc::Number, TimeSheetSeriesBlk::Number, TimeSheetVc::RegDate, TimeSheetVc::SerNr},
    {QuotationVc::Number, QuotationSeriesBlk::Number, QuotationVc::QTDate, QuotationVc::SerNr},
    {PurchOrderVc::Number, PurchOrderSeriesBlk::Number, PurchOrderVc::PODate, PurchOrderVc::SerNr},
    {ProductionVc::Number, ProdSeriesBlk::Number, ProductionVc::ProdDate, ProductionVc::SerNr},
    {StockMoveVc::Number, StockMoveSeriesBlk::Number, StockMoveVc::MoveDate, StockMoveVc::SerNr},
    {PersEntryVc::Number, 0, PersEntryVc::TransDate, PersEntryVc::SerNr},
};

const NumberedBy *NumberedByOf(int reg) {
    for (const NumberedBy &n : NumberedRegisters)
        if (n.reg == reg) return &n;
    return nullptr;
}

}  // namespace

// The number-series block of a register, 0 when it has none.
int SeriesBlockOfRegister(int reg) {
    const NumberedBy *n = NumberedByOf(reg);
    return n ? n->seriesBlock : 0;
}

// The date of record that its series validity and fiscal year are judged
// by; an empty date for a register that has none.
void RecordDate(int reg, const uint8_t *record, DateRec *date) {
    assert(date);
    *date = DateRec{0, 0, 0};
    const NumberedBy *n = NumberedByOf(reg);
    if (record && n) *date = GetDate(record, n->dateAt);
}

// A new record numbered for the date it had: once the field at fieldAt,
// its numbering date, is changed to a date no series row holding its
// number is valid on (a voucher moved from 31 December to 1 January), the
// number is given up and the record asks for one again, to be numbered
// from its new date's series as it is stored. A number no series holds on
// either date is given up as well. True, with the number's offset in
// *serialAt, when it was given up.
bool NumberFollowsDate(int reg, uint8_t *record, uint32_t fieldAt, uint32_t *serialAt) {
    const NumberedBy *n = NumberedByOf(reg);
    if (!record || !n || fieldAt != n->dateAt) return false;
    const uint32_t serial = GetU32(record, n->serialAt);
    DateRec date = GetDate(record, n->dateAt);
    if (NeedsNumber(serial) || DateIsEmpty(&date) || SerialNumberValid(reg, int32_t(serial), &date)) return false;
    PutU32(record, n->serialAt, SerialNone);
    if (serialAt) *serialAt = n->serialAt;
    return true;
}

namespace {

// True when a series row may number a record dated d: its range usable
// and, for a non-empty date, its period holding d.
bool RowServesDate(const uint8_t *row, const DateRec *d) {
    if (!RowRangeUsable(GetI32(row, SeriesRow::FirstNr), GetI32(row, SeriesRow::LastNr))) return false;
    if (DateIsEmpty(d)) return true;
    DateRec from = GetDate(row, SeriesRow::ValidFrom), to = GetDate(row, SeriesRow::ValidTo);
    if (!DateIsEmpty(&from) && DateCompare(d, &from) < 0) return false;
    if (!DateIsEmpty(&to) && DateCompare(d, &to) > 0) return false;
    return true;
}

// True when row's range holds number.
bool RowHolds(const uint8_t *row, int32_t number) {
    return GetI32(row, SeriesRow::FirstNr) <= number && number <= GetI32(row, SeriesRow::LastNr);
}

}  // namespace

// The next free serial number for a new record of reg dated date, trying
// the series rows that serve the date in block order; NoFreeNumber when
// every row is skipped or full. wanted above 0 keeps to the rows whose
// range holds it, as long as such a row serves the date: a hint left by a
// number of another period (the last voucher of the year before, say)
// does not stop the date's own series. Without series rows the numbers
// run from 1 to 999999.
int32_t NextSerialNumber(int reg, const DateRec *date, int32_t wanted, int32_t /*reserved*/) {
    const DateRec none{0, 0, 0};
    const DateRec *d = date ? date : &none;
    FetchedSeries series(SeriesBlockOfRegister(reg));
    if (series.count == 0) return NextFreeSerialNumber(reg, DefaultSeriesFirst, DefaultSeriesLast, d);
    auto rowAt = [&series](int32_t i) { return series.data + (size_t)i * SeriesRow::Size; };
    bool hinted = false;
    for (int32_t i = 0; i < series.count && wanted >= 1 && !hinted; i++)
        hinted = RowServesDate(rowAt(i), d) && RowHolds(rowAt(i), wanted);
    for (int32_t i = 0; i < series.count; i++) {
        const uint8_t *row = rowAt(i);
        if (!RowServesDate(row, d) || (hinted && !RowHolds(row, wanted))) continue;
        int32_t n = NextFreeSerialNumber(reg, GetI32(row, SeriesRow::FirstNr), GetI32(row, SeriesRow::LastNr), d);
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
