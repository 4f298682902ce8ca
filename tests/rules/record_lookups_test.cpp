// Tests of the lookups of document windows: price lists of customer
// groups, text rows by language code, persons, and accounts with their
// VAT codes.
#include "core/record_buffer.h"
#include "rules/accounts.h"
#include "rules/documents.h"
#include "tests/rules/rules_fixture.h"

namespace {

class RecordLookupsTest : public RulesFixture {};

TEST_F(RecordLookupsTest, ResolvePriceListFromTheGroupAndItsSetting) {
    std::vector<uint8_t> block(SalesAccountsBlk::Size, 0);
    PutU16(block.data(), SalesAccountsBlk::PricesInclVat, 1);
    StoreBlock(SalesAccountsBlk::Number, block.data(), SalesAccountsBlk::Size);
    StoreRecord(CustGroupVc::Number, [](uint8_t *r) {
        PutText(r, CustGroupVc::Code, 5, "RET");
        PutText(r, CustGroupVc::PriceList, 5, "GROSS");
    });
    StoreRecord(CustGroupVc::Number, [](uint8_t *r) { PutText(r, CustGroupVc::Code, 5, "NONE"); });
    StoreRecord(PriceListVc::Number, [](uint8_t *r) {
        PutText(r, PriceListVc::Code, 5, "GROSS");
        PutU16(r, PriceListVc::InclVat, 1);
    });
    StoreRecord(PriceListVc::Number, [](uint8_t *r) { PutText(r, PriceListVc::Code, 5, "NET"); });
    struct Case {
        const char *group, *list, *wantList;
        uint16_t wantSetting;
    } cases[] = {
        {"RET", "", "GROSS", 1},    // the group's list, which includes VAT
        {"RET", "NET", "NET", 0},   // a list given stays
        {"RET", "ODD", "ODD", 0},   // a list not defined: 0
        {"NONE", "", "", 1},        // still no list: block 133's default
        {"GHOST", "", "", 1},
    };
    for (const Case &c : cases) {
        uint8_t group[256], list[256];
        PStringFromC(group, c.group);
        PStringFromC(list, c.list);
        uint16_t setting = 7;
        ResolvePriceList(group, list, &setting);
        EXPECT_EQ(PStringToStd(list), c.wantList) << c.group << "/" << c.list;
        EXPECT_EQ(setting, c.wantSetting) << c.group << "/" << c.list;
    }
}

TEST_F(RecordLookupsTest, NthRowWithCode) {
    RuleRecord item(INVc::Number);
    struct { const char *code, *text; } rows[] = {{"FR", "un"}, {"", "blank one"}, {"FR", "deux"}, {"", "blank two"}};
    for (int i = 0; i < 4; i++) {
        uint8_t row[INVc::Rows::Size] = {};
        PutText(row, INVc::Rows::LangCode, 5, rows[i].code);
        PutText(row, INVc::Rows::Text, 60, rows[i].text);
        ASSERT_TRUE(MatrixRowPut(INVc::Number, 0, item.record, i, row));
    }
    MemBlock h = RecMatrixHandle(INVc::Number, item.record);
    struct Case {
        int n;
        const char *code;
        bool found;
        const char *text;
    } cases[] = {
        {1, "FR", true, "un"},      {2, "FR", true, "deux"},        {3, "FR", false, "Default"},
        {1, "", true, "Default"},   {2, "", true, "blank one"},     {3, "", true, "blank two"},
        {4, "", false, "Default"},  {2, "DE", true, "blank one"},   // no row has DE: as empty
        {0, "FR", false, "Default"}, {-5, "", false, "Default"},
        {1, "FRENCH", true, "Default"},   // longer than a code: as empty
    };
    uint8_t def[256], code[256], text[256];
    PStringFromC(def, "Default");
    for (const Case &c : cases) {
        PStringFromC(code, c.code);
        EXPECT_EQ(NthRowWithCode(c.n, text, h, code, def), c.found) << c.n << c.code;
        EXPECT_EQ(PStringToStd(text), c.text) << c.n << c.code;
    }
    EXPECT_FALSE(NthRowWithCode(2, text, 0, code, def));   // no rows at all
    EXPECT_EQ(PStringToStd(text), "Default");
}

TEST_F(RecordLookupsTest, PersonsAndAccountsWithTheirVatCodes) {
    StoreRecord(PEVc::Number, [](uint8_t *r) { PutText(r, PEVc::Code, 5, "ANNA"); });
    uint8_t code[256];
    for (auto [text, want] : {std::pair{"ANNA", true}, {"anna", true}, {"ANN", false}, {"", false}, {"ANNAXX", false}}) {
        PStringFromC(code, text);
        EXPECT_EQ(PersonExists(code), want) << text;
    }
    StoreRecord(ACVc::Number, [](uint8_t *r) {
        PutText(r, ACVc::Code, 10, "3000");
        PutText(r, ACVc::Name, 60, "Sales of goods");
        PutText(r, ACVc::VatCode, 2, "1");
    });
    uint8_t name[256], vat[256];
    PStringFromC(code, "3000");
    EXPECT_TRUE(AccountNameAndVat(code, name, vat, 5));
    EXPECT_EQ(PStringToStd(name), "Sales");
    EXPECT_EQ(PStringToStd(vat), "1");
    EXPECT_TRUE(AccountNameAndVat(code, name, nullptr, 60));
    PStringFromC(code, "3999");
    EXPECT_FALSE(AccountNameAndVat(code, name, vat, 60));
    EXPECT_EQ(vat[0], 0);
    EXPECT_GT(name[0], 0);   // the missing-account text
}

}  // namespace
