// Tests of a document row's price: price lists in and out of the
// document's currency, VAT codes and accounts by zone, the text in the
// document's language, discounts, costs of plain and structure items, and
// a missing item.
#include <memory>

#include "core/record_buffer.h"
#include "core/decimal.h"
#include "rules/prices.h"
#include "rules/stock.h"
#include "tests/rules/rules_fixture.h"

namespace {

class ItemPriceTest : public RulesFixture {
protected:
    uint8_t codes[8][256];
    ItemPriceQuery q{};
    ItemPriceAnswer a{};
    std::unique_ptr<RuleRecord> itemHolder;
    RuleRecord *itemRec = nullptr;

    void SetUp() override {
        RulesFixture::SetUp();
        if (HasFatalFailure()) return;
        itemHolder = std::make_unique<RuleRecord>(INVc::Number);
        itemRec = itemHolder.get();
        ASSERT_NE(itemRec->record, nullptr);
        std::vector<uint8_t> block(SalesAccountsBlk::Size, 0);
        PutText(block.data(), SalesAccountsBlk::SalesAcc0, 10, "3000");
        PutText(block.data(), SalesAccountsBlk::SalesAcc2, 10, "3200");
        PutText(block.data(), SalesAccountsBlk::VatCode0, 2, "1");
        PutText(block.data(), SalesAccountsBlk::VatCode1, 2, "5");
        PutText(block.data(), SalesAccountsBlk::VatCode2, 2, "6");
        StoreBlock(SalesAccountsBlk::Number, block.data(), SalesAccountsBlk::Size);
        StoreRecord(ITVc::Number, [](uint8_t *r) {
            PutText(r, ITVc::Code, 5, "G1");
            PutText(r, ITVc::SalesAcc, 10, "3010");
            PutText(r, ITVc::VatCode, 2, "2");
            PutText(r, ITVc::VatCodeZ2, 2, "9");
        });
        StoreItem("WIDGET", {.group = "G1", .price = 100, .cost = 40, .name = "Widget"});
        Query("WIDGET");
    }
    void TearDown() override {
        itemHolder.reset();
        RulesFixture::TearDown();
    }
    // The query for item with no currency, rate 100 and nothing else given.
    void Query(const char *itemCode, const char *currency = "", double rate = 100, const char *list = "",
               uint16_t zone = 0) {
        const char *texts[] = {itemCode, currency, "", "", list, ""};
        for (int i = 0; i < 6; i++) PStringFromC(codes[i], texts[i]);
        q = ItemPriceQuery{codes[0], Dec(1), codes[1], Dec(rate), codes[2], codes[3], codes[4], codes[5], zone, {}, {}};
        DecSetBlank(&q.price);
        DecSetBlank(&q.discount);
    }
    void StoreList(const char *code, const char *currency, const char *itemCode, double price, const char *acc = "") {
        StoreRecord(PriceListVc::Number, [&](uint8_t *r) {
            PutText(r, PriceListVc::Code, 5, code);
            PutText(r, PriceListVc::CurncyCode, 5, currency);
        });
        StoreRecord(PriceVc::Number, [&](uint8_t *r) {
            PutText(r, PriceVc::PriceList, 5, code);
            PutText(r, PriceVc::ItemCode, 20, itemCode);
            PutDec(r, PriceVc::Price, Dec(price));
            PutText(r, PriceVc::SalesAcc, 10, acc);
        });
    }
    double Price() { return DecToLong(&a.price) + 0.0; }
};

TEST_F(ItemPriceTest, PriceListsAndCurrencies) {
    StoreList("SAME", "EUR", "WIDGET", 100, "3300");
    StoreList("HOME", "", "WIDGET", 100);
    StoreList("USD", "USD", "WIDGET", 100);
    StoreRate("USD", DateRec{1, 1, 2024}, 900);   // today is 15 June 2024
    // No list: the base price in home currency, into the document's at rate 50.
    Query("WIDGET", "EUR", 50);
    ASSERT_TRUE(ItemPrice(&q, itemRec->record, &a));
    EXPECT_EQ(Price(), 200);
    EXPECT_EQ(Text(itemRec->record, INVc::Code), "WIDGET");
    // A list in the document's currency keeps its price and gives its account.
    Query("WIDGET", "EUR", 50, "SAME");
    ASSERT_TRUE(ItemPrice(&q, itemRec->record, &a));
    EXPECT_EQ(Price(), 100);
    EXPECT_EQ(std::string((char *)a.account + 1, a.account[0]), "3300");
    // A list without currency is in home currency: 100 at rate 50 is 200.
    Query("WIDGET", "EUR", 50, "HOME");
    ASSERT_TRUE(ItemPrice(&q, itemRec->record, &a));
    EXPECT_EQ(Price(), 200);
    // A USD list: into home currency at today's USD rate (9), then at rate 50.
    Query("WIDGET", "EUR", 50, "USD");
    ASSERT_TRUE(ItemPrice(&q, itemRec->record, &a));
    EXPECT_EQ(Price(), 1800);
    Query("WIDGET", "", 0, "USD");   // a home-currency document stops at home currency
    ASSERT_TRUE(ItemPrice(&q, itemRec->record, &a));
    EXPECT_EQ(Price(), 900);
    // A list without a price for the item: the base price, as without list.
    StoreList("EMPTY", "USD", "OTHER", 5);
    Query("WIDGET", "EUR", 50, "EMPTY");
    ASSERT_TRUE(ItemPrice(&q, itemRec->record, &a));
    EXPECT_EQ(Price(), 200);
    // A price given is kept.
    Query("WIDGET", "EUR", 50, "USD");
    q.price = Dec(12);
    ASSERT_TRUE(ItemPrice(&q, itemRec->record, &a));
    EXPECT_EQ(Price(), 12);
}

TEST_F(ItemPriceTest, VatCodeAndAccountByZone) {
    StoreItem("PLAIN", {.vatCode = "3"});
    struct Case {
        const char *item;
        uint16_t zone;
        const char *vat, *account;
    } cases[] = {
        {"WIDGET", 0, "2", "3010"},   // no own code: the group's general code
        {"WIDGET", 1, "5", "3010"},   // block 133's zone-1 code
        {"WIDGET", 2, "6", "3010"},   // block 133's over the group's own zone-2 code
        {"PLAIN", 0, "3", "3000"},    // the item's own; no group: block 133's account
        {"PLAIN", 2, "6", "3200"},
        {"PLAIN", 1, "5", "3000"},    // zone 1 has no account: the general one
        {"PLAIN", 4, "1", "3000"},
    };
    for (const Case &c : cases) {
        Query(c.item, "", 100, "", c.zone);
        ASSERT_TRUE(ItemPrice(&q, itemRec->record, &a)) << c.item;
        EXPECT_EQ(std::string((char *)a.vatCode + 1, a.vatCode[0]), c.vat) << c.item << " zone " << c.zone;
        EXPECT_EQ(std::string((char *)a.account + 1, a.account[0]), c.account) << c.item << " zone " << c.zone;
    }
    uint8_t vat[256], account[256];
    DefaultVatAndAccount(nullptr, vat, account, 2);
    EXPECT_EQ(std::string((char *)vat + 1, vat[0]) + "/" + std::string((char *)account + 1, account[0]), "6/3200");
}

TEST_F(ItemPriceTest, TextCostFlagAndAMissingItem) {
    StoreRecord(INVc::Number, [](uint8_t *r) {
        PutText(r, INVc::Code, 20, "PART");
        PutText(r, INVc::Name, 60, "Part");
        PutDec(r, INVc::CostPrice, Dec(3));
        PutDec(r, INVc::AddCost, Dec(0.5));
    });
    StoreRecord(INVc::Number, [](uint8_t *r) {   // cost price blank, made from a structure
        PutText(r, INVc::Code, 20, "KIT");
        PutText(r, INVc::Name, 60, "Kit");
        PackedDecimal blank;
        DecSetBlank(&blank);
        PutDec(r, INVc::CostPrice, blank);
        PutDec(r, INVc::AddCost, blank);
        PutU16(r, INVc::StructFlag, 1);
        PutText(r, INVc::StructCode, 20, "S-KIT");
        PutText(r, INVc::PctTable, 5, "T1");
        uint8_t row[INVc::Rows::Size] = {};
        PutText(row, INVc::Rows::LangCode, 5, "FR");
        PutText(row, INVc::Rows::Text, 60, "Trousse");
        ASSERT_TRUE(MatrixRowPut(INVc::Number, 0, r, 0, row));
    });
    StoreStructure("S-KIT", {{"PART", 2}, {"PART", 0}, {"NOPE", 1}, {"WIDGET", 1}});
    Query("KIT");
    PStringFromC(codes[2], "FR");
    ASSERT_TRUE(ItemPrice(&q, itemRec->record, &a));
    EXPECT_EQ(std::string((char *)a.text + 1, a.text[0]), "Trousse");
    EXPECT_EQ(a.flag, 1);
    EXPECT_EQ(DecCompareDouble(&a.cost, 47), 0) << DecToDouble(&a.cost);   // 2 x PART's 3.5 + WIDGET's 40
    EXPECT_EQ(MatrixRowCount(INVc::Number, 0, itemRec->record), 1);
    PStringFromC(codes[2], "DE");   // no such language: the name
    ASSERT_TRUE(ItemPrice(&q, itemRec->record, &a));
    EXPECT_EQ(std::string((char *)a.text + 1, a.text[0]), "Kit");
    Query("PART");
    ASSERT_TRUE(ItemPrice(&q, itemRec->record, &a));
    EXPECT_EQ(DecCompareDouble(&a.cost, 3.5), 0);
    EXPECT_EQ(a.flag, 0);

    Query("GHOST");
    q.price = Dec(5);
    q.discount = Dec(5);
    EXPECT_FALSE(ItemPrice(&q, itemRec->record, &a));
    EXPECT_TRUE(DecIsBlank(&a.price));
    EXPECT_TRUE(DecIsBlank(&a.discount));
    EXPECT_EQ(itemRec->record[0], 0);
    Query("AN-ITEM-CODE-LONGER-THAN-20");   // cannot name a stored item
    EXPECT_FALSE(ItemPrice(&q, itemRec->record, &a));
}

TEST_F(ItemPriceTest, ADiscountFoundReplacesTheGivenOneElseABlankOneTakesWhatWasLeft) {
    StoreRecord(QtyStepVc::Number, [](uint8_t *r) {
        PutText(r, QtyStepVc::Code, 5, "Q");
        PutU16(r, QtyStepVc::Basis, 1);
        PutDec(r, QtyStepVc::Step1, Dec(10));
    });
    StoreRecord(DiscMatrixVc::Number, [](uint8_t *r) {
        PutText(r, DiscMatrixVc::Code, 5, "D");
        PutText(r, DiscMatrixVc::DefStep, 5, "Q");
        PutDec(r, DiscMatrixVc::DefPct1, Dec(1));
        PutDec(r, DiscMatrixVc::DefPct2, Dec(7));
    });
    Query("WIDGET");
    PStringFromC(codes[5], "D");
    q.quantity = Dec(12);
    q.discount = Dec(3);
    ASSERT_TRUE(ItemPrice(&q, itemRec->record, &a));
    EXPECT_EQ(DecCompareDouble(&a.discount, 7), 0);
    PStringFromC(codes[5], "NONE");   // no matrix: the given discount stays
    ASSERT_TRUE(ItemPrice(&q, itemRec->record, &a));
    EXPECT_EQ(DecCompareDouble(&a.discount, 3), 0);
    DecSetBlank(&q.discount);
    ASSERT_TRUE(ItemPrice(&q, itemRec->record, &a));
    EXPECT_TRUE(DecIsBlank(&a.discount));
}

TEST_F(ItemPriceTest, ItemCostFollowsTheStockRecordOrTheStructureScan) {
    StoreLocation("L1");
    StoreStock("WIDGET", "L1", 7, 2);
    StoreRecord(INVc::Number, [](uint8_t *r) {
        PutText(r, INVc::Code, 20, "KIT");
        PutU16(r, INVc::StructFlag, 1);
        PutText(r, INVc::StructCode, 20, "S-KIT");
    });
    StoreStructure("S-KIT", {{"WIDGET", 2}});
    uint8_t widget[] = {6, 'W', 'I', 'D', 'G', 'E', 'T'}, kit[] = {3, 'K', 'I', 'T'}, l1[] = {2, 'L', '1'};
    PackedDecimal cost, value;
    ASSERT_TRUE(ItemCost(widget, l1, &cost, &value));
    uint8_t stock[LSVc::Size];
    Register6Lookup(widget, l1, stock);
    PackedDecimal inStock = GetDec(stock, LSVc::InStock), reserved = GetDec(stock, LSVc::Reserved);
    EXPECT_TRUE(DecEqual(&cost, &inStock));
    EXPECT_TRUE(DecEqual(&value, &reserved));
    ASSERT_TRUE(ItemCost(kit, l1, &cost, &value));
    PackedDecimal made, net, tied;
    RecipeComponentScan(kit, 1, &made, &net, 0, 0);
    DecSub(&made, &net, &tied);
    EXPECT_TRUE(DecEqual(&cost, &made));
    EXPECT_TRUE(DecEqual(&value, &tied));
    uint8_t ghost[] = {1, 'X'};
    EXPECT_FALSE(ItemCost(ghost, l1, &cost, &value));
    EXPECT_TRUE(DecIsBlank(&cost) && DecIsBlank(&value));
}

}  // namespace
