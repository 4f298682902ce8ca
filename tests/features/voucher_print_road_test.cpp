// voucher_print_road_test.cpp - the voucher print-out as a user runs it in
// a company made from the defaults: Ctrl+R, the report's row and Return
// open its selection window; its OK on the list's device is refused with
// the way to the printer, and Ctrl+P prints: with no voucher in the period
// nothing is written and the user is told so; with one, its PDF lands in
// print/ and the status line names the file.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "core/decimal.h"
#include "core/record_buffer.h"
#include "platform/control.h"
#include "platform/script.h"
#include "rules/ledger.h"
#include "rules/rules_types.h"
#include "shell/record_commands.h"
#include "shell/toolbar.h"
#include "tests/output/pdf_words.h"
#include "tests/features/demo_company_fixture.h"
#include "tests/shell/record_test_helpers.h"

namespace {

namespace fs = std::filesystem;

constexpr int ReportListType = 6;
constexpr int VoucherReportTitle = 3041;   // the report list's row and the window's title

class VoucherPrintRoad : public LoggedIn {
protected:
    // Ctrl+R, the voucher print-out's row chosen by keys and Return: its
    // selection window's number, 0 when it did not open.
    int OpenSelection()
    {
        Key('R', false, true);
        int list = WinFindByDef(ReportListType);
        if (list == 0) return 0;
        if (!ChooseRow(list, TextOf(VoucherReportTitle))) return 0;
        return WinFindByDef(WinTypes::VoucherPrintSel);
    }
    // Types the period into the selection window's first two fields.
    static void Period(const char *from, const char *to)
    {
        Type(from);
        Key(PlKey::Tab);
        Type(to);
    }
    // Voucher `number` of the first series dated 10.6.2024 with two rows
    // of account 1910 and the row text given.
    static void StoreVoucher(uint32_t number = 1, const char *rowText = "Cash")
    {
        RuleRecord v(Voucher::Number);
        ASSERT_NE(v.record, nullptr);
        PutU32(v.record, Voucher::SerNr, number);
        PutDate(v.record, Voucher::TransDate, DateRec{10, 6, 2024});
        PutDate(v.record, Voucher::RegDate, DateRec{10, 6, 2024});
        const uint8_t account[] = "\x04" "1910", none[] = "\x00";
        uint8_t text[256];
        PStringFromC(text, rowText);
        PackedDecimal ten, total;
        DecFromLong(&ten, 10);
        DecSetBlank(&total);
        AddVoucherRow(v.record, account, none, none, text, &ten, 0, true, &total);
        AddVoucherRow(v.record, account, none, none, text, &ten, 0, false, &total);
        uint32_t id = 0;
        ASSERT_TRUE(RecInsertLocal(Voucher::Number, v.record, &id));
    }
    std::vector<fs::path> Printed()
    {
        std::vector<fs::path> pdfs;
        std::error_code ec;
        for (const auto &e : fs::directory_iterator(dir / "print", ec)) pdfs.push_back(e.path());
        return pdfs;
    }
};

TEST_F(VoucherPrintRoad, OkSaysHowToPrintAnEmptyPeriodPrintsNothingAPrintNamesItsFile)
{
    int n = OpenSelection();
    ASSERT_GT(n, 0);
    EXPECT_EQ(StatusLineText(), TextOf(Texts::StatusReady));
    Period("010624", "300624");
    Key(PlKey::Return, true);   // Shift+Return: OK
    EXPECT_TRUE(Said(TextOf(Texts::ReportPrinterOnly)));
    EXPECT_NE(TextOf(Texts::ReportPrinterOnly).find("File > Print"), std::string::npos);
    ASSERT_TRUE(WinIsOpen(n)) << "the window stays for the print";

    // No voucher in the period: told, and no file is written.
    MessagesShown.clear();
    Key('P', false, true);
    EXPECT_EQ(Shown(), std::vector<std::string>{TextOf(Texts::NothingToPrint)});
    EXPECT_TRUE(Printed().empty());
    for (const PlScriptRecord &r : ScriptRecords()) EXPECT_NE(r.kind, "print") << "no printer was asked for";
    EXPECT_EQ(StatusLineText(), TextOf(Texts::StatusReady));

    // One voucher: one PDF, named on the status line by its full path.
    StoreVoucher();
    n = OpenSelection();
    ASSERT_GT(n, 0);
    Period("010624", "300624");
    MessagesShown.clear();
    ScriptAnswerPrint(true, PlPrintChoice{});   // the print dialog: OK
    Key('P', false, true);
    EXPECT_TRUE(Shown().empty()) << Shown().front();
    std::vector<fs::path> pdfs = Printed();
    ASSERT_EQ(pdfs.size(), 1u);
    std::vector<PdfWord> words = PdfWords(pdfs[0]);
    EXPECT_EQ(pdfwords::Find(words, "1910").page, 1);
    EXPECT_EQ(pdfwords::Find(words, "Cash").page, 1);
    EXPECT_EQ(words.back().page, 1) << "one voucher, one page";
    EXPECT_EQ(StatusLineText(), TextOf(Texts::PrintedTo) + fs::absolute(pdfs[0]).lexically_normal().string());
}

// The range typed as references picks the vouchers: "2:3" prints the
// second and third of three, a page each, and not the first; a range whose
// end lies before its start prints nothing and says so.
TEST_F(VoucherPrintRoad, TheVoucherRangeTypedAsReferencesBoundsThePrint)
{
    StoreVoucher(1, "First");
    StoreVoucher(2, "Second");
    StoreVoucher(3, "Third");
    int n = OpenSelection();
    ASSERT_GT(n, 0);
    Period("010624", "300624");
    Key(PlKey::Tab);
    Type("2:3");
    Key(PlKey::Tab);
    MessagesShown.clear();
    ScriptAnswerPrint(true, PlPrintChoice{});
    Key('P', false, true);
    std::vector<fs::path> pdfs = Printed();
    ASSERT_EQ(pdfs.size(), 1u) << ::testing::PrintToString(Shown());
    std::vector<PdfWord> words = PdfWords(pdfs[0]);
    EXPECT_EQ(pdfwords::Find(words, "Second").page, 1);
    EXPECT_EQ(pdfwords::Find(words, "Third").page, 2);
    for (const PdfWord &w : words) EXPECT_NE(w.text, "First") << "the first voucher lies before the range";
    fs::remove(pdfs[0]);

    n = OpenSelection();
    ASSERT_GT(n, 0);
    Period("010624", "300624");
    Key(PlKey::Tab);
    Type("3:2");
    Key(PlKey::Tab);
    MessagesShown.clear();
    Key('P', false, true);
    EXPECT_EQ(Shown(), std::vector<std::string>{TextOf(Texts::NothingToPrint)});
    EXPECT_TRUE(Printed().empty());
}

}  // namespace
