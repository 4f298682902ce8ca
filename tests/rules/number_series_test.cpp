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
// a full series gives no number, a wanted number keeps to its row, and a
// row whose period excludes the date is skipped unless the date is empty.
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
    EXPECT_EQ(NextSerialNumber(ORVc::Number, &june29, 950, 0), -1);   // its row starts in July
    EXPECT_EQ(NextSerialNumber(ORVc::Number, &july1, 950, 0), 900);
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
}

// Each series call fetches its block afresh and frees it: a thousand calls
// leave no block behind, and a changed block is seen at once.
TEST_F(NumberSeries, BlockIsReadAfreshAndFreed) {
    AddSeriesRow(OrderSeriesBlk::Number, 10, 20);
    const DateRec d{1, 1, 2024};
    uint32_t blocks = MemBlockCount();
    for (int i = 0; i < 1000; i++) ASSERT_EQ(NextSerialNumber(ORVc::Number, &d, -1, 0), 10);
    EXPECT_EQ(MemBlockCount(), blocks);
    AddSeriesRow(OrderSeriesBlk::Number, 5000, 5001);
    EXPECT_EQ(NextSerialNumber(ORVc::Number, &d, 5001, 0), 5000);
}

// Vouchers number within the fiscal year of their date: two years each
// start at the row's first number, and a date in no year gets no number.
TEST_F(NumberSeries, VouchersNumberWithinTheirYear) {
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
    StoreVoucher(9999, 10);   // the last number of the range is taken in 2023
    EXPECT_EQ(NextSerialNumber(Voucher::Number, &in2023, -1, 0), -1);
    EXPECT_EQ(NextSerialNumber(Voucher::Number, &in2024, -1, 0), 2);
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

// The document date of each register with a series, read from its own
// offset; a register without one has the empty date.
TEST_F(NumberSeries, RecordDateReadsEachRegistersDate) {
    struct Case { int reg; uint32_t offset; };
    const Case cases[] = {{PUVc::Number, 10},  {Voucher::Number, 10}, {PersEntryVc::Number, 10},
                          {IVVc::Number, 638}, {ORVc::Number, 26},    {QuotationVc::Number, 26},
                          {SMVc::Number, 4},   {TimeSheetVc::Number, 4}, {IPVc::Number, 104},
                          {VIVc::Number, 240}, {OPVc::Number, 90},    {PurchOrderVc::Number, 636},
                          {ProductionVc::Number, 16}};
    for (const Case &c : cases) {
        RuleRecord r(c.reg);
        ASSERT_NE(r.record, nullptr) << c.reg;
        PutDate(r.record, c.offset, DateRec{3, 4, 2021});
        DateRec got{};
        RecordDate(c.reg, r.record, &got);
        EXPECT_EQ(got.year, 2021) << c.reg;
        EXPECT_EQ(got.month, 4) << c.reg;
    }
    RuleRecord delivery(SHVc::Number);
    PutDate(delivery.record, SHVc::ShipDate, DateRec{3, 4, 2021});
    DateRec got{1, 1, 1};
    RecordDate(SHVc::Number, delivery.record, &got);
    EXPECT_TRUE(DateIsEmpty(&got));
    EXPECT_EQ(SeriesBlockOfRegister(45), 0);
    EXPECT_EQ(SeriesBlockOfRegister(OpenBalVc::Number), 0);
    EXPECT_EQ(SeriesBlockOfRegister(ProductionVc::Number), 152);
}

}  // namespace
