// road_statement_reports_test.cpp - the balance sheet as a bookkeeper
// reads it: a voucher template is typed in the General ledger's window,
// a cash sale is typed as a voucher from it, then Ctrl+R lists the ledger's reports, the balance
// sheet's selection window refuses a period with one half typed year
// first where it was typed, then takes the year of the voucher, OK shows it in
// the preview and Ctrl+P prints it to a PDF whose text holds the cash
// account's closing balance and the rows' sums. The company file then
// holds the voucher those figures came from. The other statements' and
// formula reports' windows open from the same list.
// Menus: in General ledger, Registers > Vouchers, Operations > Balance row;
// File > Reports (Ctrl+R) > "Balance Sheet".
// Windows: Reports, Voucher list, Voucher, Key figures selection, Balance
// statement selection, Result statement selection, VAT report selection,
// Formula report selection.
#include "tests/roads/road_fixture.h"

#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "core/decimal.h"
#include "core/field_access.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "dict_offsets.h"
#include "platform/queue.h"

namespace {

constexpr int ReportList = 6, Preview = 5, VoucherList = 118, Voucher = 117;
constexpr int KeyFigureSel = 400, BalanceSel = 401, ResultSel = 402, VatReportSel = 403, FormulaSel = 406;
namespace fs = std::filesystem;

// The digits of a text: amounts are compared whatever their grouping.
std::string Digits(const std::string &shown) {
    std::string d;
    for (char c : shown)
        if (c >= '0' && c <= '9') d += c;
    return d;
}

// The line of text that holds `what`, empty when none does.
std::string LineWith(const std::string &text, const std::string &what) {
    std::istringstream in(text);
    std::string line;
    while (std::getline(in, line))
        if (line.find(what) != std::string::npos) return line;
    return "";
}

TEST_F(RoadTest, TheBalanceSheetShowsAVoucherTypedInTheLedger) {
    const std::string company = StartNewCompany();
    // The template of a cash sale, typed in the General ledger's window;
    // the balance sheet's rows are the demo company's.
    Menu("Module", "General ledger");
    TypeVoucherTemplate("SALE", "Cash sale", {{"3010", "", "", "", "80%"}, {"2610", "", "", "", "", "1"}});
    Menu("Window", "Close all");

    // A cash sale of 1250: 1000 sales and 250 output VAT.
    Menu("Module", "General ledger");
    Menu("Registers", "Vouchers");
    Check("the register popup opens the voucher list", Opened(VoucherList));
    ClickButton("New");
    Check("New opens a voucher", Opened(Voucher));
    ClickField("Text");
    Type("Cash sale");
    ClickCell(0, 0);
    Type("1910");
    Key(PlKey::Tab);
    ClickCell(0, 3);
    Type("1250");
    Key(PlKey::Tab);
    ClickCell(1, 0);
    Type("SALE");
    Key(PlKey::Tab);
    ClickCell(2, 4);
    Menu("Operations", "Balance row");
    auto date = std::make_shared<std::string>();
    ClickOk();
    Check("OK stores the voucher", [date] {
        EXPECT_TRUE(Messages().empty()) << ::testing::PrintToString(Messages());
        *date = Shown("Date");
        return TitleTells("viewing");
    });
    Menu("Window", "Close all");

    // The other statements' and formula reports' windows open from the list.
    const std::pair<const char *, int> windows[] = {{"Income Statement", ResultSel},
                                                    {"Key Figures", KeyFigureSel},
                                                    {"VAT Report", VatReportSel},
                                                    {"Formula Report 37", FormulaSel}};
    for (const auto &[row, type] : windows) ReportWindowOpens(row, type);

    auto text = ReportToPreviewAndPdf("Balance Sheet", BalanceSel, [this, date] {
        // A period with one half no date as typed is refused whole where
        // it was typed, as a date is: neither half is taken, and From and
        // To keep what they showed.
        auto dates = std::make_shared<std::string>();
        Do("note From and To", [dates] {
            *dates = Shown("From") + ":" + Shown("To");
            return true;
        });
        DateRefusedWhereTyped("Period", "1.2.27:2027-02-28", "2027-02-28");
        Check("From and To as they were", [dates] {
            EXPECT_EQ(Shown("From") + ":" + Shown("To"), *dates);
            return true;
        });
        Retype("Period", "1.2.27:28.2.27");
        ClickField("From");
        Type("From", [date] { return "01.01." + date->substr(date->size() - 4); });
        ClickField("To");
        Type("To", [date] { return "31.12." + date->substr(date->size() - 4); });
    }, "balance_sheet");
    EXPECT_EQ(Run(), 0);
    EXPECT_NE(text->find("Balance Sheet"), std::string::npos) << *text;
    EXPECT_NE(text->find("Current assets"), std::string::npos) << *text;

    // The figures printed are the stored voucher's: cash 1250 at the
    // year's end, output VAT 250, and the sale's 1000 as the result.
    ASSERT_TRUE(OpenForCheck(company));
    ASSERT_EQ(RegRecordCount(TRVc::Number), 1u);
    EXPECT_EQ(RegRecordCount(AUVc::Number), 1u);
    std::vector<uint8_t> voucher(TRVc::Size), row(TRVc::Rows::Size);
    uint32_t id = 0;
    ASSERT_TRUE(RecReadAt(TRVc::Number, 1, voucher.data(), &id));
    ASSERT_TRUE(MatrixRowRead(TRVc::Number, voucher.data(), 0, row.data()));
    PackedDecimal cash = GetDec(row.data(), TRVc::Rows::Amount);
    EXPECT_DOUBLE_EQ(DecToDouble(&cash), 1250);
    CloseForCheck();
    const std::string cashLine = LineWith(*text, "1910"), vatLine = LineWith(*text, "2610");
    EXPECT_NE(Digits(cashLine).find("125000"), std::string::npos) << cashLine << "\n" << *text;
    EXPECT_NE(Digits(vatLine).find("25000"), std::string::npos) << vatLine;
    EXPECT_NE(Digits(LineWith(*text, "Total assets")).find("125000"), std::string::npos) << *text;
    EXPECT_NE(Digits(LineWith(*text, "Result of the year")).find("100000"), std::string::npos) << *text;
}

}  // namespace
