// road_row_keys_test.cpp - rows typed as a fast typist types them, with
// the keys pressed every minute: Tab, a wrong digit taken back by
// Backspace, Delete at the caret, a selection cut by Shift+Delete and
// Return inside a row's cell edit the cell and leave every row where it
// is; only a row selected as a row - its number clicked - goes on Delete.
// The rows shown are read after each key, and the company file holds
// exactly the rows typed once the record is stored.
// A voucher: in General ledger, Registers > Vouchers, New, a cash and a
// sales row; rows typed by mistake go by their number and Delete (the
// last row once: Delete again deletes nothing), and by Edit > Select row
// and Backspace. A sales invoice: File > Windows... > "Sales invoices", New,
// two item rows, a third between them by Edit > Insert row, Return in an
// item cell on to the next row, posted. Stored, the voucher and the posted
// invoice keep their rows: Edit > Delete row is grey, Delete says why, the
// record stays as stored and closing asks nothing; a key typed below the
// voucher's rows is told where a change goes. Locked by Settings > Date
// locks, the voucher refuses a key, a correction row and a row delete,
// each told of the lock.
// Menus: in General ledger, Registers > Vouchers, Edit > Select row,
// Settings > Date locks..., Operations > Correction row; File >
// Windows... > "Sales invoices", Edit > Insert row.
// Windows: Voucher list, Voucher, Date locks, Windows, Sales invoice list,
// Sales invoice.
#include "tests/roads/road_fixture.h"

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "tests/shell/record_test_helpers.h"

