// The stock oracle: random inserts, updates, ships, receipts and deletes
// of orders, purchase orders, purchases, deliveries, productions and
// stock movements over three items (one a structure) and three
// locations, stored through the record layer; after every step the
// location stock, the item history and the orders' row quantities must
// equal a model that applies the rules to the documents alive. Deleting
// every unshipped and unreceived document brings the pending quantities
// back to zero.
#include <array>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "rules/approval.h"
#include "tests/operations/stock_docs_fixture.h"

namespace {

struct Row {
    std::string item;
    int qty;
    int link;   // the order or purchase-order row, -1 none
};
struct Doc {
    int reg;
    uint32_t recid, serial;
    std::string location, to;
    bool flag = false;     // reserves, confirmed, shipped, received, finished, done
    bool closed = false;   // a purchase order's
    int parent = -1;       // the order or purchase order (index into docs)
    int times = 1;         // a production's quantity
    std::vector<Row> rows;
    bool alive = true;
};

// The six running quantities of register 6 and the history by type.
struct Quantities {
    double inStock = 0, onOrders = 0, reserved = 0, onConf = 0, toReceive = 0, onDeliveries = 0;
};

// Deletes every row of record r.
void MatrixRowsClear(int reg, uint8_t *r) {
    for (int32_t n = MatrixRowCount(reg, 0, r); n > 0; n--) MatrixRowDelete(reg, r, n - 1);
}

class StockOracleTest : public StockDocsFixture {
protected:
    std::mt19937 rng{38};
    std::vector<Doc> docs;
    const std::array<const char *, 3> items{"A", "B", "K"};
    const std::array<const char *, 3> locations{"L1", "L2", "L3"};
    int Pick(int n) { return (int)(rng() % (uint32_t)n); }

    // The stocked parts of item for qty: K is two A and one B.
    static std::vector<std::pair<std::string, double>> Parts(const std::string &item, double qty) {
        if (item == "K") return {{"A", 2 * qty}, {"B", qty}};
        return {{item, qty}};
    }
    using Model = std::map<std::pair<std::string, std::string>, Quantities>;
    using HistoryMap = std::map<std::tuple<std::string, std::string, int>, double>;

    // What the documents alive give.
    void Expect(Model &m, HistoryMap &h, std::map<std::pair<int, int>, std::array<double, 2>> &rowQty) {
        for (size_t i = 0; i < docs.size(); i++) {
            const Doc &d = docs[i];
            if (!d.alive) continue;
            for (const Row &r : d.rows) {
                switch (d.reg) {
                case ORVc::Number:
                    for (auto &[item, q] : Parts(r.item, r.qty)) {
                        m[{item, d.location}].onOrders += q;
                        if (d.flag) m[{item, d.location}].reserved += q;
                    }
                    break;
                case SHVc::Number: {
                    const Doc *order = d.parent >= 0 ? &docs[(size_t)d.parent] : nullptr;
                    for (auto &[item, q] : Parts(r.item, r.qty)) {
                        if (!d.flag) {
                            m[{item, d.location}].onDeliveries += q;
                            continue;
                        }
                        m[{item, d.location}].inStock -= q;
                        h[{item, d.location, SHVc::Number}] -= q;
                        if (order && order->alive) {
                            m[{item, order->location}].onOrders -= q;
                            if (order->flag) m[{item, order->location}].reserved -= q;
                        }
                    }
                    if (r.link >= 0) {
                        rowQty[{d.parent, r.link}][0] += r.qty;
                        if (d.flag) rowQty[{d.parent, r.link}][1] += r.qty;
                    }
                    break;
                }
                case PUVc::Number:
                    if (d.flag) {
                        m[{r.item, d.location}].inStock += r.qty;
                        h[{r.item, d.location, PUVc::Number}] += r.qty;
                    }
                    if (r.link >= 0) {
                        rowQty[{d.parent, r.link}][0] += r.qty;
                        if (d.flag) rowQty[{d.parent, r.link}][1] += r.qty;
                    }
                    break;
                case StockMoveVc::Number:
                    if (!d.flag) break;
                    m[{r.item, d.location}].inStock -= r.qty;
                    m[{r.item, d.to}].inStock += r.qty;
                    h[{r.item, d.location, 65535}] -= r.qty;
                    h[{r.item, d.to, StockMoveVc::Number}] += r.qty;
                    break;
                case ProductionVc::Number: {
                    // Row 0 uses the component, row 1 makes the item.
                    const double used = r.link == 0 ? r.qty * d.times : 0, made = r.link == 1 ? r.qty * d.times : 0;
                    if (d.flag) {
                        m[{r.item, d.location}].inStock += made - used;
                        h[{r.item, d.location, ProductionVc::Number}] += made - used;
                    } else {
                        m[{r.item, d.location}].onOrders += used;
                        m[{r.item, d.location}].toReceive += made;
                    }
                    break;
                }
                default: break;
                }
            }
        }
        // Purchase orders last: what is left to receive needs the receipts.
        for (size_t i = 0; i < docs.size(); i++) {
            const Doc &d = docs[i];
            if (!d.alive || d.reg != PurchOrderVc::Number || d.closed) continue;
            for (size_t k = 0; k < d.rows.size(); k++) {
                const Row &r = d.rows[k];
                double left = r.qty - rowQty[{(int)i, (int)k}][1];
                if (left <= 0) continue;
                m[{r.item, d.location}].toReceive += left;
                if (d.flag) m[{r.item, d.location}].onConf += r.qty;
            }
        }
    }

