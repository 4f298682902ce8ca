// The document flow: quotations become orders, orders deliveries and
// invoices (also down-payment invoices), purchase orders purchases and
// purchase invoices, each numbered and stored with its hooks; what the
// order, the stock and the open item show afterwards; and the refusals
// (a locked or missing source, a full series, the credit limit, a kind
// sent with the wrong register, nothing left to convert).
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "database/access/record_locks.h"
#include "database/access/register_hooks.h"
#include "operations/order_conversion.h"
#include "operations/project_ops.h"
#include "operations/purchase_ledger.h"
#include "operations/sales_customer_fill.h"
#include "operations/sales_invoice.h"
#include "recordwin/purchase_invoice_window.h"
#include "recordwin/record_windows.h"
#include "rules/approval.h"
#include "rules/contract_invoicing.h"
#include "rules/convert_document.h"
#include "rules/hooks.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"
#include "tests/operations/invoice_fixture.h"

namespace {

namespace OR = ORVc::Rows;

// One order or quotation row.
struct FlowRow {
    const char *item = "ITEM1";
    double qty = 1;
    double price = 100;
    const char *stdText = "";
    const char *structCode = "_";
};

class DocumentFlowTest : public InvoiceCompanyFixture {
protected:
    void SetUp() override {
        InvoiceCompanyFixture::SetUp();
        if (HasFatalFailure()) return;
        RulesInstall();   // after the company: its blocks are laid down whole, unchecked
        for (int block : {OrderSeriesBlk::Number, DeliverySeriesBlk::Number, QuotationSeriesBlk::Number,
                          PurchSeriesBlk::Number, PurchOrderSeriesBlk::Number, PurchInvSeriesBlk::Number})
            AddSeriesRow(block, 1, 99999);
        StoreItem("SERIAL", {.group = "G1", .price = 10, .serialMode = 1, .vatCode = "1", .name = "Numbered"});
        StoreStock("SERIAL", InvoiceCo::Location, 10);
        StoreAccount("4000", "Goods bought", 3);
        StoreRecord(VEVc::Number, [](uint8_t *v) {
            PutText(v, VEVc::Code, 20, "V1");
            PutText(v, VEVc::Name, 60, "First Vendor");
            PutText(v, VEVc::PurchAcc, 10, "4000");
        });
        StoreRecord(VEVc::Number, [](uint8_t *v) { PutText(v, VEVc::Code, 20, "V2"); });
    }

