// text_reader_test.cpp - the text exchange's file layer read back from
// files and from memory alike: fields, line ends, long fields, look-ahead,
// DOS letters, the 16 KB window, translation, damage, Esc, a file that
// shrinks under the reader; and one register written and read by its list.
#include "tests/exchange/exchange_fixture.h"

#include <array>
#include <filesystem>
#include <utility>

#include "core/file_form.h"
#include "core/interface_load.h"
#include "exchange/import_lines.h"
#include "exchange/section_table.h"
#include "platform/queue.h"
#include "tests/output/test_job.h"

namespace {

class TextReader : public ExchangeFixture, public ::testing::WithParamInterface<bool> {};

TEST_P(TextReader, FieldsLinesWindowsAndLetters)
{
    const bool file = GetParam();
    SourceOf("a\t\tb\r\nc\r\n", file);
    EXPECT_EQ(Field(), "a");
    EXPECT_EQ(Field(), "");
    EXPECT_EQ(Field(), "b");
    EXPECT_EQ(Field(), "");   // the line end stays unread
    EXPECT_EQ(ImportLineNumber(), 1u);
    ImportSkipLine();         // past the CR; the LF is dropped by the next read
    EXPECT_EQ(Field(), "c");
    EXPECT_EQ(ImportLineNumber(), 2u);
    ImportSkipLine();
    EXPECT_FALSE(ImportAtEnd());   // the LF
    EXPECT_EQ(Field(), "");
    EXPECT_TRUE(ImportAtEnd());

    // A field over 255 characters keeps 255; the next column stays the next.
    SourceOf(std::string(300, 'x') + "\tz\r\n", file);
    EXPECT_EQ(Field(), std::string(255, 'x'));
    EXPECT_EQ(Field(), "z");

    // Look-ahead: a line of TABs has no data, a TAB before a value has; the
    // position stays.
    SourceOf("h\r\n\t\t\t\r\n\tq\r\n", file);
    EXPECT_EQ(Field(), "h");
    EXPECT_FALSE(ImportNextLineHasData());
    EXPECT_TRUE(ImportNextLineHasData());
    EXPECT_EQ(Field(), "");
    EXPECT_EQ(Field(), "q");

    // DOS letters are mapped to the Windows code page when asked.
    ImportDosLetters = 1;
    SourceOf("K\x94p\x84\r\n", file);
    EXPECT_EQ(Field(), "K\xF6p\xE4");
    ImportDosLetters = 0;

    // One window for 16384 bytes; a second one for the 16385th byte.
    std::string full = std::string(16380, 'a') + "\r\nb";
    SourceOf(full + "\r", file);
    ImportSkipLine();
    EXPECT_EQ(Field(), "b");
    EXPECT_EQ(ImportWindowLoads(), 1u);
    SourceOf(full + "c\r", file);
    ImportSkipLine();
    EXPECT_EQ(Field(), "bc");
    EXPECT_EQ(ImportWindowLoads(), 2u);
    ImportSkipLine();
    EXPECT_TRUE(ImportAtEnd());
    EXPECT_EQ(ImportResult.damageLine, 0u);

    // The exchange file ends every line: one whose last line has no end
    // was cut there, and the field the cut runs into is damaged. A bank's
    // file (import mode 1) may end without one.
    PutU16(TestJob, ReportParamsVc::ReportNumber, 1);
    SourceOf("a\tb", file);
    EXPECT_EQ(Field(), "a");
    EXPECT_EQ(Field(), "b");
    EXPECT_EQ(ImportResult.damageLine, 0u);
    PutU16(TestJob, ReportParamsVc::ReportNumber, 0);
    SourceOf("x\r\na\tb", file);
    ImportSkipLine();
    EXPECT_EQ(Field(), "a");
    EXPECT_FALSE(ImportReadField(nullptr, FtText, 255));
    EXPECT_EQ(ImportResult.damageLine, 2u);
    EXPECT_EQ(ImportResult.damageColumn, 2u);
    EXPECT_TRUE(ImportAtEnd());
}

TEST_P(TextReader, DamageTranslationAndEsc)
{
    const bool file = GetParam();
    // A text an amount refuses is damage at its line and column; the
    // import is at its end.
    SourceOf("tag\r\nb\t12x\t7\r\n", file);
    ImportSkipLine();
    PackedDecimal amount;
    EXPECT_TRUE(ImportReadField(nullptr, FtText, 20));
    EXPECT_FALSE(ImportReadField(&amount, FtAmount2, 0));
    EXPECT_EQ(ImportResult.damageLine, 2u);
    EXPECT_EQ(ImportResult.damageColumn, 2u);
    EXPECT_TRUE(ImportAtEnd());
    EXPECT_NE(ImportFileClose(), 0);

    // A control byte in a field is damage; an empty amount is not.
    ImportResult = ImportResultRec{};
    SourceOf("\t1\x01\r\n", file);
    EXPECT_TRUE(ImportReadField(&amount, FtAmount2, 0));
    EXPECT_FALSE(ImportReadField(nullptr, FtText, 20));
    EXPECT_EQ(ImportResult.damageColumn, 2u);

    // A file written with the other byte-order flag has its texts read
    // through the read table (here one that swaps two letters).
    std::array<uint8_t, 256> swap;
    for (int c = 0; c < 256; c++) swap[c] = uint8_t(c);
    std::swap(swap[0xE4], swap[0x84]);
    const auto saved = CharTranslationTables;
    CharTranslationTables = {swap.data(), swap.data()};
    SourceOf("K\xE4p\tK\xE4p\r\n", file);
    EXPECT_EQ(Field(), "K\xE4p");   // same flag: as written
    ImportFileCharFlag = ByteOrder.program ? 0 : 1;
    EXPECT_EQ(Field(), "K\x84p");
    CharTranslationTables = saved;

    // Esc ends every loop: the source is at its end, lines hold no data.
    SourceOf("a\r\nb\r\nc\r\n", file);
    ASSERT_TRUE(MsgPost(0, PlMsg::KeyDown, PlKey::Escape, 0));
    ImportShowProgress(nullptr, FtText);
    EXPECT_EQ(ImportAbortFlag, 1);
    EXPECT_TRUE(ImportAtEnd());
    EXPECT_FALSE(ImportNextLineHasData());
    EXPECT_EQ(Field(), "");
}

// The same bytes read two ways: the exchange file's fields end lines at
// CR only and drop LF, so an LF file is one line to them; the byte lines
// of other programs' files end at LF, CR LF or a lone CR, keep TABs, cut
// a long line and refuse a control byte as damage at its own line.
TEST_P(TextReader, ByteLinesTakeEveryLineEndWhileFieldsKeepTheirs)
{
    const bool file = GetParam();
    const std::string bytes = "a\tb\nc\r\nd\re\n\nlast";
    SourceOf(bytes, file);
    EXPECT_EQ(Field(), "a");
    EXPECT_EQ(Field(), "bc");   // the LF dropped, the line runs on to the CR
    EXPECT_EQ(Field(), "");
    ImportSkipLine();
    EXPECT_EQ(Field(), "d");    // the LF after the CR dropped
    EXPECT_EQ(ImportLineNumber(), 2u);

    SourceOf(bytes, file);
    std::vector<std::string> lines;
    std::string text;
    bool tooLong = true;
    while (!ImportAtEnd()) {
        ASSERT_TRUE(ImportReadByteLine(&text, 254, &tooLong));
        EXPECT_FALSE(tooLong);
        lines.push_back(text);
    }
    EXPECT_EQ(lines, (std::vector<std::string>{"a\tb", "c", "d", "e", "", "last"}));
    EXPECT_EQ(ImportLineNumber(), 7u);

    SourceOf(std::string(300, 'x') + "\nnext\n", file);
    ASSERT_TRUE(ImportReadByteLine(&text, 254, &tooLong));
    EXPECT_TRUE(tooLong);
    EXPECT_EQ(text.size(), 254u);
    ASSERT_TRUE(ImportReadByteLine(&text, 254, &tooLong));
    EXPECT_FALSE(tooLong);
    EXPECT_EQ(text, "next");

    SourceOf("ok\nbad\x01line\nafter\n", file);
    ASSERT_TRUE(ImportReadByteLine(&text, 254, &tooLong));
    EXPECT_FALSE(ImportReadByteLine(&text, 254, &tooLong));
    EXPECT_EQ(ImportResult.damageLine, 2u);
    EXPECT_TRUE(ImportAtEnd());   // the damage stops the import
}

INSTANTIATE_TEST_SUITE_P(FileAndMemory, TextReader, ::testing::Bool());

TEST_F(ExchangeFixture, FileThatIsMissingOrShrinksUnderTheReader)
{
    PString path;
    PathOf("none.txt", path);
    EXPECT_NE(ImportFileOpen(ReportJob{TestJob}, path, 0), 0);
    EXPECT_EQ(Shown(Texts::ExchangeFileNotOpened), 1);

    // The file loses its second window after it was opened: the read comes
    // short, the import ends and the close tells the failure.
    SourceOf(std::string(20000, 'a') + "\r\nb\r\n", true);
    std::filesystem::resize_file(dir / "import.txt", 100);
    ImportSkipLine();
    EXPECT_TRUE(ImportAtEnd());
    EXPECT_EQ(Field(), "");
    EXPECT_NE(ImportFileClose(), 0);
}

// A code-and-name register written by its list and read back: the code is
// upper-cased with its blanks as "_" on reading; the bytes are the file's.
TEST_F(ExchangeFixture, CodeAndNameRecordsRoundTripThroughTheirList)
{
    static uint8_t record[OTVc::Size];
    std::memset(record, 0, sizeof record);
    PString code, name;
    PStringFromC(code, "A1");
    PStringFromC(name, "Old customers");
    PutText(record, OTVc::Code, code);
    PutText(record, OTVc::Name, name);
    std::string bytes = ExportBytes([] { WriteRecordText(OTVc::Number, record); });
    EXPECT_EQ(bytes, "A1\tOld customers\t\r\n");

    // Amounts go out without grouping, dates in the current order; both
    // read back as they went out.
    static PackedDecimal amount;
    static DateRec date{7, 3, 2025};
    DecFromDouble(&amount, 1234567.5);
    std::string values = ExportBytes([] { ExportValue(&amount, FtAmount2); ExportValue(&date, FtDate); });
    EXPECT_EQ(values.find_first_of(" '"), std::string::npos) << values;
    SourceOf(values);
    PackedDecimal amountBack;
    DateRec dateBack{};
    ASSERT_TRUE(ImportReadField(&amountBack, FtAmount2, 0));
    ASSERT_TRUE(ImportReadField(&dateBack, FtDate, 0));
    EXPECT_EQ(0, std::memcmp(&amountBack, &amount, sizeof amount)) << values;
    EXPECT_EQ(0, std::memcmp(&dateBack, &date, sizeof date)) << values;

    uint8_t back[OTVc::Size] = {};
    SourceOf(bytes);
    ASSERT_TRUE(ReadRecordText(OTVc::Number, 1, back, 0));
    EXPECT_EQ(0, std::memcmp(back, record, sizeof back));

    SourceOf("a b\tX\r\n");
    ASSERT_TRUE(ReadRecordText(OTVc::Number, 1, back, 0));
    EXPECT_EQ(PStringToStd(back + OTVc::Code), "A_B");
    EXPECT_FALSE(ReadRecordText(OTVc::Number, 7, back, 0));   // no such version: damage
    EXPECT_TRUE(ImportAtEnd());
}

}  // namespace
