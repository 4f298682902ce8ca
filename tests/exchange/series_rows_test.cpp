// series_rows_test.cpp - a range row added to a register's series block:
// an equal row (numbers and both dates) is not added twice, one that
// differs in a date is; a register without a series block takes none.
#include <vector>

#include "core/date.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "exchange/company_text.h"
#include "exchange/exchange.h"
#include "rules/rules_types.h"
#include "tests/exchange/exchange_fixture.h"

namespace {

class SeriesRowsTest : public ExchangeFixture {};

int32_t RowsOf(int block)
{
    MemBlock h = 0;
    if (!SettingsBlockFetch(&h, block)) h = 0;   // no block: no rows
    int32_t n = h ? int32_t(MemSize(h) / SeriesRow::Size) : 0;
    MemFree(&h);
    return n;
}

TEST_F(SeriesRowsTest, EqualRowsAreAddedOnce)
{
    std::vector<uint8_t> row(SeriesRow::Size, 0);
    PutI32(row.data(), SeriesRow::FirstNr, 100);
    PutI32(row.data(), SeriesRow::LastNr, 199);
    PutDate(row.data(), SeriesRow::ValidFrom, DateRec{1, 1, 2025});
    const int block = InvSeriesBlk::Number;
    int32_t before = RowsOf(block);
    ASSERT_TRUE(InsertBlockRow(IVVc::Number, row.data()));
    EXPECT_EQ(RowsOf(block), before + 1);
    ASSERT_TRUE(InsertBlockRow(IVVc::Number, row.data()));
    EXPECT_EQ(RowsOf(block), before + 1);
    PutDate(row.data(), SeriesRow::ValidTo, DateRec{31, 12, 2025});
    ASSERT_TRUE(InsertBlockRow(IVVc::Number, row.data()));
    EXPECT_EQ(RowsOf(block), before + 2);
    int32_t first = 0, last = 0;
    FindNumberRange(IVVc::Number, 150, &first, &last);
    EXPECT_EQ(first, 100);
    EXPECT_EQ(last, 199);
    EXPECT_FALSE(InsertBlockRow(CUVc::Number, row.data()));   // customers have no series
}

}  // namespace
