// road_purchase_operations_test.cpp - the runs the purchasing and stock
// windows offer in their Operations menus, as a user starts them. A
// vendor's invoice of 1 000 is typed and approved; the payment list opens
// the payment suggestion. A new payment pays 600 of the invoice on its
// first row, opens the payment suggestion while it is being typed, and
// its Discount row books the 400 still open on a row below; stored, it is
// approved from its Operations menu (which would print its payment
// document, but the demo names no form for one). The production list opens the
// production suggestion. The company file then holds the approved
// payment with its two rows.
// Menus: in Purchasing, Registers > Vendors, Registers > Purchase
// invoices, Registers > Outgoing payments, Operations > Payment
// suggestion, Operations > Discount row, Operations > Approve; in Stock,
// Registers > Productions, Operations > Production suggestion.
// Windows: Vendor, Vendor list, Purchase invoice, Purchase invoice list,
// Outgoing payment list, Outgoing payment, Payment suggestion, Production
// list, Production suggestion.
#include "tests/roads/road_fixture.h"

#include <memory>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "platform/script.h"

namespace {

constexpr int PaymentSuggestion = 313, ProductionList = 121, ProductionSuggestion = 395;
// The payment's rows: the invoice paid, then the amount in column 4.
constexpr int ColInvoice = 0, ColAmount = 4;

TEST_F(RoadTest, PurchasingWindowsStartTheirRunsFromTheirOperationsMenus)
{
    const std::string company = StartNewCompany();
    TypeVendor({"V1", "Office Supply Ltd", "Box 12", "", "", "5050-1234", "5050-1234"});
    std::shared_ptr<std::string> invoice = TypeApprovedPurchaseInvoice("V1", "A-77", "6110", "1000");

    Menu("Module", "Purchasing");
    Menu("Registers", "Outgoing payments");
    Check("the payment list opens", Opened(WinTypes::OutPaymentList));
    Menu("Operations", "Payment suggestion");
    Check("the list opens the payment suggestion", Opened(PaymentSuggestion));
    ClickButton("Cancel");
    Check("the suggestion closes unrun", Opened(WinTypes::OutPaymentList));

    ClickButton("New");
    Check("New opens a payment", Opened(WinTypes::OutPayment));
    ClickField("Payment mode");
    Type("K");
    Key(PlKey::Tab);
    ClickCell(0, ColInvoice);
    Type("the invoice's number", [invoice] { return *invoice; });
    Key(PlKey::Tab);
    TypeCell(0, ColAmount, "600");
    Key(PlKey::Tab);
    Menu("Operations", "Payment suggestion");
    Check("the payment being typed opens the payment suggestion", Opened(PaymentSuggestion));
    ClickButton("Cancel");
    Check("the payment is still being typed", [] {
        EXPECT_EQ(ActiveType(), WinTypes::OutPayment) << ActiveTitle();
        EXPECT_TRUE(TitleTells("new")) << ActiveTitle();
        return ActiveType() == WinTypes::OutPayment;
    });
    ClickCell(0, ColInvoice);
    Menu("Operations", "Discount row");
    Check("a discount row below books what is still open of the invoice", [invoice] {
        EXPECT_EQ(CellUnder("Amount", 0), "600,00");
        EXPECT_EQ(CellUnder("Invoice", 1), *invoice);
        EXPECT_EQ(CellUnder("Amount", 1), "400,00");
        return true;
    });
    OkStoresQuietly("the payment");
    auto told = CountTold();
    Menu("Operations", "Approve");
    Check("the stored payment is approved; the demo has no payment-document form to print it on", [told] {
        EXPECT_EQ(Messages().size(), *told + 1) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(Told("No form is chosen for payment documents")) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        return true;
    });

    Menu("Window", "Close all");
    Menu("Module", "Stock");
    Menu("Registers", "Productions");
    Check("the production list opens", Opened(ProductionList));
    Menu("Operations", "Production suggestion");
    Check("the list opens the production suggestion", Opened(ProductionSuggestion));
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(OPVc::Number), 1u);
    std::vector<uint8_t> payment(OPVc::Size), row(OPVc::Rows::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(OPVc::Number, 1, payment.data(), &id));
    EXPECT_EQ(GetU16(payment.data(), OPVc::Approved), 1);
    EXPECT_EQ(GetU16(payment.data(), OPVc::Posted), 0);
    ASSERT_EQ(MatrixRowCount(OPVc::Number, 0, payment.data()), 2);
    const double amounts[] = {600, 400};
    const uint16_t kinds[] = {1, 5};
    for (int i = 0; i < 2; i++) {
        ASSERT_TRUE(MatrixRowRead(OPVc::Number, payment.data(), i, row.data()));
        EXPECT_EQ(std::to_string(GetU32(row.data(), OPVc::Rows::InvoiceNr)), *invoice) << i;
        EXPECT_EQ(GetU16(row.data(), OPVc::Rows::Kind), kinds[i]) << i;
        EXPECT_NEAR(AmountAt(row.data(), OPVc::Rows::Amount), amounts[i], 0.005) << i;
    }
    RecFreeMatrix(OPVc::Number, payment.data());
    CloseForCheck();
}

}  // namespace