    // Compares the company with the model.
    void Check(const char *step) {
        Model m;
        HistoryMap h;
        std::map<std::pair<int, int>, std::array<double, 2>> rowQty;
        Expect(m, h, rowQty);
        for (const char *item : {"A", "B"})
            for (const char *loc : locations) {
                SCOPED_TRACE(std::string(step) + " " + item + " at " + loc);
                const Quantities &q = m[{item, loc}];
                EXPECT_EQ(Stock(item, loc, LSVc::InStock), q.inStock);
                EXPECT_EQ(Stock(item, loc, LSVc::OnOrders), q.onOrders);
                EXPECT_EQ(Stock(item, loc, LSVc::Reserved), q.reserved);
                EXPECT_EQ(Stock(item, loc, LSVc::OnConfPO), q.onConf);
                EXPECT_EQ(Stock(item, loc, LSVc::ToReceive), q.toReceive);
                EXPECT_EQ(Stock(item, loc, LSVc::OnDeliveries), q.onDeliveries);
                for (int type : std::initializer_list<int>{PUVc::Number, SHVc::Number, ProductionVc::Number,
                                                          StockMoveVc::Number, 65535})
                    EXPECT_EQ(History(item, loc, (uint16_t)type), (h[{item, loc, type}])) << type;
            }
        EXPECT_FALSE(HasStockRecord("K"));
        for (size_t i = 0; i < docs.size(); i++) {
            const Doc &d = docs[i];
            if (!d.alive || (d.reg != ORVc::Number && d.reg != PurchOrderVc::Number)) continue;
            const bool order = d.reg == ORVc::Number;
            for (size_t k = 0; k < d.rows.size(); k++) {
                SCOPED_TRACE(std::string(step) + " document " + std::to_string(i) + " row " + std::to_string(k));
                auto want = rowQty[{(int)i, (int)k}];
                EXPECT_EQ(RowQty(d.reg, d.serial, order ? ORVc::SerNr : PurchOrderVc::SerNr, (int32_t)k,
                                 order ? ORVc::Rows::QtyDelivered : PurchOrderVc::Rows::QtyOnPurchases),
                          want[0]);
                EXPECT_EQ(RowQty(d.reg, d.serial, order ? ORVc::SerNr : PurchOrderVc::SerNr, (int32_t)k,
                                 order ? ORVc::Rows::QtyShipped : PurchOrderVc::Rows::QtyReceived),
                          want[1]);
            }
        }
    }