    static void Rows(int reg, uint8_t *r, const std::vector<FlowRow> &rows) {
        for (const FlowRow &x : rows) {
            uint8_t row[OR::Size] = {};   // order and quotation rows share these places
            PutU16(row, OR::Kind, 1);
            PutText(row, OR::ItemCode, 20, x.item);
            PutDec(row, OR::Quantity, Dec(x.qty));
            PutDec(row, OR::Price, Dec(x.price));
            PutText(row, OR::Text, 100, x.item[0] ? x.item : "A line of text");
            PutDec(row, OR::Sum, Dec(x.qty * x.price));
            if (reg == ORVc::Number) {
                PutText(row, OR::VatCode, 2, "1");
                PutText(row, OR::SalesAcc, 10, InvoiceCo::Sales);
                PutText(row, OR::Text304, 30, x.stdText);
                PutText(row, OR::StructCode, 20, x.structCode);
            } else {
                PutText(row, QuotationVc::Rows::VatCode, 2, "1");
            }
            ASSERT_TRUE(MatrixRowPut(reg, 0, r, MatrixRowCount(reg, 0, r), row));
        }
    }
    // An order of customer with rows, stored with its hooks; its record id.
    template <typename Change>
    uint32_t Order(const char *customer, const std::vector<FlowRow> &rows, Change change) {
        RuleRecord r(ORVc::Number);
        RecNewDefaults(ORVc::Number, r.record);
        PutU32(r.record, ORVc::SerNr, next++);
        PutText(r.record, ORVc::CustCode, 20, customer);
        PutText(r.record, ORVc::Addr0, 60, "Ordering name");
        PutDate(r.record, ORVc::OrdDate, DateRec{1, 6, 2024});
        Rows(ORVc::Number, r.record, rows);
        OrderTotals(r.record);
        change(r.record);
        uint32_t recid = 0;
        EXPECT_TRUE(RecInsertUnchecked(ORVc::Number, r.record, &recid));
        return recid;
    }
    uint32_t Order(const char *customer, const std::vector<FlowRow> &rows) {
        return Order(customer, rows, [](uint8_t *) {});
    }
    // A purchase order of vendor with (item, ordered, received, VAT code)
    // rows and the payment terms of code terms.
    uint32_t PurchaseOrder(const char *vendor, std::initializer_list<std::tuple<const char *, double, double, const char *>> rows,
                           uint16_t closed = 0, const char *terms = "") {
        return StoreRecord(PurchOrderVc::Number, [&](uint8_t *p) {
            PutU32(p, PurchOrderVc::SerNr, next++);
            PutText(p, PurchOrderVc::VendCode, 20, vendor);
            PutText(p, PurchOrderVc::PayTerms, 2, terms);
            PutText(p, PurchOrderVc::VendName, 60, "Vendor name");
            PutU16(p, PurchOrderVc::Closed, closed);
            double total = 0;
            for (auto [item, ordered, received, vat] : rows) {
                uint8_t row[PurchOrderVc::Rows::Size] = {};
                PutU16(row, PurchOrderVc::Rows::Kind, 1);
                PutText(row, PurchOrderVc::Rows::ItemCode, 20, item);
                PutDec(row, PurchOrderVc::Rows::Quantity, Dec(ordered));
                PutDec(row, PurchOrderVc::Rows::QtyReceived, Dec(received));
                PutDec(row, PurchOrderVc::Rows::QtyOnPurchases, Dec(received));
                PutDec(row, PurchOrderVc::Rows::Price, Dec(10));
                PutDec(row, PurchOrderVc::Rows::Sum, Dec(ordered * 10));
                PutText(row, PurchOrderVc::Rows::VatCode, 2, vat);
                total += ordered * 10;
                ASSERT_TRUE(MatrixRowPut(PurchOrderVc::Number, 0, p, MatrixRowCount(PurchOrderVc::Number, 0, p), row));
            }
            PutDec(p, PurchOrderVc::Total, Dec(total));
        });
    }
    // Converts by kind the source sourceId into a new record of reg whose
    // link sits at linkAt; the new record's id (all ones: none). The
    // record as the conversion left it stays in Made().
    uint32_t Convert(int kind, int reg, uint32_t linkAt, uint32_t sourceId) {
        lastMade = std::make_unique<RuleRecord>(reg);
        PutU32(lastMade->record, linkAt, sourceId);
        uint32_t id = 0;
        shown.clear();
        bool ok = ConvertDocumentCall(reg, kind, lastMade->record, &id);
        EXPECT_EQ(ok, id != SerialNone);
        return id;
    }
    uint8_t *Made() { return lastMade->record; }
    std::unique_ptr<RuleRecord> lastMade;
    // Reads record recid of reg into out (rows stay reachable while out lives).
    static void Read(int reg, uint32_t recid, RuleRecord &out) { ASSERT_TRUE(RecReadById(reg, recid, out.record)); }
    static std::vector<uint8_t> Row(int reg, const uint8_t *r, int32_t i) {
        std::vector<uint8_t> row(RecRowSize(reg));
        EXPECT_TRUE(MatrixRowRead(reg, r, i, row.data())) << "row " << i;
        return row;
    }
    // An order row's quantity at `at` (an OR offset).
    static double OrderQty(uint32_t orderId, int32_t row, uint32_t at) {
        RuleRecord o(ORVc::Number);
        if (!RecReadById(ORVc::Number, orderId, o.record)) return NAN;
        return Num(Row(ORVc::Number, o.record, row).data(), at);
    }
    static double InStock(const char *item) {
        RuleRecord r(LSVc::Number);
        PutText(r.record, LSVc::ItemCode, 20, item);
        PutText(r.record, LSVc::Location, 10, InvoiceCo::Location);
        uint32_t recid = 0, position = 0;
        if (!RecFindByIndex(LSVc::Number, "ItemLocation", r.record, 2, 1, &recid, &position)) return NAN;
        return Num(r.record, LSVc::InStock);
    }
    static void SetInStock(const char *item, double qty) {
        RuleRecord r(LSVc::Number);
        PutText(r.record, LSVc::ItemCode, 20, item);
        PutText(r.record, LSVc::Location, 10, InvoiceCo::Location);
        uint32_t recid = 0, position = 0;
        ASSERT_TRUE(RecFindByIndex(LSVc::Number, "ItemLocation", r.record, 2, 1, &recid, &position));
        PutDec(r.record, LSVc::InStock, Dec(qty));
        ASSERT_TRUE(RecStore(LSVc::Number, r.record, 1, &recid));
    }
    static double Open(uint32_t serial) {
        RuleRecord r(ARVc::Number);
        PutU32(r.record, ARVc::InvoiceNr, serial);
        uint32_t recid = 0, position = 0;
        if (!RecFind(ARVc::Number, r.record, 1, 1, &recid, &position)) return NAN;
        return Num(r.record, ARVc::OpenAmount);
    }
    uint32_t next = 101;
};

// Quotation -> order -> a partial delivery shipped -> the rest delivered
// and shipped -> the invoice posted: every order row figure, the order's
// marks, the stock and the open item as worked out by hand.
TEST_F(DocumentFlowTest, AQuotationGoesThroughOrderDeliveriesAndAPostedInvoice) {
    uint32_t quotation = StoreRecord(QuotationVc::Number, [&](uint8_t *q) {
        PutU32(q, QuotationVc::SerNr, 7);
        PutText(q, QuotationVc::CustCode, 20, "C1");
        PutText(q, QuotationVc::CustName, 60, "First Customer");
        Rows(QuotationVc::Number, q, {{.item = "ITEM1", .qty = 10, .price = 100}, {.item = "", .qty = 0, .price = 0}});
    });
    uint32_t order = Convert(ConvertQuotationToOrder, ORVc::Number, ORVc::SerNr, quotation);
    ASSERT_NE(order, SerialNone);
    RuleRecord o(ORVc::Number);
    Read(ORVc::Number, order, o);
    EXPECT_EQ(Text(o.record, ORVc::CustCode), "C1");
    EXPECT_EQ(Text(o.record, ORVc::Addr0), "First Customer");
    EXPECT_EQ(GetU32(o.record, ORVc::SerNr), 1u) << "numbered from the order series, not the quotation's id";
    ASSERT_EQ(MatrixRowCount(ORVc::Number, 0, o.record), 2);
    EXPECT_EQ(Num(Row(ORVc::Number, o.record, 0).data(), OR::Quantity), 10);
    EXPECT_EQ(Num(o.record, ORVc::Net), 1000);

    // Only 4 in stock: the first delivery takes 4, and shipping it moves them.
    SetInStock("ITEM1", 4);
    uint32_t first = Convert(ConvertOrderToDelivery, SHVc::Number, SHVc::OrderNr, order);
    ASSERT_NE(first, SerialNone);
    EXPECT_EQ(GetU32(Made(), SHVc::OrderNr), 1u) << "the order's serial replaces its id";
    EXPECT_EQ(Num(Row(SHVc::Number, Made(), 0).data(), SHVc::Rows::ToDeliver), 4);
    EXPECT_EQ(Num(Row(SHVc::Number, Made(), 0).data(), SHVc::Rows::Available), 4);
    EXPECT_EQ(OrderQty(order, 0, OR::QtyDelivered), 4);
    ASSERT_TRUE(ApproveRecord(15, SHVc::Number, first));
    EXPECT_EQ(OrderQty(order, 0, OR::QtyShipped), 4);
    EXPECT_EQ(InStock("ITEM1"), 0);

    SetInStock("ITEM1", 50);
    uint32_t rest = Convert(ConvertOrderToDelivery, SHVc::Number, SHVc::OrderNr, order);
    ASSERT_NE(rest, SerialNone);
    EXPECT_EQ(Num(Row(SHVc::Number, Made(), 0).data(), SHVc::Rows::ToDeliver), 6);
    ASSERT_TRUE(ApproveRecord(15, SHVc::Number, rest));
    EXPECT_EQ(OrderQty(order, 0, OR::QtyShipped), 10);
    EXPECT_EQ(InStock("ITEM1"), 44);

    uint32_t invoice = Convert(ConvertOrderToInvoice, IVVc::Number, IVVc::OrderNr, order);
    ASSERT_NE(invoice, SerialNone);
    ASSERT_TRUE(ApproveRecord(1, IVVc::Number, invoice));
    RuleRecord inv(IVVc::Number);
    Read(IVVc::Number, invoice, inv);
    EXPECT_EQ(GetU16(inv.record, IVVc::Posted), 1);
    // The item row, then the zero-price text row that always passes.
    ASSERT_EQ(MatrixRowCount(IVVc::Number, 0, inv.record), 2);
    std::vector<uint8_t> row = Row(IVVc::Number, inv.record, 0);
    EXPECT_EQ(Num(row.data(), IVVc::Rows::Quantity), 10);
    EXPECT_EQ(Num(row.data(), IVVc::Rows::Sum), 1000);
    EXPECT_EQ(GetU32(row.data(), IVVc::Rows::Link), 0u);
    EXPECT_EQ(GetU32(Row(IVVc::Number, inv.record, 1).data(), IVVc::Rows::Link), 1u);
    EXPECT_EQ(Num(inv.record, IVVc::Total), 1250);
    EXPECT_EQ(Open(GetU32(inv.record, IVVc::SerNr)), 1250);
    EXPECT_EQ(OrderQty(order, 0, OR::QtyInvoiced), 10);
    Read(ORVc::Number, order, o);
    EXPECT_EQ(GetU16(o.record, ORVc::InvState), 2);
    EXPECT_EQ(GetU16(o.record, ORVc::DelivComplete), 1);
    EXPECT_EQ(GetU16(o.record, ORVc::Open), 0);

    // Nothing is left: no delivery, no invoice, and nothing stored.
    uint32_t deliveries = RegRecordCount(SHVc::Number), invoices = RegRecordCount(IVVc::Number);
    EXPECT_EQ(Convert(ConvertOrderToDelivery, SHVc::Number, SHVc::OrderNr, order), SerialNone);
    EXPECT_EQ(RegRecordCount(SHVc::Number), deliveries);
    EXPECT_EQ(RegRecordCount(IVVc::Number), invoices + 0);
}

// A down-payment invoice of 30 % of the order total, posted, then the
// final invoice deducts it; a down payment larger than the invoice is cut.
TEST_F(DocumentFlowTest, DownPaymentsAreInvoicedAndDeductedUpToTheNet) {
    std::vector<uint8_t> block(DownPayBlk::Size, 0);
    PutDec(block.data(), DownPayBlk::Percentage, Dec(30));
    PutText(block.data(), DownPayBlk::ItemCode, 20, "ITEM2");
    PutText(block.data(), DownPayBlk::RowText, 60, "Down payment");
    StoreBlock(DownPayBlk::Number, block.data(), DownPayBlk::Size);
    uint32_t order = Order("C1", {{.item = "ITEM1", .qty = 3, .price = 333}});
    uint32_t dp = Convert(ConvertOrderToDownPayment, IVVc::Number, IVVc::OrderNr, order);
    ASSERT_NE(dp, SerialNone);
    ASSERT_EQ(MatrixRowCount(IVVc::Number, 0, Made()), 1);
    std::vector<uint8_t> row = Row(IVVc::Number, Made(), 0);
    EXPECT_EQ(GetU16(row.data(), IVVc::Rows::Kind), 5);
    // The order total with 25 % VAT is 1248.75; 30 % of it to whole units.
    EXPECT_EQ(Num(row.data(), IVVc::Rows::Sum), 375);
    EXPECT_EQ(Text(row.data(), IVVc::Rows::Text), "Down payment 101");
    EXPECT_EQ(Text(row.data(), IVVc::Rows::SalesAcc), InvoiceCo::Sales);
    ASSERT_TRUE(ApproveRecord(1, IVVc::Number, dp));
    RuleRecord o(ORVc::Number);
    Read(ORVc::Number, order, o);
    EXPECT_EQ(Num(o.record, ORVc::DownPayInv), 375);

    // Ship one unit (333 net): the deduction is cut to the net sum.
    RuleRecord ord(ORVc::Number);
    Read(ORVc::Number, order, ord);
    std::vector<uint8_t> line = Row(ORVc::Number, ord.record, 0);
    PutDec(line.data(), OR::QtyShipped, Dec(1));
    ASSERT_TRUE(MatrixRowPut(ORVc::Number, 0, ord.record, 0, line.data()));
    uint32_t at = order;
    ASSERT_TRUE(RecStore(ORVc::Number, ord.record, 1, &at));
    uint32_t final = Convert(ConvertOrderToInvoice, IVVc::Number, IVVc::OrderNr, order);
    ASSERT_NE(final, SerialNone);
    ASSERT_EQ(MatrixRowCount(IVVc::Number, 0, Made()), 2);
    row = Row(IVVc::Number, Made(), 1);
    EXPECT_EQ(GetU16(row.data(), IVVc::Rows::Kind), 5);
    EXPECT_EQ(Num(row.data(), IVVc::Rows::Sum), -333);
    EXPECT_EQ(Num(Made(), IVVc::Net), 0);
    ASSERT_TRUE(ApproveRecord(1, IVVc::Number, final));
    Read(ORVc::Number, order, o);
    EXPECT_EQ(Num(o.record, ORVc::DownPayDed), 333);
}

TEST_F(DocumentFlowTest, DownPaymentAmountRoundsToWholeUnitsExceptAtAHundredPerCent) {
    PackedDecimal amount, base = Dec(1234.56);
    PackedDecimal pct = Dec(100);
    DownPaymentAmount(&base, &pct, &amount);
    EXPECT_DOUBLE_EQ(DecToDouble(&amount), 1234.56);
    pct = Dec(30);
    DownPaymentAmount(&base, &pct, &amount);
    EXPECT_DOUBLE_EQ(DecToDouble(&amount), 370);
    pct = Dec(99.99);
    DownPaymentAmount(&base, &pct, &amount);
    EXPECT_DOUBLE_EQ(DecToDouble(&amount), 1234);
}

// The invoice goes to the invoice customer the order names and keeps the
// ordering customer; an unknown invoice customer leaves the order's own.
TEST_F(DocumentFlowTest, AnInvoiceToAnInvoiceCustomerKeepsTheOrderingCustomer) {
    auto shipped = [](uint8_t *o) {
        std::vector<uint8_t> line(OR::Size);
        ASSERT_TRUE(MatrixRowRead(ORVc::Number, o, 0, line.data()));
        PutDec(line.data(), OR::QtyShipped, Dec(2));
        ASSERT_TRUE(MatrixRowPut(ORVc::Number, 0, o, 0, line.data()));
    };
    uint32_t order = Order("C1", {{.qty = 2}}, [&](uint8_t *o) {
        PutText(o, ORVc::InvoiceTo, 20, "C2");
        shipped(o);
    });
    ASSERT_NE(Convert(ConvertOrderToInvoice, IVVc::Number, IVVc::OrderNr, order), SerialNone);
    EXPECT_EQ(Text(Made(), IVVc::CustCode), "C2");
    EXPECT_EQ(Text(Made(), IVVc::Addr0), "Euro Customer");
    EXPECT_EQ(Text(Made(), IVVc::StatCustCode), "C1");
    uint32_t other = Order("C1", {{.qty = 2}}, [&](uint8_t *o) {
        PutText(o, ORVc::InvoiceTo, 20, "NOBODY");
        shipped(o);
    });
    ASSERT_NE(Convert(ConvertOrderToInvoice, IVVc::Number, IVVc::OrderNr, other), SerialNone);
    EXPECT_EQ(Text(Made(), IVVc::CustCode), "C1");
    EXPECT_EQ(Text(Made(), IVVc::Addr0), "Ordering name");
    EXPECT_EQ(Text(Made(), IVVc::StatCustCode), "");
}

// An order row naming a standard text is followed by the text's lines: by
// its code and text, else by the text alone; an unknown key adds nothing.
TEST_F(DocumentFlowTest, StandardTextRowsFollowTheirRow) {
    auto text = [&](const char *code, const char *key, std::initializer_list<const char *> lines) {
        StoreRecord(StdTextVc::Number, [&](uint8_t *t) {
            PutText(t, StdTextVc::Code, 20, code);
            PutText(t, StdTextVc::Text, 30, key);
            for (const char *l : lines) {
                uint8_t row[StdTextVc::Rows::Size] = {};
                PutText(row, StdTextVc::Rows::Text, 100, l);
                ASSERT_TRUE(MatrixRowPut(StdTextVc::Number, 0, t, MatrixRowCount(StdTextVc::Number, 0, t), row));
            }
        });
    };
    text("_", "CARE", {"Keep dry", "Keep cool"});
    text("", "WARRANTY", {"Two years"});
    uint32_t order = Order("C1", {{.price = 10, .stdText = "CARE"}, {.price = 0, .stdText = "WARRANTY"},
                                  {.price = 0, .stdText = "NONE"}},
                           [](uint8_t *o) {
                               std::vector<uint8_t> line(OR::Size);
                               ASSERT_TRUE(MatrixRowRead(ORVc::Number, o, 0, line.data()));
                               PutDec(line.data(), OR::QtyShipped, Dec(1));
                               ASSERT_TRUE(MatrixRowPut(ORVc::Number, 0, o, 0, line.data()));
                           });
    ASSERT_NE(Convert(ConvertOrderToInvoice, IVVc::Number, IVVc::OrderNr, order), SerialNone);
    std::vector<std::string> texts;
    for (int32_t i = 0; i < MatrixRowCount(IVVc::Number, 0, Made()); i++)
        texts.push_back(Text(Row(IVVc::Number, Made(), i).data(), IVVc::Rows::Text));
    EXPECT_EQ(texts, (std::vector<std::string>{"ITEM1", "Keep dry", "Keep cool", "ITEM1", "Two years", "ITEM1"}));
}

// Five serial-numbered units become five rows of one; when the stock less
// what the first (unshipped) delivery holds leaves three, three rows
// deliver and a fourth shows that nothing is left.
TEST_F(DocumentFlowTest, SerialNumberedUnitsAreDeliveredOneARow) {
    uint32_t order = Order("C1", {{.item = "SERIAL", .qty = 5, .price = 10}});
    ASSERT_NE(Convert(ConvertOrderToDelivery, SHVc::Number, SHVc::OrderNr, order), SerialNone);
    ASSERT_EQ(MatrixRowCount(SHVc::Number, 0, Made()), 5);
    for (int32_t i = 0; i < 5; i++) {
        std::vector<uint8_t> row = Row(SHVc::Number, Made(), i);
        EXPECT_EQ(Num(row.data(), SHVc::Rows::ToDeliver), 1) << i;
        EXPECT_EQ(Num(row.data(), SHVc::Rows::Available), 10 - i) << i;
        EXPECT_EQ(GetU32(row.data(), SHVc::Rows::OrderRowNr), 0u);
    }
    SetInStock("SERIAL", 8);
    uint32_t other = Order("C1", {{.item = "SERIAL", .qty = 5, .price = 10}});
    ASSERT_NE(Convert(ConvertOrderToDelivery, SHVc::Number, SHVc::OrderNr, other), SerialNone);
    ASSERT_EQ(MatrixRowCount(SHVc::Number, 0, Made()), 4);
    std::vector<uint8_t> last = Row(SHVc::Number, Made(), 3);
    EXPECT_EQ(Num(last.data(), SHVc::Rows::ToDeliver), 0);
    EXPECT_EQ(Num(last.data(), SHVc::Rows::Available), 0);
}

// The delivery takes the customer's delivery address when it has one,
// else its postal lines, and the order's delivery address over both.
TEST_F(DocumentFlowTest, TheDeliveryAddressComesFromTheCustomerOrTheOrder) {
    RuleRecord d(SHVc::Number);
    uint8_t code[256];
    PStringFromC(code, "C1");
    ASSERT_TRUE(CopyCustomerAddress(d.record, code));
    EXPECT_EQ(Text(d.record, SHVc::DelAddr0), "First Customer");
    EXPECT_EQ(Text(d.record, SHVc::DelAddr2), "222 33 Malm\xF6");
    PStringFromC(code, "NOBODY");
    EXPECT_FALSE(CopyCustomerAddress(d.record, code));
    uint32_t order = Order("C1", {{.qty = 1}}, [](uint8_t *o) {
        PutText(o, ORVc::DelAddr0, 60, "Site office");
        PutText(o, ORVc::DelAddr3, 60, "Gate 4");
    });
    ASSERT_NE(Convert(ConvertOrderToDelivery, SHVc::Number, SHVc::OrderNr, order), SerialNone);
    EXPECT_EQ(Text(Made(), SHVc::DelAddr0), "Site office");
    EXPECT_EQ(Text(Made(), SHVc::DelAddr1), "");
    EXPECT_EQ(Text(Made(), SHVc::DelAddr3), "Gate 4");
}

// Refusals: a source another session holds (1520), a missing source, a
// full series, a customer over the credit limit (1164), a kind outside
// 1..11 or 5, and a kind sent with another register than its own.
TEST_F(DocumentFlowTest, RefusedConversionsMakeNothing) {
    uint32_t order = Order("C1", {{.qty = 2}});
    ASSERT_TRUE(RecordLockAdd(99, ORVc::Number, order));
    EXPECT_EQ(Convert(ConvertOrderToDelivery, SHVc::Number, SHVc::OrderNr, order), SerialNone);
    EXPECT_TRUE(WasShown(1520));
    RecordUnlock(99, ORVc::Number, order);
    EXPECT_EQ(Convert(ConvertOrderToDelivery, SHVc::Number, SHVc::OrderNr, 4242), SerialNone);
    EXPECT_EQ(RegRecordCount(SHVc::Number), 0u);

    StoreRecord(ARVc::Number, [](uint8_t *a) {
        PutU32(a, ARVc::InvoiceNr, 900);
        PutText(a, ARVc::CustCode, 20, "C3");
        PutDec(a, ARVc::OpenAmount, Dec(500));
    });
    ChangeBlock(CreditLimitBlk::Number, CreditLimitBlk::Size, [](uint8_t *b) { PutU16(b, CreditLimitBlk::DeliveryCheck, 1); });
    uint32_t over = Order("C3", {{.qty = 1}});
    EXPECT_EQ(Convert(ConvertOrderToDelivery, SHVc::Number, SHVc::OrderNr, over), SerialNone);
    EXPECT_TRUE(WasShown(1164));
    EXPECT_NE(Convert(ConvertOrderToDelivery, SHVc::Number, SHVc::OrderNr, order), SerialNone) << "C1 is within its limit";

    tableRows[DeliverySeriesBlk::Number].clear();
    AddSeriesRow(DeliverySeriesBlk::Number, 1, 1);
    EXPECT_EQ(Convert(ConvertOrderToDelivery, SHVc::Number, SHVc::OrderNr, order), SerialNone) << "number 1 is taken";
    EXPECT_EQ(RegRecordCount(SHVc::Number), 1u);

    RuleRecord r(SHVc::Number);
    PutU32(r.record, SHVc::OrderNr, order);
    uint32_t id = 0;
    for (int kind : {0, 5, 12}) {
        EXPECT_FALSE(ConvertDocument(kind, 0, r.record, &id)) << kind;
        EXPECT_EQ(id, SerialNone);
    }
    RuleRecord c(CUVc::Number);
    PutU32(c.record, 4, order);
    EXPECT_FALSE(ConvertDocumentLocal(CUVc::Number, ConvertOrderToDelivery, c.record, &id));
    EXPECT_EQ(GetU32(c.record, 4), order) << "refused before anything was done to the record";
}

// Kind 35 makes one purchase of what is still to come: a second run finds
// it on the purchase and makes nothing; a fully received purchase order
// and a closed one make nothing; 2.5 serial units become three rows.
TEST_F(DocumentFlowTest, APurchaseOrderBecomesOnePurchaseOfWhatIsStillToCome) {
    uint32_t po = PurchaseOrder("v1", {{"ITEM1", 8, 3, "1"}, {"NOITEM", 5, 0, "1"}, {"SERIAL", 2.5, 0, "1"}});
    ASSERT_TRUE(ApproveRecord(35, PurchOrderVc::Number, po));
    ASSERT_EQ(RegRecordCount(PUVc::Number), 1u);
    RuleRecord p(PUVc::Number);
    uint32_t recid = 0;
    ASSERT_TRUE(RecReadAt(PUVc::Number, 1, p.record, &recid));
    EXPECT_EQ(Text(p.record, PUVc::VendCode), "V1");
    EXPECT_EQ(GetU32(p.record, PUVc::POSerNr), 101u);
    ASSERT_EQ(MatrixRowCount(PUVc::Number, 0, p.record), 4);
    std::vector<uint8_t> row = Row(PUVc::Number, p.record, 0);
    EXPECT_EQ(Num(row.data(), PUVc::Rows::Quantity), 5);
    EXPECT_EQ(Num(row.data(), PUVc::Rows::Price), 10);
    EXPECT_EQ(GetU32(row.data(), PUVc::Rows::PORowNr), 0u);
    for (int32_t i = 1; i < 4; i++) {
        row = Row(PUVc::Number, p.record, i);
        EXPECT_EQ(Num(row.data(), PUVc::Rows::Quantity), 1) << i;
        EXPECT_EQ(GetU32(row.data(), PUVc::Rows::PORowNr), 2u);
    }
    ASSERT_TRUE(ApproveRecord(35, PurchOrderVc::Number, po));
    EXPECT_EQ(RegRecordCount(PUVc::Number), 1u) << "nothing is left to come";

    uint32_t received = PurchaseOrder("V1", {{"ITEM1", 4, 4, "1"}});
    ASSERT_TRUE(ApproveRecord(35, PurchOrderVc::Number, received));
    uint32_t closed = PurchaseOrder("V1", {{"ITEM1", 4, 0, "1"}}, 1);
    EXPECT_EQ(Convert(ConvertPurchaseOrderToPurchase, PUVc::Number, PUVc::POSerNr, closed), SerialNone);
    EXPECT_EQ(RegRecordCount(PUVc::Number), 1u);
}

// The purchase invoice has a row per VAT code on the vendor's purchase
// account, named after the account; a vendor without a purchase account
// or a closed purchase order give none.
TEST_F(DocumentFlowTest, APurchaseInvoiceSumsThePurchaseOrderByVatCode) {
    uint32_t po = PurchaseOrder("V1", {{"ITEM1", 2, 0, "1"}, {"ITEM2", 3, 0, "2"}, {"SERIAL", 4, 0, "1"}});
    ASSERT_NE(Convert(ConvertPurchaseOrderToPurchaseInvoice, VIVc::Number, VIVc::SerNr, po), SerialNone);
    EXPECT_EQ(Text(Made(), VIVc::VendCode), "V1");
    EXPECT_EQ(Num(Made(), VIVc::InvAmount), 90);
    ASSERT_GE(MatrixRowCount(VIVc::Number, 0, Made()), 2);
    std::vector<uint8_t> first = Row(VIVc::Number, Made(), 0), second = Row(VIVc::Number, Made(), 1);
    EXPECT_EQ(Text(first.data(), VIVc::Rows::Account), "4000");
    EXPECT_EQ(Text(first.data(), VIVc::Rows::Text), "Goods bought");
    EXPECT_EQ(Num(first.data(), VIVc::Rows::Amount), 60);
    EXPECT_EQ(Text(second.data(), VIVc::Rows::VatCode), "2");
    EXPECT_EQ(Num(second.data(), VIVc::Rows::Amount), 30);
    EXPECT_NE(GetU32(Made(), VIVc::SerNr), SerialNone);

    uint32_t noAccount = PurchaseOrder("V2", {{"ITEM1", 2, 0, "1"}});
    uint32_t closed = PurchaseOrder("V1", {{"ITEM1", 2, 0, "1"}}, 1);
    uint32_t invoices = RegRecordCount(VIVc::Number);
    EXPECT_EQ(Convert(ConvertPurchaseOrderToPurchaseInvoice, VIVc::Number, VIVc::SerNr, noAccount), SerialNone);
    EXPECT_EQ(Convert(ConvertPurchaseOrderToPurchaseInvoice, VIVc::Number, VIVc::SerNr, closed), SerialNone);
    EXPECT_EQ(RegRecordCount(VIVc::Number), invoices);
}

// The invoice takes the order's payment terms, else the vendor's, and is
// due by them, not on its date; terms named by neither leave it due on
// its date as before.
TEST_F(DocumentFlowTest, APurchaseInvoiceIsDueByTheOrdersOrTheVendorsTerms) {
    StoreRecord(PayTermsVc::Number, [](uint8_t *t) {
        PutText(t, PayTermsVc::Code, 2, "30");
        PutI32(t, PayTermsVc::Days, 30);
        PutU16(t, PayTermsVc::Kind, 1);
    });
    StoreRecord(PayTermsVc::Number, [](uint8_t *t) {
        PutText(t, PayTermsVc::Code, 2, "10");
        PutI32(t, PayTermsVc::Days, 10);
        PutU16(t, PayTermsVc::Kind, 1);
    });
    StoreRecord(VEVc::Number, [](uint8_t *v) {
        PutText(v, VEVc::Code, 20, "V3");
        PutText(v, VEVc::PurchAcc, 10, "4000");
        PutText(v, VEVc::PayTerms, 2, "10");
    });
    auto dueAfter = [this](int days) {
        DateRec date = GetDate(Made(), VIVc::InvDate), due = GetDate(Made(), VIVc::DueDate), expected;
        DateAddDays(&date, days, &expected);
        return DateCompare(&due, &expected) == 0;
    };
    uint32_t ordered = PurchaseOrder("V3", {{"ITEM1", 2, 0, "1"}}, 0, "30");
    ASSERT_NE(Convert(ConvertPurchaseOrderToPurchaseInvoice, VIVc::Number, VIVc::SerNr, ordered), SerialNone);
    EXPECT_EQ(Text(Made(), VIVc::PayTerms), "30");
    EXPECT_TRUE(dueAfter(30));

    uint32_t vendorTerms = PurchaseOrder("V3", {{"ITEM1", 2, 0, "1"}});
    ASSERT_NE(Convert(ConvertPurchaseOrderToPurchaseInvoice, VIVc::Number, VIVc::SerNr, vendorTerms), SerialNone);
    EXPECT_EQ(Text(Made(), VIVc::PayTerms), "10");
    EXPECT_TRUE(dueAfter(10));

    uint32_t none = PurchaseOrder("V1", {{"ITEM1", 2, 0, "1"}});
    ASSERT_NE(Convert(ConvertPurchaseOrderToPurchaseInvoice, VIVc::Number, VIVc::SerNr, none), SerialNone);
    EXPECT_EQ(Text(Made(), VIVc::PayTerms), "");
    EXPECT_TRUE(dueAfter(0));
}

// A purchase invoice made from a purchase order whose goods came in: the
// part their receipts booked (stock debited, goods received not invoiced
// credited) goes to that clearing account at the cost booked, so the
// invoice clears it; what was not received, what a receipt without a
// voucher brought in, and a price above the booked cost go to the
// vendor's purchase account. A vendor without a purchase account gets an
// invoice only when nothing needs that account; otherwise the user is
// told why none was made, as for a closed order or an unknown vendor.
TEST_F(DocumentFlowTest, AnInvoiceOfReceivedGoodsClearsWhatTheirReceiptsBooked) {
    StoreAccount("2441", "Goods received, not invoiced", 2);
    ChangeBlock(SalesAccountsBlk::Number, SalesAccountsBlk::Size,
                [](uint8_t *b) { PutText(b, SalesAccountsBlk::PurchClearingAcc, 10, "2441"); });
    uint32_t purchases = 900;
    // A received purchase of the order's rows (row, quantity, unit cost),
    // with the stock voucher its receipt stores when booked.
    auto receipt = [&](uint32_t poRecid, std::initializer_list<std::tuple<uint32_t, double, double>> rows,
                       bool booked) {
        RuleRecord po(PurchOrderVc::Number);
        Read(PurchOrderVc::Number, poRecid, po);
        const uint32_t serial = purchases++;
        StoreRecord(PUVc::Number, [&](uint8_t *p) {
            PutU32(p, PUVc::SerNr, serial);
            PutU32(p, PUVc::POSerNr, GetU32(po.record, PurchOrderVc::SerNr));
            PutU16(p, PUVc::Received, 1);
            for (auto [poRow, qty, cost] : rows) {
                uint8_t row[PUVc::Rows::Size] = {};
                PutU32(row, PUVc::Rows::PORowNr, poRow);
                PutDec(row, PUVc::Rows::Quantity, Dec(qty));
                PutDec(row, PUVc::Rows::UnitCost, Dec(cost));
                ASSERT_TRUE(MatrixRowPut(PUVc::Number, 0, p, MatrixRowCount(PUVc::Number, 0, p), row));
            }
        });
        if (booked)
            StoreRecord(Voucher::Number, [&](uint8_t *v) {
                PutU32(v, Voucher::SerNr, serial);
                PutU16(v, Voucher::YearCode, YearCodePurchase);
            });
    };
    // The invoice's rows as "account vat amount" lines, but for the
    // rounding row (this order's total carries no VAT).
    auto rows = [this] {
        std::string got;
        for (int32_t i = 0; i < MatrixRowCount(VIVc::Number, 0, Made()); i++) {
            std::vector<uint8_t> r = Row(VIVc::Number, Made(), i);
            if (Text(r.data(), VIVc::Rows::Account) == InvoiceCo::Rounding) continue;
            got += Text(r.data(), VIVc::Rows::Account) + " " + Text(r.data(), VIVc::Rows::VatCode) + " " +
                   std::to_string(Num(r.data(), VIVc::Rows::Amount)).substr(0, 5) + "\n";
        }
        return got;
    };
    auto toldStarting = [](int text, const std::string &extra) {
        for (const std::string &s : shown)
            if (s == UiText(text) + extra) return true;
        return false;
    };

    // ITEM1 all received at the ordered price, ITEM2 two of three at a
    // cost of 9 against a price of 10, SERIAL received without a voucher.
    uint32_t po = PurchaseOrder("V1", {{"ITEM1", 4, 4, "1"}, {"ITEM2", 3, 2, "1"}, {"SERIAL", 2, 2, "2"}});
    receipt(po, {{0, 4, 10}, {1, 2, 9}}, true);
    receipt(po, {{2, 2, 10}}, false);
    ASSERT_NE(Convert(ConvertPurchaseOrderToPurchaseInvoice, VIVc::Number, VIVc::SerNr, po), SerialNone);
    EXPECT_EQ(rows(), "2441 1 58.00\n4000 1 12.00\n4000 2 20.00\n") << "40 + 18 cleared; 30 - 18 and 20 bought";
    EXPECT_EQ(Num(Made(), VIVc::InvAmount), 90);

    // No purchase account: received and booked goods make the invoice,
    // anything else is refused with the vendor named.
    uint32_t booked = PurchaseOrder("V2", {{"ITEM1", 2, 2, "1"}});
    receipt(booked, {{0, 2, 10}}, true);
    ASSERT_NE(Convert(ConvertPurchaseOrderToPurchaseInvoice, VIVc::Number, VIVc::SerNr, booked), SerialNone);
    EXPECT_EQ(rows(), "2441 1 20.00\n");
    EXPECT_TRUE(shown.empty()) << ::testing::PrintToString(shown);

    const uint32_t invoices = RegRecordCount(VIVc::Number);
    uint32_t open = PurchaseOrder("V2", {{"ITEM1", 2, 2, "1"}});
    receipt(open, {{0, 2, 10}}, false);
    EXPECT_EQ(Convert(ConvertPurchaseOrderToPurchaseInvoice, VIVc::Number, VIVc::SerNr, open), SerialNone);
    EXPECT_TRUE(toldStarting(16400, "V2")) << ::testing::PrintToString(shown);
    EXPECT_EQ(Convert(ConvertPurchaseOrderToPurchaseInvoice, VIVc::Number, VIVc::SerNr,
                      PurchaseOrder("V9", {{"ITEM1", 1, 0, "1"}})),
              SerialNone);
    EXPECT_TRUE(toldStarting(16401, "V9")) << ::testing::PrintToString(shown);
    EXPECT_EQ(Convert(ConvertPurchaseOrderToPurchaseInvoice, VIVc::Number, VIVc::SerNr,
                      PurchaseOrder("V1", {{"ITEM1", 1, 0, "1"}}, 1)),
              SerialNone);
    EXPECT_TRUE(toldStarting(16402, "")) << ::testing::PrintToString(shown);
    EXPECT_EQ(RegRecordCount(VIVc::Number), invoices) << "a refused invoice is not stored";
}

// Every document a conversion makes passes its own register's checks
// when the user opens it and saves it again (a purchase invoice also when
// approving it), whether its source carries no currency (a rate left zero,
// as a purchase order typed in the home currency has it) or a currency.
// The purchase also carries the vendor's name as the purchase invoice does.
TEST_F(DocumentFlowTest, EveryConvertedDocumentPassesItsOwnChecks) {
    StoreRecord(VEVc::Number, [](uint8_t *v) {
        PutText(v, VEVc::Code, 20, "V3");
        PutText(v, VEVc::Name, 60, "Euro Vendor");
        PutText(v, VEVc::PurchAcc, 10, "4000");
        PutText(v, VEVc::CurncyCode, 5, "EUR");
    });
    // Saves the stored record again as the window would, approving it
    // first when approvedAt is given; the check's result (0 accepted).
    auto saved = [](int reg, uint32_t recid, uint32_t approvedAt = 0) {
        RuleRecord stored(reg), edited(reg);
        EXPECT_TRUE(RecReadById(reg, recid, stored.record));
        EXPECT_TRUE(RecReadById(reg, recid, edited.record));
        if (approvedAt) PutU16(edited.record, approvedAt, 1);
        shown.clear();
        return ValidateRecord(reg, edited.record, stored.record, 2);
    };
    uint32_t quotation = StoreRecord(QuotationVc::Number, [&](uint8_t *q) {
        PutU32(q, QuotationVc::SerNr, 7);
        PutText(q, QuotationVc::CustCode, 20, "C1");
        Rows(QuotationVc::Number, q, {{.item = "ITEM1", .qty = 2, .price = 100}});
    });
    uint32_t order = Convert(ConvertQuotationToOrder, ORVc::Number, ORVc::SerNr, quotation);
    ASSERT_NE(order, SerialNone);
    EXPECT_EQ(saved(ORVc::Number, order), 0) << "order from a quotation";
    uint32_t delivery = Convert(ConvertOrderToDelivery, SHVc::Number, SHVc::OrderNr, order);
    ASSERT_NE(delivery, SerialNone);
    EXPECT_EQ(saved(SHVc::Number, delivery), 0) << "delivery from an order";
    uint32_t down = Convert(ConvertOrderToDownPayment, IVVc::Number, IVVc::OrderNr,
                            Order("C1", {{.item = "ITEM1", .qty = 1, .price = 100}}));
    ASSERT_NE(down, SerialNone);
    EXPECT_EQ(saved(IVVc::Number, down), 0) << "down-payment invoice";
    uint32_t euroOrder = Order("C2", {{.item = "ITEM1", .qty = 1, .price = 100}}, [](uint8_t *o) {
        PutText(o, ORVc::CurncyCode, 5, "EUR");
        PutDec(o, ORVc::Rate, Dec(100));   // a rate kept from before the currency was typed
    });
    uint32_t shipped = Convert(ConvertOrderToDelivery, SHVc::Number, SHVc::OrderNr, euroOrder);
    ASSERT_NE(shipped, SerialNone);
    uint32_t invoice = Convert(ConvertOrderToInvoice, IVVc::Number, IVVc::OrderNr, euroOrder);
    if (invoice != SerialNone) {
        EXPECT_EQ(saved(IVVc::Number, invoice), 0) << "invoice in a currency";
        EXPECT_EQ(Num(Made(), IVVc::Rate), 100) << "the order's own rate is kept";
    }

    for (const char *vendor : {"V1", "V3"}) {
        SCOPED_TRACE(vendor);
        uint32_t po = PurchaseOrder(vendor, {{"ITEM1", 2, 0, "1"}});
        if (std::string(vendor) == "V3") {
            RuleRecord p(PurchOrderVc::Number);
            Read(PurchOrderVc::Number, po, p);
            PutText(p.record, PurchOrderVc::CurncyCode, 5, "EUR");
            ASSERT_TRUE(RecStore(PurchOrderVc::Number, p.record, 1, &po));
        }
        uint32_t purchase = Convert(ConvertPurchaseOrderToPurchase, PUVc::Number, PUVc::POSerNr, po);
        ASSERT_NE(purchase, SerialNone);
        EXPECT_EQ(saved(PUVc::Number, purchase), 0) << "purchase from a purchase order";
        EXPECT_EQ(Text(Made(), PUVc::VendName), "Vendor name") << "the name comes with the vendor";
        uint32_t pi = Convert(ConvertPurchaseOrderToPurchaseInvoice, VIVc::Number, VIVc::SerNr, po);
        ASSERT_NE(pi, SerialNone);
        EXPECT_EQ(saved(VIVc::Number, pi, VIVc::Approved), 0)
            << "purchase invoice approved; told " << ::testing::PrintToString(shown);
        PackedDecimal rate = GetDec(Made(), VIVc::Rate);
        if (std::string(vendor) == "V1")
            EXPECT_TRUE(DecIsBlank(&rate)) << "no currency: the home-currency rate";
        else
            EXPECT_EQ(Num(Made(), VIVc::Rate), 1125) << "the currency's rate on the date";
    }
}

// Each conversion that makes a purchase document for a vendor fills what
// the typed window fills from that vendor: the record the conversion made
// is compared field by field with a new record of the same vendor filled
// by the typed window's own routine. A field the source document names
// itself (the order's vendor name, currency and terms) is the source's.
TEST_F(DocumentFlowTest, ConversionsFillWhatTheTypedWindowFillsFromTheVendor) {
    StoreRecord(PayTermsVc::Number, [](uint8_t *t) {
        PutText(t, PayTermsVc::Code, 2, "20");
        PutI32(t, PayTermsVc::Days, 20);
        PutU16(t, PayTermsVc::Kind, 1);
    });
    StoreRecord(VEVc::Number, [](uint8_t *v) {
        PutText(v, VEVc::Code, 20, "V4");
        PutText(v, VEVc::Name, 60, "Giro Vendor");
        PutText(v, VEVc::PurchAcc, 10, "4000");
        PutText(v, VEVc::PayTerms, 2, "20");
        PutText(v, VEVc::BankGiro, 30, "5050-1055");
        PutText(v, VEVc::AccountNr, 20, "KODV4");
    });
    struct Conversion {
        const char *name;
        int kind, reg;
        uint32_t linkAt, vendorAt, dateAt;
        // What the typed window fills of a new record of the vendor.
        void (*typedFill)(uint8_t *record);
        // The text fields both must hold alike, and the due date.
        std::vector<std::pair<const char *, uint32_t>> texts;
        uint32_t dueAt;
    };
    const std::vector<Conversion> conversions = {
        {"purchase order to purchase invoice", ConvertPurchaseOrderToPurchaseInvoice, VIVc::Number, VIVc::SerNr,
         VIVc::VendCode, VIVc::InvDate, [](uint8_t *r) { ASSERT_EQ(PurchaseVendorFill(0, r), 1); },
         {{"payment text", VIVc::PayText}, {"payee text", VIVc::PayeeText}, {"terms", VIVc::PayTerms},
          {"currency", VIVc::CurncyCode}, {"objects", VIVc::Objects}},
         VIVc::DueDate},
    };
    for (const Conversion &c : conversions) {
        SCOPED_TRACE(c.name);
        uint32_t po = PurchaseOrder("V4", {{"ITEM1", 2, 0, "1"}});
        ASSERT_NE(Convert(c.kind, c.reg, c.linkAt, po), SerialNone);
        RuleRecord typed(c.reg);
        RecNewDefaults(c.reg, typed.record);
        PutDate(typed.record, c.dateAt, GetDate(Made(), c.dateAt));
        PutText(typed.record, c.vendorAt, 20, "V4");
        c.typedFill(typed.record);
        for (const auto &[name, at] : c.texts) EXPECT_EQ(Text(Made(), at), Text(typed.record, at)) << name;
        DateRec made = GetDate(Made(), c.dueAt), filled = GetDate(typed.record, c.dueAt);
        EXPECT_EQ(DateCompare(&made, &filled), 0) << "the due date by the vendor's terms";
    }
    // The payee texts are the vendor's, not empty texts that agree.
    EXPECT_EQ(Text(Made(), VIVc::PayText), "5050-1055");
    EXPECT_EQ(Text(Made(), VIVc::PayeeText), "KODV4");
}

// The same for the sales documents: each way a quotation, order or
// invoice is made from another document (or generated for a customer, as
// project, plan, interest and sample invoices are) carries every customer
// field its typed window fills, compared with a new document of the same
// customer filled by that window's routine. The source is a document as
// its own window filled it; a field the source deliberately names itself
// (here its payment terms, changed after the fill) is the source's.
TEST_F(DocumentFlowTest, SalesConversionsFillWhatTheTypedWindowFillsFromTheCustomer) {
    StoreTerms("20", 0, 20);
    StoreRecord(CUVc::Number, [](uint8_t *c) {
        PutText(c, CUVc::Code, 20, "CF");
        PutText(c, CUVc::Name, 60, "Full Customer");
        PutText(c, CUVc::Addr1, 60, "Street 1");
        PutText(c, CUVc::Addr2, 60, "Town 2");
        PutText(c, CUVc::Addr3, 60, "Land 3");
        PutText(c, CUVc::DelAddr1, 60, "Dock 1");
        PutText(c, CUVc::DelAddr2, 60, "Dock 2");
        PutText(c, CUVc::DelAddr3, 60, "Dock 3");
        PutText(c, CUVc::Text456, 20, "Their text");
        PutText(c, CUVc::Name2, 60, "Second name");
        PutText(c, CUVc::Phone, 20, "08-111");
        PutU16(c, CUVc::VatZone, 0);
        PutText(c, CUVc::PayTerms, 2, "30");
        PutText(c, CUVc::CustGroup, 5, "CG");
        PutText(c, CUVc::Objects, 5, "OBJ");
        PutText(c, CUVc::Text646, 20, "Our contact");
        PutText(c, CUVc::PayerCode, 20, "CF");
        PutText(c, CUVc::LangCode, 5, "EN");
        PutText(c, CUVc::CurncyCode, 5, "EUR");
        PutText(c, CUVc::SalesMan, 5, "SM");
        PutText(c, CUVc::DelTerms, 5, "DT");
        PutText(c, CUVc::DelMode, 5, "DM");
        PutText(c, CUVc::VatCode, 2, "1");
        PutText(c, CUVc::Reference, 60, "Their reference");
        PutText(c, CUVc::PriceList, 5, "PL");
        PutText(c, CUVc::DiscCode2, 5, "D2");
    });
    std::vector<uint8_t> block(DownPayBlk::Size, 0);
    PutDec(block.data(), DownPayBlk::Percentage, Dec(30));
    PutText(block.data(), DownPayBlk::ItemCode, 20, "ITEM2");
    PutText(block.data(), DownPayBlk::RowText, 60, "Down payment");
    StoreBlock(DownPayBlk::Number, block.data(), DownPayBlk::Size);

    // An order typed for CF (its window's fill, terms changed to 20),
    // with one row shipped.
    auto typedOrder = [this] {
        return Order("CF", {{.item = "ITEM1", .qty = 2, .price = 100}}, [](uint8_t *o) {
            RuleRecord customer(CUVc::Number);
            ASSERT_TRUE(OrderCustomerFill(o, customer.record));
            PutText(o, ORVc::PayTerms, 2, "20");
            uint8_t row[OR::Size];
            ASSERT_TRUE(MatrixRowGet(ORVc::Number, 0, o, 0, row));
            PutDec(row, OR::QtyShipped, Dec(2));
            ASSERT_TRUE(MatrixRowPut(ORVc::Number, 0, o, 0, row));
        });
    };
    struct Conversion {
        const char *name;
        int reg;
        uint32_t custAt, dateAt;
        // Makes the document; Made() holds it afterwards.
        std::function<void()> make;
        // What the typed window fills of a new record of the customer.
        std::function<void(uint8_t *)> typedFill;
        // Further fields both must hold alike: the delivery lines.
        uint32_t delivery;
        // The fields the source names itself, with what the made
        // document carries there: the payment terms, and a contract's
        // delivery terms and mode, which its window leaves empty.
        std::vector<std::pair<uint32_t, std::string>> fromSource;
    };
    const std::vector<Conversion> conversions = {
        {"quotation to order", ORVc::Number, ORVc::CustCode, ORVc::OrdDate,
         [this] {
             uint32_t quotation = StoreRecord(QuotationVc::Number, [&](uint8_t *q) {
                 PutU32(q, QuotationVc::SerNr, 8);
                 PutText(q, QuotationVc::CustCode, 20, "CF");
                 RuleRecord customer(CUVc::Number);
                 ASSERT_TRUE(QuotationCustomerFill(q, customer.record));
                 PutText(q, QuotationVc::PayTerms, 2, "20");
                 Rows(QuotationVc::Number, q, {{.item = "ITEM1", .qty = 2, .price = 100}});
             });
             ASSERT_NE(Convert(ConvertQuotationToOrder, ORVc::Number, ORVc::SerNr, quotation), SerialNone);
         },
         [](uint8_t *r) {
             RuleRecord customer(CUVc::Number);
             ASSERT_TRUE(OrderCustomerFill(r, customer.record));
         },
         ORVc::DelAddr0, {{ORVc::PayTerms, "20"}}},
        {"order to invoice", IVVc::Number, IVVc::CustCode, IVVc::InvDate,
         [&] { ASSERT_NE(Convert(ConvertOrderToInvoice, IVVc::Number, IVVc::OrderNr, typedOrder()), SerialNone); },
         [](uint8_t *r) { ASSERT_TRUE(InvoiceCustomerFill(r)); }, IVVc::DelAddr0, {{IVVc::PayTerms, "20"}}},
        {"order to down-payment invoice", IVVc::Number, IVVc::CustCode, IVVc::InvDate,
         [&] {
             ASSERT_NE(Convert(ConvertOrderToDownPayment, IVVc::Number, IVVc::OrderNr, typedOrder()), SerialNone);
         },
         [](uint8_t *r) { ASSERT_TRUE(InvoiceCustomerFill(r)); }, IVVc::DelAddr0, {{IVVc::PayTerms, "20"}}},
        {"generated invoice", IVVc::Number, IVVc::CustCode, IVVc::InvDate,
         [this] {
             lastMade = std::make_unique<RuleRecord>(IVVc::Number);
             RecNewDefaults(IVVc::Number, Made());
             PutDate(Made(), IVVc::InvDate, DateRec{1, 6, 2024});
             ClearGeneratedInvoiceHead(Made());
             PutText(Made(), IVVc::CustCode, 20, "CF");
             ASSERT_TRUE(CopyCustomerToDocument(Made()));
         },
         [](uint8_t *r) { ASSERT_TRUE(InvoiceCustomerFill(r)); }, IVVc::DelAddr0, {{IVVc::PayTerms, "30"}}},
        {"contract to invoice", IVVc::Number, IVVc::CustCode, IVVc::InvDate,
         [this] {
             RuleRecord contract(ContractVc::Number), customer(CUVc::Number);
             RecNewDefaults(ContractVc::Number, contract.record);
             PutText(contract.record, ContractVc::CustCode, 20, "CF");
             ASSERT_TRUE(ContractCustomerFill(contract.record, customer.record));
             PutText(contract.record, ContractVc::PayTerms, 2, "20");
             lastMade = std::make_unique<RuleRecord>(IVVc::Number);
             const DateRec date{1, 6, 2024}, end{30, 6, 2024};
             ContractToInvoice(contract.record, Made(), date, date, end);
         },
         [](uint8_t *r) { ASSERT_TRUE(InvoiceCustomerFill(r)); }, IVVc::DelAddr0,
         {{IVVc::PayTerms, "20"}, {IVVc::DelTerms, ""}, {IVVc::DelMode, ""}}},
    };
    for (const Conversion &c : conversions) {
        SCOPED_TRACE(c.name);
        c.make();
        if (HasFatalFailure()) return;
        RuleRecord typed(c.reg);
        RecNewDefaults(c.reg, typed.record);
        PutDate(typed.record, c.dateAt, GetDate(Made(), c.dateAt));
        PutText(typed.record, c.custAt, 20, "CF");
        c.typedFill(typed.record);
        const std::span<const CustomerCopy> copies = SalesCustomerCopies(c.reg);
        ASSERT_GT(copies.size(), 15u);
        auto text = [](const uint8_t *r, uint32_t at, int length) {
            uint8_t t[256];
            GetPString(r, at, length, t);
            return std::string((const char *)t + 1, t[0]);
        };
        auto named = [&c](uint32_t at) {
            for (const auto &[field, value] : c.fromSource)
                if (field == at) return true;
            return false;
        };
        for (const CustomerCopy &f : copies) {
            if (named(f.to)) continue;
            EXPECT_FALSE(text(typed.record, f.to, f.length).empty()) << "the customer's field at " << f.from;
            EXPECT_EQ(text(Made(), f.to, f.length), text(typed.record, f.to, f.length))
                << "the document's field at " << f.to << " (the customer's at " << f.from << ")";
        }
        for (uint32_t line = 0; line < 4; line++)
            EXPECT_EQ(text(Made(), c.delivery + 62 * line, 60), text(typed.record, c.delivery + 62 * line, 60))
                << "delivery line " << line;
        EXPECT_EQ(text(typed.record, c.delivery + 62, 60), "Dock 1");
        for (const auto &[at, value] : c.fromSource) EXPECT_EQ(text(Made(), at, 5), value) << "the source's field at " << at;
    }
    EXPECT_TRUE(SalesCustomerCopies(SHVc::Number).empty()) << "a delivery is never typed from a customer";
}

}  // namespace
