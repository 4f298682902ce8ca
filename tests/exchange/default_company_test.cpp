// default_company_test.cpp - the defaults a new company is made from
// (dict/DEFAULT.TXT, cp1252 like every text of the program): imported
// into an empty company and exported again it gives the same bytes; the
// company holds the accounts, years, series, first user and customers it
// names; an invoice stored in it posts through the rules and prints on
// the form the defaults choose for it.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>

#include "database/access/person_password.h"
#include "exchange/text_exchange.h"
#include "features/program_start.h"
#include "operations/sales_invoice.h"
#include "output/devices/report_output.h"
#include "output/forms/forms.h"
#include "output/output_job.h"
#include "output/printer.h"
#include "platform/script.h"
#include "rules/approval.h"
#include "rules/hooks.h"
#include "rules/ledger.h"
#include "rules/vat_currency.h"
#include "shell/company.h"
#include "tests/exchange/demo_defaults.h"
#include "tests/exchange/test_job_export.h"
#include "tests/operations/invoice_fixture.h"
#include "tests/output/printing_fixture.h"
#include "tests/output/pdf_words.h"
#include "tests/output/test_job.h"

namespace {

namespace fs = std::filesystem;

// The fourteen number-series blocks of the full export.
constexpr int SeriesBlocks[] = {188, 187, 190, 191, 192, 193, 194, 195, 198, 152, 197, 196, 189, 204};

class DefaultCompany : public Printing<InvoiceFixture> {
protected:
    fs::path folder, savedCwd;

