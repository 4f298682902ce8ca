// road_company_from_nothing_sales_test.cpp - the sales chain of a company
// started without the demo data, in a foreign currency, on forms its user
// draws: after the ledger and the sales set-up the company gets, each in
// its window, a salesperson, payment terms, a unit, a price list in EUR,
// an item with that unit and its price in the list, a customer in EUR
// with the salesperson, the terms and the list, and the number series of
// quotations, orders and deliveries. The quotation and invoice forms are
// drawn in the form designer and chosen in the Sales module's form
// settings. A quotation of two items takes the list's euro price; it
// prints on its form, becomes an order, the order's delivery is shipped
// and the order invoiced; the invoice, posted, prints on its form in EUR.
// The trial balance shows its sales, VAT and receivables in the home
// currency at 11,50 a euro, and the company file holds the chain as made.
// Beside it, a form drawn with a misspelt field name and without its own
// name: both are refused and told, and nothing drawn is lost.
// Menus: in General ledger, Registers > Forms, Operations > Form; in Sales,
// Registers > Prices, Registers > Customers, Registers > Quotations,
// Operations > Order, Operations > Delivery, Registers > Orders (Ctrl+9),
// Operations > Invoice; in Stock, Registers > Item list, Registers >
// Deliveries, Operations > Ship marked; in the module the program starts
// in, Registers > Persons, Registers > Payment terms, Registers > Units,
// Registers > Price lists; File > Reports (Ctrl+R) > "Trial Balance".
// Windows: Trial balances and sales-ledger accounts selection, Series:
// quotations, Series: orders, Series: deliveries, Person list, Persons,
// Payment terms list, Payment terms, Unit list, Unit, Price lists, Price
// list, Item list, Item, Prices, Price, Customer list, Customers, Forms:
// quotations, Forms: orders, Forms: deliveries, Forms: sales invoices,
// Quotation list, Quotation, Order, Delivery, Delivery list, Order list,
// Sales invoice, Form list, Form designer.
#include "tests/roads/road_company_from_nothing.h"
#include "tests/roads/road_form_steps.h"
#include "tests/roads/road_text.h"

#include <cstdlib>
#include <map>
#include <memory>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "database/access/settings_binding.h"
#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/queue.h"

