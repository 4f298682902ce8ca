// report_fixture_test.cpp - the sales history the report tests run over
// is what they assume, so that a broken history fails here and not in
// every report's golden.
#include <cmath>

#include "tests/reports/report_fixture.h"

namespace {

using ReportFixtureTest = ReportFixture;

// The open amount of invoice serial; NAN when it has no open item.
double OpenAmount(int32_t serial)
{
    RuleRecord r(ARVc::Number);
    PutI32(r.record, ARVc::InvoiceNr, serial);
    uint32_t recid = 0, position = 0;
    if (!RecFind(ARVc::Number, r.record, 1, 1, &recid, &position)) return NAN;
    PackedDecimal open = GetDec(r.record, ARVc::OpenAmount);
    return DecToDouble(&open);
}

// Invoices of every kind, posted and not, with their open items, the
// vouchers of all posted ones but the one posted while posting was off,
// the receipts, the order and its deliveries; a text job reaches its file.
TEST_F(ReportFixtureTest, SalesHistoryIsWhatTheReportsAssume)
{
    StoreSalesHistory();
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_EQ(RegRecordCount(IVVc::Number), uint32_t(ReportCo::Invoices));
    EXPECT_EQ(RegRecordCount(IPVc::Number), uint32_t(ReportCo::Receipts));
    EXPECT_EQ(RegRecordCount(ORVc::Number), 1u);
    EXPECT_EQ(RegRecordCount(SHVc::Number), 2u);
    EXPECT_EQ(RegRecordCount(TRVc::Number), 4u);   // invoice 5 has none

    int credits = 0, posted = 0;
    RuleRecord r(IVVc::Number);
    uint32_t recid = 0;
    for (int32_t i = 1; RecReadAt(IVVc::Number, i, r.record, &recid); i++) {
        credits += GetU16(r.record, IVVc::InvType) == 3;
        posted += GetU16(r.record, IVVc::Posted);
    }
    EXPECT_EQ(credits, 1);
    EXPECT_EQ(posted, 5);

    // Invoices 1, 3 and 5 stay open; the cash invoice and its credit
    // note make none, nor does the invoice not posted.
    const struct {
        int32_t serial;
        double open;
    } open[] = {{1, 250}, {2, NAN}, {3, 200}, {4, NAN}, {5, 40}, {6, NAN}};
    for (const auto &o : open) {
        SCOPED_TRACE(o.serial);
        if (std::isnan(o.open)) EXPECT_TRUE(std::isnan(OpenAmount(o.serial)));
        else EXPECT_DOUBLE_EQ(OpenAmount(o.serial), o.open);
    }

    // A text file writes amounts without grouping and dates day first.
    std::string bytes = RunText([] {
        uint8_t title[] = "\x04Test";
        RepOpenJob(title);
        RepText(0, 0, title, 0);
        PackedDecimal amount = Dec(1234567.5);
        RepValue(100, 0, amount.b, 2, 1);
        RepValue(200, 0, reinterpret_cast<const uint8_t *>(&ReportCo::Today), 6, 0);
        RepEndJob();
    });
    EXPECT_EQ(bytes, "Test\t1234567,50\t15.03.2024\t\r\n");
    EXPECT_EQ(RepStopped, 0);
}

}  // namespace
