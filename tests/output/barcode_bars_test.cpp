// barcode_bars_test.cpp - bar codes drawn as bars: the module widths of
// Code 128 and EAN-13 texts in the bar-code font's characters, what is
// refused, and an invoice's payment bar code and an item row's EAN-13
// code printed and scanned back from the PDF (where zbarimg is
// installed).
#include "tests/operations/invoice_fixture.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <numeric>
#include <string>
#include <vector>

#include "core/barcode_tables.h"
#include "core/pstring.h"
#include "core/record_buffer.h"
#include "output/devices/device_table.h"
#include "output/forms/forms.h"
#include "output/printer.h"
#include "tests/output/test_job.h"

namespace {

namespace fs = std::filesystem;

int Modules(const std::vector<uint8_t> &w) { return std::accumulate(w.begin(), w.end(), 0); }

TEST(BarcodeBars, WidthsOfCode128AndEan13AndWhatIsRefused) {
    // Start C, values 12 and 34, a check, the stop: 11 modules a symbol,
    // 13 for the stop, bars and spaces alternating from a bar.
    uint8_t text[256] = {0};
    PStringAppendChar(text, 0x91);
    PStringAppendChar(text, CharFromOrdinal(12));
    PStringAppendChar(text, CharFromOrdinal(34));
    PStringAppendChar(text, CharFromOrdinal(7));
    PStringAppendChar(text, 0x8F);
    PStringAppendChar(text, 0x85);
    std::vector<uint8_t> w;
    ASSERT_TRUE(Code128BarWidths(text, &w));
    EXPECT_EQ(Modules(w), 4 * 11 + 13);
    EXPECT_EQ(w.size() % 2, 1u);   // ends on the stop's bar
    EXPECT_EQ(std::vector<uint8_t>(w.begin(), w.begin() + 6), (std::vector<uint8_t>{2, 1, 1, 2, 3, 2}));
    // Without its stop, or with a character no symbol has: nothing.
    text[0] = 4;
    EXPECT_FALSE(Code128BarWidths(text, &w));
    EXPECT_TRUE(w.empty());
    uint8_t bad[256] = {0};
    PStringAppendChar(bad, 0x91);
    PStringAppendChar(bad, 0x7F);
    PStringAppendChar(bad, 0x8F);
    PStringAppendChar(bad, 0x85);
    EXPECT_FALSE(Code128BarWidths(bad, &w));

    // EAN-13 of item code 1234: 000000001234 and check digit 8.
    uint8_t code[256], font[256], digits[256];
    PStringFromC(code, "1234");
    Ean13Digits(code, font);
    ASSERT_TRUE(Ean13DigitsOfBarText(font, digits));
    EXPECT_EQ(PStringToStd(digits), "0000000012348");
    ASSERT_TRUE(Ean13BarWidths(font, &w));
    EXPECT_EQ(Modules(w), 95);
    // A first digit other than 0 comes back from the left half's parities.
    PStringFromC(code, "5901234123457");
    ASSERT_TRUE(Ean13BarcodeText(code, font));
    ASSERT_TRUE(Ean13DigitsOfBarText(font, digits));
    EXPECT_EQ(PStringToStd(digits), "5901234123457");
    PStringFromC(font, ".0000000-abcde.");
    EXPECT_FALSE(Ean13BarWidths(font, &w));
    uint8_t face[256];
    PStringFromC(face, "ean-13");
    EXPECT_TRUE(IsEan13Face(face));
    PStringFromC(face, "code 128");
    EXPECT_TRUE(IsCode128Face(face));
    PStringFromC(face, "Liberation Serif");
    EXPECT_FALSE(IsCode128Face(face) || IsEan13Face(face));
}

class BarcodePrint : public InvoiceCompanyFixture {
protected:
    fs::path folder, savedCwd;
    void SetUp() override {
        InvoiceCompanyFixture::SetUp();
        if (HasFatalFailure()) return;
        folder = fs::path(::testing::TempDir()) / ("orvel_bars_" + std::to_string(getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        savedCwd = fs::current_path();
        fs::current_path(folder);
        ResetOutputJobState();
        PutI16(TestJob, ReportParamsVc::SetupDialog, 0);
        AddRow(PrintersBlk::Number, PrintersBlk::Rows::Size, [&](uint8_t *r) {
            PutText(r, PrintersBlk::Rows::Name, 20, "OFFICE");
            PutText(r, PrintersBlk::Rows::PrinterText, 20, "P");
        });
    }
    void TearDown() override {
        if (Printer.job) PrinterEndDoc();
        if (!savedCwd.empty()) fs::current_path(savedCwd);
        ResetOutputJobState();
        fs::remove_all(folder);
        InvoiceCompanyFixture::TearDown();
    }
};

TEST_F(BarcodePrint, PrintedBarsScanBackToTheirDigits) {
    if (std::system("command -v zbarimg >/dev/null 2>&1 && command -v pdftoppm >/dev/null 2>&1") != 0)
        GTEST_SKIP() << "zbarimg is not installed";
    for (const char *f : {"C128", "EAN"})
        StoreRecord(FontVc::Number, [&](uint8_t *r) {
            PutText(r, FontVc::Name, 20, f);
            PutText(r, FontVc::WinFontName, 20, f[0] == 'C' ? "Code 128" : "EAN-13");
        });
    // The invoice form with the payment bar code and the rows' EAN-13.
    StoreRecord(DocVc::Number, [&](uint8_t *r) {
        PutText(r, DocVc::Code, 20, "BARS");
        PutU16(r, DocVc::Copies, 1);
        AddFormItem(r, 4, 40, 60, 400, 100, "C128", "", 282);
        AddFormItem(r, 4, 40, 200, 200, 260, "EAN", "", 11, 100);
    });
    ChangeBlock(InvoiceFormBlk::Number, InvoiceFormBlk::Rows::Size, [](uint8_t *row) {
        PutText(row, InvoiceFormBlk::Rows::FormName, 20, "BARS");
    });
    SettingsBlockLoad(CompanyBlk::Number);
    PutText(CompanyBlock, CompanyBlk::BankAccount, 60, "423456-785");
    std::vector<uint8_t> inv(IVVc::Size, 0);
    FixtureInvoice f;
    f.posted = 1;
    FillInvoice(inv.data(), f);
    PutDec(inv.data(), IVVc::Total, Dec(250.75));
    PutText(inv.data(), IVVc::RefStr, 30, "77 001");
    PutDate(inv.data(), IVVc::PayDate, DateRec{31, 12, 2024});
    AddInvoiceRow(inv.data(), {"1234", 1, 10});
    ASSERT_EQ(PrintForm(-2, inv.data()), 1);
    RecFreeMatrix(IVVc::Number, inv.data());
    std::vector<fs::path> pdfs;
    for (const auto &e : fs::directory_iterator(folder / "print")) pdfs.push_back(e.path());
    ASSERT_EQ(pdfs.size(), 1u);
    ASSERT_EQ(std::system(("pdftoppm -r 300 -png -singlefile '" + pdfs[0].string() + "' scan").c_str()), 0);
    FILE *p = popen("zbarimg -q scan.png 2>/dev/null", "r");
    ASSERT_NE(p, nullptr);
    std::string scanned;
    char buf[256];
    for (size_t n; (n = fread(buf, 1, sizeof buf, p)) > 0;) scanned.append(buf, n);
    pclose(p);
    // 1, 42345670000085, 00025075, 00000000000000077001, 241231, 0000, 7-3-1 digit.
    std::string digits = "14234567000008500025075000000000000000770012412310000";
    int sum = 0;
    for (size_t k = 0; k < digits.size(); k++) sum += (digits[digits.size() - 1 - k] - '0') * (k % 3 == 0 ? 7 : k % 3 == 1 ? 3 : 1);
    digits += char('0' + (10 - sum % 10) % 10);
    EXPECT_NE(scanned.find("CODE-128:" + digits), std::string::npos) << scanned;
    EXPECT_NE(scanned.find("EAN-13:0000000012348"), std::string::npos) << scanned;
}

}  // namespace
