// invoices_from_orders_test.cpp - routine 13, invoices from the open
// orders: way 1's summary rows (one per order even when account and VAT
// code agree) and item history, way 0's rows in full under a heading per
// order, fully invoiced and closed orders, customers without orders, the
// range and group filters, locked orders, a second run that invoices
// nothing again, a run in which an invoice cannot be numbered (its orders
// keep what they had, so every order row's invoiced quantity equals what
// the invoices carry), a way that does not exist, and the routine run by
// a client's request 30 at the server; way 0's headings stored as text
// rows, and the line each run ends with (what it made and their numbers,
// or why it made nothing).
#include <cstring>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "core/msg_buffer.h"
#include "database/access/record_locks.h"
#include "database/access/remote_calls.h"
#include "database/access/transport.h"
#include "net/net.h"
#include "operations/batch_routines.h"
#include "operations/run_outcome.h"
#include "output/job_queue.h"
#include "output/output_job.h"
#include "rules/hooks.h"
#include "rules/vat_currency.h"
#include "tests/operations/invoice_fixture.h"

namespace {

namespace OR = ORVc::Rows;
namespace IR = IVVc::Rows;

struct OrderLine {
    const char *item = "ITEM1";
    double qty = 1, shipped = 1, invoiced = 0, price = 100;
    const char *vat = "1";
    const char *account = InvoiceCo::Sales;
    double unitCost = 0;
};

// An invoice as read back: its header fields and rows.
struct ReadInvoice {
    uint32_t serial = 0, orderNr = 0;
    uint16_t updStock = 0, posted = 0;
    std::string customer, name;
    double total = 0;
    int check = -2;   // the invoice check when the invoice is saved as made
    std::vector<std::string> texts;
    std::vector<double> sums, quantities;
    std::vector<std::string> items;
    std::vector<uint16_t> kinds;
};

class OrderInvoicing : public InvoiceCompanyFixture {
protected:
    // The job the runs of the test are handed.
    uint8_t selection[ReportParamsSize] = {};
    ReportJob job{selection};
    void SetUp() override
    {
        InvoiceCompanyFixture::SetUp();
        if (HasFatalFailure()) return;
        RulesInstall();
        StoreInvoiceCustomer("C4", "Group Customer");
        ChangeCustomerGroup("C4", "WHOLE");
    }

    void ChangeCustomerGroup(const char *code, const char *group)
    {
        RuleRecord c(CUVc::Number);
        PutText(c.record, CUVc::Code, 20, code);
        uint32_t recid = 0, position = 0;
        ASSERT_TRUE(RecFind(CUVc::Number, c.record, 1, 1, &recid, &position));
        PutText(c.record, CUVc::CustGroup, 5, group);
        ASSERT_TRUE(RecStore(CUVc::Number, c.record, 1, &recid));
    }

    // An open order of customer with its lines stored as they are (state
    // words set as the order window would); its record id.
    uint32_t Order(uint32_t serial, const char *customer, const std::vector<OrderLine> &lines, const char *reference = "",
                   uint16_t open = 1)
    {
        RuleRecord r(ORVc::Number);
        RecNewDefaults(ORVc::Number, r.record);
        PutU32(r.record, ORVc::SerNr, serial);
        PutText(r.record, ORVc::CustCode, 20, customer);
        PutText(r.record, ORVc::Addr0, 60, "Ordering name");
        PutText(r.record, ORVc::Reference, 60, reference);
        PutDate(r.record, ORVc::OrdDate, DateRec{1, 6, 2024});
        for (const OrderLine &l : lines) {
            uint8_t row[OR::Size] = {};
            PutU16(row, OR::Kind, 1);
            PutText(row, OR::ItemCode, 20, l.item);
            PutText(row, OR::Text, 100, l.item);
            PutDec(row, OR::Quantity, Dec(l.qty));
            PutDec(row, OR::QtyDelivered, Dec(l.shipped));
            PutDec(row, OR::QtyShipped, Dec(l.shipped));
            PutDec(row, OR::QtyInvoiced, Dec(l.invoiced));
            PutDec(row, OR::Price, Dec(l.price));
            PutDec(row, OR::Sum, Dec(l.qty * l.price));
            PutDec(row, OR::UnitCost, Dec(l.unitCost));
            PutText(row, OR::VatCode, 2, l.vat);
            PutText(row, OR::SalesAcc, 10, l.account);
            PutText(row, OR::StructCode, 20, "_");
            EXPECT_TRUE(MatrixRowPut(ORVc::Number, 0, r.record, MatrixRowCount(ORVc::Number, 0, r.record), row));
        }
        OrderTotals(r.record);
        PutU16(r.record, ORVc::Open, open);
        PutU16(r.record, ORVc::InvState, 0);
        uint32_t recid = 0;
        EXPECT_TRUE(RecStore(ORVc::Number, r.record, 0, &recid));
        return recid;
    }

