// printer_test.cpp - the printer device as a user meets it: jobs that
// reach a PDF file (read back with pdftotext, positions in points), the
// default printer taken silently and the dialog when asked, nested
// document jobs that make one file, wrapped column texts that always end
// (across a page's end too),
// the foot page number, the
// fonts and their fall-backs, and jobs that are cancelled or cannot be
// written.
#include "tests/shell/shell_fixture.h"
#include "tests/output/output_fixture.h"
#include "tests/output/pdf_words.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#if defined(__SANITIZE_ADDRESS__)
#include <sanitizer/lsan_interface.h>
#endif

#include "core/bmp_file.h"
#include "core/company_variant.h"
#include "core/field_access.h"
#include "core/msg_buffer.h"
#include "core/pstring.h"
#include "database/access/settings_blocks.h"
#include "output/devices/device_table.h"
#include "output/printer.h"
#include "reports/frame/report_frame.h"
#include "tests/output/test_job.h"

namespace {

namespace fs = std::filesystem;

// Puts a whole number as a PackedDecimal at an offset of a byte buffer.
void PutWhole(std::vector<uint8_t> *b, uint32_t offset, int32_t v)
{
    PackedDecimal d;
    DecFromLong(&d, v);
    PutDec(b->data(), offset, d);
}

// A font record (register 93) of a face, size in points and style.
std::vector<uint8_t> FontRecord(const char *name, const char *face, int16_t size, int16_t style)
{
    std::vector<uint8_t> r(FontVc::Size, 0);
    PutText(r.data(), FontVc::Name, Ps(name));
    PutText(r.data(), FontVc::WinFontName, Ps(face));
    PutI16(r.data(), FontVc::WinSize, size);
    PutI16(r.data(), FontVc::WinStyle, style);
    return r;
}

// The messages a server sends for a one-page form job: the print opened
// on the printer, a text in a font record of 12 points and one in a
// record asking for `points`, the page and the print closed.
std::vector<std::vector<uint8_t>> ServerFormJob(int16_t points)
{
    static std::vector<std::vector<uint8_t>> *sink = nullptr;
    std::vector<std::vector<uint8_t>> sent;
    sink = &sent;
    MsgPushFn old = MsgSetPush([](MsgBuffer *m) { sink->emplace_back(MsgData(m), MsgData(m) + MsgLength(m)); });
    RemoteOutput = 1;
    EXPECT_EQ(PrintOpenCall(1, 0, Ps("Invoice"), Ps("P")), 1);
    FormPageStart(Ps("Invoice"));
    PackedDecimal rect[4];
    const int edges[4] = {100, 50, 140, 400};
    for (int i = 0; i < 4; i++) DecFromLong(&rect[i], edges[i]);
    FormTextOut(Ps("Total"), rect, FontRecord("A", "Arial", 12, 0).data(), 0, 0, -1);
    FormTextOut(Ps("I"), rect, FontRecord("B", "", points, 1).data(), 0, 0, -1);
    FormPageEnd();
    RepOp30();
    RemoteOutput = 0;
    MsgSetPush(old);
    sink = nullptr;
    return sent;
}

class Printing : public PrintCompanyIn<ShellCompanyFixture> {
protected:
    TempPrintDir out;

