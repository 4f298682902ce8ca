// road_voucher_test.cpp - a voucher typed from a template, as a user
// enters one: the template is typed in the Voucher templates window of
// the General ledger module; the module's register popup opens the
// voucher list and New a voucher. The cash row is typed, the template's code in
// the next row writes the sales row (80 % of the cash, as a credit) and
// an output-VAT row left for its amount, which Operations > Balance row
// fills. A date typed year first is refused where it was typed: the
// cursor stays in Date, and OK stores nothing until the date proposed is
// typed back; OK then stores the voucher. The company file then holds the
// voucher on that date with its three rows, its totals and a zero sum of
// its rows.
// Menus: in General ledger, Registers > Vouchers, Operations > Balance row.
// Windows: Voucher list, Voucher.
#include "tests/roads/road_fixture.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "rules/ledger.h"

namespace {

constexpr int VoucherList = 118, Voucher = 117;
namespace fs = std::filesystem;

// The digits of a shown amount: the grouping of thousands is the
// company's format's.
std::string Digits(const std::string &shown)
{
    std::string d;
    for (char c : shown)
        if (c >= '0' && c <= '9') d += c;
    return d;
}

class VoucherRoad : public RoadTest {};

TEST_F(VoucherRoad, VoucherTypedFromTemplateIsBalancedAndStored)
{
    const std::string company = StartNewCompany();
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    Menu("Module", "General ledger");
    // The template: 80 % of the cash to sales, the rest left for the VAT
    // row (VAT code 1) that Balance row fills.
    TypeVoucherTemplate("SALE", "Cash sale", {{"3010", "", "", "", "80%"}, {"2610", "", "", "", "", "1"}});

    Menu("Registers", "Vouchers");
    Check("the register popup opens the voucher list", [] {
        EXPECT_EQ(ActiveType(), VoucherList) << ActiveTitle();
        return ActiveType() == VoucherList;
    });
    ClickButton("New");
    Check("New opens a voucher", [] {
        EXPECT_EQ(ActiveType(), Voucher) << ActiveTitle();
        return ActiveType() == Voucher;
    });
    ClickField("Text");
    Type("Cash sale");
    ClickCell(0, 0);
    Type("1910");
    Key(PlKey::Tab);
    ClickCell(0, 3);
    Type("1250");
    Key(PlKey::Tab);
    ClickCell(1, 0);
    Type("SALE");
    Key(PlKey::Tab);
    Check("the template writes its rows", [] {
        EXPECT_EQ(Digits(Shown("Debit")), "125000") << Shown("Debit");
        EXPECT_EQ(Digits(Shown("Credit")), "100000") << Shown("Credit");
        return true;
    });
    ClickCell(2, 4);
    Menu("Operations", "Balance row");
    Check("the last row balances the voucher", [this, shots] {
        EXPECT_EQ(Digits(Shown("Credit")), "125000") << Shown("Credit");
        EXPECT_EQ(Digits(Shown("Balance")), "000") << Shown("Balance");
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "voucher_window.png"));
        return true;
    });
    // A date typed year first: told how dates are typed, kept in Date.
    auto proposed = std::make_shared<std::string>();
    Check("read the date the voucher proposes", [proposed] {
        *proposed = Shown("Date");
        return !proposed->empty();
    });
    DateRefusedWhereTyped("Date", "2026-13-01");
    Check("the refused date keeps the voucher new with its rows", [] {
        EXPECT_TRUE(TitleTells("new")) << ActiveTitle();
        EXPECT_EQ(Digits(Shown("Balance")), "000");
        return true;
    });
    ClickField("Date");
    Key(PlKey::End);
    Key(PlKey::Home, true);
    Type("the date proposed", [proposed] { return *proposed; });
    OkStoresQuietly("the voucher");
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(TRVc::Number), 1u);
    std::vector<uint8_t> voucher(TRVc::Size), row(TRVc::Rows::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(TRVc::Number, 1, voucher.data(), &id));
    EXPECT_EQ(TextAt(voucher.data(), TRVc::Text), "Cash sale");
    const DateRec date = GetDate(voucher.data(), TRVc::TransDate);
    char shown[32];
    std::snprintf(shown, sizeof shown, "%02u.%02u.%04u", date.day, date.month, date.year);
    EXPECT_EQ(shown, *proposed);
    ASSERT_EQ(MatrixRowCount(TRVc::Number, 0, voucher.data()), 3);
    const char *accounts[] = {"1910", "3010", "2610"};
    const double amounts[] = {1250, -1000, -250};
    for (int i = 0; i < 3; i++) {
        ASSERT_TRUE(MatrixRowRead(TRVc::Number, voucher.data(), i, row.data()));
        EXPECT_EQ(TextAt(row.data(), TRVc::Rows::Account), accounts[i]) << i;
        EXPECT_NEAR(RoadTest::AmountAt(row.data(), TRVc::Rows::Amount), amounts[i], 0.005) << i;
    }
    EXPECT_EQ(TextAt(row.data(), TRVc::Rows::VatCode), "1");
    EXPECT_NEAR(RoadTest::AmountAt(voucher.data(), TRVc::DebitTotal), 1250, 0.005);
    EXPECT_NEAR(RoadTest::AmountAt(voucher.data(), TRVc::CreditTotal), -1250, 0.005);
    EXPECT_NEAR(RoadTest::AmountAt(voucher.data(), TRVc::Balance), 0, 0.005);
    // The rows as the ledger sums them.
    PackedDecimal sum;
    VoucherRowsSum(voucher.data(), &sum);
    EXPECT_TRUE(DecIsZero(&sum));
}

}  // namespace
