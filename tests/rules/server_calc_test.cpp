// Tests of the server's side of request 34: every sub-request sent by the
// client's stub through an in-process transport answers what the local
// rule answers, and hostile requests (cut short, trailing bytes, lying
// lengths, a register or row not served, a short record) are refused with
// an empty reply and without a read past the message or a leaked block.
#include <cstring>
#include <functional>

#include "core/definitions.h"
#include "core/memblock.h"
#include "core/record_buffer.h"
#include "database/access/transport.h"
#include "operations/operations.h"
#include "rules/prices.h"
#include "tests/rules/rules_fixture.h"

namespace {

// The transport of a client whose server runs in the same process.
bool InProcess(uint16_t code, MsgBuffer *request, MsgBuffer *reply) {
    if (code != ReqCalc) return false;
    uint16_t mode = RunMode;
    RunMode = RunModeServer;
    MsgBuffer received;
    bool ok = MsgLoad(&received, MsgData(request), MsgLength(request)) && ServerCalcRequest(&received, reply);
    RunMode = mode;
    return ok;
}

class ServerCalcTest : public RulesFixture {
protected:
    void SetUp() override {
        RulesFixture::SetUp();
        if (HasFatalFailure()) return;
        AddVatCode("1", 25, -1, "", "");
        StoreRecord(ITVc::Number, [](uint8_t *r) { PutText(r, ITVc::Code, 5, "G1"); PutText(r, ITVc::VatCode, 2, "1"); });
        StoreItem("WIDGET", {.group = "G1", .price = 100, .cost = 40, .name = "Widget"});
        StoreItem("FEE", {.price = 0, .pctTable = "T1", .name = "Fee"});
        StoreRecord(PctTableVc::Number, [](uint8_t *r) {
            PutText(r, PctTableVc::Code, 5, "T1");
            uint8_t row[PctTableVc::Rows::Size] = {};
            PutText(row, PctTableVc::Rows::ItemRange, 20, "A:Z");
            PutDec(row, PctTableVc::Rows::Percentage, Dec(10));
            ASSERT_TRUE(MatrixRowPut(PctTableVc::Number, 0, r, 0, row));
        });
        StoreRecord(PriceListVc::Number, [](uint8_t *r) {
            PutText(r, PriceListVc::Code, 5, "USD");
            PutText(r, PriceListVc::CurncyCode, 5, "USD");
        });
        StoreRecord(PriceVc::Number, [](uint8_t *r) {
            PutText(r, PriceVc::PriceList, 5, "USD");
            PutText(r, PriceVc::ItemCode, 20, "WIDGET");
            PutDec(r, PriceVc::Price, Dec(30));
        });
        StoreRate("USD", DateRec{1, 1, 2024}, 900);
        StoreCustomer("C1", "", "PAYER");
        StoreCustomer("PAYER", "", "", 500);
        StoreRecord(ARVc::Number, [](uint8_t *r) {
            PutU32(r, ARVc::InvoiceNr, 1);
            PutText(r, ARVc::CustCode, 20, "PAYER");
            PutDec(r, ARVc::OpenAmount, Dec(120));
        });
        StoreLocation("L1");
        StoreStock("WIDGET", "L1", 4);
        TransportInstall(InProcess, nullptr);
    }
    void TearDown() override {
        TransportInstall(nullptr, nullptr);
        RunMode = 0;
        RulesFixture::TearDown();
    }

