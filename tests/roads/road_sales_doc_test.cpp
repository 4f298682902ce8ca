// road_sales_doc_test.cpp - a sales document of register 127 as a user
// types it: Registers > Sales documents opens the list, New the document
// window; the customer C1 fills the name, an item row is typed and its
// sum follows a changed discount; OK stores it and the list opens it
// again. The
// document and its row are in the company file.
// Menus: in Sales, Registers > Sales documents.
// Windows: Sales document, Sales document list, Purchase item list.
#include "tests/roads/road_fixture.h"

#include <cstdlib>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"

namespace {

constexpr int SalesDoc = 557, SalesDocList = 405;
constexpr int ColItem = 0, ColQty = 1, ColDiscount = 4;
namespace fs = std::filesystem;

TEST_F(RoadTest, SalesDocumentIsTypedStoredAndListed)
{
    const std::string company = StartNewCompany();
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    Menu("Module", "Sales");
    Menu("Registers", "Sales documents");
    Check("the register menu opens the document list", [] {
        EXPECT_EQ(ActiveType(), SalesDocList) << ActiveTitle();
        return ActiveType() == SalesDocList;
    });
    ClickButton("New");
    Check("New opens the document window", [] {
        EXPECT_EQ(ActiveType(), SalesDoc) << ActiveTitle();
        return ActiveType() == SalesDoc;
    });
    ClickField("Customer");
    Type("C1");
    Key(PlKey::Tab);
    Check("the customer fills in the name", [] {
        EXPECT_EQ(Shown("Name"), "First Customer");
        return true;
    });
    ClickField("Date");
    Type("01.02.2026");
    Key(PlKey::Tab);
    ClickCell(0, ColItem);
    Type("ITEM1");
    Key(PlKey::Tab);
    Type("2");
    Key(PlKey::Tab);
    Check("the row is priced and summed", [] {
        EXPECT_EQ(Shown("Net"), "200,00");
        return true;
    });
    ClickCell(0, ColDiscount);
    Type("10");
    Key(PlKey::Tab);
    Check("a changed discount gives the row sum again", [] {
        EXPECT_EQ(Shown("Net"), "180,00");
        return true;
    });
    Do("keep a picture of the document window", [this, shots] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "sales_doc_window.png"));
        return true;
    });
    ClickOk();
    Check("OK stores the document", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return true;
    });
    Menu("Window", "Close all");
    Menu("Registers", "Sales documents");
    Check("the list shows the document", [this, shots] {
        EXPECT_EQ(ActiveType(), SalesDocList) << ActiveTitle();
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "sales_doc_list.png"));
        return ActiveType() == SalesDocList;
    });
    Key(PlKey::Return);
    Check("OK in the list opens the stored document with its row and totals", [] {
        EXPECT_EQ(ActiveType(), SalesDoc) << ActiveTitle();
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        EXPECT_EQ(Shown("Name"), "First Customer");
        EXPECT_EQ(Shown("Date"), "01.02.2026");
        EXPECT_EQ(Shown("Net"), "180,00");
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(SalesDocVc::Number), 1u);
    std::vector<uint8_t> doc(SalesDocVc::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(SalesDocVc::Number, 1, doc.data(), &id));
    EXPECT_EQ(TextAt(doc.data(), SalesDocVc::CustCode), "C1");
    EXPECT_EQ(TextAt(doc.data(), SalesDocVc::CustName), "First Customer");
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(doc.data(), SalesDocVc::NetTotal), 180);
    ASSERT_EQ(MatrixRowCount(SalesDocVc::Number, 0, doc.data()), 1);
    std::vector<uint8_t> row(SalesDocVc::Rows::Size);
    ASSERT_TRUE(MatrixRowRead(SalesDocVc::Number, doc.data(), 0, row.data()));
    EXPECT_EQ(TextAt(row.data(), SalesDocVc::Rows::ItemCode), "ITEM1");
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(row.data(), SalesDocVc::Rows::Quantity), 2);
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(row.data(), SalesDocVc::Rows::Sum), 180);
}

}  // namespace
