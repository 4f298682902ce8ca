// Tests of the sales invoice's voucher: its rows by case, and a voucher
// built from any invoice balancing.
#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "operations/sales_invoice.h"
#include "rules/ledger.h"
#include "rules/vat_currency.h"
#include "tests/operations/invoice_fixture.h"

namespace {

using Rows = std::vector<std::pair<std::string, double>>;

class InvoiceVoucherTest : public InvoiceCompanyFixture {
protected:
    // The pending voucher's account rows as (account, amount).
    static Rows PendingRows() {
        Rows out;
        uint8_t row[TransRow::Size];
        for (int32_t i = 0; i < MatrixRowCount(Voucher::Number, 0, PendingVoucher); i++) {
            if (!MatrixRowRead(Voucher::Number, PendingVoucher, i, row)) break;
            if (GetU16(row, TransRow::Kind) != RowAccount) continue;
            PackedDecimal amount = GetDec(row, TransRow::Amount);
            out.emplace_back(Text(row, TransRow::Account), DecToDouble(&amount));
        }
        return out;
    }

public:
    using InvoiceFixture::StoreItemGroup;
    using RulesFixture::StoreItem;
    using RulesFixture::StoreRecord;

    // Sets the objects of the invoice's first row.
    static void RowObjects(uint8_t *invoice, const char *objects) {
        uint8_t row[IVVc::Rows::Size];
        ASSERT_TRUE(MatrixRowRead(IVVc::Number, invoice, 0, row));
        PutText(row, IVVc::Rows::Objects, 30, objects);
        ASSERT_TRUE(MatrixRowPut(IVVc::Number, 0, invoice, 0, row));
    }

