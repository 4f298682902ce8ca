// block_sections_test.cpp - the form definition, key table, series and
// statement-row group sections written and read back, their damaged and
// refused forms, and the defaults file found by the program-file probe.
#include "tests/exchange/exchange_fixture.h"

#include <unistd.h>

#include "core/language_file.h"
#include "core/record_buffer.h"
#include "database/access/record_access.h"
#include "database/access/settings_blocks.h"
#include "exchange/section_table.h"
#include "shell/company.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Texts = std::vector<std::vector<std::string>>;

class BlockTableSections : public ExchangeFixture {
protected:
    // Stores rows (of cols, from their texts) into a table block; the bytes.
    static Bytes Store(int block, uint32_t size, std::vector<Column> cols, const Texts &texts)
    {
        MemBlock h = 0;
        Bytes bytes(size * texts.size(), 0);
        for (size_t r = 0; r < texts.size(); r++)
            for (size_t c = 0; c < cols.size(); c++) {
                PString t;
                PStringFromC(t, texts[r][c].c_str());
                EXPECT_TRUE(FieldFromText(&bytes[r * size + cols[c].pos], cols[c].type, cols[c].len, t));
            }
        if (!bytes.empty() && MemResizeZero(&h, uint32_t(bytes.size()))) std::memcpy(MemLock(h), bytes.data(), bytes.size());
        EXPECT_EQ(SettingsBlockStoreHandle(block, h), RecDone);
        MemFree(&h);
        return bytes;
    }
    static Bytes Stored(int block)
    {
        MemBlock h = 0;
        Bytes r;
        if (SettingsBlockFetch(&h, block) && h) r.assign(MemLock(h), MemLock(h) + MemSize(h));
        MemFree(&h);
        return r;
    }
    // What write puts in an export, less the job's own closing line end.
    std::string Written(void (*write)())
    {
        std::string b = ExportBytes(write);
        return b.substr(0, b.size() < 2 ? 0 : b.size() - 2);
    }
    // Reads bytes from their first tag with reader; the tag read next ("" when aborted).
    std::string Read(const std::string &bytes, void (*reader)(), bool header = false)
    {
        ImportResult = ImportResultRec{};
        ImportResult.seenHeader = header;
        SourceOf(bytes);
        ImportReadTag();
        reader();
        return ImportAbortFlag ? "" : PStringToStd(ImportCurrentTag());
    }
};

const std::vector<Column> DefCols = {{0, 27, 5}, {6, 27, 5}, {12, 5, 0}, {16, 1, 20}, {38, 27, 20}, {60, 5, 0}};
const std::vector<Column> KeyCols = {{0, 27, 5}, {6, 1, 60}, {68, 1, 255}};

TEST_F(BlockTableSections, DefinitionAndKeyBlocksRoundTripAndRefuseWhatTheyCannotPlace)
{
    Bytes def = Store(140, 64, DefCols, {{"EN", "A", "", "Invoice", "LASER", "2"}, {"", "B2", "1000", "Credit", "", ""}});
    std::string text = Written([] { WriteDefBlockText(140); });
    EXPECT_EQ(text, "defblock2\t\r\n140\t\r\nEN\tA\t\tInvoice\tLASER\t2\t\r\n\tB2\t1000\tCredit\t\t\t\r\n\r\n");
    EXPECT_EQ(Written([] { WriteDefBlockText(141); }), "");   // no rows: nothing
    Store(140, 64, DefCols, {});
    EXPECT_EQ(Read(text + "next\r\n", ReadDefBlockText), "next");
    EXPECT_EQ(Stored(140), def);

    Bytes keys = Store(164, 324, KeyCols, {{"K1", "Quick ratio", "(R1+R2)/R3"}, {"K2", "", std::string(255, 'f')}});
    text = Written([] { KeyBlockExport(164); });
    EXPECT_EQ(text.substr(0, 42), "nyckel1\t164\t\r\nK1\tQuick ratio\t(R1+R2)/R3\t\r\n");
    EXPECT_EQ(Written([] { KeyBlockExport(150); }), "");
    Store(164, 324, KeyCols, {});
    EXPECT_EQ(Read(text + "next\r\n", KeyBlockImport), "next");
    EXPECT_EQ(Stored(164), keys);
    EXPECT_EQ(Read(text.replace(8, 3, "0"), KeyBlockImport), "");   // block 0 means the key figures, 150
    EXPECT_EQ(Stored(150), keys);

    // A block of another layout, or a damaged field: nothing stored, the
    // import stopped at the line and column.
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
        Bytes before = Stored(b.block);
        EXPECT_EQ(Read(b.bytes, b.reader), "") << b.bytes;
        EXPECT_EQ(Stored(b.block), before) << b.bytes;
        EXPECT_EQ(std::pair(ImportResult.damageLine, ImportResult.damageColumn), std::pair(b.line, b.column)) << b.bytes;
    }
}

