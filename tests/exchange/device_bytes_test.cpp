// device_bytes_test.cpp - the bytes the text file, TAB file, memory
// buffer and character printer devices write for whole jobs run through
// the public output operations, and how they fail: a full disk, a port
// that refuses, a full buffer, a cancelled file dialog.
#include "core/work_blocks.h"
#include "tests/shell/shell_fixture.h"
#include "tests/output/output_fixture.h"

#include <fstream>
#include <sstream>

#include "core/company_variant.h"
#include "core/field_access.h"
#include "core/field_types.h"
#include "core/pstring.h"
#include "exchange/exchange.h"
#include "output/devices/device_table.h"
#include "platform/print.h"
#include "platform/script.h"
#include "tests/output/test_job.h"

namespace {

namespace fs = std::filesystem;

// A PString of a literal (bytes as they are).
std::vector<uint8_t> P(const std::string &s)
{
    std::vector<uint8_t> v(s.size() + 1);
    v[0] = uint8_t(s.size());
    for (size_t i = 0; i < s.size(); i++) v[i + 1] = uint8_t(s[i]);
    return v;
}

std::string ReadAll(const fs::path &p)
{
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

class DeviceBytes : public ShellCompanyFixture {
protected:
    TempPrintDir out;

    void SetUp() override
    {
        ShellCompanyFixture::SetUp();
        ResetOutputJobState();
        ASSERT_NE(LoggedInUser, nullptr);
        DosCodePage = 0;
    }
    void TearDown() override
    {
        CharPortConfigure("LPT1", "");
        CharPortConfigure("5", "");
        MemFree(&RepBufferBlock);
        RepBufferUsed = 0;
        RepBufferLimit = 64u << 20;
        DosCodePage = 0;
        CompanyVariantBind(nullptr);
        ResetOutputJobState();
        ShellCompanyFixture::TearDown();
    }
    bool Told(int n)
    {
        PString t;
        GetUiText(t, n);
        std::string want(reinterpret_cast<const char *>(t + 1), t[0]);
        for (const std::string &m : MessagesShown)
            if (m.find(want) != std::string::npos) return true;
        return false;
    }
    // One line of two texts (a TAB, a CR, an Esc and a DEL inside the first), a value,
    // then a line in DOS letters.
    void FileJob()
    {
        RepOpenJob(P("Job").data());
        RepStartLine(12);
        RepText(0, 0, P("ab\tc\rd\x1b\x7f").data(), 0);
        int16_t v = 42;
        RepValue(100, 0, reinterpret_cast<const uint8_t *>(&v), FtShort, 1);
        RepAdvance(12);
        DosCodePage = 1;
        RepText(0, 0, P("K\xF6p").data(), 0);
        RepEndJob();
    }
};

TEST_F(DeviceBytes, TextAndTabFilesWriteFieldsWithControlsBlankedAndDosLetters)
{
    const struct {
        uint16_t kind;
        const char *name;
        std::string want;
    } cases[] = {{OutTextFile, "t.txt", "ab c d  \t42\t\r\nK\x94p\t\r\n"}, {OutTabFile, "f.txt", "ab c d  \t42\t\rK\x94p\t"}};
    for (const auto &c : cases) {
        DosCodePage = 0;
        OutKind(c.kind);
        ScriptAnswerFile((out.path / c.name).string());
        RepOpenFileDevice();
        ASSERT_EQ(RepStopped, 0);
        FileJob();
        EXPECT_EQ(ReadAll(out.path / c.name), c.want) << c.name;
    }
    EXPECT_TRUE(MessagesShown.empty());

    // The export stream lands in the open file in DOS letters.
    ScriptAnswerFile((out.path / "e.txt").string());
    RepOpenFileDevice();
    RepOpenJob(P("Export").data());
    RepWriteField(P("K\xF6p").data());
    RepEndJob();
    EXPECT_EQ(ReadAll(out.path / "e.txt"), std::string("K\x94p"));
}

TEST_F(DeviceBytes, FileFailuresStopTheJobAndWriteNothingOrTellTheLoss)
{
    OutKind(OutTextFile);
    ScriptAnswerFile("");   // cancelled
    RepOpenFileDevice();
    EXPECT_EQ(RepStopped, 1);
    FileJob();
    EXPECT_TRUE(out.Files().empty());
    EXPECT_FALSE(Told(Texts::OutputNotWritten));

    // A full disk on a server's job: stopped and told at the end.
    RunMode = RunModeServer;
    ScriptAnswerFile("/dev/full");
    RepOpenFileDevice();
    ASSERT_EQ(RepStopped, 0);
    RepOpenJob(P("Job").data());
    for (int i = 0; i < 3000 && !RepStopped; i++) {
        RepText(0, 0, P("0123456789").data(), 0);
        RepAdvance(12);
    }
    RepEndJob();
    EXPECT_EQ(RepStopped, 1);
    EXPECT_TRUE(Told(Texts::OutputNotWritten));

    // A file that cannot be created is told with its name.
    MessagesShown.clear();
    ScriptAnswerFile((out.path / "no" / "such.txt").string());
    RepOpenFileDevice();
    EXPECT_EQ(RepStopped, 1);
    EXPECT_TRUE(Told(Texts::OutputFileNotCreated));
}

TEST_F(DeviceBytes, BankFilesAskTheirNameNumberTheNextAndAreKeptOnlyWhole)
{
    PutI16(TestJob, ReportParamsVc::ReportNumber, 15);
    PutI16(CompanyBlock, CompanyBlk::CompanyVariant, 27);
    CompanyVariantBind(CompanyBlock);
    OutKind(OutTextFile);
    BankFileExportRunning = true;   // as the text export sets it for kind 15
    // The chosen file and the next, numbered; both under a temporary name
    // until the job is whole.
    const fs::path chosen = out.path / "order.txt", next = out.path / "order-2.txt";
    size_t dialogs = ScriptRecords().size();
    ScriptAnswerFile(chosen.string());
    RepOpenFileDevice();
    EXPECT_EQ(RepStopped, 0);
    EXPECT_EQ(ScriptRecords().size(), dialogs + 1) << "the file is asked for";
    RepOpenJob(P("Bank").data());
    RepNextFile();
    EXPECT_EQ(RepStopped, 0);
    RepEndJob();
    EXPECT_FALSE(fs::exists(chosen));
    EXPECT_TRUE(fs::exists(next.string() + ".part"));
    std::vector<std::string> names;
    EXPECT_TRUE(RepStagedFilesEnd(true, &names));
    EXPECT_EQ(names, (std::vector<std::string>{chosen.string(), next.string()}));
    EXPECT_TRUE(fs::exists(chosen) && fs::exists(next));
    EXPECT_FALSE(fs::exists(next.string() + ".part"));
    // A job not whole leaves nothing, not even an older file's new copy.
    fs::remove(chosen);
    ScriptAnswerFile(chosen.string());
    RepOpenFileDevice();
    RepOpenJob(P("Bank").data());
    RepEndJob();
    names.clear();
    RepStagedFilesEnd(false, &names);
    EXPECT_FALSE(fs::exists(chosen));
    EXPECT_FALSE(fs::exists(chosen.string() + ".part"));
    // Report 15 of the report list shares the run number: its file is
    // written under its own name at once.
    BankFileExportRunning = false;
    ScriptAnswerFile(chosen.string());
    RepOpenFileDevice();
    RepOpenJob(P("Journal").data());
    RepEndJob();
    EXPECT_TRUE(fs::exists(chosen));
    EXPECT_FALSE(fs::exists(chosen.string() + ".part"));

    PutI16(CompanyBlock, CompanyBlk::CompanyVariant, 9);
    PString name;
    PStringFromView(name, "x.txt");
    TelepayDefaultFileName(name);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(name + 1), name[0]), "TILTB.TBD");
    PutI16(CompanyBlock, CompanyBlk::CompanyVariant, 5);
    TelepayDefaultFileName(name);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(name + 1), name[0]), "TILTB.TBD");
}

