// purchase_prices_test.cpp - the unit costs of a purchase carried into
// its items: cost prices (an equal one left alone), sales prices from
// the markup with and without VAT (company variant 15 only), the price
// lists made again, the item and group ranges, a missing purchase, the
// selection filled from the window that opens it, and request 50 run at
// the server for a client.
#include <cstring>
#include <vector>

#include "core/company_variant.h"
#include "core/msg_buffer.h"
#include "database/access/remote_calls.h"
#include "database/access/transport.h"
#include "net/net.h"
#include "rules/purchase_prices.h"
#include "tests/operations/invoice_fixture.h"
#include "tests/net/serve_here.h"
#include "tests/output/test_job.h"

namespace {

struct PurchaseRow {
    const char *item;
    double unitCost;
};

class PurchasePrices : public InvoiceCompanyFixture {
protected:
    std::vector<uint8_t> params = std::vector<uint8_t>(ReportParamsSize, 0);
    // The test's job record as found: a case that fills it gives it back,
    // so that the tests running after read what they set.
    std::vector<uint8_t> testJobAsFound;

    void SetUp() override
    {
        InvoiceCompanyFixture::SetUp();
        if (HasFatalFailure()) return;
        testJobAsFound.assign(TestJob, TestJob + ReportParamsSize);
        CompanyVariantBind(CompanyBlock);
        Variant(15);
        ChangeItem("ITEM1", [](uint8_t *r) { PutDec(r, INVc::Markup, Dec(25)); });
    }
    void TearDown() override
    {
        Variant(0);
        CompanyVariantBind(nullptr);
        if (testJobAsFound.size() == ReportParamsSize) std::memcpy(TestJob, testJobAsFound.data(), ReportParamsSize);
        InvoiceCompanyFixture::TearDown();
    }
    static void Variant(uint16_t v) { PutU16(CompanyBlock, CompanyBlk::CompanyVariant, v); }

