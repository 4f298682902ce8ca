// Posting a sales invoice: the open item by invoice kind, the stock of its
// free item rows, the order it came from, the reference number, what an
// import lacks, and a store that fails being told.
#include <cmath>
#include <functional>
#include <map>
#include <string>

#include "core/record_buffer.h"
#include "database/access/register_hooks.h"
#include "database/engine/engine_state.h"
#include "operations/sales_invoice.h"
#include "rules/hooks.h"
#include "rules/rules_types.h"
#include "tests/operations/invoice_fixture.h"

namespace {

namespace Row = IVVc::Rows;

class InvoicePostingTest : public InvoiceCompanyFixture {
protected:
    // Posts an invoice of rows with the given total and VAT, then stores
    // it as it stands.
    void Post(const FixtureInvoice &f, std::initializer_list<FixtureInvoiceRow> rows, double total, double vat) {
        RuleRecord r(IVVc::Number);
        FillInvoice(r.record, f);
        for (const FixtureInvoiceRow &x : rows) AddInvoiceRow(r.record, x);
        PutDec(r.record, IVVc::Total, Dec(total));
        PutDec(r.record, IVVc::Vat, Dec(vat));
        InvoicePosting(r.record, 1);
        EXPECT_EQ(GetU16(r.record, IVVc::Posted), 1);
        uint32_t recid = 0;
        ASSERT_TRUE(RecStoreByKey(IVVc::Number, r.record, 0, &recid));
    }
    // The open amount of invoice serial; NAN when it has no open item.
    static double Open(uint32_t serial) {
        RuleRecord r(ARVc::Number);
        PutU32(r.record, ARVc::InvoiceNr, serial);
        uint32_t recid = 0, position = 0;
        if (!RecFind(ARVc::Number, r.record, 1, 1, &recid, &position)) return NAN;
        PackedDecimal open = GetDec(r.record, ARVc::OpenAmount);
        return DecToDouble(&open);
    }
    // The quantity in stock of item at the main location; NAN when none.
    static double InStock(const char *item) {
        RuleRecord r(LSVc::Number);
        PutText(r.record, LSVc::ItemCode, 20, item);
        PutText(r.record, LSVc::Location, 10, InvoiceCo::Location);
        uint32_t recid = 0, position = 0;
        if (!RecFindByIndex(LSVc::Number, "ItemLocation", r.record, 2, 1, &recid, &position)) return NAN;
        PackedDecimal q = GetDec(r.record, LSVc::InStock);
        return DecToDouble(&q);
    }
};

// The open items of each kind: an ordinary invoice raises its own, a cash
// invoice makes none, a credit note lowers the credited invoice's (none
// for a credited cash invoice; a full credit removes it) or, crediting
// none, makes a negative one of its own.
TEST_F(InvoicePostingTest, OpenItemsByKind) {
    const FixtureInvoiceRow item{.item = "SERVICE", .qty = 1, .price = 100, .vatCode = "2"};
    Post({.serial = 1001}, {item}, 125, 25);
    Post({.serial = 1002, .kind = 2}, {item}, 125, 25);
    struct Case {
        const char *what;
        int32_t serial;
        uint16_t kind;
        int32_t link;
        double total;
        uint32_t checked;
        double open, own;
    } cases[] = {
        {"credit note crediting none", 1004, 3, -1, 50, 1004, -50, -50},
        {"credit note of 1001", 1005, 3, 1001, 25, 1001, 100, NAN},
        {"credit note of a cash invoice", 1006, 3, 1002, 125, 1002, NAN, NAN},
        {"rest of 1001 credited", 1007, 3, 1001, 100, 1001, NAN, NAN},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        FixtureInvoice f{.serial = c.serial, .kind = c.kind};
        FixtureInvoiceRow x = item;
        x.link = c.link;
        Post(f, {x}, c.total, 0);
        if (std::isnan(c.open)) EXPECT_TRUE(std::isnan(Open(c.checked)));
        else EXPECT_EQ(Open(c.checked), c.open);
        if (std::isnan(c.own)) EXPECT_TRUE(std::isnan(Open((uint32_t)c.serial)));
        else EXPECT_EQ(Open((uint32_t)c.serial), c.own);
    }
    EXPECT_TRUE(std::isnan(Open(1002))) << "a cash invoice has no open item";
}

// The stock of each kind of row: a free item row is issued by FIFO and
// its unit FIFO cost written; a row from an order moves nothing; a credit
// note's row comes back; a service keeps no stock at all.
TEST_F(InvoicePostingTest, StockOfFreeRowsOnly) {
    StoreRecord(PUVc::Number, [](uint8_t *p) {   // the receipt of ITEM1's FIFO layer, at 60
        PutU32(p, PUVc::SerNr, 1);
        uint8_t row[PUVc::Rows::Size] = {};
        PutText(row, PUVc::Rows::ItemCode, 20, "ITEM1");
        PutDec(row, PUVc::Rows::Quantity, Dec(100));
        PutDec(row, PUVc::Rows::UnitCost, Dec(60));
        ASSERT_TRUE(MatrixRowPut(PUVc::Number, 0, p, 0, row));
    });
    RuleRecord r(IVVc::Number);
    FillInvoice(r.record, {});
    AddInvoiceRow(r.record, {.item = "ITEM1", .qty = 3, .price = 100});
    AddInvoiceRow(r.record, {.item = "ITEM2", .qty = 5, .price = 50, .link = 0});
    AddInvoiceRow(r.record, {.item = "SERVICE", .qty = 1, .price = 700, .vatCode = "2"});
    AddInvoiceRow(r.record, {.item = "ITEM1", .qty = 2, .price = 100});
    InvoiceStockRows(r.record);
    EXPECT_EQ(InStock("ITEM1"), 95);
    EXPECT_EQ(InStock("ITEM2"), 40);
    EXPECT_TRUE(std::isnan(InStock("SERVICE")));
    uint8_t row[Row::Size];
    ASSERT_TRUE(MatrixRowRead(IVVc::Number, r.record, 0, row));
    PackedDecimal fifo = GetDec(row, Row::FifoCost);
    EXPECT_EQ(DecToDouble(&fifo), 60);
    // The item history: one record per item, its rows summed, leaving stock.
    StockHistoryFromInvoice(r.record);
    std::map<std::string, double> history;
    uint8_t h[ItemHistVc::Size];
    uint32_t id = 0;
    std::string locations;
    for (int32_t p = 1; RecReadAt(ItemHistVc::Number, p, h, &id); p++) {
        PackedDecimal q = GetDec(h, ItemHistVc::Quantity);
        if (GetU16(h, ItemHistVc::DocType) != 5) continue;
        history[Text(h, ItemHistVc::ItemCode)] += DecToDouble(&q);
        locations += "[" + Text(h, ItemHistVc::Location) + "]";
        EXPECT_EQ(GetU32(h, ItemHistVc::DocNr), GetU32(r.record, IVVc::SerNr));
        EXPECT_EQ(GetU16(h, ItemHistVc::Direction), 0);
    }
    EXPECT_EQ(history, (std::map<std::string, double>{{"ITEM1", -5}, {"ITEM2", -5}, {"SERVICE", -1}}));
    // Every line at the invoice's location (here the main one, the invoice naming none).
    uint8_t main[256] = {};
    GetText(SettingsRecord(MainStockBlk::Number, MainStockBlock), MainStockBlk::MainLocation, main);
    EXPECT_EQ(locations, "[" + PStringToStd(main) + "][" + PStringToStd(main) + "][" + PStringToStd(main) + "]");

    RuleRecord credit(IVVc::Number);
    FillInvoice(credit.record, {.serial = 1002, .kind = 3});
    AddInvoiceRow(credit.record, {.item = "ITEM1", .qty = 2, .price = 100});
    InvoiceStockRows(credit.record);
    EXPECT_EQ(InStock("ITEM1"), 97);
}

// An invoice from an order adds its rows' quantities to the order's
// invoiced quantities and its down payment deducted; deleting it takes
// the deduction back and leaves the invoiced down payments alone.
TEST_F(InvoicePostingTest, OrderFollowsTheInvoice) {
    StoreRecord(ORVc::Number, [](uint8_t *o) {
        PutU32(o, ORVc::SerNr, 77);
        PutText(o, ORVc::CustCode, 20, "C1");
        PutDec(o, ORVc::DownPayInv, Dec(300));
        uint8_t row[ORVc::Rows::Size] = {};
        PutU16(row, ORVc::Rows::Kind, 1);
        PutText(row, ORVc::Rows::ItemCode, 20, "ITEM1");
        PutDec(row, ORVc::Rows::Quantity, Dec(10));
        ASSERT_TRUE(MatrixRowPut(ORVc::Number, 0, o, 0, row));
    });
    RuleRecord r(IVVc::Number);
    FillInvoice(r.record, {});
    PutU32(r.record, IVVc::OrderNr, 77);
    AddInvoiceRow(r.record, {.item = "ITEM1", .qty = 4, .price = 100, .link = 0});
    AddInvoiceRow(r.record, {.item = "", .qty = 1, .price = -100, .kind = 5});
    InvoiceInsertSteps(r.record);

    auto order = [&](uint32_t at, bool row) {
        RuleRecord o(ORVc::Number);
        PutU32(o.record, ORVc::SerNr, 77);
        uint32_t recid = 0, position = 0;
        EXPECT_TRUE(RecFind(ORVc::Number, o.record, 1, 1, &recid, &position));
        uint8_t line[ORVc::Rows::Size];
        EXPECT_TRUE(MatrixRowRead(ORVc::Number, o.record, 0, line));
        PackedDecimal v = row ? GetDec(line, at) : GetDec(o.record, at);
        return DecToDouble(&v);
    };
    EXPECT_EQ(order(ORVc::Rows::QtyInvoiced, true), 4);
    EXPECT_EQ(order(ORVc::DownPayDed, false), 100);
    UpdateOrderFromInvoice(nullptr, r.record);
    EXPECT_EQ(order(ORVc::DownPayDed, false), 0);
    EXPECT_EQ(order(ORVc::DownPayInv, false), 300);
}

// The reference number: serial, code padded to eight, 7-3-1 check digit,
// grouped in fives from the right; a code of nine characters gives none.
TEST_F(InvoicePostingTest, ReferenceNumbers) {
    struct Case {
        const char *code;
        uint32_t serial;
        const char *want;
    } cases[] = {{"45", 123, "123000000453"}, {"", 1, "1000000009"}, {"123456789", 5, "kept"}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.code);
        uint8_t record[IVVc::Size] = {}, out[256];
        PutText(record, 0, 20, c.code);
        PutU32(record, 22, c.serial);
        PStringFromC(out, "kept");
        ZeroPad8(record, out, false);
        EXPECT_EQ(PStringToStd(out), c.want);
    }
    // The reference an invoice stores is the one its form prints (code
    // 298): the customer code's digits, the number in six places and the
    // modulus-10 digit; letters are not weighed, so they are left out.
    struct Stored {
        const char *customer;
        int32_t serial;
        const char *want;
    } stored[] = {{"C1", 123, "10001238"}, {"ABC", 2600001, "26000018"}, {"C1", 2600001, "126000017"},
                  {"123456789012345", 2600001, ""}};
    for (const Stored &c : stored) {
        SCOPED_TRACE(c.customer);
        RuleRecord r(IVVc::Number);
        FillInvoice(r.record, {.serial = c.serial, .customer = c.customer});
        InvoicePosting(r.record, 0);
        EXPECT_EQ(Text(r.record, IVVc::RefStr), c.want) << "more than 20 digits cannot be weighed";
        uint8_t printed[256];
        InvoiceReference(r.record, true, printed);
        EXPECT_EQ(Text(r.record, IVVc::RefStr), PStringToStd(printed));
    }
}

