// road_vendor_windows_test.cpp - the trade registers kept in their windows,
// as a new user keeps them in the demo company: payment terms of 60 days,
// a unit with its name in another language, a stock location booked on
// the demo stock account, and a bank abroad with its IBAN and BIC, each
// made from its list's New. Then a vendor: its purchase account, which
// the chart lacks, is refused on OK with the cursor on that field and
// nothing typed lost; the account put right, it is stored with its bank
// giro and its bank abroad. A second vendor is made by the shared step.
// The lists find the vendor and the terms again and open them as stored,
// and the company file holds every record as typed.
// Menus: in Purchasing, Registers > Payment terms, Registers > Units,
// Registers > Banks, Registers > Vendors; in Stock, Registers > Locations.
// Windows: Payment terms list, Payment terms, Unit list, Unit, Bank list,
// Bank, Location list, Location, Vendor list, Vendor.
#include "tests/roads/road_fixture.h"

#include "core/field_access.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "platform/script.h"

namespace {

class VendorWindowsRoad : public RoadTest {};

TEST_F(VendorWindowsRoad, TermsUnitLocationBankAndVendorsAreKeptInTheirWindows)
{
    const std::string company = StartNewCompany();
    Menu("Module", "Purchasing");

    NewFromList("Payment terms", WinTypes::PayTermsList, WinTypes::PayTerms);
    TypeFields({{"Code", "60"}, {"Name", "60 days net"}});
    Retype("Days", "60");
    Retype("Discount %", "2");
    Retype("Discount days", "10");
    KeepPicture("payment_terms");
    OkStoresQuietly("the payment terms");

    NewFromList("Units", WinTypes::UnitList, WinTypes::Units);
    TypeFields({{"Code", "BOX"}, {"Name", "Box"}});
    TypeCell(0, 0, "SV");
    TypeCell(0, 1, "Kartong");
    KeepPicture("unit");
    OkStoresQuietly("the unit");

    NewFromList("Banks", WinTypes::BankList, WinTypes::Banks);
    TypeFields({{"Code", "HANDB"},
          {"Name", "Handelsbank Frankfurt"},
          {"IBAN", "DE89370400440532013000"},
          {"BIC", "COBADEFFXXX"}});
    KeepPicture("bank");
    OkStoresQuietly("the bank");

    Menu("Module", "Stock");
    NewFromList("Locations", WinTypes::LocationList, WinTypes::Locations);
    TypeFields({{"Code", "NORTH"}, {"Name", "North store"}, {"Address", "Harbour road 4"}, {"Stock account", "1460"}});
    OkStoresQuietly("the location");

    // The vendor: its purchase account is not in the chart.
    Menu("Module", "Purchasing");
    NewFromList("Vendors", WinTypes::VendorList, WinTypes::Vendors);
    Retype("Code", "V10");
    TypeFields({{"Name", "Nordic Parts AB"}});
    ClickButton("Address");
    TypeFields({{"Address", "Box 44"}});
    ClickButton("Terms");
    TypeFields({{"Payment terms", "60"}, {"Purchase account", "9999"}, {"Currency", "EUR"}});
    ClickButton("Bank");
    TypeFields({{"Bank giro", "5050-1234"}, {"Bank abroad", "HANDB"}});
    KeepPicture("vendor_bank");
    ClickOk();
    Check("a purchase account the chart lacks is refused on that field", [] {
        EXPECT_TRUE(Told("account does not exist")) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("new")) << ActiveTitle();
        EXPECT_EQ(FocusLabel(), "Purchase account");
        EXPECT_EQ(Shown("Purchase account"), "9999");
        EXPECT_EQ(Shown("Name"), "Nordic Parts AB");
        EXPECT_EQ(Shown("Payment terms"), "60");
        EXPECT_EQ(Shown("Bank giro"), "5050-1234");
        return true;
    });
    Retype("Purchase account", "4010");
    KeepPicture("vendor_terms");
    OkStoresQuietly("the vendor");

    TypeVendor({"V11", "Office Supply Ltd", "Box 12", "30", "4010", "5566-7788"});

