// Tests of the prices of project work: customers' own price lists, price
// classes of customers and persons, and the price of an item on a project.
#include "rules/projects.h"
#include "tests/rules/rules_fixture.h"

namespace {

class ProjectPricesTest : public RulesFixture {
protected:
    void SetUp() override {
        RulesFixture::SetUp();
        StoreGroup("G2", "2");
        StoreGroup("G7", "7");
        StoreGroup("GX", "B");
        StoreCustomer("C2", "G2");
        StoreCustomer("C7", "G7");
        StoreCustomer("CX", "GX");
        StoreCustomer("CNOGROUP", "ZZ");
        StoreRecord(PEVc::Number, [](uint8_t *p) {
            PutText(p, PEVc::Code, 5, "AN");
            PutText(p, PEVc::EmpType, 5, "SEN");
        });
        StoreRecord(PEVc::Number, [](uint8_t *p) {
            PutText(p, PEVc::Code, 5, "BO");
            PutText(p, PEVc::EmpType, 5, "JUN");
        });
        // Time item HOUR: seniors' prices 110..160 by class, none for juniors.
        StoreRecord(TimeItemVc::Number, [](uint8_t *t) {
            PutText(t, TimeItemVc::ItemCode, 20, "HOUR");
            uint8_t row[TimeItemVc::Rows::Size] = {};
            PutText(row, TimeItemVc::Rows::Category, 5, "SEN");
            for (int i = 0; i < 6; i++)
                PutDec(row, TimeItemVc::Rows::Price1 + 12 * i, Dec(110 + 10 * i));
            ASSERT_TRUE(MatrixRowPut(TimeItemVc::Number, 0, t, 0, row));
        });
    }
    void StoreGroup(const char *code, const char *priceList) {
        StoreRecord(CustGroupVc::Number, [&](uint8_t *g) {
            PutText(g, CustGroupVc::Code, 5, code);
            PutText(g, CustGroupVc::PriceList, 5, priceList);
        });
    }
    void StoreProject(const char *code, const char *customer) {
        StoreRecord(ProjectVc::Number, [&](uint8_t *p) {
            PutText(p, ProjectVc::Code, 20, code);
            PutText(p, ProjectVc::CustCode, 20, customer);
        });
    }
    static std::vector<uint8_t> P(const char *s) {
        std::vector<uint8_t> p(256);
        PStringFromC(p.data(), s);
        return p;
    }
};

TEST_F(ProjectPricesTest, PriceClassesOfCustomersAndPersons) {
    struct Case { const char *customer; int cls; const char *list, *group; } cases[] = {
        {"C2", 2, "2", "G2"},
        {"C7", 1, "7", "G7"},            // outside 1..5
        {"CX", 1, "B", "GX"},            // not a number
        {"CNOGROUP", 1, "", "ZZ"},       // the group is missing
        {"NOBODY", 1, "", ""},
    };
    for (const Case &c : cases) {
        uint8_t list[256], group[256];
        EXPECT_EQ(CustomerPriceClass(P(c.customer).data(), list, group), c.cls) << c.customer;
        EXPECT_TRUE(PStringEqualC(list, c.list)) << c.customer;
        EXPECT_TRUE(PStringEqualC(group, c.group)) << c.customer;
    }

    RuleRecord hour(TimeItemVc::Number);
    PutText(hour.record, TimeItemVc::ItemCode, 20, "HOUR");
    uint32_t recid = 0, position = 0;
    ASSERT_TRUE(RecFind(TimeItemVc::Number, hour.record, 1, 1, &recid, &position));
    struct PCase { const char *person; int cls; double want; } pcases[] = {
        {"AN", 1, 110}, {"AN", 6, 160}, {"AN", 3, 130}, {"AN", 0, 110}, {"AN", 7, 110},
        {"BO", 2, -1},   // no row of his category: nothing written
        {"XX", 2, -1},   // no such person
    };
    for (const PCase &c : pcases) {
        PackedDecimal price = Dec(-1);
        PersonPriceClass(hour.record, P(c.person).data(), c.cls, &price);
        EXPECT_EQ(DecCompareDouble(&price, c.want), 0) << c.person << c.cls;
    }
}

TEST_F(ProjectPricesTest, ProjectPriceTakesTheFirstSourceThatGivesOne) {
    // C2's own list prices HOUR at 95 less 3%.
    StoreRecord(CustPriceVc::Number, [](uint8_t *l) {
        PutText(l, CustPriceVc::CustCode, 20, "C2");
        uint8_t row[CustPriceVc::Rows::Size] = {};
        PutText(row, CustPriceVc::Rows::ItemCode, 20, "HOUR");
        PutDec(row, CustPriceVc::Rows::Price, Dec(95));
        PutDec(row, CustPriceVc::Rows::Percentage, Dec(3));
        ASSERT_TRUE(MatrixRowPut(CustPriceVc::Number, 0, l, 0, row));
    });
    StoreItem("HOUR", {.price = 70});
    StoreItem("BOLT", {.price = 2.5});
    StoreProject("PA", "C2");
    StoreProject("PB", "C7");
    struct Case { const char *project, *item, *person; double price; bool blank; } cases[] = {
        {"PA", "HOUR", "AN", 95, false},    // the customer's own list
        {"PB", "HOUR", "AN", 110, false},   // the person's price in class 1 (C7's class 7 taken as 1)
        {"PB", "HOUR", "BO", 70, false},    // no price for juniors: the item's base price
        {"PA", "BOLT", "AN", 2.5, false},   // not a time item
        {"PA", "NUT", "AN", 0, true},       // no item
        {"PZ", "HOUR", "AN", 0, true},      // no project
    };
    for (const Case &c : cases) {
        PackedDecimal price = Dec(1), pct = Dec(1);
        ProjectItemPrice(P(c.project).data(), P(c.item).data(), P(c.person).data(), &price, &pct);
        if (c.blank) {
            EXPECT_TRUE(DecIsBlank(&price)) << c.project << c.item;
        } else {
            EXPECT_EQ(DecCompareDouble(&price, c.price), 0) << c.project << c.item << c.person << " " << DecToDouble(&price);
        }
    }
    PackedDecimal price, pct;
    ProjectItemPrice(P("PA").data(), P("HOUR").data(), P("AN").data(), &price, &pct);
    EXPECT_EQ(DecCompareDouble(&pct, 3), 0);
    EXPECT_FALSE(CustDiscPrice(P("C2").data(), P("BOLT").data(), &price, &pct));
    EXPECT_TRUE(DecIsBlank(&price) && DecIsBlank(&pct));
}

}  // namespace