    // The invoiced quantities of the order's rows, and its state words.
    static std::vector<double> Invoiced(uint32_t recid, uint16_t *invState = nullptr, uint16_t *open = nullptr)
    {
        RuleRecord r(ORVc::Number);
        std::vector<double> out;
        if (!RecReadById(ORVc::Number, recid, r.record)) return out;
        uint8_t row[OR::Size];
        for (int32_t i = 0; MatrixRowRead(ORVc::Number, r.record, i, row); i++) {
            PackedDecimal q = GetDec(row, OR::QtyInvoiced);
            out.push_back(DecIsBlank(&q) ? 0 : DecToDouble(&q));
        }
        if (invState) *invState = GetU16(r.record, ORVc::InvState);
        if (open) *open = GetU16(r.record, ORVc::Open);
        return out;
    }

    static std::vector<ReadInvoice> Invoices()
    {
        std::vector<ReadInvoice> out;
        RuleRecord r(IVVc::Number);
        uint32_t recid = 0;
        for (int32_t p = 1; RecReadAt(IVVc::Number, p, r.record, &recid); p++) {
            ReadInvoice x;
            x.serial = GetU32(r.record, IVVc::SerNr);
            x.orderNr = GetU32(r.record, IVVc::OrderNr);
            x.updStock = GetU16(r.record, IVVc::UpdStock);
            x.posted = GetU16(r.record, IVVc::Posted);
            x.customer = Text(r.record, IVVc::CustCode, 20);
            x.name = Text(r.record, IVVc::Addr0, 60);
            PackedDecimal t = GetDec(r.record, IVVc::Total);
            x.total = DecIsBlank(&t) ? 0 : DecToDouble(&t);
            const size_t told = shown.size();
            x.check = CheckedAsSaved(IVVc::Number, recid);
            if (x.check == 0) shown.resize(told);
            uint8_t row[IR::Size];
            for (int32_t i = 0; MatrixRowRead(IVVc::Number, r.record, i, row); i++) {
                x.texts.push_back(Text(row, IR::Text, 100));
                x.items.push_back(Text(row, IR::ItemCode, 20));
                x.kinds.push_back(GetU16(row, IR::Kind));
                PackedDecimal s = GetDec(row, IR::Sum), q = GetDec(row, IR::Quantity);
                x.sums.push_back(DecIsBlank(&s) ? 0 : DecToDouble(&s));
                x.quantities.push_back(DecIsBlank(&q) ? 0 : DecToDouble(&q));
            }
            out.push_back(x);
        }
        return out;
    }

    // The history quantities by (order serial, item), and the invoice
    // numbers the history records name.
    static std::map<std::pair<uint32_t, std::string>, double> History(std::vector<uint32_t> *invoices = nullptr)
    {
        std::map<std::pair<uint32_t, std::string>, double> out;
        RuleRecord r(InvHistVc::Number);
        uint32_t recid = 0;
        for (int32_t p = 1; RecReadAt(InvHistVc::Number, p, r.record, &recid); p++) {
            EXPECT_EQ(GetU16(r.record, InvHistVc::RegNr), IVVc::Number);
            if (invoices) invoices->push_back(GetU32(r.record, InvHistVc::InvoiceNr));
            uint8_t row[InvHistVc::Rows::Size];
            for (int32_t i = 0; MatrixRowRead(InvHistVc::Number, r.record, i, row); i++) {
                EXPECT_EQ(GetU16(row, InvHistVc::Rows::Kind), 7);
                PackedDecimal q = GetDec(row, InvHistVc::Rows::Quantity);
                out[{GetU32(row, InvHistVc::Rows::OrderNr), Text(row, InvHistVc::Rows::ItemCode, 20)}] += DecToDouble(&q);
            }
        }
        return out;
    }

