// road_vendor_reports_test.cpp - what the company owes a vendor, as a
// purchase clerk reads it: the creditors account of the demo data's
// chart and the vendor are typed into their windows, an approved invoice of 1 000 for
// V1 is entered in its window, and in the Purchasing module Ctrl+R lists the purchase reports; the vendor
// ageing's selection window takes V1 with its balance only, OK shows it
// in the preview, and Ctrl+P prints it to a PDF whose text holds the
// vendor and the 1 000 it is owed. The company file then holds the open
// item those figures came from. The vendor statements with "Vendor
// currency" ticked head their page with what it holds: amounts not
// converted, in the vendors' own currencies. The purchase-invoice
// journal's window opens from the same list, the transaction journal's
// from the General ledger's.
// Menus: in Purchasing, Settings > Purchase accounts..., Registers >
// Vendors, Registers > Purchase invoices; File > Reports (Ctrl+R) >
// "Purchase Invoice Journal", File > Reports (Ctrl+R) > "Vendor Ageing",
// File > Reports (Ctrl+R) > "Vendor Statements", File > Reports (Ctrl+R) >
// "Transaction Journal".
// Windows: Reports, Purchase invoice list, Purchase invoice, Purchase
// invoice journal selection, Vendor ageing selection, Vendor statement
// selection, Transaction journal selection.
#include "tests/roads/road_fixture.h"
#include "tests/roads/road_text.h"

#include <cstdlib>
#include <memory>

#include "core/decimal.h"
#include "core/field_access.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"

namespace {

constexpr int ReportList = 6, Preview = 5, PurchaseInvoiceList = 154, PurchaseInvoice = 155;
constexpr int PurchInvJournalSel = 416, VendorAgeingSel = 417, TransJournalSel = 418;
namespace fs = std::filesystem;

TEST_F(RoadTest, TheVendorAgeingShowsAnApprovedInvoice) {
    const std::string company = StartNewCompany();
    // The demo data's chart holds the creditors (2440) and the rent (5010).
    TypeCreditorsAccount("2440");
    TypeVendor({"V1", "Office Supply Ltd", "Box 12", "", "", "5050-1234", "5050-1234"});

    // An approved invoice of 1 000 for V1.
    Menu("Module", "Purchasing");
    Menu("Registers", "Purchase invoices");
    Check("the register popup opens the purchase-invoice list", Opened(PurchaseInvoiceList));
    ClickButton("New");
    Check("New opens a purchase invoice", Opened(PurchaseInvoice));
    ClickField("Vendor");
    Type("V1");
    Key(PlKey::Tab);
    ClickField("Vendor's invoice");
    Type("A-77");
    ClickField("Total");
    Type("1000");
    Key(PlKey::Tab);
    ClickCell(0, 0);
    Type("5010");
    Key(PlKey::Tab);
    ClickCell(0, 3);
    Type("1000");
    Key(PlKey::Tab);
    ClickButton("Approved");
    OkStores("approved invoice");
    Menu("Window", "Close all");

    // The journal's window opens from the purchase reports.
    Key('R', false, true);
    Check("Ctrl+R opens the report list", Opened(ReportList));
    ClickRow("Purchase Invoice Journal");
    Key(PlKey::Return);
    Check("the journal's selection window opens", Opened(PurchInvJournalSel));
    Menu("Window", "Close all");

    auto text = ReportToPreviewAndPdf("Vendor Ageing", VendorAgeingSel, [this] {
        ClickField("Vendors");
        Type("V1");
        ClickButton("Balances");
    }, "vendor_ageing");
    Menu("Window", "Close all");
    auto statements = ReportToPreviewAndPdf("Vendor Statements", WinTypes::VendorStatementSel, [this] {
        ClickField("Vendors");
        Type("V1");
        ClickButton("Vendor currency");
    }, "vendor_statements_currency");
    Menu("Window", "Close all");

    // The transaction journal belongs to the General ledger's reports.
    Menu("Module", "General ledger");
    ReportWindowOpens("Transaction Journal", TransJournalSel);
    EXPECT_EQ(Run(), 0);
    EXPECT_NE(text->find("Vendor Ageing"), std::string::npos) << *text;
    EXPECT_NE(text->find("Office Supply Ltd"), std::string::npos) << *text;
    EXPECT_NE(text->find("1000,00"), std::string::npos) << *text;
    EXPECT_NE(statements->find("Office Supply Ltd"), std::string::npos) << *statements;
    EXPECT_NE(statements->find("Amounts in their own currencies, not converted"), std::string::npos) << *statements;
    EXPECT_EQ(statements->find("zero balances"), std::string::npos) << *statements;

    // The balance printed is the stored open item of V1.
    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(APVc::Number), 1u);
    std::vector<uint8_t> item(APVc::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(APVc::Number, 1, item.data(), &id));
    EXPECT_EQ(TextAt(item.data(), APVc::VendCode), "V1");
    PackedDecimal open = GetDec(item.data(), APVc::OpenAmount);
    EXPECT_EQ(DecToDouble(&open), 1000);
    CloseForCheck();
}

}  // namespace
