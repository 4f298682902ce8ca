// invoicing_runs_test.cpp - the sales side's batch runs: price lists
// recomputed by their formulas (routine 16: rounding and the after-
// rounding addition, a list in currency, groups and item ranges, the
// run's filters, unchanged prices left unwritten) and open items written
// off by receipts (routine 21: the selection's limits, two rows an item,
// 92 rows a receipt, a run with no number left) and sample invoices
// (routine 6: counts, dates and consecutive numbers, a number already
// taken, an empty register, a count that is no number, the interest
// settings' payment mode as the terms).
#include <cstring>
#include <vector>

#include "core/date.h"
#include "database/access/transport.h"
#include "output/job_queue.h"
#include "output/output_job.h"
#include "rules/payment_kinds.h"
#include "tests/net/serve_here.h"
#include "operations/batch_routines.h"
#include "operations/customer_receipt.h"
#include "tests/operations/invoice_fixture.h"

namespace {

// The job the runs of the tests are handed.
uint8_t Selection[ReportParamsSize];
ReportJob SelectionJob{Selection};
ReportJob Job{Selection};

// Empties the job and names routine `number`.
void Routine(uint16_t number)
{
    std::memset(Selection, 0, ReportParamsSize);
    PutU16(Selection, ReportParamsVc::ReportNumber, number);
}

void Param(uint32_t at, int length, const char *text)
{
    PString p;
    PStringFromC(p, text);
    PutPString(Selection, at, length, p);
}

class PriceUpdateRun : public InvoiceCompanyFixture {
protected:
    void Formula(const char *code, uint16_t base, double pct, double add, uint16_t decimals, double after)
    {
        StoreRecord(PriceFormulaVc::Number, [&](uint8_t *r) {
            PutText(r, PriceFormulaVc::Code, 5, code);
            PutU16(r, PriceFormulaVc::Base, base);
            PutDec(r, PriceFormulaVc::Percentage, Dec(pct));
            PutDec(r, PriceFormulaVc::Addition, Dec(add));
            PutU16(r, PriceFormulaVc::Decimals, decimals);
            PutDec(r, PriceFormulaVc::AddAfter, Dec(after));
        });
    }
    struct ListRow {
        uint16_t kind;
        const char *covers;
        const char *formula;
    };
    void List(const char *code, const char *currency, std::initializer_list<ListRow> rows)
    {
        StoreRecord(PriceListVc::Number, [&](uint8_t *r) {
            PutText(r, PriceListVc::Code, 5, code);
            PutText(r, PriceListVc::CurncyCode, 5, currency);
            for (const ListRow &x : rows) {
                uint8_t row[PriceListVc::Rows::Size] = {};
                PutU16(row, PriceListVc::Rows::Kind, x.kind);
                PutText(row, PriceListVc::Rows::CodeRange, 60, x.covers);
                PutText(row, PriceListVc::Rows::Formula, 5, x.formula);
                ASSERT_TRUE(MatrixRowPut(PriceListVc::Number, 0, r, MatrixRowCount(PriceListVc::Number, 0, r), row));
            }
        });
    }
    // The price of item in list; -1 when it has no price record.
    static double PriceOf(const char *list, const char *item, uint32_t *recid = nullptr)
    {
        RuleRecord r(PriceVc::Number);
        PutText(r.record, PriceVc::PriceList, 5, list);
        PutText(r.record, PriceVc::ItemCode, 20, item);
        uint32_t id = 0, position = 0;
        if (!RecFindByIndex(PriceVc::Number, "PriceList", r.record, 2, 1, &id, &position)) return -1;
        if (recid) *recid = id;
        PackedDecimal p = GetDec(r.record, PriceVc::Price);
        return DecToDouble(&p);
    }
};

// Cost 60 at 100 %, no decimals, less 0.01 after rounding: 59.99; a
// formula on the base price; a base the formula does not know starts
// from nothing; the items of group G1 only.
TEST_F(PriceUpdateRun, FormulasPriceTheItemsOfTheirRows)
{
    Formula("F1", 0, 100, 0, 0, -0.01);
    Formula("F2", 1, 90, 0.4, 1, 0);
    Formula("F3", 7, 100, 5, 2, 0);
    StoreItem("ITEM3", {.group = "G1", .price = 10, .cost = 12.4});
    List("A", "", {{0, "G1", "F1"}});
    List("B", "", {{0, "G1", "F2"}, {1, "SERVICE:SERVICE", "F3"}, {7, "G2", "F1"}});
    Routine(16);
    Param(ReportParamsVc::SelText1, 255, "A:B");
    ASSERT_TRUE(RunMaintenance(Job));
    EXPECT_EQ(PriceOf("A", "ITEM1"), 59.99);
    EXPECT_EQ(PriceOf("A", "ITEM2"), 19.99);
    EXPECT_EQ(PriceOf("A", "ITEM3"), 11.99);   // 12.40 rounded to 12, less 0.01
    EXPECT_EQ(PriceOf("A", "SERVICE"), -1);
    EXPECT_EQ(PriceOf("B", "ITEM1"), 90.4);    // 100 x 90 % + 0.40, one decimal
    EXPECT_EQ(PriceOf("B", "ITEM3"), 9.4);
    EXPECT_EQ(PriceOf("B", "SERVICE"), 5);     // unknown base: only the addition
    EXPECT_TRUE(shown.empty());
}

// A list in a currency at rate 250 divides the base by 2.5 first.
TEST_F(PriceUpdateRun, AListInCurrencyConvertsTheBaseAtTodaysRate)
{
    StoreRate("USD", DateRec{1, 1, 2000}, 250);
    Formula("F1", 0, 50, 0, 2, 0);
    List("US", "USD", {{1, "ITEM1:ITEM2", "F1"}});
    Routine(16);
    ASSERT_TRUE(RunMaintenance(Job));
    EXPECT_EQ(PriceOf("US", "ITEM1"), 12);   // 60 / 2.5 x 50 %
    EXPECT_EQ(PriceOf("US", "ITEM2"), 4);
}

// A price that the formula gives again is not written; a changed one
// is rewritten in place; the run's item range, group and default
// vendor pass items over.
TEST_F(PriceUpdateRun, UnchangedPricesStayAndTheRunsFiltersPassItemsOver)
{
    Formula("F1", 0, 100, 0, 2, 0);
    List("A", "", {{1, "ITEM1:SERVICE", "F1"}});
    Routine(16);
    ASSERT_TRUE(RunMaintenance(Job));
    uint32_t before = 0, after = 0;
    ASSERT_EQ(PriceOf("A", "ITEM1", &before), 60);
    uint32_t count = RegRecordCount(PriceVc::Number);
    ASSERT_TRUE(RunMaintenance(Job));
    EXPECT_EQ(RegRecordCount(PriceVc::Number), count);

    StoreItem("ITEM1", {.group = "G1", .price = 100, .cost = 61});   // rewrites the item
    Param(ReportParamsVc::SelText2, 255, "ITEM2:SERVICE");            // ITEM1 is outside
    ASSERT_TRUE(RunMaintenance(Job));
    EXPECT_EQ(PriceOf("A", "ITEM1"), 60);
    Param(ReportParamsVc::SelText2, 255, "");
    Param(ReportParamsVc::SelText7, 20, "V1");   // no item has V1 as its default source
    ASSERT_TRUE(RunMaintenance(Job));
    EXPECT_EQ(PriceOf("A", "ITEM1"), 60);
    StoreRecord(PurchItemVc::Number, [](uint8_t *r) {
        PutText(r, PurchItemVc::ItemCode, 20, "ITEM1");
        PutText(r, PurchItemVc::VendCode, 20, "V1");
        PutU16(r, PurchItemVc::Default, 1);
    });
    ASSERT_TRUE(RunMaintenance(Job));
    EXPECT_EQ(PriceOf("A", "ITEM1", &after), 61);
    EXPECT_EQ(after, before);
    EXPECT_EQ(RegRecordCount(PriceVc::Number), count);
}

class WriteOffRun : public InvoiceCompanyFixture {
protected:
    // An open item of customer `cust` for invoice `serial`, `age` days
    // past its date.
    void OpenItem(int32_t serial, const char *cust, double amount, int32_t age = 0)
    {
        DateRec date;
        DateAddDays(&TodayDate, -age, &date);
        StoreRecord(ARVc::Number, [&](uint8_t *r) {
            PutU32(r, ARVc::InvoiceNr, uint32_t(serial));
            PutText(r, ARVc::CustCode, 20, cust);
            PutText(r, ARVc::CustName, 60, cust);
            PutDec(r, ARVc::OpenAmount, Dec(amount));
            PutDate(r, ARVc::DueDate, date);
        });
    }
    // The receipts stored, in serial order.
    static std::vector<std::vector<uint8_t>> Receipts()
    {
        std::vector<std::vector<uint8_t>> out;
        RuleRecord r(IPVc::Number);
        uint32_t recid = 0;
        for (int32_t p = 1; RecReadAt(IPVc::Number, p, r.record, &recid); p++) {
            std::vector<uint8_t> copy(r.record, r.record + IPVc::Size);
            uint8_t row[IPVc::Rows::Size];
            for (int32_t i = 0; MatrixRowRead(IPVc::Number, r.record, i, row); i++)
                copy.insert(copy.end(), row, row + sizeof row);
            out.push_back(copy);
        }
        return out;
    }
    static int32_t RowCount(const std::vector<uint8_t> &receipt)
    {
        return int32_t((receipt.size() - IPVc::Size) / IPVc::Rows::Size);
    }
    static const uint8_t *RowOf(const std::vector<uint8_t> &receipt, int32_t i)
    {
        return receipt.data() + IPVc::Size + size_t(i) * IPVc::Rows::Size;
    }
};

// With no selection every open item not negative is written off: a
// paying row of nothing, then the fee row of its whole open amount,
// dated today, days to its date at 110; the receipt unposted and
// numbered, its total the fees.
TEST_F(WriteOffRun, EveryItemNotNegativeGetsAPaidAndAFeeRow)
{
    OpenItem(101, "C1", 12.5, 40);
    OpenItem(102, "C2", -3);
    OpenItem(103, "C3", 0);
    Routine(21);
    ASSERT_TRUE(RunMaintenance(Job));
    auto receipts = Receipts();
    ASSERT_EQ(receipts.size(), 1u);
    const auto &r = receipts[0];
    EXPECT_NE(GetU32(r.data(), IPVc::SerNr), SerialNone);
    EXPECT_EQ(GetU16(r.data(), IPVc::Posted), 0);
    DateRec d = GetDate(r.data(), IPVc::TransDate);
    EXPECT_EQ(DateCompare(&d, &TodayDate), 0);
    ASSERT_EQ(RowCount(r), 4);   // 101 and 103, two rows each
    const uint8_t *paid = RowOf(r, 0), *fee = RowOf(r, 1);
    EXPECT_EQ(PaidRowKind(GetU16(paid, IPVc::Rows::Kind)), PaidRowKind::Paid);
    EXPECT_EQ(PaidRowKind(GetU16(fee, IPVc::Rows::Kind)), PaidRowKind::Fee);
    EXPECT_EQ(GetU32(fee, IPVc::Rows::InvoiceNr), 101u);
    EXPECT_EQ(Text(fee, IPVc::Rows::CustCode), "C1");
    EXPECT_EQ(GetI32(fee, IPVc::Rows::Link), -40);
    PackedDecimal zero = GetDec(paid, IPVc::Rows::Amount), amount = GetDec(fee, IPVc::Rows::Amount);
    EXPECT_EQ(DecToDouble(&zero), 0);
    EXPECT_EQ(DecToDouble(&amount), 12.5);
    EXPECT_EQ(GetU32(RowOf(r, 3), IPVc::Rows::InvoiceNr), 103u);
}

// A client's write-off is made at the server: the same receipt as a
// local run makes, and a price update there prices the same items.
TEST_F(WriteOffRun, AClientsRunsAreMadeAtTheServer)
{
    OpenItem(101, "C1", 12.5, 40);
    StoreRecord(PriceFormulaVc::Number, [](uint8_t *r) {
        PutText(r, PriceFormulaVc::Code, 5, "F1");
        PutDec(r, PriceFormulaVc::Percentage, Dec(100));
        PutU16(r, PriceFormulaVc::Decimals, 2);
    });
    StoreRecord(PriceListVc::Number, [](uint8_t *r) {
        PutText(r, PriceListVc::Code, 5, "A");
        uint8_t row[PriceListVc::Rows::Size] = {};
        PutText(row, PriceListVc::Rows::CodeRange, 60, "G1");
        PutText(row, PriceListVc::Rows::Formula, 5, "F1");
        ASSERT_TRUE(MatrixRowPut(PriceListVc::Number, 0, r, 0, row));
    });
    RunMode = RunModeClient;
    TransportInstall(ServeHere, ServeHere);
    Routine(21);
    EXPECT_TRUE(RunMaintenanceCall(SelectionJob));   // the client sends its job whole
    Routine(16);
    EXPECT_TRUE(RunMaintenanceCall(SelectionJob));   // the client sends its job whole
    TransportInstall(nullptr, nullptr);
    RunMode = 0;
    OutputRunServices = OutputRunServicesRec{};
    auto receipts = Receipts();
    ASSERT_EQ(receipts.size(), 1u);
    ASSERT_EQ(RowCount(receipts[0]), 2);
    EXPECT_EQ(GetU32(RowOf(receipts[0], 1), IPVc::Rows::InvoiceNr), 101u);
    EXPECT_EQ(RegRecordCount(PriceVc::Number), 2u);   // ITEM1 and ITEM2 of group G1
}

// 46 items fill a receipt with 92 rows; the 47th starts a second.
TEST_F(WriteOffRun, AReceiptHoldsFortySixItems)
{
    for (int32_t i = 0; i < 47; i++) OpenItem(1000 + i, "C1", 1);
    Routine(21);
    ASSERT_TRUE(RunMaintenance(Job));
    auto receipts = Receipts();
    ASSERT_EQ(receipts.size(), 2u);
    EXPECT_EQ(RowCount(receipts[0]), 92);
    EXPECT_EQ(RowCount(receipts[1]), 2);
    EXPECT_NE(GetU32(receipts[0].data(), IPVc::SerNr), GetU32(receipts[1].data(), IPVc::SerNr));
}

// The limits are strict: an item exactly at the amount limit or exactly
// as old as the day limit stays open; ranges of customers and numbers.
TEST_F(WriteOffRun, ItemsAtTheLimitsAreNotTaken)
{
    OpenItem(201, "C1", 10, 30);
    OpenItem(202, "C1", 9.99, 31);
    OpenItem(203, "C1", 5, 30);
    OpenItem(204, "C2", 5, 60);
    OpenItem(300, "C1", 5, 60);
    Routine(21);
    Param(ReportParamsVc::SelText1, 255, "C1");
    Param(ReportParamsVc::SelText3, 255, "200:299");
    PutI32(Selection, ReportParamsVc::NumberFrom, 30);
    PutDec(Selection, ReportParamsVc::Amount1, Dec(10));
    ASSERT_TRUE(RunMaintenance(Job));
    auto receipts = Receipts();
    ASSERT_EQ(receipts.size(), 1u);
    ASSERT_EQ(RowCount(receipts[0]), 2);
    EXPECT_EQ(GetU32(RowOf(receipts[0], 1), IPVc::Rows::InvoiceNr), 202u);
}

// Nothing selected stores no receipt; a series with no number left
// stores none either and says so.
TEST_F(WriteOffRun, NothingTakenOrNoNumberLeftStoresNoReceipt)
{
    OpenItem(101, "C1", -1);
    Routine(21);
    ASSERT_TRUE(RunMaintenance(Job));
    EXPECT_TRUE(Receipts().empty());

    OpenItem(102, "C1", 4);
    AddSeriesRow(ReceiptSeriesBlk::Number, 1, 1);
    StoreRecord(IPVc::Number, [](uint8_t *r) { PutU32(r, IPVc::SerNr, 1); });
    EXPECT_FALSE(RunMaintenance(Job));
    EXPECT_EQ(Receipts().size(), 1u);   // only the one stored by hand
    EXPECT_FALSE(shown.empty());
}

class SampleInvoiceRun : public InvoiceCompanyFixture {
protected:
    static std::vector<uint32_t> Serials()
    {
        std::vector<uint32_t> out;
        RuleRecord r(IVVc::Number);
        uint32_t recid = 0;
        for (int32_t p = 1; RecReadAt(IVVc::Number, p, r.record, &recid); p++) out.push_back(GetU32(r.record, IVVc::SerNr));
        return out;
    }
};

// Five invoices from number 500 on one day: consecutive, dated that day,
// unposted, each of 1 to 10 rows of a known item, 1 to 20 of it, priced.
TEST_F(SampleInvoiceRun, CountsDatesAndNumbersAsAsked)
{
    Routine(6);
    Param(ReportParamsVc::SelText1, 255, "5");
    Param(ReportParamsVc::SelText3, 255, "500");
    const DateRec day{3, 5, 2024};
    PutDate(Selection, ReportParamsVc::Date2From, day);
    PutDate(Selection, ReportParamsVc::Date2To, day);
    ASSERT_TRUE(RunMaintenance(Job));
    EXPECT_EQ(Serials(), (std::vector<uint32_t>{500, 501, 502, 503, 504}));
    RuleRecord r(IVVc::Number);
    uint32_t recid = 0;
    for (int32_t p = 1; RecReadAt(IVVc::Number, p, r.record, &recid); p++) {
        DateRec d = GetDate(r.record, IVVc::InvDate);
        EXPECT_EQ(DateCompare(&d, &day), 0);
        EXPECT_EQ(GetU16(r.record, IVVc::Posted), 0);
        int32_t rows = MatrixRowCount(IVVc::Number, 0, r.record);
        EXPECT_GE(rows, 1);
        EXPECT_LE(rows, 10);
        uint8_t row[IVVc::Rows::Size];
        for (int32_t i = 0; MatrixRowRead(IVVc::Number, r.record, i, row); i++) {
            const std::string item = Text(row, IVVc::Rows::ItemCode);
            EXPECT_TRUE(item == "ITEM1" || item == "ITEM2" || item == "SERVICE") << item;
            PackedDecimal q = GetDec(row, IVVc::Rows::Quantity), sum = GetDec(row, IVVc::Rows::Sum);
            EXPECT_GE(DecToDouble(&q), 1);
            EXPECT_LE(DecToDouble(&q), 20);
            EXPECT_GT(DecToDouble(&sum), 0);
        }
        PackedDecimal total = GetDec(r.record, IVVc::Total);
        EXPECT_GT(DecToDouble(&total), 0);
    }
    EXPECT_TRUE(shown.empty());

    // Without a count the run makes 1 to 100, numbered on from the last.
    Param(ReportParamsVc::SelText1, 255, "");
    Param(ReportParamsVc::SelText3, 255, "");
    ASSERT_TRUE(RunMaintenance(Job));
    auto serials = Serials();
    ASSERT_GE(serials.size(), 6u);
    EXPECT_LE(serials.size(), 105u);
    for (size_t i = 1; i < serials.size(); i++) EXPECT_LT(serials[i - 1], serials[i]);
}

// A number already taken stops the run there, naming it; an empty
// customer register or a count that is no number makes nothing.
TEST_F(SampleInvoiceRun, ATakenNumberOrBadSelectionStopsTheRun)
{
    StoreRecord(IVVc::Number, [](uint8_t *r) { PutU32(r, IVVc::SerNr, 603); });
    Routine(6);
    Param(ReportParamsVc::SelText1, 255, "10");
    Param(ReportParamsVc::SelText3, 255, "600");
    EXPECT_FALSE(RunMaintenance(Job));
    EXPECT_EQ(Serials(), (std::vector<uint32_t>{600, 601, 602, 603}));
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("603"), std::string::npos) << shown[0];

