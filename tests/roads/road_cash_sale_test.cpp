// road_cash_sale_test.cpp - selling for cash, on the demo company: payment
// terms of the kind "Cash" made in the terms window, named so in the
// terms list, and used on a new invoice of two ITEM1 for C1, which
// becomes a cash invoice: the posted invoice books the cash account in
// place of the receivables and leaves no open item, while the sales and
// the VAT are booked as on any invoice. The terms of the kind "Credit
// note" are named for what they make.
// Menus: in Sales, Registers > Payment terms, Registers > Sales invoices,
// Registers > Customer open items.
// Windows: Payment terms list, Payment terms, Sales invoice list, Sales
// invoice, Customer open items.
#include "tests/roads/road_fixture.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "core/field_access.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"

namespace {

bool Holds(const std::string &text, const std::string &part) { return text.find(part) != std::string::npos; }

class CashSaleRoad : public RoadTest {
protected:
    // In the Sales module: Registers > Payment terms, New, the terms typed
    // with days 0 and the kind's radio button `kind`, stored quietly.
    void TypeTerms(const char *code, const char *name, const std::string &kind)
    {
        NewFromList("Payment terms", WinTypes::PayTermsList, WinTypes::PayTerms);
        TypeFields({{"Code", code}, {"Name", name}});
        Retype("Days", "0");
        ClickButton(kind);
        OkStoresQuietly(std::string("the terms ") + code);
    }
};

TEST_F(CashSaleRoad, CashTermsMakeAnInvoicePaidAtOnceWithNoOpenItem)
{
    const std::string company = StartNewCompany();
    Menu("Module", "Sales");
    TypeTerms("KO", "Cash on sale", "Cash");
    TypeTerms("CR", "Credit", "Credit note");
    Menu("Window", "Close all");
    Menu("Registers", "Payment terms");
    Check("the terms list names each terms' kind in words", [] {
        std::vector<std::string> rows = ListRowsShown();
        bool cash = false, credit = false;
        for (const std::string &r : rows) {
            cash = cash || (Holds(r, "KO") && Holds(r, "Cash"));
            credit = credit || (Holds(r, "CR") && Holds(r, "Credit note"));
        }
        EXPECT_TRUE(cash && credit) << ::testing::PrintToString(rows);
        return true;
    });

    // A new invoice on the cash terms: a cash invoice, paid at once.
    NewFromList("Sales invoices", WinTypes::SalesInvoiceList, WinTypes::SalesInvoice);
    ClickField("Customer");
    Type("C1");
    Key(PlKey::Tab);
    ClickButton("Terms");
    Retype("Payment terms", "KO");
    Key(PlKey::Tab);
    ClickButton("Rows");
    ClickCell(0, 1);
    Type("ITEM1");
    Key(PlKey::Tab);
    Type("2");
    Key(PlKey::Tab);
    ClickButton("More");
    Check("the invoice tells that it is a cash invoice", [] {
        EXPECT_EQ(Shown("Invoice kind"), "Cash invoice");
        return true;
    });
    ClickButton("Posted");
    ClickOk();
    auto number = std::make_shared<std::string>();
    Check("the cash invoice is posted and books the cash account", [number] {
        *number = Shown("Number");
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        EXPECT_EQ(Shown("Receivable account"), "1910");
        EXPECT_EQ(Shown("Invoice kind"), "Cash invoice");
        return !number->empty();
    });
    KeepPicture("cash_invoice_more");
    Menu("Window", "Close all");
    Menu("Registers", "Customer open items");
    Check("the cash invoice leaves no open item", [number] {
        EXPECT_EQ(ActiveType(), WinTypes::CustOpenItemList) << ActiveTitle();
        for (const std::string &r : ListRowsShown()) EXPECT_FALSE(Holds(r, " | " + *number + " | ")) << r;
        return true;
    });
    EXPECT_EQ(Run(), 0);

    // The books: cash 250 in, sales 200 and VAT 50 out, no receivable.
    ASSERT_TRUE(OpenForCheck(company));
    StoredInvoice invoice = OnlyInvoice();
    ASSERT_FALSE(invoice.head.empty());
    EXPECT_EQ(GetU16(invoice.head.data(), IVVc::InvType), 2);
    std::vector<uint8_t> item(ARVc::Size);
    uint32_t id = 0;
    EXPECT_FALSE(RecReadAt(ARVc::Number, 1, item.data(), &id)) << "an open item of the cash invoice";
    uint32_t vouchers = 0;
    std::map<std::string, double> sums = VoucherSums(&vouchers);
    EXPECT_EQ(vouchers, 1u);
    EXPECT_DOUBLE_EQ(sums["1910"], 250);
    EXPECT_DOUBLE_EQ(sums["3010"], -200);
    EXPECT_DOUBLE_EQ(sums["2610"], -50);
    EXPECT_EQ(sums.count("1510"), 0u) << sums["1510"];
    CloseForCheck();
}

}  // namespace
