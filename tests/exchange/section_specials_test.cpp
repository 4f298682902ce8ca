// section_specials_test.cpp - the readers that do more than copy fields and
// the effects an imported record has: each case reads a small hand-written
// section and checks what was stored, kept or counted.
#include <vector>

#include "core/decimal.h"
#include "core/definitions.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "exchange/section_specials.h"
#include "rules/rules_types.h"
#include "shell/database_open.h"
#include "tests/exchange/exchange_fixture.h"

namespace {

// An item line of layout 1 cut to what the reader needs: nine header
// columns, the price-list pair, one more column.
const Column ItemHead[] = {
    {INVc::Code, FtCodeNoSep, 20}, {INVc::Name, FtText, 60}, {INVc::Unit, FtText, 10},
    {INVc::MinStock, FtAmount2, 0}, {INVc::Objects, FtCodeNoSep, 5}, {INVc::SalesAcc, FtCodeNoSep, 10},
    {INVc::BasePrice, FtAmount3Drop, 0}, {INVc::Stocked, FtShort, 0}, {INVc::Group, FtCodeNoSep, 5},
    {0, FtCodeNoSep, 1, Col::Empty}, {0, FtAmount2, 0, Col::Empty}, {INVc::CostPrice, FtAmount2, 0},
};
const FieldList ItemV1 = {false, INVc::Number, INVc::Number, 1, ItemHead, 0, {}};

// An order cut to the number and the date, rows with the columns the
// reader changes.
const Column OrderHead[] = {{ORVc::SerNr, FtLongOrEmpty, 0}, {ORVc::OrdDate, FtDate, 0}};
const Column OrderRows[] = {
    {ORVc::Rows::Kind, FtShort, 0}, {ORVc::Rows::ItemCode, FtCodeNoSep, 20}, {ORVc::Rows::Quantity, FtAmount3, 0},
    {ORVc::Rows::Text, FtText, 100}, {ORVc::Rows::Sum, FtAmount2, 0}, {ORVc::Rows::QtyDelivered, FtAmount3, 0},
    {ORVc::Rows::QtyShipped, FtAmount3, 0}, {ORVc::Rows::QtyInvoiced, FtAmount3, 0},
    {ORVc::Rows::StructCode, FtCodeNoSep, 20},
};
const FieldList OrderV1 = {false, ORVc::Number, ORVc::Number, 1, OrderHead, RowSizeOfRegister, OrderRows};

// A form definition: its code, rows of eleven columns (the 10th the field code).
const Column DocHead[] = {{DocVc::Code, FtCodeNoSep, 20}};
const Column DocRows[] = {
    {DocVc::Rows::Kind, FtShort, 0}, {DocVc::Rows::Left, FtAmount2, 0}, {DocVc::Rows::Top, FtAmount2, 0},
    {DocVc::Rows::Right, FtAmount2, 0}, {DocVc::Rows::Bottom, FtAmount2, 0}, {DocVc::Rows::Font, FtText, 20},
    {DocVc::Rows::Text, FtText, 100}, {DocVc::Rows::Alignment, FtShort, 0}, {DocVc::Rows::RowPitch, FtShort, 0},
    {DocVc::Rows::FieldCode, FtShort, 0}, {DocVc::Rows::Word180, FtShort, 0},
};
const FieldList DocV2 = {false, DocVc::Number, DocVc::Number, 2, DocHead, RowSizeOfRegister, DocRows};

// An asset header of sixteen columns; the 9th, 10th, 14th and 15th are
// the old layout's row.
const Column AssetHead[] = {
    {AssetVc::Code, FtCodeNoSep, 10}, {AssetVc::Name, FtText, 60}, {AssetVc::Class, FtCodeNoSep, 5},
    {AssetVc::Code80, FtCodeNoSep, 5}, {AssetVc::Code86, FtCodeNoSep, 10}, {AssetVc::Text98, FtText, 20},
    {AssetVc::AcqDate, FtDate, 0}, {AssetVc::Comment, FtText, 60}, {AssetVc::Amount188, FtAmount2, 0},
    {AssetVc::AcqValue, FtAmount2, 0}, {AssetVc::DispDate, FtDate, 0}, {AssetVc::Text218, FtText, 20},
    {AssetVc::Text240, FtText, 60}, {AssetVc::Value302, FtAmount2, 0}, {AssetVc::Value320, FtAmount2, 0},
    {AssetVc::Objects, FtCodeNoSep, 5},
};
const FieldList AssetNewest = {false, AssetVc::Number, AssetVc::Number, 2, AssetHead, 0, {}};

// Text of a field as a std::string.
std::string TextAt(const uint8_t *base, uint32_t at, int max)
{
    PString t;
    GetPString(base, at, max, t);
    return PStringToStd(t);
}

// Puts a C string into a text field.
void PutTextAt(uint8_t *base, uint32_t at, int max, const char *text)
{
    PString t;
    PStringFromC(t, text);
    PutPString(base, at, max, t);
}

int EffectCalls;
bool EffectDouble(const uint8_t *) { return ++EffectCalls > 0; }
bool EffectFails(const uint8_t *) { ++EffectCalls; return false; }
bool EffectAddDouble(const uint8_t *, int add) { return (EffectCalls += add) > 0; }

class SectionSpecialsTest : public ExchangeFixture {
protected:
    std::vector<uint8_t> Record(int reg) { return std::vector<uint8_t>(RegRecordSize(reg), 0); }
    // Stores an item with a default location ("" for none).
    void StoreItem(const char *code, const char *location)
    {
        std::vector<uint8_t> item = Record(INVc::Number);
        PutTextAt(item.data(), INVc::Code, 20, code);
        PutTextAt(item.data(), INVc::DefLocation, 10, location);
        uint32_t recid = 0;
        ASSERT_TRUE(RecStoreByKey(INVc::Number, item.data(), 0, &recid));
    }
    // How many items carry code.
    int ItemCount(const char *code)
    {
        std::vector<uint8_t> item = Record(INVc::Number);
        PutTextAt(item.data(), INVc::Code, 20, code);
        return RecExists(INVc::Number, item.data()) ? 1 : 0;
    }
    // Row r of a register's record.
    std::vector<uint8_t> Row(int reg, uint8_t *record, int32_t r)
    {
        std::vector<uint8_t> row(RecRowSize(reg), 0);
        EXPECT_TRUE(MatrixRowGet(reg, 0, record, r, row.data()));
        return row;
    }
    // True when item code has a record in price list "2"; its price. of list "2" for item code.
    bool PriceStored(const char *code, PackedDecimal *price)
    {
        std::vector<uint8_t> p = Record(PriceVc::Number);
        PString text;
        PStringFromC(text, code);
        PutPString(p.data(), PriceVc::ItemCode, 20, text);
        PStringFromC(text, "2");
        PutPString(p.data(), PriceVc::PriceList, 5, text);
        if (!RecExists(PriceVc::Number, p.data())) return false;
        uint32_t recid = 0, position = 0;
        EXPECT_TRUE(RecFind(PriceVc::Number, p.data(), 2, 1, &recid, &position));
        *price = GetDec(p.data(), PriceVc::Price);
        return true;
    }
};

TEST_F(SectionSpecialsTest, ItemPriceColumnStoresPriceListRecordOnlyForNonZeroAmount)
{
    struct Case { const char *line; bool ok, stored; double price; } cases[] = {
        {"A1\tWidget\tpcs\t\t\t\t\t0\t\tACC1\t12.50\t3.00\r\n", true, true, 12.5},
        {"A2\tBolt\tpcs\t\t\t\t\t0\t\tACC1\t\t3.00\r\n", true, false, 0},
        {"A3\tNut\tpcs\t\t\t\t\t0\t\tACC1\t0\t3.00\r\n", true, false, 0},
        {"A4\tPin\tpcs\t\t\t\t\t0\t\tACC1\t12x\t3.00\r\n", false, false, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        ImportAbortFlag = 0;
        SourceOf(c.line);
        std::vector<uint8_t> item = Record(INVc::Number);
        EXPECT_EQ(ReadItemWith(ItemV1, 1, item.data()), c.ok);
        PString code;
        GetPString(item.data(), INVc::Code, 20, code);
        PackedDecimal price;
        EXPECT_EQ(PriceStored(PStringToStd(code).c_str(), &price), c.stored);
        if (c.stored) {
            EXPECT_EQ(DecCompareDouble(&price, c.price), 0);
        }
    }
}

TEST_F(SectionSpecialsTest, OldCustomerFlagsDefaultToOneAndRefuseText)
{
    const std::string lines = "C1\tName\t\t\textra\r\nA1\tA2\tA3\tP1\r\nD1\tD2\tD3\r\n\t\tGRP\t\t30\t1\t0\t\t";
    struct Case { const char *flags; bool ok; uint16_t at644, at686; } cases[] = {
        {"\t\t\t\t\t\r\n", true, 1, 1},
        {"4\t\t\t\t7\r\n", true, 4, 7},
        {"x\t\t\t\t\r\n", false, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.flags);
        ImportAbortFlag = 0;
        SourceOf(lines + c.flags);
        std::vector<uint8_t> cu = Record(CUVc::Number);
        EXPECT_EQ(ReadCustomerV1(CUVc::Number, 1, cu.data()), c.ok);
        if (!c.ok) continue;
        EXPECT_EQ(GetU16(cu.data(), CUVc::InterestFlag), c.at644);
        EXPECT_EQ(GetU16(cu.data(), CUVc::Word686), c.at686);
        PString text;
        GetPString(cu.data(), CUVc::DelAddr3, 60, text);
        EXPECT_EQ(PStringToStd(text), "D3");
        GetPString(cu.data(), CUVc::CustGroup, 5, text);
        EXPECT_EQ(PStringToStd(text), "GRP");
    }
}

TEST_F(SectionSpecialsTest, StockEffectsAreCalledOrCountedOnceAndTold)
{
    struct Case { bool (*effect)(const uint8_t *); uint16_t done; int calls; uint32_t skipped; } cases[] = {
        {nullptr, 1, 0, 1}, {EffectDouble, 1, 1, 0}, {EffectFails, 1, 1, 1}, {nullptr, 0, 0, 0},
    };
    for (const Case &c : cases) {
        ImportResult = ImportResultRec{};
        EffectCalls = 0;
        ImportEffects = ImportEffectsRec{};
        ImportEffects.stockMoveEffects = c.effect;
        std::vector<uint8_t> move = Record(StockMoveVc::Number);
        PutU16(move.data(), StockMoveVc::Done, c.done);
        AfterReadStockMove(StockMoveVc::Number, 1, move.data());
        EXPECT_EQ(EffectCalls, c.calls);
        EXPECT_EQ(ImportResult.effectsSkipped, c.skipped);
    }
    ImportEffects = ImportEffectsRec{};
    int before = Shown(Texts::ImportEffectsSkipped);
    ImportEffectsReport();
    EXPECT_EQ(Shown(Texts::ImportEffectsSkipped), before);   // nothing skipped in the last case
    ImportResult.effectsSkipped = 3;
    ImportEffectsReport();
    EXPECT_EQ(Shown(Texts::ImportEffectsSkipped), before + 1);
    ImportResult = ImportResultRec{};
}

TEST_F(SectionSpecialsTest, VatAccountsSecondZoneTakesTheFirstOnlyWhenEmpty)
{
    struct Case { const char *zone2, *want; } cases[] = {{"", "3010"}, {"3020", "3020"}};
    for (const Case &c : cases) {
        uint8_t row[VatAccountsBlk::Rows::Size] = {0};
        PString text;
        PStringFromC(text, "3010");
        PutPString(row, VatAccountsBlk::Rows::AccZone1, 10, text);
        PStringFromC(text, c.zone2);
        PutPString(row, VatAccountsBlk::Rows::AccZone2, 10, text);
        AfterReadVatCodes(VatAccountsBlk::Number, 0, row);
        GetPString(row, VatAccountsBlk::Rows::AccZone2, 10, text);
        EXPECT_EQ(PStringToStd(text), c.want);
    }
}

// Order rows of kind 1: delivered and shipped held within 0 and the
// ordered quantity, invoiced not below 0, an empty location from the item
// or "_"; a row of another kind is left as read.
TEST_F(SectionSpecialsTest, OrderRowsClampedAndLocatedByKind)
{
    StoreItem("I1", "L1");
    StoreItem("I2", "");
    struct Case { const char *row; double delivered, shipped, invoiced; const char *location; } cases[] = {
        {"1\tI1\t5\t\t\t7\t6\t-2\t", 5, 5, 0, "L1"},
        {"1\tI1\t5\t\t\t-1\t3\t9\tX9", 0, 3, 9, "X9"},
        {"1\tI2\t5\t\t\t2\t2\t2\t", 2, 2, 2, "_"},
        {"1\tNONE\t5\t\t\t2\t2\t2\t", 2, 2, 2, "_"},
        {"2\tNONE\t5\t\t\t7\t-6\t-2\t", 7, -6, -2, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.row);
        SourceOf(std::string("7\t\r\n") + c.row + "\r\n\r\n");
        std::vector<uint8_t> order = Record(ORVc::Number);
        ASSERT_TRUE(ReadOrderWith(OrderV1, 1, order.data()));
        EXPECT_EQ(GetI32(order.data(), ORVc::SerNr), 7);
        ASSERT_EQ(MatrixRowCount(ORVc::Number, 0, order.data()), 1);
        std::vector<uint8_t> row = Row(ORVc::Number, order.data(), 0);
        PackedDecimal v = GetDec(row.data(), ORVc::Rows::QtyDelivered);
        EXPECT_EQ(DecCompareDouble(&v, c.delivered), 0);
        v = GetDec(row.data(), ORVc::Rows::QtyShipped);
        EXPECT_EQ(DecCompareDouble(&v, c.shipped), 0);
        v = GetDec(row.data(), ORVc::Rows::QtyInvoiced);
        EXPECT_EQ(DecCompareDouble(&v, c.invoiced), 0);
        EXPECT_EQ(TextAt(row.data(), ORVc::Rows::StructCode, 20), c.location);
        RecFreeMatrix(ORVc::Number, order.data());
    }
}

// "S" takes the next free number; a new order creates each missing item
// once and calls its reserved-stock effect (or counts it skipped when not
// installed); an order the register holds does neither; a damaged number
// stores nothing.
TEST_F(SectionSpecialsTest, OrderNumberItemsAndEffectsOnlyForNewOrders)
{
    std::vector<uint8_t> first = Record(ORVc::Number);
    PutI32(first.data(), ORVc::SerNr, 1);
    uint32_t recid = 0;
    ASSERT_TRUE(RecStoreByKey(ORVc::Number, first.data(), 0, &recid));
    const std::string rows = "1\tNEW1\t2\tNew thing\t10\t\t\t\t\r\n1\tNEW1\t1\tAgain\t5\t\t\t\t\r\n\r\n";
    struct Case { const char *number; bool ok; int32_t want; bool (*effect)(const uint8_t *, int); int calls;
                  uint32_t skipped; } cases[] = {
        {"S", true, 2, EffectAddDouble, 1, 0},
        {"1", true, 1, EffectAddDouble, 0, 0},   // held already: no effect
        {"S", true, 2, nullptr, 0, 1},
        {"1x", false, 0, EffectAddDouble, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.number);
        ImportAbortFlag = 0;
        ImportResult = ImportResultRec{};
        ImportEffects = ImportEffectsRec{};
        ImportEffects.orderReservedStock = c.effect;
        EffectCalls = 0;
        SourceOf(std::string(c.number) + "\t\r\n" + rows);
        std::vector<uint8_t> order = Record(ORVc::Number);
        ASSERT_EQ(ReadOrderWith(OrderV1, 1, order.data()), c.ok);
        if (c.ok) {
            EXPECT_EQ(GetI32(order.data(), ORVc::SerNr), c.want);
            AfterReadOrder(ORVc::Number, 1, order.data());
        }
        EXPECT_EQ(EffectCalls, c.calls);
        EXPECT_EQ(ImportResult.effectsSkipped, c.skipped);
        RecFreeMatrix(ORVc::Number, order.data());
    }
    ImportEffects = ImportEffectsRec{};
    // Made by the first new order, found by the second.
    std::vector<uint8_t> item = Record(INVc::Number);
    PutTextAt(item.data(), INVc::Code, 20, "NEW1");
    uint32_t position = 0;
    ASSERT_TRUE(RecFind(INVc::Number, item.data(), 1, 1, &recid, &position));
    EXPECT_EQ(TextAt(item.data(), INVc::Name, 60), "New thing");
    EXPECT_EQ(RegOpenCount(INVc::Number), 1u);
}

// Form definitions: each coordinate pair in order; an empty field code of
// a text row found by its text in the field-name list; layout 1's codes
// above 9 moved up by one; a code that is no number is damage.
TEST_F(SectionSpecialsTest, FormRowsOrderedAndFieldCodesFound)
{
    const std::string name = TextOf(10301);
    struct Case { int version; std::string row; bool ok; double left, right; uint16_t code; std::string text; } cases[] = {
        {2, "1\t30\t5\t10\t2\t\tA\t\t\t12\t", true, 10, 30, 12, "A"},
        {1, "1\t1\t5\t10\t8\t\tA\t\t\t12\t", true, 1, 10, 13, "A"},
        {1, "1\t1\t5\t10\t8\t\tA\t\t\t9\t", true, 1, 10, 9, "A"},
        {2, "4\t1\t1\t2\t2\t\t" + name + "\t\t\t\t", true, 1, 2, 55, ""},
        {2, "4\t1\t1\t2\t2\t\tNo such field\t\t\t\t", true, 1, 2, 0, "No such field"},
        {2, "1\t1\t1\t2\t2\t\tA\t\t\tx\t", false, 0, 0, 0, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.row);
        ImportAbortFlag = 0;
        SourceOf("F1\r\n" + c.row + "\r\n\r\n");
        std::vector<uint8_t> doc = Record(DocVc::Number);
        ASSERT_EQ(ReadDocWith(DocV2, c.version, doc.data()), c.ok);
        if (c.ok) {
            ASSERT_EQ(MatrixRowCount(DocVc::Number, 0, doc.data()), 1);
            std::vector<uint8_t> row = Row(DocVc::Number, doc.data(), 0);
            PackedDecimal v = GetDec(row.data(), DocVc::Rows::Left);
            EXPECT_EQ(DecCompareDouble(&v, c.left), 0);
            v = GetDec(row.data(), DocVc::Rows::Right);
            EXPECT_EQ(DecCompareDouble(&v, c.right), 0);
            v = GetDec(row.data(), DocVc::Rows::Top);
            PackedDecimal bottom = GetDec(row.data(), DocVc::Rows::Bottom);
            EXPECT_LE(DecCompare(&v, &bottom), 0);
            EXPECT_EQ(GetU16(row.data(), DocVc::Rows::FieldCode), c.code);
            EXPECT_EQ(TextAt(row.data(), DocVc::Rows::Text, 100), c.text);
        }
        RecFreeMatrix(DocVc::Number, doc.data());
    }
}

// An old asset line: four of its columns become the one row, the others
// stay in the header; a damaged amount among them stores nothing.
TEST_F(SectionSpecialsTest, OldAssetColumnsBecomeTheOneRow)
{
    struct Case { const char *line; bool ok; } cases[] = {
        {"A1\tPress\tCL\t\t\t\t\t\t1500.50\t\t\tT\t\tM1\tM2\tOB\textra\r\n", true},
        {"A1\tPress\tCL\t\t\t\t\t\t15x\t\t\tT\t\tM1\tM2\tOB\r\n", false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        ImportAbortFlag = 0;
        SourceOf(c.line);
        std::vector<uint8_t> asset = Record(AssetVc::Number);
        ASSERT_EQ(ReadAssetV1With(AssetNewest, asset.data()), c.ok);
        if (!c.ok) {
            EXPECT_EQ(MatrixRowCount(AssetVc::Number, 0, asset.data()), 0);
            continue;
        }
        EXPECT_EQ(TextAt(asset.data(), AssetVc::Class, 5), "CL");
        EXPECT_EQ(TextAt(asset.data(), AssetVc::Text218, 20), "T");
        EXPECT_EQ(TextAt(asset.data(), AssetVc::Objects, 5), "OB");
        ASSERT_EQ(MatrixRowCount(AssetVc::Number, 0, asset.data()), 1);
        std::vector<uint8_t> row = Row(AssetVc::Number, asset.data(), 0);
        PackedDecimal v = GetDec(row.data(), AssetVc::Rows::NewValue);
        EXPECT_EQ(DecCompareDouble(&v, 1500.50), 0);
        EXPECT_EQ(TextAt(row.data(), AssetVc::Rows::Model1, 5), "M1");
        EXPECT_EQ(TextAt(row.data(), AssetVc::Rows::Model2, 5), "M2");
        PackedDecimal kept = GetDec(asset.data(), AssetVc::Amount188);
        EXPECT_TRUE(DecIsBlank(&kept) || DecIsZero(&kept));
        RecFreeMatrix(AssetVc::Number, asset.data());
    }
}

// An old budget gets one row per month of the fiscal year; the total is
// spread by the days of each month and the rows add up to it; a total
// flagged invalid stays blank with its rows; texts follow when flagged;
// a damaged total stores nothing.
TEST_F(SectionSpecialsTest, OldBudgetMakesRowsOfTheYearAndSpreadsItsTotal)
{
    uint8_t year[FiscalYearEntry::Size] = {0};
    PutDate(year, FiscalYearEntry::StartDate, DateRec{1, 1, 2025});
    PutDate(year, FiscalYearEntry::EndDate, DateRec{31, 12, 2025});
    ASSERT_EQ(SettingsBlockStore(FiscalYearBlk::Number, year, sizeof year), RecDone);
    std::string texts;
    for (const char *m : {"jan", "feb", "mar", "apr", "may", "jun", "jul", "aug", "sep", "oct", "nov", "dec"})
        texts += std::string("\t") + m;
    struct Case { std::string line; bool ok; double jan, feb; bool blank; const char *febText; } cases[] = {
        {"4010\tP1\tRent\t1\t0\t365\t0", true, 31, 28, false, ""},
        {"4010\tP1\tRent\t1\t0\t100\t0", true, 8.49, 7.67, false, ""},
        {"4010\tP1\tRent\t0\t0\t365\t0", true, 0, 0, true, ""},
        {"4010\tP1\tRent\t1\t1\t365\t0" + texts, true, 31, 28, false, "feb"},
        {"4010\tP1\tRent\t1\t0\t36x\t0", false, 0, 0, false, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        ImportAbortFlag = 0;
        SourceOf(c.line + "\r\n\r\n");
        std::vector<uint8_t> budget = Record(BPVc::Number);
        ASSERT_EQ(ReadBudgetV2(BPVc::Number, 2, budget.data()), c.ok);
        if (!c.ok) continue;
        ASSERT_EQ(MatrixRowCount(BPVc::Number, 0, budget.data()), 12);
        PackedDecimal total = GetDec(budget.data(), BPVc::Total), sum;
        EXPECT_EQ(DecIsBlank(&total), c.blank);
        DecSetZero(&sum);
        for (int32_t r = 0; r < 12; r++) {
            std::vector<uint8_t> row = Row(BPVc::Number, budget.data(), r);
            DateRec from = GetDate(row.data(), BPVc::Rows::FromDate);
            EXPECT_EQ(from.month, r + 1);
            PackedDecimal v = GetDec(row.data(), BPVc::Rows::Amount);
            EXPECT_EQ(DecIsBlank(&v), c.blank);
            if (r == 1) {
                EXPECT_EQ(TextAt(row.data(), BPVc::Rows::Text, 60), c.febText);
            }
            if (!c.blank && r < 2) {
                EXPECT_EQ(DecCompareDouble(&v, r == 0 ? c.jan : c.feb), 0) << r;
            }
            if (!c.blank) DecAdd(&sum, &v, &sum);
        }
        if (!c.blank) {
            EXPECT_EQ(DecCompare(&sum, &total), 0);
        }
        EXPECT_EQ(TextAt(budget.data(), BPVc::AccName, 60), "Rent");
        DateRec end = GetDate(budget.data(), BPVc::EndDate);
        EXPECT_EQ(end.year, 2025);
        RecFreeMatrix(BPVc::Number, budget.data());
    }
}

// Totals rebuilt after reading: an sp1 record's balance from its rows; a
// voucher template has none and is left as read; a register without a
// totals routine is left as read and counted as a failed step.
TEST_F(SectionSpecialsTest, TotalsAfterReadingBalanceOrRefuse)
{
    struct Case { int reg; double balance; uint32_t failed; } cases[] = {
        {PersEntryVc::Number, 70, 0}, {AUVc::Number, 0, 0}, {ACVc::Number, 0, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.reg);
        ImportFailedSteps = 0;
        std::vector<uint8_t> record = Record(c.reg);
        PutTextAt(record.data(), 0, 5, "K1");
        if (c.reg == PersEntryVc::Number) {
            for (double amount : {100.0, -30.0}) {
                std::vector<uint8_t> row(RecRowSize(c.reg), 0);
                PackedDecimal v;
                DecFromDouble(&v, amount);
                PutDec(row.data(), PersEntryVc::Rows::Amount, v);
                ASSERT_TRUE(MatrixRowPut(c.reg, 0, record.data(), MatrixRowCount(c.reg, 0, record.data()), row.data()));
            }
        }
        std::vector<uint8_t> before = record;
        AfterReadTotals(c.reg, 1, record.data());
        EXPECT_EQ(ImportFailedSteps, c.failed);
        if (c.reg == PersEntryVc::Number) {
            PackedDecimal balance = GetDec(record.data(), PersEntryVc::Balance);
            EXPECT_EQ(DecCompareDouble(&balance, c.balance), 0);
        } else {
            EXPECT_EQ(record, before);
        }
        RecFreeMatrix(c.reg, record.data());
    }
    ImportFailedSteps = 0;
}

// The oldest form definition: the code gets "_" (within its 20
// characters), the five labels come one a line, no rows.
TEST_F(SectionSpecialsTest, OldestFormDefinitionCodeAndLabels)
{
    struct Case { const char *text, *code, *label5; } cases[] = {
        {"inv\r\nL1\r\nL2\r\nL3\r\nL4\r\nCopy 5\r\n\r\n", "INV_", "Copy 5"},
        {"ABCDEFGHIJKLMNOPQRST\textra\r\nL1\r\nL2\r\nL3\r\nL4\r\nL5\r\n", "ABCDEFGHIJKLMNOPQRST", "L5"},
        {"S\r\nL1\r\n\r\n", "S_", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.text);
        SourceOf(c.text);
        std::vector<uint8_t> doc = Record(DocVc::Number);
        ASSERT_TRUE(ReadDocText(DocVc::Number, 0, doc.data()));
        EXPECT_EQ(TextAt(doc.data(), DocVc::Code, 20), c.code);
        EXPECT_EQ(TextAt(doc.data(), DocVc::CopyLabel1, 60), "L1");
        EXPECT_EQ(TextAt(doc.data(), DocVc::CopyLabel5, 60), c.label5);
        EXPECT_EQ(MatrixRowCount(DocVc::Number, 0, doc.data()), 0);
    }
}

// Purchase rows: a typed price is kept (and, in layout 2, the unit cost as
// read); an empty one takes the item's cost price and recomputes the unit
// cost; a missing item leaves both blank; layout 1 computes every unit
// cost and the sums; a price that is no amount is damage.
TEST_F(SectionSpecialsTest, PurchasePriceFromItemAndRowCosts)
{
    static const Column head[] = {{PUVc::SerNr, FtLongOrEmpty, 0}, {PUVc::VatKind, FtShort, 0}};
    static const Column rows[] = {
        {PUVc::Rows::ItemCode, FtCodeNoSep, 20}, {PUVc::Rows::Quantity, FtAmount3, 0},
        {PUVc::Rows::Price, FtAmount2, 0}, {PUVc::Rows::Charge, FtText, 20}, {PUVc::Rows::UnitCost, FtAmount2, 0}};
    const FieldList list = {false, PUVc::Number, PUVc::Number, 2, head, RowSizeOfRegister, rows};
    std::vector<uint8_t> item = Record(INVc::Number);
    PutTextAt(item.data(), INVc::Code, 20, "P1");
    PackedDecimal cost;
    DecFromDouble(&cost, 4);
    PutDec(item.data(), INVc::CostPrice, cost);
    uint32_t recid = 0;
    ASSERT_TRUE(RecStoreByKey(INVc::Number, item.data(), 0, &recid));
    const double blank = -1;
    struct Case { int version; const char *row; bool ok; double price, unitCost, valueSum; } cases[] = {
        {2, "P1\t3\t\t\t9", true, 4, 4, blank},
        {2, "P1\t3\t5\t\t9", true, 5, 9, blank},
        {2, "NONE\t3\t\t\t9", true, blank, blank, blank},
        {1, "P1\t3\t5\t\t9", true, 5, 5, 15},
        {2, "P1\t3\t5x\t\t9", false, 0, 0, 0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.row);
        ImportAbortFlag = 0;
        SourceOf(std::string("1\t0\r\n") + c.row + "\r\n\r\n");
        std::vector<uint8_t> purchase = Record(PUVc::Number);
        PackedDecimal none;
        DecSetBlank(&none);
        PutDec(purchase.data(), PUVc::ValueSum, none);
        ASSERT_EQ(ReadPurchaseWith(list, c.version, purchase.data()), c.ok);
        if (c.ok) {
            ASSERT_EQ(MatrixRowCount(PUVc::Number, 0, purchase.data()), 1);
            std::vector<uint8_t> row = Row(PUVc::Number, purchase.data(), 0);
            struct { PackedDecimal v; double want; } checks[] = {
                {GetDec(row.data(), PUVc::Rows::Price), c.price},
                {GetDec(row.data(), PUVc::Rows::UnitCost), c.unitCost},
                {GetDec(purchase.data(), PUVc::ValueSum), c.valueSum},
            };
            for (auto &k : checks) {
                if (k.want == blank) {
                    EXPECT_TRUE(DecIsBlank(&k.v));
                } else {
                    EXPECT_EQ(DecCompareDouble(&k.v, k.want), 0) << k.want;
                }
            }
        }
        RecFreeMatrix(PUVc::Number, purchase.data());
    }
}

}  // namespace
