// section_readers_test.cpp - the readers that do more than copy fields and
// the effects an imported record has: each case reads a small hand-written
// section and checks what was stored, kept or counted.
#include <vector>

#include "core/decimal.h"
#include "core/definitions.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "exchange/section_readers.h"
#include "rules/rules_types.h"
#include "shell/database_open.h"
#include "tests/exchange/exchange_fixture.h"

namespace {

// Lists cut to what each reader needs. Item: nine header columns, the
// price-list pair, one more; order: number, date and the row columns the
// reader changes; form: code, rows of eleven (the 10th the field code);
// asset: sixteen (the 9th, 10th, 14th and 15th the old row); purchase:
// number, VAT kind, rows around the price.
const Column ItemHead[] = {
    {INVc::Code, FtCodeNoSep, 20}, {INVc::Name, FtText, 60}, {INVc::Unit, FtText, 10},
    {INVc::MinStock, FtAmount2, 0}, {INVc::Objects, FtCodeNoSep, 5}, {INVc::SalesAcc, FtCodeNoSep, 10},
    {INVc::BasePrice, FtAmount3Drop, 0}, {INVc::Stocked, FtShort, 0}, {INVc::Group, FtCodeNoSep, 5},
    {0, FtCodeNoSep, 1, Col::Empty}, {0, FtAmount2, 0, Col::Empty}, {INVc::CostPrice, FtAmount2, 0}};
const Column OrderHead[] = {{ORVc::SerNr, FtLongOrEmpty, 0}, {ORVc::OrdDate, FtDate, 0}};
const Column OrderRows[] = {
    {ORVc::Rows::Kind, FtShort, 0}, {ORVc::Rows::ItemCode, FtCodeNoSep, 20}, {ORVc::Rows::Quantity, FtAmount3, 0},
    {ORVc::Rows::Text, FtText, 100}, {ORVc::Rows::QtyDelivered, FtAmount3, 0},
    {ORVc::Rows::QtyShipped, FtAmount3, 0}, {ORVc::Rows::QtyInvoiced, FtAmount3, 0},
    {ORVc::Rows::StructCode, FtCodeNoSep, 20}};
const Column DocHead[] = {{DocVc::Code, FtCodeNoSep, 20}};
const Column DocRows[] = {
    {DocVc::Rows::Kind, FtShort, 0}, {DocVc::Rows::Left, FtAmount2, 0}, {DocVc::Rows::Top, FtAmount2, 0},
    {DocVc::Rows::Right, FtAmount2, 0}, {DocVc::Rows::Bottom, FtAmount2, 0}, {DocVc::Rows::Font, FtText, 20},
    {DocVc::Rows::Text, FtText, 100}, {DocVc::Rows::Alignment, FtShort, 0}, {DocVc::Rows::RowPitch, FtShort, 0},
    {DocVc::Rows::FieldCode, FtShort, 0}, {DocVc::Rows::Word180, FtShort, 0}};
const Column AssetHead[] = {
    {AssetVc::Code, FtCodeNoSep, 10}, {AssetVc::Name, FtText, 60}, {AssetVc::Class, FtCodeNoSep, 5},
    {AssetVc::Department, FtCodeNoSep, 5}, {AssetVc::Location, FtCodeNoSep, 10}, {AssetVc::SerialNr, FtText, 20},
    {AssetVc::AcqDate, FtDate, 0}, {AssetVc::Comment, FtText, 60}, {AssetVc::Amount188, FtAmount2, 0},
    {AssetVc::AcqValue, FtAmount2, 0}, {AssetVc::DispDate, FtDate, 0}, {AssetVc::VendCode, FtText, 20},
    {AssetVc::VendName, FtText, 60}, {AssetVc::Value302, FtAmount2, 0}, {AssetVc::Value320, FtAmount2, 0},
    {AssetVc::Objects, FtCodeNoSep, 5}};
const Column PurchaseHead[] = {{PUVc::SerNr, FtLongOrEmpty, 0}, {PUVc::VatKind, FtShort, 0}};
const Column PurchaseRows[] = {
    {PUVc::Rows::ItemCode, FtCodeNoSep, 20}, {PUVc::Rows::Quantity, FtAmount3, 0},
    {PUVc::Rows::Price, FtAmount2, 0}, {PUVc::Rows::Charge, FtText, 20}, {PUVc::Rows::UnitCost, FtAmount2, 0}};
const FieldList ItemV1 = {false, INVc::Number, INVc::Number, 1, ItemHead, 0, {}};
const FieldList OrderV1 = {false, ORVc::Number, ORVc::Number, 1, OrderHead, RowSizeOfRegister, OrderRows};
const FieldList DocV2 = {false, DocVc::Number, DocVc::Number, 2, DocHead, RowSizeOfRegister, DocRows};
const FieldList AssetNewest = {false, AssetVc::Number, AssetVc::Number, 2, AssetHead, 0, {}};
const FieldList PurchaseV2 = {false, PUVc::Number, PUVc::Number, 2, PurchaseHead, RowSizeOfRegister, PurchaseRows};

// The value the cases use for a blank amount.
constexpr double Blank = -999;

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

// Checks the amount at base + at against want (Blank: blank).
void ExpectAmount(const uint8_t *base, uint32_t at, double want)
{
    PackedDecimal v = GetDec(base, at);
    if (want == Blank) {
        EXPECT_TRUE(DecIsBlank(&v)) << at;
    } else {
        EXPECT_EQ(DecCompareDouble(&v, want), 0) << at << " wants " << want;
    }
}

int EffectCalls;
bool EffectAddDouble(const uint8_t *, int add) { return (EffectCalls += add) > 0; }
bool EffectAddFails(const uint8_t *, int) { ++EffectCalls; return false; }

class SectionSpecialsTest : public ExchangeFixture {
protected:
    std::vector<uint8_t> Record(int reg) { return std::vector<uint8_t>(RegRecordSize(reg), 0); }
    // Stores an item with a default location and a cost price.
    void StoreItem(const char *code, const char *location, double cost = 0)
    {
        std::vector<uint8_t> item = Record(INVc::Number);
        PutTextAt(item.data(), INVc::Code, 20, code);
        PutTextAt(item.data(), INVc::DefLocation, 10, location);
        PackedDecimal v;
        DecFromDouble(&v, cost);
        PutDec(item.data(), INVc::CostPrice, v);
        uint32_t recid = 0;
        ASSERT_TRUE(RecStoreByKey(INVc::Number, item.data(), 0, &recid));
    }
    // Row r of a register's record.
    std::vector<uint8_t> Row(int reg, uint8_t *record, int32_t r)
    {
        std::vector<uint8_t> row(RecRowSize(reg), 0);
        EXPECT_TRUE(MatrixRowGet(reg, 0, record, r, row.data()));
        return row;
    }
};

// The item's price column stores a record of price list "2" only for a
// non-zero amount; a damaged amount stores nothing.
TEST_F(SectionSpecialsTest, ItemPriceColumnStoresPriceListRecordOnlyForNonZeroAmount)
{
    struct Case { const char *line; bool ok, stored; } cases[] = {
        {"A1\tWidget\tpcs\t\t\t\t\t0\t\tACC1\t12.50\t3.00\r\n", true, true},
        {"A2\tBolt\tpcs\t\t\t\t\t0\t\tACC1\t\t3.00\r\n", true, false},
        {"A3\tNut\tpcs\t\t\t\t\t0\t\tACC1\t0\t3.00\r\n", true, false},
        {"A4\tPin\tpcs\t\t\t\t\t0\t\tACC1\t12x\t3.00\r\n", false, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        ImportAbortFlag = 0;
        SourceOf(c.line);
        std::vector<uint8_t> item = Record(INVc::Number), price = Record(PriceVc::Number);
        EXPECT_EQ(ReadItemWith(ItemV1, 1, item.data()), c.ok);
        PutTextAt(price.data(), PriceVc::ItemCode, 20, TextAt(item.data(), INVc::Code, 20).c_str());
        PutTextAt(price.data(), PriceVc::PriceList, 5, "2");
        uint32_t recid = 0, position = 0;
        ASSERT_EQ(RecFind(PriceVc::Number, price.data(), 2, 1, &recid, &position), c.stored);
        if (c.stored) {
            ExpectAmount(price.data(), PriceVc::Price, 12.5);
            EXPECT_EQ(TextAt(price.data(), PriceVc::ItemName, 60), "Widget");
        }
    }
}

// "kund1": the two flag texts give 1 when empty, their number else; text
// there is damage.
TEST_F(SectionSpecialsTest, OldCustomerFlagsDefaultToOneAndRefuseText)
{
    const std::string lines = "C1\tName\t\t\textra\r\nA1\tA2\tA3\tP1\r\nD1\tD2\tD3\r\n\t\tGRP\t\t30\t1\t0\t\t";
    struct Case { const char *flags; bool ok; uint16_t at644, at686; } cases[] = {
        {"\t\t\t\t\t\r\n", true, 1, 1}, {"4\t\t\t\t7\r\n", true, 4, 7}, {"x\t\t\t\t\r\n", false, 0, 0}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.flags);
        ImportAbortFlag = 0;
        SourceOf(lines + c.flags);
        std::vector<uint8_t> cu = Record(CUVc::Number);
        EXPECT_EQ(ReadCustomerV1(CUVc::Number, 1, cu.data()), c.ok);
        if (!c.ok) continue;
        EXPECT_EQ(GetU16(cu.data(), CUVc::InterestFlag), c.at644);
        EXPECT_EQ(GetU16(cu.data(), CUVc::NoticeCounting), c.at686);
        EXPECT_EQ(TextAt(cu.data(), CUVc::DelAddr3, 60), "D3");
        EXPECT_EQ(TextAt(cu.data(), CUVc::CustGroup, 5), "GRP");
    }
}

// Order rows of kind 1: delivered and shipped held within 0 and the
// ordered quantity, invoiced not below 0, an empty location from the item
// or "_"; a row of another kind is left as read.
TEST_F(SectionSpecialsTest, OrderRowsClampedAndLocatedByKind)
{
    StoreItem("I1", "L1");
    StoreItem("I2", "");
    struct Case { const char *row; double delivered, shipped, invoiced; const char *location; } rows[] = {
        {"1\tI1\t5\t\t7\t6\t-2\t", 5, 5, 0, "L1"},   {"1\tI1\t5\t\t-1\t3\t9\tX9", 0, 3, 9, "X9"},
        {"1\tI2\t5\t\t2\t2\t2\t", 2, 2, 2, "_"},     {"1\tNONE\t5\t\t2\t2\t2\t", 2, 2, 2, "_"},
        {"2\tNONE\t5\t\t7\t-6\t-2\t", 7, -6, -2, ""},
    };
    std::string text = "7\t\r\n";
    for (const Case &c : rows) text += std::string(c.row) + "\r\n";
    SourceOf(text + "\r\n");
    std::vector<uint8_t> order = Record(ORVc::Number);
    ASSERT_TRUE(ReadOrderWith(OrderV1, 1, order.data()));
    EXPECT_EQ(GetI32(order.data(), ORVc::SerNr), 7);
    ASSERT_EQ(MatrixRowCount(ORVc::Number, 0, order.data()), 5);
    for (int32_t r = 0; r < 5; r++) {
        SCOPED_TRACE(rows[r].row);
        std::vector<uint8_t> row = Row(ORVc::Number, order.data(), r);
        ExpectAmount(row.data(), ORVc::Rows::QtyDelivered, rows[r].delivered);
        ExpectAmount(row.data(), ORVc::Rows::QtyShipped, rows[r].shipped);
        ExpectAmount(row.data(), ORVc::Rows::QtyInvoiced, rows[r].invoiced);
        EXPECT_EQ(TextAt(row.data(), ORVc::Rows::StructCode, 20), rows[r].location);
    }
    RecFreeMatrix(ORVc::Number, order.data());
}

// "S" takes the next free number; a new order creates each missing item
// once and calls its reserved-stock effect, counting it skipped (and told
// once at the end) when not installed or failed; an order the register
// holds does neither; a damaged number reads nothing.
TEST_F(SectionSpecialsTest, OrderNumberItemsAndEffectsOnlyForNewOrders)
{
    std::vector<uint8_t> first = Record(ORVc::Number);
    PutI32(first.data(), ORVc::SerNr, 1);
    uint32_t recid = 0, position = 0;
    ASSERT_TRUE(RecStoreByKey(ORVc::Number, first.data(), 0, &recid));
    const std::string rows = "1\tNEW1\t2\tNew thing\t\t\t\t\r\n1\tNEW1\t1\tAgain\t\t\t\t\r\n\r\n";
    struct Case { const char *number; bool ok; int32_t want; bool (*effect)(const uint8_t *, int); int calls;
                  uint32_t skipped; } cases[] = {
        {"S", true, 2, EffectAddDouble, 1, 0}, {"1", true, 1, EffectAddDouble, 0, 0},
        {"S", true, 2, nullptr, 0, 1},         {"S", true, 2, EffectAddFails, 1, 2},
        {"1x", false, 0, EffectAddDouble, 0, 2},
    };
    int told = Shown(Texts::ImportEffectsSkipped);
    const ImportEffectsRec installed = ImportEffects;   // the program's own, put back below
    for (const Case &c : cases) {
        SCOPED_TRACE(c.number);
        ImportAbortFlag = 0;
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
    ImportEffectsReport();
    ImportEffects = installed;
    EXPECT_EQ(Shown(Texts::ImportEffectsSkipped), told + 1);
    std::vector<uint8_t> item = Record(INVc::Number);
    PutTextAt(item.data(), INVc::Code, 20, "NEW1");
    ASSERT_TRUE(RecFind(INVc::Number, item.data(), 1, 1, &recid, &position));
    EXPECT_EQ(TextAt(item.data(), INVc::Name, 60), "New thing");
    EXPECT_EQ(RegOpenCount(INVc::Number), 1u);
}

// Purchase rows: a typed price is kept (and, in layout 2, the unit cost as
// read); an empty one takes the item's cost price and recomputes the unit
// cost; a missing item leaves both blank; layout 1 computes every unit
// cost and the sums; a price that is no amount is damage.
TEST_F(SectionSpecialsTest, PurchasePriceFromItemAndRowCosts)
{
    StoreItem("P1", "", 4);
    struct Case { int version; const char *row; bool ok; double price, unitCost, valueSum; } cases[] = {
        {2, "P1\t3\t\t\t9", true, 4, 4, Blank},         {2, "P1\t3\t5\t\t9", true, 5, 9, Blank},
        {2, "NONE\t3\t\t\t9", true, Blank, Blank, Blank}, {1, "P1\t3\t5\t\t9", true, 5, 5, 15},
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
        ASSERT_EQ(ReadPurchaseWith(PurchaseV2, c.version, purchase.data()), c.ok);
        if (c.ok) {
            ASSERT_EQ(MatrixRowCount(PUVc::Number, 0, purchase.data()), 1);
            std::vector<uint8_t> row = Row(PUVc::Number, purchase.data(), 0);
            ExpectAmount(row.data(), PUVc::Rows::Price, c.price);
            ExpectAmount(row.data(), PUVc::Rows::UnitCost, c.unitCost);
            ExpectAmount(purchase.data(), PUVc::ValueSum, c.valueSum);
        }
        RecFreeMatrix(PUVc::Number, purchase.data());
    }
}

// Form definitions: each coordinate pair in order; an empty field code of
// a text row found by its text in the field-name list; layout 1's codes
// above 9 moved up by one; a code that is no number is damage. Layout 0:
// the code gets "_" within its 20 characters, five labels one a line.
TEST_F(SectionSpecialsTest, FormDefinitionsByLayout)
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
            ExpectAmount(row.data(), DocVc::Rows::Left, c.left);
            ExpectAmount(row.data(), DocVc::Rows::Right, c.right);
            PackedDecimal top = GetDec(row.data(), DocVc::Rows::Top), bottom = GetDec(row.data(), DocVc::Rows::Bottom);
            EXPECT_LE(DecCompare(&top, &bottom), 0);
            EXPECT_EQ(GetU16(row.data(), DocVc::Rows::FieldCode), c.code);
            EXPECT_EQ(TextAt(row.data(), DocVc::Rows::Text, 100), c.text);
        }
        RecFreeMatrix(DocVc::Number, doc.data());
    }
    struct Old { const char *text, *code, *label5; } olds[] = {
        {"inv\r\nL1\r\nL2\r\nL3\r\nL4\r\nCopy 5\r\n\r\n", "INV_", "Copy 5"},
        {"ABCDEFGHIJKLMNOPQRST\textra\r\nL1\r\nL2\r\nL3\r\nL4\r\nL5\r\n", "ABCDEFGHIJKLMNOPQRST", "L5"},
        {"S\r\nL1\r\n\r\n", "S_", ""},
    };
    for (const Old &c : olds) {
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

// An old asset line: four of its columns become the one row, the others
// stay in the header.
TEST_F(SectionSpecialsTest, OldAssetColumnsBecomeTheOneRow)
{
    SourceOf("A1\tPress\tCL\t\t\t\t\t\t1500.50\t\t\tT\t\tM1\tM2\tOB\textra\r\n");
    std::vector<uint8_t> asset = Record(AssetVc::Number);
    ASSERT_TRUE(ReadAssetV1With(AssetNewest, asset.data()));
    EXPECT_EQ(TextAt(asset.data(), AssetVc::VendCode, 20), "T");
    EXPECT_EQ(TextAt(asset.data(), AssetVc::Objects, 5), "OB");
    ASSERT_EQ(MatrixRowCount(AssetVc::Number, 0, asset.data()), 1);
    std::vector<uint8_t> row = Row(AssetVc::Number, asset.data(), 0);
    ExpectAmount(row.data(), AssetVc::Rows::NewValue, 1500.50);
    EXPECT_EQ(TextAt(row.data(), AssetVc::Rows::Model1, 5), "M1");
    EXPECT_EQ(TextAt(row.data(), AssetVc::Rows::Model2, 5), "M2");
    RecFreeMatrix(AssetVc::Number, asset.data());
}

// A fiscal year from the 31st: each month's row starts on the day the
// year starts, or on the month's last day when it is shorter, never on
// a day the month lacks, and a short month does not carry into the
// months after it.
TEST_F(SectionSpecialsTest, OldBudgetRowsOfAYearFromThe31st)
{
    uint8_t year[FiscalYearEntry::Size] = {0};
    PutDate(year, FiscalYearEntry::StartDate, DateRec{31, 1, 2025});
    PutDate(year, FiscalYearEntry::EndDate, DateRec{30, 1, 2026});
    ASSERT_EQ(SettingsBlockStore(FiscalYearBlk::Number, year, sizeof year), RecDone);
    SourceOf("4010\tP1\tRent\t1\t0\t365\t0\r\n\r\n");
    std::vector<uint8_t> budget = Record(BPVc::Number);
    ASSERT_TRUE(ReadBudgetV2(BPVc::Number, 2, budget.data()));
    ASSERT_EQ(MatrixRowCount(BPVc::Number, 0, budget.data()), 12);
    const uint16_t days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    for (int32_t r = 0; r < 12; r++) {
        const DateRec from = GetDate(Row(BPVc::Number, budget.data(), r).data(), BPVc::Rows::FromDate);
        EXPECT_EQ(from.day, days[r]) << "row " << r;
        EXPECT_EQ(from.month, r + 1) << "row " << r;
    }
    RecFreeMatrix(BPVc::Number, budget.data());
}

// An old budget gets one row per month of the fiscal year; the total is
// spread by the days of each month and the rows add up to it; a total
// flagged invalid stays blank with its rows; texts follow when flagged;
// a damaged total reads nothing.
TEST_F(SectionSpecialsTest, OldBudgetMakesRowsOfTheYearAndSpreadsItsTotal)
{
    uint8_t year[FiscalYearEntry::Size] = {0};
    PutDate(year, FiscalYearEntry::StartDate, DateRec{1, 1, 2025});
    PutDate(year, FiscalYearEntry::EndDate, DateRec{31, 12, 2025});
    ASSERT_EQ(SettingsBlockStore(FiscalYearBlk::Number, year, sizeof year), RecDone);
    const std::string texts = "\tjan\tfeb\tmar\tapr\tmay\tjun\tjul\taug\tsep\toct\tnov\tdec";
    struct Case { std::string line; bool ok; double jan, feb, total; const char *febText; } cases[] = {
        {"4010\tP1\tRent\t1\t0\t365\t0", true, 31, 28, 365, ""},
        {"4010\tP1\tRent\t1\t1\t100\t0" + texts, true, 8.49, 7.67, 100, "feb"},
        {"4010\tP1\tRent\t0\t0\t365\t0", true, Blank, Blank, Blank, ""},
        {"4010\tP1\tRent\t1\t0\t36x\t0", false, 0, 0, 0, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.line);
        ImportAbortFlag = 0;
        SourceOf(c.line + "\r\n\r\n");
        std::vector<uint8_t> budget = Record(BPVc::Number);
        ASSERT_EQ(ReadBudgetV2(BPVc::Number, 2, budget.data()), c.ok);
        if (!c.ok) continue;
        ASSERT_EQ(MatrixRowCount(BPVc::Number, 0, budget.data()), 12);
        ExpectAmount(budget.data(), BPVc::Total, c.total);
        PackedDecimal sum;
        DecSetZero(&sum);
        for (int32_t r = 0; r < 12; r++) {
            std::vector<uint8_t> row = Row(BPVc::Number, budget.data(), r);
            EXPECT_EQ(GetDate(row.data(), BPVc::Rows::FromDate).month, r + 1);
            if (r < 2) ExpectAmount(row.data(), BPVc::Rows::Amount, r == 0 ? c.jan : c.feb);
            PackedDecimal v = GetDec(row.data(), BPVc::Rows::Amount);
            if (!DecIsBlank(&v)) DecAdd(&sum, &v, &sum);
        }
        EXPECT_EQ(TextAt(Row(BPVc::Number, budget.data(), 1).data(), BPVc::Rows::Text, 60), c.febText);
        if (c.total != Blank) {
            EXPECT_EQ(DecCompareDouble(&sum, c.total), 0);
        }
        RecFreeMatrix(BPVc::Number, budget.data());
    }
}

// Totals rebuilt after reading: an sp1 record's balance from its rows; a
// register without a totals routine is left as read and counted as a
// failed step.
TEST_F(SectionSpecialsTest, TotalsAfterReadingBalanceOrRefuse)
{
    ImportFailedSteps = 0;
    std::vector<uint8_t> sp1 = Record(PersEntryVc::Number), row(RecRowSize(PersEntryVc::Number), 0);
    for (int32_t r = 0; r < 2; r++) {
        PackedDecimal v;
        DecFromDouble(&v, r == 0 ? 100 : -30);
        PutDec(row.data(), PersEntryVc::Rows::Amount, v);
        ASSERT_TRUE(MatrixRowPut(PersEntryVc::Number, 0, sp1.data(), r, row.data()));
    }
    AfterReadTotals(PersEntryVc::Number, 1, sp1.data());
    ExpectAmount(sp1.data(), PersEntryVc::Balance, 70);
    RecFreeMatrix(PersEntryVc::Number, sp1.data());
    std::vector<uint8_t> account = Record(ACVc::Number), before = account;
    AfterReadTotals(ACVc::Number, 1, account.data());
    EXPECT_EQ(account, before);
    EXPECT_EQ(ImportFailedSteps, 1u);
    ImportFailedSteps = 0;
}

}  // namespace
