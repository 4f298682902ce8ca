// road_generated_documents_test.cpp - documents the program makes itself,
// taken on as a new user takes them: each one is approved or stored as it
// was made, without the user having to correct it first.
//
// The first road buys in the home currency. The demo chart keeps the
// creditors and the goods account; the vendor V1 with its purchase
// account and its terms for ITEM1 are typed into their windows. A
// purchase order typed in its window becomes a purchase invoice by
// Operations > Purchase invoice, which gets the vendor's invoice number
// and is approved with the rest as it came; the same
// order becomes a goods receipt by Operations > Purchase, which names the
// vendor. The payment suggestion then pays the invoice, and the payment
// it made is approved and posted as it came.
//
// The third road books three hours on a project with a time sheet and
// invoices the project by the function list's "Invoices from projects":
// the invoice shows the hours as a row of item, hours, price and sum.
//
// The second road runs the depreciation of an asset whose group has no
// account for the accumulated depreciation: the run tells which group
// lacks which account and stores nothing.
// Menus: in General ledger, Settings > Asset groups..., Registers >
// Depreciation models, Registers > Fixed assets; in Purchasing, Registers >
// Vendors, Registers > Purchase items, Registers > Purchase orders,
// Operations > Purchase invoice, Operations > Purchase, Registers >
// Outgoing payments; in Projects, Registers > Projects, Registers > Time
// sheets; File > Maintenance... > "depreciation voucher", File > Windows...
// > "Sales invoices".
// Windows: Purchase order list, Purchase order, Purchase invoice, Goods
// receipt, Outgoing payment list, Outgoing payment, Payment suggestion,
// Project, Project list, Time sheet, Time sheet list, Windows, Sales
// invoice list, Sales invoice, Invoices from projects (routine 9), Fixed
// asset, Fixed asset list, Purchase item list, Purchase item, Asset groups.
#include "tests/roads/road_fixture.h"
#include "tests/roads/road_text.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <memory>

#include "core/field_access.h"
#include "core/field_types.h"
#include "core/record_buffer.h"
#include "core/window_entries.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "shell/toolbar.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

constexpr int PurchaseOrderList = 289, PurchaseOrder = 290, PurchaseInvoice = 155, GoodsReceipt = 197,
              OutPaymentList = 156, OutPayment = 157, PaymentSuggestion = 313;
constexpr int Project = 259, ProjectList = 260, TimeSheet = 268, TimeSheetList = 269, WindowList = 12,
              SalesInvoiceList = 348, SalesInvoice = 347, ProjectInvoicesSel = 554;
constexpr int Asset = 325, AssetList = 542;
namespace fs = std::filesystem;

bool IsBlank(const uint8_t *base, uint32_t at) {
    PackedDecimal d = GetDec(base, at);
    return DecIsBlank(&d);
}

// The text row `row`, column `column` of the active window's matrix shows.
std::string CellShown(int row, int column) {
    int n = RoadTest::Active();
    const uint8_t *c = n ? WinDefEntry(n, WinPartMatrixColumns, column) : nullptr;
    const uint8_t *area = n ? WinDefEntry(n, WinPartMatrixAreas, 0) : nullptr;
    if (!c || !area || row >= WinMatrixRowCount(n)) return {};
    uint32_t rowSize = DefU16(area + MatrixEntry::RowSize);
    MemBlock rows = WinMatrixRows(n);
    const uint8_t *p = MemLock(rows);
    if (!p) return {};
    uint8_t text[256];
    FieldFormat(p + size_t(row) * rowSize + DefU32(c + ColumnEntry::Offset), DefU16(c + ColumnEntry::Type),
                DefU16(c + ColumnEntry::Format), text);
    MemUnlock(rows);
    return std::string((const char *)text + 1, text[0]);
}

// Today as the date fields take it.
std::string Today() {
    std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm t{};
    localtime_r(&now, &t);
    char text[40];
    std::snprintf(text, sizeof text, "%02d.%02d.%04d", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900);
    return text;
}