    shown.clear();
    Param(ReportParamsVc::SelText1, 255, "ten");
    EXPECT_FALSE(RunMaintenance(Job));
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_EQ(Serials().size(), 4u);
}

// The interest settings' payment mode is every sample invoice's terms: a
// terms code makes it due after the terms' days, a payment mode makes a
// cash invoice due on its date.
TEST_F(SampleInvoiceRun, TheInterestSettingsPaymentModeIsTheTerms)
{
    StoreTerms("10", 0, 10);
    const struct {
        const char *mode;
        uint16_t kind;
        int32_t days;
    } cases[] = {{"10", 1, 10}, {"K", 2, 0}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.mode);
        ASSERT_TRUE(RegDeleteAll(IVVc::Number));
        ChangeBlock(InterestBlk::Number, InterestBlk::Size,
                    [&](uint8_t *b) { PutText(b, InterestBlk::PayMode, 2, c.mode); });
        Routine(6);
        Param(ReportParamsVc::SelText1, 255, "3");
        ASSERT_TRUE(RunMaintenance(Job));
        RuleRecord r(IVVc::Number);
        uint32_t recid = 0;
        int32_t p = 1;
        for (; RecReadAt(IVVc::Number, p, r.record, &recid); p++) {
            EXPECT_EQ(Text(r.record, IVVc::PayTerms), c.mode);
            EXPECT_EQ(GetU16(r.record, IVVc::InvType), c.kind);
            DateRec date = GetDate(r.record, IVVc::InvDate), due = GetDate(r.record, IVVc::PayDate);
            EXPECT_EQ(DateDiffDays(&due, &date), c.days);
            RecFreeMatrix(IVVc::Number, r.record);
        }
        EXPECT_EQ(p, 4);
    }
}