// An imported invoice that names a customer, an item and a salesperson
// the company lacks makes them before it is stored.
class InvoiceImport : public InvoicePostingTest {
protected:
    void SetUp() override {
        InvoicePostingTest::SetUp();
        if (!HasFatalFailure()) RulesInstall();
    }
};

TEST_F(InvoiceImport, MakesWhatItNames) {
    // A salesperson becomes a user only in a company that has users.
    StoreRecord(PEVc::Number, [](uint8_t *u) { PutText(u, PEVc::Code, 5, "ADM"); });
    RuleRecord r(IVVc::Number);
    FillInvoice(r.record, {.serial = 2001, .customer = "NEWC"});
    PutText(r.record, IVVc::Addr0, 60, "New Customer Ltd");
    PutText(r.record, IVVc::SalesMan, 5, "ZZ");
    AddInvoiceRow(r.record, {.item = "NEWITEM", .qty = 1, .price = 10});
    ASSERT_TRUE(RecImportStore(IVVc::Number, r.record, 0, 0));
    RuleRecord c(CUVc::Number), i(INVc::Number), p(PEVc::Number);
    PutText(c.record, CUVc::Code, 20, "NEWC");
    PutText(i.record, INVc::Code, 20, "NEWITEM");
    PutText(p.record, PEVc::Code, 5, "ZZ");
    uint32_t recid = 0, position = 0;
    EXPECT_TRUE(RecFind(CUVc::Number, c.record, 1, 1, &recid, &position));
    EXPECT_EQ(Text(c.record, CUVc::Name), "New Customer Ltd");
    EXPECT_TRUE(RecFind(INVc::Number, i.record, 1, 1, &recid, &position));
    EXPECT_TRUE(RecFind(PEVc::Number, p.record, 1, 1, &recid, &position));
}

