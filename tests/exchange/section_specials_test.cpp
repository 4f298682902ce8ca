// section_specials_test.cpp - the readers that do more than copy fields and
// the effects an imported record has: each case reads a small hand-written
// section and checks what was stored, kept or counted.
#include <vector>

#include "core/decimal.h"
#include "core/definitions.h"
#include "database/access/record_access.h"
#include "exchange/section_specials.h"
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

class SectionSpecialsTest : public ExchangeFixture {
protected:
    std::vector<uint8_t> Record(int reg) { return std::vector<uint8_t>(RegRecordSize(reg), 0); }
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

int EffectCalls;
bool EffectDouble(const uint8_t *) { return ++EffectCalls > 0; }
bool EffectFails(const uint8_t *) { ++EffectCalls; return false; }

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

}  // namespace
