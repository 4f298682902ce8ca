// selective_exports_test.cpp - the row and item exports for other systems
// over one company of 2023 and 2024: order rows (kind 18) and purchase
// order rows (kind 33), customer sales per item (kind 27) and the item
// information section (kind 31) against golden files, then their filters,
// layouts and walks, and a reversed date range refused.
#include "tests/exchange/exchange_fixture.h"
#include "tests/exchange/test_job_export.h"

#include <array>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "core/decimal.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "exchange/selective_exports.h"
#include "rules/ledger.h"
#include "tests/output/test_job.h"

namespace {

struct RowSpec {
    const char *item;
    double quantity, done;
    const char *text;
};

class SelectiveExports : public ExchangeFixture {
protected:
    static void Put(uint8_t *r, uint32_t at, int max, const char *s)
    {
        PString p;
        PStringFromC(p, s);
        PutPString(r, at, max, p);
    }
    static PackedDecimal Dec(double x)
    {
        PackedDecimal d;
        DecFromDouble(&d, x);
        return d;
    }
    static void Store(int reg, uint8_t *r)
    {
        uint32_t id = 0;
        ASSERT_TRUE(RecStoreByKey(reg, r, 0, &id));
    }
    static void Item(const char *code, const char *name, const char *group, const char *ruv)
    {
        MemBlock h = 0;
        uint8_t *r = RecBufferNew(INVc::Number, &h);
        Put(r, INVc::Code, 20, code);
        Put(r, INVc::Name, 60, name);
        Put(r, INVc::Group, 5, group);
        Put(r, INVc::Unit, 10, "pcs");
        PutDec(r, INVc::BasePrice, Dec(99.5));
        PutDec(r, INVc::CostPrice, Dec(40));
        PutDate(r, INVc::PriceDate, DateRec{2, 1, 2023});
        Put(r, INVc::VatCode, 2, "1");
        if (ruv[0] != 0) {
            uint8_t row[INVc::Rows::Size] = {};
            Put(row, INVc::Rows::LangCode, 5, "RUV");
            Put(row, INVc::Rows::Text, 60, ruv);
            ASSERT_TRUE(MatrixRowInsert(INVc::Number, r, 0, row));
        }
        Store(INVc::Number, r);
        RecFreeMatrix(INVc::Number, r);
        RecBufferFree(INVc::Number, &h);
    }
    static void Customer(const char *code, const char *name)
    {
        uint8_t r[CUVc::Size] = {};
        Put(r, CUVc::Code, 20, code);
        Put(r, CUVc::Name, 60, name);
        Store(CUVc::Number, r);
    }
    static void Order(int32_t nr, const char *cust, DateRec date, const char *cls, std::vector<RowSpec> rows)
    {
        MemBlock h = 0;
        uint8_t *r = RecBufferNew(ORVc::Number, &h);
        PutI32(r, ORVc::SerNr, nr);
        Put(r, ORVc::CustCode, 20, cust);
        Put(r, ORVc::Addr0, 60, (std::string("Name of ") + cust).c_str());
        PutDate(r, ORVc::OrdDate, date);
        Put(r, ORVc::OrderClass, 5, cls);
        Put(r, ORVc::SalesMan, 5, "S1");
        Put(r, ORVc::DelAddr0, 60, "Dock 4");
        Put(r, ORVc::DelAddr3, 60, "Harbour");
        for (const RowSpec &s : rows) {
            uint8_t row[ORVc::Rows::Size] = {};
            PutU16(row, ORVc::Rows::Kind, 1);
            Put(row, ORVc::Rows::ItemCode, 20, s.item);
            PutDec(row, ORVc::Rows::Quantity, Dec(s.quantity));
            PutDec(row, ORVc::Rows::QtyDelivered, Dec(s.done));
            Put(row, ORVc::Rows::Text, 100, s.text);
            PutDec(row, ORVc::Rows::Price, Dec(12.5));
            PutDec(row, ORVc::Rows::Sum, Dec(12.5 * s.quantity));
            PutDec(row, ORVc::Rows::Discount, Dec(2.5));
            Put(row, ORVc::Rows::SalesAcc, 10, "3010");
            PutDec(row, ORVc::Rows::GrossProfit, Dec(4));
            Put(row, ORVc::Rows::VatCode, 2, "1");
            ASSERT_TRUE(MatrixRowInsert(ORVc::Number, r, MatrixRowCount(ORVc::Number, 0, r), row));
        }
        Store(ORVc::Number, r);
        RecFreeMatrix(ORVc::Number, r);
        RecBufferFree(ORVc::Number, &h);
    }
    static void PurchaseOrder(int32_t nr, const char *vendor, DateRec date, std::vector<RowSpec> rows)
    {
        MemBlock h = 0;
        uint8_t *r = RecBufferNew(PurchOrderVc::Number, &h);
        PutI32(r, PurchOrderVc::SerNr, nr);
        Put(r, PurchOrderVc::VendCode, 20, vendor);
        Put(r, PurchOrderVc::VendName, 60, (std::string("Vendor ") + vendor).c_str());
        PutDate(r, PurchOrderVc::PODate, date);
        Put(r, PurchOrderVc::DelivText, 10, "Week 9");
        for (const RowSpec &s : rows) {
            uint8_t row[PurchOrderVc::Rows::Size] = {};
            PutU16(row, PurchOrderVc::Rows::Kind, 1);
            Put(row, PurchOrderVc::Rows::ItemCode, 20, s.item);
            Put(row, PurchOrderVc::Rows::VendItemCode, 20, (std::string("V-") + s.item).c_str());
            PutDec(row, PurchOrderVc::Rows::Quantity, Dec(s.quantity));
            PutDec(row, PurchOrderVc::Rows::QtyOnPurchases, Dec(s.done));
            Put(row, PurchOrderVc::Rows::Text, 100, s.text);
            PutDec(row, PurchOrderVc::Rows::Price, Dec(8));
            PutDec(row, PurchOrderVc::Rows::Sum, Dec(8 * s.quantity));
            Put(row, PurchOrderVc::Rows::VatCode, 2, "1");
            ASSERT_TRUE(MatrixRowInsert(PurchOrderVc::Number, r, MatrixRowCount(PurchOrderVc::Number, 0, r), row));
        }
        Store(PurchOrderVc::Number, r);
        RecFreeMatrix(PurchOrderVc::Number, r);
        RecBufferFree(PurchOrderVc::Number, &h);
    }
    // A customer's statistics of an item: quantity, sales and cost in a month.
    static void Stat(const char *cust, const char *item, std::vector<std::pair<DateRec, std::array<double, 3>>> months)
    {
        MemBlock h = 0;
        uint8_t *r = RecBufferNew(CustItemStatVc::Number, &h);
        Put(r, CustItemStatVc::CustCode, 20, cust);
        Put(r, CustItemStatVc::ItemCode, 20, item);
        MemBlock block = GetU32(r, CustItemStatVc::Amounts);
        for (auto &[date, amounts] : months)
            for (int k = 0; k < 3; k++) {
                PackedDecimal d = Dec(amounts[size_t(k)]);
                ASSERT_TRUE(AddToPeriodAmount(&block, 3, k, MonthIndex(&date), &d));
            }
        PutU32(r, CustItemStatVc::Amounts, block);
        Store(CustItemStatVc::Number, r);
        RecFreeMatrix(CustItemStatVc::Number, r);
        RecBufferFree(CustItemStatVc::Number, &h);
    }
    void MakeCompany()
    {
        Item("I1", "Widget", "G1", "Red paint");
        Item("I2", "Gadget", "G2", "");
        Item("I3", "Gizmo", "G1", "");
        Customer("C1", "Alpha AB");
        Customer("C2", "Beta AB");
        Customer("C3", "Gamma AB");
        Order(1, "C1", DateRec{10, 2, 2024}, "B", {{"I1", 5, 2, "Five widgets"}, {"I2", 1, 0, "One gadget"}});
        Order(2, "C2", DateRec{1, 3, 2024}, "A", {{"I2", 3, 3, "Gadgets"}});
        Order(3, "C1", DateRec{1, 5, 2024}, "B", {{"I3", 1, 0, "Gizmo"}});
        PurchaseOrder(1, "V1", DateRec{1, 2, 2024}, {{"I1", 10, 4, "Widgets in"}, {"I2", 2, 0, "Gadgets in"}});
        PurchaseOrder(2, "V2", DateRec{5, 2, 2024}, {{"I3", 7, 0, "Gizmos in"}});
        PurchaseOrder(3, "V1", DateRec{9, 2, 2024}, {{"I2", 1, 1, "Received"}});
        Stat("C1", "I1", {{DateRec{15, 1, 2024}, {2, 200, 120}}, {DateRec{15, 1, 2023}, {1, 100, 60}}});
        Stat("C1", "I2", {{DateRec{15, 2, 2024}, {1, 50, 30}}});
        Stat("C2", "I1", {{DateRec{15, 6, 2022}, {9, 900, 500}}});
    }
    // Runs export kind through the export run (its months kept as the run
    // keeps them) into a file; the file's bytes, "" when the run failed.
    std::string Export(int kind)
    {
        PutU16(TestJob, ReportParamsVc::OutputKind, OutTextFile);
        std::string name = "kind" + std::to_string(kind) + ".txt";
        ScriptAnswerFile((dir / name).string());
        if (!ExportOverTestJob(kind)) return "";
        return FileBytes(dir / name);
    }
    static void Select(uint32_t at, const char *text)
    {
        PString p;
        PStringFromC(p, text);
        PutPString(TestJob, at, 255, p);
    }
    // The lines of bytes, each its TAB-separated fields, without the
    // line end that closes every export file.
    static std::vector<std::vector<std::string>> Lines(const std::string &bytes)
    {
        std::vector<std::vector<std::string>> out;
        std::istringstream in(bytes);
        std::string line;
        while (std::getline(in, line)) {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            std::vector<std::string> fields;
            size_t start = 0;
            for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1)
                fields.push_back(line.substr(start, tab - start));
            if (start < line.size()) fields.push_back(line.substr(start));
            out.push_back(fields);
        }
        if (!out.empty() && out.back().empty()) out.pop_back();   // the file's own closing line end
        return out;
    }
    // An amount as written (a comma or a point, blanks grouping).
    static double Amount(const std::string &s)
    {
        std::string t;
        for (char c : s)
            if (c != ' ') t += c == ',' ? '.' : c;
        return std::atof(t.c_str());
    }
    // The golden file's bytes; ORVEL_GOLDEN_UPDATE=1 writes it instead.
    static std::string Golden(const std::string &name, const std::string &actual)
    {
        std::filesystem::path p = std::filesystem::path(ORVEL_TEST_DATA_DIR) / "exchange" / "selective_golden" / name;
        const char *update = std::getenv("ORVEL_GOLDEN_UPDATE");
        if (update && *update == '1') std::ofstream(p, std::ios::binary) << actual;
        return FileBytes(p);
    }
};