    // Changes one account of block 133 and stores it again.
    void SalesAccount(uint32_t offset, const char *value) {
        ChangeBlock(SalesAccountsBlk::Number, SalesAccountsBlk::Size, [&](uint8_t *b) { PutText(b, offset, 10, value); });
    }
};

struct VoucherCase {
    const char *name;
    FixtureInvoice head;
    std::vector<FixtureInvoiceRow> rows;
    std::function<void(InvoiceVoucherTest *, uint8_t *)> setup;
    bool ok;
    Rows expected;
};

// A plain row of 100.00 at VAT code 1 (25 %), with no item.
const FixtureInvoiceRow Plain{"", 1, 100};

TEST_F(InvoiceVoucherTest, VoucherRowsByCase) {
    FixtureInvoice credit, euro, cash, zone1, incl;
    credit.kind = 3;
    euro.currency = "EUR", euro.rate = 250;
    cash.kind = 2, cash.terms = "K";
    zone1.vatZone = 1;
    incl.inclVat = 1;
    FixtureInvoiceRow item{"ITEM1", 1, 100}, zoneRow{"", 1, 100, "", ""}, gross{"", 1, 125}, creditRow = Plain;
    creditRow.kind = 3;
    auto none = [](InvoiceVoucherTest *, uint8_t *) {};
    const VoucherCase cases[] = {
        {"credit note mirrored", credit, {Plain}, none, true, {{"1510", -125}, {"3010", 100}, {"2610", 25}}},
        {"rate 250, cost not converted", euro, {item}, none, true,
         {{"1510", 312.5}, {"3010", -250}, {"4010", 60}, {"1460", -60}, {"2610", -62.5}}},
        {"cash invoice on its payment mode", cash, {Plain}, none, true, {{"1910", 125}, {"3010", -100}, {"2610", -25}}},
        {"zone 1: its account and code", zone1, {zoneRow}, none, true, {{"1510", 100}, {"3011", -100}}},
        {"prices include VAT", incl, {gross}, none, true, {{"1510", 125}, {"3010", -100}, {"2610", -25}}},
        {"a kind-3 row posts nothing", {}, {Plain, creditRow}, none, true,
         {{"1510", 125}, {"3010", -100}, {"2610", -25}}},
        {"freight with its own VAT code", {}, {Plain},
         [](InvoiceVoucherTest *, uint8_t *r) {
             PutDec(r, IVVc::Freight, Dec(50));
             PutText(r, IVVc::FreightAcc, 10, InvoiceCo::Freight);
             PutText(r, IVVc::FreightVat, 2, "2");
         },
         true, {{"1510", 181}, {"3010", -100}, {"3520", -50}, {"2610", -25}, {"2610", -6}}},
        {"objects merged", {}, {Plain},
         [](InvoiceVoucherTest *, uint8_t *r) {
             PutText(r, IVVc::Objects, 30, "B,A");
             InvoiceVoucherTest::RowObjects(r, "C,B");
         },
         true, {{"1510", 125}, {"3010", -100}, {"2610", -25}}},
        {"six object codes refuse", {}, {Plain},
         [](InvoiceVoucherTest *, uint8_t *r) {
             PutText(r, IVVc::Objects, 30, "A,B,C");
             InvoiceVoucherTest::RowObjects(r, "D,E,F");
         },
         false, {}},
        {"no balancing account", {}, {Plain},
         [](InvoiceVoucherTest *t, uint8_t *) { t->SalesAccount(SalesAccountsBlk::RoundingAcc, ""); }, false, {}},
        {"no receivable account", {}, {Plain},
         [](InvoiceVoucherTest *t, uint8_t *) { t->SalesAccount(SalesAccountsBlk::ARAcc, "9999"); }, false, {}},
        {"group's cost account missing", {}, {{"IX", 1, 100}},
         [](InvoiceVoucherTest *t, uint8_t *) {
             t->StoreItemGroup("GX", 1, "1");
             t->StoreRecord(ITVc::Number, [](uint8_t *g) {
                 PutText(g, ITVc::Code, 5, "GX");
                 PutText(g, ITVc::COGSAcc, 10, "9999");
                 PutText(g, ITVc::StockAcc, 10, InvoiceCo::Stock);
                 PutU16(g, ITVc::CostMethod, 1);
             });
             t->StoreItem("IX", {.group = "GX", .price = 100, .cost = 60, .vatCode = "1"});
         },
         false, {}},
    };
    std::vector<uint8_t> accounts(SalesAccountsBlock, SalesAccountsBlock + SalesAccountsBlk::Size);
    for (const VoucherCase &c : cases) {
        SCOPED_TRACE(c.name);
        StoreBlock(SalesAccountsBlk::Number, accounts.data(), SalesAccountsBlk::Size);
        shown.clear();
        RuleRecord r(IVVc::Number);
        FillInvoice(r.record, c.head);
        for (const FixtureInvoiceRow &x : c.rows) AddInvoiceRow(r.record, x);
        c.setup(this, r.record);
        DocTotalsRound(r.record);
        EXPECT_EQ(InvoiceVoucher(r.record, 0), c.ok);
        EXPECT_EQ(PendingRows(), c.expected);
        EXPECT_EQ(shown.size(), std::string(c.name) == "six object codes refuse" ? 1u : 0u);
        if (std::string(c.name) == "objects merged") {
            uint8_t row[TransRow::Size];
            ASSERT_TRUE(MatrixRowRead(Voucher::Number, PendingVoucher, 1, row));
            EXPECT_EQ(Text(row, TransRow::Objects), "A,B,C");
        }
    }
}

// Block 199 decides: invoices not posted, or dated before its start,
// give true and no voucher unless forced; a voucher already stored under
// the number refuses unless forced. The head: number, fixed year code and
// a text cut to its field however long name and currency make it.
TEST_F(InvoiceVoucherTest, PostingSwitchStartDateTakenNumberAndHead) {
    RuleRecord r(IVVc::Number);
    FixtureInvoice f;
    f.currency = "EUR", f.rate = 1125;
    FillInvoice(r.record, f);
    PutText(r.record, IVVc::Addr0, 60, std::string(60, 'N').c_str());
    AddInvoiceRow(r.record, Plain);
    DocTotalsRound(r.record);
    std::vector<uint8_t> posting(PostingBlk::Size);
    PutDate(posting.data(), PostingBlk::InvoiceStart, DateRec{1, 7, 2024});
    PutU16(posting.data(), PostingBlk::PostInvoices, 1);
    StoreBlock(PostingBlk::Number, posting.data(), PostingBlk::Size);
    EXPECT_TRUE(InvoiceVoucher(r.record, 0));
    EXPECT_TRUE(PendingRows().empty());
    PutU16(posting.data(), PostingBlk::PostInvoices, 0);
    PutDate(posting.data(), PostingBlk::InvoiceStart, DateRec{});
    StoreBlock(PostingBlk::Number, posting.data(), PostingBlk::Size);
    EXPECT_TRUE(InvoiceVoucher(r.record, 0));
    EXPECT_TRUE(PendingRows().empty());
    ASSERT_TRUE(InvoiceVoucher(r.record, 1));
    EXPECT_EQ(PendingRows().size(), 3u);
    EXPECT_EQ(GetU32(PendingVoucher, Voucher::SerNr), 1001u);
    EXPECT_EQ(GetU16(PendingVoucher, Voucher::YearCode), 201);
    EXPECT_EQ(Text(PendingVoucher, Voucher::Text), "C1 " + std::string(57, 'N'));
    uint32_t id = 0;
    ASSERT_TRUE(RecStore(Voucher::Number, PendingVoucher, 0, &id));
    PutU16(posting.data(), PostingBlk::PostInvoices, 1);
    StoreBlock(PostingBlk::Number, posting.data(), PostingBlk::Size);
    EXPECT_FALSE(InvoiceVoucher(r.record, 0));
    EXPECT_TRUE(InvoiceVoucher(r.record, 1));
}

// Any invoice - kinds 1 to 3, zones 0 to 2, prices with or without VAT,
// rates, freight, items costed by methods 1 to 4 - gives a voucher whose
// rows sum to zero, whose receivable is the converted total and whose
// balancing row takes at most a rounding cent per row.
TEST_F(InvoiceVoucherTest, AnyInvoiceBalances) {
    const char *items[] = {"", "ITEM1", "M2", "M3", "M4", "SERVICE"};
    for (uint16_t m = 2; m <= 4; m++) {
        std::string g = "G" + std::to_string(m + 1), code = "M" + std::to_string(m);
        StoreItemGroup(g.c_str(), m, "1");
        StoreItem(code.c_str(), {.group = g.c_str(), .price = 80, .cost = 30, .vatCode = "1"});
        StoreStock(code.c_str(), InvoiceCo::Location, 50);
    }
    std::mt19937 rng(21);
    auto pick = [&](int n) { return (int)(rng() % (unsigned)n); };
    const double rates[] = {0, 100, 250, 1125};
    const char *codes[] = {"1", "2", "0", ""};
    for (int n = 0; n < 300; n++) {
        SCOPED_TRACE(n);
        FixtureInvoice f;
        f.kind = (uint16_t)(1 + pick(3));
        f.vatZone = (uint16_t)pick(3);
        f.inclVat = (uint16_t)pick(2);
        f.rate = rates[pick(4)];
        f.terms = f.kind == 2 ? "K" : "30";
        RuleRecord r(IVVc::Number);
        FillInvoice(r.record, f);
        for (int k = 1 + pick(4); k > 0; k--) {
            // A zone outside the country sells at the 0 % code, as the window
            // gives it; the home zone at any code.
            FixtureInvoiceRow x{items[pick(6)], 1.0 + pick(5), (pick(100000) + 1) / 100.0,
                                f.vatZone != 0 ? "0" : codes[pick(4)],
                                pick(2) ? "3010" : "", (double)pick(40)};
            AddInvoiceRow(r.record, x);
        }
        if (pick(2)) {
            PutDec(r.record, IVVc::Freight, Dec((pick(5000) + 1) / 100.0));
            PutText(r.record, IVVc::FreightAcc, 10, InvoiceCo::Freight);
            PutText(r.record, IVVc::FreightVat, 2, f.vatZone != 0 ? "0" : codes[pick(3)]);
        }
        DocTotalsRound(r.record);
        ASSERT_TRUE(InvoiceVoucher(r.record, 1)) << (shown.empty() ? "" : shown.back());
        PackedDecimal sum, total = GetDec(r.record, IVVc::Total), rate = GetDec(r.record, IVVc::Rate);
        VoucherRowsSum(PendingVoucher, &sum);
        EXPECT_TRUE(DecIsZero(&sum));
        AmountTimesRate(&total, &rate, &total);
        Rows rows = PendingRows();
        double receivable = 0, balancing = 0;
        for (const auto &[account, amount] : rows) {
            if (account == "1510" || account == "1910") receivable += amount;
            if (account == "3740") balancing += amount;
        }
        EXPECT_NEAR(std::fabs(receivable), std::fabs(DecToDouble(&total)), 0.001);
        EXPECT_LE(std::fabs(balancing), 0.011 * (double)rows.size());
    }
}

}  // namespace

