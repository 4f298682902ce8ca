// register_document_values_test.cpp - the small documents' values: a time
// sheet's and a production's rows, a project's customer (printing nothing
// without one) and its text lines, asset and customer label sheets whose
// cells beyond the records print empty, and the town of a customer's
// last address line.
#include "tests/output/document_values_fixture.h"
#include "tests/output/test_job.h"

#include <memory>
#include <vector>

namespace {

class RegisterDocumentValues : public DocumentValues {};

TEST_F(RegisterDocumentValues, TimeSheetAndProductionRows) {
    RuleRecord t(TimeSheetVc::Number);
    PutI32(t.record, TimeSheetVc::SerNr, 12);
    PutText(t.record, TimeSheetVc::Comment, 60, "Week 7");
    uint8_t row[TimeSheetVc::Rows::Size] = {};
    PutText(row, TimeSheetVc::Rows::ItemCode, 20, "SERVICE");
    PutText(row, TimeSheetVc::Rows::Project, 20, "P1");
    PutText(row, TimeSheetVc::Rows::Person, 5, "AB");
    PutDec(row, TimeSheetVc::Rows::Quantity, Dec(7.5));
    ASSERT_TRUE(MatrixRowPut(TimeSheetVc::Number, 0, t.record, 0, row));
    ASSERT_NO_FATAL_FAILURE(Load(-29, t.record));
    EXPECT_EQ(Value(72), "12");
    EXPECT_EQ(Value(69), "Week 7");
    EXPECT_EQ(Value(8, 0), "SERVICE");
    EXPECT_EQ(Value(13, 0), Typed(7.5, FtAmount3));
    EXPECT_EQ(Value(270, 0), "P1");
    EXPECT_EQ(Value(350, 0), "AB");
    EXPECT_EQ(Value(8, 1), "");                             // no second row
    EXPECT_EQ(Value(79), " A own");
    Unload();

    RuleRecord p(ProductionVc::Number);
    PutI32(p.record, ProductionVc::SerNr, 5);
    PutText(p.record, ProductionVc::ItemCode, 20, "KIT");
    PutDec(p.record, ProductionVc::Quantity, Dec(3));
    uint8_t prow[ProductionVc::Rows::Size] = {};
    PutText(prow, ProductionVc::Rows::ItemCode, 20, "LEG");
    PutText(prow, ProductionVc::Rows::ItemName, 60, "Table leg");
    PutDec(prow, ProductionVc::Rows::QtyUsed, Dec(4));
    ASSERT_TRUE(MatrixRowPut(ProductionVc::Number, 0, p.record, 0, prow));
    ASSERT_NO_FATAL_FAILURE(Load(-28, p.record));
    EXPECT_EQ(Value(343), "5");
    EXPECT_EQ(Value(341), "KIT");
    EXPECT_EQ(Value(204), Typed(3));
    EXPECT_EQ(Value(160, 0), "Table leg");
    EXPECT_EQ(Value(337, 0), Typed(4));
    EXPECT_EQ(Value(160, 3), "");
}

TEST_F(RegisterDocumentValues, ProjectCustomerAndTextLines) {
    RuleRecord j(ProjectVc::Number);
    PutText(j.record, ProjectVc::Code, 20, "P1");
    PutText(j.record, ProjectVc::Desc2, 60, "Second line");
    PutText(j.record, ProjectVc::TextLine9, 60, "Last text");
    uint8_t row[ProjectVc::Rows::Size] = {};
    PutI32(row, ProjectVc::Rows::InvoiceNr, -1);
    PutText(row, ProjectVc::Rows::Text, 60, "Stage one");
    ASSERT_TRUE(MatrixRowPut(ProjectVc::Number, 0, j.record, 0, row));
    ASSERT_NO_FATAL_FAILURE(Load(-24, j.record));
    EXPECT_EQ(Value(2, 1), "");                             // no customer
    EXPECT_EQ(Value(270), "P1");
    EXPECT_EQ(Value(265, 1), "Second line");
    EXPECT_EQ(Value(265, 3), "");                           // three description lines only
    EXPECT_EQ(Value(266, 9), "Last text");
    EXPECT_EQ(Value(266, 10), "");
    EXPECT_EQ(Value(263, 0), "Stage one");
    EXPECT_EQ(Value(264, 0), "");                           // not invoiced yet
    Unload();
    PutText(j.record, ProjectVc::CustCode, 20, "C1");
    ASSERT_NO_FATAL_FAILURE(Load(-24, j.record));
    EXPECT_EQ(Value(2, 1), "First Customer");
    EXPECT_EQ(Value(2, 3), "222 33 Malm\xF6");
    EXPECT_EQ(Value(2, 4), "");
    Unload();
    PutText(j.record, ProjectVc::CustCode, 20, "GONE");
    ASSERT_NO_FATAL_FAILURE(Load(-24, j.record));
    EXPECT_EQ(Value(2, 1), "");                             // the customer is missing
}

TEST_F(RegisterDocumentValues, LabelSheetsStopAtTheirRecords) {
    std::vector<uint8_t> assets(3 * AssetVc::Size, 0);
    const char *codes[3] = {"A1", "A2", "A3"};
    for (int i = 0; i < 3; i++) PutText(assets.data() + i * AssetVc::Size, AssetVc::Code, 10, codes[i]);
    PutText(assets.data() + AssetVc::Size, AssetVc::Name, 60, "Lathe");
    FormItemCount = 3;
    ASSERT_NO_FATAL_FAILURE(Load(-25, assets.data()));
    EXPECT_EQ(Value(271, 0), "A1");
    EXPECT_EQ(Value(276, 1), "Lathe");
    EXPECT_EQ(Value(271, 2), "A3");
    EXPECT_EQ(Value(271, 3), "");                           // a 2 x 8 sheet has cells past the third asset
    EXPECT_EQ(Value(271, 15), "");
    EXPECT_EQ(Value(271, -1), "");
    Unload();

    std::vector<uint8_t> customers(2 * CUVc::Size, 0);
    PutText(customers.data(), CUVc::Name, 60, "Alpha");
    PutText(customers.data() + CUVc::Size, CUVc::Name, 60, "Beta");
    PutText(customers.data() + CUVc::Size, CUVc::Code, 20, "B");
    FormItemCount = 2;
    ASSERT_NO_FATAL_FAILURE(Load(-13, customers.data()));
    EXPECT_EQ(Value(128, 0), "Alpha");
    EXPECT_EQ(Value(79, 1), "B");
    EXPECT_EQ(Value(128, 2), "");
    EXPECT_EQ(Value(115, 0), " A own");                     // the town is the single document's only
}

TEST_F(RegisterDocumentValues, CustomerDocumentTownAndDays) {
    std::vector<uint8_t> k(CUVc::Size, 0);
    PutText(k.data(), CUVc::Code, 20, "C9");
    PutText(k.data(), CUVc::DelAddr1, 60, "12345 Town");
    ASSERT_NO_FATAL_FAILURE(Load(-26, k.data()));
    EXPECT_EQ(Value(115), "Town");
    EXPECT_EQ(Value(79), "C9");
    PutText(k.data(), CUVc::DelAddr3, 60, "S-111 22 Big City");
    EXPECT_EQ(Value(115), "S-111 22 Big City");             // a letter ends the postal part at once
    PutText(k.data(), CUVc::DelAddr3, 60, "");
    PutText(k.data(), CUVc::DelAddr2, 60, "999");
    EXPECT_EQ(Value(115), "");                              // digits only: no town
    PutI32(TestJob, ReportParamsVc::NumberFrom, 30);
    EXPECT_EQ(Value(13), "30");
    PutI32(TestJob, ReportParamsVc::NumberFrom, -1);
    EXPECT_EQ(Value(13), "");
}

}  // namespace