    // Found again in the lists and opened as stored.
    Menu("Registers", "Vendors");
    Check("the vendor list opens", Opened(WinTypes::VendorList));
    KeepPicture("vendor_list");
    OpenFromList("V10", WinTypes::Vendors);
    ClickButton("Bank");
    Check("the vendor shows its bank accounts", [] {
        EXPECT_EQ(Shown("Name"), "Nordic Parts AB");
        EXPECT_EQ(Shown("Bank giro"), "5050-1234");
        EXPECT_EQ(Shown("Bank abroad"), "HANDB");
        return true;
    });
    Menu("Window", "Close all");
    Menu("Registers", "Payment terms");
    Check("the terms list opens", Opened(WinTypes::PayTermsList));
    OpenFromList("60", WinTypes::PayTerms);
    Check("the terms show their days", [] {
        EXPECT_EQ(Shown("Name"), "60 days net");
        EXPECT_EQ(Shown("Days"), "60");
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> r;
    ASSERT_TRUE(FindByCode(PayTermsVc::Number, PayTermsVc::Code, 2, "60", &r));
    EXPECT_EQ(TextAt(r.data(), PayTermsVc::Text), "60 days net");
    EXPECT_EQ(GetI32(r.data(), PayTermsVc::Days), 60);
    EXPECT_EQ(GetI32(r.data(), PayTermsVc::DiscDays), 10);
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(r.data(), PayTermsVc::DiscPct), 2);
    EXPECT_EQ(GetU16(r.data(), PayTermsVc::Kind), 1);   // a new terms record is ordinary
    RecFreeMatrix(PayTermsVc::Number, r.data());

    ASSERT_TRUE(FindByCode(UnitVc::Number, UnitVc::Code, 5, "BOX", &r));
    EXPECT_EQ(TextAt(r.data(), UnitVc::Name), "Box");
    ASSERT_EQ(MatrixRowCount(UnitVc::Number, 0, r.data()), 1);
    uint8_t row[UnitVc::Rows::Size] = {};
    ASSERT_TRUE(MatrixRowRead(UnitVc::Number, r.data(), 0, row));
    EXPECT_EQ(TextAt(row, UnitVc::Rows::LangCode), "SV");
    EXPECT_EQ(TextAt(row, UnitVc::Rows::Text), "Kartong");
    RecFreeMatrix(UnitVc::Number, r.data());

    ASSERT_TRUE(FindByCode(BankVc::Number, BankVc::Code, 5, "HANDB", &r));
    EXPECT_EQ(TextAt(r.data(), BankVc::Name), "Handelsbank Frankfurt");
    EXPECT_EQ(TextAt(r.data(), BankVc::Iban), "DE89370400440532013000");
    EXPECT_EQ(TextAt(r.data(), BankVc::Bic), "COBADEFFXXX");

    ASSERT_TRUE(FindByCode(LocationVc::Number, LocationVc::Code, 10, "NORTH", &r));
    EXPECT_EQ(TextAt(r.data(), LocationVc::Addr0), "North store");
    EXPECT_EQ(TextAt(r.data(), LocationVc::Addr1), "Harbour road 4");
    EXPECT_EQ(TextAt(r.data(), LocationVc::StockAcc), "1460");

    ASSERT_TRUE(FindByCode(VEVc::Number, VEVc::Code, 20, "V10", &r));
    EXPECT_EQ(TextAt(r.data(), VEVc::Name), "Nordic Parts AB");
    EXPECT_EQ(TextAt(r.data(), VEVc::Addr1), "Box 44");
    EXPECT_EQ(TextAt(r.data(), VEVc::PayTerms), "60");
    EXPECT_EQ(TextAt(r.data(), VEVc::PurchAcc), "4010");
    EXPECT_EQ(TextAt(r.data(), VEVc::CurncyCode), "EUR");
    EXPECT_EQ(TextAt(r.data(), VEVc::BankGiro), "5050-1234");
    EXPECT_EQ(TextAt(r.data(), VEVc::BankCode), "HANDB");

    ASSERT_TRUE(FindByCode(VEVc::Number, VEVc::Code, 20, "V11", &r));
    EXPECT_EQ(TextAt(r.data(), VEVc::Name), "Office Supply Ltd");
    EXPECT_EQ(TextAt(r.data(), VEVc::PayTerms), "30");
    EXPECT_EQ(TextAt(r.data(), VEVc::BankGiro), "5566-7788");
    EXPECT_EQ(RegRecordCount(VEVc::Number), 2u);
    CloseForCheck();
}

// Codes a vendor names must exist: unknown payment terms, currency and
// delivery terms are each refused on their own field, and the vendor is
// stored once they are put right or emptied.
TEST_F(VendorWindowsRoad, UnknownTermsCurrencyAndDeliveryTermsAreRefusedOnTheirFields)
{
    const std::string company = StartNewCompany();
    Menu("Module", "Purchasing");
    NewFromList("Vendors", WinTypes::VendorList, WinTypes::Vendors);
    Retype("Code", "V20");
    TypeFields({{"Name", "Coastal Freight"}});
    ClickButton("Terms");
    TypeFields({{"Payment terms", "99"}, {"Currency", "XYZ"}, {"Delivery terms", "FOB"}});
    ClickOk();
    Check("unknown payment terms are refused", [] {
        EXPECT_TRUE(Told("payment terms")) << ::testing::PrintToString(Messages());
        EXPECT_EQ(FocusLabel(), "Payment terms");
        return TitleTells("new");
    });
    Retype("Payment terms", "30");
    ClickOk();
    Check("an unknown currency is refused", [] {
        EXPECT_TRUE(Told("Unknown currency")) << ::testing::PrintToString(Messages());
        EXPECT_EQ(FocusLabel(), "Currency");
        return TitleTells("new");
    });
    Retype("Currency", "USD");
    ClickOk();
    Check("unknown delivery terms are refused", [] {
        EXPECT_TRUE(Told("delivery terms")) << ::testing::PrintToString(Messages());
        EXPECT_EQ(FocusLabel(), "Delivery terms");
        EXPECT_EQ(Shown("Currency"), "USD");
        return TitleTells("new");
    });
    // The delivery terms emptied: selected and deleted.
    ClickField("Delivery terms");
    Key(PlKey::End);
    Key(PlKey::Home, true);
    Key(PlKey::Delete);
    OkStoresQuietly("the vendor");
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> r;
    ASSERT_TRUE(FindByCode(VEVc::Number, VEVc::Code, 20, "V20", &r));
    EXPECT_EQ(TextAt(r.data(), VEVc::PayTerms), "30");
    EXPECT_EQ(TextAt(r.data(), VEVc::CurncyCode), "USD");
    EXPECT_EQ(TextAt(r.data(), VEVc::DelTerms), "");
    CloseForCheck();
}

}  // namespace