namespace {

constexpr int SalesInvoice = 347, SalesInvoiceList = 348, Voucher = 117;
// Voucher columns: account, objects, name, debit, credit, VAT code.
constexpr int VAccount = 0, VName = 2, VDebit = 3, VCredit = 4;
// Sales invoice columns on its first column page: kind, item, quantity,
// description, price.
constexpr int IItem = 1, IQuantity = 2, IText = 3;

using Rows = std::vector<std::vector<std::string>>;

class RowKeysRoad : public RoadTest {
public:
    // A check, after the key `what` names, that the active window's rows
    // are exactly `rows`: as many rows, each showing its texts under the
    // columns `headings`. The road goes on either way, so that every key
    // that loses or adds a row is told.
    void RowsAre(const std::string &what, const std::vector<std::string> &headings, const Rows &rows)
    {
        Check(what, [=] {
            int n = Active();
            const int count = n ? WinMatrixRowCount(n) : -1;
            EXPECT_EQ(count, int(rows.size())) << what;
            for (int r = 0; r < int(rows.size()) && r < count; r++)
                for (size_t c = 0; c < headings.size(); c++)
                    EXPECT_EQ(CellUnder(headings[c], r), rows[size_t(r)][c])
                        << what << ": row " << r + 1 << ", " << headings[c];
            return true;
        });
    }
    // Whether row `row` of the active window's rows is painted selected.
    static bool RowShownSelected(int row) { return Active() && PaintedRowSelected(Active(), row); }
    // The (row, column) of the cell that has the focus; (-1, -1) for none.
    static std::pair<int, int> FocusCell()
    {
        int n = Active(), row = -1, column = -1;
        if (!n || FocusLabel() != "cell") return {-1, -1};
        MatrixRowAt(n, WinTable[n]->currentField, &row, &column);
        return {row, column};
    }
    // In the record shown as stored: what `act` does (its steps) is
    // refused with one message holding `why`, and changes nothing: as many
    // rows as before, the first of them `rows` under the columns
    // `headings`, and the title says "viewing".
    void Refused(const std::string &what, const std::function<void()> &act, const std::string &why,
                 const std::vector<std::string> &headings, const Rows &rows)
    {
        auto told = CountTold();
        auto count = std::make_shared<int>(-1);
        Do("count the rows shown", [count] {
            *count = Active() ? WinMatrixRowCount(Active()) : -1;
            return true;
        });
        act();
        Check(what + " is refused, says why and changes nothing", [told, why, count, headings, rows] {
            EXPECT_EQ(Messages().size(), *told + 1) << ::testing::PrintToString(Messages());
            EXPECT_TRUE(Told(why)) << ::testing::PrintToString(Messages());
            EXPECT_TRUE(TitleTells("viewing")) << ActiveTitle();
            EXPECT_EQ(Active() ? WinMatrixRowCount(Active()) : -1, *count);
            for (int r = 0; r < int(rows.size()); r++)
                for (size_t c = 0; c < headings.size(); c++)
                    EXPECT_EQ(CellUnder(headings[c], r), rows[size_t(r)][c]) << "row " << r + 1 << ", " << headings[c];
            return true;
        });
    }
    // In the record just stored: row `row` selected by its number, where
    // Edit > Delete row is grey, and Delete, which is refused as Refused
    // checks; closing the window (unless `close` is unset) asks nothing.
    void StoredRowKept(int row, const std::string &why, const std::vector<std::string> &headings, const Rows &rows,
                       bool close = true)
    {
        ClickRowNumber(row);
        Check("Edit > Delete row is grey on a row the record keeps", [] {
            EXPECT_TRUE(MenuItemGreyed("Edit", "Delete row"));
            return true;
        });
        Refused("Delete on a row the record keeps", [this] { Key(PlKey::Delete); }, why, headings, rows);
        if (!close) return;
        Menu("Window", "Close all");
        Check("closing asks nothing", [] {
            EXPECT_EQ(Active(), 0) << ActiveTitle();
            return true;
        });
    }
    // Settings > Date locks...: vouchers locked to the date an earlier
    // step read into `date`, stored quietly by OK, which goes back to the
    // voucher.
    void LockVouchersTo(std::shared_ptr<std::string> date)
    {
        Menu("Settings", "Date locks...");
        Check("the date locks open", Opened(WinTypes::SetDateLocks));
        auto told = CountTold();
        ClickField("Vouchers locked to");
        Key(PlKey::End);
        Key(PlKey::Home, true);
        Type("the voucher's date", [date] { return *date; });
        ClickOk();
        Check("OK stores the lock quietly and the voucher is shown again", [told] {
            EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
            return Opened(Voucher)();
        });
    }
};

const std::vector<std::string> VoucherColumns = {"Account", "Name", "Debit", "Credit"};

TEST_F(RowKeysRoad, VoucherRowsKeepWhatIsTyped)
{
    const std::string company = StartNewCompany();
    TypeVoucherRows("Typed fast", {});

    ClickCell(0, VAccount);
    Type("1910");
    Key(PlKey::Tab);
    ClickCell(0, VDebit);
    Type("100");
    Key(PlKey::Tab);
    Type("3");
    RowsAre("a wrong digit typed into the credit", VoucherColumns, {{"1910", "Cash", "100,00", "3"}});
    Key(PlKey::Back);
    RowsAre("Backspace takes the digit back, not the row", VoucherColumns, {{"1910", "Cash", "100,00", ""}});

    ClickCell(1, VAccount);
    Type("3010");
    Key(PlKey::Tab);
    ClickCell(1, VCredit);
    Type("1000");
    Key(PlKey::Left);
    Key(PlKey::Delete);
    RowsAre("Delete takes the character after the caret", VoucherColumns,
            {{"1910", "Cash", "100,00", ""}, {"3010", "Sales", "", "100"}});
    ClickCell(1, VName);
    Key(PlKey::End);
    Type(" XX");
    for (int i = 0; i < 3; i++) Key(PlKey::Left, true);
    Key(PlKey::Delete, true);
    RowsAre("Shift+Delete cuts the selected text", VoucherColumns,
            {{"1910", "Cash", "100,00", ""}, {"3010", "Sales", "", "100,00"}});
    Key(PlKey::Return);
    RowsAre("Return in a cell moves on", VoucherColumns,
            {{"1910", "Cash", "100,00", ""}, {"3010", "Sales", "", "100,00"}});

    // A row typed by mistake goes when its number is clicked and Delete
    // pressed; the rows around it stay.
    ClickCell(2, VAccount);
    Type("1930");
    Key(PlKey::Tab);
    RowsAre("a third row", VoucherColumns,
            {{"1910", "Cash", "100,00", ""}, {"3010", "Sales", "", "100,00"}, {"1930", "Bank", "", ""}});
    ClickCell(0, VName);
    ClickRowNumber(2);
    Check("a click on its number shows the row selected", [this] {
        EXPECT_TRUE(RowShownSelected(2));
        EXPECT_FALSE(RowShownSelected(1));
        return true;
    });
    // A selected row takes no text, and the header keeps its own.
    auto number = std::make_shared<std::string>();
    Check("the voucher's number", [number] {
        *number = Shown("Number");
        return !number->empty();
    });
    Type("5");
    Check("a digit typed at a selected row goes nowhere", [number] {
        EXPECT_EQ(Shown("Number"), *number);
        EXPECT_EQ(Shown("Text"), "Typed fast");
        return true;
    });
    RowsAre("the rows after the digit", VoucherColumns,
            {{"1910", "Cash", "100,00", ""}, {"3010", "Sales", "", "100,00"}, {"1930", "Bank", "", ""}});
    Key(PlKey::Delete);
    RowsAre("Delete removes the row selected", VoucherColumns,
            {{"1910", "Cash", "100,00", ""}, {"3010", "Sales", "", "100,00"}});
    // That was the last row: no row moves into its place, so none is
    // selected, and Delete pressed again (or held) deletes nothing.
    Check("after the last row no row is selected", [this] {
        EXPECT_FALSE(RowShownSelected(0));
        EXPECT_FALSE(RowShownSelected(1));
        return true;
    });
    Key(PlKey::Delete);
    RowsAre("Delete again deletes nothing", VoucherColumns,
            {{"1910", "Cash", "100,00", ""}, {"3010", "Sales", "", "100,00"}});
    // Edit > Select row selects the row of the cell; Backspace removes it.
    ClickCell(2, VAccount);
    Type("2440");
    Key(PlKey::Tab);
    ClickCell(2, VName);
    Menu("Edit", "Select row");
    Key(PlKey::Back);
    RowsAre("Backspace removes the row Edit > Select row selected", VoucherColumns,
            {{"1910", "Cash", "100,00", ""}, {"3010", "Sales", "", "100,00"}});
    OkStores("the voucher of the rows typed");
    auto date = std::make_shared<std::string>();
    Check("the voucher's date", [date] {
        *date = Shown("Date");
        return !date->empty();
    });
    // Stored, the voucher keeps its rows: a correction goes below a
    // correction row, as a key typed below its rows is told too.
    const Rows stored = {{"1910", "Cash", "100,00", ""}, {"3010", "Sales", "", "100,00"}};
    const std::string correction = "A stored voucher is changed only below a correction row";
    ClickCell(2, VAccount);
    Refused("a key typed below the stored rows", [this] { Type("1"); }, correction, VoucherColumns, stored);
    StoredRowKept(1, correction, VoucherColumns, stored, false);
    // Dated in the voucher lock, the voucher takes no change at all, and
    // the lock is what a key, a correction row and a row delete are told
    // of, not a correction that OK would then refuse.
    LockVouchersTo(date);
    const std::string locked = "This voucher cannot be changed: its date lies in the voucher lock";
    ClickCell(0, VName);
    Refused("a key typed into a stored row", [this] { Type("9"); }, locked, VoucherColumns, stored);
    Refused("Operations > Correction row", [this] { Menu("Operations", "Correction row"); }, locked, VoucherColumns,
            stored);
    StoredRowKept(1, locked, VoucherColumns, stored);
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    StoredRecord voucher = OnlyRecord(TRVc::Number);
    ASSERT_FALSE(voucher.head.empty()) << "one voucher";
    EXPECT_EQ(TextAt(voucher.head.data(), TRVc::Text), "Typed fast");
    ASSERT_EQ(voucher.rows.size(), 2u);
    const char *accounts[] = {"1910", "3010"};
    const double amounts[] = {100, -100};
    for (size_t i = 0; i < 2; i++) {
        EXPECT_EQ(TextAt(voucher.rows[i].data(), TRVc::Rows::Account), accounts[i]) << i;
        EXPECT_NEAR(AmountAt(voucher.rows[i].data(), TRVc::Rows::Amount), amounts[i], 0.005) << i;
    }
    CloseForCheck();
}

const std::vector<std::string> InvoiceColumns = {"Item", "Quantity", "Description"};

TEST_F(RowKeysRoad, SalesInvoiceRowsKeepWhatIsTyped)
{
    const std::string company = StartNewCompany();
    NewFromWindowList("Sales invoices", SalesInvoiceList, SalesInvoice);
    ClickField("Customer");
    Type("C1");
    Key(PlKey::Tab);

    ClickCell(0, IItem);
    Type("ITEM1");
    Key(PlKey::Tab);
    Type("25");
    RowsAre("a wrong digit typed into the quantity", InvoiceColumns, {{"ITEM1", "25", "Blue widget"}});
    Key(PlKey::Back);
    RowsAre("Backspace takes the digit back, not the row", InvoiceColumns, {{"ITEM1", "2", "Blue widget"}});
    Key(PlKey::Tab);
    Key(PlKey::End);
    Type(" large");
    Key(PlKey::Return);
    RowsAre("Return in the description moves on and inserts no row", InvoiceColumns,
            {{"ITEM1", "2", "Blue widget large"}});

    ClickCell(1, IItem);
    Type("ITEM2");
    Key(PlKey::Tab);
    Type("30");
    Key(PlKey::Left);
    Key(PlKey::Delete);
    RowsAre("Delete takes the character after the caret", InvoiceColumns,
            {{"ITEM1", "2", "Blue widget large"}, {"ITEM2", "3", "Red widget"}});
    Key(PlKey::Tab);
    Key(PlKey::End);
    for (int i = 0; i < 7; i++) Key(PlKey::Left, true);
    Key(PlKey::Delete, true);
    RowsAre("Shift+Delete cuts the selected text", InvoiceColumns,
            {{"ITEM1", "2", "Blue widget large"}, {"ITEM2", "3", "Red"}});
    Key(PlKey::Return);
    RowsAre("Return in a cell moves on", InvoiceColumns,
            {{"ITEM1", "2", "Blue widget large"}, {"ITEM2", "3", "Red"}});

    ClickCell(2, IItem);
    Type("ITEM1");
    Key(PlKey::Tab);
    Type("9");
    Key(PlKey::Tab);
    RowsAre("a third row", InvoiceColumns,
            {{"ITEM1", "2", "Blue widget large"}, {"ITEM2", "3", "Red"}, {"ITEM1", "9", "Blue widget"}});
    ClickCell(0, IText);
    ClickRowNumber(2);
    Check("a click on its number shows the row selected", [this] {
        EXPECT_TRUE(RowShownSelected(2));
        EXPECT_FALSE(RowShownSelected(0));
        return true;
    });
    Key(PlKey::Delete);
    RowsAre("Delete removes the row selected", InvoiceColumns,
            {{"ITEM1", "2", "Blue widget large"}, {"ITEM2", "3", "Red"}});

    // Edit > Insert row in a cell being typed into: the text typed stays
    // in its row, which moves down below an empty row; the caret goes to
    // the same column of the new row.
    ClickCell(1, IText);
    Key(PlKey::End);
    Type(" one");
    Menu("Edit", "Insert row");
    RowsAre("Edit > Insert row", InvoiceColumns,
            {{"ITEM1", "2", "Blue widget large"}, {"", "", ""}, {"ITEM2", "3", "Red one"}});
    ClickCell(1, IItem);
    Type("ITEM2");
    Key(PlKey::Tab);
    Type("1");
    Key(PlKey::Tab);
    RowsAre("the row inserted takes what is typed", InvoiceColumns,
            {{"ITEM1", "2", "Blue widget large"}, {"ITEM2", "1", "Red widget"}, {"ITEM2", "3", "Red one"}});
    // Return in an item cell goes on to the next row's first cell, its kind.
    ClickCell(0, IItem);
    Key(PlKey::Return);
    Check("Return in the item goes to the next row's kind", [] {
        EXPECT_EQ(FocusCell(), std::make_pair(1, 0));
        return true;
    });
    ClickButton("Posted");
    OkStores("the invoice of the rows typed");
    // Posted, the invoice keeps its rows, and says so.
    StoredRowKept(0, "A posted invoice can change only", InvoiceColumns,
                  {{"ITEM1", "2", "Blue widget large"}, {"ITEM2", "1", "Red widget"}, {"ITEM2", "3", "Red one"}});
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    StoredInvoice invoice = OnlyInvoice();
    ASSERT_FALSE(invoice.head.empty());
    EXPECT_EQ(GetU16(invoice.head.data(), IVVc::Posted), 1);
    ASSERT_EQ(invoice.rows.size(), 3u);
    const char *items[] = {"ITEM1", "ITEM2", "ITEM2"}, *texts[] = {"Blue widget large", "Red widget", "Red one"};
    const double quantities[] = {2, 1, 3};
    for (size_t i = 0; i < 3; i++) {
        EXPECT_EQ(TextAt(invoice.rows[i].data(), IVVc::Rows::ItemCode), items[i]) << i;
        EXPECT_EQ(TextAt(invoice.rows[i].data(), IVVc::Rows::Text), texts[i]) << i;
        EXPECT_NEAR(AmountAt(invoice.rows[i].data(), IVVc::Rows::Quantity), quantities[i], 0.0005) << i;
    }
    EXPECT_NEAR(AmountAt(invoice.head.data(), IVVc::Net), 2 * 100 + 1 * 50 + 3 * 50, 0.005);
    CloseForCheck();
}

}  // namespace