    void SetUp() override
    {
        InvoiceFixture::SetUp();
        if (HasFatalFailure()) return;
        folder = fs::path(::testing::TempDir()) / ("orvel_default_" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        savedCwd = fs::current_path();
        fs::current_path(folder);   // the printer writes under ./print
        ResetOutputJobState();
        FeaturesInstall();
    }
    void TearDown() override
    {
        if (Printer.job) PrinterEndDoc();
        if (!savedCwd.empty()) fs::current_path(savedCwd);
        ImportFileClose();
        ImportResult = ImportResultRec{};
        OutputRunServices.runTextExport = nullptr;
        D4SetRawExportRunner(nullptr);
        ResetOutputJobState();
        fs::remove_all(folder);
        InvoiceFixture::TearDown();
    }
    static std::string Bytes(const fs::path &p)
    {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // The full export (kind 0) of the open company; its bytes.
    std::string ExportAll(const char *name)
    {
        PutU16(TestJob, ReportParamsVc::OutputKind, OutTextFile);
        ScriptAnswerFile((folder / name).string());
        EXPECT_TRUE(ExportOverTestJob(0));
        return Bytes(folder / name);
    }
    // Whether register reg holds a record whose first key is code.
    static bool Found(int reg, uint32_t at, int len, const char *code)
    {
        RuleRecord r(reg);
        PutText(r.record, at, len, code);
        uint32_t recid = 0, position = 0;
        return RecFind(reg, r.record, 1, 1, &recid, &position);
    }
    // Imports the file at p as the defaults of a new company are imported.
    int Import(const fs::path &p)
    {
        PutU16(TestJob, ReportParamsVc::OutputKind, ImportSourceFile);
        PutU16(TestJob, ReportParamsVc::ReportNumber, 0);
        PString name;
        PStringFromC(name, p.c_str());
        int result = ImportFile(name, 0);
        // A new company keeps no password as text, whatever wrote its persons.
        if (result == 0 && PersonPasswordsConvert() < 0) return -1;
        return result;
    }
};

fs::path DefaultsSource()
{
    return fs::path(ORVEL_TEST_DATA_DIR) / ".." / "dict" / "DEFAULT.TXT";
}

// Imported into an empty company the defaults give a company that exports
// to the same bytes, with every account the settings name, sixteen years,
// a series row per year in each series block and the first user.
TEST_F(DefaultCompany, ImportsWhole)
{
    std::string source = Bytes(DefaultsSource());
    ASSERT_FALSE(source.empty());
    ASSERT_EQ(Import(DefaultsSource()), 0);
    EXPECT_TRUE(shown.empty()) << shown.front();
    EXPECT_TRUE(demodefaults::ExportIsTheDefaults(ExportAll("again.txt"), source));

    for (const char *acc : {InvoiceCo::Receivables, InvoiceCo::Cash, InvoiceCo::Stock, InvoiceCo::VatOut,
                            InvoiceCo::VatIn, InvoiceCo::Sales, InvoiceCo::SalesEu, InvoiceCo::SalesExport,
                            InvoiceCo::Rounding, InvoiceCo::Freight, InvoiceCo::CostOfGoods}) {
        EXPECT_TRUE(Found(ACVc::Number, ACVc::Code, 10, acc)) << acc;
    }
    EXPECT_EQ(SettingsBlockSizeLocal(FiscalYearBlk::Number), 16u * FiscalYearEntry::Size);
    for (int block : SeriesBlocks) EXPECT_EQ(SettingsBlockSizeLocal(block), 16u * SeriesRow::Size) << block;
    EXPECT_TRUE(Found(PEVc::Number, PEVc::Code, 5, "ADMIN"));

    // The defaults are the program's own cp1252 bytes, no UTF-8: the demo
    // customers' letters are stored as a user typing them stores them (and
    // exported back as such above).
    EXPECT_EQ(source.find_first_of("\xC2\xC3"), std::string::npos) << "UTF-8 letters in the defaults";
    RuleRecord c1(CUVc::Number);
    PutText(c1.record, CUVc::Code, 20, "C1");
    uint32_t recid = 0, position = 0;
    ASSERT_TRUE(RecFind(CUVc::Number, c1.record, 1, 1, &recid, &position));
    EXPECT_EQ(Text(c1.record, CUVc::Addr1), "Kundv\xE4gen 2");
    EXPECT_EQ(Text(c1.record, CUVc::Addr2), "222 33 Malm\xF6");

    // An invoice made in the new company posts to its accounts and year:
    // receivable, sales, output VAT, stock and cost of goods.
    RulesInstall();
    RuleRecord r(IVVc::Number);
    FillInvoice(r.record, {.serial = 2400001});
    AddInvoiceRow(r.record, {.item = "ITEM1", .qty = 2, .price = 100});
    DocTotalsRound(r.record);
    ASSERT_TRUE(InvoiceVoucher(r.record, 1));
    std::map<std::string, double> rows;
    uint8_t row[TransRow::Size];
    for (int32_t i = 0; i < MatrixRowCount(Voucher::Number, 0, PendingVoucher); i++) {
        ASSERT_TRUE(MatrixRowRead(Voucher::Number, PendingVoucher, i, row));
        if (GetU16(row, TransRow::Kind) != RowAccount) continue;
        PackedDecimal amount = GetDec(row, TransRow::Amount);
        rows[Text(row, TransRow::Account)] += DecToDouble(&amount);
    }
    EXPECT_EQ(rows, (std::map<std::string, double>{{"1460", -120}, {"1510", 250}, {"2610", -50}, {"3010", -200}, {"4010", 120}}));
    EXPECT_NE(GetU16(PendingVoucher, Voucher::YearCode), 0);

    // Stored posted, it prints (approve kind 11) on the form the defaults
    // select for an invoice, on the installation's printer: the printer
    // set-up is not part of the defaults, so its one row (a PDF) is stored
    // here. One page naming the company of the defaults; the stored
    // invoice marked printed.
    std::vector<uint8_t> printer(PrintersBlk::Rows::Size);
    PutText(printer.data(), PrintersBlk::Rows::Name, 20, "OFFICE");
    PutText(printer.data(), PrintersBlk::Rows::PrinterText, 20, "P");
    ASSERT_EQ(SettingsBlockStore(PrintersBlk::Number, printer.data(), uint32_t(printer.size())), RecDone);
    PutI16(TestJob, ReportParamsVc::SetupDialog, 0);
    shown.clear();
    uint32_t id = StoreInvoice({.serial = 2400002, .posted = 1}, {{.item = "ITEM1", .qty = 1, .price = 100}});
    ASSERT_NE(id, 0u) << (shown.empty() ? "" : shown.front());
    ASSERT_TRUE(ApproveRecord(11, IVVc::Number, id));
    EXPECT_TRUE(shown.empty()) << shown.front();
    RuleRecord stored(IVVc::Number);
    ASSERT_TRUE(RecReadById(IVVc::Number, id, stored.record));
    EXPECT_EQ(GetI16(stored.record, IVVc::Posted), 1);
    EXPECT_EQ(GetI16(stored.record, IVVc::Printed), 1);
    std::vector<fs::path> pdfs;
    if (fs::is_directory(folder / "print"))
        for (const auto &e : fs::directory_iterator(folder / "print")) pdfs.push_back(e.path());
    ASSERT_EQ(pdfs.size(), 1u);
    EXPECT_NE(ReadAll(pdfs[0]).find("/Count 1"), std::string::npos);
    std::string page;
    for (const PdfWord &w : PdfWords(pdfs[0])) page += w.text + " ";
    EXPECT_NE(page.find("Demo Company AB"), std::string::npos) << page;
}

}  // namespace
