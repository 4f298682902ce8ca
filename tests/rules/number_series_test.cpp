// number_series_test.cpp - serial numbers drawn from number series over a
// real database: rows tried in order and skipped by range or period,
// vouchers numbered within their fiscal year, typed numbers checked, and
// damaged rows passed over.
#include "rules/series_terms.h"
#include "tests/rules/rules_fixture.h"

namespace {

using NumberSeries = RulesFixture;

// Stores a sales order (register 7) with serial n.
uint32_t StoreOrder(int32_t n) {
    RuleRecord r(ORVc::Number);
    PutI32(r.record, ORVc::SerNr, n);
    uint32_t recid = 0;
    EXPECT_TRUE(RecStoreByKey(ORVc::Number, r.record, 1, &recid));
    return recid;
}

// Stores a voucher with serial n in year code.
void StoreVoucher(int32_t n, uint16_t code) {
    RuleRecord r(Voucher::Number);
    PutI32(r.record, Voucher::SerNr, n);
    PutU16(r.record, Voucher::YearCode, code);
    uint32_t recid = 0;
    EXPECT_TRUE(RecStoreByKey(Voucher::Number, r.record, 1, &recid));
}

// Rows are tried in block order: a full first row hands over to the second,
// a full series gives no number, a wanted number keeps to its row while
// that row is valid on the date (else the date's rows serve), and a row
// whose period excludes the date is skipped unless the date is empty; the
// block is read afresh on each call and freed.
TEST_F(NumberSeries, RowsAreTriedInOrder) {
    const DateRec june29{29, 6, 2024}, july1{1, 7, 2024}, none{0, 0, 0};
    // No series rows: numbers from 1.
    EXPECT_EQ(NextSerialNumber(ORVc::Number, &june29, -1, 0), 1);
    EXPECT_TRUE(SerialNumberValid(ORVc::Number, 777777, &none));
    EXPECT_FALSE(SerialNumberValid(ORVc::Number, -1, &june29));

    AddSeriesRow(OrderSeriesBlk::Number, 100, 102);
    AddSeriesRow(OrderSeriesBlk::Number, 500, 501);
    AddSeriesRow(OrderSeriesBlk::Number, 900, 999, july1);
    StoreOrder(100);
    StoreOrder(101);
    EXPECT_EQ(NextSerialNumber(ORVc::Number, &june29, -1, 0), 102);
    StoreOrder(102);   // the first row is full now
    EXPECT_EQ(NextSerialNumber(ORVc::Number, &june29, -1, 0), 500);
    EXPECT_EQ(NextSerialNumber(ORVc::Number, &june29, 950, 0), 500);  // its row starts in July
    EXPECT_EQ(NextSerialNumber(ORVc::Number, &july1, 950, 0), 900);
    EXPECT_EQ(NextSerialNumber(ORVc::Number, &july1, 101, 0), -1);    // its row is valid and full
    StoreOrder(500);
    StoreOrder(501);
    EXPECT_EQ(NextSerialNumber(ORVc::Number, &june29, -1, 0), -1);     // every valid row is full
    EXPECT_EQ(NextSerialNumber(ORVc::Number, &none, -1, 0), 900);      // an empty date skips no period

    // A typed number: inside a valid row only; an empty date fails a row
    // with a from-date.
    EXPECT_TRUE(SerialNumberValid(ORVc::Number, 501, &june29));
    EXPECT_FALSE(SerialNumberValid(ORVc::Number, 300, &june29));
    EXPECT_FALSE(SerialNumberValid(ORVc::Number, 950, &june29));
    EXPECT_TRUE(SerialNumberValid(ORVc::Number, 950, &july1));
    EXPECT_FALSE(SerialNumberValid(ORVc::Number, 950, &none));

    // Each call fetches the block afresh and frees it.
    uint32_t blocks = MemBlockCount();
    for (int i = 0; i < 200; i++) ASSERT_EQ(NextSerialNumber(ORVc::Number, &july1, -1, 0), 900);
    EXPECT_EQ(MemBlockCount(), blocks);
}

// Vouchers number within the fiscal year of their date: two years each
// start at the row's first number, and a date in no year gets no number.
TEST_F(NumberSeries, VouchersNumberWithinTheirYear) {
    AddFiscalYear(30, "BAD", {0, 0, 0}, {31, 12, 2030});   // an empty start holds no date
    AddFiscalYear(10, "A", {1, 1, 2023}, {31, 12, 2023});
    AddFiscalYear(20, "B", {1, 1, 2024}, {31, 12, 2024});
    AddSeriesRow(VoucherSeriesBlk::Number, 1, 9999);
    const DateRec in2023{5, 5, 2023}, in2024{6, 6, 2024}, in2025{1, 1, 2025};
    EXPECT_EQ(NextSerialNumber(Voucher::Number, &in2023, -1, 0), 1);
    StoreVoucher(1, 10);
    StoreVoucher(2, 10);
    StoreVoucher(3, 10);
    EXPECT_EQ(NextSerialNumber(Voucher::Number, &in2023, -1, 0), 4);
    EXPECT_EQ(NextSerialNumber(Voucher::Number, &in2024, -1, 0), 1);
    StoreVoucher(1, 20);
    EXPECT_EQ(NextSerialNumber(Voucher::Number, &in2024, -1, 0), 2);
    EXPECT_EQ(NextSerialNumber(Voucher::Number, &in2023, -1, 0), 4);
    EXPECT_EQ(NextSerialNumber(Voucher::Number, &in2025, -1, 0), -1);
    EXPECT_EQ(YearCodeOfDate(&in2025), YearCodeNone);
    EXPECT_EQ(NextSerialNumber(Voucher::Number, nullptr, -1, 0), -1);
    StoreVoucher(9999, 10);   // the last number of the range is taken in 2023
    EXPECT_EQ(NextSerialNumber(Voucher::Number, &in2023, -1, 0), -1);
    EXPECT_EQ(NextSerialNumber(Voucher::Number, &in2024, -1, 0), 2);
}

// A series row for each year: the last voucher of one year, kept as the
// hint, numbers the next voucher of that year from its row and leaves a
// voucher of the other year to the other year's row, both ways across
// the year's end; a new voucher, delivery or stock movement moved across
// it gives up its number.
TEST_F(NumberSeries, TheLastVoucherOfAYearHintsOnlyWithinItsYear) {
    AddFiscalYear(10, "A", {1, 1, 2023}, {31, 12, 2023});
    AddFiscalYear(20, "B", {1, 1, 2024}, {31, 12, 2024});
    AddSeriesRow(VoucherSeriesBlk::Number, 2300001, 2399999, {1, 1, 2023}, {31, 12, 2023});
    AddSeriesRow(VoucherSeriesBlk::Number, 2400001, 2499999, {1, 1, 2024}, {31, 12, 2024});
    const DateRec lastDay{31, 12, 2023}, firstDay{1, 1, 2024};
    StoreVoucher(2300001, 10);
    EXPECT_EQ(NextSerialNumber(Voucher::Number, &lastDay, 2300001, 0), 2300002);
    EXPECT_EQ(NextSerialNumber(Voucher::Number, &firstDay, 2300001, 0), 2400001);
    StoreVoucher(2400001, 20);
    EXPECT_EQ(NextSerialNumber(Voucher::Number, &lastDay, 2400001, 0), 2300002);
    EXPECT_TRUE(SerialNumberValid(Voucher::Number, 2300002, &lastDay));
    EXPECT_FALSE(SerialNumberValid(Voucher::Number, 2300002, &firstDay));

    // A new voucher numbered for 31 December keeps its number while its
    // date stays in the year, and gives it up when its date moves to 1
    // January (its number is drawn again as it is stored).
    RuleRecord v(Voucher::Number);
    PutU32(v.record, Voucher::SerNr, 2300002);
    uint32_t serialAt = 0;
    PutDate(v.record, Voucher::TransDate, DateRec{30, 12, 2023});
    EXPECT_FALSE(NumberFollowsDate(Voucher::Number, v.record, Voucher::TransDate, &serialAt));
    PutDate(v.record, Voucher::TransDate, firstDay);
    EXPECT_FALSE(NumberFollowsDate(Voucher::Number, v.record, Voucher::Text, &serialAt)) << "not its date field";
    ASSERT_TRUE(NumberFollowsDate(Voucher::Number, v.record, Voucher::TransDate, &serialAt));
    EXPECT_EQ(serialAt, uint32_t(Voucher::SerNr));
    EXPECT_TRUE(NeedsNumber(GetU32(v.record, Voucher::SerNr)));

    // So do a delivery and a stock movement, numbered by dated series of
    // their own; the date of record the series are judged by is theirs.
    struct Numbered {
        int reg, block;
        uint32_t serialAt, dateAt;
    };
    for (const Numbered &n : {Numbered{SHVc::Number, DeliverySeriesBlk::Number, SHVc::SerNr, SHVc::ShipDate},
                              Numbered{StockMoveVc::Number, StockMoveSeriesBlk::Number, StockMoveVc::SerNr,
                                       StockMoveVc::MoveDate}}) {
        SCOPED_TRACE(n.reg);
        AddSeriesRow(n.block, 2300001, 2399999, {1, 1, 2023}, {31, 12, 2023});
        AddSeriesRow(n.block, 2400001, 2499999, {1, 1, 2024}, {31, 12, 2024});
        RuleRecord r(n.reg);
        PutU32(r.record, n.serialAt, 2300001);
        PutDate(r.record, n.dateAt, firstDay);
        DateRec date{0, 0, 0};
        RecordDate(n.reg, r.record, &date);
        EXPECT_EQ(DateCompare(&date, &firstDay), 0);
        ASSERT_TRUE(NumberFollowsDate(n.reg, r.record, n.dateAt, &serialAt));
        EXPECT_EQ(serialAt, n.serialAt);
        EXPECT_TRUE(NeedsNumber(GetU32(r.record, n.serialAt)));
    }
}

// Rows that cannot hold a number (first above last, or the blank marks)
// are passed over by both the drawing and the check; a block holding only
// such rows still has rows, so nothing is valid.
TEST_F(NumberSeries, DamagedRowsArePassedOver) {
    const DateRec d{1, 3, 2024};
    AddSeriesRow(OrderSeriesBlk::Number, 50, 40);
    AddSeriesRow(OrderSeriesBlk::Number, 0xFFFFFFFEu, 0xFFFFFFFFu);
    EXPECT_EQ(NextSerialNumber(ORVc::Number, &d, -1, 0), -1);
    EXPECT_FALSE(SerialNumberValid(ORVc::Number, 45, &d));
    EXPECT_FALSE(SerialNumberValid(ORVc::Number, -2, &d));
    AddSeriesRow(OrderSeriesBlk::Number, 60, 70);
    EXPECT_EQ(NextSerialNumber(ORVc::Number, &d, -1, 0), 60);
    EXPECT_TRUE(SerialNumberValid(ORVc::Number, 65, &d));
}

}  // namespace