TEST_F(BlockTableSections, TheSeriesBlocksAreWrittenAllInTheirOrder)
{
    std::vector<std::string> want, tags;
    for (int block : {188, 187, 190, 191, 192, 193, 194, 195, 198, 152, 197, 196, 189, 204}) {
        Store(block, 42, {{0, 5, 0}, {4, 5, 0}}, {{"1", "999"}});
        uint8_t tag[256] = {0};
        BlockTextTag(block, tag);
        want.push_back(PStringToStd(tag));
    }
    std::istringstream lines(Written(SerialBlocksExport));
    for (std::string line; std::getline(lines, line);)
        if (std::count(want.begin(), want.end(), line.substr(0, line.find('\t')))) tags.push_back(line.substr(0, line.find('\t')));
    EXPECT_EQ(tags, want);
}

// The records of a statement-row register in key order, as "number:label".
std::string Groups(int reg)
{
    std::string out;
    Bytes r(RegRecordSize(reg));
    uint32_t id = 0;
    for (int32_t i = 1; i <= int32_t(RegRecordCount(reg)) && RecReadAt(reg, i, r.data(), &id); i++)
        out += std::to_string(GetI32(r.data(), SR21Vc::RowNr)) + ":" + std::string((char *)&r[SR21Vc::Label + 1], r[SR21Vc::Label]) + " ";
    return out;
}

TEST_F(BlockTableSections, GroupSectionsNameTheirRegisterAndTouchNoOther)
{
    static Bytes row(SR21Vc::Size, 0);
    PutI32(row.data(), SR21Vc::RowNr, 7);
    PutU16(row.data(), SR21Vc::RowKind, 3);
    PutU16(row.data(), SR21Vc::SignClass, 1);
    std::memcpy(&row[SR21Vc::Label], "\x05Sales", 6);
    EXPECT_EQ(Written([] { WriteGroupText(26, row.data()), RepLineFeed(), WriteGroupText(40, row.data()), RepLineFeed(); }),
              "26\t3\t7\t\tSales\t1\t\r\n40\t3\t7\t\tSales\t1\t\r\n");

    struct Case { bool header; std::string lines, r25, r26, r40; uint16_t bad; };
    const Case cases[] = {
        // Without a full export's header the first line's register is emptied.
        {false, "26\t3\t7\t\tSales\t1\r\n1\t1\t8\tx\tCost\t0\r\n", "1:old ", "7:Sales 8:Cost ", "1:old ", 0},
        {true, "26\t3\t7\t\tSales\t1\r\n0\t1\t9\tx\tNet\t0\r\n", "1:old 9:Net ", "1:old 7:Sales ", "1:old ", 0},
        {true, "40\t3\t0\t\tNone\t1\r\n40\t3\t2\t\tTwo\t1\r\n", "1:old ", "1:old ", "1:old 2:Two ", 0},
        // A register outside the family: the rest of the section skipped, kept for the result.
        {false, "44\t3\t7\t\tUser\t1\r\n26\t3\t8\t\tNo\t1\r\n", "1:old ", "1:old ", "1:old ", 44},
        {true, "26\t3\t7\t\tSales\t1\r\n5\t3\t8\t\tNo\t1\r\n40\t3\t8\t\tNo\t1\r\n", "1:old ", "1:old 7:Sales ", "1:old ", 5},
        {false, "-1\t3\t7\t\tNo\t1\r\n", "1:old ", "1:old ", "1:old ", 65535},
    };
    for (const Case &c : cases) {
        for (int reg : {25, 26, 40}) {
            ASSERT_TRUE(RegDeleteAll(reg));
            Bytes old(SR21Vc::Size, 0);
            PutI32(old.data(), SR21Vc::RowNr, 1);
            std::memcpy(&old[SR21Vc::Label], "\x03old", 4);
            uint32_t id = 0;
            ASSERT_TRUE(RecStoreByKey(reg, old.data(), 1, &id));
        }
        EXPECT_EQ(Read("kgrupp2\r\n" + c.lines + "\r\nnext\r\n", GroupImport, c.header), "next") << c.lines;
        EXPECT_TRUE(ImportTagIsHeld()) << c.lines;
        EXPECT_EQ(std::tuple(Groups(25), Groups(26), Groups(40), ImportResult.badGroupSelector),
                  std::tuple(c.r25, c.r26, c.r40, c.bad)) << c.lines;
        EXPECT_EQ(RegRecordCount(44), 0u);
    }
    // A damaged number stops the import there; what came before stays.
    EXPECT_EQ(Read("kgrupp2\r\n26\t3\t3\t\tKept\t1\r\n26\t3\t4x\t\tLost\t1\r\n\r\n", GroupImport, true), "");
    EXPECT_EQ(std::tuple(ImportResult.damageLine, ImportResult.damageColumn, Groups(26)), std::tuple(3u, uint16_t(3), std::string("1:old 3:Kept ")));
}

