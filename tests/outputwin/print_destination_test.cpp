// print_destination_test.cpp - where a form print goes: each destination
// text names its output kind and an unknown one keeps the kind, the
// character printer's grid width, the "no output" destination that only
// shows its title, and the opens that fail without writing anything.
#include "tests/shell/shell_fixture.h"
#include "tests/output/output_fixture.h"

#include <string>

#include "core/company_variant.h"
#include "core/field_access.h"
#include "core/format_block.h"
#include "core/pstring.h"
#include "database/access/settings_blocks.h"
#include "output/devices/device_table.h"
#include "shell/window_utils.h"

namespace {

class PrintDestinations : public PrintCompanyIn<ShellCompanyFixture> {
protected:
    // The files anywhere under the company folder.
    size_t FilesUnder() const
    {
        size_t n = 0;
        for (const auto &e : std::filesystem::recursive_directory_iterator(dir)) n += e.is_regular_file();
        return n;
    }
};

TEST_F(PrintDestinations, EachTextNamesItsKindAndAnUnknownOneKeepsTheKind)
{
    struct Case {
        const char *dest;
        uint16_t expected;
    };
    // The character printer's ports: the kind is set, no port is opened
    // before the first page, and nothing is written.
    size_t files = FilesUnder();
    for (Case c : {Case{"LPT2", OutCharPrinter}, Case{"5", OutCharPrinter}, Case{"1", OutCharPrinter},
                   Case{"COM1", OutCharPrinter}, Case{"LPT1", OutCharPrinter}}) {
        OutKind(OutPreview);
        FormOriginX = 7;
        EXPECT_TRUE(PrintOpen(0, 0, Ps("Invoice"), Ps(c.dest))) << c.dest;
        EXPECT_EQ(CurrentOutputKind(), c.expected) << c.dest;
        EXPECT_EQ(FormOriginX, 0) << c.dest;
        EXPECT_EQ(ThousandsFlag, 1) << c.dest;
        RepOp30();
        EXPECT_EQ(ThousandsFlag, 0) << c.dest;
    }
    EXPECT_EQ(FilesUnder(), files);
    EXPECT_EQ(CharGridColumns, 120);

    // Texts are compared exactly: neither "X" nor "lpt1" names a kind.
    for (const char *unknown : {"X", "lpt1", "P "}) {
        OutKind(OutCharPrinter);
        EXPECT_TRUE(PrintOpen(0, 0, Ps("Invoice"), Ps(unknown))) << unknown;
        EXPECT_EQ(CurrentOutputKind(), OutCharPrinter) << unknown;
    }

    // An unknown text on a kind that takes no form refuses and says so.
    OutKind(OutTextFile);
    EXPECT_FALSE(PrintOpen(0, 0, Ps("Invoice"), Ps("X")));
    EXPECT_EQ(RepStopped, 1);
    EXPECT_EQ(CurrentOutputKind(), OutTextFile);
    ASSERT_EQ(MessagesShown.size(), 1u);
    EXPECT_NE(MessagesShown[0].find(TextOf(Texts::OutputNotWritten)), std::string::npos);

    // Variant 15 prints its character forms 130 columns wide.
    PutI16(CompanyBlock, CompanyBlk::CompanyVariant, 15);
    CompanyVariantBind(CompanyBlock);
    EXPECT_TRUE(PrintOpen(0, 0, Ps("Invoice"), Ps("LPT1")));
    EXPECT_EQ(CharGridColumns, 130);
    EXPECT_EQ(RepStopped, 0);   // a new print is not stopped
}

TEST_F(PrintDestinations, NoOutputShowsOnlyTheTitleAndAFileNotChosenGivesNothing)
{
    MakeFrame();   // the busy message's window opens in it
    OutKind(OutPrinter);
    ASSERT_TRUE(PrintOpen(0, 0, Ps("Statement"), Ps("0")));
    EXPECT_EQ(CurrentOutputKind(), OutNone);
    EXPECT_NE(BusyMessageWindow, 0);
    FormPageStart(Ps("p"));
    FormPageEnd();
    RepOp30();
    EXPECT_EQ(BusyMessageWindow, 0);
    EXPECT_EQ(ThousandsFlag, 0);

    // "F": the TAB file is chosen at the open; a cancelled choice stops
    // the print and leaves no file behind.
    size_t files = FilesUnder();
    ScriptAnswerFile("");
    EXPECT_EQ(PrintOpenCall(0, 0, Ps("Statement"), Ps("F")), 0);
    EXPECT_EQ(CurrentOutputKind(), OutTabFile);
    EXPECT_EQ(RepStopped, 1);
    EXPECT_EQ(FilesUnder(), files);
}

}  // namespace
