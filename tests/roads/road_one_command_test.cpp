// road_one_command_test.cpp - a key does what its menu item does, and a
// window's fields lead where a user types next, as a user meets them in
// the demo company: Ctrl+6 opens the sales-invoice window as its
// Registers entry does, on a blank new invoice (its next number, no
// record numbered 0) that takes an invoice typed and stored, while the
// windows a user browses still go to their next record and start a new
// one; every Ctrl+digit of the Sales and General ledger modules opens
// the window of the Registers entry it stands for, as that entry does;
// Ctrl+P on a stored document and on a report both ask the print dialog,
// print on OK and print nothing on Cancel; Tab from the last header field
// of each document with rows goes into its first row, at the item (or
// account, or invoice) the row is about.
// Menus: in Sales, Registers > Sales invoices, Registers > Orders
// (Ctrl+9), Operations > Delivery; in Stock, Registers > Item; File >
// Print (Ctrl+P), File > Reports (Ctrl+R) > "Sales transaction journal".
// Windows: Sales invoice list, Sales invoice, Order list, Order, Item,
// Sales journal selection.
#include "tests/roads/road_fixture.h"

#include <memory>
#include <string>
#include <vector>

#include "core/definitions.h"
#include "core/pstring.h"
#include "core/ui_text.h"
#include "core/window_entries.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

constexpr int SalesInvoice = 347, SalesInvoiceList = 348, Item = 195, OrderList = 351, Order = 352, ReportList = 6, Delivery = 354,
              SalesJournalSel = 570;
namespace fs = std::filesystem;

// What a window opened by a key or a menu entry shows: its type, title
// and the field the caret is in.
struct Opening {
    int type = 0;
    std::string title, focus;
};

Opening ActiveOpening() { return Opening{RoadTest::ActiveType(), RoadTest::ActiveTitle(), RoadTest::FocusLabel()}; }

// The print dialogs asked so far.
size_t PrintDialogsAsked()
{
    size_t asked = 0;
    for (const PlScriptRecord &r : ScriptRecords())
        if (r.kind == "print") asked++;
    return asked;
}

// The heading of the column the caret is in, with its row (0-based), as
// "heading@row"; empty when the caret is in no cell.
std::string FocusedCell()
{
    int n = RoadTest::Active();
    if (!n || !WinHasMatrix(n)) return {};
    int first = 0, cells = 0;
    MatrixGeometry(n, &first, &cells);
    int F = WinTable[n]->currentField;
    if (cells < 1 || F < first) return {};
    int row = (F - first) / cells;
    const uint8_t *column = MatrixColumnAt(n, MatrixRowKind(n, row), (F - first) % cells);
    if (!column) return {};
    PString heading;
    GetUiText(heading, DefU16(column + ColumnEntry::Heading));
    return PStringToStd(heading) + "@" + std::to_string(row);
}

TEST_F(RoadTest, Ctrl6OpensANewInvoiceReadyForTypingWhileOtherWindowsStillBrowse)
{
    const std::string company = StartNewCompany();
    Menu("Module", "Sales");
    Key('6', false, true);
    Check("Ctrl+6 opens a blank new invoice at its customer", [] {
        EXPECT_EQ(ActiveType(), SalesInvoice) << ActiveTitle();
        EXPECT_TRUE(TitleTells("new")) << ActiveTitle();
        EXPECT_FALSE(TitleTells("viewing")) << ActiveTitle();
        EXPECT_NE(Shown("Number"), "0");
        EXPECT_NE(Shown("Number"), "");
        EXPECT_EQ(FocusLabel(), "Customer");
        return ActiveType() == SalesInvoice;
    });
    auto shown = std::make_shared<std::string>();
    Do("note the number it proposes", [shown] {
        *shown = Shown("Number");
        return true;
    });
    Type("C1");
    Key(PlKey::Tab);
    ClickCell(0, 1);
    Type("SERVICE");
    Key(PlKey::Tab);
    Type("1");
    Key(PlKey::Tab);
    ClickOk();
    Check("the typed invoice stores under the number it proposed", [shown] {
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle() << ::testing::PrintToString(Messages());
        EXPECT_EQ(Shown("Number"), *shown);
        return true;
    });
    Menu("Window", "Close all");
    // Opened and left untouched, it holds nothing to store: closing asks
    // nothing (an unanswered question would end the road).
    Key('6', false, true);
    Check("Ctrl+6 again opens a blank new invoice", [] { return TitleTells("new"); });
    Menu("Window", "Close all");
    Check("closing it asks nothing", [] {
        EXPECT_EQ(Active(), 0) << ActiveTitle();
        return true;
    });

    // Another window of a Registers entry: Next shows a stored record and
    // New starts a new one from it.
    Menu("Module", "Stock");
    Menu("Registers", "Item");
    Check("Registers > Item opens the item window", Opened(Item));
    Menu("Record", "Next");
    Check("Record > Next shows a stored item", [] {
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle() << ::testing::PrintToString(Messages());
        EXPECT_NE(Shown("Code"), "");
        return true;
    });
    Menu("Record", "New");
    Check("Record > New starts a new item", [] {
        EXPECT_TRUE(TitleTells("new")) << ActiveTitle() << ::testing::PrintToString(Messages());
        EXPECT_EQ(Shown("Code"), "");
        return true;
    });
    ClickButton("Cancel");
    Menu("Window", "Close all");
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    EXPECT_EQ(RegRecordCount(IVVc::Number), 1u);
    CloseForCheck();
}