TEST_F(SelectiveExports, KindsMatchTheirGoldens)
{
    MakeCompany();
    PutDate(TestJob, ReportParamsVc::DateFrom, DateRec{1, 1, 2024});
    PutDate(TestJob, ReportParamsVc::DateTo, DateRec{31, 12, 2024});
    for (int kind : {18, 27, 31, 33}) {
        std::string bytes = Export(kind);
        ASSERT_FALSE(bytes.empty()) << kind;
        std::string name = "kind" + std::to_string(kind) + ".txt";
        EXPECT_EQ(bytes, Golden(name, bytes)) << name;
    }
}

TEST_F(SelectiveExports, OrderRowsFilterByItemGroupAndNumbersInThreeLayouts)
{
    MakeCompany();
    auto lines = Lines(Export(18));
    ASSERT_EQ(lines.size(), 5u);   // four rows, then the closing line end
    EXPECT_TRUE(lines.back().empty());
    ASSERT_EQ(lines[0].size(), 18u);
    EXPECT_EQ(lines[0][0], "1");
    EXPECT_EQ(lines[0][7], "I1");
    EXPECT_EQ(lines[0][8], "G1");
    EXPECT_EQ(Amount(lines[0][10]), 3);   // five ordered, two delivered
    EXPECT_EQ(lines[2][0], "2");
    EXPECT_EQ(Amount(lines[2][10]), 0);

    // By order class: class A (order 2) first; numbers 2:3 only.
    PutU16(TestJob, ReportParamsVc::Option1, 1);
    Select(ReportParamsVc::SelText1, "2:3");
    lines = Lines(Export(18));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0][0], "2");
    EXPECT_EQ(lines[1][0], "3");

    // One item group, then one item: rows of other items are left out.
    PutU16(TestJob, ReportParamsVc::Option1, 0);
    Select(ReportParamsVc::SelText1, "");
    Select(ReportParamsVc::SelText4, "g1");
    lines = Lines(Export(18));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0][7], "I1");
    EXPECT_EQ(lines[1][7], "I3");
    Select(ReportParamsVc::SelText4, "");
    Select(ReportParamsVc::SelText3, "I2");
    lines = Lines(Export(18));
    ASSERT_EQ(lines.size(), 3u);

    // Layout 1: only rows whose item has a "RUV" attribute, 12 columns.
    Select(ReportParamsVc::SelText3, "");
    PutU16(TestJob, ReportParamsVc::ReportLayout, 1);
    lines = Lines(Export(18));
    ASSERT_EQ(lines.size(), 2u);
    ASSERT_EQ(lines[0].size(), 12u);
    EXPECT_EQ(lines[0][0], "Dock 4");
    EXPECT_EQ(lines[0][3], "Harbour");
    EXPECT_EQ(lines[0][11], "Red paint");

    // Layout 2: one field a row, the item, its group and the row text.
    PutU16(TestJob, ReportParamsVc::ReportLayout, 2);
    lines = Lines(Export(18));
    ASSERT_EQ(lines.size(), 5u);
    EXPECT_EQ(lines[0], (std::vector<std::string>{"I1 G1: Five widgets"}));
    EXPECT_EQ(lines[1], (std::vector<std::string>{"I2 G2: One gadget"}));

    // Nothing in the range: the kind's one line end and the file's.
    PutU16(TestJob, ReportParamsVc::ReportLayout, 0);
    Select(ReportParamsVc::SelText1, "50:60");
    EXPECT_EQ(Export(18), "\r\n\r\n");
}

