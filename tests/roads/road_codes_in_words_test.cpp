// road_codes_in_words_test.cpp - codes a user reads in words, on the demo
// company: the voucher list shows each voucher by its series and number,
// whole, so a sales invoice's voucher, a purchase invoice's and a ledger
// voucher numbered alike are told apart, and the voucher window shows its
// series and its credit sum without a sign. The purchase invoice's VAT
// treatment and kind show their meaning and are chosen from a list of the
// meanings; the VAT code list shows each code's rate; the project's
// groupings and modes, the sales accounts' stock switches and the item
// history's documents show words, not numbers.
// A sales invoice's rows name their kind and its More page the invoice's
// kind in words, and the posted invoice's list mark is the tick the
// lists draw, not a character no font draws. An item group's cost method
// reads in words and is chosen from their list, as an item's is, and a
// new time budget's row detail reads No. A stored purchase invoice's row
// shows nothing under Credited, as it credits no invoice. A customer of a
// long name, opened from the customer list with its name selected, keeps
// the page buttons beside the name as they were drawn.
// Menus: in General ledger, Registers > Vouchers; in Sales, Registers >
// Sales invoices, Settings > Sales accounts...; in Purchasing, Registers >
// Vendors, Registers > Purchase invoices; in Stock, Registers > Item
// history, Registers > Item groups; in Projects, Registers > Projects,
// Registers > Time budget; in Sales, Registers > Customers.
// Windows: Code choice (from a field that shows a value by name), VAT code
// choice, Sales invoice list, Sales invoice, Vendor list, Vendor, Purchase
// invoice list, Purchase invoice, Project list, Project, Item group list,
// Item group, Time budget, Customer list, Customers.
#include "tests/roads/road_fixture.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <cairo.h>

#include "core/window_entries.h"
#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/icon.h"
#include "platform/queue.h"
#include "platform/window.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

constexpr int CodeChoice = 560, VatCodeChoice = 444;

bool AnyHolds(const std::vector<std::string> &rows, const std::string &part)
{
    return std::any_of(rows.begin(), rows.end(), [&](const std::string &r) { return r.find(part) != std::string::npos; });
}

// Whether data field `label` of the active window shows the set-flag tick
// (icon 391) where a field draws it, centred 8 pixels into the field: every
// opaque pixel of the icon is on the screen in its colour.
bool FieldShowsTick(const std::string &label)
{
    int n = RoadTest::Active();
    const uint8_t *entry = nullptr;
    for (int i = 0; n && i < WinDefCount(n, WinPartDataFields) && !entry; i++) {
        const uint8_t *e = WinDefEntry(n, WinPartDataFields, i);
        if (e && std::string(reinterpret_cast<const char *>(e + FieldEntry::Label) + 1, e[FieldEntry::Label]) == label)
            entry = e;
    }
    cairo_surface_t *icon = IconSurface(kIconCellFlag);
    if (!entry || !icon) return false;
    MacRect r;
    WinBindingRect(n, entry, &r);
    cairo_surface_flush(icon);
    const unsigned char *data = cairo_image_surface_get_data(icon);
    const int stride = cairo_image_surface_get_stride(icon);
    const int left = r.left + 8 - 16, top = (r.top + r.bottom) / 2 - 16;
    int opaque = 0, matched = 0;
    for (int y = 0; y < 32; y++)
        for (int x = 0; x < 32; x++) {
            uint32_t argb;
            std::memcpy(&argb, data + y * stride + x * 4, 4);
            if ((argb >> 24) != 0xFF) continue;
            opaque++;
            uint32_t shown = WinClientPixel(WinTable[n]->mdiChild, left + x, top + y) & 0xFFFFFF;
            if (shown == (argb & 0xFFFFFF)) matched++;
        }
    return opaque > 0 && matched == opaque;
}

// The pixels of the active window's buttons of the given labels, as drawn.
std::vector<uint32_t> ButtonPixels(const std::vector<std::string> &labels)
{
    std::vector<uint32_t> pixels;
    int n = RoadTest::Active();
    for (int i = 0; n && i < WinDefCount(n, WinPartControls); i++) {
        const uint8_t *e = WinDefEntry(n, WinPartControls, i);
        const std::string label(reinterpret_cast<const char *>(e + ControlEntry::Label) + 1, e[ControlEntry::Label]);
        if (std::find(labels.begin(), labels.end(), label) == labels.end()) continue;
        MacRect r;
        WinFieldRect(n, i, &r);
        for (int y = r.top; y < r.bottom; y++)
            for (int x = r.left; x < r.right; x++) pixels.push_back(WinClientPixel(WinTable[n]->mdiChild, x, y));
    }
    return pixels;
}

