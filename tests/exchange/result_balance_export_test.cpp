// result_balance_export_test.cpp - export kind 22: the balance records of
// an account and object range with the result statement's three amounts
// by the column choice; records of several objects are never written.
#include "exchange/exchange.h"
#include "exchange/text_exchange.h"
#include "tests/exchange/test_job_export.h"
#include "tests/reports/ledger/ledger_report_fixture.h"

namespace {

namespace P = ReportParamsVc;

class ResultBalanceExportTest : public LedgerReportFixture {
protected:
    std::string Export(const char *accounts, const char *objects, uint16_t layout) {
        Select(22, {1, 3, 2024}, {31, 3, 2024});
        SetText(P::SelText7, accounts);
        SetText(P::ObjectSel, objects);
        SetWord(P::ColumnLayout, layout);
        SetWord(P::OutputKind, OutTextFile);
        std::remove(outPath.c_str());
        ScriptAnswerFile(outPath);
        EXPECT_TRUE(ExportOverTestJob(22));
        std::ifstream in(outPath, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
};

TEST_F(ResultBalanceExportTest, LinesByRangeAndColumns) {
    StoreLedger();
    ASSERT_FALSE(HasFatalFailure());
    StoreNamedObject("X1", "Other", "PRJ");
    Insert(Voucher::Number, 6, {12, 3, 2024}, "Two objects", {{"4010", "D1,X1", 5}, {"1910", "", -5}});
    // The period (March) and the year to March; the records of 3010.
    EXPECT_EQ(Export("3010:3010", "", 0),
              "3010\t\t-600,00\t-1400,00\t0,00\t\r\n"
              "3010\tD1\t-200,00\t-200,00\t0,00\t\r\n"
              "3010\tD2\t-400,00\t-400,00\t0,00\t\r\n\r\n");
    // Last year's March (nothing) and this March; objects D1 only (the
    // record of D1 takes 5 of the two-object row too).
    EXPECT_EQ(Export("3000:4999", "D1:D1", 1),
              "3010\tD1\t0,00\t-200,00\t0,00\t\r\n"
              "4010\tD1\t0,00\t25,00\t0,00\t\r\n\r\n");
    // Every account: the two-object record of 4010 is never written.
    const std::string all = Export("", "", 0);
    EXPECT_NE(all.find("1910\t\t"), std::string::npos);
    EXPECT_NE(all.find("2010\t\t"), std::string::npos);
    EXPECT_EQ(all.find("D1,X1"), std::string::npos);
    EXPECT_EQ(Export("9000:9999", "", 0), "\r\n");
}

}  // namespace