TEST_F(DeviceBytes, BufferTakesTheFormatLineAndStopsWhenFull)
{
    OutKind(OutBuffer);
    RepOpenJob(P("Buf").data());
    RepOp18();
    RepEndJob();
    ASSERT_EQ(RepStopped, 0);
    std::string b(reinterpret_cast<const char *>(MemLock(RepBufferBlock)), RepBufferUsed);
    MemUnlock(RepBufferBlock);
    EXPECT_EQ(b.substr(0, 8), "format\t\r");
    EXPECT_EQ(b.substr(b.size() - 2), "\r\r");
    EXPECT_EQ(std::count(b.begin() + 8, b.end(), '\t'), 3);

    // Kind 8 keeps the buffer; a text that does not fit stops with 1511.
    OutKind(OutBufferKeep);
    RepBufferLimit = RepBufferUsed + 5;
    uint32_t before = RepBufferUsed;
    RepOpenJob(P("Buf").data());
    RepText(0, 0, P("abc").data(), 0);
    EXPECT_EQ(RepBufferUsed, before + 4);
    RepText(0, 0, P("defgh").data(), 0);
    EXPECT_EQ(RepStopped, 1);
    EXPECT_EQ(RepBufferUsed, before + 4);
    EXPECT_TRUE(Told(Texts::OutputFull));
    RepEndJob();
}