TEST_F(RoadTest, APurchaseOrdersInvoiceAndItsSuggestedPaymentAreApprovedAsMade) {
    const std::string company = StartNewCompany();
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    // The demo chart keeps the creditors and the goods account; the
    // vendor and its terms for ITEM1 are typed in their windows.
    TypeVendor({"V1", "Widget Works", "Fabriksgatan 3", "", "4010", "5050-1234"});
    NewFromList("Purchase items", WinTypes::PurchaseItemList, WinTypes::PurchaseItem);
    TypeFields({{"Item", "ITEM1"}, {"Vendor", "V1"}, {"Vendor's code", "WW-100"}});
    Retype("Text", "Widgets");
    Retype("Price", "40");
    ClickButton("Default source");
    OkStoresQuietly("the terms for ITEM1");

    Menu("Module", "Purchasing");
    Menu("Registers", "Purchase orders");
    Check("the register popup opens the purchase-order list", Opened(PurchaseOrderList));
    ClickButton("New");
    Check("New opens the purchase-order window", Opened(PurchaseOrder));
    ClickField("Vendor");
    Type("V1");
    Key(PlKey::Tab);
    ClickCell(0, 0);
    Type("ITEM1");
    Key(PlKey::Tab);
    Type("5");
    Key(PlKey::Tab);
    ClickOk();
    auto order = std::make_shared<std::string>();
    Check("OK stores the purchase order", [order] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        *order = Shown("Number");
        return TitleTells("viewing") && !order->empty();
    });

    Menu("Operations", "Purchase invoice");
    Check("the purchase invoice made from the order opens", [this, shots] {
        EXPECT_EQ(ActiveType(), PurchaseInvoice) << ActiveTitle();
        EXPECT_EQ(Shown("Name"), "Widget Works");
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "generated_purchase_invoice.png"));
        return ActiveType() == PurchaseInvoice;
    });
    ClickField("Vendor's invoice");
    Type("WW-5");
    Key(PlKey::Tab);
    ClickButton("Approved");
    ClickOk();
    Check("it is approved as it was made", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return Messages().empty();
    });
    Menu("Window", "Close all");

    Menu("Registers", "Purchase orders");
    Check("the list comes back", Opened(PurchaseOrderList));
    FindRow("the purchase order by its number", order);
    Key(PlKey::Return);
    Check("the purchase order opens again", Opened(PurchaseOrder));
    Menu("Operations", "Purchase");
    Check("the goods receipt made from the order names the vendor", [this, shots] {
        EXPECT_EQ(ActiveType(), GoodsReceipt) << ActiveTitle();
        EXPECT_EQ(Shown("Vendor"), "V1");
        EXPECT_EQ(Shown("Name"), "Widget Works");
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "generated_goods_receipt.png"));
        return true;
    });
    Menu("Window", "Close all");

    RunRoutine("Payment suggestion", PaymentSuggestion,
               {{"Due to", [] { return std::string("31.12.2099"); }},
                {"Payment date", [] { return Today(); }},
                {"Payment mode", [] { return std::string("K"); }}},
               "generated_payment_suggestion.png");
    Menu("Registers", "Outgoing payments");
    Check("the payment list opens", Opened(OutPaymentList));
    FindRow("the first payment", std::make_shared<std::string>(""));
    Key(PlKey::Return);
    Check("the suggested payment opens", [this, shots] {
        EXPECT_EQ(ActiveType(), OutPayment) << ActiveTitle();
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "generated_payment.png"));
        return ActiveType() == OutPayment;
    });
    ClickButton("Approved");
    ClickButton("Posted");
    ClickOk();
    Check("it is approved and posted as it was made", [] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(VIVc::Number), 1u);
    std::vector<uint8_t> invoice(VIVc::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(VIVc::Number, 1, invoice.data(), &id));
    EXPECT_EQ(GetU16(invoice.data(), VIVc::Approved), 1);
    EXPECT_TRUE(IsBlank(invoice.data(), VIVc::Rate)) << RoadTest::AmountAt(invoice.data(), VIVc::Rate);
    ASSERT_EQ(RegRecordCount(PUVc::Number), 1u);
    std::vector<uint8_t> receipt(PUVc::Size);
    ASSERT_TRUE(RecReadAt(PUVc::Number, 1, receipt.data(), &id));
    EXPECT_EQ(TextAt(receipt.data(), PUVc::VendName), "Widget Works");
    ASSERT_EQ(RegRecordCount(OPVc::Number), 1u);
    std::vector<uint8_t> payment(OPVc::Size);
    ASSERT_TRUE(RecReadAt(OPVc::Number, 1, payment.data(), &id));
    EXPECT_EQ(GetU16(payment.data(), OPVc::Approved), 1);
    EXPECT_EQ(GetU16(payment.data(), OPVc::Posted), 1);
    EXPECT_TRUE(IsBlank(payment.data(), OPVc::Rate)) << RoadTest::AmountAt(payment.data(), OPVc::Rate);
    EXPECT_NEAR(RoadTest::AmountAt(payment.data(), OPVc::RowsTotal), RoadTest::AmountAt(invoice.data(), VIVc::InvAmount), 0.005);
    EXPECT_EQ(RegRecordCount(APVc::Number), 0u) << "the invoice is paid";
    CloseForCheck();
}