namespace {

namespace fs = std::filesystem;

constexpr int TrialBalanceSel = 428;

// A sales document's form: its title, its number, the customer's
// address, the currency, one line a row (item, text, quantity, price,
// sum) and the total.
std::vector<FormItem> SalesForm(const std::string &title, const std::string &numberField)
{
    using K = FormItemKind;
    return {{K::Text, title, 40, 40, 150},
            {K::Text, "Number", 40, 64, 90},
            {K::Field, numberField, 140, 64, 120},
            {K::Field, "Customer name and address", 40, 92, 260, 14},
            {K::Text, "Currency", 40, 160, 90},
            {K::Field, "Currency", 140, 160, 80},
            {K::Field, "Item code", 40, 200, 80, 16},
            {K::Field, "Row description", 130, 200, 150, 16},
            {K::Field, "Quantity", 290, 200, 60, 16},
            {K::Field, "Unit price", 360, 200, 70, 16},
            {K::Field, "Row sum", 440, 200, 80, 16},
            {K::Text, "Total", 300, 300, 100},
            {K::Field, "Total to pay", 440, 300, 100}};
}

// The delivery note's form: its number and its order's, the address
// delivered to, one line a row (item, text, quantity delivered).
std::vector<FormItem> DeliveryForm()
{
    using K = FormItemKind;
    return {{K::Text, "Delivery note", 40, 40, 150},
            {K::Text, "Number", 40, 64, 90},
            {K::Field, "Delivery number", 140, 64, 120},
            {K::Text, "Order", 300, 64, 60},
            {K::Field, "Delivery's order number", 370, 64, 120},
            {K::Field, "Customer name and address", 40, 92, 260, 14},
            {K::Field, "Item code", 40, 200, 80, 16},
            {K::Field, "Row description", 130, 200, 150, 16},
            {K::Field, "Delivered quantity", 290, 200, 80, 16}};
}

class CompanyFromNothingSalesRoad : public CompanyFromNothingRoad {
public:
    std::shared_ptr<std::string> PrintDocument(const std::string &shot) { return PrintActiveDocument(*this, shot); }
};

// What a printed document must show: the words, each somewhere on it.
void ExpectPrinted(const std::string &text, std::initializer_list<std::string> words)
{
    for (const std::string &w : words) EXPECT_NE(text.find(w), std::string::npos) << w << " in\n" << text;
}

TEST_F(CompanyFromNothingSalesRoad, AQuotationInEurosBecomesAnInvoicePrintedOnDrawnForms)
{
    WriteFirstUserOnly();
    const std::string company = StartNewCompany("sales.VDB");
    TypeTheLedger();
    TypeSalesSetUp();
    TypeSeriesOfTheYear("Quotations", WinTypes::SetSeries195);
    TypeSeriesOfTheYear("Orders", WinTypes::SetSeries192);
    TypeSeriesOfTheYear("Deliveries", WinTypes::SetSeries193);

    // ---- What the customer's documents take from the registers.
    NewFromList("Persons", WinTypes::PersonList, WinTypes::Persons);
    TypeFields({{"Code", "AS"}, {"Name", "Anna Seller"}});
    OkStoresQuietly("the salesperson");
    NewFromList("Payment terms", WinTypes::PayTermsList, WinTypes::PayTerms);
    TypeFields({{"Code", "30"}, {"Name", "30 days net"}});
    Retype("Days", "30");
    OkStoresQuietly("the payment terms");
    NewFromList("Units", WinTypes::UnitList, WinTypes::Units);
    TypeFields({{"Code", "PCS"}, {"Name", "Piece"}});
    OkStoresQuietly("the unit");
    NewFromList("Price lists", WinTypes::PriceListList, WinTypes::PriceLists);
    TypeFields({{"Code", "EU"}, {"Name", "Euro prices"}, {"Currency", "EUR"}});
    OkStoresQuietly("the price list");
    Menu("Window", "Close all");
    Menu("Module", "Stock");
    NewFromList("Item list", WinTypes::ItemList, WinTypes::Item);
    TypeFields({{"Code", "LAMP"}, {"Name", "Desk lamp"}, {"Unit", "PCS"}, {"Price", "500"},
                {"Sales account", "3010"}, {"VAT code", "1"}});
    OkStoresQuietly("the item");
    Menu("Window", "Close all");
    Menu("Module", "Sales");
    NewFromList("Prices", WinTypes::PriceRecordList, WinTypes::Prices);
    TypeFields({{"Price list", "EU"}, {"Item", "LAMP"}});
    Retype("Price", "40");
    OkStoresQuietly("the item's euro price");
    NewFromList("Customers", WinTypes::CustomerList, WinTypes::Customers);
    TypeFields({{"Code", "E1"}, {"Name", "Euro Buyer GmbH"}});
    ClickButton("Address");
    TypeFields({{"Address", "Hafenstrasse 9"}});
    ClickButton("Terms");
    TypeFields({{"Payment terms", "30"}});
    ClickButton("Sales");
    TypeFields({{"Currency", "EUR"}, {"Salesperson", "AS"}, {"Price list", "EU"}});
    KeepPicture("euro_customer");
    OkStoresQuietly("the customer");
    Menu("Window", "Close all");

    // ---- The forms, drawn and chosen for the quotations and invoices.
    // The order's number prints by the code an invoice's does.
    DesignForm(*this, "QUOTATION", SalesForm("Quotation", "Document number"));
    DesignForm(*this, "ORDER", SalesForm("Order confirmation", "Invoice number"));
    DesignForm(*this, "DELIVERY", DeliveryForm());
    DesignForm(*this, "INVOICE", SalesForm("Invoice", "Invoice number"));
    ChooseForm(*this, "Quotations", WinTypes::SetForms178, "QUOTATION");
    ChooseForm(*this, "Orders", WinTypes::SetForms151, "ORDER");
    ChooseForm(*this, "Deliveries", WinTypes::SetForms146, "DELIVERY");
    ChooseForm(*this, "Sales invoices", WinTypes::SetForms140, "INVOICE");

    // ---- The quotation: two lamps at the list's price in euros.
    Menu("Registers", "Quotations");
    Check("the quotation list opens", Opened(WinTypes::QuotationList));
    ClickButton("New");
    Check("New opens a quotation", Opened(WinTypes::Quotation));
    ClickField("Customer");
    Type("E1");
    Key(PlKey::Tab);
    ClickCell(0, 0);
    Type("LAMP");
    Key(PlKey::Tab);
    Type("2");
    Key(PlKey::Tab);
    auto quotation = std::make_shared<std::string>();
    OkStoresQuietly("the quotation");
    Check("the quotation sums the euro price with its VAT", [quotation] {
        EXPECT_EQ(Shown("Total"), "100,00");
        *quotation = Shown("Number");
        return !quotation->empty();
    });
    ClickButton("Terms");
    auto rate = std::make_shared<std::string>();
    Check("the quotation takes the customer's terms", [rate] {
        *rate = Shown("Rate");
        EXPECT_EQ(Shown("Currency"), "EUR");
        EXPECT_EQ(Shown("Payment terms"), "30");
        EXPECT_EQ(Shown("Salesperson"), "AS");
        return true;
    });
    KeepPicture("euro_quotation");
    auto quotationText = PrintDocument("euro_quotation");

    Menu("Operations", "Order");
    auto order = std::make_shared<std::string>();
    Check("Order makes the quotation's order", [order] {
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
        EXPECT_EQ(Shown("Customer"), "E1");
        EXPECT_EQ(Shown("Total"), "100,00");
        *order = Shown("Number");
        return Opened(WinTypes::Order)() && !order->empty();
    });
    auto orderText = PrintDocument("euro_order");
    auto delivery = MakeOrderDelivery();
    Check("the delivery names its order", [order] {
        EXPECT_EQ(Shown("Order"), *order);
        return true;
    });
    auto deliveryText = PrintDocument("euro_delivery");
    ShipDelivery(delivery);
    Key('9', false, true);
    Check("Ctrl+9 opens the order list", Opened(WinTypes::OrderList));
    FindRow("the order", order);
    Key(PlKey::Return);
    Check("the order opens again", Opened(WinTypes::Order));
    Menu("Operations", "Invoice");
    Check("Invoice makes the order's invoice in euros", [] {
        EXPECT_EQ(Shown("Customer"), "E1");
        EXPECT_EQ(Shown("Total"), "100,00");
        return Opened(WinTypes::SalesInvoice)();
    });
    ClickButton("Terms");
    Check("the invoice takes the customer's currency, terms and salesperson", [rate] {
        // The rate reads as the quotation showed it, with its decimals.
        EXPECT_EQ(Shown("Rate"), *rate);
        EXPECT_EQ(Shown("Rate"), "1150,00");
        EXPECT_EQ(Shown("Currency"), "EUR");
        EXPECT_EQ(Shown("Payment terms"), "30");
        EXPECT_EQ(Shown("Salesperson"), "AS");
        return true;
    });
    ClickButton("Rows");
    ClickButton("Posted");
    OkStoresQuietly("the posted invoice");
    auto invoice = std::make_shared<std::string>();
    Check("the invoice shows its number", [invoice] {
        *invoice = Shown("Number");
        return !invoice->empty();
    });
    KeepPicture("euro_invoice");
    auto invoiceText = PrintDocument("euro_invoice");
    Menu("Window", "Close all");

    Menu("Module", "General ledger");
    auto trial = ReportToPreviewAndPdf("Trial Balance", TrialBalanceSel, [this] { ThisYear(); }, "sales_trial");
    Menu("Window", "Close all");
    EXPECT_EQ(Run(), 0);

    // ---- The printed documents: the drawn forms with the euro figures.
    ExpectPrinted(*quotationText, {"Quotation", *quotation, "Euro Buyer GmbH", "Hafenstrasse 9", "LAMP",
                                   "Desk lamp", "40", "80,00", "EUR", "Total", "100,00"});
    ExpectPrinted(*orderText, {"Order confirmation", *order, "Euro Buyer GmbH", "LAMP", "Desk lamp", "40,00",
                               "80,00", "EUR", "Total", "100,00"});
    ExpectPrinted(*deliveryText, {"Delivery note", *delivery, *order, "Euro Buyer GmbH", "LAMP", "Desk lamp", "2"});
    ExpectPrinted(*invoiceText, {"Invoice", *invoice, "Euro Buyer GmbH", "LAMP", "Desk lamp", "40,00", "80,00",
                                 "EUR", "Total", "100,00"});
    // The trial balance: 100 euros at 11,50 a euro, in the home currency.
    const std::map<std::string, double> closing = {{"1510", 1150}, {"2610", -230}, {"3010", -920}};
    for (const auto &[account, amount] : closing)
        EXPECT_NEAR(TrialClosingBalance(*trial, account), amount, 0.005) << account << "\n" << *trial;

    // ---- The company file.
    ASSERT_TRUE(OpenForCheck(company));
    uint32_t vouchers = 0;
    EXPECT_EQ(VoucherSums(&vouchers), (std::map<std::string, double>{{"1510", 1150}, {"2610", -230}, {"3010", -920}}));
    EXPECT_EQ(vouchers, 1u);
    std::vector<uint8_t> r;
    ASSERT_TRUE(FindByCode(CUVc::Number, CUVc::Code, 20, "E1", &r));
    EXPECT_EQ(TextAt(r.data(), CUVc::CurncyCode), "EUR");
    EXPECT_EQ(TextAt(r.data(), CUVc::SalesMan), "AS");
    EXPECT_EQ(TextAt(r.data(), CUVc::PriceList), "EU");
    ASSERT_TRUE(FindByCode(INVc::Number, INVc::Code, 20, "LAMP", &r));
    EXPECT_EQ(TextAt(r.data(), INVc::Unit), "PCS");
    uint32_t id = 0;
    {
        ASSERT_EQ(RegRecordCount(QuotationVc::Number), 1u);
        std::vector<uint8_t> q(QuotationVc::Size);
        ASSERT_TRUE(RecReadAt(QuotationVc::Number, 1, q.data(), &id));
        EXPECT_EQ(std::to_string(GetU32(q.data(), QuotationVc::SerNr)), *quotation);
        EXPECT_EQ(TextAt(q.data(), QuotationVc::CurncyCode), "EUR");
        EXPECT_NEAR(RoadTest::AmountAt(q.data(), QuotationVc::Total), 100, 0.005);
        RecFreeMatrix(QuotationVc::Number, q.data());
    }
    {
        ASSERT_EQ(RegRecordCount(ORVc::Number), 1u);
        std::vector<uint8_t> o(ORVc::Size), row(ORVc::Rows::Size);
        ASSERT_TRUE(RecReadAt(ORVc::Number, 1, o.data(), &id));
        EXPECT_EQ(std::to_string(GetU32(o.data(), ORVc::SerNr)), *order);
        // The order is the quotation's: its customer, currency and row.
        EXPECT_EQ(TextAt(o.data(), ORVc::CustCode), "E1");
        EXPECT_EQ(TextAt(o.data(), ORVc::CurncyCode), "EUR");
        ASSERT_TRUE(MatrixRowRead(ORVc::Number, o.data(), 0, row.data()));
        EXPECT_EQ(TextAt(row.data(), ORVc::Rows::ItemCode), "LAMP");
        EXPECT_DOUBLE_EQ(RoadTest::AmountAt(row.data(), ORVc::Rows::QtyShipped), 2);
        EXPECT_DOUBLE_EQ(RoadTest::AmountAt(row.data(), ORVc::Rows::QtyInvoiced), 2);
        RecFreeMatrix(ORVc::Number, o.data());
    }
    {
        ASSERT_EQ(RegRecordCount(SHVc::Number), 1u);
        std::vector<uint8_t> d(SHVc::Size);
        ASSERT_TRUE(RecReadAt(SHVc::Number, 1, d.data(), &id));
        EXPECT_EQ(std::to_string(GetU32(d.data(), SHVc::SerNr)), *delivery);
        EXPECT_EQ(std::to_string(GetU32(d.data(), SHVc::OrderNr)), *order);
        EXPECT_EQ(GetU16(d.data(), SHVc::Shipped), 1);
        RecFreeMatrix(SHVc::Number, d.data());
    }
    {
        ASSERT_EQ(RegRecordCount(IVVc::Number), 1u);
        std::vector<uint8_t> inv(IVVc::Size), line(IVVc::Rows::Size);
        ASSERT_TRUE(RecReadAt(IVVc::Number, 1, inv.data(), &id));
        EXPECT_EQ(std::to_string(GetU32(inv.data(), IVVc::SerNr)), *invoice);
        EXPECT_EQ(std::to_string(GetU32(inv.data(), IVVc::OrderNr)), *order);
        EXPECT_EQ(GetU16(inv.data(), IVVc::Posted), 1);
        EXPECT_EQ(TextAt(inv.data(), IVVc::CurncyCode), "EUR");
        EXPECT_EQ(TextAt(inv.data(), IVVc::SalesMan), "AS");
        EXPECT_EQ(TextAt(inv.data(), IVVc::PayTerms), "30");
        EXPECT_NEAR(RoadTest::AmountAt(inv.data(), IVVc::Rate), 1150, 0.005);
        EXPECT_NEAR(RoadTest::AmountAt(inv.data(), IVVc::Total), 100, 0.005);
        ASSERT_EQ(MatrixRowCount(IVVc::Number, 0, inv.data()), 1);
        ASSERT_TRUE(MatrixRowRead(IVVc::Number, inv.data(), 0, line.data()));
        EXPECT_EQ(TextAt(line.data(), IVVc::Rows::ItemCode), "LAMP");
        EXPECT_NEAR(RoadTest::AmountAt(line.data(), IVVc::Rows::Price), 40, 0.005);
        RecFreeMatrix(IVVc::Number, inv.data());
    }
    // The forms as drawn, and chosen where the documents look for them.
    const std::map<std::string, int32_t> drawn = {
        {"QUOTATION", 13}, {"ORDER", 13}, {"DELIVERY", 9}, {"INVOICE", 13}};
    for (const auto &[form, items] : drawn) {
        ASSERT_TRUE(FindByCode(DocVc::Number, DocVc::Code, 20, form, &r)) << form;
        EXPECT_EQ(MatrixRowCount(DocVc::Number, 0, r.data()), items) << form;
        RecFreeMatrix(DocVc::Number, r.data());
    }
    const std::map<int, std::string> chosen = {{QuotationFormBlk::Number, "QUOTATION"},
                                               {OrderFormBlk::Number, "ORDER"},
                                               {DeliveryFormBlk::Number, "DELIVERY"},
                                               {InvoiceFormBlk::Number, "INVOICE"}};
    for (const auto &[block, form] : chosen) {
        // Every form-choice block has the invoice block's row layout.
        std::vector<uint8_t> rows = StoredRows(block);
        ASSERT_EQ(rows.size(), size_t(InvoiceFormBlk::Rows::Size)) << block;
        EXPECT_EQ(TextAt(rows.data(), InvoiceFormBlk::Rows::FormName), form) << block;
    }
    CloseForCheck();
}

// A form drawn by a user who misspells a field's name and forgets the
// form's own: the name no field has is told and refused, the cursor kept
// on it; OK of the nameless form is refused, the form kept new with its
// item. Named, it is stored with the field typed right.
TEST_F(CompanyFromNothingSalesRoad, AMisspeltFieldAndANamelessFormAreRefusedAndNothingIsLost)
{
    WriteFirstUserOnly();
    const std::string company = StartNewCompany("forms.VDB");
    Menu("Registers", "Forms");
    Check("the form list opens", Opened(WinTypes::FormList));
    ClickButton("New");
    Check("New opens the designer", Opened(WinTypes::FormDesigner));
    ClickButton("Field");
    DragInDesigner(*this, "draw a data field", 40, 40, 200, 54);
    Type("Invoice numbr");
    Key(PlKey::Tab);
    Check("a name no field has is refused and told", [] {
        EXPECT_TRUE(Told("cannot take Invoice numbr")) << ::testing::PrintToString(Messages());
        EXPECT_EQ(ActiveTitle(), "Data field");
        return ActiveTitle() == "Data field";
    });
    Retype("Code", "Invoice number");
    auto told = CountTold();
    ClickButton("OK");
    Check("the field's right name is taken quietly", [told] {
        EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
        return Opened(WinTypes::FormDesigner)();
    });
    ClickOk();
    Check("a form without its name is refused and kept new", [] {
        EXPECT_TRUE(Told("A form is stored under its name")) << ::testing::PrintToString(Messages());
        EXPECT_TRUE(TitleTells("new")) << ActiveTitle();
        return Opened(WinTypes::FormDesigner)();
    });
    Menu("Operations", "Form");
    Check("the form's window opens on its name", [] { return FocusLabel() == "Name"; });
    Type("NOTE");
    ClickButton("OK");
    OkStoresQuietly("the named form");
    Menu("Window", "Close all");
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    EXPECT_EQ(RegRecordCount(DocVc::Number), 1u) << "the nameless form was stored";
    std::vector<uint8_t> form;
    ASSERT_TRUE(FindByCode(DocVc::Number, DocVc::Code, 20, "NOTE", &form));
    ASSERT_EQ(MatrixRowCount(DocVc::Number, 0, form.data()), 1);
    uint8_t item[DocVc::Rows::Size];
    ASSERT_TRUE(MatrixRowGet(DocVc::Number, 0, form.data(), 0, item));
    EXPECT_EQ(GetU16(item, DocVc::Rows::Kind), 4);
    EXPECT_EQ(GetI16(item, DocVc::Rows::FieldCode), 153) << "the invoice number's code";
    RecFreeMatrix(DocVc::Number, form.data());
    CloseForCheck();
}

}  // namespace