class CodesInWordsRoad : public RoadTest {
protected:
    // Ctrl+J on data field `label` of the active window: the list of
    // codes opens (window type `type`) and its row holding `row` chosen
    // with Return; the field then shows `shown`.
    void ChooseFromList(const std::string &label, int type, const std::vector<std::string> &offered,
                        const std::string &row, const std::string &shown)
    {
        ClickField(label);
        Key('J', false, true);
        Check(label + ": Ctrl+J lists the meanings", [type, offered, label] {
            EXPECT_EQ(ActiveType(), type) << ActiveTitle();
            for (const std::string &o : offered)
                EXPECT_TRUE(AnyHolds(ListRows(), o)) << label << " offers no \"" << o << "\" in "
                                                     << ::testing::PrintToString(ListRows());
            return ActiveType() == type;
        });
        ClickRow(row);
        Key(PlKey::Return);
        Check(label + " shows " + shown, [label, shown] {
            EXPECT_EQ(Shown(label), shown);
            return true;
        });
    }
};

TEST_F(CodesInWordsRoad, KindsAndSeriesShowTheirMeaning)
{
    const std::string company = StartNewCompany();

    // ---- A ledger voucher and a posted sales invoice's voucher.
    Menu("Module", "General ledger");
    TypeVoucherRows("Series shown", {{"1910", "600", ""}, {"3010", "", "600"}});
    Check("the credit sum reads as a credit, without a sign", [] {
        EXPECT_EQ(Shown("Credit"), "600,00");
        return true;
    });
    OkStores("voucher");
    auto series = std::make_shared<std::string>();
    auto number = std::make_shared<std::string>();
    Check("the stored voucher shows its series", [series, number] {
        *series = Shown("Series");
        *number = Shown("Number");
        EXPECT_FALSE(series->empty());
        return !series->empty() && !number->empty();
    });
    Menu("Module", "Sales");
    NewFromList("Sales invoices", WinTypes::SalesInvoiceList, WinTypes::SalesInvoice);
    ClickCell(0, 0);
    Check("a new row's Kind, with the caret in it, shows no number", [] {
        EXPECT_EQ(FocusLabel(), "cell");
        EXPECT_EQ(CellUnder("Kind", 0), "");
        return true;
    });
    ClickButton("Posted");
    TypeOneRowDocument("C1", 1, "ITEM1", "1");
    Check("the invoice's row names its kind", [] {
        EXPECT_EQ(CellUnder("Kind", 0), "Item");
        return true;
    });
    KeepPicture("invoice_rows_page");
    ClickButton("More");
    Check("the posted invoice tells its kind in words and shows its list mark as a tick", [] {
        EXPECT_EQ(Shown("Invoice kind"), "Invoice");
        EXPECT_TRUE(FieldShowsTick("List mark"));
        return true;
    });
    KeepPicture("invoice_more_page");
    Menu("Window", "Close all");
    // A purchase invoice's voucher beside them.
    TypeVendor({"V1", "Vendor V1", "Main street 1", "", "", "", ""});
    auto purchase = TypeApprovedPurchaseInvoice("V1", "F-1", "5010", "300,00");
    Menu("Module", "General ledger");
    Menu("Registers", "Vouchers");
    Check("the voucher list tells the two vouchers apart by their series", [series, number] {
        std::vector<std::string> rows = ListRowsShown();
        EXPECT_TRUE(AnyHolds(rows, *series + "." + *number)) << ::testing::PrintToString(rows);
        EXPECT_TRUE(AnyHolds(rows, "SINV.")) << ::testing::PrintToString(rows);
        EXPECT_TRUE(AnyHolds(rows, "PINV.")) << ::testing::PrintToString(rows);
        EXPECT_EQ(ListCellCut(), "") << "the list cuts a text";
        return true;
    });
    KeepPicture("voucher_list");
    Menu("Window", "Close all");

    // ---- The purchase invoice's rows, VAT treatment, kind and VAT codes.
    Menu("Module", "Purchasing");
    Menu("Registers", "Purchase invoices");
    Check("the purchase-invoice list opens", Opened(WinTypes::PurchaseInvoiceList));
    FindRow("the purchase invoice", purchase);
    Key(PlKey::Return);
    Check("the invoice's row credits no invoice: nothing under Credited", [] {
        EXPECT_EQ(ActiveType(), WinTypes::PurchaseInvoice) << ActiveTitle();
        EXPECT_EQ(CellUnder("Account", 0), "5010");
        EXPECT_EQ(CellUnder("Credited", 0), "");
        return ActiveType() == WinTypes::PurchaseInvoice;
    });
    KeepPicture("purchase_invoice_rows");
    Menu("Window", "Close all");
    NewFromList("Purchase invoices", WinTypes::PurchaseInvoiceList, WinTypes::PurchaseInvoice);
    ClickButton("Terms");
    Check("a new invoice's VAT is ordinary", [] {
        EXPECT_EQ(Shown("VAT treatment"), "Ordinary");
        return true;
    });
    ChooseFromList("VAT treatment", CodeChoice, {"Ordinary", "Offset VAT", "No VAT rows"}, "No VAT rows",
                   "No VAT rows");
    ChooseFromList("Kind", CodeChoice, {"Invoice", "Cash invoice", "Credit note"}, "Credit note", "Credit note");
    ClickField("VAT code");
    Key('J', false, true);
    Check("the VAT codes show their rates beside the codes", [] {
        EXPECT_EQ(ActiveType(), VatCodeChoice) << ActiveTitle();
        EXPECT_TRUE(AnyHolds(ListRows(), "25,00 %")) << ::testing::PrintToString(ListRows());
        EXPECT_TRUE(AnyHolds(ListRows(), "12,00 %")) << ::testing::PrintToString(ListRows());
        return true;
    });
    AnswerBox(kPlIdNo);
    Menu("Window", "Close all");

    // ---- The project's groupings and modes.
    Menu("Module", "Projects");
    NewFromList("Projects", WinTypes::ProjectList, WinTypes::Project);
    ClickButton("Invoicing");
    Check("a project's invoicing shows its groupings and modes in words", [] {
        EXPECT_EQ(Shown("Time grouping"), "One row per sales account");
        EXPECT_EQ(Shown("Cost grouping"), "One row per sales account");
        EXPECT_EQ(Shown("Time mode"), "By the budgets");
        return true;
    });
    ChooseFromList("Cost mode", CodeChoice, {"By the budgets", "Fixed price"}, "Fixed price", "Fixed price");
    AnswerBox(kPlIdNo);
    Menu("Window", "Close all");

    // ---- The sales accounts' stock switches and the item history.
    Menu("Module", "Sales");
    Menu("Settings", "Sales accounts...");
    Check("the stock switches read Yes or No", [] {
        for (const char *label : {"Update stock (invoices)", "Update stock (credits)"}) {
            const std::string shown = Shown(label);
            EXPECT_TRUE(shown == "Yes" || shown == "No") << label << ": " << shown;
        }
        return true;
    });
    Menu("Window", "Close all");
    Menu("Module", "Stock");
    Menu("Registers", "Item history");
    Check("the item history names the invoice's document kind", [] {
        std::vector<std::string> rows = ListRowsShown();
        EXPECT_TRUE(AnyHolds(rows, "Sales invoice")) << ::testing::PrintToString(rows);
        return true;
    });

    // ---- The item group's cost method and the time budget's row detail.
    Menu("Window", "Close all");
    Menu("Registers", "Item groups");
    Check("the item group list opens", Opened(WinTypes::ItemGroupList));
    OpenFromList("G1", WinTypes::ItemGroups);
    Check("the demo group values its goods at the cost price, in words", [] {
        EXPECT_EQ(Shown("Cost method"), "Cost price");
        return true;
    });
    ChooseFromList("Cost method", CodeChoice,
                   {"None", "Cost price", "Percentage of base price", "Unit cost on the row", "First in, first out"},
                   "First in, first out", "First in, first out");
    KeepPicture("item_group_window");
    AnswerBox(kPlIdNo);
    Menu("Window", "Close all");
    Menu("Module", "Projects");
    Menu("Registers", "Time budget");
    Check("a new time budget's row detail reads No", [] {
        EXPECT_EQ(ActiveType(), WinTypes::TimeBudget) << ActiveTitle();
        EXPECT_EQ(Shown("Row detail"), "No");
        return true;
    });
    ChooseFromList("Row detail", CodeChoice, {"No", "Yes"}, "Yes", "Yes");
    AnswerBox(kPlIdNo);
    Menu("Window", "Close all");

    // ---- A customer of a long name, chosen in the customer list: its
    // name, selected in its field, stops short of the page buttons.
    Menu("Module", "Sales");
    Menu("Registers", "Customers");
    Check("the customer list opens", Opened(WinTypes::CustomerList));
    OpenFromList("C1", WinTypes::Customers);
    Retype("Name", "Northern Lights Consolidated Trading and Shipping Company AB");
    OkStoresQuietly("customer of a long name");
    Menu("Window", "Close all");
    Menu("Registers", "Customers");
    OpenFromList("C1", WinTypes::Customers);
    auto buttons = std::make_shared<std::vector<uint32_t>>();
    Do("note the page buttons as drawn", [buttons] {
        *buttons = ButtonPixels({"Terms", "Sales"});
        return !buttons->empty();
    });
    ClickField("Name");
    Check("the selected name leaves the page buttons as they were drawn", [buttons] {
        EXPECT_EQ(FocusLabel(), "Name");
        EXPECT_TRUE(ButtonPixels({"Terms", "Sales"}) == *buttons) << "the name is drawn over a page button";
        return true;
    });
    KeepPicture("customer_long_name");
    EXPECT_EQ(Run(), 0);
}

}  // namespace