TEST_F(RoadTest, ADepreciationRunWhoseGroupLacksAnAccountSaysWhich) {
    const std::string company = StartNewCompany();
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    // An asset group typed in Settings > Asset groups, below the demo's
    // own, without an account for the accumulated depreciation.
    Menu("Module", "General ledger");
    SettingsRowsStored("Asset groups...", WinTypes::SetAssetGroups, {{}, {"NOACC", "", "7832", "", "Machines"}});
    TypeStraightLineModel("SL20", "Machines, 5 years", "20");
    Menu("Registers", "Fixed assets");
    Check("the asset list opens", Opened(AssetList));
    ClickButton("New");
    Check("New opens the asset window", Opened(Asset));
    TypeAsset({"M1", "Lathe", "NOACC", "01.01.2024", "12000", "SL20"});
    RunDepreciation("01.01.2024", "30.06.2024");
    Check("the run says which group lacks which account", [this, shots] {
        EXPECT_TRUE(Told("accumulated-depreciation account")) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(Told("NOACC")) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "generated_depreciation_refused.png", true));
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    EXPECT_EQ(RegRecordCount(SMVc::Number), 0u) << "nothing is stored";
    CloseForCheck();
}

TEST_F(RoadTest, AProjectsHoursAreInvoicedAsItemHoursAndPrice) {
    const std::string company = StartNewCompany();
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    Menu("Module", "Projects");
    Menu("Registers", "Projects");
    Check("the project list opens", Opened(ProjectList));
    ClickButton("New");
    Check("New opens the project window", Opened(Project));
    ClickField("Customer");
    Type("C1");
    ClickField("Name");
    Type("Road works");
    OkStores("project");
    Menu("Registers", "Time sheets");
    Check("the time-sheet list opens", Opened(TimeSheetList));
    ClickButton("New");
    Check("New opens a time sheet", Opened(TimeSheet));
    ClickCell(0, 1);
    for (const char *text : {"ADMIN", "1", "ITEM1", "3"}) {
        Type(text);
        Key(PlKey::Tab);
    }
    ClickButton("Approved");
    OkStores("approved sheet");
    Menu("Window", "Close all");
    RunRoutine("Invoices from projects", ProjectInvoicesSel, {}, "generated_project_invoices.png");
    Check("the run names the invoice it made on the status line", [] {
        EXPECT_EQ(StatusLineText().rfind("1 invoice made, numbers ", 0), 0u) << StatusLineText();
        return true;
    });

    Menu("File", "Windows...");
    Check("the window list opens", [] { return ActiveType() == WindowList; });
    ClickRow("Sales invoices");
    Key(PlKey::Return);
    Check("the invoice list opens", Opened(SalesInvoiceList));
    Key(PlKey::Return);   // the list's first row is the only invoice
    Check("the project's invoice shows the hours as item, hours, price and sum", [this, shots] {
        EXPECT_EQ(ActiveType(), SalesInvoice) << ActiveTitle();
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "generated_project_invoice.png"));
        int found = -1;
        for (int r = 0; r < 20 && found < 0; r++)
            if (!CellShown(r, 6).empty() && CellShown(r, 6) != "0,00") found = r;
        if (found < 0) {
            ADD_FAILURE() << "no row has a sum";
            return true;
        }
        EXPECT_EQ(CellShown(found, 1), "ITEM1");
        EXPECT_EQ(CellShown(found, 2), "3");
        EXPECT_EQ(CellShown(found, 4), "100,00");
        EXPECT_EQ(CellShown(found, 6), "300,00");
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(IVVc::Number), 1u);
    std::vector<uint8_t> invoice(IVVc::Size), row(IVVc::Rows::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(IVVc::Number, 1, invoice.data(), &id));
    EXPECT_EQ(TextAt(invoice.data(), IVVc::Project), "1");
    EXPECT_DOUBLE_EQ(RoadTest::AmountAt(invoice.data(), IVVc::Net), 300);
    CloseForCheck();
}

}  // namespace
