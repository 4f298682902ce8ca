// road_document_fields_test.cpp - what a customer gives its documents, set
// where a user sets it, and the fields on the documents' further pages.
// In the demo company the customer C1 is opened from the customer list
// (Ctrl+1); on its Sales page a currency the company does not keep and a
// salesperson who is not a person are each refused with the cursor on
// that field and nothing typed lost; EUR and ADMIN are then stored. A new
// sales invoice for C1, stored with a row, shows the currency and the
// salesperson on its Terms page. A stored order's More page takes a typed
// address line, which OK stores. The company file then holds the
// customer's codes, the invoice's and the order's.
// Menus: in Sales, Registers > Customers (Ctrl+1), Registers > Orders
// (Ctrl+9); File > Windows... > "Sales invoices".
// Windows: Customer list, Customers, Sales invoice list, Sales invoice,
// Order list, Order.
#include "tests/roads/road_fixture.h"

#include <cstdlib>

#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "platform/script.h"

namespace {

namespace fs = std::filesystem;
constexpr int CustomerList = 594, Customers = 590, SalesInvoiceList = 348, SalesInvoice = 347,
              OrderList = 351, Order = 352;
constexpr int InvoiceItemColumn = 1, OrderItemColumn = 0;
const std::string OrderAddress = "Dock 4, North Quay";

TEST_F(RoadTest, CustomerCodesAreSetRefusedAndCarriedIntoDocuments)
{
    const std::string company = StartNewCompany();
    Key('1', false, true);
    Check("Ctrl+1 opens the customer list", Opened(CustomerList));
    ClickField("Find");
    Type("C1");
    Key(PlKey::Return);
    Key(PlKey::Return);
    Check("C1 opens in the customer window", [] {
        EXPECT_EQ(Shown("Code"), "C1");
        return ActiveType() == Customers;
    });
    ClickButton("Sales");
    Check("the Sales page shows the customer's document codes, empty", [] {
        bool found = false;
        EXPECT_EQ(Shown("Currency", 0, &found), "");
        EXPECT_TRUE(found);
        EXPECT_EQ(Shown("Salesperson"), "");
        return found;
    });
    KeepPicture("customer_sales_page");

    // A currency the company does not keep: refused at that field, the
    // typed code and the other changes kept in the window.
    Retype("Currency", "XYZ");
    Retype("Salesperson", "ADMIN");
    ClickOk();
    Check("an unknown currency is refused with the cursor on it", [] {
        EXPECT_TRUE(Told("Unknown currency")) << ::testing::PrintToString(Messages());
        EXPECT_EQ(FocusLabel(), "Currency");
        EXPECT_EQ(Shown("Currency"), "XYZ");
        EXPECT_EQ(Shown("Salesperson"), "ADMIN");
        EXPECT_FALSE(TitleTells("viewing")) << ActiveTitle();
        return FocusLabel() == "Currency";
    });
    Retype("Currency", "EUR");
    Retype("Salesperson", "NOONE");
    ClickOk();
    Check("a salesperson who is no person is refused with the cursor on it", [] {
        EXPECT_TRUE(Told("person does not exist")) << ::testing::PrintToString(Messages());
        EXPECT_EQ(FocusLabel(), "Salesperson");
        EXPECT_EQ(Shown("Salesperson"), "NOONE");
        EXPECT_EQ(Shown("Currency"), "EUR");
        return FocusLabel() == "Salesperson";
    });
    Retype("Salesperson", "ADMIN");
    OkStoresQuietly("the customer with EUR and ADMIN");

    // The invoice takes the customer's currency and salesperson.
    NewFromWindowList("Sales invoices", SalesInvoiceList, SalesInvoice);
    TypeOneRowDocument("C1", InvoiceItemColumn, "ITEM1", "1");
    ClickButton("Terms");
    Check("the invoice's terms show the customer's currency and salesperson", [] {
        EXPECT_EQ(Shown("Currency"), "EUR");
        EXPECT_EQ(Shown("Salesperson"), "ADMIN");
        return Shown("Currency") == "EUR";
    });
    ClickButton("More");
    KeepPicture("invoice_more_page");
    ClickButton("Freight");
    KeepPicture("invoice_freight_page");

    // A field on the order's further page, typed and stored.
    Menu("Module", "Sales");
    Key('9', false, true);
    Check("Ctrl+9 opens the order list", Opened(OrderList));
    ClickButton("New");
    Check("New opens an order", Opened(Order));
    TypeOneRowDocument("C1", OrderItemColumn, "ITEM2", "2");
    ClickButton("More");
    Check("the order's More page shows its address lines", [] {
        bool found = false;
        Shown("Address line 2", 0, &found);
        EXPECT_TRUE(found);
        return found;
    });
    Retype("Address", OrderAddress);
    KeepPicture("order_more_page");
    OkStoresQuietly("the order with its new address line");
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> r;
    ASSERT_TRUE(FindByCode(CUVc::Number, CUVc::Code, 20, "C1", &r));
    EXPECT_EQ(TextAt(r.data(), CUVc::CurncyCode), "EUR");
    EXPECT_EQ(TextAt(r.data(), CUVc::SalesMan), "ADMIN");
    EXPECT_EQ(TextAt(r.data(), CUVc::Name), "First Customer");

    ASSERT_EQ(RegRecordCount(IVVc::Number), 1u);
    std::vector<uint8_t> invoice(IVVc::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(IVVc::Number, 1, invoice.data(), &id));
    EXPECT_EQ(TextAt(invoice.data(), IVVc::CustCode), "C1");
    EXPECT_EQ(TextAt(invoice.data(), IVVc::CurncyCode), "EUR");
    EXPECT_EQ(TextAt(invoice.data(), IVVc::SalesMan), "ADMIN");

    ASSERT_EQ(RegRecordCount(ORVc::Number), 1u);
    std::vector<uint8_t> order(ORVc::Size);
    ASSERT_TRUE(RecReadAt(ORVc::Number, 1, order.data(), &id));
    EXPECT_EQ(TextAt(order.data(), ORVc::Addr1), OrderAddress);
    EXPECT_EQ(MatrixRowCount(ORVc::Number, 0, order.data()), 1);
}

}  // namespace
