// stock_reports_test.cpp - the item and stock reports over the stock
// history of stock_report_fixture.h: the stock value (8) in each layout
// and its values against the FIFO valuation, the price, stock-position
// and item lists (10, 11, 12, 77), the items their components allow (80)
// with a structure that contains itself, the item and serial-number
// histories (73, 84), the stock routines they share, a selection that
// takes nothing and Esc mid-run.
#include <cmath>
#include <sstream>

#include "operations/stock_docs.h"
#include "platform/queue.h"
#include "reports/sales/sales_reports.h"
#include "reports/stock/stock_reports.h"
#include "rules/stock.h"
#include "tests/output/output_recorder.h"
#include "tests/output/test_job.h"
#include "tests/reports/stock/stock_report_fixture.h"

namespace {

namespace P = ReportParamsVc;

class StockReportsTest : public StockReportFixture {
protected:
    void SetUp() override {
        StockReportFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreStockHistory();
    }
    // A new job record for report `number`.
    static void Params(int number, uint16_t layout = 0) {
        ResetParams();
        SetWord(P::ReportNumber, uint16_t(number));
        SetWord(P::ReportLayout, layout);
    }
    // The fields of the text-file line that starts with code.
    static std::vector<std::string> LineOf(const std::string &text, const std::string &code) {
        std::istringstream in(text);
        std::string line;
        while (std::getline(in, line)) {
            if (line.rfind(code + "\t", 0) != 0) continue;
            std::vector<std::string> fields;
            std::istringstream f(line);
            std::string x;
            while (std::getline(f, x, '\t')) fields.push_back(x);
            return fields;
        }
        return {};
    }
    // An amount as the text file writes it ("1234,50") as a number.
    static double Number(std::string s) {
        for (char &c : s)
            if (c == ',') c = '.';
        return std::stod(s);
    }
    static double Fifo(const char *item, const char *location, double qty, const DateRec *limit = nullptr) {
        uint8_t code[256], at[256];
        PStringFromC(code, item);
        PStringFromC(at, location);
        PackedDecimal q = Dec(qty), value;
        StockFifoValue(code, at, &q, &value, false, false, limit);
        return DecToDouble(&value);
    }
    static double InStock(const char *item, const char *location) {
        uint8_t code[256], at[256];
        PStringFromC(code, item);
        PStringFromC(at, location);
        PackedDecimal q;
        StockQtyAtDate(code, at, &q, nullptr);
        return DecToDouble(&q);
    }
};

// Report 8 in its three layouts, at the sales price, by group, one
// location with its empty items left out, the serial numbers, and the
// stock on a date before the last receipt.
TEST_F(StockReportsTest, StockValueByLayout) {
    const struct {
        const char *golden;
        uint16_t layout, order, salesPrice, serials, skipEmpty;
        const char *location, *range;
        DateRec date;
    } runs[] = {
        {"report8_layout0", 0, 0, 0, 0, 0, "", "", {}},
        {"report8_layout1", 1, 0, 0, 1, 0, "", "", {}},
        {"report8_layout2_shop", 2, 0, 0, 0, 0, "SHOP", "", {}},
        {"report8_layout2_all", 2, 0, 0, 0, 0, "", "ITEM1:ITEM2", {}},
        {"report8_sales_price", 0, 1, 1, 0, 0, "", "", {}},
        {"report8_shop_only", 0, 0, 0, 0, 1, "SHOP", "", {}},
        {"report8_february", 1, 0, 0, 0, 0, "", "ITEM1:ITEM2", {28, 2, 2024}},
        {"report8_nothing", 0, 0, 0, 0, 0, "", "X1:X9", {}},
    };
    for (const auto &r : runs) {
        SCOPED_TRACE(r.golden);
        Params(8, r.layout);
        SetWord(P::Option3, r.order);
        SetWord(P::Option12, r.salesPrice);
        SetWord(P::Option11, r.serials);
        SetWord(P::RangeKind, r.skipEmpty);
        SetText(P::SelText2, r.location);
        SetText(P::SelText1, r.range);
        PutDate(TestJob, P::Date2From, r.date);
        ExpectGolden(r.golden, RunText(ItemReport8));
    }
}

// Each line of report 8 carries the value the FIFO valuation gives for
// the item's quantity, and the total is their sum; on a stock date the
// later receipts are passed over.
TEST_F(StockReportsTest, StockValueIsTheFifoValue) {
    for (DateRec date : {DateRec{}, DateRec{28, 2, 2024}}) {
        SCOPED_TRACE(date.year);
        Params(8);
        PutDate(TestJob, P::Date2From, date);
        const std::string text = RunText(ItemReport8);
        double sum = 0;
        for (const char *item : {"ITEM1", "ITEM2", "SER1"}) {
            std::vector<std::string> f = LineOf(text, item);
            ASSERT_EQ(f.size(), 6u) << item << "\n" << text;   // five fields, then the line's end
            const double qty = Number(f[2]), value = Number(f[4]);
            sum += value;
            if (qty <= 0) {
                EXPECT_EQ(value, 0) << item << ": no stock is worth nothing";
                continue;
            }
            EXPECT_NEAR(value, Fifo(item, "", qty, date.year ? &date : nullptr), 0.005) << item;
            EXPECT_NEAR(Number(f[3]), value / qty, 0.005) << item;
        }
        EXPECT_TRUE(LineOf(text, "SERVICE").empty()) << "an item not stocked is left out";
        // The closing line: the quantity and the value summed.
        std::istringstream in(text);
        std::string line, last;
        while (std::getline(in, line))
            if (line.find_first_not_of("\t\r") != std::string::npos) last = line;
        const size_t tab = last.find('\t');
        ASSERT_NE(tab, std::string::npos) << last;
        EXPECT_NEAR(Number(last.substr(tab + 1, last.find('\t', tab + 1) - tab - 1)), sum, 0.005) << last;
    }
    // A location that holds the whole stock is worth the whole FIFO value
    // in the location layout, not a cent less.
    Params(8, 2);
    SetText(P::SelText1, "ITEM1");
    SetText(P::SelText2, "MAIN");
    const std::string text = RunText(ItemReport8);
    std::istringstream lines(text);
    std::string line, values;
    while (std::getline(lines, line))
        if (values.empty() && line.rfind("114\t", 0) == 0) values = line;   // the item's line, not the total
    ASSERT_NE(values, "") << text;
    std::vector<std::string> f = LineOf("x\t" + values, "x");
    ASSERT_GE(f.size(), 4u) << values;
    EXPECT_NEAR(Number(f[3]), Fifo("ITEM1", "", 114), 0.005) << text;

    // The receipts make the value: ITEM1's newest 20 at 65, the rest at 55.
    const double qty = InStock("ITEM1", "");
    EXPECT_NEAR(Fifo("ITEM1", "", qty), 20 * 65 + (qty - 20) * 55, 0.005);
}

// Reports 10, 11, 12 and 77: prices with and without VAT, the margins,
// one price list (items without a row left out), the stock position with
// the quantity to order (77 only items a supplier supplies, one supplier
// named), and the item list.
TEST_F(StockReportsTest, PriceStockAndItemLists) {
    const struct {
        const char *golden;
        int number, mode;
        uint16_t option2, option4;
        const char *selText2;
    } runs[] = {
        {"report10_prices", 10, 0, 0, 0, ""},     {"report10_margins", 10, 0, 0, 1, ""},
        {"report10_price_list", 10, 0, 0, 0, "PL"}, {"report11_position", 11, 2, 0, 0, ""},
        {"report11_skip_empty", 11, 2, 0, 1, ""}, {"report77_suppliers", 77, 2, 0, 0, ""},
        {"report77_one_supplier", 77, 2, 1, 0, "V1"}, {"report12_list", 12, 3, 0, 0, ""},
    };
    for (const auto &r : runs) {
        SCOPED_TRACE(r.golden);
        Params(r.number);
        SetWord(P::Option2, r.option2);
        SetWord(P::Option4, r.option4);
        SetText(P::SelText2, r.selText2);
        static int mode;
        mode = r.mode;
        ExpectGolden(r.golden, RunText(+[] { OverTestJobArg<ItemPriceReport>(mode); }));
    }
    // 77 leaves out the item without a supplier that 11 lists.
    Params(11);
    EXPECT_FALSE(LineOf(RunText(+[] { OverTestJobArg<ItemPriceReport>(2); }), "SER1").empty());
    Params(77);
    EXPECT_TRUE(LineOf(RunText(+[] { OverTestJobArg<ItemPriceReport>(2); }), "SER1").empty());
    // ITEM1: 116 on hand against no minimum: nothing to order; the
    // supplier's minimum raises a need only when there is one.
    Params(10);
    SetText(P::SelText2, "PL");
    EXPECT_TRUE(LineOf(RunText(+[] { OverTestJobArg<ItemPriceReport>(0); }), "ITEM2").empty());
}

// Report 80 with one line per item and with the components; a structure
// that holds itself through another ends its scan and still prints.
TEST_F(StockReportsTest, ItemsFromComponents) {
    for (uint16_t layout : {0, 1}) {
        for (uint16_t explode : {0, 1}) {
            const std::string golden = "report80_layout" + std::to_string(layout) + (explode ? "_explode" : "");
            SCOPED_TRACE(golden);
            Params(80, layout);
            SetWord(P::Option2, explode);
            ExpectGolden(golden, RunText(ItemQtyReport));
        }
    }
    uint8_t code[256];
    PStringFromC(code, "LOOP");
    PackedDecimal made;
    RecipeComponentScan(code, 1, &made, nullptr, 0, 1);
    EXPECT_TRUE(DecIsZero(&made));   // the loop's only stock is ITEM1's, but LOOP itself is never in stock
    PStringFromC(code, "KIT");
    RecipeComponentScan(code, 1, &made, nullptr, 0, 0);
    const double item1 = InStock("ITEM1", ""), item2 = InStock("ITEM2", "");
    EXPECT_EQ(DecToDouble(&made), std::min(std::floor(item1 / 2), std::floor(item2)));
}

// The quantity per unit of a component in a structure; blank for an item
// without structure, a component not in it, and an unknown item.
TEST_F(StockReportsTest, StructureComponentQuantity) {
    const struct {
        const char *structure, *component;
        double want;   // -1: blank
    } cases[] = {{"KIT", "ITEM1", 2}, {"KIT", "ITEM2", 1}, {"KIT", "SER1", -1},
                 {"ITEM1", "ITEM2", -1}, {"NOSUCH", "ITEM1", -1}, {"LOOP", "LOOPB", 1}};
    for (const auto &c : cases) {
        uint8_t s[256], k[256];
        PStringFromC(s, c.structure);
        PStringFromC(k, c.component);
        PackedDecimal q = Dec(99);
        StructureComponentQty(s, k, &q);
        if (c.want < 0) EXPECT_TRUE(DecIsBlank(&q)) << c.structure << "/" << c.component;
        else EXPECT_EQ(DecToDouble(&q), c.want) << c.structure << "/" << c.component;
    }
}

// Report 73 in both layouts, one location, only the deliveries, and a
// period that ends before the movements; report 84 for every unit and
// for one.
TEST_F(StockReportsTest, ItemAndSerialHistories) {
    const struct {
        const char *golden;
        uint16_t layout, invoices, deliveries, purchases, moves, productions;
        const char *location, *range;
        DateRec to;
    } runs[] = {
        {"report73_quantities", 0, 1, 1, 1, 1, 1, "", "", {}},
        {"report73_values", 1, 1, 1, 1, 1, 1, "", "", {}},
        {"report73_shop", 0, 1, 1, 1, 1, 1, "SHOP", "", {}},
        {"report73_deliveries", 0, 0, 1, 0, 0, 0, "", "ITEM1", {}},
        {"report73_february", 0, 1, 1, 1, 1, 1, "", "ITEM1:ITEM2", {29, 2, 2024}},
    };
    for (const auto &r : runs) {
        SCOPED_TRACE(r.golden);
        Params(73, r.layout);
        SetWord(P::Option2, r.invoices);
        SetWord(P::Option3, r.deliveries);
        SetWord(P::Option4, r.purchases);
        SetWord(P::Option5, r.moves);
        SetWord(P::Option6, r.productions);
        SetText(P::SelText8, r.location);
        SetText(P::SelText1, r.range);
        PutDate(TestJob, P::DateTo, r.to);
        ExpectGolden(r.golden, RunText(StockHistoryReport));
    }
    Params(84);
    ExpectGolden("report84_all", RunText(SerialNumberHistoryReport));
    Params(84);
    SetText(P::SelText2, "A2");
    ExpectGolden("report84_one_unit", RunText(SerialNumberHistoryReport));
}

// An item with no history still prints its heading and an empty total;
// a selection of no item prints the headings alone.
TEST_F(StockReportsTest, HistoryOfNothing) {
    Params(73);
    SetText(P::SelText1, "LOOP");
    const std::string text = RunText(StockHistoryReport);
    EXPECT_FALSE(LineOf(text, "LOOP").empty()) << text;
    EXPECT_EQ(text.find("ITEM1"), std::string::npos) << text;
    ExpectGolden("report73_no_history", text);
    Params(73);
    SetText(P::SelText1, "X1:X9");
    ExpectGolden("report73_nothing", RunText(StockHistoryReport));
}

// The stock of an item over its locations (a line per location with
// stock) or at one, taken back to a date; the order tests the order
// reports ask.
TEST_F(StockReportsTest, StockRoutines) {
    uint8_t code[256], all[1] = {0}, shop[256], totals[LSVc::Size];
    PStringFromC(code, "ITEM2");
    PStringFromC(shop, "SHOP");
    ResetParams();
    SetWord(P::ReportNumber, 8);
    ItemStockTotals(code, all, totals, nullptr);
    PackedDecimal q = GetDec(totals, LSVc::InStock);
    EXPECT_EQ(DecToDouble(&q), InStock("ITEM2", "MAIN") + 10);
    ItemStockTotals(code, shop, totals, nullptr);
    q = GetDec(totals, LSVc::InStock);
    EXPECT_EQ(DecToDouble(&q), 10);
    const DateRec before{1, 3, 2024};
    ItemStockTotals(code, shop, totals, &before);
    q = GetDec(totals, LSVc::InStock);
    EXPECT_EQ(DecToDouble(&q), 0) << "the shop's receipt came after the date";
    PStringFromC(code, "NOSUCH");
    ItemStockTotals(code, all, totals, nullptr);
    q = GetDec(totals, LSVc::InStock);
    EXPECT_TRUE(DecIsZero(&q));

    RuleRecord order(ORVc::Number);
    PutU32(order.record, ORVc::SerNr, 1);
    uint32_t recid = 0, position = 0;
    ASSERT_TRUE(RecFind(ORVc::Number, order.record, 1, 1, &recid, &position));
    EXPECT_TRUE(OrderRowsInStock(order.record));
    EXPECT_FALSE(OrderHasOpenRows(order.record));
    uint8_t row[ORVc::Rows::Size];
    ASSERT_TRUE(MatrixRowRead(ORVc::Number, order.record, 0, row));
    PutDec(row, ORVc::Rows::Quantity, Dec(500));
    PutDec(row, ORVc::Rows::QtyShipped, Dec(3));
    PutDec(row, ORVc::Rows::QtyInvoiced, Dec(2));
    ASSERT_TRUE(MatrixRowPut(ORVc::Number, 0, order.record, 0, row));
    EXPECT_FALSE(OrderRowsInStock(order.record)) << "500 ordered, fewer in stock";
    EXPECT_TRUE(OrderHasOpenRows(order.record)) << "3 shipped, 2 invoiced";
}

// In group order each group has its heading between rules, the first
// without a rule above it.
TEST_F(StockReportsTest, GroupHeadingsInGroupOrder) {
    const RepDevice *saved = RepDeviceInstall(OutPreview, &RecorderDevice);
    Params(12);
    SetWord(P::OutputKind, OutPreview);
    SetWord(P::Option3, 1);
    RecLog.clear();
    OverTestJobArg<ItemPriceReport>(3);
    RepDeviceInstall(OutPreview, saved);
    std::vector<std::string> seen;   // group texts and rules in order
    for (const RecCall &call : RecLog) {
        if (call.name == "ruleFull") seen.push_back("rule");
        if (call.name == "text" && call.args[0] == 20) seen.push_back(call.text);
    }
    EXPECT_EQ(seen, (std::vector<std::string>{"G1", "rule", "rule", "G2", "rule", "rule"}));
}

// Lines started in the Esc test's job; the fourth posts Esc, as a user
// pressing it while the first item prints.
int LinesStarted = 0;

const RepDevice EscDevice = [] {
    RepDevice d = RecorderDevice;
    d.lineStart = [] {
        RecorderDevice.lineStart();
        if (++LinesStarted == 2) {
            EXPECT_TRUE(MsgPost(0, PlMsg::KeyDown, PlKey::Escape, 0));
        }
    };
    return d;
}();

// Esc while the first item prints: the job ends stopped, no later item
// is reached, report 8 prints no total.
TEST_F(StockReportsTest, EscStopsAfterTheItemAtHand) {
    const RepDevice *saved = RepDeviceInstall(OutPreview, &EscDevice);
    const struct {
        int number;
        void (*body)();
    } runs[] = {{8, OverTestJob<ItemReport8>}, {73, OverTestJob<StockHistoryReport>}, {80, OverTestJob<ItemQtyReport>}, {10, +[] { OverTestJobArg<ItemPriceReport>(0); }}};
    for (const auto &r : runs) {
        SCOPED_TRACE(r.number);
        Params(r.number);
        SetWord(P::OutputKind, OutPreview);
        SetWord(P::Option2, 1);
        SetWord(P::Option3, 1);
        SetWord(P::Option4, 1);
        RecLog.clear();
        LinesStarted = 0;
        CancelFlag = 0;
        r.body();
        ASSERT_FALSE(RecLog.empty());
        EXPECT_EQ(RecLog.back().name, "end");
        EXPECT_EQ(RepStopped, 1);
        for (const RecCall &call : RecLog) {
            EXPECT_NE(call.text, "ITEM2");
            EXPECT_NE(call.text, "Red widget");
        }
    }
    RepDeviceInstall(OutPreview, saved);
}

}  // namespace