TEST_F(SelectiveExports, PurchaseRowsByVendorItemRangeAndGroupRangeEachRowByItself)
{
    MakeCompany();
    auto lines = Lines(Export(33));
    ASSERT_EQ(lines.size(), 5u);
    ASSERT_EQ(lines[0].size(), 14u);
    EXPECT_EQ(lines[0][3], "V1");
    EXPECT_EQ(lines[0][4], "Vendor V1");
    EXPECT_EQ(Amount(lines[0][9]), 6);   // ten ordered, four received
    EXPECT_EQ(lines[3][0], "3");

    // By vendor V1 only: orders 1 and 3, in vendor order.
    PutU16(TestJob, ReportParamsVc::Option1, 1);
    Select(ReportParamsVc::SelText2, "V1");
    lines = Lines(Export(33));
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[2][0], "3");

    // Item-group range G2:G9 and item range I2:I3: the gadget rows only.
    PutU16(TestJob, ReportParamsVc::Option1, 0);
    Select(ReportParamsVc::SelText2, "");
    Select(ReportParamsVc::SelText3, "I2:I3");
    Select(ReportParamsVc::SelText4, "G2:G9");
    lines = Lines(Export(33));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0][5], "I2");
    EXPECT_EQ(lines[1][5], "I2");
}