namespace {

// The cost of goods of two ITEM1 (cost price 60) on an invoice made from
// order row 0 of order 77: booked by the invoice only for the units no
// delivery sent out with a voucher of its own.
TEST_F(InvoiceVoucherTest, CostOfDeliveredGoodsIsBookedOnce) {
    struct Case {
        const char *name;
        bool linked;             // the row names its order row
        uint32_t orderNr;        // the invoice's order
        uint16_t shipped;        // the delivery's shipped word
        double delivered;        // what the delivery sent of the order row
        uint16_t vouchers;       // block 199's delivery switch
        DateRec start;           // ... and its start
        double cost;             // the invoice's cost of goods
    };
    const DateRec none{}, july{1, 7, 2024};
    const Case cases[] = {
        {"a row of no order", false, 77, 1, 2, 1, none, 120},
        {"delivered with its voucher", true, 77, 1, 2, 1, none, 0},
        {"half delivered with its voucher", true, 77, 1, 1, 1, none, 60},
        {"delivery vouchers off", true, 77, 1, 2, 0, none, 120},
        {"delivered before their start", true, 77, 1, 2, 1, july, 120},
        {"the delivery not shipped", true, 77, 0, 2, 1, none, 120},
        {"an invoice that no longer names its order", true, 0xFFFFFFFFu, 1, 2, 1, none, 0},
        {"... before the deliveries' start", true, 0xFFFFFFFFu, 1, 2, 1, july, 120},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(RegDeleteAll(SHVc::Number));
        ChangeBlock(PostingBlk::Number, PostingBlk::Size, [&](uint8_t *b) {
            PutU16(b, PostingBlk::DeliveryVouchers, c.vouchers);
            PutDate(b, PostingBlk::DeliveryVoucherStart, c.start);
        });
        StoreRecord(SHVc::Number, [&](uint8_t *d) {
            PutI32(d, SHVc::SerNr, 300);
            PutU32(d, SHVc::OrderNr, 77);
            PutDate(d, SHVc::ShipDate, DateRec{5, 6, 2024});
            PutU16(d, SHVc::Shipped, c.shipped);
            uint8_t row[SHVc::Rows::Size] = {};
            PutU32(row, SHVc::Rows::OrderRowNr, 0);
            PutText(row, SHVc::Rows::ItemCode, 20, "ITEM1");
            PutDec(row, SHVc::Rows::ToDeliver, Dec(c.delivered));
            ASSERT_TRUE(MatrixRowPut(SHVc::Number, 0, d, 0, row));
        });
        FixtureInvoice head;
        head.orderNr = c.orderNr;
        FixtureInvoiceRow item{"ITEM1", 2, 100};
        item.link = c.linked ? 0 : -1;
        RuleRecord r(IVVc::Number);
        FillInvoice(r.record, head);
        AddInvoiceRow(r.record, item);
        DocTotalsRound(r.record);
        ASSERT_TRUE(InvoiceVoucher(r.record, 0));
        double cost = 0, stock = 0;
        for (const auto &[account, amount] : PendingRows()) {
            if (account == InvoiceCo::CostOfGoods) cost += amount;
            if (account == InvoiceCo::Stock) stock += amount;
        }
        EXPECT_DOUBLE_EQ(cost, c.cost);
        EXPECT_DOUBLE_EQ(stock, -c.cost);
    }
}

}  // namespace
