// special_sections_test.cpp - the form definition, key table, series and
// statement-row group sections written and read back, their damaged and
// refused forms, and the defaults file found by the program-file probe.
#include "tests/exchange/exchange_fixture.h"

#include <unistd.h>

#include <vector>

#include "core/language_file.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "database/access/settings_blocks.h"
#include "exchange/section_table.h"
#include "shell/company.h"

namespace {

using Rows = std::vector<uint8_t>;

class SpecialSections : public ExchangeFixture {
protected:
    // Sets a field of a record or row from its text form.
    static void Set(uint8_t *base, const Column &c, const char *text)
    {
        PString t;
        PStringFromC(t, text);
        ASSERT_TRUE(FieldFromText(base + c.pos, c.type, c.len, t)) << text;
    }
    // Rows of a table block from the texts of each row's fields.
    static Rows Make(uint32_t rowSize, std::vector<Column> cols, std::vector<std::vector<const char *>> texts)
    {
        Rows bytes(rowSize * texts.size(), 0);
        for (size_t r = 0; r < texts.size(); r++)
            for (size_t c = 0; c < cols.size(); c++) Set(bytes.data() + r * rowSize, cols[c], texts[r][c]);
        return bytes;
    }
    static void Store(int block, const Rows &rows)
    {
        MemBlock h = 0;
        if (!rows.empty()) {
            ASSERT_TRUE(MemResizeZero(&h, uint32_t(rows.size())));
            std::memcpy(MemLock(h), rows.data(), rows.size());
        }
        ASSERT_EQ(SettingsBlockStoreHandle(block, h), RecDone);
        MemFree(&h);
    }
    static Rows Stored(int block)
    {
        MemBlock h = 0;
        if (!SettingsBlockFetch(&h, block) || !h) return {};
        Rows r(MemLock(h), MemLock(h) + MemSize(h));
        MemFree(&h);
        return r;
    }
    // What write puts in an export, less the job's own closing line end.
    std::string Written(void (*write)())
    {
        std::string bytes = ExportBytes(write);
        EXPECT_EQ(bytes.substr(bytes.size() < 2 ? 0 : bytes.size() - 2), "\r\n");
        return bytes.substr(0, bytes.size() < 2 ? 0 : bytes.size() - 2);
    }
    // Reads bytes from their first tag with reader; the tag read next.
    std::string Read(const std::string &bytes, void (*reader)())
    {
        ImportResult = ImportResultRec{};
        SourceOf(bytes);
        ImportReadTag();
        reader();
        return ImportAbortFlag ? "" : PStringToStd(ImportCurrentTag());
    }
};

const std::vector<Column> DefCols = {{0, 27, 5}, {6, 27, 5}, {12, 5, 0}, {16, 1, 20}, {38, 27, 20}, {60, 5, 0}};
const std::vector<Column> KeyCols = {{0, 27, 5}, {6, 1, 60}, {68, 1, 255}};

TEST_F(SpecialSections, DefinitionAndKeyBlocksRoundTripAndRefuseWhatTheyCannotPlace)
{
    Rows def = Make(64, DefCols, {{"EN", "A", "", "Invoice", "LASER", "2"},
                                  {"", "B2", "1000", "Credit note", "", ""},
                                  {"SV", "", "-7", "Faktura", "P2", "0"}});
    Store(140, def);
    std::string text = Written([] { WriteDefBlockText(140); });
    EXPECT_EQ(text.substr(0, 50), "defblock2\t\r\n140\t\r\nEN\tA\t\tInvoice\tLASER\t2\t\r\n\tB2\t1000");
    EXPECT_EQ(text.substr(text.size() - 9), "P2\t0\t\r\n\r\n");   // the closing empty line
    EXPECT_EQ(Written([] { WriteDefBlockText(141); }), "");   // no rows: nothing

    Store(140, {});
    EXPECT_EQ(Read(text + "next\r\n", ReadDefBlockText), "next");
    EXPECT_EQ(Stored(140), def);

    Rows keys = Make(324, KeyCols, {{"K1", "Quick ratio", "(R1+R2)/R3"}, {"K2", "", std::string(255, 'f').c_str()}});
    Store(164, keys);
    text = Written([] { KeyBlockExport(164); });
    EXPECT_EQ(text.substr(0, 33), "nyckel1\t164\t\r\nK1\tQuick ratio\t(R1+");
    EXPECT_EQ(Written([] { KeyBlockExport(150); }), "");
    Store(164, {});
    EXPECT_EQ(Read(text + "next\r\n", KeyBlockImport), "next");
    EXPECT_EQ(Stored(164), keys);
    text.replace(8, 3, "0");   // block 0 means the key figures, 150
    EXPECT_EQ(Read(text, KeyBlockImport), "");
    EXPECT_EQ(Stored(150), keys);

    // A block number that names no block of the layout, or a damaged field:
    // nothing stored, the import stopped at the line and column.
    struct Bad { std::string bytes; void (*reader)(); int block; uint32_t line; uint16_t column; };
    const Bad bad[] = {
        {"defblock2\r\n129\r\nEN\r\n\r\n", ReadDefBlockText, 129, 2, 1},
        {"defblock2\r\n150\r\nEN\r\n\r\n", ReadDefBlockText, 150, 2, 1},
        {"defblock2\r\nx\r\n", ReadDefBlockText, 140, 2, 1},
        {"defblock2\r\n140\r\nEN\tA\t\tOk\r\nEN\tA\t12x\r\n\r\n", ReadDefBlockText, 140, 4, 3},
        {"nyckel1\t140\r\nK1\r\n\r\n", KeyBlockImport, 140, 1, 2},
        {"nyckel1\t164\r\nK1\tx\ty\r\nK\x01\r\n\r\n", KeyBlockImport, 164, 3, 1},
    };
    for (const Bad &b : bad) {
        Rows before = Stored(b.block);
        EXPECT_EQ(Read(b.bytes, b.reader), "") << b.bytes;
        EXPECT_EQ(Stored(b.block), before) << b.bytes;
        EXPECT_EQ(std::pair(ImportResult.damageLine, ImportResult.damageColumn), std::pair(b.line, b.column)) << b.bytes;
    }
}

TEST_F(SpecialSections, TheSeriesBlocksAreWrittenAllInTheirOrder)
{
    const int order[] = {188, 187, 190, 191, 192, 193, 194, 195, 198, 152, 197, 196, 189, 204};
    std::vector<std::string> want, tags;
    for (int block : order) {
        Store(block, Make(42, {{0, 5, 0}, {4, 5, 0}}, {{"1", "999"}}));
        uint8_t tag[256] = {0};
        BlockTextTag(block, tag);
        want.push_back(PStringToStd(tag));
    }
    std::istringstream lines(Written(SerialBlocksExport));
    for (std::string line; std::getline(lines, line);)
        if (std::find(want.begin(), want.end(), line.substr(0, line.find('\t'))) != want.end())
            tags.push_back(line.substr(0, line.find('\t')));
    EXPECT_EQ(tags, want);
}

// The records of a statement-row register in key order, as "number:label".
std::vector<std::string> Groups(int reg)
{
    std::vector<std::string> out;
    std::vector<uint8_t> r(RegRecordSize(reg));
    for (int32_t i = 1; i <= int32_t(RegRecordCount(reg)); i++) {
        uint32_t id = 0;
        EXPECT_TRUE(RecReadAt(reg, i, r.data(), &id));
        PString label;
        GetPString(r.data(), SR21Vc::Label, 60, label);
        out.push_back(std::to_string(GetI32(r.data(), SR21Vc::RowNr)) + ":" + PStringToStd(label));
    }
    return out;
}

// Stores a statement row with a number and a label.
void Group(int reg, int32_t number, const char *label)
{
    std::vector<uint8_t> r(RegRecordSize(reg), 0);
    PutI32(r.data(), SR21Vc::RowNr, number);
    PString t;
    PStringFromC(t, label);
    PutPString(r.data(), SR21Vc::Label, 60, t);
    PutU16(r.data(), SR21Vc::RowKind, 2);
    uint32_t id = 0;
    ASSERT_TRUE(RecStoreByKey(reg, r.data(), 1, &id));
}

TEST_F(SpecialSections, GroupSectionsNameTheirRegisterAndTouchNoOther)
{
    static std::vector<uint8_t> row(SR21Vc::Size, 0);
    PutI32(row.data(), SR21Vc::RowNr, 7);
    PutU16(row.data(), SR21Vc::RowKind, 3);
    PutU16(row.data(), SR21Vc::SignClass, 1);
    PString t;
    PStringFromC(t, "Sales");
    PutPString(row.data(), SR21Vc::Label, 60, t);
    EXPECT_EQ(ExportBytes([] {
                  WriteGroupText(26, row.data());
                  RepLineFeed();
                  WriteGroupText(40, row.data());
              }),
              "26\t3\t7\t\tSales\t1\t\r\n40\t3\t7\t\tSales\t1\t\r\n");

    struct Case { bool header; std::string lines; std::vector<std::string> r25, r26, r40; uint16_t bad; };
    const Case cases[] = {
        // Without a full export's header the first line's register is emptied.
        {false, "26\t3\t7\t\tSales\t1\r\n1\t1\t8\tx\tCost\t0\r\n", {"1:old"}, {"7:Sales", "8:Cost"}, {"1:old"}, 0},
        {true, "26\t3\t7\t\tSales\t1\r\n0\t1\t9\tx\tNet\t0\r\n", {"1:old", "9:Net"}, {"1:old", "7:Sales"}, {"1:old"}, 0},
        {true, "40\t3\t0\t\tNone\t1\r\n40\t3\t2\t\tTwo\t1\r\n", {"1:old"}, {"1:old"}, {"1:old", "2:Two"}, 0},
        // A register outside the family: the rest of the section skipped, told.
        {false, "44\t3\t7\t\tUser\t1\r\n26\t3\t8\t\tNo\t1\r\n", {"1:old"}, {"1:old"}, {"1:old"}, 44},
        {true, "26\t3\t7\t\tSales\t1\r\n5\t3\t8\t\tNo\t1\r\n40\t3\t8\t\tNo\t1\r\n", {"1:old"}, {"1:old", "7:Sales"},
         {"1:old"}, 5},
        {false, "-1\t3\t7\t\tNo\t1\r\n", {"1:old"}, {"1:old"}, {"1:old"}, 65535},
    };
    for (const Case &c : cases) {
        for (int reg : {25, 26, 40, 44}) ASSERT_TRUE(RegDeleteAll(reg));
        for (int reg : {25, 26, 40}) Group(reg, 1, "old");
        SourceOf("kgrupp2\r\n" + c.lines + "\r\nnext\r\n");
        ImportResult = ImportResultRec{};
        ImportResult.seenHeader = c.header;
        ImportReadTag();
        GroupImport();
        EXPECT_EQ(PStringToStd(ImportCurrentTag()), "next") << c.lines;
        EXPECT_TRUE(ImportTagIsHeld()) << c.lines;
        EXPECT_EQ(Groups(25), c.r25) << c.lines;
        EXPECT_EQ(Groups(26), c.r26) << c.lines;
        EXPECT_EQ(Groups(40), c.r40) << c.lines;
        EXPECT_EQ(RegRecordCount(44), 0u) << c.lines;
        EXPECT_EQ(ImportResult.badGroupSelector, c.bad) << c.lines;
    }

    // A damaged number stops the import there; what came before stays.
    SourceOf("kgrupp2\r\n26\t3\t3\t\tKept\t1\r\n26\t3\t4x\t\tLost\t1\r\n\r\n");
    ImportResult = ImportResultRec{};
    ImportResult.seenHeader = true;
    ImportReadTag();
    GroupImport();
    EXPECT_TRUE(ImportAbortFlag);
    EXPECT_EQ(std::pair(ImportResult.damageLine, ImportResult.damageColumn), std::pair(3u, uint16_t(3)));
    EXPECT_EQ(Groups(26), (std::vector<std::string>{"1:old", "3:Kept"}));
}

TEST_F(SpecialSections, TheDefaultsAreFoundInTheWorkingFolderThenBesideTheProgram)
{
    char exe[4096];
    ssize_t n = readlink("/proc/self/exe", exe, sizeof exe - 1);
    ASSERT_GT(n, 0);
    exe[n] = 0;
    std::filesystem::path beside = std::filesystem::path(exe).parent_path();
    const std::string name = "orvel_probe_" + std::to_string(getpid()) + ".TXT";
    std::string found, interfaceFile = LangFilePath;
    LangFileSetDirectories({});
    EXPECT_FALSE(ProgramFileFind(name.c_str(), &found));
    std::ofstream(beside / name) << "b";
    EXPECT_TRUE(ProgramFileFind(name.c_str(), &found));
    EXPECT_EQ(found, (beside / name).string());
    std::ofstream(dir / name) << "w";
    EXPECT_TRUE(ProgramFileFind(name.c_str(), &found));
    EXPECT_EQ(found, name);   // the working folder's, by its plain name
    std::filesystem::remove(beside / name);
    std::filesystem::create_directory(dir / "DIRONLY");
    EXPECT_FALSE(ProgramFileFind("DIRONLY", &found));   // a folder is no file
    EXPECT_EQ(LangFilePath, interfaceFile);

    // A new company imports the defaults file the probe finds; none found
    // is told and the company starts empty.
    static std::vector<std::string> opened;
    opened.clear();
    SettingsText.importFileOpen = [](const uint8_t *path, int) { return opened.push_back(PStringToStd(path)), 0; };
    SettingsText.importFileClose = [] { return 0; };
    SettingsText.importAtEnd = [] { return true; };
    MakeFrame();
    std::filesystem::create_directory(dir / "program");
    std::ofstream(dir / "program" / "DEFAULT.TXT") << "tb\r\n";
    LangFileSetDirectories({(dir / "work").string(), (dir / "program").string()});
    PString path;
    PathOf("new.VDB", path);
    MessagesShown.clear();
    EXPECT_TRUE(OpenCompany(path, 0));
    EXPECT_EQ(opened, std::vector<std::string>{(dir / "program" / "DEFAULT.TXT").string()});
    EXPECT_EQ(Shown(9504), 0);
    LangFileSetDirectories({(dir / "work").string()});
    PathOf("bare.VDB", path);
    EXPECT_TRUE(OpenCompany(path, 0));
    EXPECT_EQ(opened.size(), 1u);
    EXPECT_EQ(Shown(9504), 1);
    LangFileSetDirectories({});
}

}  // namespace