    // An order of two item rows: WIDGET for 100 and the fee row.
    static void Order(uint8_t *r) {
        PutU32(r, ORVc::SerNr, 5);
        for (const char *item : {"WIDGET", "FEE"}) {
            uint8_t row[ORVc::Rows::Size] = {};
            PutU16(row, ORVc::Rows::Kind, 1);
            PutText(row, ORVc::Rows::ItemCode, 20, item);
            PutDec(row, ORVc::Rows::Sum, Dec(item[0] == 'W' ? 100 : 7));
            PutText(row, ORVc::Rows::VatCode, 2, "1");
            ASSERT_TRUE(MatrixRowPut(ORVc::Number, 0, r, MatrixRowCount(ORVc::Number, 0, r), row));
        }
    }
    // A quotation of the same two rows.
    static void Quotation(uint8_t *r) {
        PutU32(r, QuotationVc::SerNr, 6);
        for (const char *item : {"WIDGET", "FEE"}) {
            uint8_t row[QuotationVc::Rows::Size] = {};
            PutU16(row, QuotationVc::Rows::Kind, 1);
            PutText(row, QuotationVc::Rows::ItemCode, 20, item);
            PutDec(row, QuotationVc::Rows::Sum, Dec(item[0] == 'W' ? 100 : 7));
            PutText(row, QuotationVc::Rows::VatCode, 2, "1");
            ASSERT_TRUE(MatrixRowPut(QuotationVc::Number, 0, r, MatrixRowCount(QuotationVc::Number, 0, r), row));
        }
    }
    // A delivery of one row of WIDGET from L1.
    static void Delivery(uint8_t *r) {
        PutText(r, SHVc::Location, 10, "L1");
        uint8_t row[SHVc::Rows::Size] = {};
        PutText(row, SHVc::Rows::ItemCode, 20, "WIDGET");
        PutDec(row, SHVc::Rows::QtyLeft, Dec(10));
        ASSERT_TRUE(MatrixRowPut(SHVc::Number, 0, r, 0, row));
    }

    // True when two records of reg hold the same bytes and the same rows.
    static bool SameRecord(int reg, const uint8_t *a, const uint8_t *b) {
        uint32_t size = RegRecordSize(reg);
        int32_t slot = RegMatrixOffset(reg);
        std::vector<uint8_t> x(a, a + size), y(b, b + size);
        if (slot >= 0) {
            std::memset(x.data() + slot, 0, 4);
            std::memset(y.data() + slot, 0, 4);
        }
        if (x != y) return false;
        if (slot < 0) return true;
        int32_t n = MatrixRowCount(reg, 0, a);
        if (n != MatrixRowCount(reg, 0, b)) return false;
        std::vector<uint8_t> ra(RecRowSize(reg)), rb(RecRowSize(reg));
        for (int32_t i = 0; i < n; i++) {
            MatrixRowGet(reg, 0, a, i, ra.data());
            MatrixRowGet(reg, 0, b, i, rb.data());
            if (ra != rb) return false;
        }
        return true;
    }
    static bool SameDec(const PackedDecimal &a, const PackedDecimal &b) { return std::memcmp(&a, &b, 12) == 0; }

