// text_dispatch_test.cpp - the import's dispatch by tag and mode, the
// format line, damage, "seqnr", and the export run: a full export to a
// disk that refuses it, a client's export its server refuses before the
// client's login, and the rescue export read back into a company.
#include "tests/exchange/exchange_fixture.h"
#include "tests/exchange/test_job_export.h"

#include <array>
#include <utility>

#include "core/file_form.h"
#include "core/format_block.h"
#include "database/access/record_access.h"
#include "database/access/transport.h"
#include "shell/shell.h"
#include "tests/output/test_job.h"

namespace {

class TextDispatch : public ExchangeFixture {
protected:
    // Stores an "ot" record (register 24) as the record layer does.
    static void StoreOt(const char *code, const char *name)
    {
        uint8_t r[OTVc::Size] = {};
        PString t;
        PStringFromC(t, code);
        PutText(r, OTVc::Code, t);
        PStringFromC(t, name);
        PutText(r, OTVc::Name, t);
        ASSERT_TRUE(RecImportStore(OTVc::Number, r, 1, 0));
    }
    // The name stored under a code of register reg (24 or 128); "-" when
    // there is no such record.
    static std::string NameOf(int reg, const char *code)
    {
        uint8_t r[OTVc::Size] = {};
        PString t;
        PStringFromC(t, code);
        PutText(r, OTVc::Code, t);
        uint32_t id = 0, pos = 0;
        if (!RecFind(reg, r, 0, 1, &id, &pos)) return "-";
        return PStringToStd(r + OTVc::Name);
    }
};

struct DispatchCase {
    const char *what;
    uint16_t mode;                // import mode
    const char *file;
    const char *stored;           // "reg:code=name;..." expected after the run ("-": absent)
    uint32_t damageLine;          // 0: none
    int toldText;                 // a text told once, 0 none
    const char *toldEnds = "";    // how that message ends
};

const DispatchCase DispatchCases[] = {
    {"an unknown section holding a tag-like line is skipped whole", 0,
     "tb\r\n\r\n\r\nnosuchtag\r\not\r\nX\tx\r\n\r\not\r\nA\tAlpha\r\n\r\n", "24:A=Alpha;24:X=-;24:OLD=old", 0, 0},
    {"damage on line 9: the section before stays, the damaged record and what follows do not", 0,
     "tb\r\n\r\n\r\not\r\nA\tAlpha\r\n\r\norderclass\r\nB\tBeta\r\nC\x01\tGamma\r\n\r\not\r\nOLD\tnew\r\n\r\n",
     "24:A=Alpha;128:B=Beta;128:C=-;24:OLD=old", 9, Texts::ImportDamaged},
    {"a number format without a decimal separator is damage and stores nothing after it", 0,
     "sysformat\r\n0\t1\t1\t1\t.\t\t \r\n\r\not\r\nA\tAlpha\r\n\r\n", "24:A=-", 2, Texts::ImportDamaged},
    {"a damaged format line stops before any section", 0, "format\r\n2x\t44\t0\r\n\r\not\r\nA\tAlpha\r\n\r\n",
     "24:A=-", 2, Texts::ImportDamaged},
    {"a text file read in import mode 2 (SIE) is refused and stores nothing", 2, "ot\r\nA\tAlpha\r\n\r\n",
     "24:A=-", 0, Texts::SieRefused},
    {"an import mode without a reader is refused and reads nothing", 4, "ot\r\nA\tAlpha\r\n\r\n", "24:A=-", 0,
     Texts::ImportSourceRefused},
    {"a text file read in import mode 1 (bank payments) stores nothing and says so", 1,
     "ot\r\nA\tAlpha\r\n\r\n", "24:A=-", 0, Texts::BankInNothingRead},
    {"seqnr: the first record is kept as the newer stored one, the second replaced", 0,
     "seqnr\t1\r\not\r\nOLD\tnew\r\nOLD2\tnew\r\n\r\n", "24:OLD=old;24:OLD2=new", 0, Texts::ImportRecordsKept,
     ": 1 (ot OLD)"},
};

class Dispatch : public TextDispatch, public ::testing::WithParamInterface<DispatchCase> {};

TEST_P(Dispatch, SectionsLandAsTheTagsSay)
{
    const DispatchCase &c = GetParam();
    StoreOt("OLD", "old");
    StoreOt("OLD2", "old");
    PutU16(TestJob, ReportParamsVc::OutputKind, ImportSourceMemory);
    PutU16(TestJob, ReportParamsVc::ReportNumber, c.mode);
    SourceOf(c.file);
    ImportRun();
    std::string want = c.stored;
    for (size_t at = 0; at < want.size();) {
        size_t end = want.find(';', at);
        if (end == std::string::npos) end = want.size();
        std::string item = want.substr(at, end - at);
        size_t colon = item.find(':'), eq = item.find('=');
        int reg = std::stoi(item.substr(0, colon));
        std::string code = item.substr(colon + 1, eq - colon - 1);
        EXPECT_EQ(NameOf(reg, code.c_str()), item.substr(eq + 1)) << c.what << ": " << item;
        at = end + 1;
    }
    EXPECT_EQ(ImportResult.damageLine, c.damageLine) << c.what;
    if (c.toldText) {
        EXPECT_EQ(Shown(c.toldText), 1) << c.what;
        const std::string ends = c.toldEnds, last = MessagesShown.empty() ? "" : MessagesShown.back();
        EXPECT_TRUE(last.size() >= ends.size() && last.compare(last.size() - ends.size(), ends.size(), ends) == 0)
            << c.what << ": " << last;
    }
    if (c.damageLine) {
        EXPECT_NE(MessagesShown.back().find(std::to_string(c.damageLine) + ", "), std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, Dispatch, ::testing::ValuesIn(DispatchCases),
                         [](const auto &param) { return "Case" + std::to_string(param.index); });

// A field holding a control character (Esc, DEL, or any other byte below
// 32 that is not the file's framing) stops the import at its line and
// column, as other damage does, and the user is told where; what came
// before is stored. cp1252 letters, a stray LF and VT as a line end are
// not damage.
TEST_F(TextDispatch, ControlCharactersInAFieldAreDamageAtTheirLineAndColumn)
{
    for (char bad : {'\x1b', '\x7f', '\x01', '\x1f'}) {
        SCOPED_TRACE(int(uint8_t(bad)));
        MessagesShown.clear();
        ImportResult = ImportResultRec{};
        std::string file = "tb\r\n\r\n\r\not\r\nA\tK\xE4p\r\nB\tBe\nta\r\nV\tVee\vC\tGam";
        file += std::string(1, bad) + "ma\r\nD\tDelta\r\n\r\n";
        PutU16(TestJob, ReportParamsVc::OutputKind, ImportSourceMemory);
        PutU16(TestJob, ReportParamsVc::ReportNumber, 0);
        SourceOf(file);
        ImportRun();
        EXPECT_EQ(NameOf(OTVc::Number, "A"), "K\xE4p");
        EXPECT_EQ(NameOf(OTVc::Number, "B"), "Beta");
        EXPECT_EQ(NameOf(OTVc::Number, "V"), "Vee");
        EXPECT_EQ(NameOf(OTVc::Number, "C"), "-");
        EXPECT_EQ(NameOf(OTVc::Number, "D"), "-");
        EXPECT_EQ(ImportResult.damageLine, 8u);
        EXPECT_EQ(ImportResult.damageColumn, 2u);
        ASSERT_EQ(Shown(Texts::ImportDamaged), 1);
        EXPECT_NE(MessagesShown.back().find("8, 2"), std::string::npos) << MessagesShown.back();
        ImportFileClose();
    }
}

// The format line's date order and decimal separator hold while the file
// is read and are the program's again after the run; a file with the
// other byte-order flag has its texts translated.
TEST_F(TextDispatch, FormatLineHoldsForTheFileOnly)
{
    const uint16_t order = CurrentFormat->dateOrder;
    const uint8_t sep = CurrentFormat->decimalSep[1];
    const uint8_t other = sep == '.' ? ',' : '.';
    SourceOf("format\r\n2\t" + std::to_string(other) + "\t0\r\n1" + char(other) + "5\r\n");
    ImportFormat();
    EXPECT_EQ(CurrentFormat->dateOrder, 2);
    EXPECT_EQ(CurrentFormat->decimalSep[1], other);
    ImportSkipLine();
    PackedDecimal a;
    ASSERT_TRUE(ImportReadField(&a, FtAmount2, 0));
    EXPECT_EQ(DecToDouble(&a), 1.5);
    CurrentFormat->dateOrder = order;
    CurrentFormat->decimalSep[1] = sep;

    // Through a whole run: the file's flag differs from the program's,
    // texts come through the read table (here one that swaps two letters).
    std::array<uint8_t, 256> swap;
    for (int i = 0; i < 256; i++) swap[i] = uint8_t(i);
    std::swap(swap[0xE4], swap[0x84]);
    const auto saved = CharTranslationTables;
    CharTranslationTables = {swap.data(), swap.data()};
    ImportResult = ImportResultRec{};
    std::string file = "tb\r\n\r\n\r\nformat\r\n2\t44\t" + std::to_string(ByteOrder.program ? 0 : 1) +
                       "\r\n\r\not\r\nA\tK\xE4p\r\n\r\n";
    ImportBytes(file);
    CharTranslationTables = saved;
    EXPECT_EQ(NameOf(OTVc::Number, "A"), "K\x84p");
    EXPECT_TRUE(ImportResult.seenHeader);
    EXPECT_EQ(CurrentFormat->dateOrder, order);
    EXPECT_EQ(CurrentFormat->decimalSep[1], sep);
}

// A full export to a disk that refuses every write: the end tells the
// failed write, the run answers false, and the walk stopped early.
TEST_F(TextDispatch, ExportToAFullDiskFailsAndStops)
{
    for (int i = 0; i < 50; i++) StoreOt(("C" + std::to_string(i)).c_str(), "name");
    PutU16(TestJob, ReportParamsVc::OutputKind, OutTextFile);
    ScriptAnswerFile("/dev/full");
    EXPECT_FALSE(ExportOverTestJob(0));
    EXPECT_EQ(Shown(Texts::OutputNotWritten), 1);
    EXPECT_EQ(OutputJobState.stopFlag, 1);

    // Kind 22, the last kind to get its writer, runs: no balance records
    // here, nothing refused.
    ScriptAnswerFile((dir / "k22.txt").string());
    EXPECT_TRUE(ExportOverTestJob(22));
    EXPECT_EQ(Shown(Texts::ExportKindRefused), 0);
    // A kind that writes nothing runs to its end.
    ScriptAnswerFile((dir / "k17.txt").string());
    EXPECT_TRUE(ExportOverTestJob(17));
    EXPECT_EQ(FileBytes(dir / "k17.txt"), "\r\n");
}

// A client's export that its server refuses, as it refuses every request
// before the client's login: no file is left behind, empty, to be taken
// for an export, and the user is told why there is none.
TEST_F(TextDispatch, AClientsExportRefusedBeforeItsLoginSaysWhyAndLeavesNoFile)
{
    TransportInstall([](uint16_t, MsgBuffer *, MsgBuffer *) { return false; }, nullptr);
    RunMode = RunModeClient;
    LoggedInFlag = 0;
    PutU16(TestJob, ReportParamsVc::OutputKind, OutTextFile);
    const std::filesystem::path file = dir / "full.txt";
    ScriptAnswerFile(file.string());
    bool done = ExportOverTestJob(0);
    RunMode = 0;
    TransportInstall(nullptr, nullptr);
    EXPECT_FALSE(done);
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_EQ(Shown(Texts::ExportNotLoggedIn), 1);
}

// The rescue export writes the header, the format line in the fixed
// format and every record once behind its "seqnr"; the user's format is
// back after; a new company imports the file.
TEST_F(TextDispatch, RescueExportWritesEveryRecordOnceAndReadsBack)
{
    StoreOt("A", "Alpha");
    StoreOt("B", "Beta");
    const uint16_t order = CurrentFormat->dateOrder;
    const uint8_t sep = CurrentFormat->decimalSep[1];
    CurrentFormat->dateOrder = 3;
    CurrentFormat->decimalSep[1] = ',';
    ScriptAnswerFile((dir / "rescue.txt").string());
    ASSERT_TRUE(RescueExportRun());
    std::string bytes = FileBytes(dir / "rescue.txt");
    EXPECT_EQ(bytes.rfind("tb\t\r\n\r\n\r\nformat\t\r\n0\t46\t", 0), 0u) << bytes;
    for (const char *rec : {"seqnr\t", "ot\t\r\nA\tAlpha\t\r\n", "ot\t\r\nB\tBeta\t\r\n"}) {
        size_t at = bytes.find(rec);
        EXPECT_NE(at, std::string::npos) << rec;
        if (std::string(rec) != "seqnr\t") {
            EXPECT_EQ(bytes.find(rec, at + 1), std::string::npos) << rec;
        }
    }
    EXPECT_EQ(CurrentFormat->dateOrder, 3);
    EXPECT_EQ(CurrentFormat->decimalSep[1], ',');
    CurrentFormat->dateOrder = order;
    CurrentFormat->decimalSep[1] = sep;

    ASSERT_TRUE(RegDeleteAll(OTVc::Number));
    ImportBytes(bytes);
    EXPECT_EQ(NameOf(OTVc::Number, "A"), "Alpha");
    EXPECT_EQ(NameOf(OTVc::Number, "B"), "Beta");
    EXPECT_EQ(ImportResult.damageLine, 0u);
}

}  // namespace