    // Writes the document's rows and fields into record r.
    void Fill(const Doc &d, uint8_t *r) {
        switch (d.reg) {
        case ORVc::Number:
            PutText(r, ORVc::Location, 10, d.location.c_str());
            PutU16(r, ORVc::Reserves, d.flag);
            for (const Row &x : d.rows) OrderRow(r, x.item.c_str(), x.qty, x.item == "K" ? "K" : "_");
            break;
        case PurchOrderVc::Number:
            PutText(r, PurchOrderVc::Location, 10, d.location.c_str());
            PutU16(r, PurchOrderVc::Closed, d.closed);
            for (const Row &x : d.rows) PoRow(r, x.item.c_str(), x.qty);
            break;
        case PUVc::Number:
            PutText(r, PUVc::Location, 10, d.location.c_str());
            PutU32(r, PUVc::POSerNr, d.parent >= 0 ? docs[(size_t)d.parent].serial : SerialNone);
            for (const Row &x : d.rows) PurchaseRow(r, x.item.c_str(), x.qty, 2, x.link >= 0 ? (uint32_t)x.link : SerialNone);
            break;
        case SHVc::Number:
            PutText(r, SHVc::Location, 10, d.location.c_str());
            PutU32(r, SHVc::OrderNr, d.parent >= 0 ? docs[(size_t)d.parent].serial : SerialNone);
            for (const Row &x : d.rows) {
                ShipRow(r, x.item.c_str(), x.qty, x.link >= 0 ? (uint32_t)x.link : SerialNone);
                uint8_t row[SHVc::Rows::Size];
                int32_t at = MatrixRowCount(SHVc::Number, 0, r) - 1;
                ASSERT_TRUE(MatrixRowRead(SHVc::Number, r, at, row));
                PutDec(row, SHVc::Rows::QtyLeft, Dec(1000));
                PutText(row, SHVc::Rows::StructCode, 20, x.item == "K" ? "K" : "_");
                ASSERT_TRUE(MatrixRowPut(SHVc::Number, 0, r, at, row));
            }
            break;
        case ProductionVc::Number:
            PutText(r, ProductionVc::Location, 10, d.location.c_str());
            PutDec(r, ProductionVc::Quantity, Dec(d.times));
            for (const Row &x : d.rows) ProdRow(r, x.item.c_str(), x.link == 0 ? x.qty : 0, x.link == 1 ? x.qty : 0);
            break;
        case StockMoveVc::Number:
            PutText(r, StockMoveVc::FromLocation, 10, d.location.c_str());
            PutText(r, StockMoveVc::ToLocation, 10, d.to.c_str());
            for (const Row &x : d.rows) MoveRow(r, x.item.c_str(), x.qty);
            break;
        default: break;
        }
    }
    uint32_t SerialOf(int reg, uint32_t recid) {
        RuleRecord r(reg);
        if (!RecReadById(reg, recid, r.record)) return SerialNone;
        uint32_t at = reg == ORVc::Number ? ORVc::SerNr : 0;
        return GetU32(r.record, at);
    }
    // Live documents of reg in the state wanted.
    std::vector<int> Alive(int reg, int flag = -1) {
        std::vector<int> out;
        for (size_t i = 0; i < docs.size(); i++)
            if (docs[i].alive && docs[i].reg == reg && (flag < 0 || docs[i].flag == (flag == 1))) out.push_back((int)i);
        return out;
    }

    // A new document with random rows; its flag set at insert by chance.
    void NewDoc(int reg, int *accepted) {
        Doc d;
        d.reg = reg;
        d.location = locations[(size_t)Pick(3)];
        d.to = locations[(size_t)((Pick(2) + 1 + (d.location == "L2") + 2 * (d.location == "L3")) % 3)];
        if (d.to == d.location) d.to = d.location == "L1" ? "L2" : "L1";
        int n = 1 + Pick(3);
        if (reg == SHVc::Number || reg == PUVc::Number) {
            int parentReg = reg == SHVc::Number ? ORVc::Number : PurchOrderVc::Number;
            std::vector<int> parents = Alive(parentReg);
            if (!parents.empty() && Pick(3) != 0) d.parent = parents[(size_t)Pick((int)parents.size())];
        }
        for (int k = 0; k < n; k++) {
            Row r;
            r.item = items[(size_t)Pick(reg == SHVc::Number || reg == ORVc::Number ? 3 : 2)];
            r.qty = 1 + Pick(9);
            r.link = -1;
            if (d.parent >= 0) {
                const Doc &p = docs[(size_t)d.parent];
                int at = Pick((int)p.rows.size() + 1);
                if (at < (int)p.rows.size()) r.item = p.rows[(size_t)at].item, r.link = at;
            }
            if (reg == ProductionVc::Number) r.link = k % 2;
            d.rows.push_back(r);
        }
        if (reg == ProductionVc::Number) d.times = 1 + Pick(3);
        if (reg != PurchOrderVc::Number) d.flag = Pick(3) == 0;
        if (reg == ORVc::Number) d.flag = Pick(2) == 0;
        if (reg == PurchOrderVc::Number) d.closed = Pick(6) == 0;
        d.recid = Insert(reg, [&](uint8_t *r) {
            Fill(d, r);
            switch (reg) {
            case SHVc::Number: PutU16(r, SHVc::Shipped, d.flag); break;
            case PUVc::Number: PutU16(r, PUVc::Received, d.flag); break;
            case ProductionVc::Number: PutU16(r, ProductionVc::Finished, d.flag); break;
            case StockMoveVc::Number: PutU16(r, StockMoveVc::Done, d.flag); break;
            default: break;
            }
        });
        if (d.recid == 0) return;
        d.serial = SerialOf(reg, d.recid);
        docs.push_back(d);
        ++*accepted;
    }