// Every Ctrl+digit of a module against the Registers entry that shows it.
TEST_F(RoadTest, EveryCtrlDigitOpensItsWindowAsItsRegistersEntryDoes)
{
    StartNewCompany();
    struct ModuleKeys {
        const char *module;
        std::vector<const char *> entries;   // the Registers entries Ctrl+1, Ctrl+2, ... stand for
    };
    const ModuleKeys modules[] = {
        {"Sales",
         {"Customers", "Access groups", "Persons", "Company", "Sales invoices", "Sales invoice", "Customer receipts",
          "Customer receipt", "Orders"}},
        {"General ledger", {nullptr, nullptr, nullptr, nullptr, "Fixed assets", "Fixed asset"}},
    };
    for (const ModuleKeys &m : modules) {
        Menu("Module", m.module);
        for (size_t k = 0; k < m.entries.size(); k++) {
            if (!m.entries[k]) continue;
            const std::string what = std::string(m.module) + " Ctrl+" + std::to_string(k + 1);
            auto byKey = std::make_shared<Opening>();
            Menu("Window", "Close all");
            Key(uint32_t('1' + k), false, true);
            Do("read what " + what + " opened", [byKey] {
                *byKey = ActiveOpening();
                return true;
            });
            Menu("Window", "Close all");
            Menu("Registers", m.entries[k]);
            Check(what + " opens as Registers > " + m.entries[k], [byKey, what] {
                const Opening byMenu = ActiveOpening();
                EXPECT_NE(byMenu.type, 0) << what;
                EXPECT_EQ(byKey->type, byMenu.type) << what;
                EXPECT_EQ(byKey->title, byMenu.title) << what;
                EXPECT_EQ(byKey->focus, byMenu.focus) << what;
                return true;
            });
        }
    }
    Menu("Window", "Close all");
    EXPECT_EQ(Run(), 0);
}

TEST_F(RoadTest, CtrlPAsksThePrintDialogForADocumentAsForAReport)
{
    StartNewCompany();
    Menu("Module", "Sales");
    Key('9', false, true);
    Check("Ctrl+9 opens the order list", Opened(OrderList));
    ClickButton("New");
    Check("New opens an order", Opened(Order));
    TypeOneRowDocument("C1", 0, "SERVICE", "2");
    auto asked = std::make_shared<size_t>();
    Do("count the dialogs", [asked] {
        *asked = PrintDialogsAsked();
        return true;
    });

    // The stored order: Cancel prints nothing, OK prints it.
    AnswerPrint(false);
    Key('P', false, true);
    Check("Ctrl+P on the order asks the print dialog; Cancel prints nothing", [this, asked] {
        EXPECT_EQ(PrintDialogsAsked(), *asked + 1);
        EXPECT_TRUE(FilesIn("print").empty()) << ::testing::PrintToString(Messages());
        return true;
    });
    AnswerPrint(true);
    Key('P', false, true);
    Check("OK in the dialog prints the order", [this, asked] {
        EXPECT_EQ(PrintDialogsAsked(), *asked + 2);
        EXPECT_EQ(FilesIn("print").size(), 1u) << ::testing::PrintToString(Messages());
        return true;
    });

    // The report: the same dialog, the same answers.
    Menu("Window", "Close all");
    for (bool ok : {false, true}) {
        Key('R', false, true);
        Check("Ctrl+R opens the report list", Opened(ReportList));
        ClickRow("Sales transaction journal");
        Key('P', false, true);
        Check("Ctrl+P opens the journal's selection for the printer", Opened(SalesJournalSel));
        AnswerPrint(ok);
        ClickButton("OK");
        Check(std::string("the journal asks the print dialog; ") + (ok ? "OK prints it" : "Cancel prints nothing"),
              [this, asked, ok] {
                  EXPECT_EQ(PrintDialogsAsked(), *asked + (ok ? 4 : 3));
                  EXPECT_EQ(FilesIn("print").size(), ok ? 2u : 1u) << ::testing::PrintToString(Messages());
                  return true;
              });
        Menu("Window", "Close all");
    }
    EXPECT_EQ(Run(), 0);
}

