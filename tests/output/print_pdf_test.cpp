// print_pdf_test.cpp - reports and forms through the output operations to
// the printer, read back from the PDF: pages break at the page bottom,
// positions map onto the margins, a form's elements land at their
// places, and a cancelled print leaves no file and draws nothing.
#include "../database/access/company_fixture.h"
#include "tests/output/output_fixture.h"
#include "tests/output/pdf_words.h"

#include <cstring>
#include <string>
#include <vector>

#include "core/company_variant.h"
#include "core/field_access.h"
#include "core/format_block.h"
#include "core/pstring.h"
#include "database/access/settings_blocks.h"
#include "output/devices/device_table.h"
#include "output/printer.h"
#include "platform/dialog.h"
#include "tests/output/test_job.h"

namespace {

namespace fs = std::filesystem;

// A rectangle of whole points.
struct Rect {
    PackedDecimal r[4];
    Rect(int32_t top, int32_t left, int32_t bottom, int32_t right)
    {
        int32_t v[4] = {top, left, bottom, right};
        for (int i = 0; i < 4; i++) DecFromLong(&r[i], v[i]);
    }
};

constexpr double PointsPerUnit = 72.0 / 300;   // the PDF printer's 300 units an inch

class ReportPrinting : public PrintCompany {
protected:
    void SetUp() override
    {
        PrintCompany::SetUp();
        if (HasFatalFailure()) return;
        PutI16(TestJob, ReportParamsVc::SetupDialog, 0);
        OutKind(OutPrinter);
    }
    size_t PrintedFiles() const
    {
        size_t n = 0;
        if (fs::exists(dir / "print"))
            for (const auto &e : fs::directory_iterator(dir / "print")) n += e.is_regular_file();
        return n;
    }
};

TEST_F(ReportPrinting, AReportBreaksItsPagesAtTheBottomAndMapsPositionsOntoTheMargins)
{
    PStringFromC(CompanyBlock + CompanyBlk::CompanyName, "Acme Ltd");
    RepBeginJob(Ps("Stocks"));
    ASSERT_EQ(RepStopped, 0);
    EXPECT_EQ(ThousandsFlag, 1);
    EXPECT_EQ(RepOutputState.pageBottom, 841 - 2 * 42 - 2 * 12);
    EXPECT_EQ(RepOutputState.positions[10], 2480 - 248 - 62);

    // The selection header: the title and today's date on line 0, the
    // company's name on line 1, stored for every page.
    ASSERT_NE(PageHeaderLines.block, 0u);
    EXPECT_EQ(RepOutputState.headerLine, 1);
    const uint8_t *h = MemLock(PageHeaderLines.block);
    EXPECT_EQ(PStringView(h), "Stocks");
    EXPECT_EQ(PStringView(h + HeaderRightAt).size(), 10u);   // a date
    EXPECT_EQ(PStringView(h + HeaderSlot), "Acme Ltd");
    MemUnlock(PageHeaderLines.block);

    for (int i = 0; i < 150; i++) {
        RepStartLine(12);
        RepCText(0, 0, ("Line" + std::to_string(i)).c_str(), 0);
        RepCText(480, 0, ("R" + std::to_string(i)).c_str(), 1);
        RepEndLine();
    }
    RepEndJob();
    EXPECT_EQ(Printer.job, nullptr);
    EXPECT_EQ(RepStopped, 0);

    fs::path file = dir / "print" / "Stocks-1.pdf";
    ASSERT_TRUE(fs::exists(file));
    EXPECT_NE(ReadAll(file).find("/Count 3"), std::string::npos);
    // Below each page's header (title, date and page number, the company,
    // the rule: 72 points) 55 lines of 12 points fit above the bottom of
    // 733: pages of 55, 55, 40.
    std::vector<PdfWord> words = PdfWords(file);
    int expected[3] = {55, 55, 40}, line = 0;
    for (int page = 1; page <= 3; page++) {
        std::vector<PdfWord> on = PageWords(words, page);
        auto has = [&](const std::string &t) {
            for (const PdfWord &w : on)
                if (w.text == t) return true;
            return false;
        };
        EXPECT_TRUE(has("Stocks") && has("Acme") && has(std::to_string(page))) << "header of page " << page;
        int lines = 0;
        for (const PdfWord &w : on) {
            if (w.text.rfind("Line", 0) != 0) continue;
            EXPECT_EQ(w.text, "Line" + std::to_string(line++));
            EXPECT_NEAR(w.xMin, 248 * PointsPerUnit, 1);
            EXPECT_LT(w.yMax, 841.92 - 42) << w.text;
            lines++;
        }
        EXPECT_EQ(lines, expected[page - 1]) << "page " << page;
    }
    EXPECT_NEAR(Find(words, "R149").xMax, (2480 - 62) * PointsPerUnit, 1);
}

TEST_F(ReportPrinting, AReceivedPageSetupIsTakenOnceAndACancelledReportPrintsNothing)
{
    // The server's page set-up (landscape) prints this job and is used up.
    std::vector<uint8_t> bytes = DlgPrintSetupToBytes(PlPrintSetup{PlPaper::A4, true});
    ReceivedPageSetup = MemAlloc(uint32_t(bytes.size()));
    ASSERT_NE(ReceivedPageSetup, 0u);
    std::memcpy(MemLock(ReceivedPageSetup), bytes.data(), bytes.size());
    MemUnlock(ReceivedPageSetup);
    RepBeginJob(Ps("Wide"));
    RepStartLine(12);
    RepCText(0, 0, "Across", 0);
    RepEndJob();
    EXPECT_EQ(ReceivedPageSetup, 0u);
    fs::path file = dir / "print" / "Wide-1.pdf";
    ASSERT_TRUE(fs::exists(file));
    EXPECT_NE(ReadAll(file).find("/MediaBox [ 0 0 841.92 595.2 ]"), std::string::npos);
    Find(PdfWords(file), "Across");

    PutI16(TestJob, ReportParamsVc::SetupDialog, 1);
    ScriptAnswerPrint(false, PlPrintChoice{});
    RepBeginJob(Ps("Never"));
    EXPECT_EQ(RepStopped, 1);
    RepStartLine(12);
    RepCText(0, 0, "Lost", 0);
    RepRuleFull(1, 1);
    RepEndLine();
    EXPECT_EQ(RepOutputState.pageNumber, 0);
    RepEndJob();
    EXPECT_EQ(Printer.job, nullptr);
    EXPECT_EQ(PrintedFiles(), 1u);
}

TEST_F(ReportPrinting, AFormOfTwoPagesPutsItsElementsInPlaceAndACancelledOneDrawsNothing)
{
    std::vector<uint8_t> font(FontVc::Size, 0);
    PutText(font.data(), FontVc::WinFontName, Ps("DejaVu Sans"));
    PutI16(font.data(), FontVc::WinSize, 10);
    PackedDecimal pen;
    DecFromLong(&pen, 2);

    ASSERT_EQ(PrintOpenCall(0, 0, Ps("Invoice"), Ps("P")), 1);
    EXPECT_EQ(CurrentOutputKind(), OutPrinter);
    FormPageStart(Ps("First page"));
    FormTextOut(Ps("Alpha"), Rect(100, 100, 120, 300).r, font.data(), 0, 0, 0);
    FormTextOut(Ps("Beta"), Rect(100, 100, 120, 300).r, font.data(), 2, 12, -1);   // two lines of 12 lower
    FormBoxOut(Rect(90, 90, 200, 310).r, pen, 0);
    FormPageEnd();
    FormPageStart(Ps("Second page"));
    FormTextOut(Ps("Gamma"), Rect(400, 100, 420, 300).r, font.data(), 0, 0, 1);
    FormLineOut(Rect(430, 100, 430, 300).r, pen);
    FormPageEnd();
    RepOp30();
    EXPECT_FALSE(Printer.docOpen);
    EXPECT_EQ(ThousandsFlag, 0);

    fs::path file = dir / "print" / "Invoice-1.pdf";
    ASSERT_TRUE(fs::exists(file));
    EXPECT_NE(ReadAll(file).find("/Count 2"), std::string::npos);
    std::vector<PdfWord> words = PdfWords(file);
    const double k = 595.2 / 600;   // a document's 600-point layout over the page
    std::vector<PdfWord> one = PageWords(words, 1), two = PageWords(words, 2);
    ASSERT_EQ(one.size(), 2u);
    EXPECT_NEAR(Find(one, "Alpha").xMin, 102 * k, 1);
    EXPECT_NEAR(Find(one, "Alpha").yMin, 102, 1.5);
    EXPECT_NEAR(Find(one, "Beta").xMax, 298 * k, 1);
    EXPECT_NEAR(Find(one, "Beta").yMin, 126, 1.5);
    ASSERT_EQ(two.size(), 1u);
    PdfWord g = Find(two, "Gamma");
    EXPECT_NEAR((g.xMin + g.xMax) / 2, 200 * k, 1);
    EXPECT_NEAR(g.yMin, 402, 1.5);

    // The dialog cancelled: nothing opens, the elements do nothing.
    ScriptAnswerPrint(false, PlPrintChoice{});
    EXPECT_EQ(PrintOpenCall(0, 1, Ps("Order"), Ps("P")), 0);
    EXPECT_EQ(RepStopped, 1);
    FormPageStart(Ps("x"));
    FormTextOut(Ps("Lost"), Rect(100, 100, 120, 300).r, font.data(), 0, 0, 0);
    FormPageEnd();
    RepOp30();
    EXPECT_EQ(Printer.job, nullptr);
    EXPECT_EQ(PrintedFiles(), 1u);
}

}  // namespace