// Every store of the posting that fails is told and reported, so the hold
// around the invoice fails with it and nothing is half stored.
TEST_F(InvoicePostingTest, FailedStoresAreTold) {
    RuleRecord r(IVVc::Number);
    FillInvoice(r.record, {.customer = "NEWC"});
    AddInvoiceRow(r.record, {.item = "ITEM1", .qty = 1, .price = 100});
    PutDec(r.record, IVVc::Total, Dec(125));
    DbIoError(5);   // the disk fails from here on: reads still work
    struct Case {
        const char *what;
        std::function<bool()> store;
    } cases[] = {
        {"location stock",
         [] {
             PString item, place;
             PStringFromC(item, "ITEM1");
             PStringFromC(place, "MAIN");
             PackedDecimal minus = Dec(-1);
             return UpdateLocationStock(item, place, &minus, nullptr, nullptr, nullptr, nullptr);
         }},
        {"open item",
         [&] {
             PackedDecimal amount = Dec(125);
             UpdateOpenInvoice(r.record, 1001, &amount, nullptr, nullptr, nullptr, false);
             return !std::isnan(Open(1001));
         }},
        {"item history",
         [&] {
             StockHistoryFromInvoice(r.record);
             return false;
         }},
        {"missing customer", [&] { return CreateMissingCustomer(r.record); }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        shown.clear();
        EXPECT_FALSE(c.store());
        EXPECT_TRUE(WasShown(Texts::RecordNotStored));
    }
    D4Close();   // the damaged file is not checked at the end
}

}  // namespace
