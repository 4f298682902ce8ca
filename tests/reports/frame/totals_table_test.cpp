// totals_table_test.cpp - the sums by code a report prints at its end,
// the number-range caption, the range test by setting and a delivery's
// value at its order's prices.
#include <cmath>
#include <string>
#include <vector>

#include "reports/sales/sales_reports.h"
#include "rules/delivery_value.h"
#include "tests/reports/report_fixture.h"

namespace {

using TotalsTableTest = ReportFixture;

// One add: a code and the amounts given (NAN: that column not given).
struct Add {
    const char *code;
    double a1, a2, a3;
};

// slot holding v, or null for an amount not given (NAN).
PackedDecimal *Given(double v, PackedDecimal *slot)
{
    if (v != v) return nullptr;
    DecFromDouble(slot, v);
    return slot;
}

// Adds, counts and prints: rows keep their first-seen order and sum byte
// for byte equal codes; an ungiven amount stays zero; the empty code
// prints only with the flag, as 2368 alone and 2369 among others; a
// print empties the table.
TEST_F(TotalsTableTest, AddsCountsAndPrintsByCode)
{
    const double no = NAN;
    const struct {
        const char *name;
        std::vector<Add> adds;
        int countCodes, countAll, withEmpty;
        std::string printed;
    } cases[] = {
        {"same code thrice", {{"EUR", 1, no, no}, {"EUR", 1, no, no}, {"EUR", 1, no, no}}, 1, 1, 1,
         "EUR\t3,00\t0,00\t0,00\t\r\n"},
        {"codes differ by case and length", {{"EUR", 1, 2, 3}, {"eur", 4, no, no}, {"EU", 5, no, no}}, 3, 3, 0,
         "EUR\t1,00\t2,00\t3,00\t\r\neur\t4,00\t0,00\t0,00\t\r\nEU\t5,00\t0,00\t0,00\t\r\n"},
        {"only the empty code, flag", {{"", 7, no, no}}, 0, 1, 1, "Total\t7,00\t0,00\t0,00\t\r\n"},
        {"only the empty code, no flag", {{"", 7, no, no}}, 0, 1, 0, ""},
        {"empty among others", {{"SEK", 1, no, no}, {"", 2, no, no}, {"EUR", -3, no, no}}, 2, 3, 1,
         "SEK\t1,00\t0,00\t0,00\t\r\nHome currency\t2,00\t0,00\t0,00\t\r\nEUR\t-3,00\t0,00\t0,00\t\r\n"},
        {"nothing added", {}, 0, 0, 1, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TotalsTableReset();
        for (const Add &a : c.adds) {
            PString code;
            PStringFromC(code, a.code);
            PackedDecimal d1, d2, d3;
            ASSERT_TRUE(TotalsTableAdd(code, Given(a.a1, &d1), Given(a.a2, &d2), Given(a.a3, &d3)));
        }
        EXPECT_EQ(TotalsTableCount(0), c.countCodes);
        EXPECT_EQ(TotalsTableCount(1), c.countAll);
        static int withEmpty;
        withEmpty = c.withEmpty;
        std::string printed = RunText([] {
            RepOpenJob(reinterpret_cast<const uint8_t *>("\x01T"));
            TotalsTablePrint(100, 200, 300, 0, withEmpty);
            TotalsTablePrint(100, 200, 300, 0, withEmpty);   // emptied: prints nothing
            RepEndJob();
        });
        EXPECT_EQ(printed, c.printed + "\r\n");   // the job's end closes an empty line
        EXPECT_EQ(TotalsTableCount(1), 0);
    }
}

// A negative x leaves its column out; a code past five characters is
// cut to five and so meets the five-character code.
TEST_F(TotalsTableTest, LeavesColumnsOutAndCutsLongCodes)
{
    TotalsTableReset();
    PackedDecimal one = Dec(1);
    ASSERT_TRUE(TotalsTableAdd(reinterpret_cast<const uint8_t *>("\x07" "ABCDEFG"), &one, &one, &one));
    ASSERT_TRUE(TotalsTableAdd(reinterpret_cast<const uint8_t *>("\x05" "ABCDE"), &one, &one, &one));
    EXPECT_EQ(TotalsTableCount(1), 1);
    std::string printed = RunText([] {
        RepOpenJob(reinterpret_cast<const uint8_t *>("\x01T"));
        TotalsTablePrint(460, -1, -1, 300, 1);
        RepEndJob();
    });
    EXPECT_EQ(printed, "ABCDE\t2,00\t\r\n\r\n");
}

// The caption of a number range; the all-ones value is not given.
TEST_F(TotalsTableTest, NumberRangeCaption)
{
    const struct {
        uint32_t from, to;
        const char *want;
    } cases[] = {
        {7, 7, "Number 7"},
        {7, 9, "Numbers 7 : 9"},
        {0xFFFFFFFFu, 0xFFFFFFFFu, "All numbers"},
        {7, 0xFFFFFFFFu, "Numbers 7 : "},
    };
    for (const auto &c : cases) {
        PString out;
        NumberRangeCaption(c.from, c.to, out);
        EXPECT_EQ(PStringToStd(out), c.want) << c.from << ":" << c.to;
    }
}

// The range test compares as block 220 says; what does not parse as the
// kind's value is outside.
TEST_F(TotalsTableTest, InRangeBySettingKind)
{
    const struct {
        uint16_t kind;
        const char *range, *value;
        bool inside;
    } cases[] = {
        {0, "B:D", "C", true},
        {0, "B:D", "E", false},
        {0, "B", "B", true},          // no second end: to is from
        {0, "B", "BA", false},
        {1, "1.2.2024:29.2.2024", "29.2.2024", true},
        {1, "1.2.2024:29.2.2024", "1.3.2024", false},
        {1, "1.2.2024:29.2.2024", "x.y", false},     // a bad date is outside
        {1, "1.2.2024:29.2.2024", "", false},
        {2, "9:100", "10", true},     // numbers, not texts: "10" < "9" as text
        {3, "9:100", "101", false},
        {2, "9:100", "ten", false},
        {9, "B:D", "Z", true},        // an unknown kind lets everything in
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.range) + " " + c.value);
        uint8_t block[ValueKindBlk::Size] = {};
        PutU16(block, ValueKindBlk::ValueKind, c.kind);
        StoreBlock(ValueKindBlk::Number, block, ValueKindBlk::Size);
        ASSERT_NE(Block220, nullptr);
        ASSERT_EQ(GetU16(Block220, ValueKindBlk::ValueKind), c.kind);
        PString range, value;
        PStringFromC(range, c.range);
        PStringFromC(value, c.value);
        EXPECT_EQ(InRangeBySetting(range, value), c.inside);
    }
}

