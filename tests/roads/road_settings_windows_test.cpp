// road_settings_windows_test.cpp - settings kept in their windows, from
// the demo company and the General ledger's Settings menu: a number
// series of quotations, a VAT code, a fiscal year and the posting
// switches. A range that overlaps another, a VAT code posting to an
// account that does not exist and a fiscal year that leaves a gap are
// each refused on OK with their message, the cursor on the cell that
// holds the fault and every typed row still in the window; mended, they
// are stored. The blocks are then read back from the company file. A VAT
// code stored and then emptied in the middle of the rows is removed by its
// number and Delete, and the other codes are stored. A VAT code the items
// use stays, deleted or emptied, OK refused and told why; one nothing uses
// goes. The number and date formats refuse a date separator that is empty
// or a digit, and a digit as the decimal separator.
// Menus: in General ledger, Settings > Number series..., Settings > VAT
// codes..., Settings > Fiscal years..., Settings > Posting..., Settings >
// Number and date formats...; in Sales, Settings > Forms....
// Windows: Number series, Series: quotations, VAT codes, Fiscal years,
// Posting to the ledger, Number and date formats, Forms, Forms: credit
// notes.
#include "tests/roads/road_fixture.h"

#include <algorithm>
#include <cstdlib>
#include <initializer_list>

#include "core/date.h"
#include "core/field_access.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/dialog.h"
#include "platform/queue.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"