TEST_F(SelectiveExports, CustomerSalesPerItemWithTheYearBeforeAndTotals)
{
    MakeCompany();
    PutDate(TestJob, ReportParamsVc::DateFrom, DateRec{1, 1, 2024});
    PutDate(TestJob, ReportParamsVc::DateTo, DateRec{31, 1, 2024});
    Select(ReportParamsVc::SelText2, "C1:C2");
    auto lines = Lines(Export(27));
    // C1: I1 (January 2024 and January 2023), I2 has nothing in January;
    // then its total; C2's record lies in 2022: only its total line.
    ASSERT_EQ(lines.size(), 3u);
    ASSERT_EQ(lines[0].size(), 9u);
    EXPECT_EQ(lines[0][0], "C1");
    EXPECT_EQ(lines[0][1], "Widget");
    EXPECT_EQ(lines[0][2], "I1");
    EXPECT_EQ(Amount(lines[0][4]), 200);
    EXPECT_EQ(Amount(lines[0][7]), 100);
    EXPECT_EQ(lines[1][1], "Alpha AB");
    ASSERT_EQ(lines[1].size(), 8u);
    EXPECT_EQ(Amount(lines[1][4]), 120);
    EXPECT_EQ(Amount(lines[1][5]), 1);
    EXPECT_EQ(lines[2][0], "C2");
    EXPECT_EQ(Amount(lines[2][4]), 0);

    // An item range: I2 only, whose February lies in the months now.
    PutDate(TestJob, ReportParamsVc::DateTo, DateRec{29, 2, 2024});
    Select(ReportParamsVc::SelText3, "I2");
    lines = Lines(Export(27));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0][2], "I2");
    EXPECT_EQ(Amount(lines[1][3]), 50);
}