TEST_F(DeviceBytes, CharacterPrinterLinesOverprintUnderlineAndRules)
{
    fs::path port = out.path / "lpt1.out";
    ASSERT_TRUE(CharPortConfigure("LPT1", port.string()));
    OutKind(OutCharPrinter);
    RepOpenJob(P("Chars").data());
    ASSERT_EQ(RepStopped, 0);
    RepStartLine(12);
    RepText(0, 0, P("AB").data(), 0);
    RepText(0, 0, P("CD").data(), 0);    // same x: next line
    RepText(4, 0, P("EF").data(), 0);    // overlaps CD: a third line
    RepAdvance(12);
    RepTextEx(0, -1, 0, 0, 1, P("GH").data());   // underlined
    RepAdvance(12);
    RepText(8, 0, P("VWXYZ").data(), 1);   // right-aligned at column 2
    RepAdvance(12);
    RepRule(0, 16, 4);
    RepRule(0, 8, 6);
    RepAdvance(12);                          // a blank line
    RepEndJob();
    EXPECT_EQ(RepStopped, 0);
    EXPECT_EQ(ReadAll(port), std::string("        AB\r\n"
                                         "        CD\r\n"
                                         "         EF\r\n"
                                         "        GH\r        --\r\n"
                                         "        YZ\r\n"
                                         "        ----\r\n"
                                         "        ==\r\n"
                                         "\r\n"
                                         "\f"));

    // A job that prints nothing sends nothing.
    fs::remove(port);
    RepOpenJob(P("Empty").data());
    RepEndJob();
    EXPECT_EQ(ReadAll(port), "");
}

TEST_F(DeviceBytes, CharacterPrinterBreaksAfter66LinesWithTheHeaderAndFailsOnAFullPort)
{
    fs::path port = out.path / "lpt1.out";
    ASSERT_TRUE(CharPortConfigure("LPT1", port.string()));
    OutKind(OutCharPrinter);
    RepOpenJob(P("Pages").data());
    RepHeaderClear();
    RepHeaderLeft(0, P("Ledger").data());
    RepHeaderDone();
    for (int i = 0; i < 70; i++) {
        RepStartLine(12);
        RepText(0, 0, P("line").data(), 0);
        RepAdvance(12);
    }
    RepEndJob();
    std::string s = ReadAll(port);
    size_t ff = s.find('\f');
    ASSERT_NE(ff, std::string::npos);
    EXPECT_EQ(std::count(s.begin(), s.end(), '\f'), 2);
    EXPECT_EQ(std::count(s.begin(), s.begin() + long(ff), '\n'), 66);
    EXPECT_NE(s.find("Page 1"), std::string::npos);
    EXPECT_GT(s.find("Page 2"), ff);
    EXPECT_NE(s.find("=========="), std::string::npos);

    ASSERT_TRUE(CharPortConfigure("LPT1", "/dev/full"));
    RepOpenJob(P("Full").data());
    for (int i = 0; i < 3000 && !RepStopped; i++) {
        RepStartLine(12);
        RepText(0, 0, P("0123456789").data(), 0);
        RepAdvance(12);
    }
    RepEndJob();
    EXPECT_EQ(RepStopped, 1);
    EXPECT_TRUE(Told(Texts::OutputNotWritten));
}

TEST_F(DeviceBytes, FormGridPlacesTextsAndSendsTheControlString)
{
    uint8_t ctl[256];
    PrinterControlString(P("1 \\2\\7x").data(), ctl);
    EXPECT_EQ(std::string(reinterpret_cast<const char *>(ctl + 1), ctl[0]), std::string("\x02\x07x"));
    PrinterControlString(P("ab").data(), ctl);
    EXPECT_EQ(ctl[0], 0);

    fs::path port = out.path / "5.out";
    ASSERT_TRUE(CharPortConfigure("5", port.string()));
    CharGridColumns = 10;
    ASSERT_TRUE(CharGridPageStart(P("5 \\2\\7x").data()));
    CharGridGeometry(3, 0);
    PackedDecimal r[4];
    DecFromLong(&r[0], 29);    // line 0
    DecFromLong(&r[1], 0);
    DecFromLong(&r[2], 40);
    DecFromLong(&r[3], 0);     // right-aligned at x 0: from column 0
    CharGridText(P("AB").data(), r, 0, -1);
    DecFromLong(&r[0], 29 + 250);   // line 1
    DecFromLong(&r[3], 1000);
    CharGridText(P("ZZZZ").data(), r, 0, -1);   // pulled back inside
    CharGridPageEnd();
    EXPECT_EQ(ReadAll(port), std::string("\x02\x07x" "AB\r\n" "      ZZZZ\r\n" "\r\n"));
    CharGridColumns = 120;
}

}  // namespace