    static std::string Text(const uint8_t *base, uint32_t at, int max)
    {
        uint8_t p[256];
        GetPString(base, at, max, p);
        return std::string((const char *)p + 1, p[0]);
    }

    void Select(uint16_t way, const char *customers = "", const char *group = "")
    {
        std::memset(job.selection, 0, ReportParamsSize);
        PutU16(job.selection, ReportParamsVc::ReportNumber, 13);
        PutU16(job.selection, ReportParamsVc::ReportLayout, way);
        PutText(job.selection, ReportParamsVc::SelText1, 255, customers);
        PutText(job.selection, ReportParamsVc::SelText3, 255, group);
    }

    // Only invoice number `last` and those below it are free.
    void InvoiceNumbersUpTo(uint32_t last)
    {
        tableRows[InvSeriesBlk::Number].clear();
        AddSeriesRow(InvSeriesBlk::Number, 1, last);
    }
};

// Two orders whose rows share account and VAT code: way 1 still gives
// one summary row per order, each naming its order (and its reference),
// with what was shipped and not yet invoiced; the history lists it item
// by item under the invoice's number; the orders count it as invoiced.
TEST_F(OrderInvoicing, WayOneGivesASummaryRowPerOrderAndTheHistory)
{
    uint32_t a = Order(501, "C1", {{.item = "ITEM1", .qty = 2, .shipped = 2, .unitCost = 60},
                                   {.item = "ITEM2", .qty = 4, .shipped = 1, .price = 50, .unitCost = 20}});
    uint32_t b = Order(502, "C1", {{.item = "ITEM1", .qty = 3, .shipped = 3, .invoiced = 1}}, "PO-77");
    Select(1);
    ASSERT_TRUE(RunMaintenance(job)) << ::testing::PrintToString(shown);

    std::vector<ReadInvoice> invoices = Invoices();
    ASSERT_EQ(invoices.size(), 1u);
    const ReadInvoice &inv = invoices[0];
    EXPECT_EQ(inv.customer, "C1");
    EXPECT_EQ(inv.name, "Ordering name");
    EXPECT_EQ(inv.orderNr, SerialNone);
    EXPECT_EQ(inv.updStock, 0);
    EXPECT_EQ(inv.posted, 0);
    ASSERT_EQ(inv.texts.size(), 2u);
    EXPECT_EQ(inv.texts[0], UiText(1816) + "501");
    EXPECT_EQ(inv.texts[1], UiText(1816) + "502 / PO-77");
    EXPECT_DOUBLE_EQ(inv.sums[0], 250);   // 2 x 100 + 1 x 50
    EXPECT_DOUBLE_EQ(inv.sums[1], 200);   // 2 left of 3 at 100
    EXPECT_DOUBLE_EQ(inv.total, 450 * 1.25);

    std::vector<uint32_t> named;
    auto history = History(&named);
    ASSERT_EQ(named, std::vector<uint32_t>{inv.serial});
    EXPECT_EQ(history.size(), 3u);
    EXPECT_DOUBLE_EQ((history[{501, "ITEM1"}]), 2);
    EXPECT_DOUBLE_EQ((history[{501, "ITEM2"}]), 1);
    EXPECT_DOUBLE_EQ((history[{502, "ITEM1"}]), 2);

    // Everything shipped is invoiced; the order whose ITEM2 is not all
    // delivered stays open.
    uint16_t state = 9, open = 9;
    EXPECT_EQ(Invoiced(a, &state, &open), (std::vector<double>{2, 1}));
    EXPECT_EQ(state, 2);
    EXPECT_EQ(open, 1);
    EXPECT_EQ(Invoiced(b, &state, &open), (std::vector<double>{3}));
    EXPECT_EQ(state, 2);
    EXPECT_EQ(open, 0);
}

// Way 0 carries each order's rows in full under a blank row and a
// heading; the order rows count exactly what the invoice rows carry, so
// a second run finds nothing left and makes no second invoice.
TEST_F(OrderInvoicing, WayZeroCarriesTheRowsAndASecondRunInvoicesNothing)
{
    uint32_t a = Order(601, "C1", {{.item = "ITEM1", .qty = 5, .shipped = 2}, {.item = "ITEM2", .qty = 1, .shipped = 1, .price = 50}});
    uint32_t b = Order(602, "C1", {{.item = "ITEM2", .qty = 2, .shipped = 2, .price = 50}}, "REF");
    Select(0);
    ASSERT_TRUE(RunMaintenance(job)) << ::testing::PrintToString(shown);

    std::vector<ReadInvoice> invoices = Invoices();
    ASSERT_EQ(invoices.size(), 1u);
    const ReadInvoice &inv = invoices[0];
    EXPECT_EQ(inv.orderNr, SerialNone);
    EXPECT_EQ(inv.updStock, 0);
    ASSERT_EQ(inv.texts.size(), 7u);
    EXPECT_EQ(inv.texts[0], " ");
    EXPECT_EQ(inv.texts[1], UiText(1816) + "601");
    EXPECT_EQ(inv.items[2], "ITEM1");
    EXPECT_DOUBLE_EQ(inv.quantities[2], 2);
    EXPECT_EQ(inv.items[3], "ITEM2");
    EXPECT_EQ(inv.texts[5], UiText(1816) + "602 / REF");
    EXPECT_DOUBLE_EQ(inv.quantities[6], 2);
    // The blank line and the heading of each order are text rows; the
    // order's own rows stay item rows.
    for (size_t i : {0u, 1u, 4u, 5u}) EXPECT_EQ(inv.kinds[i], 3) << i;
    for (size_t i : {2u, 3u, 6u}) EXPECT_EQ(inv.kinds[i], 1) << i;
    EXPECT_DOUBLE_EQ(inv.total, (200 + 50 + 100) * 1.25);
    EXPECT_EQ(inv.check, 0) << "saved as made, the invoice passes its own check; told "
                            << ::testing::PrintToString(shown);
    EXPECT_TRUE(History().empty());   // way 0 keeps no item history

    EXPECT_EQ(Invoiced(a), (std::vector<double>{2, 1}));
    EXPECT_EQ(Invoiced(b), (std::vector<double>{2}));

    ASSERT_TRUE(RunMaintenance(job));
    EXPECT_EQ(Invoices().size(), 1u);
    EXPECT_EQ(Invoiced(a), (std::vector<double>{2, 1}));
    Select(1);
    ASSERT_TRUE(RunMaintenance(job));
    EXPECT_EQ(Invoices().size(), 1u);
    EXPECT_EQ(Invoiced(a), (std::vector<double>{2, 1}));
}

// An order that names another customer to invoice: way 1's invoice goes
// to that customer, with its name, and keeps the ordering customer for
// the statistics; an invoice customer that does not exist is passed by.
TEST_F(OrderInvoicing, WayOneInvoicesTheCustomerTheOrderNames)
{
    uint32_t a = Order(631, "C1", {{.qty = 1, .shipped = 1}});
    uint32_t b = Order(632, "C4", {{.qty = 1, .shipped = 1}});
    for (auto [recid, to] : {std::pair{a, "C3"}, std::pair{b, "NOSUCH"}}) {
        RuleRecord r(ORVc::Number);
        ASSERT_TRUE(RecReadById(ORVc::Number, recid, r.record));
        PutText(r.record, ORVc::InvoiceTo, 20, to);
        uint32_t id = recid;
        ASSERT_TRUE(RecStore(ORVc::Number, r.record, 1, &id));
    }
    Select(1);
    ASSERT_TRUE(RunMaintenance(job)) << ::testing::PrintToString(shown);
    std::vector<ReadInvoice> invoices = Invoices();
    ASSERT_EQ(invoices.size(), 2u);
    EXPECT_EQ(invoices[0].customer, "C3");
    EXPECT_EQ(invoices[0].name, "Small Customer");
    EXPECT_EQ(invoices[1].customer, "C4");
    EXPECT_EQ(invoices[1].name, "Ordering name");
    RuleRecord inv(IVVc::Number);
    uint32_t recid = 0;
    ASSERT_TRUE(RecReadAt(IVVc::Number, 1, inv.record, &recid));
    EXPECT_EQ(Text(inv.record, IVVc::StatCustCode, 20), "C1");
}

// Way 0 deducts an order's down payment once: the order keeps it as
// deducted, so the invoice of a later shipment deducts nothing again.
TEST_F(OrderInvoicing, WayZeroDeductsADownPaymentOnce)
{
    uint32_t a = Order(650, "C1", {{.item = "ITEM1", .qty = 4, .shipped = 2}});
    {
        RuleRecord r(ORVc::Number);
        ASSERT_TRUE(RecReadById(ORVc::Number, a, r.record));
        PutDec(r.record, ORVc::DownPayInv, Dec(80));
        uint32_t id = a;
        ASSERT_TRUE(RecStore(ORVc::Number, r.record, 1, &id));
    }
    Select(0);
    ASSERT_TRUE(RunMaintenance(job)) << ::testing::PrintToString(shown);
    RuleRecord r(ORVc::Number);
    ASSERT_TRUE(RecReadById(ORVc::Number, a, r.record));
    PackedDecimal deducted = GetDec(r.record, ORVc::DownPayDed);
    EXPECT_DOUBLE_EQ(DecToDouble(&deducted), 80);

    // Two more shipped: the second invoice carries them, no deduction.
    uint8_t row[OR::Size];
    ASSERT_TRUE(MatrixRowRead(ORVc::Number, r.record, 0, row));
    PutDec(row, OR::QtyShipped, Dec(4));
    PutDec(row, OR::QtyDelivered, Dec(4));
    ASSERT_TRUE(MatrixRowPut(ORVc::Number, 0, r.record, 0, row));
    PutU16(r.record, ORVc::InvState, 0);
    uint32_t id = a;
    ASSERT_TRUE(RecStore(ORVc::Number, r.record, 1, &id));
    ASSERT_TRUE(RunMaintenance(job));
    std::vector<ReadInvoice> invoices = Invoices();
    ASSERT_EQ(invoices.size(), 2u);
    double deductions[2] = {0, 0};
    for (int n = 0; n < 2; n++)
        for (double sum : invoices[n].sums)
            if (sum < 0) deductions[n] += sum;
    EXPECT_DOUBLE_EQ(deductions[0], -80);
    EXPECT_DOUBLE_EQ(deductions[1], 0);
    EXPECT_EQ(Invoiced(a), std::vector<double>{4});
}

// An order with nothing left to invoice adds no rows, in either way, but
// is marked and stored: its state says it is invoiced.
TEST_F(OrderInvoicing, AFullyInvoicedOrderAddsNoRowsButIsMarked)
{
    for (uint16_t way : {0, 1}) {
        SCOPED_TRACE(way);
        uint32_t done = Order(700 + way, "C1", {{.item = "ITEM1", .qty = 2, .shipped = 2, .invoiced = 2}});
        Select(way);
        ASSERT_TRUE(RunMaintenance(job));
        EXPECT_TRUE(Invoices().empty());
        uint16_t state = 0, open = 9;
        EXPECT_EQ(Invoiced(done, &state, &open), (std::vector<double>{2}));
        EXPECT_EQ(state, 2);
        EXPECT_EQ(open, 0);
    }
}

// Customers without open orders, closed orders, orders with nothing
// shipped, customers outside the range or the group and orders held by
// another user get no invoice and keep their orders as they were.
TEST_F(OrderInvoicing, OnlyTheSelectedCustomersOpenFreeOrdersAreInvoiced)
{
    uint32_t closed = Order(801, "C1", {{.qty = 1, .shipped = 1}}, "", 0);
    uint32_t other = Order(802, "C3", {{.qty = 1, .shipped = 1}});
    uint32_t grouped = Order(803, "C4", {{.qty = 1, .shipped = 1}});
    Select(1, "C1:C2");
    ASSERT_TRUE(RunMaintenance(job));
    EXPECT_TRUE(Invoices().empty());
    EXPECT_EQ(Invoiced(closed), std::vector<double>{0});
    EXPECT_EQ(Invoiced(other), std::vector<double>{0});

    Select(0, "", "OTHER");
    ASSERT_TRUE(RunMaintenance(job));
    EXPECT_TRUE(Invoices().empty());

    ASSERT_TRUE(RecordLockAdd(99, ORVc::Number, grouped));
    Select(0, "", "WHOLE");
    ASSERT_TRUE(RunMaintenance(job));
    EXPECT_TRUE(Invoices().empty());
    EXPECT_EQ(Invoiced(grouped), std::vector<double>{0});
    ASSERT_TRUE(RecordUnlock(99, ORVc::Number, grouped));
    ASSERT_TRUE(RunMaintenance(job));
    std::vector<ReadInvoice> invoices = Invoices();
    ASSERT_EQ(invoices.size(), 1u);
    EXPECT_EQ(invoices[0].customer, "C4");
    EXPECT_EQ(Invoiced(grouped), std::vector<double>{1});
    EXPECT_EQ(Invoiced(other), std::vector<double>{0});
}

// Only one invoice number is left: the first customer's invoice is
// stored, the second's cannot be numbered, the run stops and says so,
// and the second customer's orders keep what they had. After it every
// order row's invoiced quantity is what the stored invoices carry.
TEST_F(OrderInvoicing, AnInvoiceThatCannotBeNumberedLeavesItsOrdersAsTheyWere)
{
    for (uint16_t way : {0, 1}) {
        SCOPED_TRACE(way);
        InvoiceNumbersUpTo(way + 1);
        uint32_t first = 900 + 10 * way;
        uint32_t a = Order(first, "C1", {{.item = "ITEM1", .qty = 2, .shipped = 2}});
        uint32_t b = Order(first + 1, "C3", {{.item = "ITEM2", .qty = 3, .shipped = 3, .price = 50}});
        shown.clear();
        Select(way);
        EXPECT_FALSE(RunMaintenance(job));
        EXPECT_TRUE(WasShown(12551));

        std::vector<ReadInvoice> invoices = Invoices();
        ASSERT_EQ(invoices.size(), size_t(way + 1));
        EXPECT_EQ(invoices.back().customer, "C1");
        EXPECT_EQ(invoices.back().serial, uint32_t(way + 1));
        EXPECT_EQ(Invoiced(a), std::vector<double>{2});
        EXPECT_EQ(Invoiced(b), std::vector<double>{0});
        uint16_t state = 9;
        Invoiced(b, &state);
        EXPECT_EQ(state, 0);
        if (way == 1) {
            auto history = History();
            EXPECT_EQ(history.size(), 1u);
            EXPECT_DOUBLE_EQ((history[{first, "ITEM1"}]), 2);
            EXPECT_EQ(history.count({first + 1, "ITEM2"}), 0u);
        }
        // Closing the first customer's order keeps it out of the next
        // way's run.
        RuleRecord r(ORVc::Number);
        ASSERT_TRUE(RecReadById(ORVc::Number, b, r.record));
        PutU16(r.record, ORVc::Open, 0);
        uint32_t id = b;
        ASSERT_TRUE(RecStore(ORVc::Number, r.record, 1, &id));
    }
}

// The status-line hook of the run's closing line, for the test below.
std::vector<std::string> ClosingLines;
void KeepClosingLine(const uint8_t *text) { ClosingLines.emplace_back(reinterpret_cast<const char *>(text + 1), text[0]); }

// A run ends with one line of what it made (the invoices and the orders
// they invoice, with the invoices' numbers); a run that makes nothing says
// why, in a message box too.
TEST_F(OrderInvoicing, EachRunSaysWhatItMadeOrWhyNothing)
{
    const RunOutcomeUiRec saved = RunOutcomeUi;
    RunOutcomeUi = RunOutcomeUiRec{};
    RunOutcomeUi.status = KeepClosingLine;
    ClosingLines.clear();
    Order(1201, "C1", {{.item = "ITEM1", .qty = 2, .shipped = 2}});
    Order(1202, "C1", {{.item = "ITEM2", .qty = 1, .shipped = 1, .price = 50}});
    Order(1203, "C3", {{.item = "ITEM2", .qty = 1, .shipped = 1, .price = 50}});
    Select(0);
    shown.clear();
    ASSERT_TRUE(RunMaintenance(job)) << ::testing::PrintToString(shown);
    std::vector<ReadInvoice> invoices = Invoices();
    ASSERT_EQ(invoices.size(), 2u);
    ASSERT_EQ(ClosingLines.size(), 1u);
    EXPECT_EQ(ClosingLines[0], "2 invoices made, 3 orders invoiced, numbers " + std::to_string(invoices[0].serial) +
                                   "-" + std::to_string(invoices[1].serial));
    EXPECT_TRUE(shown.empty()) << ::testing::PrintToString(shown);
    ASSERT_TRUE(RunMaintenance(job));
    ASSERT_EQ(ClosingLines.size(), 2u);
    EXPECT_EQ(ClosingLines[1], UiText(Texts::RunNothingInvoiced) + UiText(Texts::RunWhyNothingLeft));
    EXPECT_FALSE(shown.empty());
    Select(0, "X1:X9");
    ASSERT_TRUE(RunMaintenance(job));
    EXPECT_EQ(ClosingLines.back(), UiText(Texts::RunNothingInvoiced) + UiText(Texts::RunWhyNoCustomer));
    RunOutcomeUi = saved;
}

// A way other than 0 and 1 makes nothing and says why.
TEST_F(OrderInvoicing, AnUnknownWayMakesNothing)
{
    uint32_t a = Order(1001, "C1", {{.qty = 1, .shipped = 1}});
    Select(2);
    EXPECT_FALSE(RunMaintenance(job));
    EXPECT_TRUE(WasShown(12553));
    EXPECT_TRUE(Invoices().empty());
    EXPECT_EQ(Invoiced(a), std::vector<double>{0});
}

// The summary row of an account and VAT code is found again; another
// pair gets a new empty row at the end.
TEST_F(OrderInvoicing, RowMatchFindsTheAccountAndVatCodePair)
{
    RuleRecord inv(IVVc::Number);
    RecNewDefaults(IVVc::Number, inv.record);
    uint8_t o[OR::Size] = {};
    PutText(o, OR::VatCode, 2, "1");
    PutText(o, OR::SalesAcc, 10, "3000");
    ASSERT_EQ(InvoiceRowMatch(inv.record, o), 0);
    uint8_t row[IR::Size];
    ASSERT_TRUE(MatrixRowRead(IVVc::Number, inv.record, 0, row));
    EXPECT_EQ(GetU16(row, IR::Kind), 1);
    PutText(row, IR::VatCode, 2, "1");
    PutText(row, IR::SalesAcc, 10, "3000");
    ASSERT_TRUE(MatrixRowPut(IVVc::Number, 0, inv.record, 0, row));
    EXPECT_EQ(InvoiceRowMatch(inv.record, o), 0);
    PutText(o, OR::VatCode, 2, "2");
    EXPECT_EQ(InvoiceRowMatch(inv.record, o), 1);
    PutText(o, OR::VatCode, 2, "1");
    PutText(o, OR::SalesAcc, 10, "3001");
    EXPECT_EQ(InvoiceRowMatch(inv.record, o), 2);
    EXPECT_EQ(MatrixRowCount(IVVc::Number, 0, inv.record), 3);
}

// Serves a request at the server's dispatch in this process, on the same
// company, as a server would for a client.
bool ServeHere(uint16_t code, MsgBuffer *request, MsgBuffer *reply)
{
    RunMode = 0;
    MsgReset(reply);
    bool served = ServerDispatch(code, request, reply);
    RunMode = RunModeClient;
    return served;
}

// A client's request 30 runs routine 13 at the server and makes the
// records a local run makes.
TEST_F(OrderInvoicing, AClientsRequestMakesWhatALocalRunMakes)
{
    uint32_t a = Order(1101, "C1", {{.item = "ITEM1", .qty = 2, .shipped = 2}});
    Select(1);
    RunMode = RunModeClient;
    TransportInstall(ServeHere, ServeHere);
    EXPECT_TRUE(RunMaintenanceCall(job));   // the client sends its job whole
    TransportInstall(nullptr, nullptr);
    RunMode = 0;
    OutputRunServices = OutputRunServicesRec{};
    std::vector<ReadInvoice> invoices = Invoices();
    ASSERT_EQ(invoices.size(), 1u);
    ASSERT_EQ(invoices[0].texts.size(), 1u);
    EXPECT_DOUBLE_EQ(invoices[0].sums[0], 200);
    EXPECT_EQ(History().size(), 1u);
    EXPECT_EQ(Invoiced(a), std::vector<double>{2});
}

}  // namespace
