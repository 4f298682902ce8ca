// invoice_road_test.cpp - a sales invoice from the window to the books
// and the paper: a customer and three item rows entered in window 347 as
// the framework drives it, the invoice marked posted and stored by OK
// through the installed rules; then its number and totals, its balanced
// voucher, open item, stock, customer statistics and form print-out (a
// PDF on the printer, the form's items in the preview's store).
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/record_buffer.h"
#include "output/devices/device_table.h"
#include "output/output_job.h"
#include "output/printer.h"
#include "platform/display.h"
#include "platform/queue.h"
#include "platform/script.h"
#include "recordwin/record_windows.h"
#include "rules/ledger.h"
#include "rules/hooks.h"
#include "rules/rules_types.h"
#include "rules/vat_currency.h"
#include "shell/field_editing.h"
#include "shell/menus.h"
#include "shell/record_commands.h"
#include "shell/shell.h"
#include "shell/startup.h"
#include "shell/window_layout.h"
#include "shell/window_table.h"
#include "shell/window_utils.h"
#include "tests/operations/invoice_fixture.h"
#include "tests/shell/invoice_frame.h"
#include "tests/output/printing_fixture.h"
#include "tests/output/pdf_words.h"
#include "tests/output/test_job.h"

namespace {

namespace Row = IVVc::Rows;
namespace fs = std::filesystem;

// Window 347's customer field and its row cells, seven a row from 63.
constexpr int FieldCustomer = 2, FirstCell = 63, CellsPerRow = 7, ColItem = 1, ColQty = 2;

class InvoiceRoad : public Printing<InvoiceFixture> {
protected:
    int w = 0;
    fs::path folder, savedCwd;