// A delivery valued at its order's price, price unit and discount; the
// row index is the low 16 bits of the first word, and an index past the
// order's rows adds nothing.
TEST_F(TotalsTableTest, RowsAmountTotalAtOrderPrices)
{
    RuleRecord order(ORVc::Number);
    ASSERT_NE(order.record, nullptr);
    const struct {
        double price, unit, discount;
    } orderRows[] = {{100, 0, 0}, {50, 2, 10}};
    for (const auto &o : orderRows) {
        uint8_t row[ORVc::Rows::Size] = {};
        PutU16(row, ORVc::Rows::Kind, 1);
        PutDec(row, ORVc::Rows::Price, Dec(o.price));
        if (o.unit != 0) PutDec(row, ORVc::Rows::PriceUnit, Dec(o.unit));
        PutDec(row, ORVc::Rows::Discount, Dec(o.discount));
        ASSERT_TRUE(MatrixRowPut(ORVc::Number, 0, order.record, MatrixRowCount(ORVc::Number, 0, order.record), row));
    }
    const struct {
        const char *name;
        std::vector<std::pair<uint32_t, double>> rows;   // order row word, quantity
        double total;                                    // NAN: blank
    } cases[] = {
        {"first row", {{0, 3}}, 300},
        {"price unit and discount", {{1, 4}}, 90},        // 4 x 50 / 2 less 10 %
        {"high bits ignored", {{0x10001u, 4}}, 90},
        {"both rows", {{0, 1}, {1, 2}}, 145},
        {"past the order's rows", {{2, 5}}, NAN},
        {"no rows", {}, NAN},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        RuleRecord delivery(SHVc::Number);
        ASSERT_NE(delivery.record, nullptr);
        for (const auto &[index, qty] : c.rows) {
            uint8_t row[SHVc::Rows::Size] = {};
            PutU32(row, SHVc::Rows::OrderRowNr, index);
            PutDec(row, SHVc::Rows::ToDeliver, Dec(qty));
            ASSERT_TRUE(MatrixRowPut(SHVc::Number, 0, delivery.record,
                                     MatrixRowCount(SHVc::Number, 0, delivery.record), row));
        }
        PackedDecimal total;
        RowsAmountTotal(delivery.record, order.record, &total);
        if (c.total != c.total) EXPECT_TRUE(DecIsBlank(&total));
        else EXPECT_DOUBLE_EQ(DecToDouble(&total), c.total);
    }
}

}  // namespace
