// stock_lists_test.cpp - the register lists of the stock reports over the
// stock history of stock_report_fixture.h: the customer list (3) as cards
// and lines by code, name and category, items by inventory code (74), the
// stock movements (96), locations (98), recipes (78), purchase rows by
// vendor (114), and the day's journals in one run (87) with its members
// chosen by their flags.
#include "core/ui_text.h"
#include "reports/frame/report_run.h"
#include "reports/sales/sales_reports.h"
#include "reports/stock/stock_reports.h"
#include "tests/output/test_job_body.h"
#include "tests/output/test_job.h"
#include "tests/reports/stock/stock_report_fixture.h"

namespace {

namespace P = ReportParamsVc;

class StockListsTest : public StockReportFixture {
protected:
    void SetUp() override {
        StockReportFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreStockHistory();
        ASSERT_FALSE(HasFatalFailure());
        SetCustomer("C2", "CAT", "S2", "Rue 5, Paris");
        SetInvCode("ITEM1", "B-10", "pcs");
        SetInvCode("ITEM2", "A-20", "pcs");
        SetInvCode("SER1", "B-10", "pcs");
        StoreRecord(LocationVc::Number, [](uint8_t *r) {
            PutText(r, LocationVc::Code, 10, "shop2");
            PutText(r, LocationVc::Addr0, 60, "Second shop");
            PutText(r, LocationVc::Addr1, 60, "High street 1");
        });
        PurchaseInvoice(1, "V1", {3, 3, 2024}, 1, {{"ITEM1", "P1", 5, 275, "Blue widgets for the project"}, {"", "", 0, 40, "Freight"}});
        PurchaseInvoice(2, "V1", {4, 3, 2024}, 3, {{"ITEM1", "P1", 1, 55, "Returned"}});
        PurchaseInvoice(3, "V2", {1, 4, 2024}, 1, {{"ITEM2", "", 10, 180, "Red widgets"}});
    }
    void SetCustomer(const char *code, const char *group, const char *salesman, const char *town) {
        RuleRecord r(CUVc::Number);
        PutText(r.record, CUVc::Code, 20, code);
        uint32_t recid = 0, position = 0;
        ASSERT_TRUE(RecFind(CUVc::Number, r.record, 1, 1, &recid, &position));
        PutText(r.record, CUVc::CustGroup, 5, group);
        PutText(r.record, CUVc::SalesMan, 5, salesman);
        PutText(r.record, CUVc::Addr3, 60, town);
        PutText(r.record, CUVc::DelAddr1, 60, "Warehouse 9");
        ASSERT_TRUE(RecStore(CUVc::Number, r.record, 1, &recid));
    }
    void SetInvCode(const char *item, const char *inv, const char *unit) {
        RuleRecord r(INVc::Number);
        PutText(r.record, INVc::Code, 20, item);
        uint32_t recid = 0, position = 0;
        ASSERT_TRUE(RecFind(INVc::Number, r.record, 1, 1, &recid, &position));
        PutText(r.record, INVc::InvCode, 20, inv);
        PutText(r.record, INVc::Unit, 10, unit);
        ASSERT_TRUE(RecStore(INVc::Number, r.record, 1, &recid));
    }
    struct Row {
        const char *item, *project;
        double qty, amount;
        const char *text;
    };
    void PurchaseInvoice(uint32_t serial, const char *vendor, DateRec date, uint16_t kind,
                         std::initializer_list<Row> rows) {
        StoreRecord(VIVc::Number, [&](uint8_t *r) {
            PutU32(r, VIVc::SerNr, serial);
            PutText(r, VIVc::VendCode, 20, vendor);
            PutDate(r, VIVc::InvDate, date);
            PutDate(r, VIVc::TransDate, date);
            PutU16(r, VIVc::InvType, kind);
            for (const Row &x : rows) {
                uint8_t row[VIVc::Rows::Size] = {};
                PutU16(row, VIVc::Rows::Kind, 1);
                PutText(row, VIVc::Rows::ItemCode, 20, x.item);
                PutText(row, VIVc::Rows::Project, 20, x.project);
                PutDec(row, VIVc::Rows::Quantity, Dec(x.qty));
                PutDec(row, VIVc::Rows::Amount, Dec(x.amount));
                PutText(row, VIVc::Rows::Text, 60, x.text);
                ASSERT_TRUE(MatrixRowPut(VIVc::Number, 0, r, MatrixRowCount(VIVc::Number, 0, r), row));
            }
        });
    }
    static std::string FileText(const std::string &path) {
        std::ifstream in(path, std::ios::binary);
        std::ostringstream got;
        got << in.rdbuf();
        return got.str();
    }
    static void Params(int number, uint16_t layout = 0) {
        ResetParams();
        SetWord(P::ReportNumber, uint16_t(number));
        SetWord(P::ReportLayout, layout);
    }
};

// Report 3: cards by code, lines by name from a name on, lines by
// category with a heading per category, one salesman's customers, and a
// range of nobody that prints the count 0.
TEST_F(StockListsTest, CustomerList) {
    const struct {
        const char *golden;
        uint16_t lines, order;
        const char *range, *salesman, *group;
    } runs[] = {
        {"report3_cards", 0, 0, "", "", ""},         {"report3_by_name", 1, 1, "F:Z", "", ""},
        {"report3_by_category", 1, 2, "", "", ""},   {"report3_salesman", 1, 0, "", "S2", ""},
        {"report3_category", 0, 0, "C1:C9", "", "CAT"}, {"report3_nobody", 1, 0, "X1:X9", "", ""},
    };
    for (const auto &r : runs) {
        SCOPED_TRACE(r.golden);
        Params(3);
        SetWord(P::Option1, r.lines);
        SetWord(P::Option2, r.order);
        SetText(P::SelText1, r.range);
        SetText(P::SelText2, r.salesman);
        SetText(P::SelText3, r.group);
        ExpectGolden(r.golden, RunText(CustomerListReport));
    }
}

// Report 74 by item code and by inventory code; an upper inventory code
// ends the walk by inventory code as the upper item code ends the other.
TEST_F(StockListsTest, ItemsByInventoryCode) {
    Params(74, 0);
    ExpectGolden("report74_by_item", RunText(ItemInvCodeReport));
    Params(74, 1);
    ExpectGolden("report74_by_inventory_code", RunText(ItemInvCodeReport));
    Params(74, 1);
    SetText(P::SelText2, ":A-99");
    const std::string text = RunText(ItemInvCodeReport);
    EXPECT_NE(text.find("ITEM2"), std::string::npos) << text;
    EXPECT_EQ(text.find("ITEM1"), std::string::npos) << "past the upper inventory code\n" << text;
}

// Reports 96, 98, 78 and 114 over their registers, each with a range
// that takes part of them.
TEST_F(StockListsTest, RegisterLists) {
    Params(96);
    ExpectGolden("report96_all", RunText(StockMovementReport));
    Params(96);
    SetText(P::SelText1, "2:9");
    ExpectGolden("report96_none", RunText(StockMovementReport));
    Params(98);
    ExpectGolden("report98_all", RunText(LocationReport));
    Params(98);
    SetText(P::SelText1, ":SHOP");   // "shop2" lies past "SHOP" whatever its case
    const std::string locations = RunText(LocationReport);
    EXPECT_NE(locations.find("SHOP"), std::string::npos);
    EXPECT_EQ(locations.find("shop2"), std::string::npos) << locations;
    Params(78);
    ExpectGolden("report78_all", RunText(RecipeReport));
    Params(78);
    SetText(P::SelText2, "ITEM2:ITEM2");
    ExpectGolden("report78_with_item2", RunText(RecipeReport));
    Params(114);
    ExpectGolden("report114_all", RunText(PurchInvoiceByVendorCode));
    Params(114);
    SetText(P::SelText1, "V1");
    SetPeriod({1, 3, 2024}, {31, 3, 2024});
    SetText(P::SelText3, "P1");
    ExpectGolden("report114_v1_project", RunText(PurchInvoiceByVendorCode));
}

// Report 87 runs only the members asked for, in its own order, and gives
// the job record back as it was; a member not printed in this version is
// told once, the others still run, each to a file of its own.
TEST_F(StockListsTest, DayJournals) {
    Params(87);
    SetWord(P::Option13, 1);
    SetPeriod({1, 1, 2024}, {31, 3, 2024});
    SetWord(P::OutputKind, OutTextFile);
    std::vector<uint8_t> before(TestJob, TestJob + ReportParamsSize);
    shown.clear();
    ExpectGolden("report87_payments", RunText(Report87Batch));
    EXPECT_TRUE(shown.empty()) << shown.front();
    EXPECT_TRUE(std::equal(before.begin(), before.end(), TestJob));

    // What the two members print run alone.
    Params(1);
    SetPeriod({1, 1, 2024}, {31, 3, 2024});
    SetWord(P::Option3, 1);
    for (uint32_t kind : {P::Option4, P::Option5, P::Option6, P::Option7}) SetWord(kind, 1);
    const std::string journal = RunText(SalesJournalReport);
    Params(13);
    SetPeriod({1, 1, 2024}, {31, 3, 2024});
    SetWord(P::Option3, 1);
    const std::string payments = RunText(ReceiptJournalReport);
    ASSERT_NE(journal, "");
    ASSERT_NE(payments, "");

    Params(87);
    SetWord(P::Option12, 1);
    SetWord(P::Option13, 1);
    SetPeriod({1, 1, 2024}, {31, 3, 2024});
    // The file dialog's answers are taken in turn: the first member's file
    // is asked first.
    const std::string first = outPath + ".1";
    std::remove(first.c_str());
    ScriptAnswerFile(first);
    shown.clear();
    EXPECT_EQ(RunText(Report87Batch), payments) << "the payments in the file chosen second";
    EXPECT_TRUE(shown.empty()) << shown[0];
    EXPECT_EQ(FileText(first), journal) << "the sales journal first, in the file chosen first";
    std::remove(first.c_str());

    // No second file chosen: the run ends after the first member.
    Params(87);
    SetWord(P::Option12, 1);
    SetWord(P::Option13, 1);
    SetPeriod({1, 1, 2024}, {31, 3, 2024});
    SetWord(P::OutputKind, OutTextFile);
    std::remove(outPath.c_str());
    ScriptAnswerFile(outPath);
    RepOpenFileDevice();
    ASSERT_EQ(RepStopped, 0);
    ScriptAnswerFile("");
    OverTestJob<Report87Batch>();
    EXPECT_EQ(RepStopped, 1);
    EXPECT_EQ(FileText(outPath), journal);
}

}  // namespace