TEST_F(RoadTest, TabFromTheInvoicesHeaderReachesItsItemCell)
{
    const std::string company = StartNewCompany();
    Menu("Module", "Sales");
    Key('5', false, true);
    Check("Ctrl+5 opens the invoice list", Opened(SalesInvoiceList));
    ClickButton("New");
    Check("New opens an invoice", Opened(SalesInvoice));
    ClickField("Customer");
    Type("C1");
    Key(PlKey::Tab);
    ClickField("Transaction date");
    Key(PlKey::Tab);
    Check("Tab from the last header field goes to the first row's item", [] {
        EXPECT_EQ(FocusedCell(), "Item@0") << FocusLabel();
        return true;
    });
    Type("SERVICE");
    Key(PlKey::Tab);
    Type("2");
    Key(PlKey::Tab);
    Check("the item typed there fills its row", [] {
        EXPECT_EQ(CellUnder("Item", 0), "SERVICE");
        EXPECT_NE(Shown("Total"), "0,00");
        return true;
    });
    ClickCell(0, 1);
    Key(PlKey::Tab, true);
    Key(PlKey::Tab, true);
    Check("Shift+Tab from the row's kind cell goes back to the header", [] {
        EXPECT_EQ(FocusLabel(), "Transaction date");
        return true;
    });
    ClickOk();
    Check("the invoice stores", [] {
        EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle() << ::testing::PrintToString(Messages());
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    EXPECT_EQ(RegRecordCount(IVVc::Number), 1u);
    CloseForCheck();
}

// The other documents with rows: a new one from its Registers list (a
// delivery from its order), the caret into its last header field, Tab.
TEST_F(RoadTest, TabFromEachDocumentsHeaderReachesItsFirstRow)
{
    StartNewCompany();
    struct Document {
        const char *module, *list, *lastField;
        int tabs;            // Tabs from that field out of the header
        const char *cell;    // the cell the rows are entered at
    };
    const Document documents[] = {
        {"Sales", "Orders", "Order date", 1, "Item@0"},
        {"Sales", "Quotations", "Quotation date", 1, "Item@0"},
        {"Sales", "Customer receipts", "Rate", 1, "Invoice@0"},
        {"Purchasing", "Purchase orders", "Order date", 1, "Item@0"},
        {"Purchasing", "Purchase invoices", "Booking date", 1, "Account@0"},
    };
    for (const Document &d : documents) {
        Menu("Window", "Close all");
        Menu("Module", d.module);
        Menu("Registers", d.list);
        ClickButton("New");
        Check(std::string("New opens a ") + d.list + " window", [] {
            EXPECT_TRUE(TitleTells("new")) << ActiveTitle();
            return TitleTells("new");
        });
        ClickField(d.lastField);
        for (int i = 0; i < d.tabs; i++) Key(PlKey::Tab);
        Check(std::string("Tab from ") + d.list + "' " + d.lastField + " enters the first row", [d] {
            EXPECT_EQ(FocusedCell(), d.cell) << d.list << ": " << FocusLabel();
            return true;
        });
        Key(PlKey::Tab, true);
        Check(std::string("Shift+Tab leaves ") + d.list + "' rows for the header", [d] {
            EXPECT_EQ(FocusedCell(), "") << d.list;
            return true;
        });
        ClickButton("Cancel");
        AnswerBox(kPlIdNo);
    }
    // A delivery is made from its order, and shown stored.
    Menu("Window", "Close all");
    Menu("Module", "Sales");
    Key('9', false, true);
    ClickButton("New");
    Check("New opens an order", Opened(Order));
    TypeOneRowDocument("C1", 0, "ITEM1", "1");
    Menu("Operations", "Delivery");
    Check("Operations > Delivery shows its delivery", Opened(Delivery));
    ClickField("Deliver to");
    for (int i = 0; i < 4; i++) Key(PlKey::Tab);
    Check("Tab from the delivery's last address line enters its first row", [] {
        EXPECT_EQ(FocusedCell(), "Item@0") << FocusLabel();
        return true;
    });
    Menu("Window", "Close all");
    EXPECT_EQ(Run(), 0);
}

}  // namespace