namespace {

namespace fs = std::filesystem;

class SettingsWindowsRoad : public RoadTest {
public:
    // The matrix cell (row, column) that has the focus in the active
    // window; (-1, -1) when the focus is on no cell.
    static std::pair<int, int> FocusCell()
    {
        int n = Active();
        if (!n || FocusLabel() != "cell") return {-1, -1};
        int row = -1, column = -1;
        MatrixRowAt(n, WinTable[n]->currentField, &row, &column);
        return {row, column};
    }
    // The rows the active settings window holds now, as stored bytes.
    static std::vector<uint8_t> WindowRows()
    {
        std::vector<uint8_t> bytes;
        int n = Active();
        MemBlock rows = n ? WinMatrixRows(n) : 0;
        if (!MemIsValid(rows)) return bytes;
        const uint8_t *p = MemLock(rows);
        bytes.assign(p, p + MemSize(rows));
        MemUnlock(rows);
        return bytes;
    }
    // The active group window (Forms, Series) of `type` lists `count`
    // lines, `line` among them (a picture kept as `shot` in
    // ORVEL_ROAD_SHOTS, when given); a click on that line and Return.
    void GroupOpensLine(int type, size_t count, const std::string &line, const char *shot)
    {
        Check("the group window lists its " + std::to_string(count) + " lines", [=, this] {
            EXPECT_EQ(ActiveType(), type) << ActiveTitle();
            std::vector<std::string> rows = ListRows();
            EXPECT_EQ(rows.size(), count) << ::testing::PrintToString(rows);
            EXPECT_NE(std::find(rows.begin(), rows.end(), line), rows.end());
            EXPECT_TRUE(!shot || SaveWindowPng(fs::path(std::getenv("ORVEL_ROAD_SHOTS")) / shot, true));
            return ActiveType() == type;
        });
        ClickRow(line);
        Key(PlKey::Return);
    }
    struct Cell {
        int row, column;
        std::string text;
    };
    // The settings window of `type` is active with `count` rows of
    // `rowSize` bytes.
    void OpensWithRows(int type, uint32_t rowSize, size_t count)
    {
        Check("window type " + std::to_string(type) + " opens with its " + std::to_string(count) + " rows",
              [type, rowSize, count] {
                  EXPECT_EQ(ActiveType(), type) << ActiveTitle();
                  EXPECT_EQ(WindowRows().size(), count * rowSize);
                  return ActiveType() == type;
              });
    }
    // In the active rows window of `type`: the cells `typed` typed and OK;
    // the store is refused, telling `told`, with the cursor on cell `at`
    // and every typed row still in the window (the last typed row counts
    // them). Then the cells `mend` typed (a picture kept as `shot` in
    // ORVEL_ROAD_SHOTS, when given) and OK, which stores and closes it.
    void RefusedThenStored(int type, uint32_t rowSize, const std::vector<Cell> &typed, const std::string &told,
                           std::pair<int, int> at, const std::vector<Cell> &mend, const char *shot = nullptr)
    {
        for (const Cell &c : typed) TypeCell(c.row, c.column, c.text);
        ClickOk();
        size_t rows = size_t(typed.back().row) + 1;
        Check("refused: " + told, [type, rowSize, told, at, rows] {
            EXPECT_TRUE(Told(told)) << ::testing::PrintToString(Messages());
            EXPECT_EQ(ActiveType(), type) << ActiveTitle();
            EXPECT_EQ(FocusCell(), at);
            EXPECT_EQ(WindowRows().size(), rows * rowSize) << "a typed row was lost";
            return ActiveType() == type;
        });
        for (const Cell &c : mend) TypeCell(c.row, c.column, c.text);
        if (shot) {
            Check("a picture of the mended rows", [shot, this] {
                EXPECT_TRUE(SaveWindowPng(fs::path(std::getenv("ORVEL_ROAD_SHOTS")) / shot, true));
                return true;
            });
        }
        ClickOk();
        Check("mended, the rows are stored and the window closes", [type] {
            EXPECT_NE(ActiveType(), type) << ActiveTitle();
            return ActiveType() != type;
        });
        Menu("Window", "Close all");
    }
    // The cells `columns` of row `row` emptied one by one, as a user
    // clears them.
    void EmptyCells(int row, std::initializer_list<int> columns)
    {
        for (int column : columns) {
            ClickCell(row, column);
            Key(PlKey::End);
            Key(PlKey::Home, true);
            Key(PlKey::Back);
        }
    }
    static std::string DateText(const uint8_t *at)
    {
        DateRec d = GetDate(at, 0);
        return std::to_string(d.day) + "." + std::to_string(d.month) + "." + std::to_string(d.year);
    }
};

TEST_F(SettingsWindowsRoad, SeriesVatCodeFiscalYearAndPostingAreKeptInTheirWindows)
{
    const std::string company = StartNewCompany();
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    Menu("Module", "General ledger");

    // ---- A number series: the demo gives the quotations a range a year,
    // 2020 to 2035; two more are added after them. ----
    Menu("Settings", "Number series...");
    GroupOpensLine(WinTypes::SetSeries, 14, "Quotations", shots ? "settings_series.png" : nullptr);
    OpensWithRows(WinTypes::SetSeries195, QuotationSeriesBlk::Rows::Size, 16);
    RefusedThenStored(WinTypes::SetSeries195, QuotationSeriesBlk::Rows::Size,
                      {{16, 0, "5001"}, {16, 1, "5999"}, {17, 0, "5500"}, {17, 1, "6500"}},
                      "This number range overlaps", {17, 0}, {{17, 0, "6001"}, {17, 1, "6999"}},
                      shots ? "settings_series_rows.png" : nullptr);

    // ---- A VAT code after the demo's 1, 2 and 0, its output account first
    // one that does not exist. ----
    Menu("Settings", "VAT codes...");
    OpensWithRows(WinTypes::SetVatCodes, VatCodeBlk::Rows::Size, 3);
    RefusedThenStored(WinTypes::SetVatCodes, VatCodeBlk::Rows::Size,
                      {{3, 0, "3"}, {3, 1, "Reduced"}, {3, 2, "6"}, {3, 4, "9999"}, {3, 5, "2640"}},
                      "The account does not exist.", {3, 4}, {{3, 4, "2610"}});

    // ---- A fiscal year after the demo's last (2035), first a day late. ----
    Menu("Settings", "Fiscal years...");
    OpensWithRows(WinTypes::SetFiscalYears, FiscalYearBlk::Rows::Size, 16);
    RefusedThenStored(WinTypes::SetFiscalYears, FiscalYearBlk::Rows::Size,
                      {{16, 0, "2036"}, {16, 1, "02.01.2036"}, {16, 2, "31.12.2036"}},
                      "A fiscal year must begin the day after", {16, 1}, {{16, 1, "01.01.2036"}});

    // ---- Posting: payments no longer post, invoices from a later date. ----
    Menu("Settings", "Posting...");
    Check("the posting window shows the demo's switches", [shots, this] {
        EXPECT_EQ(ActiveType(), WinTypes::SetPosting) << ActiveTitle();
        EXPECT_EQ(Shown("Invoices from"), "01.01.2024");
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "settings_posting.png", true));
        return ActiveType() == WinTypes::SetPosting;
    });
    ClickButton("Post payments");
    ClickField("Invoices from");
    Key(PlKey::End);
    Key(PlKey::Home, true);
    Type("01.03.2024");
    ClickOk();
    Check("the posting block is stored", [] {
        EXPECT_NE(ActiveType(), WinTypes::SetPosting) << ActiveTitle();
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    {
        namespace S = QuotationSeriesBlk::Rows;
        std::vector<uint8_t> rows = StoredRows(QuotationSeriesBlk::Number);
        ASSERT_EQ(rows.size(), 18 * S::Size);
        EXPECT_EQ(GetU32(rows.data(), S::FirstNr), 2000001u) << "the demo's ranges stay first";
        EXPECT_EQ(GetU32(rows.data() + 16 * S::Size, S::FirstNr), 5001u);
        EXPECT_EQ(GetU32(rows.data() + 16 * S::Size, S::LastNr), 5999u);
        EXPECT_EQ(GetU32(rows.data() + 17 * S::Size, S::FirstNr), 6001u);
        EXPECT_EQ(GetU32(rows.data() + 17 * S::Size, S::LastNr), 6999u);
    }
    {
        namespace V = VatCodeBlk::Rows;
        std::vector<uint8_t> rows = StoredRows(VatCodeBlk::Number);
        ASSERT_EQ(rows.size(), 4 * V::Size);
        const uint8_t *row = rows.data() + 3 * V::Size;
        EXPECT_EQ(TextAt(row, V::Code), "3");
        EXPECT_EQ(TextAt(row, V::Name), "Reduced");
        EXPECT_EQ(TextAt(row, V::Account1), "2610");
        EXPECT_EQ(TextAt(row, V::Account2), "2640");
        EXPECT_EQ(TextAt(rows.data(), V::Code), "1") << "the demo's codes stay first";
    }
    {
        namespace Y = FiscalYearBlk::Rows;
        std::vector<uint8_t> rows = StoredRows(FiscalYearBlk::Number);
        ASSERT_EQ(rows.size(), 17 * Y::Size);
        const uint8_t *row = rows.data() + 16 * Y::Size;
        EXPECT_EQ(TextAt(row, Y::YearCode), "2036");
        EXPECT_EQ(DateText(row + Y::StartDate), "1.1.2036");
        EXPECT_EQ(DateText(row + Y::EndDate), "31.12.2036");
        // The store gave the new year an order code of its own.
        uint16_t code = GetU16(row, Y::OrderCode);
        EXPECT_NE(code, 0);
        for (int i = 0; i < 16; i++) EXPECT_NE(GetU16(rows.data() + i * Y::Size, Y::OrderCode), code) << i;
    }
    {
        uint8_t posting[PostingBlk::Size] = {};
        ASSERT_TRUE(SettingsBlockRead(PostingBlk::Number, posting, sizeof posting));
        EXPECT_EQ(GetU16(posting, PostingBlk::PostPayments), 0);
        EXPECT_EQ(GetU16(posting, PostingBlk::PostInvoices), 1);
        EXPECT_EQ(DateText(posting + PostingBlk::InvoiceStart), "1.3.2024");
    }
    CloseForCheck();
}

// The number and date formats refuse separators that dates or amounts
// could not be read back with: an emptied date separator, a digit as the
// date separator and a digit as the decimal separator are each refused on
// OK with their message, the cursor on the field at fault; "/" is then
// stored, and the posting window shows its dates with it.
TEST_F(SettingsWindowsRoad, FormatsRefuseSeparatorsThatCannotBeReadBack)
{
    const std::string company = StartNewCompany();
    Menu("Module", "General ledger");
    Menu("Settings", "Number and date formats...");
    Check("the formats window opens", Opened(WinTypes::SetFormats));
    const std::string dateTold = "The date separator is one character other than a digit";
    const std::string digitTold = "A decimal or thousands separator cannot be a digit";
    struct Typed {
        const char *label, *text, *told;
    };
    const Typed refused[] = {{"Date separator", "", dateTold.c_str()},
                             {"Date separator", "7", dateTold.c_str()},
                             {"Decimal separator", "0", digitTold.c_str()}};
    for (const Typed &t : refused) {
        Retype(t.label, t.text);
        if (t.text[0] == 0) Key(PlKey::Delete);
        auto told = CountTold();
        ClickOk();
        Check(std::string("refused: ") + t.label + " \"" + t.text + "\"", [t, told] {
            EXPECT_EQ(Messages().size(), *told + 1) << ::testing::PrintToString(Messages());
            EXPECT_TRUE(Told(t.told)) << ::testing::PrintToString(Messages());
            EXPECT_EQ(ActiveType(), WinTypes::SetFormats) << ActiveTitle();
            EXPECT_EQ(FocusLabel(), t.label);
            return ActiveType() == WinTypes::SetFormats;
        });
        Retype(t.label, t.label == std::string("Date separator") ? "." : ",");
    }
    Retype("Date separator", "/");
    ClickOk();
    Check("the formats are stored", [] {
        EXPECT_NE(ActiveType(), WinTypes::SetFormats) << ActiveTitle();
        return ActiveType() != WinTypes::SetFormats;
    });
    Menu("Settings", "Posting...");
    Check("the posting window's dates read with the stored separator", [] {
        EXPECT_EQ(Shown("Invoices from"), "01/01/2024");
        return ActiveType() == WinTypes::SetPosting;
    });
    Menu("Window", "Close all");
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    uint8_t format[FormatBlk::Size] = {};
    ASSERT_TRUE(SettingsBlockRead(FormatBlk::Number, format, sizeof format));
    EXPECT_EQ(TextAt(format, FormatBlk::DateSep), "/");
    EXPECT_EQ(TextAt(format, FormatBlk::DecimalSep), ",");
    CloseForCheck();
}

// A VAT code given up: two codes stored after the demo's 1, 2 and 0, then
// the first of them emptied cell by cell. OK asks for the empty row to be
// filled in or removed, the caret on it; its number clicked, Edit >
// Delete row is usable and Delete removes it; OK stores the other rows.
TEST_F(SettingsWindowsRoad, AnEmptiedRowBetweenOthersIsRemovedAndTheRestStored)
{
    namespace V = VatCodeBlk::Rows;
    const std::string company = StartNewCompany();
    Menu("Module", "General ledger");
    Menu("Settings", "VAT codes...");
    OpensWithRows(WinTypes::SetVatCodes, V::Size, 3);
    const std::vector<std::vector<std::string>> codes = {{"3", "Reduced", "6", "", "2610", "2640"},
                                                         {"4", "Export", "0", "", "2610", "2640"}};
    for (size_t r = 0; r < codes.size(); r++)
        for (size_t c = 0; c < codes[r].size(); c++)
            if (!codes[r][c].empty()) TypeCell(int(r) + 3, int(c), codes[r][c]);
    ClickOk();
    Check("the two codes are stored", [] { return ActiveType() != WinTypes::SetVatCodes; });

    Menu("Settings", "VAT codes...");
    OpensWithRows(WinTypes::SetVatCodes, V::Size, 5);
    EmptyCells(3, {0, 1, 2, 4, 5});
    ClickOk();
    Check("OK asks for the empty row to be filled in or removed", [] {
        EXPECT_TRUE(Told("Fill in or remove the empty row first.")) << ::testing::PrintToString(Messages());
        EXPECT_EQ(FocusCell(), std::make_pair(3, 0));
        return ActiveType() == WinTypes::SetVatCodes;
    });
    ClickRowNumber(3);
    Check("Edit > Delete row is usable on the row", [] {
        EXPECT_FALSE(MenuItemGreyed("Edit", "Delete row"));
        return true;
    });
    auto told = CountTold();
    Key(PlKey::Delete);
    Check("Delete removes the row without a word", [told] {
        EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
        EXPECT_EQ(WindowRows().size(), 4 * V::Size);
        return true;
    });
    ClickOk();
    Check("OK stores the other rows and closes the window", [told] {
        EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
        return ActiveType() != WinTypes::SetVatCodes;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> rows = StoredRows(VatCodeBlk::Number);
    ASSERT_EQ(rows.size(), 4 * V::Size);
    const char *kept[] = {"1", "2", "0", "4"};
    for (size_t i = 0; i < 4; i++) EXPECT_EQ(TextAt(rows.data() + i * V::Size, V::Code), kept[i]) << i;
    EXPECT_EQ(TextAt(rows.data() + 3 * V::Size, V::Name), "Export");
    CloseForCheck();
}

// A VAT code the demo's items use stays in the table by every road out of
// it. Code 2 (item group G2 and its item SERVICE charge it) clicked by its
// number and deleted: OK is refused with a message that names the code
// and the item group, and the window keeps its rows until it is closed
// without storing. Its cells emptied, the empty row deleted and OK: the
// same. A code nothing uses, stored before, goes by its number, Delete
// and OK. The company file keeps code 2 as it was.
TEST_F(SettingsWindowsRoad, AVatCodeInUseStaysAndOneNothingUsesGoes)
{
    namespace V = VatCodeBlk::Rows;
    const std::string company = StartNewCompany();
    const std::string inUse = "The row cannot be removed: the code 2 is in use by Item group G2.";
    Menu("Module", "General ledger");
    Menu("Settings", "VAT codes...");
    OpensWithRows(WinTypes::SetVatCodes, V::Size, 3);
    for (const Cell &c : std::vector<Cell>{{3, 0, "3"}, {3, 1, "Reduced"}, {3, 2, "6"}, {3, 4, "2610"}, {3, 5, "2640"}})
        TypeCell(c.row, c.column, c.text);
    ClickOk();
    Check("the code nothing uses is stored", [] { return ActiveType() != WinTypes::SetVatCodes; });

    // OK after code 2's row went, by Delete or emptied: refused, named.
    auto refusedOnOk = [this, inUse](const std::string &how) {
        auto told = CountTold();
        ClickOk();
        Check("OK is refused for code 2 " + how + "; the window keeps its rows", [told, inUse] {
            EXPECT_EQ(Messages().size(), *told + 1) << ::testing::PrintToString(Messages());
            if (Messages().size() > *told) {
                EXPECT_NE(Messages().back().find(inUse), std::string::npos) << Messages().back();
            }
            EXPECT_EQ(ActiveType(), WinTypes::SetVatCodes) << ActiveTitle();
            EXPECT_EQ(WindowRows().size(), 3 * V::Size);
            return ActiveType() == WinTypes::SetVatCodes;
        });
        AnswerBox(kPlIdNo);
        Menu("Window", "Close all");
    };
    Menu("Settings", "VAT codes...");
    OpensWithRows(WinTypes::SetVatCodes, V::Size, 4);
    ClickRowNumber(1);
    Key(PlKey::Delete);
    refusedOnOk("deleted");

    Menu("Settings", "VAT codes...");
    OpensWithRows(WinTypes::SetVatCodes, V::Size, 4);
    EmptyCells(1, {0, 1, 2, 4, 5, 6});   // the demo's code 2 has an added percentage of 0,00
    ClickOk();
    Check("OK asks for the emptied row to be removed", [] {
        EXPECT_TRUE(Told("Fill in or remove the empty row first.")) << ::testing::PrintToString(Messages());
        return ActiveType() == WinTypes::SetVatCodes;
    });
    ClickRowNumber(1);
    Key(PlKey::Delete);
    refusedOnOk("emptied");

    Menu("Settings", "VAT codes...");
    OpensWithRows(WinTypes::SetVatCodes, V::Size, 4);
    ClickRowNumber(3);
    auto told = CountTold();
    Key(PlKey::Delete);
    ClickOk();
    Check("the code nothing uses goes without a word", [told] {
        EXPECT_EQ(Messages().size(), *told) << ::testing::PrintToString(Messages());
        return ActiveType() != WinTypes::SetVatCodes;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    std::vector<uint8_t> rows = StoredRows(VatCodeBlk::Number);
    ASSERT_EQ(rows.size(), 3 * V::Size);
    const char *kept[] = {"1", "2", "0"};
    for (size_t i = 0; i < 3; i++) EXPECT_EQ(TextAt(rows.data() + i * V::Size, V::Code), kept[i]) << i;
    PackedDecimal rate = GetDec(rows.data() + V::Size, V::Rate);
    EXPECT_DOUBLE_EQ(DecToDouble(&rate), 12.0) << "code 2 is stored as it was";
    CloseForCheck();
}

// The Forms window lists every printed document; the credit notes' line
// opens their form choices, one row in the demo. A row typed after it
// with a language, a form and a printer (any series, the first pass) is
// stored as such: the empty numbers are kept as "any" (-1).
TEST_F(SettingsWindowsRoad, AFormIsChosenForCreditNotes)
{
    const std::string company = StartNewCompany();
    const char *shots = std::getenv("ORVEL_ROAD_SHOTS");
    Menu("Module", "Sales");
    Menu("Settings", "Forms...");
    GroupOpensLine(WinTypes::SetForms, 29, "Credit notes", shots ? "settings_forms.png" : nullptr);
    OpensWithRows(WinTypes::SetForms144, CreditNoteFormBlk::Rows::Size, 1);
    TypeCell(1, 0, "ENG");
    TypeCell(1, 3, "CREDIT-EN");
    TypeCell(1, 4, "LASER");
    Check("the typed row, before OK", [shots, this] {
        EXPECT_TRUE(!shots || SaveWindowPng(fs::path(shots) / "settings_form_rows.png", true));
        return true;
    });
    ClickOk();
    Check("the row is stored and the window closes", [] {
        EXPECT_NE(ActiveType(), WinTypes::SetForms144) << ActiveTitle();
        return true;
    });
    EXPECT_EQ(Run(), 0);

    ASSERT_TRUE(OpenForCheck(company));
    namespace F = CreditNoteFormBlk::Rows;
    std::vector<uint8_t> rows = StoredRows(CreditNoteFormBlk::Number);
    ASSERT_EQ(rows.size(), 2 * F::Size);
    EXPECT_EQ(TextAt(rows.data(), F::LangCode), "") << "the demo's row stays first, for any language";
    const uint8_t *row = rows.data() + F::Size;
    EXPECT_EQ(TextAt(row, F::LangCode), "ENG");
    EXPECT_EQ(TextAt(row, F::FormName), "CREDIT-EN");
    EXPECT_EQ(TextAt(row, F::PrinterName), "LASER");
    EXPECT_EQ(int32_t(GetU32(row, F::SeriesStart)), -1);
    EXPECT_EQ(int32_t(GetU32(row, F::CopyPass)), -1);
    CloseForCheck();
}

}  // namespace
