// contract_invoicing_test.cpp - contracts invoiced period by period: the
// periods and invoice dates a contract gives, the invoice made from it,
// routine 15's stores (once per period however often it runs), the
// selection's refusals, and reports 89 and 88 and export kind 32 against
// their kept output.
#include <string>
#include <tuple>
#include <vector>

#include "core/message_sink.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "exchange/contract_export.h"
#include "operations/batch_routines.h"
#include "output/devices/report_output.h"
#include "output/output_job.h"
#include "reports/sales/contract_reports.h"
#include "rules/contract_invoicing.h"
#include "tests/output/test_job.h"
#include "tests/reports/report_fixture.h"

namespace {

namespace P = ReportParamsVc;
namespace Co = ContractVc;

struct ContractRow {
    const char *item;
    double qty, price, discount = 0;
};

struct ContractSpec {
    int32_t serial = 1;
    const char *customer = "C1";
    DateRec start{1, 1, 2024};
    uint16_t unit = 0;        // 0 months, otherwise days
    uint16_t interval = 1;
    uint16_t rule = 0;        // 0 in advance
    uint16_t offset = 0;
    DateRec end{};
    DateRec lastInvoice{};
    double factor = 0;
    const char *filter = "";
    const char *postal = "100 Town";
    const char *lines = nullptr;   // the name and the first two address lines, when given
};

// What a stored invoice says, for comparing.
struct Made {
    int32_t serial;
    DateRec date;
    std::vector<std::string> texts;
    double total;
    int check;   // the invoice check's result when the invoice is saved as made
};

class ContractInvoicing : public ReportFixture {
protected:
    void StoreContract(const ContractSpec &c, std::initializer_list<ContractRow> rows = {{"ITEM1", 2, 100}}) {
        StoreRecord(Co::Number, [&](uint8_t *r) {
            PutI32(r, Co::SerNr, c.serial);
            PutText(r, Co::CustCode, 20, c.customer);
            PutText(r, Co::CustName, 60, c.lines ? c.lines : (std::string("Name of ") + c.customer).c_str());
            PutText(r, Co::Addr1, 60, c.lines ? c.lines : "Street 1");
            if (c.lines) PutText(r, Co::Addr2, 60, c.lines);
            PutText(r, Co::Addr3, 60, c.postal);
            PutText(r, Co::PayTerms, 2, "30");
            PutDate(r, Co::NextPeriod, c.start);
            PutDate(r, Co::EndDate, c.end);
            PutU16(r, Co::IntervalUnit, c.unit);
            PutU16(r, Co::Interval, c.interval);
            PutU16(r, Co::DateRule, c.rule);
            PutU16(r, Co::DayOffset, c.offset);
            PutDate(r, Co::LastInvDate, c.lastInvoice);
            PutDec(r, Co::QtyFactor, Dec(c.factor));
            PutText(r, Co::FilterCode, 5, c.filter);
            for (const ContractRow &x : rows) {
                uint8_t row[Co::Rows::Size] = {};
                PutU16(row, Co::Rows::Kind, 1);
                PutText(row, Co::Rows::ItemCode, 20, x.item);
                PutText(row, Co::Rows::Text, 100, x.item);
                PutDec(row, Co::Rows::Quantity, Dec(x.qty));
                PutDec(row, Co::Rows::Price, Dec(x.price));
                PutDec(row, Co::Rows::Discount, Dec(x.discount));
                PutDec(row, Co::Rows::Sum, Dec(x.qty * x.price * (100 - x.discount) / 100));
                PutText(row, Co::Rows::SalesAcc, 10, "3010");
                PutText(row, Co::Rows::VatCode, 2, "1");
                ASSERT_TRUE(MatrixRowPut(Co::Number, 0, r, MatrixRowCount(Co::Number, 0, r), row));
            }
        });
    }
    // The selection of routine 15 and report 89: the invoice dates from..to.
    static void Select(DateRec from, DateRec to, const char *customers = "", const char *numbers = "",
                       const char *filter = "") {
        ResetParams();
        PutDate(TestJob, P::Date2From, from);
        PutDate(TestJob, P::Date2To, to);
        SetText(P::SelText1, customers);
        SetText(P::SelText2, numbers);
        SetText(P::SelText3, filter);
    }
    // Routine 15 as the function list runs it.
    static bool Run() {
        SetWord(P::ReportNumber, 15);
        return RunMaintenance(ReportJob{TestJob});   // the report fixture keeps its selection there
    }
    // The stored invoices in number order.
    static std::vector<Made> Invoices() {
        std::vector<Made> out;
        RuleRecord inv(IVVc::Number);
        uint32_t recid = 0, position = 0;
        PutI32(inv.record, IVVc::SerNr, 0);
        if (!RecFindByIndex(IVVc::Number, "SerNr", inv.record, 1, 0, &recid, &position)) return out;
        for (uint32_t p = position;; p++) {
            if (p != position) {
                RecFreeMatrix(IVVc::Number, inv.record);
                if (!RecReadAtIndex(IVVc::Number, "SerNr", int32_t(p), inv.record, &recid)) break;
            }
            Made m{GetI32(inv.record, IVVc::SerNr), GetDate(inv.record, IVVc::InvDate), {},
                   Amount(GetDec(inv.record, IVVc::Total)), CheckedAsSaved(IVVc::Number, recid)};
            uint8_t row[IVVc::Rows::Size];
            for (int32_t i = 0; i < MatrixRowCount(IVVc::Number, 0, inv.record); i++) {
                if (!MatrixRowGet(IVVc::Number, 0, inv.record, i, row)) continue;
                PString t;
                ::GetText(row, IVVc::Rows::Text, t);
                m.texts.emplace_back(reinterpret_cast<const char *>(t + 1), t[0]);
            }
            out.push_back(m);
        }
        RecFreeMatrix(IVVc::Number, inv.record);
        return out;
    }
    static double Amount(PackedDecimal d) { return DecIsBlank(&d) ? 0 : DecToDouble(&d); }
    static DateRec LastInvoiceOf(int32_t serial) {
        RuleRecord c(Co::Number);
        PutI32(c.record, Co::SerNr, serial);
        uint32_t recid = 0, position = 0;
        EXPECT_TRUE(RecFindByIndex(Co::Number, "SerNr", c.record, 1, 1, &recid, &position));
        DateRec d = GetDate(c.record, Co::LastInvDate);
        RecFreeMatrix(Co::Number, c.record);
        return d;
    }
    static bool Same(DateRec a, DateRec b) { return DateCompare(&a, &b) == 0; }
    // Export kind 32 into a text file, as the export run writes it.
    std::string ExportText() {
        return RunText([] {
            PString title = {0};
            RepOpenJob(title);
            ExportContractsText(ReportJob{TestJob});   // the report fixture keeps its selection there
            RepEndJob();
        });
    }
};


// Monthly in advance without offset over January to March: three
// invoices dated the first of each month, each naming the contract and
// its month, the rows after three text rows, the totals made; the
// contract keeps its next-period start and records the last date.
TEST_F(ContractInvoicing, MonthlyInAdvanceMakesOneInvoicePerMonth)
{
    StoreContract({.serial = 7});
    Select({1, 1, 2024}, {31, 3, 2024});
    ASSERT_TRUE(Run());
    const std::vector<Made> made = Invoices();
    ASSERT_EQ(made.size(), 3u);
    const DateRec dates[] = {{1, 1, 2024}, {1, 2, 2024}, {1, 3, 2024}};
    const char *periods[] = {"Period 01.01.2024:31.01.2024", "Period 01.02.2024:29.02.2024",
                             "Period 01.03.2024:31.03.2024"};
    for (size_t i = 0; i < made.size(); i++) {
        SCOPED_TRACE(i);
        EXPECT_EQ(made[i].serial, int32_t(i + 1));
        EXPECT_TRUE(Same(made[i].date, dates[i]));
        ASSERT_EQ(made[i].texts.size(), 4u);
        EXPECT_EQ(made[i].texts[0], "Contract 7");
        EXPECT_EQ(made[i].texts[1], periods[i]);
        EXPECT_EQ(made[i].texts[2], "-----------");
        EXPECT_EQ(made[i].texts[3], "ITEM1");
        EXPECT_DOUBLE_EQ(made[i].total, 250);   // 200 and 25 % VAT
        EXPECT_EQ(made[i].check, 0) << "the invoice passes its own check; told " << ::testing::PrintToString(shown);
    }
    EXPECT_TRUE(Same(LastInvoiceOf(7), {1, 3, 2024}));
    RuleRecord c(Co::Number);
    PutI32(c.record, Co::SerNr, 7);
    uint32_t recid = 0, position = 0;
    ASSERT_TRUE(RecFindByIndex(Co::Number, "SerNr", c.record, 1, 1, &recid, &position));
    EXPECT_TRUE(Same(GetDate(c.record, Co::NextPeriod), {1, 1, 2024}));
    RecFreeMatrix(Co::Number, c.record);
}

// A second run over the same period makes nothing; a run over a longer
// period makes only the periods not yet invoiced; a run over an earlier
// period makes nothing either.
TEST_F(ContractInvoicing, APeriodIsInvoicedOnceHoweverOftenTheRunRuns)
{
    StoreContract({});
    Select({1, 1, 2024}, {31, 3, 2024});
    ASSERT_TRUE(Run());
    ASSERT_EQ(Invoices().size(), 3u);
    Select({1, 1, 2024}, {31, 3, 2024});
    ASSERT_TRUE(Run());
    EXPECT_EQ(Invoices().size(), 3u);
    Select({1, 1, 2024}, {30, 4, 2024});
    ASSERT_TRUE(Run());
    std::vector<Made> made = Invoices();
    ASSERT_EQ(made.size(), 4u);
    EXPECT_TRUE(Same(made.back().date, {1, 4, 2024}));
    Select({1, 1, 2024}, {31, 1, 2024});
    ASSERT_TRUE(Run());
    EXPECT_EQ(Invoices().size(), 4u);
}

// In arrears the invoice is dated the period's end plus the offset: the
// January period of a monthly contract is invoiced on 10 February, and
// February's (10 March) lies outside a run to the end of February. Days
// as the interval unit: 14-day periods from 1 January.
TEST_F(ContractInvoicing, InArrearsAndDayIntervalsDateTheirInvoices)
{
    StoreContract({.serial = 1, .rule = 1, .offset = 10});
    StoreContract({.serial = 2, .unit = 1, .interval = 14, .rule = 1});
    Select({1, 1, 2024}, {29, 2, 2024}, "", "1");
    ASSERT_TRUE(Run());
    std::vector<Made> made = Invoices();
    ASSERT_EQ(made.size(), 1u);
    EXPECT_TRUE(Same(made[0].date, {10, 2, 2024}));
    EXPECT_EQ(made[0].texts[1], "Period 01.01.2024:31.01.2024");

    Select({1, 1, 2024}, {31, 1, 2024}, "", "2");
    ASSERT_TRUE(Run());
    made = Invoices();
    ASSERT_EQ(made.size(), 3u);   // periods ending 14 and 28 January
    EXPECT_TRUE(Same(made[1].date, {14, 1, 2024}));
    EXPECT_EQ(made[2].texts[1], "Period 15.01.2024:28.01.2024");
}

// The contracts the selection or their own plan leave out: interval 0,
// an end date before the period, a filter code of another, a customer
// outside the range, a number past the range, a last invoice after the
// period; the one contract that passes is invoiced alone.
TEST_F(ContractInvoicing, ContractsOutsideTheSelectionOrThePlanAreNotInvoiced)
{
    StoreContract({.serial = 1, .interval = 0, .filter = "F"});
    StoreContract({.serial = 2, .end = {31, 12, 2023}, .filter = "F"});
    StoreContract({.serial = 3, .filter = "G"});
    StoreContract({.serial = 4, .customer = "C3", .filter = "F"});
    StoreContract({.serial = 5, .lastInvoice = {1, 6, 2024}, .filter = "F"});
    StoreContract({.serial = 6, .filter = "F"});
    StoreContract({.serial = 9, .filter = "F"});
    Select({1, 1, 2024}, {31, 1, 2024}, "C1:C2", "1:8", "F");
    ASSERT_TRUE(Run());
    std::vector<Made> made = Invoices();
    ASSERT_EQ(made.size(), 1u);
    EXPECT_EQ(made[0].texts[0], "Contract 6");
    for (int32_t n : {1, 2, 3, 4, 9}) EXPECT_EQ(LastInvoiceOf(n).year, 0) << n;
    EXPECT_TRUE(Same(LastInvoiceOf(5), {1, 6, 2024}));
}

// The quantity multiplier scales each row with a quantity and makes its
// amount again (less the discount); a contract whose invoice comes to
// zero is not invoiced and keeps no last-invoice date.
TEST_F(ContractInvoicing, MultiplierScalesRowsAndZeroInvoicesAreNotStored)
{
    StoreContract({.serial = 1, .factor = 2}, {{"ITEM1", 2, 100, 10}, {"SERVICE", 0, 50}});
    StoreContract({.serial = 2}, {{"ITEM1", 0, 100}});
    Select({1, 1, 2024}, {31, 1, 2024});
    ASSERT_TRUE(Run());
    const std::vector<Made> made = Invoices();
    ASSERT_EQ(made.size(), 1u);
    EXPECT_DOUBLE_EQ(made[0].total, 450);   // 4 x 100 less 10 %, 25 % VAT
    RuleRecord inv(IVVc::Number);
    PutI32(inv.record, IVVc::SerNr, made[0].serial);
    uint32_t recid = 0, position = 0;
    ASSERT_TRUE(RecFindByIndex(IVVc::Number, "SerNr", inv.record, 1, 1, &recid, &position));
    uint8_t row[IVVc::Rows::Size];
    ASSERT_TRUE(MatrixRowGet(IVVc::Number, 0, inv.record, 3, row));
    EXPECT_DOUBLE_EQ(Amount(GetDec(row, IVVc::Rows::Quantity)), 4);
    EXPECT_DOUBLE_EQ(Amount(GetDec(row, IVVc::Rows::Sum)), 360);
    ASSERT_TRUE(MatrixRowGet(IVVc::Number, 0, inv.record, 4, row));
    EXPECT_DOUBLE_EQ(Amount(GetDec(row, IVVc::Rows::Quantity)), 0);   // no quantity: left as it is
    char customer[32];
    PString code;
    ::GetText(inv.record, IVVc::CustCode, code);
    std::snprintf(customer, sizeof customer, "%.*s", code[0], reinterpret_cast<const char *>(code + 1));
    EXPECT_STREQ(customer, "C1");
    RecFreeMatrix(IVVc::Number, inv.record);
    EXPECT_EQ(LastInvoiceOf(2).year, 0);
}

// A series with room for two invoices: the third period is left, told,
// and the contract records the second; once the series has room again
// the next run invoices the period left and nothing twice.
TEST_F(ContractInvoicing, AFullSeriesLeavesThePeriodForALaterRun)
{
    tableRows[InvSeriesBlk::Number].clear();
    AddSeriesRow(InvSeriesBlk::Number, 1, 2);
    StoreContract({});
    Select({1, 1, 2024}, {31, 3, 2024});
    EXPECT_TRUE(Run());
    EXPECT_TRUE(WasShown(12620));
    EXPECT_EQ(Invoices().size(), 2u);
    EXPECT_TRUE(Same(LastInvoiceOf(1), {1, 2, 2024}));
    AddSeriesRow(InvSeriesBlk::Number, 3, 99);
    shown.clear();
    ASSERT_TRUE(Run());
    EXPECT_FALSE(WasShown(12620));
    const std::vector<Made> made = Invoices();
    ASSERT_EQ(made.size(), 3u);
    EXPECT_TRUE(Same(made[2].date, {1, 3, 2024}));
}

// A period not given, or given backwards, is refused before anything is
// made: by the run, the preview report and the export alike, each saying
// which of the two it is (the preview, whose window opens with the dates
// empty, says that it has nothing to print and why).
TEST_F(ContractInvoicing, AMissingOrReversedPeriodIsRefused)
{
    StoreContract({});
    const int missing = Texts::ContractPeriodNotGiven;
    const std::string unprinted = UiText(Texts::RunNothingToPrint) + UiText(Texts::RunWhyNoInvoiceDates) + ".";
    for (auto [from, to, fault] : {std::tuple{DateRec{31, 3, 2024}, DateRec{1, 1, 2024}, 1142},
                                   {DateRec{}, DateRec{31, 3, 2024}, missing}, {DateRec{}, DateRec{}, missing}}) {
        shown.clear();
        Select(from, to);
        EXPECT_FALSE(Run());
        EXPECT_TRUE(WasShown(fault));
        EXPECT_FALSE(WasShown(fault == 1142 ? missing : 1142));
        EXPECT_EQ(RegRecordCount(IVVc::Number), 0u);
        EXPECT_EQ(LastInvoiceOf(1).year, 0);
        shown.clear();
        EXPECT_EQ(RunText(ContractReport5540), "");
        if (fault == 1142) EXPECT_TRUE(WasShown(1142));
        else EXPECT_EQ(shown, std::vector<std::string>{unprinted});
        shown.clear();
        ExportText();
        EXPECT_TRUE(WasShown(fault));
    }
    // The listing needs no period, but a reversed one is still refused.
    Select({31, 3, 2024}, {1, 1, 2024});
    shown.clear();
    EXPECT_EQ(RunText(ContractReport5541), "");
    EXPECT_TRUE(WasShown(1142));
}

// Reports 89 and 88 against their kept output; the preview stores
// nothing and offers no period the run has invoiced: once the run made
// the invoices it prints no page and says why.
TEST_F(ContractInvoicing, ReportsAgainstTheirKeptOutput)
{
    StoreContract({.serial = 1, .factor = 2}, {{"ITEM1", 2, 100, 10}, {"SERVICE", 1, 50}});
    StoreContract({.serial = 2, .customer = "C3", .rule = 1, .offset = 10});
    StoreContract({.serial = 3, .interval = 0});
    Select({1, 1, 2024}, {29, 2, 2024});
    ExpectGolden("contract89", RunText(ContractReport5540));
    EXPECT_EQ(RegRecordCount(IVVc::Number), 0u);
    EXPECT_EQ(LastInvoiceOf(1).year, 0);
    ASSERT_TRUE(Run());
    // After the run nothing is left to invoice: no page, and the reason.
    Select({1, 1, 2024}, {29, 2, 2024});
    shown.clear();
    EXPECT_EQ(RunText(ContractReport5540), "");
    EXPECT_EQ(shown,
              std::vector<std::string>{UiText(Texts::RunNothingToPrint) + UiText(Texts::RunWhyNoPeriod) + "."});

    Select({}, {}, "", "1:2");
    ExpectGolden("contract88", RunText(ContractReport5541));
    SetWord(P::ReportLayout, 1);
    ExpectGolden("contract88_rows", RunText(ContractReport5541));
}

// Export kind 32: one line per period to invoice, as fields or as quoted
// text, in number or customer order; a customer range stops the
// customer walk past its last code.
TEST_F(ContractInvoicing, ExportAgainstItsKeptOutput)
{
    StoreContract({.serial = 1, .customer = "C2", .postal = "300 Town"});
    StoreContract({.serial = 2, .customer = "C1", .interval = 2, .postal = "200 Town"});
    StoreContract({.serial = 3, .customer = "C3", .postal = "100 Town"});
    Select({1, 1, 2024}, {31, 3, 2024});
    ExpectGolden("contract_export_fields", ExportText());
    SetWord(P::Option11, 1);
    SetWord(P::ReportLayout, 1);
    ExpectGolden("contract_export_quoted_by_customer", ExportText());
    SetWord(P::ReportLayout, 1);
    SetText(P::SelText1, "C1:C2");
    SetWord(P::ReportLayout, 2);
    ExpectGolden("contract_export_by_postcode", ExportText());
    EXPECT_EQ(RegRecordCount(IVVc::Number), 0u);
}


// A quoted line longer than 255 characters (four full address lines and
// a two-digit number) is left out whole and its contract named once,
// never cut short; a line of exactly 255 characters is written whole, as
// are the other contracts' lines.
std::vector<std::string> Told;
void Tell(const char *text) { Told.push_back(text); }

TEST_F(ContractInvoicing, TooLongQuotedLineIsLeftOutAndTold)
{
    const std::string full(60, 'x');
    StoreContract({.serial = 1});
    for (int32_t serial : {3, 12, 13})
        StoreContract({.serial = serial, .postal = full.c_str(), .lines = full.c_str()});
    Select({1, 1, 2024}, {29, 2, 2024});
    SetWord(P::Option11, 1);
    Told.clear();
    const MessageSink before = MessageSinkSet(Tell);
    const std::string text = ExportText();
    MessageSinkSet(before);
    std::string line3 = "\"3\"";
    for (int i = 0; i < 4; i++) line3 += ",\"" + full + "\"";
    ASSERT_EQ(line3.size(), 255u);
    EXPECT_NE(text.find(line3 + "\t"), std::string::npos) << text;
    EXPECT_NE(text.find("\"1\",\"Name of C1\""), std::string::npos) << text;
    EXPECT_EQ(text.find("\"12\""), std::string::npos) << "no line of contract 12, whole or cut: " << text;
    EXPECT_EQ(text.find("\"13\""), std::string::npos) << text;
    ASSERT_EQ(Told.size(), 1u);
    EXPECT_NE(Told[0].find("255"), std::string::npos) << Told[0];
    EXPECT_EQ(Told[0].substr(Told[0].size() - 6), "12, 13") << "each contract named once: " << Told[0];
}

}  // namespace