    // Sets the state flag of a live document: ship, receive, finish, done,
    // or confirm a purchase order.
    void Advance(int *accepted) {
        static const int regs[] = {SHVc::Number, PUVc::Number, ProductionVc::Number, StockMoveVc::Number,
                                   PurchOrderVc::Number};
        int reg = regs[Pick(5)];
        std::vector<int> open = Alive(reg, 0);
        if (open.empty()) return;
        Doc &d = docs[(size_t)open[(size_t)Pick((int)open.size())]];
        bool ok = false;
        switch (reg) {
        case SHVc::Number:
            ok = Pick(2) ? ApproveRecord(15, reg, d.recid)
                         : Update(reg, d.recid, [](uint8_t *r) { PutU16(r, SHVc::Shipped, 1); });
            break;
        case PUVc::Number:
            ok = Pick(2) ? ApproveRecord(20, reg, d.recid)
                         : Update(reg, d.recid, [](uint8_t *r) { PutU16(r, PUVc::Received, 1); });
            break;
        case ProductionVc::Number:
            ok = Update(reg, d.recid, [](uint8_t *r) { PutU16(r, ProductionVc::Finished, 1); });
            break;
        case StockMoveVc::Number:
            ok = Update(reg, d.recid, [](uint8_t *r) { PutU16(r, StockMoveVc::Done, 1); });
            break;
        default: ok = ApproveRecord(34, reg, d.recid); break;
        }
        if (!ok) return;
        d.flag = true;
        ++*accepted;
    }

    // Changes row 0's quantity of an open document.
    void ChangeQty(int *accepted) {
        static const int regs[] = {ORVc::Number, SHVc::Number, PUVc::Number, ProductionVc::Number};
        int reg = regs[Pick(4)];
        std::vector<int> open = reg == ORVc::Number ? Alive(reg) : Alive(reg, 0);
        if (open.empty()) return;
        Doc &d = docs[(size_t)open[(size_t)Pick((int)open.size())]];
        Doc changed = d;
        changed.rows[0].qty = 1 + Pick(9);
        bool ok = Update(reg, d.recid, [&](uint8_t *r) {
            MatrixRowsClear(reg, r);
            Fill(changed, r);
        });
        if (!ok) return;
        d = changed;
        ++*accepted;
    }

    // Deletes a document that is not shipped, received, finished or done.
    bool Remove(int index) {
        Doc &d = docs[(size_t)index];
        if (!Delete(d.reg, d.recid)) return false;
        d.alive = false;
        return true;
    }
};

TEST_F(StockOracleTest, RandomDocumentsMatchTheModel) {
    int inserted = 0, advanced = 0, changed = 0, deleted = 0;
    static const int regs[] = {ORVc::Number, PurchOrderVc::Number, PUVc::Number, SHVc::Number, ProductionVc::Number,
                               StockMoveVc::Number};
    for (int step = 0; step < 160 && !HasFailure(); step++) {
        int what = Pick(10);
        if (what < 5) NewDoc(regs[Pick(6)], &inserted);
        else if (what < 7) Advance(&advanced);
        else if (what < 9) ChangeQty(&changed);
        else {
            std::vector<int> open;
            for (size_t i = 0; i < docs.size(); i++)
                if (docs[i].alive && !docs[i].flag && docs[i].reg != ORVc::Number &&
                    docs[i].reg != PurchOrderVc::Number)
                    open.push_back((int)i);
            if (!open.empty() && Remove(open[(size_t)Pick((int)open.size())])) deleted++;
        }
        Check(("step " + std::to_string(step)).c_str());
    }
    EXPECT_GT(inserted, 30);
    EXPECT_GT(advanced, 10);
    EXPECT_GT(changed, 10);
    EXPECT_GT(deleted, 3);

    // Every unshipped, unreceived and unfinished document goes: nothing is
    // pending any more but what shipped documents left on their orders.
    for (size_t i = 0; i < docs.size(); i++) {
        if (docs[i].alive && !docs[i].flag && docs[i].reg != ORVc::Number && docs[i].reg != PurchOrderVc::Number) {
            EXPECT_TRUE(Remove((int)i)) << i;
        }
    }
    for (const char *item : {"A", "B"})
        for (const char *loc : locations) EXPECT_EQ(Stock(item, loc, LSVc::OnDeliveries), 0) << item << loc;
    Check("after the deletes");
}

}  // namespace