TEST_F(BlockTableSections, TheDefaultsAreFoundInTheWorkingFolderThenBesideTheProgram)
{
    std::filesystem::path beside = std::filesystem::read_symlink("/proc/self/exe").parent_path();
    const std::string name = "orvel_probe_" + std::to_string(getpid()) + ".TXT", interfaceFile = LangFilePath;
    std::string found;
    LangFileSetDirectories({});
    EXPECT_FALSE(ProgramFileFind(name.c_str(), &found));
    std::ofstream(beside / name) << "b";
    EXPECT_TRUE(ProgramFileFind(name.c_str(), &found) && found == (beside / name).string()) << found;
    std::ofstream(dir / name) << "w";
    EXPECT_TRUE(ProgramFileFind(name.c_str(), &found) && found == name) << found;   // the working folder's
    std::filesystem::remove(beside / name);
    std::filesystem::create_directory(dir / "FOLDER");
    EXPECT_FALSE(ProgramFileFind("FOLDER", &found));   // a folder is no file
    EXPECT_EQ(LangFilePath, interfaceFile);

    // A new company imports the file the probe finds; none found is told.
    static std::vector<std::string> opened;
    SettingsText.importFileOpen = [](const uint8_t *path, int) { return opened.push_back(PStringToStd(path)), 0; };
    SettingsText.importFileClose = [] { return 0; };
    SettingsText.importAtEnd = [] { return true; };
    MakeFrame();
    std::filesystem::create_directory(dir / "program");
    std::ofstream(dir / "program" / "DEFAULT.TXT") << "tb\r\n";
    PString path;
    for (bool inProgram : {true, false}) {
        LangFileSetDirectories({(dir / "work").string(), (dir / (inProgram ? "program" : "work")).string()});
        opened.clear();
        MessagesShown.clear();
        PathOf(inProgram ? "new.VDB" : "bare.VDB", path);
        EXPECT_TRUE(OpenCompany(path, 0));
        EXPECT_EQ(opened.size(), size_t(inProgram));
        EXPECT_EQ(opened.empty() || opened[0] == (dir / "program" / "DEFAULT.TXT").string(), true);
        EXPECT_EQ(Shown(9504), inProgram ? 0 : 1);
    }
    LangFileSetDirectories({});
}

}  // namespace