    void SetUp() override
    {
        InvoiceFixture::SetUp();
        if (HasFatalFailure()) return;
        StoreInvoiceCompany();
        // Print the invoice when it is posted by a save, on the printer
        // the form's row names.
        std::vector<uint8_t> onSave(PrintOnSaveBlk::Size);
        PutU16(onSave.data(), PrintOnSaveBlk::InvoiceForm, 1);
        StoreBlock(PrintOnSaveBlk::Number, onSave.data(), PrintOnSaveBlk::Size);
        UsePrinter("P");
        std::vector<uint8_t> &forms = tableRows[InvoiceFormBlk::Number];
        ASSERT_EQ(forms.size(), size_t(InvoiceFormBlk::Rows::Size));
        PutText(forms.data(), InvoiceFormBlk::Rows::PrinterName, 20, "OFFICE");
        ASSERT_EQ(SettingsBlockStore(InvoiceFormBlk::Number, forms.data(), uint32_t(forms.size())), RecDone);
        PutI16(TestJob, ReportParamsVc::SetupDialog, 0);
        RulesInstall();   // after the company: its blocks are laid down whole, unchecked

        folder = fs::path(::testing::TempDir()) / ("orvel_road_" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        savedCwd = fs::current_path();
        fs::current_path(folder);   // the printer writes under ./print

        InvoiceFrameUp();
        if (HasFatalFailure()) return;
    }
    void TearDown() override
    {
        if (Printer.job) PrinterEndDoc();
        ResetOutputJobState();
        InvoiceFrameDown();
        if (!savedCwd.empty()) fs::current_path(savedCwd);
        fs::remove_all(folder);
        InvoiceFixture::TearDown();
    }

    // Block 162's only printer, "OFFICE", with the destination text dest.
    void UsePrinter(const char *dest)
    {
        std::vector<uint8_t> row(PrintersBlk::Rows::Size);
        PutText(row.data(), PrintersBlk::Rows::Name, 20, "OFFICE");
        PutText(row.data(), PrintersBlk::Rows::PrinterText, 20, dest);
        ASSERT_EQ(SettingsBlockStore(PrintersBlk::Number, row.data(), uint32_t(row.size())), RecDone);
    }
    uint8_t *Inv() { return WinRecordBuffer(w); }
    // Runs every waiting message through the main loop's work.
    static void Drain()
    {
        PlMessage m;
        for (int guard = 0; guard < 10000 && MsgGet(&m) == PlGet::Message; guard++) MainLoopMessage(m);
    }
    // Types text into the focused field and leaves it with Tab.
    static void TypeTab(const char *text)
    {
        for (const char *c = text; *c; c++) {
            ScriptText(std::string_view(c, 1));
            Drain();
        }
        ScriptKey(PlKey::Tab);
        Drain();
    }
    static double Num(const uint8_t *base, uint32_t at)
    {
        PackedDecimal d = GetDec(base, at);
        return DecIsBlank(&d) ? 0 : DecToDouble(&d);
    }
    // The first record of reg found by key (the leading text part), into
    // out; false when none.
    static bool FindByText(int reg, const char *index, int parts, const char *text, uint8_t *out)
    {
        PutText(out, 0, 20, text);
        uint32_t recid = 0, position = 0;
        return index ? RecFindByIndex(reg, index, out, parts, 1, &recid, &position)
                     : RecFind(reg, out, parts, 1, &recid, &position);
    }
};

TEST_F(InvoiceRoad, TypedPostedInvoiceReachesTheBooksAndPrintsOnItsForm)
{
    w = OpenOrActivateWindow(WinTypes::SalesInvoice, 0, 0, false, 0);
    ASSERT_GT(w, 0);
    CmdNewRecord(w);   // Ctrl+N: a new invoice with its defaults
    ASSERT_EQ(WinRecState(w), 1);
    ASSERT_EQ(WinTable[w]->currentField, FieldCustomer);
    TypeTab("C1");
    EXPECT_EQ(Text(Inv(), IVVc::Addr0), "First Customer") << "the customer's name filled in";
    struct Typed { const char *item, *qty; } rows[] = {{"ITEM1", "2"}, {"ITEM2", "3"}, {"SERVICE", "1"}};
    for (int r = 0; r < 3; r++) {
        ASSERT_TRUE(WinGotoField(w, FirstCell + r * CellsPerRow + ColItem, true)) << r;
        TypeTab(rows[r].item);
        ASSERT_EQ(WinTable[w]->currentField, FirstCell + r * CellsPerRow + ColQty) << r;
        TypeTab(rows[r].qty);
    }
    PutU16(Inv(), IVVc::Posted, 1);   // the posted check box
    shown.clear();
    WindowOkAction(w);
    ASSERT_TRUE(shown.empty()) << shown.front();
    ASSERT_EQ(WinRecState(w), 0);

    // The invoice: numbered from the series, rows priced, totals summed.
    ASSERT_EQ(RegRecordCount(IVVc::Number), 1u);
    RuleRecord inv(IVVc::Number);
    uint32_t invId = 0;
    ASSERT_TRUE(RecReadAt(IVVc::Number, 1, inv.record, &invId));
    const uint32_t serial = GetU32(inv.record, IVVc::SerNr);
    EXPECT_NE(serial, SerialNone);
    EXPECT_EQ(GetU16(inv.record, IVVc::Posted), 1);
    EXPECT_EQ(GetU16(inv.record, IVVc::Printed), 1) << "kind 11 ran on the save";
    EXPECT_EQ(GetU16(inv.record, IVVc::Transferred), 1) << "kind 18 ran on the save";
    const double net = Num(inv.record, IVVc::Net), vat = Num(inv.record, IVVc::Vat), total = Num(inv.record, IVVc::Total);
    EXPECT_DOUBLE_EQ(net, 2 * 100 + 3 * 50 + 700);
    EXPECT_GT(vat, 0);
    EXPECT_NEAR(total, net + vat + Num(inv.record, IVVc::RoundOff), 0.005);
    uint8_t row[Row::Size];
    ASSERT_EQ(MatrixRowCount(IVVc::Number, 0, inv.record), 3);
    for (int r = 0; r < 3; r++) {
        ASSERT_TRUE(MatrixRowRead(IVVc::Number, inv.record, r, row));
        EXPECT_EQ(GetU16(row, Row::Kind), 1) << r;
    }

    // Its voucher in register 11: balanced, the receivable debited with the total.
    ASSERT_EQ(RegRecordCount(TRVc::Number), 1u);
    RuleRecord voucher(TRVc::Number);
    uint32_t vid = 0;
    ASSERT_TRUE(RecReadAt(TRVc::Number, 1, voucher.record, &vid));
    double sum = 0, receivable = 0;
    int accountRows = 0;
    for (int32_t i = 0; i < MatrixRowCount(TRVc::Number, 0, voucher.record); i++) {
        ASSERT_TRUE(MatrixRowRead(TRVc::Number, voucher.record, i, row));
        if (GetU16(row, TRVc::Rows::Kind) != RowAccount) continue;
        double amount = Num(row, TRVc::Rows::Amount);
        accountRows++;
        sum += amount;
        if (Text(row, TRVc::Rows::Account) == InvoiceCo::Receivables) receivable += amount;
    }
    EXPECT_GE(accountRows, 5) << "receivable, two sales rows, VAT, stock and its cost";
    EXPECT_NEAR(sum, 0, 0.005);
    EXPECT_NEAR(receivable, total, 0.005);

    // The open item, the stock at the location, the customer's statistics.
    RuleRecord open(ARVc::Number);
    PutU32(open.record, ARVc::InvoiceNr, serial);
    uint32_t recid = 0, position = 0;
    ASSERT_TRUE(RecFind(ARVc::Number, open.record, 1, 1, &recid, &position));
    EXPECT_NEAR(Num(open.record, ARVc::OpenAmount), total, 0.005);
    for (auto [item, left] : {std::pair{"ITEM1", 98.0}, std::pair{"ITEM2", 37.0}}) {
        RuleRecord stock(LSVc::Number);
        PutText(stock.record, LSVc::ItemCode, 20, item);
        PutText(stock.record, LSVc::Location, 10, InvoiceCo::Location);
        ASSERT_TRUE(RecFindByIndex(LSVc::Number, "ItemLocation", stock.record, 2, 1, &recid, &position)) << item;
        EXPECT_DOUBLE_EQ(Num(stock.record, LSVc::InStock), left) << item;
    }
    RuleRecord stat(CSVc::Number);
    ASSERT_TRUE(FindByText(CSVc::Number, nullptr, 1, "C1", stat.record));
    DateRec date = GetDate(inv.record, IVVc::TransDate);
    PackedDecimal sales;
    PeriodBalanceAt(GetU32(stat.record, CSVc::Amounts), 5, 0, MonthIndex(&date), &sales);
    EXPECT_NEAR(DecToDouble(&sales), net, 0.005);

    // The print-out of the save: one PDF page with the company's name and
    // its page mark.
    std::vector<fs::path> pdfs;
    for (const auto &e : fs::directory_iterator(folder / "print")) pdfs.push_back(e.path());
    ASSERT_EQ(pdfs.size(), 1u);
    EXPECT_NE(ReadAll(pdfs[0]).find("/Count 1"), std::string::npos);
    std::vector<PdfWord> words = PdfWords(pdfs[0]);
    std::string page;
    for (const PdfWord &pw : words) page += pw.text + " ";
    EXPECT_NE(page.find("Orvel Test AB"), std::string::npos) << page;
    EXPECT_NE(page.find("1/1"), std::string::npos) << page;

    // Printed again (kind 17) on the screen: the preview's store holds the
    // form's items, the company's name among them.
    UsePrinter("S");
    ASSERT_TRUE(ApproveRecord(17, IVVc::Number, invId));
    int n = RepOutputState.previewWindow;
    ASSERT_TRUE(PreviewIsOpen(n));
    const uint8_t *pv = WinRecordBuffer(n);
    MemBlock h = GetU32(pv, PreviewWin::Store);
    const uint8_t *p = MemLock(h);
    ASSERT_NE(p, nullptr);
    int formItems = 0;
    bool company = false;
    for (uint32_t off = 0; off < uint32_t(GetI32(pv, PreviewWin::StoreUsed)); off += GetU16(p + off, PreviewItemAt::Size)) {
        if (GetU16(p + off, PreviewItemAt::Kind) != ItemFormText) continue;
        formItems++;
        company |= PStringToStd(p + off + PreviewItemAt::Text) == "Orvel Test AB";
    }
    MemUnlock(h);
    EXPECT_GE(formItems, 3 + 3 * 3);
    EXPECT_TRUE(company);
    EXPECT_EQ(fs::directory_iterator(folder / "print")->path(), pdfs[0]) << "no second PDF";

    // File > Print in the invoice window asks the print dialog and on OK
    // prints the stored invoice shown (on the printer again); a new invoice
    // not stored yet is refused with a word and prints nothing.
    UsePrinter("P");
    auto printed = [&] {
        size_t count = 0;
        for ([[maybe_unused]] const auto &e : fs::directory_iterator(folder / "print")) count++;
        return count;
    };
    WinClose(n);
    ActivateWindowNumber(w);
    ScriptAnswerPrint(true, PlPrintChoice{});
    CmdPrint(w);
    EXPECT_EQ(printed(), 2u);
    EXPECT_EQ(GetU16(Inv(), IVVc::Printed), 1);
    EXPECT_EQ(WinRecState(w), 0);
    CmdNewRecord(w);
    shown.clear();
    CmdPrint(w);
    EXPECT_EQ(printed(), 2u);
    EXPECT_TRUE(WasShown(Texts::InvoicePrintUnstored));
}

}  // namespace