TEST_F(SelectiveExports, ReversedDatesAreRefusedAndWriteNothing)
{
    MakeCompany();
    MessagesShown.clear();
    PutDate(TestJob, ReportParamsVc::DateFrom, DateRec{1, 6, 2024});
    PutDate(TestJob, ReportParamsVc::DateTo, DateRec{31, 5, 2024});
    EXPECT_EQ(Export(27), "");
    EXPECT_EQ(Shown(Texts::ExportMonthsReversed), 1);
    EXPECT_EQ(FileBytes(dir / "kind27.txt"), "");
    // The same dates within one month are reversed too.
    MessagesShown.clear();
    PutDate(TestJob, ReportParamsVc::DateFrom, DateRec{20, 5, 2024});
    PutDate(TestJob, ReportParamsVc::DateTo, DateRec{10, 5, 2024});
    EXPECT_EQ(Export(27), "");
    EXPECT_EQ(Shown(Texts::ExportMonthsReversed), 1);
}

TEST_F(SelectiveExports, ItemInfoWritesThirtyColumnsAndNoHeadForAnEmptyRange)
{
    MakeCompany();
    Select(ReportParamsVc::SelText2, "I2:I3");
    auto lines = Lines(Export(31));
    size_t tag = 0;
    while (tag < lines.size() && (lines[tag].empty() || lines[tag][0] != "artikelinfo1")) tag++;
    ASSERT_LT(tag + 3, lines.size());
    EXPECT_EQ(lines[tag + 1].size(), 30u);
    EXPECT_EQ(lines[tag + 1][0], "I2");
    EXPECT_EQ(lines[tag + 1][9], "");    // the two price-list columns, empty
    EXPECT_EQ(lines[tag + 1][10], "");
    EXPECT_EQ(lines[tag + 2][0], "I3");
    EXPECT_TRUE(lines[tag + 3].empty());
    Select(ReportParamsVc::SelText2, "X1:X9");
    EXPECT_EQ(Export(31), "\r\n");   // the file's closing line end only: no head
}

}  // namespace