    template <typename Change>
    void ChangeItem(const char *code, Change change)
    {
        RuleRecord r(INVc::Number);
        PutText(r.record, INVc::Code, 20, code);
        uint32_t recid = 0, position = 0;
        ASSERT_TRUE(RecFind(INVc::Number, r.record, 1, 1, &recid, &position)) << code;
        change(r.record);
        ASSERT_TRUE(RecStore(INVc::Number, r.record, 1, &recid));
    }
    static double ItemField(const char *code, uint32_t at)
    {
        RuleRecord r(INVc::Number);
        PutText(r.record, INVc::Code, 20, code);
        uint32_t recid = 0, position = 0;
        EXPECT_TRUE(RecFind(INVc::Number, r.record, 1, 1, &recid, &position)) << code;
        return Num(r.record, at);
    }
    void Purchase(uint32_t serial, std::initializer_list<PurchaseRow> rows)
    {
        StoreRecord(PUVc::Number, [&](uint8_t *r) {
            PutU32(r, PUVc::SerNr, serial);
            int32_t i = 0;
            for (const PurchaseRow &x : rows) {
                uint8_t row[PUVc::Rows::Size] = {};
                PutText(row, PUVc::Rows::ItemCode, 20, x.item);
                PutDec(row, PUVc::Rows::Quantity, Dec(1));
                PutDec(row, PUVc::Rows::UnitCost, Dec(x.unitCost));
                ASSERT_TRUE(MatrixRowPut(PUVc::Number, 0, r, i++, row));
            }
        });
    }
    // The selection: purchase `serial`, cost and sales prices set, price
    // lists left alone unless `lists`.
    void Select(uint32_t serial, const char *items = "", const char *groups = "", bool lists = false)
    {
        std::fill(params.begin(), params.end(), 0);
        PutU32(params.data(), ReportParamsVc::NumberFrom, serial);
        PutText(params.data(), ReportParamsVc::SelText2, 255, items);
        PutText(params.data(), ReportParamsVc::SelText3, 255, groups);
        PutU16(params.data(), ReportParamsVc::Option2, 1);
        PutU16(params.data(), ReportParamsVc::Option3, 1);
        PutU16(params.data(), ReportParamsVc::Option4, lists ? 0 : 1);
    }
    // A price list "A" whose formula is the cost price.
    void CostPriceList()
    {
        StoreRecord(PriceFormulaVc::Number, [&](uint8_t *r) {
            PutText(r, PriceFormulaVc::Code, 5, "F1");
            PutDec(r, PriceFormulaVc::Percentage, Dec(100));
            PutU16(r, PriceFormulaVc::Decimals, 2);
        });
        StoreRecord(PriceListVc::Number, [&](uint8_t *r) {
            PutText(r, PriceListVc::Code, 5, "A");
            uint8_t row[PriceListVc::Rows::Size] = {};
            PutText(row, PriceListVc::Rows::CodeRange, 60, "G1");
            PutText(row, PriceListVc::Rows::Formula, 5, "F1");
            ASSERT_TRUE(MatrixRowPut(PriceListVc::Number, 0, r, 0, row));
        });
    }
    static double ListPrice(const char *item)
    {
        RuleRecord r(PriceVc::Number);
        PutText(r.record, PriceVc::PriceList, 5, "A");
        PutText(r.record, PriceVc::ItemCode, 20, item);
        uint32_t id = 0, position = 0;
        if (!RecFindByIndex(PriceVc::Number, "PriceList", r.record, 2, 1, &id, &position)) return -1;
        return Num(r.record, PriceVc::Price);
    }
};

// Markup 25 on a unit cost of 80.00 without VAT: sales price 100.00, cost
// price 80.00; rows without an item or naming none that exists are passed
// over.
TEST_F(PurchasePrices, CostAndSalesPricesFromTheUnitCosts)
{
    ChangeItem("ITEM1", [](uint8_t *r) { PutDec(r, INVc::BasePrice, Dec(90)); });
    Purchase(7, {{"ITEM1", 80}, {"", 5}, {"NOSUCH", 9}});
    Select(7);
    ASSERT_TRUE(PurchasePricesToItems(params.data()));
    EXPECT_EQ(ItemField("ITEM1", INVc::CostPrice), 80);
    EXPECT_EQ(ItemField("ITEM1", INVc::BasePrice), 100);
    EXPECT_TRUE(shown.empty());

    // With prices including VAT, the item's 25 % is added.
    ChangeBlock(SalesAccountsBlk::Number, SalesAccountsBlk::Size,
                [](uint8_t *b) { PutU16(b, SalesAccountsBlk::PricesInclVat, 1); });
    ASSERT_TRUE(PurchasePricesToItems(params.data()));
    EXPECT_EQ(ItemField("ITEM1", INVc::BasePrice), 125);
}

// Outside variant 15 no sales price changes; with the cost switch off no
// cost price; a unit cost equal to the cost price changes nothing.
TEST_F(PurchasePrices, SwitchesAndVariantDecideWhatIsSet)
{
    Purchase(7, {{"ITEM1", 80}, {"ITEM2", 20}});
    Variant(0);
    Select(7);
    ASSERT_TRUE(PurchasePricesToItems(params.data()));
    EXPECT_EQ(ItemField("ITEM1", INVc::CostPrice), 80);
    EXPECT_EQ(ItemField("ITEM1", INVc::BasePrice), 100) << "the old price";
    EXPECT_EQ(ItemField("ITEM2", INVc::CostPrice), 20);
    EXPECT_EQ(ItemField("ITEM2", INVc::BasePrice), 50);

    Purchase(8, {{"ITEM1", 70}});
    Variant(15);
    Select(8);
    PutU16(params.data(), ReportParamsVc::Option2, 0);
    ASSERT_TRUE(PurchasePricesToItems(params.data()));
    EXPECT_EQ(ItemField("ITEM1", INVc::CostPrice), 80) << "cost switch off";
    EXPECT_EQ(ItemField("ITEM1", INVc::BasePrice), 87.5);   // 70 + 25 %
}

// Items outside the item range or the group range are not changed by
// any step, the price lists included; a missing purchase changes nothing.
TEST_F(PurchasePrices, RangesAndAMissingPurchase)
{
    CostPriceList();
    Purchase(7, {{"ITEM1", 80}, {"ITEM2", 30}, {"SERVICE", 500}});
    Select(7, "ITEM2:SERVICE", "G1", true);
    ASSERT_TRUE(PurchasePricesToItems(params.data()));
    EXPECT_EQ(ItemField("ITEM1", INVc::CostPrice), 60);
    EXPECT_EQ(ListPrice("ITEM1"), -1);
    EXPECT_EQ(ItemField("ITEM2", INVc::CostPrice), 30);
    EXPECT_EQ(ListPrice("ITEM2"), 30) << "the list made again from the new cost";
    EXPECT_EQ(ItemField("SERVICE", INVc::CostPrice), 0) << "group G2 is outside";

    Select(99, "", "", true);
    ASSERT_TRUE(PurchasePricesToItems(params.data()));
    EXPECT_EQ(ListPrice("ITEM1"), -1);
    EXPECT_EQ(ItemField("ITEM1", INVc::CostPrice), 60);
}

// The price-list step leaves the caller's job record as it was.
TEST_F(PurchasePrices, ThePriceListStepKeepsTheJobRecord)
{
    CostPriceList();
    Purchase(7, {{"ITEM1", 80}});
    Select(7, "", "", true);
    std::memset(TestJob, 0x5A, ReportParamsSize);
    ASSERT_TRUE(PurchasePricesToItems(params.data()));
    EXPECT_EQ(ListPrice("ITEM1"), 80);
    for (uint32_t i = 0; i < ReportParamsSize; i++) ASSERT_EQ(TestJob[i], 0x5A) << i;
}

// The window opened from a purchase takes its number; from a purchase
// source of an item, that item as the range; both switch the prices on.
TEST_F(PurchasePrices, TheSelectionIsFilledFromItsOpener)
{
    std::vector<uint8_t> purchase(PUVc::Size, 0), source(PurchItemVc::Size, 0);
    PutU32(purchase.data(), PUVc::SerNr, 4711);
    PurchasePricesFill(PUVc::Number, purchase.data(), params.data());
    EXPECT_EQ(GetU32(params.data(), ReportParamsVc::NumberFrom), 4711u);
    EXPECT_EQ(GetU16(params.data(), ReportParamsVc::Option2), 1);
    EXPECT_EQ(GetU16(params.data(), ReportParamsVc::Option3), 1);
    EXPECT_EQ(Text(params.data(), ReportParamsVc::SelText2), "");

    std::fill(params.begin(), params.end(), 0);
    PutText(source.data(), PurchItemVc::ItemCode, 20, "ITEM2");
    PurchasePricesFill(PurchItemVc::Number, source.data(), params.data());
    EXPECT_EQ(Text(params.data(), ReportParamsVc::SelText2), "ITEM2:ITEM2");
    EXPECT_EQ(GetU32(params.data(), ReportParamsVc::NumberFrom), 0u);
    EXPECT_EQ(GetU16(params.data(), ReportParamsVc::Option3), 1);

    // Another register's record leaves the numbers and ranges alone.
    std::fill(params.begin(), params.end(), 0);
    PurchasePricesFill(CUVc::Number, source.data(), params.data());
    EXPECT_EQ(GetU32(params.data(), ReportParamsVc::NumberFrom), 0u);
    EXPECT_EQ(Text(params.data(), ReportParamsVc::SelText2), "");
}

// Request 50: a client's run changes the items at the server, and a job
// record of a wrong length is refused before anything is changed.
TEST_F(PurchasePrices, RequestFiftyRunsAtTheServer)
{
    Purchase(7, {{"ITEM1", 80}});
    Select(7);
    RunMode = RunModeClient;
    TransportInstall(ServeHere, ServeHere);
    EXPECT_TRUE(PurchasePricesToItemsCall(params.data()));
    TransportInstall(nullptr, nullptr);
    RunMode = 0;
    EXPECT_EQ(ItemField("ITEM1", INVc::CostPrice), 80);
    EXPECT_EQ(ItemField("ITEM1", INVc::BasePrice), 100);

    Purchase(8, {{"ITEM2", 33}});
    Select(8);
    for (uint32_t size : {ReportParamsSize - 2, ReportParamsSize + 2}) {
        std::vector<uint8_t> job(size, 0);
        std::memcpy(job.data(), params.data(), std::min(size, ReportParamsSize));
        MsgBuffer request, reply;
        MsgPutSized(&request, job.data(), size);
        EXPECT_FALSE(ServerDispatch(ReqPurchasePricesToItems, &request, &reply)) << size;
    }
    EXPECT_EQ(ItemField("ITEM2", INVc::CostPrice), 20);
}

}  // namespace
