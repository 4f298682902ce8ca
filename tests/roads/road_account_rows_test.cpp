// road_account_rows_test.cpp - account rows (register 9) entered as the
// voucher is: in the General ledger module the register popup opens the
// list of account rows and New a record, dated today. The cash row and a
// depreciation row (an account whose name is longer than a row keeps,
// shown whole) are typed as debits, the sales row is left for Operations >
// Balance row to fill as a credit, shown without a sign, and OK stores the
// record. The company file then holds it with its three rows, their names
// and its totals.
// Menus: in General ledger, Registers > Account rows, Operations > Balance
// row.
// Windows: Account rows list, Account row entry.
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <ctime>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "platform/script.h"

namespace {

constexpr int AccountRowsList = 254, AccountRows = 255;
namespace fs = std::filesystem;

// Today as the date fields take it typed.
std::string Today()
{
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[16];
    std::strftime(text, sizeof text, "%d.%m.%Y", &local);
    return text;
}

std::string Digits(const std::string &shown)
{
    std::string d;
    for (char c : shown)
        if (c >= '0' && c <= '9') d += c;
    return d;
}

TEST_F(RoadTest, AccountRowsBalancedByTheirButtonAndStored)
{
    const std::string company = StartNewCompany();
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    Menu("Module", "General ledger");
    Menu("Registers", "Account rows");
    Check("the register popup opens the list of account rows", [] {
        EXPECT_EQ(ActiveType(), AccountRowsList) << ActiveTitle();
        return ActiveType() == AccountRowsList;
    });
    ClickButton("New");
    Check("New opens an account-row entry", [] {
        EXPECT_EQ(ActiveType(), AccountRows) << ActiveTitle();
        return ActiveType() == AccountRows;
    });
    ClickField("Date");
    Type(Today());
    Key(PlKey::Tab);
    ClickField("Text");
    Type("Cash sale");
    ClickCell(0, 0);
    Type("1910");
    Key(PlKey::Tab);
    ClickCell(0, 3);
    Type("800");
    Key(PlKey::Tab);
    // An account whose name is longer than the 20 characters a row keeps.
    ClickCell(1, 0);
    Type("7832");
    Key(PlKey::Tab);
    ClickCell(1, 3);
    Type("200");
    Key(PlKey::Tab);
    ClickCell(2, 0);
    Type("3010");
    Key(PlKey::Tab);
    ClickCell(2, 4);
    Menu("Operations", "Balance row");
    Check("the last row balances the others; the credit shows as a credit and a long name whole", [this, shots] {
        EXPECT_EQ(Digits(Shown("Debit")), "100000") << Shown("Debit");
        EXPECT_EQ(Digits(Shown("Credit")), "100000") << Shown("Credit");
        EXPECT_EQ(Shown("Credit").find('-'), std::string::npos) << Shown("Credit");
        EXPECT_EQ(Digits(Shown("Balance")), "000") << Shown("Balance");
        EXPECT_EQ(CellUnder("Name", 0), "Cash");
        EXPECT_EQ(CellUnder("Name", 1), "Depreciation of equipment");
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "account_rows_window.png"));
        return true;
    });
    ClickOk();
    Check("OK stores the record", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return TitleTells("viewing");
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(SMVc::Number), 1u);
    std::vector<uint8_t> record(SMVc::Size), row(SMVc::Rows::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(SMVc::Number, 1, record.data(), &id));
    EXPECT_EQ(TextAt(record.data(), SMVc::Text), "Cash sale");
    ASSERT_EQ(MatrixRowCount(SMVc::Number, 0, record.data()), 3);
    // The row keeps the beginning of the long name.
    const char *accounts[] = {"1910", "7832", "3010"}, *names[] = {"Cash", "Depreciation of equi", "Sales"};
    const double amounts[] = {800, 200, -1000};
    for (int i = 0; i < 3; i++) {
        ASSERT_TRUE(MatrixRowRead(SMVc::Number, record.data(), i, row.data()));
        EXPECT_EQ(TextAt(row.data(), SMVc::Rows::Account), accounts[i]) << i;
        EXPECT_EQ(TextAt(row.data(), SMVc::Rows::Text), names[i]) << i;
        EXPECT_NEAR(RoadTest::AmountAt(row.data(), SMVc::Rows::Amount), amounts[i], 0.005) << i;
    }
    EXPECT_NEAR(RoadTest::AmountAt(record.data(), SMVc::Debit), 1000, 0.005);
    EXPECT_NEAR(RoadTest::AmountAt(record.data(), SMVc::Credit), -1000, 0.005);
    EXPECT_NEAR(RoadTest::AmountAt(record.data(), SMVc::Balance), 0, 0.005);
    CloseForCheck();
}

}  // namespace
