// Tests of the links of orders to their objects (register 121): the links
// follow an order's object list and date through its changes.
#include <set>
#include <string>
#include <tuple>

#include "rules/documents.h"
#include "tests/rules/rules_fixture.h"

namespace {

class OrderObjectLinksTest : public RulesFixture {
protected:
    using Link = std::tuple<std::string, uint32_t, uint16_t, uint8_t>;   // object, serial, register, day

    static void MakeOrder(uint8_t *order, uint32_t serial, const char *objects, DateRec date) {
        PutU32(order, ORVc::SerNr, serial);
        PutText(order, ORVc::Objects, 30, objects);
        PutDate(order, ORVc::OrdDate, date);
    }
    // Every link stored, read back through the register's main index.
    static std::set<Link> Links() {
        std::set<Link> links;
        RuleRecord r(OrderObjVc::Number);
        uint32_t recid = 0;
        for (int32_t i = 1; RecReadAt(OrderObjVc::Number, i, r.record, &recid); i++)
            links.insert({Text(r.record, OrderObjVc::ObjCode), GetU32(r.record, OrderObjVc::SourceNr),
                          GetU16(r.record, OrderObjVc::SourceReg), GetDate(r.record, OrderObjVc::DocDate).day});
        return links;
    }
};

TEST_F(OrderObjectLinksTest, LinksFollowTheObjectListAndDate) {
    RuleRecord order(ORVc::Number), stored(ORVc::Number);
    MakeOrder(stored.record, 40, "P,Q", DateRec{3, 5, 2024});
    ASSERT_TRUE(UpdateOrderObjectLinks(stored.record, nullptr));
    // Another order's links are never touched.
    MakeOrder(order.record, 41, "P", DateRec{3, 5, 2024});
    ASSERT_TRUE(UpdateOrderObjectLinks(order.record, nullptr));
    EXPECT_EQ(Links(), (std::set<Link>{{"P", 40, 7, 3}, {"Q", 40, 7, 3}, {"P", 41, 7, 3}}));

    // P,Q to Q,R: P and Q of the stored order go, Q and R come.
    MakeOrder(order.record, 40, "Q,R", DateRec{3, 5, 2024});
    EXPECT_FALSE(OrderLinkFieldsEqual(order.record, stored.record));
    ASSERT_TRUE(UpdateOrderObjectLinks(order.record, stored.record));
    EXPECT_EQ(Links(), (std::set<Link>{{"Q", 40, 7, 3}, {"R", 40, 7, 3}, {"P", 41, 7, 3}}));

    // The same objects on another date: the links move to the new date.
    MakeOrder(stored.record, 40, "Q,R", DateRec{3, 5, 2024});
    MakeOrder(order.record, 40, "R,Q", DateRec{9, 5, 2024});
    ASSERT_TRUE(UpdateOrderObjectLinks(order.record, stored.record));
    EXPECT_EQ(Links(), (std::set<Link>{{"Q", 40, 7, 9}, {"R", 40, 7, 9}, {"P", 41, 7, 3}}));

    // Unchanged fields store the links again without doubling them; a
    // stored order whose links are already gone is no fault.
    MakeOrder(stored.record, 40, "R,Q", DateRec{9, 5, 2024});
    EXPECT_TRUE(OrderLinkFieldsEqual(order.record, stored.record));
    ASSERT_TRUE(UpdateOrderObjectLinks(order.record, stored.record));
    MakeOrder(stored.record, 40, "X,Y", DateRec{1, 1, 2024});
    MakeOrder(order.record, 40, "", DateRec{9, 5, 2024});
    ASSERT_TRUE(UpdateOrderObjectLinks(order.record, stored.record));
    EXPECT_EQ(Links(), (std::set<Link>{{"Q", 40, 7, 9}, {"R", 40, 7, 9}, {"P", 41, 7, 3}}));
}

}  // namespace