// The run numbers from the company's invoice hint whoever runs it: a
// user's own order series (the first of the user's series choices) is no
// invoice number and must not lead the search out of the invoice series.
TEST_F(SampleInvoiceRun, NumbersFromTheCompanysInvoiceHintNotTheUsersOrderSeries)
{
    uint8_t *user = SessionUserEntry(CurrentSessionIndex);
    ASSERT_NE(user, nullptr);
    PutU32(user, SU::SeriesA, 700000);
    uint8_t *series = SettingsRecord(SeriesDefaultsBlk::Number, SeriesStateBlock);
    ASSERT_NE(series, nullptr);
    PutI32(series, SeriesDefaultsBlk::InvoiceHint, 300);
    Routine(6);
    Param(ReportParamsVc::SelText1, 255, "2");
    const bool ran = RunMaintenance(Job);
    PutU32(user, SU::SeriesA, 0);
    ASSERT_TRUE(ran);
    EXPECT_EQ(Serials(), (std::vector<uint32_t>{1, 2}));   // the first free of the hint's series row
}

TEST_F(SampleInvoiceRun, NoCustomersMakesNothing)
{
    ASSERT_TRUE(RegDeleteAll(CUVc::Number));
    Routine(6);
    EXPECT_FALSE(RunMaintenance(Job));
    EXPECT_TRUE(Serials().empty());
    EXPECT_EQ(shown.size(), 1u);
}

}  // namespace
