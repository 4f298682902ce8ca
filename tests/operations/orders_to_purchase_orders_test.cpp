// Purchase orders from sales orders (batch routine 12 and approve kind
// 47): a row's quantity, or only what the stock lacks, on a purchase
// order of the item's default vendor made for that sales order; items
// without a default source never ordered; a full purchase order passed
// over; the three methods; a bad order range refused. The stock's
// to-receive quantities are what the stored purchase orders make them.
#include <cstring>
#include <string>
#include <vector>

#include "core/work_blocks.h"
#include "operations/batch_routines.h"
#include "operations/replenishment.h"
#include "rules/approval.h"
#include "rules/purchase_from_orders.h"
#include "tests/operations/stock_docs_fixture.h"

namespace {

namespace RP = ReportParamsVc;
namespace PO = PurchOrderVc;

class OrdersToPurchaseOrdersTest : public StockDocsFixture {
protected:
    // The job the runs of the test are handed.
    uint8_t selection[ReportParamsSize] = {};
    ReportJob job{selection};
    void Source(const char *item, const char *vendor, double minQty = 0, double threshold = 0) {
        RuleRecord r(PurchItemVc::Number);
        PutText(r.record, PurchItemVc::ItemCode, 20, item);
        PutText(r.record, PurchItemVc::VendCode, 20, vendor);
        PutText(r.record, PurchItemVc::Text, 60, item);
        PutDec(r.record, PurchItemVc::Price, Dec(5));
        PutDec(r.record, PurchItemVc::PriceUnit, Dec(1));
        PutU16(r.record, PurchItemVc::Default, 1);
        PutDec(r.record, PurchItemVc::MinQty, Dec(minQty));
        PutDec(r.record, PurchItemVc::Threshold, Dec(threshold));
        uint32_t recid = 0;
        ASSERT_TRUE(RecStore(PurchItemVc::Number, r.record, 0, &recid));
    }
    // A sales order of the rows (item, quantity), dated 10 June 2024.
    uint32_t SalesOrder(std::initializer_list<std::pair<const char *, double>> rows, const char *cls = "") {
        uint32_t recid = Insert(ORVc::Number, [&](uint8_t *o) {
            PutDate(o, ORVc::OrdDate, DateRec{10, 6, 2024});
            PutText(o, ORVc::OrderClass, 5, cls);
            PutText(o, ORVc::Addr0, 60, "Customer One");
            PutText(o, ORVc::Addr1, 60, "Street 1");
            for (const auto &r : rows) OrderRow(o, r.first, r.second);
        });
        RuleRecord o(ORVc::Number);
        EXPECT_TRUE(RecReadById(ORVc::Number, recid, o.record));
        return GetU32(o.record, ORVc::SerNr);
    }
    void Select(const char *range, uint16_t method = 0, uint16_t shortage = 0, uint16_t address = 0) {
        std::memset(job.selection, 0, RP::Size);
        PutText(job.selection, RP::SelText1, 255, range);
        PutU16(job.selection, RP::ReportLayout, method);
        PutU16(job.selection, RP::Option4, shortage);
        PutU16(job.selection, RP::Option3, address);
    }
    struct Seen {
        uint32_t recid, salesOrder;
        std::vector<std::pair<std::string, double>> rows;   // item or text, quantity
    };
    static std::vector<Seen> Orders() {
        std::vector<Seen> out;
        RuleRecord p(PO::Number);
        uint32_t recid = 0;
        for (int32_t i = 0; i <= (int32_t)RegRecordCount(PO::Number); i++) {
            if (!RecReadAtIndex(PO::Number, "SerNr", i, p.record, &recid)) continue;
            Seen s{recid, GetU32(p.record, PO::SalesOrderNr), {}};
            uint8_t row[PO::Rows::Size];
            for (int32_t k = 0, n = MatrixRowCount(PO::Number, 0, p.record); k < n; k++) {
                if (!MatrixRowRead(PO::Number, p.record, k, row)) continue;
                std::string item = Text(row, PO::Rows::ItemCode);
                PackedDecimal q = GetDec(row, PO::Rows::Quantity);
                s.rows.push_back({item.empty() ? Text(row, PO::Rows::Text) : item,
                                  DecIsBlank(&q) ? 0 : DecToDouble(&q)});
            }
            out.push_back(s);
        }
        return out;
    }
    double ToReceive(const char *item) {
        return Stock(item, "L1", LSVc::ToReceive) + Stock(item, "", LSVc::ToReceive);
    }
    void DeleteOrders() {
        for (const Seen &s : Orders()) EXPECT_TRUE(Delete(PO::Number, s.recid));
    }
};

// Method 0: A's row goes on a purchase order of its vendor made for the
// sales order; B has no default source and is never ordered. Deleting
// the purchase order takes back what the stock expected.
TEST_F(OrdersToPurchaseOrdersTest, RowsGoToTheirVendorsOrderForTheSalesOrder) {
    Source("A", "V1");
    uint32_t serial = SalesOrder({{"A", 5}, {"B", 2}});
    Select("");
    ASSERT_TRUE(OrdersToPurchaseOrders(job));
    std::vector<Seen> orders = Orders();
    ASSERT_EQ(orders.size(), 1u);
    EXPECT_EQ(orders[0].salesOrder, serial);
    ASSERT_EQ(orders[0].rows.size(), 1u);
    EXPECT_EQ(orders[0].rows[0], (std::pair<std::string, double>{"A", 5}));
    EXPECT_NEAR(ToReceive("A"), 5, 1e-9);
    EXPECT_NEAR(ToReceive("B"), 0, 1e-9);
    DeleteOrders();
    EXPECT_NEAR(ToReceive("A"), 0, 1e-9);
}

// Only the shortage: 2 in stock and a row of 5 lack 3, and 3 is
// ordered; a stock that covers the row orders nothing.
// Through the batch dispatcher, as window 517's OK runs it.
TEST_F(OrdersToPurchaseOrdersTest, ShortageOfThreeOnARowOfFiveOrdersThree) {
    Source("A", "V1");
    Source("B", "V1");
    StoreStock("A", "L1", 2);
    StoreStock("B", "L1", 50);
    SalesOrder({{"A", 5}, {"B", 5}});
    Select("", 0, 1);
    // Run as the function list runs it: batch routine 12 by number.
    PutU16(job.selection, RP::ReportNumber, 12);
    ASSERT_TRUE(RunMaintenance(job));
    std::vector<Seen> orders = Orders();
    ASSERT_EQ(orders.size(), 1u);
    ASSERT_EQ(orders[0].rows.size(), 1u);
    EXPECT_EQ(orders[0].rows[0], (std::pair<std::string, double>{"A", 3}));
}

// The stock check: a minimum-order quantity raises the need, a
// threshold above it blanks it, and without a default source it reports
// none; the batch still orders the row.
TEST_F(OrdersToPurchaseOrdersTest, StockCheckRaisesOrBlanksTheNeed) {
    StoreRecord(INVc::Number, [&](uint8_t *r) {
        PutText(r, INVc::Code, 20, "N");
        PutU16(r, INVc::Stocked, 1);
        PutDec(r, INVc::MinStock, Dec(4));
    });
    RuleRecord item(INVc::Number), stock(LSVc::Number), source(PurchItemVc::Number);
    PutText(item.record, INVc::Code, 20, "N");
    uint32_t recid = 0, position = 0;
    ASSERT_TRUE(RecFind(INVc::Number, item.record, 1, 1, &recid, &position));
    PackedDecimal available, qty;
    EXPECT_FALSE(OrderRowStockCheck(item.record, stock.record, source.record, &available, &qty));
    EXPECT_NEAR(DecToDouble(&qty), 4, 1e-9);
    Source("N", "V1", 0, 6);
    EXPECT_TRUE(OrderRowStockCheck(item.record, stock.record, source.record, &available, &qty));
    EXPECT_TRUE(DecIsBlank(&qty));
    SalesOrder({{"N", 2}});
    Select("");
    ASSERT_TRUE(OrdersToPurchaseOrders(job));
    ASSERT_EQ(Orders().size(), 1u);
    EXPECT_EQ(Orders()[0].rows[0], (std::pair<std::string, double>{"N", 2}));
}

// A purchase order of 99 rows for the same vendor and sales order is
// not used again: a new one is started. Another sales order gets its own.
TEST_F(OrdersToPurchaseOrdersTest, FullPurchaseOrderStartsANewOne) {
    Source("A", "V1");
    uint32_t serial = SalesOrder({{"A", 1}});
    Insert(PO::Number, [&](uint8_t *p) {
        PutText(p, PO::VendCode, 20, "V1");
        PutU32(p, PO::SalesOrderNr, serial);
        for (int i = 0; i < 99; i++) PoRow(p, "B", 1);
    });
    uint32_t other = SalesOrder({{"A", 2}});
    Select("");
    ASSERT_TRUE(OrdersToPurchaseOrders(job));
    std::vector<Seen> orders = Orders();
    ASSERT_EQ(orders.size(), 3u);
    EXPECT_EQ(orders[1].salesOrder, serial);
    EXPECT_EQ(orders[1].rows.size(), 1u);
    EXPECT_EQ(orders[2].salesOrder, other);
    EXPECT_NEAR(ToReceive("A"), 3, 1e-9);
    DeleteOrders();
    EXPECT_NEAR(ToReceive("A"), 0, 1e-9);
    EXPECT_NEAR(ToReceive("B"), 0, 1e-9);
}

// Method 0 with the address asked: the sales order's address rows follow
// the first item row once; method 2 with a row per order row puts the
// rows of two sales orders under a heading each on the vendor's one open
// order.
TEST_F(OrdersToPurchaseOrdersTest, AddressRowsAndHeadings) {
    Source("A", "V1");
    Source("B", "V1");
    uint32_t first = SalesOrder({{"A", 1}, {"B", 1}});
    Select("", 0, 0, 1);
    ASSERT_TRUE(OrdersToPurchaseOrders(job));
    std::vector<Seen> orders = Orders();
    ASSERT_EQ(orders.size(), 1u);
    ASSERT_EQ(orders[0].rows.size(), 6u);
    EXPECT_EQ(orders[0].rows[1].first, "Customer One");
    EXPECT_EQ(orders[0].rows[5].first, "B");
    DeleteOrders();

    uint32_t second = SalesOrder({{"A", 2}});
    Select("", 2);
    PutU16(job.selection, RP::Option2, 1);   // each order row a row of its own
    ASSERT_TRUE(OrdersToPurchaseOrders(job));
    orders = Orders();
    ASSERT_EQ(orders.size(), 1u);
    std::vector<std::string> texts;
    for (const auto &r : orders[0].rows) texts.push_back(r.first);
    const std::string h1 = "Order " + std::to_string(first), h2 = "Order " + std::to_string(second);
    EXPECT_EQ(texts, (std::vector<std::string>{h1, "Customer One", "Street 1", " ", " ", "A", "B", " ", h2,
                                               "Customer One", "Street 1", " ", " ", "A"}));
}

// A range that is no number is refused and orders nothing; a range
// leaves out the orders outside it.
TEST_F(OrdersToPurchaseOrdersTest, OrderRangeIsCheckedAndKept) {
    Source("A", "V1");
    uint32_t first = SalesOrder({{"A", 1}});
    SalesOrder({{"A", 7}});
    Select("x1:9");
    EXPECT_FALSE(OrdersToPurchaseOrders(job));
    EXPECT_EQ(RegRecordCount(PO::Number), 0u);
    Select((std::to_string(first) + ":" + std::to_string(first)).c_str());
    ASSERT_TRUE(OrdersToPurchaseOrders(job));
    ASSERT_EQ(Orders().size(), 1u);
    EXPECT_EQ(Orders()[0].rows[0].second, 1);
}

// Approve kind 47 runs the routine for one order and leaves the job
// parameters as they were.
TEST_F(OrdersToPurchaseOrdersTest, ApproveKind47OrdersOneSalesOrder) {
    Source("A", "V1");
    SalesOrder({{"A", 4}});
    uint32_t serial = SalesOrder({{"A", 6}});
    Select("kept");
    RuleRecord o(ORVc::Number);
    PutU32(o.record, ORVc::SerNr, serial);
    uint32_t recid = 0, position = 0;
    ASSERT_TRUE(RecFind(ORVc::Number, o.record, 1, 1, &recid, &position));
    ASSERT_TRUE(ApproveRecord(47, ORVc::Number, recid));
    std::vector<Seen> orders = Orders();
    ASSERT_EQ(orders.size(), 1u);
    EXPECT_EQ(orders[0].salesOrder, serial);
    EXPECT_EQ(orders[0].rows[0], (std::pair<std::string, double>{"A", 6}));
    EXPECT_EQ(Text(job.selection, RP::SelText1), "kept");   // the caller's job
}

}  // namespace