    void SetUp() override
    {
        OutputRunServices = OutputRunServicesRec{};
        PrintCompanyIn::SetUp();
        if (HasFatalFailure()) return;
        OutputJobState.positions = {65535, 72, 0, 0, 0, 0, 0, 0, 0, 0, 300};   // as ReportToPrinterX in a report
        ASSERT_NE(CompanyBlock, nullptr);
        ASSERT_TRUE(MessagesShown.empty()) << MessagesShown[0];
    }
    void TearDown() override
    {
        PrintCompanyIn::TearDown();
        OutputRunServices = OutputRunServicesRec{};
    }
    // The print dialog's next answer: confirmed into file `name` of the
    // test's folder, or cancelled.
    fs::path AnswerPrint(bool ok, const char *name = "job.pdf")
    {
        PlPrintChoice choice;
        choice.fileName = (out.path / name).string();
        ScriptAnswerPrint(ok, choice);
        return out.path / name;
    }
    static int PrintDialogs()
    {
        int n = 0;
        for (const PlScriptRecord &r : ScriptRecords()) n += r.kind == "print";
        return n;
    }
};

TEST_F(Printing, ReportJobTakesTheDefaultPrinterSilentlyAndPrintsTheFootOfAWholeA4Page)
{
    PutI16(TestJob, ReportParamsVc::SetupDialog, 0);
    PutU16(TestJob, ReportParamsVc::OutputKind, OutPrinter);
    ASSERT_TRUE(PrintJobStartReport(Ps("Ledger")));
    EXPECT_EQ(PrintDialogs(), 0);
    EXPECT_EQ(ReportToPrinterX(72), 300);
    EXPECT_EQ(ReportToPrinterY(-72), -300);
    EXPECT_EQ(Printer.pageHeightPt, 841);   // 3508 units: not cut to 11 whole inches
    // Margins: 248 units on the left, 62 on the right, 42 points above and
    // below, and room for two 12-point lines.
    EXPECT_EQ(OutputJobState.leftMargin, 248);
    EXPECT_EQ(OutputJobState.topMargin, 42);
    EXPECT_EQ(Printer.usableHeightPt, 841 - 2 * 42 - 2 * 12);
    int32_t width = 0;
    RepPageWidth(&OutputJobState.positions, &width);
    EXPECT_EQ(width, 2480 - 248 - 62);
    ReportColumnLayout(0, &OutputJobState.positions, width);

    // Page 1 ends with its number at the foot; page 2 has no header lines
    // and so no number.
    PutI16(CompanyBlock, CompanyBlk::CompanyVariant, 25);
    CompanyVariantBind(CompanyBlock);
    OutputJobState.headerLine = 2;
    OutputJobState.pageNumber = 1;
    PrinterNewPage();
    PrinterTextAt(100, 100, Ps("First"));
    PrinterPageNumber(1);
    OutputJobState.headerLine = 65535;
    OutputJobState.pageNumber = 2;
    PrinterNewPage();
    PrinterTextAt(100, 100, Ps("Second"));
    PrinterPageNumber(1);
    PrinterEndDoc();
    CompanyVariantBind(nullptr);
    EXPECT_EQ(Printer.job, nullptr);
    EXPECT_EQ(OutputJobState.stopFlag, 0);

    fs::path file = dir / "print" / "Ledger-1.pdf";
    ASSERT_TRUE(fs::exists(file));
    std::string pdf = ReadAll(file);
    EXPECT_NE(pdf.find("/MediaBox [ 0 0 595.2 841.92 ]"), std::string::npos);
    EXPECT_NE(pdf.find("/Count 2"), std::string::npos);
    std::vector<PdfWord> words = PdfWords(file);
    std::vector<PdfWord> one = PageWords(words, 1), two = PageWords(words, 2);
    EXPECT_NEAR(Find(one, "First").xMin, 24, 1);     // device x 100
    PdfWord number = Find(one, "1");
    EXPECT_NEAR(number.xMax, 2418 * 0.24, 1.5);      // right-aligned at stop 1: the usable width's end
    EXPECT_LT(number.yMax, 841.92 - 42);             // above the bottom margin
    EXPECT_GT(number.yMin, 780);
    EXPECT_NEAR(Find(one, "Page").yMin, number.yMin, 0.5);
    EXPECT_NEAR(Find(one, TextOf(Texts::ProgramTitle)).xMin, 248 * 0.24, 1);   // stop 0: the left margin
    Find(one, "(" + TextOf(Texts::PageNumberOf) + ")");
    ASSERT_EQ(two.size(), 1u);
    EXPECT_EQ(two[0].text, "Second");
}

TEST_F(Printing, NestedDocumentJobsMakeOneFileThatTheOutermostEndWrites)
{
    fs::path file = AnswerPrint(true);
    ASSERT_EQ(PrintJobStartDoc(0, 1, Ps("Docs")), 1);
    PrinterStartPage();
    PrinterTextAt(100, 100, Ps("Outer"));
    ASSERT_EQ(PrintJobStartDoc(0, 1, Ps("Docs")), 1);   // nests: no second dialog
    EXPECT_EQ(Printer.nesting, 2);
    EXPECT_EQ(PrintDialogs(), 1);
    PrinterTextAt(120, 100, Ps("Inner"));
    PrintJobEnd();
    EXPECT_TRUE(Printer.docOpen);                        // the outer job goes on
    PrinterTextAt(140, 100, Ps("After"));

    // A report job cannot start inside it; a start once stopped is not counted.
    PlPrintJob *open = Printer.job;
    EXPECT_FALSE(PrintJobStartReport(Ps("R")));
    EXPECT_EQ(OutputJobState.stopFlag, 1);
    EXPECT_EQ(Printer.job, open);
    EXPECT_EQ(PrintJobStartDoc(0, 1, Ps("Docs")), 0);
    EXPECT_EQ(Printer.nesting, 1);
    PrintJobEnd();
    EXPECT_FALSE(Printer.docOpen);
    PrintJobEnd();                                       // an end without a start
    EXPECT_EQ(Printer.nesting, 0);

    ASSERT_EQ(out.Files().size(), 1u);
    std::vector<PdfWord> words = PdfWords(file);
    ASSERT_EQ(words.size(), 3u);
    EXPECT_EQ(words[0].text + words[1].text + words[2].text, "OuterInnerAfter");
}

TEST_F(Printing, WrappedTextsCutAtBlanksOrHyphenateAndEvenANarrowColumnEnds)
{
    // A report job on the printer device, whose advance moves the line
    // down; each page is started here, so no advance starts one.
    PutU16(TestJob, ReportParamsVc::OutputKind, OutPrinter);
    fs::path file = AnswerPrint(true);
    PutI16(TestJob, ReportParamsVc::SetupDialog, 1);
    ASSERT_TRUE(PrintJobStartReport(Ps("Wrap")));
    OutputJobState.pageStarted = 1;
    const double m = 248 * 0.24;   // the left margin, points
    std::string word;
    for (int i = 0; i < 200; i++) word += char('a' + i % 26);

    // Page 1: a short text stays on its line; words break at blanks.
    PrinterNewPage();
    OutputJobState.linePos = 20;
    PrinterTextClipped(72, 400, false, false, Ps("Short"));
    EXPECT_EQ(OutputJobState.linePos, 20);
    OutputJobState.linePos = 60;
    PrinterTextClipped(72, 144, false, true, Ps("alpha beta gamma delta epsilon zeta"));
    EXPECT_GT(OutputJobState.linePos, 60);

    // Page 2: one 200-letter word in a one-inch column.
    PrinterNewPage();
    OutputJobState.linePos = 20;
    PrinterTextClipped(72, 144, false, false, Ps(word.c_str()));
    int lines = (OutputJobState.linePos - 20) / 12 + 1;

    // Page 3: a column narrower than one character, right-aligned: one
    // character a line, no hyphens, and the text ends.
    PrinterNewPage();
    OutputJobState.linePos = 20;
    PrinterTextClipped(300, 300, true, false, Ps("ABCDEFGHIJKLMNOPQRST"));
    EXPECT_EQ(OutputJobState.linePos, 20 + 19 * 12);

    // Page 4: the same column begun on the page's last line: the page
    // breaks inside the text, which goes on at the top of page 5.
    PrinterNewPage();
    OutputJobState.pageBottom = Printer.usableHeightPt;   // as the printer device's job start sets it
    OutputJobState.linePos = OutputJobState.pageBottom;
    PrinterTextClipped(300, 300, true, false, Ps("UVWXYZ"));
    PrinterEndDoc();

    std::vector<PdfWord> words = PdfWords(file);
    std::string rejoined;
    for (const PdfWord &w : PageWords(words, 1)) {
        rejoined += w.text + " ";
        EXPECT_LE(w.xMax, 144 + m + 1) << w.text;
    }
    EXPECT_EQ(rejoined, "Short alpha beta gamma delta epsilon zeta ");

    std::vector<PdfWord> two = PageWords(words, 2);
    ASSERT_EQ(int(two.size()), lines);
    ASSERT_GT(lines, 5);
    std::string whole;
    for (size_t i = 0; i < two.size(); i++) {
        std::string s = two[i].text;
        bool last = i + 1 == two.size();
        ASSERT_EQ(!s.empty() && s.back() == '-', !last) << "line " << i << ": " << s;
        whole += last ? s : s.substr(0, s.size() - 1);
        EXPECT_NEAR(two[i].xMin, 72 + m, 1);
    }
    EXPECT_EQ(whole, word);

    std::vector<PdfWord> three = PageWords(words, 3);
    ASSERT_EQ(three.size(), 20u);
    for (size_t i = 0; i < three.size(); i++) {
        EXPECT_EQ(three[i].text, std::string(1, char('A' + i)));
        EXPECT_NEAR(three[i].xMax, 300 + m, 1);
    }

    std::string split;
    for (int page : {4, 5}) {
        split += "|";
        for (const PdfWord &w : PageWords(words, page)) split += w.text;
    }
    EXPECT_EQ(split, "|U|VWXYZ");
}

// A print command asks once, even for jobs whose own set-up would print
// at once, and its later jobs print on that answer; a cancel stops them
// all; after the command a job asks only as its set-up says.
TEST_F(Printing, APrintCommandAsksOnceAndItsJobsFollowTheAnswer)
{
    PutI16(TestJob, ReportParamsVc::SetupDialog, 0);
    fs::path file = AnswerPrint(true, "first.pdf");
    PrintCommandBegin();
    ASSERT_EQ(PrintJobStartDoc(0, 0, Ps("Doc")), 1);
    PrinterStartPage();
    PrinterTextAt(100, 100, Ps("One"));
    PrintJobEnd();
    ASSERT_TRUE(PrintJobStartReport(Ps("Rep")));   // the same choice, no second dialog
    PrinterNewPage();
    PrinterEndDoc();
    PrintCommandEnd();
    EXPECT_EQ(PrintDialogs(), 1);
    EXPECT_TRUE(fs::exists(file));
    EXPECT_EQ(out.Files().size(), 1u) << "the second job wrote over the chosen file";

    // Cancelled: neither job prints, and the second asks nothing.
    AnswerPrint(false);
    PrintCommandBegin();
    EXPECT_EQ(PrintJobStartDoc(0, 0, Ps("Doc")), 0);
    EXPECT_FALSE(PrintJobStartReport(Ps("Rep")));
    PrintCommandEnd();
    EXPECT_EQ(PrintDialogs(), 2);
    EXPECT_EQ(Printer.job, nullptr);

    // Outside a command a job without the set-up flag prints at once.
    OutputJobState.stopFlag = 0;
    ASSERT_EQ(PrintJobStartDoc(0, 0, Ps("Plain")), 1);
    PrintJobEnd();
    EXPECT_EQ(PrintDialogs(), 2);
}

TEST_F(Printing, CancelledOrUnwritableJobsStopAndLeaveNoFile)
{
    // Cancelled dialogs: nothing opens, nothing is written, nothing counts.
    AnswerPrint(false);
    PutI16(TestJob, ReportParamsVc::SetupDialog, 1);
    EXPECT_FALSE(PrintJobStartReport(Ps("R")));
    EXPECT_EQ(OutputJobState.stopFlag, 1);
    AnswerPrint(false);
    EXPECT_EQ(PrintJobStartDoc(0, 1, Ps("D")), 0);
    EXPECT_EQ(OutputJobState.stopFlag, 1);
    EXPECT_EQ(Printer.nesting, 0);
    EXPECT_EQ(Printer.job, nullptr);
    EXPECT_TRUE(out.Files().empty());
    EXPECT_TRUE(MessagesShown.empty());

    // A file that cannot be made: told with its path.
    std::ofstream(out.path / "plain") << "x";
    AnswerPrint(true, "plain/job.pdf");
    OutputJobState.stopFlag = 0;
    EXPECT_FALSE(PrintJobStartReport(Ps("R")));
    EXPECT_EQ(OutputJobState.stopFlag, 1);
    EXPECT_EQ(Printer.job, nullptr);
    ASSERT_EQ(MessagesShown.size(), 1u);
    EXPECT_EQ(MessagesShown[0], TextOf(Texts::PrintFileNotWritten) + (out.path / "plain/job.pdf").string());
}

TEST_F(Printing, FontsFallBackToTheDefaultFacesAndAFontRecordMakesItsFontOnce)
{
    PutText(CompanyBlock, CompanyBlk::PrinterFontName, Ps("DejaVu Sans"));
    AnswerPrint(true);
    PutI16(TestJob, ReportParamsVc::SetupDialog, 1);
    ASSERT_TRUE(PrintJobStartReport(Ps("F")));
    EXPECT_EQ(FontResolvedFamily(Printer.normal), "DejaVu Sans");
    EXPECT_EQ(FontPixelHeight(Printer.bold), 41);   // 10 points at 300 dpi
    PutText(CompanyBlock, CompanyBlk::PrinterFontName, Ps(""));
    ASSERT_TRUE(PrinterFontsInit());
    EXPECT_EQ(FontResolvedFamily(Printer.normal), "Liberation Serif");

    PrinterStartPage();
    std::vector<uint8_t> a = FontRecord("A", "DejaVu Sans Mono", 12, 3);
    std::vector<uint8_t> b = FontRecord("B", "", 0, 0);
    PrinterFontSelect(a.data());
    PlFont *made = Printer.formFont;
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(FontResolvedFamily(made), "DejaVu Sans Mono");
    EXPECT_EQ(FontPixelHeight(made), 50);
    SelectFontOf(false);
    PrinterFontSelect(a.data());
    EXPECT_EQ(Printer.formFont, made);              // not made again, selected again
    EXPECT_EQ(DcFont(Printer.dc), made);
    PrinterFontSelect(b.data());                    // no face, no size: the defaults
    EXPECT_NE(Printer.formFont, made);
    EXPECT_EQ(FontResolvedFamily(Printer.formFont), "Liberation Serif");
    EXPECT_EQ(FontPixelHeight(Printer.formFont), 41);
    for (int16_t points : {int16_t(23040), int16_t(32767)}) {   // past any page: the largest form size
        std::vector<uint8_t> huge = FontRecord("H", "", points, 0);
        PrinterFontSelect(huge.data());
        ASSERT_NE(Printer.formFont, nullptr) << points;
        EXPECT_EQ(FontPixelHeight(Printer.formFont), 720 * 300 / 72) << points;
        EXPECT_EQ(DcFont(Printer.dc), Printer.formFont) << points;
    }
    PrinterEndDoc();
    EXPECT_EQ(Printer.formFont, nullptr);
    EXPECT_EQ(Printer.normal, nullptr);
}

// A client prints the form jobs of its server on its own printer: each
// job writes its file with the form's texts, among them one in a font
// record asking for a size past any page (another each job, as a lying
// server may send), and loses no memory (the fonts of a job, the font
// library's share of them included, go with it).
TEST_F(Printing, AServersFormJobsPrintOnTheClientAndLoseNoMemory)
{
    constexpr int Jobs = 6;
    for (int i = 0; i < Jobs; i++) {
        const std::vector<std::vector<uint8_t>> job = ServerFormJob(int16_t(23040 + i * 1000));
        ASSERT_EQ(job.size(), 3u) << "sent at once: the open, the page's end, the close";
        for (const std::vector<uint8_t> &m : job) EXPECT_TRUE(RepExecRemote(m.data(), uint32_t(m.size())));
        RepRemoteJobEnd(RemoteJobEnd::Full);
        EXPECT_EQ(Printer.job, nullptr);
        EXPECT_EQ(OutputJobState.stopFlag, 0);
    }
    EXPECT_TRUE(MessagesShown.empty()) << MessagesShown[0];
#if defined(__SANITIZE_ADDRESS__)
    EXPECT_EQ(__lsan_do_recoverable_leak_check(), 0) << "memory lost (the report above says where)";
#endif

    fs::path file = dir / "print" / ("Invoice-" + std::to_string(Jobs) + ".pdf");
    ASSERT_TRUE(fs::exists(file));
    std::vector<PdfWord> words = PdfWords(file);
    EXPECT_NEAR(Find(words, "Total").yMin, 102, 4);
    PdfWord big = Find(words, "I");
    EXPECT_GT(big.yMax - big.yMin, 400) << "printed at the largest form size";
}

TEST_F(Printing, APictureIsDrawnOnlyOnAnOpenPage)
{
    // A 2 x 2 picture of 24 bits: the header, then two rows of 8 bytes.
    MemBlock dib = MemAlloc(40 + 16);
    ASSERT_NE(dib, 0u);
    uint8_t *p = MemLock(dib);
    PutU32(p, 0, 40);
    PutI32(p, 4, 2);
    PutI32(p, 8, 2);
    PutU16(p, 12, 1);
    PutU16(p, 14, 24);
    PlDib view{};
    ASSERT_TRUE(PackedDibView(p, 56, &view));
    MemUnlock(dib);
    std::vector<uint8_t> r(4 * sizeof(PackedDecimal), 0);
    for (uint32_t i = 0; i < 4; i++) PutWhole(&r, i * 12, i < 2 ? 100 : 172);   // top, left, bottom, right
    const PackedDecimal *c = reinterpret_cast<const PackedDecimal *>(r.data());
    EXPECT_FALSE(PrintBitmapInRect(dib, c, 1));      // no job
    fs::path file = AnswerPrint(true);
    ASSERT_EQ(PrintJobStartDoc(0, 1, Ps("P")), 1);
    EXPECT_FALSE(PrintBitmapInRect(dib, c, 1));      // no page
    PrinterStartPage();
    EXPECT_FALSE(PrintBitmapInRect(0, c, 1));
    EXPECT_TRUE(PrintBitmapInRect(dib, c, 1));
    PrintJobEnd();
    MemFree(&dib);
    EXPECT_NE(ReadAll(file).find("/Subtype /Image"), std::string::npos);
}

}  // namespace