    // Runs call locally and then as a client through the stub.
    static void BothWays(const std::function<void()> &call) {
        RunMode = 0;
        call();
        RunMode = RunModeClient;
        call();
        RunMode = 0;
    }
};

TEST_F(ServerCalcTest, EverySubRequestAnswersWhatTheLocalRuleAnswers) {
    // 1: item price in a USD list for a EUR document.
    uint8_t widget[] = {6, 'W', 'I', 'D', 'G', 'E', 'T'}, eur[] = {3, 'E', 'U', 'R'}, usd[] = {3, 'U', 'S', 'D'};
    uint8_t empty[2] = {0}, l1[] = {2, 'L', '1'};
    for (const uint8_t *item : {widget, usd}) {   // an item and one that does not exist
        ItemPriceQuery q{item, Dec(2), eur, Dec(50), empty, empty, usd, empty, 1, {}, {}};
        DecSetBlank(&q.price);
        DecSetBlank(&q.discount);
        RuleRecord items[2] = {RuleRecord(INVc::Number), RuleRecord(INVc::Number)};
        ItemPriceAnswer answers[2];
        bool found[2];
        int i = 0;
        BothWays([&] { found[i] = ItemPriceCall(&q, items[i].record, &answers[i]); i++; });
        EXPECT_EQ(found[0], item == widget);
        EXPECT_EQ(found[0], found[1]);
        EXPECT_TRUE(SameRecord(INVc::Number, items[0].record, items[1].record));
        const ItemPriceAnswer &x = answers[0], &y = answers[1];
        EXPECT_TRUE(SameDec(x.price, y.price) && SameDec(x.discount, y.discount) && SameDec(x.cost, y.cost));
        EXPECT_TRUE(PStringEqual(x.text, y.text) && PStringEqual(x.vatCode, y.vatCode) && PStringEqual(x.account, y.account));
        EXPECT_EQ(x.flag, y.flag);
        if (item == widget) {
            EXPECT_EQ(DecCompareDouble(&y.price, 540), 0);   // 30 USD at 9, at rate 50
        }
    }
    // 2: item cost.
    {
        PackedDecimal c[2], v[2];
        bool found[2];
        int i = 0;
        BothWays([&] { found[i] = ItemCostCall(widget, l1, &c[i], &v[i]); i++; });
        EXPECT_TRUE(found[0] && found[1]);
        EXPECT_TRUE(SameDec(c[0], c[1]) && SameDec(v[0], v[1]));
    }
    // 3: the stock available for a delivery's rows.
    {
        RuleRecord d[2] = {RuleRecord(SHVc::Number), RuleRecord(SHVc::Number)};
        Delivery(d[0].record);
        Delivery(d[1].record);
        bool ok[2];
        int i = 0;
        BothWays([&] { ok[i] = OrderRowsAvailableCall(d[i].record); i++; });
        EXPECT_TRUE(ok[0] && ok[1]);
        EXPECT_TRUE(SameRecord(SHVc::Number, d[0].record, d[1].record));
    }
    // 4: credit limit and open balance, the paying customer's.
    {
        RuleRecord c[2] = {RuleRecord(CUVc::Number), RuleRecord(CUVc::Number)};
        PackedDecimal limit[2], balance[2];
        bool found[2];
        int i = 0;
        for (RuleRecord &r : c) PutText(r.record, CUVc::Code, 20, "C1");
        BothWays([&] { found[i] = CustomerBalanceCreditCall(c[i].record, &limit[i], &balance[i]); i++; });
        EXPECT_TRUE(found[0] && found[1]);
        EXPECT_TRUE(SameRecord(CUVc::Number, c[0].record, c[1].record));
        EXPECT_EQ(DecCompareDouble(&limit[1], 500), 0);
        EXPECT_EQ(DecCompareDouble(&balance[1], 120), 0);
        EXPECT_TRUE(SameDec(limit[0], limit[1]) && SameDec(balance[0], balance[1]));
    }
    // 5: a currency rate.
    {
        DateRec date{1, 6, 2024};
        PackedDecimal rate[2];
        int i = 0;
        BothWays([&] { EXPECT_TRUE(CurrencyRate(usd, &date, &rate[i])); i++; });
        EXPECT_EQ(DecCompareDouble(&rate[1], 900), 0);
        EXPECT_TRUE(SameDec(rate[0], rate[1]));
    }
    // 7: the fee row's sum: 10 % of the WIDGET row.
    {
        RuleRecord o[2] = {RuleRecord(ORVc::Number), RuleRecord(ORVc::Number)};
        Order(o[0].record);
        Order(o[1].record);
        PackedDecimal total[2];
        bool ok[2];
        int i = 0;
        BothWays([&] { ok[i] = RowSumCall(ORVc::Number, o[i].record, 1, &total[i]); i++; });
        EXPECT_TRUE(ok[0] && ok[1]);
        EXPECT_EQ(DecCompareDouble(&total[1], 10), 0);
        EXPECT_TRUE(SameDec(total[0], total[1]));
        EXPECT_TRUE(SameRecord(ORVc::Number, o[0].record, o[1].record));
    }
}

// Valid request bodies, one per served sub-request, as a client sends them.
std::vector<std::vector<uint8_t>> ValidRequests(uint8_t *order, uint8_t *customer, uint8_t *delivery) {
    std::vector<std::vector<uint8_t>> out;
    const uint8_t widget[] = {6, 'W', 'I', 'D', 'G', 'E', 'T'}, usd[] = {3, 'U', 'S', 'D'}, empty[2] = {0};
    PackedDecimal d;
    DecFromLong(&d, 1);
    DateRec date{1, 6, 2024};
    auto keep = [&](MsgBuffer &m) { out.emplace_back(MsgData(&m), MsgData(&m) + MsgLength(&m)); };
    MsgBuffer m1, m2, m3, m4, m5, m7;
    MsgPutWord(&m1, CalcItemPrice);
    MsgPutPString(&m1, widget);
    MsgPutBlock12(&m1, &d);
    MsgPutPString(&m1, usd);
    MsgPutBlock12(&m1, &d);
    for (int i = 0; i < 3; i++) MsgPutPString(&m1, empty);
    MsgPutPString(&m1, usd);
    MsgPutWord(&m1, 1);
    MsgPutBlock12(&m1, &d);
    MsgPutBlock12(&m1, &d);
    keep(m1);
    MsgPutWord(&m2, CalcItemCost);
    MsgPutPString(&m2, widget);
    MsgPutPString(&m2, empty);
    keep(m2);
    MsgPutWord(&m3, CalcStockAvailable);
    MsgPutRecord(&m3, SHVc::Number, delivery);
    keep(m3);
    MsgPutWord(&m4, CalcCustomerBalance);
    MsgPutRecord(&m4, CUVc::Number, customer);
    keep(m4);
    MsgPutWord(&m5, CalcCurrencyRate);
    MsgPutPString(&m5, usd);
    MsgPutDate(&m5, &date);
    keep(m5);
    MsgPutWord(&m7, CalcRowSum);
    MsgPutWord(&m7, ORVc::Number);
    MsgPutRecord(&m7, ORVc::Number, order);
    MsgPutWord(&m7, 1);
    keep(m7);
    return out;
}

// Serves bytes as a request: whether it was served, and the reply's length.
bool Serve(const std::vector<uint8_t> &bytes, uint32_t *replyLength) {
    MsgBuffer request, reply;
    if (!bytes.empty()) MsgLoad(&request, bytes.data(), (uint32_t)bytes.size());
    bool ok = ServerCalcRequest(&request, &reply);
    *replyLength = MsgLength(&reply);
    return ok;
}

TEST_F(ServerCalcTest, HostileRequestsAreRefusedWithAnEmptyReply) {
    RuleRecord order(ORVc::Number), customer(CUVc::Number), delivery(SHVc::Number);
    Order(order.record);
    Delivery(delivery.record);
    PutText(customer.record, CUVc::Code, 20, "C1");
    std::vector<std::vector<uint8_t>> valid = ValidRequests(order.record, customer.record, delivery.record);
    uint32_t blocks = MemBlockCount(), length = 0;
    for (const std::vector<uint8_t> &v : valid) {
        uint16_t sub = (uint16_t)(v[0] | v[1] << 8);
        ASSERT_TRUE(Serve(v, &length)) << "sub " << sub;
        EXPECT_GT(length, 0u);
        for (size_t cut = 0; cut < v.size(); cut++) {   // cut short at every byte
            std::vector<uint8_t> part(v.begin(), v.begin() + (long)cut);
            EXPECT_FALSE(Serve(part, &length)) << "sub " << sub << " cut at " << cut;
            EXPECT_EQ(length, 0u);
        }
        std::vector<uint8_t> longer = v;   // a trailing item
        longer.insert(longer.end(), {0, 0});
        EXPECT_FALSE(Serve(longer, &length)) << "sub " << sub;
        EXPECT_EQ(length, 0u);
    }
    EXPECT_EQ(MemBlockCount(), blocks);

    auto refused = [&](std::vector<uint8_t> bytes, const char *what) {
        EXPECT_FALSE(Serve(bytes, &length)) << what;
        EXPECT_EQ(length, 0u) << what;
    };
    std::vector<uint8_t> v = valid[5];   // sub 7: register word at 2
    v[2] = 11;                           // vouchers are not served
    refused(v, "register 11");
    for (uint16_t row : {2, 5, 0xFFFF}) {
        v = valid[5];
        v[v.size() - 2] = (uint8_t)row;
        v[v.size() - 1] = (uint8_t)(row >> 8);
        refused(v, "a row past the order's two");
    }
    // The order's rows length (after the padded fixed bytes) lies: one byte
    // more than the rows, and a length that is no whole number of rows.
    size_t rowsAt = 4 + RegRecordSize(ORVc::Number) + (RegRecordSize(ORVc::Number) & 1);
    for (uint32_t n : {2u * ORVc::Rows::Size + 2, 2u * ORVc::Rows::Size - 2, 0x7FFFFFFFu}) {
        v = valid[5];
        std::memcpy(v.data() + rowsAt, &n, 4);
        refused(v, "a lying rows length");
    }
    // A customer record one byte short on the wire.
    MsgBuffer shortCustomer;
    MsgPutWord(&shortCustomer, CalcCustomerBalance);
    MsgPutBytesRaw(&shortCustomer, customer.record, CUVc::Size - 1);
    refused(std::vector<uint8_t>(MsgData(&shortCustomer), MsgData(&shortCustomer) + MsgLength(&shortCustomer)),
            "short customer");
    // A currency code whose length byte runs past the message.
    refused({CalcCurrencyRate, 0, 200, 'U', 'S', 'D', 1, 0, 6, 0, 1, 0}, "ptext past the end");
    EXPECT_EQ(MemBlockCount(), blocks);

    // Sub-requests without a calculation are served with nothing.
    for (uint16_t sub : {0, 6, 8, 999}) {
        EXPECT_TRUE(Serve({(uint8_t)sub, (uint8_t)(sub >> 8)}, &length)) << sub;
        EXPECT_EQ(length, 0u);
    }
}

// The quotation window asks for its rows' sums by request 7 too: a true
// quotation is served as locally, one whose rows length lies, or that is
// cut short, or that names a row past its rows, gets nothing.
TEST_F(ServerCalcTest, QuotationRowSumsAreServedAndLyingQuotationsRefused) {
    {
        RuleRecord q[2] = {RuleRecord(QuotationVc::Number), RuleRecord(QuotationVc::Number)};
        Quotation(q[0].record);
        Quotation(q[1].record);
        PackedDecimal total[2];
        bool ok[2];
        int i = 0;
        BothWays([&] { ok[i] = RowSumCall(QuotationVc::Number, q[i].record, 1, &total[i]); i++; });
        EXPECT_TRUE(ok[0] && ok[1]);
        EXPECT_TRUE(SameDec(total[0], total[1]));
        EXPECT_TRUE(SameRecord(QuotationVc::Number, q[0].record, q[1].record));
    }
    RuleRecord quotation(QuotationVc::Number);
    Quotation(quotation.record);
    MsgBuffer m;
    MsgPutWord(&m, CalcRowSum);
    MsgPutWord(&m, QuotationVc::Number);
    MsgPutRecord(&m, QuotationVc::Number, quotation.record);
    MsgPutWord(&m, 1);
    const std::vector<uint8_t> valid(MsgData(&m), MsgData(&m) + MsgLength(&m));
    uint32_t blocks = MemBlockCount(), length = 0;
    ASSERT_TRUE(Serve(valid, &length));
    EXPECT_GT(length, 0u);
    for (size_t cut : {size_t(2), size_t(4), valid.size() / 2, valid.size() - 1}) {
        EXPECT_FALSE(Serve(std::vector<uint8_t>(valid.begin(), valid.begin() + long(cut)), &length)) << cut;
        EXPECT_EQ(length, 0u);
    }
    size_t rowsAt = 4 + RegRecordSize(QuotationVc::Number) + (RegRecordSize(QuotationVc::Number) & 1);
    for (uint32_t n : {2u * QuotationVc::Rows::Size + 2, 2u * QuotationVc::Rows::Size - 2, 0x7FFFFFFFu}) {
        std::vector<uint8_t> v = valid;
        std::memcpy(v.data() + rowsAt, &n, 4);
        EXPECT_FALSE(Serve(v, &length)) << n;
        EXPECT_EQ(length, 0u);
    }
    std::vector<uint8_t> v = valid;
    v[v.size() - 2] = 2;   // the row past its two
    EXPECT_FALSE(Serve(v, &length));
    EXPECT_EQ(MemBlockCount(), blocks);
}

}  // namespace
